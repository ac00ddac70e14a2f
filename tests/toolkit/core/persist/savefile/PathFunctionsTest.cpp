// The save file's path functions: splitting at either separator, and absolute paths against
// a given directory without touching the working directory.
#include "core/persist/PersistenceUtilities.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace QEL {
namespace testing {
namespace {

TEST(PathFunctionsTest, SplitPathTakesTheLastSeparatorAndTheLastPointAfterIt)
{
    struct Case {
        const char* path;
        const char* directory;
        const char* base;
        const char* extension;
    };
    const Case cases[] = {
        {"/a/b.c/name.tar.xml", "/a/b.c/", "name.tar", ".xml"},
        {"C:\\work\\file.b_t", "C:\\work\\", "file", ".b_t"},
        {"dir/noextension", "dir/", "noextension", ""},
        {"dir.d/", "dir.d/", "", ""},
        {"plain.xml", "", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        std::string directory = "x", base = "x", extension = "x";
        SplitPath(c.path, &directory, &base, &extension);
        EXPECT_EQ(directory, c.directory) << c.path;
        EXPECT_EQ(base, c.base) << c.path;
        EXPECT_EQ(extension, c.extension) << c.path;
    }
    SplitPath("a/b.c", nullptr, nullptr, nullptr);
}

TEST(PathFunctionsTest, AbsolutePathsResolveAgainstTheGivenDirectory)
{
    std::string absolute;
    EXPECT_TRUE(MakeAbsolutePath("parts/x.b_t", absolute, "/data/saves/"));
    EXPECT_EQ(absolute, "/data/saves/parts/x.b_t");
    EXPECT_TRUE(MakeAbsolutePath("/elsewhere/../x.b_t", absolute, "/data"));
    EXPECT_EQ(absolute, "/x.b_t");
    EXPECT_TRUE(MakeAbsolutePath("x.xml", absolute));
    EXPECT_EQ(absolute, (std::filesystem::current_path() / "x.xml").string());
    EXPECT_FALSE(MakeAbsolutePath("", absolute));
    EXPECT_TRUE(absolute.empty());
    std::string working;
    EXPECT_TRUE(GetWorkingDirectory(working));
    EXPECT_EQ(working, std::filesystem::current_path().string());
    EXPECT_FALSE(ChangeDirectory(nullptr));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
