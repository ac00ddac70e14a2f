// Creates shell, paste and replace options through the exported calls in an interaction over a
// placed block, sets them, shows a refused pair of lists of different lengths, takes a mark and
// rolls back past further settings, and reports the add-on blocks the options hold; then fills a
// mapping data through its exported calls and reads it back by index. Writes what it saw to
// <output folder>/option_objects.txt.
#include "api/model/QelInstanceApi.h"
#include "api/model/QelMappingDataApi.h"
#include "api/model/QelMarkApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "core/enums/EnumNames.h"
#include "core/objects/Interaction.h"
#include "core/calls/QelInteractionApi.h"
#include "core/objects/TagManager.h"
#include "model/operations/BlockOptions.h"
#include "model/transaction/MappingData.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "option_objects.txt", out))
        return failed;
    StartExampleJournal(argv[1], "options");
    const std::string path = std::string(argv[1]) + "/option_objects.txt";

    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    Interaction* interaction = TagManager::FindInteractionFromTag(tag);
    if (!interaction)
        return 1;
    // The options name faces of a placed block, so that a save of the interaction holds them.
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    CreateInstance(tag, block, nullptr, &result);
    int faceCount = 0;
    int* faceArray = nullptr;
    BQ_BODY_ask_faces(block, &faceCount, &faceArray);
    const std::vector<int> faces(faceArray, faceArray + faceCount);
    BQ_MEMORY_free(faceArray);

    const int shellTag = CreateShellOptions(tag, &result);
    const int pasteTag = CreatePasteOptions(tag, &result);
    const int replaceTag = CreateReplaceOptions(tag, &result);
    out << "options made: shell " << shellTag << ", paste " << pasteTag << ", replace " << replaceTag << " ("
        << ResultTypeToString(result) << ")\n";
    auto* shell = dynamic_cast<ShellOptions*>(interaction->FindTaggedEntityFromTag(shellTag));
    auto* paste = dynamic_cast<PasteOptions*>(interaction->FindTaggedEntityFromTag(pasteTag));
    if (!shell || !paste)
        return 1;

    ShellOptionsSetPierceFaces(tag, shellTag, Array<int>(1, faces.data()), &result);
    const double offsets[] = {0.5, 1.5};
    ShellOptionsSetOffsetInFaces(tag, shellTag, Array<int>(2, faces.data() + 1), Array<double>(1, offsets), &result);
    out << "two offset faces with one value: " << ResultTypeToString(result) << "\n";
    ShellOptionsSetOffsetInFaces(tag, shellTag, Array<int>(2, faces.data() + 1), Array<double>(2, offsets), &result);
    out << "two offset faces with two values: " << ResultTypeToString(result) << "\n";

    const int mark = CreateMark(tag, &result);
    ShellOptionsSetType(tag, shellTag, ShellTypeSymmetric, &result);
    ShellOptionsSetLocalFaces(tag, shellTag, Array<int>(1, faces.data() + 3), ShellLocalFaceTypeExclude, &result);
    PasteOptionsSetPasteType(tag, pasteTag, PasteTypeSubtract, &result);
    ShellOptionsSetType(tag, shellTag, static_cast<ShellType>(4), &result);
    out << "shell type 4: " << ResultTypeToString(result) << "\n";
    RollToMark(tag, mark, &result);

    const HXR_BODY_hollow_o_s& hollow = shell->GetOptionBlock();
    out << "after rolling back: shell type " << shell->GetType() << ", pierce faces " << hollow.n_pierce_faces
        << ", offset-in faces " << hollow.n_offset_in_faces << " (" << hollow.offset_in_values[0] << ", "
        << hollow.offset_in_values[1] << "), local-face token " << hollow.local_face_type
        << "; paste token " << paste->GetOptionBlock().paste_type << " (not recorded, kept)\n";

    // Mapping data is made only for a feature procedure, which the toolkit calls and no journal
    // carries: the journal ends before it.
    StopExampleJournal({tag});

    // A feature procedure receives its mapping data by tag and fills it through the calls.
    MappingData* mapping = new MappingData(interaction);
    MappingDataAddEntry(tag, mapping->GetTag(), faces[2], 0, &result);
    MappingDataAddEntry(tag, mapping->GetTag(), faces[1], faces[4], &result);
    MappingDataAddEntry(tag, mapping->GetTag(), 0, faces[5], &result);
    const int count = MappingDataGetEntryCount(tag, mapping->GetTag(), &result);
    out << "mapping data with " << count << " entries:";
    for (int i = 0; i < count; ++i) {
        int oldTag = 0, newTag = 0;
        MappingDataGetEntry(tag, mapping->GetTag(), i, &oldTag, &newTag, &result);
        out << " (" << oldTag << ", " << newTag << ")";
    }
    MappingDataRemoveEntry(tag, mapping->GetTag(), -1, &result);
    out << "; removing at index -1: " << ResultTypeToString(result) << "\n";
    mapping->Destroy();

    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    std::printf("wrote %s\n", path.c_str());
    return 0;
}
