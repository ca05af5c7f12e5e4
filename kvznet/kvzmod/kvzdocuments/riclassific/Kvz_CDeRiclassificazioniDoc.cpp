#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversModelli.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CopiaSimboli.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlMultiInsert.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {
const char* const kSource = "Kvz_CDeRiclassificazioniDoc";
const char* const kReport = "KvzNet.KvzMod.ContiDelRiclassificato";
const char* const kViewContatori = "KvzNet.KvzMod.KvzDocuments.BDViewContatori";

const WORD kTipoCodiceRiclassificato = 3;  // tag E_KVZ_TIPOSIMBOLO

DataEnum TipoRiclassificato()
{
	return DataEnum(E_KVZ_TIPOSIMBOLO, kTipoCodiceRiclassificato);
}

DataStr NomeSimbolo(const DataStr& aCodice)
{
	return DataStr(_T("R") + aCodice.GetString());
}

// Rows of these kinds have no formula of their own to warn about.
bool FormulaFacoltativa(WORD nTipoRiga)
{
	return nTipoRiga >= 4 && nTipoRiga <= 8;
}

CString MessaggioTipoDrivers()
{
	return AfxLoadSourceString(
		_T("Il tipo modello Drivers non è utilizzabile in questo contesto. Utilizzare il modulo drivers"), kSource);
}

// A row another user holds stops the work that needed it, as a failed write would.
[[noreturn]] void RigaBloccata(LPCTSTR szTabella, const DataStr& aChiave)
{
	throw SqlException(CString::Formatted(AfxLoadSourceString(_T("%s: riga %s bloccata da un altro utente."), kSource),
										  szTabella, aChiave.GetString().GetString()));
}

// Shows a database failure of one step; the caller goes on or stops as it must.
void MostraErrore(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), method, kSource);
	e.ShowError();
}

// The commit; its failure (a throw on some databases) shown as any other database failure.
BOOL Conferma(CPLVContext* pContext, const char* method)
{
	try
	{
		return pContext->Commit();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, method);
		return FALSE;
	}
}
}  // namespace

// The updaters that keep a code's list entry, symbol and definition: one set works in
// autocommit while the user types, another inside the save's transaction.
struct Kvz_RegistroCodici
{
	explicit Kvz_RegistroCodici(CBaseDocument* pDoc, BOOL bAutocommit)
		: codici(pDoc), simboli(pDoc), definizioni(pDoc)
	{
		codici.SetAutocommit(bAutocommit);
		simboli.SetAutocommit(bAutocommit);
		definizioni.SetAutocommit(bAutocommit);
	}
	Kvz_TUCodiciRiclassificato codici;
	Kvz_TUAnagSimboli simboli;
	Kvz_TUSimboliCodiciRiclass definizioni;
};

// ---- message map -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CDeRiclassificazioniDoc, Kvz_CUtilizzaFormuleDoc)
	ON_EN_VALUE_CHANGED(IDC_RCL_MODELLO, OnModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_TIPOMODELLO, OnTipoModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_COPIA_ESERC, OnEsercizioCopiaChanged)
	ON_BN_CLICKED(IDC_RCL_COPIA, OnCopiaModello)
	ON_BEN_ROW_CHANGED(IDC_RCL_RIGHE, OnRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_CODICE, OnCodiceRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_DESCRIZIONE, OnDescrizioneRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA, OnFormulaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 0, OnFormula1Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 1, OnFormula2Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 2, OnFormula3Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 3, OnFormula4Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 4, OnFormula5Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 5, OnFormula6Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 6, OnFormula7Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 7, OnFormula8Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 8, OnFormula9Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_FORMULA1 + 9, OnFormula10Changed)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_SEGNO, OnSegnoChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RIGHE_TIPORIGA, OnTipoRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_RAGGR_CODICE, OnRaggruppamentoChanged)
	ON_BN_CLICKED(IDC_RCL_RIGHE_REPORT, OnReportRiclassificazione)
	ON_COMMAND(IDC_RCL_RIGHE_REPORT, OnReportRiclassificazione)
	ON_BN_CLICKED(IDC_RCL_RIGHE_ESPLOSIONE, OnEsplodiFormula)
	ON_COMMAND(IDC_RCL_RIGHE_ESPLOSIONE, OnEsplodiFormula)
	ON_COMMAND(ID_RCL_VISUALIZZA_CONTATORI, OnVisualizzaContatori)
END_MESSAGE_MAP()

Kvz_CDeRiclassificazioniDoc::Kvz_CDeRiclassificazioniDoc()
{
	RCL_COPIA_DA.SetUpperCase();
	m_ModelloDaAzzerare.SetUpperCase();
	m_ModelloCopiato.SetUpperCase();
}

Kvz_CDeRiclassificazioniDoc::~Kvz_CDeRiclassificazioniDoc()
{
	m_pViewContatori = nullptr;
	// Destroyed without a close: an unsaved edit leaves nothing behind. A destructor must not throw.
	try
	{
		LasciaSenzaSalvare();
	}
	catch (...)
	{
	}
}

// ---- data --------------------------------------------------------------------------------------

BOOL Kvz_CDeRiclassificazioniDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Modelli di riclassificazione"), kSource));
	m_pHKLCodRaggrupp = new Kvz_HKLCodRaggrupp;
	m_pDBTTesta = new Kvz_DBTRiclassificTesta(this);
	m_pDBTRighe = new Kvz_DBTRiclassificRighe(this);
	m_pDBTRaggrupp = new Kvz_DBTRaggrupp(this, m_pHKLCodRaggrupp);
	m_pDBTOperatoriStampe = new Kvz_DBTOperatoriStampe(this);
	m_pDBTDescrizioni = new Kvz_DBTDescrizioni(this);
	m_pDBTTesta->Attach(m_pDBTRighe);
	m_pDBTTesta->Attach(m_pDBTRaggrupp);
	m_pDBTTesta->Attach(m_pDBTOperatoriStampe);
	m_pDBTTesta->Attach(m_pDBTDescrizioni);

	m_pHKLCopiaDa = new KVZ_HKLRiclassificazioneTesta;
	m_pHKLJobs = new HKLJobs;
	m_pHKLJobs->EnableAddOnFly(FALSE);
	m_pHKLCostCenters = new HKLCostCenters;
	m_pHKLCostCenters->EnableAddOnFly(FALSE);
	Attach(m_pHKLCopiaDa);
	Attach(m_pHKLCodRaggrupp);
	Attach(m_pHKLJobs);
	Attach(m_pHKLCostCenters);
	return Attach(m_pDBTTesta);
}

BOOL Kvz_CDeRiclassificazioniDoc::OnPrepareAuxData()
{
	Kvz_CUtilizzaFormuleDoc::OnPrepareAuxData();
	// Leaving a new model that a copy filled: the record shown again is prepared first.
	ChiudiCopia();
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	m_MeseEsplosione = AfxGetApplicationDate().Month();
	m_nRigaEsplosione = 0;
	RCL_COPIA_DA.Clear();
	m_ModelloDaAzzerare.Clear();
	m_EsercizioDaAzzerare.Clear();
	RCL_ANCHE_FORMULE = FALSE;
	const FormMode mode = GetFormMode();
	RCL_COPIA = mode == NEW;
	if (mode == NEW)
	{
		pTesta->f_TuttiOperatori = TRUE;
		pTesta->f_Esercizio = AfxGetApplicationDate().Year();
		pTesta->f_DataCreazione = AfxGetApplicationDate();
		RCL_ANCHE_FORMULE = TRUE;
		RCL_COPIA_ESERC = pTesta->f_Esercizio;
		m_pHKLCopiaDa->SetSelEsercizio(pTesta->f_Esercizio);
		SetContestoModello();
	}
	if (mode == EDIT)
		pTesta->f_DataUltModifica = AfxGetApplicationDate();
	if (mode == NEW || mode == EDIT)
	{
		// The copy fields name another model: fixed once this one exists.
		RCL_ANCHE_FORMULE.SetReadOnly(mode == EDIT);
		RCL_COPIA_DA.SetReadOnly(mode == EDIT);
		RCL_COPIA_ESERC.SetReadOnly(mode == EDIT);
		SvuotaContatoriGenerali();
		InizializzaContatoriDaTabella();
		// The table's details serve the other users' counts; the model's own are its rows', as
		// the save counts them, so that the grids show the stored counts. Their warnings are the
		// save's to give.
		if (mode == EDIT && m_pDBTRighe->GetSize() > 0)
		{
			const std::vector<CMessages::Message> prima = GetMessages()->GetMessages();
			CaricaCodiciFormulaRighe();
			GetMessages()->Clear();
			for (const CMessages::Message& m : prima)
				GetMessages()->Add(m.text, m.type);
		}
		if (m_pDBTDescrizioni->CreaDescrizioni())
			UpdateDataView();
		ApplicaTipoModello();
		AggiornaLookupModello();
	}
	m_nTipoModello = pTesta->f_TipoModello.GetItemValue();
	if (m_pDBTRighe->GetSize() > 0)
		SetContestoRiga(m_pDBTRighe->GetRiga(0));
	return TRUE;
}

void Kvz_CDeRiclassificazioniDoc::SetContestoModello()
{
	SetContext(DataStr(AfxLoadSourceString(_T("Modello di riclassificazione"), kSource)), GetTesta()->f_Esercizio,
			   GetTesta()->f_ModelloRiclassific, TipoRiclassificato(), DataStr(), DataStr(),
			   DataEnum(E_KVZ_TIPORIGA, 0));
}

void Kvz_CDeRiclassificazioniDoc::SetContestoRiga(const Kvz_TRiclassificazioneRighe* pRiga)
{
	if (!pRiga)
		return;
	SetContext(DataStr(AfxLoadSourceString(_T("Modello di riclassificazione"), kSource)), GetTesta()->f_Esercizio,
			   GetTesta()->f_ModelloRiclassific, TipoRiclassificato(), pRiga->f_CodRiclassificato, pRiga->f_Descrizione,
			   pRiga->f_TipoRiga);
}

void Kvz_CDeRiclassificazioniDoc::SetColonnaFormula(int nIndex, ColumnInfo* pColumn)
{
	if (nIndex >= 0 && nIndex < KVZ_NUM_FORMULE_RIGA)
		m_pColonneFormula[nIndex] = pColumn;
}

ColumnInfo* Kvz_CDeRiclassificazioniDoc::GetColonnaFormula(int nIndex) const
{
	return nIndex >= 0 && nIndex < KVZ_NUM_FORMULE_RIGA ? m_pColonneFormula[nIndex] : nullptr;
}

void Kvz_CDeRiclassificazioniDoc::IntitolaColonneFormula()
{
	// Description rows in buffer order: budget A, B, C, then the main formula and 1 to 10.
	static const int kIndice[KVZ_NUM_FORMULE_RIGA] = {11, 12, 13, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
	for (int i = 0; i < KVZ_NUM_FORMULE_RIGA; ++i)
	{
		ColumnInfo* pCol = GetColonnaFormula(kIndice[i]);
		if (!pCol)
			continue;
		const Kvz_TDescrFormula* pDescr = i < m_pDBTDescrizioni->GetSize() ? m_pDBTDescrizioni->GetDescrizione(i) : nullptr;
		pCol->SetTitle(pDescr && !pDescr->f_Descrizione.IsEmpty() ? pDescr->f_Descrizione.GetString()
																   : Kvz_DBTDescrizioni::TitoloPredefinito(i));
	}
}

// ---- model type --------------------------------------------------------------------------------

void Kvz_CDeRiclassificazioniDoc::ApplicaTipoModello()
{
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	const WORD tipo = pTesta->f_TipoModello.GetItemValue();
	pTesta->f_DataInizio.SetReadOnly(tipo != KVZ_MODELLO_COMMESSA);
	pTesta->f_DataFine.SetReadOnly(tipo != KVZ_MODELLO_COMMESSA);
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		pRiga->f_TipoCalcolo.SetReadOnly(tipo != KVZ_MODELLO_COMMESSA);
		if (tipo == KVZ_MODELLO_ORDINARIO || tipo == KVZ_MODELLO_CENTRO)
		{
			const DataEnum calcolo(E_KVZ_TIPOCALCOLO, tipo == KVZ_MODELLO_CENTRO ? 3 : 0);
			if (pRiga->f_TipoCalcolo.GetValue() != calcolo.GetValue())
			{
				pRiga->f_TipoCalcolo = calcolo;
				pRiga->SetStorable();
			}
		}
	}
}

void Kvz_CDeRiclassificazioniDoc::AggiornaLookupModello()
{
	if (!m_pCtrlModello)
		return;
	const WORD tipo = GetTesta()->f_TipoModello.GetItemValue();
	m_pCtrlModello->ReattachHotKeyLink(tipo == KVZ_MODELLO_CENTRO	 ? static_cast<HotKeyLinkObj*>(m_pHKLCostCenters)
									   : tipo == KVZ_MODELLO_COMMESSA ? static_cast<HotKeyLinkObj*>(m_pHKLJobs)
																	  : nullptr);
	if (GetFormMode() == NEW)
		GetTesta()->f_ModelloRiclassific.SetReadOnly(FALSE);
}

BOOL Kvz_CDeRiclassificazioniDoc::LeggiCommessa()
{
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	TRJobs jobs(this);
	if (pTesta->f_ModelloRiclassific.IsEmpty())
		return TRUE;
	if (jobs.FindRecord(pTesta->f_ModelloRiclassific) != TableReader::FOUND)
		return FALSE;
	pTesta->f_DataInizio = jobs.GetRecord()->f_StartingDate;
	pTesta->f_DataFine = jobs.GetRecord()->f_EndingDate;
	pTesta->f_Descrizione = jobs.GetRecord()->f_Description;
	return TRUE;
}

void Kvz_CDeRiclassificazioniDoc::LeggiCentroDiCosto()
{
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	TRCostCenters centri(this);
	if (!pTesta->f_ModelloRiclassific.IsEmpty() &&
		centri.FindRecord(pTesta->f_ModelloRiclassific) == TableReader::FOUND)
		pTesta->f_Descrizione = centri.GetRecord()->f_Description;
}

void Kvz_CDeRiclassificazioniDoc::OnTipoModelloChanged()
{
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	const WORD tipo = pTesta->f_TipoModello.GetItemValue();
	if (tipo == KVZ_MODELLO_DRIVERS)
	{
		// Such models belong to the cost-driver documents: the type goes back to what it was,
		// so that a save never stores it.
		AfxMessageBox(MessaggioTipoDrivers(), MB_OK | MB_ICONWARNING);
		pTesta->f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, m_nTipoModello);
		SetCtrlFocus(IDC_RCL_TIPOMODELLO);
		UpdateDataView();
		return;
	}
	m_nTipoModello = tipo;
	ApplicaTipoModello();
	AggiornaLookupModello();
	if (tipo == KVZ_MODELLO_COMMESSA)
	{
		if (!LeggiCommessa())
		{
			AfxMessageBox(AfxLoadSourceString(_T("Il codice modello indicato non corrisponde ad una commessa."), kSource),
						  MB_OK | MB_ICONWARNING);
			SetCtrlFocus(IDC_RCL_MODELLO);
		}
	}
	else
	{
		pTesta->f_DataInizio.Clear();
		pTesta->f_DataFine.Clear();
		pTesta->f_Descrizione.Clear();
		if (tipo == KVZ_MODELLO_CENTRO)
			LeggiCentroDiCosto();
	}
	UpdateDataView();
}

BOOL Kvz_CDeRiclassificazioniDoc::EsisteModello() const
{
	Kvz_TRRiclassificazioneTesta teste(const_cast<Kvz_CDeRiclassificazioniDoc*>(this));
	return teste.FindRecord(GetTesta()->f_Esercizio, GetTesta()->f_ModelloRiclassific) == TableReader::FOUND;
}

void Kvz_CDeRiclassificazioniDoc::SegnalaModelloEsistente()
{
	AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Il modello %s esercizio %s esiste gia'."), kSource),
									 GetTesta()->f_ModelloRiclassific.GetString().GetString(),
									 GetTesta()->f_Esercizio.FormatData().GetString()),
				  MB_OK | MB_ICONWARNING);
	SetCtrlFocus(IDC_RCL_MODELLO);
}

void Kvz_CDeRiclassificazioniDoc::OnModelloChanged()
{
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	if (GetFormMode() == NEW && EsisteModello())
	{
		SegnalaModelloEsistente();
		return;
	}
	const WORD tipo = pTesta->f_TipoModello.GetItemValue();
	if (tipo == KVZ_MODELLO_COMMESSA)
		LeggiCommessa();
	else if (tipo == KVZ_MODELLO_CENTRO)
		LeggiCentroDiCosto();
	SetContestoModello();
	if (m_pDBTRighe->GetSize() == 0)
		InizializzaContatoriDaTabella();
	else
		CaricaCodiciFormulaRighe();
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::OnEsercizioCopiaChanged()
{
	if (EsisteModello())
	{
		SegnalaModelloEsistente();
		return;
	}
	m_pHKLCopiaDa->SetSelEsercizio(RCL_COPIA_ESERC);
	UpdateDataView();
}


// ---- rows --------------------------------------------------------------------------------------

void Kvz_CDeRiclassificazioniDoc::OnRigaChanged()
{
	SetContestoRiga(m_pDBTRighe->GetRigaCorrente());
	AggiornaSimboliRighe();
}

void Kvz_CDeRiclassificazioniDoc::OnCodiceRigaChanged()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (!pRiga)
		return;
	SetContestoRiga(pRiga);
	AggiornaSimboliRighe();
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::OnDescrizioneRigaChanged()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (pRiga && !pRiga->f_CodRiclassificato.IsEmpty())
		SetContestoRiga(pRiga);
}

void Kvz_CDeRiclassificazioniDoc::OnFormulaChanged()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (!pRiga)
		return;
	SetContestoRiga(pRiga);
	SetPStrFormula(&pRiga->f_Formula);
	SetPosizFormula(0);
	Kvz_CUtilizzaFormuleDoc::OnFormulaChanged();
	CString precedente;
	if (const DataObj* pOld = AfxGetOldCtrlData())
		precedente = pOld->FormatData();
	else if (const auto* pSalvata = static_cast<Kvz_TRiclassificazioneRighe*>(m_pDBTRighe->GetSavedRow(pRiga)))
		precedente = pSalvata->f_Formula.GetString();
	SeguiFormulaPrincipale(precedente);
}

void Kvz_CDeRiclassificazioniDoc::SeguiFormulaPrincipale(const CString& strPrecedente)
{
	// A budget formula follows the main one while it equals what the main formula was: typed
	// over, it keeps its own text.
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (!pRiga)
		return;
	for (DataStr* pBudget : {&pRiga->f_FormulaBudgetA, &pRiga->f_FormulaBudgetB, &pRiga->f_FormulaBudgetC})
		if (pBudget->GetString() == strPrecedente)
			*pBudget = pRiga->f_Formula;
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::OnFormulaNChanged(int nIndex)
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (!pRiga)
		return;
	SetContestoRiga(pRiga);
	SetPStrFormula(&Kvz_DBTRiclassificRighe::Formula(pRiga, nIndex));
	SetPosizFormula(nIndex);
	Kvz_CUtilizzaFormuleDoc::OnFormulaChanged();
}

void Kvz_CDeRiclassificazioniDoc::OnSegnoChanged()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	if (pRiga)
	{
		const CString segno = pRiga->f_SegnoDaApplicare.GetString();
		if (segno != "*" && segno != "/" && segno != "-" && segno != "+")
		{
			AfxMessageBox(AfxLoadSourceString(_T("Segno non valido."), kSource), MB_OK | MB_ICONWARNING);
			SetCtrlFocus(IDC_RCL_RIGHE_SEGNO);
		}
	}
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::OnTipoRigaChanged()
{
	Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRigaCorrente();
	const WORD tipo = pRiga ? pRiga->f_TipoRiga.GetItemValue() : 0;
	if (tipo == 6 || tipo == 7)
		AfxMessageBox(AfxLoadSourceString(_T("Lasciare vuote le formule saranno calcolate dalla gestione dei drivers"), kSource),
					  MB_OK | MB_ICONINFORMATION);
	else if (tipo == 8)
		AfxMessageBox(AfxLoadSourceString(_T("Lasciare vuote le formule saranno gestite da procedure esterne"), kSource),
					  MB_OK | MB_ICONINFORMATION);
	if (pRiga)
		SetContestoRiga(pRiga);
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::OnRaggruppamentoChanged()
{
	if (auto* pRec = static_cast<Kvz_TEnhRiclassificazioneRaggrupp*>(m_pDBTRaggrupp->GetCurrentRow()))
		m_pDBTRaggrupp->CercaDescrizione(pRec);
	UpdateDataView();
}

BOOL Kvz_CDeRiclassificazioniDoc::SimboloUtilizzato(CString strNome)
{
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		for (int f = 0; f < KVZ_NUM_FORMULE_RIGA; ++f)
			if (TrovatoNellaFormula(strNome, Kvz_DBTRiclassificRighe::Formula(m_pDBTRighe->GetRiga(i), f)))
				return TRUE;
	return Kvz_CUtilizzaFormuleDoc::SimboloUtilizzato(strNome);
}

// ---- codes and symbols -------------------------------------------------------------------------

void Kvz_CDeRiclassificazioniDoc::AggiornaSimboliRighe()
{
	// Nothing is written before the save: a model never saved leaves no code or symbol behind.
	std::set<CString> nomi;
	if (RCL_COPIA_DA.IsEmpty())
		for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
			if (const Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i); !pRiga->f_CodRiclassificato.IsEmpty())
				nomi.insert(NomeSimbolo(pRiga->f_CodRiclassificato).GetString());
	Kvz_New_MngFormula::SetNomiInSospeso(this, GetTesta()->f_Esercizio, GetTesta()->f_ModelloRiclassific, std::move(nomi));
}

void Kvz_CDeRiclassificazioniDoc::RegistraCodiceRiga(Kvz_TRiclassificazioneRighe* pRiga, Kvz_RegistroCodici& registro)
{
	const DataInt& esercizio = GetTesta()->f_Esercizio;
	const DataStr& modello = GetTesta()->f_ModelloRiclassific;
	const DataStr& codice = pRiga->f_CodRiclassificato;
	// Written only where something changed: a save passes every row through here.
	const auto result = registro.codici.FindRecord(esercizio, codice, modello, FALSE);
	Kvz_TCodiciRiclassificato* pCodice = registro.codici.GetRecord();
	if (result == TableReader::NOT_FOUND)
	{
		pCodice->f_Esercizio = esercizio;
		pCodice->f_ModelloRiclassific = modello;
		pCodice->f_CodRiclassificato = codice;
	}
	if (result == TableReader::NOT_FOUND || pCodice->f_Descrizione.GetString() != pRiga->f_Descrizione.GetString())
	{
		pCodice->f_Descrizione = pRiga->f_Descrizione;
		registro.codici.UpdateRecord();
	}

	const DataStr nome = NomeSimbolo(codice);
	if (registro.simboli.FindRecord(esercizio, nome, modello, FALSE) == TableReader::FOUND)
	{
		if (registro.simboli.GetRecord()->f_TipoSimbolo.GetItemValue() != kTipoCodiceRiclassificato)
			return;  // the name belongs to a symbol of another kind
	}
	else
	{
		Kvz_TAnagSimboli* pSimbolo = registro.simboli.GetRecord();
		pSimbolo->f_Esercizio = esercizio;
		pSimbolo->f_ModelloRiclassific = modello;
		pSimbolo->f_NomeSimbolo = nome;
		pSimbolo->f_TipoSimbolo = TipoRiclassificato();
		pSimbolo->f_DataCreazione = AfxGetApplicationDate();
		pSimbolo->f_DataUltModifica = AfxGetApplicationDate();
		registro.simboli.UpdateRecord();
	}

	const BOOL bNuova = registro.definizioni.FindRecord(esercizio, nome, modello, FALSE) != TableReader::FOUND;
	Kvz_TSimboliCodiciRiclass* pDef = registro.definizioni.GetRecord();
	if (bNuova)
	{
		pDef->f_Esercizio = esercizio;
		pDef->f_ModelloRiclassific = modello;
		pDef->f_NomeSimbolo = nome;
		pDef->f_ValoreEsConst = TRUE;
		pDef->f_ValoreEsSymb = FALSE;
		pDef->f_ValoreEs = esercizio;
		pDef->f_ValoreModelloConst = TRUE;
		pDef->f_ValoreModelloSymb = FALSE;
		pDef->f_ValoreModello = modello;
		pDef->f_ValoreCodice = codice;
	}
	if (bNuova || pDef->f_Annotazioni.GetString() != pRiga->f_Descrizione.GetString())
	{
		pDef->f_Annotazioni = pRiga->f_Descrizione;
		registro.definizioni.UpdateRecord();
	}
}

namespace {
// A code or name as the database compares it in a key: ASCII letters without case.
std::string ChiaveCodice(const CString& strCodice)
{
	std::string s = strCodice.str();
	for (char& c : s)
		if (c >= 'a' && c <= 'z')
			c = static_cast<char>(c - 'a' + 'A');
	return s;
}

// The keys (the column given, folded) of the rows of the year and model, read on the session.
template <class Rec>
std::set<std::string> ChiaviDelModello(SqlSession* pSession, CBaseDocument* pDoc, DataStr Rec::*pColonna,
									   const DataInt& aEsercizio, const DataStr& aModello)
{
	Rec rec;
	SqlTable table(&rec, pSession, pDoc);
	table.Open();
	table.Select(rec.*pColonna);
	table.AddParam("p1", rec.f_Esercizio);
	table.AddFilterColumn(rec.f_Esercizio);
	table.AddParam("p2", rec.f_ModelloRiclassific);
	table.AddFilterColumn(rec.f_ModelloRiclassific);
	table.SetParamValue("p1", aEsercizio);
	table.SetParamValue("p2", aModello);
	std::set<std::string> chiavi;
	for (table.Query(); !table.IsEOF(); table.MoveNext())
		chiavi.insert(ChiaveCodice((rec.*pColonna).GetString()));
	table.Close();
	return chiavi;
}
}  // namespace

void Kvz_CDeRiclassificazioniDoc::RegistraCodiciRighe(Kvz_RegistroCodici& registro)
{
	const int nRighe = m_pDBTRighe->GetSize();
	SqlSession* pSession = GetUpdatableSqlSession();
	// Two rows whose codes the database takes for one: the second finds what the first wrote.
	std::set<std::string> codiciRighe;
	bool bDoppi = false;
	for (int i = 0; i < nRighe && !bDoppi; ++i)
		bDoppi = !codiciRighe.insert(ChiaveCodice(m_pDBTRighe->GetRiga(i)->f_CodRiclassificato.GetString())).second;
	if (nRighe < 2 || !pSession || bDoppi)
	{
		for (int i = 0; i < nRighe; ++i)
			RegistraCodiceRiga(m_pDBTRighe->GetRiga(i), registro);
		return;
	}
	const DataInt& esercizio = GetTesta()->f_Esercizio;
	const DataStr& modello = GetTesta()->f_ModelloRiclassific;
	const std::set<std::string> codici =
		ChiaviDelModello(pSession, this, &Kvz_TCodiciRiclassificato::f_CodRiclassificato, esercizio, modello);
	const std::set<std::string> simboli =
		ChiaviDelModello(pSession, this, &Kvz_TAnagSimboli::f_NomeSimbolo, esercizio, modello);
	const std::set<std::string> definizioni =
		ChiaviDelModello(pSession, this, &Kvz_TSimboliCodiciRiclass::f_NomeSimbolo, esercizio, modello);
	SqlMultiInsert nuoviCodici(pSession, Kvz_TCodiciRiclassificato(FALSE), 100);
	SqlMultiInsert nuoviSimboli(pSession, Kvz_TAnagSimboli(FALSE), 100);
	SqlMultiInsert nuoveDefinizioni(pSession, Kvz_TSimboliCodiciRiclass(FALSE), 100);
	for (int i = 0; i < nRighe; ++i)
	{
		Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		const DataStr& codice = pRiga->f_CodRiclassificato;
		const DataStr nome = NomeSimbolo(codice);
		if (codici.count(ChiaveCodice(codice.GetString())) || simboli.count(ChiaveCodice(nome.GetString())) ||
			definizioni.count(ChiaveCodice(nome.GetString())))
		{
			RegistraCodiceRiga(pRiga, registro);
			continue;
		}
		// What the updaters write for a code new in every table.
		auto& c = static_cast<Kvz_TCodiciRiclassificato&>(nuoviCodici.NewRow());
		c.f_Esercizio = esercizio;
		c.f_ModelloRiclassific = modello;
		c.f_CodRiclassificato = codice;
		c.f_Descrizione = pRiga->f_Descrizione;
		c.RefuseBrokenRules();
		auto& s = static_cast<Kvz_TAnagSimboli&>(nuoviSimboli.NewRow());
		s.f_Esercizio = esercizio;
		s.f_ModelloRiclassific = modello;
		s.f_NomeSimbolo = nome;
		s.f_TipoSimbolo = TipoRiclassificato();
		s.f_DataCreazione = AfxGetApplicationDate();
		s.f_DataUltModifica = AfxGetApplicationDate();
		s.RefuseBrokenRules();
		auto& d = static_cast<Kvz_TSimboliCodiciRiclass&>(nuoveDefinizioni.NewRow());
		d.f_Esercizio = esercizio;
		d.f_ModelloRiclassific = modello;
		d.f_NomeSimbolo = nome;
		d.f_ValoreEsConst = TRUE;
		d.f_ValoreEsSymb = FALSE;
		d.f_ValoreEs = esercizio;
		d.f_ValoreModelloConst = TRUE;
		d.f_ValoreModelloSymb = FALSE;
		d.f_ValoreModello = modello;
		d.f_ValoreCodice = codice;
		d.f_Annotazioni = pRiga->f_Descrizione;
		d.RefuseBrokenRules();
	}
	nuoviCodici.Flush();
	nuoviSimboli.Flush();
	nuoveDefinizioni.Flush();
}

void Kvz_CDeRiclassificazioniDoc::CancellaCodice(Kvz_RegistroCodici& registro, const DataInt& aEsercizio,
												 const DataStr& aModello, const DataStr& aCodice)
{
	const DataStr nome = NomeSimbolo(aCodice);
	// A symbol of another kind that happens to bear the name stays.
	if (registro.simboli.FindRecord(aEsercizio, nome, aModello, FALSE) == TableReader::FOUND &&
		registro.simboli.GetRecord()->f_TipoSimbolo.GetItemValue() == kTipoCodiceRiclassificato)
		registro.simboli.DeleteRecord();
	if (registro.definizioni.FindRecord(aEsercizio, nome, aModello, FALSE) == TableReader::FOUND)
		registro.definizioni.DeleteRecord();
	if (registro.codici.FindRecord(aEsercizio, aCodice, aModello, FALSE) == TableReader::FOUND)
		registro.codici.DeleteRecord();
}

void Kvz_CDeRiclassificazioniDoc::CancellaCodiciRimossi()
{
	std::set<std::tuple<int, std::string, std::string>> rimossi;
	const int esercizio = static_cast<int>(GetTesta()->f_Esercizio);
	const std::string modello = GetTesta()->f_ModelloRiclassific.GetString().str();
	for (int i = 0; i < m_pDBTRighe->GetOldSize(); ++i)
	{
		const Kvz_TRiclassificazioneRighe* pLetta = m_pDBTRighe->GetRigaLetta(i);
		rimossi.emplace(static_cast<int>(pLetta->f_Esercizio), pLetta->f_ModelloRiclassific.GetString().str(),
						pLetta->f_CodRiclassificato.GetString().str());
	}
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		rimossi.erase({esercizio, modello, m_pDBTRighe->GetRiga(i)->f_CodRiclassificato.GetString().str()});
	if (rimossi.empty())
		return;
	Kvz_RegistroCodici registro(this, FALSE);
	for (const auto& [anno, mod, codice] : rimossi)
		CancellaCodice(registro, DataInt(anno), DataStr(mod.c_str()), DataStr(codice.c_str()));
}

void Kvz_CDeRiclassificazioniDoc::AggiornaDescrizioniBrevi()
{
	Kvz_TUDescrizioniBrevi brevi(this);
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		const DataStr& codice = m_pDBTRighe->GetRiga(i)->f_CodRiclassificato;
		if (brevi.FindRecord(codice, FALSE) == TableReader::NOT_FOUND)
		{
			brevi.GetRecord()->f_CodRiclassificato = codice;
			brevi.UpdateRecord();
		}
	}
}

// ---- save and delete ---------------------------------------------------------------------------

BOOL Kvz_CDeRiclassificazioniDoc::OnOkTransaction()
{
	// Typing the code only warns: a new model whose code is taken in its year is refused here,
	// with its reason, before the database turns it down.
	try
	{
		if (GetFormMode() == NEW && EsisteModello())
		{
			SegnalaModelloEsistente();
			return FALSE;
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::OnOkTransaction");
		return FALSE;
	}
	if (GetTesta()->f_TipoModello.GetItemValue() == KVZ_MODELLO_DRIVERS)
	{
		AfxMessageBox(MessaggioTipoDrivers(), MB_OK | MB_ICONWARNING);
		SetCtrlFocus(IDC_RCL_TIPOMODELLO);
		return FALSE;
	}
	BOOL bAvvisi = FALSE;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		if (pRiga->f_Formula.IsEmpty() && !FormulaFacoltativa(pRiga->f_TipoRiga.GetItemValue()))
		{
			GetMessages()->Add(CString::Formatted(AfxLoadSourceString(_T("Attenzione: formula vuota alla riga con codice %s."),
																	  kSource),
												  pRiga->f_CodRiclassificato.GetString().GetString()),
							   CMessages::MSG_WARNING);
			bAvvisi = TRUE;
		}
		pRiga->f_Posizione = i + 1;
		pRiga->SetStorable();
	}
	if (bAvvisi)
	{
		// The user reads the warnings and decides; nobody answering keeps the model unsaved.
		const CString testo = GetMessages()->ToString();
		GetMessages()->Clear();
		if (AfxMessageBox(testo + "\n" + AfxLoadSourceString(_T("Salvare comunque il modello?"), kSource),
						  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
			return FALSE;
	}
	try
	{
		// The rows' codes and symbols follow what is saved: codes no longer in the model lose
		// theirs, every saved code has its own, in this transaction.
		CancellaCodiciRimossi();
		Kvz_RegistroCodici registro(this, FALSE);
		RegistraCodiciRighe(registro);
		CaricaCodiciFormulaRighe();
		if (!SalvaContatori())
			return FALSE;
		AggiornaDescrizioniBrevi();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::OnOkTransaction");
		return FALSE;
	}
	return TRUE;
}

void Kvz_CDeRiclassificazioniDoc::CaricaCodiciFormulaRighe()
{
	SvuotaMapContatori();
	// No symbol comes or goes while the rows are counted: the engine reads the names once, as
	// they are now (other processes may have written some since the rows were typed).
	struct NomiMantenuti
	{
		Kvz_New_MngFormula* p;
		~NomiMantenuti() { p->MantieniNomi(FALSE); }
	} nomi{GetMngFormula()};
	nomi.p->SvuotaNomiValidazione();
	nomi.p->MantieniNomi(FALSE);
	nomi.p->MantieniNomi(TRUE);
	static const char* const kColonne[KVZ_NUM_FORMULE_RIGA] = {
		"Formula",  "Formula1", "Formula2", "Formula3", "Formula4", "Formula5", "Formula6",
		"Formula7", "Formula8", "Formula9", "Formula10", "Budget A", "Budget B", "Budget C"};
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		SetContestoRiga(pRiga);
		// A formula the run could not evaluate (a wrong syntax, an unknown name) is saved as the
		// user typed it, with a warning naming its row; it is not counted.
		// One reason once, with every formula of the row it stops (the budget formulas follow the main one).
		std::vector<std::pair<CString, CString>> nonValide;  // reason, the formulas
		for (int f = 0; f < KVZ_NUM_FORMULE_RIGA; ++f)
		{
			const CString strFormula = Kvz_DBTRiclassificRighe::Formula(pRiga, f).GetString();
			if (strFormula.IsEmpty())
				continue;
			const std::vector<CMessages::Message> prima = GetMessages()->GetMessages();
			if (ParseFormula(strFormula))
			{
				// Budget formulas are not counted.
				if (f < KVZ_NUM_POSIZ_FORMULA)
					CaricaCodiciFormula(strFormula, f);
				continue;
			}
			CString strMotivo;
			const auto& dopo = GetMessages()->GetMessages();
			for (size_t m = prima.size(); m < dopo.size(); ++m)
				strMotivo += (strMotivo.IsEmpty() ? "" : "; ") + dopo[m].text;
			GetMessages()->Clear();
			for (const CMessages::Message& m : prima)
				GetMessages()->Add(m.text, m.type);
			// Refused as it was typed, with its reason: one message per fault.
			if (FormulaSegnalata(strFormula))
				continue;
			auto it = std::find_if(nonValide.begin(), nonValide.end(), [&](auto& n) { return n.first == strMotivo; });
			if (it == nonValide.end())
				nonValide.emplace_back(strMotivo, kColonne[f]);
			else
				it->second += CString(", ") + kColonne[f];
		}
		CString strNonValide;
		for (auto& [strMotivo, strColonne] : nonValide)
			strNonValide += CString::Formatted("%s%s%s%s", strNonValide.IsEmpty() ? "" : "; ", strColonne.GetString(),
											   strMotivo.IsEmpty() ? "" : ": ", strMotivo.GetString());
		if (!strNonValide.IsEmpty())
			GetMessages()->Add(
				CString::Formatted(AfxLoadSourceString(_T("Attenzione: alla riga con codice %s ci sono formule che non si "
														  "possono calcolare (%s); la riclassificazione le lascerà a 0."),
													   kSource),
								   pRiga->f_CodRiclassificato.GetString().GetString(), strNonValide.GetString()),
				CMessages::MSG_WARNING);
	}
	m_FormuleSegnalate.clear();
	PrecaricaContatoriGenerali();
	CaricaContatoriGenerali();
}

void Kvz_CDeRiclassificazioniDoc::PrecaricaContatoriGenerali()
{
	// Codes counted now that have no general counter yet.
	std::set<std::pair<DWORD, std::string>> mancanti;
	for (const auto& [codice, pArray] : m_MapContatori)
		for (int i = 0; i < pArray->GetSize(); ++i)
		{
			const Kvz_ArrayDettaglioContatoriElem* p = pArray->GetAt(i);
			if (!m_ContatoriGenerali.Cerca(p->m_TipoCodice, p->m_Codice))
				mancanti.emplace(p->m_TipoCodice.GetValue(), p->m_Codice.GetString().str());
		}
	if (mancanti.empty())
		return;
	// Their uses by users of another kind, or of this kind in another model: one grouped query.
	std::map<std::pair<DWORD, std::string>, long> altri;
	try
	{
		Kvz_TContatoriDettaglio rec;
		DataLng somma;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open();
		table.Select(rec.f_TipoCodice);
		table.Select(rec.f_Codice);
		table.SelectSqlFun(_T("SUM(ContatoreUtilizzi)"), somma);
		table.AddParam("p1", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam("p2", rec.f_TipoCodCheUtilizza);
		table.AddParam("p3", rec.f_TipoCodCheUtilizza);
		table.AddParam("p4", rec.f_ModelloRiclassific);
		const CString tipo = table.GetColumnName(rec.f_TipoCodCheUtilizza);
		table.m_strFilter += CString::Formatted(" AND (%s <> ? OR (%s = ? AND %s <> ?))", tipo.GetString(),
												tipo.GetString(), table.GetColumnName(rec.f_ModelloRiclassific).GetString());
		table.AddGroupByColumn(rec.f_TipoCodice);
		table.AddGroupByColumn(rec.f_Codice);
		table.SetParamValue("p1", m_Esercizio);
		table.SetParamValue("p2", m_TipoCodCheUtilizza);
		table.SetParamValue("p3", m_TipoCodCheUtilizza);
		table.SetParamValue("p4", m_Modello);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			altri[{rec.f_TipoCodice.GetValue(), rec.f_Codice.GetString().str()}] = somma;
		table.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::PrecaricaContatoriGenerali");
		return;  // the base reads them one by one
	}
	for (const auto& key : mancanti)
	{
		auto* p = new Kvz_ArrayContatoriElem(DataEnum(key.first), DataStr(key.second.c_str()));
		auto it = altri.find(key);
		p->m_nUtilizziAltri = it == altri.end() ? 0 : static_cast<int>(it->second);
		m_ContatoriGenerali.Add(p);
	}
}

void Kvz_CDeRiclassificazioniDoc::InizializzaContatoriDaTabella()
{
	SvuotaMapContatori();
	SvuotaContatoriGenerali();
	const DataInt esercizio = GetTesta()->f_Esercizio;
	const CString modello = GetTesta()->f_ModelloRiclassific.GetString();
	// General counters by kind and code, in array order: the first one made is the one found.
	std::map<std::pair<DWORD, std::string>, Kvz_ArrayContatoriElem*> indice;
	try
	{
		Kvz_TContatoriDettaglio rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open();
		table.SelectAll();
		table.AddParam("p1", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		for (const CString& k : rec.GetPrimaryKey())
			table.AddSortColumn(k);
		table.SetParamValue("p1", esercizio);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			auto& pArray = m_MapContatori[rec.f_Codice.GetString()];
			if (!pArray)
				pArray = std::make_unique<Kvz_ArrayDettaglioContatori>();
			auto* pElem = new Kvz_ArrayDettaglioContatoriElem(rec.f_TipoCodice, rec.f_Codice);
			const int nFormula = rec.f_FormulaCheUtilizza;
			// A position outside the eleven has no slot: the use is not counted in detail.
			if (nFormula >= 0 && nFormula < KVZ_NUM_POSIZ_FORMULA)
				pElem->m_nContatori[nFormula] += static_cast<int>(static_cast<long>(rec.f_ContatoreUtilizzi));
			Kvz_ArrayContatoriElem*& pGen = indice[{rec.f_TipoCodice.GetValue(), rec.f_Codice.GetString().str()}];
			if (!pGen)
			{
				pGen = new Kvz_ArrayContatoriElem(rec.f_TipoCodice, rec.f_Codice);
				m_ContatoriGenerali.Add(pGen);
			}
			const int uso = static_cast<int>(static_cast<long>(rec.f_ContatoreUtilizzi));
			if (rec.f_ModelloRiclassific.GetString().CompareNoCase(modello) != 0 ||
				rec.f_TipoCodCheUtilizza.GetItemValue() != kTipoCodiceRiclassificato)
				pGen->m_nUtilizziAltri += uso;
			pGen->m_nUtilizziDoc += uso;
			pArray->Add(pElem);
		}
		table.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::InizializzaContatoriDaTabella");
	}
	CaricaContatoriGenerali();
}

BOOL Kvz_CDeRiclassificazioniDoc::AzzeraTabellaModello(LPCTSTR szTabella, LPCTSTR szColEsercizio, LPCTSTR szColModello)
{
	try
	{
		// The values are bound (a code may hold a quote), and the work joins the document's
		// transaction when one is open.
		GetUpdatableSqlSession()->ExecuteSQL(
			CString::Formatted("DELETE FROM %s WHERE %s=? AND %s=?", szTabella, szColEsercizio, szColModello),
			{&m_EsercizioDaAzzerare, &m_ModelloDaAzzerare});
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::AzzeraTabellaModello");
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_CDeRiclassificazioniDoc::CancellaTuttiISimboli()
{
	if (m_ModelloDaAzzerare.IsEmpty() || m_EsercizioDaAzzerare.IsEmpty())
	{
		ASSERT_RELEASE_FAILED("!m_ModelloDaAzzerare.IsEmpty()", "Kvz_CDeRiclassificazioniDoc::CancellaTuttiISimboli",
							  kSource);
		return FALSE;
	}
	// Every step runs even after a failure, so that the caller's roll-back is the only undo.
	BOOL bOk = TRUE;
	for (LPCTSTR szTabella :
		 {Kvz_TAnagSimboli::GetStaticName(), Kvz_TSimboliPianoBase::GetStaticName(),
		  Kvz_TElencoContiSimboloPBase::GetStaticName(), Kvz_TSimboliCodiciExtracont::GetStaticName(),
		  Kvz_TSimboliCodiciRiclass::GetStaticName(), Kvz_TSimboliOutputRiclass::GetStaticName(),
		  Kvz_TAnagMacro::GetStaticName(), Kvz_TCodiciRiclassificato::GetStaticName(), Kvz_TRiclassificato::GetStaticName()})
		bOk = AzzeraTabellaModello(szTabella, _T("Esercizio"), _T("ModelloRiclassific")) && bOk;
	return CancellaRisultatiEContatori() && bOk;
}

BOOL Kvz_CDeRiclassificazioniDoc::CancellaRisultatiEContatori()
{
	// The uses the model's rows made leave the general counters of the codes they used.
	try
	{
		Kvz_TContatoriDettaglio rec;
		SqlTable table(&rec, GetUpdatableSqlSession(), this);
		table.Open();
		table.SelectAll();
		table.AddParam("p1", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam("p2", rec.f_ModelloRiclassific);
		table.AddFilterColumn(rec.f_ModelloRiclassific);
		table.AddParam("p3", rec.f_TipoCodCheUtilizza);
		table.AddFilterColumn(rec.f_TipoCodCheUtilizza);
		table.SetParamValue("p1", m_EsercizioDaAzzerare);
		table.SetParamValue("p2", m_ModelloDaAzzerare);
		table.SetParamValue("p3", TipoRiclassificato());
		std::vector<std::unique_ptr<Kvz_TContatoriDettaglio>> righe;
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			righe.emplace_back(static_cast<Kvz_TContatoriDettaglio*>(rec.Clone()));
		table.Close();
		Kvz_TUContatoriCodici generali(this);
		for (const auto& p : righe)
		{
			const auto result = generali.FindRecord(p->f_Esercizio, p->f_TipoCodice, p->f_Codice, TRUE);
			if (result == TableReader::NOT_FOUND)
				continue;
			// A counter another user holds would keep uses whose details are gone.
			if (result != TableReader::FOUND)
			{
				AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Contatore del codice %s bloccato da un altro utente."),
																	 kSource),
												 p->f_Codice.GetString().GetString()),
							  MB_OK | MB_ICONERROR);
				return FALSE;
			}
			const long resto = static_cast<long>(generali.GetRecord()->f_ContatoreUtilizzi) -
							   static_cast<long>(p->f_ContatoreUtilizzi);
			generali.GetRecord()->f_ContatoreUtilizzi = resto < 0 ? 0L : resto;
			generali.UpdateRecord();
		}
		const DataEnum tipo = TipoRiclassificato();
		GetUpdatableSqlSession()->ExecuteSQL(
			CString::Formatted("DELETE FROM %s WHERE Esercizio=? AND ModelloRiclassific=? AND TipoCodCheUtilizza=?",
							   Kvz_TContatoriDettaglio::GetStaticName()),
			{&m_EsercizioDaAzzerare, &m_ModelloDaAzzerare, &tipo});
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::CancellaTuttiISimboli");
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_CDeRiclassificazioniDoc::CanDoDeleteRecord()
{
	const Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	const DataStr modello = pTesta->f_ModelloRiclassific;
	const DataInt esercizio = pTesta->f_Esercizio;
	std::set<CString> modelli, drivers;
	try
	{
		for (const auto& p : kvz_copia::LeggiDi<Kvz_TSimboliOutputRiclass>(
				 GetReadOnlySqlSession(), &Kvz_TSimboliOutputRiclass::f_Esercizio, esercizio,
				 &Kvz_TSimboliOutputRiclass::f_ValoreModello, modello))
			if (p->f_ModelloRiclassific.GetString() != modello.GetString())
				modelli.insert(p->f_ModelloRiclassific.GetString());
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::CanDoDeleteRecord");
		return FALSE;
	}
	try
	{
		for (const auto& p : kvz_copia::LeggiDi<TKvzDriversModelli>(
				 GetReadOnlySqlSession(), &TKvzDriversModelli::f_EsercizioRiclassific, esercizio,
				 &TKvzDriversModelli::f_ModelloRiclassific, modello))
		{
			CString strDitta = p->f_Ditta.GetString();
			strDitta.Trim();
			if (strDitta.IsEmpty() || strDitta == ".")
				drivers.insert(p->f_ModelloDrivers.GetString());
		}
	}
	catch (const SqlException&)
	{
		// A company without the cost-driver tables has no drivers to name; the question stays.
		drivers.clear();
	}
	auto elenco = [](const std::set<CString>& codici) {
		CString s;
		for (const CString& c : codici)
			s += (s.IsEmpty() ? "" : ", ") + c;
		return s;
	};
	CString strLettori;
	if (!modelli.empty())
		strLettori = CString::Formatted(" I simboli dei modelli %s leggono i suoi risultati", elenco(modelli).GetString());
	if (!drivers.empty())
		strLettori += CString::Formatted("%s drivers %s lo hanno tra i modelli di destinazione",
										 strLettori.IsEmpty() ? " I" : " e i", elenco(drivers).GetString());
	if (!strLettori.IsEmpty())
		strLettori += ": daranno errore a ogni riclassificazione.";
	return AfxMessageBox(CString::Formatted(AfxLoadSourceString("Cancellare il modello %s dell'esercizio %d con i suoi "
																"risultati?%s",
																kSource),
											modello.GetString().GetString(), esercizio.GetValue(),
											strLettori.GetString()),
						 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

BOOL Kvz_CDeRiclassificazioniDoc::OnDeleteTransaction()
{
	const Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	m_ModelloDaAzzerare = pTesta->f_ModelloRiclassific;
	m_EsercizioDaAzzerare = pTesta->f_Esercizio;
	// A model whose symbols could not all go stays whole.
	return CancellaTuttiISimboli();
}

void Kvz_CDeRiclassificazioniDoc::OnGoInBrowseMode()
{
	RCL_COPIA = FALSE;
	LasciaSenzaSalvare();
}

void Kvz_CDeRiclassificazioniDoc::OnCloseDocument()
{
	// Closed with the changes dropped (a "no" to saving them, or the program ending).
	LasciaSenzaSalvare();
	Kvz_CUtilizzaFormuleDoc::OnCloseDocument();
}

void Kvz_CDeRiclassificazioniDoc::LasciaSenzaSalvare()
{
	ChiudiCopia();
	Kvz_New_MngFormula::SetNomiInSospeso(this, DataInt(), DataStr(), {});
}

// ---- model copy --------------------------------------------------------------------------------

BOOL Kvz_CDeRiclassificazioniDoc::RifiutaCopia(const CString& strTesto, UINT nFocus)
{
	AfxMessageBox(strTesto, MB_OK | MB_ICONWARNING);
	SetCtrlFocus(nFocus);
	return FALSE;
}

// The copy reads the source into memory, writes codes and symbols in one transaction, and only
// once that committed fills the form's rows, groupings and column titles: a failure anywhere
// leaves the database and the form as they were.
void Kvz_CDeRiclassificazioniDoc::OnCopiaModello()
{
	if (GetFormMode() != NEW)
		return;
	Kvz_TRiclassificazioneTesta* pTesta = GetTesta();
	const CString strEsiste = AfxLoadSourceString(_T("Il modello %s esercizio %s esiste gia'."), kSource);
	if (RCL_COPIA_ESERC.IsEmpty())
	{
		RifiutaCopia(AfxLoadSourceString(_T("Indicare l'esercizio da cui copiare."), kSource), IDC_RCL_COPIA_ESERC);
		return;
	}
	if (RCL_COPIA_DA.IsEmpty())
	{
		RifiutaCopia(AfxLoadSourceString(_T("Indicare il modello da cui copiare."), kSource), IDC_RCL_COPIA_DA);
		return;
	}
	if (pTesta->f_Esercizio.IsEmpty())
	{
		RifiutaCopia(AfxLoadSourceString(_T("Indicare l'esercizio."), kSource), IDC_RCL_ESERCIZIO);
		return;
	}
	if (pTesta->f_ModelloRiclassific.IsEmpty())
	{
		RifiutaCopia(AfxLoadSourceString(_T("Indicare il modello."), kSource), IDC_RCL_MODELLO);
		return;
	}
	if (pTesta->f_Esercizio.GetValue() == RCL_COPIA_ESERC.GetValue() &&
		pTesta->f_ModelloRiclassific.GetString() == RCL_COPIA_DA.GetString())
	{
		RifiutaCopia(AfxLoadSourceString(_T("Il modello da cui copiare e' il modello stesso."), kSource), IDC_RCL_COPIA_DA);
		return;
	}
	// A copy into another code before this one: what it wrote goes.
	if (m_bCopiaInCorso && (m_EsercizioCopiato.GetValue() != pTesta->f_Esercizio.GetValue() ||
							m_ModelloCopiato.GetString() != pTesta->f_ModelloRiclassific.GetString()))
		ChiudiCopia();
	CPLVContext* pContext = GetContext();
	if (!pContext || !pContext->StartTransaction())
	{
		Message(AfxLoadSourceString(_T("Non è possibile aprire una nuova transazione."), kSource));
		return;
	}
	// Ends the transaction without keeping anything.
	auto annulla = [&] {
		pContext->UnlockAll();
		pContext->Rollback();
	};

	const DataInt aEsOrig = RCL_COPIA_ESERC;
	const DataStr aModOrig = RCL_COPIA_DA;
	const DataInt aEsDest = pTesta->f_Esercizio;
	const DataStr aModDest = pTesta->f_ModelloRiclassific;
	SqlSession* pLettura = GetReadOnlySqlSession();
	SqlSession* pScrittura = GetUpdatableSqlSession();
	try
	{
		Kvz_TRRiclassificazioneTesta teste(this);
		if (teste.FindRecord(aEsDest, aModDest) == TableReader::FOUND)
		{
			annulla();
			RifiutaCopia(CString::Formatted(strEsiste, aModDest.GetString().GetString(), aEsDest.FormatData().GetString()),
						 IDC_RCL_MODELLO);
			return;
		}
		if (teste.FindRecord(aEsOrig, aModOrig) != TableReader::FOUND)
		{
			annulla();
			RifiutaCopia(CString::Formatted(AfxLoadSourceString(_T("Il modello %s esercizio %s non esiste."), kSource),
											aModOrig.GetString().GetString(), aEsOrig.FormatData().GetString()),
						 IDC_RCL_COPIA_DA);
			return;
		}
		const DataEnum tipo = teste.GetRecord()->f_TipoModello;
		if (tipo.GetItemValue() == KVZ_MODELLO_DRIVERS)
		{
			annulla();
			RifiutaCopia(MessaggioTipoDrivers(), IDC_RCL_COPIA_DA);
			return;
		}
		pTesta->f_TipoModello = tipo;
		m_nTipoModello = tipo.GetItemValue();
		if (tipo.GetItemValue() == KVZ_MODELLO_COMMESSA && !LeggiCommessa())
		{
			annulla();
			UpdateDataView();
			RifiutaCopia(AfxLoadSourceString(_T("Il codice modello indicato non corrisponde ad una commessa."), kSource),
						 IDC_RCL_MODELLO);
			return;
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::OnCopiaModello");
		annulla();
		return;
	}
	if (m_pDBTRighe->GetSize() > 0 &&
		AfxMessageBox(AfxLoadSourceString(_T("Le righe gia' presenti verranno cancellate. Si conferma?"), kSource),
					  MB_YESNO | MB_ICONQUESTION) != IDYES)
	{
		annulla();
		ApplicaTipoModello();
		AggiornaLookupModello();
		UpdateDataView();
		return;
	}

	BOOL bOk = TRUE;
	if (m_pDBTRighe->GetSize() > 0)
	{
		m_ModelloDaAzzerare = aModDest;
		m_EsercizioDaAzzerare = aEsDest;
		bOk = CancellaTuttiISimboli();
	}
	std::vector<std::unique_ptr<Kvz_TRiclassificazioneRighe>> righe;
	std::vector<std::unique_ptr<Kvz_TRiclassificazioneRaggrupp>> raggruppamenti;
	std::vector<std::unique_ptr<Kvz_TDescrFormula>> descrizioni;
	const BOOL bFormule = RCL_ANCHE_FORMULE;
	try
	{
		if (bOk)
		{
			// The source's rows, groupings and column titles, for the form once all is written.
			righe = kvz_copia::LeggiSimboli<Kvz_TRiclassificazioneRighe>(
				pLettura, aEsOrig, aModOrig, [](SqlTable& t, Kvz_TRiclassificazioneRighe& r) {
					t.AddSortColumn(r.f_Posizione);
					t.AddSortColumn(r.f_CodRiclassificato);
				});
			raggruppamenti = kvz_copia::LeggiSimboli<Kvz_TRiclassificazioneRaggrupp>(pLettura, aEsOrig, aModOrig);
			descrizioni = kvz_copia::LeggiDi<Kvz_TDescrFormula>(
				pLettura, &Kvz_TDescrFormula::f_Esercizio, aEsOrig, &Kvz_TDescrFormula::f_Codice, aModOrig,
				[](SqlTable& t, Kvz_TDescrFormula& r) {
					t.AddSortColumn(r.f_IndiceFormula);
					t.AddSortColumn(r.f_TipoBudget);
				});
			std::erase_if(descrizioni, [](const auto& p) {
				return p->f_TipoCodice.GetValue() != TipoRiclassificato().GetValue();
			});

			// Reclassified codes: the target's are overwritten.
			const auto codici = kvz_copia::LeggiSimboli<Kvz_TCodiciRiclassificato>(pLettura, aEsOrig, aModOrig);
			Kvz_TUCodiciRiclassificato uCodici(this);
			uCodici.SetSqlSession(pScrittura);
			for (const auto& pOrig : codici)
			{
				const auto result = uCodici.FindRecord(aEsDest, pOrig->f_CodRiclassificato, aModDest, FALSE);
				Kvz_TCodiciRiclassificato* pDest = uCodici.GetRecord();
				if (result == TableReader::NOT_FOUND)
				{
					pDest->f_Esercizio = aEsDest;
					pDest->f_ModelloRiclassific = aModDest;
					pDest->f_CodRiclassificato = pOrig->f_CodRiclassificato;
				}
				else if (result != TableReader::FOUND)
					RigaBloccata(Kvz_TCodiciRiclassificato::GetStaticName(), pOrig->f_CodRiclassificato);
				pDest->f_Descrizione = pOrig->f_Descrizione;
				pDest->f_TipoRiga = pOrig->f_TipoRiga;
				pDest->f_TipoDatoRitorno = pOrig->f_TipoDatoRitorno;
				pDest->f_DaRiportare = pOrig->f_DaRiportare;
				uCodici.UpdateRecord();
			}
			uCodici.Free();

			// The codes' own symbols; those of the other kinds only with the formulas.
			const DataDate oggi = AfxGetApplicationDate();
			kvz_copia::CopiaSimboli<Kvz_TAnagSimboli, Kvz_TUAnagSimboli>(
				pScrittura, aEsOrig, aModOrig, aEsDest, aModDest,
				[&oggi](Kvz_TAnagSimboli& r) {
					r.f_DataCreazione = oggi;
					r.f_DataUltModifica = oggi;
				},
				[](const Kvz_TAnagSimboli& r) { return r.f_TipoSimbolo.GetItemValue() == kTipoCodiceRiclassificato; });
			kvz_copia::CopiaSimboli<Kvz_TSimboliCodiciRiclass, Kvz_TUSimboliCodiciRiclass>(
				pScrittura, aEsOrig, aModOrig, aEsDest, aModDest,
				kvz_copia::RiportaValori<Kvz_TSimboliCodiciRiclass>(aModOrig, aEsDest, aModDest));
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::OnCopiaModello");
		bOk = FALSE;
	}
	if (bOk && bFormule)
		bOk = CopiaTuttiISimboli();
	if (bOk)
		bOk = Conferma(pContext, "Kvz_CDeRiclassificazioniDoc::OnCopiaModello");
	if (!bOk)
	{
		annulla();
		UpdateDataView();
		return;
	}

	// Committed: the form takes the source's rows, groupings and column titles.
	m_pDBTRighe->RemoveAll(FALSE);
	for (const auto& pOrig : righe)
	{
		auto* pRiga = static_cast<Kvz_TRiclassificazioneRighe*>(m_pDBTRighe->AddRecord());
		pRiga->f_CodRiclassificato = pOrig->f_CodRiclassificato;
		pRiga->f_Posizione = pOrig->f_Posizione;
		pRiga->f_Descrizione = pOrig->f_Descrizione;
		pRiga->f_TipoRiga = pOrig->f_TipoRiga;
		pRiga->f_TipoDatoRitorno = pOrig->f_TipoDatoRitorno;
		pRiga->f_TipoCalcolo = pOrig->f_TipoCalcolo;
		if (bFormule)
		{
			pRiga->f_Dividendo = pOrig->f_Dividendo;
			pRiga->f_CodRiclDividendoProgr = pOrig->f_CodRiclDividendoProgr;
			pRiga->f_CodRiclDivisoreProgr = pOrig->f_CodRiclDivisoreProgr;
			pRiga->f_SegnoDaApplicare = pOrig->f_SegnoDaApplicare;
			for (int f = 0; f < KVZ_NUM_FORMULE_RIGA; ++f)
				Kvz_DBTRiclassificRighe::Formula(pRiga, f) = Kvz_DBTRiclassificRighe::Formula(pOrig.get(), f);
		}
		pRiga->SetStorable();
	}
	m_pDBTRaggrupp->RemoveAll(FALSE);
	for (const auto& pOrig : raggruppamenti)
	{
		auto* pRaggr = static_cast<Kvz_TEnhRiclassificazioneRaggrupp*>(m_pDBTRaggrupp->AddRecord());
		pRaggr->f_Esercizio = aEsDest;
		pRaggr->f_ModelloRiclassific = aModDest;
		pRaggr->f_CodRaggrupp = pOrig->f_CodRaggrupp;
		m_pDBTRaggrupp->CercaDescrizione(pRaggr);
		pRaggr->SetStorable();
	}
	m_pDBTDescrizioni->RemoveAll(FALSE);
	for (const auto& pOrig : descrizioni)
	{
		auto* pDescr = static_cast<Kvz_TDescrFormula*>(m_pDBTDescrizioni->AddRecord());
		*static_cast<SqlRecord*>(pDescr) = *pOrig;
		pDescr->f_Esercizio = aEsDest;
		pDescr->f_TipoCodice = TipoRiclassificato();
		pDescr->f_Codice = aModDest;
		pDescr->SetStorable();
	}
	// A source without titles still leaves the model its fourteen.
	m_pDBTDescrizioni->CreaDescrizioni();
	ApplicaTipoModello();
	AggiornaLookupModello();
	IntitolaColonneFormula();
	if (m_pDBTRighe->GetSize() > 0)
		SetContestoRiga(m_pDBTRighe->GetRiga(0));
	CaricaCodiciFormulaRighe();
	SetModifiedFlag();
	m_bCopiaInCorso = TRUE;
	m_ModelloCopiato = aModDest;
	m_EsercizioCopiato = aEsDest;
	UpdateDataView();
}

void Kvz_CDeRiclassificazioniDoc::ChiudiCopia()
{
	if (!m_bCopiaInCorso)
		return;
	m_bCopiaInCorso = FALSE;
	// Saved, the model keeps what the copy wrote.
	try
	{
		Kvz_TRRiclassificazioneTesta teste(this);
		if (teste.FindRecord(m_EsercizioCopiato, m_ModelloCopiato) == TableReader::FOUND)
			return;
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::ChiudiCopia");
		return;
	}
	CancellaSimboliCopiati();
}

void Kvz_CDeRiclassificazioniDoc::CancellaSimboliCopiati()
{
	m_ModelloDaAzzerare = m_ModelloCopiato;
	m_EsercizioDaAzzerare = m_EsercizioCopiato;
	CPLVContext* pContext = GetContext();
	if (!pContext)
		return;
	if (pContext->IsInTransaction())
	{
		CancellaTuttiISimboli();
		return;
	}
	if (!pContext->StartTransaction())
	{
		Message(AfxLoadSourceString(_T("Non è possibile aprire una nuova transazione."), kSource));
		return;
	}
	if (CancellaTuttiISimboli() && Conferma(pContext, "Kvz_CDeRiclassificazioniDoc::ChiudiCopia"))
		return;
	pContext->UnlockAll();
	pContext->Rollback();
}

BOOL Kvz_CDeRiclassificazioniDoc::CopiaTuttiISimboli()
{
	SqlSession* pSession = GetUpdatableSqlSession();
	const DataInt aEsOrig = RCL_COPIA_ESERC;
	const DataStr aModOrig = RCL_COPIA_DA;
	const DataInt& aEsDest = GetTesta()->f_Esercizio;
	const DataStr& aModDest = GetTesta()->f_ModelloRiclassific;
	const WORD tipo = GetTesta()->f_TipoModello.GetItemValue();
	try
	{
		const DataDate oggi = AfxGetApplicationDate();
		kvz_copia::CopiaSimboli<Kvz_TAnagSimboli, Kvz_TUAnagSimboli>(pSession, aEsOrig, aModOrig, aEsDest, aModDest,
																	 [&oggi](Kvz_TAnagSimboli& r) {
																		 r.f_DataCreazione = oggi;
																		 r.f_DataUltModifica = oggi;
																	 });
		kvz_copia::CopiaSimboli<Kvz_TSimboliPianoBase, Kvz_TUSimboliPianoBase>(pSession, aEsOrig, aModOrig, aEsDest,
																			   aModDest, [](Kvz_TSimboliPianoBase&) {});
		CopiaElenchiConti(pSession, aEsOrig, aModOrig);
		// A job model's extra-accounting codes named after the job follow it to the new job.
		const BOOL bCommessa = tipo == KVZ_MODELLO_COMMESSA;
		if (bCommessa && !kvz_copia::LeggiSimboli<Kvz_TSimboliCodiciExtracont>(pSession, aEsOrig, aModOrig).empty())
			CreaCodiceExtracontabile(aModOrig, aModDest);
		kvz_copia::CopiaSimboli<Kvz_TSimboliCodiciExtracont, Kvz_TUSimboliCodiciExtracont>(
			pSession, aEsOrig, aModOrig, aEsDest, aModDest, [&](Kvz_TSimboliCodiciExtracont& r) {
				if (!bCommessa)
					return;
				if (r.f_ValoreCodice.GetString() == aModOrig.GetString())
					r.f_ValoreCodice = aModDest;
				if (r.f_ValoreCodiceA.GetString() == aModOrig.GetString())
					r.f_ValoreCodiceA = aModDest;
			});
		kvz_copia::CopiaSimboli<Kvz_TSimboliOutputRiclass, Kvz_TUSimboliOutputRiclass>(
			pSession, aEsOrig, aModOrig, aEsDest, aModDest,
			kvz_copia::RiportaValori<Kvz_TSimboliOutputRiclass>(aModOrig, aEsDest, aModDest));
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CDeRiclassificazioniDoc::CopiaTuttiISimboli");
		return FALSE;
	}
	return TRUE;
}

void Kvz_CDeRiclassificazioniDoc::CopiaElenchiConti(SqlSession* pSession, const DataInt& aEsOrig, const DataStr& aModOrig)
{
	const DataInt& aEsDest = GetTesta()->f_Esercizio;
	const DataStr& aModDest = GetTesta()->f_ModelloRiclassific;
	const WORD tipo = GetTesta()->f_TipoModello.GetItemValue();
	const BOOL bSuCentro = tipo == KVZ_MODELLO_COMMESSA || tipo == KVZ_MODELLO_CENTRO;
	Kvz_TRElencoContiSimboloPBase trovaConto(this);
	trovaConto.SetSqlSession(pSession);
	Kvz_TElencoContiSimboloPBase nuovo;
	SqlTable scrivi(&nuovo, pSession, this);
	scrivi.Open(TRUE, FALSE, TRUE);
	for (const auto& pConto : kvz_copia::LeggiSimboli<Kvz_TElencoContiSimboloPBase>(pSession, aEsOrig, aModOrig))
	{
		// A list on the source's own job or cost centre moves to the target's.
		const BOOL bSostituisci = bSuCentro && pConto->f_CentroCommessa.GetString() == aModOrig.GetString();
		const DataStr centro = bSostituisci ? aModDest : pConto->f_CentroCommessa;
		if (bSostituisci)
			AssicuraCentroConto(pSession, aEsDest, pConto->f_ContoSelez, pConto->f_TipoCentroComm, aModDest);
		if (trovaConto.FindRecord(aEsDest, pConto->f_NomeSimbolo, aModDest, pConto->f_ContoSelez,
								  pConto->f_TipoCentroComm, centro) == TableReader::NOT_FOUND)
		{
			scrivi.AddNew(TRUE);
			nuovo = *pConto;
			nuovo.f_Esercizio = aEsDest;
			nuovo.f_ModelloRiclassific = aModDest;
			nuovo.f_CentroCommessa = centro;
			scrivi.Update();
		}
		if (aEsDest.GetValue() == aEsOrig.GetValue())
			continue;
		// The account's cost centres and jobs of the source year exist in the target year too.
		Kvz_TCentriCommesseContiKvz reg;
		SqlTable tReg(&reg, pSession, this);
		tReg.Open();
		tReg.SelectAll();
		tReg.AddParam(_T("p1"), reg.f_Esercizio);
		tReg.AddFilterColumn(reg.f_Esercizio);
		tReg.AddParam(_T("p2"), reg.f_ContoKvz);
		tReg.AddFilterColumn(reg.f_ContoKvz);
		tReg.AddParam(_T("p3"), reg.f_Tipo);
		tReg.AddFilterColumn(reg.f_Tipo);
		tReg.AddSortColumn(reg.f_CentroCommessa);
		tReg.SetParamValue(_T("p1"), aEsOrig);
		tReg.SetParamValue(_T("p2"), pConto->f_ContoSelez);
		tReg.SetParamValue(_T("p3"), pConto->f_TipoCentroComm);
		std::vector<CString> centri;
		for (tReg.Query(); !tReg.IsEOF(); tReg.MoveNext())
			centri.push_back(reg.f_CentroCommessa.GetString());
		tReg.Close();
		for (const CString& c : centri)
			AssicuraCentroConto(pSession, aEsDest, pConto->f_ContoSelez, pConto->f_TipoCentroComm, DataStr(c));
	}
	scrivi.Close();
}

void Kvz_CDeRiclassificazioniDoc::AssicuraCentroConto(SqlSession* pSession, const DataInt& aEsercizio,
													  const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCentro)
{
	Kvz_TUCentriCommesseContiKvz registro(this);
	registro.SetSqlSession(pSession);
	const auto result = registro.FindRecord(aEsercizio, aConto, aCentro, aTipo, FALSE);
	if (result == TableReader::FOUND)
		return;
	if (result != TableReader::NOT_FOUND)
		RigaBloccata(Kvz_TCentriCommesseContiKvz::GetStaticName(), aConto);
	Kvz_TCentriCommesseContiKvz* pRec = registro.GetRecord();
	pRec->f_Esercizio = aEsercizio;
	pRec->f_ContoKvz = aConto;
	pRec->f_CentroCommessa = aCentro;
	pRec->f_Tipo = aTipo;
	if (aTipo.GetItemValue() == 1)
	{
		TRJobs jobs(this);
		if (jobs.FindRecord(aCentro) == TableReader::FOUND)
			pRec->f_Descrizione = jobs.GetRecord()->f_Description;
	}
	else
	{
		TRCostCenters centri(this);
		if (centri.FindRecord(aCentro) == TableReader::FOUND)
			pRec->f_Descrizione = centri.GetRecord()->f_Description;
	}
	pRec->f_InseritoManualmente = FALSE;
	pRec->f_PercRipartizione = 0.0;
	pRec->f_InseritoDaSimbolo = TRUE;
	pRec->f_SaldoVariato = TRUE;
	registro.UpdateRecord();
	registro.Free();
}

void Kvz_CDeRiclassificazioniDoc::CreaCodiceExtracontabile(const DataStr& aOrig, const DataStr& aDest)
{
	SqlSession* pSession = GetUpdatableSqlSession();
	const DataInt& aEsercizio = GetTesta()->f_Esercizio;
	auto teste = [&](const DataStr& aCodice) {
		return kvz_copia::LeggiDi<Kvz_TCodExtracontabiliTesta>(pSession, &Kvz_TCodExtracontabiliTesta::f_Esercizio,
																aEsercizio, &Kvz_TCodExtracontabiliTesta::f_CodExtracont,
																aCodice);
	};
	if (!teste(aDest).empty())
		return;
	const auto orig = teste(aOrig);
	if (orig.empty())
		return;
	const auto mesi = kvz_copia::LeggiDi<Kvz_TCodExtracontabili>(pSession, &Kvz_TCodExtracontabili::f_Esercizio, aEsercizio,
																 &Kvz_TCodExtracontabili::f_CodExtracont, aOrig);
	Kvz_TCodExtracontabiliTesta testa;
	SqlTable tTesta(&testa, pSession, this);
	tTesta.Open(TRUE);
	tTesta.AddNew(TRUE);
	testa = *orig.front();
	testa.f_CodExtracont = aDest;
	tTesta.Update();
	tTesta.Close();
	Kvz_TCodExtracontabili mese;
	SqlTable tMesi(&mese, pSession, this);
	tMesi.Open(TRUE);
	for (const auto& pMese : mesi)
	{
		tMesi.AddNew(TRUE);
		mese = *pMese;
		mese.f_CodExtracont = aDest;
		tMesi.Update();
	}
	tMesi.Close();
}

// ---- counters view and report ------------------------------------------------------------------

void Kvz_CDeRiclassificazioniDoc::OnVisualizzaContatori()
{
	if (GetFormMode() == NEW || GetFormMode() == EDIT)
	{
		CaricaCodiciFormulaRighe();
		SalvaContatori();
	}
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		m_pViewContatori = pCmd->RunDocument(kViewContatori, _T("Default"), nullptr, this);
}

void Kvz_CDeRiclassificazioniDoc::OnReportRiclassificazione()
{
	if (!m_pDBTRighe->GetRigaCorrente())
		return;
	if (GetFormMode() == NEW || GetFormMode() == EDIT)
	{
		CaricaCodiciFormulaRighe();
		SalvaContatori();
	}
	EseguiReport(kReport);
}

void Kvz_CDeRiclassificazioniDoc::EseguiReport(LPCTSTR szNamespace)
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(szNamespace));
	pInfo->AddReport(CPLVNamespace(szNamespace));
	pInfo->AddParam(_T("w_EsercizioInput"), GetTesta()->f_Esercizio);
	pInfo->AddParam(_T("w_ModelloInput"), GetTesta()->f_ModelloRiclassific);
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

DataMon Kvz_CDeRiclassificazioniDoc::ScegliValoreEsplosione(const DataMon& a, const DataMon& b, const DataMon& c) const
{
	return m_bEsplosioneSaldo ? a : m_bEsplosioneRateo ? b : c;
}

// ---- explosion rows read by reports ------------------------------------------------------------

DataBool Kvz_CDeRiclassificazioniDoc::Kvz_GetNextRigaEsplos(DataInt& nRiga, DataStr& aTitolo, DataStr& aTesto)
{
	const int i = nRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_RigheEsplosione.size())
		return DataBool(FALSE);
	Kvz_RigaEsplosione& r = m_RigheEsplosione[static_cast<size_t>(i)];
	if (r.TipoSimbolo.GetValue() == 0)
		r.TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
	if (!r.Titolo)
	{
		aTesto = r.Testo;
		return DataBool(TRUE);
	}
	aTitolo = r.Testo;
	nRiga = i + 1;
	if (static_cast<size_t>(i + 1) < m_RigheEsplosione.size())
		aTesto = m_RigheEsplosione[static_cast<size_t>(i + 1)].Testo;
	return DataBool(TRUE);
}

DataBool Kvz_CDeRiclassificazioniDoc::Kvz_GetSubNextRigaEsplos(DataInt nRiga, DataInt& nSubRiga, DataStr& aTesto1,
															   DataStr& aTesto2, DataStr& aTesto3, DataStr& aTesto4,
															   DataStr& aTesto5, DataStr& aTesto6, DataMon& aImporto1,
															   DataMon& aImporto2)
{
	const int i = nRiga.GetValue();
	const int j = nSubRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_RigheEsplosione.size())
		return DataBool(FALSE);
	const auto& dettagli = m_RigheEsplosione[static_cast<size_t>(i)].Dettagli;
	if (j < 0 || static_cast<size_t>(j) >= dettagli.size())
		return DataBool(FALSE);
	const Kvz_RigaEsplosione::Dettaglio& d = dettagli[static_cast<size_t>(j)];
	DataStr* testi[] = {&aTesto1, &aTesto2, &aTesto3, &aTesto4, &aTesto5, &aTesto6};
	for (int k = 0; k < 6; ++k)
		*testi[k] = d.Testi[k];
	aImporto1 = d.Importi[0];
	aImporto2 = d.Importi[1];
	return DataBool(TRUE);
}

DataBool Kvz_CDeRiclassificazioniDoc::Kvz_GetDescrRigaEsplos(DataInt nRiga, DataStr& aDescrizione, DataInt& nLivello,
															  DataBool& bSimbolo)
{
	const int i = nRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_RigheEsplosione.size())
		return DataBool(FALSE);
	const Kvz_RigaEsplosione& r = m_RigheEsplosione[static_cast<size_t>(i)];
	aDescrizione = r.Descrizione;
	nLivello = r.Livello;
	bSimbolo = r.Titolo ? DataBool(FALSE) : DataBool(TRUE);
	return DataBool(TRUE);
}

// ---- form --------------------------------------------------------------------------------------

BOOL Kvz_CDeRiclassificazioniFrame::OnCreateAuxToolbar()
{
	AddToolbarCommand(ID_RCL_VISUALIZZA_CONTATORI, AfxLoadSourceString(_T("Contatori"), kSource));
	return TRUE;
}

void Kvz_RiclassRigheDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDocument());
	AddLink(IDC_RCL_RIGHE, _T("Righe riclassificazioni"), RUNTIME_CLASS(Kvz_RiclassificRigheBodyEdit), pDoc->GetDBTRighe());
}

BOOL Kvz_RiclassRigheDlg::OnPrepareAuxData()
{
	static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDocument())->IntitolaColonneFormula();
	return TRUE;
}

void Kvz_AltriDatiDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDocument());
	Kvz_TRiclassificazioneTesta* pTesta = pDoc->GetTesta();
	AddLink(IDC_RCL_DATAINIZIO, _T("DataInizio"), RUNTIME_CLASS(CDateEdit), &pTesta->f_DataInizio);
	AddLink(IDC_RCL_DATAFINE, _T("DataFine"), RUNTIME_CLASS(CDateEdit), &pTesta->f_DataFine);
	SetLabels({{_T("DataInizio"), _T("Data inizio")}, {_T("DataFine"), _T("Data fine")}});
	AddLink(IDC_RCL_COPIA_ESERC, _T("RCL_COPIA_ESERC"), RUNTIME_CLASS(CIntEdit), &pDoc->RCL_COPIA_ESERC);
	SetLabels({{_T("RCL_COPIA_ESERC"), _T("Copia dall'esercizio")}});
	pDoc->RCL_COPIA_ESERC.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_RCL_COPIA_DA, _T("RCL_COPIA_DA"), RUNTIME_CLASS(CStrEdit), &pDoc->RCL_COPIA_DA, pDoc->m_pHKLCopiaDa);
	SetLabels({{_T("RCL_COPIA_DA"), _T("Copia dal modello")}});
	AddLink(IDC_RCL_ANCHE_FORMULE, _T("RCL_ANCHE_FORMULE"), RUNTIME_CLASS(CBoolButton), &pDoc->RCL_ANCHE_FORMULE);
	SetLabels({{_T("RCL_ANCHE_FORMULE"), _T("Anche le formule")}});
	AddButton(IDC_RCL_COPIA, _T("RCL_COPIA"));
	SetLabels({{_T("RCL_COPIA"), _T("Copia")}});
	auto* pFormula = static_cast<Kvz_CFormulaEdit*>(AddLink(IDC_RCL_FORMULA_PARAM, _T("FormulaCalcParametrico"),
															RUNTIME_CLASS(Kvz_CFormulaEdit), &pTesta->f_FormulaCalcParametrico));
	if (pFormula)
	{
		pFormula->SetPos(0);
		pFormula->SetLabel(_T("Formula calcolo parametrico"));
	}
	AddLink(IDC_RCL_RAGGRUPP, _T("Codici di raggruppamento"), RUNTIME_CLASS(Kvz_RaggruppBodyEdit),
			pDoc->GetMaster()->GetDBTSlave(_T("DBTRaggrupp")));
	AddLink(IDC_RCL_DESCRIZIONI, _T("Descrizioni colonne"), RUNTIME_CLASS(Kvz_DescrizioniBodyEdit),
			pDoc->GetDBTDescrizioni());
}

void Kvz_OperatoriStampeDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDocument());
	AddLink(IDC_RCL_TUTTI_OPERATORI, _T("TuttiOperatori"), RUNTIME_CLASS(CBoolButton), &pDoc->GetTesta()->f_TuttiOperatori);
	SetLabels({{_T("TuttiOperatori"), _T("Tutti gli operatori")}});
	AddLink(IDC_RCL_OPERATORI, _T("Operatori stampe"), RUNTIME_CLASS(Kvz_OperatoriStampeBodyEdit),
			pDoc->GetMaster()->GetDBTSlave(_T("DBTOperatoriStampe")));
}

void Kvz_CDeRiclassificazioniView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(GetDocument());
	Kvz_TRiclassificazioneTesta* pTesta = pDoc->GetTesta();
	AddLink(IDC_RCL_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pTesta->f_Esercizio);
	pDoc->SetCtrlModello(AddLink(IDC_RCL_MODELLO, _T("ModelloRiclassific"), RUNTIME_CLASS(CStrEdit),
								 &pTesta->f_ModelloRiclassific, pDoc->m_pHKLJobs));
	AddLink(IDC_RCL_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pTesta->f_Descrizione);
	AddLink(IDC_RCL_PRIORITA, _T("Priorita"), RUNTIME_CLASS(CIntEdit), &pTesta->f_Priorita);
	AddLink(IDC_RCL_TIPOMODELLO, _T("TipoModello"), RUNTIME_CLASS(CEnumCombo), &pTesta->f_TipoModello);
	// Linked under their columns' names, which --set still takes.
	SetLabels({{_T("ModelloRiclassific"), _T("Modello")},
			   {_T("Priorita"), _T("Priorità")},
			   {_T("TipoModello"), _T("Tipo modello")}});
	CTabManager* pTabs = AddTabManager(IDC_RCL_TABBER, _T("Riclassificazioni"));
	pTabs->AddDialog(RUNTIME_CLASS(Kvz_RiclassRigheDlg), 0, AfxLoadSourceString(_T("Righe"), kSource));
	pTabs->AddDialog(RUNTIME_CLASS(Kvz_AltriDatiDlg), 0, AfxLoadSourceString(_T("Altri dati"), kSource));
	pTabs->AddDialog(RUNTIME_CLASS(Kvz_OperatoriStampeDlg), 0, AfxLoadSourceString(_T("Operatori stampe"), kSource));
}
