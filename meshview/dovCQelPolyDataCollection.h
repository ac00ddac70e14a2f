#pragma once
// The collection the container keeps its poly data in; it holds one reference to each.
#include <vtkPolyDataCollection.h>

#include "dovQelExport.h"

class DOV_QEL_API dovCQelPolyDataCollection : public vtkPolyDataCollection
{
public:
  // Asks the object factory for "dovCQelPolyDataCollection" first.
  static dovCQelPolyDataCollection* New();
  vtkTypeMacro(dovCQelPolyDataCollection, vtkPolyDataCollection);

protected:
  dovCQelPolyDataCollection() = default;
  ~dovCQelPolyDataCollection() override = default;

private:
  dovCQelPolyDataCollection(const dovCQelPolyDataCollection&) = delete;
  void operator=(const dovCQelPolyDataCollection&) = delete;
};
