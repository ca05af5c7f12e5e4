#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/CommandManager.h"

namespace {
// The form's fields and the definition's columns they are stored in, one to one.
template <class F>
void PerOgniCampo(Kvz_CPropSimboloOutRiclassDoc& d, Kvz_TSimboliOutputRiclass& r, F f)
{
	f(d.m_Annotazioni, r.f_Annotazioni);
	f(d.m_EsConst, r.f_ValoreEsConst);
	f(d.m_EsSymb, r.f_ValoreEsSymb);
	f(d.m_Es, r.f_ValoreEs);
	f(d.m_MeseConst, r.f_ValoreMeseConst);
	f(d.m_MeseSymb, r.f_ValoreMeseSymb);
	f(d.m_Mese, r.f_ValoreMese);
	f(d.m_ValoreModello, r.f_ValoreModello);
	f(d.m_CodiceDa, r.f_ValoreCodice);
	f(d.m_CodiceA, r.f_ValoreCodiceA);
	f(d.m_AggregFunction, r.f_AggregFunction);
	f(d.m_NrColonna, r.f_ValoreDaUsare);
	f(d.m_UsaBudget, r.f_ValoreDalBudget);
	f(d.m_TipoBudget, r.f_TipoBudget);
	f(d.m_TipoDatoPBase, r.f_TipoDatoPBase);
}
}  // namespace

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloOutRiclassDoc, Kvz_CPropSimboloCodiceDoc)
	ON_BN_CLICKED(IDC_OUTRCL_SYMB_COPIA, OnCopiaInNuovoSimbolo)
	ON_BN_CLICKED(IDC_OUTRCL_SYMB_OK, OnOk)
	ON_BN_CLICKED(IDC_OUTRCL_SYMB_ANNULLA, OnAnnulla)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_TIPO_WHERE_ES_CONST_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_TIPO_WHERE_ES_SYMB_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_USA_FORMULA_COLONNA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_USA_FORMULA_PRINC, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_TIPO_WHERE_MESE_CONST_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_TIPO_WHERE_MESE_SYMB_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_USA_FORMULA_DEL_BUDGET, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_MODELLO, OnModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_CODICE, OnCodiceDaChanged)
	ON_EN_VALUE_CHANGED(IDC_OUTRCL_SYMB_DESCRI_FORMULA, OnDescrizioneChanged)
	ON_BN_CLICKED(IDC_OUTRCL_MULTAZ_MODELLO, OnMultAzModello)
	ON_BN_CLICKED(IDC_OUTRCL_MULTAZ_CODICE_DA, OnMultAzCodiceDa)
	ON_BN_CLICKED(IDC_OUTRCL_MULTAZ_CODICE_A, OnMultAzCodiceA)
END_MESSAGE_MAP()

const Kvz_FormSimboloCodice& Kvz_CPropSimboloOutRiclassDoc::Form() const
{
	static const Kvz_FormSimboloCodice form = [] {
		Kvz_FormSimboloCodice f;
		f.tabber = {IDC_OUTRCL_SYMB_TABBER, _T("CPropSimboloOutRiclassView")};
		f.nOk = IDC_OUTRCL_SYMB_OK;
		f.nAnnulla = IDC_OUTRCL_SYMB_ANNULLA;
		f.nCopia = IDC_OUTRCL_SYMB_COPIA;
		f.descrDocumento = {IDC_OUTRCL_SYMB_DESCR_DOCUMENTO, _T("OUTRCL_SYMB_DESCR_DOCUMENTO")};
		f.esercizioVis = {IDC_OUTRCL_SYMB_ESERCIZIO, _T("OUTRCL_SYMB_ESERCIZIO")};
		f.modelloVis = {IDC_OUTRCL_SYMB_MODELLO_VIS, _T("OUTRCL_SYMB_MODELLO_VIS")};
		f.codiceVis = {IDC_OUTRCL_SYMB_CODICE_VIS, _T("OUTRCL_SYMB_CODICE_VIS")};
		f.tipoRiga = {IDC_OUTRCL_SYMB_TIPORIGA, _T("OUTRCL_SYMB_TIPORIGA")};
		f.descrRiga = {IDC_OUTRCL_SYMB_DESCR_RIGA, _T("OUTRCL_SYMB_DESCR_RIGA")};
		f.nome = {IDC_OUTRCL_NOME_SIMBOLO, _T("OUTRCL_NOME_SIMBOLO")};
		f.note = {IDC_OUTRCL_SYMB_NOTE, _T("OUTRCL_SYMB_NOTE")};
		f.aggreg = {IDC_OUTRCL_SYMB_FUNZ_AGGREG, _T("OUTRCL_SYMB_FUNZ_AGGREG")};
		f.princ = {IDC_OUTRCL_SYMB_USA_FORMULA_PRINC, _T("OUTRCL_SYMB_USA_FORMULA_PRINC")};
		f.colonna = {IDC_OUTRCL_SYMB_USA_FORMULA_COLONNA, _T("OUTRCL_SYMB_USA_FORMULA_COLONNA")};
		f.nrColonna = {IDC_OUTRCL_SYMB_NR_COLONNA, _T("OUTRCL_SYMB_NR_COLONNA")};
		f.budget = {IDC_OUTRCL_SYMB_USA_FORMULA_DEL_BUDGET, _T("OUTRCL_SYMB_USA_FORMULA_DEL_BUDGET")};
		f.tipoBudget = {IDC_OUTRCL_SYMB_USA_TIPO_BUDGET, _T("OUTRCL_SYMB_USA_TIPO_BUDGET")};
		f.esConst = {IDC_OUTRCL_TIPO_WHERE_ES_CONST_DA, _T("OUTRCL_TIPO_WHERE_ES_CONST_DA")};
		f.esSymb = {IDC_OUTRCL_TIPO_WHERE_ES_SYMB_DA, _T("OUTRCL_TIPO_WHERE_ES_SYMB_DA")};
		f.es = {IDC_OUTRCL_SYMB_ES_DA, _T("OUTRCL_SYMB_ES_DA")};
		f.meseConst = {IDC_OUTRCL_TIPO_WHERE_MESE_CONST_DA, _T("OUTRCL_TIPO_WHERE_MESE_CONST_DA")};
		f.meseSymb = {IDC_OUTRCL_TIPO_WHERE_MESE_SYMB_DA, _T("OUTRCL_TIPO_WHERE_MESE_SYMB_DA")};
		f.mese = {IDC_OUTRCL_SYMB_MESE_DA, _T("OUTRCL_SYMB_MESE_DA")};
		f.modello = {IDC_OUTRCL_SYMB_MODELLO, _T("OUTRCL_SYMB_MODELLO")};
		f.codiceDa = {IDC_OUTRCL_SYMB_CODICE, _T("OUTRCL_SYMB_CODICE")};
		f.codiceA = {IDC_OUTRCL_SYMB_CODICE_A, _T("OUTRCL_SYMB_CODICE_A")};
		f.descrFormula = {IDC_OUTRCL_SYMB_DESCRI_FORMULA, _T("OUTRCL_SYMB_DESCRI_FORMULA")};
		f.nTab = IDD_DATI_SIMB_OUTRICLASS;
		return f;
	}();
	return form;
}

BOOL Kvz_CPropSimboloOutRiclassDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Definizione valore da risultato riclassificazione"), Sorgente()));
	CreaLookupRiclassificati();
	CreaLookupDescrizioni();
	return Kvz_CPropSimboloCodiceDoc::OnAttachData();
}

void Kvz_CPropSimboloOutRiclassDoc::ImpostaDefault()
{
	// The model is chosen: it is always a constant.
	m_ModelloConst = TRUE;
	m_ModelloSymb = FALSE;
	m_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
	m_TipoDatoPBase = DataEnum(E_KVZ_TIPODATOPBASE, 0);
}

void Kvz_CPropSimboloOutRiclassDoc::LeggiDefinizione()
{
	LeggiRiga<Kvz_TRSimboliOutputRiclass>([&](Kvz_TSimboliOutputRiclass& r, auto f) { PerOgniCampo(*this, r, f); });
	m_ModelloConst = TRUE;
	m_ModelloSymb = FALSE;
}

BOOL Kvz_CPropSimboloOutRiclassDoc::ScriviDefinizione(SqlSession* pSession)
{
	return ScriviRiga<Kvz_TUSimboliOutputRiclass>(pSession,
												  [&](Kvz_TSimboliOutputRiclass& r, auto f) { PerOgniCampo(*this, r, f); });
}

// ---- the browsers of the company's models and codes ---------------------------------------------

void Kvz_CPropSimboloOutRiclassDoc::Sfoglia(LPCTSTR szNamespace)
{
	if (m_Azienda.IsEmpty())
	{
		AfxMessageBox(AfxLoadSourceString(_T("Effettuare connessione ad un'azienda."), Sorgente()));
		return;
	}
	if (CPlvCommandInterface* pManager = AfxGetPlvCmdManager())
		pManager->RunDocument(szNamespace, _T("Default"), nullptr, this);
	UpdateDataView();
}

void Kvz_CPropSimboloOutRiclassDoc::OnMultAzModello()
{
	Sfoglia(_T("KvzNet.KvzMod.KvzDocuments.BDModelliMultiAz"));
}

void Kvz_CPropSimboloOutRiclassDoc::OnMultAzCodiceDa()
{
	if (m_Azienda.IsEmpty())
		return Sfoglia(_T(""));
	m_bBrowseCodiceDa = TRUE;
	Sfoglia(_T("KvzNet.KvzMod.KvzDocuments.BDModelliRigheMultiAz"));
}

void Kvz_CPropSimboloOutRiclassDoc::OnMultAzCodiceA()
{
	if (m_Azienda.IsEmpty())
		return Sfoglia(_T(""));
	m_bBrowseCodiceDa = FALSE;
	Sfoglia(_T("KvzNet.KvzMod.KvzDocuments.BDModelliRigheMultiAz"));
}

// ---- form ---------------------------------------------------------------------------------------

CRuntimeClass* Kvz_CPropSimboloOutRiclassView::ClasseTabber() const
{
	return RUNTIME_CLASS(Kvz_CSimbOutRiclassTabber);
}

CRuntimeClass* Kvz_CPropSimboloOutRiclassView::ClasseTab() const
{
	return RUNTIME_CLASS(Kvz_CDatiOutRiclassTabDlg);
}

void Kvz_CDatiOutRiclassTabDlg::AggiungiAltri(Kvz_CPropSimboloCodiceDoc& d)
{
	auto& doc = static_cast<Kvz_CPropSimboloOutRiclassDoc&>(d);
	AddLink(IDC_OUTRCL_SYMB_TIPO_DATO, _T("OUTRCL_SYMB_TIPO_DATO"), RUNTIME_CLASS(CEnumCombo), &doc.m_TipoDatoPBase);
	// A result symbol takes a value the run wrote, not a formula.
	SetLabels({{_T("OUTRCL_SYMB_TIPO_DATO"), _T("Elaborazione relativa al dato")},
			   {_T("OUTRCL_SYMB_USA_FORMULA_DEL_BUDGET"), _T("Valore calcolato per il tipo budget")}});
	// Three buttons of one caption on the form: each named after the field it fills.
	AddButton(IDC_OUTRCL_MULTAZ_MODELLO, _T("MultAz modello"));
	AddButton(IDC_OUTRCL_MULTAZ_CODICE_DA, _T("MultAz codice da"));
	AddButton(IDC_OUTRCL_MULTAZ_CODICE_A, _T("MultAz codice a"));
}
