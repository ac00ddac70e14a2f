// Sessions of the face patterns on the plate with a 3 x 2 grid of holes and six holes about an
// axis: grid, open circle and free patterns loaded, queried and edited, and their spacings
// driven as operations.
#include "ReplayedSession.h"

#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelFacePatternQueryApi.h"

#include <map>

namespace QEL {
namespace testing {
namespace {

// The plate's holes by where their axes stand, and lines of the plate along X, Y and the
// circle's axis, added before any call names the plate so the journal's copy holds them.
struct HolePlate {
    int body = 0;
    std::map<std::pair<long, long>, int> holes;
    int xLine = 0, yLine = 0, axis = 0;

    int Hole(long x, long y) const
    {
        const auto found = holes.find({x, y});
        return found == holes.end() ? 0 : found->second;
    }
};

int LineOfPart(int body, double x, double y, double z, double dx, double dy, double dz)
{
    const int line = brennik::build::FreeLine(x, y, z, dx, dy, dz);
    BQ_PART_add_geoms(body, 1, &line);
    return line;
}

HolePlate MakeHolePlate(SessionContext& s)
{
    HolePlate plate;
    plate.body = brennik::build::PlateWithHolePatterns();
    const int xLine = LineOfPart(plate.body, 0, 0, 10, 1, 0, 0);
    const int yLine = LineOfPart(plate.body, 0, 0, 10, 0, 1, 0);
    const int axis = LineOfPart(plate.body, 90, 40, 0, 0, 0, 1);
    for (int face : FacesOfClass(plate.body, KernelClassCylinder)) {
        Position at;
        GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
        plate.holes[{std::lround(at.x), std::lround(at.y)}] = s.Ref(face);
    }
    plate.xLine = s.Ref(xLine);
    plate.yLine = s.Ref(yLine);
    plate.axis = s.Ref(axis);
    return plate;
}

Array<Array<int>> Occurrences(const std::vector<int>& holes)
{
    Array<Array<int>> occurrences;
    for (int hole : holes)
        occurrences.Add(Array<int>(1, &hole));
    return occurrences;
}

// The six holes about (90, 40), from the angle of the first on, k of them.
std::vector<int> CircleHoles(const HolePlate& plate, int count)
{
    std::vector<int> holes;
    for (int k = 0; k < count; ++k)
        holes.push_back(plate.Hole(std::lround(90 + 20 * std::cos(k * M_PI / 3)),
                                   std::lround(40 + 20 * std::sin(k * M_PI / 3))));
    return holes;
}

// Each kind of pattern loaded and read back by index, parameters and occurrences; the grid's
// and circle's spacings edited directly.
void PatternQueries(SessionContext& s)
{
    const HolePlate plate = MakeHolePlate(s);
    Array<Array<int>> cells = Occurrences({plate.Hole(15, 25), plate.Hole(30, 25), plate.Hole(45, 25),
                                           plate.Hole(15, 55), plate.Hole(30, 55), plate.Hole(45, 55)});
    const int grid = LoadRectangularFacePattern(s.tag, cells, 3, 2, 15, 30, plate.xLine, plate.yLine, &s.result);
    Array<Array<int>> arc = Occurrences(CircleHoles(plate, 3));
    const int circle = LoadOpenCircularFacePattern(s.tag, arc, M_PI / 3, plate.axis, &s.result);

    GetRectangularFacePatternCount(s.tag, &s.result);
    GetRectangularFacePattern(s.tag, 0, &s.result);
    RectangularFacePatternGetXCount(s.tag, grid, &s.result);
    RectangularFacePatternGetYCount(s.tag, grid, &s.result);
    RectangularFacePatternGetXDirectionReference(s.tag, grid, &s.result);
    RectangularFacePatternGetYDirectionReference(s.tag, grid, &s.result);
    GetCircularFacePatternCount(s.tag, &s.result);
    GetCircularFacePattern(s.tag, 0, &s.result);
    CircularFacePatternGetSpacing(s.tag, circle, &s.result);
    CircularFacePatternGetAxisReference(s.tag, circle, &s.result);
    CircularFacePatternGetIsClosed(s.tag, circle, &s.result);
    FacePatternGetOccurrenceCount(s.tag, grid, &s.result);
    Array<int> occurrence;
    FacePatternGetOccurrence(s.tag, grid, 4, occurrence, &s.result);
    FacePatternSetRigidOccurrences(s.tag, grid, true, &s.result);
    FacePatternGetRigidOccurrences(s.tag, grid, &s.result);

    RectangularFacePatternEditYSpacing(s.tag, grid, 28, &s.result);
    // The arc is edited to the spacing it has: solved and applied, its holes stay where they are.
    CircularFacePatternEditSpacing(s.tag, circle, M_PI / 3, &s.result);
}

// A free pattern of two holes, its transform read and its second occurrence divorced.
void FreePatterns(SessionContext& s)
{
    const HolePlate plate = MakeHolePlate(s);
    Array<Array<int>> occurrences = Occurrences({plate.Hole(15, 25), plate.Hole(15, 55)});
    Array<Double4x4> transforms;
    Double4x4 up{};
    for (int d = 0; d < 4; ++d)
        up.m[d][d] = 1.0;
    up.m[1][3] = 30.0;
    transforms.Add(up);
    const int free = LoadUserDefinedFacePattern(s.tag, occurrences, transforms, &s.result);
    GetUserDefinedFacePatternCount(s.tag, &s.result);
    GetUserDefinedFacePattern(s.tag, 0, &s.result);
    double matrix[4][4];
    UserDefinedFacePatternGetTransform(s.tag, free, 0, 1, matrix, &s.result);
    UserDefinedFacePatternDivorceOccurrence(s.tag, free, 1, &s.result);
}

// The grid's X and Y spacings and the circle's spacing each driven as the operation.
void PatternSpacingOperations(SessionContext& s)
{
    const HolePlate plate = MakeHolePlate(s);
    Array<Array<int>> cells = Occurrences({plate.Hole(15, 25), plate.Hole(30, 25), plate.Hole(45, 25),
                                           plate.Hole(15, 55), plate.Hole(30, 55), plate.Hole(45, 55)});
    const int grid = LoadRectangularFacePattern(s.tag, cells, 3, 2, 15, 30, plate.xLine, plate.yLine, &s.result);
    Array<Array<int>> ring = Occurrences(CircleHoles(plate, 6));
    const int circle = LoadClosedCircularFacePattern(s.tag, ring, plate.axis, &s.result);

    const struct {
        void (*set)(int, int, ResultType*);
        void (*step)(int, int, double, ResultType*);
        int pattern;
        double to;
    } drives[] = {
        {OperationSetDragRectangularFacePatternXSpacing, OperationStepDragRectangularFacePatternXSpacing, grid, 17},
        {OperationSetDragRectangularFacePatternYSpacing, OperationStepDragRectangularFacePatternYSpacing, grid, 32},
        {OperationSetDragCircularFacePatternSpacing, OperationStepDragCircularFacePatternSpacing, circle, M_PI / 3},
    };
    for (const auto& drive : drives) {
        drive.set(s.tag, drive.pattern, &s.result);
        OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
        drive.step(s.tag, drive.pattern, drive.to, &s.result);
        OperationUpdate(s.tag, &s.result);
        OperationEnd(s.tag, &s.result);
        OperationClear(s.tag, &s.result);
    }
}

}  // namespace

std::vector<ReplaySession> PatternSessions()
{
    return {{"pattern-queries", PatternQueries},
            {"free-patterns", FreePatterns},
            {"pattern-spacing-operations", PatternSpacingOperations}};
}

}  // namespace testing
}  // namespace QEL
