// The make-feature options: their own type and element, their unders kept for rollback with
// the canonical count, and equality by counts.

#include "OptionsFixture.h"

#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/features/MakeFeatureOptions.h"

namespace QEL {
namespace testing {
namespace {

using MakeFeatureOptionsTest = OptionsTest;

TEST_F(MakeFeatureOptionsTest, TheOptionsReadBackAsThemselvesWithTheirUnders)
{
    auto* options = new MakeFeatureOptions(m_interaction);
    EXPECT_EQ(options->GetType(), ObjectTypeMakeFeatureOptions);
    const HXR_TOPOL_make_feat_o_s& words = options->GetAddOnOptions();
    EXPECT_EQ(words.version, 1);
    EXPECT_EQ(words.n_unders + words.n_canonical_unders, 0);
    EXPECT_EQ(words.unders, nullptr);
    EXPECT_EQ(words.under_labels, nullptr);
    ASSERT_TRUE(options->SetUnders({m_faces[0], m_edges[1]}, {4, 5}, 1));

    auto writer = Writer();
    ASSERT_TRUE(options->DoIO(*writer));
    const std::string text = writer->ToText();
    EXPECT_NE(text.find("<MakeFeatureOptions id="), std::string::npos) << text;
    auto copyReader = Reader(text);
    EXPECT_EQ(CopyOptions::CreateFromXML(m_interaction, *copyReader), nullptr);
    auto reader = Reader(text);
    MakeFeatureOptions* back = MakeFeatureOptions::CreateFromXML(m_interaction, *reader);
    ASSERT_NE(back, nullptr);
    std::vector<int> unders, labels;
    int canonical = 0;
    back->GetUnders(unders, labels, &canonical);
    EXPECT_EQ(unders, (std::vector<int>{m_faces[0], m_edges[1]}));
    EXPECT_EQ(labels, (std::vector<int>{4, 5}));
    EXPECT_EQ(canonical, 1);
    EXPECT_TRUE(back->Compare(options));

    // Only a make-feature options tag passes as one.
    const int copy = (new CopyOptions(m_interaction))->GetTag();
    EXPECT_EQ(CheckArgTagIsMakeFeatureOptions(back->GetTag(), m_interaction), ResultTypeOk);
    EXPECT_EQ(CheckArgTagIsMakeFeatureOptions(copy, m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CastTagToMakeFeatureOptions(m_interaction, copy), nullptr);
    m_interaction->FindTaggedEntityFromTag(copy)->Destroy();
    options->Destroy();
    back->Destroy();
}

TEST_F(MakeFeatureOptionsTest, RollbackRestoresTheUndersAndTheCanonicalCount)
{
    auto* options = new MakeFeatureOptions(m_interaction);
    ASSERT_TRUE(options->SetUnders({m_faces[0]}, {1}, 1));
    const int mark = m_interaction->CreateMark();
    ASSERT_TRUE(options->SetUnders({m_faces[1], m_faces[2]}, {2, 3}, 2));
    EXPECT_FALSE(options->SetUnders({m_faces[3]}, {}, 0));
    m_interaction->CreateMark();
    m_interaction->RollToMark(mark);
    std::vector<int> unders, labels;
    int canonical = 0;
    options->GetUnders(unders, labels, &canonical);
    EXPECT_EQ(unders, std::vector<int>{m_faces[0]});
    EXPECT_EQ(labels, std::vector<int>{1});
    EXPECT_EQ(canonical, 1);
    options->Destroy();
}

TEST_F(MakeFeatureOptionsTest, OptionsCompareByTheLengthsOfTheirListsAndTheCanonicalCount)
{
    MakeFeatureOptions a(nullptr), b(nullptr);
    ASSERT_TRUE(a.SetUnders({m_faces[0], m_faces[1]}, {1, 2}, 1));
    ASSERT_TRUE(b.SetUnders({m_faces[2], m_faces[3]}, {7, 8}, 1));
    EXPECT_TRUE(a.Compare(&b));
    ASSERT_TRUE(b.SetUnders({m_faces[2], m_faces[3]}, {7, 8}, 2));
    EXPECT_FALSE(a.Compare(&b));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
