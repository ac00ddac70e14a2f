#include "os.h"
#include "os_test.h"

#include <gtest/gtest.h>

#include <time.h>

namespace {

int s_fired = 0;
void CountFiring() { ++s_fired; }

// Sleeps in small steps, so that the timer's signal can arrive in between, until the condition
// holds or the time is up; a busy machine delays the signal but does not lose it.
template <typename Condition>
void WaitMilliseconds(int milliseconds, Condition done)
{
    for (int i = 0; i < milliseconds && !done(); ++i) {
        timespec step{0, 1000000};
        nanosleep(&step, nullptr);
    }
}

void WaitMilliseconds(int milliseconds)
{
    WaitMilliseconds(milliseconds, [] { return false; });
}

class AbortTimer : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_fired = 0;
        os::test::SetAbortTimerDelay(20);
    }
    void TearDown() override
    {
        os::CancelAbortTimer();
        os::test::SetAbortTimerDelay(5000);
    }
};

TEST_F(AbortTimer, DelayIsFiveSecondsUnlessATestChangesIt)
{
    os::test::SetAbortTimerDelay(5000);
    EXPECT_EQ(os::test::GetAbortTimerDelay(), 5000);
}

TEST_F(AbortTimer, FiresOnceAndThenIsGone)
{
    ASSERT_TRUE(os::StartAbortTimer(&CountFiring));
    EXPECT_TRUE(os::IsAbortTimerRunning());
    WaitMilliseconds(5000, [] { return s_fired > 0; });
    WaitMilliseconds(50);  // a second firing would show now
    EXPECT_EQ(s_fired, 1);
    EXPECT_FALSE(os::IsAbortTimerRunning());
}

TEST_F(AbortTimer, CancelledTimerNeverFires)
{
    ASSERT_TRUE(os::StartAbortTimer(&CountFiring));
    os::CancelAbortTimer();
    EXPECT_FALSE(os::IsAbortTimerRunning());
    WaitMilliseconds(100);
    EXPECT_EQ(s_fired, 0);
    os::CancelAbortTimer();  // a second cancel does nothing
}

TEST_F(AbortTimer, RejectsANullProcedure)
{
    EXPECT_FALSE(os::StartAbortTimer(nullptr));
    EXPECT_FALSE(os::IsAbortTimerRunning());
}

TEST_F(AbortTimer, ProcedureMayJumpToTheRecoveryPoint)
{
    os::RecoveryScope scope;
    int answer = OS_RECOVERY_POINT(scope);
    if (answer == 0) {
        ASSERT_TRUE(os::StartAbortTimer([] { os::JumpToRecoveryPoint(3); }));
        WaitMilliseconds(5000);
        ADD_FAILURE() << "the timer did not jump back";
    }
    EXPECT_EQ(answer, 3);
    EXPECT_FALSE(os::IsAbortTimerRunning());
    // The jump left the timer's signal unblocked: the next timer fires.
    ASSERT_TRUE(os::StartAbortTimer(&CountFiring));
    WaitMilliseconds(5000, [] { return s_fired > 0; });
    EXPECT_EQ(s_fired, 1);
}

}  // namespace
