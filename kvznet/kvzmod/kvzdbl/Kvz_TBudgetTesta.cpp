#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"

namespace {
const char* const kSource = "Kvz_TBudgetTesta";
}

Kvz_TBudgetTesta::Kvz_TBudgetTesta(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ContoKvz.SetUpperCase(TRUE);
	f_CentroCommessa.SetUpperCase(TRUE);
	f_Formula.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TBudgetTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDBudget", f_IDBudget);
	b.Col("DataCreazione", f_DataCreazione);
	b.Col("DataUltModifica", f_DataUltModifica);
	b.Col("ContoKvz", f_ContoKvz);
	b.Col("TipoCentroComm", f_TipoCentroComm);
	b.Col("CentroCommessa", f_CentroCommessa);
	b.Col("Esercizio", f_Esercizio);
	b.Col("TipoBudget", f_TipoBudget);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Formula", f_Formula);
	b.Col("TotBudget", f_TotBudget);
	b.Col("TotTrimestre1", f_TotTrimestre1);
	b.Col("TotTrimestre2", f_TotTrimestre2);
	b.Col("TotTrimestre3", f_TotTrimestre3);
	b.Col("TotTrimestre4", f_TotTrimestre4);
	b.Col("IDBudgetFinanz", f_IDBudgetFinanz);
	b.Col("TipoRipartizImporti", f_TipoRipartizImporti);
	b.End();
	// Headers are looked up by year, account and cost centre/job (then kind and budget type).
	AddIndex({"Esercizio", "ContoKvz", "CentroCommessa"});
}

Jex_TRBudgetTesta::Jex_TRBudgetTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TBudgetTesta::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDBudget", m_IDBudget);
}

TableReader::FindResult Jex_TRBudgetTesta::FindRecord(const DataLng& aIDBudget)
{
	m_IDBudget = aIDBudget;
	return TableReader::FindRecord();
}

Kvz_TBudgetTesta* Jex_TRBudgetTesta::GetRecord() const
{
	return TypedRecord<Kvz_TBudgetTesta>("m_pRecord->IsKindOf((Kvz_TBudgetTesta::GetThisClass()))",
										 "Jex_TRBudgetTesta::GetRecord", kSource);
}

Jex_TUBudgetTesta::Jex_TUBudgetTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TBudgetTesta::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDBudget", m_IDBudget);
}

TableReader::FindResult Jex_TUBudgetTesta::FindRecord(const DataLng& aIDBudget, BOOL bLock)
{
	m_IDBudget = aIDBudget;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TBudgetTesta* Jex_TUBudgetTesta::GetRecord() const
{
	return TypedRecord<Kvz_TBudgetTesta>("m_pRecord->IsKindOf((Kvz_TBudgetTesta::GetThisClass()))",
										 "Jex_TUBudgetTesta::GetRecord", kSource);
}
