#include "platform/plvges/FormViews.h"

#include "platform/plvges/CClientDoc.h"
#include "platform/plvnamesolver/ApplicationContext.h"

// ---- CTabManager -------------------------------------------------------------------------------

CTabManager::CTabManager() = default;
CTabManager::~CTabManager() = default;

CBaseTabDialog* CTabManager::AddDialog(CRuntimeClass* pDialogClass, UINT nIDD, const CString& strTitle)
{
	CObject* p = pDialogClass ? pDialogClass->CreateObject() : nullptr;
	auto* pDialog = DynamicDownCast<CBaseTabDialog>(p);
	if (!pDialog)
	{
		delete p;
		ASSERT_RELEASE_FAILED("pDialog", "CTabManager::AddDialog", "CTabManager");
		return nullptr;
	}
	m_Dialogs.emplace_back(pDialog);
	if (nIDD)
		pDialog->SetDialogID(nIDD);
	if (!strTitle.IsEmpty())
		pDialog->SetTitle(strTitle);
	if (m_pForm)
	{
		pDialog->SetDocument(m_pForm->GetDocument());
		pDialog->SetParentForm(m_pForm);
	}
	pDialog->BuildForm();
	// The first page opens with the form.
	if (m_nActive < 0)
	{
		m_nActive = 0;
		pDialog->OnPrepareAuxData();
	}
	return pDialog;
}

CBaseTabDialog* CTabManager::GetDialog(int i) const
{
	return i >= 0 && i < GetDialogCount() ? m_Dialogs[static_cast<size_t>(i)].get() : nullptr;
}

CBaseTabDialog* CTabManager::GetDialog(const CString& strName) const
{
	for (auto& p : m_Dialogs)
		if (p->GetName() == strName)
			return p.get();
	for (auto& p : m_Dialogs)
		if (p->GetTitle() == strName)
			return p.get();
	return nullptr;
}

BOOL CTabManager::SetActiveTab(int nTab)
{
	if (!GetDialog(nTab))
		return FALSE;
	if (nTab != m_nActive)
	{
		m_nActive = nTab;
		PrepareActiveTab();
	}
	return TRUE;
}

BOOL CTabManager::PrepareActiveTab()
{
	CBaseTabDialog* pDialog = GetActiveDialog();
	return !pDialog || pDialog->OnPrepareAuxData();
}

BOOL CTabManager::UserActivateTab(int nTab)
{
	m_strLastError.Empty();
	CBaseTabDialog* pDialog = GetDialog(nTab);
	if (!pDialog || !pDialog->IsTabEnabled() || !m_bEnabled || !m_bVisible)
		return Refuse("The tab cannot be activated.");
	if (nTab != m_nActive)
	{
		m_nActive = nTab;
		PrepareActiveTab();
		Notify(TCN_SELCHANGE);
	}
	return TRUE;
}

std::vector<CParsedForm*> CTabManager::GetChildForms() const
{
	std::vector<CParsedForm*> forms;
	for (auto& p : m_Dialogs)
		forms.push_back(p.get());
	return forms;
}

// ---- CAbstractFormView -------------------------------------------------------------------------

void CAbstractFormView::OnInitialUpdate()
{
	CBaseView::OnInitialUpdate();
	if (CAbstractFormDoc* pDoc = GetAbstractFormDoc())
		for (auto& pClient : *pDoc->GetClientDocs())
			pClient->Customize();
}

CTabManager* CAbstractFormView::AddTabManager(UINT nID, LPCTSTR szName)
{
	return static_cast<CTabManager*>(AddLink(nID, szName, RUNTIME_CLASS(CTabManager), nullptr));
}

CTabManager* CAbstractFormView::GetTabManager(const CString& strName) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (auto* pTabs = DynamicDownCast<CTabManager>(p); pTabs && pTabs->GetName() == strName)
			return pTabs;
	return nullptr;
}

CBodyEdit* CAbstractFormView::GetBodyEdit(const CString& strName) const
{
	for (CParsedCtrl* p : GetAllControls())
		if (auto* pBody = DynamicDownCast<CBodyEdit>(p); pBody && pBody->GetName() == strName)
			return pBody;
	return nullptr;
}
