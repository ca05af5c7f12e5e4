#include "kvznet/kvzmod/kvzdocuments/Kvz_FiltriCommesseDoc.h"

#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "FiltriCommesse";
}

BEGIN_MESSAGE_MAP(Kvz_FiltriCommesseDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_FILTRI_COMMESSE_OK, OnOK)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_TUTTE_COMMESSE, OnTutteChanged)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_TUTTI_CENTRO_COSTO, OnTutteChanged)
END_MESSAGE_MAP()

BOOL Kvz_FiltriCommesseDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Filtri di estrazione commesse/centri di costo"), kSource));
	return TRUE;
}

BOOL Kvz_FiltriCommesseDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	m_pCaller = pInfo ? pInfo->m_pCallerDocument : nullptr;
	auto* pCon = dynamic_cast<Kvz_ConFiltroCommesse*>(m_pCaller);
	if (!pCon)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_FiltriCommesseDoc::OnOpenDocument", kSource);
		return FALSE;
	}
	m_pFiltroCaller = &pCon->GetFiltroCommesse();
	m_Filtro = *m_pFiltroCaller;
	OnTutteChanged();
	if (m_pCaller->GetMasterFrame())
		m_pCaller->GetMasterFrame()->EnableWindow(FALSE);
	return CAbstractFormDoc::OnOpenDocument(pInfo);
}

void Kvz_FiltriCommesseDoc::OnTutteChanged()
{
	m_Filtro.m_DallaCommessa.SetReadOnly(m_Filtro.m_bTutteCommesse);
	m_Filtro.m_AllaCommessa.SetReadOnly(m_Filtro.m_bTutteCommesse);
	m_Filtro.m_DalCentroCosto.SetReadOnly(m_Filtro.m_bTuttiCentriCosto);
	m_Filtro.m_AlCentroCosto.SetReadOnly(m_Filtro.m_bTuttiCentriCosto);
	UpdateDataView();
}

void Kvz_FiltriCommesseDoc::OnOK()
{
	m_bConfermato = true;
	CloseDocument(TRUE);
}

void Kvz_FiltriCommesseDoc::OnCloseDocument()
{
	// Closed any other way, the caller keeps the ranges it had.
	if (m_bConfermato && m_pFiltroCaller)
	{
		*m_pFiltroCaller = m_Filtro;
		for (DataObj* p : {static_cast<DataObj*>(&m_pFiltroCaller->m_DallaCommessa), static_cast<DataObj*>(&m_pFiltroCaller->m_AllaCommessa),
						   static_cast<DataObj*>(&m_pFiltroCaller->m_DalCentroCosto), static_cast<DataObj*>(&m_pFiltroCaller->m_AlCentroCosto)})
			p->SetReadOnly(FALSE);
	}
	if (m_pCaller)
	{
		if (m_pCaller->GetMasterFrame())
			m_pCaller->GetMasterFrame()->EnableWindow(TRUE);
		m_pCaller->UpdateDataView();
		m_pCaller->Activate(nullptr, FALSE);
	}
	CAbstractFormDoc::OnCloseDocument();
}

void Kvz_FiltriCommesseView::BuildDataControlLinks()
{
	Kvz_FiltroCommesse& f = static_cast<Kvz_FiltriCommesseDoc*>(GetDocument())->m_Filtro;
	AddLink(IDC_FILTRI_COMMESSE_TUTTE_COMMESSE, _T("Tutte"), RUNTIME_CLASS(CBoolButton), &f.m_bTutteCommesse);
	AddLink(IDC_FILTRI_COMMESSE_DALLA_COMMESSA, _T("Dalla commessa"), RUNTIME_CLASS(CStrEdit), &f.m_DallaCommessa);
	AddLink(IDC_FILTRI_COMMESSE_ALLA_COMMESSA, _T("Alla commessa"), RUNTIME_CLASS(CStrEdit), &f.m_AllaCommessa);
	AddLink(IDC_FILTRI_COMMESSE_TUTTI_CENTRO_COSTO, _T("Tutti"), RUNTIME_CLASS(CBoolButton), &f.m_bTuttiCentriCosto);
	AddLink(IDC_FILTRI_COMMESSE_DAL_CENTRO_COSTO, _T("Dal centro di costo"), RUNTIME_CLASS(CStrEdit), &f.m_DalCentroCosto);
	AddLink(IDC_FILTRI_COMMESSE_AL_CENTRO_COSTO, _T("Al centro di costo"), RUNTIME_CLASS(CStrEdit), &f.m_AlCentroCosto);
	AddLink(IDC_FILTRI_COMMESSE_OK, _T("OK"), RUNTIME_CLASS(CExtButton), &static_cast<Kvz_FiltriCommesseDoc*>(GetDocument())->m_bSempre);
}
