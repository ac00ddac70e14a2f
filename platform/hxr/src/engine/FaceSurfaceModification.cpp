#include "engine/FaceSurfaceModification.h"

#include "engine/EngineResult.h"

#include <BRepGProp.hxx>
#include <ElCLib.hxx>
#include <ElSLib.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_IntCS.hxx>
#include <GeomAPI_IntSS.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <GeomProjLib.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Conic.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopAbs.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>

#include <cmath>
#include <limits>
#include <vector>

namespace hxr::engine {
namespace {

constexpr double kMeetTolerance = 1e-6;  // how far a new vertex may lie from its surfaces
constexpr double kLengthTolerance = 1e-7;

bool SameMotion(const gp_Trsf& a, const gp_Trsf& b) {
  if (std::abs(a.ScaleFactor() - b.ScaleFactor()) > 1e-12) return false;
  if ((a.TranslationPart() - b.TranslationPart()).Modulus() > 1e-12) return false;
  const gp_Mat ma = a.HVectorialPart(), mb = b.HVectorialPart();
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) {
      if (std::abs(ma(r, c) - mb(r, c)) > 1e-12) return false;
    }
  }
  return true;
}

std::vector<TopoDS_Shape> Distinct(const TopTools_ListOfShape& shapes) {
  std::vector<TopoDS_Shape> out;
  for (TopTools_ListOfShape::Iterator it(shapes); it.More(); it.Next()) {
    bool seen = false;
    for (const TopoDS_Shape& s : out) seen = seen || s.IsSame(it.Value());
    if (!seen) out.push_back(it.Value());
  }
  return out;
}

// Parameter of the point of the curve nearest to `point`; false when there is none. A line
// and a circle answer in closed form (a point on a circle's axis has no nearest point on it
// and is left to the general projection).
bool ProjectOnCurve(const gp_Pnt& point, const Handle(Geom_Curve)& curve, double& parameter,
                    double& distance) {
  if (curve->DynamicType() == STANDARD_TYPE(Geom_Line)) {
    const gp_Lin line = Handle(Geom_Line)::DownCast(curve)->Lin();
    parameter = ElCLib::Parameter(line, point);
    distance = point.Distance(ElCLib::Value(parameter, line));
    return true;
  }
  if (curve->DynamicType() == STANDARD_TYPE(Geom_Circle)) {
    const gp_Circ circle = Handle(Geom_Circle)::DownCast(curve)->Circ();
    if (gp_Lin(circle.Axis()).Distance(point) > 1e-9 * circle.Radius()) {
      parameter = ElCLib::Parameter(circle, point);
      distance = point.Distance(ElCLib::Value(parameter, circle));
      return true;
    }
  }
  GeomAPI_ProjectPointOnCurve projection(point, curve);
  if (projection.NbPoints() == 0) return false;
  parameter = projection.LowerDistanceParameter();
  distance = projection.LowerDistance();
  return true;
}

// Distance from a point to a surface: planes, cylinders and spheres in closed form.
double DistanceToSurface(const gp_Pnt& point, const Handle(Geom_Surface)& surface) {
  const Handle(Standard_Type)& type = surface->DynamicType();
  if (type == STANDARD_TYPE(Geom_Plane)) return Handle(Geom_Plane)::DownCast(surface)->Pln().Distance(point);
  if (type == STANDARD_TYPE(Geom_CylindricalSurface)) {
    const gp_Cylinder cylinder = Handle(Geom_CylindricalSurface)::DownCast(surface)->Cylinder();
    return std::abs(gp_Lin(cylinder.Axis()).Distance(point) - cylinder.Radius());
  }
  if (type == STANDARD_TYPE(Geom_SphericalSurface)) {
    const gp_Sphere sphere = Handle(Geom_SphericalSurface)::DownCast(surface)->Sphere();
    return std::abs(sphere.Location().Distance(point) - sphere.Radius());
  }
  GeomAPI_ProjectPointOnSurf projection(point, surface);
  if (projection.NbPoints() == 0) return std::numeric_limits<double>::max();
  return projection.LowerDistance();
}

// The parameters of a point that lies on the surface: elementary surfaces in closed form.
bool ParametersOn(const Handle(Geom_Surface)& surface, const gp_Pnt& point, double& u, double& v) {
  const Handle(Standard_Type)& type = surface->DynamicType();
  if (type == STANDARD_TYPE(Geom_Plane)) {
    ElSLib::Parameters(Handle(Geom_Plane)::DownCast(surface)->Pln(), point, u, v);
    return true;
  }
  if (type == STANDARD_TYPE(Geom_CylindricalSurface)) {
    ElSLib::Parameters(Handle(Geom_CylindricalSurface)::DownCast(surface)->Cylinder(), point, u, v);
    return true;
  }
  if (type == STANDARD_TYPE(Geom_ConicalSurface)) {
    ElSLib::Parameters(Handle(Geom_ConicalSurface)::DownCast(surface)->Cone(), point, u, v);
    return true;
  }
  if (type == STANDARD_TYPE(Geom_SphericalSurface)) {
    ElSLib::Parameters(Handle(Geom_SphericalSurface)::DownCast(surface)->Sphere(), point, u, v);
    return true;
  }
  if (type == STANDARD_TYPE(Geom_ToroidalSurface)) {
    ElSLib::Parameters(Handle(Geom_ToroidalSurface)::DownCast(surface)->Torus(), point, u, v);
    return true;
  }
  GeomAPI_ProjectPointOnSurf projection(point, surface);
  if (projection.NbPoints() == 0) return false;
  projection.LowerDistanceParameters(u, v);
  return true;
}

// The points where a curve meets a surface: a line and a plane in closed form (none when the
// line runs along the plane).
std::vector<gp_Pnt> Intersections(const Handle(Geom_Curve)& curve, const Handle(Geom_Surface)& surface) {
  std::vector<gp_Pnt> points;
  if (curve->DynamicType() == STANDARD_TYPE(Geom_Line) && surface->DynamicType() == STANDARD_TYPE(Geom_Plane)) {
    const gp_Lin line = Handle(Geom_Line)::DownCast(curve)->Lin();
    const gp_Pln plane = Handle(Geom_Plane)::DownCast(surface)->Pln();
    const gp_XYZ normal = plane.Axis().Direction().XYZ();
    const double along = normal.Dot(line.Direction().XYZ());
    if (std::abs(along) > 1e-12) {
      const double t = normal.Dot(plane.Location().XYZ() - line.Location().XYZ()) / along;
      points.push_back(ElCLib::Value(t, line));
    }
    return points;
  }
  GeomAPI_IntCS intersection(curve, surface);
  if (!intersection.IsDone()) return points;
  for (int i = 1; i <= intersection.NbPoints(); ++i) points.push_back(intersection.Point(i));
  return points;
}

// Lines and conics from the intersector may come trimmed; the modifier wants the whole
// curve so that the vertex parameters can lie anywhere on it.
Handle(Geom_Curve) Untrimmed(const Handle(Geom_Curve)& curve) {
  Handle(Geom_TrimmedCurve) trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve);
  if (trimmed.IsNull()) return curve;
  Handle(Geom_Curve) basis = trimmed->BasisCurve();
  if (basis->IsKind(STANDARD_TYPE(Geom_Line)) || basis->IsKind(STANDARD_TYPE(Geom_Conic))) {
    return basis;
  }
  return curve;
}

// True when the line or circle lies wholly on the plane or cylinder. Other pairs answer
// false: the caller then intersects the surfaces.
bool LiesOnSurface(const Handle(Geom_Curve)& curve, const Handle(Geom_Surface)& surface) {
  constexpr double kAngle = 1e-12;
  constexpr double kDistance = 1e-9;
  const Handle(Geom_Line) line = Handle(Geom_Line)::DownCast(curve);
  const Handle(Geom_Circle) circle = Handle(Geom_Circle)::DownCast(curve);
  if (const Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(surface)) {
    const gp_Pln pln = plane->Pln();
    if (!line.IsNull()) {
      return pln.Axis().Direction().IsNormal(line->Lin().Direction(), kAngle) &&
             pln.Distance(line->Lin().Location()) <= kDistance;
    }
    if (!circle.IsNull()) {
      return circle->Circ().Axis().IsParallel(pln.Axis(), kAngle) &&
             pln.Distance(circle->Circ().Location()) <= kDistance;
    }
  }
  if (const Handle(Geom_CylindricalSurface) cylinder =
          Handle(Geom_CylindricalSurface)::DownCast(surface)) {
    const gp_Lin axis(cylinder->Cylinder().Axis());
    const double radius = cylinder->Radius();
    if (!line.IsNull()) {
      return line->Lin().Direction().IsParallel(axis.Direction(), kAngle) &&
             std::abs(axis.Distance(line->Lin().Location()) - radius) <= kDistance;
    }
    if (!circle.IsNull()) {
      const gp_Circ circ = circle->Circ();
      return circ.Axis().Direction().IsParallel(axis.Direction(), kAngle) &&
             axis.Distance(circ.Location()) <= kDistance && std::abs(circ.Radius() - radius) <= kDistance;
    }
  }
  return false;
}

}  // namespace

FaceSurfaceModification::FaceSurfaceModification(const TopoDS_Shape& body) : m_body(body) {}

void FaceSurfaceModification::SetSurface(const TopoDS_Face& face,
                                         const Handle(Geom_Surface)& surface,
                                         const gp_Trsf* rigid, bool sameParameters) {
  FaceData data;
  data.surface = surface;
  data.sameParameters = sameParameters || rigid != nullptr;
  if (rigid != nullptr) {
    data.rigid = true;
    data.motion = *rigid;
  }
  m_faces.Bind(face, data);
}

Handle(Geom_Surface) FaceSurfaceModification::SurfaceOf(const TopoDS_Shape& face) const {
  if (const FaceData* data = m_faces.Seek(face)) return data->surface;
  return BRep_Tool::Surface(TopoDS::Face(face));
}

Handle(Geom_Curve) FaceSurfaceModification::CurveOf(const TopoDS_Shape& edge) const {
  if (const EdgeData* data = m_edges.Seek(edge)) return data->curve;
  double first, last;
  return Untrimmed(BRep_Tool::Curve(TopoDS::Edge(edge), first, last));
}

gp_Pnt FaceSurfaceModification::PointOf(const TopoDS_Shape& vertex) const {
  if (const gp_Pnt* point = m_points.Seek(vertex)) return *point;
  return BRep_Tool::Pnt(TopoDS::Vertex(vertex));
}

bool FaceSurfaceModification::CommonMotion(const TopTools_ListOfShape& faces,
                                           gp_Trsf& motion) const {
  bool first = true;
  for (TopTools_ListOfShape::Iterator it(faces); it.More(); it.Next()) {
    const FaceData* data = m_faces.Seek(it.Value());
    if (data == nullptr || !data->rigid) return false;
    if (first) {
      motion = data->motion;
      first = false;
    } else if (!SameMotion(motion, data->motion)) {
      return false;
    }
  }
  return !first;
}

Handle(Geom_Curve) FaceSurfaceModification::CarriedCurve(const Handle(Geom_Curve)& old,
                                                        const std::vector<TopoDS_Shape>& faces,
                                                        TopoDS_Shape& carrier) const {
  if (faces.size() != 2) return nullptr;
  const FaceData* first = m_faces.Seek(faces[0]);
  const FaceData* second = m_faces.Seek(faces[1]);
  if ((first == nullptr) == (second == nullptr)) return nullptr;
  const FaceData* moving = first != nullptr ? first : second;
  if (!moving->rigid) return nullptr;
  const TopoDS_Shape& still = first != nullptr ? faces[1] : faces[0];
  Handle(Geom_Curve) moved = Handle(Geom_Curve)::DownCast(Untrimmed(old)->Transformed(moving->motion));
  if (moved.IsNull() || !LiesOnSurface(moved, SurfaceOf(still))) return nullptr;
  carrier = first != nullptr ? faces[0] : faces[1];
  return moved;
}

void FaceSurfaceModification::MapAround() {
  // Only an edge or a vertex of a changed face can get a new curve or point, and only an edge
  // with an end at such a vertex a new range: those alone are mapped, in one walk that meets
  // them in the order the shape holds them.
  TopTools_MapOfShape edges, vertices;
  for (ShapeMap<FaceData>::Iterator face(m_faces); face.More(); face.Next()) {
    for (TopExp_Explorer e(face.Key(), TopAbs_EDGE); e.More(); e.Next()) edges.Add(e.Current());
    for (TopExp_Explorer v(face.Key(), TopAbs_VERTEX); v.More(); v.Next()) vertices.Add(v.Current());
  }
  auto append = [](TopTools_IndexedDataMapOfShapeListOfShape& map, const TopoDS_Shape& key,
                   const TopoDS_Shape& item) {
    if (TopTools_ListOfShape* list = map.ChangeSeek(key)) {
      list->Append(item);
    } else {
      map.ChangeFromIndex(map.Add(key, TopTools_ListOfShape())).Append(item);
    }
  };
  for (TopExp_Explorer face(m_body, TopAbs_FACE); face.More(); face.Next()) {
    for (TopoDS_Iterator w(face.Current()); w.More(); w.Next()) {
      for (TopoDS_Iterator e(w.Value()); e.More(); e.Next()) {
        const TopoDS_Shape& edge = e.Value();
        bool around = edges.Contains(edge);
        for (TopoDS_Iterator v(edge); v.More(); v.Next()) {
          if (!vertices.Contains(v.Value())) continue;
          around = true;
          append(m_vertexEdges, v.Value(), edge);
          append(m_vertexFaces, v.Value(), face.Current());
        }
        if (around) append(m_edgeFaces, edge, face.Current());
      }
    }
  }
}

int FaceSurfaceModification::Prepare(std::string& detail) {
  MapAround();
  for (int i = 1; i <= m_edgeFaces.Extent(); ++i) {
    const int error = PrepareEdge(TopoDS::Edge(m_edgeFaces.FindKey(i)), detail);
    if (error != ErrorNone) return error;
  }
  for (int i = 1; i <= m_vertexFaces.Extent(); ++i) {
    const int error = PrepareVertex(TopoDS::Vertex(m_vertexFaces.FindKey(i)), detail);
    if (error != ErrorNone) return error;
  }
  // Every edge that gets a new curve or has a vertex that moves needs its new range.
  for (int i = 1; i <= m_edgeFaces.Extent(); ++i) {
    const TopoDS_Edge& edge = TopoDS::Edge(m_edgeFaces.FindKey(i));
    bool touched = m_edges.IsBound(edge);
    for (TopoDS_Iterator it(edge); it.More() && !touched; it.Next()) {
      touched = m_points.IsBound(it.Value());
    }
    if (!touched) continue;
    if (!m_edges.IsBound(edge) && !BRep_Tool::Degenerated(edge)) {
      // An edge whose faces stay but whose end moves keeps its line or circle; it gets the
      // whole curve so that its new ends are not cut off by an old trim.
      double first, last;
      EdgeData data;
      data.curve = Untrimmed(BRep_Tool::Curve(edge, first, last));
      if (!data.curve.IsNull()) m_edges.Bind(edge, data);
    }
    const int error = PrepareRange(edge, detail);
    if (error != ErrorNone) return error;
  }
  return ErrorNone;
}

int FaceSurfaceModification::PrepareEdge(const TopoDS_Edge& edge, std::string& detail) {
  const TopTools_ListOfShape& around = m_edgeFaces.FindFromKey(edge);
  const std::vector<TopoDS_Shape> faces = Distinct(around);
  bool changed = false;
  for (const TopoDS_Shape& face : faces) changed = changed || m_faces.IsBound(face);
  if (!changed || BRep_Tool::Degenerated(edge)) return ErrorNone;

  double first, last;
  Handle(Geom_Curve) old = BRep_Tool::Curve(edge, first, last);
  if (old.IsNull()) {
    detail = "an edge of a changed face has no curve";
    return ErrorUnsupported;
  }
  const double middle = 0.5 * (first + last);
  gp_Pnt oldMiddle;
  gp_Vec oldTangent;
  old->D1(middle, oldMiddle, oldTangent);

  EdgeData data;
  gp_Trsf motion;
  if (CommonMotion(around, motion)) {
    data.curve = Handle(Geom_Curve)::DownCast(old->Transformed(motion));
    data.rigid = true;
    data.motion = motion;
    m_edges.Bind(edge, data);
    return ErrorNone;
  }
  if (faces.size() == 1) {
    const TopoDS_Face& face = TopoDS::Face(faces.front());
    if (!BRep_Tool::IsClosed(edge, face)) {
      detail = "a free edge of a changed face";
      return ErrorUnsupported;
    }
    // A seam: the new surface's iso-curve through the same parameter.
    double pf, pl;
    Handle(Geom2d_Curve) pcurve = BRep_Tool::CurveOnSurface(edge, face, pf, pl);
    const gp_Pnt2d a = pcurve->Value(pf), b = pcurve->Value(pl);
    const Handle(Geom_Surface) surface = SurfaceOf(face);
    if (std::abs(a.X() - b.X()) < 1e-9) {
      data.curve = Untrimmed(surface->UIso(a.X()));
    } else if (std::abs(a.Y() - b.Y()) < 1e-9) {
      data.curve = Untrimmed(surface->VIso(a.Y()));
    } else {
      detail = "a seam that is no iso-curve";
      return ErrorUnsupported;
    }
  } else if (faces.size() == 2) {
    // A face moved along a neighbour that stays (a plate's top along its holes) meets it
    // where its old edge went with it: the curve keeps its direction and parametrisation.
    data.curve = CarriedCurve(old, faces, data.carrier);
    if (!data.curve.IsNull()) {
      m_edges.Bind(edge, data);
      return ErrorNone;
    }
    GeomAPI_IntSS intersection(SurfaceOf(faces[0]), SurfaceOf(faces[1]), 1e-7);
    if (!intersection.IsDone() || intersection.NbLines() == 0) {
      detail = "two neighbouring faces would no longer meet";
      return ErrorTopologyChangeNeeded;
    }
    double best = std::numeric_limits<double>::max();
    for (int i = 1; i <= intersection.NbLines(); ++i) {
      Handle(Geom_Curve) candidate = Untrimmed(intersection.Line(i));
      double parameter, distance;
      if (ProjectOnCurve(oldMiddle, candidate, parameter, distance) && distance < best) {
        best = distance;
        data.curve = candidate;
      }
    }
    if (data.curve.IsNull()) {
      detail = "two neighbouring faces would no longer meet";
      return ErrorTopologyChangeNeeded;
    }
  } else {
    detail = "an edge with more than two faces";
    return ErrorUnsupported;
  }
  // Keep the edge's direction so that its vertices keep their order along it.
  double parameter, distance;
  if (ProjectOnCurve(oldMiddle, data.curve, parameter, distance)) {
    gp_Pnt point;
    gp_Vec tangent;
    data.curve->D1(parameter, point, tangent);
    if (tangent.Dot(oldTangent) < 0.0) data.curve = data.curve->Reversed();
  }
  m_edges.Bind(edge, data);
  return ErrorNone;
}

int FaceSurfaceModification::PrepareVertex(const TopoDS_Vertex& vertex, std::string& detail) {
  const TopTools_ListOfShape& around = m_vertexFaces.FindFromKey(vertex);
  const std::vector<TopoDS_Shape> faces = Distinct(around);
  bool changed = false;
  for (const TopoDS_Shape& face : faces) changed = changed || m_faces.IsBound(face);
  if (!changed) return ErrorNone;

  const gp_Pnt old = BRep_Tool::Pnt(vertex);
  gp_Trsf motion;
  if (CommonMotion(around, motion)) {
    m_points.Bind(vertex, old.Transformed(motion));
    return ErrorNone;
  }

  const std::vector<TopoDS_Shape> edges = Distinct(m_vertexEdges.FindFromKey(vertex));
  bool found = false;
  gp_Pnt point;
  // The new point is where an edge through the vertex meets a face it does not bound.
  for (const TopoDS_Shape& edge : edges) {
    if (found) break;
    if (BRep_Tool::Degenerated(TopoDS::Edge(edge))) continue;
    const Handle(Geom_Curve) curve = CurveOf(edge);
    const TopTools_ListOfShape& edgeFaces = m_edgeFaces.FindFromKey(edge);
    double best = std::numeric_limits<double>::max();
    for (const TopoDS_Shape& face : faces) {
      bool bounds = false;
      for (TopTools_ListOfShape::Iterator it(edgeFaces); it.More(); it.Next()) {
        bounds = bounds || it.Value().IsSame(face);
      }
      if (bounds) continue;
      for (const gp_Pnt& meeting : Intersections(curve, SurfaceOf(face))) {
        const double distance = meeting.Distance(old);
        if (distance < best) {
          best = distance;
          point = meeting;
          found = true;
        }
      }
    }
  }
  // A vertex between two faces only (on a closed edge, or at a seam) slides along a
  // changed edge to the point nearest its old place.
  for (const TopoDS_Shape& edge : edges) {
    if (found) break;
    const EdgeData* data = m_edges.Seek(edge);
    if (data == nullptr || BRep_Tool::IsClosed(TopoDS::Edge(edge), TopoDS::Face(faces.front()))) {
      continue;
    }
    double parameter, distance;
    if (ProjectOnCurve(old, data->curve, parameter, distance)) {
      point = data->curve->Value(parameter);
      found = true;
    }
  }
  // A vertex inside one changed face only (the pole of a sphere) goes to the nearest point
  // of its new surface.
  if (!found && faces.size() == 1) {
    GeomAPI_ProjectPointOnSurf projection(old, SurfaceOf(faces.front()));
    if (projection.NbPoints() > 0) {
      point = projection.NearestPoint();
      found = true;
    }
  }
  if (!found) {
    detail = "a vertex has no new position";
    return ErrorTopologyChangeNeeded;
  }
  for (const TopoDS_Shape& face : faces) {
    if (DistanceToSurface(point, SurfaceOf(face)) > kMeetTolerance) {
      detail = "the faces around a vertex would no longer meet in one point";
      return ErrorTopologyChangeNeeded;
    }
  }
  m_points.Bind(vertex, point);
  return ErrorNone;
}

int FaceSurfaceModification::PrepareRange(const TopoDS_Edge& edge, std::string& detail) {
  if (BRep_Tool::Degenerated(edge)) return ErrorNone;
  TopoDS_Vertex v1, v2;
  TopExp::Vertices(TopoDS::Edge(edge.Oriented(TopAbs_FORWARD)), v1, v2);
  if (v1.IsNull() || v2.IsNull()) {
    detail = "an edge without vertices";
    return ErrorUnsupported;
  }
  const Handle(Geom_Curve) curve = CurveOf(edge);
  double t1, t2, d1, d2;
  if (!ProjectOnCurve(PointOf(v1), curve, t1, d1) || !ProjectOnCurve(PointOf(v2), curve, t2, d2) ||
      d1 > kMeetTolerance || d2 > kMeetTolerance) {
    detail = "a vertex would leave its edge";
    return ErrorTopologyChangeNeeded;
  }
  if (curve->IsPeriodic()) {
    // A periodic curve names each of its points once a period: the start is named in the
    // period of the edge's old start, so that a parameter curve carried over with the edge
    // still runs where the face's other boundaries do.
    double first = 0.0, last = 0.0;
    BRep_Tool::Range(edge, first, last);
    t1 += std::round((first - t1) / curve->Period()) * curve->Period();
  }
  EdgeRange range;
  range.first = t1;
  if (v1.IsSame(v2)) {
    if (!curve->IsPeriodic()) {
      detail = "a closed edge on an open curve";
      return ErrorUnsupported;
    }
    range.last = t1 + curve->Period();
  } else if (curve->IsPeriodic()) {
    const double period = curve->Period();
    while (t2 <= t1) t2 += period;
    while (t2 > t1 + period) t2 -= period;
    // The old middle of the edge must stay between its ends, else the arc turned round.
    double first, last;
    Handle(Geom_Curve) old = BRep_Tool::Curve(edge, first, last);
    gp_Pnt middle = old->Value(0.5 * (first + last));
    if (const EdgeData* data = m_edges.Seek(edge)) {
      if (data->rigid) middle.Transform(data->motion);
    }
    double tm, dm;
    if (ProjectOnCurve(middle, curve, tm, dm)) {
      while (tm < t1) tm += period;
      while (tm >= t1 + period) tm -= period;
      if (tm > t2) {
        detail = "an arc would turn round";
        return ErrorTopologyChangeNeeded;
      }
    }
    range.last = t2;
  } else {
    if (t2 - t1 <= kLengthTolerance) {
      detail = "an edge would vanish or turn round";
      return ErrorTopologyChangeNeeded;
    }
    range.last = t2;
  }
  if (curve->Value(range.first).Distance(curve->Value(0.5 * (range.first + range.last))) <=
      kLengthTolerance) {
    detail = "an edge would vanish";
    return ErrorTopologyChangeNeeded;
  }
  m_ranges.Bind(edge, range);
  return ErrorNone;
}

Standard_Boolean FaceSurfaceModification::NewSurface(const TopoDS_Face& F, Handle(Geom_Surface)& S,
                                                     TopLoc_Location& L, Standard_Real& Tol,
                                                     Standard_Boolean& RevWires,
                                                     Standard_Boolean& RevFace) {
  const FaceData* data = m_faces.Seek(F);
  if (data == nullptr) return Standard_False;
  S = data->surface;
  L = TopLoc_Location();
  Tol = BRep_Tool::Tolerance(F);
  RevWires = Standard_False;
  RevFace = Standard_False;
  return Standard_True;
}

Standard_Boolean FaceSurfaceModification::NewCurve(const TopoDS_Edge& E, Handle(Geom_Curve)& C,
                                                   TopLoc_Location& L, Standard_Real& Tol) {
  const EdgeData* data = m_edges.Seek(E);
  if (data == nullptr) return Standard_False;
  C = data->curve;
  L = TopLoc_Location();
  Tol = BRep_Tool::Tolerance(E);
  return Standard_True;
}

Standard_Boolean FaceSurfaceModification::NewPoint(const TopoDS_Vertex& V, gp_Pnt& P,
                                                   Standard_Real& Tol) {
  const gp_Pnt* point = m_points.Seek(V);
  if (point == nullptr) return Standard_False;
  P = *point;
  Tol = BRep_Tool::Tolerance(V);
  return Standard_True;
}

Standard_Boolean FaceSurfaceModification::NewCurve2d(const TopoDS_Edge& E, const TopoDS_Face& F,
                                                     const TopoDS_Edge&, const TopoDS_Face&,
                                                     Handle(Geom2d_Curve)& C, Standard_Real& Tol) {
  const EdgeData* data = m_edges.Seek(E);
  const FaceData* face = m_faces.Seek(F);
  if (data == nullptr && face == nullptr) return Standard_False;
  Tol = BRep_Tool::Tolerance(E);
  double pf, pl;
  Handle(Geom2d_Curve) old = BRep_Tool::CurveOnSurface(E, F, pf, pl);
  if (data == nullptr) {
    // A degenerated edge (a pole) of a face whose surface keeps its parametrisation
    // keeps its parameter curve; on any other new surface it cannot be placed.
    if (!face->sameParameters || old.IsNull()) {
      m_failed = true;
      return Standard_False;
    }
    C = Handle(Geom2d_Curve)::DownCast(old->Copy());
    return Standard_True;
  }
  if ((data->rigid || data->carrier.IsSame(F)) && !old.IsNull()) {
    // A rigid motion keeps the parametrisation of the face's surface.
    C = Handle(Geom2d_Curve)::DownCast(old->Copy());
    return Standard_True;
  }
  const EdgeRange* range = m_ranges.Seek(E);
  if (range == nullptr) {
    m_failed = true;
    return Standard_False;
  }
  const Handle(Geom_Surface) surface = SurfaceOf(F);
  if (BRep_Tool::IsClosed(E, F) && !old.IsNull()) {
    // A seam keeps its side of the parameter rectangle: a straight line in the
    // direction of the iso-curve that is now its 3D curve.
    const gp_Pnt2d a = old->Value(pf), b = old->Value(pl);
    const gp_Pnt start = data->curve->Value(range->first);
    double u, v;
    if (!ParametersOn(surface, start, u, v)) {
      m_failed = true;
      return Standard_False;
    }
    // The seam's own side of the rectangle is where the surface is measured: at a pole every
    // u names the one point, but the surface runs along v there as the u it is taken at says.
    const bool alongV = std::abs(a.X() - b.X()) < 1e-9;
    if (alongV) {
      u = a.X();
    } else {
      v = a.Y();
    }
    gp_Vec derivU, derivV;
    gp_Pnt p;
    surface->D1(u, v, p, derivU, derivV);
    gp_Vec tangent;
    data->curve->D1(range->first, p, tangent);
    if (alongV) {
      const double sign = tangent.Dot(derivV) >= 0.0 ? 1.0 : -1.0;
      C = new Geom2d_Line(gp_Pnt2d(a.X(), v - sign * range->first), gp_Dir2d(0.0, sign));
    } else {
      const double sign = tangent.Dot(derivU) >= 0.0 ? 1.0 : -1.0;
      C = new Geom2d_Line(gp_Pnt2d(u - sign * range->first, a.Y()), gp_Dir2d(sign, 0.0));
    }
    return Standard_True;
  }
  double reached = 0.0;
  C = GeomProjLib::Curve2d(data->curve, range->first, range->last, surface, reached);
  if (C.IsNull()) {
    m_failed = true;
    return Standard_False;
  }
  Tol = std::max(Tol, reached);
  // On a periodic surface the projection may land one period away from the face's other
  // boundaries. A face that keeps its surface keeps the edge next to where its old
  // parameter curve started; a face on a new surface keeps all its edges within half a
  // period of where the face's middle lies on that surface.
  if (surface->IsUPeriodic() || surface->IsVPeriodic()) {
    gp_Pnt2d target;
    bool known = false;
    if (face != nullptr && !face->sameParameters) {
      known = MiddleOnNewSurface(F, target);
    } else if (!old.IsNull()) {
      target = old->Value(pf);
      known = true;
    }
    const gp_Pnt2d now = C->Value(range->first);
    gp_Vec2d shift(0.0, 0.0);
    if (known && surface->IsUPeriodic()) {
      const double period = surface->UPeriod();
      shift.SetX(std::round((target.X() - now.X()) / period) * period);
    }
    if (known && surface->IsVPeriodic()) {
      const double period = surface->VPeriod();
      shift.SetY(std::round((target.Y() - now.Y()) / period) * period);
    }
    if (shift.Magnitude() > 0.0) C->Translate(shift);
  }
  return Standard_True;
}

bool FaceSurfaceModification::MiddleOnNewSurface(const TopoDS_Face& face, gp_Pnt2d& uv) {
  if (const gp_Pnt2d* known = m_middles.Seek(face)) {
    uv = *known;
    return true;
  }
  GProp_GProps props;
  BRepGProp::SurfaceProperties(face, props);
  GeomAPI_ProjectPointOnSurf projection(props.CentreOfMass(), SurfaceOf(face));
  if (projection.NbPoints() == 0) return false;
  double u, v;
  projection.LowerDistanceParameters(u, v);
  uv.SetCoord(u, v);
  m_middles.Bind(face, uv);
  return true;
}

Standard_Boolean FaceSurfaceModification::NewParameter(const TopoDS_Vertex& V, const TopoDS_Edge& E,
                                                       Standard_Real& P, Standard_Real& Tol) {
  const EdgeRange* range = m_ranges.Seek(E);
  if (range == nullptr) return Standard_False;
  // The vertex is told apart by identity; only the two ends of a closed edge need its
  // orientation, taken relative to the edge as given.
  TopoDS_Vertex first, last;
  TopExp::Vertices(TopoDS::Edge(E.Oriented(TopAbs_FORWARD)), first, last);
  bool atLast = V.IsSame(last) && !V.IsSame(first);
  if (V.IsSame(first) && V.IsSame(last)) {
    TopAbs_Orientation orientation = V.Orientation();
    if (E.Orientation() == TopAbs_REVERSED) orientation = TopAbs::Reverse(orientation);
    atLast = orientation == TopAbs_REVERSED;
  }
  P = atLast ? range->last : range->first;
  Tol = BRep_Tool::Tolerance(V);
  return Standard_True;
}

GeomAbs_Shape FaceSurfaceModification::Continuity(const TopoDS_Edge& E, const TopoDS_Face& F1,
                                                  const TopoDS_Face& F2, const TopoDS_Edge&,
                                                  const TopoDS_Face&, const TopoDS_Face&) {
  if (m_faces.IsBound(F1) || m_faces.IsBound(F2)) return GeomAbs_C0;
  return BRep_Tool::Continuity(E, F1, F2);
}

}  // namespace hxr::engine
