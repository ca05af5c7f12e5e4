#pragma once
// The framework's command manager: opens documents from their templates and owns them until
// they close, starts reports, knows each library's namespace and module handle.
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"

// Opens a document from its classes: creates document, frame and view, attaches them, calls
// OnOpenDocument (FALSE: all three are destroyed, null) and then the view's OnInitialUpdate.
// The owner destroys the document when it closes.
using DocumentOpener = CBaseDocument* (*)(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
										  CRuntimeClass* pViewClass, const CPLVNamespace& ns,
										  const DocInvocationInfo* pInfo, IDocumentOwner* pOwner);
CBaseDocument* AfxOpenDocumentFromClasses(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
										  CRuntimeClass* pViewClass, const CPLVNamespace& ns,
										  const DocInvocationInfo* pInfo, IDocumentOwner* pOwner);

// The automation interface of that name that a document offers, or null. Answered by the
// documents layer, which knows ADMObj; the document may not be open yet.
using ADMInterfaceQuery = ADMObj* (*)(CBaseDocument* pDocument, LPCTSTR lpszInterface);

// The report engine the command manager starts reports with (the report viewer library).
class IReportEngine
{
public:
	virtual ~IReportEngine() = default;
	virtual CRendoDoc* StartReport(CRendoInfo* pInfo, CBaseDocument* pContext, BOOL bWait) = 0;
	virtual void EndReport(CRendoDoc* pReport) = 0;
};
IReportEngine* AfxGetReportEngine();
IReportEngine* AfxSetReportEngine(IReportEngine* pEngine);

class CPlvCommandManager : public CPlvCommandInterface, public IDocumentOwner
{
public:
	CPlvCommandManager();
	// Closes the documents still open and stops being the application's command manager.
	~CPlvCommandManager() override;
	CPlvCommandManager(const CPlvCommandManager&) = delete;
	CPlvCommandManager& operator=(const CPlvCommandManager&) = delete;

	// Becomes AfxGetPlvCmdManager() until destroyed.
	void Install();

	void RegisterLibraryNamespace(const CPLVNamespace& ns, HMODULE hModule) override;
	CBaseDocument* RunDocument(LPCTSTR lpszNamespace, LPCTSTR lpszViewName = _T("Default"), void* pUserData = nullptr,
							   CBaseDocument* pCallerDocument = nullptr) override;
	ADMObj* RunADMDocument(LPCTSTR lpszInterface, LPCTSTR lpszViewName = _T("Default"), LPCTSTR lpszNamespace = nullptr,
						   void* pUserData = nullptr, CBaseDocument* pCallerDocument = nullptr) override;
	CRendoDoc* RunReport(CRendoInfo* pInfo, CBaseDocument* pContext, void* pReserved1 = nullptr,
						 void* pReserved2 = nullptr, BOOL bWait = TRUE) override;
	void ReleaseReport(CRendoDoc* pReport) override;
	BOOL ExistDocument(const CObject* pObject) const override;

	// The namespace a library registered with its module handle (invalid when none), and back.
	CPLVNamespace GetLibraryNamespace(HMODULE hModule) const;
	HMODULE GetLibraryModule(const CPLVNamespace& ns) const;
	std::vector<std::pair<CPLVNamespace, HMODULE>> GetLibraryNamespaces() const;

	// Documents opened here and not yet closed, oldest first.
	std::vector<CBaseDocument*> GetOpenDocuments() const;
	void CloseAllDocuments();

	void SetDocumentOpener(DocumentOpener pfnOpener) { m_pfnOpener = pfnOpener ? pfnOpener : &AfxOpenDocumentFromClasses; }
	void SetADMInterfaceQuery(ADMInterfaceQuery pfnQuery) { m_pfnADMQuery = pfnQuery; }

	// Why the last run opened nothing; empty after a run that opened its document.
	CString GetLastError() const;

	// IDocumentOwner: a document opened here closed.
	void DestroyDocument(CBaseDocument* pDocument) override;

private:
	CBaseDocument* Open(const CSingleExtDocTemplate& tpl, void* pUserData, CBaseDocument* pCaller);
	bool Offers(const CSingleExtDocTemplate& tpl, LPCTSTR lpszInterface);
	void Fail(const CString& message);

	mutable std::mutex m_Mutex;  // guards the lists, never held while a document runs
	std::vector<std::pair<CPLVNamespace, HMODULE>> m_Libraries;
	std::vector<CBaseDocument*> m_OpenDocuments;
	std::map<std::pair<const CRuntimeClass*, CString>, bool> m_Offers;  // probed document class, interface
	DocumentOpener m_pfnOpener = &AfxOpenDocumentFromClasses;
	ADMInterfaceQuery m_pfnADMQuery = nullptr;
	CString m_strLastError;
	bool m_bInstalled = false;
};
