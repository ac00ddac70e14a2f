#include "core/frame/ApiCallGuard.h"

#include "core/journal/JournalWriter.h"
#include "core/objects/TagManager.h"

#include <os.h>

#include <cfenv>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace QEL {

QEL_API bool s_countBQArgumentErrors = false;
QEL_API bool s_countBQOtherErrors = false;
QEL_API int numQELBrennikArgumentErrors = 0;
QEL_API int numQELBrennikOtherErrors = 0;

namespace {

constexpr int kBulletinBoardOff = 14501;
constexpr int kFatalSeverity = 3;

int s_signalAbortCount = 0;

// Thrown by the handlers the kernel calls synchronously, so that the frames between the kernel
// and the call's recovery point are unwound.
struct CallAbandoned {};

// One recovery point per running call; the innermost is the current one.
struct RecoveryPoint {
    RecoveryPoint* outer = nullptr;
    bool abandoned = false;
};
thread_local RecoveryPoint* s_currentPoint = nullptr;

bool IsOneOf(int code, std::initializer_list<int> codes)
{
    for (int candidate : codes)
        if (candidate == code)
            return true;
    return false;
}

bool IsKernelRunning()
{
    bool inKernel = true;
    BQ_SESSION_is_in_kernel(&inKernel);
    return inKernel;
}

// Gives up the running call from a handler the kernel called: the kernel's state is tidied,
// and the frames back to the recovery point unwind. A layer that swallows the exception on
// the way still cannot hide it: the point remembers that the call was given up.
[[noreturn]] void AbandonFromKernel()
{
    BQ_SESSION_tidy();
    if (s_currentPoint)
        s_currentPoint->abandoned = true;
    throw CallAbandoned();
}

// Runs inside the signal handler of the call's recovery scope, before it jumps back.
void OnFault(int signal, void*)
{
    if (signal == SIGABRT)
        OnSignalAbort(signal);
    else
        OnHardwareFault(signal);
}

void PrintKernelError(const char* kind, int count, const BQ_ERROR_report_t& report)
{
    std::printf("\nBQ %s Error[%d]: %s    (%d)%s \n", kind, count,
                report.function ? report.function : "", report.code,
                report.token ? report.token : "");
}

}  // namespace

ApiCallGuard::ApiCallGuard(const int* interactionTag, bool journallable, bool query,
                           const char* name)
    : m_interactionTag(interactionTag),
      m_journalling(DecideJournalling(journallable, query, name)),
      m_journal(interactionTag ? *interactionTag : 0)
{
    if (BQ_ERROR_ask_callbacks(&m_savedErrorCallbacks) == 0) {
        m_errorCallbacksSaved = true;
        BQ_ERROR_callbacks_t callbacks{&OnKernelError};
        BQ_ERROR_register_callbacks(&callbacks);
    }
    BQ_SESSION_frustrum_t frustrum{};
    if (BQ_SESSION_ask_frustrum(&frustrum) == 0) {
        m_frustrumSaved = true;
        m_savedAbortEntry = frustrum.fabort;
        frustrum.fabort = &OnKernelAbort;
        BQ_SESSION_register_frustrum(&frustrum);
    }
    int status = kBulletinBoardOff;
    if (BQ_BB_ask_status(0, &status) == 0 && status != kBulletinBoardOff)
        m_initialResult = ResultTypeBrennikBBOn;
}

ApiCallGuard::~ApiCallGuard()
{
    BQ_SESSION_frustrum_t frustrum{};
    bool restored = m_frustrumSaved && BQ_SESSION_ask_frustrum(&frustrum) == 0;
    if (restored) {
        frustrum.fabort = m_savedAbortEntry;
        restored = BQ_SESSION_register_frustrum(&frustrum) == 0;
    }
    if (m_errorCallbacksSaved)
        BQ_ERROR_register_callbacks(&m_savedErrorCallbacks);
    if (restored)
        BQ_ERROR_clear_last();
}

bool ApiCallGuard::DecideJournalling(bool journallable, bool query, const char* name)
{
    if (!IsJournalOpen() || !journallable)
        return false;
    if (!IsJournalMinimised())
        return true;
    if (query)
        return false;
    static const char* const s_journalControls[] = {
        "IsJournalling",        "StartJournalling",      "SetTessikJournalling",
        "GetTessikJournalling", "SetBrennikJournalling", "GetBrennikJournalling",
        "StopJournalling"};
    if (name)
        for (const char* control : s_journalControls)
            if (std::strcmp(name, control) == 0)
                return false;
    return true;
}

void SetResult(ResultType* result, ResultType value)
{
    if (result)
        *result = value;
}
void SetResultBadArgument(ResultType* result) { SetResult(result, ResultTypeBadArgument); }
void ClearResult(ResultType* result) { SetResult(result, ResultTypeOk); }
bool IsResultOk(const ResultType* result) { return !result || *result == ResultTypeOk; }

Interaction* FindInteraction(int tag) { return TagManager::FindInteractionFromTag(tag); }

bool RunWithFaultRecovery(void (*body)(void*), void* context)
{
    RecoveryPoint point;
    point.outer = s_currentPoint;
    s_currentPoint = &point;
    os::RecoveryScope scope;
    scope.SetFaultHook(&OnFault, nullptr);
    volatile bool completed = false;
    if (OS_RECOVERY_POINT(scope) == 0) {
        try {
            body(context);
            completed = !point.abandoned;
        } catch (...) {
            completed = false;
        }
    }
    s_currentPoint = point.outer;
    return completed;
}

int OnKernelError(const BQ_ERROR_report_t* report)
{
    if (!report)
        return 0;
    const int code = report->code;
    if (s_countBQArgumentErrors && IsOneOf(code, {10, 22, 511, 908, 5002, 5008, 5019, 5036, 5170,
                                                  9999, 18001, 18505, 18513, 18524, 18527}))
        PrintKernelError("Argument", ++numQELBrennikArgumentErrors, *report);
    if (s_countBQOtherErrors && IsOneOf(code, {931, 18030}))
        PrintKernelError("Other", ++numQELBrennikOtherErrors, *report);
    const char* function = nullptr;
    BQ_SESSION_ask_function(&function);
    const bool raisedByApplication = function && std::strcmp(function, "BQ_ERROR_raise") == 0;
    if (report->severity == kFatalSeverity && !raisedByApplication &&
        IsOneOf(code, {901, 947, 948, 5016}) && s_currentPoint)
        AbandonFromKernel();
    return code;
}

void OnKernelAbort(int*)
{
    os::CancelAbortTimer();
    if (s_currentPoint)
        AbandonFromKernel();
}

// A handler that returned would let abort() end the process, so the call ends at once: inside
// the kernel the running kernel call is tidied away first.
void OnSignalAbort(int)
{
    ++s_signalAbortCount;
    if (IsKernelRunning())
        BQ_SESSION_tidy();
    os::JumpToRecoveryPoint(1);
}

void OnHardwareFault(int signal)
{
    if (signal == SIGFPE)
        std::feclearexcept(FE_ALL_EXCEPT);
    if (IsKernelRunning())
        BQ_SESSION_tidy();
    os::JumpToRecoveryPoint(1);
}

int GetSignalAbortCount() { return s_signalAbortCount; }

}  // namespace QEL
