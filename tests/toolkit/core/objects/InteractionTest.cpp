// The interaction's life cycle, options, application data and cached solution data.
#include "InteractionFixture.h"

#include "core/objects/SolutionChangeData.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "update/pass/UpdateManager.h"

#include <functional>

namespace QEL {
namespace testing {
namespace {

using InteractionLifeTest = InteractionTest;

TEST_F(InteractionLifeTest, DestroyLeavesNoObjectsPartitionOrApplicationItemsBehind)
{
    Instance* instance = PlaceBlock();
    TestReference::Create(m_interaction, FirstFace(m_block), instance);
    TestReference* loose = TestReference::Create(m_interaction, FirstVertex(m_block), nullptr);
    const int firstMark = m_interaction->CreateMark();
    loose->Destroy();  // kept alive by the mark
    const int secondMark = m_interaction->CreateMark();
    TrackingData* record =
        TrackingData::CreateQELData(m_interaction->GetTrackingManager(), TrackingDataTypeCreate);

    std::vector<int> items{m_interaction->GetTag(), instance->GetTag(), firstMark, secondMark,
                           record->GetTag()};
    for (TaggedEntity* entity : m_interaction->GetTagManager()->GetTaggedEntities())
        items.push_back(entity->GetTag());
    const int partition = m_interaction->GetQELPartition();
    const int interactionTag = m_interaction->GetTag();
    EXPECT_EQ(TestReference::s_live, 2);

    DestroyInteraction();

    EXPECT_EQ(TestReference::s_live, 0);
    for (int tag : items)
        EXPECT_FALSE(IsLiveApplicationItem(tag)) << tag;
    bool isPartition = true;
    EXPECT_EQ(BQ_PARTITION_is(partition, &isPartition), BQ_ERROR_no_errors);
    EXPECT_FALSE(isPartition);
    EXPECT_EQ(TagManager::FindInteractionFromTag(interactionTag), nullptr);
    EXPECT_EQ(TagManager::GetInteractionCount(), 0);
    // The bodies the interaction worked on are the application's and stay.
    bool isEntity = false;
    BQ_ENTITY_is(m_block, &isEntity);
    EXPECT_TRUE(isEntity);
}

TEST_F(InteractionLifeTest, InteractionWithRunningOperationAndUpdateManagerIsFreed)
{
    m_interaction->SetCurrentSolverOperation(new TestOperation());
    m_interaction->CreateUpdateManager();
    EXPECT_NE(m_interaction->GetUpdateManager(), nullptr);
    DestroyInteraction();
}

// Released without Destroy, the interaction still owns its rollback manager when its
// destructor runs: destroying its objects must record nothing (an action would take a
// reference on the interaction being deleted), and the holders freed after the manager
// report their deletion to an interaction that no longer points at it.
TEST_F(InteractionLifeTest, InteractionReleasedWithItsRollbackManagerFreesCleanly)
{
    m_interaction->DisableRollback();
    Instance* instance = PlaceBlock();
    TestReference::Create(m_interaction, FirstFace(m_block), instance);
    m_interaction->EnableRollback();
    SolutionChangeData data;
    data.SetEntityRadius(1, 1.0);
    m_interaction->SetCachedSolutionChangeData(data);
    ASSERT_NE(m_interaction->GetRollbackManager(), nullptr);
    ASSERT_EQ(m_interaction->GetRefCount(), 1);

    m_interaction->Release();
    m_interaction = nullptr;
    EXPECT_EQ(TestReference::s_live, 0);
}

TEST_F(InteractionLifeTest, NewInteractionTakesTheProcessWideDefaults)
{
    auto procedure = [](int, int, int, int&, int&, ResultType&) {};
    Interaction::SetCheckArgumentsDefault(false);
    Interaction::SetDefaultFeatureProcedureCallback(procedure);
    Interaction* other = new Interaction(CreateTypeLive);
    Interaction::SetCheckArgumentsDefault(true);
    Interaction::SetDefaultFeatureProcedureCallback(nullptr);

    EXPECT_FALSE(other->GetCheckArguments());
    EXPECT_EQ(other->GetFeatureProcedureCallback(), procedure);
    EXPECT_TRUE(m_interaction->GetCheckArguments());
    EXPECT_EQ(m_interaction->GetFeatureProcedureCallback(), nullptr);
    other->Destroy();
}

// The three options that change a running edit are refused while a solver operation is current.
struct RefusedSetter {
    const char* name;
    std::function<ResultType(Interaction&)> set;
    std::function<bool(Interaction&)> isDefault;
};

void PrintTo(const RefusedSetter& setter, std::ostream* out) { *out << setter.name; }

class DragActiveTest : public InteractionTest, public ::testing::WithParamInterface<RefusedSetter> {};

TEST_P(DragActiveTest, SetterIsRefusedAndChangesNothing)
{
    m_interaction->SetCurrentSolverOperation(new TestOperation());
    const int mark = m_interaction->CreateMark();
    EXPECT_EQ(GetParam().set(*m_interaction), ResultTypeDragActive);
    EXPECT_TRUE(GetParam().isDefault(*m_interaction));
    bool atMark = false;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    EXPECT_TRUE(atMark);
}

TEST_P(DragActiveTest, SetterWorksWithoutOperation)
{
    EXPECT_EQ(GetParam().set(*m_interaction), ResultTypeOk);
    EXPECT_FALSE(GetParam().isDefault(*m_interaction));
}

INSTANTIATE_TEST_SUITE_P(
    Options, DragActiveTest,
    ::testing::Values(
        RefusedSetter{"ExactDragging", [](Interaction& i) { return i.SetExactDragging(false); },
                      [](Interaction& i) { return i.GetExactDragging(); }},
        RefusedSetter{"ModellingTolerance",
                      [](Interaction& i) { return i.SetModellingTolerance(1e-4); },
                      [](Interaction& i) { return i.GetModellingTolerance() == 1e-6; }},
        RefusedSetter{"StepFaceType",
                      [](Interaction& i) { return i.SetStepFaceType(StepFaceOnAllEdges); },
                      [](Interaction& i) { return i.GetStepFaceType() == StepFaceOff; }}),
    [](const ::testing::TestParamInfo<RefusedSetter>& info) { return info.param.name; });

TEST_F(InteractionLifeTest, UnchangedValueKeepsTheInteractionAtItsMark)
{
    const int mark = m_interaction->CreateMark();
    m_interaction->SetPreviewMode(PreviewModeOff);
    EXPECT_EQ(m_interaction->SetExactDragging(true), ResultTypeOk);
    EXPECT_EQ(m_interaction->SetModellingTolerance(1e-6), ResultTypeOk);
    m_interaction->SetCheckArguments(true);
    bool atMark = false;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    EXPECT_TRUE(atMark);

    m_interaction->SetPreviewMode(PreviewModeAlways);
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    EXPECT_FALSE(atMark);
}

TEST_F(InteractionLifeTest, RollbackRestoresExactDraggingButNotStepFaceType)
{
    m_interaction->SetStepFaceType(StepFaceOnAllEdges);
    m_interaction->SetExactDragging(false);
    m_interaction->SetDelayAddDCalls(false);
    const int mark = m_interaction->CreateMark();
    m_interaction->SetStepFaceType(StepFaceOff);
    m_interaction->SetExactDragging(true);
    m_interaction->SetDelayAddDCalls(true);
    m_interaction->RollToMark(mark);

    EXPECT_EQ(m_interaction->GetStepFaceType(), StepFaceOff);
    EXPECT_TRUE(m_interaction->GetDelayAddDCalls());
    EXPECT_FALSE(m_interaction->GetExactDragging());
}

TEST_F(InteractionLifeTest, RestoreDiscardsTheUpdateManagerOnlyWithoutOperation)
{
    const int mark = m_interaction->CreateMark();
    m_interaction->CreateUpdateManager();
    m_interaction->SetPreviewMode(PreviewModeAlways);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(m_interaction->GetUpdateManager(), nullptr);

    m_interaction->CreateUpdateManager();
    m_interaction->SetCurrentSolverOperation(new TestOperation());
    m_interaction->SetPreviewMode(PreviewModeAlways);
    m_interaction->RollToMark(mark);
    EXPECT_NE(m_interaction->GetUpdateManager(), nullptr);
}

TEST_F(InteractionLifeTest, AppFeaturesAreListedAscendingAndReplacedWhole)
{
    m_interaction->SetAppData(30, "depth", 1.5);
    m_interaction->SetAppData(10, "width", 2.0);
    m_interaction->SetAppData(20, "height", 3.0);
    Array<int> features;
    m_interaction->GetAppFeatures(features);
    EXPECT_EQ(std::vector<int>(GetArrayVector(features)), (std::vector<int>{10, 20, 30}));

    m_interaction->ReplaceAppFeature(10, 20);
    double value = 0.0;
    EXPECT_FALSE(m_interaction->GetAppData(10, "width", value));
    EXPECT_FALSE(m_interaction->GetAppData(20, "height", value));
    EXPECT_TRUE(m_interaction->GetAppData(20, "width", value));
    EXPECT_EQ(value, 2.0);
    EXPECT_FALSE(m_interaction->GetAppData(20, nullptr, value));
}

TEST_F(InteractionLifeTest, SeenBodiesSkipDeadBodiesUnlessAsked)
{
    const int second = brennik::build::Block(1.0, 1.0, 1.0);
    m_interaction->AddSeenBody(m_block);
    m_interaction->AddSeenBody(second);
    BQ_ENTITY_delete(1, &second);
    std::vector<int> live;
    std::vector<int> all;
    m_interaction->GetSeenBodies(live, false);
    m_interaction->GetSeenBodies(all, true);
    EXPECT_EQ(live, std::vector<int>{m_block});
    EXPECT_EQ(all, (std::vector<int>{m_block, second}));
}

TEST_F(InteractionLifeTest, SolutionRecordOfOneValueSetsOnlyItsFlag)
{
    SolutionChangeData data;
    data.SetEntityRadius(42, 2.5);
    const EntitySolutionChange* change = data.FindEntityChange(42);
    ASSERT_NE(change, nullptr);
    EXPECT_TRUE(change->HasRadius());
    EXPECT_FALSE(change->HasTransform() || change->HasMinorRadius() || change->HasReblend() ||
                 change->HasHalfAngle());
    EXPECT_TRUE(change->GetTransform().IsIdentity());
    EXPECT_EQ(change->GetRadius(), 2.5);
}

TEST_F(InteractionLifeTest, RollbackRestoresTheCachedSolutionData)
{
    SolutionChangeData atMark;
    atMark.SetEntityTransform(7, Translation(1.0, 0.0, 0.0));
    m_interaction->SetCachedSolutionChangeData(atMark);
    const int mark = m_interaction->CreateMark();

    SolutionChangeData later;
    later.SetEntityHalfAngle(8, 0.5);
    m_interaction->SetCachedSolutionChangeData(later);
    m_interaction->RollToMark(mark);

    SolutionChangeData copy;
    EXPECT_TRUE(m_interaction->GetCopyOfCachedSolutionChangeData(copy));
    EXPECT_TRUE(copy == atMark);
    EXPECT_EQ(copy.FindEntityChange(8), nullptr);
}

TEST_F(InteractionLifeTest, SnapshotInteractionHasNoSolutionDataHolder)
{
    Interaction* snapshot = dynamic_cast<Interaction*>(m_interaction->Clone());
    ASSERT_NE(snapshot, nullptr);
    SolutionChangeData copy;
    EXPECT_FALSE(snapshot->GetCopyOfCachedSolutionChangeData(copy));
    EXPECT_EQ(snapshot->GetTag(), 0);
    EXPECT_EQ(snapshot->GetRollbackManager(), nullptr);
    EXPECT_EQ(snapshot->GetTagManager(), nullptr);
    snapshot->Release();
}

}  // namespace
}  // namespace testing
}  // namespace QEL
