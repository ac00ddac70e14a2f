#include "core/xml/Base64Codec.h"

#include "core/xml/XMLParseResult.h"

namespace QEL {

namespace {

const char s_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

enum Base64Class : signed char {
    Base64ClassInvalid = -1,
    Base64ClassSkip = -2,
    Base64ClassPad = -3,
    Base64ClassEnd = -4
};

struct Base64DecodeTable {
    signed char m_entries[256];
    Base64DecodeTable()
    {
        for (signed char& entry : m_entries)
            entry = Base64ClassInvalid;
        for (int i = 0; i < 64; ++i)
            m_entries[static_cast<unsigned char>(s_alphabet[i])] = static_cast<signed char>(i);
        m_entries[static_cast<unsigned char>('\t')] = m_entries[static_cast<unsigned char>('\n')] =
            Base64ClassSkip;
        m_entries[static_cast<unsigned char>('\r')] = m_entries[static_cast<unsigned char>(' ')] =
            Base64ClassSkip;
        m_entries[static_cast<unsigned char>('=')] = Base64ClassPad;
        m_entries[0] = Base64ClassEnd;
    }
    int operator[](char c) const { return m_entries[static_cast<unsigned char>(c)]; }
};

const Base64DecodeTable s_decodeTable;

void SetError(int* error, int value)
{
    if (error != nullptr)
        *error = value;
}

}  // namespace

const char* Base64Codec::Encode(const unsigned char* bytes, size_t length, bool format)
{
    size_t needed = (length + 2) / 3 * 4 + 1 + (format ? length / 54 + 1 : 0);
    if (m_buffer.size() < needed)
        m_buffer.resize(needed);
    char* out = reinterpret_cast<char*>(m_buffer.data());
    size_t groups = 0;
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        unsigned value = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        *out++ = s_alphabet[(value >> 18) & 63];
        *out++ = s_alphabet[(value >> 12) & 63];
        *out++ = s_alphabet[(value >> 6) & 63];
        *out++ = s_alphabet[value & 63];
        if (format && ++groups % 18 == 0)
            *out++ = '\n';
    }
    if (length - i == 1) {
        unsigned value = bytes[i] << 16;
        *out++ = s_alphabet[(value >> 18) & 63];
        *out++ = s_alphabet[(value >> 12) & 63];
        *out++ = '=';
        *out++ = '=';
    } else if (length - i == 2) {
        unsigned value = (bytes[i] << 16) | (bytes[i + 1] << 8);
        *out++ = s_alphabet[(value >> 18) & 63];
        *out++ = s_alphabet[(value >> 12) & 63];
        *out++ = s_alphabet[(value >> 6) & 63];
        *out++ = '=';
    }
    *out = 0;
    return reinterpret_cast<const char*>(m_buffer.data());
}

size_t Base64Codec::DecodedSize(const char* text, int* error)
{
    SetError(error, XMLParseErrorNone);
    size_t code = 0, pads = 0;
    for (const char* p = text; p != nullptr && *p != 0; ++p) {
        int entry = s_decodeTable[*p];
        if (entry == Base64ClassInvalid) {
            SetError(error, XMLParseErrorBase64Character);
            return 0;
        }
        if (entry == Base64ClassPad)
            ++pads;
        else if (entry >= 0)
            ++code;
    }
    if ((code + pads) % 4 != 0)
        SetError(error, XMLParseErrorBase64Length);
    return code * 3 / 4;
}

bool Base64Codec::DecodeInto(const char* text, unsigned char* buffer, size_t size, int* error,
                             size_t* decoded)
{
    SetError(error, XMLParseErrorNone);
    size_t out = 0;
    unsigned group = 0;
    int count = 0, pads = 0;
    auto finish = [&](int code) {
        SetError(error, code);
        if (decoded != nullptr)
            *decoded = out;
        return code == XMLParseErrorNone;
    };
    for (const char* p = text; p != nullptr && *p != 0; ++p) {
        // Whole groups of four code characters, the bulk of any text, go at once; a group
        // with anything else in it takes the careful path below, one character at a time.
        if (count == 0 && out + 3 <= size) {
            const int a = s_decodeTable[p[0]];
            const int b = a >= 0 ? s_decodeTable[p[1]] : -1;
            const int c = b >= 0 ? s_decodeTable[p[2]] : -1;
            const int d = c >= 0 ? s_decodeTable[p[3]] : -1;
            if (d >= 0) {
                const unsigned whole = (static_cast<unsigned>(a) << 18) |
                                       (static_cast<unsigned>(b) << 12) |
                                       (static_cast<unsigned>(c) << 6) | static_cast<unsigned>(d);
                buffer[out] = static_cast<unsigned char>(whole >> 16);
                buffer[out + 1] = static_cast<unsigned char>(whole >> 8);
                buffer[out + 2] = static_cast<unsigned char>(whole);
                out += 3;
                p += 3;
                continue;
            }
        }
        int entry = s_decodeTable[*p];
        if (entry == Base64ClassSkip)
            continue;
        if (entry == Base64ClassInvalid)
            return finish(XMLParseErrorBase64Character);
        if (entry == Base64ClassPad) {
            if (count == 0)
                break;  // "=" right at the end of a group ends the data
            ++pads;
            entry = 0;
        } else if (pads > 0) {
            return finish(XMLParseErrorBase64Character);  // data after the padding of its group
        }
        group = (group << 6) | static_cast<unsigned>(entry);
        if (++count < 4)
            continue;
        int bytes = 3 - pads;
        if (bytes < 1)
            return finish(XMLParseErrorBase64Truncated);
        if (out + static_cast<size_t>(bytes) > size)
            return finish(XMLParseErrorBase64Overflow);
        buffer[out++] = static_cast<unsigned char>(group >> 16);
        if (bytes > 1)
            buffer[out++] = static_cast<unsigned char>(group >> 8);
        if (bytes > 2)
            buffer[out++] = static_cast<unsigned char>(group);
        group = 0;
        count = 0;
        if (pads > 0)
            break;
    }
    if (count != 0 || out < size)
        return finish(XMLParseErrorBase64Truncated);
    return finish(XMLParseErrorNone);
}

const unsigned char* Base64Codec::Decode(const char* text, size_t* size, int* error)
{
    if (size != nullptr)
        *size = 0;
    int sizeError = XMLParseErrorNone;
    size_t length = DecodedSize(text, &sizeError);
    SetError(error, sizeError);
    if (sizeError != XMLParseErrorNone)
        return nullptr;
    if (m_buffer.size() < length + 1)
        m_buffer.resize(length + 1);
    // Decoding runs even for no data, so that a malformed group standing for no byte
    // is still reported.
    if (!DecodeInto(text, m_buffer.data(), length, error) || length == 0)
        return nullptr;
    m_buffer[length] = 0;
    if (size != nullptr)
        *size = length;
    return m_buffer.data();
}

void Base64Codec::FreeBuffer() { std::vector<unsigned char>().swap(m_buffer); }

}  // namespace QEL
