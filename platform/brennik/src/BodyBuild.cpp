// Building body records from OCCT shapes: tags, identifiers, adjacency, geometry and fins.
#include "BodyStore.h"
#include "BodyShapeChecks.h"

#include <BRep_CurveRepresentation.hxx>
#include <BRep_ListIteratorOfListOfCurveRepresentation.hxx>
#include <BRep_ListIteratorOfListOfPointRepresentation.hxx>
#include <BRep_PointRepresentation.hxx>
#include <BRep_TEdge.hxx>
#include <BRep_TFace.hxx>
#include <BRep_TVertex.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_BezierSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_ElementarySurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_OffsetCurve.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfLinearExtrusion.hxx>
#include <Geom_SurfaceOfRevolution.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <cstring>
#include <set>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace brennik {

int ClassOfCurve(const Handle(Geom_Curve)& curve) {
  Handle(Geom_Curve) c = curve;
  while (auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(c)) c = trimmed->BasisCurve();
  if (c.IsNull()) return BQ_CLASS_null;
  if (c->IsKind(STANDARD_TYPE(Geom_Line))) return BQ_CLASS_line;
  if (c->IsKind(STANDARD_TYPE(Geom_Circle))) return BQ_CLASS_circle;
  if (c->IsKind(STANDARD_TYPE(Geom_Ellipse))) return BQ_CLASS_ellipse;
  if (c->IsKind(STANDARD_TYPE(Geom_BSplineCurve)) || c->IsKind(STANDARD_TYPE(Geom_BezierCurve)))
    return BQ_CLASS_bcurve;
  if (c->IsKind(STANDARD_TYPE(Geom_OffsetCurve))) return BQ_CLASS_fcurve;
  return BQ_CLASS_icurve;
}

int ClassOfSurface(const Handle(Geom_Surface)& surface) {
  Handle(Geom_Surface) s = surface;
  while (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) s = trimmed->BasisSurface();
  if (s.IsNull()) return BQ_CLASS_null;
  if (s->IsKind(STANDARD_TYPE(Geom_Plane))) return BQ_CLASS_plane;
  if (s->IsKind(STANDARD_TYPE(Geom_CylindricalSurface))) return BQ_CLASS_cyl;
  if (s->IsKind(STANDARD_TYPE(Geom_ConicalSurface))) return BQ_CLASS_cone;
  if (s->IsKind(STANDARD_TYPE(Geom_SphericalSurface))) return BQ_CLASS_sphere;
  if (s->IsKind(STANDARD_TYPE(Geom_ToroidalSurface))) return BQ_CLASS_torus;
  if (s->IsKind(STANDARD_TYPE(Geom_OffsetSurface))) return BQ_CLASS_offset;
  if (s->IsKind(STANDARD_TYPE(Geom_SurfaceOfLinearExtrusion))) return BQ_CLASS_swept;
  if (s->IsKind(STANDARD_TYPE(Geom_SurfaceOfRevolution))) return BQ_CLASS_spun;
  return BQ_CLASS_bsurf;
}

double StandardNormalSign(const Handle(Geom_Surface)& surface) {
  Handle(Geom_Surface) s = surface;
  for (;;) {
    if (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) s = trimmed->BasisSurface();
    else if (auto offset = Handle(Geom_OffsetSurface)::DownCast(s)) s = offset->BasisSurface();
    else break;
  }
  auto elementary = Handle(Geom_ElementarySurface)::DownCast(s);
  return !elementary.IsNull() && !elementary->Position().Direct() ? -1.0 : 1.0;
}

bool FaceAgreesWithSurface(const TopoDS_Shape& face, const Handle(Geom_Surface)& surface) {
  return (face.Orientation() != TopAbs_REVERSED) == (StandardNormalSign(surface) > 0.0);
}

int BodyTypeOf(const TopoDS_Shape& shape) {
  if (shape.IsNull()) return BQ_BODY_type_empty;
  TopExp_Explorer solids(shape, TopAbs_SOLID);
  if (solids.More()) return BQ_BODY_type_solid;
  TopExp_Explorer faces(shape, TopAbs_FACE);
  if (faces.More()) return BQ_BODY_type_sheet;
  TopExp_Explorer edges(shape, TopAbs_EDGE);
  if (edges.More()) return BQ_BODY_type_wire;
  TopExp_Explorer vertices(shape, TopAbs_VERTEX);
  if (vertices.More()) return BQ_BODY_type_minimum;
  return BQ_BODY_type_empty;
}

namespace {

// Whether a shape's orientation is one of the four. A shape read from bad data can hold a value
// outside the enumeration, which may not even be loaded as one: the stored value is copied out
// as an integer, from where a probe finds the orientation inside a shape.
class OrientationCheck {
 public:
  OrientationCheck() {
    TopoDS_Shape forward, external;
    forward.Orientation(TopAbs_FORWARD);
    external.Orientation(TopAbs_EXTERNAL);
    const auto* a = reinterpret_cast<const unsigned char*>(&forward);
    const auto* b = reinterpret_cast<const unsigned char*>(&external);
    std::size_t at = 0;
    while (at < sizeof(TopoDS_Shape) && a[at] == b[at]) ++at;
    m_offset = at - at % alignof(TopAbs_Orientation);
  }
  bool Known(const TopoDS_Shape& shape) const {
    if (m_offset + sizeof(TopAbs_Orientation) > sizeof(TopoDS_Shape)) return false;
    std::underlying_type<TopAbs_Orientation>::type stored = 0;
    std::memcpy(&stored, reinterpret_cast<const unsigned char*>(&shape) + m_offset, sizeof stored);
    return stored >= TopAbs_FORWARD && stored <= TopAbs_EXTERNAL;
  }

 private:
  std::size_t m_offset = 0;
};

// Whether a regularity's continuity is one of OCCT's. Bad data can store any number there,
// which may not even be loaded as the enumeration: it is copied out as an integer.
bool KnownContinuity(const GeomAbs_Shape& continuity) {
  std::underlying_type<GeomAbs_Shape>::type stored = 0;
  std::memcpy(&stored, &continuity, sizeof stored);
  return stored >= GeomAbs_C0 && stored <= GeomAbs_CN;
}

// The geometry a face, edge or vertex refers to is present: OCCT's checker takes it as given.
// Meshes and polygons, which bodies never carry, are refused.
bool GeometryPresent(const TopoDS_Shape& shape) {
  if (shape.ShapeType() == TopAbs_FACE) {
    const auto* face = dynamic_cast<const BRep_TFace*>(shape.TShape().get());
    return face && !face->Surface().IsNull() && face->NbTriangulations() == 0;
  }
  if (shape.ShapeType() == TopAbs_EDGE) {
    const auto* edge = dynamic_cast<const BRep_TEdge*>(shape.TShape().get());
    if (!edge) return false;
    bool curve3d = false;  // an edge that is not degenerate lies on a curve
    for (BRep_ListIteratorOfListOfCurveRepresentation it(edge->Curves()); it.More(); it.Next()) {
      const Handle(BRep_CurveRepresentation)& rep = it.Value();
      curve3d = curve3d || (!rep.IsNull() && rep->IsCurve3D() && !rep->Curve3D().IsNull());
      if (rep.IsNull() || (!rep->IsCurve3D() && !rep->IsCurveOnSurface() && !rep->IsRegularity())) return false;
      if (rep->IsCurveOnSurface() && (rep->PCurve().IsNull() || rep->Surface().IsNull())) return false;
      if (rep->IsCurveOnClosedSurface() && rep->PCurve2().IsNull()) return false;
      if (rep->IsRegularity() && (rep->Surface().IsNull() || rep->Surface2().IsNull() ||
                                  !KnownContinuity(rep->Continuity())))
        return false;
    }
    return curve3d || edge->Degenerated();
  }
  if (shape.ShapeType() == TopAbs_VERTEX) {
    const auto* vertex = dynamic_cast<const BRep_TVertex*>(shape.TShape().get());
    if (!vertex) return false;
    for (BRep_ListIteratorOfListOfPointRepresentation it(vertex->Points()); it.More(); it.Next()) {
      const Handle(BRep_PointRepresentation)& rep = it.Value();
      if (rep.IsNull()) return false;
      if (rep->IsPointOnCurve() && rep->Curve().IsNull()) return false;
      if (rep->IsPointOnCurveOnSurface() && (rep->PCurve().IsNull() || rep->Surface().IsNull())) return false;
      if (rep->IsPointOnSurface() && rep->Surface().IsNull()) return false;
    }
  }
  return true;
}

// Every sub-shape present, of a known orientation and of a lower kind than its parent
// (compounds may nest), no shape inside itself, nesting bounded, the geometry of each face,
// edge and vertex present: what TopExp, OCCT's checker and the body store rely on. Walked
// without composing orientations, which a bad one breaks.
bool WellFormed(const TopoDS_Shape& shape, const OrientationCheck& orientation, std::unordered_set<const void*>& done,
                std::vector<const void*>& path, int depth) {
  const int kDeepest = 64;
  const void* key = shape.TShape().get();
  if (done.count(key)) return true;
  if (depth > kDeepest || std::find(path.begin(), path.end(), key) != path.end() || !GeometryPresent(shape))
    return false;
  path.push_back(key);
  for (TopoDS_Iterator it(shape, false, false); it.More(); it.Next()) {
    const TopoDS_Shape& sub = it.Value();
    if (sub.IsNull() || !orientation.Known(sub)) return false;
    const bool nests = sub.ShapeType() == TopAbs_COMPOUND && shape.ShapeType() == TopAbs_COMPOUND;
    if (sub.ShapeType() <= shape.ShapeType() && !nests) return false;
    if (!WellFormed(sub, orientation, done, path, depth + 1)) return false;
  }
  path.pop_back();
  done.insert(key);
  return true;
}

}  // namespace

bool IsValidBodyShape(const TopoDS_Shape& shape, SubShapeMaps* maps) {
  const OrientationCheck orientation;
  if (shape.IsNull() || !orientation.Known(shape)) return false;
  std::unordered_set<const void*> done;
  std::vector<const void*> path;
  if (!WellFormed(shape, orientation, done, path, 0)) return false;
  return ShapeChecksHold(shape, maps);
}

// Geometry under a body is shared per OCCT geometry object and placement. Keys are hashed by
// object, so finding one stays constant time on a body with many faces and edges; for one
// object and placement the first key made wins.
class GeomKeys {
 public:
  void Reserve(std::size_t n) { m_byObject.reserve(n); }
  void Add(const Handle(Standard_Transient)& object, const TopLoc_Location& location, int tag) {
    if (Find(object, location) == 0) m_byObject.emplace(object.get(), Key{object, location, tag});
  }
  int Find(const Handle(Standard_Transient)& object, const TopLoc_Location& location) const {
    const auto found = m_byObject.equal_range(object.get());
    for (auto key = found.first; key != found.second; ++key)
      if (key->second.location.IsEqual(location)) return key->second.tag;
    return 0;
  }

 private:
  struct Key {
    Handle(Standard_Transient) object;  // held, so that its address stays its own
    TopLoc_Location location;
    int tag;
  };
  std::unordered_multimap<const Standard_Transient*, Key> m_byObject;
};

namespace {

// The tags of the shape's sub-shapes of the type, in the order first met. Each sub-shape has
// its own tag, so a tag met again is a sub-shape met again: skipped, as a map of the sub-shapes
// would, without building one for every face and edge.
std::vector<int> UniqueTags(const TopoDS_Shape& shape, TopAbs_ShapeEnum type, const ShapeTagMap& tags) {
  std::vector<int> out;
  std::unordered_set<int> seen;
  const std::size_t kFew = 32;
  for (TopExp_Explorer it(shape, type); it.More(); it.Next()) {
    const int* tag = tags.Seek(it.Current());
    if (!tag) continue;
    if (out.size() < kFew) {
      if (std::find(out.begin(), out.end(), *tag) != out.end()) continue;
    } else {
      if (seen.empty()) seen.insert(out.begin(), out.end());
      if (!seen.insert(*tag).second) continue;
    }
    out.push_back(*tag);
  }
  return out;
}

}  // namespace

namespace {

// Geometry: one tag per OCCT geometry object and placement; kept when the old body had it, and
// then with the old body's data for it, which the same object and placement give again.
void PlaceGeometry(Session& session, BodyRecord& body, const BodyRecord* old) {
  std::shared_ptr<const GeomKeys> oldIndex = old ? old->geomKeys : nullptr;
  if (old && !oldIndex) {
    auto made = std::make_shared<GeomKeys>();
    made->Reserve(old->faces.size() + old->edges.size());
    for (int face : old->faces) {
      TopLoc_Location loc;
      Handle(Geom_Surface) s = BRep_Tool::Surface(TopoDS::Face(old->subs.at(face).shape), loc);
      if (!s.IsNull() && old->subs.at(face).geom) made->Add(s, loc, old->subs.at(face).geom);
    }
    for (int edge : old->edges) {
      TopLoc_Location loc;
      double f, l;
      Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(old->subs.at(edge).shape), loc, f, l);
      if (!c.IsNull() && old->subs.at(edge).geom) made->Add(c, loc, old->subs.at(edge).geom);
    }
    oldIndex = made;
  }
  static const GeomKeys none;
  const GeomKeys& oldKeys = oldIndex ? *oldIndex : none;
  auto index = std::make_shared<GeomKeys>();
  GeomKeys& newKeys = *index;
  newKeys.Reserve(body.faces.size() + body.edges.size());
  // Gathered first and put into the record's map in tag order at the end, in one pass.
  std::vector<std::pair<int, BodyGeom>> placed;
  placed.reserve(body.faces.size() + body.edges.size() + body.vertices.size());
  std::unordered_set<int> used;
  used.reserve(placed.capacity());
  auto placeGeom = [&](SubEntity& entity, const Handle(Standard_Transient)& object, const TopLoc_Location& loc,
                       const auto& makeData) {
    int tag = newKeys.Find(object, loc);
    if (tag == 0) {
      const int oldTag = oldKeys.Find(object, loc);
      const bool keep = oldTag != 0 && !used.count(oldTag);
      auto oldIt = keep ? old->geoms.find(oldTag) : std::map<int, BodyGeom>::const_iterator();
      tag = keep ? oldTag : session.NewTag();
      if (keep && oldIt != old->geoms.end()) {
        placed.emplace_back(tag, oldIt->second);
      } else {
        BodyGeom geom;
        geom.data = makeData();
        geom.identifier = body.nextIdentifier++;
        placed.emplace_back(tag, std::move(geom));
      }
      used.insert(tag);
      newKeys.Add(object, loc, tag);
    }
    entity.geom = tag;
  };
  for (int face : body.faces) {
    SubEntity& entity = body.subs.at(face);
    TopLoc_Location loc;
    Handle(Geom_Surface) s = BRep_Tool::Surface(TopoDS::Face(entity.shape), loc);
    if (s.IsNull()) continue;
    placeGeom(entity, s, loc, [&] {
      GeomData data;
      data.surface = loc.IsIdentity() ? s : Handle(Geom_Surface)::DownCast(s->Transformed(loc.Transformation()));
      data.cls = ClassOfSurface(data.surface);
      return data;
    });
  }
  for (int edge : body.edges) {
    SubEntity& entity = body.subs.at(edge);
    TopLoc_Location loc;
    double f, l;
    const TopoDS_Edge& e = TopoDS::Edge(entity.shape);
    if (BRep_Tool::Degenerated(e)) continue;
    Handle(Geom_Curve) c = BRep_Tool::Curve(e, loc, f, l);
    if (c.IsNull()) continue;
    placeGeom(entity, c, loc, [&] {
      GeomData data;
      data.curve = loc.IsIdentity() ? c : Handle(Geom_Curve)::DownCast(c->Transformed(loc.Transformation()));
      data.cls = ClassOfCurve(data.curve);
      return data;
    });
  }
  body.geomKeys = index;
  for (int vertex : body.vertices) {
    SubEntity& entity = body.subs.at(vertex);
    GeomData data;
    data.cls = BQ_CLASS_point;
    data.point = BRep_Tool::Pnt(TopoDS::Vertex(entity.shape));
    int tag = 0;
    int identifier = 0;
    if (old) {
      auto it = old->subs.find(vertex);
      if (it != old->subs.end() && it->second.geom && !used.count(it->second.geom)) {
        tag = it->second.geom;
        identifier = old->geoms.at(tag).identifier;
      }
    }
    if (tag == 0) {
      tag = session.NewTag();
      identifier = body.nextIdentifier++;
    }
    placed.emplace_back(tag, BodyGeom{data, identifier});
    used.insert(tag);
    entity.geom = tag;
  }
  std::sort(placed.begin(), placed.end(),
            [](const std::pair<int, BodyGeom>& a, const std::pair<int, BodyGeom>& b) { return a.first < b.first; });
  for (auto& entry : placed) body.geoms.emplace_hint(body.geoms.end(), entry.first, std::move(entry.second));
}

}  // namespace

BodyPtr BuildBodyRecord(Session& session, int bodyTag, const TopoDS_Shape& shape,
                        const BodyRecord* old, const CarryFn& carry, int firstIdentifier) {
  auto body = std::make_shared<BodyRecord>();
  body->tag = bodyTag;
  body->shape = shape;
  body->bodyType = BodyTypeOf(shape);
  body->nextIdentifier = old ? old->nextIdentifier : std::max(1, firstIdentifier);
  body->identifier = old ? old->identifier : body->nextIdentifier++;
  if (old) {
    body->attachedGeoms = old->attachedGeoms;
    body->addonData = old->addonData;
  }

  const std::pair<TopAbs_ShapeEnum, int> kinds[] = {
      {TopAbs_FACE, BQ_CLASS_face}, {TopAbs_EDGE, BQ_CLASS_edge}, {TopAbs_VERTEX, BQ_CLASS_vertex}};
  for (const auto& kind : kinds) {
    TopTools_IndexedMapOfShape map;
    TopExp::MapShapes(shape, kind.first, map);
    std::vector<int>& list = kind.second == BQ_CLASS_face   ? body->faces
                             : kind.second == BQ_CLASS_edge ? body->edges
                                                            : body->vertices;
    for (int i = 1; i <= map.Extent(); ++i) {
      Carried c = carry ? carry(map(i)) : Carried{};
      if (c.tag != 0 && body->subs.count(c.tag)) c = Carried{};
      if (c.tag == 0) c.tag = session.NewTag();
      if (c.identifier == 0) c.identifier = body->nextIdentifier++;
      SubEntity sub;
      sub.cls = kind.second;
      sub.shape = map(i);
      sub.identifier = c.identifier;
      body->subs[c.tag] = sub;
      body->shapeToTag.Bind(map(i), c.tag);
      list.push_back(c.tag);
    }
  }

  // Adjacency, each list in traversal order without repeats.
  for (int face : body->faces) {
    const TopoDS_Shape& f = body->subs[face].shape;
    body->faceEdges[face] = UniqueTags(f, TopAbs_EDGE, body->shapeToTag);
    body->faceVertices[face] = UniqueTags(f, TopAbs_VERTEX, body->shapeToTag);
    for (int edge : body->faceEdges[face]) body->edgeFaces[edge].push_back(face);
    for (int vertex : body->faceVertices[face]) body->vertexFaces[vertex].push_back(face);
  }
  for (int edge : body->edges) {
    for (int vertex : UniqueTags(body->subs[edge].shape, TopAbs_VERTEX, body->shapeToTag))
      body->vertexEdges[vertex].push_back(edge);
  }

  PlaceGeometry(session, *body, old);

  // Fins: one per (edge, face) pair.
  for (int edge : body->edges) {
    for (int face : body->edgeFaces[edge]) {
      std::pair<int, int> key(edge, face);
      int tag = 0;
      if (old) {
        auto it = old->finOf.find(key);
        if (it != old->finOf.end()) tag = it->second;
      }
      if (tag == 0) tag = session.NewTag();
      body->fins[tag] = key;
      body->finOf[key] = tag;
    }
  }
  return body;
}

namespace {

// Matches a traversal against a list that holds each entity once, in the order first met: a
// tag met again is skipped, a tag out of order or not in the list fails. Finished when the
// whole list was met.
class OrderMatch {
 public:
  explicit OrderMatch(const std::vector<int>& expected) : m_expected(expected) {}
  bool Meet(int tag) {
    if (m_next < m_expected.size() && m_expected[m_next] == tag) {
      ++m_next;
      return true;
    }
    return std::find(m_expected.begin(), m_expected.begin() + m_next, tag) != m_expected.begin() + m_next;
  }
  bool Finished() const { return m_next == m_expected.size(); }

 private:
  const std::vector<int>& m_expected;
  std::size_t m_next = 0;
};

const std::vector<int>& ListAt(const Adjacency& map, int tag) {
  static const std::vector<int> none;
  auto it = map.find(tag);
  return it == map.end() ? none : it->second;
}

// Whether the new record's faces bound the same edges and vertices, in the same order, and its
// edges end at the same vertices, as the old record's: then every adjacency list and fin of the
// old record is the new one's too.
bool MeetsAsBefore(const BodyRecord& body, const BodyRecord& old) {
  auto tagOf = [&body](const TopoDS_Shape& sub) {
    const int* tag = body.shapeToTag.Seek(sub);
    return tag ? *tag : 0;
  };
  for (int face : body.faces) {
    OrderMatch edges(ListAt(old.faceEdges, face)), vertices(ListAt(old.faceVertices, face));
    for (TopoDS_Iterator wire(body.subs.at(face).shape); wire.More(); wire.Next()) {
      for (TopoDS_Iterator edge(wire.Value()); edge.More(); edge.Next()) {
        if (edge.Value().ShapeType() != TopAbs_EDGE || !edges.Meet(tagOf(edge.Value()))) return false;
        for (TopoDS_Iterator vertex(edge.Value()); vertex.More(); vertex.Next())
          if (!vertices.Meet(tagOf(vertex.Value()))) return false;
      }
    }
    if (!edges.Finished() || !vertices.Finished()) return false;
  }
  std::size_t ends = 0;
  std::vector<int> met;
  for (int edge : body.edges) {
    met.clear();
    for (TopoDS_Iterator vertex(body.subs.at(edge).shape); vertex.More(); vertex.Next()) {
      const int tag = tagOf(vertex.Value());
      if (std::find(met.begin(), met.end(), tag) != met.end()) continue;  // a closed edge's one vertex
      met.push_back(tag);
      const std::vector<int>& around = ListAt(old.vertexEdges, tag);
      if (std::find(around.begin(), around.end(), edge) == around.end()) return false;
      ++ends;
    }
  }
  std::size_t oldEnds = 0;
  for (const auto& entry : old.vertexEdges) oldEnds += entry.second.size();
  return ends == oldEnds;
}

}  // namespace

BodyPtr BuildKeptRecord(Session& session, const BodyRecord& old, const TopoDS_Shape& shape,
                        const TopTools_IndexedMapOfShape& present, ShapeTagMap& continues) {
  auto body = std::make_shared<BodyRecord>();
  body->tag = old.tag;
  body->shape = shape;
  body->bodyType = BodyTypeOf(shape);
  body->nextIdentifier = old.nextIdentifier;
  body->identifier = old.identifier;
  body->attachedGeoms = old.attachedGeoms;
  body->addonData = old.addonData;
  body->faces.reserve(old.faces.size());
  body->edges.reserve(old.edges.size());
  body->vertices.reserve(old.vertices.size());
  body->subs.reserve(old.subs.size());
  // The whole-shape map lists each kind of sub-shape in the order a walk of that kind meets it.
  for (int i = 1; i <= present.Extent(); ++i) {
    const TopoDS_Shape& sub = present(i);
    const TopAbs_ShapeEnum type = sub.ShapeType();
    if (type != TopAbs_FACE && type != TopAbs_EDGE && type != TopAbs_VERTEX) continue;
    const int* tag = continues.Seek(sub);
    if (!tag) return nullptr;
    auto was = old.subs.find(*tag);
    const int cls = type == TopAbs_FACE ? BQ_CLASS_face : type == TopAbs_EDGE ? BQ_CLASS_edge : BQ_CLASS_vertex;
    if (was == old.subs.end() || was->second.cls != cls) return nullptr;
    SubEntity entry;
    entry.cls = cls;
    entry.shape = sub;
    entry.identifier = was->second.identifier;
    if (!body->subs.emplace(*tag, entry).second) return nullptr;
    (cls == BQ_CLASS_face ? body->faces : cls == BQ_CLASS_edge ? body->edges : body->vertices).push_back(*tag);
  }
  if (body->faces != old.faces || body->edges != old.edges || body->vertices != old.vertices ||
      continues.Extent() != static_cast<int>(body->subs.size()))
    return nullptr;
  // Every face, edge and vertex is in `continues` with its tag and nothing else is: it is the
  // record's map from sub-shapes to tags as it stands.
  body->shapeToTag.Exchange(continues);
  if (!MeetsAsBefore(*body, old)) {
    continues.Exchange(body->shapeToTag);
    return nullptr;
  }
  body->faceEdges = old.faceEdges;
  body->faceVertices = old.faceVertices;
  body->edgeFaces = old.edgeFaces;
  body->vertexFaces = old.vertexFaces;
  body->vertexEdges = old.vertexEdges;
  body->fins = old.fins;
  body->finOf = old.finOf;
  PlaceGeometry(session, *body, &old);
  return body;
}

void UninstallBody(PartitionState& state, int bodyTag) {
  auto it = state.bodies.find(bodyTag);
  if (it == state.bodies.end()) return;
  const BodyRecord& body = *it->second;
  for (const auto& sub : body.subs) state.subOwner.erase(sub.first);
  for (const auto& fin : body.fins) state.subOwner.erase(fin.first);
  for (const auto& geom : body.geoms) state.subOwner.erase(geom.first);
  state.bodies.erase(it);
}

void InstallBody(PartitionState& state, const BodyPtr& body) {
  const int tag = body->tag;
  auto was = state.bodies.View().find(tag);
  if (was == state.bodies.View().end()) {
    for (const auto& sub : body->subs) state.subOwner[sub.first] = tag;
    for (const auto& fin : body->fins) state.subOwner[fin.first] = tag;
    for (const auto& geom : body->geoms) state.subOwner[geom.first] = tag;
    state.bodies[tag] = body;
    return;
  }
  // A new record of a present body: only the entries of entities that came or went change,
  // so that a body keeping most of its entities leaves most of the index as it was.
  const BodyRecord& old = *was->second;
  // Records listing the same faces, edges and vertices hold the same entities (every record
  // holds just those it lists), and records sharing their fins the same fins: their entries
  // stand as they are.
  const bool sameSubs = body->faces == old.faces && body->edges == old.edges && body->vertices == old.vertices;
  const bool sameFins = &body->fins.View() == &old.fins.View();
  if (!sameSubs)
    for (const auto& sub : old.subs)
      if (!body->subs.count(sub.first)) state.subOwner.erase(sub.first);
  if (!sameFins)
    for (const auto& fin : old.fins)
      if (!body->fins.count(fin.first)) state.subOwner.erase(fin.first);
  // Both geometry maps run in tag order: walked side by side.
  auto now = body->geoms.begin();
  for (const auto& geom : old.geoms) {
    while (now != body->geoms.end() && now->first < geom.first) ++now;
    if (now == body->geoms.end() || now->first != geom.first) state.subOwner.erase(geom.first);
  }
  auto own = [&](int entity) {
    auto owner = state.subOwner.View().find(entity);
    if (owner == state.subOwner.View().end() || owner->second != tag) state.subOwner[entity] = tag;
  };
  if (!sameSubs)
    for (const auto& sub : body->subs) own(sub.first);
  if (!sameFins)
    for (const auto& fin : body->fins) own(fin.first);
  for (const auto& geom : body->geoms) own(geom.first);
  state.bodies[tag] = body;
}

}  // namespace brennik
