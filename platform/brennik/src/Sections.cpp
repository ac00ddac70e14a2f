// Sections of bodies by surfaces, and the face operations that make sheets from faces or take
// faces out of a body. Each reports track records pairing its products with their sources.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRepAlgoAPI_Defeaturing.hxx>
#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Builder.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>

#include <algorithm>

using namespace brennik;

namespace {

struct Track {
  int code;
  std::vector<int> originals, products;
};

void HandTracking(const std::vector<Track>& tracks, BQ_TOPOL_track_r_t* out) {
  if (!out) return;
  std::vector<BQ_TOPOL_track_record_r_t> records;
  for (const Track& t : tracks) {
    BQ_TOPOL_track_record_r_t r{};
    r.track = t.code;
    r.n_original_topols = static_cast<int>(t.originals.size());
    r.original_topols = KernelArray(t.originals);
    r.n_product_topols = static_cast<int>(t.products.size());
    r.product_topols = KernelArray(t.products);
    records.push_back(r);
  }
  out->n_track_records = static_cast<int>(records.size());
  out->track_records = KernelArray(records);
}

bool OnShape(const TopoDS_Vertex& v, const TopoDS_Shape& s, double tol) {
  BRepExtrema_DistShapeShape dist(v, s);
  return dist.IsDone() && dist.Value() <= tol;
}

// The faces a face operation takes: at least one, each a face, all of one body.
int ResolveFacesOfOneBody(int n_faces, const int* faces, std::vector<Located>* where) {
  if (n_faces <= 0) return BQ_ERROR_bad_count;
  if (!faces) return BQ_ERROR_null_arg;
  where->resize(n_faces);
  std::vector<Located>& at = *where;
  for (int i = 0; i < n_faces; ++i) {
    if (int code = ResolveClass(faces[i], BQ_CLASS_face, &at[i])) return code;
    if (at[i].kind != Kind::Sub) return BQ_ERROR_wrong_class;
    if (at[i].body != at[0].body) return BQ_ERROR_not_in_part;
  }
  return 0;
}

}  // namespace

int BQ_BODY_make_section_with_surfs(int n_bodies, const int* bodies, int n_surfs, const int* surfs,
                                   const BQ_BODY_make_section_o_t* options, BQ_TOPOL_track_r_t* tracking,
                                   BQ_BODY_make_section_r_t* results) {
  if (tracking) *tracking = BQ_TOPOL_track_r_t{};
  if (results) *results = BQ_BODY_make_section_r_t{};
  return KernelRun("BQ_BODY_make_section_with_surfs", [&]() -> int {
    if (!results) return BQ_ERROR_null_arg;
    if (n_bodies <= 0 || n_surfs <= 0) return BQ_ERROR_bad_count;
    if (!bodies || !surfs) return BQ_ERROR_null_arg;
    std::vector<Located> bodyAt(n_bodies), surfAt(n_surfs);
    for (int i = 0; i < n_bodies; ++i)
      if (int code = ResolveClass(bodies[i], BQ_CLASS_body, &bodyAt[i])) return code;
    for (int i = 0; i < n_surfs; ++i)
      if (int code = ResolveClass(surfs[i], BQ_CLASS_surf, &surfAt[i])) return code;
    double tol = options && options->tolerance > 0 ? options->tolerance : 1e-7;
    BRep_Builder builder;
    TopoDS_Compound all;
    builder.MakeCompound(all);
    // Which cut-body face each section edge lies on.
    std::vector<std::pair<TopoDS_Shape, std::pair<int, int>>> edgeSources;
    int pieces = 0;
    for (int i = 0; i < n_bodies; ++i) {
      for (int j = 0; j < n_surfs; ++j) {
        BRepAlgoAPI_Section section(bodyAt[i].body->shape, GeomOf(surfAt[j])->surface, Standard_False);
        section.ComputePCurveOn1(Standard_True);
        section.Approximation(Standard_False);
        section.Build();
        if (!section.IsDone()) return BQ_ERROR_section_failed;
        for (TopExp_Explorer ex(section.Shape(), TopAbs_EDGE); ex.More(); ex.Next()) {
          builder.Add(all, ex.Current());
          ++pieces;
          TopoDS_Shape face;
          int faceTag = 0;
          if (section.HasAncestorFaceOn1(ex.Current(), face)) faceTag = store::TagOf(bodies[i], face);
          edgeSources.push_back({ex.Current(), {faceTag, surfs[j]}});
        }
      }
    }
    if (pieces == 0) return 0;  // the surfaces miss the bodies: no section body
    Session* s = CurrentSession();
    int body = s->NewTag();
    BodyPtr record = BuildBodyRecord(*s, body, all, nullptr, nullptr);
    InstallBody(CurrentPartition()->Change(), record);
    std::vector<Track> tracks;
    for (int edge : record->edges) {
      const TopoDS_Shape& e = record->subs.at(edge).shape;
      for (const auto& source : edgeSources)
        if (source.first.IsSame(e) && source.second.first)
          tracks.push_back({BQ_TOPOL_track_create, {source.second.first, source.second.second}, {edge}});
    }
    // A vertex where the section crosses an edge of a cut body comes from that edge.
    for (int vertex : record->vertices) {
      const TopoDS_Vertex& v = TopoDS::Vertex(record->subs.at(vertex).shape);
      for (int i = 0; i < n_bodies; ++i)
        for (int edge : bodyAt[i].body->edges)
          if (OnShape(v, bodyAt[i].body->subs.at(edge).shape, tol)) {
            tracks.push_back({BQ_TOPOL_track_create, {edge, surfs[0]}, {vertex}});
            break;
          }
    }
    HandTracking(tracks, tracking);
    results->n_bodies = 1;
    results->bodies = KernelArray(std::vector<int>{body});
    return 0;
  });
}

void BQ_BODY_make_section_r_f(BQ_BODY_make_section_r_t* results) {
  if (!results) return;
  BQ_MEMORY_free(results->bodies);
  *results = BQ_BODY_make_section_r_t{};
}

int BQ_FACE_make_sheet_bodies(int n_faces, const int* faces, const BQ_FACE_make_sheet_o_t* /*options*/,
                              BQ_TOPOL_track_r_t* tracking, int* n_bodies, int** bodies) {
  if (tracking) *tracking = BQ_TOPOL_track_r_t{};
  if (n_bodies) *n_bodies = 0;
  if (bodies) *bodies = nullptr;
  return KernelRun("BQ_FACE_make_sheet_bodies", [&]() -> int {
    if (!n_bodies || !bodies) return BQ_ERROR_null_arg;
    std::vector<Located> where;
    if (int code = ResolveFacesOfOneBody(n_faces, faces, &where)) return code;
    BRepBuilderAPI_Sewing sewing(1e-6);
    std::vector<TopoDS_Shape> copies;
    for (int i = 0; i < n_faces; ++i) {
      BRepBuilderAPI_Copy copier(where[i].body->subs.at(faces[i]).shape);
      copies.push_back(copier.Shape());
      sewing.Add(copies.back());
    }
    sewing.Perform();
    TopoDS_Shape sewn = sewing.SewedShape();
    if (sewn.IsNull()) return BQ_ERROR_operation_failed;
    // One body per connected set of faces.
    std::vector<TopoDS_Shape> parts;
    if (sewn.ShapeType() == TopAbs_COMPOUND) {
      for (TopoDS_Iterator it(sewn); it.More(); it.Next()) parts.push_back(it.Value());
    } else {
      parts.push_back(sewn);
    }
    Session* s = CurrentSession();
    Partition& p = *CurrentPartition();
    std::vector<int> made;
    std::vector<Track> tracks;
    for (const TopoDS_Shape& part : parts) {
      int body = s->NewTag();
      BodyPtr record = BuildBodyRecord(*s, body, part, nullptr, nullptr);
      InstallBody(p.Change(), record);
      made.push_back(body);
      for (int i = 0; i < n_faces; ++i) {
        TopoDS_Shape image = sewing.IsModified(copies[i]) ? sewing.Modified(copies[i]) : copies[i];
        for (TopExp_Explorer ex(image, TopAbs_FACE); ex.More(); ex.Next()) {
          const int* tag = record->shapeToTag.Seek(ex.Current());
          if (tag) tracks.push_back({BQ_TOPOL_track_create, {faces[i]}, {*tag}});
        }
      }
    }
    HandTracking(tracks, tracking);
    OutArray(made, n_bodies, bodies);
    return 0;
  });
}

int BQ_FACE_delete(int n_faces, const int* faces, const BQ_FACE_delete_o_t* /*options*/,
                   BQ_TOPOL_track_r_t* tracking, int* n_bodies, int** bodies) {
  if (tracking) *tracking = BQ_TOPOL_track_r_t{};
  if (n_bodies) *n_bodies = 0;
  if (bodies) *bodies = nullptr;
  return KernelRun("BQ_FACE_delete", [&]() -> int {
    if (!n_bodies || !bodies) return BQ_ERROR_null_arg;
    std::vector<Located> where;
    if (int code = ResolveFacesOfOneBody(n_faces, faces, &where)) return code;
    int body = where[0].body->tag;
    BRepAlgoAPI_Defeaturing defeaturing;
    defeaturing.SetShape(where[0].body->shape);
    for (int i = 0; i < n_faces; ++i) defeaturing.AddFaceToRemove(where[i].body->subs.at(faces[i]).shape);
    defeaturing.SetRunParallel(Standard_False);
    defeaturing.Build();
    if (!defeaturing.IsDone() || defeaturing.HasErrors() || defeaturing.Shape().IsNull()) return BQ_ERROR_operation_failed;
    // Defeaturing that cannot close the gap of a face gives back the body as it was, with only
    // a warning: the faces must be gone, and what is left a valid body.
    const TopoDS_Shape& result = defeaturing.Shape();
    TopTools_IndexedMapOfShape left;
    TopExp::MapShapes(result, TopAbs_FACE, left);
    for (int i = 0; i < n_faces; ++i)
      if (left.Contains(where[i].body->subs.at(faces[i]).shape)) return BQ_ERROR_operation_failed;
    if (!IsValidBodyShape(result)) return BQ_ERROR_operation_failed;
    store::ReplaceReport report;
    if (int code = store::ReplaceBodyShape(body, result, defeaturing.History(), &report)) return code;
    std::vector<Track> tracks;
    for (int gone : report.deleted) tracks.push_back({BQ_TOPOL_track_delete, {gone}, {}});
    for (const auto& split : report.splits) tracks.push_back({BQ_TOPOL_track_split, {split.first}, {split.second}});
    for (const auto& merge : report.merges) tracks.push_back({BQ_TOPOL_track_merge, {merge.second, merge.first}, {merge.first}});
    HandTracking(tracks, tracking);
    OutArray(std::vector<int>{body}, n_bodies, bodies);
    return 0;
  });
}
