#pragma once
// A batch form with the controls documents build on: a check box and a button that follows
// it, a sorted list box, a grid whose cell edit takes double-clicks, two tab pages (the second
// prepares its data when it opens) and a toolbar command enabled by an update handler. What
// reaches the document is logged in "Esito". Include in one source file per binary.
#include "platform/plvges/FormViews.h"

namespace controlstest {

enum : UINT
{
	IDC_ABILITA = 2000,
	IDC_ESEGUI,
	IDC_SIMBOLI,
	IDC_RIGHE,
	IDC_RIGHE_CODICE,
	IDC_RIGHE_FORMULA,
	IDC_SCHEDE,
	IDC_ESITO,
	ID_CALCOLA,
	IDC_GENERE,
	IDC_GENERE_RISTRETTO,
};

// An enumeration with items 0..2, and a combo that offers only the first two.
inline constexpr WORD kTagGenere = 0x7FF2;
class TGenereRistrettoCombo : public CEnumCombo
{
	DECLARE_DYNCREATE(TGenereRistrettoCombo, CEnumCombo)
public:
	BOOL IsValidItemListBox(const DataObj& value) const override
	{
		return static_cast<const DataEnum&>(value).GetItemValue() != 2;
	}
};

class TRigaFormula : public SqlRecord
{
	DECLARE_DYNCREATE(TRigaFormula, SqlRecord)
public:
	DataStr f_Codice;
	DataStr f_Formula;
	TRigaFormula() : SqlRecord("T_RigheFormula")
	{
		RecordBinder b(*this);
		b.Key("Codice", f_Codice).Col("Formula", f_Formula).End();
	}
};

class TStrumentiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TStrumentiDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	DataBool m_Abilita;
	DataStr m_Esito;
	DataEnum m_Genere{kTagGenere, 0};
	DataEnum m_GenereRistretto{kTagGenere, 0};
	DBTSlaveBuffered* m_pRighe = nullptr;
	std::unique_ptr<DBTSlaveBuffered> m_pOwnedRighe;
	int m_nPreparazioni = 0;

	void Log(const CString& text)
	{
		m_Esito = m_Esito.IsEmpty() ? text : m_Esito.GetString() + CString(", ") + text;
	}
	CListBox* Simboli() const { return DynamicDownCast<CListBox>(GetFirstView()->GetLinkedParsedCtrl(IDC_SIMBOLI)); }

protected:
	BOOL OnAttachData() override
	{
		SetFormTitle("Strumenti");
		// A standalone buffer: filled here, never read or saved.
		m_pOwnedRighe = std::make_unique<DBTSlaveBuffered>(RUNTIME_CLASS(TRigaFormula), this, "Righe");
		m_pRighe = m_pOwnedRighe.get();
		for (const char* code : {"R1", "R2"})
			static_cast<TRigaFormula*>(m_pRighe->AddRecord())->f_Codice = code;
		return TRUE;
	}
	void OnSimboloScelto() { Log("scelto " + Simboli()->GetCtrlText()); }
	void OnSimboloDoppioClic() { Log("doppio clic " + Simboli()->GetCtrlText()); }
	void OnEsegui() { Log("eseguito"); }
	void OnCalcola() { Log("calcolato"); }
	void OnUpdateCalcola(CCmdUI* pCmdUI) { pCmdUI->Enable(m_Abilita); }
};

// The formula edit of a grid cell: a double-click names the row it landed on.
class TFormulaEdit : public CStrEdit
{
	DECLARE_DYNCREATE(TFormulaEdit, CStrEdit)
protected:
	void OnLButtonDblClk(UINT, CPoint) override
	{
		auto* pDoc = static_cast<TStrumentiDoc*>(GetForm()->GetDocument());
		pDoc->Log(CString::Formatted("doppio clic riga %d", pDoc->m_pRighe->GetCurrentRowIdx() + 1));
	}
};

class TRigheBody : public CBodyEdit
{
	DECLARE_DYNCREATE(TRigheBody, CBodyEdit)
public:
	void Customize() override
	{
		auto* pRec = static_cast<TRigaFormula*>(GetDBT()->GetRecord());
		AddColumn(IDC_RIGHE_CODICE, "Codice", "Codice", RUNTIME_CLASS(CStrStatic), pRec->f_Codice, 6);
		AddColumn(IDC_RIGHE_FORMULA, "Formula", "Formula", RUNTIME_CLASS(TFormulaEdit), pRec->f_Formula, 30);
	}
};

class TPrimaTab : public CTabDialog
{
	DECLARE_DYNCREATE(TPrimaTab, CTabDialog)
public:
	TPrimaTab() : CTabDialog("PrimaTab") {}
};

class TSecondaTab : public CTabDialog
{
	DECLARE_DYNCREATE(TSecondaTab, CTabDialog)
public:
	TSecondaTab() : CTabDialog("SecondaTab") {}
	BOOL OnPrepareAuxData() override
	{
		auto* pDoc = static_cast<TStrumentiDoc*>(GetDocument());
		pDoc->Log(CString::Formatted("seconda preparata %d", ++pDoc->m_nPreparazioni));
		return TRUE;
	}
};

class TStrumentiView : public CMasterFormView
{
	DECLARE_DYNCREATE(TStrumentiView, CMasterFormView)
public:
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TStrumentiDoc*>(GetDocument());
		AddLink(IDC_ABILITA, "Abilita", RUNTIME_CLASS(CBoolButton), &pDoc->m_Abilita);
		AddLink(IDC_ESEGUI, "Esegui", RUNTIME_CLASS(CExtButton), &pDoc->m_Abilita);
		auto* pList = static_cast<CListBox*>(AddLink(IDC_SIMBOLI, "Simboli", RUNTIME_CLASS(CListBox), nullptr));
		pList->SetSorted();
		for (const char* s : {"RICAVI", "COSTI", "MARGINE"})
			pList->AddString(s);
		AddLink(IDC_RIGHE, "Righe", RUNTIME_CLASS(TRigheBody), pDoc->m_pRighe);
		CTabManager* pTabs = AddTabManager(IDC_SCHEDE, "Schede");
		pTabs->AddDialog(RUNTIME_CLASS(TPrimaTab), 0, "Prima");
		pTabs->AddDialog(RUNTIME_CLASS(TSecondaTab), 0, "Seconda");
		AddLink(IDC_ESITO, "Esito", RUNTIME_CLASS(CStrStatic), &pDoc->m_Esito);
		AddLink(IDC_GENERE, "Genere", RUNTIME_CLASS(CEnumCombo), &pDoc->m_Genere);
		AddLink(IDC_GENERE_RISTRETTO, "Genere ristretto", RUNTIME_CLASS(TGenereRistrettoCombo), &pDoc->m_GenereRistretto);
	}
};

class TStrumentiFrame : public CBatchFrame
{
	DECLARE_DYNCREATE(TStrumentiFrame, CBatchFrame)
public:
	BOOL OnCreateAuxToolbar() override
	{
		AddToolbarCommand(ID_CALCOLA, "&Calcola");
		return TRUE;
	}
};

BEGIN_MESSAGE_MAP(TStrumentiDoc, CAbstractFormDoc)
	ON_LBN_SELCHANGE(IDC_SIMBOLI, OnSimboloScelto)
	ON_LBN_DBLCLK(IDC_SIMBOLI, OnSimboloDoppioClic)
	ON_BN_CLICKED(IDC_ESEGUI, OnEsegui)
	ON_COMMAND(ID_CALCOLA, OnCalcola)
	ON_UPDATE_COMMAND_UI(ID_CALCOLA, OnUpdateCalcola)
END_MESSAGE_MAP()

}  // namespace controlstest
