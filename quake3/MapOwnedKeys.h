// The keys the map writer writes itself, from the entity's own fields rather than from its key
// list: every entity's class name, and in the world entity the format version and the program
// that wrote the file. The writer skips them in a key list; the reader keeps them out of the key
// lists it builds, so that they are never written twice.
#pragma once

#include <strings.h>

namespace MapOwnedKey {

inline constexpr char kClassname[] = "classname";
inline constexpr char kMapVersion[] = "mapversion";
inline constexpr char kGenerator[] = "_generator";

struct Entry {
    const char* name;
    bool worldOnly; // written by the world entity alone
};
inline constexpr Entry kAll[] = {{kClassname, false}, {kMapVersion, true}, {kGenerator, true}};

// Whether the writer writes the key itself for an entity of this kind.
inline bool IsOwned(const char* key, bool world) {
    for (const Entry& entry : kAll)
        if ((world || !entry.worldOnly) && strcasecmp(key, entry.name) == 0) return true;
    return false;
}

} // namespace MapOwnedKey
