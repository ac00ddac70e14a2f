// Tipping points: a vertex held on the faces around it, and taking the point out again.
#include "SolverFixture.h"

#include "solver/TippingPointData.h"

#include <algorithm>

namespace QEL {
namespace testing {
namespace {

class TippingPointTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        int count = 0;
        int* vertices = nullptr;
        BQ_FACE_ask_vertices(m_top, &count, &vertices);
        // A corner of the top face that the side face shares.
        int sideCount = 0;
        int* sideVertices = nullptr;
        BQ_FACE_ask_vertices(m_side, &sideCount, &sideVertices);
        for (int i = 0; i < count && !m_corner; ++i)
            if (std::find(sideVertices, sideVertices + sideCount, vertices[i]) != sideVertices + sideCount)
                m_corner = vertices[i];
        BQ_MEMORY_free(vertices);
        BQ_MEMORY_free(sideVertices);
    }
    bool InBondList(Bond* bond)
    {
        const std::list<Bond*>& bonds = *m_solver->GetBondList();
        return std::find(bonds.begin(), bonds.end(), bond) != bonds.end();
    }
    int CountD() { return m_solver->GetDimensionSystem()->list_d_nodes(0, nullptr, nullptr); }

    int m_corner = 0;
};

TEST_F(TippingPointTest, APointHeldOnTwoFacesIsTakenOutWithItsBonds)
{
    ASSERT_NE(m_corner, 0);
    TippingPointData onTop(m_corner, m_top, true), onSide(m_corner, m_side, true);
    m_solver->AddTippingPoint(onTop, m_interaction);
    m_solver->AddTippingPoint(onSide, m_interaction);
    Geometry* point = m_solver->FindGeometry(GeometryKey(m_corner, nullptr));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(onTop.GetGeometry(), point);
    EXPECT_EQ(onSide.GetGeometry(), point);
    ASSERT_NE(onTop.GetBond(), nullptr);
    ASSERT_NE(onSide.GetBond(), nullptr);
    EXPECT_TRUE(InBondList(onTop.GetBond()));
    EXPECT_TRUE(m_solver->FindBondOfGeometries(point, m_solver->FindGeometry(GeometryKey(m_side, nullptr)),
                                               ZMR3_COINCIDENT));
    // The corner lies on both faces: nothing moves.
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    const int before = CountD();

    std::vector<TippingPointData*> records{&onTop, &onSide};
    EXPECT_TRUE(m_solver->RemoveTippingPoints(records));
    EXPECT_EQ(CountD(), before - 2);
    EXPECT_EQ(m_solver->FindGeometry(GeometryKey(m_corner, nullptr)), nullptr);
    for (TippingPointData* record : records) {
        EXPECT_EQ(record->GetBond(), nullptr);
        EXPECT_EQ(record->GetGeometry(), nullptr);
    }
    EXPECT_TRUE(m_solver->GetBondList()->empty());
    // Removed once: the records hold nothing more to remove.
    EXPECT_FALSE(m_solver->RemoveTippingPoints(records));
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
}

TEST_F(TippingPointTest, RecordsThatDoNotShareOneGeometryRemoveNothing)
{
    ASSERT_NE(m_corner, 0);
    // Without the make-geometry flag the Solver keeps nothing in the record.
    TippingPointData kept(m_corner, m_top, true), unkept(m_corner, m_side, false);
    m_solver->AddTippingPoint(kept, m_interaction);
    m_solver->AddTippingPoint(unkept, m_interaction);
    EXPECT_EQ(unkept.GetGeometry(), nullptr);
    EXPECT_EQ(unkept.GetBond(), nullptr);
    EXPECT_EQ(m_solver->GetBondList()->size(), 2u);

    std::vector<TippingPointData*> none;
    std::vector<TippingPointData*> mixed{&kept, &unkept};
    std::vector<TippingPointData*> reversed{&unkept, &kept};
    for (std::vector<TippingPointData*>* records : {&none, &mixed, &reversed}) {
        EXPECT_FALSE(m_solver->RemoveTippingPoints(*records));
        EXPECT_EQ(m_solver->GetBondList()->size(), 2u);
        EXPECT_NE(kept.GetBond(), nullptr);
        EXPECT_NE(m_solver->FindGeometry(GeometryKey(m_corner, nullptr)), nullptr);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
