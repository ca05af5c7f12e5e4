#pragma once
// The root of every document, and what the framework's templates and command manager rely
// on to open, show and close one: its namespace, its frame and view, the open information
// with the calling document, its data-access context and message list.
#include <memory>

#include "platform/plvgenlib/CMessages.h"
#include "platform/plvnamesolver/CPLVNamespace.h"
#include "platform/plvoledb/SqlConnection.h"

class CBaseDocument;
class CBaseFrame;
class CBaseView;

// What the framework hands a document when it opens it.
struct DocInvocationInfo
{
	CBaseDocument* m_pCallerDocument = nullptr;
	CString m_strViewMode = "Default";
	void* m_pUserData = nullptr;
};

// Whoever created a document (a template, the command manager) destroys it on close.
class IDocumentOwner
{
public:
	virtual ~IDocumentOwner() = default;
	virtual void DestroyDocument(CBaseDocument* pDocument) = 0;
};

// A view shows a document; headless: it holds the form's controls, not windows.
class CBaseView : public CObject
{
	DECLARE_DYNAMIC(CBaseView, CObject)
public:
	CBaseDocument* GetDocument() const { return m_pDocument; }
	void SetDocument(CBaseDocument* pDocument) { m_pDocument = pDocument; }
	// After the document opened: the view builds and links its controls.
	virtual void OnInitialUpdate() {}

private:
	CBaseDocument* m_pDocument = nullptr;
};

// A frame holds a view; a disabled frame takes no input (a child document is open on it).
class CBaseFrame : public CObject
{
	DECLARE_DYNAMIC(CBaseFrame, CObject)
public:
	BOOL EnableWindow(BOOL bEnable = TRUE)
	{
		BOOL wasDisabled = !m_bEnabled;
		m_bEnabled = bEnable != FALSE;
		return wasDisabled;
	}
	BOOL IsWindowEnabled() const { return m_bEnabled; }
	CBaseView* GetActiveView() const { return m_pView; }
	void SetActiveView(CBaseView* pView) { m_pView = pView; }
	HWND GetSafeHwnd() const { return m_hWnd; }
	void SetHwnd(HWND hWnd) { m_hWnd = hWnd; }

private:
	bool m_bEnabled = true;
	CBaseView* m_pView = nullptr;
	HWND m_hWnd = nullptr;
};

class CBaseDocument : public CObject
{
	DECLARE_DYNAMIC(CBaseDocument, CObject)
public:
	CBaseDocument();
	~CBaseDocument() override;

	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	void SetNamespace(const CPLVNamespace& ns) { m_Namespace = ns; }

	// Called by the framework once the document, its frame and view exist. pInfo null: no open
	// information. FALSE: the document does not open and the framework destroys it.
	virtual BOOL OnOpenDocument(const DocInvocationInfo* pInfo);
	// Called by the framework before it destroys the document.
	virtual void OnCloseDocument() {}
	// Closes the document: OnCloseDocument, then its owner destroys it. The document must not
	// be used afterwards.
	virtual BOOL CloseDocument(BOOL bAsync = TRUE);
	virtual void Activate(CBaseView* pView = nullptr, BOOL bReserved = FALSE);

	CBaseDocument* GetCallerDocument() const { return m_pCallerDocument; }
	void AttachFrameAndView(CBaseFrame* pFrame, CBaseView* pView);
	CBaseFrame* GetMasterFrame() const { return m_pFrame; }
	CBaseView* GetFirstView() const { return m_pView; }
	void SetOwner(IDocumentOwner* pOwner) { m_pOwner = pOwner; }

	// The connection the document works on: the default one unless set.
	virtual SqlConnection* GetSqlConnection() const;
	void SetSqlConnection(SqlConnection* pConnection);
	// The document's transaction context and its sessions.
	CPLVContext* GetContext();
	SqlSession* GetReadOnlySqlSession() { return GetContext() ? GetContext()->GetReadOnlySqlSession() : nullptr; }
	SqlSession* GetUpdatableSqlSession() { return GetContext() ? GetContext()->GetUpdatableSqlSession() : nullptr; }

	CMessages* GetMessages() { return &m_Messages; }
	CMessages m_Messages;

protected:
	CBaseDocument* m_pCallerDocument = nullptr;

private:
	CPLVNamespace m_Namespace;
	CBaseFrame* m_pFrame = nullptr;
	CBaseView* m_pView = nullptr;
	IDocumentOwner* m_pOwner = nullptr;
	SqlConnection* m_pConnection = nullptr;
	std::unique_ptr<CPLVContext> m_pContext;
};

// Whether an object is a live document of the framework (it may have been closed meanwhile).
BOOL AfxExistWebServiceStateObject(const CObject* pObject);
