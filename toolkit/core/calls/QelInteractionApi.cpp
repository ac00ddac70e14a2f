#include "core/calls/QelInteractionApi.h"

#include "core/frame/ApiCallTable.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"

namespace QEL {
namespace {

// The one flag of a boolean option setter as its journal input.
std::function<void(JournalArguments&)> JournalFlag(const bool& flag, const char* name)
{
    return [&flag, name](JournalArguments& journal) { journal.WriteJournalArgBool(flag, name); };
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateInteraction, ApiCallProcessWide);
int CreateInteraction(ResultType* result)
{
    return ApiCall<int>(s_CreateInteraction, result)
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnInteractionTag(tag); })
        .Run([](Interaction*, ResultType& status) {
            status = Interaction::CheckNewInteractionAllowed();
            if (status != ResultTypeOk)
                return 0;
            return (new Interaction(CreateTypeLive))->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(DestroyInteraction, 0);
void DestroyInteraction(int interaction, ResultType* result)
{
    ApiCall<>(s_DestroyInteraction, interaction, result).Run([](Interaction* target, ResultType&) {
        target->Destroy();
    });
}

QEL_API_REPLAYABLE_CALL(OptionSetModellingTolerance, 0);
void OptionSetModellingTolerance(int interaction, double modellingTolerance, ResultType* result)
{
    ApiCall<>(s_OptionSetModellingTolerance, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgDouble(modellingTolerance, "modellingTolerance");
        })
        .Checks([&](Interaction*) { return CheckArgDouble(modellingTolerance); })
        .Run([&](Interaction* target, ResultType& status) {
            status = target->SetModellingTolerance(modellingTolerance);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetModellingTolerance, ApiCallQuery);
double OptionGetModellingTolerance(int interaction, ResultType* result)
{
    return ApiCall<double>(s_OptionGetModellingTolerance, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetModellingTolerance(); });
}

QEL_API_REPLAYABLE_CALL(Update, ApiCallTracked);
UpdateStatus Update(int interaction, ResultType* result)
{
    return ApiCall<UpdateStatus>(s_Update, interaction, result)
        .Run([](Interaction* target, ResultType& status) {
            if (target->GetCurrentSolverOperation()) {
                status = ResultTypeDragActive;
                return UpdateUnknown;
            }
            const UpdateStatus update = target->Update(nullptr);
            if (update == UpdateUnknown)
                status = ResultTypeFail;
            return update;
        });
}

QEL_API_CALL_NAMED_TAG(DebugCompareInteractions, ApiCallQuery | ApiCallReplayable, "interaction1");
bool DebugCompareInteractions(int interaction1, int interaction2, bool bodyCompareOnly,
                              ResultType* result)
{
    return ApiCall<bool>(s_DebugCompareInteractions, interaction1, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgInteractionTag(interaction2, "interaction2");
            journal.WriteJournalArgBool(bodyCompareOnly, "bodyCompareOnly");
        })
        .Checks([&](Interaction*) { return CheckArgInteractionTag(interaction2); })
        .Run([&](Interaction* first, ResultType& status) {
            return first->Compare(FindInteraction(interaction2), bodyCompareOnly, &status);
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetDelayAddDCalls, 0);
void OptionSetDelayAddDCalls(int interaction, bool delayCall, ResultType* result)
{
    ApiCall<>(s_OptionSetDelayAddDCalls, interaction, result)
        .Inputs(JournalFlag(delayCall, "delayCall"))
        .Checks([&](Interaction*) { return CheckArgInt(delayCall); })
        .Run([&](Interaction* target, ResultType& status) { status = target->SetDelayAddDCalls(delayCall); });
}

QEL_API_REPLAYABLE_CALL(OptionSetAdaptiveLiftMode, 0);
void OptionSetAdaptiveLiftMode(int interaction, bool adaptiveLiftMode, ResultType* result)
{
    ApiCall<>(s_OptionSetAdaptiveLiftMode, interaction, result)
        .Inputs(JournalFlag(adaptiveLiftMode, "adaptiveLiftMode"))
        .Checks([&](Interaction*) { return CheckArgInt(adaptiveLiftMode); })
        .Run([&](Interaction* target, ResultType& status) {
            status = target->SetAdaptiveLiftMode(adaptiveLiftMode);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetAdaptiveLiftMode, ApiCallQuery);
bool OptionGetAdaptiveLiftMode(int interaction, ResultType* result)
{
    return ApiCall<bool>(s_OptionGetAdaptiveLiftMode, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetAdaptiveLiftMode(); });
}

QEL_API_REPLAYABLE_CALL(OptionSetIncludeMutuallyDependentBlends, 0);
void OptionSetIncludeMutuallyDependentBlends(int interaction, bool includeMutuallyDependentBlends,
                                             ResultType* result)
{
    ApiCall<>(s_OptionSetIncludeMutuallyDependentBlends, interaction, result)
        .Inputs(JournalFlag(includeMutuallyDependentBlends, "includeMutuallyDependentBlends"))
        .Checks([&](Interaction*) { return CheckArgInt(includeMutuallyDependentBlends); })
        .Run([&](Interaction* target, ResultType& status) {
            status = target->SetIncludeMutuallyDependentBlends(includeMutuallyDependentBlends);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetIncludeMutuallyDependentBlends, ApiCallQuery);
bool OptionGetIncludeMutuallyDependentBlends(int interaction, ResultType* result)
{
    return ApiCall<bool>(s_OptionGetIncludeMutuallyDependentBlends, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetIncludeMutuallyDependentBlends(); });
}

QEL_API_REPLAYABLE_CALL(OptionSetDimensionAnimationForDrag, 0);
void OptionSetDimensionAnimationForDrag(int interaction, bool useAnimationDragging, ResultType* result)
{
    ApiCall<>(s_OptionSetDimensionAnimationForDrag, interaction, result)
        .Inputs(JournalFlag(useAnimationDragging, "useAnimationDragging"))
        .Checks([&](Interaction*) { return CheckArgInt(useAnimationDragging); })
        .Run([&](Interaction* target, ResultType&) {
            target->SetDimensionAnimationForDrag(useAnimationDragging);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetDimensionAnimationForDrag, ApiCallQuery);
bool OptionGetDimensionAnimationForDrag(int interaction, ResultType* result)
{
    return ApiCall<bool>(s_OptionGetDimensionAnimationForDrag, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetDimensionAnimationForDrag(); });
}

// Counts as a query, so a minimised journal leaves it out; the counter is not rolled back.
QEL_API_CALL(GetNextUniqueIdInTheInteraction, ApiCallQuery);
int GetNextUniqueIdInTheInteraction(int interaction, ResultType* result)
{
    return ApiCall<int>(s_GetNextUniqueIdInTheInteraction, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->NextEntityId(); });
}

// The check-arguments switch itself runs no checks.
QEL_API_REPLAYABLE_CALL(OptionSetCheckArguments, ApiCallQuery);
void OptionSetCheckArguments(int interaction, bool checkArguments, ResultType* result)
{
    ApiCall<>(s_OptionSetCheckArguments, interaction, result)
        .Inputs(JournalFlag(checkArguments, "checkArguments"))
        .Run([&](Interaction* target, ResultType&) { target->SetCheckArguments(checkArguments); });
}

QEL_API_REPLAYABLE_CALL(OptionGetCheckArguments, ApiCallQuery);
bool OptionGetCheckArguments(int interaction, ResultType* result)
{
    return ApiCall<bool>(s_OptionGetCheckArguments, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetCheckArguments(); });
}

}  // namespace QEL
