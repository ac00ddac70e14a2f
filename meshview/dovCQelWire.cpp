// Wires: a tube of rings along the wire's 3-D path. Each ring keeps the shape of the one
// before it, carried along the segment onto the next vertex's section plane.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>

#include "dovCQel.h"
#include "dovCQelFinite.h"

namespace
{
constexpr double s_pi = 3.141592654;

std::vector<dovCZyn_3DPoint> firstRing(const dovCZyn_3DPoint& centre, const dovCZyn_Plane& plane,
                                       double radius, long sides)
{
  const dovCZyn_3DVector& normal = plane.GetNormal();
  const double l = std::sqrt(normal.m_x * normal.m_x + normal.m_y * normal.m_y);
  const dovCZyn_3DVector d = l != 0 ? dovCZyn_3DVector(normal.m_y / l, -normal.m_x / l, 0)
                                    : dovCZyn_3DVector(1, 0, 0);
  const dovCZyn_3DVector e = d.Cross(normal);
  const double theta = 2 * s_pi / static_cast<double>(sides);
  std::vector<dovCZyn_3DPoint> ring;
  for (long k = 0; k < sides; ++k)
  {
    const dovCZyn_3DVector u = d.Scale(std::cos(k * theta)) + e.Scale(std::sin(k * theta));
    ring.push_back(centre + u.Scale(radius));
  }
  return ring;
}

std::vector<dovCZyn_3DPoint> nextRing(const std::vector<dovCZyn_3DPoint>& previous,
                                      const dovCZyn_3DPoint& from, const dovCZyn_3DPoint& to,
                                      const dovCZyn_Plane& plane)
{
  const dovCZyn_3DVector segment = to - from;
  dovCZyn_3DVector t = segment;
  t.Normalise();
  std::vector<dovCZyn_3DPoint> ring;
  for (const dovCZyn_3DPoint& p : previous)
  {
    dovCZyn_3DPoint at;
    // The bisecting plane is never parallel to the incoming segment; should it be, the
    // ring is carried along the segment unchanged.
    if (!plane.Intersect(dovCZyn_3DLine(p, t, 1), at))
      at = p + segment;
    ring.push_back(at);
  }
  return ring;
}
} // namespace

void dovCQel::AddPolyData(dovCZyn_Wire* wire, dovCQelPolyData* target)
{
  const double r = wire->GetRadius();
  dovCZyn_3DPolyline path;
  wire->Get3DPolyline(&path);
  // Checked before duplicates go: a point that is not a number would compare unequal to
  // everything and be dropped without a trace.
  if (!dovQelAllFinite({r}) || !dovQelAllPointsFinite(path))
    return;
  path.RemoveDuplicatePoints();
  const long n = path.GetPointCount();
  if (n <= 1)
    return;
  for (long i = 1; i < n; ++i)
    if (dovZynDistance(path.GetPoint(i - 1), path.GetPoint(i)) < r)
      return;
  const long s = std::clamp(wire->GetSides(), 4L, 32L);

  std::vector<dovCZyn_Plane> planes(static_cast<size_t>(n));
  for (long i = 0; i < n; ++i)
    path.CreateSectionPlane(i, planes[static_cast<size_t>(i)]);

  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  points->Allocate(n * s);
  std::vector<dovCZyn_3DPoint> ring = firstRing(path.GetPoint(0), planes[0], r, s);
  for (long i = 0;; ++i)
  {
    for (const dovCZyn_3DPoint& p : ring)
      points->InsertNextPoint(p.m_x, p.m_y, p.m_z);
    if (i + 1 == n)
      break;
    ring = nextRing(ring, path.GetPoint(i), path.GetPoint(i + 1), planes[static_cast<size_t>(i + 1)]);
  }

  dovCQelPolyData* polyData = dovCQelPolyData::New();
  polyData->SetPoints(points);
  if (WantsCells())
  {
    vtkNew<vtkCellArray> cells;
    cells->AllocateExact(n + (n - 1) * s, n * s + (n - 1) * s * 4);
    std::vector<vtkIdType> ids(static_cast<size_t>(s));
    for (long i = 0; i < n; ++i)
    {
      for (long k = 0; k < s; ++k)
        ids[static_cast<size_t>(k)] = i * s + k;
      cells->InsertNextCell(s, ids.data());
    }
    for (long i = 0; i + 1 < n; ++i)
      for (long k = 1; k <= s; ++k)
      {
        const vtkIdType quad[4] = {i * s + k - 1, i * s + (k % s), (i + 1) * s + (k % s),
                                   (i + 1) * s + k - 1};
        cells->InsertNextCell(4, quad);
      }
    polyData->SetPolys(cells);
  }

  if (target)
  {
    // A rebuild keeps the target's own attributes; only the shape moves over.
    target->CopyStructure(polyData);
    target->SetObjectType(DOV_Zyn_OBJ_WIRE);
    polyData->Delete();
    return;
  }

  CString text;
  text.Format("%ld", n);
  polyData->AddAttribute(new dovCZyn_Attribute("Zyn_INT_VERTEX_COUNT", text));
  for (long i = 0; i < wire->GetAttributeCount(); ++i)
  {
    dovCZyn_Attribute* attribute = wire->GetAttribute(i);
    if (CString(attribute->GetName()) != "WIRE_MODEL")
    {
      TransferAttribute(attribute, polyData);
      continue;
    }
    const long index = std::atol(attribute->GetValue());
    for (dovCZyn_WireModel* model : m_wireModels)
      if (model->GetIndex() == index)
        model->AddReference(polyData);
    polyData->AddAttribute(new dovCZyn_Attribute("WIRE_MODEL", attribute->GetValue()));
  }
  // Full precision, so that a rebuild starts and ends exactly where the wire did.
  const dovCZyn_3DPoint& start = path.GetPoint(0);
  const dovCZyn_3DPoint& end = path.GetPoint(n - 1);
  text.Format("%.17g %.17g %.17g %.17g %.17g %.17g", start.m_x, start.m_y, start.m_z, end.m_x,
              end.m_y, end.m_z);
  polyData->AddAttribute(new dovCZyn_Attribute("Zyn_INT_END_POINTS", text));
  text.Format("%.*f", static_cast<int>(m_precision), r);
  polyData->AddAttribute(new dovCZyn_Attribute("Zyn_INT_RADIUS", text));
  AppendPolyData(polyData, DOV_Zyn_OBJ_WIRE);
}
