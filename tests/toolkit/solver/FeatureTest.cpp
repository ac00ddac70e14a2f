// Features in the Solver: which entities a feature drives, the profile frame that tells how far
// a profile moved against its feature, and the solve status of a feature that fails to
// regenerate.
#include "SolverFixture.h"

#include "core/frame/TagCasts.h"
#include "core/objects/TagManager.h"
#include "model/features/Feature.h"
#include "model/features/FeatureProcedureData.h"
#include "model/features/FeatureSolverServices.h"
#include "model/features/InteractionFeatures.h"
#include "model/references/Reference.h"
#include "solver/RigidGroup.h"
#include "solver/SolverFeature.h"
#include "solver/operations/SolverOperation.h"
#include "solver/Stars.h"

namespace QEL {
namespace testing {
namespace {

int s_procedureCalls = 0;

// Counts its calls and reports failure.
void FailingProcedure(int interactionTag, int dataTag)
{
    ++s_procedureCalls;
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    if (data)
        data->SetResult(ResultTypeFail);
}

class SolverFeatureTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        s_procedureCalls = 0;
        m_block = brennik::build::Block();
        m_top = BlockFace(m_block, 0, 0, 1);
        m_side = BlockFace(m_block, 1, 0, 0);
    }
    Feature* MakeFeature(FeatureType type, int entity, Instance* instance = nullptr)
    {
        Feature* feature = Feature::Create(m_interaction, type);
        feature->AddReference(Reference::Create(m_interaction, entity, instance));
        feature->SetProcedure(&FailingProcedure, nullptr);
        return feature;
    }

    // A complex feature on one placement of the block with its profile on another, in the
    // Solver with both stars; its frame lines and start transform are checked present.
    SolverFeature* AddProfiledFeature(Feature*& feature)
    {
        m_placed = Place(m_block, Moved(50, 0, 0));
        m_profileInstance = Place(m_block, Moved(0, 10, 40, 0.5));
        m_solver->CreateBodyStars({m_placed, m_profileInstance});
        feature = MakeFeature(FeatureTypeComplexRecreate, m_top, m_placed);
        feature->AddProfileReference(Reference::Create(m_interaction, m_side, m_profileInstance));
        m_solver->AddFeature(feature);
        SolverFeature* solverFeature = m_solver->FindSolverFeature(feature);
        EXPECT_NE(solverFeature, nullptr);
        if (!solverFeature || !solverFeature->GetStartXform() || !solverFeature->GetFrameLineA() ||
            !solverFeature->GetFrameLineB()) {
            ADD_FAILURE() << "no profile frame";
            return nullptr;
        }
        return solverFeature;
    }

    int m_block = 0;
    int m_top = 0;
    int m_side = 0;
    Instance* m_placed = nullptr;
    Instance* m_profileInstance = nullptr;
};

TEST_F(SolverFeatureTest, OnlyAFeatureNotTreatedAsSimpleDrivesItsReferences)
{
    Feature* simple = MakeFeature(FeatureTypeSimple, m_side);
    Feature* complex = MakeFeature(FeatureTypeComplexRecreate, m_top);
    m_solver->DefineFeatureData({simple, complex, nullptr});

    ASSERT_NE(m_solver->FindSolverFeature(simple), nullptr);
    SolverFeature* solverFeature = m_solver->FindSolverFeature(complex);
    ASSERT_NE(solverFeature, nullptr);
    EXPECT_EQ(m_solver->FindSolverFeature(nullptr), nullptr);
    EXPECT_TRUE(solverFeature->IsFixed());

    Geometry* top = Geom(m_top);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->IsProceduralGNode());
    EXPECT_EQ(solverFeature->GetProceduralGeometryBaseSet().count(top), 1u);
    EXPECT_FALSE(Geom(m_side)->IsProceduralGNode());

    struct Case {
        int entity;
        bool usedByReference, nonSimple, driven;
    };
    for (const Case& c : {Case{m_top, true, true, true}, Case{m_side, true, false, false},
                          Case{BlockFace(m_block, 0, 0, -1), false, false, false}}) {
        SCOPED_TRACE(c.entity);
        EXPECT_EQ(IsUsedByFeatureReference(*m_interaction, c.entity), c.usedByReference);
        EXPECT_EQ(Solver::HasNonSimpleFeatureOnEntity(m_interaction, c.entity), c.nonSimple);
        EXPECT_EQ(m_solver->IsUsingProceduralObject(m_interaction, c.entity, true, false), c.driven);
    }
}

// No procedure regenerates a simple feature (nor one treated as simple): its faces are held as
// one rigid group, so dragging one of them carries the others along by the same move.
TEST_F(SolverFeatureTest, ASimpleFeatureMovesRigidlyWithItsFaces)
{
    ASSERT_TRUE(m_interaction->AddSelectedReference(Reference::Create(m_interaction, m_top, nullptr)));
    for (const bool profiled : {false, true}) {
        SCOPED_TRACE(profiled);
        m_solver.reset(new Solver());
        Feature* feature = MakeFeature(FeatureTypeSimple, m_top);
        if (profiled)
            feature->AddProfileReference(Reference::Create(m_interaction, m_side, nullptr));
        else
            feature->AddReference(Reference::Create(m_interaction, m_side, nullptr));
        m_solver->AddFeature(feature);
        SolverFeature* solverFeature = m_solver->FindSolverFeature(feature);
        ASSERT_NE(solverFeature, nullptr);
        RigidGroup* group = solverFeature->GetRigidGroup();
        ASSERT_NE(group, nullptr);
        ASSERT_EQ(group->GetReferences().size(), 2u);
        EXPECT_EQ(group->GetReferences()[1]->GetEntityTag(), m_side);
        // Made once: asking again keeps the group.
        solverFeature->MakeRigidGroup();
        EXPECT_EQ(solverFeature->GetRigidGroup(), group);

        Geom(m_top)->AddToZMR();
        Geom(m_side)->AddToZMR();
        const double start[3] = {5, 10, 30}, up[3] = {0, 0, 1}, to[3] = {5, 10, 35};
        SolverDragLinear drag(m_interaction, start, up, start);
        drag.AddToSolver(m_solver.get());
        drag.SetDragPosition(to);
        ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
        ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
        EXPECT_LT(Distance(Translation(Geom(m_top)), Vec(0, 0, 5)), 1e-9);
        EXPECT_LT(Distance(Translation(Geom(m_side)), Vec(0, 0, 5)), 1e-9);
    }
    // A recreated feature is regenerated by its procedure instead and gets no group.
    m_solver.reset(new Solver());
    Feature* recreated = MakeFeature(FeatureTypeComplexRecreate, m_top);
    m_solver->AddFeature(recreated);
    EXPECT_EQ(m_solver->FindSolverFeature(recreated)->GetRigidGroup(), nullptr);
}

// A face a feature is built on as its profile or parent keeps a geometry of its own when a rigid
// group takes it, and is not counted as driven when such faces are excluded; a plain reference
// is neither.
TEST_F(SolverFeatureTest, ProfileAndParentFacesStandOnTheirOwn)
{
    const int bottom = BlockFace(m_block, 0, 0, -1);
    const int front = BlockFace(m_block, 0, 1, 0);
    Feature* feature = MakeFeature(FeatureTypeComplexRecreate, m_top);
    feature->AddProfileReference(Reference::Create(m_interaction, m_side, nullptr));
    feature->AddDependents(Reference::Create(m_interaction, bottom, nullptr));
    m_solver->AddFeature(feature);

    struct Case {
        int entity;
        bool reference, profile, parent;
    };
    for (const Case& c : {Case{m_top, true, false, false}, Case{m_side, false, true, false},
                          Case{bottom, false, false, true}, Case{front, false, false, false}}) {
        SCOPED_TRACE(c.entity);
        EXPECT_EQ(IsUsedByFeatureReference(*m_interaction, c.entity), c.reference);
        EXPECT_EQ(IsUsedByFeatureProfileReference(*m_interaction, c.entity), c.profile);
        EXPECT_EQ(IsUsedByFeatureParentReference(*m_interaction, c.entity), c.parent);
        const bool standsAlone = c.profile || c.parent;
        EXPECT_EQ(m_solver->IsUsingProceduralObject(m_interaction, c.entity, false, true),
                  c.entity != front && !standsAlone);

        std::list<Geometry*> before;
        m_solver->FindGeometry(m_interaction, c.entity, before);
        // The face the feature drives is refused; the others make a group.
        RigidGroup* group = m_solver->MakeRigidGroup({Reference::Create(m_interaction, c.entity, nullptr)}, false);
        EXPECT_EQ(group != nullptr, c.entity != m_top);
        std::list<Geometry*> after;
        m_solver->FindGeometry(m_interaction, c.entity, after);
        EXPECT_EQ(after.size() > before.size(), standsAlone && before.empty());
        if (standsAlone) {
            EXPECT_NE(m_solver->FindGeometry(GeometryKey(c.entity, nullptr)), nullptr);
        }
    }
}

TEST_F(SolverFeatureTest, TheMovedMarkAndProfileTransformReachTheSolversFeature)
{
    Feature* feature = MakeFeature(FeatureTypeComplexRecreate, m_top);
    Xform unused;
    EXPECT_FALSE(GetSolverFeatureProfileXform(m_solver.get(), feature, unused));
    EXPECT_FALSE(MarkSolverFeatureMoved(m_solver.get(), feature));

    m_solver->AddFeature(feature);
    SolverFeature* solverFeature = m_solver->FindSolverFeature(feature);
    ASSERT_NE(solverFeature, nullptr);
    EXPECT_TRUE(MarkSolverFeatureMoved(m_solver.get(), feature));
    EXPECT_TRUE(solverFeature->GetMoved());
    // Without a profile the transform is the identity.
    Xform profile = Moved(1, 2, 3);
    EXPECT_TRUE(GetSolverFeatureProfileXform(m_solver.get(), feature, profile));
    EXPECT_TRUE(profile.IsClose(Xform(), 1e-12, 1e-12));
}

TEST_F(SolverFeatureTest, AProfileFrameCarriesTheStartTransformThroughTheSolve)
{
    Feature* feature = nullptr;
    SolverFeature* solverFeature = AddProfiledFeature(feature);
    ASSERT_NE(solverFeature, nullptr);
    const Xform start = MultiplyXforms(m_placed->GetXform().GetInverse(), m_profileInstance->GetXform());
    EXPECT_TRUE(solverFeature->GetStartXform()->IsClose(start, 1e-9, 1e-9));
    // A solve that moves nothing leaves the start transform, read either way.
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    for (bool useSetChange : {false, true}) {
        SCOPED_TRACE(useSetChange);
        EXPECT_TRUE(solverFeature->GetCurrentProfileToLocalFeatureXform(useSetChange).IsClose(start, 1e-8, 1e-9));
    }
    Xform read;
    EXPECT_TRUE(GetSolverFeatureProfileXform(m_solver.get(), feature, read));
    EXPECT_TRUE(read.IsClose(start, 1e-8, 1e-9));
}

// How one frame line's change shows in the profile transform: a line that only slid along
// itself did not move the profile, any other change carries the start transform along.
TEST_F(SolverFeatureTest, AFrameLineSlidAlongItselfKeepsTheStartTransform)
{
    Feature* feature = nullptr;
    SolverFeature* solverFeature = AddProfiledFeature(feature);
    ASSERT_NE(solverFeature, nullptr);
    GeometryBase* lines[2] = {solverFeature->GetFrameLineA(), solverFeature->GetFrameLineB()};
    const Xform start = *solverFeature->GetStartXform();

    auto along = [&](int line, double distance) {
        Dir direction;
        lines[line]->GetDirection(direction);
        Xform slide;
        slide.translation = direction * distance;
        return slide;
    };
    Xform across;
    across.translation = Vec(0, 0, 3);
    Xform turned = Moved(0, 0, 0, 0.2);
    struct Case {
        const char* name;
        int line;  // the line that moved, 2 for both
        Xform change;
        bool keepsStart;
    };
    for (const Case& c : {Case{"a slid", 0, along(0, 2.5), true}, Case{"b slid", 1, along(1, -4.0), true},
                          Case{"a moved across", 0, across, false}, Case{"b turned", 1, turned, false},
                          Case{"both moved alike", 2, across, false}}) {
        SCOPED_TRACE(c.name);
        tessik_test::ResetControls();
        double m[4][4];
        c.change.Get4x4(m);
        for (int i = 0; i < 2; ++i)
            if (c.line == i || c.line == 2)
                tessik_test::ForceGNodeChange(lines[i], m);
        const Xform expected = c.keepsStart ? start : MultiplyXforms(c.change, start);
        EXPECT_TRUE(solverFeature->GetCurrentProfileToLocalFeatureXform(false).IsClose(expected, 1e-8, 1e-9));
    }
}

TEST_F(SolverFeatureTest, AFeatureThatFailsToRegenerateGivesTheSolveStatus)
{
    // Nothing moved and no update asked for: the feature is not run and the solve succeeds.
    // Asked to update, the run fails (the feature has no placed body to work on).
    for (bool updateRequired : {false, true}) {
        SCOPED_TRACE(updateRequired);
        m_solver.reset(new Solver());
        Feature* feature = MakeFeature(FeatureTypeComplexRecreate, m_top);
        feature->SetUpdateRequired(updateRequired);
        m_solver->AddFeature(feature);
        ASSERT_NE(Geom(m_top), nullptr);
        EXPECT_EQ(m_solver->SolveSystem(), updateRequired ? SolveStatusClassC : SolveStatusSolved);
    }
    EXPECT_EQ(s_procedureCalls, 0);
}

// What the recording procedure saw of the main body when the run called it.
struct SolvedRunRecord {
    int side = 0;
    int calls = 0;
    double sideX = 0.0;
    bool hadProfileXform = false;
};
SolvedRunRecord s_run;

void RecordingProcedure(int interactionTag, int dataTag)
{
    ++s_run.calls;
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    Position point;
    Dir normal;
    EvaluateFaceMidpoint(s_run.side, &point, &normal);
    s_run.sideX = point.x;
    s_run.hadProfileXform = data && data->GetProfileXform();
}

int CountPartitionMarksOf(int entity)
{
    int count = 0;
    int* marks = nullptr;
    BQ_PARTITION_ask_pmarks(GetEntityPartition(entity), &count, &marks);
    BQ_MEMORY_free(marks);
    return count;
}

double FaceX(int face)
{
    Position point;
    Dir normal;
    EvaluateFaceMidpoint(face, &point, &normal);
    return point.x;
}

// A complex feature of the boss on a 100 x 60 x 10 plate, asked to update, with the plate's +x
// side (seen through a placement of the plate) depending on it and a profile on a block; the
// solve pushes that side out to 115 from the fixed -x side.
class SolvedFeatureRunTest : public SolverFeatureTest {
protected:
    void SetUp() override
    {
        SolverFeatureTest::SetUp();
        Build(Xform());
    }
    void Build(const Xform& placement, double width = 115.0)
    {
        m_solver.reset(new Solver());
        m_plate = brennik::build::PlateWithHoles();
        m_plateSide = BlockFace(m_plate, 1, 0, 0);
        s_run = SolvedRunRecord();
        s_run.side = m_plateSide;
        const int bossTop = TopAt(16.0);
        const std::vector<int> cylinders = OfClass(BodyFaces(m_plate), 4002);
        Instance* placed = Place(m_plate, placement);
        m_feature = Feature::Create(m_interaction, FeatureTypeComplexRecreate);
        m_feature->AddReference(Reference::Create(m_interaction, bossTop, nullptr));
        for (int cylinder : cylinders)
            if (IsBossSide(cylinder))
                m_feature->AddReference(Reference::Create(m_interaction, cylinder, nullptr));
        ASSERT_EQ(m_feature->GetReferenceCount(), 2);
        m_feature->AddDependents(Reference::Create(m_interaction, m_plateSide, placed));
        m_feature->AddProfileReference(Reference::Create(m_interaction, m_top, nullptr));
        m_feature->SetUpdateRequired(true);
        m_solver->AddFeature(m_feature);
        ASSERT_NE(Geom(bossTop), nullptr);
        Geometry* opposite = Geom(BlockFace(m_plate, -1, 0, 0), placed);
        opposite->AddToZMR();
        opposite->Fix(true);
        Geometry* side = Geom(m_plateSide, placed);
        ASSERT_NE(side, nullptr);
        Bond2(ZMR3_DISTANCE, opposite, side, width);
    }
    int TopAt(double height)
    {
        for (int face : OfClass(BodyFaces(m_plate), 4001)) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (std::abs(point.z - height) < 1e-9 && normal.z > 0.5)
                return face;
        }
        return 0;
    }
    static bool IsBossSide(int cylinder)
    {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(cylinder, &point, &normal);
        return std::abs(std::hypot(point.x - 50, point.y - 45) - 8) < 1e-9;
    }
    int m_plate = 0;
    int m_plateSide = 0;
    Feature* m_feature = nullptr;
};

TEST_F(SolvedFeatureRunTest, TheProcedureRunsWithTheDependentWhereTheSolvePutIt)
{
    m_feature->SetProcedure(&RecordingProcedure, nullptr);
    const int marks = CountPartitionMarksOf(m_plate);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_EQ(s_run.calls, 1);
    EXPECT_NEAR(s_run.sideX, 115.0, 1e-9);
    EXPECT_TRUE(s_run.hadProfileXform);
    EXPECT_TRUE(m_solver->FindSolverFeature(m_feature)->GetMoved());
    // The boss was cut out and the solver's geometry of its top now stands for the cut face.
    Geometry* top = m_solver->FindGeometry(GeometryKey(m_feature->GetReference(0)->GetEntityTag(), nullptr));
    ASSERT_NE(top, nullptr);
    EXPECT_NE(top->GetAltTopol(), 0);
    EXPECT_NE(top->GetAltTopol(), top->GetEntity());
    // The run gives the main body back as it found it; applying the solve is the update's.
    EXPECT_NEAR(FaceX(m_plateSide), 100.0, 1e-9);
    EXPECT_EQ(CountPartitionMarksOf(m_plate), marks);
}

// The solve moves the side where its placement puts it; the plate's face moves in the plate's
// own frame, so the placed side lands where the solve put it.
TEST_F(SolvedFeatureRunTest, SolvedTransformsMoveTheDependentFacesInTheModel)
{
    for (const Xform& placement : {Xform(), Moved(200, 50, 0, M_PI / 2)}) {
        SCOPED_TRACE(placement.translation.x);
        Build(placement);
        const double before = brennik::build::Volume(m_plate);
        EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
        EXPECT_EQ(m_feature->ApplySolvedTransforms(m_solver.get()), 0);
        // The side moved out by 15 on its own tag, and the plate grew by that slab.
        EXPECT_NEAR(FaceX(m_plateSide), 115.0, 1e-9);
        EXPECT_EQ(BlockFace(m_plate, 1, 0, 0), m_plateSide);
        EXPECT_NEAR(brennik::build::Volume(m_plate), before + 15 * 60 * 10, 1e-6);
        EXPECT_TRUE(m_solver->FindSolverFeature(m_feature)->GetMoved());
    }
    // Without a solve there is nothing to read the moves from.
    EXPECT_EQ(m_feature->ApplySolvedTransforms(nullptr), 1);
}

// Narrowed to 5, the plate would lose its boss and holes: the add-on refuses that change, and
// the run fails before the procedure, with the plate's partition given back to the run's mark.
TEST_F(SolvedFeatureRunTest, ASolvedMoveTheAddOnRefusesFailsTheRunBeforeTheProcedure)
{
    Build(Xform(), 5.0);
    m_feature->SetProcedure(&RecordingProcedure, nullptr);
    const int marks = CountPartitionMarksOf(m_plate);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusClassC);
    EXPECT_EQ(s_run.calls, 0);
    EXPECT_NEAR(FaceX(m_plateSide), 100.0, 1e-9);
    EXPECT_EQ(CountPartitionMarksOf(m_plate), marks);
    EXPECT_EQ(m_feature->ApplySolvedTransforms(m_solver.get()), ResultTypeFail);
    EXPECT_NEAR(FaceX(m_plateSide), 100.0, 1e-9);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
