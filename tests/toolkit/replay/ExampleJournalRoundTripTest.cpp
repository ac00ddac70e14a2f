// Every toolkit example journals its run. Replayed in a fresh process while that process
// journals the replay, every record succeeds or is ignored and every checkpoint matches; the
// second journal says what the first says once tags, indices, times and encoded bodies are set
// aside, and it replays clean in turn. One recorded value changed differs at exactly its record.
#include "ReplayDriver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using QEL::testing::DriverReplay;
using QEL::testing::ReplayThroughDriver;

struct Example {
    const char* name;
    const char* program;
    const char* journal;  // the file the example writes its journal to, in its output folder
    // The application registered feature procedures before it opened its journal; the replay
    // registers the same ones first.
    bool registersProcedures = false;
};

// Every toolkit example that journals its run.
const Example kExamples[] = {
    {"relations", QEL_EXAMPLE_relations, "relations-journal.xml"},
    {"savefile", QEL_EXAMPLE_save_load, "save_load-journal.xml"},
    {"relation-finding", QEL_EXAMPLE_relation_finding, "relation-finding-journal.xml"},
    {"drag", QEL_EXAMPLE_drag, "drag-journal.xml"},
    {"value-edits", QEL_EXAMPLE_value_edits, "value-edits-journal.xml"},
    {"options", QEL_EXAMPLE_option_objects, "options-journal.xml"},
    {"one-shot", QEL_EXAMPLE_one_shot_operations, "one_shot-journal.xml"},
    {"sections-patterns", QEL_EXAMPLE_sections_patterns, "sections_patterns-journal.xml"},
    {"interaction", QEL_EXAMPLE_interaction_marks, "interaction_journal.xml"},
    {"feature-edit", QEL_EXAMPLE_feature_edit, "feature_edit-journal.xml", true},
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Folder(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qel-example-replay-" + std::to_string(getpid())) / name;
    std::filesystem::create_directories(folder);
    return folder.string();
}

// Removes every element of the name, with its content.
void RemoveElements(std::string& text, const std::string& name)
{
    for (size_t at = text.find("<" + name); at != std::string::npos; at = text.find("<" + name, at)) {
        const size_t open = text.find('>', at);
        size_t end = open;
        if (open != std::string::npos && text[open - 1] != '/') {
            end = text.find("</" + name + ">", open);
            end = end == std::string::npos ? std::string::npos : end + name.size() + 2;
        }
        if (end == std::string::npos)
            return;
        text.erase(at, end - at + 1);
    }
}

// Removes every attribute of the name.
void RemoveAttribute(std::string& text, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
        const size_t end = text.find('"', at + key.size());
        text.erase(at, end - at + 1);
    }
}

// What a journal says once tags, indices, times and encoded bodies are set aside, and the
// journalling calls themselves (their file names differ).
std::vector<std::string> Said(std::string text)
{
    RemoveElements(text, "Body");
    RemoveElements(text, "Interaction");
    for (const char* name : {"tag", "index", "bodyTag", "bodyId", "bodyIndex", "date", "time"})
        RemoveAttribute(text, name);
    std::vector<std::string> records;
    for (size_t at = text.find("<Function"); at != std::string::npos;) {
        const size_t next = text.find("<Function", at + 1);
        std::string record = text.substr(at, next == std::string::npos ? std::string::npos : next - at);
        const size_t root = record.find("</QELJournal>");
        if (root != std::string::npos)
            record.erase(root);
        std::string squeezed;
        for (char c : record)
            if (!std::isspace(static_cast<unsigned char>(c)))
                squeezed += c;
        // A replay skips the journalling calls, the files and the application's data (the
        // replay's own journal holds its own journalling calls).
        bool skipped = false;
        for (const char* name : {"StartJournalling", "StopJournalling", "IsJournalling", "GetMarkCount", "AskVersion",
                                 "DebugSaveInteraction", "ObjectSetApplicationData", "ObjectGetApplicationData",
                                 "GetReportChannel", "OptionSetFindAcceptRelationCallback", "GetTessikJournalling",
                                 "GetBrennikJournalling", "SetTessikJournalling", "SetBrennikJournalling"})
            skipped = skipped || squeezed.find("name=\"" + std::string(name) + "\"") != std::string::npos;
        if (!skipped)
            records.push_back(squeezed);
        at = next;
    }
    return records;
}

// The journal of the example's run, made afresh in its own folder.
std::string RunExample(const Example& example)
{
    const std::string folder = Folder(example.name);
    const std::string command = std::string(example.program) + " '" + folder + "' > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << example.name;
    const std::string journal = folder + "/" + example.journal;
    EXPECT_TRUE(std::filesystem::exists(journal)) << journal;
    return journal;
}

class ExampleJournalRoundTripTest : public ::testing::TestWithParam<Example> {
protected:
    static void TearDownTestSuite()
    {
        std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                    ("qel-example-replay-" + std::to_string(getpid())));
    }
};

TEST_P(ExampleJournalRoundTripTest, ReplaysCleanAndJournalsTheSameRun)
{
    const Example& example = GetParam();
    const std::string first = RunExample(example);
    const std::string second = first + ".replayed.xml";
    const DriverReplay replay = ReplayThroughDriver(first, second, example.registersProcedures);
    EXPECT_EQ(replay.exitCode, 0);
    for (const std::string& line : replay.differing)
        ADD_FAILURE() << line;

    const std::vector<std::string> recorded = Said(ReadText(first));
    const std::vector<std::string> replayed = Said(ReadText(second));
    EXPECT_GT(recorded.size(), 3u);
    EXPECT_EQ(recorded.size(), replayed.size());
    for (size_t i = 0; i < recorded.size() && i < replayed.size(); ++i)
        ASSERT_EQ(recorded[i], replayed[i]) << "record " << i + 1 << " after the journalling calls";

    const DriverReplay again = ReplayThroughDriver(second, second + ".again.xml", example.registersProcedures);
    EXPECT_EQ(again.exitCode, 0);
    for (const std::string& line : again.differing)
        ADD_FAILURE() << "second journal: " << line;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleJournalRoundTripTest, ::testing::ValuesIn(kExamples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

// The index of the record around a place in a journal.
int RecordIndexAt(const std::string& journal, size_t at)
{
    const size_t record = journal.rfind("<Function", at);
    const size_t index = journal.find("index=\"", record);
    return std::atoi(journal.c_str() + index + 7);
}

// One recorded value changed by hand: the replay differs at that record alone, with the status
// of what was changed.
TEST(ExampleJournalChangeTest, OneChangedValueDiffersAtExactlyItsRecord)
{
    struct Change {
        const char* what;
        const char* example;
        const char* find;  // the text changed, at its first place after the first checkpoint-free record
        std::string (*change)(const std::string& found);
        const char* status;
    };
    const Change changes[] = {
        {"a result", "relations", "value=\"ResultTypeOk\"",
         [](const std::string&) { return std::string("value=\"ResultTypeBadArgument\""); }, "ReplayResultDiffers"},
        {"a boolean return value", "savefile", "<ReturnValue type=\"bool\" value=\"",
         [](const std::string& found) { return found; }, "ReplayReturnValueDiffers"},
        {"a double by 2e-8", "relations", "<ReturnValue type=\"double\" value=\"",
         [](const std::string& found) { return found; }, "ReplayReturnValueDiffers"},
        {"a value in a checkpoint's snapshot", "relations", "<Interaction",
         [](const std::string& found) { return found; }, "ReplayCheckpointDiffers"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const Example* example = nullptr;
        for (const Example& each : kExamples)
            if (std::string(each.name) == change.example)
                example = &each;
        ASSERT_NE(example, nullptr);
        const std::string path = RunExample(*example);
        std::string journal = ReadText(path);
        // Past the first record, which makes the interaction.
        size_t at = journal.find(change.find, journal.find("<Function", journal.find("<Function") + 1));
        ASSERT_NE(at, std::string::npos);
        const std::string what = change.what;
        if (what == "a result") {
            journal.replace(at, std::strlen(change.find), change.change(change.find));
        } else if (what == "a boolean return value") {
            const size_t value = at + std::strlen(change.find);
            const bool wasTrue = journal.compare(value, 4, "true") == 0;
            journal.replace(value, wasTrue ? 4 : 5, wasTrue ? "false" : "true");
        } else if (what == "a double by 2e-8") {
            const size_t value = at + std::strlen(change.find);
            const size_t end = journal.find('"', value);
            std::ostringstream shifted;
            shifted.precision(17);
            shifted << std::strtod(journal.substr(value, end - value).c_str(), nullptr) + 2e-8;
            journal.replace(value, end - value, shifted.str());
        } else {
            // The value of the snapshot's distance relation.
            const size_t distance = journal.find("relationType=\"RelationTypeDistance\" relationValue=\"", at);
            ASSERT_NE(distance, std::string::npos);
            const size_t value = journal.find("relationValue=\"", distance) + 15;
            const size_t end = journal.find('"', value);
            journal.replace(value, end - value, "36");
        }
        const int index = RecordIndexAt(journal, at);
        const std::string changed = path + ".changed.xml";
        WriteText(changed, journal);
        const DriverReplay replay = ReplayThroughDriver(changed, changed + ".replayed.xml");
        ASSERT_EQ(replay.differing.size(), 1u) << (replay.differing.empty() ? "" : replay.differing[0]);
        std::istringstream line(replay.differing[0]);
        int differingIndex = 0;
        std::string name, status;
        line >> differingIndex >> name >> status;
        EXPECT_EQ(differingIndex, index) << replay.differing[0];
        EXPECT_EQ(status, std::string(change.status) + ":") << replay.differing[0];
    }
}

}  // namespace
