#pragma once
// Parsed controls: the controls of a headless form. Each edits or shows one data object,
// possibly through a lookup; whether a user may change it follows the form's mode and the
// data object's state (read-only, findable) as the document's hooks set it, and the
// control's own window state (enabled, visible). A value typed by the user is parsed,
// checked by the lookup and assigned; then the value-changed notification goes to the
// handlers of the form and of the document.
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
	const CString& GetLastError() const { return m_strLastError; }

	// Controls that hold controls or forms of their own (grids, tab managers).
	virtual std::vector<CParsedForm*> GetChildForms() const { return {}; }
	virtual BOOL IsChildEditable(const CParsedCtrl*) const { return FALSE; }
	CParsedCtrl* GetParentCtrl() const { return m_pParentCtrl; }
	void SetParentCtrl(CParsedCtrl* pParent) { m_pParentCtrl = pParent; }

protected:
	// Sends a notification of this control to the form's and the document's handlers.
	void Notify(UINT nCode);
	// Assigns an accepted value: marks the data and the document modified and notifies.
	BOOL ChangeValue(const DataObj& newValue);
	BOOL Refuse(const CString& why);

	CParsedForm* m_pForm = nullptr;
	CParsedCtrl* m_pParentCtrl = nullptr;
	UINT m_nID = 0;
	CString m_strName;
	DataObj* m_pData = nullptr;
	HotKeyLinkObj* m_pHotKeyLink = nullptr;
	bool m_bEnabled = true;
	bool m_bVisible = true;
	CString m_strLastError;
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
// Typed as "tag:item", as the item number, or as the whole value.
class CEnumCombo : public CParsedCtrl
{
	DECLARE_DYNCREATE(CEnumCombo, CParsedCtrl)
public:
	BOOL ParseText(const CString& strText, DataObj& value) const override;
	virtual BOOL IsValidItemListBox(const DataObj&) const { return TRUE; }
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

// A push button: clicks become BN_CLICKED notifications.
class CExtButton : public CParsedCtrl
{
	DECLARE_DYNCREATE(CExtButton, CParsedCtrl)
public:
	BOOL Attach(CObject* pBound) override;
	BOOL IsButton() const override { return TRUE; }
	CString GetCtrlText() const override { return m_strName; }
	BOOL IsEditable() const override;
	BOOL UserInput(const CString&) override { return Refuse("A button takes no value."); }
	BOOL UserClick() override;
};

// Statics: display only.
class CParsedStatic : public CParsedCtrl
{
	DECLARE_DYNCREATE(CParsedStatic, CParsedCtrl)
public:
	BOOL IsStatic() const override { return TRUE; }
};
PLV_DECLARE_CTRL(CStrStatic, CParsedStatic)
PLV_DECLARE_CTRL(CIntStatic, CParsedStatic)
PLV_DECLARE_CTRL(CLongStatic, CParsedStatic)
PLV_DECLARE_CTRL(CDoubleStatic, CParsedStatic)
PLV_DECLARE_CTRL(CMoneyStatic, CParsedStatic)
PLV_DECLARE_CTRL(CPercStatic, CParsedStatic)
PLV_DECLARE_CTRL(CQuantityStatic, CParsedStatic)
PLV_DECLARE_CTRL(CDateStatic, CParsedStatic)
PLV_DECLARE_CTRL(CEnumStatic, CParsedStatic)
PLV_DECLARE_CTRL(CBoolStatic, CParsedStatic)
// Shows the bitmap whose resource identifier the integer holds.
PLV_DECLARE_CTRL(CIntBitmap, CParsedStatic)
