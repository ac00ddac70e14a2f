#pragma once
// References whose geometry moves as one rigid body in a solve. Each Instance the references
// are placed by gets a body-level Set holding the body-level geometry of their entities; a
// group of placed references also gets one global Set holding the placed geometry, tied to
// each body-level Set through the Instance's relative transform. A group holds each of its Sets
// through one member geometry, so it follows the Set wherever that member is united into.

#include "core/enums/Enums.h"
#include "solver/SolverNodes.h"
#include "solver/Stars.h"

#include <map>
#include <set>
#include <vector>

namespace QEL {

class GeometryBase;
class Instance;
class Reference;
class Set;
class Solver;

class RigidGroup {
public:
    RigidGroup(const RigidGroup&) = delete;
    RigidGroup& operator=(const RigidGroup&) = delete;
    // Takes its anchor points out of their Sets and the dimension system; the Sets stay with
    // the Solver.
    ~RigidGroup();

    // Null when CheckReferences rejects the list. Sets that other groups already hold for the
    // same keys are merged into the oldest of them, and the group is entered in the Solver's
    // rigid-group map under every key its Sets cover. A Set that would stay empty gets an
    // anchor point at the origin.
    static RigidGroup* CreateRigidGroup(Solver* solver, const std::vector<Reference*>& references);
    // Rejects an empty list, a reference driven by a procedural object, two behaviours on one
    // body (also one of a body whose geometry is already rigid with a reference's geometry),
    // and a mix of placed references with references on a bare body (or bare references on
    // two bodies). body: the one bare body, 0 for a placed group.
    static bool CheckReferences(Solver* solver, const std::vector<Reference*>& references,
                                int& body, std::map<int, ReferenceBehaviour>& behaviours);
    // The body of the first bare reference on a body, 0 once a placed reference comes first.
    static int FindInstancelessBody(const std::vector<Reference*>& references);
    static bool HasNoInstancelessBody(const std::vector<Reference*>& references)
    {
        return FindInstancelessBody(references) == 0;
    }

    // Null when the group has no global Set.
    Set* GetGlobalSet() const;
    // The global Set, else the body-level Set of the first Instance (no Instance first).
    Set* GetDragSet() const;
    // Null when the group has no Set for the Instance.
    Set* GetBodyLevelSet(Instance* instance) const;
    // The body-level Set of the first reference on the entity; null when none is on it.
    Set* GetBodyLevelSetForEnt(int entity) const;
    const std::vector<Reference*>& GetReferences() const { return m_references; }
    const std::map<int, ReferenceBehaviour>& GetBehaviours() const { return m_behaviours; }
    const std::vector<GeometryBase*>& GetAnchorPoints() const { return m_anchorPoints; }

private:
    using SetCollection = std::set<Set*, NodePtrLessThan>;

    RigidGroup(Solver* solver, const std::vector<Reference*>& references)
        : m_solver(solver), m_references(references)
    {
    }
    // Null unless the group is placed; the global Sets of groups already on its keys and the
    // main Sets of its positioning Instances are merged into the oldest of them.
    Set* MakeGlobalSet();
    Set* MakeBodyLevelSet(Instance* instance);
    // The oldest Set collected, after it absorbed the others; a new Set when none was.
    Set* MergeIntoOldest(const SetCollection& sets);
    // A point at the origin in the set, owned by the group.
    void AddAnchorPoint(Set* set);
    bool IsPositioning(int body) const;

    Solver* m_solver;
    GeometryBase* m_globalAnchor = nullptr;
    std::vector<Reference*> m_references;
    std::map<Instance*, GeometryBase*, InstanceLess> m_bodyLevelAnchors;
    std::map<int, ReferenceBehaviour> m_behaviours;
    std::vector<GeometryBase*> m_anchorPoints;
};

}  // namespace QEL
