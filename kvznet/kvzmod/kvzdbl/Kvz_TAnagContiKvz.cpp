#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TAnagContiKvz";
}

// ---- records ---------------------------------------------------------------------------------

namespace {
// The record and the record on a given connection share the table's columns.
template <class Rec>
void SetUpperCaseColumns(Rec& r)
{
	r.f_ContoKvz.SetUpperCase(TRUE);
	r.f_ContoCollegato.SetUpperCase(TRUE);
	r.f_CodiceBudget.SetUpperCase(TRUE);
}

template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("Esercizio", r.f_Esercizio);
	b.Key("ContoKvz", r.f_ContoKvz);
	b.Col("TipoConto", r.f_TipoConto);
	b.Col("TipoMastro", r.f_TipoMastro);
	b.Col("Descrizione", r.f_Descrizione);
	b.Col("ContoCollegato", r.f_ContoCollegato);
	b.Col("ProponiInAssest", r.f_ProponiInAssest);
	b.Col("ModifInAssest", r.f_ModifInAssest);
	b.Col("InseritoManualmente", r.f_InseritoManualmente);
	b.Col("UltimoLivelloRaggrupp", r.f_UltimoLivelloRaggrupp);
	b.Col("ContoKvzPadre", r.f_ContoKvzPadre);
	b.Col("InversioneSegno", r.f_InversioneSegno);
	b.Col("CodiceBudget", r.f_CodiceBudget).Code(kKvzLenCodice);
	b.Col("AggiungiCdcCommAuto", r.f_AggiungiCdcCommAuto);
	b.Col("SaldoVariato", r.f_SaldoVariato);
}
}  // namespace

Kvz_TAnagContiKvz::Kvz_TAnagContiKvz(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAnagContiKvz::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	BIND_LOCAL(b, "StatusBmp", l_StatusBmp, 0);
	BIND_LOCAL_STR(b, "TmpInp", l_TmpInp, 1);
	b.End();
	AddIndex({"Esercizio", "CodiceBudget"});
}

Kvz_TEnhAnagContiKvz::Kvz_TEnhAnagContiKvz(BOOL bCallInit) : Kvz_TAnagContiKvz(FALSE)
{
	Kvz_TEnhAnagContiKvz::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhAnagContiKvz::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "SaldoDelMese", l_SaldoDelMese, 0);
	BIND_LOCAL(b, "IDPBase", l_IDPianoBase, 0);
	BIND_LOCAL_STR(b, "Tmp", l_Tmp, 3);
	BIND_LOCAL(b, "Mod", l_Modified, 0);
	BIND_LOCAL(b, "SelCdcM", l_SelCommCdcModif, 0);
	BIND_LOCAL(b, "Sel", l_Sel, 0);
	BIND_LOCAL(b, "OldSel", l_OldSel, 0);
	BIND_LOCAL(b, "Segno", l_SegnoConto, 0);
	BIND_LOCAL(b, "ContG", l_ContatoreGenerale, 0);
	BIND_LOCAL(b, "ContD", l_ContatoreDettaglio, 0);
	BIND_LOCAL_STR(b, "DalConto", l_DalConto, 26);
	BIND_LOCAL_STR(b, "DesDalConto", l_DescrDalConto, 32);
	BIND_LOCAL_STR(b, "AlConto", l_AlConto, 26);
	BIND_LOCAL_STR(b, "DesAlConto", l_DescrAlConto, 32);
	BIND_LOCAL_STR(b, "DesContoPa", l_DescrContoPatrim, 32);
	b.End();
}

Kvz_TAnagContiKvz_Ext::Kvz_TAnagContiKvz_Ext(BOOL bCallInit) : Kvz_TAnagContiKvz_Ext(nullptr, bCallInit) {}

Kvz_TAnagContiKvz_Ext::Kvz_TAnagContiKvz_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAnagContiKvz_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	BIND_LOCAL(b, "StatusBmpExt", l_StatusBmp, 0);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRAnagContiKvz::Kvz_TRAnagContiKvz(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhAnagContiKvz::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ContoKvz", m_Conto);
}

TableReader::FindResult Kvz_TRAnagContiKvz::FindRecord(const DataInt& aEsercizio, const DataStr& aConto)
{
	m_Esercizio = aEsercizio;
	m_Conto = aConto;
	return TableReader::FindRecord();
}

Kvz_TEnhAnagContiKvz* Kvz_TRAnagContiKvz::GetRecord() const
{
	return TypedRecord<Kvz_TEnhAnagContiKvz>("m_pRecord->IsKindOf((Kvz_TEnhAnagContiKvz::GetThisClass()))",
											 "Kvz_TRAnagContiKvz::GetRecord", kSource);
}

Kvz_TUAnagContiKvz::Kvz_TUAnagContiKvz(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhAnagContiKvz::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ContoKvz", m_Conto);
}

TableReader::FindResult Kvz_TUAnagContiKvz::FindRecord(const DataInt& aEsercizio, const DataStr& aConto, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_Conto = aConto;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhAnagContiKvz* Kvz_TUAnagContiKvz::GetRecord() const
{
	return TypedRecord<Kvz_TEnhAnagContiKvz>("m_pRecord->IsKindOf((Kvz_TEnhAnagContiKvz::GetThisClass()))",
											 "Kvz_TUAnagContiKvz::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

KVZ_HKLAnagContiKvz::KVZ_HKLAnagContiKvz()
	: HotKeyLink(Kvz_TAnagContiKvz::GetThisClass(), "KvzMod.KvzDocuments.DAnagConti", nullptr)
{
	EnableAddOnFly(FALSE);
	MustExistData(TRUE);
}

Kvz_TAnagContiKvz* KVZ_HKLAnagContiKvz::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TAnagContiKvz::GetThisClass())), "KVZ_HKLAnagContiKvz::GetRecord",
						 kSource);
	return static_cast<Kvz_TAnagContiKvz*>(p);
}

DataObj* KVZ_HKLAnagContiKvz::GetDataObj() const
{
	return &GetRecord()->f_ContoKvz;
}

void KVZ_HKLAnagContiKvz::OnDefineQuery(int nSelectionType)
{
	Kvz_TAnagContiKvz* pRec = GetRecord();
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	DefineCodeLookup(*m_pTable, nSelectionType, "pConto", pRec->f_ContoKvz, pRec->f_Descrizione);
	// The kind and adjustment filters narrow the pattern searches only.
	if (!IsPatternLookup(nSelectionType))
		return;
	if (m_SelTipoConto != ALL)
	{
		m_pTable->AddParam("p1", pRec->f_TipoConto);
		m_pTable->AddFilterColumn(pRec->f_TipoConto);
	}
	if (m_SelFiltroAssestamento)
	{
		m_pTable->AddParam("p3", pRec->f_ProponiInAssest);
		m_pTable->AddFilterColumn(pRec->f_ProponiInAssest);
	}
}

void KVZ_HKLAnagContiKvz::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "KVZ_HKLAnagContiKvz::OnPrepareQuery",
						 kSource);
	if (m_SelEsercizio.IsEmpty())
		m_SelEsercizio = AfxGetApplicationDate().Year();
	m_pTable->SetParamValue("p2", m_SelEsercizio);
	PrepareCodeLookup(*m_pTable, nSelectionType, "pConto", *pValue);
	if (!IsPatternLookup(nSelectionType))
		return;
	if (m_SelTipoConto != ALL)
		m_pTable->SetParamValue("p1", DataEnum(E_TIPOCONTO, m_SelTipoConto == ECONOMICI ? 0 : 1));
	if (m_SelFiltroAssestamento)
		m_pTable->SetParamValue("p3", DataBool(TRUE));
}

BOOL KVZ_HKLAnagContiKvz::IsValid()
{
	BOOL bOk = HotKeyLink::IsValid();
	if (!bOk)
		return bOk;
	Kvz_TAnagContiKvz* pRec = GetRecord();
	LPCTSTR refusal = nullptr;
	if (m_SelTipoConto == ECONOMICI && pRec->f_TipoConto.GetItemValue() == 1)
		refusal = _T("Il conto indicato e' di tipo patrimoniale.");
	else if (m_SelTipoConto == PATRIMONIALI && pRec->f_TipoConto.GetItemValue() == 0)
		refusal = _T("Il conto indicato e' di tipo economico.");
	else if (m_SelFiltroAssestamento && !pRec->f_ProponiInAssest)
		refusal = _T("Il conto indicato non puo' essere utilizzato come filtro per l'assestamento.");
	if (!refusal)
		return TRUE;
	return SetErrorString(AfxLoadSourceString(refusal, kSource));
}
