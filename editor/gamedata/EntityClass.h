// Entity classes as the entity-definition files describe them: kind, flags, box, colour, typed
// keys with defaults, and the thirteen special key roles. This is the class table the map
// objects bind to; the definition-file reader fills it (tests fill it by hand).
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct GameConfig;

enum class PropertyType : int32_t {
    String,
    Integer,
    Float,
    Choices,
    Flags,
    Color255,
    Color1,
    Sound,
    Decal,
    Origin,
    Angle,
    Scale,
    TargetSource,
    TargetDestination,
    Sky,
    Studio,
    Sprite,
    Texture,
    Particle,
    Instance,
    Script,
};

struct EntityProperty {
    PropertyType type = PropertyType::String;
    QByteArray name;         // key name, Windows-1251
    QByteArray defaultValue; // may be empty
};

// EntityClass::kind.
namespace EntityClassKind {
constexpr int32_t World = 0;
constexpr int32_t Solid = 3;
constexpr int32_t Point = 4;
} // namespace EntityClassKind

// Bits of EntityClass::flags.
namespace EntityClassFlag {
constexpr uint32_t SpriteClass = 0x8;
constexpr uint32_t ModelClass = 0x10;
constexpr uint32_t DecalClass = 0x80;
constexpr uint32_t FacingArrow = 0x100;
constexpr uint32_t RenderColor = 0x200; // drawn in its render colour
constexpr uint32_t SpriteNotScaled = 0x2000;
constexpr uint32_t ModelOffsets = 0x4000;
constexpr uint32_t ModelBoundsFlag = 0x8000; // passes bit 0x20 to the model's bounds function
constexpr uint32_t PathLike = 0x10000;
constexpr uint32_t RadiusRing = 0x20000;
constexpr uint32_t RenderAmountBlends = 0x40000; // "renderamt" alone makes render mode 5
constexpr uint32_t SpriteByDistance = 0x80000;
} // namespace EntityClassFlag

inline constexpr uint32_t kEntityClassDefaultColor = 0xffdc1edcu; // ARGB

struct EntityClass {
    QByteArray name;
    int32_t kind = EntityClassKind::Point;
    uint32_t flags = 0; // EntityClassFlag
    float mins[3] = {-8, -8, -8};
    float maxs[3] = {8, 8, 8};
    uint32_t color = kEntityClassDefaultColor; // ARGB
    std::vector<EntityProperty> properties;    // in file order
    int16_t defaultBody = 0;
    int16_t defaultSkin = 0;
    int32_t defaultSequence = 0;
    QByteArray sprite;
    QByteArray model;
    QByteArray model2;
    QByteArray decal;
    QByteArray iconSprite;
    float modelOffsets[6] = {};
};

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

// The role a property type names, or -1.
int32_t Fgd_KeyRoleOfType(PropertyType type);
// Names are heap strings of Sys_Alloc. The property's name goes into its role's slot unless the
// slot is set already and the name differs from the role's default name.
void Fgd_SetSpecialKey(char* names[KEY_ROLE_COUNT], const EntityProperty& property);
// Copies each role's default name into every empty slot.
void Fgd_FillDefaultSpecialKeys(char* names[KEY_ROLE_COUNT]);

// ---- Definition files and look-ups ---------------------------------------------------------------

// One loaded entity-definition file.
struct GameData {
    QString path;
    int32_t refCount = 0;
    std::vector<std::unique_ptr<EntityClass>> classes; // stable addresses: entities point at them

    EntityClass* addClass(const QByteArray& name, int32_t kind);
};

// The loaded definition files by path.
class GameDataRegistry {
public:
    GameData* find(const QString& path) const;
    // The file of that path, made empty when not loaded yet.
    GameData* open(const QString& path);
    void remove(const QString& path);

private:
    QMap<QString, std::shared_ptr<GameData>> m_files;
};

// The registry of the running editor.
GameDataRegistry& GameData_Registry();

// Class of that name and kind (0 world, 3 solid, 4 point), name compared ignoring case.
EntityClass* Fgd_FindClass(const GameData* data, const char* name, int32_t kind);
// Searches the configuration's definition files in order; selector 0 solid, 1 point, 2 world.
EntityClass* Fgd_FindClassInConfig(const GameConfig* config, const char* name, int32_t selector);
// The first world class of the configuration's files.
EntityClass* Fgd_FindWorldClass(const GameConfig* config);
