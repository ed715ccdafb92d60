#include "document/UniqueName.h"

#include <climits>
#include <cstring>
#include <map>
#include <vector>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "map/MapEntity.h"

namespace {

// Marks the entities of a rename pass so that their own names do not block the search.
constexpr uint32_t kRenamePassMark = 0x40000;

const char* roleKey(const cMapEntity* entity, EntityKeyRole role) {
    const char* key = entity->keyName(role);
    return key ? key : EntitySpecialKeys[role].defaultName;
}

// Adds the key when missing, else replaces a differing value (the entity marks the map
// modified), then rebuilds the target list.
void setRoleKey(cMapEntity* entity, EntityKeyRole role, const char* value) {
    const char* key = roleKey(entity, role);
    if (entity->findKey(key))
        entity->setKeyValue(key, value);
    else
        entity->appendKeyValue(key, value);
    entity->updateTargets();
}

bool anyTargetname(MapWorld* world, const QByteArray& name) {
    for (const EntityRecord* e = world->entities; e; e = e->next)
        if (e->targetname && name == e->targetname) return true;
    return false;
}

bool allAsciiDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

void renameSet(MapWorld* world, const QList<EntityRecord*>& set) {
    std::map<QByteArray, QByteArray> newNames; // old name -> new name, ascending
    QSet<QByteArray> referenced;
    for (EntityRecord* e : set) {
        newNames.emplace(QByteArray(e->targetname ? e->targetname : ""), QByteArray());
        for (const EntityTarget& target : e->handle->targets)
            referenced.insert(QByteArray(target.name));
        e->flags |= kRenamePassMark;
    }

    // Names that stay are reserved too: a copy renamed to a kept name of the same set would
    // leave two entities answering one name.
    QSet<QString> reserved;
    for (const auto& [oldName, unused] : newNames)
        if (!oldName.isEmpty() && !referenced.contains(oldName))
            reserved.insert(Text_FromWindows1251(oldName));
    for (auto& [oldName, newName] : newNames) {
        if (oldName.isEmpty() || !referenced.contains(oldName)) continue;
        const QString unique = Map_UniqueName(world, Text_FromWindows1251(oldName), reserved);
        if (unique.isEmpty()) continue;
        reserved.insert(unique);
        newName = Text_ToWindows1251(unique);
    }

    for (EntityRecord* e : set) {
        if (!(e->flags & kRenamePassMark)) continue; // listed twice
        e->flags &= ~kRenamePassMark;
        cMapEntity* handle = e->handle;
        bool changed = false;
        const auto own = newNames.find(QByteArray(e->targetname ? e->targetname : ""));
        if (own != newNames.end() && !own->second.isEmpty()) {
            handle->setKeyValue(roleKey(handle, KEY_TARGETNAME), own->second.constData());
            changed = true;
        }
        // Values are rewritten after the walk: the target names point into them.
        std::vector<std::pair<EPair*, QByteArray>> rewrites;
        for (const EntityTarget& target : handle->targets) {
            const auto it = newNames.find(QByteArray(target.name));
            if (it == newNames.end() || it->second.isEmpty()) continue;
            QByteArray value = it->second;
            if (target.name != target.pair->value) value.prepend(target.pair->value[0]);
            rewrites.emplace_back(target.pair, value);
        }
        for (auto& [pair, value] : rewrites) {
            EPair_SetValue(pair, value.constData());
            handle->markModified();
            changed = true;
        }
        if (changed) handle->updateTargets();
    }
}

} // namespace

bool Map_NameInUse(MapWorld* world, const char* name) {
    if (!world || !name) return false;
    for (const EntityRecord* e = world->entities; e; e = e->next)
        if (!(e->flags & kRenamePassMark) && e->targetname && std::strcmp(e->targetname, name) == 0)
            return true;
    return false;
}

QString Map_UniqueName(MapWorld* world, const QString& name, const QSet<QString>& reserved) {
    QString base = name;
    int64_t counter = 1;
    const qsizetype underscore = name.lastIndexOf(QLatin1Char('_'));
    if (underscore >= 0) {
        const QString suffix = name.mid(underscore + 1);
        bool ok = false;
        const qlonglong number = allAsciiDigits(suffix) ? suffix.toLongLong(&ok) : 0;
        // A suffix too large to count on is kept as part of the base.
        if (ok && number < INT32_MAX) {
            base = name.left(underscore);
            counter = number + 1;
        }
    }
    for (; counter <= INT32_MAX; ++counter) {
        const QString candidate = QStringLiteral("%1_%2").arg(base).arg(counter);
        if (reserved.contains(candidate)) continue;
        if (Map_NameInUse(world, Text_ToWindows1251(candidate).constData())) continue;
        return candidate;
    }
    Sys_Warning("Map_UniqueName: no free name for %s", Text_ToWindows1251(name).constData());
    return QString();
}

bool Map_ConnectEntities(MapWorld* world, EntityRecord* source, EntityRecord* target) {
    cMapEntity* from = cMapEntity::fromRecord(source);
    cMapEntity* to = cMapEntity::fromRecord(target);
    if (!world || !from || !to || from == to) return false;
    // An existing name is used whole, however long: cutting it would break the links that
    // already use it.
    QByteArray name;
    if (target->targetname && *target->targetname) {
        name = target->targetname;
    } else {
        const QByteArray base = target->classname ? QByteArray(target->classname) : QByteArray();
        for (uint32_t n = 1; n != 0; ++n) {
            name = base + '_' + QByteArray::number(n);
            if (!anyTargetname(world, name)) break;
        }
    }
    setRoleKey(to, KEY_TARGETNAME, name.constData());
    setRoleKey(from, KEY_TARGET, name.constData());
    return true;
}

bool Map_ConnectSelectedEntitiesCommand(MapWorld* world) {
    EntityRecord* target = world ? world->selectedEntities : nullptr;
    EntityRecord* source = target ? target->selNext : nullptr;
    if (!source || source->selNext) return false;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Connect Entities");
    Undo_SaveSelectedEntitiesChanged(history);
    Undo_EndLevel(history);
    const bool connected = Map_ConnectEntities(world, source, target);
    Map_OpFinish(world, false);
    return connected;
}

void Map_RenameClonedEntities(MapWorld* world) {
    if (!world) return;
    QList<EntityRecord*> set;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (e->handle) set.append(e);
    renameSet(world, set);
}

void Map_RenamePastedEntities(MapWorld* world, const QList<EntityRecord*>& entities) {
    if (!world || entities.size() < 2) return;
    QList<EntityRecord*> set;
    for (EntityRecord* e : entities)
        if (e && e->handle) set.append(e);
    renameSet(world, set);
}
