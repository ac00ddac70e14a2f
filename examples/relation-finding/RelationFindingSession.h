#pragma once
// The relation-finding run through the exported calls: an interaction over a plate with holes,
// the finding options (parallel, coplanar, perpendicular and concentric faces, two levels out,
// with an accept callback that rejects every parallel candidate), a find from the plate's top
// face into the whole plate, and each relation found read back. The example reports it; the
// journal replay benchmark makes it directly and replays its journal, so both make the same
// calls.
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "core/calls/QelInteractionApi.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <vector>

namespace RelationFinding {

// The parallel candidates the callback refused, over the process's runs.
inline int& RejectedCount()
{
    static int s_rejected = 0;
    return s_rejected;
}

// The application's say on each candidate: parallel faces are not wanted here.
inline bool AcceptAllButParallel(int, int, QEL::RelationType type, int, int, int, int, int, int)
{
    if (type != QEL::RelationTypeParallel)
        return true;
    ++RejectedCount();
    return false;
}

// The plate's top face: of the planes facing +z, the one the holes pass through, which has the
// most edges.
inline int TopFace(int plate)
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

struct FoundRelation {
    QEL::RelationType type = QEL::RelationTypeParallel;
    int level = 0;
    std::vector<int> faces;  // the face of each of its references
};

struct Run {
    int interaction = 0;  // 0 when it could not be made
    int top = 0;          // the face found from; 0 when the plate has none
    QEL::ResultType findResult = QEL::ResultTypeOk;
    std::vector<FoundRelation> found;
};

// Makes the run; the interaction stays for the caller to checkpoint and destroy. makePlate
// models the plate, outside the exported calls.
inline Run FindPlateRelations(int (*makePlate)() = &brennik::build::PlateWithHoles)
{
    using namespace QEL;
    Run run;
    ResultType result = ResultTypeOk;
    run.interaction = CreateInteraction(&result);
    const int tag = run.interaction;
    const int plate = makePlate();
    run.top = TopFace(plate);
    if (!tag || !run.top)
        return run;

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
    selected.Add(run.top);
    from.Add(selected);
    Array<int> whole;
    whole.Add(plate);
    to.Add(whole);
    FindGeometricRelations(tag, from, to, &run.findResult);

    Array<int> relations;
    const int count = GetFoundRelations(tag, &relations, &result);
    for (int i = 0; i < count; ++i) {
        const int relation = relations[i];
        FoundRelation found;
        found.type = RelationGetType(tag, relation, &result);
        found.level = GetFoundRelationLevel(tag, relation, &result);
        for (int r = 0; r < RelationGetReferenceCount(tag, relation, &result); ++r)
            found.faces.push_back(ReferenceGetEntity(tag, RelationGetReference(tag, relation, r, &result), &result));
        run.found.push_back(found);
    }
    return run;
}

}  // namespace RelationFinding
