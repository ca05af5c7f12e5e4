#pragma once
// What the documents that reports read row by row share: the row at an index, and the rows of
// reclassified values by four-month block.
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "platform/mfc/CException.h"
#include "platform/plvgeneric/DataObj.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzdocuments {

// The row at the index, null past the last one; a negative index is a caller's fault.
template <class Row>
const Row* RowAt(const std::vector<Row>& rows, const DataInt& nRiga)
{
	const int i = nRiga.GetValue();
	if (i < 0)
		throw CInvalidArgException(CString::Formatted("Indice di riga non valido: %d", i));
	return static_cast<size_t>(i) < rows.size() ? &rows[static_cast<size_t>(i)] : nullptr;
}

// A reclassified code's values over a four-month block (eight amounts for the run, ten for
// the report extraction) and its row kind.
struct RigaQuadrimestre
{
	DataStr Codice;
	DataStr Descrizione;
	DataMon Importi[10];
	DataEnum TipoRiga;
};

// Copies the row at the index: code, description and the first nAmounts amounts, and the row
// kind when asked. False past the last row, nothing changed.
inline DataBool CopyRigaQuadrimestre(const std::vector<RigaQuadrimestre>& rows, const DataInt& nRiga, DataStr& aCodice,
									 DataStr& aDescrizione, DataMon* const (&aImporti)[10], int nAmounts,
									 DataEnum* pTipoRiga)
{
	const RigaQuadrimestre* r = RowAt(rows, nRiga);
	if (!r)
		return DataBool(FALSE);
	aCodice = r->Codice;
	aDescrizione = r->Descrizione;
	for (int i = 0; i < nAmounts; ++i)
		*aImporti[i] = r->Importi[i];
	if (pTipoRiga)
		*pTipoRiga = r->TipoRiga;
	return DataBool(TRUE);
}

// The results' fields a value column names: "0" Valore and TotaleRiportato, "1" to "10"
// Valore1.. and TotaleRiportato1.., "A" to "C" the budgets'. Empty names for any other text.
struct ColonnaRisultati
{
	CString valore;
	CString riportato;
	BOOL IsValid() const { return !valore.IsEmpty(); }
};
inline ColonnaRisultati ColonnaDaStampare(const CString& colonna)
{
	if (colonna == "0")
		return {"Valore", "TotaleRiportato"};
	if (colonna == "A" || colonna == "B" || colonna == "C")
		return {"ValoreBudget" + colonna, "TotaleRiportatoBudget" + colonna};
	for (int i = 1; i <= 10; ++i)
		if (colonna == CString::Formatted("%d", i))
			return {"Valore" + colonna, "TotaleRiportato" + colonna};
	return {};
}
// Narrows an open cursor on the results to a model's year and month range, the values set.
inline void FiltraRisultati(SqlTable& t, Kvz_TRiclassificato& rec, const DataInt& aEsercizio, const DataStr& aModello,
							const DataInt& aDalMese, const DataInt& aAlMese)
{
	t.AddParam("pEsercizio", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("pModello", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.AddParam("pDalMese", rec.f_Mese);
	t.AddParam("pAlMese", rec.f_Mese);
	t.AddBetweenColumn(rec.f_Mese);
	t.SetParamValue("pEsercizio", aEsercizio);
	t.SetParamValue("pModello", aModello);
	t.SetParamValue("pDalMese", aDalMese);
	t.SetParamValue("pAlMese", aAlMese);
}

inline const char* const kColonnaErrata = "Colonna errata. Indicare valore da 0 a 10 oppure A, B o C per i budget";

}  // namespace kvzdocuments

// The ten money arguments of a block row, in order.
#define KVZ_TEN_AMOUNTS(a) {&a##1, &a##2, &a##3, &a##4, &a##5, &a##6, &a##7, &a##8, &a##9, &a##10}
