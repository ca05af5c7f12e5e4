// The results viewer driven as a user drives its form: a year and model found, their results
// grouped by data kind, code and month in a grid that only shows them.
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificatiDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
const char* const kGrid = "Righe modelli di riclassificazione";

struct Risultato
{
	const char* modello;
	const char* codice;
	int mese;
	int tipoDato;
	double valore;
	double budgetA = 0;
	double formula10 = 0;
	int esercizio = 2026;
};

class RiclassificatiViewer : public KvzDocumentsLibrary
{
protected:
	void Testata(int esercizio, const char* modello, const char* descrizione, int tipoElaborazione = 0)
	{
		Kvz_TRiclassificatoTesta rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = esercizio;
		rec.f_TipoElaborazione = DataEnum(E_KVZ_TIPOELABORAZIONE, static_cast<WORD>(tipoElaborazione));
		rec.f_ModelloRiclassific = modello;
		rec.f_Descrizione = descrizione;
		t.Update();
	}
	void Risultati(std::initializer_list<Risultato> righe)
	{
		Kvz_TRiclassificato rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		for (const Risultato& r : righe)
		{
			t.AddNew();
			rec.f_Esercizio = r.esercizio;
			rec.f_ModelloRiclassific = r.modello;
			rec.f_CodRiclassificato = r.codice;
			rec.f_Mese = r.mese;
			rec.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, static_cast<WORD>(r.tipoDato));
			rec.f_Descrizione = CString("Riga ") + r.codice + CString::Formatted(" %d", r.tipoDato);
			rec.f_Valore = r.valore;
			rec.f_ValoreBudgetA = r.budgetA;
			rec.f_Valore10 = r.formula10;
			t.Update();
		}
	}
	long Conta(const char* table)
	{
		auto st = m_pConn->Db().Prepare(CString::Formatted("SELECT COUNT(*) FROM %s", table).str());
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}
	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CDeRiclassificatiDoc>("BDDeRiclassificati");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	// The grid's rows as "code/month value".
	static std::vector<std::string> Righe(const FormDriver& form)
	{
		std::vector<std::string> righe;
		for (int i = 0; i < form.RowCount(kGrid); ++i)
			righe.push_back((form.Cell(kGrid, i, "Codice") + "/" + form.Cell(kGrid, i, "Mese") + " " +
							 form.Cell(kGrid, i, "Formula"))
								.str());
		return righe;
	}
	static void Cerca(FormDriver& form, const char* esercizio, const char* modello)
	{
		ASSERT_TRUE(form.Find());
		ASSERT_TRUE(form.Type("Esercizio", esercizio)) << form.GetLastError();
		ASSERT_TRUE(form.Type("Modello", modello)) << form.GetLastError();
	}
};
}  // namespace

TEST_F(RiclassificatiViewer, OneRowPerDataKindCodeAndMonthAndAModelSwitchReplacesTheRows)
{
	Testata(2026, "CE", "Conto economico");
	Testata(2026, "SP", "Stato patrimoniale");
	Testata(2026, "VUOTO", "Senza risultati");
	Risultati({
		{"CE", "A", 3, 0, 100},
		{"CE", "B", 3, 0, 40},
		// A month stored for two kinds of data (two runs) is two rows: no figure adds up
		// different kinds.
		{"CE", "A", 4, 3, 5, 1, 2},
		{"CE", "A", 4, 1, 120, 10, 0.5},
		// Here A and B hold month 3 only: two codes, two rows.
		{"SP", "A", 3, 0, 7},
		{"SP", "B", 3, 0, 8},
		{"CE", "A", 3, 0, 999, 0, 0, 2025},  // another year
	});
	FormDriver form = Apri();
	ASSERT_EQ(form.RowCount(kGrid), 0);

	// Typing the model in the search fills the grid at once; another model replaces its rows.
	Cerca(form, "2026", "CE");
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/3 100.00", "A/4 120.00", "A/4 5.00", "B/3 40.00"}));
	ASSERT_TRUE(form.Type("Modello", "SP"));
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/3 7.00", "B/3 8.00"}));
	ASSERT_TRUE(form.Type("Modello", "CE"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.Text("Descrizione"), "Conto economico");
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/3 100.00", "A/4 120.00", "A/4 5.00", "B/3 40.00"}));
	const struct
	{
		int riga;
		const char *budgetA, *formula10, *calcolo, *descrizione;
	} attesi[] = {{1, "10.00", "0.50", "", "Riga A 1"}, {2, "1.00", "2.00", "Valore assestato", "Riga A 3"}};
	for (const auto& a : attesi)
	{
		EXPECT_EQ(form.Cell(kGrid, a.riga, "BudgetA"), a.budgetA) << a.riga;
		EXPECT_EQ(form.Cell(kGrid, a.riga, "Formula10"), a.formula10) << a.riga;
		if (*a.calcolo)
		{
			EXPECT_EQ(form.Cell(kGrid, a.riga, "Calcolo"), a.calcolo) << a.riga;
		}
		EXPECT_EQ(form.Cell(kGrid, a.riga, "Descrizione"), a.descrizione) << a.riga;
	}
	EXPECT_NE(form.Cell(kGrid, 1, "Calcolo"), form.Cell(kGrid, 2, "Calcolo"));

	// Browsing shows each header with its own rows; a model without results shows none.
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Escape());  // leaving a search: browsing walks every header
	ASSERT_TRUE(form.First());
	EXPECT_EQ(form.Text("Modello"), "CE");
	EXPECT_EQ(form.RowCount(kGrid), 4);
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.Text("Modello"), "SP");
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/3 7.00", "B/3 8.00"}));
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.Text("Modello"), "VUOTO");
	EXPECT_EQ(form.RowCount(kGrid), 0);
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(RiclassificatiViewer, OnlyTheModelCodeRefillsTheGrid)
{
	Risultati({{"CE", "A", 1, 0, 10}, {"CE", "A", 1, 0, 20, 0, 0, 2025}});
	FormDriver form = Apri();
	Cerca(form, "2026", "CE");
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/1 10.00"}));
	ASSERT_TRUE(form.Type("Esercizio", "2025"));
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/1 10.00"}));
	ASSERT_TRUE(form.Type("Modello", "ce"));  // the same code, typed again: no change, no refill
	ASSERT_TRUE(form.Type("Modello", "ALTRO"));
	EXPECT_EQ(form.RowCount(kGrid), 0);
	ASSERT_TRUE(form.Type("Modello", "CE"));
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/1 20.00"}));
}

TEST_F(RiclassificatiViewer, TheGridOnlyShowsAndSavingTheHeaderLeavesTheResults)
{
	Testata(2026, "CE", "Conto economico");
	Risultati({{"CE", "A", 3, 0, 100}, {"CE", "A", 3, 1, 50}});
	FormDriver form = Apri();
	ASSERT_TRUE(form.First());
	ASSERT_EQ(form.RowCount(kGrid), 2);
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("Modello"));
	EXPECT_FALSE(form.IsEditable("Esercizio"));
	EXPECT_FALSE(form.IsCellEditable(kGrid, 0, "Formula"));
	EXPECT_FALSE(form.AddRow(kGrid));
	EXPECT_FALSE(form.DeleteRow(kGrid, 0));
	ASSERT_TRUE(form.Type("Descrizione", "CE rivisto"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	// The grid's rows are not written back over the results.
	EXPECT_EQ(Conta("Kvz_Riclassificato"), 2);
	Kvz_TRRiclassificatoMesi mesi;
	ASSERT_EQ(mesi.FindRecord(DataInt(2026), DataStr("CE"), DataStr("A"), DataInt(3)), TableReader::FOUND);
	EXPECT_EQ(form.Text("Descrizione"), "CE rivisto");
	EXPECT_EQ(Righe(form), (std::vector<std::string>{"A/3 100.00", "A/3 50.00"}));
}

TEST_F(RiclassificatiViewer, AHeaderNeedsItsModel)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Esercizio", "2026"));
	EXPECT_FALSE(form.Save());
	ASSERT_FALSE(m_Ui.Messages().empty());
	EXPECT_EQ(m_Ui.Messages().back().text, "Indicare sia l'esercizio che il codice modello.");
	EXPECT_EQ(Conta("Kvz_RiclassificatoTesta"), 0);
}

TEST_F(RiclassificatiViewer, HeadersOfOneModelRunBothWaysShowTheirOwnDescription)
{
	Testata(2026, "CE", "Standard", 0);
	Testata(2026, "CE", "Per codice di raggruppamento", 1);
	FormDriver form = Apri();
	ASSERT_TRUE(form.Last());
	EXPECT_EQ(form.Text("Descrizione"), "Per codice di raggruppamento");
	ASSERT_TRUE(form.Prev());
	EXPECT_EQ(form.Text("Descrizione"), "Standard");
}
