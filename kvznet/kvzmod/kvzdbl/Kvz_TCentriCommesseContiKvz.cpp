#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"

#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TCentriCommesseContiKvz";

// The record and the record on a given connection share the table's columns.
template <class Rec>
void SetUpperCaseColumns(Rec& r)
{
	r.f_ContoKvz.SetUpperCase(TRUE);
	r.f_CentroCommessa.SetUpperCase(TRUE);
}

template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("Esercizio", r.f_Esercizio);
	b.Key("ContoKvz", r.f_ContoKvz);
	b.Key("CentroCommessa", r.f_CentroCommessa);
	b.Col("Descrizione", r.f_Descrizione);
	b.Key("Tipo", r.f_Tipo);
	b.Col("InseritoManualmente", r.f_InseritoManualmente);
	b.Col("PercRipartizione", r.f_PercRipartizione);
	b.Col("Nota", r.f_Nota);
	b.Col("InseritoDaSimbolo", r.f_InseritoDaSimbolo);
	b.Col("SaldoVariato", r.f_SaldoVariato);
	b.Col("PercRipartizioneBudget", r.f_PercRipartizioneBudget);
}
}  // namespace

// ---- records ---------------------------------------------------------------------------------

Kvz_TCentriCommesseContiKvz::Kvz_TCentriCommesseContiKvz(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCentriCommesseContiKvz::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
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
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCentriCommesseConti_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
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
	DefineCodeLookup(*m_pTable, nSelectionType, "pConto", pRec->f_CentroCommessa, pRec->f_Descrizione);
}

void Kvz_HKLCentriCommContiKvz::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())),
						 "Kvz_HKLCentriCommContiKvz::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p1", m_SelEsercizio);
	m_pTable->SetParamValue("p2", m_SelContoKvz);
	PrepareCodeLookup(*m_pTable, nSelectionType, "pConto", *pValue);
}
