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

// The entry of a module library: on attach initialises the extension module (FALSE when that
// fails), joins the library to the chain and, when the command manager exists, registers the
// library's namespace with its module handle; on detach terminates the extension module.
// TRUE otherwise.
BOOL AfxExtensionLibraryMain(AFX_EXTENSION_MODULE& state, HMODULE hInstance, DWORD dwReason, LPCTSTR lpszNamespace);

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

class CBaseDocument;
class ADMObj;
class CRendoInfo;
class CRendoDoc;

// The framework's command manager: libraries register their namespace with it at load, and
// documents and exported functions open documents and start reports through it.
class CPlvCommandInterface
{
public:
	virtual ~CPlvCommandInterface() = default;

	virtual void RegisterLibraryNamespace(const CPLVNamespace& ns, HMODULE hModule) = 0;

	// Opens the document registered under a namespace in a view ("Default", "Unattended");
	// pCallerDocument becomes its calling document. The document, which the framework owns, or
	// null when none opened (the reason is shown).
	virtual CBaseDocument* RunDocument(LPCTSTR lpszNamespace, LPCTSTR lpszViewName = _T("Default"),
									   void* pUserData = nullptr, CBaseDocument* pCallerDocument = nullptr) = 0;

	// Opens a document that offers the automation interface named ("Kvz_ADMBudgetObj"): the
	// document of the namespace, or without one the first registered document whose class offers
	// it. Its interface, or null with nothing left open.
	virtual ADMObj* RunADMDocument(LPCTSTR lpszInterface, LPCTSTR lpszViewName = _T("Default"),
								   LPCTSTR lpszNamespace = nullptr, void* pUserData = nullptr,
								   CBaseDocument* pCallerDocument = nullptr) = 0;

	// Starts a report with a context document, taking over the report information; bWait runs
	// it to its end first. The report document, or null when the report could not start.
	virtual CRendoDoc* RunReport(CRendoInfo* pInfo, CBaseDocument* pContext, void* pReserved1 = nullptr,
								 void* pReserved2 = nullptr, BOOL bWait = TRUE) = 0;
	// Hands a report document back: the framework closes it once its run is over.
	virtual void ReleaseReport(CRendoDoc* pReport) = 0;

	// Whether an object is still a live framework object (a document may have been closed).
	virtual BOOL ExistDocument(const CObject* pObject) const = 0;
};

CPlvCommandInterface* AfxGetPlvCmdManager();
CPlvCommandInterface* AfxSetPlvCmdManager(CPlvCommandInterface* pManager);

// The address of something inside the calling library identifies it.
HMODULE AfxGetModuleOf(const void* pAddressInside);
// The library the calling code belongs to. Internal linkage on purpose: the address of an
// exported symbol (PlvLibraryMain) may resolve to the library that exported it first.
static inline HMODULE AfxGetThisModule()
{
	static const char anchor = 0;
	return AfxGetModuleOf(&anchor);
}

#define PLV_EXPORT extern "C" __attribute__((visibility("default")))
