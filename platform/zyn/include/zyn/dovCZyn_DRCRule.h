#pragma once
// A design-rule check: its inputs (geometries), numeric parameters and the marker geometry
// that shows where it fails. The rule owns its inputs and marker.
#include <mfc/CString.h>

#include <vector>

#include "zyn/dovCZyn_Geometry.h"

class dovCZyn_DRCRule : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_DRCRule)

public:
  dovCZyn_DRCRule(long index, long rule, const char* name)
    : m_index(index), m_rule(rule), m_name(name)
  {
  }
  // Copies inputs and marker (their own Copy), parameters and state.
  dovCZyn_DRCRule(const dovCZyn_DRCRule& other);
  dovCZyn_DRCRule& operator=(const dovCZyn_DRCRule&) = delete;
  ~dovCZyn_DRCRule() override;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_DRCRULE; }

  long GetIndex() const { return m_index; }
  long GetRule() const { return m_rule; }
  const char* GetName() const { return m_name; }

  long GetInputCount() const { return static_cast<long>(m_inputs.size()); }
  // Input j; null when out of range or not set.
  dovCZyn_Geometry* GetInput(long j) const;
  // Takes ownership of `input` as input j, growing the list; a previous input j is deleted.
  void SetInput(long j, dovCZyn_Geometry* input);

  long GetParameterCount() const { return static_cast<long>(m_parameters.size()); }
  // Parameter j; 0 when out of range.
  double GetParameter(long j) const;
  // Sets parameter j, growing the list with zeros.
  void SetParameter(long j, double value);

  dovCZyn_Geometry* GetMarker() const { return m_marker; }
  // Takes ownership; a previous marker is deleted.
  void SetMarker(dovCZyn_Geometry* marker);

  int GetCurrent() const { return m_current; }
  void SetCurrent(int current) { m_current = current; }

private:
  long m_index;
  long m_rule;
  CString m_name;
  std::vector<dovCZyn_Geometry*> m_inputs;
  std::vector<double> m_parameters;
  dovCZyn_Geometry* m_marker = nullptr;
  int m_current = 1;
};
