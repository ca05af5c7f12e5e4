#pragma once
// Parsed controls: the controls of a headless form. Each edits or shows one data object,
// possibly through a lookup; whether a user may change it follows the form's mode and the
// data object's state (read-only, findable) as the document's hooks set it, and the
// control's own window state (enabled, visible). A value typed by the user is parsed,
// checked by the lookup and assigned; then the value-changed notification goes to the
// handlers of the form and of the document.
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/plvgenlib/CCmdTarget.h"
#include "platform/plvgenlib/HotKeyLinkObj.h"

class CParsedForm;

class CParsedCtrl : public CObject
{
	DECLARE_DYNAMIC(CParsedCtrl, CObject)
public:
	CParsedCtrl() = default;
	~CParsedCtrl() override = default;
	CParsedCtrl(const CParsedCtrl&) = delete;
	CParsedCtrl& operator=(const CParsedCtrl&) = delete;

	// Called by the form that links the control; pBound is what the link names (the data
	// object for data controls). FALSE: the control cannot show it.
	void SetLink(CParsedForm* pForm, UINT nID, const CString& strName, HotKeyLinkObj* pHotKeyLink);
	virtual BOOL Attach(CObject* pBound);

	UINT GetCtrlID() const { return m_nID; }
	// The form text or link name the form gave the control.
	const CString& GetName() const { return m_strName; }
	// What a person reads beside the control: the label given to one linked under an internal
	// name, else its name. Either finds the control.
	const CString& GetLabel() const { return m_strLabel.IsEmpty() ? m_strName : m_strLabel; }
	void SetLabel(const CString& strLabel) { m_strLabel = strLabel; }
	CParsedForm* GetForm() const { return m_pForm; }
	DataObj* GetCtrlData() const { return m_pData; }
	// Binds the control to another data object (a grid column follows its current row).
	void SetCtrlData(DataObj* pData) { m_pData = pData; }

	HotKeyLinkObj* GetHotKeyLink() const { return m_pHotKeyLink; }
	// Replaces the control's lookup; null leaves the control without one.
	void ReattachHotKeyLink(HotKeyLinkObj* pHotKeyLink, BOOL bReserved = TRUE);

	// Window state, independent of the data's state.
	void EnableWindow(BOOL bEnable = TRUE) { m_bEnabled = bEnable != FALSE; }
	BOOL IsWindowEnabled() const { return m_bEnabled; }
	void ShowWindow(BOOL bShow = TRUE) { m_bVisible = bShow != FALSE; }
	BOOL IsWindowVisible() const { return m_bVisible; }

	// Display-only controls never take input; buttons take clicks, not values.
	virtual BOOL IsStatic() const { return FALSE; }
	virtual BOOL IsButton() const { return FALSE; }

	// The value as the control shows it.
	virtual CString GetCtrlText() const;
	// Converts typed text into a value of the control's data; FALSE when the text is none.
	virtual BOOL ParseText(const CString& strText, DataObj& value) const;
	// Whether the user may change the value now.
	virtual BOOL IsEditable() const;
	// The lookup's description of the value, shown beside the control.
	CString GetDescription() const;

	// What the framework does with the user's input. TRUE: accepted (the notification went
	// out when the value changed); FALSE: refused, GetLastError says why.
	virtual BOOL UserInput(const CString& strText);
	virtual BOOL UserClick();
	// A double-click on the control (a grid's cell control gets it with its row current) and
	// the left button's release: the control's handlers run, then the form's EN_DBLCLK and
	// EN_LBUTTONUP notifications.
	virtual BOOL UserDoubleClick();
	virtual BOOL UserButtonUp();
	const CString& GetLastError() const { return m_strLastError; }

	// The text selection of an edit, in characters: nStart to nEnd (exclusive).
	void GetSel(int& nStart, int& nEnd) const;
	// Selects characters nStart to nEnd; -1 as nEnd: to the end of the text.
	void SetSel(int nStart, int nEnd);
	// Puts a text in place of the selection, as typed by the user (parsed, checked, notified);
	// with bCanUndo, Undo puts the value back. The caret ends after the text put.
	BOOL ReplaceSel(LPCTSTR szNewText, BOOL bCanUndo = FALSE);
	BOOL CanUndo() const { return m_pUndo != nullptr; }
	BOOL Undo();

	// Controls that hold controls or forms of their own (grids, tab managers).
	virtual std::vector<CParsedForm*> GetChildForms() const { return {}; }
	virtual BOOL IsChildEditable(const CParsedCtrl*) const { return FALSE; }
	CParsedCtrl* GetParentCtrl() const { return m_pParentCtrl; }
	void SetParentCtrl(CParsedCtrl* pParent) { m_pParentCtrl = pParent; }

protected:
	// The window messages of a double-click and of the left button's release; by default
	// nothing beyond the notification that follows.
	virtual void OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {}
	virtual void OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {}
	// Sends a notification of this control to the form's and the document's handlers.
	void Notify(UINT nCode);
	// Assigns an accepted value: marks the data and the document modified and notifies.
	BOOL ChangeValue(const DataObj& newValue);
	BOOL Refuse(const CString& why);

	CParsedForm* m_pForm = nullptr;
	CParsedCtrl* m_pParentCtrl = nullptr;
	UINT m_nID = 0;
	CString m_strName;
	CString m_strLabel;
	DataObj* m_pData = nullptr;
	HotKeyLinkObj* m_pHotKeyLink = nullptr;
	bool m_bEnabled = true;
	bool m_bVisible = true;
	CString m_strLastError;
	int m_nSelStart = 0;
	int m_nSelEnd = 0;
	std::unique_ptr<DataObj> m_pUndo;
};

// The value the control held before the change being notified (null outside a notification).
const DataObj* AfxGetOldCtrlData();

#define PLV_DECLARE_CTRL(cls, base)       \
	class cls : public base               \
	{                                     \
		DECLARE_DYNCREATE(cls, base)      \
	};

// Edits.
PLV_DECLARE_CTRL(CStrEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CIntEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CLongEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CDoubleEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CMoneyEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CPercEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CQuantityEdit, CParsedCtrl)
PLV_DECLARE_CTRL(CDateEdit, CParsedCtrl)

// Shows what is typed as asterisks.
class CPasswordEdit : public CStrEdit
{
	DECLARE_DYNCREATE(CPasswordEdit, CStrEdit)
public:
	CString GetCtrlText() const override;
};

// A choice among the items of an enumeration; derived combos restrict the items offered.
// Typed as an item's text, as "tag:item", as the item number, or as the whole value.
class CEnumCombo : public CParsedCtrl
{
	DECLARE_DYNCREATE(CEnumCombo, CParsedCtrl)
public:
	BOOL ParseText(const CString& strText, DataObj& value) const override;
	virtual BOOL IsValidItemListBox(const DataObj&) const { return TRUE; }
	// The items the combo offers: those of the data's tag with a text that the combo accepts.
	std::vector<std::pair<DWORD, CString>> GetItems() const;
};

// A check box, or a radio button of a group: choosing one button of a group clears the others.
class CBoolButton : public CParsedCtrl
{
	DECLARE_DYNCREATE(CBoolButton, CParsedCtrl)
public:
	void SetRadioGroup(int nGroup) { m_nRadioGroup = nGroup; }
	int GetRadioGroup() const { return m_nRadioGroup; }
	BOOL IsRadio() const { return m_nRadioGroup != 0; }
	BOOL UserInput(const CString& strText) override;
	BOOL UserClick() override;

private:
	int m_nRadioGroup = 0;
};

// A push button: clicks become BN_CLICKED notifications. Linked to a DataBool, it is enabled
// while that holds TRUE.
class CExtButton : public CParsedCtrl
{
	DECLARE_DYNCREATE(CExtButton, CParsedCtrl)
public:
	BOOL Attach(CObject* pBound) override;
	BOOL IsButton() const override { return TRUE; }
	CString GetCtrlText() const override { return GetLabel(); }
	BOOL IsEditable() const override;
	BOOL UserInput(const CString&) override { return Refuse("A button takes no value."); }
	BOOL UserClick() override;
};

// A list of lines, sorted or in the order added, each with a number of the program's; the
// user chooses a line (LBN_SELCHANGE), double-clicks one (OnLButtonDblClk, then LBN_DBLCLK)
// or clicks with the right button (OnRButtonDown, then LBN_RBUTTONDOWN). Bound to nothing.
class CListBox : public CParsedCtrl
{
	DECLARE_DYNCREATE(CListBox, CParsedCtrl)
public:
	static constexpr int LB_ERR = -1;

	BOOL Attach(CObject*) override { return TRUE; }
	void SetSorted(BOOL bSorted = TRUE) { m_bSorted = bSorted != FALSE; }
	BOOL IsSorted() const { return m_bSorted; }

	// Adds a line (in its place by text when sorted); its index.
	int AddString(LPCTSTR szText);
	int InsertString(int nIndex, LPCTSTR szText);
	// The lines left, LB_ERR for no such line.
	int DeleteString(UINT nIndex);
	void ResetContent();
	int GetCount() const { return static_cast<int>(m_Lines.size()); }
	int GetText(int nIndex, CString& strText) const;
	CString GetText(int nIndex) const;
	int FindStringExact(int nStartAfter, LPCTSTR szText) const;
	DWORD_PTR GetItemData(int nIndex) const;
	int SetItemData(int nIndex, DWORD_PTR data);
	// The selected line, LB_ERR for none; set by the program, it notifies no one.
	int GetCurSel() const { return m_nCurSel; }
	int SetCurSel(int nSelect);

	// The selected line's text.
	CString GetCtrlText() const override;
	BOOL IsEditable() const override;
	// Typing a line's text chooses it.
	BOOL UserInput(const CString& strText) override;
	BOOL UserSelect(int nIndex);
	BOOL UserDoubleClickLine(int nIndex);
	BOOL UserRightClick(int nIndex);

protected:
	virtual void OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}

private:
	struct Line
	{
		CString text;
		DWORD_PTR data = 0;
	};
	std::vector<Line> m_Lines;
	int m_nCurSel = LB_ERR;
	bool m_bSorted = false;
};

// Statics: display only.
class CParsedStatic : public CParsedCtrl
{
	DECLARE_DYNCREATE(CParsedStatic, CParsedCtrl)
public:
	BOOL IsStatic() const override { return TRUE; }
};
PLV_DECLARE_CTRL(CStrStatic, CParsedStatic)
// A fixed text of the form (a heading, a caption, a note): it shows its name and holds no data.
class CStaticText : public CParsedStatic
{
	DECLARE_DYNCREATE(CStaticText, CParsedStatic)
public:
	BOOL Attach(CObject*) override { return TRUE; }
	CString GetCtrlText() const override { return m_strName; }
};
PLV_DECLARE_CTRL(CIntStatic, CParsedStatic)
PLV_DECLARE_CTRL(CLongStatic, CParsedStatic)
PLV_DECLARE_CTRL(CDoubleStatic, CParsedStatic)
PLV_DECLARE_CTRL(CMoneyStatic, CParsedStatic)
PLV_DECLARE_CTRL(CPercStatic, CParsedStatic)
PLV_DECLARE_CTRL(CQuantityStatic, CParsedStatic)
PLV_DECLARE_CTRL(CDateStatic, CParsedStatic)
PLV_DECLARE_CTRL(CEnumStatic, CParsedStatic)
PLV_DECLARE_CTRL(CBoolStatic, CParsedStatic)
// Shows the bitmap whose resource identifier the integer holds. Without a screen to draw it on,
// it shows the word given for that bitmap (none: the number; 0 shows nothing).
class CIntBitmap : public CParsedStatic
{
	DECLARE_DYNCREATE(CIntBitmap, CParsedStatic)
public:
	void SetBitmapTexts(std::initializer_list<std::pair<int, LPCTSTR>> texts)
	{
		for (auto& [nID, szText] : texts)
			m_Texts.emplace_back(nID, szText);
	}
	CString GetCtrlText() const override
	{
		const CString number = CParsedStatic::GetCtrlText();
		for (auto& [nID, text] : m_Texts)
			if (number == CString::Formatted("%d", nID))
				return text;
		return number == "0" ? CString() : number;
	}

private:
	std::vector<std::pair<int, CString>> m_Texts;
};
