#include "Host.h"

#include "CliInteraction.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "ModuleLibraries.h"
#include "platform/erp/erpbasedbl/CompanyInfo.h"
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
	AfxSetReportRunner(nullptr);  // the renderer
}

bool KvzHost::SetReportOutput(const std::string& format, const std::string& folder, const std::string& database)
{
	const auto parsed = ParseReportFormat(CString(format));
	if (!format.empty() && !parsed)
	{
		std::fprintf(stderr, "kvz: --report-format %s: the form is pdf, xlsx or csv\n", format.c_str());
		return false;
	}
	std::filesystem::path dir = folder;
	if (dir.empty())
	{
		// A server database has no folder: the working folder takes its reports.
		const std::filesystem::path db = SqlConnection::IsServerTarget(database) ? std::filesystem::path("kvz") : std::filesystem::path(database);
		dir = db.parent_path() / (db.stem().string() + "-report");
	}
	std::error_code ec;
	if (std::filesystem::exists(dir, ec) && !std::filesystem::is_directory(dir, ec))
	{
		std::fprintf(stderr, "kvz: --report-dir %s is not a folder\n", dir.c_str());
		return false;
	}
	CReportRenderer* pRenderer = AfxGetReportRenderer();
	pRenderer->SetFormat(parsed);
	pRenderer->SetFolder(dir);
	pRenderer->SetListener([](const std::filesystem::path& file) {
		CliInteraction::ClearProgress();
		std::printf("Report written: %s\n", file.c_str());
		std::fflush(stdout);
	});
	return true;
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
					 plv::db::RedactSecrets(e.what(), path).c_str());
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
	// Reports head their pages with the company's name; the file's name when its data has none.
	const CString name = AfxGetCompanyInfo()->GetCompanyName();
	if (!name.IsEmpty())
		AfxGetLoginInfos()->m_strCompanyName = name;
	return ok;
}
