// Construction, the container's lists (poly data, tables, design rules, wire models),
// progress and units.
#include "dovCQel.h"

#include <cstring>
#include <strings.h>

#include <vtkObject.h>

IMPLEMENT_DYNAMIC(dovCQel, CObject)

namespace
{
template <class T>
T* itemAt(const CArray<T*>& items, long i)
{
  return i < 0 || i >= items.GetSize() ? nullptr : items[static_cast<int>(i)];
}

// The first item with the given name, or null.
template <class T>
T* itemNamed(const CArray<T*>& items, const char* name)
{
  for (T* item : items)
    if (std::strcmp(item->GetName(), name) == 0)
      return item;
  return nullptr;
}

template <class T>
void deleteAll(CArray<T*>& items)
{
  for (T* item : items)
    delete item;
  items.RemoveAll();
}

bool isInternalTable(const char* name)
{
  return std::strncmp(name, "Zyn_INT_", 8) == 0;
}
} // namespace

dovCQel::dovCQel() : m_polyData(dovCQelPolyDataCollection::New())
{
  vtkObject::GlobalWarningDisplayOff();
}

dovCQel::~dovCQel()
{
  ReleaseAllPolyData();
  m_polyData->RemoveAllItems();
  m_polyData->Delete();
  deleteAll(m_drcRules);
  deleteAll(m_wireModels);
  deleteAll(m_tables);
}

void dovCQel::Clear()
{
  ReleaseAllPolyData();
  m_polyData->RemoveAllItems();
  // Rules go before tables: their geometries drop their references on the rows.
  deleteAll(m_drcRules);
  deleteAll(m_tables);
  m_polyDataById.RemoveAll();
}

void dovCQel::ReleasePolyData(dovCQelPolyData* polyData, bool detachOwned)
{
  std::vector<dovCZyn_Attribute*> owned;
  for (long i = polyData->GetAttributeCount() - 1; i >= 0; --i)
  {
    dovCZyn_Attribute* attribute = polyData->EnumAttribute(i);
    if (attribute->GetTable())
      polyData->ReplaceAttribute(attribute, nullptr);
    else if (detachOwned)
    {
      polyData->ReplaceAttribute(attribute, nullptr);
      if (std::find(owned.begin(), owned.end(), attribute) == owned.end())
        owned.push_back(attribute);
    }
  }
  for (dovCZyn_Attribute* attribute : owned)
    delete attribute;
  for (dovCZyn_WireModel* model : m_wireModels)
    while (model->GetReferrers().HasReference(polyData))
      model->RemoveReference(polyData);
  m_polyDataById.RemoveIf([polyData](long, dovCQelPolyData* held) { return held == polyData; });
}

void dovCQel::ReleaseAllPolyData()
{
  // The rows die with the tables while an application may still hold a poly data, so the
  // rows are detached here; owned attributes go with the poly data itself.
  m_polyData->ForEachItem([this](vtkPolyData* item) {
    if (auto* polyData = dovCQelPolyData::SafeDownCast(item))
      ReleasePolyData(polyData, false);
  });
  m_polyDataById.RemoveAll();
}

long dovCQel::GetPolyDataCount() const
{
  return m_polyData->GetNumberOfItems();
}

vtkPolyData* dovCQel::GetPolyData(long i) const
{
  if (i < 0 || i >= GetPolyDataCount())
    return nullptr;
  return vtkPolyData::SafeDownCast(m_polyData->GetItemAsObject(static_cast<int>(i)));
}

dovCQelPolyData* dovCQel::GetPolyDataByID(long id) const
{
  dovCQelPolyData* polyData = nullptr;
  m_polyDataById.Lookup(id, polyData);
  return polyData;
}

int dovCQel::UpdatePolydata(long id, dovCQelPolyData* polyData)
{
  dovCQelPolyData* held = nullptr;
  if (!m_polyDataById.Lookup(id, held))
    return 0;
  m_polyDataById.SetAt(id, polyData);
  return 1;
}

void dovCQel::DeletePolyData(dovCQelPolyData* polyData)
{
  if (!polyData || !m_polyData->IsItemPresent(polyData))
    return;
  ReleasePolyData(polyData, true);
  m_polyData->RemoveItem(polyData);
}

void dovCQel::AppendPolyData(dovCQelPolyData* polyData, DOV_Zyn_OBJ type)
{
  polyData->SetObjectType(type);
  m_polyData->AddItem(polyData);
  polyData->Delete();
}

// Tables.

dovCZyn_Table* dovCQel::GetTable(long i) const
{
  return itemAt(m_tables, i);
}

dovCZyn_Table* dovCQel::GetTable(const char* name) const
{
  return itemNamed(m_tables, name);
}

void dovCQel::AddTable(dovCZyn_Table* table)
{
  if (table)
    m_tables.Add(table);
}

dovCZyn_Attribute* dovCQel::AddAttribute(const char* table, long index, const char* value)
{
  dovCZyn_Table* target = GetTable(table);
  if (!target)
  {
    target = new dovCZyn_Table(table);
    m_tables.Add(target);
  }
  return target->AddAttribute(index, value);
}

int dovCQel::RemoveAttribute(const char* table, long index)
{
  dovCZyn_Table* target = GetTable(table);
  return target ? target->RemoveAttribute(index) : 0;
}

long dovCQel::GetAttributeReferenceCount(const char* table, long index) const
{
  const dovCZyn_Table* target = GetTable(table);
  const dovCZyn_Attribute* row = target ? target->GetAttribute(index) : nullptr;
  return row ? row->GetReferenceCount() : 0;
}

void dovCQel::DeleteTableAt(int i)
{
  delete m_tables[i];
  m_tables.RemoveAt(i);
}

void dovCQel::PurgeTable(const char* name)
{
  for (int i = 0; i < m_tables.GetSize(); ++i)
  {
    dovCZyn_Table* table = m_tables[i];
    if (std::strcmp(table->GetName(), name) != 0)
      continue;
    if (isInternalTable(name))
      return;
    for (long r = table->GetAttributeCount() - 1; r >= 0; --r)
    {
      const dovCZyn_Attribute* row = table->EnumAttribute(r);
      if (row->GetIndex() != 0 && row->GetReferenceCount() == 0)
        table->RemoveAttribute(row->GetIndex());
    }
    if (table->GetAttributeCount() == 0)
      DeleteTableAt(i);
    return;
  }
}

void dovCQel::PurgeAllTables()
{
  for (int i = m_tables.GetSize() - 1; i >= 0; --i)
  {
    dovCZyn_Table* table = m_tables[i];
    if (isInternalTable(table->GetName()))
      continue;
    for (long r = table->GetAttributeCount() - 1; r >= 0; --r)
    {
      const dovCZyn_Attribute* row = table->EnumAttribute(r);
      if (row->GetReferenceCount() == 0)
        table->RemoveAttribute(row->GetIndex());
    }
    if (table->GetAttributeCount() == 0)
      DeleteTableAt(i);
  }
}

// Design rules.

long dovCQel::GetMaximumDRCIndex() const
{
  long maximum = 0;
  for (const dovCZyn_DRCRule* rule : m_drcRules)
    maximum = std::max(maximum, rule->GetIndex());
  return maximum;
}

dovCZyn_DRCRule* dovCQel::GetDRCRule(long i) const
{
  return itemAt(m_drcRules, i);
}

dovCZyn_DRCRule* dovCQel::GetDRCRule(const char* name) const
{
  return itemNamed(m_drcRules, name);
}

void dovCQel::AddDRCRule(dovCZyn_DRCRule* rule)
{
  if (rule)
    m_drcRules.Add(new dovCZyn_DRCRule(*rule));
}

void dovCQel::DeleteDRCRule(long i)
{
  if (i < 0 || i >= GetDRCRuleCount())
    return;
  delete m_drcRules[static_cast<int>(i)];
  m_drcRules.RemoveAt(static_cast<int>(i));
}

// Wire models.

long dovCQel::GetMaximumWireModelIndex() const
{
  long maximum = 0;
  for (const dovCZyn_WireModel* model : m_wireModels)
    maximum = std::max(maximum, model->GetIndex());
  return maximum;
}

dovCZyn_WireModel* dovCQel::GetWireModel(long i) const
{
  return itemAt(m_wireModels, i);
}

void dovCQel::AddWireModel(dovCZyn_WireModel* model)
{
  if (!model)
    return;
  auto* copy = new dovCZyn_WireModel(*model);
  copy->SetUpdate(8, 1);
  m_wireModels.Add(copy);
}

int dovCQel::DeleteWireModel(long i)
{
  dovCZyn_WireModel* model = GetWireModel(i);
  if (!model || model->GetReferenceCount() > 0)
    return 0;
  delete model;
  m_wireModels.RemoveAt(static_cast<int>(i));
  return 1;
}

// Progress.

void dovCQel::ResetProgress(long steps)
{
  if (!m_progressBar)
    return;
  SendMessage(m_progressBar->GetSafeHwnd(), PBM_SETRANGE32, 0, static_cast<LPARAM>(steps));
  SendMessage(m_progressBar->GetSafeHwnd(), PBM_SETPOS, 0, 0);
  SendMessage(m_progressBar->GetSafeHwnd(), PBM_SETSTEP, 1, 0);
}

void dovCQel::DoProgress()
{
  if (m_progressBar)
    SendMessage(m_progressBar->GetSafeHwnd(), PBM_STEPIT, 0, 0);
}

void DovQelProgress(void* container)
{
  if (container)
    static_cast<dovCQel*>(container)->DoProgress();
}

// Units.

DOV_Zyn_UNITS dovCQel::StringToUnits(const char* name)
{
  struct Entry
  {
    const char* name;
    DOV_Zyn_UNITS units;
  };
  static const Entry s_names[] = {
    {"UM", DOV_Zyn_MICRONS},           {"MICRON", DOV_Zyn_MICRONS},
    {"MICRONS", DOV_Zyn_MICRONS},      {"MM", DOV_Zyn_MILLIMETERS},
    {"MILLIMETER", DOV_Zyn_MILLIMETERS}, {"MILLIMETRE", DOV_Zyn_MILLIMETERS},
    {"MILLIMETERS", DOV_Zyn_MILLIMETERS}, {"MILLIMETRES", DOV_Zyn_MILLIMETERS},
    {"CM", DOV_Zyn_CENTIMETERS},       {"CENTIMETER", DOV_Zyn_CENTIMETERS},
    {"CENTIMETRE", DOV_Zyn_CENTIMETERS}, {"CENTIMETERS", DOV_Zyn_CENTIMETERS},
    {"CENTIMETRES", DOV_Zyn_CENTIMETERS}, {"IN", DOV_Zyn_INCHES},
    {"INCH", DOV_Zyn_INCHES},          {"INCHES", DOV_Zyn_INCHES},
    {"ML", DOV_Zyn_MILS},              {"MIL", DOV_Zyn_MILS},
    {"MILS", DOV_Zyn_MILS},
  };
  for (const Entry& entry : s_names)
    if (name && ::strcasecmp(name, entry.name) == 0)
      return entry.units;
  return DOV_Zyn_MICRONS;
}

const char* dovCQel::UnitsToString(DOV_Zyn_UNITS units)
{
  switch (units)
  {
  case DOV_Zyn_MILLIMETERS:
    return "mm";
  case DOV_Zyn_CENTIMETERS:
    return "cm";
  case DOV_Zyn_MILS:
    return "mils";
  case DOV_Zyn_INCHES:
    return "in";
  default:
    return "um";
  }
}
