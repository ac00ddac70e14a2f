#pragma once
// Wire models: named recipes for the path of a bond wire, as a list of steps. The poly
// data built from wires that follow a model are listed as its referrers.
#include <mfc/CString.h>

#include <vector>

#include "zyn/dovCZyn_ReferrerList.h"
#include "zyn/dovCZyn_Object.h"

class dovCZyn_WMStep : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_WMStep)

public:
  // A switch step: the path continues from the other end.
  dovCZyn_WMStep() = default;
  // A move: horizontal kind and amount, vertical kind and amount.
  dovCZyn_WMStep(DOV_Zyn_WM_STEP horKind, double hor, DOV_Zyn_WM_STEP verKind, double ver)
    : m_switch(false), m_horKind(horKind), m_hor(hor), m_verKind(verKind), m_ver(ver)
  {
  }
  dovCZyn_WMStep(const dovCZyn_WMStep&) = default;
  dovCZyn_WMStep& operator=(const dovCZyn_WMStep&) = default;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_WMSTEP; }

  bool IsSwitch() const { return m_switch; }
  void GetHorStep(DOV_Zyn_WM_STEP& kind, double& amount) const
  {
    kind = m_horKind;
    amount = m_hor;
  }
  void GetVerStep(DOV_Zyn_WM_STEP& kind, double& amount) const
  {
    kind = m_verKind;
    amount = m_ver;
  }

private:
  bool m_switch = true;
  DOV_Zyn_WM_STEP m_horKind = DOV_Zyn_WM_LENGTH;
  double m_hor = 0;
  DOV_Zyn_WM_STEP m_verKind = DOV_Zyn_WM_LENGTH;
  double m_ver = 0;
};

class dovCZyn_WireModel : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_WireModel)

public:
  // Direction 2 means the wire runs from its end to its start.
  dovCZyn_WireModel(long index, const char* name, long direction, double radius)
    : m_index(index), m_name(name), m_direction(direction), m_radius(radius)
  {
  }
  // Copies everything but the referrers, which belong to the original's users.
  dovCZyn_WireModel(const dovCZyn_WireModel& other);
  dovCZyn_WireModel& operator=(const dovCZyn_WireModel&) = delete;
  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_WIREMODEL; }

  long GetIndex() const { return m_index; }
  const char* GetName() const { return m_name; }
  void SetName(const char* name) { m_name = name; }
  long GetDirection() const { return m_direction; }
  void SetDirection(long direction) { m_direction = direction; }
  double GetRadius() const { return m_radius; }
  void SetRadius(double radius) { m_radius = radius; }

  long GetStepCount() const { return static_cast<long>(m_steps.size()); }
  // Step i; null when out of range.
  const dovCZyn_WMStep* GetStep(long i) const;
  void AddStep(const dovCZyn_WMStep& step) { m_steps.push_back(step); }
  void RemoveAllSteps() { m_steps.clear(); }
  // Points of the path the model makes: both ends and one per move step.
  long GetPointCount() const;

  void AddReference(dovCZyn_Referrer* who) { m_referrers.AddReference(who); }
  void RemoveReference(dovCZyn_Referrer* who) { m_referrers.RemoveReference(who); }
  long GetReferenceCount() const { return m_referrers.GetReferenceCount(); }
  dovCZyn_Referrer* GetReference(long i) const { return m_referrers.GetReference(i); }
  const dovCZyn_ReferrerList& GetReferrers() const { return m_referrers; }

  long GetUpdate() const { return m_update; }
  // Flags 0 clears the word; otherwise ORs the flags in (add non-zero) or toggles them
  // (add 0). Returns the new word.
  long SetUpdate(long flags, int add);

private:
  long m_index;
  CString m_name;
  long m_direction;
  double m_radius;
  std::vector<dovCZyn_WMStep> m_steps;
  dovCZyn_ReferrerList m_referrers;
  long m_update = 0;
};

// The update-word rule shared by wire models and poly data.
long dovZynApplyUpdate(long word, long flags, int add);
