// The value edits on real bodies: a blend given a new radius, a face pattern given a new
// spacing, and adaptive lift hinging the neighbours of a dragged face.
#include "../SolverFixture.h"

#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/Bonds.h"
#include "solver/RigidGroup.h"
#include "solver/operations/AdaptiveLift.h"
#include "solver/operations/AdaptiveLiftLists.h"
#include "solver/operations/BlendRadiusOp.h"
#include "solver/operations/SolverEditPatternSpacing.h"
#include "solver/operations/SolverOperation.h"

#include <algorithm>
#include <map>
#include <memory>

namespace QEL {
namespace testing {
namespace {

// A block with one blend of radius 2 along an edge.
class BlendRadiusTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_body = brennik::build::BlockWithBlend(2.0);
        const std::vector<int> blends = OfClass(BodyFaces(m_body), KernelClassCylinder);
        ASSERT_EQ(blends.size(), 1u);
        m_blend = blends.front();
    }
    // What configure does with the edit: it enters it, then hands it the blend's chain.
    void Configure(BlendRadiusOp& edit, std::vector<int>& unders)
    {
        edit.AddToSolver(m_solver.get());
        std::set<std::pair<int, Instance*>> fixed;
        unders.clear();
        edit.AddBlendChain(m_solver.get(), m_blend, unders, fixed);
        ASSERT_EQ(unders.size(), 2u);
        for (int under : unders)
            EXPECT_EQ(fixed.count({under, nullptr}), 1u);
        // A chain handed over once is not added again.
        std::vector<int> again;
        edit.AddBlendChain(m_solver.get(), m_blend, again, fixed);
        EXPECT_TRUE(again.empty());
    }
    // The radius change the last evaluation gave the blend.
    double RadiusChange()
    {
        double m[4][4], first = 0.0;
        m_solver->GetDimensionSystem()->transform(Geom(m_blend)->GetGNode(), m, &first);
        return first;
    }

    int m_body = 0;
    int m_blend = 0;
};

TEST_F(BlendRadiusTest, TheEditStartsFromTheBlendsRadiusAndReblendsItsFaces)
{
    const int planar = OfClass(BodyFaces(m_body), KernelClassPlane).front();
    BlendRadiusOp edit(m_interaction, {m_blend, planar}, nullptr);
    EXPECT_EQ(edit.GetFaces(), std::vector<int>{m_blend});
    EXPECT_TRUE(edit.GetBlendRadiusFlag());
    double radius = 0.0;
    ASSERT_EQ(edit.GetDragValue(radius), ResultTypeOk);
    EXPECT_NEAR(radius, 2.0, 1e-9);

    std::set<int> forced, never{planar};
    edit.GetChangedFaces(forced, never);
    EXPECT_EQ(forced, std::set<int>{m_blend});
    EXPECT_TRUE(never.empty());
    SolverOperation::SeedList seeds;
    edit.GetConfigureSeeds(seeds);
    EXPECT_EQ(seeds, (SolverOperation::SeedList{{m_blend, nullptr}}));

    // Faces without a blend give no radius to start from.
    BlendRadiusOp none(m_interaction, {planar}, nullptr);
    EXPECT_TRUE(none.GetFaces().empty());
    EXPECT_EQ(none.GetDragValue(radius), ResultTypeFail);
}

// Configure runs again on a new Solver (the first one gone), then the edit starts and steps to
// radius 4: the step must reach the new Solver's radius dimension, not the freed one.
TEST_F(BlendRadiusTest, AStepAfterASecondConfigureReachesTheNewSolver)
{
    const double two = 2.0;
    BlendRadiusOp edit(m_interaction, {m_blend}, &two);
    std::vector<int> unders;
    Configure(edit, unders);
    ASSERT_NE(edit.GetRadiusBond(), nullptr);
    m_solver.reset(new Solver());
    Configure(edit, unders);
    Bond* bond = edit.GetRadiusBond();
    ASSERT_NE(bond, nullptr);

    ASSERT_EQ(edit.SetDragValue(4.0), ResultTypeOk);
    double value = 0.0;
    ASSERT_TRUE(bond->GetValue(value));
    EXPECT_NEAR(value, 4.0, 1e-12);
    ASSERT_EQ(edit.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_NEAR(RadiusChange(), 2.0, 1e-9);
    for (int under : unders)
        EXPECT_EQ(Change(Geom(under)), 0) << "the faces under the blend stay";

    edit.ResetDragValues();
    EXPECT_EQ(edit.GetRadiusBond(), nullptr);
    EXPECT_TRUE(edit.GetHandledFaces().empty());
    ASSERT_EQ(edit.GetDragValue(value), ResultTypeOk);
    EXPECT_NEAR(value, 2.0, 1e-9) << "reset takes the radius from the faces again";
}

// The plate's hole grid: x 15, 30, 45 and y 25, 55, the directions along X and Y.
class PatternSpacingTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        const int plate = brennik::build::PlateWithHolePatterns();
        std::map<std::pair<long, long>, int> holes;
        for (int face : OfClass(BodyFaces(plate), KernelClassCylinder)) {
            Vec centre;
            Geom(face)->GetLocation(centre);
            holes[{std::lround(centre.x), std::lround(centre.y)}] = face;
        }
        m_x = Ref(brennik::build::FreeLine(0, 0, 0, 1, 0, 0));
        m_y = Ref(brennik::build::FreeLine(0, 0, 0, 0, 1, 0));
        std::vector<Reference*> seed{Ref(holes[{15, 25}])};
        m_grid = RectangularFacePattern::Create(m_interaction, seed, 3, 2, 15.0, 30.0, m_x, m_y);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                std::vector<Reference*> occurrence{Ref(holes[{15 + 15 * x, 25 + 30 * y}])};
                m_grid->SetOccurrence(occurrence, x, y);
                m_holes.push_back(occurrence.front()->GetEntityTag());
            }
    }
    Reference* Ref(int entity) { return Reference::Create(m_interaction, entity, nullptr); }
    // What configure does: the pattern's star with its faces and held directions.
    void Configure(SolverEditPatternSpacing& edit)
    {
        m_solver->AddFacePattern(m_grid);
        m_solver->AddToFacePatternStarMap(m_holes.front(), nullptr);
        for (Reference* direction : {m_x, m_y})
            Geom(direction->GetEntityTag())->Fix(true);
        edit.AddToSolver(m_solver.get());
    }
    Vec Moved(int hole)
    {
        double m[4][4];
        if (Change(Geom(hole), m) == 0)
            return Vec(0, 0, 0);
        Vec centre;
        Geom(hole)->GetLocation(centre);
        Vec moved = centre;
        Xform(m).TransformPoint(moved);
        return moved - centre;
    }

    RectangularFacePattern* m_grid = nullptr;
    Reference* m_x = nullptr;
    Reference* m_y = nullptr;
    std::vector<int> m_holes;  // occurrence order
};

TEST_F(PatternSpacingTest, AnXSpacingEditMovesOccurrenceIByTheChangeTimesI)
{
    std::unique_ptr<SolverEditPatternSpacing> edit(
        SolverEditPatternSpacing::CreateXSpacingEdit(m_interaction, m_grid, 15.0));
    Configure(*edit);
    ASSERT_NE(edit->GetSpacingBond(), nullptr);
    ASSERT_EQ(edit->SetDragValue(17.0), ResultTypeOk);
    ASSERT_EQ(edit->Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    const Vec first = Moved(m_holes.front());
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const Vec moved = Moved(m_holes[i]) - first;
        EXPECT_NEAR(moved.x, 2.0 * (i % 3), 1e-7);
        EXPECT_NEAR(moved.y, 0.0, 1e-7);
        EXPECT_NEAR(moved.z, 0.0, 1e-7);
    }

    // Occurrence references without Instance, then the two directions.
    SolverOperation::SeedList seeds;
    edit->GetConfigureSeeds(seeds);
    SolverOperation::SeedList expected;
    for (int hole : m_holes)
        expected.emplace_back(hole, nullptr);
    expected.emplace_back(m_x->GetEntityTag(), nullptr);
    expected.emplace_back(m_y->GetEntityTag(), nullptr);
    EXPECT_EQ(seeds, expected);

    edit->ResetDragValues();
    double spacing = 0.0;
    edit->GetDragValue(spacing);
    EXPECT_EQ(spacing, 15.0);
    EXPECT_EQ(edit->GetSpacingBond(), nullptr);
}

TEST_F(PatternSpacingTest, AKindThePatternDoesNotHaveMakesNoDimensionAndFailsTheSolve)
{
    std::unique_ptr<SolverEditPatternSpacing> edit(
        SolverEditPatternSpacing::CreateAxisSpacingEdit(m_interaction, m_grid, 1.0));
    Configure(*edit);
    EXPECT_EQ(edit->GetSpacingBond(), nullptr);
    EXPECT_EQ(edit->Solve(m_solver.get()), ResultTypeFail);
    EXPECT_EQ(m_solver->GetSolveStatus(), SolveStatusNotEvaluated);
}

// A 10 x 20 x 30 block whose top face is dragged in its plane.
class AdaptiveLiftTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        ASSERT_TRUE(m_interaction->AddSelectedReference(Reference::Create(m_interaction, m_top, nullptr)));
        Geom(m_top)->AddToZMR();
    }
    // The angle the last evaluation turned the face's normal by.
    double Tilt(int face)
    {
        double m[4][4];
        if (Change(Geom(face), m) == 0)
            return 0.0;
        Dir normal;
        Geom(face)->GetNormal(normal);
        Vec turned(m[0][0] * normal.x + m[0][1] * normal.y + m[0][2] * normal.z,
                   m[1][0] * normal.x + m[1][1] * normal.y + m[1][2] * normal.z,
                   m[2][0] * normal.x + m[2][1] * normal.y + m[2][2] * normal.z);
        return std::acos(std::min(1.0, std::abs(Dot(turned, Vec(normal.x, normal.y, normal.z)))));
    }
};

TEST_F(AdaptiveLiftTest, TheSidesOfADraggedTopTiltAboutTheirBottomEdges)
{
    ASSERT_EQ(m_interaction->SetAdaptiveLiftMode(true), ResultTypeOk);
    const double normal[3] = {0, 0, 1};
    const double start[3] = {5, 10, 30};
    SolverDragPlanar drag(m_interaction, start, normal, start);
    drag.AddToSolver(m_solver.get());
    ASSERT_NE(drag.GetDragGroup(), nullptr);
    AdaptiveLiftData& lift = drag.GetAdaptiveLiftData();
    EXPECT_EQ(lift.m_liftedFaces.size(), 4u);
    EXPECT_EQ(lift.m_constructionGeometry.size(), 4u);
    EXPECT_EQ(lift.m_constructionBonds.size(), 4u);
    EXPECT_EQ(lift.m_tippingPoints.size(), 4u);
    EXPECT_EQ(lift.m_tippingBonds.size(), 4u);
    for (GeometryBase* point : lift.m_tippingPoints) {
        Vec at;
        ASSERT_TRUE(point->GetLocation(at));
        EXPECT_NEAR(at.z, 0.0, 1e-12) << "the tipping point is at the far side from the top";
        EXPECT_TRUE(point->IsFixed());
    }
    // The lifted faces are configure's seeds too.
    SolverOperation::SeedList seeds;
    drag.GetConfigureSeeds(seeds);
    EXPECT_NE(std::find(seeds.begin(), seeds.end(), GeometryKey(m_side, nullptr)), seeds.end());

    const double to[3] = {8, 10, 30};
    drag.SetDragPosition(to);
    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Translation(Geom(m_top)), Vec(3, 0, 0)), 1e-9);
    for (int side : {m_side, BlockFace(m_block, -1, 0, 0)})
        EXPECT_NEAR(Tilt(side), std::atan(3.0 / 30.0), 1e-9) << side;
    for (int side : {BlockFace(m_block, 0, 1, 0), BlockFace(m_block, 0, -1, 0)})
        EXPECT_NEAR(Tilt(side), 0.0, 1e-9) << "a side the top slides along stays";

    // A second configure, on a new Solver, frees what the first one built.
    m_solver.reset(new Solver());
    Geom(m_top)->AddToZMR();
    drag.ResetDragValues();
    drag.AddToSolver(m_solver.get());
    EXPECT_EQ(lift.m_constructionGeometry.size(), 4u);
    EXPECT_EQ(lift.m_tippingPoints.size(), 4u);
    for (GeometryBase* line : lift.m_constructionGeometry)
        EXPECT_EQ(line->GetSolver(), m_solver.get());
}

TEST_F(AdaptiveLiftTest, NothingIsBuiltWithLiftOffOrWhileFacesStep)
{
    const double normal[3] = {0, 0, 1};
    const double start[3] = {5, 10, 30};
    for (const bool stepping : {false, true}) {
        SCOPED_TRACE(stepping);
        m_interaction->SetAdaptiveLiftMode(stepping);
        if (stepping)
            m_interaction->SetStepFaceType(StepFaceOnAllEdges);
        SolverDragPlanar drag(m_interaction, start, normal, start);
        drag.AddToSolver(m_solver.get());
        ASSERT_NE(drag.GetDragGroup(), nullptr);
        EXPECT_TRUE(drag.GetAdaptiveLiftData().m_liftedFaces.empty());
        EXPECT_TRUE(drag.GetAdaptiveLiftData().m_constructionGeometry.empty());
    }
}

// The tipping point is the candidate farthest from the hinge lines, the earlier on a tie; when
// every candidate is on a line there is none, rather than a point at the origin.
TEST(TippingPointChoiceTest, TheFarthestCandidateOrNoneWhenAllLieOnTheLines)
{
    const HingeLine left{Vec(0, 0, 30), Dir(0, 1, 0)};
    const HingeLine right{Vec(10, 0, 30), Dir(0, 1, 0)};
    struct Case {
        const char* what;
        std::vector<HingeLine> lines;
        std::vector<Vec> candidates;
        bool found;
        Vec tipping;
    };
    for (const Case& c :
         {Case{"the farthest", {left, right}, {Vec(0, 5, 20), Vec(0, 0, 0), Vec(5, 9, 25)}, true, Vec(0, 0, 0)},
          Case{"the earlier of two as far", {left, right}, {Vec(0, 3, 0), Vec(0, 7, 0)}, true, Vec(0, 3, 0)},
          Case{"all on the line", {left}, {Vec(0, 4, 30), Vec(0, -2, 30)}, false, Vec(1, 2, 3)},
          Case{"none", {left}, {}, false, Vec(1, 2, 3)}}) {
        SCOPED_TRACE(c.what);
        Vec tipping(1, 2, 3);
        EXPECT_EQ(ChooseTippingPoint(c.candidates, c.lines, tipping), c.found);
        EXPECT_LT(Distance(tipping, c.tipping), 1e-12);
    }
}

// Nothing fills the process-wide lists, so they stay absent and clearing them frees nothing.
TEST(AdaptiveLiftListsTest, AbsentListsAreNullAndClearingThemAnswersFalse)
{
    EXPECT_EQ(s_getAdaptiveLiftTippingPoints(), nullptr);
    EXPECT_EQ(s_getAdaptiveLiftNeighbours(), nullptr);
    EXPECT_FALSE(s_clearAdaptiveLiftTippingPoints());
    EXPECT_FALSE(s_clearAdaptiveLiftNeighbours());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
