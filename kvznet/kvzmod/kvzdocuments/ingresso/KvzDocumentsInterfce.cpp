// Entry of the documents library: its namespace, its add-on interface and the registration of
// its 31 document templates, plus the names under which reports' functions open four of them.
#include <iterator>

#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliMultiAzDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliRigheMultiAzDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAnagContiDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAziendeDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodExtracontDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodRaggruppDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeParamDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificatiDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CInsExtracontMensiliDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloExtraCDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CRicostruzAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_DettAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_FiltriCommesseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_RipAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_ViewContatoriDoc.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
AFX_EXTENSION_MODULE g_KvzDocumentsModule;

struct TemplateRow
{
	LPCTSTR name;
	CRuntimeClass* (*pfnDoc)();
	CRuntimeClass* (*pfnFrame)();
	CRuntimeClass* (*pfnView)();
};

#define KVZ_TEMPLATE(name, doc, frame, view) {_T(name), &doc::GetThisClass, &frame::GetThisClass, &view::GetThisClass}

// In the order of registration.
const TemplateRow kTemplates[] = {
	KVZ_TEMPLATE("DParametri", Kvz_CDeParamDoc, CMasterFrame, Kvz_CDeParamView),
	KVZ_TEMPLATE("DDescrizioniBrevi", Kvz_DDescrizioniBrevi, CBatchFrame, Kvz_DescrizioniBreviView),
	KVZ_TEMPLATE("DAnagConti", Kvz_CDeAnagContiDoc, CMasterFrame, Kvz_CDeAnagContiView),
	KVZ_TEMPLATE("DPianoBase", Kvz_CPianoBaseDoc, CMasterFrame, Kvz_CPianoBaseView),
	KVZ_TEMPLATE("DCodBudget", Kvz_CDeCodBudgetDoc, CMasterFrame, Kvz_CDeCodBudgetView),
	KVZ_TEMPLATE("DModelliRiclassific", Kvz_CDeRiclassificazioniDoc, Kvz_CDeRiclassificazioniFrame, Kvz_CDeRiclassificazioniView),
	KVZ_TEMPLATE("DAziende", Kvz_CDeAziendeDoc, CMasterFrame, Kvz_CDeAziendeView),
	KVZ_TEMPLATE("DCodRaggruppamenti", Kvz_CDeCodRaggruppDoc, CMasterFrame, Kvz_CDeCodRaggruppView),
	KVZ_TEMPLATE("DBudget", Kvz_CBudgetDoc, CMasterFrame, Kvz_CBudgetView),
	KVZ_TEMPLATE("DAssestamento", Kvz_CAssestamentoDoc, Kvz_AssestamentoFrame, Kvz_CAssestamentoView),
	KVZ_TEMPLATE("BDDettAssestamento", Kvz_DettAssestamentoDoc, CBatchFrame, Kvz_DettAssestamentoView),
	KVZ_TEMPLATE("RipAssestamento", Kvz_RipAssestamentoDoc, CBatchFrame, Kvz_RipAssestamentoView),
	KVZ_TEMPLATE("FiltriCommesse", Kvz_FiltriCommesseDoc, CBatchFrame, Kvz_FiltriCommesseView),
	KVZ_TEMPLATE("BDSelezBudget", Kvz_CSelezBudgetDoc, CBatchFrame, Kvz_CSelezBudgetView),
	KVZ_TEMPLATE("BDSelezAssestamento", Kvz_CSelezAssestamentoDoc, CBatchFrame, Kvz_CSelezAssestamentoView),
	KVZ_TEMPLATE("BDFormula", Kvz_CFormulaDoc, CBatchFrame, Kvz_CFormulaView),
	KVZ_TEMPLATE("BDPropSimboloPBase", Kvz_CPropSimboloPBaseDoc, CBatchFrame, Kvz_CPropSimboloPBaseView),
	KVZ_TEMPLATE("BDPropSimboloExtraC", Kvz_CPropSimboloExtraCDoc, CBatchFrame, Kvz_CPropSimboloExtraCView),
	KVZ_TEMPLATE("BDPropSimboloRiclass", Kvz_CPropSimboloRiclassDoc, CBatchFrame, Kvz_CPropSimboloRiclassView),
	KVZ_TEMPLATE("BDPropSimboloOutRiclass", Kvz_CPropSimboloOutRiclassDoc, CBatchFrame, Kvz_CPropSimboloOutRiclassView),
	KVZ_TEMPLATE("DRiclassificPianoBase", Kvz_CRiclassificPianoBaseDoc, CBatchFrame, Kvz_CRiclassificPianoBaseView),
	KVZ_TEMPLATE("BDStampaRiclassificato", BDStampaRiclassificatoDoc, CBatchFrame, BDStampaRiclassificatoView),
	KVZ_TEMPLATE("BDStampaReportRiclassific", Kvz_CStampaReportRiclassificDoc, CBatchFrame, Kvz_CStampaReportRiclassificView),
	KVZ_TEMPLATE("BDViewContatori", Kvz_ViewContatoriDoc, CBatchFrame, Kvz_ViewContatoriView),
	KVZ_TEMPLATE("DCodExtracont", Kvz_CDeCodExtracontDoc, CMasterFrame, Kvz_CDeCodExtracontView),
	KVZ_TEMPLATE("BDInsExtracontMensili", Kvz_CInsExtracontMensiliDoc, CBatchFrame, Kvz_CInsExtracontMensiliView),
	KVZ_TEMPLATE("BDComparazioneRiclassific", Kvz_CComparazioneRiclassificDoc, CBatchFrame, Kvz_CComparazioneRiclassificView),
	KVZ_TEMPLATE("BDRicostruzAssestamento", Kvz_CRicostruzAssestamentoDoc, CBatchFrame, Kvz_CRicostruzAssestamentoView),
	KVZ_TEMPLATE("BDModelliMultiAz", CModelliMultiAzDoc, CBatchFrame, CModelliMultiAzView),
	KVZ_TEMPLATE("BDModelliRigheMultiAz", CModelliRigheMultiAzDoc, CBatchFrame, CModelliRigheMultiAzView),
	KVZ_TEMPLATE("BDDeRiclassificati", Kvz_CDeRiclassificatiDoc, CMasterFrame, Kvz_CDeRiclassificatiView),
};

// The reports' functions open these documents by names under which no template is registered.
struct Alias
{
	LPCTSTR alias;
	LPCTSTR templateName;
};
const Alias kAliases[] = {
	{_T("Kvz_CComparazioneRiclassificDoc"), _T("BDComparazioneRiclassific")},
	{_T("Kvz_CPianoBaseDoc"), _T("DPianoBase")},
	{_T("CRiclassificPianoBaseDoc"), _T("DRiclassificPianoBase")},
	{_T("StampaRiclassificatoDoc"), _T("BDStampaRiclassificato")},
};

// Inside the library: every library names its interface class so.
class AddOnInterface : public AddOnInterfaceObj
{
public:
	~AddOnInterface() override = default;
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNamespace) override;
};

void AddOnInterface::AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNamespace)
{
	const CPLVNamespace libNs = pNamespace ? *pNamespace : CPLVNamespace();
	auto documentNs = [&](LPCTSTR name) {
		CPLVNamespace nsDoc = libNs;
		nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, name, TRUE, FALSE);
		return nsDoc;
	};
	for (const TemplateRow& row : kTemplates)
	{
		CSingleExtDocTemplate* pTemplate = AfxGetBaseApp()->RegisterTemplate(
			nID, row.pfnDoc(), row.pfnFrame(), row.pfnView(), documentNs(row.name), this,
			libNs.GetObjectName(CPLVNamespace::LIBRARY), 0, _T("Default"));
		// A refused template leaves the others registered.
		ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "KvzDocumentsInterfce");
		if (pTemplate)
			pTemplate->SetModuleInstance(AfxGetThisModule());
	}
	for (const Alias& a : kAliases)
		AfxGetBaseApp()->RegisterDocumentAlias(documentNs(a.alias).GetPathName(), documentNs(a.templateName).GetPathName());
}
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	return AfxExtensionLibraryMain(g_KvzDocumentsModule, hInstance, dwReason, _T("Library.KvzNet.KvzMod.KvzDocuments"));
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
