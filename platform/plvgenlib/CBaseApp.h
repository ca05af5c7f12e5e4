#pragma once
// Document templates: what the framework creates a document from when it is asked for one
// by namespace and view name. Libraries register theirs from AOI_RegisterTemplates:
//
//     CPLVNamespace nsDoc = *pNamespace;
//     nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, _T("DBudget"), TRUE, FALSE);
//     CSingleExtDocTemplate* pTemplate = AfxGetBaseApp()->RegisterTemplate(
//         nID, RUNTIME_CLASS(Kvz_CBudgetDoc), RUNTIME_CLASS(CMasterFrame), RUNTIME_CLASS(Kvz_CBudgetView),
//         nsDoc, this, pNamespace->GetObjectName(CPLVNamespace::LIBRARY), 0, _T("Default"));
//     ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "KvzDocumentsInterfce");
//     if (pTemplate)
//         pTemplate->SetModuleInstance(AfxGetThisModule());
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"

class AddOnInterfaceObj;

class CSingleExtDocTemplate : public CObject
{
	DECLARE_DYNAMIC(CSingleExtDocTemplate, CObject)
public:
	CSingleExtDocTemplate(UINT nID, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
						  const CPLVNamespace& nsDocument, AddOnInterfaceObj* pAddOn, const CString& strLibrary,
						  const CString& strViewName);

	UINT GetID() const { return m_nID; }
	CRuntimeClass* GetDocClass() const { return m_pDocClass; }
	CRuntimeClass* GetFrameClass() const { return m_pFrameClass; }
	CRuntimeClass* GetViewClass() const { return m_pViewClass; }
	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	AddOnInterfaceObj* GetAddOn() const { return m_pAddOn; }
	const CString& GetLibraryName() const { return m_strLibrary; }
	const CString& GetViewName() const { return m_strViewName; }

	// The library that holds the template: its dialogs and strings come from there.
	HMODULE GetModuleInstance() const { return m_hInstance; }
	void SetModuleInstance(HMODULE hInstance) { m_hInstance = hInstance; }

private:
	UINT m_nID;
	CRuntimeClass* m_pDocClass;
	CRuntimeClass* m_pFrameClass;
	CRuntimeClass* m_pViewClass;
	CPLVNamespace m_Namespace;
	AddOnInterfaceObj* m_pAddOn;
	CString m_strLibrary;
	CString m_strViewName;
	HMODULE m_hInstance = nullptr;
};

// A template registration the framework refused, and why.
struct TemplateRegistrationError
{
	CString nsDocument;
	CString viewName;
	CString library;
	CString reason;
};

class CBaseApp : public CObject
{
	DECLARE_DYNAMIC(CBaseApp, CObject)
public:
	CBaseApp() = default;
	~CBaseApp() override;

	// Registers a document class with its frame and view under a document namespace and a view
	// name (empty: "Default"). Null, with the reason kept (GetRegistrationErrors), when a class is
	// missing, is not of its kind or cannot be created by name, when the namespace names no
	// document, or when the namespace is already registered in that view. The template's module
	// instance starts as the library holding the document class.
	CSingleExtDocTemplate* RegisterTemplate(UINT nID, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
											CRuntimeClass* pViewClass, const CPLVNamespace& nsDocument,
											AddOnInterfaceObj* pAddOn, const CString& strLibrary, int nReserved,
											const CString& strViewName);

	// The template that opens a document namespace in a view. Besides the registered namespace
	// ("KvzNet.KvzMod.KvzDocuments.DBudget", also typed "Document.…") it accepts the form without
	// the application that hotlinks use ("KvzMod.KvzDocuments.DBudget"), an alias, and the
	// library's namespace followed by the document's class name instead of the template name.
	CSingleExtDocTemplate* FindTemplate(const CString& strNamespace, const CString& strViewName = _T("Default")) const;
	// Every template, in the order of registration.
	std::vector<CSingleExtDocTemplate*> GetTemplates() const;
	std::vector<CSingleExtDocTemplate*> GetTemplatesOf(const AddOnInterfaceObj* pAddOn) const;

	// A further name under which a registered document namespace is found.
	void RegisterDocumentAlias(const CString& strAlias, const CString& strNamespace);

	// Before a library goes: its templates hold its classes.
	void RemoveTemplates(const AddOnInterfaceObj* pAddOn);
	void RemoveAllTemplates();

	std::vector<TemplateRegistrationError> GetRegistrationErrors() const;
	void ClearRegistrationErrors();

private:
	CSingleExtDocTemplate* FindLocked(const CString& path, const CString& viewName) const;

	mutable std::mutex m_Mutex;
	std::vector<std::unique_ptr<CSingleExtDocTemplate>> m_Templates;
	std::map<CString, CString> m_Aliases;  // upper-case alias path -> namespace path
	std::vector<TemplateRegistrationError> m_Errors;
};

CBaseApp* AfxGetBaseApp();
