#pragma once
// The guard every exported call runs under, and the crash handlers it puts in place.
//
// While a guard lives the kernel's error callback and the abort entry of its frustrum are the
// toolkit's, and the call's journal values go through the guard. Its destructor gives back
// whatever the application had installed, so handlers of the application's own survive every
// call.
//
// A call gives up in one way whatever went wrong: a fatal kernel error, a kernel abort, a
// hardware fault, an abort signal or a C++ exception ends the body run by
// RunWithFaultRecovery, which then answers false. Errors the kernel reports synchronously
// unwind the frames in between; signals jump back over them.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "core/journal/JournalArguments.h"

#include <brennik.h>

#include <type_traits>

namespace QEL {

class Interaction;

// Switches and counters of printed kernel errors. The toolkit never sets the switches; an
// application writes them directly.
extern "C" QEL_API bool s_countBQArgumentErrors;
extern "C" QEL_API bool s_countBQOtherErrors;
extern "C" QEL_API int numQELBrennikArgumentErrors;
extern "C" QEL_API int numQELBrennikOtherErrors;

class ApiCallGuard {
public:
    // interactionTag points at the wrapper's own argument, or is null for calls that take none.
    ApiCallGuard(const int* interactionTag, bool journallable, bool query, const char* name);
    ~ApiCallGuard();
    ApiCallGuard(const ApiCallGuard&) = delete;
    ApiCallGuard& operator=(const ApiCallGuard&) = delete;

    // 0, or ResultTypeBrennikBBOn when the kernel's bulletin board was on at construction.
    ResultType GetInitialResult() const { return m_initialResult; }
    bool IsJournalling() const { return m_journalling; }
    const int* GetInteractionTag() const { return m_interactionTag; }
    // The journal writers of this call; they write nothing unless the call is journalled.
    JournalArguments& Journal() { return m_journal; }

    // Whether a call of this kind goes into the journal now: a journal is open, the call is
    // journallable, and it is kept under the minimise option (queries and the journalling
    // controls are left out then).
    static bool DecideJournalling(bool journallable, bool query, const char* name);

private:
    ResultType m_initialResult = ResultTypeOk;
    BQ_ERROR_callbacks_t m_savedErrorCallbacks{};
    bool m_errorCallbacksSaved = false;
    const int* m_interactionTag;
    bool m_journalling;
    BQ_FRUSTRUM_f_t m_savedAbortEntry = nullptr;
    bool m_frustrumSaved = false;
    JournalArguments m_journal;
};

void SetResult(ResultType* result, ResultType value);
void SetResultBadArgument(ResultType* result);
void ClearResult(ResultType* result);
bool IsResultOk(const ResultType* result);

// The registered interaction with the tag, or null.
Interaction* FindInteraction(int tag);

// Runs body with the call's recovery point set: answers true when it ran to its end, false
// when a fault or an escaping exception ended it. Points nest: a call made from inside a
// callback of another gets a point of its own, and the outer one is in force again after it.
bool RunWithFaultRecovery(void (*body)(void*), void* context);
template <typename Body>
bool RunWithFaultRecovery(Body&& body)
{
    using Callable = std::remove_reference_t<Body>;
    return RunWithFaultRecovery([](void* context) { (*static_cast<Callable*>(context))(); },
                                static_cast<void*>(&body));
}

// The crash handlers. Each one that gives up ends the running call at its recovery point.
int OnKernelError(const BQ_ERROR_report_t* report);
void OnKernelAbort(int* ifail);
void OnSignalAbort(int signal);
// Hardware faults (segmentation, bus, illegal instruction, floating point) inside a call.
void OnHardwareFault(int signal);

// How often an abort signal has reached a call in the life of the process.
int GetSignalAbortCount();

}  // namespace QEL
