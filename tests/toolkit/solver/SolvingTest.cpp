#include "SolverFixture.h"

#include <algorithm>
#include <string>

namespace QEL {
namespace testing {
namespace {

class BlockSolveTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_top = Geom(BlockFace(m_block, 0, 0, 1));
        m_bottom = Geom(BlockFace(m_block, 0, 0, -1));
        m_bottom->AddToZMR();
        m_bottom->Fix(true);
    }
    double TopMove()
    {
        double m[4][4];
        return Change(m_top, m) ? m[2][3] : 0.0;
    }

    int m_block = 0;
    Geometry* m_top = nullptr;
    Geometry* m_bottom = nullptr;
};

TEST_F(BlockSolveTest, ASatisfiedSystemMovesNothing)
{
    Bond2(ZMR3_DISTANCE, m_bottom, m_top, 30.0);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_EQ(Change(m_top), 0);
    EXPECT_EQ(Change(m_bottom), 0);
}

TEST_F(BlockSolveTest, AChangedDistanceMovesTheFreeFaceOnly)
{
    Bond2(ZMR3_DISTANCE, m_bottom, m_top, 42.0);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_NEAR(TopMove(), 12.0, 1e-9);
    EXPECT_EQ(Change(m_bottom), 0);
}

TEST_F(BlockSolveTest, ADragByTranslationMovesTheDraggedFaceByExactlyTheDelta)
{
    m_top->AddToZMR();
    Vec delta(0, 0, 5);
    EXPECT_EQ(m_solver->DragByTranslation(m_top->GetGNode(), delta), SolveStatusSolved);
    EXPECT_NEAR(TopMove(), 5.0, 1e-12);
    // Every later drag starts from the model as it was.
    Vec again(0, 0, -2);
    EXPECT_EQ(m_solver->DragByTranslation(m_top->GetGNode(), again), SolveStatusSolved);
    EXPECT_NEAR(TopMove(), -2.0, 1e-12);
}

// A point held on the fixed bottom plane, dragged up and across: an exact drag cannot get there,
// a loose one goes as far as the plane allows.
TEST_F(BlockSolveTest, AnExactDragThatCannotReachFailsAndALooseOneGetsAsCloseAsAllowed)
{
    for (bool exact : {true, false}) {
        SCOPED_TRACE(exact);
        m_solver.reset(new Solver(nullptr, exact));
        m_bottom = Geom(BlockFace(m_block, 0, 0, -1));
        m_bottom->AddToZMR();
        m_bottom->Fix(true);
        const double p[3] = {1, 1, 0};
        GPoint* point = new GPoint(m_solver.get(), p, nullptr, nullptr);
        Bond2(ZMR3_COINCIDENT, point, m_bottom, 0.0);
        Vec delta(2, 3, 4);
        const SolveStatus status = m_solver->DragByTranslation(point->GetGNode(), delta);
        double m[4][4];
        if (exact) {
            EXPECT_EQ(status, SolveStatusDragRefused);
        } else {
            EXPECT_EQ(status, SolveStatusSolved);
            ASSERT_NE(Change(point, m), 0);
            EXPECT_NEAR(m[0][3], 2.0, 1e-7);
            EXPECT_NEAR(m[1][3], 3.0, 1e-7);
            EXPECT_NEAR(m[2][3], 0.0, 1e-9);
        }
        m_solver.reset();
        delete point;
    }
}

TEST_F(BlockSolveTest, OnlyDragsAfterAnEvaluationUndoItFirst)
{
    m_top->AddToZMR();
    tessik_test::EnableCallLog(true);
    Vec delta(0, 0, 1);
    m_solver->DragByTranslation(m_top->GetGNode(), delta);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::undo_evaluation"), 0);
    m_solver->DragByRadius(nullptr, 1.0);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::undo_evaluation"), 1);
    tessik_test::EnableCallLog(false);
    EXPECT_EQ(m_solver->GetSolveStatus(), SolveStatusDragRefused) << "a drag of nothing is refused";
    EXPECT_EQ(DimensionTypeToString(1, false), "ROT");
    EXPECT_EQ(DimensionTypeToString(3, true), "ZMR3_DT_RADIUS");
    EXPECT_EQ(DimensionTypeToString(7, false), "?");
}

TEST_F(BlockSolveTest, NodeListingsLeadBackToTheToolkitsObjects)
{
    TypedBond* distance = Bond2(ZMR3_DISTANCE, m_bottom, m_top, 30.0);
    TypedBond* radiusless = TypedBond::CreateTypedBond(m_solver.get(), ZMR3_RADIUS, {m_top}, 1.0, nullptr);
    m_solver->AddBond(radiusless);
    std::vector<g_node*> handles;
    const std::vector<GNode*> nodes = m_solver->GetGNodesFromZMR(&handles);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0], m_bottom);
    EXPECT_EQ(handles[1], m_top->GetGNode());
    const std::vector<Bond*> bonds = m_solver->GetBondsFromZMR(nullptr);
    ASSERT_EQ(bonds.size(), 2u);
    EXPECT_EQ(bonds[0], distance);
    EXPECT_EQ(bonds[1], radiusless);
}

// The solve status is the worst problem class found among the node statuses.
TEST_F(BlockSolveTest, TheSolveStatusTakesTheWorstProblemClass)
{
    TypedBond* distance = Bond2(ZMR3_DISTANCE, m_bottom, m_top, 30.0);
    struct Case {
        int gStatus;  // forced on the top face; -1 for none
        int dStatus;  // forced on the distance; -1 for none
        SolveStatus expected;
    } cases[] = {
        {-1, -1, SolveStatusSolved},  {12, -1, SolveStatusNotEvaluated}, {12, 9, SolveStatusClassD},
        {2, 9, SolveStatusClassA},    {7, -1, SolveStatusClassC},        {-1, 3, SolveStatusClassB},
        {5, 1, SolveStatusClassA},    {8, 10, SolveStatusSolved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.gStatus << " " << c.dStatus);
        if (c.gStatus >= 0)
            tessik_test::ForceGNodeStatus(m_top, c.gStatus);
        if (c.dStatus >= 0)
            tessik_test::ForceDNodeStatus(distance, c.dStatus);
        EXPECT_EQ(m_solver->SolveSystem(), c.expected);
    }
}

// A radius cannot be held on a plane; the failure is the radius's own, and shows in the status.
TEST_F(BlockSolveTest, AFailingOneGeometryDimensionFailsTheSolve)
{
    m_solver->AddBond(TypedBond::CreateTypedBond(m_solver.get(), ZMR3_RADIUS, {m_top}, 2.0, nullptr));
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusClassB);
    EXPECT_EQ(m_solver->GetDimensionSystem()->status(m_top->GetGNode()), ZMR3_G_STATUS_UNSUPPORTED_DIMENSION);
}

// The turned part's cone, fixed, and a free plane that starts near one of its lines: tangency
// brings the plane onto the line.
TEST_F(SolverTest, APlaneTangentToAConeIsSolvedOntoALineOfIt)
{
    const int part = brennik::build::TurnedPart();
    Geometry* cone = Geom(OfClass(BodyFaces(part), KernelClassCone)[0]);
    cone->AddToZMR();
    cone->Fix(true);
    const double length = std::sqrt(116.0);
    Geometry* plane = Geom(brennik::build::FreePlane(12.4, 0.0, 30.0, 10.0 / length + 0.01, 0.0, 4.0 / length));
    Bond2(ZMR3_TANGENT, plane, cone, 0.0);
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    double m[4][4];
    ASSERT_NE(Change(plane, m), 0);
    // The plane's new place holds the apex and lies at the half angle to the axis.
    Vec location;
    Dir normal;
    ASSERT_TRUE(plane->GetLocation(location) && plane->GetNormal(normal));
    const Xform moved(m);
    moved.TransformPoint(location);
    const Dir turned = RotateDir(moved.rotation, normal);
    EXPECT_NEAR(Dot(turned, Vec(0, 0, 60) - location), 0.0, 1e-8);
    EXPECT_NEAR(std::abs(turned.z), std::sin(std::atan(0.4)), 1e-10);
}

TEST_F(SolverTest, AnEmptySystemSolves)
{
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
}

// One face placed twice: its body-level geometry and both placed ones read the face's plane
// once per evaluation, each still answering in its own place, and the face's and the plane's
// classes are known from when the geometries were made; an alternative plane given to one of
// them is that geometry's alone.
TEST_F(SolverTest, TheGeometriesOfOneFaceShareEachEvaluationsReadOfIt)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = BlockFace(block, 0, 0, 1);
    Geometry* low = Geom(top, Place(block, Moved(0, 0, 0)));
    Geometry* high = Geom(top, Place(block, Moved(0, 0, 100)));
    low->AddToZMR();
    low->Fix(true);
    Bond2(ZMR3_DISTANCE, low, high, 105.0);
    auto calls = [](const char* name) {
        const std::vector<std::string>& log = brennik::test::CallLog();
        return std::count(log.begin(), log.end(), std::string(name));
    };
    brennik::test::ClearCallLog();
    brennik::test::EnableCallLog(true);
    const SolveStatus first = m_solver->SolveSystem();
    const long planeReads = calls("BQ_PLANE_ask");
    const long classReads = calls("BQ_ENTITY_ask_class");
    brennik::test::EnableCallLog(false);
    ASSERT_EQ(first, SolveStatusSolved);
    EXPECT_EQ(planeReads, 1);
    EXPECT_EQ(classReads, 0) << "no class is asked again";
    EXPECT_NEAR(Translation(high).z, 5.0, 1e-9);
    EXPECT_EQ(Change(low), 0);

    // The alternative sits 10 above the face in the body's frame: the gap now closes by 5.
    BQ_PLANE_sf_t sf = {{{{0, 0, 40}}, {{0, 0, 1}}, {{1, 0, 0}}}};
    int plane = 0;
    ASSERT_EQ(BQ_PLANE_create(&sf, &plane), BQ_ERROR_no_errors);
    high->SetAltGeom(plane);
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_NEAR(Translation(high).z, -5.0, 1e-9);
    EXPECT_EQ(Change(low), 0);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
