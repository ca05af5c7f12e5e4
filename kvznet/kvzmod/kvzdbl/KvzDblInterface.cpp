// Entry of the tables library: registration of the module's tables in the catalog,
// declaration of its hotlinks and the release of its schema.
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzDblModule;

struct TableEntry
{
	CRuntimeClass* (*pfnClass)();
	LPCTSTR (*pfnStaticName)();
	int kind;  // 1 table, 2 view
};

#define KVZ_TABLE(rec) {&rec::GetThisClass, &rec::GetStaticName, 1}
#define KVZ_VIEW(rec) {&rec::GetThisClass, &rec::GetStaticName, 2}

// In the order of registration.
const TableEntry kTables[] = {
	KVZ_TABLE(Kvz_TAnagContiKvz),
};

struct HotLinkEntry
{
	LPCTSTR name;
	CRuntimeClass* (*pfnClass)();
};

#define KVZ_HOTLINK(name, cls) {_T(name), &cls::GetThisClass}

// In the order of declaration.
const HotLinkEntry kHotLinks[] = {
	KVZ_HOTLINK("HKLAnagContiKvz", KVZ_HKLAnagContiKvz),
};
}  // namespace

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT, const CPLVNamespace*) override {}
	void AOI_RegisterFunctions(const CPLVNamespace*) override {}
	BOOL AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText, const CPLVNamespace* pNs) override;
	void AOI_RegisterHotLinks(const CPLVNamespace& ns) override;
	int AOI_DatabaseRelease() override { return 10; }
};

BOOL AddOnInterface::AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText,
										const CPLVNamespace* pNs)
{
	CPLVNamespace ns = pNs ? *pNs : CPLVNamespace();
	if (!pConnection || !pConnection->IsValid())
		return FALSE;
	BOOL bAll = TRUE;
	for (const TableEntry& t : kTables)
	{
		ns.SetObjectName(CPLVNamespace::TABLE, t.pfnStaticName(), TRUE, FALSE);
		// Every entry is attempted, whatever the earlier ones returned.
		if (!pConnection->RegisterCatalogEntry(frameworkText, ns, t.pfnClass(), t.kind))
			bAll = FALSE;
	}
	return bAll;
}

void AddOnInterface::AOI_RegisterHotLinks(const CPLVNamespace& ns)
{
	for (const HotLinkEntry& h : kHotLinks)
	{
		CPLVNamespace hklNs;
		AutoCompleteNamespace(CPLVNamespace::HOTLINK, h.name, ns, hklNs);
		DeclareFunction(new FunctionDataInterface(hklNs, h.pfnClass(), nullptr));
	}
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_KvzDblModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_KvzDblModule);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("KvzNet.KvzMod.KvzDbl"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_KvzDblModule);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
