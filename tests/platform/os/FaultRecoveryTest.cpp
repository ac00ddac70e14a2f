#include "os.h"
#include "os_test.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A write to a page that forbids access faults for real, past the sanitizer's checks.
void WriteToProtectedPage()
{
    long size = sysconf(_SC_PAGESIZE);
    void* page = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    *static_cast<volatile int*>(page) = 1;
}

// Runs the action inside a recovery scope and answers the signal that ended it (0: none).
template <typename Action>
int RunRecovered(Action action)
{
    os::RecoveryScope scope;
    if (OS_RECOVERY_POINT(scope) != 0)
        return scope.GetSignal();
    action();
    return 0;
}

struct SignalCase {
    const char* name;
    void (*raiseIt)();
    int expected;
};

const SignalCase kSignalCases[] = {
    {"RealSegmentationFault", [] { WriteToProtectedPage(); }, SIGSEGV},
    {"RaisedSegv", [] { raise(SIGSEGV); }, SIGSEGV},
    {"Abort", [] { std::abort(); }, SIGABRT},
    {"RaisedFpe", [] { raise(SIGFPE); }, SIGFPE},
    {"RaisedBus", [] { raise(SIGBUS); }, SIGBUS},
    {"RaisedIll", [] { raise(SIGILL); }, SIGILL},
};

void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class SignalRecovery : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalRecovery, JumpsBackToThePointWithTheSignal)
{
    sigset_t maskBefore, maskAfter;
    pthread_sigmask(SIG_BLOCK, nullptr, &maskBefore);
    EXPECT_EQ(RunRecovered(GetParam().raiseIt), GetParam().expected);
    // The scope is gone, the signal is not left blocked, and a second fault in a new scope is
    // caught again.
    EXPECT_EQ(os::RecoveryScope::GetCurrent(), nullptr);
    pthread_sigmask(SIG_BLOCK, nullptr, &maskAfter);
    EXPECT_EQ(sigismember(&maskAfter, GetParam().expected), 0);
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGUSR1})
        EXPECT_EQ(sigismember(&maskAfter, signal), sigismember(&maskBefore, signal)) << signal;
    EXPECT_EQ(RunRecovered(GetParam().raiseIt), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalRecovery, ::testing::ValuesIn(kSignalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaultRecovery, CallWithoutFaultRunsToTheEnd)
{
    bool ran = false;
    EXPECT_EQ(RunRecovered([&] { ran = true; }), 0);
    EXPECT_TRUE(ran);
}

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// An application's handler for every fault signal, installed over ours the way a crash reporter
// is: it notes what reached it and hands a signal inside a scope on to the handler it replaced.
struct MarkerHandlers {
    static int s_lastSignal;
    static struct sigaction s_replaced[5];

    static void OnSignal(int signal, siginfo_t* info, void* context)
    {
        s_lastSignal = signal;
        for (int i = 0; i < 5; ++i)
            if (kFaultSignals[i] == signal && os::RecoveryScope::GetCurrent() &&
                (s_replaced[i].sa_flags & SA_SIGINFO))
                s_replaced[i].sa_sigaction(signal, info, context);
    }
    MarkerHandlers()
    {
        struct sigaction mine {};
        mine.sa_sigaction = &OnSignal;
        mine.sa_flags = SA_SIGINFO;
        sigemptyset(&mine.sa_mask);
        for (int i = 0; i < 5; ++i)
            sigaction(kFaultSignals[i], &mine, &s_replaced[i]);
    }
    ~MarkerHandlers()
    {
        for (int i = 0; i < 5; ++i)
            sigaction(kFaultSignals[i], &s_replaced[i], nullptr);
    }
    static void ExpectInPlace()
    {
        for (int signal : kFaultSignals) {
            struct sigaction now {};
            sigaction(signal, nullptr, &now);
            EXPECT_EQ(now.sa_sigaction, &OnSignal) << signal;
        }
    }
};
int MarkerHandlers::s_lastSignal = 0;
struct sigaction MarkerHandlers::s_replaced[5];

// Handlers an application installs over ours (a crash reporter's for every fault signal) stay
// in place through every scope; faults inside a scope still end at its point, and signals
// outside every scope are the application's.
TEST(FaultRecovery, HandlersInstalledOverOursStayAndScopesStillCatchTheirFaults)
{
    EXPECT_EQ(RunRecovered([] { raise(SIGILL); }), SIGILL);
    MarkerHandlers marker;
    for (const SignalCase& c : kSignalCases) {
        EXPECT_EQ(RunRecovered(c.raiseIt), c.expected) << c.name;
        MarkerHandlers::ExpectInPlace();
    }
    MarkerHandlers::s_lastSignal = 0;
    raise(SIGBUS);
    EXPECT_EQ(MarkerHandlers::s_lastSignal, SIGBUS);
}

// Once a thread has set its first point, setting points and ending scopes make no system call.
TEST(FaultRecovery, PointsAfterTheFirstOnAThreadMakeNoSystemCall)
{
    std::thread([] {
        EXPECT_EQ(RunRecovered([] {}), 0);
        const long before = os::test::GetSignalSetupCount();
        for (int i = 0; i < 100; ++i)
            EXPECT_EQ(RunRecovered([] { EXPECT_EQ(RunRecovered([] {}), 0); }), 0);
        EXPECT_EQ(os::test::GetSignalSetupCount(), before);
        EXPECT_EQ(RunRecovered([] { raise(SIGSEGV); }), SIGSEGV);
    }).join();
}

// A thread's own alternate stack is used as it is when it is large enough for the handler;
// a smaller one gives way to ours, and faults are caught on either.
TEST(FaultRecovery, AThreadsOwnAlternateStackIsUsedWhenLargeEnough)
{
    for (std::size_t size : {std::size_t(1) << 16, std::size_t(1) << 13}) {
        std::thread([size] {
            std::unique_ptr<char[]> own(new char[size]);
            stack_t mine{}, before{}, during{};
            mine.ss_sp = own.get();
            mine.ss_size = size;
            sigaltstack(&mine, &before);
            EXPECT_EQ(RunRecovered([&] {
                sigaltstack(nullptr, &during);
                raise(SIGSEGV);
            }), SIGSEGV);
            EXPECT_EQ(during.ss_sp == own.get(), size >= (1 << 16)) << size;
            EXPECT_GE(during.ss_size, std::size_t(1) << 16);
            sigaltstack(&before, nullptr);
        }).join();
    }
}

TEST(FaultRecovery, InnerScopeCatchesItsFaultAndOuterGetsItsPointBack)
{
    int innerSignal = -1, outerSignal = -1;
    os::RecoveryScope outer;
    if (OS_RECOVERY_POINT(outer) != 0) {
        outerSignal = outer.GetSignal();
    } else {
        innerSignal = RunRecovered([] { raise(SIGFPE); });
        EXPECT_EQ(os::RecoveryScope::GetCurrent(), &outer);
        std::abort();  // after the inner call returned: must reach the outer point
    }
    EXPECT_EQ(innerSignal, SIGFPE);
    EXPECT_EQ(outerSignal, SIGABRT);
}

TEST(FaultRecovery, FaultBeforeTheInnerPointIsSetGoesToTheOuterPoint)
{
    int reached = 0;
    os::RecoveryScope outer;
    if (OS_RECOVERY_POINT(outer) != 0) {
        reached = outer.GetSignal();
    } else {
        os::RecoveryScope inner;  // no point set yet
        raise(SIGSEGV);
    }
    EXPECT_EQ(reached, SIGSEGV);
    EXPECT_EQ(os::RecoveryScope::GetCurrent(), &outer);
}

TEST(FaultRecovery, JumpToRecoveryPointAnswersItsCode)
{
    EXPECT_FALSE(os::JumpToRecoveryPoint(7));  // no point set
    os::RecoveryScope scope;
    int answer = OS_RECOVERY_POINT(scope);
    if (answer == 0)
        os::JumpToRecoveryPoint(7);
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(scope.GetSignal(), 0);
}

TEST(FaultRecovery, HookRunsInTheHandlerBeforeTheJump)
{
    struct Seen {
        int signal = 0;
        int calls = 0;
    } seen;
    os::RecoveryScope scope;
    scope.SetFaultHook(
        [](int signal, void* context) {
            auto* s = static_cast<Seen*>(context);
            s->signal = signal;
            ++s->calls;
        },
        &seen);
    if (OS_RECOVERY_POINT(scope) == 0)
        std::abort();
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.signal, SIGABRT);
}

TEST(FaultRecovery, HookMayJumpWithItsOwnCode)
{
    os::RecoveryScope scope;
    scope.SetFaultHook([](int, void*) { os::JumpToRecoveryPoint(42); }, nullptr);
    int answer = OS_RECOVERY_POINT(scope);
    if (answer == 0)
        raise(SIGSEGV);
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(scope.GetSignal(), SIGSEGV);
}

// Where the application left the default action, a signal outside every scope still takes
// it, also after scopes have come and gone.
TEST(FaultRecovery, SignalsOutsideAnyScopeTakeTheDefaultAction)
{
    EXPECT_DEATH(std::abort(), "");
    EXPECT_EQ(RunRecovered([] { raise(SIGILL); }), SIGILL);
    EXPECT_EXIT(std::abort(), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_EXIT(raise(SIGILL), ::testing::KilledBySignal(SIGILL), "");
}

}  // namespace
