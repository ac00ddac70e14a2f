// Guessing a file's encoding, the tree options, and wide-text conversion.
#include "XMLTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace QEL {
namespace {

struct GuessCase {
  std::string m_bytes;
  bool m_useDeclaration;
  int m_expected;
};

int Guess(const std::string& bytes, bool useDeclaration)
{
  return GuessCharEncoding(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), useDeclaration);
}

TEST(XMLCharEncodingTest, GuessFromBytesAndDeclaration)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  const std::string body = "<QELXML><Info user=\"";
  const GuessCase cases[] = {
    {"<a>short</a>", false, XMLCharEncodingNone},
    {"\xEF\xBB\xBF" + body + "x\"/></QELXML>", false, XMLCharEncodingUTF8},
    {body + "caf\xC3\xA9\"/></QELXML>", false, XMLCharEncodingUTF8},
    {body + "caf\xE9\"/></QELXML>", false, XMLCharEncodingSingleByte},
    {body + "40\xB0\"/></QELXML>", false, XMLCharEncodingSingleByte},  // a byte no UTF-8 text starts with
    {body + "cut \xC3", false, XMLCharEncodingUTF8},                   // a sample cut inside a character
    {"<?xml version=\"1.0\" encoding = ' Shift-JIS'?><r/>", true, XMLCharEncodingShiftJIS},
    {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>", true, XMLCharEncodingSingleByte},
    {"<?xml version=\"1.0\" encoding=\"UTF8\"?><r/>", true, XMLCharEncodingUTF8},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?><r>\xE9</r>", true, XMLCharEncodingNone},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?><r>\xE9</r>", false, XMLCharEncodingSingleByte},
    {std::string("<\0r\0>\0x\0<\0/\0r\0>\0 \0 \0 \0 \0 \0 \0", 28), false, XMLCharEncodingNone},  // UTF-16
  };
  for (const GuessCase& c : cases) EXPECT_EQ(Guess(c.m_bytes, c.m_useDeclaration), c.m_expected) << c.m_bytes;
}

TEST(XMLCharEncodingTest, InvalidEncodingLeavesTheOptionUnchanged)
{
  TreeOptionsScope options(XMLCharEncodingShiftJIS, true, true);
  EXPECT_EQ(SetTreeOptions(XMLCharEncodingNone, false, false), 1);
  EXPECT_EQ(GetTreeOptions().m_encoding, XMLCharEncodingShiftJIS);
  EXPECT_FALSE(GetTreeOptions().m_dropWhiteSpace);
  EXPECT_EQ(SetTreeOptions(XMLCharEncodingSingleByte, true, true), 0);
  EXPECT_EQ(GetTreeOptions().m_encoding, XMLCharEncodingSingleByte);
}

TEST(XMLCharEncodingTest, WideTextConvertsByTheEncodingOption)
{
  const std::u16string wide = u"e\u00e9\u20ac\U0001F600";
  {
    TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
    EXPECT_EQ(WideToMultiByte(wide), "e\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  }
  TreeOptionsScope options(XMLCharEncodingSingleByte, true, true);
  EXPECT_EQ(WideToMultiByte(wide), "e\xE9??");
  EXPECT_EQ(WideToMultiByte(std::u16string(u"a\xD800") + u"b"), "a?b");
}

TEST(XMLCharEncodingTest, CharacterStepsStayInsideTheText)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  EXPECT_EQ(XMLCharLength("\xE2\x82\xAC"), 3u);
  EXPECT_EQ(XMLCharLength("\xE2\x82"), 1u);
  EXPECT_EQ(XMLCharLength("\xE2<a>"), 1u);
  TreeOptionsScope shiftJis(XMLCharEncodingShiftJIS, true, true);
  EXPECT_EQ(XMLCharLength("\x82\xA0"), 2u);
  EXPECT_EQ(XMLCharLength("\x82"), 1u);
  EXPECT_EQ(XMLCharLength("\xEA</b>"), 1u);
}

}  // namespace
}  // namespace QEL
