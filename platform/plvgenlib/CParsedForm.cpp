#include "platform/plvgenlib/CParsedForm.h"

#include <deque>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
// Dialogs are modal on the user-interface thread.
std::deque<DialogAnswer> g_DialogAnswers;
std::vector<CString> g_ShownDialogs;
}  // namespace

CParsedForm::CParsedForm() = default;
CParsedForm::~CParsedForm() = default;

void CParsedForm::BuildForm()
{
	if (m_bBuilt)
		return;
	m_bBuilt = true;
	BuildDataControlLinks();
}

CParsedCtrl* CParsedForm::AddLink(UINT nID, LPCTSTR szName, CRuntimeClass* pCtrlClass, CObject* pBound,
								  HotKeyLinkObj* pHotKeyLink)
{
	CObject* p = pCtrlClass ? pCtrlClass->CreateObject() : nullptr;
	CParsedCtrl* pCtrl = DynamicDownCast<CParsedCtrl>(p);
	if (!pCtrl)
	{
		delete p;
		ASSERT_RELEASE_FAILED("pCtrl", "CParsedForm::AddLink", "CParsedForm");
		return nullptr;
	}
	m_Controls.emplace_back(pCtrl);
	pCtrl->SetLink(this, nID, szName ? szName : "", pHotKeyLink);
	if (!pCtrl->Attach(pBound))
		ASSERT_RELEASE_FAILED("pCtrl->Attach(pBound)", "CParsedForm::AddLink", "CParsedForm");
	return pCtrl;
}

CBoolButton* CParsedForm::AddRadio(UINT nID, LPCTSTR szName, DataBool* pData, int nGroup)
{
	auto* pButton = static_cast<CBoolButton*>(AddLink(nID, szName, RUNTIME_CLASS(CBoolButton), pData));
	pButton->SetRadioGroup(nGroup);
	return pButton;
}

CExtButton* CParsedForm::AddButton(UINT nID, LPCTSTR szText)
{
	return static_cast<CExtButton*>(AddLink(nID, szText, RUNTIME_CLASS(CExtButton), nullptr));
}

std::vector<CParsedCtrl*> CParsedForm::GetAllControls() const
{
	std::vector<CParsedCtrl*> all;
	for (auto& p : m_Controls)
	{
		all.push_back(p.get());
		for (CParsedForm* pChild : p->GetChildForms())
			for (CParsedCtrl* q : pChild->GetAllControls())
				all.push_back(q);
	}
	return all;
}

CParsedCtrl* CParsedForm::GetLinkedParsedCtrl(UINT nID) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (p->GetCtrlID() == nID)
			return p;
	return nullptr;
}

CParsedCtrl* CParsedForm::GetLinkedParsedCtrl(const DataObj* pData) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (pData && p->GetCtrlData() == pData)
			return p;
	return nullptr;
}

CParsedCtrl* CParsedForm::FindControl(const CString& strName) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (p->GetName() == strName)
			return p;
	return nullptr;
}

BOOL CParsedForm::IsCtrlEditable(const CParsedCtrl* pCtrl) const
{
	if (!pCtrl || pCtrl->IsStatic() || !pCtrl->IsWindowEnabled() || !pCtrl->IsWindowVisible() || !IsFormEnabled())
		return FALSE;
	if (m_pParentForm && !m_pParentForm->IsFormEnabled())
		return FALSE;
	const CParsedForm* pRoot = this;
	while (pRoot->m_pParentForm)
		pRoot = pRoot->m_pParentForm;
	return pRoot->IsDataEditable(pCtrl->GetCtrlData());
}

BOOL CParsedForm::IsDataEditable(const DataObj* pData) const
{
	return !pData || !pData->IsReadOnly();
}

void CParsedForm::Notify(UINT nID, UINT nCode)
{
	// Every target that maps the notification hears it: the form, its containers, the
	// document and the document's client documents.
	OnCmdMsg(nID, nCode);
	if (m_pParentForm)
		m_pParentForm->Notify(nID, nCode);
	else if (RoutesToDocument() && m_pDocument)
		m_pDocument->OnCmdMsg(nID, nCode);
}

void CParsedForm::OnCtrlChanged(CParsedCtrl* pCtrl)
{
	if (m_pParentForm)
		m_pParentForm->OnCtrlChanged(pCtrl);
}

// ---- dialogs ---------------------------------------------------------------------------------

CParsedDialog::CParsedDialog(UINT nIDD, CBaseDocument* pDocument, const CString& strTitle)
	: m_nIDD(nIDD), m_strTitle(strTitle)
{
	SetDocument(pDocument);
}

BOOL CParsedDialog::OnInitDialog()
{
	BuildForm();
	return TRUE;
}

void CParsedDialog::EndDialog(int nResult)
{
	m_nResult = nResult;
	m_bEnded = true;
}

int CParsedDialog::DoModal()
{
	m_bEnded = false;
	m_nResult = 0;
	OnInitDialog();
	g_ShownDialogs.push_back(m_strTitle);
	bool refused = false;
	while (!m_bEnded)
	{
		int answer = refused ? IDCANCEL : IDOK;
		if (!g_DialogAnswers.empty())
		{
			DialogAnswer next = std::move(g_DialogAnswers.front());
			g_DialogAnswers.pop_front();
			answer = next(*this);
		}
		if (answer == IDOK)
		{
			OnOK();
			refused = !m_bEnded;
		}
		else
		{
			OnCancel();
			if (!m_bEnded)
				EndDialog(IDCANCEL);
		}
	}
	return m_nResult;
}

void AfxPushDialogAnswer(DialogAnswer answer)
{
	g_DialogAnswers.push_back(std::move(answer));
}

void AfxClearDialogAnswers()
{
	g_DialogAnswers.clear();
}

std::vector<CString> AfxGetShownDialogs()
{
	return g_ShownDialogs;
}

void AfxClearShownDialogs()
{
	g_ShownDialogs.clear();
}

BOOL CBaseTabDialog::IsFormEnabled() const
{
	return m_bEnabled;
}
