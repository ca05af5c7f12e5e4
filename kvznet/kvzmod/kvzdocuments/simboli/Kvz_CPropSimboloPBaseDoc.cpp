#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"


namespace {
const char* const kSource = "PropSimboloPBase";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}

// The tabs of the form, in the order the tab strip adds them.
enum
{
	TAB_CONTI = 0,
	TAB_CDC_COMM = 1,
	TAB_DEFAULT = 2,
	TAB_AZIENDE = 3,
};

}  // namespace

// ---- pair lists ---------------------------------------------------------------------------------

Kvz_TEnhCentriCommesseContiKvz* Kvz_ArrayContiCdcComm::Cerca(const DataStr& aConto, const DataEnum& aTipo,
															const DataStr& aCdcComm, int* pnIndex) const
{
	Kvz_TEnhCentriCommesseContiKvz* pTrovato = nullptr;
	int nTrovato = -1;
	for (int i = 0; i < GetSize(); ++i)
	{
		Kvz_TEnhCentriCommesseContiKvz* p = GetAt(i);
		if (p->f_ContoKvz == aConto && p->f_Tipo.GetValue() == aTipo.GetValue() && p->f_CentroCommessa == aCdcComm)
		{
			pTrovato = p;
			nTrovato = i;
		}
	}
	if (pnIndex)
		*pnIndex = nTrovato;
	return pTrovato;
}

Kvz_TEnhCentriCommesseContiKvz* Kvz_ArrayContiCdcComm::Aggiungi(const DataInt& aEsercizio, const DataStr& aConto,
																const DataEnum& aTipo, const DataStr& aCdcComm,
																const DataEnum& aSegno)
{
	auto* p = new Kvz_TEnhCentriCommesseContiKvz;
	p->f_Esercizio = aEsercizio;
	p->f_ContoKvz = aConto;
	p->f_Tipo = aTipo;
	p->f_CentroCommessa = aCdcComm;
	p->l_SegnoConto = aSegno;
	Add(p);
	return p;
}

// ---- grid buffers -------------------------------------------------------------------------------

Kvz_DBTSelContiSimbolo::Kvz_DBTSelContiSimbolo(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhAnagContiKvz::GetThisClass(), pDocument, _T("DBTSelContiSimbolo"), TRUE, FALSE)
{
}

Kvz_TEnhAnagContiKvz* Kvz_DBTSelContiSimbolo::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf((Kvz_TEnhAnagContiKvz::GetThisClass())),
						 "Kvz_DBTSelContiSimbolo::GetCurrentRecord", kSource);
	return DynamicDownCast<Kvz_TEnhAnagContiKvz>(GetCurrentRow());
}

Kvz_DBTSelCdcCommSimbolo::Kvz_DBTSelCdcCommSimbolo(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_ViewCdcCommesse::GetThisClass(), pDocument, _T("DBTSelCdcCommSimbolo"), TRUE, FALSE)
{
}

Kvz_ViewCdcCommesse* Kvz_DBTSelCdcCommSimbolo::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf((Kvz_ViewCdcCommesse::GetThisClass())),
						 "Kvz_DBTSelCdcCommSimbolo::GetCurrentRecord", kSource);
	return DynamicDownCast<Kvz_ViewCdcCommesse>(GetCurrentRow());
}

// ---- document -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloPBaseDoc, Kvz_CPropSimboloDoc)
	ON_BN_CLICKED(IDC_PB_SYMB_COPIA, OnCopiaInNuovoSimbolo)
	ON_BN_CLICKED(IDC_PB_SYMB_ESTRAI, OnEstrai)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SEL_SALDO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SEL_RATEO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SEL_TOT_ASS, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SEL_BUDGET, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_ESERCIZIO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_ES, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_ES_CONST_DA, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_ES_SYMB_DA, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_ES_A, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_ES_A, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_MESE, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_MESE, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_MESE_CONST_DA, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_MESE_SYMB_DA, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_MESE_CONST_A, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_WHERE_MESE_SYMB_A, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SALDO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_SALDO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_RATEO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_RATEO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_TOT_ASS, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_TOT_ASS, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_OPE_CONTO, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CONTO_DA, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CONTO_A, OnValoreChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CONTO, OnSelezioneChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CDC_COMM, OnSelezioneChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CONTI_SEL, OnSelContoChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CDC_SEL, OnSelCdcCommChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CDC_SEGNO, OnSegnoCdcCommChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CONTI_SEGNO, OnSegnoContoChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM, OnContiDelCdcCommChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_SEL_CONTI_CDC_COMM, OnContiDelCdcCommChanged)
	ON_BEN_ROW_CHANGED(IDC_PB_SYMB_GRID_CONTI, OnContoRowChanged)
	ON_BEN_ROW_CHANGED(IDC_PB_SYMB_GRID_CDC_COMM, OnCdcCommRowChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_CENTRI, OnFiltroTipoCdcCommChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_COMMESSE, OnFiltroTipoCdcCommChanged)
	ON_EN_VALUE_CHANGED(IDC_PB_SYMB_ENTRAMBI, OnFiltroTipoCdcCommChanged)
	ON_BN_CLICKED(IDC_PB_SYMB_SEL_TUTTI_CONTI, OnSelTuttiConti)
	ON_BN_CLICKED(IDC_PB_SYMB_DESEL_TUTTI_CONTI, OnDeselTuttiConti)
	ON_BN_CLICKED(IDC_PB_SYMB_SEL_TUTTI_CDC_COMM, OnSelTuttiCdcComm)
	ON_BN_CLICKED(IDC_PB_SYMB_DESEL_TUTTI_CDC_COMM, OnDeselTuttiCdcComm)
	ON_BN_CLICKED(IDC_PB_SYMB_CARICA_DA_TABELLE, OnCaricaTabellaCdcComm)
	ON_BN_CLICKED(IDC_PB_SYMB_FILTRO, OnFiltro)
	ON_BN_CLICKED(IDC_PB_SYMB_OK, OnOk)
	ON_BN_CLICKED(IDC_PB_SYMB_ANNULLA, OnAnnulla)
END_MESSAGE_MAP()

Kvz_CPropSimboloPBaseDoc::Kvz_CPropSimboloPBaseDoc()
{
	m_NomeSimbolo.SetUpperCase();
	m_OldNomeSimbolo.SetUpperCase();
}

Kvz_CPropSimboloPBaseDoc::~Kvz_CPropSimboloPBaseDoc()
{
	SalvaImpostazioni();
	for (auto* p : {&m_pTblPianoBaseTesta, &m_pTblPianoBaseRighe})
		if (*p && (*p)->IsOpen())
			(*p)->Close();
	ChiudiConnessioneEsterna();
}

DataBool& Kvz_CPropSimboloPBaseDoc::SelSeg(int k)
{
	DataBool* seg[] = {&m_SelSeg1, &m_SelSeg2, &m_SelSeg3, &m_SelSeg4, &m_SelSeg5, &m_SelSeg6, &m_SelSeg7};
	return *seg[(k < 1 ? 1 : k > 7 ? 7 : k) - 1];
}

DataInt Kvz_CPropSimboloPBaseDoc::EsercizioSimbolo() const
{
	return m_Esercizio.IsEmpty() ? DataInt(AfxGetApplicationDate().Year()) : m_Esercizio;
}

BOOL Kvz_CPropSimboloPBaseDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Definizione valore da piano base")));
	const DataInt esercizio = EsercizioSimbolo();

	for (KVZ_HKLAnagContiKvz** pp : {&m_pHKLContoDa, &m_pHKLContoA})
	{
		*pp = new KVZ_HKLAnagContiKvz;
		Attach(*pp, CString());
		(*pp)->SetSelTipoConto(KVZ_HKLAnagContiKvz::ALL);
		(*pp)->SetSelEsercizio(esercizio);
		(*pp)->MustExistData(FALSE);
	}
	for (Kvz_HKLCentriComm** pp : {&m_pHKLCdcCommDa, &m_pHKLCdcCommA})
	{
		*pp = new Kvz_HKLCentriComm;
		Attach(*pp, CString());
		(*pp)->SetSelEsercizio(esercizio);
		(*pp)->SetSelPerTipo(DataBool(FALSE));
	}

	m_pDBTSelConti = std::make_unique<Kvz_DBTSelContiSimbolo>(this);
	m_pDBTSelCdcComm = std::make_unique<Kvz_DBTSelCdcCommSimbolo>(this);

	m_pIDManager = std::make_unique<Kvz_IDManager>(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), this);
	m_pNumManager = std::make_unique<Kvz_NumNonFiscManager>(DataEnum(E_KVZ_TIPODOCUMENTO, 0), this);

	m_pTblPianoBaseTesta = std::make_unique<SqlTable>(&m_PianoBaseTesta, GetUpdatableSqlSession(), this);
	m_pTblPianoBaseRighe = std::make_unique<SqlTable>(&m_PianoBaseRighe, GetUpdatableSqlSession(), this);
	m_TRParametri.FindRecord();

	if (!ConnectDB())
		return FALSE;
	return Kvz_CPropSimboloDoc::OnAttachData();
}

void Kvz_CPropSimboloPBaseDoc::ChiudiConnessioneEsterna()
{
	if (m_pConnLista == m_pConnEsterna)
		m_pConnLista = nullptr;
	if (m_pConnEsterna)
		AfxGetOleDbMng()->CloseConnection(m_pConnEsterna);
	m_pConnEsterna = nullptr;
}

BOOL Kvz_CPropSimboloPBaseDoc::ConnectDB()
{
	ChiudiConnessioneEsterna();
	if (!IsAziendaEsterna())
	{
		m_pConnLista = GetSqlConnection();
		return m_pConnLista != nullptr;
	}
	Kvz_TRAziende aziende(this);
	m_pConnEsterna = Kvz_New_External::ApriConnessione(aziende, m_Azienda, 60,
													   [](const CString& testo) { AfxMessageBox(testo); });
	if (!m_pConnEsterna)
		return FALSE;
	m_pConnLista = m_pConnEsterna;
	return TRUE;
}

void Kvz_CPropSimboloPBaseDoc::SalvaImpostazioni()
{
	CKvzNetSettings settings;
	settings.SetPropSimboloPBaseEconomici(m_Economici, FALSE);
	settings.SetPropSimboloPBasePatrimoniali(m_Patrimoniali, FALSE);
	settings.SetPropSimboloPBaseTuttiConti(m_TuttiConti, FALSE);
	settings.SetPropSimboloPBaseSelMastri(m_SelMastri, FALSE);
	settings.SetPropSimboloPBaseSelSeg1(m_SelSeg1, FALSE);
	settings.SetPropSimboloPBaseSelSeg2(m_SelSeg2, FALSE);
	settings.SetPropSimboloPBaseSelSeg3(m_SelSeg3, FALSE);
	settings.SetPropSimboloPBaseSelSeg4(m_SelSeg4, FALSE);
	settings.SetPropSimboloPBaseSelSeg5(m_SelSeg5, FALSE);
	settings.SetPropSimboloPBaseSelSeg6(m_SelSeg6, FALSE);
	settings.SetPropSimboloPBaseSelSeg7(m_SelSeg7, FALSE);
	settings.SetPropSimboloPBaseContoDa(m_ValDaConto, FALSE);
	settings.SetPropSimboloPBaseContoA(m_ValAConto, FALSE);
	settings.SetPropSimboloPBaseCdcCommDa(m_CdcCommDa, FALSE);
	settings.SetPropSimboloPBaseCdcCommA(m_CdcCommA, FALSE);
	if (m_Entrambi == TRUE)
		settings.SetPropSimboloPBaseFiltroCdcComm(DataStr(_T("E")), FALSE);
	else if (m_Centri == TRUE)
		settings.SetPropSimboloPBaseFiltroCdcComm(DataStr(_T("C")), FALSE);
	else if (m_Commesse == TRUE)
		settings.SetPropSimboloPBaseFiltroCdcComm(DataStr(_T("M")), FALSE);
	// The section written once, not once per choice.
	AfxSaveSettings(settings.GetNamespace(), settings.GetFileName(), settings.GetSectionName(), 0, 0, nullptr);
}

// ---- form ---------------------------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::AbilitaTab()
{
	if (!m_pTabber)
		return;
	CBaseTabDialog* pConti = m_pTabber->GetDialog(TAB_CONTI);
	CBaseTabDialog* pCdcComm = m_pTabber->GetDialog(TAB_CDC_COMM);
	if (!pConti || !pCdcComm)
		return;
	if (m_WhereConto == TRUE)
	{
		pConti->EnableTab(TRUE);
		pCdcComm->EnableTab(FALSE);
		m_pTabber->SetActiveTab(TAB_CONTI);
	}
	else if (m_WhereCdcComm == TRUE)
	{
		pConti->EnableTab(FALSE);
		pCdcComm->EnableTab(TRUE);
		m_pTabber->SetActiveTab(TAB_CDC_COMM);
	}
}

void Kvz_CPropSimboloPBaseDoc::OnSelezioneChanged()
{
	AbilitaTab();
	AggiornaStatoControlli();
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnValoreChanged()
{
	AggiornaStatoControlli();
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnFiltroTipoCdcCommChanged()
{
	for (Kvz_HKLCentriComm* p : {m_pHKLCdcCommDa, m_pHKLCdcCommA})
	{
		p->SetSelPerTipo(DataBool(m_Entrambi != TRUE));
		if (m_Centri == TRUE)
			p->SetSelTipo(DataEnum(E_KVZ_TIPOCENTROCOMM, 0));
		else if (m_Commesse == TRUE)
			p->SetSelTipo(DataEnum(E_KVZ_TIPOCENTROCOMM, 1));
	}
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnSceltaAziendaChanged()
{
	m_nSelezionati = 0;
	m_pDBTSelConti->RemoveAll(TRUE);
	m_pDBTSelCdcComm->RemoveAll(TRUE);
	Kvz_CPropSimboloDoc::OnSceltaAziendaChanged();
	if (m_AziendaCorrente == TRUE)
		m_NomeSimbolo = m_OldNomeSimbolo;
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnCodAziendaChanged()
{
	if (!m_Azienda.IsEmpty())
		m_NomeSimbolo = DataStr(m_OldNomeSimbolo.GetString() + m_Azienda.GetString());
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnOk()
{
	BatchStart();
}

void Kvz_CPropSimboloPBaseDoc::OnAnnulla()
{
	CloseDocument(TRUE);
}

void Kvz_CPropSimboloPBaseDoc::OnFiltro()
{
	OnFiltroCdcComm();
}

// ---- view and tabs ------------------------------------------------------------------------------

Kvz_CPropSimboloPBaseDoc* Kvz_CPropSimboloPBaseView::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloPBaseDoc>(GetDocument());
}

void Kvz_CPropSimboloPBaseView::BuildDataControlLinks()
{
	Kvz_CPropSimboloPBaseDoc* pDoc = GetDoc();
	AddLink(IDC_PB_SYMB_DESCR_DOCUMENTO, _T("PB_SYMB_DESCR_DOCUMENTO"), RUNTIME_CLASS(CStrStatic), &pDoc->m_Descrizione);
	AddLink(IDC_PB_SYMB_ESERCIZIO_VIS, _T("PB_SYMB_ESERCIZIO_VIS"), RUNTIME_CLASS(CIntStatic), &pDoc->m_Esercizio);
	// Symbols belong to a model: opened without the formula editor, the user names it.
	AddLink(IDC_PB_SYMB_MODELLO, _T("PB_SYMB_MODELLO"),
			pDoc->GetFormulaDoc() ? RUNTIME_CLASS(CStrStatic) : RUNTIME_CLASS(CStrEdit), &pDoc->m_Modello);
	AddLink(IDC_PB_SYMB_CODICE, _T("PB_SYMB_CODICE"), RUNTIME_CLASS(CStrStatic), &pDoc->m_CodiceCheUtilizza);
	AddLink(IDC_PB_SYMB_DESCR_RIGA, _T("PB_SYMB_DESCR_RIGA"), RUNTIME_CLASS(CStrStatic), &pDoc->m_DescrizioneRiga);
	AddLink(IDC_PB_SYMB_TIPORIGA, _T("PB_SYMB_TIPORIGA"), RUNTIME_CLASS(CEnumStatic), &pDoc->m_TipoRiga);
	AddLink(IDC_PB_SYMB_NOME_SIMBOLO, _T("PB_SYMB_NOME_SIMBOLO"), RUNTIME_CLASS(CStrEdit), &pDoc->m_NomeSimbolo);
	pDoc->m_NomeSimbolo.SetFieldRule({FieldRule::CODE, kKvzLenNomeSimbolo});
	AddLink(IDC_PB_SYMB_NOTE, _T("PB_SYMB_NOTE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Annotazioni);
	AddRadio(IDC_PB_SYMB_CONTO, _T("PB_SYMB_CONTO"), &pDoc->m_WhereConto, IDC_PB_SYMB_CONTO);
	AddRadio(IDC_PB_SYMB_CDC_COMM, _T("PB_SYMB_CDC_COMM"), &pDoc->m_WhereCdcComm, IDC_PB_SYMB_CONTO);
	AddButton(IDC_PB_SYMB_COPIA, _T("Copia in nuovo simbolo"));
	AddButton(IDC_PB_SYMB_OK, _T("OK"));
	AddButton(IDC_PB_SYMB_ANNULLA, _T("Annulla"));

	auto* pTabber = static_cast<Kvz_CSimbPBaseTabber*>(
		AddLink(IDC_PB_SYMB_TABBER, _T("Simboli piano base"), RUNTIME_CLASS(Kvz_CSimbPBaseTabber), nullptr));
	pDoc->m_pTabber = pTabber;
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CSelContiSimbPBaseTabDlg), IDD_SEL_CONTI_SIMB_PBASE,
					   Testo(_T("Selezione conti")));
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CSelCdcCommSimbPBaseTabDlg), IDD_SEL_CDC_COMM_SIMB_PBASE,
					   Testo(_T("Selezione centri/commesse")));
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CDefaultSimbPBaseTabDlg), IDD_DEFAULT_SIMB_PBASE,
					   Testo(_T("Definizione valore")));
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CAziendeSimboloTabDlg), IDD_AZIENDE_SIMBOLO, Testo(_T("Azienda")));
	SetLabels({{_T("PB_SYMB_DESCR_DOCUMENTO"), _T("Documento")},
			   {_T("PB_SYMB_ESERCIZIO_VIS"), _T("Esercizio")},
			   {_T("PB_SYMB_MODELLO"), _T("Modello")},
			   {_T("PB_SYMB_CODICE"), _T("Codice riga")},
			   {_T("PB_SYMB_DESCR_RIGA"), _T("Descrizione riga")},
			   {_T("PB_SYMB_TIPORIGA"), _T("Tipo riga")},
			   {_T("PB_SYMB_NOME_SIMBOLO"), _T("Nome simbolo")},
			   {_T("PB_SYMB_NOTE"), _T("Annotazioni")},
			   {_T("PB_SYMB_CONTO"), _T("Selezione conti E loro centri/commesse")},
			   {_T("PB_SYMB_CDC_COMM"), _T("Selezione per totali centri/commesse")}});
	pDoc->AbilitaTab();
}

Kvz_CPropSimboloPBaseDoc* Kvz_CDefaultSimbPBaseTabDlg::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloPBaseDoc>(GetDocument());
}

void Kvz_CDefaultSimbPBaseTabDlg::BuildDataControlLinks()
{
	Kvz_CPropSimboloPBaseDoc* pDoc = GetDoc();
	AddRadio(IDC_PB_SYMB_SEL_SALDO, _T("PB_SYMB_SEL_SALDO"), &pDoc->m_SelSaldo, IDC_PB_SYMB_SEL_SALDO);
	AddRadio(IDC_PB_SYMB_SEL_RATEO, _T("PB_SYMB_SEL_RATEO"), &pDoc->m_SelRateo, IDC_PB_SYMB_SEL_SALDO);
	AddRadio(IDC_PB_SYMB_SEL_TOT_ASS, _T("PB_SYMB_SEL_TOT_ASS"), &pDoc->m_SelTotAss, IDC_PB_SYMB_SEL_SALDO);
	AddRadio(IDC_PB_SYMB_SEL_BUDGET, _T("PB_SYMB_SEL_BUDGET"), &pDoc->m_SelBudget, IDC_PB_SYMB_SEL_SALDO);
	AddLink(IDC_PB_SYMB_TIPO_BUDGET, _T("PB_SYMB_TIPO_BUDGET"), RUNTIME_CLASS(Kvz_TipoBudgetInputCombo),
			&pDoc->m_TipoBudget);
	AddLink(IDC_PB_SYMB_F_AGGREG, _T("PB_SYMB_F_AGGREG"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_AggregFunction);

	AddLink(IDC_PB_SYMB_ESERCIZIO, _T("PB_SYMB_ESERCIZIO"), RUNTIME_CLASS(CBoolButton), &pDoc->m_WhereEs);
	AddRadio(IDC_PB_SYMB_WHERE_ES_CONST_DA, _T("PB_SYMB_WHERE_ES_CONST_DA"), &pDoc->m_ValDaEsConst,
			 IDC_PB_SYMB_WHERE_ES_CONST_DA);
	AddRadio(IDC_PB_SYMB_WHERE_ES_SYMB_DA, _T("PB_SYMB_WHERE_ES_SYMB_DA"), &pDoc->m_ValDaEsSymb,
			 IDC_PB_SYMB_WHERE_ES_CONST_DA);
	AddLink(IDC_PB_SYMB_ES_DA, _T("PB_SYMB_ES_DA"), RUNTIME_CLASS(CIntEdit), &pDoc->m_ValDaEs);

	AddLink(IDC_PB_SYMB_MESE, _T("PB_SYMB_MESE"), RUNTIME_CLASS(CBoolButton), &pDoc->m_WhereMese);
	AddLink(IDC_PB_SYMB_OPE_MESE, _T("PB_SYMB_OPE_MESE"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_TipoOpeMese);
	AddRadio(IDC_PB_SYMB_WHERE_MESE_CONST_DA, _T("PB_SYMB_WHERE_MESE_CONST_DA"), &pDoc->m_ValDaMeseConst,
			 IDC_PB_SYMB_WHERE_MESE_CONST_DA);
	AddRadio(IDC_PB_SYMB_WHERE_MESE_SYMB_DA, _T("PB_SYMB_WHERE_MESE_SYMB_DA"), &pDoc->m_ValDaMeseSymb,
			 IDC_PB_SYMB_WHERE_MESE_CONST_DA);
	AddLink(IDC_PB_SYMB_MESE_DA, _T("PB_SYMB_MESE_DA"), RUNTIME_CLASS(CIntEdit), &pDoc->m_ValDaMese);
	AddRadio(IDC_PB_SYMB_WHERE_MESE_CONST_A, _T("PB_SYMB_WHERE_MESE_CONST_A"), &pDoc->m_ValAMeseConst,
			 IDC_PB_SYMB_WHERE_MESE_CONST_A);
	AddRadio(IDC_PB_SYMB_WHERE_MESE_SYMB_A, _T("PB_SYMB_WHERE_MESE_SYMB_A"), &pDoc->m_ValAMeseSymb,
			 IDC_PB_SYMB_WHERE_MESE_CONST_A);
	AddLink(IDC_PB_SYMB_MESE_A, _T("PB_SYMB_MESE_A"), RUNTIME_CLASS(CIntEdit), &pDoc->m_ValAMese);

	struct Importo
	{
		UINT nWhere, nOpe, nDa, nA;
		LPCTSTR szWhere, szOpe, szDa, szA;
		DataBool* pWhere;
		DataEnum* pOpe;
		DataMon *pDa, *pA;
	};
	const Importo importi[] = {
		{IDC_PB_SYMB_SALDO, IDC_PB_SYMB_OPE_SALDO, IDC_PB_SYMB_SALDO_DA, IDC_PB_SYMB_SALDO_A, _T("PB_SYMB_SALDO"),
		 _T("PB_SYMB_OPE_SALDO"), _T("PB_SYMB_SALDO_DA"), _T("PB_SYMB_SALDO_A"), &pDoc->m_WhereSaldo,
		 &pDoc->m_TipoOpeSaldo, &pDoc->m_ValDaSaldo, &pDoc->m_ValASaldo},
		{IDC_PB_SYMB_RATEO, IDC_PB_SYMB_OPE_RATEO, IDC_PB_SYMB_RATEO_DA, IDC_PB_SYMB_RATEO_A, _T("PB_SYMB_RATEO"),
		 _T("PB_SYMB_OPE_RATEO"), _T("PB_SYMB_RATEO_DA"), _T("PB_SYMB_RATEO_A"), &pDoc->m_WhereRateo,
		 &pDoc->m_TipoOpeRateo, &pDoc->m_ValDaRateo, &pDoc->m_ValARateo},
		{IDC_PB_SYMB_TOT_ASS, IDC_PB_SYMB_OPE_TOT_ASS, IDC_PB_SYMB_TOT_ASS_DA, IDC_PB_SYMB_TOT_ASS_A,
		 _T("PB_SYMB_TOT_ASS"), _T("PB_SYMB_OPE_TOT_ASS"), _T("PB_SYMB_TOT_ASS_DA"), _T("PB_SYMB_TOT_ASS_A"),
		 &pDoc->m_WhereTotAss, &pDoc->m_TipoOpeTotAss, &pDoc->m_ValDaTotAss, &pDoc->m_ValATotAss},
	};
	for (const Importo& i : importi)
	{
		AddLink(i.nWhere, i.szWhere, RUNTIME_CLASS(CBoolButton), i.pWhere);
		AddLink(i.nOpe, i.szOpe, RUNTIME_CLASS(CEnumCombo), i.pOpe);
		AddLink(i.nDa, i.szDa, RUNTIME_CLASS(CMoneyEdit), i.pDa);
		AddLink(i.nA, i.szA, RUNTIME_CLASS(CMoneyEdit), i.pA);
	}
	SetLabels({{_T("PB_SYMB_SEL_SALDO"), _T("Saldo")},
			   {_T("PB_SYMB_SEL_RATEO"), _T("Rateo")},
			   {_T("PB_SYMB_SEL_TOT_ASS"), _T("Totale assestato")},
			   {_T("PB_SYMB_SEL_BUDGET"), _T("Budget")},
			   {_T("PB_SYMB_TIPO_BUDGET"), _T("Tipo budget")},
			   {_T("PB_SYMB_F_AGGREG"), _T("Funzione")},
			   {_T("PB_SYMB_ESERCIZIO"), _T("Filtro sull'esercizio")},
			   {_T("PB_SYMB_WHERE_ES_CONST_DA"), _T("Esercizio costante")},
			   {_T("PB_SYMB_WHERE_ES_SYMB_DA"), _T("Esercizio del calcolo")},
			   {_T("PB_SYMB_ES_DA"), _T("Esercizio da")},
			   {_T("PB_SYMB_MESE"), _T("Filtro sul mese")},
			   {_T("PB_SYMB_OPE_MESE"), _T("Operatore mese")},
			   {_T("PB_SYMB_WHERE_MESE_CONST_DA"), _T("Mese da costante")},
			   {_T("PB_SYMB_WHERE_MESE_SYMB_DA"), _T("Mese da del calcolo")},
			   {_T("PB_SYMB_MESE_DA"), _T("Mese da")},
			   {_T("PB_SYMB_WHERE_MESE_CONST_A"), _T("Mese a costante")},
			   {_T("PB_SYMB_WHERE_MESE_SYMB_A"), _T("Mese a del calcolo")},
			   {_T("PB_SYMB_MESE_A"), _T("Mese a")},
			   {_T("PB_SYMB_SALDO"), _T("Filtro sul saldo")},
			   {_T("PB_SYMB_OPE_SALDO"), _T("Operatore saldo")},
			   {_T("PB_SYMB_SALDO_DA"), _T("Saldo da")},
			   {_T("PB_SYMB_SALDO_A"), _T("Saldo a")},
			   {_T("PB_SYMB_RATEO"), _T("Filtro sul rateo")},
			   {_T("PB_SYMB_OPE_RATEO"), _T("Operatore rateo")},
			   {_T("PB_SYMB_RATEO_DA"), _T("Rateo da")},
			   {_T("PB_SYMB_RATEO_A"), _T("Rateo a")},
			   {_T("PB_SYMB_TOT_ASS"), _T("Filtro sul totale assestato")},
			   {_T("PB_SYMB_OPE_TOT_ASS"), _T("Operatore totale assestato")},
			   {_T("PB_SYMB_TOT_ASS_DA"), _T("Totale assestato da")},
			   {_T("PB_SYMB_TOT_ASS_A"), _T("Totale assestato a")}});
}

Kvz_CPropSimboloPBaseDoc* Kvz_CSelContiSimbPBaseTabDlg::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloPBaseDoc>(GetDocument());
}

void Kvz_CSelContiSimbPBaseTabDlg::BuildDataControlLinks()
{
	Kvz_CPropSimboloPBaseDoc* pDoc = GetDoc();
	AddRadio(IDC_PB_SYMB_VIS_SOLO_SEL, _T("PB_SYMB_VIS_SOLO_SEL"), &pDoc->m_VisSoloSel, IDC_PB_SYMB_VIS_SOLO_SEL);
	AddRadio(IDC_PB_SYMB_VIS_TUTTI, _T("PB_SYMB_VIS_TUTTI"), &pDoc->m_VisTutti, IDC_PB_SYMB_VIS_SOLO_SEL);
	AddLink(IDC_PB_SYMB_OPE_CONTO, _T("PB_SYMB_OPE_CONTO"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_TipoOpeConto);
	AddLink(IDC_PB_SYMB_CONTO_DA, _T("PB_SYMB_CONTO_DA"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ValDaConto,
			pDoc->m_pHKLContoDa);
	AddLink(IDC_PB_SYMB_CONTO_A, _T("PB_SYMB_CONTO_A"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ValAConto,
			pDoc->m_pHKLContoA);
	AddRadio(IDC_PB_SYMB_ECONOM, _T("PB_SYMB_ECONOM"), &pDoc->m_Economici, IDC_PB_SYMB_ECONOM);
	AddRadio(IDC_PB_SYMB_PATRIM, _T("PB_SYMB_PATRIM"), &pDoc->m_Patrimoniali, IDC_PB_SYMB_ECONOM);
	AddRadio(IDC_PB_SYMB_TUTTI, _T("PB_SYMB_TUTTI"), &pDoc->m_TuttiConti, IDC_PB_SYMB_ECONOM);
	AddLink(IDC_PB_SYMB_MASTRO, _T("PB_SYMB_MASTRO"), RUNTIME_CLASS(CBoolButton), &pDoc->m_SelMastri);
	const UINT seg[] = {IDC_PB_SYMB_SEL_SEG1, IDC_PB_SYMB_SEL_SEG2, IDC_PB_SYMB_SEL_SEG3, IDC_PB_SYMB_SEL_SEG4,
						IDC_PB_SYMB_SEL_SEG5, IDC_PB_SYMB_SEL_SEG6, IDC_PB_SYMB_SEL_SEG7};
	for (int k = 1; k <= 7; ++k)
		AddLink(seg[k - 1], CString::Formatted("PB_SYMB_SEL_SEG%d", k), RUNTIME_CLASS(CBoolButton), &pDoc->SelSeg(k));
	AddButton(IDC_PB_SYMB_SEL_TUTTI_CONTI, _T("Sel.tutto conti"));
	AddButton(IDC_PB_SYMB_DESEL_TUTTI_CONTI, _T("Desel.tutto conti"));
	AddButton(IDC_PB_SYMB_ESTRAI, _T("Estrai conti"));
	// The cost centres/jobs of the current account are picked on this tab too.
	AddButton(IDC_PB_SYMB_SEL_TUTTI_CDC_COMM, _T("Sel.tutto centri/commesse"));
	AddButton(IDC_PB_SYMB_DESEL_TUTTI_CDC_COMM, _T("Desel.tutto centri/commesse"));
	AddButton(IDC_PB_SYMB_CARICA_DA_TABELLE, _T("Carica da tabelle"));
	AddButton(IDC_PB_SYMB_FILTRO, _T("Filtro"));
	pDoc->m_pGridConti = static_cast<Kvz_SelContiSimboloEdit*>(AddLink(
		IDC_PB_SYMB_GRID_CONTI, _T("Conti"), RUNTIME_CLASS(Kvz_SelContiSimboloEdit), pDoc->m_pDBTSelConti.get()));
	pDoc->m_pGridCdcComm = static_cast<Kvz_SelCdcCommSimboloEdit*>(
		AddLink(IDC_PB_SYMB_GRID_CDC_COMM, _T("Commesse/Centri di costo2"), RUNTIME_CLASS(Kvz_SelCdcCommSimboloEdit),
				pDoc->m_pDBTSelCdcComm.get()));
	SetLabels({{_T("PB_SYMB_VIS_SOLO_SEL"), _T("Solo selezionati")},
			   {_T("PB_SYMB_VIS_TUTTI"), _T("Tutti")},
			   {_T("PB_SYMB_OPE_CONTO"), _T("Operatore conto")},
			   {_T("PB_SYMB_CONTO_DA"), _T("Dal conto")},
			   {_T("PB_SYMB_CONTO_A"), _T("Al conto")},
			   {_T("PB_SYMB_ECONOM"), _T("Economici")},
			   {_T("PB_SYMB_PATRIM"), _T("Patrimoniali")},
			   {_T("PB_SYMB_TUTTI"), _T("Tutti i conti")},
			   {_T("PB_SYMB_MASTRO"), _T("Mastri")}});
	for (int k = 1; k <= 7; ++k)
		if (CParsedCtrl* p = FindControl(CString::Formatted("PB_SYMB_SEL_SEG%d", k)))
			p->SetLabel(CString::Formatted("Segm%d", k));
	// Both tabs share the grids: only the tab of the selection in force fills them.
	if (pDoc->m_WhereCdcComm != TRUE)
		pDoc->RiempiListBoxConti();
}

Kvz_CPropSimboloPBaseDoc* Kvz_CSelCdcCommSimbPBaseTabDlg::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloPBaseDoc>(GetDocument());
}

void Kvz_CSelCdcCommSimbPBaseTabDlg::BuildDataControlLinks()
{
	Kvz_CPropSimboloPBaseDoc* pDoc = GetDoc();
	CParsedCtrl* pVisSoloSel = AddRadio(IDC_PB_SYMB_VIS_SOLO_SEL, _T("PB_SYMB_VIS_SOLO_SEL"), &pDoc->m_VisSoloSel,
										IDC_PB_SYMB_VIS_SOLO_SEL);
	CParsedCtrl* pVisTutti =
		AddRadio(IDC_PB_SYMB_VIS_TUTTI, _T("PB_SYMB_VIS_TUTTI"), &pDoc->m_VisTutti, IDC_PB_SYMB_VIS_SOLO_SEL);
	AddLink(IDC_PB_SYMB_CDC_COMM_DA, _T("PB_SYMB_CDC_COMM_DA"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CdcCommDa,
			pDoc->m_pHKLCdcCommDa);
	AddLink(IDC_PB_SYMB_CDC_COMM_A, _T("PB_SYMB_CDC_COMM_A"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CdcCommA,
			pDoc->m_pHKLCdcCommA);
	AddRadio(IDC_PB_SYMB_CENTRI, _T("PB_SYMB_CENTRI"), &pDoc->m_Centri, IDC_PB_SYMB_CENTRI);
	AddRadio(IDC_PB_SYMB_COMMESSE, _T("PB_SYMB_COMMESSE"), &pDoc->m_Commesse, IDC_PB_SYMB_CENTRI);
	AddRadio(IDC_PB_SYMB_ENTRAMBI, _T("PB_SYMB_ENTRAMBI"), &pDoc->m_Entrambi, IDC_PB_SYMB_CENTRI);
	CParsedCtrl* pTutti = AddRadio(IDC_PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM, _T("PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM"),
								   &pDoc->m_TuttiContiDelCdcComm, IDC_PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM);
	CParsedCtrl* pSel = AddRadio(IDC_PB_SYMB_SEL_CONTI_CDC_COMM, _T("PB_SYMB_SEL_CONTI_CDC_COMM"),
								 &pDoc->m_SelContiCdcComm, IDC_PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM);
	CParsedCtrl* pSelConti = AddButton(IDC_PB_SYMB_SEL_TUTTI_CONTI, _T("Sel.tutto conti"));
	CParsedCtrl* pDeselConti = AddButton(IDC_PB_SYMB_DESEL_TUTTI_CONTI, _T("Desel.tutto conti"));
	AddButton(IDC_PB_SYMB_SEL_TUTTI_CDC_COMM, _T("Sel.tutto centri/commesse"));
	AddButton(IDC_PB_SYMB_DESEL_TUTTI_CDC_COMM, _T("Desel.tutto centri/commesse"));
	AddButton(IDC_PB_SYMB_ESTRAI, _T("Estrai Cdc/Commesse"));
	AddButton(IDC_PB_SYMB_CARICA_DA_TABELLE, _T("Carica da tabelle"));
	AddButton(IDC_PB_SYMB_FILTRO, _T("Filtro"));
	pDoc->m_pGridConti = static_cast<Kvz_SelContiSimboloEdit*>(AddLink(
		IDC_PB_SYMB_GRID_CONTI, _T("Conti"), RUNTIME_CLASS(Kvz_SelContiSimboloEdit), pDoc->m_pDBTSelConti.get()));
	pDoc->m_pGridCdcComm = static_cast<Kvz_SelCdcCommSimboloEdit*>(
		AddLink(IDC_PB_SYMB_GRID_CDC_COMM, _T("Commesse/Centri di costo1"), RUNTIME_CLASS(Kvz_SelCdcCommSimboloEdit),
				pDoc->m_pDBTSelCdcComm.get()));
	for (CParsedCtrl* p : {pSelConti, pDeselConti, pVisSoloSel, pVisTutti, pTutti, pSel})
		p->ShowWindow(FALSE);
	SetLabels({{_T("PB_SYMB_VIS_SOLO_SEL"), _T("Solo selezionati")},
			   {_T("PB_SYMB_VIS_TUTTI"), _T("Tutti")},
			   {_T("PB_SYMB_CDC_COMM_DA"), _T("Da")},
			   {_T("PB_SYMB_CDC_COMM_A"), _T("A")},
			   {_T("PB_SYMB_CENTRI"), _T("Centri")},
			   {_T("PB_SYMB_COMMESSE"), _T("Commesse")},
			   {_T("PB_SYMB_ENTRAMBI"), _T("Entrambi")},
			   {_T("PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM"), _T("Tutti i conti collegati")},
			   {_T("PB_SYMB_SEL_CONTI_CDC_COMM"), _T("Selezione conti")}});
	pDoc->m_VisSoloSel = FALSE;
	pDoc->m_VisTutti = TRUE;
	if (pDoc->m_WhereCdcComm == TRUE)
		pDoc->RiempiListBoxCdcComm();
}

// ---- grids --------------------------------------------------------------------------------------

void Kvz_SelContiSimboloEdit::Customize()
{
	auto* pDoc = DynamicDownCast<Kvz_CPropSimboloPBaseDoc>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TEnhAnagContiKvz*>(GetDBT()->GetRecord());
	if (pDoc && pDoc->m_WhereCdcComm != TRUE)
		AddColumn(IDC_PB_SYMB_CONTI_SEL, _T("S"), _T("S"), RUNTIME_CLASS(CBoolButton), pRec->l_Sel, 2);
	AddColumn(IDC_PB_SYMB_CONTI_CR, _T("Cr"), Testo(_T("C.r.")), RUNTIME_CLASS(CLongStatic), pRec->l_ContatoreDettaglio,
			  6);
	AddColumn(IDC_PB_SYMB_CONTI_CG, _T("Cg"), Testo(_T("C.g.")), RUNTIME_CLASS(CLongStatic), pRec->l_ContatoreGenerale,
			  6);
	AddColumn(IDC_PB_SYMB_CONTI_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 20);
	AddColumn(IDC_PB_SYMB_CONTI_CODICE, _T("Codice"), Testo(_T("Codice")), RUNTIME_CLASS(CStrStatic), pRec->f_ContoKvz,
			  12);
	AddColumn(IDC_PB_SYMB_CONTI_SEGNO, _T("Oper"), Testo(_T("Oper.")), RUNTIME_CLASS(CEnumCombo), pRec->l_SegnoConto, 6);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_SelCdcCommSimboloEdit::Customize()
{
	auto* pRec = static_cast<Kvz_ViewCdcCommesse*>(GetDBT()->GetRecord());
	AddColumn(IDC_PB_SYMB_CDC_SEL, _T("S"), _T("S"), RUNTIME_CLASS(CBoolButton), pRec->l_Sel, 2);
	AddColumn(IDC_PB_SYMB_CDC_CR, _T("Cr"), Testo(_T("C.r.")), RUNTIME_CLASS(CLongStatic), pRec->l_ContatoreDettaglio, 6);
	AddColumn(IDC_PB_SYMB_CDC_CG, _T("Cg"), Testo(_T("C.g.")), RUNTIME_CLASS(CLongStatic), pRec->l_ContatoreGenerale, 6);
	AddColumn(IDC_PB_SYMB_CDC_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 20);
	AddColumn(IDC_PB_SYMB_CDC_CODICE, _T("Codice"), Testo(_T("Codice")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CentroCommessa, 12);
	AddColumn(IDC_PB_SYMB_CDC_TIPO, _T("Tipo"), Testo(_T("Tipo")), RUNTIME_CLASS(CEnumStatic), pRec->f_Tipo, 6);
	AddColumn(IDC_PB_SYMB_CDC_SEGNO, _T("Oper"), Testo(_T("Oper.")), RUNTIME_CLASS(CEnumCombo), pRec->l_SegnoConto, 6);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}
