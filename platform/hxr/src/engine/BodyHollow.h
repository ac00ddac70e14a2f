// Hollowing a solid into a thin-walled body.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <utility>
#include <vector>

namespace hxr::engine {

struct HollowOptions {
  double outward = 0.0;  // wall thickness added outside the body
  double inward = 0.0;   // wall thickness taken from inside the body
  std::vector<TopoDS_Shape> pierceFaces;  // faces removed so that the hollow opens there
  // Faces whose wall differs from the common thickness: (face, its own thickness).
  std::vector<std::pair<TopoDS_Shape, double>> faceThicknesses;
  // Faces that bound a local hollow (hollow only there, or everywhere but there). Not
  // supported yet: a hollow given local faces is refused rather than made whole.
  std::vector<TopoDS_Shape> localFaces;
  double tolerance = 1e-6;
};

// Makes the walls of the body. With the thickness all inward (or all outward) the body's
// faces are one side of the wall and their offsets the other; with both, the body is first
// grown by the outward part and its grown faces are the outer side. `shellPartners` pairs
// each face of that side with its partner across the wall.
Result HollowBody(const TopoDS_Shape& body, const HollowOptions& options);

}  // namespace hxr::engine
