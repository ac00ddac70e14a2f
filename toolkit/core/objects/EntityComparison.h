#pragma once
// Orderings and equality of collections of toolkit objects.

#include "core/objects/TaggedEntity.h"

#include <algorithm>
#include <set>
#include <vector>

namespace QEL {

// Orders by tag, a null pointer first. Transparent: a set ordered by it can be searched by a
// tag value without reading the pointer being looked for.
struct QEL_API TaggedEntityPtrLessThan {
    using is_transparent = void;
    static int TagOf(const TaggedEntity* entity) { return entity ? entity->GetTag() : 0; }
    bool operator()(const TaggedEntity* a, const TaggedEntity* b) const
    {
        if (!a || !b)
            return !a && b;
        return a->GetTag() < b->GetTag();
    }
    bool operator()(const TaggedEntity* a, int tag) const { return a && a->GetTag() < tag; }
    bool operator()(int tag, const TaggedEntity* b) const { return !b ? false : tag < b->GetTag(); }
};

// The same ordering by entity id.
struct QEL_API TaggedEntityIdLessThan {
    bool operator()(const TaggedEntity* a, const TaggedEntity* b) const
    {
        if (!a || !b)
            return !a && b;
        return a->GetEntityId() < b->GetEntityId();
    }
};

// Equal sizes and, after sorting both by entity id, pairwise both null or both non-null and
// Compare true. A container compared with itself is equal.
template <typename T>
bool AreEntityVectorsEqual(const std::vector<T*>& a, const std::vector<T*>& b)
{
    if (&a == &b)
        return true;
    if (a.size() != b.size())
        return false;
    std::vector<TaggedEntity*> left(a.begin(), a.end());
    std::vector<TaggedEntity*> right(b.begin(), b.end());
    std::sort(left.begin(), left.end(), TaggedEntityIdLessThan());
    std::sort(right.begin(), right.end(), TaggedEntityIdLessThan());
    for (size_t i = 0; i < left.size(); ++i) {
        if (!left[i] || !right[i]) {
            if (left[i] || right[i])
                return false;
            continue;
        }
        if (!left[i]->Compare(right[i]))
            return false;
    }
    return true;
}

template <typename T, typename Less>
bool AreEntitySetsEqual(const std::set<T*, Less>& a, const std::set<T*, Less>& b)
{
    if (&a == &b)
        return true;
    return AreEntityVectorsEqual(std::vector<T*>(a.begin(), a.end()),
                                 std::vector<T*>(b.begin(), b.end()));
}

}  // namespace QEL
