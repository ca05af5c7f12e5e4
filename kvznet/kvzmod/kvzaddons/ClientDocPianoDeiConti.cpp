#include "kvznet/kvzmod/kvzaddons/ClientDocPianoDeiConti.h"

#include <vector>

#include "kvznet/kvzmod/kvzaddons/StrutturaPdC.h"
#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "ClientDocPianoDeiConti";

const UINT kLivelli[StrutturaPdC::LIVELLI] = {IDC_PDC_LIV1, IDC_PDC_LIV2, IDC_PDC_LIV3, IDC_PDC_LIV4,
											  IDC_PDC_LIV5, IDC_PDC_LIV6, IDC_PDC_LIV7, IDC_PDC_LIV8};
const UINT kNomiLivelli[StrutturaPdC::LIVELLI] = {IDC_PDC_NOME_LIV1, IDC_PDC_NOME_LIV2, IDC_PDC_NOME_LIV3,
												  IDC_PDC_NOME_LIV4, IDC_PDC_NOME_LIV5, IDC_PDC_NOME_LIV6,
												  IDC_PDC_NOME_LIV7, IDC_PDC_NOME_LIV8};

// The grouping row of an account, found (and added when missing) on the updatable session.
class TURaggruppPdC : public KeyedUpdater
{
public:
	explicit TURaggruppPdC(CBaseDocument* pDocument) : KeyedUpdater(Kvz_TRaggruppPdC::GetThisClass(), pDocument)
	{
		m_Keys.Add("p1", "Conto", m_Conto);
	}
	FindResult Trova(const CString& strConto)
	{
		m_Conto = strConto;
		return TableUpdater::FindRecord(FALSE);
	}
	Kvz_TRaggruppPdC* GetRaggrupp() const { return static_cast<Kvz_TRaggruppPdC*>(GetRecord()); }

private:
	DataStr m_Conto;
};

// The options carried down from a ledger: the level flags and the import exclusion.
BOOL StesseScelteDelMastro(const Kvz_TRaggruppPdC& a, const Kvz_TRaggruppPdC& b)
{
	for (int n = 1; n <= StrutturaPdC::LIVELLI; ++n)
		if (static_cast<BOOL>(FlagLivello(a, n)) != static_cast<BOOL>(FlagLivello(b, n)))
			return FALSE;
	return static_cast<BOOL>(a.f_EscludiDaImportazione) == static_cast<BOOL>(b.f_EscludiDaImportazione);
}
}  // namespace

// ---- record buffer -----------------------------------------------------------------------------

Kvz_DBTRaggruppConti::Kvz_DBTRaggruppConti(CAbstractFormDoc* pDocument, Kvz_ClientDocPianoDeiConti* pClientDoc)
	: DBTSlave(Kvz_TRaggruppPdC::GetThisClass(), pDocument, "DBTRaggruppConti"), m_pClientDoc(pClientDoc)
{
}

const DataStr& Kvz_DBTRaggruppConti::ContoHost() const
{
	return static_cast<DChartOfAccounts*>(GetDocument())->GetChartOfAccounts()->f_Account;
}

void Kvz_DBTRaggruppConti::OnDisableControlsForEdit()
{
	m_pClientDoc->AggiornaStatiReadOnly();
}

void Kvz_DBTRaggruppConti::OnDefineQuery()
{
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", GetRaggrupp()->f_Conto);
	m_pTable->AddFilterColumn(GetRaggrupp()->f_Conto);
}

void Kvz_DBTRaggruppConti::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", ContoHost());
}

void Kvz_DBTRaggruppConti::OnDisableControlsForAddNew()
{
	m_pClientDoc->AggiornaStatiReadOnly();
}

void Kvz_DBTRaggruppConti::OnPreparePrimaryKey()
{
	GetRaggrupp()->f_Conto = ContoHost();
}

void Kvz_DBTRaggruppConti::Write(BOOL bNew)
{
	if (!m_pOldRecord)
	{
		Kvz_TRRaggruppPdC esistente(GetDocument());
		if (esistente.FindRecord(GetRaggrupp()->f_Conto) == TableReader::FOUND)
			m_pOldRecord.reset(esistente.GetRecord()->Clone());
	}
	DBTSlave::Write(bNew);
}

// ---- client document ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_ClientDocPianoDeiConti, CClientDoc)
	ON_EN_VALUE_CHANGED(IDC_COA_ACCOUNT, OnContoChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV1, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV2, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV3, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV4, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV5, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV6, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV7, OnLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_LIV8, OnOttavoLivelloChanged)
	ON_EN_VALUE_CHANGED(IDC_COA_COSTACCOUNTING, OnAggiornaStati)
	ON_EN_VALUE_CHANGED(IDC_COA_COSTACCDETAIL, OnDettaglioAnaliticoChanged)
	ON_EN_VALUE_CHANGED(IDC_PDC_ESPLODI_ANALITICA, OnAggiornaStati)
	ON_EN_VALUE_CHANGED(IDC_COA_LEDGER, OnAggiornaStati)
END_MESSAGE_MAP()

Kvz_ClientDocPianoDeiConti::Kvz_ClientDocPianoDeiConti()
{
	const TChartOfAccountParameters* pParametri = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	m_NomeLivello[0] = AfxLoadSourceString(_T("Mastro"), kSource);
	for (int n = 1; n < StrutturaPdC::LIVELLI; ++n)
		m_NomeLivello[n] = pParametri->GetSegmentName(n);
}

DChartOfAccounts* Kvz_ClientDocPianoDeiConti::GetHost() const
{
	return static_cast<DChartOfAccounts*>(GetServerDoc());
}

TChartOfAccounts* Kvz_ClientDocPianoDeiConti::GetContoHost() const
{
	return GetHost()->GetChartOfAccounts();
}

BOOL Kvz_ClientDocPianoDeiConti::IsAddOnFly() const
{
	return GetServerDoc()->IsKindOf(RUNTIME_CLASS(DChartOfAccountsAddOnFly));
}

BOOL Kvz_ClientDocPianoDeiConti::IsContoEconomico(const CString& strConto) const
{
	TRLedgers mastri(GetServerDoc());
	if (mastri.FindRecord(DataStr(strConto.Left(StrutturaPdC::Corrente().L0))) != TableReader::FOUND)
		return FALSE;
	const WORD tipo = mastri.GetRecord()->f_LedgerType.GetItemValue();
	return tipo == LEDGER_COSTS || tipo == LEDGER_REVENUES;
}

// ---- hooks ---------------------------------------------------------------------------------------

BOOL Kvz_ClientDocPianoDeiConti::OnOkTransaction()
{
	Kvz_TRaggruppPdC* pRiga = GetRaggrupp();
	const CString strConto = GetContoHost()->f_Account;
	// The add-on-fly form may come with its code filled in: the proposals were not made yet.
	if (GetServerDoc()->GetFormMode() == CBaseDocument::NEW && IsAddOnFly() && pRiga->f_Conto.GetString() != strConto)
		InizializzaDaLivelloSuperiore();

	const StrutturaPdC s = StrutturaPdC::Corrente();
	if (!s.IsAlLivelloDiRaggruppamento(strConto.GetLength(), *pRiga) || !IsContoEconomico(strConto))
		return TRUE;
	if (pRiga->f_ContoPatrimoniale.IsEmpty())
	{
		if (AfxMessageBox(AfxLoadSourceString(_T("Conto associato mancante. Si intende salvare comunque?"), kSource),
						  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
			return TRUE;
		GetHost()->SetCtrlFocus(IDC_PDC_CONTO_PATRIM);
		return FALSE;
	}
	// The linked account must be where its own ledger groups its accounts.
	Kvz_TRRaggruppPdC collegato(GetServerDoc());
	const int nProfondita =
		collegato.FindRecord(pRiga->f_ContoPatrimoniale) == TableReader::FOUND ? ProfonditaRaggruppamento(*collegato.GetRecord()) : 0;
	if (nProfondita == s.LivelloDi(pRiga->f_ContoPatrimoniale.GetLen()))
		return TRUE;
	AfxMessageBox(AfxLoadSourceString(_T("Sono collegabili ai conti economici i conti patrimoniali raggruppati (vedi "
										 "livello di raggruppamento del mastro)."),
									  kSource),
				  MB_OK | MB_ICONERROR);
	GetHost()->SetCtrlFocus(IDC_PDC_CONTO_PATRIM);
	return FALSE;
}

BOOL Kvz_ClientDocPianoDeiConti::OnAfterOkTransaction()
{
	if (GetServerDoc()->GetFormMode() == CBaseDocument::NEW)
		return TRUE;
	if (!StrutturaPdC::Corrente().IsContoSuperiore(GetContoHost()->f_Account.GetLen()))
		return TRUE;
	const Kvz_TRaggruppPdC vuota;
	const Kvz_TRaggruppPdC* pLetta = m_pDBT->GetRigaLetta();
	if (!StesseScelteDelMastro(*GetRaggrupp(), pLetta ? *pLetta : vuota))
		AllineaContiDelMastro();
	return TRUE;
}

BOOL Kvz_ClientDocPianoDeiConti::OnAttachData()
{
	m_pDBT = new Kvz_DBTRaggruppConti(GetServerDoc(), this);
	if (!AttachDBTSlave(m_pDBT))
	{
		m_pDBT = nullptr;
		return FALSE;
	}
	m_pHKLConti = new HKLChartOfAccounts;
	m_pHKLConti->MustExistData();
	if (!AttachHotLink(m_pHKLConti, "Kvz_HKLContoPatrimoniale"))
	{
		m_pHKLConti = nullptr;
		return FALSE;
	}
	m_pHKLCodiciBudget = new Kvz_HKLCodiciBudget;
	m_pHKLCodiciBudget->MustExistData();
	if (!AttachHotLink(m_pHKLCodiciBudget, "Kvz_HKLCodiciBudget"))
	{
		m_pHKLCodiciBudget = nullptr;
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_ClientDocPianoDeiConti::OnPrepareAuxData()
{
	CercaDescrizioni();
	const CBaseDocument::FormMode mode = GetServerDoc()->GetFormMode();
	if ((mode == CBaseDocument::EDIT && GetRaggrupp()->f_Conto.IsEmpty()) || (mode == CBaseDocument::NEW && IsAddOnFly()))
	{
		InizializzaDaLivelloSuperiore();
		AggiornaStatiReadOnly();
	}
	return TRUE;
}

void Kvz_ClientDocPianoDeiConti::CercaDescrizioni()
{
	m_pHKLConti->FindRecord(&GetRaggrupp()->f_ContoPatrimoniale);
	m_pHKLCodiciBudget->FindRecord(&GetRaggrupp()->f_CodiceBudget);
}

void Kvz_ClientDocPianoDeiConti::Customize()
{
	AddTabDialog(IsAddOnFly() ? _T("CCoAAddOnFlyTabManager") : _T("CCoATabManager"),
				 RUNTIME_CLASS(Kvz_ClientDocPdCTabDlg), IDD_KVZ_CLIENTDOC_PDC,
				 AfxLoadSourceString(_T("&Riclassificazioni"), kSource));
}

// ---- what the form's changes set off -------------------------------------------------------------

void Kvz_ClientDocPianoDeiConti::OnContoChanged()
{
	InizializzaDaLivelloSuperiore();
	AggiornaStatiReadOnly();
}

void Kvz_ClientDocPianoDeiConti::OnLivelloChanged()
{
	if (!IsContoEconomico(GetContoHost()->f_Account))
		ControllaSeContoPatrimonialeUsato();
	AggiornaStatiReadOnly();
}

void Kvz_ClientDocPianoDeiConti::OnOttavoLivelloChanged()
{
	if (!IsContoEconomico(GetContoHost()->f_Account))
	{
		ControllaSeContoPatrimonialeUsato();
		m_bAvvisato = FALSE;
	}
	AggiornaStatiReadOnly();
}

void Kvz_ClientDocPianoDeiConti::OnDettaglioAnaliticoChanged()
{
	Kvz_TRaggruppPdC* pRiga = GetRaggrupp();
	if (GetContoHost()->f_CostAccDetail)
	{
		pRiga->f_EsplodiInAnalitica = TRUE;
		pRiga->f_TipoDettaglio = DataEnum(E_KVZ_TIPODETTAGLIO, KVZ_TIPODETTAGLIO_CENTRI_E_COMMESSE);
	}
	else
		pRiga->f_EsplodiInAnalitica = FALSE;
	AggiornaStatiReadOnly();
}

void Kvz_ClientDocPianoDeiConti::OnAggiornaStati()
{
	AggiornaStatiReadOnly();
}

// ---- rules ---------------------------------------------------------------------------------------

void Kvz_ClientDocPianoDeiConti::AggiornaStatiReadOnly()
{
	Kvz_TRaggruppPdC* pRiga = GetRaggrupp();
	const TChartOfAccounts* pConto = GetContoHost();
	const StrutturaPdC s = StrutturaPdC::Corrente();
	const int nLunghezza = pConto->f_Account.GetLen();

	const BOOL bSuperiore = s.IsContoSuperiore(nLunghezza);
	pRiga->f_PrimoLivello.SetReadOnly(!bSuperiore);
	pRiga->f_EscludiDaImportazione.SetReadOnly(!bSuperiore);
	for (int n = 2; n <= StrutturaPdC::LIVELLI; ++n)
		FlagLivello(*pRiga, n).SetReadOnly(!(bSuperiore && s.L[n - 1] != 0));

	const BOOL bAlLivello = s.IsAlLivelloDiRaggruppamento(nLunghezza, *pRiga);
	const BOOL bEconomico = IsContoEconomico(pConto->f_Account);
	if (!bAlLivello)
	{
		pRiga->f_ContoPatrimoniale.Clear();
		m_pHKLConti->FindRecord(&pRiga->f_ContoPatrimoniale);
		pRiga->f_ModificaInAssestamento = FALSE;
	}
	pRiga->f_ContoPatrimoniale.SetReadOnly(!(bAlLivello && bEconomico));
	pRiga->f_ModificaInAssestamento.SetReadOnly(!bAlLivello);

	const BOOL bAnalitica = pConto->f_CostAccounting && pConto->f_CostAccDetail;
	pRiga->f_EsplodiInAnalitica.SetReadOnly(!bAnalitica);
	pRiga->f_TipoDettaglio.SetReadOnly(!(bAnalitica && pRiga->f_EsplodiInAnalitica));

	if (!bEconomico)
		pRiga->f_InversioneSegno = FALSE;
	pRiga->f_InversioneSegno.SetReadOnly(!bEconomico);

	GetServerDoc()->UpdateDataView();
}

void Kvz_ClientDocPianoDeiConti::InizializzaDaLivelloSuperiore()
{
	Kvz_TRaggruppPdC* pRiga = GetRaggrupp();
	const TChartOfAccounts* pConto = GetContoHost();
	const CString strConto = pConto->f_Account;
	const StrutturaPdC s = StrutturaPdC::Corrente();
	const int nLunghezza = strConto.GetLength();

	if (nLunghezza == s.L0)
	{
		// A ledger groups its accounts at the deepest level of the structure.
		for (int n = 1; n <= StrutturaPdC::LIVELLI; ++n)
			FlagLivello(*pRiga, n) = FALSE;
		FlagLivello(*pRiga, s.LivelloMastro()) = TRUE;
	}
	else
	{
		Kvz_TRRaggruppPdC superiore(GetServerDoc());
		if (superiore.FindRecord(DataStr(strConto.Left(s.LunghezzaPrefisso(nLunghezza)))) == TableReader::FOUND)
			*pRiga = *superiore.GetRecord();
		else
			pRiga->Init();
		pRiga->f_Conto = strConto;
		if (pConto->f_CostAccDetail)
		{
			pRiga->f_EsplodiInAnalitica = TRUE;
			pRiga->f_TipoDettaglio = DataEnum(E_KVZ_TIPODETTAGLIO, KVZ_TIPODETTAGLIO_CENTRI_E_COMMESSE);
		}
		const BOOL bAlLivello = s.IsAlLivelloDiRaggruppamento(nLunghezza, *pRiga);
		pRiga->f_ModificaInAssestamento = bAlLivello;
		pRiga->f_ProponiInAssestamento = bAlLivello;
		CercaDescrizioni();
	}
	GetServerDoc()->SetModifiedFlag();
}

BOOL Kvz_ClientDocPianoDeiConti::ControllaSeContoPatrimonialeUsato()
{
	try
	{
		Kvz_TRaggruppPdC riga;
		SqlTable collegati(&riga, GetServerDoc()->GetReadOnlySqlSession());
		collegati.Open();
		collegati.SelectAll();
		collegati.AddParam("p3", riga.f_ContoPatrimoniale);
		collegati.AddFilterLike(riga.f_ContoPatrimoniale);
		collegati.AddSortColumn(riga.f_ContoPatrimoniale);
		collegati.SetParamLike("p3", GetContoHost()->f_Account);
		collegati.Query();
		const bool bUsato = !collegati.IsEmpty();
		collegati.Close();
		if (!bUsato)
			return TRUE;
		if (m_bAvvisato)
			m_bAvvisato = FALSE;
		else
		{
			AfxMessageBox(AfxLoadSourceString(_T("ATTENZIONE: Il conto risulta associato a dei conti economici. Ricordarsi "
												 "di variare manualmente il collegamento con tali conti."),
											  kSource),
						  MB_OK | MB_ICONWARNING);
			m_bAvvisato = TRUE;
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	return TRUE;
}

void Kvz_ClientDocPianoDeiConti::AllineaContiDelMastro()
{
	const Kvz_TRaggruppPdC* pRiga = GetRaggrupp();
	const CString strConto = GetContoHost()->f_Account;
	const StrutturaPdC s = StrutturaPdC::Corrente();
	BeginWaitCursor();
	try
	{
		// The accounts under this one, read first: the writes go on another session.
		struct ContoSotto
		{
			CString codice;
			BOOL bDettaglio;
		};
		std::vector<ContoSotto> sotto;
		{
			TChartOfAccounts conto;
			SqlTable conti(&conto, GetServerDoc()->GetReadOnlySqlSession());
			conti.Open();
			conti.SelectAll();
			conti.AddParam("p2", conto.f_Account);
			conti.AddFilterLike(conto.f_Account);
			conti.SetParamLike("p2", DataStr(strConto));
			for (conti.Query(); !conti.IsEOF(); conti.MoveNext())
				if (conto.f_Account.GetString() != strConto)
					sotto.push_back({conto.f_Account.GetString(), conto.f_CostAccDetail});
		}
		if (!sotto.empty())
			GetHost()->SetProgressText(CString::Formatted(
				AfxLoadSourceString(_T("Allineamento di %d conti sotto %s ..."), kSource), static_cast<int>(sotto.size()),
				strConto.GetString()));
		TURaggruppPdC aggiorna(GetServerDoc());
		aggiorna.SetSqlSession(GetServerDoc()->GetUpdatableSqlSession());
		aggiorna.SetAutocommit();
		for (const ContoSotto& c : sotto)
		{
			if (aggiorna.Trova(c.codice) != TableReader::FOUND)
				aggiorna.GetRaggrupp()->f_Conto = c.codice;
			Kvz_TRaggruppPdC* pSotto = aggiorna.GetRaggrupp();
			const BOOL bAlLivello = s.IsAlLivelloDiRaggruppamento(c.codice.GetLength(), *pRiga);
			pSotto->f_ModificaInAssestamento = bAlLivello;
			pSotto->f_ProponiInAssestamento = bAlLivello;
			for (int n = 1; n <= StrutturaPdC::LIVELLI; ++n)
				FlagLivello(*pSotto, n) = FlagLivello(*pRiga, n);
			pSotto->f_EscludiDaImportazione = pRiga->f_EscludiDaImportazione;
			if (c.bDettaglio)
			{
				pSotto->f_EsplodiInAnalitica = TRUE;
				pSotto->f_TipoDettaglio = DataEnum(E_KVZ_TIPODETTAGLIO, KVZ_TIPODETTAGLIO_CENTRI_E_COMMESSE);
				pSotto->f_ProponiInAssestamento = TRUE;
			}
			aggiorna.UpdateRecord();
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	EndWaitCursor();
}

// ---- tab -----------------------------------------------------------------------------------------

void Kvz_ClientDocPdCTabDlg::BuildDataControlLinks()
{
	auto* pHost = static_cast<CAbstractFormDoc*>(GetDocument());
	Kvz_ClientDocPianoDeiConti* pClient = nullptr;
	for (auto& p : *pHost->GetClientDocs())
		if (auto* pDoc = DynamicDownCast<Kvz_ClientDocPianoDeiConti>(p.get()))
			pClient = pDoc;
	if (!pClient || !pClient->GetRaggrupp())
		return;
	Kvz_TRaggruppPdC* pRec = pClient->GetRaggrupp();
	const CString prefisso = CString(Kvz_TRaggruppPdC::GetStaticName()) + "_";
	auto link = [&](UINT nID, const CString& strColonna, CRuntimeClass* pClass, DataObj& data,
					HotKeyLinkObj* pHKL = nullptr) { AddLink(nID, (prefisso + strColonna).GetString(), pClass, &data, pHKL);
	};
	for (int n = 1; n <= StrutturaPdC::LIVELLI; ++n)
	{
		AddLink(kNomiLivelli[n - 1], CString::Formatted("ADDON_PDC_NOME_LIV%d", n).GetString(), RUNTIME_CLASS(CStrStatic),
				&pClient->m_NomeLivello[n - 1]);
		link(kLivelli[n - 1], pRec->GetColumnName(&FlagLivello(*pRec, n)), RUNTIME_CLASS(CBoolButton), FlagLivello(*pRec, n));
	}
	link(IDC_PDC_PROPONI_ASSEST, _T("ProponiInAssestamento"), RUNTIME_CLASS(CBoolButton), pRec->f_ProponiInAssestamento);
	link(IDC_PDC_MODIFICA_ASSEST, _T("ModificaInAssestamento"), RUNTIME_CLASS(CBoolButton), pRec->f_ModificaInAssestamento);
	link(IDC_PDC_INVERSIONE_SEGNO, _T("InversioneSegno"), RUNTIME_CLASS(CBoolButton), pRec->f_InversioneSegno);
	link(IDC_PDC_ESPLODI_ANALITICA, _T("EsplodiInAnalitica"), RUNTIME_CLASS(CBoolButton), pRec->f_EsplodiInAnalitica);
	link(IDC_PDC_TIPO_DETTAGLIO, _T("TipoDettaglio"), RUNTIME_CLASS(CEnumCombo), pRec->f_TipoDettaglio);
	link(IDC_PDC_CONTO_PATRIM, _T("ContoPatrimoniale"), RUNTIME_CLASS(CStrEdit), pRec->f_ContoPatrimoniale,
		 pClient->GetHKLContoPatrimoniale());
	AddLink(IDC_PDC_DES_PATRIM, _T("ADDON_PDC_DESCRI_PATRIM"), RUNTIME_CLASS(CStrStatic),
			&pClient->GetHKLContoPatrimoniale()->GetRecord()->f_Description);
	link(IDC_PDC_BUDGET, _T("CodiceBudget"), RUNTIME_CLASS(CStrEdit), pRec->f_CodiceBudget, pClient->GetHKLCodiciBudget());
	AddLink(IDC_PDC_DES_BUDGET, _T("ADDON_PDC_DES_COD_BUDGET"), RUNTIME_CLASS(CStrStatic),
			&pClient->GetHKLCodiciBudget()->GetRecord()->f_Descrizione);
	link(IDC_PDC_ESCLUDI_SUPERIORI, _T("EscludiDaImportazione"), RUNTIME_CLASS(CBoolButton), pRec->f_EscludiDaImportazione);
	link(IDC_PDC_ESCLUDI_CONTO, _T("EscludereContoDaImportazione"), RUNTIME_CLASS(CBoolButton),
		 pRec->f_EscludereContoDaImportazione);
	// The form's texts; each level's check box stands beside the level's name.
	static const LPCTSTR kOrdinali[] = {_T("Primo"), _T("Secondo"), _T("Terzo"),  _T("Quarto"),
										_T("Quinto"), _T("Sesto"),	 _T("Settimo"), _T("Ottavo")};
	for (int n = 1; n <= StrutturaPdC::LIVELLI && n <= 8; ++n)
	{
		if (CParsedCtrl* p = FindControl(CString::Formatted("ADDON_PDC_NOME_LIV%d", n)))
			p->SetLabel(CString::Formatted("Nome livello %d", n));
		if (CParsedCtrl* p = FindControl(prefisso + pRec->GetColumnName(&FlagLivello(*pRec, n))))
			p->SetLabel(CString(kOrdinali[n - 1]) + " livello di raggruppamento");
	}
	const std::pair<LPCTSTR, LPCTSTR> testi[] = {
		{_T("ProponiInAssestamento"), _T("Da proporre in filtro conti per assestamento")},
		{_T("ModificaInAssestamento"), _T("Da modificare in assestamento")},
		{_T("InversioneSegno"), _T("Invertire il segno in passaggio assestamenti")},
		{_T("EsplodiInAnalitica"), _T("Da esplodere in analitica")},
		{_T("TipoDettaglio"), _T("Tipo di dettaglio")},
		{_T("ContoPatrimoniale"), _T("Conto associato")},
		{_T("CodiceBudget"), _T("Codice budget")},
		{_T("EscludiDaImportazione"),
		 _T("Escludere dall'importazione i livelli superiori non modificabili in assestamento")},
		{_T("EscludereContoDaImportazione"), _T("Escludere dall'importazione")}};
	for (auto& [szColonna, szTesto] : testi)
		if (CParsedCtrl* p = FindControl(prefisso + szColonna))
			p->SetLabel(szTesto);
	SetLabels({{_T("ADDON_PDC_DESCRI_PATRIM"), _T("Descrizione conto associato")},
			   {_T("ADDON_PDC_DES_COD_BUDGET"), _T("Descrizione codice budget")}});
}
