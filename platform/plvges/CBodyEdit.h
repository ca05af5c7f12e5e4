#pragma once
// Grids: a CBodyEdit shows the rows of a DBTSlaveBuffered, one column per row field, each
// column edited through a parsed control of its own. The grid's column hook states the
// columns when the form links the grid:
//
//     void Kvz_CentriCommesseBodyEdit::Customize()
//     {
//         Kvz_TCentriCommesseContiKvz* pRec = ...GetRecord();
//         AddColumn(IDC_CC_TIPO, _T("Tipo"), _T("Tipo"), RUNTIME_CLASS(CEnumCombo), pRec->f_Tipo, 10);
//         AddColumn(IDC_CC_CODICE, _T("Codice"), _T("Codice"), RUNTIME_CLASS(CStrEdit), pRec->f_CentroCommessa, 12, 1, pHKLJobs);
//     }
//
// The user's moves reach the document as notifications: BEN_ROW_CHANGED (the grid's id) when
// the current row changes, BEN_ROW_CLICKED and BEN_ROW_DBLCLICKED, and EN_VALUE_CHANGED with
// the column's id when a cell changes.
#include <memory>
#include <vector>

#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvges/DBTObject.h"

class CBodyEdit;

class ColumnInfo : public CObject
{
	DECLARE_DYNAMIC(ColumnInfo, CObject)
public:
	ColumnInfo(CBodyEdit* pBody, UINT nID, const CString& strName, const CString& strTitle, int nFieldIndex,
			   int nChars, int nLines, std::unique_ptr<CParsedCtrl> pCtrl);

	UINT GetCtrlID() const { return m_nID; }
	const CString& GetName() const { return m_strName; }
	const CString& GetTitle() const { return m_strTitle; }
	void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }
	int GetFieldIndex() const { return m_nFieldIndex; }
	int GetChars() const { return m_nChars; }
	int GetLines() const { return m_nLines; }
	void SetReadOnly(BOOL b = TRUE) { m_bReadOnly = b != FALSE; }
	BOOL IsReadOnly() const { return m_bReadOnly; }
	void ShowColumn(BOOL b = TRUE) { m_bVisible = b != FALSE; }
	BOOL IsVisible() const { return m_bVisible; }
	// The control that edits the column's cells, bound to the current row.
	CParsedCtrl* GetParsedCtrl() const;

private:
	friend class CBodyEdit;
	CBodyEdit* m_pBody;
	UINT m_nID;
	CString m_strName;
	CString m_strTitle;
	int m_nFieldIndex;
	int m_nChars;
	int m_nLines;
	bool m_bReadOnly = false;
	bool m_bVisible = true;
	std::unique_ptr<CParsedCtrl> m_pCtrl;
};

class CBodyEdit : public CParsedCtrl
{
	DECLARE_DYNCREATE(CBodyEdit, CParsedCtrl)
public:
	CBodyEdit();
	~CBodyEdit() override;

	// The form links the grid to its buffer; the column hook runs then.
	BOOL Attach(CObject* pBound) override;
	DBTSlaveBuffered* GetDBT() const { return m_pDBT; }

	// The column hook.
	virtual void Customize() {}
	// A column on a field of the buffer's record (GetDBT()->GetRecord()).
	ColumnInfo* AddColumn(UINT nID, LPCTSTR szName, LPCTSTR szTitle, CRuntimeClass* pCtrlClass, DataObj& field,
						  int nChars, int nLines = 1, HotKeyLinkObj* pHotKeyLink = nullptr);
	int GetColumnCount() const { return static_cast<int>(m_Columns.size()); }
	ColumnInfo* GetColumn(int nCol) const;
	// By column name, else by title.
	ColumnInfo* GetColumn(const CString& strName) const;
	ColumnInfo* GetColumnInfo(UINT nID) const;

	void SetMultipleLinesPerRow(BOOL b = TRUE) { m_bMultipleLines = b != FALSE; }
	void EnableAddRow(BOOL b = TRUE) { m_bAddRow = b != FALSE; }
	void EnableInsertRow(BOOL b = TRUE) { m_bInsertRow = b != FALSE; }
	void EnableDeleteRow(BOOL b = TRUE) { m_bDeleteRow = b != FALSE; }
	// Ordering by a column's header: offered by the grid, nothing the document sees.
	void EnableOrdering(BOOL, BOOL = FALSE, BOOL = FALSE) {}
	// Rows drawn in a colour: nothing to draw on this platform.
	void SetRowColor(BOOL, DWORD = 0) {}
	void RepaintBody() {}
	void ResetScrollRange() {}
	// A button of the grid's toolbar: its clicks are BN_CLICKED notifications of nID.
	void AddUserButton(UINT nID, LPCTSTR szText);
	const std::vector<std::pair<UINT, CString>>& GetUserButtons() const { return m_UserButtons; }

	// The current row, as the buffer holds it; set by the program, it notifies no one.
	void SetCurrRecord(int nRow);
	int GetCurrRecord() const;
	// Where the last click landed.
	int GetLastHitRow() const { return m_nHitRow; }
	int GetLastHitColumn() const { return m_nHitColumn; }

	CString GetCellText(int nRow, int nCol) const;
	BOOL CanAddRow() const;
	BOOL CanInsertRow() const;
	BOOL CanDeleteRow() const;

	// The user's actions. FALSE: refused (GetLastError says why).
	BOOL UserSelectRow(int nRow);
	BOOL UserDoubleClick(int nRow, int nCol = -1);
	BOOL UserSetCell(int nRow, const CString& strColumn, const CString& strText);
	BOOL UserClickCell(int nRow, const CString& strColumn);
	BOOL UserAddRow();
	BOOL UserInsertRow(int nRow);
	BOOL UserDeleteRow(int nRow);
	BOOL UserInput(const CString&) override { return Refuse("A grid takes values in its cells."); }

	BOOL IsChildEditable(const CParsedCtrl* pChild) const override;
	// The record column the cells show, empty for none.
	CString RecordColumn(const ColumnInfo& column) const;
	// "No column X.", with the closest of the grid's.
	CString NoColumn(const CString& strName) const;

private:
	friend class ColumnInfo;
	BOOL Editable() const;
	void BindRow(int nRow);
	BOOL RowsChanged(int nNewCurrent);

	DBTSlaveBuffered* m_pDBT = nullptr;
	std::vector<std::unique_ptr<ColumnInfo>> m_Columns;
	std::vector<std::pair<UINT, CString>> m_UserButtons;
	bool m_bMultipleLines = false;
	bool m_bAddRow = true;
	bool m_bInsertRow = true;
	bool m_bDeleteRow = true;
	int m_nHitRow = -1;
	int m_nHitColumn = -1;
};
