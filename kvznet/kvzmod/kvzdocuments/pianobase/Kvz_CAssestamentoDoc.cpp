#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoInterno.h"

#include "kvznet/kvzmod/kvzcomponents/Kvz_ADMBudgetObj.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_AssestamentoFiglioDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
using kvzdocuments::assestamento::ImportiPerMese;
using kvzdocuments::assestamento::kSource;
using kvzdocuments::assestamento::Testo;
using kvzdocuments::assestamento::MostraErrore;

const char* const kNsDocumenti = "KvzNet.KvzMod.KvzDocuments.";
}  // namespace

// ---- buffer ------------------------------------------------------------------------------------

Kvz_DBTRighePianoBase::Kvz_DBTRighePianoBase(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhPianoBaseRighe::GetThisClass(), pDocument, _T("DBTRighePianoBase"), TRUE, FALSE)
{
}

Kvz_TEnhPianoBaseRighe* Kvz_DBTRighePianoBase::GetRigaMese(int nMese) const
{
	for (int i = 0; i < GetSize(); ++i)
		if (GetRiga(i)->f_Mese == nMese)
			return GetRiga(i);
	return nullptr;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CAssestamentoDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_ASS_ANNO_PREC, OnAnnoPrecedente)
	ON_BN_CLICKED(IDC_ASS_ANNO_SUCC, OnAnnoSuccessivo)
	ON_EN_VALUE_CHANGED(IDC_ASS_ANNO, OnAnnoChanged)
	ON_BN_CLICKED(IDC_ASS_RIPRISTINA, OnRipristina)
	ON_BN_CLICKED(IDC_ASS_SALVA, OnSalva)
	ON_BEN_ROW_CHANGED(IDC_ASS_RIGHE, OnRigaChanged)
	ON_BEN_ROW_DBLCLICKED(IDC_ASS_RIGHE, OnRigaDblClicked)
	ON_EN_VALUE_CHANGED(IDC_ASS_RIGHE_ASSESTAMENTO, OnImportoRateoChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_RIGHE_TOTALE, OnTotaleAssestatoChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_RIGHE_OK, OnOkChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_PER_IMPORTO, OnOpzioneInserimentoChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_PER_TOTALE, OnOpzioneInserimentoChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_PER_TOTALE_PERC, OnOpzioneInserimentoChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_RIPART_TOTALE, OnOpzioneRipartizioneChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_RIPART_TRIMESTRE, OnOpzioneRipartizioneChanged)
	ON_EN_VALUE_CHANGED(IDC_ASS_TIPO_BUDGET, OnTipoBudgetChanged)
	ON_BN_CLICKED(IDC_ASS_RIPARTISCI, OnRipartizione)
	ON_BN_CLICKED(IDC_ASS_COPIA_DAL_MESE, OnCopiaDalMese)
	ON_BN_CLICKED(IDC_ASS_PERC, OnPercentuali)
	ON_COMMAND(ID_ASS_RIPARTIZIONE_SALDI, OnRipartizioneSaldi)
	ON_COMMAND(ID_ASS_BUDGET, OnBudget)
	ON_COMMAND(ID_ASS_DETTAGLIO, OnDettaglio)
	ON_UPDATE_COMMAND_UI(ID_ASS_RIPARTIZIONE_SALDI, OnUpdateRigaCorrente)
	ON_UPDATE_COMMAND_UI(ID_ASS_DETTAGLIO, OnUpdateRigaCorrente)
END_MESSAGE_MAP()

Kvz_CAssestamentoDoc::Kvz_CAssestamentoDoc()
	: m_TipoCentroComm(E_KVZ_TIPOCENTROCOMM, 0),
	  m_Anno(0),
	  m_TipoBudget(E_KVZ_TIPOBUDGET, 0),
	  m_bPerImporto(FALSE),
	  m_bPerTotale(FALSE),
	  m_bPerTotalePerc(FALSE),
	  m_bRipartTotale(FALSE),
	  m_bRipartTrimestre(FALSE),
	  m_MeseDa(0),
	  m_bInvertiSegno(FALSE),
	  m_Modificato(FALSE),
	  m_SoloLettura(FALSE),
	  m_AbilitaSalvataggio(TRUE)
{
	m_ContoKvz.SetUpperCase();
}

Kvz_CAssestamentoDoc::~Kvz_CAssestamentoDoc() = default;

const Kvz_TEnhPianoBaseTesta* Kvz_CAssestamentoDoc::GetTesta() const
{
	return m_pTRPianoBaseTesta ? m_pTRPianoBaseTesta->GetRecord() : nullptr;
}

BOOL Kvz_CAssestamentoDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	auto* pChiamante = pInfo ? dynamic_cast<Kvz_CSelezAssestamentoDoc*>(pInfo->m_pCallerDocument) : nullptr;
	if (!pChiamante || !pChiamante->m_pDBTConti || pChiamante->m_pDBTConti->GetSize() == 0 ||
		!pChiamante->m_pDBTAnteprima || pChiamante->m_pDBTAnteprima->GetSize() == 0)
		return FALSE;
	m_pChiamante = pChiamante;
	m_Anno = pChiamante->m_Anno;
	m_ContoSel = *pChiamante->GetContoCorrente();
	m_ContoKvz = m_ContoSel.f_ContoKvz;
	LeggiTipoConto();
	if (pChiamante->GetMasterFrame())
		pChiamante->GetMasterFrame()->EnableWindow(FALSE);
	if (CAbstractFormDoc::OnOpenDocument(pInfo))
		return TRUE;
	if (pChiamante->GetMasterFrame())
		pChiamante->GetMasterFrame()->EnableWindow(TRUE);
	m_pChiamante = nullptr;
	return FALSE;
}

BOOL Kvz_CAssestamentoDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Assestamento piano base")));
	m_pDBTRighe = std::make_unique<Kvz_DBTRighePianoBase>(this);
	m_pHKLAnagContiKvz = new KVZ_HKLAnagContiKvz;
	Attach(m_pHKLAnagContiKvz, CString());
	m_pHKLAnagContiKvz->SetSelEsercizio(m_Anno);
	m_pTRPianoBaseTesta = std::make_unique<Jex_TRPianoBaseTesta>(this);
	m_pTRPianoBaseTesta->SetSqlSession(GetReadOnlySqlSession());
	Kvz_TRParametri parametri(this);
	parametri.SetSqlSession(GetReadOnlySqlSession());
	try
	{
		m_bParametriTrovati = parametri.FindRecord() == TableReader::FOUND;
		if (m_bParametriTrovati)
			m_Parametri = *parametri.GetRecord();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::OnAttachData");
	}
	if (!m_bParametriTrovati || m_Parametri.f_LenMastro.IsEmpty() || m_Parametri.f_NrSegmenti.IsEmpty() ||
		m_Parametri.f_LenSeg1.IsEmpty())
		AfxMessageBox(Testo(_T("Verificare i parametri dell'applicazione: non ho sufficienti informazioni sulla "
							   "composizione del codice conto.")));
	return TRUE;
}

void Kvz_CAssestamentoDoc::OnCloseDocument()
{
	m_pDBTRighe.reset();
	SvuotaArrayDettagli();
	SvuotaArrayRipartizioni();
	// The children open on this document lose it.
	for (CBaseDocument* pDoc : {m_pDocDettaglio, m_pDocRipartizione})
		if (auto* pFiglio = dynamic_cast<Kvz_AssestamentoFiglioDoc*>(pDoc);
			pFiglio && AfxExistWebServiceStateObject(pFiglio))
			pFiglio->StaccaChiamante();
	if (auto* pBudget = dynamic_cast<Kvz_CBudgetDoc*>(m_pDocBudget); pBudget && AfxExistWebServiceStateObject(pBudget))
		pBudget->DimenticaChiamante();
	m_pDocDettaglio = m_pDocRipartizione = m_pDocBudget = nullptr;
	// The selection may have gone first when everything closes at once.
	if (m_pChiamante && AfxExistWebServiceStateObject(m_pChiamante))
	{
		m_pChiamante->RiempiDBTRighePBase();
		if (m_pChiamante->GetMasterFrame())
			m_pChiamante->GetMasterFrame()->EnableWindow(TRUE);
		m_pChiamante->SetDocAssestamento(nullptr);
		m_pChiamante->UpdateDataView();
	}
	m_pChiamante = nullptr;
	CAbstractFormDoc::OnCloseDocument();
}

BOOL Kvz_CAssestamentoDoc::SaveModified()
{
	return ChiediSalvataggio(FALSE) ? CAbstractFormDoc::SaveModified() : FALSE;
}

void Kvz_CAssestamentoDoc::LeggiTipoConto()
{
	m_bPatrimoniale = FALSE;
	try
	{
		Kvz_TRAnagContiKvz conti(this);
		conti.SetSqlSession(GetReadOnlySqlSession());
		if (conti.FindRecord(m_Anno, m_ContoKvz) == TableReader::FOUND)
			m_bPatrimoniale = conti.GetRecord()->f_TipoConto == DataEnum(E_TIPOCONTO, 1);
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::LeggiTipoConto");
	}
}

void Kvz_CAssestamentoDoc::CaricaDati()
{
	m_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 0);
	m_bRipartTotale = m_bRipartTrimestre = FALSE;
	m_bPerImporto = m_bPerTotale = m_bPerTotalePerc = FALSE;
	m_Modificato = FALSE;
	m_pHKLAnagContiKvz->SetSelEsercizio(m_Anno);
	m_pDBTRighe->RemoveAll(TRUE);
	SvuotaArrayDettagli();
	SvuotaArrayRipartizioni();
	m_AnnoCaricato = m_Anno;
	LeggiTipoConto();

	m_ContoKvz = m_ContoSel.f_ContoKvz;
	m_DesContoKvz = m_ContoSel.f_Descrizione;
	m_TipoContoKvz = m_ContoSel.f_TipoConto.FormatData();
	m_CentroCommessa = m_pChiamante->m_CentroCommessa;
	m_DesCentroCommessa = m_pChiamante->m_DesCentroCommessa;
	m_TipoCentroComm = m_pChiamante->m_TipoCentroComm;
	// An account closed to adjustments is still adjusted through its cost centres and jobs.
	m_SoloLettura = !m_ContoSel.f_ModifInAssest && m_CentroCommessa.IsEmpty();

	const DataLng id = m_pChiamante->CercaIDPianoBase(m_Anno, m_ContoKvz, m_TipoCentroComm, m_CentroCommessa);
	Kvz_TEnhPianoBaseTesta* pTesta = m_pTRPianoBaseTesta->GetRecord();
	try
	{
		if (m_pTRPianoBaseTesta->FindRecord(id) != TableReader::FOUND)
			pTesta->Init();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::CaricaDati");
		pTesta->Init();
	}
	m_TipoBudget = pTesta->f_TipoBudget.GetItemValue() == 3 ? m_pChiamante->m_TipoBudget : pTesta->f_TipoBudget;
	if (pTesta->f_TipoRipartizAssestamenti == DataEnum(E_KVZ_TIPORIPARTIZASSEST, 0))
		m_bRipartTotale = TRUE;
	else
		m_bRipartTrimestre = TRUE;
	if (!pTesta->f_AssestPerTotalePerc && !pTesta->f_AssestPerTotale)
	{
		m_bPerImporto = TRUE;
		m_Totale = double(pTesta->f_TotGeneraleRatei);
		m_Trimestri = {pTesta->f_TotRateiTrimestre1, pTesta->f_TotRateiTrimestre2, pTesta->f_TotRateiTrimestre3,
					   pTesta->f_TotRateiTrimestre4};
	}
	else
	{
		if (pTesta->f_AssestPerTotalePerc)
			m_bPerTotalePerc = TRUE;
		else
			m_bPerTotale = TRUE;
		m_Totale = pTesta->f_TotGeneraleAssestati;
		m_Trimestri = {pTesta->f_TotAssestatiTrimestre1, pTesta->f_TotAssestatiTrimestre2,
					   pTesta->f_TotAssestatiTrimestre3, pTesta->f_TotAssestatiTrimestre4};
	}
	RiempiDBTRighePBase();
	ImpostaStatoControlli();
	SetModifiedFlag(FALSE);
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::RiempiDBTRighePBase()
{
	m_pDBTRighe->RemoveAll(TRUE);
	m_Mese.Clear();
	m_Progressivi.Clear();
	m_Proiezione.Clear();
	const Kvz_TEnhPianoBaseTesta* pTesta = GetTesta();
	const DataLng idPrec =
		m_pChiamante->CercaIDPianoBase(DataInt(int(m_Anno) - 1), m_ContoKvz, m_TipoCentroComm, m_CentroCommessa);
	try
	{
		if (pTesta && !pTesta->f_IDPianoBase.IsEmpty())
		{
			Kvz_TEnhPianoBaseRighe rec;
			SqlTable righe(&rec, GetReadOnlySqlSession(), this);
			righe.Open(FALSE, FALSE, TRUE);
			righe.SelectAll();
			righe.AddParam(_T("p1"), rec.f_IDPianoBase);
			righe.AddFilterColumn(rec.f_IDPianoBase);
			righe.AddSortColumn(rec.f_Mese);
			righe.SetParamValue(_T("p1"), pTesta->f_IDPianoBase);

			// The months with detail lines, read once.
			std::array<bool, 13> conDettaglio{};
			Kvz_TPianoBaseRigaDett dett;
			SqlTable dettagli(&dett, GetReadOnlySqlSession(), this);
			dettagli.Open(FALSE, FALSE, TRUE);
			dettagli.Select(dett.f_Mese);
			dettagli.AddParam(_T("p1"), dett.f_IDPianoBase);
			dettagli.AddFilterColumn(dett.f_IDPianoBase);
			dettagli.SetParamValue(_T("p1"), pTesta->f_IDPianoBase);
			for (dettagli.Query(); !dettagli.IsEOF(); dettagli.MoveNext())
				if (dett.f_Mese >= 1 && dett.f_Mese <= 12)
					conDettaglio[static_cast<size_t>(int(dett.f_Mese))] = true;
			dettagli.Close();

			// The prior year's adjusted totals, by month.
			std::array<double, 13> precedente{};
			if (idPrec > 0)
				ImportiPerMese(GetReadOnlySqlSession(), this, &Kvz_TPianoBaseRighe::f_IDPianoBase, idPrec,
							   &Kvz_TPianoBaseRighe::f_TotaleAssestato, precedente);

			for (righe.Query(); !righe.IsEOF(); righe.MoveNext())
			{
				auto* pRiga = static_cast<Kvz_TEnhPianoBaseRighe*>(m_pDBTRighe->AddRecord());
				*pRiga = rec;
				pRiga->l_OldImportoRateo = rec.f_ImportoRateo;
				pRiga->l_OldTotaleAssestato = rec.f_TotaleAssestato;
				const int nMese = rec.f_Mese;
				const bool bMeseValido = nMese >= 1 && nMese <= 12;
				pRiga->l_ConDettaglio = bMeseValido && conDettaglio[static_cast<size_t>(nMese)];
				AggiornaStatoRiga(pRiga);
				if (idPrec > 0 && bMeseValido)
					pRiga->l_ConsuntAnnoPrec = precedente[static_cast<size_t>(nMese)];
			}
			righe.Close();
		}
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::RiempiDBTRighePBase");
	}
	CaricaDatiBudget();
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		m_pDBTRighe->GetRiga(i)->l_OldProgImportoRateo = m_pDBTRighe->GetRiga(i)->l_ProgImportoRateo;
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::MemorizzaValoriIniziali()
{
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTRighe->GetRiga(i);
		pRiga->l_OldImportoRateo = pRiga->f_ImportoRateo;
		pRiga->l_OldTotaleAssestato = pRiga->f_TotaleAssestato;
	}
}

Kvz_ArrayDettaglioRiga* Kvz_CAssestamentoDoc::GetArrayDettaglio(int nMese) const
{
	auto it = m_MappaDettagli.find(nMese);
	return it == m_MappaDettagli.end() ? nullptr : it->second.get();
}

void Kvz_CAssestamentoDoc::SetArrayDettaglio(int nMese, std::unique_ptr<Kvz_ArrayDettaglioRiga> pArray)
{
	if (pArray)
		m_MappaDettagli[nMese] = std::move(pArray);
	else
		m_MappaDettagli.erase(nMese);
}

Kvz_ArrayRipartizioniRiga* Kvz_CAssestamentoDoc::GetArrayRipartizioni(int nMese) const
{
	auto it = m_MappaRipartizioni.find(nMese);
	return it == m_MappaRipartizioni.end() ? nullptr : it->second.get();
}

void Kvz_CAssestamentoDoc::SetArrayRipartizioni(int nMese, std::unique_ptr<Kvz_ArrayRipartizioniRiga> pArray)
{
	if (pArray)
		m_MappaRipartizioni[nMese] = std::move(pArray);
	else
		m_MappaRipartizioni.erase(nMese);
}

BOOL Kvz_CAssestamentoDoc::ChiediSalvataggio(BOOL bSoloSiNo)
{
	if (!m_Modificato || m_SoloLettura)
		return TRUE;
	const int nRisposta = AfxMessageBox(Testo(_T("Modifiche non ancora salvate. Le salvo?")),
										(bSoloSiNo ? MB_YESNO : MB_YESNOCANCEL) | MB_ICONQUESTION);
	if (nRisposta == IDCANCEL)
		return FALSE;
	if (nRisposta == IDYES)
		// A failed save keeps the changes, still guarded by the question.
		return SalvaInTransazione();
	m_Modificato = FALSE;
	SvuotaArrayDettagli();
	SvuotaArrayRipartizioni();
	return TRUE;
}

BOOL Kvz_CAssestamentoDoc::SalvaInTransazione()
{
	// "&Salva" is disabled on a read-only account; the run command must refuse it the same way.
	if (m_SoloLettura)
	{
		AfxMessageBox(Testo(_T("Il conto non e' modificabile in assestamento: nessun salvataggio eseguito.")),
					  MB_OK | MB_ICONWARNING);
		return FALSE;
	}
	CPLVContext* pContext = GetContext();
	if (!pContext || !pContext->StartTransaction())
	{
		Message(Testo(_T("Non è possibile aprire una nuova transazione.")));
		return FALSE;
	}
	BOOL bSalvato = FALSE;
	try
	{
		bSalvato = SalvaAssestamento();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CAssestamentoDoc::SalvaAssestamento");
		bSalvato = FALSE;
	}
	if (bSalvato)
		bSalvato = pContext->Commit();
	else
		pContext->Rollback();
	if (!bSalvato)
	{
		// Nothing was written: the figures and pending lines stay, guarded by the question.
		m_Modificato = TRUE;
		AfxMessageBox(Testo(_T("Salvataggio non eseguito: l'assestamento non e' stato registrato.")),
					  MB_OK | MB_ICONERROR);
	}
	else
		ConcludiSalvataggio();
	UpdateDataView();
	return bSalvato;
}

void Kvz_CAssestamentoDoc::OnBatchExecute()
{
	if (!SalvaInTransazione())
		m_bBatchNotStarted = true;  // the run must not report success
}

void Kvz_CAssestamentoDoc::OnSalva()
{
	SalvaInTransazione();
}

void Kvz_CAssestamentoDoc::OnRipristina()
{
	if (AfxMessageBox(Testo(_T("Le modifiche inserite andranno perdute. Si conferma?")), MB_YESNO | MB_ICONQUESTION) ==
		IDNO)
		return;
	CaricaDati();
}

void Kvz_CAssestamentoDoc::CambiaAnno(int nAnno)
{
	m_Anno = nAnno;
	CaricaDati();
}

void Kvz_CAssestamentoDoc::OnAnnoPrecedente()
{
	if (ChiediSalvataggio(FALSE))
		CambiaAnno(int(m_Anno) - 1);
}

void Kvz_CAssestamentoDoc::OnAnnoSuccessivo()
{
	if (ChiediSalvataggio(FALSE))
		CambiaAnno(int(m_Anno) + 1);
}

void Kvz_CAssestamentoDoc::OnAnnoChanged()
{
	const int nNuovo = m_Anno;
	// The question is about the figures of the year loaded.
	m_Anno = m_AnnoCaricato;
	if (ChiediSalvataggio(FALSE))
		CambiaAnno(nNuovo);
	UpdateDataView();
}

int Kvz_CAssestamentoDoc::RigaCorrente() const
{
	return m_pDBTRighe ? m_pDBTRighe->GetCurrentRowIdx() : -1;
}

void Kvz_CAssestamentoDoc::OnRigaChanged()
{
	RicalcolaTotali(RigaCorrente());
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnUpdateRigaCorrente(CCmdUI* pCmdUI)
{
	pCmdUI->Enable(RigaCorrente() >= 0 && !m_SoloLettura);
}

void Kvz_CAssestamentoDoc::SegnaModificato()
{
	if (!m_SoloLettura)
		m_Modificato = TRUE;
}

void Kvz_CAssestamentoDoc::ImpostaStatoControlli()
{
	m_ContoKvz.SetReadOnly(TRUE);
	const BOOL bSolaLettura = m_SoloLettura;
	if (bSolaLettura)
	{
		m_AbilitaSalvataggio = FALSE;
		m_Modificato = FALSE;
	}
	else
		m_AbilitaSalvataggio = TRUE;
	for (DataObj* p : std::initializer_list<DataObj*>{&m_bPerImporto, &m_bPerTotale, &m_bPerTotalePerc,
													  &m_bRipartTotale, &m_bRipartTrimestre})
		p->SetReadOnly(bSolaLettura);
	m_Totale.SetReadOnly(bSolaLettura || m_bRipartTrimestre);
	for (DataMon& t : m_Trimestri)
		t.SetReadOnly(bSolaLettura || m_bRipartTotale);
	if (m_pGrid)
		for (LPCTSTR szColonna : {_T("Assestamento"), _T("OK"), _T("Totale"), _T("P")})
			if (ColumnInfo* pCol = m_pGrid->GetColumn(CString(szColonna)))
				pCol->SetReadOnly(bSolaLettura);
}

void Kvz_CAssestamentoDoc::DisableControlsForBatch()
{
	ImpostaStatoControlli();
}

void Kvz_CAssestamentoDoc::OnOpzioneRipartizioneChanged()
{
	ImpostaStatoControlli();
	if (!m_SoloLettura)
	{
		if (m_bRipartTotale)
			for (DataMon& t : m_Trimestri)
				t = 0.0;
		else
			m_Totale = 0.0;
	}
	UpdateDataView();
}

void Kvz_CAssestamentoDoc::OnOpzioneInserimentoChanged()
{
	// The three options are one choice: the form clears the other two.
	UpdateDataView();
}

// ---- child documents ---------------------------------------------------------------------------

void Kvz_CAssestamentoDoc::ApriFiglio(LPCTSTR szTemplate, CBaseDocument*& pFiglio)
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;
	pFiglio = pCmd->RunDocument(CString(kNsDocumenti) + szTemplate, _T("Default"), nullptr, this);
}

void Kvz_CAssestamentoDoc::OnDettaglio()
{
	if (RigaCorrente() < 0 || m_SoloLettura)
		return;
	ApriFiglio(_T("BDDettAssestamento"), m_pDocDettaglio);
}

void Kvz_CAssestamentoDoc::OnRigaDblClicked()
{
	if (RigaCorrente() < 0)
		return;
	ApriFiglio(_T("BDDettAssestamento"), m_pDocDettaglio);
}

void Kvz_CAssestamentoDoc::OnPercentuali()
{
	ApriFiglio(_T("RipAssestamento"), m_pDocRipartizione);
}

void Kvz_CAssestamentoDoc::OnBudget()
{
	Kvz_ADMBudgetObj* pBudget =
		Kvz_ADMBudgetObj::ApriDocumentoBudget((CString(kNsDocumenti) + _T("DBudget")).GetString(), this);
	if (!pBudget)
		return;
	m_pDocBudget = pBudget->GetDocument();
	// No budget of this account yet: a new one, keyed as this plan.
	const DataLng id = CercaBudget();
	if (id != 0)
		pBudget->MostraBudget(id);
	else
		pBudget->ADMNewDocument();
}

void Kvz_CAssestamentoDoc::ChiaveNuovoBudget(Kvz_TBudgetTesta& aTesta)
{
	aTesta.f_Esercizio = m_Anno;
	aTesta.f_ContoKvz = m_ContoSel.f_ContoKvz;
	aTesta.f_CentroCommessa = m_CentroCommessa;
	aTesta.f_TipoCentroComm = m_TipoCentroComm;
	aTesta.f_TipoBudget = m_TipoBudget;
}

void Kvz_CAssestamentoDoc::BudgetChiuso(Kvz_CBudgetDoc* pBudget)
{
	if (m_pDocBudget == pBudget)
		m_pDocBudget = nullptr;
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_RighePianoBaseEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhPianoBaseRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_ASS_RIGHE_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4);
	if (auto* pStato = DynamicDownCast<CIntBitmap>(
			AddColumn(IDC_ASS_RIGHE_BMP, _T("Bmp"), _T("Stato"), RUNTIME_CLASS(CIntBitmap), pRec->l_StatusBmp, 2)
				->GetParsedCtrl()))
		pStato->SetBitmapTexts({{KVZ_BMP_ASS_PALLINO_ROSSO, _T("Differenza")}});
	AddColumn(IDC_ASS_RIGHE_OK, _T("OK"), _T("OK"), RUNTIME_CLASS(CBoolButton), pRec->f_SaldoDiffAccettato, 3);
	AddColumn(IDC_ASS_RIGHE_PREC, _T("Prec."), _T("Prec."), RUNTIME_CLASS(CMoneyStatic), pRec->f_SaldoPrecedente, 14);
	AddColumn(IDC_ASS_RIGHE_CONTABILE, _T("Contabile"), _T("Contabile"), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_SaldoContabile, 14);
	AddColumn(IDC_ASS_RIGHE_ASSESTAMENTO, _T("Assestamento"), _T("Assestamento"), RUNTIME_CLASS(CMoneyEdit),
			  pRec->f_ImportoRateo, 14);
	AddColumn(IDC_ASS_RIGHE_P, _T("P"), _T("P"), RUNTIME_CLASS(CBoolStatic), pRec->f_RateoDaPrevisionale, 3);
	AddColumn(IDC_ASS_RIGHE_TOTALE, _T("Totale"), _T("Totale"), RUNTIME_CLASS(CMoneyEdit), pRec->f_TotaleAssestato, 14);
	auto* pDoc = dynamic_cast<Kvz_CAssestamentoDoc*>(GetDBT()->GetDocument());
	if (pDoc && pDoc->IsContoEconomico())
	{
		AddColumn(IDC_ASS_RIGHE_PR_CONT, _T("PrCont."), _T("Pr.cont."), RUNTIME_CLASS(CMoneyStatic),
				  pRec->l_ProgSaldoContabile, 14);
		AddColumn(IDC_ASS_RIGHE_PR_ASSEST, _T("PrAssest."), _T("Pr.assest."), RUNTIME_CLASS(CMoneyStatic),
				  pRec->l_ProgImportoRateo, 14);
		AddColumn(IDC_ASS_RIGHE_PR_TOTALE, _T("PrTotale"), _T("Pr.totale"), RUNTIME_CLASS(CMoneyStatic),
				  pRec->l_ProgTotaleAssestato, 14);
	}
	AddColumn(IDC_ASS_RIGHE_DETT, _T("Dett"), _T("Dett."), RUNTIME_CLASS(CBoolStatic), pRec->l_ConDettaglio, 3);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_CAssestamentoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CAssestamentoDoc*>(GetDocument());
	AddLink(IDC_ASS_CONTO_KVZ_CORR, _T("Conto:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ContoKvz,
			pDoc->GetHotLink(CString()));
	AddLink(IDC_ASS_DES_CONTO_KVZ_CORR, _T("IDC_ASS_DES_CONTO_KVZ_CORR"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_DesContoKvz);
	AddLink(IDC_ASS_TIPO_CONTO_KVZ, _T("IDC_ASS_TIPO_CONTO_KVZ"), RUNTIME_CLASS(CStrStatic), &pDoc->m_TipoContoKvz);
	AddButton(IDC_ASS_ANNO_PREC, _T("<-"));
	AddLink(IDC_ASS_ANNO, _T("Anno"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddButton(IDC_ASS_ANNO_SUCC, _T("->"));
	AddLink(IDC_ASS_TIPO_BUDGET, _T("Tipo budget"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_TipoBudget);
	AddLink(IDC_ASS_CDD_COMM, _T("Centro/Commessa"), RUNTIME_CLASS(CStrStatic), &pDoc->m_CentroCommessa);
	AddLink(IDC_ASS_DES_CDC_COMM, _T("IDC_ASS_DES_CDC_COMM"), RUNTIME_CLASS(CStrStatic), &pDoc->m_DesCentroCommessa);
	AddButton(IDC_ASS_COPIA_DAL_MESE, _T("Copia dal mese:"));
	AddLink(IDC_ASS_MESE_FROM, _T("ASS_ASS_MESE_FROM"), RUNTIME_CLASS(CIntEdit), &pDoc->m_MeseDa);
	AddLink(IDC_ASS_INV_SEGNO, _T("Invertendo il segno"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bInvertiSegno);
	pDoc->SetGrid(DynamicDownCast<CBodyEdit>(AddLink(IDC_ASS_RIGHE, _T("Righe piano base"),
													  RUNTIME_CLASS(Kvz_RighePianoBaseEdit), pDoc->GetDBTRighe())));
	AddRadio(IDC_ASS_PER_IMPORTO, _T("Assestamento"), &pDoc->m_bPerImporto, 1);
	AddRadio(IDC_ASS_PER_TOTALE, _T("Totale"), &pDoc->m_bPerTotale, 1);
	AddRadio(IDC_ASS_PER_TOTALE_PERC, _T("Totale %"), &pDoc->m_bPerTotalePerc, 1);
	AddButton(IDC_ASS_PERC, _T("&Perc"));
	AddRadio(IDC_ASS_RIPART_TOTALE, _T("Annua"), &pDoc->m_bRipartTotale, 2);
	AddRadio(IDC_ASS_RIPART_TRIMESTRE, _T("Trimestrale"), &pDoc->m_bRipartTrimestre, 2);
	// "Totale" names the entry option: the amount to spread goes by its own name.
	AddLink(IDC_ASS_TOTALE, _T("Importo totale"), RUNTIME_CLASS(CMoneyEdit), &pDoc->m_Totale);
	const LPCTSTR trimestri[] = {_T("Trim. I"), _T("Trim. II"), _T("Trim. III"), _T("Trim. IV")};
	for (int q = 0; q < 4; ++q)
		AddLink(IDC_ASS_TRIM1 + q, trimestri[q], RUNTIME_CLASS(CMoneyEdit), &pDoc->m_Trimestri[static_cast<size_t>(q)]);
	AddLink(IDC_ASS_RIPARTISCI, _T("&Ripartizione"), RUNTIME_CLASS(CExtButton), &pDoc->m_AbilitaSalvataggio);
	const LPCTSTR righe[] = {_T("MESE"), _T("PROG"), _T("PROIEZ")};
	const LPCTSTR titoliRighe[] = {_T("Mese selezionato"), _T("Progressivi"), _T("Proiezione annua")};
	Kvz_RigaConfronto* confronto[] = {&pDoc->m_Mese, &pDoc->m_Progressivi, &pDoc->m_Proiezione};
	UINT nID = IDC_ASS_CONFRONTO_FIRST;
	for (int r = 0; r < 3; ++r)
	{
		Kvz_RigaConfronto& c = *confronto[r];
		const CString riga = righe[r];
		// Each value read by its row and column of the panel.
		auto etichetta = [&](CParsedCtrl* pCtrl, LPCTSTR szColonna) {
			if (pCtrl)
				pCtrl->SetLabel(CString(titoliRighe[r]) + ", " + szColonna);
		};
		etichetta(AddLink(nID++, "ASS_CONS_AP_" + riga, RUNTIME_CLASS(CMoneyStatic), &c.Precedente), _T("precedente"));
		etichetta(AddLink(nID++, "ASS_BUDGET_" + riga, RUNTIME_CLASS(CMoneyStatic), &c.Budget), _T("budget"));
		etichetta(AddLink(nID++, "ASS_INSERITO_" + riga, RUNTIME_CLASS(CMoneyStatic), &c.Inserito), _T("attuale"));
		etichetta(AddLink(nID++, "ASS_DELTA_AP_" + riga, RUNTIME_CLASS(CMoneyStatic), &c.DeltaPrec),
				  _T("delta prec."));
		etichetta(AddLink(nID++, "ASS_DELTA_AP_PERC_" + riga, RUNTIME_CLASS(CPercStatic), &c.DeltaPrecPerc),
				  _T("delta prec. %"));
		etichetta(AddLink(nID++, "ASS_DELTA_BDG_" + riga, RUNTIME_CLASS(CMoneyStatic), &c.DeltaBudget),
				  _T("delta budget"));
		etichetta(AddLink(nID++, "ASS_DELTA_BDG_PERC_" + riga, RUNTIME_CLASS(CPercStatic), &c.DeltaBudgetPerc),
				  _T("delta budget %"));
	}
	AddLink(IDC_ASS_RIPRISTINA, _T("Ripris&tina"), RUNTIME_CLASS(CExtButton), &pDoc->m_Modificato);
	AddLink(IDC_ASS_SALVA, _T("&Salva"), RUNTIME_CLASS(CExtButton), &pDoc->m_AbilitaSalvataggio);
	SetLabels({{_T("IDC_ASS_DES_CONTO_KVZ_CORR"), _T("Descrizione conto")},
			   {_T("IDC_ASS_TIPO_CONTO_KVZ"), _T("Tipo conto")},
			   {_T("IDC_ASS_DES_CDC_COMM"), _T("Descrizione centro/commessa")},
			   {_T("ASS_ASS_MESE_FROM"), _T("Mese da copiare")}});
	pDoc->CaricaDati();
}

BOOL Kvz_AssestamentoFrame::OnCreateAuxToolbar()
{
	if (m_bToolbarCreata)
	{
		ASSERT_RELEASE_FAILED("!m_bToolbarCreata", "Kvz_AssestamentoFrame::OnCreateAuxToolbar", kSource);
		return FALSE;
	}
	m_bToolbarCreata = true;
	AddToolbarCommand(ID_ASS_RIPARTIZIONE_SALDI, Testo(_T("Ripartizione saldi")));
	AddToolbarCommand(ID_ASS_BUDGET, Testo(_T("Budget")));
	AddToolbarCommand(ID_ASS_DETTAGLIO, Testo(_T("Dettaglio assestamento")));
	return TRUE;
}
