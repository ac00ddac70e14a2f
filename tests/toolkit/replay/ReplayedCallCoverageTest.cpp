// Every family of replayable calls is journalled in a session on domain fixtures and replayed in
// a fresh process: each step succeeds or is ignored and the final checkpoint compares equal.
// Together with the examples' round trips, the journals replayed name every registered call.
#include "ReplayedSession.h"

#include "../core/frame/ApiTestFixture.h"

#include "core/frame/ApiCallTable.h"

#include <sstream>

namespace QEL {
namespace testing {
namespace {

std::vector<ReplaySession> AllSessions()
{
    std::vector<ReplaySession> all;
    for (auto family : {EditSessions, ModellingSessions, ModelSessions, PatternSessions, FeatureSessions,
                        FinderSessions, AppendingSessions}) {
        const std::vector<ReplaySession> sessions = family();
        all.insert(all.end(), sessions.begin(), sessions.end());
    }
    return all;
}

std::string Folder(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("qel-replayed-sessions-" + std::to_string(getpid())) / name)
        .string();
}

class ReplayedSessionTest : public ApiTest, public ::testing::WithParamInterface<ReplaySession> {
protected:
    static void TearDownTestSuite() { std::filesystem::remove_all(Folder("")); }
};

TEST_P(ReplayedSessionTest, ReplaysCleanInAFreshProcess)
{
    const std::string journal = JournalSession(GetParam(), Folder(GetParam().name));
    EXPECT_GT(RecordedCallNames(journal).size(), 3u);
    const DriverReplay replay = ReplayThroughDriver(journal, journal + ".replayed.xml");
    EXPECT_EQ(replay.exitCode, 0);
    for (const std::string& line : replay.differing)
        ADD_FAILURE() << line;
}

INSTANTIATE_TEST_SUITE_P(Families, ReplayedSessionTest, ::testing::ValuesIn(AllSessions()),
                         [](const ::testing::TestParamInfo<ReplaySession>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

// The names of a section of the registry fixture.
std::set<std::string> RegistrySection(const std::string& section)
{
    std::ifstream in(std::string(QEL_SOURCE_DIR) + "/tests/toolkit/core/frame/fixtures/replay-registry.txt");
    std::set<std::string> names;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside)
            names.insert(line);
    }
    return names;
}

std::vector<std::string> RoundTripExamples()
{
    std::vector<std::string> programs;
    std::istringstream list(QEL_ROUND_TRIP_EXAMPLES);
    for (std::string program; std::getline(list, program, '|');)
        if (!program.empty())
            programs.push_back(program);
    return programs;
}

class ReplayCoverageTest : public ApiTest {
protected:
    void TearDown() override
    {
        ApiTest::TearDown();
        std::filesystem::remove_all(Folder(""));
    }
};

// A new replayable call that no replayed journal makes fails here, as does a journalled call
// the registry does not know.
TEST_F(ReplayCoverageTest, TheReplayedJournalsNameEveryRegisteredCall)
{
    std::set<std::string> replayed;
    for (const ReplaySession& session : AllSessions()) {
        brennik::test::RestartSession();
        const std::set<std::string> names = RecordedCallNames(JournalSession(session, Folder(session.name)));
        replayed.insert(names.begin(), names.end());
    }
    const std::vector<std::string> examples = RoundTripExamples();
    ASSERT_FALSE(examples.empty());
    for (const std::string& program : examples) {
        const std::string folder = Folder(std::filesystem::path(program).filename().string());
        std::filesystem::create_directories(folder);
        ASSERT_EQ(std::system((program + " '" + folder + "' > /dev/null 2>&1").c_str()), 0) << program;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string path = entry.path().string();
            if (path.size() > 12 && path.compare(path.size() - 12, 12, "-journal.xml") == 0) {
                const std::set<std::string> names = RecordedCallNames(path);
                replayed.insert(names.begin(), names.end());
            }
        }
    }

    const std::set<std::string> registered = RegistrySection("registered");
    const std::set<std::string> unregistered = RegistrySection("unregistered");
    ASSERT_FALSE(registered.empty());
    // Calls that write no record cannot be in a journal: those whose row says so, and the reset
    // that must work when the call frame cannot and so runs without one.
    std::set<std::string> neverJournalled = {"SystemReset"};
    for (const ApiCallEntry& entry : GetApiCalls()) {
        if (!entry.properties->IsJournallable())
            neverJournalled.insert(entry.properties->name);
    }
    for (const std::string& name : registered) {
        if (!neverJournalled.count(name)) {
            EXPECT_TRUE(replayed.count(name)) << name << " is registered but no replayed journal makes it";
        }
    }
    for (const std::string& name : replayed) {
        EXPECT_TRUE(registered.count(name) || unregistered.count(name)) << name << " is journalled but not listed";
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
