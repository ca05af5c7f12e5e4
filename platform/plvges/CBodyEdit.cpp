#include "platform/plvges/CBodyEdit.h"

#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "CBodyEdit";
}

ColumnInfo::ColumnInfo(CBodyEdit* pBody, UINT nID, const CString& strName, const CString& strTitle, int nFieldIndex,
					   int nChars, int nLines, std::unique_ptr<CParsedCtrl> pCtrl)
	: m_pBody(pBody),
	  m_nID(nID),
	  m_strName(strName),
	  m_strTitle(strTitle),
	  m_nFieldIndex(nFieldIndex),
	  m_nChars(nChars),
	  m_nLines(nLines),
	  m_pCtrl(std::move(pCtrl))
{
	m_pCtrl->SetParentCtrl(pBody);
}

CParsedCtrl* ColumnInfo::GetParsedCtrl() const
{
	// Rows come and go under the grid: the control follows the current one.
	m_pBody->BindRow(m_pBody->GetCurrRecord());
	return m_pCtrl.get();
}

CBodyEdit::CBodyEdit() = default;
CBodyEdit::~CBodyEdit() = default;

BOOL CBodyEdit::Attach(CObject* pBound)
{
	m_pDBT = DynamicDownCast<DBTSlaveBuffered>(pBound);
	if (!m_pDBT)
		return FALSE;
	Customize();
	return TRUE;
}

ColumnInfo* CBodyEdit::AddColumn(UINT nID, LPCTSTR szName, LPCTSTR szTitle, CRuntimeClass* pCtrlClass, DataObj& field,
								 int nChars, int nLines, HotKeyLinkObj* pHotKeyLink)
{
	SqlRecord* pRec = m_pDBT ? m_pDBT->GetRecord() : nullptr;
	int nField = -1;
	for (int i = 0; pRec && i < pRec->GetSize(); ++i)
		if (pRec->GetDataObjAt(i) == &field)
			nField = i;
	CObject* p = pCtrlClass ? pCtrlClass->CreateObject() : nullptr;
	std::unique_ptr<CParsedCtrl> pCtrl(DynamicDownCast<CParsedCtrl>(p));
	if (!pCtrl)
		delete p;
	if (nField < 0 || !pCtrl)
	{
		ASSERT_RELEASE_FAILED("nField >= 0 && pCtrl", "CBodyEdit::AddColumn", kSource);
		return nullptr;
	}
	pCtrl->SetLink(m_pForm, nID, szName, pHotKeyLink);
	m_Columns.push_back(std::make_unique<ColumnInfo>(this, nID, szName, szTitle ? szTitle : szName, nField, nChars,
													 nLines, std::move(pCtrl)));
	BindRow(GetCurrRecord());
	return m_Columns.back().get();
}

ColumnInfo* CBodyEdit::GetColumn(int nCol) const
{
	return nCol >= 0 && nCol < GetColumnCount() ? m_Columns[static_cast<size_t>(nCol)].get() : nullptr;
}

ColumnInfo* CBodyEdit::GetColumn(const CString& strName) const
{
	for (auto& p : m_Columns)
		if (p->GetName() == strName)
			return p.get();
	for (auto& p : m_Columns)
		if (p->GetTitle() == strName)
			return p.get();
	// As a person types it: the title or name without its ':', in any case, or the record's column.
	ColumnInfo* pFound = nullptr;
	for (auto& p : m_Columns)
		if (IsSameLabel(strName, p->GetTitle()) || IsSameLabel(strName, p->GetName()) ||
			RecordColumn(*p).CompareNoCase(strName) == 0)
		{
			if (pFound)
				return nullptr;
			pFound = p.get();
		}
	return pFound;
}

CString CBodyEdit::RecordColumn(const ColumnInfo& column) const
{
	SqlRecord* pRec = m_pDBT ? m_pDBT->GetRecord() : nullptr;
	return pRec && column.GetFieldIndex() >= 0 && column.GetFieldIndex() < pRec->GetSize()
			   ? pRec->GetItem(column.GetFieldIndex())->m_strColumnName
			   : CString();
}

CString CBodyEdit::NoColumn(const CString& strName) const
{
	std::vector<CString> names;
	for (auto& p : m_Columns)
		for (const CString& name : {p->GetTitle(), p->GetName(), RecordColumn(*p)})
			names.push_back(name);
	return NoSuchName("No column", strName, names);
}

ColumnInfo* CBodyEdit::GetColumnInfo(UINT nID) const
{
	for (auto& p : m_Columns)
		if (p->GetCtrlID() == nID)
			return p.get();
	return nullptr;
}

void CBodyEdit::AddUserButton(UINT nID, LPCTSTR szText)
{
	m_UserButtons.emplace_back(nID, szText);
}

void CBodyEdit::BindRow(int nRow)
{
	SqlRecord* pRow = m_pDBT ? m_pDBT->GetRow(nRow) : nullptr;
	for (auto& p : m_Columns)
		p->m_pCtrl->SetCtrlData(pRow ? pRow->GetDataObjAt(p->GetFieldIndex()) : nullptr);
}

void CBodyEdit::SetCurrRecord(int nRow)
{
	if (!m_pDBT)
		return;
	m_pDBT->SetCurrentRow(nRow);
	BindRow(m_pDBT->GetCurrentRowIdx());
}

int CBodyEdit::GetCurrRecord() const
{
	return m_pDBT ? m_pDBT->GetCurrentRowIdx() : -1;
}

CString CBodyEdit::GetCellText(int nRow, int nCol) const
{
	ColumnInfo* pCol = GetColumn(nCol);
	SqlRecord* pRow = m_pDBT ? m_pDBT->GetRow(nRow) : nullptr;
	if (!pCol || !pRow)
		return CString();
	CParsedCtrl* pCtrl = pCol->m_pCtrl.get();
	pCtrl->SetCtrlData(pRow->GetDataObjAt(pCol->GetFieldIndex()));
	CString text = pCtrl->GetCtrlText();
	// Back on the current row: the control may be in use (its selection, its undo).
	const_cast<CBodyEdit*>(this)->BindRow(GetCurrRecord());
	return text;
}

BOOL CBodyEdit::Editable() const
{
	return m_pDBT && m_pForm && m_pForm->IsCtrlEditable(this);
}

BOOL CBodyEdit::CanAddRow() const
{
	return m_bAddRow && Editable();
}

BOOL CBodyEdit::CanInsertRow() const
{
	return m_bInsertRow && Editable();
}

BOOL CBodyEdit::CanDeleteRow() const
{
	return m_bDeleteRow && Editable();
}

BOOL CBodyEdit::IsChildEditable(const CParsedCtrl* pChild) const
{
	const ColumnInfo* pCol = nullptr;
	for (auto& p : m_Columns)
		if (p->m_pCtrl.get() == pChild)
			pCol = p.get();
	if (!pCol || pCol->IsReadOnly() || !pCol->IsVisible() || pChild->IsStatic() || !pChild->GetCtrlData() ||
		!Editable())
		return FALSE;
	const CParsedForm* pRoot = m_pForm;
	while (pRoot->GetParentForm())
		pRoot = pRoot->GetParentForm();
	return pRoot->IsDataEditable(pChild->GetCtrlData());
}

BOOL CBodyEdit::RowsChanged(int nNewCurrent)
{
	SetCurrRecord(nNewCurrent);
	if (m_pForm)
		m_pForm->OnCtrlChanged(this);
	Notify(BEN_ROW_CHANGED);
	return TRUE;
}

BOOL CBodyEdit::UserSelectRow(int nRow)
{
	m_strLastError.Empty();
	if (!m_pDBT || nRow < 0 || nRow >= m_pDBT->GetSize())
		return Refuse("No such row.");
	if (!m_bEnabled || !m_bVisible)
		return Refuse("The grid is disabled.");
	m_nHitRow = nRow;
	if (nRow != GetCurrRecord())
	{
		SetCurrRecord(nRow);
		Notify(BEN_ROW_CHANGED);
	}
	Notify(BEN_ROW_CLICKED);
	return TRUE;
}

BOOL CBodyEdit::UserClickCell(int nRow, const CString& strColumn)
{
	ColumnInfo* pCol = GetColumn(strColumn);
	if (!pCol)
		return Refuse(NoColumn(strColumn));
	m_nHitColumn = -1;
	for (int i = 0; i < GetColumnCount(); ++i)
		if (GetColumn(i) == pCol)
			m_nHitColumn = i;
	return UserSelectRow(nRow);
}

BOOL CBodyEdit::UserDoubleClick(int nRow, int nCol)
{
	m_nHitColumn = nCol;
	if (!UserSelectRow(nRow))
		return FALSE;
	// A cell being edited has its own control: the double-click is that control's, on the row.
	ColumnInfo* pCol = GetColumn(nCol);
	if (pCol && m_pDBT->GetRow(nRow))
	{
		SetCurrRecord(nRow);
		CParsedCtrl* pCtrl = pCol->GetParsedCtrl();
		if (pCtrl->IsEditable())
			return pCtrl->UserDoubleClick() || Refuse(pCtrl->GetLastError());
	}
	Notify(BEN_ROW_DBLCLICKED);
	return TRUE;
}

BOOL CBodyEdit::UserSetCell(int nRow, const CString& strColumn, const CString& strText)
{
	m_strLastError.Empty();
	ColumnInfo* pCol = GetColumn(strColumn);
	if (!pCol)
		return Refuse(NoColumn(strColumn));
	if (nRow != GetCurrRecord() && !UserClickCell(nRow, strColumn))
		return FALSE;
	// The row-changed handlers may have changed the rows.
	if (!m_pDBT->GetRow(nRow))
		return Refuse("No such row.");
	SetCurrRecord(nRow);
	CParsedCtrl* pCtrl = pCol->GetParsedCtrl();
	if (!pCtrl->UserInput(strText))
		return Refuse(pCtrl->GetLastError());
	return TRUE;
}

BOOL CBodyEdit::UserAddRow()
{
	m_strLastError.Empty();
	if (!CanAddRow())
		return Refuse("Rows cannot be added.");
	SqlRecord* pRow = m_pDBT->AddRecord();
	int nRow = m_pDBT->GetUpperBound();
	m_pDBT->OnAfterAddRow(nRow, pRow);
	return RowsChanged(nRow);
}

BOOL CBodyEdit::UserInsertRow(int nRow)
{
	m_strLastError.Empty();
	if (!CanInsertRow())
		return Refuse("Rows cannot be inserted.");
	if (nRow < 0 || nRow > m_pDBT->GetSize())
		return Refuse("No such row.");
	SqlRecord* pRow = m_pDBT->InsertRecord(nRow);
	m_pDBT->OnAfterInsertRow(nRow, pRow);
	return RowsChanged(nRow);
}

BOOL CBodyEdit::UserDeleteRow(int nRow)
{
	m_strLastError.Empty();
	if (!CanDeleteRow())
		return Refuse("Rows cannot be deleted.");
	if (nRow < 0 || nRow >= m_pDBT->GetSize())
		return Refuse("No such row.");
	if (!m_pDBT->OnBeforeDeleteRow(nRow))
		return Refuse("The document keeps the row.");
	m_pDBT->RemoveRecord(nRow);
	m_pDBT->OnAfterDeleteRow(nRow);
	return RowsChanged(std::min(nRow, m_pDBT->GetUpperBound()));
}
