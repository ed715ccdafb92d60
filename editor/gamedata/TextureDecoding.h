// Pixels for images uploaded with their size alone, decoded the first time they show. Files are
// read and pixels uploaded on the GUI thread; a format that decodes through a job record decodes
// on the texture manager's worker pool, several images at once.
#pragma once

#include <QList>
#include <cstdint>

class TextureManager;
struct ShaderRecord;
struct TextureImage;

// Decodes and uploads those of the images still waiting for pixels (nothing for any other),
// together. A file that cannot be read or decoded is reported once on the console, naming the
// file, and its image shows the "notexture" checker. Returns how many failed.
int32_t Tex_RealizeImages(TextureManager* manager, const QList<TextureImage*>& images);
// One image; false when it failed.
bool Tex_RealizeImage(TextureManager* manager, TextureImage* image);
// Appends the images the effect shows that still wait for pixels: its editor image, its stages'
// frames and its sky faces.
void Tex_CollectPending(const TextureManager* manager, const ShaderRecord* shader,
                        QList<TextureImage*>* images);
// Every image the effect shows, together.
void Tex_RealizeShader(TextureManager* manager, ShaderRecord* shader);
// The same on the main window's manager: what a view, the texture browser or a dialog calls before
// it shows the effect.
void Tex_RealizeShader(ShaderRecord* shader);
void Tex_RealizeImage(TextureImage* image);
// Every image the effects show, together: a page of the texture browser, what a camera frame shows.
void Tex_RealizeShaders(const QList<ShaderRecord*>& shaders);
// Whether any image of the installed host's manager still waits for its pixels: once all have
// shown, drawing skips its checks for waiting textures.
bool Tex_AnyWaiting();
