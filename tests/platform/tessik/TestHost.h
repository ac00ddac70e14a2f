// A small application for the solver layer: plain geometry and dimensions that answer
// the callbacks, and that take the solved changes back.
#pragma once

#include "tessik.h"

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace tessik_host {

using V = std::array<double, 3>;

inline V operator+(V a, V b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline V operator-(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline V operator*(double s, V a) { return {s * a[0], s * a[1], s * a[2]}; }
inline double Dot(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline V Cross(V a, V b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
inline double Norm(V a) { return std::sqrt(Dot(a, a)); }
inline V Unit(V a) { return (1.0 / Norm(a)) * a; }
inline double Angle(V a, V b) { return std::atan2(Norm(Cross(a, b)), Dot(a, b)); }

struct Geometry {
    int type = ZMR3_G_POINT;
    V p{0, 0, 0}, d{0, 0, 1}, u{1, 0, 0};
    double r1 = 0.0, r2 = 0.0, half = 0.0;
    g_node* node = nullptr;
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // relative transforms
    double patternValue = 0.0;
    int regeneration = KEV_REGENERATED;
    std::function<void()> onRegenerate;
};

struct Bond {
    int type = ZMR3_DISTANCE;
    double value = 0.0;
    bool rigid = true;
    int steps = 0;             // pattern constraints
    bool flag = true;          // RT constraints
    Geometry* a = nullptr;
    Geometry* b = nullptr;
    std::array<int, 2> halfSpace{0, 0};
    std::array<int, 2> radiusKind{ZMR3_MAJOR_RADIUS, ZMR3_MAJOR_RADIUS};
    int directionKind = 0;     // 0 none, 1 fixed, 2 geometry
    V direction{0, 0, 0};
    Geometry* directionGeom = nullptr;
    Geometry* anglePlane = nullptr;
    d_node* node = nullptr;
    r_node* rnode = nullptr;
    v_node* vnode = nullptr;
};

class Host {
public:
    Host();
    ~Host();

    WOF_dimension_system_manager& System() { return *m_system; }

    Geometry* Point(V p);
    Geometry* Line(V p, V d);
    Geometry* Plane(V p, V n);
    Geometry* Circle(V c, V axis, double r);
    Geometry* Cylinder(V p, V axis, double r);
    Geometry* Sphere(V c, double r);
    Geometry* Cone(V p, V axis, double r, double half);
    Geometry* Torus(V c, V axis, double major, double minor);
    Geometry* Set(const std::vector<Geometry*>& members);
    Geometry* RelativeTransform(const double m[4][4]);
    Geometry* Pattern(Geometry* reference, JUN_pattern_type type, double value);
    Geometry* Feature(const std::vector<Geometry*>& proceduralMembers);
    Geometry* Add(const Geometry& g);  // any geometry, added as is
    // Takes over a node made elsewhere (by the auto-constraint manager) with its geometry or bond.
    Geometry* Adopt(const Geometry& g);
    Bond* Adopt(const Bond& b);

    Bond* Dim(int type, Geometry* a, Geometry* b, double value = 0.0, Geometry* c = nullptr);
    Bond* Radius(int type, Geometry* g, double value);
    Bond* PatternConstraint(Geometry* pattern, Geometry* a, Geometry* b, int steps);
    Bond* RTConstraint(Geometry* rt, Geometry* a, Geometry* b, bool flag);
    Bond* Spacing(Geometry* pattern, double value, bool rigid);
    v_node* Measure(Bond* bond);

    ZMR3_solve_type Solve();
    // Reads every change and moves the plain geometry by it.
    void Apply();
    int Changed(Geometry* g);  // the mask transform answers
    ZMR3_g_node_status Status(Geometry* g) { return m_system->status(g->node); }
    ZMR3_d_node_status Status(Bond* b) { return b->rnode ? m_system->status(b->rnode) : m_system->status(b->node); }
    const std::vector<std::unique_ptr<Geometry>>& Geometries() const { return m_geoms; }

private:
    Geometry* Keep(std::unique_ptr<Geometry> g);
    std::unique_ptr<WOF_dimension_system_manager> m_system;
    std::vector<std::unique_ptr<Geometry>> m_geoms;
    std::vector<std::unique_ptr<Bond>> m_bonds;
};

}  // namespace tessik_host
