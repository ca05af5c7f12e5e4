#pragma once
// General usage counters: how often a code of a kind is used by formulas in a year.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TContatoriCodici : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TContatoriCodici, SqlRecord)
public:
	explicit Kvz_TContatoriCodici(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_ContatoriCodici"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataEnum f_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr f_Codice;
	DataLng f_ContatoreUtilizzi;
};

class Kvz_TEnhContatoriCodici : public Kvz_TContatoriCodici
{
	DECLARE_DYNCREATE(Kvz_TEnhContatoriCodici, Kvz_TContatoriCodici)
public:
	explicit Kvz_TEnhContatoriCodici(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_Descrizione;
};

class Kvz_TRContatoriCodici : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRContatoriCodici, TableReader)
public:
	explicit Kvz_TRContatoriCodici(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice);
	Kvz_TEnhContatoriCodici* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
};

class Kvz_TUContatoriCodici : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUContatoriCodici, TableUpdater)
public:
	explicit Kvz_TUContatoriCodici(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice,
						  BOOL bLock);
	Kvz_TEnhContatoriCodici* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
};
