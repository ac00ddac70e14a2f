// A recreate feature's procedure run on real bodies: the feature's faces are cut out, a test
// procedure rebuilds them, and the result changes the faces in place or is sewn in as a sheet.

#include "FeatureFixture.h"

#include "core/KernelFacade.h"
#include "core/UpperLayerSeams.h"
#include "core/Xform.h"

namespace QEL {
namespace testing {
namespace {

// What the test procedure does, steered by each test.
struct ProcedurePlan {
    enum Kind { Taller, Lid, Fail } kind = Taller;
    double height = 35.0;
    int calls = 0;
    int mainBody = 0;
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

TEST_F(FeatureProcedureTest, ComplexFeatureWithoutSolverFailsCleanly)
{
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* placed = Instance::Create(m_interaction, m_block, identity);
    Instance* profileInstance = Instance::Create(m_interaction, brennik::build::Block(5, 5, 5), identity);
    Feature* complex = Feature::Create(m_interaction, FeatureTypeComplexRecreate);
    complex->AddReference(RefOn(m_top, placed));
    complex->AddProfileReference(RefOn(FaceAt(profileInstance->GetBodyTag(), 0, 0, 1, 5), profileInstance));
    complex->SetProcedure(&TestProcedure, nullptr);
    const int before = CopyEntity(m_block);
    const int marks = CountPartitionMarks(m_block);
    EXPECT_EQ(complex->Edit(nullptr), 1);
    EXPECT_EQ(s_plan.calls, 0);
    EXPECT_TRUE(BodiesEqual(m_block, before));
    EXPECT_EQ(CountPartitionMarks(m_block), marks);
}

TEST_F(FeatureProcedureTest, EditDoesNothingWhileTheNewAlgorithmIsOff)
{
    SetNewPFAlgorithm(false);
    EXPECT_EQ(m_feature->Edit(nullptr), ResultTypeOk);
    EXPECT_EQ(s_plan.calls, 0);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
