#include "kvznet/kvzdrivers/kvzappl/CModelliMultiAzDriversDoc.h"

#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "CModelliMultiAzDriversDoc";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}
}  // namespace

DBTModelliMultiAzDrivers::DBTModelliMultiAzDrivers(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TRiclassificazioneTesta::GetThisClass(), pDocument, _T("DBTModelliMultiAzDrivers"), TRUE,
					   FALSE)
{
}

BEGIN_MESSAGE_MAP(CModelliMultiAzDriversDoc, CAbstractFormDoc)
	ON_BEN_ROW_DBLCLICKED(IDC_MODELLI_MULTIAZ_GRID, OnModelloScelto)
END_MESSAGE_MAP()

// Opened alone it has nobody to pick for.
BOOL CModelliMultiAzDriversDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!pInfo || !pInfo->m_pCallerDocument)
		return FALSE;
	m_pChiamante = pInfo->m_pCallerDocument;
	if (CBaseFrame* pFrame = m_pChiamante->GetMasterFrame())
		pFrame->EnableWindow(FALSE);
	if (auto* pDrivers = DynamicDownCast<DKvzDrivers>(m_pChiamante))
	{
		m_Azienda = pDrivers->m_DittaPicker;
		m_Modello = pDrivers->m_ModelloPicker;
		m_Esercizio = pDrivers->m_EsercizioPicker;
	}
	if (CAbstractFormDoc::OnOpenDocument(pInfo))
		return TRUE;
	// Not opened: the caller is usable again.
	RiabilitaChiamante();
	m_Connessione.Chiudi();
	return FALSE;
}

BOOL CModelliMultiAzDriversDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Modelli riclassificazione")));
	m_pDBT = std::make_unique<DBTModelliMultiAzDrivers>(this);
	return ConnectDB();
}

BOOL CModelliMultiAzDriversDoc::ConnectDB()
{
	return m_Connessione.Connetti(m_Azienda);
}

void CModelliMultiAzDriversDoc::RiempiDBT()
{
	SqlConnection* pConn = m_Connessione.GetInUso();
	if (!pConn || !m_pDBT)
		return;
	m_pDBT->RemoveAll(TRUE);
	CPLVContext context(pConn, this);
	Kvz_TModRiclassTeste_Ext aTesta(pConn);
	SqlTable aTable(&aTesta, context.GetReadOnlySqlSession());
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aTesta.f_Esercizio);
		aTable.AddFilterColumn(aTesta.f_Esercizio, _T(""));
		aTable.AddSortColumn(aTesta.f_ModelloRiclassific);
		aTable.SetParamValue(_T("p1"), m_Esercizio);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TRiclassificazioneTesta*>(m_pDBT->AddRecord());
			pRiga->f_Esercizio = aTesta.f_Esercizio;
			pRiga->f_ModelloRiclassific = aTesta.f_ModelloRiclassific;
			pRiga->f_Descrizione = aTesta.f_Descrizione;
			pRiga->f_Priorita = aTesta.f_Priorita;
			pRiga->f_DataCreazione = aTesta.f_DataCreazione;
			pRiga->f_DataUltModifica = aTesta.f_DataUltModifica;
			pRiga->f_DataInizio = aTesta.f_DataInizio;
			pRiga->f_DataFine = aTesta.f_DataFine;
			pRiga->f_TipoModello = DataEnum(static_cast<DWORD>(aTesta.f_TipoModello.GetValue()));
			pRiga->f_FormulaCalcParametrico = aTesta.f_FormulaCalcParametrico;
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		// The rows read so far stay.
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
	}
	UpdateDataView();
}

void CModelliMultiAzDriversDoc::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	RiempiDBT();
	if (CPLVContext* pContext = GetContext())
		pContext->Commit();
}

void CModelliMultiAzDriversDoc::OnModelloScelto()
{
	const int nRow = m_pDBT->GetCurrentRowIdx();
	const Kvz_TRiclassificazioneTesta* pRiga = m_pDBT->GetRiga(nRow);
	if (!pRiga)
		return;
	m_Modello = pRiga->f_ModelloRiclassific;
	m_Descrizione = pRiga->f_Descrizione;
	m_bScelto = TRUE;
	CloseDocument(TRUE);
}

// Only a pick is written back, and only into a record being entered or edited: closing without
// one leaves the caller's row as it was.
void CModelliMultiAzDriversDoc::OnCloseDocument()
{
	if (auto* pDrivers = DynamicDownCast<DKvzDrivers>(m_pChiamante))
	{
		const CBaseDocument::FormMode mode = pDrivers->GetFormMode();
		TKvzDriversModelli* pRiga = pDrivers->GetDBTKvzDriversModelliRecord();
		if (m_bScelto && pRiga && (mode == CBaseDocument::NEW || mode == CBaseDocument::EDIT))
		{
			pDrivers->m_ModelloPicker = m_Modello;
			pDrivers->m_DescrizionePicker = m_Descrizione;
			pRiga->f_ModelloRiclassific = m_Modello;
			pRiga->f_Descrizione = m_Descrizione;
			pDrivers->SetModifiedFlag();
		}
	}
	RiabilitaChiamante();
	if (m_pChiamante)
	{
		m_pChiamante->UpdateDataView();
		m_pChiamante->Activate();
	}
	m_Connessione.Chiudi();
	CAbstractFormDoc::OnCloseDocument();
}

void CModelliMultiAzDriversDoc::RiabilitaChiamante()
{
	if (m_pChiamante)
		if (CBaseFrame* pFrame = m_pChiamante->GetMasterFrame())
			pFrame->EnableWindow(TRUE);
}

// ---- form --------------------------------------------------------------------------------------

void ModelliMultiAzDriversEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneTesta*>(GetDBT()->GetRecord());
	AddColumn(IDC_MODELLI_MULTIAZ_MODELLO, _T("Modello"), Testo(_T("Modello")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_MODELLI_MULTIAZ_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 40);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
	static_cast<CModelliMultiAzDriversDoc*>(GetDBT()->GetDocument())->RiempiDBT();
}

void CModelliMultiAzDriversView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<CModelliMultiAzDriversDoc*>(GetDocument());
	AddLink(IDC_MODELLI_MULTIAZ_GRID, Testo(_T("Modelli di riclassificazione")), RUNTIME_CLASS(ModelliMultiAzDriversEdit),
			pDoc->GetDBT());
}
