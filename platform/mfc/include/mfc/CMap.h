#pragma once
// Key to value map with MFC's lookup interface; iteration in key order.
#include <map>

template <class KEY, class VALUE>
class CMap
{
public:
  int GetCount() const { return static_cast<int>(m_items.size()); }
  bool IsEmpty() const { return m_items.empty(); }

  // True and `value` set when the key is present; false and `value` untouched otherwise.
  bool Lookup(const KEY& key, VALUE& value) const
  {
    auto it = m_items.find(key);
    if (it == m_items.end())
      return false;
    value = it->second;
    return true;
  }
  void SetAt(const KEY& key, const VALUE& value) { m_items[key] = value; }
  // True when the key was present.
  bool RemoveKey(const KEY& key) { return m_items.erase(key) != 0; }
  void RemoveAll() { m_items.clear(); }

  // Removes every entry for which `pred(key, value)` holds.
  template <class PRED>
  void RemoveIf(PRED pred)
  {
    for (auto it = m_items.begin(); it != m_items.end();)
      it = pred(it->first, it->second) ? m_items.erase(it) : std::next(it);
  }
  // Calls `fn(key, value&)` for every entry, in key order.
  template <class FN>
  void ForEach(FN fn)
  {
    for (auto& entry : m_items)
      fn(entry.first, entry.second);
  }

private:
  std::map<KEY, VALUE> m_items;
};
