// The effect-script code's editor services, each a call through one slot of the plugin's copy of
// the engine-function table.
#include "ShaderServices.h"

#include "gamedata/PluginInterface.h"

namespace Engine {
const unsigned char* Copy();
} // namespace Engine

namespace {
const EngineFuncs& table() {
    return *reinterpret_cast<const EngineFuncs*>(Engine::Copy());
}
} // namespace

bool Eng_ScriptLoadMemory(const char* buffer, uint32_t length, int32_t flags) {
    return table().Script_LoadMemory(buffer, length, flags);
}
char* Eng_ScriptToken() {
    return table().Script_Token();
}
int32_t Eng_ScriptLine() {
    return table().Script_Line();
}
bool Eng_ScriptTryGetToken(bool crossLines) {
    return table().Script_TryGetToken(crossLines);
}
void Eng_ScriptUngetToken() {
    table().Script_UngetToken();
}
bool Eng_ScriptTokenAvailable() {
    return table().Script_TokenAvailable();
}
bool Eng_ScriptSkipRestOfLine() {
    return table().Script_SkipRestOfLine();
}
bool Eng_ScriptHasError() {
    return table().Script_HasError();
}
void Eng_ScriptClearError() {
    table().Script_ClearError();
}
char* Eng_ScriptCopyBlock() {
    return table().Script_CopyBlock();
}
bool Eng_ScriptNeedsQuotes(const char* text) {
    return table().Script_NeedsQuotes(text);
}
void Eng_ScriptClose() {
    table().Script_Close();
}
TextureImage* Eng_WhiteImage() {
    return table().Plugin_WhiteImage();
}
void Eng_FreeShaderData(ShaderStage* stage) {
    table().Plugin_FreeShaderData(stage);
}
