// Edits values of bodies through the solver, each in one update so that relations and
// neighbours follow: offsets the top of a block whose sides are held 10 apart by a distance
// relation, thickens the walls of a thin-walled box on one side and then on both, gives a blend
// a new radius, and gives a grid of holes a new X spacing, then one that pushes the holes into
// their neighbours and is refused with the model left as it was. After each edit writes the update
// status, the result, the positions or radii that changed and the volume to
// <output folder>/value_edits.txt, journalling its run.
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelFacePatternQueryApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "api/edits/QelSolverEditApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/enums/EnumNames.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

std::vector<int> Faces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> list(faces, faces + count);
    BQ_MEMORY_free(faces);
    return list;
}

int SurfaceClass(int face, int* surface = nullptr)
{
    int surf = 0, cls = 0;
    BQ_FACE_ask_surf(face, &surf);
    BQ_ENTITY_ask_class(surf, &cls);
    if (surface)
        *surface = surf;
    return cls;
}

// The planar face whose outward normal is the axis (0 x, 1 y, 2 z) in the direction of sign,
// farthest out along it.
int OuterFace(int body, int axis, double sign)
{
    int found = 0;
    double best = -1e300;
    for (int face : Faces(body)) {
        int surface = 0;
        bool sense = true;
        BQ_FACE_ask_oriented_surf(face, &surface, &sense);
        BQ_PLANE_sf_t plane{};
        if (SurfaceClass(face) != BQ_CLASS_plane || BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors)
            continue;
        const double n = (sense ? 1.0 : -1.0) * plane.basis_set.axis.coord[axis];
        const double at = sign * plane.basis_set.location.coord[axis];
        if (n * sign > 0.5 && at > best) {
            best = at;
            found = face;
        }
    }
    return found;
}

double PlaneAt(int face, int axis)
{
    int surface = 0;
    BQ_FACE_ask_surf(face, &surface);
    BQ_PLANE_sf_t plane{};
    BQ_PLANE_ask(surface, &plane);
    return plane.basis_set.location.coord[axis];
}

// The blend's radius, or a hole's centre.
double CylinderRadius(int face)
{
    int surface = 0;
    BQ_CYL_sf_t cylinder{};
    if (SurfaceClass(face, &surface) != BQ_CLASS_cyl || BQ_CYL_ask(surface, &cylinder) != BQ_ERROR_no_errors)
        return -1.0;
    return cylinder.radius;
}

BQ_VECTOR_t CylinderCentre(int face)
{
    int surface = 0;
    BQ_CYL_sf_t cylinder{};
    SurfaceClass(face, &surface);
    BQ_CYL_ask(surface, &cylinder);
    return cylinder.basis_set.location;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream file;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "value_edits.txt", file))
        return failed;

    using namespace QEL;
    StartExampleJournal(argv[1], "value-edits");
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    std::ostringstream out;
    auto status = [&](const char* what, UpdateStatus update) {
        out << what << ": " << UpdateStatusToString(update) << ", " << ResultTypeToString(result) << "\n";
    };

    // Offset the top of a block whose sides are held 10 apart.
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    std::vector<int> sides{CreateReference(tag, OuterFace(block, 0, -1.0), 0, &result),
                           CreateReference(tag, OuterFace(block, 0, 1.0), 0, &result)};
    CreateRelation(tag, RelationTypeDistance, Array<int>(2, sides.data()), &result);
    const int top = OuterFace(block, 2, 1.0);
    Array<int> offsetTop(1, &top);
    Array<double> by;
    by.Add(2.0);
    status("offset the block's top by 2", OffsetFaces(tag, offsetTop, by, CreateOffsetFacesOptions(tag, &result), &result));
    out << "  top at z " << PlaneAt(top, 2) << ", sides at x " << PlaneAt(OuterFace(block, 0, -1.0), 0) << " and "
        << PlaneAt(OuterFace(block, 0, 1.0), 0) << ", volume " << brennik::build::Volume(block) << "\n";
    Array<double> wrongCount;
    wrongCount.Add(1.0);
    wrongCount.Add(2.0);
    status("two offsets for one face", OffsetFaces(tag, offsetTop, wrongCount, CreateOffsetFacesOptions(tag, &result), &result));

    // Thicken the walls of a thin-walled box: its outer +X side moves out from 2 to 3 thick, then
    // both sides of the wall move from 3 to 5.
    const int box = brennik::build::ThinWalledBox(2.0);
    const int outer = OuterFace(box, 0, 1.0);
    Array<int> wall(1, &outer);
    out << "box volume " << brennik::build::Volume(box) << ", outer +X side at x " << PlaneAt(outer, 0) << "\n";
    status("wall 2 to 3, one side", EditShellThickness(tag, wall, 3.0, false, &result));
    out << "  outer +X side at x " << PlaneAt(outer, 0) << ", volume " << brennik::build::Volume(box) << "\n";
    status("wall 3 to 5, both sides", EditShellThickness(tag, wall, 5.0, true, &result));
    out << "  outer +X side at x " << PlaneAt(outer, 0) << ", volume " << brennik::build::Volume(box) << "\n";
    status("wall to the thickness it has", EditShellThickness(tag, wall, 5.0, false, &result));

    // Give the blend of a block the radius 4.
    const int blended = brennik::build::BlockWithBlend(2.0);
    int blend = 0;
    for (int face : Faces(blended))
        if (CylinderRadius(face) > 0.0)
            blend = face;
    Array<int> blends(1, &blend);
    out << "blend radius " << CylinderRadius(blend) << ", volume " << brennik::build::Volume(blended) << "\n";
    status("blend radius 2 to 4", EditBlendRadius(tag, blends, 4.0, &result));
    out << "  blend radius " << CylinderRadius(blend) << ", volume " << brennik::build::Volume(blended) << "\n";

    // Give a 3 x 2 grid of holes the X spacing 17 instead of 15.
    const int plate = brennik::build::PlateWithHolePatterns();
    // The grid's directions are lines of the plate, added before any call names the plate, so
    // that the journal's copy of the plate holds them too.
    const int xLine = brennik::build::FreeLine(0, 0, 10, 1, 0, 0);
    const int yLine = brennik::build::FreeLine(0, 0, 10, 0, 1, 0);
    BQ_PART_add_geoms(plate, 1, &xLine);
    BQ_PART_add_geoms(plate, 1, &yLine);
    std::vector<int> holes;
    for (double y : {25.0, 55.0})
        for (double x : {15.0, 30.0, 45.0})
            for (int face : Faces(plate)) {
                const BQ_VECTOR_t c = CylinderCentre(face);
                if (CylinderRadius(face) > 0.0 && std::fabs(c.coord[0] - x) < 1e-6 && std::fabs(c.coord[1] - y) < 1e-6)
                    holes.push_back(face);
            }
    Array<Array<int>> cells;
    for (int hole : holes) {
        const int reference = CreateReference(tag, hole, 0, &result);
        cells.Add(Array<int>(1, &reference));
    }
    // The directions are held where they are, so the grid keeps its orientation.
    int directions[2] = {CreateReference(tag, xLine, 0, &result), CreateReference(tag, yLine, 0, &result)};
    for (int& direction : directions)
        CreateRelation(tag, RelationTypeFixed, Array<int>(1, &direction), &result);
    const int grid = LoadRectangularFacePattern(tag, cells, 3, 2, 15.0, 30.0, directions[0], directions[1], &result);
    status("hole grid X spacing 15 to 17", RectangularFacePatternEditXSpacing(tag, grid, 17.0, &result));
    out << "  X spacing " << RectangularFacePatternGetXSpacing(tag, grid, &result) << ", Y spacing "
        << RectangularFacePatternGetYSpacing(tag, grid, &result) << "; hole centres";
    for (int face : Faces(plate))
        if (CylinderRadius(face) > 0.0) {
            const BQ_VECTOR_t c = CylinderCentre(face);
            out << " (" << c.coord[0] << ", " << c.coord[1] << ")";
        }
    out << "\n";
    status("hole grid X spacing 17 to 25, into the circle of holes",
           RectangularFacePatternEditXSpacing(tag, grid, 25.0, &result));
    out << "  X spacing " << RectangularFacePatternGetXSpacing(tag, grid, &result) << "\n";

    StopExampleJournal({tag});
    file << out.str();
    std::cout << out.str();
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return file ? 0 : 1;
}
