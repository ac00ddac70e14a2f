// Blend faces: recognising them, re-making them with a new radius, and re-making two
// chains in the other order.
#pragma once

#include "engine/EngineResult.h"

#include <BRepTools_History.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <string>
#include <vector>

namespace hxr::engine {

struct BlendInfo {
  TopoDS_Face face;         // the blend face of the body
  double radius = 0.0;      // its present radius
  TopoDS_Face supports[2];  // the two faces it runs between, tangent to it
};

// Recognises a blend: a cylindrical or toroidal face tangent to exactly two neighbours
// that are not themselves in `alsoRemoved`. False, with the reason, for any other face.
bool IdentifyBlend(const TopoDS_Shape& body, const TopoDS_Shape& face,
                   const std::vector<TopoDS_Shape>& alsoRemoved, BlendInfo& info,
                   std::string& detail);

// The corner patches among and around the blends: faces that are no edge blend and meet,
// tangent, only blends of the list along every edge (the vertex blend where blends meet).
// A patch given in `blendFaces` is taken out of it; every patch found is returned.
std::vector<TopoDS_Shape> TakeCornerPatches(const TopoDS_Shape& body,
                                            std::vector<TopoDS_Shape>& blendFaces);

// Blends again, in `shape`, the edges where the images (under `history`, which runs from
// `original`) of each blend's two supports meet, each with its radius from `radii` (0.0
// keeps the blend's present radius). Updates `shape` and `history`; `newFaces[i]` gets
// the faces made for blend i; `earlierFaces`, when given, faces made by an earlier call,
// which the new blends may roll over, is brought up to date. Returns 0 or an error with
// its reason.
int BlendSupports(const TopoDS_Shape& original, TopoDS_Shape& shape, BRepTools_History& history,
                  const std::vector<BlendInfo>& blends, const std::vector<double>& radii,
                  std::vector<std::vector<TopoDS_Shape>>& newFaces, std::string& detail,
                  std::vector<std::vector<TopoDS_Shape>>* earlierFaces = nullptr,
                  BRepTools_History* blendStep = nullptr);
// `blendStep`, when given, gets the history of the blending alone.

// Records in the history that each blend face became the faces made for it (instead of
// being deleted while new faces appeared).
void RelinkBlends(History& history, const std::vector<BlendInfo>& blends,
                  const std::vector<std::vector<TopoDS_Shape>>& newFaces);
// Records that each corner patch became the faces the blending made at its corner: the
// result's faces that are neither images of the body's faces nor blend faces, each given to
// the nearest patch.
void RelinkCornerPatches(History& history, const TopoDS_Shape& result,
                         const std::vector<TopoDS_Shape>& patches);

// Takes off the two chains of blends and makes them again, the first chain, then the second
// on the body that already carries the first: where they meet, the second now rolls over the
// first, and a sharp edge it runs on to from there is blended only as far as the meeting
// reaches.
Result ReorderBlends(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& firstChain,
                     const std::vector<TopoDS_Shape>& secondChain);

}  // namespace hxr::engine
