#include "zyn/dovCZyn_DRCRule.h"

IMPLEMENT_DYNAMIC(dovCZyn_DRCRule, dovCZyn_Object)

dovCZyn_DRCRule::dovCZyn_DRCRule(const dovCZyn_DRCRule& other)
  : dovCZyn_Object(other),
    m_index(other.m_index),
    m_rule(other.m_rule),
    m_name(other.m_name),
    m_parameters(other.m_parameters),
    m_current(other.m_current)
{
  for (const dovCZyn_Geometry* input : other.m_inputs)
    m_inputs.push_back(input ? input->Copy() : nullptr);
  if (other.m_marker)
    m_marker = other.m_marker->Copy();
}

dovCZyn_DRCRule::~dovCZyn_DRCRule()
{
  for (dovCZyn_Geometry* input : m_inputs)
    delete input;
  delete m_marker;
}

dovCZyn_Geometry* dovCZyn_DRCRule::GetInput(long j) const
{
  return j < 0 || j >= GetInputCount() ? nullptr : m_inputs[static_cast<size_t>(j)];
}

void dovCZyn_DRCRule::SetInput(long j, dovCZyn_Geometry* input)
{
  if (j < 0)
  {
    delete input;
    return;
  }
  if (j >= GetInputCount())
    m_inputs.resize(static_cast<size_t>(j) + 1, nullptr);
  if (m_inputs[static_cast<size_t>(j)] != input)
    delete m_inputs[static_cast<size_t>(j)];
  m_inputs[static_cast<size_t>(j)] = input;
}

double dovCZyn_DRCRule::GetParameter(long j) const
{
  return j < 0 || j >= GetParameterCount() ? 0.0 : m_parameters[static_cast<size_t>(j)];
}

void dovCZyn_DRCRule::SetParameter(long j, double value)
{
  if (j < 0)
    return;
  if (j >= GetParameterCount())
    m_parameters.resize(static_cast<size_t>(j) + 1, 0.0);
  m_parameters[static_cast<size_t>(j)] = value;
}

void dovCZyn_DRCRule::SetMarker(dovCZyn_Geometry* marker)
{
  if (m_marker != marker)
    delete m_marker;
  m_marker = marker;
}
