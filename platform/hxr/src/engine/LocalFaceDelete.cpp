#include "engine/LocalFaceDelete.h"

#include <BRepBndLib.hxx>
#include <BRepTools.hxx>
#include <BRepTools_ReShape.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Bnd_Box2d.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_DataMapOfShapeInteger.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Pnt2d.hxx>

#include <cmath>
#include <utility>
#include <vector>

namespace hxr::engine {
namespace {

// A remaining face along the deleted faces: the wires it keeps and the loops it loses, as
// they run on the face taken forward.
struct Neighbour {
  TopoDS_Face face;
  std::vector<TopoDS_Wire> kept;
  std::vector<TopoDS_Wire> dropped;
};

// True when the wire closes in the face's parameters, so that it bounds a piece of the
// surface; a wire that goes once round a periodic surface (a ring face bounded by two
// circles and no seam) closes only in space, and dropping it would not fill a hole.
bool ClosesOnSurface(const TopoDS_Wire& wire, const TopoDS_Face& face) {
  gp_XY travel(0.0, 0.0);
  Bnd_Box2d extent;
  for (TopoDS_Iterator e(wire); e.More(); e.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(e.Value());
    gp_Pnt2d first, last;
    BRep_Tool::UVPoints(edge, face, first, last);
    if (edge.Orientation() == TopAbs_REVERSED) std::swap(first, last);
    travel += last.XY() - first.XY();
    extent.Add(first);
    extent.Add(last);
  }
  if (extent.IsVoid()) return false;
  double u1, v1, u2, v2;
  extent.Get(u1, v1, u2, v2);
  return travel.Modulus() <= 1e-9 + 1e-6 * std::hypot(u2 - u1, v2 - v1);
}

// Sorts the wires of a face along the deleted faces: a wire with no edge on `border` stays,
// one made only of such edges goes. False when a wire runs only partly along the border (the
// face would have to grow or shrink, which healing does) or when the border takes the outer
// boundary (the face would go too).
bool SortWires(const TopoDS_Face& face, const TopTools_MapOfShape& border, Neighbour& n) {
  n.face = face;
  const TopoDS_Face forward = TopoDS::Face(face.Oriented(TopAbs_FORWARD));
  const TopoDS_Wire outer = BRepTools::OuterWire(forward);
  for (TopoDS_Iterator w(forward); w.More(); w.Next()) {
    if (w.Value().ShapeType() != TopAbs_WIRE) return false;
    const TopoDS_Wire wire = TopoDS::Wire(w.Value());
    int on = 0, off = 0;
    for (TopoDS_Iterator e(wire); e.More(); e.Next()) ++(border.Contains(e.Value()) ? on : off);
    if (on == 0) {
      n.kept.push_back(wire);
    } else if (off == 0 && wire.TShape() != outer.TShape() && ClosesOnSurface(wire, forward)) {
      n.dropped.push_back(wire);
    } else {
      return false;
    }
  }
  return !n.kept.empty() && !n.dropped.empty();
}

// A face on the same surface as `face` (taken forward) bounded by the given wires.
TopoDS_Face FaceWithWires(const TopoDS_Face& face, const std::vector<TopoDS_Wire>& wires) {
  TopoDS_Face made = TopoDS::Face(face.Oriented(TopAbs_FORWARD).EmptyCopied());
  BRep_Builder builder;
  for (const TopoDS_Wire& wire : wires) builder.Add(made, wire);
  return made;
}

// The room each feature leaves (the deleted faces joined through their edges make one
// feature): the extent of its faces and of each piece of surface a dropped loop along it
// closes over (the surface over the loop's parameter box, so a curved face bulging past its
// loop is held too). A closed room lies within the box of what bounds it.
std::vector<Bnd_Box> RoomsOf(const std::vector<TopoDS_Shape>& faces, const std::vector<Neighbour>& neighbours,
                             const TopTools_IndexedDataMapOfShapeListOfShape& edgeFaces,
                             const TopTools_MapOfShape& deleted) {
  TopTools_DataMapOfShapeInteger feature;  // deleted face -> its feature
  std::vector<Bnd_Box> rooms;
  for (const TopoDS_Shape& start : faces) {
    if (feature.IsBound(start)) continue;
    const int index = static_cast<int>(rooms.size());
    rooms.emplace_back();
    std::vector<TopoDS_Shape> pending{start};
    feature.Bind(start, index);
    while (!pending.empty()) {
      const TopoDS_Shape face = pending.back();
      pending.pop_back();
      BRepBndLib::Add(face, rooms[index], false);
      for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
        for (TopTools_ListOfShape::Iterator f(edgeFaces.FindFromKey(e.Current())); f.More(); f.Next()) {
          if (!deleted.Contains(f.Value()) || feature.IsBound(f.Value())) continue;
          feature.Bind(f.Value(), index);
          pending.push_back(f.Value());
        }
      }
    }
  }
  for (const Neighbour& n : neighbours) {
    for (const TopoDS_Wire& loop : n.dropped) {
      TopoDS_Iterator first(loop);
      int index = -1;
      for (TopTools_ListOfShape::Iterator f(edgeFaces.FindFromKey(first.Value())); f.More(); f.Next()) {
        if (feature.IsBound(f.Value())) index = feature(f.Value());
      }
      if (index >= 0) BRepBndLib::Add(FaceWithWires(n.face, {loop}), rooms[index], false);
    }
  }
  return rooms;
}

}  // namespace

bool RemoveFacesLocally(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                        LocalDelete& out) {
  TopTools_MapOfShape deleted;
  for (const TopoDS_Shape& face : faces) deleted.Add(face);
  // Only a solid's faces: the loops that close its shell again are what make the delete local.
  TopTools_MapOfShape inSolids;
  for (TopExp_Explorer solid(body, TopAbs_SOLID); solid.More(); solid.Next()) {
    for (TopExp_Explorer face(solid.Current(), TopAbs_FACE); face.More(); face.Next()) inSolids.Add(face.Current());
  }
  for (const TopoDS_Shape& face : faces) {
    if (!inSolids.Contains(face)) return false;
  }

  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
  TopExp::MapShapesAndUniqueAncestors(body, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
  TopTools_MapOfShape removedEdges, border;
  TopTools_IndexedMapOfShape touched;  // remaining faces along the deleted ones, in meeting order
  for (const TopoDS_Shape& face : faces) {
    for (TopExp_Explorer it(face, TopAbs_EDGE); it.More(); it.Next()) {
      const TopoDS_Shape& edge = it.Current();
      if (!removedEdges.Add(edge)) continue;
      const TopTools_ListOfShape& around = edgeFaces.FindFromKey(edge);
      int remaining = 0;
      for (TopTools_ListOfShape::Iterator f(around); f.More(); f.Next()) {
        if (deleted.Contains(f.Value())) continue;
        touched.Add(f.Value());
        ++remaining;
      }
      if (around.Extent() > 2 || remaining > 1) return false;
      if (remaining == 1) border.Add(edge);
    }
  }
  if (touched.IsEmpty()) return false;

  std::vector<Neighbour> neighbours(touched.Extent());
  for (int i = 1; i <= touched.Extent(); ++i) {
    if (!SortWires(TopoDS::Face(touched(i)), border, neighbours[i - 1])) return false;
  }

  // Nothing else of the body may reach into the room the faces leave: a face there would
  // pass through a closed loop or be left inside the filled material.
  const std::vector<Bnd_Box> rooms = RoomsOf(faces, neighbours, edgeFaces, deleted);
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More(); it.Next()) {
    if (deleted.Contains(it.Current()) || touched.Contains(it.Current())) continue;
    Bnd_Box box;
    BRepBndLib::Add(it.Current(), box, false);
    for (const Bnd_Box& room : rooms) {
      if (!box.IsOut(room)) return false;
    }
  }

  // A vertex goes with the edges when no remaining edge ends on it.
  TopTools_IndexedDataMapOfShapeListOfShape vertexEdges;
  TopExp::MapShapesAndUniqueAncestors(body, TopAbs_VERTEX, TopAbs_EDGE, vertexEdges);
  BRepTools_History history;
  BRepTools_ReShape reshape;
  TopTools_MapOfShape removedVertices;
  for (TopTools_MapOfShape::Iterator edge(removedEdges); edge.More(); edge.Next()) {
    history.Remove(edge.Key());
    for (TopExp_Explorer v(edge.Key(), TopAbs_VERTEX); v.More(); v.Next()) {
      if (removedVertices.Contains(v.Current())) continue;
      bool lone = true;
      for (TopTools_ListOfShape::Iterator e(vertexEdges.FindFromKey(v.Current())); e.More() && lone; e.Next()) {
        lone = removedEdges.Contains(e.Value());
      }
      if (lone) {
        removedVertices.Add(v.Current());
        history.Remove(v.Current());
      }
    }
  }
  for (const TopoDS_Shape& face : faces) {
    history.Remove(face);
    reshape.Remove(face);
  }
  for (const Neighbour& n : neighbours) {
    const TopoDS_Face face = TopoDS::Face(FaceWithWires(n.face, n.kept).Oriented(n.face.Orientation()));
    history.AddModified(n.face, face);
    reshape.Replace(n.face, face);
    out.rebuilt.emplace_back(n.face, face);
  }
  out.shape = reshape.Apply(body, TopAbs_FACE);
  out.history = history;
  return true;
}

}  // namespace hxr::engine
