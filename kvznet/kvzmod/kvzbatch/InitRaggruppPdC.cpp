#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"

#include <algorithm>
#include <set>
#include <string>

#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlMultiInsert.h"

namespace {
const char* const kSource = "InitRaggruppPdC";

enum : UINT
{
	IDC_INIT_PDC_TUTTI_PDC = 31781,
	IDC_INIT_PDC_STATO_ELAB,
	IDC_INIT_PDC_TITOLO,
	IDC_INIT_PDC_ATTENZIONE,
};

// An account as the grouping table's key compares it: without regard to ASCII case.
std::string Chiave(const DataStr& conto)
{
	std::string key = conto.GetString().str();
	for (char& c : key)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	return key;
}

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

		// The accounts already grouped, read at once, and the new ones added many to a statement:
		// no round trip of their own for accounts that are new or left as they are.
		std::set<std::string> esistenti;
		{
			Kvz_TRaggruppPdC letto;
			SqlTable gia(&letto, GetReadOnlySqlSession(), this);
			gia.Open(FALSE);
			gia.Select(letto.f_Conto);
			for (gia.Query(); !gia.IsEOF(); gia.MoveNext())
				esistenti.insert(Chiave(letto.f_Conto));
			gia.Close();
		}
		// Sent by this loop, so that the rows counted are the rows written.
		constexpr int kRighePerInsert = 50;
		SqlMultiInsert nuovi(GetUpdatableSqlSession(), rec, kRighePerInsert);

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
		for (pdc.Query(); !pdc.IsEOF(); pdc.MoveNext())
		{
			if (GetScheduler()->IsAborted())
				break;
			SetProgressText(CString::Formatted("Inizializzazione conto %s in corso (%ld di %ld) ...",
											   conto.f_Account.GetString().GetString(), ++nConto, std::max(nConto, nConti)));
			const bool bNuovo = esistenti.insert(Chiave(conto.f_Account)).second;
			if (!bNuovo && !m_TuttiPdC)
				continue;
			Kvz_TRaggruppPdC* pRiga = &rec;
			if (bNuovo)
			{
				if (nuovi.Pending() == kRighePerInsert)
					m_nInizializzati += nuovi.Flush();
				pRiga = &static_cast<Kvz_TRaggruppPdC&>(nuovi.NewRow());
				pRiga->f_Conto = conto.f_Account;
			}
			else
			{
				table.SetParamValue("@p1", conto.f_Account);
				table.Query();
				if (table.IsEOF())
					continue;  // gone since it was read
				table.Edit();
			}

			DataBool* livelli[] = {&pRiga->f_PrimoLivello,  &pRiga->f_SecondoLivello, &pRiga->f_TerzoLivello,
								   &pRiga->f_QuartoLivello, &pRiga->f_QuintoLivello,  &pRiga->f_SestoLivello,
								   &pRiga->f_SettimoLivello, &pRiga->f_OttavoLivello};
			for (DataBool* pLivello : livelli)
				*pLivello = FALSE;
			*livelli[nLivello - 1] = TRUE;
			const BOOL bUltimo = conto.f_Account.GetString().GetLength() == nLenRaggr;
			pRiga->f_ProponiInAssestamento = bUltimo;
			pRiga->f_ModificaInAssestamento = bUltimo;
			pRiga->f_EsplodiInAnalitica = conto.f_CostAccDetail;
			if (conto.f_CostAccDetail)
				pRiga->f_TipoDettaglio = DataEnum(E_KVZ_TIPODETTAGLIO, 2);
			if (bNuovo)
				pRiga->RefuseBrokenRules();
			else
			{
				table.Update();
				++m_nInizializzati;
			}
		}
		// The new rows still held, the last ones too when the run was stopped.
		m_nInizializzati += nuovi.Flush();
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
