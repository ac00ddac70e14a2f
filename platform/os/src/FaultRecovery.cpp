#include "os.h"

#include <cstring>
#include <ucontext.h>
#include <memory>
#include <mutex>

namespace os {

namespace {

// SIGSEGV first and SIGABRT last: both are probed (see ProbeKeptHandlers).
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];
// Large enough for the handler, a hook and the sanitizer's work around siglongjmp.
constexpr std::size_t kAltStackSize = 1 << 16;

thread_local RecoveryScope* t_current = nullptr;

// How one fault signal is handled in the process. The handlers are process-wide; the points
// they jump to are per thread.
struct SignalState {
    // What the application had in place when ours went in.
    struct sigaction application;
    // Ours is installed.
    bool ours = false;
    // Ours stays installed between scopes: the application had left the default action.
    bool kept = false;
};
SignalState s_signals[kSignalCount];
// Armed scopes of every thread; the handlers go in with the first and out with the last.
int s_armedScopes = 0;
std::mutex s_handlersMutex;

// Kept handlers must not outlive the code they point into: when the library is unloaded or
// the process ends, the default action the application had left is put back.
struct KeptHandlersRelease {
    ~KeptHandlersRelease();
} s_keptHandlersRelease;

// The thread's alternate signal stack, when it is ours for the rest of the thread's life. It is
// switched off before its memory goes, so a late signal never lands in freed memory.
struct ThreadAltStack {
    std::unique_ptr<char[]> memory;
    bool installedForGood = false;
    int armedScopes = 0;

    char* Memory()
    {
        if (!memory)
            memory.reset(new char[kAltStackSize]);
        return memory.get();
    }
    ~ThreadAltStack()
    {
        if (!installedForGood)
            return;
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
    }
};
thread_local ThreadAltStack t_altStack;

bool IsDefaultAction(const struct sigaction& action)
{
    return !(action.sa_flags & SA_SIGINFO) && action.sa_handler == SIG_DFL;
}

}  // namespace

struct FaultHandling {
    static RecoveryScope* InnermostArmed()
    {
        RecoveryScope* scope = t_current;
        while (scope && !scope->m_armed)
            scope = scope->m_outer;
        return scope;
    }

    // Scopes inside the target are abandoned by the jump; none of them is armed, so they hold
    // nothing to restore, and the target becomes current again. A jump from a handler first
    // gives the thread back the mask of the code the signal interrupted.
    [[noreturn]] static void Jump(RecoveryScope* target, int code)
    {
        t_current = target;
        if (target->m_restoreMask) {
            target->m_restoreMask = false;
            sigset_t mask = target->m_faultMask;
            pthread_sigmask(SIG_SETMASK, &mask, nullptr);
        }
        siglongjmp(target->m_jump, code != 0 ? code : 1);
    }

    // A signal on a thread with no point takes the default action: the application either had
    // left it so (ours stood in for it) or ours replaced its handler only for a running call
    // of another thread (the toolkit is driven from one thread).
    static void TakeDefaultAction(int signal)
    {
        for (int i = 0; i < kSignalCount; ++i)
            if (kFaultSignals[i] == signal)
                s_signals[i].ours = false;
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signal, &fallback, nullptr);
        raise(signal);
    }

    static void OnFault(int signal, siginfo_t*, void* context)
    {
        RecoveryScope* target = InnermostArmed();
        if (!target) {
            TakeDefaultAction(signal);
            return;
        }
        target->m_signal = signal;
        if (context) {
            target->m_faultMask = static_cast<ucontext_t*>(context)->uc_sigmask;
            target->m_restoreMask = true;
        }
        if (target->m_hook)
            target->m_hook(signal, target->m_hookContext);
        // Whatever the hook did not do itself, the jump does: returning into abort() would end
        // the process, and returning into a faulting instruction would fault again.
        Jump(target, signal);
    }

    static struct sigaction OurAction()
    {
        struct sigaction action {};
        action.sa_sigaction = &OnFault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        return action;
    }

    // Ours is asked for where it is kept for SIGSEGV and SIGABRT, the signals an application
    // takes over (a crash reporter takes every fault signal, SIGSEGV among them): when either
    // has another handler now, every kept one is installed again, and what it replaces is the
    // application's from then on. Two questions instead of five keep the call cheap.
    static void ProbeKeptHandlers()
    {
        for (int i : {0, kSignalCount - 1}) {
            if (!s_signals[i].ours || !s_signals[i].kept)
                continue;
            struct sigaction current {};
            if (sigaction(kFaultSignals[i], nullptr, &current) == 0 &&
                (current.sa_flags & SA_SIGINFO) && current.sa_sigaction == &OnFault)
                continue;
            for (SignalState& other : s_signals)
                if (other.kept)
                    other.ours = false;
            return;
        }
    }

    static void InstallHandlers()
    {
        ProbeKeptHandlers();
        const struct sigaction action = OurAction();
        for (int i = 0; i < kSignalCount; ++i) {
            SignalState& state = s_signals[i];
            if (state.ours)
                continue;
            if (sigaction(kFaultSignals[i], &action, &state.application) != 0)
                continue;
            state.ours = true;
            state.kept = IsDefaultAction(state.application);
        }
    }

    static void RestoreHandlers()
    {
        for (int i = kSignalCount - 1; i >= 0; --i) {
            SignalState& state = s_signals[i];
            if (!state.ours || state.kept)
                continue;
            sigaction(kFaultSignals[i], &state.application, nullptr);
            state.ours = false;
        }
    }

    // The thread's outermost scope makes sure the thread has an alternate stack of ours or,
    // when the thread has one of its own, lends it ours until the scope ends.
    static void InstallStack(RecoveryScope& scope)
    {
        if (t_altStack.armedScopes++ > 0 || t_altStack.installedForGood)
            return;
        stack_t current{};
        if (sigaltstack(nullptr, &current) != 0)
            return;
        stack_t ours{};
        ours.ss_sp = t_altStack.Memory();
        ours.ss_size = kAltStackSize;
        if (current.ss_flags & SS_DISABLE) {
            t_altStack.installedForGood = sigaltstack(&ours, nullptr) == 0;
            return;
        }
        if (current.ss_sp == ours.ss_sp || (current.ss_flags & SS_ONSTACK))
            return;
        scope.m_savedStack = current;
        scope.m_stackChanged = sigaltstack(&ours, nullptr) == 0;
    }

    static void RestoreStack(RecoveryScope& scope)
    {
        --t_altStack.armedScopes;
        if (!scope.m_stackChanged)
            return;
        stack_t previous = scope.m_savedStack;
        previous.ss_flags &= ~SS_ONSTACK;
        sigaltstack(&previous, nullptr);
    }

    static void Arm(RecoveryScope& scope)
    {
        InstallStack(scope);
        std::lock_guard<std::mutex> lock(s_handlersMutex);
        if (s_armedScopes++ == 0)
            InstallHandlers();
    }

    static void Disarm(RecoveryScope& scope)
    {
        {
            std::lock_guard<std::mutex> lock(s_handlersMutex);
            if (--s_armedScopes == 0)
                RestoreHandlers();
        }
        RestoreStack(scope);
    }
};

KeptHandlersRelease::~KeptHandlersRelease()
{
    std::lock_guard<std::mutex> lock(s_handlersMutex);
    for (int i = 0; i < kSignalCount; ++i) {
        if (!s_signals[i].ours || !s_signals[i].kept)
            continue;
        sigaction(kFaultSignals[i], &s_signals[i].application, nullptr);
        s_signals[i].ours = false;
    }
}

RecoveryScope::RecoveryScope() : m_outer(t_current)
{
    std::memset(&m_jump, 0, sizeof m_jump);
    std::memset(&m_savedStack, 0, sizeof m_savedStack);
    sigemptyset(&m_faultMask);
    t_current = this;
}

RecoveryScope::~RecoveryScope()
{
    if (m_armed)
        FaultHandling::Disarm(*this);
    t_current = m_outer;
}

sigjmp_buf& RecoveryScope::Arm()
{
    if (!m_armed) {
        FaultHandling::Arm(*this);
        m_armed = true;
    }
    return m_jump;
}

void RecoveryScope::SetFaultHook(FaultHook hook, void* context)
{
    m_hook = hook;
    m_hookContext = context;
}

RecoveryScope* RecoveryScope::GetCurrent()
{
    return t_current;
}

bool JumpToRecoveryPoint(int code)
{
    RecoveryScope* target = FaultHandling::InnermostArmed();
    if (!target)
        return false;
    FaultHandling::Jump(target, code);
}

}  // namespace os
