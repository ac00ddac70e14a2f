// Contract of ChangeFaces: offsets, motions, tapers and surface changes keep the topology,
// re-intersect the neighbours and report what became of every entity.
#include "fixtures/EngineFixtures.h"
#include "engine/BodyPaste.h"
#include "engine/FaceChange.h"
#include "engine/FaceRegion.h"
#include "engine/ReplaceWithSheet.h"
#include "engine/ShapeChecks.h"

#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepGProp.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <TopoDS.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Plane.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS_Shell.hxx>
#include <gp_Pln.hxx>

#include <gtest/gtest.h>

#include <cmath>

namespace hxr::engine {
namespace {

using namespace fixtures;

// A failed change leaves the input as it was and gives no shape.
void ExpectFailedUntouched(const Result& result, int error, const TopoDS_Shape& body,
                           double volume) {
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, error) << result.detail;
  EXPECT_TRUE(result.shape.IsNull());
  EXPECT_NEAR(VolumeOf(body), volume, 1e-9);
}

struct PlanarOffsetCase {
  const char* name;
  gp_Dir normal;
  gp_Pnt point;
  double distance;
  double volume;
};

void PrintTo(const PlanarOffsetCase& c, std::ostream* os) { *os << c.name; }

class PlanarOffsetOfBlock : public testing::TestWithParam<PlanarOffsetCase> {};

TEST_P(PlanarOffsetOfBlock, MovesThePlaneAndKeepsTopology) {
  const PlanarOffsetCase& c = GetParam();
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face face = PlanarFace(block, c.normal, c.point);
  const double planeBefore = PlaneOffset(face);
  const Result result = ChangeFaces(block, {Offset(face, c.distance)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), c.volume, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_EDGE), 12);
  const TopoDS_Face moved = ProductFace(result.history, face);
  ASSERT_FALSE(moved.IsNull());
  EXPECT_NEAR(PlaneOffset(moved), planeBefore + c.distance, 1e-12);
  EXPECT_LT(OutwardNormal(moved).Angle(c.normal), 1e-12);
  // The moved face and its four neighbours are modified, the opposite face is not.
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 5);
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), 1);
  EXPECT_EQ(result.history.CountEdges(Fate::FateModified), 8);
  EXPECT_EQ(result.history.CountEdges(Fate::FateUnchanged), 4);
  EXPECT_TRUE(result.history.created.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlanarOffsetOfBlock,
    testing::Values(PlanarOffsetCase{"TopOutBy2", gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10), 2.0, 1200.0},
                    PlanarOffsetCase{"TopInBy3", gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10), -3.0, 700.0},
                    PlanarOffsetCase{"BottomOutBy2", gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0), 2.0, 1200.0},
                    PlanarOffsetCase{"SideOutByHalf", gp_Dir(-1, 0, 0), gp_Pnt(0, 0, 0), 0.5, 1050.0}),
    [](const testing::TestParamInfo<PlanarOffsetCase>& info) { return info.param.name; });

struct CurvedOffsetCase {
  const char* name;
  TopoDS_Shape (*make)();
  GeomAbs_SurfaceType type;  // of the face that is offset
  double distance;
  double volume;
};

void PrintTo(const CurvedOffsetCase& c, std::ostream* os) { *os << c.name; }

// The frustum of radii 2 and 1 over height 4, its side offset by 0.25.
double OffsetFrustumVolume() {
  const double cosine = std::cos(std::atan(1.0 / 4.0)), grow = 0.25 / cosine;
  const double r1 = 2.0 + grow, r2 = 1.0 + grow;
  return M_PI * 4.0 / 3.0 * (r1 * r1 + r1 * r2 + r2 * r2);
}

class CurvedFaceOffset : public testing::TestWithParam<CurvedOffsetCase> {};

TEST_P(CurvedFaceOffset, StaysOnItsKindOfSurfaceWithTheNewSize) {
  const CurvedOffsetCase& c = GetParam();
  const TopoDS_Shape body = c.make();
  TopoDS_Shape face;
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More() && face.IsNull(); it.Next()) {
    if (BRepAdaptor_Surface(TopoDS::Face(it.Current())).GetType() == c.type) face = it.Current();
  }
  ASSERT_FALSE(face.IsNull());
  const Result result = ChangeFaces(body, {Offset(face, c.distance)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), c.volume, 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(body, TopAbs_FACE));
  EXPECT_EQ(BRepAdaptor_Surface(ProductFace(result.history, face)).GetType(), c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CurvedFaceOffset,
    testing::Values(
        CurvedOffsetCase{"CylinderSide", [] { return BRepPrimAPI_MakeCylinder(2.0, 5.0).Shape(); },
                         GeomAbs_Cylinder, 0.5, M_PI * 2.5 * 2.5 * 5.0},
        CurvedOffsetCase{"CylinderTop", [] { return BRepPrimAPI_MakeCylinder(2.0, 5.0).Shape(); },
                         GeomAbs_Plane, 1.0, M_PI * 4.0 * 5.0 + M_PI * 4.0},
        CurvedOffsetCase{"Sphere", [] { return BRepPrimAPI_MakeSphere(2.0).Shape(); }, GeomAbs_Sphere,
                         1.0, 4.0 / 3.0 * M_PI * 27.0},
        CurvedOffsetCase{"Torus", [] { return BRepPrimAPI_MakeTorus(5.0, 1.0).Shape(); }, GeomAbs_Torus,
                         0.5, 2.0 * M_PI * M_PI * 5.0 * 1.5 * 1.5},
        CurvedOffsetCase{"ConeSide", [] { return BRepPrimAPI_MakeCone(2.0, 1.0, 4.0).Shape(); },
                         GeomAbs_Cone, 0.25, OffsetFrustumVolume()}),
    [](const testing::TestParamInfo<CurvedOffsetCase>& info) { return info.param.name; });

TEST(FaceOffset, HoleOffsetAlongItsOutwardNormalShrinksTheHole) {
  const TopoDS_Shape plate = HolePlate(1, 10, 2, 2.0);
  const TopoDS_Face hole = CurvedFaces(plate).front();
  const double before = VolumeOf(plate);
  const Result result = ChangeFaces(plate, {Offset(hole, 0.5)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, hole)), 1.5, 1e-12);
  EXPECT_NEAR(VolumeOf(result.shape) - before, M_PI * (4.0 - 2.25) * 2.0, 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(plate, TopAbs_FACE));
}

TEST(FaceOffset, OffsetThatInvertsAHoleIsAnErrorAndLeavesTheBody) {
  const TopoDS_Shape plate = HolePlate(1, 10, 2, 2.0);
  const double volume = VolumeOf(plate);
  const Result result = ChangeFaces(plate, {Offset(CurvedFaces(plate).front(), 3.0)});
  ExpectFailedUntouched(result, ErrorFaceInverted, plate, volume);
}

TEST(FaceOffset, OffsetThroughTheOppositeFaceIsAnError) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const Result result = ChangeFaces(block, {Offset(PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)), -12.0)});
  ExpectFailedUntouched(result, ErrorTopologyChangeNeeded, block, 1000.0);
}

TEST(FaceOffset, OffsetAllSixFacesGrowsTheBlockEvenly) {
  const TopoDS_Shape block = Box(10, 10, 10);
  std::vector<FaceChange> changes;
  for (TopExp_Explorer it(block, TopAbs_FACE); it.More(); it.Next()) changes.push_back(Offset(it.Current(), 1.0));
  const Result result = ChangeFaces(block, changes);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 12.0 * 12.0 * 12.0, 1e-9);
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 6);
}

TEST(FaceMove, StepFaceOfLPrismMovesUpAndItsNeighboursFollow) {
  const TopoDS_Shape prism = LPrism();
  const TopoDS_Face step = PlanarFace(prism, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4));
  const Result result = ChangeFaces(prism, {Move(step, Translation(0, 0, 2))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 320.0 + 6.0 * 5.0 * 2.0, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 8);
  const TopoDS_Face moved = ProductFace(result.history, step);
  EXPECT_NEAR(PlaneOffset(moved), 6.0, 1e-12);
  // The step, the riser, the outer side and the two profile faces change; the top, the
  // bottom and the back of the tall part do not.
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 5);
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), 3);
  const EntityOutcome* top = result.history.Find(PlanarFace(prism, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->fate, Fate::FateUnchanged);
}

TEST(FaceMove, StepFaceMovedAboveTheTopNeedsATopologyChange) {
  const TopoDS_Shape prism = LPrism();
  const TopoDS_Face step = PlanarFace(prism, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4));
  const Result result = ChangeFaces(prism, {Move(step, Translation(0, 0, 7))});
  ExpectFailedUntouched(result, ErrorTopologyChangeNeeded, prism, 320.0);
}

TEST(FaceMove, StepFaceMovedOntoTheTopPlaneNeedsATopologyChange) {
  const TopoDS_Shape prism = LPrism();
  const TopoDS_Face step = PlanarFace(prism, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4));
  const Result result = ChangeFaces(prism, {Move(step, Translation(0, 0, 6))});
  ExpectFailedUntouched(result, ErrorTopologyChangeNeeded, prism, 320.0);
}

TEST(FaceMove, AFaceAlongABlendThatIsNotMadeAgainIsAnError) {
  // Raised, the top no longer meets the blend that joins it to the front: without the
  // blend being made again, the faces would need new edges.
  const TopoDS_Shape blended = BlendedBlock(2.0);
  const double volume = VolumeOf(blended);
  const TopoDS_Face top = PlanarFace(blended, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const Result result = ChangeFaces(blended, {Move(top, Translation(0, 0, 2))});
  ExpectFailedUntouched(result, ErrorTopologyChangeNeeded, blended, volume);
}

TEST(FaceMove, TopFaceRotatedAboutItsMiddleKeepsTheVolume) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  gp_Trsf rotation;
  rotation.SetRotation(gp_Ax1(gp_Pnt(5, 0, 10), gp_Dir(0, 1, 0)), 10.0 * M_PI / 180.0);
  const Result result = ChangeFaces(block, {Move(top, rotation)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1000.0, 1e-9);
  EXPECT_NEAR(OutwardNormal(ProductFace(result.history, top)).Angle(gp_Dir(0, 0, 1)),
              10.0 * M_PI / 180.0, 1e-12);
}

TEST(FaceMove, PlateTopMovesThroughAllHoles) {
  const TopoDS_Shape plate = HolePlate(3, 30, 2, 1.0);
  const TopoDS_Face top = PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2));
  const Result result = ChangeFaces(plate, {Move(top, Translation(0, 0, 1))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), (900.0 - 9.0 * M_PI) * 3.0, 1e-6);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(plate, TopAbs_FACE));
  // Every hole face and side is re-bounded (modified), the top too; only the bottom stays.
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 1 + 9 + 4);
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), 1);
  EXPECT_EQ(result.history.CountFaces(Fate::FateDeleted), 0);
  EXPECT_TRUE(result.history.created.empty());
}

TEST(FaceMove, PlateTopSlidInItsOwnPlaneChangesNothing) {
  const TopoDS_Shape plate = HolePlate(2, 20, 2, 1.0);
  const TopoDS_Face top = PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2));
  const Result result = ChangeFaces(plate, {Move(top, Translation(3, 1, 0))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), CountOf(plate, TopAbs_FACE));
  EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(plate), 1e-9);
}

TEST(FaceMove, TiltedPlateTopMeetsTheHoleInAnEllipse) {
  const TopoDS_Shape plate = HolePlate(1, 10, 2, 2.0);
  const TopoDS_Face top = PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2));
  gp_Trsf tilt;
  tilt.SetRotation(gp_Ax1(gp_Pnt(5, 5, 2), gp_Dir(0, 1, 0)), 5.0 * M_PI / 180.0);
  const Result result = ChangeFaces(plate, {Move(top, tilt)});
  ASSERT_TRUE(result.ok) << result.detail;
  // Tilted about the middle line, the top takes as much as it gives.
  EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(plate), 1e-6);
  const TopoDS_Face hole = CurvedFaces(plate).front();
  EXPECT_EQ(result.history.Find(hole)->fate, Fate::FateModified);
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, hole)), 2.0, 1e-12);
}

// One hole moved on a plate of nine: the history lists the hole and the top and bottom its
// loops lie in (with their changed edges and vertices) and nothing else; every other entity
// is unchanged by implication, still answered for one by one and counted.
// A move finds the faces around the moved ones by a pass over the body, or asks the body's
// adjacency for them: both must find the same region.
class FaceMoveRegion : public testing::TestWithParam<bool> {
 protected:
  Result Change(const TopoDS_Shape& body, const std::vector<FaceChange>& changes) {
    if (!GetParam()) return ChangeFaces(body, changes);
    const ShapeNeighbours neighbours(body);
    return ChangeFaces(body, changes, &neighbours);
  }
};

INSTANTIATE_TEST_SUITE_P(Search, FaceMoveRegion, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "FromAdjacency" : "ByPassingOverTheBody";
                         });

TEST_P(FaceMoveRegion, AHoleMovedOnAPlateListsOnlyWhatItReplaced) {
  const TopoDS_Shape plate = HolePlate(3, 15, 2, 1.0);
  const std::vector<TopoDS_Face> holes = CurvedFaces(plate);
  const Result result = Change(plate, {Move(holes[4], Translation(0.5, 0, 0))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_EQ(result.history.faces.size(), 3u);
  for (const EntityOutcome& outcome : result.history.faces) EXPECT_EQ(outcome.fate, Fate::FateModified);
  for (const auto* list : {&result.history.edges, &result.history.vertices}) {
    for (const EntityOutcome& outcome : *list) {
      EXPECT_FALSE(outcome.products.front().IsSame(outcome.source));
      EXPECT_TRUE(ContainsSubShape(holes[4], outcome.source));
    }
  }
  const EntityOutcome* other = result.history.Find(holes[0]);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->fate, Fate::FateUnchanged);
  ASSERT_EQ(other->products.size(), 1u);
  EXPECT_TRUE(other->products.front().IsSame(holes[0]));
  EXPECT_TRUE(ContainsSubShape(result.shape, holes[0]));
  EXPECT_EQ(result.history.Find(Box(1, 1, 1)), nullptr);
  EXPECT_EQ(result.history.CountFaces(Fate::FateUnchanged), CountOf(plate, TopAbs_FACE) - 3);
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 3);
  EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(plate), 1e-9);
}

// Two holes moved together: the top and the bottom each hold both of their loops, and both are
// rebuilt there.
TEST_P(FaceMoveRegion, TwoHolesMovedTogetherAreRebuiltInTheTopAndBottom) {
  const TopoDS_Shape plate = HolePlate(3, 15, 2, 1.0);
  const std::vector<TopoDS_Face> holes = CurvedFaces(plate);
  const Result result = Change(plate, {Move(holes[0], Translation(0.5, 0, 0)), Move(holes[8], Translation(0, -0.5, 0))});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_EQ(result.history.CountFaces(Fate::FateModified), 4);
  EXPECT_EQ(result.history.edges.size(), 6u);
  EXPECT_EQ(CountOf(result.shape, TopAbs_EDGE), CountOf(plate, TopAbs_EDGE));
  EXPECT_NEAR(VolumeOf(result.shape), VolumeOf(plate), 1e-9);
}

// Two blocks meeting at one corner: the top of the lower block is tilted about a line through
// that corner, which stays where it is. The upper block's faces meet the tilted face at that
// vertex alone, and must take the rebuilt vertex with it instead of keeping the old one.
TEST_P(FaceMoveRegion, AVertexWhereTwoSolidsTouchStaysOneVertex) {
  const TopoDS_Shape blocks = BRepAlgoAPI_Fuse(Box(1, 1, 1), Box(1, 1, 1, gp_Pnt(1, 1, 1))).Shape();
  ASSERT_EQ(CountOf(blocks, TopAbs_VERTEX), 15);
  const TopoDS_Face top = PlanarFace(blocks, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 1));
  ASSERT_FALSE(top.IsNull());
  gp_Trsf tilt;
  tilt.SetRotation(gp_Ax1(gp_Pnt(1, 1, 1), gp_Dir(1, 0, 0)), 5.0 * M_PI / 180.0);
  const Result result = Change(blocks, {Move(top, tilt)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_EQ(CountOf(result.shape, TopAbs_VERTEX), 15);
  TopTools_IndexedDataMapOfShapeListOfShape around;
  TopExp::MapShapesAndUniqueAncestors(result.shape, TopAbs_VERTEX, TopAbs_FACE, around);
  int shared = 0;
  for (int i = 1; i <= around.Extent(); ++i) {
    if (BRep_Tool::Pnt(TopoDS::Vertex(around.FindKey(i))).Distance(gp_Pnt(1, 1, 1)) < 1e-9) {
      ++shared;
      EXPECT_EQ(around(i).Extent(), 6);
    }
  }
  EXPECT_EQ(shared, 1);
}

TEST_P(FaceMoveRegion, AFaceOfAnotherBodyIsABadArgument) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face other = PlanarFace(Box(5, 5, 5), gp_Dir(0, 0, 1), gp_Pnt(0, 0, 5));
  const Result result = Change(block, {Move(other, Translation(0, 0, 1))});
  ExpectFailedUntouched(result, ErrorBadArgument, block, 1000.0);
}

TEST(FaceMove, ABossMovesWithAllItsFacesAndItsFootprintFollows) {
  const TopoDS_Shape block = PasteBody(Box(10, 10, 10), Box(2, 2, 2, gp_Pnt(4, 4, 10)),
                                       PasteType::PasteTypeAdd, nullptr).shape;
  ASSERT_FALSE(block.IsNull());
  std::vector<FaceChange> changes;
  for (TopExp_Explorer it(block, TopAbs_FACE); it.More(); it.Next()) {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(it.Current(), props);
    if (props.CentreOfMass().Z() > 10.0 + 1e-9) changes.push_back(Move(it.Current(), Translation(2, 1, 0)));
  }
  ASSERT_EQ(changes.size(), 5u);
  const Result result = ChangeFaces(block, changes);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1008.0, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 11);
  // The block's top, with the boss's footprint in it, is modified; the boss moved by (2, 1).
  const EntityOutcome* top = result.history.Find(PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->fate, Fate::FateModified);
  EXPECT_NEAR(AreaOf(top->products.front()), 96.0, 1e-9);
  GProp_GProps boss;
  BRepGProp::VolumeProperties(result.shape, boss);
  EXPECT_NEAR(boss.CentreOfMass().X(), (1000.0 * 5.0 + 8.0 * 7.0) / 1008.0, 1e-9);
}

TEST(FaceChange, NamingAFaceTwiceIsABadArgument) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const Result result = ChangeFaces(block, {Offset(top, 1.0), Offset(top, 2.0)});
  ExpectFailedUntouched(result, ErrorBadArgument, block, 1000.0);
}

TEST(FaceChange, AFaceOfAnotherBodyIsABadArgument) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Shape other = Box(5, 5, 5);
  const Result result = ChangeFaces(block, {Offset(PlanarFace(other, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 5)), 1.0)});
  ExpectFailedUntouched(result, ErrorBadArgument, block, 1000.0);
}

TEST(FaceTaper, SideFaceTiltsAboutItsBottomEdge) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face side = PlanarFace(block, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  FaceChange change;
  change.face = side;
  change.kind = FaceChangeKind::FaceChangeTaper;
  change.taperDirection = gp_Dir(0, 0, 1);
  change.taperAngle = 5.0 * M_PI / 180.0;
  const Result result = ChangeFaces(block, {change});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(std::abs(VolumeOf(result.shape) - 1000.0), 500.0 * std::tan(change.taperAngle), 1e-6);
  EXPECT_NEAR(OutwardNormal(ProductFace(result.history, side)).Angle(gp_Dir(1, 0, 0)), change.taperAngle, 1e-9);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 6);
  // The hinge is the bottom edge: the bottom keeps its size, the top does not.
  const TopoDS_Face bottom = PlanarFace(block, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  EXPECT_NEAR(AreaOf(ProductFace(result.history, bottom)), 100.0, 1e-9);
  EXPECT_NEAR(std::abs(AreaOf(ProductFace(result.history, top)) - 100.0),
              100.0 * std::tan(change.taperAngle), 1e-6);
}

TEST(FaceReplace, TopFaceGoesOntoACylinderAndTheSidesFollowAsArcs) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  FaceChange change;
  change.face = top;
  change.kind = FaceChangeKind::FaceChangeSurface;
  change.surface = new Geom_CylindricalSurface(gp_Ax3(gp_Pnt(0, 5, 0), gp_Dir(1, 0, 0)), 11.0);
  change.outwardSense = true;  // the cylinder's normal points away from its axis: up, out of the block
  const Result result = ChangeFaces(block, {change});
  ASSERT_TRUE(result.ok) << result.detail;
  // Ten long, under the arc z = sqrt(121 - (y - 5)^2) for y from 0 to 10.
  const double section = 5.0 * std::sqrt(96.0) + 121.0 * std::asin(5.0 / 11.0);
  EXPECT_NEAR(VolumeOf(result.shape), 10.0 * section, 1e-6);
  EXPECT_NEAR(CylinderRadius(ProductFace(result.history, top)), 11.0, 1e-12);
  EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), 6);
  // The ends (x = 0 and x = 10) now end in arcs: modified, still planar.
  const TopoDS_Face end = PlanarFace(block, gp_Dir(-1, 0, 0), gp_Pnt(0, 0, 0));
  EXPECT_EQ(result.history.Find(end)->fate, Fate::FateModified);
  EXPECT_NEAR(AreaOf(ProductFace(result.history, end)), section, 1e-6);
}

TEST(FaceReplace, TopFaceGoesOntoATiltedSheet) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  // The plane z = 10 + 0.1 x, as a sheet facing down (the sheet's sense is found).
  const gp_Pln plane(gp_Pnt(0, 0, 10), gp_Dir(0.1, 0, -1));
  const TopoDS_Shape sheet = BRepBuilderAPI_MakeFace(plane, -30, 30, -30, 30).Shape();
  const Result result = ReplaceFacesWithSheet(block, {top}, sheet);
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_NEAR(VolumeOf(result.shape), 1050.0, 1e-9);
  const TopoDS_Face replaced = ProductFace(result.history, top);
  EXPECT_LT(OutwardNormal(replaced).Angle(gp_Dir(-0.1, 0, 1)), 1e-12);
  EXPECT_EQ(CountOf(sheet, TopAbs_FACE), 1);
}

// A sheet on two surfaces needs faces and edges made or removed, which the engine leaves to the
// sewing route of its caller; a solid is no sheet at all.
TEST(FaceReplace, ASheetOnTwoSurfacesNeedsATopologyChangeAndASolidIsNoSheet) {
  const TopoDS_Shape block = Box(10, 10, 10);
  const TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const TopoDS_Shape other = Box(1, 1, 1, gp_Pnt(20, 20, 20));
  BRep_Builder builder;
  TopoDS_Shell bent;
  builder.MakeShell(bent);
  builder.Add(bent, PlanarFace(other, gp_Dir(0, 0, 1), gp_Pnt(20, 20, 21)));
  builder.Add(bent, PlanarFace(other, gp_Dir(1, 0, 0), gp_Pnt(21, 20, 20)));
  ExpectFailedUntouched(ReplaceFacesWithSheet(block, {top}, bent), ErrorTopologyChangeNeeded, block,
                        1000.0);
  ExpectFailedUntouched(ReplaceFacesWithSheet(block, {top}, other), ErrorBadArgument, block, 1000.0);
}

}  // namespace
}  // namespace hxr::engine
