// The checks on faces an offset would move and the debug checks of shelled faces and bodies,
// on a real thin-walled box: what they answer, and that they leave the interaction's
// references and relations as they found them.

#include "../../core/frame/ApiTestFixture.h"
#include "../../model/transaction/ModelFixture.h"

#include "api/debug/QelDebugApi.h"
#include "core/kernel/AddOnFacade.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "model/operations/ModellingOperations.h"

namespace QEL {
namespace testing {
namespace {

class ShellChecksTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        m_box = brennik::build::ThinWalledBox(1.0);
        std::set<int> faces;
        GetBodyFaces(m_box, faces);
        for (int face : faces) {
            std::vector<int> partners;
            if (FindShellPartners(face, &partners, nullptr) && !partners.empty()) {
                m_face = face;
                m_partner = partners.front();
                break;
            }
        }
        ASSERT_NE(m_face, 0);
        ASSERT_TRUE(FindShellCluster(m_face, nullptr, nullptr, nullptr));
    }
    size_t ReferenceCount() const
    {
        std::set<Reference*, TaggedEntityPtrLessThan> references;
        m_interaction->GetAllReferences(references);
        return references.size();
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    int m_box = 0;
    int m_face = 0;
    int m_partner = 0;
};

TEST_F(ShellChecksTest, ShelledBoxPassesAndTheChecksLeaveNothingBehind)
{
    ResultType result = ResultTypeFail;
    EXPECT_TRUE(DebugCheckShelledBody(m_tag, m_box, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_TRUE(DebugCheckShelledFace(m_tag, m_face, &result));
    EXPECT_EQ(result, ResultTypeOk);
    // A face in no wall has nothing to keep.
    const int block = brennik::build::Block();
    EXPECT_TRUE(DebugCheckShelledFace(m_tag, FaceAt(block, 0, 0, 1, 30), &result));
    EXPECT_EQ(ReferenceCount(), 0u);
    EXPECT_EQ(m_interaction->GetRelationCount(), 0);

    // With checks on, a tag that is no kernel entity is refused before anything runs.
    m_interaction->SetCheckArguments(true);
    EXPECT_FALSE(DebugCheckShelledFace(m_tag, 999999, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_FALSE(DebugCheckShelledBody(m_tag + 12345, m_box, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
}

TEST_F(ShellChecksTest, PairAtAnotherThicknessFailsAndKeepsOnlyTheReferencesItFound)
{
    EXPECT_TRUE(CheckShellFacePair(m_interaction, m_face, m_partner, 1.0));
    EXPECT_FALSE(CheckShellFacePair(m_interaction, m_face, m_partner, 1.5));
    EXPECT_EQ(ReferenceCount(), 0u);

    // A reference that was on the face before the check is someone else's: it survives the
    // check, with or without relations of its own, while the one the check made goes.
    Reference* existing = Reference::Create(m_interaction, m_face, nullptr);
    ASSERT_NE(existing, nullptr);
    for (double thickness : {1.0, 1.5}) {
        EXPECT_EQ(CheckShellFacePair(m_interaction, m_face, m_partner, thickness), thickness == 1.0);
        std::vector<Reference*> onFace;
        m_interaction->FindReferencesOnEntity(m_face, nullptr, onFace);
        ASSERT_EQ(onFace.size(), 1u);
        EXPECT_EQ(onFace.front(), existing);
        EXPECT_EQ(ReferenceCount(), 1u);
        EXPECT_EQ(m_interaction->GetRelationCount(), 0);
    }
}

TEST_F(ShellChecksTest, InteractionRelationsHoldUntilOneIsNoLongerMet)
{
    ResultType result = ResultTypeFail;
    EXPECT_TRUE(DebugCheckInteractionRelations(m_tag, &result));
    EXPECT_EQ(result, ResultTypeOk);
    Relation* distance =
        Relation::CreateBinary(m_interaction, RelationTypeDistance, Reference::Create(m_interaction, m_face, nullptr),
                               Reference::Create(m_interaction, m_partner, nullptr));
    ASSERT_NE(distance, nullptr);
    EXPECT_NEAR(distance->GetValue(), 1.0, 1e-9);
    EXPECT_TRUE(DebugCheckInteractionRelations(m_tag, &result));
    distance->SetValue(2.0);
    EXPECT_FALSE(DebugCheckInteractionRelations(m_tag, &result));
    EXPECT_EQ(result, ResultTypeOk);
}

TEST_F(ShellChecksTest, FacesToOffsetStopAtTheFirstFaceThatCannotMove)
{
    const int blended = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(blended, KernelClassCylinder);
    const int top = FaceAt(blended, 0, 0, 1, 30);
    ASSERT_NE(blend, 0);
    ASSERT_NE(top, 0);
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {}), ResultTypeOk);
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {top, blend, m_face}), ResultTypeOk);

    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeRadius, Reference::Create(m_interaction, blend, nullptr)),
              nullptr);
    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeFixed, Reference::Create(m_interaction, top, nullptr)),
              nullptr);
    EXPECT_TRUE(FaceHasRelationOfType(m_interaction, top, RelationTypeFixed));
    EXPECT_FALSE(FaceHasRelationOfType(m_interaction, top, RelationTypeRadius));
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {m_face, blend, top}), ResultTypeFaceToOffsetHasRadiusRelation);
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {top, blend}), ResultTypeFaceToOffsetHasFixedRelation);
}

// A face a feature refers to is not offset; nor is one face of a wall side of several faces
// without the others of that side.
TEST_F(ShellChecksTest, FacesToOffsetRefuseAFeaturesFaceAndAHalfListedWallSide)
{
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimple);
    feature->AddReference(Reference::Create(m_interaction, m_face, nullptr));
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {m_face}), ResultTypeFaceToOffsetReferencedByFeature);

    // A rib across the floor, wall to wall, splits the floor into two faces across from the one
    // bottom face.
    const int rib = brennik::build::Block(38.0, 2.0, 2.0);
    BQ_TRANSF_sf_t place{};
    for (int i = 0; i < 4; ++i)
        place.matrix[i][i] = 1.0;
    place.matrix[0][3] = 1.0;
    place.matrix[1][3] = 14.0;
    place.matrix[2][3] = 1.0;
    int transform = 0;
    ASSERT_EQ(BQ_TRANSF_create(&place, &transform), BQ_ERROR_no_errors);
    const HXR_BODY_paste_o_s unite = {4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    ASSERT_EQ(HXR_BODY_paste(m_box, rib, transform, &unite, &tracking), HXR_ERROR_none);
    HXR_ENTITY_track_r_f(&tracking);
    std::vector<int> floors;
    ASSERT_TRUE(FindShellCluster(FaceAt(m_box, 0, 0, -1, 0), nullptr, &floors, nullptr));
    ASSERT_EQ(floors.size(), 2u);
    EXPECT_EQ(CheckFacesToOffset(m_interaction, {floors[0]}), ResultTypeFaceToOffsetHasConflictNeighborPartnerFace);
    EXPECT_EQ(CheckFacesToOffset(m_interaction, floors), ResultTypeOk);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
