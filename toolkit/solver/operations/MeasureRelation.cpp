// Measuring a dimension-like relation: a bond of the relation's type with value 0 is measured
// by the dimension system itself through a value node, in a solve that must move nothing.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "model/relations/RelationEngine.h"

#include <cmath>

namespace QEL {

namespace {

bool IsGeometryOfClass(GeometryBase* geometry, int classCode)
{
    Geometry* g = dynamic_cast<Geometry*>(geometry);
    return g && GetEntityClass(g->GetFrustumGeomTag()) == classCode;
}

int GeomType(GeometryBase* geometry)
{
    ZMR3_g_type type = ZMR3_G_POINT;
    return geometry && geometry->GetGeomType(type) ? type : -1;
}

// The plane lies along a line of the cone: its normal makes the cone's half angle with the
// plane across the axis.
bool ConeTest(GeometryBase* cone, GeometryBase* plane)
{
    Vec location;
    Dir axis, normal;
    double radius = 0.0, halfAngle = 0.0;
    if (!cone->GetConeData(location, axis, radius, halfAngle) || !plane->GetNormal(normal))
        return false;
    const double a =
        std::acos(std::max(-1.0, std::min(1.0, Dot(axis, normal)))) - 1.5707963267948966;
    return std::abs(a + halfAngle) < s_angularTolerance ||
           std::abs(a - halfAngle) < s_angularTolerance;
}

bool IsAxisLike(int type)
{
    return type == ZMR3_G_LINE || type == ZMR3_G_CIRCLE || type == ZMR3_G_CYLINDER ||
           type == ZMR3_G_TORUS || type == ZMR3_G_CONE;
}

}  // namespace

bool Solver::getZMR3_d_type(RelationType type, ZMR3_d_type& dType,
                            std::vector<GeometryBase*>& geometries)
{
    GeometryBase* first = geometries.empty() ? nullptr : geometries[0];
    switch (type) {
        case RelationTypeDistance:
        case RelationTypeDirectedDistance:
            dType = ZMR3_DISTANCE;
            return true;
        case RelationTypeAngle:
        case RelationTypePlanarAngle:
            dType = ZMR3_ANGLE;
            return true;
        case RelationTypeHalfAngle:
            dType = ZMR3_HALF_ANGLE;
            return true;
        case RelationTypeRadius:
            dType = IsGeometryOfClass(first, KernelClassTorus) ? ZMR3_MAJOR_RADIUS : ZMR3_RADIUS;
            return true;
        case RelationTypeMinorRadius:
            dType = ZMR3_MINOR_RADIUS;
            return true;
        case RelationTypeEqualRadius:
            dType = ZMR3_EQUAL_RADIUS;
            return true;
        case RelationTypeParallel:
            dType = ZMR3_PARALLEL;
            return true;
        case RelationTypePerpendicular:
            dType = ZMR3_PERPENDICULAR;
            return true;
        case RelationTypeConcentric:
            dType = ZMR3_CONCENTRIC;
            return true;
        case RelationTypeTangent:
            dType = ZMR3_TANGENT;
            return true;
        case RelationTypeSymmetric:
            dType = ZMR3_SYMMETRIC;
            return true;
        case RelationTypeCoincident: {
            dType = ZMR3_COINCIDENT;
            if (geometries.size() != 2)
                return true;
            const bool torusCircle = IsGeometryOfClass(geometries[0], KernelClassTorus) &&
                                     IsGeometryOfClass(geometries[1], KernelClassCircle);
            const bool circleTorus = IsGeometryOfClass(geometries[0], KernelClassCircle) &&
                                     IsGeometryOfClass(geometries[1], KernelClassTorus);
            if (!torusCircle && !circleTorus)
                return true;
            Dir a, b;
            if (!geometries[0]->GetAxis(a) || !geometries[1]->GetAxis(b))
                return false;
            if (std::abs(Dot(a, b)) < 0.7071067811865476)
                dType = ZMR3_COINCIDENT_AROUND_SPINE;
            return true;
        }
        default:
            return false;
    }
}

bool Solver::IsMeasuredDistanceValid(RelationType type,
                                     const std::vector<MeasuredReference>& references,
                                     std::vector<GeometryBase*>& geometries)
{
    if (type != RelationTypeDistance)
        return true;
    if (references.size() < 2 || geometries.size() < 2)
        return false;
    const RelationSubtype s0 = references[0].subtype, s1 = references[1].subtype;
    GeometryBase* g0 = geometries[0];
    GeometryBase* g1 = geometries[1];
    const int k0 = GeomType(g0), k1 = GeomType(g1);
    if (s0 == RelationSubtypeCentre || s1 == RelationSubtypeCentre)
        return true;
    if (s0 == RelationSubtypeBoundary && s1 == RelationSubtypeBoundary) {
        const bool parallelPair = (k0 == ZMR3_G_LINE && k1 == ZMR3_G_LINE) ||
                                  (k0 == ZMR3_G_PLANE && k1 == ZMR3_G_PLANE) ||
                                  (k0 == ZMR3_G_CYLINDER && k1 == ZMR3_G_CYLINDER);
        const bool perpendicularPair =
            (k0 == ZMR3_G_LINE && k1 == ZMR3_G_PLANE) ||
            (k0 == ZMR3_G_PLANE && (k1 == ZMR3_G_LINE || k1 == ZMR3_G_CYLINDER)) ||
            (k0 == ZMR3_G_CYLINDER && k1 == ZMR3_G_PLANE);
        if (parallelPair)
            return g0->IsParallel(g1);
        if (perpendicularPair)
            return g0->IsPerpendicular(g1);
        if (k0 == ZMR3_G_PLANE && k1 == ZMR3_G_CONE)
            return ConeTest(g1, g0);
        if (k0 == ZMR3_G_CONE && k1 == ZMR3_G_PLANE)
            return ConeTest(g0, g1);
        return false;
    }
    if (IsAxisLike(k0) && IsAxisLike(k1))
        return g0->IsParallel(g1);
    if ((IsAxisLike(k0) && k1 == ZMR3_G_PLANE) || (k0 == ZMR3_G_PLANE && IsAxisLike(k1)))
        return g0->IsPerpendicular(g1);
    if (k0 == ZMR3_G_PLANE && k1 == ZMR3_G_PLANE)
        return g0->IsParallel(g1);
    return false;
}

bool Solver::MeasureRelationValueAndValidate(RelationType type,
                                             const std::vector<MeasuredReference>& references,
                                             double& value, bool& valid)
{
    value = 0.0;
    valid = false;
    if (references.empty() || type < RelationTypeDistance || type > RelationTypeMinorRadius)
        return false;
    std::vector<GeometryBase*> geometries;
    for (const MeasuredReference& reference : references) {
        Geometry* base = nullptr;
        GeometryBase* construction = nullptr;
        std::vector<GeometryBase*> auxiliary;
        MakeTemporaryConstructionGeometry(reference.subtype,
                                          GeometryKey(reference.entity, reference.instance), base,
                                          construction, auxiliary);
        if (!construction && !base)
            return false;
        geometries.push_back(construction ? construction : base);
    }
    ZMR3_d_type dType = ZMR3_DISTANCE;
    if (!getZMR3_d_type(type, dType, geometries))
        return false;
    // The planar angle starts from the present angle, which only its plane can tell.
    const double start =
        type == RelationTypePlanarAngle ? PlanarAngleBond::MeasureAngle(geometries) : 0.0;
    const std::vector<TypedBond*> bonds = AddRelationBonds(type, dType, geometries, start);
    if (bonds.empty())
        return false;
    TypedBond* bond = bonds.front();
    ZMR3_d_type bondType = dType;
    bond->GetType(bondType);
    v_node* measurement = bond->IsRNodeType() ? GetDimensionSystem()->add_v(bond, bond->GetRNode())
                                              : GetDimensionSystem()->add_v(bond, bond->GetDNode());
    if (!measurement)
        return false;
    if (SolveSystem() != SolveStatusSolved)
        return false;
    if (!IsMeasuredDistanceValid(type, references, geometries)) {
        for (GeometryBase* geometry : geometries) {
            bool moved = false;
            double matrix[4][4];
            if (geometry->GetZMRChange(moved, matrix, nullptr, nullptr) && moved)
                return false;
        }
    }
    value = GetDimensionSystem()->value(measurement);
    valid = true;
    return true;
}

bool Solver::MeasureRelationValueAndValidate(Relation* relation, double& value, bool& measured)
{
    value = 0.0;
    measured = false;
    if (!relation)
        return false;
    std::vector<MeasuredReference> references;
    for (Reference* reference : relation->GetReferences()) {
        if (!reference)
            return false;
        MeasuredReference measuredReference;
        measuredReference.entity = reference->GetEntityTag();
        measuredReference.instance = reference->GetInstance();
        measuredReference.subtype = relation->GetRelationSubtype(reference);
        references.push_back(measuredReference);
    }
    return MeasureRelationValueAndValidate(relation->GetType(), references, value, measured);
}

namespace {

// The solver's side of what relations and references ask of it.
class SolverRelationSolving : public RelationSolving {
public:
    bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass,
                                              int& geometry) override
    {
        return Geometry::FindConstrainableGeomClassFromEntity(entity, geometryClass, geometry);
    }

    // A solver made for this one measurement.
    bool MeasureRelationInTemporarySolver(Relation* relation, double& value,
                                          bool& measured) override
    {
        TemporarySolver solver;
        return solver.MeasureRelationValueAndValidate(relation, value, measured);
    }
};

SolverRelationSolving s_solverRelationSolving;

[[maybe_unused]] const bool s_solverRelationSolvingInstalled =
    InstallRelationSolving(&s_solverRelationSolving);

}  // namespace

}  // namespace QEL
