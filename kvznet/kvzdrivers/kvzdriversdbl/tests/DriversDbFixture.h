#pragma once
// A fresh database (an SQLite file in a temporary folder, or for the "@pg" run a schema of its
// own on the PostgreSQL server) as the default connection, with the cost-driver tables
// registered through the library's own add-on interface.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/tests/PgTestDatabase.h"

extern "C" AddOnInterfaceObj* _VandrelAddOn_();

class DriversDb : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("kvzdrivers-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		if (plv::db::testing::OnPgBackend())
			KVZ_REQUIRE_PG();
		m_pConn = Open("azienda.db");
		AfxSetDefaultSqlConnection(m_pConn.get());
		m_pAddOn.reset(_VandrelAddOn_());
		ASSERT_TRUE(m_pAddOn->AOI_RegisterTables(m_pConn.get(), "", &m_LibNs));
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
	}

	void TearDown() override
	{
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		m_pSchemas.clear();
		std::filesystem::remove_all(m_Folder);
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
	}

	// A database of its own, without tables.
	std::unique_ptr<SqlConnection> Open(const std::string& file)
	{
		if (!plv::db::testing::OnPgBackend())
			return SqlConnection::Open(CString((m_Folder / file).string()), SqlConnection::CREATE_IF_MISSING);
		m_pSchemas.push_back(std::make_unique<plv::db::testing::PgSchema>(*plv::db::testing::PgTestServer()));
		return SqlConnection::Open(CString(m_pSchemas.back()->Target()), SqlConnection::CREATE_IF_MISSING);
	}

	std::filesystem::path m_Folder;
	std::vector<std::unique_ptr<plv::db::testing::PgSchema>> m_pSchemas;
	std::unique_ptr<SqlConnection> m_pConn;
	std::unique_ptr<AddOnInterfaceObj> m_pAddOn;
	CPLVNamespace m_LibNs{"Library.KvzNet.KvzDrivers.KvzDriversDbl"};
};

// Writes a record as a new row through a cursor of its own.
template <class Rec>
void InsertRow(Rec& rec)
{
	SqlTable t(&rec);
	t.Open(TRUE);
	t.AddNew(FALSE);
	t.Update();
}
