#include "document/TargetNames.h"

#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
#include "map/EPair.h"
#include "map/MapEntity.h"
#include "map/ObjectRecords.h"

QStringList Map_TargetNames(const MapWorld* world) {
    QStringList names;
    if (!world) return names;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        const EntityClass* eclass = e->handle ? e->handle->entityClass : nullptr;
        if (!eclass) continue;
        for (const EntityProperty& p : eclass->properties)
            if (p.type == PropertyType::TargetSource)
                if (const EPair* pair = EPair_Find(e->epairs, p.name.constData()))
                    if (pair->value && *pair->value) names.append(Text_FromWindows1251(pair->value));
    }
    for (const PathRecord* path = world->paths; path; path = path->next) {
        if (path->name && *path->name &&
            (!path->firstNode || !path->firstNode->name || !*path->firstNode->name))
            names.append(Text_FromWindows1251(path->name));
        for (const NodeRecord* n = path->firstNode; n; n = n->next)
            if (n->name && *n->name) names.append(Text_FromWindows1251(n->name));
    }
    names.removeDuplicates();
    names.sort(Qt::CaseSensitive);
    return names;
}
