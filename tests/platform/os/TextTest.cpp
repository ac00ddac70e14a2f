#include "os.h"

#include <gtest/gtest.h>

namespace {

TEST(CompareNoCase, IgnoresLetterCaseOnly)
{
    EXPECT_EQ(os::CompareNoCase("ResultTypeOk", "RESULTTYPEOK"), 0);
    EXPECT_NE(os::CompareNoCase("abc", "abd"), 0);
    EXPECT_EQ(os::CompareNoCaseN("ShellTypeInwards", "SHELLtypeX", 9), 0);
    EXPECT_NE(os::CompareNoCaseN("Shell", "ShellTypeInwards", 9), 0);
}

struct Utf16Case {
    std::u16string text;
    std::string utf8;
};

TEST(WideToMultiByte, ConvertsUtf16ToUtf8)
{
    const Utf16Case cases[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"\u00e9\u20ac", "\xc3\xa9\xe2\x82\xac"},
        {u"\U0001F600", "\xf0\x9f\x98\x80"},
        {std::u16string(1, char16_t(0xD800)) + u"x", "\xef\xbf\xbdx"},  // unpaired surrogate
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        EXPECT_TRUE(os::WideToMultiByte(c.text.data(), c.text.size(), out));
        EXPECT_EQ(out, c.utf8);
    }
    std::string out;
    EXPECT_FALSE(os::WideToMultiByte(nullptr, 3, out));
}

TEST(IsTextUnicode, RecognisesUtf16LittleEndianText)
{
    const unsigned char bom[] = {0xFF, 0xFE, '<', 0};
    const unsigned char wide[] = {'<', 0, 'a', 0, '>', 0, 'b', 0};
    const char narrow[] = "<a>text</a>";
    EXPECT_TRUE(os::IsTextUnicode(bom, sizeof bom));
    EXPECT_TRUE(os::IsTextUnicode(wide, sizeof wide));
    EXPECT_FALSE(os::IsTextUnicode(narrow, sizeof narrow - 1));
    EXPECT_FALSE(os::IsTextUnicode(wide, 1));
    EXPECT_FALSE(os::IsTextUnicode(nullptr, 8));
}

}  // namespace
