#pragma once
// The tests' own module libraries, and a fresh company database with a scripted interaction.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvoledb/SqlConnection.h"

// In dependency order; each with the namespace the host would give it.
inline AddOnLibraryInfo TablesLib() { return {"PlvTestTables", PLVTEST_TABLES, "Library.PlvTest.HostMod.TestTables"}; }
inline AddOnLibraryInfo PartsLib() { return {"PlvTestParts", PLVTEST_PARTS, "Library.PlvTest.HostMod.TestParts"}; }
inline AddOnLibraryInfo DocsLib() { return {"PlvTestDocs", PLVTEST_DOCS, "Library.PlvTest.HostMod.TestDocs"}; }

class CompanyFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("plvgenlib-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		m_pConn = SqlConnection::Open((m_Folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_Scope = std::make_unique<InteractionScope>(&m_Ui);
	}

	void TearDown() override
	{
		m_Scope.reset();
		AfxGetBaseApp()->RemoveAllTemplates();
		AfxGetBaseApp()->ClearRegistrationErrors();
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
		m_pConn.reset();
		std::filesystem::remove_all(m_Folder);
	}

	std::filesystem::path m_Folder;
	std::unique_ptr<SqlConnection> m_pConn;
	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_Scope;
};

// Runs `work` on a new thread while this thread runs its loop; the loop ends with the work.
inline void RunOnWorker(CUiThread& ui, const std::function<void()>& work)
{
	std::thread worker([&] {
		work();
		ui.Quit();
	});
	ui.Run();
	worker.join();
}
