#pragma once
// Definitions of symbols valued from extra-accounting codes: one row per fiscal year, model and
// symbol name.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

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

class Kvz_TRSimboliCodiciExtracont : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRSimboliCodiciExtracont, TableReader)
public:
	explicit Kvz_TRSimboliCodiciExtracont(CBaseDocument* pDocument = nullptr);
	Kvz_TSimboliCodiciExtracont* GetRecord() const;
};

class Kvz_TUSimboliCodiciExtracont : public SymbolKeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUSimboliCodiciExtracont, TableUpdater)
public:
	explicit Kvz_TUSimboliCodiciExtracont(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TSimboliCodiciExtracont* GetRecord() const;
};
