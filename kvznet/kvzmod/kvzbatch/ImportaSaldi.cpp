#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"

#include <cmath>
#include <ctime>
#include <initializer_list>

#include "kvznet/kvzmod/kvzbatch/ConfermaTransazione.h"
#include "kvznet/kvzmod/kvzbatch/LetturaTabelle.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasecomponents/SummariesBalancesChartOfAccounts.h"
#include "platform/erp/erpbasedbl/CompanyInfo.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "ImportaSaldi";

enum : UINT
{
	IDC_IMP_SALDI_MESE = 31803,
	IDC_IMP_SALDI_ANNO,
	IDC_IMP_SALDI_PREVIEW,
	IDC_IMP_SALDI_IMPORTAZIONE,
	IDC_IMP_SALDI_PREVISIONALE,
	IDC_IMP_RIPORTA_CENTRI_COMMESSE,
	IDC_IMP_SALDI_STATO_ELAB,
	IDC_IMP_SALDI_DATA_ULT_IMPORT,
};

const WORD kCentro = 0;
const WORD kCommessa = 1;

const char* const kParametriMancanti = "Attenzione: non sono stati impostati i parametri dell'applicazione.";
const char* const kInterrotta = "Elaborazione interrotta su richiesta utente: nessuna modifica salvata.";

std::string Key(const CString& s)
{
	return s.str();
}

int MeseAssoluto(const DataDate& d)
{
	return d.Year() * 12 + d.Month() - 1;
}
}  // namespace

// ---- the grouping tree -------------------------------------------------------------------------

Kvz_CdcCommContoKvzElem* Kvz_ContoKvzElem::TrovaCdcComm(const CString& strCodice, WORD nTipo) const
{
	auto it = m_CdcIndex.find({nTipo, Key(strCodice)});
	return it == m_CdcIndex.end() ? nullptr : it->second;
}

Kvz_CdcCommContoKvzElem* Kvz_ContoKvzElem::AggiungiCdcComm(const CString& strCodice, WORD nTipo,
														   const CString& strDescrizione, double dPerc, int nMesi)
{
	if (Kvz_CdcCommContoKvzElem* p = TrovaCdcComm(strCodice, nTipo))
		return p;
	auto p = std::make_unique<Kvz_CdcCommContoKvzElem>();
	p->m_Codice = strCodice;
	p->m_Tipo = nTipo;
	p->m_Descrizione = strDescrizione;
	p->m_Perc = dPerc;
	p->m_Mesi.resize(static_cast<size_t>(nMesi));
	Kvz_CdcCommContoKvzElem* pElem = p.get();
	m_CdcIndex[{nTipo, Key(strCodice)}] = pElem;
	m_CdcComm.push_back(std::move(p));
	return pElem;
}

Kvz_ContoKvzElem* Kvz_MastroElem::Trova(const CString& strCodice) const
{
	auto it = m_Index.find(Key(strCodice));
	return it == m_Index.end() ? nullptr : it->second;
}

// The cost-accounting entries of one account in the run's period.
class Kvz_CImportaSaldiDoc::CursoreMovimenti
{
public:
	explicit CursoreMovimenti(Kvz_CImportaSaldiDoc* pDoc) : m_Table(&m_Rec, pDoc->GetReadOnlySqlSession(), pDoc)
	{
		m_Table.Open(FALSE);
		// Only what the split of an entry needs: the cursor runs once per account.
		for (const DataObj* pCol : std::initializer_list<const DataObj*>{&m_Rec.f_EntryType, &m_Rec.f_PostingDate,
																		 &m_Rec.f_Amount, &m_Rec.f_DebitCreditSign,
																		 &m_Rec.f_CostCenter, &m_Rec.f_Job})
			m_Table.Select(*pCol);
		m_Table.AddParam("p1", m_Rec.f_Account);
		m_Table.AddFilterColumn(m_Rec.f_Account);
		m_Table.AddParam("p12", m_Rec.f_PostingDate);
		m_Table.AddFilterColumn(m_Rec.f_PostingDate, ">=");
		m_Table.AddParam("p13", m_Rec.f_PostingDate);
		m_Table.AddFilterColumn(m_Rec.f_PostingDate, "<=");
	}
	void Query(const CString& strConto, const DataDate& dal, const DataDate& al)
	{
		m_Table.SetParamValue("p1", DataStr(strConto));
		m_Table.SetParamValue("p12", dal);
		m_Table.SetParamValue("p13", al);
		m_Table.Query();
	}

	TCostAccEntriesDetail m_Rec;
	SqlTable m_Table;
};

// ---- the document --------------------------------------------------------------------------------

Kvz_CImportaSaldiDoc::Kvz_CImportaSaldiDoc()
	: m_Mese(AfxGetApplicationDate().Month()),
	  m_Anno(AfxGetApplicationDate().Year()),
	  m_Preview(FALSE),
	  m_Importazione(TRUE),
	  m_Previsionale(FALSE),
	  m_RiportaCdcComm(FALSE)
{
	m_DataUltImport.SetFullDate(TRUE);
}

Kvz_CImportaSaldiDoc::~Kvz_CImportaSaldiDoc() = default;

BOOL Kvz_CImportaSaldiDoc::OnAttachData()
{
	SetFormTitle(_T("Importazione saldi contabili"));
	try
	{
		Kvz_TRParametri parametri(this);
		if (parametri.FindRecord() == TableReader::FOUND)
			m_DataUltImport = parametri.GetRecord()->f_DataUltimaImportazSaldi;
		else
			AfxMessageBox(kParametriMancanti);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::OnAttachData");
	}
	return TRUE;
}

void Kvz_CImportaSaldiDoc::ShowSqlError(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), method, kSource);
	e.ShowError();
	m_bErrore = TRUE;
}

void Kvz_CImportaSaldiDoc::OnBatchExecute()
{
	m_nContiElaborati = 0;
	m_nSenzaPatrimoniale = 0;
	m_bErrore = FALSE;
	m_Mastri.clear();
	m_pMastro = nullptr;
	m_Preview_Righe.clear();
	m_ContiNonUsati.clear();
	m_DescrContiNonUsati.clear();
	m_StatoElab.Clear();

	// The period is checked before anything is opened: a refused run leaves no transaction behind.
	if (!ControllaPeriodo())
	{
		m_bBatchNotStarted = true;  // a refused run is no success
		return;
	}
	if (!StartBatchTransaction())
		return;

	{
		TRChartOfAccountParameters reader(this);
		if (reader.FindRecord() == TableReader::FOUND)
			m_ParametriPdC = *reader.GetRecord();
		else
			m_ParametriPdC.Init();
		m_Len[0] = m_ParametriPdC.f_LedgerLength;
		for (int k = 1; k < 8; ++k)
			m_Len[k] = m_Len[k - 1] + m_ParametriPdC.GetSegmentLength(k);
	}
	if (Kvz_TRParametri(this).FindRecord() != TableReader::FOUND)
		GetMessages()->Add(kParametriMancanti, CMessages::MSG_WARNING);

	if (IsImportazione())
		InitAnagContiKvz();
	ImportazioneSaldi();

	const BOOL bAborted = GetScheduler()->IsAborted();
	if (!bAborted && IsImportazione())
	{
		CancellaCdcCommAssentiInTabella();
		VerificaPianoBase();
	}
	// The stamp tells when the base plan last took the ledger's balances: a preview or an
	// import that keeps nothing did not. It goes with the balances, in their transaction.
	const DataDate aDataPrec = m_DataUltImport;
	if (!bAborted && !m_bErrore && IsImportazione())
		AggiornaDataUltimaImportazione();
	// An import stopped half-way, by the user or by an error, would leave the year's grouped
	// accounts cleared and only partly rebuilt: such a run keeps nothing.
	const BOOL bAnnulla = bAborted || (m_bErrore && IsImportazione());
	if (bAborted)
	{
		m_StatoElab = kInterrotta;
		SetKeptOnAbort(kInterrotta);
	}
	else if (bAnnulla)
		m_StatoElab = "Importazione annullata per errori: nessuna modifica registrata.";
	else if (!IsImportazione())  // a preview writes no balance: its status must not read as an import
		m_StatoElab = m_bErrore ? "Anteprima non completata per errori: nessun conto importato."
								: "Anteprima terminata: nessun conto importato.";
	else
	{
		CString stato = CString::Formatted("Importazione terminata. Importati %ld conti.", m_nContiElaborati);
		// The per-account warnings, counted: a long list is easier to judge by its size.
		if (m_nSenzaPatrimoniale > 0)
			stato += CString::Formatted(" %ld %s ad un conto patrimoniale.", m_nSenzaPatrimoniale,
										m_nSenzaPatrimoniale == 1 ? "conto economico non associato"
																  : "conti economici non associati");
		m_StatoElab = stato;
	}
	if (bAnnulla)
	{
		GetContext()->Rollback();
		m_DataUltImport = aDataPrec;
	}
	// A commit that fails (a full disk) keeps nothing: a failed run, as any other.
	else if (!Kvz_ConfermaTransazione(GetContext()))
	{
		m_bErrore = TRUE;
		m_DataUltImport = aDataPrec;
		m_StatoElab = IsImportazione() ? "Importazione non registrata: nessuna modifica salvata."
									   : "Anteprima non completata per errori: nessun conto importato.";
	}
	if (m_bErrore)
		m_bBatchNotStarted = true;  // a run that failed is no success
	UpdateDataView();
	// What a run kept is shown: the preview, or the accounts no symbol of the base plan uses.
	if (!bAnnulla && !m_bErrore)
		EseguiReport(IsImportazione() ? kReportContiNonUsati : kReportPreview);
	// The status is the run's last word, after the report's own progress.
	SetProgressText(m_StatoElab.GetString());
}

BOOL Kvz_CImportaSaldiDoc::ControllaPeriodo()
{
	const int nMese = m_Mese;
	const int nAnno = m_Anno;
	if (nMese < 1 || nMese > 12)
	{
		AfxMessageBox(CString::Formatted("Mese %d non valido: indicare un mese da 1 a 12.", nMese));
		return FALSE;
	}
	if (nAnno < 1900 || nAnno > 9999)
	{
		AfxMessageBox(CString::Formatted("Anno %d non valido.", nAnno));
		return FALSE;
	}
	m_DataFine = DataDate(MonthDays(nMese, nAnno), nMese, nAnno);
	TCompanyFiscalYears esercizio;
	AfxGetCompanyInfo()->GetFiscalYear(m_DataFine, esercizio);
	m_DataApertura = AfxGetCompanyInfo()->GetOpeningDate(esercizio.f_FiscalYear);
	if (m_DataApertura.IsEmpty())
	{
		AfxMessageBox("Effettuare l'apertura dell'esercizio");
		return FALSE;
	}
	m_Esercizio = m_DataApertura.Year();
	if (m_DataFine.Compare(m_DataApertura) < 0)
	{
		AfxMessageBox("Il mese/anno selezionato non è compreso nel periodo dell'esercizio fiscale");
		return FALSE;
	}
	// Month 1 of the base plan is the opening month; the host keeps at most twelve per year.
	m_nMesi = MeseAssoluto(m_DataFine) - MeseAssoluto(m_DataApertura) + 1;
	ASSERT_RELEASE_TRACE(m_nMesi <= 12, "Kvz_CImportaSaldiDoc::ControllaPeriodo", kSource);
	if (m_nMesi > 12)
		m_nMesi = 12;
	return TRUE;
}

void Kvz_CImportaSaldiDoc::InitAnagContiKvz()
{
	SetProgressText("Inizializzazione tabella conti raggruppati in corso ...");
	try
	{
		// Grouped accounts entered by hand stay; the run rebuilds the others.
		DataInt esercizio(m_Esercizio);
		DataBool manuale(FALSE);
		GetUpdatableSqlSession()->ExecuteSQL(
			CString::Formatted(" DELETE FROM %s WHERE %s=? AND %s=?", Kvz_TAnagContiKvz::GetStaticName(), "Esercizio",
							   "InseritoManualmente"),
			{&esercizio, &manuale});
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::InitAnagContiKvz");
	}
}

// ---- the host's data -----------------------------------------------------------------------------

void Kvz_CImportaSaldiDoc::CaricaDatiHost()
{
	m_Raggruppamenti.clear();
	m_DescrConti.clear();
	m_Mastri_Host.clear();
	m_DescrCentri.clear();
	m_DescrCommesse.clear();
	m_CdcCommAnno.clear();
	m_CdcCommAnnoPrec.clear();
	m_CdcCommRiportati.clear();
	SqlSession* pSession = GetReadOnlySqlSession();
	{
		Kvz_TRaggruppPdC rec;
		SqlTable t(&rec, pSession, this);
		t.Open(FALSE);
		t.SelectAll();
		const DataBool* livelli[] = {&rec.f_SecondoLivello, &rec.f_TerzoLivello,  &rec.f_QuartoLivello,
									 &rec.f_QuintoLivello,  &rec.f_SestoLivello,  &rec.f_SettimoLivello,
									 &rec.f_OttavoLivello};
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			Raggruppamento r;
			for (int k = 0; k < 7; ++k)
				if (*livelli[k])
				{
					r.nLivello = k + 2;
					break;
				}
			r.bProponi = rec.f_ProponiInAssestamento;
			r.bModifica = rec.f_ModificaInAssestamento;
			r.bEsplodi = rec.f_EsplodiInAnalitica;
			r.nTipoDettaglio = rec.f_TipoDettaglio.GetItemValue();
			r.strContoPatrimoniale = rec.f_ContoPatrimoniale.GetString();
			r.bInversioneSegno = rec.f_InversioneSegno;
			r.bEscludi = rec.f_EscludiDaImportazione;
			r.strCodiceBudget = rec.f_CodiceBudget.GetString();
			r.bEscludere = rec.f_EscludereContoDaImportazione;
			m_Raggruppamenti[Key(rec.f_Conto)] = r;
		}
	}
	{
		TLedgers rec;
		PerOgniRiga(rec, pSession, this, [&] {
			m_Mastri_Host[Key(rec.f_Ledger)] = {rec.f_Description.GetString(), rec.f_LedgerType.GetItemValue()};
		});
	}
	{
		TCostCenters rec;
		PerOgniRiga(rec, pSession, this, [&] { m_DescrCentri[Key(rec.f_CostCenter)] = rec.f_Description.GetString(); });
	}
	{
		TJobs rec;
		PerOgniRiga(rec, pSession, this, [&] { m_DescrCommesse[Key(rec.f_Job)] = rec.f_Description.GetString(); });
	}
	{
		Kvz_TCentriCommesseContiKvz rec;
		SqlTable t(&rec, pSession, this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddSortColumn(rec.f_ContoKvz);
		t.AddSortColumn(rec.f_CentroCommessa);
		t.SetParamValue("p1", DataInt(m_Esercizio));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			m_CdcCommAnno.insert({Key(rec.f_ContoKvz), rec.f_Tipo.GetItemValue(), Key(rec.f_CentroCommessa)});
		if (m_RiportaCdcComm)
		{
			t.SetParamValue("p1", DataInt(m_Esercizio - 1));
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				CdcCommAnnoPrec r;
				r.strCentroCommessa = rec.f_CentroCommessa.GetString();
				r.nTipo = rec.f_Tipo.GetItemValue();
				r.strDescrizione = rec.f_Descrizione.GetString();
				r.bInseritoManualmente = rec.f_InseritoManualmente;
				r.dPerc = rec.f_PercRipartizione;
				r.strNota = rec.f_Nota.GetString();
				r.bInseritoDaSimbolo = rec.f_InseritoDaSimbolo;
				r.dPercBudget = rec.f_PercRipartizioneBudget;
				m_CdcCommAnnoPrec[Key(rec.f_ContoKvz)].push_back(r);
			}
		}
	}
}

const Kvz_CImportaSaldiDoc::Raggruppamento* Kvz_CImportaSaldiDoc::TrovaRaggruppamento(const CString& strConto) const
{
	auto it = m_Raggruppamenti.find(Key(strConto));
	return it == m_Raggruppamenti.end() ? nullptr : &it->second;
}

CString Kvz_CImportaSaldiDoc::DescrizioneHost(const CString& strConto) const
{
	auto it = m_DescrConti.find(Key(strConto));
	return it == m_DescrConti.end() ? CString() : it->second;
}

int Kvz_CImportaSaldiDoc::LenRaggruppamento(const Raggruppamento& raggr) const
{
	return m_Len[raggr.nLivello - 1];
}

CString Kvz_CImportaSaldiDoc::EstraiContoPadre(const CString& strConto) const
{
	const int nLen = strConto.GetLength();
	if (nLen == m_Len[0])
		return CString();
	for (int k = 1; k < 8; ++k)
		if (m_Len[k] > m_Len[k - 1] && nLen == m_Len[k])
			return strConto.Left(m_Len[k - 1]);
	ASSERT_RELEASE_FAILED("0", "Kvz_CImportaSaldiDoc::EstraiContoPadre", kSource);
	return CString();
}

// ---- the account loop ----------------------------------------------------------------------------

void Kvz_CImportaSaldiDoc::ImportazioneSaldi()
{
	m_Mastri.clear();
	m_pMastro = nullptr;
	try
	{
		CaricaDatiHost();
		std::vector<ContoHost> conti;
		{
			TChartOfAccounts rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddSortColumn(rec.f_Account);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				conti.push_back({rec.f_Account.GetString(), rec.f_Description.GetString(), rec.f_Ledger.GetString(),
								 static_cast<BOOL>(rec.f_CarriesBalances), static_cast<BOOL>(rec.f_ExcludedFromImport)});
				m_DescrConti[Key(rec.f_Account)] = rec.f_Description.GetString();
			}
		}
		m_pMovimenti = std::make_unique<CursoreMovimenti>(this);
		m_SaldiHost.clear();
		m_PrevisionaliHost.clear();
		if (IsImportazione())
		{
			SummariesBalancesChartOfAccounts::BalancesOfFiscalYearByAccount(m_DataFine, DataEnum(E_BALANCETYPE, 0),
																			m_SaldiHost);
			if (m_Previsionale)
				SummariesBalancesChartOfAccounts::BalancesOfFiscalYearByAccount(m_DataFine, DataEnum(E_BALANCETYPE, 1),
																				m_PrevisionaliHost);
		}
		size_t nConto = 0;
		for (const ContoHost& conto : conti)
		{
			if (GetScheduler()->IsAborted())
				break;
			SetProgressText(CString::Formatted("Elaborazione conto %s in corso (%zu di %zu) ...", conto.strConto.GetString(),
											   ++nConto, conti.size()));
			const Raggruppamento* pRaggr = TrovaRaggruppamento(conto.strConto);
			if (pRaggr && pRaggr->bEscludere)
				continue;
			if (conto.bEscluso)
				continue;
			if (pRaggr && pRaggr->bEscludi && !pRaggr->bModifica)
				continue;
			if (!pRaggr)
			{
				GetMessages()->Add(CString::Formatted("Dati di raggruppamento del conto %s non trovati. Conto scartato.",
													  conto.strConto.GetString()),
								   CMessages::MSG_WARNING);
				continue;
			}
			ElaboraConto(conto, *pRaggr);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::ImportazioneSaldi");
	}
	m_pMovimenti.reset();
	m_SaldiHost.clear();
	m_PrevisionaliHost.clear();
	if (GetScheduler()->IsAborted())
		return;
	ProgressiviPrevisionale();
	if (!IsImportazione())
	{
		CostruisciPreview();
		return;
	}
	CancellaAssestamentiPrevisionali();
	MemorizzaSaldi();
	AggiornaSaldiVariati();
}

void Kvz_CImportaSaldiDoc::ElaboraConto(const ContoHost& conto, const Raggruppamento& raggr)
{
	++m_nContiElaborati;
	const int nLen = conto.strConto.GetLength();
	int nUltimoSeg = 0;  // the deepest segment that has a length
	for (int k = 7; k >= 1 && !nUltimoSeg; --k)
		nUltimoSeg = m_ParametriPdC.GetSegmentLength(k);
	if (nLen == m_Len[0])
		NuovoMastro(conto, raggr);
	else if (m_pMastro && nLen > m_Len[0] && nLen <= m_Len[7] - nUltimoSeg)
		m_pMastro->m_LenRaggr = LenRaggruppamento(raggr);  // an account of an intermediate level

	if (!conto.bConSaldi)
		return;
	// An account whose ledger was not taken (no grouping data, excluded) has nowhere to go.
	if (!m_pMastro || conto.strConto.Left(m_Len[0]) != m_pMastro->m_Codice)
	{
		GetMessages()->Add(CString::Formatted("Mastro del conto %s non elaborato. Conto scartato.", conto.strConto.GetString()),
						   CMessages::MSG_WARNING);
		return;
	}
	if (IsImportazione() || !m_pMastro->IsPatrimoniale())
		ImportaConto(conto, raggr);
}

void Kvz_CImportaSaldiDoc::NuovoMastro(const ContoHost& conto, const Raggruppamento& raggr)
{
	auto p = std::make_unique<Kvz_MastroElem>();
	p->m_Codice = conto.strConto;
	p->m_Descrizione = conto.strDescrizione;
	p->m_ProponiInAssest = raggr.bProponi;
	auto it = m_Mastri_Host.find(Key(conto.strConto));
	ASSERT_RELEASE_TRACE(it != m_Mastri_Host.end(), "Kvz_CImportaSaldiDoc::ImportazioneSaldi", kSource);
	p->m_Natura = it != m_Mastri_Host.end() ? it->second.second : 0;
	p->m_TipoConto = p->m_Natura <= 2 ? 1 : 0;
	p->m_LenRaggr = LenRaggruppamento(raggr);
	m_pMastro = p.get();
	m_Mastri.push_back(std::move(p));
}

Kvz_ContoKvzElem* Kvz_CImportaSaldiDoc::TrovaCreaContoKvz(const CString& strCodice, BOOL bUltimoLivello,
														   const ContoHost& conto)
{
	if (Kvz_ContoKvzElem* p = m_pMastro->Trova(strCodice))
		return p;
	const CString strPadre = EstraiContoPadre(strCodice);
	if (!strPadre.IsEmpty() && !m_pMastro->Trova(strPadre))
		TrovaCreaContoKvz(strPadre, FALSE, conto);

	auto p = std::make_unique<Kvz_ContoKvzElem>();
	p->m_Codice = strCodice;
	if (strCodice == m_pMastro->m_Codice)
		p->m_Descrizione = m_pMastro->m_Descrizione;
	else
	{
		p->m_Descrizione = DescrizioneHost(strCodice);
		if (p->m_Descrizione.IsEmpty())
			p->m_Descrizione = conto.strDescrizione;
	}
	if (const Raggruppamento* pRaggr = TrovaRaggruppamento(strCodice))
	{
		p->m_ProponiInAssest = pRaggr->bProponi;
		p->m_InversioneSegno = pRaggr->bInversioneSegno;
		p->m_CodiceBudget = pRaggr->strCodiceBudget;
		if (bUltimoLivello)
		{
			p->m_ModifInAssest = pRaggr->bModifica;
			p->m_ContoCollegato = pRaggr->strContoPatrimoniale;
			p->m_DescrContoCollegato = DescrizioneHost(p->m_ContoCollegato);
		}
	}
	// Parents have no linked account by construction: only grouped accounts are told.
	if (bUltimoLivello && p->m_ContoCollegato.IsEmpty() && !m_pMastro->IsPatrimoniale())
	{
		++m_nSenzaPatrimoniale;
		GetMessages()->Add(CString::Formatted("Il conto economico %s %s non risulta associato ad un conto patrimoniale.",
											  strCodice.GetString(), p->m_Descrizione.GetString()),
						   CMessages::MSG_WARNING);
	}
	p->m_UltimoLivello = bUltimoLivello;
	p->m_Padre = strPadre;
	p->m_Mesi.resize(static_cast<size_t>(m_nMesi));
	Kvz_ContoKvzElem* pElem = p.get();
	m_pMastro->m_Index[Key(strCodice)] = pElem;
	m_pMastro->m_Conti.push_back(std::move(p));
	return pElem;
}

void Kvz_CImportaSaldiDoc::ImportaConto(const ContoHost& conto, const Raggruppamento& raggr)
{
	const CString& strConto = conto.strConto;
	if (strConto.GetLength() < m_pMastro->m_LenRaggr)
		return;
	Kvz_ContoKvzElem* pConto =
		TrovaCreaContoKvz(raggr.bEsplodi ? strConto : strConto.Left(m_pMastro->m_LenRaggr), TRUE, conto);

	if (IsImportazione())
	{
		double saldi[12] = {};
		double previsionali[12] = {};
		CString strChiave = strConto;
		strChiave.MakeUpper();
		for (auto [pMesi, pSaldi] : {std::pair{&m_SaldiHost, saldi}, std::pair{&m_PrevisionaliHost, previsionali}})
			if (auto it = pMesi->find(strChiave.str()); it != pMesi->end())
				for (size_t m = 0; m < 12; ++m)
					pSaldi[m] = static_cast<double>(it->second[m]) / 100.0;
		const double dSegno = m_pMastro->InverteSegno() ? -1.0 : 1.0;
		// This account's own amounts reach the grouped account and each of its ancestors once.
		for (Kvz_ContoKvzElem* p = pConto; p; p = p->m_Padre.IsEmpty() ? nullptr : m_pMastro->Trova(p->m_Padre))
			for (int m = 0; m < m_nMesi; ++m)
			{
				p->m_Mesi[static_cast<size_t>(m)].m_Saldo += dSegno * saldi[m];
				p->m_Mesi[static_cast<size_t>(m)].m_Previsionale += dSegno * previsionali[m];
			}
	}
	if (raggr.bEsplodi)
		LeggiSaldiAnalitici(conto, raggr, pConto);
	// Last year's splits of an account that is not analytic are carried too, once per grouped
	// account however many host accounts feed it (the analytic ones after their entries).
	else if (m_RiportaCdcComm && !GetScheduler()->IsAborted() && m_CdcCommRiportati.insert(Key(pConto->m_Codice)).second)
		LeggiCdcCommAnnoPrec(pConto);
}

void Kvz_CImportaSaldiDoc::ProgressiviPrevisionale()
{
	// Balance-sheet forecasts are running totals from the opening month, taken once per grouped
	// account over the sum of the host accounts that feed it.
	for (const auto& pMastro : m_Mastri)
	{
		if (!pMastro->IsPatrimoniale())
			continue;
		for (const auto& pConto : pMastro->m_Conti)
			for (size_t m = 1; m < pConto->m_Mesi.size(); ++m)
				pConto->m_Mesi[m].m_Previsionale += pConto->m_Mesi[m - 1].m_Previsionale;
	}
}

void Kvz_CImportaSaldiDoc::LeggiSaldiAnalitici(const ContoHost& conto, const Raggruppamento& raggr,
											   Kvz_ContoKvzElem* pConto)
{
	const CString& strConto = conto.strConto;
	// Once per account, before its entries are read: the rows of its splits move their balance
	// into the previous balance and start from zero.
	if (IsImportazione())
		CancellaSaldiContabili(strConto);
	try
	{
		const BOOL bCentri = raggr.nTipoDettaglio == 0 || raggr.nTipoDettaglio == 2;
		const BOOL bCommesse = raggr.nTipoDettaglio == 1 || raggr.nTipoDettaglio == 2;
		const double dSegno = m_pMastro->InverteSegno() ? -1.0 : 1.0;
		const int nPrimoMese = MeseAssoluto(m_DataApertura);
		const TCostAccEntriesDetail& mov = m_pMovimenti->m_Rec;
		// One reading serves both passes: the ledger's kinds and, with the forecast, kind 2.
		m_pMovimenti->Query(strConto, m_DataApertura, m_DataFine);
		for (SqlTable& t = m_pMovimenti->m_Table; !t.IsEOF(); t.MoveNext())
		{
			if (GetScheduler()->IsAborted())
				break;
			const WORD nTipo = mov.f_EntryType.GetItemValue();
			if (nTipo == 0 || (nTipo == 2 && !m_Previsionale))
				continue;
			const int nMese = MeseAssoluto(mov.f_PostingDate) - nPrimoMese;
			if (nMese < 0 || nMese >= m_nMesi)
				continue;
			double dImporto = dSegno * mov.f_Amount;
			if (mov.f_DebitCreditSign.GetItemValue() == 1)
				dImporto = -dImporto;
			auto aggiungi = [&](const CString& strCodice, WORD nKind) {
				// The host's description is looked up for a split's first entry only.
				Kvz_CdcCommContoKvzElem* pCdc = pConto->TrovaCdcComm(strCodice, nKind);
				if (!pCdc)
				{
					const auto& descr = nKind == kCentro ? m_DescrCentri : m_DescrCommesse;
					auto it = descr.find(Key(strCodice));
					pCdc = pConto->AggiungiCdcComm(strCodice, nKind, it == descr.end() ? CString() : it->second, 0.0,
												   m_nMesi);
				}
				Kvz_SaldoMensileElem& mese = pCdc->m_Mesi[static_cast<size_t>(nMese)];
				(nTipo == 2 ? mese.m_Previsionale : mese.m_Saldo) += dImporto;
			};
			if (bCentri && !mov.f_CostCenter.IsEmpty())
				aggiungi(mov.f_CostCenter.GetString(), kCentro);
			if (bCommesse && !mov.f_Job.IsEmpty())
				aggiungi(mov.f_Job.GetString(), kCommessa);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::LeggiSaldiAnalitici");
	}
	if (m_RiportaCdcComm && !GetScheduler()->IsAborted())
		LeggiCdcCommAnnoPrec(pConto);
}

void Kvz_CImportaSaldiDoc::LeggiCdcCommAnnoPrec(Kvz_ContoKvzElem* pConto)
{
	// Last year's splits of this account only: another account's belong to its own run.
	auto it = m_CdcCommAnnoPrec.find(Key(pConto->m_Codice));
	if (it == m_CdcCommAnnoPrec.end())
		return;
	try
	{
		for (const CdcCommAnnoPrec& prec : it->second)
		{
			if (GetScheduler()->IsAborted())
				break;
			if (IsImportazione())
			{
				Kvz_TCentriCommesseContiKvz rec;
				rec.f_Esercizio = m_Esercizio;
				rec.f_ContoKvz = pConto->m_Codice;
				rec.f_CentroCommessa = prec.strCentroCommessa;
				rec.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, prec.nTipo);
				rec.f_Descrizione = prec.strDescrizione;
				const auto key = std::make_tuple(Key(pConto->m_Codice), prec.nTipo, Key(prec.strCentroCommessa));
				SqlSession* pSession = GetUpdatableSqlSession();
				if (m_CdcCommAnno.insert(key).second)
				{
					rec.f_InseritoManualmente = prec.bInseritoManualmente;
					rec.f_PercRipartizione = prec.dPerc;
					rec.f_Nota = prec.strNota;
					rec.f_InseritoDaSimbolo = prec.bInseritoDaSimbolo;
					rec.f_PercRipartizioneBudget = prec.dPercBudget;
					rec.f_SaldoVariato = FALSE;
					SqlTable t(&rec, pSession, this);
					t.Open(TRUE);
					t.AddNew(FALSE);
					t.Update();
					t.Close();
				}
				else
					pSession->ExecuteSQL(
						CString::Formatted("UPDATE %s SET Descrizione=? WHERE Esercizio=? AND ContoKvz=? AND Tipo=? AND "
										   "CentroCommessa=?",
										   Kvz_TCentriCommesseContiKvz::GetStaticName()),
						{&rec.f_Descrizione, &rec.f_Esercizio, &rec.f_ContoKvz, &rec.f_Tipo, &rec.f_CentroCommessa});
			}
			pConto->AggiungiCdcComm(prec.strCentroCommessa, prec.nTipo, prec.strDescrizione, 0.0, m_nMesi);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::LeggiCdcCommAnnoPrec");
	}
}

// ---- after the loop ------------------------------------------------------------------------------

void Kvz_CImportaSaldiDoc::CancellaCdcCommAssentiInTabella()
{
	try
	{
		// Splits a symbol added whose cost centre or job the host no longer has.
		struct Assente
		{
			DataStr conto;
			DataEnum tipo;
			DataStr codice;
		};
		std::vector<Assente> assenti;
		{
			Kvz_TCentriCommesseContiKvz rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_InseritoDaSimbolo);
			t.AddFilterColumn(rec.f_InseritoDaSimbolo);
			t.AddSortColumn(rec.f_Esercizio);
			t.AddSortColumn(rec.f_ContoKvz);
			t.AddSortColumn(rec.f_CentroCommessa);
			t.SetParamValue("p1", DataInt(m_Esercizio));
			t.SetParamValue("p2", DataBool(TRUE));
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				const auto& host = rec.f_Tipo.GetItemValue() == kCentro ? m_DescrCentri : m_DescrCommesse;
				if (!host.count(Key(rec.f_CentroCommessa)))
					assenti.push_back({rec.f_ContoKvz, rec.f_Tipo, rec.f_CentroCommessa});
			}
		}
		DataInt esercizio(m_Esercizio);
		for (Assente& a : assenti)
		{
			GetUpdatableSqlSession()->ExecuteSQL(
				CString::Formatted("DELETE FROM %s WHERE Esercizio=? AND ContoKvz=? AND Tipo=? AND CentroCommessa=?",
								   Kvz_TCentriCommesseContiKvz::GetStaticName()),
				{&esercizio, &a.conto, &a.tipo, &a.codice});
			Kvz_TElencoContiSimboloPBase rec;
			SqlTable t(&rec, GetUpdatableSqlSession(), this);
			t.Open(TRUE);
			t.SelectAll();
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_ContoSelez);
			t.AddFilterColumn(rec.f_ContoSelez);
			t.AddParam("p3", rec.f_TipoCentroComm);
			t.AddFilterColumn(rec.f_TipoCentroComm);
			t.AddParam("p4", rec.f_CentroCommessa);
			t.AddFilterColumn(rec.f_CentroCommessa);
			t.SetParamValue("p1", esercizio);
			t.SetParamValue("p2", a.conto);
			t.SetParamValue("p3", a.tipo);
			t.SetParamValue("p4", a.codice);
			t.Query();
			if (!t.IsEOF())
				t.Delete();
			t.Close();
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::CancellaCdcCommAssentiInTabella");
	}
}

void Kvz_CImportaSaldiDoc::VerificaPianoBase()
{
	SetProgressText("Verifica in corso ...");
	try
	{
		DataInt esercizio(m_Esercizio);
		std::set<std::string> conti;
		{
			Kvz_TAnagContiKvz rec;
			PerOgniRigaDellEsercizio(
				rec, GetReadOnlySqlSession(), this, m_Esercizio, [&] { conti.insert(Key(rec.f_ContoKvz)); },
				{&rec.f_ContoKvz});
		}
		struct Orfano
		{
			DataLng id;
			CString numero;
			CString conto;
			BOOL bAssestato;
		};
		std::vector<Orfano> orfani;
		{
			Kvz_TPianoBaseTesta rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			// Only what an orphan is told by: the year's heads are many.
			for (const DataObj* pCol : std::initializer_list<const DataObj*>{
					 &rec.f_IDPianoBase, &rec.f_CodPianoBase, &rec.f_ContoKvz, &rec.f_TotGeneraleRatei})
				t.Select(*pCol);
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddSortColumn(rec.f_IDPianoBase);
			t.SetParamValue("p1", esercizio);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				if (!conti.count(Key(rec.f_ContoKvz)))
					orfani.push_back({rec.f_IDPianoBase, rec.f_CodPianoBase.GetString(), rec.f_ContoKvz.GetString(),
									  !rec.f_TotGeneraleRatei.IsEmpty()});
		}
		std::vector<CString> righe;
		for (Orfano& o : orfani)
		{
			if (o.bAssestato)
			{
				righe.push_back(CString::Formatted("Il piano base nr.%s gia' assestato si riferisce al conto %s non piu' esistente.",
												   o.numero.GetString(), o.conto.GetString()));
				righe.push_back(CString());
				continue;
			}
			GetUpdatableSqlSession()->ExecuteSQL(
				CString::Formatted(" DELETE FROM %s WHERE %s=?", "Kvz_PianoBaseR", "IDPianoBase"), {&o.id});
			GetUpdatableSqlSession()->ExecuteSQL(
				CString::Formatted(" DELETE FROM %s WHERE %s=?", Kvz_TPianoBaseTesta::GetStaticName(), "IDPianoBase"),
				{&o.id});
		}
		if (!righe.empty())
		{
			const char* const dashes = "--------------------------------------------------";
			GetMessages()->Add(dashes, CMessages::MSG_WARNING);
			GetMessages()->Add("====> Attenzione <====", CMessages::MSG_WARNING);
			GetMessages()->Add(dashes, CMessages::MSG_WARNING);
			GetMessages()->Add(CString(), CMessages::MSG_WARNING);
			for (const CString& r : righe)
				GetMessages()->Add(r, CMessages::MSG_WARNING);
			GetMessages()->Add(CString(), CMessages::MSG_WARNING);
			GetMessages()->Add(dashes, CMessages::MSG_WARNING);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::VerificaPianoBase");
	}
}

void Kvz_CImportaSaldiDoc::AggiornaDataUltimaImportazione()
{
	try
	{
		Kvz_TUParametri updater(this);
		if (updater.FindRecord(FALSE) == TableReader::FOUND)
		{
			const std::time_t now = std::time(nullptr);
			std::tm local{};
			localtime_r(&now, &local);
			const DataDate oggi = AfxGetApplicationDate();
			DataDate stamp(oggi.Day(), oggi.Month(), oggi.Year(), local.tm_hour, local.tm_min, local.tm_sec);
			stamp.SetFullDate(TRUE);
			updater.GetRecord()->f_DataUltimaImportazSaldi = stamp;
			updater.UpdateRecord();
			m_DataUltImport = stamp;
		}
		updater.Free();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CImportaSaldiDoc::OnBatchExecute");
	}
}

// ---- the form ------------------------------------------------------------------------------------

void Kvz_CImportaSaldiView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CImportaSaldiDoc*>(GetDocument());
	AddLink(IDC_IMP_SALDI_MESE, _T("Importazione saldi fino al mese:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Mese);
	AddLink(IDC_IMP_SALDI_ANNO, _T("anno:"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddRadio(IDC_IMP_SALDI_PREVIEW, _T("Anteprima piano dei conti raggruppato"), &pDoc->m_Preview, 1);
	AddRadio(IDC_IMP_SALDI_IMPORTAZIONE, _T("Importazione saldi"), &pDoc->m_Importazione, 1);
	AddLink(IDC_IMP_SALDI_PREVISIONALE, _T("Anche contabilita' previsionale"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_Previsionale);
	AddLink(IDC_IMP_RIPORTA_CENTRI_COMMESSE, _T("Riporta centri/commesse dell'anno precedente"),
			RUNTIME_CLASS(CBoolButton), &pDoc->m_RiportaCdcComm);
	AddLink(IDC_IMP_SALDI_STATO_ELAB, _T("Stato elaborazione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
	AddLink(IDC_IMP_SALDI_DATA_ULT_IMPORT, _T("Ultima importazione:"), RUNTIME_CLASS(CDateStatic), &pDoc->m_DataUltImport);
}
