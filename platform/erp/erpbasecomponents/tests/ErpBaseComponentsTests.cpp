#include <cmath>
#include <numeric>

#include "platform/erp/erpbasecomponents/Divider.h"
#include "platform/erp/erpbasecomponents/SummariesBalancesChartOfAccounts.h"
#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"

namespace {
class Balances : public ErpCompanyDb
{
protected:
	void RegisterTables(SqlConnection& connection) override
	{
		ASSERT_TRUE(erp::RegisterBaseTables(connection));
		ASSERT_TRUE(erp::RegisterLedgerTables(connection));
	}

	void Movement(int fiscalYear, WORD type, const char* account, int year, int month, double debit, double credit)
	{
		TChartOfAccountsBalances r;
		r.f_FiscalYear = fiscalYear;
		r.f_BalanceType = DataEnum(E_BALANCETYPE, type);
		r.f_Account = account;
		r.f_BalanceYear = year;
		r.f_BalanceMonth = month;
		r.f_Debit = debit;
		r.f_Credit = credit;
		InsertRow(r);
	}
};

std::vector<double> Values(const DataMon (&months)[12])
{
	return std::vector<double>(std::begin(months), std::end(months));
}

long long Cents(double v)
{
	return std::llround(v * 100);
}
}  // namespace

TEST_F(Balances, FiscalYearFromJulyMonthByMonthDebitPositive)
{
	Sql("INSERT INTO Erp_FiscalYears (FiscalYear, StartDate, EndDate, Opened) VALUES "
		"(2024, '2023-07-01', '2024-06-30', 1), (2025, '2024-07-01', '2025-06-30', 1)");
	Movement(2025, 0, "2101001", 2024, 7, 100, 0);       // fiscal month 1
	Movement(2025, 0, "2101001", 2024, 12, 40.10, 0.05);  // 6
	Movement(2025, 0, "2101001", 2025, 1, 0, 12.5);       // 7: a credit gives a negative amount
	Movement(2025, 0, "2101001", 2025, 3, 3, 0);          // 9
	Movement(2025, 0, "2101001", 2025, 4, 1000, 0);       // 10: after the date asked for
	Movement(2025, 1, "2101001", 2024, 8, 55, 0);         // forecast
	Movement(2025, 0, "2101002", 2024, 7, 999, 0);        // another account
	Movement(2024, 0, "2101001", 2024, 6, 777, 0);        // another fiscal year

	DataMon months[12];
	const DataDate end(31, 3, 2025);
	ASSERT_TRUE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr("2101001"), end, months,
																	   DataEnum(E_BALANCETYPE, 0)));
	EXPECT_EQ(Values(months), (std::vector<double>{100, 0, 0, 0, 0, 40.05, -12.5, 0, 3, 0, 0, 0}));

	ASSERT_TRUE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr("2101001"), DataDate(30, 6, 2025), months,
																	   DataEnum(E_BALANCETYPE, 0)));
	EXPECT_DOUBLE_EQ(months[9], 1000);  // the whole year

	ASSERT_TRUE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr("2101001"), end, months,
																	   DataEnum(E_BALANCETYPE, 1)));
	EXPECT_EQ(Values(months), (std::vector<double>{0, 55, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

	ASSERT_TRUE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr("2101001"), DataDate(15, 6, 2024), months,
																	   DataEnum(E_BALANCETYPE, 0)));
	EXPECT_DOUBLE_EQ(months[11], 777);  // June is month 12 of the year from July

	months[0] = 5;
	EXPECT_FALSE(SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(DataStr("2101001"), DataDate(1, 1, 2030), months,
																		DataEnum(E_BALANCETYPE, 0)));
	EXPECT_EQ(Values(months), std::vector<double>(12, 0.0));
}

TEST(Divider, InstalmentsAddUpToTheAmount)
{
	const struct
	{
		double amount, tax;
		int instalments;
		WORD split;
		BOOL taxOnFirst;
		std::vector<double> expected;
	} cases[] = {
		{100.00, 0, 3, 0, FALSE, {33.33, 33.33, 33.34}},
		{100.00, 0, 3, 1, FALSE, {33.34, 33.33, 33.33}},
		{0.05, 0, 3, 0, FALSE, {0.01, 0.01, 0.03}},
		{-100.00, 0, 3, 0, FALSE, {-33.33, -33.33, -33.34}},
		{1000.00, 220.00, 3, 0, TRUE, {553.33, 333.33, 333.34}},
		{1000.00, 220.00, 3, 0, FALSE, {406.66, 406.66, 406.68}},
		{1234.57, 0, 1, 0, FALSE, {1234.57}},
		{1234.57, 0, 0, 0, FALSE, {1234.57}},  // no instalments count as one
		{999.99, 0, 7, 0, FALSE, {142.85, 142.85, 142.85, 142.85, 142.85, 142.85, 142.89}},
	};
	for (auto& c : cases)
	{
		TPaymentTerms terms;
		terms.f_NoOfInstalments = c.instalments;
		terms.f_DaysToFirstInstalment = 30;
		terms.f_DaysBetweenInstalments = 30;
		terms.f_AmountsSplit = DataEnum(E_INSTALMENTSPLIT, c.split);
		terms.f_TaxOnFirstInstalment = c.taxOnFirst;
		Divider divider;
		divider.GeneratePymtSchedule(terms, DataDate(15, 1, 2025), c.amount, c.tax);
		ASSERT_EQ(divider.GetSize(), static_cast<int>(c.expected.size())) << c.amount;
		long long sum = 0, taxes = 0;
		for (int i = 0; i < divider.GetSize(); ++i)
		{
			EXPECT_EQ(Cents(divider.GetInstalment(i)->f_Amount), Cents(c.expected[i])) << c.amount << " #" << i;
			sum += Cents(divider.GetInstalment(i)->f_Amount);
			taxes += Cents(divider.GetInstalment(i)->f_Tax);
		}
		EXPECT_EQ(sum, Cents(c.amount) + Cents(c.tax)) << c.amount;
		EXPECT_EQ(taxes, Cents(c.tax)) << c.amount;
	}
}

TEST(Divider, DueDatesAndASplitAnew)
{
	TPaymentTerms terms;
	terms.f_NoOfInstalments = 3;
	terms.f_DaysToFirstInstalment = 30;
	terms.f_DaysBetweenInstalments = 30;
	Divider divider;
	divider.GeneratePymtSchedule(terms, DataDate(1, 11, 2025), 300, 0);
	const DataDate plain[] = {DataDate(1, 12, 2025), DataDate(31, 12, 2025), DataDate(30, 1, 2026)};
	for (int i = 0; i < 3; ++i)
		EXPECT_EQ(divider.GetInstalment(i)->f_DueDate, plain[i]) << i;
	EXPECT_EQ(divider.GetInstalment(3), nullptr);
	EXPECT_EQ(divider.GetInstalment(-1), nullptr);

	terms.f_EndOfMonth = TRUE;
	divider.GeneratePymtSchedule(terms, DataDate(15, 1, 2024), 300, 0);
	const DataDate endOfMonth[] = {DataDate(29, 2, 2024), DataDate(31, 3, 2024), DataDate(30, 4, 2024)};
	for (int i = 0; i < 3; ++i)
		EXPECT_EQ(divider.GetInstalment(i)->f_DueDate, endOfMonth[i]) << i;

	// The same instalments, another amount split another way.
	divider.SubdivideAmounts(DataEnum(E_INSTALMENTSPLIT, 1), DataBool(FALSE), 10, 0);
	EXPECT_EQ(divider.GetSize(), 3);
	EXPECT_EQ(divider.GetInstalment(2)->f_DueDate, DataDate(30, 4, 2024));
	EXPECT_EQ(Cents(divider.GetInstalment(0)->f_Amount), 334);
	EXPECT_EQ(Cents(divider.GetInstalment(1)->f_Amount), 333);

	Divider fresh;
	fresh.SubdivideAmounts(DataEnum(E_INSTALMENTSPLIT, 0), DataBool(FALSE), 42.42, 0);  // no schedule: one
	ASSERT_EQ(fresh.GetSize(), 1);
	EXPECT_EQ(Cents(fresh.GetInstalment(0)->f_Amount), 4242);
	EXPECT_TRUE(fresh.GetInstalment(0)->f_DueDate.IsEmpty());
}
