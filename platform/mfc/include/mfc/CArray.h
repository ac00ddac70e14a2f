#pragma once
// Growable array with MFC's index interface. Out-of-range reads throw std::out_of_range;
// RemoveAt and InsertAt ignore a bad index.
#include <cstddef>
#include <vector>

template <class TYPE>
class CArray
{
public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return m_items.empty(); }

  // Grows with default values or shrinks to `size`.
  void SetSize(int size) { m_items.resize(size < 0 ? 0 : static_cast<std::size_t>(size)); }

  const TYPE& GetAt(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
  TYPE& ElementAt(int i) { return m_items.at(static_cast<std::size_t>(i)); }
  void SetAt(int i, const TYPE& value) { m_items.at(static_cast<std::size_t>(i)) = value; }
  const TYPE& operator[](int i) const { return GetAt(i); }
  TYPE& operator[](int i) { return ElementAt(i); }

  // Sets entry i, growing the array when i is past the end.
  void SetAtGrow(int i, const TYPE& value)
  {
    if (i < 0)
      return;
    if (i >= GetSize())
      SetSize(i + 1);
    m_items[static_cast<std::size_t>(i)] = value;
  }

  // Appends and returns the new entry's index.
  int Add(const TYPE& value)
  {
    m_items.push_back(value);
    return GetSize() - 1;
  }
  void InsertAt(int i, const TYPE& value)
  {
    if (i < 0 || i > GetSize())
      return;
    m_items.insert(m_items.begin() + i, value);
  }
  void RemoveAt(int i, int count = 1)
  {
    if (i < 0 || count <= 0 || i + count > GetSize())
      return;
    m_items.erase(m_items.begin() + i, m_items.begin() + i + count);
  }
  void RemoveAll() { m_items.clear(); }

  typename std::vector<TYPE>::const_iterator begin() const { return m_items.begin(); }
  typename std::vector<TYPE>::const_iterator end() const { return m_items.end(); }

private:
  std::vector<TYPE> m_items;
};
