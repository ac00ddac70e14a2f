#include "zyn/dovCZyn_Polygon.h"

#include <cmath>

IMPLEMENT_DYNAMIC(dovCZyn_2DObject, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_2DPolygon, dovCZyn_2DObject)
IMPLEMENT_DYNAMIC(dovCZyn_2DCircle, dovCZyn_2DObject)

namespace
{
constexpr double s_coincident = 1e-9;

bool coincide(const dovCZyn_2DPoint& a, const dovCZyn_2DPoint& b)
{
  return std::hypot(a.m_x - b.m_x, a.m_y - b.m_y) <= s_coincident;
}
} // namespace

void dovCZyn_2DPolygon::RemoveCoincidentVertices()
{
  std::vector<dovCZyn_2DPoint> kept;
  kept.reserve(m_points.size());
  for (const dovCZyn_2DPoint& p : m_points)
    if (kept.empty() || !coincide(kept.back(), p))
      kept.push_back(p);
  while (kept.size() > 1 && coincide(kept.back(), kept.front()))
    kept.pop_back();
  m_points = std::move(kept);
}

void dovCZyn_2DCircle::GetPolygon(dovCZyn_2DPolygon& polygon) const
{
  polygon.RemoveAllPoints();
  const double step = 2 * M_PI / static_cast<double>(m_sides);
  for (long k = 0; k < m_sides; ++k)
    polygon.AddPoint(m_center.m_x + m_radius * std::cos(k * step),
                     m_center.m_y + m_radius * std::sin(k * step));
}
