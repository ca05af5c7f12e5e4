#pragma once
// The module's libraries loaded from their files and registered as the host does, on a fresh
// company database, with a command manager that opens documents as the documents layer builds
// them and a main window on this thread.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <variant>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/ADMObj.h"
#include "platform/plvges/DocumentFactory.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/Driver.h"

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
#ifdef KVZAPPL_FILE
		// The cost-driver documents, loaded after the documents they build on.
		ASSERT_TRUE(m_Libs.Load({"KvzAppl", KVZAPPL_FILE, CPLVNamespace()}));
#endif
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

	// The host's answer to "which document offers this interface": the document itself when it
	// derives from it (the budget document from Kvz_ADMBudgetObj).
	static ADMObj* QueryADM(CBaseDocument* pDocument, LPCTSTR lpszInterface)
	{
		auto* pADM = dynamic_cast<ADMObj*>(pDocument);
		return pADM && std::strcmp(*pADM->GetADMClass(), lpszInterface) == 0 ? pADM : nullptr;
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

	// A row added to its table (of the given company's database, else this one's).
	template <class Rec>
	static void Inserisci(Rec& rec, SqlConnection* pConn = nullptr)
	{
		SqlTable t(&rec, pConn ? pConn->GetDefaultSqlSession() : nullptr);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}
	// The integer the query's first row starts with; -1 for none.
	long Numero(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return -1;
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<std::int64_t>(v) ? static_cast<long>(std::get<std::int64_t>(v)) : -1;
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
