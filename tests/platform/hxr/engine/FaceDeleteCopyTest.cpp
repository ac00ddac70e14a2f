// Contract of deleting faces with healing, and of copying and cutting faces into sheets.
#include "fixtures/EngineFixtures.h"
#include "engine/FaceCopy.h"
#include "engine/FaceDelete.h"
#include "engine/LocalFaceDelete.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Builder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>

#include <functional>
#include <string>

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

// A plate 30 x 20 x 4 with an upright cylinder of radius 3 at (10, 10): cut through it
// (a hole), cut 2 deep into its top (a blind pocket) or standing 3 high on it (a boss).
TopoDS_Shape PlateWith(const char* feature) {
  const TopoDS_Shape plate = Box(30, 20, 4);
  auto cylinder = [](double z1, double z2) {
    return BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(10, 10, z1), gp_Dir(0, 0, 1)), 3.0, z2 - z1).Shape();
  };
  const std::string kind = feature;
  if (kind == "pocket") return BRepAlgoAPI_Cut(plate, cylinder(2, 5)).Shape();
  if (kind == "boss") return BRepAlgoAPI_Fuse(plate, cylinder(2, 7)).Shape();
  return BRepAlgoAPI_Cut(plate, cylinder(-1, 5)).Shape();
}

// The faces of the feature at (10, 10): those on its cylinder and the flat face inside it.
std::vector<TopoDS_Shape> FeatureFaces(const TopoDS_Shape& body) {
  std::vector<TopoDS_Shape> faces;
  for (const TopoDS_Face& face : CurvedFaces(body)) faces.push_back(face);
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More(); it.Next()) {
    const double area = AreaOf(it.Current());
    if (std::abs(area - M_PI * 9.0) < 1e-6) faces.push_back(it.Current());
  }
  return faces;
}

TEST(FaceDelete, AFeatureClosedOffByLoopsComesOutLocallyAsHealingWouldTakeIt) {
  struct Case {
    const char* name;
    std::function<TopoDS_Shape()> make;
    std::function<std::vector<TopoDS_Shape>(const TopoDS_Shape&)> pick;
    int neighbours;  // faces that lose a loop
  };
  const Case cases[] = {
      {"one hole of nine", [] { return HolePlate(3, 15, 2, 1.0); },
       [](const TopoDS_Shape& b) { return std::vector<TopoDS_Shape>{CurvedFaces(b)[4]}; }, 2},
      {"two holes of nine", [] { return HolePlate(3, 15, 2, 1.0); },
       [](const TopoDS_Shape& b) { return std::vector<TopoDS_Shape>{CurvedFaces(b)[0], CurvedFaces(b)[8]}; }, 2},
      {"through hole", [] { return PlateWith("hole"); }, FeatureFaces, 2},
      {"blind pocket", [] { return PlateWith("pocket"); }, FeatureFaces, 1},
      {"boss", [] { return PlateWith("boss"); }, FeatureFaces, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TopoDS_Shape body = c.make();
    const std::vector<TopoDS_Shape> feature = c.pick(body);
    LocalDelete local;
    ASSERT_TRUE(RemoveFacesLocally(body, feature, local));
    EXPECT_EQ(local.rebuilt.size(), static_cast<size_t>(c.neighbours));

    const Result result = DeleteFaces(body, feature);
    ASSERT_TRUE(result.ok) << result.detail;
    TopoDS_Shape healed;
    BRepTools_History healing;
    std::string why;
    ASSERT_EQ(RemoveFacesByHealing(body, feature, healed, healing, why), ErrorNone) << why;
    const Result reference = FinishOperation(body, healed, healing);
    ASSERT_TRUE(reference.ok) << reference.detail;

    EXPECT_TRUE(BRepCheck_Analyzer(result.shape).IsValid());
    EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(reference.shape), 1e-6 * VolumeOf(reference.shape));
    EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(reference.shape, TopAbs_FACE));
    EXPECT_EQ(CountOf(result.shape, TopAbs_EDGE), CountOf(reference.shape, TopAbs_EDGE));
    EXPECT_EQ(result.history.CountFaces(Fate::FateModified), c.neighbours);
    // Every entity of the body meets the same fate either way; what the delete did not
    // reach is the very entity it was.
    const std::vector<EntityOutcome>* lists[3][2] = {
        {&result.history.faces, &reference.history.faces},
        {&result.history.edges, &reference.history.edges},
        {&result.history.vertices, &reference.history.vertices}};
    for (const auto& pair : lists) {
      ASSERT_EQ(pair[0]->size(), pair[1]->size());
      for (size_t i = 0; i < pair[0]->size(); ++i) {
        const EntityOutcome& mine = (*pair[0])[i];
        EXPECT_EQ(FateName(mine.fate), FateName((*pair[1])[i].fate));
        if (mine.fate == Fate::FateUnchanged) {
          EXPECT_TRUE(mine.products.front().IsSame(mine.source));
        }
      }
    }
    EXPECT_TRUE(result.history.created.empty());
  }
}

TEST(FaceDelete, FacesNotClosedOffByLoopsAreLeftToHealing) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Shape plate = HolePlate(3, 15, 2, 1.0);
  const TopoDS_Shape boss = PlateWith("boss");
  // A pin standing free inside a hole: the hole's room is not empty.
  TopoDS_Compound pinned;
  BRep_Builder builder;
  builder.MakeCompound(pinned);
  const TopoDS_Shape holed = PlateWith("hole");
  builder.Add(pinned, holed);
  builder.Add(pinned, BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(10, 10, 1), gp_Dir(0, 0, 1)), 1.0, 2.0).Shape());
  struct Case {
    const char* name;
    TopoDS_Shape body;
    std::vector<TopoDS_Shape> faces;
  };
  const Case cases[] = {
      {"a blend", blended, {CurvedFaces(blended).front()}},
      {"a side of a block", block, {PlanarFace(block, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0))}},
      {"the top of a plate with holes", plate, {PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2))}},
      {"a boss's side without its top", boss, {CurvedFaces(boss).front()}},
      {"a hole with a pin inside", pinned, FeatureFaces(holed)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LocalDelete local;
    EXPECT_FALSE(RemoveFacesLocally(c.body, c.faces, local));
    EXPECT_TRUE(local.shape.IsNull());
  }
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
