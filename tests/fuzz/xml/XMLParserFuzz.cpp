// Feeds arbitrary bytes to the XML parser, the writer and the base64 decoder. Beyond
// crashes, hangs and sanitizer reports it checks that writing is stable: a written tree
// parses again, and soon into a tree that is written the same way.
#include "core/xml/Base64Codec.h"
#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLTreeNode.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace QEL;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // The first byte picks the tree options, the rest is the document.
  if (size == 0) return 0;
  SetTreeOptions(1 + data[0] % 3, (data[0] & 4) != 0, (data[0] & 8) == 0);
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  GuessCharEncoding(reinterpret_cast<const unsigned char*>(text.data()), text.size(), true);

  XMLParseResult result;
  XMLTreeNode tree = XMLTreeNode::ParseText(text.c_str(), nullptr, &result);
  if (!tree.IsEmpty()) {
    // A written tree must parse again. The first round may still drop texts of white space
    // only (they are layout to a reader that drops white space); from then on the text is
    // stable.
    XMLTreeNode again = XMLTreeNode::ParseText(tree.ToText(false).c_str(), nullptr, &result);
    if (again.IsEmpty()) __builtin_trap();
    std::string written = again.ToText(false);
    XMLTreeNode third = XMLTreeNode::ParseText(written.c_str(), nullptr, &result);
    if (third.IsEmpty() || third.ToText(false) != written) __builtin_trap();
    tree.ToText(true);
  }

  Base64Codec codec;
  size_t decodedSize = 0;
  int error = 0;
  codec.Decode(text.c_str(), &decodedSize, &error);
  return 0;
}
