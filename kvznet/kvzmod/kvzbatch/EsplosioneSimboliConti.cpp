#include "kvznet/kvzmod/kvzbatch/EsplosioneSimboliConti.h"

#include <algorithm>
#include <map>

#include "kvznet/kvzmod/kvzbatch/ConfermaTransazione.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/CRendoInfo.h"

namespace {
const char* const kSource = "EsplosioneSimboliConti";

enum : UINT
{
	IDC_ESPLOSIONE_CONTI_ESERC = 31830,
	IDC_ESPLOSIONE_CONTI_MODELLO,
	IDC_ESPLOSIONE_CONTI_DESCRI_MODELLO,
	IDC_ESPLOSIONE_CONTI_DAL_MESE,
	IDC_ESPLOSIONE_CONTI_AL_MESE,
	IDC_ESPLOSIONE_CONTI_STATO_ELAB,
};

}  // namespace

BEGIN_MESSAGE_MAP(BDEsplosioneSimboliConti, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_ESPLOSIONE_CONTI_ESERC, OnEsercizioChanged)
	ON_EN_VALUE_CHANGED(IDC_ESPLOSIONE_CONTI_MODELLO, OnModelloChanged)
END_MESSAGE_MAP()

BDEsplosioneSimboliConti::BDEsplosioneSimboliConti()
	: m_Esercizio(AfxGetApplicationDate().Year()), m_DalMese(1), m_AlMese(12)
{
	m_Modello.SetUpperCase();
}

BDEsplosioneSimboliConti::~BDEsplosioneSimboliConti() = default;

BOOL BDEsplosioneSimboliConti::OnAttachData()
{
	SetFormTitle(_T("Esplosione simboli"));
	m_pHKLModello = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLModello, _T("HKLModello"));
	m_pHKLModello->SetSelEsercizio(m_Esercizio);
	return TRUE;
}

// The lookup offers the models of the year being exploded.
void BDEsplosioneSimboliConti::OnEsercizioChanged()
{
	m_pHKLModello->SetSelEsercizio(m_Esercizio);
}

void BDEsplosioneSimboliConti::OnModelloChanged()
{
	m_DescriModello = m_Modello.IsEmpty() ? DataStr() : m_pHKLModello->GetRecord()->f_Descrizione;
	UpdateDataView();
}

void BDEsplosioneSimboliConti::OnBatchExecute()
{
	// Checked before the transaction opens; months left at 0 would list every value as 0.
	CString errore;
	UINT nFocus = 0;
	Kvz_TRRiclassificazioneTesta testa(this);
	if (m_Modello.IsEmpty())
		errore = "Indicare il modello di riclassificazione.", nFocus = IDC_ESPLOSIONE_CONTI_MODELLO;
	else if (testa.FindRecord(m_Esercizio, m_Modello) != TableReader::FOUND)
		errore = CString::Formatted("Il modello %s non esiste nell'esercizio %d.", m_Modello.GetString().GetString(),
									int(m_Esercizio)),
		nFocus = IDC_ESPLOSIONE_CONTI_MODELLO;
	else if (m_DalMese < 1 || m_AlMese > 12 || m_DalMese > m_AlMese)
		errore = CString::Formatted("Mesi errati (dal mese %d al mese %d): indicare mesi da 1 a 12, il primo non "
									"oltre l'ultimo.",
									int(m_DalMese), int(m_AlMese)),
		nFocus = IDC_ESPLOSIONE_CONTI_DAL_MESE;
	if (!errore.IsEmpty())
	{
		AfxMessageBox(errore);
		SetCtrlFocus(nFocus);
		m_bBatchNotStarted = true;
		return;
	}
	m_DescriModello = testa.GetRecord()->f_Descrizione;
	if (!StartBatchTransaction())
		return;

	BeginWaitCursor();
	// The rows are committed before the report reads them; a listing or commit that fails
	// keeps and prints nothing.
	const bool bListati = GeneraTemporaneo();
	if (!bListati)
		GetContext()->Rollback();
	if (bListati && Kvz_ConfermaTransazione(GetContext()))
	{
		// Also after an abort: the report shows what was listed so far.
		EseguiReport();
		m_StatoElab = GetScheduler()->IsAborted() ? CString(_T("Elaborazione interrotta su richiesta utente."))
												  : CString(_T("Elaborazione terminata."));
		if (m_nRighe == 0 && !GetScheduler()->IsAborted())
			GetMessages()->Add(
				CString::Formatted("Nessun conto nei simboli del piano base del modello %s nell'esercizio %d.",
								   m_Modello.GetString().GetString(), int(m_Esercizio)),
				CMessages::MSG_WARNING);
	}
	else
	{
		m_StatoElab = _T("Elaborazione non registrata.");
		GetMessages()->Add("Elaborazione non registrata: l'elenco dei conti dei simboli non è stato salvato e non "
						   "è stato stampato.",
						   CMessages::MSG_ERROR);
		m_nRighe = 0;
		m_bBatchNotStarted = true;
	}
	SetProgressText(m_StatoElab.GetString());
	EndWaitCursor();
	UpdateDataView();
	GetMessages()->Show();
}

void BDEsplosioneSimboliConti::CancellaElaborazionePrecedente()
{
	try
	{
		// In the run's transaction: on a server the default connection would commit it on its own.
		Kvz_TmpEsplosioneCodici rec;
		GetUpdatableSqlSession()->ExecuteSQL(CString::Formatted("DELETE FROM %s", rec.GetTableName().GetString()));
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)),
							 "BDEsplosioneSimboliConti::CancellaElaborazionePrecedente", kSource);
	}
}

bool BDEsplosioneSimboliConti::GeneraTemporaneo()
{
	bool bOk = true;
	m_nRighe = 0;
	CancellaElaborazionePrecedente();
	try
	{
		Kvz_TElencoContiSimboloPBase elenco;
		SqlTable righe(&elenco, GetReadOnlySqlSession(), this);
		righe.Open(FALSE);
		righe.SelectAll();
		righe.AddParam("p1", elenco.f_Esercizio);
		righe.AddFilterColumn(elenco.f_Esercizio);
		righe.AddParam("p2", elenco.f_ModelloRiclassific);
		righe.AddFilterColumn(elenco.f_ModelloRiclassific);
		righe.AddSortColumn(elenco.f_ModelloRiclassific);
		righe.AddSortColumn(elenco.f_NomeSimbolo);
		righe.AddSortColumn(elenco.f_ContoSelez);
		righe.SetParamValue("p1", m_Esercizio);
		righe.SetParamValue("p2", m_Modello);

		Kvz_TUTmpEsplosioneCodici lavoro(this, GetMessages());
		lavoro.SetSqlSession(GetUpdatableSqlSession());
		TRChartOfAccounts conti(this);
		Kvz_TRSimboliPianoBase simboli(this);
		// Each account and symbol is read once, however many rows name it.
		std::map<CString, CString> descrConti, annotazioni;
		std::map<CString, Valori> valori;

		long nRighe = 0, nRiga = 0;
		{
			// The count first, for the progress.
			Kvz_TElencoContiSimboloPBase contato;
			DataLng n;
			SqlTable conta(&contato, GetReadOnlySqlSession(), this);
			conta.Open(FALSE);
			conta.SelectSqlFun("COUNT(*)", n);
			conta.AddParam("p1", contato.f_Esercizio);
			conta.AddFilterColumn(contato.f_Esercizio);
			conta.AddParam("p2", contato.f_ModelloRiclassific);
			conta.AddFilterColumn(contato.f_ModelloRiclassific);
			conta.SetParamValue("p1", m_Esercizio);
			conta.SetParamValue("p2", m_Modello);
			conta.Query();
			nRighe = conta.IsEOF() ? 0 : static_cast<long>(n);
			conta.Close();
		}
		for (righe.Query(); !righe.IsEOF(); righe.MoveNext())
		{
			if (GetScheduler()->IsAborted())
				break;
			const CString simbolo = elenco.f_NomeSimbolo.GetString();
			const CString conto = elenco.f_ContoSelez.GetString();
			++nRiga;
			m_StatoElab = CString::Formatted("Simbolo %s - Conto %s (%ld di %ld) ...", simbolo.GetString(),
											 conto.GetString(), nRiga, std::max(nRiga, nRighe));
			SetProgressText(m_StatoElab.GetString());
			UpdateDataView();

			auto itConto = descrConti.find(conto);
			if (itConto == descrConti.end())
				itConto = descrConti
							  .emplace(conto, conti.FindRecord(elenco.f_ContoSelez) == TableReader::FOUND
												  ? conti.GetRecord()->f_Description.GetString()
												  : CString())
							  .first;
			auto itSimbolo = annotazioni.find(simbolo);
			if (itSimbolo == annotazioni.end())
				itSimbolo = annotazioni
								.emplace(simbolo, simboli.FindRecord(m_Esercizio, elenco.f_NomeSimbolo, m_Modello) ==
													  TableReader::FOUND
													  ? simboli.GetRecord()->f_Annotazioni.GetString()
													  : CString())
								.first;
			auto itValori = valori.find(conto);
			if (itValori == valori.end())
				itValori = valori.emplace(conto, RitornaValori(elenco.f_ContoSelez)).first;

			// An account listed twice in a symbol (once per cost centre) gives one row: the last one's sign.
			lavoro.FindRecord(m_Esercizio, m_Modello, DataStr(" "), elenco.f_NomeSimbolo, elenco.f_ContoSelez, FALSE);
			Kvz_TmpEsplosioneCodici* pRiga = lavoro.GetRecord();
			pRiga->f_Esercizio = m_Esercizio;
			pRiga->f_ModelloRiclassific = m_Modello;
			pRiga->f_CodRiclassificato = DataStr(" ");
			pRiga->f_Descrizione = m_DescriModello;
			pRiga->f_Simbolo = elenco.f_NomeSimbolo;
			pRiga->f_DescrizioneSimbolo = itSimbolo->second;
			pRiga->f_Conto = elenco.f_ContoSelez;
			pRiga->f_DescrizioneConto = itConto->second;
			const double segno = elenco.f_SegnoConto.GetItemValue() == 0 ? 1.0 : -1.0;
			const Valori& v = itValori->second;
			pRiga->f_ValoreContabile = segno * v.contabile;
			pRiga->f_ValorePrevisionale = segno * v.previsionale;
			pRiga->f_ValoreAssestamento = segno * v.assestamento;
			pRiga->f_Totale = pRiga->f_ValoreContabile.GetValue() + pRiga->f_ValorePrevisionale.GetValue() +
							  pRiga->f_ValoreAssestamento.GetValue();
			if (!lavoro.UpdateRecord())
				throw SqlException(CString::Formatted("Il conto %s del simbolo %s non è stato scritto.", conto.GetString(),
													  simbolo.GetString()));
			++m_nRighe;
		}
		righe.Close();
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "BDEsplosioneSimboliConti::GeneraTemporaneo",
							 kSource);
		e.ShowError();
		bOk = false;
	}
	if (m_pValori)
		m_pValori->Close();
	m_pValori.reset();
	m_pRigaPB.reset();
	return bOk;
}

BDEsplosioneSimboliConti::Valori BDEsplosioneSimboliConti::RitornaValori(const DataStr& aConto)
{
	Valori v;
	if (!m_pValori)
	{
		m_pRigaPB = std::make_unique<Kvz_TPianoBaseRighe>();
		Kvz_TPianoBaseRighe& r = *m_pRigaPB;
		m_pValori = std::make_unique<SqlTable>(&r, GetReadOnlySqlSession(), this);
		SqlTable& t = *m_pValori;
		t.Open(FALSE);
		auto quotato = [&](const DataObj& c) { return "\"" + t.GetColumnName(c) + "\""; };
		const CString saldo = quotato(r.f_SaldoContabile);
		const CString rateo = quotato(r.f_ImportoRateo);
		const CString daPrev = quotato(r.f_RateoDaPrevisionale);
		t.SelectSqlFun(CString::Formatted("SUM(%s)", saldo.GetString()), m_SommaContabile);
		t.SelectSqlFun(CString::Formatted("SUM(CASE WHEN %s <> 0 THEN %s ELSE 0 END)", daPrev.GetString(),
										  rateo.GetString()),
					   m_SommaPrevisionale);
		t.SelectSqlFun(CString::Formatted("SUM(CASE WHEN %s = 0 THEN %s ELSE 0 END)", daPrev.GetString(),
										  rateo.GetString()),
					   m_SommaAssestamento);
		t.AddParam("p0", r.f_Esercizio);
		t.AddFilterColumn(r.f_Esercizio);
		t.AddParam("p3", r.f_ContoKvz);
		t.AddFilterColumn(r.f_ContoKvz);
		// Account level only: the rows of cost centres and jobs repeat its amounts.
		t.AddParam("p6", r.f_CentroCommessa);
		t.AddFilterColumn(r.f_CentroCommessa);
		t.AddParam("p4", r.f_Mese);
		t.AddParam("p5", r.f_Mese);
		t.AddBetweenColumn(r.f_Mese);
		t.SetParamValue("p0", m_Esercizio);
		t.SetParamValue("p6", DataStr());
		t.SetParamValue("p4", m_DalMese);
		t.SetParamValue("p5", m_AlMese);
	}
	m_pValori->SetParamValue("p3", aConto);
	m_SommaContabile.Clear();
	m_SommaPrevisionale.Clear();
	m_SommaAssestamento.Clear();
	m_pValori->Query();
	if (!m_pValori->IsEOF())
	{
		v.contabile = m_SommaContabile.GetValue();
		v.previsionale = m_SommaPrevisionale.GetValue();
		v.assestamento = m_SommaAssestamento.GetValue();
	}
	return v;
}

void BDEsplosioneSimboliConti::EseguiReport()
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return;  // no framework around the document (a batch run from code)
	if (!AfxGetReportEngine())
	{
		GetMessages()->Add("Stampa non eseguita: nessun motore di stampa disponibile.", CMessages::MSG_WARNING);
		return;
	}
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(kReport));
	pInfo->AddReport(CPLVNamespace(kReport));
	pInfo->AddParam("w_DAlMese", m_DalMese);
	pInfo->AddParam("w_AlMese", m_AlMese);
	pInfo->AddParam("w_Modello", m_Modello);
	pInfo->m_bShowAskDialog = FALSE;
	pInfo->m_bShowPreview = FALSE;
	pInfo->m_bShowProgress = FALSE;
	pInfo->m_bUnattended = TRUE;
	pInfo->m_bCloseOnEnd = TRUE;
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

void UIEsplosioneSimboliConti::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDEsplosioneSimboliConti*>(GetDocument());
	AddLink(IDC_ESPLOSIONE_CONTI_ESERC, _T("Esercizio:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
	pDoc->m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_ESPLOSIONE_CONTI_MODELLO, _T("Modello:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Modello,
			pDoc->GetHotLink(_T("HKLModello")));
	AddLink(IDC_ESPLOSIONE_CONTI_DESCRI_MODELLO, _T("ESPLOSIONE_CONTI_DESCRI_MODELLO"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_DescriModello);
	SetLabels({{_T("ESPLOSIONE_CONTI_DESCRI_MODELLO"), _T("Descrizione modello")}});
	AddLink(IDC_ESPLOSIONE_CONTI_DAL_MESE, _T("Dal mese:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_DalMese);
	AddLink(IDC_ESPLOSIONE_CONTI_AL_MESE, _T("Al mese:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_AlMese);
	AddLink(IDC_ESPLOSIONE_CONTI_STATO_ELAB, _T("Stato elaborazione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
