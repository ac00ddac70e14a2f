// Extrusions: side walls of quadrilaterals between Z1 and Z2, bottom and top triangulated
// by a constrained 2-D Delaunay triangulation of the outlines.
#include <cmath>
#include <vector>

#include <vtkAppendPolyData.h>
#include <vtkCellArray.h>
#include <vtkDelaunay2D.h>
#include <vtkNew.h>
#include <vtkPoints.h>

#include "dovCQel.h"
#include "dovCQelFinite.h"

namespace
{
// Twice the signed area: positive for a counter-clockwise outline.
double signedArea2(const dovCZyn_2DPolygon& polygon)
{
  double area = 0;
  const long m = polygon.GetPointCount();
  for (long j = 0; j < m; ++j)
  {
    const dovCZyn_2DPoint& a = polygon.GetPoint(j);
    const dovCZyn_2DPoint& b = polygon.GetPoint((j + 1) % m);
    area += a.m_x * b.m_y - b.m_x * a.m_y;
  }
  return area;
}

bool contains(const dovCZyn_2DPolygon& polygon, const dovCZyn_2DPoint& p)
{
  bool inside = false;
  const long m = polygon.GetPointCount();
  for (long j = 0, k = m - 1; j < m; k = j++)
  {
    const dovCZyn_2DPoint& a = polygon.GetPoint(j);
    const dovCZyn_2DPoint& b = polygon.GetPoint(k);
    if ((a.m_y > p.m_y) != (b.m_y > p.m_y) &&
        p.m_x < (b.m_x - a.m_x) * (p.m_y - a.m_y) / (b.m_y - a.m_y) + a.m_x)
      inside = !inside;
  }
  return inside;
}

// An outline that encloses nothing: fewer than three distinct points, or all of them on
// one line (a zero-width rectangle collapses to two). The triangulation cannot take one as
// a constraint, so such outlines keep their side wall but stay out of the caps.
bool isDegenerate(const dovCZyn_2DPolygon& polygon)
{
  const long m = polygon.GetPointCount();
  if (m < 3)
    return true;
  const dovCZyn_2DPoint& a = polygon.GetPoint(0);
  long far = 1;
  for (long j = 2; j < m; ++j)
    if (std::hypot(polygon.GetPoint(j).m_x - a.m_x, polygon.GetPoint(j).m_y - a.m_y) >
        std::hypot(polygon.GetPoint(far).m_x - a.m_x, polygon.GetPoint(far).m_y - a.m_y))
      far = j;
  const dovCZyn_2DPoint& b = polygon.GetPoint(far);
  const double length = std::hypot(b.m_x - a.m_x, b.m_y - a.m_y);
  for (long j = 1; j < m; ++j)
  {
    const dovCZyn_2DPoint& c = polygon.GetPoint(j);
    // Distance of c from the line a-b, against the outline's own size.
    const double off = std::fabs((b.m_x - a.m_x) * (c.m_y - a.m_y) - (b.m_y - a.m_y) * (c.m_x - a.m_x));
    if (off > 1e-12 * length * length)
      return false;
  }
  return true;
}

// The triangulation keeps the inside of counter-clockwise outlines and cuts clockwise
// ones out as holes. An outermost outline drawn clockwise would lose its whole cap, so
// outlines that lie inside no other are given counter-clockwise; nested ones keep their
// orientation and stay holes or islands as drawn.
std::vector<long> capOrder(const std::vector<dovCZyn_2DPolygon>& polygons, size_t i)
{
  const dovCZyn_2DPolygon& polygon = polygons[i];
  const long m = polygon.GetPointCount();
  std::vector<long> order(static_cast<size_t>(m));
  for (long j = 0; j < m; ++j)
    order[static_cast<size_t>(j)] = j;
  if (m < 3 || signedArea2(polygon) >= 0)
    return order;
  for (size_t k = 0; k < polygons.size(); ++k)
    if (k != i && !isDegenerate(polygons[k]) && contains(polygons[k], polygon.GetPoint(0)))
      return order;
  return std::vector<long>(order.rbegin(), order.rend());
}

vtkSmartPointer<vtkPolyData> triangulatedCap(const std::vector<dovCZyn_2DPolygon>& polygons,
                                             double z)
{
  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  vtkNew<vtkCellArray> outlines;
  vtkIdType first = 0;
  for (size_t i = 0; i < polygons.size(); ++i)
  {
    const dovCZyn_2DPolygon& polygon = polygons[i];
    if (isDegenerate(polygon))
      continue;
    for (long j = 0; j < polygon.GetPointCount(); ++j)
      points->InsertNextPoint(polygon.GetPoint(j).m_x, polygon.GetPoint(j).m_y, z);
    std::vector<vtkIdType> ids;
    for (long j : capOrder(polygons, i))
      ids.push_back(first + j);
    if (!ids.empty())
      outlines->InsertNextCell(static_cast<vtkIdType>(ids.size()), ids.data());
    first += polygon.GetPointCount();
  }
  vtkNew<vtkPolyData> input;
  input->SetPoints(points);
  input->SetPolys(outlines);

  vtkNew<vtkDelaunay2D> delaunay;
  delaunay->SetInputData(input);
  delaunay->SetSourceData(input);
  delaunay->Update();
  vtkSmartPointer<vtkPolyData> cap = delaunay->GetOutput();
  return cap;
}

vtkSmartPointer<vtkPolyData> sideWall(const dovCZyn_2DPolygon& polygon, double z1, double z2,
                                      bool cells)
{
  const long m = polygon.GetPointCount();
  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  for (double z : {z1, z2})
    for (long j = 0; j < m; ++j)
      points->InsertNextPoint(polygon.GetPoint(j).m_x, polygon.GetPoint(j).m_y, z);
  auto wall = vtkSmartPointer<vtkPolyData>::New();
  wall->SetPoints(points);
  if (cells)
  {
    vtkNew<vtkCellArray> quads;
    for (long j = 1; j <= m; ++j)
    {
      const vtkIdType quad[4] = {j - 1, m + j - 1, m + (j % m), j % m};
      quads->InsertNextCell(4, quad);
    }
    wall->SetPolys(quads);
  }
  return wall;
}
} // namespace

void dovCQel::AddPolyData(dovCZyn_Extrusion* extrusion)
{
  const double z1 = extrusion->GetZ1();
  const double z2 = extrusion->GetZ2();
  const long n = extrusion->GetChildCount();
  if (!dovQelAllFinite({z1, z2}))
    return;

  std::vector<dovCZyn_2DPolygon> polygons(static_cast<size_t>(n));
  CString vertexCount;
  for (long i = 0; i < n; ++i)
  {
    dovCZyn_2DPolygon& polygon = polygons[static_cast<size_t>(i)];
    extrusion->Get2DPolygon(i, &polygon);
    if (!dovQelAllPointsFinite(polygon))
      return;
    polygon.RemoveCoincidentVertices();
    if (extrusion->GetChild(i)->GetObjectType() == DOV_Zyn_OBJ_2DCIRCLE)
      vertexCount += "C";
    CString count;
    count.Format("%ld ", polygon.GetPointCount());
    vertexCount += count;
  }

  vtkNew<vtkAppendPolyData> append;
  if (WantsCells())
  {
    append->AddInputData(triangulatedCap(polygons, z1));
    append->AddInputData(triangulatedCap(polygons, z2));
  }
  for (const dovCZyn_2DPolygon& polygon : polygons)
    if (polygon.GetPointCount() > 0)
      append->AddInputData(sideWall(polygon, z1, z2, WantsCells()));
  dovCQelPolyData* polyData = dovCQelPolyData::New();
  if (append->GetNumberOfInputConnections(0) > 0)
  {
    append->Update();
    polyData->CopyStructure(append->GetOutput());
  }

  polyData->AddAttribute(new dovCZyn_Attribute("Zyn_INT_VERTEX_COUNT", vertexCount));
  TransferAttributes(extrusion, polyData);
  AppendPolyData(polyData, DOV_Zyn_OBJ_EXTRUSION);
  vtkObject::GlobalWarningDisplayOff();
}
