#include "platform/plvgenlib/CommandManager.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>

#include "platform/plvgeneric/Interaction.h"

namespace {
std::atomic<IReportEngine*> g_pReportEngine{nullptr};

using OwnedObject = std::unique_ptr<CObject>;
}  // namespace

IReportEngine* AfxGetReportEngine()
{
	return g_pReportEngine.load();
}

IReportEngine* AfxSetReportEngine(IReportEngine* pEngine)
{
	return g_pReportEngine.exchange(pEngine);
}

CBaseDocument* AfxOpenDocumentFromClasses(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
										  CRuntimeClass* pViewClass, const CPLVNamespace& ns,
										  const DocInvocationInfo* pInfo, IDocumentOwner* pOwner)
{
	OwnedObject doc(pDocClass ? pDocClass->CreateObject() : nullptr);
	OwnedObject frame(pFrameClass ? pFrameClass->CreateObject() : nullptr);
	OwnedObject view(pViewClass ? pViewClass->CreateObject() : nullptr);
	auto* pDoc = DynamicDownCast<CBaseDocument>(doc.get());
	auto* pFrame = DynamicDownCast<CBaseFrame>(frame.get());
	auto* pView = DynamicDownCast<CBaseView>(view.get());
	if (!pDoc || !pFrame || !pView)
		return nullptr;
	pDoc->SetNamespace(ns);
	pDoc->AttachFrameAndView(pFrame, pView);
	if (!pDoc->OnOpenDocument(pInfo))
		return nullptr;
	pView->OnInitialUpdate();
	// Only an open document is closed through its owner; until then the three go together here.
	pDoc->SetOwner(pOwner);
	doc.release();
	frame.release();
	view.release();
	return pDoc;
}

CPlvCommandManager::CPlvCommandManager() = default;

CPlvCommandManager::~CPlvCommandManager()
{
	CloseAllDocuments();
	if (m_bInstalled && AfxGetPlvCmdManager() == this)
		AfxSetPlvCmdManager(nullptr);
}

void CPlvCommandManager::Install()
{
	AfxSetPlvCmdManager(this);
	m_bInstalled = true;
}

void CPlvCommandManager::RegisterLibraryNamespace(const CPLVNamespace& ns, HMODULE hModule)
{
	std::lock_guard lock(m_Mutex);
	for (auto& [libNs, hMod] : m_Libraries)
		if (libNs == ns)
		{
			hMod = hModule;
			return;
		}
	m_Libraries.emplace_back(ns, hModule);
}

CPLVNamespace CPlvCommandManager::GetLibraryNamespace(HMODULE hModule) const
{
	std::lock_guard lock(m_Mutex);
	for (auto& [ns, hMod] : m_Libraries)
		if (hMod == hModule)
			return ns;
	return CPLVNamespace();
}

HMODULE CPlvCommandManager::GetLibraryModule(const CPLVNamespace& ns) const
{
	std::lock_guard lock(m_Mutex);
	for (auto& [libNs, hMod] : m_Libraries)
		if (libNs == ns)
			return hMod;
	return nullptr;
}

std::vector<std::pair<CPLVNamespace, HMODULE>> CPlvCommandManager::GetLibraryNamespaces() const
{
	std::lock_guard lock(m_Mutex);
	return m_Libraries;
}

void CPlvCommandManager::Fail(const CString& message)
{
	{
		std::lock_guard lock(m_Mutex);
		m_strLastError = message;
	}
	AfxMessageBox(message, MB_OK | MB_ICONERROR);
}

CString CPlvCommandManager::GetLastError() const
{
	std::lock_guard lock(m_Mutex);
	return m_strLastError;
}

CBaseDocument* CPlvCommandManager::Open(const CSingleExtDocTemplate& tpl, void* pUserData, CBaseDocument* pCaller)
{
	DocInvocationInfo info;
	info.m_pCallerDocument = pCaller;
	info.m_strViewMode = tpl.GetViewName();
	info.m_pUserData = pUserData;
	const CString ns = tpl.GetNamespace().GetPathName();
	CBaseDocument* pDoc = nullptr;
	try
	{
		pDoc = m_pfnOpener(tpl.GetDocClass(), tpl.GetFrameClass(), tpl.GetViewClass(), tpl.GetNamespace(), &info, this);
	}
	catch (const std::exception& e)
	{
		Fail(CString::Formatted("The document %s could not be opened: %s", ns.GetString(), e.what()));
		return nullptr;
	}
	if (!pDoc)
	{
		Fail(CString::Formatted("The document %s did not open.", ns.GetString()));
		return nullptr;
	}
	std::lock_guard lock(m_Mutex);
	m_strLastError.Empty();
	m_OpenDocuments.push_back(pDoc);
	return pDoc;
}

CBaseDocument* CPlvCommandManager::RunDocument(LPCTSTR lpszNamespace, LPCTSTR lpszViewName, void* pUserData,
											   CBaseDocument* pCallerDocument)
{
	const CString ns = lpszNamespace ? lpszNamespace : "";
	const CString view = lpszViewName && *lpszViewName ? lpszViewName : "Default";
	CSingleExtDocTemplate* pTemplate = AfxGetBaseApp()->FindTemplate(ns, view);
	if (!pTemplate)
	{
		Fail(CString::Formatted("No document is registered as \"%s\" in the view \"%s\".", ns.GetString(),
								view.GetString()));
		return nullptr;
	}
	return Open(*pTemplate, pUserData, pCallerDocument);
}

bool CPlvCommandManager::Offers(const CSingleExtDocTemplate& tpl, LPCTSTR lpszInterface)
{
	const auto key = std::make_pair(static_cast<const CRuntimeClass*>(tpl.GetDocClass()), CString(lpszInterface));
	{
		std::lock_guard lock(m_Mutex);
		if (auto it = m_Offers.find(key); it != m_Offers.end())
			return it->second;
	}
	// A document that is only constructed answers for its class without opening.
	OwnedObject probe(tpl.GetDocClass()->CreateObject());
	auto* pDoc = DynamicDownCast<CBaseDocument>(probe.get());
	const bool offers = pDoc && m_pfnADMQuery(pDoc, lpszInterface) != nullptr;
	std::lock_guard lock(m_Mutex);
	m_Offers[key] = offers;
	return offers;
}

ADMObj* CPlvCommandManager::RunADMDocument(LPCTSTR lpszInterface, LPCTSTR lpszViewName, LPCTSTR lpszNamespace,
										   void* pUserData, CBaseDocument* pCallerDocument)
{
	const CString iface = lpszInterface ? lpszInterface : "";
	const CString view = lpszViewName && *lpszViewName ? lpszViewName : "Default";
	if (!m_pfnADMQuery)
	{
		Fail(CString::Formatted("No document can offer the interface %s: automation interfaces are not available.",
								iface.GetString()));
		return nullptr;
	}
	std::vector<CSingleExtDocTemplate*> candidates;
	if (lpszNamespace && *lpszNamespace)
	{
		if (CSingleExtDocTemplate* p = AfxGetBaseApp()->FindTemplate(lpszNamespace, view))
			candidates.push_back(p);
	}
	else
		for (CSingleExtDocTemplate* p : AfxGetBaseApp()->GetTemplates())
			if (p->GetViewName().CompareNoCase(view) == 0)
				candidates.push_back(p);

	for (CSingleExtDocTemplate* pTemplate : candidates)
	{
		if (!Offers(*pTemplate, iface))
			continue;
		CBaseDocument* pDoc = Open(*pTemplate, pUserData, pCallerDocument);
		if (!pDoc)
			return nullptr;
		if (ADMObj* pADM = m_pfnADMQuery(pDoc, iface))
			return pADM;
		pDoc->CloseDocument(FALSE);
		break;
	}
	CString where = lpszNamespace && *lpszNamespace ? CString::Formatted(" as \"%s\"", lpszNamespace) : CString();
	Fail(CString::Formatted("No document%s offers the interface %s in the view \"%s\".", where.GetString(),
							iface.GetString(), view.GetString()));
	return nullptr;
}

CRendoDoc* CPlvCommandManager::RunReport(CRendoInfo* pInfo, CBaseDocument* pContext, void*, void*, BOOL bWait)
{
	// The engine comes with the library that defines CRendoInfo: whoever has one has the engine.
	IReportEngine* pEngine = AfxGetReportEngine();
	if (!pInfo || !pEngine)
	{
		Fail(pInfo ? "No report engine is available." : "No report was given to run.");
		return nullptr;
	}
	CRendoDoc* pReport = pEngine->StartReport(pInfo, pContext, bWait);
	// The engine has told the user why; only the caller's question is answered here.
	std::lock_guard lock(m_Mutex);
	m_strLastError = pReport ? CString() : CString("The report did not run.");
	return pReport;
}

void CPlvCommandManager::ReleaseReport(CRendoDoc* pReport)
{
	if (IReportEngine* pEngine = AfxGetReportEngine(); pEngine && pReport)
		pEngine->EndReport(pReport);
}

BOOL CPlvCommandManager::ExistDocument(const CObject* pObject) const
{
	return AfxExistWebServiceStateObject(pObject);
}

std::vector<CBaseDocument*> CPlvCommandManager::GetOpenDocuments() const
{
	std::lock_guard lock(m_Mutex);
	return m_OpenDocuments;
}

void CPlvCommandManager::CloseAllDocuments()
{
	for (;;)
	{
		CBaseDocument* pDoc;
		{
			std::lock_guard lock(m_Mutex);
			if (m_OpenDocuments.empty())
				return;
			pDoc = m_OpenDocuments.back();  // children were opened after their callers
		}
		pDoc->CloseDocument(FALSE);
		// A document that refuses to close still goes with the framework.
		bool stillOpen;
		{
			std::lock_guard lock(m_Mutex);
			stillOpen = std::find(m_OpenDocuments.begin(), m_OpenDocuments.end(), pDoc) != m_OpenDocuments.end();
		}
		if (stillOpen)
			DestroyDocument(pDoc);
	}
}

void CPlvCommandManager::DestroyDocument(CBaseDocument* pDocument)
{
	{
		std::lock_guard lock(m_Mutex);
		auto it = std::find(m_OpenDocuments.begin(), m_OpenDocuments.end(), pDocument);
		if (it == m_OpenDocuments.end())
			return;
		m_OpenDocuments.erase(it);
	}
	CBaseView* pView = pDocument->GetFirstView();
	CBaseFrame* pFrame = pDocument->GetMasterFrame();
	delete pView;
	delete pFrame;
	delete pDocument;
}
