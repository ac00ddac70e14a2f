// One evaluation: read the model through the callbacks, build the unknowns and
// equations, solve each connected component, regenerate procedural features, answer.
#include "ComponentSolver.h"
#include "Engine.h"
#include "TestHooks.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace tessik {

namespace {

template <class F>
F Entry(const ZMR3_frustum_fn* entries, int index)
{
    return reinterpret_cast<F>(entries[index]);
}

Mat3 Skew(const Vec3& v)
{
    Mat3 m;
    m << 0, -v.z(), v.y(), v.z(), 0, -v.x(), -v.y(), v.x(), 0;
    return m;
}

Eigen::Matrix<double, 3, 2> Across(const Vec3& d)
{
    Vec3 a = std::abs(d.x()) < 0.9 ? Vec3::UnitX() : Vec3::UnitY();
    Vec3 e1 = d.cross(a).normalized();
    Vec3 e2 = d.cross(e1);
    Eigen::Matrix<double, 3, 2> m;
    m << e1, e2;
    return m;
}

Rigid FromMatrix(const double m[4][4])
{
    Rigid r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r.R(i, j) = m[i][j];
        r.t[i] = m[i][3];
    }
    return r;
}

void ToMatrix(const Rigid& r, double m[4][4])
{
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = r.R(i, j);
        m[i][3] = r.t[i];
    }
    m[3][0] = m[3][1] = m[3][2] = 0.0;
    m[3][3] = 1.0;
}

bool IsRotation(const Mat3& R)
{
    return R.allFinite() && (R * R.transpose() - Mat3::Identity()).norm() < 1e-9 && R.determinant() > 0.0;
}

double TurnOf(const Mat3& R) { return std::abs(Eigen::AngleAxisd(R).angle()); }

enum class UnitKind { Loose, Body, Relative, Pattern };

struct Unit {
    UnitKind kind = UnitKind::Loose;
    NodeRecord* node = nullptr;
    bool fixed = false;
    bool bad = false;
    bool regenerationFailed = false;
    int offset = 0;
    int nT = 0, nW = 0, nS = 0;
    // At most three columns each: held in place, so a unit costs no allocation of its own.
    Eigen::Matrix<double, 3, Eigen::Dynamic, 0, 3, 3> T, W;
    Vec3 centre = Vec3::Zero();
    Rigid start;                 // relative-transform nodes: the starting absolute transform
    double value0 = 0.0;         // pattern nodes
    const Geom* shapeOf = nullptr;
    std::vector<int> members;
    int Dofs() const { return nT + nW + nS; }
    bool Moves() const { return !fixed && !bad && Dofs() > 0; }
};

// Whether the solve left every unknown of the unit at zero: the unit then stands exactly
// where it started, which is what most geometry outside any bond does.
bool Untouched(const Unit& u, const Eigen::VectorXd& x)
{
    for (int i = 0; i < u.Dofs(); ++i)
        if (x[u.offset + i] != 0.0)
            return false;
    return true;
}

struct EvalGeom {
    NodeRecord* node = nullptr;
    // What the geometry's unit is chosen by, taken from the node while it is read: the node
    // is not visited again for it.
    const NodeRecord* set = nullptr;
    const NodeRecord* feature = nullptr;  // its own, else that of the geometry it copies
    bool fixed = false;
    Geom start;
    Geom held;
    bool isHeld = false;
    bool bad = false;
    int unit = -1;
};

struct Constraint {
    NodeRecord* owner = nullptr;  // null for drag targets and held nodes
    bool drag = false;
    int status = 0;               // a status settled while building (unsupported, bad input)
    EquationBlock hard, soft;
    bool hasHard = false, hasSoft = false;
    std::vector<int> units;
    std::vector<int> geoms;       // geometries whose status follows this constraint
    std::function<double()> measure;  // for a value node
    bool hardMet = true, softMet = true;
};

}  // namespace

struct Evaluation {
    explicit Evaluation(Engine& engine) : engine(engine) {}

    Engine& engine;
    std::vector<EvalGeom> geoms;
    std::unordered_map<const NodeRecord*, int> geomOf;
    std::vector<Unit> units;
    std::unordered_map<const NodeRecord*, int> unitOf;  // set, feature, RT and pattern nodes
    std::vector<std::unique_ptr<Constraint>> constraints;
    Eigen::VectorXd x;
    std::vector<double> fdStep;
    double modelScale = 1.0;
    std::vector<char> componentFailed;  // per unit: its component was reverted
    int iterations = 0;
    int components = 0;

    // ---- state from the unknowns ----
    Rigid Motion(int ui) const
    {
        const Unit& u = units[static_cast<size_t>(ui)];
        if (u.Dofs() == 0 || u.bad)
            return Rigid();
        Vec3 t = Vec3::Zero(), w = Vec3::Zero();
        for (int i = 0; i < u.nT; ++i)
            t += u.T.col(i) * x[u.offset + i];
        for (int i = 0; i < u.nW; ++i)
            w += u.W.col(i) * x[u.offset + u.nT + i];
        Rigid m;
        m.R = RotationOf(w);
        m.t = u.centre + t - m.R * u.centre;
        return m;
    }

    Rigid Absolute(int ui) const
    {
        const Unit& u = units[static_cast<size_t>(ui)];
        Rigid change = Motion(ui);
        // The turn and move act on the absolute transform itself.
        Rigid out;
        out.R = change.R * u.start.R;
        out.t = u.start.t + (change.t + change.R * u.centre - u.centre);
        return out;
    }

    double PatternValue(int ui) const
    {
        const Unit& u = units[static_cast<size_t>(ui)];
        return u.value0 + (u.Dofs() > 0 ? x[u.offset] : 0.0);
    }

    Geom Current(int gi) const
    {
        const EvalGeom& e = geoms[static_cast<size_t>(gi)];
        if (e.isHeld)
            return e.held;
        const Unit& u = units[static_cast<size_t>(e.unit)];
        Geom g = Transformed(e.start, Motion(e.unit));
        if (u.kind == UnitKind::Loose && u.nS > 0) {
            const int s = u.offset + u.nT + u.nW;
            if (g.type == ZMR3_G_CONE) {
                g.half += x[s];
            } else {
                g.r1 += x[s];
                if (u.nS > 1)
                    g.r2 += x[s + 1];
            }
        }
        return g;
    }

    // ---- building ----
    int AddUnit(UnitKind kind, NodeRecord* node)
    {
        return AddUnit(kind, node, node != nullptr && node->fixed);
    }

    int AddUnit(UnitKind kind, NodeRecord* node, bool fixed)
    {
        Unit u;
        u.kind = kind;
        u.node = node;
        u.fixed = fixed;
        units.push_back(u);
        const int index = static_cast<int>(units.size()) - 1;
        if (node != nullptr && kind != UnitKind::Loose)
            unitOf[node] = index;
        return index;
    }

    // requested: the nodes the evaluation's drags and holds name, in ascending order.
    void ReadNodes(const std::vector<const NodeRecord*>& requested)
    {
        geoms.reserve(engine.Nodes().size());
        units.reserve(engine.Nodes().size());
        geomOf.reserve(engine.Nodes().size());
        // Geometry that nothing refers to, in no set or feature and named by no request, is
        // read like any other but taken last: the solve then walks the geometry it moves
        // without stepping over the rest, which an application may hold in great numbers.
        std::vector<EvalGeom> apart;
        auto standsApart = [&requested](const NodeRecord* node) {
            return node->referrers == 0 && node->set == nullptr && node->feature == nullptr &&
                   node->original == nullptr && !node->procedural &&
                   !std::binary_search(requested.begin(), requested.end(), node);
        };
        for (auto& owned : engine.Nodes()) {
            NodeRecord* node = owned.get();
            if (!node->alive)
                continue;
            if (node->kind == NodeKind::Geometry) {
                const ZMR3_frustum_functions& zmr = engine.TableOf(node);
                auto typeOf = Entry<ZMR3_int_of_node_fn>(zmr.entries, ZMR3_FR_GEOM_TYPE);
                const int type = typeOf ? typeOf(node->app) : -1;
                if (type == ZMR3_G_SET) {
                    AddUnit(UnitKind::Body, node);
                    continue;
                }
                EvalGeom e;
                e.node = node;
                e.set = node->set;
                e.feature = node->feature;
                if (e.feature == nullptr && node->original != nullptr)
                    e.feature = node->original->feature;
                e.fixed = node->fixed;
                e.start = ReadGeometry(zmr, node->app, type);
                e.bad = !IsUsable(e.start);
                if (standsApart(node))
                    apart.push_back(e);
                else
                    geoms.push_back(e);
            } else if (node->kind == NodeKind::Feature) {
                AddUnit(UnitKind::Body, node);
            } else if (node->kind == NodeKind::RelativeTransform) {
                const int ui = AddUnit(UnitKind::Relative, node);
                double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
                if (auto f = reinterpret_cast<JUN_relative_transform_fn>(engine.JunTable().entries[JUN_FR_RELATIVE_TRANSFORM]))
                    f(m, node->app);
                units[static_cast<size_t>(ui)].start = FromMatrix(m);
                units[static_cast<size_t>(ui)].bad = !IsRotation(units[static_cast<size_t>(ui)].start.R) ||
                                                     !units[static_cast<size_t>(ui)].start.t.allFinite();
            } else if (node->kind == NodeKind::Pattern) {
                const int ui = AddUnit(UnitKind::Pattern, node);
                double value = 0.0;
                if (auto f = reinterpret_cast<JUN_pattern_value_fn>(engine.JunTable().entries[JUN_FR_PATTERN_VALUE]))
                    f(&value, node->app);
                units[static_cast<size_t>(ui)].value0 = value;
                units[static_cast<size_t>(ui)].bad = !std::isfinite(value);
            }
        }
        geoms.insert(geoms.end(), apart.begin(), apart.end());
        for (size_t gi = 0; gi < geoms.size(); ++gi)
            geomOf[geoms[gi].node] = static_cast<int>(gi);
        // Each geometry joins its set, else its procedural feature, else stands alone.
        for (size_t gi = 0; gi < geoms.size(); ++gi) {
            EvalGeom& e = geoms[gi];
            int ui = -1;
            if (e.set != nullptr && unitOf.count(e.set))
                ui = unitOf[e.set];
            else if (e.feature != nullptr && unitOf.count(e.feature))
                ui = unitOf[e.feature];
            if (ui < 0) {
                ui = AddUnit(UnitKind::Loose, e.node, e.fixed);
                units[static_cast<size_t>(ui)].bad = e.bad;
            } else {
                Unit& u = units[static_cast<size_t>(ui)];
                u.fixed = u.fixed || e.fixed;
                u.bad = u.bad || e.bad;
            }
            e.unit = ui;
            units[static_cast<size_t>(ui)].members.push_back(static_cast<int>(gi));
        }
        for (const EvalGeom& e : geoms) {
            if (e.bad)
                continue;
            modelScale = std::max(modelScale, e.start.p.cwiseAbs().maxCoeff());
            modelScale = std::max(modelScale, std::max(e.start.r1, e.start.r2));
        }
    }

    void LayOutUnknowns()
    {
        const double size = engine.Size();
        std::vector<Eigen::Triplet<double>> none;
        int offset = 0;
        for (Unit& u : units) {
            u.offset = offset;
            if (u.bad) {
                u.fixed = true;
            }
            switch (u.kind) {
            case UnitKind::Loose: {
                const Geom& g = geoms[static_cast<size_t>(u.members[0])].start;
                u.centre = g.p;
                u.shapeOf = &g;
                if (u.bad)
                    break;
                switch (g.type) {
                case ZMR3_G_POINT:
                case ZMR3_G_SPHERE:
                    u.T = Mat3::Identity();
                    break;
                case ZMR3_G_LINE:
                case ZMR3_G_CYLINDER:
                    u.T = Across(g.d);
                    u.W = Across(g.d);
                    break;
                case ZMR3_G_PLANE:
                    u.T = g.d;
                    u.W = Across(g.d);
                    break;
                case ZMR3_G_ELLIPSE:
                    u.T = Mat3::Identity();
                    u.W = Mat3::Identity();
                    break;
                default:  // circle, cone, torus
                    u.T = Mat3::Identity();
                    u.W = Across(g.d);
                    break;
                }
                u.nT = static_cast<int>(u.T.cols());
                u.nW = static_cast<int>(u.W.cols());
                u.nS = ShapeCount(g.type);
                break;
            }
            case UnitKind::Body:
            case UnitKind::Relative: {
                u.T = Mat3::Identity();
                u.W = Mat3::Identity();
                u.nT = u.nW = 3;
                if (!u.members.empty()) {
                    Vec3 sum = Vec3::Zero();
                    for (int m : u.members)
                        sum += geoms[static_cast<size_t>(m)].start.p;
                    u.centre = sum / static_cast<double>(u.members.size());
                }
                if (u.kind == UnitKind::Relative)
                    u.centre = u.start.t;
                break;
            }
            case UnitKind::Pattern:
                u.nS = 1;
                break;
            }
            offset += u.Dofs();
            for (int i = 0; i < u.Dofs(); ++i) {
                const bool turn = (i >= u.nT && i < u.nT + u.nW) ||
                                  (u.kind == UnitKind::Pattern && u.node->patternType == JUN_PATTERN_ANGULAR) ||
                                  (u.kind == UnitKind::Loose && i >= u.nT + u.nW && u.shapeOf->type == ZMR3_G_CONE);
                fdStep.push_back(turn ? 1e-7 : 1e-7 * modelScale);
            }
            (void)size;
        }
        x = Eigen::VectorXd::Zero(offset);
    }

    // The weighting rule of the public header, as a metric on each unit's unknowns.
    Eigen::MatrixXd Metric(const Unit& u) const
    {
        const double size2 = engine.Size() * engine.Size();
        const int n = u.Dofs();
        Eigen::MatrixXd m = Eigen::MatrixXd::Zero(n, n);
        if (u.kind == UnitKind::Loose) {
            for (int i = 0; i < n; ++i) {
                const bool turn = (i >= u.nT && i < u.nT + u.nW) || (i >= u.nT + u.nW && u.shapeOf->type == ZMR3_G_CONE);
                m(i, i) = turn ? size2 : 1.0;
            }
            return m;
        }
        if (u.kind == UnitKind::Pattern) {
            m(0, 0) = u.node->patternType == JUN_PATTERN_ANGULAR ? size2 : 1.0;
            return m;
        }
        if (u.kind == UnitKind::Relative || u.members.empty()) {
            m.diagonal() << 1, 1, 1, size2, size2, size2;
            return m;
        }
        for (int mi : u.members) {
            const Geom& g = geoms[static_cast<size_t>(mi)].start;
            Eigen::Matrix<double, 3, 6> ap;
            ap << Mat3::Identity(), -Skew(g.p - u.centre);
            Mat3 proj = Mat3::Identity();
            if (g.type == ZMR3_G_PLANE)
                proj = g.d * g.d.transpose();
            else if (g.type == ZMR3_G_LINE || g.type == ZMR3_G_CYLINDER)
                proj -= g.d * g.d.transpose();
            m += ap.transpose() * proj * ap;
            if (HasDirection(g.type)) {
                Eigen::Matrix<double, 3, 6> ad;
                ad << Mat3::Zero(), -Skew(g.d);
                m += size2 * ad.transpose() * ad;
            }
        }
        // Directions that move no member (a set of one plane sliding in itself) would cost
        // nothing; they are made as dear as the dearest direction, so they do not move.
        Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eig(m);
        Eigen::VectorXd values = eig.eigenvalues();
        const double top = std::max(values.maxCoeff(), 1.0);
        for (Eigen::Index i = 0; i < values.size(); ++i)
            if (values[i] < 1e-10 * top)
                values[i] = top;
        return eig.eigenvectors() * values.asDiagonal() * eig.eigenvectors().transpose();
    }

    // ---- constraints ----
    int UsableGeom(const NodeRecord* node) const
    {
        auto it = geomOf.find(node);
        if (it == geomOf.end())
            return -1;
        return geoms[static_cast<size_t>(it->second)].bad ? -2 : it->second;
    }

    void Finish(Constraint& c)
    {
        for (int gi : c.geoms)
            c.units.push_back(geoms[static_cast<size_t>(gi)].unit);
        std::sort(c.units.begin(), c.units.end());
        c.units.erase(std::unique(c.units.begin(), c.units.end()), c.units.end());
        std::vector<int> dofs;
        for (int ui : c.units) {
            const Unit& u = units[static_cast<size_t>(ui)];
            for (int i = 0; i < u.Dofs(); ++i)
                dofs.push_back(u.offset + i);
        }
        c.hard.dofs = dofs;
        c.soft.dofs = dofs;
        c.soft.soft = true;
    }

    Constraint& NewConstraint(NodeRecord* owner)
    {
        constraints.push_back(std::make_unique<Constraint>());
        constraints.back()->owner = owner;
        return *constraints.back();
    }

    // Geometry indices of a node list, or a failure status.
    int Collect(NodeRecord* const* nodes, int count, std::vector<int>& out)
    {
        for (int i = 0; i < count; ++i) {
            const int gi = UsableGeom(nodes[i]);
            if (gi == -2)
                return ZMR3_D_STATUS_BAD_GEOMETRY;
            if (gi < 0)
                return ZMR3_D_STATUS_UNSUPPORTED;
            out.push_back(gi);
        }
        return 0;
    }

    void SetEquations(Constraint& c, GeomEquations structure, std::function<void(const Geom*, Sink&)> hardValue,
                      std::function<void(const Geom*, Sink&)> softValue)
    {
        const std::vector<int> gs = c.geoms;
        auto wrap = [this, gs](std::function<void(const Geom*, Sink&)> f) {
            return [this, gs, f](std::vector<double>& v, std::vector<char>& a) {
                Geom current[3];
                for (size_t i = 0; i < gs.size() && i < 3; ++i)
                    current[i] = Current(gs[i]);
                Sink sink(v, a);
                f(current, sink);
            };
        };
        if (structure || hardValue) {
            c.hasHard = true;
            c.hard.evaluate = wrap([structure, hardValue](const Geom* g, Sink& k) {
                if (structure)
                    structure(g, k);
                if (hardValue)
                    hardValue(g, k);
            });
        }
        if (softValue) {
            c.hasSoft = true;
            c.soft.evaluate = wrap(softValue);
        }
    }

    void AddTypedDimension(NodeRecord* d)
    {
        Constraint& c = NewConstraint(d);
        const ZMR3_frustum_fn* t = engine.TableOf(d).entries;
        auto typeFn = Entry<ZMR3_int_of_node_fn>(t, ZMR3_FR_D_TYPE);
        auto valueFn = Entry<ZMR3_double_of_node_fn>(t, ZMR3_FR_D_VALUE);
        auto rigidFn = Entry<ZMR3_int_of_node_fn>(t, ZMR3_FR_RIGID);
        DimensionSpec spec;
        spec.type = typeFn ? typeFn(d->app) : ZMR3_COINCIDENT;
        spec.value = valueFn ? valueFn(d->app) : 0.0;
        const bool rigid = rigidFn ? rigidFn(d->app) != 0 : true;
        const bool measuring = d->valueNode != nullptr && d->valueNode->alive;

        NodeRecord* nodes[3] = {d->geoms[0], d->geoms[1], d->geoms[2]};
        int count = d->geomCount;
        if (d->kind == NodeKind::Radius) {
            count = 1;
        } else if (count == 2 && spec.type == ZMR3_DISTANCE) {
            double dir[3] = {0, 0, 0};
            g_node* node = nullptr;
            auto f = Entry<ZMR3_distance_direction_fn>(t, ZMR3_FR_DISTANCE_DIRECTION);
            const int kind = f ? f(d->app, dir, &node) : 0;
            if (kind == 1) {
                spec.fixedDirection = true;
                spec.direction = Vec3(dir[0], dir[1], dir[2]);
                if (spec.direction.norm() < 1e-300 || !spec.direction.allFinite()) {
                    c.status = ZMR3_D_STATUS_BAD_GEOMETRY;
                    return;
                }
            } else if (kind == 2) {
                NodeRecord* g = engine.LiveGNode(node);
                if (g == nullptr) {
                    c.status = ZMR3_D_STATUS_UNSUPPORTED;
                    return;
                }
                spec.directionGeom = true;
                nodes[2] = g;
                count = 3;
            }
        } else if (count == 2 && spec.type == ZMR3_ANGLE) {
            auto f = Entry<ZMR3_g_node_of_bond_fn>(t, ZMR3_FR_ANGLE_PLANE);
            if (NodeRecord* plane = f ? engine.LiveGNode(f(d->app)) : nullptr) {
                spec.anglePlane = true;
                nodes[2] = plane;
                count = 3;
            }
        }
        spec.count = count;
        if (int status = Collect(nodes, count, c.geoms)) {
            c.status = status;
            return;
        }
        if ((spec.directionGeom || spec.anglePlane) && !HasDirection(geoms[static_cast<size_t>(c.geoms[2])].start.type)) {
            c.status = ZMR3_D_STATUS_UNSUPPORTED;
            return;
        }
        if (auto f = Entry<ZMR3_int_of_bond_and_geom_fn>(t, ZMR3_FR_HALF_SPACE))
            for (int i = 0; i < std::min(count, 2); ++i)
                spec.halfSpace[i] = f(d->app, nodes[i]->app);
        if (spec.type == ZMR3_EQUAL_RADIUS)
            if (auto f = Entry<ZMR3_int_of_bond_and_geom_fn>(t, ZMR3_FR_RADIUS_KIND))
                for (int i = 0; i < std::min(count, 2); ++i)
                    spec.radiusKind[i] = f(d->app, nodes[i]->app);

        Geom start[3];
        for (int i = 0; i < count; ++i)
            start[i] = geoms[static_cast<size_t>(c.geoms[static_cast<size_t>(i)])].start;
        DimensionEquations eq = BuildDimension(spec, start);
        if (!eq.supported) {
            c.status = ZMR3_D_STATUS_UNSUPPORTED;
            return;
        }
        if (eq.measure && !measuring && !std::isfinite(spec.value)) {
            c.status = ZMR3_D_STATUS_BAD_VALUE;
            return;
        }
        if (eq.measure && !measuring && !eq.angular && !eq.signedValue && spec.value < 0.0) {
            c.status = ZMR3_D_STATUS_BAD_VALUE;
            return;
        }
        if (spec.type == ZMR3_HALF_ANGLE && !measuring && (spec.value <= 0.0 || spec.value >= M_PI / 2)) {
            c.status = ZMR3_D_STATUS_BAD_VALUE;
            return;
        }
        std::function<void(const Geom*, Sink&)> value;
        if (eq.measure && !measuring) {
            const double v = spec.value;
            const auto measure = eq.measure;
            if (eq.wrapped)
                value = [measure, v](const Geom* g, Sink& k) {
                    double r = std::remainder(measure(g) - v, 2 * M_PI);
                    k.Ang(r);
                };
            else if (eq.angular)
                value = [measure, v](const Geom* g, Sink& k) { k.Ang(measure(g) - v); };
            else
                value = [measure, v](const Geom* g, Sink& k) { k.Len(measure(g) - v); };
        }
        SetEquations(c, eq.structure, rigid ? value : nullptr, rigid ? nullptr : value);
        if (measuring && eq.measure) {
            const std::vector<int> gs = c.geoms;
            const auto measure = eq.measure;
            c.measure = [this, gs, measure]() {
                Geom current[3];
                for (size_t i = 0; i < gs.size() && i < 3; ++i)
                    current[i] = Current(gs[i]);
                return measure(current);
            };
        }
        Finish(c);
    }

    void AddPatternSpacing(NodeRecord* r, int patternUnit)
    {
        Constraint& c = NewConstraint(r);
        const ZMR3_frustum_fn* t = engine.TableOf(r).entries;
        auto valueFn = Entry<ZMR3_double_of_node_fn>(t, ZMR3_FR_D_VALUE);
        auto rigidFn = Entry<ZMR3_int_of_node_fn>(t, ZMR3_FR_RIGID);
        const double v = valueFn ? valueFn(r->app) : 0.0;
        const bool rigid = rigidFn ? rigidFn(r->app) != 0 : true;
        const bool angular = r->geoms[0]->patternType == JUN_PATTERN_ANGULAR;
        c.units.push_back(patternUnit);
        if (units[static_cast<size_t>(patternUnit)].bad) {
            c.status = ZMR3_D_STATUS_BAD_GEOMETRY;
            return;
        }
        if (r->valueNode != nullptr && r->valueNode->alive) {
            c.measure = [this, patternUnit]() { return PatternValue(patternUnit); };
        } else {
            auto eval = [this, patternUnit, v, angular](std::vector<double>& out, std::vector<char>& a) {
                Sink k(out, a);
                angular ? k.Ang(PatternValue(patternUnit) - v) : k.Len(PatternValue(patternUnit) - v);
            };
            (rigid ? c.hard : c.soft).evaluate = eval;
            (rigid ? c.hasHard : c.hasSoft) = true;
        }
        Finish(c);
    }

    void AddRelativeConstraint(NodeRecord* d, int rtUnit)
    {
        Constraint& c = NewConstraint(d);
        auto flagFn = reinterpret_cast<JUN_rt_constraint_flag_fn>(engine.JunTable().entries[JUN_FR_RT_CONSTRAINT_FLAG]);
        const bool shape = flagFn ? flagFn(d->app) != 0 : false;
        if (int status = Collect(d->geoms, 2, c.geoms)) {
            c.status = status;
            return;
        }
        if (!CanMatch(geoms[static_cast<size_t>(c.geoms[0])].start, geoms[static_cast<size_t>(c.geoms[1])].start)) {
            c.status = ZMR3_D_STATUS_UNSUPPORTED;
            return;
        }
        if (units[static_cast<size_t>(rtUnit)].bad) {
            c.status = ZMR3_D_STATUS_BAD_GEOMETRY;
            return;
        }
        c.units.push_back(rtUnit);
        const int a = c.geoms[0], b = c.geoms[1];
        c.hasHard = true;
        c.hard.evaluate = [this, a, b, rtUnit, shape](std::vector<double>& v, std::vector<char>& f) {
            Sink k(v, f);
            MatchEquations(Current(b), Transformed(Current(a), Absolute(rtUnit)), shape, k);
        };
        Finish(c);
    }

    void AddPatternConstraint(NodeRecord* d, int patternUnit)
    {
        Constraint& c = NewConstraint(d);
        if (int status = Collect(d->geoms, 2, c.geoms)) {
            c.status = status;
            return;
        }
        const NodeRecord* pattern = d->geoms[2];
        const int ref = UsableGeom(pattern->reference);
        if (ref < 0 || units[static_cast<size_t>(patternUnit)].bad ||
            !HasDirection(geoms[static_cast<size_t>(ref)].start.type)) {
            c.status = ZMR3_D_STATUS_BAD_GEOMETRY;
            return;
        }
        if (!CanMatch(geoms[static_cast<size_t>(c.geoms[0])].start, geoms[static_cast<size_t>(c.geoms[1])].start)) {
            c.status = ZMR3_D_STATUS_UNSUPPORTED;
            return;
        }
        auto stepsFn = reinterpret_cast<JUN_pattern_steps_fn>(engine.JunTable().entries[JUN_FR_PATTERN_STEPS]);
        const int steps = stepsFn ? stepsFn(d->app, d->geoms[0]->app, d->geoms[1]->app) : 0;
        const bool linear = pattern->patternType == JUN_PATTERN_LINEAR;
        const int a = c.geoms[0], b = c.geoms[1];
        c.units.push_back(patternUnit);
        c.units.push_back(geoms[static_cast<size_t>(ref)].unit);
        c.hasHard = true;
        c.hard.evaluate = [this, a, b, ref, steps, linear, patternUnit](std::vector<double>& v, std::vector<char>& f) {
            const Geom axis = Current(ref);
            const double amount = steps * PatternValue(patternUnit);
            Rigid m;
            if (linear) {
                m.t = amount * axis.d;
            } else {
                m.R = Eigen::AngleAxisd(-amount, axis.d).toRotationMatrix();
                m.t = axis.p - m.R * axis.p;
            }
            Sink k(v, f);
            MatchEquations(Current(b), Transformed(Current(a), m), true, k);
        };
        Finish(c);
    }

    void AddRelationship(NodeRecord* d)
    {
        Constraint& c = NewConstraint(d);
        NodeRecord* procedural = d->geoms[0];
        NodeRecord* other = d->geoms[1];
        const NodeRecord* feature = procedural->feature;
        if (feature == nullptr && procedural->original != nullptr)
            feature = procedural->original->feature;
        const int gi = UsableGeom(other);
        if (gi == -2) {
            c.status = ZMR3_D_STATUS_BAD_GEOMETRY;
            return;
        }
        if (feature == nullptr || !unitOf.count(feature) || gi < 0)
            return;
        const int fu = unitOf[feature];
        if (geoms[static_cast<size_t>(gi)].unit == fu)
            return;
        c.geoms.push_back(gi);
        c.units.push_back(fu);
        c.hasHard = true;
        c.hard.evaluate = [this, gi, fu](std::vector<double>& v, std::vector<char>& f) {
            // Once the application has remade the geometry, its answer settles the relationship.
            if (geoms[static_cast<size_t>(gi)].isHeld)
                return;
            Sink k(v, f);
            MatchEquations(Current(gi), Transformed(geoms[static_cast<size_t>(gi)].start, Motion(fu)), false, k);
        };
        Finish(c);
    }

    void BuildConstraints()
    {
        for (auto& owned : engine.Nodes()) {
            NodeRecord* d = owned.get();
            if (!d->alive)
                continue;
            if (d->kind == NodeKind::Relationship) {
                AddRelationship(d);
            } else if (d->kind == NodeKind::Radius) {
                NodeRecord* target = d->geoms[0];
                if (target->kind == NodeKind::Pattern && unitOf.count(target))
                    AddPatternSpacing(d, unitOf[target]);
                else
                    AddTypedDimension(d);
            } else if (d->kind == NodeKind::Dimension) {
                NodeRecord* third = d->geomCount == 3 ? d->geoms[2] : nullptr;
                if (third != nullptr && third->kind == NodeKind::RelativeTransform && unitOf.count(third))
                    AddRelativeConstraint(d, unitOf[third]);
                else if (third != nullptr && third->kind == NodeKind::Pattern && unitOf.count(third))
                    AddPatternConstraint(d, unitOf[third]);
                else
                    AddTypedDimension(d);
            }
        }
    }

    // A unit follows a rigid motion: the change of a set or feature, or the new absolute
    // transform of a relative-transform node.
    void UnitTarget(Constraint& c, int ui, const Rigid& motion, bool asHard)
    {
        const Unit& u = units[static_cast<size_t>(ui)];
        const bool relative = u.kind == UnitKind::Relative;
        const Rigid target = relative ? Compose(motion, u.start) : motion;
        auto eval = [this, ui, relative, target](std::vector<double>& v, std::vector<char>& f) {
            const Rigid now = relative ? Absolute(ui) : Motion(ui);
            const Vec3 c = units[static_cast<size_t>(ui)].centre;
            Sink k(v, f);
            k.AngVec(RotationVectorOf(target.R.transpose() * now.R));
            k.LenVec(now.Apply(c) - target.Apply(c));
        };
        c.units.push_back(ui);
        (asHard ? c.hard : c.soft).evaluate = eval;
        (asHard ? c.hasHard : c.hasSoft) = true;
        Finish(c);
    }

    bool AddDrag(const Engine::DragRequest& r, bool exact)
    {
        Constraint& c = NewConstraint(nullptr);
        c.drag = true;
        if (r.node == nullptr)
            return false;
        if (unitOf.count(r.node)) {
            const int ui = unitOf[r.node];
            if (r.kind == ZMR3_DT_RADIUS || units[static_cast<size_t>(ui)].kind == UnitKind::Pattern)
                return false;
            UnitTarget(c, ui, r.motion, exact);
            return true;
        }
        const int gi = UsableGeom(r.node);
        if (gi < 0)
            return false;
        c.geoms.push_back(gi);
        const Geom start = geoms[static_cast<size_t>(gi)].start;
        std::function<void(std::vector<double>&, std::vector<char>&)> eval;
        if (r.kind == ZMR3_DT_RADIUS) {
            if (ShapeCount(start.type) == 0 || start.type == ZMR3_G_CONE || !(r.radius > 0.0))
                return false;
            const double radius = r.radius;
            eval = [this, gi, radius](std::vector<double>& v, std::vector<char>& f) {
                Sink(v, f).Len(Current(gi).r1 - radius);
            };
        } else {
            const Geom target = Transformed(start, r.motion);
            eval = [this, gi, target](std::vector<double>& v, std::vector<char>& f) {
                Sink k(v, f);
                MatchEquations(Current(gi), target, false, k);
            };
        }
        (exact ? c.hard : c.soft).evaluate = eval;
        (exact ? c.hasHard : c.hasSoft) = true;
        Finish(c);
        return true;
    }

    void AddHeld(NodeRecord* node)
    {
        Constraint& c = NewConstraint(nullptr);
        c.drag = true;
        if (unitOf.count(node)) {
            UnitTarget(c, unitOf[node], Rigid(), true);
            return;
        }
        const int gi = UsableGeom(node);
        if (gi < 0)
            return;
        c.geoms.push_back(gi);
        const Geom start = geoms[static_cast<size_t>(gi)].start;
        c.hasHard = true;
        c.hard.evaluate = [this, gi, start](std::vector<double>& v, std::vector<char>& f) {
            Sink k(v, f);
            MatchEquations(Current(gi), start, true, k);
        };
        Finish(c);
    }

    // ---- solving ----
    int Find(std::vector<int>& parent, int i)
    {
        while (parent[static_cast<size_t>(i)] != i)
            i = parent[static_cast<size_t>(i)] = parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
        return i;
    }

    void SolveAll(int maxIterations)
    {
        const double lt = engine.Resolution() * 1e-2;
        const double at = engine.AngularResolution() * 1e-2;
        std::vector<int> parent(units.size());
        std::iota(parent.begin(), parent.end(), 0);
        for (auto& c : constraints) {
            int first = -1;
            for (int ui : c->units) {
                if (!units[static_cast<size_t>(ui)].Moves())
                    continue;
                if (first < 0)
                    first = ui;
                else
                    parent[static_cast<size_t>(Find(parent, ui))] = Find(parent, first);
            }
        }
        std::unordered_map<int, std::vector<Constraint*>> byComponent;
        for (auto& c : constraints) {
            c->hardMet = c->softMet = true;
            if (c->status != 0 || (!c->hasHard && !c->hasSoft))
                continue;
            int root = -1;
            for (int ui : c->units)
                if (units[static_cast<size_t>(ui)].Moves())
                    root = Find(parent, ui);
            if (root < 0) {
                // Nothing here can move: the equations hold or they contradict the fixed geometry.
                c->hardMet = !c->hasHard || BlockMet(c->hard, lt * 100, at * 100);
                c->softMet = !c->hasSoft || BlockMet(c->soft, lt * 100, at * 100);
                continue;
            }
            byComponent[root].push_back(c.get());
        }
        componentFailed.assign(units.size(), 0);
        // Each component's moving units in ascending order, gathered in one pass: a component
        // is laid out in time of its own size however many others there are.
        std::unordered_map<int, std::vector<int>> unitsOf;
        for (size_t ui = 0; ui < units.size(); ++ui) {
            if (!units[ui].Moves())
                continue;
            const auto component = byComponent.find(Find(parent, static_cast<int>(ui)));
            if (component != byComponent.end())
                unitsOf[component->first].push_back(static_cast<int>(ui));
        }
        std::vector<int> columns(static_cast<size_t>(x.size()), -1);
        for (auto& entry : byComponent) {
            ++components;
            ComponentProblem p;
            p.lengthTolerance = lt;
            p.angleTolerance = at;
            p.columns = &columns;
            if (maxIterations > 0)
                p.maxIterations = maxIterations;
            std::vector<Eigen::Triplet<double>> scale;
            std::vector<int> memberUnits;
            for (int member : unitsOf[entry.first]) {
                const size_t ui = static_cast<size_t>(member);
                const Unit& u = units[ui];
                memberUnits.push_back(static_cast<int>(ui));
                const int base = static_cast<int>(p.dofs.size());
                Eigen::LLT<Eigen::MatrixXd> llt(Metric(u));
                const Eigen::MatrixXd s = llt.matrixU().solve(Eigen::MatrixXd::Identity(u.Dofs(), u.Dofs()));
                for (int i = 0; i < u.Dofs(); ++i) {
                    p.dofs.push_back(u.offset + i);
                    p.steps.push_back(fdStep[static_cast<size_t>(u.offset + i)]);
                    for (int j = 0; j < u.Dofs(); ++j)
                        if (s(i, j) != 0.0)
                            scale.emplace_back(base + i, base + j, s(i, j));
                }
            }
            const Eigen::Index n = static_cast<Eigen::Index>(p.dofs.size());
            p.scale.resize(n, n);
            p.scale.setFromTriplets(scale.begin(), scale.end());
            for (Constraint* c : entry.second) {
                if (c->hasHard)
                    p.blocks.push_back(&c->hard);
                if (c->hasSoft)
                    p.blocks.push_back(&c->soft);
            }
            bool satisfied = true;
            for (const EquationBlock* b : p.blocks)
                satisfied = satisfied && BlockMet(*b, lt, at);
            if (satisfied)
                continue;  // a satisfied component is left exactly as it is
            Eigen::VectorXd before(n);
            for (Eigen::Index i = 0; i < n; ++i)
                before[i] = x[p.dofs[static_cast<size_t>(i)]];
            const ComponentOutcome out = SolveComponent(p, x, engine.MemoryFor(p.dofs.front()));
            iterations += out.iterations;
            // Judged at the resolution: the iterations aim a hundred times closer.
            bool hardMet = true;
            for (Constraint* c : entry.second) {
                c->hardMet = !c->hasHard || BlockMet(c->hard, lt * 100, at * 100);
                c->softMet = !c->hasSoft || BlockMet(c->soft, lt * 100, at * 100);
                hardMet = hardMet && c->hardMet;
            }
            if (!hardMet) {
                // No partial moves: a component that fails keeps its starting state.
                for (Eigen::Index i = 0; i < n; ++i)
                    x[p.dofs[static_cast<size_t>(i)]] = before[i];
                const int status = out.stalled ? ZMR3_D_STATUS_OVER_DEFINED : ZMR3_D_STATUS_NOT_CONVERGED;
                for (Constraint* c : entry.second)
                    if (!out.stalled || !c->hardMet)
                        c->status = c->status ? c->status : status;
                for (int ui : memberUnits)
                    componentFailed[static_cast<size_t>(ui)] = out.stalled ? 2 : 4;
            }
        }
        SnapSmallChanges();
    }

    // Changes below the resolution are no changes.
    void SnapSmallChanges()
    {
        for (size_t ui = 0; ui < units.size(); ++ui) {
            Unit& u = units[ui];
            if (!u.Moves() || u.kind == UnitKind::Pattern || Untouched(u, x))
                continue;
            const Rigid m = Motion(static_cast<int>(ui));
            bool small = TurnOf(m.R) <= engine.AngularResolution() &&
                         (m.Apply(u.centre) - u.centre).norm() <= engine.Resolution();
            for (int mi : u.members)
                small = small && (m.Apply(geoms[static_cast<size_t>(mi)].start.p) - geoms[static_cast<size_t>(mi)].start.p).norm() <=
                                     engine.Resolution();
            if (small)
                for (int i = 0; i < u.nT + u.nW; ++i)
                    x[u.offset + i] = 0.0;
        }
    }

    // ---- procedural features ----
    bool Regenerate()
    {
        auto regenerate = reinterpret_cast<KEV_regenerate_fn>(engine.KevTable().entries[KEV_FR_REGENERATE]);
        if (regenerate == nullptr)
            return false;
        bool any = false;
        for (Unit& u : units) {
            if (u.node == nullptr || u.node->kind != NodeKind::Feature)
                continue;
            any = true;
            if (regenerate(u.node->app) == KEV_REGENERATION_FAILED)
                u.regenerationFailed = true;
        }
        if (!any)
            return false;
        // Geometry the application answers differently after regenerating (the feature's
        // own geometry, its copies, the faces it offsets or the dependents it remade)
        // stands as answered, and the rest is solved against it; geometry answered as
        // before keeps its solved state.
        bool changed = false;
        for (size_t gi = 0; gi < geoms.size(); ++gi) {
            EvalGeom& e = geoms[gi];
            Unit& u = units[static_cast<size_t>(e.unit)];
            if (e.bad || u.regenerationFailed)
                continue;
            const Geom& before = e.start;
            const Geom again = ReadGeometry(engine.TableOf(e.node), e.node->app, e.start.type);
            if (!IsUsable(again)) {
                u.regenerationFailed = true;
                continue;
            }
            const bool differs = (again.p - before.p).norm() > engine.Resolution() ||
                                 (again.d - before.d).norm() > engine.AngularResolution() ||
                                 std::abs(again.r1 - before.r1) > engine.Resolution() ||
                                 std::abs(again.r2 - before.r2) > engine.Resolution() ||
                                 std::abs(again.half - before.half) > engine.AngularResolution();
            if (differs) {
                e.held = again;
                e.isHeld = true;
                u.fixed = true;
                changed = true;
            }
        }
        return changed;
    }

    // ---- answers ----
    void AnswerGeometry(EvalGeom& e)
    {
        NodeRecord* node = e.node;
        const Unit& u = units[static_cast<size_t>(e.unit)];
        if (!e.isHeld && Untouched(u, x)) {
            node->changeMask = 0;
            node->firstValue = node->secondValue = 0.0;
            return;
        }
        Rigid m;
        double d1 = 0.0, d2 = 0.0;
        const Geom now = Current(static_cast<int>(&e - geoms.data()));
        if (e.isHeld)
            m = ChangeBetween(e.start, e.held);
        else
            m = Motion(e.unit);
        if (e.start.type == ZMR3_G_CONE)
            d1 = now.half - e.start.half;
        else
            d1 = now.r1 - e.start.r1, d2 = now.r2 - e.start.r2;
        int mask = 0;
        const Vec3 probe = u.kind == UnitKind::Loose || e.isHeld ? e.start.p : u.centre;
        if (TurnOf(m.R) > engine.AngularResolution() || (m.Apply(probe) - probe).norm() > engine.Resolution() ||
            (m.Apply(e.start.p) - e.start.p).norm() > engine.Resolution())
            mask |= ZMR3_CHANGE_RIGID;
        if (e.start.type == ZMR3_G_CONE) {
            if (std::abs(d1) > engine.AngularResolution())
                mask |= ZMR3_CHANGE_HALF_ANGLE;
        } else {
            if (ShapeCount(e.start.type) >= 1 && std::abs(d1) > engine.Resolution())
                mask |= ZMR3_CHANGE_RADIUS;
            if (ShapeCount(e.start.type) >= 2 && std::abs(d2) > engine.Resolution())
                mask |= ZMR3_CHANGE_MINOR_RADIUS;
        }
        node->changeMask = mask;
        if (mask & ZMR3_CHANGE_RIGID)
            ToMatrix(m, node->change);
        node->firstValue = mask & (ZMR3_CHANGE_RADIUS | ZMR3_CHANGE_HALF_ANGLE) ? d1 : 0.0;
        node->secondValue = mask & ZMR3_CHANGE_MINOR_RADIUS ? d2 : 0.0;
    }

    void Answer()
    {
        for (EvalGeom& e : geoms)
            if (!e.bad)
                AnswerGeometry(e);
        for (size_t ui = 0; ui < units.size(); ++ui) {
            Unit& u = units[ui];
            NodeRecord* node = u.node;
            if (node == nullptr || u.kind == UnitKind::Loose)
                continue;
            if (u.kind == UnitKind::Pattern) {
                node->measuredValue = PatternValue(static_cast<int>(ui));
                node->hasValue = true;
                continue;
            }
            const Rigid m = u.kind == UnitKind::Relative ? Absolute(static_cast<int>(ui)) : Motion(static_cast<int>(ui));
            const Rigid change = u.kind == UnitKind::Relative ? Compose(m, Inverse(u.start)) : m;
            const bool moved = TurnOf(change.R) > engine.AngularResolution() ||
                               (change.Apply(u.centre) - u.centre).norm() > engine.Resolution();
            node->changeMask = moved ? ZMR3_CHANGE_RIGID : 0;
            if (moved)
                ToMatrix(m, node->change);
        }
        for (auto& c : constraints)
            if (c->owner != nullptr && c->owner->valueNode != nullptr && c->measure) {
                c->owner->valueNode->measuredValue = c->measure();
                c->owner->valueNode->hasValue = true;
            }
    }

    // The geometry status that tells a failure of a one-geometry dimension on it.
    static void MarkFailedRadius(NodeRecord* node, int dStatus)
    {
        int g = 0;
        switch (dStatus) {
        case ZMR3_D_STATUS_OVER_DEFINED: g = ZMR3_G_STATUS_OVER_DEFINED; break;
        case ZMR3_D_STATUS_UNSUPPORTED: g = ZMR3_G_STATUS_UNSUPPORTED_DIMENSION; break;
        case ZMR3_D_STATUS_NOT_CONVERGED: g = ZMR3_G_STATUS_NOT_CONVERGED; break;
        case ZMR3_D_STATUS_BAD_VALUE: g = ZMR3_G_STATUS_BAD_VALUE; break;
        default: return;
        }
        if (node->status == ZMR3_G_STATUS_SOLVED || node->status == ZMR3_G_STATUS_FIXED)
            node->status = g;
    }

    void Statuses()
    {
        for (EvalGeom& e : geoms) {
            const Unit& u = units[static_cast<size_t>(e.unit)];
            int s = e.node->fixed || u.fixed ? ZMR3_G_STATUS_FIXED : ZMR3_G_STATUS_SOLVED;
            if (e.isHeld)
                s = ZMR3_G_STATUS_SOLVED;
            if (componentFailed[static_cast<size_t>(e.unit)] == 4)
                s = ZMR3_G_STATUS_NOT_CONVERGED;
            if (u.regenerationFailed)
                s = ZMR3_G_STATUS_REGENERATION_FAILED;
            if (e.bad)
                s = ZMR3_G_STATUS_BAD_GEOMETRY;
            e.node->status = s;
        }
        for (size_t ui = 0; ui < units.size(); ++ui) {
            Unit& u = units[ui];
            if (u.node == nullptr || u.kind == UnitKind::Loose)
                continue;
            int s = u.node->fixed ? ZMR3_G_STATUS_FIXED : ZMR3_G_STATUS_SOLVED;
            if (componentFailed[ui] == 4)
                s = ZMR3_G_STATUS_NOT_CONVERGED;
            if (u.regenerationFailed)
                s = ZMR3_G_STATUS_REGENERATION_FAILED;
            if (u.bad && u.members.empty())
                s = ZMR3_G_STATUS_BAD_GEOMETRY;
            u.node->status = s;
        }
        for (auto& c : constraints) {
            int s = c->status;
            if (s == 0)
                s = !c->hardMet ? ZMR3_D_STATUS_OVER_DEFINED
                                : (!c->softMet && !c->drag ? ZMR3_D_STATUS_NOT_REACHED : ZMR3_D_STATUS_SATISFIED);
            c->status = s;
            if (c->owner != nullptr)
                c->owner->status = s;
            // r-nodes are never listed with the d-nodes, so a failing one also marks its geometry.
            if (c->owner != nullptr && c->owner->kind == NodeKind::Radius)
                for (int gi : c->geoms)
                    MarkFailedRadius(geoms[static_cast<size_t>(gi)].node, s);
            if (s == ZMR3_D_STATUS_OVER_DEFINED)
                for (int gi : c->geoms)
                    if (geoms[static_cast<size_t>(gi)].node->status == ZMR3_G_STATUS_SOLVED ||
                        geoms[static_cast<size_t>(gi)].node->status == ZMR3_G_STATUS_FIXED)
                        geoms[static_cast<size_t>(gi)].node->status = ZMR3_G_STATUS_OVER_DEFINED;
        }
    }
};

void Engine::ApplyForcedStatuses()
{
    for (auto& node : m_nodes) {
        int status = 0;
        if (!node->alive)
            continue;
        if (node->IsGNode() && ForcedGStatus(node->app, status))
            node->status = status;
        else if ((node->IsDNode() || node->kind == NodeKind::Radius) && ForcedDStatus(node->app, status))
            node->status = status;
    }
    UseUpForcedStatuses();
}

ZMR3_solve_type Engine::Evaluate(const std::vector<DragRequest>& drags, const std::vector<NodeRecord*>& held,
                                 bool exact, int maxIterations, int* dragResult)
{
    ClearAnswers();
    m_evaluated = true;
    for (auto kept = m_memories.begin(); kept != m_memories.end();) {
        if (kept->second.used)
            (kept++)->second.used = false;
        else
            kept = m_memories.erase(kept);
    }
    int forced = 0;
    if (dragResult != nullptr && TakeForcedDragResult(forced)) {
        *dragResult = forced;
        for (auto& node : m_nodes)
            if (node->alive && (node->IsDNode() || node->kind == NodeKind::Radius))
                node->status = ZMR3_D_STATUS_SATISFIED;
        ApplyForcedStatuses();
        return forced == 0 ? ZMR3_SOLVED : ZMR3_NOT_SOLVED;
    }
    Evaluation ev(*this);
    std::vector<const NodeRecord*> requested(held.begin(), held.end());
    for (const DragRequest& r : drags)
        requested.push_back(r.node);
    std::sort(requested.begin(), requested.end());
    ev.ReadNodes(requested);
    ev.LayOutUnknowns();
    ev.BuildConstraints();
    bool badDrag = false;
    for (const DragRequest& r : drags)
        badDrag = !ev.AddDrag(r, exact) || badDrag;
    for (NodeRecord* node : held)
        ev.AddHeld(node);
    if (badDrag) {
        // A drag that names nothing movable moves nothing.
        ev.constraints.erase(std::remove_if(ev.constraints.begin(), ev.constraints.end(),
                                            [](const auto& c) { return c->drag; }),
                             ev.constraints.end());
        ev.componentFailed.assign(ev.units.size(), 0);
        ev.Statuses();
        if (dragResult != nullptr)
            *dragResult = ZMR3_DRAG_BAD_INPUT;
        ApplyForcedStatuses();
        return ZMR3_NOT_SOLVED;
    }
    ev.SolveAll(maxIterations);
    ev.Answer();
    if (ev.Regenerate()) {
        ev.SolveAll(maxIterations);
        ev.Answer();
    }
    ev.Statuses();
    if (dragResult != nullptr) {
        *dragResult = ZMR3_DRAG_OK;
        for (auto& c : ev.constraints)
            if (c->drag && c->hasHard && !c->hardMet)
                *dragResult = ZMR3_DRAG_NOT_REACHED;
    }
    ApplyForcedStatuses();
    if (m_journal.Summaries()) {
        std::ostringstream line;
        line << "ZMR3::evaluation components " << ev.components << " iterations " << ev.iterations;
        m_journal.WriteLine(line.str());
    }
    bool failed = false;
    for (auto& node : m_nodes) {
        if (!node->alive)
            continue;
        if (node->IsGNode())
            failed = failed || (node->status >= 2 && node->status <= 7);
        else if (node->kind != NodeKind::Value)
            failed = failed || (node->status >= 1 && node->status <= 5) || node->status == 9;
    }
    return failed ? ZMR3_NOT_SOLVED : ZMR3_SOLVED;
}

}  // namespace tessik
