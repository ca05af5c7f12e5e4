#pragma once
// Financial budget month rows: amount and tax falling due in each month, also those carried
// from the previous year and those falling into the following one.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TBudgetFinanzRighe : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TBudgetFinanzRighe, SqlRecord)
public:
	explicit Kvz_TBudgetFinanzRighe(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_BudgetFinanzR"); }
	void BindRecord() override;

	DataLng f_IDBudgetFinanz;
	DataInt f_Mese;
	DataMon f_ImportoMese;
	DataMon f_ImpostaMese;
	DataMon f_ImportoMeseAnnoPrec;
	DataMon f_ImpostaMeseAnnoPrec;
	DataMon f_ImportoMeseAnnoSucc;
	DataMon f_ImpostaMeseAnnoSucc;
	DataLng f_IDBudget;
};

// The grid's row totals and the six amounts before editing.
class Kvz_TEnhBudgetFinanzRighe : public Kvz_TBudgetFinanzRighe
{
	DECLARE_DYNCREATE(Kvz_TEnhBudgetFinanzRighe, Kvz_TBudgetFinanzRighe)
public:
	explicit Kvz_TEnhBudgetFinanzRighe(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataMon l_TotaleRiga;
	DataMon l_TotaleRigaAP;
	DataMon l_OldImportoMese;
	DataMon l_OldImpostaMese;
	DataMon l_OldImportoMeseAnnoPrec;
	DataMon l_OldImpostaMeseAnnoPrec;
	DataMon l_OldImportoMeseAnnoSucc;
	DataMon l_OldImpostaMeseAnnoSucc;
};

class Jex_TRBudgetFinanzRighe : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRBudgetFinanzRighe, TableReader)
public:
	explicit Jex_TRBudgetFinanzRighe(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDBudgetFinanz, const DataInt& aMese);
	Kvz_TEnhBudgetFinanzRighe* GetRecord() const;

protected:
	DataLng m_IDBudgetFinanz;
	DataInt m_Mese;
};

class Jex_TUBudgetFinanzRighe : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUBudgetFinanzRighe, TableUpdater)
public:
	explicit Jex_TUBudgetFinanzRighe(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDBudgetFinanz, const DataInt& aMese, BOOL bLock);
	Kvz_TEnhBudgetFinanzRighe* GetRecord() const;

protected:
	DataLng m_IDBudgetFinanz;
	DataInt m_Mese;
};
