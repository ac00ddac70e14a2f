// The check of a change that keeps the body's topology and only reshapes faces: new
// surfaces for some faces, their neighbours re-intersected. Such a change cannot open a
// shell or add or remove an entity; what it can break is the geometry of the faces and
// edges it touched. Those are checked here, and only those.
#pragma once

#include "engine/EngineResult.h"

#include <TopTools_DataMapOfShapeShape.hxx>
#include <TopoDS_Face.hxx>

#include <string>
#include <utility>
#include <vector>

namespace hxr::engine {

// True when `history` maps every face, edge and vertex onto exactly one result entity
// with none created, merged or split: the only histories the check below may judge.
bool KeepsTopology(const History& history);

// Checks the faces that `history` lists as modified, with their rebuilt edges and
// vertices: each rebuilt edge lies on its 3D curve in every face it bounds, within its
// tolerance, and ends on its vertices; no two boundary curves of a changed face cross;
// every wire of a changed face closes and runs the way an outer boundary or a hole must
// (a face whose wires ran otherwise before the change may keep doing so); every hole lies
// inside the outer boundary and outside the other holes. A face whose boundary this check
// cannot judge (an edge without a parameter curve, curves not laid out on one range) gets
// the kernel's full face check instead. Returns ErrorNone, or ErrorInvalidResult with a
// reason in `detail`.
//
// A change that rebuilt only some wires of a face may say which in `rebuilt`: the face as the
// result holds it, by a face holding only the wires made anew (the others are wires the face
// had), so that a face with many holes is not searched for them.
using RebuiltWires = TopTools_DataMapOfShapeShape;
int CheckReshapedFaces(const History& history, std::string& detail,
                       const RebuiltWires* rebuilt = nullptr);

// The same check of faces rebuilt from edges they already had (a face that lost some of its
// holes): each pair is (face before, face after), and no edge counts as changed.
int CheckRebuiltFaces(const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
                      std::string& detail);

}  // namespace hxr::engine
