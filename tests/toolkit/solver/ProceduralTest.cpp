#include "SolverFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "solver/operations/OffsetFacesOp.h"

namespace QEL {
namespace testing {
namespace {

std::vector<int> FaceEdges(int face)
{
    int count = 0;
    int* edges = nullptr;
    BQ_FACE_ask_edges(face, &count, &edges);
    std::vector<int> out(edges, edges + count);
    BQ_MEMORY_free(edges);
    return out;
}

class OffsetTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block();
        m_top = BlockFace(m_block, 0, 0, 1);
        m_operation.reset(new OffsetFacesOp(m_interaction, {m_top}, 1));
        ASSERT_TRUE(m_operation->SetOffsetValues({2.0}));
        m_solver->AddOffsetFacesOp(m_operation.get());
    }
    void TearDown() override
    {
        m_solver.reset();
        m_operation.reset();
        SolverTest::TearDown();
    }
    // A loose point held on the top face.
    GPoint* PointOnTop()
    {
        const double p[3] = {5, 5, 30};
        GPoint* point = new GPoint(m_solver.get(), p, nullptr, nullptr);
        m_solver->AddConstruction(point);
        Bond2(ZMR3_COINCIDENT, point, Geom(m_top), 0.0);
        return point;
    }

    int m_block = 0;
    int m_top = 0;
    std::unique_ptr<OffsetFacesOp> m_operation;
};

TEST_F(OffsetTest, AnOffsetFaceGetsTheOffsetObjectsProceduralGeometry)
{
    SolverOffset* offset = m_solver->FindSolverOffset(m_operation.get());
    ASSERT_NE(offset, nullptr);
    EXPECT_EQ(m_solver->FindSolverOffset(nullptr), nullptr);
    EXPECT_TRUE(offset->IsFixed());

    Geometry* top = Geom(m_top);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->IsProceduralGNode());
    EXPECT_EQ(Geom(m_top), top);
    EXPECT_EQ(offset->GetProceduralGeometryBaseSet().count(top), 1u);
    EXPECT_FALSE(Geom(BlockFace(m_block, 0, 0, -1))->IsProceduralGNode());

    // An edge or vertex of an offset face uses the offset too; the bottom face's do not.
    struct Case {
        int entity;
        bool using_;
    };
    const int topEdge = FaceEdges(m_top).front();
    int bottomEdge = 0;
    for (int edge : FaceEdges(BlockFace(m_block, 0, 0, -1)))
        bottomEdge = edge;
    for (const Case& c : {Case{m_top, true}, Case{topEdge, true}, Case{bottomEdge, false},
                          Case{BlockFace(m_block, 0, 0, -1), false}}) {
        SCOPED_TRACE(c.entity);
        EXPECT_EQ(m_solver->IsUsingProceduralObject(m_interaction, c.entity, false, false), c.using_);
    }
}

TEST_F(OffsetTest, SolvingRegeneratesTheOffsetAndWhatIsTiedToItFollows)
{
    GPoint* point = PointOnTop();
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    Vec location;
    ASSERT_TRUE(Geom(m_top)->GetLocation(location));
    EXPECT_NEAR(location.z, 32.0, 1e-12);
    double m[4][4];
    ASSERT_NE(Change(point, m), 0);
    EXPECT_NEAR(m[2][3], 2.0, 1e-9);
}

// An edit deletes the offset surfaces its faces name before it solves again: the faces must be
// regenerated before the system reads them, or they answer dead geometry.
TEST_F(OffsetTest, FacesNamingDeletedOffsetSurfacesAreRegeneratedBeforeTheyAreRead)
{
    GPoint* point = PointOnTop();
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    int dead = Geom(m_top)->GetAltGeom();
    ASSERT_NE(dead, 0);
    m_operation->DeleteOffsetSurfaces();
    ASSERT_EQ(BQ_ENTITY_delete(1, &dead), BQ_ERROR_no_errors);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_NE(Geom(m_top)->GetAltGeom(), dead);
    ZMR3_g_type type;
    EXPECT_TRUE(Geom(m_top)->GetGeomType(type));
    EXPECT_EQ(type, ZMR3_G_PLANE);
    double m[4][4];
    ASSERT_NE(Change(point, m), 0);
    EXPECT_NEAR(m[0][3], 0.0, 1e-9);
    EXPECT_NEAR(m[1][3], 0.0, 1e-9);
    EXPECT_NEAR(m[2][3], 2.0, 1e-9);
}

TEST_F(OffsetTest, AnOffsetTheKernelCannotMakeFailsTheSolveAsARegenerationFailure)
{
    EXPECT_FALSE(m_operation->SetOffsetValues({1.0, 2.0}));
    const int plate = brennik::build::PlateWithHoles();
    const std::vector<int> holes = OfClass(BodyFaces(plate), KernelClassCylinder);
    ASSERT_FALSE(holes.empty());
    int surface = 0;
    bool agrees = true;
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(holes.front(), &surface, &agrees), BQ_ERROR_no_errors);
    // Far enough inwards to collapse the hole's cylinder.
    OffsetFacesOp collapse(m_interaction, {holes.front()}, 1);
    collapse.SetOffsetValues({agrees ? -1000.0 : 1000.0});
    m_solver.reset(new Solver());
    m_solver->AddOffsetFacesOp(&collapse);
    ASSERT_NE(Geom(holes.front()), nullptr);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusClassC);
    EXPECT_EQ(collapse.GetResult(), ResultTypeOffsetFaceCausedSelfIntersection);
    m_solver.reset();
}

// The edit's own solve slot: it enters the offset object through AddToSolver, replaces the last
// solve's surfaces with fresh ones, answers the kernel's failure as its result, and leaves the
// partition that was current before current again, whichever partition that was.
TEST_F(OffsetTest, TheSolveSlotMakesFreshSurfacesInItsPartitionAndReportsFailures)
{
    m_solver.reset(new Solver());
    m_operation->AddToSolver(m_solver.get());
    ASSERT_NE(m_solver->FindSolverOffset(m_operation.get()), nullptr);
    GPoint* point = PointOnTop();
    int elsewhere = 0;
    ASSERT_EQ(BQ_PARTITION_create_empty(&elsewhere), BQ_ERROR_no_errors);
    ASSERT_EQ(BQ_PARTITION_set_current(elsewhere), BQ_ERROR_no_errors);

    ASSERT_EQ(m_operation->Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Translation(point), Vec(0, 0, 2)), 1e-9);
    const int first = Geom(m_top)->GetAltGeom();
    ASSERT_NE(first, 0);
    int partition = 0;
    BQ_SESSION_ask_curr_partition(&partition);
    EXPECT_EQ(partition, elsewhere);

    ASSERT_TRUE(m_operation->SetOffsetValues({3.0}));
    ASSERT_EQ(m_operation->Solve(m_solver.get()), ResultTypeOk);
    EXPECT_NE(Geom(m_top)->GetAltGeom(), first);
    int cls = 0;
    EXPECT_NE(BQ_ENTITY_ask_class(first, &cls), BQ_ERROR_no_errors) << "the first surface outlived its solve";
    EXPECT_LT(Distance(Translation(point), Vec(0, 0, 3)), 1e-9);

    const int plate = brennik::build::PlateWithHoles();
    const int hole = OfClass(BodyFaces(plate), KernelClassCylinder).front();
    int surface = 0;
    bool agrees = true;
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(hole, &surface, &agrees), BQ_ERROR_no_errors);
    OffsetFacesOp collapse(m_interaction, {hole}, 1);
    collapse.SetOffsetValues({agrees ? -1000.0 : 1000.0});
    Solver solver;
    collapse.AddToSolver(&solver);
    ASSERT_NE(solver.GetOrMakeGeometry(GeometryKey(hole, nullptr)), nullptr);
    EXPECT_EQ(collapse.Solve(&solver), ResultTypeOffsetFaceCausedSelfIntersection);
    BQ_SESSION_ask_curr_partition(&partition);
    EXPECT_EQ(partition, elsewhere);
}

// A face on a wall of a hollow box has the faces of the wall's other side as partners: they
// follow its offset by kind, and a new wall thickness becomes the offsets that reach it.
TEST(ShellOffsetTest, PartnersOfAWallFollowTheOffsetByKind)
{
    brennik::test::RestartSession();
    Interaction* interaction = new Interaction(CreateTypeLive);
    const int box = brennik::build::ThinWalledBox(1.0);
    const int block = brennik::build::Block();
    int wall = 0;
    std::vector<int> side, partners;
    double thickness = 0.0;
    for (int face : BodyFaces(box))
        if (!wall && FindShellCluster(face, &side, &partners, &thickness) && !partners.empty())
            wall = face;
    ASSERT_NE(wall, 0);
    ASSERT_NEAR(thickness, 1.0, 1e-9);
    const int plain = BlockFace(block, 0, 0, 1);

    struct Case {
        int kind;
        double partnerOffset;  // for a face offset by 0.4
        double offsetForThickness;  // for a new thickness of 1.5
    };
    for (const Case& c : {Case{1, -0.4, 1.5}, Case{2, 0.0, 0.5}, Case{3, 0.4, 0.25}}) {
        SCOPED_TRACE(c.kind);
        OffsetFacesOp operation(interaction, {wall, plain}, c.kind);
        EXPECT_NEAR(operation.GetShellThickness(wall), 1.0, 1e-9);
        EXPECT_EQ(operation.GetShellThickness(plain), 0.0);
        ASSERT_TRUE(operation.SetOffsetValues({0.4, 0.7}));
        std::map<int, double> expected;
        for (int partner : partners)
            expected[partner] = c.partnerOffset;
        EXPECT_EQ(operation.GetPartnerOffsets(), expected);

        ASSERT_EQ(operation.SetDragValue(1.5), ResultTypeOk);
        EXPECT_DOUBLE_EQ(operation.GetOffsets()[0], c.offsetForThickness);
        // A face on no wall keeps its offset under a thickness edit.
        EXPECT_DOUBLE_EQ(operation.GetOffsets()[1], c.kind == 1 ? 1.5 : 0.7);

        // The partners are driven by the offset object and follow it in a solve: the wall
        // keeps its thickness under an offset and takes the new one under a thickness edit.
        Solver solver;
        solver.AddOffsetFacesOp(&operation);
        Geometry* wallGeometry = solver.GetOrMakeGeometry(GeometryKey(wall, nullptr));
        Geometry* partnerGeometry = solver.GetOrMakeGeometry(GeometryKey(partners.front(), nullptr));
        ASSERT_NE(wallGeometry, nullptr);
        ASSERT_NE(partnerGeometry, nullptr);
        ASSERT_EQ(solver.SolveSystem(), SolveStatusSolved);
        Vec onWall, onPartner;
        Dir normal;
        ASSERT_TRUE(wallGeometry->GetLocation(onWall) && partnerGeometry->GetLocation(onPartner) &&
                    wallGeometry->GetNormal(normal));
        EXPECT_NEAR(std::abs(Dot(onWall - onPartner, normal)), c.kind == 1 ? 1.0 : 1.5, 1e-9);
        OffsetFacesOp::SeedList seeds;
        operation.GetConfigureSeeds(seeds);
        std::set<int> never, forced{plain};
        operation.GetChangedFaces(forced, never);
        EXPECT_TRUE(forced.empty());
        for (int partner : partners) {
            EXPECT_TRUE(solver.IsUsingProceduralObject(interaction, partner, false, false));
            EXPECT_NE(std::find(seeds.begin(), seeds.end(), GeometryKey(partner, nullptr)), seeds.end());
            EXPECT_EQ(never.count(partner), 1u);
        }

        // A thickness edit to the present thickness moves the wall face nowhere.
        if (c.kind != 1) {
            operation.SetDragValue(1.0);
            EXPECT_DOUBLE_EQ(operation.GetOffsets()[0], 0.0);
        }
        operation.ResetDragValues();
        EXPECT_EQ(operation.GetOffsets(), std::vector<double>(2, 0.0));
        for (const auto& partner : operation.GetPartnerOffsets())
            EXPECT_EQ(partner.second, 0.0);
    }
    interaction->Destroy();
    brennik::test::Reset();
}

}  // namespace
}  // namespace testing
}  // namespace QEL
