#pragma once
// The demo company: a small Italian manufacturer's host data, made up deterministically so that
// the module's procedures have something real to work on.
#include <vector>

#include "platform/plvoledb/SqlConnection.h"

namespace erp {

struct DemoCompanySummary
{
	int firstYear = 0;  // the two fiscal years, calendar years
	int lastYear = 0;
	long accounts = 0;  // rows of the chart of accounts, ledgers and their accounts included
	long costCenters = 0;
	long jobs = 0;
	long entries = 0;   // cost-accounting entry lines
	long balances = 0;  // monthly balances of accounts
};

// The host tables the demo company would replace that already hold rows.
std::vector<CString> TablesWithCompanyData(SqlConnection& connection);

// Fills the company's host tables (creating them when missing; the data already there is
// replaced) in one transaction: chart of accounts with its code structure, ledgers, the fiscal
// year of the application date and the one before, a year of monthly ledger and forecast
// balances for each (debits equal credits in every month), cost centres, jobs, cost-accounting
// entries and balances by cost centre, VAT codes and payment terms. The same scale gives the
// same company for the same application year; scale (1 to 25) multiplies accounts, cost
// centres, jobs and entries. std::invalid_argument for another scale; SqlException when the
// database refuses, std::runtime_error when an abort is asked (nothing is kept then).
DemoCompanySummary CreateDemoCompany(SqlConnection& connection, int scale = 1);

}  // namespace erp
