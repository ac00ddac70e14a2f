#pragma once
// The feature procedures of the feature-edit example, which an application registers as it
// starts, before it opens its journal: the square boss's procedure under the identifier its
// feature carries, and the add-on feature's procedure and remake callbacks for every new
// interaction. A journal carries calls, not code, so an application that replays the journal
// registers these same procedures first.

#include "api/features/QelFeatureApi.h"
#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeaturePropertiesApi.h"
#include "api/model/QelMappingDataApi.h"
#include "core/enums/Enums.h"

#include <brennik.h>
#include <brennik_build.h>
#include <hxr.h>

#include <cmath>
#include <vector>

namespace FeatureEditProcedures {

using namespace QEL;

// The identifier the square boss carries, under which its procedure is found.
constexpr const char* kSquareBoss = "square boss";

inline std::vector<int> FacesOf(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> out(faces, faces + count);
    BQ_MEMORY_free(faces);
    return out;
}

// The outward normal of a planar face and where its plane lies along it; false for a face on
// another surface.
inline bool PlaneOf(int face, double normal[3], double& along)
{
    int surface = 0, surfaceClass = 0;
    bool agrees = true;
    BQ_FACE_ask_oriented_surf(face, &surface, &agrees);
    BQ_ENTITY_ask_class(surface, &surfaceClass);
    if (surfaceClass != BQ_CLASS_plane)
        return false;
    BQ_PLANE_sf_t plane{};
    BQ_PLANE_ask(surface, &plane);
    along = 0.0;
    for (int i = 0; i < 3; ++i) {
        normal[i] = (agrees ? 1.0 : -1.0) * plane.basis_set.axis.coord[i];
        along += normal[i] * plane.basis_set.location.coord[i];
    }
    return true;
}

// The planar face of the body with the outward normal whose plane lies at along it.
inline int PlaneAt(int body, double nx, double ny, double nz, double along)
{
    for (int face : FacesOf(body)) {
        double normal[3];
        double at = 0.0;
        if (PlaneOf(face, normal, at) && std::fabs(normal[0] - nx) < 1e-9 && std::fabs(normal[1] - ny) < 1e-9 &&
            std::fabs(normal[2] - nz) < 1e-9 && std::fabs(at - along) < 1e-9)
            return face;
    }
    return 0;
}

// The square boss, from z 10 up to height, pasted onto the body.
inline bool PasteSquareBoss(int body, double height)
{
    const int tool = brennik::build::Block(10, 10, height - 10);
    BQ_TRANSF_sf_t move{};
    for (int i = 0; i < 3; ++i)
        move.matrix[i][i] = 1.0;
    move.matrix[0][3] = move.matrix[1][3] = 40.0;
    move.matrix[2][3] = 10.0;
    move.matrix[3][3] = 1.0;
    int transform = 0;
    BQ_TRANSF_create(&move, &transform);
    const HXR_BODY_paste_o_s options{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    const int pasted = HXR_BODY_paste(body, tool, transform, &options, &tracking);
    HXR_ENTITY_track_r_f(&tracking);
    BQ_ENTITY_delete(1, &transform);
    BQ_ENTITY_delete(1, &tool);
    return pasted == HXR_ERROR_none;
}

// The toolkit feature's procedure: everything it needs comes from its procedure data and its
// feature, the height to make the boss from the feature's application number 1, so that an
// application replaying the journal makes the same boss with the same procedure.
inline void RegrowSquareBoss(int interaction, int data)
{
    ResultType result = ResultTypeOk;
    const int feature = FeatureProcedureDataGetFeatureTag(interaction, data, &result);
    const double height = FeatureGetAppDataInteger(interaction, feature, 1, &result);
    const int plate = FeatureProcedureDataGetMainBodyTag(interaction, data, &result);
    if (result != ResultTypeOk || !PasteSquareBoss(plate, height)) {
        FeatureProcedureDataSetResult(interaction, data, ResultTypeFail, &result);
        return;
    }
    const int cut = FeatureProcedureDataGetCutToolMappingDataTag(interaction, data, &result);
    const int mapping = FeatureProcedureDataGetProcedureMappingData(interaction, data, &result);
    // Each cut face goes onto the new face on its plane; the top onto the new top.
    const int count = MappingDataGetEntryCount(interaction, cut, &result);
    for (int i = 0; i < count; ++i) {
        int mainFace = 0, cutFace = 0;
        MappingDataGetEntry(interaction, cut, i, &mainFace, &cutFace, &result);
        double normal[3];
        double along = 0.0;
        if (!PlaneOf(cutFace, normal, along))
            continue;
        if (normal[2] > 0.5)
            along = height;
        MappingDataAddEntry(interaction, mapping, cutFace, PlaneAt(plate, normal[0], normal[1], normal[2], along),
                            &result);
    }
}

// The top and the side of the plate's cylinder boss whose top lies at the height.
inline void FindCylinderBoss(int body, int& top, int& side, double height)
{
    top = side = 0;
    for (int face : FacesOf(body)) {
        int surface = 0, surfaceClass = 0;
        BQ_FACE_ask_surf(face, &surface);
        BQ_ENTITY_ask_class(surface, &surfaceClass);
        if (surfaceClass == BQ_CLASS_plane) {
            BQ_PLANE_sf_t plane{};
            BQ_PLANE_ask(surface, &plane);
            if (std::fabs(plane.basis_set.location.coord[2] - height) < 1e-9)
                top = face;
        } else if (surfaceClass == BQ_CLASS_cyl) {
            BQ_CYL_sf_t cylinder{};
            BQ_CYL_ask(surface, &cylinder);
            if (std::fabs(cylinder.radius - 8.0) < 1e-9)
                side = face;
        }
    }
}

// The add-on feature's procedure callback: a copy of the plate with holes in the partition it
// is given, with the boss's top raised by 5, and the boss's faces mapped onto the copy's.
inline void TallerCylinderBoss(int interaction, int feature, int partition, int& body, int& mappingTag, ResultType& result)
{
    int plate = 0;
    BQ_GROUP_ask_part(feature, &plate);
    int top = 0, side = 0;
    FindCylinderBoss(plate, top, side, 16.0);
    int copy = 0;
    if (BQ_ENTITY_copy(plate, &copy) != BQ_ERROR_no_errors || BQ_BODY_change_partition(copy, partition) != 0) {
        result = ResultTypeFail;
        return;
    }
    int copyTop = 0, copySide = 0;
    FindCylinderBoss(copy, copyTop, copySide, 16.0);
    HXR_FACE_change_s raise{};
    raise.change = HXR_CHANGE_offset;
    raise.offset = 5.0;
    const int index = 0;
    HXR_FACE_change_o_s options{};
    options.version = 1;
    options.option = HXR_CHANGE_OPTION_default;
    options.edges_use = HXR_EDGES_USE_attempt;
    HXR_ENTITY_track_r_s tracking{};
    const int changed = HXR_FACE_change(1, &copyTop, &index, 1, &raise, 1e-6, &options, &tracking);
    HXR_ENTITY_track_r_f(&tracking);
    if (changed != HXR_ERROR_none) {
        result = ResultTypeFail;
        return;
    }
    ResultType added = ResultTypeOk;
    MappingDataAddEntry(interaction, mappingTag, top, copyTop, &added);
    MappingDataAddEntry(interaction, mappingTag, side, copySide, &added);
    body = copy;
    result = added;
}

// The remake answers the feature it was given: the application data stays on it.
inline void SameFeature(int, int feature, int, int, int& newFeature, ResultType& result)
{
    newFeature = feature;
    result = ResultTypeOk;
}

// Registers the procedures: the square boss's under its identifier, the add-on feature's
// callbacks for every interaction made afterwards.
inline void Register()
{
    ResultType result = ResultTypeOk;
    FeatureMapIdentifierToProcedure(kSquareBoss, &RegrowSquareBoss, &result);
    SetQELTestAppFeatureProcedureCallback(&TallerCylinderBoss, &result);
    SetQELTestAppFeatureRemakeCallback(&SameFeature, &result);
}

}  // namespace FeatureEditProcedures
