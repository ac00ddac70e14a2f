// The checks of a shape that may become a body, beyond its being well formed.
#pragma once

#include <TopoDS_Shape.hxx>

namespace brennik {

// Whether the shape passes OCCT's checks of every sub-shape (vertices on their edges, edges'
// curves agreeing, wires closed and oriented, a face's wires apart and nested, shells closed
// and oriented, solids sound) and every solid encloses a positive volume. Refuses exactly
// what OCCT's whole-shape checker and volume integration refuse: what the per-sub-shape
// checks cannot accept outright is handed to those.
bool ShapeChecksHold(const TopoDS_Shape& shape);

// Whether the per-sub-shape checks accept the shape by themselves (a shape whose every face
// lies in a shell and every edge on a face, its planes' wires nested plainly and its solids'
// volumes clearly positive); false leaves the verdict to OCCT's whole-shape checks.
bool ShapeChecksAcceptOutright(const TopoDS_Shape& shape);

}  // namespace brennik
