#include "zyn/dovCZyn_Attribute.h"

#include "zyn/test_control.h"

IMPLEMENT_DYNAMIC(dovCZyn_Attribute, dovCZyn_Object)

namespace
{
long s_liveAttributes = 0;
}

dovCZyn_Attribute::dovCZyn_Attribute(const char* name, const char* value)
  : m_name(name), m_value(value)
{
  ++s_liveAttributes;
}

dovCZyn_Attribute::dovCZyn_Attribute(dovCZyn_Table* table, long index, const char* name,
                                     const char* value)
  : m_name(name), m_value(value), m_table(table), m_index(index)
{
  ++s_liveAttributes;
}

dovCZyn_Attribute::~dovCZyn_Attribute()
{
  --s_liveAttributes;
}

long zynTestLiveAttributeCount()
{
  return s_liveAttributes;
}
