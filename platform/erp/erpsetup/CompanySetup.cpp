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
	});
}

void CreateModuleExtras(SqlConnection& connection)
{
	Run(connection, {
		// module views and unregistered tables
	});
}

void SetupCompanyDatabase(SqlConnection& connection)
{
	CreateHostSchema(connection);
	CreateModuleExtras(connection);
}

}  // namespace erp
