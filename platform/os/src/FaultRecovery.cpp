#include "os.h"

#include <cstring>
#include <memory>

namespace os {

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
// Large enough for the handler, a hook and the sanitizer's work around siglongjmp.
constexpr std::size_t kAltStackSize = 1 << 16;

thread_local RecoveryScope* t_current = nullptr;
thread_local std::unique_ptr<char[]> t_altStack;

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
    // nothing to restore, and the target becomes current again.
    [[noreturn]] static void Jump(RecoveryScope* target, int code)
    {
        t_current = target;
        siglongjmp(target->m_jump, code != 0 ? code : 1);
    }

    // The handlers are process-wide but points are per thread. A fault on a thread that has
    // no point (the toolkit is driven from one thread) takes the default action.
    static void TakeDefaultAction(int signal)
    {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signal, &fallback, nullptr);
        raise(signal);
    }

    static void OnFault(int signal, siginfo_t*, void*)
    {
        RecoveryScope* target = InnermostArmed();
        if (!target) {
            TakeDefaultAction(signal);
            return;
        }
        target->m_signal = signal;
        if (target->m_hook)
            target->m_hook(signal, target->m_hookContext);
        // Whatever the hook did not do itself, the jump does: returning into abort() would end
        // the process, and returning into a faulting instruction would fault again.
        Jump(target, signal);
    }

    static void Install(RecoveryScope& scope)
    {
        if (!t_altStack)
            t_altStack.reset(new char[kAltStackSize]);
        stack_t current{};
        sigaltstack(nullptr, &current);
        scope.m_savedStack = current;
        if (current.ss_sp != t_altStack.get() || (current.ss_flags & SS_DISABLE)) {
            stack_t ours{};
            ours.ss_sp = t_altStack.get();
            ours.ss_size = kAltStackSize;
            scope.m_stackChanged = sigaltstack(&ours, nullptr) == 0;
        }
        struct sigaction action {};
        action.sa_sigaction = &OnFault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < RecoveryScope::kSignalCount; ++i)
            sigaction(kFaultSignals[i], &action, &scope.m_savedActions[i]);
    }

    static void Restore(RecoveryScope& scope)
    {
        for (int i = RecoveryScope::kSignalCount - 1; i >= 0; --i)
            sigaction(kFaultSignals[i], &scope.m_savedActions[i], nullptr);
        if (scope.m_stackChanged) {
            stack_t previous = scope.m_savedStack;
            if (previous.ss_flags & SS_ONSTACK)
                previous.ss_flags &= ~SS_ONSTACK;
            sigaltstack(&previous, nullptr);
        }
    }
};

RecoveryScope::RecoveryScope() : m_outer(t_current)
{
    std::memset(&m_jump, 0, sizeof m_jump);
    std::memset(m_savedActions, 0, sizeof m_savedActions);
    std::memset(&m_savedStack, 0, sizeof m_savedStack);
    t_current = this;
}

RecoveryScope::~RecoveryScope()
{
    if (m_armed)
        FaultHandling::Restore(*this);
    t_current = m_outer;
}

sigjmp_buf& RecoveryScope::Arm()
{
    if (!m_armed) {
        FaultHandling::Install(*this);
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
