// Finding the faces across a thin wall from a face, by geometry alone (for walls that no
// hollowing recorded).
#pragma once

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// The faces of the solid body that face `face` across a wall: for a plane, parallel planes
// whose outward normal is opposite; for a cylinder or a sphere, coaxial cylinders or
// concentric spheres on the other side of the material. A partner overlaps the face when
// seen across the wall, the material between them belongs to the body, and the wall is at
// most `maxThickness` thick. When several faces qualify, those at the smallest distance are
// the partners, in the body's order. False, with `partners` empty and `thickness` 0, when
// the face has none.
bool FindShellPartners(const TopoDS_Shape& body, const TopoDS_Shape& face, double maxThickness,
                       std::vector<TopoDS_Shape>& partners, double& thickness);

// The two sides of the wall through `face`: the faces across from it (its partners) and
// the faces on its own side (every face that one of those partners faces; `face` among
// them), each in the body's order. False, with both lists empty and `thickness` 0, when the
// face has no partners.
bool FindShellSides(const TopoDS_Shape& body, const TopoDS_Shape& face, double maxThickness,
                    std::vector<TopoDS_Shape>& sameSide, std::vector<TopoDS_Shape>& oppositeSide,
                    double& thickness);

}  // namespace hxr::engine
