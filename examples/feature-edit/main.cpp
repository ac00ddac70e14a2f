// Two features of a plate re-made taller by the application's own procedures.
//
// The toolkit feature: a square boss on a 100 x 60 x 10 plate, made entirely through the
// exported feature calls (its references, a profile reference on a block placed above, a
// dependent, application numbers and the identifier its procedure is registered under).
// FeatureEdit cuts the boss out and runs the procedure, which reads its procedure data and the
// planned height through the exported calls, pastes the boss back 5 taller and maps the cut
// faces onto the new ones.
//
// The add-on feature: the boss of a plate with holes, re-made 5 taller through EditFeature by
// the procedure callback registered for every new interaction; the remake callback answers the
// same feature, so its application data stays where it is.
//
// The procedures (FeatureEditProcedures.h) are registered before the journal opens, as an
// application registers its code as it starts; an application replaying the journal registers
// the same ones. Writes the features' properties and the plates' face counts and volumes before
// and after to <output folder>/feature_edit.txt.
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
#include "../FeatureEditProcedures.h"

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
using namespace FeatureEditProcedures;

double VolumeOf(int body)
{
    double volume = 0.0;
    BQ_BODY_ask_volume(body, &volume);
    return volume;
}

// The boss's top and four sides, top first.
std::vector<int> SquareBossFaces(int plate, double height)
{
    return {PlaneAt(plate, 0, 0, 1, height), PlaneAt(plate, 1, 0, 0, 50), PlaneAt(plate, -1, 0, 0, -40),
            PlaneAt(plate, 0, 1, 0, 50), PlaneAt(plate, 0, -1, 0, -40)};
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
    // The application's procedures are its own code, registered as it starts; a replay of the
    // journal registers the same ones first.
    Register();
    StartExampleJournal(argv[1], "feature_edit");

    ResultType result = ResultTypeOk;
    int failures = 0;
    auto note = [&](const char* what) {
        if (result != ResultTypeOk) {
            ++failures;
            out << what << ": " << ResultTypeToString(result) << "\n";
        }
    };
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
    FeatureSetAppDataInteger(interaction, feature, 1, 21, &result);
    FeatureSetAppDataDouble(interaction, feature, 2, 5.0, &result);
    // The identifier gives the feature the procedure registered under it.
    FeatureSetAppIdentifier(interaction, feature, kSquareBoss, &result);
    note("FeatureSetAppIdentifier");

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
