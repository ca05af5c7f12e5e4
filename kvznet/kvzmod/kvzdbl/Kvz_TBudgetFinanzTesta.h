#pragma once
// Financial budget headers: one per economic budget that has a financial budget.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TBudgetFinanzTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TBudgetFinanzTesta, SqlRecord)
public:
	explicit Kvz_TBudgetFinanzTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_BudgetFinanzT"); }
	void BindRecord() override;

	DataLng f_IDBudgetFinanz;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataInt f_Esercizio;
	DataStr f_ContoKvz;        // copied from the budget header, not upper-cased here
	DataStr f_CentroCommessa;  // likewise
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataMon f_TotBudget;
	DataMon f_TotTrimestre1;
	DataMon f_TotTrimestre2;
	DataMon f_TotTrimestre3;
	DataMon f_TotTrimestre4;
	DataLng f_IDBudget;
};

class Jex_TRBudgetFinanzTesta : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRBudgetFinanzTesta, TableReader)
public:
	explicit Jex_TRBudgetFinanzTesta(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDBudgetFinanz);
	Kvz_TBudgetFinanzTesta* GetRecord() const;

protected:
	DataLng m_IDBudgetFinanz;
};

class Jex_TUBudgetFinanzTesta : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUBudgetFinanzTesta, TableUpdater)
public:
	explicit Jex_TUBudgetFinanzTesta(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDBudgetFinanz, BOOL bLock);
	Kvz_TBudgetFinanzTesta* GetRecord() const;

protected:
	DataLng m_IDBudgetFinanz;
};
