#include "os.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
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
    EXPECT_EQ(RunRecovered(GetParam().raiseIt), GetParam().expected);
    // The scope is gone, and a second fault in a new scope is caught again.
    EXPECT_EQ(os::RecoveryScope::GetCurrent(), nullptr);
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

void MarkerHandler(int) {}

TEST(FaultRecovery, PreviousHandlersComeBackWhenTheScopeEnds)
{
    struct sigaction mine {}, before {}, after {};
    mine.sa_handler = &MarkerHandler;
    sigemptyset(&mine.sa_mask);
    sigaction(SIGABRT, &mine, &before);
    stack_t stackBefore{}, stackAfter{};
    sigaltstack(nullptr, &stackBefore);
    {
        os::RecoveryScope scope;
        if (OS_RECOVERY_POINT(scope) == 0) {
            struct sigaction inside {};
            sigaction(SIGABRT, nullptr, &inside);
            EXPECT_NE(inside.sa_handler, &MarkerHandler);
        }
    }
    sigaction(SIGABRT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, &MarkerHandler);
    sigaltstack(nullptr, &stackAfter);
    EXPECT_EQ(stackAfter.ss_sp, stackBefore.ss_sp);
    EXPECT_EQ(stackAfter.ss_flags, stackBefore.ss_flags);
    sigaction(SIGABRT, &before, nullptr);
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

TEST(FaultRecovery, AbortOutsideAnyScopeStillEndsTheProcess)
{
    EXPECT_DEATH(std::abort(), "");
}

}  // namespace
