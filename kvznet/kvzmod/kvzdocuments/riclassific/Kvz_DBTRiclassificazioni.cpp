#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DBTRiclassificazioni.h"

#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeRiclassificazioniDoc";

// Budget type and formula index of the description rows, in buffer order.
struct ColonnaFormula
{
	WORD tipoBudget;
	int indice;
	const char* titolo;
};
const ColonnaFormula kColonne[KVZ_NUM_FORMULE_RIGA] = {
	{0, 0, "Budget A"},	  {1, 0, "Budget B"},	{2, 0, "Budget C"},	  {3, 0, "Formula"},	 {3, 1, "Formula1"},
	{3, 2, "Formula2"},	  {3, 3, "Formula3"},	{3, 4, "Formula4"},	  {3, 5, "Formula5"},	 {3, 6, "Formula6"},
	{3, 7, "Formula7"},	  {3, 8, "Formula8"},	{3, 9, "Formula9"},	  {3, 10, "Formula10"},
};

Kvz_TRiclassificazioneTesta* TestaOf(const DBTObject* pDBT)
{
	return static_cast<Kvz_TRiclassificazioneTesta*>(pDBT->GetMaster()->GetRecord());
}

// The assertion of a duplicate-key check handed a record of another class.
template <class Rec>
Rec* Checked(SqlRecord* pRec, const char* assertText)
{
	if (!pRec->IsKindOf(Rec::GetThisClass()))
	{
		ASSERT_RELEASE_FAILED(assertText, "GetDuplicateKeyPos", kSource);
		return nullptr;
	}
	return static_cast<Rec*>(pRec);
}
}  // namespace

// ---- header ------------------------------------------------------------------------------------

Kvz_DBTRiclassificTesta::Kvz_DBTRiclassificTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(RUNTIME_CLASS(Kvz_TRiclassificazioneTesta), pDocument, _T("DBTRiclassificTesta"))
{
}

void Kvz_DBTRiclassificTesta::OnDefineQuery()
{
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", GetTesta()->f_Esercizio);
	m_pTable->AddFilterColumn(GetTesta()->f_Esercizio);
	m_pTable->AddParam("p1", GetTesta()->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(GetTesta()->f_ModelloRiclassific);
}

void Kvz_DBTRiclassificTesta::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", GetTesta()->f_Esercizio);
	m_pTable->SetParamValue("p1", GetTesta()->f_ModelloRiclassific);
}

BOOL Kvz_DBTRiclassificTesta::OnCheckPrimaryKey()
{
	return !(GetTesta()->f_ModelloRiclassific.IsEmpty() &&
			 SetError(AfxLoadSourceString(_T("Indicare sia l'esercizio che il codice modello."), kSource)));
}

void Kvz_DBTRiclassificTesta::OnEnableControlsForFind()
{
	GetTesta()->f_Esercizio.SetFindable(TRUE);
	GetTesta()->f_ModelloRiclassific.SetFindable(TRUE);
}

void Kvz_DBTRiclassificTesta::OnDisableControlsForEdit()
{
	GetTesta()->f_Esercizio.SetReadOnly(TRUE);
	GetTesta()->f_ModelloRiclassific.SetReadOnly(TRUE);
}

// ---- rows --------------------------------------------------------------------------------------

Kvz_DBTRiclassificRighe::Kvz_DBTRiclassificRighe(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TRiclassificazioneRighe), pDocument, _T("DBTRiclassificRighe"), TRUE, TRUE)
{
	SetPreloadStep(-1);
}

Kvz_TRiclassificazioneTesta* Kvz_DBTRiclassificRighe::GetTesta() const
{
	return TestaOf(this);
}

DataStr& Kvz_DBTRiclassificRighe::Formula(Kvz_TRiclassificazioneRighe* p, int nIndex)
{
	DataStr* formule[KVZ_NUM_FORMULE_RIGA] = {
		&p->f_Formula,	&p->f_Formula1, &p->f_Formula2,		 &p->f_Formula3,		&p->f_Formula4,
		&p->f_Formula5, &p->f_Formula6, &p->f_Formula7,		 &p->f_Formula8,		&p->f_Formula9,
		&p->f_Formula10, &p->f_FormulaBudgetA, &p->f_FormulaBudgetB, &p->f_FormulaBudgetC,
	};
	return *formule[nIndex >= 0 && nIndex < KVZ_NUM_FORMULE_RIGA ? nIndex : 0];
}

void Kvz_DBTRiclassificRighe::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneRighe*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p1", pRec->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(pRec->f_ModelloRiclassific);
	m_pTable->AddSortColumn(pRec->f_Posizione);
	// Rows of one position (written by hand) still come in a stable order.
	m_pTable->AddSortColumn(pRec->f_CodRiclassificato);
}

void Kvz_DBTRiclassificRighe::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", GetTesta()->f_Esercizio);
	m_pTable->SetParamValue("p1", GetTesta()->f_ModelloRiclassific);
}

void Kvz_DBTRiclassificRighe::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TRiclassificazioneRighe*>(pRec);
	pRiga->f_Esercizio = GetTesta()->f_Esercizio;
	pRiga->f_ModelloRiclassific = GetTesta()->f_ModelloRiclassific;
}

BOOL Kvz_DBTRiclassificRighe::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(static_cast<Kvz_TRiclassificazioneRighe*>(pRec)->f_CodRiclassificato.IsEmpty() &&
			 SetError(AfxLoadSourceString(_T("Indicare il codice riclassificato della riga."), kSource)));
}

void Kvz_DBTRiclassificRighe::OnPrepareRow(int, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TRiclassificazioneRighe*>(pRec);
	pRiga->f_Esercizio = GetTesta()->f_Esercizio;
	pRiga->f_ModelloRiclassific = GetTesta()->f_ModelloRiclassific;
	const WORD tipo = GetTesta()->f_TipoModello.GetItemValue();
	const bool bCommesse = tipo == KVZ_MODELLO_COMMESSA || tipo == KVZ_MODELLO_CENTRO;
	pRiga->f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, bCommesse ? 3 : 0);
	pRiga->f_TipoCalcolo.SetReadOnly(tipo != KVZ_MODELLO_COMMESSA);
}

DataObj* Kvz_DBTRiclassificRighe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	auto* p = Checked<Kvz_TRiclassificazioneRighe>(pRec, "pRec->IsKindOf((Kvz_TRiclassificazioneRighe::GetThisClass()))");
	return p ? &p->f_CodRiclassificato : nullptr;
}

// ---- groupings ---------------------------------------------------------------------------------

Kvz_DBTRaggrupp::Kvz_DBTRaggrupp(CAbstractFormDoc* pDocument, Kvz_HKLCodRaggrupp* pHKLCodRaggrupp)
	: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TEnhRiclassificazioneRaggrupp), pDocument, _T("DBTRaggrupp"), TRUE, TRUE),
	  m_pHKLCodRaggrupp(pHKLCodRaggrupp)
{
	SetPreloadStep(-1);
}

void Kvz_DBTRaggrupp::CercaDescrizione(Kvz_TEnhRiclassificazioneRaggrupp* pRec)
{
	pRec->l_Descrizione = m_pHKLCodRaggrupp && !pRec->f_CodRaggrupp.IsEmpty() &&
								  m_pHKLCodRaggrupp->FindRecord(&pRec->f_CodRaggrupp)
							  ? m_pHKLCodRaggrupp->GetRecord()->f_Descrizione
							  : DataStr();
}

void Kvz_DBTRaggrupp::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneRaggrupp*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p1", pRec->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(pRec->f_ModelloRiclassific);
	m_pTable->AddSortColumn(pRec->f_CodRaggrupp);
}

void Kvz_DBTRaggrupp::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", TestaOf(this)->f_Esercizio);
	m_pTable->SetParamValue("p1", TestaOf(this)->f_ModelloRiclassific);
}

void Kvz_DBTRaggrupp::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* p = static_cast<Kvz_TRiclassificazioneRaggrupp*>(pRec);
	p->f_Esercizio = TestaOf(this)->f_Esercizio;
	p->f_ModelloRiclassific = TestaOf(this)->f_ModelloRiclassific;
}

BOOL Kvz_DBTRaggrupp::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(static_cast<Kvz_TRiclassificazioneRaggrupp*>(pRec)->f_CodRaggrupp.IsEmpty() &&
			 SetError(szEmptyPrimaryKeySegment));
}

DataObj* Kvz_DBTRaggrupp::GetDuplicateKeyPos(SqlRecord* pRec)
{
	auto* p = Checked<Kvz_TRiclassificazioneRaggrupp>(pRec,
													   "pRec->IsKindOf((Kvz_TRiclassificazioneRaggrupp::GetThisClass()))");
	return p ? &p->f_CodRaggrupp : nullptr;
}

// ---- print operators ---------------------------------------------------------------------------

Kvz_DBTOperatoriStampe::Kvz_DBTOperatoriStampe(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TOperatoriStampe), pDocument, _T("DBTOperatoriStampe"), TRUE, TRUE)
{
	SetPreloadStep(-1);
}

void Kvz_DBTOperatoriStampe::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TOperatoriStampe*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p1", pRec->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(pRec->f_ModelloRiclassific);
	m_pTable->AddSortColumn(pRec->f_OperatoreStampa);
}

void Kvz_DBTOperatoriStampe::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", TestaOf(this)->f_Esercizio);
	m_pTable->SetParamValue("p1", TestaOf(this)->f_ModelloRiclassific);
}

void Kvz_DBTOperatoriStampe::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* p = static_cast<Kvz_TOperatoriStampe*>(pRec);
	p->f_Esercizio = TestaOf(this)->f_Esercizio;
	p->f_ModelloRiclassific = TestaOf(this)->f_ModelloRiclassific;
}

BOOL Kvz_DBTOperatoriStampe::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(static_cast<Kvz_TOperatoriStampe*>(pRec)->f_OperatoreStampa.IsEmpty() && SetError(szEmptyPrimaryKeySegment));
}

DataObj* Kvz_DBTOperatoriStampe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	auto* p = Checked<Kvz_TOperatoriStampe>(pRec, "pRec->IsKindOf((Kvz_TOperatoriStampe::GetThisClass()))");
	return p ? &p->f_OperatoreStampa : nullptr;
}

// ---- column titles -----------------------------------------------------------------------------

Kvz_DBTDescrizioni::Kvz_DBTDescrizioni(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TDescrFormula), pDocument, _T("DBTDescrizioni"), TRUE, FALSE)
{
	SetPreloadStep(-1);
}

void Kvz_DBTDescrizioni::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TDescrFormula*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p5", pRec->f_TipoCodice);
	m_pTable->AddFilterColumn(pRec->f_TipoCodice);
	m_pTable->AddParam("p1", pRec->f_Codice);
	m_pTable->AddFilterColumn(pRec->f_Codice);
	m_pTable->AddSortColumn(pRec->f_IndiceFormula);
	m_pTable->AddSortColumn(pRec->f_TipoBudget);
}

void Kvz_DBTDescrizioni::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", TestaOf(this)->f_Esercizio);
	m_pTable->SetParamValue("p5", DataEnum(E_KVZ_TIPOSIMBOLO, 3));
	m_pTable->SetParamValue("p1", TestaOf(this)->f_ModelloRiclassific);
}

void Kvz_DBTDescrizioni::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* p = static_cast<Kvz_TDescrFormula*>(pRec);
	p->f_Esercizio = TestaOf(this)->f_Esercizio;
	p->f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
	p->f_Codice = TestaOf(this)->f_ModelloRiclassific;
}

void Kvz_DBTDescrizioni::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	OnPreparePrimaryKey(nRow, pRec);
}

BOOL Kvz_DBTDescrizioni::CreaDescrizioni()
{
	if (GetSize() > 0)
		return FALSE;
	for (const ColonnaFormula& c : kColonne)
	{
		auto* p = static_cast<Kvz_TDescrFormula*>(AddRecord());
		p->f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, c.tipoBudget);
		p->f_IndiceFormula = c.indice;
		p->SetStorable();
	}
	return TRUE;
}

CString Kvz_DBTDescrizioni::TitoloPredefinito(int nRow)
{
	return nRow >= 0 && nRow < KVZ_NUM_FORMULE_RIGA ? AfxLoadSourceString(kColonne[nRow].titolo, kSource) : CString();
}

// ---- grids -------------------------------------------------------------------------------------

void Kvz_RiclassificRigheBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneRighe*>(GetDBT()->GetRecord());
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDBT()->GetDocument());
	SetMultipleLinesPerRow();
	AddColumn(IDC_RCL_RIGHE_TIPORIGA, _T("TipoRiga"), _T("Tipo riga"), RUNTIME_CLASS(CEnumCombo), pRec->f_TipoRiga, 14);
	AddColumn(IDC_RCL_RIGHE_CODICE, _T("Codice"), _T("Codice"), RUNTIME_CLASS(CStrEdit), pRec->f_CodRiclassificato, 12);
	AddColumn(IDC_RCL_RIGHE_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrEdit), pRec->f_Descrizione,
			  20, 2);
	AddColumn(IDC_RCL_RIGHE_CALCOLO, _T("Calcolo"), _T("Calcolo"), RUNTIME_CLASS(CEnumCombo), pRec->f_TipoCalcolo, 14);
	auto formula = [&](UINT nID, LPCTSTR szName, LPCTSTR szTitle, DataStr& field, int nIndex) {
		ColumnInfo* pCol = AddColumn(nID, szName, szTitle, RUNTIME_CLASS(Kvz_CFormulaEdit), field, 32, 2);
		if (auto* pEdit = DynamicDownCast<Kvz_CFormulaEdit>(pCol->GetParsedCtrl()))
			pEdit->SetPos(nIndex);
		pDoc->SetColonnaFormula(nIndex, pCol);
	};
	formula(IDC_RCL_RIGHE_FORMULA, _T("Formula"), _T("Formula"), pRec->f_Formula, 0);
	formula(IDC_RCL_RIGHE_BUDGETA, _T("BudgetA"), _T("Budget A"), pRec->f_FormulaBudgetA, 11);
	formula(IDC_RCL_RIGHE_BUDGETB, _T("Budget B"), _T("Budget B"), pRec->f_FormulaBudgetB, 12);
	formula(IDC_RCL_RIGHE_BUDGETC, _T("BudgetC"), _T("Budget C"), pRec->f_FormulaBudgetC, 13);
	AddColumn(IDC_RCL_RIGHE_TIPODATO, _T("TipoDato"), _T("Tipo dato"), RUNTIME_CLASS(CEnumCombo), pRec->f_TipoDatoRitorno,
			  14);
	AddColumn(IDC_RCL_RIGHE_PERCENTUALE, _T("Percentuale"), _T("Percentuale"), RUNTIME_CLASS(CStrEdit), pRec->f_Dividendo,
			  12);
	AddColumn(IDC_RCL_RIGHE_DIVIDENDO, _T("DividendoPerProgr"), _T("Dividendo per progr."), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRiclDividendoProgr, 12);
	AddColumn(IDC_RCL_RIGHE_DIVISORE, _T("DivisorePerProgr"), _T("Divisore per progr."), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRiclDivisoreProgr, 12);
	AddColumn(IDC_RCL_RIGHE_SEGNO, _T("SegnoDaApplicare"), _T("S"), RUNTIME_CLASS(CStrEdit), pRec->f_SegnoDaApplicare, 1);
	for (int i = 1; i <= 10; ++i)
	{
		const CString name = CString::Formatted("Formula%d", i);
		formula(IDC_RCL_RIGHE_FORMULA1 + static_cast<UINT>(i - 1), name, name, Kvz_DBTRiclassificRighe::Formula(pRec, i),
				i);
	}
	AddUserButton(IDC_RCL_RIGHE_REPORT, AfxLoadSourceString(_T("Report riclassificazione"), kSource));
	AddUserButton(IDC_RCL_RIGHE_ESPLOSIONE, AfxLoadSourceString(_T("Esplosione"), kSource));
}

void Kvz_RaggruppBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhRiclassificazioneRaggrupp*>(GetDBT()->GetRecord());
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDBT()->GetDocument());
	AddColumn(IDC_RCL_RAGGR_CODICE, _T("Raggruppamento"), _T("Raggruppamento"), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRaggrupp, 12, 1, pDoc->m_pHKLCodRaggrupp);
	AddColumn(IDC_RCL_RAGGR_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->l_Descrizione, 32, 2);
}

void Kvz_OperatoriStampeBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TOperatoriStampe*>(GetDBT()->GetRecord());
	AddColumn(IDC_RCL_OPERATORE, _T("OperatoreStampa"), _T("Operatore"), RUNTIME_CLASS(CStrEdit), pRec->f_OperatoreStampa,
			  20);
}

void Kvz_DescrizioniBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TDescrFormula*>(GetDBT()->GetRecord());
	AddColumn(IDC_RCL_DESCR_INDICE, _T("ColonnaFormula"), _T("Colonna formula"), RUNTIME_CLASS(CIntStatic),
			  pRec->f_IndiceFormula, 4);
	AddColumn(IDC_RCL_DESCR_TIPOBUDGET, _T("TipoBudget"), _T("Tipo budget"), RUNTIME_CLASS(CEnumStatic), pRec->f_TipoBudget,
			  14);
	AddColumn(IDC_RCL_DESCR_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrEdit), pRec->f_Descrizione,
			  50);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
}

