#pragma once
// Base-plan headers: one per grouped account (optionally one cost centre or job), fiscal year
// and budget type, with the yearly and quarterly adjustment totals.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TPianoBaseTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TPianoBaseTesta, SqlRecord)
public:
	explicit Kvz_TPianoBaseTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_PianoBaseT"); }
	void BindRecord() override;

	DataLng f_IDPianoBase;
	DataStr f_CodPianoBase;
	DataStr f_Descrizione;
	DataBool f_InseritoAMano;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataStr f_ContoKvz;
	DataStr f_CentroCommessa;
	DataEnum f_TipoCentroComm{E_KVZ_TIPOCENTROCOMM, 0};
	DataInt f_Esercizio;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataEnum f_TipoRipartizAssestamenti{E_KVZ_TIPORIPARTIZASSEST, 0};
	DataBool f_AssestPerTotale;
	DataDbl f_TotGeneraleRatei;
	DataMon f_TotRateiTrimestre1;
	DataMon f_TotRateiTrimestre2;
	DataMon f_TotRateiTrimestre3;
	DataMon f_TotRateiTrimestre4;
	DataMon f_TotGeneraleAssestati;
	DataMon f_TotAssestatiTrimestre1;
	DataMon f_TotAssestatiTrimestre2;
	DataMon f_TotAssestatiTrimestre3;
	DataMon f_TotAssestatiTrimestre4;
	DataBool f_AssestPerTotalePerc;
};

// The form's running totals beside the header; never stored.
class Kvz_TEnhPianoBaseTesta : public Kvz_TPianoBaseTesta
{
	DECLARE_DYNCREATE(Kvz_TEnhPianoBaseTesta, Kvz_TPianoBaseTesta)
public:
	explicit Kvz_TEnhPianoBaseTesta(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataMon l_TotGenerale;
	DataMon l_TotTrimestre1;
	DataMon l_TotTrimestre2;
	DataMon l_TotTrimestre3;
	DataMon l_TotTrimestre4;
};

class Jex_TRPianoBaseTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRPianoBaseTesta, TableReader)
public:
	explicit Jex_TRPianoBaseTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase);
	Kvz_TEnhPianoBaseTesta* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
};

class Jex_TUPianoBaseTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUPianoBaseTesta, TableUpdater)
public:
	explicit Jex_TUPianoBaseTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase, BOOL bLock);
	Kvz_TEnhPianoBaseTesta* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
};
