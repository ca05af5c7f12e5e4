#include "platform/erp/erpbasedbl/TLedgers.h"

TLedgers::TLedgers(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Ledger.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TLedgers::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Ledger", f_Ledger);
	b.Col("Description", f_Description);
	b.Col("LedgerType", f_LedgerType);
	b.End();
}

TRLedgers::TRLedgers(CBaseDocument* pDocument) : KeyedReader(TLedgers::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Ledger", m_Ledger);
}

TableReader::FindResult TRLedgers::FindRecord(const DataStr& aLedger)
{
	m_Ledger = aLedger;
	return TableReader::FindRecord();
}

TLedgers* TRLedgers::GetRecord() const
{
	return TypedRecord<TLedgers>("m_pRecord->IsKindOf((TLedgers::GetThisClass()))", "TRLedgers::GetRecord", "TLedgers");
}
