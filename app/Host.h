#pragma once
// The application the command line plays: a user-interface thread, the command manager, the
// company database as the default connection, and the module libraries loaded on it.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvoledb/SqlConnection.h"

class KvzHost
{
public:
	KvzHost();
	~KvzHost();
	KvzHost(const KvzHost&) = delete;
	KvzHost& operator=(const KvzHost&) = delete;

	// Opens the company database (creating it when asked) as the default connection; FALSE,
	// with the reason on stderr, when it cannot.
	bool OpenCompany(const std::string& path, bool bCreate);
	// Loads the module libraries from the folder of the program's libraries, in dependency
	// order, and lets them register on the company; FALSE when one of them failed (each
	// failure on stderr, by the library's name). Further libraries (files) come after them and
	// are known by the namespace they register.
	bool LoadModule(const std::vector<std::string>& extraLibraries = {});

	// Where and in which form the reports are written (format "pdf", "xlsx" or "csv"; folder
	// empty: NAME-report beside the database NAME.db); each file written is printed on stdout.
	// FALSE, with the reason on stderr, for a format or folder that cannot be used.
	bool SetReportOutput(const std::string& format, const std::string& folder, const std::string& database);

	SqlConnection& Connection() { return *m_pConnection; }
	// The company database as messages name it: a file's path, a server database's identity
	// (never its connection string, which may hold a password).
	const std::string& CompanyName() const { return m_strName; }
	CPlvCommandManager& CommandManager() { return m_Manager; }
	const CAddOnLibraries& Libraries() const { return m_Libraries; }

	// Where the module libraries are: build/lib beside build/bin, or the program's own folder.
	static std::filesystem::path LibraryFolder();

private:
	CUiThread m_Ui;
	CPlvCommandManager m_Manager;  // before the libraries: they register their namespaces at load
	std::unique_ptr<SqlConnection> m_pConnection;
	std::string m_strName;
	CAddOnLibraries m_Libraries;  // goes first: closes the documents, then unloads
};
