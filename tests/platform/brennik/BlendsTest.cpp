// Blend identification on the blended fixtures.
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

class BlendsTest : public KernelTest {};

struct Sets {
  std::vector<std::vector<int>> faces;
  std::vector<double> radii;
};

Sets Identify(std::vector<int> seeds, int kind) {
  BQ_FACE_identify_blends_o_t options{};
  options.o_t_version = 3;
  options.form = BQ_BLEND_form_any;
  options.convexity = BQ_BLEND_convexity_any;
  options.have_tolerance = true;
  options.tolerance = 1e-8;
  options.want_radius = true;
  options.chain = BQ_BLEND_chain_any;
  BQ_FACE_identify_blends_r_t results{};
  Sets out;
  if (BQ_FACE_identify_blends(static_cast<int>(seeds.size()), seeds.data(), kind, &options, &results) != 0) return out;
  for (int i = 0; i < results.n_blends; ++i) {
    out.faces.emplace_back(results.blends[i].faces, results.blends[i].faces + results.blends[i].n_faces);
    out.radii.push_back(results.blends[i].radius);
  }
  BQ_FACE_identify_blends_r_f(&results);
  BQ_FACE_identify_blends_r_f(&results);  // harmless twice
  return out;
}

std::vector<int> FacesOfClass(int body, int surfaceClass) {
  std::vector<int> out;
  for (int face : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    BQ_FACE_ask_surf(face, &surf);
    if (ClassOf(surf) == surfaceClass) out.push_back(face);
  }
  return out;
}

std::vector<int> BlendFaces(int body) {
  std::vector<int> out;
  for (int face : List(BQ_BODY_ask_faces, body))
    if (!Identify({face}, BQ_BLEND_identify_face).faces.empty()) out.push_back(face);
  return out;
}

struct BlendCase {
  const char* name;
  std::function<int()> build;
  int blendFaces;
  int surfaceClass;  // the class every blend face has, or 0 for mixed
  double radius;     // of every single blend face, or 0 for mixed
};

TEST_F(BlendsTest, SingleFacesAreBlendsOnlyWhereABallRolls) {
  const BlendCase cases[] = {
      {"block", [] { return brennik::build::Block(); }, 0, 0, 0},
      {"one blend", [] { return brennik::build::BlockWithBlend(2.0); }, 1, BQ_CLASS_cyl, 2.0},
      {"chain", [] { return brennik::build::BlockWithBlendChain(2.0); }, 3, BQ_CLASS_cyl, 2.0},
      {"two blends", [] { return brennik::build::BlockWithTwoBlends(2.0, 3.0); }, 2, BQ_CLASS_cyl, 0},
      {"blended corner", [] { return brennik::build::BlockWithBlendedCorner(2.0); }, 4, 0, 2.0},
      {"turned part", [] { return brennik::build::TurnedPart(); }, 1, BQ_CLASS_torus, 2.0},
      {"plate with holes", [] { return brennik::build::PlateWithHoles(); }, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int body = c.build();
    std::vector<int> blends = BlendFaces(body);
    EXPECT_EQ(static_cast<int>(blends.size()), c.blendFaces);
    for (int face : blends) {
      Sets sets = Identify({face}, BQ_BLEND_identify_face);
      ASSERT_EQ(sets.faces.size(), 1u);
      EXPECT_EQ(sets.faces[0], std::vector<int>{face});
      if (c.radius > 0) {
        EXPECT_NEAR(sets.radii[0], c.radius, 1e-9);
      }
      if (c.surfaceClass) {
        int surf = 0;
        BQ_FACE_ask_surf(face, &surf);
        EXPECT_EQ(ClassOf(surf), c.surfaceClass);
      }
    }
  }
}

TEST_F(BlendsTest, BlendRollsOnItsTwoNeighbours) {
  int body = brennik::build::BlockWithBlend(2.0);
  int blend = FacesOfClass(body, BQ_CLASS_cyl).at(0);
  int n = 0;
  int* unders = nullptr;
  ASSERT_EQ(BQ_FACE_find_blend_unders(blend, 1e-8, &n, &unders), 0);
  std::vector<int> list = Take(n, unders);
  ASSERT_EQ(list.size(), 2u);
  for (int under : list) {
    int surf = 0;
    BQ_FACE_ask_surf(under, &surf);
    EXPECT_EQ(ClassOf(surf), BQ_CLASS_plane);
  }
  int plane = FacesOfClass(body, BQ_CLASS_plane).at(0);
  ASSERT_EQ(BQ_FACE_find_blend_unders(plane, 1e-8, &n, &unders), 0);
  EXPECT_EQ(n, 0);
}

TEST_F(BlendsTest, MaximalChainGivesEveryBlendWithOneSetPerRadius) {
  int chain = brennik::build::BlockWithBlendChain(2.0);
  std::vector<int> cylinders = FacesOfClass(chain, BQ_CLASS_cyl);
  Sets sets = Identify({cylinders[0]}, BQ_BLEND_identify_max_chain);
  ASSERT_EQ(sets.faces.size(), 1u);
  EXPECT_EQ(sets.faces[0].size(), 3u);
  EXPECT_NEAR(sets.radii[0], 2.0, 1e-12);

  int mixed = brennik::build::BlockWithTwoBlends(2.0, 3.0);
  cylinders = FacesOfClass(mixed, BQ_CLASS_cyl);
  sets = Identify({cylinders[0]}, BQ_BLEND_identify_max_chain);
  ASSERT_EQ(sets.faces.size(), 2u);
  std::vector<double> radii = sets.radii;
  std::sort(radii.begin(), radii.end());
  EXPECT_NEAR(radii[0], 2.0, 1e-12);
  EXPECT_NEAR(radii[1], 3.0, 1e-12);
  // The minimal chain stops where the radius changes.
  sets = Identify({cylinders[0]}, BQ_BLEND_identify_inc_min_chain);
  ASSERT_EQ(sets.faces.size(), 1u);
  EXPECT_EQ(sets.faces[0].size(), 1u);

  int nearlyEqual = brennik::build::BlockWithTwoBlends(1.0, 1.0 + 1e-9);
  cylinders = FacesOfClass(nearlyEqual, BQ_CLASS_cyl);
  sets = Identify({cylinders[0]}, BQ_BLEND_identify_max_chain);
  ASSERT_EQ(sets.faces.size(), 1u);
  EXPECT_EQ(sets.faces[0].size(), 2u);
  EXPECT_NEAR(sets.radii[0], 1.0, 1e-8);
}

TEST_F(BlendsTest, CornerPatchJoinsOnlyTheInclusiveChains) {
  int body = brennik::build::BlockWithBlendedCorner(2.0);
  int seed = FacesOfClass(body, BQ_CLASS_cyl).at(0);
  Sets exclusive = Identify({seed}, BQ_BLEND_identify_exc_min_chain);
  Sets inclusive = Identify({seed}, BQ_BLEND_identify_inc_min_chain);
  ASSERT_EQ(exclusive.faces.size(), 1u);
  ASSERT_EQ(inclusive.faces.size(), 1u);
  // The three edge blends meet only through the corner sphere.
  EXPECT_EQ(exclusive.faces[0].size(), 1u);
  EXPECT_EQ(inclusive.faces[0].size(), 4u);
}

// The planar face of a body whose plane is x = value (normal along x).
int FaceAtX(int body, double value) {
  for (int face : FacesOfClass(body, BQ_CLASS_plane)) {
    int surf = 0;
    BQ_FACE_ask_surf(face, &surf);
    BQ_PLANE_sf_t plane{};
    BQ_PLANE_ask(surf, &plane);
    if (std::abs(std::abs(plane.basis_set.axis.coord[0]) - 1.0) < 1e-12 &&
        std::abs(plane.basis_set.location.coord[0] - value) < 1e-12)
      return face;
  }
  return 0;
}

TEST_F(BlendsTest, DependentBlendsAreTheChainsRollingOnTheFace) {
  struct Case {
    const char* name;
    std::function<int()> build;
    double x;                   // the face given, on the plane x = this
    std::vector<size_t> sizes;  // faces per set
    double radius;
  };
  const Case cases[] = {
      {"chain: the whole chain through its middle blend", [] { return brennik::build::BlockWithBlendChain(2.0); }, 10,
       {3}, 2.0},
      {"one blend", [] { return brennik::build::BlockWithBlend(2.0); }, 10, {1}, 2.0},
      {"one blend, a face it does not roll on", [] { return brennik::build::BlockWithBlend(2.0); }, 0, {}, 0},
      {"no blends", [] { return brennik::build::Block(); }, 10, {}, 0},
      {"two radii: one set per radius", [] { return brennik::build::BlockWithTwoBlends(2.0, 3.0); }, 10, {1}, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int body = c.build();
    int face = FaceAtX(body, c.x);
    ASSERT_NE(face, 0);
    BQ_FACE_identify_blends_r_t results{};
    ASSERT_EQ(BQ_FACE_identify_blends(1, &face, BQ_BLEND_identify_dependent, nullptr, &results), 0);
    ASSERT_EQ(static_cast<size_t>(results.n_blends), c.sizes.size());
    for (int i = 0; i < results.n_blends; ++i) {
      const BQ_FACE_blend_set_t& set = results.blends[i];
      EXPECT_EQ(static_cast<size_t>(set.n_faces), c.sizes[i]);
      EXPECT_NEAR(set.radius, c.radius, 1e-12);
      for (int j = 0; j < set.n_faces; ++j) {
        EXPECT_NE(set.faces[j], face);
        EXPECT_EQ(Identify({set.faces[j]}, BQ_BLEND_identify_face).faces.size(), 1u);
      }
      EXPECT_NE(std::find(set.unders, set.unders + set.n_unders, face), set.unders + set.n_unders);
    }
    BQ_FACE_identify_blends_r_f(&results);
  }
}

TEST_F(BlendsTest, DependentBlendsOfTheChainEqualItsMaximalChain) {
  int body = brennik::build::BlockWithBlendChain(2.0);
  Sets dependent = Identify({FaceAtX(body, 10)}, BQ_BLEND_identify_dependent);
  ASSERT_EQ(dependent.faces.size(), 1u);
  Sets chain = Identify({dependent.faces[0][0]}, BQ_BLEND_identify_max_chain);
  ASSERT_EQ(chain.faces.size(), 1u);
  std::vector<int> a = dependent.faces[0], b = chain.faces[0];
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b);
}

TEST_F(BlendsTest, WrongArgumentsAreRefused) {
  int body = brennik::build::BlockWithBlend();
  int edge = List(BQ_BODY_ask_edges, body).front();
  BQ_FACE_identify_blends_r_t results{};
  EXPECT_EQ(BQ_FACE_identify_blends(1, &edge, BQ_BLEND_identify_face, nullptr, &results), BQ_ERROR_wrong_class);
  EXPECT_EQ(BQ_FACE_identify_blends(0, &edge, BQ_BLEND_identify_face, nullptr, &results), BQ_ERROR_bad_count);
  int face = List(BQ_BODY_ask_faces, body).front();
  EXPECT_EQ(BQ_FACE_identify_blends(1, &face, 12345, nullptr, &results), BQ_ERROR_bad_value);
  EXPECT_EQ(results.n_blends, 0);
}

}  // namespace
