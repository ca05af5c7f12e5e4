#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliMultiAzDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"

// ---- what both browsers share -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CModelliMultiAzBase, CAbstractFormDoc)
	ON_BEN_ROW_DBLCLICKED(IDC_MULTIAZ_GRID, OnDoppioClick)
END_MESSAGE_MAP()

CModelliMultiAzBase::CModelliMultiAzBase()
{
	SetBatchDocument(TRUE);
	m_Esercizio = AfxGetApplicationDate().Year();
}

CModelliMultiAzBase::~CModelliMultiAzBase() = default;

BOOL CModelliMultiAzBase::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!pInfo)
		return FALSE;
	m_pCaller = DynamicDownCast<Kvz_CPropSimboloOutRiclassDoc>(pInfo->m_pCallerDocument);
	if (pInfo->m_pCallerDocument && pInfo->m_pCallerDocument->GetMasterFrame())
		pInfo->m_pCallerDocument->GetMasterFrame()->EnableWindow(FALSE);
	if (m_pCaller)
	{
		m_Azienda = m_pCaller->m_Azienda;
		m_Modello = m_pCaller->m_ValoreModello;
		if (m_pCaller->m_EsConst == TRUE && !m_pCaller->m_Es.IsEmpty())
			m_Esercizio = m_pCaller->m_Es;
	}
	return CAbstractFormDoc::OnOpenDocument(pInfo);
}

BOOL CModelliMultiAzBase::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(Titolo(), Sorgente()));
	m_pDBT = std::make_unique<DBTSlaveBuffered>(ClasseRighe(), this, NomeDBT(), TRUE, FALSE);
	return TRUE;
}

void CModelliMultiAzBase::PreparaGriglia(CBodyEdit& griglia)
{
	griglia.EnableAddRow(FALSE);
	griglia.EnableInsertRow(FALSE);
	griglia.EnableDeleteRow(FALSE);
	griglia.SetMultipleLinesPerRow(TRUE);
	static_cast<CModelliMultiAzBase*>(griglia.GetDBT()->GetDocument())->RiempiDBT();
}

void CModelliMultiAzBase::ApriCursore(SqlTable& t, DataObj& colEsercizio, DataObj& colOrdine)
{
	t.Open(FALSE, FALSE, TRUE);
	t.SelectAll();
	t.AddSortColumn(colOrdine);
	t.AddParam("p1", colEsercizio);
	t.AddFilterColumn(colEsercizio);
	t.SetParamValue("p1", m_Esercizio);
}

void CModelliMultiAzBase::RiempiDBT()
{
	m_pDBT->RemoveAll(TRUE);
	Kvz_TRAziende aziende(this);
	aziende.SetSqlSession(AfxGetDefaultSqlSession());
	SqlConnection* pConnessione = Kvz_New_External::ApriConnessione(
		aziende, m_Azienda, 60, [](const CString& testo) { AfxMessageBox(testo); });
	if (!pConnessione)
	{
		UpdateDataView();
		return;
	}
	try
	{
		Leggi(pConnessione);
	}
	catch (const SqlException& e)
	{
		// The rows read so far stay.
		e.ShowError(_T(""));
	}
	AfxGetOleDbMng()->CloseConnection(pConnessione);
	UpdateDataView();
}

void CModelliMultiAzBase::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	BeginWaitCursor();
	RiempiDBT();
	EndWaitCursor();
	GetContext()->Commit();
}

void CModelliMultiAzBase::OnDoppioClick()
{
	SqlRecord* pRiga = m_pDBT->GetCurrentRow();
	if (!pRiga)
		return;
	Scegli(pRiga);
	m_bScelto = TRUE;
	CloseDocument(TRUE);
}

void CModelliMultiAzBase::OnCloseDocument()
{
	CBaseDocument* pCaller = GetCallerDocument();
	// Closed without a choice, the symbol keeps what it had.
	if (m_pCaller && m_bScelto)
		Restituisci(*m_pCaller);
	if (pCaller)
	{
		if (pCaller->GetMasterFrame())
			pCaller->GetMasterFrame()->EnableWindow(TRUE);
		pCaller->UpdateDataView();
		pCaller->Activate(nullptr, FALSE);
	}
	CAbstractFormDoc::OnCloseDocument();
}

// ---- the models ---------------------------------------------------------------------------------

void CModelliMultiAzDoc::Leggi(SqlConnection* pConnessione)
{
	Kvz_TModRiclassTeste_Ext rec(pConnessione);
	SqlTable t(&rec, pConnessione->GetDefaultSqlSession(), this);
	ApriCursore(t, rec.f_Esercizio, rec.f_ModelloRiclassific);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto* pRiga = static_cast<Kvz_TRiclassificazioneTesta*>(m_pDBT->AddRecord());
		pRiga->f_Esercizio = rec.f_Esercizio;
		pRiga->f_ModelloRiclassific = rec.f_ModelloRiclassific;
		pRiga->f_Descrizione = rec.f_Descrizione;
		pRiga->f_Priorita = rec.f_Priorita;
		pRiga->f_DataCreazione = rec.f_DataCreazione;
		pRiga->f_DataUltModifica = rec.f_DataUltModifica;
		pRiga->f_TipoModello = DataEnum(static_cast<DWORD>(rec.f_TipoModello.GetValue()));
		pRiga->f_DataInizio = rec.f_DataInizio;
		pRiga->f_DataFine = rec.f_DataFine;
		pRiga->f_FormulaCalcParametrico = rec.f_FormulaCalcParametrico;
	}
	t.Close();
}

void CModelliMultiAzDoc::Scegli(SqlRecord* pRiga)
{
	m_Modello = static_cast<Kvz_TRiclassificazioneTesta*>(pRiga)->f_ModelloRiclassific;
}

void CModelliMultiAzDoc::Restituisci(Kvz_CPropSimboloOutRiclassDoc& simbolo)
{
	simbolo.m_ValoreModello = m_Modello;
	simbolo.OnModelloScelto();
}

void CModelliMultiAzView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<CModelliMultiAzBase*>(GetDocument());
	AddLink(IDC_MULTIAZ_GRID, _T("Modelli di riclassificazione"), RUNTIME_CLASS(ModelliMultiAzEdit), pDoc->GetDBT());
}

void ModelliMultiAzEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneTesta*>(GetDBT()->GetRecord());
	AddColumn(IDC_MULTIAZ_MODELLO, _T("Modello"), _T("Modello"), RUNTIME_CLASS(CStrStatic), pRec->f_ModelloRiclassific, 12);
	AddColumn(IDC_MULTIAZ_MOD_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	CModelliMultiAzBase::PreparaGriglia(*this);
}
