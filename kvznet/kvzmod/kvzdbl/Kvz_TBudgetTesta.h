#pragma once
// Budget headers: one per grouped account (optionally one cost centre or job), fiscal year
// and budget type, with the yearly and quarterly totals and the link to the financial budget.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TBudgetTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TBudgetTesta, SqlRecord)
public:
	explicit Kvz_TBudgetTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_BudgetT"); }
	void BindRecord() override;

	DataLng f_IDBudget;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataStr f_ContoKvz;
	DataEnum f_TipoCentroComm{E_KVZ_TIPOCENTROCOMM, 0};
	DataStr f_CentroCommessa;
	DataInt f_Esercizio;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataStr f_Descrizione;
	DataStr f_Formula;
	DataMon f_TotBudget;
	DataMon f_TotTrimestre1;
	DataMon f_TotTrimestre2;
	DataMon f_TotTrimestre3;
	DataMon f_TotTrimestre4;
	DataLng f_IDBudgetFinanz;  // 0: no financial budget
	DataEnum f_TipoRipartizImporti{E_KVZ_TIPORIPARTIZIMPORTI, 0};
};

class Jex_TRBudgetTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRBudgetTesta, TableReader)
public:
	explicit Jex_TRBudgetTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDBudget);
	Kvz_TBudgetTesta* GetRecord() const;

protected:
	DataLng m_IDBudget;
};

class Jex_TUBudgetTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUBudgetTesta, TableUpdater)
public:
	explicit Jex_TUBudgetTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDBudget, BOOL bLock);
	Kvz_TBudgetTesta* GetRecord() const;

protected:
	DataLng m_IDBudget;
};
