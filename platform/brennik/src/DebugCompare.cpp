// Debug body compare: the same topology with the same geometry, entity by entity.
#include "EntityOps.h"

#include <BRep_Tool.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>

using namespace brennik;

namespace {

// Pairs the entities of two bodies: by identifier when asked (and when the identifiers are
// the same set), else by traversal order.
std::vector<std::pair<int, int>> Pair(const BodyRecord& a, const BodyRecord& b, const std::vector<int>& la,
                                      const std::vector<int>& lb, bool byIdentifier) {
  std::vector<std::pair<int, int>> pairs;
  if (byIdentifier) {
    std::map<int, int> other;
    for (int tag : lb) other[b.subs.at(tag).identifier] = tag;
    for (int tag : la) {
      auto it = other.find(a.subs.at(tag).identifier);
      pairs.emplace_back(tag, it == other.end() ? 0 : it->second);
    }
  } else {
    for (std::size_t i = 0; i < la.size(); ++i) pairs.emplace_back(la[i], lb[i]);
  }
  return pairs;
}

bool SameEntity(const BodyRecord& a, int ta, const BodyRecord& b, int tb, double tol) {
  if (tb == 0) return false;
  const SubEntity& sa = a.subs.at(ta);
  const SubEntity& sb = b.subs.at(tb);
  if (sa.cls != sb.cls) return false;
  if ((sa.geom == 0) != (sb.geom == 0)) return false;
  if (sa.geom && !Coincident(a.geoms.at(sa.geom).data, b.geoms.at(sb.geom).data, tol)) return false;
  if (sa.cls == BQ_CLASS_face) {
    if (a.faceEdges.at(ta).size() != b.faceEdges.at(tb).size()) return false;
    if ((sa.shape.Orientation() == TopAbs_REVERSED) != (sb.shape.Orientation() == TopAbs_REVERSED)) return false;
  }
  return true;
}

}  // namespace

int BQ_DEBUG_BODY_compare(int body1, int body2, const BQ_DEBUG_BODY_compare_o_t* options,
                          BQ_DEBUG_BODY_compare_r_t* results) {
  if (results) *results = BQ_DEBUG_BODY_compare_r_t{};
  return KernelRun("BQ_DEBUG_BODY_compare", [&]() -> int {
    if (!results) return BQ_ERROR_null_arg;
    Located a, b;
    if (int code = ResolveClass(body1, BQ_CLASS_body, &a)) return code;
    if (int code = ResolveClass(body2, BQ_CLASS_body, &b)) return code;
    double tol = options && options->tolerance > 0 ? options->tolerance : 1e-8;
    bool byIdentifier = options ? options->compare_identifiers : true;
    const BodyRecord& ra = *a.body;
    const BodyRecord& rb = *b.body;
    std::vector<int> differing;
    bool equal = ra.bodyType == rb.bodyType && ra.faces.size() == rb.faces.size() &&
                 ra.edges.size() == rb.edges.size() && ra.vertices.size() == rb.vertices.size();
    if (equal) {
      for (auto lists : {std::make_pair(&ra.faces, &rb.faces), std::make_pair(&ra.edges, &rb.edges),
                         std::make_pair(&ra.vertices, &rb.vertices)})
        for (const auto& pair : Pair(ra, rb, *lists.first, *lists.second, byIdentifier))
          if (!SameEntity(ra, pair.first, rb, pair.second, tol)) differing.push_back(pair.first);
      equal = differing.empty();
    }
    results->equal = equal;
    results->n_differences = static_cast<int>(differing.size());
    results->differing_entities = KernelArray(differing);
    return 0;
  });
}

void BQ_DEBUG_BODY_compare_r_f(BQ_DEBUG_BODY_compare_r_t* results) {
  if (!results) return;
  BQ_MEMORY_free(results->differing_entities);
  *results = BQ_DEBUG_BODY_compare_r_t{};
}
