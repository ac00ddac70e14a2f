// Replacing faces of a body by the surface of a sheet body.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// A sheet whose faces lie on one surface: puts the faces on that surface, re-intersecting
// their neighbours; the sheet's orientation is taken so that each face keeps facing out of
// the body, and the faces must not share edges (two neighbours on one surface would be one
// face). A sheet on several surfaces, or one the faces cannot reach without a change of
// topology: the faces go and the sheet's faces are sewn into the opening, which the sheet's
// boundary must close. The sheet itself is not changed.
Result ReplaceFacesWithSheet(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                             const TopoDS_Shape& sheet);

}  // namespace hxr::engine
