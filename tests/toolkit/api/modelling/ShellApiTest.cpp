// The shell and blend queries and the split of a body: the walls and blends they find on real
// bodies, what they leave alone when there is nothing to find, and their journal records.

#include "../../core/frame/ApiTestFixture.h"
#include "../../model/transaction/ModelFixture.h"

#include "api/model/QelInstanceApi.h"
#include "api/operations/QelShellApi.h"
#include "core/kernel/AddOnFacade.h"

namespace QEL {
namespace testing {
namespace {

std::vector<int> BlendFaces(int body)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    std::vector<int> blends;
    for (int face : faces)
        if (IdentifyBlendFace(face, 1e-6, true, nullptr))
            blends.push_back(face);
    return blends;
}

class ShellApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
    }
    int m_tag = 0;
    Interaction* m_interaction = nullptr;
};

TEST_F(ShellApiTest, FindBlendsGivesTheChainAndItsCommonRadius)
{
    const int chain = brennik::build::BlockWithBlendChain(2.0);
    const std::vector<int> blends = BlendFaces(chain);
    ASSERT_EQ(blends.size(), 3u);
    Array<int> found;
    found.Add(12345);
    double radius = 0.0;
    ResultType result = ResultTypeFail;
    EXPECT_TRUE(FindBlends(m_tag, blends[0], BlendIdentifyTypeMaxChain, found, radius, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(found), blends);
    EXPECT_NEAR(radius, 2.0, 1e-9);

    const int mixed = brennik::build::BlockWithTwoBlends(2.0, 3.0);
    const std::vector<int> mixedBlends = BlendFaces(mixed);
    std::set<int> all;
    GetBodyFaces(mixed, all);
    EXPECT_TRUE(FindBlends(m_tag, *all.begin(), BlendIdentifyTypeAllWithinBody, found, radius, &result));
    EXPECT_EQ(GetArrayVector(found), mixedBlends);
    EXPECT_EQ(radius, -1.0);
}

TEST_F(ShellApiTest, FindBlendsOfEqualRadiusAndOnABodyWithoutBlends)
{
    const int body = brennik::build::Block();
    Array<int> found;
    double radius = 0.0;
    ResultType result = ResultTypeFail;
    EXPECT_FALSE(FindBlends(m_tag, FaceAt(body, 0, 0, 1, 30), BlendIdentifyTypeAllWithinBody, found, radius, &result));
    EXPECT_EQ(found.GetSize(), 0);
    EXPECT_EQ(radius, -1.0);
    EXPECT_FALSE(FindBlends(m_tag, FaceAt(body, 0, 0, 1, 30), BlendIdentifyTypeMaxChain, found, radius, &result));

    // Equal radius: the seed's chain and every chain of its radius; a chain whose blends
    // have mixed radii answers false.
    const int chain = brennik::build::BlockWithBlendChain(2.0);
    const std::vector<int> blends = BlendFaces(chain);
    EXPECT_TRUE(FindBlends(m_tag, blends[1], BlendIdentifyTypeEqualRadiusWithinBody, found, radius, &result));
    EXPECT_EQ(GetArrayVector(found), blends);
    EXPECT_NEAR(radius, 2.0, 1e-9);
    const int mixed = brennik::build::BlockWithTwoBlends(2.0, 3.0);
    EXPECT_FALSE(FindBlends(m_tag, BlendFaces(mixed)[0], BlendIdentifyTypeEqualRadiusWithinBody, found, radius,
                            &result));
    EXPECT_EQ(radius, -1.0);
}

TEST_F(ShellApiTest, ShellSidesOfAThinWallAndOfAFaceInNoWall)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    std::set<int> faces;
    GetBodyFaces(box, faces);
    int seed = 0;
    for (int face : faces)
        if (FindShellPartners(face, nullptr, nullptr))
            seed = face;
    ASSERT_NE(seed, 0);
    Array<int> same;
    Array<int> opposite;
    same.Add(1);
    double thickness = 0.0;
    ResultType result = ResultTypeFail;
    FindSidesOfShell(m_tag, seed, same, opposite, &thickness, &result);
    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_NE(std::find(GetArrayVector(same).begin(), GetArrayVector(same).end(), seed), GetArrayVector(same).end());
    EXPECT_GT(opposite.GetSize(), 0);
    EXPECT_NEAR(thickness, 1.0, 1e-9);

    Array<int> other;
    EXPECT_TRUE(FindClusterOfShell(m_tag, seed, same, other, &thickness, &result));
    EXPECT_NEAR(thickness, 1.0, 1e-9);

    const int block = brennik::build::Block();
    Array<int> untouched;
    untouched.Add(7);
    FindSidesOfShell(m_tag, FaceAt(block, 0, 0, 1, 30), untouched, opposite, &thickness, &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(GetArrayVector(untouched), std::vector<int>{7});
    EXPECT_FALSE(FindClusterOfShell(m_tag, FaceAt(block, 0, 0, 1, 30), untouched, opposite, &thickness, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(thickness, 0.0);
    EXPECT_EQ(GetArrayVector(untouched), std::vector<int>{7});
}

TEST_F(ShellApiTest, ShellQueriesWithoutAThicknessAreBadArguments)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    std::set<int> faces;
    GetBodyFaces(box, faces);
    Array<int> same;
    Array<int> other;
    for (bool checks : {true, false}) {
        m_interaction->SetCheckArguments(checks);
        ResultType result = ResultTypeOk;
        FindSidesOfShell(m_tag, *faces.begin(), same, other, nullptr, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_FALSE(FindClusterOfShell(m_tag, *faces.begin(), same, other, nullptr, &result));
        EXPECT_EQ(result, ResultTypeBadArgument);
    }
}

TEST_F(ShellApiTest, IsBlendFaceAnswersForFacesOnly)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(body, KernelClassCylinder);
    double radius = 0.0;
    ResultType result = ResultTypeFail;
    EXPECT_TRUE(IsBlendFace(m_tag, blend, radius, &result));
    EXPECT_NEAR(radius, 2.0, 1e-9);
    std::vector<int> edges;
    GetFaceEdges(blend, &edges);
    EXPECT_FALSE(IsBlendFace(m_tag, edges.front(), radius, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(radius, 0.0);
}

TEST_F(ShellApiTest, DisjoinBodyLeavesItsOptionsOutOfTheJournalAndPlacedBodiesAlone)
{
    const int body = brennik::build::Block();
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    ResultType result = ResultTypeFail;
    CreateInstance(m_tag, body, identity, &result);
    Array<int> bodies;
    bodies.Add(99);
    OpenJournalFile();
    EXPECT_FALSE(DisjoinBody(m_tag, body, "pieces", bodies, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(bodies), std::vector<int>{99});
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_FALSE(records.empty());
    EXPECT_TRUE(Argument(records.back(), "options").IsEmpty());
    EXPECT_FALSE(Argument(records.back(), "body").IsEmpty());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
