#include "zyn/dovCZyn_Vector.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(dovCZyn_2DPoint, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_3DVector, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_3DPoint, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_3DLine, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_Plane, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_3DBox, dovCZyn_Object)

dovCZyn_3DVector dovCZyn_3DVector::Cross(const dovCZyn_3DVector& o) const
{
  return {m_y * o.m_z - m_z * o.m_y, m_z * o.m_x - m_x * o.m_z, m_x * o.m_y - m_y * o.m_x};
}

double dovCZyn_3DVector::Dot(const dovCZyn_3DVector& o) const
{
  return m_x * o.m_x + m_y * o.m_y + m_z * o.m_z;
}

double dovCZyn_3DVector::Modulus() const
{
  return std::sqrt(Dot(*this));
}

int dovCZyn_3DVector::Normalise()
{
  const double length = Modulus();
  if (length == 0)
    return 0;
  m_x /= length;
  m_y /= length;
  m_z /= length;
  return 1;
}

dovCZyn_3DVector dovCZyn_3DVector::Scale(double f) const
{
  return {m_x * f, m_y * f, m_z * f};
}

dovCZyn_3DVector operator+(const dovCZyn_3DVector& a, const dovCZyn_3DVector& b)
{
  return {a.m_x + b.m_x, a.m_y + b.m_y, a.m_z + b.m_z};
}

dovCZyn_3DVector operator-(const dovCZyn_3DVector& a, const dovCZyn_3DVector& b)
{
  return {a.m_x - b.m_x, a.m_y - b.m_y, a.m_z - b.m_z};
}

dovCZyn_3DPoint operator+(const dovCZyn_3DPoint& p, const dovCZyn_3DVector& v)
{
  return {p.m_x + v.m_x, p.m_y + v.m_y, p.m_z + v.m_z};
}

dovCZyn_3DVector operator-(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b)
{
  return {a.m_x - b.m_x, a.m_y - b.m_y, a.m_z - b.m_z};
}

int dovCZyn_Plane::Intersect(const dovCZyn_3DLine& line, dovCZyn_3DPoint& at) const
{
  const double along = m_normal.Dot(line.m_direction);
  // Parallel within a relative angle of about 1e-12 rad: no single intersection.
  if (std::fabs(along) <= 1e-12 * m_normal.Modulus() * line.m_direction.Modulus())
    return 0;
  const double t = m_normal.Dot(m_origin - line.m_point) / along;
  if (!line.m_infinite && (t < 0 || t > 1))
    return 0;
  at = line.m_point + line.m_direction.Scale(t);
  return 1;
}

void dovCZyn_3DBox::Add(const dovCZyn_3DPoint& p)
{
  if (m_empty)
  {
    m_min = m_max = p;
    m_empty = false;
    return;
  }
  m_min = {std::min(m_min.m_x, p.m_x), std::min(m_min.m_y, p.m_y), std::min(m_min.m_z, p.m_z)};
  m_max = {std::max(m_max.m_x, p.m_x), std::max(m_max.m_y, p.m_y), std::max(m_max.m_z, p.m_z)};
}

double dovZynDistance2(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b)
{
  const dovCZyn_3DVector d = a - b;
  return d.Dot(d);
}

double dovZynDistance(const dovCZyn_3DPoint& a, const dovCZyn_3DPoint& b)
{
  return std::sqrt(dovZynDistance2(a, b));
}
