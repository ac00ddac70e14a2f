#pragma once
// The configure step of one edit: starting from the operation's seeds it walks outwards
// through what ties entities together (relations, virtual vertices, sections, face patterns,
// features, shell clusters, blends, topology), records what it meets, makes rules, hands both
// to the Solver and the auto-constraint manager, and asks the relation finder for more, level
// by level, until a level adds nothing. What it found is stored as the interaction's found
// data and rules, which the application may relax for the next edit.
//
// The manager lives on the update's stack for one configure and owns nothing of the
// interaction's.

#include "core/enums/Enums.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"
#include "solver/ConfigureFoundData.h"
#include "solver/Solver.h"
#include "update/configure/ConfigureRule.h"

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace QEL {

class FoundData;
class Interaction;
class Object;
class Reference;
class Relation;
class Rule;
class SolverOperation;
class VirtualVertex;
class YSKManager;

using ConfigureKeyList = std::vector<ConfigureKey>;
using ConfigureKeySet = std::set<ConfigureKey, GeometryKeyLess>;

// The relation finder's state for the level searches of one configure.
class ConfigureSearch;

class ConfigureManager {
public:
    ConfigureManager(Interaction* interaction, Solver* solver, YSKManager* ysk,
                     SolverOperation* operation);
    ~ConfigureManager();
    ConfigureManager(const ConfigureManager&) = delete;
    ConfigureManager& operator=(const ConfigureManager&) = delete;

    // The full configure of an operation. The found data and rules are stored in every outcome.
    bool Configure(UpdateStatus& status);
    // Every valid relation of the interaction and the finders at level 0, without stored
    // found data or rules and without relation-finder levels.
    bool ConfigureFromRelations(UpdateStatus& status);

    ConfigureRuleArray& GetRules() { return m_rules; }
    ConfigureFoundDataArray& GetFoundData() { return m_foundData; }
    int GetFoundDataCount() const { return m_foundData.GetCount(); }
    int GetProcessedReferenceCount() const { return static_cast<int>(m_processedKeys.size()); }
    ReblendChainArray& GetReblendChains() { return m_reblendChains; }
    ShellClusterDataArray& GetShellClusters() { return m_shellClusters; }
    const ConfigureKeySet& GetFixedKeys() const { return m_fixedKeys; }
    const std::set<int>& GetRelatedEntities() const { return m_relatedEntities; }

    bool IsRuleRelaxed(const ConfigureRule& rule);
    bool IsFoundDataRelaxed(const ConfigureFoundData& record);
    bool IsObjectRelaxed(Object* object);
    FoundData* FindStoredFoundData(const ConfigureFoundData& record);
    Rule* FindStoredRule(const ConfigureRule& rule);
    bool AddRuleUnlessRelaxed(const ConfigureRule& rule, int& index);
    bool AddFoundDataUnlessRelaxed(const ConfigureFoundData& record);

    // The level loop and its steps.
    bool FindAndConfigure(UpdateStatus& status);
    bool FindLevel(int level, const ConfigureKeyList& keys, ConfigureSearch& search,
                   ConfigureKeyList& c, ConfigureKeyList& d, std::vector<FoundEntityData>& e);
    bool FindAmongFound(int level, const ConfigureKeyList& keys, ConfigureSearch& search,
                        ConfigureKeyList& c, ConfigureKeyList& d);
    void AddFoundRelations(int level, const std::vector<Relation*>& relations, ConfigureKeyList& z);
    void MakeFoundEntities(const std::vector<int>& entities, std::vector<FoundEntityData>& e);
    void AddFoundEntityTippingPoints(int level, std::vector<FoundEntityData>& e);
    // An update-solve failure the level's bonds caused is passed on in the status.
    bool LockFoundEntities(std::vector<FoundEntityData>& e, UpdateStatus& status);
    bool ReleaseFoundEntities(std::vector<FoundEntityData>& e);
    bool Autodefine(UpdateStatus& status);
    void NormaliseKeys(ConfigureKeyList& keys);
    void MapExistingFoundDataAndRules();
    void CreateOrUpdateFoundDataAndRules();
    bool AddAllRelations(int level, ConfigureKeyList& keys);
    void RecordSeeds(const ConfigureKeyList& seeds);

    // The finders, run by FindAroundKeys on every key once.
    bool FindAroundKeys(int level, const ConfigureKeyList& keys, ConfigureKeyList& found);
    void AddNeighbourKeys(int entity, ConfigureKeyList& keys);
    void AddBodyReferenceKeys(int entity, ConfigureKeyList& keys);
    void FindRelations(int level, const ConfigureKey& key, ConfigureKeyList& next,
                       ConfigureKeyList& found);
    void FindVirtualVertices(int level, const ConfigureKey& key, ConfigureKeyList& next,
                             ConfigureKeyList& found);
    void FindTopology(int level, const ConfigureKey& key, ConfigureKeyList& next,
                      ConfigureKeyList& found);
    void FindSections(int level, const ConfigureKey& key, ConfigureKeyList& next,
                      ConfigureKeyList& found);
    void FindFacePatterns(int level, const ConfigureKey& key, ConfigureKeyList& next,
                          ConfigureKeyList& found);
    void FindFeatures(int level, const ConfigureKey& key, ConfigureKeyList& next,
                      ConfigureKeyList& found);
    void FindShellClusters(int level, const ConfigureKey& key, ConfigureKeyList& next,
                           ConfigureKeyList& found);
    void FindReblendChains(int level, const ConfigureKey& key, ConfigureKeyList& next,
                           ConfigureKeyList& found);
    void FindDependentBlends(const ConfigureKey& key, ConfigureKeyList& next);
    void FindVertexTippingPoints(int level, const ConfigureKey& key);
    void MarkApplicationRulesFound(const ConfigureKey& key);
    void AddReblendChain(int level, int face, const std::vector<int>& chain, double radius,
                         ConfigureKeyList& next, ConfigureKeyList& found);
    void AddTippingPoints(int level, int vertex, VirtualVertex* virtualVertex, bool flag,
                          std::vector<int>* indices);
    void AddLockRules(const ConfigureKeyList& keys);
    void AddPrincipalPlaneRules(const ConfigureKeyList& keys);

    // The predicates the finders share.
    bool IsEntityFree(int entity, Object* ignored, bool onlyRulesFree);
    bool IsKeyFixed(const ConfigureKey& key);
    bool HasRelationOfType(int entity, RelationType type);
    bool HasRule(int entity);
    bool IsReblendFace(int face, double* radius);
    bool IsFaceFree(int face, bool* hasCluster, bool onlyRulesFree);
    bool AreFacesFree(const std::vector<int>& side, const std::vector<int>& partners,
                      std::vector<int>& notFree);
    bool IsDependentBlendCandidate(int entity);
    bool IsFoundEntityLockable(const FoundEntityData& record);
    bool IsFoundEntityRemovable(const FoundEntityData& record);

private:
    // The one Reference of the interaction under exactly the key; null for none or several.
    Reference* KeyReference(const ConfigureKey& key) const;
    void AddFoundKey(const ConfigureKey& key, ConfigureKeyList& found);
    bool IsSeedEntity(int entity) const { return m_seedEntities.count(entity) != 0; }
    bool IsOperationOfChangedFaces() const;

    Interaction* m_interaction;
    Solver* m_solver;
    YSKManager* m_ysk;
    SolverOperation* m_operation;
    ConfigureFoundDataArray m_foundData;
    ConfigureRuleArray m_rules;
    ReblendChainArray m_reblendChains;
    ShellClusterDataArray m_shellClusters;
    std::set<int> m_shellFacesDone;
    std::set<int> m_reblendFacesDone;
    std::set<int> m_dependentBlendFacesDone;
    std::set<int> m_topologyDone;
    std::set<int> m_principalPlaneFacesDone;
    std::set<int> m_lockFacesDone;
    ConfigureKeySet m_processedKeys;
    std::set<Object*> m_processedObjects;
    std::set<int> m_seedEntities;
    ConfigureKeySet m_fixedKeys;
    std::set<int> m_relatedEntities;
    std::set<std::pair<int, int>> m_tippingPairs;
    std::map<int, FoundData*> m_storedFoundData;
    std::map<ConfigureRule, Rule*, ConfigureRuleLess> m_storedRules;
    bool m_initialising = true;
    std::set<int> m_addOnFeaturesDone;
    std::set<int> m_forcedBlendFaces;
    std::set<int> m_neverBlendFaces;
};

// What the configure asks of the relation finder; the finder's options and its searches.
bool IsCreatedByRelationFinder(Interaction* interaction, Relation* relation);
bool IsCreatedByRelationFinder(Interaction* interaction, VirtualVertex* vertex);
struct ConfigureLockOptions {
    bool cylinderRadius = false;
    bool sphereRadius = false;
    bool torusRadius = false;
    bool torusMinorRadius = false;
    bool coneHalfAngle = false;
    bool Any() const
    {
        return cylinderRadius || sphereRadius || torusRadius || torusMinorRadius || coneHalfAngle;
    }
};
ConfigureLockOptions GetConfigureLockOptions(Interaction* interaction);
void GetPrincipalPlanes(Interaction* interaction, std::vector<Reference*>& planes);
std::unique_ptr<ConfigureSearch, void (*)(ConfigureSearch*)> MakeConfigureSearch(
    Interaction* interaction, ConfigureManager* manager);
// The level's start: its second search runs with the third input as it is now.
void BeginConfigureSearchLevel(ConfigureSearch& search);
void SetConfigureSearchFixedKeys(ConfigureSearch& search, const ConfigureKeySet& fixed);
bool SearchConfigureLevel(ConfigureSearch& search, int level, bool configureMode,
                          const ConfigureKeyList& keys, std::vector<Relation*>& relations,
                          std::vector<int>& entities);
bool SearchAmongFound(ConfigureSearch& search, int level, const ConfigureKeyList& keys,
                      std::vector<Relation*>& relations);

}  // namespace QEL
