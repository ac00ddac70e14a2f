// The debug calls as an application makes them: saving and loading interactions and bodies,
// checking validity, journal checkpoints and failure points, and the preview of the last solve.
#include "../../core/frame/ApiTestFixture.h"

#include "api/debug/QelDebugApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/calls/QelInteractionApi.h"
#include "core/objects/SolutionChangeData.h"
#include "model/references/Reference.h"

#include <set>

namespace QEL {
namespace testing {
namespace {

class DebugApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_face = *faces.begin();
        m_otherFace = *faces.rbegin();
    }
    Interaction* Target() { return TagManager::FindInteractionFromTag(m_tag); }
    std::string FilePath(const char* name) const { return m_path + name; }

    int m_tag = 0;
    int m_block = 0;
    int m_face = 0;
    int m_otherFace = 0;
    ResultType m_result = ResultTypeOk;
};

TEST_F(DebugApiTest, SavedInteractionLoadsAsANewEqualInteraction)
{
    const int instance = CreateInstance(m_tag, m_block, nullptr, &m_result);
    CreateReference(m_tag, m_face, instance, &m_result);
    const std::string file = FilePath(".save.xml");
    DebugSaveInteraction(m_tag, file.c_str(), &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);

    // One interaction at a time unless more are allowed.
    EXPECT_EQ(DebugLoadInteraction(file.c_str(), &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeInteractionAlreadyCreated);
    Interaction::SetAllowMultipleInteractions(true);
    const int loaded = DebugLoadInteraction(file.c_str(), &m_result);
    Adopt(loaded);
    ASSERT_EQ(m_result, ResultTypeOk);
    EXPECT_NE(loaded, m_tag);
    EXPECT_TRUE(DebugCompareInteractions(m_tag, loaded, false, &m_result));
    EXPECT_EQ(m_result, ResultTypeOk);

    EXPECT_EQ(DebugLoadInteraction(FilePath(".missing.xml").c_str(), &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);
    DebugSaveInteraction(m_tag, nullptr, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    std::remove(file.c_str());
}

TEST_F(DebugApiTest, BodiesAreSavedWithoutAttributesOrRefused)
{
    Array<int> bodies;
    bodies.Add(m_block);
    const std::string file = FilePath(".bodies.b_t");
    DebugSaveBodiesWithoutQELAttributes(bodies, file.c_str(), &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    std::remove(file.c_str());
    DebugSaveBodiesWithoutQELAttributes(bodies, "/no/such/folder/x.b_t", &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(DebugApiTest, ValidityReportsABrokenReferenceAttributeAndAppendsToTheArrays)
{
    const int instance = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int referenceTag = CreateReference(m_tag, m_face, instance, &m_result);
    Array<int> problemTags;
    problemTags.Add(-1);
    Array<InvalidityType> problems;
    EXPECT_TRUE(DebugCheckValidity(m_tag, m_tag, &problemTags, &problems, &m_result));
    EXPECT_EQ(problemTags.GetSize(), 1);
    EXPECT_TRUE(DebugCheckValidity(m_tag, referenceTag, nullptr, nullptr, &m_result));

    // A second reference attribute on the reference's group belongs to no reference.
    Reference* reference = Target()->FindReferenceFromTag(referenceTag);
    int extra = 0;
    const int group = GetAttributeOwner(reference->GetAttribute());
    ASSERT_EQ(BQ_ATTRIB_create_empty(group, Target()->GetReferenceAttDefTag(), &extra),
              BQ_ERROR_no_errors);
    EXPECT_FALSE(DebugCheckValidity(m_tag, m_tag, &problemTags, &problems, &m_result));
    EXPECT_EQ(m_result, ResultTypeOk);
    // The reference finds its group broken too; the interaction reports the attribute that
    // no reference owns and the group that carries two.
    ASSERT_EQ(problemTags.GetSize(), problems.GetSize() + 1);
    EXPECT_EQ(problemTags[0], -1);
    std::multiset<std::pair<int, InvalidityType>> reported;
    for (int i = 0; i < problems.GetSize(); ++i)
        reported.insert({problemTags[i + 1], problems[i]});
    EXPECT_EQ(reported.count({m_tag, InvalidityTypeBadAttribute}), 1u);
    EXPECT_EQ(reported.count({m_tag, InvalidityTypeBadGroup}), 1u);
    EXPECT_GE(reported.count({referenceTag, InvalidityTypeBadGroup}) +
                  reported.count({referenceTag, InvalidityTypeBadAttribute}),
              1u);

    DebugCheckValidity(m_tag, m_block, nullptr, nullptr, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(DebugApiTest, CheckpointsAndFailurePointsNeedAJournal)
{
    DebugJournalFailurePoint(&m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    DebugJournalCheckpoint(m_tag, "first", false, &m_result);
    EXPECT_EQ(m_result, ResultTypeFail);

    CreateInstance(m_tag, m_block, nullptr, &m_result);
    OpenJournalFile();
    DebugJournalCheckpoint(m_tag, "first", true, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    DebugJournalFailurePoint(&m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    const XMLTreeNode snapshot = records[0].GetChild("Interaction");
    EXPECT_EQ(Attribute(snapshot, "tag"), std::to_string(m_tag));
    EXPECT_EQ(snapshot.CountChildren("Instance"), 1);
    EXPECT_EQ(TextOf(Argument(records[0], "checkpointName")), "first");
    EXPECT_EQ(Attribute(records[1], "forceFailure"), "true");
}

TEST_F(DebugApiTest, PreviewModeRefusesValuesOutsideItsRange)
{
    OptionSetPreviewMode(m_tag, PreviewModeAlways, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    OptionSetPreviewMode(m_tag, static_cast<PreviewMode>(3), &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(OptionGetPreviewMode(m_tag, &m_result), PreviewModeAlways);
}

TEST_F(DebugApiTest, PreviewQueriesReadTheLastSolution)
{
    // Nothing solved yet: every query refuses and leaves its outputs alone.
    Array<int> entities;
    entities.Add(-1);
    EXPECT_FALSE(DebugGetPreviewEntities(m_tag, &entities, &m_result));
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(entities.GetSize(), 1);

    SolutionChangeData data;
    Xform moved;
    moved.SetToTranslation(Vec(0.0, 0.0, 2.0));
    data.SetEntityTransform(m_face, moved);
    data.SetEntityRadius(m_face, 4.0);
    data.SetEntityReblend(m_otherFace, 1.5);
    data.SetEntityHalfAngle(m_otherFace, 0.25);
    Target()->SetCachedSolutionChangeData(data);

    EXPECT_TRUE(DebugGetPreviewEntities(m_tag, &entities, &m_result));
    EXPECT_EQ(entities.GetSize(), 3);
    double matrix[4][4] = {};
    EXPECT_TRUE(DebugGetEntityPreviewTransform(m_tag, m_face, matrix, &m_result));
    EXPECT_EQ(matrix[2][3], 2.0);
    matrix[2][3] = 9.0;
    EXPECT_FALSE(DebugGetEntityPreviewTransform(m_tag, m_otherFace, matrix, &m_result));
    EXPECT_EQ(matrix[2][3], 9.0) << "an unmoved entity's matrix is not written";

    bool major = false, minor = true;
    double majorValue = 0.0, minorValue = 0.0;
    EXPECT_TRUE(DebugGetEntityPreviewRadius(m_tag, m_face, &major, &majorValue, &minor, &minorValue,
                                            &m_result));
    EXPECT_TRUE(major);
    EXPECT_EQ(majorValue, 4.0);
    EXPECT_FALSE(minor);
    double value = 0.0;
    EXPECT_TRUE(DebugGetEntityPreviewReblend(m_tag, m_otherFace, &value, &m_result));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(DebugGetEntityPreviewHalfAngle(m_tag, m_otherFace, &value, &m_result));
    EXPECT_EQ(value, 0.25);
    EXPECT_FALSE(DebugGetEntityPreviewReblend(m_tag, m_face, &value, &m_result));
    EXPECT_FALSE(DebugGetEntityPreviewHalfAngle(m_tag, m_face, nullptr, &m_result));
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

// Each output pointer is journalled twice: its address as an input before the call, and the
// value it receives as an output after it.
TEST_F(DebugApiTest, PreviewOutputsAreJournalledAsAddressesAndAsValues)
{
    SolutionChangeData data;
    data.SetEntityRadius(m_face, 4.0);
    Target()->SetCachedSolutionChangeData(data);
    OpenJournalFile();
    bool major = false, minor = false;
    double majorValue = 0.0, minorValue = 0.0, value = 0.0;
    DebugGetEntityPreviewRadius(m_tag, m_face, &major, &majorValue, &minor, &minorValue, &m_result);
    DebugGetEntityPreviewReblend(m_tag, m_face, &value, &m_result);
    DebugGetEntityPreviewHalfAngle(m_tag, m_face, &value, &m_result);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 3u);
    const std::vector<std::string> pointers = {"majorRadiusChanged", "majorRadiusNewValue", "minorRadiusChanged",
                                               "minorRadiusNewValue"};
    std::vector<std::string> names;
    for (const XMLTreeNode& argument : Children(records[0], "Argument")) {
        names.push_back(Attribute(argument, "name") + ":" + Attribute(argument, "argType"));
        if (Attribute(argument, "argType") == "input" && names.size() > 2) {
            EXPECT_EQ(Attribute(argument, "type"), "void*");
        }
    }
    std::vector<std::string> expected = {"interaction:input", "entity:input"};
    for (const std::string& name : pointers)
        expected.push_back(name + ":input");
    for (const std::string& name : pointers)
        expected.push_back(name + ":output");
    expected.push_back("result:<absent>");
    EXPECT_EQ(names, expected);
    for (size_t record = 1; record < 3; ++record) {
        EXPECT_EQ(CountArguments(records[record], "input"), 3);
        EXPECT_EQ(CountArguments(records[record], "output"), 1);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
