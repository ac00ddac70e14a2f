#include "core/xml/XMLEscape.h"

#include "core/xml/XMLCharEncoding.h"

#include "os.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace QEL {

namespace {

struct XMLEntity {
    char m_character;
    const char* m_entity;  // without the leading & and the closing ;
};

const XMLEntity s_entities[] = {
    {'&', "amp"}, {'<', "lt"}, {'>', "gt"}, {'"', "quot"}, {'\'', "apos"}};

const XMLEntity* FindEntityFor(char c)
{
    for (const XMLEntity& entity : s_entities)
        if (entity.m_character == c)
            return &entity;
    return nullptr;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int DigitValue(char c, int base)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Writes the UTF-8 bytes of a code point (at most 0x10FFFF); returns the end of them.
char* WriteUTF8(char* out, char32_t c)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Writes the character of a reference in the current encoding; null when it cannot.
char* WriteCharacter(char* out, char32_t value)
{
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return nullptr;
    switch (GetTreeOptions().m_encoding) {
        case XMLCharEncodingSingleByte:
            if (value > 0xFF)
                return nullptr;
            *out = static_cast<char>(value);
            return out + 1;
        case XMLCharEncodingShiftJIS:
            if (value > 0x7F)
                return nullptr;
            *out = static_cast<char>(value);
            return out + 1;
        default:
            return WriteUTF8(out, value);
    }
}

// Reads the entity or reference that starts at the ampersand p and writes its character at
// *out, moving it on; returns the end of the entity, null when it is none. The character never
// takes more bytes than the reference: a UTF-8 character of n bytes needs a value that takes
// at least n + 3 characters to write as "&#" digits ";".
const char* ReadEntity(char*& out, const char* p, const char* end)
{
    const char* q = p + 1;
    if (q < end && *q == '#') {
        ++q;
        int base = 10;
        if (q < end && (*q == 'x' || *q == 'X')) {
            base = 16;
            ++q;
        }
        char32_t value = 0;
        int digits = 0;
        for (; q < end && *q != ';'; ++q) {
            int digit = DigitValue(*q, base);
            if (digit < 0)
                return nullptr;
            value = value * base + static_cast<char32_t>(digit);
            if (value > 0x10FFFF)
                return nullptr;
            ++digits;
        }
        if (q >= end || digits == 0)
            return nullptr;
        char* written = WriteCharacter(out, value);
        if (written == nullptr)
            return nullptr;
        out = written;
        return q + 1;
    }
    for (const XMLEntity& entity : s_entities) {
        size_t n = std::strlen(entity.m_entity);
        if (static_cast<size_t>(end - q) < n + 1 || q[n] != ';')
            continue;
        bool same = true;
        for (size_t i = 0; i < n && same; ++i)
            same = LowerAscii(q[i]) == entity.m_entity[i];
        if (same) {
            *out++ = entity.m_character;
            return q + n + 1;
        }
    }
    return nullptr;
}

}  // namespace

void AppendUTF8(std::string& out, char32_t c) { os::AppendUtf8(out, c); }

// Every character that is escaped is a single byte below 0x40, and no byte of a multi-byte
// character of the three encodings is (UTF-8 continuation bytes are 0x80 and up, Shift-JIS
// trail bytes 0x40 and up), so escaping byte by byte gives what escaping character by
// character gives, with no lookup of character lengths.
namespace {

bool NeedsEscape(char c) { return c == '&' || c == '<' || c == '>' || c == '"' || c == '\''; }

// The first character at or after p that is escaped, or end. Text rarely holds one (a body's
// base64 never does), so the scan goes sixteen bytes at a time where the processor allows.
const char* FindEscape(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i amp = _mm_set1_epi8('&'), lt = _mm_set1_epi8('<'), gt = _mm_set1_epi8('>');
    const __m128i quot = _mm_set1_epi8('"'), apos = _mm_set1_epi8('\'');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, amp), _mm_cmpeq_epi8(bytes, lt)),
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, gt), _mm_cmpeq_epi8(bytes, quot)),
                         _mm_cmpeq_epi8(bytes, apos)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (p < end && !NeedsEscape(*p))
        ++p;
    return p;
}

const XMLEntity& EntityFor(char c)
{
    const XMLEntity* entity = FindEntityFor(c);
    return *entity;
}

}  // namespace

bool XMLNeedsEscaping(const char* begin, const char* end) { return FindEscape(begin, end) != end; }

size_t XMLEscapedLength(const char* begin, const char* end)
{
    size_t length = static_cast<size_t>(end - begin);
    for (const char* p = FindEscape(begin, end); p < end; p = FindEscape(p + 1, end))
        length += std::strlen(EntityFor(*p).m_entity) + 1;
    return length;
}

char* WriteXMLEscaped(char* out, const char* begin, const char* end)
{
    const char* run = begin;
    for (const char* p = FindEscape(begin, end); p < end; p = FindEscape(p + 1, end)) {
        std::memcpy(out, run, static_cast<size_t>(p - run));
        out += p - run;
        const char* entity = EntityFor(*p).m_entity;
        size_t n = std::strlen(entity);
        *out++ = '&';
        std::memcpy(out, entity, n);
        out += n;
        *out++ = ';';
        run = p + 1;
    }
    std::memcpy(out, run, static_cast<size_t>(end - run));
    return out + (end - run);
}

size_t XMLEscapedLength(const char* text)
{
    return text != nullptr ? XMLEscapedLength(text, text + std::strlen(text)) : 0;
}

void AppendXMLEscaped(std::string& out, const char* text)
{
    if (text == nullptr)
        return;
    const char* end = text + std::strlen(text);
    size_t before = out.size();
    out.resize(before + XMLEscapedLength(text, end));
    WriteXMLEscaped(&out[before], text, end);
}

char* WriteXMLUnescaped(char* out, const char* begin, const char* end, const char** errorAt)
{
    const char* p = begin;
    while (p < end) {
        const char* amp =
            static_cast<const char*>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        if (amp == nullptr) {
            std::memcpy(out, p, static_cast<size_t>(end - p));
            return out + (end - p);
        }
        std::memcpy(out, p, static_cast<size_t>(amp - p));
        out += amp - p;
        p = ReadEntity(out, amp, end);
        if (p == nullptr) {
            if (errorAt != nullptr)
                *errorAt = amp;
            return nullptr;
        }
    }
    return out;
}

bool AppendXMLUnescaped(std::string& out, const char* begin, const char* end, const char** errorAt)
{
    const size_t before = out.size();
    out.resize(before + static_cast<size_t>(end - begin));
    char* written = WriteXMLUnescaped(&out[0] + before, begin, end, errorAt);
    if (written == nullptr) {
        out.resize(before);
        return false;
    }
    out.resize(static_cast<size_t>(written - out.data()));
    return true;
}

}  // namespace QEL
