// Filling the container from a wire model.
#include <cstdlib>

#include "dovCQel.h"

namespace
{
// The container row standing for a model row: same table name, same index; null if none.
dovCZyn_Attribute* containerRow(const dovCQel& qel, const dovCZyn_Attribute* modelRow)
{
  dovCZyn_Table* table = qel.GetTable(modelRow->GetTable()->GetName());
  return table ? table->GetAttribute(modelRow->GetIndex()) : nullptr;
}

// A copy of a model geometry whose table rows are the container's. Rows the container
// lacks are dropped, so the copy never points into the model.
dovCZyn_Geometry* copyOntoContainer(const dovCQel& qel, const dovCZyn_Geometry& geometry)
{
  dovCZyn_Geometry* copy = geometry.Copy();
  std::vector<dovCZyn_Attribute*> attributes;
  for (long i = 0; i < copy->GetAttributeCount(); ++i)
    attributes.push_back(copy->GetAttribute(i));
  for (dovCZyn_Attribute* attribute : attributes)
    if (attribute->GetTable())
      copy->ReplaceAttribute(attribute, containerRow(qel, attribute));
  return copy;
}
} // namespace

void dovCQel::ImportData(dovCZyn* model)
{
  Clear();
  m_units = model->GetUnits();
  m_precision = model->GetPrecision();

  for (long i = 0; i < model->GetTableCount(); ++i)
    m_tables.Add(new dovCZyn_Table(*model->GetTable(i)));

  // Rule inputs and markers keep their references on the container rows they use, so a
  // purge cannot delete a row a rule still points to.
  for (long i = 0; i < model->GetDRCRuleCount(); ++i)
  {
    const dovCZyn_DRCRule* source = model->GetDRCRule(i);
    auto* rule = new dovCZyn_DRCRule(source->GetIndex(), source->GetRule(), source->GetName());
    for (long j = 0; j < source->GetInputCount(); ++j)
      if (const dovCZyn_Geometry* input = source->GetInput(j))
        rule->SetInput(j, copyOntoContainer(*this, *input));
    for (long j = 0; j < source->GetParameterCount(); ++j)
      rule->SetParameter(j, source->GetParameter(j));
    if (const dovCZyn_Geometry* marker = source->GetMarker())
      rule->SetMarker(copyOntoContainer(*this, *marker));
    m_drcRules.Add(rule);
  }

  // Earlier wire models go; nothing refers to them once the poly data are cleared.
  for (dovCZyn_WireModel* old : m_wireModels)
    delete old;
  m_wireModels.RemoveAll();
  for (long i = 0; i < model->GetWireModelCount(); ++i)
    m_wireModels.Add(new dovCZyn_WireModel(*model->GetWireModel(i)));

  const long count = model->GetGeometryCount();
  ResetProgress(count / 100 + 1);
  for (long i = 0; i < count; ++i)
  {
    if (i % 100 == 0)
      DoProgress();
    dovCZyn_Geometry* geometry = model->GetGeometry(i);
    dovCQelPolyData* polyData = ConvertGeometry(geometry);
    const dovCZyn_Attribute* id = geometry->GetAttribute("ID");
    if (polyData && id)
      m_polyDataById.SetAt(std::atol(id->GetValue()), polyData);
  }

  ConvertDRCMarkers(model, true);
  BuildLayerColorTable();
}

void dovCQel::ImportDRCMarkers(dovCZyn* model)
{
  ConvertDRCMarkers(model, false);
  BuildLayerColorTable();
}

void dovCQel::ConvertDRCMarkers(dovCZyn* model, bool skipMarked)
{
  // A model without a "DRC_ERROR" row gives its markers no row at all.
  const dovCZyn_Table* objects = model->GetTable("OBJECT");
  const dovCZyn_Table* layers = model->GetTable("LAYER");
  dovCZyn_Attribute* objectRow = objects ? objects->FindValue("DRC_ERROR") : nullptr;
  dovCZyn_Attribute* layerRow = layers ? layers->FindValue("DRC_ERROR") : nullptr;

  for (long i = 0; i < model->GetDRCMarkerCount(); ++i)
  {
    dovCZyn_Geometry* marker = model->GetDRCMarker(i);
    if (objectRow && !(skipMarked && marker->GetAttribute("OBJECT")))
      marker->AddAttribute(objectRow);
    if (layerRow && !(skipMarked && marker->GetAttribute("LAYER")))
      marker->AddAttribute(layerRow);
    marker->OrderAttributes();
    ConvertGeometry(marker);
  }
}

dovCQelPolyData* dovCQel::ConvertGeometry(dovCZyn_Geometry* geometry)
{
  const long before = GetPolyDataCount();
  switch (geometry->GetObjectType())
  {
  case DOV_Zyn_OBJ_EXTRUSION:
    AddPolyData(static_cast<dovCZyn_Extrusion*>(geometry));
    break;
  case DOV_Zyn_OBJ_WIRE:
    AddPolyData(static_cast<dovCZyn_Wire*>(geometry), nullptr);
    break;
  case DOV_Zyn_OBJ_SPHERE:
    AddPolyData(static_cast<dovCZyn_Sphere*>(geometry));
    break;
  case DOV_Zyn_OBJ_BARREL:
    AddPolyData(static_cast<dovCZyn_Barrel*>(geometry));
    break;
  default:
    return nullptr;
  }
  if (GetPolyDataCount() == before)
    return nullptr;
  return dovCQelPolyData::SafeDownCast(m_polyData->GetLastItem());
}
