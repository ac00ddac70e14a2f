// The Model transaction through the add-on layer on real bodies: marks, roll-back, what a
// successful call leaves behind, and how references follow splits and deletions.
#include "ModelFixture.h"

#include "core/journal/DebugJournalSwitches.h"
#include "core/maths/Xform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace QEL {
namespace testing {
namespace {

// An offset of one face along its normal.
struct Offset {
    explicit Offset(double distance)
    {
        change.change = HXR_CHANGE_offset;
        change.offset = distance;
    }
    int Run(Interaction* interaction, int face, bool rollBackOnError, std::vector<int>* marksOut,
            HXR_ENTITY_track_r_s* tracking)
    {
        int index = 0;
        return Model::FaceChange(interaction, 1, &face, &index, 1, &change, 1e-6, nullptr, tracking,
                                 rollBackOnError, marksOut);
    }
    HXR_FACE_change_s change{};
};

TEST_F(ModelTest, EmptyFaceListMakesNoMarkAndNoCall)
{
    const int marks = CountPartitionMarks(m_block);
    int sheet = -1;
    HXR_ENTITY_track_r_s tracking{};
    EXPECT_EQ(Model::FaceCut(m_interaction, 0, nullptr, nullptr, &sheet, &tracking, true, nullptr), 0);
    EXPECT_EQ(sheet, -1);
    EXPECT_EQ(CountPartitionMarks(m_block), marks);
    EXPECT_EQ(CountTrackingData(), 0u);
}

TEST_F(ModelTest, MarkingFailureIsReportedWithoutCallingTheAddOn)
{
    std::set<int> before;
    GetBodyFaces(m_block, before);
    brennik::test::FailNextCall("BQ_PARTITION_make_pmark", BQ_ERROR_bad_tag);
    int sheet = -1;
    HXR_ENTITY_track_r_s tracking{};
    EXPECT_EQ(Model::FaceCut(m_interaction, 1, &m_top, nullptr, &sheet, &tracking, true, nullptr),
              ModelErrorNotMarked);
    EXPECT_EQ(sheet, -1) << "the add-on was not called";
    std::set<int> after;
    GetBodyFaces(m_block, after);
    EXPECT_EQ(after, before);
}

TEST_F(ModelTest, FailedCallRolledBackLeavesBodiesEqualAndNoTrackingData)
{
    int witness = 0;
    ASSERT_EQ(BQ_ENTITY_copy(m_block, &witness), BQ_ERROR_no_errors);
    Reference* reference = Reference::Create(m_interaction, m_top, nullptr);
    const int marks = CountPartitionMarks(m_block);
    HXR_ENTITY_track_r_s tracking{};
    // Through the bottom: the top would turn inside out.
    const int error = Offset(-40.0).Run(m_interaction, m_top, true, nullptr, &tracking);
    EXPECT_NE(error, 0);
    EXPECT_TRUE(BodiesEqual(m_block, witness));
    EXPECT_EQ(CountTrackingData(), 0u);
    EXPECT_EQ(CountTrackingAttributes(m_block), 0);
    EXPECT_EQ(CountPartitionMarks(m_block), marks);
    EXPECT_EQ(reference->GetEntityTag(), m_top);
    EXPECT_TRUE(IsValid(reference));
}

TEST_F(ModelTest, FailedCallWithoutRollBackHandsItsMarksToTheCaller)
{
    HXR_ENTITY_track_r_s tracking{};
    std::vector<int> marks;
    EXPECT_NE(Offset(-40.0).Run(m_interaction, m_top, false, &marks, &tracking), 0);
    ASSERT_EQ(marks.size(), 1u);
    int partition = 0;
    EXPECT_EQ(BQ_PMARK_ask_partition(marks[0], &partition), BQ_ERROR_no_errors);
    EXPECT_EQ(partition, GetEntityPartition(m_block));
    int failed = 0;
    int* failedMarks = nullptr;
    EXPECT_EQ(BQ_PMARK_delete(1, marks.data(), &failed, &failedMarks), BQ_ERROR_no_errors);
    BQ_MEMORY_free(failedMarks);
}

TEST_F(ModelTest, SuccessLeavesNoTrackingAttributesOrMarksBehind)
{
    for (bool rollBackOnError : {true, false}) {
        SCOPED_TRACE(rollBackOnError ? "with roll-back" : "without roll-back");
        Reference* top = Reference::Create(m_interaction, m_top, nullptr);
        Reference* side = Reference::Create(m_interaction, FaceAt(m_block, 1, 0, 0, 10), nullptr);
        const int marks = CountPartitionMarks(m_block);
        HXR_ENTITY_track_r_s tracking{};
        std::vector<int> handedOut;
        ASSERT_EQ(Offset(1.0).Run(m_interaction, m_top, rollBackOnError, &handedOut, &tracking), 0);
        HXR_ENTITY_track_r_f(&tracking);
        EXPECT_TRUE(handedOut.empty());
        EXPECT_EQ(CountPartitionMarks(m_block), marks);
        EXPECT_EQ(CountTrackingAttributes(m_block), 0);
        // Offsetting changes faces but regroups nothing: both references stay where they were.
        EXPECT_EQ(top->GetEntityTag(), m_top);
        EXPECT_TRUE(IsValid(top));
        EXPECT_TRUE(IsValid(side));
        // The post-operation pass reports the changed top face.
        bool topModified = false;
        for (TrackingData* data : Manager().GetBrennikMapData())
            topModified |= data->IsFromPartitionPass() && data->GetType() == TrackingDataTypeModify &&
                           data->GetNewTags() == std::vector<int>{m_top};
        EXPECT_TRUE(topModified);
        Manager().ClearData();
    }
}

TEST_F(ModelTest, ThePostOperationPassReportsOnlyWhileChangesAreTracked)
{
    // With change tracking switched off nobody reads the pass's records, so none are made; the
    // call itself and what it leaves behind are the same.
    for (bool track : {true, false}) {
        SCOPED_TRACE(track ? "tracking" : "not tracking");
        m_interaction->SetTrackChanges(track);
        Manager().ClearData();
        const int marks = CountPartitionMarks(m_block);
        HXR_ENTITY_track_r_s tracking{};
        ASSERT_EQ(Offset(1.0).Run(m_interaction, m_top, true, nullptr, &tracking), 0);
        HXR_ENTITY_track_r_f(&tracking);
        size_t fromPass = 0;
        for (TrackingData* data : Manager().GetBrennikMapData())
            fromPass += data->IsFromPartitionPass() ? 1 : 0;
        EXPECT_EQ(fromPass > 0, track);
        EXPECT_EQ(CountPartitionMarks(m_block), marks);
        EXPECT_EQ(CountTrackingAttributes(m_block), 0);
    }
    m_interaction->SetTrackChanges(true);
}

TEST_F(ModelTest, SplitGivesASplitRecordAndTheReferenceKeepsItsOwnFace)
{
    Reference* reference = Reference::Create(m_interaction, m_top, nullptr);
    // A slot across the top splits it in two.
    const int slot = brennik::build::Block(2, 22, 6);
    Xform place;
    place.SetToTranslation(Vec(4, -1, 25));
    const int transform = place.CreateKernelTransf();
    HXR_BODY_paste_o_s subtract{4, HXR_PASTE_subtract, false, HXR_PASTE_OPTION_default,
                                HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    ASSERT_EQ(Model::BodyPaste(m_interaction, m_block, slot, transform, &subtract, &tracking, true,
                               nullptr),
              0);
    HXR_ENTITY_track_r_f(&tracking);
    TrackingData* split = MapDataOf(TrackingDataTypeSplit, m_top);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->GetNewTags().size(), 2u);
    EXPECT_EQ(reference->GetEntityTag(), m_top);
    // The kernel put the new piece into the reference's group; the split took it out again.
    EXPECT_EQ(GroupMembers(reference), std::vector<int>{m_top});
    EXPECT_TRUE(IsValid(reference));
    EXPECT_EQ(CountTrackingAttributes(m_block), 0);
}

TEST_F(ModelTest, DeletedFaceDestroysItsReferences)
{
    const int body = brennik::build::BlockWithBlend();
    int blend = FaceOfClass(body, KernelClassCylinder);
    ASSERT_NE(blend, 0);
    Instance* instance = Instance::Create(m_interaction, body, nullptr);
    Reference::Create(m_interaction, blend, instance);
    Reference::Create(m_interaction, blend, nullptr);
    Reference* kept = Reference::Create(m_interaction, FaceAt(body, 0, 0, -1, 0), instance);
    ASSERT_EQ(m_interaction->CountReferences(), 3);
    HXR_ENTITY_track_r_s tracking{};
    ASSERT_EQ(Model::FaceDelete(m_interaction, 1, &blend, nullptr, &tracking, true, nullptr), 0);
    HXR_ENTITY_track_r_f(&tracking);
    EXPECT_EQ(m_interaction->CountReferences(), 1);
    EXPECT_EQ(instance->GetReferenceCount(), 1);
    EXPECT_TRUE(IsValid(kept));
    EXPECT_NE(MapDataOf(TrackingDataTypeDelete, blend), nullptr);
    EXPECT_EQ(CountTrackingAttributes(body), 0);
}

TEST_F(ModelTest, MergeWithTwoSurvivorsFailsTrackingOnceAndFreesTheResultOnce)
{
    Reference* reference = Reference::Create(m_interaction, m_top, nullptr);
    // A stale merge record naming the referenced face with two survivors: no survivor to move to.
    TrackingData* stale = TrackingData::CreateBrennikMapData(&Manager(), TrackingDataTypeMerge);
    stale->AddOldTag(m_top);
    stale->AddNewTag(FaceAt(m_block, 1, 0, 0, 10));
    stale->AddNewTag(FaceAt(m_block, -1, 0, 0, 0));
    int side = FaceAt(m_block, 0, 1, 0, 20);
    int sheet = 0;
    HXR_ENTITY_track_r_s tracking{};
    EXPECT_EQ(Model::FaceCopy(m_interaction, 1, &side, nullptr, &sheet, &tracking, true, nullptr),
              ModelErrorTrackingFailed);
    // Freed by the transaction and emptied, so the caller's own free does nothing more.
    EXPECT_EQ(tracking.n_track_records, 0);
    EXPECT_EQ(tracking.track_records, nullptr);
    EXPECT_EQ(HXR_ENTITY_track_r_f(&tracking), 0);
    EXPECT_EQ(reference->GetEntityTag(), m_top);
    EXPECT_NE(sheet, 0) << "the add-on's change stays";
}

TEST_F(ModelTest, DebugReportsAreNumberedFilesInTheTemporaryDirectory)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("qel_model_reports_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const char* previous = std::getenv("QEL_TEMP");
    const std::string saved = previous ? previous : "";
    setenv("QEL_TEMP", folder.c_str(), 1);

    DebugJournalSwitch& reports = GetAddOnReportSwitch();
    reports.Start("run_");
    const int body = brennik::build::BlockWithBlend();
    int blend = FaceOfClass(body, KernelClassCylinder);
    int face = FaceAt(m_block, 1, 0, 0, 10);
    int sheet = 0;
    HXR_ENTITY_track_r_s tracking{};
    EXPECT_EQ(Model::FaceCut(m_interaction, 1, &blend, nullptr, &sheet, &tracking, true, nullptr), 0);
    HXR_ENTITY_track_r_f(&tracking);
    EXPECT_EQ(Model::FaceCopy(m_interaction, 1, &face, nullptr, &sheet, &tracking, true, nullptr), 0);
    HXR_ENTITY_track_r_f(&tracking);
    reports.Stop();
    EXPECT_EQ(Model::FaceCopy(m_interaction, 1, &face, nullptr, &sheet, &tracking, true, nullptr), 0);
    HXR_ENTITY_track_r_f(&tracking);

    EXPECT_TRUE(std::filesystem::exists(folder / "run_HXR_FACE_cut_0001.xml"));
    EXPECT_TRUE(std::filesystem::exists(folder / "run_HXR_FACE_copy_0002.xml"));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2u) << "no report while the switch is off";
    EXPECT_EQ(reports.GetNumber(), 1);

    if (previous)
        setenv("QEL_TEMP", saved.c_str(), 1);
    else
        unsetenv("QEL_TEMP");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
