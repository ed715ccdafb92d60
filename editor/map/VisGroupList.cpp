#include "map/VisGroupList.h"

#include <algorithm>

bool cVisGroupList::add(VisGroup* set) {
    if (!set || contains(set)) return false;
    m_sets.push_back(set);
    ++set->memberCount;
    return true;
}

int32_t cVisGroupList::remove(VisGroup* set) {
    if (!set) return 0;
    const auto end = std::remove(m_sets.begin(), m_sets.end(), set);
    const int32_t removed = int32_t(m_sets.end() - end);
    m_sets.erase(end, m_sets.end());
    set->memberCount -= removed;
    return removed;
}

void cVisGroupList::clear() {
    for (VisGroup* set : m_sets)
        --set->memberCount;
    m_sets.clear();
}

void cVisGroupList::addAll(const cVisGroupList& other) {
    if (&other == this) return;
    for (VisGroup* set : other.m_sets)
        add(set);
}

bool cVisGroupList::contains(const VisGroup* set) const {
    return std::find(m_sets.begin(), m_sets.end(), set) != m_sets.end();
}

int32_t cVisGroupList::idAt(int32_t index) const {
    const VisGroup* set = at(index);
    return set ? set->id : 0;
}

bool cVisGroupList::firstId(int32_t* id) const {
    if (m_sets.empty()) return false;
    if (id) *id = m_sets.front()->id;
    return true;
}

VisGroup* cVisGroupList::at(int32_t index) const {
    if (index < 0 || index >= count()) return nullptr;
    return m_sets[size_t(index)];
}
