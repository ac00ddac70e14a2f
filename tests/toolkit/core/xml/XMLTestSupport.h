// Shared helpers of the XML document tests.
#pragma once

#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLTreeNode.h"

#include <gtest/gtest.h>

#include <string>

namespace QEL {

// Sets the process-wide tree options for one test and restores them afterwards.
class TreeOptionsScope {
public:
  TreeOptionsScope(int encoding, bool guessWide, bool dropWhiteSpace) : m_saved(GetTreeOptions())
  {
    SetTreeOptions(encoding, guessWide, dropWhiteSpace);
  }
  ~TreeOptionsScope() { SetTreeOptions(m_saved.m_encoding, m_saved.m_guessWideCharacters, m_saved.m_dropWhiteSpace); }

private:
  XMLTreeOptions m_saved;
};

// The tree as one line of text, for comparing whole trees: element names, attributes
// (name=value or a bare name), texts in quotes and clears in brackets, in document order.
inline std::string DescribeTree(const XMLTreeNode& node)
{
  std::string out;
  if (node.IsEmpty()) return "<empty>";
  out += node.IsDeclaration() ? "?" : "";
  out += node.GetName() != nullptr ? node.GetName() : "#top";
  out += "(";
  for (int i = 0; i < node.CountContents(); ++i) {
    XMLTreeContent content = node.GetContent(i);
    if (i > 0) out += " ";
    switch (content.m_kind) {
      case XMLContentKindAttribute:
        out += content.m_attributeName;
        if (content.m_attributeValue != nullptr) out += std::string("=") + content.m_attributeValue;
        break;
      case XMLContentKindText: out += std::string("\"") + content.m_text + "\""; break;
      case XMLContentKindClear:
        out += std::string("[") + content.m_clear->m_openTag + content.m_clear->m_value + "]";
        break;
      case XMLContentKindChild: out += DescribeTree(content.m_child); break;
      default: out += "?"; break;
    }
  }
  return out + ")";
}

inline XMLTreeNode Parse(const char* text, XMLParseResult* result = nullptr, const char* root = nullptr)
{
  XMLParseResult local;
  return XMLTreeNode::ParseText(text, root, result != nullptr ? result : &local);
}

}  // namespace QEL
