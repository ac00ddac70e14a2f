// Topology queries: bodies, faces, edges, vertices, fins and their adjacency; part geometry;
// body partition changes.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>

#include <algorithm>

using namespace brennik;

namespace {

// Resolves a face, edge or vertex (by class) and hands the body record.
int ResolveSub(int tag, int cls, Located* where) {
  if (int code = ResolveClass(tag, cls, where)) return code;
  return where->kind == Kind::Sub ? 0 : BQ_ERROR_wrong_class;
}

using ListOf = const Adjacency BodyRecord::*;

// One shape for every "entity -> list of related entities" query.
int AskList(const char* function, int tag, int cls, ListOf list, int* n, int** out) {
  if (n) *n = 0;
  if (out) *out = nullptr;
  return KernelRun(function, [&]() -> int {
    if (!n || !out) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveSub(tag, cls, &where)) return code;
    const auto& map = where.body->*list;
    auto it = map.find(tag);
    if (it != map.end()) OutArray(it->second, n, out);
    return 0;
  });
}

using BodyList = const std::vector<int> BodyRecord::*;

// One shape for every "body or part -> list the record keeps" query.
int AskBodyList(const char* function, int tag, int cls, BodyList list, int* n, int** out) {
  if (n) *n = 0;
  if (out) *out = nullptr;
  return KernelRun(function, [&]() -> int {
    if (!n || !out) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(tag, cls, &where)) return code;
    OutArray(where.body->*list, n, out);
    return 0;
  });
}

int AskBody(const char* function, int tag, int cls, int* body) {
  return KernelRun(function, [&]() -> int {
    if (!body) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveSub(tag, cls, &where)) return code;
    *body = where.body->tag;
    return 0;
  });
}

}  // namespace

int BQ_BODY_ask_type(int body, int* body_type) {
  return KernelRun("BQ_BODY_ask_type", [&]() -> int {
    if (!body_type) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(body, BQ_CLASS_body, &where)) return code;
    *body_type = where.body->bodyType;
    return 0;
  });
}

int BQ_BODY_ask_faces(int body, int* n, int** faces) {
  return AskBodyList("BQ_BODY_ask_faces", body, BQ_CLASS_body, &BodyRecord::faces, n, faces);
}
int BQ_BODY_ask_edges(int body, int* n, int** edges) {
  return AskBodyList("BQ_BODY_ask_edges", body, BQ_CLASS_body, &BodyRecord::edges, n, edges);
}
int BQ_BODY_ask_vertices(int body, int* n, int** vertices) {
  return AskBodyList("BQ_BODY_ask_vertices", body, BQ_CLASS_body, &BodyRecord::vertices, n, vertices);
}

int BQ_FACE_ask_body(int face, int* body) { return AskBody("BQ_FACE_ask_body", face, BQ_CLASS_face, body); }
int BQ_EDGE_ask_body(int edge, int* body) { return AskBody("BQ_EDGE_ask_body", edge, BQ_CLASS_edge, body); }
int BQ_VERTEX_ask_body(int vertex, int* body) {
  return AskBody("BQ_VERTEX_ask_body", vertex, BQ_CLASS_vertex, body);
}

int BQ_FACE_ask_edges(int face, int* n, int** edges) {
  return AskList("BQ_FACE_ask_edges", face, BQ_CLASS_face, &BodyRecord::faceEdges, n, edges);
}
int BQ_FACE_ask_vertices(int face, int* n, int** vertices) {
  return AskList("BQ_FACE_ask_vertices", face, BQ_CLASS_face, &BodyRecord::faceVertices, n, vertices);
}
int BQ_EDGE_ask_faces(int edge, int* n, int** faces) {
  return AskList("BQ_EDGE_ask_faces", edge, BQ_CLASS_edge, &BodyRecord::edgeFaces, n, faces);
}
int BQ_VERTEX_ask_faces(int vertex, int* n, int** faces) {
  return AskList("BQ_VERTEX_ask_faces", vertex, BQ_CLASS_vertex, &BodyRecord::vertexFaces, n, faces);
}

int BQ_FACE_find_edges_common(int face1, int face2, int* n, int** edges) {
  if (n) *n = 0;
  if (edges) *edges = nullptr;
  return KernelRun("BQ_FACE_find_edges_common", [&]() -> int {
    if (!n || !edges) return BQ_ERROR_null_arg;
    Located a, b;
    if (int code = ResolveSub(face1, BQ_CLASS_face, &a)) return code;
    if (int code = ResolveSub(face2, BQ_CLASS_face, &b)) return code;
    std::vector<int> common;
    if (a.body == b.body) {
      const auto& other = b.body->faceEdges.at(face2);
      for (int edge : a.body->faceEdges.at(face1))
        if (std::find(other.begin(), other.end(), edge) != other.end()) common.push_back(edge);
    }
    OutArray(common, n, edges);
    return 0;
  });
}

int BQ_EDGE_ask_vertices(int edge, int vertices[2]) {
  return KernelRun("BQ_EDGE_ask_vertices", [&]() -> int {
    if (!vertices) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveSub(edge, BQ_CLASS_edge, &where)) return code;
    TopoDS_Vertex first, last;
    TopExp::Vertices(TopoDS::Edge(where.body->subs.at(edge).shape), first, last, Standard_True);
    const int* a = first.IsNull() ? nullptr : where.body->shapeToTag.Seek(first);
    const int* b = last.IsNull() ? nullptr : where.body->shapeToTag.Seek(last);
    vertices[0] = a ? *a : 0;
    vertices[1] = b ? *b : 0;
    return 0;
  });
}

int BQ_EDGE_ask_fins(int edge, int* n, int** fins) {
  if (n) *n = 0;
  if (fins) *fins = nullptr;
  return KernelRun("BQ_EDGE_ask_fins", [&]() -> int {
    if (!n || !fins) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveSub(edge, BQ_CLASS_edge, &where)) return code;
    std::vector<int> list;
    auto it = where.body->edgeFaces.find(edge);
    if (it != where.body->edgeFaces.end())
      for (int face : it->second) list.push_back(where.body->finOf.at({edge, face}));
    OutArray(list, n, fins);
    return 0;
  });
}

int BQ_VERTEX_ask_oriented_edges(int vertex, int* n, int** edges, bool** starts_here) {
  if (n) *n = 0;
  if (edges) *edges = nullptr;
  if (starts_here) *starts_here = nullptr;
  return KernelRun("BQ_VERTEX_ask_oriented_edges", [&]() -> int {
    if (!n || !edges) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveSub(vertex, BQ_CLASS_vertex, &where)) return code;
    std::vector<int> list;
    std::vector<bool> starts;
    auto it = where.body->vertexEdges.find(vertex);
    if (it != where.body->vertexEdges.end()) {
      const TopoDS_Shape& v = where.body->subs.at(vertex).shape;
      for (int edge : it->second) {
        TopoDS_Vertex first, last;
        TopExp::Vertices(TopoDS::Edge(where.body->subs.at(edge).shape), first, last, Standard_True);
        list.push_back(edge);
        starts.push_back(first.IsSame(v));
      }
    }
    OutArray(list, n, edges);
    if (starts_here) {
      *starts_here = list.empty() ? nullptr : static_cast<bool*>(::operator new[](list.size() * sizeof(bool)));
      for (std::size_t i = 0; i < list.size(); ++i) (*starts_here)[i] = starts[i];
    }
    return 0;
  });
}

namespace {
int AskFin(const char* function, int fin, int* out, bool wantEdge) {
  return KernelRun(function, [&]() -> int {
    if (!out) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(fin, BQ_CLASS_fin, &where)) return code;
    const auto& key = where.body->fins.at(fin);
    *out = wantEdge ? key.first : key.second;
    return 0;
  });
}
}  // namespace

int BQ_FIN_ask_edge(int fin, int* edge) { return AskFin("BQ_FIN_ask_edge", fin, edge, true); }
int BQ_FIN_ask_face(int fin, int* face) { return AskFin("BQ_FIN_ask_face", fin, face, false); }

int BQ_FIN_is_positive(int fin, bool* positive) {
  return KernelRun("BQ_FIN_is_positive", [&]() -> int {
    if (!positive) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(fin, BQ_CLASS_fin, &where)) return code;
    const auto& key = where.body->fins.at(fin);
    const TopoDS_Shape& edge = where.body->subs.at(key.first).shape;
    const TopoDS_Shape& face = where.body->subs.at(key.second).shape;
    *positive = true;
    for (TopExp_Explorer ex(face, TopAbs_EDGE); ex.More(); ex.Next()) {
      if (ex.Current().IsSame(edge)) {
        *positive = ex.Current().Orientation() == edge.Orientation();
        break;
      }
    }
    return 0;
  });
}

int BQ_FIN_ask_geometry(int fin, int* curve) {
  return KernelRun("BQ_FIN_ask_geometry", [&]() -> int {
    if (!curve) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(fin, BQ_CLASS_fin, &where)) return code;
    *curve = where.body->subs.at(where.body->fins.at(fin).first).geom;
    return 0;
  });
}

// ---------------------------------------------------------------------------------------------
// Part geometry and partitions of bodies

int BQ_PART_ask_geoms(int part, int* n, int** geoms) {
  return AskBodyList("BQ_PART_ask_geoms", part, BQ_CLASS_part, &BodyRecord::attachedGeoms, n, geoms);
}

int BQ_PART_add_geoms(int part, int n, const int* geoms) {
  return KernelRun("BQ_PART_add_geoms", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !geoms) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    Partition& p = *where.partition;
    for (int i = 0; i < n; ++i) {
      Located g;
      if (int code = Resolve(geoms[i], &g)) return code;
      if (g.kind != Kind::FreeGeom) return BQ_ERROR_wrong_class;
      if (g.partition != &p) return BQ_ERROR_not_same_partition;
      if (p.state.freeGeoms.at(geoms[i]).part != 0) return BQ_ERROR_already_member;
      for (int j = 0; j < i; ++j)
        if (geoms[j] == geoms[i]) return BQ_ERROR_already_member;
    }
    PartitionState& st = p.Change();
    auto body = std::make_shared<BodyRecord>(*st.bodies.at(part));
    for (int i = 0; i < n; ++i) {
      FreeGeomRecord& g = st.freeGeoms.at(geoms[i]);
      g.part = part;
      g.identifier = body->nextIdentifier++;
      body->attachedGeoms.push_back(geoms[i]);
    }
    st.bodies[part] = body;
    return 0;
  });
}

int BQ_PART_remove_geoms(int part, int n, const int* geoms, int* n_removed) {
  if (n_removed) *n_removed = 0;
  return KernelRun("BQ_PART_remove_geoms", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !geoms) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    Partition& p = *where.partition;
    for (int i = 0; i < n; ++i) {
      Located g;
      if (int code = Resolve(geoms[i], &g)) return code;
      if (g.kind != Kind::FreeGeom) return BQ_ERROR_wrong_class;
    }
    int removed = 0;
    PartitionState& st = p.Change();
    auto body = std::make_shared<BodyRecord>(*st.bodies.at(part));
    for (int i = 0; i < n; ++i) {
      auto it = std::find(body->attachedGeoms.begin(), body->attachedGeoms.end(), geoms[i]);
      if (it == body->attachedGeoms.end()) continue;
      body->attachedGeoms.erase(it);
      st.freeGeoms.at(geoms[i]).part = 0;
      ++removed;
    }
    st.bodies[part] = body;
    if (n_removed) *n_removed = removed;
    return 0;
  });
}

int BQ_BODY_change_partition(int body, int partition) {
  return KernelRun("BQ_BODY_change_partition", [&]() -> int {
    Located where;
    if (int code = ResolveClass(body, BQ_CLASS_body, &where)) return code;
    Partition* target = FindPartition(partition);
    if (!target) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    Partition& source = *where.partition;
    if (&source == target) return 0;
    // The body takes its attributes, its groups and its attached geometry along.
    MoveBody(source.Change(), &target->Change(), body);
    return 0;
  });
}
