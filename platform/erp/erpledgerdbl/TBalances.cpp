#include "platform/erp/erpledgerdbl/TBalances.h"

TChartOfAccountsBalances::TChartOfAccountsBalances(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Account.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TChartOfAccountsBalances::BindRecord()
{
	RecordBinder b(*this);
	b.Key("FiscalYear", f_FiscalYear);
	b.Key("BalanceType", f_BalanceType);
	b.Key("Account", f_Account);
	b.Key("BalanceYear", f_BalanceYear);
	b.Key("BalanceMonth", f_BalanceMonth);
	b.Col("Debit", f_Debit);
	b.Col("Credit", f_Credit);
	b.End();
}

TCostCentersBalances::TCostCentersBalances(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_CostCenter.SetUpperCase();
	f_Account.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TCostCentersBalances::BindRecord()
{
	RecordBinder b(*this);
	b.Key("FiscalYear", f_FiscalYear);
	b.Key("BalanceType", f_BalanceType);
	b.Key("CostCenter", f_CostCenter);
	b.Key("Account", f_Account);
	b.Key("BalanceYear", f_BalanceYear);
	b.Key("BalanceMonth", f_BalanceMonth);
	b.Col("Debit", f_Debit);
	b.Col("Credit", f_Credit);
	b.End();
}
