#pragma once
// Copies of a model's or a code's symbols into another year and code: the source's rows of one
// symbol table are read first, then each one the target lacks is written on the session given,
// so that the copy joins the transaction open on it. Existing target symbols are never changed.
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/plvges/TableReader.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvz_copia {

// Every row of a table of one year and one code (compared exactly: the database compares text
// without regard to case), read before anything is written; in key order unless ordina adds
// the sort columns to the cursor.
template <class Rec, class Ordina = std::nullptr_t>
std::vector<std::unique_ptr<Rec>> LeggiDi(SqlSession* pSession, DataInt Rec::*pEsercizio, const DataInt& aEsercizio,
										  DataStr Rec::*pCodice, const DataStr& aCodice, Ordina ordina = nullptr)
{
	std::vector<std::unique_ptr<Rec>> righe;
	Rec aLetta;
	SqlTable aTable(&aLetta, pSession);
	aTable.Open(FALSE, FALSE, TRUE);
	aTable.SelectAll();
	aTable.AddParam(_T("p2"), aLetta.*pEsercizio);
	aTable.AddFilterColumn(aLetta.*pEsercizio);
	aTable.AddParam(_T("p1"), aLetta.*pCodice);
	aTable.AddFilterColumn(aLetta.*pCodice);
	if constexpr (std::is_same_v<Ordina, std::nullptr_t>)
	{
		for (const CString& k : aLetta.GetPrimaryKey())
			aTable.AddSortColumn(k);
	}
	else
		ordina(aTable, aLetta);
	aTable.SetParamValue(_T("p2"), aEsercizio);
	aTable.SetParamValue(_T("p1"), aCodice);
	for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		if ((aLetta.*pCodice).GetString() == aCodice.GetString() && (aLetta.*pEsercizio).GetValue() == aEsercizio.GetValue())
			righe.push_back(std::make_unique<Rec>(aLetta));
	aTable.Close();
	return righe;
}

// The rows of a model's table (symbols, codes, rows) of a year.
template <class Rec, class Ordina = std::nullptr_t>
std::vector<std::unique_ptr<Rec>> LeggiSimboli(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aCodice,
											   Ordina ordina = nullptr)
{
	return LeggiDi<Rec>(pSession, &Rec::f_Esercizio, aEsercizio, &Rec::f_ModelloRiclassific, aCodice, ordina);
}

// Writes the source's symbols of one table that the target lacks (and that the filter takes);
// returns how many. SqlException when a read or a write fails.
template <class Rec, class Updater, class Extra, class Filtro>
int CopiaSimboli(SqlSession* pSession, const DataInt& aEsOrig, const DataStr& aCodOrig, const DataInt& aEsDest,
				 const DataStr& aCodDest, Extra extra, Filtro filtro)
{
	int n = 0;
	Updater aUpdater;
	aUpdater.SetSqlSession(pSession);
	for (const auto& pOrig : LeggiSimboli<Rec>(pSession, aEsOrig, aCodOrig))
	{
		if (!filtro(*pOrig))
			continue;
		if (aUpdater.FindRecord(aEsDest, pOrig->f_NomeSimbolo, aCodDest, FALSE) != TableReader::NOT_FOUND)
			continue;
		auto* pDest = static_cast<Rec*>(aUpdater.GetRecord());
		*static_cast<SqlRecord*>(pDest) = *pOrig;
		pDest->f_Esercizio = aEsDest;
		pDest->f_ModelloRiclassific = aCodDest;
		extra(*pDest);
		aUpdater.UpdateRecord(FALSE);
		++n;
	}
	aUpdater.Free();
	return n;
}

template <class Rec, class Updater, class Extra>
int CopiaSimboli(SqlSession* pSession, const DataInt& aEsOrig, const DataStr& aCodOrig, const DataInt& aEsDest,
				 const DataStr& aCodDest, Extra extra)
{
	return CopiaSimboli<Rec, Updater>(pSession, aEsOrig, aCodOrig, aEsDest, aCodDest, extra,
									  [](const Rec&) { return true; });
}

// A result or reclassified-code symbol valued from its own year and code follows the copy.
template <class Rec>
auto RiportaValori(const DataStr& aCodOrig, const DataInt& aEsDest, const DataStr& aCodDest)
{
	return [&aCodOrig, &aEsDest, &aCodDest](Rec& r) {
		if (r.f_ValoreEs.GetValue() > 0)
			r.f_ValoreEs = aEsDest;
		if (r.f_ValoreModello.GetString() == aCodOrig.GetString())
			r.f_ValoreModello = aCodDest;
	};
}

}  // namespace kvz_copia
