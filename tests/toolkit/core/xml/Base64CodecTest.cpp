// Base64 encoding and decoding of binary data.
#include "core/xml/Base64Codec.h"
#include "core/xml/XMLParseResult.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QEL {
namespace {

std::string Decoded(Base64Codec& codec, const char* text, int* error)
{
  size_t size = 0;
  const unsigned char* bytes = codec.Decode(text, &size, error);
  return bytes != nullptr ? std::string(reinterpret_cast<const char*>(bytes), size) : std::string("<null>");
}

TEST(Base64CodecTest, KnownTexts)
{
  Base64Codec codec;
  const unsigned char abc[] = {'a', 'b', 'c'};
  EXPECT_STREQ(codec.Encode(abc, 3, false), "YWJj");
  EXPECT_STREQ(codec.Encode(abc, 2, false), "YWI=");
  EXPECT_STREQ(codec.Encode(abc, 1, false), "YQ==");
  EXPECT_STREQ(codec.Encode(abc, 0, false), "");
  int error = -1;
  EXPECT_EQ(Decoded(codec, "YQ==", &error), "a");
  EXPECT_EQ(error, XMLParseErrorNone);
  EXPECT_EQ(Decoded(codec, " YW\r\nJj\t", &error), "abc");
}

TEST(Base64CodecTest, FormattedDataOfEverySizeRoundTrips)
{
  Base64Codec encoder, decoder;
  for (size_t n = 1; n <= 800; n += 7) {
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>((i * 131 + n) & 0xFF);
    std::string text = encoder.Encode(bytes.data(), n, true);
    for (size_t line = 0; line * 73 + 72 < text.size(); ++line) ASSERT_EQ(text[line * 73 + 72], '\n') << n;
    int error = -1;
    size_t size = 0;
    const unsigned char* decoded = decoder.Decode(text.c_str(), &size, &error);
    ASSERT_NE(decoded, nullptr) << n;
    EXPECT_EQ(error, XMLParseErrorNone);
    EXPECT_EQ(std::vector<unsigned char>(decoded, decoded + size), bytes);
  }
}

struct MalformedCase {
  const char* m_text;
  int m_error;
};

// Malformed data is an error and gives no bytes: partial data is never taken for the whole.
TEST(Base64CodecTest, MalformedTextIsRefused)
{
  const MalformedCase cases[] = {
    {"YWJjYQ", XMLParseErrorBase64Length},
    {"YQ=", XMLParseErrorBase64Length},
    {"YW!j", XMLParseErrorBase64Character},
    {"YQ=A", XMLParseErrorBase64Character},
    {"Y===", XMLParseErrorBase64Truncated},
    {"YQ==YWJj", XMLParseErrorBase64Truncated},
  };
  Base64Codec codec;
  for (const MalformedCase& c : cases) {
    int error = 0;
    EXPECT_EQ(Decoded(codec, c.m_text, &error), "<null>") << c.m_text;
    EXPECT_EQ(error, c.m_error) << c.m_text;
  }
}

TEST(Base64CodecTest, DecodeIntoReportsOverflowAndShortData)
{
  unsigned char buffer[4] = {};
  int error = 0;
  size_t decoded = 0;
  EXPECT_FALSE(Base64Codec::DecodeInto("YWJjYWJj", buffer, 4, &error, &decoded));
  EXPECT_EQ(error, XMLParseErrorBase64Overflow);
  EXPECT_FALSE(Base64Codec::DecodeInto("YWJjYQ", buffer, 4, &error, &decoded));
  EXPECT_EQ(error, XMLParseErrorBase64Truncated);
  EXPECT_EQ(decoded, 3u);
  EXPECT_FALSE(Base64Codec::DecodeInto("YQ==", buffer, 2, &error, &decoded));
  EXPECT_EQ(error, XMLParseErrorBase64Truncated);
  // Whole groups before a line break decode at once; a bad character after them still stops it.
  unsigned char wide[6] = {};
  EXPECT_FALSE(Base64Codec::DecodeInto("YWJj\nYW!j", wide, 6, &error, &decoded));
  EXPECT_EQ(error, XMLParseErrorBase64Character);
  EXPECT_EQ(decoded, 3u);
  EXPECT_TRUE(Base64Codec::DecodeInto("YWI=", buffer, 2, &error, &decoded));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 2), "ab");
  EXPECT_EQ(Base64Codec::DecodedSize("YW Jj\nYQ==", &error), 4u);
  EXPECT_EQ(error, XMLParseErrorNone);
}

}  // namespace
}  // namespace QEL
