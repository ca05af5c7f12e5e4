// Valuations a controller reads as figures: what a symbol yields in the cases where a silent
// 0 or a multiplied amount would pass for a real one.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"

namespace {

class Valori : public PianoBase
{
protected:
	// An extra-accounting symbol over the codes da..a; meseFisso 0 follows the engine's months.
	void SimboloExtraSu(const char* nome, const char* da, const char* a, WORD aggreg = 0, int meseFisso = 0,
						int formula = 0)
	{
		Anagrafica(nome, 1);
		Kvz_TSimboliCodiciExtracont s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreMeseSymb = meseFisso == 0;
		s.f_ValoreMese = meseFisso;
		s.f_ValoreCodice = da;
		s.f_ValoreCodiceA = a;
		s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, aggreg);
		s.f_FormulaDaUsare = formula;
		InsertRow(s);
	}
	std::vector<double> ValutaFino(const CString& formula, int ultimoMese)
	{
		auto f = Motore(ultimoMese);
		f->AttachFormula(formula);
		EXPECT_TRUE(f->Eval()) << formula.GetString();
		return Mesi(*f);
	}
};

TEST_F(Valori, AnExtraAccountingAverageDividesARangeByTheCodesOfEachMonthAndNeverOneCode)
{
	CodiceExtra("C1", [](int) { return CString("100"); });
	CodiceExtra("C2", [](int) { return CString("50"); });
	// The further formula of C3 only in the first half of the year.
	CodiceExtra("C3", [](int m) { return CString(m <= 6 ? "150" : ""); });
	SimboloExtraSu("UNO", "C1", "C1", 1);
	SimboloExtraSu("DUE", "C1", "C2", 1);
	SimboloExtraSu("META", "C2", "C3", 1, 0, 1);
	SimboloExtraSu("SOMMA", "C1", "C2", 0);

	std::vector<double> meta(12, 50.0);  // C2 alone from July
	std::fill(meta.begin(), meta.begin() + 6, 100.0);  // (50 + 150) / 2
	struct Caso
	{
		const char* formula;
		int ultimoMese;
		std::vector<double> atteso;
	};
	const Caso cases[] = {
		{"_UNO", 12, Costante(100)},
		{"_UNO", 6, Costante(100, 6)},
		{"_DUE", 12, Costante(75)},
		{"_SOMMA", 12, Costante(150)},
		{"_META", 12, meta},
	};
	for (const Caso& c : cases)
		EXPECT_EQ(ValutaFino(c.formula, c.ultimoMese), c.atteso) << c.formula << " to " << c.ultimoMese;
	EXPECT_EQ(Messaggi(), V{});
}

TEST_F(Valori, AnExtraAccountingSymbolOfAFixedMonthIsThatMonthInEveryMonth)
{
	CodiceExtra("C1", [](int m) { return CString::Formatted("%d", m * 10); });
	CodiceExtra("C2", [](int m) { return CString::Formatted("%d", m); });
	SimboloExtraSu("MAGGIO", "C1", "C1", 0, 5);
	SimboloExtraSu("DICEMBRE", "C1", "C1", 0, 12);
	SimboloExtraSu("MEDIA", "C1", "C2", 1, 5);
	EXPECT_EQ(ValutaFino("_MAGGIO", 12), Costante(50));
	EXPECT_EQ(ValutaFino("_MAGGIO", 3), Costante(50, 3));  // a month past the run's last one
	EXPECT_EQ(ValutaFino("_DICEMBRE", 12), Costante(120));
	EXPECT_EQ(ValutaFino("_MEDIA", 12), Costante(27.5));  // (50 + 5) / 2
	EXPECT_EQ(Messaggi(), V{});
}

// A database error while a symbol is valued fails the evaluation: never a 0 taken for a figure.
TEST_F(Valori, ADatabaseErrorInsideACodeSymbolFailsTheEvaluation)
{
	CodiceExtra("C1", [](int) { return CString("7"); });
	SimboloExtraSu("EX1", "C1", "C1");
	SimboloExtraSu("EXR", "C1", "C9");
	Calcolo::Riga("X", 1, "3");
	Calcolo::Riga("Y", 2, "_EX1 * 2");
	SimboloRiclass("R", "X", "X");
	SimboloRiclass("RR", "X", "Y");
	SimboloRiclass("REX", "Y", "Y");
	{
		auto f = Motore();
		f->AttachFormula("_EX1 + _REX + _RR + 1");
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(Mesi(*f), Costante(7 + 14 + 17 + 1));
	}
	struct Caso
	{
		const char* tabella;
		std::vector<const char*> formule;
	};
	const Caso cases[] = {
		{"Kvz_CodExtracontabiliMesi", {"_EX1 + 1", "_EXR + 1", "_REX + 1", "1 + _EX1"}},
		{"Kvz_CodExtracontabili", {"_EXR + 1"}},
		{"Kvz_RiclassificazioneRighe", {"_R + 1", "_RR", "_REX * 2"}},
		{"Kvz_CodiciRiclassificato", {"_RR + 1"}},
	};
	for (const Caso& c : cases)
	{
		SCOPED_TRACE(c.tabella);
		m_pConn->ExecuteSQL(CString::Formatted("ALTER TABLE %s RENAME TO Via", c.tabella));
		for (const char* formula : c.formule)
		{
			m_Ui.Clear();
			auto f = Motore();
			f->AttachFormula(formula);
			EXPECT_FALSE(f->Eval()) << formula;
			EXPECT_EQ(Mesi(*f), Costante(0)) << formula;
			EXPECT_FALSE(m_Ui.Messages().empty()) << formula;  // the error is shown
		}
		m_pConn->ExecuteSQL(CString::Formatted("ALTER TABLE Via RENAME TO %s", c.tabella));
	}
	// A symbol that failed is not kept for the next occurrence.
	auto f = Motore();
	m_pConn->ExecuteSQL("ALTER TABLE Kvz_CodExtracontabiliMesi RENAME TO Via");
	f->AttachFormula("_EX1");
	EXPECT_FALSE(f->Eval());
	m_pConn->ExecuteSQL("ALTER TABLE Via RENAME TO Kvz_CodExtracontabiliMesi");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(7));
}

// A run without extra-accounting amounts leaves out the symbols the registry holds as
// extra-accounting ones, each by the neutral element of its place, and no other.
TEST_F(Valori, WithoutExtraAccountingAmountsOnlyExtraAccountingSymbolsAreLeftOut)
{
	for (int m = 1; m <= 12; ++m)
	{
		Riga("A1", m, 100.0 * m);
		Riga("V1", m, 3);
	}
	Simbolo("ENERGIA");
	Simbolo("VEN", [](auto& s) { s.f_ValDaConto = "V1"; });
	CodiceExtra("C1", [](int) { return CString("5"); });
	SimboloExtraSu("EX1", "C1", "C1");
	SimboloExtraSu("EX2", "C1", "C1");
	auto mesi = [](const std::function<double(int)>& f) {
		std::vector<double> v;
		for (int m = 1; m <= 12; ++m)
			v.push_back(f(m));
		return v;
	};
	struct Caso
	{
		const char* formula;
		int modo;
		std::function<double(int)> atteso;
	};
	const Caso cases[] = {
		{"_ENERGIA", 1, [](int m) { return 100.0 * m; }},
		{"_ENERGIA + _EX1", 1, [](int m) { return 100.0 * m; }},
		{"_ENERGIA + _EX1", 0, [](int m) { return 100.0 * m + 5; }},
		{"(_EX1) * _VEN", 1, [](int) { return 3.0; }},
		{"(_EX1) * _VEN", 0, [](int) { return 15.0; }},
		{"_EX1 / _VEN", 1, [](int) { return 3.0; }},
		{"_VEN * (_EX1 + _ENERGIA)", 1, [](int m) { return 300.0 * m; }},
		{"(_EX1 + _EX2) * _VEN", 1, [](int) { return 3.0; }},
		{"_EX1", 1, [](int) { return 0.0; }},
	};
	for (const Caso& c : cases)
		EXPECT_EQ(Valuta(c.formula, c.modo), mesi(c.atteso)) << c.formula << " mode " << c.modo;
	EXPECT_EQ(Messaggi(), V{});
}

// A pattern on the accounts: the user's wildcards are wildcards, a plain value a beginning.
TEST_F(Valori, AnAccountPatternTakesTheUsersWildcards)
{
	const std::pair<const char*, double> conti[] = {{"20", 1}, {"2001", 10}, {"2001001", 100}, {"2011", 1000},
													{"3001", 10000}};
	for (auto [conto, saldo] : conti)
		Riga(conto, 1, saldo);
	const std::pair<const char*, double> cases[] = {
		{"2001", 110},   {"2001%", 110}, {"2001*", 110}, {"20%1", 1110}, {"20*1", 1110},
		{"20_1%", 1110}, {"20_1", 1010}, {"20?1", 1010}, {"3", 10000},   {"4", 0},
	};
	int i = 0;
	for (auto [modello, atteso] : cases)
	{
		const CString nome = CString::Formatted("LIKE%d", i++);
		Simbolo(nome.GetString(), [&](auto& s) {
			s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 7);
			s.f_ValDaConto = modello;
			s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
			s.f_ValDaMese = s.f_ValAMese = 1;
		});
		EXPECT_EQ(Valuta("_" + nome), Costante(atteso)) << modello;
	}
	EXPECT_EQ(Messaggi(), V{});
}

// A range of codes that selects none is said once per symbol, with its ends.
TEST_F(Valori, ARangeThatSelectsNoCodeIsSaid)
{
	Calcolo::Riga("VA", 2, "5");
	Calcolo::Riga("VP", 1, "7");
	SimboloRiclass("GIRATO", "VP", "VA");   // by code VP..VA holds nothing
	SimboloRiclass("DRITTO", "VA", "VP");   // by code both, by position VA (2) to VP (1): none
	SimboloRiclass("BUONO", "VA", "VA");
	CodiceExtra("C1", [](int) { return CString("1"); });
	SimboloExtraSu("EXVUOTO", "D1", "D9");
	struct Caso
	{
		const char* formula;
		double atteso;
		V messaggi;
	};
	const Caso cases[] = {
		{"_GIRATO + _GIRATO + 1", 1, {"Il simbolo GIRATO non seleziona alcun codice: da VP a VA del modello MOD."}},
		{"_DRITTO", 0, {"Il simbolo DRITTO non seleziona alcun codice: da VA a VP del modello MOD."}},
		{"_BUONO", 5, {}},
		{"_EXVUOTO", 0, {"Il simbolo EXVUOTO non seleziona alcun codice: da D1 a D9."}},
	};
	for (const Caso& c : cases)
	{
		m_Messaggi.Clear();
		auto f = Motore();
		f->AttachFormula(c.formula);
		ASSERT_TRUE(f->Eval()) << c.formula;
		EXPECT_EQ(Mesi(*f), Costante(c.atteso)) << c.formula;
		EXPECT_EQ(Messaggi(), c.messaggi) << c.formula;
	}
}

}  // namespace
