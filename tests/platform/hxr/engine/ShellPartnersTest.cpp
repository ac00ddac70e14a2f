// Contract of the geometric shell-partner finder, and its agreement with the partners that
// hollowing records.
#include "engine/BodyHollow.h"
#include "engine/ShellPartners.h"
#include "fixtures/EngineFixtures.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>

#include <gtest/gtest.h>

namespace hxr::engine {
namespace {

using namespace fixtures;

TEST(ShellPartners, EachWallOfAHollowedBlockFindsTheFaceTheHollowRecorded) {
  const TopoDS_Shape block = Box(10, 10, 10);
  HollowOptions options;
  options.inward = 1.0;
  options.pierceFaces = {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))};
  const Result hollow = HollowBody(block, options);
  ASSERT_TRUE(hollow.ok) << hollow.detail;
  ASSERT_EQ(hollow.shellPartners.size(), 5u);
  for (const auto& [outer, inner] : hollow.shellPartners) {
    std::vector<TopoDS_Shape> partners;
    double thickness = 0.0;
    ASSERT_TRUE(FindShellPartners(hollow.shape, outer, 2.0, partners, thickness));
    ASSERT_EQ(partners.size(), 1u);
    EXPECT_TRUE(partners[0].IsSame(inner));
    EXPECT_NEAR(thickness, 1.0, 1e-9);
    // And back again.
    ASSERT_TRUE(FindShellPartners(hollow.shape, inner, 2.0, partners, thickness));
    EXPECT_TRUE(partners[0].IsSame(outer));
  }
}

TEST(ShellPartners, SidesOfAWallFollowTheNearestFaces) {
  // A plate 2 thick with a groove 0.5 deep underneath: the top faces the groove's roof
  // at 1.5 and the bottoms beside the groove at 2; the nearer roof is its partner.
  const TopoDS_Shape plate = BRepAlgoAPI_Cut(Box(10, 10, 2), Box(2, 20, 1, gp_Pnt(4, -5, -0.5))).Shape();
  const TopoDS_Face roof = PlanarFace(plate, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0.5));
  const TopoDS_Face top = PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2));
  std::vector<TopoDS_Shape> same, opposite;
  double thickness = 0.0;
  ASSERT_TRUE(FindShellSides(plate, roof, 3.0, same, opposite, thickness));
  EXPECT_NEAR(thickness, 1.5, 1e-9);
  ASSERT_EQ(opposite.size(), 1u);
  EXPECT_TRUE(opposite[0].IsSame(top));
  // Across from the top, the roof is nearest: the roof's side is the roof alone.
  ASSERT_EQ(same.size(), 1u);
  EXPECT_TRUE(same[0].IsSame(roof));
  // From a bottom beside the groove the top is two away, and the top's nearest is the roof.
  const TopoDS_Face bottom = PlanarFace(plate, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  ASSERT_TRUE(FindShellSides(plate, bottom, 3.0, same, opposite, thickness));
  EXPECT_NEAR(thickness, 2.0, 1e-9);
  EXPECT_EQ(same.size(), 2u);  // the roof (the top's partner) and the bottom itself
}

TEST(ShellPartners, ASolidBlockHasNoWallThinnerThanItsSize) {
  const TopoDS_Shape block = Box(10, 10, 10);
  std::vector<TopoDS_Shape> partners{block};
  double thickness = 5.0;
  EXPECT_FALSE(FindShellPartners(block, PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)), 2.0, partners, thickness));
  EXPECT_TRUE(partners.empty());
  EXPECT_EQ(thickness, 0.0);
  // Within reach, the opposite face of a plate is its partner.
  EXPECT_TRUE(FindShellPartners(block, PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)), 10.0, partners, thickness));
  EXPECT_NEAR(thickness, 10.0, 1e-9);
}

TEST(ShellPartners, TheOuterCylinderOfATubeFacesTheInnerOne) {
  const gp_Ax2 axis(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1));
  const TopoDS_Shape tube = BRepAlgoAPI_Cut(BRepPrimAPI_MakeCylinder(axis, 5.0, 10.0).Shape(),
                                            BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, -1), gp_Dir(0, 0, 1)), 4.5, 12.0).Shape())
                                .Shape();
  TopoDS_Shape outer, inner;
  for (const TopoDS_Face& face : CurvedFaces(tube)) {
    (CylinderRadius(face) > 4.9 ? outer : inner) = face;
  }
  std::vector<TopoDS_Shape> partners;
  double thickness = 0.0;
  ASSERT_TRUE(FindShellPartners(tube, outer, 1.0, partners, thickness));
  ASSERT_EQ(partners.size(), 1u);
  EXPECT_TRUE(partners[0].IsSame(inner));
  EXPECT_NEAR(thickness, 0.5, 1e-9);
}

}  // namespace
}  // namespace hxr::engine
