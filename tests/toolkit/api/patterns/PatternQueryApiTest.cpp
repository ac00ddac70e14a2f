// The face-pattern query and edit calls as an application makes them, over a plate with a
// 3 x 2 grid of holes and six holes about an axis.
#include "../../core/frame/ApiTestFixture.h"

#include "api/model/QelFacePatternApi.h"
#include "api/model/QelFacePatternQueryApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/kernel/KernelFacade.h"
#include "solver/operations/SolverOperation.h"

#include <cmath>
#include <map>
#include <set>

namespace QEL {
namespace testing {
namespace {

class PatternQueryApiTest : public ApiTest {
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
                KernelClassCylinder)
                m_holes[{std::lround(at.x), std::lround(at.y)}] = Ref(face);
        }
        m_xLine = Ref(LineInPart(0, 0, 10, 1, 0, 0));
        m_yLine = Ref(LineInPart(0, 0, 10, 0, 1, 0));
        m_axis = Ref(LineInPart(90, 40, 0, 0, 0, 1));
    }
    int Ref(int entity) { return CreateReference(m_tag, entity, 0, &m_result); }
    int LineInPart(double x, double y, double z, double dx, double dy, double dz)
    {
        const int line = brennik::build::FreeLine(x, y, z, dx, dy, dz);
        BQ_PART_add_geoms(m_plate, 1, &line);
        return line;
    }
    int Hole(long x, long y) { return m_holes.at({x, y}); }
    static Array<Array<int>> Occurrences(const std::vector<std::vector<int>>& lists)
    {
        Array<Array<int>> occurrences;
        for (const std::vector<int>& list : lists)
            occurrences.Add(Array<int>(static_cast<int>(list.size()), list.data()));
        return occurrences;
    }
    int Grid(int yDirection)
    {
        Array<Array<int>> cells = Occurrences({{Hole(15, 25)}, {Hole(30, 25)}, {Hole(45, 25)},
                                               {Hole(15, 55)}, {Hole(30, 55)}, {Hole(45, 55)}});
        return LoadRectangularFacePattern(m_tag, cells, 3, 2, 15, 30, m_xLine, yDirection, &m_result);
    }
    int Circle()
    {
        std::vector<std::vector<int>> lists;
        for (int k = 0; k < 6; ++k)
            lists.push_back({Hole(std::lround(90 + 20 * std::cos(k * M_PI / 3)),
                                  std::lround(40 + 20 * std::sin(k * M_PI / 3)))});
        Array<Array<int>> occurrences = Occurrences(lists);
        return LoadClosedCircularFacePattern(m_tag, occurrences, m_axis, &m_result);
    }
    int Free()
    {
        // The first copy lacks its second face.
        Array<Array<int>> occurrences = Occurrences({{Hole(15, 25), Hole(30, 25)}, {Hole(15, 55), 0}});
        Array<Double4x4> transforms;
        Double4x4 up{};
        for (int d = 0; d < 4; ++d)
            up.m[d][d] = 1.0;
        up.m[1][3] = 30.0;
        transforms.Add(up);
        return LoadUserDefinedFacePattern(m_tag, occurrences, transforms, &m_result);
    }

    int m_tag = 0;
    int m_plate = 0;
    std::map<std::pair<long, long>, int> m_holes;
    int m_xLine = 0, m_yLine = 0, m_axis = 0;
    ResultType m_result = ResultTypeOk;
};

// The index calls count only their own kind, whatever was loaded in between.
TEST_F(PatternQueryApiTest, PatternsAreFoundByIndexAmongTheirKind)
{
    const int grid = Grid(m_yLine);
    const int free = Free();
    const int circle = Circle();
    const int secondGrid = Grid(m_yLine);
    ASSERT_TRUE(grid && free && circle && secondGrid);
    struct Case {
        const char* kind;
        int (*count)(int, ResultType*);
        int (*at)(int, int, ResultType*);
        std::vector<int> patterns;
    };
    for (const Case& c : {Case{"grid", GetRectangularFacePatternCount, GetRectangularFacePattern, {grid, secondGrid}},
                          Case{"circle", GetCircularFacePatternCount, GetCircularFacePattern, {circle}},
                          Case{"free", GetUserDefinedFacePatternCount, GetUserDefinedFacePattern, {free}}}) {
        SCOPED_TRACE(c.kind);
        const int count = static_cast<int>(c.patterns.size());
        EXPECT_EQ(c.count(m_tag, &m_result), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(c.at(m_tag, i, &m_result), c.patterns[i]);
        for (int beyond : {count, -1}) {
            EXPECT_EQ(c.at(m_tag, beyond, &m_result), 0);
            EXPECT_EQ(m_result, ResultTypeFail);
        }
    }
}

TEST_F(PatternQueryApiTest, ParametersAndOccurrencesReadBackAsLoaded)
{
    const int grid = Grid(m_yLine);
    const int circle = Circle();
    const int free = Free();
    EXPECT_EQ(RectangularFacePatternGetXCount(m_tag, grid, &m_result), 3);
    EXPECT_EQ(RectangularFacePatternGetYCount(m_tag, grid, &m_result), 2);
    EXPECT_EQ(RectangularFacePatternGetXSpacing(m_tag, grid, &m_result), 15.0);
    EXPECT_EQ(RectangularFacePatternGetYSpacing(m_tag, grid, &m_result), 30.0);
    EXPECT_EQ(RectangularFacePatternGetXDirectionReference(m_tag, grid, &m_result), m_xLine);
    EXPECT_EQ(RectangularFacePatternGetYDirectionReference(m_tag, grid, &m_result), m_yLine);
    EXPECT_NEAR(CircularFacePatternGetSpacing(m_tag, circle, &m_result), M_PI / 3, 1e-12);
    EXPECT_EQ(CircularFacePatternGetAxisReference(m_tag, circle, &m_result), m_axis);
    EXPECT_TRUE(CircularFacePatternGetIsClosed(m_tag, circle, &m_result));
    EXPECT_EQ(FacePatternGetOccurrenceCount(m_tag, circle, &m_result), 6);

    // A missing face reads 0; a second call appends to what the array holds.
    Array<int> occurrence;
    FacePatternGetOccurrence(m_tag, free, 1, occurrence, &m_result);
    FacePatternGetOccurrence(m_tag, free, 1, occurrence, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(occurrence), (std::vector<int>{Hole(15, 55), 0, Hole(15, 55), 0}));
    FacePatternGetOccurrence(m_tag, free, 2, occurrence, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(occurrence.GetSize(), 4);

    EXPECT_FALSE(FacePatternGetRigidOccurrences(m_tag, grid, &m_result));
    FacePatternSetRigidOccurrences(m_tag, grid, true, &m_result);
    EXPECT_TRUE(FacePatternGetRigidOccurrences(m_tag, grid, &m_result));

    // The transform carrying one occurrence onto another; an index outside leaves the matrix.
    double matrix[4][4] = {};
    UserDefinedFacePatternGetTransform(m_tag, free, 0, 1, matrix, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(matrix[1][3], 30.0);
    UserDefinedFacePatternGetTransform(m_tag, free, 1, 1, matrix, &m_result);
    EXPECT_EQ(matrix[1][3], 0.0);
    EXPECT_EQ(matrix[0][0], 1.0);
    matrix[0][0] = 7.0;
    UserDefinedFacePatternGetTransform(m_tag, free, 0, 2, matrix, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(matrix[0][0], 7.0);

    UserDefinedFacePatternDivorceOccurrence(m_tag, free, 2, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    UserDefinedFacePatternDivorceOccurrence(m_tag, free, 1, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(FacePatternGetOccurrenceCount(m_tag, free, &m_result), 1);
}

// A tag of the wrong kind, an unknown interaction or a null matrix are refused with or without
// argument checks, and each call answers its own failure value.
TEST_F(PatternQueryApiTest, WrongTagsAndANullMatrixAreRefusedChecksOnOrOff)
{
    const int grid = Grid(m_yLine);
    const int circle = Circle();
    const int free = Free();
    for (const bool checks : {true, false}) {
        SCOPED_TRACE(checks);
        OptionSetCheckArguments(m_tag, checks, &m_result);
        EXPECT_EQ(RectangularFacePatternGetXCount(m_tag, circle, &m_result), 1);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        EXPECT_EQ(RectangularFacePatternGetYCount(kUnknownTag, grid, &m_result), 1);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        EXPECT_EQ(RectangularFacePatternGetXSpacing(kUnknownTag, grid, &m_result), 0.0);
        EXPECT_EQ(CircularFacePatternGetSpacing(m_tag, grid, &m_result), 0.0);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        UserDefinedFacePatternDivorceOccurrence(m_tag, grid, 0, &m_result);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        EXPECT_EQ(RectangularFacePatternEditXSpacing(m_tag, circle, 20.0, &m_result), UpdateUnknown);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        UserDefinedFacePatternGetTransform(m_tag, free, 0, 0, nullptr, &m_result);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
    }
}

// Setting the rigid flag changes the pattern: a minimised journal keeps it and leaves out the
// read that follows.
TEST_F(PatternQueryApiTest, SettingRigidOccurrencesIsJournalledAsAChange)
{
    const int grid = Grid(m_yLine);
    OpenJournalFile();
    SetJournalMinimised(true);
    FacePatternSetRigidOccurrences(m_tag, grid, true, &m_result);
    FacePatternGetRigidOccurrences(m_tag, grid, &m_result);
    std::vector<std::string> names;
    for (const XMLTreeNode& record : Records(ReadJournal()))
        names.push_back(Attribute(record, "name"));
    EXPECT_EQ(names, std::vector<std::string>{"FacePatternSetRigidOccurrences"});
}

TEST_F(PatternQueryApiTest, ASpacingEditNeedsItsDirectionAndNoCurrentOperation)
{
    Array<Array<int>> column = Occurrences({{Hole(15, 25)}, {Hole(15, 55)}});
    const int onlyY = LoadRectangularFacePattern(m_tag, column, 1, 2, 0, 30, 0, m_yLine, &m_result);
    ASSERT_NE(onlyY, 0);
    EXPECT_EQ(RectangularFacePatternEditXSpacing(m_tag, onlyY, 20.0, &m_result), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_NE(RectangularFacePatternEditYSpacing(m_tag, onlyY, 35.0, &m_result), UpdateUnknown);

    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    SolverEvaluate* current = new SolverEvaluate(interaction);
    interaction->SetCurrentSolverOperation(current);
    EXPECT_EQ(RectangularFacePatternEditYSpacing(m_tag, onlyY, 35.0, &m_result), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeDragActive);
    interaction->SetCurrentSolverOperation(nullptr);
    delete current;
}

// A spacing that pushes the holes into the circle of holes beside them solves, but the bodies
// cannot take it: the update fails to apply, the model is as it was, and the call says so.
TEST_F(PatternQueryApiTest, ASpacingTheBodiesCannotTakeFailsAndLeavesTheModel)
{
    const int grid = Grid(m_yLine);
    const auto centres = [&] {
        std::map<int, std::pair<double, double>> at;
        for (const auto& hole : m_holes) {
            Position centre;
            GetStandardGeometry(ReferenceGetEntity(m_tag, hole.second, &m_result), nullptr, nullptr, &centre, nullptr,
                                nullptr, nullptr, nullptr);
            at[hole.second] = {centre.x, centre.y};
        }
        return at;
    };
    const auto before = centres();
    const double volume = brennik::build::Volume(m_plate);
    // At 25 the last column of holes runs into the circle of holes.
    EXPECT_EQ(RectangularFacePatternEditXSpacing(m_tag, grid, 25.0, &m_result), UpdateChangeFailed);
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_EQ(RectangularFacePatternGetXSpacing(m_tag, grid, &m_result), 15.0);
    EXPECT_EQ(centres(), before);
    EXPECT_NEAR(brennik::build::Volume(m_plate), volume, 1e-6);

    // One it can take is applied.
    EXPECT_EQ(RectangularFacePatternEditXSpacing(m_tag, grid, 17.0, &m_result), UpdateApplied);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_NEAR(RectangularFacePatternGetXSpacing(m_tag, grid, &m_result), 17.0, 1e-9);
    EXPECT_NE(centres(), before);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
