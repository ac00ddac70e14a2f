#pragma once
// Exported calls of the application's undo points: making a mark, rolling to one (back or
// forward), deleting one, and reading the marks and the current one. While an operation or
// drag runs, marks are neither made, rolled to nor deleted.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API int CreateMark(int interaction, ResultType* result);
QEL_API void RollToMark(int interaction, int MarkTag, ResultType* result);
QEL_API void DeleteMark(int interaction, int markTag, ResultType* result);
QEL_API int GetMarkCount(int interaction, ResultType* result);
QEL_API int GetMark(int interaction, int index, ResultType* result);
// atMark: nothing has changed since the current mark was made or rolled to.
QEL_API int GetCurrentMark(int interaction, bool& atMark, ResultType* result);

}  // namespace QEL
