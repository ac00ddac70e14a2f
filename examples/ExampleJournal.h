#pragma once
// The journal every toolkit example keeps of its run: each exported call it makes is recorded in
// <output folder>/<name>-journal.xml, and before it stops it takes a checkpoint of each
// interaction still live, so that the run can be replayed in another process and compared
// record by record and checkpoint by checkpoint.

#include "api/debug/QelDebugApi.h"
#include "core/calls/QelSystemApi.h"

#include <initializer_list>
#include <string>

inline void StartExampleJournal(const char* folder, const char* name)
{
    QEL::ResultType result = QEL::ResultTypeOk;
    QEL::StartJournalling((std::string(folder) + "/").c_str(), (std::string(name) + "-journal.xml").c_str(), false,
                          false, &result);
}

// Checkpoints each interaction under the name "end", then closes the journal.
inline void StopExampleJournal(std::initializer_list<int> interactions)
{
    QEL::ResultType result = QEL::ResultTypeOk;
    for (int interaction : interactions)
        QEL::DebugJournalCheckpoint(interaction, "end", false, &result);
    QEL::StopJournalling(&result);
}
