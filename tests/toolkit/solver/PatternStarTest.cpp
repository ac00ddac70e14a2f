#include "SolverFixture.h"

#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/PatternStar.h"

#include <map>

namespace QEL {
namespace testing {
namespace {

const double s_pi = 3.141592653589793;

// The plate's holes: a 3 x 2 grid at x 15, 30, 45 and y 25, 55, and six about (90, 40) at
// radius 20, one every 60 degrees from the +X side.
class PatternStarTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_plate = brennik::build::PlateWithHolePatterns();
        for (int face : OfClass(BodyFaces(m_plate), KernelClassCylinder)) {
            Vec centre;
            Geometry* g = Geom(face);
            g->GetLocation(centre);
            m_holes[{Round(centre.x), Round(centre.y)}] = face;
        }
        ASSERT_EQ(m_holes.size(), 12u);
    }
    static long Round(double v) { return std::lround(v); }
    Reference* Ref(int entity) { return Reference::Create(m_interaction, entity, nullptr); }
    Reference* Hole(double x, double y)
    {
        const auto it = m_holes.find({Round(x), Round(y)});
        return it == m_holes.end() ? nullptr : Ref(it->second);
    }
    Reference* Line(double x, double y, double dx, double dy, double dz)
    {
        return Ref(brennik::build::FreeLine(x, y, 0, dx, dy, dz));
    }
    // Hands every occurrence's face to the star, as spreading a face of the pattern does.
    void AddFaces(FacePattern* pattern)
    {
        std::vector<Reference*> all = pattern->GetAllReferences(false);
        m_solver->AddToFacePatternStarMap(all.front()->GetEntityTag(), nullptr);
    }
    // The rigid change the last evaluation made to the hole's face.
    Vec Moved(Reference* hole)
    {
        double m[4][4];
        if (Change(Geom(hole->GetEntityTag()), m) == 0)
            return Vec(0, 0, 0);
        Vec centre;
        Geom(hole->GetEntityTag())->GetLocation(centre);
        Vec moved = centre;
        Xform(m).TransformPoint(moved);
        return moved - centre;
    }
    std::vector<int> Steps(FacePatternStar* star)
    {
        std::vector<int> steps;
        for (PatternConstraint* constraint : star->GetPatternConstraints())
            steps.push_back(constraint->GetSteps());
        return steps;
    }

    int m_plate = 0;
    std::map<std::pair<long, long>, int> m_holes;
};

TEST_F(PatternStarTest, AGridFollowsItsSpacingsByTheStepTimesTheIndex)
{
    std::vector<Reference*> seed{Hole(15, 25)};
    RectangularFacePattern* grid = RectangularFacePattern::Create(m_interaction, seed, 3, 2, 15.0, 30.0,
                                                                  Line(0, 0, 1, 0, 0), Line(0, 0, 0, 1, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::vector<Reference*> occurrence{Hole(15 + 15 * x, 25 + 30 * y)};
            grid->SetOccurrence(occurrence, x, y);
        }
    FacePatternStar* star = m_solver->AddFacePattern(grid);
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(m_solver->AddFacePattern(grid), star);
    // Four links along X, one down the first column; two constraints each.
    EXPECT_EQ(Steps(star), std::vector<int>(10, 1));
    const std::list<PatternConstraint*>& constraints = star->GetPatternConstraints();
    EXPECT_EQ(constraints.back()->GetGeom(0), star->GetStarElement(0)->GetFrameY());
    EXPECT_EQ(constraints.back()->GetGeom(1), star->GetStarElement(3)->GetFrameY());
    double spacing = 0.0;
    EXPECT_FALSE(star->GetAxisSpacing(spacing));
    EXPECT_EQ(star->GetAxisNode(), nullptr);

    AddFaces(grid);
    const int dNodes = m_solver->GetDimensionSystem()->list_d_nodes(0, nullptr, nullptr);
    AddFaces(grid);
    EXPECT_EQ(m_solver->GetDimensionSystem()->list_d_nodes(0, nullptr, nullptr), dNodes)
        << "a face added twice adds nothing";

    // The directions are held, as the model's own relations would hold them.
    for (Reference* direction : {grid->GetXDirectionReference(), grid->GetYDirectionReference()})
        Geom(direction->GetEntityTag())->Fix(true);
    ASSERT_NE(m_solver->AddXSpacingDimension(grid, 20.0, true), nullptr);
    ASSERT_NE(m_solver->AddYSpacingDimension(grid, 35.0, true), nullptr);
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    // Nothing holds the centre occurrence's face: each occurrence moves against it.
    const Vec centre = Moved(Hole(15, 25));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE(x + 3 * y);
            const Vec moved = Moved(Hole(15 + 15 * x, 25 + 30 * y)) - centre;
            EXPECT_NEAR(moved.x, 5.0 * x, 1e-7);
            EXPECT_NEAR(moved.y, 5.0 * y, 1e-7);
            EXPECT_NEAR(moved.z, 0.0, 1e-7);
        }
    ASSERT_TRUE(star->GetXSpacing(spacing));
    EXPECT_NEAR(spacing, 20.0, 1e-9);
}

TEST_F(PatternStarTest, ALinearPatternStartsAtItsFirstOccupiedOccurrenceAndStepsOverEmptyOnes)
{
    // Occurrences every 7.5 along X; only 2, 4 and 6 hold holes.
    std::vector<Reference*> none;
    RectangularFacePattern* row =
        RectangularFacePattern::Create(m_interaction, none, 7, 1, 7.5, 0.0, Line(0, 0, 1, 0, 0), nullptr);
    for (int x : {2, 4, 6}) {
        std::vector<Reference*> occurrence{Hole(7.5 * x, 25)};
        row->SetOccurrence(occurrence, x, 0);
    }
    FacePatternStar* star = m_solver->AddFacePattern(row);
    EXPECT_EQ(star->GetCentreIndex(), 2);
    EXPECT_EQ(star->GetStarElement(3), nullptr);
    EXPECT_EQ(Steps(star), (std::vector<int>{2, 2, 2, 2}));
    AddFaces(row);
    m_solver->AddXSpacingDimension(row, 10.0, true);
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    const double centre = Moved(Hole(15, 25)).x;
    for (int x : {2, 4, 6}) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(Moved(Hole(7.5 * x, 25)).x - centre, 2.5 * (x - 2), 1e-7);
    }
}

TEST_F(PatternStarTest, AClosedCircularPatternTurnsEveryOccurrenceByItsIndexAndClosesTheRing)
{
    auto at = [](int k) { return Vec(90 + 20 * std::cos(k * s_pi / 3), 40 + 20 * std::sin(k * s_pi / 3), 0); };
    std::vector<Reference*> seed{Hole(at(0).x, at(0).y)};
    CircularFacePattern* ring = CircularFacePattern::CreateClosed(m_interaction, seed, 6, Line(90, 40, 0, 0, 1));
    for (int k = 1; k < 6; ++k) {
        std::vector<Reference*> occurrence{Hole(at(k).x, at(k).y)};
        ring->SetOccurrence(occurrence, k);
    }
    FacePatternStar* star = m_solver->AddFacePattern(ring);
    EXPECT_EQ(Steps(star), std::vector<int>(12, -1));
    EXPECT_EQ(star->GetPatternConstraints().back()->GetGeom(1), star->GetStarElement(0)->GetFrameY());
    double spacing = 0.0;
    EXPECT_FALSE(star->GetXSpacing(spacing));
    AddFaces(ring);
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    ASSERT_TRUE(star->GetAxisSpacing(spacing));
    EXPECT_NEAR(spacing, s_pi / 3, 1e-12);
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(Moved(Hole(at(k).x, at(k).y)).Length(), 0.0, 1e-12) << "a satisfied ring moves nothing";

    // A closed ring cannot take another spacing: the closing link holds it.
    m_solver->AddAxisSpacingDimension(ring, s_pi / 4, true);
    EXPECT_NE(m_solver->SolveSystem(), SolveStatusSolved);
}

// A rigid group of a patterned face brings the pattern's other occurrences into the star when
// asked to, tying each to the seed; a group not asked to leaves the star as it was.
TEST_F(PatternStarTest, ARigidGroupOfAPatternedFaceSpreadsItToThePatternWhenAsked)
{
    for (bool spread : {false, true}) {
        SCOPED_TRACE(spread);
        m_solver.reset(new Solver());
        std::vector<Reference*> none;
        RectangularFacePattern* row =
            RectangularFacePattern::Create(m_interaction, none, 3, 1, 15.0, 0.0, Line(0, 0, 1, 0, 0), nullptr);
        for (int x = 0; x < 3; ++x) {
            std::vector<Reference*> occurrence{Hole(15 + 15 * x, 25)};
            row->SetOccurrence(occurrence, x, 0);
        }
        FacePatternStar* star = m_solver->AddFacePattern(row);
        ASSERT_NE(star, nullptr);
        const size_t before = star->GetStarElement(2)->GetRTConstraints().size();
        ASSERT_NE(m_solver->MakeRigidGroup({Hole(15, 25)}, spread), nullptr);
        // One more constraint ties the last occurrence's face to the seed's.
        EXPECT_EQ(star->GetStarElement(2)->GetRTConstraints().size(), before + (spread ? 1 : 0));
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
