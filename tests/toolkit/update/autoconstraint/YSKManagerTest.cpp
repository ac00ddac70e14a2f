// The auto-constraint wrapper over an edit's Solver: what the manager reports becomes the
// Solver's own bonds and construction geometry, still standing for the manager's nodes, so
// the relationships and drags it adds hold in every later solve.
#include "update/autoconstraint/YSKManager.h"

#include "../../solver/SolverFixture.h"
#include "core/frame/ApiCallGuard.h"
#include "core/support/Timer.h"
#include "update/pass/UpdateManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace QEL {
namespace testing {
namespace {

class Wrapper : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        tessik_test::ResetControls();
        ClearYSKCallCounter();
        m_interaction = new Interaction(CreateTypeLive);
        m_interaction->CreateUpdateManager();
        Update()->EnsureSolverCreated();
    }
    void TearDown() override
    {
        tessik_test::ResetControls();
        tessik_test::EnableCallLog(false);
        m_interaction->Destroy();
        brennik::test::Reset();
    }
    UpdateManager* Update() const { return m_interaction->GetUpdateManager(); }
    Solver* S() const { return Update()->GetSolver(); }
    YSKManager* Ysk() const { return Update()->GetYSKManager(); }

    // The face of a block at the origin whose outward normal is n, in the Solver.
    Geometry* Face(int block, double nx, double ny, double nz, Instance* instance = nullptr)
    {
        Geometry* g = S()->GetOrMakeGeometry(GeometryKey(BlockFace(block, nx, ny, nz), instance));
        g->AddToZMR();
        return g;
    }
    // Hands the manager a parallel relationship of the two; the status that leaves.
    UpdateStatus AddParallel(Geometry* a, Geometry* b)
    {
        RelationshipDataArray relationships;
        relationships.AddData(RelationshipData(YSK_RELATION_PARALLEL, {BondEndData(a), BondEndData(b)}));
        BondDataArray bonds;
        UpdateStatus status = UpdateUnknown;
        EXPECT_TRUE(Ysk()->AddBonds(relationships, bonds, status));
        return status;
    }
    int DNodes() const { return S()->GetDimensionSystem()->list_d_nodes(0, nullptr, nullptr); }
    // The bonds the Solver took in since it held before.
    std::vector<TypedBond*> BondsAfter(size_t before) const
    {
        std::vector<TypedBond*> out;
        auto it = S()->GetBondList()->begin();
        std::advance(it, before);
        for (; it != S()->GetBondList()->end(); ++it)
            out.push_back(dynamic_cast<TypedBond*>(*it));
        return out;
    }
    // The direction n after the last evaluation's change of g.
    Vec Turned(GeometryBase* g, const Vec& n)
    {
        double m[4][4];
        bool moved = false;
        g->GetZMRChange(moved, m, nullptr, nullptr);
        if (!moved)
            return n;
        return Vec(m[0][0] * n.x + m[0][1] * n.y + m[0][2] * n.z, m[1][0] * n.x + m[1][1] * n.y + m[1][2] * n.z,
                   m[2][0] * n.x + m[2][1] * n.y + m[2][2] * n.z);
    }

    Interaction* m_interaction = nullptr;
};

TEST_F(Wrapper, ReportedBondsBecomeTypedBondsThatStayLiveThroughEverySolveOfTheEdit)
{
    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    Geometry* right = Face(block, 1, 0, 0);
    Geometry* bottom = Face(block, 0, 0, -1);
    bottom->Fix(true);
    const size_t before = S()->GetBondList()->size();
    EXPECT_EQ(AddParallel(left, right), UpdateUnknown);
    ASSERT_TRUE(Ysk()->GetBonds(false, true));

    const std::vector<TypedBond*> reported = BondsAfter(before);
    ASSERT_EQ(reported.size(), 1u);
    ASSERT_NE(reported[0], nullptr);
    ZMR3_d_type type = ZMR3_DISTANCE;
    reported[0]->GetType(type);
    EXPECT_EQ(type, ZMR3_PARALLEL);
    EXPECT_EQ(reported[0]->GetGeom(0), left);
    EXPECT_EQ(reported[0]->GetGeom(1), right);
    EXPECT_EQ(GetYSKCallCounter().add_bonds, 1);
    EXPECT_EQ(GetYSKCallCounter().get_bonds, 1);

    // Forgotten by the manager, but the node stays: nothing comes again, nothing is erased.
    const int nodes = DNodes();
    ASSERT_TRUE(Ysk()->GetBonds(false, true));
    EXPECT_EQ(S()->GetBondList()->size(), before + 1);
    EXPECT_EQ(DNodes(), nodes);

    // Each solve of the edit turns the left face to a new angle; the right one follows.
    TypedBond* angle = TypedBond::CreateBinary(S(), ZMR3_ANGLE, left, bottom, M_PI / 2);
    S()->AddBond(angle);
    for (double degrees : {80.0, 70.0, 95.0}) {
        SCOPED_TRACE(degrees);
        angle->SetValue(degrees * M_PI / 180.0);
        ASSERT_EQ(S()->SolveSystem(), SolveStatusSolved);
        EXPECT_EQ(reported[0]->GetStatus(), ZMR3_D_STATUS_SATISFIED);
        const Vec l = Turned(left, Vec(-1, 0, 0));
        const Vec r = Turned(right, Vec(1, 0, 0));
        EXPECT_GT((l - Vec(-1, 0, 0)).Length(), 1e-3);
        EXPECT_NEAR(Cross(l, r).Length(), 0.0, 1e-9);
    }
}

TEST_F(Wrapper, ATranslationDragMovesTheFaceAlongItsAnimationDistance)
{
    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    Geometry* right = Face(block, 1, 0, 0);
    AddParallel(left, right);
    ASSERT_TRUE(Ysk()->GetBonds(false, true));

    UpdateStatus status = UpdateUnknown;
    const size_t before = S()->GetBondList()->size();
    const DesiredChangeTranslateData change(right, Dir(1, 0, 0), YSK_COMPLIANCE_EXACT);
    ASSERT_TRUE(Ysk()->AddDesired(&change, status));
    ASSERT_TRUE(Ysk()->GetBonds(true, true));
    EXPECT_EQ(status, UpdateUnknown);
    EXPECT_EQ(GetYSKCallCounter().add_desired_translation, 1);

    const std::vector<TypedBond*> animation = BondsAfter(before);
    ASSERT_EQ(animation.size(), 1u);
    bool rigid = true;
    animation[0]->GetRigid(rigid);
    EXPECT_FALSE(rigid);
    EXPECT_EQ(animation[0]->GetGeom(0), right);
    GeometryBase* fixedPlane = animation[0]->GetGeom(1);
    ASSERT_NE(dynamic_cast<GPlane*>(fixedPlane), nullptr) << "the manager's construction plane, adopted";
    EXPECT_TRUE(fixedPlane->IsFixed());
    ZMR3_half_space side = ZMR3_HALF_SPACE_NONE;
    animation[0]->GetHalfSpaceForGeom(1, side);
    EXPECT_EQ(side, ZMR3_HALF_SPACE_POSITIVE);
    const std::vector<Node*>& removed = S()->GetYSKGeometries();
    EXPECT_NE(std::find(removed.begin(), removed.end(), animation[0]), removed.end());

    // The drag sets the signed distance moved along the direction, step after step.
    for (double along : {2.0, -1.5, 0.5}) {
        SCOPED_TRACE(along);
        animation[0]->SetValue(along);
        ASSERT_EQ(S()->SolveSystem(), SolveStatusSolved);
        double m[4][4];
        bool moved = false;
        ASSERT_TRUE(right->GetZMRChange(moved, m, nullptr, nullptr));
        ASSERT_TRUE(moved);
        EXPECT_NEAR(m[0][3], along, 1e-9);
        EXPECT_NEAR(Cross(Turned(left, Vec(-1, 0, 0)), Vec(1, 0, 0)).Length(), 0.0, 1e-9);
    }
}

TEST_F(Wrapper, ARotationDragOfASetGetsAPlanarAngleAboutTheAxisOnGeometryTheSetCarries)
{
    const int block = brennik::build::Block();
    Geometry* right = Face(block, 1, 0, 0);
    Set* dragSet = Set::CreateSet(S());
    dragSet->AddGeometry(right);
    const size_t before = S()->GetBondList()->size();
    const DesiredChangeRotateData change(dragSet, Dir(0, 0, 1), Vec(10, 0, 0), YSK_COMPLIANCE_EXACT);
    UpdateStatus status = UpdateUnknown;
    ASSERT_TRUE(Ysk()->AddDesired(&change, status));
    ASSERT_TRUE(Ysk()->GetBonds(true, true));

    // A rigid coincidence keeps the set on the axis; the angle about it is what the drag drives,
    // the last of the nodes listed for removal.
    const std::vector<TypedBond*> made = BondsAfter(before);
    ASSERT_EQ(made.size(), 2u);
    ASSERT_FALSE(S()->GetYSKGeometries().empty());
    auto* angle = dynamic_cast<PlanarAngleBond*>(S()->GetYSKGeometries().back());
    ASSERT_NE(angle, nullptr);
    EXPECT_EQ(angle->GetGeomCount(), 3);
    Dir axis;
    ASSERT_TRUE(angle->GetPlaneGeom()->GetNormal(axis));
    EXPECT_NEAR(std::abs(axis.z), 1.0, 1e-12);
    EXPECT_TRUE(angle->GetGeom(0)->IsFixed());
    EXPECT_EQ(angle->GetGeom(1)->GetSet(), dragSet) << "the moved plane joins the drag set";

    // The drag sets the signed angle turned about the axis, step after step.
    for (double turn : {0.25, -0.4}) {
        SCOPED_TRACE(turn);
        angle->SetValue(turn);
        ASSERT_EQ(S()->SolveSystem(), SolveStatusSolved);
        const Vec n = Turned(right, Vec(1, 0, 0));
        EXPECT_NEAR(n.x, std::cos(turn), 1e-9);
        EXPECT_NEAR(n.y, std::sin(turn), 1e-9);
    }
}

TEST_F(Wrapper, DesiredChangesWithoutADimensionSystemNodeMakeNoCall)
{
    const int block = brennik::build::Block();
    Geometry* loose = S()->GetOrMakeGeometry(GeometryKey(BlockFace(block, 1, 0, 0), nullptr));
    const DesiredChangeTranslateData notAdded(loose, Dir(1, 0, 0), YSK_COMPLIANCE_EXACT);
    const DesiredChangeTranslateData noNode(nullptr, Dir(1, 0, 0), YSK_COMPLIANCE_EXACT);
    UpdateStatus status = UpdateUnknown;
    s_countBQArgumentErrors = true;
    tessik_test::EnableCallLog(true);
    EXPECT_FALSE(Ysk()->AddDesired(&notAdded, status));
    EXPECT_FALSE(Ysk()->AddDesired(&noNode, status));
    EXPECT_FALSE(Ysk()->AddDesired(static_cast<const DesiredChangeRotateData*>(nullptr), status));
    EXPECT_EQ(tessik_test::CallCount("YSK::add_desired_translation"), 0);
    EXPECT_TRUE(s_countBQArgumentErrors) << "the print switches are back";
    s_countBQArgumentErrors = false;

    // Two empty arrays make no call either.
    RelationshipDataArray relationships;
    BondDataArray bonds;
    EXPECT_TRUE(Ysk()->AddBonds(relationships, bonds, status));
    EXPECT_EQ(tessik_test::CallCount("YSK::add_bonds"), 0);
    EXPECT_EQ(GetYSKCallCounter().add_bonds, 0);
    EXPECT_EQ(status, UpdateUnknown);
}

TEST_F(Wrapper, ARefusedBondFailsTheStatusAndIsStillCounted)
{
    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    BondDataArray bonds;
    // A curve length is nothing the system solves.
    bonds.AddData(BondData(ZMR3_CURVE_LENGTH, {BondEndData(left)}, true, 1.0));
    RelationshipDataArray relationships;
    UpdateStatus status = UpdateUnknown;
    EXPECT_TRUE(Ysk()->AddBonds(relationships, bonds, status));
    EXPECT_EQ(status, UpdateSolveFailed);
    EXPECT_EQ(GetYSKCallCounter().add_bonds, 1);
}

// Rules as the configure step would hold them: an answer slot per rule, and a code.
class Rules : public YSKRuleSource {
public:
    struct Entry {
        GeometryBase* geometry;
        int code;
        bool toApply;
        bool applied = false;
        YSK_autodefine_rule_return answer = YSK_RULE_NO_ANSWER;
    };
    std::vector<Entry> entries;

    int GetRuleCount() const override { return static_cast<int>(entries.size()); }
    bool IsToApplyInYSK(int i) const override { return entries[static_cast<size_t>(i)].toApply; }
    void MarkAppliedInYSK(int i) override { entries[static_cast<size_t>(i)].applied = true; }
    bool ToYSK(int i, Solver*, YSK_autodefine_rule& record) override
    {
        Entry& e = entries[static_cast<size_t>(i)];
        if (!e.geometry)
            return false;
        record = YSK_autodefine_rule{};
        record.node = e.geometry->GetGNode();
        record.node_given = 1;
        record.code = &e.code;
        record.answer = &e.answer;
        return true;
    }
};

TEST_F(Wrapper, AutodefineAppliesOnlyTheManagersRulesAndLandsTheAnswersInThem)
{
    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    Geometry* right = Face(block, 1, 0, 0);
    UpdateStatus status = UpdateUnknown;
    tessik_test::EnableCallLog(true);

    Rules none;
    none.entries = {{left, YSK_RULE_DO_NOT_MOVE, false}};
    EXPECT_TRUE(Ysk()->Autodefine(none, status));
    EXPECT_FALSE(none.entries[0].applied);
    EXPECT_EQ(tessik_test::CallCount("YSK::autodefine"), 0);

    Rules broken;
    broken.entries = {{left, YSK_RULE_DO_NOT_MOVE, true}, {nullptr, YSK_RULE_DO_NOT_MOVE, true}};
    EXPECT_FALSE(Ysk()->Autodefine(broken, status));
    EXPECT_TRUE(broken.entries[0].applied && broken.entries[1].applied);
    EXPECT_EQ(tessik_test::CallCount("YSK::autodefine"), 0);

    Rules rules;
    rules.entries = {{left, YSK_RULE_DO_NOT_MOVE, true}, {right, YSK_RULE_DO_NOT_MOVE, false},
                     {right, YSK_RULE_KEEP_RADIUS, true}};
    EXPECT_TRUE(Ysk()->Autodefine(rules, status));
    EXPECT_EQ(status, UpdateUnknown);
    EXPECT_EQ(rules.entries[0].answer, YSK_RULE_APPLIED);
    EXPECT_FALSE(rules.entries[1].applied);
    EXPECT_EQ(rules.entries[1].answer, YSK_RULE_NO_ANSWER);
    EXPECT_EQ(rules.entries[2].answer, YSK_RULE_NO_ANSWER) << "a plane has no radius";
    EXPECT_EQ(GetYSKCallCounter().autodefine, 1);

    // The Solver's door to the same call.
    Rules again;
    again.entries = {{left, YSK_RULE_DO_NOT_MOVE, true}};
    EXPECT_TRUE(AutodefineRules(&again, Ysk(), &status));
    EXPECT_EQ(again.entries[0].answer, YSK_RULE_APPLIED);
    EXPECT_TRUE(AutodefineRules(nullptr, Ysk(), &status));
    EXPECT_FALSE(AutodefineRules(&again, nullptr, &status));
    EXPECT_EQ(GetYSKCallCounter().autodefine, 2);
}

TEST_F(Wrapper, TheSolversPendingRecordsGoToTheManagerOnceAndItsBondsStayTheSolvers)
{
    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    Geometry* right = Face(block, 1, 0, 0);
    Geometry* bottom = Face(block, 0, 0, -1);
    UpdateStatus status = UpdateUnknown;

    // Nothing pending: the delayed bonds go into the system, the manager is not called.
    S()->SetDelayAddDCalls(true);
    S()->AddBond(TypedBond::CreateBinary(S(), ZMR3_PERPENDICULAR, left, bottom, 0.0));
    const int nodes = DNodes();
    EXPECT_TRUE(S()->AddBondsToYSK(Ysk(), status));
    EXPECT_EQ(DNodes(), nodes + 1);
    EXPECT_EQ(GetYSKCallCounter().add_bonds, 0);
    EXPECT_EQ(status, UpdateUnknown);

    // A pending relationship becomes the Solver's bond, and is not handed over again.
    S()->GetPendingRelationships().AddData(
        RelationshipData(YSK_RELATION_PARALLEL, {BondEndData(left), BondEndData(right)}));
    const size_t before = S()->GetBondList()->size();
    EXPECT_TRUE(S()->AddBondsToYSK(Ysk(), status));
    EXPECT_EQ(status, UpdateUnknown);
    EXPECT_TRUE(S()->GetPendingRelationships().Empty());
    const std::vector<TypedBond*> adopted = BondsAfter(before);
    ASSERT_EQ(adopted.size(), 1u);
    ZMR3_d_type type = ZMR3_DISTANCE;
    adopted[0]->GetType(type);
    EXPECT_EQ(type, ZMR3_PARALLEL);
    EXPECT_TRUE(S()->AddBondsToYSK(Ysk(), status));
    EXPECT_EQ(GetYSKCallCounter().add_bonds, 1);
    EXPECT_EQ(GetYSKCallCounter().get_bonds, 1);
    EXPECT_EQ(S()->GetBondList()->size(), before + 1);

    // Refused records fail the status and are dropped all the same.
    S()->GetPendingBonds().AddData(BondData(ZMR3_CURVE_LENGTH, {BondEndData(left)}, true, 1.0));
    S()->GetPendingRelationships().AddData(
        RelationshipData(YSK_RELATION_PARALLEL, {BondEndData(left), BondEndData(bottom)}));
    EXPECT_FALSE(S()->AddBondsToYSK(Ysk(), status));
    EXPECT_EQ(status, UpdateSolveFailed);
    EXPECT_TRUE(S()->GetPendingBonds().Empty());
    EXPECT_TRUE(S()->GetPendingRelationships().Empty());
    EXPECT_EQ(GetYSKCallCounter().get_bonds, 1) << "a refusal adopts nothing";

    // Without a manager the records cannot go anywhere.
    status = UpdateUnknown;
    S()->GetPendingBonds().AddData(BondData(ZMR3_DISTANCE, {BondEndData(left), BondEndData(right)}, true, 10.0));
    EXPECT_FALSE(S()->AddBondsToYSK(nullptr, status));
    EXPECT_EQ(status, UpdateSolveFailed);
    EXPECT_TRUE(S()->GetPendingBonds().Empty());
}

// Collects what a find reports.
class Collected : public YSKRelationshipSink {
public:
    struct Found {
        int relation;
        int entity[2];
        void* instance[2];
        int level;
    };
    std::vector<Found> found;
    void AddRelationship(Interaction*, int level, const YSK_dnode_data_s& r) override
    {
        found.push_back({r.relation, {r.ends[0].entity, r.ends[1].entity}, {r.ends[0].instance, r.ends[1].instance},
                         level});
    }
};

TEST_F(Wrapper, AFindSeesPlacedFacesWhereTheirInstancePutsThem)
{
    const int block = brennik::build::Block();
    double matrix[4][4];
    Moved(100, 0, 0).Get4x4(matrix);
    Instance* placed = Instance::Create(m_interaction, block, matrix);
    const int right = BlockFace(block, 1, 0, 0);
    const int atPlacedRight = brennik::build::FreePlane(110, 0, 0, 1, 0, 0);
    const int atBareRight = brennik::build::FreePlane(10, 5, 0, 1, 0, 0);
    EXPECT_EQ(Ysk()->SetFindOption(FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, true), 0);

    Collected sink;
    YSK_fr_option_s options;
    const double answering = Timer::GetTotal();
    const ResultType result = Ysk()->FindRelationships(
        {MakeYSKPointer(right, placed)}, {MakeYSKPointer(atPlacedRight, nullptr), MakeYSKPointer(atBareRight, nullptr)},
        {}, &options, 3, &sink);
    EXPECT_EQ(result, ResultTypeOk);
    ASSERT_EQ(sink.found.size(), 1u);
    EXPECT_EQ(sink.found[0].relation, YSK_RELATION_COPLANAR);
    EXPECT_EQ(sink.found[0].entity[0], right);
    EXPECT_EQ(sink.found[0].instance[0], placed);
    EXPECT_EQ(sink.found[0].entity[1], atPlacedRight);
    EXPECT_EQ(sink.found[0].level, 3);
    EXPECT_EQ(GetYSKCallCounter().find_relationships, 1);
    EXPECT_GE(YSKManager::GetYskFindTime(), 0.0);
    EXPECT_GT(Timer::GetTotal(), answering) << "the callbacks' own time";
}

TEST_F(Wrapper, TheKernelsCountOfParallelPlanePairsAgreesWithTheFindAndTimesItOnlyForOneBody)
{
    const int block = brennik::build::Block();
    const int plate = brennik::build::PlateWithManyHoles(4);
    auto pointers = [](const std::vector<int>& entities) {
        std::vector<YSK_pointer_s> out;
        for (int e : entities)
            out.push_back(MakeYSKPointer(e, nullptr));
        return out;
    };
    const int right = BlockFace(block, 1, 0, 0);
    const int left = BlockFace(block, -1, 0, 0);
    const int top = BlockFace(block, 0, 0, 1);
    struct Case {
        const char* name;
        std::vector<int> from;
        std::vector<int> to;
        int result, among, across;
    };
    const Case cases[] = {
        {"one face against its block", {right}, {block}, 0, 0, 1},
        {"two faces against their block", {right, left, top}, {block}, 0, 1, 1},
        {"a whole block", BodyFaces(block), {block}, 0, 3, 0},
        {"coaxial holes are no plane pairs", BodyFaces(plate), {plate}, 0, 3, 0},
        {"to is two entities", {right}, {block, plate}, 2, 0, 0},
        {"to is a face", {right}, {left}, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<YSK_pointer_s> from = pointers(c.from), to = pointers(c.to);
        int among = 0, across = 0;
        EXPECT_EQ(YSKManager::CountParallelPlanePairs(from.data(), static_cast<int>(from.size()), to.data(),
                                                      static_cast<int>(to.size()), &among, &across),
                  c.result);
        EXPECT_EQ(among, c.among);
        EXPECT_EQ(across, c.across);
    }

    // With the comparison on, a standard find of one body is timed by the kernel as well; a
    // tangent-and-symmetry pass, or an environment of more than one body, is not.
    ASSERT_EQ(Ysk()->SetFindOption(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, true), 0);
    BQ_SESSION_set_check_arguments(true);
    YSKManager::SetFindComparison(true);
    Collected sink;
    YSK_fr_option_s options;
    const std::vector<YSK_pointer_s> from = pointers({right, left, top}), body = pointers({block}),
                                     two = pointers({block, plate});
    EXPECT_EQ(Ysk()->FindRelationships(from, body, {}, &options, 0, &sink), ResultTypeOk);
    EXPECT_GE(YSKManager::GetBqFindTime(), 0.0);
    EXPECT_EQ(Ysk()->FindRelationships(from, two, {}, &options, 0, &sink), ResultTypeOk);
    EXPECT_EQ(YSKManager::GetBqFindTime(), -1.0);
    options.pass = 1;
    EXPECT_EQ(Ysk()->FindRelationships(from, body, {}, &options, 0, &sink), ResultTypeOk);
    EXPECT_EQ(YSKManager::GetBqFindTime(), -1.0);
    YSKManager::SetFindComparison(false);
    options.pass = 0;
    EXPECT_EQ(Ysk()->FindRelationships(from, body, {}, &options, 0, &sink), ResultTypeOk);
    EXPECT_EQ(YSKManager::GetBqFindTime(), -1.0);
    bool checking = false;
    BQ_SESSION_ask_check_arguments(&checking);
    EXPECT_TRUE(checking) << "argument checking is back on";
}

TEST_F(Wrapper, AManagerThatCouldNotBeMadeIsNeverCalled)
{
    Update()->Clear();
    tessik_test::FailNextManagerAllocation();
    Update()->EnsureSolverCreated();
    ASSERT_FALSE(Ysk()->HasManager());

    const int block = brennik::build::Block();
    Geometry* left = Face(block, -1, 0, 0);
    Geometry* right = Face(block, 1, 0, 0);
    EXPECT_EQ(AddParallel(left, right), UpdateSolveFailed);
    UpdateStatus status = UpdateUnknown;
    const DesiredChangeGeneralTransformData change(right, YSK_COMPLIANCE_EXACT);
    EXPECT_TRUE(Ysk()->AddDesired(&change, status));
    EXPECT_EQ(status, UpdateSolveFailed);
    EXPECT_EQ(Ysk()->AddBonds(nullptr, 0), YSK_RESULT_NO_SYSTEM);
    EXPECT_FALSE(Ysk()->GetBonds(true, true));
    Collected sink;
    EXPECT_EQ(Ysk()->FindRelationships({}, {}, {}, nullptr, 0, &sink), ResultTypeFail);
    EXPECT_NE(Ysk()->SetFindOption(FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, true), 0);
    const YSKManagerYSKCallCounter& counted = GetYSKCallCounter();
    EXPECT_EQ(counted.add_bonds + counted.get_bonds + counted.find_relationships + counted.add_desired_general_transform,
              0);

    // A rebuild makes the manager after all.
    Ysk()->ResetYSK(true);
    EXPECT_TRUE(Ysk()->HasManager());
}

TEST(YSKCallCounter, ReportPrintsTheCountersAboveZeroInOrder)
{
    ClearYSKCallCounter();
    ::testing::internal::CaptureStdout();
    GetYSKCallCounter().report();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    GetYSKCallCounter().autodefine = 2;
    GetYSKCallCounter().find_relationships = 1;
    ::testing::internal::CaptureStdout();
    GetYSKCallCounter().report();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "<YSK::find_relationships(1)><YSK::autodefine(2)>");
    ClearYSKCallCounter();
}

TEST(YSKOptionMapping, IdentitiesOnTheirRangesAndZeroOutside)
{
    EXPECT_EQ(YSKManager::ToYSKOptionRelationType(8), YSK_OPTION_SIMILAR);
    EXPECT_EQ(YSKManager::ToYSKOptionRelationType(9), YSK_OPTION_COPLANAR);
    EXPECT_EQ(YSKManager::ToYSKOptionRelationType(-1), YSK_OPTION_COPLANAR);
    EXPECT_EQ(YSKManager::ToYSKOptionGeomType(12), YSK_OPTION_SPHERE_PARTIAL);
    EXPECT_EQ(YSKManager::ToYSKOptionGeomType(13), YSK_OPTION_PLANE);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
