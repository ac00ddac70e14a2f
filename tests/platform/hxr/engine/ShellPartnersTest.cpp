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
