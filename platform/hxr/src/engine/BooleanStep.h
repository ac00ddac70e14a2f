// The Boolean step the engine's operations share: pasting a tool, giving material back.
#pragma once

#include <BRepTools_History.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Shape.hxx>

namespace hxr::engine {

// The tools united with `shape` (or cut from it), then faces and edges that lie on one
// surface or curve merged, so the result holds no seams the Boolean left. `shape` and the
// tools stay as they were; `history` runs from `shape` (and the tools) to `out`. False when
// the Boolean fails.
bool UniteOrCut(const TopoDS_Shape& shape, const TopTools_ListOfShape& tools, bool unite,
                TopoDS_Shape& out, BRepTools_History& history);

}  // namespace hxr::engine
