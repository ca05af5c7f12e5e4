#include "platform/erp/erpledgerdbl/TCostCenters.h"

TCostCenters::TCostCenters(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_CostCenter.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TCostCenters::BindRecord()
{
	RecordBinder b(*this);
	b.Key("CostCenter", f_CostCenter);
	b.Col("Description", f_Description);
	b.End();
}

TRCostCenters::TRCostCenters(CBaseDocument* pDocument) : KeyedReader(TCostCenters::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "CostCenter", m_CostCenter);
}

TableReader::FindResult TRCostCenters::FindRecord(const DataStr& aCostCenter)
{
	m_CostCenter = aCostCenter;
	return TableReader::FindRecord();
}

TCostCenters* TRCostCenters::GetRecord() const
{
	return TypedRecord<TCostCenters>("m_pRecord->IsKindOf((TCostCenters::GetThisClass()))", "TRCostCenters::GetRecord",
									 "TCostCenters");
}

HKLCostCenters::HKLCostCenters() : ErpCodeHotKeyLink(TCostCenters::GetThisClass(), "CostCenter", "Description") {}

TCostCenters* HKLCostCenters::GetRecord() const
{
	return static_cast<TCostCenters*>(HotKeyLink::GetRecord());
}
