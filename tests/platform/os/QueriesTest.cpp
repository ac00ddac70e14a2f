#include "os.h"
#include "os_test.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(Clock, CounterDoesNotGoBackAndFrequencyIsPositive)
{
    EXPECT_GT(os::QueryPerformanceFrequency(), 0);
    std::int64_t first = os::QueryPerformanceCounter();
    EXPECT_GE(os::QueryPerformanceCounter(), first);
}

TEST(MachineFacts, AnswerNonEmptyTexts)
{
    std::string text;
    EXPECT_TRUE(os::GetComputerName(text));
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(os::GetUserName(text));
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(os::GetModuleFileName(text));
    EXPECT_EQ(std::filesystem::path(text).filename(), "platform_os_tests");
    EXPECT_TRUE(os::GetOsVersion(text));
    EXPECT_EQ(text.rfind("Linux ", 0), 0u);
}

TEST(MachineFacts, FailingQueriesAnswerFalseAndEmpty)
{
    os::test::SetQueriesFail(true);
    std::string text = "stale";
    EXPECT_FALSE(os::GetComputerName(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(os::GetUserName(text));
    EXPECT_FALSE(os::GetModuleFileName(text));
    EXPECT_FALSE(os::GetOsVersion(text));
    EXPECT_FALSE(os::GetFullPath("a", text));
    EXPECT_FALSE(os::GetWorkingDirectory(text));
    os::test::SetQueriesFail(false);
}

TEST(Environment, ReadsSetVariablesOnly)
{
    std::string value = "stale";
    setenv("QEL_OS_TEST_VARIABLE", "v1", 1);
    EXPECT_TRUE(os::GetEnvironmentVariable("QEL_OS_TEST_VARIABLE", value));
    EXPECT_EQ(value, "v1");
    unsetenv("QEL_OS_TEST_VARIABLE");
    EXPECT_FALSE(os::GetEnvironmentVariable("QEL_OS_TEST_VARIABLE", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(os::GetEnvironmentVariable(nullptr, value));
}

TEST(Paths, FullPathIsAbsoluteAndNormalised)
{
    std::string cwd, full;
    ASSERT_TRUE(os::GetWorkingDirectory(cwd));
    ASSERT_TRUE(os::GetFullPath("x/../y.xml", full));
    EXPECT_EQ(full, (std::filesystem::path(cwd) / "y.xml").string());
    ASSERT_TRUE(os::GetFullPath("/a/./b//c", full));
    EXPECT_EQ(full, "/a/b/c");
    ASSERT_TRUE(os::GetFullPath("", full));
    EXPECT_EQ(full, std::filesystem::path(cwd).lexically_normal().string());
    EXPECT_FALSE(os::GetFullPath(nullptr, full));
    EXPECT_EQ(full, "");
}

TEST(Paths, ChangeDirectorySwitchesAndRefusesBadPaths)
{
    std::string before, inside;
    ASSERT_TRUE(os::GetWorkingDirectory(before));
    ASSERT_TRUE(os::ChangeDirectory("/"));
    ASSERT_TRUE(os::GetWorkingDirectory(inside));
    EXPECT_EQ(inside, "/");
    EXPECT_FALSE(os::ChangeDirectory("/no/such/directory/here"));
    EXPECT_FALSE(os::ChangeDirectory(nullptr));
    ASSERT_TRUE(os::ChangeDirectory(before.c_str()));
}

}  // namespace
