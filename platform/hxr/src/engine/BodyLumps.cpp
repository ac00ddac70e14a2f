#include "engine/BodyLumps.h"

#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRep_Builder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Compound.hxx>

namespace hxr::engine {
namespace {

std::vector<TopoDS_Shape> LumpsOf(const TopoDS_Shape& body) {
  std::vector<TopoDS_Shape> lumps;
  for (TopExp_Explorer it(body, TopAbs_SOLID); it.More(); it.Next()) lumps.push_back(it.Current());
  for (TopExp_Explorer it(body, TopAbs_SHELL, TopAbs_SOLID); it.More(); it.Next()) {
    lumps.push_back(it.Current());
  }
  return lumps;
}

TopoDS_Compound MakeCompound(const std::vector<TopoDS_Shape>& shapes) {
  BRep_Builder builder;
  TopoDS_Compound compound;
  builder.MakeCompound(compound);
  for (const TopoDS_Shape& shape : shapes) builder.Add(compound, shape);
  return compound;
}

}  // namespace

Result DisjoinBody(const TopoDS_Shape& body) {
  if (body.IsNull()) return Result::Failure(ErrorBadArgument, "no body");
  Result result;
  result.pieces = LumpsOf(body);
  if (result.pieces.empty()) return Result::Failure(ErrorBadArgument, "the body has no lumps");
  result.ok = true;
  result.shape = body;
  result.history = RecordHistory(body, MakeCompound(result.pieces), BRepTools_History());
  return result;
}

Result RejoinBodies(const std::vector<TopoDS_Shape>& bodies) {
  std::vector<TopoDS_Shape> lumps;
  for (const TopoDS_Shape& body : bodies) {
    if (body.IsNull()) return Result::Failure(ErrorBadArgument, "no body");
    for (const TopoDS_Shape& lump : LumpsOf(body)) lumps.push_back(lump);
  }
  if (bodies.size() < 2) return Result::Failure(ErrorBadArgument, "at least two bodies are needed");
  return GuardOperation([&]() -> Result {
    for (size_t i = 0; i < lumps.size(); ++i) {
      for (size_t j = i + 1; j < lumps.size(); ++j) {
        if (lumps[i].ShapeType() != TopAbs_SOLID || lumps[j].ShapeType() != TopAbs_SOLID) continue;
        BRepAlgoAPI_Common common(lumps[i], lumps[j]);
        if (common.IsDone() && VolumeOf(common.Shape()) > 1e-9) {
          return Result::Failure(ErrorBadArgument, "the bodies overlap");
        }
      }
    }
    const TopoDS_Compound joined = MakeCompound(lumps);
    Result result;
    result.ok = true;
    result.shape = joined;
    result.history = RecordHistory(MakeCompound(bodies), joined, BRepTools_History());
    return result;
  });
}

}  // namespace hxr::engine
