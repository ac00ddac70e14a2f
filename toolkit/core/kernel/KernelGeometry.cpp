// Standard forms, evaluation and sense comparison of kernel geometry.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/maths/Tolerance.h"

#include <cmath>

namespace QEL {

namespace {

Position ToPosition(const BQ_VECTOR_t& v) { return Position(v.coord); }
BQ_VECTOR_t ToVector(const Position& p) { return BQ_VECTOR_t{{p.x, p.y, p.z}}; }

void Store(Position* out, const BQ_VECTOR_t& v)
{
    if (out)
        *out = ToPosition(v);
}

void Store(double* out, double value)
{
    if (out)
        *out = value;
}

// The geometry behind a vertex, edge or face, or the entity itself when it is geometry.
int GetUnderlyingGeometry(int entity)
{
    int geometry = 0;
    switch (GetEntityClass(entity)) {
        case KernelClassVertex:
            BQ_VERTEX_ask_point(entity, &geometry);
            break;
        case KernelClassEdge:
            BQ_EDGE_ask_curve(entity, &geometry);
            break;
        case KernelClassFace:
            BQ_FACE_ask_surf(entity, &geometry);
            break;
        default:
            geometry = IsGeometry(entity) ? entity : 0;
            break;
    }
    return geometry;
}

// The standard form's location and axis, read into the outputs by class; false for a class
// without a standard form.
bool ReadStandardForm(int geometry, int classCode, Position* location, Position* axis,
                      double* radius, double* coneHalfAngle, double* torusMinorRadius)
{
    switch (classCode) {
        case KernelClassPoint: {
            BQ_POINT_sf_t sf;
            if (BQ_POINT_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.position);
            return true;
        }
        case KernelClassLine: {
            BQ_LINE_sf_t sf;
            if (BQ_LINE_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            return true;
        }
        case KernelClassCircle: {
            BQ_CIRCLE_sf_t sf;
            if (BQ_CIRCLE_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            Store(radius, sf.radius);
            return true;
        }
        case KernelClassPlane: {
            BQ_PLANE_sf_t sf;
            if (BQ_PLANE_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            return true;
        }
        case KernelClassCylinder: {
            BQ_CYL_sf_t sf;
            if (BQ_CYL_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            Store(radius, sf.radius);
            return true;
        }
        case KernelClassCone: {
            BQ_CONE_sf_t sf;
            if (BQ_CONE_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            Store(radius, sf.radius);
            Store(coneHalfAngle, sf.half_angle);
            return true;
        }
        case KernelClassSphere: {
            BQ_SPHERE_sf_t sf;
            if (BQ_SPHERE_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            Store(radius, sf.radius);
            return true;
        }
        case KernelClassTorus: {
            BQ_TORUS_sf_t sf;
            if (BQ_TORUS_ask(geometry, &sf) != BQ_ERROR_no_errors)
                return false;
            Store(location, sf.basis_set.location);
            Store(axis, sf.basis_set.axis);
            Store(radius, sf.major_radius);
            Store(torusMinorRadius, sf.minor_radius);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool ReadGeometryStandardForm(int geometry, int classCode, Position* location, Position* axis,
                              double* radius, double* coneHalfAngle, double* torusMinorRadius)
{
    return ReadStandardForm(geometry, classCode, location, axis, radius, coneHalfAngle,
                            torusMinorRadius);
}

int GetStandardGeometry(int entity, int* geometry, const Xform* xform, Position* location,
                        Position* axis, double* radius, double* coneHalfAngle,
                        double* torusMinorRadius)
{
    const int underlying = GetUnderlyingGeometry(entity);
    if (geometry)
        *geometry = underlying;
    if (underlying == 0)
        return 0;
    const int classCode = GetEntityClass(underlying);
    if (!ReadStandardForm(underlying, classCode, location, axis, radius, coneHalfAngle,
                          torusMinorRadius))
        return 0;
    if (xform && !xform->IsIdentity()) {
        if (location)
            *location = TransformPosition(*xform, *location);
        if (axis) {
            const Vec turned = RotateVec(xform->rotation, Vec(axis->x, axis->y, axis->z));
            *axis = Position(turned.x, turned.y, turned.z);
        }
    }
    return classCode;
}

Dir GetGeometryAxisDirection(int geometry)
{
    Position axis;
    const int classCode = GetEntityClass(geometry);
    bool found = false;
    if (classCode == KernelClassEllipse) {
        BQ_ELLIPSE_sf_t sf;
        found = BQ_ELLIPSE_ask(geometry, &sf) == BQ_ERROR_no_errors;
        if (found)
            axis = ToPosition(sf.basis_set.axis);
    } else if (classCode != KernelClassPoint) {
        found = ReadStandardForm(geometry, classCode, nullptr, &axis, nullptr, nullptr, nullptr);
    }
    if (!found)
        return Dir(0.0, 0.0, 0.0, true);
    return Dir(axis.x, axis.y, axis.z);
}

Position GetPlaneLocation(int plane)
{
    BQ_PLANE_sf_t sf;
    if (BQ_PLANE_ask(plane, &sf) != BQ_ERROR_no_errors)
        return Position();
    return ToPosition(sf.basis_set.location);
}

Dir GetPlaneNormal(int plane)
{
    BQ_PLANE_sf_t sf;
    if (BQ_PLANE_ask(plane, &sf) != BQ_ERROR_no_errors)
        return Dir();
    const BQ_VECTOR_t& a = sf.basis_set.axis;
    return Dir(a.coord[0], a.coord[1], a.coord[2]);
}

bool AreGeometriesCoincident(int geometry1, int geometry2)
{
    bool coincident = false;
    return BQ_GEOM_is_coincident(geometry1, geometry2, &coincident) == BQ_ERROR_no_errors &&
           coincident;
}

int CreateRadiusScaleTransform(int entity, double radiusChange)
{
    Position location;
    double radius = 0.0;
    if (GetStandardGeometry(entity, nullptr, nullptr, &location, nullptr, &radius, nullptr,
                            nullptr) == 0 ||
        radius <= 0.0)
        return 0;
    const double newRadius = radius + radiusChange;
    if (!(newRadius > s_linearTolerance))
        return 0;
    int transform = 0;
    if (BQ_TRANSF_create_equal_scale(newRadius / radius, ToVector(location), &transform) !=
        BQ_ERROR_no_errors)
        return 0;
    return transform;
}

void EvaluateFaceMidpoint(int face, Position* point, Dir* normal)
{
    bool sense = true;
    const int surface = GetOrientedGeometry(face, &sense);
    BQ_UVBOX_t box;
    if (surface == 0 || BQ_FACE_find_uvbox(face, &box) != BQ_ERROR_no_errors)
        return;
    const BQ_UV_t centre = {
        {(box.param[0] + box.param[2]) / 2.0, (box.param[1] + box.param[3]) / 2.0}};
    BQ_VECTOR_t p;
    BQ_VECTOR_t n;
    if (BQ_SURF_eval_with_normal(surface, centre, 0, 0, false, &p, &n) != BQ_ERROR_no_errors)
        return;
    const double sign = sense ? 1.0 : -1.0;
    if (point)
        *point = ToPosition(p);
    if (normal)
        *normal = Dir(sign * n.coord[0], sign * n.coord[1], sign * n.coord[2]);
}

bool CompareFaceSense(int faceA, int faceB)
{
    Position point;
    Dir normalA(0.0, 0.0, 0.0, true);
    EvaluateFaceMidpoint(faceA, &point, &normalA);

    bool senseB = true;
    const int surfaceB = GetOrientedGeometry(faceB, &senseB);
    BQ_UV_t uv = {{0.0, 0.0}};
    if (BQ_SURF_parameterise_vector(surfaceB, ToVector(point), &uv) != BQ_ERROR_no_errors) {
        const BQ_TOPOL_range_o_t options = {1, 0.0};
        BQ_range_r_t range;
        range.result = BQ_range_result_not_found;
        if (BQ_GEOM_range_vector(surfaceB, ToVector(point), &options, &range) ==
                BQ_ERROR_no_errors &&
            range.result == BQ_range_result_found) {
            uv.param[0] = range.end[0].parameters[0];
            uv.param[1] = range.end[0].parameters[1];
        }
    }
    BQ_VECTOR_t p;
    BQ_VECTOR_t n = {{0.0, 0.0, 0.0}};
    BQ_SURF_eval_with_normal(surfaceB, uv, 0, 0, false, &p, &n);
    const double sign = senseB ? 1.0 : -1.0;
    const Dir normalB(sign * n.coord[0], sign * n.coord[1], sign * n.coord[2]);
    const double dot = Dot(normalA, normalB);
    // A dot product that is not a number counts as agreeing.
    return (dot >= 0.0 || std::isnan(dot)) ? senseB : !senseB;
}

Position TransformPosition(const Xform& xform, const Position& point)
{
    Vec p(point.x, point.y, point.z);
    xform.TransformPoint(p);
    return Position(p.x, p.y, p.z);
}

}  // namespace QEL
