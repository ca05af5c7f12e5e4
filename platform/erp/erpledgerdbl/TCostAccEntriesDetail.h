#pragma once
// The lines of the host's cost-accounting entries: an amount of an account, on a date, charged
// to a cost centre and/or a job, on the debit or the credit side.
#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/plvoledb/SqlRecord.h"

class TCostAccEntriesDetail : public SqlRecord
{
	DECLARE_DYNCREATE(TCostAccEntriesDetail, SqlRecord)
public:
	explicit TCostAccEntriesDetail(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_CostAccEntriesDetail"); }
	void BindRecord() override;

	DataLng f_EntryId;
	DataInt f_Line;
	DataDate f_PostingDate;
	DataInt f_FiscalYear;
	DataEnum f_EntryType{E_COSTACCENTRYTYPE, 0};
	DataStr f_Account;
	DataStr f_CostCenter;
	DataStr f_Job;
	DataMon f_Amount;
	DataEnum f_DebitCreditSign{E_DEBITCREDIT, 0};
	DataStr f_Notes;
};
