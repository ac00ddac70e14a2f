#pragma once
// Exported calls that drive the journal replay: start a replay of a journal file, step through
// it, run it to a call index or a named checkpoint, read the last error and end it. One replay
// exists in the process at a time. None of them is journalled or replayed itself.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// ResultTypeReplayActive while a replay exists. A failed start leaves the replay in place, so
// DebugJournalReplayEnd comes before the next start.
QEL_API void DebugJournalReplayStart(const char* path, int* interactionTag, ResultType* result);
QEL_API ReplayStatus DebugJournalReplayStep(int* index, const char** functionName,
                                            ResultType* replayedResult, int* interactionTag,
                                            ResultType* result);
QEL_API ReplayStatus DebugJournalReplayToIndex(int index, int* currentIndex,
                                               const char** functionName,
                                               ResultType* replayedResult, int* interactionTag,
                                               ResultType* result);
QEL_API ReplayStatus DebugJournalReplayToCheckpoint(const char* name, int* currentIndex,
                                                    ResultType* result);
QEL_API const char* DebugJournalReplayGetLastError(ResultType* result);
// The interactions and bodies the replay made stay.
QEL_API void DebugJournalReplayEnd(ResultType* result);

}  // namespace QEL
