// Entry of the batch library: its namespace at load and the templates of its seven batch
// documents, all in the batch frame.
#include "kvznet/kvzmod/kvzbatch/AssegnaContoPatrim.h"
#include "kvznet/kvzmod/kvzbatch/DuplicaContiEsercizio.h"
#include "kvznet/kvzmod/kvzbatch/EsplosioneSimboliConti.h"
#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"
#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"
#include "kvznet/kvzmod/kvzbatch/InsSaldiMensili.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
AFX_EXTENSION_MODULE g_KvzBatchModule;

struct TemplateEntry
{
	LPCTSTR name;
	CRuntimeClass* (*pfnDoc)();
	CRuntimeClass* (*pfnView)();
};

#define KVZ_BATCH_TEMPLATE(name, doc, view) {_T(name), &doc::GetThisClass, &view::GetThisClass}

// In the order of registration.
const TemplateEntry kTemplates[] = {
	KVZ_BATCH_TEMPLATE("AssegnaContoPatrim", Kvz_AssegnaContoPatrimDoc, Kvz_AssegnaContoPatrimView),
	KVZ_BATCH_TEMPLATE("DuplicaContiEsercizio", Kvz_CDuplicaContiEsercizioDoc, Kvz_CDuplicaContiEsercizioView),
	KVZ_BATCH_TEMPLATE("ImpCodExtracont", Kvz_CImpCodExtracontDoc, Kvz_CImpCodExtracontView),
	KVZ_BATCH_TEMPLATE("ImportaSaldi", Kvz_CImportaSaldiDoc, Kvz_CImportaSaldiView),
	KVZ_BATCH_TEMPLATE("InitRaggrupPdc", Kvz_CInitRaggruppPdCDoc, Kvz_CInitRaggruppPdCView),
	KVZ_BATCH_TEMPLATE("InsSaldiMensili", Kvz_CInsSaldiMensiliDoc, Kvz_CInsSaldiMensiliView),
	KVZ_BATCH_TEMPLATE("EsplosioneSimboliConti", BDEsplosioneSimboliConti, UIEsplosioneSimboliConti),
};

// Of this library only: the tables library it links against has a class of the same name, whose
// virtual table would otherwise stand in for this one's.
class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override;
};

void AddOnInterface::AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs)
{
	const CPLVNamespace libNs = pNs ? *pNs : CPLVNamespace("Library.KvzNet.KvzMod.KvzBatch");
	for (const TemplateEntry& t : kTemplates)
	{
		CPLVNamespace nsDoc = libNs;
		nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, t.name, TRUE, FALSE);
		CSingleExtDocTemplate* pTemplate =
			AfxGetBaseApp()->RegisterTemplate(nID, t.pfnDoc(), RUNTIME_CLASS(CBatchFrame), t.pfnView(), nsDoc, this,
											  libNs.GetObjectName(CPLVNamespace::LIBRARY), 0, _T("Default"));
		ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "KvzBatchInterfce");
		if (pTemplate)
			pTemplate->SetModuleInstance(AfxGetThisModule());
	}
	// Reports open the balance import by the name of its document class.
	CPLVNamespace nsImporta = libNs;
	nsImporta.SetObjectName(CPLVNamespace::DOCUMENT, _T("ImportaSaldi"), TRUE, FALSE);
	AfxGetBaseApp()->RegisterDocumentAlias(Kvz_CImportaSaldiDoc::kNamespaceReport, nsImporta.GetPathName());
}
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_KvzBatchModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_KvzBatchModule);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.KvzNet.KvzMod.KvzBatch"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_KvzBatchModule);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
