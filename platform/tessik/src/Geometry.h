// World-coordinate geometry as the system reads it, and the rigid motions applied to it.
#pragma once

#include "tessik.h"

#include <Eigen/Dense>

namespace tessik {

using Vec3 = Eigen::Vector3d;
using Mat3 = Eigen::Matrix3d;

struct Geom {
    int type = -1;              // ZMR3_g_type; -1 when unknown
    Vec3 p = Vec3::Zero();      // location: point, line point, centre, plane point, axis point
    Vec3 d = Vec3::Zero();      // direction, normal or axis (unit)
    Vec3 u = Vec3::Zero();      // ellipse major direction (unit)
    double r1 = 0.0;            // radius, major radius, cone radius at p
    double r2 = 0.0;            // minor radius
    double half = 0.0;          // cone half angle
};

struct Rigid {
    Mat3 R = Mat3::Identity();
    Vec3 t = Vec3::Zero();
    Vec3 Apply(const Vec3& x) const { return R * x + t; }
};

bool HasDirection(int type);
bool HasCentre(int type);      // point-like centre: point, circle, sphere, torus, ellipse
bool IsAxialOnly(int type);    // line, cylinder, cone: an axis line without a centre
int ShapeCount(int type);      // free shape values of a loose geometry
// False for an unknown type, a zero direction or a negative radius or half angle.
bool IsUsable(const Geom& g);

Mat3 RotationOf(const Vec3& w);
Vec3 RotationVectorOf(const Mat3& R);
Geom Transformed(const Geom& g, const Rigid& m);
Rigid Compose(const Rigid& a, const Rigid& b);  // a after b
Rigid Inverse(const Rigid& m);
// The least rigid change that takes a onto b: the shortest turn of the direction about
// a's location, then the move of the location across the geometry's own shape.
Rigid ChangeBetween(const Geom& a, const Geom& b);

// Reads one geometry through the callback table.
Geom ReadGeometry(const ZMR3_frustum_functions& table, void* app, int type);

}  // namespace tessik
