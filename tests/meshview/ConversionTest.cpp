// Converting extrusions, wires, spheres and barrels into poly data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

#include <zyn/test_control.h>

#include "MeshFixtures.h"

namespace
{
using Add = std::function<void(dovCQel&)>;

template <class G>
Add add(G* geometry)
{
  return [geometry](dovCQel& qel) {
    std::unique_ptr<G> owned(geometry);
    qel.AddPolyData(owned.get());
  };
}

dovCZyn_Extrusion* extrusion(std::initializer_list<const dovCZyn_2DObject*> children)
{
  auto* e = new dovCZyn_Extrusion(0, 2);
  for (const dovCZyn_2DObject* child : children)
    e->AddChild(*child);
  return e;
}

struct ConversionCase
{
  const char* name;
  Add add;
  long renderMode;
  long points; // -1: nothing is made
  long cells;
  long triangles; // cells of 3 points
  long quads;     // cells of 4 points
  DOV_Zyn_OBJ type;
};

const dovCZyn_2DPolygon s_ccw = square(0, 0, 4, false);
const dovCZyn_2DPolygon s_cw = square(0, 0, 4, true);
const dovCZyn_2DPolygon s_hole = square(1, 1, 2, true);
const dovCZyn_2DCircle s_circle(0, 0, 5, 24);
const dovCZyn_3DPoint s_o(0, 0, 0), s_x(10, 0, 0), s_xy(10, 10, 0);

dovCZyn_2DPolygon outline(std::initializer_list<std::pair<double, double>> points)
{
  dovCZyn_2DPolygon polygon;
  for (auto [x, y] : points)
    polygon.AddPoint(x, y);
  return polygon;
}

// Outlines that enclose nothing once coincident vertices are gone.
const dovCZyn_2DPolygon s_zeroWidth = outline({{20, 20}, {25, 20}, {25, 20}, {20, 20}});
const dovCZyn_2DPolygon s_onePoint = outline({{30, 30}, {30, 30}});
const dovCZyn_2DPolygon s_collinear = outline({{30, 0}, {31, 0}, {32, 0}});
const dovCZyn_2DPolygon s_notANumber = outline({{0, 0}, {4, 0}, {NAN, 4}});
const double s_inf = INFINITY;
} // namespace

TEST(Conversion, MakesTheShapeOfEachGeometryKind)
{
  const ConversionCase cases[] = {
    // Wires: s points per ring, one polygon per ring and s quadrilaterals per segment.
    {"straight wire, 4 sides", add(makeWire(1, 4, {s_o, s_x})), 4, 8, 6, 0, 6, DOV_Zyn_OBJ_WIRE},
    {"wire sides 2 clamp to 4", add(makeWire(1, 2, {s_o, s_x})), 4, 8, 6, 0, 6, DOV_Zyn_OBJ_WIRE},
    {"wire sides 40 clamp to 32", add(makeWire(1, 40, {s_o, s_x})), 4, 64, 34, 0, 32, DOV_Zyn_OBJ_WIRE},
    {"bent wire, 6 sides", add(makeWire(1, 6, {s_o, s_x, s_xy})), 4, 18, 15, 0, 12, DOV_Zyn_OBJ_WIRE},
    {"wire without the cell bit", add(makeWire(1, 4, {s_o, s_x})), 3, 8, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    {"wire with a leg shorter than r", add(makeWire(1, 4, {s_o, s_x, {10.5, 0, 0}})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    {"wire of one distinct point", add(makeWire(1, 4, {s_o, s_o})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    // Spheres: theta s, phi s/2 + 1; always with cells.
    {"sphere sides 4", add(new dovCZyn_Sphere(s_o, 1, 4)), 4, 6, 8, 8, 0, DOV_Zyn_OBJ_SPHERE},
    {"sphere sides 5 round to 8", add(new dovCZyn_Sphere(s_o, 1, 5)), 4, 26, 32, 16, 16, DOV_Zyn_OBJ_SPHERE},
    {"sphere sides 31 round to 32", add(new dovCZyn_Sphere(s_o, 1, 31)), 4, 482, 512, 64, 448, DOV_Zyn_OBJ_SPHERE},
    {"sphere without the cell bit", add(new dovCZyn_Sphere(s_o, 1, 8)), 0, 26, 32, 16, 16, DOV_Zyn_OBJ_SPHERE},
    // Barrels: s/2 + 1 rings of s points, s/2 bands of quadrilaterals, two end polygons.
    {"barrel sides 8", add(new dovCZyn_Barrel(s_o, 2, 8, 1, 1)), 4, 40, 34, 0, 32, DOV_Zyn_OBJ_BARREL},
    {"barrel sides 5 round to 8", add(new dovCZyn_Barrel(s_o, 2, 5, 1, 1)), 4, 40, 34, 0, 32, DOV_Zyn_OBJ_BARREL},
    {"barrel without the cell bit", add(new dovCZyn_Barrel(s_o, 2, 8, 1, 1)), 11, 40, 0, 0, 0, DOV_Zyn_OBJ_BARREL},
    // Extrusions: two triangulated caps (with the cell bit) and a wall per outline.
    {"counter-clockwise square", add(extrusion({&s_ccw})), 4, 16, 8, 4, 4, DOV_Zyn_OBJ_EXTRUSION},
    {"clockwise square", add(extrusion({&s_cw})), 4, 16, 8, 4, 4, DOV_Zyn_OBJ_EXTRUSION},
    {"square with a square hole", add(extrusion({&s_ccw, &s_hole})), 4, 32, 24, 16, 8, DOV_Zyn_OBJ_EXTRUSION},
    {"circle of 24 points", add(extrusion({&s_circle})), 4, 96, 68, 44, 24, DOV_Zyn_OBJ_EXTRUSION},
    {"square without the cell bit", add(extrusion({&s_ccw})), 0, 8, 0, 0, 0, DOV_Zyn_OBJ_EXTRUSION},
    // Outlines that enclose nothing keep their (flat) wall and stay out of the caps.
    {"square beside a zero-width outline", add(extrusion({&s_ccw, &s_zeroWidth})), 4, 20, 10, 4, 6, DOV_Zyn_OBJ_EXTRUSION},
    {"zero-width outline first", add(extrusion({&s_zeroWidth, &s_cw})), 4, 20, 10, 4, 6, DOV_Zyn_OBJ_EXTRUSION},
    {"square beside a one-point outline", add(extrusion({&s_ccw, &s_onePoint})), 4, 18, 9, 4, 5, DOV_Zyn_OBJ_EXTRUSION},
    {"square beside a collinear outline", add(extrusion({&s_ccw, &s_collinear})), 4, 22, 11, 4, 7, DOV_Zyn_OBJ_EXTRUSION},
    {"only a zero-width outline", add(extrusion({&s_zeroWidth})), 4, 4, 2, 0, 2, DOV_Zyn_OBJ_EXTRUSION},
    // Numbers that are not finite are refused where they enter: nothing is made.
    {"extrusion with a vertex not a number", add(extrusion({&s_ccw, &s_notANumber})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_EXTRUSION},
    {"extrusion to infinity", add([] { auto* e = new dovCZyn_Extrusion(0, s_inf); e->AddChild(s_ccw); return e; }()), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_EXTRUSION},
    {"wire through a point not a number", add(makeWire(1, 4, {s_o, {5, NAN, 0}, s_x})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    {"wire to infinity", add(makeWire(1, 4, {s_o, {s_inf, 0, 0}})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    {"wire of infinite radius", add(makeWire(s_inf, 4, {s_o, s_x})), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_WIRE},
    {"sphere centred at infinity", add(new dovCZyn_Sphere({0, -s_inf, 0}, 1, 8)), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_SPHERE},
    {"sphere of radius not a number", add(new dovCZyn_Sphere(s_o, NAN, 8)), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_SPHERE},
    {"barrel centred at not a number", add(new dovCZyn_Barrel({0, 0, NAN}, 2, 8, 1, 1)), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_BARREL},
    {"barrel of infinite radius", add(new dovCZyn_Barrel(s_o, s_inf, 8, 1, 1)), 4, -1, 0, 0, 0, DOV_Zyn_OBJ_BARREL},
  };
  for (const ConversionCase& c : cases)
  {
    SCOPED_TRACE(c.name);
    TestQel qel;
    qel.SetRenderMode(c.renderMode);
    c.add(qel);
    if (c.points < 0)
    {
      EXPECT_EQ(qel.GetPolyDataCount(), 0);
      continue;
    }
    ASSERT_EQ(qel.GetPolyDataCount(), 1);
    dovCQelPolyData* polyData = qel.Item(0);
    ASSERT_NE(polyData, nullptr);
    EXPECT_EQ(polyData->GetNumberOfPoints(), c.points);
    EXPECT_EQ(polyData->GetNumberOfCells(), c.cells);
    EXPECT_EQ(cellsOfSize(polyData, 3), c.triangles);
    EXPECT_EQ(cellsOfSize(polyData, 4), c.quads);
    EXPECT_EQ(polyData->GetObjectType(), c.type);
    EXPECT_EQ(polyData->GetReferenceCount(), 1); // the collection's
  }
}

TEST(Conversion, WireRingsStartAcrossThePathAndFollowTheBends)
{
  TestQel qel;
  // Horizontal start: the first ring point lies along (Ny, -Nx, 0).
  std::unique_ptr<dovCZyn_Wire> along(makeWire(1, 4, {s_o, s_x, s_xy}));
  qel.AddPolyData(along.get());
  vtkPolyData* wire = qel.GetPolyData(0);
  double p[3];
  wire->GetPoint(0, p);
  EXPECT_NEAR(p[0], 0, 1e-9);
  EXPECT_NEAR(p[1], -1, 1e-9);
  EXPECT_NEAR(p[2], 0, 1e-9);
  // The middle ring lies in the plane that bisects the bend at (10, 0, 0).
  for (vtkIdType k = 4; k < 8; ++k)
  {
    wire->GetPoint(k, p);
    EXPECT_NEAR((p[0] - 10) + p[1], 0, 1e-9);
  }
  const auto centres = ringCentres(wire);
  ASSERT_EQ(centres.size(), 3u);
  EXPECT_NEAR(centres[2].m_x, 10, 1e-9);
  EXPECT_NEAR(centres[2].m_y, 10, 1e-9);

  // Vertical start (normal along z): the ring starts from (1, 0, 0).
  std::unique_ptr<dovCZyn_Wire> up(makeWire(2, 4, {s_o, {0, 0, 10}}));
  qel.AddPolyData(up.get());
  qel.GetPolyData(1)->GetPoint(0, p);
  EXPECT_NEAR(p[0], 2, 1e-9);
  EXPECT_NEAR(p[1], 0, 1e-9);
}

TEST(Conversion, BarrelRingsRunFromLowerThroughTheEquatorToUpper)
{
  struct Case
  {
    double lower, upper;
    double bottomRadius, topRadius;
  } cases[] = {
    {2, 2, 2, 2},   // lower = upper = R: every ring has radius R
    {1, 0.5, 1, 0.5},
    {3, -1, 0, 0},  // beyond R or negative: closed at the pole
    {NAN, 0, 0, 0},
  };
  for (const Case& c : cases)
  {
    TestQel qel;
    std::unique_ptr<dovCZyn_Barrel> barrel(new dovCZyn_Barrel({1, 1, 1}, 2, 8, c.lower, c.upper));
    qel.AddPolyData(barrel.get());
    vtkPolyData* polyData = qel.GetPolyData(0);
    double p[3];
    polyData->GetPoint(0, p);
    EXPECT_NEAR(std::hypot(p[0] - 1, p[1] - 1), c.bottomRadius, 1e-6) << c.lower;
    EXPECT_LE(p[2], 1 + 1e-9);
    polyData->GetPoint(16, p); // equator ring
    EXPECT_NEAR(std::hypot(p[0] - 1, p[1] - 1), 2, 1e-9);
    EXPECT_NEAR(p[2], 1, 1e-9);
    polyData->GetPoint(32, p);
    EXPECT_NEAR(std::hypot(p[0] - 1, p[1] - 1), c.topRadius, 1e-6) << c.upper;
    EXPECT_GE(p[2], 1 - 1e-9);
    EXPECT_EQ(cellSize(polyData, 33), 8); // top polygon: ids 32..39
  }
}

TEST(Conversion, TextAttributesDescribeTheShape)
{
  TestQel qel;
  const dovCZyn_2DPolygon twelve = [] {
    dovCZyn_2DPolygon p;
    for (int k = 0; k < 12; ++k)
      p.AddPoint(20 + std::cos(k * M_PI / 6), std::sin(k * M_PI / 6));
    return p;
  }();
  std::unique_ptr<dovCZyn_Extrusion> mixed(extrusion({&twelve, &s_circle}));
  std::unique_ptr<dovCZyn_Extrusion> one(extrusion({&s_ccw}));
  std::unique_ptr<dovCZyn_Extrusion> round(extrusion({&s_circle}));
  qel.AddPolyData(mixed.get());
  qel.AddPolyData(one.get());
  qel.AddPolyData(round.get());
  EXPECT_EQ(valueOf(qel.Item(0), "Zyn_INT_VERTEX_COUNT"), "12 C24 ");
  EXPECT_EQ(valueOf(qel.Item(1), "Zyn_INT_VERTEX_COUNT"), "4 ");
  EXPECT_EQ(valueOf(qel.Item(2), "Zyn_INT_VERTEX_COUNT"), "C24 ");

  const dovCZyn_3DPoint start(0.1, 1.0 / 3, -2.0 / 7), end(100.0 / 3, 0.2, 1e-7);
  std::unique_ptr<dovCZyn_Wire> wire(makeWire(1.5, 8, {start, {10, 10, 10}, end}));
  qel.AddPolyData(wire.get());
  dovCQelPolyData* polyData = qel.Last();
  EXPECT_EQ(valueOf(polyData, "Zyn_INT_VERTEX_COUNT"), "3");
  EXPECT_EQ(valueOf(polyData, "Zyn_INT_RADIUS"), "1.50");
  // The end points read back exactly.
  const std::string text = valueOf(polyData, "Zyn_INT_END_POINTS");
  char* at = const_cast<char*>(text.c_str());
  for (double expected : {start.m_x, start.m_y, start.m_z, end.m_x, end.m_y, end.m_z})
    EXPECT_EQ(std::strtod(at, &at), expected);
  EXPECT_EQ(valueOf(polyData, "Zyn_INT_VERTEX_COUNT"), polyData->EnumAttribute(0)->GetValue());
}

TEST(Conversion, AttributesShareContainerRowsAndCopyFreeOnes)
{
  TestQel qel;
  dovCZyn_Attribute* layer = qel.AddAttribute("LAYER", 1, "Top");
  dovCZyn_WireModel model(3, "loop", 1, 1);
  qel.AddWireModel(&model);

  dovCZyn_Table modelLayers("LAYER"), modelColours("COLOR");
  modelLayers.AddAttribute(1, "Top");
  modelLayers.AddAttribute(2, "Bottom");
  modelColours.AddAttribute(1, "255 0 0 255");
  const long liveBefore = zynTestLiveAttributeCount();
  {
    std::unique_ptr<dovCZyn_Wire> wire(makeWire(1, 4, {s_o, s_x}));
    wire->AddAttribute(modelLayers.GetAttribute(1));
    wire->AddAttribute(modelLayers.GetAttribute(2)); // no such container row
    wire->AddAttribute(modelColours.GetAttribute(1)); // no such container table
    wire->AddAttribute(freeAttribute("ID", "7"));
    wire->AddAttribute(freeAttribute("WIRE_MODEL", "3"));
    wire->AddAttribute(freeAttribute("WIRE_MODEL", "9")); // matches no model: still copied
    qel.AddPolyData(wire.get());
  }
  dovCQelPolyData* polyData = qel.Item(0);
  std::vector<std::string> names;
  for (long i = 0; i < polyData->GetAttributeCount(); ++i)
    names.push_back(polyData->EnumAttribute(i)->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"Zyn_INT_VERTEX_COUNT", "LAYER", "ID", "WIRE_MODEL",
                                             "WIRE_MODEL", "Zyn_INT_END_POINTS", "Zyn_INT_RADIUS"}));
  EXPECT_EQ(polyData->GetAttribute("LAYER"), layer);
  EXPECT_EQ(layer->GetReferenceCount(), 1);
  EXPECT_EQ(polyData->EnumAttribute(4)->GetTable(), nullptr);
  EXPECT_STREQ(polyData->EnumAttribute(4)->GetValue(), "9");
  EXPECT_EQ(qel.GetWireModel(0)->GetReferenceCount(), 1);
  EXPECT_EQ(qel.GetWireModel(0)->GetReference(0), static_cast<dovCZyn_Referrer*>(polyData));
  EXPECT_EQ(zynTestLiveAttributeCount() - liveBefore, 6); // the poly data's own
}
