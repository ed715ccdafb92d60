#include <QStringList>
#include <string>

#include "FgdFixture.h"
#include "core/System.h"
#include "core/TextEncoding.h"

namespace {

using FgdParserTest = FgdFixture;

// ---- Failure messages ------------------------------------------------------------------------------

struct MessageCase {
    const char* name;
    const char* text;    // main.fgd
    const char* include; // inc.fgd, when not null
    const char* message; // exact, with its file and line
    const char* kept;    // a point class that must exist afterwards (the next section recovered)
    const char* dropped; // a point class that must not exist
};

const MessageCase kMessages[] = {
    {"UnknownSection", "@Frob = x []\n@PointClass = ok []", nullptr,
     "main.fgd: parse error at line 1: unrecognized section name `Frob'", "ok", "x"},
    {"UnknownHelper", "@PointClass wobble(1) = x []\n@PointClass = ok []", nullptr,
     "main.fgd: parse error at line 1: unexpected token `wobble'", "ok", "x"},
    {"MissingOpen", "@PointClass size 8 8 8) = x []\n@PointClass = ok []", nullptr,
     "main.fgd: bad token `8' at line 1 (expected `(')", "ok", "x"},
    {"MissingClose", "@PointClass\nsize(8 8 8 = x []\n@PointClass = ok []", nullptr,
     "main.fgd: bad token `=' at line 2 (expected `)')", "ok", "x"},
    {"MissingComma", "@mapsize(-4096 4096)\n@PointClass = ok []", nullptr,
     "main.fgd: bad token `4096' at line 1 (expected `,')", "ok", nullptr},
    {"MissingBracket", "@PointClass = x : \"text\"\n ]\n@PointClass = ok []", nullptr,
     "main.fgd: bad token `]' at line 2 (expected `[')", "ok", "x"},
    {"UnknownType", "@PointClass = x [\n k(wobble) ]\n@PointClass = ok []", nullptr,
     "main.fgd: parse error at line 2: unknown variable type `wobble'", "ok", "x"},
    {"UndefinedBase", "@PointClass base(x) = x []", nullptr, "main.fgd, line 1: undefined base class `x'",
     "x", nullptr},
    {"NonGroupBase", "@BaseClass = b []\n@GroupClass base(b) = g []", nullptr,
     "main.fgd, line 2: non-group base class `b' for group class", nullptr, nullptr},
    {"BadGroup", "@PointClass = p []\n\n@PointClass group(p) = x []", nullptr,
     "main.fgd, line 3: bad group class `p'", "x", nullptr},
    {"UnknownFlag", "@PointClass flags(angle, wobble) = x []", nullptr,
     "main.fgd, line 1: unknown flag `wobble'", "x", nullptr},
    {"KeysInGroup", "@GroupClass = g [\n key(string) ]\n@PointClass = ok []", nullptr,
     "main.fgd, line 2: variables in group class: `g'", "ok", nullptr},
    {"DefinedTwice", "@PointClass = x []\n@PointClass = x []", nullptr,
     "main.fgd, line 2: class already defined: `x'", "x", nullptr},
    {"MapSize", "@mapsize(-16384, 16384)", nullptr,
     "main.fgd, line 1: FGD explicitly requires world size 32768 or larger (current world size is 8192)",
     nullptr, nullptr},
    {"FaultInInclude", "@include \"inc.fgd\"\n@PointClass = ok []",
     "// included\n\n@PointClass = x [ k(bogus) ]",
     "inc.fgd: parse error at line 3: unknown variable type `bogus'", "ok", "x"},
    {"WarningInInclude", "@include \"inc.fgd\"\n@PointClass = ok []", "@PointClass base(nope) = x []",
     "inc.fgd, line 1: undefined base class `nope'", "x", nullptr},
    {"IncludeOfAFileReadAlready", "@PointClass = ok []\n@include \"inc.fgd\"",
     "@include \"main.fgd\"\n@PointClass = x []",
     "inc.fgd, line 1: include of `main.fgd' skipped: the file is read already", "x", nullptr},
    {"FlagsItemWithoutBit", "@PointClass = x [ spawnflags(flags) = [\n 0 : \"none\"\n 4 : \"four\" ] ]",
     nullptr, "main.fgd, line 2: flags item `0' of key `spawnflags' has no bit set, skipped", "x", nullptr},
    {"UnclosedClassBeforeNextSection", "@PointClass = x [ k(string)\n@PointClass = ok []", nullptr,
     "main.fgd: parse error at line 2: missing `]' in class `x'", "ok", "x"},
};

class FgdMessageTest : public FgdFixture, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(FgdMessageTest, ReportsWithFileAndLineAndRecovers) {
    const MessageCase& c = GetParam();
    if (c.include) write("inc.fgd", c.include);
    load(c.text);
    const QStringList found = messages();
    ASSERT_EQ(found.size(), 1) << found.join('\n').toStdString();
    EXPECT_TRUE(console.contains(QString::fromUtf8(c.message))) << found.join('\n').toStdString();
    if (c.kept) {
        EXPECT_NE(point(c.kept), nullptr);
    }
    if (c.dropped) {
        EXPECT_EQ(point(c.dropped), nullptr);
    }
    EXPECT_EQ(file->loadState, GameDataState::Loaded);
}

INSTANTIATE_TEST_SUITE_P(Table, FgdMessageTest, ::testing::ValuesIn(kMessages),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Class headers ---------------------------------------------------------------------------------

TEST_F(FgdParserTest, HeaderHelpersFillTheClass) {
    load(R"(
        @PointClass size(16 16 32) color(300 -5 20.9) offset(1 2 3) bobparms(1 2 3) body(2) skin(3)
            sequence(4) studio("models/a.md3", "models/b.md3") iconsprite(i.spr) flags(Angle light, NOSCALE)
            = item : "An" + "item" : "a note" []
        @PointClass size(-1 -2 -3, 4 5 6) bobparms(1 2 3, 4 5 6) sprite() decal(d) particle(p) instance(x)
            = other []
    )");
    const EntityClass* item = point("item");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->mins[0], -8.0f);
    EXPECT_EQ(item->mins[2], -16.0f);
    EXPECT_EQ(item->maxs[2], 16.0f);
    EXPECT_EQ(std::vector<int>(item->color, item->color + 4), (std::vector<int>{255, 0, 20, 255}));
    EXPECT_EQ(std::vector<float>(item->offset, item->offset + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<float>(item->bobParms, item->bobParms + 6), (std::vector<float>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(item->body, 2);
    EXPECT_EQ(item->skin, 3);
    EXPECT_EQ(item->sequence, 4);
    EXPECT_EQ(item->model, "models/a.md3");
    EXPECT_EQ(item->model2, "models/b.md3");
    EXPECT_EQ(item->iconSprite, "i.spr");
    using namespace EntityClassHelper;
    EXPECT_EQ(item->helpers,
              Size | Color | Offset | BobParms | Body | Skin | Sequence | Studio | Angle | Light | NoScale);
    EXPECT_EQ(item->description, "Anitem");
    EXPECT_EQ(item->note, "a note");

    const EntityClass* other = point("other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(std::vector<float>(other->mins, other->mins + 3), (std::vector<float>{-1, -2, -3}));
    EXPECT_EQ(std::vector<float>(other->maxs, other->maxs + 3), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(std::vector<float>(other->bobParms, other->bobParms + 6),
              (std::vector<float>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(other->helpers, Size | BobParms | Sprite | Decal | Particle | Instance);
    EXPECT_TRUE(other->sprite.isEmpty());
    EXPECT_EQ(other->decal, "d");
    EXPECT_EQ(std::vector<int>(other->color, other->color + 4), (std::vector<int>{220, 30, 220, 255}));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
}

TEST_F(FgdParserTest, WorldspawnIsAWorldClassWhateverTheSection) {
    load("@SolidClass = worldspawn []\n@PointClass = WorldSpawn []\n@PointClass = worldspawn []");
    const EntityClass* world = Fgd_FindClass(file, "worldspawn", EntityClassKind::World);
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->kind, EntityClassKind::World);
    // A different spelling is another name, also made a world class.
    ASSERT_NE(Fgd_FindClass(file, "WorldSpawn", EntityClassKind::World), nullptr);
    EXPECT_TRUE(console.contains("main.fgd, line 3: class already defined: `worldspawn'"));
}

TEST_F(FgdParserTest, PointAndSolidClassesMayShareANameAndNamesMatchExactly) {
    load("@PointClass color(1 1 1) = door []\n@SolidClass color(2 2 2) = door []");
    ASSERT_NE(point("door"), nullptr);
    ASSERT_NE(solid("door"), nullptr);
    EXPECT_EQ(point("door")->color[0], 1);
    EXPECT_EQ(solid("door")->color[0], 2);
    EXPECT_EQ(point("Door"), nullptr);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FgdParserTest, BasesApplyInHeaderOrder) {
    load(R"(
        @BaseClass color(1 2 3) size(2 2 2) studio(m.md3, m2.md3) flags(radius) = A [ targetname(target_source) a(integer) ]
        @BaseClass color(4 5 6) bobparms(7 8 9) = B [ targetname(string) : "other" ]
        @PointClass color(9 9 9) base(A, B) size(4 4 4) = C [ own(float) ]
    )");
    const EntityClass* c = point("C");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->color[0], 9);   // set before the bases: kept
    EXPECT_EQ(c->maxs[0], 2.0f); // set after them: overrides
    EXPECT_EQ(c->bobParms[3], 7.0f);
    EXPECT_EQ(c->model, "m.md3");
    EXPECT_EQ(c->model2, "m2.md3");
    EXPECT_TRUE(c->helpers & EntityClassHelper::Radius);
    QList<QByteArray> names;
    for (const EntityProperty& p : c->properties)
        names << p.name;
    EXPECT_EQ(names, (QList<QByteArray>{"targetname", "a", "targetname", "own"}));
}

TEST_F(FgdParserTest, GroupsAndExplicitGroupClassesStopAutomaticGroups) {
    load("@GroupClass = lights []\n@PointClass group(lights) = light_spot []\n@PointClass = light_torch []");
    ASSERT_NE(point("light_spot"), nullptr);
    EXPECT_EQ(point("light_spot")->group, Fgd_FindClass(file, "lights", EntityClassKind::Group));
    EXPECT_EQ(point("light_torch")->group, nullptr);
    EXPECT_EQ(Fgd_FindClass(file, "light", EntityClassKind::Group), nullptr);
}

TEST_F(FgdParserTest, AutomaticGroupsByNamePrefix) {
    load("@PointClass = light []\n@PointClass = light_spot []\n@SolidClass = light_torch []\n"
         "@PointClass = _hidden_x []\n@PointClass = info []");
    const EntityClass* group = Fgd_FindClass(file, "light", EntityClassKind::Group);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->color[3], 255);
    EXPECT_EQ(group->maxs[0], 0.0f);
    EXPECT_EQ(point("light")->group, group);
    EXPECT_EQ(point("light_spot")->group, group);
    EXPECT_EQ(solid("light_torch")->group, group);
    EXPECT_EQ(point("_hidden_x")->group, nullptr);
    EXPECT_EQ(point("info")->group, nullptr);
}

TEST_F(FgdParserTest, DescriptionsAreWindows1251NamesKeepTheirBytes) {
    load("@PointClass = \xe8\xec\xff : \"\xd1\xe2\xe5\xf2\" [ k\xeb\xfe\xf7 : \"\xca\" : \"\xe7\" ]");
    const EntityClass* c = point("\xe8\xec\xff");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->description, QString::fromUtf8("Свет"));
    ASSERT_EQ(c->properties.size(), 1u);
    EXPECT_EQ(c->properties[0].name, QByteArray("k\xeb\xfe\xf7"));
    EXPECT_EQ(c->properties[0].displayName, QString::fromUtf8("К"));
    EXPECT_EQ(c->properties[0].defaultValue, QByteArray("\xe7"));
}

TEST_F(FgdParserTest, DoublingBaseChainStopsAtTheKeyLimit) {
    // Each class takes the one before it twice: without a limit, 2^n keys from a few lines.
    QByteArray text = "@BaseClass = A0 [ k(integer) ]\n";
    for (int i = 1; i <= 40; ++i)
        text += QString("@BaseClass base(A%1, A%1) = A%2 []\n").arg(i - 1).arg(i).toUtf8();
    text += "@PointClass base(A40) = last [ own ]";
    load(text);
    ASSERT_NE(point("last"), nullptr);
    EXPECT_EQ(point("last")->properties.size(), kMaxClassKeys);
    EXPECT_TRUE(
        console.contains("main.fgd, line 12: more than 1024 keys: the rest of base `A10' is dropped"));
    EXPECT_TRUE(console.contains("main.fgd, line 42: more than 1024 keys: key `own' dropped"));
}

// ---- Keys ------------------------------------------------------------------------------------------

TEST_F(FgdParserTest, KeyFieldsAreReadFromTheirOwnLine) {
    load(R"(@PointClass = x [
        light(integer) : "Brightness" : 100
        model(studio)
        message(string) : "Text" : : "first " +
            "second"
        style(choices) : "Style" : 0 : "how" = [
            0 : "Normal"
            1 : "Flicker" : "extra text"
        ]
        next
        angle(angle) :: 5
    ])");
    const EntityClass* x = point("x");
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(x->properties.size(), 6u);
    const EntityProperty& light = x->properties[0];
    EXPECT_EQ(light.type, PropertyType::Integer);
    EXPECT_EQ(light.displayName, "Brightness");
    EXPECT_EQ(light.defaultValue, "100");
    EXPECT_TRUE(light.description.isEmpty());
    EXPECT_EQ(x->properties[1].displayName, "model");
    EXPECT_EQ(x->properties[1].type, PropertyType::Studio);
    const EntityProperty& message = x->properties[2];
    EXPECT_EQ(message.displayName, "Text");
    EXPECT_TRUE(message.defaultValue.isEmpty());
    EXPECT_EQ(message.description, "first second");
    const EntityProperty& style = x->properties[3];
    EXPECT_EQ(style.type, PropertyType::Choices);
    EXPECT_EQ(style.defaultValue, "0");
    ASSERT_EQ(style.choices.size(), 2);
    EXPECT_EQ(style.choices[1].value, "1");
    EXPECT_EQ(style.choices[1].caption, "Flicker");
    EXPECT_EQ(style.choices[1].extra, "extra text");
    EXPECT_EQ(x->properties[4].name, "next");
    EXPECT_EQ(x->properties[4].type, PropertyType::String);
    EXPECT_EQ(x->properties[5].defaultValue, "5");
    EXPECT_EQ(x->properties[5].displayName, "angle");
}

TEST_F(FgdParserTest, FlagsItemsBecomeBitIndexesWithOredDefaults) {
    load(R"(@BaseClass = B [ spawnflags(flags) = [
            1 : "One"
            2 : "Two" : 1
            8 : "Eight" : 0 : "tip"
        ] ]
        @PointClass base(B) = D [ spawnflags(flags) = [
            2 : "Renamed"
            16 : "Sixteen" : 1
        ] ]
    )");
    const EntityClass* b = Fgd_FindClass(file, "B", EntityClassKind::Base);
    ASSERT_NE(b, nullptr);
    const EntityProperty& flags = b->properties.at(0);
    EXPECT_EQ(flags.defaultValue, "2");
    ASSERT_EQ(flags.choices.size(), 3);
    EXPECT_EQ(flags.choices[0].value, "0");
    EXPECT_EQ(flags.choices[1].value, "1");
    EXPECT_EQ(flags.choices[2].value, "3");
    EXPECT_EQ(flags.choices[2].extra, "tip");

    const EntityClass* d = point("D");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->properties.size(), 1u);
    const EntityProperty& merged = d->properties[0];
    EXPECT_EQ(merged.defaultValue, "18");
    ASSERT_EQ(merged.choices.size(), 4);
    EXPECT_EQ(merged.choices[1].caption, "Renamed");
    EXPECT_EQ(merged.choices[3].value, "4");
    EXPECT_EQ(flags.choices[1].caption, "Two"); // the base's own list is not touched
}

TEST_F(FgdParserTest, RedefinedKeyTakesTheNewTypeAndKeepsItsDescription) {
    load(R"(@BaseClass = B [ speed(string) : "Speed" : "1" : "how fast" ]
        @PointClass base(B) = D [ speed(float) : "Velocity" : "2" ])");
    const EntityProperty& speed = point("D")->properties.at(0);
    EXPECT_EQ(speed.type, PropertyType::Float);
    EXPECT_EQ(speed.displayName, "Velocity");
    EXPECT_EQ(speed.defaultValue, "2");
    EXPECT_EQ(speed.description, "how fast");
    EXPECT_EQ(point("D")->properties.size(), 1u);
}

TEST_F(FgdParserTest, EveryTypeKeywordHasItsCode) {
    const char* keywords[] = {
        "string",  "integer",  "float",    "origin",   "angle",         "vector",
        "flags",   "choices",  "color1",   "color255", "target_source", "target_destination",
        "scale",   "sprite",   "studio",   "sound",    "decal",         "shader",
        "texture", "particle", "instance", "sky",      "script"};
    for (int code = 0; code < int(std::size(keywords)); ++code) {
        PropertyType type;
        ASSERT_TRUE(Fgd_PropertyTypeFromKeyword(keywords[code], &type));
        EXPECT_EQ(int(type), code) << keywords[code];
    }
    PropertyType type;
    ASSERT_TRUE(Fgd_PropertyTypeFromKeyword("EFFECT", &type));
    EXPECT_EQ(type, PropertyType::Shader);
    EXPECT_FALSE(Fgd_PropertyTypeFromKeyword("wobble", &type));
}

// ---- Special keys ----------------------------------------------------------------------------------

TEST_F(FgdParserTest, SpecialKeySlotsPreferTheDefaultName) {
    struct Case {
        const char* keys;
        const char* studioSlot;
    } cases[] = {
        {"model2(studio) model(studio)", "model"},
        {"model2(studio)", "model2"},
        {"model2(studio) MODEL(studio)", "MODEL"},
        {"model(studio) model2(studio)", "model"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        load(QByteArray("@PointClass = x [ ") + c.keys + " ]");
        char* keys[KEY_ROLE_COUNT] = {};
        for (const EntityProperty& p : point("x")->properties)
            Fgd_SetSpecialKey(keys, p);
        Fgd_FillDefaultSpecialKeys(keys);
        EXPECT_STREQ(keys[KEY_STUDIO_MODEL], c.studioSlot);
        EXPECT_STREQ(keys[KEY_SPAWNFLAGS], "spawnflags");
        char* copies[KEY_ROLE_COUNT] = {};
        Fgd_CopySpecialKeys(copies, keys);
        EXPECT_STREQ(copies[KEY_STUDIO_MODEL], c.studioSlot);
        for (int i = 0; i < KEY_ROLE_COUNT; ++i) {
            Sys_Free(keys[i]);
            Sys_Free(copies[i]);
        }
    }
}

} // namespace
