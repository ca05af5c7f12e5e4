#include "kvznet/kvzmod/kvzdocuments/Kvz_CPropSimboloDoc.h"

#include "kvznet/kvzmod/kvzdocuments/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"


// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_CORRENTE, OnSceltaAziendaChanged)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_ESTERNA, OnSceltaAziendaChanged)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_COD_AZIENDA, OnCodAziendaChanged)
END_MESSAGE_MAP()

Kvz_CPropSimboloDoc::Kvz_CPropSimboloDoc()
{
	SetBatchDocument(TRUE);
}

Kvz_CPropSimboloDoc::~Kvz_CPropSimboloDoc() = default;

CString Kvz_CPropSimboloDoc::NamespaceDocumento(const DataEnum& aTipoSimbolo)
{
	if (aTipoSimbolo.GetTagValue() != E_KVZ_TIPOSIMBOLO)
		return CString();
	switch (aTipoSimbolo.GetItemValue())
	{
	case KVZ_SIMBOLO_PBASE:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloPBase");
	case KVZ_SIMBOLO_EXTRACONT:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloExtraC");
	case KVZ_SIMBOLO_RICLASS:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloRiclass");
	case KVZ_SIMBOLO_OUTRICLASS:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloOutRiclass");
	default:
		return CString();
	}
}

CBaseDocument* Kvz_CPropSimboloDoc::ApriDocumento(const DataEnum& aTipoSimbolo, CBaseDocument* pCaller)
{
	const CString ns = NamespaceDocumento(aTipoSimbolo);
	CPlvCommandInterface* pManager = AfxGetPlvCmdManager();
	if (ns.IsEmpty() || !pManager)
		return nullptr;
	return pManager->RunDocument(ns, _T("Default"), nullptr, pCaller);
}

// The document whose formula the editor is working on opened the editor.
Kvz_CUtilizzaFormuleDoc* Kvz_CPropSimboloDoc::GetDocUtilizzo() const
{
	return m_pFormulaDoc ? DynamicDownCast<Kvz_CUtilizzaFormuleDoc>(m_pFormulaDoc->GetCallerDocument()) : nullptr;
}

DataLng Kvz_CPropSimboloDoc::ContatoreDettaglio(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	Kvz_CUtilizzaFormuleDoc* pDoc = GetDocUtilizzo();
	return pDoc ? pDoc->GetContatoreDettaglio(aTipoCodice, aCodice) : DataLng(0);
}

DataLng Kvz_CPropSimboloDoc::ContatoreGenerale(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	Kvz_CUtilizzaFormuleDoc* pDoc = GetDocUtilizzo();
	return pDoc ? pDoc->GetContatoreGenerale(aTipoCodice, aCodice) : DataLng(0);
}

BOOL Kvz_CPropSimboloDoc::OnAttachData()
{
	m_pHKLAziende = new Kvz_HKLAziende;
	Attach(m_pHKLAziende, CString());
	return TRUE;
}

void Kvz_CPropSimboloDoc::AggiornaStatoAzienda()
{
	m_Azienda.SetReadOnly(m_AziendaCorrente == TRUE);
}

void Kvz_CPropSimboloDoc::DisableControlsForBatch()
{
	AggiornaStatoAzienda();
}

void Kvz_CPropSimboloDoc::OnSceltaAziendaChanged()
{
	AggiornaStatoAzienda();
	if (m_AziendaCorrente == TRUE)
	{
		m_Azienda.Clear();
		// The lookup of the empty code clears the description and data source shown.
		m_pHKLAziende->FindRecord(&m_Azienda);
		m_pHKLAziende->GetRecord()->Init();
	}
	UpdateDataView();
}

void Kvz_CPropSimboloDoc::OnCodAziendaChanged()
{
	UpdateDataView();
}

// ---- kind dialog -------------------------------------------------------------------------------

Kvz_SceltaTipoSimboloDlg::Kvz_SceltaTipoSimboloDlg(Kvz_CFormulaDoc* pFormulaDoc, DataEnum* pTipoSimbolo)
	: CParsedDialog(IDD_SCELTA_TIPO_SIMBOLO, nullptr,
					AfxLoadSourceString(_T("Scelta tipo simbolo da definire"), "Kvz_CPropSimboloDoc")),
	  m_pFormulaDoc(pFormulaDoc),
	  m_pTipoSimbolo(pTipoSimbolo)
{
}

void Kvz_SceltaTipoSimboloDlg::BuildDataControlLinks()
{
	AddRadio(IDC_SCELTA_SIMB_PBASE, _T("Valore calcolato dal piano base"), &m_bPianoBase, 1);
	AddRadio(IDC_SCELTA_SIMB_EXTRACONT, _T("Formula da un codice extracontabile"), &m_bExtracont, 1);
	AddRadio(IDC_SCELTA_SIMB_RICLASS, _T("Formula da un codice riclassificato"), &m_bRiclassificato, 1);
}

BOOL Kvz_SceltaTipoSimboloDlg::OnInitDialog()
{
	if (!CParsedDialog::OnInitDialog())
		return FALSE;
	m_bPianoBase = FALSE;
	m_bExtracont = FALSE;
	m_bRiclassificato = FALSE;
	if (m_pTipoSimbolo && m_pTipoSimbolo->GetTagValue() == E_KVZ_TIPOSIMBOLO)
	{
		switch (m_pTipoSimbolo->GetItemValue())
		{
		case KVZ_SIMBOLO_PBASE:
			m_bPianoBase = TRUE;
			break;
		case KVZ_SIMBOLO_EXTRACONT:
			m_bExtracont = TRUE;
			break;
		case KVZ_SIMBOLO_RICLASS:
			m_bRiclassificato = TRUE;
			break;
		default:
			break;
		}
	}
	CenterWindow();
	return TRUE;
}

void Kvz_SceltaTipoSimboloDlg::OnOK()
{
	if (m_pTipoSimbolo)
	{
		if (m_bPianoBase == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_PBASE);
		else if (m_bExtracont == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_EXTRACONT);
		else if (m_bRiclassificato == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_RICLASS);
	}
	CParsedDialog::OnOK();
}

// ---- company tab -------------------------------------------------------------------------------

Kvz_CPropSimboloDoc* Kvz_CAziendeSimboloTabDlg::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloDoc>(GetDocument());
}

void Kvz_CAziendeSimboloTabDlg::BuildDataControlLinks()
{
	Kvz_CPropSimboloDoc* pDoc = GetDoc();
	if (!pDoc)
		return;
	AddRadio(IDC_SEL_AZ_CORRENTE, _T("SEL_AZ_CORRENTE"), &pDoc->m_AziendaCorrente, IDC_SEL_AZ_CORRENTE);
	AddRadio(IDC_SEL_AZ_ESTERNA, _T("SEL_AZ_ESTERNA"), &pDoc->m_UsaAziendaEsterna, IDC_SEL_AZ_CORRENTE);
	AddLink(IDC_SEL_AZ_COD_AZIENDA, _T("SEL_AZ_COD_AZIENDA"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Azienda,
			pDoc->m_pHKLAziende);
	Kvz_TAziende* pAzienda = pDoc->m_pHKLAziende->GetRecord();
	AddLink(IDC_SEL_AZ_DS_ODBC, _T("SEL_AZ_DS_ODBC"), RUNTIME_CLASS(CStrStatic), &pAzienda->f_DataSource);
	AddLink(IDC_SEL_AZ_DESCRIZIONE, _T("SEL_AZ_DESCRIZIONE"), RUNTIME_CLASS(CStrStatic), &pAzienda->f_Descrizione);
}

BOOL Kvz_CAziendeSimboloTabDlg::OnPrepareAuxData()
{
	Kvz_CPropSimboloDoc* pDoc = GetDoc();
	if (pDoc && pDoc->m_pHKLAziende)
		pDoc->m_pHKLAziende->FindRecord(&pDoc->m_Azienda);
	return TRUE;
}
