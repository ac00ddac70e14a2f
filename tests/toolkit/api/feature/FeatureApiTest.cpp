// The exported feature calls: making an add-on feature from topology, re-making it through the
// application's callbacks with its mapping data, the application's per-feature numbers, and
// the make-feature options calls.

#include "../../core/frame/ApiTestFixture.h"

#include "api/QelFeatureApi.h"
#include "api/QelMappingDataApi.h"
#include "core/KernelFacade.h"
#include "model/MappingData.h"

#include <brennik_build.h>

#include <cmath>
#include <set>

namespace QEL {
namespace testing {
namespace {

// The face of the body that faces up, and its height.
int TopOf(int body, double* height = nullptr)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        if (std::fabs(normal.z - 1) < 1e-9) {
            if (height)
                *height = point.z;
            return face;
        }
    }
    return 0;
}

// What the callbacks do, steered by each test.
struct Callbacks {
    ResultType procedureResult = ResultTypeOk;
    int mappingTag = 0;
    int remakeAnswer = 0;
    int remakeCalls = 0;
    bool mapTop = true;
};
Callbacks s_callbacks;

// Builds a block 5 taller than the feature's body in the given partition and maps the body's
// top face onto the new block's.
void TallerProcedure(int interaction, int feature, int partition, int& body, int& mappingTag, ResultType& result)
{
    s_callbacks.mappingTag = mappingTag;
    double height = 0.0;
    const int top = TopOf(GetOwningBody(feature), &height);
    const int previous = GetCurrentPartition();
    SetCurrentPartition(partition);
    body = brennik::build::Block(10, 20, height + 5);
    SetCurrentPartition(previous);
    ResultType added;
    if (s_callbacks.mapTop)
        MappingDataAddEntry(interaction, mappingTag, top, TopOf(body), &added);
    result = s_callbacks.procedureResult;
}

void Remake(int, int, int, int, int& newFeature, ResultType&)
{
    ++s_callbacks.remakeCalls;
    newFeature = s_callbacks.remakeAnswer;
}

class FeatureApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        s_callbacks = Callbacks();
        m_block = brennik::build::Block();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        m_interaction->SetFeatureProcedureCallback(&TallerProcedure);
        m_interaction->SetFeatureRemakeCallback(&Remake);
        ResultType result;
        m_options = CreateMakeFeatureOptions(m_tag, &result);
        Array<int> topols, labels;
        topols.Add(TopOf(m_block));
        labels.Add(1);
        m_feature = MakeFeature(m_tag, topols, labels, 1, 7, m_options, &result);
    }
    double Volume()
    {
        double volume = 0.0;
        BQ_BODY_ask_volume(m_block, &volume);
        return volume;
    }

    int m_block = 0;
    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    int m_options = 0;
    int m_feature = 0;
};

TEST_F(FeatureApiTest, EditFeatureReintegratesTheNewBodyAndDestroysTheMapping)
{
    ASSERT_NE(m_feature, 0);
    const int top = TopOf(m_block);
    ResultType result = ResultTypeFail;
    EditFeature(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_NEAR(Volume(), 10 * 20 * 35, 1e-6);
    double height = 0.0;
    EXPECT_EQ(TopOf(m_block, &height), top);
    EXPECT_NEAR(height, 35, 1e-9);
    EXPECT_NE(s_callbacks.mappingTag, 0);
    EXPECT_EQ(m_interaction->FindMappingDataFromTag(s_callbacks.mappingTag), nullptr);
    EXPECT_EQ(s_callbacks.remakeCalls, 1);
}

TEST_F(FeatureApiTest, EditFeatureRefusesAFaceTheProcedureLeftUnmapped)
{
    s_callbacks.mapTop = false;
    ResultType result = ResultTypeOk;
    EditFeature(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeReplaceWithSurfaceFailed);
    EXPECT_EQ(s_callbacks.remakeCalls, 0);
    double height = 0.0;
    EXPECT_NE(TopOf(m_block, &height), 0);
    EXPECT_NEAR(height, 30, 1e-9);
    EXPECT_NEAR(Volume(), 10 * 20 * 30, 1e-6);
}

TEST_F(FeatureApiTest, EditFeatureFailsWithoutCallbackOrWhenTheCallbackFails)
{
    const int objects = m_interaction->GetTagManager()->GetNumTaggedEnts();
    s_callbacks.procedureResult = ResultTypeBadArgument;
    ResultType result = ResultTypeOk;
    EditFeature(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(m_interaction->FindMappingDataFromTag(s_callbacks.mappingTag), nullptr);
    EXPECT_EQ(s_callbacks.remakeCalls, 0);
    EXPECT_NEAR(Volume(), 10 * 20 * 30, 1e-6);

    m_interaction->SetFeatureProcedureCallback(nullptr);
    s_callbacks.mappingTag = 0;
    EditFeature(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(s_callbacks.mappingTag, 0);
    EXPECT_EQ(m_interaction->GetTagManager()->GetNumTaggedEnts(), objects);
}

TEST_F(FeatureApiTest, RemakeMovesTheApplicationDataOnlyToAnotherTag)
{
    const int other = TopOf(brennik::build::Block(1, 1, 1));
    struct Case {
        int answer;
        int holder;
    };
    for (const Case& c : {Case{0, m_feature}, Case{m_feature, m_feature}, Case{other, other}}) {
        SCOPED_TRACE(c.answer);
        ResultType result;
        SetFeatureAppData(m_tag, m_feature, "depth", 4.5, &result);
        s_callbacks.remakeAnswer = c.answer;
        EditFeature(m_tag, m_feature, &result);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_EQ(GetFeatureAppData(m_tag, c.holder, "depth", &result), 4.5);
        EXPECT_EQ(result, ResultTypeOk);
        Array<int> features;
        GetTestAppFeatures(m_tag, features, &result);
        EXPECT_EQ(features.GetSize(), 1);
        RemoveTestAppFeature(m_tag, c.holder, &result);
    }
}

TEST_F(FeatureApiTest, ApplicationDataIsKeptByCaseSensitiveName)
{
    ResultType result;
    SetFeatureAppData(m_tag, m_block, "Depth", 1.0, &result);
    SetFeatureAppData(m_tag, m_block, "Depth", 2.0, &result);
    EXPECT_EQ(GetFeatureAppData(m_tag, m_block, "Depth", &result), 2.0);
    EXPECT_EQ(GetFeatureAppData(m_tag, m_block, "depth", &result), 0.0);
    EXPECT_EQ(result, ResultTypeBadArgument);
    Array<int> features;
    features.Add(1);
    GetTestAppFeatures(m_tag, features, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    RemoveTestAppFeature(m_tag, m_block, &result);
    Array<int> none;
    GetTestAppFeatures(m_tag, none, &result);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST_F(FeatureApiTest, MakeFeatureChecksItsArgumentsAndOptions)
{
    ASSERT_NE(m_feature, 0);
    ResultType result;
    Array<int> topols, labels, noLabels;
    topols.Add(TopOf(m_block));
    labels.Add(1);
    EXPECT_EQ(MakeFeature(m_tag, topols, noLabels, 1, 8, m_options, &result), 0);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(MakeFeature(m_tag, topols, labels, 1, 8, m_feature, &result), 0);
    EXPECT_EQ(result, ResultTypeBadArgument);

    // Unders of different lengths, or a tag of no options object, are refused.
    Array<int> unders, underLabels;
    unders.Add(topols[0]);
    MakeFeatureOptionsSetUnders(m_tag, m_options, unders, underLabels, 1, &result);
    EXPECT_EQ(result, ResultTypeFail);
    underLabels.Add(3);
    MakeFeatureOptionsSetUnders(m_tag, m_feature, unders, underLabels, 1, &result);
    EXPECT_EQ(result, ResultTypeFail);
    MakeFeatureOptionsSetUnders(m_tag, m_options, unders, underLabels, 1, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_NE(CreateMakeFeatureOptions(m_tag, &result), m_options);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
