// The add-on facade on fixture bodies: answers as the add-on gives them, statuses of the
// stored relations, and shell clusters.
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace QEL {
namespace {

class AddOnFacadeTest : public ::testing::Test {
protected:
    void SetUp() override { brennik::test::RestartSession(); }
    void TearDown() override { brennik::test::Reset(); }

    static std::vector<int> Faces(int body)
    {
        std::set<int> faces;
        GetBodyFaces(body, faces);
        return std::vector<int>(faces.begin(), faces.end());
    }
};

TEST_F(AddOnFacadeTest, FeatureEditsAnswerWhatTheAddOnAnswered)
{
    const int block = brennik::build::Block();
    const std::vector<int> faces = Faces(block);
    int feature = 0;
    ASSERT_EQ(HXR_TOPOL_make_feat(2, faces.data(), faces.data(), 0, 7, nullptr, &feature), 0);
    EXPECT_FALSE(SetFeatureDormant(block, true)) << "a body is no feature";
    EXPECT_TRUE(SetFeatureDormant(feature, true));
    EXPECT_TRUE(IsFeatureDormant(feature));
    EXPECT_EQ(GetFeatureIdentifier(feature), 7);
    EXPECT_TRUE(IsFeatureAllFaces(feature));
    std::vector<int> topologies, labels;
    EXPECT_TRUE(GetFeatureTopologies(feature, &topologies, &labels));
    EXPECT_EQ(topologies.size(), 2u);
    EXPECT_EQ(labels.size(), 2u);
    std::vector<int> held;
    EXPECT_FALSE(GetTopologyFeatures(block, &held));
    EXPECT_TRUE(held.empty());
    EXPECT_TRUE(HasTopologyFeatures(faces[0]));
    EXPECT_FALSE(HasTopologyFeatures(faces[2]));
}

TEST_F(AddOnFacadeTest, StoredRelationsReportTheirStatus)
{
    const int block = brennik::build::Block();
    ResultType result = ResultTypeFail;
    const HXR_BODY_restore_relations_o_s restore{1};
    EXPECT_EQ(RestoreBodyRelations(block, &restore, &result), RestoreBodyPersistentDataNothingToRestore);
    EXPECT_EQ(result, ResultTypeOk);
    const HXR_BODY_extract_relations_o_s store{2, true};
    EXPECT_EQ(ExtractBodyRelations(block, &store, &result), ExtractBodyPersistentDataStored);
    EXPECT_EQ(ExtractBodyRelations(block, &store, &result), ExtractBodyPersistentDataAlreadyStored);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(ExtractBodyRelations(0, &store, &result), ExtractBodyPersistentDataStored);
    EXPECT_EQ(result, ResultTypeFail);
}

TEST_F(AddOnFacadeTest, ShellClusterOfAWallAndOfAPlainFace)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    int wallFace = 0;
    for (int face : Faces(box)) {
        std::vector<int> partners;
        if (FindShellPartners(face, &partners, nullptr)) {
            wallFace = face;
            break;
        }
    }
    ASSERT_NE(wallFace, 0);
    std::vector<int> side, partners;
    double thickness = 0.0;
    EXPECT_TRUE(FindShellCluster(wallFace, &side, &partners, &thickness));
    EXPECT_NE(std::find(side.begin(), side.end(), wallFace), side.end());
    EXPECT_FALSE(partners.empty());
    EXPECT_NEAR(thickness, 1.0, 1e-9);

    const int block = brennik::build::Block();
    thickness = 5.0;
    side.clear();
    EXPECT_FALSE(FindShellCluster(Faces(block)[0], &side, nullptr, &thickness));
    EXPECT_EQ(thickness, 0.0);
    EXPECT_TRUE(side.empty());
}

}  // namespace
}  // namespace QEL
