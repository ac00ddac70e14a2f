#pragma once
// A named table of attribute rows, each with a unique index, kept in insertion order.
// The table owns its rows; a row is named after its table.
#include <vector>

#include "zyn/dovCZyn_Attribute.h"

class dovCZyn_Table : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_Table)

public:
  explicit dovCZyn_Table(const char* name);
  // Copies name, indices and values; the copies' referrer lists start empty.
  dovCZyn_Table(const dovCZyn_Table& other);
  dovCZyn_Table& operator=(const dovCZyn_Table&) = delete;
  ~dovCZyn_Table() override;

  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_TABLE; }

  const char* GetName() const { return m_name; }

  // Creates row `index` with `value`, or sets the value of the existing row and returns
  // that same row, referrers and all.
  dovCZyn_Attribute* AddAttribute(long index, const char* value);
  // Row with this index; null when absent.
  dovCZyn_Attribute* GetAttribute(long index) const;
  // Deletes row `index`: 1. 0 when there is no such row, and 0 when the row still has
  // referrers, since they hold pointers to it.
  int RemoveAttribute(long index);

  long GetAttributeCount() const { return static_cast<long>(m_rows.size()); }
  // Row at position i; null when out of range.
  dovCZyn_Attribute* EnumAttribute(long i) const;
  // First row whose value equals `value` exactly; null when none.
  dovCZyn_Attribute* FindValue(const char* value) const;
  // Largest row index; 0 for an empty table.
  long GetMaximumIndex() const;

private:
  CString m_name;
  std::vector<dovCZyn_Attribute*> m_rows;
};
