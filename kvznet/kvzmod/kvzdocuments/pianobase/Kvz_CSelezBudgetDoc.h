#pragma once
// Budget selection: the grouped accounts of a year (economic, balance-sheet or all, optionally
// of one budget code), the cost centres and jobs of the selected account with their budget split
// percentages, and a preview of the budget of the selection. A double click opens the budget
// document on the previewed budget or on a new one. Template "BDSelezBudget".
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_SEL_BDG_TIPO_CONTO_ECON = 53101,
	IDC_SEL_BDG_TIPO_CONTO_PATRIM = 53102,
	IDC_SEL_BDG_TIPO_CONTO_TUTTI = 53103,
	IDC_SEL_BDG_ANNO = 53104,
	IDC_SEL_BDG_CODICE_BUDGET = 53105,
	IDC_SEL_BDG_DESCR_CODICE = 53106,
	IDC_SEL_BDG_TIPO_BUDGET = 53107,
	IDC_SEL_BDG_DESCRI_BUDGET = 53108,
	IDC_SEL_BDG_CONTI = 53109,
	IDC_SEL_BDG_CENTRI = 53110,
	IDC_SEL_BDG_ANTEPRIMA = 53111,
	IDC_SEL_BDG_INTERROGA = 53112,
	IDC_SEL_BDG_ANNO_PREC = 53113,
	IDC_SEL_BDG_ANNO_SUCC = 53114,
	IDC_SEL_BDG_CONTI_CONTO = 53120,
	IDC_SEL_BDG_CONTI_DESCRIZIONE = 53121,
	IDC_SEL_BDG_CONTI_T = 53122,
	IDC_SEL_BDG_CENTRI_TIPO = 53123,
	IDC_SEL_BDG_CENTRI_CODICE = 53124,
	IDC_SEL_BDG_CENTRI_DESCRIZIONE = 53125,
	IDC_SEL_BDG_CENTRI_PERC = 53126,
	IDC_SEL_BDG_ANT_MESE = 53127,
	IDC_SEL_BDG_ANT_IMPORTO = 53128,
	IDC_SEL_BDG_ANT_COD_IVA = 53129,
	IDC_SEL_BDG_ANT_DES_IVA = 53130,
	IDC_SEL_BDG_ANT_COND_PAG = 53131,
	IDC_SEL_BDG_ANT_DES_COND_PAG = 53132,
	IDC_SEL_BDG_NOTA1 = 53133,
	IDC_SEL_BDG_NOTA2 = 53134,
};

class Kvz_CBudgetDoc;

// Standalone buffers: filled by the document, never saved, never a duplicate key.
class Kvz_DBTSelContiBdgKvz : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelContiBdgKvz, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelContiBdgKvz(CAbstractFormDoc* pDocument);
	Kvz_TAnagContiKvz* GetConto(int nRow) const { return static_cast<Kvz_TAnagContiKvz*>(GetRow(nRow)); }

protected:
	BOOL OnCheckPrimaryKey(int, SqlRecord*) override { return TRUE; }
	void OnPreparePrimaryKey(int, SqlRecord*) override {}
};

class Kvz_DBTAnteprimaBudget : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTAnteprimaBudget, DBTSlaveBuffered)
public:
	explicit Kvz_DBTAnteprimaBudget(CAbstractFormDoc* pDocument);
	Kvz_TEnhBudgetRighe* GetRiga(int nRow) const { return static_cast<Kvz_TEnhBudgetRighe*>(GetRow(nRow)); }

protected:
	BOOL OnCheckPrimaryKey(int, SqlRecord*) override { return TRUE; }
	void OnPreparePrimaryKey(int, SqlRecord*) override {}
};

class Kvz_DBTSelezCdcCommBudget : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelezCdcCommBudget, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelezCdcCommBudget(CAbstractFormDoc* pDocument);
	Kvz_TCentriCommesseContiKvz* GetCentro(int nRow) const
	{
		return static_cast<Kvz_TCentriCommesseContiKvz*>(GetRow(nRow));
	}

protected:
	BOOL OnCheckPrimaryKey(int, SqlRecord*) override { return TRUE; }
	void OnPreparePrimaryKey(int, SqlRecord*) override {}
};

class Kvz_CSelezBudgetDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CSelezBudgetDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CSelezBudgetDoc();
	~Kvz_CSelezBudgetDoc() override;

	void RiempiDBTConti();
	void RiempiDBTCentriComm();
	// The preview of the budget of the selection on this accounts row (null: row 0).
	void RiempiDBTBudget(SqlRecord* pRigaConto);
	// Opens the budget document on the previewed budget, or on a new one.
	void ApriBudget();

	Kvz_DBTSelContiBdgKvz* m_pDBTConti = nullptr;
	Kvz_DBTAnteprimaBudget* m_pDBTAnteprima = nullptr;
	Kvz_DBTSelezCdcCommBudget* m_pDBTCentri = nullptr;
	Kvz_CBudgetDoc* m_pBudgetDoc = nullptr;  // the budget document opened last, while open
	Kvz_HKLCodiciBudget* m_pHKLCodiciBudget = nullptr;

	DataInt m_Anno;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataStr m_DescriBudget;
	DataBool m_bEconomici{TRUE};
	DataBool m_bPatrimoniali;
	DataBool m_bTutti;
	DataBool m_bContoCliccato;
	DataStr m_CodiceBudget;
	DataStr m_ContoSel;
	DataStr m_CentroCommSel;
	DataStr m_DescrCentroCommSel;
	DataEnum m_TipoCentroCommSel;
	DataBool m_bSempre{TRUE};
	// The form's two fixed lines.
	DataStr m_Nota1{"IN CASO DI MODIFICHE DELLE PERCENTUALI DI RIPARTIZIONE"};
	DataStr m_Nota2{"OCCORRE RICALCOLARE I VALORI NEL SOTTOCONTO "};

	// The current accounts row, row 0 when none is current; null for an empty grid.
	Kvz_TAnagContiKvz* GetRigaContoCorrente() const;
	// The current row of the centres grid; null when none.
	Kvz_TCentriCommesseContiKvz* GetRigaCentroCorrente() const;

protected:
	BOOL OnAttachData() override;
	void DisableControlsForBatch() override {}

	void OnInterroga();
	void OnAnnoChanged();
	void OnAnnoPrec();
	void OnAnnoSucc();
	void OnTipoBudgetChanged();
	void OnContoRowChanged();
	void OnCentroRowChanged();
	void OnPercChanged();
	void OnContoClicked();
	void OnCentroClicked();
	void OnContoDblClicked();
	void OnCentroDblClicked();

private:
	void AzzeraCentroSel();
};

// Budget types a selection may choose: every one except the formula descriptions (item 3).
class Kvz_TipoBudgetSelezCombo : public Kvz_TipoBudgetInputCombo
{
	DECLARE_DYNCREATE(Kvz_TipoBudgetSelezCombo, Kvz_TipoBudgetInputCombo)
};

class Kvz_CSelezBudgetView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CSelezBudgetView, CMasterFormView)
public:
	Kvz_CSelezBudgetView() : CMasterFormView(_T("CSelezBudgetView")) {}
	void BuildDataControlLinks() override;
};

class Kvz_SelContiBdgKvzEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelContiBdgKvzEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_SelezCdcCommBudgetEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelezCdcCommBudgetEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_AnteprimaBudgetEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_AnteprimaBudgetEdit, CBodyEdit)
public:
	void Customize() override;
};
