#include "api/debug/QelJournalReplayApi.h"

#include "api/ApiCallRows.h"
#include "api/debug/QelDebugApi.h"
#include "core/frame/ApiArguments.h"
#include "core/journal/JournalWriter.h"
#include "core/objects/TagManager.h"
#include "replay/JournalReplay.h"

#include <memory>

namespace QEL {

namespace {
// The replay reruns recorded validity checks through the exported call, as an application would.
[[maybe_unused]] const bool s_validityCheckInstalled =
    (SetReplayValidityCheck([](int interaction, int object) {
         return DebugCheckValidity(interaction, object, nullptr, nullptr, nullptr);
     }),
     true);
// And remakes a recorded load of an interaction through the exported call.
[[maybe_unused]] const bool s_interactionLoadInstalled =
    (SetReplayInteractionLoad(&DebugLoadInteraction), true);
// And takes a replayed checkpoint again into the journal open while it replays.
[[maybe_unused]] const bool s_checkpointInstalled =
    (SetReplayCheckpoint([](int interaction, const char* name, bool bodyCompareOnly) {
         DebugJournalCheckpoint(interaction, name, bodyCompareOnly, nullptr);
     }),
     true);
}  // namespace
namespace {

// The one replay of the process, null while none is active.
std::unique_ptr<JournalReplay> s_journalReplay;

// What every step-like call hands back after its engine ran.
void ReportPosition(int* index, const char** functionName, int* interactionTag)
{
    if (index)
        *index = s_journalReplay->GetIndex();
    if (functionName)
        *functionName = s_journalReplay->GetFunctionName().c_str();
    if (interactionTag)
        *interactionTag = s_journalReplay->GetActiveInteractionTag();
}

}  // namespace

constexpr unsigned s_replayCallFlags = ApiCallProcessWide | ApiCallNotJournallable;
// The text handed out while no replay is active.
constexpr char s_noError[] = "";

// A replay-driving call: never journalled, never replayed, and returning start when it stops
// before its effect.
#define QEL_REPLAY_DRIVER_CALL(Function, start)                                                   \
    static constexpr auto s_##Function##Start = (start);                                          \
    static constexpr ApiCallProperties s_##Function{#Function, s_replayCallFlags, "interaction"}; \
    [[maybe_unused]] static const bool s_##Function##Registered = RegisterApiCall(                \
        s_##Function, &ProbeApiCall<&Function, s_##Function, s_##Function##Start>,                \
        &ProbeApiCallWithEnumeration<&Function, s_##Function, s_##Function##Start>)

QEL_API_CALL(DebugJournalReplayStart, s_replayCallFlags);
void DebugJournalReplayStart(const char* path, int* interactionTag, ResultType* result)
{
    ProcessCall(s_DebugJournalReplayStart, result).Run([&](Interaction*, ResultType& status) {
        if (s_journalReplay) {
            status = ResultTypeReplayActive;
            return;
        }
        s_journalReplay = std::make_unique<JournalReplay>();
        status = s_journalReplay->Start(path, nullptr);
        if (status != ResultTypeOk)
            return;
        if (interactionTag)
            *interactionTag = s_journalReplay->GetActiveInteractionTag();
        // A journal being written while replaying gets the rebuilt interaction, so that it can
        // be replayed in turn.
        if (IsJournalOpen())
            WriteJournalInteraction(
                TagManager::FindInteractionFromTag(s_journalReplay->GetActiveInteractionTag()));
    });
}

QEL_REPLAY_DRIVER_CALL(DebugJournalReplayStep, ReplayFailure);
ReplayStatus DebugJournalReplayStep(int* index, const char** functionName,
                                    ResultType* replayedResult, int* interactionTag,
                                    ResultType* result)
{
    if (functionName)
        *functionName = nullptr;
    if (replayedResult)
        *replayedResult = ResultTypeOk;
    return ProcessCall<ReplayStatus>(s_DebugJournalReplayStep, result)
        .StartsWith(s_DebugJournalReplayStepStart)
        .Run([&](Interaction*, ResultType& callResult) {
            if (!s_journalReplay) {
                callResult = ResultTypeReplayInactive;
                return ReplayFailure;
            }
            const ReplayStatus status = s_journalReplay->Step(replayedResult, &callResult);
            ReportPosition(index, functionName, interactionTag);
            return status;
        });
}

QEL_REPLAY_DRIVER_CALL(DebugJournalReplayToIndex, ReplayFailure);
ReplayStatus DebugJournalReplayToIndex(int index, int* currentIndex, const char** functionName,
                                       ResultType* replayedResult, int* interactionTag,
                                       ResultType* result)
{
    if (functionName)
        *functionName = nullptr;
    return ProcessCall<ReplayStatus>(s_DebugJournalReplayToIndex, result)
        .StartsWith(s_DebugJournalReplayToIndexStart)
        .Run([&](Interaction*, ResultType& callResult) {
            if (!s_journalReplay) {
                callResult = ResultTypeReplayInactive;
                return ReplayFailure;
            }
            const ReplayStatus status =
                s_journalReplay->ReplayToIndex(index, replayedResult, &callResult);
            ReportPosition(currentIndex, functionName, interactionTag);
            return status;
        });
}

QEL_REPLAY_DRIVER_CALL(DebugJournalReplayToCheckpoint, ReplayFailure);
ReplayStatus DebugJournalReplayToCheckpoint(const char* name, int* currentIndex, ResultType* result)
{
    return ProcessCall<ReplayStatus>(s_DebugJournalReplayToCheckpoint, result)
        .StartsWith(s_DebugJournalReplayToCheckpointStart)
        .Run([&](Interaction*, ResultType& callResult) {
            if (!s_journalReplay) {
                callResult = ResultTypeReplayInactive;
                return ReplayFailure;
            }
            const ReplayStatus status = s_journalReplay->ReplayToCheckpoint(name, &callResult);
            ReportPosition(currentIndex, nullptr, nullptr);
            return status;
        });
}

QEL_REPLAY_DRIVER_CALL(DebugJournalReplayGetLastError, s_noError);
const char* DebugJournalReplayGetLastError(ResultType* result)
{
    return ProcessCall<const char*>(s_DebugJournalReplayGetLastError, result)
        .StartsWith(s_DebugJournalReplayGetLastErrorStart)
        .Run([](Interaction*, ResultType& status) -> const char* {
            if (!s_journalReplay) {
                status = ResultTypeReplayInactive;
                return s_noError;
            }
            return s_journalReplay->GetLastError();
        });
}

QEL_API_CALL(DebugJournalReplayEnd, s_replayCallFlags);
void DebugJournalReplayEnd(ResultType* result)
{
    ProcessCall(s_DebugJournalReplayEnd, result).Run([](Interaction*, ResultType& status) {
        if (!s_journalReplay)
            status = ResultTypeReplayInactive;
        else
            s_journalReplay.reset();
    });
}

#undef QEL_REPLAY_DRIVER_CALL

}  // namespace QEL
