#include "platform/erp/erpbasecomponents/SummariesBalancesChartOfAccounts.h"

#include <cmath>

#include "platform/erp/erpbasedbl/CompanyInfo.h"
#include "platform/erp/erpledgerdbl/TBalances.h"

BOOL SummariesBalancesChartOfAccounts::BalancesOfFiscalYear(const DataStr& aAccount, const DataDate& aDate,
															DataMon (&aBalances)[12], const DataEnum& aBalanceType)
{
	for (DataMon& m : aBalances)
		m = 0.0;
	TCompanyFiscalYears year;
	if (!AfxGetCompanyInfo()->GetFiscalYear(aDate, year))
		return FALSE;

	// Months are counted from the year's first month; only those up to the date's month count.
	const int first = year.f_StartDate.Year() * 12 + year.f_StartDate.Month() - 1;
	const int last = aDate.Year() * 12 + aDate.Month() - 1;
	long long cents[12] = {};

	TChartOfAccountsBalances rec;
	SqlTable table(&rec);
	table.Open(FALSE);
	table.SelectAll();
	table.AddParam("p1", rec.f_FiscalYear);
	table.AddFilterColumn(rec.f_FiscalYear);
	table.AddParam("p2", rec.f_BalanceType);
	table.AddFilterColumn(rec.f_BalanceType);
	table.AddParam("p3", rec.f_Account);
	table.AddFilterColumn(rec.f_Account);
	table.SetParamValue("p1", year.f_FiscalYear);
	table.SetParamValue("p2", aBalanceType);
	table.SetParamValue("p3", aAccount);
	for (table.Query(); !table.IsEOF(); table.MoveNext())
	{
		const int month = rec.f_BalanceYear * 12 + rec.f_BalanceMonth - 1;
		if (month < first || month > last || month - first >= 12)
			continue;
		// In cents, so that a year of movements adds up to the cent.
		cents[month - first] += std::llround(rec.f_Debit * 100.0) - std::llround(rec.f_Credit * 100.0);
	}
	table.Close();
	for (int k = 0; k < 12; ++k)
		aBalances[k] = static_cast<double>(cents[k]) / 100.0;
	return TRUE;
}
