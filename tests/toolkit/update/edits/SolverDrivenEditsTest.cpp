// The one-step value edits run through the real update on real bodies: what moves, by how
// much, what stays, and that a failed update leaves the bodies as they were.
#include "../../solver/SolverFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "update/edits/SolverDrivenEdits.h"

#include <cmath>
#include <map>

namespace QEL {
namespace testing {
namespace {

// The centre of each hole of the plate, by its face.
std::map<int, Vec> HoleCentres(int plate)
{
    std::map<int, Vec> centres;
    for (int face : OfClass(BodyFaces(plate), KernelClassCylinder)) {
        Position at;
        GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
        centres[face] = Vec(at.x, at.y, at.z);
    }
    return centres;
}

// The plate's 3 x 2 grid of holes at x 15, 30, 45 and y 25, 55, with X and Y direction lines.
class PatternSpacingEditTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_plate = brennik::build::PlateWithHolePatterns();
        std::map<std::pair<long, long>, int> holes;
        for (const auto& hole : HoleCentres(m_plate))
            holes[{std::lround(hole.second.x), std::lround(hole.second.y)}] = hole.first;
        const auto occurrence = [&](int x, int y) {
            m_holes.push_back(holes.at({x, y}));
            return std::vector<Reference*>{Reference::Create(m_interaction, m_holes.back(), nullptr)};
        };
        std::vector<Reference*> seed{Reference::Create(m_interaction, holes.at({15, 25}), nullptr)};
        m_grid = RectangularFacePattern::Create(m_interaction, seed, 3, 2, 15.0, 30.0, Line(1, 0), Line(0, 1));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                std::vector<Reference*> cell = occurrence(15 + 15 * x, 25 + 30 * y);
                m_grid->SetOccurrence(cell, x, y);
            }
    }
    // A direction of the grid, held where it is as the application would hold it.
    Reference* Line(double dx, double dy)
    {
        int line = brennik::build::FreeLine(0, 0, 10, dx, dy, 0);
        BQ_PART_add_geoms(m_plate, 1, &line);
        Reference* reference = Reference::Create(m_interaction, line, nullptr);
        Relation::CreateUnary(m_interaction, RelationTypeFixed, reference);
        return reference;
    }

    int m_plate = 0;
    RectangularFacePattern* m_grid = nullptr;
    std::vector<int> m_holes;  // occurrence order
};

TEST_F(PatternSpacingEditTest, AnXSpacingEditMovesOccurrenceIByTheChangeTimesI)
{
    const std::map<int, Vec> before = HoleCentres(m_plate);
    EXPECT_EQ(EditRectangularPatternXSpacing(m_interaction, m_grid, 17.0), UpdateApplied);
    const std::map<int, Vec> after = HoleCentres(m_plate);
    const Vec first = after.at(m_holes.front()) - before.at(m_holes.front());
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const Vec moved = after.at(m_holes[i]) - before.at(m_holes[i]) - first;
        EXPECT_NEAR(moved.x, 2.0 * (i % 3), 1e-7);
        EXPECT_NEAR(moved.y, 0.0, 1e-7);
    }
    EXPECT_NEAR(m_grid->GetXSpacing(), 17.0, 1e-9);
    EXPECT_NEAR(m_grid->GetYSpacing(), 30.0, 1e-9);
    EXPECT_FALSE(m_grid->GetRigidOccurrences()) << "the pattern's own flag is kept";
}

// The position of a planar face along its own normal direction's axis (0 x, 1 y, 2 z).
double PlaneAt(int face, int axis)
{
    Position at;
    GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
    return axis == 0 ? at.x : axis == 1 ? at.y : at.z;
}

class ValueEditTest : public SolverTest {};

TEST_F(ValueEditTest, OffsetFacesTakesOneValueForAllOrOneEach)
{
    struct Case {
        std::vector<double> offsets;
        double volume;
    };
    // Top, +X and +Y sides of a 10 x 20 x 30 block.
    for (const Case& c : {Case{{2.0, 2.0, 2.0}, 12 * 22 * 32}, Case{{1.0, 2.0, 3.0}, 12 * 23 * 31}}) {
        const int block = brennik::build::Block(10, 20, 30);
        const std::vector<int> faces{BlockFace(block, 0, 0, 1), BlockFace(block, 1, 0, 0), BlockFace(block, 0, 1, 0)};
        ResultType result = ResultTypeFail;
        EXPECT_EQ(DoOffsetFaces(m_interaction, faces, c.offsets, nullptr, &result), UpdateApplied);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_NEAR(PlaneAt(faces[0], 2), 30 + c.offsets[0], 1e-9);
        EXPECT_NEAR(PlaneAt(faces[1], 0), 10 + c.offsets[1], 1e-9);
        EXPECT_NEAR(brennik::build::Volume(block), c.volume, 1e-6);
    }
}

// A 2 thick box: the wall's given side moves by the whole change, or each side by half.
TEST_F(ValueEditTest, AWallThickensOnTheGivenSideOrOnBoth)
{
    struct Case {
        const char* what;
        bool symmetric;
        double thickness;
        double givenMoves;
        double partnerMoves;
    };
    for (const Case& c : {Case{"one side, 2 to 3", false, 3.0, 1.0, 0.0}, Case{"both sides, 2 to 4", true, 4.0, 1.0, 1.0}}) {
        SCOPED_TRACE(c.what);
        const int box = brennik::build::ThinWalledBox(2.0);
        // The outermost face facing +X, and the face on the other side of its wall.
        int outer = 0;
        for (int face : OfClass(BodyFaces(box), KernelClassPlane)) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (normal.x > 0.5 && (outer == 0 || point.x > PlaneAt(outer, 0)))
                outer = face;
        }
        int inner = 0;
        for (int face : OfClass(BodyFaces(box), KernelClassPlane)) {
            std::vector<int> side, partners;
            double thickness = 0.0;
            if (FindShellCluster(face, &side, &partners, &thickness) && partners == std::vector<int>{outer})
                inner = face;
        }
        ASSERT_NE(inner, 0) << "the inner face of the +X wall";
        const double innerAt = PlaneAt(inner, 0), outerAt = PlaneAt(outer, 0);
        ResultType result = ResultTypeFail;
        EXPECT_EQ(DoEditShellThickness(m_interaction, {inner}, c.thickness, c.symmetric, &result), UpdateApplied);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_NEAR(innerAt - PlaneAt(inner, 0), c.givenMoves, 1e-9) << "the inner side moves inwards";
        EXPECT_NEAR(PlaneAt(outer, 0) - outerAt, c.partnerMoves, 1e-9);
    }
}

TEST_F(ValueEditTest, ABlendTakesItsNewRadiusWhileTheFacesUnderItStay)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = OfClass(BodyFaces(body), KernelClassCylinder).front();
    std::vector<int> unders;
    GetBlendUnderFaces(blend, 1e-6, &unders);
    ASSERT_EQ(unders.size(), 2u);
    std::map<int, Position> before;
    for (int under : unders)
        GetStandardGeometry(under, nullptr, nullptr, &before[under], nullptr, nullptr, nullptr, nullptr);
    ResultType result = ResultTypeFail;
    EXPECT_EQ(DoEditBlendRadius(m_interaction, {blend}, 4.0, &result), UpdateApplied);
    EXPECT_EQ(result, ResultTypeOk);
    double radius = 0.0;
    ASSERT_TRUE(IdentifyBlendFace(blend, 1e-6, true, &radius));
    EXPECT_NEAR(radius, 4.0, 1e-9);
    for (int under : unders) {
        Position at;
        GetStandardGeometry(under, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
        EXPECT_TRUE(at == before[under]) << under;
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
