#include <gtest/gtest.h>

#include <functional>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"

namespace {

class Risultati : public Calcolo
{
protected:
	// A result row of the source model "SRC" under the engine mode item.
	template <class Rec>
	static void Riempi(Rec& r, const char* codice, int posizione, int mese, double valore, WORD modo)
	{
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = "SRC";
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Valore = valore;
		r.f_Valore1 = valore * 10;
		r.f_ValoreBudgetA = valore + 1000;
		r.f_ValoreBudgetB = valore + 2000;
		if constexpr (std::is_same_v<Rec, Kvz_TRiclassificato>)
			r.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, modo);
		else
			r.f_TipoDatoPianoBase = static_cast<long>(DataEnum(E_KVZ_TIPODATOPBASE, modo).GetValue());
	}
	void Risultato(const char* codice, int posizione, int mese, double valore, WORD modo = 0)
	{
		Kvz_TRiclassificato r;
		Riempi(r, codice, posizione, mese, valore, modo);
		InsertRow(r);
	}
	void Simbolo(const char* nome, const char* da, const char* a, WORD aggreg = 0,
				 const std::function<void(Kvz_TSimboliOutputRiclass&)>& modifica = {}, const char* azienda = nullptr)
	{
		Anagrafica(nome, 6, azienda);
		Kvz_TSimboliOutputRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreModello = "SRC";
		s.f_ValoreCodice = da;
		s.f_ValoreCodiceA = a;
		s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, aggreg);
		if (modifica)
			modifica(s);
		InsertRow(s);
		// The model it reads is one of the year.
		m_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_RiclassificazioneTesta (Esercizio, ModelloRiclassific) SELECT %d, "
											   "'SRC' WHERE NOT EXISTS (SELECT 1 FROM Kvz_RiclassificazioneTesta WHERE "
											   "Esercizio = %d AND ModelloRiclassific = 'SRC')",
											   kAnno, kAnno));
	}
	std::vector<double> Valuta(const CString& formula)
	{
		auto f = Motore();
		f->AttachFormula(formula);
		EXPECT_TRUE(f->Eval()) << formula.GetString();
		return Mesi(*f);
	}
	static std::vector<double> Mesi23(double m2, double m3, double altri)
	{
		std::vector<double> v(12, altri);
		v[1] = m2;
		v[2] = m3;
		return v;
	}
};

TEST_F(Risultati, RangesByPositionOrByCodeColumnsAndDataKind)
{
	// Position order A, C, B: the model's rows are not in code order.
	Risultato("A", 1, 2, 1);
	Risultato("C", 2, 2, 10);
	Risultato("B", 3, 2, 100);
	Risultato("A", 1, 3, 2);
	Risultato("A", 1, 2, 5000, 1);  // written under another engine mode
	Simbolo("POS", "A", "C");
	Simbolo("CODICI", "0", "C");  // the first code has no result: a range of codes
	Simbolo("UNO", "", "B");
	Simbolo("CONTA", "A", "B", 2);
	Simbolo("V1", "A", "A", 0, [](auto& s) { s.f_ValoreDaUsare = 1; });
	Simbolo("BUD", "A", "A", 0, [](auto& s) { s.f_ValoreDalBudget = TRUE; });
	Simbolo("MESE3", "A", "A", 0, [](auto& s) {
		s.f_ValoreMeseConst = TRUE;
		s.f_ValoreMese = 3;
	});
	EXPECT_EQ(Valuta("_POS"), Mesi23(11, 2, 0));  // a month without results is 0
	EXPECT_EQ(Valuta("_CODICI"), Mesi23(111, 2, 0));
	EXPECT_EQ(Valuta("_UNO"), Mesi23(100, 0, 0));
	EXPECT_EQ(Valuta("_CONTA"), Mesi23(3, 1, 0));
	EXPECT_EQ(Valuta("_V1"), Mesi23(10, 20, 0));
	EXPECT_EQ(Valuta("_MESE3"), Costante(2));
	auto f = Motore();
	f->AttachFormulaBudget("_BUD", DataEnum(E_KVZ_TIPOBUDGET, 1));
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mesi23(2001, 2002, 0));
	// Outside a budget formula the budget value the definition names.
	Simbolo("BUDB", "A", "A", 0, [](auto& s) {
		s.f_ValoreDalBudget = TRUE;
		s.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	});
	EXPECT_EQ(Valuta("_BUDB"), Mesi23(2001, 2002, 0));
	f->AttachFormulaBudget("_BUDB", DataEnum(E_KVZ_TIPOBUDGET, 0));
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mesi23(1001, 1002, 0));
	// Written by the run as it goes: every occurrence reads again.
	m_pConn->ExecuteSQL("UPDATE Kvz_Riclassificato SET Valore = Valore * 2");
	EXPECT_EQ(Valuta("_UNO"), Mesi23(200, 0, 0));

	// A range whose ends are out of the model's row order selects nothing, and says so once.
	Simbolo("ROVESCIO", "B", "A");
	EXPECT_EQ(Valuta("_ROVESCIO + _ROVESCIO"), Costante(0));
	EXPECT_EQ(Messaggi(), V{"Il simbolo ROVESCIO non seleziona alcun codice: da B a A del modello SRC."});
	m_Messaggi.Clear();

	// A definition that names no value column is refused, as is a missing one.
	Simbolo("NOCOL", "A", "A", 0, [](auto& s) { s.f_ValoreDaUsare = 11; });
	f->AttachFormula("_NOCOL");
	EXPECT_FALSE(f->Eval());
	Anagrafica("NODEF", 6);
	f->AttachFormula("_NODEF");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), (V{"Il simbolo NOCOL (risultato riclassificazione) modello MOD: nessuna colonna di valori scelta.",
							 "Il simbolo NODEF (risultato riclassificazione) modello MOD non e' presente in tabella simboli."}));
}

TEST_F(Risultati, AnotherCompanysResultsAggregatedHereInMonthOrder)
{
	Kvz_TAziende a;
	a.f_Azienda = "ALTRA";
	a.f_DataSource = "altra";
	InsertRow(a);
	auto altra = OtherCompany("altra.db");
	// Inserted out of month order; month 3 all negative.
	const std::tuple<const char*, int, double> righe[] = {{"A", 3, -5}, {"B", 2, 4}, {"A", 2, 6}, {"B", 3, -1}};
	for (auto [codice, mese, valore] : righe)
	{
		Kvz_TRiclassificato_Ext r(altra.get());
		Riempi(r, codice, codice[0] - 'A' + 1, mese, valore, 2);
		InsertRow(r);
	}
	struct Caso
	{
		const char* nome;
		WORD aggreg;
		double m2, m3;
	} casi[] = {{"ESOMMA", 0, 10, -6}, {"EMEDIA", 1, 5, -3}, {"ECONTA", 2, 2, 2}, {"EMAX", 3, 6, -1}, {"EMIN", 4, 4, -5}};
	for (const Caso& c : casi)
	{
		// The definition's data kind, not the engine's mode, chooses the rows there.
		Simbolo(c.nome, "A", "B", c.aggreg, [](auto& s) { s.f_TipoDatoPBase = DataEnum(E_KVZ_TIPODATOPBASE, 2); }, "ALTRA");
		EXPECT_EQ(Valuta(CString("_") + c.nome), Mesi23(c.m2, c.m3, 0)) << c.nome;  // no spreading
	}
	Simbolo("EBUD", "A", "A", 0, [](auto& s) {
		s.f_TipoDatoPBase = DataEnum(E_KVZ_TIPODATOPBASE, 2);
		s.f_ValoreDalBudget = TRUE;
		s.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	}, "ALTRA");
	EXPECT_EQ(Valuta("_EBUD"), Mesi23(2006, 1995, 0));
	EXPECT_TRUE(Messaggi().empty());

	// A range by the model's row order there too, as here: K1 and K3, not K2 between them by code.
	for (auto [codice, posizione, valore] : {std::tuple{"K1", 10, 1.0}, std::tuple{"K3", 11, 10.0}, std::tuple{"K2", 12, 100.0}})
	{
		Kvz_TRiclassificato_Ext r(altra.get());
		Riempi(r, codice, posizione, 4, valore, 2);
		InsertRow(r);
	}
	const auto dati = [](auto& s) { s.f_TipoDatoPBase = DataEnum(E_KVZ_TIPODATOPBASE, 2); };
	Simbolo("EPOS", "K1", "K3", 0, dati, "ALTRA");
	Simbolo("EROVESCIO", "K3", "K1", 0, dati, "ALTRA");
	std::vector<double> atteso(12, 0.0);
	atteso[3] = 11;
	EXPECT_EQ(Valuta("_EPOS"), atteso);
	EXPECT_EQ(Valuta("_EROVESCIO"), Costante(0));
	EXPECT_EQ(Messaggi(), V{"Il simbolo EROVESCIO non seleziona alcun codice: da K3 a K1 del modello SRC."});
}

}  // namespace
