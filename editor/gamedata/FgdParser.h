// The entity-definition (FGD) section and key grammar, read from the script tokenizer opened with
// flags 6 ("@" and "+" single tokens). Keywords are compared without regard to case.
#pragma once

#include <QString>

#include "gamedata/EntityClass.h"

struct GameData;

// Tokenizer flags of entity-definition files and their includes.
inline constexpr int32_t kFgdScriptFlags = 6;

// Starts reading a file: each file (this one and its includes) is read once per load.
void Fgd_BeginFile(const QString& path);
// The current token is a section name: a class section, "include" or "mapsize". Consumes the
// section or stops at its first error; the loader then skips to the next "@".
void Fgd_ParseSection(GameData* file, bool headersOnly);
// The current token is a key name: parses one declaration and merges it into the class's keys.
// An error (the tokenizer's flag) means the class is to be discarded.
void Fgd_ParseProperty(EntityClass* eclass);
// Reads a type keyword; an unknown one is a parse error (code 0).
PropertyType Fgd_ParseVariableType();
// A console warning preceded by the current file's name and line.
void Fgd_Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
