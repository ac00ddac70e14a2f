#pragma once
// Planar outlines: polygons and circles, the children of an extrusion.
#include <cstddef>
#include <vector>

#include "zyn/dovCZyn_Vector.h"

// An outline in the plane (the base of polygons and circles).
class dovCZyn_2DObject : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_2DObject)

public:
  virtual dovCZyn_2DObject* Copy() const = 0;
};

class dovCZyn_2DPolygon : public dovCZyn_2DObject
{
  DECLARE_DYNAMIC(dovCZyn_2DPolygon)

public:
  dovCZyn_2DPolygon() = default;
  dovCZyn_2DPolygon(const dovCZyn_2DPolygon&) = default;
  dovCZyn_2DPolygon& operator=(const dovCZyn_2DPolygon&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_2DPOLYGON; }
  dovCZyn_2DObject* Copy() const override { return new dovCZyn_2DPolygon(*this); }

  long GetPointCount() const { return static_cast<long>(m_points.size()); }
  const dovCZyn_2DPoint& GetPoint(long i) const { return m_points.at(static_cast<std::size_t>(i)); }
  void AddPoint(double x, double y) { m_points.emplace_back(x, y); }
  void RemoveAllPoints() { m_points.clear(); }
  // Drops each vertex that coincides (within 1e-9) with the one before it, and a closing
  // vertex that repeats the first.
  void RemoveCoincidentVertices();

private:
  std::vector<dovCZyn_2DPoint> m_points;
};

class dovCZyn_2DCircle : public dovCZyn_2DObject
{
  DECLARE_DYNAMIC(dovCZyn_2DCircle)

public:
  // A circle, outlined by `sides` points (at least 3) counter-clockwise from angle 0.
  dovCZyn_2DCircle(double cx, double cy, double radius, long sides)
    : m_center(cx, cy), m_radius(radius), m_sides(sides < 3 ? 3 : sides)
  {
  }
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_2DCIRCLE; }
  dovCZyn_2DObject* Copy() const override { return new dovCZyn_2DCircle(*this); }

  const dovCZyn_2DPoint& GetCenter() const { return m_center; }
  double GetRadius() const { return m_radius; }
  long GetSides() const { return m_sides; }
  // Fills `polygon` with the outline.
  void GetPolygon(dovCZyn_2DPolygon& polygon) const;

private:
  dovCZyn_2DPoint m_center;
  double m_radius;
  long m_sides;
};
