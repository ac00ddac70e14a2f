// Takes a block with two blended edges, cuts one blend face into a sheet, pastes a small block
// onto the body where its instance places it, shells the body open at its bottom, and finds the
// blends left; then, on fresh blocks with two blends that meet at a corner, makes the blends
// again in each order. After each step writes the body's face count and volume (and the blends
// found) to <output folder>/one_shot_operations.txt.
#include "api/model/QelInstanceApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "api/operations/QelShellApi.h"
#include "core/enums/EnumNames.h"
#include "core/calls/QelInteractionApi.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
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

// The planar face whose outward normal is -z, lowest of them.
int BottomFace(int body)
{
    int bottom = 0;
    double depth = 1e300;
    for (int face : Faces(body)) {
        int surface = 0;
        int cls = 0;
        bool sense = true;
        BQ_FACE_ask_oriented_surf(face, &surface, &sense);
        BQ_ENTITY_ask_class(surface, &cls);
        BQ_PLANE_sf_t plane;
        if (cls != BQ_CLASS_plane || BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors)
            continue;
        const double nz = sense ? plane.basis_set.axis.coord[2] : -plane.basis_set.axis.coord[2];
        if (nz < -0.5 && plane.basis_set.location.coord[2] < depth) {
            depth = plane.basis_set.location.coord[2];
            bottom = face;
        }
    }
    return bottom;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "one_shot_operations.txt", out))
        return failed;
    StartExampleJournal(argv[1], "one_shot");

    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    const int body = brennik::build::BlockWithTwoBlends(2.0, 3.0);
    auto report = [&](const char* step) {
        out << step << ": " << ResultTypeToString(result) << ", " << Faces(body).size() << " faces, volume "
            << brennik::build::Volume(body) << "\n";
    };
    report("loaded");

    // Cut the blend of radius 3 into a sheet of its own.
    int blend = 0;
    for (int face : Faces(body)) {
        double radius = 0.0;
        if (IsBlendFace(tag, face, radius, &result) && std::fabs(radius - 3.0) < 1e-9)
            blend = face;
    }
    Array<int> cut;
    cut.Add(blend);
    int partition = 0;
    BQ_ENTITY_ask_partition(body, &partition);
    const int sheet = Cut(tag, cut, partition, CreateCutOptions(tag, &result), &result);
    report("cut a blend face");
    out << "  the sheet's instance: " << (sheet != 0 ? "made" : "none") << "\n";

    // Paste a 4 x 4 x 4 block placed half out of the body's +x side.
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const double moved[4][4] = {{1, 0, 0, 8}, {0, 1, 0, 8}, {0, 0, 1, 8}, {0, 0, 0, 1}};
    const int target = CreateInstance(tag, body, identity, &result);
    const int tool = CreateInstance(tag, brennik::build::Block(4.0, 4.0, 4.0), moved, &result);
    Paste(tag, tool, target, CreatePasteOptions(tag, &result), &result);
    report("pasted a block moved");

    // Shell 1.0 thick inwards, open at the bottom (the blends run along the top edges, and a wall
    // opened on a face a blend meets tangentially would end in a knife edge).
    const int shell = CreateShellOptions(tag, &result);
    Array<int> pierce;
    pierce.Add(BottomFace(body));
    ShellOptionsSetPierceFaces(tag, shell, pierce, &result);
    Shell(tag, 1.0, body, shell, &result);
    report("shelled open at the bottom");

    Array<int> blends;
    double radius = 0.0;
    const bool found = FindBlends(tag, Faces(body).front(), BlendIdentifyTypeAllWithinBody, blends, radius, &result);
    out << "blends found: " << (found ? blends.GetSize() : 0) << ", common radius " << radius << " ("
        << ResultTypeToString(result) << ")\n";

    // Two blends that meet, made again in each order: where they meet, the later rolls over
    // the earlier, so the two bodies differ there.
    for (double first : {2.0, 3.0}) {
        const int blended = brennik::build::BlockWithTwoBlends(2.0, 3.0);
        Array<int> earlier, later;
        for (int face : Faces(blended)) {
            double r = 0.0;
            if (IsBlendFace(tag, face, r, &result))
                (std::fabs(r - first) < 1e-9 ? earlier : later).Add(face);
        }
        ReorderBlends(tag, earlier, later, CreateReorderBlendsOptions(tag, &result), &result);
        out << "blends made again, radius " << first << " first: " << ResultTypeToString(result) << ", "
            << Faces(blended).size() << " faces, volume " << brennik::build::Volume(blended) << "\n";
    }

    StopExampleJournal({tag});
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return 0;
}
