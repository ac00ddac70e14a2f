// Base64 (the standard alphabet with "=" padding) for binary data inside XML text.
#pragma once

#include <cstddef>
#include <vector>

namespace QEL {

// Owns one output buffer that grows, never shrinks, and is reused by the next call; the
// results of Encode and Decode live in it until then.
class Base64Codec {
public:
    // The bytes as base64 text ending in a 0 byte; with format, a line feed follows every
    // 18 groups (72 characters).
    const char* Encode(const unsigned char* bytes, size_t length, bool format);

    // The number of bytes the text stands for (white space skipped, "=" not counted).
    // A character outside the alphabet sets error 19 and gives 0; a count of code
    // characters that is not a multiple of 4 sets error 18 and still gives the size.
    static size_t DecodedSize(const char* text, int* error);

    // Decodes into buffer, which must hold size bytes; true when exactly size bytes were
    // decoded. Errors: 19 invalid character, 21 more data than size, 20 data or "=" ending
    // inside a group or before size bytes. *decoded receives the bytes written so far.
    static bool DecodeInto(const char* text, unsigned char* buffer, size_t size, int* error,
                           size_t* decoded = nullptr);

    // The decoded bytes, or null on any error (error set) and for empty data. Partial data
    // is never handed back as a result.
    const unsigned char* Decode(const char* text, size_t* size, int* error);

    void FreeBuffer();

private:
    std::vector<unsigned char> m_buffer;
};

}  // namespace QEL
