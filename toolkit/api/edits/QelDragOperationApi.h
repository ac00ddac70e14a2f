#pragma once
// Exported calls that give the interaction its current operation (a drag, a blend-radius,
// shell-thickness or face-offset drag, or relations with or without new values) and that step
// the started operation to new values. A step stores its value only; the next OperationUpdate
// solves with the values last stepped.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// ResultTypeOperationCombinationNotSupported while any operation is set.
QEL_API void OperationSetDragLinear(int interaction, double linePos[3], double lineDir[3],
                                    double startPos[3], ResultType* result);
QEL_API void OperationSetDragPlanar(int interaction, double planePos[3], double planeDir[3],
                                    double startPos[3], ResultType* result);
QEL_API void OperationSetDragRotate(int interaction, double axisPos[3], double axisDir[3],
                                    ResultType* result);
QEL_API void OperationSetDragByTransform(int interaction, ResultType* result);
// ResultTypeFail for a pattern without the direction or axis reference of the spacing.
QEL_API void OperationSetDragRectangularFacePatternXSpacing(int interaction, int pattern,
                                                            ResultType* result);
QEL_API void OperationSetDragRectangularFacePatternYSpacing(int interaction, int pattern,
                                                            ResultType* result);
QEL_API void OperationSetDragCircularFacePatternSpacing(int interaction, int pattern,
                                                        ResultType* result);
QEL_API void OperationSetDragBlendRadius(int interaction, const Array<int>& blendFacesFacesToChange,
                                         ResultType* result);
QEL_API void OperationSetDragShellThickness(int interaction, const Array<int>& shellSide,
                                            bool changeShellSymmetrically, ResultType* result);
QEL_API void OperationSetDragOffsetValues(int interaction, const Array<int>& facesToOffset,
                                          int options, ResultType* result);
// Into the current operation or a new relations-only one; ResultTypeOperationStarted while
// started.
QEL_API void OperationSetNewRelation(int interaction, int relation, ResultType* result);
QEL_API void OperationSetDragRelationValue(int interaction, int relation, ResultType* result);

// ResultTypeOperationNotSet without a started operation of the step's class,
// ResultTypeOperationNotConfigured and ResultTypeOperationNotStarted before those states.
QEL_API void OperationStepDragLinear(int interaction, double posOnLine[3], ResultType* result);
QEL_API void OperationStepDragPlanar(int interaction, double posOnPlane[3], ResultType* result);
// Radians from the start.
QEL_API void OperationStepDragRotate(int interaction, double angle, ResultType* result);
QEL_API void OperationStepDragByTransform(int interaction, double transform[4][4],
                                          ResultType* result);
// ResultTypeOperationNotSet too for a spacing edit of another pattern or direction.
QEL_API void OperationStepDragRectangularFacePatternXSpacing(int interaction, int pattern,
                                                             double spacing, ResultType* result);
QEL_API void OperationStepDragRectangularFacePatternYSpacing(int interaction, int pattern,
                                                             double spacing, ResultType* result);
// Radians.
QEL_API void OperationStepDragCircularFacePatternSpacing(int interaction, int pattern,
                                                         double spacing, ResultType* result);
QEL_API void OperationStepDragBlendRadius(int interaction, double newBlendRadius,
                                          ResultType* result);
QEL_API void OperationStepDragShellThickness(int interaction, double newThickness,
                                             ResultType* result);
// One value for every face, or one per face in the order they were set.
QEL_API void OperationStepDragOffsetValues(int interaction, const Array<double>& offsetValues,
                                           ResultType* result);
// The value is kept even when the operation is not yet started.
QEL_API void OperationStepDragRelationValue(int interaction, int relation, double value,
                                            ResultType* result);

}  // namespace QEL
