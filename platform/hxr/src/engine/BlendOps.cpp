#include "engine/BlendOps.h"

#include "engine/FaceDelete.h"
#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <BRepFilletAPI_MakeFillet.hxx>
#include <BRepLProp_SLProps.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>

#include <algorithm>

namespace hxr::engine {
namespace {

constexpr double kTangentAngle = 1e-4;

bool Listed(const std::vector<TopoDS_Shape>& list, const TopoDS_Shape& shape) {
  return std::any_of(list.begin(), list.end(),
                     [&](const TopoDS_Shape& s) { return s.IsSame(shape); });
}

// The outward normal of the face at the middle of one of its edges.
bool NormalAtEdge(const TopoDS_Face& face, const TopoDS_Edge& edge, gp_Dir& normal) {
  double first, last;
  Handle(Geom2d_Curve) pcurve = BRep_Tool::CurveOnSurface(edge, face, first, last);
  if (pcurve.IsNull()) return false;
  const gp_Pnt2d uv = pcurve->Value(0.5 * (first + last));
  BRepAdaptor_Surface surface(face, false);
  BRepLProp_SLProps props(surface, uv.X(), uv.Y(), 1, 1e-9);
  if (!props.IsNormalDefined()) return false;
  normal = props.Normal();
  if (face.Orientation() == TopAbs_REVERSED) normal.Reverse();
  return true;
}

}  // namespace

bool IdentifyBlend(const TopoDS_Shape& body, const TopoDS_Shape& face,
                   const std::vector<TopoDS_Shape>& alsoRemoved, BlendInfo& info,
                   std::string& detail) {
  detail = "the face is no blend";
  if (face.IsNull() || face.ShapeType() != TopAbs_FACE) return false;
  info.face = TopoDS::Face(face);
  BRepAdaptor_Surface surface(info.face, false);
  if (surface.GetType() == GeomAbs_Cylinder) {
    info.radius = surface.Cylinder().Radius();
  } else if (surface.GetType() == GeomAbs_Torus) {
    info.radius = surface.Torus().MinorRadius();
  } else {
    return false;
  }
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
  TopExp::MapShapesAndAncestors(body, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
  std::vector<TopoDS_Shape> supports;
  for (TopExp_Explorer it(info.face, TopAbs_EDGE); it.More(); it.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(it.Current());
    gp_Dir own;
    if (!NormalAtEdge(info.face, edge, own)) continue;
    for (TopTools_ListOfShape::Iterator f(edgeFaces.FindFromKey(edge)); f.More(); f.Next()) {
      const TopoDS_Face& other = TopoDS::Face(f.Value());
      if (other.IsSame(info.face) || Listed(alsoRemoved, other) || Listed(supports, other)) continue;
      gp_Dir theirs;
      if (NormalAtEdge(other, edge, theirs) && own.Angle(theirs) < kTangentAngle) {
        supports.push_back(other);
      }
    }
  }
  if (supports.size() != 2) return false;
  info.supports[0] = TopoDS::Face(supports[0]);
  info.supports[1] = TopoDS::Face(supports[1]);
  detail.clear();
  return true;
}

std::vector<TopoDS_Shape> TakeCornerPatches(const TopoDS_Shape& body,
                                            std::vector<TopoDS_Shape>& blendFaces) {
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
  TopExp::MapShapesAndAncestors(body, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
  auto isEdgeBlend = [](const TopoDS_Shape& face) {
    const GeomAbs_SurfaceType type = BRepAdaptor_Surface(TopoDS::Face(face), false).GetType();
    return type == GeomAbs_Cylinder || type == GeomAbs_Torus;
  };
  // A face every edge of which it shares, tangent, with one of the edge blends of the list.
  auto meetsOnlyBlends = [&](const TopoDS_Face& face, const std::vector<TopoDS_Shape>& blends) {
    bool any = false;
    for (TopExp_Explorer it(face, TopAbs_EDGE); it.More(); it.Next()) {
      const TopoDS_Edge& edge = TopoDS::Edge(it.Current());
      if (BRep_Tool::Degenerated(edge)) continue;
      gp_Dir own;
      if (!NormalAtEdge(face, edge, own)) return false;
      bool met = false;
      for (TopTools_ListOfShape::Iterator f(edgeFaces.FindFromKey(edge)); f.More(); f.Next()) {
        gp_Dir theirs;
        met = met || (!f.Value().IsSame(face) && Listed(blends, f.Value()) &&
                      NormalAtEdge(TopoDS::Face(f.Value()), edge, theirs) &&
                      own.Angle(theirs) < kTangentAngle);
      }
      if (!met) return false;
      any = true;
    }
    return any;
  };
  std::vector<TopoDS_Shape> edgeBlends;
  for (const TopoDS_Shape& face : blendFaces) {
    if (isEdgeBlend(face)) edgeBlends.push_back(face);
  }
  std::vector<TopoDS_Shape> patches;
  TopTools_IndexedMapOfShape faces;
  TopExp::MapShapes(body, TopAbs_FACE, faces);
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Face& face = TopoDS::Face(faces(i));
    if (Listed(edgeBlends, face) || !meetsOnlyBlends(face, edgeBlends)) continue;
    patches.push_back(face);
  }
  blendFaces.erase(std::remove_if(blendFaces.begin(), blendFaces.end(),
                                  [&](const TopoDS_Shape& f) { return Listed(patches, f); }),
                   blendFaces.end());
  return patches;
}

int BlendSupports(const TopoDS_Shape& original, TopoDS_Shape& shape, BRepTools_History& history,
                  const std::vector<BlendInfo>& blends, const std::vector<double>& radii,
                  std::vector<std::vector<TopoDS_Shape>>& newFaces, std::string& detail,
                  std::vector<std::vector<TopoDS_Shape>>* earlierFaces,
                  BRepTools_History* blendStep) {
  if (blends.empty()) return ErrorNone;
  BRepFilletAPI_MakeFillet fillet(shape);
  std::vector<std::vector<TopoDS_Shape>> edgesOfBlend(blends.size());
  TopTools_IndexedMapOfShape added;
  for (size_t i = 0; i < blends.size(); ++i) {
    TopTools_IndexedMapOfShape firstEdges;
    for (const TopoDS_Shape& image : ImagesOf(history, blends[i].supports[0])) {
      if (ContainsSubShape(shape, image)) TopExp::MapShapes(image, TopAbs_EDGE, firstEdges);
    }
    for (const TopoDS_Shape& image : ImagesOf(history, blends[i].supports[1])) {
      if (!ContainsSubShape(shape, image)) continue;
      for (TopExp_Explorer it(image, TopAbs_EDGE); it.More(); it.Next()) {
        if (firstEdges.Contains(it.Current()) && !added.Contains(it.Current())) {
          added.Add(it.Current());
          edgesOfBlend[i].push_back(it.Current());
        }
      }
    }
    if (edgesOfBlend[i].empty()) {
      detail = "the faces a blend ran between no longer meet";
      return ErrorTopologyChangeNeeded;
    }
    const double radius = radii[i] > 0.0 ? radii[i] : blends[i].radius;
    for (const TopoDS_Shape& edge : edgesOfBlend[i]) fillet.Add(radius, TopoDS::Edge(edge));
  }
  // Blending an edge also blends every edge tangent to it; when that reaches beyond the
  // edges asked for, the result would carry blends nobody asked for.
  int contourEdges = 0;
  for (int contour = 1; contour <= fillet.NbContours(); ++contour) contourEdges += fillet.NbEdges(contour);
  if (contourEdges != added.Extent()) {
    detail = "the blend would spread along tangent edges beyond its own";
    return ErrorUnsupported;
  }
  fillet.Build();
  if (!fillet.IsDone()) {
    detail = "the blends could not be made";
    return ErrorAlgorithmFailed;
  }
  newFaces.assign(blends.size(), {});
  for (size_t i = 0; i < blends.size(); ++i) {
    for (const TopoDS_Shape& edge : edgesOfBlend[i]) {
      for (TopTools_ListOfShape::Iterator it(fillet.Generated(edge)); it.More(); it.Next()) {
        if (it.Value().ShapeType() == TopAbs_FACE) newFaces[i].push_back(it.Value());
      }
    }
  }
  TopTools_ListOfShape arguments;
  arguments.Append(shape);
  const BRepTools_History step(arguments, fillet);
  if (blendStep != nullptr) *blendStep = step;
  if (earlierFaces != nullptr) {
    for (std::vector<TopoDS_Shape>& faces : *earlierFaces) {
      std::vector<TopoDS_Shape> updated;
      for (const TopoDS_Shape& face : faces) {
        for (const TopoDS_Shape& image : ImagesOf(step, face)) updated.push_back(image);
      }
      faces = std::move(updated);
    }
  }
  history = ComposeHistories(original, history, step);
  shape = fillet.Shape();
  return ErrorNone;
}

namespace {

// Records that the face of the input became the products, which no longer count as created.
void RelinkFace(History& history, const TopoDS_Shape& source, const std::vector<TopoDS_Shape>& products) {
  if (products.empty()) return;
  auto outcome = std::find_if(history.faces.begin(), history.faces.end(),
                              [&](const EntityOutcome& o) { return o.source.IsSame(source); });
  if (outcome == history.faces.end()) return;
  outcome->products = products;
  outcome->fate = products.size() > 1 ? Fate::FateSplit : Fate::FateModified;
  for (const TopoDS_Shape& face : products) {
    history.created.erase(std::remove_if(history.created.begin(), history.created.end(),
                                         [&](const TopoDS_Shape& s) { return s.IsSame(face); }),
                          history.created.end());
  }
}

gp_Pnt CentreOf(const TopoDS_Shape& face) {
  GProp_GProps props;
  BRepGProp::SurfaceProperties(face, props);
  return props.CentreOfMass();
}

}  // namespace

void RelinkBlends(History& history, const std::vector<BlendInfo>& blends,
                  const std::vector<std::vector<TopoDS_Shape>>& newFaces) {
  for (size_t i = 0; i < blends.size() && i < newFaces.size(); ++i) RelinkFace(history, blends[i].face, newFaces[i]);
}

void RelinkCornerPatches(History& history, const TopoDS_Shape& result,
                         const std::vector<TopoDS_Shape>& patches) {
  if (patches.empty()) return;
  std::vector<std::vector<TopoDS_Shape>> corners(patches.size());
  for (const TopoDS_Shape& face : history.created) {
    if (face.ShapeType() != TopAbs_FACE || !ContainsSubShape(result, face)) continue;
    const gp_Pnt centre = CentreOf(face);
    size_t nearest = 0;
    for (size_t i = 1; i < patches.size(); ++i) {
      if (CentreOf(patches[i]).Distance(centre) < CentreOf(patches[nearest]).Distance(centre)) nearest = i;
    }
    corners[nearest].push_back(face);
  }
  for (size_t i = 0; i < patches.size(); ++i) RelinkFace(history, patches[i], corners[i]);
}

Result ReorderBlends(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& firstChain,
                     const std::vector<TopoDS_Shape>& secondChain) {
  std::string detail;
  if (!AllFacesOfBody(body, firstChain, detail) || !AllFacesOfBody(body, secondChain, detail)) {
    return Result::Failure(ErrorBadArgument, detail);
  }
  std::vector<TopoDS_Shape> all = firstChain;
  all.insert(all.end(), secondChain.begin(), secondChain.end());
  return GuardOperation([&]() -> Result {
    std::vector<BlendInfo> first(firstChain.size()), second(secondChain.size());
    std::string why;
    for (size_t i = 0; i < firstChain.size(); ++i) {
      if (!IdentifyBlend(body, firstChain[i], all, first[i], why)) return Result::Failure(ErrorNotABlend, why);
    }
    for (size_t i = 0; i < secondChain.size(); ++i) {
      if (!IdentifyBlend(body, secondChain[i], all, second[i], why)) return Result::Failure(ErrorNotABlend, why);
    }
    TopoDS_Shape shape;
    BRepTools_History history;
    int error = RemoveFacesByHealing(body, all, shape, history, why);
    if (error != ErrorNone) return Result::Failure(error, why);
    std::vector<std::vector<TopoDS_Shape>> secondFaces, firstFaces;
    error = BlendSupports(body, shape, history, second, std::vector<double>(second.size(), 0.0),
                          secondFaces, why);
    if (error == ErrorNone) {
      error = BlendSupports(body, shape, history, first, std::vector<double>(first.size(), 0.0),
                            firstFaces, why, &secondFaces);
    }
    if (error != ErrorNone) return Result::Failure(error, why);
    Result result = FinishOperation(body, shape, history);
    if (!result.ok) return result;
    RelinkBlends(result.history, second, secondFaces);
    RelinkBlends(result.history, first, firstFaces);
    return result;
  });
}

}  // namespace hxr::engine
