#include "platform/erp/erpbasedbl/TTAX.h"

TTAX::TTAX(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_TaxCode.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TTAX::BindRecord()
{
	RecordBinder b(*this);
	b.Key("TaxCode", f_TaxCode);
	b.Col("Description", f_Description);
	b.Col("Perc", f_Perc);
	b.End();
}

TRTAX::TRTAX(CBaseDocument* pDocument) : KeyedReader(TTAX::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "TaxCode", m_TaxCode);
}

TableReader::FindResult TRTAX::FindRecord(const DataStr& aTaxCode)
{
	m_TaxCode = aTaxCode;
	return TableReader::FindRecord();
}

TTAX* TRTAX::GetRecord() const
{
	return TypedRecord<TTAX>("m_pRecord->IsKindOf((TTAX::GetThisClass()))", "TRTAX::GetRecord", "TTAX");
}

HKLTAX::HKLTAX() : ErpCodeHotKeyLink(TTAX::GetThisClass(), "TaxCode", "Description") {}

TTAX* HKLTAX::GetRecord() const
{
	return static_cast<TTAX*>(HotKeyLink::GetRecord());
}
