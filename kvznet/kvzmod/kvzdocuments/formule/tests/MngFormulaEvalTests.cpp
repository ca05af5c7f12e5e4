#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvoledb/driver/ConnectionString.h"

#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"

TEST_F(Calcolo, ConstantsOverTheMonthsAndEveryEvalStartsFromZero)
{
	auto f = Motore(6);
	f->AttachFormula("2 * 3");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(6, 6));  // months 7 to 12 stay 0
	f->AttachFormula("1 + 1,5");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(2.5, 6));
	f->AttachFormula("");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(0));  // nothing of the previous formula shows through

	f->AttachFormula("_NONCE * 2");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), V{"Il simbolo NONCE non esiste nell'esercizio 2025 per il modello MOD."});
	EXPECT_EQ(Mesi(*f), Costante(0));

	// A division by zero gives the month 0, said once however often it happens, with the model
	// and every month it met.
	m_Messaggi.Clear();
	f->AttachFormula("1 / (2 - 2) + 1");
	ASSERT_TRUE(f->Eval());
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(0));
	EXPECT_EQ(Messaggi(), V{"Modello MOD, formula 1 / (2 - 2) + 1, mesi 1, 2, 3, 4, 5, 6: Divisione per zero. Quei mesi "
							"valgono 0."});

	// Out of range: an assertion and 0, never a read beyond the twelve months.
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
	EXPECT_EQ(f->GetResult(12).GetValue(), 0.0);
	EXPECT_EQ(f->GetResult(-1).GetValue(), 0.0);
	auto g = Motore(14);
	g->AttachFormula("4");
	ASSERT_TRUE(g->Eval());
	EXPECT_EQ(Mesi(*g), Costante(4));
	EXPECT_EQ(AfxGetApplicationContext()->GetAssertionReports().size(), 3u);

	Kvz_New_MngFormula senzaDefault(CString("1"));
	EXPECT_FALSE(senzaDefault.Eval());
}

TEST_F(Calcolo, ExtraAccountingSymbolsAreValuedOnceReclassifiedOnesEveryTime)
{
	SimboloExtra("E1", "C1", "5");
	Riga("X", 1, "3");
	SimboloRiclass("R", "X", "X");
	auto f = Motore();
	f->AttachFormula("_E1 + _E1 + _R");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(13));

	// The stored formulas change: the engine keeps the extra-accounting value it has, and
	// values the reclassified code again.
	m_pConn->ExecuteSQL("UPDATE Kvz_CodExtracontabiliMesi SET Formula = '7'");
	m_pConn->ExecuteSQL("UPDATE Kvz_RiclassificazioneRighe SET Formula = '4'");
	f->AttachFormula("_E1 + _R");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(9));
	auto nuovo = Motore();
	nuovo->AttachFormula("_E1 + _R");
	ASSERT_TRUE(nuovo->Eval());
	EXPECT_EQ(Mesi(*nuovo), Costante(11));

	// Mode item 1 leaves the extra-accounting amounts out.
	auto senza = Motore(12, 1);
	senza->AttachFormula("_R + _E1");
	ASSERT_TRUE(senza->Eval());
	EXPECT_EQ(Mesi(*senza), Costante(4));
	EXPECT_EQ(Messaggi(), V{});
}

TEST_F(Calcolo, ASymbolInsideItsOwnFormulaIsSaidOnceAndTheRestIsEvaluated)
{
	Riga("C1", 1, "_R1 + 1");
	SimboloRiclass("R1", "C1", "C1");
	Riga("A", 2, "_B2");
	Riga("B", 3, "_A2");
	SimboloRiclass("A2", "A", "A");
	SimboloRiclass("B2", "B", "B");

	auto f = Motore();
	f->AttachFormula("_R1 * 2 + 5");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(5));
	EXPECT_EQ(Messaggi(), V{"Ricorsivita' trovata sul simbolo _R1."});

	m_Messaggi.Clear();
	f->AttachFormula("_A2 + _A2 + 1");  // A2 -> B2 -> A2 ends
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(1));
	EXPECT_EQ(Messaggi(), V{"Ricorsivita' trovata sul simbolo _A2."});
}

// Rows that read earlier rows: every code's formula is valued once per evaluation, however many
// rows read it, and a nesting deeper than the engine allows stops with the chain named.
TEST_F(Calcolo, RowsThatReadRowsAreValuedOnceAndADeepChainStopsWithAMessage)
{
	// F1 = F2 = 1, Fi = F(i-1) + F(i-2): valued again at every occurrence this would take 2^30 steps.
	m_pConn->BeginTransaction();
	for (int i = 1; i <= 30; ++i)
	{
		const CString codice = CString::Formatted("F%d", i);
		const CString formula = i <= 2 ? CString("1") : CString::Formatted("_F%d + _F%d", i - 1, i - 2);
		Riga(codice.GetString(), i, formula.GetString());
		SimboloRiclass(codice.GetString(), codice.GetString(), codice.GetString());
	}
	// D1 = _D2 + 1, ..., D999 = _D1000 + 1, D1000 = 1: deeper than any nesting allowed.
	for (int i = 1; i <= 1000; ++i)
	{
		const CString codice = CString::Formatted("D%d", i);
		const CString formula = i == 1000 ? CString("1") : CString::Formatted("_D%d + 1", i + 1);
		Riga(codice.GetString(), 100 + i, formula.GetString());
		SimboloRiclass(codice.GetString(), codice.GetString(), codice.GetString());
	}
	m_pConn->CommitTransaction();

	auto f = Motore();
	const std::pair<const char*, double> cases[] = {
		{"_F5", 5}, {"_F6 - _F5", 3}, {"_F30", 832040}, {"_F30 + _F29 + _F30", 2178309}, {"_D900", 101},
	};
	for (auto& [formula, atteso] : cases)
	{
		f->AttachFormula(formula);
		ASSERT_TRUE(f->Eval()) << formula;
		EXPECT_EQ(Mesi(*f), Costante(atteso)) << formula;
	}
	EXPECT_EQ(Messaggi(), V{});

	// The stored formulas change between two evaluations outside a run: the second sees them.
	m_pConn->ExecuteSQL("UPDATE Kvz_RiclassificazioneRighe SET Formula = '2' WHERE CodRiclassificato = 'F1'");
	f->AttachFormula("_F5");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(7));

	f->AttachFormula("_D1 + 5");
	EXPECT_FALSE(f->Eval());
	const auto messaggi = Messaggi();
	ASSERT_EQ(messaggi.size(), 1u);
	EXPECT_TRUE(messaggi[0].Find("Simboli annidati troppo in profondita' (") == 0) << messaggi[0];
	EXPECT_TRUE(messaggi[0].Find("): _D1 > _D2 > _D3 > ... > ") > 0) << messaggi[0];
	EXPECT_TRUE(messaggi[0].Find(". La formula non e' calcolata.") > 0) << messaggi[0];
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(Calcolo, ARangeOfCodesTakesTheRowsBetweenItsEndsByPosition)
{
	Riga("R10", 1, "10");
	Riga("R20", 2, "20");
	Riga("R25", 9, "1000");  // between by code, outside by position
	Riga("R30", 3, "31");
	Codice("R40");  // a code with no model row
	SimboloRiclass("SOMMA", "R10", "R30");
	SimboloRiclass("MEDIA", "R10", "R30", 1);
	SimboloRiclass("APERTO", "R10", "R40");
	SimboloRiclass("UNO", "", "R20");  // an empty end takes the other
	auto f = Motore();
	const std::pair<const char*, double> cases[] = {
		{"_SOMMA", 61}, {"_MEDIA", 20.33}, {"_APERTO", 0}, {"_UNO", 20},
	};
	for (auto& [formula, atteso] : cases)
	{
		f->AttachFormula(formula);
		ASSERT_TRUE(f->Eval()) << formula;
		EXPECT_EQ(Mesi(*f), Costante(atteso)) << formula;
	}
	EXPECT_EQ(Messaggi(), V{});
}

TEST_F(Calcolo, BudgetFormulasAndAConstantYear)
{
	Riga("B", 1, "9", kAnno, {"1", "2", "3"});
	Riga("V", 1, "19", 2019);
	SimboloRiclass("BUD", "B", "B");
	SimboloRiclass("VECCHIO", "V", "V", 0, 2019);
	auto f = Motore();
	for (WORD tipo = 0; tipo < 3; ++tipo)
	{
		f->AttachFormulaBudget("_BUD", DataEnum(E_KVZ_TIPOBUDGET, tipo));
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(Mesi(*f), Costante(tipo + 1)) << tipo;
	}
	f->AttachFormula("_BUD + _VECCHIO");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(28));
}

// A symbol defined on a budget formula takes it in any formula; inside a budget formula the
// formula's budget type decides, as for every reclassified-code symbol.
TEST_F(Calcolo, ASymbolOnABudgetFormulaTakesTheOneItNames)
{
	Riga("B", 1, "9", kAnno, {"1", "2", "3"});
	SimboloRiclass("BUDC", "B", "B");
	m_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_SimboliCodRiclassif SET ValoreDalBudget = 1, TipoBudget = %ld "
										   "WHERE NomeSimbolo = 'BUDC'",
										   static_cast<long>(DataEnum(E_KVZ_TIPOBUDGET, 2).GetValue())));
	auto f = Motore();
	f->AttachFormula("_BUDC * 10");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(30));
	f->AttachFormulaBudget("_BUDC", DataEnum(E_KVZ_TIPOBUDGET, 1));
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(2));
	EXPECT_EQ(Messaggi(), V{});
}

TEST_F(Calcolo, OtherCompaniesThroughOneCachedConnectionEach)
{
	for (auto [codice, file] : {std::pair{"ALTRA", "altra"}, std::pair{"ROTTA", "manca"}})
	{
		Kvz_TAziende a;
		a.f_Azienda = codice;
		a.f_DataSource = file;  // a file of the company's folder
		a.f_Password = "pa'ss;Provider=x";
		InsertRow(a);
	}
	auto altra = OtherCompany("altra.db");
	{
		// The other company's registry and its model rows.
		Kvz_TAnagSimboli_Ext r(altra.get());
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = kModello;
		r.f_NomeSimbolo = "SOLOLA";
		r.f_TipoSimbolo = static_cast<long>(DataEnum(E_KVZ_TIPOSIMBOLO, 3).GetValue());
		InsertRow(r);
		for (auto [codice, formula] : {std::pair{"X", "40"}, std::pair{"Y", "_ESTERNO * 2"}})
		{
			Kvz_TModRiclassRighe_Ext m(altra.get());
			m.f_Esercizio = kAnno;
			m.f_ModelloRiclassific = kModello;
			m.f_CodRiclassificato = codice;
			m.f_Formula = formula;
			InsertRow(m);
		}
	}
	Riga("X", 1, "3");
	Riga("Y", 2, "5");
	SimboloRiclass("SOLOLA", "X", "X");  // its definition is the current company's, its registry row not
	m_pConn->ExecuteSQL("DELETE FROM Kvz_AnagSimboli WHERE NomeSimbolo = 'SOLOLA'");
	SimboloRiclass("ESTERNO", "X", "X", 0, 0, "ALTRA");
	SimboloRiclass("DOPPIO", "Y", "Y", 0, 0, "ALTRA");
	SimboloRiclass("ROTTO", "X", "X", 0, 0, "ROTTA");
	SimboloRiclass("IGNOTO", "X", "X", 0, 0, "NESSUNA");

	auto f = Motore();
	const std::pair<const char*, double> cases[] = {
		{"_ESTERNO", 40},         // the formula text is the other company's
		{"_DOPPIO + 1", 81},      // its text names a symbol evaluated on the current company
	};
	for (auto& [formula, atteso] : cases)
	{
		f->AttachFormula(formula);
		ASSERT_TRUE(f->Eval()) << formula;
		EXPECT_EQ(Mesi(*f), Costante(atteso)) << formula;
	}
	// A company that cannot be reached gives no value: the formula cannot be evaluated.
	for (const char* formula : {"_ROTTO + _ROTTO + 1", "_ROTTO * 2 + 1", "_IGNOTO + _IGNOTO + 2"})
	{
		f->AttachFormula(formula);
		EXPECT_FALSE(f->Eval()) << formula;
	}
	// A failed company is tried once and said once, nested engines included; each formula says
	// the symbol that needed it.
	const CString rotto = "Il simbolo ROTTO legge l'azienda ROTTA, il cui database non si può aprire.";
	EXPECT_EQ(Messaggi(), (V{"Connessione al database esterno ROTTA fallita.", rotto, rotto, "Azienda NESSUNA non censita.",
							 "Il simbolo IGNOTO legge l'azienda NESSUNA, il cui database non si può aprire."}));

	// The registry of another company, the definitions of this one.
	auto g = Motore();
	g->AttachFormula("_SOLOLA");
	EXPECT_FALSE(g->Eval());
	g->AttachDitta(DataStr("ALTRA"));
	ASSERT_TRUE(g->Eval());
	EXPECT_EQ(Mesi(*g), Costante(3));
	g->SvuotaMapDatabase();
	ASSERT_TRUE(g->Eval());  // opened again on demand
	EXPECT_EQ(Mesi(*g), Costante(3));
}

TEST(ConnessioneEsterna, EveryValueComesBackAsItWasStored)
{
	const CString valori[] = {"semplice", "pa'ss", "a;b=c", "''", "con spazi ", "Città", ";Provider=altro", ""};
	for (const CString& v : valori)
	{
		plv::db::ConnectionString cs(Kvz_New_External::StringaConnessione(v, v + "db", v, v, 30).str());
		EXPECT_EQ(cs.Get("Data Source"), v.str());
		EXPECT_EQ(cs.Get("Initial Catalog"), (v + "db").str());
		EXPECT_EQ(cs.Get("User ID"), v.str());
		EXPECT_EQ(cs.Get("Password"), v.str());
		EXPECT_EQ(cs.Get("Provider"), "SQLOLEDB");
		EXPECT_EQ(cs.Values().size(), 6u);
	}
}
