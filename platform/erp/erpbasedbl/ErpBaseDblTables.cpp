#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"

namespace erp {

BOOL RegisterHostTables(SqlConnection& connection, const CPLVNamespace& library, std::initializer_list<HostTable> tables)
{
	BOOL bAll = TRUE;
	for (const HostTable& t : tables)
	{
		CPLVNamespace ns = library;
		ns.SetObjectName(CPLVNamespace::TABLE, t.pfnStaticName(), TRUE, FALSE);
		if (!connection.RegisterCatalogEntry("", ns, t.pfnClass(), SqlRecord::TABLE_TYPE))
			bAll = FALSE;
	}
	return bAll;
}

BOOL RegisterBaseTables(SqlConnection& connection)
{
	RegisterBaseEnumTexts();
	return RegisterHostTables(connection, CPLVNamespace("Erp.Base.ErpBaseDbl"),
							  {
								  ERP_TABLE(TChartOfAccounts),
								  ERP_TABLE(TChartOfAccountParameters),
								  ERP_TABLE(TLedgers),
								  ERP_TABLE(TCompanyFiscalYears),
								  ERP_TABLE(TCompanyData),
								  ERP_TABLE(TTAX),
								  ERP_TABLE(TPaymentTerms),
							  });
}

}  // namespace erp
