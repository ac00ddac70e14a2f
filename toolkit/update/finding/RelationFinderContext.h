#pragma once
// The state of one find: the interaction, the configure manager running it (none for the
// exported find), the level, the four entity sets, the candidates gathered over the levels,
// the manager's find options, and the keys and entities the finder has settled or reached.

#include "update/autoconstraint/AutoConstraintRecords.h"
#include "update/finding/RelationCandidate.h"
#include "update/finding/RelationFinderInputData.h"

#include <set>
#include <vector>

namespace QEL {

class ConfigureManager;

class QEL_API RelationFinderContext {
public:
    RelationFinderContext(Interaction* interaction, ConfigureManager* configure);
    // A copy of the state; without vary entries when withVary is false.
    RelationFinderContext(const RelationFinderContext& other, bool withVary);
    RelationFinderContext(const RelationFinderContext& other) = default;
    ~RelationFinderContext() = default;

    Interaction* GetInteraction() const { return m_interaction; }
    ConfigureManager* GetConfigureManager() const { return m_configure; }
    int GetLevel() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    RelationFinderInputData& GetVary() { return m_vary; }
    RelationFinderInputData& GetEnvironment() { return m_environment; }
    RelationFinderInputData& GetThird() { return m_third; }
    RelationFinderInputData& GetNextVary() { return m_nextVary; }
    RelationCandidateList& GetCandidates() { return m_candidates; }
    FindOptionsData& GetFindOptions() { return m_options; }
    void SetFindOptions(const FindOptionsData& options) { m_options = options; }
    FinderInputKeySet& GetFixedKeys() { return m_fixedKeys; }
    std::set<int>& GetEntitiesSeen() { return m_entitiesSeen; }
    std::vector<int>& GetReachedEntities() { return m_reached; }
    void AddReachedEntity(int entity) { m_reached.push_back(entity); }
    FinderInputKeySet& GetCoPlanarSet() { return m_coPlanar; }
    FinderInputKeySet& GetConcentricSet() { return m_concentric; }
    FinderInputKeySet& GetParallelSet() { return m_parallel; }
    FinderInputKeySet& GetSimilarSet() { return m_similar; }

private:
    Interaction* m_interaction;
    ConfigureManager* m_configure;
    int m_level = 0;
    RelationFinderInputData m_vary;
    RelationFinderInputData m_environment;
    RelationFinderInputData m_third;
    RelationFinderInputData m_nextVary;
    RelationCandidateList m_candidates;
    FindOptionsData m_options;
    FinderInputKeySet m_fixedKeys;
    std::set<int> m_entitiesSeen;
    std::vector<int> m_reached;
    FinderInputKeySet m_coPlanar;
    FinderInputKeySet m_concentric;
    FinderInputKeySet m_parallel;
    FinderInputKeySet m_similar;
};

}  // namespace QEL
