#include "platform/plvges/KeyedQuery.h"

void KeyedQuery::Add(LPCTSTR szParam, LPCTSTR szColumn, DataObj& value, bool testEmpty)
{
	m_Entries.push_back({szParam, szColumn, &value, testEmpty});
}

void KeyedQuery::Define(SqlTable& table) const
{
	table.SelectAll();
	SqlRecord* pRec = table.GetRecord();
	for (auto& e : m_Entries)
	{
		DataObj* pCol = pRec->GetDataObjFromColumnName(e.column);
		if (!pCol)
			throw SqlException(CString::Formatted("Colonna %s inesistente nella tabella %s.", e.column.GetString(),
												  pRec->GetTableName().GetString()));
		table.AddParam(e.param, *pCol);
		table.AddFilterColumn(*pCol);
	}
}

void KeyedQuery::Prepare(SqlTable& table) const
{
	for (auto& e : m_Entries)
		table.SetParamValue(e.param, *e.value);
}

BOOL KeyedQuery::IsEmpty() const
{
	for (auto& e : m_Entries)
		if (e.testEmpty && e.value->IsEmpty())
			return TRUE;
	return FALSE;
}
