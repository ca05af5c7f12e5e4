#include "platform/erp/erpledgerdbl/TJobs.h"

TJobs::TJobs(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Job.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TJobs::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Job", f_Job);
	b.Col("Description", f_Description);
	b.Col("StartingDate", f_StartingDate);
	b.Col("EndingDate", f_EndingDate);
	b.End();
}

TRJobs::TRJobs(CBaseDocument* pDocument) : KeyedReader(TJobs::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Job", m_Job);
}

TableReader::FindResult TRJobs::FindRecord(const DataStr& aJob)
{
	m_Job = aJob;
	return TableReader::FindRecord();
}

TJobs* TRJobs::GetRecord() const
{
	return TypedRecord<TJobs>("m_pRecord->IsKindOf((TJobs::GetThisClass()))", "TRJobs::GetRecord", "TJobs");
}

HKLJobs::HKLJobs() : ErpCodeHotKeyLink(TJobs::GetThisClass(), "Job", "Description") {}

TJobs* HKLJobs::GetRecord() const
{
	return static_cast<TJobs*>(HotKeyLink::GetRecord());
}
