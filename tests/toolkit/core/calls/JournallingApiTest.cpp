// Starting and stopping the journal through the exported calls: where the file goes, what a
// second start or stop does to the journal and the debug-output switches, the records the
// calls leave (under their own names, with typed values), what the minimise option keeps out,
// and a kernel fault while the journal is being opened.

#include "SystemApiFixture.h"

#include "core/objects/Instance.h"

#include <brennik.h>
#include <brennik_build.h>

#include <stdexcept>

namespace QEL {
namespace testing {
namespace {

TEST_F(SystemApiTest, TheJournalPathIsThePrefixFollowedDirectlyByTheFileName)
{
    struct Case {
        std::string prefix;
        const char* fileName;
        std::string expected;
    };
    const Case cases[] = {
        {m_dir, "mine.xml", m_dir + "mine.xml"},
        {m_dir + "run_", "mine.xml", m_dir + "run_mine.xml"},
        {m_dir, nullptr, m_dir + "QELJournal.xml"},
        {m_dir + "run_", "", m_dir + "run_QELJournal.xml"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.expected);
        ResultType result = ResultTypeFail;
        StartJournalling(each.prefix.c_str(), each.fileName, false, false, &result);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_TRUE(IsJournalling(&result));
        StopJournalling(&result);
        EXPECT_EQ(result, ResultTypeOk);
        ASSERT_TRUE(Exists(each.expected));
        const XMLTreeNode root = ParseJournalFile(each.expected);
        EXPECT_EQ(RecordNames(root),
                  (std::vector<std::string>{"StartJournalling", "IsJournalling", "StopJournalling"}));
    }
}

TEST_F(SystemApiTest, WithoutPrefixOrFileNameTheJournalIsQELJournalInTheWorkingDirectory)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
    ResultType result = ResultTypeFail;
    StartJournalling(nullptr, nullptr, false, false, &result);
    EXPECT_EQ(result, ResultTypeOk);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeOk);
    std::filesystem::current_path(previous);
    EXPECT_TRUE(Exists(m_dir + "QELJournal.xml"));
    // A null prefix is journalled as a null string.
    const XMLTreeNode record = Children(ParseJournalFile(m_dir + "QELJournal.xml"), "Function").at(0);
    EXPECT_EQ(Attribute(Argument(record, "journalPrefix"), "isNull"), "true");
}

TEST_F(SystemApiTest, AJournalFileThatCannotBeWrittenIsReportedAndNoJournalIsOpen)
{
    ResultType result = ResultTypeOk;
    const std::string missing = m_dir + "no/such/folder/";
    StartJournalling(missing.c_str(), nullptr, true, false, &result);
    EXPECT_EQ(result, ResultTypeCouldNotOpenFile);
    EXPECT_FALSE(IsJournalling(&result));
    // The solver journal is switched on whatever the opening gave.
    EXPECT_TRUE(GetSolverJournalSwitch().IsOn());
    EXPECT_EQ(std::string(GetSolverJournalSwitch().GetPrefix()), missing);
}

TEST_F(SystemApiTest, ASecondStartKeepsTheOpenJournalAndStillStartsTheDebugOutputs)
{
    ResultType result = ResultTypeFail;
    StartJournalling(m_dir.c_str(), "first.xml", false, false, &result);
    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_FALSE(GetSolverJournalSwitch().IsOn());
    SetTessikJournallingBaseIndex(5, nullptr);
    SetBrennikJournallingBaseIndex(6, nullptr);

    const std::string other = m_dir + "other_";
    StartJournalling(other.c_str(), "second.xml", true, true, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_TRUE(IsJournalling(nullptr));
    EXPECT_FALSE(Exists(other + "second.xml"));
    for (DebugJournalSwitch* output : {&GetSolverJournalSwitch(), &GetAddOnReportSwitch()}) {
        EXPECT_TRUE(output->IsOn());
        EXPECT_EQ(std::string(output->GetPrefix()), other);
        EXPECT_EQ(output->GetNumber(), 1);
    }

    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeOk);
    // The refused start is recorded in the journal that stayed open.
    const std::vector<XMLTreeNode> records = Children(ParseJournalFile(m_dir + "first.xml"), "Function");
    ASSERT_EQ(records.size(), 6u);
    const XMLTreeNode refused = records[3];
    EXPECT_EQ(Attribute(refused, "name"), "StartJournalling");
    EXPECT_EQ(TextOf(Argument(refused, "journalPrefix")), other);
    EXPECT_EQ(Attribute(Argument(refused, "includeTessik"), "value"), "true");
    EXPECT_EQ(Attribute(Argument(refused, "result"), "value"), "ResultTypeFail");
}

TEST_F(SystemApiTest, StoppingTwiceFailsTheSecondTimeAndLeavesTheDebugOutputsOffEitherWay)
{
    ResultType result = ResultTypeFail;
    StartJournalling(m_dir.c_str(), nullptr, true, true, &result);
    ASSERT_EQ(result, ResultTypeOk);
    SetTessikJournallingBaseIndex(4, nullptr);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeOk);
    for (DebugJournalSwitch* output : {&GetSolverJournalSwitch(), &GetAddOnReportSwitch()}) {
        EXPECT_FALSE(output->IsOn());
        EXPECT_STREQ(output->GetPrefix(), "");
        EXPECT_EQ(output->GetNumber(), 1);
    }

    SetTessikJournalling(true, nullptr);
    SetBrennikJournallingPrefix("reports/", nullptr);
    SetBrennikJournallingBaseIndex(3, nullptr);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_FALSE(GetTessikJournalling(nullptr));
    EXPECT_STREQ(GetAddOnReportSwitch().GetPrefix(), "");
    EXPECT_EQ(GetAddOnReportSwitch().GetNumber(), 1);
}

TEST_F(SystemApiTest, EachCallIsJournalledUnderItsOwnNameWithTypedValues)
{
    const std::string path = m_dir + "calls.xml";
    ResultType result = ResultTypeFail;
    StartJournalling(m_dir.c_str(), "calls.xml", false, true, &result);
    ASSERT_EQ(result, ResultTypeOk);
    SetTessikJournallingPrefix("solver/", nullptr);
    SetTessikJournallingBaseIndex(12, nullptr);
    GetTessikJournalling(nullptr);
    GetBrennikJournalling(nullptr);
    char version[10];
    AskVersion(version, nullptr);
    AskVersion(nullptr, nullptr);
    const int channel = GetReportChannel(nullptr);
    EXPECT_EQ(channel, -1);
    OptionSetAllowMultipleInteractions(true, nullptr);
    SetMinimiseJournal(false, nullptr);
    GetMinimiseJournal(nullptr);
    StopJournalling(nullptr);

    const std::vector<XMLTreeNode> records = Children(ParseJournalFile(path), "Function");
    EXPECT_EQ(RecordNames(ParseJournalFile(path)),
              (std::vector<std::string>{"StartJournalling", "SetTessikJournallingPrefix",
                                        "SetTessikJournallingBaseIndex", "GetTessikJournalling",
                                        "GetBrennikJournalling", "AskVersion", "AskVersion",
                                        "GetReportChannel", "OptionSetAllowMultipleInteractions",
                                        "StopJournalling"}));
    ASSERT_EQ(records.size(), 10u);

    // name of record, value name ("" for the return value), then type, direction and value.
    struct Expected {
        size_t record;
        const char* name;
        const char* type;
        const char* argType;
        const char* value;
    };
    const Expected expected[] = {
        {0, "journalPrefix", "String", "input", nullptr},
        {0, "includeTessik", "bool", "input", "false"},
        {0, "includeBrennik", "bool", "input", "true"},
        {1, "prefix", "String", "input", nullptr},
        {2, "baseIndex", "int", "input", "12"},
        {3, "", "bool", "<absent>", "false"},
        {4, "", "bool", "<absent>", "true"},
        {5, "version", "String", "output", nullptr},
        {6, "version", "String", "output", nullptr},
        {7, "", "int", "<absent>", "-1"},
        {8, "allowMultipleInteractions", "bool", "input", "true"},
    };
    for (const Expected& each : expected) {
        SCOPED_TRACE(std::to_string(each.record) + " " + each.name);
        const XMLTreeNode record = records[each.record];
        const XMLTreeNode value =
            *each.name ? Argument(record, each.name) : record.GetChild("ReturnValue");
        ASSERT_FALSE(value.IsEmpty());
        EXPECT_EQ(Attribute(value, "type"), each.type);
        EXPECT_EQ(Attribute(value, "argType"), each.argType);
        if (each.value) {
            EXPECT_EQ(Attribute(value, "value"), each.value);
        }
    }
    EXPECT_EQ(TextOf(Argument(records[0], "journalPrefix")), m_dir);
    EXPECT_EQ(TextOf(Argument(records[1], "prefix")), "solver/");
    EXPECT_EQ(TextOf(Argument(records[5], "version")), "01.02.004");
    EXPECT_EQ(Attribute(Argument(records[6], "version"), "isNull"), "true");
    // No file name goes into the journal, and every record ends with its result.
    EXPECT_TRUE(Argument(records[0], "fileName").IsEmpty());
    for (const XMLTreeNode& record : records) {
        const XMLTreeNode outcome = Argument(record, "result");
        EXPECT_EQ(Attribute(outcome, "type"), "ResultType");
        EXPECT_EQ(Attribute(outcome, "value"), "ResultTypeOk");
        EXPECT_EQ(Attribute(outcome, "argType"), "<absent>");
    }
}

TEST_F(SystemApiTest, UnderTheMinimiseOptionJournalControlsAndEnquiriesLeaveNoRecord)
{
    const std::string path = m_dir + "minimised.xml";
    ResultType result = ResultTypeFail;
    SetMinimiseJournal(true, &result);
    ASSERT_EQ(result, ResultTypeOk);
    StartJournalling(m_dir.c_str(), "minimised.xml", false, false, &result);
    ASSERT_EQ(result, ResultTypeOk);

    const int interaction = NewInteraction();
    IsJournalling(nullptr);
    SetTessikJournalling(true, nullptr);
    GetTessikJournalling(nullptr);
    SetBrennikJournalling(true, nullptr);
    GetBrennikJournalling(nullptr);
    StartJournalling(m_dir.c_str(), "minimised.xml", false, false, nullptr);
    OptionGetCheckArguments(interaction, nullptr);
    OptionSetCheckArguments(interaction, true, nullptr);
    GetMinimiseJournal(nullptr);
    // These stay in.
    SetTessikJournallingPrefix("kept/", nullptr);
    OptionGetAllowMultipleInteractions(nullptr);
    OptionSetCheckArgumentsDefault(true, nullptr);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeOk);

    EXPECT_EQ(RecordNames(ParseJournalFile(path)),
              (std::vector<std::string>{"CreateInteraction", "SetTessikJournallingPrefix",
                                        "OptionGetAllowMultipleInteractions",
                                        "OptionSetCheckArgumentsDefault"}));
}

TEST_F(SystemApiTest, WithTheBulletinBoardOnTheJournalOpensButTheCallAnswersBulletinBoardOn)
{
    brennik::test::SetBulletinBoard(true);
    ResultType result = ResultTypeOk;
    StartJournalling(m_dir.c_str(), "board.xml", false, false, &result);
    EXPECT_EQ(result, ResultTypeBrennikBBOn);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeBrennikBBOn);
    EXPECT_TRUE(IsJournalOpen());
    brennik::test::SetBulletinBoard(false);
    StopJournalling(&result);
    EXPECT_EQ(result, ResultTypeOk);

    const std::vector<XMLTreeNode> records = Children(ParseJournalFile(m_dir + "board.xml"), "Function");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Attribute(Argument(records[0], "result"), "value"), "ResultTypeBrennikBBOn");
    EXPECT_TRUE(Argument(records[0], "journalPrefix").IsEmpty());
}

// An instance whose journal form raises a fault once, while the journal that is being opened
// writes the interactions already registered.
class FaultingInstance : public Instance {
public:
    using Instance::Instance;
    static inline void (*s_fault)() = nullptr;

    bool DoIO(XMLIO& xmlio) override
    {
        if (void (*fault)() = s_fault) {
            s_fault = nullptr;
            fault();
        }
        return Instance::DoIO(xmlio);
    }
};

void AskFacesOfNothing()
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(0, &count, &faces);
}

TEST_F(SystemApiTest, AFaultWhileTheJournalOpensEndsTheCallWithNoJournalAndAnEmptyRegistry)
{
    struct Fault {
        const char* name;
        void (*raise)();
    };
    const Fault faults[] = {
        {"fatal kernel error",
         [] {
             brennik::test::RaiseFatalInNextCall(901);
             AskFacesOfNothing();
         }},
        {"kernel abort",
         [] {
             brennik::test::AbortInNextCall();
             AskFacesOfNothing();
         }},
        {"exception", [] { throw std::runtime_error("thrown while journalling an instance"); }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const int tag = NewInteraction();
        Interaction* interaction = TagManager::FindInteractionFromTag(tag);
        const int body = brennik::build::Block();
        interaction->AddSeenBody(body);
        (new FaultingInstance(interaction, body, nullptr))->AddToInteraction();
        FaultingInstance::s_fault = fault.raise;

        ResultType result = ResultTypeOk;
        StartJournalling(m_dir.c_str(), "fault.xml", false, false, &result);
        FaultingInstance::s_fault = nullptr;
        EXPECT_EQ(result, ResultTypeUnhandledException);
        EXPECT_FALSE(IsJournalOpen());
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        bool inKernel = true;
        ASSERT_EQ(BQ_SESSION_is_in_kernel(&inKernel), 0);
        EXPECT_FALSE(inKernel);

        // What was written is closed off and readable.
        const XMLTreeNode root = ParseJournalFile(m_dir + "fault.xml");
        EXPECT_TRUE(Children(root, "Function").empty());

        // The process goes on: a new interaction and a new journal.
        NewInteraction();
        StartJournalling(m_dir.c_str(), "after.xml", false, false, &result);
        EXPECT_EQ(result, ResultTypeOk);
        StopJournalling(&result);
        EXPECT_EQ(result, ResultTypeOk);
        DestroyAllInteractions();
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
