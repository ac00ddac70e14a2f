#include "engine/FaceRegion.h"

#include <BRep_Builder.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace hxr::engine {
namespace {

// The body's entities by their shared part alone (location and orientation left aside): a
// cheap first test that never misses an entity of the changed faces.
class TShapeSet {
 public:
  void Add(const TopoDS_Shape& shape) { m_items.push_back(shape.TShape().get()); }
  void Seal() {
    std::sort(m_items.begin(), m_items.end());
    m_items.erase(std::unique(m_items.begin(), m_items.end()), m_items.end());
  }
  bool Contains(const TopoDS_Shape& shape) const {
    return std::binary_search(m_items.begin(), m_items.end(), shape.TShape().get());
  }

 private:
  std::vector<const TopoDS_TShape*> m_items;
};

// True when a wire of the body may hold an edge or a vertex of the changed faces; its
// edges and vertices are walked without composing their places, which costs little more
// than the walk itself.
bool MayTouch(const TopoDS_Shape& wire, const TShapeSet& edges, const TShapeSet& vertices) {
  for (TopoDS_Iterator e(wire, false, false); e.More(); e.Next()) {
    if (edges.Contains(e.Value())) return true;
    for (TopoDS_Iterator v(e.Value(), false, false); v.More(); v.Next())
      if (vertices.Contains(v.Value())) return true;
  }
  return false;
}

// True when a wire of a face that meets the changed faces along edges alone holds one of their
// edges.
bool HoldsEdge(const TopoDS_Shape& wire, const TShapeSet& edges) {
  for (TopoDS_Iterator e(wire, false, false); e.More(); e.Next())
    if (edges.Contains(e.Value())) return true;
  return false;
}

}  // namespace

ShapeNeighbours::ShapeNeighbours(const TopoDS_Shape& body) {
  TopExp::MapShapes(body, TopAbs_FACE, m_faces);
  TopExp::MapShapesAndUniqueAncestors(body, TopAbs_EDGE, TopAbs_FACE, m_edgeFaces);
  TopExp::MapShapesAndUniqueAncestors(body, TopAbs_VERTEX, TopAbs_FACE, m_vertexFaces);
}

bool ShapeNeighbours::Around(const std::vector<TopoDS_Face>& faces, std::vector<NeighbourFace>& around) const {
  // Face index -> whether it meets the faces at a vertex alone.
  std::map<int, bool> found;
  std::set<std::pair<int, int>> ended;  // (face, vertex): the face holds a given edge ending there
  std::set<std::pair<int, int>> held;   // (face, edge): the face holds a given edge
  for (const TopoDS_Face& face : faces) {
    const int index = m_faces.FindIndex(face);
    if (index == 0) return false;
    found.emplace(index, false);
  }
  for (const TopoDS_Face& face : faces) {
    for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
      const int edge = m_edgeFaces.FindIndex(e.Current());
      if (edge == 0) continue;
      for (TopTools_ListOfShape::Iterator f(m_edgeFaces(edge)); f.More(); f.Next()) {
        const int index = m_faces.FindIndex(f.Value());
        found.emplace(index, false);
        held.emplace(index, edge);
        for (TopoDS_Iterator v(e.Current()); v.More(); v.Next()) ended.emplace(index, m_vertexFaces.FindIndex(v.Value()));
      }
    }
  }
  for (const TopoDS_Face& face : faces) {
    for (TopExp_Explorer v(face, TopAbs_VERTEX); v.More(); v.Next()) {
      const int vertex = m_vertexFaces.FindIndex(v.Current());
      if (vertex == 0) continue;
      for (TopTools_ListOfShape::Iterator f(m_vertexFaces(vertex)); f.More(); f.Next()) {
        const int index = m_faces.FindIndex(f.Value());
        if (ended.count({index, vertex}) == 0) found[index] = true;
      }
    }
  }
  around.clear();
  for (const auto& [index, alone] : found) {
    if (index == 0) continue;
    const auto first = held.lower_bound({index, 0}), end = held.lower_bound({index + 1, 0});
    around.push_back(NeighbourFace{TopoDS::Face(m_faces(index)), alone, static_cast<int>(std::distance(first, end))});
  }
  return true;
}

Region RegionAround(const TopoDS_Shape& shape, const TopTools_MapOfShape& changed,
                    const FaceNeighbours* neighbours) {
  Region region;
  TopTools_MapOfShape& edges = region.edges;
  TopTools_MapOfShape& vertices = region.vertices;
  TShapeSet edgeParts, vertexParts;
  std::vector<TopoDS_Face> given;
  for (TopTools_MapOfShape::Iterator face(changed); face.More(); face.Next()) {
    given.push_back(TopoDS::Face(face.Key()));
    for (TopExp_Explorer e(face.Key(), TopAbs_EDGE); e.More(); e.Next()) {
      edges.Add(e.Current());
      edgeParts.Add(e.Current());
    }
    for (TopExp_Explorer v(face.Key(), TopAbs_VERTEX); v.More(); v.Next()) {
      vertices.Add(v.Current());
      vertexParts.Add(v.Current());
    }
  }
  edgeParts.Seal();
  vertexParts.Seal();
  auto touches = [&](const TopoDS_Shape& wire) {
    for (TopoDS_Iterator e(wire); e.More(); e.Next()) {
      if (edges.Contains(e.Value())) return true;
      for (TopoDS_Iterator v(e.Value()); v.More(); v.Next())
        if (vertices.Contains(v.Value())) return true;
    }
    return false;
  };
  BRep_Builder builder;
  builder.MakeCompound(region.compound);
  TopTools_MapOfShape seen;
  int count = 0, met = 0;
  auto consider = [&](const TopoDS_Face& face, bool atVertexAlone, int sharedEdges) {
    const TopoDS_Face forward = TopoDS::Face(face.Oriented(TopAbs_FORWARD));
    if (changed.Contains(face)) {
      if (!seen.Add(face)) return;
      ++met;
      region.faces.emplace_back(face, forward);
      builder.Add(region.compound, forward);
      return;
    }
    // Only a wire that may touch the changed faces is looked at closely. A face met along
    // edges alone touches them in its wires that hold those edges: the vertices at their ends
    // are in the same wires (two wires of a face meet nowhere).
    std::vector<TopoDS_Shape> touching;
    const int wires = forward.NbChildren();
    const bool searchAll = atVertexAlone || sharedEdges <= 0;
    std::vector<const TopoDS_TShape*> found;  // the changed faces' edges met so far
    // Unplaced, the face's wires are read as they are stored, without composing their places.
    const bool unplaced = forward.Location().IsIdentity();
    for (TopoDS_Iterator w(forward, !unplaced, !unplaced); w.More(); w.Next()) {
      const bool may = atVertexAlone ? MayTouch(w.Value(), edgeParts, vertexParts) : HoldsEdge(w.Value(), edgeParts);
      if (!may || !touches(w.Value())) continue;
      touching.push_back(w.Value());
      if (searchAll) continue;
      for (TopoDS_Iterator e(w.Value(), false, false); e.More(); e.Next())
        if (edgeParts.Contains(e.Value())) found.push_back(e.Value().TShape().get());
      std::sort(found.begin(), found.end());
      found.erase(std::unique(found.begin(), found.end()), found.end());
      if (static_cast<int>(found.size()) >= sharedEdges) break;
    }
    if (touching.empty() || !seen.Add(face)) return;
    TopoDS_Face part = forward;
    if (static_cast<int>(touching.size()) < wires) {
      part = TopoDS::Face(forward.EmptyCopied());
      for (const TopoDS_Shape& wire : touching) builder.Add(part, wire);
    }
    region.faces.emplace_back(face, part);
    builder.Add(region.compound, part);
  };
  if (neighbours != nullptr) {
    std::vector<NeighbourFace> around;
    if (!neighbours->Around(given, around)) {
      region.strangers = true;
      return region;
    }
    count = neighbours->FaceCount();
    for (const NeighbourFace& face : around) consider(face.face, face.atVertexAlone, face.sharedEdges);
  } else {
    // Every wire of the body is passed over once, cheaply.
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
      ++count;
      consider(TopoDS::Face(it.Current()), true, 0);
    }
  }
  region.whole = 2 * static_cast<int>(region.faces.size()) > count;
  region.strangers = met < changed.Extent();
  return region;
}

}  // namespace hxr::engine
