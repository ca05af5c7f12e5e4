#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"

namespace {
const char* const kSource = "Kvz_TBudgetRighe";

// The record and the record on a given connection share the table's columns.
template <class Rec>
void SetUpperCaseColumns(Rec& r)
{
	r.f_ContoKvz.SetUpperCase(TRUE);
	r.f_CentroCommessa.SetUpperCase(TRUE);
	r.f_CodIVA.SetUpperCase(TRUE);
	r.f_CondPag.SetUpperCase(TRUE);
}

template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("IDBudget", r.f_IDBudget);
	b.Key("Mese", r.f_Mese);
	b.Col("ContoKvz", r.f_ContoKvz);
	b.Col("TipoCentroComm", r.f_TipoCentroComm);
	b.Col("CentroCommessa", r.f_CentroCommessa);
	b.Col("Esercizio", r.f_Esercizio);
	b.Col("TipoBudget", r.f_TipoBudget);
	b.Col("ImportoMese", r.f_ImportoMese);
	b.Col("CodIVA", r.f_CodIVA);
	b.Col("CondPag", r.f_CondPag);
}
}  // namespace

Kvz_TBudgetRighe::Kvz_TBudgetRighe(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TBudgetRighe::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
	// The valuation filters on year, account (equal, range or pattern), cost centre/job and
	// a month range, besides the budget type.
	AddIndex({"Esercizio", "ContoKvz", "CentroCommessa", "Mese"});
}

Kvz_TEnhBudgetRighe::Kvz_TEnhBudgetRighe(BOOL bCallInit) : Kvz_TBudgetRighe(FALSE)
{
	Kvz_TEnhBudgetRighe::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhBudgetRighe::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "DesIVA", l_DescrIVA, 32);
	BIND_LOCAL_STR(b, "DesCondP", l_DescrCondPag, 32);
	BIND_LOCAL(b, "OldImp", l_OldImportoMese, 0);
	BIND_LOCAL(b, "ProgImp", l_ProgressivoImporto, 0);
	b.End();
}

Kvz_TBudgetR_Ext::Kvz_TBudgetR_Ext(BOOL bCallInit) : Kvz_TBudgetR_Ext(nullptr, bCallInit) {}

Kvz_TBudgetR_Ext::Kvz_TBudgetR_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TBudgetR_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
}

Jex_TRBudgetRighe::Jex_TRBudgetRighe(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhBudgetRighe::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDBudget", m_IDBudget);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TRBudgetRighe::FindRecord(const DataLng& aIDBudget, const DataInt& aMese)
{
	m_IDBudget = aIDBudget;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TEnhBudgetRighe* Jex_TRBudgetRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhBudgetRighe>("m_pRecord->IsKindOf((Kvz_TEnhBudgetRighe::GetThisClass()))",
											"Jex_TRBudgetRighe::GetRecord", kSource);
}

Jex_TUBudgetRighe::Jex_TUBudgetRighe(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhBudgetRighe::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDBudget", m_IDBudget);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TUBudgetRighe::FindRecord(const DataLng& aIDBudget, const DataInt& aMese, BOOL bLock)
{
	m_IDBudget = aIDBudget;
	m_Mese = aMese;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhBudgetRighe* Jex_TUBudgetRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhBudgetRighe>("m_pRecord->IsKindOf((Kvz_TEnhBudgetRighe::GetThisClass()))",
											"Jex_TUBudgetRighe::GetRecord", kSource);
}
