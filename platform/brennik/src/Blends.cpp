// Blend identification. A blend is a face on a cylinder or torus that rolls tangentially on
// two or more faces (its unders) along its long edges (rulings of a cylinder, circles about
// a torus axis), with the radius of the rolling ball; a sphere face whose neighbours are all
// tangent blends of its radius is a corner patch. Blends that share an edge form chains.
#include "EntityOps.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Sphere.hxx>
#include <gp_Torus.hxx>

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>

using namespace brennik;

namespace {

const double kAngular = 1e-6;

struct BlendInfo {
  bool blend = false;
  bool corner = false;
  double radius = 0.0;
  std::vector<int> unders;
};

Handle(Geom_Surface) Basis(Handle(Geom_Surface) s) {
  while (auto t = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) s = t->BasisSurface();
  return s;
}

// The face's outward normal at the middle of one of its edges.
bool NormalAtEdge(const TopoDS_Face& face, const TopoDS_Edge& edge, gp_Vec* normal) {
  double f, l;
  Handle(Geom2d_Curve) pcurve = BRep_Tool::CurveOnSurface(edge, face, f, l);
  if (pcurve.IsNull()) return false;
  gp_Pnt2d uv = pcurve->Value(0.5 * (f + l));
  BRepAdaptor_Surface surface(face, Standard_False);
  gp_Pnt p;
  gp_Vec du, dv;
  surface.D1(uv.X(), uv.Y(), p, du, dv);
  gp_Vec n = du.Crossed(dv);
  if (n.Magnitude() < 1e-12) return false;
  n.Normalize();
  if (face.Orientation() == TopAbs_REVERSED) n.Reverse();
  *normal = n;
  return true;
}

bool Tangent(const TopoDS_Face& a, const TopoDS_Face& b, const TopoDS_Edge& edge) {
  gp_Vec na, nb;
  if (!NormalAtEdge(a, edge, &na) || !NormalAtEdge(b, edge, &nb)) return false;
  return na.Dot(nb) > 0 && na.Crossed(nb).Magnitude() < kAngular * 100;
}

// Whether an edge runs along the blend (not across it).
bool LongEdge(const GeomData& g, const TopoDS_Edge& edge) {
  if (BRep_Tool::Degenerated(edge)) return false;
  BRepAdaptor_Curve curve(edge);
  double mid = 0.5 * (curve.FirstParameter() + curve.LastParameter());
  gp_Pnt p;
  gp_Vec t;
  curve.D1(mid, p, t);
  if (t.Magnitude() < 1e-12) return false;
  t.Normalize();
  Handle(Geom_Surface) s = Basis(g.surface);
  if (g.cls == BQ_CLASS_cyl) {
    gp_Dir axis = Handle(Geom_CylindricalSurface)::DownCast(s)->Cylinder().Axis().Direction();
    return std::abs(std::abs(t.Dot(gp_Vec(axis))) - 1.0) < kAngular;
  }
  if (g.cls == BQ_CLASS_torus) {
    gp_Torus torus = Handle(Geom_ToroidalSurface)::DownCast(s)->Torus();
    gp_Vec axis(torus.Axis().Direction());
    gp_Vec radial(torus.Location(), p);
    radial -= axis * radial.Dot(axis);
    if (radial.Magnitude() < 1e-12) return false;
    gp_Vec around = axis.Crossed(radial.Normalized());
    return std::abs(std::abs(t.Dot(around)) - 1.0) < kAngular;
  }
  return false;
}

double RadiusOf(const GeomData& g) {
  Handle(Geom_Surface) s = Basis(g.surface);
  if (g.cls == BQ_CLASS_cyl) return Handle(Geom_CylindricalSurface)::DownCast(s)->Cylinder().Radius();
  if (g.cls == BQ_CLASS_torus) return Handle(Geom_ToroidalSurface)::DownCast(s)->Torus().MinorRadius();
  if (g.cls == BQ_CLASS_sphere) return Handle(Geom_SphericalSurface)::DownCast(s)->Sphere().Radius();
  return 0.0;
}

const GeomData* FaceGeom(const BodyRecord& body, int face) {
  const SubEntity& sub = body.subs.at(face);
  auto it = body.geoms.find(sub.geom);
  return it == body.geoms.end() ? nullptr : &it->second.data;
}

// The rolling-ball analysis of one face; corner patches need their neighbours' answers.
BlendInfo AnalyseRolling(const BodyRecord& body, int face) {
  BlendInfo info;
  const GeomData* g = FaceGeom(body, face);
  if (!g || (g->cls != BQ_CLASS_cyl && g->cls != BQ_CLASS_torus)) return info;
  const TopoDS_Face& f = TopoDS::Face(body.subs.at(face).shape);
  for (int edge : body.faceEdges.at(face)) {
    const TopoDS_Edge& e = TopoDS::Edge(body.subs.at(edge).shape);
    if (!LongEdge(*g, e)) continue;
    for (int other : body.edgeFaces.at(edge)) {
      if (other == face) continue;
      if (Tangent(f, TopoDS::Face(body.subs.at(other).shape), e) &&
          std::find(info.unders.begin(), info.unders.end(), other) == info.unders.end())
        info.unders.push_back(other);
    }
  }
  info.radius = RadiusOf(*g);
  info.blend = info.unders.size() >= 2;
  if (!info.blend) info.unders.clear();
  return info;
}

BlendInfo Analyse(const BodyRecord& body, int face, double tolerance) {
  BlendInfo info = AnalyseRolling(body, face);
  if (info.blend) return info;
  const GeomData* g = FaceGeom(body, face);
  if (!g || g->cls != BQ_CLASS_sphere) return info;
  double radius = RadiusOf(*g);
  const TopoDS_Face& f = TopoDS::Face(body.subs.at(face).shape);
  int neighbours = 0;
  for (int edge : body.faceEdges.at(face)) {
    for (int other : body.edgeFaces.at(edge)) {
      if (other == face) continue;
      BlendInfo next = AnalyseRolling(body, other);
      if (!next.blend || std::abs(next.radius - radius) > tolerance ||
          !Tangent(f, TopoDS::Face(body.subs.at(other).shape), TopoDS::Edge(body.subs.at(edge).shape)))
        return info;
      ++neighbours;
    }
  }
  info.blend = neighbours >= 2;
  info.corner = info.blend;
  info.radius = radius;
  return info;
}

// The chain of blends reached from a seed through shared edges.
std::vector<int> Chain(const BodyRecord& body, int seed, double tolerance, bool equalRadius, bool corners,
                       std::map<int, BlendInfo>& cache) {
  auto info = [&](int face) -> const BlendInfo& {
    auto it = cache.find(face);
    if (it == cache.end()) it = cache.emplace(face, Analyse(body, face, tolerance)).first;
    return it->second;
  };
  std::vector<int> chain;
  std::set<int> seen{seed};
  std::deque<int> queue{seed};
  double radius = info(seed).radius;
  while (!queue.empty()) {
    int face = queue.front();
    queue.pop_front();
    chain.push_back(face);
    for (int edge : body.faceEdges.at(face))
      for (int other : body.edgeFaces.at(edge)) {
        if (seen.count(other)) continue;
        const BlendInfo& next = info(other);
        if (!next.blend || (next.corner && !corners)) continue;
        if (equalRadius && std::abs(next.radius - radius) > tolerance) continue;
        seen.insert(other);
        queue.push_back(other);
      }
  }
  return chain;
}

// The chains of the blends that roll on a face: each neighbour across an edge that is a blend
// with the face among its unders seeds a chain of equal radius (corner patches included). The
// given faces and faces already in a set are left out, so a chain met twice gives one set.
std::vector<std::vector<int>> DependentChains(const BodyRecord& body, int face, const std::set<int>& given,
                                              double tolerance, std::map<int, BlendInfo>& cache,
                                              std::set<int>& covered) {
  auto info = [&](int f) -> const BlendInfo& {
    auto it = cache.find(f);
    if (it == cache.end()) it = cache.emplace(f, Analyse(body, f, tolerance)).first;
    return it->second;
  };
  std::vector<std::vector<int>> chains;
  for (int edge : body.faceEdges.at(face))
    for (int other : body.edgeFaces.at(edge)) {
      if (other == face || given.count(other) || covered.count(other)) continue;
      const BlendInfo& blend = info(other);
      if (!blend.blend || std::find(blend.unders.begin(), blend.unders.end(), face) == blend.unders.end()) continue;
      std::vector<int> chain;
      for (int member : Chain(body, other, tolerance, true, true, cache))
        if (!given.count(member) && covered.insert(member).second) chain.push_back(member);
      if (!chain.empty()) chains.push_back(chain);
    }
  return chains;
}

void AddSet(std::vector<BQ_FACE_blend_set_t>& sets, const std::vector<int>& faces, double radius,
            const std::map<int, BlendInfo>& cache) {
  std::vector<int> unders;
  for (int face : faces)
    for (int u : cache.at(face).unders)
      if (std::find(unders.begin(), unders.end(), u) == unders.end() &&
          std::find(faces.begin(), faces.end(), u) == faces.end())
        unders.push_back(u);
  BQ_FACE_blend_set_t set{};
  set.n_faces = static_cast<int>(faces.size());
  set.faces = KernelArray(faces);
  set.radius = radius;
  set.n_unders = static_cast<int>(unders.size());
  set.unders = KernelArray(unders);
  sets.push_back(set);
}

}  // namespace

int BQ_FACE_identify_blends(int n_faces, const int* faces, int kind, const BQ_FACE_identify_blends_o_t* options,
                            BQ_FACE_identify_blends_r_t* results) {
  if (results) *results = BQ_FACE_identify_blends_r_t{};
  return KernelRun("BQ_FACE_identify_blends", [&]() -> int {
    if (!results) return BQ_ERROR_null_arg;
    if (n_faces <= 0) return BQ_ERROR_bad_count;
    if (!faces) return BQ_ERROR_null_arg;
    if (kind < BQ_BLEND_identify_face || kind > BQ_BLEND_identify_dependent) return BQ_ERROR_bad_value;
    std::vector<Located> where(n_faces);
    for (int i = 0; i < n_faces; ++i) {
      if (int code = ResolveClass(faces[i], BQ_CLASS_face, &where[i])) return code;
      if (where[i].kind != Kind::Sub) return BQ_ERROR_wrong_class;
    }
    double tolerance = options && options->have_tolerance && options->tolerance > 0 ? options->tolerance : 1e-8;
    std::vector<BQ_FACE_blend_set_t> sets;
    std::map<const BodyRecord*, std::map<int, BlendInfo>> caches;
    std::set<int> covered;
    if (kind == BQ_BLEND_identify_dependent) {
      std::set<int> given(faces, faces + n_faces);
      for (int i = 0; i < n_faces; ++i) {
        const BodyRecord& body = *where[i].body;
        for (const std::vector<int>& chain : DependentChains(body, faces[i], given, tolerance, caches[&body], covered))
          AddSet(sets, chain, caches[&body].at(chain.front()).radius, caches[&body]);
      }
      results->n_blends = static_cast<int>(sets.size());
      results->blends = KernelArray(sets);
      return 0;
    }
    for (int i = 0; i < n_faces; ++i) {
      const BodyRecord& body = *where[i].body;
      auto& cache = caches[&body];
      if (!cache.count(faces[i])) cache[faces[i]] = Analyse(body, faces[i], tolerance);
      const BlendInfo& seed = cache.at(faces[i]);
      if (!seed.blend || covered.count(faces[i])) continue;
      if (kind == BQ_BLEND_identify_face) {
        covered.insert(faces[i]);
        AddSet(sets, {faces[i]}, seed.radius, cache);
        continue;
      }
      bool equalRadius = kind != BQ_BLEND_identify_max_chain;
      bool corners = kind != BQ_BLEND_identify_exc_min_chain;
      std::vector<int> chain = Chain(body, faces[i], tolerance, equalRadius, corners, cache);
      // One set per radius, in the order the radii are met along the chain.
      std::vector<std::pair<double, std::vector<int>>> byRadius;
      for (int face : chain) {
        if (covered.count(face)) continue;
        covered.insert(face);
        double r = cache.at(face).radius;
        auto it = std::find_if(byRadius.begin(), byRadius.end(),
                               [&](const auto& entry) { return std::abs(entry.first - r) <= tolerance; });
        if (it == byRadius.end()) byRadius.push_back({r, {face}});
        else it->second.push_back(face);
      }
      for (const auto& entry : byRadius) AddSet(sets, entry.second, entry.first, cache);
    }
    results->n_blends = static_cast<int>(sets.size());
    results->blends = KernelArray(sets);
    return 0;
  });
}

void BQ_FACE_identify_blends_r_f(BQ_FACE_identify_blends_r_t* results) {
  if (!results) return;
  for (int i = 0; i < results->n_blends; ++i) {
    BQ_MEMORY_free(results->blends[i].faces);
    BQ_MEMORY_free(results->blends[i].unders);
  }
  BQ_MEMORY_free(results->blends);
  *results = BQ_FACE_identify_blends_r_t{};
}

int BQ_FACE_find_blend_unders(int face, double tolerance, int* n_unders, int** unders) {
  if (n_unders) *n_unders = 0;
  if (unders) *unders = nullptr;
  return KernelRun("BQ_FACE_find_blend_unders", [&]() -> int {
    if (!n_unders || !unders) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(face, BQ_CLASS_face, &where)) return code;
    if (where.kind != Kind::Sub) return BQ_ERROR_wrong_class;
    BlendInfo info = Analyse(*where.body, face, tolerance > 0 ? tolerance : 1e-8);
    OutArray(info.unders, n_unders, unders);
    return 0;
  });
}
