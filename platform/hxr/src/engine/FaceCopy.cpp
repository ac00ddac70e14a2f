#include "engine/FaceCopy.h"

#include "engine/FaceDelete.h"
#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRep_Builder.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>

#include <numeric>

namespace hxr::engine {
namespace {

int FindRoot(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// Groups the faces of a compound into shells of faces connected through shared edges.
TopoDS_Shape MakeSheet(const TopoDS_Shape& faces) {
  TopTools_IndexedMapOfShape faceMap;
  TopExp::MapShapes(faces, TopAbs_FACE, faceMap);
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
  TopExp::MapShapesAndAncestors(faces, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
  std::vector<int> parent(faceMap.Extent() + 1);
  std::iota(parent.begin(), parent.end(), 0);
  for (int e = 1; e <= edgeFaces.Extent(); ++e) {
    const TopTools_ListOfShape& around = edgeFaces(e);
    const int first = FindRoot(parent, faceMap.FindIndex(around.First()));
    for (TopTools_ListOfShape::Iterator it(around); it.More(); it.Next()) {
      parent[FindRoot(parent, faceMap.FindIndex(it.Value()))] = first;
    }
  }
  BRep_Builder builder;
  std::vector<TopoDS_Shell> shells;
  std::vector<int> shellOfRoot(faceMap.Extent() + 1, -1);
  for (int f = 1; f <= faceMap.Extent(); ++f) {
    const int root = FindRoot(parent, f);
    if (shellOfRoot[root] < 0) {
      shellOfRoot[root] = static_cast<int>(shells.size());
      shells.emplace_back();
      builder.MakeShell(shells.back());
    }
    builder.Add(shells[shellOfRoot[root]], faceMap(f));
  }
  if (shells.size() == 1) return shells.front();
  TopoDS_Compound compound;
  builder.MakeCompound(compound);
  for (const TopoDS_Shell& shell : shells) builder.Add(compound, shell);
  return compound;
}

}  // namespace

Result CopyFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces) {
  std::string detail;
  if (!AllFacesOfBody(body, faces, detail)) return Result::Failure(ErrorBadArgument, detail);
  return GuardOperation([&]() -> Result {
    BRep_Builder builder;
    TopoDS_Compound selection;
    builder.MakeCompound(selection);
    for (const TopoDS_Shape& face : faces) builder.Add(selection, face);
    BRepBuilderAPI_Copy copy(selection, true);
    if (!copy.IsDone()) return Result::Failure(ErrorAlgorithmFailed, "the faces could not be copied");
    const TopoDS_Shape sheet = MakeSheet(copy.Shape());
    if (!BRepCheck_Analyzer(sheet).IsValid()) {
      return Result::Failure(ErrorInvalidResult, "the copied sheet is not valid");
    }
    Result result;
    result.ok = true;
    result.shape = body;
    result.pieces.push_back(sheet);
    result.history = RecordHistory(body, body, BRepTools_History());
    for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
      TopTools_IndexedMapOfShape sources;
      TopExp::MapShapes(selection, type, sources);
      for (int i = 1; i <= sources.Extent(); ++i) {
        result.history.derived.push_back({sources(i), copy.Modified(sources(i)).First()});
      }
    }
    return result;
  });
}

Result CutFaces(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces) {
  Result copied = CopyFaces(body, faces);
  if (!copied.ok) return copied;
  Result healed = DeleteFaces(body, faces);
  if (!healed.ok) return healed;
  healed.pieces = std::move(copied.pieces);
  healed.history.derived = std::move(copied.history.derived);
  return healed;
}

}  // namespace hxr::engine
