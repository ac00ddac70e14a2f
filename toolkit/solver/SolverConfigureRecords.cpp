// What a configure found, turned into solver objects: each record once, then the pending
// bonds handed to the auto-constraint manager. Beside it the bonds of reblends, topological
// sets, sections and the blend chains of a blend-radius edit.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/patterns/FacePattern.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "solver/ConfigureFoundData.h"
#include "solver/Stars.h"
#include "solver/TemporaryTestSwitches.h"

#include <algorithm>
#include <cmath>

namespace QEL {

bool TemporaryTestSwitches::m_useTangentAtEdgeForTopologicalConstraints = false;

namespace {

// The body-level geometry of the entity, entered into the system when it is not there yet.
Geometry* EntityGeometry(Solver& solver, Interaction* interaction, int entity)
{
    const GeometryKey key(entity, nullptr);
    if (Geometry* found = solver.FindGeometry(key))
        return found;
    solver.AddEntityGeometry(interaction, entity);
    return solver.FindGeometry(key);
}

ZMR3_d_type RadiusTypeOfClass(int geometryClass)
{
    return geometryClass == KernelClassTorus ? ZMR3_MINOR_RADIUS : ZMR3_RADIUS;
}

}  // namespace

bool Solver::AddConfigureFoundData(ConfigureFoundDataArray& records, UpdateStatus& status,
                                   YSKManager* manager, bool defer)
{
    Interaction* interaction = records.GetInteraction();
    // Indices, not references: a record's handling never adds records, but keeps the walk
    // safe should it.
    for (size_t i = 0; i < records.GetRecords().size(); ++i) {
        ConfigureFoundData& record = records.GetRecords()[i];
        if (record.GetApplied() || record.IsRelaxed())
            continue;
        switch (record.GetKind()) {
            case ConfigureFoundDataFeature:
                if (GetHXRPFBasedAlgorithm())
                    MakeRigidGroupForFeature(interaction, record.GetFeatureTag());
                else
                    AddProceduralFeature(static_cast<Feature*>(record.GetObject()));
                break;
            case ConfigureFoundDataRelation:
                AddRelation(static_cast<Relation*>(record.GetObject()));
                break;
            case ConfigureFoundDataShellCluster:
                AddShellCluster(record.GetCluster(), interaction);
                break;
            case ConfigureFoundDataFacePattern:
                AddFacePattern(static_cast<FacePattern*>(record.GetObject()));
                break;
            case ConfigureFoundDataSectionCluster:
                AddSectionCluster(record.GetSectionKey());
                break;
            case ConfigureFoundDataVirtualVertex:
                AddVirtualVertex(static_cast<VirtualVertex*>(record.GetObject()));
                break;
            case ConfigureFoundDataReblend:
                AddReblend(record.GetReblendData(), interaction);
                break;
            case ConfigureFoundDataTopological:
                AddTopological(record.GetFaces(), interaction);
                break;
            case ConfigureFoundDataTippingPoint:
                AddTippingPoint(record.GetTippingPointData(), interaction);
                break;
            default:
                break;
        }
        records.GetRecords()[i].SetApplied(true);
    }
    if (defer)
        return true;
    if (m_delayAddDCalls)
        return AddBondsToYSK(manager, status);
    if (!m_useAddBondsForRelations)
        return true;
    if (!m_pendingBonds.Empty() || !m_pendingRelationships.Empty())
        return AddBondsToYSK(manager, status);
    return true;
}

void Solver::AddReblend(ReblendData& reblend, Interaction* interaction)
{
    int geometryClass = 0;
    int geometry = 0;
    if (!Geometry::FindConstrainableGeomClassFromEntity(reblend.GetFace(), geometryClass, geometry))
        return;
    Geometry* blend = EntityGeometry(*this, interaction, reblend.GetFace());
    if (!blend)
        return;
    if (reblend.GetRadiusBond()) {
        if (TypedBond* bond = TypedBond::CreateTypedBond(this, RadiusTypeOfClass(geometryClass),
                                                         {blend}, reblend.GetRadius(), nullptr)) {
            bond->SetDebugName("Reblend Radius");
            AddBond(bond);
        }
    }
    for (int under : reblend.GetFaces())
        AddTangentTopologicalBond(interaction, blend, under, false);
}

void Solver::AddTangentTopologicalBond(Interaction* interaction, GeometryBase* first, int face,
                                       bool fix)
{
    Geometry* other = EntityGeometry(*this, interaction, face);
    if (!other)
        return;
    if (fix)
        other->Fix(true);
    if (TemporaryTestSwitches::m_useTangentAtEdgeForTopologicalConstraints &&
        m_useAddBondsForRelations) {
        m_pendingRelationships.AddData(
            RelationshipData(YSK_RELATION_TANGENT, {BondEndData(first), BondEndData(other)}));
        return;
    }
    if (TypedBond* bond =
            TypedBond::CreateTypedBond(this, ZMR3_TANGENT, {first, other}, 0.0, nullptr)) {
        bond->SetDebugName("topological");
        AddBond(bond);
    }
}

void Solver::AddTopological(std::vector<int>& entities, Interaction* interaction)
{
    if (entities.empty())
        return;
    Geometry* first = EntityGeometry(*this, interaction, entities.front());
    if (!first)
        return;
    for (size_t i = 1; i < entities.size(); ++i)
        AddTopologicalBond(interaction, first, entities[i],
                           GetTopologicalDType(first, entities[i]));
}

ZMR3_d_type Solver::GetTopologicalDType(GeometryBase* first, int entity)
{
    Geometry* firstGeometry = dynamic_cast<Geometry*>(first);
    if (!firstGeometry || GetGeometryClassOfTopology(entity) != KernelClassTorus ||
        GetGeometryClassOfTopology(firstGeometry->GetEntity()) != KernelClassCircle)
        return ZMR3_COINCIDENT;
    Dir circleAxis;
    if (!first->GetAxis(circleAxis))
        return ZMR3_COINCIDENT;
    Position torusAxis;
    if (GetStandardGeometry(entity, nullptr, nullptr, nullptr, &torusAxis, nullptr, nullptr,
                            nullptr) != KernelClassTorus)
        return ZMR3_COINCIDENT;
    const Dir axis = MakeDir(Vec(torusAxis.x, torusAxis.y, torusAxis.z));
    const double dot = circleAxis.x * axis.x + circleAxis.y * axis.y + circleAxis.z * axis.z;
    return std::fabs(dot) < 1e-11 ? ZMR3_COINCIDENT_AROUND_SPINE : ZMR3_COINCIDENT;
}

void Solver::AddTopologicalBond(Interaction* interaction, GeometryBase* first, int entity,
                                ZMR3_d_type type)
{
    Geometry* other = EntityGeometry(*this, interaction, entity);
    if (!other)
        return;
    if (m_useAddBondsForRelations && !m_useAddBondsForRelationshipsOnly) {
        m_pendingBonds.AddData(
            BondData(type, {BondEndData(first), BondEndData(other)}, false, -1.0));
        return;
    }
    if (TypedBond* bond = TypedBond::CreateTypedBond(this, type, {first, other}, 0.0, nullptr)) {
        bond->SetDebugName("topological");
        AddBond(bond);
    }
}

void Solver::AddBlendRadiusOpData(Interaction* interaction, std::vector<int>& chain, double radius,
                                  Bond*& radiusBond)
{
    if (chain.empty())
        return;
    Geometry* blend = EntityGeometry(*this, interaction, chain.front());
    if (!blend)
        return;
    // The operation keeps its radius bond across configures; one this Solver does not hold
    // (made by an earlier Solver, or taken out since) is no bond to tie to.
    if (radiusBond && std::find(m_bonds.begin(), m_bonds.end(), radiusBond) == m_bonds.end() &&
        std::find(m_delayedBonds.begin(), m_delayedBonds.end(), radiusBond) == m_delayedBonds.end())
        radiusBond = nullptr;
    int geometryClass = 0;
    int geometry = 0;
    if (Geometry::FindConstrainableGeomClassFromEntity(chain.front(), geometryClass, geometry)) {
        if (!radiusBond) {
            if (TypedBond* bond = TypedBond::CreateTypedBond(this, RadiusTypeOfClass(geometryClass),
                                                             {blend}, radius, nullptr)) {
                radiusBond = bond;
                bond->SetRigid(false);
                bond->SetDebugName("internalRadiusDimensionForChangeBlendRadius");
                AddBond(bond);
            }
        } else if (GeometryBase* first = radiusBond->GetGeom(0)) {
            if (TypedBond* bond = TypedBond::CreateTypedBond(this, ZMR3_EQUAL_RADIUS,
                                                             {first, blend}, 0.0, nullptr)) {
                bond->SetDebugName("internalEqualRadiusConstraintForChangeBlendRadius");
                Geometry* firstGeometry = dynamic_cast<Geometry*>(first);
                if (firstGeometry && GetEntityClass(GetGeometryOfTopology(
                                         firstGeometry->GetEntity())) == KernelClassTorus)
                    bond->SetEqualRadiusMinorRadiusForGeom(0);
                if (geometryClass == KernelClassTorus)
                    bond->SetEqualRadiusMinorRadiusForGeom(1);
                AddBond(bond);
            }
        }
    }
    for (size_t i = 1; i < chain.size(); ++i)
        AddTangentTopologicalBond(interaction, blend, chain[i], true);
}

void Solver::AddSectionCluster(const SectionClusterData& section)
{
    Reference* reference = section.m_reference;
    if (!reference || !section.m_section)
        return;
    AddReferenceGeometry(reference->GetInteraction(),
                         GeometryKey(reference->GetEntityTag(), reference->GetInstance()),
                         reference->GetBehaviour(), RelationSubtypeBoundary);
    if (FindGeometry(reference))
        AddSectionConstraints(section.m_section, section.m_cutInstance, reference);
}

void Solver::AddSectionConstraints(Section* section, Instance* cut, Reference* reference)
{
    if (!section || !cut || !reference)
        return;
    Instance* sectionInstance =
        reference->GetInstance() ? reference->GetInstance() : section->GetSectionInstance(cut);
    Geometry* entity = GetOrMakeGeometry(GeometryKey(reference->GetEntityTag(), sectionInstance));
    Reference* planeReference = section->GetSectionPlane();
    Geometry* plane = planeReference ? GetOrMakeGeometry(planeReference) : nullptr;
    if (!entity || !plane)
        return;
    if (!FindBondOfGeometries(entity, plane, ZMR3_COINCIDENT)) {
        if (TypedBond* bond = TypedBond::CreateBinary(this, ZMR3_COINCIDENT, entity, plane, 0.0)) {
            AddBond(bond);
            bond->SetDebugName("section entity to section plane coincidence");
        }
    }
    std::vector<int> sources;
    section->GetSourceEntities(cut, reference->GetEntityTag(), sources);
    const Xform& placement = cut->GetXform();
    for (int source : sources) {
        ZMR3_d_type type = ZMR3_COINCIDENT;
        if (GetGeometryClassOfTopology(source) == KernelClassTorus) {
            if (section->IsTheAxisOnSectionPlane(source, placement))
                type = ZMR3_COINCIDENT_AROUND_SPINE;
            if (section->IsTheAxisParallelToSectionPlane(source, placement) &&
                section->IsTorusSpinePlaneCoincidentToSectionPlane(source, placement))
                type = ZMR3_COINCIDENT_WITH_SPINE;
        }
        Geometry* sourceGeometry = GetOrMakeGeometry(GeometryKey(source, cut));
        if (!sourceGeometry || FindBondOfGeometries(entity, sourceGeometry, type))
            continue;
        TypedBond* bond = TypedBond::CreateBinary(this, type, entity, sourceGeometry, 0.0);
        if (!bond)
            continue;
        AddBond(bond);
        bond->SetDebugName("section entity to source entity coincidence");
        if (BodyStar* star = GetBodyStar(cut->GetBodyTag()))
            star->AddReference(GeometryKey(source, cut), reference->GetBehaviour(),
                               RelationSubtypeBoundary);
    }
    AddSectionSourceAxisConstraints(section, cut, reference);
}

void Solver::AddSectionSourceAxisConstraints(Section* section, Instance* cut, Reference* reference)
{
    if (!section || !cut || !reference)
        return;
    Reference* planeReference = section->GetSectionPlane();
    Geometry* plane = planeReference ? GetOrMakeGeometry(planeReference) : nullptr;
    if (!plane)
        return;
    const auto bondOnce = [&](GeometryBase* geometry, ZMR3_d_type type) {
        if (!geometry || FindBondOfGeometries(geometry, plane, type))
            return;
        if (TypedBond* bond = TypedBond::CreateBinary(this, type, geometry, plane, 0.0)) {
            AddBond(bond);
            bond->SetDebugName("section entity axis to section plane constraint");
        }
    };
    std::vector<int> sources;
    section->GetSourceEntities(cut, reference->GetEntityTag(), sources);
    const Xform& placement = cut->GetXform();
    for (int source : sources) {
        const GeometryKey key(source, cut);
        const int geometryClass = GetGeometryClassOfTopology(source);
        std::vector<GeometryBase*> made;
        if (geometryClass == KernelClassCylinder || geometryClass == KernelClassCone ||
            geometryClass == KernelClassTorus) {
            const bool on = section->IsTheAxisOnSectionPlane(source, placement);
            const bool along = section->IsTheAxisParallelToSectionPlane(source, placement);
            if (on || along) {
                GetOrMakeTemporaryConstructionGeometry(RelationSubtypeAxis, key, made);
                bondOnce(GetTemporaryConstructionGeometry(key, RelationSubtypeAxis),
                         on ? ZMR3_COINCIDENT : ZMR3_PARALLEL);
            }
            if (geometryClass == KernelClassTorus &&
                section->IsTorusSpinePlaneCoincidentToSectionPlane(source, placement)) {
                std::vector<GeometryBase*> centre;
                GetOrMakeTemporaryConstructionGeometry(RelationSubtypeCentre, key, centre);
                // The torus centre's construction: the point, the spine circle, the spine plane.
                if (centre.size() > 2)
                    bondOnce(centre[2], ZMR3_COINCIDENT);
            }
        } else if (geometryClass == KernelClassSphere &&
                   section->IsCentreOnSectionPlane(source, placement)) {
            GetOrMakeTemporaryConstructionGeometry(RelationSubtypeCentre, key, made);
            bondOnce(GetTemporaryConstructionGeometry(key, RelationSubtypeCentre), ZMR3_COINCIDENT);
        }
    }
}

}  // namespace QEL
