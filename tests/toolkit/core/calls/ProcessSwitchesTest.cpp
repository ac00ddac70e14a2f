// The process-wide switches as the exported calls set and answer them: their load values,
// what each setter changes, prefixes and file numbers of the debug outputs, the defaults new
// interactions take, and the version text.

#include "SystemApiFixture.h"

#include <cstring>

namespace QEL {
namespace testing {
namespace {

// Must stay the first test of the suite: it sees the switches as the library loaded them
// (every later test puts them back too).
TEST_F(SystemApiTest, AFreshProcessAnswersTheLoadValuesOfTheSwitches)
{
    struct Expected {
        const char* call;
        bool (*get)(ResultType*);
        bool value;
    };
    const Expected expected[] = {
        {"GetHXRPFBasedAlgorithmStatus", &GetHXRPFBasedAlgorithmStatus, true},
        {"GetNewPFAlgorithmStatus", &GetNewPFAlgorithmStatus, false},
        {"OptionGetCheckArgumentsDefault", &OptionGetCheckArgumentsDefault, true},
        {"OptionGetAllowMultipleInteractions", &OptionGetAllowMultipleInteractions, false},
        {"GetMinimiseJournal", &GetMinimiseJournal, false},
        {"GetTessikJournalling", &GetTessikJournalling, false},
        {"GetBrennikJournalling", &GetBrennikJournalling, false},
        {"IsJournalling", &IsJournalling, false},
    };
    for (const Expected& each : expected) {
        SCOPED_TRACE(each.call);
        ResultType result = ResultTypeFail;
        EXPECT_EQ(each.get(&result), each.value);
        EXPECT_EQ(result, ResultTypeOk);
    }
    for (DebugJournalSwitch* output : {&GetSolverJournalSwitch(), &GetAddOnReportSwitch()}) {
        EXPECT_STREQ(output->GetPrefix(), "");
        EXPECT_EQ(output->GetNumber(), 1);
    }
}

TEST_F(SystemApiTest, EachFlagSetterChangesWhatItsGetterAndItsReadersSee)
{
    struct FlagCalls {
        const char* name;
        void (*set)(bool, ResultType*);
        bool (*get)(ResultType*);
        // How the rest of the toolkit reads the flag.
        bool (*read)();
    };
    const FlagCalls flags[] = {
        {"minimise journal", &SetMinimiseJournal, &GetMinimiseJournal, &IsJournalMinimised},
        {"solver journal", &SetTessikJournalling, &GetTessikJournalling,
         [] { return GetSolverJournalSwitch().IsOn(); }},
        {"add-on reports", &SetBrennikJournalling, &GetBrennikJournalling,
         [] { return GetAddOnReportSwitch().IsOn(); }},
        {"allow multiple interactions", &OptionSetAllowMultipleInteractions,
         &OptionGetAllowMultipleInteractions, &Interaction::GetAllowMultipleInteractions},
        {"new procedural-feature algorithm", &SetNewPFAlgorithmStatus, &GetNewPFAlgorithmStatus,
         &GetNewPFAlgorithm},
        {"add-on procedural-feature algorithm", &SetHXRPFBasedAlgorithmStatus,
         &GetHXRPFBasedAlgorithmStatus, &GetHXRPFBasedAlgorithm},
        {"check-arguments default", &OptionSetCheckArgumentsDefault,
         &OptionGetCheckArgumentsDefault, &Interaction::GetCheckArgumentsDefault},
    };
    for (const FlagCalls& flag : flags) {
        SCOPED_TRACE(flag.name);
        for (bool value : {true, false, true}) {
            ResultType result = ResultTypeFail;
            flag.set(value, &result);
            EXPECT_EQ(result, ResultTypeOk);
            result = ResultTypeFail;
            EXPECT_EQ(flag.get(&result), value);
            EXPECT_EQ(result, ResultTypeOk);
            EXPECT_EQ(flag.read(), value);
        }
        // A null result pointer is allowed.
        flag.set(false, nullptr);
        EXPECT_FALSE(flag.get(nullptr));
    }
}

TEST_F(SystemApiTest, NewInteractionsTakeTheCheckArgumentsDefault)
{
    for (bool checks : {false, true}) {
        OptionSetCheckArgumentsDefault(checks, nullptr);
        const int interaction = NewInteraction();
        ResultType result = ResultTypeFail;
        EXPECT_EQ(OptionGetCheckArguments(interaction, &result), checks);
        EXPECT_EQ(result, ResultTypeOk);
        DestroyAllInteractions();
    }
}

TEST_F(SystemApiTest, PrefixesAndBaseIndicesNameTheDebugOutputFiles)
{
    struct Output {
        const char* name;
        void (*setPrefix)(const char*, ResultType*);
        void (*setBaseIndex)(int, ResultType*);
        DebugJournalSwitch& output;
    };
    const Output outputs[] = {
        {"solver journal", &SetTessikJournallingPrefix, &SetTessikJournallingBaseIndex,
         GetSolverJournalSwitch()},
        {"add-on reports", &SetBrennikJournallingPrefix, &SetBrennikJournallingBaseIndex,
         GetAddOnReportSwitch()},
    };
    for (const Output& each : outputs) {
        SCOPED_TRACE(each.name);
        ResultType result = ResultTypeFail;
        each.setPrefix("/tmp/reports/run_", &result);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_STREQ(each.output.GetPrefix(), "/tmp/reports/run_");
        each.setBaseIndex(7, &result);
        EXPECT_EQ(result, ResultTypeOk);
        // Each file written takes the next number.
        EXPECT_EQ(each.output.TakeNumber(), 7);
        EXPECT_EQ(each.output.TakeNumber(), 8);
        EXPECT_EQ(each.output.GetNumber(), 9);
        // Setting the prefix or the number leaves the switch itself alone.
        EXPECT_FALSE(each.output.IsOn());
    }
}

TEST_F(SystemApiTest, APrefixIsCutToItsBufferAndANullPrefixIsEmpty)
{
    const std::string longPrefix(1500, 'p');
    for (void (*setPrefix)(const char*, ResultType*) :
         {&SetTessikJournallingPrefix, &SetBrennikJournallingPrefix}) {
        ResultType result = ResultTypeFail;
        setPrefix(longPrefix.c_str(), &result);
        EXPECT_EQ(result, ResultTypeOk);
        setPrefix(nullptr, &result);
        EXPECT_EQ(result, ResultTypeOk);
    }
    EXPECT_STREQ(GetSolverJournalSwitch().GetPrefix(), "");
    EXPECT_STREQ(GetAddOnReportSwitch().GetPrefix(), "");

    SetTessikJournallingPrefix(longPrefix.c_str(), nullptr);
    EXPECT_EQ(std::string(GetSolverJournalSwitch().GetPrefix()), longPrefix.substr(0, 999));
    const std::string fits(999, 'f');
    SetBrennikJournallingPrefix(fits.c_str(), nullptr);
    EXPECT_EQ(std::string(GetAddOnReportSwitch().GetPrefix()), fits);
}

TEST_F(SystemApiTest, TurningAllowMultipleOffWithSeveralInteractionsIsReportedButTakesEffect)
{
    OptionSetAllowMultipleInteractions(true, nullptr);
    NewInteraction();
    NewInteraction();
    ResultType result = ResultTypeOk;
    OptionSetAllowMultipleInteractions(false, &result);
    EXPECT_EQ(result, ResultTypeMultipleInteractions);
    EXPECT_FALSE(OptionGetAllowMultipleInteractions(&result));
    EXPECT_EQ(result, ResultTypeOk);
    // Both interactions stay, and no third one is made.
    EXPECT_EQ(TagManager::GetInteractionCount(), 2);
    EXPECT_EQ(CreateInteraction(&result), 0);
    EXPECT_EQ(result, ResultTypeInteractionAlreadyCreated);

    // With one interaction there is nothing to report.
    DestroyAllInteractions();
    NewInteraction();
    OptionSetAllowMultipleInteractions(false, &result);
    EXPECT_EQ(result, ResultTypeOk);
}

TEST_F(SystemApiTest, AskVersionWritesExactlyTheVersionTextAndItsTerminator)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    ResultType result = ResultTypeFail;
    AskVersion(buffer, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(std::memcmp(buffer, "01.02.004", 10), 0);
    EXPECT_EQ(buffer[10], 'x');

    result = ResultTypeFail;
    AskVersion(nullptr, &result);
    EXPECT_EQ(result, ResultTypeOk);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
