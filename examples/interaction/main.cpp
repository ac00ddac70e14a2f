// An application of the toolkit: starts the kernel session, and with the journal on creates an
// interaction through the exported calls, sets its options, places a block from the fixture
// builders as an instance, takes a mark, places a second instance, rolls back to the mark,
// makes references on faces of a placed block with a blended edge, cuts the blend face away
// into a sheet of its own, prints the change records and what became of the references, rolls
// it all back, runs an update and destroys the interaction. Every step goes through the exported
// calls, so the journal holds the whole run and a replay makes it again. Writes what it saw to
// <output folder>/interaction_marks.txt and the journal of the exported calls to
// <output folder>/interaction_journal.xml.
#include "core/calls/QelSystemApi.h"
#include "core/enums/EnumNames.h"

#include "../ExampleReport.h"
#include "InteractionSession.h"

#include <brennik.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "interaction_marks.txt", out))
        return failed;

    using namespace QEL;
    ResultType result = ResultTypeOk;
    char version[10] = "";
    AskVersion(version, &result);
    out << "toolkit version " << version << "\n";
    const std::string folder = std::string(argv[1]) + "/";
    StartJournalling(folder.c_str(), "interaction_journal.xml", false, false, &result);
    out << "journal started: " << ResultTypeToString(result) << ", journalling "
        << (IsJournalling(&result) ? "yes" : "no") << "\n";

    if (!InteractionMarks::MarksAndCut(out))
        return 1;
    StopJournalling(&result);
    out << "journal stopped: " << ResultTypeToString(result) << "\n";

    BQ_SESSION_stop();
    std::printf("wrote %sinteraction_marks.txt and %sinteraction_journal.xml\n", folder.c_str(),
                folder.c_str());
    return 0;
}
