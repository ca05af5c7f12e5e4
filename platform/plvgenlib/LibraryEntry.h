#pragma once
// What a module library needs to be loaded by the host: its load notification, the
// extension-module state, and the command manager it registers its namespace with.
//
// The host dlopen()s a library, then calls its exported PlvLibraryMain with
// DLL_PROCESS_ATTACH (a FALSE answer fails the load: the host closes the library and says
// so), then its _VandrelAddOn_ when it exports one. Before dlclose() it calls
// PlvLibraryMain with DLL_PROCESS_DETACH. dlsym() also searches a library's dependencies,
// so the host checks with dladdr() that an entry found belongs to the library asked.
#include "platform/plvnamesolver/CPLVNamespace.h"

class AddOnInterfaceObj;

enum : DWORD
{
	DLL_PROCESS_DETACH = 0,
	DLL_PROCESS_ATTACH = 1,
	DLL_THREAD_ATTACH = 2,
	DLL_THREAD_DETACH = 3,
};

struct AFX_EXTENSION_MODULE
{
	BOOL bInitialized = FALSE;
	HMODULE hModule = nullptr;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Joins a library to the application's chain of extension libraries.
class CDynLinkLibrary : public CObject
{
	DECLARE_DYNAMIC(CDynLinkLibrary, CObject)
public:
	explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
	~CDynLinkLibrary() override;
	HMODULE GetModule() const { return m_hModule; }

private:
	HMODULE m_hModule;
};

// The framework's command manager, as libraries see it at load time.
class CPlvCommandInterface
{
public:
	virtual ~CPlvCommandInterface() = default;
	virtual void RegisterLibraryNamespace(const CPLVNamespace& ns, HMODULE hModule) = 0;
};

CPlvCommandInterface* AfxGetPlvCmdManager();
CPlvCommandInterface* AfxSetPlvCmdManager(CPlvCommandInterface* pManager);

// The address of something inside the calling library identifies it.
HMODULE AfxGetModuleOf(const void* pAddressInside);

#define PLV_EXPORT extern "C" __attribute__((visibility("default")))
