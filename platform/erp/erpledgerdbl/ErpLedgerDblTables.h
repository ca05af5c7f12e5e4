#pragma once
// Every record, reader and hotlink of the host's ledger tables, and their registration in the
// company database's catalog.
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"

namespace erp {

// Cost centres, jobs, cost-accounting entries, balances of accounts and of cost centres.
BOOL RegisterLedgerTables(SqlConnection& connection);

}  // namespace erp
