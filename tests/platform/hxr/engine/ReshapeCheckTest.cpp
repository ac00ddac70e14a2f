// A change that keeps the topology is checked only where it reshaped the body: these
// results are broken exactly there, and each must still be refused.
#include "fixtures/EngineFixtures.h"
#include "engine/FaceChange.h"
#include "engine/ReshapedFaceCheck.h"
#include "engine/ShapeChecks.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Elips.hxx>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hxr::engine {
namespace {

using namespace fixtures;

// The hole of the plate whose axis passes through (x, y).
TopoDS_Face HoleAt(const TopoDS_Shape& plate, double x, double y) {
  for (const TopoDS_Face& face : CurvedFaces(plate)) {
    const gp_Pnt axis = BRepAdaptor_Surface(face).Cylinder().Location();
    if (std::abs(axis.X() - x) < 1e-9 && std::abs(axis.Y() - y) < 1e-9) return face;
  }
  return TopoDS_Face();
}

// A hole of a 20 x 20 x 2 plate with holes of radius 2 at x, y = 5 and 15, moved along X
// by `dx`, or offset by `offset` when that is not 0.
struct HoleChange {
  double x, y;
  double dx;
  double offset;
};

struct HoleMoveCase {
  const char* name;
  std::vector<HoleChange> changes;
  const char* refusal;  // what the check finds wrong; null when the move is fine
};

void PrintTo(const HoleMoveCase& c, std::ostream* os) { *os << c.name; }

class HoleMove : public testing::TestWithParam<HoleMoveCase> {};

// Moving a hole re-bounds the top and bottom faces only: their topology stays, their
// boundary curves are where the result breaks.
TEST_P(HoleMove, IsRefusedExactlyWhenTheHoleNoLongerFitsThePlate) {
  const TopoDS_Shape plate = HolePlate(2, 20, 2, 2.0);
  const double volume = VolumeOf(plate);
  const std::string before = Fingerprint(plate);
  std::vector<FaceChange> changes;
  for (const HoleChange& hole : GetParam().changes) {
    FaceChange change;
    change.face = HoleAt(plate, hole.x, hole.y);
    change.kind = hole.offset != 0.0 ? FaceChangeKind::FaceChangeOffset : FaceChangeKind::FaceChangeTransform;
    change.distance = hole.offset;
    change.motion.SetTranslation(gp_Vec(hole.dx, 0, 0));
    changes.push_back(change);
  }
  const Result result = ChangeFaces(plate, changes);
  if (GetParam().refusal == nullptr) {
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ(CountOf(result.shape, TopAbs_FACE), CountOf(plate, TopAbs_FACE));
    return;
  }
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, ErrorInvalidResult) << result.detail;
  EXPECT_NE(result.detail.find(GetParam().refusal), std::string::npos) << result.detail;
  EXPECT_TRUE(result.shape.IsNull());
  EXPECT_NEAR(VolumeOf(plate), volume, 1e-9);
  EXPECT_EQ(Fingerprint(plate), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HoleMove,
    testing::Values(HoleMoveCase{"WithinThePlate", {{5, 5, 2.0, 0.0}}, nullptr},
                    HoleMoveCase{"NearlyTouchingThePlateSide", {{5, 5, -2.99, 0.0}}, nullptr},
                    HoleMoveCase{"NearlyTouchingItsNeighbour", {{5, 5, 5.99, 0.0}}, nullptr},
                    HoleMoveCase{"IntoItsNeighbour", {{5, 5, 8.0, 0.0}}, "cross"},
                    HoleMoveCase{"OntoItsNeighbour", {{5, 5, 10.0, 0.0}}, "cross"},
                    HoleMoveCase{"AcrossThePlateSide", {{5, 5, -4.0, 0.0}}, "cross"},
                    HoleMoveCase{"OffThePlate", {{15, 5, 10.0, 0.0}}, "outside its outer boundary"},
                    HoleMoveCase{"AroundASmallerHole", {{15, 5, 0.0, 1.5}, {5, 5, 10.0, 0.0}},
                                 "inside another hole"}),
    [](const testing::TestParamInfo<HoleMoveCase>& info) { return info.param.name; });

// A kept hole that is no circle (an oval, 8 along Y and 2 along X, amid the plate's four holes)
// is measured from its parameter curves: a hole moved into it is refused, one moved beside it
// is not.
TEST(HoleMoveBesideAnOval, IsRefusedExactlyWhenItCrossesTheOval) {
  const gp_Elips oval(gp_Ax2(gp_Pnt(10, 10, -1), gp_Dir(0, 0, 1), gp_Dir(0, 1, 0)), 4.0, 1.0);
  const TopoDS_Face base =
      BRepBuilderAPI_MakeFace(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(oval).Edge()).Wire()).Face();
  const TopoDS_Shape plate =
      BRepAlgoAPI_Cut(HolePlate(2, 20, 2, 2.0), BRepPrimAPI_MakePrism(base, gp_Vec(0, 0, 4)).Shape()).Shape();
  ASSERT_EQ(CountOf(plate, TopAbs_FACE), 11);
  struct Case {
    double dx;
    bool refused;
  };
  for (const Case& c : {Case{2.0, false}, Case{5.0, true}}) {
    FaceChange change;
    change.face = HoleAt(plate, 5, 5);
    change.kind = FaceChangeKind::FaceChangeTransform;
    change.motion.SetTranslation(gp_Vec(c.dx, 0, 0));
    const Result result = ChangeFaces(plate, {change});
    EXPECT_EQ(result.ok, !c.refused) << c.dx << ": " << result.detail;
    if (c.refused) {
      EXPECT_NE(result.detail.find("cross"), std::string::npos) << result.detail;
    }
  }
}

// The block's top face rebuilt by hand with a fault, as the face the change made of it.
struct Injected {
  TopoDS_Shape block = Box(10, 10, 10);
  TopoDS_Face top = PlanarFace(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  BRepBuilderAPI_Copy copy{block};
  History history;

  Injected() {
    history.faces.push_back({top, Fate::FateModified, {copy.ModifiedShape(top)}});
  }
  TopoDS_Face Product() const { return TopoDS::Face(history.faces.front().products.front()); }
  // The error, with what was found wrong in `detail`.
  int Check(std::string& detail) const { return CheckReshapedFaces(history, detail); }
};

TEST(ReshapeCheck, TheUntouchedCopyPassesAndKeepsItsTopology) {
  Injected injected;
  std::string detail;
  EXPECT_EQ(injected.Check(detail), ErrorNone) << detail;
  EXPECT_TRUE(KeepsTopology(injected.history));
  injected.history.created.push_back(injected.Product());
  EXPECT_FALSE(KeepsTopology(injected.history));
}

TEST(ReshapeCheck, AnEdgeOffItsFaceIsRefusedWhetherKnownAsRebuiltOrNot) {
  Injected injected;
  const TopoDS_Face face = injected.Product();
  const TopoDS_Shape source = TopExp_Explorer(injected.top, TopAbs_EDGE).Current();
  const TopoDS_Edge edge = TopoDS::Edge(injected.copy.ModifiedShape(source));
  double first, last;
  Handle(Geom2d_Curve) shifted = Handle(Geom2d_Curve)::DownCast(
      BRep_Tool::CurveOnSurface(edge, face, first, last)->Copy());
  shifted->Translate(gp_Vec2d(0.0, 0.01));
  BRep_Builder().UpdateEdge(edge, shifted, face, BRep_Tool::Tolerance(edge));
  // Not known as rebuilt, the edge is not held against its face; but its wire no longer
  // closes, which leaves the face to the full face check.
  std::string detail;
  EXPECT_EQ(injected.Check(detail), ErrorInvalidResult);
  EXPECT_NE(detail.find("not valid"), std::string::npos) << detail;
  injected.history.edges.push_back({source, Fate::FateUnchanged, {edge}});
  EXPECT_EQ(injected.Check(detail), ErrorInvalidResult);
  EXPECT_NE(detail.find("leaves the surface"), std::string::npos) << detail;
}

TEST(ReshapeCheck, AFaceWhoseBoundaryTurnedRoundIsRefused) {
  Injected injected;
  const TopoDS_Face face = injected.Product();
  TopoDS_Face turned;
  BRep_Builder builder;
  TopLoc_Location location;
  builder.MakeFace(turned, BRep_Tool::Surface(face, location), location, BRep_Tool::Tolerance(face));
  for (TopExp_Explorer it(face, TopAbs_WIRE); it.More(); it.Next()) {
    builder.Add(turned, it.Current().Reversed());
  }
  injected.history.faces.front().products = {turned.Oriented(face.Orientation())};
  std::string detail;
  EXPECT_EQ(injected.Check(detail), ErrorInvalidResult);
  EXPECT_NE(detail.find("wrong way round"), std::string::npos) << detail;
}

}  // namespace
}  // namespace hxr::engine
