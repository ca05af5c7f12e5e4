#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"

#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"

namespace erp {

BOOL RegisterLedgerTables(SqlConnection& connection)
{
	return RegisterHostTables(connection, CPLVNamespace("Erp.Ledger.ErpLedgerDbl"),
							  {
								  ERP_TABLE(TCostCenters),
								  ERP_TABLE(TJobs),
								  ERP_TABLE(TCostAccEntriesDetail),
								  ERP_TABLE(TChartOfAccountsBalances),
								  ERP_TABLE(TCostCentersBalances),
							  });
}

}  // namespace erp
