#pragma once
// Views and frames of form documents. A view lists its controls in form order in its
// control-link hook; grids are linked to their buffer, tab managers hold tab dialogs that
// list their own controls:
//
//     void Kvz_CDeAnagContiView::BuildDataControlLinks()
//     {
//         Kvz_CDeAnagContiDoc* pDoc = GetDoc();
//         Kvz_TAnagContiKvz* pRec = pDoc->GetRecord();
//         AddLink(IDC_CONTI_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
//         AddLink(IDC_CONTI_COLLEGATO, _T("ContoCollegato"), RUNTIME_CLASS(CStrEdit), &pRec->f_ContoCollegato,
//                 pDoc->m_pHKLConti);
//         AddLink(IDC_CONTI_DES_COLL, _T("LINK_DES_CONTO_COLL"), RUNTIME_CLASS(CStrStatic), &pDoc->m_DesContoColl);
//         AddLink(IDC_CONTI_GRID, _T("Centri/Commesse"), RUNTIME_CLASS(Kvz_CentriCommesseBodyEdit),
//                 pDoc->m_pDBTCentriCommesse);
//     }
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvges/CBodyEdit.h"

class CAbstractFormView;

// A page of a tab manager, with the controls its own link hook lists.
class CTabDialog : public CBaseTabDialog
{
	DECLARE_DYNAMIC(CTabDialog, CBaseTabDialog)
public:
	explicit CTabDialog(const CString& strName = CString(), UINT nIDD = 0) : CBaseTabDialog(strName, nIDD) {}
};

class CTabManager : public CParsedCtrl
{
	DECLARE_DYNCREATE(CTabManager, CParsedCtrl)
public:
	CTabManager();
	~CTabManager() override;

	BOOL Attach(CObject*) override { return TRUE; }
	// Adds a page of the given tab-dialog class and builds its form.
	CBaseTabDialog* AddDialog(CRuntimeClass* pDialogClass, UINT nIDD = 0, const CString& strTitle = CString());
	int GetDialogCount() const { return static_cast<int>(m_Dialogs.size()); }
	CBaseTabDialog* GetDialog(int i) const;
	// By name, else by title.
	CBaseTabDialog* GetDialog(const CString& strName) const;

	int GetActiveTab() const { return m_nActive; }
	CBaseTabDialog* GetActiveDialog() const { return GetDialog(m_nActive); }
	// Set by the program: no notification.
	BOOL SetActiveTab(int nTab);
	// The user's click on a tab: TCN_SELCHANGE when the active tab changed.
	BOOL UserActivateTab(int nTab);
	// The active page prepares its data (OnPrepareAuxData).
	BOOL PrepareActiveTab();

	std::vector<CParsedForm*> GetChildForms() const override;

private:
	std::vector<std::unique_ptr<CBaseTabDialog>> m_Dialogs;
	int m_nActive = -1;
};

class CAbstractFormView : public CBaseView
{
	DECLARE_DYNAMIC(CAbstractFormView, CBaseView)
public:
	explicit CAbstractFormView(const CString& strName = CString(), UINT nIDD = 0) : m_strName(strName), m_nIDD(nIDD) {}

	const CString& GetName() const { return m_strName; }
	UINT GetDialogID() const { return m_nIDD; }
	CAbstractFormDoc* GetAbstractFormDoc() const { return DynamicDownCast<CAbstractFormDoc>(GetDocument()); }

	// Builds the form, then lets the document's client documents add to it.
	void OnInitialUpdate() override;
	CTabManager* AddTabManager(UINT nID, LPCTSTR szName);
	CTabManager* GetTabManager(const CString& strName) const;
	CBodyEdit* GetBodyEdit(const CString& strName) const;

private:
	CString m_strName;
	UINT m_nIDD;
};

class CMasterFormView : public CAbstractFormView
{
	DECLARE_DYNAMIC(CMasterFormView, CAbstractFormView)
public:
	using CAbstractFormView::CAbstractFormView;
};

// The frame of master documents; a batch frame makes its document a batch document.
class CMasterFrame : public CBaseFrame
{
	DECLARE_DYNCREATE(CMasterFrame, CBaseFrame)
};

class CBatchFrame : public CBaseFrame
{
	DECLARE_DYNCREATE(CBatchFrame, CBaseFrame)
};

// The frame and view of documents run without a user ("Unattended").
class ADMFrame : public CBaseFrame
{
	DECLARE_DYNCREATE(ADMFrame, CBaseFrame)
};

class ADMView : public CAbstractFormView
{
	DECLARE_DYNCREATE(ADMView, CAbstractFormView)
};
