#include "kvznet/kvzmod/kvzbatch/AssegnaContoPatrim.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"

namespace {

class AssegnaContoPatrim : public BatchTest
{
protected:
	// Ledger of 2, then segments of 2, 2 and 3: levels 1 to 4 are codes of 2, 4, 6 and 9.
	void Piano()
	{
		Struttura(2, 2, 3);
		Mastro("01", LEDGER_ASSETS, "Attivita'");
		Conto("0101", TRUE, "Immobilizzazioni");
		Conto("010101", TRUE, "Terreni");
		Mastro("20", LEDGER_COSTS, "Costi");
		Conto("2001", FALSE, "Acquisti");
		Conto("200101001", TRUE);
		Conto("200101002", TRUE);
		Conto("2002", TRUE);
		Raggruppamento("0101", 2);
		Raggruppamento("010101", 2);
		Raggruppamento("2001", 2);       // grouped at its own level: updated
		Raggruppamento("200101001", 2);  // below its grouping level: passed over
		Raggruppamento("200101002", 4);  // updated, though missing from the register
		Raggruppamento("2002", 0);       // no level flagged, a code of level 2: passed over
		Raggruppamento("201", 0);        // no level flagged, a code of no level: updated
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = 2026;
		c.f_ContoKvz = "2001";
		Insert(c);
		c.f_Esercizio = 2025;
		Insert(c);  // another year's register is not touched
	}
	void Raggruppamento(const char* conto, int nLivello)
	{
		Kvz_TRaggruppPdC r;
		r.f_Conto = conto;
		DataBool* livelli[] = {&r.f_PrimoLivello, &r.f_SecondoLivello, &r.f_TerzoLivello, &r.f_QuartoLivello};
		if (nLivello > 0)
			*livelli[nLivello - 1] = TRUE;
		r.f_ContoPatrimoniale = "OLD";
		Insert(r);
	}
	FormDriver Apri() { return BatchTest::Apri(RUNTIME_CLASS(Kvz_AssegnaContoPatrimDoc), RUNTIME_CLASS(Kvz_AssegnaContoPatrimView)); }
	// A grid row typed as the user would: the from account, then the to account when given.
	void Riga(FormDriver& form, const char* dal, const char* al, const char* patrimoniale)
	{
		ASSERT_TRUE(form.AddRow("Conti patrimoniali"));
		const int n = form.RowCount("Conti patrimoniali") - 1;
		ASSERT_TRUE(form.TypeCell("Conti patrimoniali", n, "DalConto", dal));
		if (al)
		{
			ASSERT_TRUE(form.TypeCell("Conti patrimoniali", n, "AlConto", al));
		}
		if (*patrimoniale)
		{
			ASSERT_TRUE(form.TypeCell("Conti patrimoniali", n, "ContoPatrimoniale", patrimoniale));
		}
	}
	// Every grouping row's balance-sheet account, in code order.
	std::string Patrimoniali()
	{
		return Joined("SELECT Conto, ContoPatrimoniale FROM Kvz_RaggruppPdC ORDER BY Conto", "=");
	}
	std::string Collegato(int anno)
	{
		auto v = Scalar("SELECT ContoCollegato FROM Kvz_AnagConti WHERE ContoKvz = '2001' AND Esercizio = " +
						std::to_string(anno));
		return v ? std::get<std::string>(*v) : "<none>";
	}
};

TEST_F(AssegnaContoPatrim, TypingTheAccountsFillsTheRowAndChecksTheBalanceSheetAccount)
{
	Piano();
	FormDriver form = Apri();
	ASSERT_TRUE(form.AddRow("Conti patrimoniali"));
	ASSERT_TRUE(form.TypeCell("Conti patrimoniali", 0, "DalConto", "20"));
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "AlConto"), "20zzzzzz");
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "DescrizioneDal"), "Costi");
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "DescrizioneAl"), "Costi");
	ASSERT_TRUE(form.TypeCell("Conti patrimoniali", 0, "AlConto", "2001"));
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "DescrizioneAl"), "Acquisti");

	// A balance-sheet account grouped at its own level is taken, with its description.
	ASSERT_TRUE(form.TypeCell("Conti patrimoniali", 0, "ContoPatrimoniale", "0101"));
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "DescrizioneConto"), "Immobilizzazioni");
	// One below its grouping level is refused and cleared.
	EXPECT_FALSE(form.TypeCell("Conti patrimoniali", 0, "ContoPatrimoniale", "010101"));
	EXPECT_TRUE(WasShown("Sono collegabili ai conti economici i conti patrimoniali raggruppati"));
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "ContoPatrimoniale"), "");
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "DescrizioneConto"), "");
	// An income-statement account is no balance-sheet account at all.
	EXPECT_FALSE(form.TypeCell("Conti patrimoniali", 0, "ContoPatrimoniale", "2001"));
	EXPECT_EQ(form.Cell("Conti patrimoniali", 0, "ContoPatrimoniale"), "");
}

TEST_F(AssegnaContoPatrim, ARangeUpdatesTheAccountsGroupedAtTheirLevelOnly)
{
	Piano();
	FormDriver form = Apri();
	Riga(form, "0", "9", "0101");  // balance-sheet ledgers are passed over
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Patrimoniali(),
			  "0101=OLD 010101=OLD 2001=0101 200101001=OLD 200101002=0101 2002=OLD 201=0101");
	EXPECT_EQ(Collegato(2026), "0101");
	EXPECT_EQ(Collegato(2025), "");
	// Every account of the range counted "n di N", those passed over too.
	const std::vector<CString> avanzamento = m_Ui.ProgressTexts();
	ASSERT_GE(avanzamento.size(), 3u);
	EXPECT_EQ(avanzamento.back(), "Aggiornati 3 conti.");
	EXPECT_NE(avanzamento[1].Find("(1 di 7) ..."), -1) << avanzamento[1].str();
	EXPECT_NE(avanzamento[avanzamento.size() - 2].Find("conto 201 "), -1) << avanzamento[avanzamento.size() - 2].str();
	EXPECT_NE(avanzamento[avanzamento.size() - 2].Find("(7 di 7) ..."), -1) << avanzamento[avanzamento.size() - 2].str();
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

TEST_F(AssegnaContoPatrim, LaterRowsWriteLastAndARowWithoutAccountClearsIt)
{
	Piano();
	FormDriver form = Apri();
	Riga(form, "20", nullptr, "0101");
	Riga(form, "2001", "2001", "");  // the empty account is written too
	Riga(form, "", nullptr, "0101");  // no range: skipped
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Patrimoniali(), "0101=OLD 010101=OLD 2001= 200101001=OLD 200101002=0101 2002=OLD 201=0101");
	EXPECT_EQ(Collegato(2026), "");
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Aggiornati 4 conti.");
}

TEST_F(AssegnaContoPatrim, WithoutTheHostsCodeStructureNothingIsWritten)
{
	Mastro("20", LEDGER_COSTS);
	Raggruppamento("2001", 0);
	FormDriver form = Apri();
	Riga(form, "20", nullptr, "");
	EXPECT_FALSE(form.RunBatch());
	EXPECT_TRUE(WasShown("Parametri del piano dei conti del gestionale non impostati"));
	EXPECT_EQ(Patrimoniali(), "2001=OLD");
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

}  // namespace
