#pragma once
// Run-time class records: the document templates create documents, frames
// and views from them, and code asks an object whether it is of a kind.
#include "platform/Types.h"

class CObject;

struct CRuntimeClass {
  const char* m_lpszClassName;
  CObject* (*m_pfnCreateObject)();  // null for classes that are not dynamically creatable
  const CRuntimeClass* m_pBaseClass;

  // A new object of the class, or null when the class cannot be created.
  [[nodiscard]] CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
  [[nodiscard]] bool IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
      if (c == base) return true;
    return false;
  }
};

class CObject {
 public:
  static const CRuntimeClass classCObject;
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
  virtual ~CObject() = default;
  [[nodiscard]] virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
  [[nodiscard]] BOOL IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNAMIC(theClass)                  \
 public:                                           \
  static const CRuntimeClass class##theClass;      \
  const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(theClass) \
  DECLARE_DYNAMIC(theClass)         \
  static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(theClass, baseClass)                                                    \
  const CRuntimeClass theClass::class##theClass = {#theClass, nullptr, RUNTIME_CLASS(baseClass)}; \
  const CRuntimeClass* theClass::GetRuntimeClass() const { return RUNTIME_CLASS(theClass); }

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                         \
  CObject* theClass::CreateObject() { return new theClass; }                                             \
  const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject, RUNTIME_CLASS(baseClass)}; \
  const CRuntimeClass* theClass::GetRuntimeClass() const { return RUNTIME_CLASS(theClass); }
