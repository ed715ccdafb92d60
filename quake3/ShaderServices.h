// The editor services the effect-script code calls beyond those of EngineServices.h: the script
// tokenizer, the shared white image and stage release. In the plugin each goes through the
// plugin's copy of the engine-function table.
#pragma once

#include <cstdint>

struct ShaderStage;
struct TextureImage;

bool Eng_ScriptLoadMemory(const char* buffer, uint32_t length, int32_t flags);
char* Eng_ScriptToken();
int32_t Eng_ScriptLine();
// Next token; the end of the line (or text) answers false without an error.
bool Eng_ScriptTryGetToken(bool crossLines);
void Eng_ScriptUngetToken();
bool Eng_ScriptTokenAvailable();
bool Eng_ScriptSkipRestOfLine();
bool Eng_ScriptHasError();
void Eng_ScriptClearError();
char* Eng_ScriptCopyBlock();
bool Eng_ScriptNeedsQuotes(const char* text);
void Eng_ScriptClose();

TextureImage* Eng_WhiteImage();
void Eng_FreeShaderData(ShaderStage* stage);
