#pragma once
// The host's jobs, each with the period it runs over.
#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class TJobs : public SqlRecord
{
	DECLARE_DYNCREATE(TJobs, SqlRecord)
public:
	explicit TJobs(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_Jobs"); }
	void BindRecord() override;

	DataStr f_Job;
	DataStr f_Description;
	DataDate f_StartingDate;
	DataDate f_EndingDate;
};

class TRJobs : public KeyedReader
{
	DECLARE_DYNAMIC(TRJobs, TableReader)
public:
	explicit TRJobs(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aJob);
	TJobs* GetRecord() const;

protected:
	DataStr m_Job;
};

class HKLJobs : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLJobs, ErpCodeHotKeyLink)
public:
	HKLJobs();
	TJobs* GetRecord() const;
};
