// The exported mapping-data calls: entries added and read by index, a new tag of 0 taken
// without a check, and indices and tags they refuse whether checks are on or off.

#include "../../core/frame/ApiTestFixture.h"

#include "api/model/QelMappingDataApi.h"
#include "model/transaction/MappingData.h"

namespace QEL {
namespace testing {
namespace {

class MappingDataApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        m_mapping = new MappingData(m_interaction);
        m_block = brennik::build::Block();
    }
    void TearDown() override
    {
        m_mapping->Destroy();
        ApiTest::TearDown();
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    MappingData* m_mapping = nullptr;
    int m_block = 0;
};

TEST_F(MappingDataApiTest, EntriesAreReadBackByIndexInOldTagOrder)
{
    ResultType result = ResultTypeFail;
    MappingDataAddEntry(m_tag, m_mapping->GetTag(), 5, m_block, &result);
    EXPECT_EQ(result, ResultTypeOk);
    MappingDataAddEntry(m_tag, m_mapping->GetTag(), 3, 0, &result);
    EXPECT_EQ(result, ResultTypeOk);
    MappingDataAddEntry(m_tag, m_mapping->GetTag(), 5, 0, &result);
    MappingDataAddEntry(m_tag, m_mapping->GetTag(), 6, kUnknownTag, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(MappingDataGetEntryCount(m_tag, m_mapping->GetTag(), &result), 3);

    const int expected[][2] = {{3, 0}, {5, m_block}, {5, 0}};
    for (int i = 0; i < 3; ++i) {
        int oldTag = -1, newTag = -1;
        MappingDataGetEntry(m_tag, m_mapping->GetTag(), i, &oldTag, &newTag, &result);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_EQ(oldTag, expected[i][0]);
        EXPECT_EQ(newTag, expected[i][1]);
    }
    int newTag = -1;
    MappingDataGetEntry(m_tag, m_mapping->GetTag(), 1, nullptr, &newTag, &result);
    EXPECT_EQ(newTag, m_block);
    int untouched = -1;
    MappingDataGetEntry(m_tag, m_mapping->GetTag(), 3, &untouched, nullptr, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(untouched, -1);
    MappingDataRemoveEntry(m_tag, m_mapping->GetTag(), 3, &result);
    EXPECT_EQ(result, ResultTypeOk);
    MappingDataRemoveEntry(m_tag, m_mapping->GetTag(), 0, &result);
    EXPECT_EQ(MappingDataGetEntryCount(m_tag, m_mapping->GetTag(), &result), 2);
}

TEST_F(MappingDataApiTest, ANegativeIndexOrAnotherObjectIsABadArgumentWithChecksOnAndOff)
{
    m_mapping->AddEntry(1, 10);
    Interaction::SetAllowMultipleInteractions(true);
    auto* elsewhere = new MappingData(TagManager::FindInteractionFromTag(NewInteraction()));
    const int other = elsewhere->GetTag();
    for (bool checksOn : {true, false}) {
        SCOPED_TRACE(checksOn ? "checks on" : "checks off");
        m_interaction->SetCheckArguments(checksOn);
        ResultType result = ResultTypeOk;
        int oldTag = -1;
        MappingDataGetEntry(m_tag, m_mapping->GetTag(), -1, &oldTag, nullptr, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_EQ(oldTag, -1);
        result = ResultTypeOk;
        MappingDataRemoveEntry(m_tag, m_mapping->GetTag(), -1, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_EQ(m_mapping->GetEntryCount(), 1);
        result = ResultTypeOk;
        EXPECT_EQ(MappingDataGetEntryCount(m_tag, m_interaction->GetTag(), &result), 0);
        EXPECT_EQ(result, ResultTypeBadArgument);
        result = ResultTypeOk;
        MappingDataAddEntry(m_tag, other, 1, 0, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
    }
    EXPECT_EQ(elsewhere->GetEntryCount(), 0);
    elsewhere->Destroy();
}

// The tags handed back are journalled as outputs where the pointers stand, so that a replay
// hands places exactly where the application did; a null place, or one the call left alone, is
// journalled as null.
TEST_F(MappingDataApiTest, ReadingCallsAreQueriesAndGetEntryJournalsTheTagsItHandsBack)
{
    m_mapping->AddEntry(1, 10);
    OpenJournalFile();
    ResultType result = ResultTypeFail;
    int oldTag = 0, newTag = 0;
    MappingDataGetEntry(m_tag, m_mapping->GetTag(), 0, &oldTag, nullptr, &result);
    MappingDataGetEntryCount(m_tag, m_mapping->GetTag(), &result);
    MappingDataGetEntry(m_tag, m_mapping->GetTag(), 5, &oldTag, &newTag, &result);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Attribute(Argument(records[0], "mappingDataTag"), "type"), "MappingDataTag");
    EXPECT_EQ(CountArguments(records[0], "output"), 2);
    EXPECT_EQ(Attribute(Argument(records[0], "pOldTag"), "tag"), "1");
    EXPECT_EQ(Attribute(Argument(records[0], "pNewTag"), "isNull"), "true");
    EXPECT_EQ(Attribute(Argument(records[2], "pOldTag"), "isNull"), "true");
    EXPECT_EQ(Attribute(records[1].GetChild("ReturnValue"), "value"), "1");
    EXPECT_TRUE(FindApiCall("MappingDataGetEntry")->properties->IsQuery());
    EXPECT_FALSE(FindApiCall("MappingDataRemoveEntry")->properties->IsQuery());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
