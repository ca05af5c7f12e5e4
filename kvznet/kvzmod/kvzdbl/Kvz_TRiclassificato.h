#pragma once
// Reclassification results: the monthly values of each model row, one row per year, month,
// model, reclassified code and kind of base-plan data. Up to a million rows a year; written
// through table cursors (there is no updater).
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRiclassificato : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificato, SqlRecord)
public:
	explicit Kvz_TRiclassificato(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_Riclassificato"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataInt f_Mese;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataEnum f_TipoDatoPianoBase{E_KVZ_TIPODATOPBASE, 0};
	DataInt f_Posizione;
	DataStr f_Descrizione;
	DataMon f_Valore;
	DataMon f_ValoreBudgetA;
	DataMon f_ValoreBudgetB;
	DataMon f_ValoreBudgetC;
	DataMon f_TotaleRiportato;
	DataEnum f_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataMon f_Valore1;
	DataMon f_Valore2;
	DataMon f_Valore3;
	DataMon f_Valore4;
	DataMon f_Valore5;
	DataMon f_Valore6;
	DataMon f_Valore7;
	DataMon f_Valore8;
	DataMon f_Valore9;
	DataMon f_Valore10;
	DataMon f_TotaleRiportatoBudgetA;
	DataMon f_TotaleRiportatoBudgetB;
	DataMon f_TotaleRiportatoBudgetC;
	DataMon f_TotaleRiportato1;
	DataMon f_TotaleRiportato2;
	DataMon f_TotaleRiportato3;
	DataMon f_TotaleRiportato4;
	DataMon f_TotaleRiportato5;
	DataMon f_TotaleRiportato6;
	DataMon f_TotaleRiportato7;
	DataMon f_TotaleRiportato8;
	DataMon f_TotaleRiportato9;
	DataMon f_TotaleRiportato10;
	DataBool f_Temp;
	DataStr f_CodRiclDividendoProgr;
	DataStr f_CodRiclDivisoreProgr;
	DataStr f_SegnoDaApplicare;
};

// Another company's results: without the dividend, divisor and sign columns, the two
// enumerations as the longs stored.
class Kvz_TRiclassificato_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificato_Ext, SqlRecord)
public:
	explicit Kvz_TRiclassificato_Ext(BOOL bCallInit = TRUE);
	Kvz_TRiclassificato_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TRiclassificato::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataInt f_Mese;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataLng f_TipoDatoPianoBase;
	DataInt f_Posizione;
	DataStr f_Descrizione;
	DataMon f_Valore;
	DataMon f_ValoreBudgetA;
	DataMon f_ValoreBudgetB;
	DataMon f_ValoreBudgetC;
	DataMon f_TotaleRiportato;
	DataLng f_TipoRiga;
	DataMon f_Valore1;
	DataMon f_Valore2;
	DataMon f_Valore3;
	DataMon f_Valore4;
	DataMon f_Valore5;
	DataMon f_Valore6;
	DataMon f_Valore7;
	DataMon f_Valore8;
	DataMon f_Valore9;
	DataMon f_Valore10;
	DataMon f_TotaleRiportatoBudgetA;
	DataMon f_TotaleRiportatoBudgetB;
	DataMon f_TotaleRiportatoBudgetC;
	DataMon f_TotaleRiportato1;
	DataMon f_TotaleRiportato2;
	DataMon f_TotaleRiportato3;
	DataMon f_TotaleRiportato4;
	DataMon f_TotaleRiportato5;
	DataMon f_TotaleRiportato6;
	DataMon f_TotaleRiportato7;
	DataMon f_TotaleRiportato8;
	DataMon f_TotaleRiportato9;
	DataMon f_TotaleRiportato10;
	DataBool f_Temp;
};

// Finds a result row of a model's code: whichever of its months and data kinds the query gives
// first. An empty code with year and model set is still looked up.
class Kvz_TRRiclassificato : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificato, TableReader)
public:
	explicit Kvz_TRRiclassificato(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	Kvz_TRiclassificato* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Codice;
};

// The same, for one month.
class Kvz_TRRiclassificatoMesi : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificatoMesi, TableReader)
public:
	explicit Kvz_TRRiclassificatoMesi(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
						  const DataInt& aMese);
	Kvz_TRiclassificato* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Codice;
	DataInt m_Mese;
};
