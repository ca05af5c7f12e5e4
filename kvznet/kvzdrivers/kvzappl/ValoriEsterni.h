#pragma once
// The results rows that take their value from outside (row kind 8): a warehouse's floor area of
// a month, written into the results of the model and year an area row names, under the code its
// head gives. The floor-area document writes them as it saves, the recomputation of outside
// values all of them again.
#include <set>

#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzMetriQuadriMesi.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"

class CBaseDocument;
class SqlConnection;
class SqlSession;

namespace kvzappl {

// The row kind of a value from outside, and the data kind of the rows written.
inline const DataEnum kTipoRigaValoreEsterno(E_KVZ_TIPORIGA, 8);
inline const DataEnum kTipoDatoValoreEsterno(E_KVZ_TIPODATOPBASE, 0);

// Writes one area row's MetriQuadri as the Valore of its results row (year Anno, the row's model,
// the code, the month), made a value from outside; a missing results row is added only when the
// code is a row of the model's definition, at its position and with its description. Every row
// is committed as it is written. bEsterna: the connection is another company's, whose results
// keep the two kinds as plain numbers. SqlException on a database error.
void ScriviValoreEsterno(SqlConnection* pConnection, SqlSession* pScrittura, SqlSession* pLettura, BOOL bEsterna,
						 const TKvzMetriQuadriMesi& aRiga, const DataInt& aMese, const DataStr& aCodice);

// Zeroes the Valore of every value-from-outside results row on the session; how many.
// SqlException on a database error.
int AzzeraValoriEsterni(SqlConnection* pConnection, SqlSession* pScrittura, BOOL bEsterna);

// Writes area rows of any company in turn: this company's on the document's sessions, another's
// on the connection the document opens for it, kept while the rows of that company follow one
// another. A company that cannot be reached is told once and none of its rows is written.
class ScrittoreValoriEsterni
{
public:
	ScrittoreValoriEsterni(CBaseDocument* pDocument, KvzConnessioneAzienda& connessione)
		: m_pDocument(pDocument), m_Connessione(connessione)
	{
	}
	~ScrittoreValoriEsterni() { m_Connessione.Chiudi(); }
	ScrittoreValoriEsterni(const ScrittoreValoriEsterni&) = delete;
	ScrittoreValoriEsterni& operator=(const ScrittoreValoriEsterni&) = delete;

	// SqlException on a database error.
	void Scrivi(const TKvzMetriQuadriMesi& aRiga, const DataInt& aMese, const DataStr& aCodice);
	// A company the caller already told unreachable: its rows are skipped without a second message.
	void SegnaIrraggiungibile(const CString& strDitta) { m_Irraggiungibili.insert(strDitta); }

private:
	CBaseDocument* m_pDocument;
	KvzConnessioneAzienda& m_Connessione;
	CString m_strConnessa;
	std::set<CString> m_Irraggiungibili;
};

}  // namespace kvzappl
