#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvges/CodeLookup.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_TCodExtracontabiliTesta";
}

Kvz_TCodExtracontabiliTesta::Kvz_TCodExtracontabiliTesta(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodExtracont.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodExtracontabiliTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("CodExtracont", f_CodExtracont).Code(kKvzLenCodice, true);
	b.Col("Descrizione", f_Descrizione).Text(kKvzLenDescrizione);
	b.End();
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLCodiciExtracont::KVZ_HKLCodiciExtracont()
	: HotKeyLink(Kvz_TCodExtracontabiliTesta::GetThisClass(), "KvzMod.KvzDocuments.DCodExtracont", nullptr)
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_TCodExtracontabiliTesta* KVZ_HKLCodiciExtracont::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TCodExtracontabiliTesta::GetThisClass())),
						 "KVZ_HKLCodiciExtracont::GetRecord", kSource);
	return static_cast<Kvz_TCodExtracontabiliTesta*>(p);
}

DataObj* KVZ_HKLCodiciExtracont::GetDataObj() const
{
	return &GetRecord()->f_CodExtracont;
}

void KVZ_HKLCodiciExtracont::OnDefineQuery(int nSelectionType)
{
	Kvz_TCodExtracontabiliTesta* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	DefineCodeLookup(*m_pTable, nSelectionType, "p3", pRec->f_CodExtracont, pRec->f_Descrizione);
}

void KVZ_HKLCodiciExtracont::OnPrepareQuery(DataObj* pDataObj, int nSelectionType)
{
	if (!(pDataObj && pDataObj->IsKindOf(DataStr::GetThisClass())))
		ASSERT_RELEASE_FAILED("pDataObj->IsKindOf((DataStr::GetThisClass()))", "KVZ_HKLCodiciExtracont::OnPrepareQuery",
							  kSource);
	m_pTable->SetParamValue("p2", m_SelEsercizio);
	if (!pDataObj)
		return;
	PrepareCodeLookup(*m_pTable, nSelectionType, "p3", *pDataObj);
}
