#include "SolverFixture.h"

namespace QEL {
namespace testing {
namespace {

TEST_F(SolverTest, FreshSolverStartsEmptyAndCountsNodesFromOne)
{
    EXPECT_EQ(m_solver->GetSolveStatus(), SolveStatusNotEvaluated);
    EXPECT_TRUE(m_solver->GetUseAddBondsForRelations());
    EXPECT_TRUE(m_solver->GetUseAddBondsForRelationshipsOnly());
    EXPECT_FALSE(m_solver->IsTemporary());
    EXPECT_TRUE(m_solver->RemoveYSKGeometries());
    const double p[3] = {0, 0, 0};
    GPoint first(m_solver.get(), p, nullptr, nullptr);
    GPoint second(m_solver.get(), p, nullptr, nullptr);
    EXPECT_EQ(first.GetId(), 1);
    EXPECT_EQ(second.GetId(), 2);
    EXPECT_TRUE(NodePtrLessThan()(&first, &second));
    TemporarySolver temporary;
    EXPECT_TRUE(temporary.IsTemporary());
}

// The placed geometry of the turned part answers in world coordinates: the part turned a quarter
// about z and lifted by 5.
TEST_F(SolverTest, KernelGeometryAnswersInWorldCoordinatesThroughItsInstance)
{
    const int part = brennik::build::TurnedPart();
    Instance* placed = Place(part, Moved(0, 0, 5, M_PI / 2));
    const std::vector<int> faces = BodyFaces(part);
    struct Case {
        int classCode;
        ZMR3_g_type type;
    } cases[] = {{KernelClassPlane, ZMR3_G_PLANE},    {KernelClassCylinder, ZMR3_G_CYLINDER},
                 {KernelClassCone, ZMR3_G_CONE},      {KernelClassSphere, ZMR3_G_SPHERE},
                 {KernelClassTorus, ZMR3_G_TORUS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classCode);
        const std::vector<int> ofClass = OfClass(faces, c.classCode);
        ASSERT_FALSE(ofClass.empty());
        Geometry* body = Geom(ofClass[0]);
        Geometry* world = Geom(ofClass[0], placed);
        ZMR3_g_type type = ZMR3_G_POINT;
        ASSERT_TRUE(world->GetGeomType(type));
        EXPECT_EQ(type, c.type);
        Vec a, b;
        Dir da, db;
        double r1 = 0, r2 = 0, h1 = 0, h2 = 0;
        switch (c.classCode) {
        case KernelClassPlane:
        case KernelClassCylinder:
        case KernelClassSphere:
            ASSERT_TRUE(body->GetLocation(a) && world->GetLocation(b));
            EXPECT_NEAR(Distance(b, Vec(-a.y, a.x, a.z + 5)), 0.0, 1e-12);
            break;
        case KernelClassCone:
            ASSERT_TRUE(body->GetConeData(a, da, r1, h1) && world->GetConeData(b, db, r2, h2));
            EXPECT_NEAR(Distance(b, Vec(-a.y, a.x, a.z + 5)), 0.0, 1e-12);
            EXPECT_DOUBLE_EQ(r1, r2);
            EXPECT_NEAR(h1, std::atan(0.4), 1e-12);
            EXPECT_FALSE(world->GetLocation(a));
            EXPECT_FALSE(world->GetRadius(r1));
            break;
        case KernelClassTorus:
            ASSERT_TRUE(world->GetTorusData(b, db, r1, r2));
            EXPECT_NEAR(Distance(b, Vec(0, 0, 22)), 0.0, 1e-12);
            EXPECT_DOUBLE_EQ(r1, 14.0);
            EXPECT_DOUBLE_EQ(r2, 2.0);
            EXPECT_FALSE(world->GetLocation(a));
            break;
        }
        double radius = 7.0;
        EXPECT_EQ(world->GetRadius(radius), c.classCode == KernelClassCylinder || c.classCode == KernelClassSphere);
        if (c.classCode == KernelClassPlane) {
            EXPECT_EQ(radius, 7.0) << "a plane leaves the radius untouched";
        }
        EXPECT_EQ(world->GetAxis(db), c.classCode != KernelClassPlane && c.classCode != KernelClassSphere);
    }
}

TEST_F(SolverTest, OnlyPointsLinesCirclesAndAnalyticSurfacesAreConstrainable)
{
    int classCode = 0, geometry = 0;
    const int line = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
    EXPECT_TRUE(Geometry::FindConstrainableGeomClassFromEntity(line, classCode, geometry));
    EXPECT_EQ(classCode, KernelClassLine);
    EXPECT_EQ(geometry, line);
    const int part = brennik::build::TurnedPart();
    const std::vector<int> circles = OfClass(BodyEdges(part), KernelClassCircle);
    ASSERT_FALSE(circles.empty());
    EXPECT_TRUE(Geometry::FindConstrainableGeomClassFromEntity(circles[0], classCode, geometry));
    EXPECT_EQ(classCode, KernelClassCircle);
    EXPECT_FALSE(Geometry::FindConstrainableGeomClassFromEntity(geometry, classCode, geometry))
        << "a bare circle is not constrainable";
}

TEST_F(SolverTest, NoGeometryIsMadeForAVertexWithoutPointOrAFaceOnABlendSurface)
{
    const int pointless = brennik::build::BlockWithPointlessVertex();
    const int blended = brennik::build::BlockWithBlendSurface();
    int vertex = 0, count = 0;
    int* vertices = nullptr;
    ASSERT_EQ(BQ_BODY_ask_vertices(pointless, &count, &vertices), BQ_ERROR_no_errors);
    vertex = vertices[0];
    BQ_MEMORY_free(vertices);
    int blendFace = 0;
    for (int face : BodyFaces(blended)) {
        int surface = 0;
        BQ_FACE_ask_surf(face, &surface);
        if (GetEntityClass(surface) == BQ_CLASS_blendsf)
            blendFace = face;
    }
    ASSERT_NE(blendFace, 0);
    for (int entity : {vertex, blendFace}) {
        SCOPED_TRACE(entity);
        EXPECT_EQ(Geometry::CreateGeometry(m_solver.get(), entity, static_cast<Instance*>(nullptr)), nullptr);
        EXPECT_EQ(Geom(entity), nullptr);
    }
}

TEST_F(SolverTest, AlternativeGeometryReplacesTheEntitysUntilCleared)
{
    const int block = brennik::build::Block();
    Geometry* top = Geom(BlockFace(block, 0, 0, 1));
    Vec before;
    ASSERT_TRUE(top->GetLocation(before));
    BQ_PLANE_sf_t sf = {{{{0, 0, 100}}, {{0, 0, 1}}, {{1, 0, 0}}}};
    int plane = 0;
    ASSERT_EQ(BQ_PLANE_create(&sf, &plane), BQ_ERROR_no_errors);
    top->SetAltGeom(plane);
    Vec after;
    ASSERT_TRUE(top->GetLocation(after));
    EXPECT_DOUBLE_EQ(after.z, 100.0);
    top->SetAltGeom(0);
    EXPECT_FALSE(IsEntity(plane)) << "an alternative geometry no face uses is deleted when replaced";
    ASSERT_TRUE(top->GetLocation(after));
    EXPECT_DOUBLE_EQ(after.z, before.z);
}

TEST_F(SolverTest, FixTogglesOnlyWhenTheStateDiffersAndAddingTwiceKeepsTheHandle)
{
    const double p[3] = {1, 2, 3};
    GPoint* point = new GPoint(m_solver.get(), p, nullptr, nullptr);
    point->Fix(true);
    EXPECT_FALSE(point->IsFixed()) << "a node not yet added is not fixed";
    point->AddToZMR();
    g_node* handle = point->GetGNode();
    point->AddToZMR();
    EXPECT_EQ(point->GetGNode(), handle);
    tessik_test::EnableCallLog(true);
    point->Fix(true);
    point->Fix(true);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::fix"), 1);
    EXPECT_TRUE(point->IsFixed());
    point->Fix(false);
    EXPECT_FALSE(point->IsFixed());
    tessik_test::EnableCallLog(false);
    point->RemoveFromZMR();
    delete point;
}

TEST_F(SolverTest, BondsBecomeTheNodeKindTheirTypeAndCountAsk)
{
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, z[3] = {0, 0, 1};
    GLine a(m_solver.get(), o, x, nullptr, nullptr);
    GLine b(m_solver.get(), z, x, nullptr, nullptr);
    GPlane plane(m_solver.get(), o, z, nullptr, nullptr);
    struct Case {
        ZMR3_d_type type;
        std::vector<GeometryBase*> geometries;
        bool added;
        const char* text;
    } cases[] = {
        {ZMR3_DISTANCE, {&a, &b, &plane}, true, "ZMR3_DISTANCE 5"},
        {ZMR3_SYMMETRIC, {&a, &b, &plane}, true, "ZMR3_SYMMETRIC"},
        {ZMR3_PARALLEL, {&a, &b, &plane}, false, "ZMR3_PARALLEL"},
        {ZMR3_MINOR_RADIUS, {&a}, true, "ZMR3_MINOR_RADIUS 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TypedBond* bond = TypedBond::CreateTypedBond(m_solver.get(), c.type, c.geometries, 5.0, nullptr);
        tessik_test::EnableCallLog(true);
        tessik_test::ClearCallLog();
        bond->AddToZMR();
        EXPECT_EQ(bond->IsAdded(), c.added);
        EXPECT_EQ(bond->ToString(), std::string(c.text) + std::string(30 - std::string(c.text).size(), ' '));
        if (c.type == ZMR3_MINOR_RADIUS) {
            EXPECT_EQ(tessik_test::CallCount("ZMR3::add_r"), 1);
        }
        bond->RemoveFromZMR();
        tessik_test::EnableCallLog(false);
        EXPECT_FALSE(bond->IsAdded());
        delete bond;
    }
    a.RemoveFromZMR();
    b.RemoveFromZMR();
    plane.RemoveFromZMR();
}

TEST_F(SolverTest, HalfSpacesAndEqualRadiusFlagsAnswerOnlyForTheirGeometries)
{
    const double o[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    GCircle a(m_solver.get(), o, 1.0, z, nullptr, nullptr), b(m_solver.get(), o, 2.0, z, nullptr, nullptr),
        c(m_solver.get(), o, 3.0, z, nullptr, nullptr);
    std::unique_ptr<TypedBond> equal(TypedBond::CreateTypedBond(m_solver.get(), ZMR3_EQUAL_RADIUS, {&a, &b, &c}, 0.0, nullptr));
    EXPECT_FALSE(equal->SetEqualRadiusMinorRadiusForGeom(3));
    EXPECT_TRUE(equal->SetEqualRadiusMinorRadiusForGeom(1));
    EXPECT_TRUE(equal->GetEqualRadiusMinorRadiusForGeom(&b));
    EXPECT_FALSE(equal->GetEqualRadiusMinorRadiusForGeom(&a));
    std::unique_ptr<TypedBond> distance(TypedBond::CreateBinary(m_solver.get(), ZMR3_DISTANCE, &a, &b, 1.0));
    EXPECT_FALSE(distance->SetEqualRadiusMinorRadiusForGeom(0));
    ZMR3_half_space side = ZMR3_HALF_SPACE_POSITIVE;
    EXPECT_TRUE(distance->GetHalfSpaceForGeom(1, side));
    EXPECT_EQ(side, ZMR3_HALF_SPACE_NONE);
    EXPECT_FALSE(distance->GetHalfSpaceForGeom(-1, side));
    EXPECT_TRUE(distance->SetHalfSpaceForGeom(1, ZMR3_HALF_SPACE_NEGATIVE));
    EXPECT_TRUE(distance->GetHalfSpaceForGeom(&b, side));
    EXPECT_EQ(side, ZMR3_HALF_SPACE_NEGATIVE);
    EXPECT_FALSE(distance->GetHalfSpaceForGeom(&c, side));
}

TEST_F(SolverTest, PlanarAngleTurnsPositivelyAboutThePlaneNormal)
{
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1}, down[3] = {0, 0, -1};
    GLine a(m_solver.get(), o, x, nullptr, nullptr), b(m_solver.get(), o, y, nullptr, nullptr);
    GPlane up(m_solver.get(), o, z, nullptr, nullptr), under(m_solver.get(), o, down, nullptr, nullptr);
    EXPECT_NEAR(PlanarAngleBond::MeasureAngle({&a, &b, &up}), M_PI / 2, 1e-15);
    EXPECT_NEAR(PlanarAngleBond::MeasureAngle({&a, &b, &under}), 3 * M_PI / 2, 1e-15);
}

TEST_F(SolverTest, DelayedBondsWaitForTheirTurn)
{
    const double o[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    GPlane* a = new GPlane(m_solver.get(), o, z, nullptr, nullptr);
    GPlane* b = new GPlane(m_solver.get(), z, z, nullptr, nullptr);
    m_solver->AddDelayedBonds();
    EXPECT_FALSE(m_solver->GetDelayAddDCalls());
    m_solver->SetDelayAddDCalls(true);
    TypedBond* bond = Bond2(ZMR3_DISTANCE, a, b, 1.0);
    EXPECT_TRUE(a->IsAdded());
    EXPECT_FALSE(bond->IsAdded());
    m_solver->AddDelayedBonds();
    EXPECT_TRUE(bond->IsAdded());
    EXPECT_TRUE(m_solver->GetDelayAddDCalls());
    bond->RemoveFromZMR();
    m_solver->GetBondList()->clear();
    delete bond;
    for (GPlane* p : {a, b}) {
        p->RemoveFromZMR();
        delete p;
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
