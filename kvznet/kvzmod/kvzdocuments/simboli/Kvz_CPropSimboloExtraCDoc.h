#pragma once
// Definition of a symbol valued from the monthly formulas of extra-accounting codes: one
// code or a range, the main formula or a further one, of a year and month (constants, or the
// evaluation's own). Template "BDPropSimboloExtraC".
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloCodiceDoc.h"

enum : UINT
{
	IDD_PROP_SIMBOLO_EXTRAC = 31766,
	IDD_DATI_SIMB_EXTRAC = 31767,
	IDC_EX_SYMB_TABBER = 52372,
	IDC_EX_SYMB_DESCR_RIGA = 52373,
	IDC_EX_SYMB_TIPORIGA = 52374,
	IDC_EX_SYMB_DESCR_DOCUMENTO = 52375,
	IDC_EX_SYMB_MODELLO = 52376,
	IDC_EX_SYMB_OK = 52377,
	IDC_EX_SYMB_ANNULLA = 52378,
	IDC_EX_SYMB_COPIA = 52379,
	IDC_EX_SYMB_ESERCIZIO = 52382,
	IDC_EX_SYMB_ES_DA = 52383,
	IDC_EX_TIPO_WHERE_ES_CONST_DA = 52386,
	IDC_EX_TIPO_WHERE_ES_SYMB_DA = 52388,
	IDC_EX_SYMB_MESE_DA = 52389,
	IDC_EX_TIPO_WHERE_MESE_CONST_DA = 52391,
	IDC_EX_TIPO_WHERE_MESE_SYMB_DA = 52392,
	IDC_EX_SYMB_CODICE = 52394,
	IDC_EX_SYMB_CODICE_DA = 52395,
	IDC_EX_SYMB_CODICE_A = 52396,
	IDC_EX_SYMB_NOME_SIMBOLO = 52398,
	IDC_EX_SYMB_NOTE = 52399,
	IDC_EX_SYMB_USA_FORMULA_PRINC = 52404,
	IDC_EX_SYMB_USA_FORMULA_COLONNA = 52405,
	IDC_EX_SYMB_NR_COLONNA = 52406,
	IDC_EX_SYMB_FUNZ_AGGREG = 52407,
	IDC_EX_SYMB_DESCRI_FORMULA = 52408,
};

class Kvz_CPropSimboloExtraCDoc : public Kvz_CPropSimboloCodiceDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloExtraCDoc, Kvz_CPropSimboloCodiceDoc)
	DECLARE_MESSAGE_MAP()
public:
	const Kvz_FormSimboloCodice& Form() const override;
	HotKeyLinkObj* LookupCodice(BOOL bDa) const override
	{
		return bDa ? m_pHKLCodiceDa : m_pHKLCodiceA;
	}

	KVZ_HKLCodiciExtracont* m_pHKLCodiceDa = nullptr;
	KVZ_HKLCodiciExtracont* m_pHKLCodiceA = nullptr;

protected:
	BOOL OnAttachData() override;
	WORD TipoSimbolo() const override { return KVZ_SIMBOLO_EXTRACONT; }
	const char* Sorgente() const override { return "PropSimboloExtraC"; }
	LPCTSTR PrefissoNome() const override { return _T("E"); }
	const char* MetodoApertura() const override { return "Kvz_CPropSimboloExtraCDoc::OnOpenDocument"; }
	const DataStr& CodiceDescrizioni() const override { return m_CodiceDa; }
	WORD TipoCodiceDescrizioni() const override { return KVZ_SIMBOLO_EXTRACONT; }
	BOOL HaMese() const override { return TRUE; }
	BOOL HaBudget() const override { return FALSE; }
	CString MessaggioCodice() const override;
	void LeggiDefinizione() override;
	BOOL ScriviDefinizione(SqlSession* pSession) override;
};

class Kvz_CPropSimboloExtraCView : public Kvz_CPropSimboloCodiceView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloExtraCView, Kvz_CPropSimboloCodiceView)
public:
	Kvz_CPropSimboloExtraCView() : Kvz_CPropSimboloCodiceView(_T("CPropSimboloExtraCView"), IDD_PROP_SIMBOLO_EXTRAC) {}

protected:
	CRuntimeClass* ClasseTabber() const override;
	CRuntimeClass* ClasseTab() const override;
};

class Kvz_CSimbExtracTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CSimbExtracTabber, CTabManager)
};

class Kvz_CDatiSimbExtracTabDlg : public Kvz_CDatiSimboloCodiceTabDlg
{
	DECLARE_DYNCREATE(Kvz_CDatiSimbExtracTabDlg, Kvz_CDatiSimboloCodiceTabDlg)
public:
	Kvz_CDatiSimbExtracTabDlg() : Kvz_CDatiSimboloCodiceTabDlg(_T("CDatiSimbExtracTabDlg"), IDD_DATI_SIMB_EXTRAC) {}
};
