// The exported journalling controls: the journal itself, its minimise option, and the solver's
// journal files and the add-on's reports that go beside it.

#include "core/calls/QelSystemApi.h"

#include "core/frame/ApiCallTable.h"
#include "core/frame/ProcessWideCalls.h"
#include "core/journal/DebugJournalSwitches.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/AddOnFacade.h"
#include "core/objects/TagManager.h"

#include <string>

namespace QEL {
namespace {

constexpr const char* s_defaultJournalFileName = "QELJournal.xml";

const char* TextOrEmpty(const char* text) { return text ? text : ""; }

// Opening writes every registered interaction into the new journal, and their bodies go
// through the kernel, which may fault. That runs before the call's own frame, so it is covered
// here as a call's body would be: a fault leaves no journal open and empties the registry.
ResultType OpenJournalOfCall(const ApiCallProperties& call, const std::string& path)
{
    // The writer answers one code for both failures; the caller tells them apart.
    if (IsJournalOpen())
        return ResultTypeFail;
    int opened = ResultTypeFail;
    bool completed = false;
    {
        ApiCallGuard handlers(nullptr, false, false, call.name);
        completed = RunWithFaultRecovery([&opened, &path] { opened = OpenJournal(path.c_str()); });
    }
    if (!completed) {
        if (IsJournalOpen())
            CloseJournal();
        TagManager::ClearInteractions();
        return ResultTypeUnhandledException;
    }
    return opened == 0 ? ResultTypeOk : ResultTypeCouldNotOpenFile;
}

void SetPrefixCall(const ApiCallProperties& call, DebugJournalSwitch& target, const char* prefix,
                   ResultType* result)
{
    ProcessCall(call, result, TextArg(prefix, "prefix"))
        .Run([&target](Interaction*, ResultType&, const char* to) { target.SetPrefix(to); });
}

void SetBaseIndexCall(const ApiCallProperties& call, DebugJournalSwitch& target, int baseIndex,
                      ResultType* result)
{
    ProcessCall(call, result, IntArg(baseIndex, "baseIndex"))
        .Run([&target](Interaction*, ResultType&, int to) { target.SetNumber(to); });
}

}  // namespace

QEL_API_CALL(StartJournalling, ApiCallProcessWide);
void StartJournalling(const char* journalPrefix, const char* fileName, bool includeTessik,
                      bool includeBrennik, ResultType* result)
{
    // No separator goes between the two: a prefix names a directory only when it ends in one.
    const std::string path = std::string(TextOrEmpty(journalPrefix)) +
                             (fileName && *fileName ? fileName : s_defaultJournalFileName);
    const ResultType opened = OpenJournalOfCall(s_StartJournalling, path);
    if (includeTessik)
        GetSolverJournalSwitch().Start(journalPrefix);
    if (includeBrennik)
        GetAddOnReportSwitch().Start(journalPrefix);
    // The call's own record goes into whatever journal is open now.
    ProcessCall(s_StartJournalling, result, TextArg(journalPrefix, "journalPrefix"),
                BoolArg(includeTessik, "includeTessik"), BoolArg(includeBrennik, "includeBrennik"))
        .Run([opened](Interaction*, ResultType& status, auto&&...) { status = opened; });
}

QEL_API_CALL(StopJournalling, ApiCallProcessWide);
void StopJournalling(ResultType* result)
{
    // The call's record is complete before the journal closes behind it.
    ResultType status = ResultTypeOk;
    ProcessCall(s_StopJournalling, &status).Run([](Interaction*, ResultType&) {});
    if (status == ResultTypeOk) {
        status = static_cast<ResultType>(CloseJournal());
        GetSolverJournalSwitch().Stop();
        GetAddOnReportSwitch().Stop();
    }
    SetResult(result, status);
}

QEL_API_CALL(IsJournalling, ApiCallProcessWide);
bool IsJournalling(ResultType* result)
{
    return RunGetFlagCall(s_IsJournalling, &IsJournalOpen, result);
}

QEL_API_REPLAYABLE_CALL(SetMinimiseJournal, ApiCallProcessWide | ApiCallNotJournallable);
void SetMinimiseJournal(bool minimiseJournal, ResultType* result)
{
    RunSetFlagCall(s_SetMinimiseJournal, minimiseJournal, "minimiseJournal", &SetJournalMinimised,
                   result);
}

QEL_API_REPLAYABLE_CALL(GetMinimiseJournal, ApiCallProcessWide | ApiCallNotJournallable);
bool GetMinimiseJournal(ResultType* result)
{
    return RunGetFlagCall(s_GetMinimiseJournal, &IsJournalMinimised, result);
}

QEL_API_CALL(SetTessikJournalling, ApiCallProcessWide);
void SetTessikJournalling(bool tessikJournalling, ResultType* result)
{
    RunSetFlagCall(
        s_SetTessikJournalling, tessikJournalling, "tessikJournalling",
        [](bool on) { GetSolverJournalSwitch().SetOn(on); }, result);
}

QEL_API_CALL(GetTessikJournalling, ApiCallProcessWide);
bool GetTessikJournalling(ResultType* result)
{
    return RunGetFlagCall(
        s_GetTessikJournalling, [] { return GetSolverJournalSwitch().IsOn(); }, result);
}

QEL_API_CALL(SetTessikJournallingPrefix, ApiCallProcessWide);
void SetTessikJournallingPrefix(const char* prefix, ResultType* result)
{
    SetPrefixCall(s_SetTessikJournallingPrefix, GetSolverJournalSwitch(), prefix, result);
}

QEL_API_CALL(SetTessikJournallingBaseIndex, ApiCallProcessWide);
void SetTessikJournallingBaseIndex(int baseIndex, ResultType* result)
{
    SetBaseIndexCall(s_SetTessikJournallingBaseIndex, GetSolverJournalSwitch(), baseIndex, result);
}

QEL_API_CALL(SetBrennikJournalling, ApiCallProcessWide);
void SetBrennikJournalling(bool brennikJournalling, ResultType* result)
{
    RunSetFlagCall(
        s_SetBrennikJournalling, brennikJournalling, "brennikJournalling",
        [](bool on) { GetAddOnReportSwitch().SetOn(on); }, result);
}

QEL_API_CALL(GetBrennikJournalling, ApiCallProcessWide);
bool GetBrennikJournalling(ResultType* result)
{
    return RunGetFlagCall(
        s_GetBrennikJournalling, [] { return GetAddOnReportSwitch().IsOn(); }, result);
}

QEL_API_CALL(SetBrennikJournallingPrefix, ApiCallProcessWide);
void SetBrennikJournallingPrefix(const char* prefix, ResultType* result)
{
    SetPrefixCall(s_SetBrennikJournallingPrefix, GetAddOnReportSwitch(), prefix, result);
}

QEL_API_CALL(SetBrennikJournallingBaseIndex, ApiCallProcessWide);
void SetBrennikJournallingBaseIndex(int baseIndex, ResultType* result)
{
    SetBaseIndexCall(s_SetBrennikJournallingBaseIndex, GetAddOnReportSwitch(), baseIndex, result);
}

QEL_API_CALL(GetReportChannel, ApiCallProcessWide);
int GetReportChannel(ResultType* result)
{
    return ProcessCall<int>(s_GetReportChannel, result).Run([](Interaction*, ResultType&) {
        return GetAddOnReportChannel();
    });
}

}  // namespace QEL
