#include "core/calls/QelInteractionApi.h"

#include "core/frame/ApiArguments.h"
#include "core/frame/ApiCallTable.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"

namespace QEL {
namespace {

// A boolean option of the interaction: the setter answers the call's result, or none.
template <typename Set>
void SetFlagCall(const ApiCallProperties& call, int interaction, bool flag, const char* name,
                 Set set, ResultType* result)
{
    Call(call, interaction, result, BoolArg(flag, name))
        .Run([set](Interaction* target, ResultType& status, bool to) {
            if constexpr (std::is_same<decltype((target->*set)(to)), ResultType>::value)
                status = (target->*set)(to);
            else
                (target->*set)(to);
        });
}

template <typename Value>
Value GetOptionCall(const ApiCallProperties& call, int interaction,
                    Value (Interaction::*get)() const, ResultType* result)
{
    return Call<Value>(call, interaction, result).Run([get](Interaction* target, ResultType&) {
        return (target->*get)();
    });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateInteraction, ApiCallProcessWide);
int CreateInteraction(ResultType* result)
{
    return ProcessCall<int>(s_CreateInteraction, result)
        .ReturnsTag("InteractionTag")
        .Run([](Interaction*, ResultType& status) {
            status = Interaction::CheckNewInteractionAllowed();
            return status == ResultTypeOk ? (new Interaction(CreateTypeLive))->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(DestroyInteraction, 0);
void DestroyInteraction(int interaction, ResultType* result)
{
    Call(s_DestroyInteraction, interaction, result).Run([](Interaction* target, ResultType&) {
        target->Destroy();
    });
}

QEL_API_REPLAYABLE_CALL(OptionSetModellingTolerance, 0);
void OptionSetModellingTolerance(int interaction, double modellingTolerance, ResultType* result)
{
    Call(s_OptionSetModellingTolerance, interaction, result,
         DoubleArg(modellingTolerance, "modellingTolerance"))
        .Run([](Interaction* target, ResultType& status, double to) {
            status = target->SetModellingTolerance(to);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetModellingTolerance, ApiCallQuery);
double OptionGetModellingTolerance(int interaction, ResultType* result)
{
    return GetOptionCall(s_OptionGetModellingTolerance, interaction,
                         &Interaction::GetModellingTolerance, result);
}

QEL_API_REPLAYABLE_CALL(Update, ApiCallTracked);
UpdateStatus Update(int interaction, ResultType* result)
{
    return Call<UpdateStatus>(s_Update, interaction, result)
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
    return Call<bool>(
               s_DebugCompareInteractions, interaction1, result,
               AnyTagArg(interaction2, "interaction2", "InteractionTag", CheckArgInteractionTag),
               BoolArg(bodyCompareOnly, "bodyCompareOnly"))
        .Run([](Interaction* first, ResultType& status, int second, bool bodiesOnly) {
            return first->Compare(FindInteraction(second), bodiesOnly, &status);
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetDelayAddDCalls, 0);
void OptionSetDelayAddDCalls(int interaction, bool delayCall, ResultType* result)
{
    SetFlagCall(s_OptionSetDelayAddDCalls, interaction, delayCall, "delayCall",
                &Interaction::SetDelayAddDCalls, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetAdaptiveLiftMode, 0);
void OptionSetAdaptiveLiftMode(int interaction, bool adaptiveLiftMode, ResultType* result)
{
    SetFlagCall(s_OptionSetAdaptiveLiftMode, interaction, adaptiveLiftMode, "adaptiveLiftMode",
                &Interaction::SetAdaptiveLiftMode, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetAdaptiveLiftMode, ApiCallQuery);
bool OptionGetAdaptiveLiftMode(int interaction, ResultType* result)
{
    return GetOptionCall(s_OptionGetAdaptiveLiftMode, interaction,
                         &Interaction::GetAdaptiveLiftMode, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetIncludeMutuallyDependentBlends, 0);
void OptionSetIncludeMutuallyDependentBlends(int interaction, bool includeMutuallyDependentBlends,
                                             ResultType* result)
{
    SetFlagCall(s_OptionSetIncludeMutuallyDependentBlends, interaction,
                includeMutuallyDependentBlends, "includeMutuallyDependentBlends",
                &Interaction::SetIncludeMutuallyDependentBlends, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetIncludeMutuallyDependentBlends, ApiCallQuery);
bool OptionGetIncludeMutuallyDependentBlends(int interaction, ResultType* result)
{
    return GetOptionCall(s_OptionGetIncludeMutuallyDependentBlends, interaction,
                         &Interaction::GetIncludeMutuallyDependentBlends, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetDimensionAnimationForDrag, 0);
void OptionSetDimensionAnimationForDrag(int interaction, bool useAnimationDragging,
                                        ResultType* result)
{
    SetFlagCall(s_OptionSetDimensionAnimationForDrag, interaction, useAnimationDragging,
                "useAnimationDragging", &Interaction::SetDimensionAnimationForDrag, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetDimensionAnimationForDrag, ApiCallQuery);
bool OptionGetDimensionAnimationForDrag(int interaction, ResultType* result)
{
    return GetOptionCall(s_OptionGetDimensionAnimationForDrag, interaction,
                         &Interaction::GetDimensionAnimationForDrag, result);
}

// Counts as a query, so a minimised journal leaves it out; the counter is not rolled back.
QEL_API_CALL(GetNextUniqueIdInTheInteraction, ApiCallQuery);
int GetNextUniqueIdInTheInteraction(int interaction, ResultType* result)
{
    return Call<int>(s_GetNextUniqueIdInTheInteraction, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->NextEntityId(); });
}

// The check-arguments switch itself runs no checks.
QEL_API_REPLAYABLE_CALL(OptionSetCheckArguments, ApiCallQuery);
void OptionSetCheckArguments(int interaction, bool checkArguments, ResultType* result)
{
    SetFlagCall(s_OptionSetCheckArguments, interaction, checkArguments, "checkArguments",
                &Interaction::SetCheckArguments, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetCheckArguments, ApiCallQuery);
bool OptionGetCheckArguments(int interaction, ResultType* result)
{
    return GetOptionCall(s_OptionGetCheckArguments, interaction, &Interaction::GetCheckArguments,
                         result);
}

}  // namespace QEL
