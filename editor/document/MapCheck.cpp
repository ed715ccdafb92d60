#include "document/MapCheck.h"

#include <QCoreApplication>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureRecords.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "core/Vector.h"
#include "map/OverlayRecord.h"
#include "map/PatchRecord.h"

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("cMapCheckDialog", text);
}

QString text(const char* bytes) {
    return bytes ? Text_FromWindows1251(bytes) : QString();
}

QString textureName(const TextureInfo& info) {
    return Text_FromWindows1251(info.name, qsizetype(strnlen(info.name, sizeof(info.name))));
}

bool missing(const ShaderRecord* texture) {
    return Shader_IsMissing(texture);
}

const EntityClass* classOf(const EntityRecord* e) {
    return e && e->handle ? e->handle->entityClass : nullptr;
}

const MapCheckClassKeys* keysOf(const MapCheckRun& run, const EntityRecord* e) {
    auto found = run.classKeys.constFind(classOf(e));
    return found != run.classKeys.constEnd() ? &*found : nullptr;
}

bool startsWithPrefix(const QByteArray& prefixes, const char* value) {
    return value && value[0] && prefixes.contains(value[0]);
}

// ---- Tests -------------------------------------------------------------------------------------

bool testPlayerStart(const MapCheckRun& run, void*, EntityRecord*, QString*) {
    if (!run.profile || !run.profile->playerStartClass[0]) return false;
    const QByteArray wanted = Profile_Text(run.profile->playerStartClass);
    for (const EntityRecord* e = run.world->entities; e; e = e->next)
        if (e->classname && wanted == e->classname) return false;
    return true;
}

bool testUnmatchedTarget(const MapCheckRun& run, void* object, EntityRecord* entity, QString*) {
    const auto* pair = static_cast<const EPair*>(object);
    const MapCheckClassKeys* keys = keysOf(run, entity);
    if (!keys || !pair->key || !keys->destinations.contains(QByteArray(pair->key))) return false;
    const char* value = pair->value ? pair->value : "";
    if (startsWithPrefix(run.prefixes, value)) ++value;
    return !run.targetNames.contains(QByteArray(value));
}

bool testDuplicateKey(const MapCheckRun&, void* object, EntityRecord* entity, QString*) {
    const auto* pair = static_cast<const EPair*>(object);
    if (!pair->key) return false;
    for (const EPair* p = entity->epairs; p && p != pair; p = p->next)
        if (p->key && std::strcmp(p->key, pair->key) == 0) return true;
    return false;
}

bool testQuotes(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    const auto* pair = static_cast<const EPair*>(object);
    return (pair->key && std::strchr(pair->key, '"')) || (pair->value && std::strchr(pair->value, '"'));
}

bool testPrefixedTargetname(const MapCheckRun& run, void* object, EntityRecord* entity, QString*) {
    const auto* pair = static_cast<const EPair*>(object);
    if (run.prefixes.isEmpty() || !pair->key) return false;
    const MapCheckClassKeys* keys = keysOf(run, entity);
    return keys && keys->sources.contains(QByteArray(pair->key)) &&
           startsWithPrefix(run.prefixes, pair->value);
}

bool testCarrierTexture(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    const auto* b = static_cast<const BrushRecord*>(object);
    return (b->patch && missing(b->patch->texture)) || (b->overlay && missing(b->overlay->texture));
}

bool testFaceTexture(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    return missing(static_cast<const FaceRecord*>(object)->texture);
}

bool testTextureAxes(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    return !static_cast<const FaceRecord*>(object)->handle->hasValidTextureAxes();
}

bool testEmptyEntity(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    const auto* e = static_cast<const EntityRecord*>(object);
    return !(e->flags & (EntityFlag::World | EntityFlag::Point)) && !e->firstBrush;
}

bool testNoFaces(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    const auto* b = static_cast<const BrushRecord*>(object);
    return !b->firstFace && !b->patch && !b->overlay;
}

bool testStructure(const MapCheckRun&, void* object, EntityRecord*, QString* out) {
    const auto* b = static_cast<const BrushRecord*>(object);
    return b->firstFace && !MapCheck_BrushStructure(b, out);
}

bool testContents(const MapCheckRun&, void* object, EntityRecord*, QString*) {
    const auto* b = static_cast<const BrushRecord*>(object);
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        if (f->texInfo.contents != b->firstFace->texInfo.contents) return true;
    return false;
}

// ---- Names -------------------------------------------------------------------------------------

QString nameProfileStart(const MapProblem& p) {
    return Text_FromWindows1251(Profile_Text(p.profile->playerStartClass));
}
QString namePairValue(const MapProblem& p) {
    return text(static_cast<const EPair*>(p.object)->value);
}
QString nameClassname(const MapProblem& p) {
    return text(p.ownerEntity->classname);
}
QString nameCarrierTexture(const MapProblem& p) {
    const auto* b = static_cast<const BrushRecord*>(p.object);
    if (b->patch) return textureName(b->patch->texInfo);
    if (b->overlay) return textureName(b->overlay->texInfo);
    return QStringLiteral("???");
}
QString nameFaceTexture(const MapProblem& p) {
    return textureName(static_cast<const FaceRecord*>(p.object)->texInfo);
}

// ---- Repairs -----------------------------------------------------------------------------------

MapWorld* worldOf(const MapProblem& p) {
    return Map_FromHandle(p.world);
}

int32_t addPlayerStart(MapRepair& r, MapProblem& p) {
    MapWorld* world = worldOf(p);
    const float origin[3] = {0, 0, 0};
    const QByteArray name = Profile_Text(p.profile->playerStartClass);
    EntityRecord* e = Entity_Alloc(name.constData(), origin, EntityFlag::Point);
    Map_LinkEntity(world, e);
    e->serial = Map_NextSerial(world, SerialKind::Entity);
    e->handle->update(EntityUpdate::ClassKeys | EntityUpdate::ResetClassKeys | EntityUpdate::RenderKeys |
                      EntityUpdate::ModelKeys);
    Undo_SaveEntity(r.history, e, UndoList::CreatedEntities);
    return MapProblemStatus::Fixed;
}

int32_t removeDuplicate(MapRepair& r, MapProblem& p) {
    Undo_SaveEntity(r.history, p.entity, UndoList::ChangedEntities);
    auto* pair = static_cast<EPair*>(p.object);
    r.removed.records.insert(pair);
    p.entity->handle->removeEPair(pair);
    return MapProblemStatus::Fixed;
}

void replaceQuotes(char* s) {
    for (; s && *s; ++s)
        if (*s == '"') *s = '\'';
}

int32_t fixQuotes(MapRepair& r, MapProblem& p) {
    Undo_SaveEntity(r.history, p.entity, UndoList::ChangedEntities);
    auto* pair = static_cast<EPair*>(p.object);
    replaceQuotes(pair->key);
    replaceQuotes(pair->value);
    return MapProblemStatus::Fixed;
}

int32_t stripPrefixes(MapRepair& r, MapProblem& p) {
    Undo_SaveEntity(r.history, p.entity, UndoList::ChangedEntities);
    auto* pair = static_cast<EPair*>(p.object);
    const QByteArray prefixes = p.profile ? Profile_Text(p.profile->targetPrefixes) : QByteArray();
    size_t skip = 0;
    while (pair->value && pair->value[skip] && prefixes.contains(pair->value[skip]))
        ++skip;
    if (skip) std::memmove(pair->value, pair->value + skip, std::strlen(pair->value + skip) + 1);
    return MapProblemStatus::Fixed;
}

int32_t retextureCarrier(MapRepair& r, MapProblem& p) {
    auto* b = static_cast<BrushRecord*>(p.object);
    Undo_SaveBrush(r.history, b, UndoList::ChangedBrushes, false);
    if (missing(r.currentTexture)) return MapProblemStatus::CannotFix;
    if (b->patch) {
        auto* patch = static_cast<cMapPatch*>(Object_FromRecord(b->patch));
        patch->setTexture(r.currentTexture->name);
        patch->update(0);
    }
    if (b->overlay) {
        b->overlay->handle->setTexture(r.currentTexture->name);
        b->overlay->handle->update(0);
    }
    return MapProblemStatus::Fixed;
}

// A face update that rebuilds a vanished polygon deletes the face: it is then gone.
bool updateFace(MapRepair& r, FaceRecord* face, uint32_t flags) {
    if (face->handle->update(flags)) return true;
    r.removed.records.insert(face);
    return false;
}

int32_t retextureFace(MapRepair& r, MapProblem& p) {
    auto* face = static_cast<FaceRecord*>(p.object);
    // The brush goes first, whole: a later repair of it (axes, structure, contents) snapshots it
    // after this change, and undo puts brushes back after faces.
    Undo_SaveBrush(r.history, face->brush, UndoList::ChangedBrushes, true);
    Undo_SaveFace(r.history, face, UndoList::ChangedFaces);
    if (missing(r.currentTexture)) return MapProblemStatus::CannotFix;
    face->handle->setTextureName(r.currentTexture->name);
    updateFace(r, face, 0);
    return MapProblemStatus::Fixed;
}

int32_t resetAxes(MapRepair& r, MapProblem& p) {
    auto* face = static_cast<FaceRecord*>(p.object);
    // The plane is recomputed too: a face snapshot keeps texture data only.
    Undo_SaveBrush(r.history, face->brush, UndoList::ChangedBrushes, true);
    if (!updateFace(r, face, FaceUpdate::Plane | FaceUpdate::ResetAxes)) return MapProblemStatus::CannotFix;
    return face->handle->hasValidTextureAxes() ? MapProblemStatus::Fixed : MapProblemStatus::CannotFix;
}

void removeEntity(MapRepair& r, MapWorld* world, EntityRecord* e) {
    r.removed.records.insert(e);
    for (const BrushRecord* b = e->firstBrush; b; b = b->next)
        r.removed.records.insert(b);
    Map_RemoveEntity(world, e, true);
}

int32_t deleteEntity(MapRepair& r, MapProblem& p) {
    removeEntity(r, worldOf(p), static_cast<EntityRecord*>(p.object));
    return MapProblemStatus::Fixed;
}

int32_t deleteBrush(MapRepair& r, MapProblem& p) {
    MapWorld* world = worldOf(p);
    auto* b = static_cast<BrushRecord*>(p.object);
    EntityRecord* e = b->entity;
    r.removed.records.insert(b);
    Map_DeleteBrush(world, b, true);
    if (!e || e->firstBrush || (e->flags & EntityFlag::World)) return MapProblemStatus::Fixed;
    Sys_Printf("removing the whole entity: %s\n", e->classname ? e->classname : "");
    removeEntity(r, world, e);
    return MapProblemStatus::Fixed;
}

int32_t faceCount(const BrushRecord* b) {
    int32_t n = 0;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        ++n;
    return n;
}

int32_t rebuildBrush(MapRepair& r, MapProblem& p) {
    auto* b = static_cast<BrushRecord*>(p.object);
    const int32_t count = faceCount(b);
    if (count == 0) return MapProblemStatus::CannotFix;
    if (count < 3) return deleteBrush(r, p);
    Undo_SaveBrush(r.history, b, UndoList::ChangedBrushes, true);
    QSet<const FaceRecord*> before;
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        before.insert(f);
        if (f->vertexCount >= 3) f->handle->computePlane();
        f->handle->setVertexCount(0);
        f->flags |= FaceFlags::NeedsUpdate;
    }
    b->handle->removeDuplicatePlanes();
    b->handle->update(FaceUpdate::Polygon);
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        before.remove(f);
    for (const FaceRecord* f : before)
        r.removed.records.insert(f);
    if (faceCount(b) < 3) return deleteBrush(r, p);
    const char* message = nullptr;
    return b->handle->checkValid(false, true, &message) ? MapProblemStatus::Fixed
                                                        : MapProblemStatus::CannotFix;
}

int32_t unifyContents(MapRepair& r, MapProblem& p) {
    auto* b = static_cast<BrushRecord*>(p.object);
    if (!b->firstFace) return MapProblemStatus::CannotFix;
    Undo_SaveBrush(r.history, b, UndoList::ChangedBrushes, true);
    for (FaceRecord* f = b->firstFace->next; f; f = f->next)
        f->texInfo.contents = b->firstFace->texInfo.contents;
    return MapProblemStatus::Fixed;
}

constexpr const char* kInvalidTexture = QT_TRANSLATE_NOOP("cMapCheckDialog", "Invalid texture ('%1')");
constexpr const char* kInvalidTextureText = QT_TRANSLATE_NOOP(
    "cMapCheckDialog",
    "The solid is using an invalid (missing) texture. This error usually occurs when some "
    "texture packages used on the map were not added to the current game configuration. "
    "Fixing the error replaces the texture with currently selected texture (but only with a "
    "valid one).");

} // namespace

const MapCheckEntry kMapCheckTable[kMapCheckRows] = {
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "There is no %1"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "There is no player start in the map. To add one, select the Entity Tool, drag the "
         "crosshairs to the position you want the player to start at, and press ENTER. Fixing the "
         "error creates a new player start entity at world's origin (0,0,0)."),
     MapCheckScope::World, testPlayerStart, addPlayerStart, nameProfileStart},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Unmatched 'target' field ('%1')"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "This entity has a 'target' value that isn't matched by a 'targetname' value in another "
         "entity. To fix the problem, go to the entity, open Object Properties and select a proper "
         "target name from a drop-down combo."),
     MapCheckScope::KeyValue, testUnmatchedTarget, nullptr, namePairValue},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Entity ('%1') contains duplicate keyvalues"),
     QT_TRANSLATE_NOOP("cMapCheckDialog",
                       "The entity contains duplicate keyvalues. Fixing the error removes the duplicates."),
     MapCheckScope::KeyValue, testDuplicateKey, removeDuplicate, nameClassname},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Entity ('%1') contains double qoutes in keyvalues"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "The entity contains double quotes (\") in its keyvalues. This will probably cause errors "
         "when parsing text format such as *.map, by the editor or compile tools. Fixing the error "
         "replaces forbidden double quotes with single quotes (')."),
     MapCheckScope::KeyValue, testQuotes, fixQuotes, nameClassname},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Bad 'targetname' field ('%1')"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "This entity has a 'targetname' value that contains starting character reserved as \"use "
         "prefix\". Fixing the error removes the characters that could be referred to as such "
         "prefixes."),
     MapCheckScope::KeyValue, testPrefixedTargetname, stripPrefixes, namePairValue},
    {kInvalidTexture, kInvalidTextureText, MapCheckScope::Brush, testCarrierTexture, retextureCarrier,
     nameCarrierTexture},
    {kInvalidTexture, kInvalidTextureText, MapCheckScope::Face, testFaceTexture, retextureFace,
     nameFaceTexture},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Texture axis perpendicular to face"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "The face has a texture axis that is perpendicular to the face, probably caused by "
         "rotating an object with texture locking disabled. This could also indicate an invalid "
         "face caused by vertex manipulation."),
     MapCheckScope::Face, testTextureAxes, resetAxes, nullptr},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Solid entity ('%1') is empty"),
     QT_TRANSLATE_NOOP("cMapCheckDialog",
                       "This solid entity contains no solids. Fixing the error deletes the entity."),
     MapCheckScope::Entity, testEmptyEntity, deleteEntity, nameClassname},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Solid with no faces"),
     QT_TRANSLATE_NOOP("cMapCheckDialog",
                       "This solid contains no faces. Fixing the error deletes the solid."),
     MapCheckScope::Brush, testNoFaces, deleteBrush, nullptr},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Invalid solid structure (%1)"),
     QT_TRANSLATE_NOOP("cMapCheckDialog",
                       "The solid has invalid structure, probably as a result of vertex manipulation."),
     MapCheckScope::Brush, testStructure, rebuildBrush, nullptr},
    {QT_TRANSLATE_NOOP("cMapCheckDialog", "Invalid solid contents"),
     QT_TRANSLATE_NOOP(
         "cMapCheckDialog",
         "The faces in the solid have different content types, which may result in 'Mixed face "
         "contents' compiler error. Fixing the error assigns the contents of the first face to all "
         "faces of the solid."),
     MapCheckScope::Brush, testContents, unifyContents, nullptr},
};

// The brush's own messages, for the translation file.
[[maybe_unused]] static const char* const kBrushMessages[] = {
    QT_TRANSLATE_NOOP("cMapCheckDialog", "face is not planar"),
    QT_TRANSLATE_NOOP("cMapCheckDialog", "brush has coplanar planes"),
    QT_TRANSLATE_NOOP("cMapCheckDialog", "brush is not convex"),
};

const MapProfileRecord* MapCheck_Profile(const MapDocument* document) {
    GameConfigManager* manager = GameCfg_Manager();
    if (!document || !document->gameConfig || !manager) return nullptr;
    return GameCfg_FindProfile(manager, Text_ToWindows1251(document->gameConfig->MapProfile).constData());
}

bool MapCheck_BrushStructure(const BrushRecord* b, QString* reason) {
    if (faceCount(b) < 3) {
        *reason = tr("bad face count");
        return false;
    }
    const char* message = nullptr;
    if (!b->handle->checkValid(false, true, &message)) {
        *reason = tr(message ? message : "");
        return false;
    }
    for (const FaceRecord* f = b->firstFace; f; f = f->next) {
        const int32_t n = f->vertexCount;
        if (n < 3) {
            *reason = tr("face with %1 vertices").arg(n);
            return false;
        }
        for (int32_t i = 0; i < n; ++i) {
            const float* p = f->vertices[i].xyz;
            if (std::fabs(Vec_Dot(f->normal, p) - f->dist) > 0.5f) {
                *reason = tr("point off the face plane");
                return false;
            }
            float edge[3];
            Vec_Sub(f->vertices[(i + 1) % n].xyz, p, edge);
            if (Vec_Length(edge) < 0.1f) {
                *reason = tr("tiny edge");
                return false;
            }
        }
    }
    return true;
}

namespace {

void gather(MapCheckRun& run) {
    for (const EntityRecord* e = run.world->entities; e; e = e->next) {
        const EntityClass* eclass = classOf(e);
        if (!eclass) continue;
        auto found = run.classKeys.find(eclass);
        if (found == run.classKeys.end()) {
            MapCheckClassKeys keys;
            for (const EntityProperty& property : eclass->properties) {
                if (property.type == PropertyType::TargetSource) keys.sources.append(property.name);
                if (property.type == PropertyType::TargetDestination) keys.destinations.append(property.name);
            }
            found = run.classKeys.insert(eclass, keys);
        }
        for (const EPair* pair = e->epairs; pair; pair = pair->next)
            if (pair->key && found->sources.contains(QByteArray(pair->key)))
                run.targetNames.insert(QByteArray(pair->value ? pair->value : ""));
    }
}

} // namespace

std::vector<std::unique_ptr<MapProblem>> MapCheck_Run(MapWorld* world, const MapProfileRecord* profile) {
    std::vector<std::unique_ptr<MapProblem>> problems;
    if (!world) return problems;
    MapCheckRun run;
    run.profile = profile;
    run.world = world;
    if (profile) run.prefixes = Profile_Text(profile->targetPrefixes);
    gather(run);

    for (int32_t row = 0; row < kMapCheckRows; ++row) {
        const MapCheckEntry& entry = kMapCheckTable[row];
        QString out;
        auto test = [&](void* object, EntityRecord* entity, BrushRecord* brush, EntityRecord* owner) {
            if (!entry.test(run, object, entity, &out)) return;
            auto p = std::make_unique<MapProblem>();
            p->check = row;
            p->profile = profile;
            p->world = Map_Handle(world);
            p->entity = entity;
            p->object = object;
            p->ownerBrush = brush;
            p->ownerEntity = owner;
            p->name = entry.name ? entry.name(*p) : out;
            problems.push_back(std::move(p));
        };
        switch (entry.scope) {
        case MapCheckScope::World:
            test(nullptr, nullptr, nullptr, nullptr);
            break;
        case MapCheckScope::Entity:
            for (EntityRecord* e = world->entities; e; e = e->next)
                test(e, nullptr, nullptr, e);
            break;
        case MapCheckScope::Brush:
            for (EntityRecord* e = world->entities; e; e = e->next)
                for (BrushRecord* b = e->firstBrush; b; b = b->next)
                    test(b, nullptr, b, e);
            break;
        case MapCheckScope::Face:
            for (EntityRecord* e = world->entities; e; e = e->next)
                for (BrushRecord* b = e->firstBrush; b; b = b->next)
                    for (FaceRecord* f = b->firstFace; f; f = f->next)
                        test(f, nullptr, b, e);
            break;
        case MapCheckScope::KeyValue:
            for (EntityRecord* e = world->entities; e; e = e->next)
                for (EPair* pair = e->epairs; pair; pair = pair->next)
                    test(pair, e, nullptr, e);
            break;
        }
    }
    return problems;
}

QString MapCheck_ListText(const MapProblem& p) {
    QString line = tr(kMapCheckTable[p.check].title);
    if (line.contains(QLatin1Char('%'))) line = line.arg(p.name);
    if (p.status == MapProblemStatus::CannotFix) line += tr(" [can't fix]");
    if (p.status == MapProblemStatus::Fixed) line += tr(" [fixed]");
    return line;
}

int32_t MapCheck_Repair(MapRepair& repair, MapProblem& problem) {
    const MapCheckEntry& entry = kMapCheckTable[problem.check];
    if (problem.gone) return problem.status;
    problem.status = entry.repair ? entry.repair(repair, problem) : MapProblemStatus::CannotFix;
    return problem.status;
}

void cMapProblemIndex::build(const std::vector<std::unique_ptr<MapProblem>>& problems) {
    m_byRecord.clear();
    for (const auto& p : problems) {
        const void* keys[3] = {p->object, p->ownerBrush, p->ownerEntity};
        for (int i = 0; i < 3; ++i) {
            if (!keys[i] || (i > 0 && keys[i] == keys[0]) || (i == 2 && keys[2] == keys[1])) continue;
            m_byRecord[keys[i]].append(p.get());
        }
    }
}

void cMapProblemIndex::markGone(MapCheckRemoved& removed) {
    for (const void* record : std::as_const(removed.records)) {
        auto found = m_byRecord.find(record);
        if (found == m_byRecord.end()) continue;
        for (MapProblem* p : std::as_const(*found)) {
            p->gone = true;
            p->status = MapProblemStatus::Fixed;
        }
        m_byRecord.erase(found);
    }
    removed.records.clear();
}
