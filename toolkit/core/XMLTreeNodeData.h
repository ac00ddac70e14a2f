// The shared data behind an XMLTreeNode handle; seen only by the tree's own code.
#pragma once

#include "core/XMLTreeNode.h"

#include <memory>
#include <string>
#include <vector>

namespace QEL {

struct XMLTreeAttribute {
  std::string m_name;
  std::string m_value;
  bool m_hasValue = false;
};

// One entry of the document order: which array, and the index in it.
struct XMLTreeOrderEntry {
  XMLContentKind m_kind;
  int m_index;
};

// The clear-tag table: the open tags the parser recognises, with their close tags.
struct XMLClearTag {
  const char* m_openTag;
  const char* m_closeTag;
};
extern const XMLClearTag s_clearTags[5];
// "]>", the close tag of a DOCTYPE with an internal subset.
extern const char* const s_doctypeSubsetCloseTag;

struct XMLTreeNodeData : std::enable_shared_from_this<XMLTreeNodeData> {
  XMLTreeNodeData(const char* name, bool isDeclaration);
  XMLTreeNodeData(std::string name, bool isDeclaration);
  ~XMLTreeNodeData();
  XMLTreeNodeData(const XMLTreeNodeData&) = delete;
  XMLTreeNodeData& operator=(const XMLTreeNodeData&) = delete;

  // Inserts an entry of the given kind at a content position (-1: at the end) and returns
  // the index that the new item must take in its own array, which keeps every array in
  // document order.
  int InsertOrderEntry(XMLContentKind kind, int position);
  int CountOfKind(XMLContentKind kind) const;
  void RemoveChild(const XMLTreeNodeData* child);
  // Appending at the end, as the parser does: no walk over the contents, nothing copied.
  XMLTreeNodeData* AppendChild(std::string name, bool isDeclaration);
  void AppendText(std::string text);
  void AppendClear(XMLTreeClear clear);
  void SetAttribute(std::string name, const char* value);

  std::string m_name;
  bool m_hasName;
  bool m_isDeclaration;
  XMLTreeNodeData* m_parent = nullptr;  // not owned; cleared when the parent goes
  std::vector<XMLTreeNode> m_children;
  std::vector<std::string> m_texts;
  std::vector<XMLTreeClear> m_clears;
  std::vector<XMLTreeAttribute> m_attributes;
  std::vector<XMLTreeOrderEntry> m_order;
};

inline bool XMLIsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// Element and attribute names are matched ignoring (ASCII) case.
bool XMLNameEquals(const char* a, const char* b);

}  // namespace QEL
