// The cost-driver model document and the warehouses register driven as a user drives their
// forms: a driver over target models of two companies, its working tables, the reset of the
// shares of a removed target model, and the connection to another company.
#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzDriversMagazzini.h"
#include "kvznet/kvzdrivers/kvzappl/tests/KvzApplFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"

namespace {
const char* const kModelli = "KvzDriversModelli";
const char* const kCosti = "KvzDriversCosti";
const char* const kIncrementi = "KvzDriversIncrementi";

class DriversDocs : public KvzApplLibrary
{
protected:
	// A model of the year in this company: a target of this company must be one.
	static void ModelloDellAnno(const char* modello)
	{
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = 2026;
		t.f_ModelloRiclassific = modello;
		Inserisci(t);
	}
	// A results row of a model's code in a month.
	template <class Rec>
	static void Risultato(Rec& r, const char* modello, const char* codice, int mese, double valore)
	{
		r.f_Esercizio = 2026;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Valore = valore;
		r.f_TotaleRiportato = valore / 2;
		r.f_ValoreBudgetA = 9.0;
		Inserisci(r);
	}
	void Risultato(const char* modello, const char* codice, int mese, double valore)
	{
		Kvz_TRiclassificato r;
		Risultato(r, modello, codice, mese, valore);
	}
	static std::string Valori(SqlConnection& conn, const char* modello)
	{
		return Query(conn, std::string("SELECT CodRiclassificato, Mese, Valore, TotaleRiportato, ValoreBudgetA FROM "
									   "Kvz_Riclassificato WHERE ModelloRiclassific = '") +
								modello + "' ORDER BY CodRiclassificato, Mese");
	}

	DKvzDrivers* m_pDoc = nullptr;
	FormDriver ApriDrivers()
	{
		m_pDoc = Apri<DKvzDrivers>("KvzDrivers");
		EXPECT_NE(m_pDoc, nullptr);
		return FormDriver(m_pDoc);
	}
	// A new driver of the application date's year.
	static void Nuovo(FormDriver& form, const char* modello)
	{
		ASSERT_TRUE(form.New()) << form.GetLastError();
		ASSERT_TRUE(form.Type("Modello", modello)) << form.GetLastError();
		ASSERT_TRUE(form.Type("Descrizione", "Superficie occupata")) << form.GetLastError();
		ASSERT_TRUE(form.Type("Codice drivers", "MQ")) << form.GetLastError();
	}
	static void Modello(FormDriver& form, const char* ditta, const char* modello)
	{
		ASSERT_TRUE(form.AddRow(kModelli)) << form.GetLastError();
		const int n = form.RowCount(kModelli) - 1;
		if (*ditta)
		{
			ASSERT_TRUE(form.TypeCell(kModelli, n, "Ditta", ditta)) << form.GetLastError();
		}
		ASSERT_TRUE(form.TypeCell(kModelli, n, "ModelloRiclassific", modello)) << form.GetLastError();
	}
	static void Costo(FormDriver& form, const char* codice, const char* formula, const char* ribalta,
					  const char* ribaltaStd)
	{
		ASSERT_TRUE(form.AddRow(kCosti)) << form.GetLastError();
		const int n = form.RowCount(kCosti) - 1;
		ASSERT_TRUE(form.TypeCell(kCosti, n, "CodRiclassificCosto", codice)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kCosti, n, "Descrizione", CString("Costo ") + codice)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kCosti, n, "Formula", formula)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kCosti, n, "CodRiclRibaldamento", ribalta)) << form.GetLastError();
		if (*ribaltaStd)
		{
			ASSERT_TRUE(form.TypeCell(kCosti, n, "CodRiclRibaldamentoStd", ribaltaStd)) << form.GetLastError();
		}
	}
	static void Trova(FormDriver& form, const char* modello)
	{
		ASSERT_TRUE(form.Find()) << form.GetLastError();
		ASSERT_TRUE(form.Type("Anno", "2026"));
		ASSERT_TRUE(form.Type("Modello", modello));
		ASSERT_TRUE(form.Save()) << form.GetLastError();
	}
	static std::string Colonna(const FormDriver& form, const char* grid, const char* colonna)
	{
		std::string s;
		for (int i = 0; i < form.RowCount(grid); ++i)
			s += (i ? "," : "") + form.Cell(grid, i, colonna).str();
		return s;
	}
};

// A driver over a model of this company and one of another company's database, with two cost
// lines: saved, found again, then each target model removed with its shares reset where they
// were written.
TEST_F(DriversDocs, TwoCompaniesTwoCostLinesSavedReopenedAndResetOnRemoval)
{
	ModelloDellAnno("CE");
	AfxSetApplicationDate(DataDate(15, 6, 2026));
	Azienda("AZ02", "az02");
	auto altra = AltraAzienda("az02.db");
	Risultato("CE", "RIB", 1, 100);
	Risultato("CE", "RIB", 2, 80);
	Risultato("CE", "RIBS", 1, 30);
	Risultato("CE", "ALTRO", 1, 7);
	{
		Kvz_TRiclassificato_Ext r(altra.get());
		Risultato(r, "CE2", "RIB", 3, 200);
		Kvz_TRiclassificato_Ext s(altra.get());
		Risultato(s, "CE", "RIB", 3, 60);
	}

	FormDriver form = ApriDrivers();
	Nuovo(form, "d1");
	EXPECT_EQ(form.Text("Anno"), "2026");
	Modello(form, "", "ce");
	Modello(form, "az02", "CE2");
	Costo(form, "AFF", "1000", "RIB", "RIBS");
	Costo(form, "PERS", "500", "RIB2", "");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT Esercizio, ModelloDrivers, Ditta, EsercizioRiclassific, ModelloRiclassific FROM "
					"KvzDriversModelli ORDER BY Ditta"),
			  "2026|D1|.|2026|CE;2026|D1|AZ02|2026|CE2");
	EXPECT_EQ(Query("SELECT CodRiclassificCosto, Formula, CodRiclRibaldamento, CodRiclRibaldamentoStd FROM "
					"KvzDriversCosti ORDER BY 1"),
			  "AFF|1000|RIB|RIBS;PERS|500|RIB2|");

	// Found again by a search.
	ASSERT_TRUE(form.Close());
	FormDriver again = ApriDrivers();
	Trova(again, "D1");
	EXPECT_EQ(again.Text("Descrizione"), "Superficie occupata");
	EXPECT_EQ(Colonna(again, kModelli, "Ditta"), ".,AZ02");
	EXPECT_EQ(Colonna(again, kModelli, "ModelloRiclassific"), "CE,CE2");
	EXPECT_EQ(Colonna(again, kModelli, "SelModelliDitta"), "Scegli,Scegli");  // the picker's bitmap
	EXPECT_EQ(Colonna(again, kCosti, "CodRiclassificCosto"), "AFF,PERS");

	// The current company's model: its two cost lines' codes, every month, only Valore and
	// TotaleRiportato; the other company's rows of a model of the same name stay.
	ASSERT_TRUE(again.Edit());
	m_Ui.Clear();
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(again.DeleteRow(kModelli, 0)) << again.GetLastError();
	EXPECT_TRUE(Detto("Si vuole azzerare tutti gli eventuali ribaltamenti calcolati su questo modello?"));
	EXPECT_EQ(Valori(*m_pConn, "CE"), "ALTRO|1|7|3.5|9;RIB|1|0|0|9;RIB|2|0|0|9;RIBS|1|0|0|9");
	EXPECT_EQ(Valori(*altra, "CE"), "RIB|3|60|30|9");
	EXPECT_EQ(Valori(*altra, "CE2"), "RIB|3|200|100|9");

	// The other company's model, in its own database.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(again.DeleteRow(kModelli, 0)) << again.GetLastError();
	EXPECT_EQ(Valori(*altra, "CE2"), "RIB|3|0|0|9");
	EXPECT_EQ(Valori(*altra, "CE"), "RIB|3|60|30|9");
	ASSERT_TRUE(again.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT COUNT(*) FROM KvzDriversModelli"), "0");
	EXPECT_FALSE(Detto("non censita"));
	EXPECT_FALSE(Detto("fallita"));
}

// When the question is asked, what is reset, and a company that cannot be reached.
TEST_F(DriversDocs, RemovalAsksOnlyForASavedDriverAndResetsOnlyOnYes)
{
	ModelloDellAnno("CE");
	AfxSetApplicationDate(DataDate(15, 6, 2026));
	Risultato("CE", "RIB", 1, 100);
	Risultato("CE", "RIBS", 1, 40);
	FormDriver form = ApriDrivers();

	// A new driver asks nothing.
	Nuovo(form, "D1");
	Modello(form, "", "CE");
	Costo(form, "AFF", "1", "RIB", "");
	m_Ui.Clear();
	ASSERT_TRUE(form.DeleteRow(kModelli, 0));
	EXPECT_EQ(Domande(), 0);
	Modello(form, "", "CE");
	Modello(form, "NESSUNA", "CE");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();

	// No: the row goes, nothing is reset.
	ASSERT_TRUE(form.Edit());
	m_Ui.Clear();
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.DeleteRow(kModelli, 0));
	EXPECT_EQ(Domande(), 1);
	EXPECT_EQ(form.RowCount(kModelli), 1);
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|100|50|9;RIBS|1|40|20|9");
	// A company not in the register is said so once, and its row goes all the same.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.DeleteRow(kModelli, 0));
	EXPECT_TRUE(Detto("Azienda NESSUNA non censita."));
	EXPECT_EQ(form.RowCount(kModelli), 0);
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|100|50|9;RIBS|1|40|20|9");
	ASSERT_TRUE(form.Escape());

	// A cost line without a standard code resets the main code only.
	ASSERT_TRUE(form.Edit());
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.DeleteRow(kModelli, 0));
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|0|0|9;RIBS|1|40|20|9");
	ASSERT_TRUE(form.Save());

	// A driver without cost lines asks, and resets nothing.
	Nuovo(form, "D2");
	Modello(form, "", "CE");
	ASSERT_TRUE(form.Save());
	Risultato("CE", "RIB", 2, 100);
	ASSERT_TRUE(form.Edit());
	m_Ui.Clear();
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.DeleteRow(kModelli, 0));
	EXPECT_EQ(Domande(), 1);
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|0|0|9;RIB|2|100|50|9;RIBS|1|40|20|9");
}

// A failed connect leaves no connection in use: what an earlier step left open is never used
// for a company that could not be reached.
TEST_F(DriversDocs, AFailedConnectLeavesNoConnection)
{
	Azienda("AZ02", "az02");
	Azienda("ROTTA", "manca");
	Azienda("QUI", "azienda");  // this company's own database, through the register
	auto altra = AltraAzienda("az02.db");
	Risultato("CE", "RIB", 1, 100);
	{
		Kvz_TRiclassificato_Ext r(altra.get());
		Risultato(r, "CE", "RIB", 1, 300);
	}
	FormDriver form = ApriDrivers();
	DKvzDrivers* pDoc = m_pDoc;

	// The database reached is told by what it holds.
	const char* const qui = "RIB|1|100|50|9";
	struct Caso
	{
		const char* ditta;
		const char* valori;  // null: no connection
		const char* messaggio;
	} casi[] = {{"", qui, nullptr},
				{".", qui, nullptr},
				{"QUI", qui, nullptr},
				{"AZ02", "RIB|1|300|150|9", nullptr},
				{"NESSUNA", nullptr, "Azienda NESSUNA non censita."},
				{"ROTTA", nullptr, "Connessione al database esterno ROTTA fallita."}};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.ditta);
		// Each case starts from a connection in use.
		ASSERT_TRUE(pDoc->ConnectDB(DataStr(".")));
		m_Ui.Clear();
		EXPECT_EQ(pDoc->ConnectDB(DataStr(c.ditta)), c.valori != nullptr);
		if (c.valori)
		{
			ASSERT_NE(pDoc->GetConnessioneInUso(), nullptr);
			EXPECT_EQ(Valori(*pDoc->GetConnessioneInUso(), "CE"), c.valori);
		}
		else
			EXPECT_EQ(pDoc->GetConnessioneInUso(), nullptr);
		if (c.messaggio)
			EXPECT_TRUE(Detto(c.messaggio)) << m_Ui.LastMessage().GetString();
		else
			EXPECT_TRUE(m_Ui.Messages().empty());
	}

	// The reset of an unreachable company touches no other database.
	ASSERT_TRUE(pDoc->ConnectDB(DataStr(".")));
	pDoc->AzzeraValori_Ext(DataStr("ROTTA"), DataInt(2026), DataStr("CE"), DataStr("RIB"), DataStr());
	pDoc->AzzeraValori_Ext(DataStr("NESSUNA"), DataInt(2026), DataStr("CE"), DataStr("RIB"), DataStr());
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|100|50|9");
	EXPECT_EQ(pDoc->GetConnessioneInUso(), nullptr);
	// Through the register to this very database, it is reset here.
	pDoc->AzzeraValori_Ext(DataStr("QUI"), DataInt(2026), DataStr("CE"), DataStr("RIB"), DataStr());
	EXPECT_EQ(Valori(*m_pConn, "CE"), "RIB|1|0|0|9");
	EXPECT_EQ(Valori(*altra, "CE"), "RIB|1|300|150|9");

	// A companies register that cannot be read is a failed connect, told as one.
	m_pConn->ExecuteSQL("DROP TABLE Kvz_Aziende");
	ASSERT_TRUE(pDoc->ConnectDB(DataStr(".")));
	m_Ui.Clear();
	EXPECT_FALSE(pDoc->ConnectDB(DataStr("AZ02")));
	EXPECT_EQ(pDoc->GetConnessioneInUso(), nullptr);
	EXPECT_TRUE(Detto("Connessione al database esterno AZ02 fallita.")) << m_Ui.LastMessage().GetString();
}

// The increments grid offers the target models and cost codes as the other tabs hold them,
// saved or not, and fills the company and descriptions of what is picked.
TEST_F(DriversDocs, TheIncrementsTabOffersTheModelsAndCostsOfTheForm)
{
	ModelloDellAnno("CE");
	AfxSetApplicationDate(DataDate(15, 6, 2026));
	Azienda("AZ02", "az02");
	FormDriver form = ApriDrivers();
	Nuovo(form, "D3");
	Modello(form, "", "CE");
	ASSERT_TRUE(form.TypeCell(kModelli, 0, "Descrizione", "Conto economico"));
	Modello(form, ".", "CE");
	Modello(form, "AZ02", "CE2");
	Costo(form, "AFF", "1", "RIB", "");
	ASSERT_TRUE(form.ActivateTab("KvzDrivers", "Incrementi/Decrementi")) << form.GetLastError();
	// The model twice in the grid gives one working row, of the company the save stores.
	EXPECT_EQ(Query("SELECT Ditta, ModelloRiclassific, Descrizione FROM KvzDriversTempModelli WHERE ModelloDrivers "
					"= 'D3' ORDER BY Ditta"),
			  ".|CE|Conto economico;AZ02|CE2|");
	EXPECT_EQ(Query("SELECT CodRiclassificCosto, Descrizione FROM KvzDriversTempCosti"), "AFF|Costo AFF");

	ASSERT_TRUE(form.AddRow(kIncrementi));
	ASSERT_TRUE(form.TypeCell(kIncrementi, 0, "ModelloRiclassificInter", "CE2")) << form.GetLastError();
	EXPECT_EQ(form.Cell(kIncrementi, 0, "Ditta"), "AZ02");
	ASSERT_TRUE(form.TypeCell(kIncrementi, 0, "CodRiclassificCosto", "AFF")) << form.GetLastError();
	EXPECT_EQ(form.Cell(kIncrementi, 0, "KvzDriversIncrementiCodRiclassificCostoHotLinkDescription"), "Costo AFF");
	ASSERT_TRUE(form.TypeCell(kIncrementi, 0, "IncrMarzo", "10")) << form.GetLastError();
	ASSERT_TRUE(form.AddRow(kIncrementi));
	ASSERT_TRUE(form.TypeCell(kIncrementi, 1, "ModelloRiclassificInter", "CE"));
	EXPECT_EQ(form.Cell(kIncrementi, 1, "Ditta"), ".");
	EXPECT_EQ(form.Cell(kIncrementi, 1, "KvzDriversIncrementiModelloRiclassificInterHotLinkDescription"),
			  "Conto economico");
	ASSERT_TRUE(form.TypeCell(kIncrementi, 1, "CodRiclassificCosto", "AFF"));

	// The same target model twice is one key: the save refuses it and keeps the rows.
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(Detto("Duplicated Key in KvzDriversModelli")) << m_Ui.LastMessage().GetString();
	ASSERT_TRUE(form.DeleteRow(kModelli, 1));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT Ditta, ModelloRiclassificInter, CodRiclassificCosto, IncrMarzo FROM KvzDriversIncrementi "
					"ORDER BY Ditta"),
			  ".|CE|AFF|0;AZ02|CE2|AFF|10");

	// Read back, each increment row shows the descriptions of its model and cost code.
	Trova(form, "D3");
	EXPECT_EQ(Colonna(form, kIncrementi, "KvzDriversIncrementiModelloRiclassificInterHotLinkDescription"),
			  "Conto economico,");
	EXPECT_EQ(Colonna(form, kIncrementi, "KvzDriversIncrementiCodRiclassificCostoHotLinkDescription"),
			  "Costo AFF,Costo AFF");
}

// The cost formulas are checked as they are typed; the warehouse shows its description.
TEST_F(DriversDocs, CostFormulasAreCheckedAndTheWarehouseIsDescribed)
{
	AfxSetApplicationDate(DataDate(15, 6, 2026));
	{
		TKvzDriversMagazzini m;
		m.f_CodMagazzino = "MAG1";
		m.f_Descrizione = "Magazzino centrale";
		Inserisci(m);
	}
	FormDriver form = ApriDrivers();
	Nuovo(form, "D4");
	ASSERT_TRUE(form.Type("Codice magazzino", "mag1"));
	EXPECT_EQ(form.Text("KVZ_DRIVERS_DESCRI_MAGAZZINO"), "Magazzino centrale");
	m_Ui.Clear();
	Costo(form, "AFF", "1+(", "RIB", "");
	EXPECT_TRUE(Detto("Errore nella formula.")) << m_Ui.LastMessage().GetString();
	m_Ui.Clear();
	ASSERT_TRUE(form.TypeCell(kCosti, 0, "Formula", "1000*2"));
	EXPECT_FALSE(Detto("Errore nella formula."));
	EXPECT_EQ(m_pDoc->GetCodiceCheUtilizza().GetString(), "AFF");
	EXPECT_EQ(m_pDoc->GetModello().GetString(), "D4");
	// Without a driver code the key check refuses the record.
	ASSERT_TRUE(form.Type("Modello", ""));
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(Detto("Empty primary key segment.")) << m_Ui.LastMessage().GetString();
	ASSERT_TRUE(form.Type("Modello", "D4"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(form.Text("KVZ_DRIVERS_DESCRI_MAGAZZINO"), "Magazzino centrale");
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("Anno"));
	EXPECT_FALSE(form.IsEditable("Modello"));
	EXPECT_TRUE(form.IsEditable("Descrizione"));
}

class Magazzini : public KvzApplLibrary
{
};

TEST_F(Magazzini, ACodeIsRequiredAndKeptInEditMode)
{
	auto* pDoc = Apri<DKvzDriversMagazzini>("KvzDriversMagazzini");
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Descrizione", "Senza codice"));
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(m_Ui.LastMessage().Find("Empty primary key segment.") >= 0) << m_Ui.LastMessage().GetString();
	ASSERT_TRUE(form.Type("Codice", "nord"));
	ASSERT_TRUE(form.Type("Nota4", "Piano terra"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT CodMagazzino, Descrizione, Nota4 FROM KvzDriversMagazzini"), "NORD|Senza codice|Piano terra");
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("Codice"));
	ASSERT_TRUE(form.Escape());
	// Found by its description.
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Descrizione", "Senza codice"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.Text("Codice"), "NORD");
}

}  // namespace
