#pragma once
// Exported calls about the updates of all interactions: how long the last update's configure
// (build), solve, apply and kernel face change took, in seconds (-1.0 until the step has run),
// the status callback called after each of those steps, and the faces the last update
// re-blended. Each ends in the call's ResultType.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

#include <vector>

namespace QEL {

QEL_API double GetBuildTime(ResultType* result);
QEL_API double GetSolveTime(ResultType* result);
QEL_API double GetApplyTime(ResultType* result);
QEL_API double GetFaceChangeTime(ResultType* result);
// The solve, apply and face-change times go back to -1.0; the build time stays.
QEL_API void ResetUpdateTimes(ResultType* result);
// Called with no argument after each configure, solve and apply step; null switches it off.
QEL_API void SetStatusCallback(void (*callback)(), ResultType* result);
// The faces the last update re-blended; null when none were recorded. The list belongs to the
// toolkit and lives until ClearReblendedFaces or the next update.
QEL_API std::vector<int>* GetReblendedFaces(ResultType* result);
QEL_API void ClearReblendedFaces(ResultType* result);

}  // namespace QEL
