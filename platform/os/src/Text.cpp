#include "os.h"

#include <strings.h>

namespace os {

int CompareNoCase(const char* a, const char* b)
{
    return strcasecmp(a, b);
}

int CompareNoCaseN(const char* a, const char* b, std::size_t count)
{
    return strncasecmp(a, b, count);
}

bool IsTextUnicode(const void* bytes, std::size_t size)
{
    if (!bytes || size < 2)
        return false;
    const auto* data = static_cast<const unsigned char*>(bytes);
    if (data[0] == 0xFF && data[1] == 0xFE)
        return true;
    if (size % 2 != 0)
        return false;
    // Latin text in UTF-16LE has a zero high byte in most code units and few zero low bytes.
    std::size_t units = size / 2, zeroHigh = 0, zeroLow = 0;
    for (std::size_t i = 0; i < units; ++i) {
        zeroLow += data[2 * i] == 0;
        zeroHigh += data[2 * i + 1] == 0;
    }
    return zeroHigh * 2 > units && zeroLow * 4 < units;
}

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool WideToMultiByte(const char16_t* text, std::size_t count, std::string& utf8)
{
    utf8.clear();
    if (!text)
        return count == 0;
    utf8.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
            char32_t c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                         (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            AppendUtf8(utf8, c);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(utf8, 0xFFFD);
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    return true;
}

}  // namespace os
