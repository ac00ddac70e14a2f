// Places a block and a blended block in an interaction, references faces through the instances
// and on the bare body, makes option objects and sets the interaction's options, saves the
// interaction to <output folder>/saved_interaction.xml, loads the file into a second
// interaction and prints the comparison of the two; then moves a body of the loaded one and
// compares again. Writes what it saw to <output folder>/save_load.txt.
#include "api/debug/QelDebugApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/enums/EnumNames.h"
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "save_load.txt", out))
        return failed;
    StartExampleJournal(argv[1], "save_load");
    const std::string folder = argv[1];

    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    const int blended = brennik::build::BlockWithBlend(2.0);
    const double shifted[4][4] = {{1, 0, 0, 40}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const int blockInstance = CreateInstance(tag, block, nullptr, &result);
    const int blendedInstance = CreateInstance(tag, blended, shifted, &result);
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(blended, &count, &faces);
    CreateReference(tag, faces[0], blendedInstance, &result);
    CreateReference(tag, faces[1], 0, &result);
    BQ_MEMORY_free(faces);
    BQ_BODY_ask_faces(block, &count, &faces);
    CreateReference(tag, faces[2], blockInstance, &result);
    BQ_MEMORY_free(faces);
    const int shell = CreateShellOptions(tag, &result);
    ShellOptionsSetType(tag, shell, ShellTypeSymmetric, &result);
    CreateTaperOptions(tag, &result);
    OptionSetModellingTolerance(tag, 1e-5, &result);
    OptionSetPreviewMode(tag, PreviewModeFailureOnly, &result);
    out << "interaction made with two instances, three references and two option objects ("
        << ResultTypeToString(result) << ")\n";

    const std::string file = folder + "/saved_interaction.xml";
    DebugSaveInteraction(tag, file.c_str(), &result);
    out << "saved to saved_interaction.xml: " << ResultTypeToString(result) << "\n";

    OptionSetAllowMultipleInteractions(true, &result);
    const int loaded = DebugLoadInteraction(file.c_str(), &result);
    out << "loaded into a second interaction: " << ResultTypeToString(result) << ", "
        << GetInstanceCount(loaded, &result) << " instances, modelling tolerance "
        << OptionGetModellingTolerance(loaded, &result) << ", preview mode "
        << PreviewModeToString(OptionGetPreviewMode(loaded, &result)) << "\n";

    bool equal = DebugCompareInteractions(tag, loaded, false, &result);
    out << "comparison of the two: " << (equal ? "equal" : "different") << " ("
        << ResultTypeToString(result) << ")\n";

    // The journal ends here: the block is moved next through the kernel directly, which no
    // exported call records, so a replay of the journal could not make that move.
    StopExampleJournal({tag, loaded});
    // Moving the loaded interaction's block changes its body, not its objects.
    const int loadedBlock = InstanceGetBody(loaded, GetInstance(loaded, 0, &result), &result);
    int transform = 0;
    const BQ_TRANSF_sf_t lift{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0.5}, {0, 0, 0, 1}}};
    BQ_TRANSF_create(&lift, &transform);
    const BQ_BODY_transform_o_t options{1, false, true};
    BQ_TOPOL_track_r_t tracking{};
    BQ_TOPOL_local_r_t local{};
    BQ_BODY_transform_2(loadedBlock, transform, 1e-8, &options, &tracking, &local);
    BQ_TOPOL_track_r_f(&tracking);
    BQ_TOPOL_local_r_f(&local);
    equal = DebugCompareInteractions(tag, loaded, false, &result);
    out << "after lifting the loaded block by 0.5: " << (equal ? "equal" : "different") << " ("
        << ResultTypeToString(result) << ")\n";

    DestroyInteraction(loaded, &result);
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    out << "done\n";
    return 0;
}
