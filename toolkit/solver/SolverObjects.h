#pragma once
// The grouping nodes of the dimension system that geometries and bonds refer to: rigid sets,
// relative-transform nodes, pattern nodes and procedural objects.

#include "solver/SolverNodes.h"

namespace QEL {

// A rigid set of geometries; the dimension system knows it by its geometry code 10.
class Set : public GNode {
public:
    explicit Set(Solver* solver);
    void AddToZMR() override;
    std::string ToString() override { return "Set"; }
    bool GetGeomType(ZMR3_g_type& type) override;
};

// A relative transform between placed geometries; the system starts from its transform.
class RTNode : public GNode {
public:
    RTNode(Solver* solver, const Xform& xform);
    void AddToZMR() override;
    std::string ToString() override { return "RTNode"; }
    bool GetGeomType(ZMR3_g_type&) override { return false; }
    const Xform& GetXform() const { return m_xform; }
    void SetXform(const Xform& xform) { m_xform = xform; }

private:
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
    double GetValue() const { return m_value; }
    void SetValue(double value) { m_value = value; }

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
