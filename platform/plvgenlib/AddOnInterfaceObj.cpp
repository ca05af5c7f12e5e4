#include "platform/plvgenlib/AddOnInterfaceObj.h"

#include <mutex>
#include <new>

#include "platform/plvoledb/SqlConnection.h"

namespace {
std::mutex g_Mutex;
std::vector<std::unique_ptr<FunctionDataInterface>>& Declared()
{
	static auto* list = new std::vector<std::unique_ptr<FunctionDataInterface>>;
	return *list;
}
}  // namespace

void AddOnInterfaceObj::DeclareFunction(FunctionDataInterface* pFunction)
{
	if (!pFunction)
		return;
	std::lock_guard lock(g_Mutex);
	auto& list = Declared();
	// A repeated declaration replaces the earlier one under the same namespace.
	std::erase_if(list, [&](auto& p) { return p->GetNamespace() == pFunction->GetNamespace(); });
	list.emplace_back(pFunction);
}

BOOL AddOnInterfaceObj::RegisterCatalogTables(SqlConnection* pConnection, const CString& frameworkText,
											  const CPLVNamespace* pNs, const CatalogTable* pTables, size_t nTables)
{
	if (!pConnection || !pConnection->IsValid())
		return FALSE;
	CPLVNamespace ns = pNs ? *pNs : CPLVNamespace();
	BOOL bAll = TRUE;
	for (size_t i = 0; i < nTables; ++i)
	{
		ns.SetObjectName(CPLVNamespace::TABLE, pTables[i].pfnStaticName(), TRUE, FALSE);
		if (!pConnection->RegisterCatalogEntry(frameworkText, ns, pTables[i].pfnClass(), pTables[i].kind))
			bAll = FALSE;
	}
	return bAll;
}

void AddOnInterfaceObj::DeclareHotLinks(const CPLVNamespace& ns, const DeclaredHotLink* pHotLinks, size_t nHotLinks)
{
	for (size_t i = 0; i < nHotLinks; ++i)
	{
		CPLVNamespace hklNs;
		AutoCompleteNamespace(CPLVNamespace::HOTLINK, pHotLinks[i].name, ns, hklNs);
		DeclareFunction(new (std::nothrow) FunctionDataInterface(hklNs, pHotLinks[i].pfnClass(), nullptr));
	}
}

const FunctionDataInterface* AfxFindDeclaredFunction(const CPLVNamespace& ns)
{
	std::lock_guard lock(g_Mutex);
	for (auto& p : Declared())
		if (p->GetNamespace() == ns)
			return p.get();
	return nullptr;
}

std::vector<const FunctionDataInterface*> AfxGetDeclaredFunctions()
{
	std::lock_guard lock(g_Mutex);
	std::vector<const FunctionDataInterface*> out;
	for (auto& p : Declared())
		out.push_back(p.get());
	return out;
}

void AfxClearDeclaredFunctions()
{
	std::lock_guard lock(g_Mutex);
	Declared().clear();
}

void AfxRemoveDeclaredFunction(const FunctionDataInterface* pFunction)
{
	std::lock_guard lock(g_Mutex);
	std::erase_if(Declared(), [&](auto& p) { return p.get() == pFunction; });
}
