#include "DemoCompany.h"

BOOL FillDemoCompany(SqlConnection&, CString& reason)
{
	// The host's data (chart of accounts, ledgers, cost centres) it is made of do not exist yet.
	reason = "the demo company is not available yet";
	return FALSE;
}
