// The rules a configure makes on what it reached: locks on radii and half angles by the
// relation finder's options, unless a relation governs them already, and the principal-plane
// rules by how many principal directions lie in a plane; and a shell cluster made active by a
// relation on its other side keeping its thickness through a real solve.
#include "ConfigureFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "update/finding/RelationFinder.h"
#include "update/records/Rule.h"

#include <map>

namespace QEL {
namespace testing {
namespace {

class TurnedPartConfigureTest : public ConfigureTest {
protected:
    void SetUp() override
    {
        ConfigureTest::SetUp();
        m_part = brennik::build::TurnedPart();
        for (int face : BodyFaces(m_part))
            m_byClass[GetGeometryClassOfTopology(face)].push_back(face);
        ASSERT_EQ(m_byClass[KernelClassCylinder].size(), 2u);
        ASSERT_EQ(m_byClass[KernelClassCone].size(), 1u);
        ASSERT_EQ(m_byClass[KernelClassTorus].size(), 1u);
        ASSERT_EQ(m_byClass[KernelClassSphere].size(), 1u);
    }
    RelationFinder* Finder() const { return RelationFinder::Of(m_interaction); }
    void LockAll()
    {
        Finder()->SetConfigureLockCylinderRadius(true);
        Finder()->SetConfigureLockSphereRadius(true);
        Finder()->SetConfigureLockTorusRadius(true);
        Finder()->SetConfigureLockTorusMinorRadius(true);
        Finder()->SetConfigureLockConeHalfAngle(true);
    }
    // The types of the rules on the face, in the order made.
    static std::vector<RuleType> RulesOn(ConfigureManager& manager, int face)
    {
        std::vector<RuleType> types;
        for (const ConfigureRule& rule : manager.GetRules().GetRuleVector())
            if (rule.GetKey().first == face)
                types.push_back(rule.GetType());
        return types;
    }

    int m_part = 0;
    std::map<int, std::vector<int>> m_byClass;
};

TEST_F(TurnedPartConfigureTest, LocksFollowTheSurfaceUnlessARelationGovernsIt)
{
    LockAll();
    const int cylinder = m_byClass[KernelClassCylinder][0];
    const int other = m_byClass[KernelClassCylinder][1];
    const int cone = m_byClass[KernelClassCone][0];
    const int torus = m_byClass[KernelClassTorus][0];
    const int sphere = m_byClass[KernelClassSphere][0];
    ConfigureKeyList keys;
    for (int face : {cylinder, cone, torus, sphere})
        keys.emplace_back(face, nullptr);
    {
        ConfigureManager manager(m_interaction, S(), Ysk(), nullptr);
        manager.AddLockRules(keys);
        EXPECT_EQ(RulesOn(manager, cylinder), std::vector<RuleType>{RuleTypeKeepRadius});
        EXPECT_EQ(RulesOn(manager, cone), std::vector<RuleType>{RuleTypeKeepHalfAngle});
        EXPECT_EQ(RulesOn(manager, torus), (std::vector<RuleType>{RuleTypeKeepRadius, RuleTypeKeepMinorRadius}));
        EXPECT_EQ(RulesOn(manager, sphere), std::vector<RuleType>{RuleTypeKeepRadius});
    }
    ASSERT_NE(Relation::CreateBinary(m_interaction, RelationTypeEqualRadius, Ref(cylinder), Ref(other)), nullptr);
    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeHalfAngle, Ref(cone)), nullptr);
    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeMinorRadius, Ref(torus)), nullptr);
    ConfigureManager manager(m_interaction, S(), Ysk(), nullptr);
    manager.AddLockRules(keys);
    EXPECT_TRUE(RulesOn(manager, cylinder).empty());
    EXPECT_TRUE(RulesOn(manager, cone).empty());
    EXPECT_EQ(RulesOn(manager, torus), std::vector<RuleType>{RuleTypeKeepRadius});
}

// The inner cylinder, reached through its concentricity with the dragged outer one, keeps its
// radius by a rule the manager applies; the rule is stored for the next edit.
TEST_F(TurnedPartConfigureTest, TheCylinderLockKeepsTheRadiusOfAReachedCylinder)
{
    Finder()->SetConfigureLockCylinderRadius(true);
    const int outer = m_byClass[KernelClassCylinder][0];
    const int inner = m_byClass[KernelClassCylinder][1];
    ASSERT_NE(Relation::CreateBinary(m_interaction, RelationTypeConcentric, Ref(outer), Ref(inner)), nullptr);
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, outer, 1.0, status, true, Vec(1, 0, 0)));
    ASSERT_EQ(RulesOn(*m_manager, inner), std::vector<RuleType>{RuleTypeKeepRadius});
    EXPECT_TRUE(RulesOn(*m_manager, outer).empty());
    const ConfigureRule& lock = m_manager->GetRules().GetRuleVector().front();
    EXPECT_TRUE(lock.IsApplied());
    ASSERT_EQ(m_interaction->GetRules().size(), 1u);
    EXPECT_EQ(m_interaction->GetRules().front()->GetRuleType(), RuleTypeKeepRadius);
    EXPECT_EQ(m_interaction->GetRules().front()->GetState(), RuleStateApply);

    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    ASSERT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(inner), Vec(1, 0, 0)), 1e-9);
    EXPECT_LT(std::abs(RadiusChange(inner)), 1e-9);
}

// Principal planes on the block's +x and +y faces: a face in whose plane both directions lie
// is kept from turning, one holding a single one keeps its angle to it, and with only the
// +z face as a principal plane the top gets nothing.
TEST_F(ConfigureTest, PrincipalPlanesGiveRulesByTheirCount)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = BlockFace(block, 0, 0, 1);
    const int back = BlockFace(block, -1, 0, 0);
    struct Case {
        std::vector<int> planes;
        int face;
        int rules;
        RuleType type;
        Vec direction;
    };
    const Case cases[] = {
        {{BlockFace(block, 1, 0, 0), BlockFace(block, 0, 1, 0)}, top, 1, RuleTypeDoNotRotate, Vec()},
        {{BlockFace(block, 1, 0, 0), BlockFace(block, 0, 1, 0)}, back, 1, RuleTypeRelativeAngle, Vec(0, 1, 0)},
        {{BlockFace(block, 0, 0, 1)}, top, 0, RuleTypeDoNotMove, Vec()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::vector<Reference*> planes;
        for (int face : c.planes)
            planes.push_back(Ref(face));
        RelationFinder::Of(m_interaction)->SetPrinciplePlanes(planes);
        ConfigureManager manager(m_interaction, S(), Ysk(), nullptr);
        manager.AddPrincipalPlaneRules({{c.face, nullptr}});
        ASSERT_EQ(manager.GetRules().GetRuleCount(), c.rules);
        if (c.rules == 0)
            continue;
        const ConfigureRule& rule = manager.GetRules().GetRuleVector().front();
        EXPECT_EQ(rule.GetType(), c.type);
        EXPECT_LT(Distance(rule.GetDirection(), c.direction), 1e-9);
    }
}

// Outer and inner wall faces tied by a relation: the wall takes part, and the inner face
// follows the dragged outer one at the wall's thickness.
TEST_F(ConfigureTest, AnActiveWallKeepsItsThicknessThroughADrag)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    int outer = 0;
    int inner = 0;
    for (int face : BodyFaces(box)) {
        std::vector<int> side;
        std::vector<int> partners;
        if (GetGeometryClassOfTopology(face) == KernelClassPlane && FindShellCluster(face, &side, &partners, nullptr) &&
            side.size() == 1 && partners.size() == 1) {
            outer = face;
            inner = partners.front();
            break;
        }
    }
    ASSERT_NE(outer, 0);
    ASSERT_NE(Relation::CreateBinary(m_interaction, RelationTypeParallel, Ref(outer), Ref(inner)), nullptr);
    Position point;
    Dir normal;
    EvaluateFaceMidpoint(outer, &point, &normal);
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, outer, 2.0, status, true, normal));
    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    ASSERT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
    const Vec moved(normal.x * 2, normal.y * 2, normal.z * 2);
    EXPECT_LT(Distance(DragSetMoved(drag), moved), 1e-9);
    EXPECT_LT(Distance(Moved(inner), moved), 1e-9);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
