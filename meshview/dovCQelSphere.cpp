// Spheres (from the toolkit's sphere source) and barrels (zones of a sphere between two
// latitude rings, built ring by ring).
#include <algorithm>
#include <cmath>
#include <vector>

#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkSphereSource.h>

#include "dovCQel.h"
#include "dovCQelFinite.h"

namespace
{
constexpr double s_pi = 3.141592654;

// Clamped to 4..32 and raised to a multiple of 4, so that the rings split evenly.
long roundSides(long sides)
{
  const long s = std::clamp(sides, 4L, 32L);
  return (s + 3) / 4 * 4;
}

// A bound that is negative, not a number, or beyond the radius closes the end at the pole.
double ringBound(double bound, double radius)
{
  return bound >= 0 && bound <= radius ? bound : 0;
}
} // namespace

void dovCQel::AddPolyData(dovCZyn_Sphere* sphere)
{
  const long s = roundSides(sphere->GetSides());
  const dovCZyn_3DPoint& c = sphere->GetCenter();
  if (!dovQelIsFinite(c) || !dovQelAllFinite({sphere->GetRadius()}))
    return;
  vtkNew<vtkSphereSource> source;
  source->SetRadius(sphere->GetRadius());
  source->SetCenter(c.m_x, c.m_y, c.m_z);
  source->SetLatLongTessellation(1);
  source->SetThetaResolution(static_cast<int>(s));
  source->SetPhiResolution(static_cast<int>(s / 2 + 1));
  source->SetOutputPointsPrecision(vtkAlgorithm::DOUBLE_PRECISION);
  source->Update();

  dovCQelPolyData* polyData = dovCQelPolyData::New();
  polyData->CopyStructure(source->GetOutput());
  TransferAttributes(sphere, polyData);
  AppendPolyData(polyData, DOV_Zyn_OBJ_SPHERE);
}

void dovCQel::AddPolyData(dovCZyn_Barrel* barrel)
{
  const dovCZyn_3DPoint& c = barrel->GetCenter();
  const double radius = barrel->GetRadius();
  // The bounds need no check: one that is not a number closes its end at the pole.
  if (!dovQelIsFinite(c) || !dovQelAllFinite({radius}))
    return;
  const long s = roundSides(barrel->GetSides());
  const double lower = ringBound(barrel->GetLower(), radius);
  const double upper = ringBound(barrel->GetUpper(), radius);
  // A sphere of no radius has every ring at its centre.
  const double alphaLower = radius > 0 ? std::acos(lower / radius) : s_pi / 2;
  const double alphaUpper = radius > 0 ? std::acos(upper / radius) : s_pi / 2;
  const double theta = 2 * s_pi / static_cast<double>(s);

  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  for (long j = -s / 4; j <= s / 4; ++j)
  {
    const double phi = static_cast<double>(j) * 4 * (j < 0 ? alphaLower : alphaUpper) / static_cast<double>(s);
    const double rho = radius * std::cos(phi);
    const double z = c.m_z + radius * std::sin(phi);
    for (long k = 0; k < s; ++k)
      points->InsertNextPoint(c.m_x + rho * std::cos(k * theta), c.m_y + rho * std::sin(k * theta), z);
  }

  dovCQelPolyData* polyData = dovCQelPolyData::New();
  polyData->SetPoints(points);
  if (WantsCells())
  {
    vtkNew<vtkCellArray> cells;
    for (long g = 0; g < s / 2; ++g)
    {
      const long o = g * s;
      for (long k = 1; k <= s; ++k)
      {
        const vtkIdType quad[4] = {o + k - 1, o + (k % s), o + s + (k % s), o + s + k - 1};
        cells->InsertNextCell(4, quad);
      }
    }
    std::vector<vtkIdType> ids(static_cast<size_t>(s));
    for (long k = 0; k < s; ++k)
      ids[static_cast<size_t>(k)] = k;
    cells->InsertNextCell(s, ids.data());
    for (long k = 0; k < s; ++k)
      ids[static_cast<size_t>(k)] = s * s / 2 + k;
    cells->InsertNextCell(s, ids.data());
    polyData->SetPolys(cells);
  }
  TransferAttributes(barrel, polyData);
  AppendPolyData(polyData, DOV_Zyn_OBJ_BARREL);
}
