#include "engine/ReshapeRebuild.h"

#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <NCollection_DataMap.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopAbs.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>

#include <algorithm>

namespace hxr::engine {
namespace {

template <class T>
using ShapeMap = NCollection_DataMap<TopoDS_Shape, T, TopTools_ShapeMapHasher>;

// One rebuild: the entities made so far, each made once however many faces share it.
class Rebuild {
 public:
  explicit Rebuild(FaceSurfaceModification& modification) : m_modification(modification) {}

  bool Run(const TopoDS_Shape& body, const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
           ReshapeProducts& products);

 private:
  // The vertex's replacement, null when it stays.
  TopoDS_Shape VertexImage(const TopoDS_Shape& vertex);
  // The edge's replacement (forward), null when it stays; false when it cannot be made here.
  bool EdgeImage(const TopoDS_Shape& edge, TopoDS_Shape& image);
  // True when a wire holds an edge that the change replaces; false in `ok` when one of its
  // edges cannot be judged here.
  bool WireChanges(const TopoDS_Shape& wire, bool& ok);
  bool MakeWire(const TopoDS_Shape& wire, TopoDS_Shape& made);

  FaceSurfaceModification& m_modification;
  BRep_Builder m_builder;
  ShapeMap<TopoDS_Shape> m_vertices;
  ShapeMap<TopoDS_Shape> m_edges;
  ShapeMap<bool> m_touched;          // by edge: the change gives it a new curve or range
  ShapeMap<size_t> m_faceIndex;      // by the face the modification saw
  std::vector<TopoDS_Face> m_made;   // by face index: its new face (forward), null when it stays
  std::vector<Replacement> m_edgeReplacements, m_vertexReplacements;
};

TopoDS_Shape Rebuild::VertexImage(const TopoDS_Shape& vertex) {
  if (const TopoDS_Shape* known = m_vertices.Seek(vertex)) return *known;
  gp_Pnt point;
  double tolerance = 0.0;
  TopoDS_Shape image;
  if (m_modification.NewPoint(TopoDS::Vertex(vertex), point, tolerance)) {
    TopoDS_Vertex made;
    m_builder.MakeVertex(made, point, tolerance);
    image = made;
    m_vertexReplacements.emplace_back(vertex, made.Oriented(vertex.Orientation()));
  }
  m_vertices.Bind(vertex, image);
  return image;
}

bool Rebuild::WireChanges(const TopoDS_Shape& wire, bool& ok) {
  bool changes = false;
  for (TopoDS_Iterator e(wire, false, true); e.More(); e.Next()) {
    const TopoDS_Shape& edge = e.Value();
    if (const bool* known = m_touched.Seek(edge)) {
      changes = changes || *known;
      continue;
    }
    Handle(Geom_Curve) curve;
    TopLoc_Location place;
    double tolerance = 0.0;
    const bool touched = m_modification.NewCurve(TopoDS::Edge(edge), curve, place, tolerance);
    // An edge the change gives no new curve stays only when its ends stay: a degenerated edge
    // at a moved point would need a new place that only the general modifier gives it.
    if (!touched) {
      for (TopoDS_Iterator v(edge, false, true); v.More(); v.Next()) {
        if (!VertexImage(v.Value()).IsNull()) {
          ok = false;
          return false;
        }
      }
    }
    m_touched.Bind(edge, touched);
    changes = changes || touched;
  }
  return changes;
}

bool Rebuild::EdgeImage(const TopoDS_Shape& shape, TopoDS_Shape& image) {
  if (const TopoDS_Shape* known = m_edges.Seek(shape)) {
    image = *known;
    return true;
  }
  image.Nullify();
  const TopoDS_Edge edge = TopoDS::Edge(shape.Oriented(TopAbs_FORWARD));
  Handle(Geom_Curve) curve;
  TopLoc_Location place;
  double tolerance = 0.0;
  if (!m_modification.NewCurve(edge, curve, place, tolerance)) {
    m_edges.Bind(shape, image);
    return true;
  }
  if (curve.IsNull() || !place.IsIdentity() || BRep_Tool::Degenerated(edge)) return false;
  TopoDS_Edge made;
  m_builder.MakeEdge(made, curve, tolerance);
  double first = 0.0, last = 0.0;
  bool hasFirst = false, hasLast = false;
  for (TopoDS_Iterator v(edge, false, true); v.More(); v.Next()) {
    const TopoDS_Shape& vertex = v.Value();
    const TopAbs_Orientation orientation = vertex.Orientation();
    if (orientation != TopAbs_FORWARD && orientation != TopAbs_REVERSED) return false;
    const TopoDS_Shape moved = VertexImage(vertex);
    m_builder.Add(made, (moved.IsNull() ? vertex : moved).Oriented(orientation));
    double parameter = 0.0, unused = 0.0;
    if (!m_modification.NewParameter(TopoDS::Vertex(vertex), edge, parameter, unused)) return false;
    (orientation == TopAbs_FORWARD ? first : last) = parameter;
    (orientation == TopAbs_FORWARD ? hasFirst : hasLast) = true;
  }
  if (!hasFirst || !hasLast) return false;

  // A parameter curve on each face around the edge, on that face's new surface.
  const TopTools_ListOfShape* around = m_modification.FacesAround(edge);
  if (around == nullptr) return false;
  std::vector<TopoDS_Shape> seen;
  std::vector<std::pair<TopoDS_Face, TopoDS_Face>> sides;  // (face seen, its new face)
  for (TopTools_ListOfShape::Iterator it(*around); it.More(); it.Next()) {
    const TopoDS_Face& face = TopoDS::Face(it.Value());
    if (std::any_of(seen.begin(), seen.end(), [&](const TopoDS_Shape& s) { return s.IsSame(face); })) continue;
    seen.push_back(face);
    const size_t* index = m_faceIndex.Seek(face);
    if (index == nullptr || m_made[*index].IsNull()) return false;
    const TopoDS_Face& target = m_made[*index];
    double reached = tolerance;
    if (BRep_Tool::IsClosed(edge, face)) {
      Handle(Geom2d_Curve) forward, reversed;
      double t1 = 0.0, t2 = 0.0;
      if (!m_modification.NewCurve2d(edge, face, made, target, forward, t1) ||
          !m_modification.NewCurve2d(TopoDS::Edge(edge.Reversed()), face, made, target, reversed, t2))
        return false;
      reached = std::max({reached, t1, t2});
      m_builder.UpdateEdge(made, forward, reversed, target, reached);
    } else {
      Handle(Geom2d_Curve) pcurve;
      double t = 0.0;
      if (!m_modification.NewCurve2d(edge, face, made, target, pcurve, t)) return false;
      reached = std::max(reached, t);
      m_builder.UpdateEdge(made, pcurve, target, reached);
    }
    sides.emplace_back(face, target);
  }
  if (m_modification.HasFailed()) return false;
  m_builder.Range(made, first, last);
  if (sides.size() == 2) {
    const GeomAbs_Shape continuity = m_modification.Continuity(edge, sides[0].first, sides[1].first, made,
                                                               sides[0].second, sides[1].second);
    if (continuity != GeomAbs_C0) m_builder.Continuity(made, sides[0].second, sides[1].second, continuity);
  }
  image = made;
  m_edges.Bind(shape, image);
  m_edgeReplacements.emplace_back(shape, made.Oriented(shape.Orientation()));
  return true;
}

bool Rebuild::MakeWire(const TopoDS_Shape& wire, TopoDS_Shape& made) {
  TopoDS_Wire rebuilt;
  m_builder.MakeWire(rebuilt);
  for (TopoDS_Iterator e(wire, false, true); e.More(); e.Next()) {
    TopoDS_Shape image;
    if (!EdgeImage(e.Value(), image)) return false;
    m_builder.Add(rebuilt, image.IsNull() ? e.Value() : image.Oriented(e.Value().Orientation()));
  }
  rebuilt.Closed(wire.Closed());
  made = rebuilt;
  return true;
}

bool Rebuild::Run(const TopoDS_Shape& body, const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
                  ReshapeProducts& products) {
  m_made.assign(faces.size(), TopoDS_Face());
  for (size_t i = 0; i < faces.size(); ++i) m_faceIndex.Bind(faces[i].second, i);
  // Which faces change, each made empty on its new surface before any edge needs it.
  std::vector<std::vector<bool>> changedWires(faces.size());
  for (size_t i = 0; i < faces.size(); ++i) {
    const TopoDS_Face& part = faces[i].second;
    Handle(Geom_Surface) surface;
    TopLoc_Location place;
    double tolerance = 0.0;
    Standard_Boolean reverseWires = Standard_False, reverseFace = Standard_False;
    const bool newSurface =
        m_modification.NewSurface(part, surface, place, tolerance, reverseWires, reverseFace);
    if (newSurface && (reverseWires || reverseFace)) return false;
    bool ok = true, any = newSurface;
    for (TopoDS_Iterator w(part, false, true); w.More(); w.Next()) {
      if (w.Value().ShapeType() != TopAbs_WIRE) return false;
      changedWires[i].push_back(WireChanges(w.Value(), ok));
      if (!ok) return false;
      any = any || changedWires[i].back();
    }
    if (!any) continue;
    // A face on a new surface needs every edge on it: one kept would keep its parameter curve
    // on the old surface.
    if (newSurface) {
      for (TopoDS_Iterator w(part, false, true); w.More(); w.Next())
        for (TopoDS_Iterator e(w.Value(), false, true); e.More(); e.Next())
          if (!m_touched.Find(e.Value())) return false;
    }
    // Every entity is made where the body holds it: the new face is not placed, its surface
    // is (an old one where the face had it), and so are the wires and edges it keeps.
    const TopoDS_Face forward = TopoDS::Face(faces[i].first.Oriented(TopAbs_FORWARD));
    m_made[i] = TopoDS::Face(forward.EmptyCopied());
    m_made[i].Location(TopLoc_Location());
    if (!newSurface) {
      surface = BRep_Tool::Surface(forward, place);
      tolerance = BRep_Tool::Tolerance(forward);
    }
    m_builder.UpdateFace(m_made[i], surface, place, tolerance);
    m_builder.NaturalRestriction(m_made[i], BRep_Tool::NaturalRestriction(forward));
  }
  // The faces filled: a wire of the face that the change left alone is the face's own.
  TopTools_DataMapOfShapeShape madeFaces;
  for (size_t i = 0; i < faces.size(); ++i) {
    if (m_made[i].IsNull()) continue;
    const TopoDS_Face& face = faces[i].first;
    const TopoDS_Face& part = faces[i].second;
    TopTools_MapOfShape rebuiltHere;
    std::vector<TopoDS_Shape> newWires;
    size_t w = 0;
    for (TopoDS_Iterator it(part, false, true); it.More(); it.Next(), ++w) {
      if (!changedWires[i][w]) continue;
      TopoDS_Shape wire;
      if (!MakeWire(it.Value(), wire)) return false;
      rebuiltHere.Add(it.Value());
      newWires.push_back(wire.Oriented(it.Value().Orientation()));
    }
    TopoDS_Face& made = m_made[i];
    bool keptAny = false;
    size_t next = 0;
    for (TopoDS_Iterator it(face.Oriented(TopAbs_FORWARD), false, true); it.More(); it.Next()) {
      if (rebuiltHere.Contains(it.Value())) {
        m_builder.Add(made, newWires[next++]);
      } else {
        if (it.Value().ShapeType() != TopAbs_WIRE) return false;
        m_builder.Add(made, it.Value());
        keptAny = true;
      }
    }
    if (next != newWires.size()) return false;
    const TopoDS_Face placed = TopoDS::Face(made.Oriented(face.Orientation()));
    products.replaced.emplace_back(face, placed);
    madeFaces.Bind(face, placed);
    if (keptAny) {
      TopoDS_Face changedPart = TopoDS::Face(made.EmptyCopied());
      for (const TopoDS_Shape& wire : newWires) m_builder.Add(changedPart, wire);
      products.rebuiltWires.Bind(placed, changedPart);
    }
  }
  products.replaced.insert(products.replaced.end(), m_edgeReplacements.begin(), m_edgeReplacements.end());
  products.replaced.insert(products.replaced.end(), m_vertexReplacements.begin(), m_vertexReplacements.end());
  products.shape = ReplaceFaces(body, madeFaces);
  return true;
}

// `shape` as its container holds it, the container placed by `place` and turned by `turn` in
// the body: a face is looked up as the body holds it, and its replacement, given as the body
// holds it, goes in placed and turned back into the container's own terms. False, with
// `result` left alone, when nothing below `shape` is replaced: a face kept is then put in the
// new container straight from the old one.
bool ReplaceFacesBelow(const TopoDS_Shape& shape, const TopLoc_Location& place, TopAbs_Orientation turn,
                       const TopTools_DataMapOfShapeShape& replaced, TopoDS_Shape& result) {
  if (shape.ShapeType() == TopAbs_FACE) {
    const TopoDS_Shape* made = nullptr;
    if (place.IsIdentity() && shape.Location().IsIdentity()) {
      made = replaced.Seek(shape);
    } else {
      made = replaced.Seek(shape.Located(place * shape.Location()));
    }
    if (made == nullptr) return false;
    result = made->Located(place.Inverted() * made->Location());
    result.Orientation(TopAbs::Compose(turn, made->Orientation()));
    return true;
  }
  if (shape.ShapeType() > TopAbs_FACE) return false;
  const TopLoc_Location here = place * shape.Location();
  const TopAbs_Orientation facing = TopAbs::Compose(turn, shape.Orientation());
  // The container is filled as it is walked, and dropped when nothing in it was replaced. The
  // faces keep their places, so a shell stays as closed and as orientable as it was. The
  // children go in as the container holds them, not placed or turned again by it.
  TopoDS_Shape made = shape.EmptyCopied();
  made.Closed(shape.Closed());
  made.Orientable(shape.Orientable());
  TopoDS_Shape inside = made.Oriented(TopAbs_FORWARD);
  inside.Location(TopLoc_Location());
  BRep_Builder builder;
  bool changedAny = false;
  for (TopoDS_Iterator it(shape, false, false); it.More(); it.Next()) {
    TopoDS_Shape child;
    const bool changed = ReplaceFacesBelow(it.Value(), here, facing, replaced, child);
    builder.Add(inside, changed ? child : it.Value());
    changedAny = changedAny || changed;
  }
  if (!changedAny) return false;
  result = made;
  return true;
}

}  // namespace

bool RebuildReshaped(const TopoDS_Shape& body, const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
                     FaceSurfaceModification& modification, ReshapeProducts& products) {
  ReshapeProducts made;
  Rebuild rebuild(modification);
  if (!rebuild.Run(body, faces, made)) return false;
  products = std::move(made);
  return true;
}

TopoDS_Shape ReplaceFaces(const TopoDS_Shape& shape, const TopTools_DataMapOfShapeShape& replaced) {
  TopoDS_Shape result;
  return ReplaceFacesBelow(shape, TopLoc_Location(), TopAbs_FORWARD, replaced, result) ? result : shape;
}

}  // namespace hxr::engine
