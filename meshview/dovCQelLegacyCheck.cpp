// A pass over a legacy poly-data file that reads every section the way the toolkit's
// reader will, without keeping the data: each count is held against the bytes that remain
// before anything is read, and each id and offset against what the file has.
#include "dovCQelLegacyCheck.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include <vtkCellArray.h>
#include <vtkCellData.h>
#include <vtkDataArray.h>
#include <vtkFieldData.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>

namespace
{
// How one value of a data type is written.
struct ValueType
{
  bool integer = false;
  bool bit = false;
  int bytes = 0; // in a binary file
  // The integers the toolkit's reader keeps as written in a text file: past them it reads a
  // wrapped or unset value without a word.
  long long lowest = std::numeric_limits<long long>::min();
  long long highest = std::numeric_limits<long long>::max();
};

bool valueTypeOf(std::string name, ValueType& type)
{
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  constexpr long long s_int64Lowest = std::numeric_limits<long long>::min();
  constexpr long long s_int64Highest = std::numeric_limits<long long>::max();
  struct Entry
  {
    const char* name;
    bool integer;
    int bytes;
    long long lowest;
    long long highest;
  };
  // "long" is left out: its size in a binary file depends on the machine that wrote it. Ids
  // are read into 64 bits whatever their size in a binary file.
  static const Entry s_types[] = {
    {"unsigned_char", true, 1, 0, 255},
    {"char", true, 1, -128, 127},
    {"signed_char", true, 1, -128, 127},
    {"unsigned_short", true, 2, 0, 65535},
    {"short", true, 2, -32768, 32767},
    {"unsigned_int", true, 4, 0, 4294967295LL},
    {"int", true, 4, -2147483648LL, 2147483647LL},
    {"vtkidtype", true, 4, s_int64Lowest, s_int64Highest},
    {"vtktypeint32", true, 4, -2147483648LL, 2147483647LL},
    {"vtktypeuint32", true, 4, 0, 4294967295LL},
    {"vtktypeint64", true, 8, s_int64Lowest, s_int64Highest},
    {"vtktypeuint64", true, 8, 0, s_int64Highest},
    {"float", false, 4, 0, 0},
    {"double", false, 8, 0, 0},
  };
  type = {};
  if (name == "bit")
  {
    type.integer = true;
    type.bit = true;
    return true;
  }
  for (const Entry& entry : s_types)
    if (name == entry.name)
    {
      type.integer = entry.integer;
      type.bytes = entry.bytes;
      type.lowest = entry.lowest;
      type.highest = entry.highest;
      return true;
    }
  return false;
}

class LegacyScanner
{
public:
  explicit LegacyScanner(const std::string& text) : m_text(text) {}

  bool Scan()
  {
    std::string line;
    // The version says how cells are written: a line without one leaves the toolkit's reader
    // guessing, so it is refused.
    int major = 0;
    int minor = 0;
    if (!Line(line) || line.compare(0, 22, "# vtk DataFile Version") != 0 ||
        std::sscanf(line.c_str() + 22, " %d.%d", &major, &minor) != 2 || line.find('\0') != std::string::npos)
      return false;
    m_newCells = major >= 5;
    if (!Line(line)) // the header
      return false;
    if (!Line(line))
      return false;
    const std::string format = Lower(Trimmed(line));
    if (format != "ascii" && format != "binary")
      return false;
    m_binary = format == "binary";
    std::string word;
    if (!Keyword(word) || word != "dataset" || !Keyword(word) || word != "polydata")
      return false;

    // Sections of the data set, then of its point and cell data.
    uint64_t attributeCount = 0;
    bool inAttributes = false;
    while (Keyword(word))
    {
      if (word == "point_data" || word == "cell_data")
      {
        uint64_t n = 0;
        if (!Count(n))
          return false;
        (word == "point_data" ? m_pointDataCount : m_cellDataCount) = n;
        attributeCount = n;
        inAttributes = true;
      }
      else if (word == "field")
      {
        if (!Field(inAttributes ? attributeCount : std::numeric_limits<uint64_t>::max()))
          return false;
      }
      else if (inAttributes)
      {
        if (!Attribute(word, attributeCount))
          return false;
      }
      else if (word == "points")
      {
        uint64_t n = 0;
        ValueType type;
        if (!Count(n) || !Type(type) || !ArrayValues(type, Product(n, 3), nullptr, 3))
          return false;
        m_points = n;
      }
      else if (word == "vertices" || word == "lines" || word == "polygons" || word == "triangle_strips")
      {
        if (!(m_newCells ? Cells() : LegacyCells()))
          return false;
      }
      else
        return false;
    }
    if (m_at < m_text.size())
      return false; // something that is not a keyword
    const bool idsExist = !m_anyId || m_largestId < static_cast<double>(m_points);
    const bool pointDataFits = m_pointDataCount < 0 || static_cast<uint64_t>(m_pointDataCount) == m_points;
    const bool cellDataFits = m_cellDataCount < 0 || static_cast<uint64_t>(m_cellDataCount) == m_cells;
    return idsExist && pointDataFits && cellDataFits;
  }

private:
  using Visit = std::function<bool(double)>;

  static std::string Lower(std::string text)
  {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  }

  static std::string Trimmed(const std::string& text)
  {
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  }

  // A count that no file of this size can hold gives the largest value, which no check passes.
  static uint64_t Product(uint64_t a, uint64_t b)
  {
    return b != 0 && a > std::numeric_limits<uint64_t>::max() / b ? std::numeric_limits<uint64_t>::max() : a * b;
  }

  size_t Remaining() const { return m_text.size() - m_at; }

  // Whether a real of a type written with `bytes` comes back from the toolkit's writer as
  // it went in. That writer puts a double out with 11 significant digits, which carries the
  // few largest ones past the largest double, so they would read back as infinite; a text
  // value beyond a float's range leaves a float array unset. Floats are written with fewer
  // digits, whose rounding stays within the range.
  static bool RealWritesBack(double value, int bytes, const std::string* token)
  {
    if (!std::isfinite(value))
      return false;
    if (bytes == 4 && token)
      return std::isfinite(std::strtof(token->c_str(), nullptr));
    if (bytes != 8 || std::fabs(value) < 1e308)
      return true;
    char text[32];
    std::snprintf(text, sizeof text, "%.11g", value);
    return std::isfinite(std::strtod(text, nullptr));
  }

  // A binary real from its bits: a float or a double.
  static double realOf(uint64_t raw, int bytes)
  {
    if (bytes == 4)
    {
      const auto bits = static_cast<uint32_t>(raw);
      float value = 0;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
    double value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }

  // The values of one data array of `components` values a tuple, then the metadata block the
  // 5.x writer may put after it: "METADATA", then the array's component names
  // ("COMPONENT_NAMES" and one line per component) and its information keys ("INFORMATION n",
  // then per key a "NAME key LOCATION class" line and a "DATA" line of one value, or of a
  // count and as many values), up to an empty line or the end of the file. The toolkit's
  // reader stops quietly at a line it does not know and keeps what it read so far, so every
  // other line is refused; each count is held against the bytes that remain.
  bool ArrayValues(const ValueType& type, uint64_t count, const Visit& visit, uint64_t components)
  {
    if (!Values(type, count, visit))
      return false;
    const size_t before = m_at;
    std::string word;
    if (!Keyword(word) || word != "metadata")
    {
      m_at = before;
      return true;
    }
    std::string line;
    if (!RestOfLine(line) || !Trimmed(line).empty())
      return false;
    while (m_at < m_text.size())
    {
      if (!RestOfLine(line))
        return false;
      // Only a line with nothing on it ends the block: the toolkit's reader stops at one
      // holding blanks and reads nothing after it.
      if (line.empty())
        return true;
      const std::vector<std::string> words = Words(line);
      if (words.size() == 1 && Lower(words[0]) == "component_names")
      {
        for (uint64_t c = 0; c < components; ++c)
          if (!RestOfLine(line) || Trimmed(line).empty() || !NameWritesBack(line))
            return false;
        continue;
      }
      uint64_t keys = 0;
      if (words.size() != 2 || Lower(words[0]) != "information" || !WholeNumber(words[1], keys))
        return false;
      for (uint64_t k = 0; k < keys; ++k)
      {
        if (!RestOfLine(line))
          return false;
        const std::vector<std::string> name = Words(line);
        if (name.size() != 4 || name[0] != "NAME" || name[2] != "LOCATION" || !RestOfLine(line))
          return false;
        const std::vector<std::string> data = Words(line);
        uint64_t values = 0;
        const bool single = data.size() == 2 && IsNumber(data[1]);
        const bool counted = data.size() >= 2 && WholeNumber(data[1], values) && data.size() == values + 2 &&
                             std::all_of(data.begin() + 2, data.end(), IsNumber);
        if (data.empty() || data[0] != "DATA" || !(single || counted))
          return false;
      }
    }
    return true;
  }

  // A name (of an array, a field or a component) is written back with every character
  // escaped at worst ("%XX"): a name longer than a third of the reader's line would not read
  // back from the file written from it. Escapes in the file count as the one character they stand for.
  // An escape is '%' and two hex digits standing for a character other than NUL, which would
  // end the name where it stands.
  static bool NameWritesBack(const std::string& line)
  {
    size_t characters = 0;
    for (size_t i = 0; i < line.size(); i += line[i] == '%' ? 3 : 1)
    {
      if (line[i] == '%' && (i + 2 >= line.size() || !std::isxdigit(static_cast<unsigned char>(line[i + 1])) ||
                             !std::isxdigit(static_cast<unsigned char>(line[i + 2])) || line.compare(i + 1, 2, "00") == 0))
        return false;
      ++characters;
    }
    return characters * 3 <= 255;
  }

  // Whether the writer puts a name out with an escape: for white space and control
  // characters, bytes past ASCII, '%' and '"'. It writes the name of colour scalars with
  // its escapes garbled ("%%FF"), so such a name would not read back there.
  static bool NameIsEscapedOnWriting(const std::string& name)
  {
    for (size_t i = 0; i < name.size(); ++i)
    {
      unsigned char c = static_cast<unsigned char>(name[i]);
      if (c == '%' && i + 2 < name.size())
      {
        c = static_cast<unsigned char>(std::strtol(name.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
      }
      if (c <= ' ' || c >= 0x7F || c == '%' || c == '"')
        return true;
    }
    return false;
  }

  static std::vector<std::string> Words(const std::string& line)
  {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string::npos)
    {
      const size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
      words.push_back(line.substr(at, end - at));
      at = end;
    }
    return words;
  }

  // A count: digits only, no larger than the bytes that remain.
  bool WholeNumber(const std::string& word, uint64_t& n) const
  {
    if (word.empty() || word.size() > 18 || word.find_first_not_of("0123456789") != std::string::npos)
      return false;
    n = std::strtoull(word.c_str(), nullptr, 10);
    return n <= Remaining();
  }

  static bool IsNumber(const std::string& word)
  {
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    return !word.empty() && end == word.c_str() + word.size() && std::isfinite(value);
  }

  // The rest of the current line (the last line of a file may lack its line break).
  bool RestOfLine(std::string& line)
  {
    size_t end = m_text.find('\n', m_at);
    if (end == std::string::npos)
      end = m_text.size();
    if (end - m_at > 255 || m_text.find('\0', m_at) < end)
      return false;
    line = m_text.substr(m_at, end - m_at);
    m_at = std::min(end + 1, m_text.size());
    return true;
  }




  // One header line; the reader takes at most 255 characters of it.
  bool Line(std::string& line)
  {
    const size_t end = m_text.find('\n', m_at);
    if (end == std::string::npos || end - m_at > 255)
      return false;
    line = m_text.substr(m_at, end - m_at);
    m_at = end + 1;
    return true;
  }

  bool Token(std::string& token)
  {
    while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
      ++m_at;
    const size_t start = m_at;
    while (m_at < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_at])))
      ++m_at;
    token = m_text.substr(start, m_at - start);
    return !token.empty();
  }

  bool Keyword(std::string& word)
  {
    if (!Token(word))
      return false;
    word = Lower(word);
    return true;
  }

  // A count of values still to come: never more than the bytes that remain.
  bool Count(uint64_t& n)
  {
    std::string token;
    if (!Token(token) || token.find_first_not_of("0123456789") != std::string::npos || token.size() > 18)
      return false;
    n = std::strtoull(token.c_str(), nullptr, 10);
    return n <= Remaining();
  }

  bool Type(ValueType& type)
  {
    std::string token;
    return Token(token) && valueTypeOf(token, type);
  }

  // Reads `count` values of `type`, handing each to `visit` when there is one.
  bool Values(const ValueType& type, uint64_t count, const Visit& visit)
  {
    if (m_binary)
      return BinaryValues(type, count, visit);
    // Every value takes at least one character and a separator.
    if (count > Remaining() / 2 + 1)
      return false;
    std::string token;
    for (uint64_t i = 0; i < count; ++i)
    {
      if (!Token(token))
        return false;
      char* end = nullptr;
      double value = 0;
      if (type.integer)
      {
        errno = 0;
        const long long integer = std::strtoll(token.c_str(), &end, 10);
        if (errno != 0 || integer < type.lowest || integer > type.highest ||
            (type.bit && integer != 0 && integer != 1))
          return false;
        value = static_cast<double>(integer);
      }
      else
        value = std::strtod(token.c_str(), &end);
      // The whole token, NUL bytes included, must be the number: the toolkit's reader stops
      // at a NUL where this parse would see the end of a value.
      if (end != token.c_str() + token.size() || (!type.integer && !RealWritesBack(value, type.bytes, &token)) ||
          !std::isfinite(value) || (visit && !visit(value)))
        return false;
    }
    return true;
  }

  bool BinaryValues(const ValueType& type, uint64_t count, const Visit& visit)
  {
    // The data start on the line after the keyword.
    const size_t lineEnd = m_text.find('\n', m_at);
    if (lineEnd == std::string::npos)
      return false;
    m_at = lineEnd + 1;
    const uint64_t bytes = type.bit ? (count + 7) / 8 : Product(count, static_cast<uint64_t>(type.bytes));
    if (bytes > Remaining())
      return false;
    const auto* data = reinterpret_cast<const unsigned char*>(m_text.data() + m_at);
    m_at += static_cast<size_t>(bytes);
    if (type.bit || (!visit && type.integer))
      return true;
    // Values are written big-endian. Reals must be finite and written back finite, as in a
    // text file: the toolkit's writer would put out a NaN or an overflowing double that no
    // reader takes back. Values that the check needs (ids and offsets) are integers.
    for (uint64_t i = 0; i < count; ++i)
    {
      uint64_t raw = 0;
      for (int b = 0; b < type.bytes; ++b)
        raw = raw << 8 | data[i * static_cast<uint64_t>(type.bytes) + static_cast<uint64_t>(b)];
      if (!type.integer && type.bytes >= 4)
      {
        if (!RealWritesBack(realOf(raw, type.bytes), type.bytes, nullptr))
          return false;
        continue;
      }
      // Signed or not, an id with its top bit set is out of range either way.
      if (visit && !visit(static_cast<double>(raw)))
        return false;
    }
    return true;
  }

  bool Id(double id)
  {
    if (id < 0)
      return false;
    m_anyId = true;
    m_largestId = std::max(m_largestId, id);
    return true;
  }

  // Before version 5: a count of cells and of values, each cell its size then its ids.
  bool LegacyCells()
  {
    uint64_t cells = 0;
    uint64_t size = 0;
    if (!Count(cells) || !Count(size))
      return false;
    uint64_t cellsSeen = 0;
    double idsLeft = 0;
    const Visit visit = [&](double value) {
      if (idsLeft > 0)
      {
        --idsLeft;
        return Id(value);
      }
      if (value < 0 || ++cellsSeen > cells)
        return false;
      idsLeft = value;
      return true;
    };
    ValueType type;
    type.integer = true;
    type.bytes = 4;
    if (!Values(type, size, visit) || cellsSeen != cells || idsLeft != 0)
      return false;
    m_cells += cells;
    return true;
  }

  // Version 5: offsets into the connectivity, from 0 rising to its size, then the ids.
  bool Cells()
  {
    uint64_t offsetCount = 0;
    uint64_t idCount = 0;
    if (!Count(offsetCount) || !Count(idCount))
      return false;
    std::string word;
    ValueType type;
    if (!Keyword(word) || word != "offsets" || !Type(type) || !type.integer || type.bit)
      return false;
    std::vector<double> offsets;
    offsets.reserve(static_cast<size_t>(offsetCount));
    const Visit offset = [&](double value) {
      if (offsets.empty() ? value != 0 : value < offsets.back())
        return false;
      offsets.push_back(value);
      return true;
    };
    if (!ArrayValues(type, offsetCount, offset, 1))
      return false;
    if (offsetCount == 0 ? idCount != 0 : offsets.back() != static_cast<double>(idCount))
      return false;
    if (!Keyword(word) || word != "connectivity" || !Type(type) || !type.integer || type.bit)
      return false;
    if (!ArrayValues(type, idCount, [this](double id) { return Id(id); }, 1))
      return false;
    m_cells += offsetCount > 0 ? offsetCount - 1 : 0;
    return true;
  }

  // A field of arrays, each "name components tuples type" and its values.
  bool Field(uint64_t tuplesWanted)
  {
    std::string name;
    uint64_t arrays = 0;
    // Names are written back escaped: each must fit the reader's buffer once written.
    if (!Token(name) || !NameWritesBack(name) || !Count(arrays))
      return false;
    for (uint64_t a = 0; a < arrays; ++a)
    {
      if (!Token(name) || !NameWritesBack(name))
        return false;
      if (name == "NULL_ARRAY")
        continue;
      uint64_t components = 0;
      uint64_t tuples = 0;
      ValueType type;
      if (!Count(components) || !Count(tuples) || !Type(type) ||
          (tuplesWanted != std::numeric_limits<uint64_t>::max() && tuples != tuplesWanted) ||
          !ArrayValues(type, Product(components, tuples), nullptr, components))
        return false;
    }
    return true;
  }

  // One attribute of point or cell data with n tuples.
  bool Attribute(const std::string& word, uint64_t n)
  {
    std::string name;
    ValueType type;
    uint64_t components = 0;
    if (!Token(name) || !NameWritesBack(name))
      return false;
    if (word == "scalars")
    {
      std::string token;
      if (!Type(type) || !Keyword(token))
        return false;
      // Unsigned bytes are written back as colour scalars.
      if (type.integer && !type.bit && type.bytes == 1 && type.lowest == 0 && NameIsEscapedOnWriting(name))
        return false;
      components = 1;
      if (token != "lookup_table")
      {
        components = std::strtoull(token.c_str(), nullptr, 10);
        if (token.find_first_not_of("0123456789") != std::string::npos || components < 1 ||
            components > 4 || !Keyword(token) || token != "lookup_table")
          return false;
      }
      return Token(token) && ArrayValues(type, Product(n, components), nullptr, components);
    }
    if (word == "color_scalars" || word == "lookup_table")
    {
      // Written as floats in text, as bytes in binary.
      if (!Count(components) || (word == "color_scalars" && NameIsEscapedOnWriting(name)))
        return false;
      type.bytes = 1;
      const uint64_t values = word == "lookup_table" ? Product(components, 4) : Product(n, components);
      return Values(type, values, nullptr);
    }
    if (word == "texture_coordinates")
      return Count(components) && components >= 1 && components <= 3 && Type(type) &&
             ArrayValues(type, Product(n, components), nullptr, components);
    const std::pair<const char*, uint64_t> fixed[] = {
      {"vectors", 3}, {"normals", 3}, {"tensors", 9}, {"tensors6", 6}, {"global_ids", 1}};
    for (const auto& [keyword, size] : fixed)
      if (word == keyword)
        return Type(type) && ArrayValues(type, Product(n, size), nullptr, size);
    return false;
  }

  const std::string& m_text;
  size_t m_at = 0;
  bool m_binary = false;
  bool m_newCells = false;
  uint64_t m_points = 0;
  uint64_t m_cells = 0;
  bool m_anyId = false;
  double m_largestId = 0;
  int64_t m_pointDataCount = -1;
  int64_t m_cellDataCount = -1;
};

bool cellsAreSound(vtkCellArray* cells, vtkIdType points)
{
  if (!cells)
    return true;
  vtkIdType previous = 0;
  for (vtkIdType c = 0; c <= cells->GetNumberOfCells(); ++c)
  {
    const vtkIdType offset = cells->GetOffsetsArray()->GetComponent(c, 0);
    if ((c == 0 && offset != 0) || offset < previous)
      return false;
    previous = offset;
  }
  if (previous != cells->GetNumberOfConnectivityIds())
    return false;
  vtkDataArray* ids = cells->GetConnectivityArray();
  for (vtkIdType i = 0; i < ids->GetNumberOfTuples(); ++i)
  {
    const double id = ids->GetComponent(i, 0);
    if (id < 0 || id >= static_cast<double>(points))
      return false;
  }
  return true;
}

bool tuplesMatch(vtkFieldData* data, vtkIdType tuples)
{
  for (int a = 0; a < data->GetNumberOfArrays(); ++a)
    if (data->GetAbstractArray(a) && data->GetAbstractArray(a)->GetNumberOfTuples() != tuples)
      return false;
  return true;
}
} // namespace

bool dovQelLegacyFileIsSound(const std::string& content)
{
  return LegacyScanner(content).Scan();
}

bool dovQelPolyDataIsSound(vtkPolyData* polyData)
{
  const vtkIdType points = polyData->GetNumberOfPoints();
  for (vtkCellArray* cells : {polyData->GetVerts(), polyData->GetLines(), polyData->GetPolys(), polyData->GetStrips()})
    if (!cellsAreSound(cells, points))
      return false;
  return tuplesMatch(polyData->GetPointData(), points) && tuplesMatch(polyData->GetCellData(), polyData->GetNumberOfCells());
}
