// Relation candidates: made from what the auto-constraint manager reports, keyed, indexed
// lazily, merged level by level, and finally matched with existing relations or made.
#include "update/finding/RelationCandidate.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceCombination.h"
#include "model/relations/Relation.h"
#include "update/finding/RelationFinder.h"

#include <algorithm>
#include <cstdio>

namespace QEL {

namespace {

// The candidates a list reserves room for: the manager's callback then only appends.
constexpr size_t s_reservedCandidates = 100;

// The behaviour a reference on the entity would get: that of the interaction's first
// reference on it, else modelling.
ReferenceBehaviour BehaviourFor(Interaction* interaction, int entity)
{
    ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
    Reference::FindBehaviourForEntity(interaction, entity, behaviour);
    return behaviour;
}

}  // namespace

RelationCandidate::RelationCandidate(Interaction* interaction, int level, RelationType type,
                                     Instance* instance1, int entity1, Instance* instance2,
                                     int entity2, Instance* instance3, int entity3)
    : m_interaction(interaction), m_level(level), m_type(type)
{
    m_instances[0] = instance1;
    m_instances[1] = instance2;
    m_instances[2] = instance3;
    m_entities[0] = entity1;
    m_entities[1] = entity2;
    m_entities[2] = entity3;
}

RelationType RelationCandidate::ToRelationType(int code)
{
    static const RelationType types[] = {RelationTypeCoPlanar,  RelationTypeConcentric,
                                         RelationTypeParallel,  RelationTypePerpendicular,
                                         RelationTypeCoPlaxis,  RelationTypeTangent,
                                         RelationTypeSymmetric, RelationTypeSimilar};
    return code >= 0 && code < 8 ? types[code] : RelationTypeDistance;
}

int RelationCandidate::GetEntityCount(RelationType type)
{
    switch (type) {
        case RelationTypeEqualRadius:
        case RelationTypeSimilar:
        case RelationTypeParallel:
        case RelationTypePerpendicular:
        case RelationTypeCoincident:
        case RelationTypeConcentric:
        case RelationTypeTangent:
        case RelationTypeCoPlanar:
        case RelationTypeRigid:
            return 2;
        case RelationTypeSymmetric:
        case RelationTypeCoPlaxis:
            return 3;
        case RelationTypeFixed:
            return 1;
        default:
            return 0;
    }
}

RelationCandidate RelationCandidate::FromRelationship(Interaction* interaction, int level,
                                                      const YSK_dnode_data_s& relationship)
{
    const RelationType type = ToRelationType(relationship.relation);
    RelationCandidate candidate(
        interaction, level, type, static_cast<Instance*>(relationship.ends[0].instance),
        relationship.ends[0].entity, static_cast<Instance*>(relationship.ends[1].instance),
        relationship.ends[1].entity, static_cast<Instance*>(relationship.ends[2].instance),
        relationship.ends[2].entity);
    const int count = GetEntityCount(type);
    for (int i = count; i < 3; ++i) {
        candidate.m_instances[i] = nullptr;
        candidate.m_entities[i] = 0;
    }
    // A relation within one Instance is a change of that body's shape: it is kept without
    // Instance.
    if (count == 2 && candidate.m_instances[0] == candidate.m_instances[1])
        candidate.m_instances[0] = candidate.m_instances[1] = nullptr;
    if (count == 3 && candidate.m_instances[0] == candidate.m_instances[1] &&
        candidate.m_instances[1] == candidate.m_instances[2])
        candidate.m_instances[0] = candidate.m_instances[1] = candidate.m_instances[2] = nullptr;
    return candidate;
}

std::string RelationCandidate::GetKey() const
{
    int first = 0, second = 1;
    if (m_entities[1] <= m_entities[0])
        std::swap(first, second);
    char text[160];
    std::snprintf(text, sizeof(text), "%i %i %p %i %p %i %p", static_cast<int>(m_type),
                  m_entities[first], static_cast<void*>(m_instances[first]), m_entities[second],
                  static_cast<void*>(m_instances[second]), m_entities[2],
                  static_cast<void*>(m_instances[2]));
    return text;
}

bool RelationCandidate::IsTangentOfAdjacentFaces() const
{
    return m_type == RelationTypeTangent && !m_instances[0] && !m_instances[1] &&
           IsFace(m_entities[0]) && IsFace(m_entities[1]) &&
           AreFacesAdjacent(m_entities[0], m_entities[1]);
}

bool RelationCandidate::IsShellPartnerPair() const
{
    if (!IsFace(m_entities[0]) || !IsFace(m_entities[1]) || m_type == RelationTypePerpendicular ||
        m_type == RelationTypeSimilar || IsTangentOfAdjacentFaces())
        return false;
    std::vector<int> partners;
    if (!FindShellCluster(m_entities[0], nullptr, &partners, nullptr))
        return false;
    return std::find(partners.begin(), partners.end(), m_entities[1]) != partners.end();
}

int RelationCandidate::FindMatchingRelations(std::vector<Relation*>& out) const
{
    Relation::KeyMap keys;
    for (int i = 0; i < GetEntityCount(m_type); ++i)
        keys[{m_entities[i], m_instances[i]}] = RelationSubtypeBoundary;
    return Relation::FindMatchingRelations(m_interaction, nullptr, m_type, 0.0, keys, out);
}

Relation* RelationCandidate::CreateRelation() const
{
    std::vector<Reference*> references;
    std::vector<Reference*> made;
    bool complete = true;
    for (int i = 0; i < GetEntityCount(m_type) && complete; ++i) {
        std::vector<Reference*> existing;
        m_interaction->FindReferencesOnEntity(m_entities[i], m_instances[i], existing);
        Reference* reference = Reference::Create(m_interaction, m_entities[i], m_instances[i]);
        complete = reference != nullptr;
        if (!reference)
            break;
        references.push_back(reference);
        if (existing.empty())
            made.push_back(reference);
    }
    Relation* relation = complete ? Relation::Create(m_interaction, m_type, references) : nullptr;
    if (!relation) {
        // Only references this attempt made go again; a reference the application holds stays.
        for (Reference* reference : made)
            if (reference->GetObjectCount() == 0)
                reference->Destroy();
    }
    return relation;
}

RelationCandidateList::RelationCandidateList(Interaction* interaction) : m_interaction(interaction)
{
    m_candidates.reserve(s_reservedCandidates);
}

void RelationCandidateList::AddRelationship(Interaction* interaction, int level,
                                            const YSK_dnode_data_s& relationship)
{
    const RelationCandidate candidate =
        RelationCandidate::FromRelationship(interaction, level, relationship);
    const int count = RelationCandidate::GetEntityCount(candidate.GetType());
    if (count != 2 && count != 3)
        return;
    std::vector<ReferenceKey> keys;
    for (int i = 0; i < count; ++i)
        keys.emplace_back(candidate.GetEntity(i), candidate.GetInstance(i),
                          BehaviourFor(interaction, candidate.GetEntity(i)));
    if (ReferenceCombination(keys).IsValidForRelationType(candidate.GetType()))
        Add(candidate, false);
}

void RelationCandidateList::Index(size_t position)
{
    const RelationCandidate& candidate = m_candidates[position];
    // The first candidate of a key keeps it, as RemoveDuplicates keeps the first.
    m_index.emplace(candidate.GetKey(), position);
    if (candidate.GetType() == RelationTypeSimilar || candidate.IsTangentOfAdjacentFaces())
        return;
    for (int i = 0; i < RelationCandidate::GetEntityCount(candidate.GetType()); ++i)
        m_entities.insert(candidate.GetEntity(i));
}

void RelationCandidateList::Add(const RelationCandidate& candidate, bool indexNow)
{
    const bool upToDate = IsIndexUpToDate();
    m_candidates.push_back(candidate);
    // A repeated key leaves the index short of the list: it is rebuilt on next need.
    if (indexNow && upToDate)
        Index(m_candidates.size() - 1);
}

void RelationCandidateList::EnsureIndex()
{
    if (IsIndexUpToDate())
        return;
    m_index.clear();
    m_entities.clear();
    for (size_t i = 0; i < m_candidates.size(); ++i)
        Index(i);
}

bool RelationCandidateList::Find(const RelationCandidate& candidate, size_t* position)
{
    EnsureIndex();
    const auto found = m_index.find(candidate.GetKey());
    if (found == m_index.end())
        return false;
    if (position)
        *position = found->second;
    return true;
}

bool RelationCandidateList::ContainsEntity(int entity)
{
    EnsureIndex();
    return m_entities.count(entity) != 0;
}

size_t RelationCandidateList::RemoveDuplicates()
{
    if (IsIndexUpToDate())
        return m_candidates.size();
    std::vector<RelationCandidate> kept;
    kept.reserve(std::max(m_candidates.size(), s_reservedCandidates));
    std::set<std::string> keys;
    for (const RelationCandidate& candidate : m_candidates)
        if (keys.insert(candidate.GetKey()).second)
            kept.push_back(candidate);
    m_candidates.swap(kept);
    m_index.clear();
    m_entities.clear();
    for (size_t i = 0; i < m_candidates.size(); ++i)
        Index(i);
    return m_candidates.size();
}

void RelationCandidateList::Merge(RelationCandidateList& other)
{
    m_index.clear();
    m_entities.clear();
    for (RelationCandidate& candidate : other.m_candidates) {
        if (!candidate.IsAccepted() || candidate.IsCreated())
            continue;
        m_candidates.push_back(candidate);
        candidate.SetCreated(true);
    }
}

void RelationCandidateList::AddNeighbourTangents(int face, int excluded, RelationCandidateList& out)
{
    std::vector<int> neighbours;
    GetNeighbourFaces(face, neighbours);
    for (int neighbour : neighbours) {
        if (neighbour == excluded)
            continue;
        RelationCandidate tangent(m_interaction, 0, RelationTypeTangent, nullptr, face, nullptr,
                                  neighbour);
        size_t position = 0;
        if (!Find(tangent, &position))
            continue;
        tangent.SetLevel(m_candidates[position].GetLevel());
        out.Add(tangent, true);
    }
}

void RelationCandidateList::Clear()
{
    m_candidates.clear();
    m_index.clear();
    m_entities.clear();
}

ResultType RelationCandidateList::CreateRelations(std::vector<Relation*>* out)
{
    RelationFinder* finder = RelationFinder::Of(m_interaction);
    for (RelationCandidate& candidate : m_candidates) {
        if (!candidate.IsAccepted() || candidate.IsCreated())
            continue;
        std::vector<Relation*> matching;
        if (candidate.FindMatchingRelations(matching) == 0)
            continue;
        candidate.SetCreated(true);
        for (Relation* relation : matching) {
            if (finder)
                finder->AddFoundRelation(relation, candidate.GetLevel());
            if (out)
                out->push_back(relation);
        }
    }
    for (RelationCandidate& candidate : m_candidates) {
        if (!candidate.IsAccepted() || candidate.IsCreated())
            continue;
        Relation* relation = candidate.CreateRelation();
        if (!relation)
            return ResultTypeFail;
        if (finder) {
            finder->AddCreatedRelation(relation);
            finder->AddFoundRelation(relation, candidate.GetLevel());
        }
        candidate.SetCreated(true);
        if (out)
            out->push_back(relation);
    }
    return ResultTypeOk;
}

}  // namespace QEL
