#pragma once
// The demo company that `kvz init --demo` fills in.
#include "platform/plvoledb/SqlConnection.h"

// Fills the company's host data at the given scale and says what it made; FALSE with the
// reason when it cannot.
BOOL FillDemoCompany(SqlConnection& connection, int scale, CString& reason);
