#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"

#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "FormulaCtrl";
}

// ---- Kvz_CFormulaEdit ----------------------------------------------------------------------

Kvz_CUtilizzaFormuleDoc* Kvz_CFormulaEdit::GetFormulaDoc() const
{
	return DynamicDownCast<Kvz_CUtilizzaFormuleDoc>(GetForm() ? GetForm()->GetDocument() : nullptr);
}

BOOL Kvz_CFormulaEdit::UserInput(const CString& strText)
{
	if (Kvz_CUtilizzaFormuleDoc* pDoc = GetFormulaDoc())
	{
		pDoc->SetPStrFormula(DynamicDownCast<DataStr>(GetCtrlData()));
		pDoc->SetPosizFormula(m_nPos);
	}
	return CStrEdit::UserInput(strText);
}

void Kvz_CFormulaEdit::OnLButtonDblClk(UINT, CPoint)
{
	Kvz_CUtilizzaFormuleDoc* pDoc = GetFormulaDoc();
	if (!pDoc)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CFormulaEdit::OnLButtonDblClk", kSource);
		return;
	}
	pDoc->SetCtrlFormula(this);
	pDoc->SetPStrFormula(DynamicDownCast<DataStr>(GetCtrlData()));
	pDoc->SetPosizFormula(m_nPos);
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		pCmd->RunDocument(KVZ_NS_FORMULA_EDITOR, _T("Default"), nullptr, pDoc);
}

// ---- Kvz_CFormulaContainer -----------------------------------------------------------------

void Kvz_CFormulaContainer::OnLButtonUp(UINT nFlags, CPoint point)
{
	GetSel(m_nInizioSel, m_nFineSel);
	CStrEdit::OnLButtonUp(nFlags, point);
}

// ---- Kvz_CListBoxFormula -------------------------------------------------------------------

void Kvz_CListBoxFormula::Attach(Kvz_CFormulaContainer* pContainer, DataStr* pFormula)
{
	m_pContainer = pContainer;
	m_pFormula = pFormula;
}

Kvz_SimboliArrayElem* Kvz_CListBoxFormula::AddSymbol(const DataEnum& aTipo, const DataStr& aNome,
													 const DataStr& aDescrizione)
{
	auto* pElem = new Kvz_SimboliArrayElem(aTipo, aNome);
	m_Simboli.Add(pElem);
	AddString(aNome.GetString() + CString("  ") + aDescrizione.GetString());
	return pElem;
}

void Kvz_CListBoxFormula::Empty()
{
	ResetContent();
	m_Simboli.RemoveAll();
}

Kvz_SimboliArrayElem* Kvz_CListBoxFormula::GetSelectedSymbol() const
{
	const int nSel = GetCurSel();
	if (nSel == LB_ERR)
		return nullptr;
	return m_Simboli.GetAt(nSel);
}

void Kvz_CListBoxFormula::OnLButtonDblClk(UINT, CPoint)
{
	if (!m_pContainer)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CListBoxFormula::OnLButtonDblClk", kSource);
		return;
	}
	if (Kvz_SimboliArrayElem* pElem = GetSelectedSymbol())
		InsertSymbol(pElem->m_NomeSimbolo.GetString(), m_strPrefix, m_pContainer, m_pFormula, 0);
}

void Kvz_CListBoxFormula::InsertSymbol(const CString& strSimbolo, const CString& strPrefix,
									   Kvz_CFormulaContainer* pContainer, DataStr* pFormula, int bNoBlank)
{
	if (!pContainer || strSimbolo.IsEmpty())
		return;
	const CString strPrefisso = !strPrefix.IsEmpty() && strPrefix[0] == '@' ? CString() : strPrefix;
	CString strTesto = strPrefisso + strSimbolo;
	if (!bNoBlank)
		strTesto += " ";

	if (pContainer->GetInizioSel() == -1 && pContainer->GetFineSel() == -1)
		pContainer->UserInput(pContainer->GetCtrlText() + strTesto);
	else
		pContainer->ReplaceSel(strTesto, TRUE);

	if (pFormula)
		*pFormula = DataStr(pContainer->GetCtrlText());
}

// ---- combos --------------------------------------------------------------------------------

BOOL Kvz_TipoBudgetInputCombo::IsValidItemListBox(const DataObj& aDataObj) const
{
	const auto* pEnum = dynamic_cast<const DataEnum*>(&aDataObj);
	if (!pEnum)
	{
		ASSERT_RELEASE_FAILED("(&aDataObj)->IsKindOf((DataEnum::GetThisClass()))",
							  "Kvz_TipoBudgetInputCombo::IsValidItemListBox", kSource);
		return FALSE;
	}
	return pEnum->GetItemValue() != 3;
}

BOOL Kvz_AggregFunctionFiltratoCombo::IsValidItemListBox(const DataObj& aDataObj) const
{
	const auto* pEnum = dynamic_cast<const DataEnum*>(&aDataObj);
	if (!pEnum)
	{
		ASSERT_RELEASE_FAILED("(&aDataObj)->IsKindOf((DataEnum::GetThisClass()))",
							  "Kvz_AggregFunctionFiltratoCombo::IsValidItemListBox", kSource);
		return FALSE;
	}
	return pEnum->GetItemValue() <= 1;
}
