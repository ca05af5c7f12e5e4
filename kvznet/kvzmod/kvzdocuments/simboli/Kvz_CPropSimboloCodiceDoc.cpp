#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloCodiceDoc.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
// In the formula descriptions, the budget type of a formula that is no budget formula.
const WORD kNessunBudget = 3;
}  // namespace

Kvz_CPropSimboloCodiceDoc::Kvz_CPropSimboloCodiceDoc()
{
	for (DataStr* p : {&m_NomeSimbolo, &m_ValoreModello, &m_CodiceDa, &m_CodiceA})
		p->SetUpperCase();
}

CString Kvz_CPropSimboloCodiceDoc::Testo(LPCTSTR szTesto) const
{
	return AfxLoadSourceString(szTesto, Sorgente());
}

CString Kvz_CPropSimboloCodiceDoc::MessaggioCodice() const
{
	return Testo(_T("Indicare il codice riclassificato."));
}

// ---- lookups ------------------------------------------------------------------------------------

void Kvz_CPropSimboloCodiceDoc::CreaLookupDescrizioni()
{
	m_pHKLDescrFormula = new Kvz_HKLDescrFormula;
	Attach(m_pHKLDescrFormula, CString());
	m_pHKLDescrFormula->MustExistData(TRUE);
	m_pHKLDescrFormula->EnableAddOnFly(FALSE);
	m_pHKLDescrFormula->SetEsercizio(EsercizioContesto());
	m_pHKLDescrFormula->SetTipoCodice(DataEnum(E_KVZ_TIPOSIMBOLO, TipoCodiceDescrizioni()));
	m_pHKLDescrFormula->SetCodice(CodiceDescrizioni());
}

void Kvz_CPropSimboloCodiceDoc::CreaLookupRiclassificati()
{
	for (KVZ_HKLCodiciRiclassificato** pp : {&m_pHKLCodRiclDa, &m_pHKLCodRiclA})
	{
		*pp = new KVZ_HKLCodiciRiclassificato;
		Attach(*pp, CString());
		(*pp)->SetSelEsercizio(EsercizioContesto());
		(*pp)->SetSelModello(m_ValoreModello);
		(*pp)->EnableAddOnFly(FALSE);
		(*pp)->MustExistData(FALSE);
	}
	m_pHKLModello = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLModello, CString());
	m_pHKLModello->SetSelEsercizio(EsercizioContesto());
	m_pHKLModello->MustExistData(FALSE);
}

void Kvz_CPropSimboloCodiceDoc::FiltraCodiciPerModello()
{
	for (KVZ_HKLCodiciRiclassificato* p : {m_pHKLCodRiclDa, m_pHKLCodRiclA})
		if (p)
			p->SetSelModello(m_ValoreModello);
	if (m_pHKLDescrFormula)
		m_pHKLDescrFormula->SetCodice(CodiceDescrizioni());
}

// ---- opening ------------------------------------------------------------------------------------

BOOL Kvz_CPropSimboloCodiceDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!PrendiContesto(pInfo, MetodoApertura(), Sorgente()))
		return FALSE;
	// The lookups are made on the context's year and model: the data is attached first.
	if (!Kvz_CPropSimboloDoc::OnOpenDocument(pInfo))
		return FALSE;
	if (IsNuovo())
	{
		m_AziendaCorrente = TRUE;
		m_UsaAziendaEsterna = FALSE;
		m_NomeSimbolo = NomeProposto(PrefissoNome());
		m_Annotazioni = m_DescrizioneRiga;
		m_EsSymb = TRUE;
		m_EsConst = FALSE;
		m_MeseSymb = TRUE;
		m_MeseConst = FALSE;
		m_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 0);
		m_NrColonna = 0;
		m_UsaPrincipale = TRUE;
		m_UsaColonna = FALSE;
		m_UsaBudget = FALSE;
		ImpostaDefault();
	}
	else
	{
		m_NomeSimbolo = m_NomeSimboloSelez;
		CaricaSimbolo();
	}
	FiltraCodiciPerModello();
	AggiornaStatoControlli();
	return TRUE;
}

void Kvz_CPropSimboloCodiceDoc::CaricaSimbolo()
{
	LeggiDefinizione();
	m_UsaPrincipale = m_UsaBudget != TRUE && m_NrColonna.GetValue() == 0;
	m_UsaColonna = m_UsaBudget != TRUE && m_NrColonna.GetValue() > 0;
	Kvz_TRAnagSimboli anagrafica(this);
	anagrafica.SetSqlSession(GetReadOnlySqlSession());
	if (anagrafica.FindRecord(EsercizioContesto(), m_NomeSimbolo, m_Modello) == TableReader::FOUND)
	{
		m_UsaAziendaEsterna = anagrafica.GetRecord()->f_UsaAziendaEsterna;
		m_Azienda = anagrafica.GetRecord()->f_Azienda;
	}
	m_AziendaCorrente = m_UsaAziendaEsterna != TRUE;
	if (m_pHKLAziende)
		m_pHKLAziende->FindRecord(&m_Azienda);
	Kvz_TRDescrFormula descrizioni(this);
	descrizioni.SetSqlSession(GetReadOnlySqlSession());
	const WORD tipoBudget = HaBudget() && m_UsaBudget == TRUE ? m_TipoBudget.GetItemValue() : kNessunBudget;
	if (descrizioni.FindRecord(EsercizioContesto(), DataEnum(E_KVZ_TIPOSIMBOLO, TipoCodiceDescrizioni()),
							   CodiceDescrizioni(), DataEnum(E_KVZ_TIPOBUDGET, tipoBudget),
							   m_NrColonna) == TableReader::FOUND)
		m_DescrFormula = descrizioni.GetRecord()->f_Descrizione;
}

// ---- field states -------------------------------------------------------------------------------

void Kvz_CPropSimboloCodiceDoc::AggiornaStatoControlli()
{
	AggiornaStatoAzienda();
	m_DescrFormula.SetReadOnly(CodiceDescrizioni().IsEmpty());
	m_NomeSimbolo.SetReadOnly(!IsNuovo());
	m_Es.SetReadOnly(m_EsSymb == TRUE);
	if (m_EsSymb == TRUE)
		m_Es.Clear();
	if (HaMese())
	{
		m_Mese.SetReadOnly(m_MeseSymb == TRUE);
		if (m_MeseSymb == TRUE)
			m_Mese.Clear();
	}
	m_ValoreModello.SetReadOnly(m_ModelloSymb == TRUE);
	if (m_ModelloSymb == TRUE)
		m_ValoreModello.Clear();
	const BOOL bBudget = HaBudget() && m_UsaBudget == TRUE;
	m_TipoBudget.SetReadOnly(!bBudget);
	m_UsaPrincipale.SetReadOnly(bBudget);
	m_UsaColonna.SetReadOnly(bBudget);
	const BOOL bSenzaColonna = m_UsaPrincipale == TRUE || bBudget;
	m_NrColonna.SetReadOnly(bSenzaColonna);
	if (bSenzaColonna)
		m_NrColonna = 0;
	UpdateDataView();
}

void Kvz_CPropSimboloCodiceDoc::DisableControlsForBatch()
{
	AggiornaStatoControlli();
}

// ---- handlers -----------------------------------------------------------------------------------

void Kvz_CPropSimboloCodiceDoc::OnAbilita()
{
	AggiornaStatoControlli();
}

void Kvz_CPropSimboloCodiceDoc::OnModelloChanged()
{
	FiltraCodiciPerModello();
	m_DescrFormula.SetReadOnly(CodiceDescrizioni().IsEmpty());
	UpdateDataView();
}

void Kvz_CPropSimboloCodiceDoc::OnCodiceDaChanged()
{
	m_CodiceA = m_CodiceDa;
	FiltraCodiciPerModello();
	m_DescrFormula.SetReadOnly(CodiceDescrizioni().IsEmpty());
	UpdateDataView();
}

void Kvz_CPropSimboloCodiceDoc::OnDescrizioneChanged()
{
	const Kvz_TDescrFormula* pRiga = m_pHKLDescrFormula ? m_pHKLDescrFormula->GetRecord() : nullptr;
	if (!pRiga)
		return;
	m_NrColonna = pRiga->f_IndiceFormula;
	if (!HaBudget() || pRiga->f_TipoBudget.GetItemValue() == kNessunBudget)
	{
		m_UsaPrincipale = m_NrColonna.GetValue() == 0;
		m_UsaColonna = m_NrColonna.GetValue() != 0;
		m_UsaBudget = FALSE;
		if (HaBudget())
			m_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, kNessunBudget);
	}
	else
	{
		m_UsaPrincipale = FALSE;
		m_UsaColonna = TRUE;
		m_UsaBudget = TRUE;
		m_TipoBudget = pRiga->f_TipoBudget;
	}
	AggiornaStatoControlli();
}

void Kvz_CPropSimboloCodiceDoc::OnOk()
{
	BatchStart();
}

void Kvz_CPropSimboloCodiceDoc::OnAnnulla()
{
	m_bConfermato = FALSE;
	CloseDocument(TRUE);
}

void Kvz_CPropSimboloCodiceDoc::OnCopiaInNuovoSimbolo()
{
	if (!SalvaSimbolo())
		return;
	// The form stays linked to the editor, which stays disabled: the closing step hands it the
	// copy. Its list shows the symbol just saved even if the copy is then cancelled.
	if (m_pFormulaDoc)
		m_pFormulaDoc->RiempiListBoxSimboli();
	// The definition stays on the form, to be saved under another name.
	m_ModoDoc = DataEnum(E_KVZ_MODODOCSIMBOLO, 0);
	m_NomeSimbolo.Clear();
	SetCtrlFocus(m_NomeSimbolo);
	AggiornaStatoControlli();
}

void Kvz_CPropSimboloCodiceDoc::OnCloseDocument()
{
	// The confirmation saved already (it refuses to confirm what it could not save).
	RestituisciAlEditore(m_bConfermato == TRUE, IsNuovo(), m_NomeSimbolo);
	Kvz_CPropSimboloDoc::OnCloseDocument();
}

// ---- checking and saving ------------------------------------------------------------------------

BOOL Kvz_CPropSimboloCodiceDoc::Rifiuta(const CString& strTesto, const DataObj& aFocus)
{
	AfxMessageBox(strTesto);
	SetCtrlFocus(aFocus);
	return FALSE;
}

BOOL Kvz_CPropSimboloCodiceDoc::VerificaSimbolo()
{
	const CString errNome = ControllaNome(m_NomeSimbolo, IsNuovo(), Sorgente());
	if (!errNome.IsEmpty())
		return Rifiuta(errNome, m_NomeSimbolo);
	if (m_EsConst == TRUE && m_Es.IsEmpty())
		return Rifiuta(Testo(_T("Indicare l'esercizio.")), m_Es);
	if (HaMese() && m_MeseConst == TRUE && m_Mese.IsEmpty())
		return Rifiuta(Testo(_T("Indicare il mese.")), m_Mese);
	// A month the year has not: no value could ever be read for it.
	if (HaMese() && m_MeseConst == TRUE && (m_Mese.GetValue() < 1 || m_Mese.GetValue() > 12))
		return Rifiuta(Testo(_T("Il mese deve essere compreso tra 1 e 12.")), m_Mese);
	if (ModelloRichiesto() && m_ValoreModello.IsEmpty())
		return Rifiuta(Testo(_T("Indicare il modello di riclassificazione.")), m_ValoreModello);
	if (m_CodiceDa.IsEmpty() && m_CodiceA.IsEmpty())
		return Rifiuta(MessaggioCodice(), m_CodiceDa);
	if (m_UsaColonna == TRUE && (m_NrColonna.GetValue() < 1 || m_NrColonna.GetValue() > 10))
		return Rifiuta(Testo(_T("Il numero di colonna deve essere compreso tra 1 e 10.")), m_NrColonna);
	return TRUE;
}

BOOL Kvz_CPropSimboloCodiceDoc::SalvaSimbolo()
{
	if (!VerificaSimbolo())
		return FALSE;
	return SalvaInTransazione(
		[&](SqlSession* pSession) {
			return ScriviAnagrafica(pSession, m_NomeSimbolo, TipoSimbolo()) && ScriviDefinizione(pSession);
		},
		Sorgente());
}

// ---- form ---------------------------------------------------------------------------------------

namespace {
// Each control shows the form's text; its link name is still taken by --set.
void Link(CParsedForm& form, const Kvz_CtrlSimbolo& c, LPCTSTR szEtichetta, CRuntimeClass* pClasse, DataObj& data,
		  HotKeyLinkObj* pLookup = nullptr)
{
	if (c.nID)
		if (CParsedCtrl* p = form.AddLink(c.nID, c.szNome, pClasse, &data, pLookup))
			p->SetLabel(szEtichetta);
}

void Radio(CParsedForm& form, const Kvz_CtrlSimbolo& c, LPCTSTR szEtichetta, DataBool& data,
		   const Kvz_CtrlSimbolo& gruppo)
{
	if (c.nID)
		if (CParsedCtrl* p = form.AddRadio(c.nID, c.szNome, &data, static_cast<int>(gruppo.nID)))
			p->SetLabel(szEtichetta);
}
}  // namespace

void Kvz_CPropSimboloCodiceView::BuildDataControlLinks()
{
	auto* pDoc = DynamicDownCast<Kvz_CPropSimboloCodiceDoc>(GetDocument());
	const Kvz_FormSimboloCodice& f = pDoc->Form();
	Link(*this, f.descrDocumento, _T("Documento"), RUNTIME_CLASS(CStrStatic), pDoc->m_Descrizione);
	Link(*this, f.esercizioVis, _T("Esercizio"), RUNTIME_CLASS(CIntStatic), pDoc->m_Esercizio);
	// Symbols belong to a model: opened without the formula editor, the user names it.
	Link(*this, f.modelloVis, _T("Modello"), pDoc->GetFormulaDoc() ? RUNTIME_CLASS(CStrStatic) : RUNTIME_CLASS(CStrEdit),
		 pDoc->m_Modello);
	Link(*this, f.codiceVis, _T("Riga"), RUNTIME_CLASS(CStrStatic), pDoc->m_CodiceCheUtilizza);
	Link(*this, f.tipoRiga, _T("Tipo riga"), RUNTIME_CLASS(CEnumStatic), pDoc->m_TipoRiga);
	Link(*this, f.descrRiga, _T("Descrizione riga"), RUNTIME_CLASS(CStrStatic), pDoc->m_DescrizioneRiga);
	AddButton(f.nOk, _T("OK"));
	AddButton(f.nAnnulla, _T("Annulla"));
	AddButton(f.nCopia, _T("Copia in nuovo simbolo"));
	auto* pTabber = static_cast<CTabManager*>(AddLink(f.tabber.nID, f.tabber.szNome, ClasseTabber(), nullptr));
	pTabber->AddDialog(ClasseTab(), f.nTab, AfxLoadSourceString(_T("Dati"), "Kvz_CPropSimboloDoc"));
	pTabber->AddDialog(RUNTIME_CLASS(Kvz_CAziendeSimboloTabDlg), IDD_AZIENDE_SIMBOLO,
					   AfxLoadSourceString(_T("Azienda"), "Kvz_CPropSimboloDoc"));
}

void Kvz_CDatiSimboloCodiceTabDlg::BuildDataControlLinks()
{
	auto* pDoc = DynamicDownCast<Kvz_CPropSimboloCodiceDoc>(GetDocument());
	if (!pDoc)
		return;
	const Kvz_FormSimboloCodice& f = pDoc->Form();
	Kvz_CPropSimboloCodiceDoc& d = *pDoc;
	Link(*this, f.nome, _T("Nome del simbolo"), RUNTIME_CLASS(CStrEdit), d.m_NomeSimbolo);
	d.m_NomeSimbolo.SetFieldRule({FieldRule::CODE, kKvzLenNomeSimbolo});
	Link(*this, f.note, _T("Note"), RUNTIME_CLASS(CStrEdit), d.m_Annotazioni);
	Link(*this, f.descrFormula, _T("Seleziona formula"), RUNTIME_CLASS(CStrEdit), d.m_DescrFormula, d.m_pHKLDescrFormula);
	Link(*this, f.aggreg, _T("Funzione di agregazione"), RUNTIME_CLASS(Kvz_AggregFunctionFiltratoCombo),
		 d.m_AggregFunction);
	Radio(*this, f.princ, _T("Principale"), d.m_UsaPrincipale, f.princ);
	Radio(*this, f.colonna, _T("Colonna numero"), d.m_UsaColonna, f.princ);
	Link(*this, f.nrColonna, _T("Numero della colonna"), RUNTIME_CLASS(CIntEdit), d.m_NrColonna);
	Link(*this, f.budget, _T("Formula del tipo budget"), RUNTIME_CLASS(CBoolButton), d.m_UsaBudget);
	Link(*this, f.tipoBudget, _T("Tipo budget"), RUNTIME_CLASS(Kvz_TipoBudgetInputCombo), d.m_TipoBudget);
	Radio(*this, f.esConst, _T("Esercizio costante"), d.m_EsConst, f.esConst);
	Radio(*this, f.esSymb, _T("Esercizio da parametro"), d.m_EsSymb, f.esConst);
	Link(*this, f.es, _T("Valore esercizio"), RUNTIME_CLASS(CIntEdit), d.m_Es);
	Radio(*this, f.meseConst, _T("Mese costante"), d.m_MeseConst, f.meseConst);
	Radio(*this, f.meseSymb, _T("Mese da parametro"), d.m_MeseSymb, f.meseConst);
	Link(*this, f.mese, _T("Valore mese"), RUNTIME_CLASS(CIntEdit), d.m_Mese);
	Radio(*this, f.modConst, _T("Modello costante"), d.m_ModelloConst, f.modConst);
	Radio(*this, f.modSymb, _T("Modello da parametro"), d.m_ModelloSymb, f.modConst);
	Link(*this, f.modello, _T("Modello di riclassificazione"), RUNTIME_CLASS(CStrEdit), d.m_ValoreModello,
		 d.m_pHKLModello);
	Link(*this, f.codiceDa, _T("Codice da"), RUNTIME_CLASS(CStrEdit), d.m_CodiceDa, d.LookupCodice(TRUE));
	Link(*this, f.codiceA, _T("Codice a"), RUNTIME_CLASS(CStrEdit), d.m_CodiceA, d.LookupCodice(FALSE));
	AggiungiAltri(d);
}
