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
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepLib.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopExp.hxx>

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

// The surface test above also passes a sheet whose faces lie on one surface only by the
// positions of their vertices (a cylinder through the corners of a flat face): every face must
// lie on the common surface, which a point inside each face shows.
bool FacesLieOnSurface(const TopoDS_Shape& sheet, const Handle(Geom_Surface)& surface) {
  for (TopExp_Explorer it(sheet, TopAbs_FACE); it.More(); it.Next()) {
    const TopoDS_Face& face = TopoDS::Face(it.Current());
    double u1, u2, v1, v2;
    BRepTools::UVBounds(face, u1, u2, v1, v2);
    BRepGProp_Face props(face);
    gp_Pnt point;
    gp_Vec normal;
    props.Normal(0.5 * (u1 + u2), 0.5 * (v1 + v2), point, normal);
    GeomAPI_ProjectPointOnSurf projection(point, surface);
    if (projection.NbPoints() == 0 || projection.LowerDistance() > 1e-7) return false;
  }
  return true;
}

// Records in `history` what sewing made of each face, edge and vertex of the shape.
void AddSewingImages(const TopoDS_Shape& shape, const BRepBuilderAPI_Sewing& sewing,
                     BRepTools_History& history) {
  for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape entities;
    TopExp::MapShapes(shape, type, entities);
    for (int i = 1; i <= entities.Extent(); ++i) {
      const TopoDS_Shape& entity = entities(i);
      if (type == TopAbs_FACE ? sewing.IsModified(entity) : sewing.IsModifiedSubShape(entity))
        history.AddModified(entity, type == TopAbs_FACE ? sewing.Modified(entity)
                                                        : sewing.ModifiedSubShape(entity));
    }
  }
}

// Faces of several surfaces, or faces and edges that appear or vanish: the body loses the
// faces and the sheet's faces are sewn into the opening they leave. The sheet's boundary must
// meet the opening's edges; what does not close into one valid solid is refused.
Result SewSheetIntoBody(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                        const TopoDS_Shape& sheet) {
  TopTools_IndexedMapOfShape removed;
  for (const TopoDS_Shape& face : faces) removed.Add(face);
  BRepBuilderAPI_Sewing sewing(1e-6);
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More(); it.Next())
    if (!removed.Contains(it.Current())) sewing.Add(it.Current());
  for (TopExp_Explorer it(sheet, TopAbs_FACE); it.More(); it.Next()) sewing.Add(it.Current());
  sewing.Perform();
  const TopoDS_Shape sewn = sewing.SewedShape();
  if (sewn.IsNull() || sewing.NbFreeEdges() != 0 || CountOf(sewn, TopAbs_SHELL) != 1)
    return Result::Failure(ErrorTopologyChangeNeeded, "the sheet does not close the opening");
  TopExp_Explorer shells(sewn, TopAbs_SHELL);
  BRepBuilderAPI_MakeSolid makeSolid(TopoDS::Shell(shells.Current()));
  if (!makeSolid.IsDone()) return Result::Failure(ErrorAlgorithmFailed, "no solid could be made");
  TopoDS_Solid solid = makeSolid.Solid();
  BRepLib::OrientClosedSolid(solid);

  BRepTools_History history;
  for (const TopoDS_Shape& face : faces) history.Remove(face);
  AddSewingImages(body, sewing, history);
  BRepTools_History sheetHistory;
  AddSewingImages(sheet, sewing, sheetHistory);
  Result result = FinishOperation(body, solid, history);
  if (result.ok) RecordDerived(sheet, result.shape, sheetHistory, result.history);
  return result;
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
    if (surface.IsNull() || !FacesLieOnSurface(sheet, surface)) return SewSheetIntoBody(body, faces, sheet);
    std::vector<FaceChange> changes;
    for (const TopoDS_Shape& face : faces) {
      FaceChange change;
      change.face = face;
      change.kind = FaceChangeKind::FaceChangeSurface;
      change.surface = surface;
      change.outwardSense = OutwardSense(TopoDS::Face(face), surface);
      changes.push_back(change);
    }
    Result moved = ChangeFaces(body, changes);
    // A sheet on one surface that the faces cannot reach without faces or edges appearing
    // or vanishing may still close the opening as it is.
    if (!moved.ok && moved.error == ErrorTopologyChangeNeeded) return SewSheetIntoBody(body, faces, sheet);
    return moved;
  });
}

}  // namespace hxr::engine
