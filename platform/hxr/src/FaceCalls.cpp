// The face operations on the kernel layer's bodies: cut, copy, delete, change, blend
// reordering and replacement by a sheet's surface.
#include "BodyStore.h"
#include "BodyWiring.h"
#include "RecordNeighbours.h"
#include "engine/BlendOps.h"
#include "engine/FaceChange.h"
#include "engine/FaceCopy.h"
#include "engine/FaceDelete.h"
#include "engine/ReplaceWithSheet.h"
#include "hxr.h"

#include <TopAbs_ShapeEnum.hxx>
#include <gp_Dir.hxx>

#include <cmath>
#include <initializer_list>

using hxr::wired::Apply;
using hxr::wired::ApplyResult;
using hxr::wired::ClearTracking;
using hxr::wired::EntitySet;
using hxr::wired::ResolveFaces;
using hxr::wired::RunCall;

namespace {

// An option record, when given, must carry the version the layer reads.
template <class Options>
bool VersionIs(const Options* options, int version) {
  return options == nullptr || options->version == version;
}

// Cut and copy share everything but whether the faces leave their body.
template <class Options>
int CopyOrCut(const char* name, bool cut, int n_faces, const int* faces, const Options* options,
              int* sheet, HXR_ENTITY_track_r_s* tracking) {
  if (sheet != nullptr) *sheet = 0;
  ClearTracking(tracking);
  if (!VersionIs(options, 1)) return HXR_ERROR_bad_argument;
  const int partition = options ? options->partition : 0;
  return RunCall(name, [&]() -> int {
    if (sheet == nullptr) return HXR_ERROR_bad_argument;
    if (partition != 0 && brennik::FindPartition(partition) == nullptr) return HXR_ERROR_bad_argument;
    EntitySet set;
    if (int code = ResolveFaces(n_faces, faces, set)) return code;
    TopoDS_Shape body;
    hxr::wired::ResolveBody(set.body, body);
    const hxr::engine::Result result =
        cut ? hxr::engine::CutFaces(body, set.shapes) : hxr::engine::CopyFaces(body, set.shapes);
    Apply apply;
    apply.body = set.body;
    apply.replaceShape = cut;
    apply.piecePartition = partition;
    apply.carryIntoPieces = Apply::Carry::Copy;
    std::vector<int> pieces;
    if (int code = ApplyResult(apply, result, tracking, &pieces)) return code;
    if (pieces.size() != 1) return HXR_ERROR_invalid_result;
    *sheet = pieces.front();
    return HXR_ERROR_none;
  });
}

// The per-kind option settings the engine acts on. The engine tapers about a hinge curve,
// keeps laminar edges normal and merges no faces after a surface
// replacement; any other known setting would be a change unlike the one asked for, so it
// is refused, and a token that is no setting of its kind is a bad argument.
int CheckSetting(int value, int honoured, std::initializer_list<int> others) {
  if (value == honoured) return HXR_ERROR_none;
  for (int other : others)
    if (value == other) return HXR_ERROR_unsupported;
  return HXR_ERROR_bad_argument;
}

int CheckTaperOptions(const HXR_FACE_change_taper_o_s* options) {
  if (options == nullptr) return HXR_ERROR_none;
  if (options->version != 1 || options->n_tapered_edges < 0 || options->n_normal_edges < 0 ||
      (options->n_tapered_edges > 0 && options->tapered_edges == nullptr) ||
      (options->n_normal_edges > 0 && options->normal_edges == nullptr))
    return HXR_ERROR_bad_argument;
  if (int code = CheckSetting(options->method, HXR_TAPER_METHOD_curve,
                              {HXR_TAPER_METHOD_surface, HXR_TAPER_METHOD_isocline,
                               HXR_TAPER_METHOD_offset, HXR_TAPER_METHOD_normal}))
    return code;
  if (int code = CheckSetting(options->laminar_edge, HXR_LAMINAR_EDGE_normal,
                              {HXR_LAMINAR_EDGE_draw}))
    return code;
  // Edges singled out to be tapered or kept normal would change which edges the taper
  // moves; the engine treats every edge of the face alike.
  if (options->n_tapered_edges > 0 || options->n_normal_edges > 0) return HXR_ERROR_unsupported;
  return HXR_ERROR_none;
}

// Every step-face setting is accepted: the neighbours of a moved face are extended to meet
// it wherever they can be, which needs no step face under any setting. Where they cannot,
// a step face would be needed; the engine makes none, and the change fails as one that
// needs new faces.
int CheckTransformOptions(const HXR_FACE_change_transform_o_s* options) {
  if (options == nullptr) return HXR_ERROR_none;
  if (options->version != 2) return HXR_ERROR_bad_argument;
  switch (options->step_face) {
    case HXR_STEP_FACE_off:
    case HXR_STEP_FACE_smooth_edges:
    case HXR_STEP_FACE_all_edges:
    case HXR_STEP_FACE_if_not_coincident:
      return HXR_ERROR_none;
    default:
      return HXR_ERROR_bad_argument;
  }
}

int CheckSurfaceOptions(const HXR_FACE_change_surface_o_s* options) {
  if (options == nullptr) return HXR_ERROR_none;
  if (options->version != 1) return HXR_ERROR_bad_argument;
  return CheckSetting(options->merge, HXR_MERGE_no, {HXR_MERGE_in, HXR_MERGE_out});
}

// One face change record in the engine's terms.
int EngineChangeOf(int body, const HXR_FACE_change_s& change, const TopoDS_Shape& face,
                   hxr::engine::FaceChange& out) {
  using hxr::engine::FaceChangeKind;
  out = hxr::engine::FaceChange{};
  out.face = face;
  switch (change.change) {
    case HXR_CHANGE_offset: {
      if (!std::isfinite(change.offset)) return HXR_ERROR_bad_argument;
      out.kind = FaceChangeKind::FaceChangeOffset;
      out.distance = change.offset;
      // A partner's offset is measured from its reference face, wherever that face goes.
      const auto* options = static_cast<const HXR_FACE_change_offset_o_s*>(change.options);
      if (options == nullptr || options->reference_face == 0) return HXR_ERROR_none;
      if (options->version != 1) return HXR_ERROR_bad_argument;
      std::vector<TopoDS_Shape> reference;
      if (int code = hxr::wired::ResolveFacesOfBody(body, 1, &options->reference_face, reference)) return code;
      out.referenceFace = reference.front();
      return HXR_ERROR_none;
    }
    case HXR_CHANGE_transform:
      out.kind = FaceChangeKind::FaceChangeTransform;
      if (int code = CheckTransformOptions(
              static_cast<const HXR_FACE_change_transform_o_s*>(change.options)))
        return code;
      return hxr::wired::ResolveTransform(change.transform, out.motion);
    case HXR_CHANGE_replace_surface:
      out.kind = FaceChangeKind::FaceChangeSurface;
      if (int code =
              CheckSurfaceOptions(static_cast<const HXR_FACE_change_surface_o_s*>(change.options)))
        return code;
      if (int code = hxr::wired::ResolveSurface(change.surface, out.surface)) return code;
      // The sense is given against the kernel's normal of the surface; the engine takes it
      // against the surface's own parametric normal.
      out.outwardSense = change.sense == (brennik::StandardNormalSign(out.surface) > 0.0);
      return HXR_ERROR_none;
    case HXR_CHANGE_taper: {
      out.kind = FaceChangeKind::FaceChangeTaper;
      if (int code =
              CheckTaperOptions(static_cast<const HXR_FACE_change_taper_o_s*>(change.options)))
        return code;
      const double* d = change.direction;
      if (!std::isfinite(change.angle) || std::hypot(d[0], d[1], d[2]) < 1e-12)
        return HXR_ERROR_bad_argument;
      out.taperDirection = gp_Dir(d[0], d[1], d[2]);
      out.taperAngle = change.angle;
      if (change.n_edges < 0 || (change.n_edges > 0 && change.edges == nullptr))
        return HXR_ERROR_bad_argument;
      for (int i = 0; i < change.n_edges; ++i) {
        TopoDS_Shape edge = brennik::store::ShapeOf(change.edges[i]);
        if (edge.IsNull() || edge.ShapeType() != TopAbs_EDGE) return HXR_ERROR_bad_argument;
        out.taperEdges.push_back(edge);
      }
      return HXR_ERROR_none;
    }
    case HXR_CHANGE_reblend: {
      out.kind = FaceChangeKind::FaceChangeReblend;
      const auto* options = static_cast<const HXR_FACE_change_reblend_o_s*>(change.options);
      if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
      out.radius = options != nullptr ? options->radius : 0.0;
      if (!std::isfinite(out.radius) || out.radius < 0.0) return HXR_ERROR_bad_argument;
      return HXR_ERROR_none;
    }
    default:
      return HXR_ERROR_bad_argument;
  }
}

}  // namespace

int HXR_FACE_cut(int n_faces, const int* faces, const HXR_FACE_cut_o_s* options, int* sheet,
                 HXR_ENTITY_track_r_s* tracking) {
  if (options == nullptr || options->version == 1)
    return CopyOrCut(__func__, true, n_faces, faces, options, sheet, tracking);
  if (sheet != nullptr) *sheet = 0;
  ClearTracking(tracking);
  if (options->version != 2 || options->max_sheets < 1) return HXR_ERROR_bad_argument;
  if (int code = CheckSetting(options->heal, HXR_CUT_HEAL_default, {HXR_CUT_HEAL_none})) return code;
  if (int code = CheckSetting(options->sheet_form, HXR_CUT_SHEET_connected, {HXR_CUT_SHEET_each_face}))
    return code;
  // The engine makes one sheet per call, which any accepted number of sheets takes.
  const HXR_FACE_cut_o_s first{1, options->partition, false, false, 0, 0, 0};
  HXR_ENTITY_track_r_s unwanted{};
  HXR_ENTITY_track_r_s* track = options->want_tracking ? tracking : &unwanted;
  const int code = CopyOrCut(__func__, !options->keep_faces, n_faces, faces, &first, sheet, track);
  HXR_ENTITY_track_r_f(&unwanted);
  return code;
}

int HXR_FACE_copy(int n_faces, const int* faces, const HXR_FACE_copy_o_s* options, int* sheet,
                  HXR_ENTITY_track_r_s* tracking) {
  return CopyOrCut(__func__, false, n_faces, faces, options, sheet, tracking);
}

int HXR_FACE_delete(int n_faces, const int* faces, const HXR_FACE_delete_o_s* options,
                    HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (!VersionIs(options, 1)) return HXR_ERROR_bad_argument;
    EntitySet set;
    if (int code = ResolveFaces(n_faces, faces, set)) return code;
    TopoDS_Shape body;
    hxr::wired::ResolveBody(set.body, body);
    Apply apply;
    apply.body = set.body;
    return ApplyResult(apply, hxr::engine::DeleteFaces(body, set.shapes), tracking);
  });
}

int HXR_FACE_change(int n_faces, const int* faces, const int* change_indices, int n_changes,
                    const HXR_FACE_change_s* changes, double tolerance,
                    const HXR_FACE_change_o_s* options, HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (!VersionIs(options, 1) || change_indices == nullptr || changes == nullptr ||
        n_changes <= 0 || !(tolerance >= 0.0))
      return HXR_ERROR_bad_argument;
    // Edges given new curves, vertices given new positions and help points are not made yet:
    // refusing them is better than a change that ignores what was asked.
    if (options != nullptr &&
        (options->n_edges > 0 || options->n_vertices > 0 || options->n_help_edges > 0 ||
         options->n_help_vertices > 0))
      return HXR_ERROR_unsupported;
    EntitySet set;
    if (int code = ResolveFaces(n_faces, faces, set)) return code;
    TopoDS_Shape body;
    hxr::wired::ResolveBody(set.body, body);
    std::vector<hxr::engine::FaceChange> engineChanges(set.shapes.size());
    for (size_t i = 0; i < set.shapes.size(); ++i) {
      const int index = change_indices[i];
      if (index < 0 || index >= n_changes) return HXR_ERROR_bad_argument;
      if (int code = EngineChangeOf(set.body, changes[index], set.shapes[i], engineChanges[i])) return code;
    }
    Apply apply;
    apply.body = set.body;
    const brennik::BodyRecord* record = brennik::store::FindBody(set.body);
    if (record == nullptr) return HXR_ERROR_bad_argument;
    const hxr::wired::RecordNeighbours neighbours(*record);
    return ApplyResult(apply, hxr::engine::ChangeFaces(body, engineChanges, &neighbours), tracking);
  });
}

int HXR_FACE_reorder_blends(int n_faces, const int* faces, int n_others, const int* others,
                            const HXR_FACE_reorder_blends_o_s* options,
                            HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (!VersionIs(options, 1)) return HXR_ERROR_bad_argument;
    EntitySet first;
    if (int code = ResolveFaces(n_faces, faces, first)) return code;
    std::vector<TopoDS_Shape> second;
    if (n_others <= 0) return HXR_ERROR_bad_argument;
    if (int code = hxr::wired::ResolveFacesOfBody(first.body, n_others, others, second)) return code;
    TopoDS_Shape body;
    hxr::wired::ResolveBody(first.body, body);
    Apply apply;
    apply.body = first.body;
    return ApplyResult(apply, hxr::engine::ReorderBlends(body, first.shapes, second), tracking);
  });
}

int HXR_FACE_replace_with_sheet(int n_faces, const int* faces, int sheet,
                                const HXR_FACE_replace_with_sheet_o_s* options,
                                HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (!VersionIs(options, 1)) return HXR_ERROR_bad_argument;
    EntitySet set;
    if (int code = ResolveFaces(n_faces, faces, set)) return code;
    TopoDS_Shape body, sheetShape;
    hxr::wired::ResolveBody(set.body, body);
    if (sheet == set.body) return HXR_ERROR_bad_argument;
    if (int code = hxr::wired::ResolveBody(sheet, sheetShape)) return code;
    Apply apply;
    apply.body = set.body;
    // Faces sewn in from the sheet are reported as derived from the sheet's faces.
    apply.otherSources = {sheet};
    return ApplyResult(apply, hxr::engine::ReplaceFacesWithSheet(body, set.shapes, sheetShape),
                       tracking);
  });
}
