// Entry of the cost-driver tables library: registration of its tables in the catalog, the
// declaration of its lookups and the release of its schema.
#include <iterator>

#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblInterface.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzDriversDblModule;

#define KVZ_TABLE(rec) {&rec::GetThisClass, &rec::GetStaticName, SqlRecord::TABLE_TYPE}

// In the order of registration.
const AddOnInterfaceObj::CatalogTable kTables[] = {
	KVZ_TABLE(TKvzDriversTesta),      KVZ_TABLE(TKvzDriversModelli),     KVZ_TABLE(TKvzDriversCosti),
	KVZ_TABLE(TKvzDriversIncrementi), KVZ_TABLE(TKvzDriversTempModelli), KVZ_TABLE(TKvzDriversTempCosti),
	KVZ_TABLE(TKvzDriversMagazzini),  KVZ_TABLE(TKvzMetriQuadriTesta),   KVZ_TABLE(TKvzMetriQuadriMesi),
};

// In the order of declaration; the drivers' own lookup is constructed by the documents.
const AddOnInterfaceObj::DeclaredHotLink kHotLinks[] = {
	{_T("KvzDriversTempModelli"), &HKLKvzDriversTempModelli::GetThisClass},
	{_T("KvzDriversTempCosti"), &HKLKvzDriversTempCosti::GetThisClass},
	{_T("KvzDriversMagazzini"), &HKLKvzDriversMagazzini::GetThisClass},
};

// Every library names its interface class so: its own must stay inside it, or the dynamic linker
// hands this library the vtable of the first one loaded.
class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterFunctions(const CPLVNamespace*) override {}
	BOOL AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText, const CPLVNamespace* pNs) override
	{
		return RegisterCatalogTables(pConnection, frameworkText, pNs, kTables, std::size(kTables));
	}
	void AOI_RegisterHotLinks(const CPLVNamespace& ns) override { DeclareHotLinks(ns, kHotLinks, std::size(kHotLinks)); }
	int AOI_DatabaseRelease() override { return 2; }
};
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	return AfxExtensionLibraryMain(g_KvzDriversDblModule, hInstance, dwReason, _T("Library.KvzNet.KvzDrivers.KvzDriversDbl"));
}

AddOnInterfaceObj* KvzDriversDblAddOnInterface()
{
	return new (std::nothrow) AddOnInterface;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return KvzDriversDblAddOnInterface();
}
