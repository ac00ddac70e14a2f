#include "Geometry.h"

#include <cmath>

namespace tessik {

bool HasDirection(int type) { return type != ZMR3_G_POINT && type != ZMR3_G_SPHERE && type >= 0; }

bool HasCentre(int type)
{
    return type == ZMR3_G_POINT || type == ZMR3_G_CIRCLE || type == ZMR3_G_SPHERE || type == ZMR3_G_TORUS ||
           type == ZMR3_G_ELLIPSE;
}

bool IsAxialOnly(int type) { return type == ZMR3_G_LINE || type == ZMR3_G_CYLINDER || type == ZMR3_G_CONE; }

int ShapeCount(int type)
{
    switch (type) {
    case ZMR3_G_CIRCLE:
    case ZMR3_G_CYLINDER:
    case ZMR3_G_SPHERE:
    case ZMR3_G_CONE:
        return 1;
    case ZMR3_G_TORUS:
    case ZMR3_G_ELLIPSE:
        return 2;
    default:
        return 0;
    }
}

bool IsUsable(const Geom& g)
{
    switch (g.type) {
    case ZMR3_G_POINT:
    case ZMR3_G_LINE:
    case ZMR3_G_CIRCLE:
    case ZMR3_G_PLANE:
    case ZMR3_G_CYLINDER:
    case ZMR3_G_SPHERE:
    case ZMR3_G_TORUS:
    case ZMR3_G_CONE:
    case ZMR3_G_ELLIPSE:
        break;
    default:
        return false;
    }
    if (!g.p.allFinite() || !g.d.allFinite() || !std::isfinite(g.r1) || !std::isfinite(g.r2) ||
        !std::isfinite(g.half))
        return false;
    if (HasDirection(g.type) && std::abs(g.d.norm() - 1.0) > 1e-9)
        return false;
    if (g.type == ZMR3_G_ELLIPSE && std::abs(g.u.norm() - 1.0) > 1e-9)
        return false;
    if (g.r1 < 0.0 || g.r2 < 0.0)
        return false;
    if (g.type == ZMR3_G_CONE && (g.half <= 0.0 || g.half >= M_PI / 2))
        return false;
    if ((g.type == ZMR3_G_CIRCLE || g.type == ZMR3_G_CYLINDER || g.type == ZMR3_G_SPHERE) && g.r1 <= 0.0)
        return false;
    if (g.type == ZMR3_G_TORUS && (g.r1 <= 0.0 || g.r2 <= 0.0))
        return false;
    return true;
}

Mat3 RotationOf(const Vec3& w)
{
    const double angle = w.norm();
    if (angle < 1e-300)
        return Mat3::Identity();
    return Eigen::AngleAxisd(angle, w / angle).toRotationMatrix();
}

Vec3 RotationVectorOf(const Mat3& R)
{
    Eigen::AngleAxisd aa(R);
    return aa.axis() * aa.angle();
}

Geom Transformed(const Geom& g, const Rigid& m)
{
    Geom out = g;
    out.p = m.Apply(g.p);
    out.d = m.R * g.d;
    out.u = m.R * g.u;
    return out;
}

Rigid Compose(const Rigid& a, const Rigid& b)
{
    Rigid out;
    out.R = a.R * b.R;
    out.t = a.R * b.t + a.t;
    return out;
}

Rigid Inverse(const Rigid& m)
{
    Rigid out;
    out.R = m.R.transpose();
    out.t = -(out.R * m.t);
    return out;
}

Rigid ChangeBetween(const Geom& a, const Geom& b)
{
    Rigid m;
    if (HasDirection(a.type)) {
        m.R = Eigen::Quaterniond::FromTwoVectors(a.d, b.d).toRotationMatrix();
        if (a.type == ZMR3_G_ELLIPSE) {
            const Vec3 turned = m.R * a.u;
            const double spin = std::atan2(turned.cross(b.u).dot(b.d), turned.dot(b.u));
            m.R = Eigen::AngleAxisd(spin, b.d).toRotationMatrix() * m.R;
        }
    }
    Vec3 move = b.p - a.p;
    if (a.type == ZMR3_G_PLANE)
        move = b.d * b.d.dot(move);
    else if (a.type == ZMR3_G_LINE || a.type == ZMR3_G_CYLINDER)
        move -= b.d * b.d.dot(move);
    m.t = a.p + move - m.R * a.p;
    return m;
}

namespace {

template <class F>
F Entry(const ZMR3_frustum_functions& table, int index)
{
    return reinterpret_cast<F>(table.entries[index]);
}

Vec3 ReadVector(const ZMR3_frustum_functions& table, int index, void* app)
{
    double v[3] = {0.0, 0.0, 0.0};
    if (auto f = Entry<ZMR3_vector_of_node_fn>(table, index))
        f(v, app);
    return Vec3(v[0], v[1], v[2]);
}

double ReadDouble(const ZMR3_frustum_functions& table, int index, void* app)
{
    auto f = Entry<ZMR3_double_of_node_fn>(table, index);
    return f ? f(app) : 0.0;
}

Vec3 Unit(const Vec3& v)
{
    const double n = v.norm();
    return n > 1e-300 ? Vec3(v / n) : Vec3(Vec3::Zero());
}

}  // namespace

Geom ReadGeometry(const ZMR3_frustum_functions& table, void* app, int type)
{
    Geom g;
    g.type = type;
    switch (type) {
    case ZMR3_G_POINT:
        g.p = ReadVector(table, ZMR3_FR_POINT_LOCATION, app);
        break;
    case ZMR3_G_LINE:
        g.p = ReadVector(table, ZMR3_FR_LINE_LOCATION, app);
        g.d = Unit(ReadVector(table, ZMR3_FR_LINE_DIRECTION, app));
        break;
    case ZMR3_G_CIRCLE:
        g.p = ReadVector(table, ZMR3_FR_CIRCLE_CENTRE, app);
        g.d = Unit(ReadVector(table, ZMR3_FR_CIRCLE_AXIS, app));
        g.r1 = ReadDouble(table, ZMR3_FR_CIRCLE_RADIUS, app);
        break;
    case ZMR3_G_PLANE:
        g.p = ReadVector(table, ZMR3_FR_PLANE_LOCATION, app);
        g.d = Unit(ReadVector(table, ZMR3_FR_PLANE_NORMAL, app));
        break;
    case ZMR3_G_CYLINDER:
        g.p = ReadVector(table, ZMR3_FR_CYLINDER_LOCATION, app);
        g.d = Unit(ReadVector(table, ZMR3_FR_CYLINDER_AXIS, app));
        g.r1 = ReadDouble(table, ZMR3_FR_CYLINDER_RADIUS, app);
        break;
    case ZMR3_G_SPHERE:
        g.p = ReadVector(table, ZMR3_FR_SPHERE_CENTRE, app);
        g.r1 = ReadDouble(table, ZMR3_FR_SPHERE_RADIUS, app);
        break;
    case ZMR3_G_CONE: {
        double loc[3] = {0, 0, 0}, axis[3] = {0, 0, 0}, radius = 0.0, s = 0.0, c = 1.0;
        if (auto f = Entry<ZMR3_cone_data_fn>(table, ZMR3_FR_CONE_DATA))
            f(app, loc, axis, &radius, &s, &c);
        g.p = Vec3(loc[0], loc[1], loc[2]);
        g.d = Unit(Vec3(axis[0], axis[1], axis[2]));
        g.r1 = radius;
        g.half = std::atan2(s, c);
        break;
    }
    case ZMR3_G_TORUS: {
        double centre[3] = {0, 0, 0}, axis[3] = {0, 0, 0}, major = 0.0, minor = 0.0;
        int flag = 0;
        if (auto f = Entry<ZMR3_torus_data_fn>(table, ZMR3_FR_TORUS_DATA))
            f(app, centre, axis, &major, &minor, &flag);
        g.p = Vec3(centre[0], centre[1], centre[2]);
        g.d = Unit(Vec3(axis[0], axis[1], axis[2]));
        g.r1 = major;
        g.r2 = minor;
        break;
    }
    case ZMR3_G_ELLIPSE: {
        double centre[3] = {0, 0, 0}, axis[3] = {0, 0, 0}, majorDir[3] = {0, 0, 0}, major = 0.0, minor = 0.0;
        if (auto f = Entry<ZMR3_ellipse_data_fn>(table, ZMR3_FR_ELLIPSE_DATA))
            f(app, centre, axis, majorDir, &major, &minor);
        g.p = Vec3(centre[0], centre[1], centre[2]);
        g.d = Unit(Vec3(axis[0], axis[1], axis[2]));
        g.u = Unit(Vec3(majorDir[0], majorDir[1], majorDir[2]));
        g.r1 = major;
        g.r2 = minor;
        break;
    }
    default:
        g.type = -1;
        break;
    }
    return g;
}

}  // namespace tessik
