#include "engine/FaceDelete.h"

#include "engine/HistoryRecorder.h"
#include "engine/LocalFaceDelete.h"
#include "engine/ReshapedFaceCheck.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Defeaturing.hxx>

namespace hxr::engine {
namespace {

// The end of a local delete: the history recorded by the engine's one routine (the faces
// that lost loops are known to be modified, every face the delete did not reach is itself),
// the rebuilt faces checked and every solid closed with a positive volume. Only what the
// delete rebuilt is measured, so the cost follows the feature.
Result FinishLocalDelete(const TopoDS_Shape& body, const LocalDelete& local) {
  Result result;
  result.history = RecordHistory(body, local.shape, local.history,
                                 [](const TopoDS_Face&, const TopoDS_Face&) { return false; });
  std::string detail;
  int error = CheckRebuiltFaces(local.rebuilt, detail);
  if (error == ErrorNone) error = CheckSolids(local.shape, detail);
  if (error != ErrorNone) return Result::Failure(error, detail);
  result.ok = true;
  result.shape = local.shape;
  return result;
}

}  // namespace

int RemoveFacesByHealing(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                         TopoDS_Shape& healed, BRepTools_History& history, std::string& detail) {
  BRepAlgoAPI_Defeaturing algo;
  algo.SetShape(body);
  for (const TopoDS_Shape& face : faces) algo.AddFaceToRemove(face);
  algo.SetRunParallel(false);
  algo.SetToFillHistory(true);
  algo.Build();
  if (!algo.IsDone() || algo.HasErrors()) {
    detail = "the faces could not be removed";
    return ErrorAlgorithmFailed;
  }
  healed = algo.Shape();
  history = *algo.History();
  for (const TopoDS_Shape& face : faces) {
    for (const TopoDS_Shape& image : ImagesOf(history, face)) {
      if (ContainsSubShape(healed, image)) {
        detail = "a face could not be removed by healing";
        return ErrorUnsupported;
      }
    }
  }
  return ErrorNone;
}

Result DeleteFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces) {
  std::string detail;
  if (!AllFacesOfBody(body, faces, detail)) return Result::Failure(ErrorBadArgument, detail);
  return GuardOperation([&]() -> Result {
    // A feature closed off by hole loops comes out locally; anything else, or a local
    // result that fails its checks, is healed over by the neighbours as before.
    LocalDelete local;
    if (RemoveFacesLocally(body, faces, local)) {
      Result result = FinishLocalDelete(body, local);
      if (result.ok) return result;
    }
    TopoDS_Shape healed;
    BRepTools_History history;
    std::string why;
    const int error = RemoveFacesByHealing(body, faces, healed, history, why);
    if (error != ErrorNone) return Result::Failure(error, why);
    return FinishOperation(body, healed, history);
  });
}

}  // namespace hxr::engine
