#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"

#include <climits>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezBudgetDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "DeBudget";
const char* const kNamespaceBudget = "KvzNet.KvzMod.KvzDocuments.DBudget";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}

// Where the range's months stop counting: any larger number is simply out of range.
constexpr int kMeseFuoriRange = 13;

// Both row buffers read the rows of the header's IDBudget, in month order.
void DefinisciQueryRighe(SqlTable& t, const DataLng& aIDBudget, const DataInt& aMese)
{
	t.SelectAll();
	t.AddParam("p1", aIDBudget);
	t.AddFilterColumn(aIDBudget);
	t.AddSortColumn(aMese);
}

template <class Rec>
Rec* RigaDelMese(const DBTSlaveBuffered& righe, int nMese)
{
	for (int i = 0; i < righe.GetSize(); ++i)
		if (auto* p = static_cast<Rec*>(righe.GetRow(i)); p->f_Mese == nMese)
			return p;
	return nullptr;
}
}  // namespace

// ---- range of months ---------------------------------------------------------------------------

int Kvz_RangeMesi::Conta() const
{
	int n = 0;
	for (int m = 1; m <= 12; ++m)
		n += mesi[m] ? 1 : 0;
	return n;
}

Kvz_RangeMesi Kvz_LeggiRangeMesi(const CString& strRange)
{
	Kvz_RangeMesi range;
	const std::string testo = std::string(strRange.GetString()) + ",";
	for (char c : testo)
		if (std::string_view("0123456789,- ").find(c) == std::string_view::npos)
			return range;
	range.valido = true;
	int numero = 0;  // an empty number counts as 0
	int da = -1;     // unset
	for (char c : testo)
	{
		if (c >= '0' && c <= '9')
		{
			numero = std::min(numero * 10 + (c - '0'), kMeseFuoriRange);
			continue;
		}
		if (c == '-')
		{
			da = numero;
			numero = 0;
			continue;
		}
		if (da < 0)
			da = numero;
		for (int m = std::max(da, 0); m <= std::min(numero, 12); ++m)
			range.mesi[m] = true;
		da = -1;
		numero = 0;
	}
	return range;
}

// ---- header buffer -----------------------------------------------------------------------------

Kvz_DBTBudgetTesta::Kvz_DBTBudgetTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(Kvz_TBudgetTesta::GetThisClass(), pDocument, _T("DBTBudgetTesta"))
{
}

void Kvz_DBTBudgetTesta::OnDefineQuery()
{
	Kvz_TBudgetTesta* pRec = GetBudgetTesta();
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_IDBudget);
	m_pTable->AddFilterColumn(pRec->f_IDBudget);
}

void Kvz_DBTBudgetTesta::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetBudgetTesta()->f_IDBudget);
}

void Kvz_DBTBudgetTesta::OnEnableControlsForFind()
{
	Kvz_TBudgetTesta* pRec = GetBudgetTesta();
	for (DataObj* p : std::initializer_list<DataObj*>{&pRec->f_ContoKvz, &pRec->f_CentroCommessa, &pRec->f_Esercizio,
													  &pRec->f_TipoBudget, &pRec->f_Descrizione})
		p->SetFindable(TRUE);
}

void Kvz_DBTBudgetTesta::OnDisableControlsForEdit()
{
	Kvz_TBudgetTesta* pRec = GetBudgetTesta();
	for (DataObj* p : std::initializer_list<DataObj*>{&pRec->f_Esercizio, &pRec->f_TipoBudget, &pRec->f_ContoKvz,
													  &pRec->f_CentroCommessa})
		p->SetReadOnly(TRUE);
}

void Kvz_DBTBudgetTesta::OnPrepareBrowser(SqlTable* pTable)
{
	auto* pRec = static_cast<Kvz_TBudgetTesta*>(pTable->GetRecord());
	pTable->SelectAll();
	pTable->AddSortColumn(pRec->f_Esercizio);
	pTable->AddSortColumn(pRec->f_ContoKvz);
	pTable->AddSortColumn(pRec->f_TipoBudget);
	// Budgets of one account's cost centres share the three: browse them in a fixed order.
	pTable->AddSortColumn(pRec->f_CentroCommessa);
	pTable->AddSortColumn(pRec->f_IDBudget);
}

// ---- month rows --------------------------------------------------------------------------------

Kvz_DBTBudgetRighe::Kvz_DBTBudgetRighe(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhBudgetRighe::GetThisClass(), pDocument, _T("DBTBudgetRighe"), TRUE, TRUE)
{
}

Kvz_TBudgetTesta* Kvz_DBTBudgetRighe::GetTesta() const
{
	return static_cast<Kvz_TBudgetTesta*>(GetMaster()->GetRecord());
}

Kvz_CBudgetDoc* Kvz_DBTBudgetRighe::GetBudgetDoc() const
{
	return static_cast<Kvz_CBudgetDoc*>(GetDocument());
}

Kvz_TEnhBudgetRighe* Kvz_DBTBudgetRighe::GetRigaMese(int nMese) const
{
	return RigaDelMese<Kvz_TEnhBudgetRighe>(*this, nMese);
}

void Kvz_DBTBudgetRighe::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TBudgetRighe*>(GetRecord());
	DefinisciQueryRighe(*m_pTable, pRec->f_IDBudget, pRec->f_Mese);
}

void Kvz_DBTBudgetRighe::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetTesta()->f_IDBudget);
}

void Kvz_DBTBudgetRighe::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	// The rows are read by budget type, year, account and cost centre/job: they follow the header.
	auto* pRiga = static_cast<Kvz_TBudgetRighe*>(pRec);
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	pRiga->f_IDBudget = pTesta->f_IDBudget;
	pRiga->f_ContoKvz = pTesta->f_ContoKvz;
	pRiga->f_TipoCentroComm = pTesta->f_TipoCentroComm;
	pRiga->f_CentroCommessa = pTesta->f_CentroCommessa;
	pRiga->f_Esercizio = pTesta->f_Esercizio;
	pRiga->f_TipoBudget = pTesta->f_TipoBudget;
}

void Kvz_DBTBudgetRighe::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TEnhBudgetRighe*>(pRec);
	OnPreparePrimaryKey(nRow, pRec);
	if (nRow <= 0)
		return;
	const Kvz_TEnhBudgetRighe* pPrec = GetRiga(nRow - 1);
	pRiga->f_CodIVA = pPrec->f_CodIVA;
	pRiga->f_CondPag = pPrec->f_CondPag;
	PreparaRiga(pRiga);
}

void Kvz_DBTBudgetRighe::OnPrepareAuxColumns(SqlRecord* pRec)
{
	PreparaRiga(static_cast<Kvz_TEnhBudgetRighe*>(pRec));
}

void Kvz_DBTBudgetRighe::PreparaRiga(Kvz_TEnhBudgetRighe* pRiga)
{
	DescriviCodici(pRiga);
	pRiga->l_OldImportoMese = pRiga->f_ImportoMese;
}

void Kvz_DBTBudgetRighe::DescriviCodici(Kvz_TEnhBudgetRighe* pRiga)
{
	Kvz_CBudgetDoc* pDoc = GetBudgetDoc();
	pRiga->l_DescrCondPag.Clear();
	pRiga->l_DescrIVA.Clear();
	if (!pRiga->f_CondPag.IsEmpty() && pDoc->m_pHKLPaymentTerms->FindRecord(&pRiga->f_CondPag))
		pRiga->l_DescrCondPag = pDoc->m_pHKLPaymentTerms->GetRecord()->f_Description;
	if (!pRiga->f_CodIVA.IsEmpty() && pDoc->m_pHKLTAX->FindRecord(&pRiga->f_CodIVA))
		pRiga->l_DescrIVA = pDoc->m_pHKLTAX->GetRecord()->f_Description;
}

DataObj* Kvz_DBTBudgetRighe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	return &static_cast<Kvz_TBudgetRighe*>(pRec)->f_Mese;
}

// ---- financial rows ----------------------------------------------------------------------------

Kvz_DBTBudgetFinanzRighe::Kvz_DBTBudgetFinanzRighe(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhBudgetFinanzRighe::GetThisClass(), pDocument, _T("DBTBudgetFinanzRighe"), TRUE, FALSE)
{
}

Kvz_TBudgetTesta* Kvz_DBTBudgetFinanzRighe::GetTesta() const
{
	return static_cast<Kvz_TBudgetTesta*>(GetMaster()->GetRecord());
}

Kvz_TEnhBudgetFinanzRighe* Kvz_DBTBudgetFinanzRighe::GetRigaMese(int nMese) const
{
	return RigaDelMese<Kvz_TEnhBudgetFinanzRighe>(*this, nMese);
}

void Kvz_DBTBudgetFinanzRighe::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TBudgetFinanzRighe*>(GetRecord());
	DefinisciQueryRighe(*m_pTable, pRec->f_IDBudget, pRec->f_Mese);
}

void Kvz_DBTBudgetFinanzRighe::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetTesta()->f_IDBudget);
}

void Kvz_DBTBudgetFinanzRighe::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TBudgetFinanzRighe*>(pRec);
	pRiga->f_IDBudget = GetTesta()->f_IDBudget;
	pRiga->f_IDBudgetFinanz = GetTesta()->f_IDBudgetFinanz;
}

void Kvz_DBTBudgetFinanzRighe::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	OnPreparePrimaryKey(nRow, pRec);
}

void Kvz_DBTBudgetFinanzRighe::OnPrepareAuxColumns(SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TEnhBudgetFinanzRighe*>(pRec);
	pRiga->l_OldImportoMese = pRiga->f_ImportoMese;
	pRiga->l_OldImpostaMese = pRiga->f_ImpostaMese;
	pRiga->l_OldImportoMeseAnnoPrec = pRiga->f_ImportoMeseAnnoPrec;
	pRiga->l_OldImpostaMeseAnnoPrec = pRiga->f_ImpostaMeseAnnoPrec;
	pRiga->l_OldImportoMeseAnnoSucc = pRiga->f_ImportoMeseAnnoSucc;
	pRiga->l_OldImpostaMeseAnnoSucc = pRiga->f_ImpostaMeseAnnoSucc;
	pRiga->l_TotaleRiga = pRiga->f_ImportoMese + pRiga->f_ImportoMeseAnnoPrec;
	pRiga->l_TotaleRigaAP = pRiga->f_ImpostaMese + pRiga->f_ImpostaMeseAnnoPrec;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CBudgetDoc, Kvz_CUtilizzaFormuleDoc)
	ON_EN_VALUE_CHANGED(IDC_BDG_ESERCIZIO, OnEsercizioChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_CONTO, OnContoKvzChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_CDC_COMM, OnCentroCommessaChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_RIGHE_IMPORTO, OnImportoChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_RIGHE_COND_PAG, OnCondPagChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_RIGHE_COD_IVA, OnCodIVAChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_PER_TOTALE, OnRipartizioneChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_PER_TRIMESTRE, OnRipartizioneChanged)
	ON_EN_VALUE_CHANGED(IDC_BDG_PER_FORMULA, OnRipartizioneChanged)
	ON_BN_CLICKED(IDC_BDG_PER_TOTALE, OnRipartizioneChanged)
	ON_BN_CLICKED(IDC_BDG_PER_TRIMESTRE, OnRipartizioneChanged)
	ON_BN_CLICKED(IDC_BDG_RIPARTISCI, OnRipartisci)
	ON_BN_CLICKED(IDC_BDG_CREA_BUDGET_FINANZ, OnCreaBudgetFinanz)
	ON_BN_CLICKED(IDC_BDG_ANNO_PRECEDENTE, OnBudgetAnnoPrecedente)
	ON_TCN_SELCHANGE(IDC_BDG_TABBER, OnTabChanged)
END_MESSAGE_MAP()

Kvz_CBudgetDoc::Kvz_CBudgetDoc() = default;

Kvz_CBudgetDoc::~Kvz_CBudgetDoc() = default;

BOOL Kvz_CBudgetDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	CBaseDocument* pCaller = pInfo ? pInfo->m_pCallerDocument : nullptr;
	if (auto* pAssest = dynamic_cast<Kvz_ChiamanteBudget*>(pCaller))
	{
		m_pChiamanteAssest = pAssest;
		m_pDocChiamanteAssest = pCaller;
	}
	else if (auto* pSelez = dynamic_cast<Kvz_CSelezBudgetDoc*>(pCaller))
		m_pChiamanteSelez = pSelez;
	const bool bChiamante = m_pChiamanteAssest || m_pChiamanteSelez;
	if (bChiamante && pCaller->GetMasterFrame())
		pCaller->GetMasterFrame()->EnableWindow(FALSE);
	if (Kvz_CUtilizzaFormuleDoc::OnOpenDocument(pInfo))
		return TRUE;
	// Not opened: the caller takes input again.
	if (bChiamante && pCaller->GetMasterFrame())
		pCaller->GetMasterFrame()->EnableWindow(TRUE);
	m_pChiamanteAssest = nullptr;
	m_pDocChiamanteAssest = nullptr;
	m_pChiamanteSelez = nullptr;
	return FALSE;
}

void Kvz_CBudgetDoc::DimenticaChiamante()
{
	m_pChiamanteAssest = nullptr;
	m_pDocChiamanteAssest = nullptr;
	m_pChiamanteSelez = nullptr;
}

void Kvz_CBudgetDoc::OnCloseDocument()
{
	if (m_pChiamanteAssest && AfxExistWebServiceStateObject(m_pDocChiamanteAssest))
	{
		m_pChiamanteAssest->CaricaDatiBudget();
		if (m_pDocChiamanteAssest->GetMasterFrame())
			m_pDocChiamanteAssest->GetMasterFrame()->EnableWindow(TRUE);
		m_pChiamanteAssest->BudgetChiuso(this);
		m_pDocChiamanteAssest->UpdateDataView();
	}
	else if (m_pChiamanteSelez && AfxExistWebServiceStateObject(m_pChiamanteSelez))
	{
		// A budget just created shows in the preview too, so that the next opening edits it.
		m_pChiamanteSelez->RiempiDBTBudget(m_pChiamanteSelez->GetRigaContoCorrente());
		if (m_pChiamanteSelez->GetMasterFrame())
			m_pChiamanteSelez->GetMasterFrame()->EnableWindow(TRUE);
		if (m_pChiamanteSelez->m_pBudgetDoc == this)
			m_pChiamanteSelez->m_pBudgetDoc = nullptr;
	}
	DimenticaChiamante();
	ADMDispose();
	Kvz_CUtilizzaFormuleDoc::OnCloseDocument();
}

BOOL Kvz_CBudgetDoc::OnAttachData()
{
	if (!Kvz_CUtilizzaFormuleDoc::OnAttachData())
		return FALSE;
	SetFormTitle(Testo(_T("Budget")));
	// The adjustments show the budget of their own account.
	if (m_pChiamanteAssest)
		SetBrowseOnCreate(TRUE);

	m_pHKLAnagContiKvz = new KVZ_HKLAnagContiKvz;
	m_pHKLAnagContiKvz->SetSelTipoConto(KVZ_HKLAnagContiKvz::ALL);
	Attach(m_pHKLAnagContiKvz, CString());
	m_pHKLCentriCommContiKvz = new Kvz_HKLCentriCommContiKvz;
	Attach(m_pHKLCentriCommContiKvz, CString());
	m_pHKLTAX = new HKLTAX;
	m_pHKLTAX->EnableAddOnFly(FALSE);
	m_pHKLTAX->MustExistData(TRUE);
	Attach(m_pHKLTAX, CString());
	m_pHKLPaymentTerms = new HKLPaymentTerms;
	m_pHKLPaymentTerms->EnableAddOnFly(FALSE);
	m_pHKLPaymentTerms->MustExistData(TRUE);
	Attach(m_pHKLPaymentTerms, CString());

	m_pDBTBudgetTesta = new Kvz_DBTBudgetTesta(this);
	m_pDBTBudgetRighe = new Kvz_DBTBudgetRighe(this);
	m_pDBTBudgetRighe->SetPreloadStep(-1);
	m_pDBTBudgetFinanzRighe = new Kvz_DBTBudgetFinanzRighe(this);
	m_pDBTBudgetFinanzRighe->SetPreloadStep(-1);
	m_pDBTBudgetTesta->Attach(m_pDBTBudgetRighe);
	m_pDBTBudgetTesta->Attach(m_pDBTBudgetFinanzRighe);
	m_pDivider = std::make_unique<Divider>(this);
	return Attach(m_pDBTBudgetTesta);
}

BOOL Kvz_CBudgetDoc::OnPrepareAuxData()
{
	Kvz_CUtilizzaFormuleDoc::OnPrepareAuxData();
	Kvz_TBudgetTesta* pTesta = GetTesta();
	const FormMode mode = GetFormMode();
	const BOOL bModifica = mode == NEW || mode == EDIT;
	m_bAbilitaRipartisci = bModifica;
	m_bAbilitaCreaFinanz = bModifica;
	m_Range.Clear();
	const DataDate oggi = AfxGetApplicationDate();
	if (mode == NEW)
	{
		Kvz_IDManager idMng(DataEnum(E_KVZ_SPECIEARCHIVIO, 2), this);
		DataLng id;
		if (!idMng.GetNextID(id))
			return FALSE;
		pTesta->f_IDBudget = id;
		pTesta->f_DataCreazione = oggi;
		pTesta->f_DataUltModifica = oggi;
		pTesta->f_Esercizio = oggi.Year();
		if (m_pChiamanteAssest)
			m_pChiamanteAssest->ChiaveNuovoBudget(*pTesta);
		else if (m_pChiamanteSelez)
		{
			pTesta->f_Esercizio = m_pChiamanteSelez->m_Anno;
			pTesta->f_TipoCentroComm = m_pChiamanteSelez->m_TipoCentroCommSel.IsEmpty()
										   ? DataEnum(E_KVZ_TIPOCENTROCOMM, 0)
										   : m_pChiamanteSelez->m_TipoCentroCommSel;
			pTesta->f_TipoBudget = m_pChiamanteSelez->m_TipoBudget;
			pTesta->f_ContoKvz = m_pChiamanteSelez->m_ContoSel;
			pTesta->f_CentroCommessa = m_pChiamanteSelez->m_CentroCommSel;
			pTesta->f_Descrizione = m_pChiamanteSelez->m_DescriBudget;
		}
		m_pDBTBudgetRighe->RemoveAll(TRUE);
		for (int nMese = 1; nMese <= 12; ++nMese)
		{
			auto* pRiga = static_cast<Kvz_TEnhBudgetRighe*>(m_pDBTBudgetRighe->AddRecord());
			pRiga->f_Mese = nMese;
			pRiga->SetStorable();
		}
	}
	else if (mode == EDIT)
	{
		pTesta->f_DataUltModifica = oggi;
		if (m_pChiamanteSelez && !m_pChiamanteSelez->m_DescriBudget.IsEmpty())
		{
			pTesta->f_Descrizione = m_pChiamanteSelez->m_DescriBudget;
			SetModifiedFlag();
		}
	}

	// Taken now and committed at once, like the budget's own id: one taken inside a save that
	// then failed would go back with its rollback while the header kept it.
	if (bModifica && pTesta->f_IDBudgetFinanz.IsEmpty())
		AssegnaIDBudgetFinanz();

	m_pHKLAnagContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	m_pHKLAnagContiKvz->FindRecord(&pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelContoKvz(pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	m_pHKLCentriCommContiKvz->FindRecord(&pTesta->f_CentroCommessa);

	const WORD nRipartiz = pTesta->f_TipoRipartizImporti.GetItemValue();
	m_bPerTotale = nRipartiz == 0;
	m_bPerTrimestre = nRipartiz == 1;
	m_bPerFormula = nRipartiz == 2;

	m_TotaliFinanz.Azzera();
	if (!pTesta->f_IDBudgetFinanz.IsEmpty())
	{
		try
		{
			Jex_TRBudgetFinanzTesta finanz(this);
			if (finanz.FindRecord(pTesta->f_IDBudgetFinanz) == TableReader::FOUND)
				m_TotaliFinanz.Leggi(*finanz.GetRecord());
		}
		catch (const SqlException& e)
		{
			e.ShowError(_T(""));
		}
	}
	SetPStrFormula(&pTesta->f_Formula);
	RicalcolaProgressivi();
	if (bModifica)
		RegoleRipartizione();
	return TRUE;
}

void Kvz_CBudgetDoc::OnGoInBrowseMode()
{
	m_bAbilitaRipartisci = FALSE;
	m_bAbilitaCreaFinanz = FALSE;
}

void Kvz_CBudgetDoc::RicalcolaProgressivi()
{
	DataMon progressivo;
	for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
	{
		Kvz_TEnhBudgetRighe* pRiga = m_pDBTBudgetRighe->GetRiga(i);
		progressivo += pRiga->f_ImportoMese;
		pRiga->l_ProgressivoImporto = progressivo;
	}
}

BOOL Kvz_CBudgetDoc::IsTabFinanziarioAttivo() const
{
	CBaseTabDialog* pTab = m_pTabber ? m_pTabber->GetActiveDialog() : nullptr;
	return pTab && pTab->IsKindOf(RUNTIME_CLASS(Kvz_CRigheBudgetFinanzTabDlg));
}

void Kvz_CBudgetDoc::RegoleRipartizione()
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	DataMon* trimestri[] = {&pTesta->f_TotTrimestre1, &pTesta->f_TotTrimestre2, &pTesta->f_TotTrimestre3,
							&pTesta->f_TotTrimestre4};
	const FormMode mode = GetFormMode();
	if (IsTabFinanziarioAttivo())
	{
		m_bPerTotale.SetReadOnly(TRUE);
		m_bPerTrimestre.SetReadOnly(TRUE);
		m_bAbilitaRipartisci = FALSE;
		pTesta->f_TotBudget.SetReadOnly(TRUE);
		m_Range.SetReadOnly(TRUE);
		for (DataMon* p : trimestri)
			p->SetReadOnly(TRUE);
	}
	else
	{
		m_bPerTotale.SetReadOnly(FALSE);
		m_bPerTrimestre.SetReadOnly(FALSE);
		m_bAbilitaRipartisci = mode == NEW || mode == EDIT;
		pTesta->f_TotBudget.SetReadOnly(!m_bPerTotale);
		m_Range.SetReadOnly(!m_bPerTotale);
		for (DataMon* p : trimestri)
			p->SetReadOnly(!m_bPerTrimestre);
	}
	if (!m_bPerTotale)
	{
		pTesta->f_TotBudget.Clear();
		m_Range.Clear();
	}
	if (!m_bPerTrimestre)
		for (DataMon* p : trimestri)
			p->Clear();
	// A stored formula split is shown; this form neither offers nor edits it.
	m_bPerFormula.SetReadOnly(TRUE);
	pTesta->f_Formula.SetReadOnly(TRUE);
}

void Kvz_CBudgetDoc::OnRipartizioneChanged()
{
	RegoleRipartizione();
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnTabChanged()
{
	if (GetFormMode() == NEW || GetFormMode() == EDIT)
		RegoleRipartizione();
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnEsercizioChanged()
{
	const DataInt& esercizio = GetTesta()->f_Esercizio;
	m_pHKLAnagContiKvz->SetSelEsercizio(esercizio);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(esercizio);
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnContoKvzChanged()
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	pTesta->f_CentroCommessa.Clear();
	pTesta->f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
	m_pHKLCentriCommContiKvz->GetRecord()->f_Descrizione.Clear();
	m_pHKLCentriCommContiKvz->SetSelContoKvz(pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnCentroCommessaChanged()
{
	Kvz_TBudgetTesta* pTesta = GetTesta();
	if (pTesta->f_CentroCommessa.IsEmpty())
		pTesta->f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
	else if (m_pHKLCentriCommContiKvz->FindRecord(&pTesta->f_CentroCommessa))
		pTesta->f_TipoCentroComm = m_pHKLCentriCommContiKvz->GetRecord()->f_Tipo;
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnImportoChanged()
{
	RicalcolaProgressivi();
	UpdateDataView();
}

void Kvz_CBudgetDoc::PropagaCodice(DataStr Kvz_TBudgetRighe::*pCodice, DataStr Kvz_TEnhBudgetRighe::*pDescr)
{
	const int nCorrente = m_pDBTBudgetRighe->GetCurrentRowIdx();
	Kvz_TEnhBudgetRighe* pRiga = m_pDBTBudgetRighe->GetRiga(nCorrente);
	if (!pRiga)
		return;
	m_pDBTBudgetRighe->DescriviCodici(pRiga);
	for (int i = nCorrente + 1; i < m_pDBTBudgetRighe->GetSize(); ++i)
	{
		Kvz_TEnhBudgetRighe* pDopo = m_pDBTBudgetRighe->GetRiga(i);
		if (!(pDopo->*pCodice).IsEmpty())
			continue;
		pDopo->*pCodice = pRiga->*pCodice;
		pDopo->*pDescr = pRiga->*pDescr;
		pDopo->SetStorable();
	}
	UpdateDataView();
}

void Kvz_CBudgetDoc::OnCondPagChanged()
{
	PropagaCodice(&Kvz_TBudgetRighe::f_CondPag, &Kvz_TEnhBudgetRighe::l_DescrCondPag);
}

void Kvz_CBudgetDoc::OnCodIVAChanged()
{
	PropagaCodice(&Kvz_TBudgetRighe::f_CodIVA, &Kvz_TEnhBudgetRighe::l_DescrIVA);
}

BOOL Kvz_CBudgetDoc::Rifiuta(const CString& strMessaggio, UINT nFocus)
{
	AfxMessageBox(strMessaggio, MB_OK | MB_ICONERROR);
	if (nFocus)
		SetCtrlFocus(nFocus);
	return FALSE;
}

// ---- split of the totals -----------------------------------------------------------------------

void Kvz_CBudgetDoc::OnRipartisci()
{
	if (m_pDBTBudgetRighe->GetSize() == 0 && !PreparaRigheBudget())
		return;
	SetModifiedFlag();
	const Kvz_TBudgetTesta* pTesta = GetTesta();
	if (m_bPerTotale)
	{
		if (m_Range.IsEmpty())
			for (int i = 0; i < m_pDBTBudgetRighe->GetSize(); ++i)
				m_pDBTBudgetRighe->GetRiga(i)->f_ImportoMese = pTesta->f_TotBudget / 12.0;
		else if (!ApplicaRange())
			return;
	}
	else if (m_bPerTrimestre)
	{
		const DataMon* trimestri[] = {&pTesta->f_TotTrimestre1, &pTesta->f_TotTrimestre2, &pTesta->f_TotTrimestre3,
									  &pTesta->f_TotTrimestre4};
		for (int nMese = 1; nMese <= 12; ++nMese)
			if (Kvz_TEnhBudgetRighe* pRiga = m_pDBTBudgetRighe->GetRigaMese(nMese))
				pRiga->f_ImportoMese = *trimestri[(nMese - 1) / 3] / 3.0;
	}
	RicalcolaProgressivi();
	UpdateDataView();
}

BOOL Kvz_CBudgetDoc::ApplicaRange()
{
	const Kvz_RangeMesi range = Kvz_LeggiRangeMesi(m_Range.GetString());
	if (!range.valido)
		return Rifiuta(Testo(_T("Il range indicato contiene caratteri non validi.")), IDC_BDG_RANGE);
	const int nMesi = range.Conta();
	if (nMesi == 0)
		return TRUE;
	for (int nMese = 1; nMese <= 12; ++nMese)
		if (range.mesi[nMese])
			if (Kvz_TEnhBudgetRighe* pRiga = m_pDBTBudgetRighe->GetRigaMese(nMese))
				pRiga->f_ImportoMese = GetTesta()->f_TotBudget / static_cast<double>(nMesi);
	return TRUE;
}

// ---- prior year --------------------------------------------------------------------------------

void Kvz_CBudgetDoc::OnBudgetAnnoPrecedente()
{
	Kvz_ADMBudgetObj* pADM = Kvz_ADMBudgetObj::ApriDocumentoBudget(kNamespaceBudget);
	if (!pADM)
		return;
	const DataLng id = CercaBudget();
	if (id.IsEmpty())
	{
		AfxMessageBox(Testo(_T("Non e' stato definito il budget per l'anno precedente.")), MB_OK | MB_ICONINFORMATION);
		return;
	}
	pADM->MostraBudget(id);
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CBudgetView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CBudgetDoc*>(GetDocument());
	Kvz_TBudgetTesta* pRec = pDoc->GetTesta();
	AddLink(IDC_BDG_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_BDG_DATA_CREAZIONE, _T("Data creazione"), RUNTIME_CLASS(CDateStatic), &pRec->f_DataCreazione);
	AddLink(IDC_BDG_DATA_ULT_MODIFICA, _T("Ultima modifica"), RUNTIME_CLASS(CDateStatic), &pRec->f_DataUltModifica);
	AddLink(IDC_BDG_TIPO_BUDGET, _T("Tipo budget"), RUNTIME_CLASS(Kvz_TipoBudgetInputCombo), &pRec->f_TipoBudget);
	AddLink(IDC_BDG_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_BDG_CONTO, _T("Conto raggruppato"), RUNTIME_CLASS(CStrEdit), &pRec->f_ContoKvz, pDoc->m_pHKLAnagContiKvz);
	AddLink(IDC_BDG_CONTO_DESCRI, _T("BDG_CONTO_DESCRI"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLAnagContiKvz->GetRecord()->f_Descrizione);
	AddLink(IDC_BDG_CDC_COMM, _T("Centro/commessa"), RUNTIME_CLASS(CStrEdit), &pRec->f_CentroCommessa,
			pDoc->m_pHKLCentriCommContiKvz);
	AddLink(IDC_BDG_CONTO_DESCRI_CDC_COMM, _T("BDG_CONTO_DESCRI_CDC_COMM"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLCentriCommContiKvz->GetRecord()->f_Descrizione);
	AddLink(IDC_BDG_CONTO_TIPO_CDC_COMM, _T("BDG_CONTO_TIPO_CDC_COMM"), RUNTIME_CLASS(CEnumStatic),
			&pRec->f_TipoCentroComm);
	AddRadio(IDC_BDG_PER_TOTALE, _T("BDG_PER_TOTALE"), &pDoc->m_bPerTotale, IDC_BDG_PER_TOTALE);
	AddRadio(IDC_BDG_PER_TRIMESTRE, _T("BDG_PER_TRIMESTRE"), &pDoc->m_bPerTrimestre, IDC_BDG_PER_TOTALE);
	AddRadio(IDC_BDG_PER_FORMULA, _T("BDG_PER_FORMULA"), &pDoc->m_bPerFormula, IDC_BDG_PER_TOTALE);
	AddLink(IDC_BDG_TOT_BUDGET, _T("Totale budget"), RUNTIME_CLASS(CMoneyEdit), &pRec->f_TotBudget);
	AddLink(IDC_BDG_TOT_TRIM1, _T("1° trimestre"), RUNTIME_CLASS(CMoneyEdit), &pRec->f_TotTrimestre1);
	AddLink(IDC_BDG_TOT_TRIM2, _T("2° trimestre"), RUNTIME_CLASS(CMoneyEdit), &pRec->f_TotTrimestre2);
	AddLink(IDC_BDG_TOT_TRIM3, _T("3° trimestre"), RUNTIME_CLASS(CMoneyEdit), &pRec->f_TotTrimestre3);
	AddLink(IDC_BDG_TOT_TRIM4, _T("4° trimestre"), RUNTIME_CLASS(CMoneyEdit), &pRec->f_TotTrimestre4);
	if (auto* pFormula = static_cast<Kvz_CFormulaEdit*>(
			AddLink(IDC_BDG_FORMULA, _T("Formula"), RUNTIME_CLASS(Kvz_CFormulaEdit), &pRec->f_Formula)))
		pFormula->SetPos(0);
	AddLink(IDC_BDG_RANGE, _T("BDG_RANGE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Range);
	AddLink(IDC_BDG_RIPARTISCI, _T("BDG_RIPARTISCI"), RUNTIME_CLASS(CExtButton), &pDoc->m_bAbilitaRipartisci);
	AddLink(IDC_BDG_CREA_BUDGET_FINANZ, _T("CREA_BUDGET_FINANZ"), RUNTIME_CLASS(CExtButton), &pDoc->m_bAbilitaCreaFinanz);
	AddLink(IDC_BDG_ANNO_PRECEDENTE, _T("Budget anno precedente"), RUNTIME_CLASS(CExtButton), &pDoc->m_bSempre);
	auto* pTabber = static_cast<Kvz_CTabberBudget*>(
		AddLink(IDC_BDG_TABBER, _T("BDG_TABBER"), RUNTIME_CLASS(Kvz_CTabberBudget), nullptr));
	pDoc->m_pTabber = pTabber;
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CRigheBudgetTabDlg), IDD_BDG_RIGHE, Testo(_T("Righe budget")));
	// Offered too: the user sees the months the amounts are paid in.
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CRigheBudgetFinanzTabDlg), IDD_BDG_RIGHE_FINANZ, Testo(_T("Budget finanziario")));
	SetLabels({{_T("BDG_CONTO_DESCRI"), _T("Descrizione conto")},
			   {_T("BDG_CONTO_DESCRI_CDC_COMM"), _T("Descrizione centro/commessa")},
			   {_T("BDG_CONTO_TIPO_CDC_COMM"), _T("Tipo centro/commessa")},
			   {_T("BDG_PER_TOTALE"), _T("Per totale")},
			   {_T("BDG_PER_TRIMESTRE"), _T("Per trimestre")},
			   {_T("BDG_PER_FORMULA"), _T("Per formula")},
			   {_T("BDG_RANGE"), _T("Mesi")},
			   {_T("BDG_RIPARTISCI"), _T("Ripartisci")},
			   {_T("CREA_BUDGET_FINANZ"), _T("Crea budget finanziario")},
			   {_T("BDG_TABBER"), _T("Righe")}});
}

void Kvz_CRigheBudgetTabDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CBudgetDoc*>(GetDocument());
	AddLink(IDC_BDG_RIGHE, _T("Righe budget"), RUNTIME_CLASS(Kvz_RigheBudgetBodyEdit), pDoc->m_pDBTBudgetRighe);
}

void Kvz_CRigheBudgetFinanzTabDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CBudgetDoc*>(GetDocument());
	AddLink(IDC_BDG_FIN_RIGHE, _T("Righe budget finanziario"), RUNTIME_CLASS(Kvz_RigheBudgetFinanzBodyEdit),
			pDoc->m_pDBTBudgetFinanzRighe);
	AddLink(IDC_BDG_FIN_TOTALE, _T("BDG_FIN_TOTALE"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotaliFinanz.totale);
	const UINT ids[] = {IDC_BDG_FIN_TOT_TRIM1, IDC_BDG_FIN_TOT_TRIM2, IDC_BDG_FIN_TOT_TRIM3, IDC_BDG_FIN_TOT_TRIM4};
	const LPCTSTR nomi[] = {_T("BDG_FIN_TOT_TRIM1"), _T("BDG_FIN_TOT_TRIM2"), _T("BDG_FIN_TOT_TRIM3"),
							_T("BDG_FIN_TOT_TRIM4")};
	for (int i = 0; i < 4; ++i)
		AddLink(ids[i], nomi[i], RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotaliFinanz.trimestri[i]);
	SetLabels({{_T("BDG_FIN_TOTALE"), _T("Totale finanziario")},
			   {_T("BDG_FIN_TOT_TRIM1"), _T("1° trimestre finanziario")},
			   {_T("BDG_FIN_TOT_TRIM2"), _T("2° trimestre finanziario")},
			   {_T("BDG_FIN_TOT_TRIM3"), _T("3° trimestre finanziario")},
			   {_T("BDG_FIN_TOT_TRIM4"), _T("4° trimestre finanziario")}});
}

void Kvz_RigheBudgetBodyEdit::Customize()
{
	auto* pDoc = static_cast<Kvz_CBudgetDoc*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TEnhBudgetRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_BDG_RIGHE_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntEdit), pRec->f_Mese, 4);
	AddColumn(IDC_BDG_RIGHE_IMPORTO, _T("Importo"), _T("Importo"), RUNTIME_CLASS(CMoneyEdit), pRec->f_ImportoMese, 16);
	AddColumn(IDC_BDG_RIGHE_PROGRESSIVO, _T("Progressivo"), _T("Progressivo"), RUNTIME_CLASS(CMoneyStatic),
			  pRec->l_ProgressivoImporto, 16);
	AddColumn(IDC_BDG_RIGHE_COD_IVA, _T("CodiceIVA"), _T("Codice IVA"), RUNTIME_CLASS(CStrEdit), pRec->f_CodIVA, 6, 1,
			  pDoc->m_pHKLTAX);
	AddColumn(IDC_BDG_RIGHE_DES_IVA, _T("DescrizioneIva"), _T("Descrizione iva"), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescrIVA, 20);
	AddColumn(IDC_BDG_RIGHE_COND_PAG, _T("CondPagamento"), _T("Cond. pagamento"), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CondPag, 8, 1, pDoc->m_pHKLPaymentTerms);
	AddColumn(IDC_BDG_RIGHE_DES_COND_PAG, _T("DescrizioneCondPag"), _T("Descrizione cond. pag."),
			  RUNTIME_CLASS(CStrStatic), pRec->l_DescrCondPag, 20);
	SetMultipleLinesPerRow();
}

void Kvz_RigheBudgetFinanzBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhBudgetFinanzRighe*>(GetDBT()->GetRecord());
	struct Colonna
	{
		UINT nID;
		LPCTSTR szNome, szTitolo;
		DataObj& dato;
	};
	const Colonna colonne[] = {
		{IDC_BDG_FIN_IMPORTO, _T("Importo"), _T("Importo"), pRec->f_ImportoMese},
		{IDC_BDG_FIN_IMPORTO_AP, _T("ImportoAnnoPrec"), _T("Importo anno prec."), pRec->f_ImportoMeseAnnoPrec},
		{IDC_BDG_FIN_TOTALE_IMPORTO, _T("TotaleImporto"), _T("Totale importo"), pRec->l_TotaleRiga},
		{IDC_BDG_FIN_IMPOSTA, _T("Imposta"), _T("Imposta"), pRec->f_ImpostaMese},
		{IDC_BDG_FIN_IMPOSTA_AP, _T("ImpostaAnnoPrec"), _T("Imposta anno prec."), pRec->f_ImpostaMeseAnnoPrec},
		{IDC_BDG_FIN_TOTALE_IMPOSTA, _T("TotaleImposta"), _T("Totale imposta"), pRec->l_TotaleRigaAP},
	};
	AddColumn(IDC_BDG_FIN_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4)->SetReadOnly();
	for (const Colonna& c : colonne)
		AddColumn(c.nID, c.szNome, Testo(c.szTitolo), RUNTIME_CLASS(CMoneyStatic), c.dato, 16)->SetReadOnly();
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow();
}
