// The record behind every handle of a dimension system.
#pragma once

#include "tessik.h"

#include <vector>

namespace tessik {

enum class NodeKind {
    Geometry,           // add_g (a set when its callback answers ZMR3_G_SET), procedural geometry and copies
    RelativeTransform,  // JUN add_relative_transform
    Pattern,            // JUN add_pattern
    Feature,            // KEV add_procedural_feature
    Dimension,          // add_d (including RT and pattern constraints)
    Relationship,       // KEV add_procedural_relationship
    Radius,             // add_r
    Value               // add_v
};

struct NodeRecord {
    NodeKind kind = NodeKind::Geometry;
    bool alive = true;
    const void* owner = nullptr;  // the engine the node belongs to
    void* app = nullptr;
    int id = 0;
    // Who answers the callbacks for this node: null for the application's table; the
    // auto-constraint manager's own table for a node it made and still answers for.
    const ZMR3_frustum_functions* answers = nullptr;

    // g-nodes
    bool fixed = false;
    bool procedural = false;          // procedural geometry or procedural copy
    NodeRecord* set = nullptr;        // the set a geometry is in
    NodeRecord* feature = nullptr;    // the procedural feature a geometry is in
    NodeRecord* original = nullptr;   // the geometry a procedural copy copies
    NodeRecord* reference = nullptr;  // a pattern's reference geometry
    JUN_pattern_type patternType = JUN_PATTERN_LINEAR;

    // d-, r- and v-nodes
    NodeRecord* geoms[3] = {nullptr, nullptr, nullptr};
    int geomCount = 0;
    NodeRecord* measured = nullptr;  // the d- or r-node a v-node measures
    // How many of the references above (set, feature, original, reference, geoms) held by live
    // nodes point at this node: erasing a node nobody refers to need not look through the others.
    int referrers = 0;
    NodeRecord* valueNode = nullptr; // the v-node measuring a d- or r-node

    // Answers of the last evaluation.
    int status = 0;
    int changeMask = 0;
    double change[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    double firstValue = 0.0;
    double secondValue = 0.0;
    double measuredValue = 0.0;  // v-nodes and pattern values
    bool hasValue = false;

    bool IsGNode() const
    {
        return kind == NodeKind::Geometry || kind == NodeKind::RelativeTransform ||
               kind == NodeKind::Pattern || kind == NodeKind::Feature;
    }
    bool IsDNode() const { return kind == NodeKind::Dimension || kind == NodeKind::Relationship; }
};

// Handles are the records themselves, seen through the public opaque types.
template <class H>
inline NodeRecord* Rec(H* handle) { return reinterpret_cast<NodeRecord*>(handle); }
template <class H>
inline const NodeRecord* Rec(const H* handle) { return reinterpret_cast<const NodeRecord*>(handle); }
template <class H>
inline H* Handle(NodeRecord* record) { return reinterpret_cast<H*>(record); }

}  // namespace tessik
