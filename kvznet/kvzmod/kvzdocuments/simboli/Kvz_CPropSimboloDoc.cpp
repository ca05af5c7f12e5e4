#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloDoc.h"

#include <cstring>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kAmmessi = "01234567890qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM";
}


// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CPropSimboloDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_CORRENTE, OnSceltaAziendaChanged)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_ESTERNA, OnSceltaAziendaChanged)
	ON_EN_VALUE_CHANGED(IDC_SEL_AZ_COD_AZIENDA, OnCodAziendaChanged)
END_MESSAGE_MAP()

Kvz_CPropSimboloDoc::Kvz_CPropSimboloDoc()
{
	SetBatchDocument(TRUE);
}

Kvz_CPropSimboloDoc::~Kvz_CPropSimboloDoc() = default;

CString Kvz_CPropSimboloDoc::NamespaceDocumento(const DataEnum& aTipoSimbolo)
{
	if (aTipoSimbolo.GetTagValue() != E_KVZ_TIPOSIMBOLO)
		return CString();
	switch (aTipoSimbolo.GetItemValue())
	{
	case KVZ_SIMBOLO_PBASE:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloPBase");
	case KVZ_SIMBOLO_EXTRACONT:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloExtraC");
	case KVZ_SIMBOLO_RICLASS:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloRiclass");
	case KVZ_SIMBOLO_OUTRICLASS:
		return _T("KvzNet.KvzMod.KvzDocuments.BDPropSimboloOutRiclass");
	default:
		return CString();
	}
}

CBaseDocument* Kvz_CPropSimboloDoc::ApriDocumento(const DataEnum& aTipoSimbolo, CBaseDocument* pCaller)
{
	const CString ns = NamespaceDocumento(aTipoSimbolo);
	CPlvCommandInterface* pManager = AfxGetPlvCmdManager();
	if (ns.IsEmpty() || !pManager)
		return nullptr;
	return pManager->RunDocument(ns, _T("Default"), nullptr, pCaller);
}

// The document whose formula the editor is working on opened the editor.
Kvz_CUtilizzaFormuleDoc* Kvz_CPropSimboloDoc::GetDocUtilizzo() const
{
	return m_pFormulaDoc ? DynamicDownCast<Kvz_CUtilizzaFormuleDoc>(m_pFormulaDoc->GetCallerDocument()) : nullptr;
}

DataLng Kvz_CPropSimboloDoc::ContatoreDettaglio(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	Kvz_CUtilizzaFormuleDoc* pDoc = GetDocUtilizzo();
	return pDoc ? pDoc->GetContatoreDettaglio(aTipoCodice, aCodice) : DataLng(0);
}

DataLng Kvz_CPropSimboloDoc::ContatoreGenerale(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	Kvz_CUtilizzaFormuleDoc* pDoc = GetDocUtilizzo();
	return pDoc ? pDoc->GetContatoreGenerale(aTipoCodice, aCodice) : DataLng(0);
}

BOOL Kvz_CPropSimboloDoc::OnAttachData()
{
	m_pHKLAziende = new Kvz_HKLAziende;
	Attach(m_pHKLAziende, CString());
	return TRUE;
}

void Kvz_CPropSimboloDoc::AggiornaStatoAzienda()
{
	m_Azienda.SetReadOnly(m_AziendaCorrente == TRUE);
}

void Kvz_CPropSimboloDoc::DisableControlsForBatch()
{
	AggiornaStatoAzienda();
}

void Kvz_CPropSimboloDoc::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	if (!SalvaConfermato())
	{
		GetContext()->Rollback();
		m_bBatchNotStarted = true;
		return;
	}
	if (!GetContext()->Commit())
	{
		m_bBatchNotStarted = true;
		return;
	}
	m_bConfermato = TRUE;
	CloseDocument(TRUE);
}

void Kvz_CPropSimboloDoc::OnSceltaAziendaChanged()
{
	AggiornaStatoAzienda();
	if (m_AziendaCorrente == TRUE)
	{
		m_Azienda.Clear();
		// The lookup of the empty code clears the description and data source shown.
		m_pHKLAziende->FindRecord(&m_Azienda);
		m_pHKLAziende->GetRecord()->Init();
	}
	UpdateDataView();
}

void Kvz_CPropSimboloDoc::OnCodAziendaChanged()
{
	UpdateDataView();
}

// ---- the shared flow ---------------------------------------------------------------------------

BOOL Kvz_CPropSimboloDoc::PrendiContesto(const DocInvocationInfo* pInfo, const char* szMetodo, const char* szFile)
{
	CBaseDocument* pCaller = pInfo ? pInfo->m_pCallerDocument : nullptr;
	m_pFormulaDoc = DynamicDownCast<Kvz_CFormulaDoc>(pCaller);
	if (pCaller && !m_pFormulaDoc)
	{
		ASSERT_RELEASE_FAILED("0", szMetodo, szFile);
		return FALSE;
	}
	if (m_pFormulaDoc)
	{
		if (m_pFormulaDoc->GetMasterFrame())
			m_pFormulaDoc->GetMasterFrame()->EnableWindow(FALSE);
		m_pFormulaDoc->SetOpenSymbolDoc(this);
		m_Descrizione = m_pFormulaDoc->GetDescrizione();
		m_Esercizio = m_pFormulaDoc->GetEsercizio();
		m_DescrizioneRiga = m_pFormulaDoc->GetDescrizioneRiga();
		m_TipoRiga = m_pFormulaDoc->GetTipoRiga();
		m_Modello = m_pFormulaDoc->GetModello();
		m_TipoCodCheUtilizza = m_pFormulaDoc->GetTipoCodCheUtilizza();
		m_CodiceCheUtilizza = m_pFormulaDoc->GetCodiceCheUtilizza();
		m_ModoDoc = m_pFormulaDoc->GetModoDocSimbolo();
		m_NomeSimboloSelez = m_pFormulaDoc->GetNomeSimboloSelez();
	}
	if (m_Esercizio.IsEmpty())
		m_Esercizio = AfxGetApplicationDate().Year();
	return TRUE;
}

DataInt Kvz_CPropSimboloDoc::EsercizioContesto() const
{
	return m_Esercizio.IsEmpty() ? DataInt(AfxGetApplicationDate().Year()) : m_Esercizio;
}

DataStr Kvz_CPropSimboloDoc::NomeProposto(LPCTSTR szPrefisso) const
{
	if (!m_pFormulaDoc)
		return DataStr();
	return DataStr(CString::Formatted("%s%s%d", szPrefisso, m_CodiceCheUtilizza.GetString().GetString(),
									  m_pFormulaDoc->GetNumSimboli()));
}

CString Kvz_CPropSimboloDoc::ControllaNome(const DataStr& aNome, BOOL bNuovo, const char* szSource) const
{
	if (bNuovo && aNome.IsEmpty())
		return AfxLoadSourceString(_T("Indicare il nome del simbolo."), szSource);
	const CString nome = aNome.GetString();
	for (int i = 0; i < nome.GetLength(); ++i)
	{
		const char c = nome[i];
		if (c != '\0' && std::strchr(kAmmessi, c))
			continue;
		// The character as typed: a multi-byte one is shown whole.
		int n = 1;
		while (i + n < nome.GetLength() && (static_cast<unsigned char>(nome[i + n]) & 0xC0) == 0x80)
			++n;
		CString testo = AfxLoadSourceString(
			_T("Carattere '%c' non ammesso. Il nome del simbolo puo' contenere soltanto numeri e lettere."), szSource);
		testo.Replace(_T("%c"), nome.Mid(i, n));
		return testo;
	}
	if (bNuovo)
	{
		Kvz_TRAnagSimboli anagrafica(const_cast<Kvz_CPropSimboloDoc*>(this));
		anagrafica.SetSqlSession(const_cast<Kvz_CPropSimboloDoc*>(this)->GetReadOnlySqlSession());
		if (anagrafica.FindRecord(EsercizioContesto(), aNome, m_Modello) == TableReader::FOUND)
			return CString::Formatted(
				AfxLoadSourceString(_T("Un simbolo con questo nome e' gia' stato registrato come valore da %s."), szSource),
				anagrafica.GetRecord()->f_TipoSimbolo.Str().GetString());
	}
	return CString();
}

BOOL Kvz_CPropSimboloDoc::SalvaInTransazione(const std::function<BOOL(SqlSession*)>& scrivi, const char* szSource)
{
	CPLVContext* pContext = GetContext();
	// Inside the form's confirmation the transaction is the run's; otherwise the save opens one.
	const bool bPropria = pContext && !pContext->IsInTransaction();
	if (!pContext || (bPropria && !pContext->StartTransaction()))
	{
		AfxMessageBox(AfxLoadSourceString(_T("Non è possibile aprire una nuova transazione."), szSource));
		return FALSE;
	}
	BOOL bOk = FALSE;
	try
	{
		bOk = scrivi(GetUpdatableSqlSession());
	}
	catch (const SqlException& e)
	{
		e.ShowError(_T(""));
		bOk = FALSE;
	}
	if (bPropria)
	{
		if (bOk)
			bOk = pContext->Commit();
		else
			pContext->Rollback();
	}
	return bOk;
}

BOOL Kvz_CPropSimboloDoc::ScriviAnagrafica(SqlSession* pSession, const DataStr& aNome, WORD nTipo)
{
	const DataInt esercizio = EsercizioContesto();
	const DataDate oggi = AfxGetApplicationDate();
	Kvz_TUAnagSimboli anagrafica(this);
	anagrafica.SetSqlSession(pSession);
	anagrafica.SetAutocommit(TRUE);
	const TableReader::FindResult trovato = anagrafica.FindRecord(esercizio, aNome, m_Modello, FALSE);
	if (trovato != TableReader::FOUND && trovato != TableReader::NOT_FOUND)
		return FALSE;
	Kvz_TAnagSimboli& a = *anagrafica.GetRecord();
	if (trovato == TableReader::NOT_FOUND)
	{
		a.f_NomeSimbolo = aNome;
		a.f_ModelloRiclassific = m_Modello;
		a.f_Esercizio = esercizio;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, nTipo);
		a.f_DataCreazione = oggi;
	}
	a.f_DataUltModifica = oggi;
	a.f_UsaAziendaEsterna = IsAziendaEsterna();
	a.f_Azienda = IsAziendaEsterna() ? m_Azienda : DataStr();
	return anagrafica.UpdateRecord();
}

void Kvz_CPropSimboloDoc::RestituisciAlEditore(BOOL bSalvato, BOOL bNuovo, const DataStr& aNome)
{
	Kvz_CFormulaDoc* pEditore = m_pFormulaDoc;
	if (!pEditore)
		return;
	m_pFormulaDoc = nullptr;
	if (bSalvato)
	{
		pEditore->RiempiListBoxSimboli();
		if (bNuovo)
			Kvz_CListBoxFormula::InsertSymbol(aNome.GetString(), _T("_"), pEditore->m_pBoxFormula,
											  &pEditore->m_Formula, 1);
	}
	pEditore->SetOpenSymbolDoc(nullptr);
	if (pEditore->GetMasterFrame())
		pEditore->GetMasterFrame()->EnableWindow(TRUE);
	pEditore->UpdateDataView();
	pEditore->Activate(nullptr, FALSE);
}

// ---- kind dialog -------------------------------------------------------------------------------

Kvz_SceltaTipoSimboloDlg::Kvz_SceltaTipoSimboloDlg(Kvz_CFormulaDoc* pFormulaDoc, DataEnum* pTipoSimbolo)
	: CParsedDialog(IDD_SCELTA_TIPO_SIMBOLO, nullptr,
					AfxLoadSourceString(_T("Scelta tipo simbolo da definire"), "Kvz_CPropSimboloDoc")),
	  m_pFormulaDoc(pFormulaDoc),
	  m_pTipoSimbolo(pTipoSimbolo)
{
}

void Kvz_SceltaTipoSimboloDlg::BuildDataControlLinks()
{
	AddRadio(IDC_SCELTA_SIMB_PBASE, _T("Valore calcolato dal piano base"), &m_bPianoBase, 1);
	AddRadio(IDC_SCELTA_SIMB_EXTRACONT, _T("Formula da un codice extracontabile"), &m_bExtracont, 1);
	AddRadio(IDC_SCELTA_SIMB_RICLASS, _T("Formula da un codice riclassificato"), &m_bRiclassificato, 1);
}

BOOL Kvz_SceltaTipoSimboloDlg::OnInitDialog()
{
	if (!CParsedDialog::OnInitDialog())
		return FALSE;
	m_bPianoBase = FALSE;
	m_bExtracont = FALSE;
	m_bRiclassificato = FALSE;
	if (m_pTipoSimbolo && m_pTipoSimbolo->GetTagValue() == E_KVZ_TIPOSIMBOLO)
	{
		switch (m_pTipoSimbolo->GetItemValue())
		{
		case KVZ_SIMBOLO_PBASE:
			m_bPianoBase = TRUE;
			break;
		case KVZ_SIMBOLO_EXTRACONT:
			m_bExtracont = TRUE;
			break;
		case KVZ_SIMBOLO_RICLASS:
			m_bRiclassificato = TRUE;
			break;
		default:
			break;
		}
	}
	CenterWindow();
	return TRUE;
}

void Kvz_SceltaTipoSimboloDlg::OnOK()
{
	if (m_pTipoSimbolo)
	{
		if (m_bPianoBase == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_PBASE);
		else if (m_bExtracont == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_EXTRACONT);
		else if (m_bRiclassificato == TRUE)
			*m_pTipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_SIMBOLO_RICLASS);
	}
	CParsedDialog::OnOK();
}

// ---- company tab -------------------------------------------------------------------------------

Kvz_CPropSimboloDoc* Kvz_CAziendeSimboloTabDlg::GetDoc() const
{
	return DynamicDownCast<Kvz_CPropSimboloDoc>(GetDocument());
}

void Kvz_CAziendeSimboloTabDlg::BuildDataControlLinks()
{
	Kvz_CPropSimboloDoc* pDoc = GetDoc();
	if (!pDoc)
		return;
	AddRadio(IDC_SEL_AZ_CORRENTE, _T("SEL_AZ_CORRENTE"), &pDoc->m_AziendaCorrente, IDC_SEL_AZ_CORRENTE);
	AddRadio(IDC_SEL_AZ_ESTERNA, _T("SEL_AZ_ESTERNA"), &pDoc->m_UsaAziendaEsterna, IDC_SEL_AZ_CORRENTE);
	AddLink(IDC_SEL_AZ_COD_AZIENDA, _T("SEL_AZ_COD_AZIENDA"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Azienda,
			pDoc->m_pHKLAziende);
	Kvz_TAziende* pAzienda = pDoc->m_pHKLAziende->GetRecord();
	AddLink(IDC_SEL_AZ_DS_ODBC, _T("SEL_AZ_DS_ODBC"), RUNTIME_CLASS(CStrStatic), &pAzienda->f_DataSource);
	AddLink(IDC_SEL_AZ_DESCRIZIONE, _T("SEL_AZ_DESCRIZIONE"), RUNTIME_CLASS(CStrStatic), &pAzienda->f_Descrizione);
	SetLabels({{_T("SEL_AZ_CORRENTE"), _T("Azienda corrente")},
			   {_T("SEL_AZ_ESTERNA"), _T("Altra azienda")},
			   {_T("SEL_AZ_COD_AZIENDA"), _T("Codice azienda")},
			   {_T("SEL_AZ_DS_ODBC"), _T("Database dell'azienda")},
			   {_T("SEL_AZ_DESCRIZIONE"), _T("Descrizione azienda")}});
}

BOOL Kvz_CAziendeSimboloTabDlg::OnPrepareAuxData()
{
	Kvz_CPropSimboloDoc* pDoc = GetDoc();
	if (pDoc && pDoc->m_pHKLAziende)
		pDoc->m_pHKLAziende->FindRecord(&pDoc->m_Azienda);
	return TRUE;
}
