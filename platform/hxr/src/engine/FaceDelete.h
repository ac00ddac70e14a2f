// Deleting faces from a solid and healing the gap by extending the neighbours.
#pragma once

#include "engine/EngineResult.h"

#include <BRepTools_History.hxx>
#include <TopoDS_Shape.hxx>

#include <string>

#include <vector>

namespace hxr::engine {

// Removes the faces and closes the body by growing the neighbouring faces over the gap
// (a deleted blend gives back the sharp edge, a deleted boss gives back the plain face).
// Every given face must be deleted in the result; a face that cannot be removed is an
// error and the body stays as it was.
Result DeleteFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces);

// The healing step alone, for operations that remove faces on their way (re-blending):
// gives the healed shape and the history, or an error with its reason.
int RemoveFacesByHealing(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                         TopoDS_Shape& healed, BRepTools_History& history, std::string& detail);

}  // namespace hxr::engine
