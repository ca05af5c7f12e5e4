#pragma once
// The host's ledgers: the type of each ledger of the chart of accounts.
#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class TLedgers : public SqlRecord
{
	DECLARE_DYNCREATE(TLedgers, SqlRecord)
public:
	explicit TLedgers(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_Ledgers"); }
	void BindRecord() override;

	// Balance-sheet ledgers: assets, liabilities and memorandum accounts.
	BOOL IsBalanceSheet() const { return f_LedgerType.GetItemValue() <= LEDGER_MEMORANDUM; }

	DataStr f_Ledger;
	DataStr f_Description;
	DataEnum f_LedgerType{E_LEDGERTYPE, 0};
};

class TRLedgers : public KeyedReader
{
	DECLARE_DYNAMIC(TRLedgers, TableReader)
public:
	explicit TRLedgers(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aLedger);
	TLedgers* GetRecord() const;

protected:
	DataStr m_Ledger;
};
