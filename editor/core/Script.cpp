// The global script tokenizer: frames of an include stack over file or memory text, token reading
// with comments, quotes and single-character tokens, blocks, and error reporting.
#include "core/Script.h"

#include <QFileInfo>
#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "core/Platform.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "kstdlib/kstring.h"

namespace {

// One level of the include stack.
struct ScriptFrame {
    const char* text;   // the whole text; owned when read from a file
    const char* cursor; // next character to read
    const char* end;    // one past the last character
    int32_t flags;
    int32_t line; // starts at 1
    char name[SCRIPT_MAX_PATH];
    bool ownsText; // false for the caller's memory block
};

constexpr char kMemoryBufferName[] = "memory buffer";
// Script_Error formats into a buffer of this size.
constexpr int kErrorBufferSize = 2304;

ScriptFrame s_frames[SCRIPT_MAX_INCLUDES];
ScriptFrame* s_current = nullptr;
char s_token[SCRIPT_MAX_TOKEN];
bool s_ended = true;
bool s_error = false;
bool s_pushedBack = false;
char s_baseDirectory[SCRIPT_MAX_PATH];
bool s_errorFileNames = false;

inline unsigned char uc(char c) {
    return static_cast<unsigned char>(c);
}

// Frame 0 never holds text; a frame whose text was released holds none either.
ScriptFrame* activeFrame() {
    return (s_current && s_current != &s_frames[0] && s_current->text) ? s_current : nullptr;
}

// Frees a frame's file text once: the pointers are cleared, so a later close or pop finds nothing.
void releaseFrameText(ScriptFrame& frame) {
    if (frame.ownsText && frame.text) Sys_Free(const_cast<char*>(frame.text));
    frame.text = frame.cursor = frame.end = nullptr;
    frame.ownsText = false;
}

void releaseAllFrames() {
    for (ScriptFrame& frame : s_frames)
        releaseFrameText(frame);
}

int32_t currentLine() {
    return (s_current && s_current != &s_frames[0]) ? s_current->line : 0;
}

const char* currentFileName() {
    if (!s_current || s_current == &s_frames[0]) return "";
    const char* slash = std::strrchr(s_current->name, '/');
    return slash ? slash + 1 : s_current->name;
}

// The tokenizer's own error lines, with the file's name first when a reader asked for it.
void reportError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void reportError(const char* format, ...) {
    char message[kErrorBufferSize + SCRIPT_MAX_PATH];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    if (s_errorFileNames)
        Sys_Error("%s: %s", currentFileName(), message);
    else
        Sys_Error("%s", message);
}

void reportLineIncomplete() {
    reportError("line %i is incomplete", currentLine());
    s_error = true;
}

void reportTokenTooLarge() {
    s_token[0] = '\0';
    reportError("token too large on line %i", currentLine());
    s_error = true;
}

bool Script_IsSingleCharToken(char c) {
    const int32_t flags = s_current ? s_current->flags : 0;
    if (flags & SCRIPT_FLAG_NO_SINGLE_CHARS) return false;
    switch (c) {
    case '\'':
    case '(':
    case ')':
    case ',':
    case ':':
    case ';':
    case '=':
    case '[':
    case ']':
    case '{':
    case '}':
        return true;
    case '@':
        return (flags & SCRIPT_FLAG_AT_TOKEN) != 0;
    case '+':
        return (flags & SCRIPT_FLAG_PLUS_TOKEN) != 0;
    default:
        return false;
    }
}

// Reads the whole file into the frame; its length, or -1 (with a console error) on failure.
// Scripts come from disk only (a game file may differ in case), never from the archives.
int64_t Script_ReadFile(ScriptFrame& frame, const char* path) {
    QByteArray onDisk(path);
    if (!Plat_IsRegularFile(path)) {
        const QString found = Plat_FindFileNoCase(Path_FromNative(path));
        if (found.isEmpty()) {
            const int error = QFileInfo(Path_FromNative(path)).isDir() ? EISDIR : ENOENT;
            Sys_Error("can't open \"%s\" (%s)", path, Plat_ErrorText(error));
            return -1;
        }
        onDisk = Path_ToNative(found);
    }
    uint32_t length = 0;
    char* text = Sys_LoadFile(onDisk.constData(), &length);
    if (!text) return -1;
    releaseFrameText(frame);
    frame.text = frame.cursor = text;
    frame.end = text + length;
    frame.ownsText = true;
    return length;
}

// Scripts come saved with "\n", "\r\n" or a bare "\r" after each line: each ends one line. A
// "\r" before "\n" is a blank, so that the pair counts once.
bool endsLine(const char* p, const char* end) {
    return *p == '\n' || (*p == '\r' && (p + 1 >= end || p[1] != '\n'));
}

// Any character of a line end: enough where it matters where a line stops, not how many end.
bool lineEndChar(char c) {
    return c == '\n' || c == '\r';
}

// Just past the "*/" of the block comment starting at p when it closes before the line ends;
// null when it runs over a line end or to the end of the text.
const char* sameLineCommentEnd(const char* p, const char* end) {
    for (p += 2; p + 1 < end && !lineEndChar(*p); ++p)
        if (p[0] == '*' && p[1] == '/') return p + 2;
    return nullptr;
}

// Leaves the frame whose text is exhausted: back to the including frame, or the end of the script.
bool Script_ReadToken(bool crossLines, bool optional);

bool popFrame() {
    releaseFrameText(*s_current);
    if (s_current == &s_frames[1]) {
        s_ended = true;
        return false;
    }
    --s_current;
    Sys_Printf("Returning to \"%s\"\n", s_current->name);
    return true;
}

bool Script_EndOfBuffer(bool crossLines, bool optional) {
    if (!crossLines) {
        // The end of the text ends the last line too: quiet for optional reads.
        if (!optional) reportLineIncomplete();
        return false;
    }
    if (!popFrame()) return false;
    return Script_ReadToken(crossLines, false);
}

// Copies one character into the token; false (and the error) when the token is full.
bool appendTokenChar(int32_t& length, char c) {
    if (length >= SCRIPT_MAX_TOKEN - 1) {
        reportTokenTooLarge();
        return false;
    }
    s_token[length++] = c;
    s_token[length] = '\0';
    return true;
}

bool Script_ReadToken(bool crossLines, bool optional) {
    if (s_ended || s_error) {
        s_token[0] = '\0';
        return false;
    }
    if (s_pushedBack) {
        s_pushedBack = false;
        return true;
    }
    s_token[0] = '\0';
    ScriptFrame* frame = activeFrame();
    if (!frame) return false;

    // Blanks, line ends and comments.
    for (;;) {
        while (frame->cursor < frame->end && uc(*frame->cursor) < '!') {
            if (endsLine(frame->cursor, frame->end)) {
                if (!crossLines) {
                    if (!optional) reportLineIncomplete();
                    return false;
                }
                ++frame->line;
            }
            ++frame->cursor;
        }
        if (frame->cursor >= frame->end) return Script_EndOfBuffer(crossLines, optional);

        const char* c = frame->cursor;
        if (c[0] != '/' || c + 1 >= frame->end || (c[1] != '/' && c[1] != '*')) break;
        // A block comment closed on its own line sits between two tokens of that line.
        if (const char* after = c[1] == '*' ? sameLineCommentEnd(c, frame->end) : nullptr) {
            frame->cursor = after;
            continue;
        }
        if (!crossLines) {
            if (!optional) reportLineIncomplete();
            return false;
        }
        if (c[1] == '/') {
            // The newline itself is counted by the blank skipping above.
            while (frame->cursor < frame->end && !lineEndChar(*frame->cursor))
                ++frame->cursor;
        } else {
            frame->cursor += 2;
            while (frame->cursor < frame->end) {
                if (frame->cursor[0] == '*' && frame->cursor + 1 < frame->end && frame->cursor[1] == '/') {
                    frame->cursor += 2;
                    break;
                }
                if (endsLine(frame->cursor, frame->end)) ++frame->line;
                ++frame->cursor;
            }
        }
    }

    int32_t length = 0;
    if (*frame->cursor == '"') {
        ++frame->cursor;
        // A quoted token may run over line ends; they still count as lines.
        while (frame->cursor < frame->end && *frame->cursor != '"') {
            if (endsLine(frame->cursor, frame->end)) ++frame->line;
            if (!appendTokenChar(length, *frame->cursor++)) return false;
        }
        if (frame->cursor < frame->end) ++frame->cursor;
        return true;
    }
    if (Script_IsSingleCharToken(*frame->cursor)) {
        s_token[0] = *frame->cursor++;
        s_token[1] = '\0';
        return true;
    }
    while (frame->cursor < frame->end && uc(*frame->cursor) >= '!' &&
           !Script_IsSingleCharToken(*frame->cursor))
        if (!appendTokenChar(length, *frame->cursor++)) return false;
    return true;
}

// Numbers in scripts always use '.', whatever the process locale says.
float parseNumber(const char* text) {
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return static_cast<float>(strtod_l(text, nullptr, cLocale));
}

// First character at or after p that is not below '!'.
const char* skipBlanks(const char* p, const char* end) {
    while (p < end && uc(*p) < '!')
        ++p;
    return p;
}

// One past the brace that closes the block, or end. Braces inside double quotes or comments do
// not count, so all block functions see the block the tokens make up (a "}" in a comment would
// otherwise end it early and cut the copied text).
const char* findBlockEnd(const char* p, const char* end, int32_t depth) {
    bool quoted = false;
    const char* begin = p;
    for (; p < end; ++p) {
        // A comment starts where a token could (as the tokenizer reads it).
        if (!quoted && *p == '/' && p + 1 < end && (p[1] == '/' || p[1] == '*') &&
            (p == begin || uc(p[-1]) < '!' || p[-1] == '{' || p[-1] == '}')) {
            if (p[1] == '/') {
                while (p + 1 < end && !lineEndChar(p[1]))
                    ++p;
            } else {
                for (p += 2; p + 1 < end && !(p[0] == '*' && p[1] == '/');)
                    ++p;
                if (p + 1 >= end) return end;
                ++p;
            }
            continue;
        }
        if (*p == '"') {
            quoted = !quoted;
        } else if (!quoted && *p == '{') {
            ++depth;
        } else if (!quoted && *p == '}') {
            if (depth <= 1) return p + 1;
            --depth;
        }
    }
    return end;
}

} // namespace

bool Script_IncludeFile(const char* name, int32_t flags) {
    if (!name) name = "";
    if (!s_current) s_current = &s_frames[0];
    if (s_current == &s_frames[SCRIPT_MAX_INCLUDES - 1]) {
        Sys_Error("script file exceeded MAX_INCLUDES");
        s_error = true;
        return false;
    }
    ScriptFrame& frame = s_current[1];

    // An absolute name sets the folder that later relative names are taken from.
    char path[SCRIPT_MAX_PATH];
    int written;
    if (name[0] == '/' || (name[0] && name[1] == ':')) {
        char directory[SCRIPT_MAX_PATH];
        const int length = K_ExtractFilePath(name, directory, sizeof(directory));
        if (length >= 0 && length + 1 < SCRIPT_MAX_PATH) {
            std::memcpy(s_baseDirectory, directory, size_t(length));
            s_baseDirectory[length] = '/';
            s_baseDirectory[length + 1] = '\0';
        }
        written = std::snprintf(path, sizeof(path), "%s", name);
    } else {
        written = std::snprintf(path, sizeof(path), "%s%s", s_baseDirectory, name);
    }
    if (written < 0 || written >= SCRIPT_MAX_PATH) {
        Sys_Error("can't open \"%s\" (%s)", name, Plat_ErrorText(ENAMETOOLONG));
        s_error = true;
        return false;
    }

    if (Script_ReadFile(frame, path) < 0) {
        s_error = true;
        return false;
    }
    std::memcpy(frame.name, path, std::strlen(path) + 1);
    frame.flags = flags;
    frame.line = 1;
    Sys_Printf("Entering: \"%s\"\n", frame.name);
    s_current = &frame;
    return true;
}

bool Script_LoadFile(const char* path, int32_t flags) {
    // A script left open by its caller is released here rather than leaked.
    releaseAllFrames();
    s_current = &s_frames[0];
    s_baseDirectory[0] = '\0';
    if (!Script_IncludeFile(path, flags)) {
        s_ended = true;
        return false;
    }
    s_ended = s_pushedBack = s_error = false;
    return true;
}

bool Script_LoadMemory(const char* buffer, uint32_t length, int32_t flags) {
    releaseAllFrames();
    ScriptFrame& frame = s_frames[1];
    frame.text = frame.cursor = buffer ? buffer : "";
    frame.end = frame.text + (buffer ? length : 0);
    frame.ownsText = false;
    frame.flags = flags;
    frame.line = 1;
    std::memcpy(frame.name, kMemoryBufferName, sizeof(kMemoryBufferName));
    s_current = &frame;
    s_ended = s_pushedBack = s_error = false;
    return true;
}

char* Script_Token() {
    return s_token;
}

int32_t Script_Line() {
    return currentLine();
}

void Script_Error(const char* format, ...) {
    char message[kErrorBufferSize];
    message[0] = '\0';
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(message, sizeof(message), format, args);
        va_end(args);
    }
    reportError("parse error at line %i: %s", currentLine(), message);
    s_error = true;
}

const char* Script_FileName() {
    return currentFileName();
}

void Script_SetErrorFileNames(bool on) {
    s_errorFileNames = on;
}

bool Script_HasError() {
    return s_error;
}

void Script_ClearError() {
    s_error = false;
}

bool Script_GetToken(bool crossLines) {
    return Script_ReadToken(crossLines, false);
}

bool Script_TryGetToken(bool crossLines) {
    return Script_ReadToken(crossLines, true);
}

void Script_UngetToken() {
    s_pushedBack = true;
}

bool Script_TokenAvailable() {
    if (s_ended || s_error) return false;
    const ScriptFrame* frame = activeFrame();
    if (!frame) return false;
    const char* p = frame->cursor;
    for (;;) {
        while (p < frame->end && uc(*p) < '!') {
            if (lineEndChar(*p)) return false;
            ++p;
        }
        if (p >= frame->end) return false;
        if (p[0] != '/' || p + 1 >= frame->end) return true;
        // A line comment ends the line; so does a block comment that runs over it, while one
        // closed on the line leaves the rest of the line to look at.
        if (p[1] == '/') return false;
        if (p[1] != '*') return true;
        p = sameLineCommentEnd(p, frame->end);
        if (!p) return false;
    }
}

const char* Script_MatchToken(const char* text) {
    Script_ReadToken(true, false);
    if (text && std::strcmp(s_token, text) == 0) return s_token;
    reportError("bad token `%s' at line %i (expected `%s')", s_token, currentLine(), text ? text : "");
    s_error = true;
    return nullptr;
}

bool Script_CheckToken(const char* text, bool crossLines) {
    const bool read = Script_ReadToken(crossLines, true);
    return read && text && std::strcmp(s_token, text) == 0;
}

bool Script_SkipRestOfLine() {
    while (Script_TokenAvailable())
        Script_ReadToken(false, false);
    return false;
}

void Script_ParseVector(int32_t count, float* out) {
    Script_MatchToken("(");
    for (int32_t i = 0; i < count; ++i) {
        Script_ReadToken(false, false);
        const float value = parseNumber(s_token);
        if (out) out[i] = value;
    }
    Script_MatchToken(")");
}

void Script_ParseMatrix(int32_t rows, int32_t columns, float* out) {
    Script_MatchToken("(");
    for (int32_t r = 0; r < rows; ++r)
        Script_ParseVector(columns, out ? out + r * columns : nullptr);
    Script_MatchToken(")");
}

void Script_ParseMatrixArray(int32_t count, int32_t rows, int32_t columns, float* out) {
    Script_MatchToken("(");
    for (int32_t i = 0; i < count; ++i)
        Script_ParseMatrix(rows, columns, out ? out + i * rows * columns : nullptr);
    Script_MatchToken(")");
}

void Script_Close() {
    releaseAllFrames();
    s_ended = true;
    s_pushedBack = false;
}

void Script_SetFlags(int32_t flags) {
    if (s_current && s_current != &s_frames[0]) s_current->flags = flags;
}

int32_t Script_GetFlags() {
    return (s_current && s_current != &s_frames[0]) ? s_current->flags : 0;
}

namespace {
// Where the block at the cursor begins: a pushed-back "{" (read past already) is its first
// character, as Script_SkipBlock counts it.
const char* blockStart(const ScriptFrame* frame) {
    if (s_pushedBack && std::strcmp(s_token, "{") == 0)
        for (const char* p = frame->cursor; p > frame->text; --p)
            if (p[-1] == '{') return p - 1;
    return skipBlanks(frame->cursor, frame->end);
}
} // namespace

int32_t Script_BlockLength() {
    const ScriptFrame* frame = activeFrame();
    if (!frame) return 0;
    const char* start = blockStart(frame);
    if (start >= frame->end) return 0;
    return static_cast<int32_t>(findBlockEnd(start, frame->end, 0) - start);
}

char* Script_CopyBlock() {
    const ScriptFrame* frame = activeFrame();
    if (!frame) return nullptr;
    const char* start = blockStart(frame);
    if (start >= frame->end) return nullptr;
    const char* stop = findBlockEnd(start, frame->end, 0);
    // Line ends become "\n": a "\r" before "\n" goes, a bare one is the line end itself.
    int64_t length = 0;
    for (const char* p = start; p < stop; ++p)
        length += (*p != '\r' || endsLine(p, stop));
    if (length == 0) return nullptr;
    char* copy = static_cast<char*>(Sys_Alloc(static_cast<uint64_t>(length) + 1));
    if (!copy) return nullptr;
    char* out = copy;
    for (const char* p = start; p < stop; ++p)
        if (*p != '\r')
            *out++ = *p;
        else if (endsLine(p, stop))
            *out++ = '\n';
    return copy;
}

void Script_SkipBlock() {
    ScriptFrame* frame = activeFrame();
    if (!frame || s_ended) return;
    while (frame->cursor < frame->end && uc(*frame->cursor) < '!') {
        if (endsLine(frame->cursor, frame->end)) ++frame->line;
        ++frame->cursor;
    }
    if (frame->cursor >= frame->end) {
        popFrame();
        return;
    }
    const int32_t depth = (s_pushedBack && std::strcmp(s_token, "{") == 0) ? 1 : 0;
    s_pushedBack = false;
    const char* stop = findBlockEnd(frame->cursor, frame->end, depth);
    for (; frame->cursor < stop; ++frame->cursor)
        if (endsLine(frame->cursor, frame->end)) ++frame->line;
}

bool Script_NeedsQuotes(const char* text) {
    if (!text) return false;
    // Empty text, blanks and a leading comment marker would all read back as something else.
    if (!*text) return true;
    if (text[0] == '/' && (text[1] == '/' || text[1] == '*')) return true;
    for (const char* p = text; *p; ++p)
        if (uc(*p) < '!' || Script_IsSingleCharToken(*p)) return true;
    return false;
}
