// The callback tables through which the dimension system reads the toolkit's nodes. Every
// node is its handle's application pointer, so each callback answers from the node itself;
// an output the node does not supply is written as zeros.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "core/support/Timer.h"

#include <brennik.h>

#include <cmath>

namespace QEL {

namespace {

// Every application pointer the Solver hands over is a Node.
GeometryBase* AsGeometry(void* node)
{
    return node ? static_cast<Node*>(node)->AsGeometry() : nullptr;
}
Bond* AsBond(void* node) { return node ? static_cast<Node*>(node)->AsBond() : nullptr; }
TypedBond* AsTypedBond(void* node)
{
    Bond* bond = AsBond(node);
    return bond ? bond->AsTypedBond() : nullptr;
}

void Put(double out[3], const Vec& v)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

void FrustumDoNothing() {}
int FrustumReturnZero() { return 0; }
int FrustumReturnThree() { return 3; }

void FrustumZeroTwoDoubles(double* a, double* b)
{
    *a = 0.0;
    *b = 0.0;
}

void FrustumZeroTwoInts(void*, int* a, int* b)
{
    *a = 0;
    *b = 0;
}

int FrustumGetGeomType(void* node)
{
    ZMR3_g_type type = ZMR3_G_POINT;
    GNode* g = node ? static_cast<Node*>(node)->AsGNode() : nullptr;
    return g && g->GetGeomType(type) ? type : 0;
}

template <bool (GeometryBase::*Getter)(Vec&)>
void FrustumGetPoint(double out[3], void* node)
{
    Vec v;
    GeometryBase* g = AsGeometry(node);
    if (g)
        (g->*Getter)(v);
    Put(out, v);
}

template <bool (GeometryBase::*Getter)(Dir&)>
void FrustumGetDir(double out[3], void* node)
{
    Dir d(0.0, 0.0, 0.0, true);
    GeometryBase* g = AsGeometry(node);
    if (g)
        (g->*Getter)(d);
    Put(out, d);
}

double FrustumGetRadius(void* node)
{
    double radius = 0.0;
    if (GeometryBase* g = AsGeometry(node))
        g->GetRadius(radius);
    return radius;
}

void FrustumGetConeData(void* node, double location[3], double axis[3], double* radius,
                        double* sine, double* cosine)
{
    Vec l;
    Dir a(0.0, 0.0, 0.0, true);
    double half = 0.0;
    GeometryBase* g = AsGeometry(node);
    const bool cone = g && g->GetConeData(l, a, *radius, half);
    Put(location, l);
    Put(axis, a);
    *sine = cone ? std::sin(half) : 0.0;
    *cosine = cone ? std::cos(half) : 1.0;
}

void FrustumGetTorusData(void* node, double centre[3], double axis[3], double* major, double* minor,
                         int* flag)
{
    Vec c;
    Dir a(0.0, 0.0, 0.0, true);
    double r1 = 0.0, r2 = 0.0;
    if (GeometryBase* g = AsGeometry(node))
        g->GetTorusData(c, a, r1, r2);
    Put(centre, c);
    Put(axis, a);
    *major = r1;
    *minor = r2;
    *flag = 0;
}

void FrustumGetEllipseData(void* node, double centre[3], double axis[3], double majorDirection[3],
                           double* major, double* minor)
{
    Vec c;
    Dir a(0.0, 0.0, 0.0, true), m(0.0, 0.0, 0.0, true);
    double r1 = 0.0, r2 = 0.0;
    if (GeometryBase* g = AsGeometry(node))
        g->GetEllipseData(c, a, m, r1, r2);
    Put(centre, c);
    Put(axis, a);
    Put(majorDirection, m);
    *major = r1;
    *minor = r2;
}

int BondType(Bond* bond)
{
    ZMR3_d_type type = ZMR3_COINCIDENT;
    return bond && bond->GetType(type) ? type : ZMR3_COINCIDENT;
}

int FrustumGetDType(void* node) { return BondType(AsBond(node)); }

double FrustumGetDValue(void* node)
{
    double value = 0.0;
    if (Bond* bond = AsBond(node))
        bond->GetValue(value);
    return value;
}

g_node* FrustumGetAnglePlane(void* node)
{
    Bond* bond = AsBond(node);
    PlanarAngleBond* angle = dynamic_cast<PlanarAngleBond*>(bond);
    if (BondType(bond) != ZMR3_ANGLE || !angle || !angle->GetPlaneGeom())
        return nullptr;
    return angle->GetPlaneGeom()->GetGNode();
}

int FrustumGetHalfSpace(void* node, void* geometry)
{
    ZMR3_half_space side = ZMR3_HALF_SPACE_NONE;
    if (TypedBond* bond = AsTypedBond(node))
        bond->GetHalfSpaceForGeom(AsGeometry(geometry), side);
    return side;
}

int FrustumGetRadiusKind(void* node, void* geometry)
{
    TypedBond* bond = AsTypedBond(node);
    return bond && bond->GetEqualRadiusMinorRadiusForGeom(AsGeometry(geometry)) ? ZMR3_MINOR_RADIUS
                                                                                : ZMR3_MAJOR_RADIUS;
}

int FrustumGetRigid(void* node)
{
    bool rigid = false;
    Bond* bond = AsBond(node);
    return bond && bond->GetRigid(rigid) && rigid ? 1 : 0;
}

int FrustumGetDistanceDirection(void* node, double direction[3], g_node** geometry)
{
    Bond* bond = AsBond(node);
    DirectedDistanceBond* directed = bond ? bond->AsDirectedDistance() : nullptr;
    if (BondType(bond) != ZMR3_DISTANCE || !directed)
        return 0;
    if (directed->GetDirection(direction))
        return 1;
    GeometryBase* third = directed->GetDirectionGeom();
    *geometry = third ? third->GetGNode() : nullptr;
    return 2;
}

void FrustumGetSurfaceParameters(int* uPeriodic, double* uLow, double* uHigh, int* vPeriodic,
                                 double* vLow, double* vHigh, void* node)
{
    GeometryBase* g = AsGeometry(node);
    BQ_PARAM_sf_t params[2];
    if (!g || BQ_SURF_ask_params(g->GetFrustumGeomTag(), params) != BQ_ERROR_no_errors)
        return;
    *uLow = params[0].range.value[0];
    *uHigh = params[0].range.value[1];
    *uPeriodic = params[0].periodic == BQ_PARAM_periodic_yes ? 1 : 0;
    *vLow = params[1].range.value[0];
    *vHigh = params[1].range.value[1];
    *vPeriodic = params[1].periodic == BQ_PARAM_periodic_yes ? 1 : 0;
}

void FrustumEvaluateSurface(double* p, double* du, double* dv, double* duu, double* duv,
                            double* dvv, void* node, double u, double v)
{
    GeometryBase* g = AsGeometry(node);
    BQ_VECTOR_t vectors[6];
    const BQ_UV_t uv = {{u, v}};
    if (!g || BQ_SURF_eval(g->GetFrustumGeomTag(), uv, 2, 2, true, vectors) != BQ_ERROR_no_errors)
        return;
    auto copy = [&vectors](double* out, int index) {
        if (out)
            for (int i = 0; i < 3; ++i)
                out[i] = vectors[index].coord[i];
    };
    if (p) {
        g->GetXform()->TransformPoint(vectors[0].coord);
        copy(p, 0);
    }
    // The derivatives stay in the body's own frame, as the kernel gives them.
    copy(du, 1);
    copy(dv, 3);
    copy(duu, 2);
    copy(duv, 4);
    copy(dvv, 5);
}

// ---- JUN ----

void FrustumGetRelativeTransform(double out[4][4], void* node)
{
    if (RTNode* rt = dynamic_cast<RTNode*>(static_cast<Node*>(node)))
        rt->GetXform().Get4x4(out);
}

int FrustumGetPatternSteps(void* node, void* a, void* b)
{
    PatternConstraint* constraint = dynamic_cast<PatternConstraint*>(AsBond(node));
    if (!constraint)
        return 0;
    GeometryBase* first = constraint->GetGeom(0);
    GeometryBase* second = constraint->GetGeom(1);
    if (first == AsGeometry(a) && second == AsGeometry(b))
        return constraint->GetSteps();
    if (first == AsGeometry(b) && second == AsGeometry(a))
        return -constraint->GetSteps();
    return 0;
}

int FrustumGetRTConstraintFlag(void* node)
{
    RTConstraint* constraint = dynamic_cast<RTConstraint*>(AsBond(node));
    return constraint && constraint->GetFlag() ? 1 : 0;
}

int FrustumGetPatternValue(double* out, void* node)
{
    if (PatternNode* pattern = dynamic_cast<PatternNode*>(static_cast<Node*>(node)))
        *out = pattern->GetStartValue();
    return 1;
}

// ---- KEV ----

int FrustumRegenerateProceduralObject(void* node)
{
    SolverProceduralObject* object =
        dynamic_cast<SolverProceduralObject*>(static_cast<Node*>(node));
    if (!object)
        return KEV_REGENERATED;
    const int regenerated = object->Regenerate();
    // What the geometries read before may have changed in the kernel.
    Solver* solver = object->GetSolver();
    if (solver && solver->GetKernelReading() != 0)
        solver->BeginKernelReading();
    return regenerated;
}

template <class Table>
void SetEntry(Table& table, int index, ZMR3_frustum_fn f)
{
    table.entries[index] = f;
}

}  // namespace

void Solver::RegisterZMRFrustum()
{
    ZMR3_dimension_system* system = m_manager->dimension_system();
    ZMR3_frustum_functions table;
    system->enquire_frustum_functions(&table);
    auto put = [&table](std::initializer_list<int> entries, ZMR3_frustum_fn f) {
        for (int e : entries)
            SetEntry(table, e, f);
    };
    put({0}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetGeomType>::Call));
    put({1, 2, 4, 8, 9, 12},
        ZMR3_frustum_entry(&TimedCallback<&FrustumGetPoint<&GeometryBase::GetLocation>>::Call));
    put({3}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDir<&GeometryBase::GetDirection>>::Call));
    put({5, 10}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDir<&GeometryBase::GetAxis>>::Call));
    put({6, 11, 13}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetRadius>::Call));
    put({7}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDir<&GeometryBase::GetNormal>>::Call));
    put({14}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetConeData>::Call));
    put({15}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetTorusData>::Call));
    put({16}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetEllipseData>::Call));
    put({18}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDType>::Call));
    put({19}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDValue>::Call));
    put({21}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetAnglePlane>::Call));
    put({22, 25}, ZMR3_frustum_entry(&FrustumReturnZero));
    put({24}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetHalfSpace>::Call));
    put({26}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetRadiusKind>::Call));
    put({27, 34, 38, 39, 40, 41, 42, 43, 60, 61, 68, 71, 76, 77},
        ZMR3_frustum_entry(&FrustumDoNothing));
    put({29}, ZMR3_frustum_entry(&FrustumReturnThree));
    put({33}, ZMR3_frustum_entry(&FrustumZeroTwoDoubles));
    put({36}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetRigid>::Call));
    put({37}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetDistanceDirection>::Call));
    put({57}, ZMR3_frustum_entry(&TimedCallback<&FrustumGetSurfaceParameters>::Call));
    put({58}, ZMR3_frustum_entry(&TimedCallback<&FrustumEvaluateSurface>::Call));
    put({59}, ZMR3_frustum_entry(&FrustumZeroTwoInts));
    system->register_frustum_functions(&table);
}

void Solver::RegisterJUNFrustum()
{
    JUN_extended_dimension_system* system = m_manager->extended_dimension_system();
    JUN_frustum_functions table;
    system->enquire_frustum_functions(&table);
    SetEntry(table, JUN_FR_RELATIVE_TRANSFORM,
             ZMR3_frustum_entry(&TimedCallback<&FrustumGetRelativeTransform>::Call));
    SetEntry(table, JUN_FR_PATTERN_STEPS,
             ZMR3_frustum_entry(&TimedCallback<&FrustumGetPatternSteps>::Call));
    SetEntry(table, JUN_FR_RT_CONSTRAINT_FLAG,
             ZMR3_frustum_entry(&TimedCallback<&FrustumGetRTConstraintFlag>::Call));
    SetEntry(table, JUN_FR_PATTERN_VALUE,
             ZMR3_frustum_entry(&TimedCallback<&FrustumGetPatternValue>::Call));
    system->register_frustum_functions(&table);
}

void Solver::RegisterKEVFrustum()
{
    KEV_procedural_feature_manager* manager = m_manager->procedural_feature_manager();
    KEV_frustum_functions table;
    manager->enquire_frustum_functions(&table);
    SetEntry(table, KEV_FR_REGENERATE,
             ZMR3_frustum_entry(&TimedCallback<&FrustumRegenerateProceduralObject>::Call));
    SetEntry(table, KEV_FR_RESERVED, ZMR3_frustum_entry(&TimedCallback<&FrustumReturnZero>::Call));
    manager->register_frustum_functions(&table);
}

}  // namespace QEL
