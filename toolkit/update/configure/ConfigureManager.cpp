// The configure step: its two entries, the level loop, locking and releasing what the
// relation finder reached, and storing what was found as the interaction's found data and
// rules.
#include "update/configure/ConfigureManager.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "solver/operations/BlendRadiusOp.h"
#include "solver/operations/OffsetFacesOp.h"
#include "solver/operations/SolverOperation.h"
#include "update/autoconstraint/YSKManager.h"
#include "update/records/FoundData.h"
#include "update/records/Rule.h"

namespace QEL {

ConfigureManager::ConfigureManager(Interaction* interaction, Solver* solver, YSKManager* ysk,
                                   SolverOperation* operation)
    : m_interaction(interaction),
      m_solver(solver),
      m_ysk(ysk),
      m_operation(operation),
      m_foundData(interaction)
{
}

ConfigureManager::~ConfigureManager()
{
    if (m_ysk)
        m_ysk->ResetYSK(false);
}

bool ConfigureManager::IsOperationOfChangedFaces() const
{
    return dynamic_cast<BlendRadiusOp*>(m_operation) || dynamic_cast<OffsetFacesOp*>(m_operation);
}

bool ConfigureManager::Configure(UpdateStatus& status)
{
    m_initialising = true;
    MapExistingFoundDataAndRules();
    m_solver->CreateBodyStars(m_interaction->GetInstances());
    if (m_operation) {
        m_operation->AddToSolver(m_solver);
        m_operation->GetChangedFaces(m_forcedBlendFaces, m_neverBlendFaces);
    }
    bool result = FindAndConfigure(status);
    if (status != UpdateSolveFailed && result) {
        result = m_solver->AddConfigureFoundData(m_foundData, status, m_ysk, false);
        if (result && status != UpdateSolveFailed)
            result = Autodefine(status);
    }
    if (m_operation && m_operation->HasAnimationBond()) {
        CreateOrUpdateFoundDataAndRules();
        return result;
    }
    if (result && m_solver->RemoveYSKGeometries()) {
        CreateOrUpdateFoundDataAndRules();
        return true;
    }
    CreateOrUpdateFoundDataAndRules();
    return false;
}

bool ConfigureManager::ConfigureFromRelations(UpdateStatus& status)
{
    m_initialising = false;
    m_solver->CreateBodyStars(m_interaction->GetInstances());
    m_solver->DefineFeatureData(m_interaction->GetFeatures());
    if (m_operation) {
        m_operation->AddToSolver(m_solver);
        m_operation->GetChangedFaces(m_forcedBlendFaces, m_neverBlendFaces);
    }
    SolverOperation::SeedList seeds;
    if (m_operation)
        m_operation->GetConfigureSeeds(seeds);
    RecordSeeds(seeds);
    ConfigureKeyList found;
    if (!AddAllRelations(0, seeds) || !FindAroundKeys(0, seeds, found))
        return false;
    return m_solver->AddConfigureFoundData(m_foundData, status, m_ysk, false);
}

bool ConfigureManager::AddAllRelations(int level, ConfigureKeyList& keys)
{
    for (Relation* relation : m_interaction->GetRelations()) {
        if (!relation || relation->GetIsDangling() || !relation->IsReferenceCombinationValid())
            continue;
        m_foundData.Add(ConfigureFoundData(ConfigureFoundDataRelation, relation, false, level));
        for (Reference* reference : relation->GetReferences()) {
            if (!reference)
                continue;
            const ConfigureKey key(reference->GetEntityTag(), reference->GetInstance());
            keys.push_back(key);
            m_relatedEntities.insert(key.first);
            if (relation->GetType() == RelationTypeFixed &&
                relation->GetRelationSubtype(reference) == RelationSubtypeBoundary)
                m_fixedKeys.insert(key);
        }
    }
    return true;
}

void ConfigureManager::RecordSeeds(const ConfigureKeyList& seeds)
{
    const bool changesFaces = IsOperationOfChangedFaces();
    for (const ConfigureKey& seed : seeds) {
        m_seedEntities.insert(seed.first);
        if (!changesFaces)
            m_relatedEntities.insert(seed.first);
    }
}

bool ConfigureManager::FindAndConfigure(UpdateStatus& status)
{
    SolverOperation::SeedList seeds;
    if (m_operation)
        m_operation->GetConfigureSeeds(seeds);
    if (seeds.empty())
        return true;
    RecordSeeds(seeds);
    ConfigureKeyList n0;
    bool result = FindAroundKeys(0, seeds, n0);
    NormaliseKeys(seeds);
    NormaliseKeys(n0);
    AddLockRules(seeds);
    AddPrincipalPlaneRules(seeds);
    AddLockRules(n0);
    AddPrincipalPlaneRules(n0);

    if (result)
        result = m_solver->AddConfigureFoundData(m_foundData, status, m_ysk, true);
    if (result && status != UpdateSolveFailed && m_operation)
        result = m_operation->AddDesiredChange(m_solver, m_ysk, status);
    if (result && status != UpdateSolveFailed)
        result = m_solver->AddBondsToYSK(m_ysk, status);
    if (result && status != UpdateSolveFailed)
        result = Autodefine(status);
    if (!result || status == UpdateSolveFailed)
        return result;

    ConfigureKeyList r;
    std::set<std::pair<int, Instance*>> relationKeys;
    if (m_operation)
        m_operation->GetRelationEntities(relationKeys);
    r.assign(relationKeys.begin(), relationKeys.end());
    r.insert(r.end(), n0.begin(), n0.end());
    NormaliseKeys(r);
    if (status == UpdateSolveFailed)
        return result;

    auto search = MakeConfigureSearch(m_interaction, this);
    ConfigureKeyList a = seeds;
    ConfigureKeyList b = n0;
    if (a.empty() && b.empty())
        return result;
    for (int level = 1;; ++level) {
        ConfigureKeyList c;
        ConfigureKeyList d;
        std::vector<FoundEntityData> e;
        BeginConfigureSearchLevel(*search);
        if (result && !a.empty())
            result = FindLevel(level, a, *search, c, d, e);
        if (result && !b.empty())
            result = FindLevel(level, b, *search, c, d, e);
        if (result) {
            ConfigureKeyList f = c;
            f.insert(f.end(), d.begin(), d.end());
            if (level == 1)
                f.insert(f.end(), r.begin(), r.end());
            if (!f.empty())
                result = FindAmongFound(level, f, *search, c, d);
        }
        if (result) {
            AddLockRules(c);
            AddPrincipalPlaneRules(c);
            AddLockRules(d);
            AddPrincipalPlaneRules(d);
            result = LockFoundEntities(e, status);
            if (result)
                result = ReleaseFoundEntities(e);
            if (result) {
                NormaliseKeys(c);
                NormaliseKeys(d);
            }
        }
        if (!result || status == UpdateSolveFailed || (c.empty() && d.empty()))
            break;
        a = c;
        b = d;
    }
    return result;
}

bool ConfigureManager::FindLevel(int level, const ConfigureKeyList& keys, ConfigureSearch& search,
                                 ConfigureKeyList& c, ConfigureKeyList& d,
                                 std::vector<FoundEntityData>& e)
{
    SetConfigureSearchFixedKeys(search, m_fixedKeys);
    const bool configureMode = level == 1 && m_operation && m_operation->GetBlendRadiusFlag();
    std::vector<Relation*> relations;
    std::vector<int> entities;
    if (!SearchConfigureLevel(search, level, configureMode, keys, relations, entities))
        return false;
    MakeFoundEntities(entities, e);
    ConfigureKeyList z;
    AddFoundRelations(level, relations, z);
    AddFoundEntityTippingPoints(level, e);
    ConfigureKeyList w;
    const bool result = FindAroundKeys(level, z, w);
    c.insert(c.end(), z.begin(), z.end());
    d.insert(d.end(), w.begin(), w.end());
    return result;
}

bool ConfigureManager::FindAmongFound(int level, const ConfigureKeyList& keys,
                                      ConfigureSearch& search, ConfigureKeyList& c,
                                      ConfigureKeyList& d)
{
    SetConfigureSearchFixedKeys(search, m_fixedKeys);
    std::vector<Relation*> relations;
    if (!SearchAmongFound(search, level, keys, relations))
        return false;
    ConfigureKeyList z;
    AddFoundRelations(level, relations, z);
    ConfigureKeyList w;
    const bool result = FindAroundKeys(level, z, w);
    c.insert(c.end(), z.begin(), z.end());
    d.insert(d.end(), w.begin(), w.end());
    return result;
}

void ConfigureManager::AddFoundRelations(int level, const std::vector<Relation*>& relations,
                                         ConfigureKeyList& z)
{
    std::set<int> entities;
    for (Relation* relation : relations) {
        if (!relation || !m_processedObjects.insert(relation).second)
            continue;
        if (!AddFoundDataUnlessRelaxed(
                ConfigureFoundData(ConfigureFoundDataRelation, relation, false, level)))
            continue;
        // The first reference is the entity the search started from.
        for (int i = 1; i < relation->GetNumReferences() && i < 3; ++i)
            if (Reference* reference = relation->GetReference(i))
                z.emplace_back(reference->GetEntityTag(), reference->GetInstance());
        for (Reference* reference : relation->GetReferences())
            if (reference)
                entities.insert(reference->GetEntityTag());
    }
    for (int entity : entities) {
        if (m_shellClusters.ContainsFace(entity, nullptr))
            if (ConfigureFoundData* shell = m_foundData.FindShellRecordOfFace(entity))
                shell->SetRelaxed(false);
        if (m_reblendFacesDone.count(entity) && !m_relatedEntities.count(entity)) {
            m_reblendFacesDone.erase(entity);
            ConfigureKeyList next;
            ConfigureKeyList found;
            FindReblendChains(level, ConfigureKey(entity, nullptr), next, found);
        }
        m_relatedEntities.insert(entity);
    }
    const size_t before = z.size();
    for (size_t i = 0; i < before; ++i) {
        const ConfigureKey key = z[i];
        if (!m_processedKeys.count(key))
            continue;
        FindVertexTippingPoints(level, key);
        ConfigureKeyList found;
        FindVirtualVertices(level, key, z, found);
    }
}

void ConfigureManager::MakeFoundEntities(const std::vector<int>& entities,
                                         std::vector<FoundEntityData>& e)
{
    for (int entity : entities) {
        FoundEntityData record;
        record.m_entity = entity;
        const int entityClass = GetEntityClass(entity);
        if (entityClass == KernelClassFace) {
            record.m_kind = FoundEntityData::Face;
        } else if (entityClass == KernelClassVertex) {
            record.m_kind = FoundEntityData::Vertex;
        } else if (entityClass == KernelClassPoint) {
            std::vector<Reference*> references;
            m_interaction->FindReferencesOnEntity(entity, nullptr, references);
            std::vector<VirtualVertex*> vertices;
            if (references.size() == 1 && references.front())
                references.front()->GetVirtualVertices(vertices);
            if (!vertices.empty()) {
                record.m_kind = FoundEntityData::VirtualPoint;
                record.m_virtualVertex = vertices.front();
            }
        }
        record.m_lockable = IsFoundEntityLockable(record);
        record.m_removable = IsFoundEntityRemovable(record);
        e.push_back(record);
    }
}

void ConfigureManager::AddFoundEntityTippingPoints(int level, std::vector<FoundEntityData>& e)
{
    for (FoundEntityData& record : e) {
        if (!record.m_lockable)
            continue;
        if (record.m_kind == FoundEntityData::VirtualPoint &&
            !m_processedObjects.count(record.m_virtualVertex))
            AddTippingPoints(level, 0, record.m_virtualVertex, record.m_removable,
                             &record.m_tippingIndices);
        else if (record.m_kind == FoundEntityData::Vertex && !m_topologyDone.count(record.m_entity))
            AddTippingPoints(level, record.m_entity, nullptr, record.m_removable,
                             &record.m_tippingIndices);
    }
}

bool ConfigureManager::LockFoundEntities(std::vector<FoundEntityData>& e, UpdateStatus& status)
{
    if (e.empty())
        return true;
    // The level's own status: a failure here is reported, not left to stand for the edit's.
    UpdateStatus local = UpdateApplied;
    bool result = m_solver->AddConfigureFoundData(m_foundData, local, m_ysk, false);
    if (!result || local == UpdateSolveFailed) {
        // The bonds of this level's relations made the edit unsolvable: the caller must stop.
        if (local == UpdateSolveFailed)
            status = UpdateSolveFailed;
        return result;
    }
    for (FoundEntityData& record : e) {
        if (!record.m_lockable)
            continue;
        int index = -1;
        if (!AddRuleUnlessRelaxed(
                ConfigureRule(ConfigureKey(record.m_entity, nullptr), RuleTypeDoNotMove, Vec()),
                index))
            index = -1;
        record.m_ruleIndex = index;
    }
    result = Autodefine(local);
    if (!result || local == UpdateSolveFailed)
        return result;
    for (FoundEntityData& record : e) {
        const ConfigureRule* rule =
            record.m_ruleIndex >= 0 ? m_rules.GetRule(record.m_ruleIndex) : nullptr;
        if (rule && rule->IsApplied())
            record.m_ruleApplied = true;
    }
    return true;
}

bool ConfigureManager::ReleaseFoundEntities(std::vector<FoundEntityData>& e)
{
    bool last = true;
    for (FoundEntityData& record : e) {
        if (!record.IsRemovableUnlocked())
            continue;
        if (!record.m_tippingIndices.empty()) {
            std::vector<TippingPointData*> points;
            for (int index : record.m_tippingIndices)
                points.push_back(
                    &m_foundData.GetRecords()[static_cast<size_t>(index)].GetTippingPointData());
            last = m_solver->RemoveTippingPoints(points);
        }
        if (last && record.m_kind == FoundEntityData::VirtualPoint && record.m_virtualVertex) {
            record.m_virtualVertex->Destroy();
            record.m_virtualVertex = nullptr;
        }
    }
    return last;
}

bool ConfigureManager::Autodefine(UpdateStatus& status)
{
    const bool result = AutodefineRules(&m_rules, m_ysk, &status);
    for (const ConfigureRule& rule : m_rules.GetRuleVector())
        if (rule.GetType() == RuleTypeDoNotMove && rule.GetPassedToYSK() && rule.IsApplied())
            m_fixedKeys.insert(rule.GetKey());
    return result;
}

void ConfigureManager::NormaliseKeys(ConfigureKeyList& keys)
{
    std::vector<int> kept;
    std::set<int> seen;
    const auto keep = [&](int entity) {
        if (seen.insert(entity).second)
            kept.push_back(entity);
    };
    for (const ConfigureKey& key : keys) {
        const int entity = key.first;
        if (seen.count(entity))
            continue;
        if (GetEntityClass(entity) == KernelClassFace) {
            const int surface = GetGeometryClassOfTopology(entity);
            const bool simple = surface == KernelClassPlane || surface == KernelClassCylinder ||
                                surface == KernelClassCone || surface == 4011;
            if (!simple && m_reblendChains.ContainsTagAsBlend(entity)) {
                seen.insert(entity);
                continue;
            }
            ShellClusterData cluster;
            if (m_shellClusters.ContainsFace(entity, &cluster)) {
                keep(entity);
                for (int face : cluster.GetSide1())
                    keep(face);
                for (int face : cluster.GetSide2())
                    keep(face);
                continue;
            }
        }
        keep(entity);
    }
    keys.clear();
    for (int entity : kept) {
        keys.emplace_back(entity, nullptr);
        const int body = GetOwningBody(entity);
        for (Instance* instance : m_interaction->GetInstances())
            if (instance && body && instance->GetBodyTag() == body)
                keys.emplace_back(entity, instance);
    }
}

void ConfigureManager::MapExistingFoundDataAndRules()
{
    m_storedFoundData.clear();
    m_storedRules.clear();
    for (FoundData* stored : m_interaction->GetFoundData()) {
        if (!stored)
            continue;
        stored->SetFoundInLastConfigure(false);
        if (Object* object = stored->GetQELObject()) {
            m_storedFoundData[object->GetTag()] = stored;
        } else if (stored->GetFoundDataType() == FoundDataTypeShell) {
            for (int face : stored->GetShellClusterData().GetSide1())
                m_storedFoundData[face] = stored;
            for (int face : stored->GetShellClusterData().GetSide2())
                m_storedFoundData[face] = stored;
        }
    }
    for (Rule* stored : m_interaction->GetRules()) {
        if (!stored)
            continue;
        stored->SetFoundInLastConfigure(false);
        Reference* reference = stored->GetReference();
        if (!reference)
            continue;
        ConfigureRule rule(ConfigureKey(reference->GetEntityTag(), reference->GetInstance()),
                           stored->GetRuleType(), stored->GetDirection());
        m_storedRules[rule] = stored;
        if (stored->GetApplicationDefined() && stored->GetState() == RuleStateApply) {
            rule.SetFromApplication(true);
            rule.SetFound(false);
            int index = -1;
            m_rules.AddRule(rule, index);
        }
    }
}

void ConfigureManager::CreateOrUpdateFoundDataAndRules()
{
    for (const ConfigureFoundData& record : m_foundData.GetRecords()) {
        if (FoundData* stored = FindStoredFoundData(record)) {
            stored->SetFoundInLastConfigure(true);
            stored->SetFoundLevel(record.GetLevel());
        } else {
            FoundData::CreateFromConfigureFoundData(m_interaction, record);
        }
    }
    for (const ConfigureRule& rule : m_rules.GetRuleVector()) {
        if (Rule* stored = FindStoredRule(rule)) {
            stored->SetFoundInLastConfigure(rule.IsFromApplication() ? rule.GetFound() : true);
            stored->SetAppliedInLastConfigure(rule.IsApplied());
        } else if (rule.IsApplied()) {
            Rule::CreateFromConfigureRule(m_interaction, rule);
        }
    }
}

bool ConfigureManager::IsRuleRelaxed(const ConfigureRule& rule)
{
    Rule* stored = FindStoredRule(rule);
    return stored && stored->GetState() == RuleStateRelax;
}

bool ConfigureManager::IsFoundDataRelaxed(const ConfigureFoundData& record)
{
    FoundData* stored = FindStoredFoundData(record);
    return stored && stored->GetState() == FoundDataStateRelax;
}

bool ConfigureManager::IsObjectRelaxed(Object* object)
{
    if (!object)
        return false;
    const auto found = m_storedFoundData.find(object->GetTag());
    return found != m_storedFoundData.end() && found->second->GetState() == FoundDataStateRelax;
}

FoundData* ConfigureManager::FindStoredFoundData(const ConfigureFoundData& record)
{
    if (record.GetKind() == ConfigureFoundDataRelation) {
        if (!record.GetObject())
            return nullptr;
        const auto found = m_storedFoundData.find(record.GetObject()->GetTag());
        return found == m_storedFoundData.end() ? nullptr : found->second;
    }
    if (record.GetKind() == ConfigureFoundDataShellCluster) {
        const std::vector<int>& side = record.GetCluster().GetSide1();
        if (side.empty())
            return nullptr;
        const auto found = m_storedFoundData.find(side.front());
        if (found == m_storedFoundData.end() ||
            !(found->second->GetShellClusterData() == record.GetCluster()))
            return nullptr;
        return found->second;
    }
    return nullptr;
}

Rule* ConfigureManager::FindStoredRule(const ConfigureRule& rule)
{
    const auto found = m_storedRules.find(rule);
    return found == m_storedRules.end() ? nullptr : found->second;
}

bool ConfigureManager::AddRuleUnlessRelaxed(const ConfigureRule& rule, int& index)
{
    if (IsRuleRelaxed(rule))
        return false;
    return m_rules.AddRule(rule, index);
}

bool ConfigureManager::AddFoundDataUnlessRelaxed(const ConfigureFoundData& record)
{
    if (IsFoundDataRelaxed(record))
        return false;
    return m_foundData.Add(record) >= 0;
}

}  // namespace QEL
