#pragma once
// Exported calls that drive the interactive drags: the exact-dragging and step-face options,
// and the drags of a relation's value, along a line, in a plane and by transform. A drag is a
// start call, step calls that each run one whole update and answer its UpdateStatus, and the
// end call of the same kind. Positions and directions are three doubles in model coordinates;
// the transform is a 4x4 matrix given as four rows.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// ResultTypeDragActive while an operation is set.
QEL_API void OptionSetExactDragging(int interaction, bool exactDragging, ResultType* result);
QEL_API bool OptionGetExactDragging(int interaction, ResultType* result);
QEL_API void OptionSetStepFaceTypeDragging(int interaction, StepFaceType stepFaceType,
                                           ResultType* result);
QEL_API StepFaceType OptionGetStepFaceTypeDragging(int interaction, ResultType* result);

// Starts refuse with ResultTypeDragActive while any operation is set; steps answer
// ResultTypeDragInactive without a drag; ends refuse with ResultTypeFail a drag of another kind.
QEL_API void DragRelationValueStart(int interaction, int relation, ResultType* result);
QEL_API UpdateStatus DragRelationValue(int interaction, double value, ResultType* result);
QEL_API void DragRelationValueEnd(int interaction, ResultType* result);
QEL_API void DragLinearStart(int interaction, double linePos[3], double lineDir[3],
                             double startPos[3], ResultType* result);
QEL_API UpdateStatus DragLinearStep(int interaction, double posOnLine[3], ResultType* result);
QEL_API void DragLinearEnd(int interaction, ResultType* result);
// ResultTypeNoSelection when nothing is selected.
QEL_API void DragPlanarStart(int interaction, double planePos[3], double planeDir[3],
                             double startPos[3], ResultType* result);
QEL_API UpdateStatus DragPlanarStep(int interaction, double posOnPlane[3], ResultType* result);
QEL_API void DragPlanarEnd(int interaction, ResultType* result);
QEL_API void DragByGeneralTransformStart(int interaction, ResultType* result);
QEL_API void DragByTranslateTransformStart(int interaction, ResultType* result);
QEL_API void DragByRotateTransformStart(int interaction, int axis, ResultType* result);
QEL_API UpdateStatus DragByTransformStep(int interaction, double transform[4][4],
                                         ResultType* result);
QEL_API void DragByTransformEnd(int interaction, ResultType* result);

}  // namespace QEL
