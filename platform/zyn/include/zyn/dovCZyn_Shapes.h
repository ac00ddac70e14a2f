#pragma once
// The four shapes the mesh library converts: extrusions of planar outlines, wires along a
// 3-D path, spheres and barrels (zones of a sphere between two latitude rings).
#include <memory>
#include <vector>

#include "zyn/dovCZyn_3DPolyline.h"
#include "zyn/dovCZyn_Geometry.h"
#include "zyn/dovCZyn_Polygon.h"

class dovCZyn_Extrusion : public dovCZyn_Geometry
{
  DECLARE_DYNAMIC(dovCZyn_Extrusion)

public:
  dovCZyn_Extrusion(double z1, double z2) : m_z1(z1), m_z2(z2) {}
  dovCZyn_Extrusion(const dovCZyn_Extrusion& other);
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_EXTRUSION; }
  const char* GetGeometryName() const override { return "EXTR"; }
  dovCZyn_Geometry* Copy() const override { return new dovCZyn_Extrusion(*this); }

  double GetZ1() const { return m_z1; }
  double GetZ2() const { return m_z2; }
  long GetChildCount() const { return static_cast<long>(m_children.size()); }
  // Child i (a polygon or a circle); null when out of range.
  dovCZyn_2DObject* GetChild(long i) const;
  // Appends a copy of the outline.
  void AddChild(const dovCZyn_2DObject& child);
  // Fills `polygon` with the outline of child i: 1, or 0 for a bad index.
  int Get2DPolygon(long i, dovCZyn_2DPolygon* polygon) const;

private:
  double m_z1;
  double m_z2;
  std::vector<std::unique_ptr<dovCZyn_2DObject>> m_children;
};

class dovCZyn_Wire : public dovCZyn_Geometry
{
  DECLARE_DYNAMIC(dovCZyn_Wire)

public:
  dovCZyn_Wire(double radius, long sides) : m_radius(radius), m_sides(sides) {}
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_WIRE; }
  const char* GetGeometryName() const override { return "WIRE"; }
  dovCZyn_Geometry* Copy() const override { return new dovCZyn_Wire(*this); }

  double GetRadius() const { return m_radius; }
  long GetSides() const { return m_sides; }
  // Appends a piece of the path.
  void Add3DPolyline(const dovCZyn_3DPolyline& piece) { m_pieces.push_back(piece); }
  // Fills `path` with the pieces' points one after the other.
  void Get3DPolyline(dovCZyn_3DPolyline* path) const;

private:
  double m_radius;
  long m_sides;
  std::vector<dovCZyn_3DPolyline> m_pieces;
};

class dovCZyn_Sphere : public dovCZyn_Geometry
{
  DECLARE_DYNAMIC(dovCZyn_Sphere)

public:
  dovCZyn_Sphere(const dovCZyn_3DPoint& center, double radius, long sides)
    : m_center(center), m_radius(radius), m_sides(sides)
  {
  }
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_SPHERE; }
  const char* GetGeometryName() const override { return "SPHE"; }
  dovCZyn_Geometry* Copy() const override { return new dovCZyn_Sphere(*this); }

  const dovCZyn_3DPoint& GetCenter() const { return m_center; }
  double GetRadius() const { return m_radius; }
  long GetSides() const { return m_sides; }

private:
  dovCZyn_3DPoint m_center;
  double m_radius;
  long m_sides;
};

class dovCZyn_Barrel : public dovCZyn_Sphere
{
  DECLARE_DYNAMIC(dovCZyn_Barrel)

public:
  // The zone of the sphere between the ring of radius `lower` below the centre and the
  // ring of radius `upper` above it.
  dovCZyn_Barrel(const dovCZyn_3DPoint& center, double radius, long sides, double lower,
                 double upper)
    : dovCZyn_Sphere(center, radius, sides), m_lower(lower), m_upper(upper)
  {
  }
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_BARREL; }
  const char* GetGeometryName() const override { return "BARL"; }
  dovCZyn_Geometry* Copy() const override { return new dovCZyn_Barrel(*this); }

  double GetLower() const { return m_lower; }
  double GetUpper() const { return m_upper; }

private:
  double m_lower;
  double m_upper;
};
