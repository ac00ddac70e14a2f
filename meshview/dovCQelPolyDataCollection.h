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

  // The last item; null when empty. Indexed access walks the list, so appending code
  // that needs what it just added asks here.
  vtkPolyData* GetLastItem() const;
  // Calls `fn(vtkPolyData*)` for each item in order, in one pass over the list.
  template <class FN>
  void ForEachItem(FN fn)
  {
    vtkCollectionSimpleIterator it;
    InitTraversal(it);
    while (vtkPolyData* item = GetNextPolyData(it))
      fn(item);
  }

protected:
  dovCQelPolyDataCollection() = default;
  ~dovCQelPolyDataCollection() override = default;

private:
  dovCQelPolyDataCollection(const dovCQelPolyDataCollection&) = delete;
  void operator=(const dovCQelPolyDataCollection&) = delete;
};
