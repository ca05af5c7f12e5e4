#pragma once
// A fresh company database in a temporary folder, the default connection while a test runs,
// with the host's tables registered by the host libraries linked into the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

class ErpCompanyDb : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("erp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		m_pConn = SqlConnection::Open((m_Folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		RegisterTables(*m_pConn);
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_Scope = std::make_unique<InteractionScope>(&m_Ui);
	}

	void TearDown() override
	{
		m_Scope.reset();
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		std::filesystem::remove_all(m_Folder);
		AfxResetApplicationDate();
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
	}

	// The tables of the libraries under test.
	virtual void RegisterTables(SqlConnection& connection) = 0;

	void Sql(const char* sql) { m_pConn->ExecuteSQL(sql); }

	std::filesystem::path m_Folder;
	std::unique_ptr<SqlConnection> m_pConn;
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

// The codes a hotlink search lists, in its order.
template <class Hkl>
std::vector<CString> Listed(Hkl& hkl, int nSelectionType, const char* pattern)
{
	int nCode = 0;
	while (hkl.GetRecord()->GetDataObjAt(nCode) != hkl.GetDataObj())
		++nCode;
	std::vector<CString> out;
	for (auto& r : hkl.Search(nSelectionType, DataStr(pattern)))
		out.push_back(r->GetDataObjAt(nCode)->FormatData());
	return out;
}
