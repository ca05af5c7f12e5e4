#include "platform/plvges/CAbstractFormDoc.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/ADMObj.h"
#include "platform/plvges/CBodyEdit.h"
#include "platform/plvges/CClientDoc.h"
#include "platform/plvges/DBTObject.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace {
const char* const kSource = "CAbstractFormDoc";
const char* const kNoTransaction = _TB("Non è possibile aprire una nuova transazione.");
const char* const kCompanyBusy = _TB("L'azienda è occupata da un'elaborazione in corso di un altro utente: nessuna "
									 "modifica registrata, riprovare al suo termine.");
const char* const kSaveChanges = _TB("Il documento è stato modificato. Salvare le modifiche?");
const char* const kLocked = _TB("Il documento è in uso da un altro utente.");
const char* const kNotFound = _TB("Nessun documento trovato.");
const char* const kStoppedKept =
	_TB("Elaborazione interrotta su richiesta utente: quanto elaborato prima dell'interruzione è stato salvato.");
const char* const kStoppedNothingKept = _TB("Elaborazione interrotta su richiesta utente: nessuna modifica salvata.");
}  // namespace

// ---- Scheduler, CAbstractDoc -------------------------------------------------------------------

BOOL Scheduler::IsAborted()
{
	if (!m_bAborted && AfxIsAbortRequested())
		m_bAborted = true;
	return m_bAborted;
}

void CAbstractDoc::SetProgressText(const CString& strText)
{
	AfxSetProgressText(strText);
}

BOOL CAbstractDoc::SetError(const CString& strText)
{
	m_Messages.Add(strText, CMessages::MSG_ERROR);
	return TRUE;
}

BOOL CAbstractDoc::SetWarning(const CString& strText)
{
	m_Messages.Add(strText, CMessages::MSG_WARNING);
	return TRUE;
}

// ---- CAbstractFormDoc: data --------------------------------------------------------------------

CAbstractFormDoc::CAbstractFormDoc() : m_pClientDocs(std::make_unique<CClientDocArray>(this)) {}

CAbstractFormDoc::~CAbstractFormDoc()
{
	// Client documents refer to the buffers and lookups: they go first.
	m_pClientDocs.reset();
	m_pMaster.reset();
	m_HotLinks.clear();
}

ADMObj* CAbstractFormDoc::GetADM()
{
	return dynamic_cast<ADMObj*>(this);
}

BOOL CAbstractFormDoc::Attach(DBTMaster* pMaster)
{
	if (!pMaster)
		return FALSE;
	m_pMaster.reset(pMaster);
	return TRUE;
}

BOOL CAbstractFormDoc::Attach(HotKeyLink* pHotKeyLink, const CString& strName)
{
	if (!pHotKeyLink)
		return FALSE;
	pHotKeyLink->AttachDocument(this);
	m_HotLinks.emplace_back(strName, pHotKeyLink);
	return TRUE;
}

HotKeyLink* CAbstractFormDoc::GetHotLink(const CString& strName) const
{
	for (auto& [name, p] : m_HotLinks)
		if (name == strName)
			return p.get();
	return nullptr;
}

BOOL CAbstractFormDoc::HasClientDocToAttach(const CString& strDocName) const
{
	return GetNamespace().GetObjectName(CPLVNamespace::DOCUMENT).CompareNoCase(strDocName) == 0;
}

BOOL CAbstractFormDoc::IsMasterData(const DataObj* pData) const
{
	SqlRecord* pRec = m_pMaster ? m_pMaster->GetRecord() : nullptr;
	for (int i = 0; pRec && pData && i < pRec->GetSize(); ++i)
		if (pRec->GetDataObjAt(i) == pData)
			return TRUE;
	return FALSE;
}

namespace {
std::atomic<unsigned> g_nRefusals{0};
}

unsigned AfxGetRefusalCount()
{
	return g_nRefusals.load();
}

void AfxNoteRefusal()
{
	++g_nRefusals;
}

void CAbstractFormDoc::SetCtrlFocus(UINT nID)
{
	m_nFocusID = nID;
	AfxNoteRefusal();
}

void CAbstractFormDoc::SetCtrlFocus(const DataObj& data)
{
	CParsedCtrl* pCtrl = GetFirstView() ? GetFirstView()->GetLinkedParsedCtrl(&data) : nullptr;
	SetCtrlFocus(pCtrl ? pCtrl->GetCtrlID() : 0);
}

BOOL CAbstractFormDoc::IsDataEditable(const DataObj* pData) const
{
	if (m_bRunningBatch)
		return FALSE;
	if (m_bBatch)
		return !pData || !pData->IsReadOnly();
	switch (GetFormMode())
	{
	case NEW:
	case EDIT: return !pData || !pData->IsReadOnly();
	case FIND: return IsMasterData(pData) && pData->IsFindable();
	default: return FALSE;
	}
}

BOOL CAbstractFormDoc::OnCmdMsg(UINT nID, UINT nCode)
{
	BOOL bHandled = CAbstractDoc::OnCmdMsg(nID, nCode);
	for (auto& pClient : *m_pClientDocs)
		bHandled = pClient->OnCmdMsg(nID, nCode) || bHandled;
	return bHandled;
}

BOOL CAbstractFormDoc::OnUpdateCmdUI(CCmdUI* pCmdUI)
{
	BOOL bHandled = CAbstractDoc::OnUpdateCmdUI(pCmdUI);
	for (auto& pClient : *m_pClientDocs)
		bHandled = pClient->OnUpdateCmdUI(pCmdUI) || bHandled;
	return bHandled;
}

// ---- opening and closing -------------------------------------------------------------------------

BOOL CAbstractFormDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!CAbstractDoc::OnOpenDocument(pInfo) || !OnAttachData())
		return FALSE;
	for (auto& pClient : *m_pClientDocs)
		if (!pClient->OnAttachData())
			return FALSE;
	try
	{
		OnInitAuxData();
		for (auto& pClient : *m_pClientDocs)
			pClient->OnInitAuxData();
		if (m_bBatch)
		{
			SetFormMode(EDIT);
			PrepareAux();
			DisableControlsForBatch();
			SetModifiedFlag(FALSE);
			return TRUE;
		}
		if (m_pMaster && !m_bOnlyOneRecord && m_bBrowseOnCreate && BrowseAt(BROWSE_FIRST))
			return TRUE;
		ShowNoRecord();
		if (m_pMaster && m_bOnlyOneRecord)
		{
			// The record is the first the browse query lists, whatever the master's query asks.
			std::vector<std::unique_ptr<SqlRecord>> records = m_pMaster->Search(FALSE);
			if (!records.empty())
			{
				*m_pMaster->GetRecord() = *records.front();
				ShowRecord();
			}
		}
		GoInBrowseMode();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
		return FALSE;
	}
	return TRUE;
}

void CAbstractFormDoc::OnCloseDocument()
{
	m_bCloseAccepted = true;
	if (m_pMaster)
		m_pMaster->Unlock();
	if (ADMObj* pADM = GetADM())
		pADM->ADMDispose();
	CAbstractDoc::OnCloseDocument();
}

BOOL CAbstractFormDoc::CloseDocument(BOOL bAsync)
{
	m_bCloseAccepted = false;
	return CAbstractDoc::CloseDocument(bAsync);
}

BOOL CAbstractFormDoc::SaveModified()
{
	if (m_bBatch || (GetFormMode() != NEW && GetFormMode() != EDIT) || !IsModified())
		return TRUE;
	switch (AfxMessageBox(kSaveChanges, MB_YESNOCANCEL | MB_ICONQUESTION))
	{
	case IDCANCEL: return FALSE;
	case IDYES: return SaveRecord();
	default: return TRUE;
	}
}

// ---- modes ---------------------------------------------------------------------------------------

BOOL CAbstractFormDoc::PrepareAux()
{
	BOOL bOk = OnPrepareAuxData();
	for (auto& pClient : *m_pClientDocs)
		bOk = pClient->OnPrepareAuxData() && bOk;
	// The pages shown prepare theirs after the document's.
	if (CBaseView* pView = GetFirstView())
		for (CParsedCtrl* pCtrl : pView->GetAllControls())
			if (auto* pTabs = DynamicDownCast<CTabManager>(pCtrl))
				bOk = pTabs->PrepareActiveTab() && bOk;
	return bOk;
}

void CAbstractFormDoc::ResetFieldStates(FormMode mode)
{
	if (!m_pMaster)
		return;
	for (SqlRecord* pRec : m_pMaster->GetRecords())
		for (int i = 0; i < pRec->GetSize(); ++i)
			if (mode == FIND)
				pRec->GetDataObjAt(i)->SetFindable(FALSE);
			else
				pRec->GetDataObjAt(i)->SetReadOnly(FALSE);
	std::vector<DBTObject*> buffers{m_pMaster.get()};
	for (int i = 0; i < m_pMaster->GetSlaveCount(); ++i)
		buffers.push_back(m_pMaster->GetSlave(i));
	for (DBTObject* p : buffers)
		switch (mode)
		{
		case FIND: p->OnEnableControlsForFind(); break;
		case EDIT: p->OnDisableControlsForEdit(); break;
		case NEW: p->OnDisableControlsForAddNew(); break;
		default: break;
		}
}

BOOL CAbstractFormDoc::ShowRecord()
{
	if (!m_pMaster->Read())
	{
		ShowNoRecord();
		return FALSE;
	}
	m_bHasRecord = true;
	SetFormMode(BROWSE);
	PrepareAux();
	return TRUE;
}

void CAbstractFormDoc::ShowNoRecord()
{
	if (m_pMaster)
	{
		m_pMaster->Unlock();
		m_pMaster->Init();
	}
	m_bHasRecord = false;
	SetFormMode(BROWSE);
}

void CAbstractFormDoc::GoInBrowseMode()
{
	SetFormMode(BROWSE);
	SetModifiedFlag(FALSE);
	if (m_pMaster)
		m_pMaster->Unlock();
	OnGoInBrowseMode();
	for (auto& pClient : *m_pClientDocs)
		pClient->OnGoInBrowseMode();
	if (ADMObj* pADM = GetADM())
		pADM->ADMOnGoInBrowseMode();
}

BOOL CAbstractFormDoc::NewRecord()
{
	if (m_bBatch || !m_pMaster || GetFormMode() != BROWSE || (m_bOnlyOneRecord && m_bHasRecord))
		return FALSE;
	m_pShownKey.reset(m_bHasRecord ? m_pMaster->GetRecord()->Clone() : nullptr);
	m_pMaster->Unlock();
	m_pMaster->Init();
	m_bHasRecord = true;
	SetFormMode(NEW);
	ResetFieldStates(NEW);
	SetModifiedFlag(FALSE);
	OnInitAuxData();
	for (auto& pClient : *m_pClientDocs)
		pClient->OnInitAuxData();
	PrepareAux();
	return TRUE;
}

BOOL CAbstractFormDoc::EditRecord()
{
	if (m_bBatch || !m_pMaster || GetFormMode() != BROWSE || !m_bHasRecord)
		return FALSE;
	// Editing starts from what is stored now.
	if (!m_pMaster->Read())
	{
		ShowNoRecord();
		AfxMessageBox(kNotFound, MB_OK | MB_ICONERROR);
		return FALSE;
	}
	if (!m_pMaster->Lock())
	{
		AfxMessageBox(kLocked, MB_OK | MB_ICONERROR);
		PrepareAux();
		return FALSE;
	}
	SetFormMode(EDIT);
	ResetFieldStates(EDIT);
	SetModifiedFlag(FALSE);
	PrepareAux();
	return TRUE;
}

BOOL CAbstractFormDoc::EnterFindMode()
{
	if (m_bBatch || !m_pMaster || GetFormMode() != BROWSE || m_bOnlyOneRecord)
		return FALSE;
	m_pShownKey.reset(m_bHasRecord ? m_pMaster->GetRecord()->Clone() : nullptr);
	m_pMaster->Unlock();
	m_pMaster->Init();
	// Only what the user types filters: an enumeration starts without an item too.
	SqlRecord* pRec = m_pMaster->GetRecord();
	for (int i = 0; i < pRec->GetSize(); ++i)
		if (auto* pEnum = DynamicDownCast<DataEnum>(pRec->GetDataObjAt(i)))
			pEnum->SetEmpty();
	m_bHasRecord = false;
	SetFormMode(FIND);
	ResetFieldStates(FIND);
	return TRUE;
}

BOOL CAbstractFormDoc::EscapeRecord()
{
	FormMode mode = GetFormMode();
	if (m_bBatch || !m_pMaster || (mode != NEW && mode != EDIT && mode != FIND))
		return FALSE;
	m_pMaster->Unlock();
	if (mode == EDIT && m_pMaster->m_pOldRecord)
		*m_pMaster->GetRecord() = *m_pMaster->m_pOldRecord;
	else if (m_pShownKey)
		*m_pMaster->GetRecord() = *m_pShownKey;
	if (mode == EDIT || m_pShownKey)
		ShowRecord();
	else
		ShowNoRecord();
	m_pShownKey.reset();
	// Leaving a search: browsing walks every record again.
	if (mode == FIND)
		m_bBrowseSetLoaded = false;
	GoInBrowseMode();
	return TRUE;
}

void CAbstractFormDoc::FocusRowField(DBTSlaveBuffered* pRows)
{
	pRows->SetCurrentRow(pRows->GetErrorRow());
	SqlRecord* pRow = pRows->GetCurrentRow();
	CBaseView* pView = GetFirstView();
	if (!pRow || !pRows->GetErrorField() || !pView)
		return;
	// The grid of the buffer, and its column on the field to correct.
	for (CParsedCtrl* pCtrl : pView->GetAllControls())
		if (auto* pBody = DynamicDownCast<CBodyEdit>(pCtrl); pBody && pBody->GetDBT() == pRows)
		{
			pBody->SetCurrRecord(pRows->GetErrorRow());
			for (int i = 0; i < pBody->GetColumnCount(); ++i)
				if (pRow->GetDataObjAt(pBody->GetColumn(i)->GetFieldIndex()) == pRows->GetErrorField())
					m_nFocusID = pBody->GetColumn(i)->GetCtrlID();
		}
}

BOOL CAbstractFormDoc::ReportCheckFailure()
{
	CString strError = m_pMaster->GetError();
	for (int i = 0; strError.IsEmpty() && i < m_pMaster->GetSlaveCount(); ++i)
	{
		DBTSlave* pSlave = m_pMaster->GetSlave(i);
		strError = pSlave->GetError();
		auto* pRows = DynamicDownCast<DBTSlaveBuffered>(pSlave);
		if (pRows && pRows->GetErrorRow() >= 0)
			FocusRowField(pRows);
	}
	// A check that failed without an error has told the user itself.
	if (!strError.IsEmpty())
		SetError(strError);
	return FALSE;
}

void CAbstractFormDoc::KeepEditLock(BOOL bNew)
{
	// The rollback let every lock of the context go; the record is still being edited.
	if (!bNew)
		m_pMaster->Lock();
}

BOOL CAbstractFormDoc::StoppedBeforeCommit()
{
	// The person asked to stop (Ctrl-C) while the record was written: the save is undone whole,
	// as a batch that stops before its commit, and says so.
	if (!AfxIsAbortRequested())
		return FALSE;
	AfxSayWhatWasKept(kStoppedNothingKept);
	return TRUE;
}

BOOL CAbstractFormDoc::SaveRecord()
{
	const BOOL bSaved = SaveOrSearch();
	if (!bSaved)
		AfxNoteRefusal();
	return bSaved;
}

BOOL CAbstractFormDoc::SaveOrSearch()
{
	FormMode mode = GetFormMode();
	if (mode == FIND && !m_bBatch)
	{
		LoadBrowseSet(TRUE);
		if (m_BrowseSet.empty())
		{
			AfxMessageBox(kNotFound, MB_OK | MB_ICONINFORMATION);
			return FALSE;
		}
		return BrowseAt(BROWSE_FIRST);
	}
	// A batch form has no record to write: saving confirms it, as its OK button does.
	if (m_bBatch)
		return BatchStart();
	if (!m_pMaster || (mode != NEW && mode != EDIT))
		return FALSE;
	BOOL bNew = mode == NEW;
	if (!m_pMaster->PrepareAndCheck(bNew))
		return ReportCheckFailure();
	CPLVContext* pContext = GetContext();
	if (!pContext || !pContext->StartTransaction())
	{
		Message(kNoTransaction);
		return FALSE;
	}
	BOOL bSaved = FALSE;
	try
	{
		bSaved = OnOkTransaction();
		for (auto& pClient : *m_pClientDocs)
			bSaved = bSaved && pClient->OnOkTransaction();
		for (auto& pClient : *m_pClientDocs)
			bSaved = bSaved && pClient->OnAfterOkTransaction();
		if (bSaved)
		{
			m_pMaster->Write(bNew);
			bSaved = !StoppedBeforeCommit() && pContext->Commit();
		}
	}
	catch (const SqlException& e)
	{
		pContext->Rollback();
		KeepEditLock(bNew);
		e.ShowError();
		return FALSE;
	}
	catch (...)
	{
		pContext->Rollback();
		KeepEditLock(bNew);
		throw;
	}
	if (!bSaved)
	{
		pContext->Rollback();
		KeepEditLock(bNew);
		return FALSE;
	}
	m_bBrowseSetLoaded = false;  // a new record joins the records browsed
	m_pShownKey.reset();
	ShowRecord();
	if (ADMObj* pADM = GetADM())
		pADM->ADMOnSaveDocument();
	GoInBrowseMode();
	if (bNew && m_pAddOnFlyCtrl)
	{
		// The code added goes to the control that asked for it, and this document's work is done.
		CParsedCtrl* pCtrl = m_pAddOnFlyCtrl;
		CBaseDocument* pCaller = m_pAddOnFlyCaller;
		const CString code = m_pAddOnFlyCode->FormatData();
		m_pAddOnFlyCtrl = nullptr;
		m_pAddOnFlyCaller = nullptr;
		if (AfxExistWebServiceStateObject(pCaller))
		{
			CUserActionScope scope(pCaller);
			pCtrl->UserInput(code);
		}
		CloseDocument(TRUE);
	}
	return TRUE;
}

BOOL CAbstractFormDoc::StartAddOnFly(CParsedCtrl* pCtrl, const CString& strColumn, const DataObj& code)
{
	DataObj* pField = m_pMaster ? m_pMaster->GetRecord()->GetDataObjFromColumnName(strColumn) : nullptr;
	if (!pField || !NewRecord())
		return FALSE;
	pField->Assign(code);
	m_pAddOnFlyCtrl = pCtrl;
	m_pAddOnFlyCaller = pCtrl->GetForm()->GetDocument();
	m_pAddOnFlyCode.reset(pField->Clone());
	UpdateDataView();
	return TRUE;
}

BOOL CAbstractFormDoc::DeleteRecord()
{
	if (m_bBatch || !m_pMaster || GetFormMode() != BROWSE || !m_bHasRecord || !CanDoDeleteRecord())
		return FALSE;
	if (!m_pMaster->Lock())
	{
		AfxMessageBox(kLocked, MB_OK | MB_ICONERROR);
		return FALSE;
	}
	// What goes is what is stored now: rows saved elsewhere since the record was read go too.
	if (!m_pMaster->Read())
	{
		ShowNoRecord();
		AfxMessageBox(kNotFound, MB_OK | MB_ICONERROR);
		return FALSE;
	}
	CPLVContext* pContext = GetContext();
	if (!pContext || !pContext->StartTransaction())
	{
		m_pMaster->Unlock();
		Message(kNoTransaction);
		return FALSE;
	}
	BOOL bDeleted = FALSE;
	try
	{
		bDeleted = OnDeleteTransaction();
		for (auto& pClient : *m_pClientDocs)
			bDeleted = bDeleted && pClient->OnDeleteTransaction();
		if (bDeleted)
		{
			m_pMaster->Delete();
			bDeleted = !StoppedBeforeCommit() && pContext->Commit();
		}
	}
	catch (const SqlException& e)
	{
		pContext->Rollback();
		m_pMaster->Unlock();
		e.ShowError();
		return FALSE;
	}
	catch (...)
	{
		pContext->Rollback();
		m_pMaster->Unlock();
		throw;
	}
	if (!bDeleted)
	{
		pContext->Rollback();
		m_pMaster->Unlock();
		return FALSE;
	}
	// Browsing goes on at the record that followed.
	if (m_bBrowseSetLoaded && m_nBrowsePos >= 0 && m_nBrowsePos < static_cast<int>(m_BrowseSet.size()))
		m_BrowseSet.erase(m_BrowseSet.begin() + m_nBrowsePos);
	else
		m_bBrowseSetLoaded = false;
	ShowNoRecord();
	if (m_bBrowseSetLoaded && !m_BrowseSet.empty())
	{
		m_nBrowsePos = std::min(m_nBrowsePos, static_cast<int>(m_BrowseSet.size()) - 1);
		*m_pMaster->GetRecord() = *m_BrowseSet[static_cast<size_t>(m_nBrowsePos)];
		ShowRecord();
	}
	GoInBrowseMode();
	return TRUE;
}

void CAbstractFormDoc::LoadBrowseSet(BOOL bFind)
{
	m_BrowseSet = m_pMaster->Search(bFind);
	m_bBrowseSetLoaded = true;
	m_nBrowsePos = -1;
	for (size_t i = 0; m_bHasRecord && i < m_BrowseSet.size(); ++i)
		if (DBTObject::SameKey(*m_BrowseSet[i], *m_pMaster->GetRecord()))
			m_nBrowsePos = static_cast<int>(i);
}

BOOL CAbstractFormDoc::BrowseAt(BrowseMove move)
{
	FormMode mode = GetFormMode();
	if (m_bBatch || !m_pMaster || m_bOnlyOneRecord || (mode != BROWSE && mode != FIND && mode != NONE))
		return FALSE;
	if (!m_bBrowseSetLoaded)
		LoadBrowseSet(FALSE);
	int n = static_cast<int>(m_BrowseSet.size());
	int pos = -1;
	switch (move)
	{
	case BROWSE_FIRST: pos = 0; break;
	case BROWSE_LAST: pos = n - 1; break;
	case BROWSE_NEXT: pos = m_nBrowsePos + 1; break;
	case BROWSE_PREV: pos = m_nBrowsePos < 0 ? -1 : m_nBrowsePos - 1; break;
	}
	if (pos < 0 || pos >= n)
		return FALSE;
	*m_pMaster->GetRecord() = *m_BrowseSet[static_cast<size_t>(pos)];
	if (!ShowRecord())
		return FALSE;
	m_nBrowsePos = pos;
	m_pShownKey.reset();
	GoInBrowseMode();
	return TRUE;
}

BOOL CAbstractFormDoc::BrowseRecord(BOOL, int)
{
	if (m_bBatch || !m_pMaster || (GetFormMode() != BROWSE && GetFormMode() != NONE))
		return FALSE;
	m_bBrowseSetLoaded = false;
	BOOL bFound = ShowRecord();
	GoInBrowseMode();
	return bFound;
}

// ---- batch -------------------------------------------------------------------------------------

BOOL CAbstractFormDoc::StartBatchTransaction()
{
	CPLVContext* pContext = GetContext();
	if (pContext && pContext->StartTransaction())
	{
		if (pContext->KeepOutOtherBatches())
			return TRUE;
		pContext->Rollback();
	}
	Message(pContext && pContext->IsBusy() ? kCompanyBusy : kNoTransaction);
	m_bBatchNotStarted = true;  // the run did nothing: it must not report success
	return FALSE;
}

BOOL CAbstractFormDoc::PrintReport()
{
	if (!CanDoReport())
	{
		AfxMessageBox("This document offers no report.", MB_OK | MB_ICONINFORMATION);
		return FALSE;
	}
	const CString report = AfxGetDocumentDefaultReport(GetNamespace().GetPathName());
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (report.IsEmpty() || !pCmd)
	{
		AfxMessageBox(CString::Formatted("No report is set for the document %s.", GetNamespace().GetPathName().GetString()),
					  MB_OK | MB_ICONINFORMATION);
		return FALSE;
	}
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace(report));
	CRendoDoc* pReport = pCmd->RunReport(pInfo, this, nullptr, nullptr, TRUE);
	pCmd->ReleaseReport(pReport);
	return pReport != nullptr;
}

namespace {

const char* const kRadarReport = "Framework.Radar";

// The records of the context document's master table, every stored column, by primary key.
class CRadarReport : public CReportDefinition
{
public:
	CString GetNamespace() const override { return kRadarReport; }
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		auto* pDoc = dynamic_cast<CAbstractFormDoc*>(ctx.GetContextObject());
		DBTMaster* pMaster = pDoc ? pDoc->GetMaster() : nullptr;
		if (!pMaster)
			throw CApplicationErrorException("the document has no master table");
		CRuntimeClass* pClass = pMaster->GetRecord()->GetRuntimeClass();
		std::unique_ptr<CObject> obj(pClass->CreateObject());
		auto* pRec = dynamic_cast<SqlRecord*>(obj.get());
		if (!pRec)
			throw CApplicationErrorException("the master record cannot be read on its own");
		out.title = pDoc->GetFormTitle().IsEmpty() ? pRec->GetTableName() : pDoc->GetFormTitle();
		// Each column under the text of the form's control that shows it; a column the form does
		// not show is left out, but for the key.
		std::vector<CParsedCtrl*> controls;
		if (CBaseView* pView = pDoc->GetFirstView())
			controls = pView->GetAllControls();
		const SqlRecord* pShown = pMaster->GetRecord();
		const std::vector<CString> keys = pRec->GetPrimaryKey();
		auto heading = [&](int i) -> CString {
			const DataObj* pData = i < pShown->GetSize() ? pShown->GetDataObjAt(i) : nullptr;
			for (const CParsedCtrl* pCtrl : controls)
				if (pData && pCtrl->GetCtrlData() == pData && !pCtrl->GetName().IsEmpty())
				{
					std::string text = pCtrl->GetName().str();
					text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
					while (!text.empty() && (text.back() == ':' || text.back() == ' '))
						text.pop_back();
					return CString(text);
				}
			return CString();
		};
		std::vector<ReportColumn> columns;
		std::vector<int> items;
		for (int i = 0; i < pRec->GetSize(); ++i)
			if (!pRec->IsLocal(i))
			{
				const CString name = pRec->GetItem(i)->m_strColumnName;
				CString title = heading(i);
				const bool key = std::find(keys.begin(), keys.end(), name) != keys.end();
				if (title.IsEmpty() && !key)
					continue;
				if (title.IsEmpty())
					title = name;
				const WORD type = pRec->GetDataObjAt(i)->GetDataType();
				const bool number = type == DATA_MON_TYPE || type == DATA_DBL_TYPE || type == DATA_QTY_TYPE ||
									type == DATA_PERC_TYPE || type == DATA_INT_TYPE || type == DATA_LNG_TYPE;
				columns.push_back({title,
								   !number								   ? ColumnKind::Text
								   : type == DATA_INT_TYPE || type == DATA_LNG_TYPE ? ColumnKind::Integer
																				   : ColumnKind::Balance,
								   1});
				items.push_back(i);
			}
		// The rows first: each column as wide as what it holds.
		std::vector<std::vector<ReportCell>> rows;
		std::vector<size_t> widths(columns.size());
		for (size_t c = 0; c < columns.size(); ++c)
			widths[c] = std::min<size_t>(columns[c].heading.str().size(), 12);
		SqlTable table(pRec, pDoc->GetReadOnlySqlSession());
		table.Open();
		table.SelectAll();
		for (const CString& key : keys)
			table.AddSortColumn(key.GetString());
		table.Query();
		for (; !table.IsEOF(); table.MoveNext())
		{
			std::vector<ReportCell> row;
			for (int i : items)
			{
				const DataObj* p = pRec->GetDataObjAt(i);
				const SoapValue v = p->GetSoapValue();
				const size_t c = row.size();
				if (columns[c].kind == ColumnKind::Text)
					row.emplace_back(p->FormatData());
				else if (auto d = std::get_if<double>(&v))
					row.emplace_back(*d);
				else if (auto n = std::get_if<int>(&v))
					row.emplace_back(*n);
				else
					row.emplace_back();
				const size_t len = columns[c].kind == ColumnKind::Text ? row.back().GetText().str().size() : 12;
				widths[c] = std::max(widths[c], std::min<size_t>(len, 40));
			}
			rows.push_back(std::move(row));
		}
		for (size_t c = 0; c < columns.size(); ++c)
			columns[c].width = static_cast<double>(std::max<size_t>(widths[c], 3) + 2) / 10.0;  // with room for the gaps
		CReportTable& t = out.AddTable(out.title, std::move(columns));
		for (auto& row : rows)
			t.AddRow(std::move(row));
		table.Close();
	}
};

}  // namespace

BOOL CAbstractFormDoc::ShowRadar()
{
	if (!CanDoRadar() || !GetMaster())
	{
		AfxMessageBox("This document offers no browse list.", MB_OK | MB_ICONINFORMATION);
		return FALSE;
	}
	if (!AfxFindReportDefinition(kRadarReport))
		AfxRegisterReportDefinition(std::make_unique<CRadarReport>(), AfxGetThisModule());
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return FALSE;
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace(kRadarReport));
	pInfo->m_bShowAskDialog = FALSE;
	CRendoDoc* pReport = pCmd->RunReport(pInfo, this, nullptr, nullptr, TRUE);
	pCmd->ReleaseReport(pReport);
	return pReport != nullptr;
}

BOOL CAbstractFormDoc::BatchStart()
{
	if (!m_bBatch || m_bRunningBatch)
		return FALSE;
	m_bRunningBatch = true;
	m_bBatchNotStarted = false;
	m_Scheduler.Reset();
	m_strKeptOnAbort.Empty();
	CPLVContext* pContext = GetContext();
	bool bWasInTransaction = pContext && pContext->IsInTransaction();
	const int nCommits = pContext ? pContext->GetCommitCount() : 0;
	bool bFailed = false;
	try
	{
		OnBatchExecute();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
		bFailed = true;
	}
	catch (...)
	{
		m_bRunningBatch = false;
		if (pContext && !bWasInTransaction && pContext->IsInTransaction())
			pContext->Rollback();
		throw;
	}
	if (pContext && !bWasInTransaction && pContext->IsInTransaction())
	{
		// A run that ends with its transaction open has not finished its work: none of it stays.
		if (!bFailed)
			ASSERT_RELEASE_FAILED("!GetContext()->IsInTransaction()", "CAbstractFormDoc::BatchStart", kSource);
		pContext->Rollback();
		bFailed = true;
	}
	m_bRunningBatch = false;
	if (m_Scheduler.WasAborted())
	{
		if (m_strKeptOnAbort.IsEmpty())
			m_strKeptOnAbort = pContext && pContext->GetCommitCount() != nCommits ? kStoppedKept : kStoppedNothingKept;
		AfxSayWhatWasKept(m_strKeptOnAbort);
	}
	DisableControlsForBatch();
	UpdateDataView();
	if (bFailed || m_bBatchNotStarted)
	{
		AfxNoteRefusal();
		return FALSE;
	}
	return TRUE;
}
