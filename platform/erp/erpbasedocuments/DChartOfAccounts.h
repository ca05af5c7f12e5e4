#pragma once
// The host's chart-of-accounts documents: the master form of an account, and the same form
// opened to add an account on the fly (from a lookup). Both take the client documents other
// libraries attach to "DChartOfAccounts" and "DChartOfAccountsAddOnFly", whose handlers may
// name the host's controls below.
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_COA_ACCOUNT = 7704,
	IDC_COA_DESCRIPTION = 7705,
	IDC_COA_CARRIES_BALANCES = 7706,
	IDC_COA_COSTACCOUNTING = 7707,  // analytic flag A
	IDC_COA_EXCLUDED = 7708,
	IDC_COA_LEDGER = 7709,
	IDC_COA_LEDGER_DESCRIPTION = 7710,
	IDC_COA_COSTACCDETAIL = 7720,  // analytic flag B
	IDC_COA_TABS = 7730,
};

class DBTChartOfAccounts : public DBTMaster
{
	DECLARE_DYNAMIC(DBTChartOfAccounts, DBTMaster)
public:
	explicit DBTChartOfAccounts(CAbstractFormDoc* pDocument);
	TChartOfAccounts* GetChartOfAccounts() const { return static_cast<TChartOfAccounts*>(GetRecord()); }

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey() override;
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnDisableControlsForAddNew() override;
};

class DChartOfAccounts : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(DChartOfAccounts, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	TChartOfAccounts* GetChartOfAccounts() const;

	DataStr m_LedgerDescription;

protected:
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	// An account is saved only where the structure of the codes puts it: a code of a level's
	// length, under an existing ledger and an existing account of the level above.
	BOOL OnOkTransaction() override;

	// The ledger is the code's first characters; only codes of the last level carry balances.
	void OnAccountChanged();
	void OnLedgerChanged();
	void ReadLedger();
};

// Opened to add one account: it starts on a new record.
class DChartOfAccountsAddOnFly : public DChartOfAccounts
{
	DECLARE_DYNCREATE(DChartOfAccountsAddOnFly, DChartOfAccounts)
public:
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
};

// The account's flags, the first page of the form's tabs.
class CChartOfAccountsFlagsTab : public CTabDialog
{
	DECLARE_DYNCREATE(CChartOfAccountsFlagsTab, CTabDialog)
public:
	CChartOfAccountsFlagsTab() : CTabDialog("ChartOfAccountsFlags") {}
	void BuildDataControlLinks() override;
};

// The form; client documents add their pages to its tab manager "CCoATabManager".
class CChartOfAccountsView : public CMasterFormView
{
	DECLARE_DYNCREATE(CChartOfAccountsView, CMasterFormView)
public:
	CChartOfAccountsView() : CMasterFormView("ChartOfAccountsView") {}
	void BuildDataControlLinks() override;

protected:
	virtual LPCTSTR TabManagerName() const { return _T("CCoATabManager"); }
};

// The same form with the tab manager "CCoAAddOnFlyTabManager".
class CChartOfAccountsAddOnFlyView : public CChartOfAccountsView
{
	DECLARE_DYNCREATE(CChartOfAccountsAddOnFlyView, CChartOfAccountsView)

protected:
	LPCTSTR TabManagerName() const override { return _T("CCoAAddOnFlyTabManager"); }
};
