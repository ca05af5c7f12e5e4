#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloExtraCDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "platform/plvgeneric/Application.h"

namespace {
// The form's fields and the definition's columns they are stored in, one to one.
template <class F>
void PerOgniCampo(Kvz_CPropSimboloExtraCDoc& d, Kvz_TSimboliCodiciExtracont& r, F f)
{
	f(d.m_Annotazioni, r.f_Annotazioni);
	f(d.m_EsConst, r.f_ValoreEsConst);
	f(d.m_EsSymb, r.f_ValoreEsSymb);
	f(d.m_Es, r.f_ValoreEs);
	f(d.m_MeseConst, r.f_ValoreMeseConst);
	f(d.m_MeseSymb, r.f_ValoreMeseSymb);
	f(d.m_Mese, r.f_ValoreMese);
	f(d.m_CodiceDa, r.f_ValoreCodice);
	f(d.m_CodiceA, r.f_ValoreCodiceA);
	f(d.m_AggregFunction, r.f_AggregFunction);
	f(d.m_NrColonna, r.f_FormulaDaUsare);
}
}  // namespace

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloExtraCDoc, Kvz_CPropSimboloCodiceDoc)
	ON_BN_CLICKED(IDC_EX_SYMB_COPIA, OnCopiaInNuovoSimbolo)
	ON_BN_CLICKED(IDC_EX_SYMB_OK, OnOk)
	ON_BN_CLICKED(IDC_EX_SYMB_ANNULLA, OnAnnulla)
	ON_EN_VALUE_CHANGED(IDC_EX_TIPO_WHERE_ES_CONST_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_TIPO_WHERE_ES_SYMB_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_SYMB_USA_FORMULA_PRINC, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_SYMB_USA_FORMULA_COLONNA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_TIPO_WHERE_MESE_CONST_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_TIPO_WHERE_MESE_SYMB_DA, OnAbilita)
	ON_EN_VALUE_CHANGED(IDC_EX_SYMB_CODICE_DA, OnCodiceDaChanged)
	ON_EN_VALUE_CHANGED(IDC_EX_SYMB_DESCRI_FORMULA, OnDescrizioneChanged)
END_MESSAGE_MAP()

const Kvz_FormSimboloCodice& Kvz_CPropSimboloExtraCDoc::Form() const
{
	static const Kvz_FormSimboloCodice form = [] {
		Kvz_FormSimboloCodice f;
		f.tabber = {IDC_EX_SYMB_TABBER, _T("CPropSimboloExtraCView")};
		f.nOk = IDC_EX_SYMB_OK;
		f.nAnnulla = IDC_EX_SYMB_ANNULLA;
		f.nCopia = IDC_EX_SYMB_COPIA;
		f.descrDocumento = {IDC_EX_SYMB_DESCR_DOCUMENTO, _T("EX_SYMB_DESCR_DOCUMENTO")};
		f.esercizioVis = {IDC_EX_SYMB_ESERCIZIO, _T("EX_SYMB_ESERCIZIO")};
		f.modelloVis = {IDC_EX_SYMB_MODELLO, _T("EX_SYMB_MODELLO")};
		f.codiceVis = {IDC_EX_SYMB_CODICE, _T("EX_SYMB_CODICE")};
		f.tipoRiga = {IDC_EX_SYMB_TIPORIGA, _T("EX_SYMB_TIPORIGA")};
		f.descrRiga = {IDC_EX_SYMB_DESCR_RIGA, _T("EX_SYMB_DESCR_RIGA")};
		f.nome = {IDC_EX_SYMB_NOME_SIMBOLO, _T("EX_SYMB_NOME_SIMBOLO")};
		f.note = {IDC_EX_SYMB_NOTE, _T("EX_SYMB_NOTE")};
		f.aggreg = {IDC_EX_SYMB_FUNZ_AGGREG, _T("EX_SYMB_FUNZ_AGGREG")};
		f.princ = {IDC_EX_SYMB_USA_FORMULA_PRINC, _T("EX_SYMB_USA_FORMULA_PRINC")};
		f.colonna = {IDC_EX_SYMB_USA_FORMULA_COLONNA, _T("EX_SYMB_USA_FORMULA_COLONNA")};
		f.nrColonna = {IDC_EX_SYMB_NR_COLONNA, _T("EX_SYMB_NR_CoLONNA")};
		f.esConst = {IDC_EX_TIPO_WHERE_ES_CONST_DA, _T("EX_TIPO_WHERE_ES_CONST_DA")};
		f.esSymb = {IDC_EX_TIPO_WHERE_ES_SYMB_DA, _T("EX_TIPO_WHERE_ES_SYMB_DA")};
		f.es = {IDC_EX_SYMB_ES_DA, _T("EX_SYMB_ES_DA")};
		f.meseConst = {IDC_EX_TIPO_WHERE_MESE_CONST_DA, _T("EX_TIPO_WHERE_MESE_CONST_DA")};
		f.meseSymb = {IDC_EX_TIPO_WHERE_MESE_SYMB_DA, _T("EX_TIPO_WHERE_MESE_SYMB_DA")};
		f.mese = {IDC_EX_SYMB_MESE_DA, _T("EX_SYMB_MESE_DA")};
		f.codiceDa = {IDC_EX_SYMB_CODICE_DA, _T("EX_SYMB_CODICE_DA")};
		f.codiceA = {IDC_EX_SYMB_CODICE_A, _T("EX_SYMB_CODICE_A")};
		f.descrFormula = {IDC_EX_SYMB_DESCRI_FORMULA, _T("EX_SYMB_DESCRI_FORMULA")};
		f.nTab = IDD_DATI_SIMB_EXTRAC;
		return f;
	}();
	return form;
}

BOOL Kvz_CPropSimboloExtraCDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Definizione valore da codice extracontabile"), Sorgente()));
	for (KVZ_HKLCodiciExtracont** pp : {&m_pHKLCodiceDa, &m_pHKLCodiceA})
	{
		*pp = new KVZ_HKLCodiciExtracont;
		Attach(*pp, CString());
		(*pp)->SetSelEsercizio(EsercizioContesto());
		(*pp)->MustExistData(FALSE);
	}
	CreaLookupDescrizioni();
	return Kvz_CPropSimboloCodiceDoc::OnAttachData();
}

CString Kvz_CPropSimboloExtraCDoc::MessaggioCodice() const
{
	return AfxLoadSourceString(_T("Indicare il codice extracontabile."), Sorgente());
}

void Kvz_CPropSimboloExtraCDoc::LeggiDefinizione()
{
	LeggiRiga<Kvz_TRSimboliCodiciExtracont>([&](Kvz_TSimboliCodiciExtracont& r, auto f) { PerOgniCampo(*this, r, f); });
}

BOOL Kvz_CPropSimboloExtraCDoc::ScriviDefinizione(SqlSession* pSession)
{
	return ScriviRiga<Kvz_TUSimboliCodiciExtracont>(pSession, [&](Kvz_TSimboliCodiciExtracont& r, auto f) { PerOgniCampo(*this, r, f); });
}

CRuntimeClass* Kvz_CPropSimboloExtraCView::ClasseTabber() const
{
	return RUNTIME_CLASS(Kvz_CSimbExtracTabber);
}

CRuntimeClass* Kvz_CPropSimboloExtraCView::ClasseTab() const
{
	return RUNTIME_CLASS(Kvz_CDatiSimbExtracTabDlg);
}
