#include "engine/ChangedSurfaces.h"

#include "engine/EngineResult.h"

#include <BRep_Tool.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_ElementarySurface.hxx>
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

namespace {

// The placement of a surface of revolution about its axis turned so that its parameters run
// as those of the face's present surface: the axis reversed (with the reference direction's
// partner, so that both parameters turn round and the normal stays) when it points the other
// way, and the reference direction turned about the axis onto the present one. The point set
// and the normal stay those of the replacement; the face's boundary keeps its place in the
// parameter rectangle, seams included.
bool AlignedPlacement(const gp_Ax3& present, gp_Ax3& placement, bool& axisReversed) {
  if (!placement.Direction().IsParallel(present.Direction(), 1e-9)) return false;
  axisReversed = placement.Direction().Dot(present.Direction()) < 0.0;
  if (axisReversed) {
    placement.ZReverse();
    placement.YReverse();
  }
  const gp_Vec axis(placement.Direction());
  gp_Vec reference(present.XDirection());
  reference -= axis * reference.Dot(axis);
  if (reference.Magnitude() < 1e-9) return true;
  const bool direct = placement.Direct();
  placement.SetXDirection(gp_Dir(reference));
  if (placement.Direct() != direct) placement.YReverse();
  return true;
}

// The replacement in a placement aligned with the face's present surface when both are the
// same kind of surface of revolution; the replacement itself otherwise.
Handle(Geom_Surface) AlignedWithFace(const TopoDS_Face& face,
                                     const Handle(Geom_Surface)& given) {
  const Handle(Geom_Surface) present = BasisOf(BRep_Tool::Surface(face));
  const Handle(Geom_Surface) replacement = BasisOf(given);
  const Handle(Geom_ElementarySurface) was = Handle(Geom_ElementarySurface)::DownCast(present);
  if (was.IsNull() || replacement->DynamicType() != present->DynamicType() ||
      replacement->IsKind(STANDARD_TYPE(Geom_Plane)))
    return given;
  gp_Ax3 placement = Handle(Geom_ElementarySurface)::DownCast(replacement)->Position();
  bool axisReversed = false;
  if (!AlignedPlacement(was->Position(), placement, axisReversed)) return given;
  if (auto cone = Handle(Geom_ConicalSurface)::DownCast(replacement)) {
    // Seen from the other end of its axis a cone opens by the opposite angle.
    const double angle = axisReversed ? -cone->SemiAngle() : cone->SemiAngle();
    return new Geom_ConicalSurface(placement, angle, cone->RefRadius());
  }
  if (auto cylinder = Handle(Geom_CylindricalSurface)::DownCast(replacement))
    return new Geom_CylindricalSurface(placement, cylinder->Radius());
  if (auto sphere = Handle(Geom_SphericalSurface)::DownCast(replacement))
    return new Geom_SphericalSurface(placement, sphere->Radius());
  if (auto torus = Handle(Geom_ToroidalSurface)::DownCast(replacement))
    return new Geom_ToroidalSurface(placement, torus->MajorRadius(), torus->MinorRadius());
  return given;
}

}  // namespace

Handle(Geom_Surface) OrientedReplacement(const TopoDS_Face& face,
                                         const Handle(Geom_Surface)& replacement,
                                         bool outwardSense) {
  const bool reversed = face.Orientation() == TopAbs_REVERSED;
  Handle(Geom_Surface) copy =
      Handle(Geom_Surface)::DownCast(AlignedWithFace(face, replacement)->Copy());
  if (outwardSense == reversed) copy = copy->UReversed();
  return copy;
}

}  // namespace hxr::engine
