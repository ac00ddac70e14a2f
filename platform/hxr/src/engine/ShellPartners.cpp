#include "engine/ShellPartners.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepGProp_Face.hxx>
#include <BRepTools.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <limits>

namespace hxr::engine {
namespace {

constexpr double kDistanceTolerance = 1e-7;
constexpr double kAngleTolerance = 1e-9;

struct FaceFrame {
  GeomAbs_SurfaceType type = GeomAbs_OtherSurface;
  gp_Pnt point;    // a point of the face
  gp_Dir outward;  // the outward normal there
  gp_Ax1 axis;     // cylinder axis, or the sphere's centre as location
  double radius = 0.0;
};

bool FrameOf(const TopoDS_Face& face, FaceFrame& frame) {
  BRepAdaptor_Surface surface(face, false);
  frame.type = surface.GetType();
  double u1, u2, v1, v2;
  BRepTools::UVBounds(face, u1, u2, v1, v2);
  BRepGProp_Face props(face);
  gp_Vec normal;
  props.Normal(0.5 * (u1 + u2), 0.5 * (v1 + v2), frame.point, normal);
  if (normal.Magnitude() < 1e-12) return false;
  frame.outward = gp_Dir(normal);
  if (frame.type == GeomAbs_Cylinder) {
    frame.axis = surface.Cylinder().Axis();
    frame.radius = surface.Cylinder().Radius();
  } else if (frame.type == GeomAbs_Sphere) {
    frame.axis = gp_Ax1(surface.Sphere().Location(), gp_Dir(0, 0, 1));
    frame.radius = surface.Sphere().Radius();
  } else if (frame.type != GeomAbs_Plane) {
    return false;
  }
  return true;
}

// Whether the outward normal at the point points away from the axis (or centre).
bool PointsAway(const FaceFrame& frame) {
  gp_Vec radial(frame.axis.Location(), frame.point);
  if (frame.type == GeomAbs_Cylinder) {
    const gp_Vec along(frame.axis.Direction());
    radial -= along * radial.Dot(along);
  }
  return radial.Dot(gp_Vec(frame.outward)) > 0.0;
}

// The wall thickness between the two faces when `other` can face `face` across it; a
// negative value when it cannot.
double WallBetween(const FaceFrame& face, const FaceFrame& other) {
  if (face.type != other.type) return -1.0;
  if (face.type == GeomAbs_Plane) {
    if (face.outward.Angle(other.outward) < M_PI - kAngleTolerance) return -1.0;
    return gp_Vec(other.point, face.point).Dot(gp_Vec(face.outward));
  }
  if (PointsAway(face) == PointsAway(other)) return -1.0;
  if (face.type == GeomAbs_Cylinder) {
    if (!face.axis.IsParallel(other.axis, kAngleTolerance)) return -1.0;
    const gp_Lin line(face.axis);
    if (line.Distance(other.axis.Location()) > kDistanceTolerance) return -1.0;
  } else if (face.axis.Location().Distance(other.axis.Location()) > kDistanceTolerance) {
    return -1.0;
  }
  // The material lies on the inner side of a face that points away from the axis.
  return PointsAway(face) ? face.radius - other.radius : other.radius - face.radius;
}

}  // namespace

bool FindShellPartners(const TopoDS_Shape& body, const TopoDS_Shape& face, double maxThickness,
                       std::vector<TopoDS_Shape>& partners, double& thickness) {
  partners.clear();
  thickness = 0.0;
  if (face.IsNull() || face.ShapeType() != TopAbs_FACE) return false;
  FaceFrame own;
  if (!FrameOf(TopoDS::Face(face), own)) return false;
  TopTools_IndexedMapOfShape faces;
  TopExp::MapShapes(body, TopAbs_FACE, faces);
  BRepClass3d_SolidClassifier classifier(body);
  double best = std::numeric_limits<double>::max();
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Face& other = TopoDS::Face(faces(i));
    if (other.IsSame(face)) continue;
    FaceFrame frame;
    if (!FrameOf(other, frame)) continue;
    const double wall = WallBetween(own, frame);
    if (wall <= kDistanceTolerance || wall > maxThickness || wall > best + kDistanceTolerance) continue;
    // Seen across the wall the faces overlap exactly when they come as close as the wall.
    BRepExtrema_DistShapeShape distance(face, other);
    if (!distance.IsDone() || distance.NbSolution() == 0 ||
        std::abs(distance.Value() - wall) > kDistanceTolerance) {
      continue;
    }
    // Half a wall behind the face lies material of the body.
    const gp_Pnt middle = own.point.Translated(gp_Vec(own.outward) * (-0.5 * wall));
    classifier.Perform(middle, kDistanceTolerance);
    if (classifier.State() != TopAbs_IN) continue;
    if (wall < best - kDistanceTolerance) {
      partners.clear();
      best = wall;
    }
    partners.push_back(other);
  }
  if (partners.empty()) return false;
  thickness = best;
  return true;
}

bool FindShellSides(const TopoDS_Shape& body, const TopoDS_Shape& face, double maxThickness,
                    std::vector<TopoDS_Shape>& sameSide, std::vector<TopoDS_Shape>& oppositeSide,
                    double& thickness) {
  sameSide.clear();
  if (!FindShellPartners(body, face, maxThickness, oppositeSide, thickness)) return false;
  TopTools_IndexedMapOfShape same;
  for (const TopoDS_Shape& partner : oppositeSide) {
    std::vector<TopoDS_Shape> across;
    double wall = 0.0;
    if (!FindShellPartners(body, partner, maxThickness, across, wall)) continue;
    for (const TopoDS_Shape& s : across) same.Add(s);
  }
  same.Add(face);
  TopTools_IndexedMapOfShape faces;
  TopExp::MapShapes(body, TopAbs_FACE, faces);
  for (int i = 1; i <= faces.Extent(); ++i) {
    if (same.Contains(faces(i))) sameSide.push_back(faces(i));
  }
  return true;
}

}  // namespace hxr::engine
