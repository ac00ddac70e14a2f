#pragma once
// Exported calls that drive the interaction's current operation through its life (configure,
// start, update, end or abort, clear) and answer what it is and holds. Each update starts again
// from the model as it was at the start, so the values stepped in are absolute.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// Answers whether the edit can be solved; false when the configure did not run.
QEL_API bool OperationConfigure(int interaction, ResultType* result);
QEL_API void OperationStart(int interaction, ResultType* result);
QEL_API UpdateStatus OperationUpdate(int interaction, ResultType* result);
// Keeps the changes; the operation stays set with its values back at their start.
QEL_API void OperationEnd(int interaction, ResultType* result);
// Rolls the model back to the start; the operation stays set.
QEL_API void OperationAbort(int interaction, ResultType* result);
// Drops the operation with the configure's found data and the rules the application did not
// define.
QEL_API void OperationClear(int interaction, ResultType* result);

// Queries, never journalled.
QEL_API bool OperationConfigured(int interaction, ResultType* result);
QEL_API bool OperationStarted(int interaction, ResultType* result);
QEL_API OperationType OperationGetType(int interaction, ResultType* result);
QEL_API void OperationGetDragPosition(int interaction, double position[3], ResultType* result);
QEL_API void OperationGetDragTransform(int interaction, double transform[4][4], ResultType* result);
QEL_API void OperationGetDirection(int interaction, double direction[3], ResultType* result);
QEL_API void OperationGetStartPosition(int interaction, double position[3], ResultType* result);
// object: 0 for the operation's own value, a relation or face pattern of the operation, or a
// face of an offset or shell-thickness drag.
QEL_API double OperationGetDragValue(int interaction, int object, ResultType* result);
// Lists the relations (then an offset drag's faces) and answers the number of relations.
QEL_API int OperationGetObjects(int interaction, Array<int>* objects, ResultType* result);

}  // namespace QEL
