// The configure's records: one face pattern and one rule per type and key, which rules the
// auto-constraint manager is given, and its answers landing in the rules.
#include "ConfigureFixture.h"

namespace QEL {
namespace testing {
namespace {

TEST(ConfigureFoundDataArrayTest, KeepsOnePatternRecordAndMapsOnlyRelaxedShellFaces)
{
    ConfigureFoundDataArray records(nullptr);
    Object* pattern = reinterpret_cast<Object*>(0x10);
    EXPECT_EQ(records.Add(ConfigureFoundData(ConfigureFoundDataFacePattern, pattern, false, 0)), 0);
    EXPECT_EQ(records.Add(ConfigureFoundData(ConfigureFoundDataFacePattern, pattern, false, 3)), -1);

    const ShellClusterData active({11, 12}, {21}, 1.0);
    const ShellClusterData relaxed({31}, {41, 42}, 1.0);
    EXPECT_EQ(records.Add(ConfigureFoundData(ConfigureFoundDataShellCluster, active, false, false, 0)), 1);
    EXPECT_EQ(records.Add(ConfigureFoundData(ConfigureFoundDataShellCluster, relaxed, true, false, 0)), 2);
    EXPECT_EQ(records.FindShellRecordOfFace(11), nullptr);
    EXPECT_EQ(records.FindShellRecordOfFace(21), nullptr);
    for (int face : {31, 41, 42})
        EXPECT_EQ(records.FindShellRecordOfFace(face), &records.GetRecords()[2]) << face;
    EXPECT_EQ(records.GetCount(), 3);
}

TEST(ConfigureRuleArrayTest, HoldsOneRulePerTypeAndKeyAndCountsOnlyRulesForTheManager)
{
    ConfigureRuleArray rules;
    int index = -1;
    EXPECT_TRUE(rules.AddRule(ConfigureRule({7, nullptr}, RuleTypeRelativeAngle, Vec(1, 0, 0)), index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(rules.AddRule(ConfigureRule({7, nullptr}, RuleTypeRelativeAngle, Vec(0, 1, 0)), index));
    EXPECT_EQ(index, 0);
    EXPECT_LT(Distance(rules.GetRule(0)->GetDirection(), Vec(1, 0, 0)), 1e-12);
    EXPECT_TRUE(rules.AddRule(ConfigureRule({7, nullptr}, RuleTypeDoNotMove, Vec()), index));
    EXPECT_EQ(index, 1);

    ConfigureRule unreached({8, nullptr}, RuleTypeKeepRadius, Vec());
    unreached.SetFromApplication(true);
    unreached.SetFound(false);
    rules.AddRule(unreached, index);
    rules.AddRule(ConfigureRule({9, nullptr}, RuleTypeTreatAsBlend, Vec()), index);
    EXPECT_EQ(rules.GetNumRulesToApplyInYSK(), 2);
    rules.MarkAppliedInYSK(0);
    EXPECT_EQ(rules.GetNumRulesToApplyInYSK(), 1);
    rules.GetRule(2)->SetFound(true);
    EXPECT_EQ(rules.GetNumRulesToApplyInYSK(), 2);

    EXPECT_EQ(rules.GetRule(1)->GetRuleReturnValue(), YSK_RULE_NO_ANSWER);
    EXPECT_FALSE(rules.GetRule(1)->IsApplied());
    EXPECT_EQ(rules.GetRule(4), nullptr);
    EXPECT_EQ(rules.GetRule(-1), nullptr);
}

TEST_F(ConfigureTest, TheManagersAnswersLandInTheRules)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int side = BlockFace(block, 1, 0, 0);
    ConfigureRuleArray rules;
    int index = -1;
    rules.AddRule(ConfigureRule({side, nullptr}, RuleTypeDoNotMove, Vec()), index);
    rules.AddRule(ConfigureRule({side, nullptr}, RuleTypeTreatAsBlend, Vec()), index);
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(AutodefineRules(&rules, Ysk(), &status));
    EXPECT_NE(status, UpdateSolveFailed);
    EXPECT_TRUE(rules.GetRule(0)->IsApplied());
    EXPECT_TRUE(rules.GetRule(0)->GetPassedToYSK());
    // The blend marker is never the manager's.
    EXPECT_EQ(rules.GetRule(1)->GetRuleReturnValue(), YSK_RULE_NO_ANSWER);
    EXPECT_FALSE(rules.GetRule(1)->GetPassedToYSK());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
