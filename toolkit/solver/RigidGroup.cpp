#include "solver/RigidGroup.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceCombination.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"

#include <algorithm>

namespace QEL {

namespace {

// Records the behaviour for the body, or checks it against the one recorded; false on a clash.
bool AgreeBehaviour(std::map<int, ReferenceBehaviour>& behaviours, int body,
                    ReferenceBehaviour behaviour)
{
    const auto known = behaviours.find(body);
    if (known != behaviours.end())
        return known->second == behaviour;
    if (body != 0)
        behaviours[body] = behaviour;
    return true;
}

// The geometry already rigid with the reference's geometry must not bring in another
// behaviour for a body the interaction has seen.
bool AgreeSetMembers(Solver* solver, Reference* reference,
                     std::map<int, ReferenceBehaviour>& behaviours)
{
    Geometry* own = solver->FindGeometry(reference);
    Set* set = own ? own->GetSet() : nullptr;
    if (!set)
        return true;
    Interaction* interaction = reference->GetInteraction();
    for (GeometryBase* member : set->GetGeometry()) {
        auto* geometry = dynamic_cast<Geometry*>(member);
        if (!geometry || geometry->GetEntity() == reference->GetEntityTag())
            continue;
        const int body = GetOwningBody(geometry->GetEntity());
        if (!body || !interaction || !interaction->IsSeenBody(body))
            continue;
        ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
        Reference::FindBehaviourForEntity(interaction, geometry->GetEntity(), behaviour);
        if (!AgreeBehaviour(behaviours, body, behaviour))
            return false;
    }
    return true;
}

StarElement* ElementOf(Solver* solver, int body, Instance* instance)
{
    BodyStar* star = solver->GetBodyStar(body);
    return star ? star->GetStarElement(instance) : nullptr;
}

}  // namespace

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

bool RigidGroup::CheckReferences(Solver* solver, const std::vector<Reference*>& references,
                                 int& body, std::map<int, ReferenceBehaviour>& behaviours)
{
    if (references.empty())
        return false;
    body = FindInstancelessBody(references);
    for (Reference* reference : references) {
        if (!reference || solver->IsUsingProceduralObject(reference, true, true))
            return false;
        const int owner = GetOwningBody(reference->GetEntityTag());
        if (!AgreeBehaviour(behaviours, owner, reference->GetBehaviour()) ||
            !AgreeSetMembers(solver, reference, behaviours))
            return false;
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
    Set* global = body ? nullptr : group->MakeGlobalSet();
    for (Reference* reference : references) {
        const int entity = reference->GetEntityTag();
        Instance* instance = reference->GetInstance();
        const int owner = instance ? instance->GetBodyTag() : GetOwningBody(entity);
        // Free geometry on no body has no body-level Set; only the global Set holds it.
        if (!IsUninstancedReferenceOnBody(reference, 0)) {
            Set* level = group->GetBodyLevelSet(instance);
            const bool made = !level;
            if (made)
                level = group->MakeBodyLevelSet(instance);
            StarElement* element = global ? ElementOf(solver, owner, instance) : nullptr;
            if (element && group->IsPositioning(owner))
                global->UnionSets(element->GetMainSet());
            else if (element)
                element->LinkSets(level, global);
            // Without a star to link through or geometry to hold, the Set keeps an anchor.
            if (level->GetGeometry().empty())
                group->AddAnchorPoint(level);
            if (made)
                group->m_bodyLevelAnchors[instance] = *level->GetGeometry().begin();
        }
        if (global) {
            if (Geometry* geometry = solver->FindGeometry(reference))
                global->UnionGeometry(geometry);
            solver->RegisterRigidGroup(GeometryKey(entity, instance), group);
        }
    }
    if (global) {
        if (global->GetGeometry().empty())
            group->AddAnchorPoint(global);
        group->m_globalAnchor = *global->GetGeometry().begin();
    }
    return group;
}

RigidGroup::~RigidGroup()
{
    for (GeometryBase* point : m_anchorPoints) {
        if (Set* set = point->GetSet())
            set->RemoveGeometry(point);
        point->RemoveFromZMR();
        delete point;
    }
    m_anchorPoints.clear();
    m_bodyLevelAnchors.clear();
    m_behaviours.clear();
    m_references.clear();
}

Set* RigidGroup::MakeGlobalSet()
{
    if (!HasNoInstancelessBody(m_references))
        return nullptr;
    SetCollection sets;
    for (Reference* reference : m_references) {
        Instance* instance = reference->GetInstance();
        if (!instance)
            continue;
        const std::list<RigidGroup*>* groups =
            m_solver->FindRigidGroups(GeometryKey(reference->GetEntityTag(), instance));
        if (groups && !groups->empty())
            if (Set* set = groups->front()->GetGlobalSet())
                sets.insert(set);
        if (reference->GetBehaviour() == ReferenceBehaviourPositioning)
            if (StarElement* element = ElementOf(m_solver, instance->GetBodyTag(), instance)) {
                Set* main = element->GetMainSet();
                main->Fix(false);
                sets.insert(main);
            }
    }
    return MergeIntoOldest(sets);
}

Set* RigidGroup::MakeBodyLevelSet(Instance* instance)
{
    const int body =
        instance ? instance->GetBodyTag() : GetOwningBody(m_references.front()->GetEntityTag());
    SetCollection sets;
    std::vector<int> entities;
    for (Reference* reference : m_references) {
        const int entity = reference->GetEntityTag();
        const bool own = reference->GetInstance() == instance;
        if (own)
            entities.push_back(entity);
        const std::list<RigidGroup*>* groups =
            m_solver->FindRigidGroups(GeometryKey(entity, nullptr));
        if (!groups)
            continue;
        for (RigidGroup* other : *groups) {
            Set* set = nullptr;
            if (own && GetOwningBody(entity) == body) {
                if (other != this)
                    set = other->GetBodyLevelSetForEnt(entity);
                else
                    for (Reference* mine : m_references)
                        if (mine->GetEntityTag() == entity &&
                            (set = GetBodyLevelSet(mine->GetInstance())))
                            break;
            } else {
                set = other->GetBodyLevelSet(instance);
            }
            if (set)
                sets.insert(set);
        }
    }
    BodyStar* star = m_solver->GetBodyStar(body);
    if (star && IsPositioning(body))
        sets.insert(star->GetMainSet(nullptr));
    Set* level = MergeIntoOldest(sets);
    for (int entity : entities) {
        if (Geometry* geometry = m_solver->FindGeometry(GeometryKey(entity, nullptr)))
            level->UnionGeometry(geometry);
        m_solver->RegisterRigidGroup(GeometryKey(entity, nullptr), this);
    }
    return level;
}

Set* RigidGroup::MergeIntoOldest(const SetCollection& sets)
{
    if (sets.empty())
        return Set::CreateSet(m_solver);
    Set* oldest = *sets.begin();
    for (Set* other : sets)
        oldest->UnionSets(other);
    return oldest;
}

void RigidGroup::AddAnchorPoint(Set* set)
{
    const double origin[3] = {0.0, 0.0, 0.0};
    GPoint* point = new GPoint(m_solver, origin, nullptr, nullptr);
    point->AddToZMR();
    m_anchorPoints.push_back(point);
    set->AddGeometry(point);
}

bool RigidGroup::IsPositioning(int body) const
{
    const auto behaviour = m_behaviours.find(body);
    return behaviour != m_behaviours.end() && behaviour->second == ReferenceBehaviourPositioning;
}

Set* RigidGroup::GetGlobalSet() const
{
    return m_globalAnchor ? m_globalAnchor->GetSet() : nullptr;
}

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

Set* RigidGroup::GetBodyLevelSetForEnt(int entity) const
{
    const auto first = std::find_if(
        m_references.begin(), m_references.end(),
        [entity](Reference* reference) { return reference->GetEntityTag() == entity; });
    return first == m_references.end() ? nullptr : GetBodyLevelSet((*first)->GetInstance());
}

RigidGroup* Solver::MakeRigidGroup(const std::vector<Reference*>& references,
                                   bool registerPatternedFaces)
{
    RigidGroup* group = RigidGroup::CreateRigidGroup(this, references);
    if (group)
        m_rigidGroups.push_back(group);
    std::set<int> seen, visited;
    for (Reference* reference : references) {
        const int entity = reference ? reference->GetEntityTag() : 0;
        if (!entity || !seen.insert(entity).second || GetEntityClass(entity) != KernelClassFace)
            continue;
        // A face a feature is made from stands in the system on its own.
        Interaction* interaction = reference->GetInteraction();
        if (m_proceduralFeatureEntities.count(entity) &&
            IsFeatureProfileOrParent(interaction, entity))
            AddEntityGeometry(interaction, entity);
        // The face's pattern partners come into the pattern stars with it.
        if (registerPatternedFaces && m_patternedFaces.count(entity))
            AddToFacePatternStarMap(entity, &visited);
    }
    return group;
}

void Solver::GetFeatures(std::vector<int>& features) const
{
    for (const auto& entry : m_featureRigidGroups)
        features.push_back(entry.first);
}

const std::list<RigidGroup*>* Solver::FindRigidGroups(const GeometryKey& key) const
{
    const auto it = m_rigidGroupMap.find(key);
    return it == m_rigidGroupMap.end() ? nullptr : &it->second;
}

void Solver::RegisterRigidGroup(const GeometryKey& key, RigidGroup* group)
{
    std::list<RigidGroup*>& groups = m_rigidGroupMap[key];
    if (std::find(groups.begin(), groups.end(), group) == groups.end())
        groups.push_back(group);
}

}  // namespace QEL
