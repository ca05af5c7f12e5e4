#pragma once
// A fresh company database in a temporary folder (or, for the "@pg" run, a fresh schema on the
// PostgreSQL server: see TestBackend.h), the default connection while a test runs, with the
// module's tables registered through the library's own add-on interface.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/driver/tests/PgTestDatabase.h"

class CompanyDb : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("kvzdbl-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		if (plv::db::testing::OnPgBackend())
			KVZ_REQUIRE_PG();
		m_pConn = SqlConnection::Open(Target("azienda.db"), SqlConnection::CREATE_IF_MISSING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		m_pAddOn.reset(KvzDblAddOnInterface());
		ASSERT_TRUE(m_pAddOn);
		ASSERT_TRUE(m_pAddOn->AOI_RegisterTables(m_pConn.get(), "", &m_LibNs));
		erp::SetupCompanyDatabase(*m_pConn);
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_Scope = std::make_unique<InteractionScope>(&m_Ui);
	}

	void TearDown() override
	{
		m_Scope.reset();
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		m_Schemas.clear();
		std::filesystem::remove_all(m_Folder);
		AfxResetApplicationDate();
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
	}

	// The connection target of the company database called file: a file of the folder, or a
	// schema of its own on the server.
	CString Target(const std::string& file)
	{
		if (!plv::db::testing::OnPgBackend())
			return CString((m_Folder / file).string());
		auto& schema = m_Schemas[file];
		if (!schema)
			schema = std::make_unique<plv::db::testing::PgSchema>(*plv::db::testing::PgTestServer());
		return CString(schema->Target());
	}

	// Another company's database in the same folder, with the module's tables.
	std::unique_ptr<SqlConnection> OtherCompany(const char* file)
	{
		auto conn = SqlConnection::Open(Target(file), SqlConnection::CREATE_IF_MISSING);
		m_pAddOn->AOI_RegisterTables(conn.get(), "", &m_LibNs);
		erp::SetupCompanyDatabase(*conn);
		return conn;
	}

	std::filesystem::path m_Folder;
	std::map<std::string, std::unique_ptr<plv::db::testing::PgSchema>> m_Schemas;
	std::unique_ptr<SqlConnection> m_pConn;
	std::unique_ptr<AddOnInterfaceObj> m_pAddOn;
	CPLVNamespace m_LibNs{"KvzNet.KvzMod.KvzDbl"};
	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_Scope;
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

// Writes a row as older data may hold it (a year 0, an empty name), past what its columns take
// today: the readers must still find it.
template <class Rec>
void InsertStoredRow(Rec& rec)
{
	for (int i = 0; i < rec.GetSize(); ++i)
		rec.GetDataObjAt(i)->SetFieldRule(FieldRule());
	InsertRow(rec);
}
