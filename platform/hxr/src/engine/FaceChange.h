// Changing many faces of a body in one call: offsets, rigid motions, new surfaces,
// tapers and re-blends.
#pragma once

#include "engine/EngineResult.h"

#include <Geom_Surface.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Dir.hxx>
#include <gp_Trsf.hxx>

#include <vector>

namespace hxr::engine {

class FaceNeighbours;

enum class FaceChangeKind {
  FaceChangeOffset,     // move the face along its outward normal by `distance`
  FaceChangeTransform,  // move the face rigidly by `motion`
  FaceChangeSurface,    // put the face on `surface`
  FaceChangeTaper,      // tilt the face by `taperAngle` about its hinge, pulled along `taperDirection`
  FaceChangeReblend,    // make the blend again with `radius` (0.0 keeps its radius)
};

struct FaceChange {
  TopoDS_Shape face;
  FaceChangeKind kind = FaceChangeKind::FaceChangeOffset;
  double distance = 0.0;
  // An offset measured from another face of the body (a shell partner's opposite side): the
  // face goes onto that face's new surface moved by `distance` along that face's outward
  // normal. Null for an offset of the face from itself.
  TopoDS_Shape referenceFace;
  gp_Trsf motion;
  Handle(Geom_Surface) surface;
  bool outwardSense = true;  // the new surface's normal points out of the body
  gp_Dir taperDirection;
  double taperAngle = 0.0;                // radians
  std::vector<TopoDS_Shape> taperEdges;   // hinge edges: the taper keeps them in place
  double radius = 0.0;
};

// Applies all the changes to the body in one step: the blends to re-make are taken off,
// the offsets, motions and surface changes are made with the neighbours re-intersected
// (the topology stays as it is), the tapers are made, and the blends are made again.
// Each face may be named once. A change that would need faces, edges or vertices to
// appear or vanish, or that turns a face inside out, is an error and the body stays as it
// was; so is a change that did not come out as asked. `neighbours`, when given, is the
// body's own adjacency: the faces around the changed ones are asked of it rather than found
// by a pass over the whole body.
Result ChangeFaces(const TopoDS_Shape& body, const std::vector<FaceChange>& changes,
                   const FaceNeighbours* neighbours = nullptr);

}  // namespace hxr::engine
