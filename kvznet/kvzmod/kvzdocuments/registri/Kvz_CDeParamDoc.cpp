#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeParamDoc.h"

#include <new>

#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeParamDoc";
// Reading basis "Anagrafica conti raggruppati".
const DataEnum kBaseContiRaggruppati(E_BASEDILETTURA, 1);
}  // namespace

Kvz_DBTParametri::Kvz_DBTParametri(CAbstractFormDoc* pDocument)
	: DBTMaster(Kvz_TParametri::GetThisClass(), pDocument, _T("DBTParametri"))
{
}

void Kvz_DBTParametri::SetCampiDaNonImportareReadOnly(BOOL bReadOnly)
{
	Kvz_TParametri* pRec = GetParametri();
	for (DataBool* p : {&pRec->f_DNI_ContoCollegato, &pRec->f_DNI_ProponiInFiltroAssest,
						&pRec->f_DNI_ModificaInAssestamento, &pRec->f_DNI_InversioneSegno,
						&pRec->f_DNI_AggiungiCdcCommAuto})
		p->SetReadOnly(bReadOnly);
}

void Kvz_DBTParametri::OnDefineQuery()
{
	m_pTable->SelectAll();
}

void Kvz_DBTParametri::OnPreparePrimaryKey()
{
	GetParametri()->f_IDParam = 1;
}

BEGIN_MESSAGE_MAP(Kvz_CDeParamDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_PARAM_BASE_LETTURA, OnBaseDiLetturaChanged)
END_MESSAGE_MAP()

BOOL Kvz_CDeParamDoc::OnAttachData()
{
	SetOnlyOneRecord(TRUE);
	SetFormTitle(AfxLoadSourceString(_TB("Parametri"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTParametri(this));
}

BOOL Kvz_CDeParamDoc::OnPrepareAuxData()
{
	if (GetFormMode() == NEW)
		SetModifiedFlag(TRUE);
	return TRUE;
}

void Kvz_CDeParamDoc::OnBaseDiLetturaChanged()
{
	static_cast<Kvz_DBTParametri*>(GetMaster())
		->SetCampiDaNonImportareReadOnly(GetParametri()->f_BaseDiLettura.GetValue() != kBaseContiRaggruppati.GetValue());
	UpdateDataView();
}

void Kvz_CDeParamView::BuildDataControlLinks()
{
	Kvz_TParametri* pRec = static_cast<Kvz_CDeParamDoc*>(GetDocument())->GetParametri();
	AddLink(IDC_PARAM_BASE_LETTURA, _T("Base di lettura"), RUNTIME_CLASS(CEnumCombo), &pRec->f_BaseDiLettura);
	AddLink(IDC_PARAM_PAGAMENTO_IVA, _T("Pagamento IVA"), RUNTIME_CLASS(CEnumCombo), &pRec->f_PagamentoIVA);
	AddLink(IDC_PARAM_LEN_MASTRO, _T("Lunghezza del mastro:"), RUNTIME_CLASS(CIntEdit), &pRec->f_LenMastro);
	AddLink(IDC_PARAM_NR_SEGMENTI, _T("Numero segmenti:"), RUNTIME_CLASS(CIntEdit), &pRec->f_NrSegmenti);
	// Each segment's name, then its length beside it.
	const std::pair<DataStr*, DataInt*> segmenti[] = {
		{&pRec->f_NomeSeg1, &pRec->f_LenSeg1}, {&pRec->f_NomeSeg2, &pRec->f_LenSeg2}, {&pRec->f_NomeSeg3, &pRec->f_LenSeg3},
		{&pRec->f_NomeSeg4, &pRec->f_LenSeg4}, {&pRec->f_NomeSeg5, &pRec->f_LenSeg5}, {&pRec->f_NomeSeg6, &pRec->f_LenSeg6},
		{&pRec->f_NomeSeg7, &pRec->f_LenSeg7},
	};
	UINT nID = IDC_PARAM_NOME_SEG1;
	int n = 1;
	for (auto [pNome, pLen] : segmenti)
	{
		AddLink(nID++, CString::Formatted("Nome segmento %d:", n), RUNTIME_CLASS(CStrEdit), pNome);
		AddLink(nID++, CString::Formatted("Lunghezza segmento %d:", n), RUNTIME_CLASS(CIntEdit), pLen);
		++n;
	}
	AddLink(IDC_PARAM_DNI_CONTO_COLLEGATO, _T("Conto collegato"), RUNTIME_CLASS(CBoolButton), &pRec->f_DNI_ContoCollegato);
	AddLink(IDC_PARAM_DNI_PROPONI_FILTRO, _T("Proponi in filtro assestamento"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_DNI_ProponiInFiltroAssest);
	AddLink(IDC_PARAM_DNI_MODIFICA_ASSEST, _T("Modifica in assestamento"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_DNI_ModificaInAssestamento);
	AddLink(IDC_PARAM_DNI_INVERSIONE_SEGNO, _T("Inversione segno"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_DNI_InversioneSegno);
	AddLink(IDC_PARAM_DNI_CDC_COMM_AUTO, _T("Aggiungi cdc/commesse in automatico"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_DNI_AggiungiCdcCommAuto);
}
