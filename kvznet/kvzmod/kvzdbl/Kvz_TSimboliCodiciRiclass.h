#pragma once
// Definitions of symbols valued from the reclassified codes of a model: one row per fiscal
// year, model and symbol name.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

class Kvz_TSimboliCodiciRiclass : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TSimboliCodiciRiclass, SqlRecord)
public:
	explicit Kvz_TSimboliCodiciRiclass(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_SimboliCodRiclassif"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;
	DataStr f_Annotazioni;
	DataBool f_ValoreEsConst;
	DataBool f_ValoreEsSymb;
	DataInt f_ValoreEs;
	DataBool f_ValoreModelloConst;
	DataBool f_ValoreModelloSymb;
	DataStr f_ValoreModello;  // source model, stored as given
	DataStr f_ValoreCodice;
	DataStr f_ValoreCodiceA;
	DataEnum f_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	DataInt f_FormulaDaUsare;  // which of the row's formula columns gives the value
	DataBool f_ValoreDalBudget;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
};

class Kvz_TRSimboliCodiciRiclass : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRSimboliCodiciRiclass, TableReader)
public:
	explicit Kvz_TRSimboliCodiciRiclass(CBaseDocument* pDocument = nullptr);
	Kvz_TSimboliCodiciRiclass* GetRecord() const;
};

class Kvz_TUSimboliCodiciRiclass : public SymbolKeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUSimboliCodiciRiclass, TableUpdater)
public:
	explicit Kvz_TUSimboliCodiciRiclass(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TSimboliCodiciRiclass* GetRecord() const;
};
