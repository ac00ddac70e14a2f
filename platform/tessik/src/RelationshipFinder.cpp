#include "RelationshipFinder.h"

#include "brennik.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace tessik {

namespace {

// Relations of pass 1 are the tangent and symmetric ones; every other pass takes them all.
bool InPass(int pass, int relation)
{
    return pass != 1 || relation == YSK_OPTION_TANGENT || relation == YSK_OPTION_TANGENT_AT_EDGE ||
           relation == YSK_OPTION_SYMMETRIC;
}

// ---- Reading ---------------------------------------------------------------------------------

bool ClassOf(int tag, int& cls)
{
    cls = BQ_CLASS_null;
    return BQ_ENTITY_ask_class(tag, &cls) == BQ_ERROR_no_errors;
}

Vec3 V(const BQ_VECTOR_t& v) { return Vec3(v.coord[0], v.coord[1], v.coord[2]); }

// Whether the face goes all the way round in its first (second) parameter.
bool FullIn(int face, int surf, int param)
{
    BQ_UVBOX_t box;
    BQ_PARAM_sf_t params[2];
    if (BQ_FACE_find_uvbox(face, &box) != BQ_ERROR_no_errors || BQ_SURF_ask_params(surf, params) != BQ_ERROR_no_errors)
        return false;
    const BQ_PARAM_sf_t& p = params[param];
    const double span = box.param[param + 2] - box.param[param];
    return p.periodic == BQ_PARAM_periodic_yes && span >= p.period - 1e-9;
}

// The kind families whose faces may be full or partial, as {full, partial} kinds, in the
// order of the reader's fullness flags.
const int kFullOrPartial[5][2] = {{YSK_OPTION_CYLINDER_FULL, YSK_OPTION_CYLINDER_PARTIAL},
                                  {YSK_OPTION_CONE_FULL, YSK_OPTION_CONE_PARTIAL},
                                  {YSK_OPTION_TORUS_MAJOR_FULL, YSK_OPTION_TORUS_MAJOR_PARTIAL},
                                  {YSK_OPTION_TORUS_MINOR_FULL, YSK_OPTION_TORUS_MINOR_PARTIAL},
                                  {YSK_OPTION_SPHERE_FULL, YSK_OPTION_SPHERE_PARTIAL}};
enum Family { kCylinder, kCone, kTorusMajor, kTorusMinor, kSphere };

// Asks a standard form and takes its placement (location and axis).
template <class SF>
bool Ask(int (*ask)(int, SF*), int tag, SF& sf, Shape shape, FindItem& item)
{
    if (ask(tag, &sf) != BQ_ERROR_no_errors)
        return false;
    item.shape = shape;
    item.p = V(sf.basis_set.location);
    item.d = V(sf.basis_set.axis);
    return true;
}

bool ReadCurve(int curve, FindItem& item)
{
    int cls = 0;
    if (!ClassOf(curve, cls))
        return false;
    if (cls == BQ_CLASS_line) {
        BQ_LINE_sf_t sf;
        item.kinds[0] = YSK_OPTION_LINEAR_EDGE;
        return Ask(&BQ_LINE_ask, curve, sf, Shape::Line, item);
    }
    if (cls == BQ_CLASS_circle) {
        BQ_CIRCLE_sf_t sf;
        item.kinds[0] = YSK_OPTION_CIRCULAR_EDGE;
        return Ask(&BQ_CIRCLE_ask, curve, sf, Shape::Circle, item) && (item.r1 = sf.radius, true);
    }
    return false;
}

void Place(FindItem& item, const Rigid& placement)
{
    item.p = placement.Apply(item.p);
    item.d = placement.R * item.d;
    const double n = item.d.norm();
    if (n > 0.0)
        item.d /= n;
}

// ---- Pair tests --------------------------------------------------------------------------

enum class Role { Plane, Axis, Point };

Role RoleOf(int kind)
{
    switch (kind) {
    case YSK_OPTION_PLANE:
    case YSK_OPTION_TORUS_MINOR_FULL:
    case YSK_OPTION_TORUS_MINOR_PARTIAL:
        return Role::Plane;
    case YSK_OPTION_SPHERE_FULL:
    case YSK_OPTION_SPHERE_PARTIAL:
        return Role::Point;
    default:
        return Role::Axis;
    }
}

bool IsAxial(Shape s) { return s != Shape::Plane && s != Shape::Sphere; }
// Shapes with a plane of their own: a plane, a torus's spine plane, a circle's plane.
bool HasPlane(Shape s) { return s == Shape::Plane || s == Shape::Torus || s == Shape::Circle; }

Vec3 ConeApex(const FindItem& c) { return c.p - (c.r1 / std::tan(c.half)) * c.d; }

Vec3 Mirror(const Vec3& x, const FindItem& plane) { return x - 2.0 * plane.d.dot(x - plane.p) * plane.d; }
Vec3 MirrorDir(const Vec3& v, const FindItem& plane) { return v - 2.0 * plane.d.dot(v) * plane.d; }

bool SameKey(const FindItem& a, const FindItem& b) { return a.entity == b.entity && a.instance == b.instance; }

class Tests {
public:
    explicit Tests(const FindSettings& s) : m_s(s) {}

    bool Parallel(const Vec3& a, const Vec3& b) const { return a.cross(b).norm() <= m_s.angular; }
    bool Perpendicular(const Vec3& a, const Vec3& b) const { return std::abs(a.dot(b)) <= m_s.angular; }
    bool Near(double a, double b) const { return std::abs(a - b) <= m_s.linear; }
    bool OnPlane(const Vec3& q, const Vec3& p, const Vec3& n) const { return std::abs(n.dot(q - p)) <= m_s.linear; }
    double AxisDistance(const Vec3& q, const FindItem& axis) const { return (q - axis.p).cross(axis.d).norm(); }
    bool OnAxis(const Vec3& q, const FindItem& axis) const { return AxisDistance(q, axis) <= m_s.linear; }
    bool SameAxis(const FindItem& a, const FindItem& b) const { return Parallel(a.d, b.d) && OnAxis(b.p, a); }
    bool SamePlane(const FindItem& a, const FindItem& b) const { return Parallel(a.d, b.d) && OnPlane(b.p, a.p, a.d); }
    bool AxisInPlane(const FindItem& axis, const Vec3& p, const Vec3& n) const
    {
        return Perpendicular(axis.d, n) && OnPlane(axis.p, p, n);
    }

    // b relates to the plane of a (a's kind is a plane kind).
    bool Coplanar(const FindItem& a, const FindItem& b, int kb) const
    {
        if (RoleOf(kb) == Role::Plane || kb == YSK_OPTION_CIRCULAR_EDGE)
            return SamePlane(a, b);
        if (RoleOf(kb) == Role::Point)
            return OnPlane(b.p, a.p, a.d);
        return AxisInPlane(b, a.p, a.d);
    }

    bool Concentric(const FindItem& a, const FindItem& b, int kb) const
    {
        if (RoleOf(kb) == Role::Point)
            return OnAxis(b.p, a);
        return RoleOf(kb) == Role::Axis && SameAxis(a, b);
    }

    bool ParallelTo(const FindItem& a, const FindItem& b, int kb) const
    {
        if (RoleOf(kb) == Role::Plane)
            return Parallel(a.d, b.d) && !OnPlane(b.p, a.p, a.d);
        return RoleOf(kb) == Role::Axis && Perpendicular(a.d, b.d);
    }

    bool PerpendicularTo(const FindItem& a, const FindItem& b, int kb) const
    {
        if (RoleOf(kb) == Role::Plane)
            return Perpendicular(a.d, b.d);
        return RoleOf(kb) == Role::Axis && Parallel(a.d, b.d);
    }

    bool Tangent(const FindItem& a, const FindItem& b) const
    {
        if (static_cast<int>(a.shape) > static_cast<int>(b.shape))
            return Tangent(b, a);
        const double lin = m_s.linear;
        switch (a.shape) {
        case Shape::Plane: {
            const double offset = std::abs(a.d.dot(b.p - a.p));
            if (b.shape == Shape::Cylinder)
                return Perpendicular(a.d, b.d) && Near(offset, b.r1);
            if (b.shape == Shape::Sphere)
                return Near(offset, b.r1);
            if (b.shape == Shape::Cone)
                return std::abs(std::abs(a.d.dot(b.d)) - std::sin(b.half)) <= m_s.angular &&
                       OnPlane(ConeApex(b), a.p, a.d);
            if (b.shape == Shape::Torus)
                return (Parallel(a.d, b.d) && Near(offset, b.r2)) || (Perpendicular(a.d, b.d) && Near(offset, b.r1 + b.r2));
            return false;
        }
        case Shape::Cylinder: {
            if (b.shape == Shape::Cylinder) {
                const double gap = AxisDistance(b.p, a);
                return Parallel(a.d, b.d) && (Near(gap, a.r1 + b.r1) || (gap > lin && Near(gap, std::abs(a.r1 - b.r1))));
            }
            if (b.shape == Shape::Torus)
                return SameAxis(a, b) && (Near(a.r1, b.r1 + b.r2) || Near(a.r1, b.r1 - b.r2));
            if (b.shape == Shape::Sphere) {
                const double gap = AxisDistance(b.p, a);
                return Near(gap, a.r1 + b.r1) || Near(gap, std::abs(a.r1 - b.r1));
            }
            return false;
        }
        case Shape::Sphere: {
            if (b.shape != Shape::Sphere)
                return false;
            const double gap = (b.p - a.p).norm();
            return Near(gap, a.r1 + b.r1) || (gap > lin && Near(gap, std::abs(a.r1 - b.r1)));
        }
        default:
            return false;
        }
    }

    bool Adjacent(const FindItem& a, const FindItem& b) const
    {
        if (!a.face || !b.face || a.instance != b.instance)
            return false;
        int n = 0;
        int* edges = nullptr;
        if (BQ_FACE_find_edges_common(a.entity, b.entity, &n, &edges) != BQ_ERROR_no_errors)
            return false;
        BQ_MEMORY_free(edges);
        return n > 0;
    }

    bool SameSize(const FindItem& a, const FindItem& b) const
    {
        switch (a.shape) {
        case Shape::Cone:
            return std::abs(a.half - b.half) <= m_s.angular;
        case Shape::Torus:
            return Near(a.r1, b.r1) && Near(a.r2, b.r2);
        case Shape::Cylinder:
        case Shape::Sphere:
        case Shape::Circle:
            return Near(a.r1, b.r1);
        default:
            return true;
        }
    }

    bool Similar(const FindItem& a, const FindItem& b) const
    {
        if (a.shape != b.shape || a.shape == Shape::Plane || a.shape == Shape::Line || a.shape == Shape::Circle)
            return false;
        return SameSize(a, b) && (!m_s.similarMatchAxes || a.shape == Shape::Sphere || Parallel(a.d, b.d));
    }

    // Whether m, a mirror image, lies where b lies.
    bool MirrorsOnto(const FindItem& m, const Vec3& mirroredApex, const FindItem& b) const
    {
        switch (b.shape) {
        case Shape::Plane:
            return SamePlane(m, b);
        case Shape::Sphere:
            return (m.p - b.p).norm() <= m_s.linear;
        case Shape::Cone:
            return SameAxis(m, b) && (mirroredApex - ConeApex(b)).norm() <= m_s.linear;
        case Shape::Torus:
        case Shape::Circle:
            return SameAxis(m, b) && (m.p - b.p).norm() <= m_s.linear;
        default:
            return SameAxis(m, b);
        }
    }

    // a's mirror image is b, and a is not its own mirror image (an axis on the plane, a
    // plane across it), which would make everything coaxial or coplanar with it symmetric.
    bool Symmetric(const FindItem& a, const FindItem& b, const FindItem& s) const
    {
        if (a.shape != b.shape || SameKey(a, s) || SameKey(b, s))
            return false;
        FindItem m = a;
        m.p = Mirror(a.p, s);
        m.d = MirrorDir(a.d, s);
        const Vec3 apex = a.shape == Shape::Cone ? Mirror(ConeApex(a), s) : Vec3(Vec3::Zero());
        return !MirrorsOnto(m, apex, a) && MirrorsOnto(m, apex, b) && (!m_s.symmetryMatchExact || SameSize(a, b));
    }

    // The plane of a co-planar-axis reference for the axis of a; false when there is none.
    bool CoplaxisPlane(const FindItem& a, const FindItem& ref, Vec3& n) const
    {
        if (ref.shape == Shape::Plane) {
            n = ref.d;
            return true;
        }
        if (ref.shape != Shape::Line)
            return false;
        Vec3 normal = ref.d.cross(a.d);
        if (normal.norm() <= m_s.angular) {
            normal = ref.d.cross(a.p - ref.p);
            if (normal.norm() <= m_s.linear)
                return false;
        }
        n = normal.normalized();
        return true;
    }

    bool Coplaxis(const FindItem& a, const FindItem& b, int kb, const FindItem& ref) const
    {
        if (SameKey(b, ref) || SameKey(a, ref))
            return false;
        Vec3 n;
        if (!CoplaxisPlane(a, ref, n) || !AxisInPlane(a, ref.p, n))
            return false;
        if (RoleOf(kb) == Role::Point)
            return OnPlane(b.p, ref.p, n) && !OnAxis(b.p, a);
        return RoleOf(kb) == Role::Axis && AxisInPlane(b, ref.p, n) && !SameAxis(a, b);
    }

private:
    const FindSettings& m_s;
};

// Which relationship code each offered relation reports.
const int kCodeOf[YSK_OPTION_RELATION_COUNT] = {
    YSK_RELATION_COPLANAR, YSK_RELATION_CONCENTRIC, YSK_RELATION_PARALLEL, YSK_RELATION_PERPENDICULAR,
    YSK_RELATION_COPLAXIS, YSK_RELATION_TANGENT,    YSK_RELATION_TANGENT,  YSK_RELATION_SYMMETRIC,
    YSK_RELATION_SIMILAR};

// ---- Reporting each relationship once -------------------------------------------------------

ItemKey KeyOf(const FindItem* item) { return item ? ItemKey{item->entity, item->instance} : ItemKey{0, nullptr}; }

struct ReportKey {
    int code;
    ItemKey low, high, third;
    bool operator==(const ReportKey& o) const
    {
        return code == o.code && low == o.low && high == o.high && third == o.third;
    }
};

struct ReportKeyHash {
    size_t operator()(const ReportKey& k) const
    {
        size_t h = std::hash<int>()(k.code);
        for (const ItemKey* i : {&k.low, &k.high, &k.third})
            h = h * 1000003u ^ (std::hash<int>()(i->entity) * 31u + std::hash<const void*>()(i->instance));
        return h;
    }
};

// Tests one pair for every offered relation and reports what holds, once per pair.
class PairJudge {
public:
    PairJudge(const FindSettings& s, const std::function<void(const FoundRelationship&)>& report, FindCounts& counts)
        : m_s(s), m_tests(s), m_report(report), m_counts(counts)
    {
        for (int r = 0; r < YSK_OPTION_RELATION_COUNT; ++r)
            for (int ka = 0; ka < YSK_OPTION_GEOM_COUNT; ++ka) {
                bool any = false;
                for (int kb = 0; kb < YSK_OPTION_GEOM_COUNT && !any; ++kb)
                    any = InPass(s.pass, r) && Offered(r, ka, kb);
                m_anyFrom[r][ka] = any;
            }
    }

    bool Offered(int relation, int ka, int kb) const
    {
        return ka >= 0 && kb >= 0 && m_s.offered != nullptr && m_s.offered[relation][ka][kb];
    }

    // Whether any relation of this kind is offered from a.
    bool AnyFrom(int relation, const FindItem& a) const
    {
        for (int ka : a.kinds)
            if (ka >= 0 && m_anyFrom[relation][ka])
                return true;
        return false;
    }

    void Judge(const FindItem& a, const FindItem& b)
    {
        if (SameKey(a, b))
            return;
        bool coplanar = false;
        for (int r = 0; r < YSK_OPTION_RELATION_COUNT; ++r) {
            if (!InPass(m_s.pass, r))
                continue;
            for (int ka : a.kinds)
                for (int kb : b.kinds) {
                    if (!Offered(r, ka, kb))
                        continue;
                    if (r == YSK_OPTION_SYMMETRIC) {
                        for (const FindItem& s : m_s.symmetryPlanes)
                            if (m_tests.Symmetric(a, b, s))
                                Emit(r, a, b, &s);
                    } else if (r == YSK_OPTION_COPLAXIS) {
                        for (const FindItem& ref : m_s.coplaxis)
                            if (m_tests.Coplaxis(a, b, kb, ref))
                                Emit(r, a, b, &ref);
                    } else if (Holds(r, a, b, ka, kb, coplanar)) {
                        coplanar = coplanar || r == YSK_OPTION_COPLANAR;
                        Emit(r, a, b, nullptr);
                    }
                }
        }
    }

private:
    bool Holds(int r, const FindItem& a, const FindItem& b, int ka, int kb, bool coplanar) const
    {
        switch (r) {
        case YSK_OPTION_COPLANAR:
            return RoleOf(ka) == Role::Plane && m_tests.Coplanar(a, b, kb);
        case YSK_OPTION_CONCENTRIC:
            return RoleOf(ka) == Role::Axis && m_tests.Concentric(a, b, kb);
        case YSK_OPTION_PARALLEL:
            return !coplanar && RoleOf(ka) == Role::Plane && m_tests.ParallelTo(a, b, kb);
        case YSK_OPTION_PERPENDICULAR:
            return RoleOf(ka) == Role::Plane && m_tests.PerpendicularTo(a, b, kb);
        case YSK_OPTION_TANGENT:
            return m_tests.Tangent(a, b);
        case YSK_OPTION_TANGENT_AT_EDGE:
            return m_tests.Tangent(a, b) && m_tests.Adjacent(a, b);
        case YSK_OPTION_SIMILAR:
            return m_tests.Similar(a, b);
        default:
            return false;
        }
    }

    void Emit(int r, const FindItem& a, const FindItem& b, const FindItem* third)
    {
        const int code = kCodeOf[r];
        ItemKey ka = KeyOf(&a), kb = KeyOf(&b);
        ReportKey key{code, std::min(ka, kb), std::max(ka, kb), KeyOf(third)};
        if (!m_seen.insert(key).second)
            return;
        ++m_counts.reported;
        m_report(FoundRelationship{code, &a, &b, third});
    }

    const FindSettings& m_s;
    Tests m_tests;
    const std::function<void(const FoundRelationship&)>& m_report;
    FindCounts& m_counts;
    std::unordered_set<ReportKey, ReportKeyHash> m_seen;
    bool m_anyFrom[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT];  // of the pass, by from kind
};

// ---- Bins ----------------------------------------------------------------------------------

struct Cell {
    long long i, j, k;
    bool operator==(const Cell& o) const { return i == o.i && j == o.j && k == o.k; }
};
struct CellHash {
    size_t operator()(const Cell& c) const
    {
        return std::hash<long long>()(c.i) * 73856093u ^ std::hash<long long>()(c.j) * 19349663u ^
               std::hash<long long>()(c.k) * 83492791u;
    }
};

long long Bin(double v, double cell) { return static_cast<long long>(std::floor(v / cell)); }

// Directions gathered into clusters of nearly equal lines (either sense); each cluster
// keeps its members' positions in bins: the offset of each plane from the origin along its
// own normal (so that where on its plane an item's point lies does not matter), and the
// feet of axes, where each axis crosses the plane through the origin across the cluster's
// direction (so that where along its axis it lies does not matter).
class DirectionIndex {
public:
    // Items count as parallel within the angular tolerance: a cluster takes in directions
    // that far from its first, and their offsets and feet may part by that much for each
    // unit of distance from the origin.
    explicit DirectionIndex(double angular)
        : m_angular(angular), m_join(std::max(kJoin, angular)), m_cell(std::max(kCell, 3 * m_join))
    {
    }

    struct Cluster {
        Vec3 rep, u, v;
        std::vector<int> planes;  // items with a plane of their own along rep
        std::vector<int> axes;    // axial items along rep
        std::vector<int> tori;
        double footCell = 0.0;
        double maxRadius = 0.0;
        double maxAlong = 0.0;  // farthest axis point from the origin plane
        double maxPlaneReach = 0.0;  // farthest plane point from the origin
        std::unordered_map<long long, std::vector<int>> offsets;
        std::unordered_map<Cell, std::vector<int>, CellHash> feet;
    };

    void Add(int index, const FindItem& item)
    {
        const int c = ClusterFor(item.d);
        Cluster& cl = m_clusters[static_cast<size_t>(c)];
        if (HasPlane(item.shape))
            cl.planes.push_back(index);
        if (IsAxial(item.shape))
            cl.axes.push_back(index);
        if (item.shape == Shape::Torus)
            cl.tori.push_back(index);
    }

    // Builds the position bins once every item is in.
    void Finish(const std::vector<FindItem>& items, double positionCell)
    {
        m_positionCell = positionCell;
        for (Cluster& cl : m_clusters) {
            for (int i : cl.planes) {
                const FindItem& it = items[static_cast<size_t>(i)];
                cl.maxPlaneReach = std::max(cl.maxPlaneReach, it.p.norm());
                cl.offsets[Bin(Offset(cl, it.p, it.d), positionCell)].push_back(i);
            }
            double sum = 0.0;
            for (int i : cl.axes) {
                const FindItem& it = items[static_cast<size_t>(i)];
                const double r = it.r1 + it.r2;
                cl.maxRadius = std::max(cl.maxRadius, r);
                cl.maxAlong = std::max(cl.maxAlong, std::abs(cl.rep.dot(it.p)));
                sum += r;
            }
            cl.footCell = std::max(positionCell, cl.axes.empty() ? 0.0 : 2.0 * sum / static_cast<double>(cl.axes.size()));
            for (int i : cl.axes) {
                const FindItem& it = items[static_cast<size_t>(i)];
                const Vec3 f = Foot(cl, it.p, it.d);
                cl.feet[Cell{Bin(f.x(), cl.footCell), Bin(f.y(), cl.footCell), 0}].push_back(i);
            }
        }
    }

    // Clusters whose direction is parallel to d, in either sense.
    void ParallelClusters(const Vec3& d, std::vector<int>& out) const
    {
        out.clear();
        // A few clusters are quicker tested one by one than looked up in 27 direction cells.
        if (m_clusters.size() <= kFewClusters) {
            for (size_t c = 0; c < m_clusters.size(); ++c)
                if (m_clusters[c].rep.cross(d).norm() <= 3 * m_join)
                    out.push_back(static_cast<int>(c));
            return;
        }
        const Cell c = CellOf(d);
        for (long long i = -1; i <= 1; ++i)
            for (long long j = -1; j <= 1; ++j)
                for (long long k = -1; k <= 1; ++k) {
                    auto it = m_cells.find(Cell{c.i + i, c.j + j, c.k + k});
                    if (it == m_cells.end())
                        continue;
                    for (int cl : it->second)
                        if (m_clusters[static_cast<size_t>(cl)].rep.cross(d).norm() <= 3 * m_join &&
                            std::find(out.begin(), out.end(), cl) == out.end())
                            out.push_back(cl);
                }
    }

    void PerpendicularClusters(const Vec3& d, std::vector<int>& out) const
    {
        out.clear();
        for (size_t c = 0; c < m_clusters.size(); ++c)
            if (std::abs(m_clusters[c].rep.dot(d)) <= 3 * m_join)
                out.push_back(static_cast<int>(c));
    }

    const Cluster& Get(int c) const { return m_clusters[static_cast<size_t>(c)]; }

    // Planes of the cluster within reach of the plane through p across d.
    template <class F>
    void PlanesNear(int c, const Vec3& p, const Vec3& d, double reach, F&& take) const
    {
        const Cluster& cl = Get(c);
        const double offset = Offset(cl, p, d);
        const double within = reach + m_positionCell + 2.0 * m_angular * (p.norm() + cl.maxPlaneReach);
        const long long lo = Bin(offset - within, m_positionCell), hi = Bin(offset + within, m_positionCell);
        for (long long b = lo; b <= hi; ++b) {
            auto it = cl.offsets.find(b);
            if (it != cl.offsets.end())
                for (int i : it->second)
                    take(i);
        }
    }

    // Axes of the cluster that come within reach of the axis through p along d.
    template <class F>
    void AxesNear(int c, const Vec3& p, const Vec3& d, double reach, F&& take) const
    {
        const Cluster& cl = Get(c);
        const Vec3 f = Foot(cl, p, d);
        // Axes leaning across the origin plane cross it a little farther apart than they lie.
        const double within = reach * (1.0 + 9.0 * m_join * m_join) + m_positionCell +
                              2.0 * m_angular * (std::abs(cl.rep.dot(p)) + cl.maxAlong);
        const long long i0 = Bin(f.x() - within, cl.footCell), i1 = Bin(f.x() + within, cl.footCell);
        const long long j0 = Bin(f.y() - within, cl.footCell), j1 = Bin(f.y() + within, cl.footCell);
        if ((i1 - i0 + 1) * (j1 - j0 + 1) > static_cast<long long>(cl.axes.size())) {
            for (int i : cl.axes)
                take(i);
            return;
        }
        for (long long i = i0; i <= i1; ++i)
            for (long long j = j0; j <= j1; ++j) {
                auto it = cl.feet.find(Cell{i, j, 0});
                if (it != cl.feet.end())
                    for (int k : it->second)
                        take(k);
            }
    }

private:
    Cell CellOf(const Vec3& d) const { return Cell{Bin(d.x(), m_cell), Bin(d.y(), m_cell), Bin(d.z(), m_cell)}; }

    // The plane's offset from the origin along its normal, taken in the cluster's sense.
    static double Offset(const Cluster& cl, const Vec3& p, const Vec3& d)
    {
        return cl.rep.dot(d) < 0.0 ? -d.dot(p) : d.dot(p);
    }

    // Where the axis through p along d crosses the origin plane across the cluster, in the
    // plane's own coordinates (the third is zero).
    static Vec3 Foot(const Cluster& cl, const Vec3& p, const Vec3& d)
    {
        const Vec3 q = p - (cl.rep.dot(p) / cl.rep.dot(d)) * d;
        return Vec3(cl.u.dot(q), cl.v.dot(q), 0.0);
    }

    int ClusterFor(const Vec3& d)
    {
        std::vector<int> near;
        ParallelClusters(d, near);
        for (int c : near)
            if (m_clusters[static_cast<size_t>(c)].rep.cross(d).norm() <= m_join)
                return c;
        Cluster cl;
        cl.rep = d;
        cl.u = d.unitOrthogonal();
        cl.v = d.cross(cl.u);
        m_clusters.push_back(cl);
        const int index = static_cast<int>(m_clusters.size()) - 1;
        m_cells[CellOf(d)].push_back(index);
        m_cells[CellOf(-d)].push_back(index);
        return index;
    }

    static constexpr double kCell = 1e-4;
    static constexpr double kJoin = 1e-7;
    static constexpr size_t kFewClusters = 16;
    double m_angular, m_join, m_cell;
    double m_positionCell = 1e-5;
    std::vector<Cluster> m_clusters;
    std::unordered_map<Cell, std::vector<int>, CellHash> m_cells;
};

// Sizes in bins, for similar partners: radii in bins of a length, a cone's half angle in
// bins of an angle.
class SizeIndex {
public:
    SizeIndex(double cell, double angleCell) : m_cell(cell), m_angleCell(angleCell) {}

    static bool HasSize(Shape s) { return s == Shape::Cylinder || s == Shape::Cone || s == Shape::Torus || s == Shape::Sphere; }

    void Add(int index, const FindItem& item)
    {
        if (HasSize(item.shape))
            m_bins[KeyOf(item, 0, 0)].push_back(index);
    }

    template <class F>
    void Near(const FindItem& item, F&& take) const
    {
        if (!HasSize(item.shape))
            return;
        for (long long i = -1; i <= 1; ++i)
            for (long long j = -1; j <= 1; ++j) {
                auto it = m_bins.find(KeyOf(item, i, j));
                if (it != m_bins.end())
                    for (int k : it->second)
                        take(k);
            }
    }

private:
    Cell KeyOf(const FindItem& item, long long di, long long dj) const
    {
        const long long first = item.shape == Shape::Cone ? Bin(item.half, m_angleCell) : Bin(item.r1, m_cell);
        return Cell{static_cast<long long>(item.shape), first + di, Bin(item.r2, m_cell) + dj};
    }

    double m_cell, m_angleCell;
    std::unordered_map<Cell, std::vector<int>, CellHash> m_bins;
};

// Chooses the to items worth testing against each from item.
class Candidates {
public:
    Candidates(const FindSettings& s, const std::vector<FindItem>& to, const std::vector<int>& usable,
               const PairJudge& judge)
        : m_s(s), m_to(to), m_judge(judge), m_dirs(s.angular),
          m_sizes(std::max(1e3 * s.linear, 1e-9), std::max(1e3 * s.angular, 1e-12)), m_stamp(to.size(), 0)
    {
        const double positionCell = std::max(1e3 * s.linear, 1e-9);
        for (int i : usable) {
            const FindItem& it = to[static_cast<size_t>(i)];
            if (it.HasDirection())
                m_dirs.Add(i, it);
            else
                m_spheres.push_back(i);
            if (it.shape == Shape::Cone)
                m_cones.push_back(i);
            if (it.shape == Shape::Plane)
                m_planes.push_back(i);
            m_sizes.Add(i, it);
        }
        m_dirs.Finish(to, positionCell);
        m_usable = usable;
    }

    // The candidates of a, in the order of the to list.
    const std::vector<int>& For(const FindItem& a)
    {
        ++m_round;
        m_out.clear();
        auto take = [this](int i) {
            if (m_stamp[static_cast<size_t>(i)] != m_round) {
                m_stamp[static_cast<size_t>(i)] = m_round;
                m_out.push_back(i);
            }
        };
        const bool coplanar = m_judge.AnyFrom(YSK_OPTION_COPLANAR, a);
        const bool concentric = m_judge.AnyFrom(YSK_OPTION_CONCENTRIC, a);
        const bool parallel = m_judge.AnyFrom(YSK_OPTION_PARALLEL, a);
        const bool perpendicular = m_judge.AnyFrom(YSK_OPTION_PERPENDICULAR, a);
        const bool tangent = m_judge.AnyFrom(YSK_OPTION_TANGENT, a) || m_judge.AnyFrom(YSK_OPTION_TANGENT_AT_EDGE, a);
        const bool symmetric = m_judge.AnyFrom(YSK_OPTION_SYMMETRIC, a);
        const bool similar = m_judge.AnyFrom(YSK_OPTION_SIMILAR, a);
        const bool coplaxis = m_judge.AnyFrom(YSK_OPTION_COPLAXIS, a);
        const bool any = coplanar || concentric || parallel || perpendicular || tangent || symmetric || similar || coplaxis;
        if (!any)
            return Sorted();

        // Spheres relate to anything by position alone.
        if (a.shape == Shape::Sphere) {
            for (int i : m_usable)
                take(i);
            return Sorted();
        }
        for (int i : m_spheres)
            take(i);

        if (a.HasDirection())
            ByDirection(a, coplanar, concentric, parallel, perpendicular, tangent, take);
        if (tangent && a.shape == Shape::Cone)
            for (int i : m_planes)
                take(i);
        if (tangent && a.shape == Shape::Plane)
            for (int i : m_cones)
                take(i);
        if (similar)
            m_sizes.Near(a, take);
        if (symmetric)
            for (const FindItem& s : m_s.symmetryPlanes)
                Mirrored(a, s, take);
        if (coplaxis && IsAxial(a.shape))
            for (const FindItem& ref : m_s.coplaxis)
                InCoplaxisPlane(a, ref, take);
        return Sorted();
    }

private:
    const std::vector<int>& Sorted()
    {
        std::sort(m_out.begin(), m_out.end());
        return m_out;
    }

    template <class F>
    void ByDirection(const FindItem& a, bool coplanar, bool concentric, bool parallel, bool perpendicular, bool tangent,
                     F& take)
    {
        m_dirs.ParallelClusters(a.d, m_parallel);
        const double lin = m_s.linear;
        // A torus answers both as the plane of its spine and as its axis.
        const bool planeRole = a.shape == Shape::Plane || a.shape == Shape::Torus;
        const bool axisRole = IsAxial(a.shape);
        for (int c : m_parallel) {
            const auto& cl = m_dirs.Get(c);
            if (HasPlane(a.shape) && coplanar)
                m_dirs.PlanesNear(c, a.p, a.d, lin, take);
            if (planeRole) {
                if (parallel)
                    for (int i : cl.planes)
                        take(i);
                if (perpendicular)
                    for (int i : cl.axes)
                        take(i);
                if (tangent)
                    for (int i : cl.tori)
                        take(i);
            }
            if (axisRole) {
                if (perpendicular || tangent)
                    for (int i : cl.planes)
                        take(i);
                if (concentric || tangent)
                    m_dirs.AxesNear(c, a.p, a.d, (tangent ? a.r1 + a.r2 + cl.maxRadius : 0.0) + lin, take);
            }
        }
        if (!(parallel || perpendicular || coplanar || tangent))
            return;
        m_dirs.PerpendicularClusters(a.d, m_perpendicular);
        for (int c : m_perpendicular) {
            const auto& cl = m_dirs.Get(c);
            if (planeRole) {
                if (perpendicular)
                    for (int i : cl.planes)
                        take(i);
                if (parallel || coplanar || tangent)
                    for (int i : cl.axes)
                        take(i);
            }
            if (axisRole && (parallel || coplanar || tangent))
                for (int i : cl.planes)
                    take(i);
        }
    }

    template <class F>
    void Mirrored(const FindItem& a, const FindItem& s, F& take)
    {
        if (!a.HasDirection())
            return;
        const Vec3 p = Mirror(a.p, s), d = MirrorDir(a.d, s);
        m_dirs.ParallelClusters(d, m_mirrored);
        for (int c : m_mirrored) {
            if (a.shape == Shape::Plane)
                m_dirs.PlanesNear(c, p, d, m_s.linear, take);
            else
                m_dirs.AxesNear(c, p, d, m_s.linear, take);
        }
    }

    template <class F>
    void InCoplaxisPlane(const FindItem& a, const FindItem& ref, F& take)
    {
        Tests tests(m_s);
        Vec3 n;
        if (!tests.CoplaxisPlane(a, ref, n) || !tests.AxisInPlane(a, ref.p, n))
            return;
        for (int i : m_usable) {
            const FindItem& b = m_to[static_cast<size_t>(i)];
            if (tests.OnPlane(b.p, ref.p, n))
                take(i);
        }
    }

    const FindSettings& m_s;
    const std::vector<FindItem>& m_to;
    const PairJudge& m_judge;
    DirectionIndex m_dirs;
    SizeIndex m_sizes;
    std::vector<int> m_usable, m_spheres, m_cones, m_planes;
    std::vector<int> m_parallel, m_perpendicular, m_mirrored;
    std::vector<unsigned> m_stamp;
    unsigned m_round = 0;
    std::vector<int> m_out;
};

// Plane pairs with parallel normals: among the from planes, and between from planes and
// to planes that are not from entities.
void CountParallelPlanes(const FindSettings& s, const std::vector<FindItem>& from, const std::vector<FindItem>& to,
                         PairChoice choice, FindCounts& counts)
{
    Tests tests(s);
    std::unordered_set<int> fromTags;
    std::vector<int> fromPlanes, toPlanes;
    for (size_t i = 0; i < from.size(); ++i) {
        fromTags.insert(from[i].entity);
        if (from[i].shape == Shape::Plane)
            fromPlanes.push_back(static_cast<int>(i));
    }
    for (size_t j = 0; j < to.size(); ++j)
        if (to[j].shape == Shape::Plane && !fromTags.count(to[j].entity))
            toPlanes.push_back(static_cast<int>(j));
    if (choice == PairChoice::AllPairs) {
        for (int i : fromPlanes) {
            const FindItem& a = from[static_cast<size_t>(i)];
            for (int j : fromPlanes)
                if (j > i && from[static_cast<size_t>(j)].entity != a.entity && tests.Parallel(a.d, from[static_cast<size_t>(j)].d))
                    ++counts.fromParallelPlanes;
            for (int j : toPlanes)
                if (tests.Parallel(a.d, to[static_cast<size_t>(j)].d))
                    ++counts.crossParallelPlanes;
        }
        return;
    }
    const double positionCell = std::max(1e3 * s.linear, 1e-9);
    DirectionIndex fromIndex(s.angular), toIndex(s.angular);
    for (int i : fromPlanes)
        fromIndex.Add(i, from[static_cast<size_t>(i)]);
    for (int j : toPlanes)
        toIndex.Add(j, to[static_cast<size_t>(j)]);
    fromIndex.Finish(from, positionCell);
    toIndex.Finish(to, positionCell);
    std::vector<int> clusters;
    for (int i : fromPlanes) {
        const FindItem& a = from[static_cast<size_t>(i)];
        fromIndex.ParallelClusters(a.d, clusters);
        for (int c : clusters)
            for (int j : fromIndex.Get(c).planes) {
                const FindItem& b = from[static_cast<size_t>(j)];
                if (j > i && b.entity != a.entity && tests.Parallel(a.d, b.d))
                    ++counts.fromParallelPlanes;
            }
        toIndex.ParallelClusters(a.d, clusters);
        for (int c : clusters)
            for (int j : toIndex.Get(c).planes)
                if (tests.Parallel(a.d, to[static_cast<size_t>(j)].d))
                    ++counts.crossParallelPlanes;
    }
}

}  // namespace

ItemReader::ItemReader(InstancePlacement placement) : m_placement(std::move(placement)) {}

ItemReader::ItemReader(const FindSettings& settings, InstancePlacement placement) : m_placement(std::move(placement))
{
    // Fullness matters only where some offered relation of the pass differs between a full
    // and a partial face of the family, on either side of the pair.
    const auto offered = settings.offered;
    for (int f = 0; f < 5; ++f) {
        const int full = kFullOrPartial[f][0], partial = kFullOrPartial[f][1];
        bool differs = false;
        for (int r = 0; r < YSK_OPTION_RELATION_COUNT && offered != nullptr && !differs; ++r) {
            if (!InPass(settings.pass, r))
                continue;
            for (int k = 0; k < YSK_OPTION_GEOM_COUNT && !differs; ++k)
                differs = offered[r][full][k] != offered[r][partial][k] || offered[r][k][full] != offered[r][k][partial];
        }
        m_askFull[f] = differs;
    }
}

bool ItemReader::Read(const YSK_pointer_s* entries, int count, std::vector<FindItem>& out)
{
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const YSK_pointer_s& e = entries[i];
        bool live = false;
        if (BQ_ENTITY_is(e.entity, &live) != BQ_ERROR_no_errors) {
            ok = false;
            continue;
        }
        if (!live)
            continue;
        ReadOne(e.entity, e.entity, e.instance, m_placement(e), out);
    }
    return ok;
}

void ItemReader::ReadOne(int tag, int source, void* instance, const Rigid& placement, std::vector<FindItem>& out)
{
    const auto read = m_read.find(ItemKey{tag, instance});
    if (read != m_read.end()) {
        if (read->second >= 0) {
            out.push_back(m_items[static_cast<size_t>(read->second)]);
            out.back().source = source;
        }
        return;
    }
    int cls = 0;
    if (!ClassOf(tag, cls))
        return;
    if (cls == BQ_CLASS_body) {
        int n = 0;
        int* faces = nullptr;
        if (BQ_BODY_ask_faces(tag, &n, &faces) != BQ_ERROR_no_errors)
            return;
        for (int i = 0; i < n; ++i)
            ReadOne(faces[i], source, instance, placement, out);
        BQ_MEMORY_free(faces);
        return;
    }
    FindItem item;
    item.entity = tag;
    item.instance = instance;
    item.source = source;
    bool known = false;
    if (cls == BQ_CLASS_face) {
        int surf = 0;
        item.face = true;
        known = BQ_FACE_ask_surf(tag, &surf) == BQ_ERROR_no_errors && ReadSurface(surf, tag, item);
    } else if (cls == BQ_CLASS_edge) {
        int curve = 0;
        known = BQ_EDGE_ask_curve(tag, &curve) == BQ_ERROR_no_errors && curve != 0 && ReadCurve(curve, item);
    } else {
        bool isSurface = false, isCurve = false;
        BQ_CLASS_is_subclass(cls, BQ_CLASS_surf, &isSurface);
        BQ_CLASS_is_subclass(cls, BQ_CLASS_curve, &isCurve);
        known = isSurface ? ReadSurface(tag, 0, item) : isCurve && ReadCurve(tag, item);
    }
    if (!known) {
        m_read.emplace(ItemKey{tag, instance}, -1);
        return;
    }
    Place(item, placement);
    m_read.emplace(ItemKey{tag, instance}, static_cast<int>(m_items.size()));
    m_items.push_back(item);
    out.push_back(item);
}

// Surface geometry of a face or free surface; false for a kind the finder does not know.
bool ItemReader::ReadSurface(int surf, int face, FindItem& item) const
{
    int cls = 0;
    if (!ClassOf(surf, cls))
        return false;
    auto kind = [&](int slot, Family family, int param) {
        const bool full = face != 0 && m_askFull[family] && FullIn(face, surf, param);
        item.kinds[slot] = kFullOrPartial[family][full ? 0 : 1];
    };
    switch (cls) {
    case BQ_CLASS_plane: {
        BQ_PLANE_sf_t sf;
        item.kinds[0] = YSK_OPTION_PLANE;
        return Ask(&BQ_PLANE_ask, surf, sf, Shape::Plane, item);
    }
    case BQ_CLASS_cyl: {
        BQ_CYL_sf_t sf;
        kind(0, kCylinder, 0);
        return Ask(&BQ_CYL_ask, surf, sf, Shape::Cylinder, item) && (item.r1 = sf.radius, true);
    }
    case BQ_CLASS_cone: {
        BQ_CONE_sf_t sf;
        kind(0, kCone, 0);
        if (!Ask(&BQ_CONE_ask, surf, sf, Shape::Cone, item))
            return false;
        item.r1 = sf.radius;
        item.half = sf.half_angle;
        return true;
    }
    case BQ_CLASS_sphere: {
        BQ_SPHERE_sf_t sf;
        kind(0, kSphere, 0);
        return Ask(&BQ_SPHERE_ask, surf, sf, Shape::Sphere, item) && (item.r1 = sf.radius, true);
    }
    case BQ_CLASS_torus: {
        BQ_TORUS_sf_t sf;
        kind(0, kTorusMajor, 0);
        kind(1, kTorusMinor, 1);
        if (!Ask(&BQ_TORUS_ask, surf, sf, Shape::Torus, item))
            return false;
        item.r1 = sf.major_radius;
        item.r2 = sf.minor_radius;
        return true;
    }
    default:
        return false;
    }
}

bool ReadItems(const YSK_pointer_s* entries, int count, const InstancePlacement& placement, std::vector<FindItem>& out)
{
    return ItemReader(placement).Read(entries, count, out);
}

void FindRelationships(const FindSettings& settings, const std::vector<FindItem>& from, const std::vector<FindItem>& to,
                       const std::vector<FindItem>& third, PairChoice choice,
                       const std::function<void(const FoundRelationship&)>& report, FindCounts& counts)
{
    counts = FindCounts{};
    CountParallelPlanes(settings, from, to, choice, counts);

    std::unordered_set<ItemKey, ItemKeyHash> left;
    for (const FindItem& t : third)
        left.insert(KeyOf(&t));
    std::vector<int> usable;
    for (size_t j = 0; j < to.size(); ++j)
        if (!left.count(KeyOf(&to[j])))
            usable.push_back(static_cast<int>(j));

    PairJudge judge(settings, report, counts);
    if (choice == PairChoice::AllPairs) {
        for (const FindItem& a : from)
            for (int j : usable)
                judge.Judge(a, to[static_cast<size_t>(j)]);
        return;
    }
    Candidates candidates(settings, to, usable, judge);
    for (const FindItem& a : from)
        for (int j : candidates.For(a))
            judge.Judge(a, to[static_cast<size_t>(j)]);
}

}  // namespace tessik
