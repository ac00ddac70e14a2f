#pragma once
// References whose geometry moves as one rigid body in a solve. A group holds each of its Sets
// through one member geometry, so it follows the Set wherever that member is united into.

#include "core/Enums.h"

#include <map>
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
    ~RigidGroup() = default;

    // Null when CheckReferences rejects the list. A group of references placed in Instances
    // (or on no body) gets a global Set holding their geometry; a group on one bare body gets
    // that body's Set. A Set that would stay empty gets an anchor point at the origin.
    static RigidGroup* CreateRigidGroup(Solver* solver, const std::vector<Reference*>& references);
    // Rejects an empty list, a reference driven by a procedural object, two behaviours on one
    // body, and a mix of placed references with references on a bare body (or bare references
    // on two bodies). body: the one bare body, 0 for a placed group.
    static bool CheckReferences(Solver* solver, const std::vector<Reference*>& references, int& body,
                                std::map<int, ReferenceBehaviour>& behaviours);
    // The body of the first bare reference on a body, 0 once a placed reference comes first.
    static int FindInstancelessBody(const std::vector<Reference*>& references);
    static bool HasNoInstancelessBody(const std::vector<Reference*>& references)
    {
        return FindInstancelessBody(references) == 0;
    }

    Set* GetGlobalSet() const;
    // The global Set, else the first body-level Set.
    Set* GetDragSet() const;
    Set* GetBodyLevelSet(Instance* instance) const;
    const std::vector<Reference*>& GetReferences() const { return m_references; }

private:
    RigidGroup(Solver* solver, const std::vector<Reference*>& references) : m_solver(solver), m_references(references) {}
    // The Set's first member, after an anchor point when it has none.
    GeometryBase* Anchor(Set* set);

    Solver* m_solver;
    GeometryBase* m_globalAnchor = nullptr;
    std::vector<Reference*> m_references;
    std::map<Instance*, GeometryBase*> m_bodyLevelAnchors;
    std::map<int, ReferenceBehaviour> m_behaviours;
};

}  // namespace QEL
