#pragma once
// Definition of a symbol valued from the stored results of a reclassification: one code or a
// range of a model, of a year and month (constants, or the evaluation's own), the main value, a
// further one or a budget value, here or in another company's database, whose models and codes
// the "MultAz" buttons browse. Template "BDPropSimboloOutRiclass".
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloCodiceDoc.h"

enum : UINT
{
	IDD_PROP_SIMBOLO_OUTRICLASS = 31763,
	IDD_DATI_SIMB_OUTRICLASS = 31764,
	IDC_OUTRCL_SYMB_TABBER = 52314,
	IDC_OUTRCL_SYMB_DESCRI_FORMULA = 52315,
	IDC_OUTRCL_SYMB_MESE_DA = 52316,
	IDC_OUTRCL_TIPO_WHERE_MESE_CONST_DA = 52317,
	IDC_OUTRCL_TIPO_WHERE_MESE_SYMB_DA = 52318,
	IDC_OUTRCL_SYMB_DESCR_RIGA = 52319,
	IDC_OUTRCL_SYMB_TIPORIGA = 52320,
	IDC_OUTRCL_SYMB_DESCR_DOCUMENTO = 52321,
	IDC_OUTRCL_SYMB_MODELLO_VIS = 52322,
	IDC_OUTRCL_SYMB_ESERCIZIO = 52323,
	IDC_OUTRCL_SYMB_CODICE_VIS = 52324,
	IDC_OUTRCL_SYMB_OK = 52328,
	IDC_OUTRCL_SYMB_ANNULLA = 52329,
	IDC_OUTRCL_SYMB_COPIA = 52330,
	IDC_OUTRCL_SYMB_ES_DA = 52331,
	IDC_OUTRCL_TIPO_WHERE_ES_CONST_DA = 52332,
	IDC_OUTRCL_TIPO_WHERE_ES_SYMB_DA = 52333,
	IDC_OUTRCL_SYMB_MODELLO = 52339,
	IDC_OUTRCL_SYMB_CODICE = 52340,
	IDC_OUTRCL_NOME_SIMBOLO = 52341,
	IDC_OUTRCL_SYMB_NOTE = 52342,
	IDC_OUTRCL_SYMB_USA_FORMULA_PRINC = 52343,
	IDC_OUTRCL_SYMB_USA_FORMULA_COLONNA = 52344,
	IDC_OUTRCL_SYMB_NR_COLONNA = 52345,
	IDC_OUTRCL_SYMB_CODICE_A = 52346,
	IDC_OUTRCL_SYMB_FUNZ_AGGREG = 52347,
	IDC_OUTRCL_SYMB_USA_TIPO_BUDGET = 52348,
	IDC_OUTRCL_SYMB_TIPO_DATO = 52349,
	IDC_OUTRCL_SYMB_USA_FORMULA_DEL_BUDGET = 52350,
	IDC_OUTRCL_MULTAZ_MODELLO = 52351,
	IDC_OUTRCL_MULTAZ_CODICE_DA = 52352,
	IDC_OUTRCL_MULTAZ_CODICE_A = 52353,
};

class Kvz_CPropSimboloOutRiclassDoc : public Kvz_CPropSimboloCodiceDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloOutRiclassDoc, Kvz_CPropSimboloCodiceDoc)
	DECLARE_MESSAGE_MAP()
public:
	const Kvz_FormSimboloCodice& Form() const override;

	// The engine mode under which the results to read were written.
	DataEnum m_TipoDatoPBase{E_KVZ_TIPODATOPBASE, 0};
	// TRUE when the code browser was opened for the code from, FALSE for the code to.
	DataBool m_bBrowseCodiceDa;

	// The "MultAz" buttons: the browsers of the company's models and codes, which write the
	// choice back here; without a company only said.
	void OnMultAzModello();
	void OnMultAzCodiceDa();
	void OnMultAzCodiceA();
	// A model chosen in the browser: the codes' and descriptions' lookups follow it.
	void OnModelloScelto() { OnModelloChanged(); }

protected:
	BOOL OnAttachData() override;
	WORD TipoSimbolo() const override { return KVZ_SIMBOLO_OUTRICLASS; }
	const char* Sorgente() const override { return "PropSimboloOutRiclass"; }
	LPCTSTR PrefissoNome() const override { return _T("O"); }
	const char* MetodoApertura() const override { return "Kvz_CPropSimboloOutRiclassDoc::OnOpenDocument"; }
	BOOL HaMese() const override { return TRUE; }
	BOOL ModelloRichiesto() const override { return TRUE; }
	void ImpostaDefault() override;
	void LeggiDefinizione() override;
	BOOL ScriviDefinizione(SqlSession* pSession) override;

private:
	void Sfoglia(LPCTSTR szNamespace);
};

class Kvz_CPropSimboloOutRiclassView : public Kvz_CPropSimboloCodiceView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloOutRiclassView, Kvz_CPropSimboloCodiceView)
public:
	Kvz_CPropSimboloOutRiclassView()
		: Kvz_CPropSimboloCodiceView(_T("CPropSimboloOutRiclassView"), IDD_PROP_SIMBOLO_OUTRICLASS)
	{
	}

protected:
	CRuntimeClass* ClasseTabber() const override;
	CRuntimeClass* ClasseTab() const override;
};

class Kvz_CSimbOutRiclassTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CSimbOutRiclassTabber, CTabManager)
};

class Kvz_CDatiOutRiclassTabDlg : public Kvz_CDatiSimboloCodiceTabDlg
{
	DECLARE_DYNCREATE(Kvz_CDatiOutRiclassTabDlg, Kvz_CDatiSimboloCodiceTabDlg)
public:
	Kvz_CDatiOutRiclassTabDlg() : Kvz_CDatiSimboloCodiceTabDlg(_T("CDatiOutRiclassTabDlg"), IDD_DATI_SIMB_OUTRICLASS) {}

protected:
	void AggiungiAltri(Kvz_CPropSimboloCodiceDoc& d) override;
};
