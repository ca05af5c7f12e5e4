// The cost-driver phases of the reclassification run: the shares of a previous run reset, each
// active driver measured in its target models (with increments), its cost lines spread over
// them and written into their results, then the rows of kind 9 of every target recomputed.
// Target models may be in another company's database; each such database is opened once per
// run and closed when the phases end.
#include <algorithm>
#include <functional>
#include <memory>

#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversCosti.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversIncrementi.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversModelli.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CopiaSimboli.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/RiclassificatoChiave.h"
#include "platform/plvoledb/SqlException.h"

namespace {
using kvzdocuments::CercaChiave;
using kvzdocuments::FiltroChiave;

const DWORD kTipoRigaFaseSuccessiva = DataEnum(E_KVZ_TIPORIGA, 9).GetValue();

std::string Chiave(const DataStr& s)
{
	CString u = s.GetString();
	u.Trim();
	u.MakeUpper();
	return u.str();
}

// A kind as the record's column holds it: an enumeration here, its plain value elsewhere.
DataEnum Come(const DataEnum&, DWORD nValore)
{
	return DataEnum(nValore);
}
DataLng Come(const DataLng&, DWORD nValore)
{
	return DataLng(static_cast<long>(nValore));
}
DWORD Grezzo(const DataEnum& e)
{
	return e.GetValue();
}
DWORD Grezzo(const DataLng& l)
{
	return static_cast<DWORD>(l.GetValue());
}

// The model rows of a year and model, by code.
template <class Rec, class Righe>
void CaricaRigheModello(Rec& rec, SqlSession* pSessione, CObject* pDoc, const DataInt& aEsercizio,
						const DataStr& aModello, Righe& righe)
{
	SqlTable t(&rec, pSessione, pDoc);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.SetParamValue("p1", aEsercizio);
	t.SetParamValue("p2", aModello);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto& riga = righe[Chiave(rec.f_CodRiclassificato)];
		riga.nPosizione = rec.f_Posizione.GetValue();
		riga.strDescrizione = rec.f_Descrizione.GetString();
		riga.nTipoRiga = Grezzo(rec.f_TipoRiga);
		riga.strDividendo = rec.f_Dividendo.GetString();
	}
	t.Close();
}

// The rows of kind 9 of a target model, by position.
template <class Rec, class Fn>
void PerOgniRigaFaseSuccessiva(Rec& rec, SqlSession* pSessione, CObject* pDoc, const TKvzDriversModelli& target,
							   Fn riga)
{
	SqlTable t(&rec, pSessione, pDoc);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.AddParam("p15", rec.f_TipoRiga);
	t.AddFilterColumn(rec.f_TipoRiga);
	t.AddSortColumn(rec.f_Posizione);
	t.SetParamValue("p1", target.f_EsercizioRiclassific);
	t.SetParamValue("p2", target.f_ModelloRiclassific);
	t.SetParamValue("p15", Come(rec.f_TipoRiga, kTipoRigaFaseSuccessiva));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		riga();
	t.Close();
}

// The value of one result row (0 when there is none).
template <class Rec>
double LeggiValore(Rec& rec, SqlSession* pSessione, CObject* pDoc, const DataInt& aEsercizio, const DataStr& aModello,
				   DWORD nTipoDato, const DataStr& aCodice, int nMese)
{
	SqlTable t(&rec, pSessione, pDoc);
	t.Open(FALSE);
	FiltroChiave(t, rec);
	CercaChiave(t, aEsercizio, aModello, Come(rec.f_TipoDatoPianoBase, nTipoDato), aCodice, nMese);
	const double dValore = t.IsEOF() ? 0.0 : rec.f_Valore.GetValue();
	t.Close();
	return dValore;
}
}  // namespace

// ---- another company's database ----------------------------------------------------------------

BOOL Kvz_CRiclassificPianoBaseDoc::IsDittaCorrente(const DataStr& aDitta)
{
	const std::string s = Chiave(aDitta);
	return s.empty() || s == ".";
}

BOOL Kvz_CRiclassificPianoBaseDoc::ConnectDB()
{
	m_pConnInUso = nullptr;
	if (IsDittaCorrente(m_CodiceDitta))
	{
		m_pConnInUso = GetSqlConnection();
		return m_pConnInUso != nullptr;
	}
	const std::string chiave = Chiave(m_CodiceDitta);
	if (auto it = m_ConnessioniDitte.find(chiave); it != m_ConnessioniDitte.end())
	{
		m_pConnInUso = it->second;
		return m_pConnInUso != nullptr;
	}
	const CString strDitta = m_CodiceDitta.GetString();
	CString strErrore;
	CString strMotivo;
	SqlConnection* pConn = nullptr;
	try
	{
		Kvz_TRAziende aziende(this);
		if (aziende.FindRecord(m_CodiceDitta) != TableReader::FOUND)
			strErrore = CString::Formatted("Azienda %s non censita.", strDitta.GetString());
		else
		{
			const Kvz_TAziende& r = *aziende.GetRecord();
			const CString stringa =
				Kvz_New_External::StringaConnessione(r.f_Server.GetString(), r.f_DataSource.GetString(),
													 r.f_UserID.GetString(), r.f_Password.GetString(), 60);
			pConn = AfxGetOleDbMng()->MakeNewConnection(stringa, 0, 0, 0, _T(""), nullptr);
			if (!pConn)
				strMotivo = AfxGetOleDbMng()->GetLastError();  // the password left out
		}
	}
	catch (const CException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(CException::GetThisClass()), "Kvz_CRiclassificPianoBaseDoc::ConnectDB",
							 "Kvz_CRiclassificPianoBaseDoc");
		pConn = nullptr;
	}
	if (!pConn && strErrore.IsEmpty())
		strErrore = CString::Formatted("Connessione al database esterno %s fallita.", strDitta.GetString());
	// What the phases write there stays only if the run keeps its own work: one transaction
	// there for the run, ended with the run's.
	if (pConn && pConn != GetSqlConnection())
	{
		try
		{
			pConn->BeginTransaction();
		}
		catch (const SqlException& e)
		{
			AfxGetOleDbMng()->CloseConnection(pConn);
			pConn = nullptr;
			strErrore = CString::Formatted("Connessione al database esterno %s fallita.", strDitta.GetString());
			strMotivo = e.GetMessage();
		}
	}
	// Said once per run: the company's steps are skipped, nothing goes elsewhere instead.
	m_ConnessioniDitte[chiave] = pConn;
	if (!pConn)
	{
		m_bDittaMancata = TRUE;
		SetError(strErrore);
		if (!strMotivo.IsEmpty())
			SetError(strMotivo);
	}
	m_pConnInUso = pConn;
	return pConn != nullptr;
}

void Kvz_CRiclassificPianoBaseDoc::ChiudiConnessioniEsterne(BOOL bConferma)
{
	m_pConnInUso = nullptr;
	for (auto& [ditta, pConn] : m_ConnessioniDitte)
		if (pConn)
		{
			if (pConn != GetSqlConnection() && pConn->IsInTransaction())
			{
				try
				{
					if (bConferma)
						pConn->CommitTransaction();
					else
						pConn->RollbackTransaction();
				}
				catch (const SqlException& e)
				{
					ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::ChiudiConnessioniEsterne");
				}
			}
			AfxGetOleDbMng()->CloseConnection(pConn);
		}
	m_ConnessioniDitte.clear();
	m_CacheRigheModello.clear();
}

SqlSession* Kvz_CRiclassificPianoBaseDoc::SessioneLettura()
{
	return m_pConnInUso == GetSqlConnection() ? GetReadOnlySqlSession() : m_pConnInUso->GetDefaultSqlSession();
}

SqlSession* Kvz_CRiclassificPianoBaseDoc::SessioneScrittura()
{
	return m_pConnInUso == GetSqlConnection() ? GetUpdatableSqlSession() : m_pConnInUso->GetDefaultSqlSession();
}

// ---- model rows and dividends -------------------------------------------------------------------

const Kvz_CRiclassificPianoBaseDoc::RigaModelloDriver* Kvz_CRiclassificPianoBaseDoc::CercaRigaModello(
	const DataStr& aDitta, const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice)
{
	const BOOL bCorrente = IsDittaCorrente(aDitta);
	const auto chiave = std::make_tuple(bCorrente ? std::string() : Chiave(aDitta), aEsercizio.GetValue(), Chiave(aModello));
	auto it = m_CacheRigheModello.find(chiave);
	if (it == m_CacheRigheModello.end())
	{
		RigheModello righe;
		if (bCorrente)
		{
			Kvz_TRiclassificazioneRighe rec;
			CaricaRigheModello(rec, GetReadOnlySqlSession(), this, aEsercizio, aModello, righe);
		}
		else
		{
			m_CodiceDitta = aDitta;
			if (!ConnectDB())
				return nullptr;
			Kvz_TModRiclassRighe_Ext rec(m_pConnInUso);
			CaricaRigheModello(rec, SessioneLettura(), this, aEsercizio, aModello, righe);
		}
		it = m_CacheRigheModello.emplace(chiave, std::move(righe)).first;
	}
	auto riga = it->second.find(Chiave(aCodice));
	return riga == it->second.end() ? nullptr : &riga->second;
}

DataInt Kvz_CRiclassificPianoBaseDoc::LeggiRigaModello(const DataInt& aEsercizio, const DataStr& aModello,
													   const DataStr& aCodice)
{
	const RigaModelloDriver* pRiga = CercaRigaModello(DataStr(), aEsercizio, aModello, aCodice);
	if (!pRiga)
	{
		m_DescrizioneRigaCorrente.Clear();
		return DataInt(0);
	}
	m_DescrizioneRigaCorrente = pRiga->strDescrizione;
	m_TipoRigaCorrente = DataEnum(pRiga->nTipoRiga);
	return DataInt(pRiga->nPosizione);
}

DataInt Kvz_CRiclassificPianoBaseDoc::LeggiRigaModello_Ext(const DataInt& aEsercizio, const DataStr& aDitta,
														   const DataStr& aModello, const DataStr& aCodice)
{
	m_CodiceDitta = aDitta;
	const RigaModelloDriver* pRiga = CercaRigaModello(aDitta, aEsercizio, aModello, aCodice);
	if (!pRiga)
	{
		m_DescrizioneRigaCorrente.Clear();
		return DataInt(0);
	}
	m_DescrizioneRigaCorrente = pRiga->strDescrizione;
	m_nTipoRigaCorrente = static_cast<long>(pRiga->nTipoRiga);
	return DataInt(pRiga->nPosizione);
}

double Kvz_CRiclassificPianoBaseDoc::ValoreDividendo(const DataStr& aDitta, const DataInt& aEsercizio,
													 const DataStr& aModello, const DataStr& aCodice, int nMese)
{
	const RigaModelloDriver* pRiga = CercaRigaModello(aDitta, aEsercizio, aModello, aCodice);
	if (!pRiga || pRiga->strDividendo.IsEmpty())
		return 0.0;
	const DataStr dividendo(pRiga->strDividendo);
	// The run's data kind only: with several kinds stored, another kind's value is not this one.
	if (IsDittaCorrente(aDitta))
	{
		Kvz_TRiclassificato rec;
		return LeggiValore(rec, GetReadOnlySqlSession(), this, aEsercizio, aModello, m_TipoDato.GetValue(), dividendo,
						   nMese);
	}
	m_CodiceDitta = aDitta;
	if (!ConnectDB())
		return 0.0;
	Kvz_TRiclassificato_Ext rec(m_pConnInUso);
	return LeggiValore(rec, SessioneLettura(), this, aEsercizio, aModello, m_TipoDato.GetValue(), dividendo, nMese);
}

DataMon Kvz_CRiclassificPianoBaseDoc::LeggiValoreDividendo(const DataInt& aEsercizio, const DataStr& aModello,
														   const DataStr& aCodice, const DataInt& aMese)
{
	return DataMon(ValoreDividendo(DataStr(), aEsercizio, aModello, aCodice, aMese.GetValue()));
}

DataMon Kvz_CRiclassificPianoBaseDoc::LeggiValoreDividendo_Ext(const DataInt& aEsercizio, const DataStr& aDitta,
															   const DataStr& aModello, const DataStr& aCodice,
															   const DataInt& aMese)
{
	m_CodiceDitta = aDitta;
	return DataMon(ValoreDividendo(aDitta, aEsercizio, aModello, aCodice, aMese.GetValue()));
}

// ---- driver tables ------------------------------------------------------------------------------

// The target models of a driver (every driver's of the year for an empty code), in a fixed order.
std::vector<std::unique_ptr<TKvzDriversModelli>> Kvz_CRiclassificPianoBaseDoc::LeggiTarget(const DataStr& aDriver)
{
	std::vector<std::unique_ptr<TKvzDriversModelli>> target;
	TKvzDriversModelli rec;
	SqlTable t(&rec, GetReadOnlySqlSession(), this);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p10", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	if (!aDriver.IsEmpty())
	{
		t.AddParam("p11", rec.f_ModelloDrivers);
		t.AddFilterColumn(rec.f_ModelloDrivers);
	}
	t.AddSortColumn(rec.f_ModelloDrivers);
	t.AddSortColumn(rec.f_Ditta);
	t.AddSortColumn(rec.f_ModelloRiclassific);
	t.SetParamValue("p10", m_Esercizio);
	if (!aDriver.IsEmpty())
		t.SetParamValue("p11", aDriver);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto p = std::make_unique<TKvzDriversModelli>(FALSE);
		*p = rec;
		target.push_back(std::move(p));
	}
	t.Close();
	return target;
}

// Ordered by cost code: where several lines raise one target, the last of them is well defined.
// The driver's code is the stored one, so the reader's exact match takes all its lines.
std::vector<std::unique_ptr<TKvzDriversCosti>> Kvz_CRiclassificPianoBaseDoc::LeggiCosti(const DataStr& aDriver)
{
	return kvz_copia::LeggiDi<TKvzDriversCosti>(
		GetReadOnlySqlSession(), &TKvzDriversCosti::f_Esercizio, m_Esercizio, &TKvzDriversCosti::f_ModelloDrivers,
		aDriver, [](SqlTable& t, TKvzDriversCosti& rec) { t.AddSortColumn(rec.f_CodRiclassificCosto); });
}

// Writes back a target's measures and percentages.
void Kvz_CRiclassificPianoBaseDoc::AggiornaTarget(const TKvzDriversModelli& target)
{
	TKvzDriversModelli rec;
	SqlTable t(&rec, GetUpdatableSqlSession(), this);
	t.SetAutocommit(TRUE);
	t.Open(TRUE);
	t.SelectAll();
	t.AddParam("p10", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p11", rec.f_ModelloDrivers);
	t.AddFilterColumn(rec.f_ModelloDrivers);
	t.AddParam("p12", rec.f_Ditta);
	t.AddFilterColumn(rec.f_Ditta);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.SetParamValue("p10", target.f_Esercizio);
	t.SetParamValue("p11", target.f_ModelloDrivers);
	t.SetParamValue("p12", target.f_Ditta);
	t.SetParamValue("p2", target.f_ModelloRiclassific);
	t.Query();
	if (!t.IsEOF())
	{
		t.Edit();
		for (int m = 0; m < 12; ++m)
		{
			rec.f_ValOrig[m] = target.f_ValOrig[m];
			rec.f_Val[m] = target.f_Val[m];
			rec.f_Perc[m] = target.f_Perc[m];
		}
		t.Update();
	}
	t.Close();
}

// ---- writing into the target models' results ----------------------------------------------------

template <class Rec>
void Kvz_CRiclassificPianoBaseDoc::ScriviCodiceIn(Rec& rec, SqlSession* pSessione, const TKvzDriversModelli& target,
												  const DataStr& aCodice, const double* pValori, int nDal, int nAl,
												  Scrittura modo)
{
	constexpr bool bEsterna = std::is_same_v<Rec, Kvz_TRiclassificato_Ext>;
	SqlTable t(&rec, pSessione, this);
	t.SetAutocommit(TRUE);
	t.Open(TRUE);
	FiltroChiave(t, rec);
	const auto tipoDato = Come(rec.f_TipoDatoPianoBase, m_TipoDato.GetValue());
	const DataInt& anno = target.f_EsercizioRiclassific;
	const DataStr& modello = target.f_ModelloRiclassific;
	for (int m = nDal; m <= nAl; ++m)
	{
		CercaChiave(t, anno, modello, tipoDato, aCodice, m);
		const BOOL bTrovata = !t.IsEOF();
		if (modo == Scrittura::Azzera)
		{
			if (!bTrovata)
				continue;
			t.Edit();
			rec.f_Valore = 0.0;
			rec.f_TotaleRiportato = 0.0;
			t.Update();
			continue;
		}
		const double dRiportato = ValoreDividendo(bEsterna ? target.f_Ditta : DataStr(), anno, modello, aCodice, m);
		if (bTrovata)
		{
			t.Edit();
			rec.f_Valore = (modo == Scrittura::Somma ? rec.f_Valore.GetValue() : 0.0) + pValori[m];
			rec.f_TotaleRiportato = dRiportato;
			t.Update();
			continue;
		}
		// Only a code of the model's definition gets a new row.
		int nPosizione = 0;
		DWORD nTipoRiga = 0;
		if constexpr (bEsterna)
		{
			nPosizione = LeggiRigaModello_Ext(anno, target.f_Ditta, modello, aCodice).GetValue();
			nTipoRiga = static_cast<DWORD>(m_nTipoRigaCorrente);
		}
		else
		{
			nPosizione = LeggiRigaModello(anno, modello, aCodice).GetValue();
			nTipoRiga = m_TipoRigaCorrente.GetValue();
		}
		if (nPosizione <= 0)
			continue;
		t.AddNew();
		rec.f_Esercizio = anno;
		rec.f_Mese = m;
		rec.f_ModelloRiclassific = modello;
		rec.f_CodRiclassificato = aCodice;
		rec.f_TipoDatoPianoBase = tipoDato;
		rec.f_TipoRiga = Come(rec.f_TipoRiga, nTipoRiga);
		rec.f_Descrizione = m_DescrizioneRigaCorrente;
		rec.f_Posizione = nPosizione;
		rec.f_Valore = pValori[m];
		rec.f_TotaleRiportato = dRiportato;
		t.Update();
	}
	t.Close();
}

void Kvz_CRiclassificPianoBaseDoc::ScriviCodice(const TKvzDriversModelli& target, const DataStr& aCodice,
												const double* pValori, int nDal, int nAl, Scrittura modo)
{
	if (aCodice.IsEmpty())
		return;
	if (IsDittaCorrente(target.f_Ditta))
	{
		Kvz_TRiclassificato rec;
		ScriviCodiceIn(rec, GetUpdatableSqlSession(), target, aCodice, pValori, nDal, nAl, modo);
		return;
	}
	m_CodiceDitta = target.f_Ditta;
	if (!ConnectDB())
		return;
	Kvz_TRiclassificato_Ext rec(m_pConnInUso);
	ScriviCodiceIn(rec, SessioneScrittura(), target, aCodice, pValori, nDal, nAl, modo);
}

void Kvz_CRiclassificPianoBaseDoc::ScriviValori(const TKvzDriversModelli& target, const TKvzDriversCosti& costo,
												BOOL bAzzera)
{
	try
	{
		const Scrittura modo = bAzzera ? Scrittura::Azzera : Scrittura::Somma;
		ScriviCodice(target, costo.f_CodRiclRibaldamento, m_QuoteRibaldamento, m_DalMese, m_Mese, modo);
		ScriviCodice(target, costo.f_CodRiclRibaldamentoStd, m_QuoteRibaldamentoStd, m_DalMese, m_Mese, modo);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::ScriviValori");
	}
}

void Kvz_CRiclassificPianoBaseDoc::ScriviValori_Ext(const TKvzDriversModelli& target, const TKvzDriversCosti& costo,
													int nMese, BOOL bAzzera)
{
	if (IsDittaCorrente(target.f_Ditta) || nMese < 1 || nMese > 12)
		return;
	try
	{
		const Scrittura modo = bAzzera ? Scrittura::Azzera : Scrittura::Somma;
		ScriviCodice(target, costo.f_CodRiclRibaldamento, m_QuoteRibaldamento, nMese, nMese, modo);
		ScriviCodice(target, costo.f_CodRiclRibaldamentoStd, m_QuoteRibaldamentoStd, nMese, nMese, modo);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::ScriviValori_Ext");
	}
}

// ---- the phases -----------------------------------------------------------------------------------

void Kvz_CRiclassificPianoBaseDoc::CancellaValoriPrecedenti()
{
	Stato("Cancellazione valori drivers precedenti in corso ...");
	m_CacheRigheModello.clear();
	try
	{
		// Every target of every driver of the year, disabled ones included.
		const auto target = LeggiTarget(DataStr());
		std::map<std::string, std::vector<std::unique_ptr<TKvzDriversCosti>>> costiDi;
		for (const auto& pTarget : target)
		{
			if (m_DriversEsclusi.count(Chiave(pTarget->f_ModelloDrivers)))
				continue;  // what it shared last time stays
			auto& costi = costiDi[Chiave(pTarget->f_ModelloDrivers)];
			if (costi.empty())
				costi = LeggiCosti(pTarget->f_ModelloDrivers);
			m_CodiceDitta = pTarget->f_Ditta;
			for (const auto& pCosto : costi)
			{
				if (IsDittaCorrente(pTarget->f_Ditta))
					ScriviValori(*pTarget, *pCosto, TRUE);
				else if (ConnectDB())
					for (int m = m_DalMese; m <= m_Mese; ++m)
						ScriviValori_Ext(*pTarget, *pCosto, m, TRUE);
			}
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CancellaValoriPrecedenti");
	}
}

std::vector<std::unique_ptr<TKvzDriversTesta>> Kvz_CRiclassificPianoBaseDoc::LeggiDrivers(BOOL bSoloAttivi)
{
	std::vector<std::unique_ptr<TKvzDriversTesta>> teste;
	TKvzDriversTesta rec;
	SqlTable t(&rec, GetReadOnlySqlSession(), this);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p10", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	if (bSoloAttivi)
	{
		t.AddParam("p16", rec.f_Disattivo);
		t.AddFilterColumn(rec.f_Disattivo);
	}
	t.AddSortColumn(rec.f_ModelloDrivers);
	t.SetParamValue("p10", m_Esercizio);
	if (bSoloAttivi)
		t.SetParamValue("p16", DataBool(FALSE));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto p = std::make_unique<TKvzDriversTesta>(FALSE);
		*p = rec;
		teste.push_back(std::move(p));
	}
	t.Close();
	return teste;
}

void Kvz_CRiclassificPianoBaseDoc::PerOgniDriver(BOOL bSoloAttivi, const char* szMetodo, const char* szStato,
												 const std::function<void(const TKvzDriversTesta&)>& lavoro)
{
	std::vector<std::unique_ptr<TKvzDriversTesta>> teste;
	try
	{
		teste = LeggiDrivers(bSoloAttivi);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, szMetodo);
		return;
	}
	for (size_t i = 0; i < teste.size(); ++i)
	{
		const auto& pTesta = teste[i];
		if (IsAborted())
			break;
		if (m_DriversEsclusi.count(Chiave(pTesta->f_ModelloDrivers)))
			continue;
		Stato(CString::Formatted(szStato, pTesta->f_ModelloDrivers.GetString().GetString(), i + 1, teste.size()));
		m_TipoCalcoloCorrente = pTesta->f_TipoCalcolo;
		m_ModelloDriversCorrente = pTesta->f_ModelloDrivers;
		lavoro(*pTesta);
	}
}

void Kvz_CRiclassificPianoBaseDoc::ElaboraDrivers()
{
	PerOgniDriver(TRUE, "Kvz_CRiclassificPianoBaseDoc::ElaboraDrivers", "Calcolo drivers in corso: modello %s (%zu di %zu) ...",
				  [this](const TKvzDriversTesta& testa) {
					  if (!TargetPresenti(m_ModelloDriversCorrente))
						  return;
					  RilevaPercentualiDrivers(m_ModelloDriversCorrente, testa.f_RiclassificazioneDrivers);
					  CalcolaIncrementi(m_ModelloDriversCorrente);
					  CalcolaCosti(m_ModelloDriversCorrente);
				  });
}

// Disabled drivers too: their targets lost their shares and are recomputed all the same.
void Kvz_CRiclassificPianoBaseDoc::ElaboraFaseSuccessivaDrivers()
{
	PerOgniDriver(FALSE, "Kvz_CRiclassificPianoBaseDoc::ElaboraFaseSuccessivaDrivers",
				  "Calcolo fase successiva drivers in corso: modello %s (%zu di %zu) ...",
				  [this](const TKvzDriversTesta&) {
					  if (!DriverFallito(m_ModelloDriversCorrente))
						  CalcolaModelloFaseSuccessiva(m_ModelloDriversCorrente);
				  });
}

// ---- drivers that cannot be computed ---------------------------------------------------------------

BOOL Kvz_CRiclassificPianoBaseDoc::DriverFallito(const DataStr& aDriver) const
{
	const std::string chiave = Chiave(aDriver);
	return std::any_of(m_DriversNonCalcolati.begin(), m_DriversNonCalcolati.end(),
					   [&](const DriverNonCalcolato& d) { return d.driver == chiave; });
}

BOOL Kvz_CRiclassificPianoBaseDoc::TargetPresenti(const DataStr& aDriver)
{
	BOOL bTutti = TRUE;
	try
	{
		for (const auto& p : LeggiTarget(aDriver))
		{
			if (!IsDittaCorrente(p->f_Ditta) ||
				m_pTRTesta->FindRecord(p->f_EsercizioRiclassific, p->f_ModelloRiclassific) == TableReader::FOUND)
				continue;
			const CString strModello = p->f_ModelloRiclassific.GetString();
			m_DriversNonCalcolati.push_back({Chiave(aDriver), "modello " + strModello.str() + " inesistente"});
			GetMessages()->Add(CString::Formatted("Driver %s: il modello %s non esiste nell'esercizio %d; il driver non è "
												  "stato ricalcolato.",
												  aDriver.GetString().GetString(), strModello.GetString(),
												  p->f_EsercizioRiclassific.GetValue()),
							   CMessages::MSG_ERROR);
			bTutti = FALSE;
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::TargetPresenti");
		return FALSE;
	}
	return bTutti;
}

void Kvz_CRiclassificPianoBaseDoc::DriverNonValutato(const CString& strFormula, BOOL bMotivoDetto)
{
	const CString strDriver = m_ModelloDriversCorrente.GetString();
	m_DriversNonCalcolati.push_back({Chiave(m_ModelloDriversCorrente), m_strCosaInCorso.str()});
	const CString strMotivo = MotivoNonValutata(bMotivoDetto);
	GetMessages()->Add(
		CString::Formatted("Driver %s, %s: la formula \"%s\" non si può calcolare%s%s; il driver non è stato ricalcolato.",
						   strDriver.GetString(), m_strCosaInCorso.GetString(), strFormula.Left(80).GetString(),
						   strMotivo.IsEmpty() ? "" : ": ", strMotivo.GetString()),
		CMessages::MSG_ERROR);
}

// Shares add up over the drivers and are reset for all of them first, so a driver that fails
// cannot be taken out alone: the phases are undone whole and run again without it, which leaves
// what it shared (and its kind-9 rows) as the last run wrote them.
void Kvz_CRiclassificPianoBaseDoc::FasiDrivers()
{
	m_DriversEsclusi.clear();
	const size_t nDettiPrima = GetMessages()->GetMessages().size();
	for (;;)
	{
		const size_t nFalliti = m_DriversNonCalcolati.size();
		BOOL bParte = FALSE;
		try
		{
			bParte = GetContext()->StartPart();
		}
		catch (const SqlException& e)
		{
			ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::FasiDrivers");
			return;
		}
		CancellaValoriPrecedenti();
		ElaboraDrivers();
		ElaboraFaseSuccessivaDrivers();
		const BOOL bDiNuovo = bParte && m_DriversNonCalcolati.size() > nFalliti && !IsAborted() && !m_bErroreDb;
		try
		{
			if (bParte)
				GetContext()->EndPart(!bDiNuovo);
		}
		catch (const SqlException& e)
		{
			ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::FasiDrivers");
			return;
		}
		if (!bDiNuovo)
			break;
		AnnullaFasiEsterne();
		for (size_t i = nFalliti; i < m_DriversNonCalcolati.size(); ++i)
			m_DriversEsclusi.insert(m_DriversNonCalcolati[i].driver);
	}
	// The drivers that went well said what they met in each pass: once is enough.
	UnaVoltaPerRiga(nDettiPrima);
}

// Other companies' databases hold only the phases' work, in one transaction each.
void Kvz_CRiclassificPianoBaseDoc::AnnullaFasiEsterne()
{
	for (auto& [ditta, pConn] : m_ConnessioniDitte)
		if (pConn && pConn != GetSqlConnection() && pConn->IsInTransaction())
		{
			try
			{
				pConn->RollbackTransaction();
				pConn->BeginTransaction();
			}
			catch (const SqlException& e)
			{
				ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::AnnullaFasiEsterne");
			}
		}
}

CString Kvz_CRiclassificPianoBaseDoc::TestoErroriDrivers() const
{
	// Each driver once, with what of it failed.
	std::vector<std::pair<std::string, std::string>> drivers;
	for (const DriverNonCalcolato& d : m_DriversNonCalcolati)
	{
		auto it = std::find_if(drivers.begin(), drivers.end(), [&](const auto& p) { return p.first == d.driver; });
		if (it == drivers.end())
			drivers.emplace_back(d.driver, d.cosa);
		else if (it->second.find(d.cosa) == std::string::npos)
			it->second += ", " + d.cosa;
	}
	std::string elenco;
	for (const auto& [driver, cosa] : drivers)
		elenco += (elenco.empty() ? "" : "; ") + driver + " (" + cosa + ")";
	return CString::Formatted("%s non ricalcolat%s, quote e righe di tipo 9 come prima: %s",
							  drivers.size() == 1 ? "driver" : "drivers", drivers.size() == 1 ? "o" : "i", elenco.c_str());
}

// ---- measures, percentages and increments ----------------------------------------------------------

void Kvz_CRiclassificPianoBaseDoc::InizializzaValori(const DataInt& aEsercizio, const DataStr& aModello,
													 const DataStr& aCodice)
{
	std::fill(std::begin(m_ValoriModello), std::end(m_ValoriModello), 0.0);
	if (!m_pConnInUso)
		return;  // a company that cannot be read measures nothing
	try
	{
		// The months of the range in one query.
		Kvz_TRiclassificato_Ext rec(m_pConnInUso);
		SqlTable t(&rec, SessioneLettura(), this);
		t.Open(FALSE);
		DataInt mese;
		DataMon valore;
		t.SelectSqlFun("\"Mese\"", mese);
		t.SelectSqlFun("SUM(\"Valore\")", valore);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddParam("p3", rec.f_TipoDatoPianoBase);
		t.AddFilterColumn(rec.f_TipoDatoPianoBase);
		t.AddParam("p6", rec.f_CodRiclassificato);
		t.AddFilterColumn(rec.f_CodRiclassificato);
		t.AddParam("p7", rec.f_Mese);
		t.AddParam("p8", rec.f_Mese);
		t.AddBetweenColumn(rec.f_Mese);
		t.AddGroupByColumn(rec.f_Mese);
		t.SetParamValue("p1", aEsercizio);
		t.SetParamValue("p2", aModello);
		t.SetParamValue("p3", DataLng(static_cast<long>(m_TipoDato.GetValue())));
		t.SetParamValue("p6", aCodice);
		t.SetParamValue("p7", m_DalMese);
		t.SetParamValue("p8", m_Mese);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			const int m = mese.GetValue();
			if (m < 1 || m > 12)
				continue;
			m_ValoriModello[m] += valore.GetValue();
			m_TotaliDriver[m] += valore.GetValue();
		}
		t.Close();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::InizializzaValori");
	}
}

void Kvz_CRiclassificPianoBaseDoc::RilevaPercentualiDrivers(const DataStr& aDriver, const DataStr& aCodice)
{
	std::fill(std::begin(m_TotaliDriver), std::end(m_TotaliDriver), 0.0);
	try
	{
		const auto target = LeggiTarget(aDriver);
		for (const auto& pTarget : target)
		{
			m_CodiceDitta = pTarget->f_Ditta;
			ConnectDB();
			InizializzaValori(pTarget->f_EsercizioRiclassific, pTarget->f_ModelloRiclassific, aCodice);
			for (int m = 1; m <= 12; ++m)
			{
				pTarget->f_Val[m - 1] = m_ValoriModello[m];
				pTarget->f_ValOrig[m - 1] = m_ValoriModello[m];
			}
			AggiornaTarget(*pTarget);
		}
		const int nDal = m_DalMese;
		const int nAl = m_Mese;
		for (const auto& pTarget : target)
		{
			TKvzDriversModelli& t = *pTarget;
			double dSV = 0.0;
			double dST = 0.0;
			for (int m = nDal; m <= nAl; ++m)
			{
				dSV += t.f_Val[m - 1].GetValue();
				dST += m_TotaliDriver[m];
			}
			switch (m_TipoCalcoloCorrente.GetItemValue())
			{
			case 0:
				for (int m = 1; m <= 12; ++m)
					if (m_TotaliDriver[m] > 0)
						t.f_Perc[m - 1] = t.f_Val[m - 1].GetValue() / m_TotaliDriver[m];
				break;
			case 1:
				if (dST > GetMonEpsilon())
					for (int m = nDal; m <= nAl; ++m)
						if (m_TotaliDriver[m] > 0)
							t.f_Perc[m - 1] = dSV / dST;
				break;
			case 2:
				if (dST > GetMonEpsilon())
					for (int m = nDal; m <= nAl; ++m)
						t.f_Perc[m - 1] = t.f_Val[m - 1].GetValue() / dST;
				break;
			default:
				break;
			}
			AggiornaTarget(t);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::RilevaPercentualiDrivers");
	}
}

void Kvz_CRiclassificPianoBaseDoc::ApplicaIncrementi(TKvzDriversModelli& target, const TKvzDriversCosti& costo)
{
	Kvz_TRDriversIncrementi incrementi(this);
	if (incrementi.FindRecord(target.f_EsercizioRiclassific, target.f_Ditta, target.f_ModelloDrivers,
							  target.f_ModelloRiclassific, costo.f_CodRiclassificCosto) != TableReader::FOUND)
		return;
	const TKvzDriversIncrementi& r = *incrementi.GetRecord();
	for (int m = 0; m < 12; ++m)
		target.f_Val[m] = target.f_ValOrig[m];
	for (int m = 1; m <= 12; ++m)
	{
		const double dIncr = r.f_Incr[m - 1].GetValue();
		if (dIncr <= DataPerc::GetStaticEpsilon())
			continue;
		const double dVal = target.f_Val[m - 1].GetValue();
		target.f_Val[m - 1] = dVal + dIncr * dVal / 100.0;
		m_ValoriModello[m] = target.f_Val[m - 1].GetValue();
	}
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaIncrementi(const DataStr& aDriver)
{
	SvuotaRisultati();
	try
	{
		const auto target = LeggiTarget(aDriver);
		const auto costi = LeggiCosti(aDriver);
		for (const auto& pTarget : target)
		{
			for (const auto& pCosto : costi)
				ApplicaIncrementi(*pTarget, *pCosto);
			// The driver's totals are the sum of its targets' final measures, however many cost
			// lines raised this one.
			for (int m = 1; m <= 12; ++m)
				m_TotaliDriver[m] += pTarget->f_Val[m - 1].GetValue() - pTarget->f_ValOrig[m - 1].GetValue();
			AggiornaTarget(*pTarget);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CalcolaIncrementi");
	}
}

// ---- cost allocation ---------------------------------------------------------------------------------

// The month copies of a row with its main formula's values (0 where it is empty or fails); in
// another company's database when the row is that company's.
BOOL Kvz_CRiclassificPianoBaseDoc::ValutaRiga(Kvz_TEnhRiclassificazioneRighe& riga, BOOL bDitta)
{
	BOOL bValutata = TRUE;
	SvuotaRisultati();
	const int nDal = m_DalMese;
	const int nAl = m_Mese;
	std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> mesi;
	for (int m = nDal; m <= nAl; ++m)
	{
		auto p = CopiaMese(riga);
		p->l_Mese = m;
		p->l_Valore = 0.0;
		mesi.push_back(std::move(p));
	}
	const CString strFormula = riga.f_Formula.GetString();
	if (m_pMngFormula && !strFormula.IsEmpty())
	{
		m_pMngFormula->AttachFormula(strFormula);
		if (bDitta && !IsDittaCorrente(m_CodiceDitta))
			m_pMngFormula->AttachDitta(m_CodiceDitta);
		const size_t nDetti = GetMessages()->GetMessages().size();
		if (m_pMngFormula->Eval())
			for (auto& p : mesi)
			{
				const int m = p->l_Mese.GetValue();
				p->l_Valore = m_pMngFormula->GetResult(m - 1).GetValue();
				RipartisciSuCommessa(riga.f_TipoCalcolo, riga.f_ModelloRiclassific, m, p->l_Valore, 0.0);
			}
		else
		{
			bValutata = FALSE;
			DriverNonValutato(strFormula, GetMessages()->GetMessages().size() != nDetti);
		}
	}
	for (auto& p : mesi)
		m_Risultati.Add(p.release());
	return bValutata;
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaFormulaCosto(Kvz_TEnhRiclassificazioneRighe& riga)
{
	// Always in the driver's own company.
	ValutaRiga(riga, FALSE);
}

void Kvz_CRiclassificPianoBaseDoc::RipartisciCosto(TKvzDriversModelli& target, const TKvzDriversCosti& costo)
{
	std::fill(std::begin(m_QuoteRibaldamento), std::end(m_QuoteRibaldamento), 0.0);
	std::fill(std::begin(m_QuoteRibaldamentoStd), std::end(m_QuoteRibaldamentoStd), 0.0);
	double F[13] = {};
	ValoriDeiMesi(F);
	auto S = [&](int m) { return costo.f_CostoStandard[m - 1].GetValue(); };
	auto Val = [&](int m) { return target.f_Val[m - 1].GetValue(); };
	const double eps = GetMonEpsilon();
	const int nDal = m_DalMese;
	const int nAl = m_Mese;
	const int N = nAl - nDal + 1;
	if (N <= 0)
		return;
	BOOL bStandard = FALSE;
	for (int m = 1; m <= 12; ++m)
		bStandard = bStandard || S(m) > eps;
	double dST = 0.0;
	double dSF = 0.0;
	for (int m = nDal; m <= nAl; ++m)
	{
		dST += m_TotaliDriver[m];
		dSF += F[m];
	}
	switch (m_TipoCalcoloCorrente.GetItemValue())
	{
	case 0:
		for (int m = nDal; m <= nAl; ++m)
		{
			if (!(m_TotaliDriver[m] > 0))
				continue;
			const double dPerc = Val(m) / m_TotaliDriver[m];
			target.f_Perc[m - 1] = dPerc;
			if (S(m) > eps)
			{
				m_QuoteRibaldamento[m] = dPerc * S(m);
				m_QuoteRibaldamentoStd[m] = dPerc * F[m];
			}
			else
				m_QuoteRibaldamento[m] = dPerc * F[m];
		}
		break;
	case 1:
	{
		// The standard costs of the whole year, spread evenly over the months of the range.
		double dSV = 0.0;
		for (int m = 1; m <= 12; ++m)
			dSV += Val(m);
		double dC = dSF;
		double dFT = 0.0;
		if (bStandard)
		{
			dFT = dSF;
			dC = 0.0;
			for (int m = 1; m <= 12; ++m)
				dC += S(m);
		}
		const double p = dST > 0 ? dSV / dST : 0.0;
		for (int m = nDal; m <= nAl; ++m)
		{
			if (!(m_TotaliDriver[m] > 0))
				continue;
			target.f_Perc[m - 1] = p;
			m_QuoteRibaldamento[m] = p * dC / N;
			if (dFT > eps)
				m_QuoteRibaldamentoStd[m] = p * dFT / N;
		}
		break;
	}
	case 2:
	{
		// The standard costs of the range months only.
		double dC = dSF;
		double dFT = 0.0;
		if (bStandard)
		{
			dFT = dSF;
			dC = 0.0;
			for (int m = nDal; m <= nAl; ++m)
				dC += S(m);
		}
		if (!(dST > 0))
			break;
		for (int m = nDal; m <= nAl; ++m)
		{
			const double dPerc = Val(m) / dST;
			target.f_Perc[m - 1] = dPerc;
			m_QuoteRibaldamento[m] = dPerc * dC;
			if (dFT > eps)
				m_QuoteRibaldamentoStd[m] = dPerc * dFT;
		}
		break;
	}
	default:
		break;
	}
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaCosti(const DataStr& aDriver)
{
	MotoreInUso pMotore(*this);
	pMotore->SetDefinizioniStabili();
	try
	{
		const auto target = LeggiTarget(aDriver);
		const auto costi = LeggiCosti(aDriver);
		if (target.empty())
			return;
		// A cost line's formula is the driver's, the same for every target: valued once.
		std::vector<std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>>> mesiDi;
		for (const auto& pCosto : costi)
		{
			Kvz_TEnhRiclassificazioneRighe riga;
			riga.f_Esercizio = target.front()->f_Esercizio;
			riga.f_ModelloRiclassific = aDriver;
			riga.f_CodRiclassificato = pCosto->f_CodRiclassificCosto;
			riga.f_Descrizione = pCosto->f_Descrizione;
			riga.f_Formula = pCosto->f_Formula;
			riga.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 0);
			riga.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 0);
			pMotore->AttachDefault(riga.f_Esercizio, m_DalMese, m_Mese, aDriver, m_TipoDato, riga.f_TipoRiga);
			m_strCosaInCorso = "costo " + pCosto->f_CodRiclassificCosto.GetString();
			CalcolaFormulaCosto(riga);
			auto& mesi = mesiDi.emplace_back();
			for (int i = m_Risultati.GetSize() - 1; i >= 0; --i)
				mesi.emplace(mesi.begin(), static_cast<Kvz_TEnhRiclassificazioneRighe*>(m_Risultati.DetachAt(i)));
		}
		// A cost that cannot be valued shares nothing out: none of the driver's lines is written.
		if (DriverFallito(aDriver))
			return;
		for (const auto& pTarget : target)
			for (size_t c = 0; c < costi.size(); ++c)
			{
				SvuotaRisultati();
				for (const auto& p : mesiDi[c])
					m_Risultati.Add(CopiaMese(*p).release());
				RipartisciCosto(*pTarget, *costi[c]);
				m_CodiceDitta = pTarget->f_Ditta;
				if (IsDittaCorrente(pTarget->f_Ditta))
					ScriviValori(*pTarget, *costi[c], FALSE);
				else if (ConnectDB())
					for (int m = m_DalMese; m <= m_Mese; ++m)
						ScriviValori_Ext(*pTarget, *costi[c], m, FALSE);
			}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CalcolaCosti");
	}
}

// ---- following phase ---------------------------------------------------------------------------------

void Kvz_CRiclassificPianoBaseDoc::CalcolaModelloFaseSuccessiva(const DataStr& aDriver)
{
	try
	{
		const auto target = LeggiTarget(aDriver);
		for (const auto& pTarget : target)
		{
			if (IsAborted() || DriverFallito(aDriver))
				break;
			m_CodiceDitta = pTarget->f_Ditta;
			if (IsDittaCorrente(pTarget->f_Ditta))
				LeggeModelloRiclassificazione(*pTarget);
			else if (ConnectDB())
				LeggeModelloRiclassificazione_Ext(*pTarget);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CalcolaModelloFaseSuccessiva");
	}
}

void Kvz_CRiclassificPianoBaseDoc::LeggeModelloRiclassificazione(const TKvzDriversModelli& target)
{
	try
	{
		std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> righe;
		Kvz_TEnhRiclassificazioneRighe rec;
		PerOgniRigaFaseSuccessiva(rec, GetReadOnlySqlSession(), this, target, [&] { righe.push_back(NuovaCopia(rec)); });
		CalcolaRigheFaseSuccessiva(target, righe, FALSE);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::LeggeModelloRiclassificazione");
	}
}

void Kvz_CRiclassificPianoBaseDoc::LeggeModelloRiclassificazione_Ext(const TKvzDriversModelli& target)
{
	try
	{
		m_CodiceDitta = target.f_Ditta;
		if (!ConnectDB())
			return;
		std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> righe;
		Kvz_TModRiclassRighe_Ext rec(m_pConnInUso);
		PerOgniRigaFaseSuccessiva(rec, SessioneLettura(), this, target, [&] {
			// The driver's year and code stand as the row's: the job split of this company is
			// not the other one's.
			auto p = std::make_unique<Kvz_TEnhRiclassificazioneRighe>();
			p->f_Esercizio = target.f_Esercizio;
			p->f_ModelloRiclassific = target.f_ModelloDrivers;
			p->f_CodRiclassificato = rec.f_CodRiclassificato;
			p->f_Descrizione = rec.f_Descrizione;
			p->f_Formula = rec.f_Formula;
			p->f_Posizione = rec.f_Posizione;
			p->f_TipoRiga = DataEnum(Grezzo(rec.f_TipoRiga));
			p->f_TipoCalcolo = DataEnum(Grezzo(rec.f_TipoCalcolo));
			righe.push_back(std::move(p));
		});
		CalcolaRigheFaseSuccessiva(target, righe, TRUE);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::LeggeModelloRiclassificazione_Ext");
	}
}

// The kind-9 rows of one target, each valued by an engine of the target and written.
void Kvz_CRiclassificPianoBaseDoc::CalcolaRigheFaseSuccessiva(
	const TKvzDriversModelli& target, std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>>& righe,
	BOOL bEsterna)
{
	if (righe.empty())
		return;
	MotoreInUso pMotore(*this);
	pMotore->AttachModello(target.f_ModelloRiclassific);
	pMotore->AttachEsercizio(target.f_EsercizioRiclassific);
	for (auto& pRiga : righe)
	{
		if (IsAborted() || DriverFallito(m_ModelloDriversCorrente))
			break;
		pMotore->AttachDefault(pRiga->f_Esercizio, m_DalMese, m_Mese, target.f_ModelloRiclassific, m_TipoDato,
							   pRiga->f_TipoRiga);
		m_strCosaInCorso = CString::Formatted("modello %s riga %s", target.f_ModelloRiclassific.GetString().GetString(),
											  pRiga->f_CodRiclassificato.GetString().GetString());
		CalcolaRigaFaseSuccessiva(*pRiga);
		if (DriverFallito(m_ModelloDriversCorrente))
			break;
		if (bEsterna)
			ScriviValoriFaseSuccessiva_Ext(target, pRiga->f_CodRiclassificato);
		else
			ScriviValoriFaseSuccessiva(target, pRiga->f_CodRiclassificato);
	}
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaRigaFaseSuccessiva(Kvz_TEnhRiclassificazioneRighe& riga)
{
	ValutaRiga(riga, TRUE);
}

void Kvz_CRiclassificPianoBaseDoc::ValoriDeiMesi(double (&valori)[13]) const
{
	std::fill(std::begin(valori), std::end(valori), 0.0);
	for (int i = 0; i < m_Risultati.GetSize(); ++i)
	{
		const Kvz_TEnhRiclassificazioneRighe* p = m_Risultati.GetAt(i);
		const int m = p->l_Mese.GetValue();
		if (m >= 1 && m <= 12)
			valori[m] = p->l_Valore.GetValue();
	}
}

// The row's values replace the stored ones (shares add up, these do not).
void Kvz_CRiclassificPianoBaseDoc::ScriviFaseSuccessiva(const TKvzDriversModelli& target, const DataStr& aCodice,
														 const char* szMetodo)
{
	try
	{
		double valori[13];
		ValoriDeiMesi(valori);
		ScriviCodice(target, aCodice, valori, m_DalMese, m_Mese, Scrittura::Sostituisci);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, szMetodo);
	}
}

void Kvz_CRiclassificPianoBaseDoc::ScriviValoriFaseSuccessiva(const TKvzDriversModelli& target, const DataStr& aCodice)
{
	if (IsDittaCorrente(target.f_Ditta))
		ScriviFaseSuccessiva(target, aCodice, "Kvz_CRiclassificPianoBaseDoc::ScriviValoriFaseSuccessiva");
}

void Kvz_CRiclassificPianoBaseDoc::ScriviValoriFaseSuccessiva_Ext(const TKvzDriversModelli& target,
																  const DataStr& aCodice)
{
	if (!IsDittaCorrente(target.f_Ditta))
		ScriviFaseSuccessiva(target, aCodice, "Kvz_CRiclassificPianoBaseDoc::ScriviValoriFaseSuccessiva_Ext");
}
