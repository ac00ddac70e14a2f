#pragma once
// Base of the shapes of a wire model. A geometry carries an ordered list of attributes:
// table rows it shares (and is listed as a referrer of) and free attributes it owns.
#include <vector>

#include "zyn/dovCZyn_Attribute.h"

class dovCZyn_Geometry : public dovCZyn_Object, public dovCZyn_Referrer
{
  DECLARE_DYNAMIC(dovCZyn_Geometry)

public:
  dovCZyn_Geometry() = default;
  // Shares the table rows (taking a reference on each) and copies the free attributes.
  dovCZyn_Geometry(const dovCZyn_Geometry& other);
  dovCZyn_Geometry& operator=(const dovCZyn_Geometry&) = delete;
  // Drops its references on shared rows and deletes its free attributes.
  ~dovCZyn_Geometry() override;

  DOV_Zyn_OBJ GetObjectType() const override { return DOV_Zyn_OBJ_GEOMETRY; }
  virtual const char* GetGeometryName() const { return "GEOM"; }
  // A new copy of the same class.
  virtual dovCZyn_Geometry* Copy() const { return new dovCZyn_Geometry(*this); }

  long GetAttributeCount() const { return static_cast<long>(m_attributes.size()); }
  // Attribute i; null when out of range.
  dovCZyn_Attribute* GetAttribute(long i) const;
  // First attribute with this name (exact); null when none.
  dovCZyn_Attribute* GetAttribute(const char* name) const;
  // Appends; a row gets this geometry as referrer, a free attribute becomes owned.
  void AddAttribute(dovCZyn_Attribute* attribute);
  // At the first position holding `old`: puts `replacement` there (or removes the position
  // when it is null) and moves the reference from `old` to `replacement`. A free `old` is
  // deleted. Nothing when `old` is not held.
  void ReplaceAttribute(dovCZyn_Attribute* old, dovCZyn_Attribute* replacement);
  // Sorts the attributes by name (stable), so that equal geometries list them alike.
  void OrderAttributes();

private:
  std::vector<dovCZyn_Attribute*> m_attributes;
};
