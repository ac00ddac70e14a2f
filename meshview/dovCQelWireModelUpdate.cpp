// Rebuilding the wires that follow a wire model when the model changes.
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include <vtkCellArray.h>
#include <vtkMapper.h>
#include <vtkSmartPointer.h>
#include <zyn/dovString.h>

#include "dovCQel.h"

namespace
{
constexpr const char* s_separators = " \t\r\n";
constexpr double s_degree = 0.017453292;

// The wire's rings: cell 0 is the first ring; rings follow one another in the points.
struct WireRings
{
  long size = 0;
  dovCZyn_3DPoint start; // centre of the first ring
  dovCZyn_3DPoint end;   // centre of the last ring
  double endRadius = 0;  // from the last ring's centre to its last point
};

dovCZyn_3DPoint pointOf(vtkPolyData* polyData, vtkIdType id)
{
  double p[3];
  polyData->GetPoint(id, p);
  return {p[0], p[1], p[2]};
}

dovCZyn_3DPoint centreOf(vtkPolyData* polyData, vtkIdType firstId, long size)
{
  double x = 0, y = 0, z = 0;
  for (long k = 0; k < size; ++k)
  {
    const dovCZyn_3DPoint p = pointOf(polyData, firstId + k);
    x += p.m_x;
    y += p.m_y;
    z += p.m_z;
  }
  return {x / static_cast<double>(size), y / static_cast<double>(size), z / static_cast<double>(size)};
}

// False for a poly data that has no ring cells (converted without cells).
bool readRings(vtkPolyData* polyData, WireRings& rings)
{
  if (polyData->GetNumberOfCells() == 0)
    return false;
  vtkIdType count = 0;
  const vtkIdType* ids = nullptr;
  polyData->GetCellPoints(0, count, ids);
  const vtkIdType points = polyData->GetNumberOfPoints();
  if (count <= 0 || points < count)
    return false;
  rings.size = static_cast<long>(count);
  rings.start = centreOf(polyData, ids[0], rings.size);
  const vtkIdType lastRing = points / count - 1;
  polyData->GetCellPoints(lastRing, count, ids);
  if (count != rings.size)
    return false;
  rings.end = centreOf(polyData, ids[0], rings.size);
  rings.endRadius = dovZynDistance(pointOf(polyData, ids[count - 1]), rings.end);
  return true;
}

// The radius of the first ring, measured from its centre: right for odd sides too.
// -1 for a poly data without ring cells.
double firstRingRadius(vtkPolyData* polyData)
{
  vtkIdType count = 0;
  const vtkIdType* ids = nullptr;
  if (polyData->GetNumberOfCells() == 0)
    return -1;
  polyData->GetCellPoints(0, count, ids);
  if (count <= 0)
    return -1;
  const dovCZyn_3DPoint centre = centreOf(polyData, ids[0], static_cast<long>(count));
  return dovZynDistance(pointOf(polyData, ids[0]), centre);
}

bool isReversed(const dovCStringArray& tokens)
{
  return tokens.GetSize() > 1 && tokens[1] == "REVERSE";
}

// Moves `p` by one step of a wire model. `h` is the horizontal span from start to end,
// `u` its unit direction, `dz` the height difference of the ends.
void applyStep(const dovCZyn_WMStep& step, const dovCZyn_3DVector& h, const dovCZyn_3DVector& u,
               double span, double dz, dovCZyn_3DPoint& p)
{
  DOV_Zyn_WM_STEP horKind, verKind;
  double hor = 0, ver = 0;
  step.GetHorStep(horKind, hor);
  step.GetVerStep(verKind, ver);
  switch (horKind)
  {
  case DOV_Zyn_WM_LENGTH:
  case DOV_Zyn_WM_RATIO:
  {
    const bool ratio = horKind == DOV_Zyn_WM_RATIO;
    p = p + (ratio ? h.Scale(hor) : u.Scale(hor));
    if (verKind == DOV_Zyn_WM_LENGTH)
      p.m_z += ver;
    else if (verKind == DOV_Zyn_WM_RATIO)
      p.m_z += ver * dz;
    else if (verKind == DOV_Zyn_WM_ANGLE)
      p.m_z += hor * std::tan(ver * s_degree) * (ratio ? span : 1.0);
    break;
  }
  case DOV_Zyn_WM_ANGLE:
  {
    // The rise is a length or a share of the height difference; the run follows from the
    // angle. A flat angle gives no finite run, so such a step does not move.
    const double slope = std::tan(hor * s_degree);
    if ((verKind != DOV_Zyn_WM_LENGTH && verKind != DOV_Zyn_WM_RATIO) || std::fabs(slope) < 1e-12)
      break;
    const double rise = verKind == DOV_Zyn_WM_LENGTH ? ver : ver * dz;
    p = p + u.Scale(rise / slope);
    p.m_z += rise;
    break;
  }
  default:
    break;
  }
}
} // namespace

dovCQelPolyData* dovCQel::ReplaceWire(dovCQelPolyData* old, dovCZyn_Wire& wire,
                                      const char* vertexCount)
{
  const int position = m_polyData->IsItemPresent(old);
  if (position == 0)
    return nullptr;
  vtkSmartPointer<dovCQelPolyData> replacement = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
  AddPolyData(&wire, replacement);
  // A path with a leg shorter than the radius yields nothing: the old wire stays.
  if (replacement->GetNumberOfPoints() == 0)
    return nullptr;
  vtkSmartPointer<dovCQelPolyData> keep = old;

  while (old->GetAttributeCount() > 0)
  {
    dovCZyn_Attribute* attribute = old->EnumAttribute(0);
    if (!attribute->GetTable() && CString(attribute->GetName()) == "Zyn_INT_VERTEX_COUNT")
      attribute->SetValue(vertexCount);
    replacement->AddAttribute(attribute);
    old->ReplaceAttribute(attribute, nullptr);
  }
  m_polyData->ReplaceItem(position - 1, replacement);
  if (const dovCZyn_Attribute* id = replacement->GetAttribute("ID"))
    UpdatePolydata(std::atol(id->GetValue()), replacement);
  // Entries under other ids, and wire-model references, must not outlive the old wire.
  m_polyDataById.ForEach([&](long, dovCQelPolyData*& held) {
    if (held == old)
      held = replacement;
  });
  for (dovCZyn_WireModel* model : m_wireModels)
    while (model->GetReferrers().HasReference(old))
    {
      model->RemoveReference(old);
      model->AddReference(replacement);
    }
  if (vtkMapper* mapper = old->GetMapper())
  {
    mapper->SetInputDataObject(nullptr);
    mapper->SetInputDataObject(replacement);
    replacement->SetView(mapper, old->GetActor());
  }
  return replacement;
}

int dovCQel::UpdateWireModel(long index, const char* spec)
{
  dovCStringArray tokens;
  const int count = dovParseString(spec, s_separators, tokens);
  if (count < 4)
    return 0;
  const bool fourPoint = tokens[0] == "4-point";
  // Anything but a "4-point" spec is read with the five-number layout, which needs six.
  if (!fourPoint && count < 6)
    return 0;
  const bool reverse = isReversed(tokens);
  const double a = std::atof(tokens[2]);
  const double b = fourPoint ? 0 : std::atof(tokens[3]);
  const double c = std::atof(tokens[fourPoint ? 3 : 4]);
  const double d = fourPoint ? 0 : std::atof(tokens[5]);

  dovCZyn_Table* table = GetTable("WIRE_MODEL");
  if (!table)
    return 0;
  dovCZyn_Attribute* row = table->GetAttribute(index);
  if (!row)
  {
    table->AddAttribute(index, spec);
    return 1;
  }
  dovCStringArray oldTokens;
  if (dovParseString(row->GetValue(), s_separators, oldTokens) < 4)
    return 0;
  const bool oldReverse = isReversed(oldTokens);
  table->AddAttribute(index, spec);

  ForEachPolyDataReferrer(row->GetReferrers(), [&](dovCQelPolyData* polyData) {
    WireRings rings;
    if (!readRings(polyData, rings))
      return;
    dovCZyn_3DPoint s = rings.start, e = rings.end;
    if (reverse != oldReverse)
      std::swap(s, e);
    dovCZyn_3DVector t(e.m_x - s.m_x, e.m_y - s.m_y, 0);
    t.Normalise();
    dovCZyn_3DPolyline path;
    path.AddPoint(s);
    const dovCZyn_3DPoint p2 = s + dovCZyn_3DVector(0, 0, a);
    path.AddPoint(p2);
    if (fourPoint)
      path.AddPoint(p2 + t.Scale(c));
    else
    {
      const dovCZyn_3DPoint p3 = p2 + t.Scale(c) + dovCZyn_3DVector(0, 0, b - a);
      path.AddPoint(p3);
      path.AddPoint(p3 + t.Scale(d));
    }
    path.AddPoint(e);
    dovCZyn_Wire wire(rings.endRadius, rings.size);
    wire.Add3DPolyline(path);
    ReplaceWire(polyData, wire, fourPoint ? "4" : "5");
  });
  return 1;
}

int dovCQel::UpdateWireModel(long index)
{
  dovCZyn_WireModel* model = GetWireModel(index);
  if (!model)
    return 0;
  const bool reversed = model->GetDirection() == 2;
  CString vertexCount;
  vertexCount.Format("%ld", model->GetPointCount());

  ForEachPolyDataReferrer(model->GetReferrers(), [&](dovCQelPolyData* polyData) {
    const dovCZyn_Attribute* endPoints = polyData->GetAttribute("Zyn_INT_END_POINTS");
    const dovCZyn_Attribute* radiusText = polyData->GetAttribute("Zyn_INT_RADIUS");
    dovCStringArray numbers;
    WireRings rings;
    if (!endPoints || !radiusText || dovParseString(endPoints->GetValue(), " ", numbers) < 6 ||
        !readRings(polyData, rings))
      return;
    dovCZyn_3DPoint s(std::atof(numbers[0]), std::atof(numbers[1]), std::atof(numbers[2]));
    dovCZyn_3DPoint e(std::atof(numbers[3]), std::atof(numbers[4]), std::atof(numbers[5]));
    if (reversed)
      std::swap(s, e);
    const double r = std::atof(radiusText->GetValue());
    const double minimumSpacing2 = 4 * r * r;

    dovCZyn_3DVector h(e.m_x - s.m_x, e.m_y - s.m_y, 0);
    const double span = h.Modulus();
    dovCZyn_3DVector u = span > 0 ? h.Scale(1 / span) : dovCZyn_3DVector();
    const double dz = std::fabs(e.m_z - s.m_z);

    dovCZyn_3DPolyline front, back;
    front.AddPoint(s);
    back.AddPoint(e);
    dovCZyn_3DPolyline* current = &front;
    dovCZyn_3DPoint p = s, lastAdded = s;
    for (long i = 0; i < model->GetStepCount(); ++i)
    {
      const dovCZyn_WMStep& step = *model->GetStep(i);
      if (step.IsSwitch())
      {
        h = h.Scale(-1);
        u = u.Scale(-1);
        p = e;
        current = &back;
        continue;
      }
      applyStep(step, h, u, span, dz, p);
      if (dovZynDistance2(p, lastAdded) > minimumSpacing2)
      {
        current->AddPoint(p);
        lastAdded = p;
      }
    }
    back.ReversePoints();
    dovCZyn_Wire wire(r, rings.size);
    wire.Add3DPolyline(front);
    wire.Add3DPolyline(back);
    const long update = polyData->GetUpdate();
    if (dovCQelPolyData* replacement = ReplaceWire(polyData, wire, vertexCount))
      replacement->SetUpdate(update, 1);
  });

  for (dovCZyn_DRCRule* rule : m_drcRules)
    rule->SetCurrent(0);
  return 1;
}

int dovCQel::SetWireModel(long index, dovCZyn_WireModel* source, int all)
{
  dovCZyn_WireModel* target = GetWireModel(index);
  if (!target || !source)
    return 0;
  target->SetName(source->GetName());
  target->SetDirection(source->GetDirection());
  CString oldRadius, newRadius;
  oldRadius.Format("%.*f", static_cast<int>(m_precision), target->GetRadius());
  target->SetRadius(source->GetRadius());
  std::vector<dovCZyn_WMStep> steps;
  for (long i = 0; i < source->GetStepCount(); ++i)
    steps.push_back(*source->GetStep(i));
  target->RemoveAllSteps();
  for (const dovCZyn_WMStep& step : steps)
    target->AddStep(step);
  newRadius.Format("%.*f", static_cast<int>(m_precision), source->GetRadius());

  ForEachPolyDataReferrer(target->GetReferrers(), [&](dovCQelPolyData* polyData) {
    dovCZyn_Attribute* radius = polyData->GetAttribute("Zyn_INT_RADIUS");
    if (!radius)
      return;
    const CString value = radius->GetValue();
    if (all)
    {
      if (value != newRadius)
        polyData->SetUpdate(2, 1);
      radius->SetValue(newRadius);
    }
    else if (value == oldRadius)
    {
      polyData->SetUpdate(2, 1);
      radius->SetValue(newRadius);
    }
  });
  target->SetUpdate(8, 1);
  return 1;
}

long dovCQel::GetSpecialWireCount(long index) const
{
  const dovCZyn_WireModel* model = GetWireModel(index);
  if (!model)
    return 0;
  CString modelRadius;
  modelRadius.Format("%.*f", static_cast<int>(m_precision), model->GetRadius());
  long special = 0;
  ForEachPolyDataReferrer(model->GetReferrers(), [&](dovCQelPolyData* polyData) {
    const double radius = firstRingRadius(polyData);
    if (radius < 0)
      return;
    CString measured;
    measured.Format("%.*f", static_cast<int>(m_precision), radius);
    if (measured != modelRadius)
      ++special;
  });
  return special;
}
