#pragma once
// Whether a geometry's numbers can become poly data. A non-finite coordinate would reach
// the points, which the legacy writer writes and no reader reads back, and it sends the
// 2-D triangulation into endless recursion; such geometries are refused where they enter.
#include <cmath>
#include <initializer_list>

#include <zyn/dovCZyn.h>

inline bool dovQelAllFinite(std::initializer_list<double> values)
{
  for (double value : values)
    if (!std::isfinite(value))
      return false;
  return true;
}

inline bool dovQelIsFinite(const dovCZyn_2DPoint& p)
{
  return dovQelAllFinite({p.m_x, p.m_y});
}

inline bool dovQelIsFinite(const dovCZyn_3DPoint& p)
{
  return dovQelAllFinite({p.m_x, p.m_y, p.m_z});
}

// True when every point of the list (a polygon or a polyline) is finite.
template <class POINTS>
bool dovQelAllPointsFinite(const POINTS& points)
{
  for (long i = 0; i < points.GetPointCount(); ++i)
    if (!dovQelIsFinite(points.GetPoint(i)))
      return false;
  return true;
}
