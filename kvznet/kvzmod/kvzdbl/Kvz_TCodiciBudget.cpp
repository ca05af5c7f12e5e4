#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvges/CodeLookup.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_TCodiciBudget";
}

Kvz_TCodiciBudget::Kvz_TCodiciBudget(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodiceBudget.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodiciBudget::BindRecord()
{
	RecordBinder b(*this);
	b.Key("CodiceBudget", f_CodiceBudget).Code(kKvzLenCodice, true);
	b.Col("Descrizione", f_Descrizione).Text(kKvzLenDescrizione);
	b.End();
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLCodiciBudget::Kvz_HKLCodiciBudget()
	: HotKeyLink(Kvz_TCodiciBudget::GetThisClass(), "KvzMod.KvzDocuments.DCodBudget", nullptr)
{
	EnableAddOnFly(TRUE);
	MustExistData(TRUE);
}

Kvz_TCodiciBudget* Kvz_HKLCodiciBudget::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TCodiciBudget::GetThisClass())), "Kvz_HKLCodiciBudget::GetRecord",
						 kSource);
	return static_cast<Kvz_TCodiciBudget*>(p);
}

DataObj* Kvz_HKLCodiciBudget::GetDataObj() const
{
	return &GetRecord()->f_CodiceBudget;
}

void Kvz_HKLCodiciBudget::OnDefineQuery(int nSelectionType)
{
	Kvz_TCodiciBudget* pRec = GetRecord();
	m_pTable->SelectAll();
	DefineCodeLookup(*m_pTable, nSelectionType, "p1", pRec->f_CodiceBudget, pRec->f_Descrizione);
}

void Kvz_HKLCodiciBudget::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "Kvz_HKLCodiciBudget::OnPrepareQuery",
						 kSource);
	PrepareCodeLookup(*m_pTable, nSelectionType, "p1", *pValue);
}
