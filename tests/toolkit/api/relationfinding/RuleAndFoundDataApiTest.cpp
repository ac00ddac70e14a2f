// The rule calls and the found-data calls: what CreateRule hands back, the states they refuse,
// null outputs, and the shell data only a shell record has.
#include "../../core/frame/ApiTestFixture.h"

#include "api/finding/QelFoundDataApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/finding/QelRuleApi.h"
#include "core/kernel/KernelFacade.h"
#include "model/operations/ShellClusterData.h"
#include "update/records/FoundData.h"

namespace QEL {
namespace testing {
namespace {

class RuleAndFoundDataApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        const int block = brennik::build::Block(10, 20, 30);
        std::set<int> faces;
        GetBodyFaces(block, faces);
        m_faces.assign(faces.begin(), faces.end());
        ResultType result = ResultTypeUnknown;
        m_reference = CreateReference(m_tag, m_faces[0], 0, &result);
        ASSERT_NE(m_reference, 0);
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    std::vector<int> m_faces;
    int m_reference = 0;
};

TEST_F(RuleAndFoundDataApiTest, CreateRuleHandsBackTheReferencesRuleAsItIsEvenRelaxed)
{
    ResultType result = ResultTypeUnknown;
    double up[3] = {0, 0, 1};
    const int rule = CreateRule(m_tag, RuleTypeTranslateInDir, m_reference, up, &result);
    ASSERT_NE(rule, 0);
    RuleSetState(m_tag, rule, RuleStateRelax, &result);
    EXPECT_EQ(result, ResultTypeOk);
    // The caller gets the existing rule, still relaxed: asking again does not re-apply it.
    EXPECT_EQ(CreateRule(m_tag, RuleTypeTranslateInDir, m_reference, up, &result), rule);
    EXPECT_EQ(RuleGetState(m_tag, rule, &result), RuleStateRelax);
    double across[3] = {1, 0, 0};
    const int second = CreateRule(m_tag, RuleTypeTranslateInDir, m_reference, across, &result);
    EXPECT_NE(second, rule);
    const int unaimed = CreateRule(m_tag, RuleTypeDoNotMove, m_reference, nullptr, &result);
    double direction[3] = {9, 9, 9};
    RuleGetTranslateDirection(m_tag, unaimed, direction, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(direction[0] + direction[1] + direction[2], 0.0);

    Array<int> rules;
    rules.Add(42);
    ReferenceGetRules(m_tag, m_reference, rules, &result);
    ASSERT_EQ(rules.GetSize(), 3);
    EXPECT_EQ(rules[0], rule);
    EXPECT_EQ(RuleGetReference(m_tag, rule, &result), m_reference);
    EXPECT_EQ(RuleGetType(m_tag, second, &result), RuleTypeTranslateInDir);
    EXPECT_FALSE(RuleGetWasApplied(m_tag, rule, &result));
}

TEST_F(RuleAndFoundDataApiTest, StatesOutsideTheEnumerationAndNullDirectionsAreRefused)
{
    ResultType result = ResultTypeUnknown;
    const int rule = CreateRule(m_tag, RuleTypeDoNotMove, m_reference, nullptr, &result);
    for (bool checks : {true, false}) {
        m_interaction->SetCheckArguments(checks);
        RuleSetState(m_tag, rule, RuleState(7), &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_EQ(RuleGetState(m_tag, rule, &result), RuleStateApply);
        RuleGetTranslateDirection(m_tag, rule, nullptr, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        FoundDataSetState(m_tag, rule, FoundDataStateRelax, &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << "a rule is no found data";
    }
}

TEST_F(RuleAndFoundDataApiTest, OnlyAShellRecordHasShellData)
{
    FoundData* shell = FoundData::Create(m_interaction, FoundDataTypeShell, FoundDataStateApply,
                                         ShellClusterData({m_faces[0]}, {m_faces[1]}, 2.5), 3, true);
    FoundData* bare = FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, nullptr, 1, false);
    ASSERT_TRUE(shell && bare);
    ResultType result = ResultTypeUnknown;
    Array<int> side1, side2;
    double thickness = 0.0;
    FoundDataGetShellData(m_tag, shell->GetTag(), side1, side2, thickness, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(thickness, 2.5);
    ASSERT_EQ(side1.GetSize(), 1);
    EXPECT_EQ(side1[0], m_faces[0]);
    EXPECT_EQ(FoundDataGetLevel(m_tag, shell->GetTag(), &result), 3);
    EXPECT_EQ(FoundDataGetType(m_tag, shell->GetTag(), &result), FoundDataTypeShell);

    FoundDataGetShellData(m_tag, bare->GetTag(), side1, side2, thickness, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(side1.GetSize() + side2.GetSize(), 0);
    EXPECT_EQ(thickness, 0.0);
    EXPECT_EQ(FoundDataGetObject(m_tag, bare->GetTag(), &result), 0);
    EXPECT_EQ(result, ResultTypeBadArgument);

    m_interaction->EnableRollback();
    const int mark = m_interaction->CreateMark();
    FoundDataSetState(m_tag, shell->GetTag(), FoundDataStateRelax, &result);
    EXPECT_EQ(FoundDataGetState(m_tag, shell->GetTag(), &result), FoundDataStateRelax);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(FoundDataGetState(m_tag, shell->GetTag(), &result), FoundDataStateApply);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
