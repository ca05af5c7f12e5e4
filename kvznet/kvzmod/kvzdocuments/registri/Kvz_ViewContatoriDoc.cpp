#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_ViewContatoriDoc.h"

#include <cctype>
#include <string>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_ViewCdcCommesse.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodExtracontDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CInsExtracontMensiliDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "Kvz_ViewContatoriDoc";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

// The month of a use inside an extra-accounting code: the using position is stored as "MESE3"
// (older rows hold the bare "3"); 0 when it names none.
int MeseDiUtilizzo(const CString& strPosizione)
{
	const std::string s = strPosizione.str();
	size_t i = 0;
	while (i < s.size() && !std::isdigit(static_cast<unsigned char>(s[i])))
		++i;
	int nMese = 0;
	for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && nMese <= 12; ++i)
		nMese = nMese * 10 + (s[i] - '0');
	return nMese >= 1 && nMese <= 12 ? nMese : 0;
}

template <class Rec>
DataStr* FormulaPos(Rec& r, int n)
{
	DataStr* f[KVZ_NUM_POSIZ_FORMULA] = {&r.f_Formula,  &r.f_Formula1, &r.f_Formula2, &r.f_Formula3,
										 &r.f_Formula4, &r.f_Formula5, &r.f_Formula6, &r.f_Formula7,
										 &r.f_Formula8, &r.f_Formula9, &r.f_Formula10};
	return n >= 0 && n < KVZ_NUM_POSIZ_FORMULA ? f[n] : nullptr;
}

// The master record of the caller as the record class expected, null otherwise.
template <class Rec>
Rec* TestaDi(CAbstractFormDoc* pDoc)
{
	return pDoc->GetMaster() ? dynamic_cast<Rec*>(pDoc->GetMaster()->GetRecord()) : nullptr;
}
}  // namespace

CBaseDocument* Kvz_ApriContatori(CAbstractFormDoc* pCaller)
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd || !pCaller)
		return nullptr;
	CBaseDocument* pDoc =
		pCmd->RunDocument(_T("KvzNet.KvzMod.KvzDocuments.BDViewContatori"), _T("Default"), nullptr, pCaller);
	// The caller waits for the view: it is enabled again when the view closes.
	if (pDoc && pCaller->GetMasterFrame())
		pCaller->GetMasterFrame()->EnableWindow(FALSE);
	return pDoc;
}

// ---- buffers -----------------------------------------------------------------------------------

Kvz_DBTContatoriGenerali::Kvz_DBTContatoriGenerali(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhContatoriCodici::GetThisClass(), pDocument, _T("DBTContatoriGenerali"), TRUE, FALSE)
{
}

Kvz_TEnhContatoriCodici* Kvz_DBTContatoriGenerali::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf((Kvz_TEnhContatoriCodici::GetThisClass())),
						 "Kvz_DBTContatoriGenerali::GetCurrentRecord", kSource);
	return static_cast<Kvz_TEnhContatoriCodici*>(GetCurrentRow());
}

Kvz_DBTContatoriDettaglio::Kvz_DBTContatoriDettaglio(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhContatoriDettaglio::GetThisClass(), pDocument, _T("DBTContatoriDettaglio"), TRUE,
					   FALSE)
{
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_ViewContatoriDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_CONTI_KVZ, AggiornaStatoControlli)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_EXTRACONT, AggiornaStatoControlli)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_RICLASSIFIC, AggiornaStatoControlli)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_TUTTI_RCL, AggiornaStatoControlli)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_TUTTI_EXTRA, AggiornaStatoControlli)
	ON_EN_VALUE_CHANGED(IDC_VWCONT_EXTRA_DA, OnExtraDaChanged)
	ON_BEN_ROW_CHANGED(IDC_VWCONT_GRID_GENERALI, OnRigaGeneraleChanged)
	ON_BN_CLICKED(IDC_VWCONT_ESTRAI, OnEstrai)
END_MESSAGE_MAP()

Kvz_ViewContatoriDoc::Kvz_ViewContatoriDoc()
	: m_bContiKvz(FALSE),
	  m_bExtracont(FALSE),
	  m_bRiclassific(FALSE),
	  m_bSelEconomici(TRUE),
	  m_bSelPatrimoniali(FALSE),
	  m_bSelTuttiConti(FALSE),
	  m_bTuttiExtra(TRUE),
	  m_bTuttiModelli(TRUE),
	  m_AnnoTot(0),
	  m_AnnoDett(0),
	  m_TRContatoriCodici(this),
	  m_TRRiclassificazioneRighe(this),
	  m_TRCodExtracontabili(this)
{
	m_ExtraDa.SetUpperCase();
	m_ExtraA.SetUpperCase();
	m_Modello.SetUpperCase();
	m_AnnoTot.SetReadOnly(TRUE);
	m_AnnoDett.SetReadOnly(TRUE);
}

BOOL Kvz_ViewContatoriDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	m_pParent = pInfo ? dynamic_cast<CAbstractFormDoc*>(pInfo->m_pCallerDocument) : nullptr;
	if (!m_pParent)
		return FALSE;
	DataInt aAnno;
	if (auto* pModelli = dynamic_cast<Kvz_CDeRiclassificazioniDoc*>(m_pParent))
	{
		m_bContiKvz = m_bExtracont = m_bRiclassific = TRUE;
		m_bTuttiModelli = FALSE;
		if (auto* pTesta = TestaDi<Kvz_TRiclassificazioneTesta>(pModelli))
		{
			aAnno = pTesta->f_Esercizio;
			m_Modello = pTesta->f_ModelloRiclassific;
		}
	}
	else if (auto* pSelezione = dynamic_cast<Kvz_CSelezAssestamentoDoc*>(m_pParent))
	{
		m_bRiclassific = TRUE;
		aAnno = pSelezione->m_Anno;
	}
	else if (auto* pRegistro = dynamic_cast<Kvz_CDeCodExtracontDoc*>(m_pParent))
	{
		m_bExtracont = TRUE;
		if (auto* pTesta = TestaDi<Kvz_TCodExtracontabiliTesta>(pRegistro))
			aAnno = pTesta->f_Esercizio;
	}
	else if (auto* pMensili = dynamic_cast<Kvz_CInsExtracontMensiliDoc*>(m_pParent))
	{
		m_bExtracont = TRUE;
		aAnno = pMensili->GetAnno();
	}
	else
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_ViewContatoriDoc::OnOpenDocument", kSource);
		m_pParent = nullptr;
		return FALSE;
	}
	m_AnnoTot = aAnno;
	m_AnnoDett = aAnno;
	return CAbstractFormDoc::OnOpenDocument(pInfo);
}

BOOL Kvz_ViewContatoriDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Contatori di utilizzo dei codici nelle formule")));
	m_pHKLDa = new KVZ_HKLCodiciExtracont;
	Attach(m_pHKLDa, CString());
	m_pHKLA = new KVZ_HKLCodiciExtracont;
	Attach(m_pHKLA, CString());
	m_pHKLModello = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLModello, CString());
	m_pHKLDa->SetSelEsercizio(m_AnnoTot);
	m_pHKLA->SetSelEsercizio(m_AnnoTot);
	m_pHKLModello->SetSelEsercizio(m_AnnoTot);
	m_pDBTGenerali = std::make_unique<Kvz_DBTContatoriGenerali>(this);
	m_pDBTDettaglio = std::make_unique<Kvz_DBTContatoriDettaglio>(this);
	m_TRContatoriCodici.SetSqlSession(GetReadOnlySqlSession());
	m_TRRiclassificazioneRighe.SetSqlSession(GetReadOnlySqlSession());
	m_TRCodExtracontabili.SetSqlSession(GetReadOnlySqlSession());
	return TRUE;
}

void Kvz_ViewContatoriDoc::OnCloseDocument()
{
	if (m_pParent)
	{
		if (m_pParent->GetMasterFrame())
			m_pParent->GetMasterFrame()->EnableWindow(TRUE);
		m_pParent->UpdateDataView();
		m_pParent->Activate(nullptr, FALSE);
	}
	CAbstractFormDoc::OnCloseDocument();
}

void Kvz_ViewContatoriDoc::AggiornaStatoControlli()
{
	m_bSelEconomici.SetReadOnly(!m_bContiKvz);
	m_bSelPatrimoniali.SetReadOnly(!m_bContiKvz);
	m_bSelTuttiConti.SetReadOnly(!m_bContiKvz);
	m_bTuttiExtra.SetReadOnly(!m_bExtracont);
	m_ExtraDa.SetReadOnly(!m_bExtracont || m_bTuttiExtra);
	m_ExtraA.SetReadOnly(!m_bExtracont || m_bTuttiExtra);
	if (m_bTuttiExtra)
	{
		m_ExtraDa.Clear();
		m_ExtraA.Clear();
	}
	m_bTuttiModelli.SetReadOnly(!m_bRiclassific);
	m_Modello.SetReadOnly(!m_bRiclassific || m_bTuttiModelli);
	if (m_bTuttiModelli)
		m_Modello.Clear();
	UpdateDataView();
}

void Kvz_ViewContatoriDoc::OnExtraDaChanged()
{
	m_ExtraA = m_ExtraDa;
	UpdateDataView();
}

void Kvz_ViewContatoriDoc::OnRigaGeneraleChanged()
{
	RiempiDBTDettaglio(m_pDBTGenerali->GetCurrentRecord());
	UpdateDataView();
}

void Kvz_ViewContatoriDoc::OnEstrai()
{
	EstraiContatori();
	UpdateDataView();
}

void Kvz_ViewContatoriDoc::EstraiContatori()
{
	BeginWaitCursor();
	m_pDBTGenerali->RemoveAll(TRUE);
	m_pDBTDettaglio->RemoveAll(TRUE);
	if (m_bContiKvz)
		AggiungiContiKvz();
	if (m_bRiclassific)
		AggiungiCodRiclassific();
	if (m_bExtracont)
		AggiungiCodExtracont();
	if (m_pDBTGenerali->GetSize() > 0)
	{
		if (m_pGridGenerali)
			m_pGridGenerali->SetCurrRecord(0);
		m_pDBTGenerali->SetCurrentRow(0);
		RiempiDBTDettaglio(m_pDBTGenerali->GetRiga(0));
	}
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_ViewContatoriDoc::AggiungiGenerale(WORD nTipo, const DataStr& aCodice, const DataStr& aDescrizione)
{
	auto* pRiga = static_cast<Kvz_TEnhContatoriCodici*>(m_pDBTGenerali->AddRecord());
	pRiga->f_Esercizio = m_AnnoTot;
	pRiga->f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, nTipo);
	pRiga->f_Codice = aCodice;
	pRiga->l_Descrizione = aDescrizione;
	if (m_TRContatoriCodici.FindRecord(m_AnnoTot, pRiga->f_TipoCodice, aCodice) == TableReader::FOUND)
		pRiga->f_ContatoreUtilizzi = m_TRContatoriCodici.GetRecord()->f_ContatoreUtilizzi;
}

void Kvz_ViewContatoriDoc::AggiungiContiKvz()
{
	try
	{
		Kvz_TAnagContiKvz aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.SetParamValue(_T("p1"), m_AnnoTot);
		if (!m_bSelTuttiConti)
		{
			aTable.AddParam(_T("p2"), aRec.f_TipoConto);
			aTable.AddFilterColumn(aRec.f_TipoConto);
			aTable.SetParamValue(_T("p2"), DataEnum(E_TIPOCONTO, m_bSelPatrimoniali ? 1 : 0));
		}
		aTable.AddSortColumn(aRec.f_ContoKvz);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			AggiungiGenerale(KVZ_CONTATORE_CONTO, aRec.f_ContoKvz, aRec.f_Descrizione);
		aTable.Close();

		Kvz_ViewCdcCommesse aCdc;
		SqlTable aView(&aCdc, GetReadOnlySqlSession(), this);
		aView.Open(FALSE, FALSE, TRUE);
		aView.SelectAll();
		aView.AddParam(_T("p1"), aCdc.f_Esercizio);
		aView.AddFilterColumn(aCdc.f_Esercizio);
		aView.SetParamValue(_T("p1"), m_AnnoTot);
		aView.AddSortColumn(aCdc.f_CentroCommessa);
		for (aView.Query(); !aView.IsEOF(); aView.MoveNext())
			AggiungiGenerale(aCdc.f_Tipo.GetItemValue() == 0 ? KVZ_CONTATORE_CENTRO : KVZ_CONTATORE_COMMESSA,
							 aCdc.f_CentroCommessa, aCdc.f_Descrizione);
		aView.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
}

void Kvz_ViewContatoriDoc::AggiungiCodRiclassific()
{
	try
	{
		Kvz_TRiclassificazioneRighe aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.SetParamValue(_T("p1"), m_AnnoTot);
		if (!m_bTuttiModelli)
		{
			aTable.AddParam(_T("p2"), aRec.f_ModelloRiclassific);
			aTable.AddFilterColumn(aRec.f_ModelloRiclassific);
			aTable.SetParamValue(_T("p2"), m_Modello);
		}
		aTable.AddSortColumn(aRec.f_CodRiclassificato);
		// Rows with one code in several models keep a stable order among themselves.
		aTable.AddSortColumn(aRec.f_ModelloRiclassific);
		// Of every model, a code shows once per model: its description says which.
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			AggiungiGenerale(KVZ_CONTATORE_RICLASSIFICATO, aRec.f_CodRiclassificato,
							 !m_bTuttiModelli ? aRec.f_Descrizione
							 : aRec.f_Descrizione.GetString().IsEmpty()
								 ? DataStr(CString("modello ") + aRec.f_ModelloRiclassific.GetString())
								 : DataStr(CString::Formatted("%s (modello %s)", aRec.f_Descrizione.GetString().GetString(),
															  aRec.f_ModelloRiclassific.GetString().GetString())));
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
}

void Kvz_ViewContatoriDoc::AggiungiCodExtracont()
{
	try
	{
		Kvz_TCodExtracontabiliTesta aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.SetParamValue(_T("p1"), m_AnnoTot);
		if (!m_bTuttiExtra)
		{
			aTable.AddParam(_T("p3"), aRec.f_CodExtracont);
			aTable.AddParam(_T("p4"), aRec.f_CodExtracont);
			aTable.AddBetweenColumn(aRec.f_CodExtracont);
			aTable.SetParamValue(_T("p3"), m_ExtraDa);
			aTable.SetParamValue(_T("p4"), m_ExtraA);
		}
		aTable.AddSortColumn(aRec.f_CodExtracont);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			AggiungiGenerale(KVZ_CONTATORE_EXTRACONT, aRec.f_CodExtracont, aRec.f_Descrizione);
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
}

DataStr Kvz_ViewContatoriDoc::FormulaUtilizzo(const Kvz_TContatoriDettaglio& det)
{
	const int nPosiz = det.f_FormulaCheUtilizza;
	if (nPosiz < 0 || nPosiz >= KVZ_NUM_POSIZ_FORMULA)
		return DataStr();
	if (det.f_TipoCodCheUtilizza.GetItemValue() == KVZ_CONTATORE_EXTRACONT)
	{
		const DataInt aMese(MeseDiUtilizzo(det.f_CodiceCheUtilizza.GetString()));
		if (m_TRCodExtracontabili.FindRecord(det.f_Esercizio, det.f_ModelloRiclassific, aMese) != TableReader::FOUND)
			return DataStr();
		return *FormulaPos(*m_TRCodExtracontabili.GetRecord(), nPosiz);
	}
	if (det.f_TipoCodCheUtilizza.GetItemValue() != KVZ_CONTATORE_RICLASSIFICATO)
		return DataStr();
	// The open model's unsaved rows: what its user sees, not what was last saved.
	if (auto* pModelli = dynamic_cast<Kvz_CDeRiclassificazioniDoc*>(m_pParent))
	{
		auto* pTesta = TestaDi<Kvz_TRiclassificazioneTesta>(pModelli);
		if (pTesta && pTesta->f_ModelloRiclassific == det.f_ModelloRiclassific)
			for (int s = 0; s < pModelli->GetMaster()->GetSlaveCount(); ++s)
				if (auto* pRighe = dynamic_cast<DBTSlaveBuffered*>(pModelli->GetMaster()->GetSlave(s)))
					for (int i = 0; i < pRighe->GetSize(); ++i)
						if (auto* pRiga = dynamic_cast<Kvz_TRiclassificazioneRighe*>(pRighe->GetRow(i));
							pRiga && pRiga->f_CodRiclassificato == det.f_CodiceCheUtilizza)
							return *FormulaPos(*pRiga, nPosiz);
	}
	if (m_TRRiclassificazioneRighe.FindRecord(det.f_Esercizio, det.f_ModelloRiclassific, det.f_CodiceCheUtilizza) !=
		TableReader::FOUND)
		return DataStr();
	return *FormulaPos(*m_TRRiclassificazioneRighe.GetRecord(), nPosiz);
}

void Kvz_ViewContatoriDoc::RiempiDBTDettaglio(const Kvz_TEnhContatoriCodici* pGenerale)
{
	m_pDBTDettaglio->RemoveAll(TRUE);
	if (!pGenerale || static_cast<long>(pGenerale->f_ContatoreUtilizzi) == 0)
		return;
	++m_nQueryDettaglio;
	try
	{
		Kvz_TEnhContatoriDettaglio aRec;
		SqlTable aTable(&aRec, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio);
		aTable.AddParam(_T("p2"), aRec.f_TipoCodice);
		aTable.AddFilterColumn(aRec.f_TipoCodice);
		aTable.AddParam(_T("p3"), aRec.f_Codice);
		aTable.AddFilterColumn(aRec.f_Codice);
		aTable.AddParam(_T("p5"), aRec.f_ContatoreUtilizzi);
		aTable.AddFilterColumn(aRec.f_ContatoreUtilizzi, _T(">"));
		aTable.SetParamValue(_T("p1"), m_AnnoTot);
		aTable.SetParamValue(_T("p2"), pGenerale->f_TipoCodice);
		aTable.SetParamValue(_T("p3"), pGenerale->f_Codice);
		aTable.SetParamValue(_T("p5"), DataLng(0));
		aTable.AddSortColumn(aRec.f_TipoCodCheUtilizza);
		aTable.AddSortColumn(aRec.f_ModelloRiclassific);
		aTable.AddSortColumn(aRec.f_CodiceCheUtilizza);
		aTable.AddSortColumn(aRec.f_FormulaCheUtilizza);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TEnhContatoriDettaglio*>(m_pDBTDettaglio->AddRecord());
			*pRiga = aRec;
			pRiga->l_Formula = FormulaUtilizzo(aRec);
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_ContatoriGeneraliEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhContatoriCodici*>(GetDBT()->GetRecord());
	AddColumn(IDC_VWCONT_COL_CODICE, _T("Codice"), Testo(_T("Codice")), RUNTIME_CLASS(CStrStatic), pRec->f_Codice, 12);
	AddColumn(IDC_VWCONT_COL_DESCRI, _T("Descri"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->l_Descrizione, 28);
	AddColumn(IDC_VWCONT_COL_CONTATORE, _T("ContatoreUtilizzi"), Testo(_T("Contatore")), RUNTIME_CLASS(CLongStatic),
			  pRec->f_ContatoreUtilizzi, 8);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_ContatoriDettaglioEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhContatoriDettaglio*>(GetDBT()->GetRecord());
	AddColumn(IDC_VWCONT_COL_MODELLO, _T("ModelloRiclassific"), Testo(_T("Modello")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_VWCONT_COL_CODICE_UT, _T("CodiceCheUtilizza"), Testo(_T("Codice")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CodiceCheUtilizza, 10);
	AddColumn(IDC_VWCONT_COL_CONTATORE_DETT, _T("ContatoreUtilizzi"), Testo(_T("Contatore")),
			  RUNTIME_CLASS(CLongStatic), pRec->f_ContatoreUtilizzi, 6);
	AddColumn(IDC_VWCONT_COL_POSIZIONE, _T("FormulaCheUtilizza"), Testo(_T("Posizione")), RUNTIME_CLASS(CIntStatic),
			  pRec->f_FormulaCheUtilizza, 6);
	AddColumn(IDC_VWCONT_COL_FORMULA, _T("Formula"), Testo(_T("Formula")), RUNTIME_CLASS(CStrStatic), pRec->l_Formula,
			  25);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_ViewContatoriView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_ViewContatoriDoc*>(GetDocument());
	AddLink(IDC_VWCONT_CONTI_KVZ, _T("Conti raggruppati"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bContiKvz);
	AddLink(IDC_VWCONT_EXTRACONT, _T("Codici extracontabili"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bExtracont);
	AddLink(IDC_VWCONT_RICLASSIFIC, _T("Codici riclassificato"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bRiclassific);
	AddRadio(IDC_VWCONT_SEL_ECONOMICI, _T("Economici"), &pDoc->m_bSelEconomici, 1);
	AddRadio(IDC_VWCONT_SEL_PATRIMONIALI, _T("Patrimoniali"), &pDoc->m_bSelPatrimoniali, 1);
	AddRadio(IDC_VWCONT_SEL_TUTTI_CONTI, _T("VWCONT_SEL_TUTTI_CONTI"), &pDoc->m_bSelTuttiConti, 1);
	AddLink(IDC_VWCONT_TUTTI_EXTRA, _T("VWCONT_TUTTI_EXTRA"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bTuttiExtra);
	AddLink(IDC_VWCONT_EXTRA_DA, _T("Da"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ExtraDa, pDoc->m_pHKLDa);
	AddLink(IDC_VWCONT_EXTRA_A, _T("A"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ExtraA, pDoc->m_pHKLA);
	AddLink(IDC_VWCONT_TUTTI_RCL, _T("VWCONT_TUTTI_RCL"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bTuttiModelli);
	AddLink(IDC_VWCONT_MODELLO, _T("Del modello:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Modello, pDoc->m_pHKLModello);
	AddLink(IDC_VWCONT_STATIC_ANNO_TOT, _T("Totale utilizzi nell'esercizio:"), RUNTIME_CLASS(CIntStatic),
			&pDoc->m_AnnoTot);
	AddLink(IDC_VWCONT_STATIC_ANNO_DETT, _T("Dettaglio utilizzi nell'esercizio:"), RUNTIME_CLASS(CIntStatic),
			&pDoc->m_AnnoDett);
	AddButton(IDC_VWCONT_ESTRAI, _T("&Estrai"));
	pDoc->SetGridGenerali(static_cast<CBodyEdit*>(AddLink(IDC_VWCONT_GRID_GENERALI, _T("Contatori generali"),
														  RUNTIME_CLASS(Kvz_ContatoriGeneraliEdit),
														  pDoc->GetDBTGenerali())));
	AddLink(IDC_VWCONT_GRID_DETTAGLIO, _T("Contatori dettaglio"), RUNTIME_CLASS(Kvz_ContatoriDettaglioEdit),
			pDoc->GetDBTDettaglio());
	pDoc->AggiornaStatoControlli();
	pDoc->EstraiContatori();
}
