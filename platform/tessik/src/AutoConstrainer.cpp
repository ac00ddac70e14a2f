#include "AutoConstrainer.h"

#include <Eigen/Geometry>

#include <algorithm>
#include <cmath>
#include <map>

namespace tessik {

namespace {

// ---- The callbacks the manager answers for its own nodes ------------------------------------

OwnedNode* O(void* app) { return static_cast<OwnedNode*>(app); }
void Put(double out[3], const Vec3& v) { out[0] = v.x(), out[1] = v.y(), out[2] = v.z(); }

int OwnGeomType(void* n) { return O(n)->geom.type; }
void OwnLocation(double out[3], void* n) { Put(out, O(n)->geom.p); }
void OwnDirection(double out[3], void* n) { Put(out, O(n)->geom.d); }
double OwnRadius(void* n) { return O(n)->geom.r1; }
void OwnCone(void* n, double loc[3], double axis[3], double* r, double* s, double* c)
{
    Put(loc, O(n)->geom.p);
    Put(axis, O(n)->geom.d);
    *r = O(n)->geom.r1;
    *s = std::sin(O(n)->geom.half);
    *c = std::cos(O(n)->geom.half);
}
void OwnTorus(void* n, double c[3], double axis[3], double* major, double* minor, int* flag)
{
    Put(c, O(n)->geom.p);
    Put(axis, O(n)->geom.d);
    *major = O(n)->geom.r1;
    *minor = O(n)->geom.r2;
    *flag = 0;
}
void OwnEllipse(void* n, double c[3], double axis[3], double major[3], double* r1, double* r2)
{
    Put(c, O(n)->geom.p);
    Put(axis, O(n)->geom.d);
    Put(major, O(n)->geom.u);
    *r1 = O(n)->geom.r1;
    *r2 = O(n)->geom.r2;
}
int OwnDType(void* b) { return O(b)->type; }
double OwnDValue(void* b) { return O(b)->value; }
int OwnRigid(void* b) { return O(b)->rigid ? 1 : 0; }
g_node* OwnAnglePlane(void* b) { return Handle<g_node>(O(b)->anglePlane); }
int EndIndex(OwnedNode* b, void* geometry)
{
    for (int i = 0; i < b->endCount && i < 3; ++i)
        if (b->ends[i] != nullptr && b->ends[i]->app == geometry)
            return i;
    return -1;
}
int OwnHalfSpace(void* b, void* g)
{
    const int i = EndIndex(O(b), g);
    return i >= 0 ? O(b)->halfSpace[i] : ZMR3_HALF_SPACE_NONE;
}
int OwnRadiusKind(void* b, void* g)
{
    const int i = EndIndex(O(b), g);
    return i >= 0 && i < 2 ? O(b)->radiusKind[i] : ZMR3_MAJOR_RADIUS;
}
int OwnDistanceDirection(void*, double*, g_node**) { return 0; }

const ZMR3_frustum_functions& OwnTable()
{
    static const ZMR3_frustum_functions table = [] {
        ZMR3_frustum_functions t{};
        t.entries[ZMR3_FR_GEOM_TYPE] = ZMR3_frustum_entry(&OwnGeomType);
        for (int e : {ZMR3_FR_POINT_LOCATION, ZMR3_FR_LINE_LOCATION, ZMR3_FR_CIRCLE_CENTRE, ZMR3_FR_PLANE_LOCATION,
                      ZMR3_FR_CYLINDER_LOCATION, ZMR3_FR_SPHERE_CENTRE})
            t.entries[e] = ZMR3_frustum_entry(&OwnLocation);
        for (int e : {ZMR3_FR_LINE_DIRECTION, ZMR3_FR_CIRCLE_AXIS, ZMR3_FR_PLANE_NORMAL, ZMR3_FR_CYLINDER_AXIS})
            t.entries[e] = ZMR3_frustum_entry(&OwnDirection);
        for (int e : {ZMR3_FR_CIRCLE_RADIUS, ZMR3_FR_CYLINDER_RADIUS, ZMR3_FR_SPHERE_RADIUS})
            t.entries[e] = ZMR3_frustum_entry(&OwnRadius);
        t.entries[ZMR3_FR_CONE_DATA] = ZMR3_frustum_entry(&OwnCone);
        t.entries[ZMR3_FR_TORUS_DATA] = ZMR3_frustum_entry(&OwnTorus);
        t.entries[ZMR3_FR_ELLIPSE_DATA] = ZMR3_frustum_entry(&OwnEllipse);
        t.entries[ZMR3_FR_D_TYPE] = ZMR3_frustum_entry(&OwnDType);
        t.entries[ZMR3_FR_D_VALUE] = ZMR3_frustum_entry(&OwnDValue);
        t.entries[ZMR3_FR_RIGID] = ZMR3_frustum_entry(&OwnRigid);
        t.entries[ZMR3_FR_ANGLE_PLANE] = ZMR3_frustum_entry(&OwnAnglePlane);
        t.entries[ZMR3_FR_HALF_SPACE] = ZMR3_frustum_entry(&OwnHalfSpace);
        t.entries[ZMR3_FR_RADIUS_KIND] = ZMR3_frustum_entry(&OwnRadiusKind);
        t.entries[ZMR3_FR_DISTANCE_DIRECTION] = ZMR3_frustum_entry(&OwnDistanceDirection);
        return t;
    }();
    return table;
}

// What every reported bond record says of the bond itself.
template <class R>
void Head(const OwnedNode& bond, R& record)
{
    record.type = bond.type;
    record.value = bond.value;
    record.rigid = bond.rigid ? 1 : 0;
    record.node = bond.node;
}

bool OwnedByManager(const NodeRecord* node) { return node != nullptr && node->answers == &OwnTable(); }

// Geometry ends of a dimension type.
int EndCountOf(int type)
{
    switch (type) {
    case ZMR3_RADIUS:
    case ZMR3_MAJOR_RADIUS:
    case ZMR3_MINOR_RADIUS:
    case ZMR3_CURVE_LENGTH:
    case ZMR3_HALF_ANGLE:
        return 1;
    case ZMR3_MIDPOINT:
    case ZMR3_SYMMETRIC:
        return 3;
    default:
        return 2;
    }
}

bool Failing(int dStatus)
{
    return (dStatus >= ZMR3_D_STATUS_OVER_DEFINED && dStatus <= ZMR3_D_STATUS_BAD_GEOMETRY) ||
           dStatus == ZMR3_D_STATUS_NOT_REACHED;
}

int ShapeOf(int type)
{
    switch (type) {
    case ZMR3_G_POINT:
        return YSK_SHAPE_POINT;
    case ZMR3_G_LINE:
        return YSK_SHAPE_LINE;
    case ZMR3_G_CIRCLE:
        return YSK_SHAPE_CIRCLE;
    case ZMR3_G_PLANE:
        return YSK_SHAPE_PLANE;
    default:
        return -1;
    }
}

}  // namespace

AutoConstrainer::AutoConstrainer(ZMR3_dimension_system* system)
    : m_system(system), m_engine(system != nullptr ? &system->engine() : nullptr)
{
    if (m_engine != nullptr)
        m_engine->Watch(this, [this] {
            m_engine = nullptr;
            m_system = nullptr;
            for (OwnedNode& owned : m_owned)
                owned.node = nullptr;
        });
    Initialise();
}

AutoConstrainer::~AutoConstrainer()
{
    if (m_engine == nullptr)
        return;
    // Nothing may ask for the manager's nodes once it is gone.
    for (OwnedNode& owned : m_owned)
        if (owned.node != nullptr && OwnedByManager(owned.node))
            Erase(&owned);
    m_engine->Unwatch(this);
}

void AutoConstrainer::AttachJournal(YSK_file* file, int options, int digits)
{
    if (file == nullptr || options == 0) {
        m_journal.Attach(nullptr, 0, 17);
        return;
    }
    unsigned bits = 0;
    if (options & YSK_JOURNAL_CALLS)
        bits |= ZMR3_JOURNAL_CALLS;
    if (options & YSK_JOURNAL_RESULTS)
        bits |= ZMR3_JOURNAL_ANSWERS;
    m_journal.Attach(file, bits, digits == 0 ? 17 : digits);
}

void AutoConstrainer::Initialise()
{
    std::fill(&m_offered[0][0][0], &m_offered[0][0][0] + sizeof m_offered / sizeof(bool), false);
    m_change = Change::None;
    m_moved = nullptr;
    m_changes.clear();
}

// The nodes made so far stay: the rules and bonds hold through the solve that follows.
void AutoConstrainer::Reset() { Initialise(); }

// ---- Nodes ---------------------------------------------------------------------------------

OwnedNode* AutoConstrainer::NewOwned()
{
    m_owned.emplace_back();
    return &m_owned.back();
}

Geom AutoConstrainer::Read(const NodeRecord* node) const
{
    const ZMR3_frustum_functions& table = m_engine->TableOf(node);
    auto typeOf = reinterpret_cast<ZMR3_int_of_node_fn>(table.entries[ZMR3_FR_GEOM_TYPE]);
    const int type = typeOf ? typeOf(node->app) : -1;
    if (type == ZMR3_G_SET)
        return Geom{};
    return ReadGeometry(table, node->app, type);
}

NodeRecord* AutoConstrainer::Construction(int type, const Vec3& p, const Vec3& d, bool fixed, NodeRecord* set,
                                          double radius)
{
    OwnedNode* owned = NewOwned();
    owned->geometry = true;
    owned->geom.type = type;
    owned->geom.p = p;
    owned->geom.d = d.normalized();
    owned->geom.r1 = radius;
    owned->shape = ShapeOf(type);
    g_node* handle = m_system->add_g(owned);
    owned->node = Rec(handle);
    owned->node->answers = &OwnTable();
    if (fixed)
        m_system->fix(handle);
    if (set != nullptr && set->kind == NodeKind::Feature)
        m_engine->MoveToFeature(owned->node, set);
    else if (set != nullptr)
        m_system->move_to_set(handle, Handle<g_node>(set));
    return owned->node;
}

NodeRecord* AutoConstrainer::CopyOf(const Geom& g)
{
    OwnedNode* owned = NewOwned();
    owned->geometry = true;
    owned->geom = g;
    owned->shape = ShapeOf(g.type);
    g_node* handle = m_system->add_g(owned);
    owned->node = Rec(handle);
    owned->node->answers = &OwnTable();
    m_system->fix(handle);
    return owned->node;
}

bool AutoConstrainer::Supported(int type, const End* ends, int count, const NodeRecord* anglePlane) const
{
    DimensionSpec spec;
    spec.type = type;
    spec.count = count;
    Geom start[3];
    for (int i = 0; i < count; ++i) {
        if (ends[i].node == nullptr)
            return false;
        start[i] = Read(ends[i].node);
        if (!IsUsable(start[i]))
            return false;
    }
    if (anglePlane != nullptr) {
        spec.anglePlane = true;
        spec.count = 3;
        start[2] = Read(anglePlane);
        if (!IsUsable(start[2]))
            return false;
    }
    return BuildDimension(spec, start).supported;
}

double AutoConstrainer::Measure(int type, const End* ends, int count) const
{
    DimensionSpec spec;
    spec.type = type;
    spec.count = count;
    Geom start[3];
    for (int i = 0; i < count; ++i)
        start[i] = Read(ends[i].node);
    const DimensionEquations eq = BuildDimension(spec, start);
    return eq.measure ? eq.measure(start) : 0.0;
}

OwnedNode* AutoConstrainer::Bond(int type, const End* ends, int count, double value, bool rigid)
{
    OwnedNode* owned = NewOwned();
    owned->type = type;
    owned->value = value;
    owned->rigid = rigid;
    owned->endCount = count;
    for (int i = 0; i < count; ++i) {
        owned->ends[i] = ends[i].node;
        owned->endInstance[i] = ends[i].instance;
        owned->endEntity[i] = ends[i].entity;
    }
    g_node* g[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < count; ++i)
        g[i] = Handle<g_node>(ends[i].node);
    if (count == 1)
        owned->node = Rec(m_system->add_r(owned, g[0]));
    else
        owned->node = Rec(m_system->add_d(owned, g[0], g[1], count == 3 ? g[2] : nullptr));
    owned->node->answers = &OwnTable();
    m_changes.push_back(owned);
    return owned;
}

void AutoConstrainer::Erase(OwnedNode* owned)
{
    if (owned->node != nullptr && m_engine->Live(owned->node)) {
        if (owned->geometry)
            m_system->erase(Handle<g_node>(owned->node));
        else if (owned->endCount == 1)
            m_system->erase(Handle<r_node>(owned->node));
        else
            m_system->erase(Handle<d_node>(owned->node));
    }
    owned->node = nullptr;
    m_changes.erase(std::remove(m_changes.begin(), m_changes.end(), owned), m_changes.end());
}

// Erases the nodes made after the first `before` ones.
void AutoConstrainer::TakeBack(size_t before)
{
    for (size_t i = before; i < m_owned.size(); ++i)
        Erase(&m_owned[i]);
    m_owned.resize(before);
}

// ---- Relationships and bonds -----------------------------------------------------------------

bool AutoConstrainer::EndsOf(const YSK_dnode_data_s& record, int count, End* ends) const
{
    for (int i = 0; i < count; ++i) {
        ends[i].node = m_engine->LiveGNode(record.ends[i].node);
        ends[i].instance = record.ends[i].instance;
        ends[i].entity = record.ends[i].entity;
        if (ends[i].node == nullptr)
            return false;
    }
    return true;
}

YSK_autocon_result AutoConstrainer::AddBond(const YSK_dnode_data_s& record)
{
    const int count = EndCountOf(record.type);
    End ends[3];
    if (!EndsOf(record, count, ends))
        return YSK_RESULT_BAD_ARGUMENT;
    NodeRecord* plane = nullptr;
    if (record.type == ZMR3_ANGLE && record.ends[2].node != nullptr) {
        plane = m_engine->LiveGNode(record.ends[2].node);
        if (plane == nullptr)
            return YSK_RESULT_BAD_ARGUMENT;
    }
    if (!Supported(record.type, ends, count, plane))
        return YSK_RESULT_UNSUPPORTED;
    OwnedNode* bond = Bond(record.type, ends, count, record.value, record.rigid == 1);
    bond->anglePlane = plane;
    for (int i = 0; i < count; ++i)
        bond->halfSpace[i] = record.ends[i].half_space;
    return YSK_RESULT_OK;
}

bool AutoConstrainer::Tie(int type, const End& a, const End& b, int radiusKind)
{
    const End ends[2] = {a, b};
    if (!Supported(type, ends, 2))
        return false;
    OwnedNode* bond = Bond(type, ends, 2, 0.0, true);
    bond->radiusKind[0] = bond->radiusKind[1] = radiusKind;
    return true;
}

// x on the plane: a plane, line, circle or point directly; an axis through a construction
// line on it, a centre through a construction point.
bool AutoConstrainer::OnPlane(const End& x, const End& plane)
{
    const End ends[2] = {x, plane};
    if (Supported(ZMR3_COINCIDENT, ends, 2))
        return Tie(ZMR3_COINCIDENT, x, plane);
    const Geom g = Read(x.node);
    End core;
    if (IsAxialOnly(g.type) || g.type == ZMR3_G_TORUS)
        core.node = Construction(ZMR3_G_LINE, g.p, g.d, false, nullptr);
    else if (g.type == ZMR3_G_SPHERE)
        core.node = Construction(ZMR3_G_POINT, g.p, Vec3::UnitZ(), false, nullptr);
    else
        return false;
    return Tie(ZMR3_CONCENTRIC, x, core) && Tie(ZMR3_COINCIDENT, core, plane);
}

YSK_autocon_result AutoConstrainer::AddRelationship(const YSK_dnode_data_s& record)
{
    const int relation = record.relation;
    const int count = relation == YSK_RELATION_SYMMETRIC || relation == YSK_RELATION_COPLAXIS ? 3 : 2;
    End ends[3];
    if (!EndsOf(record, count, ends))
        return YSK_RESULT_BAD_ARGUMENT;
    // Each relationship becomes the bonds that keep it. A refusal leaves what was made to
    // the caller, which takes back the whole call.
    bool ok = false;
    switch (relation) {
    case YSK_RELATION_COPLANAR:
        ok = Read(ends[0].node).type == ZMR3_G_PLANE ? OnPlane(ends[1], ends[0]) : OnPlane(ends[0], ends[1]);
        break;
    case YSK_RELATION_CONCENTRIC:
    case YSK_RELATION_PARALLEL:
    case YSK_RELATION_PERPENDICULAR:
    case YSK_RELATION_TANGENT: {
        // Kept by the bond of the same name.
        const int type = relation == YSK_RELATION_CONCENTRIC ? ZMR3_CONCENTRIC
                         : relation == YSK_RELATION_PARALLEL ? ZMR3_PARALLEL
                         : relation == YSK_RELATION_TANGENT  ? ZMR3_TANGENT
                                                             : ZMR3_PERPENDICULAR;
        ok = Tie(type, ends[0], ends[1]);
        break;
    }
    case YSK_RELATION_SYMMETRIC:
        ok = Supported(ZMR3_SYMMETRIC, ends, 3);
        if (ok)
            Bond(ZMR3_SYMMETRIC, ends, 3, 0.0, true);
        break;
    case YSK_RELATION_SIMILAR: {
        const int type = Read(ends[0].node).type;
        if (type == ZMR3_G_CONE)
            ok = Tie(ZMR3_EQUAL_HALF_ANGLE, ends[0], ends[1]);
        else
            ok = Tie(ZMR3_EQUAL_RADIUS, ends[0], ends[1]) &&
                 (type != ZMR3_G_TORUS || Tie(ZMR3_EQUAL_RADIUS, ends[0], ends[1], ZMR3_MINOR_RADIUS));
        break;
    }
    case YSK_RELATION_COPLAXIS: {
        // The axis and its partner lie on the reference plane; a reference line gives the
        // plane through it and the axis, as construction geometry that moves with them.
        const Geom axis = Read(ends[0].node), ref = Read(ends[2].node);
        End plane = ends[2];
        if (ref.type == ZMR3_G_LINE) {
            Vec3 n = ref.d.cross(axis.d);
            if (n.norm() < 1e-12)
                n = ref.d.cross(axis.p - ref.p);
            if (n.norm() < 1e-12)
                return YSK_RESULT_UNSUPPORTED;
            plane = End{Construction(ZMR3_G_PLANE, ref.p, n, false, nullptr), nullptr, 0};
            ok = OnPlane(ends[2], plane);
        } else {
            ok = ref.type == ZMR3_G_PLANE;
        }
        ok = ok && OnPlane(ends[0], plane) && OnPlane(ends[1], plane);
        break;
    }
    default:
        break;
    }
    return ok ? YSK_RESULT_OK : YSK_RESULT_UNSUPPORTED;
}

YSK_autocon_result AutoConstrainer::AddBonds(const YSK_dnode_data_s* relationships, int relationshipCount,
                                             const YSK_dnode_data_s* bonds, int bondCount)
{
    if (m_engine == nullptr)
        return YSK_RESULT_NO_SYSTEM;
    if (relationshipCount < 0 || bondCount < 0 || (relationshipCount > 0 && relationships == nullptr) ||
        (bondCount > 0 && bonds == nullptr))
        return YSK_RESULT_BAD_ARGUMENT;
    // All or nothing: what this call made goes again when one record is refused.
    const size_t before = m_owned.size();
    YSK_autocon_result result = YSK_RESULT_OK;
    for (int i = 0; i < bondCount && result == YSK_RESULT_OK; ++i)
        result = AddBond(bonds[i]);
    for (int i = 0; i < relationshipCount && result == YSK_RESULT_OK; ++i)
        result = AddRelationship(relationships[i]);
    if (result != YSK_RESULT_OK)
        TakeBack(before);
    return result;
}

void AutoConstrainer::Describe(NodeRecord* node, void* instance, int entity, YSK_dimension_end_s& end) const
{
    end = YSK_dimension_end_s{};
    end.node = Handle<g_node>(node);
    if (OwnedByManager(node) && O(node->app)->geometry && O(node->app)->shape >= 0) {
        const OwnedNode& g = *O(node->app);
        end.flag = 1;
        end.kind = YSK_END_CONSTRUCTION;
        end.shape = g.shape;
        Put(end.location, g.geom.p);
        Put(end.direction, g.geom.d);
        end.radius = g.geom.r1;
        return;
    }
    end.application = node->app;
    end.instance = instance;
    end.entity = entity;
    if (entity == 0)
        if (auto f = Entry<YSK_entity_of_geometry_fn>(YSK_FR_ENTITY_OF_GEOMETRY))
            f(&end.entity, end.node, node->app);
}

void AutoConstrainer::Adopt(NodeRecord* node, void* application)
{
    if (application == nullptr || node == nullptr || !m_engine->Live(node))
        return;
    if (node->IsGNode())
        m_system->set_application_pointer(Handle<g_node>(node), application);
    else if (node->kind == NodeKind::Radius)
        m_system->set_application_pointer(Handle<r_node>(node), application);
    else
        m_system->set_application_pointer(Handle<d_node>(node), application);
}

void AutoConstrainer::ReportBond(OwnedNode& bond, void* client)
{
    bond.reported = true;
    void* made = nullptr;
    if (bond.endCount == 1) {
        auto f = Entry<YSK_new_single_end_bond_fn>(YSK_FR_NEW_SINGLE_END_BOND);
        if (f == nullptr)
            return;
        YSK_single_end_bond_s record;
        Head(bond, record);
        Describe(bond.ends[0], bond.endInstance[0], bond.endEntity[0], record.end);
        record.end.half_space = bond.halfSpace[0];
        const bool construction = record.end.kind == YSK_END_CONSTRUCTION;
        void* geometry = nullptr;
        f(&record, client, &made, &geometry);
        if (construction)
            Adopt(bond.ends[0], geometry);
        Adopt(bond.node, made);
        return;
    }
    auto f = Entry<YSK_new_bond_fn>(YSK_FR_NEW_BOND);
    if (f == nullptr)
        return;
    YSK_dnode_data_s record;
    Head(bond, record);
    NodeRecord* ends[3] = {bond.ends[0], bond.ends[1], bond.endCount == 3 ? bond.ends[2] : bond.anglePlane};
    bool construction[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
        if (ends[i] == nullptr)
            continue;
        Describe(ends[i], i < bond.endCount ? bond.endInstance[i] : nullptr, i < bond.endCount ? bond.endEntity[i] : 0,
                 record.ends[i]);
        record.ends[i].half_space = bond.halfSpace[i];
        construction[i] = record.ends[i].kind == YSK_END_CONSTRUCTION;
    }
    void* geometry[3] = {nullptr, nullptr, nullptr};
    f(&record, client, &made, &geometry[0], &geometry[1], &geometry[2]);
    for (int i = 0; i < 3; ++i)
        if (construction[i])
            Adopt(ends[i], geometry[i]);
    Adopt(bond.node, made);
}

// The application's bond record has no word for a minor radius, so an equal-radius bond on
// minor radii stays the manager's, as rule constraints do.
bool AutoConstrainer::HandedOver(const OwnedNode& bond)
{
    return !bond.rule && bond.radiusKind[0] == ZMR3_MAJOR_RADIUS && bond.radiusKind[1] == ZMR3_MAJOR_RADIUS;
}

YSK_autocon_result AutoConstrainer::GetBonds(void* client)
{
    if (m_engine == nullptr)
        return YSK_RESULT_NO_SYSTEM;
    // Copied: a callback may ask the manager for more.
    const std::vector<OwnedNode*> changes = m_changes;
    for (OwnedNode* bond : changes)
        if (bond->node != nullptr && !bond->reported && HandedOver(*bond))
            ReportBond(*bond, client);
    if (auto f = Entry<YSK_event_fn>(YSK_FR_EVENT))
        f(YSK_EVENT_BONDS_REPORTED, client);
    return YSK_RESULT_OK;
}

// ---- Desired change ------------------------------------------------------------------------

bool AutoConstrainer::IsSet(const NodeRecord* node) const
{
    if (node->kind != NodeKind::Geometry)
        return node->kind == NodeKind::Feature;
    auto typeOf = reinterpret_cast<ZMR3_int_of_node_fn>(m_engine->TableOf(node).entries[ZMR3_FR_GEOM_TYPE]);
    return typeOf != nullptr && typeOf(node->app) == ZMR3_G_SET;
}

Vec3 AutoConstrainer::ReferencePoint(NodeRecord* node) const
{
    if (!IsSet(node))
        return node->kind == NodeKind::Geometry ? Read(node).p : Vec3(Vec3::Zero());
    // A set: the mean of its members' locations, the members as the application lists them.
    Vec3 sum = Vec3::Zero();
    int n = 0;
    auto members = Entry<YSK_set_geometries_fn>(YSK_FR_SET_GEOMETRIES);
    auto find = Entry<YSK_find_g_node_fn>(YSK_FR_FIND_G_NODE);
    if (members != nullptr && find != nullptr) {
        const int count = members(nullptr, nullptr, node->app);
        std::vector<int> tags(static_cast<size_t>(std::max(count, 0)));
        std::vector<void*> instances(tags.size());
        const int got = count > 0 ? members(tags.data(), instances.data(), node->app) : 0;
        for (int i = 0; i < std::min(got, count); ++i)
            if (NodeRecord* g = m_engine->LiveGNode(find(tags[static_cast<size_t>(i)], instances[static_cast<size_t>(i)]))) {
                sum += Read(g).p;
                ++n;
            }
    }
    if (n == 0)
        for (const auto& other : m_engine->Nodes())
            if (other->alive && (other->set == node || other->feature == node) && !OwnedByManager(other.get())) {
                sum += Read(other.get()).p;
                ++n;
            }
    return n > 0 ? Vec3(sum / n) : Vec3(Vec3::Zero());
}

// A fixed plane across the normal and a plane of the moved node on it, tied by a non-rigid
// distance the application drives. The moved node is a set, or a geometry on its own.
bool AutoConstrainer::AnimationDistance(NodeRecord* moved, const Vec3& point, const Vec3& normal)
{
    const bool isSet = IsSet(moved);
    End fixedEnd, movedEnd;
    fixedEnd.node = Construction(ZMR3_G_PLANE, point, normal, true, nullptr);
    movedEnd.node = isSet ? Construction(ZMR3_G_PLANE, point, normal, false, moved) : moved;
    const End ends[2] = {movedEnd, fixedEnd};
    if (!Supported(ZMR3_DISTANCE, ends, 2))
        return false;
    OwnedNode* bond = Bond(ZMR3_DISTANCE, ends, 2, Measure(ZMR3_DISTANCE, ends, 2), false);
    bond->halfSpace[1] = ZMR3_HALF_SPACE_POSITIVE;
    return true;
}

YSK_autocon_result AutoConstrainer::AddDesired(Change kind, g_node* handle, const Vec3& point, const Vec3& direction)
{
    if (m_engine == nullptr)
        return YSK_RESULT_NO_SYSTEM;
    NodeRecord* node = m_engine->LiveGNode(handle);
    if (node == nullptr || !point.allFinite() || !direction.allFinite() ||
        (kind != Change::General && direction.norm() < 1e-300))
        return YSK_RESULT_BAD_ARGUMENT;
    const Vec3 dir = kind == Change::General ? Vec3(Vec3::Zero()) : Vec3(direction.normalized());
    const size_t before = m_owned.size();
    bool ok = true;
    if (kind == Change::Translate) {
        ok = AnimationDistance(node, ReferencePoint(node), dir);
    } else if (kind == Change::PlanarTranslate) {
        const Vec3 u = dir.unitOrthogonal(), v = dir.cross(u);
        const Vec3 c = ReferencePoint(node);
        ok = AnimationDistance(node, c, u) && AnimationDistance(node, c, v);
    } else if (kind == Change::Rotate) {
        // The moved set turns about the axis: a line of the set stays on the fixed axis, and
        // a plane of the set through the axis keeps a non-rigid angle to a fixed one,
        // measured about the axis.
        const bool isSet = IsSet(node);
        End axisFixed, axisMoved, planeFixed, planeMoved, across;
        Vec3 w = dir.unitOrthogonal();
        // A loose plane is its own moved plane: the fixed one shares its turn about the axis,
        // so the angle starts at 0 as it does for a set.
        if (!isSet && node->kind == NodeKind::Geometry) {
            const Geom g = Read(node);
            const Vec3 turned = g.d - g.d.dot(dir) * dir;
            if (g.type == ZMR3_G_PLANE && turned.norm() > 1e-9)
                w = turned.normalized();
        }
        axisFixed.node = Construction(ZMR3_G_LINE, point, dir, true, nullptr);
        planeFixed.node = Construction(ZMR3_G_PLANE, point, w, true, nullptr);
        across.node = Construction(ZMR3_G_PLANE, point, dir, true, nullptr);
        if (isSet) {
            axisMoved.node = Construction(ZMR3_G_LINE, point, dir, false, node);
            planeMoved.node = Construction(ZMR3_G_PLANE, point, w, false, node);
            const End onAxis[2] = {axisMoved, axisFixed};
            ok = Supported(ZMR3_COINCIDENT, onAxis, 2);
            if (ok)
                Bond(ZMR3_COINCIDENT, onAxis, 2, 0.0, true);
        } else {
            planeMoved.node = node;
        }
        // Measured from the fixed plane to the moved one, so the value is the turn about the
        // axis direction.
        const End angle[2] = {planeFixed, planeMoved};
        ok = ok && Supported(ZMR3_ANGLE, angle, 2, across.node);
        if (ok) {
            OwnedNode* bond = Bond(ZMR3_ANGLE, angle, 2, 0.0, false);
            bond->anglePlane = across.node;
        }
    }
    if (!ok) {
        TakeBack(before);
        return YSK_RESULT_UNSUPPORTED;
    }
    m_change = kind;
    m_moved = node;
    m_point = point;
    m_direction = dir;
    return YSK_RESULT_OK;
}

// ---- Rules ---------------------------------------------------------------------------------

bool AutoConstrainer::Held(const NodeRecord* node) const
{
    return node->fixed || (node->set != nullptr && node->set->fixed);
}

// Solves once with the rule's nodes in, trying the desired change when there is one; the
// rule stands when its nodes hold and the change is still reached.
bool AutoConstrainer::Trial(const std::vector<OwnedNode*>& made)
{
    std::vector<Engine::DragRequest> drags;
    if (m_moved != nullptr && m_engine->Live(m_moved) && m_change != Change::None && m_change != Change::General) {
        const double step = 1e-4 * m_engine->Size();
        Engine::DragRequest r;
        r.node = m_moved;
        if (m_change == Change::Rotate) {
            r.kind = ZMR3_DT_GENERAL;
            r.motion.R = Eigen::AngleAxisd(1e-2, m_direction).toRotationMatrix();
            r.motion.t = m_point - r.motion.R * m_point;
        } else {
            r.kind = ZMR3_DT_TRANSLATION;
            Vec3 along = m_direction;
            if (m_change == Change::PlanarTranslate) {
                const Vec3 u = m_direction.unitOrthogonal();
                along = (u + m_direction.cross(u)).normalized();
            }
            r.motion.t = step * along;
        }
        drags.push_back(r);
    }
    int dragResult = ZMR3_DRAG_OK;
    m_engine->Evaluate(drags, {}, true, 0, drags.empty() ? nullptr : &dragResult);
    bool ok = dragResult == ZMR3_DRAG_OK;
    for (OwnedNode* n : made)
        if (!n->geometry && Failing(n->node->status))
            ok = false;
    m_engine->Undo();
    return ok;
}

YSK_autodefine_rule_return AutoConstrainer::ApplyRule(NodeRecord* node, int code, const Vec3& direction1,
                                                      const Vec3& direction2)
{
    const Geom g = Read(node);
    if (!IsUsable(g))
        return YSK_RULE_NO_ANSWER;
    const bool directed = HasDirection(g.type);
    const size_t before = m_owned.size();
    const End self{node, nullptr, 0};
    auto tie = [&](int type, NodeRecord* other) { return Tie(type, self, End{other, nullptr, 0}); };
    bool made = false;
    switch (code) {
    case YSK_RULE_DO_NOT_MOVE:
        if (Held(node))
            return YSK_RULE_ALREADY_HELD;
        {
            NodeRecord* copy = CopyOf(g);
            made = tie(ZMR3_COINCIDENT, copy) || tie(ZMR3_CONCENTRIC, copy);
        }
        break;
    case YSK_RULE_DO_NOT_ROTATE:
        if (Held(node) || !directed)
            return YSK_RULE_ALREADY_HELD;
        made = tie(ZMR3_PARALLEL, CopyOf(g));
        break;
    case YSK_RULE_RELATIVE_ANGLE: {
        if (!directed || direction1.norm() < 1e-300)
            return YSK_RULE_NO_ANSWER;
        // A plane keeps its normal's angle to the direction; others their own direction's.
        const Vec3 w = direction1.normalized();
        NodeRecord* reference = Construction(g.type == ZMR3_G_PLANE ? ZMR3_G_PLANE : ZMR3_G_LINE, g.p, w, true, nullptr);
        const End ends[2] = {self, End{reference, nullptr, 0}};
        made = Supported(ZMR3_ANGLE, ends, 2);
        if (made)
            Bond(ZMR3_ANGLE, ends, 2, std::atan2(g.d.cross(w).norm(), g.d.dot(w)), true);
        break;
    }
    case YSK_RULE_TRANSLATE_IN_DIR: {
        if (direction2.norm() < 1e-300)
            return YSK_RULE_NO_ANSWER;
        // What moves only along w: a plane not at all when w lies in it; an axis within the
        // plane it spans with w; a centre along the line through it.
        const Vec3 w = direction2.normalized();
        const double turn = m_engine->AngularResolution();
        if (g.type == ZMR3_G_PLANE) {
            made = std::abs(g.d.dot(w)) <= turn ? tie(ZMR3_COINCIDENT, CopyOf(g)) : tie(ZMR3_PARALLEL, CopyOf(g));
        } else if (IsAxialOnly(g.type)) {
            const Vec3 n = g.d.cross(w);
            if (n.norm() <= turn)
                made = tie(ZMR3_CONCENTRIC, Construction(ZMR3_G_LINE, g.p, g.d, true, nullptr));
            else
                made = tie(ZMR3_PARALLEL, CopyOf(g)) &&
                       OnPlane(self, End{Construction(ZMR3_G_PLANE, g.p, n, true, nullptr), nullptr, 0});
        } else if (!directed || g.d.cross(w).norm() <= turn) {
            made = tie(ZMR3_CONCENTRIC, Construction(ZMR3_G_LINE, g.p, w, true, nullptr));
        }
        break;
    }
    case YSK_RULE_MINIMISE_TRANSLATION:
        return YSK_RULE_ALREADY_HELD;
    case YSK_RULE_KEEP_RADIUS:
    case YSK_RULE_KEEP_MINOR_RADIUS:
    case YSK_RULE_KEEP_HALF_ANGLE: {
        const int type = code == YSK_RULE_KEEP_HALF_ANGLE    ? ZMR3_HALF_ANGLE
                         : code == YSK_RULE_KEEP_MINOR_RADIUS ? ZMR3_MINOR_RADIUS
                         : g.type == ZMR3_G_TORUS            ? ZMR3_MAJOR_RADIUS
                                                             : ZMR3_RADIUS;
        const bool fits = code == YSK_RULE_KEEP_HALF_ANGLE    ? g.type == ZMR3_G_CONE
                          : code == YSK_RULE_KEEP_MINOR_RADIUS ? g.type == ZMR3_G_TORUS
                                                               : ShapeCount(g.type) > 0 && g.type != ZMR3_G_CONE;
        if (!fits)
            return YSK_RULE_NO_ANSWER;
        // A geometry in a set or fixed keeps its shape already.
        if (Held(node) || node->set != nullptr)
            return YSK_RULE_ALREADY_HELD;
        made = Supported(type, &self, 1);
        if (made)
            Bond(type, &self, 1, type == ZMR3_HALF_ANGLE ? g.half : type == ZMR3_MINOR_RADIUS ? g.r2 : g.r1, true);
        break;
    }
    default:
        return YSK_RULE_NO_ANSWER;
    }
    std::vector<OwnedNode*> nodes;
    for (size_t i = before; i < m_owned.size(); ++i) {
        m_owned[i].rule = true;
        nodes.push_back(&m_owned[i]);
    }
    if (made && Trial(nodes)) {
        for (OwnedNode* n : nodes)
            m_changes.erase(std::remove(m_changes.begin(), m_changes.end(), n), m_changes.end());
        return YSK_RULE_APPLIED;
    }
    TakeBack(before);
    return YSK_RULE_NO_ANSWER;
}

YSK_autocon_result AutoConstrainer::Autodefine(YSK_autodefine_rule* rules, int count)
{
    if (m_engine == nullptr)
        return YSK_RESULT_NO_SYSTEM;
    if (count < 0 || (count > 0 && rules == nullptr))
        return YSK_RESULT_BAD_ARGUMENT;
    for (int i = 0; i < count; ++i) {
        YSK_autodefine_rule& rule = rules[i];
        NodeRecord* node = rule.node_given == 1 ? m_engine->LiveGNode(rule.node) : nullptr;
        YSK_autodefine_rule_return answer = YSK_RULE_NO_ANSWER;
        if (node != nullptr && rule.code != nullptr)
            answer = ApplyRule(node, *rule.code, Vec3(rule.direction1[0], rule.direction1[1], rule.direction1[2]),
                               Vec3(rule.direction2[0], rule.direction2[1], rule.direction2[2]));
        if (rule.answer != nullptr)
            *rule.answer = answer;
    }
    return YSK_RESULT_OK;
}

// ---- Finding ---------------------------------------------------------------------------------

int AutoConstrainer::SetOption(int relation, int from, int to, int offered)
{
    if (relation < 0 || relation >= YSK_OPTION_RELATION_COUNT || from < 0 || from >= YSK_OPTION_GEOM_COUNT || to < 0 ||
        to >= YSK_OPTION_GEOM_COUNT)
        return YSK_RESULT_BAD_ARGUMENT;
    m_offered[relation][from][to] = offered != 0;
    return YSK_RESULT_OK;
}

YSK_autocon_result AutoConstrainer::Find(double linear, double angular, const YSK_fr_option_s* options,
                                         const YSK_pointer_s* from, int fromCount, const YSK_pointer_s* to, int toCount,
                                         const YSK_pointer_s* third, int thirdCount, FindCounts& counts)
{
    counts = FindCounts{};
    auto badList = [](const YSK_pointer_s* list, int n) { return n < 0 || (n > 0 && list == nullptr); };
    if (options == nullptr || badList(from, fromCount) || badList(to, toCount) || badList(third, thirdCount) ||
        badList(options->coplaxis, options->coplaxis_count) ||
        badList(options->symmetry_planes, options->symmetry_plane_count) || !(linear > 0.0) || !(angular > 0.0))
        return YSK_RESULT_BAD_ARGUMENT;

    // Each Instance's placement is asked once per find.
    std::map<void*, Rigid> placements;
    auto transform = Entry<YSK_instance_transform_fn>(YSK_FR_INSTANCE_TRANSFORM);
    InstancePlacement placement = [&](const YSK_pointer_s& entry) {
        if (entry.instance == nullptr || transform == nullptr)
            return Rigid();
        auto it = placements.find(entry.instance);
        if (it != placements.end())
            return it->second;
        double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        transform(entry, m);
        Rigid r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                r.R(i, j) = m[i][j];
            r.t(i) = m[i][3];
        }
        placements[entry.instance] = r;
        return r;
    };

    FindSettings settings;
    settings.linear = linear;
    settings.angular = angular;
    settings.pass = options->pass;
    settings.symmetryMatchExact = options->symmetry_match_exact != 0;
    settings.similarMatchAxes = options->similar_match_axes != 0;
    settings.offered = m_offered;
    std::vector<FindItem> fromItems, toItems, thirdItems;
    ItemReader reader(settings, placement);
    const bool read = reader.Read(options->symmetry_planes, options->symmetry_plane_count, settings.symmetryPlanes) &&
                      reader.Read(options->coplaxis, options->coplaxis_count, settings.coplaxis) &&
                      reader.Read(from, fromCount, fromItems) && reader.Read(to, toCount, toItems) &&
                      reader.Read(third, thirdCount, thirdItems);
    if (!read)
        return YSK_RESULT_KERNEL_ERROR;
    settings.symmetryPlanes.erase(std::remove_if(settings.symmetryPlanes.begin(), settings.symmetryPlanes.end(),
                                                 [](const FindItem& i) { return i.shape != Shape::Plane; }),
                                  settings.symmetryPlanes.end());
    settings.coplaxis.erase(std::remove_if(settings.coplaxis.begin(), settings.coplaxis.end(),
                                           [](const FindItem& i) { return i.shape != Shape::Plane && i.shape != Shape::Line; }),
                            settings.coplaxis.end());

    auto found = Entry<YSK_relationship_found_fn>(YSK_FR_RELATIONSHIP_FOUND);
    auto report = [&](const FoundRelationship& r) {
        if (found == nullptr)
            return;
        YSK_dnode_data_s record;
        record.relation = r.relation;
        const FindItem* items[3] = {r.from, r.to, r.third};
        for (int i = 0; i < 3; ++i)
            if (items[i] != nullptr) {
                record.ends[i].instance = items[i]->instance;
                record.ends[i].entity = items[i]->entity;
            }
        found(&record);
    };
    FindRelationships(settings, fromItems, toItems, thirdItems, PairChoice::Binned, report, counts);
    return YSK_RESULT_OK;
}

}  // namespace tessik
