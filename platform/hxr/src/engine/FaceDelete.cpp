#include "engine/FaceDelete.h"

#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Defeaturing.hxx>

namespace hxr::engine {

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
    TopoDS_Shape healed;
    BRepTools_History history;
    std::string why;
    const int error = RemoveFacesByHealing(body, faces, healed, history, why);
    if (error != ErrorNone) return Result::Failure(error, why);
    return FinishOperation(body, healed, history);
  });
}

}  // namespace hxr::engine
