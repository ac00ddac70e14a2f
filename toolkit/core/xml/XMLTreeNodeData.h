// The shared data behind an XMLTreeNode handle; seen only by the tree's own code.
#pragma once

#include "core/xml/XMLTreeArena.h"
#include "core/xml/XMLTreeNode.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace QEL {

struct XMLTreeAttribute {
    XMLTreeAttribute(std::string name, std::string value, bool hasValue)
        : m_name(std::move(name)), m_value(std::move(value)), m_hasValue(hasValue)
    {
    }
    // Straight from the parsed text, each string made once in its place.
    XMLTreeAttribute(const char* nameBegin, const char* nameEnd, const char* valueBegin,
                     const char* valueEnd, bool hasValue)
        : m_name(nameBegin, nameEnd), m_value(valueBegin, valueEnd), m_hasValue(hasValue)
    {
    }

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

// The arrays of a node, in the tree's own memory.
template <typename T>
using XMLTreeVector = std::vector<T, XMLArenaAllocator<T>>;

struct XMLTreeNodeData : std::enable_shared_from_this<XMLTreeNodeData> {
    // A new node in the tree's own memory.
    template <typename... Arguments>
    static std::shared_ptr<XMLTreeNodeData> Make(Arguments... arguments)
    {
        return std::allocate_shared<XMLTreeNodeData>(XMLArenaAllocator<XMLTreeNodeData>(),
                                                     arguments...);
    }

    XMLTreeNodeData(const char* name, bool isDeclaration);
    XMLTreeNodeData(const char* nameBegin, const char* nameEnd, bool isDeclaration);
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
    XMLTreeNodeData* AppendChild(const char* nameBegin, const char* nameEnd, bool isDeclaration);
    void AppendText(std::string text);
    void AppendClear(XMLTreeClear clear);
    void SetAttribute(std::string name, const char* value);

    std::string m_name;
    bool m_hasName;
    bool m_isDeclaration;
    XMLTreeNodeData* m_parent = nullptr;  // not owned; cleared when the parent goes
    XMLTreeVector<XMLTreeNode> m_children;
    XMLTreeVector<std::string> m_texts;
    XMLTreeVector<XMLTreeClear> m_clears;
    XMLTreeVector<XMLTreeAttribute> m_attributes;
    XMLTreeVector<XMLTreeOrderEntry> m_order;
};

inline bool XMLIsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// An element's text is written escaped, and white space at its edges as character references:
// a reader that drops white space trims only raw white space, so the text keeps its edges,
// while pieces of white space only (line breaks, indentation) stay raw and are dropped as
// layout. Narrows [begin, end) to the text between its edges; false when it is white space only.
inline bool XMLFindTextCore(const char* data, size_t& begin, size_t& end)
{
    while (begin < end && XMLIsWhiteSpace(data[begin]))
        ++begin;
    if (begin == end)
        return false;
    while (end > begin && XMLIsWhiteSpace(data[end - 1]))
        --end;
    return true;
}
// Whether "<" name ">" is an open tag of the clear-tag table: such an element keeps a blank
// before ">" when it has no attributes, so that it is read back as an element.
bool XMLIsClearOpenTagName(const char* name, size_t length);
// Element and attribute names are matched ignoring (ASCII) case.
bool XMLNameEquals(const char* a, const char* b);

}  // namespace QEL
