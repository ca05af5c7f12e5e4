#include "platform/plvgenlib/CBaseApp.h"

#include <algorithm>

#include "platform/plvgenlib/LibraryEntry.h"

namespace {

const char* const kDefaultView = "Default";

CString ViewOrDefault(const CString& view)
{
	return view.IsEmpty() ? CString(kDefaultView) : view;
}

bool SameText(const CString& a, const CString& b)
{
	return a.CompareNoCase(b) == 0;
}

// "KvzNet.KvzMod.KvzDocuments.DBudget" -> "KvzMod.KvzDocuments.DBudget".
CString WithoutApplication(const CString& path)
{
	int dot = path.Find('.');
	return dot < 0 ? CString() : path.Mid(dot + 1);
}

// "KvzNet.KvzMod.KvzDocuments.DBudget" -> "KvzNet.KvzMod.KvzDocuments".
CString LibraryPath(const CString& path)
{
	int dot = path.ReverseFind('.');
	return dot < 0 ? CString() : path.Left(dot);
}

int SegmentCount(const CString& path)
{
	return path.IsEmpty() ? 0 : 1 + static_cast<int>(std::count(path.str().begin(), path.str().end(), '.'));
}

// Why a class cannot serve as the given part of a template; empty when it can.
CString ClassProblem(const char* what, CRuntimeClass* pClass, CRuntimeClass* pBase)
{
	if (!pClass)
		return CString::Formatted("the %s class is missing", what);
	if (!pClass->IsDerivedFrom(pBase))
		return CString::Formatted("the %s class %s is not a %s", what, pClass->m_lpszClassName, pBase->m_lpszClassName);
	if (!pClass->IsDynCreate())
		return CString::Formatted("the %s class %s cannot be created by name", what, pClass->m_lpszClassName);
	return CString();
}

}  // namespace

CSingleExtDocTemplate::CSingleExtDocTemplate(UINT nID, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
											 CRuntimeClass* pViewClass, const CPLVNamespace& nsDocument,
											 AddOnInterfaceObj* pAddOn, const CString& strLibrary,
											 const CString& strViewName)
	: m_nID(nID),
	  m_pDocClass(pDocClass),
	  m_pFrameClass(pFrameClass),
	  m_pViewClass(pViewClass),
	  m_Namespace(nsDocument),
	  m_pAddOn(pAddOn),
	  m_strLibrary(strLibrary),
	  m_strViewName(ViewOrDefault(strViewName))
{
}

CBaseApp::~CBaseApp() = default;

CSingleExtDocTemplate* CBaseApp::RegisterTemplate(UINT nID, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
												  CRuntimeClass* pViewClass, const CPLVNamespace& nsDocument,
												  AddOnInterfaceObj* pAddOn, const CString& strLibrary, int,
												  const CString& strViewName)
{
	const CString view = ViewOrDefault(strViewName);
	const CString path = nsDocument.GetPathName();
	CString reason = ClassProblem("document", pDocClass, CBaseDocument::GetThisClass());
	if (reason.IsEmpty())
		reason = ClassProblem("frame", pFrameClass, CBaseFrame::GetThisClass());
	if (reason.IsEmpty())
		reason = ClassProblem("view", pViewClass, CBaseView::GetThisClass());
	if (reason.IsEmpty() && (!nsDocument.IsValid() || nsDocument.GetObjectName(CPLVNamespace::DOCUMENT).IsEmpty()))
		reason = CString::Formatted("\"%s\" names no document", nsDocument.ToString().GetString());

	std::lock_guard lock(m_Mutex);
	if (reason.IsEmpty() && FindLocked(path, view))
		reason = "the namespace is already registered in this view";
	if (!reason.IsEmpty())
	{
		m_Errors.push_back({path, view, strLibrary, reason});
		return nullptr;
	}
	auto pTemplate = std::make_unique<CSingleExtDocTemplate>(nID, pDocClass, pFrameClass, pViewClass, nsDocument,
															 pAddOn, strLibrary, view);
	pTemplate->SetModuleInstance(AfxGetModuleOf(pDocClass));
	m_Templates.push_back(std::move(pTemplate));
	return m_Templates.back().get();
}

CSingleExtDocTemplate* CBaseApp::FindLocked(const CString& path, const CString& viewName) const
{
	for (auto& t : m_Templates)
		if (SameText(t->GetViewName(), viewName) && SameText(t->GetNamespace().GetPathName(), path))
			return t.get();
	return nullptr;
}

CSingleExtDocTemplate* CBaseApp::FindTemplate(const CString& strNamespace, const CString& strViewName) const
{
	const CPLVNamespace ns(strNamespace);
	if (!ns.IsValid())
		return nullptr;
	const CString path = ns.GetPathName();
	const CString view = ViewOrDefault(strViewName);

	std::lock_guard lock(m_Mutex);
	if (auto* p = FindLocked(path, view))
		return p;
	if (auto it = m_Aliases.find(CString(Utf8ToUpper(path.str()))); it != m_Aliases.end())
		if (auto* p = FindLocked(it->second, view))
			return p;
	const int segments = SegmentCount(path);
	for (auto& t : m_Templates)
	{
		if (!SameText(t->GetViewName(), view))
			continue;
		const CString tplPath = t->GetNamespace().GetPathName();
		// The hotlinks' form names the document without its application.
		if (segments == 3 && SameText(WithoutApplication(tplPath), path))
			return t.get();
		if (segments == 4 && SameText(LibraryPath(tplPath), LibraryPath(path)) &&
			CString(t->GetDocClass()->m_lpszClassName) == ns.GetObjectName(CPLVNamespace::DOCUMENT))
			return t.get();
	}
	return nullptr;
}

std::vector<CSingleExtDocTemplate*> CBaseApp::GetTemplates() const
{
	std::lock_guard lock(m_Mutex);
	std::vector<CSingleExtDocTemplate*> out;
	for (auto& t : m_Templates)
		out.push_back(t.get());
	return out;
}

std::vector<CSingleExtDocTemplate*> CBaseApp::GetTemplatesOf(const AddOnInterfaceObj* pAddOn) const
{
	std::lock_guard lock(m_Mutex);
	std::vector<CSingleExtDocTemplate*> out;
	for (auto& t : m_Templates)
		if (t->GetAddOn() == pAddOn)
			out.push_back(t.get());
	return out;
}

void CBaseApp::RegisterDocumentAlias(const CString& strAlias, const CString& strNamespace)
{
	const CString alias = CPLVNamespace(strAlias).GetPathName();
	std::lock_guard lock(m_Mutex);
	m_Aliases[CString(Utf8ToUpper(alias.str()))] = CPLVNamespace(strNamespace).GetPathName();
}

void CBaseApp::RemoveTemplates(const AddOnInterfaceObj* pAddOn)
{
	std::lock_guard lock(m_Mutex);
	std::erase_if(m_Templates, [&](auto& t) { return t->GetAddOn() == pAddOn; });
}

void CBaseApp::RemoveAllTemplates()
{
	std::lock_guard lock(m_Mutex);
	m_Templates.clear();
	m_Aliases.clear();
}

std::vector<TemplateRegistrationError> CBaseApp::GetRegistrationErrors() const
{
	std::lock_guard lock(m_Mutex);
	return m_Errors;
}

void CBaseApp::ClearRegistrationErrors()
{
	std::lock_guard lock(m_Mutex);
	m_Errors.clear();
}

CBaseApp* AfxGetBaseApp()
{
	static auto* app = new CBaseApp;  // outlives the libraries' static destructors
	return app;
}
