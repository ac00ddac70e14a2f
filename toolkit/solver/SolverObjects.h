#pragma once
// The grouping nodes of the dimension system that geometries and bonds refer to: rigid sets,
// relative-transform nodes, pattern nodes and procedural objects.

#include "solver/SolverNodes.h"

#include <set>
#include <utility>

namespace QEL {

class OffsetFacesOp;

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
    // Two lines of the entities, in the dimension system and in this Set, that fix the Set's
    // orientation; false, making nothing, unless both are lines and not parallel.
    bool MakeOrientation(int first, int second, std::pair<GeometryBase*, GeometryBase*>& lines);

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
// The body-level geometry of its procedural entities is its procedural geometry, which moves
// only as the object regenerates it.
class SolverProceduralObject : public GNode {
public:
    using GNode::GNode;
    using GeometrySet = std::set<GeometryBase*, NodePtrLessThan>;
    void AddToZMR() override;
    std::string ToString() override { return "SolverProceduralObject"; }
    bool GetGeomType(ZMR3_g_type& type) override { return type = ZMR3_G_POINT, false; }
    // The Solver's geometry of the key, else procedural geometry for a procedural entity
    // without an Instance, else null.
    virtual GeometryBase* GetOrMakeProceduralGeometry(int entity, Instance* instance);
    // KEV_REGENERATED when regenerated or nothing was to do, KEV_REGENERATION_FAILED otherwise.
    virtual int Regenerate() { return KEV_REGENERATED; }
    // Whether geometry related to this object's procedural geometry moves with it; an object
    // that agrees takes the geometry as one of its inputs.
    virtual bool TakeRelatedGeometry(GeometryBase*) { return false; }
    // Moves procedural geometry into this object; other geometry is left alone.
    void AddProceduralGeometry(GeometryBase* g);
    void SetMoved(bool moved) { m_moved = moved; }
    bool GetMoved() const { return m_moved; }
    std::set<int>& GetProceduralEntities() { return m_proceduralEntities; }
    const GeometrySet& GetProceduralGeometryBaseSet() const { return m_proceduralGeometry; }

private:
    bool m_moved = false;
    std::set<int> m_proceduralEntities;
    GeometrySet m_proceduralGeometry;
};

// The procedural object of an offset-faces edit: regenerating it offsets the faces' surfaces.
class SolverOffset : public SolverProceduralObject {
public:
    static SolverOffset* CreateSolverOffset(Solver* solver, OffsetFacesOp* operation);
    int Regenerate() override;
    OffsetFacesOp* GetOffsetFacesOp() const { return m_operation; }

private:
    SolverOffset(Solver* solver, OffsetFacesOp* operation)
        : SolverProceduralObject(solver), m_operation(operation)
    {
    }
    OffsetFacesOp* m_operation;
};

}  // namespace QEL
