#include "platform/erp/erpbasedbl/CompanyInfo.h"

#include "platform/plvoledb/driver/Driver.h"

TCompanyFiscalYears::TCompanyFiscalYears(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	BindRecord();
	if (bCallInit)
		Init();
}

void TCompanyFiscalYears::BindRecord()
{
	RecordBinder b(*this);
	b.Key("FiscalYear", f_FiscalYear);
	b.Col("Description", f_Description);
	b.Col("StartDate", f_StartDate);
	b.Col("EndDate", f_EndDate);
	b.Col("Opened", f_Opened);
	b.End();
}

TCompanyData::TCompanyData(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	BindRecord();
	if (bCallInit)
		Init();
}

void TCompanyData::BindRecord()
{
	RecordBinder b(*this);
	b.Col("CompanyName", f_CompanyName);
	b.Col("TaxIdNumber", f_TaxIdNumber);
	b.Col("Address", f_Address);
	b.Col("City", f_City);
	b.End();
}

TRCompanyFiscalYears::TRCompanyFiscalYears(CBaseDocument* pDocument)
	: KeyedReader(TCompanyFiscalYears::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "FiscalYear", m_FiscalYear);
}

TableReader::FindResult TRCompanyFiscalYears::FindRecord(const DataInt& aFiscalYear)
{
	m_FiscalYear = aFiscalYear;
	return TableReader::FindRecord();
}

TCompanyFiscalYears* TRCompanyFiscalYears::GetRecord() const
{
	return TypedRecord<TCompanyFiscalYears>("m_pRecord->IsKindOf((TCompanyFiscalYears::GetThisClass()))",
											"TRCompanyFiscalYears::GetRecord", "CompanyInfo");
}

BOOL CompanyInfo::GetFiscalYear(const DataDate& aDate, TCompanyFiscalYears& aFiscalYear) const
{
	aFiscalYear.Init();
	if (aDate.IsEmpty() || !AfxGetDefaultSqlConnection())
		return FALSE;
	TCompanyFiscalYears rec;
	SqlTable table(&rec);
	table.Open(FALSE);
	table.SelectAll();
	table.AddParam("p1", rec.f_StartDate);
	table.AddFilterColumn(rec.f_StartDate, "<=");
	table.AddParam("p2", rec.f_EndDate);
	table.AddFilterColumn(rec.f_EndDate, ">=");
	table.AddSortColumn(rec.f_StartDate, TRUE);  // the latest start, should periods overlap
	table.SetParamValue("p1", aDate);
	table.SetParamValue("p2", aDate);
	table.Query();
	const BOOL found = !table.IsEmpty();
	if (found)
		aFiscalYear = rec;
	table.Close();
	return found;
}

DataDate CompanyInfo::GetOpeningDate(const DataInt& aFiscalYear) const
{
	if (!AfxGetDefaultSqlConnection())
		return DataDate();
	TRCompanyFiscalYears reader;
	if (reader.FindRecord(aFiscalYear) != TableReader::FOUND || !reader.GetRecord()->f_Opened)
		return DataDate();
	return reader.GetRecord()->f_StartDate;
}

CString CompanyInfo::GetCompanyName() const
{
	SqlConnection* connection = AfxGetDefaultSqlConnection();
	if (!connection || !connection->Db().TableExists(TCompanyData::GetStaticName()))
		return CString();
	TCompanyData rec;
	SqlTable table(&rec);
	table.Open(FALSE);
	table.SelectAll();
	table.Query();
	const CString name = table.IsEmpty() ? CString() : CString(rec.f_CompanyName.GetString()).Trim();
	table.Close();
	return name;
}

CompanyInfo* AfxGetCompanyInfo()
{
	static CompanyInfo* info = new CompanyInfo;
	return info;
}
