#pragma once
// The whole-table reads the batch procedures load their maps from: every row of a table, or
// those of one fiscal year, each handed to a function as the cursor stands on it.
#include "platform/plvoledb/SqlTable.h"

template <class Rec, class Fn>
void PerOgniRiga(Rec& rec, SqlSession* pSession, CObject* pDocument, Fn fn)
{
	SqlTable t(&rec, pSession, pDocument);
	t.Open(FALSE);
	t.SelectAll();
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		fn();
}

// Only the columns given are read when there are some.
template <class Rec, class Fn>
void PerOgniRigaDellEsercizio(Rec& rec, SqlSession* pSession, CObject* pDocument, int nEsercizio, Fn fn,
							  std::initializer_list<const DataObj*> colonne = {})
{
	SqlTable t(&rec, pSession, pDocument);
	t.Open(FALSE);
	if (colonne.size() == 0)
		t.SelectAll();
	for (const DataObj* pCol : colonne)
		t.Select(*pCol);
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.SetParamValue("p1", DataInt(nEsercizio));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		fn();
}
