// A feature made and edited entirely through the exported calls: a boss on a plate, whose
// procedure reads and fills its procedure data through the calls while the toolkit runs it and
// makes the boss again, taller.

#include "BossFeatureFixture.h"

#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeaturePropertiesApi.h"
#include "api/features/QelFeatureReferencesApi.h"
#include "api/model/QelMappingDataApi.h"
#include "api/model/QelTrackingApi.h"
#include "core/support/AlgorithmSwitches.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

#include <algorithm>
#include <iterator>

namespace QEL {
namespace testing {
namespace {

// What the procedure saw and did, steered by each test.
struct ProcedureRun {
    double height = 21.0;
    bool fail = false;
    int calls = 0;
    int mainBody = 0;
    FeatureProcedureType type = FeatureProcedureTypeNone;
    void* appData = nullptr;
    bool profileHeld = false;
    double profile[16] = {};
    ResultType setterResult = ResultTypeUnknown;
};
ProcedureRun s_run;

// The procedure receives the plate with the boss cut out: it pastes the boss back at the planned
// height and maps each cut face onto the new face that lies where it lay (the top onto the new
// top), all through the exported calls.
void RegrowBoss(int interaction, int data)
{
    ++s_run.calls;
    ResultType result;
    s_run.mainBody = FeatureProcedureDataGetMainBodyTag(interaction, data, &result);
    s_run.type = FeatureProcedureDataGetFeatureProcedureType(interaction, data, &result);
    s_run.appData = FeatureProcedureDataGetAppData(interaction, data, &result);
    s_run.profileHeld = FeatureProcedureDataGetProfileXform(interaction, data, s_run.profile, &result);
    if (s_run.fail || !PasteBoss(s_run.mainBody, s_run.height)) {
        FeatureProcedureDataSetResult(interaction, data, ResultTypeFail, &result);
        return;
    }
    const int cut = FeatureProcedureDataGetCutToolMappingDataTag(interaction, data, &result);
    const int mapping = FeatureProcedureDataGetProcedureMappingData(interaction, data, &result);
    for (int i = 0; i < MappingDataGetEntryCount(interaction, cut, &result); ++i) {
        int mainFace = 0, cutFace = 0;
        MappingDataGetEntry(interaction, cut, i, &mainFace, &cutFace, &result);
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(cutFace, &point, &normal);
        const double along = normal.z > 0.5 ? s_run.height : point.x * normal.x + point.y * normal.y;
        MappingDataAddEntry(interaction, mapping,
                            cutFace, FaceAt(s_run.mainBody, normal.x, normal.y, normal.z, along), &result);
    }
    // A record of the call that runs the procedure: the setters below must leave it.
    TrackingData::CreateQELUpdateData(TagManager::FindInteractionFromTag(interaction)->GetTrackingManager(),
                                      TrackingDataTypeNone);
    FeatureProcedureDataSetResult(interaction, data, ResultTypeOk, &s_run.setterResult);
}

void OtherProcedure(int, int) {}

class FeatureEditApiTest : public BossPlateTest {
protected:
    void SetUp() override
    {
        BossPlateTest::SetUp();
        s_run = ProcedureRun();
        SetNewPFAlgorithm(true);
        ResultType result;
        m_profileInstance = CreateInstance(m_tag, brennik::build::Block(5, 5, 5), m_raised, &result);
        m_feature = CreateFeature(m_tag, FeatureTypeComplexRecreate, &result);
        ASSERT_EQ(result, ResultTypeOk);
        Array<int> references;
        for (int face : BossFaces()) {
            ASSERT_NE(face, 0);
            references.Add(ReferenceOn(face, m_placed));
        }
        FeatureAddReferences(m_tag, m_feature, references, &result);
        ASSERT_EQ(result, ResultTypeOk);
        m_profile = ReferenceOn(FaceAt(BodyOf(m_profileInstance), 0, 0, 1, 5), m_profileInstance);
        FeatureAddProfileReference(m_tag, m_feature, m_profile, &result);
        ASSERT_EQ(result, ResultTypeOk);
        m_dependent = ReferenceOn(FaceAt(m_plate, 0, 0, -1, 0), m_placed);
        FeatureAddDependent(m_tag, m_feature, m_dependent, &result);
        FeatureSetAppDataInteger(m_tag, m_feature, 7, 70, &result);
        FeatureSetProcedure(m_tag, m_feature, &RegrowBoss, &m_procedureData, &result);
        ASSERT_EQ(result, ResultTypeOk);
        m_volume = VolumeOf(m_plate);
    }
    void TearDown() override
    {
        SetNewPFAlgorithm(false);
        BossPlateTest::TearDown();
    }
    int BodyOf(int instance)
    {
        ResultType result;
        return InstanceGetBody(m_tag, instance, &result);
    }
    int EntityOf(int reference)
    {
        ResultType result;
        return ReferenceGetEntity(m_tag, reference, &result);
    }

    const double m_raised[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 40}, {0, 0, 0, 1}};
    int m_profileInstance = 0;
    int m_feature = 0;
    int m_profile = 0;
    int m_dependent = 0;
    int m_procedureData = 0;
    double m_volume = 0.0;
};

TEST_F(FeatureEditApiTest, TheProcedureRemakesTheBossTallerWithItsReferencesOnTheNewFaces)
{
    int editData = 0;
    ResultType result = ResultTypeUnknown;
    FeatureEdit(m_tag, m_feature, &editData, &result);
    ASSERT_EQ(result, ResultTypeOk);

    EXPECT_EQ(s_run.calls, 1);
    EXPECT_EQ(s_run.mainBody, m_plate);
    EXPECT_EQ(s_run.type, FeatureProcedureTypeModifySolid);
    // The edit's data replaced what the feature was given with its procedure.
    EXPECT_EQ(s_run.appData, &editData);
    // The profile lies 40 up from the plate: all 16 values came out of the record.
    ASSERT_TRUE(s_run.profileHeld);
    EXPECT_TRUE(std::equal(std::begin(s_run.profile), std::end(s_run.profile), &m_raised[0][0]));

    EXPECT_NEAR(VolumeOf(m_plate), m_volume + 10 * 10 * 5, 1e-6);
    ASSERT_EQ(FeatureGetReferenceCount(m_tag, m_feature, &result), 5);
    const std::vector<int> taller = BossFaces(21);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(EntityOf(FeatureGetReference(m_tag, m_feature, i, &result)), taller[i]) << i;
    EXPECT_EQ(FeatureGetProfileReference(m_tag, m_feature, 0, &result), m_profile);
    EXPECT_EQ(FeatureGetDependent(m_tag, m_feature, 0, &result), m_dependent);
    EXPECT_EQ(FeatureGetAppDataInteger(m_tag, m_feature, 7, &result), 70);

    // The setter made inside the procedure kept the tracking data of the edit that ran it.
    EXPECT_EQ(s_run.setterResult, ResultTypeOk);
    Array<int> updateData;
    EXPECT_EQ(TrackingGetQELUpdateData(m_tag, &updateData, &result), 1);
}

// A failing procedure's result is the edit's, and the plate stays as it was; with the new
// algorithm off nothing runs, nothing is stored, and the edit says so.
TEST_F(FeatureEditApiTest, AnEditThatDoesNotRemakeTheFeatureReportsItsFailure)
{
    s_run.fail = true;
    ResultType result = ResultTypeUnknown;
    FeatureEdit(m_tag, m_feature, nullptr, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(s_run.calls, 1);
    EXPECT_NEAR(VolumeOf(m_plate), m_volume, 1e-6);
    EXPECT_EQ(EntityOf(FeatureGetReference(m_tag, m_feature, 0, &result)), BossFaces()[0]);

    SetNewPFAlgorithm(false);
    int editData = 0;
    FeatureEdit(m_tag, m_feature, &editData, &result);
    EXPECT_EQ(result, ResultTypeNotSupported);
    EXPECT_EQ(s_run.calls, 1);
    void* data = nullptr;
    EXPECT_EQ(FeatureGetProcedure(m_tag, m_feature, &data, &result), &RegrowBoss);
    EXPECT_EQ(data, &m_procedureData);
}

// The identifier map is how a loaded feature finds its procedure again: a mapped identifier
// brings its procedure without the old data, an unmapped one leaves both.
TEST_F(FeatureEditApiTest, AMappedIdentifierBringsItsProcedure)
{
    ResultType result;
    FeatureSetAppIdentifier(m_tag, m_feature, "boss, unmapped", &result);
    void* data = nullptr;
    EXPECT_EQ(FeatureGetProcedure(m_tag, m_feature, &data, &result), &RegrowBoss);
    EXPECT_EQ(data, &m_procedureData);

    FeatureMapIdentifierToProcedure("boss, mapped", &OtherProcedure, &result);
    ASSERT_EQ(result, ResultTypeOk);
    FeatureSetAppIdentifier(m_tag, m_feature, "boss, mapped", &result);
    EXPECT_EQ(FeatureGetProcedure(m_tag, m_feature, &data, &result), &OtherProcedure);
    EXPECT_EQ(data, nullptr);
    EXPECT_STREQ(FeatureGetAppIdentifier(m_tag, m_feature, &result), "boss, mapped");

    FeatureMapIdentifierToProcedure(nullptr, &OtherProcedure, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
}

// The integers and doubles are kept apart, the last value set under a key stands, and what a
// getter read is in the journal.
TEST_F(FeatureEditApiTest, ApplicationNumbersAreKeptByKeyAndTheirReadsJournalled)
{
    ResultType result;
    FeatureSetAppDataInteger(m_tag, m_feature, 7, 71, &result);
    EXPECT_EQ(FeatureGetAppDataDouble(m_tag, m_feature, 7, &result), 0.0);
    EXPECT_EQ(result, ResultTypeBadArgument);
    FeatureSetAppDataDouble(m_tag, m_feature, 7, 2.5, &result);

    OpenJournalFile();
    EXPECT_EQ(FeatureGetAppDataInteger(m_tag, m_feature, 7, &result), 71);
    EXPECT_EQ(FeatureGetAppDataDouble(m_tag, m_feature, 7, &result), 2.5);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Attribute(Children(records[0], "ReturnValue").at(0), "value"), "71");
    EXPECT_EQ(std::stod(Attribute(Children(records[1], "ReturnValue").at(0), "value")), 2.5);
}

// Set through the exported calls: the type is refused outside 1 to 3, and an instance only on a
// feature that is not simple and has no other.
TEST_F(FeatureEditApiTest, TypeAndInstanceAreRefusedWhereTheFeatureCannotTakeThem)
{
    ResultType result;
    FeatureSetType(m_tag, m_feature, FeatureTypeNone, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetType(m_tag, m_feature, &result), FeatureTypeComplexRecreate);

    const int simple = CreateFeature(m_tag, FeatureTypeSimple, &result);
    FeatureSetInstance(m_tag, simple, m_placed, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetInstance(m_tag, simple, &result), 0);

    const int recreate = CreateFeature(m_tag, FeatureTypeSimpleRecreate, &result);
    FeatureSetInstance(m_tag, recreate, m_placed, &result);
    EXPECT_EQ(result, ResultTypeOk);
    FeatureSetInstance(m_tag, recreate, m_placed, &result);
    EXPECT_EQ(result, ResultTypeOk);
    FeatureSetInstance(m_tag, recreate, m_profileInstance, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetInstance(m_tag, recreate, &result), m_placed);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
