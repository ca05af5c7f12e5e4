#include "platform/plvges/FormDriver.h"

#include <cstdlib>

#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvgeneric/Interaction.h"

// The document may have closed as it opened (a close asked meanwhile runs when the opening ends).
FormDriver::FormDriver(CBaseDocument* pDocument)
	: m_pDocument(pDocument),
	  m_pForm(pDocument && AfxExistWebServiceStateObject(pDocument) ? pDocument->GetFirstView() : nullptr)
{
}

FormDriver::FormDriver(CParsedForm& form) : m_pForm(&form) {}

CBaseDocument* FormDriver::Open(CDocumentSet& documents, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
								CRuntimeClass* pViewClass, const CPLVNamespace& ns, CBaseDocument* pCaller)
{
	CUserActionScope scope(pCaller);
	CBaseDocument* pDocument = documents.Open(pDocClass, pFrameClass, pViewClass, ns, pCaller);
	if (pDocument)
		pDocument->m_Messages.Show();
	return pDocument;
}

CBaseDocument* FormDriver::Open(LPCTSTR szNamespace, CBaseDocument* pCaller)
{
	CPlvCommandInterface* pManager = AfxGetPlvCmdManager();
	if (!pManager)
		return nullptr;
	CUserActionScope scope(pCaller);
	return pManager->RunDocument(szNamespace, _T("Default"), nullptr, pCaller);
}

CAbstractFormDoc* FormDriver::GetDocument() const
{
	return IsOpen() ? DynamicDownCast<CAbstractFormDoc>(m_pDocument) : nullptr;
}

BOOL FormDriver::IsOpen() const
{
	return m_pDocument ? AfxExistWebServiceStateObject(m_pDocument) : m_pForm != nullptr;
}

namespace {
const char kNotAvailable[] = "The command is not available or was refused.";
const char kBatchFailed[] = "The batch ended without success: see its messages and status.";
const char kRefused[] = "The document refused it.";
}  // namespace

// The driver's own words for a refusal the document did not explain.
BOOL FormDriver::IsGenericRefusal(const CString& strWhy)
{
	return strWhy == kNotAvailable || strWhy == kBatchFailed || strWhy == kRefused;
}

BOOL FormDriver::Fail(const CString& strWhy)
{
	m_strLastError = strWhy;
	return FALSE;
}

template <class Action>
BOOL FormDriver::Act(Action action)
{
	m_strLastError.Empty();
	if (!IsOpen() || !m_pForm)
		return Fail("The document is closed.");
	if (m_pDocument && m_pDocument->GetMasterFrame() && !m_pDocument->GetMasterFrame()->IsWindowEnabled())
		return Fail("The document's frame is disabled.");
	MessageWatch watch;
	const unsigned nRefusals = AfxGetRefusalCount();
	CBaseDocument* pDoc = m_pDocument;
	if (pDoc)
		pDoc->TakeActionRefused();
	BOOL bDone = FALSE;
	bool bRefused = false;
	{
		CUserActionScope scope(m_pDocument);
		try
		{
			bDone = action();
			bRefused = bDone && pDoc && AfxExistWebServiceStateObject(pDoc) && pDoc->TakeActionRefused();
		}
		catch (const SqlException& e)
		{
			// What a handler's database work did not catch, the user sees and the action fails.
			e.ShowError();
			return Fail(e.GetMessage());
		}
	}
	// The document's own words say why: a check that showed a message and sent the user back
	// to a control (or a save or run that failed under a button) refused the action, though the
	// handler itself returns nothing.
	CString said;
	bool bWarned = false;
	for (const ShownMessage& m : watch.Shown())
	{
		bWarned = bWarned || (m.type & 0xF0) != MB_ICONINFORMATION;
		if (said.Find(m.text) < 0)
			said += (said.IsEmpty() ? "" : "\n") + m.text;
	}
	if (!bDone || bRefused)
	{
		// The driver's generic words give way to what the document said.
		if (!said.IsEmpty() && (m_strLastError.IsEmpty() || IsGenericRefusal(m_strLastError) || said.Find(m_strLastError) >= 0))
			m_strLastError = said;
		else if (m_strLastError.IsEmpty())
			m_strLastError = kRefused;
		return FALSE;
	}
	if (bWarned && AfxGetRefusalCount() != nRefusals)
		return Fail(said);
	return TRUE;
}

BOOL FormDriver::DocCommand(BOOL (CAbstractFormDoc::*pCommand)())
{
	return Act([&]() -> BOOL {
		CAbstractFormDoc* pDoc = GetDocument();
		if (!pDoc)
			return Fail("No form document.");
		return (pDoc->*pCommand)() || Fail(kNotAvailable);
	});
}

BOOL FormDriver::New() { return DocCommand(&CAbstractFormDoc::NewRecord); }
BOOL FormDriver::Edit() { return DocCommand(&CAbstractFormDoc::EditRecord); }
BOOL FormDriver::Find() { return DocCommand(&CAbstractFormDoc::EnterFindMode); }
BOOL FormDriver::Save() { return DocCommand(&CAbstractFormDoc::SaveRecord); }
BOOL FormDriver::Escape() { return DocCommand(&CAbstractFormDoc::EscapeRecord); }
BOOL FormDriver::Delete() { return DocCommand(&CAbstractFormDoc::DeleteRecord); }
BOOL FormDriver::First() { return DocCommand(&CAbstractFormDoc::BrowseFirst); }
BOOL FormDriver::Prev() { return DocCommand(&CAbstractFormDoc::BrowsePrev); }
BOOL FormDriver::Next() { return DocCommand(&CAbstractFormDoc::BrowseNext); }
BOOL FormDriver::Last() { return DocCommand(&CAbstractFormDoc::BrowseLast); }
// A batch that started but ended without success has said why in its messages and status; the
// generic refusal would hide that it ran.
BOOL FormDriver::RunBatch()
{
	return Act([&]() -> BOOL {
		CAbstractFormDoc* pDoc = GetDocument();
		if (!pDoc)
			return Fail("No form document.");
		if (!pDoc->IsABatchDocument() || pDoc->IsRunningBatch())
			return Fail(kNotAvailable);
		return pDoc->BatchStart() || Fail(kBatchFailed);
	});
}

BOOL FormDriver::Report() { return DocCommand(&CAbstractFormDoc::PrintReport); }

BOOL FormDriver::Radar() { return DocCommand(&CAbstractFormDoc::ShowRadar); }

BOOL FormDriver::Close()
{
	return Act([&]() -> BOOL {
		if (!m_pDocument)
			return Fail("A dialog closes with OK or Cancel.");
		if (!m_pDocument->SaveModified())
			return Fail("The document stays open.");
		m_pDocument->CloseDocument(FALSE);
		return !AfxExistWebServiceStateObject(m_pDocument) || Fail("The document stays open.");
	});
}

BOOL FormDriver::IsCommandEnabled(UINT nID) const
{
	if (!IsOpen() || !m_pForm)
		return FALSE;
	CCmdUI state(nID);
	m_pForm->OnUpdateCmdUI(&state);
	if (m_pDocument)
		m_pDocument->OnUpdateCmdUI(&state);
	return state.IsEnabled();
}

std::vector<std::pair<UINT, CString>> FormDriver::Commands() const
{
	std::vector<std::pair<UINT, CString>> commands;
	if (!IsOpen() || !m_pForm)
		return commands;
	if (m_pDocument && m_pDocument->GetMasterFrame())
		for (auto& c : m_pDocument->GetMasterFrame()->GetToolbarCommands())
			commands.emplace_back(c.nID, c.strCaption);
	for (CParsedCtrl* p : m_pForm->GetAllControls())
		if (auto* pGrid = DynamicDownCast<CBodyEdit>(p))
			for (auto& b : pGrid->GetUserButtons())
				commands.push_back(b);
	return commands;
}

BOOL FormDriver::Command(const CString& strCommand)
{
	// Captions carry their accelerator's '&'.
	auto plain = [](CString s) {
		s.Remove('&');
		s.Trim();
		return s;
	};
	for (auto& [nID, caption] : Commands())
		if (plain(caption).CompareNoCase(plain(strCommand)) == 0)
			return Command(nID);
	char* end = nullptr;
	const unsigned long n = std::strtoul(strCommand.GetString(), &end, 10);
	if (!strCommand.IsEmpty() && end && *end == '\0' && n > 0 && n <= 0xFFFFFFFFul)
		return Command(static_cast<UINT>(n));
	return Fail("No command " + strCommand + ".");
}

BOOL FormDriver::Command(UINT nID)
{
	return Act([&]() -> BOOL {
		if (!IsCommandEnabled(nID))
			return Fail("The command is disabled.");
		BOOL bHandled = m_pForm->OnCmdMsg(nID, CN_COMMAND);
		if (m_pDocument && AfxExistWebServiceStateObject(m_pDocument))
			bHandled = m_pDocument->OnCmdMsg(nID, CN_COMMAND) || bHandled;
		return bHandled || Fail("Nothing handles the command.");
	});
}

BOOL FormDriver::Press(const CString& strControl)
{
	return Act([&]() -> BOOL {
		CParsedCtrl* pCtrl = Control(strControl);
		if (!pCtrl)
			return Fail(NoControl(strControl));
		return pCtrl->UserClick() || Fail(pCtrl->GetLastError());
	});
}

BOOL FormDriver::Type(const CString& strControl, const CString& strText)
{
	return Act([&]() -> BOOL {
		CParsedCtrl* pCtrl = Control(strControl);
		if (!pCtrl)
			return Fail(NoControl(strControl));
		return pCtrl->UserInput(strText) || Fail(pCtrl->GetLastError());
	});
}

BOOL FormDriver::PickInto(CParsedCtrl* pCtrl, int nSelectionType, const CString& strPattern, int nPick)
{
	auto* pLink = dynamic_cast<HotKeyLink*>(pCtrl->GetHotKeyLink());
	if (!pLink || !pLink->GetRecord() || !pLink->GetDataObj())
		return Fail("The control has no lookup.");
	int nField = -1;
	for (int i = 0; i < pLink->GetRecord()->GetSize(); ++i)
		if (pLink->GetRecord()->GetDataObjAt(i) == pLink->GetDataObj())
			nField = i;
	auto rows = pLink->Search(nSelectionType, DataStr(strPattern), nPick + 1);
	if (nField < 0 || nPick < 0 || nPick >= static_cast<int>(rows.size()))
		return Fail("The lookup lists no such row.");
	CString value = rows[static_cast<size_t>(nPick)]->GetDataObjAt(nField)->FormatData();
	return pCtrl->UserInput(value) || Fail(pCtrl->GetLastError());
}

BOOL FormDriver::Pick(const CString& strControl, int nSelectionType, const CString& strPattern, int nPick)
{
	return Act([&]() -> BOOL {
		CParsedCtrl* pCtrl = Control(strControl);
		if (!pCtrl)
			return Fail(NoControl(strControl));
		if (!pCtrl->IsEditable())
			return Fail("The control is read-only.");
		return PickInto(pCtrl, nSelectionType, strPattern, nPick);
	});
}

BOOL FormDriver::PickCell(const CString& strGrid, int nRow, const CString& strColumn, int nSelectionType,
						  const CString& strPattern, int nPick)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		ColumnInfo* pCol = pGrid ? pGrid->GetColumn(strColumn) : nullptr;
		if (!pCol)
			return pGrid ? Fail(pGrid->NoColumn(strColumn)) : FALSE;
		if (nRow != pGrid->GetCurrRecord() && !pGrid->UserClickCell(nRow, strColumn))
			return Fail(pGrid->GetLastError());
		pGrid->SetCurrRecord(nRow);
		if (!pCol->GetParsedCtrl()->IsEditable())
			return Fail("The cell is read-only.");
		return PickInto(pCol->GetParsedCtrl(), nSelectionType, strPattern, nPick);
	});
}

BOOL FormDriver::ActivateTab(const CString& strTabManager, const CString& strTab)
{
	return Act([&]() -> BOOL {
		auto* pTabs = DynamicDownCast<CTabManager>(Control(strTabManager));
		if (!pTabs)
			return Fail("No tab manager " + strTabManager + ".");
		for (int i = 0; i < pTabs->GetDialogCount(); ++i)
			if (pTabs->GetDialog(i) == pTabs->GetDialog(strTab))
				return pTabs->UserActivateTab(i) || Fail(pTabs->GetLastError());
		return Fail("No tab " + strTab + ".");
	});
}

CBodyEdit* FormDriver::GridOrFail(const CString& strGrid)
{
	CBodyEdit* pGrid = Grid(strGrid);
	if (!pGrid)
	{
		std::vector<CString> names;
		for (CParsedCtrl* p : m_pForm ? m_pForm->GetAllControls() : std::vector<CParsedCtrl*>())
			if (DynamicDownCast<CBodyEdit>(p))
				names.push_back(p->GetName());
		Fail(NoSuchName("No grid", strGrid, names));
	}
	return pGrid;
}

BOOL FormDriver::SelectRow(const CString& strGrid, int nRow)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		return pGrid && (pGrid->UserSelectRow(nRow) || Fail(pGrid->GetLastError()));
	});
}

BOOL FormDriver::DoubleClick(const CString& strGrid, int nRow, const CString& strColumn)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		if (!pGrid)
			return FALSE;
		// No column: the row itself (a column of an empty title is no row).
		int nCol = -1;
		for (int i = 0; i < pGrid->GetColumnCount() && !strColumn.IsEmpty(); ++i)
			if (pGrid->GetColumn(i) == pGrid->GetColumn(strColumn))
				nCol = i;
		return pGrid->UserDoubleClick(nRow, nCol) || Fail(pGrid->GetLastError());
	});
}

BOOL FormDriver::TypeCell(const CString& strGrid, int nRow, const CString& strColumn, const CString& strText)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		return pGrid && (pGrid->UserSetCell(nRow, strColumn, strText) || Fail(pGrid->GetLastError()));
	});
}

BOOL FormDriver::AddRow(const CString& strGrid)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		return pGrid && (pGrid->UserAddRow() || Fail(pGrid->GetLastError()));
	});
}

BOOL FormDriver::SelectLine(const CString& strList, int nLine)
{
	return ListAction(strList, [&](CListBox& list) { return list.UserSelect(nLine); });
}

BOOL FormDriver::DoubleClickLine(const CString& strList, int nLine)
{
	return ListAction(strList, [&](CListBox& list) { return list.UserDoubleClickLine(nLine); });
}

BOOL FormDriver::RightClickLine(const CString& strList, int nLine)
{
	return ListAction(strList, [&](CListBox& list) { return list.UserRightClick(nLine); });
}

BOOL FormDriver::ListAction(const CString& strList, const std::function<BOOL(CListBox&)>& action)
{
	return Act([&]() -> BOOL {
		auto* pList = DynamicDownCast<CListBox>(Control(strList));
		if (!pList)
			return Fail("No list box " + strList + ".");
		return action(*pList) || Fail(pList->GetLastError());
	});
}

BOOL FormDriver::DoubleClickControl(const CString& strControl)
{
	return Act([&]() -> BOOL {
		CParsedCtrl* pCtrl = Control(strControl);
		if (!pCtrl)
			return Fail(NoControl(strControl));
		return pCtrl->UserDoubleClick() || Fail(pCtrl->GetLastError());
	});
}

BOOL FormDriver::ButtonUp(const CString& strControl)
{
	return Act([&]() -> BOOL {
		CParsedCtrl* pCtrl = Control(strControl);
		if (!pCtrl)
			return Fail(NoControl(strControl));
		return pCtrl->UserButtonUp() || Fail(pCtrl->GetLastError());
	});
}

BOOL FormDriver::InsertRow(const CString& strGrid, int nRow)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		return pGrid && (pGrid->UserInsertRow(nRow) || Fail(pGrid->GetLastError()));
	});
}

BOOL FormDriver::DeleteRow(const CString& strGrid, int nRow)
{
	return Act([&]() -> BOOL {
		CBodyEdit* pGrid = GridOrFail(strGrid);
		return pGrid && (pGrid->UserDeleteRow(nRow) || Fail(pGrid->GetLastError()));
	});
}

ScriptedInteraction* FormDriver::Script()
{
	return dynamic_cast<ScriptedInteraction*>(AfxGetInteraction());
}

BOOL FormDriver::Answer(int nAnswer)
{
	ScriptedInteraction* pScript = Script();
	if (!pScript)
		return FALSE;
	pScript->PushAnswer(nAnswer);
	return TRUE;
}

void FormDriver::AnswerDialog(std::function<int(FormDriver&)> fill)
{
	AfxPushDialogAnswer([fill = std::move(fill)](CParsedDialog& dialog) {
		FormDriver driver(dialog);
		return fill(driver);
	});
}

// ---- reading -----------------------------------------------------------------------------------

CParsedCtrl* FormDriver::Control(const CString& strControl) const
{
	if (!IsOpen() || !m_pForm)
		return nullptr;
	if (CParsedCtrl* pCtrl = m_pForm->FindControl(strControl))
		return pCtrl;
	for (SqlRecord* pRec : BoundRecords())
		if (DataObj* pData = pRec->GetDataObjFromColumnName(strControl))
			if (CParsedCtrl* pCtrl = m_pForm->GetLinkedParsedCtrl(pData))
				return pCtrl;
	// "TAB/NAME": the control of that name on a tab page (by its title or name), where pages
	// share the names of their controls.
	for (int nSlash = strControl.Find('/'); nSlash > 0; nSlash = strControl.Find('/', nSlash + 1))
	{
		const CString strTab = strControl.Left(nSlash);
		const CString strName = strControl.Mid(nSlash + 1);
		for (CParsedCtrl* p : m_pForm->GetAllControls())
			for (CParsedForm* pChild : p->GetChildForms())
				if (auto* pPage = DynamicDownCast<CBaseTabDialog>(pChild);
					pPage && (pPage->GetTitle().CompareNoCase(strTab) == 0 || pPage->GetName().CompareNoCase(strTab) == 0))
					if (CParsedCtrl* pCtrl = pPage->FindControl(strName))
						return pCtrl;
	}
	// A label typed in another case or without its ':', or a column in another case: only
	// when it names one control.
	CParsedCtrl* pFound = nullptr;
	for (CParsedCtrl* p : m_pForm->GetAllControls())
		if (IsSameLabel(strControl, p->GetName()) || IsSameLabel(strControl, p->GetLabel()) ||
			(!ColumnOf(p).IsEmpty() && ColumnOf(p).CompareNoCase(strControl) == 0))
		{
			if (pFound && pFound != p)
				return nullptr;
			pFound = p;
		}
	return pFound;
}

CString FormDriver::NoControl(const CString& strControl) const
{
	std::vector<CString> names;
	if (IsOpen() && m_pForm)
		for (CParsedCtrl* p : m_pForm->GetAllControls())
		{
			names.push_back(p->GetName());
			if (p->GetLabel() != p->GetName())
				names.push_back(p->GetLabel());
			if (CString column = ColumnOf(p); !column.IsEmpty())
				names.push_back(column);
		}
	return NoSuchName("No control", strControl, names);
}

std::vector<SqlRecord*> FormDriver::BoundRecords() const
{
	CAbstractFormDoc* pDoc = GetDocument();
	DBTMaster* pMaster = pDoc ? pDoc->GetMaster() : nullptr;
	if (!pMaster)
		return {};
	std::vector<SqlRecord*> records{pMaster->GetRecord()};
	for (int i = 0; i < pMaster->GetSlaveCount(); ++i)
		if (!pMaster->GetSlave(i)->IsKindOf(RUNTIME_CLASS(DBTSlaveBuffered)))
			records.push_back(pMaster->GetSlave(i)->GetRecord());
	return records;
}

CString FormDriver::ColumnOf(const CParsedCtrl* pCtrl) const
{
	for (SqlRecord* pRec : BoundRecords())
		for (int i = 0; pCtrl && pCtrl->GetCtrlData() && i < pRec->GetSize(); ++i)
			if (pRec->GetDataObjAt(i) == pCtrl->GetCtrlData() && !pRec->IsLocal(i))
				return pRec->GetItem(i)->m_strColumnName;
	return CString();
}

CString FormDriver::Text(const CString& strControl) const
{
	CParsedCtrl* pCtrl = Control(strControl);
	return pCtrl ? pCtrl->GetCtrlText() : CString();
}

CString FormDriver::Description(const CString& strControl) const
{
	CParsedCtrl* pCtrl = Control(strControl);
	return pCtrl ? pCtrl->GetDescription() : CString();
}

BOOL FormDriver::IsEditable(const CString& strControl) const
{
	CParsedCtrl* pCtrl = Control(strControl);
	if (!pCtrl || (m_pDocument && m_pDocument->GetMasterFrame() && !m_pDocument->GetMasterFrame()->IsWindowEnabled()))
		return FALSE;
	return pCtrl->IsEditable();
}

BOOL FormDriver::IsVisible(const CString& strControl) const
{
	CParsedCtrl* pCtrl = Control(strControl);
	return pCtrl && pCtrl->IsWindowVisible();
}

BOOL FormDriver::IsEnabled(const CString& strControl) const
{
	CParsedCtrl* pCtrl = Control(strControl);
	return pCtrl && pCtrl->IsWindowEnabled();
}

CBaseDocument::FormMode FormDriver::Mode() const
{
	return IsOpen() && m_pDocument ? m_pDocument->GetFormMode() : CBaseDocument::NONE;
}

BOOL FormDriver::IsModified() const
{
	return IsOpen() && m_pDocument && m_pDocument->IsModified();
}

CBodyEdit* FormDriver::Grid(const CString& strGrid) const
{
	return DynamicDownCast<CBodyEdit>(Control(strGrid));
}

int FormDriver::RowCount(const CString& strGrid) const
{
	CBodyEdit* pGrid = Grid(strGrid);
	return pGrid && pGrid->GetDBT() ? pGrid->GetDBT()->GetSize() : 0;
}

int FormDriver::CurrentRow(const CString& strGrid) const
{
	CBodyEdit* pGrid = Grid(strGrid);
	return pGrid ? pGrid->GetCurrRecord() : -1;
}

CString FormDriver::Cell(const CString& strGrid, int nRow, const CString& strColumn) const
{
	CBodyEdit* pGrid = Grid(strGrid);
	if (!pGrid)
		return CString();
	for (int i = 0; i < pGrid->GetColumnCount(); ++i)
		if (pGrid->GetColumn(i) == pGrid->GetColumn(strColumn))
			return pGrid->GetCellText(nRow, i);
	return CString();
}

BOOL FormDriver::IsCellEditable(const CString& strGrid, int nRow, const CString& strColumn) const
{
	CBodyEdit* pGrid = Grid(strGrid);
	ColumnInfo* pCol = pGrid ? pGrid->GetColumn(strColumn) : nullptr;
	SqlRecord* pRow = pGrid && pGrid->GetDBT() ? pGrid->GetDBT()->GetRow(nRow) : nullptr;
	if (!pCol || !pRow)
		return FALSE;
	CParsedCtrl* pCtrl = pCol->GetParsedCtrl();
	pCtrl->SetCtrlData(pRow->GetDataObjAt(pCol->GetFieldIndex()));
	BOOL bEditable = pCtrl->IsEditable();
	pGrid->SetCurrRecord(pGrid->GetCurrRecord());  // bound to the current row again
	return bEditable;
}
