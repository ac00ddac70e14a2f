#pragma once
// Anything that can stand in an attribute's or a wire model's referrer list. The lists
// hold referrers of different kinds (poly data, design-rule marker copies), so a walk that
// needs one kind asks each referrer with dynamic_cast.

class dovCZyn_Referrer
{
public:
  virtual ~dovCZyn_Referrer() = default;

protected:
  dovCZyn_Referrer() = default;
  dovCZyn_Referrer(const dovCZyn_Referrer&) = default;
  dovCZyn_Referrer& operator=(const dovCZyn_Referrer&) = default;
};
