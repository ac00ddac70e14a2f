// Debug body compare: the same topology with the same geometry, entity by entity, with one
// report per difference found.
#include "EntityOps.h"

#include <BRep_Tool.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>

using namespace brennik;

namespace {

// Everything compared; what a null options record stands for.
BQ_DEBUG_BODY_compare_o_t CompareEverything() {
  BQ_DEBUG_BODY_compare_o_t options{};
  options.o_t_version = 1;
  options.compare_body_type = options.compare_counts = options.compare_faces = true;
  options.compare_edges = options.compare_vertices = options.compare_geometry = true;
  options.compare_face_senses = options.compare_identifiers = options.compare_attributes = true;
  return options;
}

struct Side {
  const BodyRecord& body;
  const PartitionState& state;

  const SubEntity& Sub(int tag) const { return body.subs.at(tag); }
  // Attributes the entity owns, and the groups it belongs to (each carries its own).
  std::size_t AttributeCount(int tag) const {
    auto owned = state.attribsOf.find(tag);
    std::size_t count = owned == state.attribsOf.end() ? 0 : owned->second.size();
    for (const auto& group : state.groups)
      for (int member : group.second.members)
        if (member == tag) ++count;
    return count;
  }
};

class Comparison {
 public:
  Comparison(const Side& a, const Side& b, const BQ_DEBUG_BODY_compare_o_t& options)
      : m_a(a), m_b(b), m_options(options),
        m_tolerance(options.tolerance > 0 ? options.tolerance : 1e-8) {}

  void Run() {
    if (m_options.compare_body_type && m_a.body.bodyType != m_b.body.bodyType)
      Report(BQ_DEBUG_report_body_type, m_a.body.tag, m_b.body.tag);
    if (m_options.compare_counts && (m_a.body.faces.size() != m_b.body.faces.size() ||
                                     m_a.body.edges.size() != m_b.body.edges.size() ||
                                     m_a.body.vertices.size() != m_b.body.vertices.size())) {
      // Entities cannot be paired by position: the geometry stays unexamined.
      Report(BQ_DEBUG_report_count, m_a.body.tag, m_b.body.tag);
      m_geometryCompared = false;
      return;
    }
    if (m_options.compare_faces) CompareList(m_a.body.faces, m_b.body.faces);
    if (m_options.compare_edges) CompareList(m_a.body.edges, m_b.body.edges);
    if (m_options.compare_vertices) CompareList(m_a.body.vertices, m_b.body.vertices);
  }

  void Fill(BQ_DEBUG_BODY_compare_r_t* results) const {
    results->topology_result = m_topologyDiffers ? BQ_DEBUG_topology_differs : BQ_DEBUG_topology_same;
    results->geometry_result = !m_geometryCompared ? BQ_DEBUG_geometry_not_compared
                               : m_geometryDiffers ? BQ_DEBUG_geometry_differs
                                                   : BQ_DEBUG_geometry_same;
    OutArray(m_reports, &results->n_reports, &results->reports);
  }

 private:
  void Report(int code, int entity1, int entity2) {
    if (code == BQ_DEBUG_report_geometry)
      m_geometryDiffers = true;
    else
      m_topologyDiffers = true;
    if (m_options.max_reports <= 0 || static_cast<int>(m_reports.size()) < m_options.max_reports)
      m_reports.push_back({code, entity1, entity2});
  }

  // The code of the first difference between two entities, 0 when they agree.
  int Difference(int ta, int tb) const {
    const SubEntity& sa = m_a.Sub(ta);
    const SubEntity& sb = m_b.Sub(tb);
    if (sa.cls != sb.cls || (sa.geom == 0) != (sb.geom == 0)) return BQ_DEBUG_report_class;
    if (m_options.compare_geometry && sa.geom &&
        !Coincident(m_a.body.geoms.at(sa.geom).data, m_b.body.geoms.at(sb.geom).data, m_tolerance))
      return BQ_DEBUG_report_geometry;
    if (m_options.compare_face_senses && sa.cls == BQ_CLASS_face &&
        (m_a.body.faceEdges.at(ta).size() != m_b.body.faceEdges.at(tb).size() ||
         FaceAgreesWithSurface(sa.shape, m_a.body.geoms.at(sa.geom).data.surface) !=
             FaceAgreesWithSurface(sb.shape, m_b.body.geoms.at(sb.geom).data.surface)))
      return BQ_DEBUG_report_face_sense;
    if (m_options.compare_attributes && m_a.AttributeCount(ta) != m_b.AttributeCount(tb))
      return BQ_DEBUG_report_attributes;
    return 0;
  }

  // Pairs by identifier when asked, else by traversal order. An entity whose identifier has no
  // counterpart but which agrees with the entity at its own position is the same entity
  // numbered differently.
  void CompareList(const std::vector<int>& la, const std::vector<int>& lb) {
    std::map<int, int> byIdentifier;
    if (m_options.compare_identifiers)
      for (int tag : lb) byIdentifier[m_b.Sub(tag).identifier] = tag;
    for (std::size_t i = 0; i < la.size(); ++i) {
      int tb = lb[i];
      if (m_options.compare_identifiers) {
        auto it = byIdentifier.find(m_a.Sub(la[i]).identifier);
        if (it == byIdentifier.end()) {
          const int code = Difference(la[i], tb);
          Report(code == 0 ? BQ_DEBUG_report_identifier : BQ_DEBUG_report_unpaired, la[i], tb);
          continue;
        }
        tb = it->second;
      }
      if (const int code = Difference(la[i], tb)) Report(code, la[i], tb);
    }
  }

  const Side& m_a;
  const Side& m_b;
  const BQ_DEBUG_BODY_compare_o_t& m_options;
  const double m_tolerance;
  std::vector<BQ_DEBUG_BODY_compare_report_t> m_reports;
  bool m_topologyDiffers = false;
  bool m_geometryDiffers = false;
  bool m_geometryCompared = true;
};

}  // namespace

int BQ_DEBUG_BODY_compare(int body1, int body2, const BQ_DEBUG_BODY_compare_o_t* options,
                          BQ_DEBUG_BODY_compare_r_t* results) {
  if (results) *results = BQ_DEBUG_BODY_compare_r_t{};
  return KernelRun("BQ_DEBUG_BODY_compare", [&]() -> int {
    if (!results) return BQ_ERROR_null_arg;
    Located a, b;
    if (int code = ResolveClass(body1, BQ_CLASS_body, &a)) return code;
    if (int code = ResolveClass(body2, BQ_CLASS_body, &b)) return code;
    const BQ_DEBUG_BODY_compare_o_t everything = CompareEverything();
    const Side sideA{*a.body, a.partition->state};
    const Side sideB{*b.body, b.partition->state};
    Comparison comparison(sideA, sideB, options ? *options : everything);
    comparison.Run();
    comparison.Fill(results);
    return 0;
  });
}

void BQ_DEBUG_BODY_compare_r_f(BQ_DEBUG_BODY_compare_r_t* results) {
  if (!results) return;
  BQ_MEMORY_free(results->reports);
  *results = BQ_DEBUG_BODY_compare_r_t{};
}
