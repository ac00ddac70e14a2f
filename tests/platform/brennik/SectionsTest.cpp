// Sections by planes and the face operations, with their track records.
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <algorithm>
#include <cmath>

namespace {

class SectionsTest : public KernelTest {};

struct Section {
  int body = 0;
  std::vector<std::pair<std::vector<int>, std::vector<int>>> records;
};

Section Cut(int body, int plane) {
  BQ_BODY_make_section_o_t options{1, 1e-5, 0.0, true, true, BQ_SECTION_result_body};
  BQ_TOPOL_track_r_t tracking{};
  BQ_BODY_make_section_r_t results{};
  Section out;
  EXPECT_EQ(BQ_BODY_make_section_with_surfs(1, &body, 1, &plane, &options, &tracking, &results), 0);
  if (results.n_bodies == 1) out.body = results.bodies[0];
  for (int i = 0; i < tracking.n_track_records; ++i) {
    const auto& r = tracking.track_records[i];
    out.records.push_back({std::vector<int>(r.original_topols, r.original_topols + r.n_original_topols),
                           std::vector<int>(r.product_topols, r.product_topols + r.n_product_topols)});
  }
  BQ_TOPOL_track_r_f(&tracking);
  BQ_TOPOL_track_r_f(&tracking);
  BQ_BODY_make_section_r_f(&results);
  return out;
}

TEST_F(SectionsTest, BlockSectionPairsEdgesWithFacesAndVerticesWithEdges) {
  int block = brennik::build::Block(10, 20, 30);
  int plane = brennik::build::FreePlane(0, 0, 15, 0, 0, 1);
  Section section = Cut(block, plane);
  ASSERT_NE(section.body, 0);
  int type = 0;
  BQ_BODY_ask_type(section.body, &type);
  EXPECT_EQ(type, BQ_BODY_type_wire);
  EXPECT_EQ(List(BQ_BODY_ask_edges, section.body).size(), 4u);
  EXPECT_EQ(List(BQ_BODY_ask_vertices, section.body).size(), 4u);
  int edgeRecords = 0, vertexRecords = 0;
  for (const auto& record : section.records) {
    ASSERT_EQ(record.second.size(), 1u);
    ASSERT_GE(record.first.size(), 1u);
    int source = record.first[0], product = record.second[0];
    if (ClassOf(product) == BQ_CLASS_edge) {
      ++edgeRecords;
      EXPECT_EQ(ClassOf(source), BQ_CLASS_face);
      // The section edge lies on its source face.
      BQ_range_r_t range{};
      BQ_TOPOL_range(product, source, nullptr, &range);
      EXPECT_LT(range.distance, 1e-7);
    } else {
      ++vertexRecords;
      EXPECT_EQ(ClassOf(product), BQ_CLASS_vertex);
      EXPECT_EQ(ClassOf(source), BQ_CLASS_edge);
      int point = 0;
      BQ_VERTEX_ask_point(product, &point);
      BQ_POINT_sf_t sf{};
      BQ_POINT_ask(point, &sf);
      EXPECT_NEAR(sf.position.coord[2], 15.0, 1e-9);
    }
  }
  EXPECT_EQ(edgeRecords, 4);
  EXPECT_EQ(vertexRecords, 4);
}

TEST_F(SectionsTest, PlateSectionTracesEveryEdgeToAFace) {
  int plate = brennik::build::PlateWithHoles();
  int plane = brennik::build::FreePlane(0, 0, 3, 0, 0, 1);
  Section section = Cut(plate, plane);
  ASSERT_NE(section.body, 0);
  std::vector<int> edges = List(BQ_BODY_ask_edges, section.body);
  EXPECT_GE(edges.size(), 4u + 3u);  // the outline and the three holes
  for (int edge : edges) {
    bool traced = std::any_of(section.records.begin(), section.records.end(), [&](const auto& r) {
      return r.second[0] == edge && ClassOf(r.first[0]) == BQ_CLASS_face;
    });
    EXPECT_TRUE(traced) << edge;
  }
}

TEST_F(SectionsTest, PlaneMissingTheBodyGivesNoSectionBody) {
  int block = brennik::build::Block(10, 20, 30);
  int plane = brennik::build::FreePlane(0, 0, 50, 0, 0, 1);
  EXPECT_EQ(Cut(block, plane).body, 0);
}

TEST_F(SectionsTest, FacesCopyIntoSheetBodiesWithTracking) {
  int block = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, block);
  int pair[] = {faces[0], faces[2]};
  int common = 0;
  {
    int n = 0;
    int* edges = nullptr;
    BQ_FACE_find_edges_common(faces[0], faces[2], &n, &edges);
    common = n;
    BQ_MEMORY_free(edges);
  }
  BQ_TOPOL_track_r_t tracking{};
  int n = 0;
  int* bodies = nullptr;
  ASSERT_EQ(BQ_FACE_make_sheet_bodies(2, pair, nullptr, &tracking, &n, &bodies), 0);
  std::vector<int> made = Take(n, bodies);
  EXPECT_EQ(made.size(), common ? 1u : 2u);
  int type = 0;
  BQ_BODY_ask_type(made[0], &type);
  EXPECT_EQ(type, BQ_BODY_type_sheet);
  ASSERT_EQ(tracking.n_track_records, 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(tracking.track_records[i].track, BQ_TOPOL_track_create);
    EXPECT_EQ(tracking.track_records[i].n_original_topols, 1);
    EXPECT_EQ(tracking.track_records[i].n_product_topols, 1);
  }
  BQ_TOPOL_track_r_f(&tracking);
  EXPECT_EQ(List(BQ_BODY_ask_faces, block).size(), 6u);
}

TEST_F(SectionsTest, DeletingABlendFaceHealsTheBody) {
  int body = brennik::build::BlockWithBlend(2.0);
  int blend = 0;
  for (int face : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    BQ_FACE_ask_surf(face, &surf);
    if (ClassOf(surf) == BQ_CLASS_cyl) blend = face;
  }
  ASSERT_NE(blend, 0);
  std::vector<int> before = List(BQ_BODY_ask_faces, body);
  BQ_TOPOL_track_r_t tracking{};
  int n = 0;
  int* bodies = nullptr;
  ASSERT_EQ(BQ_FACE_delete(1, &blend, nullptr, &tracking, &n, &bodies), 0);
  EXPECT_EQ(Take(n, bodies), std::vector<int>{body});
  std::vector<int> after = List(BQ_BODY_ask_faces, body);
  EXPECT_EQ(after.size(), 6u);
  EXPECT_EQ(ClassOf(blend), BQ_CLASS_null);
  for (int face : after) EXPECT_NE(std::find(before.begin(), before.end(), face), before.end());
  bool deleteRecord = false;
  for (int i = 0; i < tracking.n_track_records; ++i)
    deleteRecord = deleteRecord || (tracking.track_records[i].track == BQ_TOPOL_track_delete &&
                                    tracking.track_records[i].original_topols[0] == blend);
  EXPECT_TRUE(deleteRecord);
  BQ_TOPOL_track_r_f(&tracking);
}

TEST_F(SectionsTest, FaceDeleteThatCannotHealFailsAndChangesNothing) {
  // No face of a block can go: its neighbours cannot grow to close the gap.
  int block = brennik::build::Block();
  const std::vector<int> faces = List(BQ_BODY_ask_faces, block);
  for (int face : faces) {
    SCOPED_TRACE(face);
    BQ_TOPOL_track_r_t tracking{};
    int n = -1;
    int* bodies = nullptr;
    EXPECT_EQ(BQ_FACE_delete(1, &face, nullptr, &tracking, &n, &bodies), BQ_ERROR_operation_failed);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(tracking.n_track_records, 0);
    EXPECT_EQ(List(BQ_BODY_ask_faces, block), faces);
  }
}

}  // namespace
