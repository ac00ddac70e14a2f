#include "RecordNeighbours.h"

#include "Session.h"

#include <TopoDS.hxx>

#include <algorithm>
#include <map>
#include <set>

namespace hxr::wired {
namespace {

const std::vector<int>& ListAt(const brennik::Adjacency& map, int tag) {
  static const std::vector<int> none;
  const auto found = map.find(tag);
  return found == map.end() ? none : found->second;
}

}  // namespace

bool RecordNeighbours::Around(const std::vector<TopoDS_Face>& faces,
                              std::vector<engine::NeighbourFace>& around) const {
  // Face tag -> whether it meets the faces at a vertex alone.
  std::map<int, bool> found;
  std::vector<int> given;
  for (const TopoDS_Face& face : faces) {
    const int* tag = m_record.shapeToTag.Seek(face);
    if (tag == nullptr || m_record.faceEdges.count(*tag) == 0) return false;
    given.push_back(*tag);
    found.emplace(*tag, false);
  }
  std::set<int> edges;
  std::map<int, std::set<int>> held;  // face -> the given edges it holds
  for (int face : given) {
    for (int edge : ListAt(m_record.faceEdges, face)) {
      edges.insert(edge);
      for (int next : ListAt(m_record.edgeFaces, edge)) {
        found.emplace(next, false);
        held[next].insert(edge);
      }
    }
  }
  for (int face : given) {
    for (int vertex : ListAt(m_record.faceVertices, face)) {
      const std::vector<int>& ending = ListAt(m_record.vertexEdges, vertex);
      for (int next : ListAt(m_record.vertexFaces, vertex)) {
        // Met along a given edge ending at the vertex, the face holds the vertex in that
        // edge's wire.
        const bool ended = std::any_of(ending.begin(), ending.end(), [&](int edge) {
          if (edges.count(edge) == 0) return false;
          const std::vector<int>& sides = ListAt(m_record.edgeFaces, edge);
          return std::find(sides.begin(), sides.end(), next) != sides.end();
        });
        if (!ended) found[next] = true;
      }
    }
  }
  around.clear();
  for (const auto& [tag, alone] : found) {
    const auto sub = m_record.subs.find(tag);
    if (sub == m_record.subs.end()) return false;
    around.push_back(engine::NeighbourFace{TopoDS::Face(sub->second.shape), alone, static_cast<int>(held[tag].size())});
  }
  return true;
}

int RecordNeighbours::FaceCount() const { return static_cast<int>(m_record.faces.size()); }

}  // namespace hxr::wired
