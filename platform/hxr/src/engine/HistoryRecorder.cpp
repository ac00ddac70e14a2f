#include "engine/HistoryRecorder.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepGProp.hxx>
#include <BRep_Tool.hxx>
#include <BRepLProp_SLProps.hxx>
#include <BRepTools.hxx>
#include <GProp_GProps.hxx>
#include <NCollection_DataMap.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>

#include <algorithm>
#include <cmath>

namespace hxr::engine {
namespace {

constexpr double kPointTolerance = 1e-7;

int CountSubShapes(const TopoDS_Shape& shape, TopAbs_ShapeEnum type) {
  TopTools_IndexedMapOfShape map;
  TopExp::MapShapes(shape, type, map);
  return map.Extent();
}

bool SameVertex(const TopoDS_Vertex& a, const TopoDS_Vertex& b) {
  return BRep_Tool::Pnt(a).Distance(BRep_Tool::Pnt(b)) <= kPointTolerance;
}

bool SameEdge(const TopoDS_Edge& a, const TopoDS_Edge& b) {
  if (BRep_Tool::Degenerated(a) != BRep_Tool::Degenerated(b)) return false;
  if (BRep_Tool::Degenerated(a)) {
    return SameVertex(TopExp::FirstVertex(a), TopExp::FirstVertex(b));
  }
  BRepAdaptor_Curve ca(a), cb(b);
  if (ca.GetType() != cb.GetType()) return false;
  const gp_Pnt a1 = ca.Value(ca.FirstParameter()), a2 = ca.Value(ca.LastParameter());
  const gp_Pnt b1 = cb.Value(cb.FirstParameter()), b2 = cb.Value(cb.LastParameter());
  const bool ends = (a1.Distance(b1) <= kPointTolerance && a2.Distance(b2) <= kPointTolerance) ||
                    (a1.Distance(b2) <= kPointTolerance && a2.Distance(b1) <= kPointTolerance);
  if (!ends) return false;
  const gp_Pnt am = ca.Value(0.5 * (ca.FirstParameter() + ca.LastParameter()));
  const gp_Pnt bm = cb.Value(0.5 * (cb.FirstParameter() + cb.LastParameter()));
  return am.Distance(bm) <= 1e-6;
}

bool SameFace(const TopoDS_Face& a, const TopoDS_Face& b) {
  BRepAdaptor_Surface sa(a, false), sb(b, false);
  if (sa.GetType() != sb.GetType()) return false;
  if (CountSubShapes(a, TopAbs_EDGE) != CountSubShapes(b, TopAbs_EDGE)) return false;
  GProp_GProps pa, pb;
  BRepGProp::SurfaceProperties(a, pa);
  BRepGProp::SurfaceProperties(b, pb);
  const double area = std::max(std::abs(pa.Mass()), 1.0);
  if (std::abs(pa.Mass() - pb.Mass()) > 1e-9 * area) return false;
  if (pa.CentreOfMass().Distance(pb.CentreOfMass()) > 1e-6) return false;
  // The same area and centre on surfaces of one kind: compare the oriented normals at
  // the parameters of a point of each face.
  double u1, u2, v1, v2;
  BRepTools::UVBounds(a, u1, u2, v1, v2);
  BRepLProp_SLProps la(sa, 0.5 * (u1 + u2), 0.5 * (v1 + v2), 1, 1e-9);
  BRepTools::UVBounds(b, u1, u2, v1, v2);
  BRepLProp_SLProps lb(sb, 0.5 * (u1 + u2), 0.5 * (v1 + v2), 1, 1e-9);
  if (!la.IsNormalDefined() || !lb.IsNormalDefined()) return true;
  gp_Dir na = la.Normal(), nb = lb.Normal();
  if (a.Orientation() == TopAbs_REVERSED) na.Reverse();
  if (b.Orientation() == TopAbs_REVERSED) nb.Reverse();
  if (sa.GetType() == GeomAbs_Plane) return na.Angle(nb) <= 1e-9;
  return true;
}

const TopAbs_ShapeEnum kTypes[3] = {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX};

std::vector<EntityOutcome>& OutcomesOf(History& record, TopAbs_ShapeEnum type) {
  if (type == TopAbs_FACE) return record.faces;
  if (type == TopAbs_EDGE) return record.edges;
  return record.vertices;
}

// The images of `source` that are entities of the result, in the result's order.
std::vector<int> ImagesInResult(const TopoDS_Shape& source, const BRepTools_History& history,
                                const TopTools_IndexedMapOfShape& resultMap) {
  std::vector<int> images;
  if (!history.IsRemoved(source)) {
    for (TopTools_ListOfShape::Iterator it(history.Modified(source)); it.More(); it.Next()) {
      const int index = resultMap.FindIndex(it.Value());
      if (index > 0) images.push_back(index);
    }
    if (images.empty()) {
      const int self = resultMap.FindIndex(source);
      if (self > 0) images.push_back(self);
    }
  }
  std::sort(images.begin(), images.end());
  images.erase(std::unique(images.begin(), images.end()), images.end());
  return images;
}

}  // namespace

bool IsSameGeometry(const TopoDS_Shape& a, const TopoDS_Shape& b) {
  if (a.ShapeType() != b.ShapeType()) return false;
  if (a.IsSame(b)) return true;
  switch (a.ShapeType()) {
    case TopAbs_VERTEX: return SameVertex(TopoDS::Vertex(a), TopoDS::Vertex(b));
    case TopAbs_EDGE: return SameEdge(TopoDS::Edge(a), TopoDS::Edge(b));
    case TopAbs_FACE: return SameFace(TopoDS::Face(a), TopoDS::Face(b));
    default: return false;
  }
}

History RecordHistory(const TopoDS_Shape& input, const TopoDS_Shape& result,
                      const BRepTools_History& history) {
  return RecordHistory(input, result, history, nullptr);
}

History RecordHistory(const TopoDS_Shape& input, const TopoDS_Shape& result,
                      const BRepTools_History& history, const FaceJudge& sameFace) {
  auto unchanged = [&sameFace](const TopoDS_Shape& source, const TopoDS_Shape& product) {
    if (sameFace && source.ShapeType() == TopAbs_FACE && !source.IsSame(product)) {
      return sameFace(TopoDS::Face(source), TopoDS::Face(product));
    }
    return IsSameGeometry(source, product);
  };
  History record;
  for (TopAbs_ShapeEnum type : kTypes) {
    TopTools_IndexedMapOfShape inputMap, resultMap;
    TopExp::MapShapes(input, type, inputMap);
    if (!result.IsNull()) TopExp::MapShapes(result, type, resultMap);

    std::vector<std::vector<int>> images(inputMap.Extent());
    std::vector<int> sourcesPerImage(resultMap.Extent() + 1, 0);  // by index in the result
    for (int i = 1; i <= inputMap.Extent(); ++i) {
      images[i - 1] = ImagesInResult(inputMap(i), history, resultMap);
      if (images[i - 1].size() == 1) ++sourcesPerImage[images[i - 1][0]];
    }

    std::vector<bool> used(resultMap.Extent() + 1, false);
    std::vector<EntityOutcome>& outcomes = OutcomesOf(record, type);
    outcomes.reserve(inputMap.Extent());
    for (int i = 1; i <= inputMap.Extent(); ++i) {
      EntityOutcome outcome;
      outcome.source = inputMap(i);
      for (int index : images[i - 1]) {
        outcome.products.push_back(resultMap(index));
        used[index] = true;
      }
      if (outcome.products.empty()) {
        outcome.fate = Fate::FateDeleted;
      } else if (outcome.products.size() > 1) {
        outcome.fate = Fate::FateSplit;
      } else if (sourcesPerImage[images[i - 1][0]] > 1) {
        outcome.fate = Fate::FateMerged;
      } else {
        outcome.fate = unchanged(outcome.source, outcome.products[0]) ? Fate::FateUnchanged
                                                                       : Fate::FateModified;
      }
      outcomes.push_back(std::move(outcome));
    }
    for (int index = 1; index <= resultMap.Extent(); ++index) {
      if (!used[index]) record.created.push_back(resultMap(index));
    }
  }
  return record;
}

History RecordReplacements(const TopoDS_Shape& input, const std::vector<Replacement>& replaced,
                           const FaceJudge& sameFace) {
  NCollection_DataMap<TopoDS_Shape, int, TopTools_ShapeMapHasher> sourcesPerImage;
  for (const auto& [source, image] : replaced) {
    if (int* count = sourcesPerImage.ChangeSeek(image)) {
      ++*count;
    } else {
      sourcesPerImage.Bind(image, 1);
    }
  }
  History record;
  record.input = input;
  for (const auto& [source, image] : replaced) {
    EntityOutcome outcome{source, Fate::FateModified, {image}};
    if (sourcesPerImage.Find(image) > 1) {
      outcome.fate = Fate::FateMerged;
    } else if (source.IsSame(image) ||
               (sameFace && source.ShapeType() == TopAbs_FACE
                    ? sameFace(TopoDS::Face(source), TopoDS::Face(image))
                    : IsSameGeometry(source, image))) {
      outcome.fate = Fate::FateUnchanged;
    }
    OutcomesOf(record, source.ShapeType()).push_back(std::move(outcome));
  }
  return record;
}

std::vector<TopoDS_Shape> ImagesOf(const BRepTools_History& history, const TopoDS_Shape& source) {
  std::vector<TopoDS_Shape> images;
  if (history.IsRemoved(source)) return images;
  for (TopTools_ListOfShape::Iterator it(history.Modified(source)); it.More(); it.Next()) {
    images.push_back(it.Value());
  }
  if (images.empty()) images.push_back(source);
  return images;
}

BRepTools_History ComposeHistories(const TopoDS_Shape& input, const BRepTools_History& first,
                                   const BRepTools_History& second) {
  BRepTools_History composed;
  for (TopAbs_ShapeEnum type : kTypes) {
    TopTools_IndexedMapOfShape inputMap;
    TopExp::MapShapes(input, type, inputMap);
    for (int i = 1; i <= inputMap.Extent(); ++i) {
      const TopoDS_Shape& source = inputMap(i);
      TopTools_IndexedMapOfShape finals;
      for (const TopoDS_Shape& middle : ImagesOf(first, source)) {
        for (const TopoDS_Shape& last : ImagesOf(second, middle)) finals.Add(last);
      }
      if (finals.IsEmpty()) {
        composed.Remove(source);
      } else if (finals.Extent() > 1 || !finals(1).IsSame(source)) {
        for (int j = 1; j <= finals.Extent(); ++j) composed.AddModified(source, finals(j));
      }
    }
  }
  return composed;
}

void RecordDerived(const TopoDS_Shape& other, const TopoDS_Shape& result,
                   const BRepTools_History& history, History& record) {
  for (TopAbs_ShapeEnum type : kTypes) {
    TopTools_IndexedMapOfShape otherMap, resultMap;
    TopExp::MapShapes(other, type, otherMap);
    TopExp::MapShapes(result, type, resultMap);
    for (int i = 1; i <= otherMap.Extent(); ++i) {
      for (int index : ImagesInResult(otherMap(i), history, resultMap)) {
        const TopoDS_Shape& product = resultMap(index);
        auto created = std::find_if(record.created.begin(), record.created.end(),
                                    [&](const TopoDS_Shape& s) { return s.IsSame(product); });
        if (created == record.created.end()) continue;  // already an image of the input
        record.created.erase(created);
        record.derived.push_back({otherMap(i), product});
      }
    }
  }
}

}  // namespace hxr::engine
