// Binding a texture to a patch or an overlay by the name in its texture block: the texture lists
// of the current game configuration first, then a placeholder for the name (or the shared
// "notexture" without lists). The bound record holds one reference; a bound surface never ends
// up without a texture.
#pragma once

#include <cstdint>

struct ShaderRecord;
struct TextureInfo;

// The record listed under the name (upper-cased) in the current texture lists; null when none.
ShaderRecord* Texture_Find(const char* name);
// Copies the block into texInfo and binds its texture into *texture (reference and blended bit
// kept when it is already bound). A null block binds an empty one.
void Texture_BindInfo(ShaderRecord** texture, TextureInfo* texInfo, uint32_t* flags,
                      const TextureInfo* block);
// Renames the texture: surface flags, value and the contents outside the profile's content mask
// come from the new texture. Nothing when the name binds the texture already bound.
void Texture_BindName(ShaderRecord** texture, TextureInfo* texInfo, uint32_t* flags, const char* name);
// Drops the reference of *texture and clears it.
void Texture_Release(ShaderRecord** texture);
