// Serializing XMLTreeNode trees to text and files. Text and attribute values are always
// escaped, so whatever a caller stores comes back unchanged through the parser.
#include "core/xml/XMLTreeNode.h"

#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLEscape.h"
#include "core/xml/XMLTreeNodeData.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace QEL {

// Walks a tree and writes it to an output, which takes the pieces. The output may stop the
// walk (Stopped) once it has seen enough.
// The tree's friend, which reaches the data behind a child's handle.
class XMLTreeWriter {
public:
  static const XMLTreeNodeData& DataOf(const XMLTreeNode& node) { return *node.m_data; }
};

template <typename Output>
class XMLTreeWalk {
public:
  XMLTreeWalk(Output& output, bool format) : m_output(output), m_format(format) {}

  // The nodes reached so far.
  size_t Nodes() const { return m_nodes; }

  // Writes the node and everything below it. The open elements are kept on an explicit
  // stack, so a tree of any depth is written without recursion.
  void WriteNode(const XMLTreeNodeData& top)
  {
    std::vector<OpenNode> open;
    Open(top, 0, open);
    while (!open.empty() && !m_output.Stopped()) {
      OpenNode& current = open.back();
      if (current.m_next == current.m_node->m_order.size()) {
        if (current.m_hasEndTag) {
          Indent(current.m_level - 1);
          Put("</", 2);
          Put(current.m_node->m_name);
          Put(">", 1);
          EndLine();
        }
        open.pop_back();
        continue;
      }
      const XMLTreeNodeData& node = *current.m_node;
      const XMLTreeOrderEntry& entry = node.m_order[current.m_next++];
      int level = current.m_level;
      switch (entry.m_kind) {
        case XMLContentKindChild: Open(XMLTreeWriter::DataOf(node.m_children[entry.m_index]), level, open); break;
        case XMLContentKindText:
          Indent(level);
          PutText(node.m_texts[entry.m_index]);
          EndLine();
          break;
        case XMLContentKindClear: {
          const XMLTreeClear& clear = node.m_clears[entry.m_index];
          Indent(level);
          Put(clear.m_openTag, std::strlen(clear.m_openTag));
          Put(clear.m_value);
          Put(clear.m_closeTag, std::strlen(clear.m_closeTag));
          EndLine();
          break;
        }
        default: break;
      }
    }
  }

private:
  // A node whose contents are being written: the next entry of its order, the level of
  // its contents, and whether an end tag follows them.
  struct OpenNode {
    const XMLTreeNodeData* m_node;
    size_t m_next;
    int m_level;
    bool m_hasEndTag;
  };

  // Writes the start of a node at a level and, when it has contents to write, puts it on
  // the stack of open nodes.
  void Open(const XMLTreeNodeData& node, int level, std::vector<OpenNode>& open)
  {
    ++m_nodes;
    if (!node.m_hasName) {
      open.push_back(OpenNode{&node, 0, level, false});
      return;
    }
    Indent(level);
    if (node.m_isDeclaration)
      Put("<?", 2);
    else
      Put("<", 1);
    Put(node.m_name);
    bool hasWrittenAttributes = false;
    for (const XMLTreeAttribute& attribute : node.m_attributes) {
      if (attribute.m_name.empty()) continue;
      hasWrittenAttributes = true;
      Put(" ", 1);
      Put(attribute.m_name);
      if (!attribute.m_hasValue) continue;
      Put("=\"", 2);
      PutEscaped(attribute.m_value.data(), attribute.m_value.data() + attribute.m_value.size());
      Put("\"", 1);
    }
    if (node.m_isDeclaration) {
      // A declaration has no end tag: its contents follow at its own level.
      Put("?>", 2);
      EndLine();
      open.push_back(OpenNode{&node, 0, level, false});
      return;
    }
    if (node.m_order.empty()) {
      Put("/>", 2);
      EndLine();
      return;
    }
    // "<PRE>" and "<Script>" open clear sections; an element of that name keeps a blank
    // before ">" so that it is read back as an element.
    if (!hasWrittenAttributes && XMLIsClearOpenTagName(node.m_name.data(), node.m_name.size())) Put(" ", 1);
    Put(">", 1);
    EndLine();
    open.push_back(OpenNode{&node, 0, level + 1, true});
  }

  void Put(const char* text, size_t n) { m_output.Put(text, n); }
  void Put(const std::string& text) { m_output.Put(text.data(), text.size()); }
  void PutEscaped(const char* begin, const char* end) { m_output.PutEscaped(begin, end); }

  // A text is written escaped, the white space at its edges as character references.
  void PutText(const std::string& text)
  {
    const char* data = text.data();
    size_t begin = 0, end = text.size();
    if (!XMLFindTextCore(data, begin, end)) return PutEscaped(data, data + end);
    for (size_t i = 0; i < begin; ++i) PutCharacterReference(data[i]);
    PutEscaped(data + begin, data + end);
    for (size_t i = end; i < text.size(); ++i) PutCharacterReference(data[i]);
  }

  void PutCharacterReference(char c)
  {
    Put("&#", 2);
    Put(std::to_string(static_cast<int>(c)));
    Put(";", 1);
  }

  void Indent(int level)
  {
    if (m_format) m_output.PutTabs(static_cast<size_t>(level));
  }

  void EndLine()
  {
    if (m_format) Put("\n", 1);
  }

  Output& m_output;
  bool m_format;
  size_t m_nodes = 0;
};

// Writes into a buffer of a given capacity while the text fits, and measures it (without a
// buffer it only measures); stops once the text passes a length.
class XMLBufferOutput {
public:
  XMLBufferOutput(char* out, size_t capacity, size_t stopAfter)
    : m_out(out), m_capacity(capacity), m_stopAfter(stopAfter)
  {
  }

  size_t Length() const { return m_length; }
  // Whether the whole text is in the buffer.
  bool Fits() const { return m_out != nullptr && m_length <= m_capacity && !Stopped(); }
  bool Stopped() const { return m_length > m_stopAfter; }

  void Put(const char* text, size_t n)
  {
    if (HasRoom(n)) std::memcpy(m_out + m_length, text, n);
    m_length += n;
  }

  // An escaped character takes at most six ("&quot;"): with room for that the piece is
  // written at once, otherwise measured first.
  void PutEscaped(const char* begin, const char* end)
  {
    const size_t length = static_cast<size_t>(end - begin);
    if (length <= m_capacity / 6 && HasRoom(6 * length)) {
      m_length = static_cast<size_t>(WriteXMLEscaped(m_out + m_length, begin, end) - m_out);
      return;
    }
    const size_t escaped = XMLEscapedLength(begin, end);
    if (HasRoom(escaped)) WriteXMLEscaped(m_out + m_length, begin, end);
    m_length += escaped;
  }

  void PutTabs(size_t n)
  {
    if (HasRoom(n)) std::memset(m_out + m_length, '\t', n);
    m_length += n;
  }

private:
  // Whether n more characters go into the buffer. Once one piece does not, the length only
  // grows, so no later piece does either.
  bool HasRoom(size_t n) const { return m_out != nullptr && n <= m_capacity && m_length <= m_capacity - n; }

  char* m_out;
  size_t m_capacity;
  size_t m_stopAfter;
  size_t m_length = 0;
};

// Writes into blocks of memory made as they are needed, to be copied once into a text of the
// length found.
class XMLBlockOutput {
public:
  size_t Length() const { return m_written + static_cast<size_t>(m_cursor - m_blockStart); }
  bool Stopped() const { return false; }

  // Copies the text written into out, which has room for Length() characters.
  void CopyTo(char* out) const
  {
    for (const Piece& piece : m_pieces) {
      std::memcpy(out, piece.m_begin, piece.m_length);
      out += piece.m_length;
    }
    if (m_cursor != m_blockStart) std::memcpy(out, m_blockStart, static_cast<size_t>(m_cursor - m_blockStart));
  }

  void Put(const char* text, size_t n)
  {
    std::memcpy(Room(n), text, n);
    m_cursor += n;
  }

  // An escaped character takes at most six ("&quot;"): a piece that fits a block so is written
  // at once, a longer one measured first.
  void PutEscaped(const char* begin, const char* end)
  {
    const size_t length = static_cast<size_t>(end - begin);
    const size_t room = length <= s_blockBytes / 6 ? 6 * length : XMLEscapedLength(begin, end);
    m_cursor = WriteXMLEscaped(Room(room), begin, end);
  }

  void PutTabs(size_t n)
  {
    std::memset(Room(n), '\t', n);
    m_cursor += n;
  }

private:
  static constexpr size_t s_blockBytes = size_t(1) << 20;

  struct Piece {
    const char* m_begin;
    size_t m_length;
  };

  // Room for n more characters at m_cursor, in a new block when the current one is full (or
  // there is none yet, so that even an empty piece has a place).
  char* Room(size_t n)
  {
    if (m_cursor == nullptr || static_cast<size_t>(m_limit - m_cursor) < n) NextBlock(n);
    return m_cursor;
  }

  void NextBlock(size_t n)
  {
    const size_t used = static_cast<size_t>(m_cursor - m_blockStart);
    if (used != 0) m_pieces.push_back(Piece{m_blockStart, used});
    m_written += used;
    const size_t size = n > s_blockBytes ? n : s_blockBytes;
    m_blocks.emplace_back(new char[size]);
    m_blockStart = m_cursor = m_blocks.back().get();
    m_limit = m_blockStart + size;
  }

  char* m_blockStart = nullptr;
  char* m_cursor = nullptr;
  char* m_limit = nullptr;
  size_t m_written = 0;  // in the pieces
  std::vector<Piece> m_pieces;  // the blocks filled, in order
  std::vector<std::unique_ptr<char[]>> m_blocks;
};

// A text of up to this length is measured whole and written again into a text of exactly its
// size, one allocation touched once (on a loaded machine fresh memory costs more than a second
// walk over a tree of that size). So is a longer text of long pieces, where the walk costs
// little beside the characters. A longer text of many small nodes is written once into blocks
// and copied: such a tree's nodes, out of the processor's caches, cost more to walk again
// than the copy and its memory.
constexpr size_t s_measuredTextLength = size_t(8) << 20;
constexpr size_t s_longPieceLength = 100;  // characters a node, on average

std::string XMLTreeNode::ToText(bool format) const
{
  std::string text;
  if (m_data == nullptr) return text;
  format = format && GetTreeOptions().m_dropWhiteSpace;
  // A short text (a journal record) is written at once into a buffer here.
  char buffer[4096];
  XMLBufferOutput first(buffer, sizeof buffer, s_measuredTextLength);
  XMLTreeWalk<XMLBufferOutput> firstWalk(first, format);
  firstWalk.WriteNode(*m_data);
  if (first.Fits()) {
    text.assign(buffer, first.Length());
    return text;
  }
  if (first.Stopped() && first.Length() < s_longPieceLength * firstWalk.Nodes()) {
    XMLBlockOutput blocks;
    XMLTreeWalk<XMLBlockOutput>(blocks, format).WriteNode(*m_data);
    text.resize(blocks.Length());
    blocks.CopyTo(&text[0]);
    return text;
  }
  size_t length = first.Length();
  if (first.Stopped()) {
    XMLBufferOutput measure(nullptr, 0, static_cast<size_t>(-1));
    XMLTreeWalk<XMLBufferOutput>(measure, format).WriteNode(*m_data);
    length = measure.Length();
  }
  text.resize(length);
  XMLBufferOutput output(&text[0], text.size(), static_cast<size_t>(-1));
  XMLTreeWalk<XMLBufferOutput>(output, format).WriteNode(*m_data);
  return text;
}

int XMLTreeNode::WriteFile(const char* path, const char* encodingName, bool format) const
{
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(path != nullptr ? std::fopen(path, "wb") : nullptr);
  if (file == nullptr) return XMLParseErrorCannotOpenForWriting;
  bool hasDeclaration = IsDeclaration() || (GetName() == nullptr && GetChild(0).IsDeclaration());
  std::string header;
  XMLCharEncoding encoding = GetTreeOptions().m_encoding;
  if (encoding == XMLCharEncodingUTF8) header = "\xEF\xBB\xBF";
  if (!hasDeclaration) {
    const char* name = encoding == XMLCharEncodingUTF8       ? "utf-8"
                       : encoding == XMLCharEncodingShiftJIS ? "SHIFT-JIS"
                       : encodingName != nullptr             ? encodingName
                                                             : "ISO-8859-1";
    header += "<?xml version=\"1.0\" encoding=\"";
    AppendXMLEscaped(header, name);
    header += "\"?>\n";
  }
  std::string text;
  try {
    text = ToText(format);
  } catch (const std::bad_alloc&) {
    return XMLParseErrorNoMemory;
  }
  bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
            std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  ok = std::fclose(file.release()) == 0 && ok;
  return ok ? XMLParseErrorNone : XMLParseErrorWriteFailed;
}

}  // namespace QEL
