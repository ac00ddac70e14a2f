#include "zyn/dovCZyn.h"

IMPLEMENT_DYNAMIC(dovCZyn, dovCZyn_Object)

namespace
{
template <class T>
T* at(const std::vector<T*>& items, long i)
{
  return i < 0 || i >= static_cast<long>(items.size()) ? nullptr : items[static_cast<size_t>(i)];
}

template <class T>
T* append(std::vector<T*>& items, T* item)
{
  if (item)
    items.push_back(item);
  return item;
}

template <class T>
void deleteAll(std::vector<T*>& items)
{
  for (T* item : items)
    delete item;
  items.clear();
}
} // namespace

dovCZyn::~dovCZyn()
{
  deleteAll(m_geometries);
  deleteAll(m_markers);
  deleteAll(m_rules);
  deleteAll(m_wireModels);
  deleteAll(m_tables);
}

dovCZyn_Table* dovCZyn::GetTable(long i) const { return at(m_tables, i); }

dovCZyn_Table* dovCZyn::GetTable(const char* name) const
{
  for (dovCZyn_Table* table : m_tables)
    if (CString(table->GetName()) == name)
      return table;
  return nullptr;
}

dovCZyn_Table* dovCZyn::AddTable(dovCZyn_Table* table) { return append(m_tables, table); }
dovCZyn_Geometry* dovCZyn::GetGeometry(long i) const { return at(m_geometries, i); }
dovCZyn_Geometry* dovCZyn::AddGeometry(dovCZyn_Geometry* g) { return append(m_geometries, g); }
dovCZyn_DRCRule* dovCZyn::GetDRCRule(long i) const { return at(m_rules, i); }
dovCZyn_DRCRule* dovCZyn::AddDRCRule(dovCZyn_DRCRule* rule) { return append(m_rules, rule); }
dovCZyn_Geometry* dovCZyn::GetDRCMarker(long i) const { return at(m_markers, i); }
dovCZyn_Geometry* dovCZyn::AddDRCMarker(dovCZyn_Geometry* m) { return append(m_markers, m); }
dovCZyn_WireModel* dovCZyn::GetWireModel(long i) const { return at(m_wireModels, i); }
dovCZyn_WireModel* dovCZyn::AddWireModel(dovCZyn_WireModel* m) { return append(m_wireModels, m); }
