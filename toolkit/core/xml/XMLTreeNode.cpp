#include "core/xml/XMLTreeNode.h"

#include "core/xml/XMLEscape.h"
#include "core/xml/XMLTreeNodeData.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace QEL {

const XMLClearTag s_clearTags[5] = {{"<![CDATA[", "]]>"},
                                    {"<!DOCTYPE", ">"},
                                    {"<PRE>", "</PRE>"},
                                    {"<Script>", "</Script>"},
                                    {"<!--", "-->"}};
const char* const s_doctypeSubsetCloseTag = "]>";

bool XMLIsClearOpenTagName(const char* name, size_t length)
{
    for (const XMLClearTag& clear : s_clearTags) {
        const char* tag = clear.m_openTag;
        size_t tagLength = std::strlen(tag);
        if (tagLength == length + 2 && tag[tagLength - 1] == '>' &&
            std::strncmp(tag + 1, name, length) == 0)
            return true;
    }
    return false;
}

bool XMLNameEquals(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    for (; *a != 0 && *b != 0; ++a, ++b) {
        char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

XMLTreeNodeData* XMLTreeDocument::NewNode(const char* name, bool isDeclaration)
{
    const char* copy = name != nullptr ? m_arena.CopyString(name, std::strlen(name)) : nullptr;
    return NewStoredNode(copy, isDeclaration);
}

XMLTreeNodeData* XMLTreeDocument::NewStoredNode(const char* storedName, bool isDeclaration)
{
    return new (m_arena.Allocate(sizeof(XMLTreeNodeData)))
        XMLTreeNodeData(this, storedName, isDeclaration);
}

XMLTreeNodeData* XMLTreeDocument::NewTop(const char* name, bool isDeclaration)
{
    std::unique_ptr<XMLTreeDocument> document(new XMLTreeDocument);
    XMLTreeNodeData* top = document->NewNode(name, isDeclaration);
    document.release();
    return top;
}

XMLTreeNode::XMLTreeNode(XMLTreeNodeData* data) noexcept : m_data(data)
{
    if (m_data != nullptr) {
        m_data->m_handles.fetch_add(1, std::memory_order_relaxed);
        m_data->m_document->m_handles.fetch_add(1, std::memory_order_relaxed);
    }
}

XMLTreeNode::XMLTreeNode(const XMLTreeNode& other) noexcept : XMLTreeNode(other.m_data) {}

XMLTreeNode& XMLTreeNode::operator=(const XMLTreeNode& other) noexcept
{
    if (other.m_data != m_data) {
        XMLTreeNode copy(other);
        std::swap(m_data, copy.m_data);
    }
    return *this;
}

XMLTreeNode& XMLTreeNode::operator=(XMLTreeNode&& other) noexcept
{
    if (this != &other) {
        XMLTreeNode dropped(std::move(*this));
        m_data = other.m_data;
        other.m_data = nullptr;
    }
    return *this;
}

XMLTreeNode::~XMLTreeNode()
{
    if (m_data == nullptr)
        return;
    XMLTreeDocument* document = m_data->m_document;
    m_data->m_handles.fetch_sub(1, std::memory_order_relaxed);
    if (document->m_handles.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete document;
}

XMLTreeStringInfo XMLTreeStringInfo::Of(const char* text, std::size_t length)
{
    XMLTreeStringInfo info;
    if (length < s_unknown)
        info.m_bits = static_cast<std::uint32_t>(length) |
                      (XMLNeedsEscaping(text, text + length) ? 0 : s_plain);
    return info;
}

bool XMLTreeNodeData::IsReachable() const
{
    for (const XMLTreeNodeData* node = this; node != nullptr; node = node->m_parent)
        if (node->m_handles.load(std::memory_order_relaxed) != 0)
            return true;
    return false;
}

std::uint32_t XMLTreeNodeData::CountOfKind(XMLContentKind kind) const
{
    switch (kind) {
        case XMLContentKindChild:
            return m_children.m_count;
        case XMLContentKindText:
            return m_texts.m_count;
        case XMLContentKindClear:
            return m_clears.m_count;
        default:
            return 0;
    }
}

std::uint32_t XMLTreeNodeData::InsertOrderEntry(XMLContentKind kind, int position)
{
    const int size = static_cast<int>(m_order.size());
    if (position < 0 || position >= size) {
        // Appending, the common case of parsing and writing, costs no walk over the contents.
        const std::uint32_t index = CountOfKind(kind);
        m_order.PushBack(Arena(), XMLTreeOrderEntry{kind, index});
        return index;
    }
    std::uint32_t index = 0;
    for (int i = 0; i < position; ++i)
        if (m_order[i].m_kind == kind)
            ++index;
    for (XMLTreeOrderEntry& entry : m_order)
        if (entry.m_kind == kind && entry.m_index >= index)
            ++entry.m_index;
    m_order.Insert(Arena(), static_cast<size_t>(position), XMLTreeOrderEntry{kind, index});
    return index;
}

void XMLTreeNodeData::RemoveChild(const XMLTreeNodeData* child)
{
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end())
        return;
    const std::uint32_t index = static_cast<std::uint32_t>(found - m_children.begin());
    std::uint32_t kept = 0;
    for (const XMLTreeOrderEntry& entry : m_order) {
        if (entry.m_kind == XMLContentKindChild && entry.m_index == index)
            continue;
        XMLTreeOrderEntry moved = entry;
        if (moved.m_kind == XMLContentKindChild && moved.m_index > index)
            --moved.m_index;
        m_order[kept++] = moved;
    }
    m_order.m_count = kept;
    (*found)->m_parent = nullptr;
    m_children.Erase(index);
}

XMLTreeNodeData* XMLTreeNodeData::AppendChild(const char* nameBegin, const char* nameEnd,
                                              bool isDeclaration)
{
    return AppendStoredChild(
        Arena().CopyString(nameBegin, static_cast<size_t>(nameEnd - nameBegin)), isDeclaration);
}

XMLTreeNodeData* XMLTreeNodeData::AppendStoredChild(const char* storedName, bool isDeclaration)
{
    XMLTreeNodeData* child = m_document->NewStoredNode(storedName, isDeclaration);
    child->m_parent = this;
    m_order.PushBack(Arena(), XMLTreeOrderEntry{XMLContentKindChild, m_children.m_count});
    m_children.PushBack(Arena(), child);
    return child;
}

// Text pieces come one to an element as a rule.
void XMLTreeNodeData::AppendText(const char* text, std::size_t length)
{
    m_order.PushBack(Arena(), XMLTreeOrderEntry{XMLContentKindText, m_texts.m_count});
    m_texts.PushBack(Arena(), XMLTreeText{text, XMLTreeStringInfo::Of(text, length)}, 1);
}

void XMLTreeNodeData::AppendClear(const XMLTreeClear& clear)
{
    m_order.PushBack(Arena(), XMLTreeOrderEntry{XMLContentKindClear, m_clears.m_count});
    m_clears.PushBack(Arena(), clear);
}

void XMLTreeNodeData::SetAttribute(const char* name, const char* value)
{
    XMLTreeArena& arena = Arena();
    XMLTreeAttribute set{nullptr, nullptr, {}, {}};
    if (value != nullptr) {
        const size_t length = std::strlen(value);
        set.m_value = arena.CopyString(value, length);
        set.m_valueInfo = XMLTreeStringInfo::Of(value, length);
    }
    const size_t nameLength = std::strlen(name);
    set.m_name = arena.CopyString(name, nameLength);
    set.m_nameInfo = XMLTreeStringInfo::Known(nameLength, false);
    for (XMLTreeAttribute& attribute : m_attributes) {
        if (XMLNameEquals(attribute.m_name, name)) {
            attribute = set;
            return;
        }
    }
    m_attributes.PushBack(arena, set);
}

XMLTreeNode XMLTreeNode::CreateTop(const char* name, bool isDeclaration)
{
    return XMLTreeNode(XMLTreeDocument::NewTop(name, isDeclaration));
}

const char* XMLTreeNode::GetName() const { return m_data != nullptr ? m_data->m_name : nullptr; }

bool XMLTreeNode::IsDeclaration() const { return m_data != nullptr && m_data->m_isDeclaration; }

XMLTreeNode XMLTreeNode::AddChild(const char* name, bool isDeclaration, int position)
{
    if (m_data == nullptr)
        return XMLTreeNode();
    XMLTreeNodeData* child = m_data->m_document->NewNode(name, isDeclaration);
    child->m_parent = m_data;
    const std::uint32_t index = m_data->InsertOrderEntry(XMLContentKindChild, position);
    m_data->m_children.Insert(m_data->Arena(), index, child);
    return XMLTreeNode(child);
}

void XMLTreeNode::AddAttribute(const char* name, const char* value)
{
    if (m_data == nullptr || name == nullptr)
        return;
    m_data->SetAttribute(name, value);
}

void XMLTreeNode::AddText(const char* text, int position)
{
    if (m_data == nullptr || text == nullptr)
        return;
    const size_t length = std::strlen(text);
    const XMLTreeText piece{m_data->Arena().CopyString(text, length),
                            XMLTreeStringInfo::Of(text, length)};
    const std::uint32_t index = m_data->InsertOrderEntry(XMLContentKindText, position);
    m_data->m_texts.Insert(m_data->Arena(), index, piece);
}

bool XMLTreeNode::AddClear(const char* value, const char* openTag, const char* closeTag,
                           int position)
{
    if (m_data == nullptr)
        return false;
    const XMLClearTag* tag = &s_clearTags[0];
    if (openTag != nullptr) {
        tag = std::find_if(std::begin(s_clearTags), std::end(s_clearTags),
                           [openTag](const XMLClearTag& entry) {
                               return std::strcmp(entry.m_openTag, openTag) == 0;
                           });
        if (tag == std::end(s_clearTags))
            return false;
    }
    const char* close = tag->m_closeTag;
    if (closeTag != nullptr && tag == &s_clearTags[1] &&
        std::strcmp(closeTag, s_doctypeSubsetCloseTag) == 0)
        close = s_doctypeSubsetCloseTag;
    else if (closeTag != nullptr && std::strcmp(closeTag, close) != 0)
        return false;
    if (value == nullptr)
        value = "";
    if (std::strstr(value, close) != nullptr)
        return false;
    const char* copy = m_data->Arena().CopyString(value, std::strlen(value));
    const std::uint32_t index = m_data->InsertOrderEntry(XMLContentKindClear, position);
    m_data->m_clears.Insert(m_data->Arena(), index, XMLTreeClear{copy, tag->m_openTag, close});
    return true;
}

XMLTreeNode XMLTreeNode::GetChild(const char* name, int* position) const
{
    if (m_data == nullptr)
        return XMLTreeNode();
    const int start = position != nullptr ? std::max(*position, 0) : 0;
    for (int i = start; i < static_cast<int>(m_data->m_children.size()); ++i) {
        XMLTreeNodeData* child = m_data->m_children[i];
        if (child->m_name != nullptr && XMLNameEquals(child->m_name, name)) {
            if (position != nullptr)
                *position = i + 1;
            return XMLTreeNode(child);
        }
    }
    return XMLTreeNode();
}

XMLTreeNode XMLTreeNode::GetChild(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_children.size()))
        return XMLTreeNode();
    return XMLTreeNode(m_data->m_children[index]);
}

int XMLTreeNode::CountChildren(const char* name) const
{
    if (m_data == nullptr)
        return 0;
    return static_cast<int>(std::count_if(
        m_data->m_children.begin(), m_data->m_children.end(), [name](const XMLTreeNodeData* child) {
            return child->m_name != nullptr && XMLNameEquals(child->m_name, name);
        }));
}

int XMLTreeNode::CountChildren() const
{
    return m_data ? static_cast<int>(m_data->m_children.size()) : 0;
}
int XMLTreeNode::CountTexts() const
{
    return m_data ? static_cast<int>(m_data->m_texts.size()) : 0;
}
int XMLTreeNode::CountClears() const
{
    return m_data ? static_cast<int>(m_data->m_clears.size()) : 0;
}
int XMLTreeNode::CountAttributes() const
{
    return m_data ? static_cast<int>(m_data->m_attributes.size()) : 0;
}
int XMLTreeNode::CountContents() const
{
    return m_data ? static_cast<int>(m_data->m_order.size() + m_data->m_attributes.size()) : 0;
}

const char* XMLTreeNode::GetAttribute(const char* name, int* position) const
{
    if (m_data == nullptr)
        return nullptr;
    const int start = position != nullptr ? std::max(*position, 0) : 0;
    for (int i = start; i < static_cast<int>(m_data->m_attributes.size()); ++i) {
        const XMLTreeAttribute& attribute = m_data->m_attributes[i];
        if (XMLNameEquals(attribute.m_name, name)) {
            if (position != nullptr)
                *position = i + 1;
            return attribute.m_value;
        }
    }
    return nullptr;
}

const char* XMLTreeNode::GetText(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_texts.size()))
        return nullptr;
    return m_data->m_texts[index].m_text;
}

const XMLTreeClear* XMLTreeNode::GetClear(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_clears.size()))
        return nullptr;
    return &m_data->m_clears[index];
}

XMLTreeNode XMLTreeNode::GetParent() const
{
    if (m_data == nullptr || m_data->m_parent == nullptr || !m_data->m_parent->IsReachable())
        return XMLTreeNode();
    return XMLTreeNode(m_data->m_parent);
}

XMLTreeContent XMLTreeNode::GetContent(int index) const
{
    XMLTreeContent content;
    if (m_data == nullptr || index < 0)
        return content;
    const int attributes = static_cast<int>(m_data->m_attributes.size());
    if (index < attributes) {
        const XMLTreeAttribute& attribute = m_data->m_attributes[index];
        content.m_kind = XMLContentKindAttribute;
        content.m_attributeName = attribute.m_name;
        content.m_attributeValue = attribute.m_value;
        return content;
    }
    index -= attributes;
    if (index >= static_cast<int>(m_data->m_order.size()))
        return content;
    const XMLTreeOrderEntry& entry = m_data->m_order[index];
    content.m_kind = entry.m_kind;
    switch (entry.m_kind) {
        case XMLContentKindChild:
            content.m_child = XMLTreeNode(m_data->m_children[entry.m_index]);
            break;
        case XMLContentKindText:
            content.m_text = m_data->m_texts[entry.m_index].m_text;
            break;
        case XMLContentKindClear:
            content.m_clear = &m_data->m_clears[entry.m_index];
            break;
        default:
            break;
    }
    return content;
}

void XMLTreeNode::DeleteContent(bool force)
{
    if (m_data == nullptr)
        return;
    XMLTreeNode data = std::move(*this);
    if (force && data.m_data->m_parent != nullptr)
        data.m_data->m_parent->RemoveChild(data.m_data);
}

}  // namespace QEL
