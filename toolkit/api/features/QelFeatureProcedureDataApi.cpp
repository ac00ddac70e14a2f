#include "api/features/QelFeatureProcedureDataApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/tracking/TrackingManager.h"
#include "model/features/FeatureProcedureData.h"

#include <algorithm>

namespace QEL {
namespace {

using Record = FeatureProcedureData;

ObjectArg<Record> RecordArg(int tag) { return OptionsArg<Record>(tag, "featureProcedureDataTag"); }

// A setter clears the previous call's tracking data, except from inside a running procedure:
// the call that runs the procedure is still collecting its own.
void ClearTrackingDataOutsideRun(Interaction* target, Record* record)
{
    if (record->IsInRun())
        return;
    if (TrackingManager* tracking = target->GetTrackingManager())
        tracking->ClearData();
}

constexpr unsigned s_setter = ApiCallKeepsTrackingData;

template <typename Setter, typename Arg>
void SetField(const ApiCallProperties& call, int interaction, int recordTag, Setter setter,
              Arg value, ResultType* result)
{
    Call(call, interaction, result, RecordArg(recordTag), std::move(value))
        .Run([setter](Interaction* target, ResultType&, Record* record, auto field) {
            ClearTrackingDataOutsideRun(target, record);
            (record->*setter)(field);
        });
}

template <typename Getter>
int GetTagField(const ApiCallProperties& call, int interaction, int recordTag, const char* kind,
                Getter getter, ResultType* result)
{
    return Call<int>(call, interaction, result, RecordArg(recordTag))
        .ReturnsTag(kind)
        .Run([getter](Interaction*, ResultType&, Record* record) { return (record->*getter)(); });
}

// The 16 values of a profile transform, journalled as a "Transform" so that a replay passes
// them on. Read through the pointer when given; with checks on a null one is refused.
struct ProfileXformArg : ApiArgument {
    const double* values;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgTransform(reinterpret_cast<const double(*)[4]>(values), name);
    }
    ResultType Check(Interaction*) const { return CheckArgPointer(values); }
    const double* Get(Interaction*) const { return values; }
};

// Where the 16 values are copied to: the call cannot go on without it. Journalled after the
// call as the values it then holds.
struct ProfileXformOutputArg : ApiArgument {
    double* values;

    void JournalOutput(JournalArguments& journal) const
    {
        journal.WriteJournalArgTransform(reinterpret_cast<const double(*)[4]>(values), name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(values != nullptr); }
    double* Get(Interaction*) const { return values; }
};

// The journal carries the transform as a "Transform", which replay hands on as four rows; the
// calls take the same 16 values as one run of doubles.
bool ReplaySetProfileXform(std::vector<ReplayValue>& arguments, ReplayValue* returnValue)
{
    CheckReplayArgumentCount(arguments, 4);
    const int interaction = arguments[0].GetInt();
    const int record = arguments[1].GetInt();
    double(*matrix)[4] = arguments[2].GetTransform();
    FeatureProcedureDataSetProfileXform(interaction, record, matrix ? &matrix[0][0] : nullptr,
                                        arguments[3].GetResultTypePointer());
    if (returnValue)
        returnValue->SetKind(ReplayValueKindNone);
    return true;
}

bool ReplayGetProfileXform(std::vector<ReplayValue>& arguments, ReplayValue* returnValue)
{
    CheckReplayArgumentCount(arguments, 4);
    const int interaction = arguments[0].GetInt();
    const int record = arguments[1].GetInt();
    double(*matrix)[4] = arguments[2].GetTransform();
    const bool held = FeatureProcedureDataGetProfileXform(
        interaction, record, matrix ? &matrix[0][0] : nullptr, arguments[3].GetResultTypePointer());
    if (returnValue)
        returnValue->SetBool(held);
    return true;
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateFeatureProcedureData, 0);
int CreateFeatureProcedureData(int interaction, ResultType* result)
{
    return Call<int>(s_CreateFeatureProcedureData, interaction, result)
        .ReturnsTag("FeatureProcedureDataTag")
        .Run([](Interaction* target, ResultType& status) {
            Record* record = new Record(target);
            if (record->GetTag() == 0) {
                record->Release();
                status = ResultTypeFail;
                return 0;
            }
            return record->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetFeatureTag, s_setter);
void FeatureProcedureDataSetFeatureTag(int interaction, int featureProcedureDataTag, int featureTag,
                                       ResultType* result)
{
    SetField(s_FeatureProcedureDataSetFeatureTag, interaction, featureProcedureDataTag,
             &Record::SetFeatureTag,
             ObjectTagArg(featureTag, "featureTag", CheckArgFeatureTag, "FeatureTag"), result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetMainBodyTag, s_setter);
void FeatureProcedureDataSetMainBodyTag(int interaction, int featureProcedureDataTag,
                                        int mainBodyTag, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetMainBodyTag, interaction, featureProcedureDataTag,
             &Record::SetMainBodyTag,
             AnyTagArg(mainBodyTag, "mainBodyTag", "BodyTag", CheckArgBodyTag), result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetCutToolBodyTag, s_setter);
void FeatureProcedureDataSetCutToolBodyTag(int interaction, int featureProcedureDataTag,
                                           int cutToolBodyTag, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetCutToolBodyTag, interaction, featureProcedureDataTag,
             &Record::SetCutToolBodyTag,
             AnyTagArg(cutToolBodyTag, "cutToolBodyTag", "BodyTag", CheckArgBodyTag), result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetCutToolMappingDataTag, s_setter);
void FeatureProcedureDataSetCutToolMappingDataTag(int interaction, int featureProcedureDataTag,
                                                  int cutToolMappingData, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetCutToolMappingDataTag, interaction, featureProcedureDataTag,
             &Record::SetCutToolMappingDataTag,
             ObjectTagArg(cutToolMappingData, "cutToolMappingData", CheckArgMappingDataTag,
                          "MappingDataTag"),
             result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetFeatureProcedureType, s_setter);
void FeatureProcedureDataSetFeatureProcedureType(int interaction, int featureProcedureDataTag,
                                                 FeatureProcedureType featureProcedureType,
                                                 ResultType* result)
{
    EnumArg<FeatureProcedureType> type(featureProcedureType, "featureProcedureType");
    type.check = CheckArgEnumIn0To2;
    SetField(s_FeatureProcedureDataSetFeatureProcedureType, interaction, featureProcedureDataTag,
             &Record::SetFeatureProcedureType, type, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetProcedureMappingDataTag, s_setter);
void FeatureProcedureDataSetProcedureMappingDataTag(int interaction, int featureProcedureDataTag,
                                                    int procedureMappingData, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetProcedureMappingDataTag, interaction, featureProcedureDataTag,
             &Record::SetProcedureMappingDataTag,
             ObjectTagArg(procedureMappingData, "procedureMappingData", CheckArgMappingDataTag,
                          "MappingDataTag"),
             result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetToolPartition, s_setter);
void FeatureProcedureDataSetToolPartition(int interaction, int featureProcedureDataTag,
                                          int toolPartition, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetToolPartition, interaction, featureProcedureDataTag,
             &Record::SetToolPartition, PartitionArg(toolPartition, "toolPartition"), result);
}

QEL_API_CALL(FeatureProcedureDataSetAppData, s_setter);
void FeatureProcedureDataSetAppData(int interaction, int featureProcedureDataTag, void* appData,
                                    ResultType* result)
{
    Call(s_FeatureProcedureDataSetAppData, interaction, result, RecordArg(featureProcedureDataTag),
         ValueArg<const void*>{
             {"appData"}, appData, &JournalArguments::WriteJournalArgPointer, CheckArgPointer})
        .Run([](Interaction* target, ResultType&, Record* record, const void* data) {
            ClearTrackingDataOutsideRun(target, record);
            record->SetAppData(const_cast<void*>(data));
        });
}

QEL_API_CALL(FeatureProcedureDataSetProfileXform, s_setter | ApiCallReplayable);
[[maybe_unused]] static const bool s_setProfileXformReplays =
    RegisterReplayFunction("FeatureProcedureDataSetProfileXform", &ReplaySetProfileXform);
void FeatureProcedureDataSetProfileXform(int interaction, int featureProcedureDataTag,
                                         const double* profileXform, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetProfileXform, interaction, featureProcedureDataTag,
             &Record::SetProfileXform, ProfileXformArg{{"profileXform"}, profileXform}, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetResult, s_setter);
void FeatureProcedureDataSetResult(int interaction, int featureProcedureDataTag,
                                   ResultType resultFromProcedure, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetResult, interaction, featureProcedureDataTag,
             &Record::SetResult, EnumArg<ResultType>(resultFromProcedure, "resultFromProcedure"),
             result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataSetProcedureToolBody, s_setter);
void FeatureProcedureDataSetProcedureToolBody(int interaction, int featureProcedureDataTag,
                                              int procedureToolBody, ResultType* result)
{
    SetField(s_FeatureProcedureDataSetProcedureToolBody, interaction, featureProcedureDataTag,
             &Record::SetProcedureToolBody,
             AnyTagArg(procedureToolBody, "procedureToolBody", "BodyTag", CheckArgBodyTag), result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetFeatureTag, ApiCallQuery);
int FeatureProcedureDataGetFeatureTag(int interaction, int featureProcedureDataTag,
                                      ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetFeatureTag, interaction, featureProcedureDataTag,
                       "FeatureTag", &Record::GetFeatureTag, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetMainBodyTag, ApiCallQuery);
int FeatureProcedureDataGetMainBodyTag(int interaction, int featureProcedureDataTag,
                                       ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetMainBodyTag, interaction, featureProcedureDataTag,
                       "BodyTag", &Record::GetMainBodyTag, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetCutToolBodyTag, ApiCallQuery);
int FeatureProcedureDataGetCutToolBodyTag(int interaction, int featureProcedureDataTag,
                                          ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetCutToolBodyTag, interaction,
                       featureProcedureDataTag, "BodyTag", &Record::GetCutToolBodyTag, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetCutToolMappingDataTag, ApiCallQuery);
int FeatureProcedureDataGetCutToolMappingDataTag(int interaction, int featureProcedureDataTag,
                                                 ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetCutToolMappingDataTag, interaction,
                       featureProcedureDataTag, "MappingDataTag", &Record::GetCutToolMappingDataTag,
                       result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetFeatureProcedureType, ApiCallQuery);
FeatureProcedureType FeatureProcedureDataGetFeatureProcedureType(int interaction,
                                                                 int featureProcedureDataTag,
                                                                 ResultType* result)
{
    return Call<FeatureProcedureType>(s_FeatureProcedureDataGetFeatureProcedureType, interaction,
                                      result, RecordArg(featureProcedureDataTag))
        .Run([](Interaction*, ResultType&, Record* record) {
            return record->GetFeatureProcedureType();
        });
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetProcedureMappingData, ApiCallQuery);
int FeatureProcedureDataGetProcedureMappingData(int interaction, int featureProcedureDataTag,
                                                ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetProcedureMappingData, interaction,
                       featureProcedureDataTag, "MappingDataTag",
                       &Record::GetProcedureMappingDataTag, result);
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetToolPartition, ApiCallQuery);
int FeatureProcedureDataGetToolPartition(int interaction, int featureProcedureDataTag,
                                         ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetToolPartition, interaction, featureProcedureDataTag,
                       "PartitionTag", &Record::GetToolPartition, result);
}

QEL_API_CALL(FeatureProcedureDataGetAppData, ApiCallQuery);
void* FeatureProcedureDataGetAppData(int interaction, int featureProcedureDataTag,
                                     ResultType* result)
{
    return Call<void*>(s_FeatureProcedureDataGetAppData, interaction, result,
                       RecordArg(featureProcedureDataTag))
        .Returns(
            [](JournalArguments& journal, void* data) { journal.WriteJournalReturnPointer(data); })
        .Run([](Interaction*, ResultType&, Record* record) { return record->GetAppData(); });
}

QEL_API_CALL(FeatureProcedureDataGetProfileXform, ApiCallQuery | ApiCallReplayable);
[[maybe_unused]] static const bool s_getProfileXformReplays =
    RegisterReplayFunction("FeatureProcedureDataGetProfileXform", &ReplayGetProfileXform);
bool FeatureProcedureDataGetProfileXform(int interaction, int featureProcedureDataTag,
                                         double* profileXform, ResultType* result)
{
    return Call<bool>(s_FeatureProcedureDataGetProfileXform, interaction, result,
                      RecordArg(featureProcedureDataTag),
                      ProfileXformOutputArg{{"profileXform"}, profileXform})
        .Run([](Interaction*, ResultType&, Record* record, double* out) {
            const double* held = record->GetProfileXform();
            if (held)
                std::copy(held, held + 16, out);
            return held != nullptr;
        });
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetProcedureResult, ApiCallQuery);
ResultType FeatureProcedureDataGetProcedureResult(int interaction, int featureProcedureDataTag,
                                                  ResultType* result)
{
    return Call<ResultType>(s_FeatureProcedureDataGetProcedureResult, interaction, result,
                            RecordArg(featureProcedureDataTag))
        .Run([](Interaction*, ResultType&, Record* record) { return record->GetResult(); });
}

QEL_API_REPLAYABLE_CALL(FeatureProcedureDataGetProcedureToolBody, ApiCallQuery);
int FeatureProcedureDataGetProcedureToolBody(int interaction, int featureProcedureDataTag,
                                             ResultType* result)
{
    return GetTagField(s_FeatureProcedureDataGetProcedureToolBody, interaction,
                       featureProcedureDataTag, "BodyTag", &Record::GetProcedureToolBody, result);
}

}  // namespace QEL
