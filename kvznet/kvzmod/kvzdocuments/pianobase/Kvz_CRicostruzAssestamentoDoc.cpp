#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CRicostruzAssestamentoDoc.h"

#include <set>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_ContoPadre.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "RicostruzAssestamento";
const char* const kClasse = "Kvz_CRicostruzAssestamentoDoc::";

// How often a long list shows where it stands.
constexpr int kPassoAvanzamento = 200;

// The first head of the year, account, kind and centre: the rows of the month are those of it.
CString FiltroPrimaTesta()
{
	return CString::Formatted("IDPianoBase = (SELECT MIN(t.IDPianoBase) FROM %s t WHERE t.Esercizio = ? AND "
							  "t.ContoKvz = ? AND t.TipoCentroComm = ? AND t.CentroCommessa = ?)",
							  Kvz_TPianoBaseTesta::GetStaticName());
}

BOOL MeseValido(int nMese)
{
	return nMese >= 1 && nMese <= 12;
}

// The month rows of an account's first head of the year (no centre, kind item 0), in month
// order, on one cursor stated once and queried account by account; seleziona picks the columns.
class RigheConto
{
public:
	template <class Sel>
	RigheConto(SqlSession* pSession, CObject* pDoc, const DataInt& aEsercizio, BOOL bAggiornabile, Sel seleziona)
		: t(&rec, pSession, pDoc)
	{
		t.Open(bAggiornabile);
		seleziona(t, rec);
		t.AddParam("e", m_Esercizio);
		t.AddParam("c", m_Conto);
		t.AddParam("t", m_Tipo);
		t.AddParam("k", m_Cdc);
		t.m_strFilter = FiltroPrimaTesta();
		t.AddSortColumn(rec.f_Mese);
		m_Esercizio = aEsercizio;
		m_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
		m_Cdc = DataStr();
		t.SetParamValue("e", m_Esercizio);
		t.SetParamValue("t", m_Tipo);
		t.SetParamValue("k", m_Cdc);
	}

	// The next Query reads the rows of this account.
	void PerConto(const DataStr& aConto)
	{
		m_Conto = aConto;
		t.SetParamValue("c", m_Conto);
	}

	Kvz_TPianoBaseRighe rec;
	SqlTable t;

private:
	DataInt m_Esercizio;
	DataStr m_Conto;
	DataEnum m_Tipo;
	DataStr m_Cdc;
};

// The accounts of the year of one type (E_TIPOCONTO item), in code order, each handed to fn as
// the cursor stands on it.
template <class Fn>
void PerOgniContoDelTipo(SqlSession* pSession, CObject* pDoc, const DataInt& aEsercizio, int nTipo, Fn fn)
{
	Kvz_TAnagContiKvz rec;
	SqlTable t(&rec, pSession, pDoc);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_TipoConto);
	t.AddFilterColumn(rec.f_TipoConto);
	t.AddSortColumn(rec.f_ContoKvz);
	t.SetParamValue("p1", aEsercizio);
	t.SetParamValue("p2", DataEnum(E_TIPOCONTO, nTipo));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		fn(rec);
	t.Close();
}
}  // namespace

Kvz_CRicostruzAssestamentoDoc::Kvz_CRicostruzAssestamentoDoc()
	: m_Esercizio(AfxGetApplicationDate().Year()),
	  m_RicostrMastri(TRUE),
	  m_RicostrPatrimoniali(TRUE),
	  m_AnnullaCentriComm(FALSE)
{
	m_StatoElab.SetReadOnly(TRUE);
}

Kvz_CRicostruzAssestamentoDoc::~Kvz_CRicostruzAssestamentoDoc() = default;

BOOL Kvz_CRicostruzAssestamentoDoc::OnAttachData()
{
	SetFormTitle(_T("Ricostruzione saldi e assestamento"));
	return TRUE;
}

void Kvz_CRicostruzAssestamentoDoc::Stato(const CString& strTesto, int nIdx, int nTot)
{
	m_StatoElab = strTesto;
	if (nTot == 0 || nIdx % kPassoAvanzamento == 0 || nIdx == nTot - 1)
		SetProgressText(nTot == 0 ? strTesto : CString::Formatted("%s (%d di %d)", strTesto.GetString(), nIdx + 1, nTot));
	UpdateDataView();
}

void Kvz_CRicostruzAssestamentoDoc::MostraErrore(const SqlException& e, const char* szMetodo)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), (CString(kClasse) + szMetodo).GetString(), kSource);
	e.ShowError();
	++m_nErrori;
}

// ---- the procedure -----------------------------------------------------------------------------

void Kvz_CRicostruzAssestamentoDoc::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	m_nErrori = 0;
	m_bMancantiDetti = FALSE;
	Kvz_TRParametri parametri(this);
	parametri.SetSqlSession(GetReadOnlySqlSession());
	BOOL bParametri = FALSE;
	try
	{
		if (parametri.FindRecord() == TableReader::FOUND)
		{
			m_Parametri = *parametri.GetRecord();
			bParametri = m_Parametri.f_LenMastro != 0 && m_Parametri.f_NrSegmenti != 0 && m_Parametri.f_LenSeg1 != 0;
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "OnBatchExecute");
	}
	if (!bParametri)
	{
		AfxMessageBox(_T("Verificare i parametri dell'applicazione: non ho sufficienti informazioni sulla composizione "
						 "del codice conto."));
		GetContext()->Rollback();
		m_bBatchNotStarted = true;  // nothing was done: no success
		return;
	}

	BeginWaitCursor();
	// The head lookup of every step: one cursor, queried per account.
	m_pTblTesta = std::make_unique<SqlTable>(&m_RecTesta, GetUpdatableSqlSession(), this);
	try
	{
		m_pTblTesta->Open(FALSE);
		m_pTblTesta->Select(m_RecTesta.f_IDPianoBase);
		m_pTblTesta->AddParam("p1", m_RecTesta.f_Esercizio);
		m_pTblTesta->AddFilterColumn(m_RecTesta.f_Esercizio);
		m_pTblTesta->AddParam("p3", m_RecTesta.f_ContoKvz);
		m_pTblTesta->AddFilterColumn(m_RecTesta.f_ContoKvz);
		m_pTblTesta->AddParam("p4", m_RecTesta.f_TipoCentroComm);
		m_pTblTesta->AddFilterColumn(m_RecTesta.f_TipoCentroComm);
		m_pTblTesta->AddParam("p5", m_RecTesta.f_CentroCommessa);
		m_pTblTesta->AddFilterColumn(m_RecTesta.f_CentroCommessa);
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "OnBatchExecute");
	}
	// The backup of the ledgers' step holds the rows as they were before this run wrote
	// anything, the linked accounts' step included.
	CString strFase;
	if (m_RicostrMastri)
	{
		strFase = _T("il backup dei saldi");
		BkpSaldi();
	}
	if (!Interrotto() && m_RicostrPatrimoniali)
	{
		strFase = _T("la ricostruzione dei conti patrimoniali collegati");
		RicostruzionePatrimoniali();
	}
	if (!Interrotto() && m_RicostrMastri)
	{
		strFase = _T("la ricostruzione di mastri e mastrini");
		RicostruzioneMastri();
	}
	if (!Interrotto() && m_AnnullaCentriComm)
	{
		strFase = _T("l'annullamento dei centri e delle commesse non usati");
		AnnullaCentrCommNonSel();
	}
	if (m_pTblTesta->IsOpen())
		m_pTblTesta->Close();
	m_pTblTesta.reset();

	// What was written before an abort or an error stays: the run commits it, and says whether
	// it met errors, which then make it no success.
	BOOL bConfermato = FALSE;
	try
	{
		bConfermato = GetContext()->Commit();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "OnBatchExecute");
	}
	if (!bConfermato)
	{
		GetContext()->Rollback();
		Stato(_T("Elaborazione non registrata: nessuna modifica salvata."));
	}
	else if (Interrotto())
	{
		// What it wrote stays: the user is told where it stopped.
		const CString strTenuto = CString::Formatted(
			"Elaborazione interrotta su richiesta utente durante %s: quanto scritto fino all'interruzione è stato "
			"salvato.",
			strFase.GetString());
		Stato(strTenuto);
		SetKeptOnAbort(strTenuto);
	}
	else if (m_nErrori)
		Stato(CString::Formatted("Elaborazione terminata con %d errori: quanto scritto e' stato salvato, vedere i "
								 "messaggi.",
								 m_nErrori));
	else
		Stato(_T("Elaborazione terminata."));
	if (!bConfermato || m_nErrori)
		m_bBatchNotStarted = true;  // no success
	EndWaitCursor();
	UpdateDataView();
	GetMessages()->Show();
}

DataStr Kvz_CRicostruzAssestamentoDoc::CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri)
{
	return Kvz_CalcolaContoPadre(aConto, aParametri);
}

DataLng Kvz_CRicostruzAssestamentoDoc::CercaIDPianoBase(const DataInt& aEsercizio, const DataStr& aConto)
{
	return CercaTesta(aEsercizio, aConto, DataEnum(E_KVZ_TIPOCENTROCOMM, 0), DataStr());
}

DataLng Kvz_CRicostruzAssestamentoDoc::CercaIDPianoBase(const DataStr& aConto, const DataEnum& aTipo,
														const DataStr& aCdcComm)
{
	return CercaTesta(m_Esercizio, aConto, aTipo, aCdcComm);
}

DataLng Kvz_CRicostruzAssestamentoDoc::CercaTesta(const DataInt& aEsercizio, const DataStr& aConto,
												  const DataEnum& aTipo, const DataStr& aCdcComm)
{
	if (!m_pTblTesta)
		return DataLng(-1);
	try
	{
		m_pTblTesta->SetParamValue("p1", aEsercizio);
		m_pTblTesta->SetParamValue("p3", aConto);
		m_pTblTesta->SetParamValue("p4", DataEnum(E_KVZ_TIPOCENTROCOMM, aTipo.GetItemValue()));
		m_pTblTesta->SetParamValue("p5", aCdcComm);
		m_pTblTesta->Query();
		return m_pTblTesta->IsEOF() ? DataLng(-1) : m_RecTesta.f_IDPianoBase;
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "CercaIDPianoBase");
	}
	return DataLng(-1);
}

// ---- step 1: linked balance-sheet accounts -----------------------------------------------------

void Kvz_CRicostruzAssestamentoDoc::CancellaRateiPatrimoniali()
{
	try
	{
		std::vector<CString> conti;
		PerOgniContoDelTipo(GetUpdatableSqlSession(), this, m_Esercizio, 1,
							[&](const Kvz_TAnagContiKvz& rec) { conti.push_back(rec.f_ContoKvz.GetString()); });
		// Every head of the account: its own, its centres' and jobs', any budget type.
		const CString sql = CString::Formatted(
			"UPDATE %s SET TotaleAssestato = TotaleAssestato - ImportoRateo, ImportoRateo = 0, RateoDaPrevisionale = ? "
			"WHERE Esercizio = ? AND ContoKvz = ?",
			Kvz_TPianoBaseRighe::GetStaticName());
		const DataBool no(FALSE);
		for (size_t i = 0; i < conti.size() && !Interrotto(); ++i)
		{
			const DataStr conto(conti[i]);
			Stato(CString::Formatted("Azzeramento assestamenti del conto patrimoniale %s ...", conti[i].GetString()),
				  static_cast<int>(i), static_cast<int>(conti.size()));
			GetUpdatableSqlSession()->ExecuteSQL(sql, {&no, &m_Esercizio, &conto});
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "CancellaRateiPatrimoniali");
	}
}

void Kvz_CRicostruzAssestamentoDoc::RicostruzionePatrimoniali()
{
	// The accounts of the year with their levels: a link feeds lowest-level accounts only, and
	// the levels above them once, as the adjustments document does when it saves.
	AlberoDeiConti();
	if (Interrotto())
		return;
	Stato(_T("Ricerca conti economici in corso ..."));
	std::set<int> scritti;  // positions in the tree of the accounts this step writes
	try
	{
		// The economic accounts with a link.
		std::vector<std::unique_ptr<Kvz_TAnagContiKvz>> economici;
		PerOgniContoDelTipo(GetUpdatableSqlSession(), this, m_Esercizio, 0, [&](const Kvz_TAnagContiKvz& rec) {
			if (!rec.f_ContoCollegato.IsEmpty())
				economici.push_back(std::make_unique<Kvz_TAnagContiKvz>(rec));
		});
		if (!Interrotto())
			CancellaRateiPatrimoniali();

		// The accounts a link names: the codes that start with it.
		Kvz_TAnagContiKvz recB;
		SqlTable b(&recB, GetUpdatableSqlSession(), this);
		b.Open(FALSE);
		b.Select(recB.f_ContoKvz);
		b.Select(recB.f_Descrizione);
		b.AddParam("p1", recB.f_Esercizio);
		b.AddFilterColumn(recB.f_Esercizio);
		b.AddParam("p3", recB.f_ContoKvz);
		b.AddFilterLike(recB.f_ContoKvz);
		b.AddSortColumn(recB.f_ContoKvz);
		b.SetParamValue("p1", m_Esercizio);

		RigheConto righe(GetUpdatableSqlSession(), this, m_Esercizio, FALSE, [](SqlTable& t, Kvz_TPianoBaseRighe& r) {
			t.Select(r.f_Mese);
			t.Select(r.f_ImportoRateo);
		});
		SqlTable& c = righe.t;
		const Kvz_TPianoBaseRighe& recC = righe.rec;

		for (size_t i = 0; i < economici.size() && !Interrotto(); ++i)
		{
			const Kvz_TAnagContiKvz& eco = *economici[i];
			Stato(CString::Formatted("Riporto dati del conto %s %s ...", eco.f_ContoKvz.GetString().GetString(),
									 eco.f_Descrizione.GetString().GetString()),
				  static_cast<int>(i), static_cast<int>(economici.size()));
			b.SetParamLike("p3", eco.f_ContoCollegato);
			std::vector<std::string> selezionati;
			for (b.Query(); !b.IsEOF(); b.MoveNext())
				selezionati.push_back(recB.f_ContoKvz.GetString().str());
			if (selezionati.empty())
				continue;
			// Month k holds the adjustments of months 1 to k.
			double progressivo[12] = {};
			righe.PerConto(eco.f_ContoKvz);
			for (c.Query(); !c.IsEOF(); c.MoveNext())
				if (MeseValido(recC.f_Mese))
					for (int k = static_cast<int>(recC.f_Mese); k <= 12; ++k)
						progressivo[k - 1] += recC.f_ImportoRateo;
			const double segno = eco.f_InversioneSegno ? -1.0 : 1.0;
			Kvz_Conto riporto;
			for (int k = 0; k < 12; ++k)
				riporto.m_Assestamenti[k] = segno * progressivo[k];

			// Each branch the link selects gets the adjustment once: an upper-level account
			// through the first lowest-level account below it, and the levels above from there.
			const std::set<std::string> insieme(selezionati.begin(), selezionati.end());
			for (const std::string& codice : selezionati)
			{
				BOOL bSotto = FALSE;
				for (DataStr p = CalcolaContoPadre(DataStr(codice.c_str()), m_Parametri); !p.IsEmpty() && !bSotto;
					 p = CalcolaContoPadre(p, m_Parametri))
					bSotto = insieme.count(p.GetString().str()) > 0;
				auto it = m_Posizioni.find(codice);
				if (bSotto || it == m_Posizioni.end())
					continue;
				const int nFoglia = PrimaFogliaSotto(it->second);
				if (nFoglia < 0)
					continue;
				Kvz_Conto* pFoglia = m_Albero.GetConto(nFoglia);
				if (nFoglia != it->second)
					GetMessages()->Add(
						CString::Formatted("Il conto %s collegato al conto economico %s non è di ultimo livello: il suo "
										   "assestamento è riportato nel conto %s e da lì nei livelli superiori.",
										   codice.c_str(), eco.f_ContoKvz.GetString().GetString(),
										   pFoglia->m_Codice.GetString().GetString()),
						CMessages::MSG_WARNING);
				for (int k = 0; k < 12; ++k)
					pFoglia->m_Assestamenti[k] += riporto.m_Assestamenti[k];
				scritti.insert(nFoglia);
				SalvaContoPadre(pFoglia->m_Padre, riporto, &scritti);
			}
		}
		c.Close();
		b.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "RicostruzionePatrimoniali");
	}
	// What was gathered before an error is still written.
	if (!Interrotto())
		AggiornaPianoBase(FALSE, &scritti);
}

int Kvz_CRicostruzAssestamentoDoc::PrimaFogliaSotto(int nConto) const
{
	const Kvz_Conto* pConto = m_Albero.GetConto(nConto);
	if (pConto->m_Foglia)
		return nConto;
	// The tree is in code order: the accounts below come right after, each with the code as prefix.
	const CString strCodice = pConto->m_Codice.GetString();
	for (int i = nConto + 1; i < m_Albero.GetSize(); ++i)
	{
		const Kvz_Conto* p = m_Albero.GetConto(i);
		if (p->m_Codice.GetString().Left(strCodice.GetLength()) != strCodice)
			break;
		if (!p->m_Foglia)
			continue;
		for (DataStr padre = p->m_Padre; !padre.IsEmpty(); padre = CalcolaContoPadre(padre, m_Parametri))
			if (padre.GetString() == strCodice)
				return i;
	}
	return -1;
}

// ---- step 2: ledgers and sub-ledgers -----------------------------------------------------------

void Kvz_CRicostruzAssestamentoDoc::AlberoDeiConti()
{
	m_Albero.RemoveAll();
	m_Padri.clear();
	m_Posizioni.clear();
	Stato(_T("Ricostruzione gerarchia dei conti in corso ..."));
	try
	{
		Kvz_TAnagContiKvz rec;
		SqlTable t(&rec, GetUpdatableSqlSession(), this);
		t.Open(FALSE);
		t.Select(rec.f_ContoKvz);
		t.Select(rec.f_Descrizione);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddSortColumn(rec.f_ContoKvz);
		t.SetParamValue("p1", m_Esercizio);
		for (t.Query(); !t.IsEOF() && !Interrotto(); t.MoveNext())
		{
			auto* pConto = new Kvz_Conto;
			pConto->m_Codice = rec.f_ContoKvz;
			pConto->m_Descrizione = rec.f_Descrizione;
			pConto->m_Padre = CalcolaContoPadre(rec.f_ContoKvz, m_Parametri);
			pConto->m_Foglia = FALSE;
			m_Posizioni.emplace(rec.f_ContoKvz.GetString().str(), m_Albero.Add(pConto));
		}
		t.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "AlberoDeiConti");
	}
	// Only accounts of the year stand for a level: a missing code is passed over, its accounts
	// belong to the nearest existing one above it.
	std::set<std::string> mancanti;
	for (int i = 0; i < m_Albero.GetSize(); ++i)
	{
		DataStr padre = m_Albero.GetConto(i)->m_Padre;
		while (!padre.IsEmpty())
		{
			auto it = m_Posizioni.find(padre.GetString().str());
			if (it != m_Posizioni.end())
			{
				m_Padri.emplace(it->first, it->second);
				break;
			}
			mancanti.insert(padre.GetString().str());
			padre = CalcolaContoPadre(padre, m_Parametri);
		}
	}
	for (int i = 0; i < m_Albero.GetSize(); ++i)
	{
		Kvz_Conto* pConto = m_Albero.GetConto(i);
		pConto->m_Foglia = m_Padri.count(pConto->m_Codice.GetString().str()) == 0;
	}
	// Said once per run, though both steps build the tree.
	if (m_bMancantiDetti)
		return;
	m_bMancantiDetti = TRUE;
	for (const std::string& codice : mancanti)
		GetMessages()->Add(CString::Formatted("Il conto %s non è tra i conti raggruppati dell'esercizio %d: i conti sotto "
											  "di esso sono riportati nel primo conto superiore esistente.",
											  codice.c_str(), static_cast<int>(m_Esercizio)),
						   CMessages::MSG_WARNING);
}

void Kvz_CRicostruzAssestamentoDoc::SalvaContoPadre(const DataStr& aPadre, const Kvz_Conto& aFoglia,
													 std::set<int>* pScritti)
{
	DataStr padre = aPadre;
	while (!padre.IsEmpty())
	{
		auto it = m_Padri.find(padre.GetString().str());
		if (it != m_Padri.end())
		{
			Kvz_Conto* pConto = m_Albero.GetConto(it->second);
			if (pScritti)
				pScritti->insert(it->second);
			for (int k = 0; k < 12; ++k)
			{
				pConto->m_Saldi[k] += aFoglia.m_Saldi[k];
				pConto->m_Assestamenti[k] += aFoglia.m_Assestamenti[k];
			}
		}
		padre = CalcolaContoPadre(padre, m_Parametri);
	}
}

void Kvz_CRicostruzAssestamentoDoc::BkpSaldi()
{
	const CString testo = _T("Backup saldi e assestamenti per l'intero esercizio ...");
	Stato(testo);
	try
	{
		// Account by account, so that a stop is heard between them.
		std::vector<CString> conti;
		{
			Kvz_TPianoBaseRighe rec;
			SqlTable t(&rec, GetUpdatableSqlSession(), this);
			DataStr conto;
			t.Open(FALSE);
			t.SelectSqlFun("DISTINCT \"ContoKvz\"", conto);
			t.AddParam("p12", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.SetParamValue("p12", m_Esercizio);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				conti.push_back(conto.GetString());
			t.Close();
		}
		const CString sql = CString::Formatted(
			"UPDATE %s SET BkpSaldoContabile = SaldoContabile, BkpImportoRateo = ImportoRateo, BkpTotaleAssestato = "
			"TotaleAssestato WHERE Esercizio = ? AND ContoKvz = ?",
			Kvz_TPianoBaseRighe::GetStaticName());
		for (size_t i = 0; i < conti.size() && !Interrotto(); ++i)
		{
			const DataStr conto(conti[i]);
			Stato(testo, static_cast<int>(i), static_cast<int>(conti.size()));
			GetUpdatableSqlSession()->ExecuteSQL(sql, {&m_Esercizio, &conto});
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "BkpSaldi");
	}
}

void Kvz_CRicostruzAssestamentoDoc::RicostruzioneMastri()
{
	AlberoDeiConti();
	if (Interrotto())
		return;
	try
	{
		RigheConto righe(GetUpdatableSqlSession(), this, m_Esercizio, FALSE, [](SqlTable& t, Kvz_TPianoBaseRighe& r) {
			t.Select(r.f_Mese);
			t.Select(r.f_SaldoContabile);
			t.Select(r.f_ImportoRateo);
			t.Select(r.f_TotaleAssestato);
		});
		SqlTable& t = righe.t;
		const Kvz_TPianoBaseRighe& rec = righe.rec;
		const int nConti = m_Albero.GetSize();
		for (int i = 0; i < nConti && !Interrotto(); ++i)
		{
			Kvz_Conto* pConto = m_Albero.GetConto(i);
			if (!pConto->m_Foglia)
				continue;
			Stato(CString::Formatted("Riporto dati del conto %s %s ...", pConto->m_Codice.GetString().GetString(),
									 pConto->m_Descrizione.GetString().GetString()),
				  i, nConti);
			righe.PerConto(pConto->m_Codice);
			for (t.Query(); !t.IsEOF() && !Interrotto(); t.MoveNext())
			{
				const int m = rec.f_Mese;
				if (!MeseValido(m))
					continue;
				pConto->m_Saldi[m - 1] = rec.f_SaldoContabile;
				pConto->m_Assestamenti[m - 1] = rec.f_ImportoRateo;
				pConto->m_Totali[m - 1] = rec.f_TotaleAssestato;
			}
			if (!Interrotto())
				SalvaContoPadre(pConto->m_Padre, *pConto);
		}
		t.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "RicostruzioneMastri");
	}
	if (!Interrotto())
		AggiornaPianoBase(TRUE);
}

void Kvz_CRicostruzAssestamentoDoc::AggiornaPianoBase(BOOL bSaldo, const std::set<int>* pSoli)
{
	try
	{
		RigheConto righe(GetUpdatableSqlSession(), this, m_Esercizio, TRUE,
						 [](SqlTable& t, Kvz_TPianoBaseRighe&) { t.SelectAll(); });
		SqlTable& t = righe.t;
		Kvz_TPianoBaseRighe& rec = righe.rec;
		const int nConti = m_Albero.GetSize();
		for (int i = 0; i < nConti && !Interrotto(); ++i)
		{
			const Kvz_Conto* pConto = m_Albero.GetConto(i);
			if (pSoli ? pSoli->count(i) == 0 : static_cast<bool>(pConto->m_Foglia))
				continue;
			Stato(CString::Formatted("Aggiornamento saldi e assestamenti del conto %s %s ...",
									 pConto->m_Codice.GetString().GetString(),
									 pConto->m_Descrizione.GetString().GetString()),
				  i, nConti);
			// An account without a head is not written: heads are never made here.
			righe.PerConto(pConto->m_Codice);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				const int m = rec.f_Mese;
				if (!MeseValido(m))
					continue;
				t.Edit();
				if (bSaldo)
					rec.f_SaldoContabile = pConto->m_Saldi[m - 1];
				rec.f_ImportoRateo = pConto->m_Assestamenti[m - 1];
				rec.f_TotaleAssestato = rec.f_SaldoContabile + rec.f_ImportoRateo;
				t.Update();
			}
		}
		t.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "AggiornaPianoBase");
	}
}

// ---- step 3: unused cost centres and jobs ------------------------------------------------------

void Kvz_CRicostruzAssestamentoDoc::AnnullaCentrCommNonSel()
{
	try
	{
		std::vector<std::unique_ptr<Kvz_TCentriCommesseContiKvz>> centri;
		{
			Kvz_TCentriCommesseContiKvz rec;
			SqlTable t(&rec, GetUpdatableSqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddParam("p7", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddSortColumn(rec.f_Esercizio);
			t.AddSortColumn(rec.f_ContoKvz);
			t.AddSortColumn(rec.f_CentroCommessa);
			t.SetParamValue("p7", m_Esercizio);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				centri.push_back(std::make_unique<Kvz_TCentriCommesseContiKvz>(rec));
			t.Close();
		}
		Kvz_TElencoContiSimboloPBase recS;
		SqlTable simboli(&recS, GetUpdatableSqlSession(), this);
		DataLng nSimboli;
		simboli.Open(FALSE);
		simboli.SelectSqlFun("COUNT(*)", nSimboli);
		simboli.AddParam("p7", recS.f_Esercizio);
		simboli.AddFilterColumn(recS.f_Esercizio);
		simboli.AddParam("p3", recS.f_ContoSelez);
		simboli.AddFilterColumn(recS.f_ContoSelez);
		simboli.AddParam("p4", recS.f_TipoCentroComm);
		simboli.AddFilterColumn(recS.f_TipoCentroComm);
		simboli.AddParam("p5", recS.f_CentroCommessa);
		simboli.AddFilterColumn(recS.f_CentroCommessa);
		simboli.SetParamValue("p7", m_Esercizio);

		Kvz_TPianoBaseRighe recR;
		SqlTable righe(&recR, GetUpdatableSqlSession(), this);
		righe.Open(FALSE);
		righe.Select(recR.f_Mese);
		righe.Select(recR.f_TotaleAssestato);
		righe.AddParam("p1", recR.f_IDPianoBase);
		righe.AddFilterColumn(recR.f_IDPianoBase);

		SqlSession* pSession = GetUpdatableSqlSession();
		const CString sqlCentro = CString::Formatted(
			"DELETE FROM %s WHERE Esercizio = ? AND ContoKvz = ? AND CentroCommessa = ? AND Tipo = ?",
			Kvz_TCentriCommesseContiKvz::GetStaticName());
		const CString sqlRighe = CString::Formatted("DELETE FROM %s WHERE IDPianoBase = ? AND Mese BETWEEN 1 AND 12",
													Kvz_TPianoBaseRighe::GetStaticName());
		const CString sqlTesta =
			CString::Formatted("DELETE FROM %s WHERE IDPianoBase = ?", Kvz_TPianoBaseTesta::GetStaticName());
		const DataPerc perc;
		const DataMon mon;
		const int nCentri = static_cast<int>(centri.size());
		for (int i = 0; i < nCentri && !Interrotto(); ++i)
		{
			const Kvz_TCentriCommesseContiKvz& cdc = *centri[static_cast<size_t>(i)];
			const DataEnum tipo(E_KVZ_TIPOCENTROCOMM, cdc.f_Tipo.GetItemValue());
			simboli.SetParamValue("p3", cdc.f_ContoKvz);
			simboli.SetParamValue("p4", tipo);
			simboli.SetParamValue("p5", cdc.f_CentroCommessa);
			simboli.Query();
			const BOOL bInSimbolo = static_cast<long>(nSimboli) > 0;

			const DataLng id = CercaIDPianoBase(cdc.f_ContoKvz, tipo, cdc.f_CentroCommessa);
			Stato(CString::Formatted("Controllo e cancellazione centri non usati conto %s centro/commessa %s ...",
									 cdc.f_ContoKvz.GetString().GetString(), cdc.f_CentroCommessa.GetString().GetString()),
				  i, nCentri);
			BOOL bRighe = FALSE, bAssestato = FALSE;
			if (static_cast<long>(id) > 0)
			{
				righe.SetParamValue("p1", id);
				for (righe.Query(); !righe.IsEOF(); righe.MoveNext())
				{
					if (!MeseValido(recR.f_Mese))
						continue;
					bRighe = TRUE;
					if (!mon.IsZero(recR.f_TotaleAssestato))
						bAssestato = TRUE;
				}
			}
			if (bInSimbolo)
				continue;
			// A split whose plan holds an adjusted total is in use: its row stays with its plan.
			if (perc.IsZero(cdc.f_PercRipartizione) && !bAssestato)
				pSession->ExecuteSQL(sqlCentro, {&cdc.f_Esercizio, &cdc.f_ContoKvz, &cdc.f_CentroCommessa, &cdc.f_Tipo});
			if (bRighe && !bAssestato)
			{
				pSession->ExecuteSQL(sqlRighe, {&id});
				pSession->ExecuteSQL(sqlTesta, {&id});
			}
		}
		righe.Close();
		simboli.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "AnnullaCentrCommNonSel");
	}
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CRicostruzAssestamentoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CRicostruzAssestamentoDoc*>(GetDocument());
	AddLink(IDC_RICOSTR_PATRIMONIALI, _T("Ricostruzione assestamenti per conti patrimoniali collegati"),
			RUNTIME_CLASS(CBoolButton), &pDoc->m_RicostrPatrimoniali);
	AddLink(IDC_RICOSTR_MASTRI_MASTRINI, _T("Ricostruzione saldi contabili e assestamenti per mastri e mastrini"),
			RUNTIME_CLASS(CBoolButton), &pDoc->m_RicostrMastri);
	AddLink(IDC_ANNULLA_CENTRI_COMM_NON_SEL,
			_T("Annulla dal piano dei conti KVZ i centri e le commesse non utilizzati, non ripartiti e non assestatii"),
			RUNTIME_CLASS(CBoolButton), &pDoc->m_AnnullaCentriComm);
	AddLink(IDC_RICOSTR_ESERC, _T("Per l'esercizio:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
	pDoc->m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_RICOSTR_STATO_ELAB, _T("Stato elaborazione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
