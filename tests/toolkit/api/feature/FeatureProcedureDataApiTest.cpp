// The exported calls on a procedure record outside a procedure run: its start values, the checks
// of its setters, how the calls are journalled, and the profile transform carried whole through
// a journal and its replay.

#include "../../core/frame/ApiTestFixture.h"

#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeatureReferencesApi.h"
#include "core/calls/QelInteractionApi.h"
#include "model/features/FeatureProcedureData.h"
#include "replay/JournalReplay.h"

#include <algorithm>
#include <iterator>

namespace QEL {
namespace testing {
namespace {

// A turn about z by the angle whose cosine is 0.6, and a move: every value is written and read
// back exactly.
const double s_profile[16] = {0.6, -0.8, 0, 1.5, 0.8, 0.6, 0, -2.25, 0, 0, 1, 40.125, 0, 0, 0, 1};

class FeatureProcedureDataApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        ResultType result;
        m_record = CreateFeatureProcedureData(m_tag, &result);
        ASSERT_NE(m_record, 0);
    }
    int m_tag = 0;
    int m_record = 0;
};

TEST_F(FeatureProcedureDataApiTest, ANewRecordHoldsNothingAndTakesWhatItIsGiven)
{
    ResultType result;
    EXPECT_EQ(FeatureProcedureDataGetMainBodyTag(m_tag, m_record, &result), 0);
    EXPECT_EQ(FeatureProcedureDataGetFeatureProcedureType(m_tag, m_record, &result), FeatureProcedureTypeNone);
    EXPECT_EQ(FeatureProcedureDataGetAppData(m_tag, m_record, &result), nullptr);
    EXPECT_EQ(FeatureProcedureDataGetProcedureResult(m_tag, m_record, &result), ResultTypeOk);
    double read[16] = {};
    EXPECT_FALSE(FeatureProcedureDataGetProfileXform(m_tag, m_record, read, &result));
    EXPECT_EQ(result, ResultTypeOk);

    const int body = brennik::build::Block();
    const int feature = CreateFeature(m_tag, FeatureTypeSimpleRecreate, &result);
    FeatureProcedureDataSetFeatureTag(m_tag, m_record, feature, &result);
    FeatureProcedureDataSetMainBodyTag(m_tag, m_record, body, &result);
    FeatureProcedureDataSetFeatureProcedureType(m_tag, m_record, FeatureProcedureTypeCreateToolBody, &result);
    FeatureProcedureDataSetResult(m_tag, m_record, ResultTypeReplaceWithSheetFailed, &result);
    double given[16];
    std::copy(std::begin(s_profile), std::end(s_profile), given);
    FeatureProcedureDataSetProfileXform(m_tag, m_record, given, &result);
    ASSERT_EQ(result, ResultTypeOk);
    given[3] = 99;  // the record holds a copy
    EXPECT_EQ(FeatureProcedureDataGetFeatureTag(m_tag, m_record, &result), feature);
    EXPECT_EQ(FeatureProcedureDataGetMainBodyTag(m_tag, m_record, &result), body);
    EXPECT_EQ(FeatureProcedureDataGetFeatureProcedureType(m_tag, m_record, &result),
              FeatureProcedureTypeCreateToolBody);
    EXPECT_EQ(FeatureProcedureDataGetProcedureResult(m_tag, m_record, &result), ResultTypeReplaceWithSheetFailed);
    EXPECT_TRUE(FeatureProcedureDataGetProfileXform(m_tag, m_record, read, &result));
    EXPECT_TRUE(std::equal(std::begin(read), std::end(read), std::begin(s_profile)));
}

// Checks on: a value of the wrong kind is refused and nothing changes. Checks off: a null
// transform clears the one held.
TEST_F(FeatureProcedureDataApiTest, SettersRefuseValuesOfTheWrongKind)
{
    ResultType result;
    const int body = brennik::build::Block();
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    const int face = faces[0];
    BQ_MEMORY_free(faces);
    FeatureProcedureDataSetProfileXform(m_tag, m_record, s_profile, &result);
    FeatureProcedureDataSetMainBodyTag(m_tag, m_record, face, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    FeatureProcedureDataSetFeatureProcedureType(m_tag, m_record, static_cast<FeatureProcedureType>(3), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    FeatureProcedureDataSetFeatureTag(m_tag, m_record, body, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    FeatureProcedureDataSetAppData(m_tag, m_record, nullptr, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    FeatureProcedureDataSetProfileXform(m_tag, m_record, nullptr, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    double read[16] = {};
    EXPECT_TRUE(FeatureProcedureDataGetProfileXform(m_tag, m_record, read, &result));
    EXPECT_EQ(FeatureProcedureDataGetMainBodyTag(m_tag, m_record, &result), 0);

    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    FeatureProcedureDataSetProfileXform(m_tag, m_record, nullptr, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_FALSE(FeatureProcedureDataGetProfileXform(m_tag, m_record, read, &result));
    // A record of another interaction names none of this one.
    const int other = NewInteraction();
    FeatureProcedureDataSetToolPartition(other, m_record, 0, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
}

// A minimised journal keeps the changes and leaves the reads out.
TEST_F(FeatureProcedureDataApiTest, AMinimisedJournalKeepsTheSettersOnly)
{
    OpenJournalFile();
    SetJournalMinimised(true);
    ResultType result;
    FeatureProcedureDataSetResult(m_tag, m_record, ResultTypeFail, &result);
    FeatureProcedureDataGetProcedureResult(m_tag, m_record, &result);
    double read[16];
    FeatureProcedureDataGetProfileXform(m_tag, m_record, read, &result);
    CreateFeatureProcedureData(m_tag, &result);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Attribute(records[0], "name"), "FeatureProcedureDataSetResult");
    EXPECT_EQ(Attribute(Argument(records[0], "resultFromProcedure"), "value"), "ResultTypeFail");
    EXPECT_EQ(Attribute(records[1], "name"), "CreateFeatureProcedureData");
}

// The transform goes into the journal as its matrix: replaying the session sets the same 16
// values on the replayed record, and the replayed read gives them back as recorded.
TEST_F(FeatureProcedureDataApiTest, TheProfileTransformRoundTripsThroughTheJournal)
{
    Interaction::SetAllowMultipleInteractions(true);
    OpenJournalFile();
    ResultType result;
    const int interaction = CreateInteraction(&result);
    Adopt(interaction);
    const int record = CreateFeatureProcedureData(interaction, &result);
    FeatureProcedureDataSetProfileXform(interaction, record, s_profile, &result);
    ASSERT_EQ(result, ResultTypeOk);
    double read[16] = {};
    EXPECT_TRUE(FeatureProcedureDataGetProfileXform(interaction, record, read, &result));
    ASSERT_EQ(CloseJournal(), 0);
    DestroyAllInteractions();
    brennik::test::RestartSession();

    JournalReplay replay;
    int count = 0;
    ASSERT_EQ(replay.Start(m_path.c_str(), &count), ResultTypeOk);
    ASSERT_EQ(count, 4);
    for (int i = 0; i < count; ++i) {
        ResultType stepped = ResultTypeFail;
        EXPECT_EQ(replay.Step(nullptr, &stepped), ReplaySuccess)
            << replay.GetFunctionName() << ": " << replay.GetLastError();
        EXPECT_EQ(stepped, ResultTypeOk);
    }
    Interaction* replayed = TagManager::FindInteractionFromTag(replay.GetActiveInteractionTag());
    ASSERT_NE(replayed, nullptr);
    Adopt(replayed->GetTag());
    const FeatureProcedureData* made = nullptr;
    for (TaggedEntity* entity : replayed->GetTagManager()->GetTaggedEntities())
        if (auto* data = dynamic_cast<FeatureProcedureData*>(entity))
            made = data;
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->GetProfileXform(), nullptr);
    EXPECT_TRUE(std::equal(std::begin(s_profile), std::end(s_profile), made->GetProfileXform()));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
