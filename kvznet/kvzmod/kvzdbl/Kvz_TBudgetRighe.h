#pragma once
// Budget month rows: twelve under each budget header, with the amount of the month and the
// VAT code and payment terms that drive its cash flow. The valuation of formulas reads them
// by budget type, year, account, cost centre/job and month range.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TBudgetRighe : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TBudgetRighe, SqlRecord)
public:
	explicit Kvz_TBudgetRighe(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_BudgetR"); }
	void BindRecord() override;

	DataLng f_IDBudget;
	DataInt f_Mese;
	DataStr f_ContoKvz;
	DataEnum f_TipoCentroComm{E_KVZ_TIPOCENTROCOMM, 0};
	DataStr f_CentroCommessa;
	DataInt f_Esercizio;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataMon f_ImportoMese;
	DataStr f_CodIVA;
	DataStr f_CondPag;
};

// The grid's descriptions of the codes, the amount before editing and the running total.
class Kvz_TEnhBudgetRighe : public Kvz_TBudgetRighe
{
	DECLARE_DYNCREATE(Kvz_TEnhBudgetRighe, Kvz_TBudgetRighe)
public:
	explicit Kvz_TEnhBudgetRighe(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_DescrIVA;
	DataStr l_DescrCondPag;
	DataMon l_OldImportoMese;
	DataMon l_ProgressivoImporto;
};

// The same table on a given connection (another company's database); enumerations are read
// as the plain long integers stored.
class Kvz_TBudgetR_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TBudgetR_Ext, SqlRecord)
public:
	explicit Kvz_TBudgetR_Ext(BOOL bCallInit = TRUE);
	Kvz_TBudgetR_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TBudgetRighe::GetStaticName(); }
	void BindRecord() override;

	DataLng f_IDBudget;
	DataInt f_Mese;
	DataStr f_ContoKvz;
	DataLng f_TipoCentroComm;
	DataStr f_CentroCommessa;
	DataInt f_Esercizio;
	DataLng f_TipoBudget;
	DataMon f_ImportoMese;
	DataStr f_CodIVA;
	DataStr f_CondPag;
};

class Jex_TRBudgetRighe : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRBudgetRighe, TableReader)
public:
	explicit Jex_TRBudgetRighe(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDBudget, const DataInt& aMese);
	Kvz_TEnhBudgetRighe* GetRecord() const;

protected:
	DataLng m_IDBudget;
	DataInt m_Mese;
};

class Jex_TUBudgetRighe : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUBudgetRighe, TableUpdater)
public:
	explicit Jex_TUBudgetRighe(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDBudget, const DataInt& aMese, BOOL bLock);
	Kvz_TEnhBudgetRighe* GetRecord() const;

protected:
	DataLng m_IDBudget;
	DataInt m_Mese;
};
