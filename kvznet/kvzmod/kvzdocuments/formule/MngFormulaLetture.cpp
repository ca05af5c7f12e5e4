// The reads a run makes of what it does not write (symbols' definitions, model rows, the
// extra-accounting codes' months): one query per table and year and model, or year and code,
// instead of one per row looked up; the rows are then found in memory.
#include <map>

#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
// The rows of one query, by their code as the database compares it.
template <class Rec>
using Gruppo = std::map<CString, std::unique_ptr<Rec>>;

// The group of rows under strGruppo, read by filtra (which defines the query's filters and sets
// their values) the first time it is asked for; the row of strChiave in it, null when none.
template <class Rec, class Filtra, class ChiaveDi>
const Rec* Cerca(std::map<CString, Gruppo<Rec>>& gruppi, SqlSession* pSession, const CString& strGruppo,
				 const CString& strChiave, Filtra filtra, ChiaveDi chiaveDi)
{
	auto it = gruppi.find(strGruppo);
	if (it == gruppi.end())
	{
		Gruppo<Rec> righe;
		Rec rec;
		SqlTable t(&rec, pSession);
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		filtra(t, rec);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto p = std::make_unique<Rec>();
			*p = rec;
			righe.emplace(chiaveDi(rec), std::move(p));
		}
		t.Close();
		it = gruppi.emplace(strGruppo, std::move(righe)).first;
	}
	auto riga = it->second.find(strChiave);
	return riga == it->second.end() ? nullptr : riga->second.get();
}

CString ChiaveAnnoCodice(const DataInt& aEsercizio, const DataStr& aCodice)
{
	return CString::Formatted("%d\x1f", aEsercizio.GetValue()) + Kvz_New_MngFormula::ChiaveTesto(aCodice.GetString());
}

// The registry tables keyed by year, model and name: a model's rows read together.
template <class Rec>
const Rec* CercaSimbolo(std::map<CString, Gruppo<Rec>>& gruppi, SqlSession* pSession, const DataInt& aEsercizio,
						const DataStr& aModello, const CString& strNome)
{
	if (strNome.IsEmpty())
		return nullptr;
	return Cerca(
		gruppi, pSession, ChiaveAnnoCodice(aEsercizio, aModello), Kvz_New_MngFormula::ChiaveTesto(strNome),
		[&](SqlTable& t, Rec& rec) {
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_ModelloRiclassific);
			t.AddFilterColumn(rec.f_ModelloRiclassific);
			t.SetParamValue("p1", aEsercizio);
			t.SetParamValue("p2", aModello);
		},
		[](const Rec& rec) { return Kvz_New_MngFormula::ChiaveTesto(rec.f_NomeSimbolo.GetString()); });
}
}  // namespace

struct Kvz_New_LettureStabili::Tabelle
{
	std::map<CString, Gruppo<Kvz_TAnagSimboli>> anagrafica;
	std::map<CString, Gruppo<Kvz_TSimboliCodiciRiclass>> riclass;
	std::map<CString, Gruppo<Kvz_TSimboliCodiciExtracont>> extracont;
	std::map<CString, Gruppo<Kvz_TSimboliPianoBase>> pianoBase;
	std::map<CString, Gruppo<Kvz_TSimboliOutputRiclass>> output;
	std::map<CString, Gruppo<Kvz_TRiclassificazioneRighe>> righe;
	std::map<CString, Gruppo<Kvz_TCodExtracontabili>> mesi;
	std::map<CString, RisultatiLetti> risultati;
};

Kvz_New_LettureStabili::Kvz_New_LettureStabili(SqlSession* pSession)
	: m_pSession(pSession), m_pTabelle(std::make_unique<Tabelle>())
{
}

Kvz_New_LettureStabili::~Kvz_New_LettureStabili() = default;

const Kvz_TAnagSimboli* Kvz_New_LettureStabili::Anagrafica(const DataInt& aEsercizio, const DataStr& aModello,
														   const CString& strNome)
{
	return CercaSimbolo(m_pTabelle->anagrafica, m_pSession, aEsercizio, aModello, strNome);
}

const Kvz_TSimboliCodiciRiclass* Kvz_New_LettureStabili::SimboloRiclass(const DataInt& aEsercizio,
																		const DataStr& aModello, const CString& strNome)
{
	return CercaSimbolo(m_pTabelle->riclass, m_pSession, aEsercizio, aModello, strNome);
}

const Kvz_TSimboliCodiciExtracont* Kvz_New_LettureStabili::SimboloExtracont(const DataInt& aEsercizio,
																			const DataStr& aModello,
																			const CString& strNome)
{
	return CercaSimbolo(m_pTabelle->extracont, m_pSession, aEsercizio, aModello, strNome);
}

const Kvz_TSimboliPianoBase* Kvz_New_LettureStabili::SimboloPianoBase(const DataInt& aEsercizio,
																	  const DataStr& aModello, const CString& strNome)
{
	return CercaSimbolo(m_pTabelle->pianoBase, m_pSession, aEsercizio, aModello, strNome);
}

const Kvz_TSimboliOutputRiclass* Kvz_New_LettureStabili::SimboloOutput(const DataInt& aEsercizio,
																	   const DataStr& aModello, const CString& strNome)
{
	return CercaSimbolo(m_pTabelle->output, m_pSession, aEsercizio, aModello, strNome);
}

const Kvz_TRiclassificazioneRighe* Kvz_New_LettureStabili::Riga(const DataInt& aEsercizio, const DataStr& aModello,
																const DataStr& aCodice)
{
	// As the reader: no year or no model finds nothing.
	if (aEsercizio.GetValue() == 0 || aModello.IsEmpty())
		return nullptr;
	return Cerca(
		m_pTabelle->righe, m_pSession, ChiaveAnnoCodice(aEsercizio, aModello),
		Kvz_New_MngFormula::ChiaveTesto(aCodice.GetString()),
		[&](SqlTable& t, Kvz_TRiclassificazioneRighe& rec) {
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_ModelloRiclassific);
			t.AddFilterColumn(rec.f_ModelloRiclassific);
			t.SetParamValue("p1", aEsercizio);
			t.SetParamValue("p2", aModello);
		},
		[](const Kvz_TRiclassificazioneRighe& rec) {
			return Kvz_New_MngFormula::ChiaveTesto(rec.f_CodRiclassificato.GetString());
		});
}

const Kvz_TCodExtracontabili* Kvz_New_LettureStabili::MeseExtracont(const DataInt& aEsercizio, const DataStr& aCodice,
																	int nMese)
{
	if (aEsercizio.GetValue() == 0 || aCodice.IsEmpty() || nMese == 0)
		return nullptr;
	return Cerca(
		m_pTabelle->mesi, m_pSession, ChiaveAnnoCodice(aEsercizio, aCodice), CString::Formatted("%d", nMese),
		[&](SqlTable& t, Kvz_TCodExtracontabili& rec) {
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_CodExtracont);
			t.AddFilterColumn(rec.f_CodExtracont);
			t.SetParamValue("p1", aEsercizio);
			t.SetParamValue("p2", aCodice);
		},
		[](const Kvz_TCodExtracontabili& rec) { return CString::Formatted("%d", rec.f_Mese.GetValue()); });
}

const Kvz_New_LettureStabili::RisultatiLetti* Kvz_New_LettureStabili::Risultati(const DataInt& aEsercizio,
																				const DataStr& aModello)
{
	const CString strModello = Kvz_New_MngFormula::ChiaveTesto(aModello.GetString());
	if (!m_bScrittiDati || m_ModelliScritti.count(strModello))
		return nullptr;
	const CString strGruppo = ChiaveAnnoCodice(aEsercizio, aModello);
	auto it = m_pTabelle->risultati.find(strGruppo);
	if (it == m_pTabelle->risultati.end())
	{
		RisultatiLetti letti;
		Kvz_TRiclassificato rec;
		SqlTable t(&rec, m_pSession);
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddSortColumn(rec.f_TipoDatoPianoBase);
		t.AddSortColumn(rec.f_CodRiclassificato);
		t.AddSortColumn(rec.f_Mese);
		t.SetParamValue("p1", aEsercizio);
		t.SetParamValue("p2", aModello);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto p = std::make_unique<Kvz_TRiclassificato>();
			*p = rec;
			letti.posizioni.emplace(Kvz_New_MngFormula::ChiaveTesto(rec.f_CodRiclassificato.GetString()),
									rec.f_Posizione.GetValue());
			letti.righe.push_back(std::move(p));
		}
		t.Close();
		it = m_pTabelle->risultati.emplace(strGruppo, std::move(letti)).first;
	}
	return &it->second;
}

void Kvz_New_MngFormula::SetDefinizioniStabili(BOOL b)
{
	m_bDefinizioniStabili = b != FALSE;
	m_ValoriPianoBase.clear();
	if (!m_bDefinizioniStabili)
		m_pLetture.reset();
}

Kvz_New_LettureStabili* Kvz_New_MngFormula::Letture()
{
	Kvz_New_MngFormula& radice = Radice();
	if (!radice.m_bDefinizioniStabili)
		return nullptr;
	if (!radice.m_pLetture)
		radice.m_pLetture = std::make_shared<Kvz_New_LettureStabili>(radice.Sessione());
	return radice.m_pLetture.get();
}
