#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"

namespace {
const char* const kSource = "Kvz_TContatoriDettaglio";

// The reader's and the updater's query: only the code stops it.
void AddKeys(KeyedQuery& keys, DataInt& aEsercizio, DataEnum& aTipoCodice, DataStr& aCodice, DataStr& aModello,
			 DataEnum& aTipoCodCheUtilizza, DataStr& aCodiceCheUtilizza, DataInt& aFormula)
{
	keys.Add("p3", "Esercizio", aEsercizio, false);
	keys.Add("p4", "TipoCodice", aTipoCodice, false);
	keys.Add("p5", "Codice", aCodice);
	keys.Add("p6", "ModelloRiclassific", aModello, false);
	keys.Add("p7", "TipoCodCheUtilizza", aTipoCodCheUtilizza, false);
	keys.Add("p8", "CodiceCheUtilizza", aCodiceCheUtilizza, false);
	keys.Add("p9", "FormulaCheUtilizza", aFormula, false);
}
}  // namespace

Kvz_TContatoriDettaglio::Kvz_TContatoriDettaglio(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Codice.SetUpperCase(TRUE);
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_CodiceCheUtilizza.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TContatoriDettaglio::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("TipoCodice", f_TipoCodice);
	b.Key("Codice", f_Codice);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Key("TipoCodCheUtilizza", f_TipoCodCheUtilizza);
	b.Key("CodiceCheUtilizza", f_CodiceCheUtilizza);
	b.Key("FormulaCheUtilizza", f_FormulaCheUtilizza);
	b.Col("ContatoreUtilizzi", f_ContatoreUtilizzi);
	b.End();
	// Saving a model's counters deletes and reads its detail rows by year, model and using kind.
	AddIndex({"Esercizio", "ModelloRiclassific", "TipoCodCheUtilizza"});
}

Kvz_TEnhContatoriDettaglio::Kvz_TEnhContatoriDettaglio(BOOL bCallInit) : Kvz_TContatoriDettaglio(FALSE)
{
	Kvz_TEnhContatoriDettaglio::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhContatoriDettaglio::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "Formula", l_Formula, 251);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRContatoriDettaglio::Kvz_TRContatoriDettaglio(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhContatoriDettaglio::GetThisClass(), pDocument)
{
	AddKeys(m_Keys, m_Esercizio, m_TipoCodice, m_Codice, m_Modello, m_TipoCodCheUtilizza, m_CodiceCheUtilizza,
			m_Formula);
}

TableReader::FindResult Kvz_TRContatoriDettaglio::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
															 const DataStr& aCodice, const DataStr& aModello,
															 const DataEnum& aTipoCodCheUtilizza,
															 const DataStr& aCodiceCheUtilizza, const DataInt& aFormula)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	m_Modello = aModello;
	m_TipoCodCheUtilizza = aTipoCodCheUtilizza;
	m_CodiceCheUtilizza = aCodiceCheUtilizza;
	m_Formula = aFormula;
	return TableReader::FindRecord();
}

Kvz_TEnhContatoriDettaglio* Kvz_TRContatoriDettaglio::GetRecord() const
{
	return TypedRecord<Kvz_TEnhContatoriDettaglio>(
		"m_pRecord->IsKindOf((Kvz_TEnhContatoriDettaglio::GetThisClass()))", "Kvz_TRContatoriDettaglio::GetRecord",
		kSource);
}

Kvz_TUContatoriDettaglio::Kvz_TUContatoriDettaglio(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhContatoriDettaglio::GetThisClass(), pDocument, pMessages)
{
	AddKeys(m_Keys, m_Esercizio, m_TipoCodice, m_Codice, m_Modello, m_TipoCodCheUtilizza, m_CodiceCheUtilizza,
			m_Formula);
}

TableReader::FindResult Kvz_TUContatoriDettaglio::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
															 const DataStr& aCodice, const DataStr& aModello,
															 const DataEnum& aTipoCodCheUtilizza,
															 const DataStr& aCodiceCheUtilizza, const DataInt& aFormula,
															 BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	m_Modello = aModello;
	m_TipoCodCheUtilizza = aTipoCodCheUtilizza;
	m_CodiceCheUtilizza = aCodiceCheUtilizza;
	m_Formula = aFormula;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhContatoriDettaglio* Kvz_TUContatoriDettaglio::GetRecord() const
{
	return TypedRecord<Kvz_TEnhContatoriDettaglio>(
		"m_pRecord->IsKindOf((Kvz_TEnhContatoriDettaglio::GetThisClass()))", "Kvz_TUContatoriDettaglio::GetRecord",
		kSource);
}

// ---- sum of uses -------------------------------------------------------------------------------

Kvz_TRSommaUtilizzi::Kvz_TRSommaUtilizzi(CBaseDocument* pDocument)
	: TableReader(Kvz_TEnhContatoriDettaglio::GetThisClass(), pDocument)
{
	SetForceQuery(TRUE);  // the total lives outside the record: never answer from it
}

TableReader::FindResult Kvz_TRSommaUtilizzi::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
														const DataStr& aCodice, const DataEnum& aTipoCodCheUtilizza,
														const DataStr& aModello)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	m_TipoCodCheUtilizza = aTipoCodCheUtilizza;
	m_Modello = aModello;
	m_SommaUtilizzi = 0L;
	return TableReader::FindRecord();
}

Kvz_TEnhContatoriDettaglio* Kvz_TRSommaUtilizzi::GetRecord() const
{
	SqlRecord* p = m_pRecord.get();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TEnhContatoriDettaglio::GetThisClass())),
						 "Kvz_TRSommaUtilizzi::GetRecord", kSource);
	return static_cast<Kvz_TEnhContatoriDettaglio*>(p);
}

void Kvz_TRSommaUtilizzi::OnDefineQuery()
{
	Kvz_TEnhContatoriDettaglio* pRec = GetRecord();
	m_pTable->SelectSqlFun(CString::Formatted("SUM(%s)", "ContatoreUtilizzi"), m_SommaUtilizzi);
	m_pTable->AddParam("p3", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p4", pRec->f_TipoCodice);
	m_pTable->AddFilterColumn(pRec->f_TipoCodice);
	m_pTable->AddParam("p5", pRec->f_Codice);
	m_pTable->AddFilterColumn(pRec->f_Codice);
	m_pTable->AddParam("p7", pRec->f_TipoCodCheUtilizza);
	m_pTable->AddParam("p10", pRec->f_TipoCodCheUtilizza);
	m_pTable->AddParam("p8", pRec->f_ModelloRiclassific);
	CString kind = m_pTable->GetColumnName(pRec->f_TipoCodCheUtilizza);
	m_pTable->m_strFilter += CString::Formatted(" AND (%s <> ? OR (%s = ? AND %s <> ?))", kind.GetString(),
												kind.GetString(),
												m_pTable->GetColumnName(pRec->f_ModelloRiclassific).GetString());
}

void Kvz_TRSommaUtilizzi::OnPrepareQuery()
{
	m_pTable->SetParamValue("p3", m_Esercizio);
	m_pTable->SetParamValue("p4", m_TipoCodice);
	m_pTable->SetParamValue("p5", m_Codice);
	m_pTable->SetParamValue("p7", m_TipoCodCheUtilizza);
	m_pTable->SetParamValue("p10", m_TipoCodCheUtilizza);
	m_pTable->SetParamValue("p8", m_Modello);
}

BOOL Kvz_TRSommaUtilizzi::IsEmptyQuery()
{
	return m_Codice.IsEmpty();
}
