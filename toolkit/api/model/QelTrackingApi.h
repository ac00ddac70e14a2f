#pragma once
// Exported calls that switch change tracking for an interaction, choose what is reported, and
// read the change records the last modelling call left: the lists of kernel map and label
// records and of toolkit records, and each record's type and tags. The list calls append to
// the caller's array.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void OptionSetTrackChanges(int interaction, bool trackChanges, ResultType* result);
QEL_API bool OptionGetTrackChanges(int interaction, ResultType* result);
QEL_API void OptionSetTrackingMergeCallbackData(int interaction, bool mergeCallbackData,
                                                ResultType* result);
QEL_API bool OptionGetTrackingMergeCallbackData(int interaction, ResultType* result);
QEL_API void OptionSetTrackingReportUpdateData(int interaction, bool reportUpdateData,
                                               ResultType* result);
QEL_API bool OptionGetTrackingReportUpdateData(int interaction, ResultType* result);
QEL_API TrackingDataType TrackingDataGetType(int interaction, int trackingData, ResultType* result);
QEL_API int TrackingGetBrennikMapData(int interaction, Array<int>* mapData, ResultType* result);
QEL_API int TrackingGetBrennikLabelData(int interaction, Array<int>* labelData, ResultType* result);
QEL_API int TrackingGetQELData(int interaction, Array<int>* qelData, ResultType* result);
QEL_API int TrackingGetQELUpdateData(int interaction, Array<int>* qelUpdateData,
                                     ResultType* result);
QEL_API int TrackingDataGetOldTags(int interaction, int trackingData, Array<int>* oldTags,
                                   ResultType* result);
QEL_API int TrackingDataGetNewTags(int interaction, int trackingData, Array<int>* newTags,
                                   ResultType* result);

}  // namespace QEL
