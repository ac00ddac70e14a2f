// The exported calls on the add-on's own features: listed from the topology, the body and the
// entities they rest on, made dormant and back, and every add-on refusal reported as a failure.

#include "../../core/frame/ApiTestFixture.h"

#include "api/features/QelAddOnFeatureApi.h"
#include "api/features/QelFeatureApi.h"
#include "core/kernel/KernelFacade.h"

#include <hxr.h>

#include <set>

namespace QEL {
namespace testing {
namespace {

class AddOnFeatureApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_faces.assign(faces.begin(), faces.end());
        ResultType result;
        Array<int> topols, labels;
        topols.Add(m_faces[0]);
        topols.Add(m_faces[1]);
        labels.Add(3);
        labels.Add(4);
        const int options = CreateMakeFeatureOptions(m_tag, &result);
        m_feature = MakeFeature(m_tag, topols, labels, 2, 12, options, &result);
        ASSERT_NE(m_feature, 0);
    }
    int m_tag = 0;
    int m_block = 0;
    std::vector<int> m_faces;
    int m_feature = 0;
};

TEST_F(AddOnFeatureApiTest, TheFeatureIsFoundFromItsFacesAndItsBody)
{
    ResultType result;
    Array<int> found;
    found.Add(-1);
    TopolGetFeatures(m_tag, m_faces[1], found, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(found), (std::vector<int>{-1, m_feature}));
    Array<int> byIdentifier;
    BodyFindFeatures(m_tag, m_block, 12, byIdentifier, &result);
    EXPECT_EQ(GetArrayVector(byIdentifier), std::vector<int>{m_feature});
    BodyFindFeatures(m_tag, m_block, 13, byIdentifier, &result);
    EXPECT_EQ(byIdentifier.GetSize(), 1);

    // The topologies replace what the arrays held, label by label.
    Array<int> topols, labels;
    topols.Add(-1);
    FeatureGetTopols(m_tag, m_feature, topols, labels, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(topols), (std::vector<int>{m_faces[0], m_faces[1]}));
    EXPECT_EQ(GetArrayVector(labels), (std::vector<int>{3, 4}));
    EXPECT_EQ(FeatureGetIdentifier(m_tag, m_feature, &result), 12);
    FeatureSetIdentifier(m_tag, m_feature, 14, &result);
    EXPECT_EQ(FeatureGetIdentifier(m_tag, m_feature, &result), 14);

    // A body holds no features itself: the check passes, the add-on refuses.
    Array<int> ofBody;
    TopolGetFeatures(m_tag, m_block, ofBody, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(ofBody.GetSize(), 0);
}

TEST_F(AddOnFeatureApiTest, DormantAndBackWithTheAddOnsAnswer)
{
    ResultType result = ResultTypeUnknown;
    FeatureSetDormant(m_tag, m_feature, true, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_TRUE(FeatureIsDormant(m_tag, m_feature, &result));
    FeatureSetDormant(m_tag, m_feature, false, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_FALSE(FeatureIsDormant(m_tag, m_feature, &result));
    EXPECT_EQ(result, ResultTypeOk);

    // Whatever the add-on refuses is a failure, not a quiet false or 0.
    const int face = m_faces[2];
    FeatureSetDormant(m_tag, face, true, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_FALSE(FeatureIsDormant(m_tag, face, &result));
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_FALSE(FeatureIsComplete(m_tag, face, &result));
    EXPECT_EQ(result, ResultTypeFail);
    Array<int> edges;
    EXPECT_FALSE(FeatureIsPristine(m_tag, face, edges, &result));
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(FeatureGetIdentifier(m_tag, face, &result), 0);
    EXPECT_EQ(result, ResultTypeFail);
    FeatureSetIdentifier(m_tag, face, 3, &result);
    EXPECT_EQ(result, ResultTypeFail);

    FeatureDelete(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeOk);
    FeatureDelete(m_tag, m_feature, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    FeatureSetDormant(m_tag, m_feature, true, &result);
    EXPECT_EQ(result, ResultTypeFail);
}

// The identifier is a change of the feature: a minimised journal keeps it, with the dormant
// switch, and leaves the reads out.
TEST_F(AddOnFeatureApiTest, AMinimisedJournalKeepsTheChanges)
{
    OpenJournalFile();
    SetJournalMinimised(true);
    ResultType result;
    FeatureSetIdentifier(m_tag, m_feature, 5, &result);
    FeatureGetIdentifier(m_tag, m_feature, &result);
    FeatureSetDormant(m_tag, m_feature, true, &result);
    Array<int> edges;
    FeatureIsPristine(m_tag, m_feature, edges, &result);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Attribute(records[0], "name"), "FeatureSetIdentifier");
    EXPECT_EQ(Attribute(Argument(records[0], "featureIdentifier"), "value"), "5");
    EXPECT_EQ(Attribute(records[1], "name"), "FeatureSetDormant");
}

}  // namespace
}  // namespace testing
}  // namespace QEL
