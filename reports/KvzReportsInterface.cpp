// The reports library: registers its definitions as it is loaded and takes them back before it
// goes; the print document of reclassified reports gets its default report.
#include "KvzReports.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_Module;
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	using namespace kvzreports;
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_Module, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_Module);
		for (auto make : {&MakeStampaRiclassificatoPerCodice, &MakeStampaRiclassificatoPerCodiceEstesa,
						  &MakeStampaReportRiclassific, &MakeContiDelRiclassificato, &MakePreviewPdCRaggr,
						  &MakeContiNonUsati, &MakeConfrontoRiclassif, &MakeEsplosFormula_Excel,
						  &MakeEsplosioneSimboliConti, &MakeSkcontab})
			AfxRegisterReportDefinition(make(), hInstance);
		AfxSetDocumentDefaultReport(kStampaReportRiclassificDoc, kStampaReportRiclassific);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.KvzNet.KvzMod.KvzReports"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
	{
		AfxSetDocumentDefaultReport(kStampaReportRiclassificDoc, CString());
		AfxRemoveReportDefinitions(hInstance);
		AfxTermExtensionModule(g_Module);
	}
	return TRUE;
}
