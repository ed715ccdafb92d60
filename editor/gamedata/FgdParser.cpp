#include "gamedata/FgdParser.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "core/MainSettings.h"
#include "core/Script.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameData.h"

namespace {

// The tokenizer's give-back flag is not visible from here: this remembers it, so "does another
// token stand on this line" also counts a token handed back.
bool s_givenBack = false;

bool next(bool crossLines) {
    s_givenBack = false;
    return Script_TryGetToken(crossLines);
}

void giveBack() {
    Script_UngetToken();
    s_givenBack = true;
}

bool onLine() {
    return s_givenBack || Script_TokenAvailable();
}

bool match(const char* text) {
    s_givenBack = false;
    return Script_MatchToken(text) != nullptr;
}

bool is(const char* text) {
    return std::strcmp(Script_Token(), text) == 0;
}

bool isKeyword(const char* keyword) {
    return strcasecmp(Script_Token(), keyword) == 0;
}

// The next token on the current line when it is text (consumed); anything else is given back.
bool nextIs(const char* text) {
    if (!onLine() || !next(false)) return false;
    if (is(text)) return true;
    giveBack();
    return false;
}

float tokenFloat() {
    return QByteArray(Script_Token()).toFloat();
}

int32_t tokenInt() {
    return int32_t(std::strtol(Script_Token(), nullptr, 10));
}

bool readFloats(float* out, int count) {
    for (int i = 0; i < count; ++i) {
        if (!next(false)) {
            if (!Script_HasError()) Script_Error("expected a number");
            return false;
        }
        out[i] = tokenFloat();
    }
    return true;
}

// "(" n ")".
bool readIntArgument(int32_t* out) {
    if (!match("(") || !next(false)) return false;
    *out = tokenInt();
    return match(")");
}

// "(" [path] ")"; with second, an optional ", path2" too.
bool readPathArgument(QByteArray* path, QByteArray* second) {
    if (!match("(") || !next(true)) return false;
    if (is(")")) return true;
    *path = Script_Token();
    if (second) {
        if (!next(true)) return false;
        if (is(")")) return true;
        if (is(",")) {
            if (!next(true)) return false;
            *second = Script_Token();
            return match(")");
        }
        giveBack();
    }
    return match(")");
}

struct FlagName {
    const char* name;
    uint32_t bit;
};

constexpr FlagName kFlagNames[] = {
    {"angle", EntityClassHelper::Angle},     {"light", EntityClassHelper::Light},
    {"path", EntityClassHelper::Path},       {"radius", EntityClassHelper::Radius},
    {"alpha", EntityClassHelper::Alpha},     {"flare", EntityClassHelper::Flare},
    {"noscale", EntityClassHelper::NoScale}, {"eccentricfix", EntityClassHelper::EccentricFix},
};

bool readFlags(EntityClass* eclass) {
    if (!match("(")) return false;
    for (;;) {
        if (!next(true)) return false;
        if (is(")")) return true;
        if (is(",")) continue;
        const FlagName* found = std::find_if(std::begin(kFlagNames), std::end(kFlagNames),
                                             [](const FlagName& f) { return isKeyword(f.name); });
        if (found == std::end(kFlagNames))
            Fgd_Warning("unknown flag `%s'", Script_Token());
        else
            eclass->helpers |= found->bit;
    }
}

bool readBases(GameData* file, EntityClass* eclass) {
    if (!match("(")) return false;
    for (;;) {
        if (!next(true)) return false;
        if (is(")")) return true;
        if (is(",")) continue;
        const EntityClass* base = Fgd_FindClassByName(file, QByteArray(Script_Token()));
        if (!base)
            Fgd_Warning("undefined base class `%s'", Script_Token());
        else if (eclass->kind == EntityClassKind::Group && base->kind != EntityClassKind::Group)
            Fgd_Warning("non-group base class `%s' for group class", Script_Token());
        else if (!Fgd_InheritBase(eclass, base))
            Fgd_Warning("more than %zu keys: the rest of base `%s' is dropped", kMaxClassKeys,
                        Script_Token());
    }
}

bool readSize(EntityClass* eclass) {
    float first[3], second[3];
    if (!match("(") || !readFloats(first, 3) || !next(true)) return false;
    if (is(",")) {
        if (!readFloats(second, 3) || !match(")")) return false;
        std::copy(first, first + 3, eclass->mins);
        std::copy(second, second + 3, eclass->maxs);
    } else {
        giveBack();
        if (!match(")")) return false;
        for (int i = 0; i < 3; ++i) {
            eclass->mins[i] = -first[i] / 2.0f;
            eclass->maxs[i] = first[i] / 2.0f;
        }
    }
    eclass->helpers |= EntityClassHelper::Size;
    return true;
}

bool readBobParms(EntityClass* eclass) {
    float* p = eclass->bobParms;
    if (!match("(") || !readFloats(p, 3) || !next(true)) return false;
    if (is(")")) {
        std::copy(p, p + 3, p + 3);
    } else {
        if (!is(",")) giveBack(); // the comma between the triples may be left out
        if (!readFloats(p + 3, 3) || !match(")")) return false;
    }
    eclass->helpers |= EntityClassHelper::BobParms;
    return true;
}

uint8_t colorByte(float value) {
    const float whole = std::trunc(value);
    return uint8_t(std::clamp(whole, 0.0f, 255.0f));
}

// One header helper (the current token). False ends the class.
bool readHelper(GameData* file, EntityClass* eclass) {
    using namespace EntityClassHelper;
    if (isKeyword("base")) return readBases(file, eclass);
    if (isKeyword("group")) {
        if (!match("(") || !next(true)) return false;
        const QByteArray name(Script_Token());
        if (!match(")")) return false;
        eclass->group = Fgd_FindClass(file, name.constData(), EntityClassKind::Group);
        if (!eclass->group) Fgd_Warning("bad group class `%s'", name.constData());
        return true;
    }
    if (isKeyword("size")) return readSize(eclass);
    if (isKeyword("offset")) {
        Script_ParseVector(3, eclass->offset);
        eclass->helpers |= Offset;
        return !Script_HasError();
    }
    if (isKeyword("color")) {
        float rgb[3] = {};
        Script_ParseVector(3, rgb);
        for (int i = 0; i < 3; ++i)
            eclass->color[i] = colorByte(rgb[i]);
        eclass->color[3] = 255;
        eclass->helpers |= Color;
        return !Script_HasError();
    }
    struct IntHelper {
        const char* name;
        int32_t EntityClass::*field;
        uint32_t bit;
    };
    static constexpr IntHelper kInts[] = {{"body", &EntityClass::body, Body},
                                          {"skin", &EntityClass::skin, Skin},
                                          {"sequence", &EntityClass::sequence, Sequence}};
    for (const IntHelper& h : kInts)
        if (isKeyword(h.name)) {
            eclass->helpers |= h.bit;
            return readIntArgument(&(eclass->*h.field));
        }
    struct PathHelper {
        const char* name;
        QByteArray EntityClass::*field;
        uint32_t bit;
    };
    static constexpr PathHelper kPaths[] = {
        {"iconsprite", &EntityClass::iconSprite, 0},    {"sprite", &EntityClass::sprite, Sprite},
        {"studio", &EntityClass::model, Studio},        {"particle", &EntityClass::particle, Particle},
        {"instance", &EntityClass::instance, Instance}, {"decal", &EntityClass::decal, Decal},
    };
    for (const PathHelper& h : kPaths)
        if (isKeyword(h.name)) {
            eclass->helpers |= h.bit;
            return readPathArgument(&(eclass->*h.field), h.bit == Studio ? &eclass->model2 : nullptr);
        }
    if (isKeyword("flags")) return readFlags(eclass);
    if (isKeyword("bobparms")) return readBobParms(eclass);
    Script_Error("unexpected token `%s'", Script_Token());
    return false;
}

// A text of one token or of pieces joined by "+" (each "+" may end its line), converted.
QString readJoinedText() {
    QString text = Text_FromWindows1251(Script_Token());
    while (nextIs("+")) {
        if (!next(true)) break;
        text += Text_FromWindows1251(Script_Token());
    }
    return text;
}

void readClassDescription(EntityClass* eclass) {
    if (!next(true)) return;
    if (!is(":")) {
        giveBack();
        return;
    }
    if (!next(true)) return;
    eclass->description = readJoinedText();
    if (!next(true)) return;
    if (!is(":")) {
        giveBack();
        return;
    }
    if (next(true)) eclass->note = Text_FromWindows1251(Script_Token());
}

// Skips every token up to the closing "]".
void skipKeys() {
    while (next(true) && !is("]")) {
    }
}

// "[" key* "]"; false when the class is to be discarded.
bool readKeys(EntityClass* eclass) {
    if (!match("[")) return false;
    bool warned = false;
    for (;;) {
        if (!next(true)) {
            if (!Script_HasError())
                Script_Error("unexpected end of file in class `%s'", eclass->name.constData());
            return false;
        }
        if (is("]")) return true;
        if (is("@")) {
            // A class left open: the next section starts here, so the loader must find this "@".
            Script_Error("missing `]' in class `%s'", eclass->name.constData());
            giveBack();
            return false;
        }
        if (eclass->kind == EntityClassKind::Group) {
            if (!warned) Fgd_Warning("variables in group class: `%s'", eclass->name.constData());
            warned = true;
            skipKeys();
            return !Script_HasError();
        }
        Fgd_ParseProperty(eclass);
        if (Script_HasError()) return false;
    }
}

struct SectionKind {
    const char* name;
    int32_t kind;
};

constexpr SectionKind kClassSections[] = {
    {"solidclass", EntityClassKind::Solid}, {"worldclass", EntityClassKind::World},
    {"pointclass", EntityClassKind::Point}, {"baseclass", EntityClassKind::Base},
    {"groupclass", EntityClassKind::Group},
};

void parseClass(GameData* file, int32_t kind, bool headersOnly) {
    auto eclass = std::make_unique<EntityClass>();
    eclass->kind = kind;
    for (;;) {
        if (!next(true)) return;
        if (is("=")) break;
        if (!readHelper(file, eclass.get()) || Script_HasError()) return;
    }
    if (!next(true)) return;
    eclass->name = Script_Token();
    if (strcasecmp(eclass->name.constData(), "worldspawn") == 0) eclass->kind = EntityClassKind::World;
    if (!headersOnly) {
        readClassDescription(eclass.get());
        if (Script_HasError() || !readKeys(eclass.get())) return;
    }
    Fgd_RegisterClass(file, std::move(eclass));
}

void parseMapSize() {
    int32_t bounds[2] = {};
    if (!match("(") || !next(true)) return;
    bounds[0] = tokenInt();
    if (!match(",") || !next(true)) return;
    bounds[1] = tokenInt();
    if (!match(")")) return;
    const int64_t required = int64_t(bounds[1]) - int64_t(bounds[0]);
    const int32_t worldSize = Sys_Settings().MaxWorldSize;
    if (required > worldSize)
        Fgd_Warning("FGD explicitly requires world size %i or larger (current world size is %i)",
                    int32_t(std::min<int64_t>(required, INT32_MAX)), worldSize);
}

// Files of the current load, so that each is read once: a file included twice would define its
// classes twice, and files that include each other would multiply without end.
QSet<QString> s_includedFiles;
QString s_includeFolder; // where the tokenizer looks for relative names

QString fileKey(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

void parseInclude() {
    if (!next(true)) return;
    const QByteArray name(Script_Token());
    const QString path = QString::fromUtf8(name);
    const bool absolute = QFileInfo(path).isAbsolute();
    const QString key = fileKey(absolute ? path : s_includeFolder + '/' + path);
    if (s_includedFiles.contains(key)) {
        Fgd_Warning("include of `%s' skipped: the file is read already", name.constData());
        return;
    }
    s_includedFiles.insert(key);
    if (absolute) s_includeFolder = QFileInfo(path).absolutePath();
    Script_IncludeFile(name.constData(), kFgdScriptFlags);
}

} // namespace

void Fgd_BeginFile(const QString& path) {
    s_includedFiles = {fileKey(path)};
    s_includeFolder = QFileInfo(path).absolutePath();
}

void Fgd_Warning(const char* format, ...) {
    char message[kSysLogBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    Sys_Warning("%s, line %i: %s", Script_FileName(), Script_Line(), message);
}

PropertyType Fgd_ParseVariableType() {
    PropertyType type = PropertyType::String;
    if (!next(true)) return type;
    if (!Fgd_PropertyTypeFromKeyword(Script_Token(), &type))
        Script_Error("unknown variable type `%s'", Script_Token());
    return type;
}

void Fgd_ParseSection(GameData* file, bool headersOnly) {
    s_givenBack = false;
    for (const SectionKind& section : kClassSections)
        if (isKeyword(section.name)) return parseClass(file, section.kind, headersOnly);
    if (isKeyword("include")) return parseInclude();
    if (isKeyword("mapsize")) return parseMapSize();
    Script_Error("unrecognized section name `%s'", Script_Token());
}

namespace {

// Index of the highest set bit of a positive value.
int32_t highestBit(int64_t value) {
    int32_t index = -1;
    for (; value; value >>= 1)
        ++index;
    return index;
}

} // namespace

void Fgd_ParseProperty(EntityClass* eclass) {
    EntityProperty property;
    property.name = Script_Token();
    if (!next(true)) return;
    if (is("(")) {
        property.type = Fgd_ParseVariableType();
        if (Script_HasError() || !match(")")) return;
    } else {
        giveBack();
    }
    const bool flagsKey = property.type == PropertyType::Flags;

    if (!flagsKey && next(true)) {
        if (!is(":")) {
            giveBack();
        } else {
            if (onLine() && next(false)) {
                if (is(":"))
                    giveBack();
                else
                    property.displayName = Text_FromWindows1251(Script_Token());
            }
            if (nextIs(":")) {
                if (onLine() && next(false)) {
                    if (is(":"))
                        giveBack();
                    else
                        property.defaultValue = Script_Token();
                }
                if (nextIs(":") && onLine() && next(false)) property.description = readJoinedText();
            }
        }
    }
    if (Script_HasError()) return;

    if (flagsKey || property.type == PropertyType::Choices) {
        if (!match("=") || !match("[")) return;
        int64_t defaultBits = 0;
        for (;;) {
            if (!next(true)) {
                if (!Script_HasError())
                    Script_Error("unexpected end of file in key `%s'", property.name.constData());
                return;
            }
            if (is("]")) break;
            PropertyChoice item;
            item.value = Script_Token();
            if (!match(":") || !next(false)) return;
            item.caption = Text_FromWindows1251(Script_Token());
            bool marked = false;
            if (flagsKey && nextIs(":") && onLine() && next(false)) {
                if (is(":"))
                    giveBack(); // an empty mark: this colon opens the extra text
                else
                    marked = tokenInt() != 0;
            }
            if (nextIs(":") && onLine() && next(false)) item.extra = Text_FromWindows1251(Script_Token());
            if (flagsKey) {
                bool numeric = false;
                const int64_t value = item.value.toLongLong(&numeric);
                if (!numeric || value <= 0) {
                    Fgd_Warning("flags item `%s' of key `%s' has no bit set, skipped", item.value.constData(),
                                property.name.constData());
                    continue;
                }
                if (marked) defaultBits |= value;
                item.value = QByteArray::number(highestBit(value));
            }
            property.choices.append(item);
        }
        if (defaultBits) property.defaultValue = QByteArray::number(defaultBits);
    }
    if (property.displayName.isEmpty()) property.displayName = Text_FromWindows1251(property.name);

    EntityProperty* existing = Fgd_FindProperty(eclass, property.name);
    if (!existing && eclass->properties.size() >= kMaxClassKeys) {
        Fgd_Warning("more than %zu keys: key `%s' dropped", kMaxClassKeys, property.name.constData());
    } else if (!existing) {
        eclass->properties.push_back(std::move(property));
    } else if (flagsKey) {
        if (!existing->defaultValue.isEmpty() || !property.defaultValue.isEmpty())
            existing->defaultValue =
                QByteArray::number(existing->defaultValue.toLongLong() | property.defaultValue.toLongLong());
        for (const PropertyChoice& item : property.choices) {
            auto same = std::find_if(existing->choices.begin(), existing->choices.end(),
                                     [&](const PropertyChoice& old) { return old.value == item.value; });
            if (same != existing->choices.end())
                same->caption = item.caption;
            else
                existing->choices.append(item);
        }
    } else {
        existing->type = property.type;
        existing->displayName = property.displayName;
        existing->defaultValue = property.defaultValue;
        existing->choices = property.choices;
    }
}
