#pragma once
// The company database's own setup: what lies outside the libraries' catalog registration
// (the host's tables, the views over them, tables the module uses but does not register).
// Runs after the libraries registered their tables; every step is idempotent.
#include "platform/plvoledb/SqlConnection.h"

namespace erp {

// The host's own tables the module reads, registered in the catalog by the host libraries;
// SqlException when one cannot be made.
void CreateHostSchema(SqlConnection& connection);
// Views and unregistered tables of the module.
void CreateModuleExtras(SqlConnection& connection);
// Both, in order.
void SetupCompanyDatabase(SqlConnection& connection);

}  // namespace erp
