// A tables library: one table, one hotlink, a schema release; says when it is unloaded.
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlRecord.h"

class TTestConto : public SqlRecord
{
	DECLARE_DYNCREATE(TTestConto, SqlRecord)
public:
	TTestConto() : SqlRecord(GetStaticName())
	{
		SetPrimaryKey({"Conto"});
		BindRecord();
	}
	static LPCTSTR GetStaticName() { return _T("Test_Conti"); }
	void BindRecord() override
	{
		BindDataObj(GetSize(), "Conto", f_Conto);
		BindDataObj(GetSize(), "Descrizione", f_Descrizione);
		EndBindData(GetSize());
	}

	DataStr f_Conto;
	DataStr f_Descrizione;
};

class TTestContoHotLink : public CObject
{
	DECLARE_DYNAMIC(TTestContoHotLink, CObject)
};

namespace {
AFX_EXTENSION_MODULE g_Module;

class AddOnInterface : public AddOnInterfaceObj
{
public:
	BOOL AOI_RegisterTables(SqlConnection* pConnection, const CString& text, const CPLVNamespace* pNs) override
	{
		CPLVNamespace ns = *pNs;
		ns.SetObjectName(CPLVNamespace::TABLE, TTestConto::GetStaticName(), TRUE, FALSE);
		return pConnection->RegisterCatalogEntry(text, ns, RUNTIME_CLASS(TTestConto), 1);
	}
	void AOI_RegisterHotLinks(const CPLVNamespace& ns) override
	{
		CPLVNamespace hkl;
		AutoCompleteNamespace(CPLVNamespace::HOTLINK, "HKLTestConto", ns, hkl);
		DeclareFunction(new FunctionDataInterface(hkl, RUNTIME_CLASS(TTestContoHotLink)));
	}
	int AOI_DatabaseRelease() override { return 7; }
};
}  // namespace

PLV_EXPORT const char* TestTables_TableName()
{
	return TTestConto::GetStaticName();
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_Module, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_Module);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.PlvTest.TestMod.TestTables"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
	{
		AfxTermExtensionModule(g_Module);
		AfxSetProgressText("PlvTestTables detached");
	}
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
