// libFuzzer harness of the script tokenizer. The first bytes choose the frame flags and a short
// program of reads that is run in a loop over the rest of the input: tokens on and across lines,
// push-back, match and check, vectors and matrices, blocks, flags, errors and includes (of the
// input itself written to a file, and of files that do not exist).
//
// Layout: [flags] [program length n] [n program bytes] text...
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "core/Script.h"
#include "core/System.h"

namespace {

std::string g_directory; // holds the include file; nothing else is ever created there
std::string g_includePath;
std::string g_missingDirectory;

void startOnce() {
    g_directory = Fuzz_MakeFolder("script_fuzz").toStdString();
    g_includePath = g_directory + "/include.txt";
    g_missingDirectory = g_directory + "/missing/";
}

void writeInclude(const char* text, size_t length) {
    std::FILE* file = std::fopen(g_includePath.c_str(), "wb");
    if (!file) std::abort();
    if (length && std::fwrite(text, 1, length, file) != length) std::abort();
    std::fclose(file);
}

// A file name made from the current token that names nothing on disk: no separators, so it stays
// inside a folder that does not exist.
std::string missingName(bool absolute) {
    std::string name = Script_Token();
    for (char& c : name)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    return absolute ? g_missingDirectory + name : "missing/" + name;
}

void checkToken() {
    if (std::strlen(Script_Token()) >= size_t(SCRIPT_MAX_TOKEN)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t flags = data[0] & 7;
    size_t programLength = data[1] % 32;
    if (programLength == 0) programLength = 1;
    if (2 + programLength > size) return 0;
    const uint8_t* program = data + 2;
    const char* text = reinterpret_cast<const char*>(data + 2 + programLength);
    const size_t textLength = size - 2 - programLength;

    // Exactly the text's bytes, so that any read past its end is caught.
    char* copy = static_cast<char*>(std::malloc(textLength ? textLength : 1));
    if (textLength) std::memcpy(copy, text, textLength);
    Script_LoadMemory(copy, uint32_t(textLength), flags);

    bool includeWritten = false;
    float numbers[4 * 4 * 4];
    // Reads may stop consuming (an error, the end): the number of steps is bounded instead.
    const size_t steps = 64 + 4 * textLength;
    for (size_t step = 0; step < steps; ++step) {
        const uint8_t op = program[step % programLength];
        const bool cross = op & 0x80;
        const int32_t a = 1 + ((op >> 5) & 3);
        const int32_t b = 1 + ((op >> 3) & 3);
        switch (op % 24) {
        case 0:
        case 1:
            Script_GetToken(cross);
            break;
        case 2:
            Script_TryGetToken(cross);
            break;
        case 3:
            Script_UngetToken();
            break;
        case 4:
            Script_TokenAvailable();
            break;
        case 5:
            Script_MatchToken(cross ? "{" : "}");
            break;
        case 6:
            Script_CheckToken(cross ? "(" : ")", op & 0x40);
            break;
        case 7:
            Script_SkipRestOfLine();
            break;
        case 8:
            Script_ParseVector(a, (op & 4) ? numbers : nullptr);
            break;
        case 9:
            Script_ParseMatrix(a, b, (op & 4) ? numbers : nullptr);
            break;
        case 10:
            Script_ParseMatrixArray(a, b, a, numbers);
            break;
        case 11: {
            const int32_t length = Script_BlockLength();
            // A block never reaches past the text of its frame (the include holds the same text).
            if (length < 0 || size_t(length) > textLength) std::abort();
            break;
        }
        case 12:
            if (char* block = Script_CopyBlock()) {
                if (std::strlen(block) > textLength) std::abort();
                Sys_Free(block);
            }
            break;
        case 13:
            Script_SkipBlock();
            break;
        case 14:
            Script_NeedsQuotes(Script_Token());
            break;
        case 15:
            if (!includeWritten) {
                writeInclude(text, textLength);
                includeWritten = true;
            }
            Script_IncludeFile(g_includePath.c_str(), int32_t(op >> 5));
            break;
        case 16:
            Script_IncludeFile(missingName(cross).c_str(), flags);
            break;
        case 17:
            Script_SetFlags(int32_t(op >> 5));
            break;
        case 18:
            Script_GetFlags();
            break;
        case 19:
            Script_ClearError();
            break;
        case 20:
            Script_Error("%s", Script_Token());
            break;
        case 21:
            Script_Line();
            Script_HasError();
            break;
        case 22:
            Script_GetToken(true);
            Script_UngetToken();
            Script_SkipBlock();
            break;
        default:
            Script_CheckToken("{", cross);
            break;
        }
        checkToken();
    }
    Script_Close();
    std::free(copy);
    return 0;
}
