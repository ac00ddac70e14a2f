// Every exported call in the call table, made with bad input, with the kernel's bulletin
// board on and with faults inside it: each must answer with the frame's result codes, leave
// the journal records the frame promises and leave the process able to go on.

#include "ApiTestFixture.h"

#include "core/calls/QelInteractionApi.h"
#include "replay/ReplayRegistry.h"

#include <fstream>
#include <set>
#include <string>

namespace QEL {
namespace testing {
namespace {

class ApiCallSweepTest : public ApiTest {
protected:
    // The record of the named call, failing unless there is exactly one.
    XMLTreeNode RecordOf(const XMLTreeNode& root, const char* name)
    {
        XMLTreeNode found;
        int count = 0;
        for (const XMLTreeNode& record : Records(root))
            if (Attribute(record, "name") == name) {
                found = record;
                ++count;
            }
        EXPECT_EQ(count, 1) << "records of " << name;
        return found;
    }
};

TEST_F(ApiCallSweepTest, TheTableFindsEachCallByItsName)
{
    const std::vector<ApiCallEntry> calls = GetApiCalls();
    ASSERT_FALSE(calls.empty());
    for (const ApiCallEntry& entry : calls) {
        SCOPED_TRACE(entry.properties->name);
        const ApiCallEntry* found = FindApiCall(entry.properties->name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->properties, entry.properties);
    }
    EXPECT_NE(FindApiCall("CreateInteraction"), nullptr);
    EXPECT_EQ(FindApiCall("NoSuchCall"), nullptr);
    EXPECT_EQ(FindApiCall(nullptr), nullptr);
}

// The lists of the calls that journal replay can call again and of those it cannot, from
// fixtures/replay-registry.txt.
struct ReplayLists {
    std::set<std::string> registered;
    std::set<std::string> unregistered;
};

ReplayLists ReadReplayLists()
{
    ReplayLists lists;
    std::ifstream file(std::string(QEL_SOURCE_DIR) + "/tests/toolkit/core/frame/fixtures/replay-registry.txt");
    std::set<std::string>* list = nullptr;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "[registered]")
            list = &lists.registered;
        else if (line == "[unregistered]")
            list = &lists.unregistered;
        else if (list)
            list->insert(line);
    }
    return lists;
}

// Every call of the table is in one of the lists, and it is registered for replay exactly when
// it is in the first; nothing outside the first list is registered.
TEST_F(ApiCallSweepTest, TheReplayRegistryHoldsExactlyTheReplayableCalls)
{
    const ReplayLists lists = ReadReplayLists();
    ASSERT_EQ(lists.registered.size(), 368u);
    ASSERT_EQ(lists.unregistered.size(), 52u);
    const auto& registry = GetReplayFunctionRegistry();
    for (const ApiCallEntry& entry : GetApiCalls()) {
        const std::string name = entry.properties->name;
        const bool replayable = lists.registered.count(name) != 0;
        EXPECT_TRUE(replayable || lists.unregistered.count(name)) << name << " is in neither list";
        EXPECT_EQ(registry.count(name) != 0, replayable) << name;
        EXPECT_EQ(entry.properties->IsReplayable(), replayable) << name;
    }
    for (const auto& entry : registry)
        EXPECT_TRUE(lists.registered.count(entry.first)) << entry.first << " is registered";
}

TEST_F(ApiCallSweepTest, AnUnknownInteractionTagIsABadArgumentAndIsJournalledWithoutOutputs)
{
    for (bool checksOn : {true, false}) {
        Interaction::SetCheckArgumentsDefault(checksOn);
        const int live = NewInteraction();  // a registered interaction does not make the tag known
        OpenJournalFile();
        std::vector<const ApiCallProperties*> journalled;
        for (const ApiCallEntry& entry : GetApiCalls()) {
            if (!entry.properties->NeedsInteraction())
                continue;
            SCOPED_TRACE(entry.properties->name);
            ResultType result = ResultTypeOk;
            EXPECT_TRUE(entry.probe(kUnknownTag, &result)) << "returned a value other than its failure value";
            EXPECT_EQ(result, ResultTypeBadArgument);
            if (entry.properties->IsJournallable())
                journalled.push_back(entry.properties);
        }
        const XMLTreeNode root = ReadJournal();
        for (const ApiCallProperties* call : journalled) {
            SCOPED_TRACE(call->name);
            const XMLTreeNode record = RecordOf(root, call->name);
            const XMLTreeNode tag = Argument(record, call->interactionArgName);
            ASSERT_FALSE(tag.IsEmpty());
            EXPECT_EQ(Attribute(tag, "argType"), "input");
            EXPECT_EQ(Attribute(tag, "tag"), std::to_string(kUnknownTag));
            EXPECT_EQ(CountArguments(record, "output"), 0);
            EXPECT_TRUE(record.GetChild("ReturnValue").IsEmpty());
            EXPECT_EQ(Attribute(Argument(record, "result"), "value"), "ResultTypeBadArgument");
        }
        EXPECT_NE(TagManager::FindInteractionFromTag(live), nullptr);
        DestroyAllInteractions();
        std::remove(m_path.c_str());
    }
    Interaction::SetCheckArgumentsDefault(true);
}

// A number that names no value of an enumeration is refused before it is held as one, checks
// on or off; it is journalled as the number given.
TEST_F(ApiCallSweepTest, AnEnumerationNumberThatNamesNoValueIsABadArgument)
{
    for (bool checksOn : {true, false}) {
        Interaction::SetCheckArgumentsDefault(checksOn);
        for (int number : {77, -1, 1000}) {
            const int interaction = NewInteraction();
            OpenJournalFile();
            int probed = 0;
            for (const ApiCallEntry& entry : GetApiCalls()) {
                SCOPED_TRACE(std::string(entry.properties->name) + " with " + std::to_string(number));
                ResultType result = ResultTypeOk;
                if (!entry.enumProbe(interaction, &result, number))
                    continue;
                ++probed;
                EXPECT_EQ(result, ResultTypeBadArgument);
            }
            EXPECT_GE(probed, 13);
            const XMLTreeNode record = RecordOf(ReadJournal(), "GetObjects");
            EXPECT_EQ(Attribute(Argument(record, "objectType"), "value"), std::to_string(number));
            DestroyAllInteractions();
            std::remove(m_path.c_str());
        }
    }
    Interaction::SetCheckArgumentsDefault(true);
}

TEST_F(ApiCallSweepTest, WithTheBulletinBoardOnNothingRunsAndOnlyTheResultIsJournalled)
{
    const int interaction = NewInteraction();
    OpenJournalFile();
    brennik::test::SetBulletinBoard(true);
    std::vector<const ApiCallProperties*> journalled;
    for (const ApiCallEntry& entry : GetApiCalls()) {
        SCOPED_TRACE(entry.properties->name);
        ResultType result = ResultTypeOk;
        EXPECT_TRUE(entry.probe(interaction, &result));
        EXPECT_EQ(result, ResultTypeBrennikBBOn);
        if (entry.properties->IsJournallable())
            journalled.push_back(entry.properties);
    }
    brennik::test::SetBulletinBoard(false);
    EXPECT_NE(TagManager::FindInteractionFromTag(interaction), nullptr);
    const XMLTreeNode root = ReadJournal();
    for (const ApiCallProperties* call : journalled) {
        SCOPED_TRACE(call->name);
        const XMLTreeNode record = RecordOf(root, call->name);
        EXPECT_NE(Attribute(record, "index"), "<absent>");
        ASSERT_EQ(Children(record, "Argument").size(), 1u);
        EXPECT_EQ(Attribute(Argument(record, "result"), "value"), "ResultTypeBrennikBBOn");
    }
}

TEST_F(ApiCallSweepTest, AFaultInsideAnyCallEndsItAndTheProcessGoesOn)
{
    for (const ApiCallEntry& entry : GetApiCalls()) {
        for (const InjectedFault& fault : InjectedFaults()) {
            SCOPED_TRACE(std::string(entry.properties->name) + ", " + fault.name);
            const int interaction = NewInteraction();
            OpenJournalFile();
            SetApiCallFaultForTest(fault.raise);
            ResultType result = ResultTypeOk;
            EXPECT_TRUE(entry.probe(interaction, &result));
            SetApiCallFaultForTest(nullptr);
            EXPECT_EQ(result, ResultTypeUnhandledException);
            EXPECT_EQ(TagManager::GetInteractionCount(), 0);
            EXPECT_FALSE(IsJournalOpen());
            const XMLTreeNode root = ReadJournal();
            if (entry.properties->IsJournallable()) {
                const XMLTreeNode record = RecordOf(root, entry.properties->name);
                EXPECT_EQ(Attribute(Argument(record, "result"), "value"),
                          "ResultTypeUnhandledException");
                EXPECT_EQ(CountArguments(record, "output"), 0);
            }

            // The kernel was left tidy, and new work starts.
            bool inKernel = true;
            ASSERT_EQ(BQ_SESSION_is_in_kernel(&inKernel), 0);
            EXPECT_FALSE(inKernel);
            ResultType created = ResultTypeFail;
            const int next = CreateInteraction(&created);
            EXPECT_EQ(created, ResultTypeOk);
            EXPECT_NE(next, 0);
            Adopt(next);
            DestroyAllInteractions();
            std::remove(m_path.c_str());
        }
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
