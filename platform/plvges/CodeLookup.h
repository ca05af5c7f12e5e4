#pragma once
// The query most hotlinks run on a code and its description: the exact code, or the codes or
// descriptions starting with a pattern, sorted on the column searched; any other selection
// type adds no filter. Each hotlink names its parameter and adds its own filters around these
// calls, so the order of its filters and parameters is its own.
#include "platform/plvges/HotKeyLink.h"

// UPPER_BUTTON and LOWER_BUTTON: the searches on a pattern.
inline bool IsPatternLookup(int nSelectionType)
{
	return nSelectionType == HotKeyLink::UPPER_BUTTON || nSelectionType == HotKeyLink::LOWER_BUTTON;
}

// From OnDefineQuery: the filter on the code, or on the column a pattern search reads.
inline void DefineCodeLookup(SqlTable& table, int nSelectionType, LPCTSTR szParam, DataObj& code,
							 DataObj& description)
{
	if (nSelectionType == HotKeyLink::DIRECT_ACCESS)
	{
		table.AddParam(szParam, code);
		table.AddFilterColumn(code);
	}
	else if (IsPatternLookup(nSelectionType))
	{
		DataObj& column = nSelectionType == HotKeyLink::UPPER_BUTTON ? code : description;
		table.AddSortColumn(column, FALSE);
		table.AddParam(szParam, column);
		table.AddFilterLike(column);
	}
}

// From OnPrepareQuery: the value sought, as it is for the exact code, as a pattern otherwise.
inline void PrepareCodeLookup(SqlTable& table, int nSelectionType, LPCTSTR szParam, const DataObj& value)
{
	if (nSelectionType == HotKeyLink::DIRECT_ACCESS)
		table.SetParamValue(szParam, value);
	else if (IsPatternLookup(nSelectionType))
		table.SetParamLike(szParam, value);
}
