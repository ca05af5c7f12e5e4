#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TRiclassificazioneTesta";

// The columns both records bind; another company's table has no TuttiOperatori after them.
template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific).Code(kKvzLenCodice, true);
	b.Col("Descrizione", r.f_Descrizione).Text(kKvzLenDescrizione);
	b.Col("Priorita", r.f_Priorita);
	b.Col("DataCreazione", r.f_DataCreazione);
	b.Col("DataUltModifica", r.f_DataUltModifica);
	b.Col("DataInizio", r.f_DataInizio);
	b.Col("DataFine", r.f_DataFine);
	b.Col("TipoModello", r.f_TipoModello);
	b.Col("FormulaCalcParametrico", r.f_FormulaCalcParametrico);
}
}  // namespace

// ---- records ---------------------------------------------------------------------------------

Kvz_TRiclassificazioneTesta::Kvz_TRiclassificazioneTesta(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificazioneTesta::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.Col("TuttiOperatori", f_TuttiOperatori);
	BIND_LOCAL(b, "Selezionata", l_Selezionata, 0);
	b.End();
}

Kvz_TModRiclassTeste_Ext::Kvz_TModRiclassTeste_Ext(BOOL bCallInit) : Kvz_TModRiclassTeste_Ext(nullptr, bCallInit) {}

Kvz_TModRiclassTeste_Ext::Kvz_TModRiclassTeste_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TModRiclassTeste_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRRiclassificazioneTesta::Kvz_TRRiclassificazioneTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificazioneTesta::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
}

TableReader::FindResult Kvz_TRRiclassificazioneTesta::FindRecord(const DataInt& aEsercizio, const DataStr& aModello)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	return TableReader::FindRecord();
}

Kvz_TRiclassificazioneTesta* Kvz_TRRiclassificazioneTesta::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificazioneTesta>(
		"m_pRecord->IsKindOf((Kvz_TRiclassificazioneTesta::GetThisClass()))", "Kvz_TRRiclassificazioneTesta::GetRecord",
		kSource);
}

Kvz_TURiclassificazioneTesta::Kvz_TURiclassificazioneTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TRiclassificazioneTesta::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
}

TableReader::FindResult Kvz_TURiclassificazioneTesta::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
																 BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TRiclassificazioneTesta* Kvz_TURiclassificazioneTesta::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificazioneTesta>(
		"m_pRecord->IsKindOf((Kvz_TRiclassificazioneTesta::GetThisClass()))", "Kvz_TURiclassificazioneTesta::GetRecord",
		kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLRiclassificazioneTesta::KVZ_HKLRiclassificazioneTesta()
	: HotKeyLink(Kvz_TRiclassificazioneTesta::GetThisClass(), CString(), nullptr),
	  m_SelEsercizio(AfxGetApplicationDate().Year())
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_TRiclassificazioneTesta* KVZ_HKLRiclassificazioneTesta::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TRiclassificazioneTesta::GetThisClass())),
						 "KVZ_HKLRiclassificazioneTesta::GetRecord", kSource);
	return static_cast<Kvz_TRiclassificazioneTesta*>(p);
}

DataObj* KVZ_HKLRiclassificazioneTesta::GetDataObj() const
{
	return &GetRecord()->f_ModelloRiclassific;
}

void KVZ_HKLRiclassificazioneTesta::OnDefineQuery(int nSelectionType)
{
	Kvz_TRiclassificazioneTesta* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	DefineCodeLookup(*m_pTable, nSelectionType, "p2", pRec->f_ModelloRiclassific, pRec->f_Descrizione);
}

void KVZ_HKLRiclassificazioneTesta::OnPrepareQuery(DataObj* pDataObj, int nSelectionType)
{
	if (!(pDataObj && pDataObj->IsKindOf(DataStr::GetThisClass())))
		ASSERT_RELEASE_FAILED("pDataObj->IsKindOf((DataStr::GetThisClass()))",
							  "KVZ_HKLRiclassificazioneTesta::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p1", m_SelEsercizio);
	if (!pDataObj)
		return;
	PrepareCodeLookup(*m_pTable, nSelectionType, "p2", *pDataObj);
}
