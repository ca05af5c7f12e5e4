// The copy of a year's cost drivers into the application's year: heads, target models, cost
// lines, increments and the symbols each driver owns, with rewriting off and on.
#include "kvznet/kvzdrivers/kvzappl/BDCopiaDrivers.h"
#include "kvznet/kvzdrivers/kvzappl/tests/KvzApplFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"

namespace {

class CopiaDrivers : public KvzApplLibrary
{
protected:
	void SetUp() override
	{
		KvzApplLibrary::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, 2026));
		for (const char* codice : {"D1", "D2"})
		{
			TKvzDriversTesta t;
			t.f_Esercizio = 2025;
			t.f_ModelloDrivers = codice;
			t.f_Descrizione = CString("Driver ") + codice;
			t.f_RiclassificazioneDrivers = "MQ";
			Inserisci(t);
			TKvzDriversModelli m;
			m.f_Esercizio = 2025;
			m.f_ModelloDrivers = codice;
			m.f_Ditta = ".";
			m.f_EsercizioRiclassific = 2024;
			m.f_ModelloRiclassific = "MA";
			m.f_Perc[2] = 0.25;
			Inserisci(m);
			TKvzDriversCosti c;
			c.f_Esercizio = 2025;
			c.f_ModelloDrivers = codice;
			c.f_CodRiclassificCosto = "AFF";
			c.f_Formula = "_S1*2";
			Inserisci(c);
			// Two increments of one model and cost line, in two companies.
			for (const char* ditta : {".", "AZ02"})
			{
				TKvzDriversIncrementi i;
				i.f_Esercizio = 2025;
				i.f_ModelloDrivers = codice;
				i.f_Ditta = ditta;
				i.f_ModelloRiclassificInter = "MA";
				i.f_CodRiclassificCosto = "AFF";
				i.f_Incr[0] = 10;
				Inserisci(i);
			}
		}
		Simbolo(2025, "D1", "S1", 2025);
		Simbolo(2025, "D1", "S2", 0);
		for (const char* conto : {"0101", "0102"})
		{
			Kvz_TElencoContiSimboloPBase e;
			e.f_Esercizio = 2025;
			e.f_ModelloRiclassific = "D1";
			e.f_NomeSimbolo = "S1";
			e.f_ContoSelez = conto;
			Inserisci(e);
		}
	}
	static void Simbolo(int anno, const char* driver, const char* nome, int valoreEs)
	{
		Kvz_TAnagSimboli a;
		a.f_Esercizio = anno;
		a.f_ModelloRiclassific = driver;
		a.f_NomeSimbolo = nome;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
		Inserisci(a);
		Kvz_TSimboliCodiciRiclass s;
		s.f_Esercizio = anno;
		s.f_ModelloRiclassific = driver;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEs = valoreEs;
		Inserisci(s);
	}
	FormDriver ApriCopia()
	{
		auto* pDoc = Apri<BDCopiaDrivers>("CopiaDrivers");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	std::string Anno2026(const char* tabella, const char* colonne)
	{
		return Query(std::string("SELECT ") + colonne + " FROM " + tabella + " WHERE Esercizio = 2026 ORDER BY " +
					 colonne);
	}
};

TEST_F(CopiaDrivers, EveryDriverIsCopiedWithItsRowsAndSymbolsIntoTheYear)
{
	FormDriver form = ApriCopia();
	EXPECT_EQ(form.Text("COPIA_DRIVERS_ESERCIZIO"), "2025");
	EXPECT_FALSE(form.IsEditable("COPIA_DRIVERS_DAL_CODICE"));
	ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(form.Text("COPIA_DRIVERS_STATO_ELABORAZIONE"), "Elaborazione terminata.");
	EXPECT_EQ(Anno2026("KvzDriversTesta", "ModelloDrivers, Descrizione"), "D1|Driver D1;D2|Driver D2");
	// The target models point to the target year.
	EXPECT_EQ(Anno2026("KvzDriversModelli", "ModelloDrivers, EsercizioRiclassific, ModelloRiclassific"),
			  "D1|2026|MA;D2|2026|MA");
	EXPECT_EQ(Anno2026("KvzDriversCosti", "ModelloDrivers, CodRiclassificCosto, Formula"), "D1|AFF|_S1*2;D2|AFF|_S1*2");
	EXPECT_EQ(Anno2026("KvzDriversIncrementi", "ModelloDrivers, Ditta, IncrGennaio"),
			  "D1|.|10;D1|AZ02|10;D2|.|10;D2|AZ02|10");
	EXPECT_EQ(Anno2026("Kvz_AnagSimboli", "ModelloRiclassific, NomeSimbolo, DataCreazione"),
			  "D1|S1|2026-06-15;D1|S2|2026-06-15");
	// A symbol valued from a year follows the copy; one without keeps none.
	EXPECT_EQ(Anno2026("Kvz_SimboliCodRiclassif", "NomeSimbolo, ValoreEs"), "S1|2026;S2|0");
	// The account list is copied once: the rows added are not read again.
	EXPECT_EQ(Anno2026("Kvz_ElencoContiSimboloPBase", "NomeSimbolo, ContoSelez"), "S1|0101;S1|0102");
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_ElencoContiSimboloPBase"), "4");
}

// Copied onto itself with rewriting on, a driver of the year would lose the symbols it is
// copied from: nothing of the year may change.
TEST_F(CopiaDrivers, AYearOntoItselfIsRefused)
{
	{
		TKvzDriversTesta t;
		t.f_Esercizio = 2026;
		t.f_ModelloDrivers = "D3";
		t.f_Descrizione = "Driver D3";
		Inserisci(t);
		Simbolo(2026, "D3", "S3", 2026);
		Kvz_TElencoContiSimboloPBase e;
		e.f_Esercizio = 2026;
		e.f_ModelloRiclassific = "D3";
		e.f_NomeSimbolo = "S3";
		e.f_ContoSelez = "0301";
		Inserisci(e);
	}
	FormDriver form = ApriCopia();
	ASSERT_TRUE(form.Type("COPIA_DRIVERS_ESERCIZIO", "2026"));
	ASSERT_TRUE(form.Press("COPIA_DRIVERS_RISCRIVERE_DRIVERS"));
	m_Ui.Clear();
	EXPECT_FALSE(form.RunBatch());
	EXPECT_TRUE(Detto("L'esercizio da copiare (2026) è l'esercizio corrente: indicarne un altro."))
		<< m_Ui.LastMessage().GetString();
	EXPECT_EQ(Anno2026("KvzDriversTesta", "ModelloDrivers, Descrizione"), "D3|Driver D3");
	EXPECT_EQ(Anno2026("Kvz_AnagSimboli", "ModelloRiclassific, NomeSimbolo"), "D3|S3");
	EXPECT_EQ(Anno2026("Kvz_SimboliCodRiclassif", "NomeSimbolo, ValoreEs"), "S3|2026");
	EXPECT_EQ(Anno2026("Kvz_ElencoContiSimboloPBase", "NomeSimbolo, ContoSelez"), "S3|0301");
	EXPECT_NE(form.Text("COPIA_DRIVERS_STATO_ELABORAZIONE"), "Elaborazione terminata.");
}

// A head already in the year is skipped with its symbols unless rewriting; its missing rows are
// added all the same. Rewriting overwrites it and copies its symbols again, a code holding a
// quote as well.
TEST_F(CopiaDrivers, ASkippedHeadStillGetsItsMissingRows)
{
	{
		TKvzDriversTesta t;
		t.f_Esercizio = 2025;
		t.f_ModelloDrivers = "D'X";
		t.f_Descrizione = "Driver D'X";
		Inserisci(t);
		Simbolo(2025, "D'X", "SX", 2025);
	}
	for (const char* codice : {"D1", "D'X"})
	{
		TKvzDriversTesta t;
		t.f_Esercizio = 2026;
		t.f_ModelloDrivers = codice;
		t.f_Descrizione = "Gia' presente";
		Inserisci(t);
		Simbolo(2026, codice, "S9", 2026);
	}
	// One driver's rows of 2026 (the codes' order is left to the database's collation).
	auto di = [this](const char* codice, const char* tabella, const char* colonne, const char* colonnaCodice) {
		CString letterale = codice;
		letterale.Replace("'", "''");
		return Query(CString::Formatted("SELECT %s FROM %s WHERE Esercizio = 2026 AND %s = '%s' ORDER BY %s", colonne,
										tabella, colonnaCodice, letterale.GetString(), colonne)
						 .str());
	};
	auto teste = [&](const char* codice) { return di(codice, "KvzDriversTesta", "Descrizione", "ModelloDrivers"); };
	auto simboli = [&](const char* codice) { return di(codice, "Kvz_AnagSimboli", "NomeSimbolo", "ModelloRiclassific"); };
	FormDriver form = ApriCopia();
	ASSERT_TRUE(form.Press("COPIA_DRIVERS_TUTTI"));
	EXPECT_TRUE(form.IsEditable("COPIA_DRIVERS_DAL_CODICE"));
	// D'X sorts before D1, D2 after it.
	ASSERT_TRUE(form.Type("COPIA_DRIVERS_DAL_CODICE", "d'x"));
	ASSERT_TRUE(form.Type("COPIA_DRIVERS_AL_CODICE", "d1"));
	ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().GetString();
	for (const char* codice : {"D1", "D'X"})
	{
		EXPECT_EQ(teste(codice), "Gia' presente") << codice;
		EXPECT_EQ(simboli(codice), "S9") << codice;
	}
	EXPECT_EQ(Query("SELECT COUNT(*) FROM KvzDriversTesta WHERE Esercizio = 2026"), "2");
	EXPECT_EQ(Anno2026("KvzDriversModelli", "ModelloDrivers"), "D1");
	EXPECT_EQ(Anno2026("KvzDriversCosti", "ModelloDrivers"), "D1");
	EXPECT_EQ(Anno2026("KvzDriversIncrementi", "ModelloDrivers, Ditta"), "D1|.;D1|AZ02");

	ASSERT_TRUE(form.Press("COPIA_DRIVERS_RISCRIVERE_DRIVERS"));
	ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(teste("D1"), "Driver D1");
	EXPECT_EQ(simboli("D1"), "S1;S2");
	EXPECT_EQ(teste("D'X"), "Driver D'X");
	EXPECT_EQ(simboli("D'X"), "SX");
	EXPECT_EQ(di("D'X", "Kvz_SimboliCodRiclassif", "NomeSimbolo, ValoreEs", "ModelloRiclassific"), "SX|2026");
	EXPECT_EQ(Anno2026("Kvz_ElencoContiSimboloPBase", "ContoSelez"), "0101;0102");
}

}  // namespace
