// Copying faces of a body into a new sheet body, and cutting them out.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// Copies the faces into a new sheet body (one shell per connected group of faces; a
// compound of shells when there are several). The body is unchanged; `pieces` holds the
// sheet; `history.derived` pairs each given face (in the given order), then its edges and
// vertices, with its copy.
Result CopyFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces);

// Copies the faces into a sheet as CopyFaces does, then deletes them from the body and
// heals it. `shape` is the healed body, `pieces` the sheet.
Result CutFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces);

}  // namespace hxr::engine
