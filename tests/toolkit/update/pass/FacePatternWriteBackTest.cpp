// Writing a solved face-pattern spacing back into the pattern: only what the Solver holds a
// spacing node for is written, and a pattern whose occurrences are not rigid refuses a change.
#include "../../solver/SolverFixture.h"

#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/PatternStar.h"
#include "update/pass/UpdateManager.h"

#include <cmath>
#include <map>

namespace QEL {
namespace testing {
namespace {

struct WriteBackCase {
    bool rigid;
    bool written;
    double x;
};

// A 3 x 2 grid of the plate's holes at spacings 15 and 30 whose Y direction is a reference on
// the plate body, which has no constrainable geometry: the Solver has no Y spacing node.
class GridWriteBackTest : public SolverTest, public ::testing::WithParamInterface<WriteBackCase> {
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
        const auto hole = [&](int x, int y) {
            std::vector<Reference*> occurrence{Reference::Create(m_interaction, holes.at({x, y}), nullptr)};
            return occurrence;
        };
        std::vector<Reference*> seed = hole(15, 25);
        Reference* xDirection = Reference::Create(m_interaction, brennik::build::FreeLine(0, 0, 0, 1, 0, 0), nullptr);
        Reference* noGeometry = Reference::Create(m_interaction, plate, nullptr);
        ASSERT_NE(noGeometry, nullptr);
        m_grid = RectangularFacePattern::Create(m_interaction, seed, 3, 2, 15.0, 30.0, xDirection, noGeometry);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                std::vector<Reference*> occurrence = hole(15 + 15 * x, 25 + 30 * y);
                m_grid->SetOccurrence(occurrence, x, y);
            }
        m_interaction->CreateUpdateManager();
        m_manager = m_interaction->GetUpdateManager();
        m_manager->EnsureSolverCreated();
        Solver* solver = m_manager->GetSolver();
        FacePatternStar* star = solver->AddFacePattern(m_grid);
        ASSERT_NE(star, nullptr);
        ASSERT_NE(star->GetXNode(), nullptr);
        ASSERT_EQ(star->GetYNode(), nullptr);
        solver->AddToFacePatternStarMap(seed.front()->GetEntityTag(), nullptr);
        solver->GetOrMakeGeometry(xDirection)->Fix(true);
    }

    RectangularFacePattern* m_grid = nullptr;
    UpdateManager* m_manager = nullptr;
};

// An X spacing edit writes X only where the occurrences are rigid, and never touches Y.
TEST_P(GridWriteBackTest, AnXSpacingEditKeepsTheYSpacingAndNeedsRigidOccurrences)
{
    const WriteBackCase c = GetParam();
    m_grid->SetRigidOccurrences(c.rigid);
    ASSERT_NE(m_manager->GetSolver()->AddXSpacingDimension(m_grid, 20.0, true), nullptr);
    ASSERT_EQ(m_manager->GetSolver()->SolveSystem(), SolveStatusSolved);
    EXPECT_EQ(m_manager->WriteBackFacePatterns(), c.written);
    EXPECT_NEAR(m_grid->GetXSpacing(), c.x, 1e-9);
    EXPECT_EQ(m_grid->GetYSpacing(), 30.0);
}

INSTANTIATE_TEST_SUITE_P(RigidAndNot, GridWriteBackTest,
                         ::testing::Values(WriteBackCase{true, true, 20.0}, WriteBackCase{false, false, 15.0}));

}  // namespace
}  // namespace testing
}  // namespace QEL
