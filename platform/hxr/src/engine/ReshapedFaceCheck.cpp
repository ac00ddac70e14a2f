#include "engine/ReshapedFaceCheck.h"

#include <BRepCheck_Analyzer.hxx>
#include <BndLib_Add2dCurve.hxx>
#include <ElCLib.hxx>
#include <Bnd_Box2d.hxx>
#include <BRep_CurveRepresentation.hxx>
#include <BRep_GCurve.hxx>
#include <BRep_ListIteratorOfListOfCurveRepresentation.hxx>
#include <BRep_TEdge.hxx>
#include <BRep_Tool.hxx>
#include <Geom2dAPI_InterCurveCurve.hxx>
#include <Geom2d_Circle.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_Ellipse.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <GeomAdaptor_Surface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <Geom_Surface.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Vec2d.hxx>

#include <algorithm>
#include <functional>
#include <utility>
#include <cmath>
#include <limits>
#include <vector>

namespace hxr::engine {
namespace {

// The margin over an entity's own tolerance that a measured gap may use: the distances
// are sampled, and the samples of a curve that lies exactly at its tolerance scatter.
constexpr double kToleranceMargin = 1.05;
constexpr int kCurveSamples = 9;  // points at which an edge is held against its face

enum class Verdict { Valid, Invalid, Unsure };

// A box in parameter space.
struct Box {
  double u1 = std::numeric_limits<double>::max(), v1 = u1;
  double u2 = -std::numeric_limits<double>::max(), v2 = u2;

  void Add(const gp_Pnt2d& p) {
    u1 = std::min(u1, p.X()), v1 = std::min(v1, p.Y());
    u2 = std::max(u2, p.X()), v2 = std::max(v2, p.Y());
  }
  void Add(const Box& b) {
    u1 = std::min(u1, b.u1), v1 = std::min(v1, b.v1);
    u2 = std::max(u2, b.u2), v2 = std::max(v2, b.v2);
  }
  void Enlarge(double d) { u1 -= d, v1 -= d, u2 += d, v2 += d; }
  bool Meets(const Box& b, double margin) const {
    return b.u1 <= u2 + margin && u1 <= b.u2 + margin && b.v1 <= v2 + margin && v1 <= b.v2 + margin;
  }
};

// Calls `pair(i, j)` for every two boxes that come within `margin` of each other, sweeping
// along u so that a face with many small holes costs little more than the holes; stops
// and answers false as soon as `pair` does.
template <class Pair>
bool ForMeetingBoxes(const std::vector<Box>& boxes, double margin, Pair pair) {
  std::vector<size_t> order(boxes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return boxes[a].u1 < boxes[b].u1; });
  for (size_t a = 0; a < order.size(); ++a) {
    const Box& first = boxes[order[a]];
    for (size_t b = a + 1; b < order.size() && boxes[order[b]].u1 <= first.u2 + margin; ++b) {
      if (first.Meets(boxes[order[b]], margin) && !pair(order[a], order[b])) return false;
    }
  }
  return true;
}

// One use of an edge in a wire of a face, laid out in the face's parameter space and
// running the way the wire runs.
struct Trace {
  TopoDS_Edge edge;
  Handle(Geom2d_Curve) curve;
  double first = 0.0;
  double last = 0.0;
  bool line = false;
  std::vector<gp_Pnt2d> points;  // from the wire's start of the edge to its end
  double deviation = 0.0;        // how far the curve may stray from its chords
  Box box;                       // holds the curve, not only its points
};

struct WireLayout {
  std::vector<Trace> traces;
  double area = 0.0;  // signed: positive runs counter-clockwise
  double deviation = 0.0;
  Box box;
};

Handle(Geom2d_Curve) Basis(Handle(Geom2d_Curve) curve) {
  while (auto trimmed = Handle(Geom2d_TrimmedCurve)::DownCast(curve)) curve = trimmed->BasisCurve();
  return curve;
}

int SampleCount(const Handle(Geom2d_Curve)& basis, double first, double last) {
  if (basis->IsKind(STANDARD_TYPE(Geom2d_Line))) return 2;
  if (basis->IsKind(STANDARD_TYPE(Geom2d_Circle)) || basis->IsKind(STANDARD_TYPE(Geom2d_Ellipse))) {
    // Sixteen chords to a full turn keep the sign of a small hole's area and keep its
    // points inside or outside the boundaries it does not cross.
    return 2 + static_cast<int>(std::ceil(std::abs(last - first) / (M_PI / 16.0)));
  }
  return 33;
}

// Lays out one wire of the face; false when an edge has no parameter curve on it.
bool LayOutWire(const TopoDS_Face& face, const TopoDS_Shape& shape, WireLayout& wire) {
    if (shape.ShapeType() != TopAbs_WIRE) return false;
    for (TopoDS_Iterator e(shape); e.More(); e.Next()) {
      Trace trace;
      trace.edge = TopoDS::Edge(e.Value());
      trace.curve = BRep_Tool::CurveOnSurface(trace.edge, face, trace.first, trace.last);
      if (trace.curve.IsNull() || !(trace.last > trace.first)) return false;
      const Handle(Geom2d_Curve) basis = Basis(trace.curve);
      trace.line = basis->IsKind(STANDARD_TYPE(Geom2d_Line));
      const int count = SampleCount(basis, trace.first, trace.last);
      const bool reversed = trace.edge.Orientation() == TopAbs_REVERSED;
      auto parameter = [&](double i) {
        const double s = (reversed ? count - 1 - i : i) / (count - 1);
        return trace.first + s * (trace.last - trace.first);
      };
      // A circle is sampled in closed form, and the bulge of each of its chords (all of one
      // angle) is known without measuring it.
      const Handle(Geom2d_Circle) circle = Handle(Geom2d_Circle)::DownCast(basis);
      const gp_Circ2d exact = circle.IsNull() ? gp_Circ2d() : circle->Circ2d();
      trace.points.reserve(count);
      for (int i = 0; i < count; ++i) {
        const gp_Pnt2d point =
            circle.IsNull() ? trace.curve->Value(parameter(i)) : ElCLib::Value(parameter(i), exact);
        trace.points.push_back(point);
        trace.box.Add(point);
      }
      if (!circle.IsNull()) {
        const double angle = std::abs(trace.last - trace.first) / (count - 1);
        trace.deviation = 2.0 * circle->Radius() * (1.0 - std::cos(0.5 * angle));
      }
      // Twice the largest gap between a chord's middle and the curve's: room enough for
      // the bulge of a chord of a conic or a smooth curve.
      for (int i = 1; i < count && !trace.line && circle.IsNull(); ++i) {
        const gp_Pnt2d middle = trace.curve->Value(parameter(i - 0.5));
        const gp_XY chord = 0.5 * (trace.points[i - 1].XY() + trace.points[i].XY());
        trace.deviation = std::max(trace.deviation, 2.0 * (middle.XY() - chord).Modulus());
      }
      trace.box.Enlarge(trace.deviation);
      wire.deviation = std::max(wire.deviation, trace.deviation);
      for (size_t i = 1; i < trace.points.size(); ++i) {
        const gp_Pnt2d& a = trace.points[i - 1];
        const gp_Pnt2d& b = trace.points[i];
        wire.area += 0.5 * (a.X() * b.Y() - b.X() * a.Y());
      }
      wire.box.Add(trace.box);
      wire.traces.push_back(std::move(trace));
    }
    return !wire.traces.empty();
}

// Lays out every wire of the face; false when an edge has no parameter curve on it.
bool LayOut(const TopoDS_Face& face, std::vector<WireLayout>& wires) {
  for (TopoDS_Iterator w(face); w.More(); w.Next()) {
    WireLayout wire;
    if (!LayOutWire(face, w.Value(), wire)) return false;
    wires.push_back(std::move(wire));
  }
  return !wires.empty();
}

// A plane's origin and axes, read once for the many edges of a face measured against it.
struct PlaneFrame {
  explicit PlaneFrame(const gp_Pln& plane)
      : origin(plane.Location().XYZ()), x(plane.XAxis().Direction().XYZ()), y(plane.YAxis().Direction().XYZ()) {}
  gp_Pnt2d Uv(const gp_XYZ& point) const {
    const gp_XYZ d = point - origin;
    return gp_Pnt2d(d.Dot(x), d.Dot(y));
  }
  gp_XYZ origin, x, y;
};

// The extent of an edge's 3D curve, over [first, last], in the parameters of a plane, when
// that curve is a line or a circle: the plane's parameters measure length as space does, so the
// curve's own extent put into them, widened by the edge's tolerance (which its parameter curve
// keeps within), holds the parameter curve without making it. False for any other curve.
bool CurveExtent(const PlaneFrame& plane, const Geom_Curve* curve, double first, double last, double tolerance,
                 Box& box) {
  const Geom_Curve* basis = curve;
  while (basis->DynamicType() == STANDARD_TYPE(Geom_TrimmedCurve))
    basis = static_cast<const Geom_TrimmedCurve*>(basis)->BasisCurve().get();
  const Handle(Standard_Type)& type = basis->DynamicType();
  Box own;
  if (type == STANDARD_TYPE(Geom_Line)) {
    own.Add(plane.Uv(curve->Value(first).XYZ()));
    own.Add(plane.Uv(curve->Value(last).XYZ()));
  } else if (type == STANDARD_TYPE(Geom_Circle)) {
    const gp_Circ c = static_cast<const Geom_Circle*>(basis)->Circ();
    const gp_XYZ& n = c.Axis().Direction().XYZ();
    const gp_Pnt2d centre = plane.Uv(c.Location().XYZ());
    const double nx = n.Dot(plane.x), ny = n.Dot(plane.y);
    const double du = c.Radius() * std::sqrt(std::max(0.0, 1.0 - nx * nx));
    const double dv = c.Radius() * std::sqrt(std::max(0.0, 1.0 - ny * ny));
    own.Add(gp_Pnt2d(centre.X() - du, centre.Y() - dv));
    own.Add(gp_Pnt2d(centre.X() + du, centre.Y() + dv));
  } else {
    return false;
  }
  own.Enlarge(tolerance);
  box.Add(own);
  return true;
}

// The extent of an edge in the parameters of a plane from its 3D curve (see CurveExtent).
bool PlanarExtent(const gp_Pln& plane, const TopoDS_Edge& edge, Box& box) {
  // The edge's 3D curve read from the edge itself, through plain pointers: the curve outlives
  // this call, and a face with many holes measures each of them. A placed edge or curve would
  // be copied to be read where it lies: left to the parameter curves.
  if (!edge.Location().IsIdentity()) return false;
  double first = 0.0, last = 0.0;
  const Geom_Curve* curve = nullptr;
  const BRep_TEdge* stored = static_cast<const BRep_TEdge*>(edge.TShape().get());
  for (BRep_ListIteratorOfListOfCurveRepresentation it(stored->Curves()); it.More() && curve == nullptr; it.Next()) {
    const BRep_CurveRepresentation* representation = it.Value().get();
    if (!representation->IsCurve3D()) continue;
    if (!representation->Location().IsIdentity()) return false;
    static_cast<const BRep_GCurve*>(representation)->Range(first, last);
    curve = representation->Curve3D().get();
    if (curve == nullptr) return false;
  }
  if (curve == nullptr) return false;
  return CurveExtent(PlaneFrame(plane), curve, first, last, BRep_Tool::Tolerance(edge), box);
}

// The extent of a wire in the face's parameters from its curves alone, without laying it out;
// `plane` is the face's plane, null for any other surface.
Box ExtentOf(const TopoDS_Face& face, const gp_Pln* plane, const TopoDS_Shape& wire) {
  Box box;
  // An unplaced wire's edges are read as they are stored, without composing their places.
  const bool unplaced = wire.Location().IsIdentity();
  for (TopoDS_Iterator e(wire, true, !unplaced); e.More(); e.Next()) {
    if (plane != nullptr && PlanarExtent(*plane, TopoDS::Edge(e.Value()), box)) continue;
    double first = 0.0, last = 0.0;
    const Handle(Geom2d_Curve) curve = BRep_Tool::CurveOnSurface(TopoDS::Edge(e.Value()), face, first, last);
    if (curve.IsNull()) continue;
    Bnd_Box2d extent;
    BndLib_Add2dCurve::Add(curve, first, last, 0.0, extent);
    if (extent.IsVoid()) continue;
    double u1, v1, u2, v2;
    extent.Get(u1, v1, u2, v2);
    box.Add(gp_Pnt2d(u1, v1));
    box.Add(gp_Pnt2d(u2, v2));
  }
  return box;
}

// The extents of many wires of a face (as ExtentOf gives each). On a plane, each step of reading
// the edges' 3D curves (the first of an edge's curves, that curve's record, the curve itself) is
// taken for every edge before the next step: the reads of a face with many holes, each waiting
// on the one before it within an edge, then overlap across the edges.
void ExtentsOf(const TopoDS_Face& face, const gp_Pln* plane, const std::vector<TopoDS_Shape>& wires,
               std::vector<Box>& boxes) {
  boxes.assign(wires.size(), Box());
  if (plane == nullptr) {
    for (size_t k = 0; k < wires.size(); ++k) boxes[k] = ExtentOf(face, plane, wires[k]);
    return;
  }
  // Each edge is read through its stored part, which the wire holding it keeps alive.
  struct Read {
    const BRep_TEdge* edge = nullptr;
    size_t wire = 0;
    const BRep_CurveRepresentation* representation = nullptr;
    const Geom_Curve* curve = nullptr;
    double first = 0.0, last = 0.0;
  };
  const PlaneFrame frame(*plane);
  std::vector<Read> reads;
  reads.reserve(2 * wires.size());
  // A wire with an edge that is placed, or whose first curve is not a plain 3D line or circle,
  // is measured whole as ExtentOf measures it.
  std::vector<bool> apart(wires.size(), false);
  for (size_t k = 0; k < wires.size(); ++k) {
    const bool unplaced = wires[k].Location().IsIdentity();
    for (TopoDS_Iterator e(wires[k], true, !unplaced); e.More(); e.Next()) {
      if (!e.Value().Location().IsIdentity()) {
        apart[k] = true;
        continue;
      }
      const BRep_TEdge* stored = static_cast<const BRep_TEdge*>(e.Value().TShape().get());
      reads.push_back(Read{stored, k});
    }
  }
  for (Read& read : reads) {
    BRep_ListIteratorOfListOfCurveRepresentation it(read.edge->Curves());
    if (!it.More()) continue;
    read.representation = it.Value().get();
  }
  for (Read& read : reads) {
    const BRep_CurveRepresentation* representation = read.representation;
    if (representation == nullptr || !representation->IsCurve3D() || !representation->Location().IsIdentity())
      continue;
    static_cast<const BRep_GCurve*>(representation)->Range(read.first, read.last);
    read.curve = representation->Curve3D().get();
  }
  for (const Read& read : reads) {
    if (apart[read.wire]) continue;
    // The edge's tolerance as the kernel reads it, never below the least it allows.
    const double tolerance = std::max(read.edge->Tolerance(), Precision::Confusion());
    apart[read.wire] = read.curve == nullptr ||
                       !CurveExtent(frame, read.curve, read.first, read.last, tolerance, boxes[read.wire]);
  }
  for (size_t k = 0; k < wires.size(); ++k)
    if (apart[k]) boxes[k] = ExtentOf(face, plane, wires[k]);
}

// Lays out the wires of a changed face that the change can have brought into conflict: the
// holes it changed, the outer boundary, and each wire it kept (the same wire as before, so
// valid against every other kept wire, the face having been valid) whose extent comes near a
// changed one. A face whose wires all changed, or whose outer boundary changed, is laid out
// whole. `extent` holds every wire.
bool LayOutChangedPart(const TopoDS_Face& source, const TopoDS_Face& face, const TopoDS_Shape& rebuilt,
                       std::vector<WireLayout>& wires, Box& extent) {
  // The wires made anew, when the change said which they are; otherwise each wire of the face
  // is looked for among those it had, by their shared part, so that a face with many holes is
  // sorted once rather than hashed wire by wire.
  TopTools_MapOfShape made;
  if (!rebuilt.IsNull())
    for (TopoDS_Iterator w(rebuilt); w.More(); w.Next()) made.Add(w.Value());
  std::vector<std::pair<const TopoDS_TShape*, TopoDS_Shape>> before;
  if (rebuilt.IsNull())
    for (TopoDS_Iterator w(source); w.More(); w.Next()) before.emplace_back(w.Value().TShape().get(), w.Value());
  std::sort(before.begin(), before.end(),
            [](const auto& a, const auto& b) { return std::less<const TopoDS_TShape*>()(a.first, b.first); });
  auto hadBefore = [&](const TopoDS_Shape& wire) {
    if (!rebuilt.IsNull()) return !made.Contains(wire);
    const TopoDS_TShape* part = wire.TShape().get();
    auto it = std::lower_bound(before.begin(), before.end(), part, [](const auto& a, const TopoDS_TShape* b) {
      return std::less<const TopoDS_TShape*>()(a.first, b);
    });
    for (; it != before.end() && it->first == part; ++it)
      if (it->second.IsSame(wire)) return true;
    return false;
  };
  const Handle(Geom_Plane) surface = Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(face));
  const gp_Pln placed = surface.IsNull() ? gp_Pln() : surface->Pln();
  const gp_Pln* plane = surface.IsNull() ? nullptr : &placed;
  std::vector<TopoDS_Shape> kept;
  kept.reserve(face.NbChildren());
  for (TopoDS_Iterator w(face); w.More(); w.Next()) {
    if (hadBefore(w.Value())) {
      kept.push_back(w.Value());
      continue;
    }
    WireLayout wire;
    if (!LayOutWire(face, w.Value(), wire)) return false;
    extent.Add(wire.box);
    wires.push_back(std::move(wire));
  }
  // A changed outer boundary may have left any kept hole outside it: the whole face is laid out.
  bool outerChanged = false;
  for (const WireLayout& wire : wires) outerChanged = outerChanged || wire.area > 0.0;
  if (kept.empty() || wires.empty() || outerChanged) {
    wires.clear();
    extent = Box();
    if (!LayOut(face, wires)) return false;
    for (const WireLayout& wire : wires) extent.Add(wire.box);
    return true;
  }
  const size_t changed = wires.size();
  std::vector<Box> boxes;
  ExtentsOf(face, plane, kept, boxes);
  size_t outer = kept.size();
  for (size_t k = 0; k < kept.size(); ++k) {
    extent.Add(boxes[k]);
    // The outer boundary, kept, holds every other wire of the face.
    if (outer == kept.size() || (boxes[k].u1 <= boxes[outer].u1 && boxes[k].v1 <= boxes[outer].v1 &&
                                 boxes[k].u2 >= boxes[outer].u2 && boxes[k].v2 >= boxes[outer].v2))
      outer = k;
  }
  // Room for the bulge of a laid-out chord over the curve's own extent.
  const double margin = 1e-6 * std::hypot(extent.u2 - extent.u1, extent.v2 - extent.v1);
  for (size_t k = 0; k < kept.size(); ++k) {
    bool near = k == outer;
    for (size_t c = 0; c < changed && !near; ++c) near = boxes[k].Meets(wires[c].box, margin);
    if (!near) continue;
    WireLayout wire;
    if (!LayOutWire(face, kept[k], wire)) return false;
    wires.push_back(std::move(wire));
  }
  return true;
}

// An outer boundary runs counter-clockwise in the parameters of a face as it stands,
// holes clockwise: exactly one wire with positive area.
bool WiresRunAsBoundaries(const std::vector<WireLayout>& wires) {
  int outer = 0;
  for (const WireLayout& wire : wires) outer += wire.area > 0.0 ? 1 : 0;
  return outer == 1;
}

// The largest tolerance of the vertices of the laid-out wires: the ends the check compares
// are theirs, and a wire left out of the check has no say in its gaps.
double MaxVertexTolerance(const std::vector<WireLayout>& wires) {
  double tolerance = 0.0;
  for (const WireLayout& wire : wires) {
    for (const Trace& trace : wire.traces) {
      for (TopoDS_Iterator v(trace.edge); v.More(); v.Next())
        tolerance = std::max(tolerance, BRep_Tool::Tolerance(TopoDS::Vertex(v.Value())));
    }
  }
  return tolerance;
}

// Holds a changed edge against its 3D curve, its face's surface and its vertices.
Verdict CheckEdgeOnFace(const Trace& trace, const Handle(Geom_Surface)& surface,
                        std::string& detail) {
  const TopoDS_Edge& edge = trace.edge;
  if (BRep_Tool::Degenerated(edge)) {
    // A pole: the whole parameter curve stays at the edge's one vertex.
    TopoDS_Vertex pole = TopExp::FirstVertex(edge);
    if (pole.IsNull()) return Verdict::Unsure;
    const double allowed = kToleranceMargin * BRep_Tool::Tolerance(pole);
    for (int i = 0; i < kCurveSamples; ++i) {
      const gp_Pnt2d uv = trace.curve->Value(trace.first + (trace.last - trace.first) * i / (kCurveSamples - 1));
      if (surface->Value(uv.X(), uv.Y()).Distance(BRep_Tool::Pnt(pole)) > allowed) {
        detail = "a changed pole leaves its vertex";
        return Verdict::Invalid;
      }
    }
    return Verdict::Valid;
  }
  if (!BRep_Tool::SameParameter(edge) || !BRep_Tool::SameRange(edge)) return Verdict::Unsure;
  double first, last;
  const Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, first, last);
  if (curve.IsNull()) return Verdict::Unsure;
  const double tolerance = kToleranceMargin * BRep_Tool::Tolerance(edge);
  for (int i = 0; i < kCurveSamples; ++i) {
    const double t = first + (last - first) * i / (kCurveSamples - 1);
    const gp_Pnt2d uv = trace.curve->Value(t);
    if (curve->Value(t).Distance(surface->Value(uv.X(), uv.Y())) > tolerance) {
      detail = "a changed edge leaves the surface of a face it bounds";
      return Verdict::Invalid;
    }
  }
  TopoDS_Vertex start, end;
  TopExp::Vertices(TopoDS::Edge(edge.Oriented(TopAbs_FORWARD)), start, end);
  if (start.IsNull() || end.IsNull()) return Verdict::Unsure;
  const gp_Pnt ends[2] = {curve->Value(first), curve->Value(last)};
  const TopoDS_Vertex vertices[2] = {start, end};
  for (int i = 0; i < 2; ++i) {
    const double allowed =
        kToleranceMargin * std::max(BRep_Tool::Tolerance(vertices[i]), BRep_Tool::Tolerance(edge));
    if (ends[i].Distance(BRep_Tool::Pnt(vertices[i])) > allowed) {
      detail = "a changed edge does not end on its vertex";
      return Verdict::Invalid;
    }
  }
  return Verdict::Valid;
}

// Each end of an edge meets the start of another edge of the wire in parameter space.
bool Closes(const WireLayout& wire, double gap) {
  for (const Trace& a : wire.traces) {
    const gp_Pnt2d& end = a.points.back();
    bool met = false;
    for (const Trace& b : wire.traces) met = met || end.Distance(b.points.front()) <= gap;
    if (!met) return false;
  }
  return true;
}

// Where two traces meet: allowed only at an end they share. `near` widens the shared end
// for contacts measured less exactly (tangent curves); a contact inside it is unsure.
Verdict JudgeContact(const gp_Pnt2d& point, const Trace& a, const Trace& b, double gap,
                     double near) {
  const gp_Pnt2d ends[4] = {a.points.front(), a.points.back(), b.points.front(), b.points.back()};
  double nearest = std::numeric_limits<double>::max();
  for (int i = 0; i < 2; ++i) {
    for (int j = 2; j < 4; ++j) {
      if (ends[i].Distance(ends[j]) > gap) continue;
      nearest = std::min(nearest, point.Distance(ends[i]));
    }
  }
  if (nearest <= gap) return Verdict::Valid;
  return nearest <= near ? Verdict::Unsure : Verdict::Invalid;
}

double Cross(const gp_Vec2d& a, const gp_Vec2d& b) { return a.X() * b.Y() - a.Y() * b.X(); }

// Two straight traces, exactly.
Verdict JudgeSegments(const Trace& a, const Trace& b, double gap, double near) {
  const gp_Pnt2d p = a.points.front(), q = b.points.front();
  const gp_Vec2d r(p, a.points.back()), s(q, b.points.back());
  const double lr = r.Magnitude(), ls = s.Magnitude();
  if (lr <= gap || ls <= gap) return Verdict::Unsure;
  const double denominator = Cross(r, s);
  const gp_Vec2d pq(p, q);
  if (std::abs(denominator) <= 1e-12 * lr * ls) {
    if (std::abs(Cross(r, pq)) / lr > gap) return Verdict::Valid;  // parallel, apart
    // On one line: they may only touch end to end.
    const double t0 = pq.Dot(r) / (lr * lr), t1 = gp_Vec2d(p, b.points.back()).Dot(r) / (lr * lr);
    const double overlap = (std::min(1.0, std::max(t0, t1)) - std::max(0.0, std::min(t0, t1))) * lr;
    return overlap > gap ? Verdict::Invalid : Verdict::Valid;
  }
  const double t = Cross(pq, s) / denominator, u = Cross(pq, r) / denominator;
  if (t < -gap / lr || t > 1.0 + gap / lr || u < -gap / ls || u > 1.0 + gap / ls) {
    return Verdict::Valid;
  }
  return JudgeContact(p.Translated(t * r), a, b, gap, near);
}

Verdict JudgeCurves(const Trace& a, const Trace& b, double gap, double near) {
  Handle(Geom2d_Curve) ca = new Geom2d_TrimmedCurve(a.curve, a.first, a.last);
  Handle(Geom2d_Curve) cb = new Geom2d_TrimmedCurve(b.curve, b.first, b.last);
  Geom2dAPI_InterCurveCurve intersection(ca, cb, gap);
  if (intersection.NbSegments() > 0) return Verdict::Invalid;
  Verdict verdict = Verdict::Valid;
  for (int i = 1; i <= intersection.NbPoints(); ++i) {
    const Verdict contact = JudgeContact(intersection.Point(i), a, b, gap, near);
    if (contact == Verdict::Invalid) return contact;
    if (contact == Verdict::Unsure) verdict = contact;
  }
  return verdict;
}

// No two traces of the face meet anywhere but at the ends they share.
Verdict JudgeCrossings(const std::vector<const Trace*>& traces, double gap, double near) {
  std::vector<Box> boxes;
  for (const Trace* trace : traces) boxes.push_back(trace->box);
  Verdict verdict = Verdict::Valid;
  ForMeetingBoxes(boxes, near, [&](size_t i, size_t j) {
    const Verdict pair = traces[i]->line && traces[j]->line
                             ? JudgeSegments(*traces[i], *traces[j], gap, near)
                             : JudgeCurves(*traces[i], *traces[j], gap, near);
    if (pair != Verdict::Valid) verdict = pair;
    return pair != Verdict::Invalid;
  });
  return verdict;
}

// How many of the points lie inside the wire (crossing count over its chords), or -1 when
// a point lies so near a chord that the curve it stands for may pass on its other side.
int CountInside(const std::vector<gp_Pnt2d>& points, const WireLayout& wire, double gap) {
  const double near = wire.deviation + gap;
  int inside = 0;
  for (const gp_Pnt2d& point : points) {
    bool in = false;
    for (const Trace& trace : wire.traces) {
      for (size_t k = 1; k < trace.points.size(); ++k) {
        const gp_Pnt2d& a = trace.points[k - 1];
        const gp_Pnt2d& b = trace.points[k];
        const gp_XY ab = b.XY() - a.XY(), ap = point.XY() - a.XY();
        const double length2 = ab.SquareModulus();
        const double t = length2 > 0.0 ? std::clamp(ap.Dot(ab) / length2, 0.0, 1.0) : 0.0;
        if ((ap - t * ab).Modulus() <= near) return -1;
        if ((a.Y() > point.Y()) == (b.Y() > point.Y())) continue;
        const double x = a.X() + (point.Y() - a.Y()) * (b.X() - a.X()) / (b.Y() - a.Y());
        if (x > point.X()) in = !in;
      }
    }
    inside += in ? 1 : 0;
  }
  return inside;
}

std::vector<gp_Pnt2d> PointsOf(const WireLayout& wire) {
  std::vector<gp_Pnt2d> points;
  for (const Trace& trace : wire.traces) points.insert(points.end(), trace.points.begin(), trace.points.end());
  return points;
}

// Every hole inside the outer boundary and outside the other holes. The wires do not
// cross, so each lies wholly on one side of another; points near another wire's chords, or
// that disagree, leave the question open.
Verdict JudgeNesting(const std::vector<WireLayout>& wires, double gap, std::string& detail) {
  size_t outer = 0;
  while (wires[outer].area <= 0.0) ++outer;
  Verdict verdict = Verdict::Valid;
  for (size_t h = 0; h < wires.size(); ++h) {
    if (h == outer) continue;
    const std::vector<gp_Pnt2d> points = PointsOf(wires[h]);
    const int inOuter = CountInside(points, wires[outer], gap);
    if (inOuter == 0) {
      detail = "a hole of a changed face lies outside its outer boundary";
      return Verdict::Invalid;
    }
    if (inOuter != static_cast<int>(points.size())) verdict = Verdict::Unsure;
  }
  std::vector<Box> boxes;
  for (const WireLayout& wire : wires) boxes.push_back(wire.box);
  ForMeetingBoxes(boxes, 0.0, [&](size_t a, size_t b) {
    if (a == outer || b == outer) return true;
    for (const auto& [hole, other] : {std::make_pair(a, b), std::make_pair(b, a)}) {
      const std::vector<gp_Pnt2d> points = PointsOf(wires[hole]);
      const int inside = CountInside(points, wires[other], gap);
      if (inside == static_cast<int>(points.size())) {
        detail = "a hole of a changed face lies inside another hole";
        verdict = Verdict::Invalid;
        return false;
      }
      if (inside != 0) verdict = Verdict::Unsure;
    }
    return true;
  });
  return verdict;
}

Verdict CheckFace(const TopoDS_Face& source, const TopoDS_Face& product, const TopoDS_Shape& rebuilt,
                  const TopTools_MapOfShape& changedEdges, std::string& detail) {
  const TopoDS_Face face = TopoDS::Face(product.Oriented(TopAbs_FORWARD));
  std::vector<WireLayout> wires;
  Box all;
  if (!LayOutChangedPart(TopoDS::Face(source.Oriented(TopAbs_FORWARD)), face, rebuilt, wires, all))
    return Verdict::Unsure;
  const Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
  if (surface.IsNull()) return Verdict::Unsure;

  Verdict verdict = Verdict::Valid;
  for (const WireLayout& wire : wires) {
    for (const Trace& trace : wire.traces) {
      if (!changedEdges.Contains(trace.edge)) continue;
      const Verdict edge = CheckEdgeOnFace(trace, surface, detail);
      if (edge == Verdict::Invalid) return edge;
      if (edge == Verdict::Unsure) verdict = edge;
    }
  }

  // Gaps in parameter space: ends meet within the vertices' tolerance, and a crossing near
  // a shared end is left to the full check when it is not clearly away from it.
  GeomAdaptor_Surface adaptor(surface);
  const double tolerance = 2.0 * std::max(MaxVertexTolerance(wires), BRep_Tool::Tolerance(face));
  const double gap = std::max(adaptor.UResolution(tolerance), adaptor.VResolution(tolerance));
  const double near = std::max(1e3 * gap, 1e-6 * std::hypot(all.u2 - all.u1, all.v2 - all.v1));

  for (const WireLayout& wire : wires) {
    if (!Closes(wire, gap)) return Verdict::Unsure;
  }
  std::vector<const Trace*> traces;
  for (const WireLayout& wire : wires) {
    for (const Trace& trace : wire.traces) traces.push_back(&trace);
  }
  const Verdict crossings = JudgeCrossings(traces, gap, near);
  if (crossings == Verdict::Invalid) {
    detail = "boundary curves of a changed face cross";
    return crossings;
  }
  if (crossings == Verdict::Unsure) verdict = crossings;

  if (!WiresRunAsBoundaries(wires)) {
    // Only a change that turned a boundary round is refused here.
    std::vector<WireLayout> before;
    const TopoDS_Face old = TopoDS::Face(source.Oriented(TopAbs_FORWARD));
    if (!LayOut(old, before) || WiresRunAsBoundaries(before)) {
      detail = "a boundary of a changed face runs the wrong way round";
      return Verdict::Invalid;
    }
    return Verdict::Unsure;
  }
  if (wires.size() > 1) {
    const Verdict nesting = JudgeNesting(wires, gap, detail);
    if (nesting == Verdict::Invalid) return nesting;
    if (nesting == Verdict::Unsure) verdict = nesting;
  }
  return verdict;
}

// Each changed face by the check above, or by the kernel's full face check where the
// check above cannot judge it.
int CheckFaces(const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
               const TopTools_MapOfShape& changedEdges, const RebuiltWires* rebuilt,
               std::string& detail) {
  for (const auto& [source, product] : faces) {
    const TopoDS_Shape* part = rebuilt != nullptr ? rebuilt->Seek(product) : nullptr;
    const Verdict verdict = CheckFace(source, product, part != nullptr ? *part : TopoDS_Shape(),
                                      changedEdges, detail);
    if (verdict == Verdict::Invalid) return ErrorInvalidResult;
    if (verdict == Verdict::Unsure && !BRepCheck_Analyzer(product, true).IsValid()) {
      detail = "a changed face is not valid";
      return ErrorInvalidResult;
    }
  }
  return ErrorNone;
}

}  // namespace

bool KeepsTopology(const History& history) {
  if (!history.created.empty() || !history.derived.empty()) return false;
  for (const std::vector<EntityOutcome>* outcomes : {&history.faces, &history.edges, &history.vertices}) {
    for (const EntityOutcome& outcome : *outcomes) {
      if (outcome.fate != Fate::FateUnchanged && outcome.fate != Fate::FateModified) return false;
      if (outcome.products.size() != 1) return false;
    }
  }
  return true;
}

int CheckReshapedFaces(const History& history, std::string& detail, const RebuiltWires* rebuilt) {
  // An edge rebuilt with the same 3D curve still got new parameter curves: it is held
  // against its faces like any changed edge. Only an edge the change left as it was is not.
  TopTools_MapOfShape changedEdges;
  for (const EntityOutcome& outcome : history.edges) {
    if (!outcome.products.front().IsSame(outcome.source)) changedEdges.Add(outcome.products.front());
  }
  std::vector<std::pair<TopoDS_Face, TopoDS_Face>> faces;
  for (const EntityOutcome& outcome : history.faces) {
    if (outcome.fate != Fate::FateModified) continue;
    faces.emplace_back(TopoDS::Face(outcome.source), TopoDS::Face(outcome.products.front()));
  }
  return CheckFaces(faces, changedEdges, rebuilt, detail);
}

int CheckRebuiltFaces(const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
                      std::string& detail) {
  return CheckFaces(faces, TopTools_MapOfShape(), nullptr, detail);
}

}  // namespace hxr::engine
