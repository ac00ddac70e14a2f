#include "engine/BodyPaste.h"

#include "engine/BlendOps.h"
#include "engine/BooleanStep.h"
#include "engine/FaceDelete.h"
#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <TopTools_ListOfShape.hxx>

#include <cmath>
#include <string>
#include <vector>

namespace hxr::engine {

namespace {

// One Boolean step: the tool, placed when a placement is given, united with `shape` or cut
// from it, then faces and edges on one surface or curve merged. `history` runs from `shape`
// to `out`, `toolHistory` from the tool as given.
int PasteStep(const TopoDS_Shape& shape, const TopoDS_Shape& tool, PasteType type,
              const gp_Trsf* placement, TopoDS_Shape& out, BRepTools_History& history,
              BRepTools_History& toolHistory, std::string& detail) {
  TopTools_ListOfShape toolList;
  toolList.Append(tool);
  TopoDS_Shape placed = tool;
  BRepTools_History placing;
  if (placement != nullptr) {
    BRepBuilderAPI_Transform transform(tool, *placement, true);
    placed = transform.Shape();
    placing = BRepTools_History(toolList, transform);
  }

  TopTools_ListOfShape tools;
  tools.Append(placed);
  if (!UniteOrCut(shape, tools, type == PasteType::PasteTypeAdd, out, history)) {
    detail = "the Boolean operation failed";
    return ErrorAlgorithmFailed;
  }
  if (placement != nullptr) {
    placing.Merge(history);
    toolHistory = placing;
  } else {
    toolHistory = history;
  }
  return ErrorNone;
}

// The blends of the target whose faces the paste changed.
std::vector<BlendInfo> BlendsCutInto(const TopoDS_Shape& target, const History& history) {
  std::vector<BlendInfo> blends;
  for (const EntityOutcome& outcome : history.faces) {
    if (outcome.fate == Fate::FateUnchanged) continue;
    BlendInfo info;
    std::string why;
    if (IdentifyBlend(target, outcome.source, {}, info, why)) blends.push_back(info);
  }
  return blends;
}

// Takes the blends off, pastes, and makes the blends again on the pasted body.
Result PasteReblending(const TopoDS_Shape& target, const TopoDS_Shape& tool, PasteType type,
                       const gp_Trsf* placement, const std::vector<BlendInfo>& blends) {
  std::vector<TopoDS_Shape> faces;
  for (const BlendInfo& blend : blends) faces.push_back(blend.face);
  std::string why;
  TopoDS_Shape shape;
  BRepTools_History history;
  int error = RemoveFacesByHealing(target, faces, shape, history, why);
  if (error != ErrorNone) return Result::Failure(error, why);
  TopoDS_Shape pasted;
  BRepTools_History step, toolHistory;
  error = PasteStep(shape, tool, type, placement, pasted, step, toolHistory, why);
  if (error != ErrorNone) return Result::Failure(error, why);
  history = ComposeHistories(target, history, step);
  std::vector<std::vector<TopoDS_Shape>> newFaces;
  BRepTools_History blending;
  error = BlendSupports(target, pasted, history, blends, std::vector<double>(blends.size(), 0.0),
                        newFaces, why, nullptr, &blending);
  if (error != ErrorNone) return Result::Failure(error, why);
  toolHistory = ComposeHistories(tool, toolHistory, blending);
  Result result = FinishOperation(target, pasted, history);
  if (!result.ok) return result;
  RelinkBlends(result.history, blends, newFaces);
  RecordDerived(tool, result.shape, toolHistory, result.history);
  return result;
}

}  // namespace

Result PasteBody(const TopoDS_Shape& target, const TopoDS_Shape& tool, PasteType type,
                 const gp_Trsf* placement, bool reblend) {
  if (target.IsNull() || tool.IsNull()) return Result::Failure(ErrorBadArgument, "no body");
  return GuardOperation([&]() -> Result {
    std::string why;
    TopoDS_Shape pasted;
    BRepTools_History history, toolHistory;
    if (int error = PasteStep(target, tool, type, placement, pasted, history, toolHistory, why))
      return Result::Failure(error, why);
    Result result = FinishOperation(target, pasted, history);
    if (!result.ok) return result;
    const double before = VolumeOf(target), after = VolumeOf(result.shape);
    if (std::abs(after - before) <= 1e-9 * std::max(1.0, std::abs(before)) &&
        result.history.CountFaces(Fate::FateUnchanged) ==
            static_cast<int>(result.history.faces.size())) {
      return Result::Failure(ErrorNoChange, "the tool does not change the target");
    }
    if (reblend) {
      const std::vector<BlendInfo> blends = BlendsCutInto(target, result.history);
      if (!blends.empty()) return PasteReblending(target, tool, type, placement, blends);
    }
    RecordDerived(tool, result.shape, toolHistory, result.history);
    return result;
  });
}

}  // namespace hxr::engine
