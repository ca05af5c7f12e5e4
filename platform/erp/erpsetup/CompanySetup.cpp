#include "platform/erp/erpsetup/CompanySetup.h"

#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"

namespace erp {

namespace {
// Each statement of a step, run in order.
void Run(SqlConnection& connection, std::initializer_list<CString> statements)
{
	for (const CString& sql : statements)
		connection.ExecuteSQL(sql);
}
}  // namespace

void CreateHostSchema(SqlConnection& connection)
{
	// The host libraries register their own tables; a table that cannot be made is an error.
	if (!RegisterBaseTables(connection) || !RegisterLedgerTables(connection))
		throw SqlException("Impossibile creare le tabelle del gestionale.");
}

void CreateModuleExtras(SqlConnection& connection)
{
	Run(connection, {
		// module views and unregistered tables
		// Every cost centre and job in every fiscal year. Esercizio is the calendar year the
		// fiscal year starts in, as the module numbers its years; Tipo is the enumeration 15009,
		// item 0 cost centre, item 1 job, stored as tag * 65536 + item. Made anew each time, so
		// that the definition follows the host's tables.
		"DROP VIEW IF EXISTS Kvz_VwCdcCommesse",
		CString::Formatted(
			"CREATE VIEW Kvz_VwCdcCommesse AS "
			"SELECT CAST(substr(CAST(y.StartDate AS TEXT), 1, 4) AS INTEGER) AS Esercizio, c.CostCenter AS CentroCommessa, "
			"c.Description AS Descrizione, 15009 * 65536 AS Tipo FROM %s y CROSS JOIN %s c "
			"UNION ALL "
			"SELECT CAST(substr(CAST(y.StartDate AS TEXT), 1, 4) AS INTEGER), j.Job, j.Description, 15009 * 65536 + 1 "
			"FROM %s y CROSS JOIN %s j",
			TCompanyFiscalYears::GetStaticName(), TCostCenters::GetStaticName(), TCompanyFiscalYears::GetStaticName(),
			TJobs::GetStaticName()),
		// Short descriptions of reclassified codes: the module reads and writes them but does not
		// register the table; its columns as the record Kvz_TDescrizioniBrevi binds them.
		CString::Formatted("CREATE TABLE IF NOT EXISTS Kvz_DescrizioniBrevi (CodRiclassificato %s NOT NULL DEFAULT '', "
						   "DescrizioneBreve %s NOT NULL DEFAULT '', Selezionata INTEGER NOT NULL DEFAULT 0, "
						   "ModelloPerVisDescr %s NOT NULL DEFAULT '', PRIMARY KEY (CodRiclassificato))",
						   connection.GetTextColumnType().GetString(), connection.GetTextColumnType().GetString(),
						   connection.GetTextColumnType().GetString()),
	});
}

void SetupCompanyDatabase(SqlConnection& connection)
{
	CreateHostSchema(connection);
	CreateModuleExtras(connection);
}

}  // namespace erp
