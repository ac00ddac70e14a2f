// Contract of deleting faces with healing, and of copying and cutting faces into sheets.
#include "fixtures/EngineFixtures.h"
#include "engine/FaceCopy.h"
#include "engine/FaceDelete.h"
#include "engine/ShapeChecks.h"

#include <TopoDS.hxx>

#include <gtest/gtest.h>

#include <cmath>

namespace hxr::engine {
namespace {

using namespace fixtures;

TEST(FaceDelete, DeletingTheBlendGivesTheSharpBlockBack) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const TopoDS_Face blend = CurvedFaces(blended).front();
  const Result result = DeleteFaces(blended, {blend});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1000.0, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_EDGE), 12);
  EXPECT_EQ(result.history.Find(blend)->fate, Fate::FateDeleted);
  // The two faces the blend ran between grow back to full size.
  const TopoDS_Face top = PlanarFace(blended, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  EXPECT_EQ(result.history.Find(top)->fate, Fate::FateModified);
  EXPECT_NEAR(AreaOf(ProductFace(result.history, top)), 100.0, 1e-9);
  EXPECT_EQ(result.history.CountFaces(Fate::FateDeleted), 1);
}

TEST(FaceDelete, AFaceThatCannotBeHealedAwayIsAnErrorAndLeavesTheBody) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const Result result = DeleteFaces(block, {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, ErrorNone);
  EXPECT_NEAR(VolumeOf(block), 1000.0, 1e-9);
}

TEST(FaceDelete, NoFacesIsABadArgument) {
  EXPECT_EQ(DeleteFaces(Box(1, 1, 1), {}).error, ErrorBadArgument);
}

TEST(FaceCopy, CopiedFacesFormOneSheetPairedWithTheirSources) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const TopoDS_Face side = PlanarFace(block, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  const Result result = CopyFaces(block, {side, top});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_TRUE(result.shape.IsSame(block));
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), 6);
  ASSERT_EQ(result.pieces.size(), 1u);
  EXPECT_EQ(result.pieces[0].ShapeType(), TopAbs_SHELL);  // the two faces share an edge
  EXPECT_NEAR(AreaOf(result.pieces[0]), 200.0, 1e-9);
  EXPECT_EQ(CountOf(result.pieces[0], TopAbs_EDGE), 7);
  // Product j pairs with source j, in the order the faces were given.
  ASSERT_GE(result.history.derived.size(), 2u);
  EXPECT_TRUE(result.history.derived[0].source.IsSame(side));
  EXPECT_TRUE(result.history.derived[1].source.IsSame(top));
  EXPECT_FALSE(result.history.derived[0].product.IsSame(side));
  EXPECT_LT(OutwardNormal(TopoDS::Face(result.history.derived[1].product)).Angle(gp_Dir(0, 0, 1)), 1e-12);
}

TEST(FaceCopy, FacesApartGiveOneShellEach) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const Result result = CopyFaces(block, {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)),
                                          PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_EQ(result.pieces[0].ShapeType(), TopAbs_COMPOUND);
  EXPECT_EQ(CountOf(result.pieces[0], TopAbs_SHELL), 2);
}

TEST(FaceCut, CutBlendGoesIntoASheetAndTheBlockHeals) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const TopoDS_Face blend = CurvedFaces(blended).front();
  const Result result = CutFaces(blended, {blend});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1000.0, 1e-9);
  ASSERT_EQ(result.pieces.size(), 1u);
  EXPECT_NEAR(AreaOf(result.pieces[0]), M_PI * 2.0 / 2.0 * 10.0, 1e-6);
  EXPECT_EQ(result.history.Find(blend)->fate, Fate::FateDeleted);
  ASSERT_FALSE(result.history.derived.empty());
  EXPECT_TRUE(result.history.derived[0].source.IsSame(blend));
}

TEST(FaceCut, AFaceThatCannotBeHealedAwayIsNotCut) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const Result result = CutFaces(block, {PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10))});
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.pieces.empty());
}

}  // namespace
}  // namespace hxr::engine
