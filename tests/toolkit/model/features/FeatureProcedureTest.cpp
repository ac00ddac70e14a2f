// A recreate feature's procedure run on real bodies: the feature's faces are cut out, a test
// procedure rebuilds them, and the result changes the faces in place or is sewn in as a sheet.

#include "FeatureFixture.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/maths/Xform.h"
#include "model/features/FeatureDump.h"

#include <hxr.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

namespace QEL {
namespace testing {
namespace {

// What the test procedure does, steered by each test.
struct ProcedurePlan {
    enum Kind { Taller, Lid, Fail } kind = Taller;
    double height = 35.0;
    int calls = 0;
    int mainBody = 0;
    // The profile transform the run handed over; null when it gave none.
    std::unique_ptr<Xform> profile;
};
ProcedurePlan s_plan;

// A body built in the procedure's tool partition, which the run does not put back.
template <typename Build>
int BuildInPartition(int partition, Build build)
{
    const int previous = GetCurrentPartition();
    SetCurrentPartition(partition);
    const int body = build();
    SetCurrentPartition(previous);
    return body;
}

void MoveBody(int body, double dz)
{
    Xform shift;
    shift.SetIdentity();
    double matrix[4][4];
    shift.Get4x4(matrix);
    matrix[2][3] = dz;
    const int transform = Xform(matrix).CreateKernelTransf();
    const BQ_BODY_transform_o_t options{1, false, false};
    TransformBody(body, transform, 1e-8, &options);
    DeleteEntity(transform);
}

// Taller: a block of the planned height whose top face replaces the cut top face. Lid: the
// top face gives way to a lid, open below, that raises the block to the planned height: the
// lid's top takes the cut face's place and its four sides are new faces. Fail: the main body
// moves and the procedure reports failure.
void TestProcedure(int interactionTag, int dataTag)
{
    ++s_plan.calls;
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    MappingData* cut = interaction->FindMappingDataFromTag(data->GetCutToolMappingDataTag());
    MappingData* mapping = interaction->FindMappingDataFromTag(data->GetProcedureMappingDataTag());
    s_plan.mainBody = data->GetMainBodyTag();
    int mainFace = 0, cutFace = 0;
    cut->GetEntry(0, &mainFace, &cutFace);
    if (s_plan.kind == ProcedurePlan::Fail) {
        MoveBody(data->GetMainBodyTag(), 5);
        data->SetResult(ResultTypeFail);
        return;
    }
    const double height = s_plan.height;
    if (s_plan.kind == ProcedurePlan::Taller) {
        const int tool = BuildInPartition(data->GetToolPartition(),
                                          [height] { return brennik::build::Block(10, 20, height); });
        data->SetProcedureToolBody(tool);
        mapping->AddEntry(cutFace, FaceAt(tool, 0, 0, 1, height));
        return;
    }
    const int box = BuildInPartition(data->GetToolPartition(),
                                     [height] { return brennik::build::Block(10, 20, height - 30); });
    std::vector<int> faces;
    std::set<int> all;
    GetBodyFaces(box, all);
    for (int face : all)
        if (face != FaceAt(box, 0, 0, -1, 0))
            faces.push_back(face);
    const BQ_FACE_make_sheet_o_t sheetOptions{1, false};
    BQ_TOPOL_track_r_t tracking{};
    int n = 0;
    int* sheets = nullptr;
    BQ_FACE_make_sheet_bodies(static_cast<int>(faces.size()), faces.data(), &sheetOptions, &tracking, &n, &sheets);
    BQ_TOPOL_track_r_f(&tracking);
    const int lid = sheets[0];
    BQ_MEMORY_free(sheets);
    BQ_BODY_change_partition(lid, data->GetToolPartition());
    DeleteEntity(box);
    MoveBody(lid, 30);
    data->SetProcedureToolBody(lid);
    std::set<int> lidFaces;
    GetBodyFaces(lid, lidFaces);
    const int lidTop = FaceAt(lid, 0, 0, 1, height);
    mapping->AddEntry(cutFace, lidTop);
    for (int face : lidFaces)
        if (face != lidTop)
            mapping->AddEntry(0, face);
}

class FeatureProcedureTest : public FeatureTest {
protected:
    void SetUp() override
    {
        FeatureTest::SetUp();
        s_plan = ProcedurePlan();
        SetNewPFAlgorithm(true);
        m_feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
        m_topReference = RefOn(m_top);
        m_feature->AddReference(m_topReference);
        m_feature->SetProcedure(&TestProcedure, nullptr);
    }
    void TearDown() override
    {
        SetNewPFAlgorithm(false);
        FeatureTest::TearDown();
    }
    Feature* m_feature = nullptr;
    Reference* m_topReference = nullptr;
};

TEST_F(FeatureProcedureTest, SimpleFeatureOrNoProcedureRunsNothing)
{
    const int before = CopyEntity(m_block);
    Feature* simple = Feature::Create(m_interaction, FeatureTypeSimple);
    simple->AddReference(m_topReference);
    simple->SetProcedure(&TestProcedure, nullptr);
    Feature* without = Feature::Create(m_interaction, FeatureTypeComplexRecreate);
    without->AddReference(m_topReference);
    ProcedureRunContext context;
    context.createToolBody = true;
    EXPECT_EQ(simple->RunProcedure(context), 0);
    EXPECT_EQ(without->RunProcedure(context), 0);
    EXPECT_EQ(s_plan.calls, 0);
    EXPECT_EQ(without->GetCutToolBody(), 0);
    EXPECT_TRUE(BodiesEqual(m_block, before));
}

TEST_F(FeatureProcedureTest, DeadReferenceFailsBeforeAnythingIsCut)
{
    Reference* side = RefOn(Face(1, 0, 0, 10));
    m_feature->AddReference(side);
    const int other = brennik::build::Block(1, 1, 1);
    side->ReplaceEntityTag(FaceAt(other, 0, 0, 1, 1));
    DeleteEntity(other);
    ProcedureRunContext context;
    context.createToolBody = true;
    EXPECT_EQ(m_feature->RunProcedure(context), 1);
    EXPECT_EQ(m_feature->GetCutToolBody(), 0);
    EXPECT_EQ(s_plan.calls, 0);
}

TEST_F(FeatureProcedureTest, OneToOneMappingChangesTheFacesInPlace)
{
    EXPECT_EQ(m_feature->Edit(nullptr), ResultTypeOk);
    EXPECT_EQ(s_plan.calls, 1);
    EXPECT_EQ(s_plan.mainBody, m_block);
    EXPECT_NEAR(VolumeOf(m_block), 10 * 20 * 35, 1e-6);
    EXPECT_EQ(FaceAt(m_block, 0, 0, 1, 35), m_top);
    EXPECT_EQ(m_topReference->GetEntityTag(), m_top);
    EXPECT_EQ(m_feature->GetReferenceCount(), 1);
    // The tool bodies went with the run.
    EXPECT_EQ(m_feature->GetCutToolBody(), 0);
    EXPECT_EQ(m_feature->GetProcedureToolBody(), 0);
}

TEST_F(FeatureProcedureTest, NewFacesReplaceTheFeatureFacesAsASheetWithNewReferences)
{
    s_plan.kind = ProcedurePlan::Lid;
    EXPECT_EQ(m_feature->Edit(nullptr), ResultTypeOk);
    EXPECT_NEAR(VolumeOf(m_block), 10 * 20 * 35, 1e-6);
    EXPECT_EQ(FaceCount(m_block), 10);
    // The lid's four sides became references of the feature, on faces of the block.
    int onBlock = 0;
    for (Reference* reference : m_feature->GetReferences())
        if (reference && GetOwningBody(reference->GetEntityTag()) == m_block)
            ++onBlock;
    EXPECT_GE(onBlock, 4);
    EXPECT_FALSE(m_feature->GetIsDangling());
}

TEST_F(FeatureProcedureTest, FailingProcedureLeavesTheBodyAndNoMark)
{
    const int before = CopyEntity(m_block);
    const int marks = CountPartitionMarks(m_block);
    s_plan.kind = ProcedurePlan::Fail;
    EXPECT_EQ(m_feature->Edit(nullptr), ResultTypeFail);
    EXPECT_EQ(s_plan.calls, 1);
    EXPECT_TRUE(BodiesEqual(m_block, before));
    EXPECT_EQ(CountPartitionMarks(m_block), marks);
    EXPECT_EQ(m_feature->GetCutToolBody(), 0);
}

TEST_F(FeatureProcedureTest, EditRefusesAndDoesNothingWhileTheNewAlgorithmIsOff)
{
    SetNewPFAlgorithm(false);
    EXPECT_EQ(m_feature->Edit(nullptr), ResultTypeNotSupported);
    EXPECT_EQ(s_plan.calls, 0);
}

// The dump goes to its fixed file name in the working directory, and only while its switch is
// on: then a run writes the feature with its lists and tags, and its mappings, at start and end.
TEST_F(FeatureProcedureTest, TheDumpIsWrittenOnlyWhileItsSwitchIsOn)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qel_feature_dump_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    const std::filesystem::path dump = folder / "c:\\temp\\FeatureDump.txt";
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        s_featureDumpOn = on;
        ProcedureRunContext context;
        context.createToolBody = true;
        EXPECT_EQ(m_feature->RunProcedure(context), 0);
        m_feature->DeleteToolBodies();
    }
    s_featureDumpOn = false;
    std::filesystem::current_path(previous);
    std::ifstream in(dump);
    std::stringstream read;
    read << in.rdbuf();
    const std::string text = read.str();
    std::filesystem::remove_all(folder);
    // One run's worth: the switch was off for the first.
    const std::string start = "\nProcedure Start:\nFeature Tag: " + std::to_string(m_feature->GetTag()) +
                              "\nFeature Type: 2\nUpdateRequired: no\n";
    EXPECT_EQ(text.find(start), 0u) << text;
    EXPECT_EQ(text.find(start, 1), std::string::npos);
    const std::string references = "References Tags (Count 1): " + std::to_string(m_topReference->GetTag()) +
                                   " \nReferences BK Tags        : " + std::to_string(m_top) + " \n";
    EXPECT_NE(text.find(references), std::string::npos) << text;
    const size_t end = text.find("\nProcedure End:\n");
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(text.find("MappingData Tag: ", end), std::string::npos);
    EXPECT_NE(text.find("m_tMainBody : " + std::to_string(m_block), end), std::string::npos);
}

// A square boss 10 x 10, standing from z 10 to the planned height at x, y in [40, 50], pasted
// onto the body.
bool PasteBoss(int body, double height)
{
    const int tool = brennik::build::Block(10, 10, height - 10);
    const double matrix[4][4] = {{1, 0, 0, 40}, {0, 1, 0, 40}, {0, 0, 1, 10}, {0, 0, 0, 1}};
    const int transform = Xform(matrix).CreateKernelTransf();
    const HXR_BODY_paste_o_s options{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    const int pasted = HXR_BODY_paste(body, tool, transform, &options, &tracking);
    HXR_ENTITY_track_r_f(&tracking);
    DeleteEntity(transform);
    DeleteEntity(tool);
    return pasted == HXR_ERROR_none;
}

// The complex feature's procedure works on the main body itself, which comes to it with the
// boss cut out: it pastes the boss back at the planned height and maps each cut face onto the
// face of the new boss that lies where it did (the top onto the new top).
void RegrowProcedure(int interactionTag, int dataTag)
{
    ++s_plan.calls;
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    s_plan.mainBody = data->GetMainBodyTag();
    if (const double* profile = data->GetProfileXform())
        s_plan.profile.reset(new Xform(reinterpret_cast<const double(*)[4]>(profile)));
    if (s_plan.kind == ProcedurePlan::Fail || data->GetFeatureProcedureType() != FeatureProcedureTypeModifySolid) {
        MoveBody(data->GetMainBodyTag(), 5);
        data->SetResult(ResultTypeFail);
        return;
    }
    if (!PasteBoss(data->GetMainBodyTag(), s_plan.height)) {
        data->SetResult(ResultTypeFail);
        return;
    }
    MappingData* cut = interaction->FindMappingDataFromTag(data->GetCutToolMappingDataTag());
    MappingData* mapping = interaction->FindMappingDataFromTag(data->GetProcedureMappingDataTag());
    for (int i = 0; i < cut->GetEntryCount(); ++i) {
        int mainFace = 0, cutFace = 0;
        cut->GetEntry(i, &mainFace, &cutFace);
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(cutFace, &point, &normal);
        const double along = normal.z > 0.5 ? s_plan.height : point.x * normal.x + point.y * normal.y;
        mapping->AddEntry(cutFace, FaceAt(data->GetMainBodyTag(), normal.x, normal.y, normal.z, along));
    }
}

// A complex feature of a square boss on a 100 x 60 x 10 plate, with a profile on a block placed
// 40 up: the edit cuts the boss out and the procedure makes it again in the plate.
class ComplexFeatureEditTest : public FeatureProcedureTest {
protected:
    void SetUp() override
    {
        FeatureProcedureTest::SetUp();
        m_plate = brennik::build::Block(100, 60, 10);
        ASSERT_TRUE(PasteBoss(m_plate, 16));
        m_volume = VolumeOf(m_plate);
        const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        m_placed = Instance::Create(m_interaction, m_plate, identity);
        m_profileInstance = Instance::Create(m_interaction, brennik::build::Block(5, 5, 5), m_raised);
        m_boss = Feature::Create(m_interaction, FeatureTypeComplexRecreate);
        m_bossTop = FaceAt(m_plate, 0, 0, 1, 16);
        for (int face : {m_bossTop, FaceAt(m_plate, 1, 0, 0, 50), FaceAt(m_plate, -1, 0, 0, -40),
                         FaceAt(m_plate, 0, 1, 0, 50), FaceAt(m_plate, 0, -1, 0, -40)}) {
            ASSERT_NE(face, 0);
            m_boss->AddReference(RefOn(face, m_placed));
        }
        m_boss->AddProfileReference(RefOn(FaceAt(m_profileInstance->GetBodyTag(), 0, 0, 1, 5), m_profileInstance));
        m_boss->SetProcedure(&RegrowProcedure, nullptr);
    }
    int m_plate = 0;
    int m_bossTop = 0;
    double m_volume = 0.0;
    const double m_raised[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 40}, {0, 0, 0, 1}};
    Instance* m_placed = nullptr;
    Instance* m_profileInstance = nullptr;
    Feature* m_boss = nullptr;
};

// No solve stands behind an application's own edit: the procedure gets the profile transform
// that the placements give, and the feature's references follow its faces onto the new boss.
TEST_F(ComplexFeatureEditTest, TheProcedureRemakesTheFeatureInTheBody)
{
    s_plan.height = 21;
    EXPECT_EQ(m_boss->Edit(nullptr), ResultTypeOk);
    EXPECT_EQ(s_plan.calls, 1);
    EXPECT_EQ(s_plan.mainBody, m_plate);
    ASSERT_NE(s_plan.profile, nullptr);
    EXPECT_TRUE(s_plan.profile->IsClose(Xform(m_raised), 1e-12, 1e-12));
    EXPECT_NEAR(VolumeOf(m_plate), m_volume + 10 * 10 * 5, 1e-6);
    ASSERT_EQ(m_boss->GetReferenceCount(), 5);
    EXPECT_FALSE(m_boss->GetIsDangling());
    EXPECT_EQ(m_boss->GetReference(0)->GetEntityTag(), FaceAt(m_plate, 0, 0, 1, 21));
    for (Reference* reference : m_boss->GetReferences())
        EXPECT_EQ(GetOwningBody(reference->GetEntityTag()), m_plate);
    EXPECT_EQ(m_boss->GetCutToolBody(), 0);
}

TEST_F(ComplexFeatureEditTest, AFailingProcedureLeavesTheBodyAndNoMark)
{
    const int before = CopyEntity(m_plate);
    const int marks = CountPartitionMarks(m_plate);
    s_plan.kind = ProcedurePlan::Fail;
    EXPECT_EQ(m_boss->Edit(nullptr), ResultTypeFail);
    EXPECT_EQ(s_plan.calls, 1);
    EXPECT_TRUE(BodiesEqual(m_plate, before));
    EXPECT_EQ(CountPartitionMarks(m_plate), marks);
    EXPECT_EQ(m_boss->GetReference(0)->GetEntityTag(), m_bossTop);
    EXPECT_EQ(m_boss->GetCutToolBody(), 0);
}


}  // namespace
}  // namespace testing
}  // namespace QEL
