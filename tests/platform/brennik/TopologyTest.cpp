// Bodies, topology and adjacency on the fixtures.
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <algorithm>
#include <functional>
#include <set>

namespace {

class TopologyTest : public KernelTest {};

struct FixtureCounts {
  const char* name;
  std::function<int()> build;
  int faces, edges, vertices, bodyType;
};

TEST_F(TopologyTest, FixtureBodiesHaveTheirTopology) {
  const FixtureCounts cases[] = {
      {"block", [] { return brennik::build::Block(); }, 6, 12, 8, BQ_BODY_type_solid},
      {"L prism", [] { return brennik::build::LPrism(); }, 8, 18, 12, BQ_BODY_type_solid},
      {"one blend", [] { return brennik::build::BlockWithBlend(); }, 7, 15, 10, BQ_BODY_type_solid},
      {"blended corner", [] { return brennik::build::BlockWithBlendedCorner(); }, 10, -1, -1, BQ_BODY_type_solid},
      {"thin-walled box", [] { return brennik::build::ThinWalledBox(); }, 11, 24, -1, BQ_BODY_type_solid},
      {"turned part", [] { return brennik::build::TurnedPart(); }, 7, -1, -1, BQ_BODY_type_solid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int body = c.build();
    ASSERT_NE(body, 0);
    EXPECT_EQ(ClassOf(body), BQ_CLASS_body);
    EXPECT_EQ(static_cast<int>(List(BQ_BODY_ask_faces, body).size()), c.faces);
    if (c.edges >= 0) {
      EXPECT_EQ(static_cast<int>(List(BQ_BODY_ask_edges, body).size()), c.edges);
    }
    if (c.vertices >= 0) {
      EXPECT_EQ(static_cast<int>(List(BQ_BODY_ask_vertices, body).size()), c.vertices);
    }
    int type = 0;
    BQ_BODY_ask_type(body, &type);
    EXPECT_EQ(type, c.bodyType);
  }
}

TEST_F(TopologyTest, SheetFixtureIsASheetBody) {
  int body = brennik::build::Sheet();
  int type = 0;
  ASSERT_EQ(BQ_BODY_ask_type(body, &type), 0);
  EXPECT_EQ(type, BQ_BODY_type_sheet);
}

TEST_F(TopologyTest, BlockAdjacencyIsConsistent) {
  int body = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  for (int face : faces) {
    EXPECT_EQ(ClassOf(face), BQ_CLASS_face);
    int owner = 0;
    BQ_FACE_ask_body(face, &owner);
    EXPECT_EQ(owner, body);
    std::vector<int> edges = List(BQ_FACE_ask_edges, face);
    EXPECT_EQ(edges.size(), 4u);
    EXPECT_EQ(List(BQ_FACE_ask_vertices, face).size(), 4u);
    for (int edge : edges) {
      std::vector<int> edgeFaces = List(BQ_EDGE_ask_faces, edge);
      EXPECT_EQ(edgeFaces.size(), 2u);
      EXPECT_NE(std::find(edgeFaces.begin(), edgeFaces.end(), face), edgeFaces.end());
      int vertices[2] = {0, 0};
      BQ_EDGE_ask_vertices(edge, vertices);
      EXPECT_EQ(ClassOf(vertices[0]), BQ_CLASS_vertex);
      EXPECT_EQ(ClassOf(vertices[1]), BQ_CLASS_vertex);
      EXPECT_NE(vertices[0], vertices[1]);
    }
  }
  for (int vertex : List(BQ_BODY_ask_vertices, body)) EXPECT_EQ(List(BQ_VERTEX_ask_faces, vertex).size(), 3u);
}

TEST_F(TopologyTest, AdjacentFacesShareExactlyOneEdge) {
  int body = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  int adjacentPairs = 0;
  for (int a : faces)
    for (int b : faces) {
      if (a == b) continue;
      int n = -1;
      int* edges = nullptr;
      ASSERT_EQ(BQ_FACE_find_edges_common(a, b, &n, &edges), 0);
      std::vector<int> common = Take(n, edges);
      EXPECT_LE(common.size(), 1u);
      adjacentPairs += static_cast<int>(common.size());
    }
  EXPECT_EQ(adjacentPairs, 24);  // 12 edges, each seen from both sides
}

TEST_F(TopologyTest, FinsPairEdgesWithFaces) {
  int body = brennik::build::Block();
  int edge = List(BQ_BODY_ask_edges, body).front();
  std::vector<int> fins = List(BQ_EDGE_ask_fins, edge);
  ASSERT_EQ(fins.size(), 2u);
  std::vector<int> faces = List(BQ_EDGE_ask_faces, edge);
  std::set<bool> senses;
  for (std::size_t i = 0; i < fins.size(); ++i) {
    EXPECT_EQ(ClassOf(fins[i]), BQ_CLASS_fin);
    int finEdge = 0, finFace = 0, curve = 0, edgeCurve = 0;
    BQ_FIN_ask_edge(fins[i], &finEdge);
    BQ_FIN_ask_face(fins[i], &finFace);
    EXPECT_EQ(finEdge, edge);
    EXPECT_EQ(finFace, faces[i]);
    BQ_FIN_ask_geometry(fins[i], &curve);
    BQ_EDGE_ask_curve(edge, &edgeCurve);
    EXPECT_EQ(curve, edgeCurve);
    bool positive = false;
    BQ_FIN_is_positive(fins[i], &positive);
    senses.insert(positive);
  }
  EXPECT_EQ(senses.size(), 2u);  // a manifold edge is used once each way
}

TEST_F(TopologyTest, VertexOrientedEdgesSayWhereTheyStart) {
  int body = brennik::build::Block();
  int vertex = List(BQ_BODY_ask_vertices, body).front();
  int n = 0;
  int* edges = nullptr;
  bool* starts = nullptr;
  ASSERT_EQ(BQ_VERTEX_ask_oriented_edges(vertex, &n, &edges, &starts), 0);
  ASSERT_EQ(n, 3);
  for (int i = 0; i < n; ++i) {
    int ends[2];
    BQ_EDGE_ask_vertices(edges[i], ends);
    EXPECT_EQ(ends[starts[i] ? 0 : 1], vertex);
  }
  BQ_MEMORY_free(edges);
  BQ_MEMORY_free(starts);
}

TEST_F(TopologyTest, IdentifiersAreDistinctPerBodyAndFindTheirEntity) {
  int body = brennik::build::LPrism();
  std::set<int> seen;
  for (ListCall call : {ListCall(BQ_BODY_ask_faces), ListCall(BQ_BODY_ask_edges), ListCall(BQ_BODY_ask_vertices)}) {
    for (int tag : List(call, body)) {
      int identifier = 0;
      ASSERT_EQ(BQ_ENTITY_ask_identifier(tag, &identifier), 0);
      EXPECT_TRUE(seen.insert(identifier).second);
      int found = 0;
      ASSERT_EQ(BQ_PART_find_entity_by_ident(body, ClassOf(tag), identifier, &found), 0);
      EXPECT_EQ(found, tag);
    }
  }
  // Geometry is found by its super class.
  int face = List(BQ_BODY_ask_faces, body).front();
  int surf = 0, identifier = 0, found = 0;
  BQ_FACE_ask_surf(face, &surf);
  BQ_ENTITY_ask_identifier(surf, &identifier);
  BQ_PART_find_entity_by_ident(body, BQ_CLASS_surf, identifier, &found);
  EXPECT_EQ(found, surf);
}

TEST_F(TopologyTest, IdentifiersAreDeterministic) {
  auto identifiers = [] {
    std::vector<int> out;
    int body = brennik::build::PlateWithHoles();
    for (int face : List(BQ_BODY_ask_faces, body)) {
      int id = 0;
      BQ_ENTITY_ask_identifier(face, &id);
      out.push_back(id);
    }
    return out;
  };
  EXPECT_EQ(identifiers(), identifiers());
}

struct BadCall {
  const char* name;
  std::function<int()> call;
  int expected;
};

TEST_F(TopologyTest, BadArgumentsGiveErrorsAndChangeNothing) {
  int body = brennik::build::Block();
  int face = List(BQ_BODY_ask_faces, body).front();
  int edge = List(BQ_FACE_ask_edges, face).front();
  int out = 0;
  int n = 0;
  int* array = nullptr;
  const BadCall cases[] = {
      {"faces of a face", [&] { return BQ_BODY_ask_faces(face, &n, &array); }, BQ_ERROR_wrong_class},
      {"faces of tag 0", [&] { return BQ_BODY_ask_faces(0, &n, &array); }, BQ_ERROR_bad_tag},
      {"faces of a dead tag", [&] { return BQ_BODY_ask_faces(999999, &n, &array); }, BQ_ERROR_bad_tag},
      {"null count", [&] { return BQ_BODY_ask_faces(body, nullptr, &array); }, BQ_ERROR_null_arg},
      {"edges of an edge", [&] { return BQ_FACE_ask_edges(edge, &n, &array); }, BQ_ERROR_wrong_class},
      {"body of a body", [&] { return BQ_FACE_ask_body(body, &out); }, BQ_ERROR_wrong_class},
      {"delete a face", [&] { return BQ_ENTITY_delete(1, &face); }, BQ_ERROR_wrong_class},
      {"delete negative count", [&] { return BQ_ENTITY_delete(-1, &body); }, BQ_ERROR_bad_count},
      {"delete null array", [&] { return BQ_ENTITY_delete(2, nullptr); }, BQ_ERROR_null_arg},
      {"class of dead tag", [&] { return BQ_ENTITY_ask_class(424242, &out); }, BQ_ERROR_bad_tag},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s_errors.clear();
    EXPECT_EQ(c.call(), c.expected);
    ASSERT_EQ(s_errors.size(), 1u);
    EXPECT_EQ(s_errors[0].code, c.expected);
    EXPECT_EQ(array, nullptr);
  }
  EXPECT_EQ(List(BQ_BODY_ask_faces, body).size(), 6u);
}

TEST_F(TopologyTest, DeleteOfMixedTagsWithOneBadDeletesNothing) {
  int body = brennik::build::Block();
  int other = brennik::build::Block(1, 1, 1);
  int tags[] = {body, 777777, other};
  EXPECT_EQ(BQ_ENTITY_delete(3, tags), BQ_ERROR_bad_tag);
  EXPECT_EQ(ClassOf(body), BQ_CLASS_body);
  EXPECT_EQ(ClassOf(other), BQ_CLASS_body);
  int good[] = {body, other};
  EXPECT_EQ(BQ_ENTITY_delete(2, good), 0);
  EXPECT_EQ(ClassOf(body), BQ_CLASS_null);
  EXPECT_EQ(ClassOf(other), BQ_CLASS_null);
}

TEST_F(TopologyTest, TagsAreNeverReused) {
  int first = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, first);
  BQ_ENTITY_delete(1, &first);
  int second = brennik::build::Block();
  EXPECT_GT(second, *std::max_element(faces.begin(), faces.end()));
  for (int face : faces) EXPECT_EQ(ClassOf(face), BQ_CLASS_null);
}

TEST_F(TopologyTest, CopyOfBodyHasNewTagsAndSameIdentifiers) {
  int body = brennik::build::LPrism();
  int copy = 0;
  ASSERT_EQ(BQ_ENTITY_copy(body, &copy), 0);
  std::vector<int> a = List(BQ_BODY_ask_faces, body), b = List(BQ_BODY_ask_faces, copy);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_NE(a[i], b[i]);
    int ia = 0, ib = 0;
    BQ_ENTITY_ask_identifier(a[i], &ia);
    BQ_ENTITY_ask_identifier(b[i], &ib);
    EXPECT_EQ(ia, ib);
  }
}

TEST_F(TopologyTest, ClassTreeAnswersSubclasses) {
  struct Case { int cls, super; bool expected; };
  const Case cases[] = {
      {BQ_CLASS_plane, BQ_CLASS_surf, true}, {BQ_CLASS_plane, BQ_CLASS_geom, true},
      {BQ_CLASS_line, BQ_CLASS_curve, true}, {BQ_CLASS_line, BQ_CLASS_surf, false},
      {BQ_CLASS_body, BQ_CLASS_part, true},  {BQ_CLASS_face, BQ_CLASS_topol, true},
      {BQ_CLASS_point, BQ_CLASS_geom, true}, {BQ_CLASS_group, BQ_CLASS_topol, false},
  };
  for (const auto& c : cases) {
    bool is = !c.expected;
    EXPECT_EQ(BQ_CLASS_is_subclass(c.cls, c.super, &is), 0);
    EXPECT_EQ(is, c.expected) << c.cls << " under " << c.super;
  }
}

}  // namespace
