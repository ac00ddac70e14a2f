#include "engine/BlendOps.h"

#include "engine/BooleanStep.h"
#include "engine/FaceDelete.h"
#include "engine/HistoryRecorder.h"
#include "engine/ShapeChecks.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Common.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepFilletAPI_MakeFillet.hxx>
#include <BRepGProp.hxx>
#include <BRepLProp_SLProps.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <Geom2d_Curve.hxx>
#include <Precision.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>

#include <algorithm>
#include <cmath>

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

// A sharp edge that a blend reached by running on along its own edges' tangent continuation,
// past the faces of earlier blends it was allowed to roll over. Only a straight edge between
// two planes, convex, joined to the blend's chain at one end, can be given back.
struct SpreadEdge {
  TopoDS_Edge edge;
  int contour = 0;      // the blend's contour in the fillet
  gp_Pnt start;         // where the blend left the edges it was asked to run on
  gp_Dir along;         // the edge's direction away from `start`
  double length = 0.0;
  gp_Dir into[2];       // square to the edge, into each of its two faces
  double reach = 0.0;   // how far from the edge the blend touches the faces
  double cap = 0.0;     // the blend is kept up to this distance along the edge from `start`
};

// The outward normal of a planar face.
bool PlaneNormal(const TopoDS_Face& face, gp_Dir& normal) {
  BRepAdaptor_Surface surface(face, false);
  if (surface.GetType() != GeomAbs_Plane) return false;
  normal = surface.Plane().Axis().Direction();
  if (face.Orientation() == TopAbs_REVERSED) normal.Reverse();
  return true;
}

bool DescribeSpread(const TopoDS_Shape& shape, const TopoDS_Edge& edge, int contour, double radius,
                    const TopTools_IndexedMapOfShape& chained,
                    const TopTools_IndexedDataMapOfShapeListOfShape& edgeFaces,
                    const TopTools_IndexedDataMapOfShapeListOfShape& vertexEdges, SpreadEdge& spread) {
  if (BRepAdaptor_Curve(edge).GetType() != GeomAbs_Line) return false;
  const TopoDS_Vertex ends[2] = {TopExp::FirstVertex(edge), TopExp::LastVertex(edge)};
  int joined = -1;
  for (int i = 0; i < 2; ++i) {
    for (TopTools_ListOfShape::Iterator e(vertexEdges.FindFromKey(ends[i])); e.More(); e.Next()) {
      if (!chained.Contains(e.Value())) continue;
      if (joined >= 0 && joined != i) return false;
      joined = i;
    }
  }
  if (joined < 0) return false;
  spread.edge = edge;
  spread.contour = contour;
  spread.start = BRep_Tool::Pnt(ends[joined]);
  const gp_Pnt end = BRep_Tool::Pnt(ends[1 - joined]);
  spread.length = spread.start.Distance(end);
  if (spread.length <= Precision::Confusion()) return false;
  spread.along = gp_Dir(gp_Vec(spread.start, end));
  const TopTools_ListOfShape& faces = edgeFaces.FindFromKey(edge);
  if (faces.Extent() != 2) return false;
  gp_Dir normals[2];
  if (!PlaneNormal(TopoDS::Face(faces.First()), normals[0]) ||
      !PlaneNormal(TopoDS::Face(faces.Last()), normals[1]))
    return false;
  // Just outside both faces' planes lies outside the body only where the edge is convex;
  // a blend that filled a concave edge would have to be cut away instead.
  const gp_Vec apart = gp_Vec(normals[1]) - gp_Vec(normals[0]);
  if (apart.Magnitude() < kTangentAngle) return false;
  const gp_Pnt middle = spread.start.Translated(gp_Vec(spread.along) * (0.5 * spread.length));
  BRepClass3d_SolidClassifier outside(shape, middle.Translated(apart.Normalized() * (1e-3 * radius)),
                                      Precision::Confusion());
  if (outside.State() != TopAbs_OUT) return false;
  for (int i = 0; i < 2; ++i) {
    const gp_Vec other(normals[1 - i]);
    const gp_Vec inPlane = other - gp_Vec(normals[i]) * other.Dot(gp_Vec(normals[i]));
    if (inPlane.Magnitude() < kTangentAngle) return false;
    spread.into[i] = gp_Dir(-inPlane);
  }
  spread.reach = radius / std::tan(0.5 * spread.into[0].Angle(spread.into[1]));
  return true;
}

// Gives back, along each edge the blends spread to, the body's material from the spread's
// cap onwards, so that those blends end there on a face square to the edge.
int TakeBackSpread(const TopoDS_Shape& before, const TopoDS_Shape& blended,
                   const std::vector<SpreadEdge>& spread, TopoDS_Shape& out, BRepTools_History& history,
                   std::string& detail) {
  TopTools_ListOfShape fillers;
  for (const SpreadEdge& s : spread) {
    // A triangle round the edge's corner, reaching past where the blend touches the faces
    // and standing a little outside them, swept from the cap beyond the edge's end.
    const double margin = 0.5 * s.reach;
    const gp_Vec into0(s.into[0]), into1(s.into[1]);
    const gp_Pnt corner =
        s.start.Translated(gp_Vec(s.along) * s.cap - (into0 + into1) * margin);
    const double side = 2.0 * s.reach + 2.0 * margin;
    BRepBuilderAPI_MakePolygon triangle(corner, corner.Translated(into0 * side),
                                        corner.Translated(into1 * side), true);
    BRepBuilderAPI_MakeFace face(triangle.Wire(), true);
    if (!face.IsDone()) {
      detail = "the blend's spread could not be bounded";
      return ErrorAlgorithmFailed;
    }
    BRepPrimAPI_MakePrism prism(face.Face(), gp_Vec(s.along) * (s.length - s.cap + margin));
    BRepAlgoAPI_Common filler(before, prism.Shape());
    if (!filler.IsDone()) {
      detail = "the blend's spread could not be given back";
      return ErrorAlgorithmFailed;
    }
    fillers.Append(filler.Shape());
  }
  if (!UniteOrCut(blended, fillers, true, out, history)) {
    detail = "the blend's spread could not be given back";
    return ErrorAlgorithmFailed;
  }
  return ErrorNone;
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
  if (blendFaces.empty()) return {};  // a patch is only ever taken with the blends it joins
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
  // Blending an edge also blends every edge tangent to it. Rolling on over the faces of
  // blends made earlier is how a later blend runs over an earlier one where they meet; a
  // sharp edge reached beyond them is blended only as far as the meeting reaches and given
  // back from there on; anything else would leave blends nobody asked for.
  TopTools_IndexedMapOfShape earlierEdges;
  if (earlierFaces != nullptr) {
    for (const std::vector<TopoDS_Shape>& faces : *earlierFaces) {
      for (const TopoDS_Shape& face : faces) TopExp::MapShapes(face, TopAbs_EDGE, earlierEdges);
    }
  }
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces, vertexEdges;
  TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
  TopExp::MapShapesAndAncestors(shape, TopAbs_VERTEX, TopAbs_EDGE, vertexEdges);
  std::vector<SpreadEdge> spread;
  for (int contour = 1; contour <= fillet.NbContours(); ++contour) {
    TopTools_IndexedMapOfShape chained;
    std::vector<TopoDS_Edge> beyond;
    for (int e = 1; e <= fillet.NbEdges(contour); ++e) {
      const TopoDS_Edge& edge = fillet.Edge(contour, e);
      if (added.Contains(edge) || earlierEdges.Contains(edge)) {
        chained.Add(edge);
      } else {
        beyond.push_back(edge);
      }
    }
    for (const TopoDS_Edge& edge : beyond) {
      SpreadEdge s;
      if (earlierFaces == nullptr ||
          !DescribeSpread(shape, edge, contour, fillet.Radius(contour), chained, edgeFaces, vertexEdges, s)) {
        detail = "the blend would spread along tangent edges beyond its own";
        return ErrorUnsupported;
      }
      spread.push_back(s);
    }
  }
  fillet.Build();
  if (!fillet.IsDone()) {
    detail = "the blends could not be made";
    return ErrorAlgorithmFailed;
  }
  // The spread is kept as far along its edge as the faces the rest of its contour made reach.
  for (SpreadEdge& s : spread) {
    for (int e = 1; e <= fillet.NbEdges(s.contour); ++e) {
      const TopoDS_Edge& edge = fillet.Edge(s.contour, e);
      if (edge.IsSame(s.edge)) continue;
      for (TopTools_ListOfShape::Iterator it(fillet.Generated(edge)); it.More(); it.Next()) {
        Bnd_Box box;
        BRepBndLib::AddOptimal(it.Value(), box, false, false);
        double x[2], y[2], z[2];
        box.Get(x[0], y[0], z[0], x[1], y[1], z[1]);
        for (int corner = 0; corner < 8; ++corner) {
          const gp_Vec offset(s.start, gp_Pnt(x[corner & 1], y[(corner >> 1) & 1], z[corner >> 2]));
          s.cap = std::max(s.cap, offset.Dot(gp_Vec(s.along)));
        }
      }
    }
    if (s.cap >= s.length - Precision::Confusion()) {
      detail = "the blend would spread along tangent edges beyond its own";
      return ErrorUnsupported;
    }
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
  BRepTools_History step(arguments, fillet);
  TopoDS_Shape blended = fillet.Shape();
  if (!spread.empty()) {
    BRepTools_History takeBack;
    TopoDS_Shape given;
    if (int error = TakeBackSpread(shape, blended, spread, given, takeBack, detail)) return error;
    for (std::vector<TopoDS_Shape>& faces : newFaces) {
      std::vector<TopoDS_Shape> updated;
      for (const TopoDS_Shape& face : faces) {
        for (const TopoDS_Shape& image : ImagesOf(takeBack, face)) {
          if (ContainsSubShape(given, image)) updated.push_back(image);
        }
      }
      faces = std::move(updated);
    }
    step = ComposeHistories(shape, step, takeBack);
    blended = given;
  }
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
  shape = blended;
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
    std::vector<std::vector<TopoDS_Shape>> firstFaces, secondFaces;
    error = BlendSupports(body, shape, history, first, std::vector<double>(first.size(), 0.0),
                          firstFaces, why);
    if (error == ErrorNone) {
      error = BlendSupports(body, shape, history, second, std::vector<double>(second.size(), 0.0),
                            secondFaces, why, &firstFaces);
    }
    if (error != ErrorNone) return Result::Failure(error, why);
    Result result = FinishOperation(body, shape, history);
    if (!result.ok) return result;
    RelinkBlends(result.history, first, firstFaces);
    RelinkBlends(result.history, second, secondFaces);
    return result;
  });
}

}  // namespace hxr::engine
