#include <gtest/gtest.h>

#include <cmath>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaOld.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlConnection.h"

namespace {

class Legacy : public PianoBase
{
protected:
	std::unique_ptr<Kvz_MngFormula> Vecchio(int mese, int modo = 0)
	{
		auto p = std::make_unique<Kvz_MngFormula>(&m_Messaggi, nullptr);
		p->AttachDefault(DataInt(kAnno), DataInt(mese), DataStr(kModello),
						 DataEnum(E_KVZ_TIPODATOPBASE, static_cast<WORD>(modo)), DataEnum());
		return p;
	}
	// The legacy engine's value of the formula in the month; NaN when the evaluation fails.
	double Legacy1(const CString& formula, int mese, int modo = 0)
	{
		auto f = Vecchio(mese, modo);
		f->AttachFormula(formula);
		return f->Eval() ? f->GetResult().GetValue() : std::nan("");
	}
	// The current engine's value of the same month.
	double Corrente(const CString& formula, int mese)
	{
		Kvz_New_MngFormula f(&m_Messaggi, nullptr);
		f.AttachDefault(DataInt(kAnno), DataInt(mese), DataInt(mese), DataStr(kModello), DataEnum(E_KVZ_TIPODATOPBASE, 0),
						DataEnum());
		f.AttachFormula(formula);
		EXPECT_TRUE(f.Eval()) << formula.GetString();
		return f.GetResult(mese - 1).GetValue();
	}
	void Macro(const char* nome, const char* formula)
	{
		Kvz_TAnagMacro m;
		m.f_Esercizio = kAnno;
		m.f_ModelloRiclassific = kModello;
		m.f_NomeMacro = nome;
		m.f_Formula = formula;
		InsertRow(m);
	}
	// A base-plan symbol of one account, filtered on the engine's year and month as both
	// engines read them.
	void SimboloMese(const char* nome, const char* conto, WORD aggreg = 0, const char* azienda = nullptr)
	{
		Simbolo(nome, [&](Kvz_TSimboliPianoBase& s) {
			s.f_ValDaConto = conto;
			s.f_WhereEs = TRUE;
			s.f_WhereMese = TRUE;
			s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, aggreg);
		}, azienda);
	}
	void Risultato(const char* codice, int mese, double valore)
	{
		Kvz_TRiclassificato r;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = "SRC";
		r.f_CodRiclassificato = codice;
		r.f_Valore = valore;
		InsertRow(r);
	}
	void SimboloRisultato(const char* nome, const char* da, const char* a)
	{
		Anagrafica(nome, 6);
		Kvz_TSimboliOutputRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreModello = "SRC";
		s.f_ValoreCodice = da;
		s.f_ValoreCodiceA = a;
		InsertRow(s);
		// The model it reads is one of the year.
		m_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_RiclassificazioneTesta (Esercizio, ModelloRiclassific) SELECT %d, "
											   "'SRC' WHERE NOT EXISTS (SELECT 1 FROM Kvz_RiclassificazioneTesta WHERE "
											   "Esercizio = %d AND ModelloRiclassific = 'SRC')",
											   kAnno, kAnno));
	}
	void Dati()
	{
		Riga("A1", 3, 10);
		Riga("A1", 3, 20);
		Riga("A1", 4, 7);
		Riga("A2", 3, 4);
		Riga("A2", 4, -2);
		SimboloMese("A", "A1");
		SimboloMese("B", "A2");
		Calcolo::Riga("X", 1, "_A * 2");
		SimboloRiclass("R", "X", "X");
		SimboloExtra("E", "C1", "5");
		Risultato("K1", 3, 100);
		Risultato("K1", 4, 200);
		SimboloRisultato("OUT", "K1", "K1");
	}
};

TEST_F(Legacy, TheSameFormulasGiveTheCurrentEnginesValueOfTheMonth)
{
	Dati();
	Macro("P", "(_A + _B)");
	for (const char* formula : {"_A", "_A + _A", "_A * 2 + _B", "_R + 1", "_E * _A", "(_A - _B) / 2", "_OUT + _A",
								"__P * 2", "3 * 4"})
		for (int mese : {3, 4})
			EXPECT_DOUBLE_EQ(Legacy1(formula, mese), Corrente(formula, mese)) << formula << " month " << mese;
	EXPECT_EQ(Legacy1("_A + _A", 3), 60);
	EXPECT_EQ(Legacy1("_R + 1", 4), 15);
	EXPECT_EQ(Legacy1("_OUT + _A", 4), 207);
	EXPECT_TRUE(Messaggi().empty());
}

TEST_F(Legacy, DiffersByDesignOnMacrosDecimalCommasAndUnfilteredMonths)
{
	Dati();
	// A macro is one operand here, a piece of text in the current engine.
	Macro("M", "_A + _B");
	EXPECT_EQ(Legacy1("__M * 2", 3), (30 + 4) * 2);
	EXPECT_EQ(Corrente("__M * 2", 3), 30 + 4 * 2);
	// No decimal comma here.
	EXPECT_EQ(Corrente("1,5 + _A", 3), 31.5);
	EXPECT_TRUE(std::isnan(Legacy1("1,5 + _A", 3)));
	EXPECT_EQ(Legacy1("1.5 + _A", 3), 31.5);
	// Without the year and month conditions the legacy symbol reads every row.
	Simbolo("TUTTI", [](auto& s) { s.f_ValDaConto = "A1"; });
	EXPECT_EQ(Legacy1("_TUTTI", 3), 37);
	EXPECT_EQ(Corrente("_TUTTI", 3), 30);
}

TEST_F(Legacy, EmptyFormulaMissingDefaultsOtherKindsAndSelfReference)
{
	Dati();
	auto f = Vecchio(3);
	f->AttachFormula("_A");
	ASSERT_TRUE(f->Eval());
	f->AttachFormula("");
	EXPECT_TRUE(f->Eval());
	EXPECT_EQ(f->GetResult().GetValue(), 0.0);  // nothing of the previous formula shows through

	Kvz_MngFormula senza(CString("1"), &m_Messaggi, nullptr);
	EXPECT_FALSE(senza.Eval());
	EXPECT_EQ(AfxGetApplicationContext()->GetAssertionReports().size(), 1u);

	// A kind valued nowhere here takes part with its field's default.
	Anagrafica("ALTRO", 2);
	EXPECT_EQ(Legacy1("_ALTRO + 2", 3), 2);
	// A missing definition counts nothing, said once though both the parse and the evaluation meet it.
	Anagrafica("RMANCA", 3);
	EXPECT_EQ(Legacy1("_RMANCA + 1", 3), 1);
	EXPECT_EQ(Messaggi(), V{"Il simbolo RMANCA (codice riclassificato) non e' presente in tabella simboli."});

	// A reclassified code whose formula names its own symbol: refused at parse, whoever owns it.
	Calcolo::Riga("Y", 2, "_S + 1");
	SimboloRiclass("S", "Y", "Y");
	for (const char* owner : {"", "A", "S"})
	{
		m_Messaggi.Clear();
		auto g = Vecchio(3);
		g->AttachFormula("_S + 1");
		EXPECT_FALSE(g->Parse(owner)) << owner;
		EXPECT_EQ(Messaggi(), V{"S: il simbolo contiene se stesso tra gli operandi. Verificare la sua definizione e/o i "
								"simboli contenuti che possono risolversi in formule."})
			<< owner;
	}
}

TEST_F(Legacy, SymbolsNamingEachOtherStopWithTheRecursionMessage)
{
	Calcolo::Riga("X1", 1, "_R2 + 1");
	Calcolo::Riga("X2", 2, "_R1 * 2");
	SimboloRiclass("R1", "X1", "X1");
	SimboloRiclass("R2", "X2", "X2");
	auto f = Vecchio(3);
	f->AttachFormula("_R1");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), V{"Ricorsivita' trovata sul simbolo R1."});
	EXPECT_EQ(f->GetResult().GetValue(), 0.0);
}

TEST_F(Legacy, AMacroMissingInsideAnotherTextIsSaidAndFailsTheEvaluation)
{
	Macro("M", "__NOPE + 1");
	Macro("K", "5");
	Macro("GIUSTA", "__K * 2");
	Macro("ORA", "_RX + 1");
	Calcolo::Riga("X", 1, "__NOPE2 + 1");
	SimboloRiclass("RX", "X", "X");
	// A code's formula keeps the case it was written in, and macro names keep theirs.
	Calcolo::Riga("XK", 2, "__k * 2");
	SimboloRiclass("RK", "XK", "XK");
	SimboloExtra("EX", "C1", "__NOPE3 * 2");
	const struct
	{
		const char* formula;
		const char* manca;
	} casi[] = {
		{"__M", "NOPE"},       // inside a macro
		{"_RK + 1", "k"},      // another macro's name in another case
		{"_RX", "NOPE2"},      // inside a reclassified code's formula
		{"_EX", "NOPE3"},      // inside an extra-accounting formula
		{"__ORA", "NOPE2"},    // inside a code formula reached through a macro
	};
	for (const auto& c : casi)
	{
		m_Messaggi.Clear();
		EXPECT_TRUE(std::isnan(Legacy1(c.formula, 3))) << c.formula;
		EXPECT_EQ(Messaggi(), V{CString::Formatted("La macro %s non esiste nell'esercizio %d per il modello %s.", c.manca,
												   kAnno, kModello)})
			<< c.formula;
	}
	m_Messaggi.Clear();
	EXPECT_EQ(Legacy1("__GIUSTA + 1", 3), 11);
	EXPECT_TRUE(Messaggi().empty());
}

TEST_F(Legacy, TextsThatMultiplyStopAtTheCurrentEnginesBound)
{
	// Level k names level k + 1 twice and the last is 1: the top text of n levels is worth
	// 2^(n-1) and makes the evaluation follow 2^n - 1 texts.
	int posizione = 0;
	auto catena = [&](const char* prefisso, int livelli, bool bMacro) {
		for (int k = 1; k <= livelli; ++k)
		{
			const CString nome = CString::Formatted("%s%d", prefisso, k);
			const CString sotto = CString::Formatted(bMacro ? "__%s%d" : "_%s%dS", prefisso, k + 1);
			const CString testo = k == livelli ? CString("1") : sotto + " + " + sotto;
			if (bMacro)
				Macro(nome.GetString(), testo.GetString());
			else
			{
				Calcolo::Riga(nome.GetString(), ++posizione, testo.GetString());
				SimboloRiclass((nome + "S").GetString(), nome.GetString(), nome.GetString());
			}
		}
		return CString::Formatted(bMacro ? "__%s1" : "_%s1S", prefisso);
	};
	const double fallita = std::nan("");
	const struct
	{
		const char* prefisso;
		int livelli;
		bool bMacro;
		double atteso;  // NaN: refused with the message
	} casi[] = {
		{"P", 5, true, 16},
		{"Q", 12, true, 2048},  // 4095 texts: just within
		{"S", 13, true, fallita},
		{"T", 40, true, fallita},  // unbounded, this would not finish
		{"U", 5, false, 16},
		{"W", 30, false, fallita},
	};
	for (const auto& c : casi)
	{
		m_Messaggi.Clear();
		const double valore = Legacy1(catena(c.prefisso, c.livelli, c.bMacro), 3);
		if (std::isnan(c.atteso))
		{
			EXPECT_TRUE(std::isnan(valore)) << c.prefisso;
			EXPECT_EQ(Messaggi(), V{CString::Formatted("Le macro della formula sono troppe o troppo annidate (oltre %d).",
													   Kvz_MngFormula::MaxRamiMacro)})
				<< c.prefisso;
		}
		else
		{
			EXPECT_EQ(valore, c.atteso) << c.prefisso;
			EXPECT_TRUE(Messaggi().empty()) << c.prefisso;
		}
	}
}

TEST_F(Legacy, NoMessageBoxWhileFiltersWithOperatorsAreValued)
{
	Riga("A1", 2, 5);
	Riga("A1", 3, 10);
	Riga("A1", 4, 100);
	Riga("A1", 3, 1000, 0, 0, "", 1, kAnno - 1);
	// Year "=", month "<=" against the engine's month, account "=", balance ">".
	Simbolo("F", [](auto& s) {
		s.f_WhereEs = TRUE;
		s.f_WhereMese = TRUE;
		s.f_TipoOpeMese = DataEnum(E_KVZ_TIPOOPERATORE, 1);
		s.f_WhereSaldo = TRUE;
		s.f_TipoOpeSaldo = DataEnum(E_KVZ_TIPOOPERATORE, 4);
		s.f_ValDaSaldo = 6;
	});
	// Without a message list, every message would be a box.
	Kvz_MngFormula g(nullptr, nullptr);
	g.AttachDefault(DataInt(kAnno), DataInt(3), DataStr(kModello), DataEnum(E_KVZ_TIPODATOPBASE, 0), DataEnum());
	g.AttachFormula("_F");
	ASSERT_TRUE(g.Eval());
	EXPECT_EQ(g.GetResult().GetValue(), 10);
	EXPECT_TRUE(m_Ui.Messages().empty());
	EXPECT_EQ(Kvz_MngFormula::DecodificaOperatore(DataEnum(E_KVZ_TIPOOPERATORE, 5)), "<>");
	EXPECT_EQ(Kvz_MngFormula::DecodificaOperatore(DataEnum(E_KVZ_TIPOOPERATORE, 6)), "");
}

TEST_F(Legacy, ValuationRulesOfTheSingleMonth)
{
	Riga("A1", 1, 1);
	Riga("A1", 2, 2);
	Riga("A1", 3, 4);
	Riga("A1", 5, 8);
	Riga("A1", 3, 16, 0, 0, "", 1, kAnno - 1);
	// Up to the engine's month, the year unfiltered.
	Simbolo("FINO", [](auto& s) {
		s.f_WhereMese = TRUE;
		s.f_TipoOpeMese = DataEnum(E_KVZ_TIPOOPERATORE, 1);
	});
	EXPECT_EQ(Legacy1("_FINO", 3), 1 + 2 + 4 + 16);
	// Mode item 3 (and item 0 with the adjusted total chosen): no accrual gives the balance.
	Riga("T1", 3, 50, 0, 80);
	Riga("T2", 3, 50, 5, 80);
	for (const char* conto : {"T1", "T2"})
		Simbolo(conto, [&](auto& s) {
			s.f_ValDaConto = conto;
			s.f_SelSaldo = FALSE;
			s.f_SelTotAss = TRUE;
		});
	EXPECT_EQ(Legacy1("_T1", 3, 3), 50);
	EXPECT_EQ(Legacy1("_T1", 3, 0), 50);
	EXPECT_EQ(Legacy1("_T2", 3, 3), 80);
	// An account list: the first entry minus the second.
	Riga("L1", 3, 30);
	Riga("L2", 3, 12);
	Simbolo("LISTA", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
		s.f_WhereConto = TRUE;
	});
	Voce("LISTA", "L1", 0);
	Voce("LISTA", "L2", 1);
	EXPECT_EQ(Legacy1("_LISTA", 3), 18);
	// A range of codes where only two have formulas, averaged.
	Calcolo::Riga("CA", 1, "10");
	Calcolo::Riga("CB", 2, "");
	Calcolo::Riga("CC", 3, "20 + 2");
	SimboloRiclass("MEDIA", "CA", "CC", 1);
	EXPECT_EQ(Legacy1("_MEDIA", 3), 16);
	// A result symbol with only the end of its range.
	Risultato("K9", 3, 42);
	SimboloRisultato("SOLOA", "", "K9");
	EXPECT_EQ(Legacy1("_SOLOA", 3), 42);
	EXPECT_TRUE(Messaggi().empty());
}

TEST_F(Legacy, DefinitionsThatReadNoAmountFailTheEvaluation)
{
	Riga("A1", 3, 10);
	Simbolo("NESSUNO", [](auto& s) { s.f_SelSaldo = FALSE; });
	EXPECT_TRUE(std::isnan(Legacy1("_NESSUNO + 1", 3)));
	EXPECT_EQ(Messaggi(),
			  V{"Il simbolo NESSUNO (piano base): nessun importo scelto (saldo, rateo o totale assestato)."});
	// A mode that names the amount needs no choice of the symbol's own.
	EXPECT_EQ(Legacy1("_NESSUNO + 1", 3, 1), 11);
}

TEST_F(Legacy, AnotherCompanysRowsOneConnectionPerCompanyClosedWithTheEngine)
{
	Kvz_TAziende a;
	a.f_Azienda = "ALTRA";
	a.f_DataSource = "altra.db";
	InsertRow(a);
	auto altra = OtherCompany("altra.db");
	for (double saldo : {5.0, 3.0, 7.0, -5.0, -3.0})
	{
		Kvz_TPBaseR_Ext r(altra.get());
		r.f_IDPianoBase = ++m_nId;
		r.f_Mese = 3;
		r.f_ContoKvz = saldo > 0 ? "P" : "N";
		r.f_TipoCentroComm = static_cast<long>(DataEnum(E_KVZ_TIPOCENTROCOMM, 0).GetValue());
		r.f_Esercizio = kAnno;
		r.f_SaldoContabile = saldo;
		InsertRow(r);
	}
	SimboloMese("MINP", "P", 4, "ALTRA");
	SimboloMese("MAXN", "N", 3, "ALTRA");
	SimboloMese("SUMP", "P", 0, "ALTRA");
	const int aperte = AfxGetOleDbMng()->GetOpenCount();
	{
		auto f = Vecchio(3);
		f->AttachFormula("_MINP");
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(f->GetResult().GetValue(), 3);
		// The maximum starts from the first row, not from 0.
		f->AttachFormula("_MAXN * 100 + _SUMP + _MINP");
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(f->GetResult().GetValue(), -300 + 15 + 3);
		EXPECT_EQ(AfxGetOleDbMng()->GetOpenCount(), aperte + 1);
	}
	EXPECT_EQ(AfxGetOleDbMng()->GetOpenCount(), aperte);
	EXPECT_TRUE(Messaggi().empty());
}

}  // namespace
