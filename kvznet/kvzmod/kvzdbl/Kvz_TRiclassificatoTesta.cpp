#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"

#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TRiclassificatoTesta";
}

// ---- record ----------------------------------------------------------------------------------

Kvz_TRiclassificatoTesta::Kvz_TRiclassificatoTesta(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_DataUltimaElaborazione.SetFullDate(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificatoTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("TipoElaborazione", f_TipoElaborazione);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("DataUltimaElaborazione", f_DataUltimaElaborazione);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Nota", f_Nota);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRRiclassificatoTesta::Kvz_TRRiclassificatoTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificatoTesta::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "TipoElaborazione", m_TipoElaborazione, false);
	m_Keys.Add("p3", "ModelloRiclassific", m_Modello);
}

TableReader::FindResult Kvz_TRRiclassificatoTesta::FindRecord(const DataInt& aEsercizio,
															   const DataEnum& aTipoElaborazione,
															   const DataStr& aModello)
{
	m_Esercizio = aEsercizio;
	m_TipoElaborazione = aTipoElaborazione;
	m_Modello = aModello;
	return TableReader::FindRecord();
}

Kvz_TRiclassificatoTesta* Kvz_TRRiclassificatoTesta::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificatoTesta>("m_pRecord->IsKindOf((Kvz_TRiclassificatoTesta::GetThisClass()))",
												 "Kvz_TRRiclassificatoTesta::GetRecord", kSource);
}

Kvz_TURiclassificatoTesta::Kvz_TURiclassificatoTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TRiclassificatoTesta::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p6", "Esercizio", m_Esercizio, false);
	m_Keys.Add("p1", "TipoElaborazione", m_TipoElaborazione, false);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
}

TableReader::FindResult Kvz_TURiclassificatoTesta::FindRecord(const DataInt& aEsercizio,
															   const DataEnum& aTipoElaborazione,
															   const DataStr& aModello, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_TipoElaborazione = aTipoElaborazione;
	m_Modello = aModello;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TRiclassificatoTesta* Kvz_TURiclassificatoTesta::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificatoTesta>("m_pRecord->IsKindOf((Kvz_TRiclassificatoTesta::GetThisClass()))",
												 "Kvz_TURiclassificatoTesta::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLRiclassificatoTesta::KVZ_HKLRiclassificatoTesta()
	: HotKeyLink(Kvz_TRiclassificatoTesta::GetThisClass(), CString(), nullptr)
{
	EnableAddOnFly(TRUE);
	MustExistData(TRUE);
}

Kvz_TRiclassificatoTesta* KVZ_HKLRiclassificatoTesta::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TRiclassificatoTesta::GetThisClass())),
						 "KVZ_HKLRiclassificatoTesta::GetRecord", kSource);
	return static_cast<Kvz_TRiclassificatoTesta*>(p);
}

DataObj* KVZ_HKLRiclassificatoTesta::GetDataObj() const
{
	return &GetRecord()->f_ModelloRiclassific;
}

void KVZ_HKLRiclassificatoTesta::OnDefineQuery(int nSelectionType)
{
	Kvz_TRiclassificatoTesta* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p6", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p5", pRec->f_TipoElaborazione);
	m_pTable->AddFilterColumn(pRec->f_TipoElaborazione);
	DefineCodeLookup(*m_pTable, nSelectionType, "p2", pRec->f_ModelloRiclassific, pRec->f_Descrizione);
}

void KVZ_HKLRiclassificatoTesta::OnPrepareQuery(DataObj* pDataObj, int nSelectionType)
{
	if (!(pDataObj && pDataObj->IsKindOf(DataStr::GetThisClass())))
		ASSERT_RELEASE_FAILED("pDataObj->IsKindOf((DataStr::GetThisClass()))",
							  "KVZ_HKLRiclassificatoTesta::OnPrepareQuery", kSource);
	m_pTable->SetParamValue("p6", m_SelEsercizio);
	m_pTable->SetParamValue("p5", m_SelTipoElaborazione);
	if (!pDataObj)
		return;
	PrepareCodeLookup(*m_pTable, nSelectionType, "p2", *pDataObj);
}
