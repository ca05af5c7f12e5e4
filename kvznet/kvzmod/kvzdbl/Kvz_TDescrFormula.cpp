#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"

#include "platform/plvges/CodeLookup.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_TDescrFormula";
}

Kvz_TDescrFormula::Kvz_TDescrFormula(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Codice.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TDescrFormula::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("TipoCodice", f_TipoCodice);
	b.Key("Codice", f_Codice);
	b.Key("TipoBudget", f_TipoBudget);
	b.Key("IndiceFormula", f_IndiceFormula);
	b.Col("Descrizione", f_Descrizione);
	b.End();
	// A code's descriptions are listed by formula index, then budget type.
	AddIndex({"Esercizio", "TipoCodice", "Codice", "IndiceFormula", "TipoBudget"});
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRDescrFormula::Kvz_TRDescrFormula(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TDescrFormula::GetThisClass(), pDocument)
{
	// Kind, budget type and index 0 are values like any other: only year and code stop the query.
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p11", "TipoCodice", m_TipoCodice, false);
	m_Keys.Add("p12", "Codice", m_Codice);
	m_Keys.Add("p13", "TipoBudget", m_TipoBudget, false);
	m_Keys.Add("p14", "IndiceFormula", m_IndiceFormula, false);
}

TableReader::FindResult Kvz_TRDescrFormula::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
														const DataStr& aCodice, const DataEnum& aTipoBudget,
														const DataInt& aIndiceFormula)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	m_TipoBudget = aTipoBudget;
	m_IndiceFormula = aIndiceFormula;
	return TableReader::FindRecord();
}

Kvz_TDescrFormula* Kvz_TRDescrFormula::GetRecord() const
{
	return TypedRecord<Kvz_TDescrFormula>("m_pRecord->IsKindOf((Kvz_TDescrFormula::GetThisClass()))",
										  "Kvz_TRDescrFormula::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLDescrFormula::Kvz_HKLDescrFormula()
	: HotKeyLink(Kvz_TDescrFormula::GetThisClass(), "KvzMod.KvzDocuments.DescrFormula", nullptr)
{
	EnableAddOnFly(TRUE);
	MustExistData(TRUE);
}

Kvz_TDescrFormula* Kvz_HKLDescrFormula::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TDescrFormula::GetThisClass())), "Kvz_HKLDescrFormula::GetRecord",
						 kSource);
	return static_cast<Kvz_TDescrFormula*>(p);
}

DataObj* Kvz_HKLDescrFormula::GetDataObj() const
{
	return &GetRecord()->f_Descrizione;
}

void Kvz_HKLDescrFormula::OnDefineQuery(int nSelectionType)
{
	Kvz_TDescrFormula* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p3", pRec->f_TipoCodice);
	m_pTable->AddFilterColumn(pRec->f_TipoCodice);
	m_pTable->AddParam("p4", pRec->f_Codice);
	m_pTable->AddFilterColumn(pRec->f_Codice);
	if (m_FiltraTipoBudget)
	{
		m_pTable->AddParam("p45", pRec->f_TipoBudget);
		m_pTable->AddFilterColumn(pRec->f_TipoBudget);
	}
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->AddParam("p1", pRec->f_Descrizione);
		m_pTable->AddFilterColumn(pRec->f_Descrizione);
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
		m_pTable->AddParam("p1", pRec->f_Descrizione);
		m_pTable->AddFilterLike(pRec->f_Descrizione);
		break;
	default:
		break;
	}
	m_pTable->AddSortColumn(pRec->f_IndiceFormula, FALSE);
	m_pTable->AddSortColumn(pRec->f_TipoBudget, FALSE);
}

void Kvz_HKLDescrFormula::OnPrepareQuery(DataObj* pDataObj, int nSelectionType)
{
	if (!(pDataObj && pDataObj->IsKindOf(DataStr::GetThisClass())))
		ASSERT_RELEASE_FAILED("pDataObj->IsKindOf((DataStr::GetThisClass()))", "Kvz_HKLDescrFormula::OnPrepareQuery",
							  kSource);
	m_pTable->SetParamValue("p2", m_Esercizio);
	m_pTable->SetParamValue("p3", m_TipoCodice);
	m_pTable->SetParamValue("p4", m_Codice);
	if (m_FiltraTipoBudget)
		m_pTable->SetParamValue("p45", m_TipoBudget);
	if (!pDataObj)
		return;
	PrepareCodeLookup(*m_pTable, nSelectionType, "p1", *pDataObj);
}
