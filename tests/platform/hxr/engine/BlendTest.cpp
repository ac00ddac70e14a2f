// Contract of re-blending (a new radius, or the same radius after other changes) and of
// re-making two blend chains in the other order.
#include "fixtures/EngineFixtures.h"
#include "engine/BlendOps.h"
#include "engine/FaceChange.h"
#include "engine/ShapeChecks.h"

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>

#include <gtest/gtest.h>

#include <cmath>

namespace hxr::engine {
namespace {

using namespace fixtures;

// Volume of the 10 x 10 x 10 block with one 10-long edge blended with radius r.
double BlendedVolume(double r) { return 1000.0 - (r * r - M_PI * r * r / 4.0) * 10.0; }

FaceChange Reblend(const TopoDS_Shape& face, double radius) {
  FaceChange change;
  change.face = face;
  change.kind = FaceChangeKind::FaceChangeReblend;
  change.radius = radius;
  return change;
}

struct ReblendCase {
  const char* name;
  double radius;    // asked for
  double expected;  // radius of the blend afterwards
};

void PrintTo(const ReblendCase& c, std::ostream* os) { *os << c.name; }

class BlendRadiusChange : public testing::TestWithParam<ReblendCase> {};

TEST_P(BlendRadiusChange, BlendIsMadeAgainWithTheRadius) {
  const ReblendCase& c = GetParam();
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const TopoDS_Face blend = CurvedFaces(blended).front();
  const Result result = ChangeFaces(blended, {Reblend(blend, c.radius)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), BlendedVolume(c.expected), 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 7);
  const EntityOutcome* outcome = result.history.Find(blend);
  ASSERT_NE(outcome, nullptr);
  EXPECT_EQ(outcome->fate, Fate::FateModified);
  EXPECT_NEAR(CylinderRadius(outcome->products.front()), c.expected, 1e-9);
  int createdFaces = 0;
  for (const TopoDS_Shape& s : result.history.created) createdFaces += s.ShapeType() == TopAbs_FACE;
  EXPECT_EQ(createdFaces, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, BlendRadiusChange,
                         testing::Values(ReblendCase{"Larger", 3.0, 3.0}, ReblendCase{"Smaller", 1.0, 1.0},
                                         ReblendCase{"ZeroKeepsTheRadius", 0.0, 2.0}),
                         [](const testing::TestParamInfo<ReblendCase>& info) { return info.param.name; });

TEST(BlendRadiusChange, BlendFollowsAMovedSupportFace) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const TopoDS_Face blend = CurvedFaces(blended).front();
  FaceChange raise;
  raise.face = PlanarFace(blended, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  raise.kind = FaceChangeKind::FaceChangeOffset;
  raise.distance = 2.0;
  const Result result = ChangeFaces(blended, {raise, Reblend(blend, 0.0)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), BlendedVolume(2.0) + 200.0, 1e-6);
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, blend)), 2.0, 1e-9);
}

TEST(BlendRadiusChange, APlanarFaceIsNoBlend) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const Result result = ChangeFaces(blended, {Reblend(PlanarFace(blended, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0)), 1.0)});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, ErrorNotABlend);
  EXPECT_NEAR(VolumeOf(blended), BlendedVolume(2.0), 1e-6);
}

TEST(BlendRadiusChange, ARadiusTooLargeForTheBodyIsAnErrorAndLeavesTheBody) {
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const Result result = ChangeFaces(blended, {Reblend(CurvedFaces(blended).front(), 12.0)});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, ErrorNone);
  EXPECT_NEAR(VolumeOf(blended), BlendedVolume(2.0), 1e-6);
}

// The blend of radius `radius` among the body's curved faces.
TopoDS_Shape BlendOfRadius(const TopoDS_Shape& body, double radius) {
  for (const TopoDS_Face& face : CurvedFaces(body)) {
    if (std::abs(CylinderRadius(face) - radius) < 1e-9) return face;
  }
  return TopoDS_Shape();
}

TEST(BlendReorder, TwoBlendsAreMadeAgainEachWithItsRadius) {
  const TopoDS_Shape body = OppositeBlendBlock(2.0, 1.0);
  const TopoDS_Shape first = BlendOfRadius(body, 2.0), second = BlendOfRadius(body, 1.0);
  ASSERT_FALSE(first.IsNull());
  ASSERT_FALSE(second.IsNull());
  const Result result = ReorderBlends(body, {first}, {second});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, first)), 2.0, 1e-9);
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, second)), 1.0, 1e-9);
  EXPECT_EQ(result.history.Find(first)->fate, Fate::FateModified);
  EXPECT_EQ(result.history.Find(second)->fate, Fate::FateModified);
  EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(body), 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(body, TopAbs_FACE));
}

// Blends that meet are made one after the other: the later rolls over the earlier where they
// meet, and the sharp edge it runs on to there is blended no further than the corner. So the
// two orders give two bodies that differ from each other and from the blends made together
// only inside the corner cube of the larger radius, every new face lying in it.
TEST(BlendReorder, MeetingBlendsDifferByOrderOnlyAtTheirCorner) {
  const TopoDS_Shape body = TwoBlendBlock(2.0, 1.0);
  const TopoDS_Shape large = BlendOfRadius(body, 2.0), small = BlendOfRadius(body, 1.0);
  // The blends meet at (0, 0, 10); the cube of side 2 there holds every change.
  Bnd_Box corner;
  corner.Update(-1e-6, -1e-6, 8.0 - 1e-6, 2.0 + 1e-6, 2.0 + 1e-6, 10.0 + 1e-6);
  std::vector<double> volumes;
  for (bool largeFirst : {true, false}) {
    SCOPED_TRACE(largeFirst ? "radius 2 first" : "radius 1 first");
    const Result result = largeFirst ? ReorderBlends(body, {large}, {small}) : ReorderBlends(body, {small}, {large});
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_NEAR(CylinderRadius(ProductFace(result.history, large)), 2.0, 1e-9);
    EXPECT_NEAR(CylinderRadius(ProductFace(result.history, small)), 1.0, 1e-9);
    EXPECT_EQ(result.history.CountFaces(Fate::FateDeleted), 0);
    ASSERT_FALSE(result.history.created.empty());
    for (const TopoDS_Shape& made : result.history.created) {
      if (made.ShapeType() != TopAbs_FACE) continue;
      Bnd_Box box;
      BRepBndLib::AddOptimal(made, box, false, false);
      EXPECT_FALSE(corner.IsOut(box.CornerMin()) || corner.IsOut(box.CornerMax()));
    }
    EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(body), 8.0);
    volumes.push_back(VolumeOf(result.shape));
  }
  EXPECT_GT(std::abs(volumes[0] - volumes[1]), 1e-3) << "the order shows where the blends meet";
}

TEST(BlendReorder, AFaceThatIsNoBlendIsAnError) {
  const TopoDS_Shape body = TwoBlendBlock(2.0, 1.0);
  const Result result = ReorderBlends(body, {PlanarFace(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0))},
                                      {CurvedFaces(body).front()});
  EXPECT_EQ(result.error, ErrorNotABlend);
}

}  // namespace
}  // namespace hxr::engine
