#pragma once
// Points, vectors, lines and planes in 2-D and 3-D, with the distance services.
#include "zyn/dovCZyn_Object.h"

class dovCZyn_2DPoint : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_2DPoint)

public:
  dovCZyn_2DPoint() = default;
  dovCZyn_2DPoint(double x, double y) : m_x(x), m_y(y) {}
  dovCZyn_2DPoint(const dovCZyn_2DPoint&) = default;
  dovCZyn_2DPoint& operator=(const dovCZyn_2DPoint&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_2DPOINT; }

  double m_x = 0;
  double m_y = 0;
};

class dovCZyn_3DVector : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_3DVector)

public:
  dovCZyn_3DVector() = default;
  dovCZyn_3DVector(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
  dovCZyn_3DVector(const dovCZyn_3DVector&) = default;
  dovCZyn_3DVector& operator=(const dovCZyn_3DVector&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_3DVECTOR; }

  dovCZyn_3DVector Cross(const dovCZyn_3DVector& other) const;
  double Dot(const dovCZyn_3DVector& other) const;
  double Modulus() const;
  // Scales to length 1; returns 0 and leaves a zero vector unchanged.
  int Normalise();
  dovCZyn_3DVector Scale(double factor) const;

  friend dovCZyn_3DVector operator+(const dovCZyn_3DVector& a, const dovCZyn_3DVector& b);
  friend dovCZyn_3DVector operator-(const dovCZyn_3DVector& a, const dovCZyn_3DVector& b);

  double m_x = 0;
  double m_y = 0;
  double m_z = 0;
};

class dovCZyn_3DPoint : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_3DPoint)

public:
  dovCZyn_3DPoint() = default;
  dovCZyn_3DPoint(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
  dovCZyn_3DPoint(const dovCZyn_3DPoint&) = default;
  dovCZyn_3DPoint& operator=(const dovCZyn_3DPoint&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_3DPOINT; }

  friend dovCZyn_3DPoint operator+(const dovCZyn_3DPoint& p, const dovCZyn_3DVector& v);
  friend dovCZyn_3DVector operator-(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b);

  double m_x = 0;
  double m_y = 0;
  double m_z = 0;
};

// Line through a point. With `infinite` 1 the line is unbounded; with 0 it is the segment
// from the point to point + direction.
class dovCZyn_3DLine : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_3DLine)

public:
  dovCZyn_3DLine(const dovCZyn_3DPoint& point, const dovCZyn_3DVector& direction, int infinite)
    : m_point(point), m_direction(direction), m_infinite(infinite)
  {
  }
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_3DLINE; }

  dovCZyn_3DPoint m_point;
  dovCZyn_3DVector m_direction;
  int m_infinite;
};

class dovCZyn_Plane : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_Plane)

public:
  dovCZyn_Plane() = default;
  dovCZyn_Plane(const dovCZyn_3DPoint& origin, const dovCZyn_3DVector& normal)
    : m_origin(origin), m_normal(normal)
  {
  }
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_PLANE; }

  const dovCZyn_3DVector& GetNormal() const { return m_normal; }
  const dovCZyn_3DPoint& GetOrigin() const { return m_origin; }
  // Intersection with a line: 1 and `at` set; 0 when the line is parallel to the plane,
  // or a segment does not reach it.
  int Intersect(const dovCZyn_3DLine& line, dovCZyn_3DPoint& at) const;

  dovCZyn_3DPoint m_origin;
  dovCZyn_3DVector m_normal{0, 0, 1};
};

class dovCZyn_3DBox : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_3DBox)

public:
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_3DBOX; }
  // Grows the box to hold the point.
  void Add(const dovCZyn_3DPoint& p);
  bool IsEmpty() const { return m_empty; }

  dovCZyn_3DPoint m_min;
  dovCZyn_3DPoint m_max;

private:
  bool m_empty = true;
};

double dovZynDistance(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b);
double dovZynDistance2(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b);
