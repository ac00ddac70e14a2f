#include "zyn/dovCZyn_Table.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(dovCZyn_Table, dovCZyn_Object)

dovCZyn_Table::dovCZyn_Table(const char* name) : m_name(name) {}

dovCZyn_Table::dovCZyn_Table(const dovCZyn_Table& other) : dovCZyn_Object(other), m_name(other.m_name)
{
  m_rows.reserve(other.m_rows.size());
  for (const dovCZyn_Attribute* row : other.m_rows)
    m_rows.push_back(new dovCZyn_Attribute(this, row->GetIndex(), m_name, row->GetValue()));
}

dovCZyn_Table::~dovCZyn_Table()
{
  for (dovCZyn_Attribute* row : m_rows)
    delete row;
}

dovCZyn_Attribute* dovCZyn_Table::AddAttribute(long index, const char* value)
{
  if (dovCZyn_Attribute* row = GetAttribute(index))
  {
    row->SetValue(value);
    return row;
  }
  m_rows.push_back(new dovCZyn_Attribute(this, index, m_name, value));
  return m_rows.back();
}

dovCZyn_Attribute* dovCZyn_Table::GetAttribute(long index) const
{
  for (dovCZyn_Attribute* row : m_rows)
    if (row->GetIndex() == index)
      return row;
  return nullptr;
}

int dovCZyn_Table::RemoveAttribute(long index)
{
  auto it = std::find_if(m_rows.begin(), m_rows.end(),
                         [index](const dovCZyn_Attribute* row) { return row->GetIndex() == index; });
  if (it == m_rows.end() || (*it)->GetReferenceCount() > 0)
    return 0;
  delete *it;
  m_rows.erase(it);
  return 1;
}

dovCZyn_Attribute* dovCZyn_Table::EnumAttribute(long i) const
{
  return i < 0 || i >= GetAttributeCount() ? nullptr : m_rows[static_cast<size_t>(i)];
}

dovCZyn_Attribute* dovCZyn_Table::FindValue(const char* value) const
{
  for (dovCZyn_Attribute* row : m_rows)
    if (CString(row->GetValue()) == value)
      return row;
  return nullptr;
}

long dovCZyn_Table::GetMaximumIndex() const
{
  long maximum = 0;
  for (const dovCZyn_Attribute* row : m_rows)
    maximum = std::max(maximum, row->GetIndex());
  return maximum;
}
