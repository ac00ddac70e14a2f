// Entity escaping of text and attribute values, and its reverse.
#pragma once

#include <cstddef>
#include <string>

namespace QEL {

// Appends text with each of & < > " ' replaced by its entity; multi-byte characters (by
// the current encoding) are copied whole.
void AppendXMLEscaped(std::string& out, const char* text);
size_t XMLEscapedLength(const char* text);
// The same for [begin, end): the length of the escaped form, and writing it at out, which
// must have room for that length; returns the end of what was written.
size_t XMLEscapedLength(const char* begin, const char* end);
// Whether [begin, end) holds a character written as an entity.
bool XMLNeedsEscaping(const char* begin, const char* end);
char* WriteXMLEscaped(char* out, const char* begin, const char* end);

// Appends the unescaped form of [begin, end) to out. Named entities are matched ignoring
// case; decimal and hexadecimal character references give their character in the current
// encoding (UTF-8 bytes for UTF-8). An unknown entity, a reference without ";", digits or
// a character the encoding can hold, or the character 0 fails: false, with *errorAt set
// to the ampersand.
bool AppendXMLUnescaped(std::string& out, const char* begin, const char* end, const char** errorAt);
// The same written at out, which must have room for end - begin characters: the unescaped form
// is never longer. Returns the end of what was written, or null on failure.
char* WriteXMLUnescaped(char* out, const char* begin, const char* end, const char** errorAt);

// Appends the UTF-8 bytes of a code point (at most 0x10FFFF).
void AppendUTF8(std::string& out, char32_t codePoint);

}  // namespace QEL
