#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <thread>

#include "platform/erp/erpdemo/DemoCompany.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/plvgeneric/FunctionWrappers.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {

// A company whose fiscal year runs from July to June: year 2025 is 1 July 2025 to 30 June 2026.
class ImportaSaldi : public BatchTest
{
protected:
	void SetUp() override
	{
		BatchTest::SetUp();
		Struttura(2, 3);
		Esercizio(2025, DataDate(1, 7, 2025), DataDate(30, 6, 2026));
		Esercizio(2026, DataDate(1, 7, 2026), DataDate(30, 6, 2027), FALSE);
		Mastro("01", LEDGER_ASSETS, "Immobilizzazioni");
		Conto("0101", FALSE);
		Conto("0101001", TRUE);
		Conto("0101002", TRUE);
		Conto("0101003", TRUE);
		Conto("0102", FALSE);
		Conto("0102001", TRUE);
		Mastro("20", LEDGER_COSTS, "Costi");
		Conto("2001", FALSE);
		Conto("2001001", TRUE, "Materie prime", TRUE);
		Mastro("30", LEDGER_REVENUES, "Ricavi");
		Conto("3001", FALSE);
		Conto("3001001", TRUE, "Vendite");
		Centro("C1");
		Centro("C2");
		ASSERT_TRUE(InitRaggruppamento());
		// Conto 0101 groups its sub-accounts into itself.
		m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET TerzoLivello = 0, SecondoLivello = 1 WHERE Conto = '0101'");

		// Three host accounts feed the grouped account 0101 (July = month 1, January 2026 = month 7).
		Saldo(2025, "0101001", 2025, 7, 100);
		Saldo(2025, "0101001", 2025, 8, 10);
		Saldo(2025, "0101001", 2026, 1, 1000);
		Saldo(2025, "0101002", 2025, 7, 200);
		Saldo(2025, "0101002", 2025, 8, -30);
		Saldo(2025, "0101003", 2025, 8, 50);
		Saldo(2025, "0101003", 2025, 9, 1);
		Saldo(2025, "0102001", 2025, 7, 5);
		Saldo(2025, "0101001", 2025, 7, 7, 1);
		Saldo(2025, "0101001", 2025, 8, 3, 1);
		Saldo(2025, "0101002", 2025, 7, 5, 1);
		Saldo(2025, "0101003", 2025, 8, 2, 1);
		Saldo(2025, "0101003", 2025, 9, 1, 1);
		Saldo(2025, "3001001", 2025, 7, -500);
		Saldo(2025, "2001001", 2025, 7, 100);
		Saldo(2025, "2001001", 2025, 8, -15);
		// Its cost-accounting entries: actual ones by cost centre, a provisional one, a forecast one.
		Movimento("2001001", DataDate(10, 7, 2025), "C1", 40);
		Movimento("2001001", DataDate(11, 7, 2025), "C2", 60);
		Movimento("2001001", DataDate(5, 8, 2025), "C1", 15, 1, 1);
		Movimento("2001001", DataDate(6, 8, 2025), "C2", 999, 0);
		Movimento("2001001", DataDate(7, 7, 2025), "C1", 9, 2);
		Movimento("2001001", DataDate(7, 7, 2024), "C1", 77);  // before the year
	}
	BOOL Importa(int mese, int anno, bool bPrevisionale = false)
	{
		FormDriver form = Importazione(mese, anno);
		if (bPrevisionale && !form.Press("Anche contabilita' previsionale"))
			return FALSE;
		return form.RunBatch();
	}
};

TEST_F(ImportaSaldi, FiscalYearOpeningInJulyAndAMonthOfTheNextCalendarYear)
{
	FormDriver form = Importazione(3, 2026);
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Doc(form)->GetEsercizio(), 2025);
	EXPECT_EQ(Doc(form)->GetNrMesi(), 9);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Esercizio <> 2025 OR Mese > 9"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE ContoKvz = '0101' AND CentroCommessa = ''"), 9);
	EXPECT_EQ(Piano("SaldoContabile", "0101", 7), 1331);  // January 2026
	// The economic accounts without a linked balance-sheet account: told once each, then counted.
	EXPECT_EQ(form.Text("Stato elaborazione"),
			  "Importazione terminata. Importati 13 conti. 2 conti economici non associati ad un conto patrimoniale.");
	for (const char* conto : {"2001001", "3001001"})
	{
		const std::string warning = std::string("Il conto economico ") + conto;
		size_t told = 0;
		for (const CString& text : Shown())
			for (size_t at = text.str().find(warning); at != std::string::npos; at = text.str().find(warning, at + 1))
				++told;
		EXPECT_EQ(told, 1u) << conto;
	}

	// Opening month chosen: one month.
	FormDriver luglio = Importazione(7, 2025);
	ASSERT_TRUE(luglio.RunBatch());
	EXPECT_EQ(Doc(luglio)->GetNrMesi(), 1);
	EXPECT_EQ(Doc(luglio)->GetEsercizio(), 2025);
}

// One grouped account fed by three host accounts: its months, its ancestors' and the running
// totals of the balance-sheet forecast, worked by hand.
TEST_F(ImportaSaldi, GroupedAccountOfThreeHostAccountsAndItsAncestors)
{
	ASSERT_TRUE(Importa(3, 2026, true));
	struct Case
	{
		const char* conto;
		int mese;
		double saldo;  // balance sheet: running total from July
		double rateo;  // the forecast: running total too
	};
	const Case cases[] = {
		{"0101", 1, 300, 12},  {"0101", 2, 330, 17},  {"0101", 3, 331, 18}, {"0101", 6, 331, 18},
		{"0101", 7, 1331, 18}, {"0101", 9, 1331, 18}, {"01", 1, 305, 12},   {"01", 2, 335, 17},
		{"01", 7, 1336, 18},   {"0102001", 1, 5, 0},  {"0102", 2, 5, 0},
		// Revenues are kept with the opposite sign; economic accounts month by month.
		{"3001001", 1, 500, 0}, {"3001001", 2, 0, 0}, {"30", 1, 500, 0},
		{"2001001", 1, 100, 0}, {"2001001", 2, -15, 0}, {"20", 2, -15, 0},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(std::string(c.conto) + " " + std::to_string(c.mese));
		EXPECT_DOUBLE_EQ(Piano("SaldoContabile", c.conto, c.mese), c.saldo);
		EXPECT_DOUBLE_EQ(Piano("ImportoRateo", c.conto, c.mese), c.rateo);
		EXPECT_DOUBLE_EQ(Piano("TotaleAssestato", c.conto, c.mese), c.saldo + c.rateo);
	}
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz LIKE '0101%'"), 1);
	EXPECT_EQ(Count("SELECT UltimoLivelloRaggrupp * 10 + CASE WHEN ContoKvzPadre = '01' THEN 1 ELSE 0 END FROM "
					"Kvz_AnagConti WHERE ContoKvz = '0101'"), 11);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Descrizione = 'Previsionale' AND RateoDaPrevisionale = 1 "
					"AND IDPianoBase = (SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE ContoKvz = '0101')"),
			  9);

	// The analytic account's splits, from its entries of the year: debit adds, credit subtracts.
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C1"), 40);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 2, "C1"), -15);
	EXPECT_DOUBLE_EQ(Piano("ImportoRateo", "2001001", 1, "C1"), 9);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C2"), 60);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 2, "C2"), 0);  // the provisional entry is not taken
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = 2025 AND ContoKvz = '2001001' "
					"AND Descrizione LIKE 'Centro C_'"),
			  2);
}

// The same month imported again: the split rows keep the balance they had as previous balance,
// also with the forecast read in the same run.
TEST_F(ImportaSaldi, SecondImportKeepsThePreviousBalancesOfSplits)
{
	ASSERT_TRUE(Importa(3, 2026, true));
	const long ids = Count("SELECT MAX(IDPianoBase) FROM Kvz_PianoBaseT");
	ASSERT_TRUE(Importa(3, 2026, true));
	EXPECT_DOUBLE_EQ(Piano("SaldoPrecedente", "2001001", 1, "C1"), 40);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C1"), 40);
	EXPECT_DOUBLE_EQ(Piano("SaldoPrecedente", "2001001", 1), 100);
	EXPECT_EQ(Count("SELECT GiaImportato FROM Kvz_PianoBaseR WHERE ContoKvz = '0101' AND Mese = 4"), 1);
	EXPECT_EQ(Count("SELECT MAX(IDPianoBase) FROM Kvz_PianoBaseT"), ids);  // no head added
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = "
					"(SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE ContoKvz = '0101') AND Mese = 1"),
			  1);
}

TEST_F(ImportaSaldi, ExcludedAccountsAndMissingGroupingData)
{
	for (const char* conto : {"0102002", "0102003", "0102004", "0102005"})
	{
		Conto(conto, TRUE);
		Saldo(2025, conto, 2025, 7, 1);
	}
	ASSERT_TRUE(InitRaggruppamento());
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET EscludereContoDaImportazione = 1 WHERE Conto = '0102002'");
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET EscludiDaImportazione = 1, ModificaInAssestamento = 1 WHERE Conto = '0102003'");
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET EscludiDaImportazione = 1, ModificaInAssestamento = 0 WHERE Conto = '0102004'");
	m_pConn->ExecuteSQL("DELETE FROM Kvz_RaggruppPdC WHERE Conto = '0102005'");
	ASSERT_TRUE(Importa(7, 2025));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz IN ('0102002', '0102004', '0102005')"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz = '0102003'"), 1);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "0102", 1), 6);
	EXPECT_TRUE(WasShown("Dati di raggruppamento del conto 0102005 non trovati. Conto scartato."));
	EXPECT_FALSE(WasShown("0102002"));
	EXPECT_FALSE(WasShown("0102004"));
}

TEST_F(ImportaSaldi, PeriodsRefusedWriteNothing)
{
	struct Case
	{
		int mese;
		int anno;
		const char* message;
	};
	const Case cases[] = {
		{8, 2026, "Effettuare l'apertura dell'esercizio"},  // a year not opened
		{6, 2025, "Effettuare l'apertura dell'esercizio"},  // before any fiscal year
		{13, 2025, "Mese 13 non valido"},
		{0, 2025, "Mese 0 non valido"},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.message);
		m_Ui.Clear();
		FormDriver form = Importazione(c.mese, c.anno);
		EXPECT_FALSE(form.RunBatch());
		EXPECT_TRUE(WasShown(c.message));
		EXPECT_FALSE(m_pConn->IsInTransaction());
	}
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti") + Count("SELECT COUNT(*) FROM Kvz_PianoBaseR"), 0);
}

// Last year's splits are carried into the year with their values, those of an analytic account
// and those of an account without analytic entries (a split entered by hand) alike.
TEST_F(ImportaSaldi, LastYearsSplitsOfEveryAccountCarriedForward)
{
	Conto("2001002", TRUE);
	ASSERT_TRUE(InitRaggruppamento());
	m_pConn->ExecuteSQL("INSERT INTO Kvz_CentriCommPianoConti (Esercizio, ContoKvz, CentroCommessa, Descrizione, Tipo, "
						"PercRipartizione, Nota, InseritoManualmente) VALUES "
						"(2024, '2001001', 'C3', 'Centro vecchio', 983629824, 25, 'da riportare', 1), "
						"(2024, '2001001', 'C1', 'Centro uno 2024', 983629824, 10, '', 0), "
						"(2024, '2001002', 'C2', 'Altro conto', 983629824, 50, '', 0)");
	FormDriver form = Importazione(3, 2026);
	ASSERT_TRUE(form.Press("Riporta centri/commesse dell'anno precedente"));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = 2025 AND ContoKvz = '2001001' "
					"AND CentroCommessa = 'C3' AND PercRipartizione = 25 AND Nota = 'da riportare' AND InseritoManualmente = 1 "
					"AND Descrizione = 'Centro vecchio'"),
			  1);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = 2025 AND ContoKvz = '2001001' "
					"AND CentroCommessa = 'C1' AND Descrizione = 'Centro C1' AND PercRipartizione = 10"),
			  1);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C3"), 0);  // a base plan of its own, empty
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C1"), 40);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = 2025 AND ContoKvz = '2001002' "
					"AND CentroCommessa = 'C2' AND PercRipartizione = 50 AND Descrizione = 'Altro conto'"),
			  1);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001002", 1, "C2"), 0);
}

// A preview builds the grouped chart of the economic ledgers and changes no table of the module,
// nor the stamp of the last import.
TEST_F(ImportaSaldi, PreviewChangesNoModuleTable)
{
	ASSERT_TRUE(Importa(3, 2026, true));
	m_pConn->ExecuteSQL("UPDATE Kvz_Parametri SET DataUltimaImportazSaldi = '2025-01-01 10:00:00'");
	const char* stato = "SELECT (SELECT COUNT(*) || '/' || SUM(SaldoContabile) || '/' || SUM(SaldoPrecedente) || '/' || "
						"SUM(GiaImportato) FROM Kvz_PianoBaseR) || (SELECT COUNT(*) FROM Kvz_AnagConti) || "
						"(SELECT COUNT(*) FROM Kvz_CentriCommPianoConti) || (SELECT DataUltimaImportazSaldi FROM Kvz_Parametri)";
	auto prima = Scalar(stato);
	FormDriver form = Importazione(3, 2026);
	ASSERT_TRUE(form.Press("Anteprima piano dei conti raggruppato"));
	ASSERT_TRUE(form.Press("Riporta centri/commesse dell'anno precedente"));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Scalar(stato), prima);
	EXPECT_EQ(form.Text("Stato elaborazione"), "Anteprima terminata: nessun conto importato.");
	bool bSplit = false;
	for (const auto& pMastro : Doc(form)->GetMastri())
	{
		EXPECT_TRUE(!pMastro->IsPatrimoniale() || pMastro->m_Conti.empty()) << pMastro->m_Codice.GetString();
		for (const auto& pConto : pMastro->m_Conti)
			bSplit = bSplit || !pConto->m_CdcComm.empty();
	}
	EXPECT_TRUE(bSplit);
	EXPECT_EQ(Doc(form)->GetMastri().size(), 3u);
}

// An import stopped by the user keeps nothing: the year's grouped accounts are not lost half-way.
TEST_F(ImportaSaldi, AbortedImportKeepsNothing)
{
	ASSERT_TRUE(Importa(3, 2026));
	m_pConn->ExecuteSQL("UPDATE Kvz_Parametri SET DataUltimaImportazSaldi = '2025-01-01 10:00:00'");
	const long conti = Count("SELECT COUNT(*) FROM Kvz_AnagConti");
	Saldo(2025, "0101001", 2025, 10, 1);
	m_Ui.AbortAfterPolls(4);
	FormDriver form = Importazione(3, 2026);
	form.RunBatch();
	EXPECT_EQ(form.Text("Stato elaborazione"), "Elaborazione interrotta su richiesta utente: nessuna modifica salvata.");
	EXPECT_EQ(m_Ui.StoppedTexts(), std::vector<CString>{"Elaborazione interrotta su richiesta utente: nessuna modifica salvata."});
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti"), conti);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "0101", 1), 300);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri WHERE DataUltimaImportazSaldi = '2025-01-01 10:00:00'"), 1);
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

// The stamp of the last import is written with the balances: a commit that fails keeps neither,
// and the run is no success.
TEST_F(ImportaSaldi, ACommitThatFailsKeepsNeitherTheBalancesNorTheStamp)
{
	ASSERT_TRUE(Importa(3, 2026));
	m_pConn->ExecuteSQL("UPDATE Kvz_Parametri SET DataUltimaImportazSaldi = '2025-01-01 10:00:00'");
	const long conti = Count("SELECT COUNT(*) FROM Kvz_AnagConti");
	const double dGennaio = Piano("SaldoContabile", "0101", 1);
	m_pConn->ExecuteSQL("UPDATE Erp_ChartOfAccountsBalances SET Debit = Debit + 1000 WHERE Account = '0101001' AND "
						"BalanceYear = 2025 AND BalanceMonth = 7");  // the fiscal year's first month
	// The stamp's update leaves a reference that only the commit checks.
	CommitFailsAfter("AFTER UPDATE", "Kvz_Parametri");
	m_Ui.Clear();
	FormDriver form = Importazione(3, 2026);
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(form.Text("Stato elaborazione"), "Importazione non registrata: nessuna modifica salvata.");
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Importazione non registrata: nessuna modifica salvata.");
	EXPECT_TRUE(WasShown(CommitFailure()));
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti"), conti);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "0101", 1), dGennaio);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri WHERE DataUltimaImportazSaldi = '2025-01-01 10:00:00'"), 1);
	EXPECT_EQ(form.Text("Ultima importazione:"), CString("01/01/2025 10:00:00"));

	// Once the commit can succeed, the same run keeps both.
	DropTrigger("KvzTestBlocca", "Kvz_Parametri");
	FormDriver again = Importazione(3, 2026);
	EXPECT_TRUE(again.RunBatch());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri WHERE DataUltimaImportazSaldi > '2025-01-02'"), 1);
	EXPECT_NE(Piano("SaldoContabile", "0101", 1), dGennaio);
}

// A database error half-way through the accounts: shown, and the run keeps nothing.
TEST_F(ImportaSaldi, DatabaseErrorKeepsNothing)
{
	ASSERT_TRUE(Importa(3, 2026));
	const long conti = Count("SELECT COUNT(*) FROM Kvz_AnagConti");
	m_pConn->ExecuteSQL("DROP TABLE Erp_CostAccEntriesDetail");
	m_Ui.Clear();
	FormDriver form = Importazione(3, 2026);
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(form.Text("Stato elaborazione"), "Importazione annullata per errori: nessuna modifica registrata.");
	EXPECT_TRUE(WasShown("Erp_CostAccEntriesDetail"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti"), conti);
	EXPECT_FALSE(m_pConn->IsInTransaction());

	// A preview that met the same error is no success either, and says so.
	m_Ui.Clear();
	FormDriver anteprima = Importazione(3, 2026);
	ASSERT_TRUE(anteprima.Press("Anteprima piano dei conti raggruppato"));
	EXPECT_FALSE(anteprima.RunBatch());
	EXPECT_EQ(anteprima.Text("Stato elaborazione"), "Anteprima non completata per errori: nessun conto importato.");
	EXPECT_TRUE(WasShown("Erp_CostAccEntriesDetail"));
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

// Base plans whose grouped account disappeared: deleted when not adjusted, reported otherwise;
// grouped accounts entered by hand survive.
TEST_F(ImportaSaldi, BasePlansOfVanishedAccounts)
{
	ASSERT_TRUE(Importa(3, 2026));
	m_pConn->ExecuteSQL("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, InseritoManualmente) VALUES (2025, 'MAN1', 1)");
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET EscludereContoDaImportazione = 1 WHERE Conto IN ('0102001', '3001001')");
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseT SET TotGeneraleRatei = 12.5 WHERE ContoKvz = '3001001'");
	ASSERT_TRUE(Importa(3, 2026));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz = 'MAN1'"), 1);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = '0102001'"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE ContoKvz = '0102001'"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = '3001001'"), 1);
	EXPECT_TRUE(WasShown("si riferisce al conto 3001001 non piu' esistente."));
	EXPECT_TRUE(WasShown("====> Attenzione <===="));
}

// The demo company's year: every grouped account's base plan equals, month by month and to the
// cent, the host's balances of the accounts it groups (running totals for the balance sheet).
TEST_F(ImportaSaldi, DemoCompanyYearEqualsTheHostsBalances)
{
	m_pConn->ExecuteSQL("DELETE FROM Kvz_RaggruppPdC");
	const erp::DemoCompanySummary demo = erp::CreateDemoCompany(*m_pConn, 1);
	ASSERT_TRUE(InitRaggruppamento());
	ASSERT_TRUE(Importa(12, demo.lastYear));
	// The host's balances by account and month, with the sign the module keeps.
	std::map<std::string, std::array<double, 12>> host;
	{
		auto st = m_pConn->Db().Prepare(
			"SELECT b.Account, b.BalanceMonth, SUM(b.Debit - b.Credit), MAX(l.LedgerType & 65535) "
			"FROM Erp_ChartOfAccountsBalances b JOIN Erp_ChartOfAccounts a ON a.Account = b.Account "
			"JOIN Erp_Ledgers l ON l.Ledger = a.Ledger WHERE b.FiscalYear = " + std::to_string(demo.lastYear) +
			" AND b.BalanceType & 65535 = 0 AND a.ExcludedFromImport = 0 AND a.CarriesBalances = 1 "
			"GROUP BY b.Account, b.BalanceMonth");
		while (st->Step())
		{
			const long type = static_cast<long>(std::get<std::int64_t>(st->Column(3)));
			const double v = std::get<double>(st->Column(2)) * (type == 1 || type == 4 ? -1 : 1);
			host[std::get<std::string>(st->Column(0))][static_cast<size_t>(std::get<std::int64_t>(st->Column(1)) - 1)] += v;
		}
	}
	auto st = m_pConn->Db().Prepare(
		"SELECT k.ContoKvz, k.TipoConto & 65535, r.Mese, r.SaldoContabile FROM Kvz_AnagConti k JOIN Kvz_PianoBaseR r "
		"ON r.Esercizio = k.Esercizio AND r.ContoKvz = k.ContoKvz AND r.CentroCommessa = '' WHERE k.Esercizio = " +
		std::to_string(demo.lastYear));
	int nRighe = 0;
	while (st->Step())
	{
		const std::string conto = std::get<std::string>(st->Column(0));
		const bool patrimoniale = std::get<std::int64_t>(st->Column(1)) == 1;
		const int mese = static_cast<int>(std::get<std::int64_t>(st->Column(2)));
		double atteso = 0;
		for (auto it = host.lower_bound(conto); it != host.end() && it->first.rfind(conto, 0) == 0; ++it)
			for (int m = patrimoniale ? 1 : mese; m <= mese; ++m)
				atteso += it->second[static_cast<size_t>(m - 1)];
		const double stored = std::get<double>(st->Column(3));
		EXPECT_LT(std::fabs(stored - atteso), 0.005) << conto << " month " << mese;
		++nRighe;
	}
	EXPECT_EQ(nRighe, Count("SELECT COUNT(*) FROM Kvz_AnagConti") * 12);
	EXPECT_GT(nRighe, 4000);
	// Every account of the chart that carries balances and is not excluded is in the base plan.
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_ChartOfAccounts a WHERE a.CarriesBalances = 1 AND a.ExcludedFromImport = 0 "
					"AND NOT EXISTS (SELECT 1 FROM Kvz_AnagConti k WHERE k.ContoKvz = a.Account)"),
			  0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_Parametri WHERE DataUltimaImportazSaldi > '2000-01-01'"), 1);
}

// ---- base-plan writing ---------------------------------------------------------------------------

// A second import of the same month: previous balances and the already-imported flag on the
// rows it finds, and changed balances marked on accounts and splits only where the difference
// reaches the money epsilon and nobody accepted it.
TEST_F(ImportaSaldi, SecondImportMarksOnlyChangesNotAccepted)
{
	ASSERT_TRUE(Importa(3, 2026));
	EXPECT_EQ(Count("SELECT GiaImportato FROM Kvz_PianoBaseR WHERE ContoKvz = '3001001' AND CentroCommessa = '' AND Mese = 2"), 0);
	Saldo(2025, "3001001", 2025, 8, -40);  // revenues of August: the total changes
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET SaldoDiffAccettato = 1 WHERE ContoKvz = '3001001' AND Mese = 2");
	Movimento("2001001", DataDate(12, 7, 2025), "C1", 5);  // only a split changes
	// A difference below the epsilon is no change.
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET SaldoContabile = 5.00004 WHERE ContoKvz = '0102001' AND Mese = 1");
	ASSERT_TRUE(Importa(3, 2026));

	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "3001001", 2), 40);
	EXPECT_DOUBLE_EQ(Piano("SaldoPrecedente", "3001001", 2), 0);
	EXPECT_EQ(Count("SELECT GiaImportato FROM Kvz_PianoBaseR WHERE ContoKvz = '3001001' AND CentroCommessa = '' AND Mese = 2"), 1);
	EXPECT_DOUBLE_EQ(Piano("SaldoPrecedente", "2001001", 1, "C1"), 40);
	EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "2001001", 1, "C1"), 45);
	const std::map<std::string, long> conti = {{"3001001", 0}, {"3001", 1}, {"30", 1}, {"2001001", 1},
											   {"0102001", 0}, {"0101", 0},  {"01", 0}};
	for (const auto& [conto, variato] : conti)
		EXPECT_EQ(Count("SELECT SaldoVariato FROM Kvz_AnagConti WHERE Esercizio = 2025 AND ContoKvz = '" + conto + "'"),
				  variato)
			<< conto;
	EXPECT_EQ(Count("SELECT SaldoVariato FROM Kvz_CentriCommPianoConti WHERE ContoKvz = '2001001' AND CentroCommessa = 'C1'"), 1);
	EXPECT_EQ(Count("SELECT SaldoVariato FROM Kvz_CentriCommPianoConti WHERE ContoKvz = '2001001' AND CentroCommessa = 'C2'"), 0);

	// Nothing moved since: nothing is marked any more.
	ASSERT_TRUE(Importa(3, 2026));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE SaldoVariato <> 0"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE SaldoVariato <> 0"), 0);
}

// The marks of changed balances through a sequence of imports: what each leaves marked, and that
// every split of the imported year is marked exactly when one of its rows (whatever the case of
// its codes) moved by the epsilon or more without being accepted. Another year's marks and rows
// stay as they were.
TEST_F(ImportaSaldi, ChangedBalanceMarksThroughASequenceOfImports)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, SaldoVariato) VALUES (2026, '2001001', 1)");
	m_pConn->ExecuteSQL("INSERT INTO Kvz_CentriCommPianoConti (Esercizio, ContoKvz, CentroCommessa, Tipo, SaldoVariato) "
						"VALUES (2026, '2001001', 'C1', 983629824, 1), (2026, '2001001', 'C2', 983629824, 0)");
	m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseR (IDPianoBase, Mese, Esercizio, ContoKvz, CentroCommessa, "
						"TipoCentroComm, GiaImportato, SaldoContabile) VALUES (999998, 1, 2026, '2001001', 'C2', "
						"983629824, 1, 9)");
	auto Marcati = [&](const char* tabella, int anno) {
		std::string s;
		auto st = m_pConn->Db().Prepare(std::string("SELECT ContoKvz, ") +
										(std::string(tabella) == "Kvz_AnagConti" ? "''" : "CentroCommessa") + " FROM " +
										tabella + " WHERE SaldoVariato <> 0 AND Esercizio = " + std::to_string(anno) +
										" ORDER BY 1, 2");
		while (st->Step())
		{
			if (!s.empty())
				s += ' ';
			s += std::get<std::string>(st->Column(0));
			if (const std::string c = std::get<std::string>(st->Column(1)); !c.empty())
				s.append(1, '/').append(c);
		}
		return s;
	};
	struct Passo
	{
		const char* nome;
		std::function<void()> prima;
		const char* conti;
		const char* cdc;
	};
	const std::vector<Passo> passi = {
		{"first import", [] {}, "20 2001 2001001 30 3001 3001001", "2001001/C1 2001001/C2"},
		{"same month again", [] {}, "", ""},
		{"a row without a head, its centre in small letters",
		 [&] {
			 m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseR (IDPianoBase, Mese, Esercizio, ContoKvz, CentroCommessa, "
								 "TipoCentroComm, GiaImportato, SaldoContabile) VALUES (999999, 1, 2025, '2001001', 'c1', "
								 "983629824, 1, 3)");
		 },
		 "2001001", "2001001/C1"},
		{"changes, one accepted, one below the epsilon",
		 [&] {
			 m_pConn->ExecuteSQL("DELETE FROM Kvz_PianoBaseR WHERE IDPianoBase = 999999");
			 Saldo(2025, "3001001", 2025, 8, -40);
			 m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET SaldoDiffAccettato = 1 WHERE ContoKvz = '3001001' AND Mese = 2");
			 Movimento("2001001", DataDate(12, 7, 2025), "C1", 5);
			 Movimento("2001001", DataDate(12, 8, 2025), "C2", 7);
			 m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET SaldoContabile = 5.00004 WHERE ContoKvz = '0102001' AND Mese = 1");
		 },
		 "2001001 30 3001", "2001001/C1 2001001/C2"},
		{"a split no entry feeds any more, an account the import does not write",
		 [&] {
			 m_pConn->ExecuteSQL(CString::Formatted("DELETE FROM %s WHERE CostCenter = 'C2'",
													CString(TCostAccEntriesDetail::GetStaticName()).GetString()));
			 m_pConn->ExecuteSQL("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, InseritoManualmente) VALUES (2025, "
								 "'MAN1', 1)");
			 m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseR (IDPianoBase, Mese, Esercizio, ContoKvz, GiaImportato, "
								 "SaldoContabile) VALUES (999997, 1, 2025, 'man1', 1, 2)");
		 },
		 "2001001 MAN1", "2001001/C2"},
		{"a code beyond ASCII",
		 [&] {
			 m_pConn->ExecuteSQL("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, InseritoManualmente) VALUES (2025, "
								 "'M\xC3\x80N1', 1)");
			 m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseR (IDPianoBase, Mese, Esercizio, ContoKvz, GiaImportato, "
								 "SaldoContabile) VALUES (999996, 1, 2025, 'M\xC3\x80N1', 1, 2)");
		 },
		 "MAN1 M\xC3\x80N1", ""},
	};
	for (const Passo& p : passi)
	{
		SCOPED_TRACE(p.nome);
		p.prima();
		ASSERT_TRUE(Importa(3, 2026));
		EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti c WHERE c.Esercizio = 2025 AND c.SaldoVariato <> "
						"CASE WHEN EXISTS (SELECT 1 FROM Kvz_PianoBaseR r WHERE r.Esercizio = c.Esercizio AND "
						"r.ContoKvz = c.ContoKvz AND r.CentroCommessa = c.CentroCommessa AND r.TipoCentroComm = c.Tipo "
						"AND r.GiaImportato <> 0 AND r.SaldoDiffAccettato = 0 AND "
						"ABS(r.SaldoContabile - r.SaldoPrecedente) >= 0.0001) THEN 1 ELSE 0 END"),
				  0);
		EXPECT_EQ(Marcati("Kvz_AnagConti", 2025), p.conti);
		EXPECT_EQ(Marcati("Kvz_CentriCommPianoConti", 2025), p.cdc);
		EXPECT_EQ(Marcati("Kvz_AnagConti", 2026), "2001001");
		EXPECT_EQ(Marcati("Kvz_CentriCommPianoConti", 2026), "2001001/C1");
	}
}

// A month with a spread of positive percentage takes the spread's amount as adjusted total; a
// spread of 0 %, or another year's, leaves the adjustment as it was.
TEST_F(ImportaSaldi, SpreadOfTheAdjustmentsByMonth)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_RipartizioniAssestamento (ContoKvz, Anno, Mese, Percentuale, Dati, Rateo) VALUES "
						"('3001001', 2025, 1, 10, 0, 650), ('3001001', 2025, 2, 0, 0, 999), "
						"('3001001', 2024, 3, 50, 0, 888)");
	ASSERT_TRUE(Importa(3, 2026));
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET ImportoRateo = 25 WHERE ContoKvz = '3001001' AND Mese IN (2, 3)");
	ASSERT_TRUE(Importa(3, 2026));
	struct Case
	{
		int mese;
		double saldo, rateo;
	};
	for (const Case& c : {Case{1, 500, 150}, Case{2, 0, 25}, Case{3, 0, 25}})
	{
		SCOPED_TRACE(c.mese);
		EXPECT_DOUBLE_EQ(Piano("SaldoContabile", "3001001", c.mese), c.saldo);
		EXPECT_DOUBLE_EQ(Piano("ImportoRateo", "3001001", c.mese), c.rateo);
		EXPECT_DOUBLE_EQ(Piano("TotaleAssestato", "3001001", c.mese), c.saldo + c.rateo);
	}
}

// With the forecast: the run's year's forecast adjustments are cleared and written again; a month
// whose forecast is zero keeps its adjustment and details; other years' are not touched.
TEST_F(ImportaSaldi, ForecastAdjustmentsOfTheRunsYearOnly)
{
	ASSERT_TRUE(Importa(3, 2026, true));
	const std::string idVendite = "(SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE ContoKvz = '3001001' AND CentroCommessa = '')";
	m_pConn->ExecuteSQL(("UPDATE Kvz_PianoBaseR SET ImportoRateo = 30, TotaleAssestato = 30 WHERE IDPianoBase = " + idVendite +
						" AND Mese = 2").c_str());
	m_pConn->ExecuteSQL((std::string("INSERT INTO Kvz_PianoBaseRDett (IDPianoBase, Mese, Riga, Descrizione, ImportoRateoDett, "
						"RateoDaPrevisionale) VALUES (") + idVendite + ", 2, 1, 'Manuale', 30, 0)").c_str());
	m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseR (IDPianoBase, Mese, Esercizio, ContoKvz, ImportoRateo, "
						"RateoDaPrevisionale, TotaleAssestato) VALUES (9001, 1, 2024, '0101', 70, 1, 70)");
	m_pConn->ExecuteSQL("INSERT INTO Kvz_PianoBaseRDett (IDPianoBase, Mese, Riga, Descrizione, ImportoRateoDett, "
						"RateoDaPrevisionale) VALUES (9001, 1, 1, 'Previsionale', 70, 1)");
	// July's forecast of 0101 goes from 12 to 13.
	m_pConn->ExecuteSQL("UPDATE Erp_ChartOfAccountsBalances SET Debit = 6 WHERE Account = '0101002' AND BalanceYear = 2025 "
						"AND BalanceMonth = 7 AND BalanceType & 65535 = 1");
	ASSERT_TRUE(Importa(3, 2026, true));

	EXPECT_DOUBLE_EQ(Piano("ImportoRateo", "3001001", 2), 30);
	EXPECT_DOUBLE_EQ(Piano("TotaleAssestato", "3001001", 2), 30);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Descrizione = 'Manuale' AND ImportoRateoDett = 30"), 1);
	EXPECT_DOUBLE_EQ(Piano("ImportoRateo", "0101", 1, "", 2025), 13);
	EXPECT_DOUBLE_EQ(Piano("TotaleAssestato", "0101", 1, "", 2025), 313);
	EXPECT_EQ(Number("SELECT SUM(ImportoRateoDett) FROM Kvz_PianoBaseRDett WHERE Mese = 1 AND "
					 "IDPianoBase = (SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE ContoKvz = '0101')"),
			  13);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 1 AND "
					"IDPianoBase = (SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE ContoKvz = '0101')"),
			  1);
	// Last year's forecast adjustment is still there, row and detail.
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase = 9001 AND ImportoRateo = 70 AND "
					"RateoDaPrevisionale = 1 AND TotaleAssestato = 70"),
			  1);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 9001"), 1);
}

// ---- preview, unused accounts and the report exports ---------------------------------------------

using RunFn = long (*)(HWND);
using DisposeFn = bool (*)(HWND, long);
using GetPreviewFn = bool (*)(HWND, CObject*, int, BSTR*, BSTR*, BSTR*, BSTR*, bool*, bool*, BSTR*, BSTR*, bool*, double*);
using GetUnusedFn = bool (*)(HWND, CObject*, int, BSTR*, BSTR*);

// Runs `work` on a new thread while this thread serves its window; the loop ends with the work.
void RunOnWorker(CUiThread& ui, const std::function<void()>& work)
{
	std::thread worker([&] {
		work();
		ui.Quit();
	});
	ui.Run();
	worker.join();
}

template <class Fn>
Fn Export(const char* name)
{
	void* h = dlopen("libKvzBatch.so", RTLD_NOW | RTLD_NOLOAD);
	Fn fn = h ? reinterpret_cast<Fn>(dlsym(h, name)) : nullptr;
	if (h)
		dlclose(h);
	return fn;
}

// The import driven as the framework drives it: a user-interface thread, the command manager,
// the reports asked of the report engine, and the exports called from a report's thread.
class ImportaSaldiReport : public ImportaSaldi
{
protected:
	void SetUp() override
	{
		ImportaSaldi::SetUp();
		m_Manager.Install();
		m_hWnd = m_UiThread.GetMainWnd();
		m_pPrevRunner = AfxSetReportRunner(&m_Runner);
	}
	void TearDown() override
	{
		AfxSetReportRunner(m_pPrevRunner);
		ImportaSaldi::TearDown();
	}
	std::vector<std::string> Reports() const
	{
		std::vector<std::string> out;
		for (const auto& r : m_Runner.Requests())
			for (const CPLVNamespace& ns : r.info->GetReportsToRun())
				out.push_back(std::string(ns.GetPathName().str()) + " " + r.contextClass.str());
		return out;
	}

	struct Riga
	{
		bool found = false;
		std::string conto, descrizione, cdc, descrCdc, collegato, descrCollegato;
		bool proponi = false, modif = false, ultimo = false;
		double perc = -1;
	};
	Riga LeggiPreview(CObject* pDoc, int i)
	{
		static const GetPreviewFn fn = Export<GetPreviewFn>("__CImportaSaldiDoc_Kvz_GetContoPreview");
		BSTR s[6];
		for (BSTR& b : s)
			b = SysAllocString("?");
		Riga r;
		r.found = fn(m_hWnd, pDoc, i, &s[0], &s[1], &s[2], &s[3], &r.proponi, &r.modif, &s[4], &s[5], &r.ultimo, &r.perc);
		r.conto = s[0];
		r.descrizione = s[1];
		r.cdc = s[2];
		r.descrCdc = s[3];
		r.collegato = s[4];
		r.descrCollegato = s[5];
		for (BSTR b : s)
			SysFreeString(b);
		return r;
	}

	CUiThread m_UiThread;
	HWND m_hWnd = nullptr;
	CPlvCommandManager m_Manager;
	CRecordingReportRunner m_Runner;
	IReportRunner* m_pPrevRunner = nullptr;
};

// The preview's rows, read from another thread as a report reads them: by account, each account's
// own row first and its centres and jobs after it in code order; then the preview report.
TEST_F(ImportaSaldiReport, PreviewRowsInOrderThroughTheExport)
{
	Centro("B9");
	Movimento("2001001", DataDate(20, 7, 2025), "B9", 3);  // met after C1 and C2
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET ContoPatrimoniale = '0102001' WHERE Conto = '2001001'");
	FormDriver form = Importazione(3, 2026);
	CObject* pDoc = Doc(form);
	EXPECT_FALSE(Doc(form)->CanDoReport());
	EXPECT_FALSE(LeggiPreview(pDoc, 0).found);  // index 0 of an empty preview
	ASSERT_TRUE(form.Press("Anteprima piano dei conti raggruppato"));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_TRUE(Doc(form)->CanDoReport());
	EXPECT_EQ(Reports(), std::vector<std::string>{"KvzNet.KvzMod.PreviewPdCRaggr Kvz_CImportaSaldiDoc"});

	std::vector<Riga> righe;
	RunOnWorker(m_UiThread, [&] {
		for (int i = 0;; ++i)
		{
			righe.push_back(LeggiPreview(pDoc, i));
			if (!righe.back().found)
				break;
		}
	});
	ASSERT_EQ(righe.size(), Doc(form)->GetPreview().size() + 1);
	const Riga fine = righe.back();
	EXPECT_EQ(fine.conto, "?");  // past the last row nothing is written
	EXPECT_DOUBLE_EQ(fine.perc, -1);
	righe.pop_back();
	std::vector<std::string> ordine;
	for (const Riga& r : righe)
		ordine.push_back(r.conto + "/" + r.cdc);
	EXPECT_TRUE(std::is_sorted(ordine.begin(), ordine.end())) << ::testing::PrintToString(ordine);
	auto it = std::find(ordine.begin(), ordine.end(), "2001001/");
	ASSERT_NE(it, ordine.end());
	ASSERT_GE(ordine.end() - it, 4);
	EXPECT_EQ(std::vector<std::string>(it, it + 4),
			  (std::vector<std::string>{"2001001/", "2001001/B9", "2001001/C1", "2001001/C2"}));
	const Riga& conto = righe[static_cast<size_t>(it - ordine.begin())];
	const Riga& centro = righe[static_cast<size_t>(it - ordine.begin()) + 2];
	EXPECT_EQ(conto.descrizione, "Materie prime");
	EXPECT_EQ(conto.collegato, "0102001");
	EXPECT_EQ(conto.descrCollegato, "Conto 0102001");
	EXPECT_TRUE(conto.ultimo);
	EXPECT_EQ(centro.descrizione, "Materie prime");
	EXPECT_EQ(centro.descrCdc, "Centro C1");
	EXPECT_EQ(centro.collegato, "0102001");
	EXPECT_EQ(centro.descrCollegato, "");  // only on the account's own row
	EXPECT_DOUBLE_EQ(centro.perc, 0);

	// An import has no preview to print, and reports the accounts no symbol uses.
	m_Runner.Clear();
	ASSERT_TRUE(form.Press("Importazione saldi"));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_FALSE(Doc(form)->CanDoReport());
	EXPECT_EQ(Reports(), std::vector<std::string>{"KvzNet.KvzMod.ContiNonUsati Kvz_CImportaSaldiDoc"});
}

// The grouped accounts proposed in adjustments that no symbol of the year names.
TEST_F(ImportaSaldiReport, UnusedAccountsThroughTheExport)
{
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET ProponiInAssestamento = CASE WHEN Conto IN ('2001001', '3001001', "
						"'0102001') THEN 1 ELSE 0 END");
	m_pConn->ExecuteSQL("INSERT INTO Kvz_ElencoContiSimboloPBase (Esercizio, ModelloRiclassific, NomeSimbolo, ContoSelez) "
						"VALUES (2025, 'M1', 'S1', '2001001'), (2024, 'M1', 'S1', '3001001')");
	FormDriver form = Importazione(3, 2026);
	ASSERT_TRUE(form.RunBatch());
	const GetUnusedFn fn = Export<GetUnusedFn>("__CImportaSaldiDoc_Kvz_GetContoUnused");
	ASSERT_TRUE(fn);
	std::map<std::string, std::string> nonUsati;
	bool oltre = true;
	RunOnWorker(m_UiThread, [&] {
		BSTR conto = SysAllocString(""), descr = SysAllocString("");
		int i = 0;
		for (; fn(m_hWnd, Doc(form), i, &conto, &descr); ++i)
			nonUsati[conto] = descr;
		oltre = fn(m_hWnd, Doc(form), i + 1, &conto, &descr);
		SysFreeString(conto);
		SysFreeString(descr);
	});
	EXPECT_EQ(nonUsati, (std::map<std::string, std::string>{{"0102001", "Conto 0102001"}, {"3001001", "Vendite"}}));
	EXPECT_FALSE(oltre);
}

// A symbol's account condition uses the accounts it selects and those below them, as the run
// reads them: equality, a range, a pattern or a comparison, at any level above the account.
TEST_F(ImportaSaldiReport, AnAccountReadByASymbolsConditionIsUsed)
{
	m_pConn->ExecuteSQL("UPDATE Kvz_RaggruppPdC SET ProponiInAssestamento = CASE WHEN Conto IN ('2001001', '3001001', "
						"'0102001') THEN 1 ELSE 0 END");
	const struct
	{
		WORD ope;
		const char* da;
		const char* a;
		std::vector<std::string> nonUsati;
	} casi[] = {
		{0, "20", "", {"0102001", "3001001"}},         // = the ledger above it
		{0, "2001001", "", {"0102001", "3001001"}},    // = the account itself
		{0, "2001", "", {"0102001", "3001001"}},       // = the level between
		{6, "2001", "3001", {"0102001"}},              // a range takes 2001 and 3001
		{7, "01", "", {"2001001", "3001001"}},         // the accounts that begin with 01
		{7, "3?01*", "", {"0102001", "2001001"}},      // a pattern
		{4, "2", "", {"0102001"}},                     // > 2: the 20 and 30 ledgers
		{3, "1", "", {"2001001", "3001001"}},          // < 1: the 01 ledger
		{0, "200100", "", {"0102001", "2001001", "3001001"}},  // a code's beginning is not equality
	};
	const GetUnusedFn fn = Export<GetUnusedFn>("__CImportaSaldiDoc_Kvz_GetContoUnused");
	ASSERT_TRUE(fn);
	for (const auto& c : casi)
	{
		SCOPED_TRACE(testing::Message() << c.ope << " " << c.da << " " << c.a);
		m_pConn->ExecuteSQL("DELETE FROM Kvz_SimboliPianoBase");
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = 2025;
		s.f_ModelloRiclassific = "M1";
		s.f_NomeSimbolo = "S1";
		s.f_SelSaldo = TRUE;
		s.f_WhereConto = TRUE;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, c.ope);
		s.f_ValDaConto = c.da;
		s.f_ValAConto = c.a;
		Insert(s);
		// Another year's symbol uses nothing of this one.
		s.f_Esercizio = 2024;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 5);
		s.f_ValDaConto = "";
		Insert(s);
		FormDriver form = Importazione(3, 2026);
		ASSERT_TRUE(form.RunBatch());
		std::vector<std::string> nonUsati;
		RunOnWorker(m_UiThread, [&] {
			BSTR conto = SysAllocString(""), descr = SysAllocString("");
			for (int i = 0; fn(m_hWnd, Doc(form), i, &conto, &descr); ++i)
				nonUsati.push_back(conto);
			SysFreeString(conto);
			SysFreeString(descr);
		});
		std::sort(nonUsati.begin(), nonUsati.end());
		EXPECT_EQ(nonUsati, c.nonUsati);
	}
}

// Arrays of different lengths: the index stops at the shorter.
TEST_F(ImportaSaldi, UnusedAccountsIndexStopsAtTheShorterArray)
{
	struct Doc : Kvz_CImportaSaldiDoc
	{
		using Kvz_CImportaSaldiDoc::m_ContiNonUsati;
		using Kvz_CImportaSaldiDoc::m_DescrContiNonUsati;
	} doc;
	doc.m_ContiNonUsati = {"A1", "A2"};
	doc.m_DescrContiNonUsati = {"Uno"};
	DataStr conto("x"), descr("y");
	EXPECT_TRUE(static_cast<BOOL>(doc.Kvz_GetContoUnused(DataInt(0), conto, descr)));
	EXPECT_EQ(conto.GetString(), "A1");
	EXPECT_EQ(descr.GetString(), "Uno");
	EXPECT_FALSE(static_cast<BOOL>(doc.Kvz_GetContoUnused(DataInt(1), conto, descr)));
	EXPECT_FALSE(static_cast<BOOL>(doc.Kvz_GetContoUnused(DataInt(-1), conto, descr)));
	EXPECT_EQ(conto.GetString(), "A1");
}

// Run and Dispose from a thread other than the window's: the document opens by the namespace
// reports know it by; a document already closed is not closed again.
TEST_F(ImportaSaldiReport, RunAndDisposeFromAnotherThread)
{
	std::unique_ptr<AddOnInterfaceObj> pAddOn(AddOnOf("libKvzBatch.so"));
	ASSERT_TRUE(pAddOn);
	const CPLVNamespace ns("Library.KvzNet.KvzMod.KvzBatch");
	pAddOn->AOI_RegisterTemplates(1, &ns);
	const RunFn run = Export<RunFn>("__CImportaSaldiDoc_Run");
	const DisposeFn dispose = Export<DisposeFn>("__CImportaSaldiDoc_Dispose");
	ASSERT_TRUE(run && dispose);
	long h = 0;
	bool chiuso = false, ancora = true;
	RunOnWorker(m_UiThread, [&] {
		h = run(m_hWnd);
		chiuso = dispose(m_hWnd, h);
		ancora = dispose(m_hWnd, h);
	});
	ASSERT_NE(h, 0) << m_Manager.GetLastError().GetString();
	EXPECT_TRUE(chiuso);
	EXPECT_FALSE(ancora);
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());

	// A context that is no balance import is refused.
	const long hAltro = run(m_hWnd);
	ASSERT_NE(hAltro, 0);
	EXPECT_STREQ(reinterpret_cast<CObject*>(hAltro)->GetRuntimeClass()->m_lpszClassName, "Kvz_CImportaSaldiDoc");
	DataInt nonDocumento;
	BSTR conto = SysAllocString(""), descr = SysAllocString("");
	EXPECT_THROW(Export<GetUnusedFn>("__CImportaSaldiDoc_Kvz_GetContoUnused")(m_hWnd, &nonDocumento, 0, &conto, &descr),
				 CApplicationErrorException);
	SysFreeString(conto);
	SysFreeString(descr);
	EXPECT_TRUE(dispose(m_hWnd, hAltro));
	AfxGetBaseApp()->RemoveTemplates(pAddOn.get());
}

}  // namespace
