// A small documents library whose documents export rows to reports, as a module library does,
// and the reports that read them, as the reports library does.
#include <array>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/ExportedFunctions.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

// Accounts of a small balance sheet, read one row at a time; GetRigaRotta fails on its third
// row. Its procedure prints them, as a print document does.
class TDocBilancio : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TDocBilancio, CAbstractFormDoc)
public:
	DataInt m_Esercizio{2024};
	DataStr m_Report{"PlvTest.Report.Bilancio"};

	void OnBatchExecute() override
	{
		auto* pInfo = new CRendoInfo;
		pInfo->AddReport(CPLVNamespace(m_Report.GetString()));
		pInfo->m_bShowAskDialog = pInfo->m_bShowPreview = pInfo->m_bShowProgress = FALSE;
		pInfo->m_bUnattended = pInfo->m_bCloseOnEnd = TRUE;
		pInfo->AddParam("w_EsercInput", m_Esercizio);
		pInfo->AddParam("w_DescrizioneInput", DataStr("Bilancio più recente"));
		CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
		pCmd->ReleaseReport(pCmd->RunReport(pInfo, this, nullptr, nullptr, TRUE));
	}

	DataBool GetRiga(DataInt nRiga, DataStr& gruppo, DataStr& codice, DataStr& descrizione, DataMon& importo,
					 DataPerc& quota, DataInt& mese)
	{
		struct Row
		{
			const char* gruppo;
			const char* codice;
			const char* descrizione;
			double importo;
			double quota;
			int mese;
		};
		static constexpr std::array<Row, 4> rows{{
			{"Attività", "A01", "Crediti verso clienti è più", 1234567.891, 12.5, 1},
			{"Attività", "A02", "Disponibilità liquide", 0.5, 0, 2},
			{"Passività", "P01", "Debiti verso fornitori; società \"collegate\"", -2500.5, 33.333, 3},
			{"Passività", "P02", "Fondo perdità", -1000, 100, 12},
		}};
		const int i = nRiga.GetValue();
		if (i < 0 || i >= static_cast<int>(rows.size()))
			return DataBool(FALSE);
		const Row& r = rows[static_cast<size_t>(i)];
		gruppo = r.gruppo;
		codice = r.codice;
		descrizione = r.descrizione;
		importo = r.importo;
		quota = r.quota;
		mese = r.mese;
		return DataBool(TRUE);
	}
	DataBool GetRigaRotta(DataInt nRiga, DataStr& gruppo, DataStr& codice, DataStr& descrizione, DataMon& importo,
						  DataPerc& quota, DataInt& mese)
	{
		if (nRiga.GetValue() == 2)
			throw CApplicationErrorException("Lettura dei saldi interrotta");
		return GetRiga(nRiga, gruppo, codice, descrizione, importo, quota, mese);
	}
	DataStr GetTitolo() { return DataStr("Situazione patrimoniale di prova"); }
};

class TDocAltro : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TDocAltro, CAbstractFormDoc)
public:
	BOOL CanDoReport() override { return FALSE; }
};

class TBilancioView : public CMasterFormView
{
	DECLARE_DYNCREATE(TBilancioView, CMasterFormView)
public:
	void BuildDataControlLinks() override
	{
		if (auto* pDoc = dynamic_cast<TDocBilancio*>(GetDocument()))
		{
			AddLink(1001, "Esercizio", RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
			AddLink(1002, "Report", RUNTIME_CLASS(CStrEdit), &pDoc->m_Report);
		}
	}
};

// The balance sheet, grouped with subtotals; the "rotto" one reads with the failing function.
class TReportBilancio : public CReportDefinition
{
public:
	explicit TReportBilancio(const char* ns = "PlvTest.Report.Bilancio", const char* fn = "__TDocBilancio_GetRiga")
		: m_Ns(ns), m_Fn(fn)
	{
	}
	CString GetNamespace() const override { return m_Ns; }
	std::vector<CString> GetExportsUsed() const override { return {"__TDocBilancio_GetTitolo", m_Fn}; }
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = AfxTakeReportString(ctx.Member<BSTR>("__TDocBilancio_GetTitolo"));
		out.inputs = {{"Esercizio", ctx.InputText("w_EsercInput")}, {"Descrizione", ctx.InputText("w_DescrizioneInput")}};
		CReportTable& t = out.AddTable("Saldi al 31/12", {{"Codice", ColumnKind::Text, 0.6},
														   {"Descrizione", ColumnKind::Text, 2.4},
														   {"Mese", ColumnKind::Integer, 0.5},
														   {"Quota", ColumnKind::Percent, 0.8},
														   {"Importo", ColumnKind::Money, 1.2}});
		CString group;
		for (int i = 0;; ++i)
		{
			CReportString g, codice, descrizione;
			double importo = 0, quota = 0;
			int mese = 0;
			if (!ctx.Member<bool>(m_Fn.GetString(), i, g.Out(), codice.Out(), descrizione.Out(), &importo, &quota, &mese))
				break;
			if (g.Get() != group && !group.IsEmpty())
				t.AddSubtotal("Totale " + group);
			group = g.Get();
			t.AddRow({codice.Get(), descrizione.Get(), mese, quota, importo});
		}
		t.AddSubtotal("Totale " + group);
		t.AddTotal("Totale generale");
	}

private:
	CString m_Ns;
	CString m_Fn;
};

class TReportBilancioRotto : public TReportBilancio
{
public:
	TReportBilancioRotto() : TReportBilancio("PlvTest.Report.BilancioRotto", "__TDocBilancio_GetRigaRotta") {}
};


namespace {
AFX_EXTENSION_MODULE g_Module;

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override
	{
		const std::pair<const char*, CRuntimeClass*> docs[] = {{"DBilancio", RUNTIME_CLASS(TDocBilancio)},
															   {"DAltro", RUNTIME_CLASS(TDocAltro)}};
		for (auto [name, pClass] : docs)
		{
			CPLVNamespace nsDoc = *pNs;
			nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, name, TRUE, FALSE);
			AfxGetBaseApp()->RegisterTemplate(nID, pClass, RUNTIME_CLASS(CBatchFrame), RUNTIME_CLASS(TBilancioView), nsDoc,
											  this, pNs->GetObjectName(CPLVNamespace::LIBRARY), 0, "Default");
			AfxSetDocumentDefaultReport(nsDoc.GetPathName(), "PlvTest.Report.Bilancio");
		}
	}
};
}  // namespace

PLV_EXPORT bool __TDocBilancio_GetRiga(HWND hWnd, CObject* pContext, int nRiga, BSTR* pGruppo, BSTR* pCodice,
									   BSTR* pDescrizione, double* pImporto, double* pQuota, int* pMese)
{
	return AfxCallMemberExport(hWnd, pContext, &TDocBilancio::GetRiga, nRiga, pGruppo, pCodice, pDescrizione, pImporto,
							   pQuota, pMese);
}

PLV_EXPORT bool __TDocBilancio_GetRigaRotta(HWND hWnd, CObject* pContext, int nRiga, BSTR* pGruppo, BSTR* pCodice,
											BSTR* pDescrizione, double* pImporto, double* pQuota, int* pMese)
{
	return AfxCallMemberExport(hWnd, pContext, &TDocBilancio::GetRigaRotta, nRiga, pGruppo, pCodice, pDescrizione,
							   pImporto, pQuota, pMese);
}

PLV_EXPORT BSTR __TDocBilancio_GetTitolo(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &TDocBilancio::GetTitolo);
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_Module, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_Module);
		AfxRegisterReportDefinition(std::make_unique<TReportBilancio>(), hInstance);
		AfxRegisterReportDefinition(std::make_unique<TReportBilancioRotto>(), hInstance);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.PlvTest.TestRep.TestReportData"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
	{
		AfxRemoveReportDefinitions(hInstance);
		AfxTermExtensionModule(g_Module);
	}
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
