#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloRiclassDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "platform/plvgeneric/Application.h"

namespace {
// The form's fields and the definition's columns they are stored in, one to one.
template <class F>
void PerOgniCampo(Kvz_CPropSimboloRiclassDoc& d, Kvz_TSimboliCodiciRiclass& r, F f)
{
	f(d.m_Annotazioni, r.f_Annotazioni);
	f(d.m_EsConst, r.f_ValoreEsConst);
	f(d.m_EsSymb, r.f_ValoreEsSymb);
	f(d.m_Es, r.f_ValoreEs);
	f(d.m_ModelloConst, r.f_ValoreModelloConst);
	f(d.m_ModelloSymb, r.f_ValoreModelloSymb);
	f(d.m_ValoreModello, r.f_ValoreModello);
	f(d.m_CodiceDa, r.f_ValoreCodice);
	f(d.m_CodiceA, r.f_ValoreCodiceA);
	f(d.m_AggregFunction, r.f_AggregFunction);
	f(d.m_NrColonna, r.f_FormulaDaUsare);
	f(d.m_UsaBudget, r.f_ValoreDalBudget);
	f(d.m_TipoBudget, r.f_TipoBudget);
}
}  // namespace

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloRiclassDoc, Kvz_CPropSimboloCodiceDoc)
	ON_BN_CLICKED(IDC_RCL_SYMB_COPIA, OnCopiaInNuovoSimbolo)
	ON_BN_CLICKED(IDC_RCL_SYMB_OK, OnOk)
	ON_BN_CLICKED(IDC_RCL_SYMB_ANNULLA, OnAnnulla)
	ON_EN_VALUE_CHANGED(IDC_RCL_TIPO_WHERE_ES_CONST_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_TIPO_WHERE_ES_SYMB_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_TIPO_WHERE_MOD_CONST, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_TIPO_WHERE_MOD_SYMB, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_USA_FORMULA_COLONNA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_USA_FORMULA_PRINC, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_USA_FORMULA_DEL_BUDGET, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_MODELLO, OnModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_CODICE, OnCodiceDaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_SYMB_DESCRI_FORMULA, OnDescrizioneChanged)
END_MESSAGE_MAP()

const Kvz_FormSimboloCodice& Kvz_CPropSimboloRiclassDoc::Form() const
{
	static const Kvz_FormSimboloCodice form = [] {
		Kvz_FormSimboloCodice f;
		f.tabber = {IDC_RCL_SYMB_TABBER, _T("CPropSimboloRiclassView")};
		f.nOk = IDC_RCL_SYMB_OK;
		f.nAnnulla = IDC_RCL_SYMB_ANNULLA;
		f.nCopia = IDC_RCL_SYMB_COPIA;
		f.descrDocumento = {IDC_RCL_SYMB_DESCR_DOCUMENTO, _T("RCL_SYMB_DESCR_DOCUMENTO")};
		f.esercizioVis = {IDC_RCL_SYMB_ESERCIZIO, _T("RCL_SYMB_ESERCIZIO")};
		f.modelloVis = {IDC_RCL_SYMB_MODELLO_VIS, _T("RCL_SYMB_MODELLO_VIS")};
		f.codiceVis = {IDC_RCL_SYMB_CODICE_VIS, _T("RCL_SYMB_CODICE_VIS")};
		f.tipoRiga = {IDC_RCL_SYMB_TIPORIGA, _T("RCL_SYMB_TIPORIGA")};
		f.descrRiga = {IDC_RCL_SYMB_DESCR_RIGA, _T("RCL_SYMB_DESCR_RIGA")};
		f.nome = {IDC_RCL_NOME_SIMBOLO, _T("RCL_NOME_SIMBOLO")};
		f.note = {IDC_RCL_SYMB_NOTE, _T("RCL_SYMB_NOTE")};
		f.aggreg = {IDC_RCL_SYMB_FUNZ_AGGREG, _T("RCL_SYMB_FUNZ_AGGREG")};
		f.princ = {IDC_RCL_SYMB_USA_FORMULA_PRINC, _T("RCL_SYMB_USA_FORMULA_PRINC")};
		f.colonna = {IDC_RCL_SYMB_USA_FORMULA_COLONNA, _T("RCL_SYMB_USA_FORMULA_COLONNA")};
		f.nrColonna = {IDC_RCL_SYMB_NR_COLONNA, _T("RCL_SYMB_NR_COLONNA")};
		f.budget = {IDC_RCL_SYMB_USA_FORMULA_DEL_BUDGET, _T("RCL_SYMB_USA_FORMULA_DEL_BUDGET")};
		f.tipoBudget = {IDC_RCL_SYMB_USA_TIPO_BUDGET, _T("RCL_SYMB_USA_TIPO_BUDGET")};
		f.esConst = {IDC_RCL_TIPO_WHERE_ES_CONST_DA, _T("RCL_TIPO_WHERE_ES_CONST_DA")};
		f.esSymb = {IDC_RCL_TIPO_WHERE_ES_SYMB_DA, _T("RCL_TIPO_WHERE_ES_SYMB_DA")};
		f.es = {IDC_RCL_SYMB_ES_DA, _T("RCL_SYMB_ES_DA")};
		f.modConst = {IDC_RCL_TIPO_WHERE_MOD_CONST, _T("RCL_TIPO_WHERE_MOD_CONST")};
		f.modSymb = {IDC_RCL_TIPO_WHERE_MOD_SYMB, _T("RCL_TIPO_WHERE_MOD_SYMB")};
		f.modello = {IDC_RCL_SYMB_MODELLO, _T("RCL_SYMB_MODELLO")};
		f.codiceDa = {IDC_RCL_SYMB_CODICE, _T("RCL_SYMB_CODICE")};
		f.codiceA = {IDC_RCL_SYMB_CODICE_A, _T("RCL_SYMB_CODICE_A")};
		f.descrFormula = {IDC_RCL_SYMB_DESCRI_FORMULA, _T("RCL_SYMB_DESCRI_FORMULA")};
		f.nTab = IDD_DATI_SIMB_RICLASS;
		return f;
	}();
	return form;
}

BOOL Kvz_CPropSimboloRiclassDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Definizione valore da codice riclassificato"), Sorgente()));
	CreaLookupRiclassificati();
	CreaLookupDescrizioni();
	return Kvz_CPropSimboloCodiceDoc::OnAttachData();
}

void Kvz_CPropSimboloRiclassDoc::ImpostaDefault()
{
	m_ModelloSymb = FALSE;
	m_ModelloConst = TRUE;
	// The model of the document whose formula the editor is writing.
	if (GetFormulaDoc() && GetFormulaDoc()->GetCaller())
		m_ValoreModello = GetFormulaDoc()->GetCaller()->GetModello();
	m_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 0);
}

void Kvz_CPropSimboloRiclassDoc::LeggiDefinizione()
{
	LeggiRiga<Kvz_TRSimboliCodiciRiclass>([&](Kvz_TSimboliCodiciRiclass& r, auto f) { PerOgniCampo(*this, r, f); });
}

BOOL Kvz_CPropSimboloRiclassDoc::ScriviDefinizione(SqlSession* pSession)
{
	return ScriviRiga<Kvz_TUSimboliCodiciRiclass>(pSession, [&](Kvz_TSimboliCodiciRiclass& r, auto f) { PerOgniCampo(*this, r, f); });
}

CRuntimeClass* Kvz_CPropSimboloRiclassView::ClasseTabber() const
{
	return RUNTIME_CLASS(Kvz_CSimbRiclassTabber);
}

CRuntimeClass* Kvz_CPropSimboloRiclassView::ClasseTab() const
{
	return RUNTIME_CLASS(Kvz_CDatiSimbRiclassTabDlg);
}
