// Finding geometric relationships between kernel entities: the entities' world geometry,
// the exact test of one pair, and two ways of choosing the pairs to test (every pair, or
// the pairs that direction, position and size bins bring together).
#pragma once

#include "Geometry.h"
#include "ysk.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace tessik {

enum class Shape { Plane, Cylinder, Cone, Torus, Sphere, Line, Circle };

// One entity as the finder sees it, in world coordinates.
struct FindItem {
    int entity = 0;
    void* instance = nullptr;
    int source = 0;       // the entity given (a body, for its faces)
    bool face = false;
    Shape shape = Shape::Plane;
    int kinds[2] = {-1, -1};  // YSK_option_geom_type; a torus face has a major and a minor kind
    Vec3 p = Vec3::Zero();    // plane point; point of the axis (cone: where the radius is r1); centre
    Vec3 d = Vec3::Zero();    // unit normal or axis
    double r1 = 0.0, r2 = 0.0, half = 0.0;
    bool HasDirection() const { return shape != Shape::Sphere; }
};

// An entity as placed by one Instance.
struct ItemKey {
    int entity;
    const void* instance;
    bool operator<(const ItemKey& o) const { return entity != o.entity ? entity < o.entity : instance < o.instance; }
    bool operator==(const ItemKey& o) const { return entity == o.entity && instance == o.instance; }
};

struct ItemKeyHash {
    size_t operator()(const ItemKey& k) const
    {
        return std::hash<int>()(k.entity) * 31u ^ std::hash<const void*>()(k.instance);
    }
};

using InstancePlacement = std::function<Rigid(const YSK_pointer_s&)>;

// Reads the given entities (a body gives its faces) at their Instances' placements, asking
// every face whether it goes all the way round. Entities of no kind the finder knows are
// left out. False when no kernel session runs.
bool ReadItems(const YSK_pointer_s* entries, int count, const InstancePlacement& placement,
               std::vector<FindItem>& out);

struct FindSettings {
    double linear = 1e-8;
    double angular = 1e-11;
    int pass = 0;
    bool symmetryMatchExact = false;
    bool similarMatchAxes = false;
    // [YSK_option_relation_type][from kind][to kind]
    const bool (*offered)[YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT] = nullptr;
    std::vector<FindItem> symmetryPlanes;
    std::vector<FindItem> coplaxis;
};

struct FoundRelationship {
    int relation = 0;  // YSK_relation_type
    const FindItem* from = nullptr;
    const FindItem* to = nullptr;
    const FindItem* third = nullptr;  // symmetry plane or co-planar-axis reference
};

struct FindCounts {
    int fromParallelPlanes = 0;  // pairs of from planes with parallel normals
    int crossParallelPlanes = 0; // from plane and a to plane that is not a from entity
    int reported = 0;
};

// Reads the entities of one find. Each entity is read once per Instance: met again (a from
// face among its body's faces) it is taken from what was read. A face is asked whether it
// goes all the way round only when the offered relations of the pass tell a full face of its
// kind from a partial one; otherwise it counts as partial, which changes no answer.
class ItemReader {
public:
    // Asks every face whether it goes all the way round.
    explicit ItemReader(InstancePlacement placement);
    // Asks only what the settings' offered relations and pass need; they must be final.
    ItemReader(const FindSettings& settings, InstancePlacement placement);
    // Reads as ReadItems does, appending to out.
    bool Read(const YSK_pointer_s* entries, int count, std::vector<FindItem>& out);

private:
    void ReadOne(int tag, int source, void* instance, const Rigid& placement, std::vector<FindItem>& out);
    bool ReadSurface(int surf, int face, FindItem& item) const;

    InstancePlacement m_placement;
    // Whether a face's fullness is asked, by kind family: cylinder, cone, torus major,
    // torus minor, sphere.
    bool m_askFull[5] = {true, true, true, true, true};
    // Every entity read, with its place in m_items, or -1 when of no known kind.
    std::unordered_map<ItemKey, int, ItemKeyHash> m_read;
    std::vector<FindItem> m_items;
};

enum class PairChoice { Binned, AllPairs };

// Reports every relationship between a from item and a to item (to items keyed in third
// take no part) once, the from item first.
void FindRelationships(const FindSettings& settings, const std::vector<FindItem>& from,
                       const std::vector<FindItem>& to, const std::vector<FindItem>& third, PairChoice choice,
                       const std::function<void(const FoundRelationship&)>& report, FindCounts& counts);

}  // namespace tessik
