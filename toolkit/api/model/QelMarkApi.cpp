#include "api/model/QelMarkApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/rollback/RollbackState.h"

namespace QEL {

namespace {

// Marks stand still while an operation runs: it rolls back to its own mark at every step.
bool RefuseDuringOperation(Interaction* interaction, ResultType& status)
{
    if (!interaction->GetCurrentSolverOperation())
        return false;
    status = ResultTypeDragActive;
    return true;
}

// RollToMark and DeleteMark: the same shape, their journal names differ in case.
void MarkCall(const ApiCallProperties& call, int interaction, int markTag, const char* name,
              void (Interaction::*effect)(int), ResultType* result)
{
    Call(call, interaction, result, ObjectTagArg(markTag, name, CheckArgMarkTag, "MarkTag"))
        .Run([effect](Interaction* target, ResultType& status, int mark) {
            if (!RefuseDuringOperation(target, status))
                (target->*effect)(mark);
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateMark, 0);
int CreateMark(int interaction, ResultType* result)
{
    return Call<int>(s_CreateMark, interaction, result)
        .ReturnsTag("MarkTag")
        .Run([](Interaction* target, ResultType& status) {
            if (RefuseDuringOperation(target, status))
                return 0;
            const int mark = target->CreateMark();
            if (mark == 0)
                status = ResultTypeBadArgument;
            return mark;
        });
}

QEL_API_REPLAYABLE_CALL(RollToMark, 0);
void RollToMark(int interaction, int MarkTag, ResultType* result)
{
    MarkCall(s_RollToMark, interaction, MarkTag, "MarkTag", &Interaction::RollToMark, result);
}

QEL_API_REPLAYABLE_CALL(DeleteMark, 0);
void DeleteMark(int interaction, int markTag, ResultType* result)
{
    MarkCall(s_DeleteMark, interaction, markTag, "markTag", &Interaction::DeleteMark, result);
}

QEL_API_REPLAYABLE_CALL(GetMarkCount, ApiCallQuery);
int GetMarkCount(int interaction, ResultType* result)
{
    return CountCall(s_GetMarkCount, interaction, result, &Interaction::GetMarkCount);
}

QEL_API_REPLAYABLE_CALL(GetMark, ApiCallQuery);
int GetMark(int interaction, int index, ResultType* result)
{
    return Call<int>(s_GetMark, interaction, result, IntArg(index, "index"))
        .ReturnsTag("InstanceTag")
        .Run([](Interaction* target, ResultType& status, int at) {
            RollbackState* mark = target->GetMark(at);
            if (!mark)
                status = ResultTypeFail;
            return mark ? mark->GetMarkTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(GetCurrentMark, ApiCallQuery);
int GetCurrentMark(int interaction, bool& atMark, ResultType* result)
{
    return Call<int>(s_GetCurrentMark, interaction, result)
        .Outputs([&](JournalArguments& journal) { journal.WriteJournalArgBool(atMark, "atMark"); })
        .ReturnsTag("MarkTag")
        .Run([&](Interaction* target, ResultType& status) {
            const int mark = target->GetCurrentMark(atMark);
            if (mark == 0) {
                status = ResultTypeBadArgument;
                atMark = false;
            }
            return mark;
        });
}

}  // namespace QEL
