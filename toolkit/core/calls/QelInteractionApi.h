#pragma once
// Exported calls that create and destroy an interaction, run an update without an operation,
// compare two interactions, hand out entity ids and set or read the per-interaction options
// that have no object of their own. Each ends in the call's ResultType.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API int CreateInteraction(ResultType* result);
QEL_API void DestroyInteraction(int interaction, ResultType* result);
QEL_API void OptionSetModellingTolerance(int interaction, double modellingTolerance,
                                         ResultType* result);
QEL_API double OptionGetModellingTolerance(int interaction, ResultType* result);
QEL_API UpdateStatus Update(int interaction, ResultType* result);
QEL_API bool DebugCompareInteractions(int interaction1, int interaction2, bool bodyCompareOnly,
                                      ResultType* result);
QEL_API void OptionSetDelayAddDCalls(int interaction, bool delayCall, ResultType* result);
QEL_API void OptionSetAdaptiveLiftMode(int interaction, bool adaptiveLiftMode, ResultType* result);
QEL_API bool OptionGetAdaptiveLiftMode(int interaction, ResultType* result);
QEL_API void OptionSetIncludeMutuallyDependentBlends(int interaction,
                                                     bool includeMutuallyDependentBlends,
                                                     ResultType* result);
QEL_API bool OptionGetIncludeMutuallyDependentBlends(int interaction, ResultType* result);
QEL_API void OptionSetDimensionAnimationForDrag(int interaction, bool useAnimationDragging,
                                                ResultType* result);
QEL_API bool OptionGetDimensionAnimationForDrag(int interaction, ResultType* result);
QEL_API int GetNextUniqueIdInTheInteraction(int interaction, ResultType* result);
QEL_API void OptionSetCheckArguments(int interaction, bool checkArguments, ResultType* result);
QEL_API bool OptionGetCheckArguments(int interaction, ResultType* result);

}  // namespace QEL
