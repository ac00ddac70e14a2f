#include "zyn/dovCZyn_Shapes.h"

IMPLEMENT_DYNAMIC(dovCZyn_Extrusion, dovCZyn_Geometry)
IMPLEMENT_DYNAMIC(dovCZyn_Wire, dovCZyn_Geometry)
IMPLEMENT_DYNAMIC(dovCZyn_Sphere, dovCZyn_Geometry)
IMPLEMENT_DYNAMIC(dovCZyn_Barrel, dovCZyn_Sphere)

dovCZyn_Extrusion::dovCZyn_Extrusion(const dovCZyn_Extrusion& other)
  : dovCZyn_Geometry(other), m_z1(other.m_z1), m_z2(other.m_z2)
{
  for (const auto& child : other.m_children)
    m_children.emplace_back(child->Copy());
}

dovCZyn_2DObject* dovCZyn_Extrusion::GetChild(long i) const
{
  return i < 0 || i >= GetChildCount() ? nullptr : m_children[static_cast<size_t>(i)].get();
}

void dovCZyn_Extrusion::AddChild(const dovCZyn_2DObject& child)
{
  m_children.emplace_back(child.Copy());
}

int dovCZyn_Extrusion::Get2DPolygon(long i, dovCZyn_2DPolygon* polygon) const
{
  const dovCZyn_2DObject* child = GetChild(i);
  if (!child || !polygon)
    return 0;
  if (const auto* circle = dynamic_cast<const dovCZyn_2DCircle*>(child))
    circle->GetPolygon(*polygon);
  else
    *polygon = *static_cast<const dovCZyn_2DPolygon*>(child);
  return 1;
}

void dovCZyn_Wire::Get3DPolyline(dovCZyn_3DPolyline* path) const
{
  if (!path)
    return;
  path->RemoveAllPoints();
  for (const dovCZyn_3DPolyline& piece : m_pieces)
    path->Append(piece);
}
