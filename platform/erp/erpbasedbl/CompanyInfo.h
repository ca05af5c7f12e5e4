#pragma once
// The company's fiscal years and what the host tells of them.
#include "platform/plvges/KeyedQuery.h"

// A fiscal year: its number, its period and whether it was opened for postings.
class TCompanyFiscalYears : public SqlRecord
{
	DECLARE_DYNCREATE(TCompanyFiscalYears, SqlRecord)
public:
	explicit TCompanyFiscalYears(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_FiscalYears"); }
	void BindRecord() override;

	DataInt f_FiscalYear;
	DataStr f_Description;
	DataDate f_StartDate;
	DataDate f_EndDate;
	DataBool f_Opened;
};

class TRCompanyFiscalYears : public KeyedReader
{
	DECLARE_DYNAMIC(TRCompanyFiscalYears, TableReader)
public:
	explicit TRCompanyFiscalYears(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aFiscalYear);
	TCompanyFiscalYears* GetRecord() const;

protected:
	DataInt m_FiscalYear;
};

// The company's own data, one row: the name reports print in their headings.
class TCompanyData : public SqlRecord
{
	DECLARE_DYNCREATE(TCompanyData, SqlRecord)
public:
	explicit TCompanyData(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_CompanyData"); }
	void BindRecord() override;

	DataStr f_CompanyName;
	DataStr f_TaxIdNumber;
	DataStr f_Address;
	DataStr f_City;
};

// Read from the current company at each call.
class CompanyInfo : public CObject
{
	DECLARE_DYNAMIC(CompanyInfo, CObject)
public:
	// The fiscal year whose period holds the date: TRUE with its row, FALSE (the row empty)
	// when none does.
	BOOL GetFiscalYear(const DataDate& aDate, TCompanyFiscalYears& aFiscalYear) const;
	// The day a fiscal year opened: its first day once it is opened, empty before and for a
	// year the company does not have.
	DataDate GetOpeningDate(const DataInt& aFiscalYear) const;
	// The company's name from its data; empty when it has none (or no such table yet).
	CString GetCompanyName() const;
};

CompanyInfo* AfxGetCompanyInfo();
