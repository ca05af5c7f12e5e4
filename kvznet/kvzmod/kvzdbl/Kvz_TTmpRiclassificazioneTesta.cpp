#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"

#include "platform/plvgeneric/Application.h"
#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TTmpRiclassificazioneTesta";

// The reader's and the updater's query: any empty key stops it.
void AddKeys(KeyedQuery& keys, DataInt& aEsercizio, DataStr& aOperatore, DataStr& aModello)
{
	keys.Add("p1", "Esercizio", aEsercizio);
	keys.Add("p2", "Operatore", aOperatore);
	keys.Add("p3", "ModelloRiclassific", aModello);
}
}  // namespace

// ---- record ----------------------------------------------------------------------------------

Kvz_TTmpRiclassificazioneTesta::Kvz_TTmpRiclassificazioneTesta(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);  // the operator, a user name, keeps its case
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TTmpRiclassificazioneTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("Operatore", f_Operatore);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Priorita", f_Priorita);
	b.Col("DataCreazione", f_DataCreazione);
	b.Col("DataUltModifica", f_DataUltModifica);
	b.Col("DataInizio", f_DataInizio);
	b.Col("DataFine", f_DataFine);
	b.Col("TipoModello", f_TipoModello);
	b.Col("FormulaCalcParametrico", f_FormulaCalcParametrico);
	b.Col("TuttiOperatori", f_TuttiOperatori);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRTmpRiclassificazioneTesta::Kvz_TRTmpRiclassificazioneTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TTmpRiclassificazioneTesta::GetThisClass(), pDocument)
{
	AddKeys(m_Keys, m_Esercizio, m_Operatore, m_Modello);
}

TableReader::FindResult Kvz_TRTmpRiclassificazioneTesta::FindRecord(const DataInt& aEsercizio,
																	 const DataStr& aModello,
																	 const DataStr& aOperatore)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Operatore = aOperatore;
	return TableReader::FindRecord();
}

Kvz_TTmpRiclassificazioneTesta* Kvz_TRTmpRiclassificazioneTesta::GetRecord() const
{
	return TypedRecord<Kvz_TTmpRiclassificazioneTesta>(
		"m_pRecord->IsKindOf((Kvz_TTmpRiclassificazioneTesta::GetThisClass()))",
		"Kvz_TRTmpRiclassificazioneTesta::GetRecord", kSource);
}

Kvz_TUTmpRiclassificazioneTesta::Kvz_TUTmpRiclassificazioneTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TTmpRiclassificazioneTesta::GetThisClass(), pDocument, pMessages)
{
	AddKeys(m_Keys, m_Esercizio, m_Operatore, m_Modello);
}

TableReader::FindResult Kvz_TUTmpRiclassificazioneTesta::FindRecord(const DataInt& aEsercizio,
																	 const DataStr& aModello,
																	 const DataStr& aOperatore, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Operatore = aOperatore;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TTmpRiclassificazioneTesta* Kvz_TUTmpRiclassificazioneTesta::GetRecord() const
{
	return TypedRecord<Kvz_TTmpRiclassificazioneTesta>(
		"m_pRecord->IsKindOf((Kvz_TTmpRiclassificazioneTesta::GetThisClass()))",
		"Kvz_TUTmpRiclassificazioneTesta::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLTmpRiclassificazioneTesta::KVZ_HKLTmpRiclassificazioneTesta()
	: HotKeyLink(Kvz_TTmpRiclassificazioneTesta::GetThisClass(), CString(), nullptr),
	  m_SelEsercizio(AfxGetApplicationDate().Year())
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_TTmpRiclassificazioneTesta* KVZ_HKLTmpRiclassificazioneTesta::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TTmpRiclassificazioneTesta::GetThisClass())),
						 "KVZ_HKLTmpRiclassificazioneTesta::GetRecord", kSource);
	return static_cast<Kvz_TTmpRiclassificazioneTesta*>(p);
}

DataObj* KVZ_HKLTmpRiclassificazioneTesta::GetDataObj() const
{
	return &GetRecord()->f_ModelloRiclassific;
}

void KVZ_HKLTmpRiclassificazioneTesta::OnDefineQuery(int nSelectionType)
{
	Kvz_TTmpRiclassificazioneTesta* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p3", pRec->f_Operatore);
	m_pTable->AddFilterColumn(pRec->f_Operatore);
	DefineCodeLookup(*m_pTable, nSelectionType, "p2", pRec->f_ModelloRiclassific, pRec->f_Descrizione);
}

void KVZ_HKLTmpRiclassificazioneTesta::OnPrepareQuery(DataObj* pDataObj, int nSelectionType)
{
	if (!(pDataObj && pDataObj->IsKindOf(DataStr::GetThisClass())))
		ASSERT_RELEASE_FAILED("pDataObj->IsKindOf((DataStr::GetThisClass()))",
							  "KVZ_HKLTmpRiclassificazioneTesta::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p1", m_SelEsercizio);
	m_pTable->SetParamValue("p3", m_SelOperatore);
	if (!pDataObj)
		return;
	PrepareCodeLookup(*m_pTable, nSelectionType, "p2", *pDataObj);
}
