#pragma once
// Detail usage counters: the uses of a code per using code, formula and reclassification model.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TContatoriDettaglio : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TContatoriDettaglio, SqlRecord)
public:
	explicit Kvz_TContatoriDettaglio(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_ContatoriDettaglio"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataEnum f_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr f_Codice;
	DataStr f_ModelloRiclassific;
	DataEnum f_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	DataStr f_CodiceCheUtilizza;
	DataInt f_FormulaCheUtilizza;
	DataLng f_ContatoreUtilizzi;
};

class Kvz_TEnhContatoriDettaglio : public Kvz_TContatoriDettaglio
{
	DECLARE_DYNCREATE(Kvz_TEnhContatoriDettaglio, Kvz_TContatoriDettaglio)
public:
	explicit Kvz_TEnhContatoriDettaglio(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_Formula;
};

class Kvz_TRContatoriDettaglio : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRContatoriDettaglio, TableReader)
public:
	explicit Kvz_TRContatoriDettaglio(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice,
						  const DataStr& aModello, const DataEnum& aTipoCodCheUtilizza,
						  const DataStr& aCodiceCheUtilizza, const DataInt& aFormula);
	Kvz_TEnhContatoriDettaglio* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
	DataStr m_Modello;
	DataEnum m_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_CodiceCheUtilizza;
	DataInt m_Formula;
};

class Kvz_TUContatoriDettaglio : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUContatoriDettaglio, TableUpdater)
public:
	explicit Kvz_TUContatoriDettaglio(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice,
						  const DataStr& aModello, const DataEnum& aTipoCodCheUtilizza,
						  const DataStr& aCodiceCheUtilizza, const DataInt& aFormula, BOOL bLock);
	Kvz_TEnhContatoriDettaglio* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
	DataStr m_Modello;
	DataEnum m_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_CodiceCheUtilizza;
	DataInt m_Formula;
};

// The uses of one code in one year made outside the given using kind and model: rows of
// another using kind count whatever their model, rows of the same kind only in another model.
class Kvz_TRSommaUtilizzi : public TableReader
{
	DECLARE_DYNAMIC(Kvz_TRSommaUtilizzi, TableReader)
public:
	explicit Kvz_TRSommaUtilizzi(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice,
						  const DataEnum& aTipoCodCheUtilizza, const DataStr& aModello);
	Kvz_TEnhContatoriDettaglio* GetRecord() const;

	DataLng m_SommaUtilizzi;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL IsEmptyQuery() override;

	DataInt m_Esercizio;
	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
	DataEnum m_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Modello;
};
