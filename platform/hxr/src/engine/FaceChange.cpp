#include "engine/FaceChange.h"

#include "engine/BlendOps.h"
#include "engine/ChangedSurfaces.h"
#include "engine/FaceDelete.h"
#include "engine/FaceRegion.h"
#include "engine/FaceSurfaceModification.h"
#include "engine/HistoryRecorder.h"
#include "engine/ReshapeRebuild.h"
#include "engine/ShapeChecks.h"

#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <Precision.hxx>
#include <BRepOffsetAPI_DraftAngle.hxx>
#include <BRepTools_Modifier.hxx>
#include <BRepTools_ReShape.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopTools_MapOfShape.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <Geom_Plane.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_DataMapOfShapeShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <limits>

namespace hxr::engine {
namespace {

using Kind = FaceChangeKind;

bool IsSurfaceChange(Kind kind) {
  return kind == Kind::FaceChangeOffset || kind == Kind::FaceChangeTransform ||
         kind == Kind::FaceChangeSurface;
}

// The one face that `face` of the original body has become in `shape`.
bool CurrentFace(const BRepTools_History& history, const TopoDS_Shape& shape,
                 const TopoDS_Shape& face, TopoDS_Face& current) {
  // Nothing done yet: the face is the body's own, as the requests were checked to be.
  if (!history.HasModified() && !history.HasGenerated() && !history.HasRemoved()) {
    current = TopoDS::Face(face);
    return true;
  }
  std::vector<TopoDS_Shape> images;
  for (const TopoDS_Shape& image : ImagesOf(history, face)) {
    if (ContainsSubShape(shape, image)) images.push_back(image);
  }
  if (images.size() != 1) return false;
  current = TopoDS::Face(images.front());
  return true;
}

int CheckRequests(const TopoDS_Shape& body, const std::vector<FaceChange>& changes,
                  std::string& detail) {
  std::vector<TopoDS_Shape> faces;
  for (const FaceChange& change : changes) {
    for (const TopoDS_Shape& face : faces) {
      if (face.IsSame(change.face)) {
        detail = "a face is named twice";
        return ErrorBadArgument;
      }
    }
    faces.push_back(change.face);
    if (change.kind == Kind::FaceChangeSurface && change.surface.IsNull()) {
      detail = "a surface change without a surface";
      return ErrorBadArgument;
    }
    if (change.kind == Kind::FaceChangeTaper &&
        (std::abs(change.taperAngle) >= M_PI / 2 || std::abs(change.taperAngle) < 1e-12)) {
      detail = "a taper angle must lie strictly between -90 and 90 degrees and not be 0";
      return ErrorBadArgument;
    }
    if (change.kind == Kind::FaceChangeReblend && change.radius < 0.0) {
      detail = "a negative blend radius";
      return ErrorBadArgument;
    }
    if (!change.referenceFace.IsNull()) {
      if (change.kind != Kind::FaceChangeOffset || change.referenceFace.ShapeType() != TopAbs_FACE ||
          !ContainsSubShape(body, change.referenceFace) || change.referenceFace.IsSame(change.face)) {
        detail = "a reference face must be another face of the body, given with an offset";
        return ErrorBadArgument;
      }
    }
    for (const TopoDS_Shape& edge : change.taperEdges) {
      if (!ContainsSubShape(body, edge) || edge.ShapeType() != TopAbs_EDGE) {
        detail = "a hinge edge is not an edge of the body";
        return ErrorBadArgument;
      }
    }
  }
  // Faces that only get new surfaces are looked for in the body while their region is
  // gathered, in the one walk over the body's faces that the change makes.
  const bool surfacesOnly = std::all_of(changes.begin(), changes.end(),
                                        [](const FaceChange& change) { return IsSurfaceChange(change.kind); });
  if (surfacesOnly && !faces.empty()) {
    for (const TopoDS_Shape& face : faces) {
      if (face.IsNull() || face.ShapeType() != TopAbs_FACE) {
        detail = "a given entity is not a face of the body";
        return ErrorBadArgument;
      }
    }
    return ErrorNone;
  }
  return AllFacesOfBody(body, faces, detail) ? ErrorNone : ErrorBadArgument;
}

// A surface's normal at its point nearest to `near`.
bool NormalNear(const Handle(Geom_Surface)& surface, const gp_Pnt& near, gp_Vec& normal) {
  GeomAPI_ProjectPointOnSurf projection(near, surface);
  if (projection.NbPoints() == 0) return false;
  double u = 0.0, v = 0.0;
  projection.LowerDistanceParameters(u, v);
  gp_Pnt point;
  gp_Vec du, dv;
  surface->D1(u, v, point, du, dv);
  normal = du.Crossed(dv);
  return normal.Magnitude() >= 1e-12;
}

// The surface of an offset measured from a reference face: the reference's new surface (the
// one asked of it in this change, else its present one) moved by the distance along the
// reference's outward normal, oriented for the face so that its normal keeps pointing out of
// the body where the face's does.
int SurfaceFromReference(const TopoDS_Face& face, const TopoDS_Face& reference,
                         const Handle(Geom_Surface)& referenceSurface, double distance,
                         Handle(Geom_Surface)& surface, std::string& detail) {
  // A face without bounds on the reference's new surface, facing as the reference does.
  TopoDS_Face moved;
  BRep_Builder().MakeFace(moved, referenceSurface, Precision::Confusion());
  moved.Orientation(reference.Orientation());
  Handle(Geom_Surface) target;
  const int error = OffsetSurface(moved, distance, target, detail);
  if (error != ErrorNone) return error;
  // The face's outward normal at the middle of its parameter box, against the target's
  // normal at the point of the target nearest to it.
  double u1 = 0.0, u2 = 0.0, v1 = 0.0, v2 = 0.0;
  BRepTools::UVBounds(face, u1, u2, v1, v2);
  const Handle(Geom_Surface) present = BRep_Tool::Surface(face);
  gp_Pnt onFace;
  gp_Vec du, dv, targetNormal;
  present->D1(0.5 * (u1 + u2), 0.5 * (v1 + v2), onFace, du, dv);
  gp_Vec outward = du.Crossed(dv);
  if (outward.Magnitude() < 1e-12 || !NormalNear(target, onFace, targetNormal)) {
    detail = "the face cannot be placed on its reference's offset";
    return ErrorAlgorithmFailed;
  }
  if (face.Orientation() == TopAbs_REVERSED) outward.Reverse();
  surface = OrientedReplacement(face, target, targetNormal.Dot(outward) > 0.0);
  return ErrorNone;
}

// The face of the body rebuilt from its region face after the change: the wires the region
// left out stay as they were, the others are the region face's rebuilt ones.
TopoDS_Face Reassembled(const TopoDS_Face& face, const TopoDS_Face& part, const TopoDS_Face& rebuilt) {
  const TopoDS_Face forward = TopoDS::Face(face.Oriented(TopAbs_FORWARD));
  if (part.IsEqual(forward)) return TopoDS::Face(rebuilt.Oriented(face.Orientation()));
  TopTools_MapOfShape inPart;
  for (TopoDS_Iterator w(part); w.More(); w.Next()) inPart.Add(w.Value());
  TopoDS_Face made = TopoDS::Face(rebuilt.EmptyCopied());
  BRep_Builder builder;
  for (TopoDS_Iterator w(forward); w.More(); w.Next())
    if (!inPart.Contains(w.Value())) builder.Add(made, w.Value());
  for (TopoDS_Iterator w(rebuilt); w.More(); w.Next()) builder.Add(made, w.Value());
  return TopoDS::Face(made.Oriented(face.Orientation()));
}

// The new surfaces with their neighbours re-intersected, in one modification. Offsets
// measured from a reference face come last, when the reference's new surface is known.
// `replaced` gets each entity the modification replaced and what replaced it (faces, then
// edges, then vertices), for a history that names those alone; `rebuiltWires` each face
// rebuilt in part, by the wires made anew in it.
int ChangeSurfaces(const TopoDS_Shape& body, const std::vector<FaceChange>& changes,
                   TopoDS_Shape& shape, BRepTools_History& history,
                   std::vector<Handle(Geom_Surface)>& requested, std::vector<Replacement>& replaced,
                   RebuiltWires& rebuiltWires, const FaceNeighbours* neighbours, std::string& detail) {
  // The faces to change as they are in the shape, before their region is known.
  std::vector<std::pair<TopoDS_Face, size_t>> targets;
  std::vector<gp_Trsf> motions(changes.size());
  std::vector<bool> rigid(changes.size(), false), sameParameters(changes.size(), false);
  bool any = false;
  std::vector<size_t> order;
  for (size_t i = 0; i < changes.size(); ++i)
    if (changes[i].referenceFace.IsNull()) order.push_back(i);
  for (size_t i = 0; i < changes.size(); ++i)
    if (!changes[i].referenceFace.IsNull()) order.push_back(i);
  for (size_t i : order) {
    const FaceChange& change = changes[i];
    if (!IsSurfaceChange(change.kind)) continue;
    TopoDS_Face face;
    if (!CurrentFace(history, shape, change.face, face)) {
      detail = "a face to change did not survive the removal of the blends";
      return ErrorTopologyChangeNeeded;
    }
    Handle(Geom_Surface) surface;
    if (!change.referenceFace.IsNull()) {
      TopoDS_Face reference;
      if (!CurrentFace(history, shape, change.referenceFace, reference)) {
        detail = "a reference face did not survive the removal of the blends";
        return ErrorTopologyChangeNeeded;
      }
      Handle(Geom_Surface) referenceSurface = BRep_Tool::Surface(reference);
      for (size_t j = 0; j < changes.size(); ++j) {
        if (!changes[j].face.IsSame(change.referenceFace)) continue;
        if (!IsSurfaceChange(changes[j].kind) || !changes[j].referenceFace.IsNull()) {
          detail = "a reference face is tapered, re-blended or offset from another face itself";
          return ErrorUnsupported;
        }
        referenceSurface = requested[j];
      }
      const int error = SurfaceFromReference(face, reference, referenceSurface, change.distance, surface, detail);
      if (error != ErrorNone) return error;
    } else if (change.kind == Kind::FaceChangeOffset) {
      const int error = OffsetSurface(face, change.distance, surface, detail);
      if (error != ErrorNone) return error;
      sameParameters[i] = true;
    } else if (change.kind == Kind::FaceChangeTransform) {
      surface = MovedSurface(face, change.motion);
      rigid[i] = sameParameters[i] = true;
      motions[i] = change.motion;
    } else {
      surface = OrientedReplacement(face, change.surface, change.outwardSense);
    }
    requested[i] = surface;
    targets.emplace_back(face, i);
    any = true;
  }
  if (!any) return ErrorNone;
  TopTools_MapOfShape changed;
  for (const auto& target : targets) changed.Add(target.first);
  // With nothing done before (no blends taken off), the shape is the body, whose adjacency the
  // caller may know.
  const bool first = !history.HasModified() && !history.HasGenerated() && !history.HasRemoved();
  const Region region = RegionAround(shape, changed, first ? neighbours : nullptr);
  if (region.strangers) {
    detail = "a given entity is not a face of the body";
    return ErrorBadArgument;
  }
  auto prepared = [&](const TopoDS_Shape& input, Handle(FaceSurfaceModification)& modification) {
    modification = new FaceSurfaceModification(input);
    for (const auto& [face, i] : targets) {
      modification->SetSurface(TopoDS::Face(face.Oriented(TopAbs_FORWARD)), requested[i],
                               rigid[i] ? &motions[i] : nullptr, sameParameters[i]);
    }
    return modification->Prepare(detail);
  };
  // The region holds every face around what the change moves: the rebuild of what moved alone
  // needs no more, and the modifier is left what that rebuild does not make.
  Handle(FaceSurfaceModification) modification;
  int error = prepared(region.compound, modification);
  if (error != ErrorNone) return error;
  ReshapeProducts products;
  if (RebuildReshaped(shape, region.faces, *modification, products)) {
    BRepTools_History step;
    for (const auto& [source, image] : products.replaced) step.AddModified(source, image);
    history = first ? step : ComposeHistories(body, history, step);
    replaced.insert(replaced.end(), products.replaced.begin(), products.replaced.end());
    rebuiltWires = products.rebuiltWires;
    shape = products.shape;
    return ErrorNone;
  }
  const TopoDS_Shape input = region.whole ? shape : TopoDS_Shape(region.compound);
  if (region.whole && (error = prepared(input, modification)) != ErrorNone) return error;
  BRepTools_Modifier modifier(input, modification);
  if (!modifier.IsDone() || modification->HasFailed()) {
    detail = "the changed faces could not be rebuilt";
    return ErrorAlgorithmFailed;
  }
  // With nothing done before, the step names only entities of the body and is the whole
  // history: composing it would walk every entity of the body for nothing.
  if (region.whole) {
    // A small body: each replacement is named as the result holds it, turned as it is there.
    const TopoDS_Shape result = modifier.ModifiedShape(shape);
    BRepTools_History step;
    for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
      TopTools_IndexedMapOfShape map, made;
      TopExp::MapShapes(shape, type, map);
      TopExp::MapShapes(result, type, made);
      for (int i = 1; i <= map.Extent(); ++i) {
        const TopoDS_Shape& modified = modifier.ModifiedShape(map(i));
        if (modified.IsSame(map(i))) continue;
        step.AddModified(map(i), modified);
        const int index = made.FindIndex(modified);
        replaced.emplace_back(map(i), index > 0 ? made(index) : modified);
      }
    }
    history = first ? step : ComposeHistories(body, history, step);
    shape = result;
    return ErrorNone;
  }
  // The modifier copies every edge and vertex of a face it rebuilds. One away from the changed
  // faces (none of their edges or vertices, no end on them) is not changed, and it may bound a
  // face outside the region: the original takes its copy's place, so that every face around it
  // shares it again.
  BRepTools_ReShape restore;
  TopTools_MapOfShape restored;
  for (TopAbs_ShapeEnum type : {TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape map;
    TopExp::MapShapes(region.compound, type, map);
    for (int i = 1; i <= map.Extent(); ++i) {
      const TopoDS_Shape& entity = map(i);
      const TopoDS_Shape& copy = modifier.ModifiedShape(entity);
      if (copy.IsSame(entity) || region.edges.Contains(entity) || region.vertices.Contains(entity)) continue;
      bool away = true;
      for (TopoDS_Iterator v(entity); v.More() && away; v.Next()) away = !region.vertices.Contains(v.Value());
      if (!away) continue;
      restore.Replace(copy.Oriented(TopAbs_FORWARD), entity.Oriented(TopAbs_FORWARD));
      restored.Add(entity);
    }
  }
  BRepTools_History step;
  TopTools_DataMapOfShapeShape madeFaces;
  for (const auto& [face, part] : region.faces) {
    TopoDS_Face rebuilt = TopoDS::Face(modifier.ModifiedShape(part));
    if (rebuilt.IsSame(part)) continue;
    if (!restored.IsEmpty()) rebuilt = TopoDS::Face(restore.Apply(rebuilt, TopAbs_VERTEX));
    const TopoDS_Face made = Reassembled(face, part, rebuilt);
    step.AddModified(face, made);
    replaced.emplace_back(face, made);
    madeFaces.Bind(face, made);
    if (!part.IsEqual(TopoDS::Face(face.Oriented(TopAbs_FORWARD)))) rebuiltWires.Bind(made, rebuilt);
  }
  for (TopAbs_ShapeEnum type : {TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape map;
    TopExp::MapShapes(region.compound, type, map);
    for (int i = 1; i <= map.Extent(); ++i) {
      if (restored.Contains(map(i))) continue;
      const TopoDS_Shape modified = restore.Value(modifier.ModifiedShape(map(i)));
      if (modified.IsSame(map(i))) continue;
      step.AddModified(map(i), modified);
      replaced.emplace_back(map(i), modified);
    }
  }
  history = first ? step : ComposeHistories(body, history, step);
  shape = ReplaceFaces(shape, madeFaces);
  return ErrorNone;
}

// The hinge of a taper: through the first hinge edge, or through the face's lowest
// point along the pull direction.
gp_Pln NeutralPlane(const TopoDS_Face& face, const FaceChange& change) {
  gp_Pnt origin;
  if (!change.taperEdges.empty()) {
    origin = BRep_Tool::Pnt(TopExp::FirstVertex(TopoDS::Edge(change.taperEdges.front())));
  } else {
    double lowest = std::numeric_limits<double>::max();
    for (TopExp_Explorer it(face, TopAbs_VERTEX); it.More(); it.Next()) {
      const gp_Pnt point = BRep_Tool::Pnt(TopoDS::Vertex(it.Current()));
      const double height = gp_Vec(point.XYZ()).Dot(gp_Vec(change.taperDirection));
      if (height < lowest) {
        lowest = height;
        origin = point;
      }
    }
  }
  return gp_Pln(origin, change.taperDirection);
}

int TaperFaces(const TopoDS_Shape& body, const std::vector<FaceChange>& changes,
               TopoDS_Shape& shape, BRepTools_History& history, std::string& detail) {
  if (std::none_of(changes.begin(), changes.end(),
                   [](const FaceChange& change) { return change.kind == Kind::FaceChangeTaper; })) {
    return ErrorNone;
  }
  BRepOffsetAPI_DraftAngle draft(shape);
  for (const FaceChange& change : changes) {
    if (change.kind != Kind::FaceChangeTaper) continue;
    TopoDS_Face face;
    if (!CurrentFace(history, shape, change.face, face)) {
      detail = "a face to taper did not survive the earlier changes";
      return ErrorTopologyChangeNeeded;
    }
    draft.Add(face, change.taperDirection, change.taperAngle, NeutralPlane(face, change));
    if (!draft.AddDone()) {
      detail = "the face cannot be tapered";
      return ErrorUnsupported;
    }
  }
  draft.Build();
  if (!draft.IsDone()) {
    detail = "the taper could not be made";
    return ErrorAlgorithmFailed;
  }
  // The taper rebuilds faces through its own modification: what each entity became is
  // what the modification made of it.
  BRepTools_History step;
  for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape map;
    TopExp::MapShapes(shape, type, map);
    for (int i = 1; i <= map.Extent(); ++i) {
      const TopTools_ListOfShape& modified = draft.Modified(map(i));
      if (!modified.IsEmpty()) {
        for (TopTools_ListOfShape::Iterator it(modified); it.More(); it.Next()) {
          step.AddModified(map(i), it.Value());
        }
        continue;
      }
      const TopoDS_Shape image = draft.ModifiedShape(map(i));
      if (!image.IsNull() && !image.IsSame(map(i))) step.AddModified(map(i), image);
    }
  }
  history = ComposeHistories(body, history, step);
  shape = draft.Shape();
  return ErrorNone;
}

// What a change of surfaces alone knows of the faces it rebuilt, so that its history needs no
// measuring of faces: a face it gave no new surface keeps its surface, so it is the same face
// when each of its edges is; a face given a new plane off its old one has changed. Any other
// face given a new surface is compared by its geometry.
FaceJudge SurfaceChangeJudge(const std::vector<Replacement>& replaced, const RebuiltWires& rebuiltWires,
                             const std::vector<FaceChange>& changes) {
  auto requested = std::make_shared<TopTools_MapOfShape>();
  for (const FaceChange& change : changes) requested->Add(change.face);
  // The edges the change replaced, by their replacements: an edge of a rebuilt face that is
  // none of these is one the change kept.
  auto sourceOf = std::make_shared<TopTools_DataMapOfShapeShape>();
  for (const auto& [source, image] : replaced) {
    if (source.ShapeType() == TopAbs_EDGE) sourceOf->Bind(image, source);
  }
  // Of a face rebuilt in part, only the wires made anew can hold a replaced edge.
  auto parts = std::make_shared<RebuiltWires>(rebuiltWires);
  return [requested, sourceOf, parts](const TopoDS_Face& source, const TopoDS_Face& product) {
    if (requested->Contains(source)) {
      const Handle(Geom_Plane) before = Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(source));
      const Handle(Geom_Plane) after = Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(product));
      if (!before.IsNull() && !after.IsNull()) {
        const gp_Pln a = before->Pln(), b = after->Pln();
        if (!a.Axis().IsParallel(b.Axis(), 1e-12) || a.Distance(b.Location()) > 1e-9) return false;
      }
      return IsSameGeometry(source, product);
    }
    const TopoDS_Shape* part = parts->Seek(product);
    for (TopExp_Explorer it(part != nullptr ? *part : TopoDS_Shape(product), TopAbs_EDGE); it.More(); it.Next()) {
      const TopoDS_Shape* edge = sourceOf->Seek(it.Current());
      if (edge != nullptr && !IsSameGeometry(*edge, it.Current())) return false;
    }
    return true;
  };
}

// A face changed as asked lies on the surface asked for: its vertices do, and a planar face's
// plane does at a point amid them (its vertices may all lie on one line of a tilted plane).
bool LiesOn(const TopoDS_Shape& face, const Handle(Geom_Surface)& surface) {
  GeomAPI_ProjectPointOnSurf projection;
  gp_XYZ sum(0.0, 0.0, 0.0);
  int count = 0;
  for (TopExp_Explorer it(face, TopAbs_VERTEX); it.More(); it.Next()) {
    const gp_Pnt point = BRep_Tool::Pnt(TopoDS::Vertex(it.Current()));
    projection.Init(point, surface);
    if (projection.NbPoints() == 0 || projection.LowerDistance() > 1e-6) return false;
    sum += point.XYZ();
    ++count;
  }
  const Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(TopoDS::Face(face)));
  if (plane.IsNull()) return true;
  // The middle of the vertices put on the face's own plane stands for the face as its centre
  // of mass did, without integrating over every wire of a face with many holes.
  gp_Pnt middle;
  if (count > 0) {
    middle = gp_Pnt(sum / count);
  } else {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(face, props);
    middle = props.CentreOfMass();
  }
  const gp_Pln own = plane->Pln();
  const gp_Vec off(own.Location(), middle);
  const gp_Dir normal = own.Axis().Direction();
  middle.Translate(-off.Dot(gp_Vec(normal)) * gp_Vec(normal));
  projection.Init(middle, surface);
  return projection.NbPoints() != 0 && projection.LowerDistance() <= 1e-6;
}

}  // namespace

Result ChangeFaces(const TopoDS_Shape& body, const std::vector<FaceChange>& changes,
                   const FaceNeighbours* neighbours) {
  std::string detail;
  const int invalid = CheckRequests(body, changes, detail);
  if (invalid != ErrorNone) return Result::Failure(invalid, detail);
  return GuardOperation([&]() -> Result {
    std::string why;
    std::vector<BlendInfo> blends;
    std::vector<double> radii;
    std::vector<TopoDS_Shape> blendFaces;
    for (const FaceChange& change : changes) {
      if (change.kind == Kind::FaceChangeReblend) blendFaces.push_back(change.face);
    }
    // A vertex blend where re-made blends meet goes with them and is made again by them.
    const std::vector<TopoDS_Shape> patches = TakeCornerPatches(body, blendFaces);
    std::vector<TopoDS_Shape> removed = blendFaces;
    removed.insert(removed.end(), patches.begin(), patches.end());
    for (const FaceChange& change : changes) {
      const bool isPatch = std::any_of(patches.begin(), patches.end(),
                                       [&](const TopoDS_Shape& p) { return p.IsSame(change.face); });
      if (change.kind != Kind::FaceChangeReblend || isPatch) continue;
      BlendInfo info;
      if (!IdentifyBlend(body, change.face, removed, info, why)) {
        return Result::Failure(ErrorNotABlend, why);
      }
      blends.push_back(info);
      radii.push_back(change.radius);
    }

    TopoDS_Shape shape = body;
    BRepTools_History history;
    int error = ErrorNone;
    if (!removed.empty()) error = RemoveFacesByHealing(body, removed, shape, history, why);
    std::vector<Handle(Geom_Surface)> requested(changes.size());
    std::vector<Replacement> replaced;
    RebuiltWires rebuiltWires;
    if (error == ErrorNone)
      error = ChangeSurfaces(body, changes, shape, history, requested, replaced, rebuiltWires, neighbours, why);
    if (error == ErrorNone) error = TaperFaces(body, changes, shape, history, why);
    std::vector<std::vector<TopoDS_Shape>> newBlendFaces;
    if (error == ErrorNone) {
      error = BlendSupports(body, shape, history, blends, radii, newBlendFaces, why);
    }
    if (error != ErrorNone) return Result::Failure(error, why);

    // Without blends or tapers the one modification made the whole history, and it named
    // each entity it replaced: the history lists those alone.
    bool surfacesOnly = true;
    for (const FaceChange& change : changes) surfacesOnly = surfacesOnly && IsSurfaceChange(change.kind);
    Result result = surfacesOnly
                        ? FinishReshape(body, shape, replaced, SurfaceChangeJudge(replaced, rebuiltWires, changes),
                                        &rebuiltWires)
                        : FinishOperation(body, shape, history);
    if (!result.ok) return result;
    RelinkBlends(result.history, blends, newBlendFaces);
    RelinkCornerPatches(result.history, result.shape, patches);
    for (size_t i = 0; i < changes.size(); ++i) {
      const EntityOutcome* outcome = result.history.Find(changes[i].face);
      if (outcome == nullptr || outcome->products.size() != 1) {
        return Result::Failure(ErrorTopologyChangeNeeded, "a changed face did not stay one face");
      }
      if (!requested[i].IsNull() && !LiesOn(outcome->products.front(), requested[i])) {
        return Result::Failure(ErrorAlgorithmFailed, "a face did not reach its new surface");
      }
    }
    return result;
  });
}

}  // namespace hxr::engine
