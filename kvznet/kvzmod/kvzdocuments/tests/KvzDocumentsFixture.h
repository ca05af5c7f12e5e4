#pragma once
// The module's libraries loaded from their files and registered as the host does, on a fresh
// company database, with a command manager that opens documents as the documents layer builds
// them and a main window on this thread.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/DocumentFactory.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvoledb/SqlConnection.h"

class KvzDocumentsLibrary : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("kvzdocuments-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		m_pConn = SqlConnection::Open(CString((m_Folder / "azienda.db").string()), SqlConnection::CREATE_IF_MISSING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		// Forms that remember their choices write them here, not in the user's settings.
		AfxSetSettingsRoot(CString((m_Folder / "settings").string()));
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_Scope = std::make_unique<InteractionScope>(&m_Ui);
		m_Manager.SetDocumentOpener(&OpenDocumentFromClasses);
		m_Manager.Install();
		for (auto [name, file] : {std::pair{"KvzDbl", KVZDBL_FILE}, std::pair{"KvzDriversDbl", KVZDRIVERSDBL_FILE},
								  std::pair{"KvzComponents", KVZCOMPONENTS_FILE},
								  std::pair{"KvzDocuments", KVZDOCUMENTS_FILE}})
			ASSERT_TRUE(m_Libs.Load({name, file, CPLVNamespace()})) << name;
		ASSERT_TRUE(m_Libs.RegisterAll(m_pConn.get()));
		m_pDocs = m_Libs.Find("KvzDocuments");
		m_hWnd = m_UiThread.GetMainWnd();
	}

	void TearDown() override
	{
		m_Libs.Unload();
		AfxGetBaseApp()->RemoveAllTemplates();
		AfxGetBaseApp()->ClearRegistrationErrors();
		m_Scope.reset();
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		AfxSetSettingsRoot(CString());
		std::filesystem::remove_all(m_Folder);
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
	}

	// A function of the documents library, by its exported name.
	template <class Fn>
	Fn Export(const char* name) const
	{
		return reinterpret_cast<Fn>(dlsym(m_pDocs->hHandle, name));
	}

	template <class Doc>
	Doc* Open(const char* templateName)
	{
		CBaseDocument* p = m_Manager.RunDocument(CString("KvzNet.KvzMod.KvzDocuments.") + templateName);
		return dynamic_cast<Doc*>(p);
	}

	// Runs work on a new thread while this thread runs its loop; the loop ends with the work.
	void OnWorker(const std::function<void()>& work)
	{
		std::thread worker([&] {
			work();
			m_UiThread.Quit();
		});
		m_UiThread.Run();
		worker.join();
	}

	std::filesystem::path m_Folder;
	std::unique_ptr<SqlConnection> m_pConn;
	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_Scope;
	CUiThread m_UiThread;
	HWND m_hWnd = nullptr;
	CPlvCommandManager m_Manager;
	CAddOnLibraries m_Libs;
	const CAddOnLibraries::Library* m_pDocs = nullptr;
};
