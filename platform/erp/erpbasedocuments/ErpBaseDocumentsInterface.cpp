// Entry of the host's documents library: it registers the chart-of-accounts documents, whose
// namespaces client documents attach to ("Erp.Base.ErpBaseDocuments.DChartOfAccounts").
#include "platform/erp/erpbasedocuments/DChartOfAccounts.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
AFX_EXTENSION_MODULE g_ErpBaseDocumentsModule;

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override
	{
		const struct
		{
			LPCTSTR name;
			CRuntimeClass* pDoc;
			CRuntimeClass* pView;
		} templates[] = {
			{_T("DChartOfAccounts"), RUNTIME_CLASS(DChartOfAccounts), RUNTIME_CLASS(CChartOfAccountsView)},
			{_T("DChartOfAccountsAddOnFly"), RUNTIME_CLASS(DChartOfAccountsAddOnFly),
			 RUNTIME_CLASS(CChartOfAccountsAddOnFlyView)},
		};
		for (auto& t : templates)
		{
			CPLVNamespace nsDoc = pNs ? *pNs : CPLVNamespace("Erp.Base.ErpBaseDocuments");
			nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, t.name, TRUE, FALSE);
			CSingleExtDocTemplate* pTemplate =
				AfxGetBaseApp()->RegisterTemplate(nID, t.pDoc, RUNTIME_CLASS(CMasterFrame), t.pView, nsDoc, this,
												  nsDoc.GetObjectName(CPLVNamespace::LIBRARY), 0, _T("Default"));
			ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "ErpBaseDocumentsInterface");
			if (pTemplate)
				pTemplate->SetModuleInstance(AfxGetThisModule());
		}
	}
};
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_ErpBaseDocumentsModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_ErpBaseDocumentsModule);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.Erp.Base.ErpBaseDocuments"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_ErpBaseDocumentsModule);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
