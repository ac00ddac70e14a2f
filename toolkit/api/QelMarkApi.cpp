#include "api/QelMarkApi.h"

#include "api/ApiCallRows.h"
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

void WriteMarkTag(JournalArguments& journal, int tag) { journal.WriteJournalReturnMarkTag(tag); }

// RollToMark and DeleteMark: the same shape, their journal names differ in case.
void MarkCall(const ApiCallProperties& call, int interaction, int markTag, const char* name,
              void (Interaction::*effect)(int), ResultType* result)
{
    ApiCall<>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgMarkTag(markTag, name); })
        .Checks([&](Interaction* target) { return CheckArgMarkTag(markTag, target); })
        .Run([&](Interaction* target, ResultType& status) {
            if (!RefuseDuringOperation(target, status))
                (target->*effect)(markTag);
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateMark, 0);
int CreateMark(int interaction, ResultType* result)
{
    return ApiCall<int>(s_CreateMark, interaction, result)
        .Returns(WriteMarkTag)
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
    return ApiCall<int>(s_GetMarkCount, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetMarkCount(); });
}

QEL_API_REPLAYABLE_CALL(GetMark, ApiCallQuery);
int GetMark(int interaction, int index, ResultType* result)
{
    return ApiCall<int>(s_GetMark, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInt(index, "index"); })
        .Checks([&](Interaction*) { return CheckArgInt(index); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnInstanceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            RollbackState* mark = target->GetMark(index);
            if (!mark) {
                status = ResultTypeFail;
                return 0;
            }
            return mark->GetMarkTag();
        });
}

QEL_API_REPLAYABLE_CALL(GetCurrentMark, ApiCallQuery);
int GetCurrentMark(int interaction, bool& atMark, ResultType* result)
{
    return ApiCall<int>(s_GetCurrentMark, interaction, result)
        .Checks([&](Interaction*) { return CheckArgInt(atMark); })
        .Outputs([&](JournalArguments& journal) { journal.WriteJournalArgBool(atMark, "atMark"); })
        .Returns(WriteMarkTag)
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
