// Writing effects back into a script file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <unordered_set>

#include "gamedata/TextureRecords.h"
#include "quake3/EngineServices.h"
#include "quake3/ShaderPackage.h"
#include "quake3/ShaderServices.h"

namespace {

bool isModelName(const char* name) {
    return strncasecmp(name, "models/", 7) == 0 || strncasecmp(name, "models\\", 7) == 0;
}

const char* bareName(const char* entry) {
    return strncasecmp(entry, "textures/", 9) == 0 || strncasecmp(entry, "textures\\", 9) == 0 ? entry + 9
                                                                                               : entry;
}

void appendName(std::string& out, const char* name) {
    if (Eng_ScriptNeedsQuotes(name))
        out += std::string("\"") + name + "\"\n";
    else
        out += std::string(name) + "\n";
}

// Text without carriage returns.
std::string plain(const char* text) {
    std::string out;
    for (const char* p = text; p && *p; ++p)
        if (*p != '\r') out += *p;
    return out;
}

ShaderRecord* findEffect(ShaderRecord* list, bool all, const char* entry,
                         const std::unordered_set<ShaderRecord*>& written) {
    for (ShaderRecord* e = list; e; e = all ? e->nextInScript : nullptr) {
        if (!written.count(e) && strcasecmp(e->name, bareName(entry)) == 0) return e;
    }
    return nullptr;
}

void skipBlock() {
    if (!Eng_ScriptTryGetToken(true)) return;
    if (std::strcmp(Eng_ScriptToken(), "{") != 0) {
        Eng_ScriptUngetToken();
        return;
    }
    int depth = 1;
    while (depth > 0 && Eng_ScriptTryGetToken(true)) {
        if (std::strcmp(Eng_ScriptToken(), "{") == 0) ++depth;
        if (std::strcmp(Eng_ScriptToken(), "}") == 0) --depth;
    }
}

} // namespace

bool WriteShaderScript(const char* scriptPath, ShaderRecord* list, bool all) {
    if (!scriptPath) return false;
    char* old = nullptr;
    uint32_t size = 0;
    if (Eng_FileExists(scriptPath)) {
        Eng_VerbosePrintf("Loading: \"%s\"", scriptPath);
        old = static_cast<char*>(Eng_LoadFile(scriptPath, &size));
        if (!old) return false;
    }
    const bool crlf = old && std::strstr(old, "\r\n");
    std::string out;
    std::unordered_set<ShaderRecord*> written;
    if (old && Eng_ScriptLoadMemory(old, size + 1, 1)) {
        while (Eng_ScriptTryGetToken(true)) {
            char entry[256];
            std::snprintf(entry, sizeof entry, "%s", Eng_ScriptToken());
            if (ShaderRecord* effect = findEffect(list, all, entry, written)) {
                appendName(out, entry);
                out += plain(static_cast<const char*>(effect->pluginData)) + "\n";
                written.insert(effect);
            } else {
                appendName(out, entry);
                char* block = Eng_ScriptCopyBlock();
                out += plain(block) + "\n";
                Eng_Free(block);
            }
            skipBlock();
        }
        Eng_ScriptClose();
    }
    for (ShaderRecord* e = list; e; e = all ? e->nextInScript : nullptr) {
        if (written.count(e) || !e->pluginData) continue;
        const std::string name = isModelName(e->name) ? e->name : std::string("textures/") + e->name;
        appendName(out, name.c_str());
        out += plain(static_cast<const char*>(e->pluginData)) + "\n";
        written.insert(e);
    }
    Eng_Free(old);
    if (crlf) {
        std::string converted;
        for (char c : out) {
            if (c == '\n') converted += '\r';
            converted += c;
        }
        out.swap(converted);
    }

    // A temporary file beside the script, renamed over it once complete.
    const std::string temporary = std::string(scriptPath) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        Eng_Warning("can't write \"%s\"", scriptPath);
        return false;
    }
    Eng_VerbosePrintf("Writing: \"%s\"", scriptPath);
    const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !ok || std::rename(temporary.c_str(), scriptPath) != 0) {
        std::remove(temporary.c_str());
        Eng_Warning("can't write \"%s\"", scriptPath);
        return false;
    }
    for (ShaderRecord* e : written)
        std::snprintf(e->scriptPath, sizeof e->scriptPath, "%s", scriptPath);
    return true;
}
