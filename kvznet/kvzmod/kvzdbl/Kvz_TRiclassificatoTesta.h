#pragma once
// Results headers: one row per fiscal year, processing kind and model, stamped by each run.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRiclassificatoTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificatoTesta, SqlRecord)
public:
	explicit Kvz_TRiclassificatoTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RiclassificatoTesta"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataEnum f_TipoElaborazione{E_KVZ_TIPOELABORAZIONE, 0};
	DataStr f_ModelloRiclassific;
	DataDate f_DataUltimaElaborazione;  // with the time of day
	DataStr f_Descrizione;
	DataStr f_Nota;
};

class Kvz_TRRiclassificatoTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificatoTesta, TableReader)
public:
	explicit Kvz_TRRiclassificatoTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoElaborazione, const DataStr& aModello);
	Kvz_TRiclassificatoTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoElaborazione;
	DataStr m_Modello;
};

// Only the model makes the query empty: a year 0 or an empty kind is looked up as it stands.
class Kvz_TURiclassificatoTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TURiclassificatoTesta, TableUpdater)
public:
	explicit Kvz_TURiclassificatoTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoElaborazione, const DataStr& aModello,
						  BOOL bLock);
	Kvz_TRiclassificatoTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoElaborazione;
	DataStr m_Modello;
};

// Picks a results header of the selected year and processing kind.
class KVZ_HKLRiclassificatoTesta : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLRiclassificatoTesta, HotKeyLink)
public:
	KVZ_HKLRiclassificatoTesta();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	void SetSelTipoElaborazione(const DataEnum& aTipo) { m_SelTipoElaborazione = aTipo; }
	Kvz_TRiclassificatoTesta* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pDataObj, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	DataEnum m_SelTipoElaborazione;
};
