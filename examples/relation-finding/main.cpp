// Finds the relations of a plate with holes from one selected face through the exported calls:
// parallel, perpendicular, coplanar and concentric faces, level by level outwards from the
// plate's top face, with an accept callback that rejects every parallel candidate. Prints
// each relation found with its kind, its level and its faces (the surface of each), and writes
// the same to <output folder>/relation-finding.txt, journalling its run.
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/enums/EnumNames.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

int s_rejected = 0;

// The application's say on each candidate: parallel faces are not wanted here.
bool AcceptAllButParallel(int, int, QEL::RelationType type, int, int, int, int, int, int)
{
    if (type != QEL::RelationTypeParallel)
        return true;
    ++s_rejected;
    return false;
}

// The face's surface, with its position along the plate's normal or its radius.
std::string DescribeFace(int face)
{
    int surface = 0;
    BQ_FACE_ask_surf(face, &surface);
    int surfaceClass = 0;
    BQ_ENTITY_ask_class(surface, &surfaceClass);
    std::ostringstream text;
    text << "face " << face;
    if (surfaceClass == BQ_CLASS_plane) {
        BQ_PLANE_sf_t plane{};
        BQ_PLANE_ask(surface, &plane);
        const double* n = plane.basis_set.axis.coord;
        const double* p = plane.basis_set.location.coord;
        text << " (plane, normal " << n[0] << " " << n[1] << " " << n[2] << ", through " << p[0] << " " << p[1]
             << " " << p[2] << ")";
    } else if (surfaceClass == BQ_CLASS_cyl) {
        BQ_CYL_sf_t cylinder{};
        BQ_CYL_ask(surface, &cylinder);
        const double* c = cylinder.basis_set.location.coord;
        text << " (cylinder, radius " << cylinder.radius << ", axis through " << c[0] << " " << c[1] << ")";
    } else {
        text << " (surface class " << surfaceClass << ")";
    }
    return text.str();
}

// The plate's top face: of the planes facing +z, the one the holes pass through, which has the
// most edges.
int TopFace(int plate)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(plate, &count, &faces);
    int top = 0;
    int mostEdges = 0;
    for (int i = 0; i < count; ++i) {
        int surface = 0;
        BQ_PLANE_sf_t plane{};
        if (BQ_FACE_ask_surf(faces[i], &surface) != BQ_ERROR_no_errors ||
            BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors ||
            std::abs(plane.basis_set.axis.coord[2] - 1.0) > 1e-12)
            continue;
        int edgeCount = 0;
        int* edges = nullptr;
        BQ_FACE_ask_edges(faces[i], &edgeCount, &edges);
        BQ_MEMORY_free(edges);
        if (edgeCount > mostEdges) {
            mostEdges = edgeCount;
            top = faces[i];
        }
    }
    BQ_MEMORY_free(faces);
    return top;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream file;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "relation-finding.txt", file))
        return failed;

    using namespace QEL;
    StartExampleJournal(argv[1], "relation-finding");
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    const int plate = brennik::build::PlateWithHoles();
    const int top = TopFace(plate);
    if (!tag || !top)
        return 1;

    // Planes parallel and coplanar with the top and holes upright to it, up to two levels out;
    // from the holes reached, the cylinders that share their axes.
    OptionSetFindRelationsData(tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 2, &result);
    OptionSetFindRelationsData(tag, FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, 2, &result);
    for (FindGeometryType hole : {FindGeometryTypeCylinderFull, FindGeometryTypeCylinderPartial}) {
        OptionSetFindRelationsData(tag, FindRelationTypePerpendicular, FindGeometryTypePlane, hole, 2, &result);
        OptionSetFindRelationsData(tag, FindRelationTypeConcentric, hole, FindGeometryTypeCylinderFull, 2, &result);
        OptionSetFindRelationsData(tag, FindRelationTypeConcentric, hole, FindGeometryTypeCylinderPartial, 2, &result);
    }
    OptionSetFindAcceptRelationCallback(tag, &AcceptAllButParallel, &result);

    // From the plate's top face, into the whole plate.
    Array<Array<int>> from, to;
    Array<int> selected;
    selected.Add(plate);
    selected.Add(top);
    from.Add(selected);
    Array<int> whole;
    whole.Add(plate);
    to.Add(whole);
    FindGeometricRelations(tag, from, to, &result);

    std::ostringstream out;
    out << "find from " << DescribeFace(top) << ": " << ResultTypeToString(result) << "\n";
    Array<int> relations;
    const int count = GetFoundRelations(tag, &relations, &result);
    std::map<std::string, int> kinds;
    for (int i = 0; i < count; ++i) {
        const int relation = relations[i];
        const std::string kind = RelationTypeToString(RelationGetType(tag, relation, &result));
        ++kinds[kind];
        out << kind << " at level " << GetFoundRelationLevel(tag, relation, &result) << ":";
        for (int r = 0; r < RelationGetReferenceCount(tag, relation, &result); ++r)
            out << (r ? " and " : " ") << DescribeFace(ReferenceGetEntity(tag, RelationGetReference(tag, relation, r, &result), &result));
        out << "\n";
    }
    out << count << " relations found;";
    for (const auto& kind : kinds)
        out << " " << kind.second << " " << kind.first;
    out << "; " << s_rejected << " parallel candidates rejected by the callback\n";

    std::cout << out.str();
    file << out.str();
    StopExampleJournal({tag});
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return count > 0 && kinds.count("RelationTypeParallel") == 0 ? 0 : 1;
}
