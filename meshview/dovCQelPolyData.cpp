#include "dovCQelPolyData.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <vtkActor.h>
#include <vtkMapper.h>
#include <vtkObjectFactory.h>
#include <zyn/dovColor.h>
#include <zyn/dovCZyn_WireModel.h>

vtkObjectFactoryNewMacro(dovCQelPolyData);

dovCQelPolyData::~dovCQelPolyData()
{
  std::vector<dovCZyn_Attribute*> owned;
  for (dovCZyn_Attribute* attribute : m_attributes)
    if (!attribute->GetTable())
      owned.push_back(attribute);
  // An owned attribute added twice is still deleted once.
  std::sort(owned.begin(), owned.end());
  owned.erase(std::unique(owned.begin(), owned.end()), owned.end());
  for (dovCZyn_Attribute* attribute : owned)
    delete attribute;
}

dovCZyn_Attribute* dovCQelPolyData::EnumAttribute(long i) const
{
  return i < 0 || i >= GetAttributeCount() ? nullptr : m_attributes[static_cast<int>(i)];
}

dovCZyn_Attribute* dovCQelPolyData::GetAttribute(const char* name) const
{
  for (dovCZyn_Attribute* attribute : m_attributes)
    if (std::strcmp(attribute->GetName(), name) == 0)
      return attribute;
  return nullptr;
}

long dovCQelPolyData::GetAttributeIndex(const CString& name) const
{
  const dovCZyn_Attribute* attribute = GetAttribute(name);
  return attribute ? attribute->GetIndex() : 0;
}

void dovCQelPolyData::AddAttribute(dovCZyn_Attribute* attribute)
{
  if (!attribute)
    return;
  m_attributes.Add(attribute);
  attribute->AddReference(this);
}

void dovCQelPolyData::ReplaceAttribute(dovCZyn_Attribute* old, dovCZyn_Attribute* replacement)
{
  for (int i = 0; i < m_attributes.GetSize(); ++i)
  {
    if (m_attributes[i] != old)
      continue;
    if (replacement)
    {
      m_attributes[i] = replacement;
      replacement->AddReference(this);
    }
    else
      m_attributes.RemoveAt(i);
    old->RemoveReference(this);
    return;
  }
}

long dovCQelPolyData::SetUpdate(long flags, int add)
{
  m_update = dovZynApplyUpdate(m_update, flags, add);
  return m_update;
}

void dovCQelPolyData::GetColor(int& r, int& g, int& b, int& a) const
{
  r = g = b = a = 255;
  if (const dovCZyn_Attribute* colour = GetAttribute("COLOR"))
    dovStringToRgba(colour->GetValue(), r, g, b, a);
}

void dovCQelPolyData::SetView(vtkMapper* mapper, vtkActor* actor)
{
  m_mapper = mapper;
  m_actor = actor;
}
