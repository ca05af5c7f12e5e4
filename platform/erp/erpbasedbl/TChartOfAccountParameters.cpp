#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"

TChartOfAccountParameters::TChartOfAccountParameters(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	BindRecord();
	if (bCallInit)
		Init();
}

void TChartOfAccountParameters::BindRecord()
{
	RecordBinder b(*this);
	b.Col("LedgerLength", f_LedgerLength);
	b.Col("NrOfSegments", f_NrOfSegments);
	for (int i = 0; i < MAX_SEGMENTS; ++i)
	{
		b.Col(CString::Formatted("Segment%dName", i + 1), f_SegmentName[i]);
		b.Col(CString::Formatted("Segment%dLength", i + 1), f_SegmentLength[i]);
	}
	b.End();
}

int TChartOfAccountParameters::GetSegmentLength(int nSegment) const
{
	return nSegment >= 1 && nSegment <= MAX_SEGMENTS ? f_SegmentLength[nSegment - 1].GetValue() : 0;
}

CString TChartOfAccountParameters::GetSegmentName(int nSegment) const
{
	return nSegment >= 1 && nSegment <= MAX_SEGMENTS ? f_SegmentName[nSegment - 1].GetString() : CString();
}

int TChartOfAccountParameters::GetLevelLength(int nLevel) const
{
	int length = f_LedgerLength;
	for (int k = 1; k < nLevel; ++k)
		length += GetSegmentLength(k);
	return length;
}

int TChartOfAccountParameters::GetLevelOf(int nCodeLength) const
{
	for (int n = 1; n <= MAX_SEGMENTS + 1; ++n)
		if (GetLevelLength(n) == nCodeLength)
			return n;
	return 0;
}

TRChartOfAccountParameters::TRChartOfAccountParameters(CBaseDocument* pDocument)
	: KeyedReader(TChartOfAccountParameters::GetThisClass(), pDocument)
{
}

TChartOfAccountParameters* TRChartOfAccountParameters::GetRecord() const
{
	return TypedRecord<TChartOfAccountParameters>("m_pRecord->IsKindOf((TChartOfAccountParameters::GetThisClass()))",
												  "TRChartOfAccountParameters::GetRecord", "TChartOfAccountParameters");
}

const TChartOfAccountParameters* ChartOfAccountsInfo::GetChartOfAccountParameters()
{
	m_Parameters.Init();
	if (AfxGetDefaultSqlConnection())
	{
		TRChartOfAccountParameters reader;
		if (reader.FindRecord() == TableReader::FOUND)
			m_Parameters = *reader.GetRecord();
	}
	return &m_Parameters;
}

ChartOfAccountsInfo* AfxGetChartOfAccountsInfo()
{
	static ChartOfAccountsInfo* info = new ChartOfAccountsInfo;
	return info;
}
