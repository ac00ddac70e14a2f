#include "engine/ChangedSurfaces.h"

#include "engine/EngineResult.h"

#include <BRep_Tool.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>

#include <cmath>

namespace hxr::engine {
namespace {

constexpr double kSmallestRadius = 1e-7;

Handle(Geom_Surface) BasisOf(const Handle(Geom_Surface)& surface) {
  Handle(Geom_RectangularTrimmedSurface) trimmed =
      Handle(Geom_RectangularTrimmedSurface)::DownCast(surface);
  return trimmed.IsNull() ? surface : trimmed->BasisSurface();
}

// +1 when the surface's parametric normal points away from the axis or centre (a right-
// handed frame), -1 otherwise.
double FrameSign(const gp_Ax3& frame) { return frame.Direct() ? 1.0 : -1.0; }

int Inverted(std::string& detail) {
  detail = "the offset would turn the face inside out";
  return ErrorFaceInverted;
}

}  // namespace

int OffsetSurface(const TopoDS_Face& face, double distance, Handle(Geom_Surface)& surface,
                  std::string& detail) {
  const Handle(Geom_Surface) basis = BasisOf(BRep_Tool::Surface(face));
  // Distance along the surface's own normal.
  const double along = face.Orientation() == TopAbs_REVERSED ? -distance : distance;
  if (Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(basis); !plane.IsNull()) {
    const gp_Ax3 frame = plane->Position();
    const gp_Vec normal = gp_Vec(frame.XDirection()).Crossed(gp_Vec(frame.YDirection()));
    surface = Handle(Geom_Surface)::DownCast(plane->Translated(normal * along));
    return ErrorNone;
  }
  if (Handle(Geom_CylindricalSurface) cylinder = Handle(Geom_CylindricalSurface)::DownCast(basis);
      !cylinder.IsNull()) {
    const double radius = cylinder->Radius() + FrameSign(cylinder->Position()) * along;
    if (radius <= kSmallestRadius) return Inverted(detail);
    surface = new Geom_CylindricalSurface(cylinder->Position(), radius);
    return ErrorNone;
  }
  if (Handle(Geom_SphericalSurface) sphere = Handle(Geom_SphericalSurface)::DownCast(basis);
      !sphere.IsNull()) {
    const double radius = sphere->Radius() + FrameSign(sphere->Position()) * along;
    if (radius <= kSmallestRadius) return Inverted(detail);
    surface = new Geom_SphericalSurface(sphere->Position(), radius);
    return ErrorNone;
  }
  if (Handle(Geom_ToroidalSurface) torus = Handle(Geom_ToroidalSurface)::DownCast(basis);
      !torus.IsNull()) {
    const double minor = torus->MinorRadius() + FrameSign(torus->Position()) * along;
    if (minor <= kSmallestRadius || minor >= torus->MajorRadius()) return Inverted(detail);
    surface = new Geom_ToroidalSurface(torus->Position(), torus->MajorRadius(), minor);
    return ErrorNone;
  }
  if (Handle(Geom_ConicalSurface) cone = Handle(Geom_ConicalSurface)::DownCast(basis);
      !cone.IsNull()) {
    // The offset of a cone is the cone of the same axis and angle whose radius in the
    // reference plane grows by the offset over the cosine of the half angle.
    const double radius =
        cone->RefRadius() + FrameSign(cone->Position()) * along / std::cos(cone->SemiAngle());
    if (radius <= kSmallestRadius) return Inverted(detail);
    surface = new Geom_ConicalSurface(cone->Position(), cone->SemiAngle(), radius);
    return ErrorNone;
  }
  surface = new Geom_OffsetSurface(basis, along);
  return ErrorNone;
}

Handle(Geom_Surface) MovedSurface(const TopoDS_Face& face, const gp_Trsf& motion) {
  return Handle(Geom_Surface)::DownCast(BasisOf(BRep_Tool::Surface(face))->Transformed(motion));
}

Handle(Geom_Surface) OrientedReplacement(const TopoDS_Face& face,
                                         const Handle(Geom_Surface)& replacement,
                                         bool outwardSense) {
  const bool reversed = face.Orientation() == TopAbs_REVERSED;
  Handle(Geom_Surface) copy = Handle(Geom_Surface)::DownCast(replacement->Copy());
  if (outwardSense == reversed) copy = copy->UReversed();
  return copy;
}

}  // namespace hxr::engine
