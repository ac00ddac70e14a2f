// The rules the configure makes on key lists between finds (locks on radii and half angles,
// and the principal-plane rules), and the predicates its finders share.
#include "update/configure/ConfigureManager.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/Dir.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "update/records/ReferenceRules.h"

#include <map>

namespace QEL {

void ConfigureManager::AddLockRules(const ConfigureKeyList& keys)
{
    const ConfigureLockOptions options = GetConfigureLockOptions(m_interaction);
    if (!options.Any())
        return;
    for (const ConfigureKey& key : keys) {
        const int entity = key.first;
        if (key.second || m_lockFacesDone.count(entity) || IsSeedEntity(entity) ||
            GetEntityClass(entity) != KernelClassFace ||
            HasRelationOfType(entity, RelationTypeFixed) ||
            HasRelationOfType(entity, RelationTypeRigid) ||
            m_reblendChains.ContainsTagAsBlend(entity))
            continue;
        m_lockFacesDone.insert(entity);
        const ConfigureKey bodyKey(entity, nullptr);
        const auto lock = [&](RuleType type) {
            int index = -1;
            AddRuleUnlessRelaxed(ConfigureRule(bodyKey, type, Vec()), index);
        };
        const bool radiusHeld = HasRelationOfType(entity, RelationTypeRadius) ||
                                HasRelationOfType(entity, RelationTypeEqualRadius);
        switch (GetGeometryClassOfTopology(entity)) {
            case KernelClassCylinder:
                if (options.cylinderRadius && !radiusHeld)
                    lock(RuleTypeKeepRadius);
                break;
            case KernelClassSphere:
                if (options.sphereRadius && !radiusHeld)
                    lock(RuleTypeKeepRadius);
                break;
            case KernelClassTorus:
                if (options.torusRadius && !radiusHeld)
                    lock(RuleTypeKeepRadius);
                if (options.torusMinorRadius && !HasRelationOfType(entity, RelationTypeMinorRadius))
                    lock(RuleTypeKeepMinorRadius);
                break;
            case KernelClassCone:
                // A half-angle relation governs the cone already.
                if (options.coneHalfAngle && !HasRelationOfType(entity, RelationTypeHalfAngle))
                    lock(RuleTypeKeepHalfAngle);
                break;
            default:
                break;
        }
    }
}

void ConfigureManager::AddPrincipalPlaneRules(const ConfigureKeyList& keys)
{
    std::vector<Reference*> planes;
    GetPrincipalPlanes(m_interaction, planes);
    std::map<int, std::vector<Dir>> directions;
    for (Reference* plane : planes) {
        // A plane reference that could not be resolved, or no longer exists, gives no direction.
        if (!plane || plane->GetInstance())
            continue;
        const int entity = plane->GetEntityTag();
        const int geometry = IsGeometry(entity) ? entity : GetGeometryOfTopology(entity);
        directions[GetOwningBody(entity)].push_back(GetGeometryAxisDirection(geometry));
    }
    if (directions.empty())
        return;
    for (const ConfigureKey& key : keys) {
        const int face = key.first;
        if (key.second || GetEntityClass(face) != KernelClassFace ||
            GetGeometryClassOfTopology(face) != KernelClassPlane ||
            m_principalPlaneFacesDone.count(face) || IsSeedEntity(face))
            continue;
        const auto filed = directions.find(GetOwningBody(face));
        const Dir normal = GetPlaneNormal(GetGeometryOfTopology(face));
        int count = 0;
        Dir perpendicular;
        if (filed != directions.end())
            for (const Dir& direction : filed->second)
                if (ArePerpendicular(direction, normal)) {
                    if (count == 0)
                        perpendicular = direction;
                    ++count;
                }
        int index = -1;
        if (count == 1)
            AddRuleUnlessRelaxed(
                ConfigureRule(ConfigureKey(face, nullptr), RuleTypeRelativeAngle,
                              Vec(perpendicular.x, perpendicular.y, perpendicular.z)),
                index);
        else if (count == 2)
            AddRuleUnlessRelaxed(
                ConfigureRule(ConfigureKey(face, nullptr), RuleTypeDoNotRotate, Vec()), index);
        m_principalPlaneFacesDone.insert(face);
    }
}

bool ConfigureManager::IsEntityFree(int entity, Object* ignored, bool onlyRulesFree)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferences(m_interaction, entity, references, false);
    for (Reference* reference : references) {
        if (!reference)
            continue;
        std::vector<Object*> dependents;
        reference->GetDependents(dependents);
        for (Object* dependent : dependents) {
            if (!dependent || dependent == ignored)
                continue;
            const ObjectType type = dependent->GetType();
            if (type == ObjectTypeFeature) {
                if (static_cast<Feature*>(dependent)->GetFeatureType() !=
                    FeatureTypeComplexRecreate)
                    return false;
                continue;
            }
            if (type == ObjectTypeRule)
                continue;
            if (!onlyRulesFree && type == ObjectTypeRelation &&
                IsCreatedByRelationFinder(m_interaction, static_cast<Relation*>(dependent)))
                continue;
            if (!onlyRulesFree && type == ObjectTypeVirtualVertex &&
                IsCreatedByRelationFinder(m_interaction, static_cast<VirtualVertex*>(dependent)))
                continue;
            return false;
        }
    }
    return true;
}

bool ConfigureManager::IsKeyFixed(const ConfigureKey& key)
{
    if (m_fixedKeys.count(key))
        return true;
    std::vector<Reference*> references;
    m_interaction->FindReferencesOnEntity(key.first, key.second, references);
    if (references.empty() || !references.front())
        return false;
    std::vector<Relation*> relations;
    references.front()->GetRelations(relations);
    for (Relation* relation : relations)
        if (relation && relation->GetType() == RelationTypeFixed &&
            relation->GetRelationSubtype(references.front()) == RelationSubtypeBoundary) {
            m_fixedKeys.insert(key);
            return true;
        }
    return false;
}

bool ConfigureManager::HasRelationOfType(int entity, RelationType type)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferences(m_interaction, entity, references, false);
    for (Reference* reference : references) {
        if (!reference)
            continue;
        std::vector<Relation*> relations;
        reference->GetRelations(relations);
        for (Relation* relation : relations)
            if (relation && relation->GetType() == type)
                return true;
    }
    return false;
}

bool ConfigureManager::HasRule(int entity)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferences(m_interaction, entity, references, false);
    for (Reference* reference : references)
        if (reference && GetReferenceRuleCount(reference) > 0)
            return true;
    return false;
}

bool ConfigureManager::IsReblendFace(int face, double* radius)
{
    if (GetEntityClass(face) != KernelClassFace)
        return false;
    if (m_forcedBlendFaces.count(face))
        return true;
    if (m_neverBlendFaces.count(face))
        return false;
    double found = 0.0;
    const bool blend =
        IdentifyBlendFace(face, m_interaction->GetModellingTolerance(),
                          m_interaction->GetIncludeMutuallyDependentBlends(), &found);
    if (blend && radius)
        *radius = found;
    return blend;
}

bool ConfigureManager::IsFaceFree(int face, bool* hasCluster, bool onlyRulesFree)
{
    if (!IsEntityFree(face, nullptr, onlyRulesFree))
        return false;
    ShellClusterData cluster;
    if (!m_shellClusters.ContainsFace(face, &cluster))
        return true;
    if (hasCluster)
        *hasCluster = true;
    std::vector<int> notFree;
    return AreFacesFree(cluster.GetSide1(), cluster.GetSide2(), notFree);
}

bool ConfigureManager::AreFacesFree(const std::vector<int>& side, const std::vector<int>& partners,
                                    std::vector<int>& notFree)
{
    for (const std::vector<int>* faces : {&side, &partners})
        for (int face : *faces)
            if (!IsEntityFree(face, nullptr, true))
                notFree.push_back(face);
    return notFree.empty();
}

bool ConfigureManager::IsDependentBlendCandidate(int entity)
{
    return GetEntityClass(entity) == KernelClassFace && !m_dependentBlendFacesDone.count(entity) &&
           !IsKeyFixed(ConfigureKey(entity, nullptr));
}

bool ConfigureManager::IsFoundEntityLockable(const FoundEntityData& record)
{
    if (IsSeedEntity(record.m_entity))
        return false;
    if (record.m_kind == FoundEntityData::Vertex) {
        std::vector<int> faces;
        GetFacesOfEdgeOrVertex(record.m_entity, &faces);
        for (int face : faces)
            if (IsSeedEntity(face))
                return false;
    } else if (record.m_kind == FoundEntityData::VirtualPoint) {
        if (!record.m_virtualVertex)
            return false;
        for (int i = 0; i < record.m_virtualVertex->GetDefiningReferenceCount(); ++i)
            if (Reference* defining = record.m_virtualVertex->GetDefiningReference(i))
                if (IsSeedEntity(defining->GetEntityTag()))
                    return false;
    } else if (record.m_kind != FoundEntityData::Face) {
        return false;
    }
    return !IsKeyFixed(ConfigureKey(record.m_entity, nullptr));
}

bool ConfigureManager::IsFoundEntityRemovable(const FoundEntityData& record)
{
    const ConfigureKey key(record.m_entity, nullptr);
    if (record.m_kind == FoundEntityData::VirtualPoint)
        return record.m_virtualVertex &&
               IsCreatedByRelationFinder(m_interaction, record.m_virtualVertex) &&
               IsEntityFree(record.m_entity, record.m_virtualVertex, true) &&
               !HasRule(record.m_entity) && !IsKeyFixed(key);
    // A vertex is released when it is free and the walk has not made it fixed: only then is
    // it lockable too, so that its tipping points can go again once no lock took.
    if (record.m_kind == FoundEntityData::Vertex)
        return IsEntityFree(record.m_entity, nullptr, true) && !HasRule(record.m_entity) &&
               !IsKeyFixed(key);
    return false;
}

}  // namespace QEL
