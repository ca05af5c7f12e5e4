#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/EsplodiFormulaDescr.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"

namespace {

class Esplosione : public Calcolo
{
protected:
	void Macro(const char* nome, const char* formula)
	{
		Kvz_TAnagMacro r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = kModello;
		r.f_NomeMacro = nome;
		r.f_Formula = formula;
		InsertRow(r);
	}
	// A base-plan symbol: an account condition (operator item, bounds), or a list (item 8).
	Kvz_TSimboliPianoBase SimboloPB(const char* nome, int ope, const char* da = "", const char* a = "")
	{
		Anagrafica(nome, 0);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_SelSaldo = TRUE;
		s.f_WhereConto = TRUE;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, static_cast<WORD>(ope));
		s.f_ValDaConto = da;
		s.f_ValAConto = a;
		return s;
	}
	void Conto(const char* conto, const char* descr)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = kAnno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = descr;
		InsertRow(c);
	}
	void Voce(const char* simbolo, const char* conto, const char* centro, WORD segno = 0)
	{
		Kvz_TElencoContiSimboloPBase v;
		v.f_Esercizio = kAnno;
		v.f_ModelloRiclassific = kModello;
		v.f_NomeSimbolo = simbolo;
		v.f_ContoSelez = conto;
		v.f_CentroCommessa = centro;
		v.f_SegnoConto = DataEnum(E_KVZ_SEGNOCONTO, segno);
		InsertRow(v);
	}
	// Explodes the formula for March; each element as "level|text|kind" (T for text pieces).
	std::vector<std::string> Esplodi(const char* formula, bool bOk = true)
	{
		m_Messaggi.Clear();
		m_Righe.RemoveAll();
		m_pEsplosione = std::make_unique<Kvz_EsplodiFormulaDescr>(&m_Messaggi, &m_Righe);
		m_pEsplosione->AttachDefault(DataInt(kAnno), DataInt(3), DataStr(kModello), DataEnum(E_KVZ_TIPODATOPBASE, 0),
									 DataEnum());
		m_pEsplosione->AttachFormula(formula);
		EXPECT_EQ(m_pEsplosione->Eval() != FALSE, bOk) << formula;
		std::vector<std::string> out;
		const Kvz_FormulaFlat& flat = m_pEsplosione->GetFlat();
		for (int i = 0; i < flat.GetSize(); ++i)
		{
			const Kvz_FormulaFlatElem& e = *flat.GetElem(i);
			out.push_back(std::to_string(e.m_Livello.GetValue()) + "|" + e.m_Testo.GetString().str() + "|" +
						  (e.m_bTesto ? std::string("T") : std::to_string(e.m_Tipo.GetItemValue())));
		}
		return out;
	}
	std::vector<std::string> Righe() const
	{
		std::vector<std::string> v;
		for (int i = 0; i < m_Righe.GetSize(); ++i)
			v.push_back(m_Righe.GetAt(i).str());
		return v;
	}
	const Kvz_FormulaFlatElem& Elem(int i) const { return *m_pEsplosione->GetFlat().GetElem(i); }
	// The detail lines of an element as "text|account|account description|sign|kind|description".
	std::vector<std::string> Dettagli(int i) const
	{
		std::vector<std::string> v;
		const Kvz_FormulaFlat& d = Elem(i).m_Dettagli;
		for (int k = 0; k < d.GetSize(); ++k)
		{
			const Kvz_FormulaFlatElem& e = *d.GetElem(k);
			v.push_back(e.m_Testo.GetString().str() + "|" + e.m_Conto.GetString().str() + "|" +
						e.m_DescrConto.GetString().str() + "|" + std::to_string(e.m_Segno.GetItemValue()) + "|" +
						std::to_string(e.m_Tipo.GetItemValue()) + "|" + e.m_Descrizione.GetString().str());
		}
		return v;
	}

	CStringArray m_Righe;
	std::unique_ptr<Kvz_EsplodiFormulaDescr> m_pEsplosione;
};

using S = std::vector<std::string>;

TEST_F(Esplosione, PiecesAndSymbolsInOrderFollowingCodesAndMacros)
{
	Anagrafica("A", 0);
	Anagrafica("B", 0);
	SimboloExtra("E", "C1", "_B/2");
	Macro("M", "_B * 2");
	EXPECT_EQ(Esplodi("_E + 1"), (S{"1|E|1", "2|B|0", "2|/2|T", "1| + 1|T"}));
	EXPECT_EQ(Righe(), (S{"1 E", "2 B", "2 /2", "1  + 1"}));
	EXPECT_EQ(Esplodi("_A * 2"), (S{"1|A|0", "1| * 2|T"}));
	EXPECT_EQ(Righe(), (S{"1 A", "1  * 2"}));
	// A macro's own text comes after the text that uses it, at the same level.
	EXPECT_EQ(Esplodi("__M + _A"), (S{"1| + |T", "1|A|0", "1|B|0", "1| * 2|T"}));
	// Decimal commas read as points.
	EXPECT_EQ(Esplodi("_A*1,5"), (S{"1|A|0", "1|*1.5|T"}));
	// A and B are in the registry only: their descriptions say they lack a definition.
	for (const auto& m : m_Messaggi.GetMessages())
		EXPECT_NE(m.text.Find("(piano base) non e' presente in tabella simboli."), -1) << m.text;

	// Without a string list nothing is recorded, and a valid formula still explodes.
	Kvz_EsplodiFormulaDescr muta(&m_Messaggi, nullptr);
	muta.AttachDefault(DataInt(kAnno), DataInt(3), DataStr(kModello), DataEnum(E_KVZ_TIPODATOPBASE, 0), DataEnum());
	muta.AttachFormula("_E + 1");
	EXPECT_TRUE(muta.Eval());
	EXPECT_EQ(muta.GetFlat().GetSize(), 0);
}

TEST_F(Esplosione, LoopsOfCodesEndWithAMessageAndUnknownNamesAreSkipped)
{
	SimboloRiclass("R1", "C1", "C1");
	SimboloRiclass("R2", "C2", "C2");
	Riga("C1", 1, "_R2 + 1");
	Riga("C2", 2, "_R1 * 2");
	EXPECT_EQ(Esplodi("_R1"), (S{"1|R1|3", "2|R2|3", "3|R1|3", "3| * 2|T", "2| + 1|T"}));
	ASSERT_EQ(m_Messaggi.GetMessages().size(), 1u);
	EXPECT_EQ(m_Messaggi.GetMessages()[0].text, "Ricorsivita' trovata sul simbolo R1.");

	// A symbol of a followed formula that the registry lacks is said and left out.
	SimboloExtra("E", "C9", "_NONCE*2 + _R2");
	EXPECT_EQ(Esplodi("_E"), (S{"1|E|1", "2|*2 + |T", "2|R2|3", "3|R1|3", "4|R2|3", "4| + 1|T", "3| * 2|T"}));
	EXPECT_EQ(m_Messaggi.GetMessages()[0].text,
			  "Il simbolo NONCE non e' presente nell'anagrafica simboli (esercizio 2025, modello MOD): non esploso.");
	EXPECT_EQ(m_Messaggi.GetMessages()[1].text, "Ricorsivita' trovata sul simbolo R2.");

	// A code whose formula names the code's own symbol stops the explosion.
	SimboloExtra("F", "C8", "_F + 1");
	Esplodi("_F", false);
	EXPECT_EQ(m_Messaggi.GetMessages().back().text.Left(45), "F: il simbolo contiene se stesso tra gli oper");
	// A wrong formula says why.
	Esplodi("_A +* 2", false);
	EXPECT_EQ(m_Messaggi.GetMessages().back().text.Left(18), "Formula _A +* 2 er");
}

TEST_F(Esplosione, EachKindOfSymbolIsDescribedWithItsAccountsCentresAndJobs)
{
	Conto("2001", "Acquisti merci");
	Conto("2002", "Acquisti servizi");
	Conto("2003", "Consulenze");
	Conto("3001", "Ricavi");
	TCostCenters c;
	c.f_CostCenter = "CDC1";
	c.f_Description = "Produzione";
	InsertRow(c);
	TJobs j;
	j.f_Job = "JOB1";
	j.f_Description = "Commessa Alfa";
	InsertRow(j);

	Kvz_TSimboliPianoBase tra = SimboloPB("TRA", 6, "2001", "2002");
	InsertRow(tra);
	Kvz_TSimboliPianoBase uguale = SimboloPB("UGUALE", 0, "3001");
	uguale.f_SelSaldo = FALSE;
	uguale.f_SelTotAss = TRUE;
	uguale.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 1);
	InsertRow(uguale);
	Kvz_TSimboliPianoBase elenco = SimboloPB("ELENCO", 8);
	InsertRow(elenco);
	Voce("ELENCO", "2003", "", 1);
	Voce("ELENCO", "2001", "CDC1");
	Voce("ELENCO", "", "JOB1");  // no account, no empty-account choice: a line without text
	Kvz_TSimboliPianoBase centri = SimboloPB("CENTRI", 8);
	centri.f_WhereCdcComm = TRUE;
	centri.f_SelContoVuoto = TRUE;
	InsertRow(centri);
	Voce("CENTRI", "", "CDC1");
	Voce("CENTRI", "", "JOB1");
	SimboloExtra("E", "E01", "1");
	SimboloRiclass("RC", "C1", "C9", 5);
	Riga("C1", 1, "");
	Anagrafica("RIS", 6);
	Kvz_TSimboliOutputRiclass o;
	o.f_Esercizio = kAnno;
	o.f_ModelloRiclassific = kModello;
	o.f_NomeSimbolo = "RIS";
	o.f_ValoreDalBudget = TRUE;
	o.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	o.f_ValoreEsConst = TRUE;
	o.f_ValoreEs = 2009;
	o.f_ValoreCodiceA = "R20";
	o.f_ValoreModello = "BIL";
	InsertRow(o);
	Anagrafica("SENZA", 0);  // in the registry, not among the base-plan symbols

	EXPECT_EQ(Esplodi("_TRA+_UGUALE+_ELENCO+_CENTRI+_E+_RC+_RIS+_SENZA"),
			  (S{"1|TRA|0", "1|+|T", "1|UGUALE|0", "1|+|T", "1|ELENCO|0", "1|+|T", "1|CENTRI|0", "1|+|T", "1|E|1",
				 "2|1|T", "1|+|T", "1|RC|3", "1|+|T", "1|RIS|6", "1|+|T", "1|SENZA|0"}));
	EXPECT_EQ(Elem(0).m_Descrizione.GetString().str(), "Somma del saldo contabile per l'anno 2025, mese 3, per i conti:");
	EXPECT_EQ(Dettagli(0), (S{"2001|||0|0|Acquisti merci", "2002|||0|0|Acquisti servizi"}));
	EXPECT_EQ(Elem(2).m_Descrizione.GetString().str(),
			  "Media aritmetica del totale assestato per l'anno 2025, mese 3, per i conti:");
	EXPECT_EQ(Dettagli(2), (S{"3001|||0|0|Ricavi"}));
	EXPECT_EQ(Elem(4).m_Descrizione.GetString().str(), "Somma del saldo contabile per l'anno 2025, mese 3, per i conti:");
	EXPECT_EQ(Dettagli(4), (S{"|||0|0|", "CDC1|2001|Acquisti merci|0|5|Produzione", "2003|||1|0|Consulenze"}));
	EXPECT_EQ(Elem(6).m_Descrizione.GetString().str(), "Somma del saldo contabile per l'anno 2025, mese 3, per le commesse e i centri:");
	EXPECT_EQ(Dettagli(6), (S{"CDC1|||0|5|Produzione", "JOB1|||0|5|Commessa Alfa"}));
	EXPECT_EQ(Elem(8).m_Descrizione.GetString().str(), "Somma per l'anno 2025, mese 3, del codice E01");
	EXPECT_EQ(Elem(11).m_Descrizione.GetString().str(), "Valore per l'anno 2025, mese 3, dal codice C1 al codice C9");
	EXPECT_EQ(Elem(13).m_Descrizione.GetString().str(),
			  "Somma del valore del budget B riclassificato da R20 a R20 per l'anno 2009, mese 3, modello BIL");
	EXPECT_EQ(Elem(15).m_Descrizione.GetString().str(), "");
	EXPECT_EQ(m_Messaggi.GetMessages().back().text, "Il simbolo SENZA (piano base) non e' presente in tabella simboli.");
}

// The accounts a pattern takes, as the engine reads it; accounts of several grouping levels
// are said, with an example of each level.
TEST_F(Esplosione, APatternOverSeveralLevelsListsItsAccountsAndSaysSo)
{
	Conto("20", "Costi");
	Conto("2001", "Acquisti");
	Conto("2001001", "Merci");
	Conto("2011", "Servizi");
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET ContoKvzPadre = '20' WHERE ContoKvz IN ('2001', '2011')");
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET ContoKvzPadre = '2001' WHERE ContoKvz = '2001001'");
	Kvz_TSimboliPianoBase tutti = SimboloPB("TUTTI", 7, "20");
	InsertRow(tutti);
	Kvz_TSimboliPianoBase foglie = SimboloPB("FOGLIE", 7, "20?1");
	InsertRow(foglie);
	Esplodi("_TUTTI");
	EXPECT_EQ(Dettagli(0), (S{"20|||0|0|Costi", "2001|||0|0|Acquisti", "2001001|||0|0|Merci", "2011|||0|0|Servizi"}));
	ASSERT_EQ(m_Messaggi.GetMessages().size(), 1u);
	EXPECT_EQ(m_Messaggi.GetMessages()[0].text,
			  "Il simbolo TUTTI prende conti di piu' livelli del raggruppamento (livello 1: 20, livello 2: 2001, livello "
			  "3: 2001001): gli importi di un conto sono anche nei conti che lo raggruppano e verrebbero contati piu' "
			  "volte.");
	Esplodi("_FOGLIE");
	EXPECT_EQ(Dettagli(0), (S{"2001|||0|0|Acquisti", "2011|||0|0|Servizi"}));
	EXPECT_TRUE(m_Messaggi.GetMessages().empty());
}

TEST_F(Esplosione, CodesAreFollowedAsTheEngineValuesThemByPositionAndByBudget)
{
	Anagrafica("A", 0);
	Anagrafica("B", 0);
	// A range of codes takes the rows standing between its ends' rows in the model: C2 does not.
	Riga("C1", 1, "_A");
	Riga("C2", 9, "_B");
	Riga("C3", 2, "_A*3");
	SimboloRiclass("RR", "C1", "C3");
	EXPECT_EQ(Esplodi("_RR"), (S{"1|RR|3", "2|(|T", "2|A|0", "2|)+(|T", "2|A|0", "2|*3)|T"}));

	// A code symbol on budget B follows that budget's formula; inside it a code symbol follows
	// budget B too, an extra-accounting code its own formula.
	SimboloExtra("E", "X1", "_A");
	Riga("C4", 3, "_A", kAnno, {"", "_R5 + _E", ""});
	Riga("C5", 4, "_A", kAnno, {"", "_B", ""});
	SimboloRiclass("R5", "C5", "C5");
	Anagrafica("RB", 3);
	Kvz_TSimboliCodiciRiclass rb;
	rb.f_Esercizio = kAnno;
	rb.f_ModelloRiclassific = kModello;
	rb.f_NomeSimbolo = "RB";
	rb.f_ValoreEsSymb = TRUE;
	rb.f_ValoreModelloSymb = TRUE;
	rb.f_ValoreCodice = "C4";
	rb.f_ValoreDalBudget = TRUE;
	rb.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	InsertRow(rb);
	EXPECT_EQ(Esplodi("_RB"), (S{"1|RB|3", "2|R5|3", "3|B|0", "2| + |T", "2|E|1", "3|A|0"}));
	std::vector<std::string> budget;
	for (int i = 0; i < m_pEsplosione->GetFlat().GetSize(); ++i)
		if (!Elem(i).m_bTesto)
			budget.push_back(Elem(i).m_Testo.GetString().str() + ":" +
							 (Elem(i).m_bFormulaBudget ? std::to_string(Elem(i).m_TipoBudget.GetItemValue()) : "-"));
	EXPECT_EQ(budget, (S{"RB:-", "R5:1", "B:1", "E:1", "A:-"}));
}

}  // namespace
