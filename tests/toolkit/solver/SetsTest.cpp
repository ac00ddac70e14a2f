#include "SolverFixture.h"

#include "solver/SolverObjects.h"

namespace QEL {
namespace testing {
namespace {

class SetTest : public SolverTest {
protected:
    GPoint* Point(double x)
    {
        const double p[3] = {x, 0, 0};
        m_points.emplace_back(new GPoint(m_solver.get(), p, nullptr, nullptr));
        m_points.back()->AddToZMR();
        return m_points.back().get();
    }
    // Removed before the Solver deletes its sets and its dimension system.
    void TearDown() override
    {
        m_points.clear();
        SolverTest::TearDown();
    }

    std::vector<std::unique_ptr<GPoint>> m_points;
};

TEST_F(SetTest, MembershipFollowsTheGeometryAndIsMirroredIntoTheDimensionSystem)
{
    tessik_test::EnableCallLog(true);
    Set* a = Set::CreateSet(m_solver.get());
    Set* b = Set::CreateSet(m_solver.get());
    GPoint* g = Point(0);
    tessik_test::ClearCallLog();

    a->AddGeometry(g);
    b->AddGeometry(g);
    EXPECT_TRUE(a->GetGeometry().empty());
    EXPECT_EQ(b->GetGeometry().count(g), 1u);
    EXPECT_EQ(g->GetSet(), b);
    // Out of a, then into b.
    EXPECT_EQ(tessik_test::CallCount("ZMR3::move_to_set"), 3);

    tessik_test::ClearCallLog();
    b->AddGeometry(g);
    b->UnionSets(b);
    a->RemoveGeometry(g);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::move_to_set"), 0);
    EXPECT_EQ(g->GetSet(), b);

    b->RemoveGeometry(g);
    EXPECT_TRUE(b->GetGeometry().empty());
    EXPECT_EQ(g->GetSet(), nullptr);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::move_to_set"), 1);
    tessik_test::EnableCallLog(false);
}

TEST_F(SetTest, JoiningOneGeometryBringsInEverythingRigidWithIt)
{
    Set* old = Set::CreateSet(m_solver.get());
    Set* target = Set::CreateSet(m_solver.get());
    GPoint* p[3] = {Point(0), Point(1), Point(2)};
    for (GPoint* g : p)
        old->AddGeometry(g);
    GPoint* own = Point(3);
    target->AddGeometry(own);

    target->UnionGeometry(p[1]);
    EXPECT_TRUE(old->GetGeometry().empty());
    ASSERT_EQ(target->GetGeometry().size(), 4u);
    for (GPoint* g : p)
        EXPECT_EQ(g->GetSet(), target);
    // Members stay ordered by node id, oldest first.
    EXPECT_EQ(*target->GetGeometry().begin(), p[0]);

    // A geometry in no Set joins alone.
    GPoint* loose = Point(4);
    old->UnionGeometry(loose);
    EXPECT_EQ(old->GetGeometry().size(), 1u);
    EXPECT_EQ(target->GetGeometry().size(), 4u);
}

// A set moves as one body in a real solve, whether it was filled before or after it entered
// the dimension system; without a set the other face stays.
TEST_F(SetTest, DraggingOneMemberMovesTheWholeSet)
{
    enum Way { NoSet, FilledAfterAdding, FilledBeforeAdding };
    for (Way way : {NoSet, FilledAfterAdding, FilledBeforeAdding}) {
        SCOPED_TRACE(way);
        m_solver.reset(new Solver());
        const int block = brennik::build::Block(10, 20, 30);
        Geometry* top = Geom(BlockFace(block, 0, 0, 1));
        Geometry* side = Geom(BlockFace(block, 1, 0, 0));
        top->AddToZMR();
        side->AddToZMR();
        if (way == FilledAfterAdding) {
            Set* set = Set::CreateSet(m_solver.get());
            set->AddGeometry(top);
            set->AddGeometry(side);
        } else if (way == FilledBeforeAdding) {
            Set* set = new Set(m_solver.get());
            m_solver->AddSet(set);
            set->AddGeometry(top);
            set->AddGeometry(side);
            set->AddToZMR();
        }
        Vec delta(0, 0, 5);
        ASSERT_EQ(m_solver->DragByTranslation(top->GetGNode(), delta), SolveStatusSolved);
        double m[4][4];
        if (way == NoSet) {
            EXPECT_EQ(Change(side), 0);
            continue;
        }
        ASSERT_NE(Change(side, m), 0);
        EXPECT_NEAR(m[0][3], 0.0, 1e-9);
        EXPECT_NEAR(m[1][3], 0.0, 1e-9);
        EXPECT_NEAR(m[2][3], 5.0, 1e-9);
    }
}

TEST_F(SetTest, TheLastReleaseOfARelativeTransformDeletesIt)
{
    RTNode* node = new RTNode(m_solver.get(), Moved(1, 2, 3));
    EXPECT_EQ(node->GetUseCount(), 1);
    EXPECT_EQ(node->Acquire(), 2);
    EXPECT_EQ(node->Release(), 1);
    EXPECT_EQ(node->GetUseCount(), 1);
    double m[4][4];
    node->GetTransform(m);
    EXPECT_EQ(m[0][3] + m[1][3] + m[2][3], 6.0);
    EXPECT_EQ(m[3][0] + m[3][1] + m[3][2], 0.0);
    EXPECT_EQ(m[3][3], 1.0);
    // The sanitizer build reports the node if this release does not free it.
    EXPECT_EQ(node->Release(), 0);
}

TEST_F(SetTest, APatternValueIsZeroUntilTheNodeIsInTheSystem)
{
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0};
    GLine axis(m_solver.get(), o, x, nullptr, nullptr);
    PatternNode pattern(m_solver.get(), &axis, JUN_PATTERN_LINEAR, 2.5);
    EXPECT_EQ(pattern.GetValue(), 0.0);
    EXPECT_EQ(pattern.GetStartValue(), 2.5);
    pattern.AddToZMR();
    EXPECT_TRUE(axis.IsAdded());
    m_solver->SolveSystem();
    EXPECT_DOUBLE_EQ(pattern.GetValue(), 2.5);
    pattern.RemoveFromZMR();
    axis.RemoveFromZMR();
}

TEST_F(SetTest, OrientationLinesAreTwoNonParallelLinesOfTheSet)
{
    const int block = brennik::build::Block();
    const std::vector<int> lines = OfClass(BodyEdges(block), KernelClassLine);
    auto direction = [](int edge) {
        int classCode = 0, curve = 0;
        Geometry::FindConstrainableGeomClassFromEntity(edge, classCode, curve);
        BQ_LINE_sf_t sf;
        BQ_LINE_ask(curve, &sf);
        return MakeDir(Vec(sf.basis_set.axis.coord[0], sf.basis_set.axis.coord[1], sf.basis_set.axis.coord[2]));
    };
    int parallel = 0, across = 0;
    for (size_t i = 1; i < lines.size(); ++i)
        (direction(lines[i]).IsParallel(direction(lines[0])) ? parallel : across) = lines[i];
    const int plate = brennik::build::PlateWithHoles();
    const int circle = OfClass(BodyEdges(plate), KernelClassCircle).front();

    Set* set = Set::CreateSet(m_solver.get());
    std::pair<GeometryBase*, GeometryBase*> made(nullptr, nullptr);
    EXPECT_FALSE(set->MakeOrientation(lines[0], parallel, made));
    EXPECT_FALSE(set->MakeOrientation(lines[0], circle, made));
    EXPECT_TRUE(set->GetGeometry().empty());
    EXPECT_EQ(made.first, nullptr);

    ASSERT_TRUE(set->MakeOrientation(lines[0], across, made));
    EXPECT_EQ(set->GetGeometry().size(), 2u);
    for (GeometryBase* g : {made.first, made.second}) {
        EXPECT_EQ(g->GetSet(), set);
        EXPECT_TRUE(g->IsAdded());
        ZMR3_g_type type;
        EXPECT_TRUE(g->GetGeomType(type));
        EXPECT_EQ(type, ZMR3_G_LINE);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
