#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"

#include <algorithm>

namespace {

class InitRaggruppPdC : public BatchTest
{
protected:
	// Ledger, conto, sottoconto, sotto-sottoconto: ledger of 2 and three segments.
	void Piano()
	{
		Struttura(2, 2, 3);
		Mastro("20", LEDGER_COSTS);
		Conto("2001", FALSE);
		Conto("200101", FALSE);
		Conto("200101001", TRUE, nullptr, TRUE);
		Conto("200101002", TRUE);
	}
	std::string Riga(const char* conto)
	{
		const std::string riga = Joined(
			std::string("SELECT PrimoLivello, SecondoLivello, TerzoLivello, QuartoLivello, QuintoLivello, SestoLivello, "
						"SettimoLivello, OttavoLivello, ' ', ProponiInAssestamento, ModificaInAssestamento, "
						"EsplodiInAnalitica, ' ', TipoDettaglio & 65535, ' ', ContoPatrimoniale, InversioneSegno, "
						"EscludiDaImportazione, CodiceBudget, EscludereContoDaImportazione FROM Kvz_RaggruppPdC "
						"WHERE Conto = '") +
			conto + "'");
		return riga.empty() ? "<none>" : riga;
	}
};

TEST_F(InitRaggruppPdC, EveryAccountGroupedAtTheDeepestLevelAndParametersCreated)
{
	Piano();
	ASSERT_TRUE(InitRaggruppamento());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_RaggruppPdC"), 5);
	// Every row has the fourth level; only full-length codes are proposed in adjustments.
	EXPECT_EQ(Riga("20"), "00010000 000 0 000");
	EXPECT_EQ(Riga("200101"), "00010000 000 0 000");
	EXPECT_EQ(Riga("200101001"), "00010000 111 2 000");
	EXPECT_EQ(Riga("200101002"), "00010000 110 0 000");
	EXPECT_EQ(Count("SELECT LenMastro * 1000 + NrSegmenti * 100 + LenSeg1 * 10 + LenSeg3 FROM Kvz_Parametri "
					"WHERE IDParam = 1 AND NomeSeg2 = 'Seg2'"),
			  2323);
	// Each account counted against the whole, and what was done at the end.
	const auto& testi = m_Ui.ProgressTexts();
	EXPECT_NE(std::find(testi.begin(), testi.end(), "Inizializzazione conto 20 in corso (1 di 5) ..."), testi.end());
	EXPECT_EQ(testi.back(), "Elaborazione terminata: 5 conti inizializzati.");
}

TEST_F(InitRaggruppPdC, RowsAlreadySetAreKeptUnlessAllAreReset)
{
	Piano();
	ASSERT_TRUE(InitRaggruppamento());
	// The user's choices on two rows, and a parameters row of another structure.
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET QuartoLivello = 0, SecondoLivello = 1, ProponiInAssestamento = 0, "
						"EsplodiInAnalitica = 0, ContoPatrimoniale = '0101001', InversioneSegno = 1, "
						"EscludiDaImportazione = 1, CodiceBudget = 'B1', EscludereContoDaImportazione = 1 "
						"WHERE Conto IN ('200101001', '200101002')");
	m_pConn->ExecuteSQL("UPDATE Kvz_Parametri SET LenSeg1 = 9");
	Conto("200101003", TRUE);

	ASSERT_TRUE(InitRaggruppamento());
	EXPECT_EQ(Riga("200101001"), "01000000 010 2 010100111B11");  // left as it was
	EXPECT_EQ(Riga("200101003"), "00010000 110 0 000");          // the new account only

	ASSERT_TRUE(InitRaggruppamento(true));
	// Levels, proposals and the analytic flag recomputed; the user's other choices stay.
	EXPECT_EQ(Riga("200101001"), "00010000 111 2 010100111B11");
	EXPECT_EQ(Riga("200101002"), "00010000 110 0 010100111B11");
	EXPECT_EQ(Count("SELECT LenSeg1 FROM Kvz_Parametri"), 9);  // an existing row keeps its structure
}

TEST_F(InitRaggruppPdC, WithoutTheHostsCodeStructureNothingIsWritten)
{
	Mastro("20", LEDGER_COSTS);
	EXPECT_FALSE(InitRaggruppamento());
	EXPECT_TRUE(WasShown("Parametri del piano dei conti del gestionale non impostati"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_RaggruppPdC"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri"), 0);
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

TEST_F(InitRaggruppPdC, AbortStopsTheLoopAndCreatesNoParameters)
{
	Piano();
	m_Ui.AbortAfterPolls(3);
	EXPECT_TRUE(InitRaggruppamento());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_RaggruppPdC"), 2);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri"), 0);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione interrotta su richiesta utente.");
}

}  // namespace
