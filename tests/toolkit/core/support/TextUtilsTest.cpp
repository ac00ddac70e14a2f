#include "core/support/TextUtils.h"

#include <gtest/gtest.h>

namespace {

using namespace QEL;

TEST(FormatString, FormatsLikePrintf)
{
    EXPECT_EQ(FormatString("%s(%d)", "abc", 7), "abc(7)");
    EXPECT_EQ(FormatString("%s", ""), "");
}

TEST(FormatString, ResultOfExactlyTheBufferSizeComesBackWhole)
{
    std::string text(1024, 'a');
    EXPECT_EQ(FormatString("%s", text.c_str()), text);
}

TEST(FormatString, LongerOutputIsCutAtTheBufferSize)
{
    std::string text(5000, 'b');
    std::string result = FormatString("%s-%d", text.c_str(), 12);
    EXPECT_EQ(result, std::string(1024, 'b'));
}

struct AffixCase {
    const char* text;
    const char* affix;
    bool starts;
    bool ends;
};

TEST(Affixes, StartsWithAndEndsWith)
{
    const AffixCase cases[] = {
        {"abcabc", "bc", false, true},
        {"abcabc", "abc", true, true},
        {"abc", "", true, true},
        {"", "", true, true},
        {"ab", "abc", false, false},
        {"", "x", false, false},
        {"abc", nullptr, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + (c.affix ? c.affix : "null"));
        EXPECT_EQ(StartsWith(c.text, c.affix), c.starts ? 1 : 0);
        EXPECT_EQ(EndsWith(c.text, c.affix), c.ends);
    }
}

TEST(Comparisons, AreNullSafe)
{
    EXPECT_FALSE(IsEqualNoCase(nullptr, ""));
    EXPECT_FALSE(IsEqualNoCase("", nullptr));
    EXPECT_FALSE(IsEqualStrings(nullptr, nullptr));
    EXPECT_FALSE(IsEqualNoCaseN(nullptr, "a", 1));
    EXPECT_TRUE(IsEqualNoCase("", ""));
}

TEST(Comparisons, LetterCase)
{
    EXPECT_TRUE(IsEqualNoCase("ResultTypeOk", "RESULTTYPEOK"));
    EXPECT_FALSE(IsEqualStrings("ResultTypeOk", "RESULTTYPEOK"));
    EXPECT_TRUE(IsEqualStrings("ResultTypeOk", "ResultTypeOk"));
    EXPECT_TRUE(IsEqualNoCaseN("SHELLTYPEX", "ShellTypeInwards", 9));
    EXPECT_FALSE(IsEqualNoCaseN("Shell", "ShellTypeInwards", 9));
}

}  // namespace
