// Contract of the body operations: paste (add, subtract), hollow, disjoin and rejoin.
#include "fixtures/EngineFixtures.h"
#include "engine/BodyHollow.h"
#include "engine/BodyLumps.h"
#include "engine/BodyPaste.h"
#include "engine/ShapeChecks.h"

#include <BRep_Builder.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <gtest/gtest.h>

namespace hxr::engine {
namespace {

using namespace fixtures;

struct PasteCase {
  const char* name;
  PasteType type;
  gp_Pnt toolCorner;  // where the 2 x 2 x 2 tool sits
  bool placeByTransform;
  double volume;
  int faces;
};

void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

class PasteBox : public testing::TestWithParam<PasteCase> {};

TEST_P(PasteBox, ToolIsUnitedOrRemovedAndItsFacesAreDerived) {
  const PasteCase& c = GetParam();
  const TopoDS_Shape block = Box(10, 10, 10);
  gp_Trsf placement;
  placement.SetTranslation(gp_Vec(c.toolCorner.XYZ()));
  const TopoDS_Shape tool = c.placeByTransform ? Box(2, 2, 2) : Box(2, 2, 2, c.toolCorner);
  const Result result = PasteBody(block, tool, c.type, c.placeByTransform ? &placement : nullptr);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), c.volume, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), c.faces);
  // The top face gets a hole or a boss in it: modified; the bottom is untouched.
  EXPECT_EQ(result.history.Find(PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)))->fate, Fate::FateModified);
  EXPECT_EQ(result.history.Find(PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0)))->fate, Fate::FateUnchanged);
  // The five tool faces that reach the result are derived from the tool, none is "created".
  int derivedFaces = 0;
  for (const DerivedEntity& d : result.history.derived) derivedFaces += d.product.ShapeType() == TopAbs_FACE;
  EXPECT_EQ(derivedFaces, 5);
  for (const TopoDS_Shape& s : result.history.created) EXPECT_NE(s.ShapeType(), TopAbs_FACE);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasteBox,
    testing::Values(PasteCase{"AddOnTop", PasteType::PasteTypeAdd, gp_Pnt(4, 4, 10), false, 1008.0, 11},
                    PasteCase{"AddOnTopByPlacement", PasteType::PasteTypeAdd, gp_Pnt(4, 4, 10), true, 1008.0, 11},
                    PasteCase{"SubtractFromTop", PasteType::PasteTypeSubtract, gp_Pnt(4, 4, 9), false, 996.0, 11}),
    [](const testing::TestParamInfo<PasteCase>& info) { return info.param.name; });

TEST(PasteBody, SubtractingAToolApartChangesNothingAndIsAnError) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const Result result = PasteBody(block, Box(2, 2, 2, gp_Pnt(20, 20, 20)), PasteType::PasteTypeSubtract, nullptr);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, ErrorNoChange);
  EXPECT_NEAR(VolumeOf(block), 1000.0, 1e-9);
}

TEST(PasteBody, AddingAToolInsideChangesNothingAndIsAnError) {
  const Result result = PasteBody(Box(10, 10, 10), Box(2, 2, 2, gp_Pnt(4, 4, 4)), PasteType::PasteTypeAdd, nullptr);
  EXPECT_EQ(result.error, ErrorNoChange);
}

TEST(HollowBody, BlockWithTopRemovedGetsWallsOfTheThickness) {
  const TopoDS_Shape block = Box(10, 10, 10);
  HollowOptions options;
  options.inward = 1.0;
  options.pierceFaces = {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))};
  const Result result = HollowBody(block, options);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1000.0 - 8.0 * 8.0 * 9.0, 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 11);
  // What is left of the pierced face is the rim around the opening.
  EXPECT_EQ(result.history.Find(options.pierceFaces[0])->fate, Fate::FateModified);
  EXPECT_NEAR(AreaOf(ProductFace(result.history, options.pierceFaces[0])), 100.0 - 64.0, 1e-6);
  // Each of the five remaining outer faces has its inner partner one thickness away.
  ASSERT_EQ(result.shellPartners.size(), 5u);
  for (const auto& [outer, inner] : result.shellPartners) {
    const TopoDS_Face o = TopoDS::Face(outer), i = TopoDS::Face(inner);
    EXPECT_LT(OutwardNormal(o).Angle(OutwardNormal(i).Reversed()), 1e-9);
    EXPECT_NEAR(PlaneOffset(o) + PlaneOffset(i), 1.0, 1e-9);
  }
}

TEST(HollowBody, AFaceWithItsOwnThicknessGetsThatWall) {
  const TopoDS_Shape block = Box(10, 10, 10);
  HollowOptions options;
  options.inward = 1.0;
  options.pierceFaces = {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))};
  options.faceThicknesses = {{PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0)), 2.0}};
  const Result result = HollowBody(block, options);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1000.0 - 8.0 * 8.0 * 8.0, 1e-6);
}

TEST(HollowBody, WallAcrossTheOldFacesGrowsOutAndIn) {
  const TopoDS_Shape block = Box(10, 10, 10);
  HollowOptions options;
  options.outward = 0.5;
  options.inward = 0.5;
  options.pierceFaces = {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))};
  const Result result = HollowBody(block, options);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 11.0 * 11.0 * 11.0 - 9.0 * 9.0 * 10.0, 1e-6);
  EXPECT_EQ(result.shellPartners.size(), 5u);
  // The old bottom became the grown outer bottom, half a wall lower.
  const TopoDS_Face bottom = PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  EXPECT_NEAR(PlaneOffset(ProductFace(result.history, bottom)), 0.5, 1e-9);
}

TEST(HollowBody, NoThicknessIsABadArgumentAndALocalHollowUnsupported) {
  const TopoDS_Shape block = Box(10, 10, 10);
  EXPECT_EQ(HollowBody(block, HollowOptions()).error, ErrorBadArgument);
  HollowOptions local;
  local.inward = 1.0;
  local.localFaces = {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))};
  EXPECT_EQ(HollowBody(block, local).error, ErrorUnsupported);
}

TEST(BodyLumps, TwoLumpsDisjoinAndRejoin) {
  BRep_Builder builder;
  TopoDS_Compound two;
  builder.MakeCompound(two);
  builder.Add(two, Box(1, 1, 1));
  builder.Add(two, Box(2, 2, 2, gp_Pnt(5, 0, 0)));
  const Result split = DisjoinBody(two);
  ASSERT_TRUE(split.ok) << split.detail;
  ASSERT_EQ(split.pieces.size(), 2u);
  EXPECT_NEAR(VolumeOf(split.pieces[0]), 1.0, 1e-12);
  EXPECT_NEAR(VolumeOf(split.pieces[1]), 8.0, 1e-12);
  EXPECT_EQ(split.history.CountFaces(Fate::FateUnchanged), 12);

  const Result joined = RejoinBodies(split.pieces);
  ASSERT_TRUE(joined.ok) << joined.detail;
  EXPECT_NEAR(VolumeOf(joined.shape), 9.0, 1e-12);
  EXPECT_EQ(CountOf(joined.shape, TopAbs_SOLID), 2);
  EXPECT_EQ(joined.history.CountFaces(Fate::FateUnchanged), 12);
}

TEST(BodyLumps, OverlappingBodiesAreNotRejoined) {
  const Result result = RejoinBodies({Box(2, 2, 2), Box(2, 2, 2, gp_Pnt(1, 1, 1))});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, ErrorBadArgument);
}

TEST(BodyLumps, AOneLumpBodyDisjoinsIntoItself) {
  const Result result = DisjoinBody(Box(1, 1, 1));
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.pieces.size(), 1u);
}

}  // namespace
}  // namespace hxr::engine
