// The face-change builder: which change each face gets (the first wins, a chain beats a solved
// change, shells bring their partners), how solved changes of curved faces become transforms
// or new surfaces, and the one add-on call it makes.

#include "../../transaction/ModelFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "core/objects/SolutionChangeData.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellClusterData.h"
#include "model/operations/FaceChangeBuilder.h"

#include <hxr_test.h>

namespace QEL {
namespace testing {
namespace {

class FaceChangeBuilderTest : public ModelTest {
protected:
    FaceChangeBuilder& Builder()
    {
        if (!m_builder)
            m_builder = std::make_unique<FaceChangeBuilder>(m_interaction, true, &m_solution, &m_chains,
                                                            &m_clusters, 0);
        return *m_builder;
    }
    // The record the builder made for the face; null when the face has none.
    const HXR_FACE_change_s* RecordOf(int face)
    {
        const std::vector<HXR_FACE_change_s>& records = Builder().GetChangeRecords();
        const std::vector<int>& faces = Builder().GetFaces();
        for (size_t i = 0; i < faces.size(); ++i)
            if (faces[i] == face)
                return &records[static_cast<size_t>(Builder().GetChangeIndices()[i])];
        return nullptr;
    }
    static SolvedFaceChange Solved(int mask, double first, double second = 0.0)
    {
        SolvedFaceChange change;
        change.m_mask = mask;
        change.m_firstValueChange = first;
        change.m_secondValueChange = second;
        return change;
    }
    static double Radius(int face)
    {
        double radius = 0.0;
        GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &radius, nullptr, nullptr);
        return radius;
    }

    SolutionChangeData m_solution;
    ReblendChainArray m_chains;
    ShellClusterDataArray m_clusters;
    std::unique_ptr<FaceChangeBuilder> m_builder;
};

TEST_F(FaceChangeBuilderTest, FirstChangeOfAFaceWinsAndTheFaceIsListedOnce)
{
    const HXR_FACE_change_surface_o_s merge{1, HXR_MERGE_no};
    Builder().AddOffsetChange(m_top, 1.5, nullptr);
    Builder().AddSurfaceChange(m_top, 0, true, &merge);
    Builder().AddReblendChange(m_top, 3.0);
    ASSERT_EQ(Builder().GetFaces(), std::vector<int>{m_top});
    const HXR_FACE_change_s* record = RecordOf(m_top);
    EXPECT_EQ(record->change, HXR_CHANGE_offset);
    EXPECT_EQ(record->offset, 1.5);
    const auto* block = static_cast<const HXR_FACE_change_offset_o_s*>(record->options);
    EXPECT_EQ(block->version, 1);
    EXPECT_EQ(block->reference_face, 0);
    EXPECT_TRUE(Builder().GetReblendedFaces().empty());
}

TEST_F(FaceChangeBuilderTest, ChainBeatsSolvedChangeAndReblendsEveryFaceWithTheNewRadius)
{
    const int body = brennik::build::BlockWithBlendChain(2.0);
    std::vector<int> blends;
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces)
        if (IdentifyBlendFace(face, 1e-6, true, nullptr))
            blends.push_back(face);
    ASSERT_EQ(blends.size(), 3u);
    std::vector<int> added;
    m_chains.AddChain(ReblendChain(blends, 2.0), added);

    Builder().AddSolverChanges({{blends[1], Solved(SolvedChangeRadius, 0.5)}}, nullptr, body);

    EXPECT_EQ(Builder().GetReblendedFaces(), blends);
    for (int blend : blends) {
        const HXR_FACE_change_s* record = RecordOf(blend);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->change, HXR_CHANGE_reblend);
        EXPECT_EQ(static_cast<const HXR_FACE_change_reblend_o_s*>(record->options)->radius, 2.5);
        ASSERT_NE(m_solution.FindEntityChange(blend), nullptr);
        EXPECT_EQ(m_solution.FindEntityChange(blend)->GetReblend(), 2.5);
    }
}

TEST_F(FaceChangeBuilderTest, ChainKeepingItsRadiusIsReblendedWithZero)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(body, KernelClassCylinder);
    std::vector<int> added;
    m_chains.AddChain(ReblendChain({blend}, 2.0), added);
    Builder().AddSolverChanges({{blend, Solved(SolvedChangeRadius, 1e-9)}}, nullptr, body);
    EXPECT_EQ(static_cast<const HXR_FACE_change_reblend_o_s*>(RecordOf(blend)->options)->radius, 0.0);
}

TEST_F(FaceChangeBuilderTest, CylinderRadiusChangeIsAScaleAboutItsAxis)
{
    const int body = brennik::build::TurnedPart();
    const int cylinder = FaceOfClass(body, KernelClassCylinder);
    const double radius = Radius(cylinder);
    Builder().AddSolvedChange(cylinder, Solved(SolvedChangeRadius, 0.5));
    const HXR_FACE_change_s* record = RecordOf(cylinder);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->change, HXR_CHANGE_transform);
    BQ_TRANSF_sf_t scale;
    ASSERT_EQ(BQ_TRANSF_ask(record->transform, &scale), BQ_ERROR_no_errors);
    // An equal scale: every column of the linear part has the length of the radius ratio.
    const double ratio = std::sqrt(scale.matrix[0][0] * scale.matrix[0][0] + scale.matrix[1][0] * scale.matrix[1][0] +
                                   scale.matrix[2][0] * scale.matrix[2][0]);
    EXPECT_NEAR(ratio, (radius + 0.5) / radius, 1e-12);
    EXPECT_NEAR(m_solution.FindEntityChange(cylinder)->GetRadius(), radius + 0.5, 1e-12);
}

// Which masks make a change on which surface: a plane takes only a pure transform, a cone
// only a half-angle change whose new angle is possible.
TEST_F(FaceChangeBuilderTest, MasksThatChangeNothingLeaveTheFaceUnhandled)
{
    const int body = brennik::build::TurnedPart();
    const int cone = FaceOfClass(body, KernelClassCone);
    double halfAngle = 0.0;
    GetStandardGeometry(cone, nullptr, nullptr, nullptr, nullptr, nullptr, &halfAngle, nullptr);
    struct Case {
        const char* what;
        int face;
        SolvedFaceChange change;
    };
    const std::vector<Case> cases = {
        {"plane, radius", m_top, Solved(SolvedChangeRadius, 1.0)},
        {"plane, transform and radius", m_top, Solved(SolvedChangeTransform | SolvedChangeRadius, 1.0)},
        {"cone, negative half angle", cone, Solved(SolvedChangeHalfAngle, -halfAngle - 0.1)},
        {"moved cone, half angle of a right angle", cone,
         Solved(SolvedChangeTransform | SolvedChangeHalfAngle, 1.5707963267948966 - halfAngle)},
        {"cone, radius", cone, Solved(SolvedChangeRadius, 1.0)},
    };
    for (const Case& c : cases) {
        FaceChangeBuilder builder(m_interaction, false, nullptr, nullptr, nullptr, 0);
        builder.AddSolvedChange(c.face, c.change);
        EXPECT_TRUE(builder.GetFaces().empty()) << c.what;
    }
    Builder().AddSolvedChange(cone, Solved(SolvedChangeHalfAngle, -halfAngle - 0.1));
    EXPECT_NEAR(m_solution.FindEntityChange(cone)->GetHalfAngle(), -0.1, 1e-12);
}

TEST_F(FaceChangeBuilderTest, TorusAndConeChangesMakeNewSurfaces)
{
    const int body = brennik::build::TurnedPart();
    const int torus = FaceOfClass(body, KernelClassTorus);
    const int cone = FaceOfClass(body, KernelClassCone);
    BQ_TORUS_sf_t torusBefore;
    BQ_CONE_sf_t coneBefore;
    int surface = 0;
    bool sense = false;
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(torus, &surface, &sense), BQ_ERROR_no_errors);
    ASSERT_EQ(BQ_TORUS_ask(surface, &torusBefore), BQ_ERROR_no_errors);
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(cone, &surface, &sense), BQ_ERROR_no_errors);
    ASSERT_EQ(BQ_CONE_ask(surface, &coneBefore), BQ_ERROR_no_errors);

    Builder().AddSolvedChange(torus, Solved(SolvedChangeRadius | SolvedChangeMinorRadius, 0.25, -0.125));
    Builder().AddSolvedChange(cone, Solved(SolvedChangeHalfAngle, 0.05));

    const HXR_FACE_change_s* torusRecord = RecordOf(torus);
    ASSERT_NE(torusRecord, nullptr);
    EXPECT_EQ(torusRecord->change, HXR_CHANGE_replace_surface);
    BQ_TORUS_sf_t torusAfter;
    ASSERT_EQ(BQ_TORUS_ask(torusRecord->surface, &torusAfter), BQ_ERROR_no_errors);
    EXPECT_NEAR(torusAfter.major_radius, torusBefore.major_radius + 0.25, 1e-12);
    EXPECT_NEAR(torusAfter.minor_radius, torusBefore.minor_radius - 0.125, 1e-12);
    EXPECT_EQ(GetEntityPartition(torusRecord->surface), GetEntityPartition(torus));

    const HXR_FACE_change_s* coneRecord = RecordOf(cone);
    ASSERT_NE(coneRecord, nullptr);
    BQ_CONE_sf_t coneAfter;
    ASSERT_EQ(BQ_CONE_ask(coneRecord->surface, &coneAfter), BQ_ERROR_no_errors);
    EXPECT_NEAR(coneAfter.half_angle, coneBefore.half_angle + 0.05, 1e-12);
    EXPECT_NEAR(m_solution.FindEntityChange(torus)->GetMinorRadius(), torusBefore.minor_radius - 0.125, 1e-12);
}

// The new cone and torus carry the face with the sense read from the old ones: the torus made
// again with its radii keeps the body, and the cone opened wider narrows the neck.
TEST_F(FaceChangeBuilderTest, TorusAndConeChangesApplyToTheTurnedPart)
{
    const int body = brennik::build::TurnedPart();
    const double volume = brennik::build::Volume(body);
    const int torus = FaceOfClass(body, KernelClassTorus);
    Builder().AddSolvedChange(torus, Solved(SolvedChangeRadius | SolvedChangeMinorRadius, 0.0, 0.0));
    ASSERT_EQ(Builder().Apply(nullptr), 0);
    EXPECT_NEAR(brennik::build::Volume(body), volume, 1e-6);

    FaceChangeBuilder cone(m_interaction, false, nullptr, nullptr, nullptr, 0);
    cone.AddSolvedChange(FaceOfClass(body, KernelClassCone), Solved(SolvedChangeHalfAngle, 0.05));
    ASSERT_EQ(cone.Apply(nullptr), 0);
    EXPECT_LT(brennik::build::Volume(body), volume - 1.0);
}

TEST_F(FaceChangeBuilderTest, ReplacingOneShellSideOffsetsTheOtherByMinusTheThickness)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    std::vector<int> side;
    std::vector<int> partners;
    double thickness = 0.0;
    int face = 0;
    std::set<int> faces;
    GetBodyFaces(box, faces);
    for (int f : faces)
        if (FindShellCluster(f, &side, &partners, &thickness) && !partners.empty()) {
            face = f;
            break;
        }
    ASSERT_NE(face, 0);
    int surface = 0;
    ASSERT_EQ(BQ_FACE_ask_surf(face, &surface), BQ_ERROR_no_errors);
    ReplaceOptions options(nullptr);
    options.SetMaintainShell(true);

    Builder().AddReplaceFacesChanges({face}, {surface}, {1}, &options);

    EXPECT_EQ(RecordOf(face)->change, HXR_CHANGE_replace_surface);
    for (int partner : partners) {
        const HXR_FACE_change_s* record = RecordOf(partner);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->change, HXR_CHANGE_offset);
        EXPECT_NEAR(record->offset, -thickness, 1e-12);
        EXPECT_EQ(static_cast<const HXR_FACE_change_offset_o_s*>(record->options)->reference_face, side.front());
    }

    // Both sides listed: each keeps its own change and no cluster is known.
    ShellClusterDataArray clusters;
    ReblendChainArray chains;
    FaceChangeBuilder both(m_interaction, false, nullptr, &chains, &clusters, 0);
    std::vector<int> listed = {face, partners.front()};
    both.AddReplaceFacesChanges(listed, {surface, surface}, {1, 1}, &options);
    EXPECT_EQ(clusters.GetFaceCount(), 0);
    EXPECT_EQ(both.GetFaces(), listed);
}

TEST_F(FaceChangeBuilderTest, ApplyMakesOneCallAndAnEmptyBuilderNone)
{
    FaceChangeBuilder empty(m_interaction, false, nullptr, nullptr, nullptr, 0);
    const double before = GetLastFaceChangeTime();
    EXPECT_EQ(empty.Apply(nullptr), 0);
    EXPECT_EQ(GetLastFaceChangeTime(), before);

    const int moved = FaceAt(m_block, 1, 0, 0, 10);
    Builder().AddOffsetChange(moved, 2.0, nullptr);
    ASSERT_EQ(Builder().Apply(nullptr), 0);
    EXPECT_GE(GetLastFaceChangeTime(), 0.0);
    EXPECT_NE(FaceAt(m_block, 1, 0, 0, 12), 0);
}

TEST_F(FaceChangeBuilderTest, FailedApplyLeavesTheBodyAsItWas)
{
    int witness = 0;
    ASSERT_EQ(BQ_ENTITY_copy(m_block, &witness), BQ_ERROR_no_errors);
    Builder().AddOffsetChange(FaceAt(m_block, 1, 0, 0, 10), 2.0, nullptr);
    hxr::test::FailNextCall("HXR_FACE_change", HXR_ERROR_algorithm_failed);
    EXPECT_EQ(Builder().Apply(nullptr), HXR_ERROR_algorithm_failed);
    EXPECT_TRUE(BodiesEqual(m_block, witness));
    EXPECT_EQ(CountTrackingData(), 0u);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
