#pragma once
// A poly data that also carries the wire-model attributes of the geometry it was made
// from, the geometry's object type and update flags.
//
// Attributes that are rows of a table are shared (the poly data is listed as their
// referrer); attributes without a table belong to the poly data and die with it.
#include <mfc/CArray.h>
#include <mfc/CString.h>
#include <zyn/dovCZyn_Attribute.h>
#include <zyn/dovCZyn_Referrer.h>

#include <vtkActor.h>
#include <vtkMapper.h>
#include <vtkPolyData.h>
#include <vtkWeakPointer.h>

#include "dovQelExport.h"


class DOV_QEL_API dovCQelPolyData : public vtkPolyData, public dovCZyn_Referrer
{
public:
  // Asks the object factory for "dovCQelPolyData" first.
  static dovCQelPolyData* New();
  vtkTypeMacro(dovCQelPolyData, vtkPolyData);

  DOV_Zyn_OBJ GetObjectType() const { return m_objectType; }
  void SetObjectType(DOV_Zyn_OBJ type) { m_objectType = type; }

  long GetAttributeCount() const { return m_attributes.GetSize(); }
  // Attribute i; null when out of range.
  dovCZyn_Attribute* EnumAttribute(long i) const;
  // First attribute with this name (exact); null when none.
  dovCZyn_Attribute* GetAttribute(const char* name) const;
  // Index of the first attribute with this name; 0 when none matches.
  long GetAttributeIndex(const CString& name) const;
  // Appends (no duplicate check) and lists this poly data as the attribute's referrer.
  void AddAttribute(dovCZyn_Attribute* attribute);
  // At the first position holding `old`: puts `replacement` there (taking a reference on
  // it) or, when it is null, removes the position; then drops the reference on `old`.
  // Nothing when `old` is not held. `old` is never deleted here.
  void ReplaceAttribute(dovCZyn_Attribute* old, dovCZyn_Attribute* replacement);

  long GetUpdate() const { return m_update; }
  // Flags 0 clears the word; otherwise ORs the flags in (add non-zero) or toggles them
  // (add 0). Returns the new word.
  long SetUpdate(long flags, int add);

  // 255 in each component, then the value of the first "COLOR" attribute parsed in.
  void GetColor(int& r, int& g, int& b, int& a) const;

  // The mapper and actor that show this poly data while a view is open (not owned; they
  // read as null once gone). Wire rebuilds and layer recolouring reach the view through
  // them.
  void SetView(vtkMapper* mapper, vtkActor* actor);
  vtkMapper* GetMapper() const { return m_mapper; }
  vtkActor* GetActor() const { return m_actor; }

protected:
  dovCQelPolyData() = default;
  // Deletes the owned attributes; shared rows are left alone (detach them first).
  ~dovCQelPolyData() override;

private:
  dovCQelPolyData(const dovCQelPolyData&) = delete;
  void operator=(const dovCQelPolyData&) = delete;

  DOV_Zyn_OBJ m_objectType = DOV_Zyn_OBJ_OBJECT;
  CArray<dovCZyn_Attribute*> m_attributes;
  long m_update = 0;
  vtkWeakPointer<vtkMapper> m_mapper;
  vtkWeakPointer<vtkActor> m_actor;
};
