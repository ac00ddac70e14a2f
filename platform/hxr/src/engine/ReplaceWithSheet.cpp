#include "engine/ReplaceWithSheet.h"

#include "engine/FaceChange.h"
#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepGProp.hxx>
#include <BRepGProp_Face.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <GeomLProp_SLProps.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

namespace hxr::engine {
namespace {

Handle(Geom_Surface) Untrimmed(const Handle(Geom_Surface)& surface) {
  Handle(Geom_RectangularTrimmedSurface) trimmed =
      Handle(Geom_RectangularTrimmedSurface)::DownCast(surface);
  return trimmed.IsNull() ? surface : trimmed->BasisSurface();
}

// The one surface all faces of the sheet lie on; null when they lie on several.
Handle(Geom_Surface) SheetSurface(const TopoDS_Shape& sheet) {
  Handle(Geom_Surface) common;
  for (TopExp_Explorer it(sheet, TopAbs_FACE); it.More(); it.Next()) {
    const TopoDS_Face& face = TopoDS::Face(it.Current());
    Handle(Geom_Surface) surface = Untrimmed(BRep_Tool::Surface(face));
    if (common.IsNull()) {
      common = surface;
      continue;
    }
    if (surface == common) continue;
    // Another surface object is still the same surface when the face lies on it.
    for (TopExp_Explorer v(face, TopAbs_VERTEX); v.More(); v.Next()) {
      GeomAPI_ProjectPointOnSurf projection(BRep_Tool::Pnt(TopoDS::Vertex(v.Current())), common);
      if (projection.NbPoints() == 0 || projection.LowerDistance() > 1e-7) return nullptr;
    }
  }
  return common;
}

// Whether the surface's normal, near the face, points out of the body as the face does.
bool OutwardSense(const TopoDS_Face& face, const Handle(Geom_Surface)& surface) {
  double u1, u2, v1, v2;
  BRepTools::UVBounds(face, u1, u2, v1, v2);
  BRepGProp_Face props(face);
  gp_Pnt point;
  gp_Vec faceNormal;
  props.Normal(0.5 * (u1 + u2), 0.5 * (v1 + v2), point, faceNormal);  // oriented outward
  GeomAPI_ProjectPointOnSurf projection(point, surface);
  if (projection.NbPoints() == 0) return true;
  double u, v;
  projection.LowerDistanceParameters(u, v);
  GeomLProp_SLProps local(surface, u, v, 1, 1e-9);
  if (!local.IsNormalDefined()) return true;
  return gp_Vec(local.Normal()).Dot(faceNormal) >= 0.0;
}

}  // namespace

Result ReplaceFacesWithSheet(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                             const TopoDS_Shape& sheet) {
  std::string detail;
  if (!AllFacesOfBody(body, faces, detail)) return Result::Failure(ErrorBadArgument, detail);
  if (sheet.IsNull() || CountOf(sheet, TopAbs_FACE) == 0 || CountOf(sheet, TopAbs_SOLID) != 0) {
    return Result::Failure(ErrorBadArgument, "the sheet is no sheet body");
  }
  return GuardOperation([&]() -> Result {
    const Handle(Geom_Surface) surface = SheetSurface(sheet);
    if (surface.IsNull()) {
      return Result::Failure(ErrorUnsupported, "the sheet does not lie on one surface");
    }
    std::vector<FaceChange> changes;
    for (const TopoDS_Shape& face : faces) {
      FaceChange change;
      change.face = face;
      change.kind = FaceChangeKind::FaceChangeSurface;
      change.surface = surface;
      change.outwardSense = OutwardSense(TopoDS::Face(face), surface);
      changes.push_back(change);
    }
    return ChangeFaces(body, changes);
  });
}

}  // namespace hxr::engine
