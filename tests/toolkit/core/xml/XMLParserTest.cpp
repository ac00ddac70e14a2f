// Parsing text and files: the tree a document gives, the error a bad document gives.
#include "XMLTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace QEL {
namespace {

struct ParseCase {
  const char* m_text;
  const char* m_tree;
};

TEST(XMLParserTest, WellFormedDocumentsGiveTheirTrees)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  const ParseCase cases[] = {
    {"<a x=\"1\" y='2'>hi<b/></a>", "a(x=1 y=2 \"hi\" b())"},
    {"  <a>\n  spaced text \n</a>  ", "a(\"spaced text\")"},
    {"<a flag other=v/>", "a(flag other=v)"},
    {"<a v=\"&AMP;&#65;&#x41;&lt;\">&quot;&apos;&gt;</a>", "a(v=&AA< \"\"'>\")"},
    {"<a>&#8364;&#xE9;</a>", "a(\"\xE2\x82\xAC\xC3\xA9\")"},
    {"<a x=\"1\" X=\"2\"/>", "a(X=2)"},
    {"<a><![CDATA[<raw> & ]]><!-- note --><PRE>x<y</PRE></a>", "a([<![CDATA[<raw> & ] [<!-- note ] [<PRE>x<y])"},
    {"<!DOCTYPE r [<!ENTITY e \"v\">]><r/>", "#top([<!DOCTYPE r [<!ENTITY e \"v\">] r())"},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- c -->\n<Root><c/></Root>",
     "?xml(version=1.0 encoding=utf-8 [<!-- c ] Root(c()))"},
    {"<?xml?><r/>", "?xml(r())"},
    {"<A></a>", "A()"},
    {"<a>\xC3</a>", "a(\"\xC3\")"},  // a broken UTF-8 lead byte does not swallow the markup
    // Tags at the edges of the common shape read as any other tag does.
    {"<a x='1'y=\"2\"  z = \"3\" ></ a >", "a(x=1 y=2 z=3)"},
    {"<a x=\"1\" X=\"2\" x='3'/>", "a(x=3)"},
    {"<a n1x=\"1\" n2x=\"2\" N1X=\"3\"/>", "a(N1X=3 n2x=2)"},
    {"<a x=\"1\"!y=\"2\"/>", "a(x=1 !y=2)"},
    {"<a x=\"it's\" y='\"q\"'/>", "a(x=it's y=\"q\")"},
    {"<PRE x=\"1\">t</PRE ><Script\t/>", "#top(PRE(x=1 \"t\") Script())"},
    {"<a:b-c.d_e>\xC3\xA9</a:b-c.d_e>", "a:b-c.d_e(\"\xC3\xA9\")"},
  };
  for (const ParseCase& c : cases) {
    XMLParseResult result;
    XMLTreeNode tree = Parse(c.m_text, &result);
    EXPECT_EQ(result.m_error, XMLParseErrorNone) << c.m_text;
    EXPECT_EQ(DescribeTree(tree), c.m_tree) << c.m_text;
  }
}

struct ErrorCase {
  const char* m_text;
  int m_error;
  int m_line;
  int m_column;
};

TEST(XMLParserTest, MalformedDocumentsGiveTheirErrorAndPosition)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  const ErrorCase cases[] = {
    {"</a>", XMLParseErrorUnmatchedEndTag, 1, 1},
    {"<a>\n  <>", XMLParseErrorMissingTagName, 2, 3},
    {"<a>< /b>", XMLParseErrorMissingTagName, 1, 4},
    {"<a></a x>", XMLParseErrorEndTagNotClosed, 1, 8},
    {"<a><![CDATA[x</a>", XMLParseErrorClearNotClosed, 1, 4},
    {"<a x=>", XMLParseErrorUnexpectedToken, 1, 6},
    {"<a x=\"1", XMLParseErrorUnexpectedToken, 1, 8},
    {"<a \"q\"/>", XMLParseErrorUnexpectedToken, 1, 4},
    {"<a \" y=2/>", XMLParseErrorUnexpectedToken, 1, 4},
    {"<\"a x=1/>", XMLParseErrorMissingTagName, 1, 1},
    {"<a/ x=1>", XMLParseErrorMissingTagName, 1, 1},
    {"<a x/ y/>", XMLParseErrorUnexpectedToken, 1, 4},
    {"<a>&bogus;</a>", XMLParseErrorBadEntity, 1, 4},
    {"<a>&amp</a>", XMLParseErrorBadEntity, 1, 4},
    {"<a>&#6x5;</a>", XMLParseErrorBadEntity, 1, 4},
    {"<a>&#;</a>", XMLParseErrorBadEntity, 1, 4},  // would be a 0 byte cutting the text short
    {"<a>&#0;</a>", XMLParseErrorBadEntity, 1, 4},
    {"<a>&#x110000;</a>", XMLParseErrorBadEntity, 1, 4},
    {"<a v='&zz;'/>", XMLParseErrorBadEntity, 1, 7},
    {"<a x='<'/>", XMLParseErrorUnexpectedToken, 1, 7},  // a quote is never closed past "<"
  };
  for (const ErrorCase& c : cases) {
    XMLParseResult result;
    XMLTreeNode tree = Parse(c.m_text, &result);
    EXPECT_TRUE(tree.IsEmpty()) << c.m_text;
    EXPECT_EQ(result.m_error, c.m_error) << c.m_text;
    EXPECT_EQ(result.m_line, c.m_line) << c.m_text;
    EXPECT_EQ(result.m_column, c.m_column) << c.m_text;
  }
}

// A declaration takes what follows it up to the end of the element around it, and that
// element's end tag closes it: it is never matched by an end tag itself, so a written
// declaration inside an element reads back where it was, cycle after cycle.
TEST(XMLParserTest, DeclarationsInsideElementsSurviveWritingAndParsing)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  const ParseCase cases[] = {
    {"<a><?pi x?><b/></a>", "a(?pi(x b()))"},
    {"<c><c><?c></c></c>3", "#top(c(c(?c())) \"3\")"},
    {"<a><b/><?pi?>t<c>u</c></a><d/>", "#top(a(b() ?pi(\"t\" c(\"u\"))) d())"},
    {"<?xml?><r><?p?><q/></r>", "?xml(r(?p(q())))"},
    // A declaration closed at once keeps what follows beside it.
    {"<?x/><a><?p k/>t<?q?/><b/><?r/></a>", "#top(?x() a(?p(k) \"t\" ?q?() b() ?r()))"},
  };
  for (const ParseCase& c : cases) {
    XMLParseResult result;
    XMLTreeNode tree = Parse(c.m_text, &result);
    EXPECT_EQ(result.m_error, XMLParseErrorNone) << c.m_text;
    EXPECT_EQ(DescribeTree(tree), c.m_tree) << c.m_text;
    for (int cycle = 0; cycle < 3; ++cycle) {
      tree = Parse(tree.ToText(false).c_str(), &result);
      EXPECT_EQ(result.m_error, XMLParseErrorNone) << c.m_text;
      EXPECT_EQ(DescribeTree(tree), c.m_tree) << c.m_text;
    }
  }
  // Declarations closed at once add no depth, neither parsed nor written back.
  XMLParseResult result;
  std::string flat = "<a>";
  for (int i = 0; i <= XMLMaxNestingDepth; ++i) flat += "<?p/>";
  flat += "<b/></a>";
  XMLTreeNode tree = Parse(flat.c_str(), &result);
  ASSERT_EQ(result.m_error, XMLParseErrorNone);
  EXPECT_FALSE(Parse(tree.ToText(false).c_str(), &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorNone);
  EXPECT_STREQ(Parse(tree.ToText(false).c_str()).GetChild(XMLMaxNestingDepth + 1).GetName(), "b");

  // The end tag named like the declaration closes the element, not the declaration.
  EXPECT_TRUE(Parse("<c><c><?c></c></c></c>", &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorUnmatchedEndTag);
  EXPECT_TRUE(Parse("<?a><b></a>", &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorUnmatchedEndTag);
}

// Names and values are scanned many bytes at a time: whatever ends one (or is written as an
// entity inside a value) is found at every place it may stand, also within the last bytes of
// the text.
TEST(XMLParserTest, LongNamesAndValuesEndWhereTheirStopStands)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  for (size_t k = 0; k < 40; ++k) {
    SCOPED_TRACE(k);
    const std::string name = std::string(k, 'n') + "\xC3\xA9-X.y:z_9";
    const std::string quoted = std::string(k, 'v') + "\">" + std::string(3, 'w');
    const std::string escaped = std::string(k, 'u');
    const std::string text = "<" + name + " " + name + "='" + quoted + "'><b q=\"" + escaped +
                             "&amp;\"/><" + name + "/>" + std::string(k + 1, 't') + "</" + name + ">";
    const std::string tree = name + "(" + name + "=" + quoted + " b(q=" + escaped + "&) " + name + "() \"" +
                             std::string(k + 1, 't') + "\")";
    XMLParseResult result;
    XMLTreeNode parsed = Parse(text.c_str(), &result);
    EXPECT_EQ(result.m_error, XMLParseErrorNone);
    EXPECT_EQ(DescribeTree(parsed), tree);
    // The quote inside the value is written as an entity, or the text would not read back.
    EXPECT_EQ(DescribeTree(Parse(parsed.ToText(false).c_str(), &result)), tree);

    const std::string open = "<a v=\"" + std::string(k, 'x');
    EXPECT_TRUE(Parse((open + "<\"/>").c_str(), &result).IsEmpty());
    EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken);
    EXPECT_EQ(result.m_column, static_cast<int>(k) + 7);
    EXPECT_TRUE(Parse(open.c_str(), &result).IsEmpty());
    EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken);
    EXPECT_EQ(result.m_column, static_cast<int>(k) + 7);
    EXPECT_TRUE(Parse(("<a " + name).c_str(), &result).IsEmpty());  // cut off inside the tag
    EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken);
    EXPECT_EQ(result.m_column, static_cast<int>(k) + 13);
  }
}

TEST(XMLParserTest, MissingEndTagsAreReportedAndTheTreeKept)
{
  XMLParseResult result;
  XMLTreeNode tree = Parse("<a><b><c></a>", &result);
  EXPECT_EQ(result.m_error, XMLParseErrorUnclosedElements);
  EXPECT_EQ(result.m_column, 10);
  EXPECT_EQ(DescribeTree(tree), "a(b(c()))");

  tree = Parse("<a><b>text", &result);
  EXPECT_EQ(result.m_error, XMLParseErrorUnclosedElements);
  EXPECT_EQ(result.m_column, 11);
  EXPECT_EQ(DescribeTree(tree), "a(b(\"text\"))");

  // A multi-byte lead at the very end is cut short, never read past.
  tree = Parse("<a>\xF0", &result);
  EXPECT_EQ(result.m_error, XMLParseErrorUnclosedElements);
  EXPECT_EQ(DescribeTree(tree), "a(\"\xF0\")");
}

TEST(XMLParserTest, RootIsFoundByNameInsideTheDeclaration)
{
  const char* text = "<?xml version=\"1.0\"?>\n<!-- c -->\n<QELJournal><Function/></QELJournal>";
  XMLParseResult result;
  EXPECT_EQ(DescribeTree(Parse(text, &result, "qeljournal")), "QELJournal(Function())");
  EXPECT_EQ(result.m_error, XMLParseErrorNone);
  EXPECT_TRUE(Parse(text, &result, "QELXML").IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorRootNotFound);
  EXPECT_TRUE(XMLTreeNode::ParseText(nullptr, nullptr, &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorNoText);
}

TEST(XMLParserTest, HostileInputEndsInAnErrorNotACrash)
{
  XMLParseResult result;
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  EXPECT_TRUE(Parse(deep.c_str(), &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorNestingTooDeep);

  std::string nested;
  for (int i = 0; i < XMLMaxNestingDepth; ++i) nested += "<a>";
  for (int i = 0; i < XMLMaxNestingDepth; ++i) nested += "</a>";
  XMLTreeNode deepest = Parse(nested.c_str(), &result);
  EXPECT_EQ(result.m_error, XMLParseErrorNone);
  EXPECT_EQ(deepest.ToText(false).size(), nested.size() - 3);  // the innermost element is written <a/>

  std::string huge = "<a v=\"" + std::string(8 << 20, 'x') + "\"/>";
  XMLTreeNode tree = Parse(huge.c_str(), &result);
  ASSERT_EQ(result.m_error, XMLParseErrorNone);
  EXPECT_EQ(std::string(tree.GetAttribute("v")).size(), size_t(8 << 20));

  // Past a few attributes the names are looked up by index; a repeat in other case still
  // replaces the earlier one in place.
  std::string wide = "<a";
  for (int i = 0; i < 40; ++i) wide += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  tree = Parse((wide + " N3='x' n39=y/>").c_str(), &result);
  ASSERT_EQ(tree.CountAttributes(), 40);
  EXPECT_STREQ(tree.GetContent(3).m_attributeName, "N3");
  EXPECT_STREQ(tree.GetAttribute("n3"), "x");
  EXPECT_STREQ(tree.GetAttribute("n39"), "y");

  std::string many = "<a";
  for (int i = 0; i < 50000; ++i) many += " x=\"" + std::to_string(i) + "\"";
  tree = Parse((many + "/>").c_str(), &result);
  EXPECT_EQ(tree.CountAttributes(), 1);
  EXPECT_STREQ(tree.GetAttribute("x"), "49999");
}

TEST(XMLParserTest, WhiteSpaceIsKeptWhenDroppingIsOff)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, false);
  XMLTreeNode tree = Parse("<a>\n</a>");
  EXPECT_STREQ(tree.GetText(0), "\n");
  EXPECT_EQ(tree.ToText(true), "<a>\n</a>");
}

class XMLParseFileTest : public ::testing::Test {
protected:
  std::string WriteBytes(const std::string& name, const std::string& bytes)
  {
    std::string path = ::testing::TempDir() + "xml_parse_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

TEST_F(XMLParseFileTest, FilesWithByteOrderMarksAndWideTextParse)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  XMLParseResult result;
  std::string path = WriteBytes("bom.xml", "\xEF\xBB\xBF<r a=\"\xC3\xA9\"/>");
  EXPECT_EQ(DescribeTree(XMLTreeNode::ParseFile(path.c_str(), "r", &result)), "r(a=\xC3\xA9)");

  std::string wide = "\xFF\xFE";
  for (char16_t c : std::u16string(u"<r>\u00e9\u20ac</r>")) {
    wide += static_cast<char>(c & 0xFF);
    wide += static_cast<char>(c >> 8);
  }
  path = WriteBytes("wide.xml", wide);
  EXPECT_EQ(DescribeTree(XMLTreeNode::ParseFile(path.c_str(), "r", &result)), "r(\"\xC3\xA9\xE2\x82\xAC\")");
  EXPECT_EQ(result.m_error, XMLParseErrorNone);
}

// A 0 code unit and an odd last byte would cut a UTF-16 file short; both are reported
// where the converted text stops, as a 0 byte in a file of bytes is.
TEST_F(XMLParseFileTest, WideTextCutShortIsReported)
{
  using namespace std::string_literals;
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  auto wideFile = [this](const std::string& name, const std::u16string& text, const std::string& tail) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    return WriteBytes(name, bytes + tail);
  };
  struct WideCase {
    const char* m_name;
    std::u16string m_text;
    std::string m_tail;
    int m_column;
  };
  const WideCase cases[] = {
    {"wide_zero.xml", u"<r>\u00e9</r>\0<s/>"s, "", 9},
    {"wide_odd.xml", u"<r>x</r>", "<", 9},
    {"wide_zero_odd.xml", u"<r/>\0"s, "x", 5},
  };
  for (const WideCase& c : cases) {
    XMLParseResult result;
    EXPECT_TRUE(XMLTreeNode::ParseFile(wideFile(c.m_name, c.m_text, c.m_tail).c_str(), nullptr, &result).IsEmpty())
      << c.m_name;
    EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken) << c.m_name;
    EXPECT_EQ(result.m_line, 1) << c.m_name;
    EXPECT_EQ(result.m_column, c.m_column) << c.m_name;
  }
}

TEST_F(XMLParseFileTest, UnreadableOrEmptyFilesAreReported)
{
  XMLParseResult result;
  EXPECT_TRUE(XMLTreeNode::ParseFile((::testing::TempDir() + "no_such_file.xml").c_str(), nullptr, &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorCannotOpenForReading);
  std::string path = WriteBytes("empty.xml", "");
  EXPECT_TRUE(XMLTreeNode::ParseFile(path.c_str(), nullptr, &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorEmptyFile);
  EXPECT_TRUE(XMLTreeNode::ParseFile(::testing::TempDir().c_str(), nullptr, &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorCannotOpenForReading);
  // Text after a 0 byte is not silently dropped.
  path = WriteBytes("zero.xml", std::string("<a>x</a>\0<b/>", 13));
  EXPECT_TRUE(XMLTreeNode::ParseFile(path.c_str(), nullptr, &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken);
  EXPECT_EQ(result.m_column, 9);
  path = WriteBytes("truncated.xml", "<QELJournal><Function index=\"1\"><Argument name=");
  EXPECT_TRUE(XMLTreeNode::ParseFile(path.c_str(), "QELJournal", &result).IsEmpty());
  EXPECT_EQ(result.m_error, XMLParseErrorUnexpectedToken);
}

}  // namespace
}  // namespace QEL
