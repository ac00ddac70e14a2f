// With the journal on, creates an interaction through the exported calls, sets its options,
// places a block from the fixture builders as an instance, takes a mark, moves the instance,
// rolls back to the mark, runs an update and destroys the interaction. Writes what it saw to
// <output folder>/interaction_marks.txt and the journal of the exported calls to
// <output folder>/interaction_journal.xml.
#include "core/EnumNames.h"
#include "core/Instance.h"
#include "core/Interaction.h"
#include "core/KernelFacade.h"
#include "core/QelInteractionApi.h"
#include "core/QelSystemApi.h"
#include "core/TagManager.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string Describe(QEL::Instance* instance)
{
    double m[4][4];
    instance->GetXform().Get4x4(m);
    char text[160];
    std::snprintf(text, sizeof text, "translation (%g, %g, %g), identity %s", m[0][3], m[1][3],
                  m[2][3], instance->GetXform().IsIdentity() ? "yes" : "no");
    return text;
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
    std::set<int> faces;
    GetBodyFaces(block, faces);
    out << "block body " << block << " with " << faces.size() << " faces\n";

    Instance* instance = Instance::Create(interaction, block, nullptr);
    out << "instance tag " << instance->GetTag() << ", id " << instance->GetEntityId() << ": "
        << Describe(instance) << "\n";

    const int mark = interaction->CreateMark();
    bool atMark = false;
    interaction->GetCurrentMark(atMark);
    out << "mark " << mark << " made, at mark " << (atMark ? "yes" : "no") << "\n";

    Xform moved;
    moved.SetToTranslation(Vec(5.0, 0.0, -2.5));
    instance->SetXform(moved);
    interaction->GetCurrentMark(atMark);
    out << "after the move: " << Describe(instance) << ", at mark " << (atMark ? "yes" : "no")
        << "\n";

    interaction->RollToMark(mark);
    interaction->GetCurrentMark(atMark);
    out << "after rolling back: " << Describe(instance) << ", at mark " << (atMark ? "yes" : "no")
        << "\n";
    out << "instance found by its tag "
        << (interaction->GetTagManager()->FindInstanceFromTag(instance->GetTag()) == instance
                ? "yes"
                : "no")
        << ", marks " << interaction->GetMarkCount() << "\n";

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
