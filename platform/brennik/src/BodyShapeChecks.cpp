// The checks a shape must pass to be a body, run once per sub-shape. OCCT's whole-shape
// checker and its volume integration cost far more than reading the shape: the checker
// classifies every wire of a face against every other (a plate with a hundred holes makes ten
// thousand classifications) and the volume integration evaluates every face at many points.
// Here each vertex, edge, wire, face, shell and solid goes through OCCT's own check of that
// sub-shape in each of its contexts, a plane's holes are placed with a sweep over their 2D
// boxes (wires whose edges' boxes lie apart need no intersecting), and each solid's volume
// comes from one boundary integral per face. Whatever these
// cannot accept outright goes to OCCT's whole-shape checker and integration, which decide.
#include "BodyShapeChecks.h"

#include "SimpleShapeChecks.h"

#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_Edge.hxx>
#include <BRepCheck_Face.hxx>
#include <BRepCheck_ListOfStatus.hxx>
#include <BRepCheck_Shell.hxx>
#include <BRepCheck_Solid.hxx>
#include <BRepCheck_Vertex.hxx>
#include <BRepCheck_Wire.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRepTopAdaptor_FClass2d.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Bnd_Box2d.hxx>
#include <GProp_GProps.hxx>
#include <Geom2d_Circle.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <gp_Circ2d.hxx>
#include <Geom_Circle.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_Surface.hxx>
#include <Precision.hxx>
#include <TopExp.hxx>
#include <gp_Circ.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace brennik {
namespace {

bool NoError(const BRepCheck_ListOfStatus& list) {
  for (BRepCheck_ListOfStatus::Iterator it(list); it.More(); it.Next())
    if (it.Value() != BRepCheck_NoError) return false;
  return true;
}

// Every status a sub-shape's check holds, its own and those of each context it was checked in.
bool Clean(const Handle(BRepCheck_Result)& result) {
  if (!NoError(result->Status())) return false;
  for (result->InitContextIterator(); result->MoreShapeInContext(); result->NextShapeInContext())
    if (!NoError(result->StatusOnShape())) return false;
  return true;
}

// A wire of a face: the area it bounds in the surface's parameters (positive when it
// runs round its inside, an outer wire; negative round its outside, a hole), a point of it,
// its 2D box and its edges', and a classifier of points against it alone, made when first needed.
struct PlacedWire {
  TopoDS_Wire wire;
  double area = 0;
  gp_Pnt2d point;
  Bnd_Box2d box;
  std::vector<Bnd_Box2d> edgeBoxes;
  std::unique_ptr<BRepTopAdaptor_FClass2d> classifier;
};

// Gauss-Legendre nodes and weights on [-1, 1].
const double kNode[] = {-0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
                        0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
const double kWeight[] = {0.1012285362903763, 0.2223810344533745, 0.3137066959683969, 0.3626837833783620,
                          0.3626837833783620, 0.3137066959683969, 0.2223810344533745, 0.1012285362903763};

// The box of an edge's curve on a face over [a, b]: a segment's ends, a circle's whole circle
// (which holds any arc of it), anything else's box as OCCT bounds it.
void UVBox(const TopoDS_Face& face, const TopoDS_Edge& edge, const Handle(Geom2d_Curve)& curve, double a, double b,
           Bnd_Box2d* box) {
  Handle(Geom2d_Curve) basis = curve;
  if (const auto* trimmed = Exactly<Geom2d_TrimmedCurve>(basis)) basis = trimmed->BasisCurve();
  if (Exactly<Geom2d_Line>(basis)) {
    box->Add(curve->Value(a));
    box->Add(curve->Value(b));
  } else if (const auto* circle = Exactly<Geom2d_Circle>(basis)) {
    const gp_Pnt2d c = circle->Circ2d().Location();
    const double r = circle->Circ2d().Radius();
    box->Update(c.X() - r, c.Y() - r, c.X() + r, c.Y() + r);
  } else {
    BRepTools::AddUVBounds(face, edge, *box);
  }
}

// `face` is taken forward, as the wires' orientations are given against it.
bool PlaceWire(const TopoDS_Face& face, const TopoDS_Wire& wire, PlacedWire* placed) {
  placed->wire = wire;
  bool first = true;
  for (TopExp_Explorer e(wire, TopAbs_EDGE); e.More(); e.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
    double a = 0, b = 0;
    Handle(Geom2d_Curve) curve = BRep_Tool::CurveOnSurface(edge, face, a, b);
    if (curve.IsNull()) return false;
    Bnd_Box2d box;
    UVBox(face, edge, curve, a, b, &box);
    if (box.IsVoid()) return false;
    // Widened by the edge's tolerance and its vertices': what lies within it touches the edge.
    double tolerance = BRep_Tool::Tolerance(edge);
    for (TopoDS_Iterator v(edge); v.More(); v.Next())
      tolerance = std::max(tolerance, BRep_Tool::Tolerance(TopoDS::Vertex(v.Value())));
    box.Enlarge(2 * tolerance + Precision::Confusion());
    placed->box.Add(box);
    placed->edgeBoxes.push_back(box);
    if (first) placed->point = curve->Value(0.5 * (a + b)), first = false;
    if (edge.Orientation() == TopAbs_REVERSED) std::swap(a, b);
    const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
    for (int k = 0; k < 8; ++k) {
      gp_Pnt2d uv;
      gp_Vec2d d;
      curve->D1(mid + half * kNode[k], uv, d);
      placed->area += kWeight[k] * half * uv.X() * d.Y();
    }
  }
  if (first || placed->box.IsVoid()) return false;
  double u0, v0, u1, v1;
  placed->box.Get(u0, v0, u1, v1);
  // An area too small to tell its sign is left to the whole-shape checker.
  return std::abs(placed->area) > 1e-6 * (u1 - u0) * (v1 - v0);
}

// Whether the edges of different wires lie apart by their boxes: a sweep over the boxes'
// u-ranges compares only the boxes whose ranges overlap.
bool EdgesApart(const std::vector<PlacedWire>& wires) {
  struct Range { double u0, v0, u1, v1; std::size_t wire; };
  std::vector<Range> ranges;
  for (std::size_t i = 0; i < wires.size(); ++i)
    for (const Bnd_Box2d& box : wires[i].edgeBoxes) {
      Range r{0, 0, 0, 0, i};
      box.Get(r.u0, r.v0, r.u1, r.v1);
      ranges.push_back(r);
    }
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.u0 < b.u0; });
  for (std::size_t a = 0; a < ranges.size(); ++a)
    for (std::size_t b = a + 1; b < ranges.size() && ranges[b].u0 <= ranges[a].u1; ++b)
      if (ranges[a].wire != ranges[b].wire && ranges[b].v0 <= ranges[a].v1 && ranges[a].v0 <= ranges[b].v1) return false;
  return true;
}

BRepTopAdaptor_FClass2d& Classifier(const TopoDS_Face& face, PlacedWire& placed) {
  if (!placed.classifier) {
    TopoDS_Face alone = TopoDS::Face(face.EmptyCopied());
    alone.Orientation(TopAbs_FORWARD);
    BRep_Builder().Add(alone, placed.wire);
    placed.classifier = std::make_unique<BRepTopAdaptor_FClass2d>(alone, Precision::PConfusion());
  }
  return *placed.classifier;
}

// A face's wires nest as they must: one outer wire, every other wire a hole whose point
// lies inside the outer wire, and each wire's point outside every hole but its own. A point
// is classified against a hole only when it lies in the hole's box: outside it, it is outside
// the hole. False means the wires could not be placed this way (the whole-shape checker then
// decides). `apart` tells whether no edge's box meets an edge's box of another wire, so that
// no two wires can cross or touch.
bool WiresNest(const TopoDS_Face& face, bool* apart) {
  std::vector<PlacedWire> wires;
  for (TopoDS_Iterator it(face); it.More(); it.Next()) {
    if (it.Value().ShapeType() != TopAbs_WIRE) return false;
    wires.emplace_back();
    if (!PlaceWire(face, TopoDS::Wire(it.Value()), &wires.back())) return false;
  }
  *apart = EdgesApart(wires);
  auto isOuter = [](const PlacedWire& w) { return w.area > 0; };
  if (std::count_if(wires.begin(), wires.end(), isOuter) != 1) return false;
  PlacedWire& outer = *std::find_if(wires.begin(), wires.end(), isOuter);
  std::vector<PlacedWire*> holes;
  for (PlacedWire& w : wires) {
    if (&w == &outer) continue;
    if (Classifier(face, outer).Perform(w.point) != TopAbs_IN) return false;
    holes.push_back(&w);
  }
  // Holes by the low end of their boxes' u-range: a point meets only the holes starting
  // at or before it.
  auto lowU = [](const PlacedWire* w) { double u0, v0, u1, v1; w->box.Get(u0, v0, u1, v1); return u0; };
  std::sort(holes.begin(), holes.end(), [&](const PlacedWire* a, const PlacedWire* b) { return lowU(a) < lowU(b); });
  for (const PlacedWire& w : wires)
    for (PlacedWire* hole : holes) {
      if (lowU(hole) > w.point.X()) break;
      if (hole == &w || hole->box.IsOut(w.point)) continue;
      if (Classifier(face, *hole).Perform(w.point) != TopAbs_IN) return false;
    }
  return true;
}

// The face's own checks: wires that do not cross, nested and oriented as a face's must be.
// Wires whose edges lie apart by their boxes cannot cross; others are intersected by OCCT.
bool FaceHolds(const TopoDS_Face& face, const Handle(BRepCheck_Face)& check) {
  // Holes are placed here on planes; on other surfaces only a face's single wire is.
  int nWires = 0;
  for (TopoDS_Iterator it(face); it.More(); it.Next()) ++nWires;
  const bool plane = Exactly<Geom_Plane>(BRep_Tool::Surface(face)) != nullptr;
  bool apart = false;
  const bool nested = (plane || nWires == 1) && WiresNest(TopoDS::Face(face.Oriented(TopAbs_FORWARD)), &apart);
  if (!(nested && apart) && check->IntersectWires() != BRepCheck_NoError) return false;
  if (nested) return Clean(check);
  if (check->ClassifyWires() != BRepCheck_NoError) return false;
  if (check->OrientationOfWires() != BRepCheck_NoError) return false;
  return Clean(check);
}

// A face holding only one of its wires: a context in which OCCT's checks of the wire, its
// edges and its vertices find what they look for without searching the face's other wires.
TopoDS_Face FaceOfWire(const TopoDS_Face& face, const TopoDS_Wire& wire) {
  BRep_Builder builder;
  TopoDS_Face alone = TopoDS::Face(face.EmptyCopied());
  builder.Add(alone, wire);
  return alone;
}

// Whether every face lies in a shell and every edge on a face: the shapes whose sub-shapes
// are checked here one by one (others go to the whole-shape checker).
bool AllOnShells(const TopoDS_Shape& shape, const TopTools_IndexedMapOfShape& faces,
                 const TopTools_IndexedMapOfShape& edges) {
  // Marked by their numbers in the maps: a face met under a shell, an edge met under a face.
  std::vector<char> faceInShell(faces.Extent() + 1, 0), edgeOnFace(edges.Extent() + 1, 0);
  int facesInShells = 0, edgesOnFaces = 0;
  for (TopExp_Explorer s(shape, TopAbs_SHELL); s.More(); s.Next())
    for (TopExp_Explorer f(s.Current(), TopAbs_FACE); f.More(); f.Next()) {
      char& mark = faceInShell[faces.FindIndex(f.Current())];
      if (!mark) mark = 1, ++facesInShells;
    }
  for (int i = 1; i <= faces.Extent(); ++i)
    for (TopExp_Explorer e(faces(i), TopAbs_EDGE); e.More(); e.Next()) {
      char& mark = edgeOnFace[edges.FindIndex(e.Current())];
      if (!mark) mark = 1, ++edgesOnFaces;
    }
  return faces.Extent() > 0 && faces.Extent() == facesInShells && edges.Extent() == edgesOnFaces;
}

// OCCT's check of each sub-shape once, in every context that holds it: vertices on their
// edges and faces, edges' curves and curves on surfaces agreeing, wires closed, connected,
// oriented and free of self-crossing on their faces, faces' wires not crossing and nested,
// shells closed and consistently oriented within their solids, solids sound.
bool SubShapesHold(const TopoDS_Shape& shape, const SubShapeMaps& maps) {
  const TopTools_IndexedMapOfShape &vertices = maps.vertices, &edges = maps.edges, &faces = maps.faces;
  if (!AllOnShells(shape, faces, edges)) return false;
  std::vector<Handle(BRepCheck_Vertex)> vertexChecks(vertices.Extent() + 1);
  std::vector<Handle(BRepCheck_Edge)> edgeChecks(edges.Extent() + 1);
  for (int i = 1; i <= vertices.Extent(); ++i) vertexChecks[i] = new BRepCheck_Vertex(TopoDS::Vertex(vertices(i)));
  // Whether each vertex of an edge was found, in closed form, on every curve the edge has.
  std::vector<char> endsHold(edges.Extent() + 1, 1);
  for (int i = 1; i <= edges.Extent(); ++i) {
    edgeChecks[i] = new BRepCheck_Edge(TopoDS::Edge(edges(i)));
    for (TopoDS_Iterator v(edges(i)); v.More(); v.Next()) {
      const int index = vertices.FindIndex(v.Value());
      if (index == 0) return false;
      if (SimpleVertexOnEdgeHolds(TopoDS::Vertex(v.Value()), TopoDS::Edge(edges(i)))) continue;
      vertexChecks[index]->InContext(edges(i));
      endsHold[i] = 0;
    }
  }
  // The wires and edges on a face that the closed-form checks cannot accept, for OCCT's.
  std::vector<std::pair<TopoDS_Wire, TopoDS_Face>> wires;
  std::vector<int> edgeSeen(edges.Extent() + 1, 0), vertexSeen(vertices.Extent() + 1, 0), wireVertices;
  std::vector<char> vertexDone(vertices.Extent() + 1, 0);
  int wireNumber = 0;
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Face& face = TopoDS::Face(faces(i));
    for (TopoDS_Iterator w(face); w.More(); w.Next()) {
      if (w.Value().ShapeType() != TopAbs_WIRE) return false;
      const TopoDS_Wire& wire = TopoDS::Wire(w.Value());
      // The face holding only this wire, made only for OCCT's checks: the closed-form ones
      // see the same surface, placement and sense on the face itself.
      TopoDS_Face alone;
      auto Alone = [&]() -> const TopoDS_Face& {
        if (alone.IsNull()) alone = FaceOfWire(face, wire);
        return alone;
      };
      if (!SimpleWireOnFaceHolds(wire, face)) wires.emplace_back(wire, Alone());
      // Each edge and vertex of the wire once (a seam and its vertices come twice), marked
      // with the wire's number. OCCT checks a vertex on a face against the curves on the face
      // of the edges it bounds there: done already where those edges' curves on the face were
      // found in closed form and the vertex on every curve of theirs.
      ++wireNumber;
      wireVertices.clear();
      for (TopoDS_Iterator e(wire); e.More(); e.Next()) {
        const int edge = edges.FindIndex(e.Value());
        if (edge == 0) return false;
        if (edgeSeen[edge] == wireNumber) continue;
        edgeSeen[edge] = wireNumber;
        const bool onFace = SimpleEdgeOnFaceHolds(TopoDS::Edge(e.Value()), face);
        if (!onFace) edgeChecks[edge]->InContext(Alone());
        for (TopoDS_Iterator v(e.Value()); v.More(); v.Next()) {
          const int vertex = vertices.FindIndex(v.Value());
          if (vertexSeen[vertex] != wireNumber) {
            vertexSeen[vertex] = wireNumber;
            vertexDone[vertex] = 1;
            wireVertices.push_back(vertex);
          }
          if (!onFace || !endsHold[edge]) vertexDone[vertex] = 0;
        }
      }
      for (int vertex : wireVertices)
        if (!vertexDone[vertex]) vertexChecks[vertex]->InContext(Alone());
    }
  }
  for (int i = 1; i <= vertices.Extent(); ++i)
    if (!Clean(vertexChecks[i])) return false;
  for (int i = 1; i <= edges.Extent(); ++i)
    if (!Clean(edgeChecks[i])) return false;
  for (const auto& wire : wires) {
    Handle(BRepCheck_Wire) check = new BRepCheck_Wire(wire.first);
    check->InContext(wire.second);
    if (!Clean(check)) return false;
  }
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Face& face = TopoDS::Face(faces(i));
    if (!FaceHolds(face, new BRepCheck_Face(face))) return false;
  }
  // A shell of a solid must be closed; every shell consistently oriented.
  TopTools_IndexedDataMapOfShapeListOfShape shellSolids;
  TopExp::MapShapesAndUniqueAncestors(shape, TopAbs_SHELL, TopAbs_SOLID, shellSolids);
  TopTools_IndexedMapOfShape shells;
  TopExp::MapShapes(shape, TopAbs_SHELL, shells);
  for (int i = 1; i <= shells.Extent(); ++i) {
    // A shell that is closed, connected and oriented alike in closed form passes all OCCT
    // checks a shell gets, by itself and in its solid (which are these).
    if (SimpleShellHolds(TopoDS::Shell(shells(i)))) continue;
    Handle(BRepCheck_Shell) check = new BRepCheck_Shell(TopoDS::Shell(shells(i)));
    const TopTools_ListOfShape* solids = shellSolids.Seek(shells(i));
    if (solids && solids->IsEmpty()) solids = nullptr;
    if (solids && check->Closed() != BRepCheck_NoError) return false;
    if (check->Orientation() != BRepCheck_NoError) return false;
    if (solids)
      for (TopTools_ListOfShape::Iterator it(*solids); it.More(); it.Next()) check->InContext(it.Value());
    if (!Clean(check)) return false;
  }
  for (TopExp_Explorer s(shape, TopAbs_SOLID); s.More(); s.Next()) {
    Handle(BRepCheck_Solid) check = new BRepCheck_Solid(TopoDS::Solid(s.Current()));
    if (!Clean(check)) return false;
  }
  return true;
}

// The volume a solid's faces enclose, by the divergence theorem: a third of the flux of the
// position through each face, the flux a double integral over the face's domain written as
// one integral around its boundary (Green's theorem), both taken by Gauss quadrature.
double VolumeByBoundary(const TopoDS_Shape& solid) {
  double volume = 0;
  for (TopExp_Explorer f(solid, TopAbs_FACE); f.More(); f.Next()) {
    const TopoDS_Face& face = TopoDS::Face(f.Current());
    const TopoDS_Face forward = TopoDS::Face(face.Oriented(TopAbs_FORWARD));
    Handle(Geom_Surface) surface = BRep_Tool::Surface(forward);
    const bool plane = Exactly<Geom_Plane>(surface) != nullptr;
    const Geom_CylindricalSurface* cylinder = Exactly<Geom_CylindricalSurface>(surface);
    // The integrand: the position against the surface's normal, scaled by its area element.
    auto integrand = [&](double u, double v) {
      gp_Pnt p;
      gp_Vec du, dv;
      surface->D1(u, v, p, du, dv);
      return gp_Vec(p.XYZ()).Dot(du.Crossed(dv));
    };
    double u0 = 0;
    bool first = true;
    const double planeValue = plane ? integrand(0, 0) : 0;
    double flux = 0;
    for (TopExp_Explorer e(forward, TopAbs_EDGE); e.More(); e.Next()) {
      const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
      double a = 0, b = 0;
      Handle(Geom2d_Curve) curve = BRep_Tool::CurveOnSurface(edge, forward, a, b);
      if (curve.IsNull()) return 0;
      if (edge.Orientation() == TopAbs_REVERSED) std::swap(a, b);
      if (first) u0 = curve->Value(a).X(), first = false;
      const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
      for (int k = 0; k < 8; ++k) {
        gp_Pnt2d uv;
        gp_Vec2d d;
        curve->D1(mid + half * kNode[k], uv, d);
        // The integrand's antiderivative along u from u0, by quadrature unless it is constant.
        double g = 0;
        const double inner = 0.5 * (uv.X() - u0), centre = 0.5 * (uv.X() + u0);
        if (plane) {
          g = planeValue * (uv.X() - u0);
        } else if (cylinder) {
          // On a cylinder the integrand is k r (c . n(u) + r), n(u) = cos u X + sin u Y the
          // unit normal, k the sign of the frame's handedness: integrated in closed form.
          const gp_Ax3& frame = cylinder->Position();
          const gp_XYZ c = frame.Location().XYZ();
          const double r = cylinder->Radius(), k = frame.Direct() ? 1.0 : -1.0;
          const double cx = c.Dot(frame.XDirection().XYZ()), cy = c.Dot(frame.YDirection().XYZ());
          const double u = uv.X();
          g = k * r * (cx * (std::sin(u) - std::sin(u0)) - cy * (std::cos(u) - std::cos(u0)) + r * (u - u0));
        } else {
          for (int m = 0; m < 8; ++m) g += kWeight[m] * integrand(centre + inner * kNode[m], uv.Y());
          g *= inner;
        }
        flux += kWeight[k] * half * g * d.Y();
      }
    }
    volume += (face.Orientation() == TopAbs_REVERSED ? -flux : flux) / 3.0;
  }
  return volume;
}

// Every solid encloses a volume clearly above nothing: a thousandth of its box's, far more
// than the quadrature can be out by.
// A box holding a solid whose faces lie on planes and cylinders and whose edges are lines and
// circles: the box of its edges (a circle's whole circle), widened by their tolerance. Any
// point of such a face lies between two points of the face's boundary, on a line of its
// surface, so inside any box holding the boundary. False for any other solid.
bool EdgeBox(const TopoDS_Shape& solid, Bnd_Box* box) {
  for (TopExp_Explorer f(solid, TopAbs_FACE); f.More(); f.Next()) {
    const Handle(Geom_Surface)& surface = BRep_Tool::Surface(TopoDS::Face(f.Current()));
    if (!Exactly<Geom_Plane>(surface) && !Exactly<Geom_CylindricalSurface>(surface)) return false;
  }
  double tolerance = 0;
  for (TopExp_Explorer e(solid, TopAbs_EDGE); e.More(); e.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
    TopLoc_Location location;
    double a = 0, b = 0;
    const Handle(Geom_Curve)& curve = BRep_Tool::Curve(edge, location, a, b);
    const gp_Trsf place = location.Transformation();
    if (const auto* line = Exactly<Geom_Line>(curve)) {
      box->Add(line->Value(a).Transformed(place));
      box->Add(line->Value(b).Transformed(place));
    } else if (const auto* circle = Exactly<Geom_Circle>(curve)) {
      const gp_Circ circ = circle->Circ().Transformed(place);
      const gp_XYZ c = circ.Location().XYZ(), n = circ.Axis().Direction().XYZ();
      const double r = circ.Radius();
      const gp_XYZ reach(r * std::sqrt(std::max(0.0, 1 - n.X() * n.X())), r * std::sqrt(std::max(0.0, 1 - n.Y() * n.Y())),
                         r * std::sqrt(std::max(0.0, 1 - n.Z() * n.Z())));
      box->Add(gp_Pnt(c - reach));
      box->Add(gp_Pnt(c + reach));
    } else {
      return false;
    }
    tolerance = std::max(tolerance, BRep_Tool::Tolerance(edge));
  }
  box->Enlarge(tolerance);
  return !box->IsVoid();
}

bool SolidsClearlyPositive(const TopoDS_Shape& shape) {
  for (TopExp_Explorer s(shape, TopAbs_SOLID); s.More(); s.Next()) {
    Bnd_Box box;
    if (!EdgeBox(s.Current(), &box)) {
      box = Bnd_Box();
      BRepBndLib::Add(s.Current(), box, Standard_False);
    }
    if (box.IsVoid()) return false;
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    const double boxVolume = (x1 - x0) * (y1 - y0) * (z1 - z0);
    if (!(boxVolume > 0) || !(VolumeByBoundary(s.Current()) > 1e-3 * boxVolume)) return false;
  }
  return true;
}

}  // namespace

bool ShapeChecksAcceptOutright(const TopoDS_Shape& shape, SubShapeMaps* maps) {
  SubShapeMaps own;
  if (!maps) maps = &own;
  *maps = SubShapeMaps();
  TopExp::MapShapes(shape, TopAbs_FACE, maps->faces);
  TopExp::MapShapes(shape, TopAbs_EDGE, maps->edges);
  TopExp::MapShapes(shape, TopAbs_VERTEX, maps->vertices);
  return SubShapesHold(shape, *maps) && SolidsClearlyPositive(shape);
}

bool ShapeChecksHold(const TopoDS_Shape& shape, SubShapeMaps* maps) {
  if (ShapeChecksAcceptOutright(shape, maps)) return true;
  BRepCheck_Analyzer analyzer(shape, Standard_True, Standard_False);
  if (!analyzer.IsValid()) return false;
  for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(solid.Current(), props);
    if (!(props.Mass() > 0.0)) return false;
  }
  return true;
}

}  // namespace brennik
