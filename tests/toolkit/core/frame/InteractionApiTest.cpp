// The interaction calls: creating one or more interactions, the options with no object of
// their own, updates during an operation, comparing interactions, entity ids, and what each
// call leaves in the journal.

#include "ApiTestFixture.h"

#include "core/calls/QelInteractionApi.h"
#include "core/rollback/RollbackManager.h"
#include "solver/operations/SolverOperation.h"

namespace QEL {
namespace testing {
namespace {

class InteractionApiTest : public ApiTest {
protected:
    int Create(ResultType expected = ResultTypeOk)
    {
        ResultType result = ResultTypeFail;
        const int tag = CreateInteraction(&result);
        EXPECT_EQ(result, expected);
        Adopt(tag);
        return tag;
    }
};

TEST_F(InteractionApiTest, OneInteractionUnlessMultipleAreAllowed)
{
    OpenJournalFile();
    const int first = Create();
    EXPECT_NE(first, 0);
    EXPECT_EQ(Create(ResultTypeInteractionAlreadyCreated), 0);
    Interaction::SetAllowMultipleInteractions(true);
    const int second = Create();
    EXPECT_NE(second, 0);
    EXPECT_NE(second, first);

    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 3u);
    const XMLTreeNode refused = records[1].GetChild("ReturnValue");
    EXPECT_EQ(Attribute(refused, "type"), "Tag");
    EXPECT_EQ(Attribute(refused, "tag"), "0");
    EXPECT_EQ(Attribute(Argument(records[1], "result"), "value"), "ResultTypeInteractionAlreadyCreated");
    EXPECT_EQ(Attribute(records[2].GetChild("ReturnValue"), "type"), "InteractionTag");
    EXPECT_EQ(Attribute(records[2].GetChild("ReturnValue"), "tag"), std::to_string(second));
}

TEST_F(InteractionApiTest, NoKernelSessionNoRollbackOrAnExistingInteraction)
{
    BQ_SESSION_stop();
    EXPECT_EQ(Create(ResultTypeNoBrennikSession), 0);
    const BQ_SESSION_start_o_t withoutRollback{1, false, true};
    ASSERT_EQ(BQ_SESSION_start(&withoutRollback), 0);
    EXPECT_EQ(Create(ResultTypeNoBrennikRollback), 0);
    BQ_SESSION_stop();
    brennik::test::RestartSession();
    Create();
    BQ_SESSION_stop();
    EXPECT_EQ(Create(ResultTypeInteractionAlreadyCreated), 0) << "an existing interaction decides";
    brennik::test::RestartSession();
}

TEST_F(InteractionApiTest, DestroyedInteractionsNoLongerAnswer)
{
    const int tag = Create();
    ResultType result = ResultTypeFail;
    QEL::DestroyInteraction(tag, &result);
    EXPECT_EQ(result, ResultTypeOk);
    m_made.clear();
    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    OptionGetCheckArguments(tag, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    OptionSetCheckArguments(tag, false, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
}

// A solver operation that stands for a running drag.
class RunningDrag : public SolverOperation {
    int Solve(Solver*) override { return 0; }
};

TEST_F(InteractionApiTest, ToleranceAndUpdateAreRefusedWhileAnOperationRuns)
{
    const int tag = Create();
    Interaction& interaction = *TagManager::FindInteractionFromTag(tag);
    ResultType result = ResultTypeFail;
    EXPECT_DOUBLE_EQ(OptionGetModellingTolerance(tag, &result), 1e-6);

    interaction.EnableRollback();
    const int mark = interaction.CreateMark();
    OptionSetModellingTolerance(tag, 1e-6, &result);
    EXPECT_EQ(result, ResultTypeOk);
    std::map<RollableEntity*, RollbackAction*> changes;
    interaction.GetChangesAfterMark(mark, changes);
    EXPECT_TRUE(changes.empty()) << "an unchanged value records nothing";
    OptionSetModellingTolerance(tag, -1.0, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_DOUBLE_EQ(OptionGetModellingTolerance(tag, &result), -1.0);

    RunningDrag drag;
    interaction.SetCurrentSolverOperation(&drag);
    OptionSetModellingTolerance(tag, 1e-5, &result);
    EXPECT_EQ(result, ResultTypeDragActive);
    EXPECT_EQ(Update(tag, &result), UpdateUnknown);
    EXPECT_EQ(result, ResultTypeDragActive);
    interaction.SetCurrentSolverOperation(nullptr);
    EXPECT_EQ(Update(tag, &result), UpdateApplied);
    EXPECT_EQ(result, ResultTypeOk);
}

TEST_F(InteractionApiTest, TheOptionSettersAndGetters)
{
    const int tag = Create();
    struct Option {
        const char* name;
        void (*set)(int, bool, ResultType*);
        bool (*get)(int, ResultType*);
    };
    const Option options[] = {
        {"adaptive lift", &OptionSetAdaptiveLiftMode, &OptionGetAdaptiveLiftMode},
        {"mutually dependent blends", &OptionSetIncludeMutuallyDependentBlends,
         &OptionGetIncludeMutuallyDependentBlends},
        {"dimension animation", &OptionSetDimensionAnimationForDrag, &OptionGetDimensionAnimationForDrag},
        {"check arguments", &OptionSetCheckArguments, &OptionGetCheckArguments},
    };
    for (const Option& option : options) {
        SCOPED_TRACE(option.name);
        for (bool value : {true, false, true}) {
            ResultType result = ResultTypeFail;
            option.set(tag, value, &result);
            EXPECT_EQ(result, ResultTypeOk);
            EXPECT_EQ(option.get(tag, &result), value);
            EXPECT_EQ(result, ResultTypeOk);
        }
    }
    ResultType result = ResultTypeFail;
    OptionSetDelayAddDCalls(tag, false, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_FALSE(TagManager::FindInteractionFromTag(tag)->GetDelayAddDCalls());
}

TEST_F(InteractionApiTest, EntityIdsComeOneAfterAnother)
{
    const int tag = Create();
    ResultType result = ResultTypeFail;
    const int first = GetNextUniqueIdInTheInteraction(tag, &result);
    EXPECT_EQ(GetNextUniqueIdInTheInteraction(tag, &result), first + 1);
    EXPECT_EQ(TagManager::FindInteractionFromTag(tag)->NextEntityId(), first + 2);
}

TEST_F(InteractionApiTest, ComparingWithAnUnknownInteraction)
{
    const int tag = Create();
    ResultType result = ResultTypeOk;
    EXPECT_FALSE(DebugCompareInteractions(tag, kUnknownTag, false, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
    OptionSetCheckArguments(tag, false, &result);
    EXPECT_FALSE(DebugCompareInteractions(tag, kUnknownTag, false, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_TRUE(DebugCompareInteractions(tag, tag, false, &result));
    EXPECT_EQ(result, ResultTypeOk);
}

TEST_F(InteractionApiTest, TheJournalHoldsEachCallsValuesUnderItsOwnNames)
{
    const int tag = Create();
    OpenJournalFile();
    ResultType result = ResultTypeOk;
    OptionSetAdaptiveLiftMode(tag, true, &result);
    OptionGetAdaptiveLiftMode(tag, &result);
    DebugCompareInteractions(tag, tag, true, &result);
    OptionSetModellingTolerance(tag, 2e-6, &result);

    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 4u);
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(Attribute(records[i], "index"), std::to_string(i + 1));

    const XMLTreeNode set = records[0];
    EXPECT_EQ(Attribute(set, "name"), "OptionSetAdaptiveLiftMode");
    EXPECT_EQ(Attribute(Argument(set, "interaction"), "type"), "InteractionTag");
    EXPECT_EQ(Attribute(Argument(set, "adaptiveLiftMode"), "type"), "bool");
    EXPECT_EQ(Attribute(Argument(set, "adaptiveLiftMode"), "argType"), "input");
    EXPECT_TRUE(set.GetChild("ReturnValue").IsEmpty());
    EXPECT_EQ(Attribute(Argument(set, "result"), "value"), "ResultTypeOk");
    EXPECT_EQ(Attribute(Argument(set, "result"), "argType"), "<absent>");

    const XMLTreeNode get = records[1].GetChild("ReturnValue");
    EXPECT_EQ(Attribute(get, "type"), "bool");
    EXPECT_EQ(Attribute(get, "value"), "true");

    EXPECT_FALSE(Argument(records[2], "interaction1").IsEmpty());
    EXPECT_EQ(Attribute(Argument(records[2], "interaction2"), "type"), "InteractionTag");
    EXPECT_EQ(Attribute(Argument(records[3], "modellingTolerance"), "type"), "double");
}

TEST_F(InteractionApiTest, AMinimisedJournalKeepsOnlyTheCallsThatChangeSomething)
{
    Interaction::SetAllowMultipleInteractions(true);
    const int tag = Create();
    OpenJournalFile();
    SetJournalMinimised(true);
    ResultType result = ResultTypeOk;
    Create();
    OptionSetModellingTolerance(tag, 2e-6, &result);
    OptionGetModellingTolerance(tag, &result);
    Update(tag, &result);
    DebugCompareInteractions(tag, tag, false, &result);
    OptionSetDelayAddDCalls(tag, false, &result);
    OptionSetAdaptiveLiftMode(tag, true, &result);
    OptionGetAdaptiveLiftMode(tag, &result);
    OptionSetIncludeMutuallyDependentBlends(tag, true, &result);
    OptionGetIncludeMutuallyDependentBlends(tag, &result);
    OptionSetDimensionAnimationForDrag(tag, false, &result);
    OptionGetDimensionAnimationForDrag(tag, &result);
    GetNextUniqueIdInTheInteraction(tag, &result);
    OptionSetCheckArguments(tag, true, &result);
    OptionGetCheckArguments(tag, &result);
    m_made.erase(std::find(m_made.begin(), m_made.end(), TagManager::FindInteractionFromTag(tag)));
    QEL::DestroyInteraction(tag, &result);

    std::vector<std::string> names;
    for (const XMLTreeNode& record : Records(ReadJournal()))
        names.push_back(Attribute(record, "name"));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "CreateInteraction", "OptionSetModellingTolerance", "Update",
                         "OptionSetDelayAddDCalls", "OptionSetAdaptiveLiftMode",
                         "OptionSetIncludeMutuallyDependentBlends",
                         "OptionSetDimensionAnimationForDrag", "DestroyInteraction"}));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
