// Drags the top face of a 10 x 20 x 30 block, held to its bottom by a distance of 30 and a
// parallel relation, step by step through the exported calls: a linear drag that is aborted
// (the model comes back), a linear drag that is ended (the model keeps it), and a drag of the
// distance's value. Prints the top and bottom positions and the volume after each step to
// <output folder>/drag.txt and journals every call into <output folder>/drag-journal.xml.
#include "api/edits/QelDragApi.h"
#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "api/edits/QelSelectionApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"
#include "core/enums/EnumNames.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// Where the face's plane crosses the Z axis.
double PlaneZ(int face)
{
    int surface = 0;
    BQ_PLANE_sf_t plane{};
    if (BQ_FACE_ask_surf(face, &surface) != BQ_ERROR_no_errors || BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors)
        return std::nan("");
    return plane.basis_set.location.coord[2];
}

// The block face whose plane is normal to Z at the height.
int FaceAtZ(int block, double z)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(block, &count, &faces);
    int found = 0;
    for (int i = 0; i < count && !found; ++i) {
        int surface = 0;
        BQ_PLANE_sf_t plane{};
        if (BQ_FACE_ask_surf(faces[i], &surface) == BQ_ERROR_no_errors &&
            BQ_PLANE_ask(surface, &plane) == BQ_ERROR_no_errors &&
            std::abs(std::abs(plane.basis_set.axis.coord[2]) - 1.0) < 1e-12 &&
            std::abs(plane.basis_set.location.coord[2] - z) < 1e-12)
            found = faces[i];
    }
    BQ_MEMORY_free(faces);
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream file;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "drag.txt", file))
        return failed;

    using namespace QEL;
    ResultType result = ResultTypeOk;
    StartExampleJournal(argv[1], "drag");
    const int tag = CreateInteraction(&result);
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    const int topFace = FaceAtZ(block, 30.0);
    const int bottomFace = FaceAtZ(block, 0.0);
    const int top = CreateReference(tag, topFace, 0, &result);
    const int bottom = CreateReference(tag, bottomFace, 0, &result);
    int pair[2] = {top, bottom};
    const int distance = CreateRelation(tag, RelationTypeDistance, Array<int>(2, pair), &result);
    CreateRelation(tag, RelationTypeParallel, Array<int>(2, pair), &result);
    AddSelection(tag, top, &result);

    std::ostringstream out;
    out << std::fixed << std::setprecision(3);
    auto model = [&](const std::string& what) {
        double volume = 0.0;
        BQ_BODY_ask_volume(block, &volume);
        out << what << ": top z " << PlaneZ(topFace) << ", bottom z " << PlaneZ(bottomFace) << ", volume " << volume
            << "\n";
    };
    auto report = [&](const std::string& what, UpdateStatus status) {
        model(what + " " + UpdateStatusToString(status) + " (" + ResultTypeToString(result) + ")");
    };
    model("start");

    double start[3] = {5.0, 10.0, 30.0};
    double up[3] = {0.0, 0.0, 1.0};
    // Dragged up in steps, each measured from the start, then aborted: the model comes back.
    OptionSetCheckArguments(tag, true, &result);
    OperationSetDragLinear(tag, start, up, start, &result);
    OperationConfigure(tag, &result);
    OperationStart(tag, &result);
    for (double z : {32.0, 34.0, 36.0}) {
        double to[3] = {5.0, 10.0, z};
        OperationStepDragLinear(tag, to, &result);
        const UpdateStatus status = OperationUpdate(tag, &result);
        report("operation step to z " + std::to_string(int(z)), status);
    }
    OperationAbort(tag, &result);
    model("aborted");
    OperationClear(tag, &result);

    // The same drag through the drag calls, ended: the model keeps the last step.
    DragLinearStart(tag, start, up, start, &result);
    for (double z : {35.0, 38.0}) {
        double to[3] = {5.0, 10.0, z};
        const UpdateStatus status = DragLinearStep(tag, to, &result);
        report("drag step to z " + std::to_string(int(z)), status);
    }
    DragLinearEnd(tag, &result);
    model("ended");

    // The distance itself dragged to a new value: the top moves away from the bottom.
    DragRelationValueStart(tag, distance, &result);
    const UpdateStatus status = DragRelationValue(tag, 35.0, &result);
    report("distance dragged to 35", status);
    DragRelationValueEnd(tag, &result);
    out << "distance value " << RelationGetValue(tag, distance, &result) << "\n";

    StopExampleJournal({tag});
    std::cout << out.str();
    file << out.str();
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return file ? 0 : 1;
}
