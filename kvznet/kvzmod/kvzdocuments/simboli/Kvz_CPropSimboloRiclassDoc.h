#pragma once
// Definition of a symbol valued from the formulas of reclassified codes: one code or a range of
// a model (a constant, or the evaluation's own), of a year, taking the rows' main formula, a
// further one or a budget formula. Template "BDPropSimboloRiclass".
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloCodiceDoc.h"

enum : UINT
{
	IDD_PROP_SIMBOLO_RICLASS = 31819,
	IDD_DATI_SIMB_RICLASS = 31820,
	IDC_RCL_SYMB_DESCRI_FORMULA = 52167,
	IDC_RCL_SYMB_TABBER = 52168,
	IDC_RCL_SYMB_DESCR_RIGA = 52169,
	IDC_RCL_SYMB_TIPORIGA = 52170,
	IDC_RCL_SYMB_DESCR_DOCUMENTO = 52171,
	IDC_RCL_SYMB_MODELLO_VIS = 52172,
	IDC_RCL_SYMB_ESERCIZIO = 52173,
	IDC_RCL_SYMB_CODICE_VIS = 52174,
	IDC_RCL_SYMB_OK = 52178,
	IDC_RCL_SYMB_ANNULLA = 52179,
	IDC_RCL_SYMB_COPIA = 52180,
	IDC_RCL_SYMB_ES_DA = 52181,
	IDC_RCL_TIPO_WHERE_ES_CONST_DA = 52182,
	IDC_RCL_TIPO_WHERE_ES_SYMB_DA = 52183,
	IDC_RCL_TIPO_WHERE_MOD_CONST = 52185,
	IDC_RCL_TIPO_WHERE_MOD_SYMB = 52187,
	IDC_RCL_SYMB_MODELLO = 52189,
	IDC_RCL_SYMB_CODICE = 52190,
	IDC_RCL_NOME_SIMBOLO = 52191,
	IDC_RCL_SYMB_NOTE = 52192,
	IDC_RCL_SYMB_USA_FORMULA_PRINC = 52193,
	IDC_RCL_SYMB_USA_FORMULA_COLONNA = 52194,
	IDC_RCL_SYMB_NR_COLONNA = 52195,
	IDC_RCL_SYMB_CODICE_A = 52196,
	IDC_RCL_SYMB_FUNZ_AGGREG = 52197,
	IDC_RCL_SYMB_USA_TIPO_BUDGET = 52198,
	IDC_RCL_SYMB_USA_FORMULA_DEL_BUDGET = 52199,
};

class Kvz_CPropSimboloRiclassDoc : public Kvz_CPropSimboloCodiceDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloRiclassDoc, Kvz_CPropSimboloCodiceDoc)
	DECLARE_MESSAGE_MAP()
public:
	const Kvz_FormSimboloCodice& Form() const override;

protected:
	BOOL OnAttachData() override;
	WORD TipoSimbolo() const override { return KVZ_SIMBOLO_RICLASS; }
	const char* Sorgente() const override { return "PropSimboloRiclass"; }
	LPCTSTR PrefissoNome() const override { return _T("R"); }
	const char* MetodoApertura() const override { return "Kvz_CPropSimboloRiclassDoc::OnOpenDocument"; }
	BOOL ModelloRichiesto() const override { return m_ModelloConst == TRUE; }
	void ImpostaDefault() override;
	void LeggiDefinizione() override;
	BOOL ScriviDefinizione(SqlSession* pSession) override;
};

class Kvz_CPropSimboloRiclassView : public Kvz_CPropSimboloCodiceView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloRiclassView, Kvz_CPropSimboloCodiceView)
public:
	Kvz_CPropSimboloRiclassView() : Kvz_CPropSimboloCodiceView(_T("CPropSimboloRiclassView"), IDD_PROP_SIMBOLO_RICLASS) {}

protected:
	CRuntimeClass* ClasseTabber() const override;
	CRuntimeClass* ClasseTab() const override;
};

class Kvz_CSimbRiclassTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CSimbRiclassTabber, CTabManager)
};

class Kvz_CDatiSimbRiclassTabDlg : public Kvz_CDatiSimboloCodiceTabDlg
{
	DECLARE_DYNCREATE(Kvz_CDatiSimbRiclassTabDlg, Kvz_CDatiSimboloCodiceTabDlg)
public:
	Kvz_CDatiSimbRiclassTabDlg() : Kvz_CDatiSimboloCodiceTabDlg(_T("CDatiSimbRiclassTabDlg"), IDD_DATI_SIMB_RICLASS) {}
};
