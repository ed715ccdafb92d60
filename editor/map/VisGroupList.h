// The named object sets one entity or brush belongs to, each at most once. Joining and leaving
// keep the sets' member counts equal to the number of lists that hold them.
#pragma once

#include <cstdint>
#include <vector>

// A named object set of one map. Objects keep the sets they belong to (cVisGroupList); the set
// keeps only a member count.
struct VisGroup {
    char* name; // 8-bit heap string; null for a set made without a name
    uint8_t color[4];
    int32_t id;
    int32_t memberCount; // number of (object, set) memberships
    int32_t visible;     // 1 when at least one member is shown
};

class cVisGroupList {
public:
    // Appends the set when it is not listed yet and raises its member count; false when it
    // already was listed (or is null).
    bool add(VisGroup* set);
    // Removes every occurrence of the set and lowers its member count by the number removed.
    int32_t remove(VisGroup* set);
    // Lowers the member count of every listed set by one and empties the list.
    void clear();
    // Joins every set of the other list (clones with KeepCloneVisGroup).
    void addAll(const cVisGroupList& other);

    bool contains(const VisGroup* set) const;
    int32_t count() const { return int32_t(m_sets.size()); }
    // The id of the set at the index; 0 for an index outside 0..count-1.
    int32_t idAt(int32_t index) const;
    // False for an empty list, else true with the first set's id.
    bool firstId(int32_t* id) const;
    VisGroup* at(int32_t index) const;

private:
    std::vector<VisGroup*> m_sets;
};
