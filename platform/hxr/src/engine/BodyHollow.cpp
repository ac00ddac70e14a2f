#include "engine/BodyHollow.h"

#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgo_Image.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepOffset_MakeOffset.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>

#include <memory>

namespace hxr::engine {
namespace {

// A face's own offset, in the shape one step works on.
struct FaceOffset {
  TopoDS_Shape face;
  double offset;
};

// The one face that `face` of the body became in `shape` (itself before any step).
bool ImageFace(const BRepTools_History& history, const TopoDS_Shape& shape,
               const TopoDS_Shape& face, TopoDS_Shape& image) {
  int found = 0;
  for (const TopoDS_Shape& candidate : ImagesOf(history, face)) {
    if (ContainsSubShape(shape, candidate)) {
      image = candidate;
      ++found;
    }
  }
  return found == 1;
}

// Offsets the whole shape (thick = false) or makes its walls (thick = true), with the
// given faces offset by their own amounts and the pierce faces opened.
int OffsetStep(const TopoDS_Shape& shape, double offset, bool thick,
               const std::vector<TopoDS_Shape>& pierce, const std::vector<FaceOffset>& own,
               double tolerance, std::unique_ptr<BRepOffset_MakeOffset>& maker, std::string& detail) {
  maker = std::make_unique<BRepOffset_MakeOffset>();
  maker->Initialize(shape, offset, tolerance, BRepOffset_Skin, false, false, GeomAbs_Intersection,
                    false, false);
  for (const TopoDS_Shape& face : pierce) maker->AddFace(TopoDS::Face(face));
  for (const FaceOffset& face : own) maker->SetOffsetOnFace(TopoDS::Face(face.face), face.offset);
  if (thick) {
    maker->MakeThickSolid();
  } else {
    maker->MakeOffsetShape();
  }
  if (!maker->IsDone()) {
    detail = thick ? "the walls could not be made" : "the body could not be grown outwards";
    return ErrorAlgorithmFailed;
  }
  return ErrorNone;
}

// What the step made of each entity; a grown face is recorded as the face it grew into
// (the offset algorithm lists it among the offset images rather than as modified).
BRepTools_History StepHistory(const TopoDS_Shape& shape, BRepOffset_MakeOffset& maker) {
  TopTools_ListOfShape arguments;
  arguments.Append(shape);
  BRepTools_History history(arguments, maker);
  TopTools_IndexedMapOfShape faces, made;
  TopExp::MapShapes(shape, TopAbs_FACE, faces);
  TopExp::MapShapes(maker.Shape(), TopAbs_FACE, made);
  const BRepAlgo_Image& images = maker.OffsetFacesFromShapes();
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Shape& face = faces(i);
    if (!history.Modified(face).IsEmpty() || made.Contains(face) || !images.HasImage(face)) continue;
    for (TopTools_ListOfShape::Iterator it(images.Image(face)); it.More(); it.Next()) {
      if (made.Contains(it.Value())) history.AddModified(face, it.Value());
    }
  }
  return history;
}

int CountShells(const TopoDS_Shape& shape) {
  int count = 0;
  for (TopExp_Explorer it(shape, TopAbs_SHELL); it.More(); it.Next()) ++count;
  return count;
}

}  // namespace

Result HollowBody(const TopoDS_Shape& body, const HollowOptions& options) {
  const double outward = options.outward, inward = options.inward;
  if (outward < 0.0 || inward < 0.0 || outward + inward <= 0.0) {
    return Result::Failure(ErrorBadArgument, "the wall thickness must be above zero");
  }
  if (!options.localFaces.empty()) {
    return Result::Failure(ErrorUnsupported, "local hollows are not supported");
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
    const double total = outward + inward;
    std::string why;
    // The offset algorithm raises tolerances of the shape it is given in place: it works
    // on a copy so that the caller's body stays as it was.
    BRepBuilderAPI_Copy copy(body, true);
    TopTools_ListOfShape original;
    original.Append(body);
    BRepTools_History history(original, copy);
    TopoDS_Shape shape = copy.Shape();
    std::unique_ptr<BRepOffset_MakeOffset> maker;

    // A wall that grows outwards as well: grow the body first (each face by its share of
    // its wall), then hollow the grown body by the whole thickness.
    if (outward > 0.0 && inward > 0.0) {
      std::vector<FaceOffset> own;
      for (const auto& [face, thickness] : options.faceThicknesses) {
        own.push_back({face, thickness * outward / total});
      }
      for (FaceOffset& face : own) {
        TopoDS_Shape image;
        if (!ImageFace(history, shape, face.face, image)) {
          return Result::Failure(ErrorAlgorithmFailed, "a face was lost copying the body");
        }
        face.face = image;
      }
      const TopoDS_Shape copied = shape;
      const int error = OffsetStep(copied, outward, false, {}, own, options.tolerance, maker, why);
      if (error != ErrorNone) return Result::Failure(error, why);
      history = ComposeHistories(body, history, StepHistory(copied, *maker));
      shape = maker->Shape();
    }
    std::vector<TopoDS_Shape> pierce;
    for (const TopoDS_Shape& face : options.pierceFaces) {
      TopoDS_Shape image;
      if (!ImageFace(history, shape, face, image)) {
        return Result::Failure(ErrorTopologyChangeNeeded, "a pierce face did not survive growing");
      }
      pierce.push_back(image);
    }
    std::vector<FaceOffset> own;
    const double sign = inward > 0.0 ? -1.0 : 1.0;
    for (const auto& [face, thickness] : options.faceThicknesses) {
      TopoDS_Shape image;
      if (!ImageFace(history, shape, face, image)) {
        return Result::Failure(ErrorTopologyChangeNeeded, "a face did not survive growing");
      }
      own.push_back({image, sign * thickness});
    }
    const TopoDS_Shape walled = shape;
    const int error = OffsetStep(walled, sign * total, true, pierce, own, options.tolerance, maker, why);
    if (error != ErrorNone) return Result::Failure(error, why);
    history = ComposeHistories(body, history, StepHistory(walled, *maker));

    // With nothing opened the walls enclose a void: the offset algorithm then gives the
    // inner wall alone, which is no hollow of the body.
    if (pierce.empty() && CountShells(maker->Shape()) < 2) {
      return Result::Failure(ErrorUnsupported, "a closed body cannot be hollowed without an opening");
    }
    Result result = FinishOperation(body, maker->Shape(), history);
    if (!result.ok) return result;

    // Each face of the original side and its offset across the wall, as the result
    // holds them (with their orientation in the wall).
    TopTools_IndexedMapOfShape resultFaces;
    TopExp::MapShapes(result.shape, TopAbs_FACE, resultFaces);
    const BRepAlgo_Image& offsetImages = maker->OffsetFacesFromShapes();
    for (const EntityOutcome& outcome : result.history.faces) {
      if (outcome.products.size() != 1) continue;
      const TopoDS_Shape& side = outcome.products[0];
      if (!offsetImages.HasImage(side)) continue;
      for (TopTools_ListOfShape::Iterator it(offsetImages.Image(side)); it.More(); it.Next()) {
        const int index = resultFaces.FindIndex(it.Value());
        if (index > 0 && !it.Value().IsSame(side)) {
          result.shellPartners.emplace_back(side, resultFaces(index));
        }
      }
    }
    return result;
  });
}

}  // namespace hxr::engine
