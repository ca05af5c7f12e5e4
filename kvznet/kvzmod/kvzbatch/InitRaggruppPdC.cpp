#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"

#include <algorithm>

#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "InitRaggruppPdC";

enum : UINT
{
	IDC_INIT_PDC_TUTTI_PDC = 31781,
	IDC_INIT_PDC_STATO_ELAB,
	IDC_INIT_PDC_TITOLO,
	IDC_INIT_PDC_ATTENZIONE,
};

void ShowSqlError(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), method, kSource);
	e.ShowError();
}
}  // namespace

Kvz_CInitRaggruppPdCDoc::Kvz_CInitRaggruppPdCDoc() : m_TuttiPdC(FALSE) {}

BOOL Kvz_CInitRaggruppPdCDoc::OnAttachData()
{
	SetFormTitle(_T("Inizializzazione raggruppamento PdC"));
	return TRUE;
}

void Kvz_CInitRaggruppPdCDoc::OnBatchExecute()
{
	// Without the host's code structure no level can be chosen: nothing is written.
	TRChartOfAccountParameters reader(this);
	if (reader.FindRecord() != TableReader::FOUND || reader.GetRecord()->f_LedgerLength <= 0)
	{
		m_StatoElab = _T("Parametri del piano dei conti del gestionale non impostati: nessun conto inizializzato.");
		AfxMessageBox(m_StatoElab.GetString());
		m_bBatchNotStarted = true;  // a refused run is no success
		return;
	}
	m_ParametriPdC = *reader.GetRecord();
	if (!StartBatchTransaction())
		return;

	m_nInizializzati = 0;
	InitRaggruppPdC();
	const BOOL bAborted = GetScheduler()->IsAborted();
	if (!bAborted)
		CreaParametri();
	m_StatoElab = bAborted ? _T("Elaborazione interrotta su richiesta utente.")
						   : CString::Formatted("Elaborazione terminata: %ld conti inizializzati.", m_nInizializzati);
	SetProgressText(m_StatoElab.GetString());
	UpdateDataView();
	GetContext()->Commit();
}

void Kvz_CInitRaggruppPdCDoc::InitRaggruppPdC()
{
	// The deepest level the host's code structure has: the same for every account.
	int nLivello = 1;
	for (int k = TChartOfAccountParameters::MAX_SEGMENTS; k >= 1; --k)
		if (m_ParametriPdC.GetSegmentLength(k) > 0)
		{
			nLivello = k + 1;
			break;
		}
	const int nLenRaggr = m_ParametriPdC.GetLevelLength(nLivello);

	try
	{
		Kvz_TRaggruppPdC rec;
		SqlTable table(&rec, GetUpdatableSqlSession(), this);
		table.SetAutocommit(TRUE);
		table.Open(TRUE);
		table.SelectAll();
		table.AddParam("@p1", rec.f_Conto);
		table.AddFilterColumn(rec.f_Conto);

		TChartOfAccounts conto;
		long nConti = 0, nConto = 0;
		{
			// The count first, for the progress.
			DataLng n;
			SqlTable conta(&conto, GetReadOnlySqlSession(), this);
			conta.Open(FALSE);
			conta.SelectSqlFun("COUNT(*)", n);
			conta.Query();
			nConti = conta.IsEOF() ? 0 : static_cast<long>(n);
			conta.Close();
		}
		SqlTable pdc(&conto, GetReadOnlySqlSession(), this);
		pdc.Open(FALSE);
		pdc.SelectAll();
		pdc.AddSortColumn(conto.f_Account);
		DataBool* livelli[] = {&rec.f_PrimoLivello,  &rec.f_SecondoLivello, &rec.f_TerzoLivello,
							   &rec.f_QuartoLivello, &rec.f_QuintoLivello,  &rec.f_SestoLivello,
							   &rec.f_SettimoLivello, &rec.f_OttavoLivello};
		for (pdc.Query(); !pdc.IsEOF(); pdc.MoveNext())
		{
			if (GetScheduler()->IsAborted())
				break;
			SetProgressText(CString::Formatted("Inizializzazione conto %s in corso (%ld di %ld) ...",
											   conto.f_Account.GetString().GetString(), ++nConto, std::max(nConto, nConti)));
			table.SetParamValue("@p1", conto.f_Account);
			table.Query();
			if (table.IsEOF())
			{
				table.AddNew();
				rec.f_Conto = conto.f_Account;
			}
			else if (!m_TuttiPdC)
				continue;
			else
				table.Edit();

			for (DataBool* pLivello : livelli)
				*pLivello = FALSE;
			*livelli[nLivello - 1] = TRUE;
			const BOOL bUltimo = conto.f_Account.GetString().GetLength() == nLenRaggr;
			rec.f_ProponiInAssestamento = bUltimo;
			rec.f_ModificaInAssestamento = bUltimo;
			rec.f_EsplodiInAnalitica = conto.f_CostAccDetail;
			if (conto.f_CostAccDetail)
				rec.f_TipoDettaglio = DataEnum(E_KVZ_TIPODETTAGLIO, 2);
			table.Update();
			++m_nInizializzati;
		}
		pdc.Close();
		table.Close();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CInitRaggruppPdCDoc::InitRaggruppPdC");
	}
}

void Kvz_CInitRaggruppPdCDoc::CreaParametri()
{
	try
	{
		Kvz_TUParametri updater(this, GetMessages());
		updater.SetSqlSession(GetUpdatableSqlSession());
		updater.SetAutocommit(TRUE);
		if (updater.FindRecord(FALSE) != TableReader::NOT_FOUND)
			return;  // an existing row keeps its segment lengths
		Kvz_TParametri* pRec = updater.GetRecord();
		pRec->f_IDParam = 1;
		pRec->f_BaseDiLettura = DataEnum(E_BASEDILETTURA, 0);
		pRec->f_PagamentoIVA = DataEnum(E_PAGAMENTOIVA, 0);
		pRec->f_LenMastro = m_ParametriPdC.f_LedgerLength;
		pRec->f_NrSegmenti = m_ParametriPdC.f_NrOfSegments;
		DataStr* nomi[] = {&pRec->f_NomeSeg1, &pRec->f_NomeSeg2, &pRec->f_NomeSeg3, &pRec->f_NomeSeg4,
						   &pRec->f_NomeSeg5, &pRec->f_NomeSeg6, &pRec->f_NomeSeg7};
		DataInt* lunghezze[] = {&pRec->f_LenSeg1, &pRec->f_LenSeg2, &pRec->f_LenSeg3, &pRec->f_LenSeg4,
								&pRec->f_LenSeg5, &pRec->f_LenSeg6, &pRec->f_LenSeg7};
		for (int k = 0; k < TChartOfAccountParameters::MAX_SEGMENTS; ++k)
		{
			*nomi[k] = m_ParametriPdC.GetSegmentName(k + 1);
			*lunghezze[k] = m_ParametriPdC.GetSegmentLength(k + 1);
		}
		updater.UpdateRecord();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CInitRaggruppPdCDoc::OnBatchExecute");
	}
}

void Kvz_CInitRaggruppPdCView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CInitRaggruppPdCDoc*>(GetDocument());
	AddStaticText(IDC_INIT_PDC_TITOLO, _T("INIZIALIZZAZIONE DATI DI RAGGRUPPAMENTO PIANO DEI CONTI"));
	AddStaticText(IDC_INIT_PDC_ATTENZIONE, _T("ATTENZIONE: Vengono abilitati ai collegamenti i sottoconti"));
	AddLink(IDC_INIT_PDC_TUTTI_PDC, _T("Ripristinare ai default anche i conti gia' impostati"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_TuttiPdC);
	AddLink(IDC_INIT_PDC_STATO_ELAB, _T("Stato dell'elaborazione:"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
