// Closed-form checks of lines and circles on planes and cylinders. OCCT samples an edge's
// curves against each other and intersects every pair of a wire's curves numerically; for these
// curves the distance has a closed form and a bound, and two segments' distance is exact. Every
// bound here is at least as tight as OCCT's, and whatever falls outside the cases handled is
// left to OCCT.
#include "SimpleShapeChecks.h"

#include <BRep_CurveRepresentation.hxx>
#include <BRep_GCurve.hxx>
#include <BRep_TEdge.hxx>
#include <BRep_TVertex.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Circle.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_Surface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopExp.hxx>
#include <TopLoc_Location.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Ax3.hxx>
#include <gp_Circ.hxx>
#include <gp_Circ2d.hxx>
#include <gp_Lin.hxx>
#include <gp_Lin2d.hxx>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace brennik {
namespace {

const double kInfinite = std::numeric_limits<double>::infinity();

// A placement that moves without scaling or mirroring keeps every parameter where it was.
bool Rigid(const TopLoc_Location& location) {
  if (location.IsIdentity()) return true;
  const gp_Trsf trsf = location.Transformation();
  return trsf.ScaleFactor() == 1.0;
}

// A plane or a cylinder, placed.
struct SimpleSurface {
  bool cylinder = false;
  gp_Ax3 frame;
  double radius = 0;
  // The length in space of a unit step in either parameter, at least: a distance in the
  // parameters divided by it is one in space at most.
  double Scale() const { return cylinder ? std::min(radius, 1.0) : 1.0; }
  // The distance in space between two parameter points close to each other, at least.
  double Distance(const gp_Pnt2d& a, const gp_Pnt2d& b) const {
    const double du = (a.X() - b.X()) * (cylinder ? radius : 1.0), dv = a.Y() - b.Y();
    return std::sqrt(du * du + dv * dv);
  }
};

bool SurfaceOf(const TopoDS_Face& face, SimpleSurface* out) {
  TopLoc_Location location;
  Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
  if (!Rigid(location)) return false;
  if (const auto* trimmed = Exactly<Geom_RectangularTrimmedSurface>(surface)) surface = trimmed->BasisSurface();
  if (const auto* plane = Exactly<Geom_Plane>(surface)) {
    out->frame = plane->Position();
  } else if (const auto* cylinder = Exactly<Geom_CylindricalSurface>(surface)) {
    out->cylinder = true;
    out->frame = cylinder->Position();
    out->radius = cylinder->Radius();
    if (!(out->radius > 0)) return false;
  } else {
    return false;
  }
  if (!location.IsIdentity()) out->frame.Transform(location.Transformation());
  return true;
}

// A point moving in space as a + b cos t + c sin t + d t: lines (b = c = 0) and circles
// (d = 0), and the two kinds of curve a plane or a cylinder maps a line or a circle of its
// parameters onto.
struct Path {
  gp_XYZ a, b, c, d;
  bool circular = false;
};

// The largest distance over [t0, t1] between two paths at the same parameter, or a bound
// above it: between lines the distance is convex in t, largest at an end; between circles
// it is at most |a| + sqrt(|b|^2 + |c|^2) of the difference.
double LargestDistance(const Path& p, const Path& q, double t0, double t1) {
  if (p.circular != q.circular) return kInfinite;
  const gp_XYZ a = p.a - q.a;
  if (!p.circular) {
    const gp_XYZ d = p.d - q.d;
    return std::max((a + d * t0).Modulus(), (a + d * t1).Modulus());
  }
  const gp_XYZ b = p.b - q.b, c = p.c - q.c;
  return a.Modulus() + std::sqrt(b.SquareModulus() + c.SquareModulus());
}

bool CurvePath(Handle(Geom_Curve) curve, const TopLoc_Location& location, Path* path) {
  if (!Rigid(location)) return false;
  if (const auto* trimmed = Exactly<Geom_TrimmedCurve>(curve)) curve = trimmed->BasisCurve();
  if (const auto* line = Exactly<Geom_Line>(curve)) {
    gp_Lin lin = line->Lin();
    if (!location.IsIdentity()) lin.Transform(location.Transformation());
    path->a = lin.Location().XYZ();
    path->d = lin.Direction().XYZ();
    return true;
  }
  if (const auto* circle = Exactly<Geom_Circle>(curve)) {
    gp_Circ circ = circle->Circ();
    if (!location.IsIdentity()) circ.Transform(location.Transformation());
    path->circular = true;
    path->a = circ.Location().XYZ();
    path->b = circ.Radius() * circ.XAxis().Direction().XYZ();
    path->c = circ.Radius() * circ.YAxis().Direction().XYZ();
    return true;
  }
  return false;
}

Handle(Geom2d_Curve) Basis(Handle(Geom2d_Curve) curve) {
  const auto* trimmed = Exactly<Geom2d_TrimmedCurve>(curve);
  return trimmed ? trimmed->BasisCurve() : curve;
}

// The path in space of a curve of the surface's parameters: a line or a circle of a plane's,
// a line of a cylinder's along u (a circle) or along v (a line of the cylinder).
bool SurfacePath(const Handle(Geom2d_Curve)& curve, const SimpleSurface& s, Path* path) {
  const gp_XYZ o = s.frame.Location().XYZ(), x = s.frame.XDirection().XYZ(), y = s.frame.YDirection().XYZ();
  const Handle(Geom2d_Curve) basis = Basis(curve);
  if (const auto* line = Exactly<Geom2d_Line>(basis)) {
    const gp_Lin2d lin = line->Lin2d();
    const double ox = lin.Location().X(), oy = lin.Location().Y();
    const double dx = lin.Direction().X(), dy = lin.Direction().Y();
    if (!s.cylinder) {
      path->a = o + x * ox + y * oy;
      path->d = x * dx + y * dy;
      return true;
    }
    const gp_XYZ z = s.frame.Direction().XYZ();
    const double r = s.radius;
    if (dy == 0.0) {
      // u = ox + dx t with dx = +-1: cos u and sin u expand in cos t and sin t.
      path->circular = true;
      path->a = o + z * oy;
      path->b = (x * std::cos(ox) + y * std::sin(ox)) * r;
      path->c = (x * -std::sin(ox) + y * std::cos(ox)) * (r * dx);
      return true;
    }
    if (dx == 0.0) {
      path->a = o + (x * std::cos(ox) + y * std::sin(ox)) * r + z * oy;
      path->d = z * dy;
      return true;
    }
    return false;
  }
  if (const auto* circle = Exactly<Geom2d_Circle>(basis)) {
    if (s.cylinder) return false;
    const gp_Circ2d circ = circle->Circ2d();
    const gp_Dir2d cx = circ.XAxis().Direction(), cy = circ.YAxis().Direction();
    path->circular = true;
    path->a = o + x * circ.Location().X() + y * circ.Location().Y();
    path->b = (x * cx.X() + y * cx.Y()) * circ.Radius();
    path->c = (x * cy.X() + y * cy.Y()) * circ.Radius();
    return true;
  }
  return false;
}

// An edge's curve of the wire in the surface's parameters, run in the wire's sense.
struct Use {
  TopoDS_Edge edge;
  TopoDS_Vertex from, to;
  gp_Pnt2d start, end;
  bool circle = false;
  gp_Pnt2d centre;
  double radius = 0;
  bool used = false;
};

bool UseOf(const TopoDS_Edge& edge, const TopoDS_Face& face, Use* use) {
  const TopAbs_Orientation orientation = edge.Orientation();
  if ((orientation != TopAbs_FORWARD && orientation != TopAbs_REVERSED) || BRep_Tool::Degenerated(edge)) return false;
  // Its two ends and no other vertex.
  int vertices = 0;
  for (TopoDS_Iterator v(edge); v.More(); v.Next()) ++vertices;
  TopExp::Vertices(edge, use->from, use->to, Standard_True);
  if (vertices != 2 || use->from.IsNull() || use->to.IsNull()) return false;
  double f = 0, l = 0;
  const Handle(Geom2d_Curve) curve = BRep_Tool::CurveOnSurface(edge, face, f, l);
  if (curve.IsNull() || !(l > f)) return false;
  const Handle(Geom2d_Curve) basis = Basis(curve);
  if (const auto* circle = Exactly<Geom2d_Circle>(basis)) {
    if (l - f > 2 * M_PI + 1e-12) return false;
    use->circle = true;
    use->centre = circle->Circ2d().Location();
    use->radius = circle->Circ2d().Radius();
  } else if (!Exactly<Geom2d_Line>(basis)) {
    return false;
  }
  use->edge = edge;
  use->start = curve->Value(f);
  use->end = curve->Value(l);
  if (orientation == TopAbs_REVERSED) std::swap(use->start, use->end);
  return true;
}

// The distance between two segments of the plane, zero when they meet.
double SegmentDistance(const gp_Pnt2d& a0, const gp_Pnt2d& a1, const gp_Pnt2d& b0, const gp_Pnt2d& b1) {
  auto side = [](const gp_Pnt2d& p, const gp_Pnt2d& q, const gp_Pnt2d& r) {
    return (q.X() - p.X()) * (r.Y() - p.Y()) - (q.Y() - p.Y()) * (r.X() - p.X());
  };
  const double s0 = side(a0, a1, b0), s1 = side(a0, a1, b1), s2 = side(b0, b1, a0), s3 = side(b0, b1, a1);
  if (((s0 <= 0 && s1 >= 0) || (s0 >= 0 && s1 <= 0)) && ((s2 <= 0 && s3 >= 0) || (s2 >= 0 && s3 <= 0))) return 0;
  auto toSegment = [](const gp_Pnt2d& p, const gp_Pnt2d& q0, const gp_Pnt2d& q1) {
    const gp_Vec2d d(q0, q1), w(q0, p);
    const double t = std::clamp(w.Dot(d) / d.SquareMagnitude(), 0.0, 1.0);
    return p.Distance(q0.Translated(d * t));
  };
  return std::min({toSegment(a0, b0, b1), toSegment(a1, b0, b1), toSegment(b0, a0, a1), toSegment(b1, a0, a1)});
}

// The box of a use in the parameters: a line's segment, a circle's whole circle.
void BoxOf(const Use& use, double* box) {
  if (use.circle) {
    box[0] = use.centre.X() - use.radius, box[1] = use.centre.Y() - use.radius;
    box[2] = use.centre.X() + use.radius, box[3] = use.centre.Y() + use.radius;
  } else {
    box[0] = std::min(use.start.X(), use.end.X()), box[1] = std::min(use.start.Y(), use.end.Y());
    box[2] = std::max(use.start.X(), use.end.X()), box[3] = std::max(use.start.Y(), use.end.Y());
  }
}

// Whether two uses not next to each other in the chain stay further apart than `margin`.
bool Apart(const Use& a, const Use& b, double margin) {
  if (!a.circle && !b.circle) return SegmentDistance(a.start, a.end, b.start, b.end) > margin;
  double p[4], q[4];
  BoxOf(a, p);
  BoxOf(b, q);
  return p[0] - margin > q[2] || q[0] - margin > p[2] || p[1] - margin > q[3] || q[1] - margin > p[3];
}

// Whether two segments joined end to start meet only there: they must turn by more than a few
// degrees, so that no stretch of them runs within any tolerance of the other near the joint.
bool TurnClearly(const Use& a, const Use& b) {
  if (a.circle || b.circle) return false;
  const gp_Vec2d da(a.start, a.end), db(b.start, b.end);
  const double la = da.Magnitude(), lb = db.Magnitude();
  return la > 0 && lb > 0 && std::abs(da.Crossed(db)) > 0.05 * la * lb;
}

// The ends of the edge the vertex bounds, by the range of the edge's curves: first where it
// starts it, last where it ends it (both for a closed edge's one vertex). False when the vertex
// is not an end, or carries more than its point.
bool EndsOf(const TopoDS_Vertex& vertex, const TopoDS_Edge& edge, bool* first, bool* last) {
  const auto* tvertex = dynamic_cast<const BRep_TVertex*>(vertex.TShape().get());
  if (!tvertex || !tvertex->Points().IsEmpty()) return false;
  *first = *last = false;
  for (TopoDS_Iterator v(edge.Oriented(TopAbs_FORWARD), Standard_False); v.More(); v.Next()) {
    if (!v.Value().IsSame(vertex)) continue;
    if (v.Value().Orientation() == TopAbs_FORWARD) *first = true;
    else if (v.Value().Orientation() == TopAbs_REVERSED) *last = true;
    else return false;
  }
  return *first || *last;
}

}  // namespace

bool SimpleVertexOnEdgeHolds(const TopoDS_Vertex& vertex, const TopoDS_Edge& edge) {
  const auto* tedge = dynamic_cast<const BRep_TEdge*>(edge.TShape().get());
  bool atFirst = false, atLast = false;
  if (!tedge || tedge->Degenerated() || !EndsOf(vertex, edge, &atFirst, &atLast)) return false;
  const gp_Pnt point = BRep_Tool::Pnt(vertex);
  // Well inside the tolerance, as for an edge's curves.
  const double allowed = 0.5 * BRep_Tool::Tolerance(vertex);
  auto meets = [&](const gp_Pnt& p, const TopLoc_Location& location) {
    return point.Distance(location.IsIdentity() ? p : p.Transformed(location.Transformation())) <= allowed;
  };
  int found = 0;
  for (BRep_ListIteratorOfListOfCurveRepresentation it(tedge->Curves()); it.More(); it.Next()) {
    const Handle(BRep_CurveRepresentation)& rep = it.Value();
    const bool inSpace = rep->IsCurve3D(), onSurface = rep->IsCurveOnSurface();
    if (!inSpace && !onSurface) {
      // A continuity between two surfaces has no point; anything else is left to OCCT.
      if (rep->IsRegularity()) continue;
      return false;
    }
    // Curves in space and on surfaces are all of this kind.
    const auto& curve = static_cast<const BRep_GCurve&>(*rep);
    double ends[2];
    int nEnds = 0;
    if (atFirst) ends[nEnds++] = curve.First();
    if (atLast) ends[nEnds++] = curve.Last();
    const TopLoc_Location location = edge.Location() * rep->Location();
    if (inSpace) {
      const Handle(Geom_Curve)& c = rep->Curve3D();
      if (c.IsNull()) return false;
      for (int i = 0; i < nEnds; ++i)
        if (!meets(c->Value(ends[i]), location)) return false;
    } else {
      const Handle(Geom_Surface)& on = rep->Surface();
      for (int k = 0; k < (rep->IsCurveOnClosedSurface() ? 2 : 1); ++k) {
        const Handle(Geom2d_Curve)& pcurve = k == 0 ? rep->PCurve() : rep->PCurve2();
        if (pcurve.IsNull() || on.IsNull()) return false;
        for (int i = 0; i < nEnds; ++i) {
          const gp_Pnt2d uv = pcurve->Value(ends[i]);
          if (!meets(on->Value(uv.X(), uv.Y()), location)) return false;
        }
      }
    }
    ++found;
  }
  return found > 0;
}

bool SimpleEdgeOnFaceHolds(const TopoDS_Edge& edge, const TopoDS_Face& face) {
  const auto* tedge = dynamic_cast<const BRep_TEdge*>(edge.TShape().get());
  if (!tedge || tedge->Degenerated() || !tedge->SameParameter() || !tedge->SameRange()) return false;
  const double tolerance = BRep_Tool::Tolerance(edge);
  if (!(tolerance >= BRep_Tool::Tolerance(face))) return false;
  SimpleSurface surface;
  if (!SurfaceOf(face, &surface)) return false;
  TopLoc_Location faceLocation;
  const Handle(Geom_Surface)& faceSurface = BRep_Tool::Surface(face, faceLocation);
  const TopLoc_Location onSurface = faceLocation.Predivided(edge.Location());
  // Curves in space and on surfaces are all of this kind.
  const BRep_GCurve* curve3d = nullptr;
  for (BRep_ListIteratorOfListOfCurveRepresentation it(tedge->Curves()); it.More(); it.Next()) {
    if (it.Value()->IsCurve3D()) {
      if (curve3d) return false;
      curve3d = static_cast<const BRep_GCurve*>(it.Value().get());
    }
  }
  if (!curve3d || curve3d->Curve3D().IsNull()) return false;
  Path inSpace;
  if (!CurvePath(curve3d->Curve3D(), edge.Location() * curve3d->Location(), &inSpace)) return false;
  const double first = curve3d->First(), last = curve3d->Last();
  // Well inside the tolerance: what OCCT's sampling finds is at most the true distance.
  const double allowed = 0.5 * tolerance;
  int found = 0;
  for (BRep_ListIteratorOfListOfCurveRepresentation it(tedge->Curves()); it.More(); it.Next()) {
    const Handle(BRep_CurveRepresentation)& rep = it.Value();
    if (!rep->IsCurveOnSurface(faceSurface, onSurface)) continue;
    const auto& onFace = static_cast<const BRep_GCurve&>(*rep);
    if (onFace.First() != first || onFace.Last() != last) return false;
    for (int k = 0; k < (rep->IsCurveOnClosedSurface() ? 2 : 1); ++k) {
      const Handle(Geom2d_Curve)& curve = k == 0 ? rep->PCurve() : rep->PCurve2();
      Path onSurfacePath;
      if (curve.IsNull() || !SurfacePath(curve, surface, &onSurfacePath)) return false;
      if (!(LargestDistance(inSpace, onSurfacePath, first, last) <= allowed)) return false;
    }
    ++found;
  }
  return found > 0;
}

bool SimpleWireOnFaceHolds(const TopoDS_Wire& wire, const TopoDS_Face& face) {
  SimpleSurface surface;
  if (!SurfaceOf(face, &surface)) return false;
  std::vector<Use> uses;
  double tolerance = 0, joint = kInfinite;
  for (TopoDS_Iterator it(wire); it.More(); it.Next()) {
    if (it.Value().ShapeType() != TopAbs_EDGE || uses.size() > 256) return false;
    uses.emplace_back();
    if (!UseOf(TopoDS::Edge(it.Value()), face, &uses.back())) return false;
    tolerance = std::max(tolerance, BRep_Tool::Tolerance(uses.back().edge));
    for (const TopoDS_Vertex& v : {uses.back().from, uses.back().to}) {
      tolerance = std::max(tolerance, BRep_Tool::Tolerance(v));
      joint = std::min(joint, BRep_Tool::Tolerance(v));
    }
  }
  const std::size_t n = uses.size();
  // One closed edge (a circle), or three and more; two are left to OCCT.
  if (n == 0 || n == 2 || (n == 1 && !uses[0].circle)) return false;
  // No edge twice in one sense; an edge in both senses only as a cylinder's seam.
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) {
      if (!uses[i].edge.IsSame(uses[j].edge)) continue;
      if (uses[i].edge.Orientation() == uses[j].edge.Orientation() || !surface.cylinder ||
          !BRep_Tool::IsClosed(uses[i].edge, face))
        return false;
    }
  // Ends meet far within their vertices' tolerance, so the chain closes however OCCT measures.
  const double meet = 0.1 * joint;
  std::vector<std::size_t> chain{0};
  uses[0].used = true;
  for (std::size_t step = 1; step < n; ++step) {
    const Use& at = uses[chain.back()];
    std::size_t next = n;
    for (std::size_t k = 0; k < n; ++k) {
      if (uses[k].used || !uses[k].from.IsSame(at.to) || !(surface.Distance(uses[k].start, at.end) <= meet)) continue;
      if (next != n) return false;
      next = k;
    }
    if (next == n) return false;
    uses[next].used = true;
    chain.push_back(next);
  }
  const Use& last = uses[chain.back()];
  if (!uses[0].from.IsSame(last.to) || !(surface.Distance(uses[0].start, last.end) <= meet)) return false;
  // Each vertex left once; on a cylinder a vertex on the seam may be left twice, from either
  // side of it.
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j)
      if (uses[i].from.IsSame(uses[j].from) &&
          (!surface.cylinder || std::abs(uses[i].start.X() - uses[j].start.X()) < M_PI))
        return false;
  // No two edges meet but at their joint: joined ones turn clearly there, the others stay apart
  // by far more than any tolerance.
  const double margin = std::max(10 * tolerance, 1e-6) / surface.Scale();
  if (n == 1) return true;
  for (std::size_t i = 0; i < n; ++i) {
    if (!TurnClearly(uses[chain[i]], uses[chain[(i + 1) % n]])) return false;
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (!Apart(uses[chain[i]], uses[chain[j]], margin)) return false;
    }
  }
  return true;
}

bool SimpleShellHolds(const TopoDS_Shell& shell) {
  TopTools_IndexedMapOfShape faces, edges;
  std::vector<int> forward, reversed, faceOf;
  std::vector<int> group;  // faces joined through edges, by the first face of each group
  auto root = [&group](int f) {
    while (group[f] != f) f = group[f] = group[group[f]];
    return f;
  };
  for (TopoDS_Iterator f(shell); f.More(); f.Next()) {
    const TopoDS_Shape& face = f.Value();
    const TopAbs_Orientation sense = face.Orientation();
    if (face.ShapeType() != TopAbs_FACE || (sense != TopAbs_FORWARD && sense != TopAbs_REVERSED)) return false;
    const int index = faces.Add(face) - 1;
    if (index != static_cast<int>(group.size())) return false;
    group.push_back(index);
    for (TopoDS_Iterator w(face); w.More(); w.Next()) {
      if (w.Value().ShapeType() != TopAbs_WIRE) return false;
      for (TopoDS_Iterator e(w.Value()); e.More(); e.Next()) {
        const TopoDS_Shape& edge = e.Value();
        const TopAbs_Orientation edgeSense = edge.Orientation();
        if (edge.ShapeType() != TopAbs_EDGE || (edgeSense != TopAbs_FORWARD && edgeSense != TopAbs_REVERSED) ||
            BRep_Tool::Degenerated(TopoDS::Edge(edge)))
          return false;
        const int k = edges.Add(edge) - 1;
        if (k == static_cast<int>(forward.size())) {
          forward.push_back(0);
          reversed.push_back(0);
          faceOf.push_back(index);
        }
        ++(edgeSense == TopAbs_FORWARD ? forward : reversed)[k];
        group[root(index)] = root(faceOf[k]);
      }
    }
  }
  if (group.empty()) return false;
  for (std::size_t k = 0; k < forward.size(); ++k)
    if (forward[k] != 1 || reversed[k] != 1) return false;
  const int first = root(0);
  for (int f = 1; f < static_cast<int>(group.size()); ++f)
    if (root(f) != first) return false;
  return true;
}

}  // namespace brennik
