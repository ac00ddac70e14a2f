// Change tracking: what a tracked call reports, how long it is kept, and the records made
// from kernel and add-on track records.
#include "../objects/InteractionFixture.h"

#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

#include <hxr.h>

#include <algorithm>

namespace QEL {
namespace testing {
namespace {

class TrackingTest : public InteractionTest {
protected:
    TrackingManager& Manager() { return *m_interaction->GetTrackingManager(); }

    // The one toolkit record that names the tag, old or new; fails when there is not exactly one.
    TrackingData* QELDataFor(int tag)
    {
        TrackingData* found = nullptr;
        int count = 0;
        for (TrackingData* data : Manager().GetQELData()) {
            const auto& olds = data->GetOldTags();
            const auto& news = data->GetNewTags();
            if (std::count(olds.begin(), olds.end(), tag) + std::count(news.begin(), news.end(), tag)) {
                found = data;
                ++count;
            }
        }
        EXPECT_EQ(count, 1) << "records naming tag " << tag;
        return found;
    }
};

TEST_F(TrackingTest, TrackedCallReportsCreatedChangedAndDeletedInstances)
{
    Instance* moved = PlaceBlock();
    Instance* doomed = PlaceBlock();
    PlaceBlock();  // untouched in the call, so not among the three records
    const int doomedTag = doomed->GetTag();
    const int marksBefore = m_interaction->GetMarkCount();

    Manager().BeginCall(true, true);
    EXPECT_NE(Manager().GetCallMark(), 0);
    Instance* created = PlaceBlock();
    moved->SetXform(Translation(5, 0, 0));
    moved->SetXform(Translation(6, 0, 0));  // a second change of the same object is one record
    doomed->Destroy();
    Manager().EndCall();

    ASSERT_EQ(Manager().GetQELData().size(), 3u);
    EXPECT_TRUE(Manager().GetBrennikLabelData().empty());
    EXPECT_TRUE(Manager().GetBrennikMapData().empty());
    EXPECT_TRUE(Manager().GetQELUpdateData().empty());

    TrackingData* createdData = QELDataFor(created->GetTag());
    ASSERT_NE(createdData, nullptr);
    EXPECT_EQ(createdData->GetType(), TrackingDataTypeCreate);
    EXPECT_TRUE(createdData->GetOldTags().empty());
    EXPECT_EQ(createdData->GetNewTags(), std::vector<int>{created->GetTag()});

    TrackingData* movedData = QELDataFor(moved->GetTag());
    ASSERT_NE(movedData, nullptr);
    EXPECT_EQ(movedData->GetType(), TrackingDataTypeModify);
    EXPECT_EQ(movedData->GetOldTags(), std::vector<int>{moved->GetTag()});
    EXPECT_EQ(movedData->GetNewTags(), std::vector<int>{moved->GetTag()});
    EXPECT_EQ(Manager().FindDataByOldTag(moved->GetTag()), movedData);

    TrackingData* deletedData = QELDataFor(doomedTag);
    ASSERT_NE(deletedData, nullptr);
    EXPECT_EQ(deletedData->GetType(), TrackingDataTypeDelete);
    EXPECT_EQ(deletedData->GetOldTags(), std::vector<int>{doomedTag});
    EXPECT_TRUE(deletedData->GetNewTags().empty());
    EXPECT_EQ(Manager().FindDataByOldTag(doomedTag), deletedData);

    for (TrackingData* data : Manager().GetQELData())
        EXPECT_EQ(Manager().FindTrackingDataFromTag(data->GetTag()), data);
    // The call's mark served only the call.
    EXPECT_EQ(m_interaction->GetMarkCount(), marksBefore);
    EXPECT_EQ(Manager().GetCallMark(), 0);
}

TEST_F(TrackingTest, ChangesBeforeTheMarkAndObjectsBornAndGoneInTheCallAreNotReported)
{
    Instance* before = PlaceBlock();
    before->SetXform(Translation(1, 0, 0));

    Manager().BeginCall(true, true);
    PlaceBlock()->Destroy();
    Manager().EndCall();

    EXPECT_TRUE(Manager().GetQELData().empty());
}

TEST_F(TrackingTest, ChangesAreKeptUntilTheNextCallThatClears)
{
    Manager().BeginCall(true, true);
    Instance* instance = PlaceBlock();
    Manager().EndCall();
    ASSERT_EQ(Manager().GetQELData().size(), 1u);
    const int dataTag = Manager().GetQELData()[0]->GetTag();
    EXPECT_TRUE(IsLiveApplicationItem(dataTag));

    // A query neither clears nor tracks: the application reads the previous call's data.
    Manager().BeginCall(false, false);
    EXPECT_EQ(Manager().GetCallMark(), 0);
    ASSERT_NE(Manager().FindTrackingDataFromTag(dataTag), nullptr);
    EXPECT_EQ(Manager().FindTrackingDataFromTag(dataTag)->GetNewTags(),
              std::vector<int>{instance->GetTag()});
    Manager().EndCall();

    // The next non-query call drops them, tags and all, and reports only its own change.
    Manager().BeginCall(true, true);
    EXPECT_EQ(Manager().FindTrackingDataFromTag(dataTag), nullptr);
    EXPECT_FALSE(IsLiveApplicationItem(dataTag));
    EXPECT_EQ(Manager().FindDataByOldTag(instance->GetTag()), nullptr);
    instance->Destroy();
    Manager().EndCall();
    ASSERT_EQ(Manager().GetQELData().size(), 1u);
    EXPECT_EQ(Manager().GetQELData()[0]->GetType(), TrackingDataTypeDelete);
}

// An application callback may make exported calls while an outer call runs (a feature
// procedure filling its data during a drag step): the outer call must still report its own
// changes and leave no mark behind.
TEST_F(TrackingTest, NestedCallsBelongToTheOuterCall)
{
    const int marksBefore = m_interaction->GetMarkCount();
    Manager().BeginCall(true, true);
    PlaceBlock();
    Manager().BeginCall(true, true);
    PlaceBlock();
    Manager().EndCall();
    EXPECT_TRUE(Manager().GetQELData().empty());
    PlaceBlock();
    Manager().EndCall();
    EXPECT_EQ(Manager().GetQELData().size(), 3u);
    EXPECT_EQ(m_interaction->GetMarkCount(), marksBefore);
}

TEST_F(TrackingTest, UntrackedCallOrDisabledRollbackCollectsNothing)
{
    Manager().BeginCall(true, false);
    EXPECT_FALSE(Manager().IsTrackingThisCall());
    EXPECT_EQ(Manager().GetCallMark(), 0);
    PlaceBlock();
    Manager().EndCall();
    EXPECT_TRUE(Manager().GetQELData().empty());

    m_interaction->DisableRollback();
    const int marksBefore = m_interaction->GetMarkCount();
    Manager().BeginCall(true, true);
    EXPECT_EQ(Manager().GetCallMark(), 0);
    PlaceBlock();
    Manager().EndCall();
    EXPECT_TRUE(Manager().GetQELData().empty());
    EXPECT_EQ(m_interaction->GetMarkCount(), marksBefore);
}

TEST_F(TrackingTest, OnlyModelObjectTypesAreReported)
{
    const struct {
        ObjectType type;
        bool reported;
    } cases[] = {
        {ObjectTypeUnknown, false},
        {ObjectTypeInteraction, false},
        {ObjectTypeReference, true},
        {ObjectTypeMappingData, false},
        {ObjectTypeReorderBlendsOptions, false},
        {ObjectTypeOffsetFacesOptions, false},
        {ObjectTypeUserDefinedFacePattern, true},
        {ObjectTypeFeatureProcedureData, false},
        {ObjectTypeFoundData, true},
        {ObjectTypeTaperOptions, true},
        {ObjectTypeMakeFeatureOptions, true},
        {ObjectTypeReplaceFacesWithSheetOptions, false},
        {ObjectTypeBodyIsPasteToolOptions, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        Manager().BeginCall(true, true);
        TestReference* reference = TestReference::Create(m_interaction, FirstFace(m_block), nullptr);
        const ObjectType own = reference->GetType();
        reference->SetType(c.type);
        Manager().EndCall();
        reference->SetType(own);
        ASSERT_EQ(Manager().GetQELData().size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(Manager().GetQELData()[0]->GetNewTags(), std::vector<int>{reference->GetTag()});
        }
        reference->Destroy();
    }
}

TEST_F(TrackingTest, TrackRecordsGiveKindAndRegisteredOldTags)
{
    int originals[] = {30, 10, 20};
    int products[] = {40};
    const struct {
        int code;
        bool addOn;
        TrackingDataType type;
    } cases[] = {
        {HXR_TRACK_delete, true, TrackingDataTypeDelete},
        {HXR_TRACK_merge, true, TrackingDataTypeMerge},
        {HXR_TRACK_create, true, TrackingDataTypeCreate},
        {HXR_TRACK_split, true, TrackingDataTypeSplit},
        {HXR_TRACK_derive, true, TrackingDataTypeDerive},
        {HXR_TRACK_modify, true, TrackingDataTypeModify},
        {12345, true, TrackingDataTypeNone},
        {BQ_TOPOL_track_delete, false, TrackingDataTypeDelete},
        {BQ_TOPOL_track_merge, false, TrackingDataTypeMerge},
        {BQ_TOPOL_track_create, false, TrackingDataTypeCreate},
        {BQ_TOPOL_track_split, false, TrackingDataTypeSplit},
        {BQ_TOPOL_track_derive, false, TrackingDataTypeDerive},
        {HXR_TRACK_modify, false, TrackingDataTypeNone},  // the kernel has no modify code
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Manager().ClearData();
        TrackingData* data = TrackingData::CreateBrennikMapData(&Manager(), TrackingDataTypeNone);
        if (c.addOn) {
            HXR_ENTITY_track_record_r_s record{c.code, HXR_TRACK_FORM_map, 3, originals, 1, products};
            data->AddHXRTrackRecord(record);
        } else {
            BQ_TOPOL_track_record_r_t record{c.code, 3, originals, 1, products};
            data->AddBQTrackRecord(record);
        }
        EXPECT_EQ(data->GetType(), c.type);
        EXPECT_EQ(data->GetOldTags(), (std::vector<int>{30, 10, 20}));
        EXPECT_EQ(data->GetNewTags(), std::vector<int>{40});
        EXPECT_EQ(Manager().FindDataByOldTag(10), data);
        EXPECT_EQ(Manager().FindDataByOldTag(40), nullptr);  // new tags are not registered
    }
}

TEST_F(TrackingTest, AllTagsIsTheSortedUnionWithoutRepeats)
{
    TrackingData* data = TrackingData::CreateQELData(&Manager(), TrackingDataTypeSplit);
    for (int tag : {7, 3, 7})
        data->AddOldTag(tag);
    for (int tag : {5, 3, 9, 5})
        data->AddNewTag(tag);
    std::vector<int> all{99};
    data->GetAllTags(all);
    EXPECT_EQ(all, (std::vector<int>{3, 5, 7, 9}));
    EXPECT_EQ(data->GetOldTags(), (std::vector<int>{3, 7, 7}));
}

TEST_F(TrackingTest, TagLookupsTellRecordsFromOtherItems)
{
    TrackingData* data = TrackingData::CreateQELData(&Manager(), TrackingDataTypeNone);
    Instance* instance = PlaceBlock();

    EXPECT_EQ(Manager().GetTrackingDataFromTag(data->GetTag()), data);
    EXPECT_EQ(Manager().GetTrackingDataFromTag(FirstFace(m_block)), nullptr);
    EXPECT_EQ(Manager().FindTrackingDataFromTag(FirstFace(m_block)), nullptr);
    // Another object's item: the raw pointer comes back, the checked lookup refuses it.
    EXPECT_EQ(static_cast<void*>(Manager().GetTrackingDataFromTag(instance->GetTag())),
              static_cast<void*>(static_cast<TaggedEntity*>(instance)));
    EXPECT_EQ(Manager().FindTrackingDataFromTag(instance->GetTag()), nullptr);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
