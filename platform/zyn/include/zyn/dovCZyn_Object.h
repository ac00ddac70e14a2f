#pragma once
// Root of the wire-model classes.
#include <mfc/CObject.h>

#include "zyn/Types.h"

class dovCZyn_Object : public CObject
{
  DECLARE_DYNAMIC(dovCZyn_Object)

public:
  virtual DOV_Zyn_OBJ GetObjectType() const { return DOV_Zyn_OBJ_OBJECT; }
};
