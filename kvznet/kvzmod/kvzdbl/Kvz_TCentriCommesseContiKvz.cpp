#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"

namespace {
const char* const kSource = "Kvz_TCentriCommesseContiKvz";
}

// ---- records ---------------------------------------------------------------------------------

Kvz_TCentriCommesseContiKvz::Kvz_TCentriCommesseContiKvz(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ContoKvz.SetUpperCase(TRUE);
	f_CentroCommessa.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCentriCommesseContiKvz::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ContoKvz", f_ContoKvz);
	b.Key("CentroCommessa", f_CentroCommessa);
	b.Col("Descrizione", f_Descrizione);
	b.Key("Tipo", f_Tipo);
	b.Col("InseritoManualmente", f_InseritoManualmente);
	b.Col("PercRipartizione", f_PercRipartizione);
	b.Col("Nota", f_Nota);
	b.Col("InseritoDaSimbolo", f_InseritoDaSimbolo);
	b.Col("SaldoVariato", f_SaldoVariato);
	b.Col("PercRipartizioneBudget", f_PercRipartizioneBudget);
	BIND_LOCAL(b, "StatusBmpxx", l_StatusBmp, 0);
	b.End();
	// The splits of one cost centre or job across the year's accounts.
	AddIndex({"Esercizio", "CentroCommessa"});
}

Kvz_TEnhCentriCommesseContiKvz::Kvz_TEnhCentriCommesseContiKvz(BOOL bCallInit) : Kvz_TCentriCommesseContiKvz(FALSE)
{
	Kvz_TEnhCentriCommesseContiKvz::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhCentriCommesseContiKvz::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "SaldoDelMese", l_SaldoDelMese, 0);
	BIND_LOCAL(b, "IDPBase", l_IDPianoBase, 0);
	BIND_LOCAL_STR(b, "Tmp", l_Tmp, 3);
	BIND_LOCAL(b, "Modif", l_Modified, 0);
	BIND_LOCAL(b, "Segno", l_SegnoConto, 0);
	b.End();
}

Kvz_TCentriCommesseConti_Ext::Kvz_TCentriCommesseConti_Ext(BOOL bCallInit)
	: Kvz_TCentriCommesseConti_Ext(nullptr, bCallInit)
{
}

Kvz_TCentriCommesseConti_Ext::Kvz_TCentriCommesseConti_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	f_ContoKvz.SetUpperCase(TRUE);
	f_CentroCommessa.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCentriCommesseConti_Ext::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ContoKvz", f_ContoKvz);
	b.Key("CentroCommessa", f_CentroCommessa);
	b.Col("Descrizione", f_Descrizione);
	b.Key("Tipo", f_Tipo);
	b.Col("InseritoManualmente", f_InseritoManualmente);
	b.Col("PercRipartizione", f_PercRipartizione);
	b.Col("Nota", f_Nota);
	b.Col("InseritoDaSimbolo", f_InseritoDaSimbolo);
	b.Col("SaldoVariato", f_SaldoVariato);
	b.Col("PercRipartizioneBudget", f_PercRipartizioneBudget);
	BIND_LOCAL(b, "StatusBmp", l_StatusBmp, 0);
	b.End();
}

// ---- updater -----------------------------------------------------------------------------------

Kvz_TUCentriCommesseContiKvz::Kvz_TUCentriCommesseContiKvz(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TCentriCommesseContiKvz::GetThisClass(), pDocument, pMessages)
{
	// Only the year decides whether to query.
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ContoKvz", m_Conto, false);
	m_Keys.Add("p3", "CentroCommessa", m_CentroCommessa, false);
	m_Keys.Add("p4", "Tipo", m_Tipo, false);
}

TableReader::FindResult Kvz_TUCentriCommesseContiKvz::FindRecord(const DataInt& aEsercizio, const DataStr& aConto,
																 const DataStr& aCentroCommessa, const DataEnum& aTipo,
																 BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_Conto = aConto;
	m_CentroCommessa = aCentroCommessa;
	m_Tipo = aTipo;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TCentriCommesseContiKvz* Kvz_TUCentriCommesseContiKvz::GetRecord() const
{
	return TypedRecord<Kvz_TCentriCommesseContiKvz>(
		"m_pRecord->IsKindOf((Kvz_TCentriCommesseContiKvz::GetThisClass()))", "Kvz_TUCentriCommesseContiKvz::GetRecord",
		kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLCentriCommContiKvz::Kvz_HKLCentriCommContiKvz()
	: HotKeyLink(Kvz_TCentriCommesseContiKvz::GetThisClass(), "KvzMod.KvzDocuments.CentriCommContiKvz", nullptr)
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_TCentriCommesseContiKvz* Kvz_HKLCentriCommContiKvz::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TCentriCommesseContiKvz::GetThisClass())),
						 "Kvz_HKLCentriCommContiKvz::GetRecord", kSource);
	return static_cast<Kvz_TCentriCommesseContiKvz*>(p);
}

DataObj* Kvz_HKLCentriCommContiKvz::GetDataObj() const
{
	return &GetRecord()->f_CentroCommessa;
}

void Kvz_HKLCentriCommContiKvz::OnDefineQuery(int nSelectionType)
{
	Kvz_TCentriCommesseContiKvz* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p2", pRec->f_ContoKvz);
	m_pTable->AddFilterColumn(pRec->f_ContoKvz);
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->AddParam("pConto", pRec->f_CentroCommessa);
		m_pTable->AddFilterColumn(pRec->f_CentroCommessa);
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
	{
		DataStr& column = nSelectionType == UPPER_BUTTON ? pRec->f_CentroCommessa : pRec->f_Descrizione;
		m_pTable->AddSortColumn(column, FALSE);
		m_pTable->AddParam("pConto", column);
		m_pTable->AddFilterLike(column);
		break;
	}
	default:
		break;
	}
}

void Kvz_HKLCentriCommContiKvz::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())),
						 "Kvz_HKLCentriCommContiKvz::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p1", m_SelEsercizio);
	m_pTable->SetParamValue("p2", m_SelContoKvz);
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->SetParamValue("pConto", *pValue);
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
		m_pTable->SetParamLike("pConto", *pValue);
		break;
	default:
		break;
	}
}
