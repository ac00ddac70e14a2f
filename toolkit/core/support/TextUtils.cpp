#include "core/support/TextUtils.h"

#include <os.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace QEL {

namespace {
constexpr int kFormatBufferSize = 1024;
}

std::string FormatString(const char* format, ...)
{
    // One more than the longest result, for the terminating zero, so that a result of exactly
    // 1,024 characters comes back whole.
    char buffer[kFormatBufferSize + 1] = {};
    if (!format)
        return std::string();
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    // vsnprintf answers the length the whole result would have had; longer output is cut at
    // the buffer's end rather than passed on as a length.
    if (length < 0)
        return std::string();
    return std::string(
        buffer, static_cast<std::size_t>(length < kFormatBufferSize ? length : kFormatBufferSize));
}

int StartsWith(const std::string& text, const char* start)
{
    return start && text.find(start) == 0 ? 1 : 0;
}

bool EndsWith(const std::string& text, const char* ending)
{
    if (!ending)
        return false;
    std::size_t length = std::strlen(ending);
    if (length > text.size())
        return false;
    return text.rfind(ending) == text.size() - length;
}

bool IsEqualStrings(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

bool IsEqualNoCase(const char* a, const char* b) { return a && b && os::CompareNoCase(a, b) == 0; }

bool IsEqualNoCaseN(const char* a, const char* b, int count)
{
    return a && b && os::CompareNoCaseN(a, b, count > 0 ? static_cast<std::size_t>(count) : 0) == 0;
}

}  // namespace QEL
