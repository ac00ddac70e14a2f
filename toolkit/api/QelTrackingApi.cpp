#include "api/QelTrackingApi.h"

#include "api/ApiLookups.h"
#include "api/ApiTagLists.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

namespace QEL {

namespace {

void SetFlagCall(const ApiCallProperties& call, int interaction, bool flag, const char* name,
                 void (Interaction::*set)(bool), ResultType* result)
{
    ApiCall<>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgBool(flag, name); })
        .Checks([&](Interaction*) { return CheckArgInt(flag); })
        .Run([&](Interaction* target, ResultType&) { (target->*set)(flag); });
}

bool GetFlagCall(const ApiCallProperties& call, int interaction, bool (Interaction::*get)() const,
                 ResultType* result)
{
    return ApiCall<bool>(call, interaction, result).Run([&](Interaction* target, ResultType&) {
        return (target->*get)();
    });
}

// One of the manager's lists: the count, and the records' tags appended to the array.
int ListCall(const ApiCallProperties& call, int interaction, Array<int>* tags, const char* name,
             const std::vector<TrackingData*>& (TrackingManager::*list)() const, ResultType* result)
{
    return ApiCall<int>(call, interaction, result)
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, tags, name); })
        .Run([&](Interaction* target, ResultType&) {
            return ListTags(tags, TagListMode::Append, (target->GetTrackingManager()->*list)(),
                            [](TrackingData* data) { return data->GetTag(); });
        });
}

// The record of the tag; only records of this interaction are read, so a stray tag with checks
// off is refused (ResultTypeBadArgument) instead of being followed.
TrackingData* RecordOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->GetTrackingManager()->FindTrackingDataFromTag(tag), status);
}

// One record's old or new tags: the count, and the tags appended to the array.
int RecordTagsCall(const ApiCallProperties& call, int interaction, int trackingData,
                   Array<int>* tags, const char* name, std::vector<int>& (TrackingData::*list)(),
                   ResultType* result)
{
    return ApiCall<int>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTrackingDataTag(trackingData, "trackingData");
        })
        .Checks([&](Interaction* target) { return CheckArgTagIsTrackingData(trackingData, target); })
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, tags, name); })
        .Run([&](Interaction* target, ResultType& status) {
            TrackingData* data = RecordOrRefuse(target, trackingData, status);
            return data ? ListTags(tags, TagListMode::Append, (data->*list)(), [](int tag) { return tag; })
                        : 0;
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OptionSetTrackChanges, 0);
void OptionSetTrackChanges(int interaction, bool trackChanges, ResultType* result)
{
    SetFlagCall(s_OptionSetTrackChanges, interaction, trackChanges, "trackChanges",
                &Interaction::SetTrackChanges, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetTrackChanges, ApiCallQuery);
bool OptionGetTrackChanges(int interaction, ResultType* result)
{
    return GetFlagCall(s_OptionGetTrackChanges, interaction, &Interaction::GetTrackChanges, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetTrackingMergeCallbackData, 0);
void OptionSetTrackingMergeCallbackData(int interaction, bool mergeCallbackData, ResultType* result)
{
    SetFlagCall(s_OptionSetTrackingMergeCallbackData, interaction, mergeCallbackData,
                "mergeCallbackData", &Interaction::SetTrackingMergeCallbackData, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetTrackingMergeCallbackData, ApiCallQuery);
bool OptionGetTrackingMergeCallbackData(int interaction, ResultType* result)
{
    return GetFlagCall(s_OptionGetTrackingMergeCallbackData, interaction,
                       &Interaction::GetTrackingMergeCallbackData, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetTrackingReportUpdateData, 0);
void OptionSetTrackingReportUpdateData(int interaction, bool reportUpdateData, ResultType* result)
{
    SetFlagCall(s_OptionSetTrackingReportUpdateData, interaction, reportUpdateData,
                "reportUpdateData", &Interaction::SetTrackingReportUpdateData, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetTrackingReportUpdateData, ApiCallQuery);
bool OptionGetTrackingReportUpdateData(int interaction, ResultType* result)
{
    return GetFlagCall(s_OptionGetTrackingReportUpdateData, interaction,
                       &Interaction::GetTrackingReportUpdateData, result);
}

QEL_API_REPLAYABLE_CALL(TrackingDataGetType, ApiCallQuery);
TrackingDataType TrackingDataGetType(int interaction, int trackingData, ResultType* result)
{
    return ApiCall<TrackingDataType>(s_TrackingDataGetType, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTrackingDataTag(trackingData, "trackingData");
        })
        .Checks([&](Interaction* target) { return CheckArgTagIsTrackingData(trackingData, target); })
        .Run([&](Interaction* target, ResultType& status) {
            TrackingData* data = RecordOrRefuse(target, trackingData, status);
            return data ? data->GetType() : TrackingDataTypeNone;
        });
}

QEL_API_REPLAYABLE_CALL(TrackingGetBrennikMapData, ApiCallQuery);
int TrackingGetBrennikMapData(int interaction, Array<int>* mapData, ResultType* result)
{
    return ListCall(s_TrackingGetBrennikMapData, interaction, mapData, "mapData",
                    &TrackingManager::GetBrennikMapData, result);
}

QEL_API_REPLAYABLE_CALL(TrackingGetBrennikLabelData, ApiCallQuery);
int TrackingGetBrennikLabelData(int interaction, Array<int>* labelData, ResultType* result)
{
    return ListCall(s_TrackingGetBrennikLabelData, interaction, labelData, "labelData",
                    &TrackingManager::GetBrennikLabelData, result);
}

QEL_API_REPLAYABLE_CALL(TrackingGetQELData, ApiCallQuery);
int TrackingGetQELData(int interaction, Array<int>* qelData, ResultType* result)
{
    return ListCall(s_TrackingGetQELData, interaction, qelData, "qelData",
                    &TrackingManager::GetQELData, result);
}

QEL_API_REPLAYABLE_CALL(TrackingGetQELUpdateData, ApiCallQuery);
int TrackingGetQELUpdateData(int interaction, Array<int>* qelUpdateData, ResultType* result)
{
    return ListCall(s_TrackingGetQELUpdateData, interaction, qelUpdateData, "qelUpdateData",
                    &TrackingManager::GetQELUpdateData, result);
}

QEL_API_REPLAYABLE_CALL(TrackingDataGetOldTags, ApiCallQuery);
int TrackingDataGetOldTags(int interaction, int trackingData, Array<int>* oldTags, ResultType* result)
{
    return RecordTagsCall(s_TrackingDataGetOldTags, interaction, trackingData, oldTags, "oldTags",
                          &TrackingData::GetOldTags, result);
}

QEL_API_REPLAYABLE_CALL(TrackingDataGetNewTags, ApiCallQuery);
int TrackingDataGetNewTags(int interaction, int trackingData, Array<int>* newTags, ResultType* result)
{
    return RecordTagsCall(s_TrackingDataGetNewTags, interaction, trackingData, newTags, "newTags",
                          &TrackingData::GetNewTags, result);
}

}  // namespace QEL
