// A change of face surfaces makes anew only what it moves: the result is a valid body of the
// volume asked for, every entity the history does not list is the body's own, every one it
// lists was made anew, and the body given stays as it was. The cases include placed faces and
// a turned shell (an extrusion's top is its foot placed higher, sharing the foot's face).
#include "engine/FaceChange.h"
#include "engine/ShapeChecks.h"
#include "fixtures/EngineFixtures.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <gp_Circ.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace hxr::engine {
namespace {

using namespace fixtures;

// A 30 x 10 plate, 4 thick, with three holes of radius 2 along its middle, made by extruding
// its foot: the top and the holes' upper edges are the foot's, placed 4 higher.
TopoDS_Shape ExtrudedPlate() {
  BRepBuilderAPI_MakePolygon outline;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {30.0, 0.0}, {30.0, 10.0}, {0.0, 10.0}}) outline.Add(gp_Pnt(x, y, 0));
  outline.Close();
  BRepBuilderAPI_MakeFace foot(outline.Wire(), true);
  for (double x : {5.0, 15.0, 25.0}) {
    const gp_Circ circle(gp_Ax2(gp_Pnt(x, 5, 0), gp_Dir(0, 0, -1)), 2.0);
    foot.Add(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(circle).Edge()).Wire());
  }
  return BRepPrimAPI_MakePrism(foot.Face(), gp_Vec(0, 0, 4)).Shape();
}

struct RebuildCase {
  const char* name;
  TopoDS_Shape (*make)();
  std::function<FaceChange(const TopoDS_Shape&)> change;
  double volume;  // afterwards
};

void PrintTo(const RebuildCase& c, std::ostream* os) { *os << c.name; }

class ReshapeRebuild : public testing::TestWithParam<RebuildCase> {};

TEST_P(ReshapeRebuild, MakesAValidBodyAndSharesWhatDidNotMove) {
  const RebuildCase& c = GetParam();
  const TopoDS_Shape body = c.make();
  const std::string before = Fingerprint(body);
  const Result result = ChangeFaces(body, {c.change(body)});
  ASSERT_TRUE(result.ok) << result.detail;
  EXPECT_TRUE(BRepCheck_Analyzer(result.shape).IsValid());
  EXPECT_NEAR(VolumeOf(result.shape), c.volume, 1e-6);
  EXPECT_EQ(Fingerprint(body), before);

  TopTools_IndexedMapOfShape listed;
  for (const auto* outcomes : {&result.history.faces, &result.history.edges, &result.history.vertices}) {
    for (const EntityOutcome& outcome : *outcomes) {
      listed.Add(outcome.source);
      ASSERT_EQ(outcome.products.size(), 1u);
      EXPECT_FALSE(outcome.products.front().IsSame(outcome.source));
    }
  }
  EXPECT_GT(listed.Extent(), 0);
  for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
    TopTools_IndexedMapOfShape input, output;
    TopExp::MapShapes(body, type, input);
    TopExp::MapShapes(result.shape, type, output);
    EXPECT_EQ(output.Extent(), input.Extent());
    for (int i = 1; i <= input.Extent(); ++i) {
      if (!listed.Contains(input(i))) {
        EXPECT_TRUE(output.Contains(input(i))) << "entity " << i << " of type " << type;
      }
    }
  }
}

TopoDS_Shape Plate() { return HolePlate(3, 30, 2, 1.0); }
TopoDS_Shape Block() { return Box(10, 10, 10); }
TopoDS_Shape Prism() { return LPrism(); }
TopoDS_Face Top(const TopoDS_Shape& body, double z) { return PlanarFace(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, z)); }

const double kExtrudedVolume = (300.0 - 3.0 * 4.0 * M_PI) * 4.0;

INSTANTIATE_TEST_SUITE_P(
    Table, ReshapeRebuild,
    testing::Values(
        RebuildCase{"PlateTopUpThroughItsHoles", Plate,
                    [](const TopoDS_Shape& b) { return Move(Top(b, 2), Translation(0, 0, 1)); },
                    (900.0 - 9.0 * M_PI) * 3.0},
        RebuildCase{"PlateTopOffsetDown", Plate, [](const TopoDS_Shape& b) { return Offset(Top(b, 2), -0.5); },
                    (900.0 - 9.0 * M_PI) * 1.5},
        RebuildCase{"PlateHoleMovedAside", Plate,
                    [](const TopoDS_Shape& b) { return Move(CurvedFaces(b)[4], Translation(0.5, 0.5, 0)); },
                    (900.0 - 9.0 * M_PI) * 2.0},
        RebuildCase{"PlateHoleWidened", Plate, [](const TopoDS_Shape& b) { return Offset(CurvedFaces(b)[4], -0.5); },
                    (900.0 - 8.0 * M_PI - 2.25 * M_PI) * 2.0},
        RebuildCase{"ExtrudedPlateTopUp", ExtrudedPlate,
                    [](const TopoDS_Shape& b) { return Move(Top(b, 4), Translation(0, 0, 1)); },
                    kExtrudedVolume * 5.0 / 4.0},
        RebuildCase{"ExtrudedPlateHoleMovedAside", ExtrudedPlate,
                    [](const TopoDS_Shape& b) { return Move(CurvedFaces(b)[1], Translation(1, 0, 0)); },
                    kExtrudedVolume},
        RebuildCase{"PrismStepUp", Prism,
                    [](const TopoDS_Shape& b) {
                      return Move(PlanarFace(b, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4)), Translation(0, 0, 2));
                    },
                    320.0 + 6.0 * 5.0 * 2.0},
        RebuildCase{"BlockTopTilted", Block,
                    [](const TopoDS_Shape& b) {
                      return Move(Top(b, 10), Rotation(gp_Ax1(gp_Pnt(5, 5, 10), gp_Dir(0, 1, 0)), 10.0));
                    },
                    1000.0}));

}  // namespace
}  // namespace hxr::engine
