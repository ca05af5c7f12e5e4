#include "kvznet/kvzmod/kvzdbl/Kvz_ViewCdcCommesse.h"

#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_ViewCdcCommesse";
}

// ---- view records --------------------------------------------------------------------------

Kvz_ViewCdcCommesse::Kvz_ViewCdcCommesse() : SqlRecordView(GetStaticName(), nullptr)
{
	BindRecord();
}

void Kvz_ViewCdcCommesse::BindRecord()
{
	// A view has no key and is never created from the record.
	RecordBinder b(*this);
	b.Col("Esercizio", f_Esercizio);
	b.Col("CentroCommessa", f_CentroCommessa);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Tipo", f_Tipo);
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
	b.Col("Esercizio", f_Esercizio);
	b.Col("CentroCommessa", f_CentroCommessa);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Tipo", f_Tipo);
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
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->AddParam("Conto", pRec->f_CentroCommessa);
		m_pTable->AddFilterColumn(pRec->f_CentroCommessa);
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
	{
		DataStr& column = nSelectionType == UPPER_BUTTON ? pRec->f_CentroCommessa : pRec->f_Descrizione;
		m_pTable->AddSortColumn(column, FALSE);
		m_pTable->AddParam("Conto", column);
		m_pTable->AddFilterLike(column);
		break;
	}
	default:
		break;
	}
}

void Kvz_HKLCentriComm::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "Kvz_HKLCentriComm::OnPrepareQuery",
						 kSource);
	m_pTable->SetParamValue("Cod1", m_SelEsercizio);
	if (m_SelPerTipo)
		m_pTable->SetParamValue("Cod2", m_SelTipo);
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->SetParamValue("Conto", *pValue);
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
		m_pTable->SetParamLike("Conto", *pValue);
		break;
	default:
		break;
	}
}
