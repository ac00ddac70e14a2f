#include "SolverFixture.h"

namespace QEL {
namespace testing {
namespace {

using LookupTest = SolverTest;

// The section plane answers in the section instance's frame: carried back by that instance it
// is the plane the key names in world coordinates, whether or not the key has an Instance of
// its own.
TEST_F(LookupTest, ASectionPlaneIsTheKeysPlaneInTheSectionInstancesFrame)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = BlockFace(block, 0, 0, 1);
    Instance* placed = Place(block, Moved(0, 0, 5, 0.3));
    Instance* section = Place(brennik::build::Block(1, 1, 1), Moved(1, 2, 0, M_PI / 2));
    for (Instance* keyInstance : {static_cast<Instance*>(nullptr), placed}) {
        SCOPED_TRACE(keyInstance != nullptr);
        Geometry* world = Geom(top, keyInstance);
        Vec worldPoint;
        Dir worldNormal;
        ASSERT_TRUE(world->GetLocation(worldPoint) && world->GetNormal(worldNormal));

        GeometryBase* plane = m_solver->CreateSectionPlaneTempGeometry(GeometryKey(top, keyInstance), section);
        ASSERT_NE(plane, nullptr);
        EXPECT_EQ(plane->ToString(), "SectionPlane");
        EXPECT_EQ(static_cast<SectionPlane*>(plane)->GetCutInstance(), section);
        EXPECT_EQ(plane->GetInstance(), nullptr);
        Vec point;
        Dir normal;
        ASSERT_TRUE(plane->GetLocation(point) && plane->GetNormal(normal));
        section->GetXform().TransformPoint(point);
        const Dir back = RotateDir(section->GetXform().rotation, normal);
        EXPECT_NEAR(Distance(point, worldPoint), 0.0, 1e-9);
        EXPECT_NEAR(Distance(back, worldNormal), 0.0, 1e-12);
    }
    EXPECT_EQ(m_solver->CreateSectionPlaneTempGeometry(GeometryKey(block, nullptr), section), nullptr);
}

TEST_F(LookupTest, GeometryIsFoundPerInstanceAndSortedByTheClassOfItsEntity)
{
    const int block = brennik::build::Block(10, 20, 30);
    Instance* first = Place(block, Moved(0, 0, 5));
    Instance* second = Place(block, Moved(0, 0, 50));
    const int top = BlockFace(block, 0, 0, 1);
    const int edge = BodyEdges(block)[0];
    int vertexCount = 0;
    int* vertices = nullptr;
    BQ_BODY_ask_vertices(block, &vertexCount, &vertices);
    const int vertex = vertices[0];
    BQ_MEMORY_free(vertices);

    std::list<Geometry*> found;
    EXPECT_FALSE(m_solver->FindGeometry(m_interaction, top, found));
    Geometry* placedSecond = Geom(top, second);
    Geometry* bodyLevel = Geom(top);
    EXPECT_TRUE(m_solver->FindGeometry(m_interaction, top, found));
    EXPECT_EQ(found, (std::list<Geometry*>{bodyLevel, placedSecond}));
    Geometry* placedFirst = Geom(top, first);
    found.clear();
    m_solver->FindGeometry(m_interaction, top, found);
    EXPECT_EQ(found, (std::list<Geometry*>{bodyLevel, placedFirst, placedSecond}));

    Geometry* edgeGeometry = Geom(edge, first);
    Geometry* vertexGeometry = Geom(vertex);
    std::list<Geometry*> faces, edges, points, bare;
    m_solver->GetGeometryEntitiesByClass(faces, edges, points, bare);
    EXPECT_EQ(faces.size(), 3u);
    EXPECT_EQ(edges, std::list<Geometry*>{edgeGeometry});
    EXPECT_EQ(points, std::list<Geometry*>{vertexGeometry});
    EXPECT_TRUE(bare.empty());
}

TEST_F(LookupTest, ABondIsFoundOnlyBetweenItsTwoGeometriesAndOfItsType)
{
    const int block = brennik::build::Block(10, 20, 30);
    Geometry* top = Geom(BlockFace(block, 0, 0, 1));
    Geometry* bottom = Geom(BlockFace(block, 0, 0, -1));
    Geometry* side = Geom(BlockFace(block, 1, 0, 0));
    EXPECT_FALSE(m_solver->FindBondOfGeometries(top, bottom, ZMR3_DISTANCE));
    Bond2(ZMR3_DISTANCE, bottom, top, 30.0);
    Bond2(ZMR3_PERPENDICULAR, top, side, 0.0);
    EXPECT_TRUE(m_solver->FindBondOfGeometries(top, bottom, ZMR3_DISTANCE));
    EXPECT_TRUE(m_solver->FindBondOfGeometries(bottom, top, ZMR3_DISTANCE));
    EXPECT_FALSE(m_solver->FindBondOfGeometries(top, bottom, ZMR3_PARALLEL));
    EXPECT_FALSE(m_solver->FindBondOfGeometries(top, side, ZMR3_DISTANCE));
    EXPECT_TRUE(m_solver->FindBondOfGeometries(side, top, ZMR3_PERPENDICULAR));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
