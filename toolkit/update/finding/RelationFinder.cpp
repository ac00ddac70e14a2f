// The relation finder's options and state: defaults, setters with their rollback recording,
// the hooks the interaction calls when it drops an object, copy and compare.
#include "update/finding/RelationFinder.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"

#include <algorithm>

namespace QEL {

namespace {

std::unique_ptr<RelationFinderState> MakeRelationFinder(Interaction* interaction)
{
    return std::make_unique<RelationFinder>(interaction);
}

[[maybe_unused]] const bool s_relationFinderInstalled =
    InstallRelationFinderStateMaker(&MakeRelationFinder);

// The geometry kinds of the default table, by their option indices.
const std::vector<int> s_all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const std::vector<int> s_plane = {FindGeometryTypePlane};
const std::vector<int> s_axial = {FindGeometryTypeCylinderFull,   FindGeometryTypeCylinderPartial,
                                  FindGeometryTypeConeFull,       FindGeometryTypeConePartial,
                                  FindGeometryTypeTorusMajorFull, FindGeometryTypeTorusMajorPartial,
                                  FindGeometryTypeLinearEdge,     FindGeometryTypeCircularEdge};
const std::vector<int> s_round = {
    FindGeometryTypeCylinderFull,   FindGeometryTypeCylinderPartial,
    FindGeometryTypeConeFull,       FindGeometryTypeConePartial,
    FindGeometryTypeTorusMajorFull, FindGeometryTypeTorusMajorPartial};
const std::vector<int> s_sphere = {FindGeometryTypeSphereFull, FindGeometryTypeSpherePartial};

std::vector<int> Join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> joined;
    for (const std::vector<int>& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

std::vector<int> AllBut(std::initializer_list<int> left)
{
    std::vector<int> kept;
    for (int type : s_all)
        if (std::find(left.begin(), left.end(), type) == left.end())
            kept.push_back(type);
    return kept;
}

// The relation types and geometry classes the test maps know.
const RelationType s_testRelationTypes[] = {
    RelationTypeDistance,   RelationTypeAngle,       RelationTypeHalfAngle,
    RelationTypeRadius,     RelationTypeMinorRadius, RelationTypeFixed,
    RelationTypeConcentric, RelationTypeParallel,    RelationTypePerpendicular,
    RelationTypeCoincident, RelationTypeEqualRadius, RelationTypeTangent,
};
const int s_testGeometryClasses[] = {KernelClassPoint, KernelClassLine,     KernelClassCircle,
                                     KernelClassPlane, KernelClassCylinder, KernelClassSphere,
                                     KernelClassTorus, KernelClassCone};

int EntityIdOf(const TaggedEntity* entity) { return entity ? entity->GetEntityId() : 0; }

template <typename Container>
std::vector<int> IdsOf(const Container& objects)
{
    std::vector<int> ids;
    for (const auto* object : objects)
        ids.push_back(EntityIdOf(object));
    return ids;
}

template <typename T>
std::vector<int> SortedIdsOf(const std::set<T*>& objects)
{
    std::vector<int> ids = IdsOf(objects);
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool EntityIsOfClass(Reference* reference, std::initializer_list<int> classes)
{
    if (!reference)
        return false;
    const int classCode = GetEntityClass(reference->GetEntityTag());
    return std::find(classes.begin(), classes.end(), classCode) != classes.end();
}

bool Contains(const std::vector<Reference*>& list, Reference* reference)
{
    return reference && std::find(list.begin(), list.end(), reference) != list.end();
}

// The class of an entity's geometry: itself for a geometry, its geometry's for topology.
int GeometryClassOfEntity(int entity)
{
    return IsGeometry(entity) ? GetEntityClass(entity) : GetGeometryClassOfTopology(entity);
}

}  // namespace

RelationFinder::RelationFinder(Interaction* interaction) : m_interaction(interaction)
{
    for (RelationType type : s_testRelationTypes)
        m_testRelationTypes[type] = false;
    for (int classCode : s_testGeometryClasses)
        m_testGeometryClasses[classCode] = false;
    ApplyOptionDefaults();
    m_createRelations = true;
}

RelationFinder::~RelationFinder() = default;

RelationFinder* RelationFinder::Of(Interaction* interaction)
{
    return interaction ? dynamic_cast<RelationFinder*>(interaction->GetRelationFinder()) : nullptr;
}

std::unique_ptr<RelationFinderState> RelationFinder::Clone() const
{
    // A snapshot's finder belongs to no interaction.
    auto copy = std::make_unique<RelationFinder>(nullptr);
    copy->CopyFrom(*this);
    return copy;
}

void RelationFinder::CopyFrom(const RelationFinderState& state)
{
    const RelationFinder* other = dynamic_cast<const RelationFinder*>(&state);
    if (!other || other == this)
        return;
    m_testRelationTypes = other->m_testRelationTypes;
    m_testGeometryClasses = other->m_testGeometryClasses;
    std::copy(&other->m_options[0][0][0],
              &other->m_options[0][0][0] + sizeof(m_options) / sizeof(int), &m_options[0][0][0]);
    m_acceptCallback = other->m_acceptCallback;
    m_createRelations = other->m_createRelations;
    m_similarMatchAxes = other->m_similarMatchAxes;
    m_symmetryMatchExact = other->m_symmetryMatchExact;
    m_lockCylinderRadius = other->m_lockCylinderRadius;
    m_lockSphereRadius = other->m_lockSphereRadius;
    m_lockTorusRadius = other->m_lockTorusRadius;
    m_lockTorusMinorRadius = other->m_lockTorusMinorRadius;
    m_lockConeHalfAngle = other->m_lockConeHalfAngle;
    m_createdRelations = other->m_createdRelations;
    m_createdVertices = other->m_createdVertices;
    m_foundRelations = other->m_foundRelations;
    m_symmetryPlanes = other->m_symmetryPlanes;
    m_coPlaxisReferences = other->m_coPlaxisReferences;
    m_principalPlanes = other->m_principalPlanes;
}

bool RelationFinder::IsEqual(const RelationFinderState& state) const
{
    const RelationFinder* other = dynamic_cast<const RelationFinder*>(&state);
    if (!other)
        return false;
    const bool flags[] = {m_createRelations,      m_similarMatchAxes, m_symmetryMatchExact,
                          m_lockCylinderRadius,   m_lockSphereRadius, m_lockTorusRadius,
                          m_lockTorusMinorRadius, m_lockConeHalfAngle};
    const bool otherFlags[] = {other->m_createRelations,      other->m_similarMatchAxes,
                               other->m_symmetryMatchExact,   other->m_lockCylinderRadius,
                               other->m_lockSphereRadius,     other->m_lockTorusRadius,
                               other->m_lockTorusMinorRadius, other->m_lockConeHalfAngle};
    if (!std::equal(std::begin(flags), std::end(flags), std::begin(otherFlags)))
        return false;
    if (m_testRelationTypes != other->m_testRelationTypes ||
        m_testGeometryClasses != other->m_testGeometryClasses)
        return false;
    if (!std::equal(&m_options[0][0][0], &m_options[0][0][0] + sizeof(m_options) / sizeof(int),
                    &other->m_options[0][0][0]))
        return false;
    if (IdsOf(m_coPlaxisReferences) != IdsOf(other->m_coPlaxisReferences) ||
        IdsOf(m_symmetryPlanes) != IdsOf(other->m_symmetryPlanes) ||
        IdsOf(m_principalPlanes) != IdsOf(other->m_principalPlanes))
        return false;
    if (SortedIdsOf(m_createdRelations) != SortedIdsOf(other->m_createdRelations) ||
        SortedIdsOf(m_createdVertices) != SortedIdsOf(other->m_createdVertices))
        return false;
    std::vector<std::pair<int, int>> found, otherFound;
    for (const auto& entry : m_foundRelations)
        found.emplace_back(EntityIdOf(entry.first), entry.second);
    for (const auto& entry : other->m_foundRelations)
        otherFound.emplace_back(EntityIdOf(entry.first), entry.second);
    std::sort(found.begin(), found.end());
    std::sort(otherFound.begin(), otherFound.end());
    return found == otherFound;
}

void RelationFinder::Record()
{
    if (m_interaction)
        m_interaction->ObjectModified(m_interaction);
}

void RelationFinder::SetFlag(bool& flag, bool on)
{
    Record();
    flag = on;
}

void RelationFinder::SetList(std::vector<Reference*>& list,
                             const std::vector<Reference*>& references)
{
    Record();
    list.clear();
    for (Reference* reference : references)
        if (reference)
            list.push_back(reference);
}

void RelationFinder::ApplyOptionDefaults()
{
    std::fill(&m_options[0][0][0], &m_options[0][0][0] + sizeof(m_options) / sizeof(int), -1);
    auto offer = [this](std::initializer_list<int> relations, const std::vector<int>& from,
                        const std::vector<int>& to) {
        for (int relation : relations)
            for (int f : from)
                for (int t : to)
                    m_options[relation][f][t] = 0;
    };
    // Symmetric and similar pairs are offered between the two forms of one kind only.
    auto offerSameKind = [this](std::initializer_list<int> relations,
                                const std::vector<int>& kind) {
        for (int relation : relations)
            for (int f : kind)
                for (int t : kind)
                    m_options[relation][f][t] = 0;
    };
    offer(
        {FindRelationTypeCoPlanar},
        {FindGeometryTypePlane, FindGeometryTypeTorusMinorFull, FindGeometryTypeTorusMinorPartial},
        s_all);
    offer({FindRelationTypeConcentric}, s_axial,
          AllBut({FindGeometryTypePlane, FindGeometryTypeTorusMinorFull,
                  FindGeometryTypeTorusMinorPartial}));
    offer({FindRelationTypeParallel, FindRelationTypePerpendicular}, s_plane,
          Join({s_plane, s_axial}));
    offer({FindRelationTypeCoPlaxis}, s_axial, s_all);
    offer({FindRelationTypeTangent}, Join({s_plane, s_round, s_sphere}),
          AllBut({FindGeometryTypeTorusMinorFull, FindGeometryTypeTorusMinorPartial}));
    offer({FindRelationTypeTangentAtEdge}, s_plane, s_round);
    offer({FindRelationTypeTangentAtEdge}, s_round, Join({s_plane, s_round, s_sphere}));
    offer({FindRelationTypeTangentAtEdge}, s_sphere, s_round);
    offer({FindRelationTypeSymmetric}, s_plane, s_plane);
    offer({FindRelationTypeSymmetric}, {FindGeometryTypeLinearEdge}, {FindGeometryTypeLinearEdge});
    offer({FindRelationTypeSymmetric}, {FindGeometryTypeCircularEdge},
          {FindGeometryTypeCircularEdge});
    const std::vector<int> kinds[] = {
        {FindGeometryTypeCylinderFull, FindGeometryTypeCylinderPartial},
        {FindGeometryTypeConeFull, FindGeometryTypeConePartial},
        {FindGeometryTypeTorusMajorFull, FindGeometryTypeTorusMajorPartial},
        s_sphere,
    };
    for (const std::vector<int>& kind : kinds)
        offerSameKind({FindRelationTypeSymmetric, FindRelationTypeSimilar}, kind);
}

bool RelationFinder::IsIndexInMatrix(int relation, int from, int to) const
{
    return relation >= 0 && relation < s_relationTypeCount && from >= 0 &&
           from < s_geometryTypeCount && to >= 0 && to < s_geometryTypeCount;
}

int RelationFinder::SetRelationGeometryOption(FindRelationType relation, FindGeometryType from,
                                              FindGeometryType to, int level)
{
    if (!IsIndexInMatrix(relation, from, to) || m_options[relation][from][to] == -1 || level < 0)
        return -1;
    Record();
    m_options[relation][from][to] = level;
    return level;
}

int RelationFinder::GetRelationGeometryOption(FindRelationType relation, FindGeometryType from,
                                              FindGeometryType to) const
{
    return IsIndexInMatrix(relation, from, to) ? m_options[relation][from][to] : -1;
}

void RelationFinder::ResetRelationGeometryOptions()
{
    Record();
    ApplyOptionDefaults();
}

void RelationFinder::SetAcceptRelationCallback(FindAcceptRelationFunction callback)
{
    if (callback == m_acceptCallback)
        return;
    Record();
    m_acceptCallback = callback;
}

void RelationFinder::SetSymmetryPlanes(const std::vector<Reference*>& references)
{
    SetList(m_symmetryPlanes, references);
}

void RelationFinder::SetCoPlaxisReferences(const std::vector<Reference*>& references)
{
    SetList(m_coPlaxisReferences, references);
}

void RelationFinder::SetPrinciplePlanes(const std::vector<Reference*>& references)
{
    SetList(m_principalPlanes, references);
}

bool RelationFinder::SetFindQelRelationType(RelationType type, bool on)
{
    const auto entry = m_testRelationTypes.find(type);
    if (entry == m_testRelationTypes.end())
        return false;
    Record();
    entry->second = on;
    return true;
}

bool RelationFinder::SetFindQelGeometryType(int geometryClass, bool on)
{
    const auto entry = m_testGeometryClasses.find(geometryClass);
    if (entry == m_testGeometryClasses.end())
        return false;
    Record();
    entry->second = on;
    return true;
}

bool RelationFinder::IsSymmetryPlane(Reference* reference) const
{
    return Contains(m_symmetryPlanes, reference) && EntityIsOfClass(reference, {KernelClassPlane});
}

bool RelationFinder::IsCoPlaxisReference(Reference* reference) const
{
    return Contains(m_coPlaxisReferences, reference) &&
           EntityIsOfClass(reference, {KernelClassPlane, KernelClassLine});
}

bool RelationFinder::IsPrincipalPlane(Reference* reference) const
{
    return Contains(m_principalPlanes, reference) && EntityIsOfClass(reference, {KernelClassPlane});
}

int RelationFinder::GetFoundRelationLevel(Relation* relation) const
{
    const auto found = m_foundRelations.find(relation);
    return found == m_foundRelations.end() ? 0 : found->second;
}

void RelationFinder::AddFoundRelation(Relation* relation, int level)
{
    if (!relation)
        return;
    Record();
    m_foundRelations[relation] = level;
}

void RelationFinder::AddCreatedRelation(Relation* relation)
{
    if (!relation)
        return;
    Record();
    m_createdRelations.insert(relation);
}

void RelationFinder::AddCreatedVirtualVertex(VirtualVertex* vertex)
{
    if (!vertex)
        return;
    Record();
    m_createdVertices.insert(vertex);
}

void RelationFinder::ClearFoundRelations(bool destroy)
{
    if (destroy) {
        // Destroying an object calls back into RemoveRelation and RemoveVirtualVertex, which
        // change the sets: walk copies.
        const std::set<Relation*> relations = m_createdRelations;
        for (Relation* relation : relations)
            relation->Destroy();
        const std::set<VirtualVertex*> vertices = m_createdVertices;
        for (VirtualVertex* vertex : vertices)
            vertex->Destroy();
    }
    Record();
    m_createdRelations.clear();
    m_createdVertices.clear();
    Record();
    m_foundRelations.clear();
}

void RelationFinder::RemoveRelation(Relation* relation)
{
    if (m_createdRelations.count(relation)) {
        Record();
        m_createdRelations.erase(relation);
    }
    if (m_foundRelations.count(relation)) {
        Record();
        m_foundRelations.erase(relation);
    }
}

void RelationFinder::RemoveReference(Reference* reference)
{
    for (std::vector<Reference*>* list :
         {&m_symmetryPlanes, &m_coPlaxisReferences, &m_principalPlanes}) {
        if (std::find(list->begin(), list->end(), reference) == list->end())
            continue;
        Record();
        list->erase(std::remove(list->begin(), list->end(), reference), list->end());
    }
}

void RelationFinder::RemoveVirtualVertex(VirtualVertex* vertex)
{
    if (!m_createdVertices.count(vertex))
        return;
    Record();
    m_createdVertices.erase(vertex);
}

void RelationFinder::TestSetupFoundRelations()
{
    if (!m_interaction)
        return;
    const std::vector<Relation*> relations = m_interaction->GetRelations();
    for (size_t i = 0; i < relations.size(); ++i) {
        AddFoundRelation(relations[i], static_cast<int>(i) + 1);
        AddCreatedRelation(relations[i]);
    }
}

int RelationFinder::TestQelFindRelations()
{
    if (!m_interaction)
        return 0;
    std::vector<Reference*> gathered;
    for (Reference* selected : m_interaction->GetSelectedReferences()) {
        if (!selected)
            continue;
        std::vector<Reference*> same;
        selected->FindSameEntityReferences(false, same);
        gathered.push_back(selected);
        gathered.insert(gathered.end(), same.begin(), same.end());
    }
    auto isGathered = [&](Reference* reference) {
        return std::find(gathered.begin(), gathered.end(), reference) != gathered.end();
    };
    std::vector<Relation*> found;
    for (Reference* reference : gathered) {
        std::vector<Relation*> relations;
        reference->GetRelations(relations);
        for (Relation* relation : relations) {
            if (!relation || std::find(found.begin(), found.end(), relation) != found.end())
                continue;
            const auto type = m_testRelationTypes.find(relation->GetType());
            if (type == m_testRelationTypes.end() || !type->second)
                continue;
            const std::vector<Reference*>& references = relation->GetReferences();
            if (!std::all_of(references.begin(), references.end(), isGathered))
                continue;
            bool classOn = references.size() == 1;
            for (size_t i = 1; i < references.size() && !classOn; ++i) {
                const auto geometry = m_testGeometryClasses.find(
                    GeometryClassOfEntity(references[i]->GetEntityTag()));
                classOn = geometry != m_testGeometryClasses.end() && geometry->second;
            }
            if (classOn)
                found.push_back(relation);
        }
    }
    if (!found.empty())
        Record();
    for (Relation* relation : found)
        m_foundRelations[relation] = 1;
    return static_cast<int>(found.size());
}

}  // namespace QEL
