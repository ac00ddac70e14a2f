// Replays a journal in a process of its own, as a developer replays a user's journal, while
// journalling the replay:
//
//   qel_replay_journal [--feature-edit-procedures] <journal> <journal of the replay>
//
// With --feature-edit-procedures it first registers the feature procedures of the feature-edit
// example, as that application does before it opens its journal: a journal carries calls, not
// the application's code.
// Prints one line for every step that neither succeeded nor was ignored ("index name status:
// text") and exits 0 when there was none, 1 when there was, 2 when the replay could not run.
#include "api/debug/QelJournalReplayApi.h"
#include "core/calls/QelSystemApi.h"
#include "core/enums/EnumNames.h"

#include "FeatureEditProcedures.h"

#include <brennik.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    using namespace QEL;
    const bool withProcedures = argc > 1 && std::strcmp(argv[1], "--feature-edit-procedures") == 0;
    if (withProcedures) {
        --argc;
        ++argv;
    }
    if (argc != 3 || BQ_SESSION_start(nullptr) != BQ_ERROR_no_errors)
        return 2;
    if (withProcedures)
        FeatureEditProcedures::Register();
    const std::string second = argv[2];
    const size_t slash = second.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : second.substr(0, slash + 1);
    ResultType result = ResultTypeOk;
    StartJournalling(folder.c_str(), second.substr(folder.size()).c_str(), false, false, &result);
    if (result != ResultTypeOk)
        return 2;
    DebugJournalReplayStart(argv[1], nullptr, &result);
    if (result != ResultTypeOk)
        return 2;
    int differing = 0;
    for (;;) {
        int index = 0;
        const char* name = nullptr;
        const ReplayStatus status = DebugJournalReplayStep(&index, &name, nullptr, nullptr, &result);
        if (status == ReplayEndOfJournal)
            break;
        if (status != ReplaySuccess && status != ReplayIgnored) {
            std::printf("%d %s %s: %s\n", index, name ? name : "", ReplayStatusToString(status),
                        DebugJournalReplayGetLastError(&result));
            ++differing;
        }
    }
    DebugJournalReplayEnd(&result);
    StopJournalling(&result);
    // The replay leaves what it made with the application, as an application's own calls would.
    Reset(&result);
    BQ_SESSION_stop();
    return differing == 0 ? 0 : 1;
}
