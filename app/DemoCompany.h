#pragma once
// The demo company that `kvz init --demo` fills in.
#include "platform/plvoledb/SqlConnection.h"

// Fills the company's host and module data; FALSE with the reason when it cannot.
BOOL FillDemoCompany(SqlConnection& connection, CString& reason);
