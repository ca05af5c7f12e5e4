#pragma once
// The company databases of a test, on the backend the test binary runs for: SQLite files in a
// fresh folder, or, when the binary runs with KVZ_TEST_BACKEND=postgresql (ctest registers
// such binaries a second time, with the suffix "@pg"), fresh schemas of the database that
// KVZ_TEST_PG names. KVZ_REQUIRE_BACKEND() skips a test that has no server to run on (and
// fails it under CI).
#include <map>
#include <memory>
#include <string>

#include "platform/plvoledb/driver/tests/PgTestDatabase.h"
#include "platform/plvoledb/tests/TestRecords.h"

#define KVZ_REQUIRE_BACKEND()                      \
	do                                             \
	{                                              \
		if (::TestBackend::OnServer())             \
			KVZ_REQUIRE_PG();                      \
	} while (false)

class TestBackend
{
public:
	static bool OnServer() { return plv::db::testing::OnPgBackend(); }

	// The connection target of the company database called name ("azienda.db"): a file of
	// the folder, or a schema of its own on the server (made on first use).
	CString Target(const std::string& name)
	{
		if (!OnServer())
			return m_Dir.File(name.c_str());
		auto& schema = m_Schemas[name];
		if (!schema)
			schema = std::make_unique<plv::db::testing::PgSchema>(*plv::db::testing::PgTestServer());
		return CString(schema->Target());
	}
	const TestDir& Dir() const { return m_Dir; }

private:
	TestDir m_Dir;
	std::map<std::string, std::unique_ptr<plv::db::testing::PgSchema>> m_Schemas;
};
