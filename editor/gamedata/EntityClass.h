// Entity classes as the entity-definition (FGD) files describe them: kind, helper bits, box,
// colour, drawables, typed keys with defaults, and the thirteen special key roles whose actual
// key names an entity takes from its class.
//
// Class names, key names, defaults and choice values are raw Windows-1251 bytes like the map
// text they are compared with; display names, descriptions and captions are converted text.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

// ---- Property types and keys ---------------------------------------------------------------------

// Codes are read by dialogs and plugins: never renumber.
enum class PropertyType : int32_t {
    String = 0,
    Integer = 1,
    Float = 2,
    Origin = 3,
    Angle = 4,
    Vector = 5,
    Flags = 6,
    Choices = 7,
    Color1 = 8,
    Color255 = 9,
    TargetSource = 10,
    TargetDestination = 11,
    Scale = 12,
    Sprite = 13,
    Studio = 14,
    Sound = 15,
    Decal = 16,
    Shader = 17, // keyword "shader" or "effect"
    Texture = 18,
    Particle = 19,
    Instance = 20,
    Sky = 21,
    Script = 22,
};

// The type of a keyword (any case); false for an unknown keyword.
bool Fgd_PropertyTypeFromKeyword(const char* keyword, PropertyType* type);

// One item of a "choices" or "flags" key. For a flags key the value is the bit index ("0" for 1,
// "1" for 2, ...).
struct PropertyChoice {
    QString caption;
    QByteArray value;
    QString extra; // empty when not given
};

struct EntityProperty {
    PropertyType type = PropertyType::String;
    QByteArray name; // the key name
    QString displayName;
    QString description;
    QByteArray defaultValue;
    QList<PropertyChoice> choices; // shared between copies until one changes
};

// ---- Classes -------------------------------------------------------------------------------------

namespace EntityClassKind {
constexpr int32_t World = 0;
constexpr int32_t Base = 1;
constexpr int32_t Group = 2;
constexpr int32_t Solid = 3;
constexpr int32_t Point = 4;
} // namespace EntityClassKind

// EntityClass::helpers: set by the header helper of the same name. Inheritance fills only what
// a bit says the class did not set; the map objects read the flags(...) bits as behaviour.
namespace EntityClassHelper {
constexpr uint32_t Size = 0x1;
constexpr uint32_t Offset = 0x2;
constexpr uint32_t Color = 0x4;
constexpr uint32_t Sprite = 0x8;
constexpr uint32_t Studio = 0x10;
constexpr uint32_t Particle = 0x20;
constexpr uint32_t Instance = 0x40;
constexpr uint32_t Decal = 0x80;
constexpr uint32_t Angle = 0x100; // flags(angle): a facing arrow
constexpr uint32_t Light = 0x200; // flags(light): drawn in its render colour
constexpr uint32_t Body = 0x400;
constexpr uint32_t Skin = 0x800;
constexpr uint32_t Sequence = 0x1000;
constexpr uint32_t NoScale = 0x2000; // flags(noscale): the sprite ignores "scale"
constexpr uint32_t BobParms = 0x4000;
constexpr uint32_t EccentricFix = 0x8000; // flags(eccentricfix): passed on to the model's bounds
constexpr uint32_t Path = 0x10000;        // flags(path)
constexpr uint32_t Radius = 0x20000;      // flags(radius): a radius ring
constexpr uint32_t Alpha = 0x40000;       // flags(alpha): "renderamt" alone blends
constexpr uint32_t Flare = 0x80000;       // flags(flare): sprite sized by distance
} // namespace EntityClassHelper

struct EntityClass {
    int32_t kind = EntityClassKind::Point;
    uint32_t helpers = 0; // EntityClassHelper
    QByteArray name;
    QString description;
    QString note; // the text after a second ':' of the header
    QByteArray iconSprite;
    QByteArray sprite;
    QByteArray model;  // first studio() path
    QByteArray model2; // second studio() path
    QByteArray decal;
    QByteArray particle;
    QByteArray instance;
    float mins[3] = {-8, -8, -8};
    float maxs[3] = {8, 8, 8};
    float offset[3] = {};
    uint8_t color[4] = {220, 30, 220, 255}; // R, G, B, A
    int32_t body = 0;
    int32_t skin = 0;
    int32_t sequence = 0;
    std::vector<EntityProperty> properties; // definition order
    EntityClass* group = nullptr;           // a group class of the same file
    QString unused;                         // never filled by the parser
    float bobParms[6] = {};
    QString helpText; // the help page, built when first shown
};

// A freshly initialised class: every string empty, box, offset and bob parameters zero, colour
// opaque black, no keys, no group (the automatic group classes).
void Fgd_InitClass(EntityClass* eclass);
// Keys of one class at most: bases may repeat keys, and a chain of classes that each take two
// bases doubles its keys at every step.
inline constexpr size_t kMaxClassKeys = 1024;
// Applies one base class: a group class records it as its group; any other class takes what its
// helper bits say it has not set, empty paths, and a copy of the base's keys appended. False when
// keys had to be dropped at kMaxClassKeys.
bool Fgd_InheritBase(EntityClass* eclass, const EntityClass* base);
// The first key of that name (case-sensitive), or null.
EntityProperty* Fgd_FindProperty(EntityClass* eclass, const QByteArray& name);

// ---- Special key roles ---------------------------------------------------------------------------

enum EntityKeyRole : int32_t {
    KEY_SPAWNFLAGS,
    KEY_ORIGIN,
    KEY_ANGLES,
    KEY_SCALE,
    KEY_TARGETNAME,
    KEY_TARGET,
    KEY_SKYNAME,
    KEY_STUDIO_MODEL,
    KEY_SPRITE_MODEL,
    KEY_TEXTURE,
    KEY_PARTICLE_MODEL,
    KEY_INSTANCE_MODEL,
    KEY_SCRIPT,
    KEY_ROLE_COUNT
};

struct EntitySpecialKey {
    const char* defaultName;
    PropertyType type;
};
extern const EntitySpecialKey EntitySpecialKeys[KEY_ROLE_COUNT];

// The role a property type names (the first row of that type), or -1.
int32_t Fgd_KeyRoleOfType(PropertyType type);
// Slots hold Sys_Alloc strings or null. The key's name goes into its role's slot when the slot is
// empty or when the name is the role's default name (any case); otherwise the slot keeps its name.
void Fgd_SetSpecialKey(char* keys[KEY_ROLE_COUNT], const EntityProperty& property);
// Copies each role's default name into every empty slot.
void Fgd_FillDefaultSpecialKeys(char* keys[KEY_ROLE_COUNT]);
// Each slot becomes a copy of the source's (null stays null); the old strings are freed.
void Fgd_CopySpecialKeys(char* keys[KEY_ROLE_COUNT], char* const sourceKeys[KEY_ROLE_COUNT]);
