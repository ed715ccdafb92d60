// The one script tokenizer of the program: files or memory blocks split into tokens, include files
// followed through a stack of frames, errors reported with line numbers. "\n", "\r\n" and a bare
// "\r" each end a line. There is a single global state: starting a script replaces (and releases)
// the previous one; parsers do not nest.
//
// Plugins reach these functions through the engine-function table; the editor calls them directly.
#pragma once

#include <cstdint>

// Frame flags (Script_LoadFile, Script_LoadMemory, Script_IncludeFile, Script_SetFlags).
inline constexpr int32_t SCRIPT_FLAG_NO_SINGLE_CHARS = 1; // no single-character tokens at all
inline constexpr int32_t SCRIPT_FLAG_AT_TOKEN = 2;        // "@" is a token of its own
inline constexpr int32_t SCRIPT_FLAG_PLUS_TOKEN = 4;      // "+" is a token of its own

// Include stack depth; frame 0 never holds text, so 31 files can be open at once.
inline constexpr int32_t SCRIPT_MAX_INCLUDES = 32;
// Token buffer size; the longest token is one character less.
inline constexpr int32_t SCRIPT_MAX_TOKEN = 2048;
// Size of a frame's name and of the base directory.
inline constexpr int32_t SCRIPT_MAX_PATH = 260;

// ---- Engine-function table (in table order) ---------------------------------------------
// Starts a script on a file; false (console error) when it cannot be read.
bool Script_LoadFile(const char* path, int32_t flags);
// Starts a script on a memory block, which is neither copied nor freed. Always true.
bool Script_LoadMemory(const char* buffer, uint32_t length, int32_t flags);
// The current token (zero-terminated, at most SCRIPT_MAX_TOKEN - 1 characters).
char* Script_Token();
// Line number of the current frame, 0 without a script.
int32_t Script_Line();
// Reports "parse error at line %i: <message>" and sets the error flag.
void Script_Error(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool Script_HasError();
void Script_ClearError();
// Reads the next token; without crossLines the token must be on the current line (else an error).
bool Script_GetToken(bool crossLines);
// As Script_GetToken, but the end of the line (or of the text) is no error.
bool Script_TryGetToken(bool crossLines);
// The next read returns the current token again.
void Script_UngetToken();
// Another token follows on the current line.
bool Script_TokenAvailable();
// Reads a token (crossing lines); non-null when it equals text, else a "bad token" error.
const char* Script_MatchToken(const char* text);
// Reads a token (optional); true when it equals text. The token is consumed either way.
bool Script_CheckToken(const char* text, bool crossLines);
// Drops the rest of the line; returns false.
bool Script_SkipRestOfLine();
// "(" count numbers ")"; numbers are read in the C locale whatever the process locale is.
void Script_ParseVector(int32_t count, float* out);
// "(" rows vectors of columns ")".
void Script_ParseMatrix(int32_t rows, int32_t columns, float* out);
// "(" count matrices ")".
void Script_ParseMatrixArray(int32_t count, int32_t rows, int32_t columns, float* out);
// Ends the script and frees the file buffers.
void Script_Close();
// Flags of the current frame; nothing / 0 without a script.
void Script_SetFlags(int32_t flags);
int32_t Script_GetFlags();
// Length of the next "{ ... }" block from the first non-blank character, closing brace included
// (to the end of the text when none closes). Braces inside double quotes do not count.
int32_t Script_BlockLength();
// Zero-terminated copy of the next block with every line end made "\n" (free with Sys_Free); null
// when the text is exhausted. The cursor does not move.
char* Script_CopyBlock();
// Skips to just past the end of the current block (a pushed-back "{" opens it).
void Script_SkipBlock();
// Text must be written in double quotes to read back as this one token.
bool Script_NeedsQuotes(const char* text);

// ---- Editor only -------------------------------------------------------------------------
// Pushes a frame for an include file (relative names are taken from the base directory, which an
// absolute name sets). False, with a console error and the error flag, when the stack is full or
// the file cannot be read; the stack is then unchanged.
bool Script_IncludeFile(const char* name, int32_t flags);
// Last path component of the current frame's file ("memory buffer" for memory text); "" without a
// script.
const char* Script_FileName();
// While on, the tokenizer's own error lines start with the current file's name ("base.fgd: "), so
// a fault inside an included file names that file. Readers switch it off again when done.
void Script_SetErrorFileNames(bool on);
