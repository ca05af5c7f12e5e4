// Storing of the import's grouping tree: grouped accounts, their cost-centre/job splits and
// one base plan (head and months 1..N) per split and per account total. What the year already
// holds is read once, so that each row costs one write.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/LetturaTabelle.h"
#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzcomponents/Kvz_NuovoPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {

double Centesimi(double v)
{
	DataMon m(v);
	m.Round(2);
	return m;
}

BOOL IsZeroMon(double v)
{
	return DataMon().IsZero(v);
}

// A code as the database compares it, case aside. False for a code with other than ASCII
// letters: how a server folds those depends on its settings.
bool Ascii(std::string_view str)
{
	return std::all_of(str.begin(), str.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool Piegato(std::string_view str, std::string& out)
{
	if (!Ascii(str))
		return false;
	out = str;
	for (char& c : out)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	return true;
}

// Writes one fiscal year's base plans: heads and rows are looked up in what was read at the
// start, written through cursors prepared once. New rows go as batches (a server takes many in
// one round trip): any failure fails the import, which then keeps nothing.
class ScritturaPianoBase
{
public:
	ScritturaPianoBase(Kvz_CImportaSaldiDoc* pDoc, int nEsercizio, BOOL bPrevisionale)
		: m_pDoc(pDoc),
		  m_pSession(pDoc->GetUpdatableSqlSession()),
		  m_Esercizio(nEsercizio),
		  m_bPrevisionale(bPrevisionale),
		  m_IdMng(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), pDoc),
		  m_NumMng(DataEnum(E_KVZ_TIPODOCUMENTO, 0), pDoc),
		  m_Teste(&m_Testa, m_pSession, pDoc),
		  m_Righe(&m_Nuova, m_pSession, pDoc),
		  m_Dettagli(&m_Dettaglio, m_pSession, pDoc),
		  m_Conti(&m_Conto, m_pSession, pDoc),
		  m_Cdc(&m_CdcRec, m_pSession, pDoc)
	{
		for (SqlTable* t : {&m_Teste, &m_Righe, &m_Dettagli, &m_Conti, &m_Cdc})
		{
			t->SetBatchInsert(TRUE);
			t->Open(TRUE);
		}
		Carica();
	}
	~ScritturaPianoBase()
	{
		for (SqlTable* t : {&m_Teste, &m_Righe, &m_Dettagli, &m_Conti, &m_Cdc})
			t->Close();
	}
	// The rows still waiting are written: a failing one is said here.
	void Fine() { m_Righe.SendBatch(); }
	// Once every base plan is written: which splits and accounts hold a row that moved by the
	// epsilon or more and that nobody accepted. False when the codes do not allow telling here.
	bool CalcolaVariati(const Kvz_MastriArray& mastri);
	// The marks of the year's splits and accounts this run did not write, where they change.
	void MarcaNonScritti();

	// Takes at once the ids and numbers of the base plans the tree will create.
	void PrenotaTeste(const Kvz_MastriArray& mastri);
	void Conto(const Kvz_MastroElem& mastro, const Kvz_ContoKvzElem& conto, const CString& strDescrizione);
	// Whether a base-plan symbol of the year selects the grouped account itself: an entry of its
	// list or its account condition.
	bool UsatoInSimboli(const CString& strConto) const
	{
		if (m_ContiSimboli.count(strConto.str()))
			return true;
		return std::any_of(m_CondizioniConto.begin(), m_CondizioniConto.end(),
						   [&](const Kvz_TSimboliPianoBase& def) { return Kvz_CondizioneContoPrende(def, strConto); });
	}
	void CdcComm(const Kvz_ContoKvzElem& conto, const Kvz_CdcCommContoKvzElem& cdc);
	void PianoBase(const Kvz_MastroElem& mastro, const Kvz_ContoKvzElem& conto, const Kvz_CdcCommContoKvzElem* pCdc);

private:
	using ChiaveTesta = std::tuple<std::string, std::string, WORD>;
	// What a stored row holds of the columns the import writes.
	struct RigaEsistente
	{
		RigaEsistente() = default;
		RigaEsistente(const Kvz_TPianoBaseRighe& r)
			: strConto(r.f_ContoKvz.GetString()),
			  strCdc(r.f_CentroCommessa.GetString()),
			  nTipoCdc(r.f_TipoCentroComm.GetValue()),
			  nTipoMastro(r.f_TipoMastro.GetValue()),
			  dSaldoContabile(r.f_SaldoContabile),
			  dSaldoPrecedente(r.f_SaldoPrecedente),
			  dImportoRateo(r.f_ImportoRateo),
			  bRateoDaPrevisionale(r.f_RateoDaPrevisionale),
			  dTotaleAssestato(r.f_TotaleAssestato),
			  bGiaImportato(r.f_GiaImportato),
			  bDiffAccettato(r.f_SaldoDiffAccettato)
		{
		}
		// Whether writing the row would change nothing.
		bool Uguale(const Kvz_TPianoBaseRighe& r) const
		{
			const DataMon mon;
			return strConto == r.f_ContoKvz.GetString() && strCdc == r.f_CentroCommessa.GetString() &&
				   nTipoCdc == r.f_TipoCentroComm.GetValue() && nTipoMastro == r.f_TipoMastro.GetValue() &&
				   mon.IsZero(dSaldoContabile - r.f_SaldoContabile) && mon.IsZero(dSaldoPrecedente - r.f_SaldoPrecedente) &&
				   mon.IsZero(dImportoRateo - r.f_ImportoRateo) &&
				   bRateoDaPrevisionale == static_cast<BOOL>(r.f_RateoDaPrevisionale) &&
				   mon.IsZero(dTotaleAssestato - r.f_TotaleAssestato) && bGiaImportato == static_cast<BOOL>(r.f_GiaImportato);
		}

		CString strConto;
		CString strCdc;
		DWORD nTipoCdc = 0;
		DWORD nTipoMastro = 0;
		double dSaldoContabile = 0.0;
		double dSaldoPrecedente = 0.0;
		double dImportoRateo = 0.0;
		BOOL bRateoDaPrevisionale = FALSE;
		double dTotaleAssestato = 0.0;
		BOOL bGiaImportato = FALSE;
		BOOL bDiffAccettato = FALSE;
	};
	// A split as stored: its percentage, its mark, its type as stored; whether this run wrote it.
	struct CdcEsistente
	{
		double dPerc = 0.0;
		BOOL bVariato = FALSE;
		DWORD nTipo = 0;
		bool bScritto = false;
	};
	struct ContoEsistente
	{
		BOOL bVariato = FALSE;
		bool bScritto = false;
	};
	using ChiaveCdc = std::tuple<std::string, std::string, DWORD>;  // codes folded, type

	void Carica();
	// A row as it will stand: a changed balance not accepted marks its split and account.
	void Variata(const CString& strConto, const CString& strCdc, DWORD nTipo, BOOL bGiaImportato, BOOL bDiffAccettato,
				 double dSaldoContabile, double dSaldoPrecedente);
	BOOL CdcVariato(std::string_view conto, std::string_view cdc, DWORD nTipo) const;
	BOOL ContoVariato(std::string_view conto) const;

	Kvz_CImportaSaldiDoc* m_pDoc;
	SqlSession* m_pSession;
	DataInt m_Esercizio;
	BOOL m_bPrevisionale;
	Kvz_IDManager m_IdMng;
	Kvz_NumNonFiscManager m_NumMng;
	Kvz_NumeriPianoBase m_Numeri{m_IdMng, m_NumMng};
	DataDate m_Oggi = AfxGetApplicationDate();

	Kvz_TPianoBaseTesta m_Testa;
	Kvz_TPianoBaseRighe m_Riga;
	Kvz_TPianoBaseRighe m_Nuova;
	Kvz_TPianoBaseRigaDett m_Dettaglio;
	Kvz_TAnagContiKvz m_Conto;
	Kvz_TCentriCommesseContiKvz m_CdcRec;
	SqlTable m_Teste;
	SqlTable m_Righe;
	SqlTable m_Dettagli;
	SqlTable m_Conti;
	SqlTable m_Cdc;

	std::map<std::string, ContoEsistente> m_ContiEsistenti;
	std::map<std::tuple<std::string, WORD, std::string>, CdcEsistente> m_CdcEsistenti;
	// The marks as the rows leave them (valid only while m_bCodiciAscii holds).
	std::set<ChiaveCdc> m_CdcVariati;
	std::set<std::string> m_ContiVariati;
	bool m_bCodiciAscii = true;
	bool m_bVariatiCalcolati = false;
	const double m_Epsilon = GetMonEpsilon();
	std::map<ChiaveTesta, long> m_TesteEsistenti;
	std::map<std::pair<long, int>, RigaEsistente> m_RigheEsistenti;
	std::set<std::string> m_ContiSimboli;
	std::vector<Kvz_TSimboliPianoBase> m_CondizioniConto;
	// The year's spread of adjustments by account and month: only those of a positive percentage.
	std::map<std::string, std::map<int, double>> m_Ripartizioni;
};

void ScritturaPianoBase::Carica()
{
	SqlSession* pRead = m_pDoc->GetReadOnlySqlSession();
	const int nEsercizio = m_Esercizio;
	{
		Kvz_TAnagContiKvz rec;
		PerOgniRigaDellEsercizio(
			rec, pRead, m_pDoc, nEsercizio,
			[&] { m_ContiEsistenti[rec.f_ContoKvz.GetString().str()] = {static_cast<BOOL>(rec.f_SaldoVariato), false}; },
			{&rec.f_ContoKvz, &rec.f_SaldoVariato});
	}
	{
		Kvz_TCentriCommesseContiKvz rec;
		PerOgniRigaDellEsercizio(rec, pRead, m_pDoc, nEsercizio, [&] {
			m_CdcEsistenti[{rec.f_ContoKvz.GetString().str(), rec.f_Tipo.GetItemValue(),
							rec.f_CentroCommessa.GetString().str()}] = {rec.f_PercRipartizione,
																		 static_cast<BOOL>(rec.f_SaldoVariato),
																		 rec.f_Tipo.GetValue(), false};
		});
	}
	{
		Kvz_TPianoBaseTesta rec;
		PerOgniRigaDellEsercizio(rec, pRead, m_pDoc, nEsercizio, [&] {
			m_TesteEsistenti.emplace(ChiaveTesta{rec.f_ContoKvz.GetString().str(), rec.f_CentroCommessa.GetString().str(),
												rec.f_TipoCentroComm.GetItemValue()},
									 static_cast<long>(rec.f_IDPianoBase));
		});
	}
	{
		Kvz_TPianoBaseRighe rec;
		PerOgniRigaDellEsercizio(
			rec, pRead, m_pDoc, nEsercizio,
			[&] { m_RigheEsistenti[{static_cast<long>(rec.f_IDPianoBase), static_cast<int>(rec.f_Mese)}] = rec; },
			{&rec.f_IDPianoBase, &rec.f_Mese, &rec.f_ContoKvz, &rec.f_CentroCommessa, &rec.f_TipoCentroComm,
			 &rec.f_TipoMastro, &rec.f_SaldoContabile, &rec.f_SaldoPrecedente, &rec.f_ImportoRateo,
			 &rec.f_RateoDaPrevisionale, &rec.f_TotaleAssestato, &rec.f_GiaImportato, &rec.f_SaldoDiffAccettato});
	}
	{
		Kvz_TElencoContiSimboloPBase rec;
		PerOgniRigaDellEsercizio(
			rec, pRead, m_pDoc, nEsercizio, [&] { m_ContiSimboli.insert(rec.f_ContoSelez.GetString().str()); },
			{&rec.f_ContoSelez});
	}
	{
		Kvz_TSimboliPianoBase rec;
		PerOgniRigaDellEsercizio(
			rec, pRead, m_pDoc, nEsercizio,
			[&] {
				if (rec.f_TipoOpeConto.GetItemValue() != 8)
					m_CondizioniConto.push_back(rec);
			},
			{&rec.f_TipoOpeConto, &rec.f_ValDaConto, &rec.f_ValAConto});
	}
	{
		Kvz_TRipartizioniAssestamento rec;
		SqlTable t(&rec, pRead, m_pDoc);
		t.Open(FALSE);
		t.Select(rec.f_ContoKvz);
		t.Select(rec.f_Mese);
		t.Select(rec.f_Percentuale);
		t.Select(rec.f_Rateo);
		t.AddParam("p1", rec.f_Anno);
		t.AddFilterColumn(rec.f_Anno);
		t.SetParamValue("p1", DataInt(nEsercizio));
		const DataPerc perc;
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			if (rec.f_Percentuale > 0.0 && !perc.IsZero(rec.f_Percentuale))
				m_Ripartizioni[rec.f_ContoKvz.GetString().str()][static_cast<int>(rec.f_Mese)] = rec.f_Rateo;
	}
}

void ScritturaPianoBase::PrenotaTeste(const Kvz_MastriArray& mastri)
{
	std::set<ChiaveTesta> nuove;
	for (const auto& pMastro : mastri)
		for (const auto& pConto : pMastro->m_Conti)
		{
			const std::string strConto = pConto->m_Codice.str();
			for (const auto& pCdc : pConto->m_CdcComm)
				if (!m_TesteEsistenti.count({strConto, pCdc->m_Codice.str(), pCdc->m_Tipo}))
					nuove.insert({strConto, pCdc->m_Codice.str(), pCdc->m_Tipo});
			if (!m_TesteEsistenti.count({strConto, std::string(), WORD(0)}))
				nuove.insert({strConto, std::string(), WORD(0)});
		}
	if (!m_Numeri.Prenota(static_cast<long>(nuove.size()), m_Oggi))
		throw SqlException("Impossibile numerare i nuovi piani base.");
}

void ScritturaPianoBase::Conto(const Kvz_MastroElem& mastro, const Kvz_ContoKvzElem& conto, const CString& strDescrizione)
{
	m_Conto.Init();
	m_Conto.f_Esercizio = m_Esercizio;
	m_Conto.f_ContoKvz = conto.m_Codice;
	m_Conto.f_TipoConto = DataEnum(E_TIPOCONTO, mastro.m_TipoConto);
	m_Conto.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro.m_Natura);
	m_Conto.f_Descrizione = strDescrizione;
	m_Conto.f_ProponiInAssest = conto.m_ProponiInAssest;
	m_Conto.f_ContoCollegato = conto.m_ContoCollegato;
	m_Conto.f_ModifInAssest = conto.m_ModifInAssest;
	m_Conto.f_UltimoLivelloRaggrupp = conto.m_UltimoLivello;
	m_Conto.f_ContoKvzPadre = conto.m_Padre;
	m_Conto.f_InversioneSegno = conto.m_InversioneSegno;
	m_Conto.f_CodiceBudget = conto.m_CodiceBudget;
	m_Conto.f_SaldoVariato = ContoVariato(conto.m_Codice.str());
	auto [itConto, bNuovoConto] = m_ContiEsistenti.emplace(conto.m_Codice.str(), ContoEsistente{});
	itConto->second.bScritto = true;
	if (bNuovoConto)
	{
		m_Conto.f_InseritoManualmente = FALSE;
		m_Conti.AddNew(FALSE);
		m_Conti.Update();
		return;
	}
	const Kvz_TAnagContiKvz& r = m_Conto;
	m_pSession->ExecuteSQL(
		CString::Formatted("UPDATE %s SET TipoConto=?, TipoMastro=?, Descrizione=?, ProponiInAssest=?, ContoCollegato=?, "
						   "ModifInAssest=?, UltimoLivelloRaggrupp=?, ContoKvzPadre=?, InversioneSegno=?, CodiceBudget=?, "
						   "SaldoVariato=? WHERE Esercizio=? AND ContoKvz=?",
						   Kvz_TAnagContiKvz::GetStaticName()),
		{&r.f_TipoConto, &r.f_TipoMastro, &r.f_Descrizione, &r.f_ProponiInAssest, &r.f_ContoCollegato,
		 &r.f_ModifInAssest, &r.f_UltimoLivelloRaggrupp, &r.f_ContoKvzPadre, &r.f_InversioneSegno, &r.f_CodiceBudget,
		 &r.f_SaldoVariato, &r.f_Esercizio, &r.f_ContoKvz});
}

void ScritturaPianoBase::CdcComm(const Kvz_ContoKvzElem& conto, const Kvz_CdcCommContoKvzElem& cdc)
{
	m_CdcRec.Init();
	m_CdcRec.f_Esercizio = m_Esercizio;
	m_CdcRec.f_ContoKvz = conto.m_Codice;
	m_CdcRec.f_CentroCommessa = cdc.m_Codice;
	m_CdcRec.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, cdc.m_Tipo);
	m_CdcRec.f_Descrizione = cdc.m_Descrizione;
	m_CdcRec.f_SaldoVariato = CdcVariato(conto.m_Codice.str(), cdc.m_Codice.str(), m_CdcRec.f_Tipo.GetValue());
	auto [it, bNuovo] = m_CdcEsistenti.emplace(std::make_tuple(conto.m_Codice.str(), cdc.m_Tipo, cdc.m_Codice.str()),
											   CdcEsistente{cdc.m_Perc, FALSE, m_CdcRec.f_Tipo.GetValue(), false});
	it->second.bScritto = true;
	if (bNuovo)
	{
		m_CdcRec.f_PercRipartizione = cdc.m_Perc;
		m_CdcRec.f_InseritoManualmente = FALSE;
		m_CdcRec.f_InseritoDaSimbolo = FALSE;
		m_Cdc.AddNew(FALSE);
		m_Cdc.Update();
		return;
	}
	// A percentage already given is kept.
	if (DataPerc().IsZero(it->second.dPerc))
		it->second.dPerc = cdc.m_Perc;
	m_CdcRec.f_PercRipartizione = it->second.dPerc;
	const Kvz_TCentriCommesseContiKvz& r = m_CdcRec;
	m_pSession->ExecuteSQL(
		CString::Formatted("UPDATE %s SET Descrizione=?, PercRipartizione=?, SaldoVariato=? WHERE Esercizio=? AND "
						   "ContoKvz=? AND Tipo=? AND CentroCommessa=?",
						   Kvz_TCentriCommesseContiKvz::GetStaticName()),
		{&r.f_Descrizione, &r.f_PercRipartizione, &r.f_SaldoVariato, &r.f_Esercizio, &r.f_ContoKvz, &r.f_Tipo,
		 &r.f_CentroCommessa});
}

void ScritturaPianoBase::PianoBase(const Kvz_MastroElem& mastro, const Kvz_ContoKvzElem& conto,
								   const Kvz_CdcCommContoKvzElem* pCdc)
{
	const CString strCdc = pCdc ? pCdc->m_Codice : CString();
	const WORD nTipo = pCdc ? pCdc->m_Tipo : 0;
	const Kvz_MesiArray& mesi = pCdc ? pCdc->m_Mesi : conto.m_Mesi;

	// The head: a new one takes the next id and the next non-fiscal number.
	DataLng id;
	auto itTesta = m_TesteEsistenti.find({conto.m_Codice.str(), strCdc.str(), nTipo});
	if (itTesta == m_TesteEsistenti.end())
	{
		m_Testa.Init();
		if (!m_Numeri.Numera(m_Testa, m_Oggi))
			throw SqlException(CString::Formatted("Impossibile numerare il piano base del conto %s.", conto.m_Codice.GetString()));
		id = m_Testa.f_IDPianoBase;
		Kvz_ChiaviTestaPianoBase(m_Testa, m_Esercizio, DataStr(conto.m_Codice), DataStr(strCdc),
								 DataEnum(E_KVZ_TIPOCENTROCOMM, nTipo));
		m_Teste.AddNew(FALSE);
		m_Teste.Update();
		m_TesteEsistenti.emplace(ChiaveTesta{conto.m_Codice.str(), strCdc.str(), nTipo}, static_cast<long>(id));
	}
	else
	{
		id = itTesta->second;
		m_pSession->ExecuteSQL(
			CString::Formatted("UPDATE %s SET DataUltModifica=? WHERE IDPianoBase=?", Kvz_TPianoBaseTesta::GetStaticName()),
			{&m_Oggi, &id});
	}

	double dProgressivo = 0.0;
	// The account's spread, looked up once for its twelve months.
	const auto itRipartizione = m_Ripartizioni.find(conto.m_Codice.str());
	const std::map<int, double>* pRipartizione = itRipartizione == m_Ripartizioni.end() ? nullptr : &itRipartizione->second;
	// Both records take the plan's keys once; each month clears only what a month sets.
	for (Kvz_TPianoBaseRighe* p : {&m_Riga, &m_Nuova})
		Kvz_PreparaRigaPianoBase(*p, id, 1, m_Esercizio, DataStr(conto.m_Codice), DataStr(strCdc),
								 DataEnum(E_KVZ_TIPOCENTROCOMM, nTipo), DataEnum(E_TIPOMASTRO, mastro.m_Natura));
	for (int m = 1; m <= static_cast<int>(mesi.size()); ++m)
	{
		const double a = Centesimi(mesi[static_cast<size_t>(m - 1)].m_Saldo);
		// The forecast counts only in a run that takes it.
		const double f = m_bPrevisionale ? Centesimi(mesi[static_cast<size_t>(m - 1)].m_Previsionale) : 0.0;
		auto itRiga = m_RigheEsistenti.find({static_cast<long>(id), m});
		const BOOL bEsiste = itRiga != m_RigheEsistenti.end();
		// A new row is prepared in the cursor's own record: no copy per month.
		Kvz_TPianoBaseRighe& r = bEsiste ? m_Riga : m_Nuova;
		Kvz_PreparaMeseRigaPianoBase(r, m);
		if (bEsiste)
		{
			// The split rows moved their balance aside when their entries were read again.
			r.f_SaldoPrecedente = pCdc ? itRiga->second.dSaldoPrecedente : itRiga->second.dSaldoContabile;
			r.f_ImportoRateo = itRiga->second.dImportoRateo;
			r.f_GiaImportato = TRUE;
		}
		// Balance-sheet plans hold running totals from the opening month.
		if (mastro.IsPatrimoniale())
		{
			dProgressivo = Centesimi(dProgressivo + a);
			r.f_SaldoContabile = dProgressivo;
		}
		else
		{
			r.f_SaldoContabile = a;
			if (a > 0.0)
				r.f_GiaImportato = TRUE;
		}
		r.f_RateoDaPrevisionale = FALSE;
		// A month the account's spread gives a share of: the spread's amount is the adjusted total.
		if (pRipartizione)
			if (auto itRip = pRipartizione->find(m); itRip != pRipartizione->end())
				r.f_ImportoRateo = Centesimi(itRip->second - r.f_SaldoContabile);
		// A forecast of zero leaves the month's details and so its adjustment as they were.
		if (m_bPrevisionale && !IsZeroMon(f))
		{
			// A month not stored yet has no details to replace (ids are never given again).
			if (bEsiste)
			{
				DataInt mese(m);
				m_pSession->ExecuteSQL(CString::Formatted("DELETE FROM %s WHERE IDPianoBase=? AND Mese=?",
														  Kvz_TPianoBaseRigaDett::GetStaticName()),
									   {&id, &mese});
			}
			m_Dettaglio.Init();
			m_Dettaglio.f_IDPianoBase = id;
			m_Dettaglio.f_Mese = m;
			m_Dettaglio.f_Riga = 1;
			m_Dettaglio.f_Descrizione = "Previsionale";
			m_Dettaglio.f_ImportoRateoDett = f;
			m_Dettaglio.f_RateoDaPrevisionale = TRUE;
			m_Dettagli.AddNew(FALSE);
			m_Dettagli.Update();
			r.f_ImportoRateo = f;
			r.f_RateoDaPrevisionale = TRUE;
		}
		r.f_TotaleAssestato = Centesimi(r.f_SaldoContabile + r.f_ImportoRateo);
		if (!bEsiste)
		{
			Variata(conto.m_Codice, strCdc, r.f_TipoCentroComm.GetValue(), r.f_GiaImportato, r.f_SaldoDiffAccettato,
					r.f_SaldoContabile, r.f_SaldoPrecedente);
			m_Righe.AddNew(FALSE);
			m_Righe.Update();
			continue;
		}
		// An import of the same month again mostly finds its rows as it left them.
		if (itRiga->second.Uguale(r))
			continue;
		// The row as it will stand, for the marks; who accepted a difference keeps it accepted.
		const BOOL bDiffAccettato = itRiga->second.bDiffAccettato;
		itRiga->second = RigaEsistente(r);
		itRiga->second.bDiffAccettato = bDiffAccettato;
		m_pSession->ExecuteSQL(
			CString::Formatted("UPDATE %s SET Esercizio=?, ContoKvz=?, CentroCommessa=?, TipoCentroComm=?, TipoMastro=?, "
							   "SaldoContabile=?, SaldoPrecedente=?, ImportoRateo=?, RateoDaPrevisionale=?, "
							   "TotaleAssestato=?, GiaImportato=? WHERE IDPianoBase=? AND Mese=?",
							   Kvz_TPianoBaseRighe::GetStaticName()),
			{&r.f_Esercizio, &r.f_ContoKvz, &r.f_CentroCommessa, &r.f_TipoCentroComm, &r.f_TipoMastro,
			 &r.f_SaldoContabile, &r.f_SaldoPrecedente, &r.f_ImportoRateo, &r.f_RateoDaPrevisionale,
			 &r.f_TotaleAssestato, &r.f_GiaImportato, &r.f_IDPianoBase, &r.f_Mese});
	}
}

void ScritturaPianoBase::Variata(const CString& strConto, const CString& strCdc, DWORD nTipo, BOOL bGiaImportato,
								  BOOL bDiffAccettato, double dSaldoContabile, double dSaldoPrecedente)
{
	// The same test as the statement that marks what this run cannot tell.
	if (!bGiaImportato || bDiffAccettato || !(std::fabs(dSaldoContabile - dSaldoPrecedente) >= m_Epsilon))
		return;
	std::string conto, cdc;
	if (!Piegato(strConto.str(), conto) || !Piegato(strCdc.str(), cdc))
	{
		m_bCodiciAscii = false;
		return;
	}
	m_CdcVariati.emplace(conto, std::move(cdc), nTipo);
	m_ContiVariati.insert(std::move(conto));
}

bool ScritturaPianoBase::CalcolaVariati(const Kvz_MastriArray& mastri)
{
	// The rows this run did not write, or left as they were, count as stored.
	for (const auto& [chiave, riga] : m_RigheEsistenti)
		Variata(riga.strConto, riga.strCdc, riga.nTipoCdc, riga.bGiaImportato, riga.bDiffAccettato,
				riga.dSaldoContabile, riga.dSaldoPrecedente);
	for (const auto& [conto, c] : m_ContiEsistenti)
		m_bCodiciAscii = m_bCodiciAscii && Ascii(conto);
	for (const auto& [chiave, c] : m_CdcEsistenti)
		m_bCodiciAscii = m_bCodiciAscii && Ascii(std::get<0>(chiave)) && Ascii(std::get<2>(chiave));
	for (const auto& pMastro : mastri)
		for (const auto& pConto : pMastro->m_Conti)
		{
			m_bCodiciAscii = m_bCodiciAscii && Ascii(pConto->m_Codice.str());
			for (const auto& pCdc : pConto->m_CdcComm)
				m_bCodiciAscii = m_bCodiciAscii && Ascii(pCdc->m_Codice.str());
		}
	m_bVariatiCalcolati = m_bCodiciAscii;
	return m_bVariatiCalcolati;
}

BOOL ScritturaPianoBase::CdcVariato(std::string_view strConto, std::string_view strCdc, DWORD nTipo) const
{
	std::string conto, cdc;
	return m_bVariatiCalcolati && Piegato(strConto, conto) && Piegato(strCdc, cdc) &&
		   m_CdcVariati.count({conto, cdc, nTipo}) != 0;
}

BOOL ScritturaPianoBase::ContoVariato(std::string_view strConto) const
{
	std::string conto;
	return m_bVariatiCalcolati && Piegato(strConto, conto) && m_ContiVariati.count(conto) != 0;
}

void ScritturaPianoBase::MarcaNonScritti()
{
	DataBool si(TRUE);
	for (const auto& [chiave, c] : m_CdcEsistenti)
	{
		if (c.bScritto)
			continue;
		DataBool variato(CdcVariato(std::get<0>(chiave), std::get<2>(chiave), c.nTipo));
		if (static_cast<BOOL>(variato) == c.bVariato)
			continue;
		DataStr conto(std::get<0>(chiave).c_str());
		DataStr cdc(std::get<2>(chiave).c_str());
		DataEnum tipo(c.nTipo);
		m_pSession->ExecuteSQL(CString::Formatted("UPDATE %s SET SaldoVariato=? WHERE Esercizio=? AND ContoKvz=? AND "
												  "Tipo=? AND CentroCommessa=?",
												  Kvz_TCentriCommesseContiKvz::GetStaticName()),
							   {&variato, &m_Esercizio, &conto, &tipo, &cdc});
	}
	// An account is only ever marked here, as by the statement: a mark is cleared by writing it.
	for (const auto& [strConto, c] : m_ContiEsistenti)
	{
		if (c.bScritto || c.bVariato || !ContoVariato(strConto))
			continue;
		DataStr conto(strConto.c_str());
		m_pSession->ExecuteSQL(CString::Formatted("UPDATE %s SET SaldoVariato=? WHERE Esercizio=? AND ContoKvz=?",
												  Kvz_TAnagContiKvz::GetStaticName()),
							   {&si, &m_Esercizio, &conto});
	}
}

}  // namespace

void Kvz_CImportaSaldiDoc::PrevisionaliSuCollegati()
{
	// An economic account's forecast is carried onto its linked balance-sheet account.
	for (const auto& pMastro : m_Mastri)
	{
		if (pMastro->IsPatrimoniale())
			continue;
		for (const auto& pConto : pMastro->m_Conti)
		{
			if (pConto->m_ContoCollegato.IsEmpty())
				continue;
			for (const auto& pAltro : m_Mastri)
			{
				Kvz_ContoKvzElem* pCollegato = pAltro->IsPatrimoniale() ? pAltro->Trova(pConto->m_ContoCollegato) : nullptr;
				if (!pCollegato)
					continue;
				for (size_t m = 0; m < pConto->m_Mesi.size(); ++m)
					pCollegato->m_Mesi[m].m_Previsionale += pConto->m_Mesi[m].m_Previsionale;
				break;
			}
		}
	}
}

void Kvz_CImportaSaldiDoc::MemorizzaSaldi()
{
	m_bSaldiVariatiScritti = FALSE;
	if (!IsImportazione())
		return;
	if (m_Previsionale)
		PrevisionaliSuCollegati();
	try
	{
		ScritturaPianoBase scrittura(this, m_Esercizio, m_Previsionale);
		scrittura.PrenotaTeste(m_Mastri);
		size_t nConti = 0, nConto = 0;
		for (const auto& pMastro : m_Mastri)
			nConti += pMastro->m_Conti.size();
		for (const auto& pMastro : m_Mastri)
			for (const auto& pConto : pMastro->m_Conti)
			{
				SetProgressText(CString::Formatted("Aggiornamento piano base conto raggruppato %s in corso (%zu di %zu) ...",
												   pConto->m_Codice.GetString(), ++nConto, nConti));
				for (const auto& pCdc : pConto->m_CdcComm)
					scrittura.PianoBase(*pMastro, *pConto, pCdc.get());
				scrittura.PianoBase(*pMastro, *pConto, nullptr);
			}
		// The accounts and splits once their rows are known: each takes its mark as it is written.
		m_bSaldiVariatiScritti = scrittura.CalcolaVariati(m_Mastri);
		for (const auto& pMastro : m_Mastri)
			for (const auto& pConto : pMastro->m_Conti)
			{
				CString strDescrizione = DescrizioneHost(pConto->m_Codice);
				if (strDescrizione.IsEmpty())
					strDescrizione = pConto->m_Descrizione;
				scrittura.Conto(*pMastro, *pConto, strDescrizione);
				// A symbol that reads an account above it reads its amounts too.
				bool bUsato = false;
				for (const Kvz_ContoKvzElem* p = pConto.get(); p && !bUsato;
					 p = p->m_Padre.IsEmpty() || p->m_Padre == p->m_Codice ? nullptr : pMastro->Trova(p->m_Padre))
					bUsato = scrittura.UsatoInSimboli(p->m_Codice);
				if (pConto->m_ProponiInAssest && !bUsato)
				{
					m_ContiNonUsati.push_back(pConto->m_Codice);
					m_DescrContiNonUsati.push_back(strDescrizione);
				}
				for (const auto& pCdc : pConto->m_CdcComm)
					scrittura.CdcComm(*pConto, *pCdc);
			}
		if (m_bSaldiVariatiScritti)
			scrittura.MarcaNonScritti();
		scrittura.Fine();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::MemorizzaSaldi");
	}
	m_Mastri.clear();
	m_pMastro = nullptr;
}

void Kvz_CImportaSaldiDoc::CancellaAssestamentiPrevisionali()
{
	// Only the run's year: the forecast adjustments of other years are theirs.
	try
	{
		DataInt esercizio(m_Esercizio);
		DataBool previsionale(TRUE);
		DataBool no(FALSE);
		SqlSession* pSession = GetUpdatableSqlSession();
		pSession->ExecuteSQL(
			CString::Formatted("DELETE FROM %s WHERE EXISTS (SELECT 1 FROM %s r WHERE r.IDPianoBase = %s.IDPianoBase AND "
							   "r.Mese = %s.Mese AND r.Esercizio=? AND r.RateoDaPrevisionale=?)",
							   Kvz_TPianoBaseRigaDett::GetStaticName(), Kvz_TPianoBaseRighe::GetStaticName(),
							   Kvz_TPianoBaseRigaDett::GetStaticName(), Kvz_TPianoBaseRigaDett::GetStaticName()),
			{&esercizio, &previsionale});
		pSession->ExecuteSQL(
			CString::Formatted("UPDATE %s SET RateoDaPrevisionale=?, ImportoRateo=0, TotaleAssestato=SaldoContabile "
							   "WHERE Esercizio=? AND RateoDaPrevisionale=?",
							   Kvz_TPianoBaseRighe::GetStaticName()),
			{&no, &esercizio, &previsionale});
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::CancellaAssestamentiPrevisionali");
	}
}

void Kvz_CImportaSaldiDoc::AggiornaSaldiVariati()
{
	// Usually the marks went with the accounts and splits already.
	if (m_bSaldiVariatiScritti)
		return;
	SetProgressText("Aggiornamento saldi variati per conto in corso...");
	try
	{
		// A split, and an account, is marked when one of its rows moved since the last import by
		// more than the money epsilon and nobody accepted the difference: the splits by one
		// statement.
		SqlSession* pSession = GetUpdatableSqlSession();
		const CString righe = Kvz_TPianoBaseRighe::GetStaticName();
		const CString cdc = Kvz_TCentriCommesseContiKvz::GetStaticName();
		const CString conti = Kvz_TAnagContiKvz::GetStaticName();
		// No ANALYZE first: its lock would keep another year's import waiting until this one ends.
		DataInt esercizio(m_Esercizio);
		DataBool si(TRUE);
		DataBool no(FALSE);
		DataMon epsilon(GetMonEpsilon());
		const CString variata = CString::Formatted(
			"SELECT 1 FROM %s r WHERE r.Esercizio = %%s.Esercizio AND r.ContoKvz = %%s.ContoKvz%%s AND "
			"r.GiaImportato = ? AND r.SaldoDiffAccettato = ? AND ABS(r.SaldoContabile - r.SaldoPrecedente) >= ?",
			righe.GetString());
		// The bound on the account, always true, walks the splits in account order, the order of
		// the rows' index: the year alone was walked by cost centre, jumping across that index.
		pSession->ExecuteSQL(
			CString::Formatted("UPDATE %s SET SaldoVariato = CASE WHEN EXISTS (%s) THEN 1 ELSE 0 END WHERE Esercizio = ? "
							   "AND ContoKvz >= ''",
							   cdc.GetString(),
							   CString::Formatted(variata.GetString(), cdc.GetString(), cdc.GetString(),
												  CString::Formatted(" AND r.CentroCommessa = %s.CentroCommessa AND "
																	 "r.TipoCentroComm = %s.Tipo",
																	 cdc.GetString(), cdc.GetString())
													  .GetString())
								   .GetString()),
			{&si, &no, &epsilon, &esercizio});
		// The accounts by one grouped reading and an update each: a correlated EXISTS over every
		// row of an account was planned by a server as a scan of the year per account.
		std::set<std::string> contiVariati;
		{
			Kvz_TPianoBaseRighe rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.Select(rec.f_ContoKvz);
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_GiaImportato);
			t.AddFilterColumn(rec.f_GiaImportato);
			t.AddParam("p3", rec.f_SaldoDiffAccettato);
			t.AddFilterColumn(rec.f_SaldoDiffAccettato);
			t.AddParam("p4", rec.f_SaldoContabile);
			t.m_strFilter += " AND ABS(SaldoContabile - SaldoPrecedente) >= ?";
			t.AddGroupByColumn(rec.f_ContoKvz);
			t.SetParamValue("p1", esercizio);
			t.SetParamValue("p2", si);
			t.SetParamValue("p3", no);
			t.SetParamValue("p4", epsilon);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				contiVariati.insert(rec.f_ContoKvz.GetString().str());
		}
		for (const std::string& strConto : contiVariati)
		{
			DataStr conto(strConto.c_str());
			pSession->ExecuteSQL(
				CString::Formatted("UPDATE %s SET SaldoVariato=? WHERE Esercizio=? AND ContoKvz=?", conti.GetString()),
				{&si, &esercizio, &conto});
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::AggiornaSaldiVariati");
	}
}

void Kvz_CImportaSaldiDoc::CancellaSaldiContabili(const CString& strConto)
{
	try
	{
		DataInt esercizio(m_Esercizio);
		DataStr conto(strConto);
		DataStr vuoto;
		GetUpdatableSqlSession()->ExecuteSQL(
			CString::Formatted("UPDATE %s SET SaldoPrecedente=SaldoContabile, SaldoContabile=0, TotaleAssestato=ImportoRateo "
							   "WHERE Esercizio=? AND ContoKvz=? AND CentroCommessa<>?",
							   Kvz_TPianoBaseRighe::GetStaticName()),
			{&esercizio, &conto, &vuoto});
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::CancellaSaldiContabili");
	}
}
