#include "platform/erp/erpsetup/CompanySetup.h"

namespace erp {

namespace {
// Each statement of a step, run in order.
void Run(SqlConnection& connection, std::initializer_list<const char*> statements)
{
	for (const char* sql : statements)
		connection.ExecuteSQL(sql);
}
}  // namespace

void CreateHostSchema(SqlConnection& connection)
{
	Run(connection, {
		// host tables
		// Minimal fiscal years, cost centres and jobs: enough for the module's view over them.
		"CREATE TABLE IF NOT EXISTS Erp_FiscalYears (FiscalYear INTEGER NOT NULL PRIMARY KEY)",
		"CREATE TABLE IF NOT EXISTS Erp_CostCenters (Code TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, "
		"Description TEXT NOT NULL DEFAULT '')",
		"CREATE TABLE IF NOT EXISTS Erp_Jobs (Code TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, "
		"Description TEXT NOT NULL DEFAULT '')",
	});
}

void CreateModuleExtras(SqlConnection& connection)
{
	Run(connection, {
		// module views and unregistered tables
		// Every cost centre and job in every fiscal year; Tipo is the enumeration 15009, item 0
		// cost centre, item 1 job, stored as tag * 65536 + item.
		"CREATE VIEW IF NOT EXISTS Kvz_VwCdcCommesse AS "
		"SELECT y.FiscalYear AS Esercizio, c.Code AS CentroCommessa, c.Description AS Descrizione, "
		"15009 * 65536 AS Tipo FROM Erp_FiscalYears y CROSS JOIN Erp_CostCenters c "
		"UNION ALL "
		"SELECT y.FiscalYear, j.Code, j.Description, 15009 * 65536 + 1 FROM Erp_FiscalYears y CROSS JOIN Erp_Jobs j",
		// Short descriptions of reclassified codes: the module reads and writes them but does not
		// register the table; its columns as the record Kvz_TDescrizioniBrevi binds them.
		"CREATE TABLE IF NOT EXISTS Kvz_DescrizioniBrevi (CodRiclassificato TEXT COLLATE NOCASE NOT NULL DEFAULT '', "
		"DescrizioneBreve TEXT COLLATE NOCASE NOT NULL DEFAULT '', Selezionata INTEGER NOT NULL DEFAULT 0, "
		"ModelloPerVisDescr TEXT COLLATE NOCASE NOT NULL DEFAULT '', PRIMARY KEY (CodRiclassificato))",
	});
}

void SetupCompanyDatabase(SqlConnection& connection)
{
	CreateHostSchema(connection);
	CreateModuleExtras(connection);
}

}  // namespace erp
