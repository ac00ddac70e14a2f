// Stand-in for an OCCT header that the Debian 7.6.3 development packages leave out,
// although Poly_ArrayOfNodes.hxx (reached from BRep_Tool.hxx and most modelling headers)
// includes it. The layout is the one the installed libraries were built with: data
// pointer, element size, element count, owning flag. The layer's CMake file puts this
// folder on the include path only while the packaged header is missing.
#ifndef _NCollection_AliasedArray_HeaderFile
#define _NCollection_AliasedArray_HeaderFile

#include <Standard.hxx>
#include <Standard_OutOfMemory.hxx>
#include <Standard_OutOfRange.hxx>
#include <Standard_RangeError.hxx>

#include <utility>

template <int MyAlignSize = 16>
class NCollection_AliasedArray {
 public:
  explicit NCollection_AliasedArray(Standard_Integer theStride)
      : myData(NULL), myStride(theStride), mySize(0), myDeletable(Standard_False) {}

  NCollection_AliasedArray(Standard_Integer theStride, Standard_Integer theLength)
      : myData(NULL), myStride(theStride), mySize(theLength), myDeletable(Standard_False) {
    if (theLength <= 0 || myStride <= 0) throw Standard_RangeError("NCollection_AliasedArray: bad size");
    myData = static_cast<Standard_Byte*>(Standard::AllocateAligned(SizeBytes(), MyAlignSize));
    if (myData == NULL) throw Standard_OutOfMemory("NCollection_AliasedArray: out of memory");
    myDeletable = Standard_True;
  }

  template <typename Type_t>
  NCollection_AliasedArray(const Type_t& theBegin, Standard_Integer theLength)
      : myData(reinterpret_cast<Standard_Byte*>(const_cast<Type_t*>(&theBegin))),
        myStride(Standard_Integer(sizeof(Type_t))), mySize(theLength), myDeletable(Standard_False) {
    if (theLength <= 0) throw Standard_RangeError("NCollection_AliasedArray: bad size");
  }

  NCollection_AliasedArray(const NCollection_AliasedArray&) = delete;
  NCollection_AliasedArray& operator=(const NCollection_AliasedArray&) = delete;

  NCollection_AliasedArray(NCollection_AliasedArray&& theOther)
      : myData(theOther.myData), myStride(theOther.myStride), mySize(theOther.mySize),
        myDeletable(theOther.myDeletable) {
    theOther.myDeletable = Standard_False;
  }

  ~NCollection_AliasedArray() {
    if (myDeletable) Standard::FreeAligned(myData);
  }

  Standard_Integer Stride() const { return myStride; }
  Standard_Integer Size() const { return mySize; }
  Standard_Integer Length() const { return mySize; }
  Standard_Boolean IsEmpty() const { return mySize == 0; }
  Standard_Integer Lower() const { return 0; }
  Standard_Integer Upper() const { return mySize - 1; }
  Standard_Boolean IsDeletable() const { return myDeletable; }
  Standard_Boolean IsAllocated() const { return myDeletable; }
  Standard_Size SizeBytes() const { return size_t(myStride) * size_t(mySize); }
  const Standard_Byte* ConstData() const { return myData; }
  Standard_Byte* ChangeData() { return myData; }

  NCollection_AliasedArray& Move(NCollection_AliasedArray& theOther) {
    if (&theOther == this) return *this;
    if (myDeletable) Standard::FreeAligned(myData);
    myStride = theOther.myStride;
    mySize = theOther.mySize;
    myDeletable = theOther.myDeletable;
    myData = theOther.myData;
    theOther.myDeletable = Standard_False;
    return *this;
  }

  template <typename Type_t>
  const Type_t& Value(Standard_Integer theIndex) const {
    Standard_OutOfRange_Raise_if(theIndex < 0 || theIndex >= mySize, "NCollection_AliasedArray::Value");
    return *reinterpret_cast<const Type_t*>(myData + size_t(myStride) * size_t(theIndex));
  }

  template <typename Type_t>
  Type_t& ChangeValue(Standard_Integer theIndex) {
    Standard_OutOfRange_Raise_if(theIndex < 0 || theIndex >= mySize, "NCollection_AliasedArray::ChangeValue");
    return *reinterpret_cast<Type_t*>(myData + size_t(myStride) * size_t(theIndex));
  }

 protected:
  Standard_Byte* myData;
  Standard_Integer myStride;
  Standard_Integer mySize;
  Standard_Boolean myDeletable;
};

#endif
