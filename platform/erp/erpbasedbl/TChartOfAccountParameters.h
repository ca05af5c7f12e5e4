#pragma once
// The structure of the host's account codes: a ledger code of a given length followed by up to
// seven segments, each with a name and a length (0: not used). One row.
#include "platform/plvges/KeyedQuery.h"

class TChartOfAccountParameters : public SqlRecord
{
	DECLARE_DYNCREATE(TChartOfAccountParameters, SqlRecord)
public:
	enum
	{
		MAX_SEGMENTS = 7
	};

	explicit TChartOfAccountParameters(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_ChartOfAccountParameters"); }
	void BindRecord() override;

	// Segments 1 to MAX_SEGMENTS; 0 and empty outside them.
	int GetSegmentLength(int nSegment) const;
	CString GetSegmentName(int nSegment) const;
	// The length of a code of level n (1 the ledger .. MAX_SEGMENTS + 1): the ledger code's
	// length and those of segments 1 to n - 1; and the first level of a code's length, 0 for none.
	int GetLevelLength(int nLevel) const;
	int GetLevelOf(int nCodeLength) const;

	DataInt f_LedgerLength;
	DataInt f_NrOfSegments;
	DataStr f_SegmentName[MAX_SEGMENTS];
	DataInt f_SegmentLength[MAX_SEGMENTS];
};

// The row, whatever its key.
class TRChartOfAccountParameters : public KeyedReader
{
	DECLARE_DYNAMIC(TRChartOfAccountParameters, TableReader)
public:
	explicit TRChartOfAccountParameters(CBaseDocument* pDocument = nullptr);
	TChartOfAccountParameters* GetRecord() const;
};

// What the host knows of its chart of accounts, read from the current company.
class ChartOfAccountsInfo : public CObject
{
	DECLARE_DYNAMIC(ChartOfAccountsInfo, CObject)
public:
	// The parameters as they are now (all empty without a row), read anew at each call; the
	// record stays valid until the next call.
	const TChartOfAccountParameters* GetChartOfAccountParameters();

private:
	TChartOfAccountParameters m_Parameters;
};

ChartOfAccountsInfo* AfxGetChartOfAccountsInfo();
