// The exported process-wide defaults and algorithm switches, the version, and the two resets.
// The journalling controls are in QelJournallingApi.cpp.

#include "core/calls/QelSystemApi.h"

#include "core/frame/ApiCallTable.h"
#include "core/frame/ProcessWideCalls.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/support/AlgorithmSwitches.h"

#include <cstdio>
#include <vector>

namespace QEL {
namespace {

constexpr int s_versionMajor = 1;
constexpr int s_versionMinor = 2;
constexpr int s_versionBuild = 4;
// "01.02.004" and its terminator.
constexpr int s_versionLength = 10;

}  // namespace

QEL_API_REPLAYABLE_CALL(OptionSetAllowMultipleInteractions, ApiCallProcessWide);
void OptionSetAllowMultipleInteractions(bool allowMultipleInteractions, ResultType* result)
{
    ProcessCall(s_OptionSetAllowMultipleInteractions, result,
                BoolArg(allowMultipleInteractions, "allowMultipleInteractions"))
        .Run([](Interaction*, ResultType& status, bool allow) {
            // The interactions already there stay; the application is told they are several.
            if (!allow && TagManager::GetInteractionCount() > 1)
                status = ResultTypeMultipleInteractions;
            Interaction::SetAllowMultipleInteractions(allow);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetAllowMultipleInteractions, ApiCallProcessWide);
bool OptionGetAllowMultipleInteractions(ResultType* result)
{
    return RunGetFlagCall(s_OptionGetAllowMultipleInteractions,
                          &Interaction::GetAllowMultipleInteractions, result);
}

QEL_API_REPLAYABLE_CALL(SetNewPFAlgorithmStatus, ApiCallProcessWide);
void SetNewPFAlgorithmStatus(bool newPFAlgorithm, ResultType* result)
{
    RunSetFlagCall(s_SetNewPFAlgorithmStatus, newPFAlgorithm, "newPFAlgorithm", &SetNewPFAlgorithm,
                   result);
}

QEL_API_REPLAYABLE_CALL(GetNewPFAlgorithmStatus, ApiCallProcessWide);
bool GetNewPFAlgorithmStatus(ResultType* result)
{
    return RunGetFlagCall(s_GetNewPFAlgorithmStatus, &GetNewPFAlgorithm, result);
}

QEL_API_REPLAYABLE_CALL(SetHXRPFBasedAlgorithmStatus, ApiCallProcessWide);
void SetHXRPFBasedAlgorithmStatus(bool newHXRPFAlgorithm, ResultType* result)
{
    RunSetFlagCall(s_SetHXRPFBasedAlgorithmStatus, newHXRPFAlgorithm, "newHXRPFAlgorithm",
                   &SetHXRPFBasedAlgorithm, result);
}

QEL_API_REPLAYABLE_CALL(GetHXRPFBasedAlgorithmStatus, ApiCallProcessWide);
bool GetHXRPFBasedAlgorithmStatus(ResultType* result)
{
    return RunGetFlagCall(s_GetHXRPFBasedAlgorithmStatus, &GetHXRPFBasedAlgorithm, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetCheckArgumentsDefault, ApiCallProcessWide);
void OptionSetCheckArgumentsDefault(bool checkArguments, ResultType* result)
{
    RunSetFlagCall(s_OptionSetCheckArgumentsDefault, checkArguments, "checkArguments",
                   &Interaction::SetCheckArgumentsDefault, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetCheckArgumentsDefault, ApiCallProcessWide);
bool OptionGetCheckArgumentsDefault(ResultType* result)
{
    return RunGetFlagCall(s_OptionGetCheckArgumentsDefault, &Interaction::GetCheckArgumentsDefault,
                          result);
}

QEL_API_CALL(AskVersion, ApiCallProcessWide);
void AskVersion(char* version, ResultType* result)
{
    ProcessCall(s_AskVersion, result)
        .Outputs([version](JournalArguments& journal) {
            journal.WriteJournalArgString(version, "version");
        })
        .Run([version](Interaction*, ResultType&) {
            if (version)
                std::snprintf(version, s_versionLength, "%02d.%02d.%03d", s_versionMajor,
                              s_versionMinor, s_versionBuild);
        });
}

QEL_API_REPLAYABLE_CALL(Reset, ApiCallProcessWide);
void Reset(ResultType* result)
{
    ProcessCall(s_Reset, result).Run([](Interaction*, ResultType&) {
        // Destroying an interaction takes it out of the registry: work on a copy.
        std::vector<Interaction*> interactions;
        TagManager::GetInteractions(interactions);
        for (Interaction* interaction : interactions)
            interaction->Destroy();
        Interaction::SetAllowMultipleInteractions(false);
    });
}

// No frame: it must work when the frame itself cannot, so it installs nothing and journals
// nothing.
void SystemReset(ResultType* result)
{
    TagManager::ClearInteractions();
    ClearResult(result);
}

}  // namespace QEL
