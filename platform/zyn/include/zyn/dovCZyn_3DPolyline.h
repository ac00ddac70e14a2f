#pragma once
// An open path of 3-D points.
#include <cstddef>
#include <vector>

#include "zyn/dovCZyn_Vector.h"

class dovCZyn_3DPolyline : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_3DPolyline)

public:
  dovCZyn_3DPolyline() = default;
  dovCZyn_3DPolyline(const dovCZyn_3DPolyline&) = default;
  dovCZyn_3DPolyline& operator=(const dovCZyn_3DPolyline&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_3DPOLYLINE; }

  long GetPointCount() const { return static_cast<long>(m_points.size()); }
  const dovCZyn_3DPoint& GetPoint(long i) const { return m_points.at(static_cast<std::size_t>(i)); }
  void AddPoint(const dovCZyn_3DPoint& p) { m_points.push_back(p); }
  void AddPoint(double x, double y, double z) { m_points.emplace_back(x, y, z); }
  // Appends the points of another polyline.
  void Append(const dovCZyn_3DPolyline& other);
  void RemoveAllPoints() { m_points.clear(); }

  // Drops each point that lies within 1e-9 of the point before it.
  void RemoveDuplicatePoints();
  void ReversePoints();
  // The plane through vertex i across the path: at an end it is normal to the end segment,
  // inside it bisects the angle between the two segments (normal along the sum of their
  // unit directions; along the incoming one where the path turns straight back).
  // 0 for a bad index or a path of fewer than two points.
  int CreateSectionPlane(long i, dovCZyn_Plane& plane) const;

private:
  std::vector<dovCZyn_3DPoint> m_points;
};
