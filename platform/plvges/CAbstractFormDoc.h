#pragma once
// Documents of the framework: an abstract document and the form document (a master record
// with its record buffers, edited in form modes and saved in transactions).
//
// A master document attaches its buffers and lookups in OnAttachData; the framework reads,
// browses and saves them. Saving (new or edit) prepares and checks the keys, then in one
// transaction of the document's context runs OnOkTransaction and writes the master record
// with every slave; a FALSE from a hook or an SqlException rolls back all of it and leaves the
// form in its mode with the user's data. A batch document (opened in a batch frame) has no
// modes: its parameters are edited freely and OnBatchExecute runs its procedure, opening its
// transaction with StartBatchTransaction and polling GetScheduler()->IsAborted() between items.
#include <memory>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvges/DBTObject.h"
#include "platform/plvges/HotKeyLink.h"

class ADMObj;
class CClientDoc;
class CClientDocArray;

// The user's abort of a long run, polled through the interaction interface; once aborted
// the run stays aborted until the next one starts.
class Scheduler
{
public:
	BOOL IsAborted();
	// Whether the run saw the abort (asks nobody).
	BOOL WasAborted() const { return m_bAborted; }
	void Abort() { m_bAborted = true; }
	void Reset() { m_bAborted = false; }

private:
	bool m_bAborted = false;
};

// Refusals of what the user did: a check that sent the focus back to a control, a save or run
// that did not succeed. A caller compares the count around an action that reports none itself
// (a button whose handler runs the save).
unsigned AfxGetRefusalCount();
void AfxNoteRefusal();

class CAbstractDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(CAbstractDoc, CBaseDocument)
public:
	// A batch document runs a procedure on its parameters instead of editing records.
	BOOL IsABatchDocument() const { return m_bBatch; }
	void SetBatchDocument(BOOL bBatch = TRUE) { m_bBatch = bBatch != FALSE; }
	BOOL IsRunningBatch() const { return m_bRunningBatch; }
	Scheduler* GetScheduler() { return &m_Scheduler; }
	// Progress of a long run, shown through the interaction interface.
	void SetProgressText(const CString& strText);

	// The document's error and warning go to its message list, shown at the end of the
	// user's action. Both return TRUE (the pattern "return !(bad && SetError(...))").
	BOOL SetError(const CString& strText);
	BOOL SetWarning(const CString& strText);

	// A batch stopped by the user says what it kept (the models finished, the rows written,
	// nothing); without it the platform says whether its transaction was committed.
	void SetKeptOnAbort(const CString& strText) { m_strKeptOnAbort = strText; }

protected:
	CString m_strKeptOnAbort;
	bool m_bBatch = false;
	bool m_bRunningBatch = false;
	bool m_bBatchNotStarted = false;
	Scheduler m_Scheduler;
};

class CAbstractFormDoc : public CAbstractDoc
{
	DECLARE_DYNAMIC(CAbstractFormDoc, CAbstractDoc)
public:
	CAbstractFormDoc();
	~CAbstractFormDoc() override;

	// ---- hooks ---------------------------------------------------------------------------
	// Creates and attaches the buffers and lookups; FALSE: the document does not open.
	virtual BOOL OnAttachData() { return TRUE; }
	// Document data beside the record, at opening and before each new record.
	virtual BOOL OnInitAuxData() { return TRUE; }
	// After a record was read, and on entering new-record or edit mode.
	virtual BOOL OnPrepareAuxData() { return TRUE; }
	// Inside the save's transaction, before the buffers are written: FALSE refuses the save.
	virtual BOOL OnOkTransaction() { return TRUE; }
	// Inside the delete's transaction, before the buffers are deleted: FALSE refuses it.
	virtual BOOL OnDeleteTransaction() { return TRUE; }
	virtual void OnGoInBrowseMode() {}
	// The procedure of a batch document.
	virtual void OnBatchExecute() {}
	// Field states of a batch document's parameters: at opening and after each run.
	virtual void DisableControlsForBatch() {}
	virtual BOOL CanDoDeleteRecord() { return TRUE; }
	virtual BOOL CanDoRadar() { return TRUE; }
	virtual BOOL CanDoReport() { return TRUE; }
	// The document's automation interface, when its class offers one.
	virtual ADMObj* GetADM();

	// Attaches the data, then shows the first state: batch parameters, or browse (the first
	// record with SetBrowseOnCreate, the only one with SetOnlyOneRecord, else none).
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	// The framework's close: a document whose override returns before calling it stays open.
	void OnCloseDocument() override;
	BOOL CloseDocument(BOOL bAsync = TRUE) override;
	// Before a user's close: changes of a record being edited are saved, discarded or kept open.
	BOOL SaveModified() override;

	// ---- data ----------------------------------------------------------------------------
	// Takes over the master buffer; FALSE for none.
	BOOL Attach(DBTMaster* pMaster);
	// Takes over a lookup; it reads on the document's sessions.
	BOOL Attach(HotKeyLink* pHotKeyLink, const CString& strName = CString());
	DBTMaster* GetMaster() const { return m_pMaster.get(); }
	HotKeyLink* GetHotLink(const CString& strName) const;
	CClientDocArray* GetClientDocs() const { return m_pClientDocs.get(); }
	// Whether client documents registered for a document name ride along with this one.
	BOOL HasClientDocToAttach(const CString& strDocName) const;
	// Whether the object is a field of the master record.
	BOOL IsMasterData(const DataObj* pData) const;

	// ---- form ----------------------------------------------------------------------------
	void SetFormTitle(const CString& strTitle) { m_strFormTitle = strTitle; }
	const CString& GetFormTitle() const { return m_strFormTitle; }
	// The form works on one record: no browsing, no search, a new record only when none exists.
	void SetOnlyOneRecord(BOOL b = TRUE) { m_bOnlyOneRecord = b != FALSE; }
	BOOL IsOnlyOneRecord() const { return m_bOnlyOneRecord; }
	void SetBrowseOnCreate(BOOL b = TRUE) { m_bBrowseOnCreate = b != FALSE; }
	// A check sends the user back to a control: the action being done was refused.
	void SetCtrlFocus(UINT nID);
	void SetCtrlFocus(const DataObj& data);
	UINT GetCtrlFocus() const { return m_nFocusID; }
	BOOL IsDataEditable(const DataObj* pData) const override;
	// Whether a record is shown (read, or being entered).
	BOOL HasRecord() const { return m_bHasRecord; }

	// ---- what the user does (the form driver and front ends call these) -------------------
	// FALSE when the command is not available in the current mode or did not succeed.
	BOOL NewRecord();
	BOOL EditRecord();
	BOOL EnterFindMode();
	// Saves the record being entered or edited; in find mode runs the search; a batch form is
	// confirmed (its run).
	BOOL SaveRecord();
	// Leaves new-record, edit or find mode, dropping what was typed.
	BOOL EscapeRecord();
	BOOL DeleteRecord();
	BOOL BrowseFirst() { return BrowseAt(BROWSE_FIRST); }
	BOOL BrowsePrev() { return BrowseAt(BROWSE_PREV); }
	BOOL BrowseNext() { return BrowseAt(BROWSE_NEXT); }
	BOOL BrowseLast() { return BrowseAt(BROWSE_LAST); }
	// Shows the record whose key the master record holds.
	BOOL BrowseRecord(BOOL bReserved = TRUE, int nReserved = 0);
	// A code a lookup of another document did not find, added here: a new record with the code
	// in the column of that name; its save gives the code to the control and closes this
	// document. FALSE when no new record could be started with it.
	BOOL StartAddOnFly(CParsedCtrl* pCtrl, const CString& strColumn, const DataObj& code);
	// Runs OnBatchExecute; the parameters are read-only meanwhile.
	BOOL BatchStart();
	// The framework's report command: the document's default report with the document as its
	// context. Refused, and said, when the document offers no report (CanDoReport) or has none.
	BOOL PrintReport();
	// The framework's browse list: the records of the master table, written as a report.
	// Refused, and said, when the document offers none (CanDoRadar) or has no master.
	BOOL ShowRadar();
	// Routes notifications to the client documents too.
	BOOL OnCmdMsg(UINT nID, UINT nCode) override;
	BOOL OnUpdateCmdUI(CCmdUI* pCmdUI) override;

protected:
	// Opens the document's transaction for a batch run, every other batch of the company kept
	// out until it ends; FALSE, with the user told why ("Non è possibile aprire una nuova
	// transazione.", or that another user's work holds the company), when none can be opened.
	BOOL StartBatchTransaction();
	BOOL IsCloseAccepted() const override { return m_bCloseAccepted; }

private:
	enum BrowseMove
	{
		BROWSE_FIRST,
		BROWSE_PREV,
		BROWSE_NEXT,
		BROWSE_LAST,
	};
	BOOL BrowseAt(BrowseMove move);
	BOOL SaveOrSearch();
	// Reads the record whose key the master record holds; shows it in browse mode.
	BOOL ShowRecord();
	void ShowNoRecord();
	void GoInBrowseMode();
	// Field states on entering a mode.
	void ResetFieldStates(FormMode mode);
	BOOL PrepareAux();
	// Shows the first failed check of the buffers; FALSE.
	BOOL ReportCheckFailure();
	// After a failed save: an edited record stays locked.
	void KeepEditLock(BOOL bNew);
	// TRUE when an abort was asked while a save or delete was written: its transaction is not to
	// be committed.
	BOOL StoppedBeforeCommit();
	// The row that failed its check becomes current, its field takes the focus.
	void FocusRowField(DBTSlaveBuffered* pRows);
	void LoadBrowseSet(BOOL bFind);

	std::unique_ptr<DBTMaster> m_pMaster;
	std::vector<std::pair<CString, std::unique_ptr<HotKeyLink>>> m_HotLinks;
	std::unique_ptr<CClientDocArray> m_pClientDocs;
	std::vector<std::unique_ptr<SqlRecord>> m_BrowseSet;  // the keys browsing walks
	int m_nBrowsePos = -1;
	bool m_bBrowseSetLoaded = false;
	std::unique_ptr<SqlRecord> m_pShownKey;  // the record shown before new-record or find mode
	CString m_strFormTitle;
	bool m_bOnlyOneRecord = false;
	bool m_bBrowseOnCreate = false;
	bool m_bHasRecord = false;
	bool m_bCloseAccepted = true;
	UINT m_nFocusID = 0;
	// The control that waits for the code added here, and its document.
	CParsedCtrl* m_pAddOnFlyCtrl = nullptr;
	CBaseDocument* m_pAddOnFlyCaller = nullptr;
	std::unique_ptr<DataObj> m_pAddOnFlyCode;
};
