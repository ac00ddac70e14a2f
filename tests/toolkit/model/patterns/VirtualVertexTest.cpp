// Virtual vertices: the pivot solve on the real solver, where the point is made, what goes with
// the vertex, validity with a lost point reference, the pivot searches and the file form.
#include "PatternFixture.h"

#include "model/references/VirtualVertex.h"

namespace QEL {
namespace testing {
namespace {

class VirtualVertexTest : public PatternTest {
protected:
    void SetUp() override
    {
        PatternTest::SetUp();
        m_corner = brennik::build::BlockWithBlendedCorner(2.0);
        m_defining = {Reference::Create(m_interaction, FaceAt(m_corner, 1, 0, 0, 10), nullptr),
                      Reference::Create(m_interaction, FaceAt(m_corner, 0, 1, 0, 20), nullptr),
                      Reference::Create(m_interaction, FaceAt(m_corner, 0, 0, 1, 30), nullptr)};
        for (Reference* reference : m_defining)
            ASSERT_NE(reference, nullptr);
    }
    static Position PointOf(int point)
    {
        BQ_POINT_sf_t form{};
        EXPECT_EQ(BQ_POINT_ask(point, &form), 0);
        return Position(form.position.coord[0], form.position.coord[1], form.position.coord[2]);
    }
    // The body's vertex at the position.
    static int VertexAt(int body, double x, double y, double z)
    {
        int count = 0;
        int* vertices = nullptr;
        BQ_BODY_ask_vertices(body, &count, &vertices);
        int found = 0;
        for (int i = 0; i < count && found == 0; ++i) {
            Position at;
            if (GetVertexPosition(&vertices[i], &at) && std::fabs(at.x - x) < 1e-9 && std::fabs(at.y - y) < 1e-9 &&
                std::fabs(at.z - z) < 1e-9)
                found = vertices[i];
        }
        BQ_MEMORY_free(vertices);
        return found;
    }

    int m_corner = 0;
    std::vector<Reference*> m_defining;
    const double m_seed[3] = {9.0, 19.0, 29.0};
};

TEST_F(VirtualVertexTest, BlendedCornerPointLandsWhereTheThreePlanesMeet)
{
    VirtualVertex* vertex = VirtualVertex::Create(m_interaction, m_defining, m_seed);
    ASSERT_NE(vertex, nullptr);
    const Position at = PointOf(vertex->GetVirtualPoint());
    EXPECT_NEAR(at.x, 10.0, 1e-8);
    EXPECT_NEAR(at.y, 20.0, 1e-8);
    EXPECT_NEAR(at.z, 30.0, 1e-8);
    EXPECT_EQ(GetOwningBody(vertex->GetVirtualPoint()), m_corner);
    EXPECT_EQ(vertex->GetDefiningReferenceCount(), 3);
    EXPECT_EQ(vertex->GetDefiningReference(2), m_defining[2]);
    EXPECT_EQ(vertex->GetDefiningReference(3), nullptr);
    EXPECT_EQ(m_defining[0]->GetObjectCount(), 1);
    EXPECT_TRUE(IsValid(vertex));
    EXPECT_TRUE(RoundTripsEqual());
}

TEST_F(VirtualVertexTest, CreateRefusesEmptyAndPlacedDefinitions)
{
    std::vector<Reference*> none;
    EXPECT_EQ(VirtualVertex::Create(m_interaction, none, m_seed), nullptr);
    std::vector<Reference*> placed = m_defining;
    placed[1] = Reference::Create(m_interaction, FaceAt(m_corner, 0, 1, 0, 20),
                                  Instance::Create(m_interaction, m_corner, nullptr));
    EXPECT_EQ(VirtualVertex::Create(m_interaction, placed, m_seed), nullptr);
    EXPECT_TRUE(m_interaction->GetVirtualVertices().empty());
}

TEST_F(VirtualVertexTest, FreePointOfTwoBodiesGoesWithItsReferences)
{
    // The block's y = 20 and z = 30 faces with the blended body's x = 10 face: no common body.
    std::vector<Reference*> defining = {m_defining[0],
                                        Reference::Create(m_interaction, FaceAt(m_block, 0, 1, 0, 20), nullptr),
                                        Reference::Create(m_interaction, FaceAt(m_block, 0, 0, 1, 30), nullptr)};
    VirtualVertex* vertex = VirtualVertex::Create(m_interaction, defining, m_seed);
    ASSERT_NE(vertex, nullptr);
    const int point = vertex->GetVirtualPoint();
    EXPECT_EQ(GetOwningBody(point), 0);
    const int references = m_interaction->CountReferences();
    vertex->Destroy();
    EXPECT_FALSE(IsEntity(point));
    EXPECT_EQ(m_interaction->CountReferences(), references - 1);
    EXPECT_EQ(defining[1]->GetObjectCount(), 0);
}

TEST_F(VirtualVertexTest, LosingThePointReferenceLeavesAValidVertexWithoutPoint)
{
    VirtualVertex* vertex = VirtualVertex::Create(m_interaction, m_defining, m_seed);
    ASSERT_NE(vertex, nullptr);
    vertex->GetPointReference()->Destroy();
    EXPECT_EQ(vertex->GetPointReference(), nullptr);
    EXPECT_EQ(vertex->GetVirtualPoint(), 0);
    m_defining[1]->Destroy();
    EXPECT_EQ(vertex->GetDefiningReferenceCount(), 2);
    EXPECT_TRUE(IsValid(vertex));
    EXPECT_TRUE(RoundTripsEqual());
}

TEST_F(VirtualVertexTest, PivotSearchFindsTheCornerUnderTheBlendsFarthestFirst)
{
    const int origin = VertexAt(m_corner, 0, 0, 0);
    ASSERT_NE(origin, 0);
    std::vector<PivotVertexData> pivots;
    ASSERT_TRUE(VirtualVertexFoundation::s_findPivotPoints(origin, FaceAt(m_corner, 0, 0, 1, 30), pivots, 1e-6));
    ASSERT_FALSE(pivots.empty());
    for (size_t i = 1; i < pivots.size(); ++i)
        EXPECT_GE(pivots[i - 1].m_distance, pivots[i].m_distance);
    const PivotVertexData& farthest = pivots.front();
    EXPECT_TRUE(farthest.m_virtual);
    EXPECT_NEAR(farthest.m_point[0], 10.0, 1e-8);
    EXPECT_NEAR(farthest.m_point[1], 20.0, 1e-8);
    EXPECT_NEAR(farthest.m_point[2], 30.0, 1e-8);
    EXPECT_NEAR(farthest.m_distance, std::sqrt(1400.0), 1e-8);

    // On the plain block only the face's own vertices, measured from the origin.
    std::vector<PivotVertexData> existing;
    ASSERT_TRUE(VirtualVertexFoundation::s_findExisitingPivotPoints(VertexAt(m_block, 0, 0, 0), m_top, existing));
    ASSERT_EQ(existing.size(), 4u);
    EXPECT_NEAR(existing.front().m_distance, std::sqrt(1400.0), 1e-8);
    EXPECT_NEAR(existing.back().m_distance, 30.0, 1e-8);
    EXPECT_FALSE(existing.front().m_virtual);
    EXPECT_EQ(existing.front().m_entities.size(), 3u);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
