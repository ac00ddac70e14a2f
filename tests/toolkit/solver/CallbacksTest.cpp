#include "SolverFixture.h"

#include "core/support/Timer.h"

namespace QEL {
namespace testing {
namespace {

// The Solver's tables as the dimension system holds them, called as the system calls them.
class CallbackTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_solver->GetDimensionSystem()->enquire_frustum_functions(&m_zmr);
        m_solver->GetManager()->extended_dimension_system()->enquire_frustum_functions(&m_jun);
        m_solver->GetManager()->procedural_feature_manager()->enquire_frustum_functions(&m_kev);
    }
    template <class F>
    F Zmr(int index)
    {
        return reinterpret_cast<F>(m_zmr.entries[index]);
    }

    ZMR3_frustum_functions m_zmr;
    JUN_frustum_functions m_jun;
    KEV_frustum_functions m_kev;
};

TEST_F(CallbackTest, ConeDataOfAPlaneIsZerosWithTheRadiusUntouched)
{
    const double o[3] = {1, 2, 3}, z[3] = {0, 0, 1};
    GPlane plane(m_solver.get(), o, z, nullptr, nullptr);
    double location[3] = {9, 9, 9}, axis[3] = {9, 9, 9}, radius = 4.0, sine = 9, cosine = 9;
    Zmr<ZMR3_cone_data_fn>(ZMR3_FR_CONE_DATA)(&plane, location, axis, &radius, &sine, &cosine);
    EXPECT_EQ(location[0] + location[1] + location[2] + axis[0] + axis[1] + axis[2], 0.0);
    EXPECT_EQ(radius, 4.0);
    EXPECT_EQ(sine, 0.0);
    EXPECT_EQ(cosine, 1.0);
    EXPECT_EQ(Zmr<ZMR3_int_of_node_fn>(ZMR3_FR_GEOM_TYPE)(&plane), ZMR3_G_PLANE);
    double normal[3];
    Zmr<ZMR3_vector_of_node_fn>(ZMR3_FR_PLANE_NORMAL)(normal, &plane);
    EXPECT_EQ(normal[2], 1.0);
}

TEST_F(CallbackTest, AnsweringCallbacksAddTheirTimeToTheProcessTotalAndStubsDoNot)
{
    const double o[3] = {1, 2, 3}, z[3] = {0, 0, 1};
    GPlane plane(m_solver.get(), o, z, nullptr, nullptr);
    auto stub = reinterpret_cast<void (*)()>(m_zmr.entries[27]);
    const double before = Timer::GetTotal();
    for (int i = 0; i < 100; ++i)
        stub();
    EXPECT_EQ(Timer::GetTotal(), before);
    double normal[3];
    for (int i = 0; i < 100; ++i)
        Zmr<ZMR3_vector_of_node_fn>(ZMR3_FR_PLANE_NORMAL)(normal, &plane);
    EXPECT_GT(Timer::GetTotal(), before);
    const double afterZmr = Timer::GetTotal();
    auto regenerate = reinterpret_cast<KEV_regenerate_fn>(m_kev.entries[KEV_FR_REGENERATE]);
    for (int i = 0; i < 100; ++i)
        regenerate(&plane);
    EXPECT_GT(Timer::GetTotal(), afterZmr);
}

TEST_F(CallbackTest, BondEntriesAnswerFromTheBond)
{
    const double o[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    GCircle a(m_solver.get(), o, 1.0, z, nullptr, nullptr), b(m_solver.get(), o, 2.0, z, nullptr, nullptr);
    GCircle stranger(m_solver.get(), o, 3.0, z, nullptr, nullptr);
    std::unique_ptr<TypedBond> equal(TypedBond::CreateBinary(m_solver.get(), ZMR3_EQUAL_RADIUS, &a, &b, 0.0));
    equal->SetEqualRadiusMinorRadiusForGeom(1);
    auto kind = Zmr<ZMR3_int_of_bond_and_geom_fn>(ZMR3_FR_RADIUS_KIND);
    EXPECT_EQ(kind(equal.get(), &b), ZMR3_MINOR_RADIUS);
    EXPECT_EQ(kind(equal.get(), &a), ZMR3_MAJOR_RADIUS);
    EXPECT_EQ(kind(equal.get(), &stranger), ZMR3_MAJOR_RADIUS);

    std::unique_ptr<TypedBond> plain(TypedBond::CreateBinary(m_solver.get(), ZMR3_DISTANCE, &a, &b, 7.5));
    plain->SetRigid(false);
    plain->SetHalfSpaceForGeom(0, ZMR3_HALF_SPACE_POSITIVE);
    EXPECT_EQ(Zmr<ZMR3_int_of_node_fn>(ZMR3_FR_D_TYPE)(plain.get()), ZMR3_DISTANCE);
    EXPECT_EQ(Zmr<ZMR3_double_of_node_fn>(ZMR3_FR_D_VALUE)(plain.get()), 7.5);
    EXPECT_EQ(Zmr<ZMR3_int_of_node_fn>(ZMR3_FR_RIGID)(plain.get()), 0);
    EXPECT_EQ(Zmr<ZMR3_int_of_bond_and_geom_fn>(ZMR3_FR_HALF_SPACE)(plain.get(), &a), ZMR3_HALF_SPACE_POSITIVE);
    double direction[3] = {9, 9, 9};
    g_node* node = reinterpret_cast<g_node*>(&a);
    auto distanceDirection = Zmr<ZMR3_distance_direction_fn>(ZMR3_FR_DISTANCE_DIRECTION);
    EXPECT_EQ(distanceDirection(plain.get(), direction, &node), 0);
    EXPECT_EQ(direction[0], 9.0);
    EXPECT_EQ(node, reinterpret_cast<g_node*>(&a)) << "a plain distance writes nothing";

    std::unique_ptr<DirectedDistanceBond> directed(
        DirectedDistanceBond::CreateDirectedDistanceBond(m_solver.get(), ZMR3_DISTANCE, {&a, &b, &stranger}, 1.0));
    stranger.AddToZMR();
    EXPECT_EQ(distanceDirection(directed.get(), direction, &node), 2);
    EXPECT_EQ(node, stranger.GetGNode());
    const double along[3] = {0, 1, 0};
    directed->SetDirection(along);
    EXPECT_EQ(distanceDirection(directed.get(), direction, &node), 1);
    EXPECT_EQ(direction[1], 1.0);
    stranger.RemoveFromZMR();
}

TEST_F(CallbackTest, PatternStepsTurnSignWithTheOrderAsked)
{
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, z[3] = {0, 0, 1};
    GLine axis(m_solver.get(), o, x, nullptr, nullptr);
    GPlane a(m_solver.get(), o, x, nullptr, nullptr), b(m_solver.get(), z, x, nullptr, nullptr);
    GPlane other(m_solver.get(), z, z, nullptr, nullptr);
    PatternNode pattern(m_solver.get(), &axis, JUN_PATTERN_LINEAR, 2.5);
    std::unique_ptr<PatternConstraint> constraint(PatternConstraint::CreatePatternConstraint(m_solver.get(), &pattern, 3, {&a, &b}));
    EXPECT_EQ(PatternConstraint::CreatePatternConstraint(m_solver.get(), &pattern, 3, {&a}), nullptr);
    auto steps = reinterpret_cast<JUN_pattern_steps_fn>(m_jun.entries[JUN_FR_PATTERN_STEPS]);
    EXPECT_EQ(steps(constraint.get(), &a, &b), 3);
    EXPECT_EQ(steps(constraint.get(), &b, &a), -3);
    EXPECT_EQ(steps(constraint.get(), &a, &other), 0);
    double value = 0.0;
    EXPECT_EQ(reinterpret_cast<JUN_pattern_value_fn>(m_jun.entries[JUN_FR_PATTERN_VALUE])(&value, &pattern), 1);
    EXPECT_EQ(value, 2.5);

    RTNode rt(m_solver.get(), Moved(1, 2, 3));
    double matrix[4][4];
    reinterpret_cast<JUN_relative_transform_fn>(m_jun.entries[JUN_FR_RELATIVE_TRANSFORM])(matrix, &rt);
    EXPECT_EQ(matrix[0][3] + matrix[1][3] + matrix[2][3], 6.0);
    std::unique_ptr<RTConstraint> tie(RTConstraint::CreateRTConstraint(m_solver.get(), &rt, {&a, &b}, true));
    EXPECT_EQ(reinterpret_cast<JUN_rt_constraint_flag_fn>(m_jun.entries[JUN_FR_RT_CONSTRAINT_FLAG])(tie.get()), 1);
    EXPECT_EQ(reinterpret_cast<JUN_rt_constraint_flag_fn>(m_jun.entries[JUN_FR_RT_CONSTRAINT_FLAG])(constraint.get()), 0);
}

TEST_F(CallbackTest, RegenerationAnswersWhatTheProceduralObjectReports)
{
    struct Failing : SolverProceduralObject {
        using SolverProceduralObject::SolverProceduralObject;
        int Regenerate() override { return KEV_REGENERATION_FAILED; }
    };
    Failing failing(m_solver.get());
    SolverProceduralObject plain(m_solver.get());
    auto regenerate = reinterpret_cast<KEV_regenerate_fn>(m_kev.entries[KEV_FR_REGENERATE]);
    EXPECT_EQ(regenerate(&failing), KEV_REGENERATION_FAILED);
    EXPECT_EQ(regenerate(&plain), KEV_REGENERATED);
}

// A surface evaluation places the point by the geometry's transform; other outputs stay untouched.
TEST_F(CallbackTest, SurfaceEvaluationPlacesOnlyThePointAsked)
{
    const int block = brennik::build::Block();
    Instance* placed = Place(block, Moved(100, 0, 0));
    Geometry* top = Geom(BlockFace(block, 0, 0, 1), placed);
    int uPeriodic = 9, vPeriodic = 9;
    double uLow = 0, uHigh = 0, vLow = 0, vHigh = 0;
    reinterpret_cast<void (*)(int*, double*, double*, int*, double*, double*, void*)>(
        m_zmr.entries[ZMR3_FR_SURFACE_PARAMETERS])(&uPeriodic, &uLow, &uHigh, &vPeriodic, &vLow, &vHigh, top);
    EXPECT_EQ(uPeriodic, 0);
    EXPECT_EQ(vPeriodic, 0);
    double point[3] = {0, 0, 0};
    reinterpret_cast<void (*)(double*, double*, double*, double*, double*, double*, void*, double, double)>(
        m_zmr.entries[ZMR3_FR_EVALUATE_SURFACE])(point, nullptr, nullptr, nullptr, nullptr, nullptr, top, 0.0, 0.0);
    Vec location;
    ASSERT_TRUE(top->GetLocation(location));
    EXPECT_NEAR(point[2], 30.0, 1e-12);
    EXPECT_GT(point[0], 50.0) << "the point is placed by the instance";
}

}  // namespace
}  // namespace testing
}  // namespace QEL
