// Parsing text and files into XMLTreeNode trees. The parser is iterative: open elements
// are kept on an explicit stack whose depth is bounded, so no input can overflow the
// machine stack, and every way of running off the text ends in an error code.
//
// The text is scanned by bytes (names and quoted values sixteen at a time). Every byte the
// scanner stops at (markup, quotes, white space, the 0 byte) is below 0x40, and no byte of a
// multi-byte character of the three encodings is (UTF-8 continuation bytes are 0x80 and up,
// Shift-JIS trail bytes 0x40 and up), so this stops where a walk by character lengths stops,
// without looking them up.
#include "core/xml/XMLTreeNode.h"

#include "core/journal/JournalVocabulary.h"
#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLCutOffDocument.h"
#include "core/xml/XMLEscape.h"
#include "core/xml/XMLTreeNodeData.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace QEL {

namespace {

enum XMLTokenKind {
    XMLTokenKindEnd,
    XMLTokenKindClear,
    XMLTokenKindQuoted,
    XMLTokenKindShortClose,        // "/>"
    XMLTokenKindEndTagStart,       // "</"
    XMLTokenKindDeclarationStart,  // "<?"
    XMLTokenKindStartTag,          // "<"
    XMLTokenKindEquals,
    XMLTokenKindTagClose,  // ">"
    XMLTokenKindWord
};

struct XMLToken {
    XMLTokenKind m_kind = XMLTokenKindEnd;
    const char* m_begin = nullptr;  // the token's first character (the quote of a quoted text)
    const char* m_end = nullptr;    // just after the token
    const XMLClearTag* m_clearTag = nullptr;
    // The payload: the word, or the quoted text without its quotes.
    const char* m_textBegin = nullptr;
    const char* m_textEnd = nullptr;
};

bool StartsWith(const char* p, const char* prefix)
{
    return std::strncmp(p, prefix, std::strlen(prefix)) == 0;
}

const char* SkipWhiteSpace(const char* p)
{
    while (XMLIsWhiteSpace(*p))
        ++p;
    return p;
}

bool EndsWord(const char* p)
{
    switch (*p) {
        case 0:
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case '<':
        case '>':
        case '=':
            return true;
        case '/':
            return p[1] == '>';
        default:
            return false;
    }
}

XMLToken ReadWord(const char* p)
{
    XMLToken token;
    token.m_kind = XMLTokenKindWord;
    token.m_begin = token.m_textBegin = p;
    do
        ++p;
    while (!EndsWord(p));
    token.m_end = token.m_textEnd = p;
    return token;
}

// The token at p, after white space.
XMLToken NextToken(const char* p)
{
    p = SkipWhiteSpace(p);
    XMLToken token;
    token.m_begin = p;
    auto simple = [&](XMLTokenKind kind, size_t length) {
        token.m_kind = kind;
        token.m_end = p + length;
        return token;
    };
    switch (*p) {
        case 0:
            token.m_end = p;
            return token;
        case '<':
            // Every open tag of the clear-tag table starts with "<".
            for (const XMLClearTag& tag : s_clearTags) {
                if (p[1] == tag.m_openTag[1] && StartsWith(p, tag.m_openTag)) {
                    token.m_kind = XMLTokenKindClear;
                    token.m_clearTag = &tag;
                    token.m_end = p + std::strlen(tag.m_openTag);
                    return token;
                }
            }
            if (p[1] == '/')
                return simple(XMLTokenKindEndTagStart, 2);
            if (p[1] == '?')
                return simple(XMLTokenKindDeclarationStart, 2);
            return simple(XMLTokenKindStartTag, 1);
        case '"':
        case '\'': {
            const char* q = p + 1;
            while (*q != 0 && *q != *p && *q != '<')
                ++q;
            if (*q == *p) {
                token.m_kind = XMLTokenKindQuoted;
                token.m_textBegin = p + 1;
                token.m_textEnd = q;
                token.m_end = q + 1;
                return token;
            }
            return ReadWord(p);  // an unterminated quote starts an ordinary word
        }
        case '/':
            if (p[1] == '>')
                return simple(XMLTokenKindShortClose, 2);
            return ReadWord(p);
        case '=':
            return simple(XMLTokenKindEquals, 1);
        case '>':
            return simple(XMLTokenKindTagClose, 1);
        default:
            return ReadWord(p);
    }
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether a name equals [begin, end), ignoring (ASCII) case.
bool NameEquals(const char* name, const char* begin, const char* end)
{
    for (; begin < end; ++begin, ++name)
        if (*name == 0 || LowerAscii(*name) != LowerAscii(*begin))
            return false;
    return *name == 0;
}

std::string LowerName(const char* begin, const char* end)
{
    std::string key(begin, end);
    for (char& c : key)
        c = LowerAscii(c);
    return key;
}

// The bytes of a plain name: letters, digits, "_", "-", ".", ":" and every byte of a multi-byte
// character (0x80 and up in the three encodings, below 0x40 never). A plain name is a word
// the general reading takes whole, so tags of plain names need none of its token checks.
struct XMLPlainNameBytes {
    bool m_isName[256] = {};
    constexpr XMLPlainNameBytes()
    {
        for (int c = 0; c < 256; ++c)
            m_isName[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.' || c == ':' ||
                          c >= 0x80;
    }
};
constexpr XMLPlainNameBytes s_plainNameBytes;

bool IsPlainNameByte(char c) { return s_plainNameBytes.m_isName[static_cast<unsigned char>(c)]; }

// The bytes that end a plain quoted value: either quote, and what the general reading takes
// (a value to unescape, a quote left open at "<" or at the end of the text).
// ">" stops it too, only to note that the value is not written as it is.
constexpr std::uint64_t s_valueStopBits = (std::uint64_t(1) << '"') | (std::uint64_t(1) << '\'') |
                                          (std::uint64_t(1) << '<') | (std::uint64_t(1) << '&') |
                                          (std::uint64_t(1) << '>') | 1;

bool IsValueStop(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte < 64 && ((s_valueStopBits >> byte) & 1) != 0;
}

#if defined(__SSE2__)
// Bit i set where byte i of the sixteen is no plain name byte (the table above, for all sixteen
// at once). Letters are the bytes whose lower case is a lower-case letter; "-", ".", the digits
// and ":" are one run of bytes but for "/"; the bytes of multi-byte characters are negative.
unsigned NotPlainNameBytes16(__m128i bytes)
{
    const auto within = [](__m128i v, char low, char high) {
        return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                             _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    const __m128i lower = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
    const __m128i letters = within(lower, 'a', 'z');
    const __m128i digitsAndMarks =
        _mm_andnot_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('/')), within(bytes, '-', ':'));
    const __m128i name = _mm_or_si128(
        _mm_or_si128(letters, digitsAndMarks),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('_')),
                     _mm_cmplt_epi8(bytes, _mm_setzero_si128())));
    return ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFFu;
}
#endif

// The end of the plain name at p; end is the 0 byte that ends the text. Sixteen bytes are
// tested at a time while as many remain before the end, so nothing past the text is read.
const char* SkipPlainName(const char* p, const char* end)
{
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16) {
        const unsigned stops =
            NotPlainNameBytes16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        if (stops != 0)
            return p + __builtin_ctz(stops);
    }
#else
    (void)end;
#endif
    while (IsPlainNameByte(*p))
        ++p;
    return p;
}

// The end of a quoted value at p: its quote, or what the general reading takes ("&", "<", the
// 0 byte). isPlain turns false when the other quote or ">" comes before it, which are written
// as entities. As for names, sixteen bytes at a time while as many remain before the end.
const char* ScanPlainValue(const char* p, const char* end, char quote, bool& isPlain)
{
    const char otherQuote = quote == '"' ? '\'' : '"';
#if defined(__SSE2__)
    const __m128i quotes = _mm_set1_epi8(quote), others = _mm_set1_epi8(otherQuote);
    const __m128i lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), gt = _mm_set1_epi8('>');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quotes), _mm_cmpeq_epi8(bytes, lt)),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, amp),
                         _mm_cmpeq_epi8(bytes, _mm_setzero_si128())))));
        const unsigned escaped = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, others), _mm_cmpeq_epi8(bytes, gt))));
        if (stops != 0) {
            // Only what stands before the stop counts: the bits below its own.
            if ((escaped & ((stops & (0u - stops)) - 1u)) != 0)
                isPlain = false;
            return p + __builtin_ctz(stops);
        }
        if (escaped != 0)
            isPlain = false;
    }
#else
    (void)end;
#endif
    for (;; ++p) {
        if (!IsValueStop(*p))
            continue;
        if (*p != otherQuote && *p != '>')
            return p;
        isPlain = false;
    }
}

// One attribute as it is read: its name and its value where they stand in the text, or its
// value already unescaped into the document when it held entities.
struct XMLAttributeSpan {
    const char* m_nameBegin;
    const char* m_nameEnd;
    const char* m_valueBegin;
    const char* m_valueEnd;
    const char* m_unescaped;  // null: the value is the text itself
    std::size_t m_unescapedLength;
    bool m_hasValue;
    bool m_isPlain;  // known to hold no character written as an entity
};

// The attributes of one element as they are read. A repeated name replaces the earlier
// value in place, as on building. Up to a few attributes the names are compared one by
// one; beyond that an index by name keeps the check linear however many attributes a
// hostile tag carries.
class XMLAttributeReader {
public:
    // The attributes are gathered in the parser's scratch list, where they stand in the text,
    // and handed to the element when its tag is read whole, in one array of their exact number,
    // each string copied once into the document.
    explicit XMLAttributeReader(std::vector<XMLAttributeSpan>& spans) : m_spans(spans)
    {
        m_spans.clear();
    }

    void MoveTo(XMLTreeNodeData& element)
    {
        if (m_spans.empty())
            return;
        XMLTreeArena& arena = element.Arena();
        XMLTreeAttribute* attribute = ElementAttributes(element);
        for (const XMLAttributeSpan& span : m_spans) {
            const size_t nameLength = static_cast<size_t>(span.m_nameEnd - span.m_nameBegin);
            attribute->m_name = arena.CopyString(span.m_nameBegin, nameLength);
            attribute->m_nameInfo = XMLTreeStringInfo::Known(nameLength, false);
            attribute->m_value = nullptr;
            attribute->m_valueInfo = XMLTreeStringInfo();
            if (span.m_unescaped != nullptr) {
                attribute->m_value = span.m_unescaped;
                attribute->m_valueInfo =
                    XMLTreeStringInfo::Of(span.m_unescaped, span.m_unescapedLength);
            } else if (span.m_hasValue) {
                const size_t length = static_cast<size_t>(span.m_valueEnd - span.m_valueBegin);
                attribute->m_value = arena.CopyString(span.m_valueBegin, length);
                attribute->m_valueInfo = span.m_isPlain
                                             ? XMLTreeStringInfo::Known(length, true)
                                             : XMLTreeStringInfo::Of(span.m_valueBegin, length);
            }
            ++attribute;
        }
        m_spans.clear();
    }

    // The same for a tag of the common shape, whose bytes from its name on were copied whole
    // into the document at tag (standing at tagBegin in the text): each name and value ends
    // at a blank, "=", a quote or ">" there, where its 0 is written, so that no string needs a
    // copy of its own. No value holds an entity.
    void MoveToCopiedTag(XMLTreeNodeData& element, const char* tagBegin, char* tag)
    {
        if (m_spans.empty())
            return;
        XMLTreeAttribute* attribute = ElementAttributes(element);
        for (const XMLAttributeSpan& span : m_spans) {
            const size_t nameLength = static_cast<size_t>(span.m_nameEnd - span.m_nameBegin);
            attribute->m_name = tag + (span.m_nameBegin - tagBegin);
            tag[span.m_nameEnd - tagBegin] = 0;
            attribute->m_nameInfo = XMLTreeStringInfo::Known(nameLength, false);
            const size_t length = static_cast<size_t>(span.m_valueEnd - span.m_valueBegin);
            attribute->m_value = tag + (span.m_valueBegin - tagBegin);
            tag[span.m_valueEnd - tagBegin] = 0;
            attribute->m_valueInfo = span.m_isPlain
                                         ? XMLTreeStringInfo::Known(length, true)
                                         : XMLTreeStringInfo::Of(span.m_valueBegin, length);
            ++attribute;
        }
        m_spans.clear();
    }

    // The element's attribute array, made in its document for exactly the gathered number.
    XMLTreeAttribute* ElementAttributes(XMLTreeNodeData& element) const
    {
        XMLTreeArray<XMLTreeAttribute>& attributes = element.m_attributes;
        attributes.m_items = static_cast<XMLTreeAttribute*>(
            element.Arena().Allocate(m_spans.size() * sizeof(XMLTreeAttribute)));
        attributes.m_count = attributes.m_capacity = static_cast<std::uint32_t>(m_spans.size());
        return attributes.m_items;
    }

    // A value of the text itself, or one unescaped already.
    void Set(const char* nameBegin, const char* nameEnd, const char* valueBegin,
             const char* valueEnd, const char* unescaped, std::size_t unescapedLength,
             bool hasValue, bool isPlain = false)
    {
        // A name whose mark no earlier name set is new, with no name compared; below the
        // linear limit the index is not made yet, so nothing else needs to learn of it.
        const std::uint64_t mark = NameMark(nameBegin, nameEnd);
        const size_t found = (m_marks & mark) == 0 && m_spans.size() < s_linearLimit
                                 ? m_spans.size()
                                 : Find(nameBegin, nameEnd);
        m_marks |= mark;
        if (found == m_spans.size()) {
            if (!m_index.empty())
                m_index.emplace(LowerName(nameBegin, nameEnd), found);
            m_spans.emplace_back();
        }
        // Field by field: the span is written where it stays, with no copy through the stack.
        XMLAttributeSpan& span = m_spans[found];
        span.m_nameBegin = nameBegin;
        span.m_nameEnd = nameEnd;
        span.m_valueBegin = valueBegin;
        span.m_valueEnd = valueEnd;
        span.m_unescaped = unescaped;
        span.m_unescapedLength = unescapedLength;
        span.m_hasValue = hasValue;
        span.m_isPlain = isPlain;
    }

private:
    static constexpr size_t s_linearLimit = 16;

    // One of 64 bits for a name, the same for names equal but for (ASCII) case: from its
    // length and its first and last bytes, which a byte's case bit leaves out.
    static std::uint64_t NameMark(const char* begin, const char* end)
    {
        const std::size_t length = static_cast<std::size_t>(end - begin);
        if (length == 0)
            return 1;
        const unsigned first = static_cast<unsigned char>(begin[0]) | 0x20u;
        const unsigned last = static_cast<unsigned char>(end[-1]) | 0x20u;
        return std::uint64_t(1) << ((length * 5 + first * 3 + last) & 63);
    }

    static bool SameName(const XMLAttributeSpan& span, const char* begin, const char* end)
    {
        if (span.m_nameEnd - span.m_nameBegin != end - begin)
            return false;
        for (const char *a = span.m_nameBegin, *b = begin; b < end; ++a, ++b)
            if (LowerAscii(*a) != LowerAscii(*b))
                return false;
        return true;
    }

    size_t Find(const char* nameBegin, const char* nameEnd)
    {
        if (m_index.empty() && m_spans.size() < s_linearLimit) {
            for (size_t i = 0; i < m_spans.size(); ++i)
                if (SameName(m_spans[i], nameBegin, nameEnd))
                    return i;
            return m_spans.size();
        }
        if (m_index.empty())
            for (size_t i = 0; i < m_spans.size(); ++i)
                m_index.emplace(LowerName(m_spans[i].m_nameBegin, m_spans[i].m_nameEnd), i);
        auto found = m_index.find(LowerName(nameBegin, nameEnd));
        return found != m_index.end() ? found->second : m_spans.size();
    }

    std::vector<XMLAttributeSpan>& m_spans;
    std::uint64_t m_marks = 0;  // the marks of the names read so far
    std::unordered_map<std::string, size_t> m_index;
};

}  // namespace

class XMLTreeParser {
public:
    XMLTreeParser(const char* text, XMLTreeNodeData* top)
        : m_position(text), m_end(text + std::strlen(text))
    {
        m_open.push_back(top);
    }

    // Parses the whole text into the top node; returns the error code (0 or 1 keep the tree).
    int Run()
    {
        while (m_fatal == XMLParseErrorNone) {
            ReadText();
            if (m_fatal != XMLParseErrorNone || *m_position == 0)
                break;
            if (m_position[1] == '/' ? ReadPlainEndTag() : ReadPlainStartTag())
                continue;
            XMLToken token = NextToken(m_position);
            switch (token.m_kind) {
                case XMLTokenKindClear:
                    ReadClear(token);
                    break;
                case XMLTokenKindEndTagStart:
                    ReadEndTag(token);
                    break;
                case XMLTokenKindDeclarationStart:
                    ReadStartTag(token, true);
                    break;
                case XMLTokenKindStartTag:
                    ReadStartTag(token, false);
                    break;
                default:
                    Fail(XMLParseErrorUnexpectedToken, token.m_begin);
                    break;
            }
        }
        if (m_fatal != XMLParseErrorNone)
            return m_fatal;
        for (size_t i = 1; i < m_open.size(); ++i)
            if (!m_open[i]->m_isDeclaration)
                NoteUnclosed(m_position);
        return m_unclosedAt != nullptr ? XMLParseErrorUnclosedElements : XMLParseErrorNone;
    }

    const char* ErrorPosition() const
    {
        return m_fatal != XMLParseErrorNone ? m_fatalAt : m_unclosedAt;
    }

private:
    XMLTreeNodeData& Current() { return *m_open.back(); }

    void Fail(int error, const char* at)
    {
        m_fatal = error;
        m_fatalAt = at;
    }

    void NoteUnclosed(const char* at)
    {
        if (m_unclosedAt == nullptr)
            m_unclosedAt = at;
    }

    // [begin, end) unescaped into the document, its length at *length; null on failure.
    const char* Unescape(const char* begin, const char* end, size_t* length)
    {
        XMLTreeArena& arena = m_open.front()->Arena();
        const size_t room = static_cast<size_t>(end - begin);
        char* text = arena.AllocateString(room);
        const char* errorAt = nullptr;
        char* written = WriteXMLUnescaped(text, begin, end, &errorAt);
        if (written == nullptr) {
            Fail(XMLParseErrorBadEntity, errorAt);
            return nullptr;
        }
        *written = 0;
        *length = static_cast<size_t>(written - text);
        arena.ShrinkLastString(text, room, *length);
        return text;
    }

    // The raw characters up to the next tag or clear section.
    void ReadText()
    {
        const char* begin = m_position;
        if (*begin == '<')
            return;  // tag after tag, as in most of a document written without layout
        const char* end =
            static_cast<const char*>(std::memchr(begin, '<', static_cast<size_t>(m_end - begin)));
        if (end == nullptr)
            end = m_end;
        m_position = end;
        if (GetTreeOptions().m_dropWhiteSpace) {
            while (begin < end && XMLIsWhiteSpace(*begin))
                ++begin;
            while (end > begin && XMLIsWhiteSpace(end[-1]))
                --end;
        }
        if (begin == end)
            return;
        size_t length = 0;
        if (const char* text = Unescape(begin, end, &length))
            Current().AppendText(text, length);
    }

    void ReadClear(const XMLToken& token)
    {
        const char* valueBegin = token.m_end;
        const char* closeTag = token.m_clearTag->m_closeTag;
        if (token.m_clearTag == &s_clearTags[1]) {
            const char* close = std::strchr(valueBegin, '>');
            const char* open = std::strchr(valueBegin, '<');
            if (open != nullptr && (close == nullptr || open < close))
                closeTag = s_doctypeSubsetCloseTag;
        }
        const char* valueEnd = std::strstr(valueBegin, closeTag);
        if (valueEnd == nullptr)
            return Fail(XMLParseErrorClearNotClosed, token.m_begin);
        const char* value =
            Current().Arena().CopyString(valueBegin, static_cast<size_t>(valueEnd - valueBegin));
        Current().AppendClear(XMLTreeClear{value, token.m_clearTag->m_openTag, closeTag});
        m_position = valueEnd + std::strlen(closeTag);
    }

    // The end tag "</name>" of the innermost element, the common case, read without tokens;
    // false, with nothing read, for any other end tag, which the general reading takes.
    bool ReadPlainEndTag()
    {
        const char* nameBegin = m_position + 2;
        const char* nameEnd = SkipPlainName(nameBegin, m_end);
        if (nameEnd == nameBegin || m_open.size() < 2)
            return false;
        const char* p = SkipWhiteSpace(nameEnd);
        const XMLTreeNodeData& innermost = *m_open.back();
        if (*p != '>' || innermost.m_isDeclaration ||
            !NameEquals(innermost.m_name, nameBegin, nameEnd))
            return false;
        m_open.pop_back();
        m_position = p + 1;
        return true;
    }

    // A start tag of plain names with quoted values free of entities, the common case, read
    // without tokens to the same element the general reading makes; false, with nothing read,
    // for any other tag (declarations, clear sections, values to unescape or missing, odd
    // names, errors), which the general reading then takes from its start.
    bool ReadPlainStartTag()
    {
        const char* nameBegin = m_position + 1;
        if (!IsPlainNameByte(*nameBegin) || static_cast<int>(m_open.size()) > XMLMaxNestingDepth)
            return false;
        if ((*nameBegin == 'P' || *nameBegin == 'S') &&
            NextToken(m_position).m_kind == XMLTokenKindClear)
            return false;
        const char* nameEnd = SkipPlainName(nameBegin, m_end);
        XMLAttributeReader attributes(m_attributeSpans);
        const char* p = nameEnd;
        for (;;) {
            p = SkipWhiteSpace(p);
            if (*p == '>' || (*p == '/' && p[1] == '>'))
                break;
            // Right after a name or a value an attribute's name may follow; after a name, what is
            // no name byte would run on into the name: the general reading takes it.
            const char* attributeBegin = p;
            const char* attributeEnd = SkipPlainName(p, m_end);
            if (attributeEnd == attributeBegin)
                return false;
            p = SkipWhiteSpace(attributeEnd);
            if (*p != '=')
                return false;  // no value, or a name running on
            p = SkipWhiteSpace(p + 1);
            const char quote = *p;
            if (quote != '"' && quote != '\'')
                return false;
            const char* valueBegin = p + 1;
            // The value is plain unless it holds the other quote or ">", which are written as
            // entities (it holds no "&" or "<", at which the general reading takes over).
            bool isPlain = true;
            const char* valueEnd = ScanPlainValue(valueBegin, m_end, quote, isPlain);
            if (*valueEnd != quote)
                return false;
            attributes.Set(attributeBegin, attributeEnd, valueBegin, valueEnd, nullptr, 0, true,
                           isPlain);
            p = valueEnd + 1;
        }
        // The tag up to its ">" or "/>" in one copy, which its strings share.
        XMLTreeArena& arena = Current().Arena();
        const size_t tagLength = static_cast<size_t>(p - nameBegin);
        char* tag = arena.AllocateString(tagLength);
        std::memcpy(tag, nameBegin, tagLength);
        tag[tagLength] = 0;
        tag[nameEnd - nameBegin] = 0;
        XMLTreeNodeData* element = Current().AppendStoredChild(tag, false);
        attributes.MoveToCopiedTag(*element, nameBegin, tag);
        if (*p == '>') {
            m_open.push_back(element);
            m_position = p + 1;
        } else {
            m_position = p + 2;
        }
        return true;
    }

    void ReadEndTag(const XMLToken& start)
    {
        XMLToken name = NextToken(start.m_end);
        if (name.m_kind != XMLTokenKindWord)
            return Fail(XMLParseErrorMissingTagName, start.m_begin);
        XMLToken close = NextToken(name.m_end);
        if (close.m_kind != XMLTokenKindTagClose)
            return Fail(XMLParseErrorEndTagNotClosed, close.m_begin);
        // A declaration has no end tag of its own: an end tag is never matched against one, and
        // the end tag of the element around it closes it without complaint, as the writer
        // expects when it writes a declaration inside an element.
        size_t match = m_open.size();
        for (size_t i = m_open.size() - 1; i >= 1 && match == m_open.size(); --i)
            if (!m_open[i]->m_isDeclaration &&
                NameEquals(m_open[i]->m_name, name.m_textBegin, name.m_textEnd))
                match = i;
        if (match == m_open.size())
            return Fail(XMLParseErrorUnmatchedEndTag, start.m_begin);
        // An end tag for an outer element closes the inner ones whose end tags are missing.
        for (size_t i = match + 1; i < m_open.size(); ++i)
            if (!m_open[i]->m_isDeclaration)
                NoteUnclosed(start.m_begin);
        m_open.resize(match);
        m_position = close.m_end;
    }

    void ReadStartTag(const XMLToken& start, bool isDeclaration)
    {
        // The name must follow "<" at once: "< /b>" would otherwise make an element that is
        // written back as an end tag.
        XMLToken name = NextToken(start.m_end);
        if (name.m_kind != XMLTokenKindWord || name.m_begin != start.m_end || !IsWritableName(name))
            return Fail(XMLParseErrorMissingTagName, start.m_begin);
        if (static_cast<int>(m_open.size()) > XMLMaxNestingDepth)
            return Fail(XMLParseErrorNestingTooDeep, start.m_begin);
        XMLTreeNodeData* element = Current().AppendChild(
            name.m_textBegin, DeclarationWordEnd(name, isDeclaration), isDeclaration);
        XMLAttributeReader attributes(m_attributeSpans);
        const char* p = name.m_end;
        for (;;) {
            XMLToken token = NextToken(p);
            if (token.m_kind == XMLTokenKindTagClose) {
                attributes.MoveTo(*element);
                m_open.push_back(element);
                m_position = token.m_end;
                return;
            }
            if (token.m_kind == XMLTokenKindShortClose) {
                attributes.MoveTo(*element);
                m_position = token.m_end;
                return;
            }
            if (token.m_kind != XMLTokenKindWord || !IsWritableName(token))
                return Fail(XMLParseErrorUnexpectedToken, token.m_begin);
            const char* attributeEnd = DeclarationWordEnd(token, isDeclaration);
            p = token.m_end;
            XMLToken equals = NextToken(p);
            if (equals.m_kind != XMLTokenKindEquals) {
                if (attributeEnd != token.m_textBegin)
                    attributes.Set(token.m_textBegin, attributeEnd, nullptr, nullptr, nullptr, 0,
                                   false);
                continue;
            }
            XMLToken value = NextToken(equals.m_end);
            if (value.m_kind != XMLTokenKindQuoted && value.m_kind != XMLTokenKindWord)
                return Fail(XMLParseErrorUnexpectedToken, value.m_begin);
            const bool hasEntities =
                std::memchr(value.m_textBegin, '&',
                            static_cast<size_t>(value.m_textEnd - value.m_textBegin)) != nullptr;
            const char* unescaped = nullptr;
            size_t unescapedLength = 0;
            if (hasEntities && (unescaped = Unescape(value.m_textBegin, value.m_textEnd,
                                                     &unescapedLength)) == nullptr)
                return;
            attributes.Set(token.m_textBegin, attributeEnd, value.m_textBegin, value.m_textEnd,
                           unescaped, unescapedLength, true);
            p = value.m_end;
        }
    }

    // A name is written back unquoted before quoted values and ">" or "/>": it may not start
    // with a quote (an unterminated one makes a word), which would open a quoted text, nor
    // end in "/", which would turn into a short close.
    static bool IsWritableName(const XMLToken& word)
    {
        return *word.m_textBegin != '"' && *word.m_textBegin != '\'' && word.m_textEnd[-1] != '/';
    }

    // A word of a declaration loses the "?" that ends it right before ">".
    static const char* DeclarationWordEnd(const XMLToken& word, bool isDeclaration)
    {
        if (isDeclaration && word.m_textEnd[-1] == '?' &&
            NextToken(word.m_end).m_kind == XMLTokenKindTagClose)
            return word.m_textEnd - 1;
        return word.m_textEnd;
    }

    const char* m_position;
    const char* m_end;                     // the 0 byte that ends the text
    std::vector<XMLTreeNodeData*> m_open;  // the open elements; the nameless top node first
    std::vector<XMLAttributeSpan> m_attributeSpans;
    int m_fatal = XMLParseErrorNone;
    const char* m_fatalAt = nullptr;
    const char* m_unclosedAt = nullptr;
};

namespace {

void SetResult(XMLParseResult* result, int error, const char* text, const char* at)
{
    if (result == nullptr)
        return;
    result->m_error = error;
    result->m_line = 0;
    result->m_column = 0;
    if (text == nullptr || at == nullptr)
        return;
    int line = 1, column = 1;
    for (const char* p = text; p < at && *p != 0; p += XMLCharLength(p)) {
        if (*p == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    result->m_line = line;
    result->m_column = column;
}

// Finds the root element by name among the children of node, descending into a
// declaration met on the way, where a parsed document's elements sit.
XMLTreeNode FindRoot(const XMLTreeNode& node, const char* rootName)
{
    for (int i = 0; i < node.CountChildren(); ++i) {
        XMLTreeNode child = node.GetChild(i);
        if (XMLNameEquals(child.GetName(), rootName))
            return child;
        if (child.IsDeclaration())
            return FindRoot(child, rootName);
    }
    return XMLTreeNode();
}

}  // namespace

// A 0 byte inside a file's text would end the parse early and silently drop whatever
// follows it; it is reported where it stands instead.
static XMLTreeNode ParseWholeText(const std::string& text, const char* rootName,
                                  XMLParseResult* result)
{
    size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        SetResult(result, XMLParseErrorUnexpectedToken, text.c_str(), text.c_str() + zero);
        return XMLTreeNode();
    }
    return XMLTreeNode::ParseText(text.c_str(), rootName, result);
}

XMLTreeNode XMLTreeNode::ParseText(const char* text, const char* rootName, XMLParseResult* result)
{
    if (text == nullptr) {
        SetResult(result, XMLParseErrorNoText, nullptr, nullptr);
        return XMLTreeNode();
    }
    try {
        XMLTreeNode top = CreateTop(nullptr, false);
        XMLTreeParser parser(text, top.m_data);
        int error = parser.Run();
        SetResult(result, error, text, parser.ErrorPosition());
        if (error != XMLParseErrorNone && error != XMLParseErrorUnclosedElements)
            return XMLTreeNode();
        XMLTreeNode document = top;
        if (top.CountChildren() == 1 && top.CountContents() == 1)
            document = top.GetChild(0);
        if (rootName != nullptr && !XMLNameEquals(document.GetName(), rootName)) {
            document = FindRoot(document, rootName);
            if (document.IsEmpty())
                SetResult(result, XMLParseErrorRootNotFound, nullptr, nullptr);
        }
        return document;
    } catch (const std::bad_alloc&) {
        SetResult(result, XMLParseErrorNoMemory, nullptr, nullptr);
        return XMLTreeNode();
    }
}

XMLTreeNode XMLTreeNode::ParseFile(const char* path, const char* rootName, XMLParseResult* result)
{
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file(path != nullptr ? std::fopen(path, "rb") : nullptr);
    if (file == nullptr) {
        SetResult(result, XMLParseErrorCannotOpenForReading, nullptr, nullptr);
        return XMLTreeNode();
    }
    try {
        std::string bytes;
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            bytes.append(buffer, n);
        if (std::ferror(file.get())) {
            SetResult(result, XMLParseErrorCannotOpenForReading, nullptr, nullptr);
            return XMLTreeNode();
        }
        if (bytes.empty()) {
            SetResult(result, XMLParseErrorEmptyFile, nullptr, nullptr);
            return XMLTreeNode();
        }
        const unsigned char* raw = reinterpret_cast<const unsigned char*>(bytes.data());
        XMLWideByteOrder order = XMLWideByteOrderNone;
        if (GetTreeOptions().m_guessWideCharacters)
            order = DetectWideText(raw, bytes.size());
        if (order != XMLWideByteOrderNone) {
            size_t start =
                (raw[0] == 0xFF && raw[1] == 0xFE) || (raw[0] == 0xFE && raw[1] == 0xFF) ? 2 : 0;
            std::u16string wide;
            wide.reserve(bytes.size() / 2);
            for (size_t i = start; i + 1 < bytes.size(); i += 2) {
                unsigned lo = order == XMLWideByteOrderLittleEndian ? raw[i] : raw[i + 1];
                unsigned hi = order == XMLWideByteOrderLittleEndian ? raw[i + 1] : raw[i];
                wide.push_back(static_cast<char16_t>(lo | (hi << 8)));
            }
            // The conversion stops at a 0 code unit, and an odd last byte makes no code unit:
            // either would silently cut the text, so both stand as a 0 byte where the converted
            // text ends, which is reported there like a 0 byte in a file of bytes.
            std::string text = WideToMultiByte(wide);
            if (wide.find(u'\0') != std::u16string::npos || (bytes.size() - start) % 2 != 0)
                text.push_back('\0');
            return ParseWholeText(text, rootName, result);
        }
        if (GetTreeOptions().m_guessWideCharacters && bytes.size() >= 3 && raw[0] == 0xEF &&
            raw[1] == 0xBB && raw[2] == 0xBF)
            bytes.erase(0, 3);
        // A journal left by a killed process reads as its complete records; other documents cut
        // off so are refused as before.
        CloseCutOffDocument(bytes, JournalName::Root);
        return ParseWholeText(bytes, rootName, result);
    } catch (const std::bad_alloc&) {
        SetResult(result, XMLParseErrorNoMemory, nullptr, nullptr);
        return XMLTreeNode();
    }
}

}  // namespace QEL
