#pragma once
// Summaries of the chart of accounts' balances, as the ledger keeps them month by month.
#include <array>
#include <map>
#include <string>

#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/plvgeneric/DataObj.h"

class SummariesBalancesChartOfAccounts : public CObject
{
	DECLARE_DYNAMIC(SummariesBalancesChartOfAccounts, CObject)
public:
	// The movements of an account in the fiscal year that holds the date, debit minus credit,
	// month by month: balances[k] is the (k + 1)-th month counted from the year's first month.
	// Months after the date's month are 0, as are all of them when no fiscal year holds the
	// date (then FALSE). The kind is of E_BALANCETYPE: item 0 the ledger, item 1 the forecast.
	// Reads the current company.
	static BOOL BalancesOfFiscalYear(const DataStr& aAccount, const DataDate& aDate, DataMon (&aBalances)[12],
									 const DataEnum& aBalanceType);
	// The same for every account at once, read by one query: the months in cents, by account
	// code in upper case; an account without movements is absent.
	using MonthsInCents = std::array<long long, 12>;
	static BOOL BalancesOfFiscalYearByAccount(const DataDate& aDate, const DataEnum& aBalanceType,
											  std::map<std::string, MonthsInCents>& aBalances);
};
