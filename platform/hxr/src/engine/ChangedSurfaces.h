// The new surface of a face under an offset, a rigid motion or a replacement.
#pragma once

#include <Geom_Surface.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Trsf.hxx>

#include <string>

namespace hxr::engine {

// The face's surface moved by `distance` along the face's outward normal, in the body's
// coordinates: exact for planes, cylinders, cones, spheres and tori, an offset surface
// otherwise. Returns 0, or ErrorFaceInverted when the offset would turn the face inside
// out (a radius at or below zero), with the reason in `detail`.
int OffsetSurface(const TopoDS_Face& face, double distance, Handle(Geom_Surface)& surface,
                  std::string& detail);

// The face's surface moved by the motion.
Handle(Geom_Surface) MovedSurface(const TopoDS_Face& face, const gp_Trsf& motion);

// `replacement` oriented for the face: `outwardSense` says whether its normal points out
// of the body. The result's normal agrees with the face's present surface normal so that
// the face keeps its orientation.
Handle(Geom_Surface) OrientedReplacement(const TopoDS_Face& face,
                                         const Handle(Geom_Surface)& replacement,
                                         bool outwardSense);

}  // namespace hxr::engine
