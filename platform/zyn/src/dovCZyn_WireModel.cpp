#include "zyn/dovCZyn_WireModel.h"

IMPLEMENT_DYNAMIC(dovCZyn_WMStep, dovCZyn_Object)
IMPLEMENT_DYNAMIC(dovCZyn_WireModel, dovCZyn_Object)

long dovZynApplyUpdate(long word, long flags, int add)
{
  if (flags == 0)
    return 0;
  return add ? (word | flags) : (word ^ flags);
}

dovCZyn_WireModel::dovCZyn_WireModel(const dovCZyn_WireModel& other)
  : dovCZyn_Object(other),
    m_index(other.m_index),
    m_name(other.m_name),
    m_direction(other.m_direction),
    m_radius(other.m_radius),
    m_steps(other.m_steps),
    m_update(other.m_update)
{
}

const dovCZyn_WMStep* dovCZyn_WireModel::GetStep(long i) const
{
  return i < 0 || i >= GetStepCount() ? nullptr : &m_steps[static_cast<size_t>(i)];
}

long dovCZyn_WireModel::GetPointCount() const
{
  long points = 2;
  for (const dovCZyn_WMStep& step : m_steps)
    if (!step.IsSwitch())
      ++points;
  return points;
}

long dovCZyn_WireModel::SetUpdate(long flags, int add)
{
  m_update = dovZynApplyUpdate(m_update, flags, add);
  return m_update;
}
