#include "core/support/Environment.h"
#include "core/support/Timer.h"

#include <gtest/gtest.h>

#include <os_test.h>

#include <cctype>
#include <cstdlib>
#include <optional>

namespace {

using namespace QEL;

// Sets or clears an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(MakeTempFilePath, PrefersQelTempThenTmpThenTheBareName)
{
    {
        ScopedVariable qel("QEL_TEMP", "/q"), tmp("TMP", "/t");
        EXPECT_EQ(MakeTempFilePath("a.xml"), "/q/a.xml");
    }
    {
        ScopedVariable qel("QEL_TEMP", nullptr), tmp("TMP", "/t");
        EXPECT_EQ(MakeTempFilePath("a.xml"), "/t/a.xml");
    }
    {
        ScopedVariable qel("QEL_TEMP", nullptr), tmp("TMP", nullptr);
        EXPECT_EQ(MakeTempFilePath("a.xml"), "a.xml");
    }
}

TEST(MachineFacts, HeaderTextsAndTheirFallbacks)
{
    EXPECT_EQ(GetPlatformName(), "Win32");
    EXPECT_EQ(GetBuildType(), "RELEASE");
    EXPECT_EQ(GetApplicationFileName(), "toolkit_core_tests");
    EXPECT_FALSE(GetComputerNameText().empty());
    EXPECT_FALSE(GetOsVersionText().empty());
    // "%d-%b-%y %X %z", as 10-Dec-26 12:43:27 +0000: digits and letters in fixed places.
    const std::string dateTime = GetDateTimeText();
    const std::string shape = "99-Aaa-99 99:99:99 +9999";
    ASSERT_EQ(dateTime.size(), shape.size()) << dateTime;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(dateTime[i]);
        const bool fits = shape[i] == '9' ? std::isdigit(c) != 0
                          : shape[i] == 'A' ? std::isupper(c) != 0
                          : shape[i] == 'a' ? std::islower(c) != 0
                          : shape[i] == '+' ? (c == '+' || c == '-')
                                            : c == static_cast<unsigned char>(shape[i]);
        EXPECT_TRUE(fits) << dateTime << " at " << i;
    }
    EXPECT_EQ(GetFullPath("/a/b/../c"), "/a/c");
    EXPECT_EQ(GetFullPath(nullptr), "");

    os::test::SetQueriesFail(true);
    EXPECT_EQ(GetComputerNameText(), "Unknown");
    EXPECT_EQ(GetUserNameText(), "Unknown");
    EXPECT_EQ(GetApplicationFileName(), "");
    EXPECT_EQ(GetOsVersionText(), "");
    EXPECT_EQ(GetFullPath("x"), "");
    os::test::SetQueriesFail(false);
}

TEST(Timer, ElapsedSecondsAreSmallNonNegativeAndNeverDecrease)
{
    Timer timer;
    double first = timer.GetElapsedSeconds();
    double second = timer.GetElapsedSeconds();
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 1.0);
    EXPECT_GE(second, first);
    EXPECT_GE(GetTicksSinceBase(), 0.0);
}

// A callback that takes a measurable time to answer.
int AnswerAfterSomeTime(int question)
{
    const Timer waited;
    while (waited.GetElapsedSeconds() <= 0.0) {
    }
    return question + 1;
}

TEST(Timer, CallbackTimeAccumulatesIntoTheProcessTotalAndAStepRemembersWhereItStarted)
{
    const double before = Timer::GetTotal();
    EXPECT_EQ(TimedCallback<&AnswerAfterSomeTime>::Call(41), 42);
    const double after = Timer::GetTotal();
    EXPECT_GT(after, before);

    ScopedTimer step(3, "ZMR::re_evaluate");
    EXPECT_EQ(step.GetCategory(), 3);
    EXPECT_EQ(step.GetLabel(), "ZMR::re_evaluate");
    EXPECT_EQ(step.GetTotalAtStart(), after);
    step.Stop();
    EXPECT_EQ(Timer::GetTotal(), after) << "a step is no callback";
}

}  // namespace
