// Features in the Solver: which entities a feature drives, the profile frame that tells how far
// a profile moved against its feature, and the solve status of a feature that fails to
// regenerate.
#include "SolverFixture.h"

#include "core/TagCasts.h"
#include "core/TagManager.h"
#include "model/Feature.h"
#include "model/FeatureProcedureData.h"
#include "model/FeatureSolverServices.h"
#include "model/Reference.h"
#include "solver/SolverFeature.h"
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

    int m_block = 0;
    int m_top = 0;
    int m_side = 0;
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
        EXPECT_EQ(Solver::IsUsedByFeatureReference(m_interaction, c.entity), c.usedByReference);
        EXPECT_EQ(Solver::HasNonSimpleFeatureOnEntity(m_interaction, c.entity), c.nonSimple);
        EXPECT_EQ(m_solver->IsUsingProceduralObject(m_interaction, c.entity, true, false), c.driven);
    }
    // A reference of a feature is not counted as driven when references are excluded.
    EXPECT_FALSE(m_solver->IsUsingProceduralObject(m_interaction, m_top, false, true));
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
    // The feature sits on one placement of the block, its profile on another.
    Instance* placed = Place(m_block, Moved(50, 0, 0));
    Instance* profileInstance = Place(m_block, Moved(0, 10, 40, 0.5));
    m_solver->CreateBodyStars({placed, profileInstance});
    Feature* feature = MakeFeature(FeatureTypeComplexRecreate, m_top, placed);
    feature->AddProfileReference(Reference::Create(m_interaction, m_side, profileInstance));
    m_solver->AddFeature(feature);
    SolverFeature* solverFeature = m_solver->FindSolverFeature(feature);
    ASSERT_NE(solverFeature, nullptr);
    ASSERT_NE(solverFeature->GetStartXform(), nullptr);
    ASSERT_NE(solverFeature->GetFrameLineA(), nullptr);
    ASSERT_NE(solverFeature->GetFrameLineB(), nullptr);

    const Xform start = MultiplyXforms(placed->GetXform().GetInverse(), profileInstance->GetXform());
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

}  // namespace
}  // namespace testing
}  // namespace QEL
