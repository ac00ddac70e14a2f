#pragma once
// The grouping nodes of the dimension system that geometries and bonds refer to: rigid sets,
// relative-transform nodes, pattern nodes and procedural objects.

#include "solver/SolverNodes.h"

#include <set>

namespace QEL {

// A rigid set of geometries; the dimension system knows it by its geometry code 10. A
// geometry is a member exactly when its set field names this Set, and once the Set is in the
// dimension system every change of membership is mirrored there at once.
class Set : public GNode {
public:
    using Members = std::set<GeometryBase*, NodePtrLessThan>;

    explicit Set(Solver* solver);
    // Leaves the members as they are; the Solver removes a Set before its geometries.
    ~Set() override = default;
    // A new Set, already in the dimension system and owned by the Solver.
    static Set* CreateSet(Solver* solver);

    // Adds the Set, then moves its present members into it.
    void AddToZMR() override;
    std::string ToString() override { return "Set"; }
    bool GetGeomType(ZMR3_g_type& type) override;

    // Takes g out of its former Set first; nothing when g is already a member.
    void AddGeometry(GeometryBase* g);
    void RemoveGeometry(GeometryBase* g);
    // Adds g together with everything that was rigid with it.
    void UnionGeometry(GeometryBase* g);
    // Moves every member of the other Set here, in member order; the other Set stays, empty.
    void UnionSets(Set* other);
    const Members& GetGeometry() const { return m_members; }

private:
    void Mirror(GeometryBase* g, g_node* set);

    Members m_members;
};

// The placement of one Instance of a body in the extended dimension system; relative-transform
// constraints tie geometry to it. Every holder takes one count, and the last release deletes
// the node (without calling the dimension system: its owner removes it first).
class RTNode : public GNode {
public:
    // Starts with one count, held by its maker.
    RTNode(Solver* solver, const Xform& xform);
    void AddToZMR() override;
    std::string ToString() override { return "RTNode"; }
    bool GetGeomType(ZMR3_g_type&) override { return false; }
    // Each returns the new count.
    int Acquire() { return ++m_useCount; }
    int Release();
    int GetUseCount() const { return m_useCount; }
    // The placement as a 4x4 matrix: rotation, translation column, last row 0 0 0 1.
    void GetTransform(double (*matrix)[4]) const { m_xform.Get4x4(matrix); }
    const Xform& GetXform() const { return m_xform; }

private:
    int m_useCount = 1;
    Xform m_xform;
};

// A pattern's spacing, an unknown of the system along the direction or about the axis of its
// reference geometry.
class PatternNode : public GNode {
public:
    PatternNode(Solver* solver, GeometryBase* reference, JUN_pattern_type type, double value);
    void AddToZMR() override;
    std::string ToString() override { return "PatternNode"; }
    bool GetGeomType(ZMR3_g_type&) override { return false; }
    // The value of the last evaluation; 0.0 for a node not in the dimension system.
    double GetValue();
    // The spacing or angle at set-up, which the dimension system starts from.
    double GetStartValue() const { return m_value; }
    GeometryBase* GetReference() const { return m_reference; }
    JUN_pattern_type GetType() const { return m_type; }

private:
    GeometryBase* m_reference;
    JUN_pattern_type m_type;
    double m_value;
};

// A procedural object that the procedural-feature manager asks to regenerate after a solve.
class SolverProceduralObject : public GNode {
public:
    using GNode::GNode;
    void AddToZMR() override;
    std::string ToString() override { return "SolverProceduralObject"; }
    bool GetGeomType(ZMR3_g_type&) override { return false; }
    // KEV_REGENERATED when regenerated or nothing was to do, KEV_REGENERATION_FAILED otherwise.
    virtual int Regenerate() { return KEV_REGENERATED; }
    // Whether geometry related to this object's procedural geometry moves with it; an object
    // that agrees takes the geometry as one of its inputs.
    virtual bool TakeRelatedGeometry(GeometryBase*) { return false; }
    void SetMoved(bool moved) { m_moved = moved; }
    bool GetMoved() const { return m_moved; }

private:
    bool m_moved = false;
};

}  // namespace QEL
