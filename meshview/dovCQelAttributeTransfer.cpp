// How a geometry's attributes reach the poly data made from it.
#include "dovCQel.h"

void dovCQel::TransferAttribute(dovCZyn_Attribute* attribute, dovCQelPolyData* polyData)
{
  if (attribute->GetTable())
  {
    // A table row becomes the container's row of the same table and index, shared.
    const dovCZyn_Table* table = GetTable(attribute->GetName());
    if (dovCZyn_Attribute* row = table ? table->GetAttribute(attribute->GetIndex()) : nullptr)
      polyData->AddAttribute(row);
    return;
  }
  polyData->AddAttribute(new dovCZyn_Attribute(attribute->GetName(), attribute->GetValue()));
}

void dovCQel::TransferAttributes(const dovCZyn_Geometry* geometry, dovCQelPolyData* polyData)
{
  for (long i = 0; i < geometry->GetAttributeCount(); ++i)
    TransferAttribute(geometry->GetAttribute(i), polyData);
}
