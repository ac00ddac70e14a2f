#include "engine/BodyPaste.h"

#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <TopTools_ListOfShape.hxx>

#include <cmath>
#include <memory>

namespace hxr::engine {

Result PasteBody(const TopoDS_Shape& target, const TopoDS_Shape& tool, PasteType type,
                 const gp_Trsf* placement) {
  if (target.IsNull() || tool.IsNull()) return Result::Failure(ErrorBadArgument, "no body");
  return GuardOperation([&]() -> Result {
    TopTools_ListOfShape toolList;
    toolList.Append(tool);
    BRepTools_History toolHistory;
    TopoDS_Shape placed = tool;
    if (placement != nullptr) {
      BRepBuilderAPI_Transform transform(tool, *placement, true);
      placed = transform.Shape();
      toolHistory = BRepTools_History(toolList, transform);
    }

    TopTools_ListOfShape arguments, tools;
    arguments.Append(target);
    tools.Append(placed);
    std::unique_ptr<BRepAlgoAPI_BooleanOperation> boolean;
    if (type == PasteType::PasteTypeAdd) {
      boolean = std::make_unique<BRepAlgoAPI_Fuse>();
    } else {
      boolean = std::make_unique<BRepAlgoAPI_Cut>();
    }
    boolean->SetArguments(arguments);
    boolean->SetTools(tools);
    boolean->SetRunParallel(false);
    boolean->SetNonDestructive(true);  // the target and the tool stay as they were
    boolean->SetToFillHistory(true);
    boolean->Build();
    if (!boolean->IsDone() || boolean->HasErrors()) {
      return Result::Failure(ErrorAlgorithmFailed, "the Boolean operation failed");
    }

    ShapeUpgrade_UnifySameDomain unify(boolean->Shape(), true, true, false);
    unify.Build();
    BRepTools_History history = *boolean->History();
    history.Merge(unify.History());

    Result result = FinishOperation(target, unify.Shape(), history);
    if (!result.ok) return result;
    const double before = VolumeOf(target), after = VolumeOf(result.shape);
    if (std::abs(after - before) <= 1e-9 * std::max(1.0, std::abs(before)) &&
        result.history.CountFaces(Fate::FateUnchanged) ==
            static_cast<int>(result.history.faces.size())) {
      return Result::Failure(ErrorNoChange, "the tool does not change the target");
    }
    if (placement != nullptr) {
      toolHistory.Merge(history);
      RecordDerived(tool, result.shape, toolHistory, result.history);
    } else {
      RecordDerived(tool, result.shape, history, result.history);
    }
    return result;
  });
}

}  // namespace hxr::engine
