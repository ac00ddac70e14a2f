#include "core/xml/XMLCharEncoding.h"

#include "core/xml/XMLEscape.h"

#include <cctype>
#include <cstring>

namespace QEL {

namespace {

XMLTreeOptions s_treeOptions;

// Length of a character by its lead byte, per encoding (the 0 byte ends the text).
size_t LeadByteLength(XMLCharEncoding encoding, unsigned char lead)
{
    if (lead == 0)
        return 0;
    switch (encoding) {
        case XMLCharEncodingSingleByte:
            return 1;
        case XMLCharEncodingShiftJIS:
            if (lead >= 129 && lead <= 159)
                return 2;
            if (lead >= 224 && lead <= 239)
                return 2;
            return 1;
        default:
            if (lead >= 194 && lead <= 223)
                return 2;
            if (lead >= 224 && lead <= 239)
                return 3;
            if (lead >= 240 && lead <= 244)
                return 4;
            return 1;
    }
}

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool StartsWithNoCase(const char* text, size_t length, const char* prefix)
{
    size_t n = std::strlen(prefix);
    if (length < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Walks the bytes as UTF-8 up to a 0 byte. Bytes that can never lead a UTF-8 character
// (stray continuation bytes, overlong leads, 245-255) make the text not UTF-8, so that a
// single-byte text with accented letters is not taken for UTF-8. A character cut off by
// the end of the sample is not held against the text.
bool IsValidUTF8(const unsigned char* bytes, size_t length)
{
    size_t i = 0;
    while (i < length && bytes[i] != 0) {
        unsigned char lead = bytes[i];
        if (lead >= 0x80 && lead < 0xC2)
            return false;
        if (lead > 0xF4)
            return false;
        size_t n = LeadByteLength(XMLCharEncodingUTF8, lead);
        for (size_t k = 1; k < n; ++k) {
            if (i + k >= length)
                return true;
            if (!IsContinuationByte(bytes[i + k]))
                return false;
        }
        i += n;
    }
    return true;
}

// Finds the value of the declaration's "encoding" attribute within the first 200 bytes.
bool FindDeclaredEncoding(const unsigned char* bytes, size_t length, const char*& value,
                          size_t& valueLength)
{
    const char* text = reinterpret_cast<const char*>(bytes);
    size_t n = length < 200 ? length : 200;
    const char* key = "encoding";
    size_t keyLength = std::strlen(key);
    for (size_t start = 0; start + keyLength <= n; ++start) {
        if (std::memcmp(text + start, key, keyLength) != 0)
            continue;
        size_t i = start + keyLength;
        while (i < n && IsBlank(bytes[i]))
            ++i;
        if (i >= n || text[i] != '=')
            continue;
        ++i;
        while (i < n && IsBlank(bytes[i]))
            ++i;
        if (i >= n || (text[i] != '"' && text[i] != '\''))
            continue;
        ++i;
        while (i < n && IsBlank(bytes[i]))
            ++i;
        value = text + i;
        valueLength = n - i;
        return true;
    }
    return false;
}

}  // namespace

int SetTreeOptions(int encoding, bool guessWideCharacters, bool dropWhiteSpace)
{
    s_treeOptions.m_guessWideCharacters = guessWideCharacters;
    s_treeOptions.m_dropWhiteSpace = dropWhiteSpace;
    if (encoding < XMLCharEncodingUTF8 || encoding > XMLCharEncodingShiftJIS)
        return 1;
    s_treeOptions.m_encoding = static_cast<XMLCharEncoding>(encoding);
    return 0;
}

const XMLTreeOptions& GetTreeOptions() { return s_treeOptions; }

size_t XMLCharLength(const char* text)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t n = LeadByteLength(s_treeOptions.m_encoding, bytes[0]);
    for (size_t k = 1; k < n; ++k) {
        if (bytes[k] == 0)
            return 1;
        if (s_treeOptions.m_encoding == XMLCharEncodingUTF8 && !IsContinuationByte(bytes[k]))
            return 1;
        // A Shift-JIS trail byte is 0x40-0xFC without 0x7F; anything else, markup included,
        // is a character of its own.
        if (s_treeOptions.m_encoding == XMLCharEncodingShiftJIS &&
            (bytes[k] < 0x40 || bytes[k] == 0x7F || bytes[k] > 0xFC))
            return 1;
    }
    return n;
}

XMLWideByteOrder DetectWideText(const unsigned char* bytes, size_t length)
{
    if (length < 2)
        return XMLWideByteOrderNone;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE)
        return XMLWideByteOrderLittleEndian;
    if (bytes[0] == 0xFE && bytes[1] == 0xFF)
        return XMLWideByteOrderBigEndian;
    // Without a mark: ASCII-range text in UTF-16 has a 0 byte in nearly every pair.
    size_t pairs = (length < 512 ? length : 512) / 2;
    size_t lowZero = 0, highZero = 0;
    for (size_t i = 0; i < pairs; ++i) {
        unsigned char first = bytes[2 * i], second = bytes[2 * i + 1];
        if (first != 0 && second == 0)
            ++highZero;
        if (first == 0 && second != 0)
            ++lowZero;
    }
    if (pairs >= 2 && highZero * 4 >= pairs * 3)
        return XMLWideByteOrderLittleEndian;
    if (pairs >= 2 && lowZero * 4 >= pairs * 3)
        return XMLWideByteOrderBigEndian;
    return XMLWideByteOrderNone;
}

int GuessCharEncoding(const unsigned char* bytes, size_t length, bool useDeclaration)
{
    if (bytes == nullptr || length < 25)
        return XMLCharEncodingNone;
    if (s_treeOptions.m_guessWideCharacters &&
        DetectWideText(bytes, length) != XMLWideByteOrderNone)
        return XMLCharEncodingNone;
    if (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return XMLCharEncodingUTF8;
    bool valid = IsValidUTF8(bytes, length);
    int guess = valid ? XMLCharEncodingUTF8 : XMLCharEncodingSingleByte;
    const char* value = nullptr;
    size_t valueLength = 0;
    if (useDeclaration && FindDeclaredEncoding(bytes, length, value, valueLength)) {
        if (StartsWithNoCase(value, valueLength, "utf-8") ||
            StartsWithNoCase(value, valueLength, "utf8"))
            return valid ? XMLCharEncodingUTF8 : XMLCharEncodingNone;
        if (StartsWithNoCase(value, valueLength, "shiftjis") ||
            StartsWithNoCase(value, valueLength, "shift-jis") ||
            StartsWithNoCase(value, valueLength, "sjis"))
            return XMLCharEncodingShiftJIS;
        return XMLCharEncodingSingleByte;
    }
    return guess;
}

std::string WideToMultiByte(const std::u16string& wide)
{
    bool utf8 = s_treeOptions.m_encoding == XMLCharEncodingUTF8;
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size() && wide[i] != 0; ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';
            continue;
        }
        if (!utf8) {
            out += c <= 0xFF ? static_cast<char>(c) : '?';
        } else {
            AppendUTF8(out, c);
        }
    }
    return out;
}

}  // namespace QEL
