#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TCodiciRiclassificato";

// The record and the record on a given connection share the table's columns.
template <class Rec>
void SetUpperCaseColumns(Rec& r)
{
	r.f_ModelloRiclassific.SetUpperCase(TRUE);
	r.f_CodRiclassificato.SetUpperCase(TRUE);
}

template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("CodRiclassificato", r.f_CodRiclassificato).Code(kKvzLenCodice, true);
	b.Col("Descrizione", r.f_Descrizione).Text(kKvzLenDescrizione);
	b.Col("TipoRiga", r.f_TipoRiga);
	b.Col("TipoDatoRitorno", r.f_TipoDatoRitorno);
	b.Col("DaRiportare", r.f_DaRiportare);
}
}  // namespace

// ---- records ---------------------------------------------------------------------------------

Kvz_TCodiciRiclassificato::Kvz_TCodiciRiclassificato(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodiciRiclassificato::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
}

Kvz_TCodiciRiclassificato_Ext::Kvz_TCodiciRiclassificato_Ext(BOOL bCallInit)
	: Kvz_TCodiciRiclassificato_Ext(nullptr, bCallInit)
{
}

Kvz_TCodiciRiclassificato_Ext::Kvz_TCodiciRiclassificato_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodiciRiclassificato_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
}

// ---- updater -----------------------------------------------------------------------------------

Kvz_TUCodiciRiclassificato::Kvz_TUCodiciRiclassificato(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TCodiciRiclassificato::GetThisClass(), pDocument, pMessages)
{
	// Only the code decides whether to query.
	m_Keys.Add("p4", "Esercizio", m_Esercizio, false);
	m_Keys.Add("p1", "CodRiclassificato", m_CodRiclassificato);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello, false);
}

TableReader::FindResult Kvz_TUCodiciRiclassificato::FindRecord(const DataInt& aEsercizio,
															   const DataStr& aCodRiclassificato,
															   const DataStr& aModello, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_CodRiclassificato = aCodRiclassificato;
	m_Modello = aModello;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TCodiciRiclassificato* Kvz_TUCodiciRiclassificato::GetRecord() const
{
	return TypedRecord<Kvz_TCodiciRiclassificato>("m_pRecord->IsKindOf((Kvz_TCodiciRiclassificato::GetThisClass()))",
												  "Kvz_TUCodiciRiclassificato::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLCodiciRiclassificato::KVZ_HKLCodiciRiclassificato()
	: HotKeyLink(Kvz_TCodiciRiclassificato::GetThisClass(), CString(), nullptr)
{
	EnableAddOnFly(TRUE);
	MustExistData(TRUE);
}

Kvz_TCodiciRiclassificato* KVZ_HKLCodiciRiclassificato::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TCodiciRiclassificato::GetThisClass())),
						 "KVZ_HKLCodiciRiclassificato::GetRecord", kSource);
	return static_cast<Kvz_TCodiciRiclassificato*>(p);
}

DataObj* KVZ_HKLCodiciRiclassificato::GetDataObj() const
{
	return &GetRecord()->f_CodRiclassificato;
}

void KVZ_HKLCodiciRiclassificato::OnDefineQuery(int nSelectionType)
{
	Kvz_TCodiciRiclassificato* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p4", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p3", pRec->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(pRec->f_ModelloRiclassific);
	DefineCodeLookup(*m_pTable, nSelectionType, "p2", pRec->f_CodRiclassificato, pRec->f_Descrizione);
}

void KVZ_HKLCodiciRiclassificato::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())),
						 "KVZ_HKLCodiciRiclassificato::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p4", m_SelEsercizio);
	m_pTable->SetParamValue("p3", m_SelModello);
	PrepareCodeLookup(*m_pTable, nSelectionType, "p2", *pValue);
}
