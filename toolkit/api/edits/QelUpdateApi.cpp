#include "api/edits/QelUpdateApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/journal/JournalArguments.h"
#include "model/operations/FaceChangeBuilder.h"
#include "update/pass/ReblendedFaces.h"
#include "update/pass/UpdateTimes.h"

namespace QEL {

namespace {

using StatusCallback = void (*)();

// Application code: journalled as unhandled, so that replay cannot call the call again.
struct StatusCallbackArg : ApiArgument {
    StatusCallback callback;
    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgUnhandled(name, "StatusCallback", "data");
    }
    StatusCallback Get(Interaction*) const { return callback; }
};

double TimeCall(const ApiCallProperties& call, double (*time)(), ResultType* result)
{
    return ProcessCall<double>(call, result).Run([time](Interaction*, ResultType&) {
        return time();
    });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(GetBuildTime, ApiCallProcessWide | ApiCallQuery);
double GetBuildTime(ResultType* result)
{
    return TimeCall(s_GetBuildTime, &UpdateTimes::GetBuild, result);
}

QEL_API_REPLAYABLE_CALL(GetSolveTime, ApiCallProcessWide | ApiCallQuery);
double GetSolveTime(ResultType* result)
{
    return TimeCall(s_GetSolveTime, &UpdateTimes::GetSolve, result);
}

QEL_API_REPLAYABLE_CALL(GetApplyTime, ApiCallProcessWide | ApiCallQuery);
double GetApplyTime(ResultType* result)
{
    return TimeCall(s_GetApplyTime, &UpdateTimes::GetApply, result);
}

QEL_API_REPLAYABLE_CALL(GetFaceChangeTime, ApiCallProcessWide | ApiCallQuery);
double GetFaceChangeTime(ResultType* result)
{
    return TimeCall(s_GetFaceChangeTime, &GetLastFaceChangeTime, result);
}

QEL_API_REPLAYABLE_CALL(ResetUpdateTimes, ApiCallProcessWide);
void ResetUpdateTimes(ResultType* result)
{
    ProcessCall(s_ResetUpdateTimes, result).Run([](Interaction*, ResultType&) {
        UpdateTimes::Reset();
    });
}

QEL_API_CALL(SetStatusCallback, ApiCallProcessWide);
void SetStatusCallback(void (*callback)(), ResultType* result)
{
    ProcessCall(s_SetStatusCallback, result, StatusCallbackArg{{"callback"}, callback})
        .Run([](Interaction*, ResultType&, StatusCallback set) {
            UpdateTimes::SetStatusCallback(set);
        });
}

QEL_API_CALL(GetReblendedFaces, ApiCallProcessWide | ApiCallQuery);
std::vector<int>* GetReblendedFaces(ResultType* result)
{
    return ProcessCall<std::vector<int>*>(s_GetReblendedFaces, result)
        .Returns([](JournalArguments& journal, std::vector<int>* faces) {
            journal.WriteJournalReturnPointer(faces);
        })
        .Run([](Interaction*, ResultType&) { return PeekReblendedFaces(); });
}

QEL_API_REPLAYABLE_CALL(ClearReblendedFaces, ApiCallProcessWide);
void ClearReblendedFaces(ResultType* result)
{
    ProcessCall(s_ClearReblendedFaces, result).Run([](Interaction*, ResultType&) {
        FreeReblendedFaces();
    });
}

}  // namespace QEL
