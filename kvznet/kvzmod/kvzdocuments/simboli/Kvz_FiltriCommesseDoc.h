#pragma once
// The job and cost-centre filter. Template "FiltriCommesse". Opened by a document that holds
// the ranges (the base-plan symbol document): it copies them in, keeps the caller's frame
// disabled while open, and copies them back when closed with OK.
#include "platform/plvges/FormViews.h"

class HKLJobs;
class HKLCostCenters;

enum : UINT
{
	IDC_FILTRI_COMMESSE_DESCRI_DALLA_COMMESSA = 52700,
	IDC_FILTRI_COMMESSE_DESCRI_ALLA_COMMESSA = 52701,
	IDC_FILTRI_COMMESSE_DESCRI_DAL_CENTRO_COSTO = 52702,
	IDC_FILTRI_COMMESSE_DESCRI_AL_CENTRO_COSTO = 52703,
	IDC_FILTRI_COMMESSE_OK = 52704,
	IDC_FILTRI_COMMESSE_TUTTE_COMMESSE = 52705,
	IDC_FILTRI_COMMESSE_TUTTI_CENTRO_COSTO = 52706,
	IDC_FILTRI_COMMESSE_DALLA_COMMESSA = 52707,
	IDC_FILTRI_COMMESSE_ALLA_COMMESSA = 52708,
	IDC_FILTRI_COMMESSE_DAL_CENTRO_COSTO = 52709,
	IDC_FILTRI_COMMESSE_AL_CENTRO_COSTO = 52710,
};

// The ranges of jobs and cost centres a document loads; both "all" when made.
struct Kvz_FiltroCommesse
{
	DataStr m_DallaCommessa;
	DataStr m_AllaCommessa;
	DataBool m_bTutteCommesse{TRUE};
	DataStr m_DalCentroCosto;
	DataStr m_AlCentroCosto;
	DataBool m_bTuttiCentriCosto{TRUE};
};

// A document that opens the filter on its ranges.
class Kvz_ConFiltroCommesse
{
public:
	virtual ~Kvz_ConFiltroCommesse() = default;
	virtual Kvz_FiltroCommesse& GetFiltroCommesse() = 0;
};

class Kvz_FiltriCommesseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_FiltriCommesseDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_FiltriCommesseDoc() { SetBatchDocument(TRUE); }

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;

	Kvz_FiltroCommesse m_Filtro;
	DataBool m_bSempre{TRUE};
	// The lookups of the four codes, owned by the document once attached.
	HKLJobs* m_pHKLDallaCommessa = nullptr;
	HKLJobs* m_pHKLAllaCommessa = nullptr;
	HKLCostCenters* m_pHKLDalCentroCosto = nullptr;
	HKLCostCenters* m_pHKLAlCentroCosto = nullptr;

protected:
	BOOL OnAttachData() override;
	void OnOK();
	// A range applies only without its "all" box: set again, the box empties the range.
	void OnTutteCommesseChanged();
	void OnTuttiCentriCostoChanged();
	// The range's end starts as its beginning.
	void OnDallaCommessaChanged();
	void OnDalCentroCostoChanged();

private:
	void TuttiChanged(const DataBool& bTutti, DataStr& aDa, DataStr& aA, HotKeyLink* pDa, HotKeyLink* pA);

	CBaseDocument* m_pCaller = nullptr;
	Kvz_FiltroCommesse* m_pFiltroCaller = nullptr;
	bool m_bConfermato = false;
};

class Kvz_FiltriCommesseView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_FiltriCommesseView, CMasterFormView)
public:
	Kvz_FiltriCommesseView() : CMasterFormView(_T("FiltriCommesseView")) {}
	void BuildDataControlLinks() override;
};
