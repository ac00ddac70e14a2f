// The relation-finding calls: the option matrix and what they refuse, the callback each
// interaction keeps and the rejections it journals, the reference lists, the find through
// its groups, and the point where three faces meet.
#include "../../core/frame/ApiTestFixture.h"

#include "api/model/QelReferenceApi.h"
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "core/kernel/KernelFacade.h"

namespace QEL {
namespace testing {
namespace {

int s_calls = 0;
bool RejectAll(int, int, RelationType, int, int, int, int, int, int)
{
    ++s_calls;
    return false;
}
bool AcceptAll(int, int, RelationType, int, int, int, int, int, int)
{
    ++s_calls;
    return true;
}

class RelationFindingApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        s_calls = 0;
        m_tag = NewInteraction();
        m_block = brennik::build::Block(10, 20, 30);
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        for (int face : faces) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (normal.z > 0.5)
                m_top = face;
            else if (normal.x > 0.5)
                m_side = face;
            else if (normal.y > 0.5)
                m_back = face;
        }
    }
    // From the block's top into the whole block.
    ResultType FindFromTop()
    {
        Array<Array<int>> from, to;
        Array<int> top, block;
        top.Add(m_block);
        top.Add(m_top);
        block.Add(m_block);
        from.Add(top);
        to.Add(block);
        ResultType result = ResultTypeUnknown;
        FindGeometricRelations(m_tag, from, to, &result);
        return result;
    }

    int m_tag = 0;
    int m_block = 0, m_top = 0, m_side = 0, m_back = 0;
};

TEST_F(RelationFindingApiTest, TheLevelMatrixRefusesWhatItCannotHold)
{
    ResultType result = ResultTypeUnknown;
    OptionResetAllFindRelationsData(m_tag, &result);
    EXPECT_EQ(OptionGetFindRelationsData(m_tag, FindRelationTypeCoPlanar, FindGeometryTypePlane,
                                         FindGeometryTypeSphereFull, &result), 0);
    EXPECT_EQ(result, ResultTypeOk);
    const struct {
        int relation, from, to, level;
        ResultType expected;
    } cases[] = {
        {FindRelationTypeTangent, FindGeometryTypePlane, FindGeometryTypeCylinderFull, 3, ResultTypeOk},
        {FindRelationTypeSymmetric, FindGeometryTypeTorusMinorFull, FindGeometryTypeTorusMinorFull, 2,
         ResultTypeNotSupported},
        {FindRelationTypeMax, FindGeometryTypePlane, FindGeometryTypePlane, 2, ResultTypeNotSupported},
        {-1, FindGeometryTypePlane, FindGeometryTypePlane, 2, ResultTypeBadArgument},
        {FindRelationTypeTangent, FindGeometryTypePlane, 14, 2, ResultTypeBadArgument},
        {FindRelationTypeTangent, FindGeometryTypePlane, FindGeometryTypeCylinderFull, -1, ResultTypeBadArgument},
    };
    for (bool checks : {true, false}) {
        TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(checks);
        for (const auto& c : cases) {
            OptionSetFindRelationsData(m_tag, FindRelationType(c.relation), FindGeometryType(c.from),
                                       FindGeometryType(c.to), c.level, &result);
            EXPECT_EQ(result, c.expected) << c.relation << " " << c.from << " " << c.to << " " << c.level;
        }
        EXPECT_EQ(OptionGetFindRelationsData(m_tag, FindRelationTypeTangent, FindGeometryTypePlane,
                                             FindGeometryTypeCylinderFull, &result), 3)
            << "a refused level leaves the entry";
        EXPECT_EQ(OptionGetFindRelationsData(m_tag, FindRelationTypeParallel, FindGeometryTypeCylinderFull,
                                             FindGeometryTypePlane, &result), -1);
        EXPECT_EQ(result, ResultTypeNotSupported);
        OptionGetFindRelationsData(m_tag, FindRelationType(-3), FindGeometryTypePlane, FindGeometryTypePlane, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
    }
    // A reset restores the levels and leaves the flags.
    OptionSetFindSymmetryMatchExact(m_tag, true, &result);
    OptionResetAllFindRelationsData(m_tag, &result);
    EXPECT_EQ(OptionGetFindRelationsData(m_tag, FindRelationTypeTangent, FindGeometryTypePlane,
                                         FindGeometryTypeCylinderFull, &result), 0);
    EXPECT_TRUE(OptionGetFindSymmetryMatchExact(m_tag, &result));
}

TEST_F(RelationFindingApiTest, EachInteractionKeepsTheApplicationsOwnCallback)
{
    Interaction::SetAllowMultipleInteractions(true);
    const int other = NewInteraction();
    ResultType result = ResultTypeUnknown;
    OpenJournalFile();
    OptionSetFindAcceptRelationCallback(m_tag, &RejectAll, &result);
    OptionSetFindAcceptRelationCallback(other, &AcceptAll, &result);
    EXPECT_EQ(OptionGetFindAcceptRelationCallback(m_tag, &result), &RejectAll);
    EXPECT_EQ(OptionGetFindAcceptRelationCallback(other, &result), &AcceptAll);

    OptionSetFindRelationsData(m_tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1, &result);
    EXPECT_EQ(FindFromTop(), ResultTypeOk);
    EXPECT_EQ(s_calls, 1);
    EXPECT_EQ(GetFoundRelations(m_tag, nullptr, &result), 0);
    const XMLTreeNode root = ReadJournal();
    int rejections = 0;
    for (const XMLTreeNode& record : Records(root))
        rejections += static_cast<int>(Children(record, "FindCallbackReject").size());
    EXPECT_EQ(rejections, 1);

    // Without a journal nothing is written, and the rejection stands.
    s_calls = 0;
    EXPECT_EQ(FindFromTop(), ResultTypeOk);
    EXPECT_EQ(s_calls, 1);
    EXPECT_EQ(GetFoundRelations(m_tag, nullptr, &result), 0);
}

TEST_F(RelationFindingApiTest, FoundRelationsAreListedAppendedAndCleared)
{
    ResultType result = ResultTypeUnknown;
    OptionSetFindRelationsData(m_tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1, &result);
    OptionSetFindRelationsData(m_tag, FindRelationTypePerpendicular, FindGeometryTypePlane, FindGeometryTypePlane, 1,
                               &result);
    ASSERT_EQ(FindFromTop(), ResultTypeOk);
    Array<int> relations;
    const int count = GetFoundRelations(m_tag, &relations, &result);
    EXPECT_EQ(count, 5) << "the bottom parallel, the four sides perpendicular";
    EXPECT_EQ(GetFoundRelations(m_tag, &relations, &result), count);
    ASSERT_EQ(relations.GetSize(), 2 * count) << "appended, not emptied";
    for (int i = 1; i < count; ++i)
        EXPECT_LT(relations[i - 1], relations[i]);
    EXPECT_EQ(GetFoundRelationLevel(m_tag, relations[0], &result), 1);

    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    const int before = interaction->GetRelationCount();
    ClearFoundRelations(m_tag, false, &result);
    EXPECT_EQ(GetFoundRelations(m_tag, nullptr, &result), 0);
    EXPECT_EQ(interaction->GetRelationCount(), before) << "forgotten, not destroyed";
}

TEST_F(RelationFindingApiTest, AnEmptyGroupIsRefusedWithChecksOnOrOff)
{
    Array<Array<int>> groups, none;
    groups.Add(Array<int>());
    for (bool checks : {true, false}) {
        TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(checks);
        ResultType result = ResultTypeUnknown;
        FindGeometricRelations(m_tag, groups, none, &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << checks;
    }
    ResultType result = ResultTypeUnknown;
    FindGeometricRelations(m_tag, none, none, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetFoundRelations(m_tag, nullptr, &result), 0);
}

TEST_F(RelationFindingApiTest, ReferenceListsTakeOnlyPlaneReferencesAndNeverAnEmptyEntry)
{
    ResultType result = ResultTypeUnknown;
    const int plane = CreateReference(m_tag, brennik::build::FreePlane(0, 0, 5, 0, 0, 1), 0, &result);
    const int face = CreateReference(m_tag, m_top, 0, &result);
    Array<int> planes, faces, out;
    planes.Add(plane);
    faces.Add(face);
    OptionSetFindSymmetryPlanes(m_tag, planes, &result);
    EXPECT_EQ(result, ResultTypeOk);
    OptionSetFindSymmetryPlanes(m_tag, faces, &result);
    EXPECT_EQ(result, ResultTypeBadArgument) << "a face is no plane";
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    Array<int> unknown;
    unknown.Add(kUnknownTag);
    OptionSetFindPrinciplePlanes(m_tag, unknown, &result);
    EXPECT_EQ(result, ResultTypeBadArgument) << "no empty entry, with checks off too";
    EXPECT_EQ(OptionGetFindPrinciplePlanes(m_tag, &out, &result), 0);
    out.Add(99);
    EXPECT_EQ(OptionGetFindSymmetryPlanes(m_tag, &out, &result), 1);
    ASSERT_EQ(out.GetSize(), 1) << "emptied first";
    EXPECT_EQ(out[0], plane);
}

TEST_F(RelationFindingApiTest, ThreeFacesMeetAtACornerAndTheJournalKeepsThePoint)
{
    ResultType result = ResultTypeUnknown;
    Array<int> faces;
    faces.Add(m_top);
    faces.Add(m_side);
    double near[3] = {9, 19, 29};
    double point[3] = {-1, -1, -1};
    EXPECT_FALSE(GeomUtilsGetIntersectionPointOf3Faces(faces, near, point, &result));
    EXPECT_EQ(result, ResultTypeBadArgument) << "two faces are refused";
    EXPECT_EQ(point[0], -1.0) << "and the output is left";

    faces.Add(m_back);
    OpenJournalFile();
    EXPECT_TRUE(GeomUtilsGetIntersectionPointOf3Faces(faces, near, point, &result));
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_NEAR(point[0], 10, 1e-9);
    EXPECT_NEAR(point[1], 20, 1e-9);
    EXPECT_NEAR(point[2], 30, 1e-9);
    const XMLTreeNode root = ReadJournal();
    const std::vector<XMLTreeNode> records = Records(root);
    ASSERT_FALSE(records.empty());
    const XMLTreeNode written = Argument(records.back(), "intersectionPoint");
    ASSERT_FALSE(written.IsEmpty());
    const std::vector<XMLTreeNode> elements = Children(written, "Element");
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_NEAR(std::stod(Attribute(elements[0], "value")), 10, 1e-9) << "written after the call";
}

}  // namespace
}  // namespace testing
}  // namespace QEL
