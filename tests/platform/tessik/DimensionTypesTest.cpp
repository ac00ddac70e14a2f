// Every dimension type on the geometry pairs the toolkit uses: driven from a perturbed
// start back to its exact value, then measured through a value node.
#include "TestHost.h"

#include <gtest/gtest.h>

using namespace tessik_host;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Driven {
    Bond* bond;
    std::function<double()> measure;  // the value as the test computes it
    double expected;
    bool angular;
};

struct Case {
    const char* name;
    std::function<Driven(Host&)> build;
};

void Fix(Host& h, Geometry* g) { h.System().fix(g->node); }

// Deviation from parallel (or opposite) directions.
double Skew(V a, V b) { return Norm(Cross(a, b)); }
double PointLine(V q, const Geometry& l) { return Norm(Cross(q - l.p, l.d)); }
double Radial(V q, const Geometry& axis) { return PointLine(q, axis); }

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"DistancePointPoint",
         [](Host& h) {
             auto a = h.Point({0, 0, 0});
             auto b = h.Point({3, 4, 0.2});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 6.0), [a, b] { return Norm(b->p - a->p); }, 6.0, false};
         }},
        {"DistancePointPlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Point({1, 2, 3.3});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 5.0), [a, b] { return Dot(a->d, b->p - a->p); }, 5.0, false};
         }},
        {"DistancePlanePlaneWithImpliedParallelism",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Plane({0, 0, 4}, {0.05, 0, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 7.0),
                           [a, b] { return Dot(a->d, b->p - a->p) + 1e3 * Skew(a->d, b->d); }, 7.0, false};
         }},
        {"DistanceLineLine",
         [](Host& h) {
             auto a = h.Line({0, 0, 0}, {0, 0, 1});
             auto b = h.Line({2, 1, 0}, {0.03, 0, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 4.0),
                           [a, b] { return PointLine(b->p, *a) + 1e3 * Skew(a->d, b->d); }, 4.0, false};
         }},
        {"DistancePointLine",
         [](Host& h) {
             auto a = h.Line({0, 0, 0}, {1, 0, 0});
             auto b = h.Point({5, 1, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 3.0), [a, b] { return PointLine(b->p, *a); }, 3.0, false};
         }},
        {"DistanceSpherePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Sphere({1, 1, 5}, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 3.0), [a, b] { return b->p[2] - b->r1; }, 3.0, false};
         }},
        {"DistanceCylinderPlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Cylinder({0, 0, 4}, {1, 0, 0.02}, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 2.0),
                           [a, b] { return b->p[2] - b->r1 + 1e3 * std::abs(Dot(a->d, b->d)); }, 2.0, false};
         }},
        {"DistanceCylinderCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 1.0);
             auto b = h.Cylinder({5, 0, 0}, {0, 0.02, 1}, 2.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 1.5),
                           [a, b] { return Radial(b->p, *a) - a->r1 - b->r1 + 1e3 * Skew(a->d, b->d); }, 1.5, false};
         }},
        {"DirectedDistancePointPoint",
         [](Host& h) {
             auto a = h.Point({0, 0, 0});
             auto b = h.Point({1, 2, 3});
             Fix(h, a);
             Bond* bond = h.Dim(ZMR3_DISTANCE, a, b, 4.0);
             bond->directionKind = 1;
             bond->direction = {0, 0, 1};
             return Driven{bond, [a, b] { return b->p[2] - a->p[2]; }, 4.0, false};
         }},
        {"AngleLineLine",
         [](Host& h) {
             auto a = h.Line({0, 0, 0}, {1, 0, 0});
             auto b = h.Line({0, 0, 0}, {1, 0.5, 0.1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_ANGLE, a, b, kPi / 6), [a, b] { return Angle(a->d, b->d); }, kPi / 6, true};
         }},
        {"AnglePlanePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Plane({1, 0, 0}, {1, 0, 1.2});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_ANGLE, a, b, kPi / 3), [a, b] { return Angle(a->d, b->d); }, kPi / 3, true};
         }},
        {"PlanarAngleAboutPlaneNormal",
         [](Host& h) {
             auto a = h.Line({0, 0, 0}, {1, 0, 0});
             auto b = h.Line({0, 0, 0}, {-0.4, 1, 0});
             auto n = h.Plane({0, 0, 0}, {0, 0, 1});
             Fix(h, a);
             Fix(h, n);
             Bond* bond = h.Dim(ZMR3_ANGLE, a, b, 2 * kPi / 3);
             bond->anglePlane = n;
             h.Dim(ZMR3_PARALLEL, b, n);
             return Driven{bond,
                           [a, b, n] { return std::atan2(Dot(Cross(a->d, b->d), n->d), Dot(a->d, b->d)); },
                           2 * kPi / 3, true};
         }},
        {"ConcentricCylinderCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 1.0);
             auto b = h.Cylinder({0.1, 0.05, 3}, {0.02, 0, 1}, 2.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_CONCENTRIC, a, b), [a, b] { return Radial(b->p, *a) + Skew(a->d, b->d); }, 0.0,
                           false};
         }},
        {"ConcentricCircleCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 1.0);
             auto b = h.Circle({0.1, 0.05, 3}, {0.02, 0, 1}, 2.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_CONCENTRIC, b, a), [a, b] { return Radial(b->p, *a) + Skew(a->d, b->d); }, 0.0,
                           false};
         }},
        {"ConcentricPointSphere",
         [](Host& h) {
             auto a = h.Sphere({1, 1, 1}, 2.0);
             auto b = h.Point({1.2, 0.9, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_CONCENTRIC, b, a), [a, b] { return Norm(b->p - a->p); }, 0.0, false};
         }},
        {"RadiusOfCircle",
         [](Host& h) {
             auto a = h.Circle({0, 0, 0}, {0, 0, 1}, 2.0);
             return Driven{h.Radius(ZMR3_RADIUS, a, 2.5), [a] { return a->r1; }, 2.5, false};
         }},
        {"RadiusOfCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 2.0);
             return Driven{h.Radius(ZMR3_RADIUS, a, 1.25), [a] { return a->r1; }, 1.25, false};
         }},
        {"RadiusOfSphere",
         [](Host& h) {
             auto a = h.Sphere({0, 0, 0}, 2.0);
             return Driven{h.Radius(ZMR3_RADIUS, a, 3.0), [a] { return a->r1; }, 3.0, false};
         }},
        {"MajorRadiusOfTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             return Driven{h.Radius(ZMR3_MAJOR_RADIUS, a, 6.0), [a] { return a->r1; }, 6.0, false};
         }},
        {"MinorRadiusOfTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             return Driven{h.Radius(ZMR3_MINOR_RADIUS, a, 0.5), [a] { return a->r2; }, 0.5, false};
         }},
        {"HalfAngleOfCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, 0.3);
             return Driven{h.Radius(ZMR3_HALF_ANGLE, a, 0.4), [a] { return a->half; }, 0.4, true};
         }},
        {"ParallelPlanePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Plane({0, 0, 3}, {0.1, 0.05, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_PARALLEL, a, b), [a, b] { return Skew(a->d, b->d); }, 0.0, true};
         }},
        {"ParallelLinePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Line({0, 0, 3}, {1, 0, 0.1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_PARALLEL, b, a), [a, b] { return std::abs(Dot(a->d, b->d)); }, 0.0, true};
         }},
        {"PerpendicularLineLine",
         [](Host& h) {
             auto a = h.Line({0, 0, 0}, {1, 0, 0});
             auto b = h.Line({0, 0, 3}, {0.1, 1, 0.05});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_PERPENDICULAR, a, b), [a, b] { return std::abs(Dot(a->d, b->d)); }, 0.0, true};
         }},
        {"PerpendicularLinePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Line({0, 0, 3}, {0.1, 0.05, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_PERPENDICULAR, b, a), [a, b] { return Skew(a->d, b->d); }, 0.0, true};
         }},
        {"CoincidentPointPlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Point({1, 2, 0.3});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a), [b] { return std::abs(b->p[2]); }, 0.0, false};
         }},
        {"CoincidentLinePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Line({0, 0, 0.3}, {1, 0, 0.1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a), [b] { return std::abs(b->p[2]) + std::abs(b->d[2]); }, 0.0,
                           false};
         }},
        {"CoincidentPlanePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Plane({1, 1, 0.2}, {0.05, 0, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, a, b),
                           [a, b] { return std::abs(Dot(a->d, b->p - a->p)) + Skew(a->d, b->d); }, 0.0, false};
         }},
        {"CoincidentCirclePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Circle({1, 1, 0.2}, {0.05, 0, 1}, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a), [a, b] { return std::abs(b->p[2]) + Skew(a->d, b->d); }, 0.0,
                           false};
         }},
        {"CoincidentPointCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 2.0);
             auto b = h.Point({2.3, 0.1, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a), [a, b] { return Radial(b->p, *a); }, 2.0, false};
         }},
        {"CoincidentPointCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Point({2.2, 0, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a), [a, b] { return Radial(b->p, *a) - b->p[2]; }, 1.0, false};
         }},
        {"CoincidentPointTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Point({6.3, 0, 0.2});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a),
                           [a, b] { return std::hypot(Radial(b->p, *a) - 5.0, b->p[2]); }, 1.0, false};
         }},
        {"CoincidentCircleTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Circle({0.1, 0, 1.1}, {0, 0.02, 1}, 5.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a),
                           [a, b] { return std::hypot(b->r1 - 5.0, b->p[2]) + Radial(b->p, *a) + Skew(a->d, b->d); },
                           1.0, false};
         }},
        {"TangentPlaneCylinder",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Cylinder({0, 0, 1.3}, {1, 0, 0.05}, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, a, b),
                           [a, b] { return std::abs(b->p[2] - b->r1) + std::abs(Dot(a->d, b->d)); }, 0.0, false};
         }},
        {"TangentPlaneSphere",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Sphere({0, 0, 1.3}, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, a, b), [b] { return std::abs(b->p[2] - b->r1); }, 0.0, false};
         }},
        {"TangentCylinderCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 1.0);
             auto b = h.Cylinder({3.3, 0, 0}, {0, 0, 1}, 2.0);
             Fix(h, a);
             // The loose cylinder shares the change between its place and its radius.
             return Driven{h.Dim(ZMR3_TANGENT, a, b), [a, b] { return Radial(b->p, *a) - a->r1 - b->r1; }, 0.0,
                           false};
         }},
        {"TangentPlaneTorus",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Torus({0, 0, 1.2}, {0.02, 0, 1}, 5.0, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, a, b), [a, b] { return b->p[2] - b->r2 + Skew(a->d, b->d); }, 0.0,
                           false};
         }},
        {"EqualRadiusCylinderCylinder",
         [](Host& h) {
             auto a = h.Cylinder({0, 0, 0}, {0, 0, 1}, 2.0);
             auto b = h.Cylinder({5, 0, 0}, {0, 0, 1}, 2.4);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_EQUAL_RADIUS, a, b), [b] { return b->r1; }, 2.0, false};
         }},
        {"EqualRadiusMinorRadiusOfTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Cylinder({9, 0, 0}, {0, 0, 1}, 1.4);
             Fix(h, a);
             Bond* bond = h.Dim(ZMR3_EQUAL_RADIUS, a, b);
             bond->radiusKind = {ZMR3_MINOR_RADIUS, ZMR3_MAJOR_RADIUS};
             return Driven{bond, [b] { return b->r1; }, 1.0, false};
         }},
        {"SymmetricPointsAboutPlane",
         [](Host& h) {
             auto a = h.Point({1, 2, 3});
             auto b = h.Point({-1.2, 2.1, 3});
             auto m = h.Plane({0, 0, 0}, {1, 0, 0});
             Fix(h, a);
             Fix(h, m);
             return Driven{h.Dim(ZMR3_SYMMETRIC, a, b, 0.0, m), [b] { return Norm(b->p - V{-1, 2, 3}); }, 0.0, false};
         }},
        {"SymmetricPlanesAboutPlane",
         [](Host& h) {
             auto a = h.Plane({2, 0, 0}, {1, 0.2, 0});
             auto b = h.Plane({-2.5, 0, 0}, {1, 0, 0});
             auto m = h.Plane({0, 0, 0}, {1, 0, 0});
             Fix(h, a);
             Fix(h, m);
             return Driven{h.Dim(ZMR3_SYMMETRIC, a, b, 0.0, m),
                           [b] { return Skew(b->d, Unit(V{-1, 0.2, 0})) + std::abs(Dot(b->d, b->p - V{-2, 0, 0})); },
                           0.0, false};
         }},
        {"CircleAroundTorusSpine",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Circle({5.2, 0.1, 0.1}, {0, 1, 0.05}, 1.3);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT_AROUND_SPINE, b, a),
                           [b] {
                               const V radial{b->p[0], b->p[1], 0};
                               return std::abs(Norm(radial) - 5.0) + std::abs(b->p[2]) + std::abs(b->r1 - 1.0) +
                                      Skew(b->d, V{-radial[1], radial[0], 0});
                           },
                           0.0, false};
         }},
        {"CircleWithTorusSpine",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Circle({0.2, 0.1, 0.1}, {0, 0.05, 1}, 4.6);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT_WITH_SPINE, b, a),
                           [a, b] { return Norm(b->p) + Skew(a->d, b->d); }, 0.0, false};
         }},
        {"PlaneWithTorusSpine",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Plane({0, 0, 0.3}, {0.05, 0, 1});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT_WITH_SPINE, b, a),
                           [a, b] { return std::abs(Dot(b->d, b->p)) + Skew(a->d, b->d); }, 0.0, false};
         }},
        // Tangencies, distances and coincidences of cones and tori. The cone at the origin
        // opens up the z axis from radius 1 at 45 degrees, its apex at z = -1; the torus at the
        // origin has radii 5 and 1.
        {"TangentPlaneCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Plane({1.2, 0.1, 0}, Unit({0.7, 0.05, -0.72}));
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, b, a),
                           [a, b] {
                               return std::abs(Dot(b->d, V{0, 0, -1} - b->p)) +
                                      std::abs(std::abs(Dot(b->d, a->d)) - std::sin(kPi / 4));
                           },
                           0.0, false};
         }},
        {"TangentCylinderCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Cylinder({0.4, 0.03, -1.35}, Unit({0.72, 0.02, 0.69}), 0.5);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, b, a),
                           [a, b] {
                               const V apex{0, 0, -1};
                               return std::abs(Angle(b->d, a->d) - kPi / 4) +
                                      std::abs(Dot(b->p - apex, Cross(a->d, b->d))) +
                                      std::abs(Norm(Cross(b->p - apex, b->d)) - b->r1);
                           },
                           0.0, false};
         }},
        {"TangentTorusCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 3.0, kPi / 6);
             auto b = h.Torus({0.05, 0, 2}, Unit({0.02, 0, 1}), 4.9, 0.5);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, b, a),
                           [a, b] {
                               const double gap = (b->r1 - 3.0 - b->p[2] * std::tan(kPi / 6)) * std::cos(kPi / 6);
                               return std::abs(gap - b->r2) + Radial(b->p, *a) + Skew(a->d, b->d);
                           },
                           0.0, false};
         }},
        {"TangentSphereCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Sphere({4, 0, 0.2}, 1.5);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, b, a),
                           [a, b] { return std::abs((Radial(b->p, *a) - 1.0 - b->p[2]) * std::cos(kPi / 4) - b->r1); },
                           0.0, false};
         }},
        {"TangentSphereTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Sphere({5, 0, 3}, 1.9);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, b, a),
                           [a, b] { return std::abs(std::hypot(Radial(b->p, *a) - 5.0, b->p[2]) - 1.0 - b->r1); }, 0.0,
                           false};
         }},
        {"TangentTorusTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Torus({0.05, 0, 2.1}, Unit({0, 0.02, 1}), 5.0, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_TANGENT, a, b),
                           [a, b] {
                               return std::abs(std::hypot(b->r1 - 5.0, b->p[2]) - 1.0 - b->r2) + Radial(b->p, *a) +
                                      Skew(a->d, b->d);
                           },
                           0.0, false};
         }},
        {"DistancePlaneCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Plane({2.5, 0.1, 0}, Unit({0.7, 0.05, -0.72}));
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 2.0),
                           [a, b] {
                               return std::abs(Dot(b->d, V{0, 0, -1} - b->p)) +
                                      1e3 * std::abs(std::abs(Dot(b->d, a->d)) - std::sin(kPi / 4));
                           },
                           2.0, false};
         }},
        {"DistancePlaneTorus",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Torus({1, 1, 4.3}, Unit({0.03, 0, 1}), 5.0, 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 3.0), [a, b] { return b->p[2] - b->r2 + 1e3 * Skew(a->d, b->d); },
                           3.0, false};
         }},
        {"DistanceCirclePlane",
         [](Host& h) {
             auto a = h.Plane({0, 0, 0}, {0, 0, 1});
             auto b = h.Circle({1, 1, 4.3}, Unit({0.03, 0, 1}), 1.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 5.0), [a, b] { return b->p[2] + 1e3 * Skew(a->d, b->d); }, 5.0,
                           false};
         }},
        {"DistancePointCircle",
         [](Host& h) {
             auto a = h.Circle({0, 0, 0}, {0, 0, 1}, 5.0);
             auto b = h.Point({8, 0, 3.2});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 5.0),
                           [a, b] { return std::hypot(Radial(b->p, *a) - 5.0, b->p[2]); }, 5.0, false};
         }},
        {"DistancePointTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Point({8, 0, 0.3});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 2.0),
                           [a, b] { return std::hypot(Radial(b->p, *a) - 5.0, b->p[2]) - 1.0; }, 2.0, false};
         }},
        {"DistancePointCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Point({4, 0, 0.2});
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, b, a, 2.0),
                           [a, b] { return (Radial(b->p, *a) - 1.0 - b->p[2]) * std::cos(kPi / 4); }, 2.0, false};
         }},
        {"DistanceConeConeAxes",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Cone({3.3, 0, 0}, Unit({0.02, 0, 1}), 1.0, kPi / 4);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 4.0),
                           [a, b] { return PointLine(b->p, *a) + 1e3 * Skew(a->d, b->d); }, 4.0, false};
         }},
        {"DistanceCircleCircleCentres",
         [](Host& h) {
             auto a = h.Circle({0, 0, 0}, {0, 0, 1}, 1.0);
             auto b = h.Circle({3, 4, 0.5}, {0, 0, 1}, 2.0);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_DISTANCE, a, b, 6.0), [a, b] { return Norm(b->p - a->p); }, 6.0, false};
         }},
        {"CoincidentConeCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Cone({0.1, 0, 1}, Unit({0.02, 0, 1}), 2.0, kPi / 4 + 0.05);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, a, b),
                           [a, b] {
                               const V apex = b->p - (b->r1 / std::tan(b->half)) * b->d;
                               return Norm(apex - V{0, 0, -1}) + Skew(a->d, b->d) + std::abs(b->half - kPi / 4);
                           },
                           0.0, false};
         }},
        {"CoincidentTorusTorus",
         [](Host& h) {
             auto a = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
             auto b = h.Torus({0.1, 0, 0.2}, Unit({0.02, 0, 1}), 5.2, 0.9);
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, a, b),
                           [a, b] {
                               return Norm(b->p) + Skew(a->d, b->d) + std::abs(b->r1 - 5.0) + std::abs(b->r2 - 1.0);
                           },
                           0.0, false};
         }},
        {"CoincidentLineCone",
         [](Host& h) {
             auto a = h.Cone({0, 0, 0}, {0, 0, 1}, 1.0, kPi / 4);
             auto b = h.Line({1.2, 0.1, 0}, Unit({0.7, 0, 0.72}));
             Fix(h, a);
             return Driven{h.Dim(ZMR3_COINCIDENT, b, a),
                           [a, b] {
                               return Norm(Cross(V{0, 0, -1} - b->p, b->d)) + std::abs(Angle(b->d, a->d) - kPi / 4);
                           },
                           0.0, false};
         }},
    };
    return cases;
}

class DimensionTypes : public ::testing::TestWithParam<Case> {};

TEST_P(DimensionTypes, DrivenFromPerturbedStartToExactValueAndMeasuredBack)
{
    Host host;
    Driven d = GetParam().build(host);
    ASSERT_EQ(host.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(host.Status(d.bond), ZMR3_D_STATUS_SATISFIED);
    host.Apply();
    const double tolerance = d.angular ? 1e-11 : 1e-8;
    EXPECT_NEAR(d.measure(), d.expected, tolerance);

    // The same dimension measured on the solved geometry: its value, and nothing moves.
    host.Measure(d.bond);
    ASSERT_EQ(host.Solve(), ZMR3_SOLVED);
    for (auto& g : host.Geometries())
        EXPECT_EQ(host.Changed(g.get()), 0);
    if (d.bond->type == ZMR3_DISTANCE || d.bond->type == ZMR3_ANGLE || d.bond->rnode != nullptr) {
        EXPECT_NEAR(host.System().value(d.bond->vnode), d.bond->value, tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, DimensionTypes, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
