#include "dovCQelPolyDataCollection.h"

#include <vtkObjectFactory.h>
#include <vtkPolyData.h>

vtkObjectFactoryNewMacro(dovCQelPolyDataCollection);

vtkPolyData* dovCQelPolyDataCollection::GetLastItem() const
{
  return Bottom ? vtkPolyData::SafeDownCast(Bottom->Item) : nullptr;
}
