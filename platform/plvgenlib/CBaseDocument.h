#pragma once
// The root of every document, and what the framework's templates and command manager rely
// on to open, show and close one: its namespace, its frame and view, the open information
// with the calling document, its data-access context and message list.
#include <memory>

#include "platform/plvgenlib/CCmdTarget.h"
#include "platform/plvgenlib/CMessages.h"
#include "platform/plvgenlib/CParsedForm.h"
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
class CBaseView : public CParsedForm
{
	DECLARE_DYNAMIC(CBaseView, CParsedForm)
public:
	// After the document opened: the view builds and links its controls.
	virtual void OnInitialUpdate() { BuildForm(); }

	BOOL IsDataEditable(const DataObj* pData) const override;
	void OnCtrlChanged(CParsedCtrl* pCtrl) override;

protected:
	BOOL RoutesToDocument() const override { return TRUE; }
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

	// The frame's own toolbar: its commands reach the document by identifier. The hook runs
	// once, when the frame is created.
	virtual BOOL OnCreateAuxToolbar() { return TRUE; }
	struct ToolbarCommand
	{
		UINT nID;
		CString strCaption;
	};
	void AddToolbarCommand(UINT nID, const CString& strCaption) { m_Commands.push_back({nID, strCaption}); }
	const std::vector<ToolbarCommand>& GetToolbarCommands() const { return m_Commands; }

private:
	std::vector<ToolbarCommand> m_Commands;
	bool m_bEnabled = true;
	CBaseView* m_pView = nullptr;
	HWND m_hWnd = nullptr;
};

class CBaseDocument : public CCmdTarget
{
	DECLARE_DYNAMIC(CBaseDocument, CCmdTarget)
public:
	// The modes of a form: browsing records, entering a new one, editing the one shown,
	// typing the criteria of a search.
	enum FormMode
	{
		NONE = 0,
		BROWSE = 1,
		NEW = 2,
		EDIT = 3,
		FIND = 4,
	};

	CBaseDocument();
	~CBaseDocument() override;

	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	void SetNamespace(const CPLVNamespace& ns) { m_Namespace = ns; }

	// Called by the framework once the document, its frame and view exist. pInfo null: no open
	// information. FALSE: the document does not open and the framework destroys it.
	virtual BOOL OnOpenDocument(const DocInvocationInfo* pInfo);
	// Called by the framework before it destroys the document.
	virtual void OnCloseDocument() {}
	// Asked before a user's close: FALSE keeps the document open.
	virtual BOOL SaveModified() { return TRUE; }
	// Closes the document: OnCloseDocument, then its owner destroys it. The document must not
	// be used afterwards. Asked asynchronously during a user action (a handler closing its
	// own document), the close runs when the action ends, after SaveModified, as a posted
	// close would.
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
	// Adds a message to the list and shows the list.
	void Message(const CString& strText, int nType = CMessages::MSG_ERROR);

	virtual FormMode GetFormMode() const { return m_FormMode; }
	// MFC's document modified flag.
	void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified != FALSE; }
	BOOL IsModified() const { return m_bModified; }
	// Refreshes the views from the data.
	virtual void UpdateDataView();
	// Whether data may change now (pData null: the document's data in general).
	virtual BOOL IsDataEditable(const DataObj* pData) const { return !pData || !pData->IsReadOnly(); }
	// A handler whose work did not succeed (a button's save refused) makes the user's action
	// fail: the front end that drives the form reports it as refused.
	void SetActionRefused() { m_bActionRefused = true; }
	BOOL TakeActionRefused()
	{
		const bool b = m_bActionRefused;
		m_bActionRefused = false;
		return b;
	}

protected:
	void SetFormMode(FormMode mode) { m_FormMode = mode; }
	// Asked after OnCloseDocument: FALSE keeps the document open.
	virtual BOOL IsCloseAccepted() const { return TRUE; }
	CBaseDocument* m_pCallerDocument = nullptr;

private:
	FormMode m_FormMode = NONE;
	bool m_bModified = false;
	bool m_bActionRefused = false;
	CPLVNamespace m_Namespace;
	CBaseFrame* m_pFrame = nullptr;
	CBaseView* m_pView = nullptr;
	IDocumentOwner* m_pOwner = nullptr;
	SqlConnection* m_pConnection = nullptr;
	std::unique_ptr<CPLVContext> m_pContext;
};

// A user action in progress (the form driver's, a front end's): closes asked meanwhile run
// when the outermost action ends, then the document's gathered messages are shown.
class CUserActionScope
{
public:
	explicit CUserActionScope(CBaseDocument* pDocument = nullptr);
	~CUserActionScope();
	CUserActionScope(const CUserActionScope&) = delete;
	CUserActionScope& operator=(const CUserActionScope&) = delete;

private:
	CBaseDocument* m_pDocument;
};

// Whether an object is a live document of the framework (it may have been closed meanwhile).
BOOL AfxExistWebServiceStateObject(const CObject* pObject);
