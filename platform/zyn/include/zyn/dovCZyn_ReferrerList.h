#pragma once
// An ordered list of referrers that may hold one referrer several times; removing takes
// away one occurrence.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "zyn/dovCZyn_Referrer.h"

class dovCZyn_ReferrerList
{
public:
  void AddReference(dovCZyn_Referrer* who) { m_referrers.push_back(who); }
  // Removes the first occurrence of `who`; true when there was one.
  bool RemoveReference(dovCZyn_Referrer* who)
  {
    auto it = std::find(m_referrers.begin(), m_referrers.end(), who);
    if (it == m_referrers.end())
      return false;
    m_referrers.erase(it);
    return true;
  }
  long GetReferenceCount() const { return static_cast<long>(m_referrers.size()); }
  // Referrer i; null when out of range.
  dovCZyn_Referrer* GetReference(long i) const
  {
    return i < 0 || i >= GetReferenceCount() ? nullptr : m_referrers[static_cast<std::size_t>(i)];
  }
  bool HasReference(const dovCZyn_Referrer* who) const
  {
    return std::find(m_referrers.begin(), m_referrers.end(), who) != m_referrers.end();
  }
  // A copy of the list, for walks that change the list while they run.
  std::vector<dovCZyn_Referrer*> Snapshot() const { return m_referrers; }

private:
  std::vector<dovCZyn_Referrer*> m_referrers;
};
