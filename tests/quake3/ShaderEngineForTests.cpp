// The effect-script services bound straight to the editor's tokenizer and texture manager.
#include "core/Script.h"
#include "gamedata/TextureManager.h"
#include "quake3/ShaderServices.h"

bool Eng_ScriptLoadFile(const char* path, int32_t flags) {
    return Script_LoadFile(path, flags);
}
bool Eng_ScriptLoadMemory(const char* buffer, uint32_t length, int32_t flags) {
    return Script_LoadMemory(buffer, length, flags);
}
char* Eng_ScriptToken() {
    return Script_Token();
}
int32_t Eng_ScriptLine() {
    return Script_Line();
}
bool Eng_ScriptTryGetToken(bool crossLines) {
    return Script_TryGetToken(crossLines);
}
void Eng_ScriptUngetToken() {
    Script_UngetToken();
}
bool Eng_ScriptTokenAvailable() {
    return Script_TokenAvailable();
}
bool Eng_ScriptSkipRestOfLine() {
    return Script_SkipRestOfLine();
}
bool Eng_ScriptHasError() {
    return Script_HasError();
}
void Eng_ScriptClearError() {
    Script_ClearError();
}
char* Eng_ScriptCopyBlock() {
    return Script_CopyBlock();
}
bool Eng_ScriptNeedsQuotes(const char* text) {
    return Script_NeedsQuotes(text);
}
void Eng_ScriptClose() {
    Script_Close();
}
TextureImage* Eng_WhiteImage() {
    return Plugin_WhiteImage();
}
void Eng_FreeShaderData(ShaderStage* stage) {
    Plugin_FreeShaderData(stage);
}
