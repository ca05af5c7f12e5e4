#pragma once
// Definitions of symbols valued from extra-accounting codes: one row per fiscal year, model and
// symbol name.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TSimboliCodiciExtracont : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TSimboliCodiciExtracont, SqlRecord)
public:
	explicit Kvz_TSimboliCodiciExtracont(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_SimboliCodExtracont"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;
	DataStr f_Annotazioni;
	DataBool f_ValoreEsConst;
	DataBool f_ValoreEsSymb;
	DataInt f_ValoreEs;
	DataBool f_ValoreMeseConst;
	DataBool f_ValoreMeseSymb;
	DataInt f_ValoreMese;
	DataStr f_ValoreCodice;
	DataStr f_ValoreCodiceA;
	DataEnum f_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	DataInt f_FormulaDaUsare;  // which of the code's formula columns gives the value
};

// Name before model, although the model is the second column.
class Kvz_TRSimboliCodiciExtracont : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRSimboliCodiciExtracont, TableReader)
public:
	explicit Kvz_TRSimboliCodiciExtracont(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific);
	Kvz_TSimboliCodiciExtracont* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_NomeSimbolo;
	DataStr m_ModelloRiclassific;
};

class Kvz_TUSimboliCodiciExtracont : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUSimboliCodiciExtracont, TableUpdater)
public:
	explicit Kvz_TUSimboliCodiciExtracont(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific,
						  BOOL bLock);
	Kvz_TSimboliCodiciExtracont* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_NomeSimbolo;
	DataStr m_ModelloRiclassific;
};
