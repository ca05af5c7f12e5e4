// The formula-usage document: what a formula counts, the general counters and their saving.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/plvoledb/SqlTable.h"

namespace {

// (kind, code, count) of a using code's detail counters at one position, or of a table.
using Conteggio = std::tuple<int, std::string, long>;
using Conteggi = std::vector<Conteggio>;

class Contatori : public Calcolo
{
protected:
	void SetUp() override
	{
		Calcolo::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		SimboloRiclass("R", "C1", "C1");
		SimboloExtra("E", "X1", "1");
		Anagrafica("O", 6);
		Kvz_TSimboliOutputRiclass o;
		o.f_Esercizio = kAnno;
		o.f_ModelloRiclassific = kModello;
		o.f_NomeSimbolo = "O";
		o.f_ValoreCodice = "K1";
		InsertRow(o);
		for (const char* conto : {"A1", "A2", "A3"})
			Conto(conto, kAnno);
		Conto("A4", kAnno - 1);
		// "=" with a list that must not count.
		SimboloPB("U", 0, "A1", "", true);
		Elenco("U", "A2", 0, "");
		// The own list: A1 on two rows (a cost centre and a job), A2 on one.
		SimboloPB("L", 8, "", "", true);
		Elenco("L", "A1", 0, "CC1");
		Elenco("L", "A1", 1, "J1");
		Elenco("L", "A2", 0, "");
		SimboloPB("B", 6, "A1", "A2", false);
		SimboloPB("K", 7, "A", "", false);
		SimboloPB("T", 8, "", "", false);
	}

	void Conto(const char* conto, int anno)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		InsertRow(c);
	}
	void SimboloPB(const char* nome, WORD ope, const char* da, const char* a, bool elenco)
	{
		Anagrafica(nome, 0);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, ope);
		s.f_ValDaConto = da;
		s.f_ValAConto = a;
		s.f_ElencoConti = elenco;
		InsertRow(s);
	}
	void Elenco(const char* nome, const char* conto, WORD tipo, const char* cdc)
	{
		Kvz_TElencoContiSimboloPBase e;
		e.f_Esercizio = kAnno;
		e.f_ModelloRiclassific = kModello;
		e.f_NomeSimbolo = nome;
		e.f_ContoSelez = conto;
		e.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		e.f_CentroCommessa = cdc;
		InsertRow(e);
	}
	void Dettaglio(int anno, WORD tipo, const char* codice, const char* modello, WORD tipoUtil, const char* codUtil,
				   int posiz, long n)
	{
		Kvz_TContatoriDettaglio d;
		d.f_Esercizio = anno;
		d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, tipo);
		d.f_Codice = codice;
		d.f_ModelloRiclassific = modello;
		d.f_TipoCodCheUtilizza = DataEnum(E_KVZ_TIPOSIMBOLO, tipoUtil);
		d.f_CodiceCheUtilizza = codUtil;
		d.f_FormulaCheUtilizza = posiz;
		d.f_ContatoreUtilizzi = n;
		InsertRow(d);
	}

	// The document of a reclassification model, on a row of it.
	static void Contesto(Kvz_CUtilizzaFormuleDoc& doc, const char* riga, WORD tipoRiga = 0,
						 const char* modello = kModello)
	{
		doc.SetContext(DataStr("Modello di riclassificazione"), DataInt(kAnno), DataStr(modello),
					   DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr(riga), DataStr("Riga"), DataEnum(E_KVZ_TIPORIGA, tipoRiga));
	}

	static Conteggi Posizione(const Kvz_CUtilizzaFormuleDoc& doc, const char* riga, int posiz)
	{
		Conteggi v;
		if (const Kvz_ArrayDettaglioContatori* pArr = doc.GetDettaglioContatori(riga))
			for (int i = 0; i < pArr->GetSize(); ++i)
				if (const Kvz_ArrayDettaglioContatoriElem* p = pArr->GetAt(i); p->m_nContatori[posiz] > 0)
					v.emplace_back(p->m_TipoCodice.GetItemValue(), p->m_Codice.GetString().str(), p->m_nContatori[posiz]);
		std::sort(v.begin(), v.end());
		return v;
	}

	// The detail rows: (kind, "code:model:using kind:using code:position:year", count).
	static Conteggi RigheDettaglio()
	{
		Conteggi v;
		Kvz_TContatoriDettaglio d;
		SqlTable t(&d);
		t.Open();
		t.SelectAll();
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			v.emplace_back(d.f_TipoCodice.GetItemValue(),
						   CString::Formatted("%s:%s:%d:%s:%d:%d", d.f_Codice.GetString().GetString(),
											  d.f_ModelloRiclassific.GetString().GetString(),
											  d.f_TipoCodCheUtilizza.GetItemValue(),
											  d.f_CodiceCheUtilizza.GetString().GetString(), d.f_FormulaCheUtilizza.GetValue(),
											  d.f_Esercizio.GetValue())
							   .str(),
						   d.f_ContatoreUtilizzi.GetValue());
		t.Close();
		std::sort(v.begin(), v.end());
		return v;
	}
	static Conteggi Generali()
	{
		Conteggi v;
		Kvz_TContatoriCodici c;
		SqlTable t(&c);
		t.Open();
		t.SelectAll();
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			v.emplace_back(c.f_TipoCodice.GetItemValue(), c.f_Codice.GetString().str(), c.f_ContatoreUtilizzi.GetValue());
		t.Close();
		std::sort(v.begin(), v.end());
		return v;
	}
};

TEST_F(Contatori, AFormulaCountsTheCodesItsSymbolsName)
{
	const struct
	{
		const char* formula;
		WORD tipoRiga;
		Conteggi attesi;
		int simboli;
	} casi[] = {
		{"_R + _R", 0, {{3, "C1", 2}}, 2},
		// "=" counts only its first account, whatever its list holds.
		{"_U", 0, {{0, "A1", 1}}, 1},
		// One count per run of rows of an account; cost centres as 4, jobs as 5.
		{"_L", 0, {{0, "A1", 1}, {0, "A2", 1}, {4, "CC1", 1}, {5, "J1", 1}}, 1},
		{"_B", 0, {{0, "A1", 1}, {0, "A2", 1}}, 1},
		{"_K", 0, {{0, "A1", 1}, {0, "A2", 1}, {0, "A3", 1}}, 1},
		{"_T", 0, {{0, "A1", 1}, {0, "A2", 1}, {0, "A3", 1}}, 1},
		{"_E * 2,5 + _O", 0, {{1, "X1", 1}, {6, "K1", 1}}, 2},
		// A row of kind item 1 counts no base-plan accounts, the rest as usual.
		{"_U + _R + _L", 1, {{3, "C1", 1}}, 3},
	};
	for (const auto& c : casi)
	{
		Kvz_CUtilizzaFormuleDoc doc;
		Contesto(doc, "R1", c.tipoRiga);
		int n = -1;
		doc.CaricaCodiciFormula(c.formula, 2, &n);
		EXPECT_EQ(Posizione(doc, "R1", 2), c.attesi) << c.formula;
		EXPECT_EQ(n, c.simboli) << c.formula;
		EXPECT_TRUE(Posizione(doc, "R1", 0).empty()) << c.formula;
	}
	EXPECT_TRUE(m_Ui.Messages().empty()) << m_Ui.LastMessage().str();
}

TEST_F(Contatori, AFormulaThatDoesNotParseZeroesOnlyItsOwnPosition)
{
	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");
	doc.CaricaCodiciFormula("_R", 0);
	doc.CaricaCodiciFormula("_R + _E", 1);
	Contesto(doc, "R2");
	doc.CaricaCodiciFormula("_R", 1);

	Contesto(doc, "R1");
	int n = -1;
	doc.CaricaCodiciFormula("_R +", 1, &n);
	EXPECT_EQ(n, 0);
	EXPECT_TRUE(Posizione(doc, "R1", 1).empty());
	EXPECT_EQ(Posizione(doc, "R1", 0), (Conteggi{{3, "C1", 1}}));
	EXPECT_EQ(Posizione(doc, "R2", 1), (Conteggi{{3, "C1", 1}}));
	EXPECT_EQ(m_Ui.LastMessage(), "Errore nella formula _R +.");

	// An empty formula clears its position and counts nothing; the general counter stays, at 0.
	doc.CaricaContatoriGenerali();
	EXPECT_EQ(doc.GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("C1")).GetValue(), 2);
	doc.CaricaCodiciFormula("", 0);
	Contesto(doc, "R2");
	doc.CaricaCodiciFormula("", 1);
	doc.CaricaContatoriGenerali();
	EXPECT_EQ(doc.GetContatoriGenerali().GetSize(), 2);
	EXPECT_EQ(doc.GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("C1")).GetValue(), 0);
	EXPECT_EQ(doc.GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 1), DataStr("X1")).GetValue(), 0);
}

TEST_F(Contatori, AChangedFormulaIsCheckedThenCounted)
{
	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");

	// No formula field: only the assertion.
	doc.OnFormulaChanged();
	const auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].method, "Kvz_CUtilizzaFormuleDoc::OnFormulaChanged");
	EXPECT_FALSE(doc.m_bContatoriModificati);

	DataStr formula("_R");
	doc.SetPStrFormula(&formula);
	doc.SetPosizFormula(3);
	doc.OnFormulaChanged();
	EXPECT_TRUE(doc.m_bContatoriModificati);
	EXPECT_EQ(Posizione(doc, "R1", 3), (Conteggi{{3, "C1", 1}}));
	EXPECT_EQ(doc.GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("C1")).GetValue(), 1);

	// A wrong formula is said, and leaves the counters and the flag as they were.
	doc.m_bContatoriModificati = FALSE;
	formula = "_R * (";
	doc.OnFormulaChanged();
	EXPECT_FALSE(doc.m_bContatoriModificati);
	EXPECT_EQ(Posizione(doc, "R1", 3), (Conteggi{{3, "C1", 1}}));
	ASSERT_FALSE(doc.GetMessages()->IsEmpty());
	// Once, with the engine's reason in it.
	const auto& detti = doc.GetMessages()->GetMessages();
	EXPECT_EQ(detti.back().text.Find("Errore nella formula. "), 0) << detti.back().text.str();
	EXPECT_GT(detti.back().text.GetLength(), CString("Errore nella formula. .").GetLength());
	EXPECT_EQ(std::count_if(detti.begin(), detti.end(), [&](auto& m) { return m.text.Find("Errore") < 0; }), 0);
	EXPECT_TRUE(doc.GetMessages()->HasErrors());

	formula = "_R + _E";
	doc.OnFormulaChanged();
	EXPECT_TRUE(doc.m_bContatoriModificati);
	EXPECT_EQ(Posizione(doc, "R1", 3), (Conteggi{{1, "X1", 1}, {3, "C1", 1}}));
}

TEST_F(Contatori, TheGeneralCountersAddTheUsesOfOtherDocuments)
{
	// Counted as other documents' uses: another model, another using kind. Not: this model and
	// kind (this document writes them anew), another year.
	Dettaglio(kAnno, 3, "C1", kModello, 3, "R9", 0, 4);
	Dettaglio(kAnno, 3, "C1", "ALTRO", 3, "R1", 0, 5);
	Dettaglio(kAnno, 3, "C1", "X9", 1, "M1", 2, 7);
	Dettaglio(kAnno - 1, 3, "C1", "ALTRO", 3, "R1", 0, 100);

	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");
	doc.CaricaCodiciFormula("_R", 0);
	Contesto(doc, "R2");
	doc.CaricaCodiciFormula("_R + _R", 1);
	doc.CaricaContatoriGenerali();

	const DataEnum riclass(E_KVZ_TIPOSIMBOLO, 3);
	ASSERT_EQ(doc.GetContatoriGenerali().GetSize(), 1);
	EXPECT_EQ(doc.GetContatoriGenerali().GetAt(0)->m_nUtilizziAltri, 12);
	EXPECT_EQ(doc.GetContatoriGenerali().GetAt(0)->m_nUtilizziDoc, 3);
	EXPECT_EQ(doc.GetContatoreGenerale(riclass, DataStr("C1")).GetValue(), 15);
	EXPECT_EQ(doc.GetContatoreDettaglio(riclass, DataStr("C1")).GetValue(), 3);
	EXPECT_EQ(doc.GetContatoreGenerale(riclass, DataStr("C2")).GetValue(), 0);

	// Recounting does not add the same uses twice.
	doc.CaricaContatoriGenerali();
	EXPECT_EQ(doc.GetContatoreGenerale(riclass, DataStr("C1")).GetValue(), 15);
}

TEST_F(Contatori, SavingRewritesOnlyThisDocumentsRowsWithoutZeroes)
{
	Dettaglio(kAnno, 3, "C9", kModello, 3, "RX", 0, 1);  // this document's old row
	Dettaglio(kAnno, 3, "C1", kModello, 1, "M1", 0, 2);  // same model text, another using kind
	Dettaglio(kAnno, 3, "C1", "ALTRO", 3, "R1", 0, 5);
	Dettaglio(kAnno - 1, 3, "C1", kModello, 3, "R1", 0, 9);

	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");
	doc.CaricaCodiciFormula("_R", 0);
	doc.CaricaCodiciFormula("", 1);
	Contesto(doc, "R3");
	doc.CaricaCodiciFormula("_O", 0);
	Contesto(doc, "R2");
	doc.CaricaCodiciFormula("_R + _E", 2);
	doc.CaricaContatoriGenerali();
	// A code no longer used keeps its general row, at 0.
	Contesto(doc, "R3");
	doc.CaricaCodiciFormula("", 0);
	doc.CaricaContatoriGenerali();

	ASSERT_TRUE(doc.SalvaContatori()) << doc.GetMessages()->ToString().str();
	EXPECT_EQ(RigheDettaglio(),
			  (Conteggi{{1, "X1:MOD:3:R2:2:2025", 1},
						{3, "C1:ALTRO:3:R1:0:2025", 5},
						{3, "C1:MOD:1:M1:0:2025", 2},
						{3, "C1:MOD:3:R1:0:2024", 9},
						{3, "C1:MOD:3:R1:0:2025", 1},
						{3, "C1:MOD:3:R2:2:2025", 1}}));
	EXPECT_EQ(Generali(), (Conteggi{{1, "X1", 1}, {3, "C1", 9}, {6, "K1", 0}}));

	// Saved again, nothing doubles.
	ASSERT_TRUE(doc.SalvaContatori());
	EXPECT_EQ(Generali(), (Conteggi{{1, "X1", 1}, {3, "C1", 9}, {6, "K1", 0}}));
	EXPECT_EQ(RigheDettaglio().size(), 6u);
}

TEST_F(Contatori, TheModelIsBoundNotWrittenIntoTheDelete)
{
	Dettaglio(kAnno, 3, "C1", "MO'D", 3, "R1", 0, 1);
	Dettaglio(kAnno, 3, "C1", "MO' OR 'x'='x", 3, "R1", 0, 1);
	Dettaglio(kAnno, 3, "C1", kModello, 3, "R1", 0, 1);

	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1", 0, "MO'D");
	ASSERT_TRUE(doc.SalvaContatori()) << doc.GetMessages()->ToString().str();
	Contesto(doc, "R1", 0, "MO' OR 'x'='x");
	ASSERT_TRUE(doc.SalvaContatori()) << doc.GetMessages()->ToString().str();
	EXPECT_EQ(RigheDettaglio(), (Conteggi{{3, "C1:MOD:3:R1:0:2025", 1}}));
}

TEST_F(Contatori, ACountersSaveIsOneTransaction)
{
	Dettaglio(kAnno, 3, "C9", kModello, 3, "RX", 0, 1);
	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");
	doc.CaricaCodiciFormula("_R", 0);
	doc.CaricaContatoriGenerali();

	// Inside the document's transaction the counters go with it.
	ASSERT_TRUE(doc.GetContext()->StartTransaction());
	ASSERT_TRUE(doc.SalvaContatori());
	EXPECT_TRUE(doc.GetContext()->IsInTransaction());
	doc.GetContext()->Rollback();
	EXPECT_TRUE(Generali().empty());
	const Conteggi prima = RigheDettaglio();
	EXPECT_EQ(prima, (Conteggi{{3, "C9:MOD:3:RX:0:2025", 1}}));

	// The detail table gone: the general counters written before it are undone.
	m_pConn->ExecuteSQL("ALTER TABLE Kvz_ContatoriDettaglio RENAME TO Kvz_ContatoriAltrove");
	EXPECT_FALSE(doc.SalvaContatori());
	m_pConn->ExecuteSQL("ALTER TABLE Kvz_ContatoriAltrove RENAME TO Kvz_ContatoriDettaglio");
	EXPECT_NE(m_Ui.LastMessage().Find("Contatori di utilizzo non salvati"), -1) << m_Ui.LastMessage().str();
	EXPECT_FALSE(doc.GetContext()->IsInTransaction());
	EXPECT_TRUE(Generali().empty());
	EXPECT_EQ(RigheDettaglio(), prima);

	// Then saved whole.
	ASSERT_TRUE(doc.SalvaContatori());
	EXPECT_EQ(RigheDettaglio(), (Conteggi{{3, "C1:MOD:3:R1:0:2025", 1}}));
	EXPECT_EQ(Generali(), (Conteggi{{3, "C1", 1}}));
}

// The checks read the symbols and macros of the year and model once, and again after any write
// of this process or when the document is prepared again (a record read, or the save).
TEST_F(Contatori, TheChecksSeeTheSymbolsAndMacrosWrittenSinceTheyWereRead)
{
	Kvz_CUtilizzaFormuleDoc doc;
	Contesto(doc, "R1");
	doc.CaricaCodiciFormula("_R + _N", 0);
	EXPECT_EQ(m_Ui.LastMessage(), "Errore nella formula _R + _N.");
	doc.CaricaCodiciFormula("__M", 1);
	EXPECT_EQ(m_Ui.LastMessage(), "Errore nella formula __M.");
	EXPECT_TRUE(Posizione(doc, "R1", 1).empty());

	// Written by this process (a formula editor's new symbol, another document's macro).
	SimboloRiclass("N", "C2", "C2");
	Kvz_TAnagMacro macro;
	macro.f_Esercizio = kAnno;
	macro.f_ModelloRiclassific = kModello;
	macro.f_NomeMacro = "M";
	macro.f_Formula = "_E";
	InsertRow(macro);
	const size_t nMessaggi = m_Ui.Messages().size();
	doc.CaricaCodiciFormula("_R + _N", 0);
	doc.CaricaCodiciFormula("__M", 1);
	EXPECT_EQ(m_Ui.Messages().size(), nMessaggi) << m_Ui.LastMessage().str();
	EXPECT_EQ(Posizione(doc, "R1", 0), (Conteggi{{3, "C1", 1}, {3, "C2", 1}}));
	EXPECT_EQ(Posizione(doc, "R1", 1), (Conteggi{{1, "X1", 1}}));
	// A macro is its name as written: another case is another, missing, macro.
	doc.CaricaCodiciFormula("__m", 1);
	EXPECT_EQ(m_Ui.LastMessage(), "Errore nella formula __m.");

	// Written where this process does not see it (another process): read again with the record.
	AfxGetDefaultSqlConnection()->Db().Execute(
		"INSERT INTO Kvz_AnagSimboli (Esercizio, ModelloRiclassific, NomeSimbolo, TipoSimbolo) VALUES (?, ?, ?, ?)",
		{plv::db::Value(std::int64_t{kAnno}), plv::db::Value(std::string(kModello)), plv::db::Value(std::string("Z")),
		 plv::db::Value(std::int64_t{1})});
	doc.OnPrepareAuxData();
	const size_t nDetti = m_Ui.Messages().size();
	doc.CaricaCodiciFormula("_Z + _R", 2);
	EXPECT_EQ(m_Ui.Messages().size(), nDetti) << m_Ui.LastMessage().str();
	EXPECT_EQ(Posizione(doc, "R1", 2), (Conteggi{{3, "C1", 1}}));
}

TEST_F(Contatori, TheNameIsLookedForAsAPlainCaseSensitiveSubstring)
{
	Kvz_CUtilizzaFormuleDoc doc;
	const struct
	{
		const char* nome;
		const char* formula;
		BOOL trovato;
	} casi[] = {
		{"RICAVI", "_RICAVI - _COSTI", TRUE},
		{"ricavi", "_RICAVI - _COSTI", FALSE},
		{"RIC", "_RICAVI", TRUE},  // a part of a longer name is found too
		{"COSTI", "_RICAVI", FALSE},
		{"COSTI", "", FALSE},
	};
	for (const auto& c : casi)
		EXPECT_EQ(doc.TrovatoNellaFormula(c.nome, DataStr(c.formula)), c.trovato) << c.nome << " in " << c.formula;
	EXPECT_FALSE(doc.SimboloUtilizzato("RICAVI"));
}

}  // namespace
