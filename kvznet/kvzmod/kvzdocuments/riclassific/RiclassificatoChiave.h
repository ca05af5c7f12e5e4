#pragma once
// A cursor on one result row: year, model, data kind, code and month, for this company's record
// and for another company's (whose kinds are plain longs).
#include "platform/plvoledb/SqlTable.h"

namespace kvzdocuments {

template <class Rec>
void FiltroChiave(SqlTable& t, Rec& r)
{
	t.SelectAll();
	t.AddParam("p1", r.f_Esercizio);
	t.AddFilterColumn(r.f_Esercizio);
	t.AddParam("p2", r.f_ModelloRiclassific);
	t.AddFilterColumn(r.f_ModelloRiclassific);
	t.AddParam("p3", r.f_TipoDatoPianoBase);
	t.AddFilterColumn(r.f_TipoDatoPianoBase);
	t.AddParam("p4", r.f_CodRiclassificato);
	t.AddFilterColumn(r.f_CodRiclassificato);
	t.AddParam("p5", r.f_Mese);
	t.AddFilterColumn(r.f_Mese);
}

// The data kind is given as the record's column holds it.
inline void CercaChiave(SqlTable& t, const DataInt& aEsercizio, const DataStr& aModello, const DataObj& aTipoDato,
						const DataStr& aCodice, int nMese)
{
	t.SetParamValue("p1", aEsercizio);
	t.SetParamValue("p2", aModello);
	t.SetParamValue("p3", aTipoDato);
	t.SetParamValue("p4", aCodice);
	t.SetParamValue("p5", DataInt(nMese));
	t.Query();
}

}  // namespace kvzdocuments
