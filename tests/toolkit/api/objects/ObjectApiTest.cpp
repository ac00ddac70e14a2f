// The instance, object, reference, mark and change-tracking calls as an application makes
// them: through the exported functions, with checks on, over a block from the fixture builders.
#include "../../core/frame/ApiTestFixture.h"

#include "api/model/QelInstanceApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelObjectApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelTrackingApi.h"
#include "core/objects/Instance.h"
#include "core/kernel/KernelFacade.h"
#include "core/calls/QelInteractionApi.h"
#include "core/tracking/TrackingManager.h"

#include <set>

namespace QEL {
namespace testing {
namespace {

const double kMoved[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, -2}, {7, 7, 7, 7}};

class ObjectApiTest : public ApiTest {
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
    }
    int m_tag = 0;
    int m_block = 0;
    int m_face = 0;
    ResultType m_result = ResultTypeOk;
};

TEST_F(ObjectApiTest, DestroyingTheFirstInstanceShiftsTheOthersAndTakesItsReferences)
{
    const int first = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int second = CreateInstance(m_tag, m_block, kMoved, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(InstanceGetBody(m_tag, first, &m_result), InstanceGetBody(m_tag, second, &m_result));
    EXPECT_EQ(GetInstance(m_tag, 1, &m_result), second);
    EXPECT_EQ(GetInstance(m_tag, 2, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);
    const int onFirst = CreateReference(m_tag, m_face, first, &m_result);
    const int onSecond = CreateReference(m_tag, m_face, second, &m_result);
    EXPECT_NE(onFirst, onSecond);

    DestroyObject(m_tag, onFirst, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "references go with their instance only";
    DestroyObject(m_tag, first, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetInstanceCount(m_tag, &m_result), 1);
    EXPECT_EQ(GetInstance(m_tag, 0, &m_result), second);
    Array<int> references;
    EXPECT_EQ(GetReferences(m_tag, &references, &m_result), 1);
    EXPECT_EQ(references[0], onSecond);

    // The last row of a matrix is not read; the one handed back is (0, 0, 0, 1).
    double back[4][4] = {};
    InstanceGetTransform(m_tag, second, back, &m_result);
    EXPECT_EQ(back[0][3], 5.0);
    EXPECT_EQ(back[2][3], -2.0);
    EXPECT_EQ(back[3][0], 0.0);
    EXPECT_EQ(back[3][3], 1.0);
    InstanceGetTransform(m_tag, second, nullptr, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(ObjectApiTest, ReferencesAreOnePerEntityAndInstanceWithOneBehaviourPerEntity)
{
    const int first = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int second = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int reference = CreateReference(m_tag, m_face, first, &m_result);
    EXPECT_EQ(CreateReference(m_tag, m_face, first, &m_result), reference);
    const int other = CreateReference(m_tag, m_face, second, &m_result);
    const int bare = CreateReference(m_tag, m_face, 0, &m_result);
    EXPECT_EQ(GetReferences(m_tag, nullptr, &m_result), 3);
    EXPECT_EQ(ReferenceGetInstance(m_tag, bare, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(ReferenceGetInstance(m_tag, other, &m_result), second);
    EXPECT_EQ(ReferenceGetEntity(m_tag, other, &m_result), m_face);

    EXPECT_EQ(EntityGetBehaviour(m_tag, m_face, &m_result), ReferenceBehaviourModelling);
    ReferenceSetBehaviour(m_tag, reference, ReferenceBehaviourPositioning, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(ReferenceGetBehaviour(m_tag, other, &m_result), ReferenceBehaviourPositioning);
    EXPECT_EQ(EntityGetBehaviour(m_tag, m_face, &m_result), ReferenceBehaviourPositioning);
    std::set<int> faces;
    GetBodyFaces(m_block, faces);
    EXPECT_EQ(EntityGetBehaviour(m_tag, *faces.rbegin(), &m_result), ReferenceBehaviourModelling);
    EXPECT_EQ(m_result, ResultTypeOk);

    const int plane = CreateReference(m_tag, brennik::build::FreePlane(0, 0, 0, 0, 0, 1), 0, &m_result);
    ReferenceSetBehaviour(m_tag, plane, ReferenceBehaviourPositioning, &m_result);
    EXPECT_EQ(m_result, ResultTypeInvalidReferenceBehaviour);
    ReferenceSetBehaviour(m_tag, plane, ReferenceBehaviourModelling, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(CreateReference(m_tag, brennik::build::FreePlane(0, 0, 0, 0, 0, 1), first, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);
}

// A number that names no behaviour or object type is refused, checks on or off; a matrix
// handed back is journalled with no direction, as matrices always are.
TEST_F(ObjectApiTest, NumbersThatNameNoBehaviourOrTypeAreRefusedAndMatricesCarryNoDirection)
{
    const int instance = CreateInstance(m_tag, m_block, kMoved, &m_result);
    const int reference = CreateReference(m_tag, m_face, instance, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    for (bool checksOn : {true, false}) {
        OptionSetCheckArguments(m_tag, checksOn, nullptr);
        for (int number : {7, 0, -1}) {
            ReferenceSetBehaviour(m_tag, reference, static_cast<ReferenceBehaviour>(number), &m_result);
            EXPECT_EQ(m_result, ResultTypeBadArgument) << number;
            EXPECT_EQ(ReferenceGetBehaviour(m_tag, reference, &m_result), ReferenceBehaviourModelling);
        }
        for (int number : {77, -1}) {
            Array<int> objects;
            objects.Add(5);
            EXPECT_EQ(GetObjects(m_tag, static_cast<ObjectType>(number), &objects, &m_result), 0);
            EXPECT_EQ(m_result, ResultTypeBadArgument) << number;
            EXPECT_EQ(objects.GetSize(), 1);
        }
    }

    OpenJournalFile();
    double back[4][4] = {};
    InstanceGetTransform(m_tag, instance, back, &m_result);
    const XMLTreeNode transform = Argument(Records(ReadJournal()).back(), "transform");
    ASSERT_FALSE(transform.IsEmpty());
    EXPECT_EQ(Attribute(transform, "type"), "Transform");
    EXPECT_EQ(Attribute(transform, "argType"), "<absent>");
}

TEST_F(ObjectApiTest, MarksRollInstancesAndReferencesBackAndForward)
{
    const int empty = CreateMark(m_tag, &m_result);
    const int instance = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int reference = CreateReference(m_tag, m_face, instance, &m_result);
    const int placed = CreateMark(m_tag, &m_result);
    ReferenceSetBehaviour(m_tag, reference, ReferenceBehaviourPositioning, &m_result);
    InstanceSetTransform(m_tag, instance, kMoved, &m_result);
    bool atMark = true;
    EXPECT_EQ(GetCurrentMark(m_tag, atMark, &m_result), placed);
    EXPECT_FALSE(atMark);

    RollToMark(m_tag, empty, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetInstanceCount(m_tag, &m_result), 0);
    EXPECT_EQ(GetReferences(m_tag, nullptr, &m_result), 0);
    EXPECT_EQ(EntityGetBehaviour(m_tag, m_face, &m_result), ReferenceBehaviourModelling);

    RollToMark(m_tag, placed, &m_result);
    EXPECT_EQ(GetInstance(m_tag, 0, &m_result), instance);
    Array<int> references;
    EXPECT_EQ(GetReferences(m_tag, &references, &m_result), 1);
    EXPECT_EQ(references[0], reference);
    EXPECT_EQ(ReferenceGetBehaviour(m_tag, reference, &m_result), ReferenceBehaviourModelling);
    EXPECT_EQ(EntityGetBehaviour(m_tag, m_face, &m_result), ReferenceBehaviourModelling)
        << "the reference's kernel group is back";
    double back[4][4] = {};
    InstanceGetTransform(m_tag, instance, back, &m_result);
    EXPECT_EQ(back[0][3], 0.0);
    EXPECT_EQ(GetCurrentMark(m_tag, atMark, &m_result), placed);
    EXPECT_TRUE(atMark);

    EXPECT_EQ(GetMark(m_tag, GetMarkCount(m_tag, &m_result) - 1, &m_result), placed);
    EXPECT_EQ(GetMark(m_tag, GetMarkCount(m_tag, &m_result), &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);
    RollToMark(m_tag, kUnknownTag, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    OptionSetCheckArguments(m_tag, false, nullptr);
    DeleteMark(m_tag, kUnknownTag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetMarkCount(m_tag, &m_result), 2);
}

TEST_F(ObjectApiTest, ChangeRecordsAreAppendedKeptByGettersAndEmptiedBySetters)
{
    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    TrackingManager& manager = *interaction->GetTrackingManager();
    manager.BeginCall(true, true);
    const int instance = Instance::Create(interaction, m_block, nullptr)->GetTag();
    manager.EndCall();

    Array<int> records;
    EXPECT_EQ(TrackingGetQELData(m_tag, &records, &m_result), 1);
    EXPECT_EQ(TrackingGetQELData(m_tag, &records, &m_result), 1);
    ASSERT_EQ(records.GetSize(), 2) << "the list calls append";
    EXPECT_EQ(records[0], records[1]);
    EXPECT_EQ(TrackingDataGetType(m_tag, records[0], &m_result), TrackingDataTypeCreate);
    EXPECT_EQ(TrackingDataGetNewTags(m_tag, records[0], nullptr, &m_result), 1);
    Array<int> newTags;
    TrackingDataGetNewTags(m_tag, records[0], &newTags, &m_result);
    EXPECT_EQ(newTags[0], instance);
    EXPECT_EQ(TrackingDataGetOldTags(m_tag, records[0], nullptr, &m_result), 0);
    TrackingDataGetType(m_tag, m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_TRUE(OptionGetTrackChanges(m_tag, &m_result));
    EXPECT_EQ(TrackingGetBrennikMapData(m_tag, nullptr, &m_result), 0);
    EXPECT_EQ(TrackingGetQELData(m_tag, nullptr, &m_result), 1) << "getters keep the records";

    OptionSetTrackChanges(m_tag, false, &m_result);
    EXPECT_EQ(TrackingGetQELData(m_tag, nullptr, &m_result), 0) << "setters empty them";
    EXPECT_FALSE(OptionGetTrackChanges(m_tag, &m_result));
    OptionSetTrackingMergeCallbackData(m_tag, true, &m_result);
    OptionSetTrackingReportUpdateData(m_tag, true, &m_result);
    EXPECT_TRUE(OptionGetTrackingMergeCallbackData(m_tag, &m_result));
    EXPECT_TRUE(OptionGetTrackingReportUpdateData(m_tag, &m_result));
}

TEST_F(ObjectApiTest, ObjectsAreListedTypedAndCarryApplicationData)
{
    const int instance = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int reference = CreateReference(m_tag, m_face, instance, &m_result);
    EXPECT_EQ(GetObjectType(m_tag, m_tag, &m_result), ObjectTypeInteraction);
    EXPECT_EQ(GetObjectType(m_tag, reference, &m_result), ObjectTypeReference);
    Array<int> objects;
    objects.Add(99);
    EXPECT_EQ(GetObjects(m_tag, ObjectTypeInstance, &objects, &m_result), 1);
    EXPECT_EQ(objects.GetSize(), 1);
    EXPECT_EQ(GetAllObjects(m_tag, &objects, &m_result), 2);
    EXPECT_LT(objects[0], objects[1]);
    EXPECT_EQ(GetObjects(m_tag, ObjectTypeInteraction, nullptr, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    const int id = ObjectGetIdentifier(m_tag, reference, &m_result);
    EXPECT_EQ(ObjectFindByIdentifier(m_tag, id, &m_result), reference);
    EXPECT_EQ(ObjectFindByIdentifier(m_tag, 0, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    int word = 0;
    EXPECT_EQ(ObjectGetApplicationData(m_tag, instance, &m_result), nullptr);
    ObjectSetApplicationData(m_tag, instance, &word, &m_result);
    EXPECT_EQ(ObjectGetApplicationData(m_tag, instance, &m_result), &word);
    ObjectSetApplicationData(m_tag, m_tag, &word, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(ObjectApiTest, EachCallIsJournalledUnderItsOwnName)
{
    const int instance = CreateInstance(m_tag, m_block, nullptr, &m_result);
    const int mark = CreateMark(m_tag, &m_result);
    OpenJournalFile();
    EntityGetBehaviour(m_tag, m_face, &m_result);
    ReferenceGetBehaviour(m_tag, CreateReference(m_tag, m_face, instance, &m_result), &m_result);
    RollToMark(m_tag, mark, &m_result);
    DeleteMark(m_tag, mark, &m_result);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 5u);
    const char* names[] = {"EntityGetBehaviour", "CreateReference", "ReferenceGetBehaviour",
                           "RollToMark", "DeleteMark"};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(Attribute(records[i], "name"), names[i]);
        EXPECT_NE(FindApiCall(names[i]), nullptr);
        EXPECT_TRUE(FindApiCall(names[i])->properties->IsReplayable()) << names[i];
    }
    EXPECT_EQ(Attribute(records[0].GetChild("ReturnValue"), "value"), "ReferenceBehaviourModelling");
    EXPECT_FALSE(Argument(records[3], "MarkTag").IsEmpty());
    EXPECT_FALSE(Argument(records[4], "markTag").IsEmpty());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
