#include "core/frame/ApiCall.h"

#include "core/journal/JournalWriter.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/tracking/TrackingManager.h"

namespace QEL {
namespace {

void (*s_faultForTest)() = nullptr;

// The steps that run under the call's recovery point. A fault anywhere in them skips the
// rest: no outputs are journalled and the tracking mark of the call stays.
struct ProtectedSteps {
    const ApiCallProperties& call;
    const ApiCallParts& parts;
    ApiCallGuard& guard;
    Interaction* interaction;
    ResultType& result;

    void operator()()
    {
        TrackingManager* tracking = interaction ? interaction->GetTrackingManager() : nullptr;
        if (tracking)
            tracking->BeginCall(call.ClearsTrackingData(), call.IsTracked());

        JournalArguments& journal = guard.Journal();
        const bool journalling = guard.IsJournalling();
        if (journalling) {
            journal.SetArgTypeInput();
            if (call.NeedsInteraction())
                journal.WriteJournalArgInteractionTag(*guard.GetInteractionTag(),
                                                      call.interactionArgName);
            if (parts.inputs)
                parts.inputs(journal);
            journal.ClearArgType();
        }
        if (void (*fault)() = s_faultForTest) {
            s_faultForTest = nullptr;
            fault();
        }
        if (call.NeedsInteraction() && !interaction) {
            result = ResultTypeBadArgument;
            return;
        }
        if (parts.requirements)
            result = parts.requirements(interaction);
        if (result == ResultTypeOk && interaction && interaction->GetCheckArguments() &&
            parts.checks)
            result = parts.checks(interaction);
        if (result == ResultTypeOk && parts.effect)
            parts.effect(interaction, result);
        if (journalling) {
            journal.SetArgTypeOutput();
            if (parts.outputs)
                parts.outputs(journal);
            journal.ClearArgType();
            if (parts.returnValue)
                parts.returnValue(journal);
        }
        if (tracking && call.IsTracked())
            tracking->EndCall();
    }
};

}  // namespace

ResultType RunApiCallFrame(const ApiCallProperties& call, const int* interactionTag,
                           ResultType* result, const ApiCallParts& parts)
{
    ClearResult(result);
    ResultType local = ResultTypeOk;
    {
        ApiCallGuard guard(interactionTag, call.IsJournallable(), call.IsQuery(), call.name);
        JournalArguments& journal = guard.Journal();
        if (guard.IsJournalling()) {
            journal.WriteJournalFunctionBegin();
            journal.WriteJournalFunctionName(call.name);
        }
        local = guard.GetInitialResult();
        if (local == ResultTypeOk) {
            Interaction* interaction = call.NeedsInteraction() && interactionTag
                                           ? FindInteraction(*interactionTag)
                                           : nullptr;
            ProtectedSteps steps{call, parts, guard, interaction, local};
            if (!RunWithFaultRecovery(steps))
                local = ResultTypeUnhandledException;
        }
        if (local == ResultTypeUnhandledException)
            TagManager::ClearInteractions();
        SetResult(result, local);
        if (guard.IsJournalling() && IsJournalOpen()) {
            journal.ClearArgType();
            journal.WriteJournalArgResultType(local);
            journal.WriteJournalFunctionEnd();
        }
        // The registry is gone, so later records could not be replayed against what came
        // before: the journal ends here even when this call itself was not journalled.
        if (local == ResultTypeUnhandledException && IsJournalOpen())
            CloseJournal();
    }
    return local;
}

ResultType FirstFailure(std::initializer_list<ResultType> results)
{
    for (ResultType result : results)
        if (result != ResultTypeOk)
            return result;
    return ResultTypeOk;
}

void SetApiCallFaultForTest(void (*fault)()) { s_faultForTest = fault; }

}  // namespace QEL
