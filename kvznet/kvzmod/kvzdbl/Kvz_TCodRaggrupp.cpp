#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvges/CodeLookup.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_TCodRaggrupp";
}

Kvz_TCodRaggrupp::Kvz_TCodRaggrupp(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodRaggrupp.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodRaggrupp::BindRecord()
{
	RecordBinder b(*this);
	b.Key("CodRaggrupp", f_CodRaggrupp).Code(kKvzLenCodice, true);
	b.Col("Descrizione", f_Descrizione).Text(kKvzLenDescrizione);
	b.End();
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLCodRaggrupp::Kvz_HKLCodRaggrupp()
	: HotKeyLink(Kvz_TCodRaggrupp::GetThisClass(), "KvzMod.KvzDocuments.DCodRaggruppamenti", nullptr)
{
	EnableAddOnFly(TRUE);
	MustExistData(TRUE);
}

Kvz_TCodRaggrupp* Kvz_HKLCodRaggrupp::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TCodRaggrupp::GetThisClass())), "Kvz_HKLCodRaggrupp::GetRecord",
						 kSource);
	return static_cast<Kvz_TCodRaggrupp*>(p);
}

DataObj* Kvz_HKLCodRaggrupp::GetDataObj() const
{
	return &GetRecord()->f_CodRaggrupp;
}

void Kvz_HKLCodRaggrupp::OnDefineQuery(int nSelectionType)
{
	Kvz_TCodRaggrupp* pRec = GetRecord();
	m_pTable->SelectAll();
	DefineCodeLookup(*m_pTable, nSelectionType, "p1", pRec->f_CodRaggrupp, pRec->f_Descrizione);
}

void Kvz_HKLCodRaggrupp::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "Kvz_HKLCodRaggrupp::OnPrepareQuery",
						 kSource);
	PrepareCodeLookup(*m_pTable, nSelectionType, "p1", *pValue);
}
