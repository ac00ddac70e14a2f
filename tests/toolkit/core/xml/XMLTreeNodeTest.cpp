// Building and walking XML trees, and the lifetime of shared node data.
#include "XMLTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace QEL {
namespace {

TEST(XMLTreeNodeTest, ContentsInsertedAtPositionsKeepDocumentOrder)
{
  XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
  top.AddText("last");
  top.AddChild("First", false, 0);
  top.AddClear("raw", nullptr, nullptr, 1);
  XMLTreeNode middle = top.AddChild("Middle", false, 2);
  top.AddChild("End");
  EXPECT_EQ(DescribeTree(top), "Root(First() [<![CDATA[raw] Middle() \"last\" End())");
  // Child indexes follow document order, not the order of the calls.
  EXPECT_STREQ(top.GetChild(0).GetName(), "First");
  EXPECT_STREQ(top.GetChild(1).GetName(), "Middle");
  EXPECT_STREQ(top.GetChild(2).GetName(), "End");
  EXPECT_TRUE(middle.GetParent().IsSameNode(top));
}

TEST(XMLTreeNodeTest, SettingAnExistingAttributeReplacesItInPlace)
{
  XMLTreeNode node = XMLTreeNode::CreateTop("Argument", false);
  node.AddAttribute("name", "a");
  node.AddAttribute("bodyIndex", "1");
  node.AddAttribute("BODYINDEX", "2");
  node.AddAttribute("flag", nullptr);
  EXPECT_EQ(node.CountAttributes(), 3);
  EXPECT_EQ(DescribeTree(node), "Argument(name=a BODYINDEX=2 flag)");
  EXPECT_STREQ(node.GetAttribute("bodyindex"), "2");
  EXPECT_EQ(node.GetAttribute("flag"), nullptr);
  EXPECT_EQ(node.GetAttribute("missing"), nullptr);
}

TEST(XMLTreeNodeTest, NamedLookupsIgnoreCaseAndResumeAfterThePosition)
{
  XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
  top.AddChild("Item").AddAttribute("n", "0");
  top.AddChild("Other");
  top.AddChild("ITEM").AddAttribute("n", "1");
  top.AddChild("item").AddAttribute("n", "2");
  EXPECT_EQ(top.CountChildren("item"), 3);
  EXPECT_EQ(top.CountChildren(), 4);
  int position = 0;
  std::string seen;
  for (XMLTreeNode item = top.GetChild("Item", &position); !item.IsEmpty(); item = top.GetChild("Item", &position))
    seen += item.GetAttribute("n");
  EXPECT_EQ(seen, "012");
  EXPECT_EQ(position, 4);
}

TEST(XMLTreeNodeTest, ContentIndexesGiveAttributesThenDocumentOrder)
{
  XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
  top.AddAttribute("a", "1");
  top.AddText("t");
  top.AddChild("C");
  ASSERT_EQ(top.CountContents(), 3);
  EXPECT_EQ(top.GetContent(0).m_kind, XMLContentKindAttribute);
  EXPECT_EQ(top.GetContent(1).m_kind, XMLContentKindText);
  EXPECT_STREQ(top.GetContent(2).m_child.GetName(), "C");
  EXPECT_EQ(top.GetContent(3).m_kind, XMLContentKindNone);
  EXPECT_EQ(top.GetContent(-1).m_kind, XMLContentKindNone);
}

TEST(XMLTreeNodeTest, EmptyNodeAnswersNothingAndTakesNothing)
{
  XMLTreeNode empty;
  EXPECT_TRUE(empty.AddChild("A").IsEmpty());
  empty.AddAttribute("a", "1");
  empty.AddText("t");
  EXPECT_FALSE(empty.AddClear("c"));
  EXPECT_EQ(empty.CountContents(), 0);
  EXPECT_EQ(empty.GetName(), nullptr);
  EXPECT_EQ(empty.GetAttribute("a"), nullptr);
  EXPECT_EQ(empty.GetText(0), nullptr);
  EXPECT_TRUE(empty.GetChild("A").IsEmpty());
  EXPECT_TRUE(empty.GetParent().IsEmpty());
  EXPECT_EQ(empty.ToText(false), "");
  empty.DeleteContent(true);
}

TEST(XMLTreeNodeTest, ChildOutlivesItsParentWhileAHandleHoldsIt)
{
  XMLTreeNode child;
  {
    XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
    child = top.AddChild("Child");
    child.AddChild("Grandchild").AddText("kept");
  }
  EXPECT_TRUE(child.GetParent().IsEmpty());
  EXPECT_STREQ(child.GetChild(0).GetText(0), "kept");
}

// Forcing the deletion of a node that other handles still hold must not free it under
// them: it leaves the tree, and its data goes with the last handle.
TEST(XMLTreeNodeTest, ForcedDeletionDetachesWithoutFreeingUnderOtherHandles)
{
  XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
  top.AddChild("Keep");
  XMLTreeNode removed = top.AddChild("Removed");
  removed.AddAttribute("x", "1");
  top.AddText("after");
  XMLTreeNode other = removed;
  removed.DeleteContent(true);
  EXPECT_TRUE(removed.IsEmpty());
  EXPECT_EQ(DescribeTree(top), "Root(Keep() \"after\")");
  EXPECT_STREQ(other.GetAttribute("x"), "1");
  EXPECT_TRUE(other.GetParent().IsEmpty());
  // Without force only the handle goes; the tree keeps the node.
  XMLTreeNode keep = top.GetChild("Keep");
  keep.DeleteContent(false);
  EXPECT_EQ(top.CountChildren("Keep"), 1);
}

// A parsed element's arrays are made to its exact size: contents added afterwards, in the
// middle and past the size at which an array takes memory of its own, must still land in
// document order, and what the parsed strings held must stay intact.
TEST(XMLTreeNodeTest, ParsedTreesTakeMoreContentsAnywhere)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  XMLTreeNode top = Parse("<Root a=\"1\" b=\"x&amp;y\"><First/>text<Last/></Root>");
  ASSERT_FALSE(top.IsEmpty());
  top.AddAttribute("A", "2");
  top.AddAttribute("c", "3");
  top.AddChild("Middle", false, 1);
  top.AddClear("raw", nullptr, nullptr, 0);
  const int added = 5000;
  for (int i = 0; i < added; ++i) top.AddChild("Item").AddAttribute("n", std::to_string(i).c_str());
  top.AddText("end");
  EXPECT_EQ(top.CountChildren(), added + 3);
  EXPECT_EQ(top.CountChildren("item"), added);
  EXPECT_STREQ(top.GetChild(1).GetName(), "Middle");
  EXPECT_STREQ(top.GetChild(added + 2).GetAttribute("n"), std::to_string(added - 1).c_str());
  const std::string text = top.ToText(false);
  const std::string head = "<Root A=\"2\" b=\"x&amp;y\" c=\"3\"><![CDATA[raw]]><First/><Middle/>text<Last/><Item n=\"0\"/>";
  const std::string tail = "<Item n=\"4999\"/>end</Root>";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  // Removing from the large array keeps the order of what is left.
  XMLTreeNode removed = top.GetChild(2);
  removed.DeleteContent(true);
  EXPECT_EQ(top.CountChildren(), added + 2);
  EXPECT_STREQ(top.GetChild(2).GetAttribute("n"), "0");
  EXPECT_STREQ(top.GetContent(top.CountAttributes() + 3).m_text, "text");
}

// A node taken out of its tree keeps its document's memory alive on its own: everything else
// may go, and the node and what it holds stay readable.
TEST(XMLTreeNodeTest, DetachedNodesKeepTheirDocument)
{
  XMLTreeNode detached;
  {
    XMLTreeNode top = Parse("<Root><Gone/><Kept k=\"v\"><Inner>t</Inner></Kept></Root>");
    detached = top.GetChild("Kept");
    XMLTreeNode other = detached;
    other.DeleteContent(true);
    EXPECT_EQ(DescribeTree(top), "Root(Gone())");
  }
  EXPECT_TRUE(detached.GetParent().IsEmpty());
  EXPECT_TRUE(detached.GetChild(0).GetParent().IsSameNode(detached));
  EXPECT_EQ(detached.ToText(false), "<Kept k=\"v\"><Inner>t</Inner></Kept>");
}

// A built tree is not bounded in depth as a parsed one is: writing and releasing it must
// not recurse.
TEST(XMLTreeNodeTest, TreesOfAnyDepthAreWrittenAndReleased)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  const int depth = 1000000;
  XMLTreeNode top = XMLTreeNode::CreateTop("a", false);
  XMLTreeNode node = top;
  for (int i = 1; i < depth; ++i) node = node.AddChild("a");
  node.AddText("x");
  node = XMLTreeNode();
  std::string text = top.ToText(false);
  EXPECT_EQ(text.size(), size_t(depth) * 7 + 1);
  EXPECT_EQ(text.substr(size_t(depth) * 3 - 3, 8), "<a>x</a>");
  top.DeleteContent(false);
  EXPECT_TRUE(top.IsEmpty());
}

TEST(XMLTreeNodeTest, ClearSectionsThatWouldCorruptTheDocumentAreRefused)
{
  XMLTreeNode top = XMLTreeNode::CreateTop("Root", false);
  EXPECT_FALSE(top.AddClear("a]]>b"));
  EXPECT_FALSE(top.AddClear("x", "<!UNKNOWN", ">"));
  EXPECT_FALSE(top.AddClear("no -- end -->", "<!--", "-->"));
  EXPECT_TRUE(top.AddClear(" note ", "<!--", "-->"));
  EXPECT_TRUE(top.AddClear(" root [<!ENTITY e \"v\">", "<!DOCTYPE", "]>"));
  EXPECT_EQ(top.CountClears(), 2);
  EXPECT_STREQ(top.GetClear(1)->m_closeTag, "]>");
}

// Node memory is cut from chunks of the thread that makes the nodes: a tree made on one thread
// stays whole after that thread ends, goes on another, and a node kept from it outlives the
// rest of its tree and its chunks' other nodes.
TEST(XMLTreeNodeTest, TreesOutliveTheThreadThatMadeThemAndGoOnAnother)
{
  TreeOptionsScope options(XMLCharEncodingUTF8, true, true);
  std::string text = "<Root>";
  for (int i = 0; i < 5000; ++i) text += "<Record index=\"" + std::to_string(i) + "\"><Value>v</Value></Record>";
  text += "</Root>";
  XMLTreeNode parsed, built;
  std::thread maker([&] {
    parsed = XMLTreeNode::ParseText(text.c_str(), "Root", nullptr);
    built = XMLTreeNode::CreateTop("Built", false);
    for (int i = 0; i < 5000; ++i) built.AddChild("Item").AddAttribute("n", std::to_string(i).c_str());
  });
  maker.join();
  EXPECT_EQ(parsed.ToText(false), text);
  EXPECT_EQ(built.CountChildren("Item"), 5000);
  const XMLTreeNode kept = parsed.GetChild(2500);
  std::thread([&] {
    parsed = XMLTreeNode();
    built = XMLTreeNode();
  }).join();
  EXPECT_TRUE(kept.GetParent().IsEmpty());
  EXPECT_EQ(kept.ToText(false), "<Record index=\"2500\"><Value>v</Value></Record>");
}

}  // namespace
}  // namespace QEL
