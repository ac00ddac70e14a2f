#pragma once
// The streamed form of a document being written (the journal): elements are written as text
// the moment they are made, with no tree in between, and each element completed directly under
// the root goes to the output in one piece and leaves memory. The text is the one the tree
// writer gives for the same calls, byte for byte, so a reader cannot tell the two apart.

#include "core/xml/XMLOutput.h"
#include "core/xml/XMLPreparedStart.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace QEL {

class XMLStreamWriter {
public:
    explicit XMLStreamWriter(XMLOutput& output) : m_output(output) {}

    // Elements open below the root: 0 while the root is current.
    int Depth() const { return static_cast<int>(m_open.size()); }
    bool HasContent() const { return !m_open.empty() && m_open.back().m_hasContent; }
    bool HasChildren() const { return !m_open.empty() && m_open.back().m_hasChildren; }

    // A child of the current element, which it becomes.
    void BeginElement(const char* name);
    // The same from a prepared start: as BeginElement followed by its attributes.
    void BeginElement(const XMLPreparedStart& start);
    // The start of an element with these attributes (one with a null or empty value is left
    // out), as BeginElement and SetAttribute would write it.
    static XMLPreparedStart Prepare(
        const char* name, std::initializer_list<std::pair<const char*, const char*>> attributes);
    // A child of the current element with no content: the line break and blanks of level, the
    // prepared start and one more attribute (left out when its value is empty), closed at once:
    // the text AddIndent, BeginElement, SetAttribute and EndElement give, in one piece.
    void AddLeaf(int level, const XMLPreparedStart& start, const char* name, const char* value,
                 std::size_t valueLength);
    // An attribute of the current element; one of the same name (in any case) takes the new
    // value in its place, as it would in a tree.
    void SetAttribute(const char* name, const char* value);
    void SetAttribute(const char* name, const char* value, std::size_t valueLength);
    // Text of the current element, escaped, with white space at its edges kept.
    void AddText(const char* text);
    // A line break followed by two blanks per level: the layout between elements.
    void AddIndent(int level);
    // Closes the current element. An element closed directly under the root goes to the output
    // with the line breaks given after it; false when the output refused it.
    bool EndElement(const char* after);

private:
    struct OpenElement {
        std::size_t m_start;  // of "<" in m_text
        std::size_t m_nameLength;
        std::size_t m_tagEnd;   // of ">" once the start tag is closed, else 0
        std::uint64_t m_names;  // a bit per attribute name written (see SetAttribute)
        bool m_hasContent;
        bool m_hasChildren;
    };

    // Closes the start tag of the current element, which gets content.
    void CloseStartTag();
    void AppendEscaped(const char* begin, const char* end);
    // ' name="value"' at the end of the text, the value escaped, in a start tag still open.
    void AppendAttribute(const char* name, std::size_t nameLength, const char* value,
                         std::size_t valueLength);
    // The value of an attribute given again, or given after the element's content: the start
    // tag is mended in place.
    void MendAttribute(const char* name, std::size_t nameLength, const char* value,
                       std::size_t valueLength, bool mayRepeat);

    // The text: a record is made of many short pieces, so they are copied in place with no
    // call per piece beyond the copy itself.
    char* Extend(std::size_t count)
    {
        if (m_size + count > m_capacity)
            Grow(m_size + count);
        char* at = m_text.get() + m_size;
        m_size += count;
        return at;
    }
    void Put(const char* text, std::size_t length) { std::memcpy(Extend(length), text, length); }
    void Put(char c) { *Extend(1) = c; }
    void Grow(std::size_t needed);

    XMLOutput& m_output;
    std::unique_ptr<char[]> m_text;  // the open top-level element written so far
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::vector<OpenElement> m_open;
};

}  // namespace QEL
