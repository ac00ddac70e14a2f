// Comparing two whole interactions: their objects first, then the bodies those objects see,
// then the free-standing geometry their references name.
#include "../InteractionFixture.h"

namespace QEL {
namespace testing {
namespace {

// Two live interactions side by side, each with its own 10 x 20 x 30 block.
class InteractionCompareTest : public InteractionTest {
protected:
    void SetUp() override
    {
        Interaction::SetAllowMultipleInteractions(true);
        InteractionTest::SetUp();
        m_other = new Interaction(CreateTypeLive);
        m_otherBlock = brennik::build::Block();
    }
    void TearDown() override
    {
        if (m_other)
            m_other->Destroy();
        m_other = nullptr;
        InteractionTest::TearDown();
        Interaction::SetAllowMultipleInteractions(false);
    }

    // Each interaction places its block and references the block's first face through it.
    void PlaceBlocksWithFaceReferences()
    {
        TestReference::Create(m_interaction, FirstFace(m_block), PlaceBlock());
        TestReference::Create(m_other, FirstFace(m_otherBlock),
                              Instance::Create(m_other, m_otherBlock, nullptr));
    }

    // Compares m_interaction with m_other and answers the stored code; the return value must
    // agree with it.
    ResultType CompareCode(bool bodyCompareOnly)
    {
        ResultType result = ResultTypeUnknown;
        const bool equal = m_interaction->Compare(m_other, bodyCompareOnly, &result);
        EXPECT_EQ(equal, result == ResultTypeOk);
        return result;
    }

    Interaction* m_other = nullptr;
    int m_otherBlock = 0;
};

TEST_F(InteractionCompareTest, EqualContentComparesEqualBothWaysAndBodiesOnly)
{
    PlaceBlocksWithFaceReferences();

    EXPECT_EQ(CompareCode(false), ResultTypeOk);
    EXPECT_EQ(CompareCode(true), ResultTypeOk);
    ResultType reverse = ResultTypeUnknown;
    EXPECT_TRUE(m_other->Compare(m_interaction, false, &reverse));
    EXPECT_EQ(reverse, ResultTypeOk);
    EXPECT_TRUE(m_interaction->Compare(m_interaction, false, nullptr));
}

TEST_F(InteractionCompareTest, ExtraObjectGivesObjectDiffersUnlessOnlyBodiesAreCompared)
{
    PlaceBlocksWithFaceReferences();
    TestReference::Create(m_other, FirstVertex(m_otherBlock), nullptr);

    EXPECT_EQ(CompareCode(false), ResultTypeObjectDiffers);
    EXPECT_EQ(CompareCode(true), ResultTypeOk);
}

TEST_F(InteractionCompareTest, DifferentlyPlacedInstanceGivesObjectDiffersEvenForBodiesOnly)
{
    PlaceBlocksWithFaceReferences();
    Instance::Create(m_interaction, brennik::build::Block(), nullptr);
    Instance* moved = Instance::Create(m_other, brennik::build::Block(), nullptr);
    moved->SetXform(Translation(0.0, 0.0, 5.0));

    EXPECT_EQ(CompareCode(true), ResultTypeObjectDiffers);
}

TEST_F(InteractionCompareTest, BodiesThatDifferGiveBodyDiffers)
{
    const int taller = brennik::build::Block(10.0, 20.0, 31.0);
    TestReference::Create(m_interaction, FirstFace(m_block), PlaceBlock());
    TestReference::Create(m_other, FirstFace(taller), Instance::Create(m_other, taller, nullptr));

    EXPECT_EQ(CompareCode(false), ResultTypeBodyDiffers);
    EXPECT_EQ(CompareCode(true), ResultTypeBodyDiffers);
}

// Attributes of the application on every edge of one block: the kernel reports each edge, more
// than its first page of reports holds, and none of it makes the bodies differ.
TEST_F(InteractionCompareTest, AttributesOnlyOnOneSideStillCompareEqualBeyondTheFirstReportPage)
{
    PlaceBlocksWithFaceReferences();
    const int owners[] = {BQ_CLASS_edge};
    const int types[] = {BQ_FIELD_type_int};
    const char* names[] = {"value"};
    BQ_ATTDEF_sf_t form{"TEST/APPLICATION", BQ_ATTDEF_class_normal, 1, owners, 1, types, names};
    int definition = 0;
    ASSERT_EQ(BQ_ATTDEF_create_2(&form, &definition), BQ_ERROR_no_errors);
    int count = 0;
    int* edges = nullptr;
    ASSERT_EQ(BQ_BODY_ask_edges(m_otherBlock, &count, &edges), BQ_ERROR_no_errors);
    ASSERT_GT(count, 10);
    for (int i = 0; i < count; ++i) {
        int attribute = 0;
        BQ_ATTRIB_create_empty(edges[i], definition, &attribute);
    }
    BQ_MEMORY_free(edges);

    EXPECT_EQ(CompareCode(false), ResultTypeOk);
    EXPECT_EQ(CompareCode(true), ResultTypeOk);
}

TEST_F(InteractionCompareTest, BodiesPairThroughTheObjectsThatPlaceThemNotByTagOrder)
{
    // The other side makes its bodies in the opposite order, so that pairing the seen bodies
    // by ascending tag would match a large block with a small one.
    const int small = brennik::build::Block(5.0, 5.0, 5.0);
    const int otherSmall = brennik::build::Block(5.0, 5.0, 5.0);
    const int otherLarge = brennik::build::Block();
    PlaceBlock();
    Instance::Create(m_interaction, small, nullptr);
    Instance::Create(m_other, otherLarge, nullptr);
    Instance::Create(m_other, otherSmall, nullptr);
    ASSERT_LT(otherSmall, otherLarge);

    EXPECT_EQ(CompareCode(false), ResultTypeOk);
}

TEST_F(InteractionCompareTest, BodySeenOnOneSideOnlyGivesBodyDiffers)
{
    PlaceBlocksWithFaceReferences();
    m_interaction->AddSeenBody(brennik::build::Block());

    EXPECT_EQ(CompareCode(false), ResultTypeBodyDiffers);
}

TEST_F(InteractionCompareTest, KernelErrorInBodyComparisonGivesBodyDiffers)
{
    PlaceBlocksWithFaceReferences();
    brennik::test::FailNextCall("BQ_DEBUG_BODY_compare", BQ_ERROR_null_arg);

    EXPECT_EQ(CompareCode(false), ResultTypeBodyDiffers);
}

TEST_F(InteractionCompareTest, WithoutLiveSeenBodiesOnlyFullCompareSucceeds)
{
    EXPECT_EQ(CompareCode(false), ResultTypeOk);
    EXPECT_EQ(CompareCode(true), ResultTypeBodyDiffers);
}

TEST_F(InteractionCompareTest, ReferenceOnBodyAgainstFreeGeometryGivesFailOnMapSizes)
{
    TestReference::Create(m_interaction, FirstFace(m_block), PlaceBlock());
    Instance::Create(m_other, m_otherBlock, nullptr);
    TestReference::Create(m_other, brennik::build::FreePoint(0.0, 0.0, 0.0), nullptr);

    EXPECT_EQ(CompareCode(false), ResultTypeFail);
    // Without the map sizes the unmatched free-standing reference decides.
    EXPECT_EQ(CompareCode(true), ResultTypeBodyDiffers);
}

struct FreeGeometryCase {
    const char* name;
    int (*make)(double shift);
    double otherShift;
    ResultType expected;
};

void PrintTo(const FreeGeometryCase& c, std::ostream* os) { *os << c.name; }

int MakePoint(double shift) { return brennik::build::FreePoint(shift, 0.0, 0.0); }
int MakePlane(double shift) { return brennik::build::FreePlane(0.0, 0.0, shift, 0.0, 0.0, 1.0); }
int MakeTiltedPlane(double) { return brennik::build::FreePlane(0.0, 0.0, 0.0, 0.0, 1.0, 1.0); }

class FreeGeometryCompareTest : public InteractionCompareTest,
                                public ::testing::WithParamInterface<FreeGeometryCase> {};

// This side references a free point or plane at the origin; the other side's counterpart is
// made by the case, shifted by otherShift.
TEST_P(FreeGeometryCompareTest, FreeStandingReferencesCompareByStandardForm)
{
    const FreeGeometryCase& c = GetParam();
    PlaceBlocksWithFaceReferences();
    const bool plane = c.make == MakePlane || c.make == MakeTiltedPlane;
    TestReference::Create(m_interaction, plane ? MakePlane(0.0) : MakePoint(0.0), nullptr);
    TestReference::Create(m_other, c.make(c.otherShift), nullptr);

    EXPECT_EQ(CompareCode(false), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeGeometryCompareTest,
    ::testing::Values(FreeGeometryCase{"SamePoint", MakePoint, 0.0, ResultTypeOk},
                      FreeGeometryCase{"PointWithinTolerance", MakePoint, 1e-9, ResultTypeOk},
                      FreeGeometryCase{"MovedPoint", MakePoint, 1e-6, ResultTypeBodyDiffers},
                      FreeGeometryCase{"SamePlane", MakePlane, 0.0, ResultTypeOk},
                      FreeGeometryCase{"OffsetPlane", MakePlane, 1.0, ResultTypeBodyDiffers},
                      FreeGeometryCase{"TiltedPlane", MakeTiltedPlane, 0.0, ResultTypeBodyDiffers}),
    [](const ::testing::TestParamInfo<FreeGeometryCase>& info) { return info.param.name; });

// An instanced reference whose entity lies on no body is free-standing on both sides, so equal
// interactions holding one compare equal whichever is asked.
TEST_F(InteractionCompareTest, InstancedReferenceOnFreeGeometryComparesEqualBothWays)
{
    TestReference::Create(m_interaction, brennik::build::FreePoint(1.0, 2.0, 3.0), PlaceBlock());
    TestReference::Create(m_other, brennik::build::FreePoint(1.0, 2.0, 3.0),
                          Instance::Create(m_other, m_otherBlock, nullptr));

    EXPECT_EQ(CompareCode(false), ResultTypeOk);
    EXPECT_EQ(CompareCode(true), ResultTypeOk);
    EXPECT_TRUE(m_other->Compare(m_interaction, false, nullptr));
}

TEST_F(InteractionCompareTest, NullOtherIsBadArgument)
{
    ResultType result = ResultTypeOk;
    EXPECT_FALSE(m_interaction->Compare(nullptr, false, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_FALSE(m_interaction->Compare(nullptr, true, nullptr));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
