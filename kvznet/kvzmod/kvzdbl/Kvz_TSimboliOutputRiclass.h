#pragma once
// Definitions of symbols valued from the results of a reclassification: one row per fiscal
// year, model and symbol name.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

class Kvz_TSimboliOutputRiclass : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TSimboliOutputRiclass, SqlRecord)
public:
	explicit Kvz_TSimboliOutputRiclass(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_SimboliOutputRiclassif"); }
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
	DataStr f_ValoreModello;  // source model of the results, stored as given
	DataStr f_ValoreCodice;
	DataStr f_ValoreCodiceA;
	DataEnum f_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	DataEnum f_TipoDatoPBase{E_KVZ_TIPODATOPBASE, 0};
	DataBool f_ValoreDalBudget;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataInt f_ValoreDaUsare;  // which value column of the results gives the value
};

// The same table on a given connection (another company's database); the enumerations are
// read as the plain long integers stored.
class Kvz_TSimboliOutputRiclass_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TSimboliOutputRiclass_Ext, SqlRecord)
public:
	explicit Kvz_TSimboliOutputRiclass_Ext(BOOL bCallInit = TRUE);
	Kvz_TSimboliOutputRiclass_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TSimboliOutputRiclass::GetStaticName(); }
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
	DataStr f_ValoreModello;
	DataStr f_ValoreCodice;
	DataStr f_ValoreCodiceA;
	DataLng f_AggregFunction;
	DataLng f_TipoDatoPBase;
	DataBool f_ValoreDalBudget;
	DataLng f_TipoBudget;
	DataInt f_ValoreDaUsare;
};

class Kvz_TRSimboliOutputRiclass : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRSimboliOutputRiclass, TableReader)
public:
	explicit Kvz_TRSimboliOutputRiclass(CBaseDocument* pDocument = nullptr);
	Kvz_TSimboliOutputRiclass* GetRecord() const;
};

class Kvz_TUSimboliOutputRiclass : public SymbolKeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUSimboliOutputRiclass, TableUpdater)
public:
	explicit Kvz_TUSimboliOutputRiclass(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TSimboliOutputRiclass* GetRecord() const;
};
