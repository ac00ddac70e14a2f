// Makes relations between the faces of a block through the exported calls: parallel and
// perpendicular pairs that hold and that do not, and a distance measured when it is made; then
// drives the distance to another value. Prints each relation with its value and whether the
// block's geometry satisfies it, and writes the same to <output folder>/relations.txt.
#include "api/QelReferenceApi.h"
#include "api/QelRelationApi.h"
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
    const int top = CreateReference(tag, FaceAt(block, 2, 30.0), 0, &result);
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
    report("top and side parallel", make(RelationTypeParallel, top, side));
    report("top and side perpendicular", make(RelationTypePerpendicular, top, side));
    report("top and bottom perpendicular", make(RelationTypePerpendicular, top, bottom));
    const int distance = make(RelationTypeDistance, bottom, top);
    report("bottom to top, as measured", distance);
    RelationSetValue(tag, distance, 35.0, &result);
    report("bottom to top, driven to 35", distance);
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
