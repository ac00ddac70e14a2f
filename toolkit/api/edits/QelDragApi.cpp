#include "api/edits/QelDragApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "solver/operations/OperationControl.h"

namespace QEL {

namespace {

// A drag that makes no update: the interaction's method is its result.
template <typename... Args, typename Method>
void DragCall(const ApiCallProperties& call, int interaction, ResultType* result, Method method,
              Args... args)
{
    Call(call, interaction, result, std::move(args)...)
        .Run([method](Interaction* target, ResultType& status, auto... values) {
            status = (OperationControl(target).*method)(values...);
        });
}

// A step: the update's status is returned and its result becomes the call's.
template <typename Arg, typename Method>
UpdateStatus StepCall(const ApiCallProperties& call, int interaction, ResultType* result,
                      Method method, Arg arg)
{
    return Call<UpdateStatus>(call, interaction, result, std::move(arg))
        .Run([method](Interaction* target, ResultType& status, auto value) {
            return (OperationControl(target).*method)(value, status);
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OptionSetExactDragging, 0);
void OptionSetExactDragging(int interaction, bool exactDragging, ResultType* result)
{
    Call(s_OptionSetExactDragging, interaction, result, BoolArg(exactDragging, "exactDragging"))
        .Run([](Interaction* target, ResultType& status, bool on) {
            status = target->SetExactDragging(on);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetExactDragging, ApiCallQuery);
bool OptionGetExactDragging(int interaction, ResultType* result)
{
    return Call<bool>(s_OptionGetExactDragging, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetExactDragging(); });
}

QEL_API_REPLAYABLE_CALL(OptionSetStepFaceTypeDragging, 0);
void OptionSetStepFaceTypeDragging(int interaction, StepFaceType stepFaceType, ResultType* result)
{
    EnumArg<StepFaceType> type(stepFaceType, "StepFaceType");
    type.check = CheckArgStepFaceType;
    Call(s_OptionSetStepFaceTypeDragging, interaction, result, type)
        .Run([](Interaction* target, ResultType& status, StepFaceType to) {
            status = target->SetStepFaceType(to);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetStepFaceTypeDragging, ApiCallQuery);
StepFaceType OptionGetStepFaceTypeDragging(int interaction, ResultType* result)
{
    return Call<StepFaceType>(s_OptionGetStepFaceTypeDragging, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetStepFaceType(); });
}

QEL_API_REPLAYABLE_CALL(DragRelationValueStart, 0);
void DragRelationValueStart(int interaction, int relation, ResultType* result)
{
    DragCall(s_DragRelationValueStart, interaction, result,
             &OperationControl::DragRelationValueStart, RelationArg(relation, "relation"));
}

QEL_API_REPLAYABLE_CALL(DragRelationValue, ApiCallTracked);
UpdateStatus DragRelationValue(int interaction, double value, ResultType* result)
{
    return StepCall(s_DragRelationValue, interaction, result, &OperationControl::DragRelationValue,
                    DoubleArg(value, "value"));
}

QEL_API_REPLAYABLE_CALL(DragRelationValueEnd, 0);
void DragRelationValueEnd(int interaction, ResultType* result)
{
    DragCall(s_DragRelationValueEnd, interaction, result, &OperationControl::DragRelationValueEnd);
}

QEL_API_REPLAYABLE_CALL(DragLinearStart, 0);
void DragLinearStart(int interaction, double linePos[3], double lineDir[3], double startPos[3],
                     ResultType* result)
{
    DragCall(s_DragLinearStart, interaction, result, &OperationControl::DragLinearStart,
             DoublesAt(linePos, 3, "linePos"), DoublesAt(lineDir, 3, "lineDir"),
             DoublesAt(startPos, 3, "startPos"));
}

QEL_API_REPLAYABLE_CALL(DragLinearStep, ApiCallTracked);
UpdateStatus DragLinearStep(int interaction, double posOnLine[3], ResultType* result)
{
    return StepCall(s_DragLinearStep, interaction, result, &OperationControl::DragPositionStep,
                    DoublesAt(posOnLine, 3, "posOnLine"));
}

QEL_API_REPLAYABLE_CALL(DragLinearEnd, 0);
void DragLinearEnd(int interaction, ResultType* result)
{
    DragCall(s_DragLinearEnd, interaction, result, &OperationControl::DragLinearEnd);
}

QEL_API_REPLAYABLE_CALL(DragPlanarStart, 0);
void DragPlanarStart(int interaction, double planePos[3], double planeDir[3], double startPos[3],
                     ResultType* result)
{
    DragCall(s_DragPlanarStart, interaction, result, &OperationControl::DragPlanarStart,
             DoublesAt(planePos, 3, "planePos"), DoublesAt(planeDir, 3, "planeDir"),
             DoublesAt(startPos, 3, "startPos"));
}

QEL_API_REPLAYABLE_CALL(DragPlanarStep, ApiCallTracked);
UpdateStatus DragPlanarStep(int interaction, double posOnPlane[3], ResultType* result)
{
    return StepCall(s_DragPlanarStep, interaction, result, &OperationControl::DragPositionStep,
                    DoublesAt(posOnPlane, 3, "posOnPlane"));
}

QEL_API_REPLAYABLE_CALL(DragPlanarEnd, 0);
void DragPlanarEnd(int interaction, ResultType* result)
{
    DragCall(s_DragPlanarEnd, interaction, result, &OperationControl::DragPlanarEnd);
}

QEL_API_REPLAYABLE_CALL(DragByGeneralTransformStart, 0);
void DragByGeneralTransformStart(int interaction, ResultType* result)
{
    DragCall(s_DragByGeneralTransformStart, interaction, result,
             &OperationControl::DragByGeneralTransformStart);
}

QEL_API_REPLAYABLE_CALL(DragByTranslateTransformStart, 0);
void DragByTranslateTransformStart(int interaction, ResultType* result)
{
    DragCall(s_DragByTranslateTransformStart, interaction, result,
             &OperationControl::DragByTranslateTransformStart);
}

QEL_API_REPLAYABLE_CALL(DragByRotateTransformStart, 0);
void DragByRotateTransformStart(int interaction, int axis, ResultType* result)
{
    Call(s_DragByRotateTransformStart, interaction, result, ReferenceArg(axis, "axis"))
        .Checks([axis](Interaction* target) { return CheckDragRotateAxisArgument(axis, target); })
        .Run([](Interaction* target, ResultType& status, Reference* found) {
            status = OperationControl(target).DragByRotateTransformStart(found);
        });
}

QEL_API_REPLAYABLE_CALL(DragByTransformStep, ApiCallTracked);
UpdateStatus DragByTransformStep(int interaction, double transform[4][4], ResultType* result)
{
    return StepCall(s_DragByTransformStep, interaction, result,
                    &OperationControl::DragByTransformStep, TransformArg(transform, "transform"));
}

QEL_API_REPLAYABLE_CALL(DragByTransformEnd, 0);
void DragByTransformEnd(int interaction, ResultType* result)
{
    DragCall(s_DragByTransformEnd, interaction, result, &OperationControl::DragByTransformEnd);
}

}  // namespace QEL
