// The exported feature calls: making an add-on feature from topology, re-making it through the
// application's callbacks with its mapping data, the application's per-feature numbers, and
// the make-feature options calls.

#include "../../core/frame/ApiTestFixture.h"
#include "../../core/journal/JournalReading.h"

#include "api/features/QelFeatureApi.h"
#include "api/model/QelMappingDataApi.h"
#include "core/kernel/KernelFacade.h"
#include "model/transaction/MappingData.h"
#include "replay/ReplayRegistry.h"

#include <brennik_build.h>
#include <hxr.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

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

// The values of a journalled call as its replay reads them back in this session, where the
// recorded tags are still live: tags and numbers as ints, arrays element by element, and the
// result an output to be filled.
std::vector<ReplayValue> RecordedArguments(const XMLTreeNode& record)
{
    std::vector<ReplayValue> values;
    for (const XMLTreeNode& argument : Children(record, "Argument")) {
        const std::string type = Attribute(argument, "type");
        ReplayValue value;
        if (type == "TagArray" || type == "IntegerArray") {
            Array<int> items;
            for (const XMLTreeNode& element : Children(argument, "Element"))
                items.Add(std::stoi(Attribute(element, type == "TagArray" ? "tag" : "value")));
            value.SetTagArray(items);
        } else if (type == "ResultType") {
            value.SetInt(ResultTypeFail).SetDirection(ReplayDirectionOutput);
        } else {
            value.SetInt(std::stoi(Attribute(argument, type == "int" ? "value" : "tag")));
        }
        values.push_back(value);
    }
    return values;
}

// Each call is journalled with its arguments and result, the edit with the calls its procedure
// made inside it, and replaying the records does what the calls did: the replayed make gives
// a feature on the recorded face with the recorded identifier, the replayed edit raises the
// block again.
TEST_F(FeatureApiTest, FeatureCallsAreJournalledAndReplayAsRecorded)
{
    const int top = TopOf(m_block);
    OpenJournalFile();
    ResultType result;
    Array<int> topols, labels;
    topols.Add(top);
    labels.Add(1);
    const int made = MakeFeature(m_tag, topols, labels, 1, 9, m_options, &result);
    ASSERT_NE(made, 0);
    EditFeature(m_tag, made, &result);
    ASSERT_EQ(result, ResultTypeOk);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);

    const XMLTreeNode& make = records[0];
    EXPECT_EQ(Attribute(make, "name"), "MakeFeature");
    EXPECT_EQ(Attribute(Argument(make, "featureTopols"), "length"), "1");
    EXPECT_EQ(Attribute(Argument(make, "featureIdentifier"), "value"), "9");
    EXPECT_EQ(Attribute(Argument(make, "makeFeatureOptionsTag"), "tag"), std::to_string(m_options));
    EXPECT_EQ(Attribute(Children(make, "ReturnValue").at(0), "tag"), std::to_string(made));
    EXPECT_EQ(Attribute(Argument(make, "result"), "value"), "ResultTypeOk");
    const XMLTreeNode& edit = records[1];
    EXPECT_EQ(Attribute(edit, "name"), "EditFeature");
    EXPECT_EQ(Attribute(Argument(edit, "featureTag"), "tag"), std::to_string(made));
    EXPECT_EQ(Attribute(Argument(edit, "featureTag"), "featureId"), "9");
    const std::vector<XMLTreeNode> inner = Children(edit, "Function");
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(Attribute(inner[0], "name"), "MappingDataAddEntry");
    EXPECT_EQ(Attribute(Argument(edit, "result"), "value"), "ResultTypeOk");

    ASSERT_EQ(HXR_FEAT_delete(made), HXR_ERROR_none);
    std::vector<ReplayValue> makeArguments = RecordedArguments(make);
    ReplayValue returned;
    ASSERT_TRUE(CallReplayFunction("MakeFeature", makeArguments, &returned));
    EXPECT_EQ(makeArguments.back().GetInt(), ResultTypeOk);
    const int replayed = returned.GetInt();
    ASSERT_NE(replayed, 0);
    int identifier = 0;
    EXPECT_EQ(HXR_FEAT_ask_identifier(replayed, &identifier), HXR_ERROR_none);
    EXPECT_EQ(identifier, 9);

    std::vector<ReplayValue> editArguments = RecordedArguments(edit);
    editArguments[1].SetInt(replayed);
    ASSERT_TRUE(CallReplayFunction("EditFeature", editArguments, nullptr));
    EXPECT_EQ(editArguments.back().GetInt(), ResultTypeOk);
    EXPECT_NEAR(Volume(), 10 * 20 * 40, 1e-6);
    EXPECT_EQ(TopOf(m_block), top);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
