#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzTesta.h"

namespace {
const char* const kSource = "Kvz_TBudgetFinanzTesta";
}

Kvz_TBudgetFinanzTesta::Kvz_TBudgetFinanzTesta(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TBudgetFinanzTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDBudgetFinanz", f_IDBudgetFinanz);
	b.Col("DataCreazione", f_DataCreazione);
	b.Col("DataUltModifica", f_DataUltModifica);
	b.Col("Esercizio", f_Esercizio);
	b.Col("ContoKvz", f_ContoKvz);
	b.Col("CentroCommessa", f_CentroCommessa);
	b.Col("TipoBudget", f_TipoBudget);
	b.Col("TotBudget", f_TotBudget);
	b.Col("TotTrimestre1", f_TotTrimestre1);
	b.Col("TotTrimestre2", f_TotTrimestre2);
	b.Col("TotTrimestre3", f_TotTrimestre3);
	b.Col("TotTrimestre4", f_TotTrimestre4);
	b.Col("IDBudget", f_IDBudget);
	b.End();
	// The previous year's financial budget is looked up by year, account and cost centre/job.
	AddIndex({"Esercizio", "ContoKvz", "CentroCommessa"});
}

Jex_TRBudgetFinanzTesta::Jex_TRBudgetFinanzTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TBudgetFinanzTesta::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDBudgetFinanz", m_IDBudgetFinanz);
}

TableReader::FindResult Jex_TRBudgetFinanzTesta::FindRecord(const DataLng& aIDBudgetFinanz)
{
	m_IDBudgetFinanz = aIDBudgetFinanz;
	return TableReader::FindRecord();
}

Kvz_TBudgetFinanzTesta* Jex_TRBudgetFinanzTesta::GetRecord() const
{
	return TypedRecord<Kvz_TBudgetFinanzTesta>("m_pRecord->IsKindOf((Kvz_TBudgetFinanzTesta::GetThisClass()))",
											   "Jex_TRBudgetFinanzTesta::GetRecord", kSource);
}

Jex_TUBudgetFinanzTesta::Jex_TUBudgetFinanzTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TBudgetFinanzTesta::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDBudgetFinanz", m_IDBudgetFinanz);
}

TableReader::FindResult Jex_TUBudgetFinanzTesta::FindRecord(const DataLng& aIDBudgetFinanz, BOOL bLock)
{
	m_IDBudgetFinanz = aIDBudgetFinanz;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TBudgetFinanzTesta* Jex_TUBudgetFinanzTesta::GetRecord() const
{
	return TypedRecord<Kvz_TBudgetFinanzTesta>("m_pRecord->IsKindOf((Kvz_TBudgetFinanzTesta::GetThisClass()))",
											   "Jex_TUBudgetFinanzTesta::GetRecord", kSource);
}
