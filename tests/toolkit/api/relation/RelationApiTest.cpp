// The relation calls as an application makes them: through the exported functions, over two
// placed blocks and a free plane from the fixture builders.
#include "../../core/frame/ApiTestFixture.h"

#include "api/model/QelInstanceApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/calls/QelInteractionApi.h"

#include <set>

namespace QEL {
namespace testing {
namespace {

const double kMoved[4][4] = {{1, 0, 0, 50}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

class RelationApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        OptionSetCheckArguments(m_tag, true, nullptr);
        const int block = brennik::build::Block(10, 20, 30);
        // The top face, 10 below the free plane.
        std::set<int> faces;
        GetBodyFaces(block, faces);
        int face = 0;
        for (int candidate : faces) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(candidate, &point, &normal);
            if (normal.z > 0.5)
                face = candidate;
        }
        m_first = CreateReference(m_tag, face, CreateInstance(m_tag, block, nullptr, &m_result), &m_result);
        m_second = CreateReference(m_tag, face, CreateInstance(m_tag, block, kMoved, &m_result), &m_result);
        m_plane = CreateReference(m_tag, brennik::build::FreePlane(0, 0, 40, 0, 0, 1), 0, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
    }
    int Create(RelationType type, std::vector<int> references)
    {
        return CreateRelation(m_tag, type, Array<int>(static_cast<int>(references.size()), references.data()),
                              &m_result);
    }

    int m_tag = 0;
    int m_first = 0;
    int m_second = 0;
    int m_plane = 0;
    ResultType m_result = ResultTypeOk;
};

TEST_F(RelationApiTest, RelationsAreListedAndReadWithinTheirBounds)
{
    const int relation = Create(RelationTypeParallel, {m_first, m_second});
    ASSERT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetRelationCount(m_tag, &m_result), 1);
    EXPECT_EQ(GetRelation(m_tag, 0, &m_result), relation);
    EXPECT_EQ(RelationGetType(m_tag, relation, &m_result), RelationTypeParallel);
    EXPECT_EQ(RelationGetReferenceCount(m_tag, relation, &m_result), 2);
    EXPECT_EQ(RelationGetReference(m_tag, relation, 1, &m_result), m_second);
    EXPECT_EQ(m_result, ResultTypeOk);

    for (int index : {-1, 1}) {
        EXPECT_EQ(GetRelation(m_tag, index, &m_result), 0) << index;
        EXPECT_EQ(m_result, ResultTypeFail) << index;
    }
    for (int index : {-1, 2}) {
        EXPECT_EQ(RelationGetReference(m_tag, relation, index, &m_result), 0) << index;
        EXPECT_EQ(m_result, ResultTypeFail) << index;
    }
    EXPECT_EQ(RelationGetType(m_tag, m_first, &m_result), RelationType());
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "a reference is no relation";
}

TEST_F(RelationApiTest, RefusedCombinationFailsWithChecksOnAndOff)
{
    for (bool checks : {true, false}) {
        OptionSetCheckArguments(m_tag, checks, nullptr);
        EXPECT_EQ(Create(RelationTypeParallel, {m_first, m_first}), 0) << checks;
        EXPECT_EQ(m_result, ResultTypeFail) << checks;
        EXPECT_EQ(Create(RelationTypeDistance, {m_first}), 0) << checks;
        EXPECT_EQ(m_result, ResultTypeFail) << checks;
    }
    EXPECT_EQ(GetRelationCount(m_tag, &m_result), 0);
    OptionSetCheckArguments(m_tag, true, nullptr);
    EXPECT_EQ(Create(RelationTypeDistance, {m_first, m_tag}), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(RelationApiTest, ValuesAreMeasuredSetAndRolledBack)
{
    const int relation = Create(RelationTypeDistance, {m_first, m_plane});
    ASSERT_EQ(m_result, ResultTypeOk);
    const double measured = RelationGetValue(m_tag, relation, &m_result);
    EXPECT_NEAR(measured, 10.0, 1e-9);
    const int mark = CreateMark(m_tag, &m_result);
    RelationSetValue(m_tag, relation, 7.5, &m_result);
    EXPECT_EQ(RelationGetValue(m_tag, relation, &m_result), 7.5);
    RollToMark(m_tag, mark, &m_result);
    EXPECT_EQ(RelationGetValue(m_tag, relation, &m_result), measured);
}

TEST_F(RelationApiTest, SubtypesAreRefusedByRangeAndByGeometry)
{
    const int relation = Create(RelationTypeDistance, {m_first, m_plane});
    RelationSetSubtype(m_tag, relation, m_plane, RelationSubtypeCentre, true, &m_result);
    EXPECT_EQ(m_result, ResultTypeNotSupported) << "a plane has no centre";
    RelationSetSubtype(m_tag, relation, m_plane, static_cast<RelationSubtype>(3), false, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(RelationGetSubtype(m_tag, relation, m_plane, &m_result), RelationSubtypeBoundary);
    RelationSetSubtype(m_tag, relation, m_plane, RelationSubtypeBoundary, false, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
}

// A number that names no type or subtype is refused before it is held as one, checks on or off,
// and leaves the relations as they were.
TEST_F(RelationApiTest, NumbersThatNameNoTypeOrSubtypeAreRefusedWithChecksOnAndOff)
{
    const int relation = Create(RelationTypeDistance, {m_first, m_plane});
    ASSERT_EQ(m_result, ResultTypeOk);
    for (bool checksOn : {true, false}) {
        OptionSetCheckArguments(m_tag, checksOn, nullptr);
        for (int number : {9, -1, 99}) {
            RelationSetSubtype(m_tag, relation, m_plane, static_cast<RelationSubtype>(number), false, &m_result);
            EXPECT_EQ(m_result, ResultTypeBadArgument) << number;
            EXPECT_EQ(Create(static_cast<RelationType>(number == 9 ? 99 : number), {m_first, m_second}), 0);
            EXPECT_EQ(m_result, ResultTypeBadArgument) << number;
        }
        EXPECT_EQ(RelationGetSubtype(m_tag, relation, m_plane, &m_result), RelationSubtypeBoundary);
        EXPECT_EQ(GetRelationCount(m_tag, &m_result), 1);
    }
}

TEST_F(RelationApiTest, ApplicationIdentifierIsCopiedAndANullOneJournalledAsNull)
{
    const int relation = Create(RelationTypeFixed, {m_plane});
    std::string text = "bolt-7";
    RelationSetApplicationIdentifier(m_tag, relation, text.c_str(), &m_result);
    text = "changed";
    EXPECT_STREQ(RelationGetApplicationIdentifier(m_tag, relation, &m_result), "bolt-7");

    OpenJournalFile();
    RelationSetApplicationIdentifier(m_tag, relation, nullptr, &m_result);
    EXPECT_EQ(RelationGetApplicationIdentifier(m_tag, relation, &m_result), nullptr);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Attribute(Argument(records[0], "appIdentifier"), "isNull"), "true");
    EXPECT_EQ(Attribute(records[1].GetChild("ReturnValue"), "isNull"), "true");
}

}  // namespace
}  // namespace testing
}  // namespace QEL
