#include "platform/plvgenlib/LibraryEntry.h"

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace {
std::atomic<CPlvCommandInterface*> g_pCmdManager{nullptr};
std::mutex g_ChainMutex;
std::vector<CDynLinkLibrary*>& Chain()
{
	static auto* chain = new std::vector<CDynLinkLibrary*>;
	return *chain;
}
}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
	if (state.bInitialized)
		return TRUE;
	state.hModule = hModule;
	state.bInitialized = TRUE;
	return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL)
{
	std::lock_guard lock(g_ChainMutex);
	auto& chain = Chain();
	for (auto it = chain.begin(); it != chain.end();)
	{
		if ((*it)->GetModule() == state.hModule)
		{
			CDynLinkLibrary* p = *it;
			it = chain.erase(it);
			delete p;
		}
		else
			++it;
	}
	state.bInitialized = FALSE;
}

BOOL AfxExtensionLibraryMain(AFX_EXTENSION_MODULE& state, HMODULE hInstance, DWORD dwReason, LPCTSTR lpszNamespace)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(state, hInstance))
			return FALSE;
		new CDynLinkLibrary(state);  // the chain owns it until AfxTermExtensionModule
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace(lpszNamespace), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(state);
	return TRUE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL) : m_hModule(state.hModule)
{
	std::lock_guard lock(g_ChainMutex);
	Chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() = default;

CPlvCommandInterface* AfxGetPlvCmdManager()
{
	return g_pCmdManager.load();
}

CPlvCommandInterface* AfxSetPlvCmdManager(CPlvCommandInterface* pManager)
{
	return g_pCmdManager.exchange(pManager);
}

HMODULE AfxGetModuleOf(const void* pAddressInside)
{
	Dl_info info{};
	if (!dladdr(pAddressInside, &info))
		return nullptr;
	return info.dli_fbase;
}
