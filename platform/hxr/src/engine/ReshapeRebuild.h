// Builds the result of a change of face surfaces from the entities it changed alone. The
// modification has worked out every new surface, curve, point and parameter; what it moved
// is made anew here, and every face, wire, edge and vertex it left as it was is shared with
// the body, so that a change that moves one face of a large body costs what that face and
// its neighbours do.
#pragma once

#include "engine/FaceSurfaceModification.h"
#include "engine/HistoryRecorder.h"
#include "engine/ReshapedFaceCheck.h"

#include <TopTools_DataMapOfShapeShape.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <utility>
#include <vector>

namespace hxr::engine {

// What a rebuild made: the new body, each entity it replaced with its replacement (faces as
// the body holds them, then edges, then vertices, each in the order the body meets them),
// and each face rebuilt in part by the wires made anew in it.
struct ReshapeProducts {
  TopoDS_Shape shape;
  std::vector<Replacement> replaced;
  RebuiltWires rebuiltWires;
};

// Rebuilds `body` under `modification`, prepared on a shape holding `faces`: each pair is a
// face of the body and the face the modification saw (the same face, or a copy of it cut down
// to some of its wires), and every face around an edge or a vertex the modification moves
// must be among them. False, with nothing made, for what the rebuild does not build (a
// degenerated edge that would need a new place, a parameter curve the modification could
// not make): the caller then runs the general modifier.
bool RebuildReshaped(const TopoDS_Shape& body, const std::vector<std::pair<TopoDS_Face, TopoDS_Face>>& faces,
                     FaceSurfaceModification& modification, ReshapeProducts& products);

// The body with some of its faces replaced (each key as the body holds it, by the face to
// put in its place, also as the body is to hold it), made by copying only the shells, solids
// and compounds above a replaced face; everything else is shared with the body.
TopoDS_Shape ReplaceFaces(const TopoDS_Shape& shape, const TopTools_DataMapOfShapeShape& replaced);

}  // namespace hxr::engine
