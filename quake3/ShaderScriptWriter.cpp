// Writing effects back into a script file.
#include <algorithm>
#include <cctype>
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
        out += std::string("\"") + name + "\"";
    else
        out += name;
}

// Text with its line ends ("\n", "\r\n" or a bare "\r") made eol.
std::string withLineEnds(const char* text, const char* eol) {
    std::string out;
    for (const char* p = text; p && *p; ++p) {
        if (*p == '\r' && p[1] == '\n') continue;
        if (*p == '\n' || *p == '\r')
            out += eol;
        else
            out += *p;
    }
    return out;
}

// The line end the script uses, from its first line: "\r\n", a bare "\r" or "\n".
const char* lineEndOf(const char* text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (text[i] == '\n') return "\n";
        if (text[i] == '\r') return i + 1 < size && text[i + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\n";
}

ShaderRecord* findEffect(ShaderRecord* list, bool all, const std::string& entry,
                         const std::unordered_set<ShaderRecord*>& written) {
    for (ShaderRecord* e = list; e; e = all ? e->nextInScript : nullptr) {
        if (!written.count(e) && strcasecmp(e->name, bareName(entry.c_str())) == 0) return e;
    }
    return nullptr;
}

// One entry of a script as byte offsets: its name token from start to nameEnd, its block up to
// end (end == nameEnd when no block follows).
struct EntrySpan {
    size_t start, nameEnd, end;
    std::string name;
};

// Finds the entries of a script without touching what lies between them, so a rewrite can keep
// every other byte as it was.
class cEntryScanner {
public:
    cEntryScanner(const char* text, size_t size) : s(text), n(size) {}

    bool next(EntrySpan& entry) {
        skipBlank();
        if (p >= n) return false;
        entry.start = p;
        if (s[p] == '"') {
            const size_t close = find('"', p + 1);
            entry.name.assign(s + p + 1, close - p - 1);
            p = std::min(close + 1, n);
        } else if (s[p] == '{' || s[p] == '}') {
            entry.name.assign(1, s[p]);
            ++p;
        } else {
            const size_t from = p;
            while (p < n && !std::isspace(static_cast<unsigned char>(s[p])) && s[p] != '{' && s[p] != '}' &&
                   !commentAt(p))
                ++p;
            entry.name.assign(s + from, p - from);
        }
        entry.nameEnd = entry.end = p;
        const size_t after = p;
        skipBlank();
        if (p < n && s[p] == '{') {
            skipBlock();
            entry.end = p;
        } else {
            p = after;
        }
        return true;
    }

private:
    size_t find(char c, size_t from) const {
        while (from < n && s[from] != c)
            ++from;
        return from;
    }
    // The end of the line (any line end) from `from`.
    size_t lineEnd(size_t from) const {
        while (from < n && s[from] != '\n' && s[from] != '\r')
            ++from;
        return from;
    }
    bool commentAt(size_t i) const {
        return i + 1 < n && s[i] == '/' && (s[i + 1] == '/' || s[i + 1] == '*');
    }
    void skipComment() {
        if (s[p + 1] == '/') {
            p = lineEnd(p);
        } else {
            p += 2;
            while (p < n && !(s[p] == '*' && p + 1 < n && s[p + 1] == '/'))
                ++p;
            p = std::min(p + 2, n);
        }
    }
    void skipBlank() {
        while (p < n) {
            if (std::isspace(static_cast<unsigned char>(s[p])) || s[p] == '\0')
                ++p;
            else if (commentAt(p))
                skipComment();
            else
                break;
        }
    }
    // From an opening brace past its matching close (or to the end of an unclosed block).
    void skipBlock() {
        int depth = 0;
        while (p < n) {
            if (commentAt(p)) {
                skipComment();
                continue;
            }
            const char c = s[p++];
            if (c == '"') {
                p = std::min(find('"', p) + 1, n);
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                return;
            }
        }
    }

    const char* s;
    size_t n;
    size_t p = 0;
};

} // namespace

bool WriteShaderScript(const char* scriptPath, ShaderRecord* list, bool all) {
    if (!scriptPath) return false;
    char* old = nullptr;
    uint32_t size = 0;
    // The old text comes from the file, or from an archive when the script lies only there: the
    // loose file written then must hold the archive's other effects too.
    if (Eng_FileExists(scriptPath)) {
        Eng_VerbosePrintf("Loading: \"%s\"", scriptPath);
        old = static_cast<char*>(Eng_LoadFile(scriptPath, &size));
        if (!old) return false;
    }
    const char* eol = lineEndOf(old, old ? size : 0);
    std::string out;
    std::unordered_set<ShaderRecord*> written;
    // Entries not written keep their bytes, and so does the text between entries.
    cEntryScanner scanner(old ? old : "", old ? size : 0);
    EntrySpan entry;
    size_t copied = 0;
    while (scanner.next(entry)) {
        ShaderRecord* effect =
            entry.end > entry.nameEnd ? findEffect(list, all, entry.name, written) : nullptr;
        if (!effect || !effect->pluginData) continue;
        out.append(old + copied, entry.nameEnd - copied);
        out += eol;
        out += withLineEnds(static_cast<const char*>(effect->pluginData), eol);
        copied = entry.end;
        written.insert(effect);
    }
    if (old) out.append(old + copied, size - copied);
    for (ShaderRecord* e = list; e; e = all ? e->nextInScript : nullptr) {
        if (written.count(e) || !e->pluginData) continue;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += eol;
        const std::string name = isModelName(e->name) ? e->name : std::string("textures/") + e->name;
        appendName(out, name.c_str());
        out += eol;
        out += withLineEnds(static_cast<const char*>(e->pluginData), eol);
        out += eol;
        written.insert(e);
    }
    Eng_Free(old);

    // A temporary file beside the script, renamed over it once complete; the folder may exist
    // only inside an archive so far.
    Eng_CreatePath(scriptPath);
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
