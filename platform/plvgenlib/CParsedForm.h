#pragma once
// Headless forms: a form is the list of its controls in form order, each linked to what it
// shows. Views, tab dialogs and modal dialogs are forms; a form builds its links once, in
// its control-link hook:
//
//     void Kvz_CDeAziendeView::BuildDataControlLinks()
//     {
//         Kvz_TAziende* pRec = GetDoc()->GetRecord();
//         AddLink(IDC_AZIENDE_CODICE, _T("Codice azienda"), RUNTIME_CLASS(CStrEdit), &pRec->f_Azienda);
//         AddLink(IDC_AZIENDE_PASSWORD, _T("Password"), RUNTIME_CLASS(CPasswordEdit), &pRec->f_Password);
//     }
//
// Notifications of a control go to the handlers of its form, of the forms that contain it
// and, for views, of the document.
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvgeneric/Interaction.h"

class CBaseDocument;

class CParsedForm : public CCmdTarget
{
	DECLARE_DYNAMIC(CParsedForm, CCmdTarget)
public:
	CParsedForm();
	~CParsedForm() override;
	CParsedForm(const CParsedForm&) = delete;
	CParsedForm& operator=(const CParsedForm&) = delete;

	CBaseDocument* GetDocument() const { return m_pDocument; }
	void SetDocument(CBaseDocument* pDocument) { m_pDocument = pDocument; }
	CParsedForm* GetParentForm() const { return m_pParentForm; }
	void SetParentForm(CParsedForm* pParent) { m_pParentForm = pParent; }

	// The control-link hook: lists the form's controls in form order.
	virtual void BuildDataControlLinks() {}
	// Builds the links once.
	void BuildForm();
	BOOL IsBuilt() const { return m_bBuilt; }

	// Links a control of the given class to pBound (a data object; a record buffer for a
	// grid) under a form text or link name. Null when the class is not a control.
	CParsedCtrl* AddLink(UINT nID, LPCTSTR szName, CRuntimeClass* pCtrlClass, CObject* pBound,
						 HotKeyLinkObj* pHotKeyLink = nullptr);
	// A radio button: the buttons of one group exclude each other.
	CBoolButton* AddRadio(UINT nID, LPCTSTR szName, DataBool* pData, int nGroup);
	CExtButton* AddButton(UINT nID, LPCTSTR szText);
	// The labels a person reads for this form's controls linked under internal names, as
	// {name, label}; the names stay accepted.
	void SetLabels(std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> labels);
	// A fixed text of the form, found by its text.
	CStaticText* AddStaticText(UINT nID, LPCTSTR szText);

	// This form's own controls, in form order.
	const std::vector<std::unique_ptr<CParsedCtrl>>& GetControls() const { return m_Controls; }
	// Every control of the form and of the forms it holds (tabs), in form order.
	std::vector<CParsedCtrl*> GetAllControls() const;
	CParsedCtrl* GetLinkedParsedCtrl(UINT nID) const;
	CParsedCtrl* GetLinkedParsedCtrl(const DataObj* pData) const;
	CParsedCtrl* FindControl(const CString& strName) const;

	// Whether a control of this form may take input now.
	virtual BOOL IsCtrlEditable(const CParsedCtrl* pCtrl) const;
	// Whether data may change now: views ask their document's mode.
	virtual BOOL IsDataEditable(const DataObj* pData) const;
	virtual BOOL IsFormEnabled() const { return TRUE; }

	// A control's notification: this form's handlers, the containing forms', the document's.
	virtual void Notify(UINT nID, UINT nCode);
	// A control's value was changed by the user.
	virtual void OnCtrlChanged(CParsedCtrl* pCtrl);
	// Refreshes what the controls show (they read their data; nothing is cached).
	virtual void OnUpdate() {}

protected:
	// Views hand notifications on to their document.
	virtual BOOL RoutesToDocument() const { return FALSE; }

private:
	CBaseDocument* m_pDocument = nullptr;
	CParsedForm* m_pParentForm = nullptr;
	std::vector<std::unique_ptr<CParsedCtrl>> m_Controls;
	bool m_bBuilt = false;
};

// Names a person types for a control or a grid's column: as the form shows them, with or
// without the label's trailing ':', in any case.
CString PlainLabel(const CString& strName);
BOOL IsSameLabel(const CString& strTyped, const CString& strName);
// "No control X. Did you mean 'a' or 'b'?": the closest of the names, when any is close.
CString NoSuchName(const char* szWhat, const CString& strTyped, const std::vector<CString>& names);

// A modal dialog. DoModal initialises it, then the user (a scripted answer; unattended runs
// press OK) fills it and presses OK or Cancel; OnOK may keep the dialog open by not ending it.
class CParsedDialog : public CParsedForm
{
	DECLARE_DYNAMIC(CParsedDialog, CParsedForm)
public:
	explicit CParsedDialog(UINT nIDD = 0, CBaseDocument* pDocument = nullptr, const CString& strTitle = CString());

	virtual int DoModal();
	virtual BOOL OnInitDialog();
	virtual void OnOK() { EndDialog(IDOK); }
	virtual void OnCancel() { EndDialog(IDCANCEL); }
	void EndDialog(int nResult);
	void CenterWindow() {}

	UINT GetDialogID() const { return m_nIDD; }
	const CString& GetTitle() const { return m_strTitle; }
	void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }

private:
	UINT m_nIDD;
	CString m_strTitle;
	int m_nResult = 0;
	bool m_bEnded = false;
};

// Who answers modal dialogs: an answer fills the dialog (through its controls) and returns
// IDOK or IDCANCEL. Answers are used in order; with none left the user presses OK, or
// Cancel once OK was refused.
using DialogAnswer = std::function<int(CParsedDialog&)>;
void AfxPushDialogAnswer(DialogAnswer answer);
void AfxClearDialogAnswers();
// Titles of the dialogs shown so far (the oldest first), and forgetting them.
std::vector<CString> AfxGetShownDialogs();
void AfxClearShownDialogs();

// A page of a tab manager.
class CBaseTabDialog : public CParsedForm
{
	DECLARE_DYNAMIC(CBaseTabDialog, CParsedForm)
public:
	explicit CBaseTabDialog(const CString& strName = CString(), UINT nIDD = 0) : m_strName(strName), m_nIDD(nIDD) {}

	const CString& GetName() const { return m_strName; }
	UINT GetDialogID() const { return m_nIDD; }
	void SetDialogID(UINT nIDD) { m_nIDD = nIDD; }
	const CString& GetTitle() const { return m_strTitle; }
	void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }
	// The page's own data, when the page opens and each time its document prepares its data.
	virtual BOOL OnPrepareAuxData() { return TRUE; }
	void EnableTab(BOOL bEnable = TRUE) { m_bEnabled = bEnable != FALSE; }
	BOOL IsTabEnabled() const { return m_bEnabled; }
	BOOL IsFormEnabled() const override;

private:
	CString m_strName;
	UINT m_nIDD;
	CString m_strTitle;
	bool m_bEnabled = true;
};
