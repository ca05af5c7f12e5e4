#pragma once
// Base-plan month rows: twelve under each header, with the ledger balance, the adjustment and
// the adjusted total of the month. The valuation of formulas reads them by year, account,
// cost centre/job and month range.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TPianoBaseRighe : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TPianoBaseRighe, SqlRecord)
public:
	explicit Kvz_TPianoBaseRighe(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_PianoBaseR"); }
	void BindRecord() override;

	DataLng f_IDPianoBase;
	DataInt f_Mese;
	DataStr f_ContoKvz;
	DataStr f_CentroCommessa;
	DataEnum f_TipoCentroComm{E_KVZ_TIPOCENTROCOMM, 0};
	DataEnum f_TipoMastro{E_TIPOMASTRO, 0};
	DataInt f_Esercizio;
	DataMon f_SaldoContabile;
	DataMon f_SaldoPrecedente;
	DataBool f_SaldoDiffAccettato;
	DataMon f_ImportoRateo;
	DataBool f_RateoDaPrevisionale;
	DataMon f_TotaleAssestato;
	DataBool f_GiaImportato;
	DataMon f_BkpSaldoContabile;
	DataMon f_BkpImportoRateo;
	DataMon f_BkpTotaleAssestato;
};

// The grid's progressive totals, comparison values and the values before editing.
class Kvz_TEnhPianoBaseRighe : public Kvz_TPianoBaseRighe
{
	DECLARE_DYNCREATE(Kvz_TEnhPianoBaseRighe, Kvz_TPianoBaseRighe)
public:
	explicit Kvz_TEnhPianoBaseRighe(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataInt l_StatusBmp;
	DataMon l_ProgSaldoContabile;
	DataMon l_ProgImportoRateo;
	DataMon l_ProgTotaleAssestato;
	DataMon l_OldProgImportoRateo;
	DataMon l_ConsuntAnnoPrec;
	DataMon l_BudgetAnnoCorr;
	DataMon l_ProgConsuntAnnoPrec;
	DataMon l_ProgBudgetAnnoCorr;
	DataBool l_ConDettaglio;
	DataMon l_OldImportoRateo;
	DataMon l_OldTotaleAssestato;
};

// The same table on a given connection (another company's database); enumerations are read
// as the plain long integers stored.
class Kvz_TPBaseR_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TPBaseR_Ext, SqlRecord)
public:
	explicit Kvz_TPBaseR_Ext(BOOL bCallInit = TRUE);
	Kvz_TPBaseR_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TPianoBaseRighe::GetStaticName(); }
	void BindRecord() override;

	DataLng f_IDPianoBase;
	DataInt f_Mese;
	DataStr f_ContoKvz;
	DataStr f_CentroCommessa;
	DataLng f_TipoCentroComm;
	DataLng f_TipoMastro;
	DataInt f_Esercizio;
	DataMon f_SaldoContabile;
	DataMon f_SaldoPrecedente;
	DataBool f_SaldoDiffAccettato;
	DataMon f_ImportoRateo;
	DataBool f_RateoDaPrevisionale;
	DataMon f_TotaleAssestato;
	DataBool f_GiaImportato;
	DataMon f_BkpSaldoContabile;
	DataMon f_BkpImportoRateo;
	DataMon f_BkpTotaleAssestato;
};

class Jex_TRPianoBaseRighe : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRPianoBaseRighe, TableReader)
public:
	explicit Jex_TRPianoBaseRighe(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese);
	Kvz_TEnhPianoBaseRighe* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
	DataInt m_Mese;
};

class Jex_TUPianoBaseRighe : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUPianoBaseRighe, TableUpdater)
public:
	explicit Jex_TUPianoBaseRighe(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese, BOOL bLock);
	Kvz_TEnhPianoBaseRighe* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
	DataInt m_Mese;
};
