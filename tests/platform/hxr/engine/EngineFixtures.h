// Small exact shapes and lookups for the engine's contract tests and benchmarks.
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Dir.hxx>

#include <vector>

namespace hxr::engine::fixtures {

// An axis-aligned box from `corner` with the given sizes.
TopoDS_Shape Box(double dx, double dy, double dz, const gp_Pnt& corner = gp_Pnt(0, 0, 0));
// An L-shaped prism: profile (0,0) (10,0) (10,4) (4,4) (4,10) (0,10) in XZ, 5 deep in Y.
// Its step face is the face at z = 4 facing +Z. Volume 320.
TopoDS_Shape LPrism();
// A 10 x 10 x 10 block whose edge along X at y = 0, z = 10 is blended with `radius`.
TopoDS_Shape BlendedBlock(double radius);
// The block with its edge along X at y = 0, z = 10 blended with `first` and its edge
// along Z at x = 0, y = 0 with `second`, in one blending step.
TopoDS_Shape TwoBlendBlock(double first, double second);
// The block with its edge along X at y = 0, z = 10 blended with `first` and the opposite
// edge along X at y = 10, z = 0 with `second`: two blends that do not meet.
TopoDS_Shape OppositeBlendBlock(double first, double second);
// A plate `size` x `size` x `thickness` with `perSide` x `perSide` through holes of `radius`.
TopoDS_Shape HolePlate(int perSide, double size, double thickness, double radius);

// The planar face whose outward normal is `normal` and whose plane holds `point`.
TopoDS_Face PlanarFace(const TopoDS_Shape& body, const gp_Dir& normal, const gp_Pnt& point);
// The faces on cylinders (or tori) of the body, in the body's order.
std::vector<TopoDS_Face> CurvedFaces(const TopoDS_Shape& body);
// The outward normal of a planar face and the signed distance of its plane from the origin.
gp_Dir OutwardNormal(const TopoDS_Face& face);
double PlaneOffset(const TopoDS_Face& face);
// The radius of a cylindrical face.
double CylinderRadius(const TopoDS_Shape& face);
// The one product of an input face in a history (null when it has none or several).
TopoDS_Face ProductFace(const History& history, const TopoDS_Shape& source);

}  // namespace hxr::engine::fixtures
