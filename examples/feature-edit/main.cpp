// Two features of a plate re-made taller by the application's own procedures.
//
// The toolkit feature: a square boss on a 100 x 60 x 10 plate, made entirely through the
// exported feature calls (its references, a profile reference on a block placed above, a
// dependent, application numbers and identifier, and its procedure). FeatureEdit cuts the boss
// out and runs the procedure, which reads its procedure data through the exported calls, pastes
// the boss back 5 taller and maps the cut faces onto the new ones.
//
// The add-on feature: the boss of a plate with holes, re-made 5 taller through EditFeature by
// the procedure callback registered for every new interaction; the remake callback answers the
// same feature, so its application data stays where it is.
//
// Writes the features' properties and the plates' face counts and volumes before and after to
// <output folder>/feature_edit.txt.
#include "api/features/QelFeatureApi.h"
#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeaturePropertiesApi.h"
#include "api/features/QelFeatureReferencesApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelMappingDataApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"
#include "core/enums/EnumNames.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>
#include <hxr.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace QEL;

std::vector<int> FacesOf(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> out(faces, faces + count);
    BQ_MEMORY_free(faces);
    return out;
}

double VolumeOf(int body)
{
    double volume = 0.0;
    BQ_BODY_ask_volume(body, &volume);
    return volume;
}

// The outward normal of a planar face and where its plane lies along it; false for a face on
// another surface.
bool PlaneOf(int face, double normal[3], double& along)
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
int PlaneAt(int body, double nx, double ny, double nz, double along)
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
bool PasteSquareBoss(int body, double height)
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

// The boss's top and four sides, top first.
std::vector<int> SquareBossFaces(int plate, double height)
{
    return {PlaneAt(plate, 0, 0, 1, height), PlaneAt(plate, 1, 0, 0, 50), PlaneAt(plate, -1, 0, 0, -40),
            PlaneAt(plate, 0, 1, 0, 50), PlaneAt(plate, 0, -1, 0, -40)};
}

// What the application hands its procedure: the height to make the boss.
struct BossPlan {
    double height;
};

// The toolkit feature's procedure: everything it needs comes from its procedure data.
void RegrowSquareBoss(int interaction, int data)
{
    ResultType result = ResultTypeOk;
    const auto* plan = static_cast<const BossPlan*>(FeatureProcedureDataGetAppData(interaction, data, &result));
    const int plate = FeatureProcedureDataGetMainBodyTag(interaction, data, &result);
    if (!plan || !PasteSquareBoss(plate, plan->height)) {
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
            along = plan->height;
        MappingDataAddEntry(interaction, mapping, cutFace, PlaneAt(plate, normal[0], normal[1], normal[2], along),
                            &result);
    }
}

// The add-on feature's procedure callback: a copy of the plate with holes in the partition it
// is given, with the boss's top raised by 5, and the boss's faces mapped onto the copy's.
void FindCylinderBoss(int body, int& top, int& side, double height)
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

void TallerCylinderBoss(int interaction, int feature, int partition, int& body, int& mappingTag, ResultType& result)
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
void SameFeature(int, int feature, int, int, int& newFeature, ResultType& result)
{
    newFeature = feature;
    result = ResultTypeOk;
}

void WriteFeature(std::ofstream& out, int interaction, int feature)
{
    ResultType result = ResultTypeOk;
    out << "  type " << FeatureTypeToString(FeatureGetType(interaction, feature, &result)) << ", identifier \""
        << FeatureGetAppIdentifier(interaction, feature, &result) << "\", instance "
        << (FeatureGetInstance(interaction, feature, &result) != 0 ? "set" : "none") << "\n";
    out << "  " << FeatureGetReferenceCount(interaction, feature, &result) << " references, "
        << FeatureGetProfileReferenceCount(interaction, feature, &result) << " profile reference, "
        << FeatureGetDependentCount(interaction, feature, &result) << " dependent\n";
    out << "  first reference on face " << ReferenceGetEntity(interaction, FeatureGetReference(interaction, feature, 0, &result), &result)
        << "\n";
    out << "  application data: planned height " << FeatureGetAppDataInteger(interaction, feature, 1, &result)
        << ", raise " << FeatureGetAppDataDouble(interaction, feature, 2, &result) << "\n";
}

void WriteBody(std::ofstream& out, const char* when, int body)
{
    out << when << ": " << FacesOf(body).size() << " faces, volume " << VolumeOf(body) << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "feature_edit.txt", out))
        return failed;
    StartExampleJournal(argv[1], "feature_edit");

    ResultType result = ResultTypeOk;
    int failures = 0;
    auto note = [&](const char* what) {
        if (result != ResultTypeOk) {
            ++failures;
            out << what << ": " << ResultTypeToString(result) << "\n";
        }
    };
    // Every new interaction takes these callbacks; the remake keeps the feature.
    SetQELTestAppFeatureProcedureCallback(&TallerCylinderBoss, &result);
    SetQELTestAppFeatureRemakeCallback(&SameFeature, &result);
    SetNewPFAlgorithmStatus(true, &result);
    const int interaction = CreateInteraction(&result);
    note("CreateInteraction");

    // --- The toolkit feature ---
    out << "Toolkit feature: a square boss on a plate\n";
    const int plate = brennik::build::Block(100, 60, 10);
    PasteSquareBoss(plate, 16.0);
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const double raised[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 40}, {0, 0, 0, 1}};
    const int placed = CreateInstance(interaction, plate, identity, &result);
    const int marker = brennik::build::Block(5, 5, 5);
    const int profileInstance = CreateInstance(interaction, marker, raised, &result);
    note("CreateInstance");

    const int feature = CreateFeature(interaction, FeatureTypeComplexRecreate, &result);
    note("CreateFeature");
    Array<int> references;
    for (int face : SquareBossFaces(plate, 16.0))
        references.Add(CreateReference(interaction, face, placed, &result));
    FeatureAddReferences(interaction, feature, references, &result);
    note("FeatureAddReferences");
    FeatureAddProfileReference(interaction, feature,
                               CreateReference(interaction, PlaneAt(marker, 0, 0, 1, 5), profileInstance, &result),
                               &result);
    note("FeatureAddProfileReference");
    FeatureAddDependent(interaction, feature, CreateReference(interaction, PlaneAt(plate, 0, 0, -1, 0), placed, &result),
                        &result);
    note("FeatureAddDependent");
    BossPlan plan{21.0};
    FeatureSetAppDataInteger(interaction, feature, 1, 21, &result);
    FeatureSetAppDataDouble(interaction, feature, 2, 5.0, &result);
    FeatureSetAppIdentifier(interaction, feature, "square boss", &result);
    FeatureSetProcedure(interaction, feature, &RegrowSquareBoss, &plan, &result);
    note("FeatureSetProcedure");

    WriteFeature(out, interaction, feature);
    WriteBody(out, "before", plate);
    FeatureEdit(interaction, feature, nullptr, &result);
    out << "FeatureEdit: " << ResultTypeToString(result) << "\n";
    note("FeatureEdit");
    WriteBody(out, "after", plate);
    WriteFeature(out, interaction, feature);
    out << "boss top now at z 21: "
        << (ReferenceGetEntity(interaction, FeatureGetReference(interaction, feature, 0, &result), &result) ==
                    PlaneAt(plate, 0, 0, 1, 21)
                ? "yes"
                : "no")
        << "\n";

    // --- The add-on feature ---
    out << "\nAdd-on feature: the boss of a plate with holes\n";
    const int holes = brennik::build::PlateWithHoles();
    int top = 0, side = 0;
    FindCylinderBoss(holes, top, side, 16.0);
    const int options = CreateMakeFeatureOptions(interaction, &result);
    Array<int> topols, labels;
    topols.Add(top);
    topols.Add(side);
    labels.Add(1);
    labels.Add(2);
    const int boss = MakeFeature(interaction, topols, labels, 2, 1, options, &result);
    note("MakeFeature");
    SetFeatureAppData(interaction, boss, "height", 16.0, &result);
    WriteBody(out, "before", holes);
    EditFeature(interaction, boss, &result);
    out << "EditFeature: " << ResultTypeToString(result) << "\n";
    note("EditFeature");
    WriteBody(out, "after", holes);
    int newTop = 0, newSide = 0;
    FindCylinderBoss(holes, newTop, newSide, 21.0);
    out << "boss top face kept its tag: " << (newTop == top ? "yes" : "no") << "\n";
    out << "application data kept on the feature: " << GetFeatureAppData(interaction, boss, "height", &result)
        << "\n";

    StopExampleJournal({interaction});
    DestroyInteraction(interaction, &result);
    note("DestroyInteraction");
    return failures == 0 ? 0 : 1;
}
