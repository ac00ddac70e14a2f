// Character encodings of the XML document library and its process-wide tree options.
#pragma once

#include <cstddef>
#include <string>

namespace QEL {

enum XMLCharEncoding {
    XMLCharEncodingNone = 0,  // no guess could be made
    XMLCharEncodingUTF8 = 1,
    XMLCharEncodingSingleByte = 2,  // ISO-8859-1
    XMLCharEncodingShiftJIS = 3
};

struct XMLTreeOptions {
    XMLCharEncoding m_encoding = XMLCharEncodingUTF8;
    bool m_guessWideCharacters = true;
    bool m_dropWhiteSpace = true;
};

// Sets the three process-wide tree options. An encoding other than 1, 2 or 3 leaves the
// encoding unchanged (the other two options are still set) and returns 1; otherwise 0.
int SetTreeOptions(int encoding, bool guessWideCharacters, bool dropWhiteSpace);
const XMLTreeOptions& GetTreeOptions();

// Length of the character that starts at text, by the lead-byte table of the current
// encoding. Never steps over a 0 byte, and a lead byte not followed by valid trail bytes
// counts as one byte, so that a walk over malformed text stays inside the text and never
// swallows the markup that follows.
size_t XMLCharLength(const char* text);

enum XMLWideByteOrder {
    XMLWideByteOrderNone = 0,
    XMLWideByteOrderLittleEndian,
    XMLWideByteOrderBigEndian
};

// Whether the bytes look like UTF-16 text, and in which byte order: a byte-order mark, or
// mostly zero high bytes. Stands in for the platform's statistical test.
XMLWideByteOrder DetectWideText(const unsigned char* bytes, size_t length);

// Guesses the encoding of a file from its first bytes: 0 (no guess), 1, 2 or 3.
// With useDeclaration the "encoding" attribute of the XML declaration is taken into account.
int GuessCharEncoding(const unsigned char* bytes, size_t length, bool useDeclaration);

// Converts UTF-16 text to UTF-8 when the encoding option is UTF-8, and to ISO-8859-1
// otherwise ('?' for a character it cannot hold, and for an unpaired surrogate).
// Stops at a 0 code unit.
std::string WideToMultiByte(const std::u16string& wide);

}  // namespace QEL
