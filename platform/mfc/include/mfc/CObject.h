#pragma once
// Object root with run-time class information: each class names itself and its base.

struct CRuntimeClass
{
  const char* m_lpszClassName;
  const CRuntimeClass* m_pBaseClass;

  // True when this class is `base` or derives from it.
  bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject
{
public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const;
  // True when the object's class is `cls` or derives from it.
  bool IsKindOf(const CRuntimeClass* cls) const;

  static const CRuntimeClass classCObject;

protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                           \
public:                                                                                       \
  static const CRuntimeClass class##class_name;                                               \
  const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                        \
  const CRuntimeClass class_name::class##class_name = {#class_name,                           \
                                                       RUNTIME_CLASS(base_class_name)};       \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
