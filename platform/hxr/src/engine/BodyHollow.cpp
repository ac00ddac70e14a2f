#include "engine/BodyHollow.h"

#include "engine/ShapeChecks.h"

#include <BRepAlgo_Image.hxx>
#include <BRepOffset_MakeOffset.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>

namespace hxr::engine {

Result HollowBody(const TopoDS_Shape& body, const HollowOptions& options) {
  const bool outward = options.outward > 0.0, inward = options.inward > 0.0;
  if (outward == inward) {
    return Result::Failure(outward ? ErrorUnsupported : ErrorBadArgument,
                           "exactly one of the outward and inward thickness must be given");
  }
  std::string detail;
  if (!options.pierceFaces.empty() && !AllFacesOfBody(body, options.pierceFaces, detail)) {
    return Result::Failure(ErrorBadArgument, detail);
  }
  for (const auto& [face, thickness] : options.faceThicknesses) {
    if (!AllFacesOfBody(body, {face}, detail) || thickness <= 0.0) {
      return Result::Failure(ErrorBadArgument, "a face thickness is not for a face of the body");
    }
  }
  return GuardOperation([&]() -> Result {
    const double sign = outward ? 1.0 : -1.0;
    BRepOffset_MakeOffset maker;
    maker.Initialize(body, sign * (outward ? options.outward : options.inward), options.tolerance,
                     BRepOffset_Skin, false, false, GeomAbs_Intersection, false, false);
    for (const TopoDS_Shape& face : options.pierceFaces) maker.AddFace(TopoDS::Face(face));
    for (const auto& [face, thickness] : options.faceThicknesses) {
      maker.SetOffsetOnFace(TopoDS::Face(face), sign * thickness);
    }
    maker.MakeThickSolid();
    if (!maker.IsDone()) return Result::Failure(ErrorAlgorithmFailed, "the walls could not be made");

    TopTools_ListOfShape arguments;
    arguments.Append(body);
    const BRepTools_History history(arguments, maker);
    Result result = FinishOperation(body, maker.Shape(), history);
    if (!result.ok) return result;

    TopTools_IndexedMapOfShape resultFaces;
    TopExp::MapShapes(result.shape, TopAbs_FACE, resultFaces);
    const BRepAlgo_Image& offsetImages = maker.OffsetFacesFromShapes();
    for (const EntityOutcome& outcome : result.history.faces) {
      if (outcome.products.size() != 1 || !offsetImages.HasImage(outcome.source)) continue;
      for (TopTools_ListOfShape::Iterator it(offsetImages.Image(outcome.source)); it.More();
           it.Next()) {
        // The partner as the result holds it, with its orientation in the wall.
        const int index = resultFaces.FindIndex(it.Value());
        if (index > 0 && !it.Value().IsSame(outcome.products[0])) {
          result.shellPartners.emplace_back(outcome.products[0], resultFaces(index));
        }
      }
    }
    return result;
  });
}

}  // namespace hxr::engine
