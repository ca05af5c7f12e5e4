#pragma once
// The form driver acts on a document as a user would: through the toolbar's commands, the
// controls of its form (found by their form text, link name or record column) and its grids,
// one user action at a time. It refuses what a user could not do: typing into a read-only
// control, acting on a document whose frame is disabled (a child document is open on it),
// adding rows to a grid that allows none. Questions and dialogs are answered through the
// interaction interface (a ScriptedInteraction in tests).
//
//     CDocumentSet docs;
//     FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(TOrdineDoc), RUNTIME_CLASS(CMasterFrame),
//                                      RUNTIME_CLASS(TOrdineView)));
//     form.New();
//     form.Type("Numero", "A1");
//     form.AddRow("Righe");
//     form.TypeCell("Righe", 0, "Articolo", "X");
//     form.Save();
#include <functional>

#include "platform/plvges/DocumentFactory.h"
#include "platform/plvges/FormViews.h"

class ScriptedInteraction;

class FormDriver
{
public:
	// Drives an open document through its first view.
	explicit FormDriver(CBaseDocument* pDocument);
	// Drives a form of its own (a modal dialog being answered).
	explicit FormDriver(CParsedForm& form);

	// Opens a document from its classes, as its template will.
	static CBaseDocument* Open(CDocumentSet& documents, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
							   CRuntimeClass* pViewClass, const CPLVNamespace& ns = CPLVNamespace(),
							   CBaseDocument* pCaller = nullptr);
	// Opens a document by namespace through the command manager ("Default" view).
	static CBaseDocument* Open(LPCTSTR szNamespace, CBaseDocument* pCaller = nullptr);

	CAbstractFormDoc* GetDocument() const;
	CParsedForm* GetForm() const { return m_pForm; }
	BOOL IsOpen() const;
	// Why the last action was refused.
	const CString& GetLastError() const { return m_strLastError; }

	// ---- acting: FALSE when refused or not available ---------------------------------------
	BOOL New();
	BOOL Edit();
	BOOL Find();
	// Saves (in find mode: runs the search).
	BOOL Save();
	BOOL Escape();
	BOOL Delete();
	BOOL First();
	BOOL Prev();
	BOOL Next();
	BOOL Last();
	BOOL RunBatch();
	// The framework's report command (the document's default report).
	BOOL Report();
	// The framework's browse list of the master table's records.
	BOOL Radar();
	// SaveModified, then the close.
	BOOL Close();
	// A command of the frame or a grid's user button.
	BOOL Command(UINT nID);
	// The same by its caption (a toolbar command, a grid's user button) or its number.
	BOOL Command(const CString& strCommand);
	// The commands of the frame's toolbar and of the grids' user buttons, with their captions.
	std::vector<std::pair<UINT, CString>> Commands() const;
	// What the update handlers say of a command: a disabled one is refused.
	BOOL IsCommandEnabled(UINT nID) const;
	// Clicks a button or a check box; chooses a radio button.
	BOOL Press(const CString& strControl);
	BOOL Type(const CString& strControl, const CString& strText);
	// Chooses the n-th row that a search of the control's lookup lists for a pattern
	// (HotKeyLink::UPPER_BUTTON: by code, LOWER_BUTTON: by description), as from its list.
	BOOL Pick(const CString& strControl, int nSelectionType, const CString& strPattern, int nPick = 0);
	BOOL ActivateTab(const CString& strTabManager, const CString& strTab);
	BOOL SelectRow(const CString& strGrid, int nRow);
	BOOL DoubleClick(const CString& strGrid, int nRow, const CString& strColumn = CString());
	BOOL TypeCell(const CString& strGrid, int nRow, const CString& strColumn, const CString& strText);
	BOOL PickCell(const CString& strGrid, int nRow, const CString& strColumn, int nSelectionType,
				  const CString& strPattern, int nPick = 0);
	BOOL AddRow(const CString& strGrid);
	// A list box's lines: chosen, double-clicked, clicked with the right button.
	BOOL SelectLine(const CString& strList, int nLine);
	BOOL DoubleClickLine(const CString& strList, int nLine);
	BOOL RightClickLine(const CString& strList, int nLine);
	// A double-click on a control (an edit: its OnLButtonDblClk), and the left button's release.
	BOOL DoubleClickControl(const CString& strControl);
	BOOL ButtonUp(const CString& strControl);
	BOOL InsertRow(const CString& strGrid, int nRow);
	BOOL DeleteRow(const CString& strGrid, int nRow);

	// The answer the next question gets (the interaction must be scripted).
	static BOOL Answer(int nAnswer);
	// How the next modal dialog is filled: through a driver on it; returns IDOK or IDCANCEL.
	static void AnswerDialog(std::function<int(FormDriver&)> fill);
	// The scripted interaction in force, null when there is none.
	static ScriptedInteraction* Script();

	// ---- reading -------------------------------------------------------------------------
	// By form text or link name, else by the column of the master's (or a one-to-one slave's) record.
	// Labels match without their ':' and in any case, columns in any case.
	CParsedCtrl* Control(const CString& strControl) const;
	// "No control X.", with the closest names of the form.
	CString NoControl(const CString& strControl) const;
	CString Text(const CString& strControl) const;
	CString Description(const CString& strControl) const;
	BOOL Exists(const CString& strControl) const { return Control(strControl) != nullptr; }
	BOOL IsEditable(const CString& strControl) const;
	BOOL IsVisible(const CString& strControl) const;
	BOOL IsEnabled(const CString& strControl) const;
	// The column of the master's (or a one-to-one slave's) record that the control shows; empty for none.
	CString ColumnOf(const CParsedCtrl* pCtrl) const;
	CBaseDocument::FormMode Mode() const;
	BOOL IsModified() const;

	CBodyEdit* Grid(const CString& strGrid) const;
	int RowCount(const CString& strGrid) const;
	int CurrentRow(const CString& strGrid) const;
	CString Cell(const CString& strGrid, int nRow, const CString& strColumn) const;
	BOOL IsCellEditable(const CString& strGrid, int nRow, const CString& strColumn) const;
	// The driver's own words for a refusal the document did not explain.
	static BOOL IsGenericRefusal(const CString& strWhy);

private:
	template <class Action>
	BOOL Act(Action action);
	BOOL Fail(const CString& strWhy);
	BOOL DocCommand(BOOL (CAbstractFormDoc::*pCommand)());
	CBodyEdit* GridOrFail(const CString& strGrid);
	BOOL ListAction(const CString& strList, const std::function<BOOL(CListBox&)>& action);
	BOOL PickInto(CParsedCtrl* pCtrl, int nSelectionType, const CString& strPattern, int nPick);
	// The records whose columns name controls: the master's and its one-to-one slaves'.
	std::vector<SqlRecord*> BoundRecords() const;

	CBaseDocument* m_pDocument = nullptr;
	CParsedForm* m_pForm = nullptr;
	CString m_strLastError;
};
