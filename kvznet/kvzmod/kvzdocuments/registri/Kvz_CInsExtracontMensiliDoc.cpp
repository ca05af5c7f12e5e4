#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CInsExtracontMensiliDoc.h"

#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_ViewContatoriDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "Kvz_CInsExtracontMensiliDoc";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}
}  // namespace

DataStr* Kvz_FormulaMese(Kvz_TCodExtracontabili& rec, int nPosiz)
{
	return rec.GetFormula(nPosiz);
}

// ---- buffer ------------------------------------------------------------------------------------

Kvz_DBTExtracontMensile::Kvz_DBTExtracontMensile(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhCodExtracontabili::GetThisClass(), pDocument, _T("DBTExtracontMensile"), TRUE, FALSE)
{
}

Kvz_TEnhCodExtracontabili* Kvz_DBTExtracontMensile::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf((Kvz_TEnhCodExtracontabili::GetThisClass())),
						 "Kvz_DBTExtracontMensile::GetCurrentRecord", kSource);
	return static_cast<Kvz_TEnhCodExtracontabili*>(GetCurrentRow());
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CInsExtracontMensiliDoc, Kvz_CUtilizzaFormuleDoc)
	ON_BN_CLICKED(IDC_INS_EXTRA_PREC, OnPrecedente)
	ON_BN_CLICKED(IDC_INS_EXTRA_SUCC, OnSuccessivo)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_ANNO, OnAnnoChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_MESE, OnMeseChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_CODICE_DA, OnCodiceDaChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_USA_FORMULA_PRINC, OnFormulaPrincChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_USA_FORMULA_COLONNA, OnFormulaPrincChanged)
	ON_BN_CLICKED(IDC_INS_EXTRA_VISUALIZZA, OnVisualizza)
	ON_BN_CLICKED(IDC_INS_EXTRA_SALVA, OnSalva)
	ON_BN_CLICKED(IDC_INS_EXTRA_CONTATORI, OnContatori)
	ON_BEN_ROW_CHANGED(IDC_INS_EXTRA_GRID, OnRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_EXTRA_COL_FORMULA, OnFormulaChanged)
END_MESSAGE_MAP()

Kvz_CInsExtracontMensiliDoc::Kvz_CInsExtracontMensiliDoc()
	: m_Anno(AfxGetApplicationDate().Year()),
	  m_Mese(AfxGetApplicationDate().Month()),
	  m_NrColonna(0),
	  m_bUsaFormulaPrinc(TRUE),
	  m_bUsaFormulaColonna(FALSE),
	  m_TRCodExtracontabili(this)
{
	m_CodiceDa.SetUpperCase();
	m_CodiceA.SetUpperCase();
	m_NrColonna.SetReadOnly(TRUE);
}

BOOL Kvz_CInsExtracontMensiliDoc::OnAttachData()
{
	Kvz_CUtilizzaFormuleDoc::OnAttachData();
	SetFormTitle(Testo(_T("Inserimento mensile formule codici extracontabili")));
	for (KVZ_HKLCodiciExtracont** ppHKL : {&m_pHKLDa, &m_pHKLA})
	{
		*ppHKL = new KVZ_HKLCodiciExtracont;
		Attach(*ppHKL, CString());
		(*ppHKL)->MustExistData(FALSE);
		(*ppHKL)->EnableAddOnFly(FALSE);
		(*ppHKL)->SetSelEsercizio(m_Anno);
	}
	m_pDBT = std::make_unique<Kvz_DBTExtracontMensile>(this);
	m_TRCodExtracontabili.SetSqlSession(GetReadOnlySqlSession());
	return TRUE;
}

int Kvz_CInsExtracontMensiliDoc::PosizioneScelta()
{
	if (m_bUsaFormulaPrinc)
		return 0;
	const int n = m_NrColonna;
	// Another number would read one formula and count under another.
	if (n < 1 || n >= KVZ_NUM_POSIZ_FORMULA)
	{
		AfxMessageBox(Testo(_T("Indicare il numero di colonna da utilizzare.")));
		SetCtrlFocus(m_NrColonna);
		return -1;
	}
	return n;
}

BOOL Kvz_CInsExtracontMensiliDoc::MeseValido(BOOL bAvvisa)
{
	const int n = m_Mese;
	if (n >= 1 && n <= 12)
		return TRUE;
	if (bAvvisa)
	{
		AfxMessageBox(Testo(_T("Il mese indicato non e' valido.")));
		SetCtrlFocus(m_Mese);
	}
	return FALSE;
}

void Kvz_CInsExtracontMensiliDoc::ContestoRiga(const Kvz_TEnhCodExtracontabili& riga)
{
	SetContext(DataStr(Testo(_T("Codice extracontabile"))), riga.f_Esercizio, riga.f_CodExtracont,
			   DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_EXTRACONT),
			   DataStr(CString::Formatted("mese%d", static_cast<int>(riga.f_Mese))), DataStr(),
			   DataEnum(E_KVZ_TIPORIGA, 0));
}

void Kvz_CInsExtracontMensiliDoc::RiempiDBTExtracont()
{
	if (!MeseValido(TRUE))
		return;
	const int nPosiz = PosizioneScelta();
	if (nPosiz < 0)
		return;
	m_bContatoriModificati = FALSE;
	m_CodiciModificati.clear();
	BeginWaitCursor();
	m_pDBT->RemoveAll(TRUE);
	m_nPosizCaricata = nPosiz;
	Kvz_TCodExtracontabiliTesta aRec;
	SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
	try
	{
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.SetParamValue(_T("p1"), m_Anno);
		if (!m_CodiceDa.IsEmpty() || !m_CodiceA.IsEmpty())
		{
			aTable.AddParam(_T("p2"), aRec.f_CodExtracont);
			aTable.AddParam(_T("p3"), aRec.f_CodExtracont);
			aTable.AddBetweenColumn(aRec.f_CodExtracont);
			aTable.SetParamValue(_T("p2"), m_CodiceDa);
			aTable.SetParamValue(_T("p3"), m_CodiceA);
		}
		aTable.AddSortColumn(aRec.f_CodExtracont);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TEnhCodExtracontabili*>(m_pDBT->AddRecord());
			pRiga->f_Esercizio = m_Anno;
			pRiga->f_CodExtracont = aRec.f_CodExtracont;
			pRiga->f_Mese = m_Mese;
			pRiga->l_Descrizione = aRec.f_Descrizione;
			if (m_TRCodExtracontabili.FindRecord(m_Anno, aRec.f_CodExtracont, m_Mese) == TableReader::FOUND)
				pRiga->f_Formula = *Kvz_FormulaMese(*m_TRCodExtracontabili.GetRecord(), nPosiz);
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	if (aTable.IsOpen())
		aTable.Close();
	if (m_pDBT->GetSize() > 0)
	{
		if (m_pGrid)
			m_pGrid->SetCurrRecord(0);
		m_pDBT->SetCurrentRow(0);
		ContestoRiga(*m_pDBT->GetRiga(0));
	}
	EndWaitCursor();
	UpdateDataView();
}

BOOL Kvz_CInsExtracontMensiliDoc::RicontaCodice(const DataStr& aCodice)
{
	SvuotaMapContatori();
	SvuotaContatoriGenerali();
	Kvz_TCodExtracontabili aRec;
	SqlTable aTable(&aRec, GetUpdatableSqlSession(), this);
	aTable.Open(FALSE, FALSE, TRUE);
	aTable.SelectAll();
	aTable.AddParam(_T("p1"), aRec.f_Esercizio);
	aTable.AddFilterColumn(aRec.f_Esercizio);
	aTable.AddParam(_T("p2"), aRec.f_CodExtracont);
	aTable.AddFilterColumn(aRec.f_CodExtracont);
	aTable.SetParamValue(_T("p1"), m_Anno);
	aTable.SetParamValue(_T("p2"), aCodice);
	aTable.AddSortColumn(aRec.f_Mese);
	Kvz_TEnhCodExtracontabili riga;
	riga.f_Esercizio = m_Anno;
	riga.f_CodExtracont = aCodice;
	// The context's model is the code: its counters replace only its own previous ones.
	ContestoRiga(riga);
	for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
	{
		riga.f_Mese = aRec.f_Mese;
		ContestoRiga(riga);
		for (int nPosiz = 0; nPosiz < KVZ_NUM_POSIZ_FORMULA; ++nPosiz)
			CaricaCodiciFormula(Kvz_FormulaMese(aRec, nPosiz)->GetString(), nPosiz);
	}
	aTable.Close();
	CaricaContatoriGenerali();
	return SalvaContatori();
}

BOOL Kvz_CInsExtracontMensiliDoc::SalvaFormule()
{
	if (!m_bContatoriModificati)
		return TRUE;
	if (m_nPosizCaricata < 0 || !MeseValido(TRUE))
		return FALSE;
	CPLVContext* pContext = GetContext();
	if (!pContext || !pContext->StartTransaction())
	{
		AfxMessageBox(Testo(_T("Non è possibile aprire una nuova transazione.")));
		return FALSE;
	}
	BeginWaitCursor();
	Kvz_TEnhCodExtracontabili aRec;
	SqlTable aTable(&aRec, GetUpdatableSqlSession(), this);
	BOOL bOk = TRUE;
	try
	{
		aTable.Open(TRUE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.AddParam(_T("p2"), aRec.f_Mese);
		aTable.AddFilterColumn(aRec.f_Mese);
		aTable.AddParam(_T("p3"), aRec.f_CodExtracont);
		aTable.AddFilterColumn(aRec.f_CodExtracont);
		for (int i = 0; i < m_pDBT->GetSize(); ++i)
		{
			// The rows keep the year and month they were loaded for, whatever the fields say now.
			const Kvz_TEnhCodExtracontabili* pRiga = m_pDBT->GetRiga(i);
			aTable.SetParamValue(_T("p1"), pRiga->f_Esercizio);
			aTable.SetParamValue(_T("p2"), pRiga->f_Mese);
			aTable.SetParamValue(_T("p3"), pRiga->f_CodExtracont);
			aTable.Query();
			if (aTable.IsEmpty())
			{
				aTable.AddNew();
				aRec.f_Esercizio = pRiga->f_Esercizio;
				aRec.f_CodExtracont = pRiga->f_CodExtracont;
				aRec.f_Mese = pRiga->f_Mese;
			}
			else
				aTable.Edit();
			// The position the grid was loaded from: the radio buttons may have moved since.
			*Kvz_FormulaMese(aRec, m_nPosizCaricata) = pRiga->f_Formula;
			aTable.Update();
		}
		aTable.Close();
		for (const CString& codice : m_CodiciModificati)
			if (!RicontaCodice(DataStr(codice)))
				throw SqlException(Testo(_T("Contatori di utilizzo non salvati.")));
		if (!pContext->Commit())
			throw SqlException(Testo(_T("La transazione non è stata confermata.")));
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		pContext->Rollback();
		e.ShowError();
		AfxMessageBox(Testo(_T("Formule non salvate: nessuna modifica registrata.")));
		bOk = FALSE;
	}
	EndWaitCursor();
	if (bOk)
	{
		m_bContatoriModificati = FALSE;
		m_CodiciModificati.clear();
	}
	// The counters were rebuilt code by code: the grid's context is its current row's again.
	if (Kvz_TEnhCodExtracontabili* pRiga = m_pDBT->GetCurrentRecord())
		ContestoRiga(*pRiga);
	return bOk;
}

BOOL Kvz_CInsExtracontMensiliDoc::ChiediSalvataggio()
{
	if (!m_bContatoriModificati)
		return TRUE;
	switch (AfxMessageBox(Testo(_T("Modifiche non ancora salvate. Le salvo?")), MB_YESNOCANCEL | MB_ICONQUESTION))
	{
	case IDYES:
		return SalvaFormule();
	case IDNO:
		return TRUE;
	default:
		return FALSE;
	}
}

void Kvz_CInsExtracontMensiliDoc::OnFormulaChanged()
{
	Kvz_TEnhCodExtracontabili* pRiga = m_pDBT ? m_pDBT->GetCurrentRecord() : nullptr;
	if (!pRiga || m_nPosizCaricata < 0)
		return;
	ContestoRiga(*pRiga);
	SetPStrFormula(&pRiga->f_Formula);
	// Counted at the position the grid shows, which is where it will be saved.
	SetPosizFormula(m_nPosizCaricata);
	const BOOL bPrima = m_bContatoriModificati;
	m_bContatoriModificati = FALSE;
	Kvz_CUtilizzaFormuleDoc::OnFormulaChanged();
	if (m_bContatoriModificati)
		m_CodiciModificati.insert(pRiga->f_CodExtracont.GetString());
	m_bContatoriModificati = bPrima || m_bContatoriModificati;
}

BOOL Kvz_CInsExtracontMensiliDoc::SaveModified()
{
	if (!ChiediSalvataggio())
		return FALSE;
	return Kvz_CUtilizzaFormuleDoc::SaveModified();
}

void Kvz_CInsExtracontMensiliDoc::DisableControlsForBatch()
{
	m_NrColonna.SetReadOnly(m_bUsaFormulaPrinc);
}

void Kvz_CInsExtracontMensiliDoc::CambiaAnno(int nDelta)
{
	if (!ChiediSalvataggio())
		return;
	m_Anno = static_cast<int>(m_Anno) + nDelta;
	RiempiDBTExtracont();
	m_pHKLDa->SetSelEsercizio(m_Anno);
	m_pHKLA->SetSelEsercizio(m_Anno);
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnPrecedente()
{
	CambiaAnno(-1);
}

void Kvz_CInsExtracontMensiliDoc::OnSuccessivo()
{
	CambiaAnno(+1);
}

void Kvz_CInsExtracontMensiliDoc::OnAnnoChanged()
{
	if (ChiediSalvataggio())
	{
		RiempiDBTExtracont();
		m_pHKLDa->SetSelEsercizio(m_Anno);
		m_pHKLA->SetSelEsercizio(m_Anno);
	}
	else if (const DataObj* pOld = AfxGetOldCtrlData())
		m_Anno.Assign(*pOld);
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnMeseChanged()
{
	if (!MeseValido(TRUE))
		return;
	if (ChiediSalvataggio())
		RiempiDBTExtracont();
	else if (const DataObj* pOld = AfxGetOldCtrlData())
		m_Mese.Assign(*pOld);
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnCodiceDaChanged()
{
	m_CodiceA = DataStr(m_CodiceDa.GetString() + Testo(_T("ZZZ")));
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnFormulaPrincChanged()
{
	m_NrColonna.SetReadOnly(m_bUsaFormulaPrinc);
	if (m_bUsaFormulaPrinc)
		m_NrColonna = 0;
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnVisualizza()
{
	if (!MeseValido(TRUE) || PosizioneScelta() < 0)
		return;
	if (ChiediSalvataggio())
	{
		RiempiDBTExtracont();
		UpdateDataView();
	}
}

void Kvz_CInsExtracontMensiliDoc::OnSalva()
{
	if (!SalvaFormule())
		SetActionRefused();
	UpdateDataView();
}

void Kvz_CInsExtracontMensiliDoc::OnContatori()
{
	if (!SalvaFormule())
		return;
	Kvz_ApriContatori(this);
}

void Kvz_CInsExtracontMensiliDoc::OnRigaChanged()
{
	if (Kvz_TEnhCodExtracontabili* pRiga = m_pDBT->GetCurrentRecord())
	{
		ContestoRiga(*pRiga);
		UpdateDataView();
	}
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_ExtracontMensileEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhCodExtracontabili*>(GetDBT()->GetRecord());
	AddColumn(IDC_INS_EXTRA_COL_CODICE, _T("CodiceExtracontabile"), Testo(_T("Codice extracontabile")),
			  RUNTIME_CLASS(CStrStatic), pRec->f_CodExtracont, 11);
	AddColumn(IDC_INS_EXTRA_COL_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->l_Descrizione, 30);
	// Always index 0: the row's Formula holds whichever formula of the month the grid shows.
	AddColumn(IDC_INS_EXTRA_COL_FORMULA, _T("Formula"), Testo(_T("Formula")), RUNTIME_CLASS(Kvz_CFormulaEdit),
			  pRec->f_Formula, 32, 2);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_CInsExtracontMensiliView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CInsExtracontMensiliDoc*>(GetDocument());
	AddLink(IDC_INS_EXTRA_MESE, _T("Mese"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Mese);
	AddButton(IDC_INS_EXTRA_PREC, _T("<-"));
	AddLink(IDC_INS_EXTRA_ANNO, _T("Anno"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddButton(IDC_INS_EXTRA_SUCC, _T("->"));
	AddButton(IDC_INS_EXTRA_CONTATORI, _T("Contatori"));
	AddLink(IDC_INS_EXTRA_CODICE_DA, _T("Dal codice"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CodiceDa, pDoc->GetHKLDa());
	AddLink(IDC_INS_EXTRA_CODICE_A, _T("Al codice"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CodiceA, pDoc->GetHKLA());
	AddRadio(IDC_INS_EXTRA_USA_FORMULA_PRINC, _T("Formula principale"), &pDoc->m_bUsaFormulaPrinc, 1);
	AddRadio(IDC_INS_EXTRA_USA_FORMULA_COLONNA, _T("Formula numero:"), &pDoc->m_bUsaFormulaColonna, 1);
	AddLink(IDC_INS_EXTRA_NR_COLONNA, _T("Numero formula"), RUNTIME_CLASS(CIntEdit), &pDoc->m_NrColonna);
	AddButton(IDC_INS_EXTRA_VISUALIZZA, _T("Visualizza"));
	AddButton(IDC_INS_EXTRA_SALVA, _T("&Salva"));
	pDoc->SetGrid(static_cast<Kvz_ExtracontMensileEdit*>(AddLink(IDC_INS_EXTRA_GRID, _T("Codici extracontabili"),
																	 RUNTIME_CLASS(Kvz_ExtracontMensileEdit),
																	 pDoc->GetDBT())));
	pDoc->RiempiDBTExtracont();
}

