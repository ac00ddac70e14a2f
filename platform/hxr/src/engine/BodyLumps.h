// Splitting a body into its disjoint lumps and joining lumps into one body.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// Gives each lump of the body (a solid, or a shell of a sheet body) as its own body in
// `pieces`, in the body's order; the lumps keep their faces, edges and vertices.
Result DisjoinBody(const TopoDS_Shape& body);

// Joins bodies whose lumps do not overlap into one body of several lumps. Overlapping
// lumps are an error (they would need a Boolean union, which is a paste).
Result RejoinBodies(const std::vector<TopoDS_Shape>& bodies);

}  // namespace hxr::engine
