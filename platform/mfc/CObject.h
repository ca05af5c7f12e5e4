#pragma once
// Runtime class information: kind tests, dynamic creation and lookup by class name.
#include "platform/mfc/AfxTypes.h"

class CObject;

struct CRuntimeClass
{
	const char* m_lpszClassName;
	CRuntimeClass* (*m_pfnGetBaseClass)();  // resolved lazily: no static-init order between libraries
	CObject* (*m_pfnCreateObject)();         // null for classes that cannot be created by name

	CRuntimeClass(const char* name, CRuntimeClass* (*base)(), CObject* (*create)());
	~CRuntimeClass();
	CRuntimeClass(const CRuntimeClass&) = delete;
	CRuntimeClass& operator=(const CRuntimeClass&) = delete;

	CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
	BOOL IsDerivedFrom(const CRuntimeClass* pBase) const;
	BOOL IsDynCreate() const { return m_pfnCreateObject != nullptr; }
	CObject* CreateObject() const;

	static CRuntimeClass* FromName(const char* lpszClassName);
	static CObject* CreateObject(const char* lpszClassName);
};

#define RUNTIME_CLASS(cls) (cls::GetThisClass())

// One macro per class, inside the class body. DECLARE_DYNAMIC for abstract classes and classes
// without a default constructor, DECLARE_DYNCREATE for classes the framework creates by name.
#define DECLARE_DYNAMIC(cls, base)                                                   \
public:                                                                              \
	static CRuntimeClass* GetThisClass() { return &class##cls; }                     \
	CRuntimeClass* GetRuntimeClass() const override { return &class##cls; }          \
	static inline CRuntimeClass class##cls{#cls, &base::GetThisClass, nullptr};      \
private:

#define DECLARE_DYNCREATE(cls, base)                                                 \
public:                                                                              \
	static CObject* CreateObject() { return new cls; }                               \
	static CRuntimeClass* GetThisClass() { return &class##cls; }                     \
	CRuntimeClass* GetRuntimeClass() const override { return &class##cls; }          \
	static inline CRuntimeClass class##cls{#cls, &base::GetThisClass, &cls::CreateObject}; \
private:

class CObject
{
public:
	virtual ~CObject() = default;

	static CRuntimeClass* GetThisClass();
	virtual CRuntimeClass* GetRuntimeClass() const;
	BOOL IsKindOf(const CRuntimeClass* pClass) const;

	virtual void Serialize() {}
	virtual void AssertValid() const {}
	virtual void Dump() const {}

protected:
	CObject() = default;
	CObject(const CObject&) = default;
	CObject& operator=(const CObject&) = default;
};

// Checked downcast: null when the object is not of the class.
template <class T>
T* DynamicDownCast(CObject* p)
{
	return p && p->IsKindOf(T::GetThisClass()) ? static_cast<T*>(p) : nullptr;
}
