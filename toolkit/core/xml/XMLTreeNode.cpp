#include "core/xml/XMLTreeNode.h"

#include "core/xml/XMLTreeNodeData.h"

#include <algorithm>
#include <cstring>
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

XMLTreeNodeData::XMLTreeNodeData(const char* name, bool isDeclaration)
    : m_name(name != nullptr ? name : ""),
      m_hasName(name != nullptr),
      m_isDeclaration(isDeclaration)
{
}

XMLTreeNodeData::XMLTreeNodeData(const char* nameBegin, const char* nameEnd, bool isDeclaration)
    : m_name(nameBegin, nameEnd), m_hasName(true), m_isDeclaration(isDeclaration)
{
}

XMLTreeNodeData::~XMLTreeNodeData()
{
    // Children that other handles still hold live on without a parent. The others go here,
    // one at a time from a list, each emptied of its own children first, so that releasing
    // a deep tree never recurses. They are listed last first, so that the tree goes in the
    // order it was made, which is the order of its memory. A child's parent is cleared when
    // its turn comes rather than when it is listed, so that each node's memory is reached once,
    // in order; nothing reads it in between.
    std::vector<std::shared_ptr<XMLTreeNodeData>> pending;
    pending.reserve(m_children.size());
    auto takeChildren = [&pending](XMLTreeNodeData& node) {
        for (auto child = node.m_children.rbegin(); child != node.m_children.rend(); ++child)
            pending.push_back(std::move(child->m_data));
        node.m_children.clear();
    };
    takeChildren(*this);
    while (!pending.empty()) {
        std::shared_ptr<XMLTreeNodeData> node = std::move(pending.back());
        pending.pop_back();
        node->m_parent = nullptr;
        if (node.use_count() == 1)
            takeChildren(*node);
    }
}

int XMLTreeNodeData::CountOfKind(XMLContentKind kind) const
{
    switch (kind) {
        case XMLContentKindChild:
            return static_cast<int>(m_children.size());
        case XMLContentKindText:
            return static_cast<int>(m_texts.size());
        case XMLContentKindClear:
            return static_cast<int>(m_clears.size());
        default:
            return 0;
    }
}

int XMLTreeNodeData::InsertOrderEntry(XMLContentKind kind, int position)
{
    int size = static_cast<int>(m_order.size());
    if (position < 0 || position >= size) {
        // Appending, the common case of parsing and writing, costs no walk over the contents.
        int index = CountOfKind(kind);
        m_order.push_back(XMLTreeOrderEntry{kind, index});
        return index;
    }
    int index = 0;
    for (int i = 0; i < position; ++i)
        if (m_order[i].m_kind == kind)
            ++index;
    for (XMLTreeOrderEntry& entry : m_order)
        if (entry.m_kind == kind && entry.m_index >= index)
            ++entry.m_index;
    m_order.insert(m_order.begin() + position, XMLTreeOrderEntry{kind, index});
    return index;
}

void XMLTreeNodeData::RemoveChild(const XMLTreeNodeData* child)
{
    auto found =
        std::find_if(m_children.begin(), m_children.end(),
                     [child](const XMLTreeNode& node) { return node.m_data.get() == child; });
    if (found == m_children.end())
        return;
    int index = static_cast<int>(found - m_children.begin());
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(),
                                 [index](const XMLTreeOrderEntry& entry) {
                                     return entry.m_kind == XMLContentKindChild &&
                                            entry.m_index == index;
                                 }),
                  m_order.end());
    for (XMLTreeOrderEntry& entry : m_order)
        if (entry.m_kind == XMLContentKindChild && entry.m_index > index)
            --entry.m_index;
    found->m_data->m_parent = nullptr;
    m_children.erase(found);  // may free the child when no other handle holds it
}

// An element holds a few contents or attributes as a rule: room for them is made at once rather
// than one doubling at a time. Text pieces come one to an element as a rule.
constexpr size_t s_firstAppendCapacity = 4;

template <typename T>
static void PushBack(XMLTreeVector<T>& items, T item, size_t firstCapacity = s_firstAppendCapacity)
{
    if (items.empty())
        items.reserve(firstCapacity);
    items.push_back(std::move(item));
}

XMLTreeNodeData* XMLTreeNodeData::AppendChild(const char* nameBegin, const char* nameEnd,
                                              bool isDeclaration)
{
    XMLTreeNode child(XMLTreeNodeData::Make(nameBegin, nameEnd, isDeclaration));
    XMLTreeNodeData* data = child.m_data.get();
    data->m_parent = this;
    PushBack(m_order, XMLTreeOrderEntry{XMLContentKindChild, static_cast<int>(m_children.size())});
    PushBack(m_children, std::move(child));
    return data;
}

void XMLTreeNodeData::AppendText(std::string text)
{
    PushBack(m_order, XMLTreeOrderEntry{XMLContentKindText, static_cast<int>(m_texts.size())});
    PushBack(m_texts, std::move(text), 1);
}

void XMLTreeNodeData::AppendClear(XMLTreeClear clear)
{
    PushBack(m_order, XMLTreeOrderEntry{XMLContentKindClear, static_cast<int>(m_clears.size())});
    PushBack(m_clears, std::move(clear));
}

void XMLTreeNodeData::SetAttribute(std::string name, const char* value)
{
    for (XMLTreeAttribute& attribute : m_attributes) {
        if (XMLNameEquals(attribute.m_name.c_str(), name.c_str())) {
            attribute.m_name = std::move(name);
            attribute.m_value = value != nullptr ? value : "";
            attribute.m_hasValue = value != nullptr;
            return;
        }
    }
    PushBack(m_attributes,
             XMLTreeAttribute{std::move(name), value != nullptr ? value : "", value != nullptr});
}

XMLTreeNode XMLTreeNode::CreateTop(const char* name, bool isDeclaration)
{
    return XMLTreeNode(XMLTreeNodeData::Make(name, isDeclaration));
}

const char* XMLTreeNode::GetName() const
{
    return (m_data != nullptr && m_data->m_hasName) ? m_data->m_name.c_str() : nullptr;
}

bool XMLTreeNode::IsDeclaration() const { return m_data != nullptr && m_data->m_isDeclaration; }

XMLTreeNode XMLTreeNode::AddChild(const char* name, bool isDeclaration, int position)
{
    if (m_data == nullptr)
        return XMLTreeNode();
    XMLTreeNode child(XMLTreeNodeData::Make(name, isDeclaration));
    child.m_data->m_parent = m_data.get();
    int index = m_data->InsertOrderEntry(XMLContentKindChild, position);
    m_data->m_children.insert(m_data->m_children.begin() + index, child);
    return child;
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
    int index = m_data->InsertOrderEntry(XMLContentKindText, position);
    m_data->m_texts.insert(m_data->m_texts.begin() + index, text);
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
    int index = m_data->InsertOrderEntry(XMLContentKindClear, position);
    m_data->m_clears.insert(m_data->m_clears.begin() + index,
                            XMLTreeClear{value, tag->m_openTag, close});
    return true;
}

XMLTreeNode XMLTreeNode::GetChild(const char* name, int* position) const
{
    if (m_data == nullptr)
        return XMLTreeNode();
    int start = position != nullptr ? std::max(*position, 0) : 0;
    for (int i = start; i < static_cast<int>(m_data->m_children.size()); ++i) {
        const XMLTreeNode& child = m_data->m_children[i];
        if (child.m_data->m_hasName && XMLNameEquals(child.m_data->m_name.c_str(), name)) {
            if (position != nullptr)
                *position = i + 1;
            return child;
        }
    }
    return XMLTreeNode();
}

XMLTreeNode XMLTreeNode::GetChild(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_children.size()))
        return XMLTreeNode();
    return m_data->m_children[index];
}

int XMLTreeNode::CountChildren(const char* name) const
{
    if (m_data == nullptr)
        return 0;
    return static_cast<int>(std::count_if(
        m_data->m_children.begin(), m_data->m_children.end(), [name](const XMLTreeNode& child) {
            return child.m_data->m_hasName && XMLNameEquals(child.m_data->m_name.c_str(), name);
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
    int start = position != nullptr ? std::max(*position, 0) : 0;
    for (int i = start; i < static_cast<int>(m_data->m_attributes.size()); ++i) {
        const XMLTreeAttribute& attribute = m_data->m_attributes[i];
        if (XMLNameEquals(attribute.m_name.c_str(), name)) {
            if (position != nullptr)
                *position = i + 1;
            return attribute.m_hasValue ? attribute.m_value.c_str() : nullptr;
        }
    }
    return nullptr;
}

const char* XMLTreeNode::GetText(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_texts.size()))
        return nullptr;
    return m_data->m_texts[index].c_str();
}

const XMLTreeClear* XMLTreeNode::GetClear(int index) const
{
    if (m_data == nullptr || index < 0 || index >= static_cast<int>(m_data->m_clears.size()))
        return nullptr;
    return &m_data->m_clears[index];
}

XMLTreeNode XMLTreeNode::GetParent() const
{
    if (m_data == nullptr || m_data->m_parent == nullptr)
        return XMLTreeNode();
    return XMLTreeNode(m_data->m_parent->shared_from_this());
}

XMLTreeContent XMLTreeNode::GetContent(int index) const
{
    XMLTreeContent content;
    if (m_data == nullptr || index < 0)
        return content;
    int attributes = static_cast<int>(m_data->m_attributes.size());
    if (index < attributes) {
        const XMLTreeAttribute& attribute = m_data->m_attributes[index];
        content.m_kind = XMLContentKindAttribute;
        content.m_attributeName = attribute.m_name.c_str();
        content.m_attributeValue = attribute.m_hasValue ? attribute.m_value.c_str() : nullptr;
        return content;
    }
    index -= attributes;
    if (index >= static_cast<int>(m_data->m_order.size()))
        return content;
    const XMLTreeOrderEntry& entry = m_data->m_order[index];
    content.m_kind = entry.m_kind;
    switch (entry.m_kind) {
        case XMLContentKindChild:
            content.m_child = m_data->m_children[entry.m_index];
            break;
        case XMLContentKindText:
            content.m_text = m_data->m_texts[entry.m_index].c_str();
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
    std::shared_ptr<XMLTreeNodeData> data = std::move(m_data);
    m_data.reset();
    if (force && data->m_parent != nullptr)
        data->m_parent->RemoveChild(data.get());
}

}  // namespace QEL
