#pragma once
// The host's monthly balances: debits and credits of each account (and of each cost centre's
// account) per calendar month of a fiscal year, for the ledger and the forecast ledger.
#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/plvoledb/SqlRecord.h"

class TChartOfAccountsBalances : public SqlRecord
{
	DECLARE_DYNCREATE(TChartOfAccountsBalances, SqlRecord)
public:
	explicit TChartOfAccountsBalances(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_ChartOfAccountsBalances"); }
	void BindRecord() override;

	DataInt f_FiscalYear;
	DataEnum f_BalanceType{E_BALANCETYPE, 0};
	DataStr f_Account;
	DataInt f_BalanceYear;
	DataInt f_BalanceMonth;
	DataMon f_Debit;
	DataMon f_Credit;
};

class TCostCentersBalances : public SqlRecord
{
	DECLARE_DYNCREATE(TCostCentersBalances, SqlRecord)
public:
	explicit TCostCentersBalances(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_CostCentersBalances"); }
	void BindRecord() override;

	DataInt f_FiscalYear;
	DataEnum f_BalanceType{E_BALANCETYPE, 0};
	DataStr f_CostCenter;
	DataStr f_Account;
	DataInt f_BalanceYear;
	DataInt f_BalanceMonth;
	DataMon f_Debit;
	DataMon f_Credit;
};
