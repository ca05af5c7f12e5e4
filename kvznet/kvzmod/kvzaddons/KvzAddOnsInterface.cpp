// Entry of the chart-of-accounts extension library.
#include "kvznet/kvzmod/kvzaddons/KvzAddOnsInterface.h"

#include "kvznet/kvzmod/kvzaddons/ClientDocPianoDeiConti.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzAddOnsModule;
}

void KvzAddOnsInterface::AOI_AttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs,
											  const CPLVNamespace& ns)
{
	auto* pHost = DynamicDownCast<CAbstractFormDoc>(pDocument);
	if (!pHost || !pClientDocs)
		return;
	for (LPCTSTR szHost : {_T("DChartOfAccounts"), _T("DChartOfAccountsAddOnFly")})
		if (pHost->HasClientDocToAttach(szHost))
		{
			auto* pClientDoc = new Kvz_ClientDocPianoDeiConti;
			pClientDoc->Init(_T("ClientDocPianoDeiConti"), ns);
			pClientDocs->Add(pClientDoc);
		}
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_KvzAddOnsModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_KvzAddOnsModule);
		AfxRegisterEnumTexts(E_KVZ_TIPODETTAGLIO, {"Centri di costo", "Commesse", "Centri di costo e commesse"});
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.KvzNet.KvzMod.KvzAddOns"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_KvzAddOnsModule);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) KvzAddOnsInterface;
}
