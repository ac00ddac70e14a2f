// The two resets, and the process-wide calls as journal replay makes them again: the resets,
// the flag setters and getters, and no adapter for the journalling controls.

#include "SystemApiFixture.h"

#include "replay/ReplayRegistry.h"

namespace QEL {
namespace testing {
namespace {

TEST_F(SystemApiTest, SystemResetForgetsTheInteractionsWithoutDestroyingThem)
{
    const int first = NewInteraction();
    Interaction* survivor = TagManager::FindInteractionFromTag(first);
    ResultType result = ResultTypeFail;
    StartJournalling(m_dir.c_str(), "reset.xml", false, false, &result);
    ASSERT_EQ(result, ResultTypeOk);
    // It runs outside the frame: the bulletin board does not stop it.
    brennik::test::SetBulletinBoard(true);
    SystemReset(&result);
    EXPECT_EQ(result, ResultTypeOk);
    brennik::test::SetBulletinBoard(false);
    SystemReset(nullptr);

    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    OptionGetCheckArguments(first, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    // The interaction still exists behind its tag, only unreachable through the calls.
    EXPECT_EQ(GetObjectFromApplicationItem(first), static_cast<void*>(survivor));
    // A new one can be made although multiples are not allowed.
    ASSERT_FALSE(OptionGetAllowMultipleInteractions(nullptr));
    NewInteraction();

    StopJournalling(&result);
    const XMLTreeNode root = ParseJournalFile(m_dir + "reset.xml");
    // The journal opened with the interaction registered then.
    const std::vector<XMLTreeNode> opened = Children(root, "Interaction");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(Attribute(opened[0], "tag"), std::to_string(first));
    EXPECT_EQ(RecordNames(root),
              (std::vector<std::string>{"StartJournalling", "OptionGetCheckArguments",
                                        "OptionGetAllowMultipleInteractions", "CreateInteraction",
                                        "StopJournalling"}));
}

TEST_F(SystemApiTest, ResetDestroysEveryInteractionAndTurnsAllowMultipleOff)
{
    OptionSetAllowMultipleInteractions(true, nullptr);
    // Made by the calls and not kept by the fixture: Reset ends them.
    const int first = CreateInteraction(nullptr);
    const int second = CreateInteraction(nullptr);
    ASSERT_EQ(TagManager::GetInteractionCount(), 2);

    ResultType result = ResultTypeFail;
    Reset(&result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    EXPECT_FALSE(OptionGetAllowMultipleInteractions(nullptr));
    for (int tag : {first, second}) {
        OptionGetModellingTolerance(tag, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        // Destroyed, not just forgotten: the tag names nothing any more.
        EXPECT_EQ(GetObjectFromApplicationItem(tag), nullptr);
    }
    // With nothing registered there is nothing to destroy.
    Reset(&result);
    EXPECT_EQ(result, ResultTypeOk);
}

// A recorded value list: the arguments, then the call's result pointer.
std::vector<ReplayValue> Recorded(std::initializer_list<ReplayValue> arguments)
{
    std::vector<ReplayValue> values(arguments);
    ReplayValue result;
    result.SetInt(ResultTypeFail);
    values.push_back(result);
    return values;
}

ReplayValue BoolValue(bool value)
{
    ReplayValue replayed;
    replayed.SetBool(value);
    return replayed;
}

TEST_F(SystemApiTest, ReplaySetsAndAnswersTheProcessWideFlags)
{
    struct Flag {
        const char* setter;
        const char* getter;
        bool (*read)();
    };
    const Flag flags[] = {
        {"SetMinimiseJournal", "GetMinimiseJournal", &IsJournalMinimised},
        {"OptionSetAllowMultipleInteractions", "OptionGetAllowMultipleInteractions",
         &Interaction::GetAllowMultipleInteractions},
        {"SetNewPFAlgorithmStatus", "GetNewPFAlgorithmStatus", &GetNewPFAlgorithm},
        {"SetHXRPFBasedAlgorithmStatus", "GetHXRPFBasedAlgorithmStatus", &GetHXRPFBasedAlgorithm},
        {"OptionSetCheckArgumentsDefault", "OptionGetCheckArgumentsDefault",
         &Interaction::GetCheckArgumentsDefault},
    };
    for (const Flag& flag : flags) {
        SCOPED_TRACE(flag.setter);
        for (bool value : {true, false}) {
            std::vector<ReplayValue> arguments = Recorded({BoolValue(value)});
            ReplayValue returned = BoolValue(!value);
            ASSERT_TRUE(CallReplayFunction(flag.setter, arguments, &returned));
            EXPECT_EQ(returned.GetKind(), ReplayValueKindNone);
            EXPECT_EQ(arguments[1].GetInt(), ResultTypeOk);
            EXPECT_EQ(flag.read(), value);

            arguments = Recorded({});
            returned = ReplayValue();
            ASSERT_TRUE(CallReplayFunction(flag.getter, arguments, &returned));
            EXPECT_EQ(returned.GetKind(), ReplayValueKindBool);
            EXPECT_EQ(returned.GetBool(), value);
            EXPECT_EQ(arguments[0].GetInt(), ResultTypeOk);
        }
        // A list of the wrong length is refused before the call.
        std::vector<ReplayValue> wrong = Recorded({});
        EXPECT_THROW(CallReplayFunction(flag.setter, wrong, nullptr), std::invalid_argument);
    }
}

TEST_F(SystemApiTest, ReplayResetsAndLeavesTheJournallingControlsAlone)
{
    OptionSetAllowMultipleInteractions(true, nullptr);
    const int kept = NewInteraction();
    std::vector<ReplayValue> arguments = Recorded({});
    ASSERT_TRUE(CallReplayFunction("SystemReset", arguments, nullptr));
    EXPECT_EQ(arguments[0].GetInt(), ResultTypeOk);
    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    EXPECT_NE(GetObjectFromApplicationItem(kept), nullptr);

    const int destroyed = CreateInteraction(nullptr);
    arguments = Recorded({});
    ReplayValue returned = BoolValue(true);
    ASSERT_TRUE(CallReplayFunction("Reset", arguments, &returned));
    EXPECT_EQ(arguments[0].GetInt(), ResultTypeOk);
    EXPECT_EQ(returned.GetKind(), ReplayValueKindNone);
    EXPECT_EQ(GetObjectFromApplicationItem(destroyed), nullptr);
    EXPECT_FALSE(Interaction::GetAllowMultipleInteractions());

    for (const char* control :
         {"StartJournalling", "StopJournalling", "IsJournalling", "SetTessikJournalling",
          "GetTessikJournalling", "SetBrennikJournalling", "GetBrennikJournalling",
          "SetTessikJournallingPrefix", "SetBrennikJournallingBaseIndex", "AskVersion",
          "GetReportChannel"})
        EXPECT_EQ(GetReplayFunctionRegistry().count(control), 0u) << control;
}

}  // namespace
}  // namespace testing
}  // namespace QEL
