#include "document/DefaultRoom.h"

#include <algorithm>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/TextureInfo.h"

namespace {

DefaultRoomAsker s_asker = nullptr;

constexpr float kWallThickness = 32.0f;

struct Wall {
    float inward[3];
    int axis;    // the axis the wall closes
    bool high;   // on the high side of it
    int texture; // 0 wall, 1 ceiling, 2 floor
};

const Wall kWalls[6] = {
    {{-1, 0, 0}, 0, true, 0}, {{1, 0, 0}, 0, false, 0}, {{0, -1, 0}, 1, true, 0},
    {{0, 1, 0}, 1, false, 0}, {{0, 0, -1}, 2, true, 1}, {{0, 0, 1}, 2, false, 2},
};

// Corner numbers: bit 2 the high x, bit 1 the high y, bit 0 the high z.
struct FaceRow {
    int corners[4];
    float normal[3];
    float sAxis[3];
    float tAxis[3];
};

const FaceRow kFaces[6] = {
    {{0, 1, 3, 2}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, {{6, 7, 5, 4}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
    {{2, 3, 7, 6}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},  {{4, 5, 1, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, 2, 6, 4}, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}}, {{1, 5, 7, 3}, {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
};

// Map text of at most the name field's 63 bytes; a longer name is cut, with a warning.
QByteArray mapName(const QString& text) {
    QByteArray bytes = Text_ToWindows1251(text);
    if (bytes.size() > kTextureNameMax) {
        Sys_Warning("default room: texture name \"%s\" is longer than %d bytes, cut", bytes.constData(),
                    kTextureNameMax);
        bytes.truncate(kTextureNameMax);
    }
    return bytes;
}

void setName(TextureInfo& info, const QByteArray& name) {
    std::memset(info.name, 0, sizeof info.name);
    std::memcpy(info.name, name.constData(), size_t(std::min<qsizetype>(name.size(), kTextureNameMax)));
}

void setAxes(TextureInfo& info, const FaceRow& row) {
    std::memcpy(info.sAxis, row.sAxis, sizeof info.sAxis);
    std::memcpy(info.tAxis, row.tAxis, sizeof info.tAxis);
}

void buildWall(MapHandle map, EntityRecord* world, const Wall& wall, const float inside[2][3],
               TextureInfo& room, TextureInfo& null, bool useNull) {
    float box[2][3];
    std::memcpy(box, inside, sizeof box);
    if (wall.high) {
        box[0][wall.axis] = inside[1][wall.axis];
        box[1][wall.axis] = inside[1][wall.axis] + kWallThickness;
    } else {
        box[0][wall.axis] = inside[0][wall.axis] - kWallThickness;
        box[1][wall.axis] = inside[0][wall.axis];
    }
    BrushRecord* brush = Brush_Create(map, world);
    if (!brush) return;
    for (const FaceRow& row : kFaces) {
        const float facing =
            row.normal[0] * wall.inward[0] + row.normal[1] * wall.inward[1] + row.normal[2] * wall.inward[2];
        TextureInfo& info = useNull && facing < 0.999f ? null : room;
        setAxes(info, row);
        FaceRecord* face = Face_Create(map, brush, &info, 4);
        if (!face || face->vertexCount != 4) continue;
        for (int i = 0; i < 4; ++i) {
            const int corner = row.corners[i];
            float* v = face->vertices[i].xyz;
            v[0] = box[(corner >> 2) & 1][0];
            v[1] = box[(corner >> 1) & 1][1];
            v[2] = box[corner & 1][2];
        }
    }
    brush->handle->update(FaceUpdate::Plane);
}

// The point class from the last listed definition file that is loaded and has it.
const EntityClass* findPointClass(const GameConfig* config, const QByteArray& name) {
    const GameDataRegistry* registry = Fgd_Registry();
    if (!registry || name.isEmpty()) return nullptr;
    for (qsizetype i = config->GameData.size() - 1; i >= 0; --i) {
        const GameData* file = registry->files.value(config->GameData[i], nullptr);
        if (!file || file->loadState == GameDataState::NotLoaded) continue;
        if (EntityClass* found = Fgd_FindClass(file, name.constData(), EntityClassKind::Point)) return found;
    }
    return nullptr;
}

void addEntity(MapWorld* world, const QByteArray& classname, const EntityClass* eclass, const float origin[3],
               const char* light) {
    EntityRecord* e = Entity_Alloc(classname.constData(), origin, EntityFlag::Point);
    if (!e) return;
    Map_LinkEntity(world, e);
    e->serial = Map_NextSerial(world, SerialKind::Entity);
    cMapEntity* handle = e->handle;
    // The binding follows the configuration's precache order; the listed order decides here.
    if (eclass && handle->entityClass != eclass) {
        handle->entityClass = const_cast<EntityClass*>(eclass);
        handle->setClass(handle->entityClass);
    }
    if (light) handle->appendKeyValue("light", light);
    handle->applyClassKeys(true);
    handle->update(EntityUpdate::RenderKeys | EntityUpdate::ModelKeys);
}

} // namespace

void Project_SetDefaultRoomAsker(DefaultRoomAsker asker) {
    s_asker = asker;
}

bool Project_AskDefaultRoom(const MapProfileRecord* profile, DefaultRoomParameters* out) {
    return s_asker && out && s_asker(profile, out);
}

void Map_CreateDefaultRoom(MapHandle map, const GameConfig* config, const DefaultRoomParameters& p) {
    MapWorld* world = Map_FromHandle(map);
    EntityRecord* worldEntity = world ? world->entities : nullptr;
    if (!worldEntity) return;

    const GameConfig* current = GameCfg_Current();
    const float scale = current ? current->DefaultTextureScale : 1.0f;
    TextureInfo room{}, null{};
    room.sScale = room.tScale = scale;
    null.sScale = null.tScale = 1.0f;
    const bool useNull = !p.nullTexture.isEmpty();
    if (useNull) setName(null, mapName(p.nullTexture));

    const float inside[2][3] = {{-p.width / 2, -p.length / 2, 0}, {p.width / 2, p.length / 2, p.height}};
    const QString* textures[3] = {&p.wallTexture, &p.ceilingTexture, &p.floorTexture};
    for (const Wall& wall : kWalls) {
        const QString& text = *textures[wall.texture];
        setName(room, text.isEmpty() ? QByteArray("notexture") : mapName(text));
        buildWall(map, worldEntity, wall, inside, room, null, useNull);
    }
    if (worldEntity->handle) worldEntity->handle->update(0);
    if (!config) return;

    if (!p.playerStartClass.isEmpty()) {
        const QByteArray name = Text_ToWindows1251(p.playerStartClass);
        const EntityClass* eclass = findPointClass(config, name);
        const float origin[3] = {-3 * p.width / 8, 0, eclass ? 1 - eclass->mins[2] : 0};
        addEntity(world, name, eclass, origin, nullptr);
    }
    if (!p.lightClass.isEmpty()) {
        const QByteArray name = Text_ToWindows1251(p.lightClass);
        const EntityClass* eclass = findPointClass(config, name);
        float origin[3] = {0, 0, 0.8f * p.height};
        if (eclass)
            for (int i = 0; i < 3; ++i)
                origin[i] += eclass->offset[i];
        const char* light = (p.profileFlags & 0x2000)                         ? "400"
                            : p.lightClass.contains(QLatin1String("dynamic")) ? "255 255 128"
                                                                              : "255 255 128 200";
        addEntity(world, name, eclass, origin, light);
    }
}
