#include "kvznet/kvzmod/kvzdbl/Kvz_ViewCdcCommesse.h"

#include "platform/plvges/CodeLookup.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_ViewCdcCommesse";

// Both view records read the same columns. A view has no key and is never created from the record.
template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Col("Esercizio", r.f_Esercizio);
	b.Col("CentroCommessa", r.f_CentroCommessa);
	b.Col("Descrizione", r.f_Descrizione);
	b.Col("Tipo", r.f_Tipo);
}
}  // namespace

// ---- view records --------------------------------------------------------------------------

Kvz_ViewCdcCommesse::Kvz_ViewCdcCommesse() : SqlRecordView(GetStaticName(), nullptr)
{
	BindRecord();
}

void Kvz_ViewCdcCommesse::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	BIND_LOCAL(b, "Sel", l_Sel, 0);
	BIND_LOCAL(b, "OldSel", l_OldSel, 0);
	BIND_LOCAL(b, "SelContiM", l_SelContiModif, 0);
	BIND_LOCAL(b, "mod1", l_SegnoConto, 0);
	BIND_LOCAL(b, "mod2", l_ContatoreGenerale, 0);
	BIND_LOCAL(b, "mod3", l_ContatoreDettaglio, 0);
}

Kvz_ViewCdcCommesse_Ext::Kvz_ViewCdcCommesse_Ext(SqlConnection* pConnection)
	: SqlRecordView(GetStaticName(), pConnection)
{
	BindRecord();
}

void Kvz_ViewCdcCommesse_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLCentriComm::Kvz_HKLCentriComm() : HotKeyLink(Kvz_ViewCdcCommesse::GetThisClass(), CString(), nullptr)
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_ViewCdcCommesse* Kvz_HKLCentriComm::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_ViewCdcCommesse::GetThisClass())), "Kvz_HKLCentriComm::GetRecord",
						 kSource);
	return static_cast<Kvz_ViewCdcCommesse*>(p);
}

DataObj* Kvz_HKLCentriComm::GetDataObj() const
{
	return &GetRecord()->f_CentroCommessa;
}

void Kvz_HKLCentriComm::OnDefineQuery(int nSelectionType)
{
	Kvz_ViewCdcCommesse* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("Cod1", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	if (m_SelPerTipo)
	{
		m_pTable->AddParam("Cod2", pRec->f_Tipo);
		m_pTable->AddFilterColumn(pRec->f_Tipo);
	}
	DefineCodeLookup(*m_pTable, nSelectionType, "Conto", pRec->f_CentroCommessa, pRec->f_Descrizione);
}

void Kvz_HKLCentriComm::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "Kvz_HKLCentriComm::OnPrepareQuery",
						 kSource);
	m_pTable->SetParamValue("Cod1", m_SelEsercizio);
	if (m_SelPerTipo)
		m_pTable->SetParamValue("Cod2", m_SelTipo);
	PrepareCodeLookup(*m_pTable, nSelectionType, "Conto", *pValue);
}
