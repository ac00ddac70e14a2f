#include "api/model/QelTrackingApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiTagLists.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

namespace QEL {

namespace {

void SetFlagCall(const ApiCallProperties& call, int interaction, bool flag, const char* name,
                 void (Interaction::*set)(bool), ResultType* result)
{
    Call(call, interaction, result, BoolArg(flag, name))
        .Run([set](Interaction* target, ResultType&, bool to) { (target->*set)(to); });
}

bool GetFlagCall(const ApiCallProperties& call, int interaction, bool (Interaction::*get)() const,
                 ResultType* result)
{
    return Call<bool>(call, interaction, result).Run([get](Interaction* target, ResultType&) {
        return (target->*get)();
    });
}

// One of the manager's lists: the count, and the records' tags appended to the array.
int ListCall(const ApiCallProperties& call, int interaction, Array<int>* tags, const char* name,
             const std::vector<TrackingData*>& (TrackingManager::*list)() const, ResultType* result)
{
    return Call<int>(call, interaction, result, TagListOutput(tags, name))
        .Run([list](Interaction* target, ResultType&, Array<int>* out) {
            return ListTags(out, TagListMode::Append, (target->GetTrackingManager()->*list)(),
                            [](TrackingData* data) { return data->GetTag(); });
        });
}

// Only records of this interaction are read, so a stray tag with checks off is refused instead
// of being followed.
TrackingData* FindTrackingDataArg(Interaction* interaction, int tag)
{
    return interaction->GetTrackingManager()->FindTrackingDataFromTag(tag);
}

ObjectArg<TrackingData> TrackingDataArg(int tag)
{
    return {{"trackingData"}, tag, "TrackingDataTag", FindTrackingDataArg};
}

// One record's old or new tags: the count, and the tags appended to the array.
int RecordTagsCall(const ApiCallProperties& call, int interaction, int trackingData,
                   Array<int>* tags, const char* name, std::vector<int>& (TrackingData::*list)(),
                   ResultType* result)
{
    return Call<int>(call, interaction, result, TrackingDataArg(trackingData),
                     TagListOutput(tags, name))
        .Run([list](Interaction*, ResultType&, TrackingData* data, Array<int>* out) {
            return ListTags(out, TagListMode::Append, (data->*list)(), [](int tag) { return tag; });
        });
}

}  // namespace

// The three tracking flags: a setter and a getter each.
#define QEL_DEFINE_TRACKING_FLAG_CALLS(Flag, argName)                                        \
    QEL_API_REPLAYABLE_CALL(OptionSet##Flag, 0);                                             \
    void OptionSet##Flag(int interaction, bool value, ResultType* result)                    \
    {                                                                                        \
        SetFlagCall(s_OptionSet##Flag, interaction, value, argName, &Interaction::Set##Flag, \
                    result);                                                                 \
    }                                                                                        \
    QEL_API_REPLAYABLE_CALL(OptionGet##Flag, ApiCallQuery);                                  \
    bool OptionGet##Flag(int interaction, ResultType* result)                                \
    {                                                                                        \
        return GetFlagCall(s_OptionGet##Flag, interaction, &Interaction::Get##Flag, result); \
    }
QEL_DEFINE_TRACKING_FLAG_CALLS(TrackChanges, "trackChanges")
QEL_DEFINE_TRACKING_FLAG_CALLS(TrackingMergeCallbackData, "mergeCallbackData")
QEL_DEFINE_TRACKING_FLAG_CALLS(TrackingReportUpdateData, "reportUpdateData")
#undef QEL_DEFINE_TRACKING_FLAG_CALLS

QEL_API_REPLAYABLE_CALL(TrackingDataGetType, ApiCallQuery);
TrackingDataType TrackingDataGetType(int interaction, int trackingData, ResultType* result)
{
    return Call<TrackingDataType>(s_TrackingDataGetType, interaction, result,
                                  TrackingDataArg(trackingData))
        .Run([](Interaction*, ResultType&, TrackingData* data) { return data->GetType(); });
}

// The manager's four lists of records.
#define QEL_DEFINE_TRACKING_LIST_CALL(List, argName)                                \
    QEL_API_REPLAYABLE_CALL(TrackingGet##List, ApiCallQuery);                       \
    int TrackingGet##List(int interaction, Array<int>* records, ResultType* result) \
    {                                                                               \
        return ListCall(s_TrackingGet##List, interaction, records, argName,         \
                        &TrackingManager::Get##List, result);                       \
    }
QEL_DEFINE_TRACKING_LIST_CALL(BrennikMapData, "mapData")
QEL_DEFINE_TRACKING_LIST_CALL(BrennikLabelData, "labelData")
QEL_DEFINE_TRACKING_LIST_CALL(QELData, "qelData")
QEL_DEFINE_TRACKING_LIST_CALL(QELUpdateData, "qelUpdateData")
#undef QEL_DEFINE_TRACKING_LIST_CALL

QEL_API_REPLAYABLE_CALL(TrackingDataGetOldTags, ApiCallQuery);
int TrackingDataGetOldTags(int interaction, int trackingData, Array<int>* oldTags,
                           ResultType* result)
{
    return RecordTagsCall(s_TrackingDataGetOldTags, interaction, trackingData, oldTags, "oldTags",
                          &TrackingData::GetOldTags, result);
}

QEL_API_REPLAYABLE_CALL(TrackingDataGetNewTags, ApiCallQuery);
int TrackingDataGetNewTags(int interaction, int trackingData, Array<int>* newTags,
                           ResultType* result)
{
    return RecordTagsCall(s_TrackingDataGetNewTags, interaction, trackingData, newTags, "newTags",
                          &TrackingData::GetNewTags, result);
}

}  // namespace QEL
