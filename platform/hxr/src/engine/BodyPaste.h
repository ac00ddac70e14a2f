// Pasting a tool body onto (or out of) a target body.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

namespace hxr::engine {

enum class PasteType { PasteTypeAdd, PasteTypeSubtract };

// Unites the tool with the target (add) or removes it from the target (subtract), after
// placing the tool by `placement` when one is given, then merges faces and edges that
// lie on one surface or curve. The history is the target's; the tool's faces, edges and
// vertices that reach the result are listed as derived. A paste that leaves the target
// as it was (a tool inside the target, or apart from it when subtracting) is an error.
// With `reblend`, blends of the target that the paste would cut into are taken off first
// and made again on the pasted body (each keeping its tag), so that they run over what the
// tool changed; a blend that cannot be made again is an error.
Result PasteBody(const TopoDS_Shape& target, const TopoDS_Shape& tool, PasteType type,
                 const gp_Trsf* placement, bool reblend = false);

}  // namespace hxr::engine
