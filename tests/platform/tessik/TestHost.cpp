#include "TestHost.h"

namespace tessik_host {

namespace {

Geometry* G(void* app) { return static_cast<Geometry*>(app); }
Bond* B(void* app) { return static_cast<Bond*>(app); }
void Put(double out[3], V v) { out[0] = v[0], out[1] = v[1], out[2] = v[2]; }

int GeomType(void* n) { return G(n)->type; }
void Location(double out[3], void* n) { Put(out, G(n)->p); }
void Direction(double out[3], void* n) { Put(out, G(n)->d); }
double Radius1(void* n) { return G(n)->r1; }
void ConeData(void* n, double loc[3], double axis[3], double* r, double* s, double* c)
{
    Put(loc, G(n)->p);
    Put(axis, G(n)->d);
    *r = G(n)->r1;
    *s = std::sin(G(n)->half);
    *c = std::cos(G(n)->half);
}
void TorusData(void* n, double c[3], double axis[3], double* major, double* minor, int* flag)
{
    Put(c, G(n)->p);
    Put(axis, G(n)->d);
    *major = G(n)->r1;
    *minor = G(n)->r2;
    *flag = 0;
}
int DType(void* b) { return B(b)->type; }
double DValue(void* b) { return B(b)->value; }
int Rigid(void* b) { return B(b)->rigid ? 1 : 0; }
g_node* AnglePlane(void* b) { return B(b)->anglePlane ? B(b)->anglePlane->node : nullptr; }
int HalfSpace(void* b, void* g) { return B(b)->a == G(g) ? B(b)->halfSpace[0] : B(b)->b == G(g) ? B(b)->halfSpace[1] : 0; }
int RadiusKind(void* b, void* g)
{
    return B(b)->a == G(g) ? B(b)->radiusKind[0] : B(b)->b == G(g) ? B(b)->radiusKind[1] : ZMR3_MAJOR_RADIUS;
}
int DistanceDirection(void* b, double dir[3], g_node** node)
{
    if (B(b)->directionKind == 1)
        Put(dir, B(b)->direction);
    if (B(b)->directionKind == 2)
        *node = B(b)->directionGeom->node;
    return B(b)->directionKind;
}
void ReadRelativeTransform(double out[4][4], void* n)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = G(n)->m[i][j];
}
int PatternSteps(void* b, void* ga, void* gb)
{
    if (B(b)->a == G(ga) && B(b)->b == G(gb))
        return B(b)->steps;
    if (B(b)->a == G(gb) && B(b)->b == G(ga))
        return -B(b)->steps;
    return 0;
}
int RTFlag(void* b) { return B(b)->flag ? 1 : 0; }
int PatternValue(double* out, void* n)
{
    *out = G(n)->patternValue;
    return 1;
}
int Regenerate(void* n)
{
    if (G(n)->onRegenerate)
        G(n)->onRegenerate();
    return G(n)->regeneration;
}

// What every geometry with an axis fills alike: where it is, its unit axis and first radius.
Geometry Axial(int type, V p, V axis, double r1 = 0.0)
{
    Geometry g;
    g.type = type;
    g.p = p;
    g.d = Unit(axis);
    g.r1 = r1;
    return g;
}

}  // namespace

Host::Host() : m_system(std::make_unique<WOF_dimension_system_manager>(nullptr, 1e-8, 1000.0))
{
    ZMR3_frustum_functions z;
    m_system->dimension_system()->enquire_frustum_functions(&z);
    z.entries[ZMR3_FR_GEOM_TYPE] = ZMR3_frustum_entry(&GeomType);
    for (int e : {1, 2, 4, 8, 9, 12})
        z.entries[e] = ZMR3_frustum_entry(&Location);
    for (int e : {3, 5, 7, 10})
        z.entries[e] = ZMR3_frustum_entry(&Direction);
    for (int e : {6, 11, 13})
        z.entries[e] = ZMR3_frustum_entry(&Radius1);
    z.entries[ZMR3_FR_CONE_DATA] = ZMR3_frustum_entry(&ConeData);
    z.entries[ZMR3_FR_TORUS_DATA] = ZMR3_frustum_entry(&TorusData);
    z.entries[ZMR3_FR_D_TYPE] = ZMR3_frustum_entry(&DType);
    z.entries[ZMR3_FR_D_VALUE] = ZMR3_frustum_entry(&DValue);
    z.entries[ZMR3_FR_RIGID] = ZMR3_frustum_entry(&Rigid);
    z.entries[ZMR3_FR_ANGLE_PLANE] = ZMR3_frustum_entry(&AnglePlane);
    z.entries[ZMR3_FR_HALF_SPACE] = ZMR3_frustum_entry(&HalfSpace);
    z.entries[ZMR3_FR_RADIUS_KIND] = ZMR3_frustum_entry(&RadiusKind);
    z.entries[ZMR3_FR_DISTANCE_DIRECTION] = ZMR3_frustum_entry(&DistanceDirection);
    m_system->register_frustum_functions(&z);

    JUN_frustum_functions j;
    m_system->extended_dimension_system()->enquire_frustum_functions(&j);
    j.entries[JUN_FR_RELATIVE_TRANSFORM] = ZMR3_frustum_entry(&ReadRelativeTransform);
    j.entries[JUN_FR_PATTERN_STEPS] = ZMR3_frustum_entry(&PatternSteps);
    j.entries[JUN_FR_RT_CONSTRAINT_FLAG] = ZMR3_frustum_entry(&RTFlag);
    j.entries[JUN_FR_PATTERN_VALUE] = ZMR3_frustum_entry(&PatternValue);
    m_system->extended_dimension_system()->register_frustum_functions(&j);

    KEV_frustum_functions k;
    m_system->procedural_feature_manager()->enquire_frustum_functions(&k);
    k.entries[KEV_FR_REGENERATE] = ZMR3_frustum_entry(&Regenerate);
    m_system->procedural_feature_manager()->register_frustum_functions(&k);
}

Host::~Host() = default;

Geometry* Host::Keep(std::unique_ptr<Geometry> g)
{
    m_geoms.push_back(std::move(g));
    return m_geoms.back().get();
}

Geometry* Host::Add(const Geometry& g)
{
    Geometry* kept = Keep(std::make_unique<Geometry>(g));
    kept->node = m_system->add_g(kept);
    return kept;
}

Geometry* Host::Adopt(const Geometry& g) { return Keep(std::make_unique<Geometry>(g)); }

Bond* Host::Adopt(const Bond& b)
{
    m_bonds.push_back(std::make_unique<Bond>(b));
    return m_bonds.back().get();
}

Geometry* Host::Point(V p)
{
    Geometry g;
    g.type = ZMR3_G_POINT;
    g.p = p;
    return Add(g);
}

Geometry* Host::Line(V p, V d)
{
    return Add(Axial(ZMR3_G_LINE, p, d));
}

Geometry* Host::Plane(V p, V n)
{
    return Add(Axial(ZMR3_G_PLANE, p, n));
}

Geometry* Host::Circle(V c, V axis, double r)
{
    return Add(Axial(ZMR3_G_CIRCLE, c, axis, r));
}

Geometry* Host::Cylinder(V p, V axis, double r)
{
    return Add(Axial(ZMR3_G_CYLINDER, p, axis, r));
}

Geometry* Host::Sphere(V c, double r)
{
    Geometry g;
    g.type = ZMR3_G_SPHERE;
    g.p = c;
    g.r1 = r;
    return Add(g);
}

Geometry* Host::Cone(V p, V axis, double r, double half)
{
    Geometry g = Axial(ZMR3_G_CONE, p, axis, r);
    g.half = half;
    return Add(g);
}

Geometry* Host::Torus(V c, V axis, double major, double minor)
{
    Geometry g = Axial(ZMR3_G_TORUS, c, axis, major);
    g.r2 = minor;
    return Add(g);
}

Geometry* Host::Set(const std::vector<Geometry*>& members)
{
    Geometry g;
    g.type = ZMR3_G_SET;
    Geometry* set = Add(g);
    for (Geometry* m : members)
        m_system->move_to_set(m->node, set->node);
    return set;
}

Geometry* Host::RelativeTransform(const double m[4][4])
{
    auto g = std::make_unique<Geometry>();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            g->m[i][j] = m[i][j];
    Geometry* kept = Keep(std::move(g));
    kept->node = m_system->extended_dimension_system()->add_relative_transform(kept);
    return kept;
}

Geometry* Host::Pattern(Geometry* reference, JUN_pattern_type type, double value)
{
    auto g = std::make_unique<Geometry>();
    g->patternValue = value;
    Geometry* kept = Keep(std::move(g));
    kept->node = m_system->extended_dimension_system()->add_pattern(kept, reference->node, type);
    return kept;
}

Geometry* Host::Feature(const std::vector<Geometry*>& members)
{
    Geometry* kept = Keep(std::make_unique<Geometry>());
    kept->node = m_system->procedural_feature_manager()->add_procedural_feature(kept, KEV_SOLVE_BY_REGENERATION);
    for (Geometry* m : members)
        m_system->procedural_feature_manager()->move_to_feature(m->node, kept->node);
    return kept;
}

Bond* Host::Dim(int type, Geometry* a, Geometry* b, double value, Geometry* c)
{
    m_bonds.push_back(std::make_unique<Bond>());
    Bond* bond = m_bonds.back().get();
    bond->type = type;
    bond->value = value;
    bond->a = a;
    bond->b = b;
    bond->node = m_system->add_d(bond, a->node, b->node, c ? c->node : nullptr);
    return bond;
}

Bond* Host::Radius(int type, Geometry* g, double value)
{
    m_bonds.push_back(std::make_unique<Bond>());
    Bond* bond = m_bonds.back().get();
    bond->type = type;
    bond->value = value;
    bond->a = g;
    bond->rnode = m_system->add_r(bond, g->node);
    return bond;
}

Bond* Host::PatternConstraint(Geometry* pattern, Geometry* a, Geometry* b, int steps)
{
    Bond* bond = Dim(ZMR3_COINCIDENT, a, b, 0.0, pattern);
    bond->steps = steps;
    return bond;
}

Bond* Host::RTConstraint(Geometry* rt, Geometry* a, Geometry* b, bool flag)
{
    Bond* bond = Dim(ZMR3_COINCIDENT, a, b, 0.0, rt);
    bond->flag = flag;
    return bond;
}

Bond* Host::Spacing(Geometry* pattern, double value, bool rigid)
{
    Bond* bond = Radius(ZMR3_COINCIDENT, pattern, value);
    bond->rigid = rigid;
    return bond;
}

v_node* Host::Measure(Bond* bond)
{
    bond->vnode = bond->rnode ? m_system->add_v(bond, bond->rnode) : m_system->add_v(bond, bond->node);
    return bond->vnode;
}

ZMR3_solve_type Host::Solve()
{
    m_system->undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    return m_system->re_evaluate(0, ZMR3_EVALUATE_FULL);
}

int Host::Changed(Geometry* g)
{
    double m[4][4];
    return m_system->transform(g->node, m, nullptr, nullptr);
}

void Host::Apply()
{
    for (auto& g : m_geoms) {
        if (g->type == ZMR3_G_SET || g->node == nullptr)
            continue;
        double m[4][4];
        double first = 0.0, second = 0.0;
        const int mask = m_system->transform(g->node, m, &first, &second);
        if (mask & ZMR3_CHANGE_RIGID) {
            auto rot = [&](V v) {
                return V{m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
                         m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
            };
            g->p = rot(g->p) + V{m[0][3], m[1][3], m[2][3]};
            g->d = rot(g->d);
            g->u = rot(g->u);
        }
        if (mask & ZMR3_CHANGE_RADIUS)
            g->r1 += first;
        if (mask & ZMR3_CHANGE_MINOR_RADIUS)
            g->r2 += second;
        if (mask & ZMR3_CHANGE_HALF_ANGLE)
            g->half += first;
    }
}

}  // namespace tessik_host
