// The blend chains of a blend-radius edit in the Solver.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "solver/Bonds.h"

namespace QEL {

namespace {

Geometry* GeometryOf(Solver* solver, Interaction* interaction, int entity)
{
    Geometry* geometry = solver->FindGeometry(GeometryKey(entity, nullptr));
    if (geometry)
        return geometry;
    // Made even where no star takes the entity, which the answer does not tell.
    solver->AddEntityGeometry(interaction, entity);
    return solver->FindGeometry(GeometryKey(entity, nullptr));
}

}  // namespace

void Solver::AddBlendRadiusOpData(Interaction* interaction, std::vector<int>& chain, double radius,
                                  Bond*& radiusBond)
{
    if (chain.empty())
        return;
    Geometry* blend = GeometryOf(this, interaction, chain.front());
    if (!blend)
        return;
    int geometryClass = 0, geometry = 0;

    if (Geometry::FindConstrainableGeomClassFromEntity(chain.front(), geometryClass, geometry)) {
        const bool torus = geometryClass == KernelClassTorus;
        if (!radiusBond) {
            TypedBond* bond = TypedBond::CreateTypedBond(this, torus ? ZMR3_MINOR_RADIUS : ZMR3_RADIUS,
                                                         {blend}, radius, nullptr);
            if (bond) {
                radiusBond = bond;
                bond->SetRigid(false);
                bond->SetDebugName("internalRadiusDimensionForChangeBlendRadius");
                AddBond(bond);
            }
        } else if (GeometryBase* first = radiusBond->GetGeom(0)) {
            TypedBond* bond = TypedBond::CreateTypedBond(this, ZMR3_EQUAL_RADIUS, {first, blend}, 0.0, nullptr);
            if (bond) {
                bond->SetDebugName("internalEqualRadiusConstraintForChangeBlendRadius");
                const Geometry* firstGeometry = dynamic_cast<const Geometry*>(first);
                if (firstGeometry &&
                    GetEntityClass(GetGeometryOfTopology(firstGeometry->GetEntity())) == KernelClassTorus)
                    bond->SetEqualRadiusMinorRadiusForGeom(0);
                if (torus)
                    bond->SetEqualRadiusMinorRadiusForGeom(1);
                AddBond(bond);
            }
        }
    }
    // The faces under a blend keep their place and stay tangent to it.
    for (size_t i = 1; i < chain.size(); ++i) {
        Geometry* under = GeometryOf(this, interaction, chain[i]);
        if (!under)
            continue;
        under->Fix(true);
        if (TypedBond* bond = TypedBond::CreateTypedBond(this, ZMR3_TANGENT, {blend, under}, 0.0, nullptr)) {
            bond->SetDebugName("topological");
            AddBond(bond);
        }
    }
}

}  // namespace QEL
