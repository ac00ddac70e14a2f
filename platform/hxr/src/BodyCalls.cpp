// The body operations on the kernel layer's bodies: paste, hollow, rejoin, disjoin and the
// paste-tool test.
#include "BodyStore.h"
#include "BodyWiring.h"
#include "ShellData.h"
#include "engine/BlendOps.h"
#include "engine/BodyHollow.h"
#include "engine/BodyLumps.h"
#include "engine/BodyPaste.h"
#include "engine/ShapeChecks.h"
#include "hxr.h"

#include <BRepCheck_Analyzer.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <cmath>
#include <set>
#include <string>

using hxr::wired::Apply;
using hxr::wired::ApplyResult;
using hxr::wired::ClearTracking;
using hxr::wired::ResolveBody;
using hxr::wired::RunCall;

namespace {

// A body that a paste can unite with or remove from a target: a valid solid of positive volume.
bool IsSolidTool(const TopoDS_Shape& shape) {
  return hxr::engine::CountOf(shape, TopAbs_SOLID) > 0 && hxr::engine::VolumeOf(shape) > 0.0 &&
         BRepCheck_Analyzer(shape).IsValid();
}

// Faces given with per-face values, resolved in the body.
int ResolveFaceValues(int body, int n, const int* faces, const double* values,
                      std::vector<std::pair<TopoDS_Shape, double>>& out) {
  if (n > 0 && values == nullptr) return HXR_ERROR_bad_argument;
  std::vector<TopoDS_Shape> shapes;
  if (int code = hxr::wired::ResolveFacesOfBody(body, n, faces, shapes)) return code;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(values[i]) || values[i] < 0.0) return HXR_ERROR_bad_argument;
    out.emplace_back(shapes[i], values[i]);
  }
  return HXR_ERROR_none;
}

// An entity that changes body but not shape: each face, edge and vertex of the shape is
// its own counterpart, which is how the wiring carries its data into the other body.
void DeriveFromItself(const TopoDS_Shape& shape, std::vector<hxr::engine::DerivedEntity>& out) {
  for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape subs;
    TopExp::MapShapes(shape, type, subs);
    for (int i = 1; i <= subs.Extent(); ++i) out.push_back({subs(i), subs(i)});
  }
}

}  // namespace

int HXR_BODY_paste(int target, int tool, int transform, const HXR_BODY_paste_o_s* options,
                   HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (options != nullptr && options->version != 4) return HXR_ERROR_bad_argument;
    const int type = options != nullptr ? options->paste_type : HXR_PASTE_default;
    if (type != HXR_PASTE_default && type != HXR_PASTE_add && type != HXR_PASTE_subtract)
      return HXR_ERROR_bad_argument;
    const int reblend = options != nullptr ? options->reblend : HXR_PASTE_reblend;
    if (reblend != HXR_PASTE_reblend && reblend != HXR_PASTE_no_reblend)
      return HXR_ERROR_bad_argument;
    if (target == tool) return HXR_ERROR_bad_argument;
    TopoDS_Shape targetShape, toolShape;
    if (int code = ResolveBody(target, targetShape)) return code;
    if (int code = ResolveBody(tool, toolShape)) return code;
    if (!IsSolidTool(toolShape)) return HXR_ERROR_bad_argument;
    gp_Trsf placement;
    if (transform != 0) {
      if (int code = hxr::wired::ResolveTransform(transform, placement)) return code;
    }
    const auto pasteType = type == HXR_PASTE_subtract ? hxr::engine::PasteType::PasteTypeSubtract
                                                      : hxr::engine::PasteType::PasteTypeAdd;
    const hxr::engine::Result result =
        hxr::engine::PasteBody(targetShape, toolShape, pasteType,
                               transform != 0 ? &placement : nullptr, reblend == HXR_PASTE_reblend);
    Apply apply;
    apply.body = target;
    apply.otherSources = {tool};
    apply.adoptFromSources = true;
    return ApplyResult(apply, result, tracking);
  });
}

int HXR_BODY_hollow(int body, double outward, double inward, double tolerance,
                    const HXR_BODY_hollow_o_s* options, HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  return RunCall(__func__, [&]() -> int {
    if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
    if (!std::isfinite(outward) || !std::isfinite(inward) || outward < 0.0 || inward < 0.0 ||
        outward + inward <= 0.0 || !(tolerance >= 0.0))
      return HXR_ERROR_bad_argument;
    TopoDS_Shape shape;
    if (int code = ResolveBody(body, shape)) return code;
    hxr::engine::HollowOptions hollow;
    hollow.outward = outward;
    hollow.inward = inward;
    if (tolerance > 0.0) hollow.tolerance = tolerance;
    if (options != nullptr) {
      if (int code = hxr::wired::ResolveFacesOfBody(body, options->n_pierce_faces,
                                                    options->pierce_faces, hollow.pierceFaces))
        return code;
      if (int code = ResolveFaceValues(body, options->n_offset_out_faces, options->offset_out_faces,
                                       options->offset_out_values, hollow.faceThicknesses))
        return code;
      if (int code = ResolveFaceValues(body, options->n_offset_in_faces, options->offset_in_faces,
                                       options->offset_in_values, hollow.faceThicknesses))
        return code;
      if (options->local_face_type != HXR_LOCAL_FACES_none && options->n_local_faces > 0) {
        if (int code = hxr::wired::ResolveFacesOfBody(body, options->n_local_faces,
                                                      options->local_faces, hollow.localFaces))
          return code;
      }
    }
    const hxr::engine::Result result = hxr::engine::HollowBody(shape, hollow);
    Apply apply;
    apply.body = body;
    if (int code = ApplyResult(apply, result, tracking)) return code;
    // The walls the hollow made: each face and its partner across the wall, by tag.
    std::vector<hxr::wired::ShellPair> pairs;
    for (const auto& pair : result.shellPartners) {
      const int side = brennik::store::TagOf(body, pair.first);
      const int partner = brennik::store::TagOf(body, pair.second);
      if (side != 0 && partner != 0) pairs.push_back({side, partner, outward + inward});
    }
    hxr::wired::RecordShellPairs(body, pairs);
    return HXR_ERROR_none;
  });
}

int HXR_BODY_rejoin(int n_bodies, const int* bodies, int* body) {
  if (body != nullptr) *body = 0;
  return RunCall(__func__, [&]() -> int {
    if (body == nullptr || n_bodies <= 0 || bodies == nullptr) return HXR_ERROR_bad_argument;
    std::vector<TopoDS_Shape> shapes;
    std::set<int> seen;
    const int partition = brennik::Locate(bodies[0]).partition != nullptr
                              ? brennik::Locate(bodies[0]).partition->tag : 0;
    for (int i = 0; i < n_bodies; ++i) {
      TopoDS_Shape shape;
      if (int code = ResolveBody(bodies[i], shape)) return code;
      if (!seen.insert(bodies[i]).second) return HXR_ERROR_bad_argument;
      if (brennik::Locate(bodies[i]).partition->tag != partition) return HXR_ERROR_bad_argument;
      shapes.push_back(shape);
    }
    // The other bodies' entities are their own counterparts in the joined body: their
    // attributes and groups move there, so deleting those bodies reports nothing as lost.
    hxr::engine::Result result = hxr::engine::RejoinBodies(shapes);
    if (result.ok) {
      for (size_t i = 1; i < shapes.size(); ++i) DeriveFromItself(shapes[i], result.history.derived);
    }
    Apply apply;
    apply.body = bodies[0];
    apply.otherSources.assign(bodies + 1, bodies + n_bodies);
    apply.adoptFromSources = true;
    apply.sourcesGo = true;
    if (int code = ApplyResult(apply, result, nullptr)) return code;
    // The first body holds every lump now; the others are gone.
    if (n_bodies > 1) BQ_ENTITY_delete(n_bodies - 1, bodies + 1);
    *body = bodies[0];
    return HXR_ERROR_none;
  });
}

int HXR_BODY_disjoin(int body, const char*, int* n_bodies, int** bodies) {
  if (n_bodies != nullptr) *n_bodies = 0;
  if (bodies != nullptr) *bodies = nullptr;
  return RunCall(__func__, [&]() -> int {
    if (n_bodies == nullptr || bodies == nullptr) return HXR_ERROR_bad_argument;
    TopoDS_Shape shape;
    if (int code = ResolveBody(body, shape)) return code;
    hxr::engine::Result result = hxr::engine::DisjoinBody(shape);
    // The body keeps its first lump; each other lump becomes a body of the same partition.
    // The entities of the other lumps move with them: each is its own counterpart in the new
    // body, so its attributes and groups follow it there instead of being deleted.
    if (result.ok) {
      result.shape = result.pieces.front();
      result.history = hxr::engine::History{};
      for (size_t i = 1; i < result.pieces.size(); ++i)
        DeriveFromItself(result.pieces[i], result.history.derived);
    }
    Apply apply;
    apply.body = body;
    apply.piecesFrom = 1;
    apply.carryIntoPieces = Apply::Carry::Move;
    std::vector<int> made;
    if (int code = ApplyResult(apply, result, nullptr, &made)) return code;
    made.insert(made.begin(), body);
    *n_bodies = static_cast<int>(made.size());
    *bodies = hxr::wired::HandOut(made);
    return HXR_ERROR_none;
  });
}

int HXR_BODY_is_paste_tool(int body, const HXR_BODY_is_paste_tool_o_s* options, bool* is_tool) {
  if (is_tool != nullptr) *is_tool = false;
  return RunCall(__func__, [&]() -> int {
    if (is_tool == nullptr || (options != nullptr && options->version != 1))
      return HXR_ERROR_bad_argument;
    TopoDS_Shape shape;
    if (int code = ResolveBody(body, shape)) return code;
    *is_tool = IsSolidTool(shape);
    return HXR_ERROR_none;
  });
}
