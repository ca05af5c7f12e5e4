// A documents library: templates (one of them broken unless NO_BROKEN_TEMPLATE), and
// functions exported to reports.
#include <array>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/ExportedFunctions.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

extern "C" int TestParts_TableNameLength();

class TFrame : public CBaseFrame
{
	DECLARE_DYNCREATE(TFrame, CBaseFrame)
};

class TView : public CBaseView
{
	DECLARE_DYNCREATE(TView, CBaseView)
};

class TAutomationView : public CBaseView
{
	DECLARE_DYNCREATE(TAutomationView, CBaseView)
};

// A view the framework cannot create: its template is refused.
class TFixedView : public CBaseView
{
	DECLARE_DYNAMIC(TFixedView, CBaseView)
};

// Rows of accounts that reports read one at a time.
class TDocConti : public CBaseDocument
{
	DECLARE_DYNCREATE(TDocConti, CBaseDocument)
public:
	DataBool GetRiga(DataInt nRiga, DataStr& codice, DataMon& importo, DataEnum& tipo)
	{
		struct Row
		{
			const char* codice;
			double importo;
			WORD tipo;
		};
		static constexpr std::array<Row, 2> rows{{{"C01", 10.5, 1}, {"C02", -3.25, 2}}};
		if (nRiga.GetValue() < 0 || nRiga.GetValue() >= static_cast<int>(rows.size()))
			return DataBool(FALSE);
		const Row& r = rows[static_cast<size_t>(nRiga.GetValue())];
		codice = r.codice;
		importo = r.importo;
		tipo = DataEnum(0x3AA7, r.tipo);
		return DataBool(TRUE);
	}
	// Says so when it does not run on a user-interface thread.
	DataStr GetTitolo(DataStr prefisso)
	{
		return DataStr(prefisso.GetString() + (AfxGetThreadMainWnd() ? " conti" : " conti (fuori dal thread)"));
	}
};

class TDocStampa : public CBaseDocument
{
	DECLARE_DYNCREATE(TDocStampa, CBaseDocument)
};

// Closes itself as it opens, as a document run unattended does when its work is done.
class TDocChiude : public CBaseDocument
{
	DECLARE_DYNCREATE(TDocChiude, CBaseDocument)
public:
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override
	{
		CloseDocument(TRUE);
		return CBaseDocument::OnOpenDocument(pInfo);
	}
};

namespace {
AFX_EXTENSION_MODULE g_Module;

struct TemplateRow
{
	const char* name;
	CRuntimeClass* (*doc)();
	CRuntimeClass* (*frame)();
	CRuntimeClass* (*view)();
	const char* viewName;
};

const TemplateRow kTemplates[] = {
	{"DConti", &TDocConti::GetThisClass, &TFrame::GetThisClass, &TView::GetThisClass, "Default"},
	{"DConti", &TDocConti::GetThisClass, &TFrame::GetThisClass, &TAutomationView::GetThisClass, "Unattended"},
#ifndef NO_BROKEN_TEMPLATE
	{"DRotto", &TDocStampa::GetThisClass, &TFrame::GetThisClass, &TFixedView::GetThisClass, "Default"},
#endif
	{"BDStampa", &TDocStampa::GetThisClass, &TFrame::GetThisClass, &TView::GetThisClass, ""},
	{"DChiude", &TDocChiude::GetThisClass, &TFrame::GetThisClass, &TView::GetThisClass, "Default"},
};

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_AttachClientDocs(CBaseDocument* pDocument, CClientDocArray*, const CPLVNamespace& ns) override
	{
		AfxSetProgressText("client documents of " + ns.GetPathName() + " for " + pDocument->GetNamespace().GetPathName());
	}
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override
	{
		for (const TemplateRow& row : kTemplates)
		{
			CPLVNamespace nsDoc = *pNs;
			nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, row.name, TRUE, FALSE);
			CSingleExtDocTemplate* pTemplate =
				AfxGetBaseApp()->RegisterTemplate(nID, row.doc(), row.frame(), row.view(), nsDoc, this,
												  pNs->GetObjectName(CPLVNamespace::LIBRARY), 0, row.viewName);
			ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "TestDocs");
			if (pTemplate)
				pTemplate->SetModuleInstance(AfxGetThisModule());
		}
	}
};
}  // namespace

PLV_EXPORT long __TDocConti_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__TDocConti_Run, _T("PlvTest.TestMod.TestDocs.DConti"));
}

PLV_EXPORT bool __TDocConti_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__TDocConti_Dispose, hDocument);
}

PLV_EXPORT bool __TDocConti_GetRiga(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, double* pImporto,
									int* pTipo)
{
	return AfxCallMemberExport(hWnd, pContext, &TDocConti::GetRiga, nRiga, pCodice, pImporto, pTipo);
}

PLV_EXPORT BSTR __TDocConti_GetTitolo(HWND hWnd, CObject* pContext, BSTR prefisso)
{
	return AfxCallMemberExport(hWnd, pContext, &TDocConti::GetTitolo, prefisso);
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		// Its parts must be there before it is.
		if (!AfxInitExtensionModule(g_Module, hInstance) || TestParts_TableNameLength() == 0)
			return FALSE;
		new CDynLinkLibrary(g_Module);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.PlvTest.TestMod.TestDocs"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_Module);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
