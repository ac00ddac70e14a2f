#include "zyn/dovCZyn_Object.h"

IMPLEMENT_DYNAMIC(dovCZyn_Object, CObject)
