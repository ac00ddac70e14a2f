#include "core/xml/XMLStreamWriter.h"

#include "core/xml/XMLEscape.h"
#include "core/xml/XMLTreeNodeData.h"

#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The characters written as entities, looked up rather than compared one by one.
struct EscapedCharacters {
    bool m_escaped[256] = {};
    constexpr EscapedCharacters()
    {
        for (unsigned char c : {'&', '<', '>', '"', '\''})
            m_escaped[c] = true;
    }
};
constexpr EscapedCharacters s_escaped;

#ifdef __SSE2__
// Whether any of the 16 bytes is one written as an entity.
bool HasEscaped16(__m128i bytes)
{
    const __m128i hits =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('&')),
                                  _mm_cmpeq_epi8(bytes, _mm_set1_epi8('<'))),
                     _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('>')),
                                               _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'))),
                                  _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\''))));
    return _mm_movemask_epi8(hits) != 0;
}
#endif

// Whether [begin, end) holds a character that must be written as an entity. Most of a
// journal's text is values checked here, so they are checked sixteen bytes at a time.
bool NeedsEscaping(const char* begin, const char* end)
{
#ifdef __SSE2__
    const std::size_t length = static_cast<std::size_t>(end - begin);
    if (length >= 16) {
        for (; end - begin > 16; begin += 16)
            if (HasEscaped16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(begin))))
                return true;
        // The last sixteen bytes, overlapping what was checked already.
        return HasEscaped16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16)));
    }
    if (length >= 8) {
        const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(begin));
        const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(end - 8));
        return HasEscaped16(_mm_unpacklo_epi64(low, high));
    }
#endif
    for (; begin < end; ++begin)
        if (s_escaped.m_escaped[static_cast<unsigned char>(*begin)])
            return true;
    return false;
}

}  // namespace

void XMLStreamWriter::Grow(std::size_t needed)
{
    std::size_t capacity = m_capacity ? m_capacity : 1024;
    while (capacity < needed)
        capacity *= 2;
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (m_size)
        std::memcpy(grown.get(), m_text.get(), m_size);
    m_text = std::move(grown);
    m_capacity = capacity;
}

void XMLStreamWriter::AppendEscaped(const char* begin, const char* end)
{
    const std::size_t length = static_cast<std::size_t>(end - begin);
    // Most values need no escaping at all: they go as they are.
    if (!NeedsEscaping(begin, end)) {
        Put(begin, length);
        return;
    }
    const std::size_t room = length <= s_shortValue ? 6 * length : XMLEscapedLength(begin, end);
    char* at = Extend(room);
    const char* written = WriteXMLEscaped(at, begin, end);
    m_size = static_cast<std::size_t>(written - m_text.get());
}

void XMLStreamWriter::CloseStartTag()
{
    OpenElement& element = m_open.back();
    if (element.m_tagEnd)
        return;
    if (m_size == element.m_start + 1 + element.m_nameLength &&
        XMLIsClearOpenTagName(m_text.get() + element.m_start + 1, element.m_nameLength))
        Put(' ');
    element.m_tagEnd = m_size;
    Put('>');
}

void XMLStreamWriter::BeginElement(const char* name)
{
    if (!m_open.empty()) {
        CloseStartTag();
        m_open.back().m_hasContent = true;
        m_open.back().m_hasChildren = true;
    }
    const std::size_t length = std::strlen(name);
    m_open.push_back(OpenElement{m_size, length, 0, 0, false, false});
    char* at = Extend(1 + length);
    *at = '<';
    std::memcpy(at + 1, name, length);
}

void XMLStreamWriter::BeginElement(const XMLPreparedStart& start)
{
    if (!m_open.empty()) {
        CloseStartTag();
        m_open.back().m_hasContent = true;
        m_open.back().m_hasChildren = true;
    }
    m_open.push_back(OpenElement{m_size, start.name.size(), 0, start.names, false, false});
    Put(start.text.data(), start.text.size());
}

void XMLStreamWriter::AddLeaf(int level, const XMLPreparedStart& start, const char* name,
                              const char* value, std::size_t valueLength)
{
    const std::size_t nameLength = std::strlen(name);
    const std::size_t blanks = level > 0 ? static_cast<std::size_t>(level) * 2 : 0;
    // The one piece holds only an attribute new to the start and a value with nothing to
    // escape; anything else goes the long way, which mends and escapes.
    if (m_open.empty() || !nameLength ||
        (valueLength && ((start.names & NameBit(name, nameLength)) != 0 ||
                         NeedsEscaping(value, value + valueLength)))) {
        AddIndent(level);
        BeginElement(start);
        if (valueLength)
            SetAttribute(name, value, valueLength);
        EndElement("\n");
        return;
    }
    CloseStartTag();
    m_open.back().m_hasContent = true;
    m_open.back().m_hasChildren = true;
    const std::size_t attribute = valueLength ? nameLength + valueLength + 4 : 0;
    char* at = Extend(1 + blanks + start.text.size() + attribute + 2);
    *at++ = '\n';
    std::memset(at, ' ', blanks);
    at += blanks;
    std::memcpy(at, start.text.data(), start.text.size());
    at += start.text.size();
    if (valueLength) {
        *at++ = ' ';
        std::memcpy(at, name, nameLength);
        at += nameLength;
        *at++ = '=';
        *at++ = '"';
        std::memcpy(at, value, valueLength);
        at += valueLength;
        *at++ = '"';
    }
    at[0] = '/';
    at[1] = '>';
}

XMLPreparedStart XMLStreamWriter::Prepare(
    const char* name, std::initializer_list<std::pair<const char*, const char*>> attributes)
{
    // Written by a writer of its own, so the text is what writing the calls out gives.
    struct NoOutput : XMLOutput {
        bool Write(const char*, std::size_t) override { return true; }
    } none;
    XMLStreamWriter scratch(none);
    scratch.BeginElement(name);
    XMLPreparedStart start;
    start.name = name;
    for (const auto& attribute : attributes) {
        if (!attribute.second || !*attribute.second)
            continue;
        scratch.SetAttribute(attribute.first, attribute.second);
        start.attributes.emplace_back(attribute.first, attribute.second);
    }
    start.text.assign(scratch.m_text.get(), scratch.m_size);
    start.names = scratch.m_open.back().m_names;
    return start;
}

void XMLStreamWriter::SetAttribute(const char* name, const char* value)
{
    SetAttribute(name, value, std::strlen(value));
}

void XMLStreamWriter::SetAttribute(const char* name, const char* value, std::size_t valueLength)
{
    if (m_open.empty() || !*name)
        return;
    OpenElement& element = m_open.back();
    const std::size_t nameLength = std::strlen(name);
    const std::uint64_t bit = NameBit(name, nameLength);
    const bool mayRepeat = (element.m_names & bit) != 0;
    element.m_names |= bit;
    if (mayRepeat || element.m_tagEnd) {
        MendAttribute(name, nameLength, value, valueLength, mayRepeat);
        return;
    }
    AppendAttribute(name, nameLength, value, valueLength);
}

void XMLStreamWriter::AppendAttribute(const char* name, std::size_t nameLength, const char* value,
                                      std::size_t valueLength)
{
    const char* valueEnd = value + valueLength;
    if (!NeedsEscaping(value, valueEnd)) {
        char* at = Extend(nameLength + valueLength + 4);
        *at++ = ' ';
        std::memcpy(at, name, nameLength);
        at += nameLength;
        *at++ = '=';
        *at++ = '"';
        std::memcpy(at, value, valueLength);
        at[valueLength] = '"';
        return;
    }
    char* at = Extend(nameLength + 3);
    *at++ = ' ';
    std::memcpy(at, name, nameLength);
    at[nameLength] = '=';
    at[nameLength + 1] = '"';
    AppendEscaped(value, valueEnd);
    Put('"');
}

void XMLStreamWriter::MendAttribute(const char* name, std::size_t nameLength, const char* value,
                                    std::size_t valueLength, bool mayRepeat)
{
    OpenElement& element = m_open.back();
    const std::size_t tagEnd = element.m_tagEnd ? element.m_tagEnd : m_size;
    const char* text = m_text.get();
    // The attributes written so far: ' name="value"' each, the values escaped, so no quote
    // but the closing one.
    std::size_t replaceFrom = 0, replaceTo = 0;
    for (std::size_t at = element.m_start + 1 + element.m_nameLength;
         mayRepeat && at < tagEnd && text[at] == ' ';) {
        const char* attribute = text + at + 1;
        const char* equals = static_cast<const char*>(std::memchr(attribute, '=', tagEnd - at - 1));
        if (!equals)
            break;
        const char* valueBegin = equals + 2;
        const char* tagLast = text + tagEnd;
        const char* close =
            valueBegin < tagLast
                ? static_cast<const char*>(
                      std::memchr(valueBegin, '"', static_cast<std::size_t>(tagLast - valueBegin)))
                : nullptr;
        if (!close)
            break;
        const std::size_t next = static_cast<std::size_t>(close + 1 - text);
        if (SameNameNoCase(attribute, static_cast<std::size_t>(equals - attribute), name,
                           nameLength)) {
            replaceFrom = at;
            replaceTo = next;
            break;
        }
        at = next;
    }
    if (!replaceTo && !element.m_tagEnd) {
        AppendAttribute(name, nameLength, value, valueLength);
        return;
    }
    // A value changed, or an attribute given after the element's content: the start tag is
    // mended in place, which only the current element's own text follows. The new attribute is
    // written straight into its place once the text after it has moved.
    const std::size_t pieceSize = nameLength + 4 + XMLEscapedLength(value, value + valueLength);
    if (!replaceTo) {
        replaceFrom = replaceTo = tagEnd;
        // The blank kept before ">" when there were no attributes goes now that there are.
        if (text[tagEnd - 1] == ' ')
            --replaceFrom;
    }
    const std::size_t removed = replaceTo - replaceFrom;
    const std::size_t tail = m_size - replaceTo;
    if (pieceSize > removed)
        Extend(pieceSize - removed);
    else
        m_size -= removed - pieceSize;
    char* at = m_text.get() + replaceFrom;
    std::memmove(at + pieceSize, m_text.get() + replaceTo, tail);
    *at++ = ' ';
    std::memcpy(at, name, nameLength);
    at += nameLength;
    *at++ = '=';
    *at++ = '"';
    at = WriteXMLEscaped(at, value, value + valueLength);
    *at = '"';
    if (element.m_tagEnd)
        element.m_tagEnd = element.m_tagEnd + pieceSize - removed;
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
        Put(text, length);
        return;
    }
    const auto putReference = [this](char c) {
        char* at = Extend(6);
        m_size -= 6 - XMLWriteEdgeReference(at, c);
    };
    for (std::size_t i = 0; i < begin; ++i)
        putReference(text[i]);
    AppendEscaped(text + begin, text + end);
    for (std::size_t i = end; i < length; ++i)
        putReference(text[i]);
}

void XMLStreamWriter::AddIndent(int level)
{
    if (m_open.empty())
        return;
    CloseStartTag();
    m_open.back().m_hasContent = true;
    const std::size_t blanks = static_cast<std::size_t>(level) * 2;
    if (blanks <= 8) {
        // Mostly a level or two: written as one word, of which only the blanks needed stay.
        char* at = Extend(9);
        *at = '\n';
        std::memcpy(at + 1, "        ", 8);
        m_size -= 8 - blanks;
        return;
    }
    char* at = Extend(1 + blanks);
    *at = '\n';
    std::memset(at + 1, ' ', blanks);
}

bool XMLStreamWriter::EndElement(const char* after)
{
    if (m_open.empty())
        return true;
    const OpenElement element = m_open.back();
    m_open.pop_back();
    if (!element.m_hasContent) {
        Put("/>", 2);
    } else {
        // Room first: the name is copied from the text itself.
        char* at = Extend(element.m_nameLength + 3);
        at[0] = '<';
        at[1] = '/';
        std::memcpy(at + 2, m_text.get() + element.m_start + 1, element.m_nameLength);
        at[2 + element.m_nameLength] = '>';
    }
    if (!m_open.empty())
        return true;
    Put(after, std::strlen(after));
    const bool written = m_output.Write(m_text.get(), m_size);
    if (m_capacity > s_keptCapacity) {
        m_text.reset();
        m_capacity = 0;
    }
    m_size = 0;
    return written;
}

}  // namespace QEL
