// Makes an add-on feature of the boss on a plate with holes, then re-makes it 5 taller through
// EditFeature: the application's procedure copies the plate, raises the copy's boss top with a
// face offset, and maps the boss's faces onto the copy's; the toolkit puts the new faces in
// place. Writes the plate's face count and volume before and after to
// <output folder>/feature_edit.txt.
#include "api/QelFeatureApi.h"
#include "api/QelMappingDataApi.h"
#include "core/enums/EnumNames.h"
#include "core/objects/Interaction.h"
#include "core/calls/QelInteractionApi.h"

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

std::vector<int> FacesOf(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> out(faces, faces + count);
    BQ_MEMORY_free(faces);
    return out;
}

// The boss's top: the face on the plane at the height; its side: the cylinder of radius 8.
void FindBoss(int body, int& top, int& side, double height = 16.0)
{
    top = side = 0;
    for (int face : FacesOf(body)) {
        int surface = 0;
        BQ_FACE_ask_surf(face, &surface);
        int surfaceClass = 0;
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

double VolumeOf(int body)
{
    double volume = 0.0;
    BQ_BODY_ask_volume(body, &volume);
    return volume;
}

// The application's procedure: a copy of the plate in the partition it is given, with the
// boss's top raised by 5, and the boss's faces mapped onto the copy's.
void TallerBoss(int interaction, int feature, int partition, int& body, int& mappingTag, QEL::ResultType& result)
{
    int plate = 0;
    BQ_GROUP_ask_part(feature, &plate);
    int top = 0, side = 0;
    FindBoss(plate, top, side);
    int copy = 0;
    if (BQ_ENTITY_copy(plate, &copy) != BQ_ERROR_no_errors || BQ_BODY_change_partition(copy, partition) != 0) {
        result = QEL::ResultTypeFail;
        return;
    }
    int copyTop = 0, copySide = 0;
    FindBoss(copy, copyTop, copySide);
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
        result = QEL::ResultTypeFail;
        return;
    }
    QEL::ResultType added = QEL::ResultTypeOk;
    QEL::MappingDataAddEntry(interaction, mappingTag, top, copyTop, &added);
    QEL::MappingDataAddEntry(interaction, mappingTag, side, copySide, &added);
    body = copy;
    result = added;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "feature_edit.txt", out))
        return failed;
    StartExampleJournal(argv[1], "feature_edit");

    using namespace QEL;
    ResultType result = ResultTypeOk;
    // Every new interaction takes the process-wide procedure callback.
    Interaction::SetDefaultFeatureProcedureCallback(&TallerBoss);
    const int interaction = CreateInteraction(&result);
    const int plate = brennik::build::PlateWithHoles();
    int top = 0, side = 0;
    FindBoss(plate, top, side);

    const int options = CreateMakeFeatureOptions(interaction, &result);
    Array<int> topols, labels;
    topols.Add(top);
    topols.Add(side);
    labels.Add(1);
    labels.Add(2);
    const int boss = MakeFeature(interaction, topols, labels, 2, 1, options, &result);
    out << "boss feature " << (boss != 0 ? "made" : "not made") << " (" << ResultTypeToString(result) << ")\n";
    out << "before: " << FacesOf(plate).size() << " faces, volume " << VolumeOf(plate) << "\n";

    EditFeature(interaction, boss, &result);
    out << "EditFeature: " << ResultTypeToString(result) << "\n";
    out << "after: " << FacesOf(plate).size() << " faces, volume " << VolumeOf(plate) << "\n";
    int newTop = 0, newSide = 0;
    FindBoss(plate, newTop, newSide, 21.0);
    out << "boss top face kept its tag: " << (newTop == top ? "yes" : "no") << "\n";

    StopExampleJournal({interaction});
    DestroyInteraction(interaction, &result);
    return result == ResultTypeOk ? 0 : 1;
}
