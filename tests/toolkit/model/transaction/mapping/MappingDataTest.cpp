// Mapping data: entries in old-tag order with equal old tags as added, indexed access as the
// class states it, composition of two mappings, rollback and the feature dump.

#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "model/features/FeatureDump.h"
#include "model/transaction/MappingData.h"

#include <brennik_test.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace QEL {
namespace testing {
namespace {

using Entries = std::vector<std::pair<int, int>>;

Entries EntriesOf(const MappingData& mapping)
{
    Entries entries;
    for (int i = 0; i < mapping.GetEntryCount(); ++i) {
        int oldTag = -1, newTag = -1;
        mapping.GetEntry(i, &oldTag, &newTag);
        entries.emplace_back(oldTag, newTag);
    }
    return entries;
}

void Fill(MappingData& mapping, const Entries& entries)
{
    for (const auto& [oldTag, newTag] : entries)
        mapping.AddEntry(oldTag, newTag);
}

TEST(MappingData, EntriesKeepOldTagOrderAndTheOrderAddedAmongEqualOldTags)
{
    MappingData mapping(nullptr);
    Fill(mapping, {{5, 9}, {3, 7}, {5, 8}, {3, 7}});
    EXPECT_EQ(EntriesOf(mapping), (Entries{{3, 7}, {3, 7}, {5, 9}, {5, 8}}));
    int found = 0;
    EXPECT_TRUE(mapping.FindEntry(5, &found));
    EXPECT_EQ(found, 9);
    EXPECT_FALSE(mapping.FindEntry(4, &found));
    EXPECT_EQ(found, 9);
    std::set<int> all;
    mapping.FindEntries(5, all);
    EXPECT_EQ(all, (std::set<int>{8, 9}));

    // Past the end nothing is written; a negative index walks no step and names the first.
    int oldTag = -1, newTag = -1;
    mapping.GetEntry(mapping.GetEntryCount(), &oldTag, &newTag);
    EXPECT_EQ(oldTag, -1);
    mapping.GetEntry(-1, &oldTag, nullptr);
    EXPECT_EQ(oldTag, 3);
    EXPECT_EQ(newTag, -1);
    mapping.RemoveEntry(-1);
    mapping.RemoveEntry(3);
    EXPECT_EQ(EntriesOf(mapping), (Entries{{3, 7}, {5, 9}, {5, 8}}));
    mapping.Clear();
    oldTag = -1;
    mapping.GetEntry(-1, &oldTag, &newTag);
    mapping.RemoveEntry(-1);
    EXPECT_EQ(oldTag, -1);
    EXPECT_EQ(mapping.GetEntryCount(), 0);
}

TEST(MappingData, ComposeMapsFromTheOldTagsOfTheFirstMapping)
{
    const struct {
        const char* name;
        Entries mapping;
        Entries first;
        Entries expected;
    } cases[] = {
        {"through a middle tag", {{10, 100}, {10, 101}, {30, 300}}, {{1, 10}, {2, 20}},
         {{1, 100}, {1, 101}, {30, 300}}},
        {"a created face takes the removed dependent", {{0, 50}, {4, 40}}, {{7, 0}}, {{4, 40}, {7, 50}}},
        {"a consumed tag has nothing left", {{10, 100}}, {{1, 10}, {2, 10}}, {{1, 100}}},
        {"entries after those already there", {{10, 100}, {1, 5}}, {{1, 10}}, {{1, 5}, {1, 100}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        MappingData mapping(nullptr), first(nullptr);
        Fill(mapping, test.mapping);
        Fill(first, test.first);
        mapping.Compose(&first);
        EXPECT_EQ(EntriesOf(mapping), test.expected);
        mapping.Compose(nullptr);
        EXPECT_EQ(EntriesOf(mapping), test.expected);
    }
}

TEST(MappingData, RollbackRestoresTheEntries)
{
    brennik::test::RestartSession();
    Interaction* interaction = new Interaction(CreateTypeLive);
    auto* mapping = new MappingData(interaction);
    EXPECT_EQ(interaction->FindMappingDataFromTag(mapping->GetTag()), mapping);
    EXPECT_STREQ(mapping->GetClassName(), "MappingData");
    mapping->AddEntry(1, 2);
    const int mark = interaction->CreateMark();
    mapping->AddEntry(3, 4);
    mapping->RemoveEntry(0);
    interaction->CreateMark();
    interaction->RollToMark(mark);
    EXPECT_EQ(EntriesOf(*mapping), (Entries{{1, 2}}));
    mapping->Destroy();
    interaction->Destroy();
    brennik::test::Reset();
}

TEST(MappingData, DumpAppendsOnlyWhileTheSwitchIsOn)
{
    char original[4096];
    ASSERT_NE(getcwd(original, sizeof original), nullptr);
    const std::string folder = ::testing::TempDir() + "mapping_dump_" + std::to_string(getpid());
    ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    const char* file = "c:\\temp\\FeatureDump.txt";
    std::remove(file);

    MappingData mapping(nullptr);
    Fill(mapping, {{2, 20}, {1, 0}});
    mapping.Dump();
    EXPECT_FALSE(std::ifstream(file).good());
    s_featureDumpOn = true;
    mapping.Dump();
    s_featureDumpOn = false;
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str(), "\nMappingData Tag: 0\nMappings : 1 -> 0, 2 -> 20, \n");
    std::remove(file);
    ASSERT_EQ(chdir(original), 0);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
