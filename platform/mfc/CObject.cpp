#include "platform/mfc/CObject.h"

#include <map>
#include <mutex>
#include <string>

namespace {
struct ClassRegistry
{
	std::mutex mutex;
	std::map<std::string, CRuntimeClass*, std::less<>> byName;
};

ClassRegistry& Registry()
{
	static ClassRegistry* registry = new ClassRegistry;  // outlives every library's static destructors
	return *registry;
}
}  // namespace

CRuntimeClass::CRuntimeClass(const char* name, CRuntimeClass* (*base)(), CObject* (*create)())
	: m_lpszClassName(name), m_pfnGetBaseClass(base), m_pfnCreateObject(create)
{
	auto& r = Registry();
	std::lock_guard lock(r.mutex);
	r.byName.emplace(name, this);
}

CRuntimeClass::~CRuntimeClass()
{
	auto& r = Registry();
	std::lock_guard lock(r.mutex);
	auto it = r.byName.find(m_lpszClassName);
	if (it != r.byName.end() && it->second == this)
		r.byName.erase(it);
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBase) const
{
	for (const CRuntimeClass* p = this; p; p = p->GetBaseClass())
		if (p == pBase)
			return TRUE;
	return FALSE;
}

CObject* CRuntimeClass::CreateObject() const
{
	return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
	if (!lpszClassName)
		return nullptr;
	auto& r = Registry();
	std::lock_guard lock(r.mutex);
	auto it = r.byName.find(std::string_view(lpszClassName));
	return it == r.byName.end() ? nullptr : it->second;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName)
{
	CRuntimeClass* p = FromName(lpszClassName);
	return p ? p->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetThisClass()
{
	static CRuntimeClass classCObject{"CObject", nullptr, nullptr};
	return &classCObject;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
	return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
	return GetRuntimeClass()->IsDerivedFrom(pClass);
}
