// Contract of the history routine: OCCT's record of an algorithm becomes unchanged,
// modified, split, merged, deleted and created entities, in the input's order.
#include "fixtures/EngineFixtures.h"
#include "engine/HistoryRecorder.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepTools_History.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <gtest/gtest.h>

namespace hxr::engine {
namespace {

using namespace fixtures;

TEST(HistoryRecord, EmptyHistoryOnTheSameShapeLeavesEverythingUnchanged) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const History history = RecordHistory(block, block, BRepTools_History());
  EXPECT_EQ(history.faces.size(), 6u);
  EXPECT_EQ(history.edges.size(), 12u);
  EXPECT_EQ(history.vertices.size(), 8u);
  EXPECT_EQ(history.CountFaces(Fate::FateUnchanged), 6);
  EXPECT_TRUE(history.created.empty());
  // Outcomes follow the input's own order.
  TopTools_IndexedMapOfShape faces;
  TopExp::MapShapes(block, TopAbs_FACE, faces);
  for (int i = 1; i <= faces.Extent(); ++i) EXPECT_TRUE(history.faces[i - 1].source.IsSame(faces(i)));
}

TEST(HistoryRecord, CutThroughTheMiddleSplitsTheCutFacesInResultOrder) {
  const TopoDS_Shape block = Box(10, 10, 10);
  // A slot from the top down to half height, through the whole block along Y: the top
  // face falls in two, the front and back become U-shaped.
  const TopoDS_Shape slot = Box(2, 20, 20, gp_Pnt(4, -5, 5));
  BRepAlgoAPI_Cut cut(block, slot);
  const History history = RecordHistory(block, cut.Shape(), *cut.History());
  const EntityOutcome* top = history.Find(PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->fate, Fate::FateSplit);
  ASSERT_EQ(top->products.size(), 2u);
  TopTools_IndexedMapOfShape resultFaces;
  TopExp::MapShapes(cut.Shape(), TopAbs_FACE, resultFaces);
  EXPECT_LT(resultFaces.FindIndex(top->products[0]), resultFaces.FindIndex(top->products[1]));
  const EntityOutcome* bottom = history.Find(PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0)));
  EXPECT_EQ(bottom->fate, Fate::FateUnchanged);
  EXPECT_EQ(history.CountFaces(Fate::FateDeleted), 0);
  // The slot's walls and floor are new.
  int createdFaces = 0;
  for (const TopoDS_Shape& s : history.created) createdFaces += s.ShapeType() == TopAbs_FACE;
  EXPECT_EQ(createdFaces, 3);
}

TEST(HistoryRecord, UnifiedCoplanarFacesAreMergedIntoOneSurvivor) {
  const TopoDS_Shape left = Box(5, 10, 10);
  const TopoDS_Shape right = Box(5, 10, 10, gp_Pnt(5, 0, 0));
  BRepAlgoAPI_Fuse fuse(left, right);
  ShapeUpgrade_UnifySameDomain unify(fuse.Shape(), true, true, false);
  unify.Build();
  const BRepTools_History composed = ComposeHistories(left, *fuse.History(), *unify.History());
  const History history = RecordHistory(left, unify.Shape(), composed);
  // The left box's inner face is gone inside the union; its top is merged with the
  // right box's top, so as the left box's only source it is recorded as modified.
  const EntityOutcome* inner = history.Find(PlanarFace(left, gp_Dir(1, 0, 0), gp_Pnt(5, 0, 0)));
  EXPECT_EQ(inner->fate, Fate::FateDeleted);
  const EntityOutcome* top = history.Find(PlanarFace(left, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)));
  EXPECT_EQ(top->fate, Fate::FateModified);

  const History both = RecordHistory(fuse.Shape(), unify.Shape(), *unify.History());
  EXPECT_EQ(both.CountFaces(Fate::FateMerged), 8);  // four faces of each box, pairwise
}

TEST(HistoryRecord, RebuiltEntityWithTheSameGeometryCountsAsUnchanged) {
  const TopoDS_Shape a = Box(10, 10, 10);
  const TopoDS_Shape b = Box(10, 10, 10);  // another shape, the same geometry
  EXPECT_FALSE(a.IsSame(b));
  const TopoDS_Face fa = PlanarFace(a, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const TopoDS_Face fb = PlanarFace(b, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  EXPECT_TRUE(IsSameGeometry(fa, fb));
  EXPECT_FALSE(IsSameGeometry(fa, PlanarFace(b, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0))));
}

}  // namespace
}  // namespace hxr::engine
