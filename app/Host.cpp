#include "Host.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "ModuleLibraries.h"
#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvges/ADMObj.h"
#include "platform/plvges/DocumentFactory.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {
std::filesystem::path LibraryFile(const std::filesystem::path& folder, const char* name)
{
	return folder / (std::string("lib") + name + ".so");
}

// The automation interface a document offers under that name.
ADMObj* QueryADM(CBaseDocument* pDocument, LPCTSTR lpszInterface)
{
	auto* pADM = dynamic_cast<ADMObj*>(pDocument);
	const LPCTSTR* pName = pADM ? pADM->GetADMClass() : nullptr;
	return pName && *pName && lpszInterface && std::strcmp(*pName, lpszInterface) == 0 ? pADM : nullptr;
}
}  // namespace

KvzHost::KvzHost()
{
	// Documents open as the documents layer builds them, with the libraries' client documents.
	m_Manager.SetDocumentOpener(&OpenDocumentFromClasses);
	m_Manager.SetADMInterfaceQuery(&QueryADM);
	AfxSetClientDocAttacher(&AfxAttachClientDocs);
	m_Manager.Install();
	// Reports are recorded and announced until they can be rendered.
	AfxSetReportRunner(nullptr);
}

KvzHost::~KvzHost()
{
	m_Libraries.Unload();
	AfxSetClientDocAttacher(nullptr);
	AfxSetDefaultSqlConnection(nullptr);
}

std::filesystem::path KvzHost::LibraryFolder()
{
	std::error_code ec;
	const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
	const std::filesystem::path bin = ec ? std::filesystem::current_path() : exe.parent_path();
	const std::filesystem::path lib = (bin / ".." / "lib").lexically_normal();
	if (!kModuleLibraries.empty() && std::filesystem::exists(LibraryFile(bin, kModuleLibraries.front().name)))
		return bin;
	return lib;
}

bool KvzHost::OpenCompany(const std::string& path, bool bCreate)
{
	try
	{
		m_pConnection = SqlConnection::Open(path, bCreate ? SqlConnection::CREATE_IF_MISSING : SqlConnection::OPEN_EXISTING);
	}
	catch (const std::exception& e)
	{
		// A connection string, well formed or not, may hold a password.
		std::fprintf(stderr, "kvz: cannot open the company database %s: %s\n", plv::db::RedactSecrets(path).c_str(),
					 plv::db::RedactSecrets(e.what()).c_str());
		return false;
	}
	AfxSetDefaultSqlConnection(m_pConnection.get());
	// A server database is named by its identity ("postgresql://host:port/name"), a file by its path.
	m_strName =
		m_pConnection->IsServer() ? m_pConnection->GetDatabasePath().str().substr(0, m_pConnection->GetDatabasePath().str().find('?'))
								  : path;
	AfxGetLoginInfos()->m_strCompanyName = std::filesystem::path(m_strName).stem().string();
	return true;
}

bool KvzHost::LoadModule(const std::vector<std::string>& extraLibraries)
{
	const std::filesystem::path folder = LibraryFolder();
	bool ok = true;
	for (const ModuleLibrary& lib : kModuleLibraries)
	{
		AddOnLibraryInfo info{lib.name, LibraryFile(folder, lib.name).string(), CPLVNamespace(lib.ns)};
		ok = m_Libraries.Load(info) && ok;
	}
	for (const std::string& file : extraLibraries)
	{
		std::string name = std::filesystem::path(file).stem().string();
		if (name.rfind("lib", 0) == 0)
			name.erase(0, 3);
		ok = m_Libraries.Load({name, file, CPLVNamespace()}) && ok;
	}
	ok = m_Libraries.RegisterAll(m_pConnection.get()) && ok;
	for (const CString& error : m_Libraries.GetErrors())
		std::fprintf(stderr, "kvz: %s\n", error.GetString());
	return ok;
}
