// Transmit and receive: our own container holding, per part, the OCCT BREP data of the body
// and its attached geometry, the identifiers of its entities, its groups, its attributes
// (pointer fields travel empty) and the add-on layer's per-body data. One writer and one
// reader serve the text and the binary form.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BinTools.hxx>
#include <GeomTools.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace brennik;

namespace {

const char* const kMagic = "BRENNIK-PARTS";
const int kVersion = 1;

// Writes values as text tokens or as raw binary; strings carry their length.
class Writer {
 public:
  Writer(std::ostream& out, bool binary) : m_out(out), m_binary(binary) {}
  void Int(long long v) {
    if (m_binary) {
      std::int64_t x = v;
      m_out.write(reinterpret_cast<const char*>(&x), sizeof x);
    } else {
      m_out << v << ' ';
    }
  }
  void Real(double v) {
    if (m_binary) {
      m_out.write(reinterpret_cast<const char*>(&v), sizeof v);
    } else {
      m_out.precision(17);
      m_out << v << ' ';
    }
  }
  void Text(const std::string& s) {
    Int(static_cast<long long>(s.size()));
    if (!m_binary) m_out << '\n';
    m_out.write(s.data(), static_cast<std::streamsize>(s.size()));
    if (!m_binary) m_out << '\n';
  }
  void Line() {
    if (!m_binary) m_out << '\n';
  }

 private:
  std::ostream& m_out;
  bool m_binary;
};

class Reader {
 public:
  Reader(std::istream& in, bool binary) : m_in(in), m_binary(binary) {}
  long long Int() {
    if (m_binary) {
      std::int64_t x = 0;
      if (!m_in.read(reinterpret_cast<char*>(&x), sizeof x)) m_ok = false;
      return x;
    }
    long long v = 0;
    if (!(m_in >> v)) m_ok = false;
    return v;
  }
  double Real() {
    double v = 0;
    if (m_binary) {
      if (!m_in.read(reinterpret_cast<char*>(&v), sizeof v)) m_ok = false;
    } else if (!(m_in >> v)) {
      m_ok = false;
    }
    return v;
  }
  std::string Text() {
    long long n = Int();
    if (!m_ok || n < 0 || n > (1LL << 32)) {
      m_ok = false;
      return {};
    }
    if (!m_binary) m_in.ignore(16, '\n');  // the rest of the length's line
    std::string s(static_cast<std::size_t>(n), '\0');
    if (!m_in.read(&s[0], n)) m_ok = false;
    return s;
  }
  // A count that must be small and non-negative.
  int Count() {
    long long n = Int();
    if (n < 0 || n > 100000000) m_ok = false;
    return m_ok ? static_cast<int>(n) : 0;
  }
  bool Ok() const { return m_ok; }
  void Fail() { m_ok = false; }

 private:
  std::istream& m_in;
  bool m_binary;
  bool m_ok = true;
};

std::string ShapeBytes(const TopoDS_Shape& shape, bool binary) {
  std::ostringstream out;
  if (binary) BinTools::Write(shape, out);
  else BRepTools::Write(shape, out);
  return out.str();
}

bool ShapeFromBytes(const std::string& bytes, bool binary, TopoDS_Shape* shape) {
  std::istringstream in(bytes);
  if (binary) {
    BinTools::Read(*shape, in);
  } else {
    BRep_Builder builder;
    BRepTools::Read(*shape, in, builder);
  }
  return !shape->IsNull();
}

void WriteGeom(Writer& w, const GeomData& g) {
  w.Int(g.cls);
  std::ostringstream out;
  out.precision(17);
  if (g.cls == BQ_CLASS_point) out << g.point.X() << ' ' << g.point.Y() << ' ' << g.point.Z();
  else if (!g.curve.IsNull()) GeomTools::Write(g.curve, out);
  else GeomTools::Write(g.surface, out);
  w.Text(out.str());
}

bool ReadGeom(Reader& r, GeomData* g) {
  g->cls = static_cast<int>(r.Int());
  std::istringstream in(r.Text());
  if (!r.Ok()) return false;
  if (g->cls == BQ_CLASS_point) {
    double x, y, z;
    if (!(in >> x >> y >> z)) return false;
    g->point = gp_Pnt(x, y, z);
  } else if (IsSubclass(g->cls, BQ_CLASS_curve)) {
    GeomTools::Read(g->curve, in);
    if (g->curve.IsNull()) return false;
  } else if (IsSubclass(g->cls, BQ_CLASS_surf)) {
    GeomTools::Read(g->surface, in);
    if (g->surface.IsNull()) return false;
  } else {
    return false;
  }
  return true;
}

// Entities of a part referred to across the container: 0 body, 1 face, 2 edge, 3 vertex
// (by identifier), 4 attached geometry (by position), 5 group (by position).
struct PartIndex {
  const BodyRecord* body;
  std::vector<int> groups;
  bool Ref(const PartitionState& st, int tag, int* kind, int* key) const {
    if (tag == body->tag) { *kind = 0; *key = 0; return true; }
    auto it = body->subs.find(tag);
    if (it != body->subs.end()) {
      *kind = it->second.cls == BQ_CLASS_face ? 1 : it->second.cls == BQ_CLASS_edge ? 2 : 3;
      *key = it->second.identifier;
      return true;
    }
    for (std::size_t i = 0; i < body->attachedGeoms.size(); ++i)
      if (body->attachedGeoms[i] == tag) { *kind = 4; *key = static_cast<int>(i); return true; }
    for (std::size_t i = 0; i < groups.size(); ++i)
      if (groups[i] == tag) { *kind = 5; *key = static_cast<int>(i); return true; }
    (void)st;
    return false;
  }
};

void WritePart(Writer& w, const Partition& p, const BodyRecord& body, bool binary, bool addon) {
  const PartitionState& st = p.state;
  w.Int(body.identifier);
  w.Int(body.nextIdentifier);
  w.Line();
  w.Text(ShapeBytes(body.shape, binary));
  // Identifiers of faces, edges and vertices in traversal order, each with its geometry's.
  for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices}) {
    w.Int(static_cast<long long>(list->size()));
    for (int tag : *list) {
      const SubEntity& sub = body.subs.at(tag);
      w.Int(sub.identifier);
      w.Int(sub.geom ? body.geoms.at(sub.geom).identifier : 0);
    }
    w.Line();
  }
  w.Int(static_cast<long long>(body.attachedGeoms.size()));
  for (int g : body.attachedGeoms) {
    const FreeGeomRecord& record = st.freeGeoms.at(g);
    w.Int(record.identifier);
    WriteGeom(w, record.data);
  }
  PartIndex index{&body, {}};
  for (const auto& g : st.groups)
    if (g.second.part == body.tag) index.groups.push_back(g.first);
  w.Int(static_cast<long long>(index.groups.size()));
  for (int g : index.groups) {
    const GroupRecord& group = st.groups.at(g);
    w.Int(group.groupClass);
    w.Int(static_cast<long long>(group.members.size()));
    for (int m : group.members) {
      int kind = 0, key = 0;
      index.Ref(st, m, &kind, &key);
      w.Int(kind);
      w.Int(key);
    }
    w.Line();
  }
  // Attributes of every owner of the part, in owner order.
  std::vector<int> owners{body.tag};
  for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices})
    owners.insert(owners.end(), list->begin(), list->end());
  owners.insert(owners.end(), body.attachedGeoms.begin(), body.attachedGeoms.end());
  owners.insert(owners.end(), index.groups.begin(), index.groups.end());
  std::vector<int> attribs;
  for (int owner : owners) {
    auto it = st.attribsOf.find(owner);
    if (it != st.attribsOf.end()) attribs.insert(attribs.end(), it->second.begin(), it->second.end());
  }
  w.Int(static_cast<long long>(attribs.size()));
  w.Line();
  const Session* s = CurrentSession();
  for (int a : attribs) {
    const AttribRecord& record = st.attribs.at(a);
    const AttdefRecord& def = s->attdefs.at(record.attdef);
    w.Text(def.name);
    w.Int(def.attdefClass);
    w.Int(static_cast<long long>(def.ownerTypes.size()));
    for (int t : def.ownerTypes) w.Int(t);
    w.Int(static_cast<long long>(def.fieldTypes.size()));
    for (std::size_t i = 0; i < def.fieldTypes.size(); ++i) {
      w.Int(def.fieldTypes[i]);
      w.Text(def.fieldNames[i]);
    }
    int kind = 0, key = 0;
    index.Ref(st, record.owner, &kind, &key);
    w.Int(kind);
    w.Int(key);
    for (const AttribField& f : record.fields) {
      w.Int(static_cast<long long>(f.ints.size()));
      for (int v : f.ints) w.Int(v);
      w.Int(static_cast<long long>(f.reals.size()));
      for (double v : f.reals) w.Real(v);
      w.Text(f.text);
    }
    w.Line();
  }
  w.Text(addon ? body.addonData : std::string());
}

// Reads one part into the partition. Returns the new body tag, 0 on malformed data (the
// partition is then left as it was by the caller's rollback).
int ReadPart(Reader& r, Partition& p, bool binary, bool addon) {
  Session* s = CurrentSession();
  int bodyIdentifier = static_cast<int>(r.Int());
  int nextIdentifier = static_cast<int>(r.Int());
  TopoDS_Shape shape;
  std::string bytes = r.Text();
  if (!r.Ok() || !ShapeFromBytes(bytes, binary, &shape)) return 0;
  std::vector<std::pair<int, int>> ids[3];
  for (auto& list : ids) {
    int n = r.Count();
    for (int i = 0; i < n && r.Ok(); ++i) {
      int id = static_cast<int>(r.Int());
      int geomId = static_cast<int>(r.Int());
      list.emplace_back(id, geomId);
    }
  }
  if (!r.Ok()) return 0;
  const TopAbs_ShapeEnum types[] = {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX};
  TopTools_IndexedMapOfShape maps[3];
  for (int k = 0; k < 3; ++k) {
    TopExp::MapShapes(shape, types[k], maps[k]);
    if (maps[k].Extent() != static_cast<int>(ids[k].size())) return 0;
  }
  int bodyTag = s->NewTag();
  BodyPtr built = BuildBodyRecord(*s, bodyTag, shape, nullptr, [&](const TopoDS_Shape& sub) {
    for (int k = 0; k < 3; ++k) {
      int index = maps[k].FindIndex(sub);
      if (index > 0) return Carried{0, ids[k][index - 1].first};
    }
    return Carried{};
  }, nextIdentifier);
  auto body = std::make_shared<BodyRecord>(*built);
  body->identifier = bodyIdentifier;
  body->nextIdentifier = std::max(body->nextIdentifier, nextIdentifier);
  const std::vector<int>* lists[] = {&body->faces, &body->edges, &body->vertices};
  for (int k = 0; k < 3; ++k)
    for (std::size_t i = 0; i < lists[k]->size(); ++i) {
      int geom = body->subs.at((*lists[k])[i]).geom;
      if (geom && ids[k][i].second) body->geoms.at(geom).identifier = ids[k][i].second;
    }
  std::map<std::pair<int, int>, int> byRef;
  byRef[{0, 0}] = bodyTag;
  for (int k = 0; k < 3; ++k)
    for (int tag : *lists[k]) byRef[{k + 1, body->subs.at(tag).identifier}] = tag;

  PartitionState& st = p.Change();
  int nGeoms = r.Count();
  for (int i = 0; i < nGeoms && r.Ok(); ++i) {
    FreeGeomRecord g;
    g.identifier = static_cast<int>(r.Int());
    if (!ReadGeom(r, &g.data)) return 0;
    g.part = bodyTag;
    int tag = s->NewTag();
    st.freeGeoms[tag] = g;
    body->attachedGeoms.push_back(tag);
    byRef[{4, i}] = tag;
  }
  InstallBody(st, body);
  int nGroups = r.Count();
  for (int i = 0; i < nGroups && r.Ok(); ++i) {
    GroupRecord group;
    group.part = bodyTag;
    group.groupClass = static_cast<int>(r.Int());
    int n = r.Count();
    for (int j = 0; j < n && r.Ok(); ++j) {
      int kind = static_cast<int>(r.Int());
      int key = static_cast<int>(r.Int());
      auto it = byRef.find({kind, key});
      if (it != byRef.end()) group.members.push_back(it->second);
    }
    int tag = s->NewTag();
    st.groups[tag] = group;
    byRef[{5, i}] = tag;
  }
  int nAttribs = r.Count();
  for (int i = 0; i < nAttribs && r.Ok(); ++i) {
    AttdefRecord def;
    def.name = r.Text();
    def.attdefClass = static_cast<int>(r.Int());
    int nOwners = r.Count();
    for (int j = 0; j < nOwners && r.Ok(); ++j) def.ownerTypes.push_back(static_cast<int>(r.Int()));
    int nFields = r.Count();
    for (int j = 0; j < nFields && r.Ok(); ++j) {
      def.fieldTypes.push_back(static_cast<int>(r.Int()));
      def.fieldNames.push_back(r.Text());
    }
    int kind = static_cast<int>(r.Int());
    int key = static_cast<int>(r.Int());
    AttribRecord record;
    for (int j = 0; j < nFields && r.Ok(); ++j) {
      AttribField f;
      f.type = def.fieldTypes[j];
      int n = r.Count();
      for (int k = 0; k < n && r.Ok(); ++k) f.ints.push_back(static_cast<int>(r.Int()));
      n = r.Count();
      for (int k = 0; k < n && r.Ok(); ++k) f.reals.push_back(r.Real());
      f.text = r.Text();
      record.fields.push_back(f);
    }
    if (!r.Ok() || def.name.empty()) return 0;
    int attdef = 0;
    for (const auto& d : s->attdefs)
      if (d.second.name == def.name) attdef = d.first;
    if (attdef == 0) {
      attdef = s->NewTag();
      s->attdefs[attdef] = def;
    }
    auto owner = byRef.find({kind, key});
    if (owner == byRef.end()) continue;
    record.attdef = attdef;
    record.owner = owner->second;
    // Fields follow the definition as this session knows it.
    record.fields.resize(s->attdefs.at(attdef).fieldTypes.size());
    for (std::size_t j = 0; j < record.fields.size(); ++j) record.fields[j].type = s->attdefs.at(attdef).fieldTypes[j];
    int tag = s->NewTag();
    st.attribs[tag] = record;
    st.attribsOf[record.owner].push_back(tag);
  }
  std::string addonData = r.Text();
  if (!r.Ok()) return 0;
  if (addon) {
    auto withData = std::make_shared<BodyRecord>(*st.bodies.at(bodyTag));
    withData->addonData = addonData;
    st.bodies[bodyTag] = withData;
  }
  return bodyTag;
}

int FormatOf(int format, bool* binary) {
  if (format != BQ_PART_format_text && format != BQ_PART_format_binary) return BQ_ERROR_bad_value;
  *binary = format == BQ_PART_format_binary;
  return 0;
}

int Transmit(int n, const int* parts, const BQ_PART_transmit_o_t* options, std::string* data) {
  if (n <= 0) return BQ_ERROR_bad_count;
  if (!parts || !options) return BQ_ERROR_null_arg;
  if (options->o_t_version < 1) return BQ_ERROR_bad_option_version;
  bool binary = false;
  if (int code = FormatOf(options->format, &binary)) return code;
  std::vector<Located> where(n);
  for (int i = 0; i < n; ++i)
    if (int code = ResolveClass(parts[i], BQ_CLASS_body, &where[i])) return code;
  std::ostringstream out(binary ? std::ios::out | std::ios::binary : std::ios::out);
  out << kMagic << ' ' << kVersion << ' ' << (binary ? 'B' : 'T') << '\n';
  Writer w(out, binary);
  w.Int(n);
  w.Line();
  for (int i = 0; i < n; ++i) WritePart(w, *where[i].partition, *where[i].body, binary, options->transmit_addon_data);
  *data = out.str();
  return 0;
}

int Receive(const std::string& data, const BQ_PART_receive_o_t* options, int* n_parts, int** parts) {
  if (!options || !n_parts || !parts) return BQ_ERROR_null_arg;
  if (options->o_t_version < 1) return BQ_ERROR_bad_option_version;
  bool binary = false;
  if (int code = FormatOf(options->format, &binary)) return code;
  std::istringstream in(data, binary ? std::ios::in | std::ios::binary : std::ios::in);
  std::string magic;
  int version = 0;
  char form = 0;
  in >> magic >> version >> form;
  in.get();
  if (magic != kMagic || version != kVersion || form != (binary ? 'B' : 'T')) return BQ_ERROR_bad_transmit_data;
  Reader r(in, binary);
  int n = r.Count();
  if (!r.Ok() || n <= 0) return BQ_ERROR_bad_transmit_data;
  Partition* p = CurrentPartition();
  // Malformed data leaves the partition as it was.
  PartitionState before = p->state;
  int atMark = p->atMark;
  std::vector<int> received;
  for (int i = 0; i < n; ++i) {
    int body = 0;
    try {
      body = ReadPart(r, *p, binary, options->receive_addon_data);
    } catch (const Standard_Failure&) {
      body = 0;
    }
    if (body == 0) {
      p->state = before;
      p->atMark = atMark;
      return BQ_ERROR_bad_transmit_data;
    }
    received.push_back(body);
  }
  OutArray(received, n_parts, parts);
  return 0;
}

std::string FileName(const char* key, int format) {
  std::string name(key);
  std::size_t slash = name.find_last_of('/');
  std::size_t dot = name.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (hasExtension) return name;
  return name + (format == BQ_PART_format_binary ? ".b_b" : ".b_t");
}

}  // namespace

int BQ_PART_transmit(int n_parts, const int* parts, const char* key, const BQ_PART_transmit_o_t* options) {
  return KernelRun("BQ_PART_transmit", [&]() -> int {
    if (!key) return BQ_ERROR_null_arg;
    if (!*key) return BQ_ERROR_bad_name;
    const BQ_PART_transmit_o_t defaults{1, BQ_PART_format_text, true};
    if (!options) options = &defaults;
    std::string data;
    if (int code = Transmit(n_parts, parts, options, &data)) return code;
    std::ofstream file(FileName(key, options->format), std::ios::binary);
    if (!file) return BQ_ERROR_file_failure;
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    return file ? 0 : BQ_ERROR_file_failure;
  });
}

int BQ_PART_receive(const char* key, const BQ_PART_receive_o_t* options, int* n_parts, int** parts) {
  if (n_parts) *n_parts = 0;
  if (parts) *parts = nullptr;
  return KernelRun("BQ_PART_receive", [&]() -> int {
    if (!key) return BQ_ERROR_null_arg;
    if (!*key) return BQ_ERROR_bad_name;
    const BQ_PART_receive_o_t defaults{1, BQ_PART_format_text, true};
    if (!options) options = &defaults;
    std::ifstream file(key, std::ios::binary);
    if (!file) file.open(FileName(key, options->format), std::ios::binary);
    if (!file) {
      std::string name = std::string(key) + (options->format == BQ_PART_format_binary ? ".b_b" : ".b_t");
      file.open(name, std::ios::binary);
    }
    if (!file) return BQ_ERROR_file_failure;
    std::ostringstream content;
    content << file.rdbuf();
    return Receive(content.str(), options, n_parts, parts);
  });
}

int BQ_PART_transmit_b(int n_parts, const int* parts, const BQ_PART_transmit_o_t* options, BQ_MEMORY_block_t** block) {
  if (block) *block = nullptr;
  return KernelRun("BQ_PART_transmit_b", [&]() -> int {
    if (!block) return BQ_ERROR_null_arg;
    const BQ_PART_transmit_o_t defaults{1, BQ_PART_format_binary, true};
    if (!options) options = &defaults;
    std::string data;
    if (int code = Transmit(n_parts, parts, options, &data)) return code;
    // A chain of blocks of bounded size.
    const std::size_t kBlock = 1 << 16;
    BQ_MEMORY_block_t* head = nullptr;
    BQ_MEMORY_block_t** tail = &head;
    for (std::size_t at = 0; at < data.size(); at += kBlock) {
      std::size_t size = std::min(kBlock, data.size() - at);
      auto* b = new BQ_MEMORY_block_t{size, new char[size], nullptr};
      std::memcpy(b->bytes, data.data() + at, size);
      *tail = b;
      tail = &b->next;
    }
    *block = head;
    return 0;
  });
}

int BQ_PART_receive_b(const BQ_MEMORY_block_t* block, const BQ_PART_receive_o_t* options, int* n_parts, int** parts) {
  if (n_parts) *n_parts = 0;
  if (parts) *parts = nullptr;
  return KernelRun("BQ_PART_receive_b", [&]() -> int {
    if (!block) return BQ_ERROR_null_arg;
    const BQ_PART_receive_o_t defaults{1, BQ_PART_format_binary, true};
    if (!options) options = &defaults;
    std::string data;
    for (const BQ_MEMORY_block_t* b = block; b; b = b->next) {
      if (b->n_bytes > 0 && !b->bytes) return BQ_ERROR_null_arg;
      data.append(b->bytes, b->n_bytes);
    }
    return Receive(data, options, n_parts, parts);
  });
}
