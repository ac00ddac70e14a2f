// The checks a body's shape must pass, taken sub-shape by sub-shape: every shape OCCT's
// whole-shape checker and volume integration refuse is refused (also when it arrives in
// transmitted data), and sound bodies, a plate with a hundred holes among them, pass without
// the whole-shape checker.
#include "BodyStore.h"
#include "KernelTestBase.h"
#include "BodyShapeChecks.h"
#include "TransmitData.h"

#include "brennik_build.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Builder.hxx>
#include <GProp_GProps.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>
#include <gp_Trsf.hxx>
#include <TopLoc_Location.hxx>

#include <functional>
#include <vector>

namespace {

// OCCT's own verdict on the whole shape: its checker, then every solid's volume.
bool WholeShapeVerdict(const TopoDS_Shape& shape) {
  if (!BRepCheck_Analyzer(shape, Standard_True, Standard_False).IsValid()) return false;
  for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(solid.Current(), props);
    if (!(props.Mass() > 0.0)) return false;
  }
  return true;
}

TopoDS_Wire Square(double size) {
  return BRepBuilderAPI_MakePolygon(gp_Pnt(0, 0, 0), gp_Pnt(size, 0, 0), gp_Pnt(size, size, 0), gp_Pnt(0, size, 0),
                                    Standard_True)
      .Wire();
}

// A circle in the plane z = 0, running anticlockwise seen from above (round its inside).
TopoDS_Wire Circle(double x, double y, double radius) {
  return BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(x, y, 0), gp::DZ()), radius))).Wire();
}

TopoDS_Wire Hole(double x, double y, double radius) { return TopoDS::Wire(Circle(x, y, radius).Reversed()); }

// A sheet of one face of the plane z = 0 bounded by the wires as given.
TopoDS_Shape Sheet(const TopoDS_Wire& outer, const std::vector<TopoDS_Wire>& inner) {
  BRepBuilderAPI_MakeFace face(gp_Pln(), outer);
  for (const TopoDS_Wire& wire : inner) face.Add(wire);
  TopoDS_Shell shell;
  BRep_Builder builder;
  builder.MakeShell(shell);
  builder.Add(shell, face.Face());
  return shell;
}

// A solid of the box's faces, with its shell as given.
TopoDS_Shape SolidOf(const TopoDS_Shape& shell) {
  TopoDS_Solid solid;
  BRep_Builder builder;
  builder.MakeSolid(solid);
  builder.Add(solid, shell);
  return solid;
}

TopoDS_Shape BoxShell() {
  return TopExp_Explorer(BRepPrimAPI_MakeBox(10, 10, 10).Shape(), TopAbs_SHELL).Current();
}

TopoDS_Shape BoxMissingAFace() {
  TopoDS_Shell shell;
  BRep_Builder builder;
  builder.MakeShell(shell);
  TopExp_Explorer face(BoxShell(), TopAbs_FACE);
  for (face.Next(); face.More(); face.Next()) builder.Add(shell, face.Current());
  return SolidOf(shell);
}

TopoDS_Shape PlateShell() {
  return TopExp_Explorer(brennik::store::ShapeOf(brennik::build::PlateWithManyHoles(12)), TopAbs_SHELL).Current();
}

struct Body {
  const char* name;
  std::function<TopoDS_Shape()> make;
};

class ShapeChecksTest : public KernelTest {};

TEST_F(ShapeChecksTest, EveryShapeOcctRefusesIsRefusedAlsoWhenReceived) {
  const Body bad[] = {
      {"a hole outside its face", [] { return Sheet(Square(10), {Hole(20, 5, 1)}); }},
      {"two holes crossing", [] { return Sheet(Square(10), {Hole(4, 5, 2), Hole(6, 5, 2)}); }},
      {"a hole inside a hole", [] { return Sheet(Square(10), {Hole(5, 5, 3), Hole(5, 5, 1)}); }},
      {"a hole turned round", [] { return Sheet(Square(10), {Circle(5, 5, 1)}); }},
      {"a hole across the outer wire", [] { return Sheet(Square(10), {Hole(10, 5, 2)}); }},
      {"an inside-out solid", [] { return SolidOf(BoxShell().Reversed()); }},
      {"a solid missing a face", [] { return BoxMissingAFace(); }},
      {"an inside-out plate with holes", [] { return SolidOf(PlateShell().Reversed()); }},
  };
  for (const Body& body : bad) {
    SCOPED_TRACE(body.name);
    const TopoDS_Shape shape = body.make();
    ASSERT_FALSE(WholeShapeVerdict(shape));
    EXPECT_FALSE(brennik::ShapeChecksAcceptOutright(shape));
    EXPECT_FALSE(brennik::ShapeChecksHold(shape));
    for (bool binary : {false, true}) {
      TopoDS_Shape received;
      EXPECT_FALSE(brennik::ShapeFromData(brennik::ShapeToData(shape, binary), binary, &received));
      EXPECT_TRUE(received.IsNull());
    }
  }
}

TEST_F(ShapeChecksTest, SoundBodiesPassWithoutTheWholeShapeChecker) {
  const Body good[] = {
      {"a plate with a hundred holes",
       [] { return brennik::store::ShapeOf(brennik::build::PlateWithManyHoles(100)); }},
      {"a plate with holes moved and turned", [] {
         gp_Trsf turn;
         turn.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0)), 0.7);
         turn.SetTranslationPart(gp_Vec(-40, 15, 8));
         return SolidOf(PlateShell()).Moved(TopLoc_Location(turn));
       }},
      {"a block", [] { return brennik::store::ShapeOf(brennik::build::Block(10, 20, 30)); }},
      {"a face with two holes apart", [] { return Sheet(Square(10), {Hole(3, 5, 1), Hole(7, 5, 1)}); }},
      {"a face with holes whose boxes overlap", [] { return Sheet(Square(10), {Hole(3, 3, 1.4), Hole(5, 5, 1.4)}); }},
  };
  for (const Body& body : good) {
    SCOPED_TRACE(body.name);
    const TopoDS_Shape shape = body.make();
    ASSERT_TRUE(WholeShapeVerdict(shape));
    EXPECT_TRUE(brennik::ShapeChecksAcceptOutright(shape));
    for (bool binary : {false, true}) {
      TopoDS_Shape received;
      EXPECT_TRUE(brennik::ShapeFromData(brennik::ShapeToData(shape, binary), binary, &received));
    }
  }
}

}  // namespace
