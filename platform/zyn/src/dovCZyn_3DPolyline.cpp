#include "zyn/dovCZyn_3DPolyline.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(dovCZyn_3DPolyline, dovCZyn_Object)

void dovCZyn_3DPolyline::Append(const dovCZyn_3DPolyline& other)
{
  m_points.insert(m_points.end(), other.m_points.begin(), other.m_points.end());
}

void dovCZyn_3DPolyline::RemoveDuplicatePoints()
{
  std::vector<dovCZyn_3DPoint> kept;
  kept.reserve(m_points.size());
  for (const dovCZyn_3DPoint& p : m_points)
    if (kept.empty() || dovZynDistance(kept.back(), p) > 1e-9)
      kept.push_back(p);
  m_points = std::move(kept);
}

void dovCZyn_3DPolyline::ReversePoints()
{
  std::reverse(m_points.begin(), m_points.end());
}

int dovCZyn_3DPolyline::CreateSectionPlane(long i, dovCZyn_Plane& plane) const
{
  const long n = GetPointCount();
  if (n < 2 || i < 0 || i >= n)
    return 0;
  dovCZyn_3DVector in, out;
  if (i > 0)
  {
    in = GetPoint(i) - GetPoint(i - 1);
    in.Normalise();
  }
  if (i < n - 1)
  {
    out = GetPoint(i + 1) - GetPoint(i);
    out.Normalise();
  }
  dovCZyn_3DVector normal = in + out;
  if (!normal.Normalise())
    normal = in; // the path turns straight back
  plane = dovCZyn_Plane(GetPoint(i), normal);
  return 1;
}
