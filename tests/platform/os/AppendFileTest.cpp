#include "os.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first size bytes of the file (an open one is longer than its content).
std::string ReadStart(const std::string& path, size_t size)
{
    std::ifstream in(path, std::ios::binary);
    std::string text(size, '\0');
    in.read(&text[0], static_cast<std::streamsize>(size));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::string TestPath(const char* name)
{
    return ::testing::TempDir() + "append_file_" + name + "_" + std::to_string(getpid());
}

// Pieces of several sizes, every seventh larger than the stretch kept ready ahead of the end.
std::string Piece(int i)
{
    return std::string(static_cast<size_t>(i % 7 == 6 ? 5 << 20 : 1 + i * 37 % 600), static_cast<char>('a' + i % 26));
}

std::string Pieces(int count)
{
    std::string all;
    for (int i = 0; i < count; ++i)
        all += Piece(i);
    return all;
}

TEST(AppendFile, EachPieceIsInTheFileOnceAppendedAndTheFileEndsWithTheContentWhenClosed)
{
    const std::string path = TestPath("content");
    os::AppendFile file;
    EXPECT_FALSE(file.Append("x", 1));  // nothing open
    ASSERT_TRUE(file.Open(path.c_str()));
    EXPECT_FALSE(file.Open(path.c_str()));  // one file at a time
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        const std::string one = Piece(i);
        ASSERT_TRUE(file.Append(one.data(), one.size()));
        expected += one;
        // Readers see it at once, before any close.
        EXPECT_TRUE(ReadStart(path, expected.size()) == expected) << i;
    }
    EXPECT_EQ(file.GetSize(), expected.size());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(ReadAll(path), expected);

    // Opening again empties the file.
    ASSERT_TRUE(file.Open(path.c_str()));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadAll(path), "");
    std::remove(path.c_str());
}

TEST(AppendFile, WhatWasAppendedOutlivesACrashOfTheProcess)
{
    const std::string path = TestPath("crash");
    const std::string content = Pieces(9);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        os::AppendFile file;
        if (!file.Open(path.c_str()))
            _exit(1);
        for (size_t at = 0; at < content.size(); at += 1000)
            if (!file.Append(content.data() + at, std::min<size_t>(1000, content.size() - at)))
                _exit(1);
        raise(SIGKILL);  // no close, no exit handlers
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string text = ReadAll(path);
    ASSERT_GE(text.size(), content.size());
    EXPECT_EQ(text.compare(0, content.size(), content), 0);
    EXPECT_EQ(text.find_first_not_of('\0', content.size()), std::string::npos);  // zeros after it
    std::remove(path.c_str());
}

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

TEST(AppendFile, TheProcessDoesNotHoldOnToWhatItHasAppended)
{
    const std::string path = TestPath("memory");
    os::AppendFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    const std::string piece(4000, 'm');
    const double before = ResidentMegabytes();
    for (int i = 0; i < 16000; ++i)  // 64 MB
        ASSERT_TRUE(file.Append(piece.data(), piece.size()));
    EXPECT_LT(ResidentMegabytes() - before, 32.0);
    EXPECT_TRUE(file.Close());
    std::remove(path.c_str());
}

TEST(AppendFile, AFileThatCannotBeMappedIsWrittenPieceByPiece)
{
    os::AppendFile file;
    ASSERT_TRUE(file.Open("/dev/null"));
    EXPECT_TRUE(file.Append("abc", 3));
    EXPECT_EQ(file.GetSize(), 3u);
    EXPECT_TRUE(file.Close());

    EXPECT_FALSE(file.Open(nullptr));
    EXPECT_FALSE(file.Open("/nonexistent-directory/file"));
    EXPECT_FALSE(file.IsOpen());
}

}  // namespace
