// The checks of a shape that may become a body, beyond its being well formed.
#pragma once

#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Shape.hxx>

namespace brennik {

// A shape's faces, edges and vertices, each once, in the order TopExp::MapShapes finds them:
// the checks map them anyway, and whoever builds a body of the shape next needs the same maps.
struct SubShapeMaps {
  TopTools_IndexedMapOfShape faces, edges, vertices;
};

// Whether the shape passes OCCT's checks of every sub-shape (vertices on their edges, edges'
// curves agreeing, wires closed and oriented, a face's wires apart and nested, shells closed
// and oriented, solids sound) and every solid encloses a positive volume. Refuses exactly
// what OCCT's whole-shape checker and volume integration refuse: what the per-sub-shape
// checks cannot accept outright is handed to those.
bool ShapeChecksHold(const TopoDS_Shape& shape, SubShapeMaps* maps = nullptr);

// Whether the per-sub-shape checks accept the shape by themselves (a shape whose every face
// lies in a shell and every edge on a face, its planes' wires nested plainly and its solids'
// volumes clearly positive); false leaves the verdict to OCCT's whole-shape checks.
bool ShapeChecksAcceptOutright(const TopoDS_Shape& shape, SubShapeMaps* maps = nullptr);

}  // namespace brennik
