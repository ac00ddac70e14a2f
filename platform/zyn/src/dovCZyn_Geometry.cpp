#include "zyn/dovCZyn_Geometry.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(dovCZyn_Geometry, dovCZyn_Object)

dovCZyn_Geometry::dovCZyn_Geometry(const dovCZyn_Geometry& other)
  : dovCZyn_Object(other), dovCZyn_Referrer(other)
{
  for (dovCZyn_Attribute* attribute : other.m_attributes)
    AddAttribute(attribute->GetTable()
                   ? attribute
                   : new dovCZyn_Attribute(attribute->GetName(), attribute->GetValue()));
}

dovCZyn_Geometry::~dovCZyn_Geometry()
{
  std::vector<dovCZyn_Attribute*> owned;
  for (dovCZyn_Attribute* attribute : m_attributes)
  {
    if (attribute->GetTable())
      attribute->RemoveReference(this);
    else
      owned.push_back(attribute);
  }
  // A free attribute added twice is still deleted once.
  std::sort(owned.begin(), owned.end());
  owned.erase(std::unique(owned.begin(), owned.end()), owned.end());
  for (dovCZyn_Attribute* attribute : owned)
    delete attribute;
}

dovCZyn_Attribute* dovCZyn_Geometry::GetAttribute(long i) const
{
  return i < 0 || i >= GetAttributeCount() ? nullptr : m_attributes[static_cast<size_t>(i)];
}

dovCZyn_Attribute* dovCZyn_Geometry::GetAttribute(const char* name) const
{
  for (dovCZyn_Attribute* attribute : m_attributes)
    if (std::strcmp(attribute->GetName(), name) == 0)
      return attribute;
  return nullptr;
}

void dovCZyn_Geometry::AddAttribute(dovCZyn_Attribute* attribute)
{
  if (!attribute)
    return;
  m_attributes.push_back(attribute);
  if (attribute->GetTable())
    attribute->AddReference(this);
}

void dovCZyn_Geometry::ReplaceAttribute(dovCZyn_Attribute* old, dovCZyn_Attribute* replacement)
{
  auto it = std::find(m_attributes.begin(), m_attributes.end(), old);
  if (it == m_attributes.end())
    return;
  if (replacement)
  {
    *it = replacement;
    if (replacement->GetTable())
      replacement->AddReference(this);
  }
  else
    m_attributes.erase(it);
  if (old->GetTable())
    old->RemoveReference(this);
  else if (std::find(m_attributes.begin(), m_attributes.end(), old) == m_attributes.end())
    delete old;
}

void dovCZyn_Geometry::OrderAttributes()
{
  std::stable_sort(m_attributes.begin(), m_attributes.end(),
                   [](const dovCZyn_Attribute* a, const dovCZyn_Attribute* b) {
                     return std::strcmp(a->GetName(), b->GetName()) < 0;
                   });
}
