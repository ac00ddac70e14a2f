// Replacing faces of a body by the surface of a sheet body.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// Puts the faces on the surface that the sheet's faces lie on, re-intersecting their
// neighbours; the sheet's orientation is taken so that each face keeps facing out of the
// body. The sheet must lie on one surface; the faces must not share edges (two
// neighbours on one surface would be one face). The sheet itself is not changed.
Result ReplaceFacesWithSheet(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                             const TopoDS_Shape& sheet);

}  // namespace hxr::engine
