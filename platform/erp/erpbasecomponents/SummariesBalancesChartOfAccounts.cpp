#include "platform/erp/erpbasecomponents/SummariesBalancesChartOfAccounts.h"

#include <cmath>

#include "platform/erp/erpbasedbl/CompanyInfo.h"
#include "platform/erp/erpledgerdbl/TBalances.h"

namespace {

// The movements of the fiscal year that holds the date, up to the date's month, of one account
// (an empty one: of all), summed in cents by account and month from the year's first month.
BOOL ReadBalances(const DataStr* pAccount, const DataDate& aDate, const DataEnum& aBalanceType,
				  std::map<std::string, SummariesBalancesChartOfAccounts::MonthsInCents>& aCents)
{
	TCompanyFiscalYears year;
	if (!AfxGetCompanyInfo()->GetFiscalYear(aDate, year))
		return FALSE;

	// Months are counted from the year's first month; only those up to the date's month count.
	const int first = year.f_StartDate.Year() * 12 + year.f_StartDate.Month() - 1;
	const int last = aDate.Year() * 12 + aDate.Month() - 1;

	TChartOfAccountsBalances rec;
	SqlTable table(&rec);
	table.Open(FALSE);
	table.Select(rec.f_Account);
	table.Select(rec.f_BalanceYear);
	table.Select(rec.f_BalanceMonth);
	table.Select(rec.f_Debit);
	table.Select(rec.f_Credit);
	table.AddParam("p1", rec.f_FiscalYear);
	table.AddFilterColumn(rec.f_FiscalYear);
	table.AddParam("p2", rec.f_BalanceType);
	table.AddFilterColumn(rec.f_BalanceType);
	if (pAccount)
	{
		table.AddParam("p3", rec.f_Account);
		table.AddFilterColumn(rec.f_Account);
	}
	table.SetParamValue("p1", year.f_FiscalYear);
	table.SetParamValue("p2", aBalanceType);
	if (pAccount)
		table.SetParamValue("p3", *pAccount);
	for (table.Query(); !table.IsEOF(); table.MoveNext())
	{
		const int month = rec.f_BalanceYear * 12 + rec.f_BalanceMonth - 1;
		if (month < first || month > last || month - first >= 12)
			continue;
		CString account = rec.f_Account.GetString();
		account.MakeUpper();
		// In cents, so that a year of movements adds up to the cent.
		aCents[account.str()][static_cast<size_t>(month - first)] +=
			std::llround(rec.f_Debit * 100.0) - std::llround(rec.f_Credit * 100.0);
	}
	table.Close();
	return TRUE;
}

}  // namespace

BOOL SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(const DataStr& aAccount, const DataDate& aDate,
															DataMon (&aBalances)[12], const DataEnum& aBalanceType)
{
	for (DataMon& m : aBalances)
		m = 0.0;
	std::map<std::string, MonthsInCents> cents;
	if (!ReadBalances(&aAccount, aDate, aBalanceType, cents))
		return FALSE;
	MonthsInCents total{};
	for (const auto& [account, months] : cents)
		for (size_t k = 0; k < 12; ++k)
			total[k] += months[k];
	for (size_t k = 0; k < 12; ++k)
		aBalances[k] = static_cast<double>(total[k]) / 100.0;
	return TRUE;
}

BOOL SummariesBalancesChartOfAccounts::BalancesOfFiscalYearByAccount(const DataDate& aDate,
																	 const DataEnum& aBalanceType,
																	 std::map<std::string, MonthsInCents>& aBalances)
{
	aBalances.clear();
	return ReadBalances(nullptr, aDate, aBalanceType, aBalances);
}
