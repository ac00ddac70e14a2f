#include "os.h"

#include "TestControl.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <ucontext.h>

namespace os {

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];
// Large enough for the handler, a hook and the sanitizer's work around siglongjmp; an own
// alternate stack of a thread at least this large is used as it is.
constexpr std::size_t kAltStackSize = 1 << 16;

thread_local RecoveryScope* t_current = nullptr;

// The system calls that set up or ask for handlers and stacks; counted for the tests, which
// hold a call's normal path to none.
int SetAction(int signal, const struct sigaction* action, struct sigaction* previous)
{
    detail::g_signalSetupCount.fetch_add(1, std::memory_order_relaxed);
    return sigaction(signal, action, previous);
}
int SetAltStack(const stack_t* stack, stack_t* previous)
{
    detail::g_signalSetupCount.fetch_add(1, std::memory_order_relaxed);
    return sigaltstack(stack, previous);
}

// What the application had in place for each fault signal when ours went in: a signal on a
// thread with no point goes on to it. Written once, before ours can run.
struct sigaction s_application[kSignalCount];
bool s_ours[kSignalCount];
std::atomic<bool> s_installed{false};
std::mutex s_installMutex;

// Our handlers must not outlive the code they point into: when the library is unloaded or the
// process ends, what the application had is put back where ours is still in place.
struct HandlersRelease {
    ~HandlersRelease();
} s_handlersRelease;

// The thread's alternate signal stack once its first point was set. At the thread's end, ours
// (still in place) gives way to what it replaced before its memory goes, so a late signal never
// lands in freed memory and whoever made the own stack finds it there to free.
struct ThreadAltStack {
    std::unique_ptr<char[]> memory;
    bool settled = false;
    bool ours = false;
    stack_t replaced{};

    ~ThreadAltStack()
    {
        stack_t current{};
        if (!ours || SetAltStack(nullptr, &current) != 0 || current.ss_sp != memory.get())
            return;  // one installed over ours since is left to its owner
        stack_t previous = replaced;
        if (previous.ss_flags & SS_DISABLE)
            previous = stack_t{nullptr, SS_DISABLE, 0};
        else
            previous.ss_flags = 0;
        SetAltStack(&previous, nullptr);
    }
};
thread_local ThreadAltStack t_altStack;

int SignalIndex(int signal)
{
    for (int i = 0; i < kSignalCount; ++i)
        if (kFaultSignals[i] == signal)
            return i;
    return -1;
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

    // The default action ends the process the way it would have ended without our handler: it
    // is put in place and the signal raised again, to be taken when the handler returns (a
    // fault taken from the hardware comes again by itself on the return).
    static void TakeDefaultAction(int signal, const siginfo_t* info)
    {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        SetAction(signal, &fallback, nullptr);
        const int index = SignalIndex(signal);
        if (index >= 0)
            s_ours[index] = false;
        if (!info || info->si_code <= 0)
            raise(signal);
    }

    // A signal outside every point goes to what the application had installed before ours.
    static void PassOn(int signal, siginfo_t* info, void* context)
    {
        const int index = SignalIndex(signal);
        if (index < 0)
            return;
        const struct sigaction& application = s_application[index];
        if (application.sa_flags & SA_SIGINFO) {
            application.sa_sigaction(signal, info, context);
            return;
        }
        // An ignored fault that the hardware raised cannot be ignored: the kernel ends the
        // process for it, so the default action is taken.
        const bool hardwareFault = info && info->si_code > 0 && signal != SIGABRT;
        if (application.sa_handler == SIG_DFL ||
            (application.sa_handler == SIG_IGN && hardwareFault)) {
            TakeDefaultAction(signal, info);
            return;
        }
        if (application.sa_handler != SIG_IGN)
            application.sa_handler(signal);
    }

    static void OnFault(int signal, siginfo_t* info, void* context)
    {
        RecoveryScope* target = InnermostArmed();
        if (!target) {
            PassOn(signal, info, context);
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

    static void InstallHandlers()
    {
        struct sigaction action {};
        action.sa_sigaction = &OnFault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kSignalCount; ++i)
            s_ours[i] = SetAction(kFaultSignals[i], &action, &s_application[i]) == 0;
    }

    // The thread's first point settles its alternate stack for the thread's life.
    static void SettleStack()
    {
        stack_t current{};
        if (SetAltStack(nullptr, &current) != 0)
            return;
        // A point set inside a handler running on the thread's own stack leaves it alone; the
        // next point settles it.
        if (current.ss_flags & SS_ONSTACK)
            return;
        t_altStack.settled = true;
        if (!(current.ss_flags & SS_DISABLE) && current.ss_size >= kAltStackSize)
            return;
        t_altStack.memory.reset(new char[kAltStackSize]);
        stack_t ours{};
        ours.ss_sp = t_altStack.memory.get();
        ours.ss_size = kAltStackSize;
        if (SetAltStack(&ours, nullptr) == 0) {
            t_altStack.ours = true;
            t_altStack.replaced = current;
        } else {
            t_altStack.memory.reset();
        }
    }

    static void Arm()
    {
        if (!t_altStack.settled)
            SettleStack();
        if (s_installed.load(std::memory_order_acquire))
            return;
        std::lock_guard<std::mutex> lock(s_installMutex);
        if (!s_installed.load(std::memory_order_relaxed)) {
            InstallHandlers();
            s_installed.store(true, std::memory_order_release);
        }
    }

    static void Release()
    {
        std::lock_guard<std::mutex> lock(s_installMutex);
        if (!s_installed.load(std::memory_order_relaxed))
            return;
        for (int i = 0; i < kSignalCount; ++i) {
            struct sigaction current {};
            if (!s_ours[i] || SetAction(kFaultSignals[i], nullptr, &current) != 0)
                continue;
            if ((current.sa_flags & SA_SIGINFO) && current.sa_sigaction == &OnFault)
                SetAction(kFaultSignals[i], &s_application[i], nullptr);
            s_ours[i] = false;
        }
    }
};

HandlersRelease::~HandlersRelease() { FaultHandling::Release(); }

RecoveryScope::RecoveryScope() : m_outer(t_current)
{
    std::memset(&m_jump, 0, sizeof m_jump);
    sigemptyset(&m_faultMask);
    t_current = this;
}

RecoveryScope::~RecoveryScope() { t_current = m_outer; }

sigjmp_buf& RecoveryScope::Arm()
{
    if (!m_armed) {
        FaultHandling::Arm();
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
