// The model's relations and virtual vertices as nodes of the dimension system: each relation
// becomes its bonds, waits as a record for the auto-constraint manager, fixes its geometry or
// makes a rigid group.
#include "solver/Solver.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "solver/RigidGroup.h"
#include "solver/SolverObjects.h"

namespace QEL {

namespace {

bool AreAdjacentFaces(Reference* first, Reference* second)
{
    const int a = first->GetEntityTag(), b = second->GetEntityTag();
    return GetEntityClass(a) == KernelClassFace && GetEntityClass(b) == KernelClassFace &&
           AreFacesAdjacent(a, b);
}

bool AreAllPlanes(const std::vector<Reference*>& references)
{
    for (Reference* reference : references)
        if (GetStandardGeometry(reference->GetEntityTag(), nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr) != KernelClassPlane)
            return false;
    return true;
}

bool HasNullReference(const std::vector<Reference*>& references)
{
    for (Reference* reference : references)
        if (!reference)
            return true;
    return false;
}

}  // namespace

bool Solver::getYSK_relation_type(RelationType type, YSK_relation_type& relationType,
                                  const std::vector<GeometryBase*>&)
{
    switch (type) {
        case RelationTypeSimilar:
            relationType = YSK_RELATION_SIMILAR;
            return true;
        case RelationTypeCoPlanar:
            relationType = YSK_RELATION_COPLANAR;
            return true;
        case RelationTypeCoPlaxis:
            relationType = YSK_RELATION_COPLAXIS;
            return true;
        default:
            return false;
    }
}

bool Solver::AddGeometryForReference(Reference* reference, RelationSubtype subtype)
{
    if (!reference)
        return false;
    return AddReferenceGeometry(reference->GetInteraction(),
                                GeometryKey(reference->GetEntityTag(), reference->GetInstance()),
                                reference->GetBehaviour(), subtype);
}

Geometry* Solver::GetOrMakeGeometryToDrag(Reference* reference)
{
    AddGeometryForReference(reference, RelationSubtypeBoundary);
    return FindGeometry(reference);
}

std::vector<GeometryBase*> Solver::AddRelationGeometries(Relation* relation)
{
    std::vector<GeometryBase*> geometries;
    for (Reference* reference : relation->GetReferences()) {
        const RelationSubtype subtype = relation->GetRelationSubtype(reference);
        AddGeometryForReference(reference, subtype);
        GeometryBase* construction = GetTemporaryConstructionGeometry(
            GeometryKey(reference->GetEntityTag(), reference->GetInstance()), subtype);
        geometries.push_back(construction ? construction : FindGeometry(reference));
    }
    return geometries;
}

void Solver::FixRelationGeometry(Relation* relation)
{
    const std::vector<GeometryBase*> geometries = AddRelationGeometries(relation);
    for (GeometryBase* geometry : geometries)
        if (geometry)
            geometry->Fix(true);
}

std::vector<TypedBond*> Solver::AddRelationBonds(RelationType type, ZMR3_d_type dType,
                                                 const std::vector<GeometryBase*>& geometries,
                                                 double value)
{
    for (GeometryBase* geometry : geometries)
        if (!geometry)
            return {};
    std::vector<TypedBond*> bonds;
    if (type == RelationTypeDirectedDistance) {
        bonds.push_back(
            DirectedDistanceBond::CreateDirectedDistanceBond(this, dType, geometries, value));
    } else if (type == RelationTypePlanarAngle) {
        // The angle is measured in the third geometry's plane, so both lines must lie across it.
        if (geometries.size() != 3)
            return {};
        bonds.push_back(
            PlanarAngleBond::CreatePlanarAngleBond(this, dType, geometries, value, nullptr));
        bonds.push_back(
            TypedBond::CreateBinary(this, ZMR3_PERPENDICULAR, geometries[0], geometries[2], 0.0));
        bonds.push_back(
            TypedBond::CreateBinary(this, ZMR3_PERPENDICULAR, geometries[1], geometries[2], 0.0));
    } else {
        bonds.push_back(TypedBond::CreateTypedBond(this, dType, geometries, value, nullptr));
    }
    if (!bonds.front())
        return {};
    for (TypedBond* bond : bonds)
        AddBond(bond);
    return bonds;
}

void Solver::AddRelation(Relation* relation)
{
    if (!relation || m_relationBonds.count(relation) || relation->GetReferences().empty() ||
        HasNullReference(relation->GetReferences()))
        return;
    if (m_useAddBondsForRelations && AddRelationToYSK(relation))
        return;
    RelationType type = relation->GetType();
    // Two coplanar planes are one plane: their coincidence says so without the manager.
    if (type == RelationTypeCoPlanar && relation->GetNumReferences() == 2 &&
        AreAllPlanes(relation->GetReferences()))
        type = RelationTypeCoincident;
    switch (type) {
        case RelationTypeSimilar:
        case RelationTypeCoPlanar:
        case RelationTypeCoPlaxis:
            return;
        case RelationTypeFixed:
            FixRelationGeometry(relation);
            return;
        case RelationTypeRigid:
            MakeRigidGroup(relation->GetReferences(), true);
            return;
        default:
            if (type > RelationTypeRigid)
                return;
            break;
    }
    std::vector<GeometryBase*> geometries = AddRelationGeometries(relation);
    ZMR3_d_type dType = ZMR3_DISTANCE;
    if (!getZMR3_d_type(type, dType, geometries))
        return;
    const std::vector<TypedBond*> bonds =
        AddRelationBonds(type, dType, geometries, relation->GetValue());
    if (!bonds.empty())
        m_relationBonds[relation].assign(bonds.begin(), bonds.end());
}

bool Solver::AddRelationToYSK(Relation* relation)
{
    const RelationType type = relation->GetType();
    // The manager's ends are named by their geometry later; the type alone decides here.
    std::vector<GeometryBase*> unnamed(relation->GetReferences().size(), nullptr);
    switch (type) {
        case RelationTypeEqualRadius:
        case RelationTypeParallel:
        case RelationTypePerpendicular:
        case RelationTypeCoincident:
        case RelationTypeConcentric:
        case RelationTypeSymmetric: {
            ZMR3_d_type dType = ZMR3_DISTANCE;
            return getZMR3_d_type(type, dType, unnamed) && AddRelationBondData(relation, dType);
        }
        case RelationTypeSimilar:
        case RelationTypeCoPlanar:
        case RelationTypeCoPlaxis: {
            YSK_relation_type relationType = YSK_RELATION_COPLANAR;
            return getYSK_relation_type(type, relationType, unnamed) &&
                   AddRelationRelationshipData(relation, relationType);
        }
        case RelationTypeTangent:
            if (relation->GetNumReferences() == 2 &&
                AreAdjacentFaces(relation->GetReference(0), relation->GetReference(1)))
                return AddRelationRelationshipData(relation, YSK_RELATION_TANGENT);
            return AddRelationBondData(relation, ZMR3_TANGENT);
        case RelationTypeFixed:
            FixRelationGeometry(relation);
            return true;
        case RelationTypeRigid:
            MakeRigidGroup(relation->GetReferences(), true);
            return true;
        default:
            return false;
    }
}

namespace {

std::vector<BondEndData> EndsOf(const std::vector<GeometryBase*>& geometries)
{
    return std::vector<BondEndData>(geometries.begin(), geometries.end());
}

}  // namespace

bool Solver::AddRelationBondData(Relation* relation, ZMR3_d_type type)
{
    if (m_useAddBondsForRelationshipsOnly)
        return false;
    m_pendingBonds.AddData(BondData(type, EndsOf(AddRelationGeometries(relation)), false, -1.0));
    m_relationBonds[relation].push_back(nullptr);
    return true;
}

bool Solver::AddRelationRelationshipData(Relation* relation, YSK_relation_type type)
{
    m_pendingRelationships.AddData(RelationshipData(type, EndsOf(AddRelationGeometries(relation))));
    m_relationBonds[relation].push_back(nullptr);
    return true;
}

void Solver::AddVirtualVertex(VirtualVertex* vertex)
{
    if (!vertex || m_virtualVertexBonds.count(vertex))
        return;
    Reference* pointReference = vertex->GetPointReference();
    AddGeometryForReference(pointReference, RelationSubtypeBoundary);
    Geometry* point = FindGeometry(pointReference);
    if (!point)
        return;
    std::list<Bond*>& bonds = m_virtualVertexBonds[vertex];
    for (int i = 0; i < vertex->GetDefiningReferenceCount(); ++i) {
        Reference* defining = vertex->GetDefiningReference(i);
        AddGeometryForReference(defining, RelationSubtypeBoundary);
        Geometry* geometry = FindGeometry(defining);
        if (!geometry)
            continue;
        TypedBond* bond = TypedBond::CreateBinary(this, ZMR3_COINCIDENT, point, geometry, 0.0);
        if (!bond)
            continue;
        bond->SetDebugName("Virtual Vertex bond");
        AddBond(bond);
        bonds.push_back(bond);
    }
}

const std::list<Bond*>* Solver::GetVirtualVertexBonds(VirtualVertex* vertex) const
{
    const auto it = m_virtualVertexBonds.find(vertex);
    return it == m_virtualVertexBonds.end() ? nullptr : &it->second;
}

bool Solver::MakeRigidGroupForFeature(Interaction* interaction, int feature)
{
    const auto known = m_featureRigidGroups.find(feature);
    if (known != m_featureRigidGroups.end() && known->second)
        return true;
    std::vector<int> topologies;
    if (!GetFeatureTopologies(feature, &topologies, nullptr))
        return false;
    std::vector<Reference*> references;
    for (int topology : topologies)
        // A face the interaction cannot refer to cannot be held by the group either.
        if (Reference* reference = Reference::Create(interaction, topology, nullptr))
            references.push_back(reference);
    RigidGroup* group = MakeRigidGroup(references, true);
    if (!group)
        return false;
    m_featureRigidGroups[feature] = group;
    return true;
}

void Solver::GetFeatureTransform(int feature, Xform& transform) const
{
    transform.SetIdentity();
    const auto known = m_featureRigidGroups.find(feature);
    Set* set = known != m_featureRigidGroups.end() && known->second
                   ? known->second->GetBodyLevelSet(nullptr)
                   : nullptr;
    double matrix[4][4];
    if (set && set->GetGNode() && m_manager->transform(set->GetGNode(), matrix) != 0)
        transform.SetFrom4x4(matrix);
}

void Solver::GetFeatureReferences(Interaction* interaction, int feature,
                                  std::vector<Reference*>& references)
{
    if (!MakeRigidGroupForFeature(interaction, feature))
        return;
    references = m_featureRigidGroups[feature]->GetReferences();
}

}  // namespace QEL
