// Lookups by tag: only registered objects of the asking interaction answer.
#include "InteractionFixture.h"

#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

namespace QEL {
namespace testing {
namespace {

using TagManagerTest = InteractionTest;

TEST_F(TagManagerTest, TagOfAnObjectFindsItWithItsClass)
{
    Instance* instance = PlaceBlock();
    TestReference* reference = TestReference::Create(m_interaction, FirstFace(m_block), instance);
    TagManager* tags = m_interaction->GetTagManager();

    EXPECT_EQ(tags->FindTaggedEntityFromTag(instance->GetTag()), instance);
    EXPECT_EQ(tags->FindInstanceFromTag(instance->GetTag()), instance);
    EXPECT_EQ(tags->FindReferenceFromTag(reference->GetTag()), reference);
    EXPECT_EQ(tags->FindInstanceFromTag(reference->GetTag()), nullptr);
    EXPECT_EQ(tags->FindRelationFromTag(instance->GetTag()), nullptr);
    EXPECT_EQ(instance->FindReferenceFromTag(reference->GetTag()), reference);
    EXPECT_EQ(TagManager::FindInteractionFromTag(m_interaction->GetTag()), m_interaction);
}

TEST_F(TagManagerTest, TagsThatNameNoRegisteredObjectAnswerNull)
{
    TagManager* tags = m_interaction->GetTagManager();
    const int face = FirstFace(m_block);
    EXPECT_EQ(tags->FindTaggedEntityFromTag(0), nullptr);
    EXPECT_EQ(tags->FindTaggedEntityFromTag(face), nullptr);
    EXPECT_EQ(tags->FindTaggedEntityFromTag(m_block), nullptr);
    EXPECT_EQ(tags->FindTaggedEntityFromTag(m_interaction->GetTag()), nullptr);
    EXPECT_EQ(TagManager::FindInteractionFromTag(face), nullptr);
    EXPECT_EQ(m_interaction->FindTaggedEntityById(0), nullptr);
}

// A mark's tag points at its rollback state and a tracking record's tag at the record: neither
// may be read as a toolkit object.
TEST_F(TagManagerTest, MarkAndTrackingRecordTagsResolveToNull)
{
    PlaceBlock();
    const int mark = m_interaction->CreateMark();
    TrackingData* record =
        TrackingData::CreateQELData(m_interaction->GetTrackingManager(), TrackingDataTypeCreate);
    TagManager* tags = m_interaction->GetTagManager();

    for (int tag : {mark, record->GetTag()}) {
        ASSERT_TRUE(IsLiveApplicationItem(tag));
        EXPECT_EQ(tags->FindTaggedEntityFromTag(tag), nullptr);
        EXPECT_EQ(tags->FindInstanceFromTag(tag), nullptr);
        EXPECT_EQ(tags->FindReferenceFromTag(tag), nullptr);
        EXPECT_EQ(TagManager::FindInteractionFromTag(tag), nullptr);
    }
    TrackingManager* tracking = m_interaction->GetTrackingManager();
    EXPECT_EQ(tracking->FindTrackingDataFromTag(record->GetTag()), record);
    EXPECT_EQ(tracking->FindTrackingDataFromTag(mark), nullptr);
    EXPECT_TRUE(m_interaction->IsKnownObject(m_interaction->GetMarkByTag(mark)));
    EXPECT_TRUE(m_interaction->IsKnownObject(record));
}

TEST_F(TagManagerTest, ForeignInteractionObjectIsNotFound)
{
    Interaction* other = new Interaction(CreateTypeLive);
    Instance* foreign = Instance::Create(other, brennik::build::Block(), nullptr);

    EXPECT_EQ(m_interaction->GetTagManager()->FindTaggedEntityFromTag(foreign->GetTag()), nullptr);
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(foreign->GetTag()), nullptr);
    EXPECT_FALSE(m_interaction->IsKnownObject(foreign));
    Instance* mine = PlaceBlock();
    EXPECT_EQ(mine->GetObjectFromTag(foreign->GetTag()), foreign);
    EXPECT_EQ(mine->FindInstanceFromTag(foreign->GetTag()), nullptr);
    other->Destroy();
}

TEST_F(TagManagerTest, DestroyedObjectAnswersNullUntilRollbackBringsItBack)
{
    Instance* instance = PlaceBlock();
    const int tag = instance->GetTag();
    const int mark = m_interaction->CreateMark();

    instance->Destroy();
    // The mark's action keeps it in memory, but its tag no longer finds it.
    EXPECT_TRUE(IsLiveApplicationItem(tag));
    EXPECT_EQ(m_interaction->GetTagManager()->FindTaggedEntityFromTag(tag), nullptr);
    EXPECT_EQ(m_interaction->GetInstanceCount(), 0);

    m_interaction->RollToMark(mark);
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(tag), instance);
    EXPECT_EQ(m_interaction->GetInstance(0), instance);
}

TEST_F(TagManagerTest, ClearedRegistryKeepsInteractionsAndTheirObjects)
{
    Instance* instance = PlaceBlock();
    TagManager::ClearInteractions();
    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    EXPECT_EQ(TagManager::FindInteractionFromTag(m_interaction->GetTag()), nullptr);
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(instance->GetTag()), instance);
    TagManager::RegisterInteraction(m_interaction);
}

TEST_F(TagManagerTest, DuplicateIdsAreRenumberedAboveTheLargest)
{
    Instance* first = PlaceBlock();
    Instance* second = PlaceBlock();
    Instance* third = PlaceBlock();
    first->SetEntityId(7);
    second->SetEntityId(7);
    third->SetEntityId(3);

    EXPECT_EQ(m_interaction->FixEntityIdsAfterLoad(5), 8);
    EXPECT_EQ(first->GetEntityId(), 7);
    EXPECT_EQ(second->GetEntityId(), 8);
    EXPECT_EQ(m_interaction->GetEntityIdCounter(), 8);
    EXPECT_EQ(m_interaction->FindTaggedEntityById(8), second);

    m_interaction->FixEntityIdsAfterLoad(20);
    EXPECT_EQ(m_interaction->GetEntityIdCounter(), 20);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
