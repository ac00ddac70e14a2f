#include "os.h"

#include "TestControl.h"

#include <time.h>
#include <ucontext.h>
#include <unistd.h>

namespace os {

namespace {

// The timer signals the thread that started it with a real-time signal of our own, so that its
// procedure runs on that thread and may jump to that thread's recovery point.
int TimerSignal() { return SIGRTMIN + 2; }

timer_t s_timer;
bool s_running = false;
TimerProc s_proc = nullptr;
// Each start gets a new generation; a signal of an earlier timer that was already queued when
// that timer was cancelled is recognised by its stale generation and ignored.
int s_generation = 0;
bool s_handlerInstalled = false;

void OnTimer(int, siginfo_t* info, void* context)
{
    if (!s_running || !info || info->si_value.sival_int != s_generation)
        return;
    TimerProc proc = s_proc;
    CancelAbortTimer();
    // The procedure may jump to a recovery point, which keeps the mask it finds: the timer
    // signal must not stay blocked behind it.
    if (context)
        pthread_sigmask(SIG_SETMASK, &static_cast<ucontext_t*>(context)->uc_sigmask, nullptr);
    proc();
}

// Our handler stays installed once set: restoring the default action would let a queued
// expiry end the process.
bool InstallHandler()
{
    if (s_handlerInstalled)
        return true;
    struct sigaction action {};
    action.sa_sigaction = &OnTimer;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    s_handlerInstalled = sigaction(TimerSignal(), &action, nullptr) == 0;
    return s_handlerInstalled;
}

}  // namespace

bool StartAbortTimer(TimerProc proc)
{
    if (!proc)
        return false;
    CancelAbortTimer();
    if (!InstallHandler())
        return false;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = TimerSignal();
    event.sigev_value.sival_int = ++s_generation;
    event._sigev_un._tid = gettid();
    if (timer_create(CLOCK_MONOTONIC, &event, &s_timer) != 0)
        return false;
    int delay = detail::g_abortTimerDelay;
    itimerspec expiry{};
    expiry.it_value.tv_sec = delay / 1000;
    expiry.it_value.tv_nsec = static_cast<long>(delay % 1000) * 1000000L;
    if (delay <= 0)
        expiry.it_value.tv_nsec = 1;  // an all-zero expiry would disarm the timer
    s_proc = proc;
    s_running = true;
    if (timer_settime(s_timer, 0, &expiry, nullptr) != 0) {
        CancelAbortTimer();
        return false;
    }
    return true;
}

void CancelAbortTimer()
{
    if (!s_running)
        return;
    s_running = false;
    s_proc = nullptr;
    timer_delete(s_timer);
}

bool IsAbortTimerRunning()
{
    return s_running;
}

}  // namespace os
