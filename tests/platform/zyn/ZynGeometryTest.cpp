// Geometry services: vectors, planes, polylines, outlines and shapes.
#include <gtest/gtest.h>

#include <zyn/dovCZyn_Shapes.h>

#include <cmath>

namespace
{
void expectNear(const dovCZyn_3DVector& v, double x, double y, double z)
{
  EXPECT_NEAR(v.m_x, x, 1e-12);
  EXPECT_NEAR(v.m_y, y, 1e-12);
  EXPECT_NEAR(v.m_z, z, 1e-12);
}
void expectNear(const dovCZyn_3DPoint& p, double x, double y, double z)
{
  EXPECT_NEAR(p.m_x, x, 1e-12);
  EXPECT_NEAR(p.m_y, y, 1e-12);
  EXPECT_NEAR(p.m_z, z, 1e-12);
}
} // namespace

TEST(ZynVector, CrossNormaliseAndDistances)
{
  expectNear(dovCZyn_3DVector(1, 0, 0).Cross(dovCZyn_3DVector(0, 1, 0)), 0, 0, 1);
  dovCZyn_3DVector v(3, 0, 4);
  EXPECT_EQ(v.Modulus(), 5);
  EXPECT_EQ(v.Normalise(), 1);
  expectNear(v, 0.6, 0, 0.8);
  dovCZyn_3DVector zero;
  EXPECT_EQ(zero.Normalise(), 0);
  expectNear(zero, 0, 0, 0);
  EXPECT_EQ(dovZynDistance(dovCZyn_3DPoint(1, 1, 1), dovCZyn_3DPoint(1, 4, 5)), 5);
  EXPECT_EQ(dovZynDistance2(dovCZyn_3DPoint(1, 1, 1), dovCZyn_3DPoint(1, 4, 5)), 25);
}

TEST(ZynPlane, IntersectsLinesAndRefusesParallelOnesAndShortSegments)
{
  const dovCZyn_Plane plane(dovCZyn_3DPoint(0, 0, 2), dovCZyn_3DVector(0, 0, 1));
  struct Case
  {
    dovCZyn_3DPoint from;
    dovCZyn_3DVector direction;
    int infinite;
    int hit;
    double z;
  } cases[] = {
    {{1, 1, 0}, {0, 0, 1}, 1, 1, 2},
    {{1, 1, 5}, {0, 0, 1}, 1, 1, 2},   // behind the start: still on the line
    {{1, 1, 0}, {0, 0, 1}, 0, 0, 0},   // segment of length 1 stops short
    {{1, 1, 0}, {0, 0, 3}, 0, 1, 2},
    {{1, 1, 0}, {1, 0, 0}, 1, 0, 0},   // parallel
  };
  for (const Case& c : cases)
  {
    dovCZyn_3DPoint at(9, 9, 9);
    EXPECT_EQ(plane.Intersect(dovCZyn_3DLine(c.from, c.direction, c.infinite), at), c.hit);
    if (c.hit)
      expectNear(at, 1, 1, c.z);
  }
}

TEST(ZynPolyline, SectionPlanesAreNormalAtEndsAndBisectInside)
{
  dovCZyn_3DPolyline path;
  path.AddPoint(0, 0, 0);
  path.AddPoint(0, 0, 10);
  path.AddPoint(10, 0, 10);
  dovCZyn_Plane plane;
  ASSERT_EQ(path.CreateSectionPlane(0, plane), 1);
  expectNear(plane.GetNormal(), 0, 0, 1);
  ASSERT_EQ(path.CreateSectionPlane(1, plane), 1);
  expectNear(plane.GetNormal(), std::sqrt(0.5), 0, std::sqrt(0.5));
  expectNear(plane.GetOrigin(), 0, 0, 10);
  ASSERT_EQ(path.CreateSectionPlane(2, plane), 1);
  expectNear(plane.GetNormal(), 1, 0, 0);
  EXPECT_EQ(path.CreateSectionPlane(3, plane), 0);

  dovCZyn_3DPolyline back;
  back.AddPoint(0, 0, 0);
  back.AddPoint(1, 0, 0);
  back.AddPoint(0, 0, 0);
  ASSERT_EQ(back.CreateSectionPlane(1, plane), 1);
  expectNear(plane.GetNormal(), 1, 0, 0); // turning straight back: the incoming direction
}

TEST(ZynPolyline, DuplicatesGoAndReverseTurnsThePathAround)
{
  dovCZyn_3DPolyline path;
  path.AddPoint(0, 0, 0);
  path.AddPoint(0, 0, 0);
  path.AddPoint(1, 0, 0);
  path.AddPoint(1, 0, 1e-12);
  path.AddPoint(0, 0, 0);
  path.RemoveDuplicatePoints();
  ASSERT_EQ(path.GetPointCount(), 3);
  path.ReversePoints();
  expectNear(path.GetPoint(1), 1, 0, 0);
}

TEST(ZynOutline, CoincidentVerticesAndClosingRepeatGo)
{
  dovCZyn_2DPolygon polygon;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 0.0}})
    polygon.AddPoint(x, y);
  polygon.RemoveCoincidentVertices();
  EXPECT_EQ(polygon.GetPointCount(), 3);

  dovCZyn_Extrusion extrusion(0, 1);
  extrusion.AddChild(dovCZyn_2DCircle(1, 2, 3, 24));
  extrusion.AddChild(polygon);
  dovCZyn_2DPolygon outline;
  ASSERT_EQ(extrusion.Get2DPolygon(0, &outline), 1);
  ASSERT_EQ(outline.GetPointCount(), 24);
  EXPECT_NEAR(outline.GetPoint(6).m_x, 1, 1e-12);
  EXPECT_NEAR(outline.GetPoint(6).m_y, 5, 1e-12);
  ASSERT_EQ(extrusion.Get2DPolygon(1, &outline), 1);
  EXPECT_EQ(outline.GetPointCount(), 3);
  EXPECT_EQ(extrusion.Get2DPolygon(2, &outline), 0);
  EXPECT_EQ(extrusion.GetChild(0)->GetObjectType(), DOV_Zyn_OBJ_2DCIRCLE);

  dovCZyn_Extrusion copy(extrusion);
  EXPECT_EQ(copy.GetChildCount(), 2);
  EXPECT_NE(copy.GetChild(0), extrusion.GetChild(0));
}

TEST(ZynShapes, WirePathJoinsItsPiecesAndTypesAreAsCoded)
{
  dovCZyn_Wire wire(1, 8);
  dovCZyn_3DPolyline a, b;
  a.AddPoint(0, 0, 0);
  a.AddPoint(1, 0, 0);
  b.AddPoint(2, 0, 0);
  wire.Add3DPolyline(a);
  wire.Add3DPolyline(b);
  dovCZyn_3DPolyline path;
  path.AddPoint(9, 9, 9);
  wire.Get3DPolyline(&path);
  ASSERT_EQ(path.GetPointCount(), 3);
  expectNear(path.GetPoint(2), 2, 0, 0);

  const dovCZyn_Barrel barrel(dovCZyn_3DPoint(), 1, 8, 0.5, 0.5);
  const dovCZyn_Geometry* shapes[] = {&wire, &barrel};
  EXPECT_EQ(shapes[0]->GetObjectType(), DOV_Zyn_OBJ_WIRE);
  EXPECT_STREQ(shapes[0]->GetGeometryName(), "WIRE");
  EXPECT_EQ(shapes[1]->GetObjectType(), DOV_Zyn_OBJ_BARREL);
  EXPECT_STREQ(shapes[1]->GetGeometryName(), "BARL");
}
