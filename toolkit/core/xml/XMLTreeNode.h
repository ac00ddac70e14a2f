// The toolkit's own XML document tree: element nodes with attributes, text pieces and clear
// sections (CDATA, comments, DOCTYPE ...), parsed from and serialized to text or files.
#pragma once

#include "core/xml/XMLParseResult.h"

#include <string>

namespace QEL {

struct XMLTreeNodeData;
class XMLTreeNode;

// A section copied without parsing. The tags are entries of the clear-tag table.
struct XMLTreeClear {
    const char* m_value = nullptr;
    const char* m_openTag = nullptr;
    const char* m_closeTag = nullptr;
};

enum XMLContentKind {
    XMLContentKindChild = 0,
    XMLContentKindAttribute = 1,
    XMLContentKindText = 2,
    XMLContentKindClear = 3,
    XMLContentKindNone = 4
};

// A handle on a node of a document, or the empty node. Copies share the node. A node lives
// while a handle holds it or an element around it in its tree; its document's memory goes
// with the last handle on any of its nodes. Strings handed out point into the document and
// stay valid while a handle on it lives and the piece they belong to is not replaced.
class XMLTreeNode {
public:
    XMLTreeNode() = default;
    XMLTreeNode(const XMLTreeNode& other) noexcept;
    XMLTreeNode(XMLTreeNode&& other) noexcept : m_data(other.m_data) { other.m_data = nullptr; }
    XMLTreeNode& operator=(const XMLTreeNode& other) noexcept;
    XMLTreeNode& operator=(XMLTreeNode&& other) noexcept;
    ~XMLTreeNode();

    static XMLTreeNode CreateTop(const char* name, bool isDeclaration);

    bool IsEmpty() const { return m_data == nullptr; }
    const char* GetName() const;  // null for the empty node and a nameless top node
    bool IsDeclaration() const;
    bool IsSameNode(const XMLTreeNode& other) const { return m_data == other.m_data; }

    // Building. On the empty node these add nothing. A position is a content position in
    // document order; -1 (or any position past the end) appends.
    XMLTreeNode AddChild(const char* name, bool isDeclaration = false, int position = -1);
    // Sets an attribute. An element never holds one attribute name twice (names compared
    // ignoring case, as lookups do): setting an existing name replaces its value in place.
    // A null value makes an attribute without a value.
    void AddAttribute(const char* name, const char* value);
    void AddText(const char* text, int position = -1);
    // Adds a clear section; missing tags mean CDATA. Refused (false) when the open tag is not
    // in the clear-tag table or the value holds the close tag, which would end the section
    // early and corrupt the document.
    bool AddClear(const char* value, const char* openTag = nullptr, const char* closeTag = nullptr,
                  int position = -1);

    // Walking.
    // First child element at or after *position (0 when null) named name, ignoring case;
    // *position is set just after it. The empty node when there is none.
    XMLTreeNode GetChild(const char* name, int* position = nullptr) const;
    XMLTreeNode GetChild(int index) const;
    int CountChildren(const char* name) const;
    int CountChildren() const;
    int CountTexts() const;
    int CountClears() const;
    int CountAttributes() const;
    int CountContents() const;  // children + texts + clears + attributes
    // Value of the first attribute at or after *position named name, ignoring case, or null
    // (also for an attribute without a value); *position is set just after it.
    const char* GetAttribute(const char* name, int* position = nullptr) const;
    const char* GetText(int index) const;
    const XMLTreeClear* GetClear(int index) const;
    XMLTreeNode GetParent() const;
    // Index 0 to attribute count - 1 gives the attributes, higher indexes the children, texts
    // and clears in document order.
    struct XMLTreeContent GetContent(int index) const;

    // Drops this handle's reference, leaving the handle empty. With force the node is first
    // detached from its parent, so that it leaves the tree; other handles on it keep it, never
    // freed under their feet.
    void DeleteContent(bool force);

    // Parsing. A result other than 0 and 1 gives the empty node.
    static XMLTreeNode ParseText(const char* text, const char* rootName, XMLParseResult* result);
    static XMLTreeNode ParseFile(const char* path, const char* rootName, XMLParseResult* result);

    // Serializing. Formatting is used only when asked for and white space is being dropped.
    std::string ToText(bool format) const;
    // Writes the node to a file with an XML declaration when it has none; returns an error code.
    int WriteFile(const char* path, const char* encodingName, bool format) const;

private:
    friend struct XMLTreeNodeData;
    friend class XMLTreeParser;
    friend class XMLTreeWriter;
    // A new handle on a node.
    explicit XMLTreeNode(XMLTreeNodeData* data) noexcept;

    XMLTreeNodeData* m_data = nullptr;
};

struct XMLTreeContent {
    XMLContentKind m_kind = XMLContentKindNone;
    XMLTreeNode m_child;
    const char* m_attributeName = nullptr;
    const char* m_attributeValue = nullptr;
    const char* m_text = nullptr;
    const XMLTreeClear* m_clear = nullptr;
};

}  // namespace QEL
