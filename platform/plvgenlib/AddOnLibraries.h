#pragma once
// The host's side of the library contract (LibraryEntry.h): loads module libraries in
// dependency order, lets each register through its add-on interface, owns the interface
// objects and unloads the libraries in reverse order.
#include <memory>
#include <vector>

#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

class SqlConnection;

// A module library as the host knows it: its name ("KvzDbl"), its file, and its namespace,
// used when the library registered none with the command manager.
struct AddOnLibraryInfo
{
	CString name;
	CString path;
	CPLVNamespace ns;
};

class CAddOnLibraries
{
public:
	struct Library
	{
		AddOnLibraryInfo info;
		CPLVNamespace ns;  // the one registrations get
		HMODULE hModule = nullptr;
		void* hHandle = nullptr;
		BOOL (*pfnEntry)(HMODULE, DWORD) = nullptr;
		std::unique_ptr<AddOnInterfaceObj> pAddOn;  // null for a library without one
		std::vector<const FunctionDataInterface*> declared;
		bool registered = false;
	};

	CAddOnLibraries();
	~CAddOnLibraries();  // Unload()
	CAddOnLibraries(const CAddOnLibraries&) = delete;
	CAddOnLibraries& operator=(const CAddOnLibraries&) = delete;

	// Loads a library, calls its entry (a FALSE answer fails the load) and takes its add-on
	// interface when it exports one. FALSE, with the failure reported by the library's name,
	// when it did not load or its add-on entry gave nothing.
	BOOL Load(const AddOnLibraryInfo& info);
	// Every library not yet registered, in load order: tables on the connection (none: no
	// tables), hotlinks, templates, functions, then its database release on the connection.
	// Every library is asked; FALSE when any of them failed.
	BOOL RegisterAll(SqlConnection* pConnection);
	// Closes the documents still open, then in reverse order takes back each library's
	// templates and declarations, destroys its interface object and unloads it.
	void Unload();

	const std::vector<std::unique_ptr<Library>>& GetLibraries() const { return m_Libraries; }
	const Library* Find(const CString& name) const;
	// Failures reported so far, each beginning with the library's name.
	const std::vector<CString>& GetErrors() const { return m_Errors; }

	// Lets each library attach its client documents to a document that opens.
	void AttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs);

private:
	void Report(const Library& lib, const CString& what);
	void Report(const CString& name, const CString& what);
	bool Register(Library& lib, UINT nID, SqlConnection* pConnection);

	std::vector<std::unique_ptr<Library>> m_Libraries;
	std::vector<CString> m_Errors;
};

// The client documents of every loaded library, for the documents layer when a document opens.
void AfxAttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs);

// Functions offered to reports, found by their exported name: the first loaded library, in
// load order, that exports the name itself, else one the host offers under that name. Null
// when nobody offers it.
void* AfxFindExportedFunction(const CString& name);
// The host's own function under a name (null takes it back); a library's export comes first.
void AfxRegisterExportedFunction(const CString& name, void* pfn);
