#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"

TCostAccEntriesDetail::TCostAccEntriesDetail(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Account.SetUpperCase();
	f_CostCenter.SetUpperCase();
	f_Job.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TCostAccEntriesDetail::BindRecord()
{
	RecordBinder b(*this);
	b.Key("EntryId", f_EntryId);
	b.Key("Line", f_Line);
	b.Col("PostingDate", f_PostingDate);
	b.Col("FiscalYear", f_FiscalYear);
	b.Col("EntryType", f_EntryType);
	b.Col("Account", f_Account);
	b.Col("CostCenter", f_CostCenter);
	b.Col("Job", f_Job);
	b.Col("Amount", f_Amount);
	b.Col("DebitCreditSign", f_DebitCreditSign);
	b.Col("Notes", f_Notes);
	b.End();
	// An account's entries over a period, as the ledger import reads them.
	AddIndex({"Account", "PostingDate"});
}
