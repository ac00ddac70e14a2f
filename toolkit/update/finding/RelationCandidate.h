#pragma once
// A relation found but not yet made, and the lists a find gathers them in. A list is the sink
// of the auto-constraint manager's find: each relationship it reports is appended as a
// candidate, and the list indexes its candidates by key only when asked.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "update/autoconstraint/YSKManager.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace QEL {

class Instance;
class Interaction;
class Relation;

class QEL_API RelationCandidate {
public:
    RelationCandidate() = default;
    RelationCandidate(Interaction* interaction, int level, RelationType type, Instance* instance1,
                      int entity1, Instance* instance2 = nullptr, int entity2 = 0,
                      Instance* instance3 = nullptr, int entity3 = 0);
    // From a relationship the manager reported: its type mapped, its ends' Instances and
    // entities, the Instances cleared when all of them are one Instance.
    static RelationCandidate FromRelationship(Interaction* interaction, int level,
                                              const YSK_dnode_data_s& relationship);
    // The manager's relation code as a relation type; Distance for an unknown code.
    static RelationType ToRelationType(int code);
    // 2, 3, 1 (Fixed) or 0 by type.
    static int GetEntityCount(RelationType type);

    // The type, the smaller then the larger of the first two entities with their Instances,
    // and the third: equal keys are one relation.
    std::string GetKey() const;

    Interaction* GetInteraction() const { return m_interaction; }
    int GetLevel() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    bool IsAccepted() const { return m_accepted; }
    void SetAccepted(bool accepted) { m_accepted = accepted; }
    bool IsCreated() const { return m_created; }
    void SetCreated(bool created) { m_created = created; }
    RelationType GetType() const { return m_type; }
    int GetEntity(int index) const { return m_entities[index]; }
    Instance* GetInstance(int index) const { return m_instances[index]; }

    // Tangent, no Instances, two faces sharing an edge.
    bool IsTangentOfAdjacentFaces() const;
    // Two faces, not perpendicular or similar, not adjacent tangents, the second among the
    // first's shell partners.
    bool IsShellPartnerPair() const;
    // The interaction's relations of the type on the candidate's entities.
    int FindMatchingRelations(std::vector<Relation*>& out) const;
    // One reference per entity, then the relation: null, with the references made for it
    // destroyed again unless something else uses them, when either cannot be made.
    Relation* CreateRelation() const;

private:
    Interaction* m_interaction = nullptr;
    int m_level = 0;
    bool m_accepted = false;
    bool m_created = false;
    RelationType m_type = RelationTypeDistance;
    Instance* m_instances[3] = {nullptr, nullptr, nullptr};
    int m_entities[3] = {0, 0, 0};
};

class QEL_API RelationCandidateList : public YSKRelationshipSink {
public:
    explicit RelationCandidateList(Interaction* interaction);

    // The manager's report: the candidate, when its references could make a relation of its
    // type, appended without indexing.
    void AddRelationship(Interaction* interaction, int level,
                         const YSK_dnode_data_s& relationship) override;

    Interaction* GetInteraction() const { return m_interaction; }
    std::vector<RelationCandidate>& GetCandidates() { return m_candidates; }
    const std::vector<RelationCandidate>& GetCandidates() const { return m_candidates; }
    size_t GetCount() const { return m_candidates.size(); }
    RelationCandidate& operator[](size_t index) { return m_candidates[index]; }

    // Appends a copy; with indexNow, and an index that is up to date, indexes it too.
    void Add(const RelationCandidate& candidate, bool indexNow);
    // Rebuilds a stale index; where keys repeat, the first candidate keeps the key.
    void EnsureIndex();
    bool Find(const RelationCandidate& candidate, size_t* position);
    bool ContainsEntity(int entity);
    // Keeps the first candidate of each key, in order, when the index is stale; the count.
    size_t RemoveDuplicates();
    // Appends every accepted candidate of other that is not created yet, marking it created
    // there.
    void Merge(RelationCandidateList& other);
    // Matches or makes a relation for each accepted candidate not yet created, listing each as
    // found with its level and appending it to out when given; Fail when one cannot be made.
    ResultType CreateRelations(std::vector<Relation*>* out);
    // For each neighbour of the face but the excluded one whose tangent with the face this list
    // holds: that tangent (no Instances, the found one's level, not accepted) into out.
    void AddNeighbourTangents(int face, int excluded, RelationCandidateList& out);
    void Clear();

private:
    bool IsIndexUpToDate() const { return m_index.size() == m_candidates.size(); }
    void Index(size_t position);

    Interaction* m_interaction;
    std::vector<RelationCandidate> m_candidates;
    std::map<std::string, size_t> m_index;
    std::set<int> m_entities;
};

}  // namespace QEL
