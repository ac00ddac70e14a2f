#include "SolverFixture.h"

namespace QEL {
namespace testing {
namespace {

class MeasureTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_part = brennik::build::TurnedPart();
    }
    // Measures with a throw-away solver, as a relation does.
    static bool Measure(RelationType type, const std::vector<MeasuredReference>& references, double& value)
    {
        TemporarySolver solver;
        bool valid = true;
        const bool measured = solver.MeasureRelationValueAndValidate(type, references, value, valid);
        EXPECT_EQ(measured, valid);
        return measured;
    }
    int PartFace(int classCode, int index = 0) { return OfClass(BodyFaces(m_part), classCode)[static_cast<size_t>(index)]; }
    int PartPlaneAt(double z)
    {
        for (int face : OfClass(BodyFaces(m_part), KernelClassPlane)) {
            Position location;
            GetStandardGeometry(face, nullptr, nullptr, &location, nullptr, nullptr, nullptr, nullptr);
            if (std::abs(location.z - z) < 1e-9)
                return face;
        }
        return 0;
    }
    // A free plane parallel to a line of the turned part's cone, the distance outside it: the cone
    // narrows from radius 12 at z 30 to radius 8 at z 40.
    int AlongTheCone(double distance)
    {
        const double length = std::sqrt(116.0);
        const double nx = 10.0 / length, nz = 4.0 / length;
        return brennik::build::FreePlane(12.0 + distance * nx, 0.0, 30.0 + distance * nz, nx, 0.0, nz);
    }
    // The turned part's circular edge of the radius.
    int PartCircle(double radius)
    {
        for (int edge : OfClass(BodyEdges(m_part), KernelClassCircle)) {
            double r = 0.0;
            GetStandardGeometry(edge, nullptr, nullptr, nullptr, nullptr, &r, nullptr, nullptr);
            if (std::abs(r - radius) < 1e-9)
                return edge;
        }
        return 0;
    }

    int m_block = 0;
    int m_part = 0;
};

TEST_F(MeasureTest, DimensionsAreMeasuredBySolvingNothing)
{
    const int top = BlockFace(m_block, 0, 0, 1), bottom = BlockFace(m_block, 0, 0, -1);
    const int side = BlockFace(m_block, 1, 0, 0), front = BlockFace(m_block, 0, -1, 0);
    const int torus = PartFace(KernelClassTorus);
    struct Case {
        const char* name;
        RelationType type;
        std::vector<MeasuredReference> references;
        bool measured;
        double value;
    } cases[] = {
        {"parallel faces", RelationTypeDistance, {{bottom}, {top}}, true, 30.0},
        {"faces across", RelationTypeDistance, {{top}, {side}}, false, 0.0},
        {"plane to a circle's centre", RelationTypeDistance,
         {{PartPlaneAt(0.0)}, {PartCircle(8.0), nullptr, RelationSubtypeCentre}}, true, 40.0},
        {"torus radius", RelationTypeRadius, {{torus}}, true, 14.0},
        {"torus minor radius", RelationTypeMinorRadius, {{torus}}, true, 2.0},
        {"planar angle", RelationTypePlanarAngle, {{side}, {front}, {top}}, true,
         PlanarAngleBond::MeasureAngle({Geom(side), Geom(front), Geom(top)})},
        {"plane to a circular edge", RelationTypeDistance, {{PartPlaneAt(0.0)}, {PartCircle(8.0)}}, true, 40.0},
        {"circular edges by their centres", RelationTypeDistance, {{PartCircle(8.0)}, {PartCircle(14.0)}}, true,
         25.0},
        {"plane along the cone", RelationTypeDistance, {{AlongTheCone(3.0)}, {PartFace(KernelClassCone)}}, true, 3.0},
        {"plane across the cone", RelationTypeDistance, {{PartPlaneAt(0.0)}, {PartFace(KernelClassCone)}}, false,
         0.0},
        {"equal radius is no dimension", RelationTypeEqualRadius, {{torus}, {torus}}, false, 0.0},
        {"no references", RelationTypeDistance, {}, false, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double value = -1.0;
        EXPECT_EQ(Measure(c.type, c.references, value), c.measured);
        EXPECT_NEAR(value, c.value, 1e-9);
    }
}

TEST_F(MeasureTest, ARadiusOfATorusIsItsMajorRadiusMeasuredOnAnRNode)
{
    Geometry* torus = Geom(PartFace(KernelClassTorus));
    std::vector<GeometryBase*> geometries = {torus};
    ZMR3_d_type type = ZMR3_RADIUS;
    ASSERT_TRUE(Solver::getZMR3_d_type(RelationTypeRadius, type, geometries));
    EXPECT_EQ(type, ZMR3_MAJOR_RADIUS);
    tessik_test::EnableCallLog(true);
    double value = 0.0;
    EXPECT_TRUE(Measure(RelationTypeRadius, {{PartFace(KernelClassTorus)}}, value));
    EXPECT_EQ(tessik_test::CallCount("ZMR3::add_r"), 1);
    tessik_test::EnableCallLog(false);
}

// A plane through a line of the cone lies at the cone's half angle to its axis.
TEST_F(MeasureTest, APlaneAlongTheConePassesTheConeTestOnlyExactly)
{
    Geometry* cone = Geom(PartFace(KernelClassCone));
    Vec location;
    Dir axis;
    double radius = 0.0, half = 0.0;
    ASSERT_TRUE(cone->GetConeData(location, axis, radius, half));
    const std::vector<MeasuredReference> references = {{PartFace(KernelClassPlane)}, {PartFace(KernelClassCone)}};
    for (double tilt : {0.0, 1e-9}) {
        SCOPED_TRACE(tilt);
        // Perpendicular to the axis turned by (90 degrees - half angle) about x.
        const double turn = M_PI / 2 - half + tilt;
        const Vec across(1, 0, 0);
        const Vec up = Cross(axis, across);
        const Vec n = axis * std::cos(turn) + up * std::sin(turn);
        const double origin[3] = {0, 0, 0}, normal[3] = {n.x, n.y, n.z};
        GPlane plane(m_solver.get(), origin, normal, nullptr, nullptr);
        std::vector<GeometryBase*> geometries = {&plane, cone};
        EXPECT_EQ(Solver::IsMeasuredDistanceValid(RelationTypeDistance, references, geometries), tilt == 0.0);
    }
}

TEST_F(MeasureTest, ConstructionGeometryIsSharedPerKeyAndSubtype)
{
    Instance* first = Place(m_part, Moved(0, 0, 0));
    Instance* second = Place(m_part, Moved(50, 0, 0));
    const int cylinder = PartFace(KernelClassCylinder);
    std::vector<GeometryBase*> one, two, other;
    ASSERT_TRUE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeAxis, {cylinder, first}, one));
    const size_t bonds = m_solver->GetBondList()->size();
    ASSERT_TRUE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeAxis, {cylinder, first}, two));
    ASSERT_TRUE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeAxis, {cylinder, second}, other));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one, two) << "two relations on one axis share its line";
    EXPECT_NE(one[0], other[0]) << "each instance has its own";
    EXPECT_EQ(m_solver->GetBondList()->size(), bonds + 1) << "one concentric bond per line";
    Vec location;
    ASSERT_TRUE(other[0]->GetLocation(location));
    EXPECT_NEAR(location.x, 50.0, 1e-12);

    EXPECT_FALSE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeBoundary, {cylinder, first}, one));
    EXPECT_EQ(m_solver->GetTemporaryConstructionGeometry({cylinder, first}, RelationSubtypeBoundary), nullptr);
    const int plane = PartFace(KernelClassPlane);
    std::vector<GeometryBase*> none;
    EXPECT_TRUE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeCentre, {plane, first}, none));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0], nullptr);
}

// The centre of the turned part's cone is its apex: radius 12 at z 30 narrowing by 0.4 per unit.
TEST_F(MeasureTest, TheCentreOfAConeIsItsApex)
{
    std::vector<GeometryBase*> made;
    ASSERT_TRUE(m_solver->GetOrMakeTemporaryConstructionGeometry(RelationSubtypeCentre,
                                                                 {PartFace(KernelClassCone), nullptr}, made));
    ASSERT_EQ(made.size(), 2u);
    Vec apex;
    ASSERT_TRUE(made[0]->GetLocation(apex));
    EXPECT_NEAR(Distance(apex, Vec(0, 0, 60)), 0.0, 1e-9);
    ZMR3_g_type type = ZMR3_G_POINT;
    ASSERT_TRUE(made[1]->GetGeomType(type));
    EXPECT_EQ(type, ZMR3_G_LINE);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved) << "the construction holds as built";
    EXPECT_EQ(Change(made[0]), 0);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
