// The checks a body's shape must pass, taken sub-shape by sub-shape: every shape OCCT's
// whole-shape checker and volume integration refuse is refused (also when it arrives in
// transmitted data), and sound bodies, a plate with a hundred holes among them, pass without
// the whole-shape checker.
#include "BodyStore.h"
#include "KernelTestBase.h"
#include "BodyShapeChecks.h"
#include "SimpleShapeChecks.h"
#include "TransmitData.h"

#include "brennik_build.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_Edge.hxx>
#include <BRepCheck_ListOfStatus.hxx>
#include <BRepCheck_Shell.hxx>
#include <BRepCheck_Vertex.hxx>
#include <BRepCheck_Wire.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <BRep_Builder.hxx>
#include <GProp_GProps.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Iterator.hxx>
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

TopoDS_Shape BoxWithAFaceTurned() {
  TopoDS_Shell shell;
  BRep_Builder builder;
  builder.MakeShell(shell);
  TopExp_Explorer face(BoxShell(), TopAbs_FACE);
  builder.Add(shell, face.Current().Reversed());
  for (face.Next(); face.More(); face.Next()) builder.Add(shell, face.Current());
  return SolidOf(shell);
}

TopoDS_Shape PlateShell() {
  return TopExp_Explorer(brennik::store::ShapeOf(brennik::build::PlateWithManyHoles(12)), TopAbs_SHELL).Current();
}

// The shape's first face, its first edge and that edge's curve on the face.
struct FirstEdge {
  TopoDS_Face face;
  TopoDS_Edge edge;
  Handle(Geom2d_Curve) curve;
};
FirstEdge FirstEdgeOf(const TopoDS_Shape& shape) {
  FirstEdge first;
  first.face = TopoDS::Face(TopExp_Explorer(shape, TopAbs_FACE).Current());
  first.edge = TopoDS::Edge(TopExp_Explorer(first.face, TopAbs_EDGE).Current());
  double f = 0, l = 0;
  first.curve = BRep_Tool::CurveOnSurface(first.edge, first.face, f, l);
  return first;
}

// A sheet whose first edge's curve on its plane is moved off the edge by `offset` along v.
TopoDS_Shape SheetWithCurveMoved(const TopoDS_Wire& outer, double offset) {
  const TopoDS_Shape sheet = Sheet(outer, {});
  const FirstEdge first = FirstEdgeOf(sheet);
  const Handle(Geom2d_Curve) moved = Handle(Geom2d_Curve)::DownCast(first.curve->Translated(gp_Vec2d(0, offset)));
  BRep_Builder().UpdateEdge(first.edge, moved, first.face, BRep_Tool::Tolerance(first.edge));
  return sheet;
}

// A disc whose circle's curve on the plane is turned about its centre.
TopoDS_Shape DiscWithCurveTurned(double angle) {
  const TopoDS_Shape sheet = Sheet(Circle(5, 5, 3), {});
  const FirstEdge first = FirstEdgeOf(sheet);
  const Handle(Geom2d_Curve) turned = Handle(Geom2d_Curve)::DownCast(first.curve->Rotated(gp_Pnt2d(5, 5), angle));
  BRep_Builder().UpdateEdge(first.edge, turned, first.face, BRep_Tool::Tolerance(first.edge));
  return sheet;
}

TopoDS_Shape Cylinder() { return BRepPrimAPI_MakeCylinder(2, 5).Shape(); }

// A cylinder whose seam's second curve on the side is moved along the seam.
TopoDS_Shape CylinderWithSeamCurveMoved(double offset) {
  const TopoDS_Shape cylinder = Cylinder();
  for (TopExp_Explorer f(cylinder, TopAbs_FACE); f.More(); f.Next()) {
    const TopoDS_Face& face = TopoDS::Face(f.Current());
    for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
      const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
      if (!BRep_Tool::IsClosed(edge, face)) continue;
      double a = 0, b = 0;
      const TopoDS_Edge forward = TopoDS::Edge(edge.Oriented(TopAbs_FORWARD));
      const Handle(Geom2d_Curve) first = BRep_Tool::CurveOnSurface(forward, face, a, b);
      const Handle(Geom2d_Curve) second = BRep_Tool::CurveOnSurface(TopoDS::Edge(forward.Reversed()), face, a, b);
      const Handle(Geom2d_Curve) moved = Handle(Geom2d_Curve)::DownCast(second->Translated(gp_Vec2d(0, offset)));
      BRep_Builder().UpdateEdge(forward, first, moved, face, BRep_Tool::Tolerance(edge));
      return cylinder;
    }
  }
  return cylinder;
}

// A sheet whose first vertex is moved off the ends of its edges.
TopoDS_Shape SheetWithVertexMoved(double offset) {
  const TopoDS_Shape sheet = Sheet(Square(10), {});
  const TopoDS_Vertex vertex = TopoDS::Vertex(TopExp_Explorer(sheet, TopAbs_VERTEX).Current());
  BRep_Builder().UpdateVertex(vertex, BRep_Tool::Pnt(vertex).Translated(gp_Vec(0, 0, offset)),
                              BRep_Tool::Tolerance(vertex));
  return sheet;
}

TopoDS_Wire BowTie() {
  return BRepBuilderAPI_MakePolygon(gp_Pnt(0, 0, 0), gp_Pnt(10, 10, 0), gp_Pnt(10, 0, 0), gp_Pnt(0, 10, 0), Standard_True)
      .Wire();
}

bool Clean(const Handle(BRepCheck_Result)& result, const TopoDS_Shape& context) {
  for (const BRepCheck_ListOfStatus* list : {&result->Status(), &result->StatusOnShape(context)})
    for (BRepCheck_ListOfStatus::Iterator it(*list); it.More(); it.Next())
      if (it.Value() != BRepCheck_NoError) return false;
  return true;
}

// How many of the shape's shells, wires and edges on their faces, and vertices on their edges,
// the closed-form
// checks accept, and how many there are; OCCT's own check of each one accepted must find nothing.
struct Accepted {
  int wires = 0, allWires = 0, edges = 0, allEdges = 0, vertices = 0, allVertices = 0, shells = 0, allShells = 0;
};
Accepted ClosedFormAcceptedWhereOcctAccepts(const TopoDS_Shape& shape) {
  Accepted accepted;
  for (TopExp_Explorer s(shape, TopAbs_SHELL); s.More(); s.Next()) {
    ++accepted.allShells;
    if (!brennik::SimpleShellHolds(TopoDS::Shell(s.Current()))) continue;
    ++accepted.shells;
    Handle(BRepCheck_Shell) check = new BRepCheck_Shell(TopoDS::Shell(s.Current()));
    EXPECT_EQ(check->Closed(), BRepCheck_NoError);
    EXPECT_EQ(check->Orientation(), BRepCheck_NoError);
    for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) check->InContext(solid.Current());
    for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next())
      EXPECT_TRUE(Clean(check, solid.Current()));
  }
  TopTools_IndexedMapOfShape faces;
  TopExp::MapShapes(shape, TopAbs_FACE, faces);
  for (int i = 1; i <= faces.Extent(); ++i) {
    const TopoDS_Face& face = TopoDS::Face(faces(i));
    for (TopoDS_Iterator w(face); w.More(); w.Next()) {
      const TopoDS_Wire& wire = TopoDS::Wire(w.Value());
      TopoDS_Face alone = TopoDS::Face(face.EmptyCopied());
      BRep_Builder().Add(alone, wire);
      ++accepted.allWires;
      if (brennik::SimpleWireOnFaceHolds(wire, alone)) {
        ++accepted.wires;
        Handle(BRepCheck_Wire) check = new BRepCheck_Wire(wire);
        check->InContext(alone);
        EXPECT_TRUE(Clean(check, alone)) << "wire " << accepted.allWires;
      }
      TopTools_IndexedMapOfShape edges;
      TopExp::MapShapes(wire, TopAbs_EDGE, edges);
      for (int k = 1; k <= edges.Extent(); ++k) {
        const TopoDS_Edge& edge = TopoDS::Edge(edges(k));
        ++accepted.allEdges;
        if (!brennik::SimpleEdgeOnFaceHolds(edge, alone)) continue;
        ++accepted.edges;
        Handle(BRepCheck_Edge) check = new BRepCheck_Edge(edge);
        check->InContext(alone);
        EXPECT_TRUE(Clean(check, alone)) << "edge " << accepted.allEdges;
      }
      for (int k = 1; k <= edges.Extent(); ++k)
        for (TopoDS_Iterator v(edges(k)); v.More(); v.Next()) {
          ++accepted.allVertices;
          if (!brennik::SimpleVertexOnEdgeHolds(TopoDS::Vertex(v.Value()), TopoDS::Edge(edges(k)))) continue;
          ++accepted.vertices;
          Handle(BRepCheck_Vertex) check = new BRepCheck_Vertex(TopoDS::Vertex(v.Value()));
          check->InContext(edges(k));
          EXPECT_TRUE(Clean(check, edges(k))) << "vertex " << accepted.allVertices;
        }
    }
  }
  return accepted;
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
      {"a solid with a face turned", [] { return BoxWithAFaceTurned(); }},
      {"an inside-out plate with holes", [] { return SolidOf(PlateShell().Reversed()); }},
      {"an edge whose curve on its plane lies off it", [] { return SheetWithCurveMoved(Square(10), 0.01); }},
      {"an edge whose curve on its plane lies just off it", [] { return SheetWithCurveMoved(Square(10), 1e-5); }},
      {"a circle whose curve on its plane is turned", [] { return DiscWithCurveTurned(0.1); }},
      {"a seam whose second curve lies off it", [] { return CylinderWithSeamCurveMoved(0.01); }},
      {"a wire crossing itself", [] { return Sheet(BowTie(), {}); }},
      {"a vertex off its edges' ends", [] { return SheetWithVertexMoved(0.01); }},
      {"a vertex just off its edges' ends", [] { return SheetWithVertexMoved(1e-6); }},
  };
  for (const Body& body : bad) {
    SCOPED_TRACE(body.name);
    const TopoDS_Shape shape = body.make();
    ASSERT_FALSE(WholeShapeVerdict(shape));
    ClosedFormAcceptedWhereOcctAccepts(shape);
    EXPECT_FALSE(brennik::ShapeChecksAcceptOutright(shape));
    EXPECT_FALSE(brennik::ShapeChecksHold(shape));
    for (bool binary : {false, true}) {
      TopoDS_Shape received;
      EXPECT_FALSE(brennik::ShapeFromData(brennik::ShapeToData(shape, binary), binary, &received));
      EXPECT_TRUE(received.IsNull());
    }
  }
}

// The plate solid placed away from the origin and turned about a slanted axis, so that no
// check may lean on a body standing where it was made.
TopoDS_Shape MovedAndTurnedPlate() {
  gp_Trsf turn;
  turn.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0)), 0.7);
  turn.SetTranslationPart(gp_Vec(-40, 15, 8));
  return SolidOf(PlateShell()).Moved(TopLoc_Location(turn));
}

TEST_F(ShapeChecksTest, SoundBodiesPassWithoutTheWholeShapeChecker) {
  const Body good[] = {
      {"a plate with a hundred holes",
       [] { return brennik::store::ShapeOf(brennik::build::PlateWithManyHoles(100)); }},
      {"a plate with holes moved and turned", MovedAndTurnedPlate},
      {"a block", [] { return brennik::store::ShapeOf(brennik::build::Block(10, 20, 30)); }},
      {"a cylinder", [] { return Cylinder(); }},
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

namespace {

// The closed-form checks carry the plates real bodies are mostly made of: every shell, wire,
// edge and vertex of a plate with holes, also moved and turned, of a block and of a cylinder is accepted
// without OCCT's checks (and OCCT's checks find nothing in any of them).
TEST_F(ShapeChecksTest, ClosedFormChecksAcceptEverySubShapeOfPlainBodies) {
  const Body plain[] = {
      {"a plate with holes", [] { return brennik::store::ShapeOf(brennik::build::PlateWithManyHoles(12)); }},
      {"a plate with holes moved and turned", MovedAndTurnedPlate},
      {"a block", [] { return brennik::store::ShapeOf(brennik::build::Block(10, 20, 30)); }},
      {"a cylinder", [] { return Cylinder(); }},
  };
  for (const Body& body : plain) {
    SCOPED_TRACE(body.name);
    const Accepted accepted = ClosedFormAcceptedWhereOcctAccepts(body.make());
    EXPECT_EQ(accepted.wires, accepted.allWires);
    EXPECT_EQ(accepted.edges, accepted.allEdges);
    EXPECT_EQ(accepted.vertices, accepted.allVertices);
    EXPECT_EQ(accepted.shells, accepted.allShells);
  }
}

}  // namespace
