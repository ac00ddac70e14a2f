// The configure's finders: from each key they walk to what ties its entity to others, record
// it for the Solver and hand on the keys the walk goes on from. Every key, object, face and
// (point, face) pair is handled once per configure.
#include "update/configure/ConfigureManager.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/patterns/FacePattern.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "solver/operations/SolverOperation.h"

#include <algorithm>

namespace QEL {

// The blend-radius operation's chain of the face: its under faces appended and held fixed.
// False, doing nothing, for an operation of any other class.
bool AddBlendChainOfOperation(SolverOperation* operation, Solver* solver, int face,
                              std::vector<int>& unders, ConfigureKeySet& fixedKeys);

namespace {

// The blend identifications the finders ask the kernel for.
constexpr int s_identifyChain = 22241;
constexpr int s_identifyDependents = 22244;

}  // namespace

Reference* ConfigureManager::KeyReference(const ConfigureKey& key) const
{
    std::vector<Reference*> references;
    m_interaction->FindReferencesOnEntity(key.first, key.second, references);
    return references.size() == 1 ? references.front() : nullptr;
}

void ConfigureManager::AddFoundKey(const ConfigureKey& key, ConfigureKeyList& found)
{
    found.push_back(key);
    m_relatedEntities.insert(key.first);
}

bool ConfigureManager::FindAroundKeys(int level, const ConfigureKeyList& keys,
                                      ConfigureKeyList& found)
{
    ConfigureKeyList work;
    for (const ConfigureKey& key : keys)
        AddNeighbourKeys(key.first, work);
    while (!work.empty()) {
        ConfigureKeyList next;
        for (const ConfigureKey& key : work) {
            if (m_processedKeys.count(key))
                continue;
            FindRelations(level, key, next, found);
            FindVirtualVertices(level, key, next, found);
            FindTopology(level, key, next, found);
            FindSections(level, key, next, found);
            FindFacePatterns(level, key, next, found);
            FindFeatures(level, key, next, found);
            FindShellClusters(level, key, next, found);
            FindReblendChains(level, key, next, found);
            FindDependentBlends(key, next);
            FindVertexTippingPoints(level, key);
            MarkApplicationRulesFound(key);
            m_processedKeys.insert(key);
        }
        work.swap(next);
    }
    return true;
}

void ConfigureManager::AddNeighbourKeys(int entity, ConfigureKeyList& keys)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferences(m_interaction, entity, references, false);
    keys.emplace_back(entity, nullptr);
    for (Reference* reference : references) {
        if (!reference || !reference->GetInstance())
            continue;
        if (reference->GetBehaviour() == ReferenceBehaviourModelling) {
            keys.emplace_back(entity, reference->GetInstance());
        } else if (reference->GetBehaviour() == ReferenceBehaviourPositioning) {
            keys.emplace_back(entity, reference->GetInstance());
            AddBodyReferenceKeys(entity, keys);
        }
    }
}

void ConfigureManager::AddBodyReferenceKeys(int entity, ConfigureKeyList& keys)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferencesForBody(m_interaction, GetOwningBody(entity), references);
    for (Reference* reference : references) {
        if (!reference || reference->GetEntityTag() == entity)
            continue;
        keys.emplace_back(reference->GetEntityTag(), nullptr);
        if (reference->GetInstance())
            keys.emplace_back(reference->GetEntityTag(), reference->GetInstance());
    }
}

void ConfigureManager::FindRelations(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                     ConfigureKeyList& found)
{
    if (!m_initialising)
        return;
    Reference* reference = KeyReference(key);
    if (!reference)
        return;
    std::vector<Relation*> relations;
    reference->GetRelations(relations);
    for (Relation* relation : relations) {
        if (!relation || m_processedObjects.count(relation) ||
            IsCreatedByRelationFinder(m_interaction, relation))
            continue;
        m_processedObjects.insert(relation);
        if (!AddFoundDataUnlessRelaxed(
                ConfigureFoundData(ConfigureFoundDataRelation, relation, false, level)))
            continue;
        for (Reference* other : relation->GetReferences()) {
            if (!other)
                continue;
            const ConfigureKey otherKey(other->GetEntityTag(), other->GetInstance());
            AddNeighbourKeys(otherKey.first, next);
            AddFoundKey(otherKey, found);
            if (relation->GetType() == RelationTypeFixed &&
                relation->GetRelationSubtype(other) == RelationSubtypeBoundary)
                m_fixedKeys.insert(otherKey);
        }
    }
}

void ConfigureManager::FindVirtualVertices(int level, const ConfigureKey& key,
                                           ConfigureKeyList& next, ConfigureKeyList& found)
{
    Reference* reference = KeyReference(key);
    if (!reference)
        return;
    std::vector<VirtualVertex*> vertices;
    reference->GetVirtualVertices(vertices);
    for (VirtualVertex* vertex : vertices) {
        if (!vertex || m_processedObjects.count(vertex) ||
            (m_initialising && IsCreatedByRelationFinder(m_interaction, vertex)))
            continue;
        Reference* point = vertex->GetPointReference();
        if (!point)
            continue;
        const ConfigureKey pointKey(point->GetEntityTag(), point->GetInstance());
        const bool fixed = IsKeyFixed(pointKey);
        if (!fixed) {
            m_foundData.Add(
                ConfigureFoundData(ConfigureFoundDataVirtualVertex, vertex, false, level));
            m_processedObjects.insert(vertex);
        } else {
            AddTippingPoints(level, 0, vertex, false, nullptr);
        }
        for (int i = 0; i < vertex->GetDefiningReferenceCount(); ++i) {
            Reference* defining = vertex->GetDefiningReference(i);
            if (!defining)
                continue;
            AddNeighbourKeys(defining->GetEntityTag(), next);
            if (!fixed)
                AddFoundKey(ConfigureKey(defining->GetEntityTag(), defining->GetInstance()), found);
        }
        AddNeighbourKeys(pointKey.first, next);
        if (!fixed)
            AddFoundKey(pointKey, found);
    }
}

void ConfigureManager::FindTopology(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                    ConfigureKeyList& found)
{
    const int entity = key.first;
    const int entityClass = GetEntityClass(entity);
    if (entityClass == KernelClassFace) {
        std::vector<int> bounds;
        GetFaceEdgesAndVertices(entity, &bounds);
        for (int bound : bounds)
            if (!IsEntityFree(bound, nullptr, true))
                AddNeighbourKeys(bound, next);
        return;
    }
    if ((entityClass != KernelClassEdge && entityClass != KernelClassVertex) ||
        m_topologyDone.count(entity))
        return;
    if (entityClass == KernelClassVertex && IsKeyFixed(ConfigureKey(entity, nullptr))) {
        AddTippingPoints(level, entity, nullptr, false, nullptr);
        return;
    }
    std::vector<int> faces;
    GetFacesOfEdgeOrVertex(entity, &faces);
    if (faces.empty())
        return;
    if (IsEntityFree(entity, nullptr, true) && !IsSeedEntity(entity)) {
        m_topologyDone.insert(entity);
        return;
    }
    std::vector<int> list{entity};
    for (int face : faces) {
        double radius = 0.0;
        bool hasCluster = false;
        if (IsReblendFace(face, &radius) && IsFaceFree(face, &hasCluster, true))
            continue;
        AddNeighbourKeys(face, next);
        list.push_back(face);
        AddFoundKey(ConfigureKey(face, nullptr), found);
    }
    m_foundData.Add(ConfigureFoundData(ConfigureFoundDataTopological, list, false, level));
    m_topologyDone.insert(entity);
}

void ConfigureManager::FindSections(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                    ConfigureKeyList& found)
{
    Reference* reference = KeyReference(key);
    if (!reference ||
        (reference->GetObjectCount() == 0 && !m_interaction->IsSelectedReference(reference)))
        return;
    const int entity = key.first;
    const int entityClass = GetEntityClass(entity);
    if (entityClass == KernelClassEdge || entityClass == KernelClassVertex ||
        entityClass == KernelClassPoint) {
        Section* section = nullptr;
        for (Section* candidate : m_interaction->GetSections())
            if (candidate && candidate->DoesReferToSections(key)) {
                section = candidate;
                break;
            }
        if (!section)
            return;
        Instance* cut = reference->GetInstance() ? section->GetCutInstance(reference->GetInstance())
                                                 : section->GetCutInstance(entity);
        SectionClusterData data;
        data.m_section = section;
        data.m_cutInstance = cut;
        data.m_reference = reference;
        m_foundData.Add(ConfigureFoundData(ConfigureFoundDataSectionCluster, data, false, level));
        if (!cut)
            return;
        std::vector<int> sources;
        section->GetSourceEntities(cut, entity, sources);
        for (int source : sources) {
            AddNeighbourKeys(source, next);
            AddFoundKey(ConfigureKey(source, nullptr), found);
        }
        return;
    }
    if (GetGeometryClassOfTopology(entity) != KernelClassPlane &&
        GetEntityClass(entity) != KernelClassPlane)
        return;
    std::vector<Section*> sections;
    reference->GetSections(sections);
    for (Section* section : sections) {
        if (!section)
            continue;
        std::set<Instance*, TaggedEntityPtrLessThan> cuts;
        section->GetCutInstances(cuts);
        for (Instance* cut : cuts) {
            Instance* sectionInstance = nullptr;
            Array<int> sources;
            Array<int> sectionEntities;
            if (!section->GetSectionMapping(cut, sectionInstance, sources, sectionEntities))
                continue;
            for (int i = 0; i < sectionEntities.GetSize(); ++i)
                AddNeighbourKeys(sectionEntities[i], next);
        }
    }
}

void ConfigureManager::FindFacePatterns(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                        ConfigureKeyList& found)
{
    Reference* reference = KeyReference(key);
    if (!reference)
        return;
    std::vector<FacePattern*> patterns;
    reference->GetFacePatterns(patterns);
    for (FacePattern* pattern : patterns) {
        if (!pattern)
            continue;
        const bool rigid = pattern->GetRigidOccurrences();
        if (rigid && m_processedObjects.count(pattern))
            continue;
        m_foundData.Add(ConfigureFoundData(ConfigureFoundDataFacePattern, pattern, false, level));
        m_processedObjects.insert(pattern);
        std::vector<Reference*> walk;
        if (rigid) {
            walk = pattern->GetAllReferences(false);
            std::vector<Reference*> defining;
            pattern->GetDefiningReferences(defining);
            walk.insert(walk.end(), defining.begin(), defining.end());
        } else if (GetEntityClass(key.first) == KernelClassFace) {
            int position = -1;
            pattern->GetCorrespondingReferences(key.first, &position, walk, false);
        }
        for (Reference* other : walk) {
            if (!other)
                continue;
            AddNeighbourKeys(other->GetEntityTag(), next);
            AddFoundKey(ConfigureKey(other->GetEntityTag(), other->GetInstance()), found);
        }
    }
}

void ConfigureManager::FindFeatures(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                    ConfigureKeyList& found)
{
    const bool addOn = GetHXRPFBasedAlgorithm();
    if (!GetNewPFAlgorithm() && !addOn)
        return;
    Reference* reference = KeyReference(key);
    if (!reference)
        return;
    const int entity = key.first;
    if (reference->GetFeatureCount() == 0 && !HasTopologyFeatures(entity))
        return;
    std::vector<Reference*> walk;
    if (addOn) {
        std::vector<int> features;
        GetTopologyFeatures(entity, &features);
        for (int feature : features) {
            if (!m_addOnFeaturesDone.insert(feature).second)
                continue;
            m_foundData.Add(ConfigureFoundData::MakeAddOnFeature(feature, false, level));
            std::vector<Reference*> references;
            m_solver->GetFeatureReferences(m_interaction, feature, references);
            walk.insert(walk.end(), references.begin(), references.end());
        }
    } else {
        std::vector<Feature*> features;
        reference->GetFeatures(features);
        for (Feature* feature : features) {
            if (!feature || !m_processedObjects.insert(feature).second)
                continue;
            m_foundData.Add(ConfigureFoundData(ConfigureFoundDataFeature, feature, false, level));
            if (feature->IsTreatedAsSimple())
                walk.insert(walk.end(), feature->GetReferences().begin(),
                            feature->GetReferences().end());
        }
    }
    for (Reference* other : walk) {
        if (!other)
            continue;
        AddNeighbourKeys(other->GetEntityTag(), next);
        AddFoundKey(ConfigureKey(other->GetEntityTag(), other->GetInstance()), found);
    }
}

void ConfigureManager::FindShellClusters(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                         ConfigureKeyList& found)
{
    const int face = key.first;
    if (GetEntityClass(face) != KernelClassFace || m_shellFacesDone.count(face))
        return;
    std::vector<int> side;
    std::vector<int> partners;
    double thickness = 0.0;
    if (!FindShellCluster(face, &side, &partners, &thickness) || side.empty() || partners.empty())
        return;
    const ShellClusterData cluster(side, partners, thickness);
    std::vector<int> notFree;
    AreFacesFree(side, partners, notFree);
    // The cluster takes part once a face other than the key's own is held by something.
    const bool active = notFree.size() > 1 || (notFree.size() == 1 && notFree.front() != face);
    if (!AddFoundDataUnlessRelaxed(
            ConfigureFoundData(ConfigureFoundDataShellCluster, cluster, !active, false, level)))
        return;
    m_shellClusters.AddClusterData(cluster);
    for (int sideFace : side) {
        m_shellFacesDone.insert(sideFace);
        if (sideFace == face)
            continue;
        AddNeighbourKeys(sideFace, next);
        if (active)
            AddFoundKey(ConfigureKey(sideFace, nullptr), found);
    }
    for (int partner : partners) {
        m_shellFacesDone.insert(partner);
        AddNeighbourKeys(partner, next);
        if (active)
            AddFoundKey(ConfigureKey(partner, nullptr), found);
    }
}

void ConfigureManager::FindReblendChains(int level, const ConfigureKey& key, ConfigureKeyList& next,
                                         ConfigureKeyList& found)
{
    const int entity = key.first;
    if (m_reblendFacesDone.count(entity))
        return;
    double radius = 0.0;
    if (IsReblendFace(entity, &radius)) {
        std::vector<int> faces;
        IdentifyBlendFacesOfFace(entity, s_identifyChain, m_interaction->GetModellingTolerance(),
                                 true, &faces);
        std::vector<int> added;
        m_reblendChains.AddChain(ReblendChain(faces, radius), added);
        AddReblendChain(level, entity, faces, radius, next, found);
    }
    m_reblendFacesDone.insert(entity);
}

void ConfigureManager::AddReblendChain(int level, int face, const std::vector<int>& chain,
                                       double radius, ConfigureKeyList& next,
                                       ConfigureKeyList& found)
{
    const double tolerance = m_interaction->GetModellingTolerance();
    for (int blend : chain) {
        bool hasCluster = false;
        if (m_forcedBlendFaces.count(blend)) {
            if (IsFaceFree(blend, &hasCluster, true))
                continue;
            std::vector<int> unders;
            // Only a blend-radius edit ties its chains to its radius; any other operation that
            // names forced blends has no chain to add.
            if (!AddBlendChainOfOperation(m_operation, m_solver, blend, unders, m_fixedKeys))
                continue;
            AddFoundKey(ConfigureKey(blend, nullptr), found);
            if (blend != face)
                AddNeighbourKeys(blend, next);
            for (int under : unders)
                AddNeighbourKeys(under, next);
            continue;
        }
        if (!IsSeedEntity(blend) && IsFaceFree(blend, &hasCluster, true))
            continue;
        std::vector<int> unders;
        GetBlendUnderFaces(blend, tolerance, &unders);
        AddFoundKey(ConfigureKey(blend, nullptr), found);
        if (blend != face)
            AddNeighbourKeys(blend, next);
        for (int under : unders)
            AddNeighbourKeys(under, next);
        m_foundData.Add(ConfigureFoundData(
            ConfigureFoundDataReblend,
            ReblendData(blend, unders, radius, !HasRelationOfType(blend, RelationTypeRadius)),
            false, level));
    }
}

void ConfigureManager::FindDependentBlends(const ConfigureKey& key, ConfigureKeyList& next)
{
    const int entity = key.first;
    if (!IsDependentBlendCandidate(entity))
        return;
    std::vector<int> blends;
    IdentifyBlendFacesOfFace(entity, s_identifyDependents, m_interaction->GetModellingTolerance(),
                             m_interaction->GetIncludeMutuallyDependentBlends(), &blends);
    for (int blend : blends) {
        bool hasCluster = false;
        if (!IsFaceFree(blend, &hasCluster, false) || hasCluster)
            AddNeighbourKeys(blend, next);
    }
    m_reblendChains.AddDependentChain(entity, ReblendChain(blends, 0.0));
    m_dependentBlendFacesDone.insert(entity);
}

void ConfigureManager::FindVertexTippingPoints(int level, const ConfigureKey& key)
{
    if (GetEntityClass(key.first) != KernelClassFace)
        return;
    std::vector<int> vertices;
    GetFaceVertices(key.first, &vertices);
    for (int vertex : vertices)
        if (IsKeyFixed(ConfigureKey(vertex, nullptr)))
            AddTippingPoints(level, vertex, nullptr, false, nullptr);
}

void ConfigureManager::MarkApplicationRulesFound(const ConfigureKey& key)
{
    for (ConfigureRule& rule : m_rules.GetRuleVector())
        if (rule.IsFromApplication() && rule.GetKey().first == key.first &&
            rule.GetKey().second == key.second)
            rule.SetFound(true);
}

void ConfigureManager::AddTippingPoints(int level, int vertex, VirtualVertex* virtualVertex,
                                        bool flag, std::vector<int>* indices)
{
    int point = vertex;
    std::vector<int> faces;
    if (vertex) {
        GetFacesOfEdgeOrVertex(vertex, &faces);
    } else if (virtualVertex) {
        if (Reference* pointReference = virtualVertex->GetPointReference())
            point = pointReference->GetEntityTag();
        for (int i = 0; i < virtualVertex->GetDefiningReferenceCount(); ++i)
            if (Reference* defining = virtualVertex->GetDefiningReference(i))
                faces.push_back(defining->GetEntityTag());
    }
    if (!point)
        return;
    for (int face : faces) {
        if (!m_relatedEntities.count(face) || m_tippingPairs.count(std::make_pair(point, face)))
            continue;
        const int index = m_foundData.Add(ConfigureFoundData(
            ConfigureFoundDataTippingPoint, TippingPointData(point, face, flag), false, level));
        if (indices)
            indices->push_back(index);
        m_tippingPairs.insert(std::make_pair(point, face));
        m_relatedEntities.insert(point);
    }
}

}  // namespace QEL
