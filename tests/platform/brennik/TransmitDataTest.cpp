// The OCCT data inside transmit containers: every curve, surface and representation kind OCCT
// writes reads back through the guards in both forms, and data cut anywhere, or with a shape
// record that names what is not there, is refused, never read.
#include "TransmitData.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_BezierSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_OffsetCurve.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfLinearExtrusion.hxx>
#include <Geom_SurfaceOfRevolution.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A compound of one edge per curve kind and one face per surface kind, placed twice (a plain
// and a composed location), so that every record kind of the geometry sections occurs.
TopoDS_Shape EveryGeometryKind() {
  TColgp_Array1OfPnt poles(1, 4);
  poles(1) = gp_Pnt(0, 0, 0);
  poles(2) = gp_Pnt(1, 2, 0);
  poles(3) = gp_Pnt(3, 2, 1);
  poles(4) = gp_Pnt(4, 0, 0);
  TColStd_Array1OfReal knots(1, 2), weights(1, 4);
  knots(1) = 0;
  knots(2) = 1;
  weights.Init(1.0);
  weights(2) = 2.0;
  TColStd_Array1OfInteger mults(1, 2);
  mults.Init(4);
  const gp_Ax2 frame(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1));
  Handle(Geom_BSplineCurve) spline = new Geom_BSplineCurve(poles, weights, knots, mults, 3);
  Handle(Geom_BezierCurve) bezier = new Geom_BezierCurve(poles);
  const Handle(Geom_Curve) curves[] = {
      spline, bezier, new Geom_OffsetCurve(new Geom_Circle(frame, 2), 0.5, gp_Dir(0, 0, 1)),
      new Geom_TrimmedCurve(new Geom_Ellipse(frame, 3, 2), 0, 1),
      new Geom_TrimmedCurve(new Geom_Parabola(frame, 3), 0, 1),
      new Geom_TrimmedCurve(new Geom_Hyperbola(frame, 3, 2), 0, 1)};
  TColgp_Array2OfPnt net(1, 3, 1, 2);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 2; ++j) net(i, j) = gp_Pnt(i, j, i * j * 0.1);
  TColStd_Array1OfReal uKnots(1, 2), vKnots(1, 2);
  uKnots(1) = vKnots(1) = 0;
  uKnots(2) = vKnots(2) = 1;
  TColStd_Array1OfInteger uMults(1, 2), vMults(1, 2);
  uMults.Init(3);
  vMults.Init(2);
  const gp_Ax3 axes(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1));
  const Handle(Geom_Surface) surfaces[] = {
      new Geom_BSplineSurface(net, uKnots, vKnots, uMults, vMults, 2, 1), new Geom_BezierSurface(net),
      new Geom_SurfaceOfLinearExtrusion(bezier, gp_Dir(0, 0, 1)),
      new Geom_SurfaceOfRevolution(spline, gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(1, 0, 0))),
      new Geom_OffsetSurface(new Geom_Plane(axes), 1.5),
      new Geom_RectangularTrimmedSurface(new Geom_ConicalSurface(axes, 0.3, 2), 0.0, 1.0, 0.0, 1.0),
      new Geom_RectangularTrimmedSurface(new Geom_ToroidalSurface(axes, 3, 1), 0.0, 1.0, 0.0, 1.0),
      new Geom_RectangularTrimmedSurface(new Geom_SphericalSurface(axes, 3), 0.0, 1.0, 0.0, 1.0)};
  BRep_Builder builder;
  TopoDS_Compound kinds;
  builder.MakeCompound(kinds);
  for (const Handle(Geom_Curve)& curve : curves)
    builder.Add(kinds, BRepBuilderAPI_MakeEdge(curve, curve->FirstParameter(),
                                               std::min(curve->LastParameter(), curve->FirstParameter() + 1))
                           .Edge());
  for (const Handle(Geom_Surface)& surface : surfaces)
    builder.Add(kinds, BRepBuilderAPI_MakeFace(surface, 0, 0.5, 0, 0.5, 1e-7).Face());
  // Free vertices that also know where they lie: on a curve, on a surface, and on a curve on a
  // surface.
  const TopoDS_Edge onSpline = BRepBuilderAPI_MakeEdge(spline).Edge();
  const TopoDS_Face plate = BRepBuilderAPI_MakeFace(new Geom_Plane(axes), 0, 2, 0, 2, 1e-7).Face();
  TopExp_Explorer plateEdges(plate, TopAbs_EDGE);
  const TopoDS_Edge rim = TopoDS::Edge(plateEdges.Current());
  double first = 0, last = 0;
  const Handle(Geom_Curve) rimCurve = BRep_Tool::Curve(rim, first, last);
  TopoDS_Vertex onCurve, onSurface, onCurveOnSurface;
  builder.MakeVertex(onCurve, spline->Value(0.5), 1e-7);
  builder.UpdateVertex(onCurve, 0.5, onSpline, 1e-7);
  builder.MakeVertex(onSurface, gp_Pnt(0.5, 0.25, 0), 1e-7);
  builder.UpdateVertex(onSurface, 0.5, 0.25, plate, 1e-7);
  const double middle = (first + last) / 2;
  builder.MakeVertex(onCurveOnSurface, rimCurve->Value(middle), 1e-7);
  builder.UpdateVertex(onCurveOnSurface, middle, rim, plate, 1e-7);
  for (const TopoDS_Shape& shape : {TopoDS_Shape(onSpline), TopoDS_Shape(plate), TopoDS_Shape(onCurve),
                                    TopoDS_Shape(onSurface), TopoDS_Shape(onCurveOnSurface)})
    builder.Add(kinds, shape);
  gp_Trsf shift, turn;
  shift.SetTranslation(gp_Vec(1, 2, 3));
  turn.SetRotation(gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1)), 0.3);
  TopoDS_Compound placed;
  builder.MakeCompound(placed);
  builder.Add(placed, kinds.Moved(TopLoc_Location(shift)));
  builder.Add(placed, kinds.Moved(TopLoc_Location(shift) * TopLoc_Location(turn)));
  return placed;
}

TEST(TransmitDataTest, EveryGeometryKindReadsBackInBothForms) {
  const TopoDS_Shape shape = EveryGeometryKind();
  for (bool binary : {false, true}) {
    SCOPED_TRACE(binary ? "binary" : "text");
    const std::string data = brennik::ShapeToData(shape, binary);
    TopoDS_Shape read;
    ASSERT_TRUE(brennik::ShapeFromData(data, binary, &read));
    EXPECT_EQ(read.NbChildren(), shape.NbChildren());
    // Cut anywhere, the data is refused.
    for (std::size_t cut = 1; cut < 40; ++cut) {
      const std::size_t length = data.size() * cut / 40;
      EXPECT_FALSE(brennik::ShapeFromData(data.substr(0, length), binary, &read)) << length;
      EXPECT_TRUE(read.IsNull());
    }
  }
}

// A block's text data with one shape record changed: each change names something the data
// does not hold, or holds a value OCCT would read as something else. OCCT's reader takes such
// records as they come and builds from them, leaking what an out-of-range index throws out of
// or spinning in its checks on a range read out of step; each is refused before it reads.
TEST(TransmitDataTest, ShapeRecordsNamingWhatIsNotThereAreRefused) {
  const std::string block = brennik::ShapeToData(BRepPrimAPI_MakeBox(10, 20, 30).Shape(), false);
  struct Damage {
    const char* what;
    const char* from;  // the first text after the shape section that is replaced
    const char* to;
  };
  const Damage damages[] = {
      {"a 3-D curve at a location that does not exist", "\n1  1 0 0 30\n", "\n1  1 3 0 30\n"},
      {"a second 3-D curve at a location that does not exist", "\n1  1 0 0 30\n",
       "\n1  1 0 0 30\n1  1 7 0 30\n"},
      {"a curve past the curve section", "\n1  1 0 0 30\n", "\n1  99 0 0 30\n"},
      {"a curve on a surface past the surface section", "\n2  1 1 0 0 30\n", "\n2  1 77 0 0 30\n"},
      {"a vertex on a curve that does not exist", "\n0 0 30\n0 0\n", "\n0 0 30\n0.5 1 40 0\n0 0\n"},
      {"a representation kind bodies never carry", "\n2  1 1 0 0 30\n", "\n5  1 0\n"},
      {"a sub-shape written after its parent", "-34 0 +33 0 *", "-34 0 +1 0 *"},
      {"an orientation OCCT never writes", "-34 0 +33 0 *", "-34 0 x33 0 *"},
      {"flags that are not bits", "\n0101000\n", "\n0102000\n"},
      {"a point too far out for the session's precision", "\n0 0 30\n0 0\n", "\n0 0 3e9\n0 0\n"},
      {"a parameter cut in two by a stray point", "\n1  1 0 0 30\n", "\n1  1 0 0 30.2 5\n"},
      {"a shape that does not exist as the whole", "*\n\n+1 0", "*\n\n+35 0"},
  };
  TopoDS_Shape read;
  ASSERT_TRUE(brennik::ShapeFromData(block, false, &read));
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::string data = block;
    const std::size_t at = data.find(damage.from, data.find("TShapes"));
    ASSERT_NE(at, std::string::npos);
    data.replace(at, std::strlen(damage.from), damage.to);
    EXPECT_FALSE(brennik::ShapeFromData(data, false, &read));
    EXPECT_TRUE(read.IsNull());
  }
}

}  // namespace
