#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_FiltriCommesseDoc.h"

#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "FiltriCommesse";

// The codes of one kind follow their "all" box: set, they are emptied and locked.
void RegolaIntervallo(const DataBool& bTutti, DataStr& aDa, DataStr& aA, BOOL bSvuota)
{
	if (bTutti && bSvuota)
	{
		aDa.Clear();
		aA.Clear();
	}
	aDa.SetReadOnly(bTutti);
	aA.SetReadOnly(bTutti);
}
}  // namespace

BEGIN_MESSAGE_MAP(Kvz_FiltriCommesseDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_FILTRI_COMMESSE_OK, OnOK)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_TUTTE_COMMESSE, OnTutteCommesseChanged)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_TUTTI_CENTRO_COSTO, OnTuttiCentriCostoChanged)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_DALLA_COMMESSA, OnDallaCommessaChanged)
	ON_EN_VALUE_CHANGED(IDC_FILTRI_COMMESSE_DAL_CENTRO_COSTO, OnDalCentroCostoChanged)
END_MESSAGE_MAP()

BOOL Kvz_FiltriCommesseDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Filtri di estrazione commesse/centri di costo"), kSource));
	m_pHKLDallaCommessa = new HKLJobs();
	m_pHKLAllaCommessa = new HKLJobs();
	m_pHKLDalCentroCosto = new HKLCostCenters();
	m_pHKLAlCentroCosto = new HKLCostCenters();
	for (HotKeyLink* p : std::initializer_list<HotKeyLink*>{m_pHKLDallaCommessa, m_pHKLAllaCommessa,
															m_pHKLDalCentroCosto, m_pHKLAlCentroCosto})
		Attach(p);
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
	RegolaIntervallo(m_Filtro.m_bTutteCommesse, m_Filtro.m_DallaCommessa, m_Filtro.m_AllaCommessa, FALSE);
	RegolaIntervallo(m_Filtro.m_bTuttiCentriCosto, m_Filtro.m_DalCentroCosto, m_Filtro.m_AlCentroCosto, FALSE);
	if (m_pCaller->GetMasterFrame())
		m_pCaller->GetMasterFrame()->EnableWindow(FALSE);
	if (!CAbstractFormDoc::OnOpenDocument(pInfo))
		return FALSE;
	// The descriptions of the codes copied in.
	m_pHKLDallaCommessa->FindRecord(&m_Filtro.m_DallaCommessa);
	m_pHKLAllaCommessa->FindRecord(&m_Filtro.m_AllaCommessa);
	m_pHKLDalCentroCosto->FindRecord(&m_Filtro.m_DalCentroCosto);
	m_pHKLAlCentroCosto->FindRecord(&m_Filtro.m_AlCentroCosto);
	UpdateDataView();
	return TRUE;
}

void Kvz_FiltriCommesseDoc::OnTutteCommesseChanged()
{
	TuttiChanged(m_Filtro.m_bTutteCommesse, m_Filtro.m_DallaCommessa, m_Filtro.m_AllaCommessa, m_pHKLDallaCommessa,
				 m_pHKLAllaCommessa);
}

void Kvz_FiltriCommesseDoc::OnTuttiCentriCostoChanged()
{
	TuttiChanged(m_Filtro.m_bTuttiCentriCosto, m_Filtro.m_DalCentroCosto, m_Filtro.m_AlCentroCosto, m_pHKLDalCentroCosto,
				 m_pHKLAlCentroCosto);
}

void Kvz_FiltriCommesseDoc::TuttiChanged(const DataBool& bTutti, DataStr& aDa, DataStr& aA, HotKeyLink* pDa,
										  HotKeyLink* pA)
{
	RegolaIntervallo(bTutti, aDa, aA, TRUE);
	// The emptied codes show no description.
	pDa->FindRecord(&aDa);
	pA->FindRecord(&aA);
	UpdateDataView();
}

void Kvz_FiltriCommesseDoc::OnDallaCommessaChanged()
{
	m_Filtro.m_AllaCommessa = m_Filtro.m_DallaCommessa;
	m_pHKLAllaCommessa->FindRecord(&m_Filtro.m_AllaCommessa);
	UpdateDataView();
}

void Kvz_FiltriCommesseDoc::OnDalCentroCostoChanged()
{
	m_Filtro.m_AlCentroCosto = m_Filtro.m_DalCentroCosto;
	m_pHKLAlCentroCosto->FindRecord(&m_Filtro.m_AlCentroCosto);
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
	auto* pDoc = static_cast<Kvz_FiltriCommesseDoc*>(GetDocument());
	Kvz_FiltroCommesse& f = pDoc->m_Filtro;
	AddLink(IDC_FILTRI_COMMESSE_TUTTE_COMMESSE, _T("Tutte"), RUNTIME_CLASS(CBoolButton), &f.m_bTutteCommesse);
	AddLink(IDC_FILTRI_COMMESSE_DALLA_COMMESSA, _T("Dalla commessa"), RUNTIME_CLASS(CStrEdit), &f.m_DallaCommessa,
			pDoc->m_pHKLDallaCommessa);
	AddLink(IDC_FILTRI_COMMESSE_DESCRI_DALLA_COMMESSA, _T("FILTRI_COMMESSE_DESCRI_DALLA_COMMESSA"),
			RUNTIME_CLASS(CStrStatic), &pDoc->m_pHKLDallaCommessa->GetRecord()->f_Description);
	AddLink(IDC_FILTRI_COMMESSE_ALLA_COMMESSA, _T("Alla commessa"), RUNTIME_CLASS(CStrEdit), &f.m_AllaCommessa,
			pDoc->m_pHKLAllaCommessa);
	AddLink(IDC_FILTRI_COMMESSE_DESCRI_ALLA_COMMESSA, _T("FILTRI_COMMESSE_DESCRI_ALLA_COMMESSA"),
			RUNTIME_CLASS(CStrStatic), &pDoc->m_pHKLAllaCommessa->GetRecord()->f_Description);
	AddLink(IDC_FILTRI_COMMESSE_TUTTI_CENTRO_COSTO, _T("Tutti"), RUNTIME_CLASS(CBoolButton), &f.m_bTuttiCentriCosto);
	AddLink(IDC_FILTRI_COMMESSE_DAL_CENTRO_COSTO, _T("Dal centro di costo"), RUNTIME_CLASS(CStrEdit), &f.m_DalCentroCosto,
			pDoc->m_pHKLDalCentroCosto);
	AddLink(IDC_FILTRI_COMMESSE_DESCRI_DAL_CENTRO_COSTO, _T("FILTRI_COMMESSE_DESCRI_DAL_CENTRO_COSTO"),
			RUNTIME_CLASS(CStrStatic), &pDoc->m_pHKLDalCentroCosto->GetRecord()->f_Description);
	AddLink(IDC_FILTRI_COMMESSE_AL_CENTRO_COSTO, _T("Al centro di costo"), RUNTIME_CLASS(CStrEdit), &f.m_AlCentroCosto,
			pDoc->m_pHKLAlCentroCosto);
	AddLink(IDC_FILTRI_COMMESSE_DESCRI_AL_CENTRO_COSTO, _T("FILTRI_COMMESSE_DESCRI_AL_CENTRO_COSTO"),
			RUNTIME_CLASS(CStrStatic), &pDoc->m_pHKLAlCentroCosto->GetRecord()->f_Description);
	AddLink(IDC_FILTRI_COMMESSE_OK, _T("OK"), RUNTIME_CLASS(CExtButton), &pDoc->m_bSempre);
}
