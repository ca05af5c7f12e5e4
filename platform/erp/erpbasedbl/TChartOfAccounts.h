#pragma once
// The host's chart of accounts: ledgers (codes of the ledger-code length), their accounts and
// sub-accounts, with the flags the ledger import and the cost accounting go by.
#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class TChartOfAccounts : public SqlRecord
{
	DECLARE_DYNCREATE(TChartOfAccounts, SqlRecord)
public:
	explicit TChartOfAccounts(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_ChartOfAccounts"); }
	void BindRecord() override;

	DataStr f_Account;
	DataStr f_Description;
	DataStr f_Ledger;               // the ledger the account belongs to (its first characters)
	DataBool f_CarriesBalances;     // postable: the ledger keeps balances of it
	DataBool f_ExcludedFromImport;  // left out when balances are taken elsewhere
	DataBool f_CostAccounting;      // analytic flag A: the account is kept in cost accounting
	DataBool f_CostAccDetail;       // analytic flag B: its postings are detailed by cost centre and job
};

class TRChartOfAccounts : public KeyedReader
{
	DECLARE_DYNAMIC(TRChartOfAccounts, TableReader)
public:
	explicit TRChartOfAccounts(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aAccount);
	TChartOfAccounts* GetRecord() const;

protected:
	DataStr m_Account;
};

class HKLChartOfAccounts : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLChartOfAccounts, ErpCodeHotKeyLink)
public:
	HKLChartOfAccounts();
	TChartOfAccounts* GetRecord() const;
};

// Accounts of the ledgers of some types only.
class HKLChartOfAccountsByLedgerType : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLChartOfAccountsByLedgerType, ErpCodeHotKeyLink)
public:
	enum LedgerTypeSelection
	{
		ALL_LEDGERS = 0,
		INCOME_STATEMENT = 1,  // costs and revenues
		BALANCE_SHEET = 2,     // assets, liabilities and memorandum accounts
	};

	HKLChartOfAccountsByLedgerType();
	void SetLedgerTypeSelection(int nSelection) { m_nSelection = nSelection; }
	int GetLedgerTypeSelection() const { return m_nSelection; }
	TChartOfAccounts* GetRecord() const;
	// An account of another kind of ledger is refused.
	BOOL IsValid() override;

protected:
	void OnDefineFilters(int nSelectionType) override;

private:
	int m_nSelection = ALL_LEDGERS;
};
