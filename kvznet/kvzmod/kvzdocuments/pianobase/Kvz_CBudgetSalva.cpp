// Saving a budget: its checks, the financial budget rebuilt, and the budget carried to the
// parent accounts' budgets and to the budgets of the account's cost centres and jobs. The
// carrying writes on the document's updatable session inside the save's transaction: a save
// that fails leaves the other budgets as they were, so a retry carries its change once.
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"

namespace {
const char* const kSource = "DeBudget";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}

// The six amounts of a financial row, and their values as loaded.
DataMon* Importi(Kvz_TBudgetFinanzRighe& r, int i)
{
	DataMon* importi[] = {&r.f_ImportoMese,			&r.f_ImpostaMese,		  &r.f_ImportoMeseAnnoPrec,
						  &r.f_ImpostaMeseAnnoPrec, &r.f_ImportoMeseAnnoSucc, &r.f_ImpostaMeseAnnoSucc};
	return importi[i];
}

const DataMon& Vecchio(const Kvz_TEnhBudgetFinanzRighe& r, int i)
{
	const DataMon* vecchi[] = {&r.l_OldImportoMese,			&r.l_OldImpostaMese,		  &r.l_OldImportoMeseAnnoPrec,
							   &r.l_OldImpostaMeseAnnoPrec, &r.l_OldImportoMeseAnnoSucc, &r.l_OldImpostaMeseAnnoSucc};
	return *vecchi[i];
}

// The rows of one budget (or financial budget), with a key filter on its id and the month.
template <class Rec>
class RigheDi
{
public:
	RigheDi(SqlSession* pSession, CObject* pDoc, DataLng Rec::*pId) : m_Table(&m_Rec, pSession, pDoc), m_pId(pId)
	{
		m_Table.Open(TRUE);
		m_Table.SelectAll();
		m_Table.AddParam("p1", m_Rec.*m_pId);
		m_Table.AddFilterColumn(m_Rec.*m_pId);
		m_Table.AddParam("p2", m_Rec.f_Mese);
		m_Table.AddFilterColumn(m_Rec.f_Mese);
	}
	// The months the budget has.
	std::vector<int> Mesi(const DataLng& aId)
	{
		std::vector<int> mesi;
		Rec rec;
		SqlTable t(&rec, m_Table.GetSqlSession(), nullptr);
		t.Open(FALSE);
		t.Select(rec.f_Mese);
		t.AddParam("p1", rec.*m_pId);
		t.AddFilterColumn(rec.*m_pId);
		t.AddSortColumn(rec.f_Mese);
		t.SetParamValue("p1", aId);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			mesi.push_back(rec.f_Mese);
		return mesi;
	}
	// The row of the month, ready for the change.
	Rec& Modifica(const DataLng& aId, int nMese)
	{
		m_Table.SetParamValue("p1", aId);
		m_Table.SetParamValue("p2", DataInt(nMese));
		m_Table.Query();
		m_Table.Edit();
		return m_Rec;
	}
	Rec& Nuova()
	{
		m_Table.AddNew();
		return m_Rec;
	}
	void Scrivi() { m_Table.Update(); }

private:
	Rec m_Rec;
	SqlTable m_Table;
	DataLng Rec::*m_pId;
};
}  // namespace

// ---- look-ups ----------------------------------------------------------------------------------

std::vector<Kvz_TCentriCommesseContiKvz> Kvz_CentriDelConto(SqlSession* pSession, CObject* pDocument,
															 const DataInt& aEsercizio, const DataStr& aConto)
{
	std::vector<Kvz_TCentriCommesseContiKvz> centri;
	Kvz_TCentriCommesseContiKvz rec;
	SqlTable t(&rec, pSession, pDocument);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_ContoKvz);
	t.AddFilterColumn(rec.f_ContoKvz);
	t.AddSortColumn(rec.f_CentroCommessa);
	t.SetParamValue("p1", aEsercizio);
	t.SetParamValue("p2", aConto);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		centri.push_back(rec);
	return centri;
}

DataLng Kvz_TrovaBudget(SqlSession* pSession, CObject* pDocument, const Kvz_ChiaveBudget& aChiave,
						DataLng* pIDBudgetFinanz)
{
	Kvz_TBudgetTesta rec;
	SqlTable t(&rec, pSession, pDocument);
	t.Open(FALSE);
	t.Select(rec.f_IDBudget);
	t.Select(rec.f_IDBudgetFinanz);
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_TipoBudget);
	t.AddFilterColumn(rec.f_TipoBudget);
	t.AddParam("p3", rec.f_ContoKvz);
	t.AddFilterColumn(rec.f_ContoKvz);
	t.AddParam("p4", rec.f_CentroCommessa);
	t.AddFilterColumn(rec.f_CentroCommessa);
	if (aChiave.pTipoCentroComm)
	{
		t.AddParam("p5", rec.f_TipoCentroComm);
		t.AddFilterColumn(rec.f_TipoCentroComm);
	}
	if (aChiave.pEscluso)
	{
		t.AddParam("p6", rec.f_IDBudget);
		t.AddFilterColumn(rec.f_IDBudget, _T("<>"));
	}
	t.AddSortColumn(rec.f_IDBudget);
	t.SetParamValue("p1", aChiave.esercizio);
	t.SetParamValue("p2", aChiave.tipoBudget);
	t.SetParamValue("p3", aChiave.conto);
	t.SetParamValue("p4", aChiave.centroCommessa);
	if (aChiave.pTipoCentroComm)
		t.SetParamValue("p5", *aChiave.pTipoCentroComm);
	if (aChiave.pEscluso)
		t.SetParamValue("p6", *aChiave.pEscluso);
	t.Query();
	if (t.IsEOF())
		return DataLng();
	if (pIDBudgetFinanz)
		*pIDBudgetFinanz = rec.f_IDBudgetFinanz;
	return rec.f_IDBudget;
}

DataLng Kvz_CBudgetDoc::CercaBudgetSql(const DataInt& aEsercizio, const DataStr& aConto, DataLng& aIDBudgetFinanz,
									   const DataStr& aCentroCommessa, const DataEnum* pTipoCentroComm)
{
	Kvz_ChiaveBudget chiave{aEsercizio, GetTesta()->f_TipoBudget, aConto, aCentroCommessa, pTipoCentroComm};
	return Kvz_TrovaBudget(GetUpdatableSqlSession(), this, chiave, &aIDBudgetFinanz);
}

DataLng Kvz_CBudgetDoc::CercaBudget(const DataStr& aConto, DataLng& aIDBudgetFinanz, const DataStr& aCentroCommessa,
									const DataEnum& aTipoCentroComm)
{
	try
	{
		return CercaBudgetSql(GetTesta()->f_Esercizio, aConto, aIDBudgetFinanz, aCentroCommessa, &aTipoCentroComm);
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CBudgetDoc::CercaBudget", kSource);
		return DataLng();
	}
}

DataLng Kvz_CBudgetDoc::CercaBudget()
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	DataLng idFinanz;
	try
	{
		return CercaBudgetSql(DataInt(pTesta->f_Esercizio - 1), pTesta->f_ContoKvz, idFinanz, pTesta->f_CentroCommessa,
							  &pTesta->f_TipoCentroComm);
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CBudgetDoc::CercaBudget", kSource);
		return DataLng();
	}
}

// ---- checks ------------------------------------------------------------------------------------

BOOL Kvz_CBudgetDoc::ControllaMesi()
{
	for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
	{
		const int nMese = m_pDBTBudgetRighe->GetRiga(i)->f_Mese;
		if (nMese >= 1 && nMese <= 12)
			continue;
		m_pDBTBudgetRighe->SetCurrentRow(i);
		return Rifiuta(CString::Formatted(Testo(_T("Il mese indicato alla riga %d non e' valido.")).GetString(), i + 1),
					   IDC_BDG_RIGHE_MESE);
	}
	return TRUE;
}

BOOL Kvz_CBudgetDoc::Controlli(const DataBool& aControllaTotali)
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	if (pTesta->f_Esercizio.IsEmpty())
		return Rifiuta(Testo(_T("Indicare l'esercizio.")), IDC_BDG_ESERCIZIO);
	if (pTesta->f_ContoKvz.IsEmpty())
		return Rifiuta(Testo(_T("Indicare il conto raggruppato.")), IDC_BDG_CONTO);
	if (GetFormMode() == NEW)
	{
		try
		{
			Kvz_ChiaveBudget chiave{pTesta->f_Esercizio, pTesta->f_TipoBudget, pTesta->f_ContoKvz,
									pTesta->f_CentroCommessa};
			chiave.pEscluso = &pTesta->f_IDBudget;
			if (!Kvz_TrovaBudget(GetUpdatableSqlSession(), this, chiave).IsEmpty())
				return Rifiuta(
					Testo(_T("Esiste gia' un budget di questo tipo legato a questo conto e centro/commessa.")),
					IDC_BDG_CONTO);
		}
		catch (const SqlException& e)
		{
			// Not knowing whether it exists is no licence to write a second one.
			MostraErroreSql(e, "Kvz_CBudgetDoc::Controlli", kSource);
			return Rifiuta(Testo(_T("Impossibile verificare se il budget esiste gia': non salvato.")), IDC_BDG_CONTO);
		}
	}
	if (!ControllaMesi())
		return FALSE;
	if (!aControllaTotali)
		return TRUE;
	DataMon totTesta;
	if (m_bPerTotale)
		totTesta = pTesta->f_TotBudget;
	else if (m_bPerTrimestre)
		totTesta = pTesta->f_TotTrimestre1 + pTesta->f_TotTrimestre2 + pTesta->f_TotTrimestre3 + pTesta->f_TotTrimestre4;
	DataMon totMesi;
	for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
		totMesi += m_pDBTBudgetRighe->GetRiga(i)->f_ImportoMese;
	if (totTesta.IsEmpty() || std::fabs(totTesta - totMesi) < GetMonEpsilon())
		return TRUE;
	return Rifiuta(CString::Formatted(Testo(_T("Il totale dei mesi (%s) non coincide con il totale della testa (%s).")).GetString(),
									  totMesi.Str().GetString(), totTesta.Str().GetString()),
				   0);
}

BOOL Kvz_CBudgetDoc::PreparaRigheBudget()
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	const bool bRiferimento = pTesta->f_TipoBudget.GetItemValue() == 0;
	if (!bRiferimento && !Controlli(DataBool(FALSE)))
		return FALSE;
	// Budgets of the other types take VAT codes and payment terms from the reference type's.
	DataLng idRiferimento;
	if (!bRiferimento)
		try
		{
			const Kvz_ChiaveBudget chiave{pTesta->f_Esercizio, DataEnum(E_KVZ_TIPOBUDGET, 0), pTesta->f_ContoKvz,
										  pTesta->f_CentroCommessa};
			idRiferimento = Kvz_TrovaBudget(GetReadOnlySqlSession(), this, chiave);
		}
		catch (const SqlException& e)
		{
			MostraErroreSql(e, "Kvz_CBudgetDoc::PreparaRigheBudget", kSource);
		}
	Jex_TRBudgetRighe righeRif(this);
	for (int nMese = 1; nMese <= 12; ++nMese)
	{
		auto* pRiga = static_cast<Kvz_TEnhBudgetRighe*>(m_pDBTBudgetRighe->AddRecord());
		pRiga->f_Mese = nMese;
		pRiga->SetStorable();
		if (idRiferimento.IsEmpty())
			continue;
		try
		{
			if (righeRif.FindRecord(idRiferimento, DataInt(nMese)) == TableReader::FOUND)
			{
				pRiga->f_CodIVA = righeRif.GetRecord()->f_CodIVA;
				pRiga->f_CondPag = righeRif.GetRecord()->f_CondPag;
				m_pDBTBudgetRighe->DescriviCodici(pRiga);
			}
		}
		catch (const SqlException& e)
		{
			MostraErroreSql(e, "Kvz_CBudgetDoc::PreparaRigheBudget", kSource);
		}
	}
	return TRUE;
}

// ---- save --------------------------------------------------------------------------------------

BOOL Kvz_CBudgetDoc::SaltaLivelliSuperiori() const
{
	if (!m_pChiamanteSelez || m_pChiamanteSelez->m_pDBTAnteprima->GetSize() == 0 ||
		m_pChiamanteSelez->m_CentroCommSel.IsEmpty())
		return FALSE;
	const Kvz_TCentriCommesseContiKvz* pCentro = m_pChiamanteSelez->GetRigaCentroCorrente();
	return pCentro && !pCentro->f_PercRipartizioneBudget.IsEmpty();
}

BOOL Kvz_CBudgetDoc::OnOkTransaction()
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	// One budget save at a time on a server, as on SQLite: the check that the account has no
	// budget of the type yet, and the amounts carried to its parents, see every other save's work.
	try
	{
		GetContext()->KeepOutOtherWriters(pTesta->GetTableName());
	}
	catch (const SqlException& e)
	{
		if (!e.IsBusy())
			throw;
		return Rifiuta(Testo(_T("Un altro utente sta salvando un budget: non salvato, riprovare al termine.")), 0);
	}
	if (!Controlli(DataBool(TRUE)))
		return FALSE;
	if (m_bPerTotale)
		pTesta->f_TipoRipartizImporti = DataEnum(E_KVZ_TIPORIPARTIZIMPORTI, 0);
	else if (m_bPerTrimestre)
		pTesta->f_TipoRipartizImporti = DataEnum(E_KVZ_TIPORIPARTIZIMPORTI, 1);
	else if (m_bPerFormula)
		pTesta->f_TipoRipartizImporti = DataEnum(E_KVZ_TIPORIPARTIZIMPORTI, 2);

	struct InSalvataggio
	{
		bool& flag;
		explicit InSalvataggio(bool& f) : flag(f) { flag = true; }
		~InSalvataggio() { flag = false; }
	} inSalvataggio(m_bInSalvataggio);

	// The parents take the difference from the amounts loaded: another user's save in between
	// would reach them twice.
	if (GetFormMode() == EDIT && CambiatoDopoApertura())
		return Rifiuta(CString::Formatted(Testo(_T("Il budget del conto %s e' stato modificato da un altro utente dopo "
													"l'apertura: riaprire il conto."))
											  .GetString(),
										  pTesta->f_ContoKvz.GetString().GetString()),
					   0);

	BeginWaitCursor();
	// Without a financial id the budget is saved without its financial part (the user was told).
	if (CostruisciBudgetFinanz() && !SalvaTestaBudgetFinanz())
		return FALSE;

	DataStr inizio;
	if (!pTesta->f_CentroCommessa.IsEmpty())
		inizio = pTesta->f_ContoKvz;  // a cost centre's budget goes first to its account's own
	else
	{
		Kvz_TRAnagContiKvz conti(this);
		if (conti.FindRecord(pTesta->f_Esercizio, pTesta->f_ContoKvz) == TableReader::FOUND)
			inizio = conti.GetRecord()->f_ContoKvzPadre;
	}
	if (SaltaLivelliSuperiori())
		AfxMessageBox(Testo(_T("ATTENZIONE: L'inserimento non aggiorna i livelli superiori in quanto è stata impostata\n"
							   "la suddivisione a percentuale. Viene generata una squadratura dei dati ")),
					  MB_OK | MB_ICONWARNING);
	else if (!SalvaContoPadre(inizio))
		return FALSE;
	if (pTesta->f_CentroCommessa.IsEmpty() && !SalvaCentriCommesse())
		return FALSE;
	EndWaitCursor();
	return TRUE;
}

// ---- propagation -------------------------------------------------------------------------------

BOOL Kvz_CBudgetDoc::CambiatoDopoApertura()
{
	std::map<int, double> salvati;
	Kvz_TBudgetRighe rec;
	SqlTable t(&rec, GetUpdatableSqlSession(), this);
	t.Open(FALSE);
	t.Select(rec.f_Mese);
	t.Select(rec.f_ImportoMese);
	t.AddParam("p1", rec.f_IDBudget);
	t.AddFilterColumn(rec.f_IDBudget);
	t.SetParamValue("p1", GetTesta()->f_IDBudget);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		salvati[rec.f_Mese] += rec.f_ImportoMese;
	for (int nMese = 1; nMese <= 12; ++nMese)
	{
		const Kvz_TEnhBudgetRighe* pRiga = m_pDBTBudgetRighe->GetRigaMese(nMese);
		const double caricato = pRiga ? double(pRiga->l_OldImportoMese) : 0.0;
		if (std::fabs(salvati[nMese] - caricato) > 0.005)
			return TRUE;
	}
	return FALSE;
}

BOOL Kvz_CBudgetDoc::NuoviId(DataLng& aIDBudget, DataLng& aIDBudgetFinanz)
{
	Kvz_IDManager idBudget(DataEnum(E_KVZ_SPECIEARCHIVIO, 2), this);
	if (!idBudget.GetNextID(aIDBudget))
		return FALSE;
	Kvz_IDManager idFinanz(DataEnum(E_KVZ_SPECIEARCHIVIO, 3), this);
	return idFinanz.GetNextID(aIDBudgetFinanz);
}

BOOL Kvz_CBudgetDoc::BloccaBudget(Jex_TUBudgetTesta& aTesta, const DataLng& aIDBudget, DataLng& aIDBudgetFinanz)
{
	if (aTesta.FindRecord(aIDBudget, TRUE) != TableReader::FOUND)
		return Rifiuta(CString::Formatted(Testo(_T("Il budget %ld e' in uso da un altro utente: non salvato.")).GetString(),
										  long(aIDBudget)),
					   0);
	// Financial rows under an empty id would mix with every other such budget's.
	if (aIDBudgetFinanz.IsEmpty())
	{
		Kvz_IDManager idFinanz(DataEnum(E_KVZ_SPECIEARCHIVIO, 3), this);
		if (!idFinanz.GetNextID(aIDBudgetFinanz))
			return FALSE;
		aTesta.GetRecord()->f_IDBudgetFinanz = aIDBudgetFinanz;
		aTesta.UpdateRecord();
		aTesta.FindRecord(aIDBudget, TRUE);
	}
	return TRUE;
}

BOOL Kvz_CBudgetDoc::NuovoBudget(const DataStr& aConto, const DataEnum& aTipoCentroComm, const DataStr& aCentroCommessa,
								 const DataMon& aTotBudget, double perc, DataLng& aIDBudget, DataLng& aIDBudgetFinanz)
{
	if (!NuoviId(aIDBudget, aIDBudgetFinanz))
		return FALSE;
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	const DataDate oggi = AfxGetApplicationDate();
	Kvz_TBudgetTesta testa;
	SqlTable t(&testa, GetUpdatableSqlSession(), this);
	t.Open(TRUE);
	t.AddNew();
	testa.f_IDBudget = aIDBudget;
	testa.f_IDBudgetFinanz = aIDBudgetFinanz;
	testa.f_DataCreazione = oggi;
	testa.f_DataUltModifica = oggi;
	testa.f_ContoKvz = aConto;
	testa.f_Esercizio = pTesta->f_Esercizio;
	testa.f_TipoBudget = pTesta->f_TipoBudget;
	testa.f_TipoCentroComm = aTipoCentroComm;
	testa.f_CentroCommessa = aCentroCommessa;
	testa.f_TotBudget = aTotBudget;
	t.Update();
	t.Close();

	RigheDi<Kvz_TBudgetRighe> righe(GetUpdatableSqlSession(), this, &Kvz_TBudgetRighe::f_IDBudget);
	for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
	{
		const Kvz_TEnhBudgetRighe* pDoc = m_pDBTBudgetRighe->GetRiga(i);
		Kvz_TBudgetRighe& r = righe.Nuova();
		r.f_IDBudget = aIDBudget;
		r.f_Mese = pDoc->f_Mese;
		r.f_ImportoMese = pDoc->f_ImportoMese * perc;
		r.f_TipoCentroComm = aTipoCentroComm;
		r.f_CentroCommessa = aCentroCommessa;
		r.f_ContoKvz = aConto;
		r.f_Esercizio = pTesta->f_Esercizio;
		r.f_TipoBudget = pTesta->f_TipoBudget;
		righe.Scrivi();
	}
	return TRUE;
}

BOOL Kvz_CBudgetDoc::PropagaFinanziario(DataLng aIDBudgetFinanz, const DataLng& aIDBudget, const DataStr& aConto,
										const DataStr& aCentroCommessa, double perc)
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	Jex_TUBudgetFinanzTesta testa(this);
	const TableReader::FindResult esito = testa.FindRecord(aIDBudgetFinanz, TRUE);
	if (esito != TableReader::FOUND && esito != TableReader::NOT_FOUND)
		return Rifiuta(Testo(_T("Il budget finanziario e' in uso da un altro utente.")), 0);
	const DataDate oggi = AfxGetApplicationDate();
	Kvz_TotaliFinanz totali;
	RigheDi<Kvz_TBudgetFinanzRighe> righe(GetUpdatableSqlSession(), this, &Kvz_TBudgetFinanzRighe::f_IDBudgetFinanz);
	Kvz_TBudgetFinanzTesta* pFin = testa.GetRecord();
	if (esito == TableReader::NOT_FOUND)
	{
		pFin->f_IDBudgetFinanz = aIDBudgetFinanz;
		pFin->f_IDBudget = aIDBudget;
		pFin->f_DataCreazione = oggi;
		pFin->f_ContoKvz = aConto;
		pFin->f_Esercizio = pTesta->f_Esercizio;
		pFin->f_TipoBudget = pTesta->f_TipoBudget;
		pFin->f_CentroCommessa = aCentroCommessa;
		for (int i = 0; i < m_pDBTBudgetFinanzRighe->GetSize(); ++i)
		{
			const Kvz_TEnhBudgetFinanzRighe* pDoc = m_pDBTBudgetFinanzRighe->GetRiga(i);
			Kvz_TBudgetFinanzRighe& r = righe.Nuova();
			r.f_IDBudgetFinanz = aIDBudgetFinanz;
			r.f_IDBudget = aIDBudget;
			r.f_Mese = pDoc->f_Mese;
			for (int k = 0; k < 6; ++k)
				*Importi(r, k) = *Importi(const_cast<Kvz_TEnhBudgetFinanzRighe&>(*pDoc), k) * perc;
			totali.Aggiungi(r);
			righe.Scrivi();
		}
	}
	else
		for (int nMese : righe.Mesi(aIDBudgetFinanz))
		{
			Kvz_TBudgetFinanzRighe& r = righe.Modifica(aIDBudgetFinanz, nMese);
			if (const Kvz_TEnhBudgetFinanzRighe* pDoc = m_pDBTBudgetFinanzRighe->GetRigaMese(nMese))
				for (int k = 0; k < 6; ++k)
					*Importi(r, k) +=
						(*Importi(const_cast<Kvz_TEnhBudgetFinanzRighe&>(*pDoc), k) - Vecchio(*pDoc, k)) * perc;
			totali.Aggiungi(r);
			righe.Scrivi();
		}
	pFin->f_DataUltModifica = oggi;
	totali.Scrivi(*pFin);
	const BOOL bScritto = testa.UpdateRecord();
	testa.UnlockAll();
	return bScritto;
}

BOOL Kvz_CBudgetDoc::SalvaContoPadre(const DataStr& aContoPadre)
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	const DataEnum nessunCentro(E_KVZ_TIPOCENTROCOMM, 0);
	// A register whose parents loop back is carried around once.
	std::set<CString> visti;
	DataStr padre = aContoPadre;
	while (!padre.IsEmpty() && visti.insert(padre.GetString()).second)
	{
		DataLng idFinanz;
		DataLng id = CercaBudgetSql(pTesta->f_Esercizio, padre, idFinanz, DataStr(), &nessunCentro);
		if (id.IsEmpty())
		{
			// Its totals are left to the user.
			if (!NuovoBudget(padre, nessunCentro, DataStr(), DataMon(), 1.0, id, idFinanz))
				return FALSE;
		}
		else
		{
			Jex_TUBudgetTesta testa(this);
			if (!BloccaBudget(testa, id, idFinanz))
				return FALSE;
			RigheDi<Kvz_TBudgetRighe> righe(GetUpdatableSqlSession(), this, &Kvz_TBudgetRighe::f_IDBudget);
			for (int nMese : righe.Mesi(id))
			{
				const Kvz_TEnhBudgetRighe* pDoc = m_pDBTBudgetRighe->GetRigaMese(nMese);
				if (!pDoc)
					continue;
				Kvz_TBudgetRighe& r = righe.Modifica(id, nMese);
				r.f_ImportoMese += pDoc->f_ImportoMese - pDoc->l_OldImportoMese;
				r.f_ContoKvz = padre;
				r.f_Esercizio = pTesta->f_Esercizio;
				r.f_TipoBudget = pTesta->f_TipoBudget;
				righe.Scrivi();
			}
			testa.UnlockAll();
		}
		if (!PropagaFinanziario(idFinanz, id, padre, DataStr(), 1.0))
			return FALSE;
		Kvz_TRAnagContiKvz conti(this);
		padre = conti.FindRecord(pTesta->f_Esercizio, padre) == TableReader::FOUND ? conti.GetRecord()->f_ContoKvzPadre
																					 : DataStr();
	}
	return TRUE;
}

BOOL Kvz_CBudgetDoc::SalvaCentriCommesse()
{
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	const std::vector<Kvz_TCentriCommesseContiKvz> centri =
		Kvz_CentriDelConto(GetUpdatableSqlSession(), this, pTesta->f_Esercizio, pTesta->f_ContoKvz);
	for (const Kvz_TCentriCommesseContiKvz& centro : centri)
	{
		if (centro.f_PercRipartizioneBudget.IsEmpty())
			continue;
		const double perc = centro.f_PercRipartizioneBudget / 100.0;
		DataLng idFinanz;
		DataLng id = CercaBudgetSql(pTesta->f_Esercizio, pTesta->f_ContoKvz, idFinanz, centro.f_CentroCommessa,
									&centro.f_Tipo);
		if (id.IsEmpty())
		{
			if (!NuovoBudget(pTesta->f_ContoKvz, centro.f_Tipo, centro.f_CentroCommessa,
							 DataMon(pTesta->f_TotBudget * perc), perc, id, idFinanz))
				return FALSE;
		}
		else
		{
			Jex_TUBudgetTesta testa(this);
			if (!BloccaBudget(testa, id, idFinanz))
				return FALSE;
			testa.GetRecord()->f_TotBudget = pTesta->f_TotBudget * perc;
			testa.UpdateRecord();
			testa.UnlockAll();
			RigheDi<Kvz_TBudgetRighe> righe(GetUpdatableSqlSession(), this, &Kvz_TBudgetRighe::f_IDBudget);
			for (int nMese : righe.Mesi(id))
			{
				const Kvz_TEnhBudgetRighe* pDoc = m_pDBTBudgetRighe->GetRigaMese(nMese);
				if (!pDoc)
					continue;
				Kvz_TBudgetRighe& r = righe.Modifica(id, nMese);
				r.f_ImportoMese = pDoc->f_ImportoMese * perc;
				r.f_Esercizio = pTesta->f_Esercizio;
				righe.Scrivi();
			}
		}
		if (!PropagaFinanziario(idFinanz, id, pTesta->f_ContoKvz, centro.f_CentroCommessa, perc))
			return FALSE;
	}
	return TRUE;
}
