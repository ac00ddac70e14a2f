#pragma once
// A named text value. A row of a table carries the table and its index there; a free
// attribute has neither. Every object that uses an attribute is listed as a referrer.
#include <mfc/CString.h>

#include "zyn/dovCZyn_Object.h"
#include "zyn/dovCZyn_ReferrerList.h"

class dovCZyn_Table;

class dovCZyn_Attribute : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn_Attribute)

public:
  // A free attribute.
  dovCZyn_Attribute(const char* name, const char* value);
  // A row of `table` (made by dovCZyn_Table).
  dovCZyn_Attribute(dovCZyn_Table* table, long index, const char* name, const char* value);
  ~dovCZyn_Attribute() override;
  dovCZyn_Attribute(const dovCZyn_Attribute&) = delete;
  dovCZyn_Attribute& operator=(const dovCZyn_Attribute&) = delete;

  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_ATTRIBUTE; }

  const char* GetName() const { return m_name; }
  const char* GetValue() const { return m_value; }
  void SetValue(const char* value) { m_value = value; }
  // The table holding this row; null for a free attribute.
  dovCZyn_Table* GetTable() const { return m_table; }
  // Index of the row in its table; 0 for a free attribute.
  long GetIndex() const { return m_index; }

  void AddReference(dovCZyn_Referrer* who) { m_referrers.AddReference(who); }
  void RemoveReference(dovCZyn_Referrer* who) { m_referrers.RemoveReference(who); }
  long GetReferenceCount() const { return m_referrers.GetReferenceCount(); }
  dovCZyn_Referrer* GetReference(long i) const { return m_referrers.GetReference(i); }
  const dovCZyn_ReferrerList& GetReferrers() const { return m_referrers; }

private:
  CString m_name;
  CString m_value;
  dovCZyn_Table* m_table = nullptr;
  long m_index = 0;
  dovCZyn_ReferrerList m_referrers;
};
