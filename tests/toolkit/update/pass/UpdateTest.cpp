// An update through the interaction: the relations are configured once, solved and applied to
// the kernel bodies, or the model is rolled back.
#include "../../solver/SolverFixture.h"

#include "api/edits/QelUpdateApi.h"
#include "core/journal/DebugJournalSwitches.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/features/FeatureProcedureData.h"
#include "model/transaction/MappingData.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/RigidGroup.h"
#include "solver/operations/SolverOperation.h"
#include "update/pass/UpdateManager.h"
#include "update/pass/UpdateTimes.h"

#include <hxr.h>
#include <hxr_test.h>

#include <cstdlib>
#include <string>

namespace QEL {
namespace testing {
namespace {

// The 10 x 20 x 30 block held at Distance(top, bottom) = 30 with its bottom fixed.
class BlockUpdateTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        m_topRef = Reference::Create(m_interaction, m_top, nullptr);
        m_bottomRef = Reference::Create(m_interaction, m_bottom, nullptr);
        m_distance = Relation::CreateBinary(m_interaction, RelationTypeDistance, m_topRef, m_bottomRef);
        ASSERT_NE(m_distance, nullptr);
        ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeFixed, m_bottomRef), nullptr);
        m_faces = BodyFaces(m_block);
        m_interaction->CreateUpdateManager();
        m_manager = m_interaction->GetUpdateManager();
    }
    void TearDown() override
    {
        hxr::test::Reset();
        m_interaction->SetCurrentSolverOperation(nullptr);
        BlockSolverTest::TearDown();
    }
    // The height of the top face in the kernel.
    double TopHeight()
    {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(m_top, &point, &normal);
        return point.z;
    }
    UpdateStatus UpdateDistanceTo(double value)
    {
        SolverEvaluate edit(m_interaction);
        edit.AddRelationWithValue(m_distance, value);
        return m_interaction->Update(&edit);
    }
    // One update of an edit that stays current, as each step of a drag is.
    UpdateStatus Step(SolverEvaluate& edit, double value)
    {
        m_interaction->SetCurrentSolverOperation(&edit);
        edit.SetRelationDragValue(m_distance, value);
        ResultType result = ResultTypeFail;
        const UpdateStatus status = m_manager->DoOperation(&edit, result);
        EXPECT_EQ(result, ResultTypeOk);
        return status;
    }

    Reference* m_topRef = nullptr;
    Reference* m_bottomRef = nullptr;
    Relation* m_distance = nullptr;
    std::vector<int> m_faces;
    UpdateManager* m_manager = nullptr;
};

// The relation-value edit moves the top face in the kernel; the body keeps its faces, and the
// edit leaves no mark, Solver or current operation behind.
TEST_F(BlockUpdateTest, ARelationValueUpdateMovesTheFaceInTheKernelAndKeepsTheFaceTags)
{
    const int marks = m_interaction->GetMarkCount();
    EXPECT_EQ(UpdateDistanceTo(35.0), UpdateApplied);
    EXPECT_NEAR(TopHeight(), 35.0, 1e-9);
    EXPECT_NEAR(brennik::build::Volume(m_block), 10.0 * 20.0 * 35.0, 1e-6);
    EXPECT_EQ(BodyFaces(m_block), m_faces);
    EXPECT_EQ(m_interaction->GetMarkCount(), marks);
    EXPECT_EQ(m_manager->GetSolver(), nullptr);
    EXPECT_EQ(m_manager->GetStartMark(), 0);
    EXPECT_EQ(m_interaction->GetCurrentSolverOperation(), nullptr);
}

// A value the relations forbid: the solve fails, and the model is as it was with no mark left.
TEST_F(BlockUpdateTest, AFailedUpdateLeavesTheBodyEqualAndNoMarkBehind)
{
    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeFixed, m_topRef), nullptr);
    const int before = CopyEntity(m_block);
    const int marks = m_interaction->GetMarkCount();
    EXPECT_EQ(UpdateDistanceTo(35.0), UpdateSolveFailed);
    EXPECT_TRUE(brennik::test::BodiesEqual(m_block, before));
    EXPECT_EQ(m_interaction->GetMarkCount(), marks);
}

// Another edit is current: the update refuses at once.
TEST_F(BlockUpdateTest, AnUpdateWhileAnotherEditIsCurrentChangesNothing)
{
    SolverEvaluate current(m_interaction);
    m_interaction->SetCurrentSolverOperation(&current);
    EXPECT_EQ(UpdateDistanceTo(35.0), UpdateSolveFailed);
    EXPECT_NEAR(TopHeight(), 30.0, 1e-9);
    EXPECT_EQ(m_interaction->GetCurrentSolverOperation(), &current);
}

// Every update of an edit starts from the edit's start mark with the Solver configured once, so
// a position solved again gives the same model without configuring again.
TEST_F(BlockUpdateTest, TheSamePositionSolvedTwiceGivesTheSameModelWithoutConfiguringAgain)
{
    SolverEvaluate edit(m_interaction);
    edit.AddRelationWithValue(m_distance, 30.0);
    ASSERT_EQ(Step(edit, 35.0), UpdateApplied);
    Solver* configured = m_manager->GetSolver();
    ASSERT_NE(configured, nullptr);
    EXPECT_NE(m_manager->GetStartMark(), 0);
    // A copy would not survive the roll back to the start mark; the volume tells the block.
    EXPECT_GE(UpdateTimes::GetBuild(), 0.0);

    ASSERT_EQ(Step(edit, 32.0), UpdateApplied);
    EXPECT_NEAR(TopHeight(), 32.0, 1e-9);
    ASSERT_EQ(Step(edit, 35.0), UpdateApplied);
    EXPECT_NEAR(TopHeight(), 35.0, 1e-9);
    EXPECT_NEAR(brennik::build::Volume(m_block), 10.0 * 20.0 * 35.0, 1e-6);
    EXPECT_EQ(BodyFaces(m_block), m_faces);
    EXPECT_EQ(m_manager->GetSolver(), configured);
    EXPECT_EQ(GetYSKTime(), 0.0);
    EXPECT_GE(UpdateTimes::GetSolve(), 0.0);
    EXPECT_GE(UpdateTimes::GetApply(), 0.0);

    m_interaction->SetCurrentSolverOperation(nullptr);
    m_manager->Clear();
    EXPECT_EQ(m_manager->GetStartMark(), 0);
}

// An operation whose own solve fails decides nothing: ResultTypeFail, the model as it was, and
// the debug post-update callback is still handed the manager.
class RefusingEdit : public SolverEvaluate {
public:
    using SolverEvaluate::SolverEvaluate;
    int Solve(Solver*) override { return ResultTypeFail; }
};

void* s_postUpdateManager = nullptr;
void RecordPostUpdate(void* manager) { s_postUpdateManager = manager; }

TEST_F(BlockUpdateTest, AnOperationWhoseSolveFailsDecidesNothing)
{
    RefusingEdit edit(m_interaction);
    edit.AddRelationWithValue(m_distance, 35.0);
    m_interaction->SetCurrentSolverOperation(&edit);
    UpdateManager::SetDebugPostUpdateCallback(&RecordPostUpdate);
    ResultType result = ResultTypeOk;
    EXPECT_EQ(m_manager->DoOperation(&edit, result), UpdateUnknown);
    UpdateManager::SetDebugPostUpdateCallback(nullptr);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_NEAR(TopHeight(), 30.0, 1e-9);
    EXPECT_EQ(s_postUpdateManager, m_manager);
    m_interaction->SetCurrentSolverOperation(nullptr);
    m_manager->Clear();
}

// The previews: with PreviewModeAlways the kernel is left alone and the solution is cached;
// with PreviewModeFailureOnly an update whose face change fails stays in the model, its
// solution is cached, and its mark is gone all the same.
TEST_F(BlockUpdateTest, PreviewModesKeepTheKernelOrTheFailureAsTheyPromise)
{
    struct Case {
        PreviewMode mode;
        bool failFaceChange;
        UpdateStatus status;
        bool cached;
    };
    const Case cases[] = {
        {PreviewModeAlways, false, UpdateApplied, true},
        {PreviewModeFailureOnly, true, UpdateChangeFailed, true},
        {PreviewModeOff, true, UpdateChangeFailed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        m_interaction->SetPreviewMode(c.mode);
        m_interaction->SetCachedSolutionChangeData(SolutionChangeData());
        if (c.failFaceChange)
            hxr::test::FailNextCall("HXR_FACE_change", HXR_ERROR_algorithm_failed);
        const int marks = m_interaction->GetMarkCount();
        EXPECT_EQ(UpdateDistanceTo(35.0), c.status);
        EXPECT_NEAR(TopHeight(), 30.0, 1e-9);
        EXPECT_EQ(m_interaction->GetMarkCount(), marks);
        const EntitySolutionChange* cached = m_interaction->GetCachedSolutionChangeData().FindEntityChange(m_top);
        ASSERT_EQ(cached != nullptr, c.cached);
        if (cached) {
            EXPECT_NEAR(cached->GetTransform().translation.z, 5.0, 1e-9);
        }
        hxr::test::Reset();
    }
}

// Each update manager journals into its own stream: one interaction ending its edit leaves the
// other's Solver writing to a live stream.
TEST_F(BlockUpdateTest, EachUpdateManagerJournalsIntoItsOwnSolverStream)
{
    DebugJournalSwitch& journal = GetSolverJournalSwitch();
    // The journal files go to the temporary folder, which the toolkit adds itself when told.
    const bool placed = std::getenv("QEL_TEMP") || std::getenv("TMP");
    journal.Start(((placed ? std::string() : ::testing::TempDir()) + "update-manager-test-").c_str());
    SolverEvaluate edit(m_interaction);
    edit.AddRelationWithValue(m_distance, 30.0);
    ASSERT_EQ(Step(edit, 33.0), UpdateApplied);
    ASSERT_NE(m_manager->GetSolverJournal(), nullptr);

    Interaction* other = new Interaction(CreateTypeLive);
    other->CreateUpdateManager();
    UpdateManager* theirs = other->GetUpdateManager();
    theirs->EnsureSolverCreated();
    EXPECT_NE(theirs->GetSolverJournal(), nullptr);
    EXPECT_NE(theirs->GetSolverJournal(), m_manager->GetSolverJournal());
    theirs->Clear();
    EXPECT_EQ(theirs->GetSolverJournal(), nullptr);
    other->Destroy();

    EXPECT_EQ(Step(edit, 35.0), UpdateApplied);
    EXPECT_NEAR(TopHeight(), 35.0, 1e-9);
    m_interaction->SetCurrentSolverOperation(nullptr);
    m_manager->Clear();
    EXPECT_EQ(m_manager->GetSolverJournal(), nullptr);
    journal.Stop();
}

int s_statusCalls = 0;
void CountStatus() { ++s_statusCalls; }

// The exported timing calls: each step's time and the status callback after each of the three
// steps; a reset keeps the build time; the re-blended list is null once cleared.
TEST_F(BlockUpdateTest, TheUpdateTimesAndTheStatusCallbackFollowEachStep)
{
    ResultType result = ResultTypeFail;
    SetStatusCallback(&CountStatus, &result);
    EXPECT_EQ(result, ResultTypeOk);
    s_statusCalls = 0;
    ASSERT_EQ(UpdateDistanceTo(35.0), UpdateApplied);
    EXPECT_EQ(s_statusCalls, 3);
    for (double (*time)(ResultType*) : {&GetBuildTime, &GetSolveTime, &GetApplyTime, &GetFaceChangeTime})
        EXPECT_GE(time(&result), 0.0);
    const double build = GetBuildTime(&result);
    ResetUpdateTimes(&result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetBuildTime(&result), build);
    for (double (*time)(ResultType*) : {&GetSolveTime, &GetApplyTime, &GetFaceChangeTime})
        EXPECT_EQ(time(&result), -1.0);
    SetStatusCallback(nullptr, &result);
    ASSERT_EQ(UpdateDistanceTo(36.0), UpdateApplied);
    EXPECT_EQ(s_statusCalls, 3);

    ASSERT_NE(GetReblendedFaces(&result), nullptr);
    ClearReblendedFaces(&result);
    EXPECT_EQ(GetReblendedFaces(&result), nullptr);
    EXPECT_EQ(result, ResultTypeOk);
}

// A block placed twice, dragged through its second Instance by a positioning reference: only
// that Instance moves.
class PlacedTwiceUpdateTest : public BlockSolverTest {};

TEST_F(PlacedTwiceUpdateTest, ADragThroughTheSecondInstanceMovesOnlyThatInstance)
{
    Instance* first = Place(m_block, Moved(0, 0, 0));
    Instance* second = Place(m_block, Moved(50, 0, 0));
    const int before = CopyEntity(m_block);
    Reference* top = Reference::Create(m_interaction, m_top, second);
    top->SetBehaviour(ReferenceBehaviourPositioning);
    ASSERT_TRUE(m_interaction->AddSelectedReference(top));
    const double origin[3] = {0, 0, 0};
    const double up[3] = {0, 0, 1};
    SolverDragLinear drag(m_interaction, origin, up, origin);
    const double to[3] = {0, 0, 5};
    drag.SetDragPosition(to);
    ASSERT_EQ(m_interaction->Update(&drag), UpdateApplied);
    EXPECT_TRUE(first->GetXform().IsClose(Moved(0, 0, 0), 1e-9, 1e-9));
    EXPECT_TRUE(second->GetXform().IsClose(Moved(50, 0, 5), 1e-9, 1e-9));
    EXPECT_TRUE(brennik::test::BodiesEqual(m_block, before));
}

// The procedure of a simple recreated feature on the block's top: it rebuilds the top where it
// found it, in the tool partition, before the drag is solved.
void RecreateTheTop(int interactionTag, int dataTag)
{
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    MappingData* cut = interaction->FindMappingDataFromTag(data->GetCutToolMappingDataTag());
    MappingData* mapping = interaction->FindMappingDataFromTag(data->GetProcedureMappingDataTag());
    int mainFace = 0, cutFace = 0;
    cut->GetEntry(0, &mainFace, &cutFace);
    const int previous = GetCurrentPartition();
    SetCurrentPartition(data->GetToolPartition());
    const int tool = brennik::build::Block(10, 20, 30);
    SetCurrentPartition(previous);
    data->SetProcedureToolBody(tool);
    mapping->AddEntry(cutFace, BlockFace(tool, 0, 0, 1));
}

// A simple recreated feature moves with its faces: its recreated top is placed where the drag
// carried the feature, not where the procedure found it.
class RecreatedFeatureUpdateTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        // The toolkit's own procedural-feature run, not the add-on's.
        SetHXRPFBasedAlgorithm(false);
        SetNewPFAlgorithm(true);
        Feature* feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
        feature->AddReference(Reference::Create(m_interaction, m_top, nullptr));
        feature->SetProcedure(&RecreateTheTop, nullptr);
    }
    void TearDown() override
    {
        SetNewPFAlgorithm(false);
        SetHXRPFBasedAlgorithm(true);
        BlockSolverTest::TearDown();
    }
};

TEST_F(RecreatedFeatureUpdateTest, ARecreatedSimpleFeatureTakesTheDragsTransform)
{
    ASSERT_TRUE(m_interaction->AddSelectedReference(Reference::Create(m_interaction, m_top, nullptr)));
    const double origin[3] = {0, 0, 0};
    const double up[3] = {0, 0, 1};
    SolverDragLinear drag(m_interaction, origin, up, origin);
    const double to[3] = {0, 0, 5};
    drag.SetDragPosition(to);
    ASSERT_EQ(m_interaction->Update(&drag), UpdateApplied);
    Position point;
    Dir normal;
    EvaluateFaceMidpoint(BlockFace(m_block, 0, 0, 1), &point, &normal);
    EXPECT_NEAR(point.z, 35.0, 1e-9);
    EXPECT_NEAR(brennik::build::Volume(m_block), 10.0 * 20.0 * 35.0, 1e-6);
}

// Feature tool bodies made during configure: the application's procedure is asked for each
// incomplete add-on feature, and clearing deletes the body and asks for the remade feature.
int s_procedureBody = 0;
int s_remakeBody = -1;
constexpr int s_mappedOldTag = 4242;
// Makes a unit block and maps an old tag onto its first face.
void MakeToolBody(int interaction, int, int, int& body, int& mapping, ResultType&)
{
    body = s_procedureBody = brennik::build::Block(1, 1, 1);
    Interaction* found = TagManager::FindInteractionFromTag(interaction);
    if (MappingData* data = found ? found->GetTagManager()->FindMappingDataFromTag(mapping) : nullptr)
        data->AddEntry(s_mappedOldTag, BodyFaces(body).front());
}
void RemakeUnderTheSameTag(int, int feature, int body, int, int& remade, ResultType&)
{
    s_remakeBody = body;
    remade = feature;
}

// An add-on feature of a blend and a side, left incomplete by deleting its blend.
class FeatureToolBodyTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        const int body = brennik::build::BlockWithBlend(2.0);
        const int blend = OfClass(BodyFaces(body), KernelClassCylinder).front();
        const int topols[] = {blend, BlockFace(body, 1, 0, 0)};
        const int labels[] = {1, 2};
        ASSERT_EQ(HXR_TOPOL_make_feat(2, topols, labels, 2, 9, nullptr, &m_feature), HXR_ERROR_none);
        HXR_ENTITY_track_r_s tracking = {0, nullptr};
        ASSERT_EQ(HXR_FACE_delete(1, &blend, nullptr, &tracking), HXR_ERROR_none);
        HXR_ENTITY_track_r_f(&tracking);
        m_interaction->CreateUpdateManager();
        m_manager = m_interaction->GetUpdateManager();
        m_manager->EnsureSolverCreated();
        ASSERT_TRUE(m_manager->GetSolver()->MakeRigidGroupForFeature(m_interaction, m_feature));
    }

    int m_feature = 0;
    UpdateManager* m_manager = nullptr;
};

TEST_F(FeatureToolBodyTest, WithoutAProcedureCallbackNoFeatureIsPrepared)
{
    m_interaction->SetFeatureProcedureCallback(nullptr);
    m_manager->PrepareFeatureProcedures();
    EXPECT_TRUE(m_manager->GetFeatureToolBodies().empty());
}

// A feature remade under its own tag keeps its application data.
TEST_F(FeatureToolBodyTest, ClearingDeletesTheToolBodyAndARemakeUnderTheSameTagKeepsTheData)
{
    m_interaction->SetFeatureProcedureCallback(&MakeToolBody);
    m_interaction->SetFeatureRemakeCallback(&RemakeUnderTheSameTag);
    m_interaction->SetAppData(m_feature, "depth", 4.0);
    m_manager->PrepareFeatureProcedures();
    ASSERT_EQ(m_manager->GetFeatureToolBodies().size(), 1u);
    const UpdateManager::FeatureToolBody made = m_manager->GetFeatureToolBodies().at(m_feature);
    EXPECT_EQ(made.toolBody, s_procedureBody);
    EXPECT_NE(made.mappingData, 0);

    m_manager->Clear();
    EXPECT_EQ(s_remakeBody, 0);
    EXPECT_FALSE(IsEntity(made.toolBody));
    EXPECT_EQ(m_interaction->GetTagManager()->FindMappingDataFromTag(made.mappingData), nullptr);
    double depth = 0.0;
    EXPECT_TRUE(m_interaction->GetAppData(m_feature, "depth", depth));
    EXPECT_EQ(depth, 4.0);
    EXPECT_TRUE(m_manager->GetFeatureToolBodies().empty());
}

// The reintegration gets a copy of the tool body, and the feature's mapping names the copy's
// face where it named the tool body's; the copy carries no feature labels.
TEST_F(FeatureToolBodyTest, ACopiedToolBodyTakesOverTheMapping)
{
    m_interaction->SetFeatureProcedureCallback(&MakeToolBody);
    m_manager->PrepareFeatureProcedures();
    const UpdateManager::FeatureToolBody made = m_manager->GetFeatureToolBodies().at(m_feature);
    EXPECT_EQ(m_manager->CopyFeatureToolBody(m_feature + 1000), 0);
    const int copy = m_manager->CopyFeatureToolBody(m_feature);
    ASSERT_NE(copy, 0);
    ASSERT_NE(copy, made.toolBody);
    MappingData* mapping = m_interaction->GetTagManager()->FindMappingDataFromTag(made.mappingData);
    ASSERT_NE(mapping, nullptr);
    ASSERT_EQ(mapping->GetEntryCount(), 1);
    int mapped = 0;
    ASSERT_TRUE(mapping->FindEntry(s_mappedOldTag, &mapped));
    EXPECT_EQ(GetOwningBody(mapped), copy);
    for (int face : BodyFaces(copy))
        EXPECT_EQ(GetFeatureAttributeTag(face), 0);
    EXPECT_TRUE(IsEntity(made.toolBody));
}

// Keys entered under a group that has no Set for them: a group of the bare block's top has no
// global Set for a free point, nor a body-level Set for the side it holds no reference on.
// Applying the solution passes both keys by.
class RigidGroupApplyTest : public BlockSolverTest {};

TEST_F(RigidGroupApplyTest, KeysOfAGroupWithoutTheirSetArePassedBy)
{
    m_interaction->CreateUpdateManager();
    UpdateManager* manager = m_interaction->GetUpdateManager();
    manager->EnsureSolverCreated();
    Solver* solver = manager->GetSolver();
    RigidGroup* group = solver->MakeRigidGroup({Reference::Create(m_interaction, m_top, nullptr)}, false);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetGlobalSet(), nullptr);
    ASSERT_EQ(group->GetBodyLevelSetForEnt(m_side), nullptr);
    solver->RegisterRigidGroup(GeometryKey(brennik::build::FreePoint(1, 2, 3), nullptr), group);
    solver->RegisterRigidGroup(GeometryKey(m_side, nullptr), group);
    ASSERT_EQ(solver->SolveSystem(), SolveStatusSolved);
    EXPECT_TRUE(manager->PostSolverOperation(nullptr));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
