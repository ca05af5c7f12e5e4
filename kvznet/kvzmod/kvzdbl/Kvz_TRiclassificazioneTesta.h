#pragma once
// Reclassification model headers: one row per fiscal year and model.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRiclassificazioneTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRiclassificazioneTesta, SqlRecord)
public:
	explicit Kvz_TRiclassificazioneTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RiclassificazioneTesta"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
	DataInt f_Priorita;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataDate f_DataInizio;
	DataDate f_DataFine;
	DataEnum f_TipoModello{E_KVZ_TIPOMODELLO, 0};
	DataStr f_FormulaCalcParametrico;
	DataBool f_TuttiOperatori;

	DataBool l_Selezionata;
};

// Another company's model headers: no TuttiOperatori, the model type as the long stored.
class Kvz_TModRiclassTeste_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TModRiclassTeste_Ext, SqlRecord)
public:
	explicit Kvz_TModRiclassTeste_Ext(BOOL bCallInit = TRUE);
	Kvz_TModRiclassTeste_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TRiclassificazioneTesta::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
	DataInt f_Priorita;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataDate f_DataInizio;
	DataDate f_DataFine;
	DataLng f_TipoModello;
	DataStr f_FormulaCalcParametrico;
};

class Kvz_TRRiclassificazioneTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRiclassificazioneTesta, TableReader)
public:
	explicit Kvz_TRRiclassificazioneTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello);
	Kvz_TRiclassificazioneTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
};

class Kvz_TURiclassificazioneTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TURiclassificazioneTesta, TableUpdater)
public:
	explicit Kvz_TURiclassificazioneTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, BOOL bLock);
	Kvz_TRiclassificazioneTesta* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
};

// Picks a model of a year: the application date's when the lookup was built, unless set.
class KVZ_HKLRiclassificazioneTesta : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLRiclassificazioneTesta, HotKeyLink)
public:
	KVZ_HKLRiclassificazioneTesta();
	const DataInt& GetSelEsercizio() const { return m_SelEsercizio; }
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	Kvz_TRiclassificazioneTesta* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pDataObj, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
};
