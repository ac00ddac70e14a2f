#include "SolverFixture.h"

#include "core/maths/RotationMatrix.h"
#include "solver/Stars.h"

namespace QEL {
namespace testing {
namespace {

// A block placed three times: shifted, shifted further, and turned a quarter about X.
class BodyStarTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block();
        m_top = BlockFace(m_block, 0, 0, 1);
        Xform turned;
        turned.SetRotationAboutAxis(Vec(0, 0, 0), Vec(1, 0, 0), 1.0, 0.0);
        turned.translation = Vec(0, 100, 0);
        m_instances = {Place(m_block, Moved(50, 0, 0)), Place(m_block, Moved(-50, 0, 7)), Place(m_block, turned)};
    }
    int CountD() { return m_solver->GetDimensionSystem()->list_d_nodes(0, nullptr, nullptr); }
    // G-nodes other than Sets: a replaced star's Sets stay with the Solver, empty.
    int CountG()
    {
        ZMR3_dimension_system* system = m_solver->GetDimensionSystem();
        std::vector<void*> apps(static_cast<size_t>(system->list_g_nodes(0, nullptr, nullptr)));
        system->list_g_nodes(static_cast<int>(apps.size()), nullptr, apps.data());
        int count = 0;
        for (void* app : apps)
            count += dynamic_cast<Set*>(static_cast<Node*>(app)) ? 0 : 1;
        return count;
    }
    // How far the last evaluation moved the plane along its own world normal.
    double NormalMove(GeometryBase* plane)
    {
        double m[4][4];
        if (Change(plane, m) == 0)
            return 0.0;
        Vec location;
        Dir normal;
        plane->GetLocation(location);
        plane->GetNormal(normal);
        Xform change(m);
        Vec moved = location;
        change.TransformPoint(moved);
        return Dot(moved - location, normal);
    }

    int m_block = 0;
    int m_top = 0;
    std::vector<Instance*> m_instances;
};

TEST_F(BodyStarTest, EachPlacementIsTiedToTheBodyLevelGeometryThroughItsRelativeTransform)
{
    m_solver->CreateBodyStars(m_instances);
    BodyStar* star = m_solver->GetBodyStar(m_block);
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->GetElements().size(), 4u);
    EXPECT_EQ(m_solver->GetRTNode(nullptr), nullptr);

    EXPECT_TRUE(m_solver->AddReferenceGeometry(m_interaction, GeometryKey(m_top, m_instances[0]),
                                               ReferenceBehaviourModelling, RelationSubtypeBoundary));
    std::list<Geometry*> geometries;
    ASSERT_TRUE(m_solver->FindGeometry(m_interaction, m_top, geometries));
    ASSERT_EQ(geometries.size(), 4u);
    Geometry* bodyLevel = geometries.front();
    EXPECT_EQ(star->GetStarCentre()->GetRTConstraints().size(), 0u);
    for (Instance* instance : m_instances) {
        StarElement* element = star->GetStarElement(instance);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->GetRTNode(), m_solver->GetRTNode(instance));
        // Two for the frame, one for the face: from the body-level face to the placed one.
        ASSERT_EQ(element->GetRTConstraints().size(), 3u);
        RTConstraint* face = element->GetRTConstraints().back();
        EXPECT_EQ(face->GetGeom(0), bodyLevel);
        EXPECT_EQ(face->GetGeom(1), m_solver->FindGeometry(GeometryKey(m_top, instance)));
        EXPECT_FALSE(face->GetFlag());
    }

    // The same face through another Instance adds nothing.
    const int dNodes = CountD();
    EXPECT_TRUE(m_solver->AddReferenceGeometry(m_interaction, GeometryKey(m_top, m_instances[1]),
                                               ReferenceBehaviourModelling, RelationSubtypeBoundary));
    EXPECT_EQ(CountD(), dNodes);

    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    for (Geometry* g : geometries)
        EXPECT_EQ(Change(g), 0) << "a satisfied star moves nothing";

    // Dragging one placement's face moves the body, and so every placement of it.
    Geometry* dragged = m_solver->FindGeometry(GeometryKey(m_top, m_instances[0]));
    Vec delta(0, 0, 5);
    ASSERT_EQ(m_solver->DragByTranslation(dragged->GetGNode(), delta), SolveStatusSolved);
    EXPECT_NEAR(NormalMove(bodyLevel), 5.0, 1e-7);
    for (Instance* instance : m_instances)
        EXPECT_NEAR(NormalMove(m_solver->FindGeometry(GeometryKey(m_top, instance))), 5.0, 1e-7);
    Dir turnedNormal;
    m_solver->FindGeometry(GeometryKey(m_top, m_instances[2]))->GetNormal(turnedNormal);
    EXPECT_NEAR(turnedNormal.y, -1.0, 1e-12);
}

TEST_F(BodyStarTest, ReplacingTheStarsTakesTheirNodesOutOfTheSystemFirst)
{
    m_solver->CreateBodyStars(m_instances);
    const int dNodes = CountD(), gNodes = CountG();
    EXPECT_EQ(dNodes, 6) << "two frame constraints per placement";
    m_solver->CreateBodyStars(m_instances);
    EXPECT_EQ(CountD(), dNodes);
    EXPECT_EQ(CountG(), gNodes);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
}

TEST_F(BodyStarTest, PositioningGeometryJoinsTheMainSetOfItsPlacement)
{
    m_solver->CreateBodyStars({m_instances[0]});
    BodyStar* star = m_solver->GetBodyStar(m_block);
    Set* placed = star->GetMainSet(m_instances[0]);
    Set* centre = star->GetMainSet(nullptr);
    ASSERT_TRUE(placed && centre && placed != centre);
    EXPECT_TRUE(placed->IsFixed());

    ASSERT_TRUE(m_solver->AddReferenceGeometry(m_interaction, GeometryKey(m_top, nullptr),
                                               ReferenceBehaviourPositioning, RelationSubtypeBoundary));
    Geometry* bodyLevel = m_solver->FindGeometry(GeometryKey(m_top, nullptr));
    Geometry* onInstance = m_solver->FindGeometry(GeometryKey(m_top, m_instances[0]));
    EXPECT_EQ(bodyLevel->GetSet(), centre);
    EXPECT_EQ(onInstance->GetSet(), placed);
    EXPECT_TRUE(centre->IsFixed());
    EXPECT_FALSE(placed->IsFixed());
    EXPECT_TRUE(star->GetStarElement(m_instances[0])->GetRTConstraints().back()->GetFlag());
}

TEST_F(BodyStarTest, ReferencesOutsideTheStarAreRefused)
{
    m_solver->CreateBodyStars({m_instances[0]});
    BodyStar* star = m_solver->GetBodyStar(m_block);
    const int other = brennik::build::Block();
    Instance* otherInstance = Place(other, Moved(0, 0, 0));
    EXPECT_FALSE(star->AddReference(GeometryKey(0, nullptr), ReferenceBehaviourModelling, RelationSubtypeBoundary));
    EXPECT_FALSE(star->AddReference(GeometryKey(BlockFace(other, 0, 0, 1), nullptr), ReferenceBehaviourModelling,
                                    RelationSubtypeBoundary));
    EXPECT_FALSE(star->AddReference(GeometryKey(m_top, otherInstance), ReferenceBehaviourModelling,
                                    RelationSubtypeBoundary));
    EXPECT_FALSE(star->AddReference(GeometryKey(m_top, m_instances[1]), ReferenceBehaviourModelling,
                                    RelationSubtypeBoundary))
        << "an Instance the star has no element for";
    // Without a star the geometry still enters the system, on its own.
    EXPECT_FALSE(m_solver->AddReferenceGeometry(m_interaction, GeometryKey(BlockFace(other, 0, 0, 1), nullptr),
                                                ReferenceBehaviourModelling, RelationSubtypeBoundary));
    EXPECT_TRUE(m_solver->FindGeometry(GeometryKey(BlockFace(other, 0, 0, 1), nullptr))->IsAdded());
    std::vector<GeometryKey> keys;
    star->GetEntityKeys(m_top, keys);
    EXPECT_EQ(keys, (std::vector<GeometryKey>{{m_top, nullptr}, {m_top, m_instances[0]}}));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
