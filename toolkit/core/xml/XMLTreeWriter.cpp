// Serializing XMLTreeNode trees to text and files. Text and attribute values are always
// escaped, so whatever a caller stores comes back unchanged through the parser.
#include "core/xml/XMLTreeNode.h"

#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLEscape.h"
#include "core/xml/XMLTreeNodeData.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace QEL {

// Writes a tree into a buffer of a given capacity while it fits, and measures it whole: a
// short text (a journal record) is written in one pass into a buffer of the caller's, a
// longer one is written again into a text of exactly the measured size, so that its memory
// is one allocation touched once (on a loaded machine fresh memory costs more than a second
// walk over the tree).
class XMLTreeWriter {
public:
    // Without an output the writer only measures.
    XMLTreeWriter(char* out, size_t capacity, bool format)
        : m_out(out), m_capacity(capacity), m_format(format)
    {
    }

    size_t Length() const { return m_length; }
    // Whether the whole text is in the buffer.
    bool Fits() const { return m_out != nullptr && m_length <= m_capacity; }

    // Writes the node and everything below it. The open elements are kept on an explicit
    // stack, so a tree of any depth is written without recursion.
    void WriteNode(const XMLTreeNodeData& top)
    {
        std::vector<OpenNode> open;
        Open(top, 0, false, open);
        while (!open.empty()) {
            OpenNode& current = open.back();
            if (current.m_next == current.m_node->m_order.size()) {
                if (current.m_hasEndTag) {
                    Indent(current.m_level - 1);
                    Put("</", 2);
                    Put(current.m_node->m_name, std::strlen(current.m_node->m_name));
                    Put(">", 1);
                    EndLine();
                }
                open.pop_back();
                continue;
            }
            const XMLTreeNodeData& node = *current.m_node;
            const XMLTreeOrderEntry& entry = node.m_order[current.m_next++];
            int level = current.m_level;
            switch (entry.m_kind) {
                case XMLContentKindChild:
                    Open(*node.m_children[entry.m_index], level,
                         current.m_next < node.m_order.size(), open);
                    break;
                case XMLContentKindText:
                    Indent(level);
                    PutText(node.m_texts[entry.m_index]);
                    EndLine();
                    break;
                case XMLContentKindClear: {
                    const XMLTreeClear& clear = node.m_clears[entry.m_index];
                    Indent(level);
                    Put(clear.m_openTag, std::strlen(clear.m_openTag));
                    Put(clear.m_value, std::strlen(clear.m_value));
                    Put(clear.m_closeTag, std::strlen(clear.m_closeTag));
                    EndLine();
                    break;
                }
                default:
                    break;
            }
        }
    }

private:
    // A node whose contents are being written: the next entry of its order, the level of
    // its contents, and whether an end tag follows them.
    struct OpenNode {
        const XMLTreeNodeData* m_node;
        size_t m_next;
        int m_level;
        bool m_hasEndTag;
    };

    // Writes the start of a node at a level and, when it has contents to write, puts it on
    // the stack of open nodes. followed says whether more contents of its parent come after it.
    void Open(const XMLTreeNodeData& node, int level, bool followed, std::vector<OpenNode>& open)
    {
        if (node.m_name == nullptr) {
            open.push_back(OpenNode{&node, 0, level, false});
            return;
        }
        Indent(level);
        if (node.m_isDeclaration)
            Put("<?", 2);
        else
            Put("<", 1);
        const size_t nameLength = std::strlen(node.m_name);
        Put(node.m_name, nameLength);
        bool hasWrittenAttributes = false;
        for (const XMLTreeAttribute& attribute : node.m_attributes) {
            if (*attribute.m_name == 0)
                continue;
            hasWrittenAttributes = true;
            Put(" ", 1);
            Put(attribute.m_name, attribute.m_nameInfo.IsKnown() ? attribute.m_nameInfo.Length()
                                                                 : std::strlen(attribute.m_name));
            if (attribute.m_value == nullptr)
                continue;
            Put("=\"", 2);
            PutValue(attribute.m_value, attribute.m_valueInfo);
            Put("\"", 1);
        }
        if (node.m_isDeclaration) {
            // A declaration has no end tag: its contents follow at its own level, and it takes
            // whatever follows it up to its parent's end. An empty one with more after it is
            // closed at once, so that what follows stays beside it, as deep as it was.
            if (node.m_order.empty() && followed) {
                Put("/>", 2);
                EndLine();
                return;
            }
            Put("?>", 2);
            EndLine();
            open.push_back(OpenNode{&node, 0, level, false});
            return;
        }
        if (node.m_order.empty()) {
            Put("/>", 2);
            EndLine();
            return;
        }
        // "<PRE>" and "<Script>" open clear sections; an element of that name keeps a blank
        // before ">" so that it is read back as an element.
        if (!hasWrittenAttributes && XMLIsClearOpenTagName(node.m_name, nameLength))
            Put(" ", 1);
        Put(">", 1);
        EndLine();
        open.push_back(OpenNode{&node, 0, level + 1, true});
    }

    // Whether n more characters go into the buffer. Once one piece does not, the length only
    // grows, so no later piece does either.
    bool HasRoom(size_t n) const
    {
        return m_out != nullptr && n <= m_capacity && m_length <= m_capacity - n;
    }

    void Put(const char* text, size_t n)
    {
        if (HasRoom(n))
            std::memcpy(m_out + m_length, text, n);
        m_length += n;
    }

    // An escaped character takes at most six ("&quot;"): with room for that the piece is
    // written at once, otherwise measured first.
    void PutEscaped(const char* begin, const char* end)
    {
        const size_t length = static_cast<size_t>(end - begin);
        if (length <= m_capacity / 6 && HasRoom(6 * length)) {
            m_length = static_cast<size_t>(WriteXMLEscaped(m_out + m_length, begin, end) - m_out);
            return;
        }
        const size_t escaped = XMLEscapedLength(begin, end);
        if (HasRoom(escaped))
            WriteXMLEscaped(m_out + m_length, begin, end);
        m_length += escaped;
    }

    // A text is written escaped, the white space at its edges as character references.
    // A stored string, escaped unless it is known to need none.
    void PutValue(const char* text, XMLTreeStringInfo info)
    {
        if (!info.IsKnown())
            return PutEscaped(text, text + std::strlen(text));
        if (info.IsPlain())
            return Put(text, info.Length());
        PutEscaped(text, text + info.Length());
    }

    void PutText(const XMLTreeText& text)
    {
        const char* data = text.m_text;
        const size_t length = text.m_info.IsKnown() ? text.m_info.Length() : std::strlen(data);
        size_t begin = 0, end = length;
        if (!XMLFindTextCore(data, begin, end))
            return PutEscaped(data, data + end);
        for (size_t i = 0; i < begin; ++i)
            PutCharacterReference(data[i]);
        if (text.m_info.IsKnown() && text.m_info.IsPlain())
            Put(data + begin, end - begin);
        else
            PutEscaped(data + begin, data + end);
        for (size_t i = end; i < length; ++i)
            PutCharacterReference(data[i]);
    }

    void PutCharacterReference(char c)
    {
        char reference[8];
        Put(reference, XMLWriteEdgeReference(reference, c));
    }

    void Indent(int level)
    {
        if (!m_format)
            return;
        if (HasRoom(static_cast<size_t>(level)))
            std::memset(m_out + m_length, '\t', static_cast<size_t>(level));
        m_length += static_cast<size_t>(level);
    }

    void EndLine()
    {
        if (m_format)
            Put("\n", 1);
    }

    char* m_out;
    size_t m_capacity;
    bool m_format;
    size_t m_length = 0;
};

std::string XMLTreeNode::ToText(bool format) const
{
    std::string text;
    if (m_data == nullptr)
        return text;
    format = format && GetTreeOptions().m_dropWhiteSpace;
    char buffer[4096];
    XMLTreeWriter first(buffer, sizeof buffer, format);
    first.WriteNode(*m_data);
    if (first.Fits()) {
        text.assign(buffer, first.Length());
        return text;
    }
    text.resize(first.Length());
    XMLTreeWriter writer(&text[0], text.size(), format);
    writer.WriteNode(*m_data);
    return text;
}
int XMLTreeNode::WriteFile(const char* path, const char* encodingName, bool format) const
{
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file(path != nullptr ? std::fopen(path, "wb") : nullptr);
    if (file == nullptr)
        return XMLParseErrorCannotOpenForWriting;
    bool hasDeclaration = IsDeclaration() || (GetName() == nullptr && GetChild(0).IsDeclaration());
    std::string header;
    XMLCharEncoding encoding = GetTreeOptions().m_encoding;
    if (encoding == XMLCharEncodingUTF8)
        header = "\xEF\xBB\xBF";
    if (!hasDeclaration) {
        const char* name = encoding == XMLCharEncodingUTF8       ? "utf-8"
                           : encoding == XMLCharEncodingShiftJIS ? "SHIFT-JIS"
                           : encodingName != nullptr             ? encodingName
                                                                 : "ISO-8859-1";
        header += "<?xml version=\"1.0\" encoding=\"";
        AppendXMLEscaped(header, name);
        header += "\"?>\n";
    }
    std::string text;
    try {
        text = ToText(format);
    } catch (const std::bad_alloc&) {
        return XMLParseErrorNoMemory;
    }
    bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
              std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    ok = std::fclose(file.release()) == 0 && ok;
    return ok ? XMLParseErrorNone : XMLParseErrorWriteFailed;
}

}  // namespace QEL
