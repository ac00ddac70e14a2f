// Geometry: standard forms of the fixtures' exact geometry, creation, evaluation, ranges,
// coincidence, offsets and transforms.
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <cmath>
#include <map>

namespace {

class GeometryTest : public KernelTest {};

std::map<int, std::vector<int>> SurfacesByClass(int body) {
  std::map<int, std::vector<int>> out;
  for (int face : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    BQ_FACE_ask_surf(face, &surf);
    out[ClassOf(surf)].push_back(surf);
  }
  return out;
}

double Dist(const BQ_VECTOR_t& a, double x, double y, double z) {
  return std::sqrt(std::pow(a.coord[0] - x, 2) + std::pow(a.coord[1] - y, 2) + std::pow(a.coord[2] - z, 2));
}

TEST_F(GeometryTest, BlendCylinderHasItsExactStandardForm) {
  int body = brennik::build::BlockWithBlend(2.0);
  auto surfaces = SurfacesByClass(body);
  ASSERT_EQ(surfaces[BQ_CLASS_cyl].size(), 1u);
  EXPECT_EQ(surfaces[BQ_CLASS_plane].size(), 6u);
  BQ_CYL_sf_t cyl{};
  ASSERT_EQ(BQ_CYL_ask(surfaces[BQ_CLASS_cyl][0], &cyl), 0);
  EXPECT_NEAR(cyl.radius, 2.0, 1e-12);
  EXPECT_NEAR(std::abs(cyl.basis_set.axis.coord[2]), 1.0, 1e-12);
  EXPECT_NEAR(cyl.basis_set.location.coord[0], 8.0, 1e-9);
  EXPECT_NEAR(cyl.basis_set.location.coord[1], 18.0, 1e-9);
  BQ_PLANE_sf_t plane{};
  EXPECT_EQ(BQ_PLANE_ask(surfaces[BQ_CLASS_cyl][0], &plane), BQ_ERROR_wrong_class);
}

TEST_F(GeometryTest, TurnedPartHasExactTorusConeAndSphere) {
  int body = brennik::build::TurnedPart();
  auto surfaces = SurfacesByClass(body);
  ASSERT_EQ(surfaces[BQ_CLASS_torus].size(), 1u);
  ASSERT_EQ(surfaces[BQ_CLASS_cone].size(), 1u);
  ASSERT_EQ(surfaces[BQ_CLASS_sphere].size(), 1u);
  BQ_TORUS_sf_t torus{};
  ASSERT_EQ(BQ_TORUS_ask(surfaces[BQ_CLASS_torus][0], &torus), 0);
  EXPECT_NEAR(torus.major_radius, 14.0, 1e-9);
  EXPECT_NEAR(torus.minor_radius, 2.0, 1e-9);
  EXPECT_NEAR(Dist(torus.basis_set.location, 0, 0, 17), 0.0, 1e-9);
  BQ_CONE_sf_t cone{};
  ASSERT_EQ(BQ_CONE_ask(surfaces[BQ_CLASS_cone][0], &cone), 0);
  EXPECT_NEAR(cone.half_angle, std::atan(0.4), 1e-9);
  // The standard form opens along its axis: the radius grows along it.
  double z = cone.basis_set.location.coord[2], dz = cone.basis_set.axis.coord[2];
  double radiusAhead = cone.radius + std::tan(cone.half_angle) * 1.0;
  double expectedAhead = 12.0 - 0.4 * ((z + dz) - 30.0);
  EXPECT_NEAR(radiusAhead, expectedAhead, 1e-9);
  BQ_SPHERE_sf_t sphere{};
  ASSERT_EQ(BQ_SPHERE_ask(surfaces[BQ_CLASS_sphere][0], &sphere), 0);
  EXPECT_NEAR(sphere.radius, 10.0, 1e-9);
  EXPECT_NEAR(Dist(sphere.basis_set.location, 0, 0, 34), 0.0, 1e-9);
}

TEST_F(GeometryTest, OrientedSurfaceNormalsPointOutOfTheBlock) {
  int body = brennik::build::Block(10, 20, 30);
  for (int face : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    bool sense = true;
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(face, &surf, &sense), 0);
    BQ_UVBOX_t box{};
    ASSERT_EQ(BQ_FACE_find_uvbox(face, &box), 0);
    BQ_UV_t mid{{(box.param[0] + box.param[2]) / 2, (box.param[1] + box.param[3]) / 2}};
    BQ_VECTOR_t p[1], n{};
    ASSERT_EQ(BQ_SURF_eval_with_normal(surf, mid, 0, 0, false, p, &n), 0);
    double s = sense ? 1.0 : -1.0;
    double out[3] = {p[0].coord[0] + s * n.coord[0], p[0].coord[1] + s * n.coord[1], p[0].coord[2] + s * n.coord[2]};
    bool inside = out[0] > 0 && out[0] < 10 && out[1] > 0 && out[1] < 20 && out[2] > 0 && out[2] < 30;
    EXPECT_FALSE(inside);
  }
}

// The turned part's torus lies on a left-handed placement, whose parametric normal points
// into the tube; the kernel's normal, senses and offsets still follow the standard form.
TEST_F(GeometryTest, NormalsSensesAndOffsetsFollowTheStandardForm) {
  int body = brennik::build::TurnedPart();
  int face = 0;
  for (int f : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    BQ_FACE_ask_surf(f, &surf);
    if (ClassOf(surf) == BQ_CLASS_torus) face = f;
  }
  int torus = 0;
  bool sense = true;
  ASSERT_EQ(BQ_FACE_ask_oriented_surf(face, &torus, &sense), 0);
  // The fillet is concave: the body's outward normal points to the tube's centre circle.
  EXPECT_FALSE(sense);
  BQ_TORUS_sf_t form{};
  ASSERT_EQ(BQ_TORUS_ask(torus, &form), 0);
  BQ_UVBOX_t box{};
  ASSERT_EQ(BQ_FACE_find_uvbox(face, &box), 0);
  BQ_UV_t mid{{(box.param[0] + box.param[2]) / 2, (box.param[1] + box.param[3]) / 2}};
  BQ_VECTOR_t p[1], n{};
  ASSERT_EQ(BQ_SURF_eval_with_normal(torus, mid, 0, 0, false, p, &n), 0);
  // Away from the tube's centre circle (radius 14 at z = 17).
  const double rho = std::hypot(p[0].coord[0], p[0].coord[1]);
  const double away[3] = {p[0].coord[0] * (1 - 14 / rho), p[0].coord[1] * (1 - 14 / rho), p[0].coord[2] - 17};
  EXPECT_NEAR((away[0] * n.coord[0] + away[1] * n.coord[1] + away[2] * n.coord[2]) / 2.0, 1.0, 1e-9);
  int offset = 0;
  ASSERT_EQ(BQ_SURF_offset(torus, 0.5, &offset), 0);
  BQ_TORUS_sf_t grown{};
  ASSERT_EQ(BQ_TORUS_ask(offset, &grown), 0);
  EXPECT_NEAR(grown.minor_radius, 2.5, 1e-12);
  // Made again from its form, the surface has the same normal at the same point.
  int remade = 0;
  ASSERT_EQ(BQ_TORUS_create(&form, &remade), 0);
  BQ_UV_t uv{};
  ASSERT_EQ(BQ_SURF_parameterise_vector(remade, p[0], &uv), 0);
  BQ_VECTOR_t q[1], m{};
  ASSERT_EQ(BQ_SURF_eval_with_normal(remade, uv, 0, 0, false, q, &m), 0);
  EXPECT_NEAR(m.coord[0] * n.coord[0] + m.coord[1] * n.coord[1] + m.coord[2] * n.coord[2], 1.0, 1e-9);
}

TEST_F(GeometryTest, VertexPointsAreTheBoxCorners) {
  int body = brennik::build::Block(10, 20, 30);
  for (int vertex : List(BQ_BODY_ask_vertices, body)) {
    int point = 0;
    BQ_VERTEX_ask_point(vertex, &point);
    EXPECT_EQ(ClassOf(point), BQ_CLASS_point);
    BQ_POINT_sf_t sf{};
    ASSERT_EQ(BQ_POINT_ask(point, &sf), 0);
    for (int k = 0; k < 3; ++k) {
      double c = sf.position.coord[k], size = k == 0 ? 10 : k == 1 ? 20 : 30;
      EXPECT_TRUE(std::abs(c) < 1e-12 || std::abs(c - size) < 1e-12);
    }
    int part = 0;
    BQ_POINT_ask_part(point, &part);
    EXPECT_EQ(part, body);
  }
}

TEST_F(GeometryTest, CylinderEvaluationGivesDerivativesInTriangularOrder) {
  BQ_CYL_sf_t sf{{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 3.0};
  int cyl = 0;
  ASSERT_EQ(BQ_CYL_create(&sf, &cyl), 0);
  BQ_VECTOR_t p[6];
  ASSERT_EQ(BQ_SURF_eval(cyl, BQ_UV_t{{0.0, 2.0}}, 2, 2, true, p), 0);
  EXPECT_NEAR(Dist(p[0], 3, 0, 2), 0, 1e-12);   // S
  EXPECT_NEAR(Dist(p[1], 0, 3, 0), 0, 1e-12);   // Su
  EXPECT_NEAR(Dist(p[2], -3, 0, 0), 0, 1e-12);  // Suu
  EXPECT_NEAR(Dist(p[3], 0, 0, 1), 0, 1e-12);   // Sv
  EXPECT_NEAR(Dist(p[4], 0, 0, 0), 0, 1e-12);   // Suv
  EXPECT_NEAR(Dist(p[5], 0, 0, 0), 0, 1e-12);   // Svv
  BQ_PARAM_sf_t params[2];
  ASSERT_EQ(BQ_SURF_ask_params(cyl, params), 0);
  EXPECT_EQ(params[0].periodic, BQ_PARAM_periodic_yes);
  EXPECT_EQ(params[1].periodic, BQ_PARAM_periodic_no);
  EXPECT_NEAR(params[0].period, 2 * M_PI, 1e-12);
  BQ_UV_t uv{};
  ASSERT_EQ(BQ_SURF_parameterise_vector(cyl, BQ_VECTOR_t{{0, 3, 5}}, &uv), 0);
  EXPECT_NEAR(uv.param[0], M_PI / 2, 1e-9);
  EXPECT_NEAR(uv.param[1], 5, 1e-9);
  EXPECT_EQ(BQ_SURF_parameterise_vector(cyl, BQ_VECTOR_t{{0, 4, 5}}, &uv), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_SURF_eval(cyl, uv, 3, 0, true, p), BQ_ERROR_bad_value);
}

TEST_F(GeometryTest, CreatedFormsReadBackAndBadFormsAreRefused) {
  BQ_CONE_sf_t cone{{{{1, 2, 3}}, {{0, 0, 2}}, {{1, 0, 0}}}, 4.0, 0.3};
  int tag = 0;
  ASSERT_EQ(BQ_CONE_create(&cone, &tag), 0);
  BQ_CONE_sf_t back{};
  ASSERT_EQ(BQ_CONE_ask(tag, &back), 0);
  EXPECT_NEAR(back.radius, 4.0, 1e-12);
  EXPECT_NEAR(back.half_angle, 0.3, 1e-12);
  EXPECT_NEAR(Dist(back.basis_set.axis, 0, 0, 1), 0, 1e-12);
  int part = -1;
  BQ_SURF_ask_part(tag, &part);
  EXPECT_EQ(part, 0);

  struct Bad { const char* name; int code; };
  BQ_CYL_sf_t zeroRadius{{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 0.0};
  BQ_PLANE_sf_t zeroAxis{{{{0, 0, 0}}, {{0, 0, 0}}, {{1, 0, 0}}}};
  BQ_CONE_sf_t flatCone{{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 1.0, M_PI / 2};
  EXPECT_EQ(BQ_CYL_create(&zeroRadius, &tag), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_PLANE_create(&zeroAxis, &tag), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_CONE_create(&flatCone, &tag), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_CYL_create(nullptr, &tag), BQ_ERROR_null_arg);
}

TEST_F(GeometryTest, CoincidenceIsGeometricNotByTag) {
  int a = brennik::build::FreePlane(0, 0, 5, 0, 0, 1);
  int b = brennik::build::FreePlane(3, 7, 5, 0, 0, -1);
  int c = brennik::build::FreePlane(0, 0, 5.001, 0, 0, 1);
  bool same = false;
  ASSERT_EQ(BQ_GEOM_is_coincident(a, b, &same), 0);
  EXPECT_TRUE(same);
  BQ_GEOM_is_coincident(a, c, &same);
  EXPECT_FALSE(same);
  int line = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
  BQ_GEOM_is_coincident(a, line, &same);
  EXPECT_FALSE(same);
}

TEST_F(GeometryTest, RangesFindNearestPoints) {
  int body = brennik::build::Block(10, 20, 30);
  BQ_range_r_t range{};
  ASSERT_EQ(BQ_TOPOL_range_vector(body, BQ_VECTOR_t{{5, 10, 40}}, nullptr, &range), 0);
  EXPECT_EQ(range.result, BQ_range_result_found);
  EXPECT_NEAR(range.distance, 10.0, 1e-9);
  EXPECT_NEAR(Dist(range.end[0].vector, 5, 10, 30), 0, 1e-9);
  int plane = brennik::build::FreePlane(0, 0, 0, 0, 0, 1);
  ASSERT_EQ(BQ_GEOM_range_vector(plane, BQ_VECTOR_t{{1, 2, -3}}, nullptr, &range), 0);
  EXPECT_NEAR(range.distance, 3.0, 1e-12);
  std::vector<int> vertices = List(BQ_BODY_ask_vertices, body);
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  ASSERT_EQ(BQ_TOPOL_range(vertices[0], faces[0], nullptr, &range), 0);
  EXPECT_EQ(range.end[0].entity, vertices[0]);
  EXPECT_EQ(range.end[1].entity, faces[0]);
}

TEST_F(GeometryTest, SurfaceOffsetsStayAnalytic) {
  BQ_CYL_sf_t sf{{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 3.0};
  int cyl = 0, offset = 0;
  BQ_CYL_create(&sf, &cyl);
  ASSERT_EQ(BQ_SURF_offset(cyl, 1.5, &offset), 0);
  BQ_CYL_sf_t out{};
  ASSERT_EQ(BQ_CYL_ask(offset, &out), 0);
  EXPECT_NEAR(out.radius, 4.5, 1e-12);
  EXPECT_EQ(BQ_SURF_offset(cyl, -3.0, &offset), BQ_ERROR_offset_failed);
  EXPECT_EQ(BQ_SURF_offset(cyl, 0.0, &offset), BQ_ERROR_offset_is_copy);
  int plane = brennik::build::FreePlane(0, 0, 1, 0, 0, 1);
  ASSERT_EQ(BQ_SURF_offset(plane, 2.0, &offset), 0);
  BQ_PLANE_sf_t p{};
  BQ_PLANE_ask(offset, &p);
  EXPECT_NEAR(p.basis_set.location.coord[2], 3.0, 1e-12);
}

TEST_F(GeometryTest, ConeOffsetIsACone) {
  struct Case {
    const char* name;
    BQ_CONE_sf_t cone;
    double distance;
  };
  const double a = M_PI / 6;
  const Case cases[] = {
      {"outwards", {{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 3.0, a}, 1.0},
      {"inwards", {{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 3.0, a}, -1.0},
      {"tilted axis, steep", {{{{1, 2, 3}}, {{0, 0.6, 0.8}}, {{1, 0, 0}}}, 2.0, M_PI / 3}, 0.5},
      {"reversed axis", {{{{0, 0, 5}}, {{0, 0, -1}}, {{1, 0, 0}}}, 4.0, a}, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int cone = 0, offset = 0;
    ASSERT_EQ(BQ_CONE_create(&c.cone, &cone), 0);
    ASSERT_EQ(BQ_SURF_offset(cone, c.distance, &offset), 0);
    ASSERT_EQ(ClassOf(offset), BQ_CLASS_cone);
    BQ_CONE_sf_t out{};
    ASSERT_EQ(BQ_CONE_ask(offset, &out), 0);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(out.basis_set.location.coord[i], c.cone.basis_set.location.coord[i], 1e-12);
      EXPECT_NEAR(out.basis_set.axis.coord[i], c.cone.basis_set.axis.coord[i], 1e-12);
    }
    EXPECT_NEAR(out.half_angle, c.cone.half_angle, 1e-12);
    EXPECT_NEAR(out.radius, c.cone.radius + c.distance / std::cos(c.cone.half_angle), 1e-12);
    // Every point of the cone moved by the distance along its normal lies on the offset.
    for (double u : {0.0, 1.0, 4.0})
      for (double v : {-1.0, 0.0, 2.0}) {
        BQ_VECTOR_t p{}, n{};
        ASSERT_EQ(BQ_SURF_eval_with_normal(cone, BQ_UV_t{{u, v}}, 0, 0, false, &p, &n), 0);
        BQ_VECTOR_t moved{{p.coord[0] + c.distance * n.coord[0], p.coord[1] + c.distance * n.coord[1],
                           p.coord[2] + c.distance * n.coord[2]}};
        BQ_range_r_t range{};
        ASSERT_EQ(BQ_GEOM_range_vector(offset, moved, nullptr, &range), 0);
        EXPECT_NEAR(range.distance, 0.0, 1e-9);
      }
  }
  // Past the location's radius the cone would pass its apex there.
  BQ_CONE_sf_t small{{{{0, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 1.0, a};
  int cone = 0, offset = 0;
  ASSERT_EQ(BQ_CONE_create(&small, &cone), 0);
  EXPECT_EQ(BQ_SURF_offset(cone, -1.0, &offset), BQ_ERROR_offset_failed);
}

TEST_F(GeometryTest, TransformsComposeAndScale) {
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 1}, {0, 1, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}}};
  BQ_TRANSF_sf_t turn{{{0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  int a = 0, b = 0, ab = 0;
  ASSERT_EQ(BQ_TRANSF_create(&shift, &a), 0);
  ASSERT_EQ(BQ_TRANSF_create(&turn, &b), 0);
  ASSERT_EQ(BQ_TRANSF_transform(a, b, &ab), 0);
  BQ_TRANSF_sf_t sf{};
  ASSERT_EQ(BQ_TRANSF_ask(ab, &sf), 0);
  // (0,0,0) shifted to (1,2,3), then turned to (-2,1,3).
  EXPECT_NEAR(sf.matrix[0][3], -2, 1e-12);
  EXPECT_NEAR(sf.matrix[1][3], 1, 1e-12);
  EXPECT_NEAR(sf.matrix[2][3], 3, 1e-12);
  EXPECT_EQ(sf.matrix[3][3], 1.0);
  int scale = 0;
  ASSERT_EQ(BQ_TRANSF_create_equal_scale(2.0, BQ_VECTOR_t{{1, 1, 1}}, &scale), 0);
  int point = brennik::build::FreePoint(2, 1, 1), moved = 0;
  unsigned char flag = 0;
  BQ_GEOM_transform_o_t options{1, 0.0, BQ_GEOM_transform_copy, true, true};
  ASSERT_EQ(BQ_GEOM_transform_2(1, &point, scale, &options, &moved, &flag), 0);
  EXPECT_NE(moved, point);
  EXPECT_EQ(flag, 1);
  BQ_POINT_sf_t p{};
  BQ_POINT_ask(moved, &p);
  EXPECT_NEAR(Dist(p.position, 3, 1, 1), 0, 1e-12);
  BQ_TRANSF_sf_t sheared{{{1, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  EXPECT_EQ(BQ_TRANSF_create(&sheared, &a), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_TRANSF_create_equal_scale(0.0, BQ_VECTOR_t{{0, 0, 0}}, &a), BQ_ERROR_bad_value);
}

TEST_F(GeometryTest, BodyTransformKeepsTagsAndMovesGeometry) {
  int body = brennik::build::Block(10, 20, 30);
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  // Each face's plane as asked before the move: what was found then must not be answered after.
  auto planes = [&faces] {
    std::vector<BQ_PLANE_sf_t> found;
    for (int face : faces) {
      int surf = 0;
      EXPECT_EQ(BQ_FACE_ask_surf(face, &surf), 0);
      BQ_PLANE_sf_t sf{};
      EXPECT_EQ(BQ_PLANE_ask(surf, &sf), 0);
      found.push_back(sf);
    }
    return found;
  };
  const std::vector<BQ_PLANE_sf_t> before = planes();
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 100}, {0, 0, 0, 1}}};
  int t = 0;
  BQ_TRANSF_create(&shift, &t);
  ASSERT_EQ(BQ_BODY_transform_2(body, t, 1e-8, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(List(BQ_BODY_ask_faces, body), faces);
  const std::vector<BQ_PLANE_sf_t> after = planes();
  for (std::size_t i = 0; i < faces.size(); ++i) {
    const double* was = before[i].basis_set.location.coord;
    EXPECT_NEAR(Dist(after[i].basis_set.location, was[0], was[1], was[2] + 100), 0, 1e-9);
  }
  BQ_range_r_t range{};
  BQ_TOPOL_range_vector(body, BQ_VECTOR_t{{5, 10, 0}}, nullptr, &range);
  EXPECT_NEAR(range.distance, 100.0, 1e-9);
}

}  // namespace
