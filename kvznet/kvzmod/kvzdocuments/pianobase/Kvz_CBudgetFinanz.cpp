// The financial budget of a budget: each month's amount split into instalments by its payment
// terms, each instalment in the month it falls due (this year or the next), the VAT in the month
// it is settled, and what the prior year's budget carries into this one.
#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "DeBudget";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}
}  // namespace

void Kvz_TotaliFinanz::Azzera()
{
	totale.Clear();
	for (DataMon& t : trimestri)
		t.Clear();
}

void Kvz_TotaliFinanz::Aggiungi(const Kvz_TBudgetFinanzRighe& aRiga)
{
	const double importo = aRiga.f_ImportoMese + aRiga.f_ImpostaMese;
	totale += importo;
	if (aRiga.f_Mese >= 1 && aRiga.f_Mese <= 12)
		trimestri[(aRiga.f_Mese - 1) / 3] += importo;
}

void Kvz_TotaliFinanz::Leggi(const Kvz_TBudgetFinanzTesta& aTesta)
{
	totale = aTesta.f_TotBudget;
	trimestri[0] = aTesta.f_TotTrimestre1;
	trimestri[1] = aTesta.f_TotTrimestre2;
	trimestri[2] = aTesta.f_TotTrimestre3;
	trimestri[3] = aTesta.f_TotTrimestre4;
}

void Kvz_TotaliFinanz::Scrivi(Kvz_TBudgetFinanzTesta& aTesta) const
{
	aTesta.f_TotBudget = totale;
	aTesta.f_TotTrimestre1 = trimestri[0];
	aTesta.f_TotTrimestre2 = trimestri[1];
	aTesta.f_TotTrimestre3 = trimestri[2];
	aTesta.f_TotTrimestre4 = trimestri[3];
}

BOOL Kvz_CBudgetDoc::AssegnaIDBudgetFinanz()
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	if (!pTesta->f_IDBudgetFinanz.IsEmpty())
		return TRUE;
	Kvz_IDManager idMng(DataEnum(E_KVZ_SPECIEARCHIVIO, 3), this);
	DataLng id;
	if (!idMng.GetNextID(id))
		return FALSE;
	pTesta->f_IDBudgetFinanz = id;
	return TRUE;
}

void Kvz_CBudgetDoc::PreparaRigheBudgetFinanziario()
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	if (m_pDBTBudgetFinanzRighe->GetSize() == 0)
		for (int nMese = 1; nMese <= 12; ++nMese)
		{
			auto* pRiga = static_cast<Kvz_TEnhBudgetFinanzRighe*>(m_pDBTBudgetFinanzRighe->AddRecord());
			pRiga->f_Mese = nMese;
			pRiga->SetStorable();
		}
	// Each build yields the whole amounts: what an earlier build (or save) put in is replaced,
	// never added to, so that the saved differences are this save's change.
	for (int i = 0; i < m_pDBTBudgetFinanzRighe->GetSize(); ++i)
	{
		Kvz_TEnhBudgetFinanzRighe* pRiga = m_pDBTBudgetFinanzRighe->GetRiga(i);
		pRiga->f_IDBudget = pTesta->f_IDBudget;
		pRiga->f_IDBudgetFinanz = pTesta->f_IDBudgetFinanz;
		for (DataMon* p : {&pRiga->f_ImportoMese, &pRiga->f_ImpostaMese, &pRiga->f_ImportoMeseAnnoSucc,
						   &pRiga->f_ImpostaMeseAnnoSucc, &pRiga->f_ImportoMeseAnnoPrec, &pRiga->f_ImpostaMeseAnnoPrec})
			p->Clear();
	}

	try
	{
		Kvz_TBudgetFinanzTesta prec;
		SqlTable t(&prec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.Select(prec.f_IDBudgetFinanz);
		t.AddParam("p1", prec.f_Esercizio);
		t.AddFilterColumn(prec.f_Esercizio);
		t.AddParam("p2", prec.f_TipoBudget);
		t.AddFilterColumn(prec.f_TipoBudget);
		t.AddParam("p3", prec.f_ContoKvz);
		t.AddFilterColumn(prec.f_ContoKvz);
		t.AddParam("p4", prec.f_CentroCommessa);
		t.AddFilterColumn(prec.f_CentroCommessa);
		t.AddSortColumn(prec.f_IDBudgetFinanz);
		t.SetParamValue("p1", DataInt(pTesta->f_Esercizio - 1));
		t.SetParamValue("p2", pTesta->f_TipoBudget);
		t.SetParamValue("p3", pTesta->f_ContoKvz);
		t.SetParamValue("p4", pTesta->f_CentroCommessa);
		t.Query();
		if (t.IsEOF())
			return;
		const DataLng idPrec = prec.f_IDBudgetFinanz;
		t.Close();

		Kvz_TBudgetFinanzRighe riga;
		SqlTable r(&riga, GetReadOnlySqlSession(), this);
		r.Open(FALSE);
		r.SelectAll();
		r.AddParam("p1", riga.f_IDBudgetFinanz);
		r.AddFilterColumn(riga.f_IDBudgetFinanz);
		r.SetParamValue("p1", idPrec);
		for (r.Query(); !r.IsEOF(); r.MoveNext())
			if (Kvz_TEnhBudgetFinanzRighe* pRiga = m_pDBTBudgetFinanzRighe->GetRigaMese(riga.f_Mese))
			{
				pRiga->f_ImportoMeseAnnoPrec = riga.f_ImportoMeseAnnoSucc;
				pRiga->f_ImpostaMeseAnnoPrec = riga.f_ImpostaMeseAnnoSucc;
			}
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CBudgetDoc::PreparaRigheBudgetFinanziario", kSource);
	}
}

void Kvz_CBudgetDoc::CalcolaRateRiga(const Kvz_TEnhBudgetRighe& aRiga)
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	const int nAnno = pTesta->f_Esercizio;
	const int nMese = aRiga.f_Mese;
	const DataDate primo(1, nMese, nAnno);
	m_pHKLAnagContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	DataStr conto = pTesta->f_ContoKvz;
	const WORD nMastro =
		m_pHKLAnagContiKvz->FindRecord(&conto) ? m_pHKLAnagContiKvz->GetRecord()->f_TipoMastro.GetItemValue() : 0;
	// Collections come in and their VAT goes out; payments the other way round.
	const double segnoRate = nMastro == 1 || nMastro == 4 ? 1.0 : -1.0;
	const double segnoIva = -segnoRate;

	auto riga = [&](int nPos, const char* szCondizione) -> Kvz_TEnhBudgetFinanzRighe* {
		Kvz_TEnhBudgetFinanzRighe* p = m_pDBTBudgetFinanzRighe->GetRigaMese(nPos + 1);
		if (!p)
			ASSERT_RELEASE_FAILED(szCondizione, "Kvz_CBudgetDoc::CalcolaRateRiga", kSource);
		return p;
	};

	if (aRiga.f_CondPag.IsEmpty())
	{
		if (Kvz_TEnhBudgetFinanzRighe* p = riga(nMese - 1, "nInd >= 0 && nInd <= m_pDBTRigheFinanz->GetUpperBound()"))
			p->f_ImportoMese += aRiga.f_ImportoMese;
	}
	else
	{
		TRPaymentTerms termini(this);
		// Terms the host does not know: one instalment on the first day of the month.
		const TPaymentTerms nessuno;
		const TPaymentTerms& terms =
			termini.FindRecord(aRiga.f_CondPag) == TableReader::FOUND ? *termini.GetRecord() : nessuno;
		m_pDivider->GeneratePymtSchedule(terms, primo, aRiga.f_ImportoMese, DataMon(0));
		m_pDivider->SubdivideAmounts(terms.f_AmountsSplit, terms.f_TaxOnFirstInstalment, aRiga.f_ImportoMese, DataMon(0));
		for (int i = 0; i < m_pDivider->GetSize(); ++i)
		{
			const Instalment* pRata = m_pDivider->GetInstalment(i);
			const int nAnnoScad = pRata->f_DueDate.IsEmpty() ? nAnno : pRata->f_DueDate.Year();
			const int nMeseScad = pRata->f_DueDate.IsEmpty() ? nMese : pRata->f_DueDate.Month();
			if (nAnnoScad < nAnno)
				continue;
			Kvz_TEnhBudgetFinanzRighe* p =
				riga(nMeseScad - 1, "nInd >= 0 && nInd <= m_pDBTRigheFinanz->GetUpperBound()");
			if (!p)
				continue;
			// Every later year lands in the next-year column of its month.
			(nAnnoScad == nAnno ? p->f_ImportoMese : p->f_ImportoMeseAnnoSucc) += segnoRate * pRata->f_Amount;
		}
	}

	if (aRiga.f_CodIVA.IsEmpty())
		return;
	TRTAX iva(this);
	const double aliquota = iva.FindRecord(aRiga.f_CodIVA) == TableReader::FOUND ? iva.GetRecord()->f_Perc.GetValue() : 0.0;
	const double imposta = aRiga.f_ImportoMese * aliquota / 100.0;
	Kvz_TRParametri parametri(this);
	const bool bMensile = parametri.FindRecord() != TableReader::FOUND ||
						  parametri.GetRecord()->f_PagamentoIVA.GetItemValue() == 0;
	const int nMeseIva = bMensile ? nMese + 1 : ((nMese - 1) / 3) * 3 + 5;
	Kvz_TEnhBudgetFinanzRighe* p =
		riga((nMeseIva <= 12 ? nMeseIva : nMeseIva - 12) - 1,
			 "nMeseIva >= 0 && nMeseIva <= m_pDBTRigheFinanz->GetUpperBound()");
	if (p)
		(nMeseIva <= 12 ? p->f_ImpostaMese : p->f_ImpostaMeseAnnoSucc) += segnoIva * imposta;
}

BOOL Kvz_CBudgetDoc::SalvaTestaBudgetFinanz()
{
	m_TotaliFinanz.Azzera();
	for (int i = 0; i < m_pDBTBudgetFinanzRighe->GetSize(); ++i)
		m_TotaliFinanz.Aggiungi(*m_pDBTBudgetFinanzRighe->GetRiga(i));
	// Written with the budget: in its save's transaction.
	if (!m_bInSalvataggio)
		return TRUE;
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	Jex_TUBudgetFinanzTesta testa(this);
	const TableReader::FindResult esito = testa.FindRecord(pTesta->f_IDBudgetFinanz, TRUE);
	if (esito != TableReader::FOUND && esito != TableReader::NOT_FOUND)
		return Rifiuta(Testo(_T("Il budget finanziario e' in uso da un altro utente.")), 0);
	Kvz_TBudgetFinanzTesta* pFin = testa.GetRecord();
	if (esito == TableReader::NOT_FOUND)
	{
		pFin->f_IDBudgetFinanz = pTesta->f_IDBudgetFinanz;
		pFin->f_DataCreazione = AfxGetApplicationDate();
	}
	pFin->f_DataUltModifica = AfxGetApplicationDate();
	pFin->f_IDBudget = pTesta->f_IDBudget;
	pFin->f_ContoKvz = pTesta->f_ContoKvz;
	pFin->f_CentroCommessa = pTesta->f_CentroCommessa;
	pFin->f_Esercizio = pTesta->f_Esercizio;
	pFin->f_TipoBudget = pTesta->f_TipoBudget;
	m_TotaliFinanz.Scrivi(*pFin);
	const BOOL bScritto = testa.UpdateRecord();
	testa.UnlockAll();
	return bScritto;
}

BOOL Kvz_CBudgetDoc::CostruisciBudgetFinanz()
{
	// A month out of range has no instalments, VAT month or row to go to.
	if (!ControllaMesi())
		return FALSE;
	if (!AssegnaIDBudgetFinanz())
	{
		AfxMessageBox(Testo(_T("Impossibile creare il budget finaziario.")), MB_OK | MB_ICONERROR);
		return FALSE;
	}
	BeginWaitCursor();
	PreparaRigheBudgetFinanziario();
	for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
		CalcolaRateRiga(*m_pDBTBudgetRighe->GetRiga(i));
	for (int i = 0; i < m_pDBTBudgetFinanzRighe->GetSize(); ++i)
	{
		Kvz_TEnhBudgetFinanzRighe* pRiga = m_pDBTBudgetFinanzRighe->GetRiga(i);
		pRiga->l_TotaleRiga = pRiga->f_ImportoMese + pRiga->f_ImportoMeseAnnoPrec;
		pRiga->l_TotaleRigaAP = pRiga->f_ImpostaMese + pRiga->f_ImpostaMeseAnnoPrec;
	}
	EndWaitCursor();
	return TRUE;
}

void Kvz_CBudgetDoc::OnCreaBudgetFinanz()
{
	if (!CostruisciBudgetFinanz())
		return;
	// The button shows the totals; the header is written when the budget is saved.
	SalvaTestaBudgetFinanz();
	SetModifiedFlag();
	UpdateDataView();
}
