#include "engine/ShapeChecks.h"

#include "engine/HistoryRecorder.h"
#include "engine/ReshapedFaceCheck.h"

#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_Shell.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>

#include <algorithm>
#include <exception>
#include <utility>

namespace hxr::engine {

double VolumeOf(const TopoDS_Shape& shape) {
  double volume = 0.0;
  for (TopExp_Explorer it(shape, TopAbs_SOLID); it.More(); it.Next()) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(it.Current(), props);
    volume += props.Mass();
  }
  return volume;
}

double AreaOf(const TopoDS_Shape& shape) {
  GProp_GProps props;
  BRepGProp::SurfaceProperties(shape, props);
  return props.Mass();
}

int CountOf(const TopoDS_Shape& shape, TopAbs_ShapeEnum type) {
  TopTools_IndexedMapOfShape map;
  TopExp::MapShapes(shape, type, map);
  return map.Extent();
}

bool ContainsSubShape(const TopoDS_Shape& body, const TopoDS_Shape& sub) {
  if (sub.IsNull() || body.IsNull()) return false;
  for (TopExp_Explorer it(body, sub.ShapeType()); it.More(); it.Next()) {
    if (it.Current().IsSame(sub)) return true;
  }
  return false;
}

bool AllFacesOfBody(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                    std::string& detail) {
  if (faces.empty()) {
    detail = "no faces given";
    return false;
  }
  if (faces.size() > 16) {
    TopTools_IndexedMapOfShape map;
    TopExp::MapShapes(body, TopAbs_FACE, map);
    for (const TopoDS_Shape& face : faces) {
      if (face.IsNull() || face.ShapeType() != TopAbs_FACE || !map.Contains(face)) {
        detail = "a given entity is not a face of the body";
        return false;
      }
    }
    return true;
  }
  // A few faces: one walk over the body's faces that stops once every given face is met,
  // without a map of all of them (a move of one face of a large body asks this of one face).
  std::vector<TopoDS_Shape> missing;
  for (const TopoDS_Shape& face : faces) {
    if (face.IsNull() || face.ShapeType() != TopAbs_FACE) {
      detail = "a given entity is not a face of the body";
      return false;
    }
    missing.push_back(face);
  }
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More() && !missing.empty(); it.Next()) {
    missing.erase(std::remove_if(missing.begin(), missing.end(),
                                 [&](const TopoDS_Shape& face) { return face.IsSame(it.Current()); }),
                  missing.end());
  }
  if (!missing.empty()) {
    detail = "a given entity is not a face of the body";
    return false;
  }
  return true;
}

int CheckChangedShape(const TopoDS_Shape& result, const History& history, std::string& detail) {
  if (result.IsNull()) {
    detail = "no result shape";
    return ErrorAlgorithmFailed;
  }
  TopTools_MapOfShape changed;
  for (const EntityOutcome& outcome : history.faces) {
    if (outcome.fate == Fate::FateUnchanged || outcome.fate == Fate::FateDeleted) continue;
    for (const TopoDS_Shape& product : outcome.products) changed.Add(product);
  }
  for (const TopoDS_Shape& created : history.created) {
    if (created.ShapeType() == TopAbs_FACE) changed.Add(created);
  }
  for (const DerivedEntity& derived : history.derived) {
    if (derived.product.ShapeType() == TopAbs_FACE) changed.Add(derived.product);
  }
  for (TopTools_MapOfShape::Iterator it(changed); it.More(); it.Next()) {
    BRepCheck_Analyzer analyzer(it.Key(), true);
    if (!analyzer.IsValid()) {
      detail = "a changed face is not valid";
      return ErrorInvalidResult;
    }
  }
  return CheckSolids(result, detail);
}

int CheckSolids(const TopoDS_Shape& shape, std::string& detail) {
  for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) {
    for (TopExp_Explorer shell(solid.Current(), TopAbs_SHELL); shell.More(); shell.Next()) {
      BRepCheck_Shell check(TopoDS::Shell(shell.Current()));
      if (check.Closed() != BRepCheck_NoError) {
        detail = "a shell of a solid is open";
        return ErrorInvalidResult;
      }
    }
    const double volume = VolumeOf(solid.Current());
    if (volume <= 0.0) {
      detail = volume < 0.0 ? "a solid turned inside out" : "a solid has no volume";
      return volume < 0.0 ? ErrorFaceInverted : ErrorInvalidResult;
    }
  }
  return ErrorNone;
}

namespace {

Result Finish(History history, const TopoDS_Shape& output, bool reshape,
              const RebuiltWires* rebuilt = nullptr) {
  std::string detail;
  const int error = reshape && !output.IsNull() && KeepsTopology(history)
                        ? CheckReshapedFaces(history, detail, rebuilt)
                        : CheckChangedShape(output, history, detail);
  if (error != ErrorNone) return Result::Failure(error, detail);
  Result result;
  result.history = std::move(history);
  result.ok = true;
  result.shape = output;
  return result;
}

}  // namespace

Result FinishOperation(const TopoDS_Shape& input, const TopoDS_Shape& output,
                       const BRepTools_History& history, const FaceJudge& sameFace) {
  return Finish(RecordHistory(input, output, history, sameFace), output, false);
}

Result FinishReshape(const TopoDS_Shape& input, const TopoDS_Shape& output,
                     const BRepTools_History& history, const FaceJudge& sameFace) {
  return Finish(RecordHistory(input, output, history, sameFace), output, true);
}

Result FinishReshape(const TopoDS_Shape& input, const TopoDS_Shape& output,
                     const std::vector<Replacement>& replaced, const FaceJudge& sameFace,
                     const RebuiltWires* rebuilt) {
  return Finish(RecordReplacements(input, replaced, sameFace), output, true, rebuilt);
}

Result GuardOperation(const std::function<Result()>& body) {
  try {
    return body();
  } catch (const Standard_Failure& failure) {
    return Result::Failure(ErrorAlgorithmFailed,
                           std::string("geometric exception: ") + failure.GetMessageString());
  } catch (const std::exception& failure) {
    return Result::Failure(ErrorAlgorithmFailed, failure.what());
  }
}

}  // namespace hxr::engine
