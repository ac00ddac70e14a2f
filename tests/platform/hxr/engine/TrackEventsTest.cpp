// Contract of the track events made from a history: kinds, order and position pairing.
#include "engine/FaceChange.h"
#include "engine/FaceCopy.h"
#include "engine/HistoryRecorder.h"
#include "engine/TrackEvents.h"
#include "fixtures/EngineFixtures.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>

#include <TopoDS.hxx>

#include <algorithm>

#include <gtest/gtest.h>

namespace hxr::engine {
namespace {

using namespace fixtures;

int Count(const std::vector<TrackEvent>& events, TrackKind kind, TopAbs_ShapeEnum type) {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const TrackEvent& e) {
    const TopoDS_Shape& any = e.before.empty() ? e.after.front() : e.before.front();
    return e.kind == kind && any.ShapeType() == type;
  }));
}

TEST(TrackEvents, OffsetGivesOneModifyPerChangedEntityAndNothingForTheRest) {
  const TopoDS_Shape block = Box(10, 10, 10);
  FaceChange change;
  change.face = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  change.distance = 1.0;
  const Result result = ChangeFaces(block, {change});
  ASSERT_TRUE(result.ok) << result.detail;
  const std::vector<TrackEvent> events = TrackEventsOf(result.history);
  EXPECT_EQ(Count(events, TrackKind::TrackKindModify, TopAbs_FACE), 5);
  EXPECT_EQ(Count(events, TrackKind::TrackKindModify, TopAbs_EDGE), 8);
  EXPECT_EQ(Count(events, TrackKind::TrackKindModify, TopAbs_VERTEX), 4);
  EXPECT_EQ(events.size(), 17u);
  // Faces come first, vertices last.
  EXPECT_EQ(events.front().before.front().ShapeType(), TopAbs_FACE);
  EXPECT_EQ(events.back().before.front().ShapeType(), TopAbs_VERTEX);
}

TEST(TrackEvents, SplitListsItsPiecesAndASlotItsNewFaces) {
  const TopoDS_Shape block = Box(10, 10, 10);
  BRepAlgoAPI_Cut cut(block, Box(2, 20, 20, gp_Pnt(4, -5, 5)));
  const std::vector<TrackEvent> events = TrackEventsOf(RecordHistory(block, cut.Shape(), *cut.History()));
  ASSERT_EQ(Count(events, TrackKind::TrackKindSplit, TopAbs_FACE), 1);
  const auto split = std::find_if(events.begin(), events.end(),
                                  [](const TrackEvent& e) { return e.kind == TrackKind::TrackKindSplit; });
  EXPECT_EQ(split->before.size(), 1u);
  EXPECT_EQ(split->after.size(), 2u);
  EXPECT_EQ(Count(events, TrackKind::TrackKindCreate, TopAbs_FACE), 3);
}

TEST(TrackEvents, MergedFacesGiveOneEventPerSurvivor) {
  const TopoDS_Shape left = Box(5, 10, 10);
  const TopoDS_Shape right = Box(5, 10, 10, gp_Pnt(5, 0, 0));
  BRepAlgoAPI_Fuse fuse(left, right);
  ShapeUpgrade_UnifySameDomain unify(fuse.Shape(), true, true, false);
  unify.Build();
  const std::vector<TrackEvent> events = TrackEventsOf(RecordHistory(fuse.Shape(), unify.Shape(), *unify.History()));
  EXPECT_EQ(Count(events, TrackKind::TrackKindMerge, TopAbs_FACE), 4);
  for (const TrackEvent& e : events) {
    if (e.kind != TrackKind::TrackKindMerge || e.after.front().ShapeType() != TopAbs_FACE) continue;
    EXPECT_EQ(e.before.size(), 2u);
    EXPECT_EQ(e.after.size(), 1u);
  }
}

TEST(TrackEvents, CopiedFacesPairProductJWithSourceJ) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const TopoDS_Face bottom = PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  const Result result = CopyFaces(block, {top, bottom});
  ASSERT_TRUE(result.ok) << result.detail;
  const std::vector<TrackEvent> events = TrackEventsOf(result.history);
  const auto derive = std::find_if(events.begin(), events.end(), [](const TrackEvent& e) {
    return e.kind == TrackKind::TrackKindDerive && e.before.front().ShapeType() == TopAbs_FACE;
  });
  ASSERT_NE(derive, events.end());
  ASSERT_EQ(derive->before.size(), 2u);
  ASSERT_EQ(derive->after.size(), 2u);
  EXPECT_TRUE(derive->before[0].IsSame(top));
  EXPECT_TRUE(derive->before[1].IsSame(bottom));
  EXPECT_NEAR(PlaneOffset(TopoDS::Face(derive->after[0])), 10.0, 1e-12);
  EXPECT_NEAR(PlaneOffset(TopoDS::Face(derive->after[1])), 0.0, 1e-12);
}

}  // namespace
}  // namespace hxr::engine
