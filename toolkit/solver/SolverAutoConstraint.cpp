// The auto-constraint manager's results coming back into the Solver: the manager made the
// nodes already, so the Solver's objects take them over rather than adding new ones.
#include "solver/Solver.h"

#include "solver/AutoConstraintHandover.h"

#include <ysk.h>

namespace QEL {

TypedBond* Solver::CreateBondFromYSKData(void* existing, ZMR3_d_type type,
                                         const std::vector<GeometryBase*>& geometries, double value)
{
    TypedBond* bond =
        type == ZMR3_ANGLE && geometries.size() == 3
            ? PlanarAngleBond::CreatePlanarAngleBond(this, type, geometries, value, existing)
            : TypedBond::CreateTypedBond(this, type, geometries, value, existing);
    m_bonds.push_back(bond);
    return bond;
}

GeometryBase* Solver::CreateGeometryFromYSKData(const YSK_dimension_end_s& end)
{
    Instance* instance = static_cast<Instance*>(end.instance);
    const Dir unit = MakeDir(Vec(end.direction[0], end.direction[1], end.direction[2]));
    const double direction[3] = {unit.x, unit.y, unit.z};
    GeometryBase* made = nullptr;
    switch (end.shape) {
        case YSK_SHAPE_POINT:
            made = new GPoint(this, end.location, instance, end.node);
            break;
        case YSK_SHAPE_LINE:
            made = new GLine(this, end.location, direction, instance, end.node);
            break;
        case YSK_SHAPE_CIRCLE:
            made = new GCircle(this, end.location, end.radius, direction, instance, end.node);
            break;
        case YSK_SHAPE_PLANE:
            made = new GPlane(this, end.location, direction, instance, end.node);
            break;
        default:
            return nullptr;
    }
    // Geometry the manager put into a rigid set moves with that set's other members.
    g_node* setNode = nullptr;
    void* setApplication = nullptr;
    if (end.node && m_manager->get_s_of_g(end.node, &setNode, &setApplication) == 1 &&
        setApplication)
        if (Set* set = dynamic_cast<Set*>(static_cast<Node*>(setApplication)))
            set->UnionGeometry(made);
    m_constructionGeometries.push_back(made);
    return made;
}

bool Solver::AddBondsToYSK(YSKManager* manager, UpdateStatus& status)
{
    AddDelayedBonds();
    if (m_pendingBonds.Empty() && m_pendingRelationships.Empty())
        return true;
    AutoConstraintHandover* handover = InstalledSeam<AutoConstraintHandover>::Get();
    const bool ok = manager && handover &&
                    handover->HandOver(manager, m_pendingRelationships, m_pendingBonds, status);
    if (!ok)
        status = UpdateSolveFailed;
    // A record goes to the manager once, whether it took it or not.
    m_pendingBonds.Clear();
    m_pendingRelationships.Clear();
    return ok;
}

}  // namespace QEL
