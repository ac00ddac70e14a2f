#include "SolverFixture.h"

#include "solver/OffsetFacesOp.h"

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

}  // namespace
}  // namespace testing
}  // namespace QEL
