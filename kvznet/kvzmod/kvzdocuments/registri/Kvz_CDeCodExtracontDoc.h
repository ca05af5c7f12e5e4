#pragma once
// The extra-accounting codes register: a code of a year with its twelve month rows of eleven
// formulas (checked as they are typed, in the context of their month "mese%d") and one
// description per formula column, which titles the month grid's columns. A new code can be
// filled from another code of any year, with or without its formulas and symbols. Template
// "DCodExtracont".
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_DECODEXTRACONT = 31800,
	IDD_DECODEXTRACONT_RIGHE = 31801,
	IDD_DECODEXTRACONT_DESCRI = 31802,
	IDC_EXTRA_ESERCIZIO = 52600,
	IDC_EXTRA_CODICE = 52601,
	IDC_EXTRA_DESCRIZIONE = 52602,
	IDC_EXTRA_COPIA_ESERCIZIO = 52603,
	IDC_EXTRA_COPIA_CODICE = 52604,
	IDC_EXTRA_COPIA_FORMULE = 52605,
	IDC_EXTRA_EFFETTUA_COPIA = 52606,
	IDC_EXTRA_TABBER = 52607,
	IDC_EXTRA_RIGHE = 52608,
	IDC_EXTRA_DESCRIZIONI = 52609,
	IDC_EXTRA_R_MESE = 52610,
	IDC_EXTRA_R_FORMULA = 52611,  // to 52621 for Formula10
	IDC_EXTRA_D_COLONNA = 52630,
	IDC_EXTRA_D_DESCRIZIONE = 52631,
	ID_EXTRA_CONTATORI = 52640,
};

class Kvz_CDeCodExtracontDoc;

class Kvz_DBTContiKvzTesta : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTContiKvzTesta, DBTMaster)
public:
	explicit Kvz_DBTContiKvzTesta(CAbstractFormDoc* pDocument);
	Kvz_TCodExtracontabiliTesta* GetTesta() const;

protected:
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey() override;
	void OnPrepareBrowser(SqlTable* pTable) override;
};

class Kvz_DBTCodExtracont : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTCodExtracont, DBTSlaveBuffered)
public:
	explicit Kvz_DBTCodExtracont(CAbstractFormDoc* pDocument);
	Kvz_TCodExtracontabili* GetRiga(int nRow) const;
	Kvz_TCodExtracontabili* GetCurrentRecord() const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
};

class Kvz_DBTDescrizioniExtrac : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTDescrizioniExtrac, DBTSlaveBuffered)
public:
	explicit Kvz_DBTDescrizioniExtrac(CAbstractFormDoc* pDocument);
	Kvz_TDescrFormula* GetRiga(int nRow) const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
};

class Kvz_CDeCodExtracontDoc : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodExtracontDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TCodExtracontabiliTesta* GetTesta() const;
	Kvz_DBTCodExtracont* GetDBTMesi() const { return m_pDBTMesi; }
	Kvz_DBTDescrizioniExtrac* GetDBTDescrizioni() const { return m_pDBTDescrizioni; }
	KVZ_HKLCodiciExtracont* GetHKLCopia() const { return m_pHKLCopia; }
	CBaseDocument* GetContatoriDoc() const { return m_pContatoriDoc; }

	// Set by the grids as they build their columns.
	void SetColonnaFormula(int nIndice, ColumnInfo* pCol) { m_pColonneFormula[nIndice] = pCol; }
	void SetGrigliaMesi(CBodyEdit* pGrid) { m_pGrigliaMesi = pGrid; }

	BOOL SimboloUtilizzato(CString strNome) override;
	void OnFormulaChanged() override;
	virtual void OnEsercizioCopiaChanged();
	virtual void OnFormula1Changed() { FormulaChanged(1); }
	virtual void OnFormula2Changed() { FormulaChanged(2); }
	virtual void OnFormula3Changed() { FormulaChanged(3); }
	virtual void OnFormula4Changed() { FormulaChanged(4); }
	virtual void OnFormula5Changed() { FormulaChanged(5); }
	virtual void OnFormula6Changed() { FormulaChanged(6); }
	virtual void OnFormula7Changed() { FormulaChanged(7); }
	virtual void OnFormula8Changed() { FormulaChanged(8); }
	virtual void OnFormula9Changed() { FormulaChanged(9); }
	virtual void OnFormula10Changed() { FormulaChanged(10); }

	void CaricaContatoriRighe();
	void PreparaDescrizioniFormule();
	void AggiornaTitoliFormule();
	// Copies the source code's symbols onto the form's code and year, all or none.
	void CopiaTuttiISimboli();

	DataStr m_CopiaCodice;
	DataInt m_CopiaEsercizio;
	DataBool m_CopiaFormule;
	DataBool m_CopiaAbilitata;

protected:
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	BOOL OnOkTransaction() override;
	BOOL OnDeleteTransaction() override;
	void OnGoInBrowseMode() override;

	void OnRigaCorrenteChanged();
	void OnVisualizzaContatori();
	void OnCopiaCodExtrac();

private:
	void FormulaChanged(int nIndice);
	void SetContestoRiga(const Kvz_TCodExtracontabili& aRiga);
	// Whether the form's code and year already have month rows stored.
	BOOL EsisteCodice();
	void SegnalaCodiceEsistente();

	Kvz_DBTCodExtracont* m_pDBTMesi = nullptr;
	Kvz_DBTDescrizioniExtrac* m_pDBTDescrizioni = nullptr;
	CBaseDocument* m_pContatoriDoc = nullptr;
	ColumnInfo* m_pColonneFormula[KVZ_NUM_POSIZ_FORMULA] = {};
	CBodyEdit* m_pGrigliaMesi = nullptr;
	KVZ_HKLCodiciExtracont* m_pHKLCopia = nullptr;
};

class Kvz_CodExtracontTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CodExtracontTabber, CTabManager)
};

class Kvz_ExtracontRigheDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_ExtracontRigheDlg, CTabDialog)
public:
	Kvz_ExtracontRigheDlg() : CTabDialog(_T("ExtracontRigheDlg"), IDD_DECODEXTRACONT_RIGHE) {}
	void BuildDataControlLinks() override;
	BOOL OnPrepareAuxData() override;
};

class Kvz_ExtracontDescriDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_ExtracontDescriDlg, CTabDialog)
public:
	Kvz_ExtracontDescriDlg() : CTabDialog(_T("ExtracontDescriDlg"), IDD_DECODEXTRACONT_DESCRI) {}
	void BuildDataControlLinks() override;
};

class Kvz_CodExtracontBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_CodExtracontBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_DescrizioniExtracBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_DescrizioniExtracBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CDeCodExtracontView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodExtracontView, CMasterFormView)
public:
	Kvz_CDeCodExtracontView() : CMasterFormView(_T("CDeCodExtracontView"), IDD_DECODEXTRACONT) {}
	void BuildDataControlLinks() override;
};
