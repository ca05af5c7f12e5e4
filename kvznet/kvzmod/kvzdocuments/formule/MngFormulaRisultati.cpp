// Valuation of reclassification-result symbols: the stored results of a code or a range of
// codes of a model, read with one grouped query on the current company, or read in month
// order and aggregated here on another company. Valued anew at every occurrence, since the
// run writes the results.
#include <algorithm>

#include <fmt/format.h>

#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaCursore.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "MngFormula";
const char* const kAggregati[] = {"SUM(%s)", "AVG(%s)", "COUNT(*)", "MAX(%s)", "MIN(%s)", "%s"};

void CompletaCodici(DataStr& aDa, DataStr& aA)
{
	if (aA.IsEmpty())
		aA = aDa;
	else if (aDa.IsEmpty())
		aDa = aA;
}

// A value column of the results by name, on either record.
template <class Rec>
auto Colonna(Rec& r, const CString& nome) -> decltype(&r.f_Valore)
{
	decltype(&r.f_Valore) colonne[] = {&r.f_Valore,  &r.f_Valore1, &r.f_Valore2, &r.f_Valore3, &r.f_Valore4, &r.f_Valore5,
						  &r.f_Valore6, &r.f_Valore7, &r.f_Valore8, &r.f_Valore9, &r.f_Valore10,
						  &r.f_ValoreBudgetA, &r.f_ValoreBudgetB, &r.f_ValoreBudgetC};
	const char* nomi[] = {"Valore",  "Valore1", "Valore2", "Valore3", "Valore4", "Valore5",       "Valore6",
						  "Valore7", "Valore8", "Valore9", "Valore10", "ValoreBudgetA", "ValoreBudgetB", "ValoreBudgetC"};
	for (size_t i = 0; i < std::size(nomi); ++i)
		if (nome == nomi[i])
			return colonne[i];
	return nullptr;
}

// A month's result: in every month for a symbol of one fixed month, else in its own; a month
// without results stays 0.
void Risultato(Kvz_New_Simbolo& simbolo, const Kvz_TSimboliOutputRiclass& def, int mese, double v)
{
	if (def.f_ValoreMeseConst)
		for (DataDbl& valore : simbolo.m_Valori)
			valore = v;
	else if (mese >= 1 && mese <= 12)
		simbolo.m_Valori[mese - 1] = v;
}

// The range's bounds, "p5" and "p6": positions when the first code has results, else codes.
void ValoriIntervallo(SqlTable& t, const Kvz_TSimboliOutputRiclass& def, int daPos, int aPos)
{
	if (daPos != 0)
	{
		t.SetParamValue("p5", DataInt(daPos));
		t.SetParamValue("p6", DataInt(aPos));
	}
	else
	{
		t.SetParamValue("p5", def.f_ValoreCodice);
		t.SetParamValue("p6", def.f_ValoreCodiceA);
	}
}

// Whether a range selects any code: by position when its first code has results, else by code
// as the database compares them.
bool SelezionaCodici(const Kvz_TSimboliOutputRiclass& def, int daPos, int aPos)
{
	if (daPos != 0)
		return daPos <= aPos;
	return Kvz_New_MngFormula::ChiaveTesto(def.f_ValoreCodice.GetString()) <=
		   Kvz_New_MngFormula::ChiaveTesto(def.f_ValoreCodiceA.GetString());
}
}  // namespace

CString Kvz_New_MngFormula::ColonnaRisultato(const Kvz_TSimboliOutputRiclass& def, BOOL bEsterna) const
{
	const bool bBudget = bEsterna ? static_cast<bool>(def.f_ValoreDalBudget) : (def.f_ValoreDalBudget || m_bFormulaBudget);
	if (!bBudget)
	{
		const int n = def.f_ValoreDaUsare.GetValue();
		if (n == 0)
			return "Valore";
		return n >= 1 && n <= 10 ? CString::Formatted("Valore%d", n) : CString();
	}
	// On another company the definition's budget type decides; here the formula's inside a
	// budget formula, else the definition's.
	if (bEsterna)
	{
		const int item = def.f_TipoBudget.GetItemValue();
		return item == 1 ? "ValoreBudgetB" : item == 2 ? "ValoreBudgetC" : "ValoreBudgetA";
	}
	const DataEnum& tipo = m_bFormulaBudget ? m_TipoBudget : def.f_TipoBudget;
	if (tipo.GetTagValue() != E_KVZ_TIPOBUDGET)
		return "";
	switch (tipo.GetItemValue())
	{
	case 0: return "ValoreBudgetA";
	case 1: return "ValoreBudgetB";
	case 2: return "ValoreBudgetC";
	default: return "";
	}
}

BOOL Kvz_New_MngFormula::ValorizzaOutputRiclassific(const CString& strNome)
{
	++Radice().m_nNonRiutilizzabili;  // the run writes what it reads
	try
	{
		bool bTrovato;
		if (!m_Ditta.IsEmpty())
		{
			Kvz_New_External* pExternal = GetDatabase(m_Ditta);
			bTrovato = pExternal->CercaSimboloRisultato(m_Esercizio, m_Modello, DataStr(strNome), m_DefOutput);
		}
		else
		{
			const Kvz_TSimboliOutputRiclass* pDef = nullptr;
			if (Kvz_New_LettureStabili* pLetture = Letture())
				pDef = pLetture->SimboloOutput(m_Esercizio, m_Modello, strNome);
			else if (m_TRSimboliOutput.FindRecord(m_Esercizio, DataStr(strNome), m_Modello) == TableReader::FOUND)
				pDef = m_TRSimboliOutput.GetRecord();
			bTrovato = pDef != nullptr;
			if (bTrovato)
				m_DefOutput = *pDef;
		}
		// Never valued from the definition of another symbol.
		if (!bTrovato)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Il simbolo %s (risultato riclassificazione) modello %s non e' presente in tabella simboli.",
									kSource),
				strNome.GetString(), m_Modello.GetString().GetString()));
			return FALSE;
		}
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaOutputRiclassific");
		return FALSE;
	}

	auto nuovo = std::make_unique<Kvz_New_Simbolo>();
	nuovo->m_Nome = "_" + strNome;
	nuovo->m_Tipo = DataEnum(E_KVZ_TIPOSIMBOLO, 6);
	nuovo->m_Modello = m_Modello;
	nuovo->m_Esercizio = m_Esercizio;
	nuovo->m_pParent = m_pParentSimbolo;
	Kvz_New_Simbolo& simbolo = *nuovo;
	m_MapSimboli[ChiaveSimbolo(m_Esercizio, m_Modello, nuovo->m_Nome)] = std::move(nuovo);

	Kvz_TSimboliOutputRiclass def = m_DefOutput;
	const int aggreg = def.f_AggregFunction.GetItemValue();
	const CString colonna = ColonnaRisultato(def, m_RigaAnagrafica.f_UsaAziendaEsterna);
	if (aggreg > 5 || colonna.IsEmpty())
	{
		Messaggio(CString::Formatted(
			AfxLoadSourceString("Il simbolo %s (risultato riclassificazione) modello %s: %s.", kSource),
			strNome.GetString(), m_Modello.GetString().GetString(),
			(aggreg > 5 ? CString::Formatted(AfxLoadSourceString("funzione di aggregazione %d non prevista", kSource), aggreg)
						: AfxLoadSourceString("nessuna colonna di valori scelta", kSource))
				.GetString()));
		return FALSE;
	}
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return Ext_ValorizzaOutputRiclassific(m_RigaAnagrafica.f_Azienda, def, simbolo);
	return ValorizzaOutputLocale(def, simbolo);
}

BOOL Kvz_New_MngFormula::ValorizzaOutputLocale(const Kvz_TSimboliOutputRiclass& defLetta, Kvz_New_Simbolo& simbolo)
{
	Kvz_TSimboliOutputRiclass def = defLetta;
	const int aggreg = def.f_AggregFunction.GetItemValue();
	const CString colonna = ColonnaRisultato(def, FALSE);
	CompletaCodici(def.f_ValoreCodice, def.f_ValoreCodiceA);
	try
	{
		// A model deleted (or never made) has no results to give: no 0 in their place.
		const DataInt esercizio = def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio;
		if (m_Ditta.IsEmpty() && !def.f_ValoreModello.IsEmpty() && ChiaveTesto(def.f_ValoreModello.GetString()) != ChiaveTesto(m_Modello.GetString()) &&
			!ModelloEsiste(esercizio, def.f_ValoreModello))
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Il simbolo %s legge il modello %s, che non esiste nell'esercizio %d.", kSource),
				def.f_NomeSimbolo.GetString().GetString(), def.f_ValoreModello.GetString().GetString(),
				esercizio.GetValue()));
			return FALSE;
		}
		// A model the run does not write gives its results once, then read here.
		Kvz_New_LettureStabili* pLetture = m_Ditta.IsEmpty() ? Letture() : nullptr;
		const Kvz_New_LettureStabili::RisultatiLetti* pPosizioni =
			pLetture && m_Esercizio.GetValue() != 0 && !def.f_ValoreModello.IsEmpty()
				? pLetture->Risultati(m_Esercizio, def.f_ValoreModello)
				: nullptr;
		// The range by the model's row order when its first code has results, else by code.
		auto posizione = [&](const DataStr& codice) {
			if (pPosizioni)
			{
				auto it = pPosizioni->posizioni.find(ChiaveTesto(codice.GetString()));
				return it == pPosizioni->posizioni.end() ? 0 : it->second;
			}
			return m_TRRisultati.FindRecord(m_Esercizio, def.f_ValoreModello, codice) == TableReader::FOUND
					   ? m_TRRisultati.GetRecord()->f_Posizione.GetValue()
					   : 0;
		};
		const int daPos = posizione(def.f_ValoreCodice);
		const int aPos = posizione(def.f_ValoreCodiceA);
		const bool bPosizione = daPos != 0;
		if (!SelezionaCodici(def, daPos, aPos))
			NessunCodice(def.f_NomeSimbolo.GetString(), def.f_ValoreCodice, def.f_ValoreCodiceA, def.f_ValoreModello);

		ASSERT_RELEASE_TRACE(!m_MeseFinale.IsEmpty(), "!m_FinoAlMese.IsEmpty()", kSource);
		const int da = def.f_ValoreMeseConst ? def.f_ValoreMese.GetValue() : m_MeseIniziale.GetValue();
		const int a = def.f_ValoreMeseConst ? def.f_ValoreMese.GetValue() : UltimoMese();
		if (const Kvz_New_LettureStabili::RisultatiLetti* pLetti =
				pLetture ? pLetture->Risultati(esercizio, def.f_ValoreModello) : nullptr)
		{
			// As the query: the engine's data kind, the months, the range; by month.
			const CString daCodice = ChiaveTesto(def.f_ValoreCodice.GetString());
			const CString aCodice = ChiaveTesto(def.f_ValoreCodiceA.GetString());
			std::vector<std::pair<int, double>> scelte;
			for (const auto& p : pLetti->righe)
			{
				const Kvz_TRiclassificato& riga = *p;
				const int mese = riga.f_Mese.GetValue();
				if (riga.f_TipoDatoPianoBase.GetValue() != m_Modo.GetValue() || mese < da || mese > a)
					continue;
				if (bPosizione ? riga.f_Posizione.GetValue() < daPos || riga.f_Posizione.GetValue() > aPos
							   : ChiaveTesto(riga.f_CodRiclassificato.GetString()).str() < daCodice.str() ||
									 ChiaveTesto(riga.f_CodRiclassificato.GetString()).str() > aCodice.str())
					continue;
				const DataMon* pColonna = Colonna(riga, colonna);
				scelte.emplace_back(mese, pColonna ? pColonna->GetValue() : 0.0);
			}
			std::stable_sort(scelte.begin(), scelte.end(),
							 [](const auto& x, const auto& y) { return x.first < y.first; });
			Kvz_New_AggregatoMese aggregato(aggreg, [&](int mese, double v) { Risultato(simbolo, def, mese, v); });
			for (const auto& [mese, v] : scelte)
				aggregato.Riga(mese, v);
			aggregato.Chiudi();
			return TRUE;
		}

		Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
		const CString forma = CString(fmt::format("R|{}|{}|{}", aggreg, colonna.str(), bPosizione));
		auto& pCursore = pRadice->m_CursoriPianoBase[forma];
		const bool bDefinisci = !pCursore;
		if (bDefinisci)
		{
			pCursore = std::make_unique<Kvz_New_Cursore>();
			pCursore->pRec = std::make_unique<Kvz_TRiclassificato>();
			pCursore->pTable = std::make_unique<SqlTable>(pCursore->pRec.get(), pRadice->Sessione());
		}
		Kvz_New_Cursore& c = *pCursore;
		SqlTable& t = *c.pTable;
		auto& r = static_cast<Kvz_TRiclassificato&>(*c.pRec);
		if (bDefinisci)
		{
			try
			{
				t.Open(FALSE, FALSE, TRUE);
				t.SelectSqlFun("\"Mese\"", c.mese);
				t.SelectSqlFun(CString::Formatted(kAggregati[aggreg], ("\"" + colonna + "\"").GetString()), c.valori[0]);
				t.AddParam("p1", r.f_Esercizio);
				t.AddFilterColumn(r.f_Esercizio);
				t.AddParam("p3", r.f_Mese);
				t.AddParam("p4", r.f_Mese);
				t.AddBetweenColumn(r.f_Mese);
				t.AddParam("p23", r.f_ModelloRiclassific);
				t.AddFilterColumn(r.f_ModelloRiclassific);
				t.AddParam("p24", r.f_TipoDatoPianoBase);
				t.AddFilterColumn(r.f_TipoDatoPianoBase);
				DataObj& colRange = bPosizione ? static_cast<DataObj&>(r.f_Posizione) : r.f_CodRiclassificato;
				t.AddParam("p5", colRange);
				t.AddParam("p6", colRange);
				t.AddBetweenColumn(colRange);
				if (aggreg == 5)
					t.AddSortColumn(r.f_Mese);
				else
					t.AddGroupByColumn(r.f_Mese);
			}
			catch (...)
			{
				pCursore.reset();
				throw;
			}
		}
		t.SetParamValue("p1", def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio);
		t.SetParamValue("p3", DataInt(da));
		t.SetParamValue("p4", DataInt(a));
		t.SetParamValue("p23", def.f_ValoreModello);
		t.SetParamValue("p24", m_Modo);
		ValoriIntervallo(t, def, daPos, aPos);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			Risultato(simbolo, def, c.mese.GetValue(), c.valori[0].GetValue());
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaOutputRiclassific");
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::Ext_ValorizzaOutputRiclassific(const DataStr& aAzienda, const Kvz_TSimboliOutputRiclass& defLetta,
														Kvz_New_Simbolo& simbolo)
{
	Kvz_New_External* pExternal = GetDatabase(aAzienda);
	if (!pExternal->GetConnection())
		return TRUE;  // said once when the connection failed; the symbol stays 0
	Kvz_TSimboliOutputRiclass def = defLetta;
	CompletaCodici(def.f_ValoreCodice, def.f_ValoreCodiceA);
	const CString colonna = ColonnaRisultato(def, TRUE);
	try
	{
		// The range as here: by the model's row order when its first code has results there.
		const int daPos = pExternal->PosizioneRisultato(m_Esercizio, def.f_ValoreModello, def.f_ValoreCodice);
		const int aPos = pExternal->PosizioneRisultato(m_Esercizio, def.f_ValoreModello, def.f_ValoreCodiceA);
		const bool bPosizione = daPos != 0;
		if (!SelezionaCodici(def, daPos, aPos))
			NessunCodice(def.f_NomeSimbolo.GetString(), def.f_ValoreCodice, def.f_ValoreCodiceA, def.f_ValoreModello);
		const CString forma = bPosizione ? "R|pos" : "R|cod";
		Kvz_New_Cursore* pCursore = pExternal->Cursore(forma);
		if (!pCursore)
		{
			Kvz_New_Cursore& c = pExternal->NuovoCursore(forma);
			c.pRec = std::make_unique<Kvz_TRiclassificato_Ext>(pExternal->GetConnection());
			c.pTable = std::make_unique<SqlTable>(c.pRec.get(), pExternal->GetConnection()->GetDefaultSqlSession());
			auto& r = static_cast<Kvz_TRiclassificato_Ext&>(*c.pRec);
			SqlTable& t = *c.pTable;
			t.Open(FALSE, FALSE, TRUE);
			t.SelectAll();
			t.AddParam("p18", r.f_Esercizio);
			t.AddFilterColumn(r.f_Esercizio);
			t.AddParam("p29", r.f_Mese);
			t.AddParam("p30", r.f_Mese);
			t.AddBetweenColumn(r.f_Mese);
			t.AddParam("p23", r.f_ModelloRiclassific);
			t.AddFilterColumn(r.f_ModelloRiclassific);
			t.AddParam("p24", r.f_TipoDatoPianoBase);
			t.AddFilterColumn(r.f_TipoDatoPianoBase);
			DataObj& colRange = bPosizione ? static_cast<DataObj&>(r.f_Posizione) : r.f_CodRiclassificato;
			t.AddParam("p5", colRange);
			t.AddParam("p6", colRange);
			t.AddBetweenColumn(colRange);
			t.AddSortColumn(r.f_Mese);
			pCursore = &c;
		}
		auto& r = static_cast<Kvz_TRiclassificato_Ext&>(*pCursore->pRec);
		SqlTable& t = *pCursore->pTable;
		ASSERT_RELEASE_TRACE(!m_MeseFinale.IsEmpty(), "!m_FinoAlMese.IsEmpty()", kSource);
		const int da = def.f_ValoreMeseConst ? def.f_ValoreMese.GetValue() : m_MeseIniziale.GetValue();
		const int a = def.f_ValoreMeseConst ? def.f_ValoreMese.GetValue() : UltimoMese();
		t.SetParamValue("p18", def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio);
		t.SetParamValue("p29", DataInt(da));
		t.SetParamValue("p30", DataInt(a));
		t.SetParamValue("p23", def.f_ValoreModello);
		t.SetParamValue("p24", DataLng(static_cast<long>(def.f_TipoDatoPBase.GetValue())));
		ValoriIntervallo(t, def, daPos, aPos);
		Kvz_New_AggregatoMese aggregato(def.f_AggregFunction.GetItemValue(),
										[&](int mese, double v) { Risultato(simbolo, def, mese, v); });
		const DataMon* pColonna = Colonna(r, colonna);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			aggregato.Riga(r.f_Mese.GetValue(), pColonna ? pColonna->GetValue() : 0.0);
		aggregato.Chiudi();
	}
	catch (const std::exception& e)
	{
		AfxMessageBox(CString(std::string(e.what()).substr(0, 255)));
		return FALSE;
	}
	return TRUE;
}
