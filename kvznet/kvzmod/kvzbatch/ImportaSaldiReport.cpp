// The lists the balance import hands to reports: the preview of the grouped chart of accounts
// and the grouped accounts that no base-plan symbol uses; the reports read them back, one row
// per call, through the functions this library exports.
#include <algorithm>
#include <memory>

#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgenlib/ExportedFunctions.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

void Kvz_CImportaSaldiDoc::CostruisciPreview()
{
	m_StatoElab.Clear();
	UpdateDataView();
	m_Preview_Righe.clear();
	for (const auto& pMastro : m_Mastri)
		for (const auto& pConto : pMastro->m_Conti)
		{
			Kvz_ContoKvzElemForPreview riga;
			riga.m_Conto = pConto->m_Codice;
			riga.m_Descrizione = pConto->m_Descrizione;
			riga.m_ProponiInAssest = pConto->m_ProponiInAssest;
			riga.m_ModifInAssest = pConto->m_ModifInAssest;
			riga.m_ContoCollegato = pConto->m_ContoCollegato;
			riga.m_DescrContoCollegato = pConto->m_DescrContoCollegato;
			riga.m_UltimoLivello = pConto->m_UltimoLivello;
			m_Preview_Righe.push_back(riga);
			// A split's row repeats its account but not the linked account's description.
			riga.m_DescrContoCollegato.Empty();
			for (const auto& pCdc : pConto->m_CdcComm)
			{
				riga.m_CdcComm = pCdc->m_Codice;
				riga.m_DescrCdcComm = pCdc->m_Descrizione;
				riga.m_Perc = pCdc->m_Perc;
				m_Preview_Righe.push_back(riga);
			}
		}
	// By account, then by centre or job, code point by code point (UTF-8 bytes sort the same):
	// the account's own row, with no centre, comes first.
	std::stable_sort(m_Preview_Righe.begin(), m_Preview_Righe.end(),
					 [](const Kvz_ContoKvzElemForPreview& a, const Kvz_ContoKvzElemForPreview& b) {
						 const int c = a.m_Conto.str().compare(b.m_Conto.str());
						 return c != 0 ? c < 0 : a.m_CdcComm.str() < b.m_CdcComm.str();
					 });
}

void Kvz_CImportaSaldiDoc::EseguiReport(LPCTSTR lpszNamespace)
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;  // no framework around the document (a batch run from code)
	if (!AfxGetReportEngine())
	{
		GetMessages()->Add(CString::Formatted("Stampa %s non eseguita: nessun motore di stampa disponibile.", lpszNamespace),
						   CMessages::MSG_WARNING);
		return;
	}
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(lpszNamespace));
	pInfo->AddReport(CPLVNamespace(lpszNamespace));
	// The engine owns the request from here and tells why a report did not run; the document
	// keeps no report.
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

DataBool Kvz_CImportaSaldiDoc::Kvz_GetContoPreview(const DataInt& nIdx, DataStr& conto, DataStr& descrizione,
												   DataStr& cdcComm, DataStr& descrCdcComm, DataBool& proponi,
												   DataBool& modificabile, DataStr& collegato, DataStr& descrCollegato,
												   DataBool& ultimoLivello, DataPerc& perc)
{
	const int i = nIdx;
	if (i < 0 || static_cast<size_t>(i) >= m_Preview_Righe.size())
		return DataBool(FALSE);
	const Kvz_ContoKvzElemForPreview& r = m_Preview_Righe[static_cast<size_t>(i)];
	conto = r.m_Conto;
	descrizione = r.m_Descrizione;
	cdcComm = r.m_CdcComm;
	descrCdcComm = r.m_DescrCdcComm;
	proponi = r.m_ProponiInAssest;
	modificabile = r.m_ModifInAssest;
	collegato = r.m_ContoCollegato;
	descrCollegato = r.m_DescrContoCollegato;
	ultimoLivello = r.m_UltimoLivello;
	perc = r.m_Perc;
	return DataBool(TRUE);
}

DataBool Kvz_CImportaSaldiDoc::Kvz_GetContoUnused(const DataInt& nIdx, DataStr& conto, DataStr& descrizione)
{
	const int i = nIdx;
	const size_t n = std::min(m_ContiNonUsati.size(), m_DescrContiNonUsati.size());
	if (i < 0 || static_cast<size_t>(i) >= n)
		return DataBool(FALSE);
	conto = m_ContiNonUsati[static_cast<size_t>(i)];
	descrizione = m_DescrContiNonUsati[static_cast<size_t>(i)];
	return DataBool(TRUE);
}

// ---- the exports ---------------------------------------------------------------------------------

PLV_EXPORT long __CImportaSaldiDoc_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__CImportaSaldiDoc_Run, Kvz_CImportaSaldiDoc::kNamespaceReport);
}

PLV_EXPORT bool __CImportaSaldiDoc_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__CImportaSaldiDoc_Dispose, hDocument);
}

PLV_EXPORT bool __CImportaSaldiDoc_Kvz_GetContoPreview(HWND hWnd, CObject* pContext, int nIdx, BSTR* pConto,
													   BSTR* pDescrizione, BSTR* pCdcComm, BSTR* pDescrCdcComm,
													   bool* pProponi, bool* pModificabile, BSTR* pCollegato,
													   BSTR* pDescrCollegato, bool* pUltimoLivello, double* pPerc)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CImportaSaldiDoc::Kvz_GetContoPreview, nIdx, pConto, pDescrizione,
							   pCdcComm, pDescrCdcComm, pProponi, pModificabile, pCollegato, pDescrCollegato,
							   pUltimoLivello, pPerc);
}

PLV_EXPORT bool __CImportaSaldiDoc_Kvz_GetContoUnused(HWND hWnd, CObject* pContext, int nIdx, BSTR* pConto,
													  BSTR* pDescrizione)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CImportaSaldiDoc::Kvz_GetContoUnused, nIdx, pConto, pDescrizione);
}
