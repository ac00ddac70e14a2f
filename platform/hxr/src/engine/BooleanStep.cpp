#include "engine/BooleanStep.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>

#include <memory>

namespace hxr::engine {

bool UniteOrCut(const TopoDS_Shape& shape, const TopTools_ListOfShape& tools, bool unite,
                TopoDS_Shape& out, BRepTools_History& history) {
  TopTools_ListOfShape arguments;
  arguments.Append(shape);
  std::unique_ptr<BRepAlgoAPI_BooleanOperation> boolean;
  if (unite) {
    boolean = std::make_unique<BRepAlgoAPI_Fuse>();
  } else {
    boolean = std::make_unique<BRepAlgoAPI_Cut>();
  }
  boolean->SetArguments(arguments);
  boolean->SetTools(tools);
  boolean->SetRunParallel(false);
  boolean->SetNonDestructive(true);
  boolean->SetToFillHistory(true);
  boolean->Build();
  if (!boolean->IsDone() || boolean->HasErrors()) return false;

  ShapeUpgrade_UnifySameDomain unify(boolean->Shape(), true, true, false);
  unify.Build();
  history = *boolean->History();
  history.Merge(unify.History());
  out = unify.Shape();
  return true;
}

}  // namespace hxr::engine
