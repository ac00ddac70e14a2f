// An application of the toolkit: starts the kernel session, and with the journal on creates an
// interaction through the exported calls, sets its options, places a block from the fixture
// builders as an instance, takes a mark, places a second instance, rolls back to the mark,
// runs an update and destroys the interaction. Writes what it saw to
// <output folder>/interaction_marks.txt and the journal of the exported calls to
// <output folder>/interaction_journal.xml.
#include "core/EnumNames.h"
#include "core/Instance.h"
#include "core/Interaction.h"
#include "core/QelInteractionApi.h"
#include "core/QelSystemApi.h"
#include "core/TagManager.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

int CountFaces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    BQ_MEMORY_free(faces);
    return count;
}

bool IsPartition(int tag)
{
    int cls = BQ_CLASS_null;
    return BQ_ENTITY_ask_class(tag, &cls) == BQ_ERROR_no_errors && cls == BQ_CLASS_partition;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/interaction_marks.txt";
    std::ofstream out(path);
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    if (BQ_SESSION_start(nullptr) != BQ_ERROR_no_errors) {
        std::fprintf(stderr, "no kernel session\n");
        return 1;
    }

    using namespace QEL;
    ResultType result = ResultTypeOk;
    char version[10] = "";
    AskVersion(version, &result);
    out << "toolkit version " << version << "\n";
    const std::string folder = std::string(argv[1]) + "/";
    StartJournalling(folder.c_str(), "interaction_journal.xml", false, false, &result);
    out << "journal started: " << ResultTypeToString(result) << ", journalling "
        << (IsJournalling(&result) ? "yes" : "no") << "\n";

    const int tag = CreateInteraction(&result);
    Interaction* interaction = TagManager::FindInteractionFromTag(tag);
    out << "interaction tag " << tag << ": " << ResultTypeToString(result) << ", registered "
        << (interaction ? "yes" : "no") << "\n";
    if (!interaction)
        return 1;
    CreateInteraction(&result);
    out << "a second interaction: " << ResultTypeToString(result) << "\n";
    OptionSetModellingTolerance(tag, 1e-5, &result);
    OptionSetAdaptiveLiftMode(tag, true, &result);
    out << "modelling tolerance " << OptionGetModellingTolerance(tag, &result)
        << ", adaptive lift " << (OptionGetAdaptiveLiftMode(tag, &result) ? "on" : "off") << "\n";
    OptionGetAdaptiveLiftMode(tag + 1000, &result);
    out << "an unknown interaction tag: " << ResultTypeToString(result) << "\n";

    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    out << "block body " << block << " with " << CountFaces(block) << " faces\n";

    const double placement[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, -2.5}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(interaction, block, placement);
    out << "instance tag " << instance->GetTag() << ", id " << instance->GetEntityId() << "\n";

    const int mark = interaction->CreateMark();
    bool atMark = false;
    interaction->GetCurrentMark(atMark);
    out << "mark " << mark << " made, at mark " << (atMark ? "yes" : "no") << "\n";

    const int second = Instance::Create(interaction, block, nullptr)->GetTag();
    interaction->GetCurrentMark(atMark);
    out << "a second instance " << second << ", at mark " << (atMark ? "yes" : "no") << "\n";

    interaction->RollToMark(mark);
    interaction->GetCurrentMark(atMark);
    TagManager* tags = interaction->GetTagManager();
    out << "after rolling back: at mark " << (atMark ? "yes" : "no") << ", first instance found "
        << (tags->FindInstanceFromTag(instance->GetTag()) == instance ? "yes" : "no")
        << ", second found " << (tags->FindInstanceFromTag(second) ? "yes" : "no") << ", marks "
        << interaction->GetMarkCount() << "\n";

    const UpdateStatus update = Update(tag, &result);
    out << "update: " << UpdateStatusToString(update) << ", " << ResultTypeToString(result) << "\n";

    const int partition = interaction->GetQELPartition();
    DestroyInteraction(tag, &result);
    out << "interaction destroyed: " << ResultTypeToString(result) << ", own partition gone "
        << (IsPartition(partition) ? "no" : "yes") << ", interactions left "
        << TagManager::GetInteractionCount() << "\n";
    StopJournalling(&result);
    out << "journal stopped: " << ResultTypeToString(result) << "\n";

    BQ_SESSION_stop();
    std::printf("wrote %s and %sinteraction_journal.xml\n", path.c_str(), folder.c_str());
    return 0;
}
