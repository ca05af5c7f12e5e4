#include "platform/erp/erpbasedbl/TPaymentTerms.h"

TPaymentTerms::TPaymentTerms(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Code.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TPaymentTerms::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Code", f_Code);
	b.Col("Description", f_Description);
	b.Col("NoOfInstalments", f_NoOfInstalments);
	b.Col("DaysToFirstInstalment", f_DaysToFirstInstalment);
	b.Col("DaysBetweenInstalments", f_DaysBetweenInstalments);
	b.Col("EndOfMonth", f_EndOfMonth);
	b.Col("AmountsSplit", f_AmountsSplit);
	b.Col("TaxOnFirstInstalment", f_TaxOnFirstInstalment);
	b.End();
}

TRPaymentTerms::TRPaymentTerms(CBaseDocument* pDocument) : KeyedReader(TPaymentTerms::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Code", m_Code);
}

TableReader::FindResult TRPaymentTerms::FindRecord(const DataStr& aCode)
{
	m_Code = aCode;
	return TableReader::FindRecord();
}

TPaymentTerms* TRPaymentTerms::GetRecord() const
{
	return TypedRecord<TPaymentTerms>("m_pRecord->IsKindOf((TPaymentTerms::GetThisClass()))",
									  "TRPaymentTerms::GetRecord", "TPaymentTerms");
}

HKLPaymentTerms::HKLPaymentTerms() : ErpCodeHotKeyLink(TPaymentTerms::GetThisClass(), "Code", "Description") {}

TPaymentTerms* HKLPaymentTerms::GetRecord() const
{
	return static_cast<TPaymentTerms*>(HotKeyLink::GetRecord());
}
