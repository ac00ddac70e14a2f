// From the model's keys to the Solver's nodes: geometry of (entity, Instance) keys, procedural
// geometry of offsets, body stars and section instances, and the bonds of relations.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/ReferenceQueries.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "solver/PatternStar.h"
#include "solver/RigidGroup.h"
#include "solver/SolverFeature.h"
#include "solver/Stars.h"
#include "solver/operations/OffsetFacesOp.h"

#include <brennik.h>

namespace QEL {

Geometry* Solver::GetOrMakeGeometry(const GeometryKey& key)
{
    // One search of the map serves the lookup and the insertion: a Solver makes the geometry
    // of every face it meets, and the map holds thousands of them.
    const auto at = m_geometries.lower_bound(key);
    const bool listed = at != m_geometries.end() && !m_geometries.key_comp()(key, at->first);
    if (listed && at->second)
        return at->second;
    Geometry* geometry = GetOrMakeProceduralGeometry(key.first, key.second);
    if (!geometry) {
        geometry = Geometry::CreateGeometry(this, key.first, key.second);
        if (!geometry)
            return nullptr;
        // The hint stays a valid position whatever the procedural objects added meanwhile.
        m_geometries.emplace_hint(at, key, geometry)->second = geometry;
    }
    const std::list<RigidGroup*>* groups = FindRigidGroups(key);
    if (!groups || groups->empty())
        return geometry;
    // New geometry of a key a rigid group holds joins that group's Set at once.
    geometry->AddToZMR();
    RigidGroup* group = groups->front();
    Set* set = !key.second && GetOwningBody(key.first) ? group->GetBodyLevelSetForEnt(key.first)
                                                       : group->GetGlobalSet();
    if (set)
        set->UnionGeometry(geometry);
    return geometry;
}

Geometry* Solver::GetOrMakeGeometry(Reference* reference)
{
    if (!reference)
        return nullptr;
    return GetOrMakeGeometry(
        GeometryKey(GetReferenceEntityTag(reference), GetReferenceInstance(reference)));
}

Geometry* Solver::GetOrMakeProceduralGeometry(int entity, Instance* instance)
{
    const GeometryKey key(entity, instance);
    if (!m_offsetFaceEntities.count(entity) && !m_proceduralFeatureEntities.count(entity))
        return nullptr;
    if (m_offsetFaceEntities.count(entity) && !m_offsets.empty()) {
        GeometryBase* made = (*m_offsets.begin())->GetOrMakeProceduralGeometry(entity, instance);
        if (Geometry* geometry = dynamic_cast<Geometry*>(made))
            m_geometries[key] = geometry;
    }
    for (auto it = m_features.begin(); it != m_features.end() && !FindGeometry(key); ++it) {
        GeometryBase* made = nullptr;
        if ((*it)->GetProceduralEntities().count(entity))
            made = (*it)->GetOrMakeProceduralGeometry(entity, instance);
        if (!made)
            made = (*it)->GetOrMakeProfileGeometry(entity, instance);
        if (Geometry* geometry = dynamic_cast<Geometry*>(made))
            m_geometries[key] = geometry;
    }
    // Every feature the entity depends on relates it to its own geometry, so each is asked even
    // once the geometry is made.
    for (SolverFeature* feature : m_features)
        if (Geometry* geometry =
                dynamic_cast<Geometry*>(feature->GetOrMakeDependentGeometry(entity, instance)))
            if (!FindGeometry(key))
                m_geometries[key] = geometry;
    return FindGeometry(key);
}

bool Solver::AddReferenceGeometry(Interaction*, const GeometryKey& key,
                                  ReferenceBehaviour behaviour, RelationSubtype subtype)
{
    Geometry* geometry = GetOrMakeGeometry(key);
    if (!geometry)
        return false;
    BodyStar* star = GetBodyStar(GetOwningBody(key.first));
    if (star && star->AddReference(key, behaviour, subtype)) {
        AddToFacePatternStarMap(key.first, nullptr);
        return true;
    }
    geometry->AddToZMR();
    std::vector<GeometryBase*> construction;
    GetOrMakeTemporaryConstructionGeometry(subtype, key, construction);
    AddToFacePatternStarMap(key.first, nullptr);
    return false;
}

bool Solver::AddEntityGeometry(Interaction* interaction, int entity)
{
    if (!GetOwningBody(entity))
        return false;
    ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
    Reference::FindBehaviourForEntity(interaction, entity, behaviour);
    return AddReferenceGeometry(interaction, GeometryKey(entity, nullptr), behaviour,
                                RelationSubtypeBoundary);
}

// ---- Stars and sections -----------------------------------------------------------------------

BodyStar* Solver::GetBodyStar(int body) const
{
    const auto it = m_bodyStars.find(body);
    return it == m_bodyStars.end() ? nullptr : it->second;
}

RTNode* Solver::GetRTNode(Instance* instance) const
{
    if (!instance)
        return nullptr;
    BodyStar* star = GetBodyStar(instance->GetBodyTag());
    return star ? star->GetRTNode(instance) : nullptr;
}

void Solver::CreateBodyStars(const std::vector<Instance*>& instances)
{
    DeleteBodyStars();
    for (Instance* instance : instances) {
        if (!instance || IsSectionInstance(instance->GetInteraction(), instance))
            continue;
        BodyStar*& star = m_bodyStars[instance->GetBodyTag()];
        if (!star)
            star = new BodyStar(this, instance->GetBodyTag());
        star->GetOrMakeRTNode(instance, nullptr);
    }
    for (Instance* instance : instances)
        if (instance && IsSectionInstance(instance->GetInteraction(), instance))
            GetOrMakeSectionRTNode(instance);
}

void Solver::DeleteBodyStars()
{
    for (auto& entry : m_bodyStars)
        delete entry.second;
    m_bodyStars.clear();
}

void Solver::DeleteFacePatternStars()
{
    for (auto& entry : m_facePatternStars)
        delete entry.second;
    m_facePatternStars.clear();
}

RTNode* Solver::GetOrMakeSectionRTNode(Instance* sectionInstance)
{
    if (!sectionInstance)
        return nullptr;
    Instance* cut = GetCutInstanceOfSectionInstance(sectionInstance);
    // Without the cut Instance's star the section instance gets a node of its own.
    BodyStar* cutStar = cut ? GetBodyStar(cut->GetBodyTag()) : nullptr;
    RTNode* cutNode = cutStar ? cutStar->GetOrMakeRTNode(cut, nullptr) : nullptr;
    BodyStar*& star = m_bodyStars[sectionInstance->GetBodyTag()];
    if (!star)
        star = new BodyStar(this, sectionInstance->GetBodyTag());
    return star->GetOrMakeRTNode(sectionInstance, cutNode);
}

namespace {

// The Sections of the Instance's Interaction, in their order, on a copy of the container.
std::vector<Section*> SectionsOf(Interaction* interaction)
{
    return interaction ? interaction->GetSections() : std::vector<Section*>();
}

Section* SectionCutting(Instance* sectionInstance)
{
    if (!sectionInstance)
        return nullptr;
    for (Section* section : SectionsOf(sectionInstance->GetInteraction()))
        if (section->GetCutInstance(sectionInstance))
            return section;
    return nullptr;
}

}  // namespace

bool Solver::IsSectionInstance(Interaction* interaction, Instance* instance)
{
    for (Section* section : SectionsOf(interaction))
        if (section->IsASectionInstance(instance))
            return true;
    return false;
}

bool Solver::IsSectionPlane(Interaction* interaction, const GeometryKey& key)
{
    for (Section* section : SectionsOf(interaction))
        if (section->IsASectionPlane(key))
            return true;
    return false;
}

Instance* Solver::GetCutInstanceOfSectionInstance(Instance* instance)
{
    Section* section = SectionCutting(instance);
    return section ? section->GetCutInstance(instance) : nullptr;
}

Reference* Solver::GetSectionPlaneOfSectionInstance(Instance* instance)
{
    Section* section = SectionCutting(instance);
    return section ? section->GetSectionPlane() : nullptr;
}

// ---- Procedural objects -------------------------------------------------------------------------

bool Solver::IsUsingProceduralObject(Interaction* interaction, int entity,
                                     bool requireNonSimpleFeature, bool excludeFeatureReferences)
{
    if (excludeFeatureReferences && IsFeatureProfileOrParent(interaction, entity))
        return false;
    auto answer = [&](int tag) {
        if (!m_proceduralFeatureEntities.count(tag) && !m_offsetFaceEntities.count(tag))
            return false;
        return !requireNonSimpleFeature || HasNonSimpleFeatureOnEntity(interaction, tag);
    };
    if (answer(entity))
        return true;
    const int entityClass = GetEntityClass(entity);
    if (entityClass != KernelClassVertex && entityClass != KernelClassEdge)
        return false;
    int count = 0;
    int* faces = nullptr;
    const int error = entityClass == KernelClassVertex ? BQ_VERTEX_ask_faces(entity, &count, &faces)
                                                       : BQ_EDGE_ask_faces(entity, &count, &faces);
    bool found = false;
    for (int i = 0; error == BQ_ERROR_no_errors && i < count && !found; ++i)
        found = answer(faces[i]);
    BQ_MEMORY_free(faces);
    return found;
}

bool Solver::IsUsingProceduralObject(Reference* reference, bool requireNonSimpleFeature,
                                     bool excludeFeatureReferences)
{
    return reference &&
           IsUsingProceduralObject(reference->GetInteraction(), reference->GetEntityTag(),
                                   requireNonSimpleFeature, excludeFeatureReferences);
}

void Solver::AddOffsetFacesOp(OffsetFacesOp* operation)
{
    if (!operation)
        return;
    SolverOffset* offset = SolverOffset::CreateSolverOffset(this, operation);
    offset->AddToZMR();
    offset->Fix(true);
    m_offsets.insert(offset);
    std::vector<int> faces = operation->GetFaces();
    for (const auto& partner : operation->GetPartnerOffsets())
        faces.push_back(partner.first);
    for (int face : faces) {
        offset->GetProceduralEntities().insert(face);
        m_offsetFaceEntities.insert(face);
    }
}

SolverOffset* Solver::FindSolverOffset(OffsetFacesOp* operation) const
{
    for (SolverOffset* offset : m_offsets)
        if (offset->GetOffsetFacesOp() == operation)
            return offset;
    return nullptr;
}

// ---- Relations ----------------------------------------------------------------------------------

const std::list<Bond*>* Solver::GetRelationBonds(Relation* relation) const
{
    const auto it = m_relationBonds.find(relation);
    return it == m_relationBonds.end() ? nullptr : &it->second;
}

bool Solver::SetRelationValue(Relation* relation, double value)
{
    const std::list<Bond*>* bonds = GetRelationBonds(relation);
    if (!bonds || bonds->empty() || !bonds->front())
        return false;
    return bonds->front()->SetValue(value);
}

bool Solver::SetRelationNonRigid(Relation* relation)
{
    const std::list<Bond*>* bonds = GetRelationBonds(relation);
    TypedBond* bond = bonds && !bonds->empty() ? dynamic_cast<TypedBond*>(bonds->front()) : nullptr;
    return bond && bond->SetRigid(false);
}

}  // namespace QEL
