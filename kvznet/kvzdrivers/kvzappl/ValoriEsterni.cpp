#include "kvznet/kvzdrivers/kvzappl/ValoriEsterni.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvoledb/SqlConnection.h"

namespace kvzappl {
namespace {

// This company's results keep the kinds as enumerations, another company's as their numbers.
void Imposta(DataEnum& d, const DataEnum& v)
{
	d = v;
}

void Imposta(DataLng& d, const DataEnum& v)
{
	d = static_cast<long>(v.GetValue());
}

// The position and description of a code in a model's definition; position 0 when it has none.
template <class Righe>
int Posizione(Righe& aRighe, SqlSession* pLettura, const DataInt& aEsercizio, const DataStr& aModello,
			  const DataStr& aCodice, DataStr& aDescrizione)
{
	aDescrizione.Clear();
	SqlTable aTable(&aRighe, pLettura);
	aTable.Open(FALSE);
	aTable.SelectAll();
	aTable.AddParam(_T("p3"), aRighe.f_Esercizio);
	aTable.AddFilterColumn(aRighe.f_Esercizio, _T(""));
	aTable.AddParam(_T("p4"), aRighe.f_ModelloRiclassific);
	aTable.AddFilterColumn(aRighe.f_ModelloRiclassific, _T(""));
	aTable.AddParam(_T("p6"), aRighe.f_CodRiclassificato);
	aTable.AddFilterColumn(aRighe.f_CodRiclassificato, _T(""));
	aTable.SetParamValue(_T("p3"), aEsercizio);
	aTable.SetParamValue(_T("p4"), aModello);
	aTable.SetParamValue(_T("p6"), aCodice);
	aTable.Query();
	int nPosizione = 0;
	if (!aTable.IsEOF())
	{
		nPosizione = aRighe.f_Posizione.GetValue();
		aDescrizione = aRighe.f_Descrizione;
	}
	aTable.Close();
	return nPosizione;
}

template <class Rec, class Righe>
void Scrivi(Rec& aRec, Righe& aRighe, SqlSession* pScrittura, SqlSession* pLettura, const TKvzMetriQuadriMesi& aRiga,
			const DataInt& aMese, const DataStr& aCodice)
{
	SqlTable aTable(&aRec, pScrittura);
	aTable.SetAutocommit(TRUE);
	aTable.Open(TRUE);
	aTable.SelectAll();
	aTable.AddParam(_T("p3"), aRec.f_Esercizio);
	aTable.AddFilterColumn(aRec.f_Esercizio, _T(""));
	aTable.AddParam(_T("p4"), aRec.f_ModelloRiclassific);
	aTable.AddFilterColumn(aRec.f_ModelloRiclassific, _T(""));
	aTable.AddParam(_T("p5"), aRec.f_TipoDatoPianoBase);
	aTable.AddFilterColumn(aRec.f_TipoDatoPianoBase, _T(""));
	aTable.AddParam(_T("p6"), aRec.f_CodRiclassificato);
	aTable.AddFilterColumn(aRec.f_CodRiclassificato, _T(""));
	aTable.AddParam(_T("p7"), aRec.f_Mese);
	aTable.AddFilterColumn(aRec.f_Mese, _T(""));
	auto aTipoDato = aRec.f_TipoDatoPianoBase;
	Imposta(aTipoDato, kTipoDatoValoreEsterno);
	aTable.SetParamValue(_T("p3"), aRiga.f_Anno);
	aTable.SetParamValue(_T("p4"), aRiga.f_ModelloRiclassific);
	aTable.SetParamValue(_T("p5"), aTipoDato);
	aTable.SetParamValue(_T("p6"), aCodice);
	aTable.SetParamValue(_T("p7"), aMese);
	aTable.Query();
	if (!aTable.IsEOF())
		aTable.Edit();
	else
	{
		DataStr aDescrizione;
		const int nPosizione =
			Posizione(aRighe, pLettura, aRiga.f_Anno, aRiga.f_ModelloRiclassific, aCodice, aDescrizione);
		if (nPosizione < 1)
		{
			aTable.Close();
			return;
		}
		aTable.AddNew();
		aRec.f_Esercizio = aRiga.f_Anno;
		aRec.f_Mese = aMese;
		aRec.f_ModelloRiclassific = aRiga.f_ModelloRiclassific;
		aRec.f_CodRiclassificato = aCodice;
		Imposta(aRec.f_TipoDatoPianoBase, kTipoDatoValoreEsterno);
		aRec.f_Posizione = nPosizione;
		aRec.f_Descrizione = aDescrizione;
	}
	Imposta(aRec.f_TipoRiga, kTipoRigaValoreEsterno);
	aRec.f_Valore = aRiga.f_MetriQuadri.GetValue();
	aRec.SetStorable();
	aTable.Update();
	aTable.Close();
}

template <class Rec>
int Azzera(Rec& aRec, SqlSession* pScrittura)
{
	SqlTable aTable(&aRec, pScrittura);
	aTable.SetAutocommit(TRUE);
	aTable.Open(TRUE);
	aTable.SelectAll();
	aTable.AddParam(_T("p1"), aRec.f_TipoRiga);
	aTable.AddFilterColumn(aRec.f_TipoRiga, _T(""));
	auto aTipoRiga = aRec.f_TipoRiga;
	Imposta(aTipoRiga, kTipoRigaValoreEsterno);
	aTable.SetParamValue(_T("p1"), aTipoRiga);
	int n = 0;
	for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
	{
		aTable.Edit();
		aRec.f_Valore = 0.0;
		aRec.SetStorable();
		aTable.Update();
		++n;
	}
	aTable.Close();
	return n;
}
}  // namespace

void ScriviValoreEsterno(SqlConnection* pConnection, SqlSession* pScrittura, SqlSession* pLettura, BOOL bEsterna,
						 const TKvzMetriQuadriMesi& aRiga, const DataInt& aMese, const DataStr& aCodice)
{
	if (bEsterna)
	{
		Kvz_TRiclassificato_Ext aRec(pConnection);
		Kvz_TModRiclassRighe_Ext aRighe(pConnection);
		Scrivi(aRec, aRighe, pScrittura, pLettura, aRiga, aMese, aCodice);
	}
	else
	{
		Kvz_TRiclassificato aRec;
		Kvz_TRiclassificazioneRighe aRighe;
		Scrivi(aRec, aRighe, pScrittura, pLettura, aRiga, aMese, aCodice);
	}
}

int AzzeraValoriEsterni(SqlConnection* pConnection, SqlSession* pScrittura, BOOL bEsterna)
{
	if (bEsterna)
	{
		Kvz_TRiclassificato_Ext aRec(pConnection);
		return Azzera(aRec, pScrittura);
	}
	Kvz_TRiclassificato aRec;
	return Azzera(aRec, pScrittura);
}

void ScrittoreValoriEsterni::Scrivi(const TKvzMetriQuadriMesi& aRiga, const DataInt& aMese, const DataStr& aCodice)
{
	if (KvzConnessioneAzienda::DittaCorrente(aRiga.f_Ditta))
	{
		ScriviValoreEsterno(m_pDocument->GetSqlConnection(), m_pDocument->GetUpdatableSqlSession(),
							m_pDocument->GetReadOnlySqlSession(), FALSE, aRiga, aMese, aCodice);
		return;
	}
	const CString strDitta = aRiga.f_Ditta.GetString();
	if (m_Irraggiungibili.count(strDitta))
		return;
	if (strDitta != m_strConnessa || !m_Connessione.GetInUso())
	{
		m_strConnessa = strDitta;
		if (!m_Connessione.Connetti(aRiga.f_Ditta))
		{
			m_Irraggiungibili.insert(strDitta);
			return;
		}
	}
	// The position is looked up on the connection the row is written on.
	SqlConnection* pConn = m_Connessione.GetInUso();
	CPLVContext context(pConn, m_pDocument);
	ScriviValoreEsterno(pConn, context.GetUpdatableSqlSession(), context.GetReadOnlySqlSession(), TRUE, aRiga, aMese,
						aCodice);
}

}  // namespace kvzappl
