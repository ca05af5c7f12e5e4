#include <chrono>
#include <cmath>

#include "platform/erp/erpbasecomponents/SummariesBalancesChartOfAccounts.h"
#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using Rows = std::vector<std::vector<std::string>>;

class DemoCompany : public ErpCompanyDb
{
protected:
	void RegisterTables(SqlConnection& connection) override { erp::SetupCompanyDatabase(connection); }
	void SetUp() override
	{
		ErpCompanyDb::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, 2025));
	}

	// The rows of a query, each value as text.
	Rows Query(const char* sql) { return QueryOn(*m_pConn, sql); }
	static Rows QueryOn(SqlConnection& conn, const char* sql)
	{
		auto st = conn.Db().Prepare(sql);
		Rows rows;
		while (st->Step())
		{
			rows.emplace_back();
			for (int i = 0; i < st->ColumnCount(); ++i)
			{
				auto v = st->Column(i);
				rows.back().push_back(std::holds_alternative<std::string>(v)    ? std::get<std::string>(v)
									  : std::holds_alternative<std::int64_t>(v) ? std::to_string(std::get<std::int64_t>(v))
									  : std::holds_alternative<double>(v)       ? std::to_string(std::get<double>(v))
																				: "NULL");
			}
		}
		return rows;
	}
	long Count(const char* sql) { return std::stol(Query(sql).at(0).at(0)); }
};

// What the company holds, table by table, in a few numbers.
const char* const kFingerprint =
	"SELECT (SELECT COUNT(*) || '/' || group_concat(Account || Description || CostAccounting || CostAccDetail, '') "
	"        FROM Erp_ChartOfAccounts), "
	"       (SELECT COUNT(*) || '/' || printf('%.2f', SUM(Amount)) || '/' || SUM(DebitCreditSign) || '/' || "
	"               group_concat(DISTINCT CostCenter) || '/' || group_concat(DISTINCT Job) FROM Erp_CostAccEntriesDetail), "
	"       (SELECT COUNT(*) || '/' || printf('%.2f', SUM(Debit * BalanceMonth) - SUM(Credit)) "
	"        FROM Erp_ChartOfAccountsBalances), "
	"       (SELECT group_concat(Job || StartingDate || EndingDate || Description, '') FROM Erp_Jobs)";
}  // namespace

TEST_F(DemoCompany, ACompanyWhoseBalancesAddUp)
{
	const erp::DemoCompanySummary s = erp::CreateDemoCompany(*m_pConn, 1);
	EXPECT_EQ(s.firstYear, 2024);
	EXPECT_EQ(s.lastYear, 2025);
	EXPECT_GT(s.accounts, 300);
	EXPECT_LT(s.accounts, 700);
	EXPECT_EQ(s.costCenters, 10);
	EXPECT_EQ(s.jobs, 12);
	EXPECT_GT(s.entries, 10000);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_ChartOfAccounts"), s.accounts);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_CostAccEntriesDetail"), s.entries);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_ChartOfAccountsBalances"), s.balances);

	// Debits equal credits in every month of both years, for the ledger and the forecast.
	EXPECT_EQ(Count("SELECT COUNT(DISTINCT FiscalYear || '-' || BalanceType || '-' || BalanceMonth) "
					"FROM Erp_ChartOfAccountsBalances"),
			  48);
	EXPECT_EQ(Query("SELECT FiscalYear, BalanceType, BalanceMonth FROM Erp_ChartOfAccountsBalances "
					"GROUP BY FiscalYear, BalanceType, BalanceMonth HAVING ABS(SUM(Debit) - SUM(Credit)) > 0.001"),
			  Rows{});
	// Every kind of ledger moves; each year opens on the opening balance-sheet account, both sides alike.
	EXPECT_EQ(Count("SELECT COUNT(DISTINCT l.LedgerType) FROM Erp_ChartOfAccountsBalances b "
					"JOIN Erp_ChartOfAccounts a ON a.Account = b.Account JOIN Erp_Ledgers l ON l.Ledger = a.Ledger"),
			  6);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_ChartOfAccountsBalances WHERE Account = '4001001' AND BalanceMonth = 1 "
					"AND Debit > 1000000 AND ABS(Debit - Credit) < 0.001"),
			  4);

	// The codes follow the structure of the parameters: ledger 2, account 2, sub-account 3; only
	// sub-accounts carry balances, and every code sits under its parent.
	const TChartOfAccountParameters* p = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	EXPECT_EQ(p->f_LedgerLength + p->GetSegmentLength(1) + p->GetSegmentLength(2), 7);
	EXPECT_EQ(Query("SELECT Account FROM Erp_ChartOfAccounts WHERE LENGTH(Account) NOT IN (2, 4, 7) "
					"OR Ledger <> substr(Account, 1, 2) OR CarriesBalances <> (LENGTH(Account) = 7) "
					"OR Ledger NOT IN (SELECT Ledger FROM Erp_Ledgers) "
					"OR (LENGTH(Account) > 2 AND substr(Account, 1, CASE LENGTH(Account) WHEN 4 THEN 2 ELSE 4 END) "
					"    NOT IN (SELECT Account FROM Erp_ChartOfAccounts))"),
			  Rows{});
	EXPECT_EQ(Query("SELECT DISTINCT Account FROM Erp_ChartOfAccountsBalances WHERE Account NOT IN "
					"(SELECT Account FROM Erp_ChartOfAccounts WHERE CarriesBalances = 1)"),
			  Rows{});
	EXPECT_GT(Count("SELECT COUNT(*) FROM Erp_ChartOfAccounts WHERE CostAccounting = 1 AND CostAccDetail = 1"), 30);
	EXPECT_GT(Count("SELECT COUNT(*) FROM Erp_ChartOfAccounts WHERE ExcludedFromImport = 1"), 0);

	// The cost-accounting entries of an account add up to its ledger movements, month by month
	// (actual entries to the ledger, forecast ones to the forecast), and to the cost centres' balances.
	EXPECT_EQ(Query("SELECT b.FiscalYear, b.BalanceType, b.Account, b.BalanceMonth FROM Erp_ChartOfAccountsBalances b "
					"JOIN Erp_ChartOfAccounts a ON a.Account = b.Account AND a.CostAccounting = 1 "
					"WHERE ABS(b.Debit - b.Credit - IFNULL((SELECT SUM(CASE DebitCreditSign WHEN 4980736 THEN Amount "
					"ELSE -Amount END) FROM Erp_CostAccEntriesDetail e WHERE e.Account = b.Account AND e.FiscalYear = "
					"b.FiscalYear AND e.EntryType = 7995393 + b.BalanceType - 9306112 AND "
					"CAST(substr(e.PostingDate, 6, 2) AS INTEGER) = b.BalanceMonth), 0)) > 0.001"),
			  Rows{});
	EXPECT_EQ(Query("SELECT c.CostCenter, c.Account FROM (SELECT CostCenter, Account, SUM(Debit - Credit) AS n "
					"FROM Erp_CostCentersBalances GROUP BY CostCenter, Account) c LEFT JOIN (SELECT CostCenter, Account, "
					"SUM(CASE DebitCreditSign WHEN 4980736 THEN Amount ELSE -Amount END) AS n FROM Erp_CostAccEntriesDetail "
					"GROUP BY CostCenter, Account) e USING (CostCenter, Account) WHERE ABS(c.n - IFNULL(e.n, 0)) > 0.001"),
			  Rows{});
	EXPECT_GT(Count("SELECT COUNT(*) FROM Erp_CostAccEntriesDetail WHERE Job <> ''"), 100);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_CostAccEntriesDetail WHERE Job <> '' AND Job NOT IN "
					"(SELECT Job FROM Erp_Jobs j WHERE PostingDate BETWEEN j.StartingDate AND j.EndingDate)"),
			  0);

	// The host's summary gives the same months.
	const auto row = Query("SELECT Account FROM Erp_ChartOfAccountsBalances WHERE FiscalYear = 2025 AND Account LIKE '21%' "
						   "GROUP BY Account ORDER BY COUNT(*) DESC, Account LIMIT 1");
	const CString account = row.at(0).at(0);
	DataMon months[12];
	ASSERT_TRUE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr(account), DataDate(31, 12, 2025), months,
																	   DataEnum(E_BALANCETYPE, 0)));
	for (int m = 1; m <= 12; ++m)
	{
		const auto sum = Query(CString::Formatted("SELECT IFNULL(SUM(Debit - Credit), 0) FROM Erp_ChartOfAccountsBalances "
												  "WHERE FiscalYear = 2025 AND BalanceType = 9306112 AND Account = '%s' "
												  "AND BalanceMonth = %d",
												  account.GetString(), m));
		EXPECT_NEAR(months[m - 1], std::stod(sum.at(0).at(0)), 0.001) << m;
	}

	// Cost centres and jobs of each year through the module's view.
	EXPECT_EQ(Query("SELECT Esercizio, Tipo, COUNT(*) FROM Kvz_VwCdcCommesse GROUP BY Esercizio, Tipo"),
			  (Rows{{"2024", "983629824", "10"}, {"2024", "983629825", "12"}, {"2025", "983629824", "10"},
					{"2025", "983629825", "12"}}));
	TCompanyFiscalYears fy;
	ASSERT_TRUE(AfxGetCompanyInfo()->GetFiscalYear(DataDate(1, 3, 2025), fy));
	EXPECT_EQ(AfxGetCompanyInfo()->GetOpeningDate(fy.f_FiscalYear), DataDate(1, 1, 2025));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_TaxCodes"), 9);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Erp_PaymentTerms"), 8);
}

TEST_F(DemoCompany, TheSameCompanyEveryTimeAndScaled)
{
	erp::CreateDemoCompany(*m_pConn, 1);
	const Rows first = Query(kFingerprint);
	erp::CreateDemoCompany(*m_pConn, 1);  // again over the same company: replaced, the same
	EXPECT_EQ(Query(kFingerprint), first);

	auto other = SqlConnection::Open((m_Folder / "altra.db").string(), SqlConnection::CREATE_IF_MISSING);
	const erp::DemoCompanySummary s2 = erp::CreateDemoCompany(*other, 2);  // tables made as needed
	EXPECT_NE(QueryOn(*other, kFingerprint), first);
	EXPECT_EQ(s2.costCenters, 20);
	EXPECT_EQ(s2.jobs, 24);
	EXPECT_GT(s2.accounts, 500);
	EXPECT_GT(s2.entries, 2 * Count("SELECT COUNT(*) FROM Erp_CostAccEntriesDetail") * 8 / 10);

	EXPECT_THROW(erp::CreateDemoCompany(*m_pConn, 0), std::invalid_argument);
	EXPECT_THROW(erp::CreateDemoCompany(*m_pConn, 26), std::invalid_argument);
	EXPECT_EQ(Query(kFingerprint), first);  // untouched
}

TEST_F(DemoCompany, AFailureLeavesTheCompanyAsItWas)
{
	erp::CreateDemoCompany(*m_pConn, 1);
	const Rows before = Query(kFingerprint);
	// A row the demo's own would clash with, through a trigger that refuses the jobs.
	Sql("CREATE TRIGGER no_jobs BEFORE INSERT ON Erp_Jobs BEGIN SELECT RAISE(ABORT, 'niente commesse'); END");
	EXPECT_THROW(erp::CreateDemoCompany(*m_pConn, 1), SqlException);
	EXPECT_EQ(Query(kFingerprint), before);
	EXPECT_FALSE(m_pConn->IsInTransaction());
}
