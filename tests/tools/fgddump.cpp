// fgddump FILE [--headers]: loads an entity-definition file through the editor's loader without
// any window and prints a canonical dump: the classes by kind and name with their helpers, box,
// colour, offset, bob parameters, group and paths, then (without --headers) their descriptions
// and keys; then every warning and error of the load, one a line. Exit codes: 0 loaded, 1 the
// file could not be loaded, 64 bad arguments. A test utility; not shipped.
#include <QGuiApplication>
#include <QFile>
#include <QTextDocumentFragment>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/TextEncoding.h"
#include "gamedata/GameData.h"
#include "document/GameDataServices.h"
#include "HeadlessLog.h"
#include "kstdlib/kstdlib.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: fgddump FILE [--headers]\n");
    return 64;
}

const char* const kKindNames[] = {"world", "base", "group", "solid", "point"};

const char* const kTypeNames[] = {
    "string",  "integer",  "float",    "origin",   "angle",         "vector",
    "flags",   "choices",  "color1",   "color255", "target_source", "target_destination",
    "scale",   "sprite",   "studio",   "sound",    "decal",         "shader",
    "texture", "particle", "instance", "sky",      "script"};

struct HelperName {
    uint32_t bit;
    const char* name;
};

const HelperName kHelperNames[] = {
    {EntityClassHelper::Size, "size"},         {EntityClassHelper::Offset, "offset"},
    {EntityClassHelper::Color, "color"},       {EntityClassHelper::Sprite, "sprite"},
    {EntityClassHelper::Studio, "studio"},     {EntityClassHelper::Particle, "particle"},
    {EntityClassHelper::Instance, "instance"}, {EntityClassHelper::Decal, "decal"},
    {EntityClassHelper::Angle, "angle"},       {EntityClassHelper::Light, "light"},
    {EntityClassHelper::Body, "body"},         {EntityClassHelper::Skin, "skin"},
    {EntityClassHelper::Sequence, "sequence"}, {EntityClassHelper::NoScale, "noscale"},
    {EntityClassHelper::BobParms, "bobparms"}, {EntityClassHelper::EccentricFix, "eccentricfix"},
    {EntityClassHelper::Path, "path"},         {EntityClassHelper::Radius, "radius"},
    {EntityClassHelper::Alpha, "alpha"},       {EntityClassHelper::Flare, "flare"},
};

// Map text as UTF-8 for the terminal.
QByteArray text(const QByteArray& bytes) {
    return Text_FromWindows1251(bytes).toUtf8();
}

void printFloats(const char* label, const float* values, int count) {
    std::printf("  %s", label);
    for (int i = 0; i < count; ++i)
        std::printf(" %g", double(values[i]));
    std::printf("\n");
}

void printClass(const EntityClass& c, bool headersOnly) {
    const int kind = c.kind >= 0 && c.kind <= 4 ? c.kind : 0;
    std::printf("%s %s\n", kKindNames[kind], text(c.name).constData());
    std::printf("  helpers");
    for (const HelperName& h : kHelperNames)
        if (c.helpers & h.bit) std::printf(" %s", h.name);
    std::printf("\n");
    const float box[6] = {c.mins[0], c.mins[1], c.mins[2], c.maxs[0], c.maxs[1], c.maxs[2]};
    printFloats("box", box, 6);
    std::printf("  color %d %d %d %d\n", c.color[0], c.color[1], c.color[2], c.color[3]);
    printFloats("offset", c.offset, 3);
    printFloats("bob", c.bobParms, 6);
    std::printf("  body %d skin %d sequence %d\n", c.body, c.skin, c.sequence);
    if (c.group) std::printf("  group %s\n", text(c.group->name).constData());
    const struct {
        const char* label;
        const QByteArray& path;
    } paths[] = {{"iconsprite", c.iconSprite}, {"sprite", c.sprite}, {"model", c.model},
                 {"model2", c.model2},         {"decal", c.decal},   {"particle", c.particle},
                 {"instance", c.instance}};
    for (const auto& p : paths)
        if (!p.path.isEmpty()) std::printf("  %s \"%s\"\n", p.label, text(p.path).constData());
    if (headersOnly) return;
    if (!c.description.isEmpty()) std::printf("  description \"%s\"\n", c.description.toUtf8().constData());
    if (!c.note.isEmpty()) std::printf("  note \"%s\"\n", c.note.toUtf8().constData());
    for (const EntityProperty& p : c.properties) {
        const int type = int(p.type);
        std::printf("  key %s (%s) \"%s\" default \"%s\"", text(p.name).constData(),
                    type >= 0 && type <= 22 ? kTypeNames[type] : "?", p.displayName.toUtf8().constData(),
                    text(p.defaultValue).constData());
        if (!p.description.isEmpty()) std::printf(" : \"%s\"", p.description.toUtf8().constData());
        std::printf("\n");
        for (const PropertyChoice& item : p.choices) {
            std::printf("    %s \"%s\"", text(item.value).constData(), item.caption.toUtf8().constData());
            if (!item.extra.isEmpty()) std::printf(" \"%s\"", item.extra.toUtf8().constData());
            std::printf("\n");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* input = nullptr;
    bool headersOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headers") == 0)
            headersOnly = true;
        else if (!input)
            input = argv[i];
        else
            return usage();
    }
    if (!input) return usage();

    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    // Progress lines ("Entering: ...") are not messages about the file.
    QStringList messages;
    cHeadlessLog log([&messages](const QString& html) {
        if (html.contains("Warning:") || html.contains("Error:"))
            messages << QTextDocumentFragment::fromHtml(html).toPlainText();
    });
    cGameDataServices services;

    GameData* file = Fgd_Acquire(&services.registry, QFile::decodeName(input));
    const bool loaded = Fgd_Load(file, headersOnly);
    std::vector<const EntityClass*> classes;
    for (const auto& entry : file->classes)
        classes.push_back(entry.second.get());
    // By kind, then by name (the map already sorts by name and keeps file order for equal names).
    std::stable_sort(classes.begin(), classes.end(),
                     [](const EntityClass* a, const EntityClass* b) { return a->kind < b->kind; });
    std::printf("file %s: %s, %zu classes\n", file->fileName.toUtf8().constData(),
                headersOnly ? "headers" : "full", classes.size());
    for (const EntityClass* c : classes)
        printClass(*c, headersOnly);
    for (const QString& message : std::as_const(messages))
        std::printf("message %s\n", message.toUtf8().constData());
    std::fflush(stdout);
    return loaded ? 0 : 1;
}
