// Serializing trees: the exact text forms, files, and write-then-parse round trips.
#include "XMLTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace QEL {
namespace {

// A tree with everything a document can hold, including values that need escaping.
XMLTreeNode BuildSampleTree()
{
  XMLTreeNode root = XMLTreeNode::CreateTop("Root", false);
  root.AddAttribute("id", "id5");
  root.AddAttribute("text", "a & b < c > \"q\" 'a'");
  root.AddAttribute("flag", nullptr);
  root.AddText("text with & and <tags>");
  root.AddChild("Child").AddAttribute("x", "1");
  root.AddClear("<not parsed> & ");
  root.AddClear(" note ", "<!--", "-->");
  XMLTreeNode nested = root.AddChild("Nested");
  nested.AddChild("Deep").AddAttribute("v", "\xC3\xA9\xE2\x82\xAC");
  nested.AddText("\xC3\xBC");
  root.AddChild("Empty");
  root.AddChild("Padded").AddText("  two blanks before, a tab after\t");
  return root;
}

std::string ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST(XMLWriterTest, WrittenTreeParsesBackToTheSameTree)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  XMLTreeNode tree = BuildSampleTree();
  std::string expected = DescribeTree(tree);
  for (bool format : {false, true}) {
    std::string text = tree.ToText(format);
    XMLParseResult result;
    XMLTreeNode parsed = XMLTreeNode::ParseText(text.c_str(), "Root", &result);
    EXPECT_EQ(result.m_error, XMLParseErrorNone) << text;
    EXPECT_EQ(DescribeTree(parsed), expected) << text;
  }
  std::string path = ::testing::TempDir() + "xml_round_trip.xml";
  ASSERT_EQ(tree.WriteFile(path.c_str(), "utf-8", true), XMLParseErrorNone);
  XMLParseResult result;
  EXPECT_EQ(DescribeTree(XMLTreeNode::ParseFile(path.c_str(), "Root", &result)), expected);
  EXPECT_EQ(result.m_error, XMLParseErrorNone);
}

TEST(XMLWriterTest, TextForms)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  XMLTreeNode empty = XMLTreeNode::CreateTop("E", false);
  EXPECT_EQ(empty.ToText(false), "<E/>");

  XMLTreeNode escaped = XMLTreeNode::CreateTop("E", false);
  escaped.AddAttribute("v", "&<>\"'");
  escaped.AddText("&<");
  EXPECT_EQ(escaped.ToText(false), "<E v=\"&amp;&lt;&gt;&quot;&apos;\">&amp;&lt;</E>");

  // Edge white space of a text survives a reader that drops white space.
  XMLTreeNode padded = XMLTreeNode::CreateTop("E", false);
  padded.AddText(" x\n");
  EXPECT_EQ(padded.ToText(false), "<E>&#32;x&#10;</E>");

  // An element named like a clear section's open tag is still read back as an element.
  XMLTreeNode pre = XMLTreeNode::ParseText("<PRE ><b/></PRE>", nullptr, nullptr);
  EXPECT_EQ(pre.ToText(false), "<PRE ><b/></PRE>");

  XMLTreeNode declaration = XMLTreeNode::CreateTop("xml", true);
  declaration.AddAttribute("version", "1.0");
  declaration.AddChild("r");
  EXPECT_EQ(declaration.ToText(false), "<?xml version=\"1.0\"?><r/>");

  XMLTreeNode top = XMLTreeNode::ParseText("<a/><b/>", nullptr, nullptr);
  EXPECT_EQ(top.GetName(), nullptr);
  EXPECT_EQ(top.ToText(false), "<a/><b/>");

  XMLTreeNode formatted = XMLTreeNode::CreateTop("Root", false);
  formatted.AddChild("A").AddChild("B").AddText("t");
  formatted.AddChild("C");
  EXPECT_EQ(formatted.ToText(true), "<Root>\n\t<A>\n\t\t<B>\n\t\t\tt\n\t\t</B>\n\t</A>\n\t<C/>\n</Root>\n");
}

// Texts and values longer than the writer's blocks, escapes among them, are written whole and
// read back unchanged.
TEST(XMLWriterTest, LongTextsAndValuesAreWrittenWhole)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  for (size_t length : {size_t(4000), size_t(11000), size_t(70000), size_t(200000)}) {
    SCOPED_TRACE(length);
    std::string value, escaped;
    // Every escaped character, at every place in a run of sixteen bytes.
    const char* const raw[] = {"a&b", "a<b", "a>b", "a\"b", "a'b"};
    const char* const written[] = {"a&amp;b", "a&lt;b", "a&gt;b", "a&quot;b", "a&apos;b"};
    for (size_t i = 0; value.size() < length; ++i) {
      value += i % 7 == 0 ? raw[i / 7 % 5] : "xyz";
      escaped += i % 7 == 0 ? written[i / 7 % 5] : "xyz";
    }
    XMLTreeNode tree = XMLTreeNode::CreateTop("E", false);
    tree.AddAttribute("v", value.c_str());
    tree.AddChild("T").AddText(value.c_str());
    const std::string text = tree.ToText(false);
    EXPECT_EQ(text, "<E v=\"" + escaped + "\"><T>" + escaped + "</T></E>");
    const XMLTreeNode parsed = XMLTreeNode::ParseText(text.c_str(), "E", nullptr);
    EXPECT_EQ(parsed.GetAttribute("v"), value);
    EXPECT_EQ(parsed.GetChild("T").GetText(0), value);
  }
}

struct HeaderCase {
  int m_encoding;
  const char* m_name;
  bool m_ownDeclaration;
  const char* m_expected;
};

TEST(XMLWriterTest, FileHeaderFollowsTheEncodingOption)
{
  const HeaderCase cases[] = {
    {XMLCharEncodingUTF8, "latin", false, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>"},
    {XMLCharEncodingSingleByte, nullptr, false, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r/>"},
    {XMLCharEncodingSingleByte, "windows-1252", false, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r/>"},
    {XMLCharEncodingShiftJIS, "x", false, "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n<r/>"},
    {XMLCharEncodingUTF8, nullptr, true, "\xEF\xBB\xBF<?xml version=\"1.0\"?><r/>"},
  };
  std::string path = ::testing::TempDir() + "xml_header.xml";
  for (const HeaderCase& c : cases) {
    TreeOptionsScope options(c.m_encoding, true, true);
    XMLTreeNode node = XMLTreeNode::CreateTop(c.m_ownDeclaration ? "xml" : "r", c.m_ownDeclaration);
    if (c.m_ownDeclaration) {
      node.AddAttribute("version", "1.0");
      node.AddChild("r");
    }
    ASSERT_EQ(node.WriteFile(path.c_str(), c.m_name, false), XMLParseErrorNone);
    EXPECT_EQ(ReadFile(path), c.m_expected);
  }
}

TEST(XMLWriterTest, FileErrorsAreReported)
{
  XMLTreeNode node = XMLTreeNode::CreateTop("r", false);
  EXPECT_EQ(node.WriteFile("/nonexistent-dir/x.xml", nullptr, false), XMLParseErrorCannotOpenForWriting);
  if (std::ifstream("/dev/full").good()) {
    EXPECT_EQ(node.WriteFile("/dev/full", nullptr, false), XMLParseErrorWriteFailed);
  }
}

}  // namespace
}  // namespace QEL
