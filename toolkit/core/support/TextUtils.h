#pragma once
// Formatting and null-safe comparisons of texts.

#include <string>

namespace QEL {

// Formats like printf. Output beyond 1,024 characters is cut off there; an encoding error
// gives an empty text.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));

// 1 when the text starts with start (an empty start always does), else 0; 0 for a null start.
int StartsWith(const std::string& text, const char* start);
// True when the text ends with ending (an empty ending always does); false for a null ending.
bool EndsWith(const std::string& text, const char* ending);

// Case-sensitive equality; false when either is null.
bool IsEqualStrings(const char* a, const char* b);
// Equality ignoring letter case; false when either is null.
bool IsEqualNoCase(const char* a, const char* b);
// Equality of the first count characters ignoring letter case (a shorter string compares up
// to its end); false when either is null.
bool IsEqualNoCaseN(const char* a, const char* b, int count);

}  // namespace QEL
