// Effect script files. A script is read whole (from disk or the archives) and tokenized from
// memory. Entries are a name and a braced block; stray braces and names without a block are
// skipped with a warning, so they never hide later entries, and counting follows the same rules
// as loading.
#include "quake3/ShaderPackage.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <unordered_set>

#include "gamedata/TextureRecords.h"
#include "quake3/EngineServices.h"
#include "quake3/Images.h"
#include "quake3/ShaderParser.h"
#include "quake3/ShaderServices.h"

namespace {

constexpr int32_t kEffectPackageFlag = 16;

// The script text, alive while it is tokenized.
class cScriptText {
public:
    explicit cScriptText(const char* path) {
        uint32_t size = 0;
        m_data = static_cast<char*>(Eng_LoadFile(path, &size));
        if (m_data) m_open = Eng_ScriptLoadMemory(m_data, size + 1, 1);
    }
    ~cScriptText() {
        if (m_open) Eng_ScriptClose();
        Eng_Free(m_data);
    }
    cScriptText(const cScriptText&) = delete;
    cScriptText& operator=(const cScriptText&) = delete;
    bool open() const { return m_open; }

private:
    char* m_data = nullptr;
    bool m_open = false;
};

// The problems of one script: a game's scripts hold many slips the game lives with, so each
// script says what is wrong in one warning, its first problems by line and how many more there are.
class cScriptProblems {
public:
    explicit cScriptProblems(const char* path) : m_path(path) {}
    ~cScriptProblems() {
        if (m_count == 0) return;
        if (m_count == 1) {
            Eng_Warning("%s: %s", m_path, m_text.c_str());
            return;
        }
        if (m_count > kListed) m_text += "; and " + std::to_string(m_count - kListed) + " more";
        Eng_Warning("%s: %i problems: %s", m_path, m_count, m_text.c_str());
    }
    cScriptProblems(const cScriptProblems&) = delete;
    cScriptProblems& operator=(const cScriptProblems&) = delete;

    // The parser's callback; the context is the script's problems.
    static void callback(int32_t line, const char* message, void* context) {
        static_cast<cScriptProblems*>(context)->note(line, message);
    }
    void note(int32_t line, const char* message) {
        if (m_count++ >= kListed) return;
        std::string text = message ? message : "";
        while (!text.empty() && text.back() == '\n') // some messages end their line themselves
            text.pop_back();
        if (!m_text.empty()) m_text += "; ";
        m_text += "Line " + std::to_string(line) + ": " + text;
    }

private:
    static constexpr int32_t kListed = 8;
    const char* m_path;
    int32_t m_count = 0;
    std::string m_text;
};

bool startsWithTextures(const char* name) {
    return strncasecmp(name, "textures/", 9) == 0 || strncasecmp(name, "textures\\", 9) == 0;
}

// The effect name of an entry: without "textures/", '/' separators, 63 characters at most.
void effectName(const char* entry, char out[64]) {
    std::snprintf(out, 64, "%s", startsWithTextures(entry) ? entry + 9 : entry);
    for (char* p = out; *p; ++p)
        if (*p == '\\') *p = '/';
}

// The folder above the script's folder.
void gameFolder(const char* scriptPath, char out[260]) {
    std::snprintf(out, 260, "%s", scriptPath);
    for (int i = 0; i < 2; ++i) {
        char* slash = std::strrchr(out, '/');
        if (!slash) {
            out[0] = '\0';
            return;
        }
        *slash = '\0';
    }
}

// Next entry name, skipping stray braces and names without a block, each a problem of the script
// (none noted without problems). The "{" of the entry is pushed back. False at the end of the text.
bool nextEntry(char name[64], cScriptProblems* problems) {
    while (true) {
        if (const char* pending = ShaderParser_TakeNextEntry()) {
            std::snprintf(name, 64, "%s", pending);
            return true;
        }
        if (!Eng_ScriptTryGetToken(true)) return false;
        const char* word = Eng_ScriptToken();
        if (std::strcmp(word, "{") == 0 || std::strcmp(word, "}") == 0) {
            if (problems) problems->note(Eng_ScriptLine(), "stray brace skipped");
            if (word[0] == '{') {
                Eng_ScriptUngetToken();
                ParseShader(nullptr, nullptr, false, nullptr, nullptr);
            }
            continue;
        }
        std::snprintf(name, 64, "%s", word);
        const int32_t line = Eng_ScriptLine();
        if (Eng_ScriptTryGetToken(true) && std::strcmp(Eng_ScriptToken(), "{") == 0) {
            Eng_ScriptUngetToken();
            return true;
        }
        if (problems) {
            char message[128];
            std::snprintf(message, sizeof message, "`{' expected after `%s'", name);
            problems->note(line, message);
        }
        if (Eng_ScriptLine() != line || std::strcmp(Eng_ScriptToken(), name) != 0) Eng_ScriptUngetToken();
    }
}

// Registers one entry; registered holds the effects this load already took a reference on.
void registerEntry(const char* scriptPath, const char* folder, const char* entry,
                   std::unordered_set<ShaderRecord*>* registered, cScriptProblems* problems) {
    char name[64];
    effectName(entry, name);
    char image[300] = {};
    char key[600];
    const bool hasImage = FindImageFile(entry, image, sizeof image);
    if (hasImage)
        std::snprintf(key, sizeof key, "%s", image);
    else
        std::snprintf(key, sizeof key, "%s/%s", folder, entry);
    ShaderRecord* effect =
        Eng_FindOrCreateShader(key, name, startsWithTextures(entry) ? 0 : kEffectPackageFlag);
    if (!effect) {
        ParseShader(nullptr, nullptr, false, nullptr, nullptr);
        return;
    }
    // An effect defined before holds a reference from the earlier definition; drop the one this
    // look-up took, but never one it did not take (a name repeated within this script).
    const bool repeated = registered && !registered->insert(effect).second;
    if ((effect->stages || effect->image) && effect->width && !repeated) {
        if (effect->flags & SHADER_TAKE_OVER_REFERENCE)
            effect->flags &= ~SHADER_TAKE_OVER_REFERENCE;
        else
            --effect->refCount;
    }
    std::snprintf(effect->scriptPath, sizeof effect->scriptPath, "%s", scriptPath);
    ParseShader(effect, hasImage ? image : nullptr, false, &cScriptProblems::callback, problems);
}

} // namespace

int32_t ShaderPackage_GetInfo(int32_t fmt, const char* path, int32_t* count) {
    if (count) *count = 0;
    if (fmt != 0 || !path) return 0;
    cScriptText script(path);
    if (!script.open()) return 0;
    int32_t entries = 0;
    char name[64];
    while (nextEntry(name, nullptr)) {
        ParseShader(nullptr, nullptr, false, nullptr, nullptr);
        ++entries;
    }
    if (count) *count = entries;
    return 1;
}

namespace {

void registerAll(const char* path) {
    char folder[260];
    gameFolder(path, folder);
    std::unordered_set<ShaderRecord*> registered;
    cScriptProblems problems(path);
    char name[64];
    while (nextEntry(name, &problems))
        registerEntry(path, folder, name, &registered, &problems);
}

} // namespace

int32_t ShaderPackage_Load(int32_t fmt, const char* path) {
    if (fmt != 0 || !path) return 0;
    cScriptText script(path);
    if (!script.open()) return 0;
    Image_GammaTable();
    registerAll(path);
    return 1;
}

int32_t ShaderPackage_LoadText(const char* path, const char* text, uint32_t size) {
    if (!path || !text || !Eng_ScriptLoadMemory(text, size, 1)) return 0;
    registerAll(path);
    Eng_ScriptClose();
    return 1;
}

int32_t LoadShaderFromScript(const char* scriptPath, const char* wanted) {
    if (!scriptPath || !wanted) return 0;
    cScriptText script(scriptPath);
    if (!script.open()) return 0;
    char folder[260];
    gameFolder(scriptPath, folder);
    while (Eng_ScriptTryGetToken(true)) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "%s", Eng_ScriptToken());
        const char* bare = startsWithTextures(entry) ? entry + 9 : entry;
        if (strcasecmp(bare, wanted) == 0) {
            cScriptProblems problems(scriptPath);
            registerEntry(scriptPath, folder, entry, nullptr, &problems);
            return 1;
        }
    }
    return 0;
}

bool ClassifyShaderPath(const char* imagePath, ShaderRecord* effect) {
    if (!imagePath || !effect) return false;
    static constexpr const char* kFolders[] = {"/textures/", "/models/", "/gfx/", "/menu/", "/sprites/"};
    const char* found = nullptr;
    for (const char* folder : kFolders) {
        for (const char* p = imagePath; *p; ++p) {
            if (strncasecmp(p, folder, std::strlen(folder)) == 0) {
                found = p + 1;
                break;
            }
        }
        if (found) break;
    }
    if (!found) return false;
    char text[400];
    std::snprintf(text, sizeof text, "{\n\t{\n\t\tmap \"%s\"\n\t\trgbGen identity\n\t}\n}", found);
    Eng_Free(effect->pluginData);
    effect->pluginData = Eng_StrDup(text);
    TextureImage* oldImage = (effect->flags & SHADER_PLACEHOLDER) ? nullptr : effect->image;
    ShaderStage* oldStages = effect->stages;
    effect->image = nullptr;
    effect->stages = nullptr;
    if (TextureImage* image = LoadImageFile(effect, imagePath, true)) {
        ++image->refCount;
        effect->image = image;
        effect->width = image->width;
        effect->height = image->height;
        ShaderStage stage{};
        ++image->refCount;
        stage.frames[0] = image;
        stage.colorKind = 2;
        stage.alphaKind = 1;
        Eng_AddShaderStage(effect, &stage);
    }
    if (effect->sort == 0) effect->sort = 16;
    Eng_FinishShader(effect);
    Eng_FreeImage(oldImage);
    while (oldStages) {
        ShaderStage* next = oldStages->next;
        Eng_FreeShaderData(oldStages);
        oldStages = next;
    }
    return true;
}
