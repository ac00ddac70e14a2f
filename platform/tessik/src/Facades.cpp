// The public classes: each call checks its handles, journals itself and hands over to the engine.
#include "Engine.h"
#include "TestHooks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using tessik::CallRecord;
using tessik::Engine;
using tessik::Handle;
using tessik::NodeKind;
using tessik::NodeRecord;

namespace {

int IdOf(const NodeRecord* node) { return node != nullptr ? node->id : 0; }

template <class H>
H* AddNode(Engine& e, CallRecord& call, NodeKind kind, void* app)
{
    NodeRecord* node = e.NewNode(kind, app);
    call.Answer(node->id);
    return Handle<H>(node);
}

template <class H>
int Listing(Engine& e, int count, H** nodes, void** apps, bool (*take)(const NodeRecord&))
{
    int n = 0;
    for (auto& owned : e.Nodes()) {
        const NodeRecord& node = *owned;
        if (!node.alive || !take(node))
            continue;
        if (count > 0 && n < count) {
            if (nodes != nullptr)
                nodes[n] = Handle<H>(owned.get());
            if (apps != nullptr)
                apps[n] = node.app;
        }
        ++n;
    }
    return count > 0 ? std::min(n, count) : n;
}

}  // namespace

// ---- ZMR3_dimension_system ------------------------------------------------------------

ZMR3_dimension_system::ZMR3_dimension_system(void* application, double resolution, double size)
    : m_engine(std::make_unique<tessik::Engine>(application, resolution, size))
{
}

ZMR3_dimension_system::~ZMR3_dimension_system() = default;

void* ZMR3_dimension_system::application() const { return m_engine->Application(); }

tessik::Engine& ZMR3_dimension_system::engine() { return *m_engine; }

g_node* ZMR3_dimension_system::add_g(void* app)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::add_g");
    return AddNode<g_node>(*m_engine, call, NodeKind::Geometry, app);
}

d_node* ZMR3_dimension_system::add_d(void* app, g_node* a, g_node* b, g_node* c)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::add_d");
    NodeRecord* ra = m_engine->LiveGNode(a);
    NodeRecord* rb = m_engine->LiveGNode(b);
    NodeRecord* rc = m_engine->LiveGNode(c);
    call.Arg(IdOf(ra)).Arg(IdOf(rb)).Arg(IdOf(rc));
    if (ra == nullptr || rb == nullptr || (c != nullptr && rc == nullptr))
        return call.Answer(0), nullptr;
    NodeRecord* d = m_engine->NewNode(NodeKind::Dimension, app);
    d->geoms[0] = ra;
    d->geoms[1] = rb;
    d->geoms[2] = rc;
    d->geomCount = rc != nullptr ? 3 : 2;
    m_engine->Refer(d);
    call.Answer(d->id);
    return Handle<d_node>(d);
}

r_node* ZMR3_dimension_system::add_r(void* app, g_node* g)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::add_r");
    NodeRecord* rg = m_engine->LiveGNode(g);
    call.Arg(IdOf(rg));
    if (rg == nullptr)
        return call.Answer(0), nullptr;
    NodeRecord* r = m_engine->NewNode(NodeKind::Radius, app);
    r->geoms[0] = rg;
    r->geomCount = 1;
    m_engine->Refer(r);
    call.Answer(r->id);
    return Handle<r_node>(r);
}

namespace {

v_node* AddValue(Engine& e, CallRecord& call, void* app, NodeRecord* target)
{
    call.Arg(IdOf(target));
    if (target == nullptr || target->valueNode != nullptr)
        return call.Answer(0), nullptr;
    NodeRecord* v = e.NewNode(NodeKind::Value, app);
    v->measured = target;
    target->valueNode = v;
    call.Answer(v->id);
    return Handle<v_node>(v);
}

}  // namespace

v_node* ZMR3_dimension_system::add_v(void* app, d_node* d)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::add_v");
    NodeRecord* rd = m_engine->Live(d);
    return AddValue(*m_engine, call, app, rd != nullptr && rd->kind == NodeKind::Dimension ? rd : nullptr);
}

v_node* ZMR3_dimension_system::add_v(void* app, r_node* r)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::add_v");
    NodeRecord* rr = m_engine->Live(r);
    return AddValue(*m_engine, call, app, rr != nullptr && rr->kind == NodeKind::Radius ? rr : nullptr);
}

namespace {

int EraseCall(Engine& e, const void* handle)
{
    CallRecord call(e.GetJournal(), "ZMR3::erase");
    NodeRecord* node = e.Live(handle);
    call.Arg(IdOf(node));
    return call.Answer(e.Erase(node));
}

}  // namespace

int ZMR3_dimension_system::erase(g_node* node) { return EraseCall(*m_engine, node); }
int ZMR3_dimension_system::erase(d_node* node) { return EraseCall(*m_engine, node); }
int ZMR3_dimension_system::erase(r_node* node) { return EraseCall(*m_engine, node); }
int ZMR3_dimension_system::erase(v_node* node) { return EraseCall(*m_engine, node); }

int ZMR3_dimension_system::fix(g_node* node)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::fix");
    NodeRecord* g = m_engine->LiveGNode(node);
    call.Arg(IdOf(g));
    return call.Answer(m_engine->Fix(g));
}

int ZMR3_dimension_system::move_to_set(g_node* g, g_node* set)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::move_to_set");
    NodeRecord* rg = m_engine->LiveGNode(g);
    NodeRecord* rs = m_engine->LiveGNode(set);
    call.Arg(IdOf(rg)).Arg(IdOf(rs));
    if (set != nullptr && rs == nullptr)
        return call.Answer(0);
    return call.Answer(m_engine->MoveToSet(rg, rs));
}

namespace {

int SetApp(Engine& e, const void* handle, void* app)
{
    CallRecord call(e.GetJournal(), "ZMR3::set_application_pointer");
    NodeRecord* node = e.Live(handle);
    call.Arg(IdOf(node));
    if (node == nullptr)
        return call.Answer(0);
    node->app = app;
    // The application answers for the node from now on.
    node->answers = nullptr;
    return call.Answer(1);
}

void* AppOf(const Engine& e, const void* handle)
{
    const NodeRecord* node = e.Live(handle);
    return node != nullptr ? node->app : nullptr;
}

}  // namespace

int ZMR3_dimension_system::set_application_pointer(g_node* node, void* app) { return SetApp(*m_engine, node, app); }
int ZMR3_dimension_system::set_application_pointer(d_node* node, void* app) { return SetApp(*m_engine, node, app); }
int ZMR3_dimension_system::set_application_pointer(r_node* node, void* app) { return SetApp(*m_engine, node, app); }
void* ZMR3_dimension_system::application_pointer(const g_node* node) const { return AppOf(*m_engine, node); }
void* ZMR3_dimension_system::application_pointer(const d_node* node) const { return AppOf(*m_engine, node); }
void* ZMR3_dimension_system::application_pointer(const r_node* node) const { return AppOf(*m_engine, node); }

ZMR3_g_node_status ZMR3_dimension_system::status(g_node* node)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::status");
    NodeRecord* g = m_engine->LiveGNode(node);
    call.Arg(IdOf(g));
    if (g == nullptr)
        return call.Answer(ZMR3_G_STATUS_SOLVED);
    // The fixed state shows at once, so that a caller can test it before toggling.
    const int s = g->fixed && g->status <= ZMR3_G_STATUS_FIXED ? ZMR3_G_STATUS_FIXED
                  : !g->fixed && g->status == ZMR3_G_STATUS_FIXED ? ZMR3_G_STATUS_SOLVED
                                                                  : g->status;
    return call.Answer(static_cast<ZMR3_g_node_status>(s));
}

namespace {

ZMR3_d_node_status DStatus(Engine& e, const void* handle, NodeKind kind)
{
    CallRecord call(e.GetJournal(), "ZMR3::status");
    NodeRecord* d = e.Live(handle);
    if (d != nullptr && !(d->kind == kind || (kind == NodeKind::Dimension && d->kind == NodeKind::Relationship)))
        d = nullptr;
    call.Arg(IdOf(d));
    return call.Answer(static_cast<ZMR3_d_node_status>(d != nullptr ? d->status : 0));
}

}  // namespace

ZMR3_d_node_status ZMR3_dimension_system::status(d_node* node) { return DStatus(*m_engine, node, NodeKind::Dimension); }
ZMR3_d_node_status ZMR3_dimension_system::status(r_node* node) { return DStatus(*m_engine, node, NodeKind::Radius); }

double ZMR3_dimension_system::value(v_node* node)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::value");
    NodeRecord* v = m_engine->Live(node);
    call.Arg(IdOf(v));
    return call.Answer(v != nullptr && v->kind == NodeKind::Value && v->hasValue ? v->measuredValue : 0.0);
}

int ZMR3_dimension_system::transform(g_node* node, double matrix[4][4], double* first, double* second)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::transform");
    NodeRecord* g = m_engine->LiveGNode(node);
    call.Arg(IdOf(g));
    double forced[4][4];
    if (g != nullptr && tessik::ForcedGChange(g->app, forced)) {
        if (matrix != nullptr)
            std::memcpy(matrix, forced, sizeof forced);
        return call.Answer(ZMR3_CHANGE_RIGID);
    }
    if (g == nullptr || g->changeMask == 0)
        return call.Answer(0);
    if ((g->changeMask & ZMR3_CHANGE_RIGID) && matrix != nullptr)
        std::memcpy(matrix, g->change, sizeof g->change);
    if (first != nullptr)
        *first = g->firstValue;
    if (second != nullptr)
        *second = g->secondValue;
    return call.Answer(g->changeMask);
}

int ZMR3_dimension_system::get_s_of_g(g_node* node, g_node** set, void** setApp)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::get_s_of_g");
    NodeRecord* g = m_engine->LiveGNode(node);
    call.Arg(IdOf(g));
    if (g == nullptr || g->set == nullptr || !g->set->alive)
        return call.Answer(0);
    if (set != nullptr)
        *set = Handle<g_node>(g->set);
    if (setApp != nullptr)
        *setApp = g->set->app;
    return call.Answer(1);
}

int ZMR3_dimension_system::get_d_of_g(g_node* node, int count, d_node** nodes, void** apps)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::get_d_of_g");
    NodeRecord* g = m_engine->LiveGNode(node);
    call.Arg(IdOf(g)).Arg(count);
    if (g == nullptr)
        return call.Answer(0);
    int n = 0;
    for (auto& owned : m_engine->Nodes()) {
        NodeRecord& d = *owned;
        if (!d.alive || !d.IsDNode())
            continue;
        if (d.geoms[0] != g && d.geoms[1] != g && d.geoms[2] != g)
            continue;
        if (count > 0 && n < count) {
            if (nodes != nullptr)
                nodes[n] = Handle<d_node>(owned.get());
            if (apps != nullptr)
                apps[n] = d.app;
        }
        ++n;
    }
    return call.Answer(count > 0 ? std::min(n, count) : n);
}

int ZMR3_dimension_system::list_g_nodes(int count, g_node** nodes, void** apps)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::list_g_nodes");
    call.Arg(count);
    return call.Answer(Listing(*m_engine, count, nodes, apps, [](const NodeRecord& n) { return n.IsGNode(); }));
}

int ZMR3_dimension_system::list_passive_g_nodes(int count, g_node** nodes, void** apps)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::list_passive_g_nodes");
    call.Arg(count);
    // Passive: a geometry that no dimension, set, feature or pattern uses.
    std::vector<const NodeRecord*> used;
    for (auto& owned : m_engine->Nodes()) {
        const NodeRecord& n = *owned;
        if (!n.alive)
            continue;
        for (int i = 0; i < n.geomCount; ++i)
            used.push_back(n.geoms[i]);
        used.push_back(n.reference);
        used.push_back(n.set);
        used.push_back(n.feature);
        used.push_back(n.original);
        if (n.set != nullptr || n.feature != nullptr)
            used.push_back(&n);
    }
    std::sort(used.begin(), used.end());
    int total = 0;
    for (auto& owned : m_engine->Nodes()) {
        const NodeRecord& n = *owned;
        if (!n.alive || n.kind != NodeKind::Geometry || std::binary_search(used.begin(), used.end(), &n))
            continue;
        if (count > 0 && total < count) {
            if (nodes != nullptr)
                nodes[total] = Handle<g_node>(owned.get());
            if (apps != nullptr)
                apps[total] = n.app;
        }
        ++total;
    }
    return call.Answer(count > 0 ? std::min(total, count) : total);
}

int ZMR3_dimension_system::list_d_nodes(int count, d_node** nodes, void** apps)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::list_d_nodes");
    call.Arg(count);
    return call.Answer(Listing(*m_engine, count, nodes, apps, [](const NodeRecord& n) { return n.IsDNode(); }));
}

int ZMR3_dimension_system::list_r_nodes(int count, r_node** nodes, void** apps)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::list_r_nodes");
    call.Arg(count);
    return call.Answer(
        Listing(*m_engine, count, nodes, apps, [](const NodeRecord& n) { return n.kind == NodeKind::Radius; }));
}

ZMR3_solve_type ZMR3_dimension_system::undo_evaluation(ZMR3_undo_mode mode)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::undo_evaluation");
    call.Arg(static_cast<int>(mode));
    return call.Answer(m_engine->Undo());
}

ZMR3_solve_type ZMR3_dimension_system::re_evaluate(int maxIterations, ZMR3_evaluate_mode mode)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::re_evaluate");
    call.Arg(maxIterations).Arg(static_cast<int>(mode));
    return call.Answer(m_engine->Evaluate({}, {}, true, maxIterations, nullptr));
}

namespace {

// Hands the drag result over when the call returns, whatever way it returns.
class DragResultOut {
public:
    DragResultOut(ZMR3_drag_result* out, const int& value) : m_out(out), m_value(value) {}
    ~DragResultOut()
    {
        if (m_out != nullptr)
            *m_out = static_cast<ZMR3_drag_result>(m_value);
    }
    DragResultOut(const DragResultOut&) = delete;
    DragResultOut& operator=(const DragResultOut&) = delete;

private:
    ZMR3_drag_result* m_out;
    const int& m_value;
};

bool ReadMatrix(const double (*m)[4], tessik::Rigid& out)
{
    if (m == nullptr)
        return false;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            out.R(i, j) = m[i][j];
        out.t[i] = m[i][3];
    }
    return out.R.allFinite() && out.t.allFinite() && (out.R * out.R.transpose() - tessik::Mat3::Identity()).norm() < 1e-9 &&
           out.R.determinant() > 0.0;
}

}  // namespace

ZMR3_solve_type ZMR3_dimension_system::dynamic_evaluate(int count, g_node** nodes, double matrix[4][4], ZMR3_drag_result* result,
                                                        ZMR3_drag_transformation kind, ZMR3_drag_mode mode,
                                                        ZMR3_drag_option option)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::dynamic_evaluate");
    call.Arg(count).Arg(static_cast<int>(kind)).Arg(static_cast<int>(mode)).Arg(static_cast<int>(option));
    int local = 0;
    int* out = &local;
    DragResultOut give(result, local);
    std::vector<Engine::DragRequest> drags;
    bool bad = count < 1 || nodes == nullptr || kind == ZMR3_DT_RADIUS ||
               (kind != ZMR3_DT_TRANSLATION && kind != ZMR3_DT_AXIAL_ROTATION && kind != ZMR3_DT_GENERAL);
    tessik::Rigid motion;
    bad = bad || !ReadMatrix(matrix, motion);
    if (!bad && kind == ZMR3_DT_TRANSLATION)
        motion.R = tessik::Mat3::Identity();
    // An axial rotation lists the axis after the dragged node; the matrix already turns about it.
    const int dragged = kind == ZMR3_DT_AXIAL_ROTATION ? std::min(count, 1) : count;
    for (int i = 0; !bad && i < dragged; ++i) {
        Engine::DragRequest r;
        r.node = m_engine->LiveGNode(nodes[i]);
        r.kind = kind;
        r.motion = motion;
        drags.push_back(r);
    }
    if (bad) {
        m_engine->Undo();
        *out = ZMR3_DRAG_BAD_INPUT;
        return call.Answer(ZMR3_NOT_SOLVED);
    }
    const ZMR3_solve_type solved = m_engine->Evaluate(drags, {}, option == ZMR3_DRAG_EXACT, 0, out);
    call.Arg(*out);
    return call.Answer(solved);
}

ZMR3_solve_type ZMR3_dimension_system::dynamic_evaluate(int count, g_node** nodes, int heldCount, g_node** held,
                                                        double (*matrices)[4][4], double* values, ZMR3_drag_result* result,
                                                        ZMR3_drag_transformation* kinds, ZMR3_drag_mode mode,
                                                        ZMR3_drag_option option)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::dynamic_evaluate");
    call.Arg(count).Arg(heldCount).Arg(static_cast<int>(mode)).Arg(static_cast<int>(option));
    int local = 0;
    int* out = &local;
    DragResultOut give(result, local);
    bool bad = count < 1 || nodes == nullptr || kinds == nullptr || heldCount < 0 || (heldCount > 0 && held == nullptr);
    std::vector<Engine::DragRequest> drags;
    for (int i = 0; !bad && i < count; ++i) {
        Engine::DragRequest r;
        r.node = m_engine->LiveGNode(nodes[i]);
        r.kind = kinds[i];
        if (r.kind == ZMR3_DT_RADIUS) {
            bad = values == nullptr || !std::isfinite(values[i]);
            if (!bad)
                r.radius = values[i];
        } else if (r.kind == ZMR3_DT_TRANSLATION || r.kind == ZMR3_DT_AXIAL_ROTATION || r.kind == ZMR3_DT_GENERAL) {
            bad = matrices == nullptr || !ReadMatrix(matrices[i], r.motion);
            if (r.kind == ZMR3_DT_TRANSLATION)
                r.motion.R = tessik::Mat3::Identity();
        } else {
            bad = true;
        }
        drags.push_back(r);
    }
    std::vector<NodeRecord*> keep;
    for (int i = 0; !bad && i < heldCount; ++i) {
        NodeRecord* node = m_engine->LiveGNode(held[i]);
        bad = node == nullptr;
        keep.push_back(node);
    }
    if (bad) {
        m_engine->Undo();
        *out = ZMR3_DRAG_BAD_INPUT;
        return call.Answer(ZMR3_NOT_SOLVED);
    }
    const ZMR3_solve_type solved = m_engine->Evaluate(drags, keep, option == ZMR3_DRAG_EXACT, 0, out);
    call.Arg(*out);
    return call.Answer(solved);
}

int ZMR3_dimension_system::enquire_frustum_functions(ZMR3_frustum_functions* table)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::enquire_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    *table = m_engine->ZmrTable();
    return call.Answer(0);
}

int ZMR3_dimension_system::register_frustum_functions(const ZMR3_frustum_functions* table)
{
    CallRecord call(m_engine->GetJournal(), "ZMR3::register_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    m_engine->ZmrTable() = *table;
    return call.Answer(0);
}

int ZMR3_dimension_system::journal_by_ptr(ZMR3_file* file, unsigned options, int digits)
{
    m_engine->GetJournal().Attach(file, options, digits);
    CallRecord call(m_engine->GetJournal(), "ZMR3::journal_by_ptr");
    call.Arg(options).Arg(digits);
    return call.Answer(0);
}

// ---- JUN_extended_dimension_system ------------------------------------------------------

JUN_extended_dimension_system::JUN_extended_dimension_system(tessik::Engine& engine) : m_engine(engine) {}

g_node* JUN_extended_dimension_system::add_pattern(void* app, g_node* reference, JUN_pattern_type type)
{
    CallRecord call(m_engine.GetJournal(), "JUN::add_pattern");
    NodeRecord* ref = m_engine.LiveGNode(reference);
    call.Arg(IdOf(ref)).Arg(static_cast<int>(type));
    if (ref == nullptr || ref->kind != NodeKind::Geometry)
        return call.Answer(0), nullptr;
    NodeRecord* p = m_engine.NewNode(NodeKind::Pattern, app);
    p->reference = ref;
    m_engine.Refer(p);
    p->patternType = type == JUN_PATTERN_ANGULAR ? JUN_PATTERN_ANGULAR : JUN_PATTERN_LINEAR;
    call.Answer(p->id);
    return Handle<g_node>(p);
}

g_node* JUN_extended_dimension_system::add_relative_transform(void* app)
{
    CallRecord call(m_engine.GetJournal(), "JUN::add_relative_transform");
    return AddNode<g_node>(m_engine, call, NodeKind::RelativeTransform, app);
}

int JUN_extended_dimension_system::enquire_pattern_value(g_node* pattern, double* value)
{
    CallRecord call(m_engine.GetJournal(), "JUN::enquire_pattern_value");
    NodeRecord* p = m_engine.LiveGNode(pattern);
    call.Arg(IdOf(p));
    const bool known = p != nullptr && p->kind == NodeKind::Pattern && p->hasValue;
    if (value != nullptr)
        *value = known ? p->measuredValue : 0.0;
    return call.Answer(known ? 1 : 0);
}

int JUN_extended_dimension_system::enquire_frustum_functions(JUN_frustum_functions* table)
{
    CallRecord call(m_engine.GetJournal(), "JUN::enquire_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    *table = m_engine.JunTable();
    return call.Answer(0);
}

int JUN_extended_dimension_system::register_frustum_functions(const JUN_frustum_functions* table)
{
    CallRecord call(m_engine.GetJournal(), "JUN::register_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    m_engine.JunTable() = *table;
    return call.Answer(0);
}

// ---- KEV_procedural_feature_manager -------------------------------------------------------

KEV_procedural_feature_manager::KEV_procedural_feature_manager(tessik::Engine& engine) : m_engine(engine) {}

g_node* KEV_procedural_feature_manager::add_procedural_g(void* app, KEV_solve_type type, int count,
                                                         const int* geomTypes)
{
    CallRecord call(m_engine.GetJournal(), "KEV::add_procedural_g");
    call.Arg(static_cast<int>(type)).Arg(count).Arg(count > 0 && geomTypes != nullptr ? geomTypes[0] : -1);
    NodeRecord* g = m_engine.NewNode(NodeKind::Geometry, app);
    g->procedural = true;
    call.Answer(g->id);
    return Handle<g_node>(g);
}

g_node* KEV_procedural_feature_manager::add_procedural_copy(void* app, g_node* original)
{
    CallRecord call(m_engine.GetJournal(), "KEV::add_procedural_copy");
    NodeRecord* o = m_engine.LiveGNode(original);
    call.Arg(IdOf(o));
    if (o == nullptr || o->kind != NodeKind::Geometry)
        return call.Answer(0), nullptr;
    NodeRecord* g = m_engine.NewNode(NodeKind::Geometry, app);
    g->procedural = true;
    g->original = o;
    m_engine.Refer(g);
    call.Answer(g->id);
    return Handle<g_node>(g);
}

g_node* KEV_procedural_feature_manager::add_procedural_feature(void* app, KEV_solve_type type)
{
    CallRecord call(m_engine.GetJournal(), "KEV::add_procedural_feature");
    call.Arg(static_cast<int>(type));
    return AddNode<g_node>(m_engine, call, NodeKind::Feature, app);
}

d_node* KEV_procedural_feature_manager::add_procedural_relationship(void* app, g_node* procedural, g_node* other)
{
    CallRecord call(m_engine.GetJournal(), "KEV::add_procedural_relationship");
    NodeRecord* p = m_engine.LiveGNode(procedural);
    NodeRecord* o = m_engine.LiveGNode(other);
    call.Arg(IdOf(p)).Arg(IdOf(o));
    if (p == nullptr || o == nullptr || p->kind != NodeKind::Geometry || o->kind != NodeKind::Geometry)
        return call.Answer(0), nullptr;
    NodeRecord* d = m_engine.NewNode(NodeKind::Relationship, app);
    d->geoms[0] = p;
    d->geoms[1] = o;
    d->geomCount = 2;
    m_engine.Refer(d);
    call.Answer(d->id);
    return Handle<d_node>(d);
}

int KEV_procedural_feature_manager::move_to_feature(g_node* g, g_node* feature)
{
    CallRecord call(m_engine.GetJournal(), "KEV::move_to_feature");
    NodeRecord* rg = m_engine.LiveGNode(g);
    NodeRecord* rf = m_engine.LiveGNode(feature);
    call.Arg(IdOf(rg)).Arg(IdOf(rf));
    if (feature != nullptr && rf == nullptr)
        return call.Answer(0);
    return call.Answer(m_engine.MoveToFeature(rg, rf));
}

int KEV_procedural_feature_manager::enquire_frustum_functions(KEV_frustum_functions* table)
{
    CallRecord call(m_engine.GetJournal(), "KEV::enquire_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    *table = m_engine.KevTable();
    return call.Answer(0);
}

int KEV_procedural_feature_manager::register_frustum_functions(const KEV_frustum_functions* table)
{
    CallRecord call(m_engine.GetJournal(), "KEV::register_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    m_engine.KevTable() = *table;
    return call.Answer(0);
}

// ---- WOF_dimension_system_manager ---------------------------------------------------------

WOF_dimension_system_manager::WOF_dimension_system_manager(void* application, double resolution, double size)
    : ZMR3_dimension_system(application, resolution, size), m_extended(engine()), m_procedural(engine())
{
}

WOF_dimension_system_manager::~WOF_dimension_system_manager() = default;
