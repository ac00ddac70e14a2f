// Turns OCCT's record of what an algorithm did into the engine's history.
#pragma once

#include "engine/EngineResult.h"

#include <BRepTools_History.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <functional>
#include <utility>
#include <vector>

namespace hxr::engine {

// Classifies every face, edge and vertex of `input` by what `history` says became of
// it in `result`: images that are not in the result are ignored, several images make a
// split, several inputs with one common image a merge, no image a delete. An entity
// rebuilt with the same geometry and boundary counts as unchanged. Result entities that
// are no input entity's image are listed as created.
History RecordHistory(const TopoDS_Shape& input, const TopoDS_Shape& result,
                      const BRepTools_History& history);

// As above, with a face rebuilt as one face judged unchanged or not by `sameFace` (an
// operation that knows what it changed answers without measuring the faces).
using FaceJudge = std::function<bool(const TopoDS_Face& source, const TopoDS_Face& product)>;
History RecordHistory(const TopoDS_Shape& input, const TopoDS_Shape& result,
                      const BRepTools_History& history, const FaceJudge& sameFace);

// An entity of an input and the one entity it became.
using Replacement = std::pair<TopoDS_Shape, TopoDS_Shape>;

// The history of an operation that gave some entities of `input` one new entity each, all of
// them in its result, and kept every other entity as it was: only the `replaced` pairs are
// classified, in their order (faces judged by `sameFace` when given; several entities with
// one image merged), and the rest of the input is implied unchanged. It costs what the pairs
// do, not what the body does.
History RecordReplacements(const TopoDS_Shape& input, const std::vector<Replacement>& replaced,
                           const FaceJudge& sameFace);

// Adds to `record` the result faces, edges and vertices that came from `other` (a tool
// body or copied faces), as derived entities, in the order of `other`'s entities, and
// removes them from the created list.
void RecordDerived(const TopoDS_Shape& other, const TopoDS_Shape& result,
                   const BRepTools_History& history, History& record);

// The history of two operations run one after the other, for the faces, edges and
// vertices of `input` (the argument of the first).
BRepTools_History ComposeHistories(const TopoDS_Shape& input, const BRepTools_History& first,
                                   const BRepTools_History& second);

// The entities that `source` became under `history`: none when removed, itself when the
// history does not know it.
std::vector<TopoDS_Shape> ImagesOf(const BRepTools_History& history, const TopoDS_Shape& source);

// True when two faces, edges or vertices have the same geometry and boundary.
bool IsSameGeometry(const TopoDS_Shape& a, const TopoDS_Shape& b);

}  // namespace hxr::engine
