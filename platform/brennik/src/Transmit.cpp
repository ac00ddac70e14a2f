// Transmit and receive: our own container holding, per part, the OCCT BREP data of the body
// and its attached geometry, the identifiers of its entities, its groups, its attributes
// (pointer fields travel empty) and the add-on layer's per-body data. One writer and one
// reader serve the text and the binary form.
#include "BodyStore.h"
#include "EntityOps.h"

#include "TransmitData.h"

#include <GeomTools.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <unordered_map>

using namespace brennik;

namespace {


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

// Reads what Writer wrote, never past the data: a length or a count larger than what remains
// is malformed data, refused before anything is allocated for it.
class Reader {
 public:
  Reader(const std::string& data, bool binary) : m_data(data), m_binary(binary) {}
  long long Int() {
    if (m_binary) {
      std::int64_t x = 0;
      Bytes(&x, sizeof x);
      return x;
    }
    std::string token = Token();
    if (!m_ok || token.empty() || token.size() > 20) return Fail(), 0;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(token.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return Fail(), 0;
    return v;
  }
  double Real() {
    double v = 0;
    if (m_binary) {
      Bytes(&v, sizeof v);
    } else {
      std::string token = Token();
      char* end = nullptr;
      if (!m_ok || token.empty() || token.size() > 40) return Fail(), 0;
      v = std::strtod(token.c_str(), &end);
      if (*end != '\0') return Fail(), 0;
    }
    if (!std::isfinite(v)) return Fail(), 0;
    return v;
  }
  std::string Text() {
    long long n = Int();
    if (!m_binary) {
      // The rest of the length's line.
      std::size_t newline = m_data.find('\n', m_at);
      if (newline == std::string::npos || newline - m_at > 16) return Fail(), std::string();
      m_at = newline + 1;
    }
    if (!m_ok || n < 0 || static_cast<unsigned long long>(n) > Remaining()) return Fail(), std::string();
    std::string s = m_data.substr(m_at, static_cast<std::size_t>(n));
    m_at += static_cast<std::size_t>(n);
    return s;
  }
  // A count of items still to be read: each takes at least one byte.
  int Count() {
    long long n = Int();
    if (n < 0 || static_cast<unsigned long long>(n) > Remaining()) Fail();
    return m_ok ? static_cast<int>(n) : 0;
  }
  bool Ok() const { return m_ok; }
  void Fail() { m_ok = false; }

 private:
  std::size_t Remaining() const { return m_data.size() - m_at; }
  void Bytes(void* out, std::size_t n) {
    if (!m_ok || Remaining() < n) return Fail();
    std::memcpy(out, m_data.data() + m_at, n);
    m_at += n;
  }
  std::string Token() {
    while (m_at < m_data.size() && std::isspace(static_cast<unsigned char>(m_data[m_at]))) ++m_at;
    std::size_t begin = m_at;
    while (m_at < m_data.size() && !std::isspace(static_cast<unsigned char>(m_data[m_at]))) ++m_at;
    return m_data.substr(begin, std::min<std::size_t>(m_at - begin, 64));
  }
  const std::string& m_data;
  bool m_binary;
  std::size_t m_at = 0;
  bool m_ok = true;
};

void WriteGeom(Writer& w, const GeomData& g) {
  w.Int(g.cls);
  std::ostringstream out;
  out.precision(17);
  if (g.cls == BQ_CLASS_point) out << g.point.X() << ' ' << g.point.Y() << ' ' << g.point.Z();
  else if (!g.curve.IsNull()) GeomTools::Write(g.curve, out);
  else GeomTools::Write(g.surface, out);
  w.Text(out.str());
}

// Free geometry of the class it claims (the standard-form enquiries rely on it).
bool ReadGeom(Reader& r, GeomData* g) {
  g->cls = static_cast<int>(r.Int());
  std::string text = r.Text();
  if (!r.Ok()) return false;
  if (g->cls == BQ_CLASS_point) {
    Reader point(text, false);
    double x = point.Real(), y = point.Real(), z = point.Real();
    if (!point.Ok()) return false;
    g->point = gp_Pnt(x, y, z);
    return true;
  }
  if (IsSubclass(g->cls, BQ_CLASS_curve))
    return CurveFromText(text, &g->curve) && ClassOfCurve(g->curve) == g->cls;
  if (IsSubclass(g->cls, BQ_CLASS_surf))
    return SurfaceFromText(text, &g->surface) && ClassOfSurface(g->surface) == g->cls;
  return false;
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

// Whether the attribute stays out of the data: one of a definition left out, or one on a group
// that stays out.
bool LeftOut(const AttribRecord& record, const std::set<int>& leftOutAttdefs, const std::set<int>& leftOutGroups) {
  return leftOutAttdefs.count(record.attdef) > 0 || leftOutGroups.count(record.owner) > 0;
}

void WritePart(Writer& w, const Partition& p, const BodyRecord& body, bool binary, bool addon,
               const std::set<int>& leftOutAttdefs) {
  const PartitionState& st = p.state;
  w.Int(body.identifier);
  w.Int(body.nextIdentifier);
  w.Line();
  w.Text(ShapeToData(body.shape, binary));
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
  // A group carrying an attribute of a definition left out stays out with all its attributes.
  std::set<int> leftOutGroups;
  PartIndex index{&body, {}};
  for (int g : GroupsOfPartInState(st, body.tag)) {
    auto attribs = st.attribsOf.find(g);
    const bool leftOut = !leftOutAttdefs.empty() && attribs != st.attribsOf.end() &&
                         std::any_of(attribs->second.begin(), attribs->second.end(),
                                     [&](int a) { return leftOutAttdefs.count(st.attribs.at(a).attdef) > 0; });
    if (leftOut) leftOutGroups.insert(g);
    else index.groups.push_back(g);
  }
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
    if (it == st.attribsOf.end()) continue;
    for (int a : it->second)
      if (!LeftOut(st.attribs.at(a), leftOutAttdefs, leftOutGroups)) attribs.push_back(a);
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

// Identifiers of a part's faces, edges and vertices (with their geometry's), as received:
// each positive and, within its class, unique (replay finds entities by class and identifier).
bool ReadIdentifiers(Reader& r, std::vector<std::pair<int, int>> (&ids)[3], int* nextIdentifier) {
  for (auto& list : ids) {
    int n = r.Count();
    std::set<int> seen;
    for (int i = 0; i < n && r.Ok(); ++i) {
      long long id = r.Int();
      long long geomId = r.Int();
      if (id <= 0 || id >= INT_MAX || geomId < 0 || geomId >= INT_MAX || !seen.insert(static_cast<int>(id)).second)
        return false;
      list.emplace_back(static_cast<int>(id), static_cast<int>(geomId));
      // New entities are numbered after every identifier the body holds.
      *nextIdentifier = std::max<long long>(*nextIdentifier, std::max(id, geomId) + 1);
    }
  }
  return r.Ok();
}

// One attribute's definition and fields as received. The definition must be one that
// BQ_ATTDEF_create_2 would make, and each field hold only values of its type.
bool ReadAttribute(Reader& r, AttdefRecord* def, AttribRecord* record, int* kind, int* key) {
  def->name = r.Text();
  def->attdefClass = static_cast<int>(r.Int());
  int nOwners = r.Count();
  for (int j = 0; j < nOwners && r.Ok(); ++j) def->ownerTypes.push_back(static_cast<int>(r.Int()));
  int nFields = r.Count();
  for (int j = 0; j < nFields && r.Ok(); ++j) {
    int type = static_cast<int>(r.Int());
    if (type != BQ_FIELD_type_int && type != BQ_FIELD_type_real && type != BQ_FIELD_type_string &&
        type != BQ_FIELD_type_pointer)
      return false;
    def->fieldTypes.push_back(type);
    def->fieldNames.push_back(r.Text());
  }
  *kind = static_cast<int>(r.Int());
  *key = static_cast<int>(r.Int());
  for (int j = 0; j < nFields && r.Ok(); ++j) {
    AttribField f;
    f.type = def->fieldTypes[j];
    int n = r.Count();
    for (int k = 0; k < n && r.Ok(); ++k) f.ints.push_back(static_cast<int>(r.Int()));
    n = r.Count();
    for (int k = 0; k < n && r.Ok(); ++k) f.reals.push_back(r.Real());
    f.text = r.Text();
    bool fits = (f.ints.empty() || f.type == BQ_FIELD_type_int) && (f.reals.empty() || f.type == BQ_FIELD_type_real) &&
                (f.text.empty() || f.type == BQ_FIELD_type_string);
    if (!fits) return false;
    record->fields.push_back(f);
  }
  return r.Ok() && !def->name.empty();
}

// The class of an entity of a part being received, by its reference kind.
int ClassOfRef(const PartitionState& st, int kind, int tag) {
  switch (kind) {
    case 0: return BQ_CLASS_body;
    case 1: return BQ_CLASS_face;
    case 2: return BQ_CLASS_edge;
    case 3: return BQ_CLASS_vertex;
    case 4: return st.freeGeoms.at(tag).data.cls;
    default: return BQ_CLASS_group;
  }
}

// Reads one part into the partition. Returns the new body tag, 0 on malformed data (the
// partition and the session are then left as they were by the caller).
int ReadPart(Reader& r, Partition& p, bool binary, bool addon) {
  Session* s = CurrentSession();
  long long bodyIdentifier = r.Int();
  int nextIdentifier = static_cast<int>(std::min<long long>(std::max<long long>(r.Int(), 1), INT_MAX));
  TopoDS_Shape shape;
  std::string bytes = r.Text();
  if (!r.Ok() || bodyIdentifier <= 0 || bodyIdentifier >= INT_MAX) return 0;
  nextIdentifier = std::max<long long>(nextIdentifier, bodyIdentifier + 1);
  std::vector<std::pair<int, int>> ids[3];
  if (!ReadIdentifiers(r, ids, &nextIdentifier)) return 0;
  SubShapeMaps subShapes;
  if (!ShapeFromData(bytes, binary, &shape, &subShapes)) return 0;
  const TopTools_IndexedMapOfShape* maps[3] = {&subShapes.faces, &subShapes.edges, &subShapes.vertices};
  long long entities = 0;
  for (int k = 0; k < 3; ++k) {
    if (maps[k]->Extent() != static_cast<int>(ids[k].size())) return 0;
    entities += maps[k]->Extent();
  }
  // Building the record numbers the body and each entity's geometry (and, at most, each
  // entity) from the counter: a counter without room for them is corrupt data, refused
  // before it can run past the largest identifier.
  if (static_cast<long long>(nextIdentifier) + 1 + 2 * entities > INT_MAX) return 0;
  int bodyTag = s->NewTag();
  BodyPtr built = BuildBodyRecord(*s, bodyTag, shape, nullptr, [&](const TopoDS_Shape& sub) {
    for (int k = 0; k < 3; ++k) {
      int index = maps[k]->FindIndex(sub);
      if (index > 0) return Carried{0, ids[k][index - 1].first};
    }
    return Carried{};
  }, nextIdentifier);
  // The record is fresh and held only here: it is completed in place, not copied, and only
  // then installed.
  std::shared_ptr<BodyRecord> body = built.use_count() == 1 ? std::const_pointer_cast<BodyRecord>(built)
                                                            : std::make_shared<BodyRecord>(*built);
  built.reset();
  body->identifier = static_cast<int>(bodyIdentifier);
  body->nextIdentifier = std::max(body->nextIdentifier, nextIdentifier);
  const std::vector<int>* lists[] = {&body->faces, &body->edges, &body->vertices};
  for (int k = 0; k < 3; ++k)
    for (std::size_t i = 0; i < lists[k]->size(); ++i) {
      int geom = body->subs.at((*lists[k])[i]).geom;
      if (geom && ids[k][i].second) body->geoms.at(geom).identifier = ids[k][i].second;
    }
  // Building numbered the geometry from the counter before the carried identifiers replaced
  // those numbers: the counter goes on from where the sent body's stood (or past any number
  // that stayed), so the received body numbers what it gains as the sent one would.
  int highest = body->identifier;
  for (const auto& sub : body->subs) highest = std::max(highest, sub.second.identifier);
  for (const auto& geom : body->geoms) highest = std::max(highest, geom.second.identifier);
  body->nextIdentifier = std::max(nextIdentifier, highest + 1);
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
      if (it != byRef.end() && std::find(group.members.begin(), group.members.end(), it->second) == group.members.end())
        group.members.push_back(it->second);
    }
    int tag = s->NewTag();
    st.groups[tag] = group;
    byRef[{5, i}] = tag;
  }
  int nAttribs = r.Count();
  for (int i = 0; i < nAttribs && r.Ok(); ++i) {
    AttdefRecord def;
    AttribRecord record;
    int kind = 0, key = 0;
    if (!ReadAttribute(r, &def, &record, &kind, &key)) return 0;
    int attdef = 0;
    for (const auto& d : s->attdefs)
      if (d.second.name == def.name) attdef = d.first;
    if (attdef == 0) {
      attdef = s->NewTag();
      s->attdefs[attdef] = def;
    }
    const AttdefRecord& known = s->attdefs.at(attdef);
    auto owner = byRef.find({kind, key});
    if (owner == byRef.end()) continue;
    // The owner must be one the definition allows, as for an attribute made directly.
    int ownerClass = ClassOfRef(st, kind, owner->second);
    if (std::none_of(known.ownerTypes.begin(), known.ownerTypes.end(),
                     [&](int type) { return IsSubclass(ownerClass, type); }))
      return 0;
    record.attdef = attdef;
    record.owner = owner->second;
    // Fields follow the definition as this session knows it; values of a field whose type
    // differs there are left behind.
    record.fields.resize(known.fieldTypes.size());
    for (std::size_t j = 0; j < record.fields.size(); ++j) {
      if (record.fields[j].type != known.fieldTypes[j]) record.fields[j] = AttribField();
      record.fields[j].type = known.fieldTypes[j];
    }
    int tag = s->NewTag();
    st.attribs[tag] = record;
    st.attribsOf[record.owner].push_back(tag);
  }
  std::string addonData = r.Text();
  if (!r.Ok()) return 0;
  if (addon) body->addonData = std::move(addonData);
  InstallBody(st, body);
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
  std::set<int> leftOutAttdefs;
  if (options->o_t_version >= 3 && options->n_left_out_attdefs != 0) {
    if (options->n_left_out_attdefs < 0) return BQ_ERROR_bad_count;
    if (!options->left_out_attdefs) return BQ_ERROR_null_arg;
    const Session* s = CurrentSession();
    for (int i = 0; i < options->n_left_out_attdefs; ++i) {
      const int attdef = options->left_out_attdefs[i];
      if (!s->attdefs.count(attdef)) return BQ_ERROR_bad_tag;
      leftOutAttdefs.insert(attdef);
    }
  }
  std::ostringstream out(binary ? std::ios::out | std::ios::binary : std::ios::out);
  Writer w(out, binary);
  w.Int(n);
  w.Line();
  for (int i = 0; i < n; ++i)
    WritePart(w, *where[i].partition, *where[i].body, binary, options->transmit_addon_data, leftOutAttdefs);
  *data = SealTransmitData(out.str(), binary);
  return 0;
}

// Takes out of the state every entity whose tag is firstTag or later: the bodies with their
// sub-entities, free geometry, groups and attributes (with their owners' lists).
void DropTagsFrom(PartitionState& st, int firstTag) {
  std::vector<int> bodies;
  for (auto it = st.bodies.lower_bound(firstTag); it != st.bodies.end(); ++it) bodies.push_back(it->first);
  for (int body : bodies) UninstallBody(st, body);
  st.freeGeoms.erase(st.freeGeoms.lower_bound(firstTag), st.freeGeoms.end());
  st.groups.erase(st.groups.lower_bound(firstTag), st.groups.end());
  for (auto it = st.attribs.lower_bound(firstTag); it != st.attribs.end(); ++it) {
    auto list = st.attribsOf.find(it->second.owner);
    if (list == st.attribsOf.end()) continue;
    list->second.erase(std::remove(list->second.begin(), list->second.end(), it->first), list->second.end());
    if (list->second.empty()) st.attribsOf.erase(list);
  }
  st.attribs.erase(st.attribs.lower_bound(firstTag), st.attribs.end());
}

int Receive(const std::string& data, const BQ_PART_receive_o_t* options, int* n_parts, int** parts) {
  if (!options || !n_parts || !parts) return BQ_ERROR_null_arg;
  if (options->o_t_version < 1) return BQ_ERROR_bad_option_version;
  bool binary = false;
  if (int code = FormatOf(options->format, &binary)) return code;
  std::string payload;
  if (!UnsealTransmitData(data, binary, &payload)) return BQ_ERROR_bad_transmit_data;
  Reader r(payload, binary);
  int n = r.Count();
  if (!r.Ok() || n <= 0) return BQ_ERROR_bad_transmit_data;
  // Refused data leaves the partition and the session as they were: no definition, no tag.
  // Everything a receive adds carries a tag from here on, so taking it back costs what was
  // received, not what the partition already held.
  Session* s = CurrentSession();
  Partition* p = CurrentPartition();
  const int atMark = p->atMark;
  const int nextTag = s->nextTag;
  std::vector<int> received;
  for (int i = 0; i < n; ++i) {
    int body = 0;
    try {
      body = ReadPart(r, *p, binary, options->receive_addon_data);
    } catch (const Standard_Failure&) {
      body = 0;
    }
    if (body == 0) {
      DropTagsFrom(p->Change(), nextTag);
      s->attdefs.erase(s->attdefs.lower_bound(nextTag), s->attdefs.end());
      p->atMark = atMark;
      s->nextTag = nextTag;
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

