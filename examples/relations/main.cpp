// Makes relations between the faces of a block through the exported calls: parallel and
// perpendicular pairs that hold and that do not, and a distance measured when it is made; then
// drives the distance to another value and runs an update, which solves the relations and moves
// the block's top face in the kernel. Prints each relation with its value and whether the
// block's geometry satisfies it, and the update's outcome with the top's height and the block's
// volume, and writes the same to <output folder>/relations.txt.
#include "api/model/QelObjectApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "core/enums/EnumNames.h"
#include "core/objects/Interaction.h"
#include "core/calls/QelInteractionApi.h"
#include "core/objects/TagManager.h"
#include "model/relations/Relation.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The block face on the plane where the coordinate of the axis (0 x, 1 y, 2 z) has the value.
int FaceAt(int block, int axis, double value)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(block, &count, &faces);
    int found = 0;
    for (int i = 0; i < count && !found; ++i) {
        int surface = 0;
        BQ_PLANE_sf_t plane{};
        if (BQ_FACE_ask_surf(faces[i], &surface) != BQ_ERROR_no_errors ||
            BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors)
            continue;
        if (std::abs(std::abs(plane.basis_set.axis.coord[axis]) - 1.0) < 1e-12 &&
            std::abs(plane.basis_set.location.coord[axis] - value) < 1e-12)
            found = faces[i];
    }
    BQ_MEMORY_free(faces);
    return found;
}

// The height of a horizontal face; -1 for no face.
double FaceHeight(int face)
{
    int surface = 0;
    BQ_PLANE_sf_t plane{};
    if (face == 0 || BQ_FACE_ask_surf(face, &surface) != BQ_ERROR_no_errors ||
        BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors)
        return -1.0;
    return plane.basis_set.location.coord[2];
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream file;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "relations.txt", file))
        return failed;
    StartExampleJournal(argv[1], "relations");

    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    Interaction* interaction = TagManager::FindInteractionFromTag(tag);
    if (!interaction)
        return 1;
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    const int topFace = FaceAt(block, 2, 30.0);
    const int top = CreateReference(tag, topFace, 0, &result);
    const int bottom = CreateReference(tag, FaceAt(block, 2, 0.0), 0, &result);
    const int side = CreateReference(tag, FaceAt(block, 0, 10.0), 0, &result);

    std::ostringstream out;
    auto report = [&](const char* what, int relation) {
        Relation* found = interaction->FindRelationFromTag(relation);
        out << what << ": " << RelationTypeToString(RelationGetType(tag, relation, &result)) << ", value "
            << RelationGetValue(tag, relation, &result) << ", satisfied "
            << (found && found->IsGeometricallySatisfied() ? "true" : "false") << "\n";
    };
    auto make = [&](RelationType type, int first, int second) {
        std::vector<int> references{first, second};
        return CreateRelation(tag, type, Array<int>(2, references.data()), &result);
    };

    report("top and bottom parallel", make(RelationTypeParallel, top, bottom));
    const int wrongParallel = make(RelationTypeParallel, top, side);
    report("top and side parallel", wrongParallel);
    report("top and side perpendicular", make(RelationTypePerpendicular, top, side));
    const int wrongPerpendicular = make(RelationTypePerpendicular, top, bottom);
    report("top and bottom perpendicular", wrongPerpendicular);
    const int distance = make(RelationTypeDistance, bottom, top);
    report("bottom to top, as measured", distance);
    RelationSetValue(tag, distance, 35.0, &result);
    report("bottom to top, driven to 35", distance);
    // With the two relations the block cannot satisfy the update cannot solve, and leaves the
    // block as it was; without them, and with the bottom held where it is, it moves the top to
    // the distance's new value.
    CreateRelation(tag, RelationTypeFixed, Array<int>(1, &bottom), &result);
    UpdateStatus status = Update(tag, &result);
    out << "update with every relation: " << UpdateStatusToString(status) << ", top face height "
        << FaceHeight(topFace) << "\n";
    DestroyObject(tag, wrongParallel, &result);
    DestroyObject(tag, wrongPerpendicular, &result);
    status = Update(tag, &result);
    out << "update without the unsatisfied ones: " << UpdateStatusToString(status) << ", "
        << ResultTypeToString(result) << "\n";
    report("bottom to top, after the update", distance);
    out << "top face height " << FaceHeight(topFace) << ", block volume "
        << brennik::build::Volume(block) << "\n";
    make(RelationTypeParallel, top, top);
    out << "the same face twice for parallel: " << ResultTypeToString(result) << "\n";
    out << "relations in the interaction: " << GetRelationCount(tag, &result) << "\n";

    file << out.str();
    std::cout << out.str();
    StopExampleJournal({tag});
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return file ? 0 : 1;
}
