#include "dovCQelPolyDataCollection.h"

#include <vtkObjectFactory.h>

vtkObjectFactoryNewMacro(dovCQelPolyDataCollection);
