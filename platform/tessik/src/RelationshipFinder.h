// Finding geometric relationships between kernel entities: the entities' world geometry,
// the exact test of one pair, and two ways of choosing the pairs to test (every pair, or
// the pairs that direction, position and size bins bring together).
#pragma once

#include "Geometry.h"
#include "ysk.h"

#include <functional>
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

using InstancePlacement = std::function<Rigid(const YSK_pointer_s&)>;

// Reads the given entities (a body gives its faces) at their Instances' placements.
// Entities of no kind the finder knows are left out. False when no kernel session runs.
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

enum class PairChoice { Binned, AllPairs };

// Reports every relationship between a from item and a to item (to items keyed in third
// take no part) once, the from item first.
void FindRelationships(const FindSettings& settings, const std::vector<FindItem>& from,
                       const std::vector<FindItem>& to, const std::vector<FindItem>& third, PairChoice choice,
                       const std::function<void(const FoundRelationship&)>& report, FindCounts& counts);

}  // namespace tessik
