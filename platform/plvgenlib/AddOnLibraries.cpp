#include "platform/plvgenlib/AddOnLibraries.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <exception>
#include <map>
#include <mutex>
#include <set>

#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvoledb/SchemaCheck.h"
#include "platform/plvoledb/SqlConnection.h"

namespace {

using EntryFn = BOOL (*)(HMODULE, DWORD);
using AddOnFn = AddOnInterfaceObj* (*)();

std::mutex g_LoadersMutex;
std::vector<CAddOnLibraries*>& Loaders()
{
	static auto* loaders = new std::vector<CAddOnLibraries*>;
	return *loaders;
}

HMODULE ModuleOf(void* hHandle)
{
	link_map* lm = nullptr;
	if (dlinfo(hHandle, RTLD_DI_LINKMAP, &lm) != 0 || !lm)
		return nullptr;
	return AfxGetModuleOf(lm->l_ld);
}

// dlsym also searches the library's dependencies: only a symbol of the library itself counts.
void* OwnSymbol(void* hHandle, HMODULE hModule, const char* name)
{
	void* sym = dlsym(hHandle, name);
	return sym && AfxGetModuleOf(sym) == hModule ? sym : nullptr;
}

CString DlError()
{
	const char* e = dlerror();
	return e ? CString(e) : CString("unknown error");
}

}  // namespace

CAddOnLibraries::CAddOnLibraries()
{
	std::lock_guard lock(g_LoadersMutex);
	Loaders().push_back(this);
}

CAddOnLibraries::~CAddOnLibraries()
{
	Unload();
	std::lock_guard lock(g_LoadersMutex);
	std::erase(Loaders(), this);
}

void CAddOnLibraries::Report(const CString& name, const CString& what)
{
	m_Errors.push_back(name + ": " + what);
}

void CAddOnLibraries::Report(const Library& lib, const CString& what)
{
	Report(lib.info.name, what);
}

const CAddOnLibraries::Library* CAddOnLibraries::Find(const CString& name) const
{
	for (auto& lib : m_Libraries)
		if (lib->info.name.CompareNoCase(name) == 0)
			return lib.get();
	return nullptr;
}

BOOL CAddOnLibraries::Load(const AddOnLibraryInfo& info)
{
	if (Find(info.name))
	{
		Report(info.name, "the library is already loaded");
		return FALSE;
	}
	auto lib = std::make_unique<Library>();
	lib->info = info;
	lib->ns = info.ns;
	// Global: the libraries loaded later bind to this one's runtime classes, not to copies of their own.
	lib->hHandle = dlopen(info.path.GetString(), RTLD_NOW | RTLD_GLOBAL);
	if (!lib->hHandle)
	{
		Report(info.name, "the library cannot be loaded: " + DlError());
		return FALSE;
	}
	lib->hModule = ModuleOf(lib->hHandle);
	lib->pfnEntry = reinterpret_cast<EntryFn>(OwnSymbol(lib->hHandle, lib->hModule, "PlvLibraryMain"));
	if (lib->pfnEntry)
	{
		BOOL ok = FALSE;
		CString why = "its initialisation failed";
		try
		{
			ok = lib->pfnEntry(lib->hModule, DLL_PROCESS_ATTACH);
		}
		catch (const std::exception& e)
		{
			why += CString(": ") + e.what();
		}
		if (!ok)
		{
			Report(info.name, why);
			dlclose(lib->hHandle);
			return FALSE;
		}
	}
	// The namespace the library registered itself under wins over the host's.
	if (auto* pManager = dynamic_cast<CPlvCommandManager*>(AfxGetPlvCmdManager()))
		if (CPLVNamespace ns = pManager->GetLibraryNamespace(lib->hModule); ns.IsValid())
			lib->ns = ns;

	BOOL result = TRUE;
	if (auto pfnAddOn = reinterpret_cast<AddOnFn>(OwnSymbol(lib->hHandle, lib->hModule, "_VandrelAddOn_")))
	{
		lib->pAddOn.reset(pfnAddOn());
		if (!lib->pAddOn)
		{
			Report(info.name, "the library gave no add-on interface");
			result = FALSE;
		}
	}
	m_Libraries.push_back(std::move(lib));
	return result;
}

bool CAddOnLibraries::Register(Library& lib, UINT nID, SqlConnection* pConnection)
{
	AddOnInterfaceObj& aoi = *lib.pAddOn;
	const CPLVNamespace& ns = lib.ns;
	bool ok = true;
	const auto declaredBefore = AfxGetDeclaredFunctions();
	const auto templateErrorsBefore = AfxGetBaseApp()->GetRegistrationErrors().size();
	try
	{
		if (!aoi.AOI_InitDLL())
		{
			Report(lib, "its initialisation for the application failed");
			return false;
		}
		aoi.AOI_SetAddOnMod(ns);
		aoi.AOI_BeginRegistration();
		aoi.AOI_RegisterGlobalObjects();
		if (pConnection && !aoi.AOI_RegisterTables(pConnection, CString(), &ns))
		{
			Report(lib, "registering its tables failed");
			ok = false;
		}
		aoi.AOI_AddOnNewColumns();
		aoi.AOI_RegisterHotLinks(ns);
		aoi.AOI_RegisterTemplates(nID, &ns);
		aoi.AOI_RegisterFunctions(&ns);
		aoi.AOI_RegisterParsedControls();
		aoi.AOI_RegisterFormatters();
		aoi.AOI_RegisterOSLObjects();
		aoi.AOI_EndRegistration();
		if (int release = aoi.AOI_DatabaseRelease(); pConnection && pConnection->IsValid() && release > 0)
			pConnection->SetDatabaseRelease(lib.info.name, release);
	}
	catch (const std::exception& e)
	{
		Report(lib, CString("its registration failed: ") + e.what());
		ok = false;
	}

	const auto templateErrors = AfxGetBaseApp()->GetRegistrationErrors();
	for (size_t i = templateErrorsBefore; i < templateErrors.size(); ++i)
	{
		const auto& e = templateErrors[i];
		Report(lib, CString::Formatted("the template %s (view \"%s\") was not registered: %s", e.nsDocument.GetString(),
									   e.viewName.GetString(), e.reason.GetString()));
		ok = false;
	}
	const std::set<const FunctionDataInterface*> before(declaredBefore.begin(), declaredBefore.end());
	for (const FunctionDataInterface* p : AfxGetDeclaredFunctions())
		if (!before.count(p))
			lib.declared.push_back(p);
	return ok;
}

BOOL CAddOnLibraries::RegisterAll(SqlConnection* pConnection)
{
	BOOL all = TRUE;
	UINT nID = 0;
	const SqlSchemaCheck check(pConnection);
	for (auto& lib : m_Libraries)
	{
		++nID;
		if (!lib->pAddOn || lib->registered)
			continue;
		lib->registered = true;
		if (!Register(*lib, nID, pConnection))
			all = FALSE;
	}
	return all;
}

void CAddOnLibraries::Unload()
{
	if (m_Libraries.empty())
		return;
	// Their documents run the libraries' code.
	if (auto* pManager = dynamic_cast<CPlvCommandManager*>(AfxGetPlvCmdManager()))
		pManager->CloseAllDocuments();
	while (!m_Libraries.empty())
	{
		std::unique_ptr<Library> lib = std::move(m_Libraries.back());
		m_Libraries.pop_back();
		if (lib->pAddOn)
			AfxGetBaseApp()->RemoveTemplates(lib->pAddOn.get());
		for (const FunctionDataInterface* p : lib->declared)
			AfxRemoveDeclaredFunction(p);
		lib->pAddOn.reset();
		try
		{
			if (lib->pfnEntry)
				lib->pfnEntry(lib->hModule, DLL_PROCESS_DETACH);
		}
		catch (const std::exception& e)
		{
			Report(*lib, CString("its unload failed: ") + e.what());
		}
		dlclose(lib->hHandle);
	}
}

void CAddOnLibraries::AttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs)
{
	for (auto& lib : m_Libraries)
		if (lib->pAddOn)
		{
			lib->pAddOn->AOI_AttachClientDocs(pDocument, pClientDocs, lib->ns);
			lib->pAddOn->AOI_AttachFamilyClientDocs(pDocument, pClientDocs, lib->ns);
		}
}

void AfxAttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs)
{
	std::vector<CAddOnLibraries*> loaders;
	{
		std::lock_guard lock(g_LoadersMutex);
		loaders = Loaders();
	}
	// Not under the lock: a client document may open documents of its own.
	for (CAddOnLibraries* p : loaders)
		p->AttachClientDocs(pDocument, pClientDocs);
}

namespace {
std::mutex g_HostExportsMutex;
std::map<CString, void*>& HostExports()
{
	static auto* exports = new std::map<CString, void*>;
	return *exports;
}
}  // namespace

void* AfxFindExportedFunction(const CString& name)
{
	if (name.IsEmpty())
		return nullptr;
	{
		std::lock_guard lock(g_LoadersMutex);
		for (CAddOnLibraries* p : Loaders())
			for (auto& lib : p->GetLibraries())
				if (void* sym = OwnSymbol(lib->hHandle, lib->hModule, name.GetString()))
					return sym;
	}
	std::lock_guard lock(g_HostExportsMutex);
	auto it = HostExports().find(name);
	return it == HostExports().end() ? nullptr : it->second;
}

void AfxRegisterExportedFunction(const CString& name, void* pfn)
{
	std::lock_guard lock(g_HostExportsMutex);
	if (pfn)
		HostExports()[name] = pfn;
	else
		HostExports().erase(name);
}
