#include "core/XMLStreamWriter.h"

#include "core/XMLEscape.h"
#include "core/XMLTreeNodeData.h"

#include <cstring>

namespace QEL {

namespace {

// Above this a value is measured before it is escaped rather than given room for the worst case.
constexpr std::size_t s_shortValue = 4096;
// The text of a record larger than this is not kept for the next one.
constexpr std::size_t s_keptCapacity = 1u << 20;

bool SameNameNoCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    if (aLength != bLength)
        return false;
    for (std::size_t i = 0; i < aLength; ++i) {
        const char ca = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char cb = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (ca != cb)
            return false;
    }
    return true;
}

// A bit per attribute name, taken from its length and its first and last letters in either case:
// an element whose names have no bit in common with a new one cannot hold that name yet.
std::uint64_t NameBit(const char* name, std::size_t length)
{
    const unsigned first = static_cast<unsigned char>(name[0]) | 0x20u;
    const unsigned last = static_cast<unsigned char>(name[length - 1]) | 0x20u;
    return std::uint64_t(1) << ((length * 7 + first * 3 + last) & 63u);
}

}  // namespace

void XMLStreamWriter::AppendEscaped(const char* begin, const char* end)
{
    const std::size_t length = static_cast<std::size_t>(end - begin);
    // Most values need no escaping at all: they go as they are.
    const char* p = begin;
    while (p < end && *p != '&' && *p != '<' && *p != '>' && *p != '"' && *p != '\'')
        ++p;
    if (p == end) {
        m_text.append(begin, length);
        return;
    }
    const std::size_t room = length <= s_shortValue ? 6 * length : XMLEscapedLength(begin, end);
    const std::size_t at = m_text.size();
    m_text.resize(at + room);
    const char* written = WriteXMLEscaped(&m_text[at], begin, end);
    m_text.resize(static_cast<std::size_t>(written - m_text.data()));
}

void XMLStreamWriter::CloseStartTag()
{
    OpenElement& element = m_open.back();
    if (element.m_tagEnd)
        return;
    if (m_text.size() == element.m_start + 1 + element.m_nameLength &&
        XMLIsClearOpenTagName(m_text.data() + element.m_start + 1, element.m_nameLength))
        m_text += ' ';
    element.m_tagEnd = m_text.size();
    m_text += '>';
}

void XMLStreamWriter::BeginElement(const char* name)
{
    if (!m_open.empty()) {
        CloseStartTag();
        m_open.back().m_hasContent = true;
        m_open.back().m_hasChildren = true;
    }
    const std::size_t length = std::strlen(name);
    m_open.push_back(OpenElement{m_text.size(), length, 0, 0, false, false});
    m_text += '<';
    m_text.append(name, length);
}

void XMLStreamWriter::SetAttribute(const char* name, const char* value)
{
    if (m_open.empty() || !*name)
        return;
    OpenElement& element = m_open.back();
    const std::size_t nameLength = std::strlen(name);
    const std::size_t tagEnd = element.m_tagEnd ? element.m_tagEnd : m_text.size();
    const std::uint64_t bit = NameBit(name, nameLength);
    const bool mayRepeat = (element.m_names & bit) != 0;
    element.m_names |= bit;
    // The attributes written so far: ' name="value"' each, the values escaped, so no quote
    // but the closing one.
    std::size_t replaceFrom = 0, replaceTo = 0;
    for (std::size_t at = element.m_start + 1 + element.m_nameLength; mayRepeat && at < tagEnd && m_text[at] == ' ';) {
        const char* attribute = m_text.data() + at + 1;
        const char* equals = static_cast<const char*>(std::memchr(attribute, '=', tagEnd - at - 1));
        if (!equals)
            break;
        const char* valueBegin = equals + 2;
        const char* tagLast = m_text.data() + tagEnd;
        const char* close = valueBegin < tagLast
                                ? static_cast<const char*>(std::memchr(valueBegin, '"', static_cast<std::size_t>(tagLast - valueBegin)))
                                : nullptr;
        if (!close)
            break;
        const std::size_t next = static_cast<std::size_t>(close + 1 - m_text.data());
        if (SameNameNoCase(attribute, static_cast<std::size_t>(equals - attribute), name, nameLength)) {
            replaceFrom = at;
            replaceTo = next;
            break;
        }
        at = next;
    }
    if (!replaceTo && !element.m_tagEnd) {
        m_text += ' ';
        m_text.append(name, nameLength);
        m_text += "=\"";
        AppendEscaped(value, value + std::strlen(value));
        m_text += '"';
        return;
    }
    // A value changed, or an attribute given after the element's content: the start tag is
    // mended in place, which only the current element's own text follows.
    std::string piece = " ";
    piece.append(name, nameLength);
    piece += "=\"";
    AppendXMLEscaped(piece, value);
    piece += '"';
    if (!replaceTo) {
        replaceFrom = replaceTo = tagEnd;
        // The blank kept before ">" when there were no attributes goes now that there are.
        if (m_text[tagEnd - 1] == ' ')
            --replaceFrom;
    }
    m_text.replace(replaceFrom, replaceTo - replaceFrom, piece);
    if (element.m_tagEnd)
        element.m_tagEnd = element.m_tagEnd + piece.size() - (replaceTo - replaceFrom);
}

void XMLStreamWriter::AddText(const char* text)
{
    if (m_open.empty())
        return;
    CloseStartTag();
    m_open.back().m_hasContent = true;
    std::size_t begin = 0, end = std::strlen(text);
    const std::size_t length = end;
    if (!XMLFindTextCore(text, begin, end)) {
        m_text.append(text, length);
        return;
    }
    for (std::size_t i = 0; i < begin; ++i)
        m_text += "&#" + std::to_string(static_cast<int>(text[i])) + ";";
    AppendEscaped(text + begin, text + end);
    for (std::size_t i = end; i < length; ++i)
        m_text += "&#" + std::to_string(static_cast<int>(text[i])) + ";";
}

void XMLStreamWriter::AddIndent(int level)
{
    if (m_open.empty())
        return;
    CloseStartTag();
    m_open.back().m_hasContent = true;
    m_text += '\n';
    m_text.append(static_cast<std::size_t>(level) * 2, ' ');
}

bool XMLStreamWriter::EndElement(const char* after)
{
    if (m_open.empty())
        return true;
    const OpenElement element = m_open.back();
    m_open.pop_back();
    if (!element.m_hasContent) {
        m_text += "/>";
    } else {
        // Room first: the name is copied from the text itself.
        m_text.reserve(m_text.size() + element.m_nameLength + 3);
        m_text += "</";
        m_text.append(m_text.data() + element.m_start + 1, element.m_nameLength);
        m_text += '>';
    }
    if (!m_open.empty())
        return true;
    m_text += after;
    const bool written = m_output.Write(m_text.data(), m_text.size());
    if (m_text.capacity() > s_keptCapacity)
        std::string().swap(m_text);
    else
        m_text.clear();
    return written;
}

}  // namespace QEL
