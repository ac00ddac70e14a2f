#include "solver/RigidGroup.h"

#include "core/KernelFacade.h"
#include "model/Reference.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"

namespace QEL {

int RigidGroup::FindInstancelessBody(const std::vector<Reference*>& references)
{
    for (Reference* reference : references) {
        if (reference->GetInstance())
            return 0;
        if (const int body = GetOwningBody(reference->GetEntityTag()))
            return body;
    }
    return 0;
}

bool RigidGroup::CheckReferences(Solver* solver, const std::vector<Reference*>& references, int& body,
                                 std::map<int, ReferenceBehaviour>& behaviours)
{
    if (references.empty())
        return false;
    body = FindInstancelessBody(references);
    for (Reference* reference : references) {
        if (solver->IsUsingProceduralObject(reference, true, true))
            return false;
        const int owner = GetOwningBody(reference->GetEntityTag());
        const auto known = behaviours.find(owner);
        if (known != behaviours.end()) {
            if (known->second != reference->GetBehaviour())
                return false;
        } else if (owner != 0) {
            behaviours[owner] = reference->GetBehaviour();
        }
        if (reference->GetInstance() ? body != 0 : owner != body)
            return false;
    }
    return true;
}

RigidGroup* RigidGroup::CreateRigidGroup(Solver* solver, const std::vector<Reference*>& references)
{
    int body = 0;
    std::map<int, ReferenceBehaviour> behaviours;
    if (!CheckReferences(solver, references, body, behaviours))
        return nullptr;
    RigidGroup* group = new RigidGroup(solver, references);
    group->m_behaviours = behaviours;
    Set* set = Set::CreateSet(solver);
    for (Reference* reference : references) {
        // A bare group moves the body-level geometry, a placed one the placed geometry.
        const GeometryKey key(reference->GetEntityTag(), body ? nullptr : reference->GetInstance());
        if (Geometry* geometry = solver->FindGeometry(key))
            set->UnionGeometry(geometry);
    }
    if (body)
        group->m_bodyLevelAnchors[nullptr] = group->Anchor(set);
    else
        group->m_globalAnchor = group->Anchor(set);
    return group;
}

GeometryBase* RigidGroup::Anchor(Set* set)
{
    if (set->GetGeometry().empty()) {
        const double origin[3] = {0.0, 0.0, 0.0};
        set->AddGeometry(m_solver->AddConstruction(new GPoint(m_solver, origin, nullptr, nullptr)));
    }
    return *set->GetGeometry().begin();
}

Set* RigidGroup::GetGlobalSet() const { return m_globalAnchor ? m_globalAnchor->GetSet() : nullptr; }

Set* RigidGroup::GetDragSet() const
{
    if (Set* global = GetGlobalSet())
        return global;
    return m_bodyLevelAnchors.empty() ? nullptr : m_bodyLevelAnchors.begin()->second->GetSet();
}

Set* RigidGroup::GetBodyLevelSet(Instance* instance) const
{
    const auto anchor = m_bodyLevelAnchors.find(instance);
    return anchor == m_bodyLevelAnchors.end() ? nullptr : anchor->second->GetSet();
}

RigidGroup* Solver::MakeRigidGroup(const std::vector<Reference*>& references, bool)
{
    RigidGroup* group = RigidGroup::CreateRigidGroup(this, references);
    if (group)
        m_rigidGroups.push_back(group);
    return group;
}

}  // namespace QEL
