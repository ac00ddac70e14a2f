// A face pattern's spacing driven as the current operation: a grid of holes whose X spacing is
// set, stepped and updated through the operation calls.
#include "../../core/frame/ApiTestFixture.h"

#include "api/edits/QelDragOperationApi.h"
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelFacePatternQueryApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/kernel/KernelFacade.h"

#include <cmath>
#include <map>
#include <set>

namespace QEL {
namespace testing {
namespace {

// The plate's 3 x 2 grid of holes, 15 apart along X and 30 along Y.
class PatternSpacingOperationTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_plate = brennik::build::PlateWithHolePatterns();
        std::set<int> faces;
        GetBodyFaces(m_plate, faces);
        for (int face : faces) {
            Position at;
            if (GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr) ==
                KernelClassCylinder) {
                m_holes[{std::lround(at.x), std::lround(at.y)}] = Ref(face);
                m_holeFaces[face] = at;
            }
        }
        m_xLine = Ref(LineInPart(1, 0, 0));
        m_yLine = Ref(LineInPart(0, 1, 0));
    }
    int Ref(int entity) { return CreateReference(m_tag, entity, 0, &m_result); }
    int LineInPart(double dx, double dy, double dz)
    {
        const int line = brennik::build::FreeLine(0, 0, 10, dx, dy, dz);
        BQ_PART_add_geoms(m_plate, 1, &line);
        return line;
    }
    int Grid(int xDirection)
    {
        Array<Array<int>> cells;
        for (long y : {25L, 55L})
            for (long x : {15L, 30L, 45L}) {
                const int hole = m_holes.at({x, y});
                cells.Add(Array<int>(1, &hole));
            }
        return LoadRectangularFacePattern(m_tag, cells, 3, 2, 15, 30, xDirection, m_yLine, &m_result);
    }

    int m_tag = 0;
    int m_plate = 0;
    int m_xLine = 0;
    int m_yLine = 0;
    std::map<std::pair<long, long>, int> m_holes;
    // Each hole face with where it started.
    std::map<int, Position> m_holeFaces;
    ResultType m_result = ResultTypeOk;
};

TEST_F(PatternSpacingOperationTest, XSpacingIsSetSteppedAndUpdated)
{
    const int hole = m_holes.at({15L, 25L}), above = m_holes.at({15L, 55L});
    Array<Array<int>> column;
    column.Add(Array<int>(1, &hole));
    column.Add(Array<int>(1, &above));
    const int onlyY = LoadRectangularFacePattern(m_tag, column, 1, 2, 0, 30, 0, m_yLine, &m_result);
    ASSERT_NE(onlyY, 0);
    OperationSetDragRectangularFacePatternXSpacing(m_tag, onlyY, &m_result);
    EXPECT_EQ(m_result, ResultTypeFail) << "no X direction to space along";
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeNone);
    const int grid = Grid(m_xLine);
    // The occurrences move as whole groups, as the one-shot spacing edit has them.
    FacePatternSetRigidOccurrences(m_tag, grid, true, &m_result);

    OperationSetDragRectangularFacePatternXSpacing(m_tag, grid, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeDragRectangularFacePatternXSpacing);
    EXPECT_EQ(OperationGetDragValue(m_tag, grid, &m_result), 15.0);
    EXPECT_EQ(OperationGetDragValue(m_tag, 0, &m_result), 0.0);
    EXPECT_EQ(m_result, ResultTypeOk);
    Array<int> objects;
    EXPECT_EQ(OperationGetObjects(m_tag, &objects, &m_result), 1);
    EXPECT_EQ(GetArrayVector(objects), std::vector<int>{grid});

    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    OperationStart(m_tag, &m_result);
    OperationStepDragRectangularFacePatternYSpacing(m_tag, grid, 40, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationNotSet) << "the edit spaces X";
    OperationStepDragRectangularFacePatternXSpacing(m_tag, onlyY, 17, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationNotSet) << "the edit spaces another pattern";
    OperationStepDragRectangularFacePatternXSpacing(m_tag, grid, 17, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    // The full configure of the operation applies what the one-shot edit applies: column i of
    // the grid moves 2i along X, no hole moves along Y, and the plate keeps its volume. The
    // column pattern sharing the first hole, without rigid occurrences, keeps its spacing.
    const double volume = brennik::build::Volume(m_plate);
    EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_NEAR(RectangularFacePatternGetXSpacing(m_tag, grid, &m_result), 17.0, 1e-9);
    EXPECT_NEAR(RectangularFacePatternGetYSpacing(m_tag, grid, &m_result), 30.0, 1e-9);
    EXPECT_NEAR(RectangularFacePatternGetYSpacing(m_tag, onlyY, &m_result), 30.0, 1e-9);
    // Column i moves 2i against the first hole, whatever the grid as a whole did.
    const auto centre = [](int hole) {
        Position at;
        EXPECT_EQ(GetStandardGeometry(hole, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr),
                  KernelClassCylinder);
        return at;
    };
    double shift = 0.0;
    for (const auto& hole : m_holeFaces)
        if (std::lround(hole.second.x) == 15 && std::lround(hole.second.y) == 25)
            shift = centre(hole.first).x - hole.second.x;
    for (const auto& hole : m_holeFaces) {
        const Position at = centre(hole.first);
        const Position& was = hole.second;
        const bool inGrid = was.x < 60;
        const double column = std::round((was.x - 15) / 15.0);
        EXPECT_NEAR(at.x, inGrid ? was.x + shift + 2 * column : was.x, 1e-9) << was.x << ", " << was.y;
        EXPECT_NEAR(at.y, was.y, 1e-9) << was.x << ", " << was.y;
    }
    EXPECT_NEAR(brennik::build::Volume(m_plate), volume, 1e-6);
    OperationEnd(m_tag, &m_result);
    OperationClear(m_tag, &m_result);
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeNone);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
