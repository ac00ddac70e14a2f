#include "api/edits/QelDragOperationApi.h"

#include "api/ApiCallRows.h"
#include "api/model/FacePatternCasts.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "solver/operations/OperationControl.h"

namespace QEL {

namespace {

// The interaction's method is handed the arguments' values and gives the result.
template <typename Method, typename... Args>
void OperationCall(const ApiCallProperties& call, int interaction, ResultType* result,
                   Method method, Args... args)
{
    Call(call, interaction, result, std::move(args)...)
        .Run([method](Interaction* target, ResultType& status, auto... values) {
            status = (OperationControl(target).*method)(values...);
        });
}

// A pattern of the class the spacing belongs to; any other tag is refused whether checks are on
// or not, as the operation would follow it.
ObjectArg<RectangularFacePattern> RectangularPatternArg(int tag)
{
    return {{"pattern"}, tag, "RectangularFacePatternTag", CastTagToRectangularFacePattern};
}
ObjectArg<CircularFacePattern> CircularPatternArg(int tag)
{
    return {{"pattern"}, tag, "CircularFacePatternTag", CastTagToCircularFacePattern};
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OperationSetDragLinear, 0);
void OperationSetDragLinear(int interaction, double linePos[3], double lineDir[3],
                            double startPos[3], ResultType* result)
{
    OperationCall(s_OperationSetDragLinear, interaction, result,
                  &OperationControl::OperationSetDragLinear, DoublesAt(linePos, 3, "linePos"),
                  DoublesAt(lineDir, 3, "lineDir"), DoublesAt(startPos, 3, "startPos"));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragPlanar, 0);
void OperationSetDragPlanar(int interaction, double planePos[3], double planeDir[3],
                            double startPos[3], ResultType* result)
{
    OperationCall(s_OperationSetDragPlanar, interaction, result,
                  &OperationControl::OperationSetDragPlanar, DoublesAt(planePos, 3, "planePos"),
                  DoublesAt(planeDir, 3, "planeDir"), DoublesAt(startPos, 3, "startPos"));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragRotate, 0);
void OperationSetDragRotate(int interaction, double axisPos[3], double axisDir[3],
                            ResultType* result)
{
    OperationCall(s_OperationSetDragRotate, interaction, result,
                  &OperationControl::OperationSetDragRotate, DoublesAt(axisPos, 3, "axisPos"),
                  DoublesAt(axisDir, 3, "axisDir"));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragByTransform, 0);
void OperationSetDragByTransform(int interaction, ResultType* result)
{
    OperationCall(s_OperationSetDragByTransform, interaction, result,
                  &OperationControl::OperationSetDragByTransform);
}

QEL_API_REPLAYABLE_CALL(OperationSetDragRectangularFacePatternXSpacing, 0);
void OperationSetDragRectangularFacePatternXSpacing(int interaction, int pattern,
                                                    ResultType* result)
{
    OperationCall(s_OperationSetDragRectangularFacePatternXSpacing, interaction, result,
                  &OperationControl::OperationSetDragRectangularFacePatternXSpacing,
                  RectangularPatternArg(pattern));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragRectangularFacePatternYSpacing, 0);
void OperationSetDragRectangularFacePatternYSpacing(int interaction, int pattern,
                                                    ResultType* result)
{
    OperationCall(s_OperationSetDragRectangularFacePatternYSpacing, interaction, result,
                  &OperationControl::OperationSetDragRectangularFacePatternYSpacing,
                  RectangularPatternArg(pattern));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragCircularFacePatternSpacing, 0);
void OperationSetDragCircularFacePatternSpacing(int interaction, int pattern, ResultType* result)
{
    OperationCall(s_OperationSetDragCircularFacePatternSpacing, interaction, result,
                  &OperationControl::OperationSetDragCircularFacePatternSpacing,
                  CircularPatternArg(pattern));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragBlendRadius, 0);
void OperationSetDragBlendRadius(int interaction, const Array<int>& blendFacesFacesToChange,
                                 ResultType* result)
{
    OperationCall(s_OperationSetDragBlendRadius, interaction, result,
                  &OperationControl::OperationSetDragBlendRadius,
                  FacesArg(blendFacesFacesToChange, "blendFacesFacesToChange").NotEmpty());
}

QEL_API_REPLAYABLE_CALL(OperationSetDragShellThickness, 0);
void OperationSetDragShellThickness(int interaction, const Array<int>& shellSide,
                                    bool changeShellSymmetrically, ResultType* result)
{
    OperationCall(s_OperationSetDragShellThickness, interaction, result,
                  &OperationControl::OperationSetDragShellThickness,
                  FacesArg(shellSide, "shellSide").NotEmpty(),
                  BoolArg(changeShellSymmetrically, "changeShellSymmetrically"));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragOffsetValues, 0);
void OperationSetDragOffsetValues(int interaction, const Array<int>& facesToOffset, int options,
                                  ResultType* result)
{
    Call(s_OperationSetDragOffsetValues, interaction, result,
         FacesArg(facesToOffset, "facesToOffset").NotEmpty(),
         OptionsArg<OffsetFacesOptions>(options, "options"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& faces,
                OffsetFacesOptions* held) {
            status = OperationControl(target).OperationSetDragOffsetValues(faces, *held);
        });
}

QEL_API_REPLAYABLE_CALL(OperationSetNewRelation, 0);
void OperationSetNewRelation(int interaction, int relation, ResultType* result)
{
    OperationCall(s_OperationSetNewRelation, interaction, result,
                  &OperationControl::OperationSetNewRelation, RelationArg(relation, "relation"));
}

QEL_API_REPLAYABLE_CALL(OperationSetDragRelationValue, 0);
void OperationSetDragRelationValue(int interaction, int relation, ResultType* result)
{
    OperationCall(s_OperationSetDragRelationValue, interaction, result,
                  &OperationControl::OperationSetDragRelationValue,
                  RelationArg(relation, "relation"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragLinear, 0);
void OperationStepDragLinear(int interaction, double posOnLine[3], ResultType* result)
{
    OperationCall(s_OperationStepDragLinear, interaction, result,
                  &OperationControl::OperationStepDragLinear, DoublesAt(posOnLine, 3, "posOnLine"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragPlanar, 0);
void OperationStepDragPlanar(int interaction, double posOnPlane[3], ResultType* result)
{
    OperationCall(s_OperationStepDragPlanar, interaction, result,
                  &OperationControl::OperationStepDragPlanar,
                  DoublesAt(posOnPlane, 3, "posOnPlane"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragRotate, 0);
void OperationStepDragRotate(int interaction, double angle, ResultType* result)
{
    OperationCall(s_OperationStepDragRotate, interaction, result,
                  &OperationControl::OperationStepDragRotate, DoubleArg(angle, "angle"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragByTransform, 0);
void OperationStepDragByTransform(int interaction, double transform[4][4], ResultType* result)
{
    OperationCall(s_OperationStepDragByTransform, interaction, result,
                  &OperationControl::OperationStepDragByTransform,
                  TransformArg(transform, "transform"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragRectangularFacePatternXSpacing, 0);
void OperationStepDragRectangularFacePatternXSpacing(int interaction, int pattern, double spacing,
                                                     ResultType* result)
{
    OperationCall(s_OperationStepDragRectangularFacePatternXSpacing, interaction, result,
                  &OperationControl::OperationStepDragRectangularFacePatternXSpacing,
                  RectangularPatternArg(pattern), DoubleArg(spacing, "spacing"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragRectangularFacePatternYSpacing, 0);
void OperationStepDragRectangularFacePatternYSpacing(int interaction, int pattern, double spacing,
                                                     ResultType* result)
{
    OperationCall(s_OperationStepDragRectangularFacePatternYSpacing, interaction, result,
                  &OperationControl::OperationStepDragRectangularFacePatternYSpacing,
                  RectangularPatternArg(pattern), DoubleArg(spacing, "spacing"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragCircularFacePatternSpacing, 0);
void OperationStepDragCircularFacePatternSpacing(int interaction, int pattern, double spacing,
                                                 ResultType* result)
{
    OperationCall(s_OperationStepDragCircularFacePatternSpacing, interaction, result,
                  &OperationControl::OperationStepDragCircularFacePatternSpacing,
                  CircularPatternArg(pattern), DoubleArg(spacing, "spacing"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragBlendRadius, 0);
void OperationStepDragBlendRadius(int interaction, double newBlendRadius, ResultType* result)
{
    OperationCall(s_OperationStepDragBlendRadius, interaction, result,
                  &OperationControl::OperationStepDragBlendRadius,
                  DoubleArg(newBlendRadius, "newBlendRadius"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragShellThickness, 0);
void OperationStepDragShellThickness(int interaction, double newThickness, ResultType* result)
{
    OperationCall(s_OperationStepDragShellThickness, interaction, result,
                  &OperationControl::OperationStepDragShellThickness,
                  DoubleArg(newThickness, "newThickness"));
}

QEL_API_REPLAYABLE_CALL(OperationStepDragOffsetValues, 0);
void OperationStepDragOffsetValues(int interaction, const Array<double>& offsetValues,
                                   ResultType* result)
{
    // An empty list has no value to step to, whether checks are on or not.
    Call(s_OperationStepDragOffsetValues, interaction, result,
         DoublesArg(offsetValues, "offsetValues"))
        .Requires(
            [&offsetValues](Interaction*) { return RefusedUnless(offsetValues.GetSize() > 0); })
        .Run([](Interaction* target, ResultType& status, const std::vector<double>& values) {
            status = OperationControl(target).OperationStepDragOffsetValues(values);
        });
}

QEL_API_REPLAYABLE_CALL(OperationStepDragRelationValue, 0);
void OperationStepDragRelationValue(int interaction, int relation, double value, ResultType* result)
{
    OperationCall(s_OperationStepDragRelationValue, interaction, result,
                  &OperationControl::OperationStepDragRelationValue,
                  RelationArg(relation, "relation"), DoubleArg(value, "value"));
}

}  // namespace QEL
