#include "dovCQelRenderLargeImage.h"

#include <vtkObjectFactory.h>

vtkObjectFactoryNewMacro(dovCQelRenderLargeImage);
