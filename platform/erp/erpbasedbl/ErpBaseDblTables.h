#pragma once
// Every record, reader and hotlink of the host's base tables, and their registration in the
// company database's catalog.
#include <initializer_list>

#include "platform/erp/erpbasedbl/CompanyInfo.h"
#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/erp/erpbasedbl/TPaymentTerms.h"
#include "platform/erp/erpbasedbl/TTAX.h"

namespace erp {

struct HostTable
{
	CRuntimeClass* (*pfnClass)();
	LPCTSTR (*pfnStaticName)();
};

#define ERP_TABLE(rec) ::erp::HostTable{&rec::GetThisClass, &rec::GetStaticName}

// Registers each table (creating or completing it) under the library's namespace; every one
// is attempted. TRUE when all were registered.
BOOL RegisterHostTables(SqlConnection& connection, const CPLVNamespace& library, std::initializer_list<HostTable> tables);

// The chart of accounts and its parameters, ledgers, fiscal years, VAT codes, payment terms.
BOOL RegisterBaseTables(SqlConnection& connection);

}  // namespace erp
