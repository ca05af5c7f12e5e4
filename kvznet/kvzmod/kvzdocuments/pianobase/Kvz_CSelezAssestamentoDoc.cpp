#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"

#include <cmath>
#include <memory>

#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_ViewContatoriDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/CRendoInfo.h"

namespace {
const char* const kSource = "Kvz_CSelezAssestamentoDoc";
const LPCTSTR kNsAssestamento = _T("KvzNet.KvzMod.KvzDocuments.DAssestamento");

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

void MostraErrore(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), method, kSource);
	e.ShowError(_T(""));
}

int BmpSaldoVariato(const DataBool& bVariato)
{
	return bVariato ? KVZ_BMP_SALDO_VARIATO : KVZ_BMP_RIGA_NORMALE;
}
}  // namespace

// ---- buffers -----------------------------------------------------------------------------------

Kvz_DBTSelezAssContiKvz::Kvz_DBTSelezAssContiKvz(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TAnagContiKvz::GetThisClass(), pDocument, _T("DBTSelezAssContiKvz"), TRUE, FALSE)
{
}

Kvz_DBTSelezCdcCommesseKvz::Kvz_DBTSelezCdcCommesseKvz(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TCentriCommesseContiKvz::GetThisClass(), pDocument, _T("DBTSelezCdcCommesseKvz"), TRUE,
					   FALSE)
{
}

Kvz_DBTAnteprimaPianoBase::Kvz_DBTAnteprimaPianoBase(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhPianoBaseRighe::GetThisClass(), pDocument, _T("DBTAnteprimaPianoBase"), TRUE, FALSE)
{
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CSelezAssestamentoDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_SEL_ASS_ANNO, OnAnnoChanged)
	ON_BN_CLICKED(IDC_SEL_ASS_ANNO_PREC, OnAnnoPrecedente)
	ON_BN_CLICKED(IDC_SEL_ASS_ANNO_SUCC, OnAnnoSuccessivo)
	ON_BN_CLICKED(IDC_SEL_ASS_INTERROGA, OnInterroga)
	ON_BEN_ROW_CHANGED(IDC_SEL_ASS_CONTI, OnRigaContoChanged)
	ON_BEN_ROW_CHANGED(IDC_SEL_ASS_CDC_COMM, OnRigaCdcChanged)
	ON_BEN_ROW_CLICKED(IDC_SEL_ASS_CONTI, OnRigaContoClicked)
	ON_BEN_ROW_CLICKED(IDC_SEL_ASS_CDC_COMM, OnRigaCdcClicked)
	ON_BEN_ROW_DBLCLICKED(IDC_SEL_ASS_CONTI, OnRigaContoDblClicked)
	ON_BEN_ROW_DBLCLICKED(IDC_SEL_ASS_CDC_COMM, OnRigaCdcDblClicked)
	ON_EN_VALUE_CHANGED(IDC_SEL_ASS_CDC_PERC, OnPercRipartizioneChanged)
	ON_BN_CLICKED(IDC_SEL_ASS_SCHEDA_CONTABILE, OnSchedaContabile)
	ON_COMMAND(IDC_SEL_ASS_SCHEDA_CONTABILE, OnSchedaContabile)
	ON_COMMAND(ID_SEL_ASS_CONTATORI, OnContatori)
END_MESSAGE_MAP()

Kvz_CSelezAssestamentoDoc::Kvz_CSelezAssestamentoDoc()
	: m_TipoBudget(E_KVZ_TIPOBUDGET, 0),
	  m_bContiEconomici(TRUE),
	  m_bContiPatrimoniali(FALSE),
	  m_bTuttiConti(FALSE),
	  m_Anno(AfxGetApplicationDate().Year()),
	  m_TipoCentroComm(E_KVZ_TIPOCENTROCOMM, 0),
	  m_bEscludiNonMovimentati(FALSE),
	  m_bEscludiNonAssestati(FALSE),
	  m_bContoCliccato(FALSE),
	  m_strReportNamespace(_T("KvzNet.KvzMod.skcontab"))
{
	m_ContoKvz.SetUpperCase();
	m_CentroCommessa.SetUpperCase();
}

Kvz_CSelezAssestamentoDoc::~Kvz_CSelezAssestamentoDoc()
{
	delete m_pDBTConti;
	delete m_pDBTCdcComm;
	delete m_pDBTAnteprima;
}

BOOL Kvz_CSelezAssestamentoDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Assestamento piano base per conto raggruppato")));
	// How often the year's reclassified codes are used: a command of the frame.
	if (CBaseFrame* pFrame = GetMasterFrame())
		pFrame->AddToolbarCommand(ID_SEL_ASS_CONTATORI, Testo(_T("&Contatori")));
	m_pDBTConti = new Kvz_DBTSelezAssContiKvz(this);
	m_pDBTCdcComm = new Kvz_DBTSelezCdcCommesseKvz(this);
	m_pDBTAnteprima = new Kvz_DBTAnteprimaPianoBase(this);
	m_pTRPianoBaseTesta = std::make_unique<Jex_TRPianoBaseTesta>(this);
	m_pTRPianoBaseTesta->SetSqlSession(GetReadOnlySqlSession());
	return TRUE;
}

Kvz_TAnagContiKvz* Kvz_CSelezAssestamentoDoc::GetContoCorrente() const
{
	if (!m_pDBTConti || m_pDBTConti->GetSize() == 0)
		return nullptr;
	const int nRow = m_pDBTConti->GetCurrentRowIdx();
	return m_pDBTConti->GetConto(nRow < 0 ? 0 : nRow);
}

DataLng Kvz_CSelezAssestamentoDoc::CercaIDPianoBase(const DataInt& aAnno, const DataStr& aConto, const DataEnum& aTipo,
													const DataStr& aCentroComm)
{
	Kvz_TPianoBaseTesta rec;
	try
	{
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		table.Select(rec.f_IDPianoBase);
		table.AddParam(_T("p1"), rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam(_T("p3"), rec.f_ContoKvz);
		table.AddFilterColumn(rec.f_ContoKvz);
		table.AddParam(_T("p7"), rec.f_TipoCentroComm);
		table.AddFilterColumn(rec.f_TipoCentroComm);
		table.AddParam(_T("p4"), rec.f_CentroCommessa);
		table.AddFilterColumn(rec.f_CentroCommessa);
		// The first one, whatever the budget type: the same on every backend.
		table.AddSortColumn(rec.f_IDPianoBase);
		table.SetParamValue(_T("p1"), aAnno);
		table.SetParamValue(_T("p3"), aConto);
		table.SetParamValue(_T("p7"), aTipo);
		table.SetParamValue(_T("p4"), aCentroComm);
		table.Query();
		const DataLng id = table.IsEOF() ? DataLng(-1) : rec.f_IDPianoBase;
		table.Close();
		return id;
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CSelezAssestamentoDoc::CercaIDPianoBase");
		return DataLng(-1);
	}
}

void Kvz_CSelezAssestamentoDoc::PreparaQueryConti(SqlTable& table, Kvz_TAnagContiKvz& rec)
{
	table.SelectAll();
	table.AddParam(_T("p1"), rec.f_Esercizio);
	table.AddFilterColumn(rec.f_Esercizio);
	table.AddParam(_T("p2"), rec.f_ProponiInAssest);
	table.AddFilterColumn(rec.f_ProponiInAssest);
	table.SetParamValue(_T("p1"), m_Anno);
	table.SetParamValue(_T("p2"), DataBool(TRUE));
	if (!m_bTuttiConti)
	{
		table.AddParam(_T("p3"), rec.f_TipoConto);
		table.AddFilterColumn(rec.f_TipoConto);
		table.SetParamValue(_T("p3"), DataEnum(E_TIPOCONTO, m_bContiEconomici ? 0 : 1));
	}
	if (m_bEscludiNonMovimentati || m_bEscludiNonAssestati)
	{
		// One query for all accounts instead of one per account.
		Kvz_TPianoBaseRighe righe;
		const CString conti = CString::Formatted("\"%s\"", Kvz_TAnagContiKvz::GetStaticName());
		CString cond = CString::Formatted(
			" AND EXISTS (SELECT 1 FROM \"%s\" r WHERE r.\"Esercizio\" = %s.\"Esercizio\" AND r.\"ContoKvz\" = "
			"%s.\"ContoKvz\"",
			Kvz_TPianoBaseRighe::GetStaticName(), conti.GetString(), conti.GetString());
		if (m_bEscludiNonMovimentati)
			cond += " AND r.\"SaldoContabile\" <> 0";
		if (m_bEscludiNonAssestati)
			cond += " AND r.\"ImportoRateo\" <> 0";
		table.m_strFilter += cond + ")";
	}
	table.AddSortColumn(rec.f_ContoKvz);
}

void Kvz_CSelezAssestamentoDoc::OnRiempiDBTConti()
{
	m_pDBTConti->RemoveAll(TRUE);
	m_pDBTCdcComm->RemoveAll(TRUE);
	m_pDBTAnteprima->RemoveAll(TRUE);
	if (m_pGridConti)
		m_pGridConti->ResetScrollRange();
	m_CentroCommessa.Clear();
	m_DesCentroCommessa.Clear();
	m_ContoKvz.Clear();
	m_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
	try
	{
		Kvz_TAnagContiKvz rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		PreparaQueryConti(table, rec);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TAnagContiKvz*>(m_pDBTConti->AddRecord());
			*pRiga = rec;
			pRiga->l_TmpInp = _T(" ");
			pRiga->l_StatusBmp = BmpSaldoVariato(rec.f_SaldoVariato);
		}
		table.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CSelezAssestamentoDoc::OnRiempiDBTConti");
	}
	if (m_pDBTConti->GetSize() > 0)
	{
		if (m_pGridConti)
			m_pGridConti->SetCurrRecord(0);
		m_pDBTConti->SetCurrentRow(0);
		m_ContoKvz = m_pDBTConti->GetConto(0)->f_ContoKvz;
		RiempiDBTRighePBase();
		RiempiDBTCentriComm();
	}
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::RiempiDBTCentriComm()
{
	m_pDBTCdcComm->RemoveAll(TRUE);
	const Kvz_TAnagContiKvz* pConto = GetContoCorrente();
	if (!pConto)
		return;
	try
	{
		Kvz_TCentriCommesseContiKvz rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		table.SelectAll();
		table.AddParam(_T("p1"), rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam(_T("p3"), rec.f_ContoKvz);
		table.AddFilterColumn(rec.f_ContoKvz);
		table.AddSortColumn(rec.f_CentroCommessa);
		// A cost centre and a job may share a code.
		table.AddSortColumn(rec.f_Tipo);
		table.SetParamValue(_T("p1"), m_Anno);
		table.SetParamValue(_T("p3"), pConto->f_ContoKvz);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TCentriCommesseContiKvz*>(m_pDBTCdcComm->AddRecord());
			*pRiga = rec;
			pRiga->l_StatusBmp = BmpSaldoVariato(rec.f_SaldoVariato);
		}
		table.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CSelezAssestamentoDoc::RiempiDBTCentriComm");
	}
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::RiempiDBTRighePBase()
{
	m_pDBTAnteprima->RemoveAll(TRUE);
	const Kvz_TAnagContiKvz* pConto = GetContoCorrente();
	if (!pConto)
		return;
	const DataLng id = CercaIDPianoBase(m_Anno, pConto->f_ContoKvz, m_TipoCentroComm, m_CentroCommessa);
	if (id < 0)
	{
		UpdateDataView();
		return;
	}
	try
	{
		// Every row is of the same account: its type is read once.
		BOOL bPatrimoniale = FALSE;
		Kvz_TRAnagContiKvz conti(this);
		conti.SetSqlSession(GetReadOnlySqlSession());
		if (conti.FindRecord(m_Anno, pConto->f_ContoKvz) == TableReader::FOUND)
			bPatrimoniale = conti.GetRecord()->f_TipoConto == DataEnum(E_TIPOCONTO, 1);

		Kvz_TEnhPianoBaseRighe rec;
		SqlTable table(&rec, GetReadOnlySqlSession(), this);
		table.Open(FALSE, FALSE, TRUE);
		table.SelectAll();
		table.AddParam(_T("p1"), rec.f_IDPianoBase);
		table.AddFilterColumn(rec.f_IDPianoBase);
		table.AddSortColumn(rec.f_Mese);
		table.SetParamValue(_T("p1"), id);
		DataMon progSaldo, progRateo, progTotale;
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TEnhPianoBaseRighe*>(m_pDBTAnteprima->AddRecord());
			*pRiga = rec;
			const BOOL bDifferenza = rec.f_GiaImportato && !rec.f_SaldoDiffAccettato &&
									 std::fabs(rec.f_SaldoPrecedente - rec.f_SaldoContabile) > GetMonEpsilon();
			pRiga->l_StatusBmp = bDifferenza ? KVZ_BMP_PBASE_DIFFERENZA : KVZ_BMP_PBASE_NORMALE;
			progSaldo += rec.f_SaldoContabile;
			// A balance sheet's adjusted figures are already running balances.
			if (bPatrimoniale)
			{
				progRateo = rec.f_ImportoRateo;
				progTotale = rec.f_TotaleAssestato;
			}
			else
			{
				progRateo += rec.f_ImportoRateo;
				progTotale += rec.f_TotaleAssestato;
			}
			pRiga->l_ProgSaldoContabile = progSaldo;
			pRiga->l_ProgImportoRateo = progRateo;
			pRiga->l_ProgTotaleAssestato = progTotale;
		}
		table.Close();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CSelezAssestamentoDoc::RiempiDBTRighePBase");
	}
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::SelezionaLivelloConto()
{
	m_CentroCommessa.Clear();
	m_DesCentroCommessa.Clear();
	m_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
}

void Kvz_CSelezAssestamentoDoc::OnAnnoChanged()
{
	OnRiempiDBTConti();
}

void Kvz_CSelezAssestamentoDoc::OnAnnoPrecedente()
{
	m_Anno = int(m_Anno) - 1;
	OnRiempiDBTConti();
}

void Kvz_CSelezAssestamentoDoc::OnAnnoSuccessivo()
{
	m_Anno = int(m_Anno) + 1;
	OnRiempiDBTConti();
}

void Kvz_CSelezAssestamentoDoc::OnInterroga()
{
	OnRiempiDBTConti();
}

void Kvz_CSelezAssestamentoDoc::OnRigaContoChanged()
{
	const Kvz_TAnagContiKvz* pConto = GetContoCorrente();
	if (!pConto)
		return;
	m_ContoKvz = pConto->f_ContoKvz;
	SelezionaLivelloConto();
	RiempiDBTRighePBase();
	RiempiDBTCentriComm();
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::OnRigaCdcChanged()
{
	const Kvz_TCentriCommesseContiKvz* pCdc = m_pDBTCdcComm->GetCdc(m_pDBTCdcComm->GetCurrentRowIdx());
	if (!pCdc)
		return;
	m_CentroCommessa = pCdc->f_CentroCommessa;
	m_TipoCentroComm = pCdc->f_Tipo;
	m_DesCentroCommessa = pCdc->f_Descrizione;
	RiempiDBTRighePBase();
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::OnRigaContoClicked()
{
	m_bContoCliccato = TRUE;
	const Kvz_TAnagContiKvz* pConto = GetContoCorrente();
	// The account already selected, clicked again: back from its cost centre/job to itself.
	if (pConto && pConto->f_ContoKvz == m_ContoKvz && !m_CentroCommessa.IsEmpty())
	{
		SelezionaLivelloConto();
		RiempiDBTRighePBase();
	}
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::OnRigaCdcClicked()
{
	if (!m_bContoCliccato)
		return;
	m_bContoCliccato = FALSE;
	const Kvz_TCentriCommesseContiKvz* pCdc = m_pDBTCdcComm->GetCdc(m_pDBTCdcComm->GetCurrentRowIdx());
	if (!pCdc)
		return;
	m_ContoKvz = pCdc->f_ContoKvz;
	m_CentroCommessa = pCdc->f_CentroCommessa;
	m_TipoCentroComm = pCdc->f_Tipo;
	RiempiDBTRighePBase();
	UpdateDataView();
}

void Kvz_CSelezAssestamentoDoc::OnRigaContoDblClicked()
{
	m_bContoCliccato = TRUE;
	ApriAssestamento();
}

void Kvz_CSelezAssestamentoDoc::OnRigaCdcDblClicked()
{
	ApriAssestamento();
}

void Kvz_CSelezAssestamentoDoc::ApriAssestamento()
{
	if (!m_pDBTConti || m_pDBTConti->GetSize() == 0 || m_pDBTConti->GetCurrentRowIdx() < 0)
		return;
	m_pDocAssestamento = nullptr;
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		m_pDocAssestamento = pCmd->RunDocument(kNsAssestamento, _T("Default"), nullptr, this);
}

void Kvz_CSelezAssestamentoDoc::OnPercRipartizioneChanged()
{
	const Kvz_TCentriCommesseContiKvz* pCdc = m_pDBTCdcComm->GetCdc(m_pDBTCdcComm->GetCurrentRowIdx());
	if (!pCdc)
		return;
	try
	{
		// Written at once, as typed.
		Kvz_TUCentriCommesseContiKvz updater(this);
		updater.SetSqlSession(GetUpdatableSqlSession());
		updater.SetAutocommit(TRUE);
		if (updater.FindRecord(pCdc->f_Esercizio, pCdc->f_ContoKvz, pCdc->f_CentroCommessa, pCdc->f_Tipo, FALSE) ==
			TableReader::FOUND)
		{
			updater.GetRecord()->f_PercRipartizione = pCdc->f_PercRipartizione;
			updater.UpdateRecord();
		}
		updater.Free();
	}
	catch (const SqlException& e)
	{
		MostraErrore(e, "Kvz_CSelezAssestamentoDoc::OnPercRipartizioneChanged");
	}
}

void Kvz_CSelezAssestamentoDoc::OnSchedaContabile()
{
	const Kvz_TAnagContiKvz* pConto = GetContoCorrente();
	const Kvz_TEnhPianoBaseRighe* pRiga = m_pDBTAnteprima->GetRiga(m_pDBTAnteprima->GetCurrentRowIdx());
	if (!pConto || m_pDBTConti->GetCurrentRowIdx() < 0 || !pRiga)
		return;
	const int nMese = pRiga->f_Mese;
	const int nAnno = m_Anno;
	if (nMese < 1 || nMese > 12)
		return;
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(m_strReportNamespace));
	pInfo->AddReport(CPLVNamespace(m_strReportNamespace));
	pInfo->AddParam(_T("w_DataInizio"), DataDate(1, nMese, nAnno));
	pInfo->AddParam(_T("w_DataFine"), DataDate(MonthDays(nMese, nAnno), nMese, nAnno));
	pInfo->AddParam(_T("w_ContoInizio"), pConto->f_ContoKvz);
	pInfo->AddParam(_T("w_ContoFine"), pConto->f_ContoKvz);
	pInfo->AddParam(_T("w_AskDialog"), DataBool(FALSE));
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

void Kvz_CSelezAssestamentoDoc::OnContatori()
{
	Kvz_ApriContatori(this);
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_SelezAssContiKvzEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TAnagContiKvz*>(GetDBT()->GetRecord());
	if (auto* pStato = DynamicDownCast<CIntBitmap>(
			AddColumn(IDC_SEL_ASS_CONTI_BMP, _T("Bmp"), _T("Stato"), RUNTIME_CLASS(CIntBitmap), pRec->l_StatusBmp, 2)
				->GetParsedCtrl()))
		pStato->SetBitmapTexts({{KVZ_BMP_RIGA_NORMALE, _T("")}, {KVZ_BMP_SALDO_VARIATO, _T("Saldo variato")}});
	AddColumn(IDC_SEL_ASS_CONTI_CONTO, _T("ContoKvz"), _T("Conto Kvz"), RUNTIME_CLASS(CStrStatic), pRec->f_ContoKvz, 11);
	AddColumn(IDC_SEL_ASS_CONTI_DESCRI, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	AddColumn(IDC_SEL_ASS_CONTI_T, _T("T"), _T(" "), RUNTIME_CLASS(CStrEdit), pRec->l_TmpInp, 1);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	// Accounts editable in the adjustments are drawn in blue.
	SetRowColor(TRUE, 0xFF0000);
}

void Kvz_SelezCdcCommesseKvzEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TCentriCommesseContiKvz*>(GetDBT()->GetRecord());
	if (auto* pStato = DynamicDownCast<CIntBitmap>(
			AddColumn(IDC_SEL_ASS_CDC_BMP, _T("Bmp"), _T("Stato"), RUNTIME_CLASS(CIntBitmap), pRec->l_StatusBmp, 2)
				->GetParsedCtrl()))
		pStato->SetBitmapTexts({{KVZ_BMP_RIGA_NORMALE, _T("")}, {KVZ_BMP_SALDO_VARIATO, _T("Saldo variato")}});
	AddColumn(IDC_SEL_ASS_CDC_TIPO, _T("Tipo"), _T("Tipo"), RUNTIME_CLASS(CEnumStatic), pRec->f_Tipo, 14);
	AddColumn(IDC_SEL_ASS_CDC_CODICE, _T("CentroCommessa"), _T("Centro/Commessa"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CentroCommessa, 12);
	AddColumn(IDC_SEL_ASS_CDC_DESCRI, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 16, 2);
	AddColumn(IDC_SEL_ASS_CDC_PERC, _T("Ripartizione"), _T("% ripartizione"), RUNTIME_CLASS(CPercEdit),
			  pRec->f_PercRipartizione, 8);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetRowColor(TRUE, 0xFF0000);
}

void Kvz_AnteprimaPianoBaseEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhPianoBaseRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_SEL_ASS_PB_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4);
	if (auto* pStato = DynamicDownCast<CIntBitmap>(
			AddColumn(IDC_SEL_ASS_PB_BMP, _T("Bmp"), _T("Stato"), RUNTIME_CLASS(CIntBitmap), pRec->l_StatusBmp, 2)
				->GetParsedCtrl()))
		pStato->SetBitmapTexts({{KVZ_BMP_PBASE_NORMALE, _T("")}, {KVZ_BMP_PBASE_DIFFERENZA, _T("Differenza")}});
	AddColumn(IDC_SEL_ASS_PB_OK, _T("OK"), _T("OK"), RUNTIME_CLASS(CBoolStatic), pRec->f_SaldoDiffAccettato, 3);
	AddColumn(IDC_SEL_ASS_PB_PREC, _T("Prec"), _T("Prec."), RUNTIME_CLASS(CMoneyStatic), pRec->f_SaldoPrecedente, 14);
	AddColumn(IDC_SEL_ASS_PB_CONTABILE, _T("Contabile"), _T("Contabile"), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_SaldoContabile, 14);
	AddColumn(IDC_SEL_ASS_PB_ASSEST, _T("Assestamento"), _T("Assestamento"), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_ImportoRateo, 14);
	AddColumn(IDC_SEL_ASS_PB_P, _T("P"), _T("P"), RUNTIME_CLASS(CBoolStatic), pRec->f_RateoDaPrevisionale, 3);
	AddColumn(IDC_SEL_ASS_PB_TOTALE, _T("Totale"), _T("Totale"), RUNTIME_CLASS(CMoneyStatic), pRec->f_TotaleAssestato,
			  14);
	AddColumn(IDC_SEL_ASS_PB_PR_CONT, _T("PrCont"), _T("Pr.cont."), RUNTIME_CLASS(CMoneyStatic),
			  pRec->l_ProgSaldoContabile, 14);
	AddColumn(IDC_SEL_ASS_PB_PR_ASSEST, _T("PrAssest"), _T("Pr.assest."), RUNTIME_CLASS(CMoneyStatic),
			  pRec->l_ProgImportoRateo, 14);
	AddColumn(IDC_SEL_ASS_PB_PR_TOTALE, _T("PrTotale"), _T("Pr.totale"), RUNTIME_CLASS(CMoneyStatic),
			  pRec->l_ProgTotaleAssestato, 14);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	AddUserButton(IDC_SEL_ASS_SCHEDA_CONTABILE, _T("Scheda contabile"));
}

void Kvz_CSelezAssestamentoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CSelezAssestamentoDoc*>(GetDocument());
	AddRadio(IDC_SEL_ASS_TIPO_CONTO_ECON, _T("Econom."), &pDoc->m_bContiEconomici, 1);
	AddRadio(IDC_SEL_ASS_TIPO_CONTO_PATRIM, _T("Patrim."), &pDoc->m_bContiPatrimoniali, 1);
	AddRadio(IDC_SEL_ASS_TIPO_CONTO_TUTTI, _T("Tutti"), &pDoc->m_bTuttiConti, 1);
	AddButton(IDC_SEL_ASS_ANNO_PREC, _T("<-"));
	AddLink(IDC_SEL_ASS_ANNO, _T("Anno"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddButton(IDC_SEL_ASS_ANNO_SUCC, _T("->"));
	AddLink(IDC_SEL_ASS_TIPO_BUDGET, _T("Default t.budget"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_TipoBudget);
	AddLink(IDC_SEL_ASS_ESCLUDI_NON_MOV, _T("Escludi non movimentati"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_bEscludiNonMovimentati);
	AddLink(IDC_SEL_ASS_ESCLUDI_NON_ASSEST, _T("Escludi non assestati"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_bEscludiNonAssestati);
	AddButton(IDC_SEL_ASS_INTERROGA, _T("&Interroga"));
	AddLink(IDC_SEL_ASS_ANTEPRIMA, _T("Anteprima piano base"), RUNTIME_CLASS(Kvz_AnteprimaPianoBaseEdit),
			pDoc->m_pDBTAnteprima);
	pDoc->SetGridConti(DynamicDownCast<CBodyEdit>(
		AddLink(IDC_SEL_ASS_CONTI, _T("Conti"), RUNTIME_CLASS(Kvz_SelezAssContiKvzEdit), pDoc->m_pDBTConti)));
	AddLink(IDC_SEL_ASS_CDC_COMM, _T("Centri commesse"), RUNTIME_CLASS(Kvz_SelezCdcCommesseKvzEdit), pDoc->m_pDBTCdcComm);
	pDoc->OnRiempiDBTConti();
}
