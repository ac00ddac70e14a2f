// The data behind an XMLTreeNode handle; seen only by the tree's own code.
//
// Every node belongs to a document, which owns the memory of all its nodes, their arrays and
// their strings, and goes when the last handle on any of its nodes goes. A node counts its own
// handles only to tell whether it is still part of a live tree (see IsReachable).
#pragma once

#include "core/xml/XMLTreeArena.h"
#include "core/xml/XMLTreeNode.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace QEL {

struct XMLTreeDocument;

// What writing a string needs to know of it, found once when it is stored: its length, and
// whether it holds no character written as an entity, so that it goes out as it is. A string
// too long to be described is measured and scanned when it is written.
struct XMLTreeStringInfo {
    static constexpr std::uint32_t s_unknown = 0x7FFFFFFF;
    static constexpr std::uint32_t s_plain = 0x80000000;

    std::uint32_t m_bits = s_unknown;

    static XMLTreeStringInfo Of(const char* text, std::size_t length);
    // A string whose plainness is known already, or does not matter (names are written raw).
    static XMLTreeStringInfo Known(std::size_t length, bool plain)
    {
        XMLTreeStringInfo info;
        if (length < s_unknown)
            info.m_bits = static_cast<std::uint32_t>(length) | (plain ? s_plain : 0);
        return info;
    }
    bool IsKnown() const { return (m_bits & ~s_plain) != s_unknown; }
    std::size_t Length() const { return m_bits & ~s_plain; }
    bool IsPlain() const { return (m_bits & s_plain) != 0; }
};

struct XMLTreeAttribute {
    const char* m_name;
    const char* m_value;  // null: an attribute without a value
    XMLTreeStringInfo m_nameInfo;
    XMLTreeStringInfo m_valueInfo;
};

struct XMLTreeText {
    const char* m_text;
    XMLTreeStringInfo m_info;
};

// One entry of the document order: which array, and the index in it.
struct XMLTreeOrderEntry {
    XMLContentKind m_kind;
    std::uint32_t m_index;
};

// The clear-tag table: the open tags the parser recognises, with their close tags.
struct XMLClearTag {
    const char* m_openTag;
    const char* m_closeTag;
};
extern const XMLClearTag s_clearTags[5];
// "]>", the close tag of a DOCTYPE with an internal subset.
extern const char* const s_doctypeSubsetCloseTag;

// An array in the document's memory. Records are plain data, copied as bytes.
template <typename T>
struct XMLTreeArray {
    T* m_items = nullptr;
    std::uint32_t m_count = 0;
    std::uint32_t m_capacity = 0;

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    T& operator[](std::size_t index) { return m_items[index]; }
    const T& operator[](std::size_t index) const { return m_items[index]; }
    T* begin() { return m_items; }
    T* end() { return m_items + m_count; }
    const T* begin() const { return m_items; }
    const T* end() const { return m_items + m_count; }

    void PushBack(XMLTreeArena& arena, const T& item, std::uint32_t firstCapacity = 4)
    {
        if (m_count == m_capacity)
            m_items = arena.GrowArray(m_items, m_count, m_capacity, firstCapacity);
        m_items[m_count++] = item;
    }
    void Insert(XMLTreeArena& arena, std::size_t index, const T& item)
    {
        if (m_count == m_capacity)
            m_items = arena.GrowArray(m_items, m_count, m_capacity, 4);
        for (std::size_t i = m_count; i > index; --i)
            m_items[i] = m_items[i - 1];
        m_items[index] = item;
        ++m_count;
    }
    void Erase(std::size_t index)
    {
        for (std::size_t i = index + 1; i < m_count; ++i)
            m_items[i - 1] = m_items[i];
        --m_count;
    }
    // Takes exactly count records copied from items (the parser's scratch).
    void Assign(XMLTreeArena& arena, const T* items, std::size_t count)
    {
        m_items = arena.CopyArray(items, count);
        m_count = m_capacity = static_cast<std::uint32_t>(count);
    }
};

struct XMLTreeNodeData {
    XMLTreeDocument* m_document;
    XMLTreeNodeData* m_parent = nullptr;  // null for a top node and a node taken out of its tree
    const char* m_name;                   // null for a nameless top node
    std::atomic<std::uint32_t> m_handles{0};
    bool m_isDeclaration;
    XMLTreeArray<XMLTreeNodeData*> m_children;
    XMLTreeArray<XMLTreeText> m_texts;
    XMLTreeArray<XMLTreeClear> m_clears;
    XMLTreeArray<XMLTreeAttribute> m_attributes;
    XMLTreeArray<XMLTreeOrderEntry> m_order;

    XMLTreeNodeData(XMLTreeDocument* document, const char* name, bool isDeclaration)
        : m_document(document), m_name(name), m_isDeclaration(isDeclaration)
    {
    }

    XMLTreeArena& Arena();
    // Whether the node is still part of a live tree: it or an element around it is held by a
    // handle. A parent that is not has gone, as far as the handles can tell.
    bool IsReachable() const;
    // Inserts an entry of the given kind at a content position (-1: at the end) and returns
    // the index that the new item must take in its own array, which keeps every array in
    // document order.
    std::uint32_t InsertOrderEntry(XMLContentKind kind, int position);
    std::uint32_t CountOfKind(XMLContentKind kind) const;
    void RemoveChild(const XMLTreeNodeData* child);
    // Appending at the end, as the parser does: no walk over the contents.
    XMLTreeNodeData* AppendChild(const char* nameBegin, const char* nameEnd, bool isDeclaration);
    // The same with a name the document's memory holds already, taken as it is.
    XMLTreeNodeData* AppendStoredChild(const char* storedName, bool isDeclaration);
    void AppendText(const char* text, std::size_t length);
    void AppendClear(const XMLTreeClear& clear);
    // Sets a value (copied) of an attribute, replacing one of the same name in place.
    void SetAttribute(const char* name, const char* value);
};

struct XMLTreeDocument {
    std::atomic<std::int64_t> m_handles{0};
    XMLTreeArena m_arena;

    // A new node in the document's memory; a null name makes a nameless one.
    XMLTreeNodeData* NewNode(const char* name, bool isDeclaration);
    XMLTreeNodeData* NewStoredNode(const char* storedName, bool isDeclaration);
    // A new document with its top node.
    static XMLTreeNodeData* NewTop(const char* name, bool isDeclaration);
};

inline XMLTreeArena& XMLTreeNodeData::Arena() { return m_document->m_arena; }

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
// Writes the character reference of a white-space character at the edge of a text ("&#9;",
// "&#10;", "&#13;" or "&#32;") at out, which has room for six; returns its length.
inline size_t XMLWriteEdgeReference(char* out, char c)
{
    const int code = static_cast<unsigned char>(c);
    size_t length = 0;
    out[length++] = '&';
    out[length++] = '#';
    if (code >= 100)
        out[length++] = static_cast<char>('0' + code / 100);
    if (code >= 10)
        out[length++] = static_cast<char>('0' + code / 10 % 10);
    out[length++] = static_cast<char>('0' + code % 10);
    out[length++] = ';';
    return length;
}
// Whether "<" name ">" is an open tag of the clear-tag table: such an element keeps a blank
// before ">" when it has no attributes, so that it is read back as an element.
bool XMLIsClearOpenTagName(const char* name, size_t length);
// Element and attribute names are matched ignoring (ASCII) case.
bool XMLNameEquals(const char* a, const char* b);

}  // namespace QEL
