// Guarded reading of OCCT data. OCCT's readers trust what they read: a count sizes an
// allocation before the items are read, a failed read inside a loop leaves the loop spinning
// on a stream that reads nothing, and sub-shape references are taken as they come. The
// guards below hold for any bytes:
// - the stream throws on the first failed read, so no reader loop outlives its data;
// - every integer read (a count, an index, a degree) is at most the size of the data itself,
//   so nothing is allocated beyond a small multiple of what was handed in; every real read
//   is finite;
// - the geometry sections are walked first: every record of a known type, every count
//   within what the data can hold, every degree one OCCT can build, and every curve or surface
//   that another is built over one that OCCT builds;
// - text tokens are short and spell no infinity or NaN;
// - the shape read is walked before anything else touches it, and checked by OCCT's checker.
#include "TransmitData.h"

#include "BodyStore.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BinTools.hxx>
#include <BinTools_Curve2dSet.hxx>
#include <BinTools_CurveSet.hxx>
#include <BinTools_SurfaceSet.hxx>
#include <Geom2d_Curve.hxx>
#include <GeomTools.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <locale>
#include <new>
#include <sstream>

namespace brennik {
namespace {

const char* const kMagic = "BRENNIK-PARTS";
const int kVersion = 2;

std::uint64_t Checksum(const std::string& payload) {
  std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (unsigned char c : payload) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Header(std::size_t length, std::uint64_t checksum, bool binary) {
  char header[96];
  std::snprintf(header, sizeof header, "%s %d %c %zu %016llx\n", kMagic, kVersion, binary ? 'B' : 'T', length,
                static_cast<unsigned long long>(checksum));
  return header;
}

// Thrown out of OCCT's reader when a guard refuses what it is about to read.
struct RefusedData {};

// Numbers read as text: integers no larger than the data, reals finite.
class BoundedNumbers : public std::num_get<char> {
 public:
  explicit BoundedNumbers(long long limit) : m_limit(limit) {}

 protected:
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   long& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   long long& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   unsigned short& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   unsigned int& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   unsigned long& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   unsigned long long& v) const override {
    return Bounded(std::num_get<char>::do_get(in, end, io, err, v), err, &v);
  }
  iter_type do_get(iter_type in, iter_type end, std::ios_base& io, std::ios_base::iostate& err,
                   double& v) const override {
    in = std::num_get<char>::do_get(in, end, io, err, v);
    if (!std::isfinite(v)) err |= std::ios_base::failbit;
    return in;
  }

 private:
  // Takes the value by address: it is read only after the base has parsed it.
  template <class T>
  iter_type Bounded(iter_type in, std::ios_base::iostate& err, const T* v) const {
    long double x = static_cast<long double>(*v);
    if (x > m_limit || x < -m_limit) err |= std::ios_base::failbit;
    return in;
  }
  long long m_limit;
};

// The data as a stream buffer. Binary reads of four bytes are integers and of eight bytes
// reals (OCCT's binary form): they get the same bounds as text numbers.
class GuardedBuffer : public std::streambuf {
 public:
  GuardedBuffer(const std::string& data, bool binary)
      : m_binary(binary), m_limit(static_cast<long long>(data.size())) {
    char* begin = const_cast<char*>(data.data());
    setg(begin, begin, begin + data.size());
  }

 protected:
  std::streamsize xsgetn(char* out, std::streamsize n) override {
    const std::streamsize got = std::min<std::streamsize>(n, egptr() - gptr());
    if (got > 0) std::memcpy(out, gptr(), static_cast<std::size_t>(got));
    setg(eback(), gptr() + got, egptr());
    if (m_binary && got == n) Check(out, n);
    return got;
  }

 pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
    if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
    const off_type base = dir == std::ios_base::beg ? 0 : dir == std::ios_base::cur ? gptr() - eback() : egptr() - eback();
    return seekpos(pos_type(base + off), which);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
    const off_type at = off_type(pos);
    if (!(which & std::ios_base::in) || at < 0 || at > egptr() - eback()) return pos_type(off_type(-1));
    setg(eback(), eback() + at, egptr());
    return pos;
  }

 private:
  void Check(const char* bytes, std::streamsize n) const {
    if (n == sizeof(std::int32_t)) {
      std::int32_t v = 0;
      std::memcpy(&v, bytes, sizeof v);
      if (v > m_limit || v < -m_limit) throw RefusedData();
    } else if (n == sizeof(double)) {
      double v = 0;
      std::memcpy(&v, bytes, sizeof v);
      if (!std::isfinite(v)) throw RefusedData();
    }
  }
  bool m_binary;
  long long m_limit;
};

// Text data: tokens no longer than any OCCT writes and none that reads as infinity or NaN.
bool PlainText(const std::string& data) {
  const std::size_t kLongestToken = 64;
  std::size_t length = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(data[i]);
    if (c == 0) return false;
    if (std::isspace(c)) {
      length = 0;
      continue;
    }
    if (++length > kLongestToken) return false;
    const char lower = static_cast<char>(std::tolower(c));
    if ((lower == 'n' || lower == 'i') && i + 2 < data.size()) {
      std::string three{lower, static_cast<char>(std::tolower(static_cast<unsigned char>(data[i + 1]))),
                        static_cast<char>(std::tolower(static_cast<unsigned char>(data[i + 2])))};
      if (three == "nan" || three == "inf") return false;
    }
  }
  return true;
}

// Runs one OCCT read over the data within the guards. False when a guard refused the data,
// OCCT failed or ran out of memory.
template <class Read>
bool GuardedRead(const std::string& data, bool binary, Read read) {
  if (!binary && !PlainText(data)) return false;
  GuardedBuffer buffer(data, binary);
  std::istream in(&buffer);
  in.imbue(std::locale(std::locale::classic(), new BoundedNumbers(static_cast<long long>(data.size()))));
  in.exceptions(std::ios::failbit | std::ios::badbit);
  try {
    read(in);
    return true;
  } catch (const RefusedData&) {
  } catch (const std::ios_base::failure&) {
  } catch (const Standard_Failure&) {
  } catch (const std::bad_alloc&) {
  }
  return false;
}

// A real a body's data can hold: beyond 1e7 a double no longer resolves the session's 1e-8, so
// no coordinate, parameter or tolerance of a body is larger; the one exception is the value
// OCCT writes for an unbounded parameter. Larger finite values (up to 1e308) make OCCT's checks
// overflow midway, which leaks what they had made.
bool Representable(double v) {
  const double kLargest = 1e7;
  return std::isfinite(v) && (std::fabs(v) <= kLargest || std::fabs(v) == Precision::Infinite());
}

// The geometry sections of OCCT's shape data, walked before OCCT reads them: OCCT builds a
// curve of unknown type as nothing and then places it under a trimmed or offset curve, sizes
// arrays by counts and degrees as read, and trusts location references. The walk accepts
// the records OCCT writes for every curve and surface type, with counts that fit in the data
// that remains and degrees OCCT can build, and refuses everything else. Sections that bodies
// never hold (polygons and triangulations) must be empty.
class Source {
 public:
  Source(const std::string& data, bool binary) : m_data(data), m_binary(binary) {}
  bool Ok() const { return m_ok; }
  bool Binary() const { return m_binary; }
  std::size_t At() const { return m_at; }
  const std::string& Data() const { return m_data; }
  bool Fail() { m_ok = false; return false; }
  std::size_t Remaining() const { return m_data.size() - m_at; }
  // Smallest size a real or an integer takes in this form.
  std::size_t RealSize() const { return m_binary ? 8 : 2; }
  std::size_t IntSize() const { return m_binary ? 4 : 2; }

  // The first line: OCCT's own header of the form, exactly as written (another version of the
  // form lays its records out differently from what the walk follows).
  bool Header(const char* line) {
    SkipSpace();
    const std::size_t end = m_data.find('\n', m_at);
    if (end == std::string::npos || m_data.compare(m_at, end - m_at, line) != 0) return Fail();
    m_at = end + 1;
    return true;
  }
  // A section name and its item count (text in both forms; in the binary form one line end
  // follows the count, then the items).
  long long Section(const char* name) {
    if (Word() != name) return Fail(), 0;
    const long long n = TextInt();
    if (m_binary) {
      if (m_at >= m_data.size() || m_data[m_at] != '\n') return Fail(), 0;
      ++m_at;
    }
    return n >= 0 ? n : (Fail(), 0);
  }
  int Type() { return m_binary ? Byte() : static_cast<int>(TextInt()); }
  int Byte() {
    unsigned char c = 0;
    Bytes(&c, 1);
    return c;
  }
  // The next text token (at most 32 characters); empty, and failed, at the end.
  std::string Word() {
    SkipSpace();
    const std::size_t begin = m_at;
    while (m_at < m_data.size() && !std::isspace(static_cast<unsigned char>(m_data[m_at])) && m_at - begin < 32) ++m_at;
    if (m_at == begin) Fail();
    return m_data.substr(begin, m_at - begin);
  }
  bool Flag() {
    const int v = m_binary ? Byte() : static_cast<int>(TextInt());
    if (v != 0 && v != 1) Fail();
    return v == 1;
  }
  int Degree() {
    long long v = 0;
    if (m_binary) {
      std::uint16_t x = 0;
      Bytes(&x, sizeof x);
      v = x;
    } else {
      v = TextInt();
    }
    const int kHighestDegree = 25;
    if (v < 1 || v > kHighestDegree) Fail();
    return static_cast<int>(v);
  }
  long long Int() {
    if (!m_binary) return TextInt(Word());
    std::int32_t x = 0;
    Bytes(&x, sizeof x);
    return x;
  }
  void Reals(int n) {
    for (int i = 0; i < n && m_ok; ++i) Real();
  }
  double Real() {
    double v = 0;
    if (m_binary) {
      Bytes(&v, sizeof v);
    } else {
      const std::string token = Word();
      char* end = nullptr;
      v = token.empty() ? 0.0 : std::strtod(token.c_str(), &end);
      if (token.empty() || *end != '\0') Fail();
    }
    if (!Representable(v)) Fail();
    return v;
  }
  // Only white space left.
  bool AtEnd() {
    SkipSpace();
    return m_ok && m_at == m_data.size();
  }
  // A text integer token of at most 12 characters.
  long long TextInt(const std::string& token) {
    char* end = nullptr;
    const long long v = token.empty() ? 0 : std::strtoll(token.c_str(), &end, 10);
    if (token.empty() || *end != '\0' || token.size() > 12) return Fail(), 0;
    return v;
  }

 private:
  void SkipSpace() {
    while (m_at < m_data.size() && std::isspace(static_cast<unsigned char>(m_data[m_at]))) ++m_at;
  }
  long long TextInt() { return TextInt(Word()); }
  void Bytes(void* out, std::size_t n) {
    if (!m_ok || Remaining() < n) return void(Fail());
    std::memcpy(out, m_data.data() + m_at, n);
    m_at += n;
  }
  const std::string& m_data;
  bool m_binary;
  std::size_t m_at = 0;
  bool m_ok = true;
};

const int kDeepestBasis = 16;

enum class BasisKind { kCurve2d, kCurve, kSurface };

// Whether OCCT builds the curve or surface whose record the walk read from `begin` on. OCCT
// reads a record it cannot build (an ellipse whose minor radius exceeds its major one, knots
// out of order) as nothing, and a trimmed or offset curve, or a surface made from a curve or
// another surface, is then built over nothing, which crashes it: such a basis is refused.
bool BasisBuilds(Source& in, std::size_t begin, BasisKind kind) {
  if (!in.Ok()) return false;
  const std::string record = in.Data().substr(begin, in.At() - begin);
  const bool binary = in.Binary();
  bool built = false;
  const bool read = GuardedRead(record, binary, [&](std::istream& stream) {
    if (kind == BasisKind::kCurve2d) {
      Handle(Geom2d_Curve) curve;
      if (binary) BinTools_Curve2dSet::ReadCurve2d(stream, curve);
      else GeomTools::Read(curve, stream);
      built = !curve.IsNull();
    } else if (kind == BasisKind::kCurve) {
      Handle(Geom_Curve) curve;
      if (binary) BinTools_CurveSet::ReadCurve(stream, curve);
      else GeomTools::Read(curve, stream);
      built = !curve.IsNull();
    } else {
      Handle(Geom_Surface) surface;
      if (binary) BinTools_SurfaceSet::ReadSurface(stream, surface);
      else GeomTools::Read(surface, stream);
      built = !surface.IsNull();
    }
  });
  return (read && built) || in.Fail();
}

// A count of items of `itemSize` bytes at least, that the rest of the data can hold.
bool Fits(Source& in, long long count, long long itemSize) {
  if (count < 1 || count > static_cast<long long>(in.Remaining()) / itemSize) return in.Fail();
  return in.Ok();
}

// Poles with their weights, then knots with their multiplicities.
bool Poles(Source& in, long long n, int dimension, bool rational) {
  const int reals = dimension + (rational ? 1 : 0);
  if (!Fits(in, n, reals * static_cast<long long>(in.RealSize()))) return false;
  for (long long i = 0; i < n && in.Ok(); ++i) in.Reals(reals);
  return in.Ok();
}
bool Knots(Source& in, long long n) {
  if (!Fits(in, n, static_cast<long long>(in.RealSize() + in.IntSize()))) return false;
  for (long long i = 0; i < n && in.Ok(); ++i) {
    in.Real();
    const long long multiplicity = in.Int();
    if (multiplicity < 1 || multiplicity > 26) return in.Fail();
  }
  return in.Ok();
}

// A direction of `dimension` reals. OCCT makes every direction a unit one and, when it cannot
// (no length), builds nothing in place of the curve or surface, which a trimmed or offset
// curve over it then reads through: such a direction is refused.
std::array<double, 3> Direction(Source& in, int dimension) {
  std::array<double, 3> d{0.0, 0.0, 0.0};
  for (int c = 0; c < dimension && in.Ok(); ++c) d[c] = in.Real();
  if (std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) <= 1e-12) in.Fail();
  return d;
}

// A point and `directions` directions (a conic's or an elementary surface's frame). In space
// the first two (main and X directions) must not be parallel, or OCCT makes no frame.
bool Frame(Source& in, int dimension, int directions) {
  in.Reals(dimension);
  std::array<double, 3> first{}, second{};
  for (int k = 0; k < directions && in.Ok(); ++k) {
    const std::array<double, 3> d = Direction(in, dimension);
    if (k == 0)
      first = d;
    else if (k == 1)
      second = d;
  }
  if (in.Ok() && dimension == 3 && directions >= 2) {
    const double x = first[1] * second[2] - first[2] * second[1];
    const double y = first[2] * second[0] - first[0] * second[2];
    const double z = first[0] * second[1] - first[1] * second[0];
    const double a = std::sqrt(first[0] * first[0] + first[1] * first[1] + first[2] * first[2]);
    const double b = std::sqrt(second[0] * second[0] + second[1] * second[1] + second[2] * second[2]);
    if (std::sqrt(x * x + y * y + z * z) <= 1e-12 * a * b) return in.Fail();
  }
  return in.Ok();
}

BasisKind Kind(int dimension) { return dimension == 2 ? BasisKind::kCurve2d : BasisKind::kCurve; }

bool Curve(Source& in, int dimension, int depth) {
  if (depth > kDeepestBasis) return in.Fail();
  const int p = dimension;                    // a point or a direction
  const int axes = dimension == 3 ? 3 : 2;   // directions of a conic's frame
  switch (in.Type()) {
    case 1: Frame(in, p, 1); break;           // line
    case 2: Frame(in, p, axes); in.Reals(1); break;  // circle
    case 3: Frame(in, p, axes); in.Reals(2); break;  // ellipse
    case 4: Frame(in, p, axes); in.Reals(1); break;  // parabola
    case 5: Frame(in, p, axes); in.Reals(2); break;  // hyperbola
    case 6: {                                 // Bezier
      const bool rational = in.Flag();
      const int degree = in.Degree();
      return in.Ok() && Poles(in, degree + 1, p, rational);
    }
    case 7: {                                 // B-spline
      const bool rational = in.Flag();
      in.Flag();
      in.Degree();
      const long long poles = in.Int();
      const long long knots = in.Int();
      return in.Ok() && Poles(in, poles, p, rational) && Knots(in, knots);
    }
    case 8: {                                 // trimmed
      in.Reals(2);
      const std::size_t begin = in.At();
      return in.Ok() && Curve(in, dimension, depth + 1) && BasisBuilds(in, begin, Kind(dimension));
    }
    case 9: {                                 // offset
      in.Reals(1);
      if (dimension == 3) Direction(in, 3);
      const std::size_t begin = in.At();
      return in.Ok() && Curve(in, dimension, depth + 1) && BasisBuilds(in, begin, Kind(dimension));
    }
    default: return in.Fail();
  }
  return in.Ok();
}

bool Surface(Source& in, int depth) {
  if (depth > kDeepestBasis) return in.Fail();
  switch (in.Type()) {
    case 1: Frame(in, 3, 3); break;                  // plane
    case 2: Frame(in, 3, 3); in.Reals(1); break;     // cylinder
    case 3: Frame(in, 3, 3); in.Reals(2); break;     // cone
    case 4: Frame(in, 3, 3); in.Reals(1); break;     // sphere
    case 5: Frame(in, 3, 3); in.Reals(2); break;     // torus
    case 6: {                                        // linear extrusion
      Direction(in, 3);
      const std::size_t begin = in.At();
      return in.Ok() && Curve(in, 3, depth + 1) && BasisBuilds(in, begin, BasisKind::kCurve);
    }
    case 7: {                                 // revolution
      Frame(in, 3, 1);
      const std::size_t begin = in.At();
      return in.Ok() && Curve(in, 3, depth + 1) && BasisBuilds(in, begin, BasisKind::kCurve);
    }
    case 8: {                                 // Bezier
      const bool uRational = in.Flag();
      const bool rational = in.Flag() || uRational;
      const long long u = in.Degree() + 1, v = in.Degree() + 1;
      return in.Ok() && Poles(in, u * v, 3, rational);
    }
    case 9: {                                 // B-spline
      const bool uRational = in.Flag();
      const bool rational = in.Flag() || uRational;
      in.Flag();
      in.Flag();
      in.Degree();
      in.Degree();
      const long long uPoles = in.Int(), vPoles = in.Int(), uKnots = in.Int(), vKnots = in.Int();
      if (!in.Ok() || uPoles < 1 || vPoles < 1 || uPoles > static_cast<long long>(in.Remaining())) return in.Fail();
      return Poles(in, uPoles * vPoles, 3, rational) && Knots(in, uKnots) && Knots(in, vKnots);
    }
    case 10: {                                // rectangular trimmed
      in.Reals(4);
      const std::size_t begin = in.At();
      return in.Ok() && Surface(in, depth + 1) && BasisBuilds(in, begin, BasisKind::kSurface);
    }
    case 11: {                                // offset
      in.Reals(1);
      const std::size_t begin = in.At();
      return in.Ok() && Surface(in, depth + 1) && BasisBuilds(in, begin, BasisKind::kSurface);
    }
    default: return in.Fail();
  }
  return in.Ok();
}

// A transformation, or a product of earlier locations to powers (ended by index 0).
bool Location(Source& in, long long index) {
  switch (in.Type()) {
    case 1: in.Reals(12); return in.Ok();
    case 2:
      for (long long steps = 0; in.Ok(); ++steps) {
        const long long earlier = in.Int();
        if (earlier == 0) return steps > 0 || in.Fail();
        const long long power = in.Int();
        if (earlier < 1 || earlier >= index || power < -1000 || power > 1000) return in.Fail();
      }
      return false;
    default: return in.Fail();
  }
}

template <class Item>
long long Items(Source& in, const char* section, Item item) {
  const long long n = in.Section(section);
  if (!in.Ok() || n > static_cast<long long>(in.Remaining())) return in.Fail();
  for (long long i = 1; i <= n && in.Ok(); ++i) item(i);
  return in.Ok() ? n : 0;
}

// The topology section, walked like the geometry ones: OCCT's reader takes every index a
// shape record names (curve, surface, location, sub-shape) as valid, and one out of range
// throws out of the middle of building a shape, leaking what was half made. Every index must
// name an item of its section; a sub-shape must be one written before (which also rules out
// cycles); orientations, flags and continuities must be ones OCCT writes; and only the records
// a body's shapes carry are accepted (no polygons or meshes).
class ShapeRecords {
 public:
  ShapeRecords(Source& in, long long locations, long long curve2ds, long long curves, long long surfaces)
      : m_in(in), m_locations(locations), m_curve2ds(curve2ds), m_curves(curves), m_surfaces(surfaces) {}

  bool Walk() {
    m_shapes = m_in.Section("TShapes");
    if (!m_in.Ok() || m_shapes > static_cast<long long>(m_in.Remaining())) return m_in.Fail();
    for (long long written = 1; written <= m_shapes && m_in.Ok(); ++written) Shape(m_shapes - written + 1);
    // The shape the data holds, which may name any of them.
    return m_in.Ok() && SubShape(0);
  }

 private:
  enum ShapeKind { kCompound, kCompSolid, kSolid, kShell, kFace, kWire, kEdge, kVertex };

  void Shape(long long index) {
    const int kind = Kind();
    if (kind == kVertex) Vertex();
    else if (kind == kEdge) Edge();
    else if (kind == kFace) Face();
    Flags();
    while (m_in.Ok() && SubShape(index)) {}
  }

  int Kind() {
    if (m_in.Binary()) {
      const int kind = m_in.Byte();
      return kind <= kVertex ? kind : (m_in.Fail(), -1);
    }
    static const char* const kNames[] = {"Co", "CS", "So", "Sh", "Fa", "Wi", "Ed", "Ve"};
    const std::string name = m_in.Word();
    for (int kind = kCompound; kind <= kVertex; ++kind)
      if (name == kNames[kind]) return kind;
    return m_in.Fail(), -1;
  }

  // Representations ended by a zero type (in text, a zero parameter and a zero type).
  void Vertex() {
    m_in.Reals(4);  // tolerance, point
    while (m_in.Ok()) {
      int type = 0;
      if (m_in.Binary()) {
        type = m_in.Byte();
        if (type == 0) return;
        m_in.Real();
      } else {
        m_in.Real();
        type = static_cast<int>(m_in.Int());
        if (type == 0) return;
      }
      switch (type) {
        case 1: Index(m_curves); break;                       // on a curve
        case 2: Index(m_curve2ds); Index(m_surfaces); break;  // on a curve on a surface
        case 3: m_in.Real(); Index(m_surfaces); break;        // on a surface
        default: return void(m_in.Fail());
      }
      Location();
    }
  }

  // Tolerance, three flags, then representations ended by a zero type.
  void Edge() {
    m_in.Real();
    for (int i = 0; i < 3; ++i) m_in.Flag();
    while (m_in.Ok()) {
      switch (m_in.Type()) {
        case 0: return;
        case 1:  // 3-D curve
          Index(m_curves);
          Location();
          m_in.Reals(2);
          break;
        case 2:  // curve on a surface
          Index(m_curve2ds);
          Index(m_surfaces);
          Location();
          m_in.Reals(2);
          break;
        case 3:  // curve on a closed surface: two curves and their continuity
          Index(m_curve2ds);
          if (m_in.Binary()) {
            Index(m_curve2ds);
            Continuity();
          } else {
            // The continuity's name may follow the second curve's index with no space.
            const std::string token = m_in.Word();
            const std::size_t digits = token.find_first_not_of("0123456789");
            IndexToken(token.substr(0, digits), m_curve2ds);
            if (digits == std::string::npos) Continuity();
            else ContinuityName(token.substr(digits));
          }
          Index(m_surfaces);
          Location();
          m_in.Reals(2);
          break;
        case 4:  // regularity between two surfaces
          Continuity();
          Index(m_surfaces);
          Location();
          Index(m_surfaces);
          Location();
          break;
        default: return void(m_in.Fail());
      }
    }
  }

  // Natural restriction, tolerance, surface and location; in the binary form a last byte
  // says whether a mesh follows, which bodies never carry.
  void Face() {
    m_in.Flag();
    m_in.Real();
    Index(m_surfaces);
    Location();
    if (m_in.Binary() && m_in.Byte() != 0) m_in.Fail();
  }

  // Seven flags: a byte each, or one text token of seven digits.
  void Flags() {
    if (m_in.Binary()) {
      for (int i = 0; i < 7; ++i)
        if (m_in.Byte() > 1) m_in.Fail();
      return;
    }
    const std::string flags = m_in.Word();
    if (flags.size() != 7 || flags.find_first_not_of("01") != std::string::npos) m_in.Fail();
  }

  void Continuity() {
    if (m_in.Binary()) {
      if (m_in.Byte() > 6) m_in.Fail();
    } else {
      ContinuityName(m_in.Word());
    }
  }
  void ContinuityName(const std::string& name) {
    for (const char* known : {"C0", "G1", "C1", "G2", "C2", "C3", "CN"})
      if (name == known) return;
    m_in.Fail();
  }

  // An item of a geometry section (numbered from 1).
  void Index(long long count) {
    const long long index = m_in.Int();
    if (index < 1 || index > count) m_in.Fail();
  }
  void IndexToken(const std::string& token, long long count) {
    const long long index = m_in.TextInt(token);
    if (index < 1 || index > count) m_in.Fail();
  }
  // A location (0 for none).
  void Location() {
    const long long index = m_in.Int();
    if (index < 0 || index > m_locations) m_in.Fail();
  }

  // One sub-shape of the shape numbered `parent` (0 for the data's own shape): an orientation,
  // a shape written before and a location. False at the end of the list.
  bool SubShape(long long parent) {
    long long index = 0;
    if (m_in.Binary()) {
      const int orientation = m_in.Byte();
      if (orientation == '*' && parent != 0) return false;
      if (orientation > 3) return m_in.Fail();
      index = m_in.Int();
    } else {
      const std::string token = m_in.Word();
      if (token == "*" && parent != 0) return false;
      if (token.empty() || std::strchr("+-ie", token[0]) == nullptr) return m_in.Fail();
      index = m_in.TextInt(token.substr(1));
    }
    if (index <= parent || index > m_shapes) return m_in.Fail();
    Location();
    return m_in.Ok();
  }

  Source& m_in;
  long long m_locations, m_curve2ds, m_curves, m_surfaces;
  long long m_shapes = 0;
};

bool ShapeRecordsHold(const std::string& data, bool binary) {
  Source in(data, binary);
  if (!in.Header(binary ? "Open CASCADE Topology V4, (c) Open Cascade" : "CASCADE Topology V1, (c) Matra-Datavision"))
    return false;
  const long long locations = Items(in, "Locations", [&](long long i) { Location(in, i); });
  const long long curve2ds = Items(in, "Curve2ds", [&](long long) { Curve(in, 2, 0); });
  const long long curves = Items(in, "Curves", [&](long long) { Curve(in, 3, 0); });
  if (!in.Ok() || in.Section("Polygon3D") != 0 || in.Section("PolygonOnTriangulations") != 0) return false;
  const long long surfaces = Items(in, "Surfaces", [&](long long) { Surface(in, 0); });
  if (!in.Ok() || in.Section("Triangulations") != 0 || !in.Ok()) return false;
  return ShapeRecords(in, locations, curve2ds, curves, surfaces).Walk();
}

}  // namespace

std::string SealTransmitData(const std::string& payload, bool binary) {
  return Header(payload.size(), Checksum(payload), binary) + payload;
}

bool UnsealTransmitData(const std::string& data, bool binary, std::string* payload) {
  const std::size_t newline = data.find('\n');
  if (newline == std::string::npos || newline > 80) return false;
  const std::size_t length = data.size() - newline - 1;
  *payload = data.substr(newline + 1);
  // The header must be exactly the one the payload would get.
  return data.compare(0, newline + 1, Header(length, Checksum(*payload), binary)) == 0;
}

std::string ShapeToData(const TopoDS_Shape& shape, bool binary) {
  std::ostringstream out;
  // Bodies carry no meshes.
  if (binary) BinTools::Write(shape, out, Standard_False, Standard_False, BinTools_FormatVersion_CURRENT);
  else BRepTools::Write(shape, out, Standard_False, Standard_False, TopTools_FormatVersion_VERSION_1);
  return out.str();
}

bool ShapeFromData(const std::string& data, bool binary, TopoDS_Shape* shape, SubShapeMaps* maps) {
  TopoDS_Shape read;
  const bool ok = ShapeRecordsHold(data, binary) && GuardedRead(data, binary, [&](std::istream& in) {
    if (binary) {
      BinTools::Read(read, in);
    } else {
      BRep_Builder builder;
      BRepTools::Read(read, in, builder);
    }
  });
  bool valid = false;
  try {
    valid = ok && IsValidBodyShape(read, maps);
  } catch (const Standard_Failure&) {
    valid = false;
  }
  *shape = valid ? read : TopoDS_Shape();
  return valid;
}

bool CurveFromText(const std::string& text, Handle(Geom_Curve)* curve) {
  Handle(Geom_Curve) read;
  Source record(text, false);
  if (!Curve(record, 3, 0) || !record.AtEnd()) return false;
  if (!GuardedRead(text, false, [&](std::istream& in) { GeomTools::Read(read, in); }) || read.IsNull())
    return false;
  *curve = read;
  return true;
}

bool SurfaceFromText(const std::string& text, Handle(Geom_Surface)* surface) {
  Handle(Geom_Surface) read;
  Source record(text, false);
  if (!Surface(record, 0) || !record.AtEnd()) return false;
  if (!GuardedRead(text, false, [&](std::istream& in) { GeomTools::Read(read, in); }) || read.IsNull())
    return false;
  *surface = read;
  return true;
}

}  // namespace brennik
