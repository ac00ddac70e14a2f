#include "Residuals.h"

#include <cmath>
#include <utility>

namespace tessik {

namespace {

enum class Core { None, Point, Line, Plane };

Core CoreOf(int type)
{
    switch (type) {
    case ZMR3_G_POINT:
    case ZMR3_G_SPHERE:
        return Core::Point;
    case ZMR3_G_LINE:
    case ZMR3_G_CYLINDER:
        return Core::Line;
    case ZMR3_G_PLANE:
        return Core::Plane;
    default:
        return Core::None;
    }
}

bool IsSurfaceWithRadius(int type) { return type == ZMR3_G_SPHERE || type == ZMR3_G_CYLINDER; }

// Where no rule of its own is given, a distance takes a circle or a torus by its centre and a
// cone by its axis.
Core DistanceCoreOf(int type)
{
    switch (type) {
    case ZMR3_G_CIRCLE:
    case ZMR3_G_TORUS:
        return Core::Point;
    case ZMR3_G_CONE:
        return Core::Line;
    default:
        return CoreOf(type);
    }
}

// The cone's apex, where its radius is 0.
Vec3 Apex(const Geom& c) { return c.p - c.d * (c.r1 / std::tan(c.half)); }

double Sign(double v) { return v < 0.0 ? -1.0 : 1.0; }

double SideOf(int halfSpace, double startValue)
{
    if (halfSpace == ZMR3_HALF_SPACE_POSITIVE)
        return 1.0;
    if (halfSpace == ZMR3_HALF_SPACE_NEGATIVE)
        return -1.0;
    return Sign(startValue);
}

double PointLine(const Vec3& q, const Geom& l) { return (q - l.p).cross(l.d).norm(); }

double AngleBetween(const Vec3& a, const Vec3& b) { return std::atan2(a.cross(b).norm(), a.dot(b)); }

double RadiusOfKind(const Geom& g, int kind)
{
    return (g.type == ZMR3_G_TORUS || g.type == ZMR3_G_ELLIPSE) && kind == ZMR3_MINOR_RADIUS ? g.r2 : g.r1;
}

bool HasRadius(int type)
{
    return type == ZMR3_G_CIRCLE || type == ZMR3_G_CYLINDER || type == ZMR3_G_SPHERE || type == ZMR3_G_TORUS ||
           type == ZMR3_G_ELLIPSE;
}

// Distance between the cores (point, axis line, plane) of a and b, with its structure,
// in the order (Point, Line, Plane); the caller swaps so that a's core comes first.
struct CoreDistance {
    GeomEquations structure;
    std::function<double(const Geom&, const Geom&)> measure;
    bool sided = false;  // measured from a plane whose side is named
};

bool BuildCoreDistance(Core ca, Core cb, const Geom& a0, const Geom& b0, int halfSpaceB, CoreDistance& out)
{
    if (ca == Core::Point && cb == Core::Point) {
        out.measure = [](const Geom& a, const Geom& b) { return (b.p - a.p).norm(); };
    } else if (ca == Core::Point && cb == Core::Line) {
        out.measure = [](const Geom& a, const Geom& b) { return PointLine(a.p, b); };
    } else if (ca == Core::Point && cb == Core::Plane) {
        const double s = SideOf(halfSpaceB, b0.d.dot(a0.p - b0.p));
        out.sided = halfSpaceB != ZMR3_HALF_SPACE_NONE;
        out.measure = [s](const Geom& a, const Geom& b) { return s * b.d.dot(a.p - b.p); };
    } else if (ca == Core::Line && cb == Core::Line) {
        out.structure = [](const Geom* g, Sink& k) { k.AngVec(g[0].d.cross(g[1].d)); };
        out.measure = [](const Geom& a, const Geom& b) { return PointLine(b.p, a); };
    } else if (ca == Core::Line && cb == Core::Plane) {
        const double s = SideOf(halfSpaceB, b0.d.dot(a0.p - b0.p));
        out.sided = halfSpaceB != ZMR3_HALF_SPACE_NONE;
        out.structure = [](const Geom* g, Sink& k) { k.Ang(g[0].d.dot(g[1].d)); };
        out.measure = [s](const Geom& a, const Geom& b) { return s * b.d.dot(a.p - b.p); };
    } else if (ca == Core::Plane && cb == Core::Plane) {
        const double s = SideOf(halfSpaceB, b0.d.dot(a0.p - b0.p));
        out.sided = halfSpaceB != ZMR3_HALF_SPACE_NONE;
        out.structure = [](const Geom* g, Sink& k) { k.AngVec(g[0].d.cross(g[1].d)); };
        out.measure = [s](const Geom& a, const Geom& b) { return s * b.d.dot(a.p - b.p); };
    } else {
        return false;
    }
    return true;
}

// On the surface of a cone: the gap from the cone's side, measured across the side.
double ConeGap(const Vec3& q, const Geom& c)
{
    const Vec3 rel = q - c.p;
    const double h = c.d.dot(rel);
    const double rho = (rel - h * c.d).norm();
    return (rho - (c.r1 + h * std::tan(c.half))) * std::cos(c.half);
}

double TorusGap(const Vec3& q, const Geom& t)
{
    const Vec3 rel = q - t.p;
    const double h = t.d.dot(rel);
    const double rho = (rel - h * t.d).norm();
    return std::hypot(rho - t.r1, h) - t.r2;
}

// A pair ordered by type, so that each combination of types is written once: ta <= tb, and
// a and b say where each of the two stands in the caller's pair.
struct TypeOrder {
    int ta, tb;
    int a, b;
};

TypeOrder OrderByType(const Geom* s)
{
    if (s[0].type > s[1].type)
        return {s[1].type, s[0].type, 1, 0};
    return {s[0].type, s[1].type, 0, 1};
}

// Gives eq the equations f writes for the pair taken in the given order.
bool SetOrdered(const TypeOrder& order, GeomEquations f, DimensionEquations& eq)
{
    const int a = order.a, b = order.b;
    eq.structure = [f, a, b](const Geom* g, Sink& k) {
        const Geom pair[2] = {g[a], g[b]};
        f(pair, k);
    };
    return true;
}

// The distance from a point to a circle's curve.
double PointCircle(const Vec3& q, const Geom& c)
{
    const Vec3 rel = q - c.p;
    const double h = c.d.dot(rel);
    return std::hypot((rel - h * c.d).norm() - c.r1, h);
}

// Distances with rules of their own: from a point to a circle, a torus or a cone; from a plane
// to a circle or a torus across its axis, and to a cone along one of its lines. Each keeps the
// side it starts on.
bool BuildSurfaceDistance(const DimensionSpec& spec, const Geom* s, DimensionEquations& eq)
{
    const TypeOrder order = OrderByType(s);
    const int ta = order.ta, tb = order.tb, a = order.a, b = order.b;
    const Geom pair0[2] = {s[a], s[b]};
    GeomEquations structure;
    std::function<double(const Geom*)> raw;
    bool planeFirst = false;
    if (ta == ZMR3_G_POINT && tb == ZMR3_G_CIRCLE) {
        raw = [](const Geom* g) { return PointCircle(g[0].p, g[1]); };
    } else if (ta == ZMR3_G_POINT && tb == ZMR3_G_TORUS) {
        raw = [](const Geom* g) { return TorusGap(g[0].p, g[1]); };
    } else if (ta == ZMR3_G_POINT && tb == ZMR3_G_CONE) {
        raw = [](const Geom* g) { return ConeGap(g[0].p, g[1]); };
    } else if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_PLANE) {
        structure = [](const Geom* g, Sink& k) { k.AngVec(g[0].d.cross(g[1].d)); };
        raw = [](const Geom* g) { return g[1].d.dot(g[0].p - g[1].p); };
    } else if (ta == ZMR3_G_PLANE && tb == ZMR3_G_TORUS) {
        planeFirst = true;
        structure = [](const Geom* g, Sink& k) { k.AngVec(g[0].d.cross(g[1].d)); };
        raw = [](const Geom* g) { return g[0].d.dot(g[1].p - g[0].p); };
    } else if (ta == ZMR3_G_PLANE && tb == ZMR3_G_CONE) {
        planeFirst = true;
        const double sense = Sign(pair0[0].d.dot(pair0[1].d));
        structure = [sense](const Geom* g, Sink& k) { k.Ang(g[0].d.dot(g[1].d) - sense * std::sin(g[1].half)); };
        raw = [](const Geom* g) { return g[0].d.dot(Apex(g[1]) - g[0].p); };
    } else {
        return false;
    }
    const int planeIndex = planeFirst ? a : (tb == ZMR3_G_PLANE ? b : -1);
    const double side = SideOf(planeIndex >= 0 ? spec.halfSpace[planeIndex] : 0, raw(pair0));
    // A torus is reached at its tube, a tube radius short of its centre.
    const bool tube = ta == ZMR3_G_PLANE && tb == ZMR3_G_TORUS;
    if (structure)
        eq.structure = [structure, a, b](const Geom* g, Sink& k) {
            const Geom pair[2] = {g[a], g[b]};
            structure(pair, k);
        };
    eq.measure = [raw, side, tube, a, b](const Geom* g) {
        const Geom pair[2] = {g[a], g[b]};
        return side * raw(pair) - (tube ? pair[1].r2 : 0.0);
    };
    return true;
}

// Cores closer than this at the start (and axes this near parallel) are taken as one axis or
// one centre.
constexpr double kCoaxialStart = 1e-8;

// Distance between two geometries: between their cores, less the radii of spheres and
// cylinders, on the side each started on.
bool BuildDistance(const DimensionSpec& spec, const Geom* start, DimensionEquations& eq)
{
    const Geom& a0 = start[0];
    const Geom& b0 = start[1];
    if (!spec.fixedDirection && !spec.directionGeom && BuildSurfaceDistance(spec, start, eq))
        return true;
    Core ca = DistanceCoreOf(a0.type), cb = DistanceCoreOf(b0.type);
    if (ca == Core::None || cb == Core::None)
        return false;
    const bool swap = static_cast<int>(ca) > static_cast<int>(cb);
    const int i0 = swap ? 1 : 0, i1 = swap ? 0 : 1;
    CoreDistance core;
    if (!BuildCoreDistance(swap ? cb : ca, swap ? ca : cb, start[i0], start[i1], spec.halfSpace[i1], core))
        return false;

    if (spec.fixedDirection || spec.directionGeom) {
        // Directed: the gap along a direction, between points and planes only.
        if (IsSurfaceWithRadius(a0.type) || IsSurfaceWithRadius(b0.type) ||
            DistanceCoreOf(start[i0].type) == Core::Line || DistanceCoreOf(start[i1].type) == Core::Line)
            return false;
        const bool fixedDir = spec.fixedDirection;
        const Vec3 fixed = spec.direction.normalized();
        auto dirOf = [fixedDir, fixed](const Geom* g) { return fixedDir ? fixed : Vec3(g[2].d); };
        const bool planeB = start[i1].type == ZMR3_G_PLANE;
        auto raw = [=](const Geom* g) {
            const Geom& a = g[i0];
            const Geom& b = g[i1];
            const Vec3 u = dirOf(g);
            if (!planeB)
                return u.dot(b.p - a.p);
            const double along = b.d.dot(u);
            return std::abs(along) < 1e-300 ? 0.0 : b.d.dot(a.p - b.p) / along * -1.0;
        };
        const double s = Sign(raw(start));
        eq.structure = core.structure ? GeomEquations([=](const Geom* g, Sink& k) {
            const Geom pair[2] = {g[i0], g[i1]};
            core.structure(pair, k);
        })
                                      : GeomEquations();
        eq.measure = [=](const Geom* g) { return s * raw(g); };
        return true;
    }

    const double ra = IsSurfaceWithRadius(start[i0].type) ? start[i0].r1 : -1.0;
    const double rb = IsSurfaceWithRadius(start[i1].type) ? start[i1].r1 : -1.0;
    const double coreStart = core.measure(start[i0], start[i1]);
    std::function<double(double, const Geom&, const Geom&)> gap;
    if (ra < 0 && rb < 0) {
        gap = [](double c, const Geom&, const Geom&) { return c; };
        eq.signedValue = core.sided;
    } else if (ra < 0 || rb < 0) {
        const bool onA = ra >= 0;
        const double side = Sign(coreStart - (onA ? ra : rb));
        gap = [side, onA](double c, const Geom& a, const Geom& b) { return side * (c - (onA ? a.r1 : b.r1)); };
    } else if (start[i0].type == start[i1].type && coreStart <= kCoaxialStart &&
               (ca != Core::Line || start[i0].d.cross(start[i1].d).norm() <= kCoaxialStart)) {
        // Coaxial cylinders or concentric spheres: the gap is the difference of the radii, and
        // the shapes stay on one axis or centre. The core distance is not smooth at zero, so a
        // gap measured through it could not follow a radius change.
        const bool aBigger = ra >= rb;
        const bool lines = ca == Core::Line;
        const GeomEquations parallel = core.structure;
        eq.structure = [=](const Geom* g, Sink& k) {
            const Geom& a = g[i0];
            const Geom& b = g[i1];
            if (parallel) {
                const Geom pair[2] = {a, b};
                parallel(pair, k);
            }
            k.LenVec(lines ? Vec3((b.p - a.p).cross(a.d)) : Vec3(b.p - a.p));
        };
        eq.measure = [=](const Geom* g) { return aBigger ? g[i0].r1 - g[i1].r1 : g[i1].r1 - g[i0].r1; };
        return true;
    } else if (coreStart >= std::max(ra, rb)) {
        gap = [](double c, const Geom& a, const Geom& b) { return c - a.r1 - b.r1; };
    } else {
        const bool aBigger = ra >= rb;
        gap = [aBigger](double c, const Geom& a, const Geom& b) {
            return (aBigger ? a.r1 - b.r1 : b.r1 - a.r1) - c;
        };
    }
    eq.structure = core.structure ? GeomEquations([=](const Geom* g, Sink& k) {
        const Geom pair[2] = {g[i0], g[i1]};
        core.structure(pair, k);
    })
                                  : GeomEquations();
    eq.measure = [=](const Geom* g) { return gap(core.measure(g[i0], g[i1]), g[i0], g[i1]); };
    return true;
}

bool BuildAngle(const DimensionSpec& spec, const Geom* start, DimensionEquations& eq)
{
    if (!HasDirection(start[0].type) || !HasDirection(start[1].type))
        return false;
    eq.angular = true;
    if (spec.anglePlane) {
        if (!HasDirection(start[2].type))
            return false;
        eq.wrapped = true;
        eq.measure = [](const Geom* g) {
            double a = std::atan2(g[0].d.cross(g[1].d).dot(g[2].d), g[0].d.dot(g[1].d));
            return a < 0.0 ? a + 2 * M_PI : a;
        };
        return true;
    }
    const double startAngle = AngleBetween(start[0].d, start[1].d);
    const double sense = std::abs(startAngle - spec.value) > std::abs(M_PI - startAngle - spec.value) ? -1.0 : 1.0;
    eq.measure = [sense](const Geom* g) { return AngleBetween(g[0].d, sense * g[1].d); };
    return true;
}

// Axes coincide: parallel directions and b's location on a's axis line.
void SameAxis(const Geom& a, const Geom& b, Sink& k)
{
    k.AngVec(a.d.cross(b.d));
    k.LenVec((b.p - a.p).cross(a.d));
}

bool BuildConcentric(const Geom* s, DimensionEquations& eq)
{
    const int ta = s[0].type, tb = s[1].type;
    if (ta == ZMR3_G_PLANE || tb == ZMR3_G_PLANE)
        return false;
    const bool axialA = IsAxialOnly(ta), axialB = IsAxialOnly(tb);
    const bool axisA = HasDirection(ta), axisB = HasDirection(tb);
    if (!axialA && !axialB) {
        const bool bothAxes = axisA && axisB;
        eq.structure = [bothAxes](const Geom* g, Sink& k) {
            k.LenVec(g[1].p - g[0].p);
            if (bothAxes)
                k.AngVec(g[0].d.cross(g[1].d));
        };
    } else if (axialA && axialB) {
        eq.structure = [](const Geom* g, Sink& k) { SameAxis(g[0], g[1], k); };
    } else {
        const int line = axialA ? 0 : 1, other = axialA ? 1 : 0;
        const bool otherAxis = axialA ? axisB : axisA;
        eq.structure = [line, other, otherAxis](const Geom* g, Sink& k) {
            if (otherAxis)
                SameAxis(g[line], g[other], k);
            else
                k.LenVec((g[other].p - g[line].p).cross(g[line].d));
        };
    }
    return true;
}

bool BuildParallelOrPerpendicular(bool parallel, const Geom* s, DimensionEquations& eq)
{
    if (!HasDirection(s[0].type) || !HasDirection(s[1].type))
        return false;
    const bool planeA = s[0].type == ZMR3_G_PLANE, planeB = s[1].type == ZMR3_G_PLANE;
    const bool mixed = planeA != planeB;
    // A line parallel to a plane lies across its normal; perpendicular, along it.
    const bool crossForm = parallel != mixed;
    eq.structure = [crossForm](const Geom* g, Sink& k) {
        if (crossForm)
            k.AngVec(g[0].d.cross(g[1].d));
        else
            k.Ang(g[0].d.dot(g[1].d));
    };
    return true;
}

bool BuildPointOn(int onType, int point, int on, DimensionEquations& eq)
{
    switch (onType) {
    case ZMR3_G_POINT:
        eq.structure = [=](const Geom* g, Sink& k) { k.LenVec(g[point].p - g[on].p); };
        return true;
    case ZMR3_G_LINE:
        eq.structure = [=](const Geom* g, Sink& k) { k.LenVec((g[point].p - g[on].p).cross(g[on].d)); };
        return true;
    case ZMR3_G_PLANE:
        eq.structure = [=](const Geom* g, Sink& k) { k.Len(g[on].d.dot(g[point].p - g[on].p)); };
        return true;
    case ZMR3_G_CIRCLE:
        eq.structure = [=](const Geom* g, Sink& k) {
            const Vec3 rel = g[point].p - g[on].p;
            const double h = g[on].d.dot(rel);
            k.Len(h);
            k.Len((rel - h * g[on].d).norm() - g[on].r1);
        };
        return true;
    case ZMR3_G_CYLINDER:
        eq.structure = [=](const Geom* g, Sink& k) { k.Len(PointLine(g[point].p, g[on]) - g[on].r1); };
        return true;
    case ZMR3_G_SPHERE:
        eq.structure = [=](const Geom* g, Sink& k) { k.Len((g[point].p - g[on].p).norm() - g[on].r1); };
        return true;
    case ZMR3_G_CONE:
        eq.structure = [=](const Geom* g, Sink& k) { k.Len(ConeGap(g[point].p, g[on])); };
        return true;
    case ZMR3_G_TORUS:
        eq.structure = [=](const Geom* g, Sink& k) { k.Len(TorusGap(g[point].p, g[on])); };
        return true;
    default:
        return false;
    }
}

bool BuildCoincident(const Geom* s, DimensionEquations& eq)
{
    if (s[0].type == ZMR3_G_POINT)
        return BuildPointOn(s[1].type, 0, 1, eq);
    if (s[1].type == ZMR3_G_POINT)
        return BuildPointOn(s[0].type, 1, 0, eq);
    const TypeOrder order = OrderByType(s);
    const int ta = order.ta, tb = order.tb;
    auto set = [&](GeomEquations f) { return SetOrdered(order, std::move(f), eq); };
    if (ta == ZMR3_G_LINE && tb == ZMR3_G_LINE)
        return set([](const Geom* g, Sink& k) { SameAxis(g[0], g[1], k); });
    if (ta == ZMR3_G_LINE && tb == ZMR3_G_PLANE)
        return set([](const Geom* g, Sink& k) {
            k.Ang(g[0].d.dot(g[1].d));
            k.Len(g[1].d.dot(g[0].p - g[1].p));
        });
    if (ta == ZMR3_G_LINE && tb == ZMR3_G_CYLINDER)
        return set([](const Geom* g, Sink& k) {
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(PointLine(g[0].p, g[1]) - g[1].r1);
        });
    if (ta == ZMR3_G_PLANE && tb == ZMR3_G_PLANE)
        return set([](const Geom* g, Sink& k) {
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(g[0].d.dot(g[1].p - g[0].p));
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_PLANE)
        return set([](const Geom* g, Sink& k) {
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(g[1].d.dot(g[0].p - g[1].p));
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_CIRCLE)
        return set([](const Geom* g, Sink& k) {
            k.LenVec(g[1].p - g[0].p);
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(g[0].r1 - g[1].r1);
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_CYLINDER)
        return set([](const Geom* g, Sink& k) {
            SameAxis(g[1], g[0], k);
            k.Len(g[0].r1 - g[1].r1);
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_SPHERE)
        return set([](const Geom* g, Sink& k) {
            const Vec3 rel = g[0].p - g[1].p;
            k.Len(std::sqrt(rel.squaredNorm() + g[0].r1 * g[0].r1) - g[1].r1);
            k.LenVec(g[0].d.cross(rel));
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_CONE)
        return set([](const Geom* g, Sink& k) {
            SameAxis(g[1], g[0], k);
            const double h = g[1].d.dot(g[0].p - g[1].p);
            k.Len(g[0].r1 - (g[1].r1 + h * std::tan(g[1].half)));
        });
    if (ta == ZMR3_G_CIRCLE && tb == ZMR3_G_TORUS)
        return set([](const Geom* g, Sink& k) {
            SameAxis(g[1], g[0], k);
            const double h = g[1].d.dot(g[0].p - g[1].p);
            k.Len(std::hypot(g[0].r1 - g[1].r1, h) - g[1].r2);
        });
    if (ta == ZMR3_G_CYLINDER && tb == ZMR3_G_CYLINDER)
        return set([](const Geom* g, Sink& k) {
            SameAxis(g[0], g[1], k);
            k.Len(g[0].r1 - g[1].r1);
        });
    if (ta == ZMR3_G_SPHERE && tb == ZMR3_G_SPHERE)
        return set([](const Geom* g, Sink& k) {
            k.LenVec(g[1].p - g[0].p);
            k.Len(g[0].r1 - g[1].r1);
        });
    if (ta == ZMR3_G_TORUS && tb == ZMR3_G_TORUS)
        return set([](const Geom* g, Sink& k) {
            k.LenVec(g[1].p - g[0].p);
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(g[0].r1 - g[1].r1);
            k.Len(g[0].r2 - g[1].r2);
        });
    if (ta == ZMR3_G_CONE && tb == ZMR3_G_CONE) {
        // One surface: one axis, one apex, one opening, whichever sense each axis has.
        const double sense = Sign(s[order.a].d.dot(s[order.b].d));
        return set([sense](const Geom* g, Sink& k) {
            k.AngVec(g[0].d - sense * g[1].d);
            k.LenVec(Apex(g[0]) - Apex(g[1]));
            k.Ang(g[0].half - g[1].half);
        });
    }
    if (ta == ZMR3_G_LINE && tb == ZMR3_G_CONE) {
        // The line is one of the cone's lines: through the apex at the half angle to the axis.
        const double sense = Sign(s[order.a].d.dot(s[order.b].d));
        return set([sense](const Geom* g, Sink& k) {
            k.LenVec((Apex(g[1]) - g[0].p).cross(g[0].d));
            k.Ang(g[0].d.dot(g[1].d) - sense * std::cos(g[1].half));
        });
    }
    return false;
}

bool BuildSpine(int type, const Geom* s, DimensionEquations& eq)
{
    const int torus = s[1].type == ZMR3_G_TORUS ? 1 : (s[0].type == ZMR3_G_TORUS ? 0 : -1);
    if (torus < 0)
        return false;
    const int other = 1 - torus;
    const int to = s[other].type;
    if (type == ZMR3_COINCIDENT_AROUND_SPINE && to == ZMR3_G_CIRCLE) {
        eq.structure = [torus, other](const Geom* g, Sink& k) {
            const Geom& t = g[torus];
            const Geom& c = g[other];
            const Vec3 rel = c.p - t.p;
            const double h = t.d.dot(rel);
            const Vec3 radial = rel - h * t.d;
            k.Len(h);
            k.Len(radial.norm() - t.r1);
            k.Len(c.r1 - t.r2);
            const double rn = radial.norm();
            if (rn > 1e-300)
                k.AngVec(c.d.cross(t.d.cross(radial / rn)));
            else
                k.AngVec(Vec3::Zero());
        };
        return true;
    }
    if (type == ZMR3_COINCIDENT_WITH_SPINE && to == ZMR3_G_CIRCLE) {
        eq.structure = [torus, other](const Geom* g, Sink& k) {
            k.LenVec(g[other].p - g[torus].p);
            k.AngVec(g[other].d.cross(g[torus].d));
            k.Len(g[other].r1 - g[torus].r1);
        };
        return true;
    }
    if (type == ZMR3_COINCIDENT_WITH_SPINE && to == ZMR3_G_PLANE) {
        eq.structure = [torus, other](const Geom* g, Sink& k) {
            k.AngVec(g[other].d.cross(g[torus].d));
            k.Len(g[other].d.dot(g[torus].p - g[other].p));
        };
        return true;
    }
    return false;
}

// The distance from a point to a torus's spine circle.
double SpineDistance(const Vec3& q, const Geom& t) { return TorusGap(q, t) + t.r2; }

// A unit direction across the axis.
Vec3 Across(const Vec3& d)
{
    const Vec3 other = std::abs(d.x()) < 0.9 ? Vec3::UnitX() : Vec3::UnitY();
    return d.cross(other).normalized();
}

// The gap between two round shapes whose centres lie a distance apart: outside each other when
// they start outside, else the smaller inside the larger.
class RoundGap {
public:
    RoundGap(double distance, double ra, double rb) : m_outside(distance >= std::max(ra, rb)), m_aBigger(ra >= rb) {}
    double operator()(double distance, double ra, double rb) const
    {
        if (m_outside)
            return distance - ra - rb;
        return (m_aBigger ? ra - rb : rb - ra) - distance;
    }

private:
    bool m_outside;
    bool m_aBigger;
};

bool BuildTangent(const DimensionSpec& spec, const Geom* s, DimensionEquations& eq)
{
    const TypeOrder order = OrderByType(s);
    const int ta = order.ta, tb = order.tb;
    auto set = [&](GeomEquations f) { return SetOrdered(order, std::move(f), eq); };
    // Tangency of two surfaces is a distance of zero between them.
    const bool distanceLike =
        (IsSurfaceWithRadius(ta) || IsSurfaceWithRadius(tb)) && CoreOf(ta) != Core::None && CoreOf(tb) != Core::None;
    if (distanceLike) {
        DimensionSpec d = spec;
        d.type = ZMR3_DISTANCE;
        d.value = 0.0;
        DimensionEquations de;
        if (!BuildDistance(d, s, de))
            return false;
        eq.structure = [de](const Geom* g, Sink& k) {
            if (de.structure)
                de.structure(g, k);
            k.Len(de.measure(g));
        };
        return true;
    }
    if (ta == ZMR3_G_LINE && tb == ZMR3_G_CIRCLE)
        return set([](const Geom* g, Sink& k) {
            k.Ang(g[0].d.dot(g[1].d));
            k.Len(g[1].d.dot(g[0].p - g[1].p));
            k.Len(PointLine(g[1].p, g[0]) - g[1].r1);
        });
    if (ta == ZMR3_G_PLANE && tb == ZMR3_G_TORUS) {
        const Geom& p0 = s[order.a];
        const Geom& t0 = s[order.b];
        const double side = SideOf(spec.halfSpace[order.a], p0.d.dot(t0.p - p0.p));
        return set([side](const Geom* g, Sink& k) {
            k.AngVec(g[0].d.cross(g[1].d));
            k.Len(side * g[0].d.dot(g[1].p - g[0].p) - g[1].r2);
        });
    }
    if (ta == ZMR3_G_PLANE && tb == ZMR3_G_CONE) {
        // Along a line of the cone: the plane goes through the apex at the half angle to the axis.
        const double sense = Sign(s[order.a].d.dot(s[order.b].d));
        return set([sense](const Geom* g, Sink& k) {
            k.Ang(g[0].d.dot(g[1].d) - sense * std::sin(g[1].half));
            k.Len(g[0].d.dot(Apex(g[1]) - g[0].p));
        });
    }
    if (ta == ZMR3_G_CYLINDER && tb == ZMR3_G_CONE) {
        // Along a line of the cone: the cylinder's axis runs beside that line, in a plane through
        // the cone's axis, a radius away.
        const double sense = Sign(s[order.a].d.dot(s[order.b].d));
        return set([sense](const Geom* g, Sink& k) {
            const Vec3 apex = Apex(g[1]);
            k.Ang(g[0].d.dot(g[1].d) - sense * std::cos(g[1].half));
            k.Len((g[0].p - apex).dot(g[1].d.cross(g[0].d)));
            k.Len((g[0].p - apex).cross(g[0].d).norm() - g[0].r1);
        });
    }
    if (ta == ZMR3_G_TORUS && tb == ZMR3_G_CONE) {
        // Coaxial: the tube's circle touches the cone's line in every half plane through the axis.
        const Geom& t0 = s[order.a];
        const Geom& c0 = s[order.b];
        const double side = Sign(ConeGap(t0.p + Across(c0.d) * t0.r1, c0));
        return set([side](const Geom* g, Sink& k) {
            SameAxis(g[1], g[0], k);
            const double h = g[1].d.dot(g[0].p - g[1].p);
            k.Len(side * (g[0].r1 - (g[1].r1 + h * std::tan(g[1].half))) * std::cos(g[1].half) - g[0].r2);
        });
    }
    if (ta == ZMR3_G_SPHERE && tb == ZMR3_G_CONE) {
        // The sphere's centre a radius from the cone's side, on the side it starts.
        const double side = Sign(ConeGap(s[order.a].p, s[order.b]));
        return set([side](const Geom* g, Sink& k) { k.Len(side * ConeGap(g[0].p, g[1]) - g[0].r1); });
    }
    if (ta == ZMR3_G_SPHERE && tb == ZMR3_G_TORUS) {
        const Geom& s0 = s[order.a];
        const RoundGap gap(SpineDistance(s0.p, s[order.b]), s0.r1, s[order.b].r2);
        return set([gap](const Geom* g, Sink& k) { k.Len(gap(SpineDistance(g[0].p, g[1]), g[0].r1, g[1].r2)); });
    }
    if (ta == ZMR3_G_TORUS && tb == ZMR3_G_TORUS) {
        // Coaxial tori whose tubes touch in every half plane through the axis.
        auto meridian = [](const Geom& a, const Geom& b) {
            return std::hypot(a.r1 - b.r1, a.d.dot(b.p - a.p));
        };
        const RoundGap gap(meridian(s[order.a], s[order.b]), s[order.a].r2, s[order.b].r2);
        return set([gap, meridian](const Geom* g, Sink& k) {
            SameAxis(g[0], g[1], k);
            k.Len(gap(meridian(g[0], g[1]), g[0].r2, g[1].r2));
        });
    }
    if (ta == ZMR3_G_CYLINDER && tb == ZMR3_G_TORUS) {
        const double side = Sign(s[order.b].r1 - s[order.a].r1);
        return set([side](const Geom* g, Sink& k) {
            SameAxis(g[0], g[1], k);
            k.Len(side * (g[1].r1 - g[0].r1) - g[1].r2);
        });
    }
    return false;
}

bool BuildRadius(int type, const Geom& s, DimensionEquations& eq)
{
    if (type == ZMR3_HALF_ANGLE) {
        if (s.type != ZMR3_G_CONE)
            return false;
        eq.angular = true;
        eq.measure = [](const Geom* g) { return g[0].half; };
        return true;
    }
    if (type == ZMR3_MINOR_RADIUS) {
        if (s.type != ZMR3_G_TORUS && s.type != ZMR3_G_ELLIPSE)
            return false;
        eq.measure = [](const Geom* g) { return g[0].r2; };
        return true;
    }
    if (!HasRadius(s.type))
        return false;
    eq.measure = [](const Geom* g) { return g[0].r1; };
    return true;
}

bool BuildSymmetric(const Geom* s, DimensionEquations& eq)
{
    if (s[2].type != ZMR3_G_PLANE || !CanMatch(s[0], s[1]))
        return false;
    eq.structure = [](const Geom* g, Sink& k) {
        const Vec3 n = g[2].d;
        Geom mirrored = g[0];
        mirrored.p = g[0].p - 2.0 * n * n.dot(g[0].p - g[2].p);
        mirrored.d = g[0].d - 2.0 * n * n.dot(g[0].d);
        mirrored.u = g[0].u - 2.0 * n * n.dot(g[0].u);
        // Mirroring turns the sense of a direction; the mirror image keeps no sense.
        if (mirrored.d.dot(g[1].d) < 0.0)
            mirrored.d = -mirrored.d;
        MatchEquations(g[1], mirrored, false, k);
    };
    return true;
}

}  // namespace

bool CanMatch(const Geom& a, const Geom& b) { return a.type == b.type && a.type >= 0; }

void MatchEquations(const Geom& b, const Geom& t, bool shape, Sink& k)
{
    switch (t.type) {
    case ZMR3_G_POINT:
    case ZMR3_G_SPHERE:
        k.LenVec(b.p - t.p);
        break;
    case ZMR3_G_LINE:
    case ZMR3_G_CYLINDER:
        k.AngVec(b.d - t.d);
        k.LenVec((b.p - t.p).cross(b.d));
        break;
    case ZMR3_G_PLANE:
        k.AngVec(b.d - t.d);
        k.Len(b.d.dot(b.p - t.p));
        break;
    case ZMR3_G_ELLIPSE:
        k.AngVec(b.u - t.u);
        [[fallthrough]];
    default:  // circle, cone, torus
        k.LenVec(b.p - t.p);
        k.AngVec(b.d - t.d);
        break;
    }
    if (shape) {
        const int n = ShapeCount(t.type);
        if (t.type == ZMR3_G_CONE)
            k.Ang(b.half - t.half);
        else if (n >= 1)
            k.Len(b.r1 - t.r1);
        if (n >= 2)
            k.Len(b.r2 - t.r2);
    }
}

DimensionEquations BuildDimension(const DimensionSpec& spec, const Geom* s)
{
    DimensionEquations eq;
    bool ok = false;
    if (spec.count == 1) {
        if (spec.type == ZMR3_RADIUS || spec.type == ZMR3_MAJOR_RADIUS || spec.type == ZMR3_MINOR_RADIUS ||
            spec.type == ZMR3_HALF_ANGLE)
            ok = BuildRadius(spec.type, s[0], eq);
        eq.supported = ok;
        return eq;
    }
    switch (spec.type) {
    case ZMR3_DISTANCE:
        ok = BuildDistance(spec, s, eq);
        break;
    case ZMR3_ANGLE:
        ok = BuildAngle(spec, s, eq);
        break;
    case ZMR3_CONCENTRIC:
        ok = BuildConcentric(s, eq);
        break;
    case ZMR3_PARALLEL:
    case ZMR3_PERPENDICULAR:
        ok = BuildParallelOrPerpendicular(spec.type == ZMR3_PARALLEL, s, eq);
        break;
    case ZMR3_COINCIDENT:
        ok = BuildCoincident(s, eq);
        break;
    case ZMR3_COINCIDENT_AROUND_SPINE:
    case ZMR3_COINCIDENT_WITH_SPINE:
        ok = BuildSpine(spec.type, s, eq);
        break;
    case ZMR3_TANGENT:
        ok = BuildTangent(spec, s, eq);
        break;
    case ZMR3_EQUAL_RADIUS: {
        const int ka = spec.radiusKind[0], kb = spec.radiusKind[1];
        ok = HasRadius(s[0].type) && HasRadius(s[1].type);
        eq.structure = [ka, kb](const Geom* g, Sink& k) { k.Len(RadiusOfKind(g[0], ka) - RadiusOfKind(g[1], kb)); };
        break;
    }
    case ZMR3_SYMMETRIC:
        ok = spec.count == 3 && BuildSymmetric(s, eq);
        break;
    default:
        ok = false;
        break;
    }
    eq.supported = ok;
    return eq;
}

}  // namespace tessik
