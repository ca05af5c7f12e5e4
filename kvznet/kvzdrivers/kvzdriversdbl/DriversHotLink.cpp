#include "kvznet/kvzdrivers/kvzdriversdbl/DriversHotLink.h"

#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "DriversHotLink";
}

DriversHotLink::DriversHotLink(CRuntimeClass* pRecordClass) : HotKeyLink(pRecordClass, CString(), nullptr)
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

BOOL DriversHotLink::Customize(const DataObjArray&)
{
	return TRUE;
}

void DriversHotLink::SetFixedFilter(LPCTSTR szParam, LPCTSTR szColumn, const DataObj& value)
{
	m_strFixedParam = szParam;
	m_strFixedColumn = szColumn;
	m_pFixedValue = &value;
}

void DriversHotLink::AssertRecordClass(bool bOk, const CString& condition) const
{
	if (!bOk && AfxGetApplicationContext()->AreReleaseAssertionsEnabled())
		AfxGetApplicationContext()->AssertAlwaysFailedLine(
			condition, AfxGetCurrentThreadId(), CString(GetRuntimeClass()->m_lpszClassName) + "::GetRecord", kSource,
			__LINE__);
}

DataObj* DriversHotLink::SearchedColumn(int nSelectionType) const
{
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
	case UPPER_BUTTON:
	case COMBO_ACCESS:
		return GetDataObj();
	case LOWER_BUTTON:
		return GetRecord()->GetDataObjFromColumnName(_T("Descrizione"));
	default:
		return nullptr;
	}
}

void DriversHotLink::OnDefineQuery(int nSelectionType)
{
	m_pTable->SelectAll();
	if (m_pFixedValue)
	{
		const DataObj& column = *GetRecord()->GetDataObjFromColumnName(m_strFixedColumn);
		m_pTable->AddParam(m_strFixedParam, column);
		m_pTable->AddFilterColumn(column, _T(""));
	}
	DataObj* pColumn = SearchedColumn(nSelectionType);
	if (!pColumn)
		return;
	m_pTable->AddSortColumn(*pColumn, FALSE);
	if (nSelectionType == DIRECT_ACCESS)
		m_pTable->AddFilterColumn(*pColumn, _T(""));
	else
		m_pTable->AddFilterLike(*pColumn);
	m_pTable->AddParam(_T("Param"), *pColumn);
}

void DriversHotLink::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	const bool bString = pValue && pValue->IsKindOf((DataStr::GetThisClass()));
	if (!bString && AfxGetApplicationContext()->AreReleaseAssertionsEnabled())
		AfxGetApplicationContext()->AssertAlwaysFailedLine(
			"pDataObj && pDataObj->IsKindOf((DataStr::GetThisClass()))", AfxGetCurrentThreadId(),
			CString(GetRuntimeClass()->m_lpszClassName) + "::OnPrepareQuery", kSource, __LINE__);
	if (m_pFixedValue)
		m_pTable->SetParamValue(m_strFixedParam, *m_pFixedValue);
	if (!pValue || !SearchedColumn(nSelectionType))
		return;
	if (nSelectionType == DIRECT_ACCESS)
		m_pTable->SetParamValue(_T("Param"), *pValue);
	else
		m_pTable->SetParamLike(_T("Param"), *pValue);
}
