#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzRighe.h"

namespace {
const char* const kSource = "Kvz_TBudgetFinanzRighe";
}

Kvz_TBudgetFinanzRighe::Kvz_TBudgetFinanzRighe(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TBudgetFinanzRighe::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDBudgetFinanz", f_IDBudgetFinanz);
	b.Key("Mese", f_Mese);
	b.Col("ImportoMese", f_ImportoMese);
	b.Col("ImpostaMese", f_ImpostaMese);
	b.Col("ImportoMeseAnnoPrec", f_ImportoMeseAnnoPrec);
	b.Col("ImpostaMeseAnnoPrec", f_ImpostaMeseAnnoPrec);
	b.Col("ImportoMeseAnnoSucc", f_ImportoMeseAnnoSucc);
	b.Col("ImpostaMeseAnnoSucc", f_ImpostaMeseAnnoSucc);
	b.Col("IDBudget", f_IDBudget);
	b.End();
	// The budget document reads the financial rows of its economic budget.
	AddIndex({"IDBudget", "Mese"});
}

Kvz_TEnhBudgetFinanzRighe::Kvz_TEnhBudgetFinanzRighe(BOOL bCallInit) : Kvz_TBudgetFinanzRighe(FALSE)
{
	Kvz_TEnhBudgetFinanzRighe::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhBudgetFinanzRighe::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "TotaleRiga", l_TotaleRiga, 0);
	BIND_LOCAL(b, "TotaleRigaAP", l_TotaleRigaAP, 0);
	BIND_LOCAL(b, "OldImportoMese", l_OldImportoMese, 0);
	BIND_LOCAL(b, "OldImpostaMese", l_OldImpostaMese, 0);
	BIND_LOCAL(b, "OldImportoMeseAnnoPrec", l_OldImportoMeseAnnoPrec, 0);
	BIND_LOCAL(b, "OldImpostaMeseAnnoPrec", l_OldImpostaMeseAnnoPrec, 0);
	BIND_LOCAL(b, "OldImportoMeseAnnoSucc", l_OldImportoMeseAnnoSucc, 0);
	BIND_LOCAL(b, "OldImpostaMeseAnnoSucc", l_OldImpostaMeseAnnoSucc, 0);
	b.End();
}

Jex_TRBudgetFinanzRighe::Jex_TRBudgetFinanzRighe(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhBudgetFinanzRighe::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDBudgetFinanz", m_IDBudgetFinanz);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TRBudgetFinanzRighe::FindRecord(const DataLng& aIDBudgetFinanz, const DataInt& aMese)
{
	m_IDBudgetFinanz = aIDBudgetFinanz;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TEnhBudgetFinanzRighe* Jex_TRBudgetFinanzRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhBudgetFinanzRighe>("m_pRecord->IsKindOf((Kvz_TEnhBudgetFinanzRighe::GetThisClass()))",
												  "Jex_TRBudgetFinanzRighe::GetRecord", kSource);
}

Jex_TUBudgetFinanzRighe::Jex_TUBudgetFinanzRighe(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhBudgetFinanzRighe::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDBudgetFinanz", m_IDBudgetFinanz);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TUBudgetFinanzRighe::FindRecord(const DataLng& aIDBudgetFinanz, const DataInt& aMese,
															BOOL bLock)
{
	m_IDBudgetFinanz = aIDBudgetFinanz;
	m_Mese = aMese;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhBudgetFinanzRighe* Jex_TUBudgetFinanzRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhBudgetFinanzRighe>("m_pRecord->IsKindOf((Kvz_TEnhBudgetFinanzRighe::GetThisClass()))",
												  "Jex_TUBudgetFinanzRighe::GetRecord", kSource);
}
