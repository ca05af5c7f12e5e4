#include "DemoCompany.h"

#include "CliInteraction.h"

#include <cstdio>
#include <exception>

#include "platform/erp/erpdemo/DemoCompany.h"

BOOL FillDemoCompany(SqlConnection& connection, int scale, CString& reason)
{
	try
	{
		const erp::DemoCompanySummary s = erp::CreateDemoCompany(connection, scale);
		CliInteraction::ClearProgress();
		std::printf("Demo company (scale %d): %ld accounts, %ld cost centres, %ld jobs, %ld cost-accounting entries, "
					"%ld monthly balances of the fiscal years %d and %d.\n",
					scale, s.accounts, s.costCenters, s.jobs, s.entries, s.balances, s.firstYear, s.lastYear);
		return TRUE;
	}
	catch (const std::exception& e)
	{
		reason = e.what();
		return FALSE;
	}
}
