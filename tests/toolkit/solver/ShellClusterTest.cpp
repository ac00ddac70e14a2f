// Thin walls in the Solver: the faces of each side move together and the wall keeps its
// thickness through a real solve, on the hollow box and on coaxial cylinders.
#include "SolverFixture.h"

#include "model/operations/ShellClusterData.h"

namespace QEL {
namespace testing {
namespace {

struct BondSeen {
    ZMR3_d_type type;
    double value;
};

class ShellClusterTest : public SolverTest {
protected:
    std::vector<BondSeen> Bonds()
    {
        std::vector<BondSeen> seen;
        for (Bond* bond : *m_solver->GetBondList()) {
            BondSeen one{ZMR3_DISTANCE, 0.0};
            bond->GetType(one.type);
            bond->GetValue(one.value);
            seen.push_back(one);
        }
        return seen;
    }
    double XMove(int face)
    {
        return Translation(m_solver->FindGeometry(GeometryKey(face, nullptr))).x;
    }
};

// The hollow box: outer walls at x = 0 and 40, walls 1 thick, so the inner +X wall is at 39.
class ThinWalledBoxTest : public ShellClusterTest {
protected:
    void SetUp() override
    {
        ShellClusterTest::SetUp();
        m_box = brennik::build::ThinWalledBox(1.0);
        for (int face : OfClass(BodyFaces(m_box), KernelClassPlane)) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (std::abs(normal.x) < 0.5)
                continue;
            if (std::abs(point.x - 40) < 1e-9)
                m_outer = face;
            else if (std::abs(point.x - 39) < 1e-9)
                m_inner = face;
            else if (std::abs(point.x) < 1e-9)
                m_farOuter = face;
        }
        ASSERT_TRUE(m_outer && m_inner && m_farOuter);
    }

    int m_box = 0, m_outer = 0, m_inner = 0, m_farOuter = 0;
};

TEST_F(ThinWalledBoxTest, TheInnerFaceFollowsAMovedOuterFaceAndTheThicknessStays)
{
    m_solver->AddShellCluster(ShellClusterData({m_outer}, {m_inner}, 1.0), m_interaction);
    const std::vector<BondSeen> bonds = Bonds();
    ASSERT_EQ(bonds.size(), 1u) << "one face per side: the thickness alone";
    EXPECT_EQ(bonds[0].type, ZMR3_DISTANCE);
    EXPECT_DOUBLE_EQ(bonds[0].value, 1.0);

    Geometry* outer = m_solver->FindGeometry(GeometryKey(m_outer, nullptr));
    ASSERT_NE(outer, nullptr);
    Vec shift(2, 0, 0);
    ASSERT_EQ(m_solver->DragByTranslation(outer->GetGNode(), shift), SolveStatusSolved);
    EXPECT_NEAR(XMove(m_outer), 2.0, 1e-9);
    EXPECT_NEAR(XMove(m_inner), 2.0, 1e-9);
}

TEST_F(ThinWalledBoxTest, ASideOfTwoFacesGetsOneSameSideBondBeforeTheWallBond)
{
    // A side of two faces: one same-side bond, then the wall bond from the side's first face.
    m_solver->AddShellCluster(ShellClusterData({m_outer, m_farOuter}, {m_inner}, 1.0), m_interaction);
    const std::vector<BondSeen> bonds = Bonds();
    ASSERT_EQ(bonds.size(), 2u);
    EXPECT_EQ(bonds[0].type, ZMR3_COINCIDENT);
    EXPECT_EQ(bonds[1].type, ZMR3_DISTANCE);
}

TEST_F(ThinWalledBoxTest, MissingGeometryNeverEntersABondAndBothSidesAreNeeded)
{
    const int noFace = 987654;
    struct Case {
        const char* name;
        std::vector<int> side1, side2;
        std::vector<ZMR3_d_type> expected;
    } cases[] = {
        {"first face of side 1 has no geometry", {noFace, m_outer}, {m_inner}, {}},
        {"later face without geometry is skipped", {m_outer, noFace}, {m_inner}, {ZMR3_DISTANCE}},
        {"empty side 1", {}, {m_inner, m_outer}, {ZMR3_COINCIDENT}},
        {"empty side 2", {m_outer}, {}, {}},
    };
    for (const Case& c : cases) {
        m_solver.reset(new Solver());
        m_solver->AddShellCluster(ShellClusterData(c.side1, c.side2, 1.0), m_interaction);
        std::vector<ZMR3_d_type> types;
        for (const BondSeen& bond : Bonds())
            types.push_back(bond.type);
        EXPECT_EQ(types, c.expected) << c.name;
        for (Bond* bond : *m_solver->GetBondList())
            for (int i = 0; i < bond->GetGeomCount(); ++i)
                EXPECT_NE(bond->GetGeom(i), nullptr) << c.name;
    }
}

// Coaxial cylinders of the turned part: r20 below, r12 above; a torus fillet between them.
class TubeWallTest : public ShellClusterTest {
protected:
    void SetUp() override
    {
        ShellClusterTest::SetUp();
        m_part = brennik::build::TurnedPart();
        for (int face : BodyFaces(m_part)) {
            double radius = 0.0;
            const int classCode =
                GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &radius, nullptr, nullptr);
            if (classCode == KernelClassCylinder && std::abs(radius - 20) < 1e-9)
                m_outer = face;
            else if (classCode == KernelClassCylinder && std::abs(radius - 12) < 1e-9)
                m_inner = face;
            else if (classCode == KernelClassTorus)
                m_torus = face;
        }
        ASSERT_TRUE(m_outer && m_inner && m_torus);
    }

    int m_part = 0, m_outer = 0, m_inner = 0, m_torus = 0;
};

TEST_F(TubeWallTest, ACurvedWallStaysConcentricAndKeepsItsThickness)
{
    m_solver->AddShellCluster(ShellClusterData({m_outer}, {m_inner}, 8.0), m_interaction);
    const std::vector<BondSeen> bonds = Bonds();
    ASSERT_EQ(bonds.size(), 2u);
    EXPECT_EQ(bonds[0].type, ZMR3_CONCENTRIC);
    EXPECT_EQ(bonds[1].type, ZMR3_DISTANCE);
    EXPECT_DOUBLE_EQ(bonds[1].value, 8.0);

    Geometry* outer = m_solver->FindGeometry(GeometryKey(m_outer, nullptr));
    ASSERT_NE(outer, nullptr);
    Vec shift(3, 0, 0);
    ASSERT_EQ(m_solver->DragByTranslation(outer->GetGNode(), shift), SolveStatusSolved);
    EXPECT_NEAR(XMove(m_inner), 3.0, 1e-9) << "the inner cylinder stays on the outer's axis";
}

TEST_F(TubeWallTest, ATorusWallGetsItsSameSideBondsButNoWallBond)
{
    m_solver->AddShellCluster(ShellClusterData({m_torus, m_outer}, {m_inner}, 8.0), m_interaction);
    const std::vector<BondSeen> bonds = Bonds();
    ASSERT_EQ(bonds.size(), 1u);
    EXPECT_EQ(bonds[0].type, ZMR3_COINCIDENT);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
