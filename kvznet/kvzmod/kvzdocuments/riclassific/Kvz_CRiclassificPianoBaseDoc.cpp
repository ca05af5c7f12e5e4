#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <set>

#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversModelli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRaggrupp.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/RiclassificatoChiave.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
using kvzdocuments::CercaChiave;
using kvzdocuments::FiltroChiave;

const char* const kSource = "Kvz_CRiclassificPianoBaseDoc";

enum : UINT
{
	IDC_RCL_PBASE_TABBER = 34100,
	IDC_RCL_PBASE_ESERCIZIO,
	IDC_RCL_PBASE_DAL_MESE,
	IDC_RCL_PBASE_MESE,
	IDC_RCL_PBASE_TUTTI_MOD,
	IDC_RCL_PBASE_MODELLO,
	IDC_RCL_PBASE_DESCRI_MODELLO,
	IDC_RCL_PBASE_MODELLO_A,
	IDC_RCL_PBASE_DESCRI_MODELLO_A,
	IDC_RCL_PBASE_TIPO_DATO,
	IDC_RCL_PBASE_STATO_ELBA,
	IDC_RCL_PBASE_SEL_PER_RAGGRUPP,
	IDC_RCL_PBASE_SEL_PER_CODICE,
	IDC_RCL_PBASE_RAGGRUPP,
	IDC_RCL_PBASE_DESCRI_RAGGRUPP,
	IDC_RCL_PBASE_NOTE,
	IDC_CALCOLA_DRIVERS,
	IDC_USA_VECCHIO_ALG,
};

const char* const kTerminata = "Riclassificazione terminata.";
const char* const kTerminataSenzaDitte =
	"Riclassificazione terminata; quote dei drivers non scritte per le aziende non raggiungibili.";
const char* const kAnnullata = "Riclassificazione annullata per errori: nessuna modifica registrata.";

// Row kinds the run does not evaluate: other procedures write their values.
BOOL IsRigaNonCalcolata(const DataEnum& tipo)
{
	const WORD item = tipo.GetItemValue();
	return item >= 6 && item <= 9;
}

// The fourteen values and the fourteen reported totals, in slot order.
template <class R>
auto Valori(R& e) -> std::array<decltype(&e.l_Valore), 14>
{
	return {&e.l_Valore,  &e.l_ValoreBudgetA, &e.l_ValoreBudgetB, &e.l_ValoreBudgetC, &e.l_Valore1,
			&e.l_Valore2, &e.l_Valore3,       &e.l_Valore4,       &e.l_Valore5,       &e.l_Valore6,
			&e.l_Valore7, &e.l_Valore8,       &e.l_Valore9,       &e.l_Valore10};
}
template <class R>
auto Totali(R& e) -> std::array<decltype(&e.l_TotRiportato), 14>
{
	return {&e.l_TotRiportato,  &e.l_TotRiportatoBudgetA, &e.l_TotRiportatoBudgetB, &e.l_TotRiportatoBudgetC,
			&e.l_TotRiportato1, &e.l_TotRiportato2,       &e.l_TotRiportato3,       &e.l_TotRiportato4,
			&e.l_TotRiportato5, &e.l_TotRiportato6,       &e.l_TotRiportato7,       &e.l_TotRiportato8,
			&e.l_TotRiportato9, &e.l_TotRiportato10};
}
#define KVZ_F(name) &Kvz_TRiclassificazioneRighe::name
constexpr DataStr Kvz_TRiclassificazioneRighe::*kFormule[14] = {
	KVZ_F(f_Formula),  KVZ_F(f_FormulaBudgetA), KVZ_F(f_FormulaBudgetB), KVZ_F(f_FormulaBudgetC), KVZ_F(f_Formula1),
	KVZ_F(f_Formula2), KVZ_F(f_Formula3),       KVZ_F(f_Formula4),       KVZ_F(f_Formula5),       KVZ_F(f_Formula6),
	KVZ_F(f_Formula7), KVZ_F(f_Formula8),       KVZ_F(f_Formula9),       KVZ_F(f_Formula10)};
#undef KVZ_F
// The row's formula columns as the form names them, in the order of Formule.
const char* const kColonne[14] = {"Formula",  "Budget A", "Budget B", "Budget C", "Formula1",
								  "Formula2", "Formula3", "Formula4", "Formula5", "Formula6",
								  "Formula7", "Formula8", "Formula9", "Formula10"};

std::array<const DataStr*, 14> Formule(const Kvz_TRiclassificazioneRighe& r)
{
	std::array<const DataStr*, 14> formule;
	for (size_t s = 0; s < 14; ++s)
		formule[s] = &(r.*kFormule[s]);
	return formule;
}
std::array<DataMon*, 14> Valori(Kvz_TRiclassificato& r)
{
	return {&r.f_Valore,  &r.f_ValoreBudgetA, &r.f_ValoreBudgetB, &r.f_ValoreBudgetC, &r.f_Valore1,
			&r.f_Valore2, &r.f_Valore3,       &r.f_Valore4,       &r.f_Valore5,       &r.f_Valore6,
			&r.f_Valore7, &r.f_Valore8,       &r.f_Valore9,       &r.f_Valore10};
}
std::array<DataMon*, 14> Totali(Kvz_TRiclassificato& r)
{
	return {&r.f_TotaleRiportato,  &r.f_TotaleRiportatoBudgetA, &r.f_TotaleRiportatoBudgetB,
			&r.f_TotaleRiportatoBudgetC, &r.f_TotaleRiportato1, &r.f_TotaleRiportato2,
			&r.f_TotaleRiportato3, &r.f_TotaleRiportato4, &r.f_TotaleRiportato5,
			&r.f_TotaleRiportato6, &r.f_TotaleRiportato7, &r.f_TotaleRiportato8,
			&r.f_TotaleRiportato9, &r.f_TotaleRiportato10};
}
// The values and reported totals of one row into another, slot by slot.
template <class D, class S>
void CopiaValoriETotali(D& verso, S& da)
{
	auto valori = Valori(verso);
	auto totali = Totali(verso);
	auto daValori = Valori(da);
	auto daTotali = Totali(da);
	for (size_t s = 0; s < 14; ++s)
	{
		*valori[s] = *daValori[s];
		*totali[s] = *daTotali[s];
	}
}

std::string Chiave(const CString& s)
{
	CString u = s;
	u.MakeUpper();
	return u.str();
}

}  // namespace

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CRiclassificPianoBaseDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_RCL_PBASE_ESERCIZIO, OnEsercizioChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_PBASE_TUTTI_MOD, OnTuttiModChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_PBASE_MODELLO, OnModelloChanged)
	ON_EN_VALUE_CHANGED(IDC_RCL_PBASE_SEL_PER_RAGGRUPP, OnSelPerRaggruppChanged)
END_MESSAGE_MAP()

Kvz_CRiclassificPianoBaseDoc::Kvz_CRiclassificPianoBaseDoc()
	: m_Esercizio(AfxGetApplicationDate().Year()),
	  m_DalMese(1),
	  m_Mese(AfxGetApplicationDate().Month()),
	  m_TuttiMod(FALSE),
	  m_TipoDato(E_KVZ_TIPODATOPBASE, 0),
	  m_SelPerRaggrupp(FALSE),
	  m_SelPerCodice(TRUE),
	  m_CalcolaDrivers(FALSE),
	  m_UsaVecchioAlg(FALSE),
	  m_ElaborazioneTerminata(FALSE),
	  m_RaggruppDaCancellare(FALSE),
	  m_nPosizioneRaggrupp(0)
{
	m_Modello.SetUpperCase(TRUE);
	m_ModelloA.SetUpperCase(TRUE);
	m_Raggrupp.SetUpperCase(TRUE);
}

Kvz_CRiclassificPianoBaseDoc::~Kvz_CRiclassificPianoBaseDoc()
{
	ChiudiConnessioniEsterne();
	ChiudiTabelle();
	SvuotaMapCommesse();
}

BOOL Kvz_CRiclassificPianoBaseDoc::OnAttachData()
{
	SetFormTitle(_T("Riclassificazione piano base"));
	m_pHKLModello = new KVZ_HKLRiclassificazioneTesta;
	m_pHKLModelloA = new KVZ_HKLRiclassificazioneTesta;
	m_pHKLRaggrupp = new Kvz_HKLCodRaggrupp;
	Attach(m_pHKLModello, "HKLModello");
	Attach(m_pHKLModelloA, "HKLModelloA");
	Attach(m_pHKLRaggrupp, "HKLRaggrupp");
	m_pHKLModello->SetSelEsercizio(m_Esercizio);
	m_pHKLModelloA->SetSelEsercizio(m_Esercizio);
	m_pTRTesta = std::make_unique<Kvz_TRRiclassificazioneTesta>(this);
	m_pDBTSelAziende = std::make_unique<Kvz_DBTSelAziende>(this);
	return TRUE;
}

void Kvz_CRiclassificPianoBaseDoc::OnSelezionaTutteAziende()
{
	m_pDBTSelAziende->Seleziona(TRUE);
	UpdateDataView();
}

void Kvz_CRiclassificPianoBaseDoc::OnDeselezionaTutteAziende()
{
	m_pDBTSelAziende->Seleziona(FALSE);
	UpdateDataView();
}

// ---- Kvz_DBTSelAziende -------------------------------------------------------------------------

Kvz_DBTSelAziende::Kvz_DBTSelAziende(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_EnhAziende), pDocument, _T("DBTSelAziende"), TRUE, FALSE)
{
}

void Kvz_DBTSelAziende::Riempi()
{
	RemoveAll(TRUE);
	Kvz_TAziende rec;
	SqlTable t(&rec, GetDocument()->GetReadOnlySqlSession(), GetDocument());
	try
	{
		t.Open();
		t.SelectAll();
		t.AddSortColumn(rec.f_Azienda);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_EnhAziende*>(AddRecord());
			static_cast<SqlRecord&>(*pRiga) = rec;
			pRiga->l_Selected = FALSE;
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	if (t.IsOpen())
		t.Close();
}

void Kvz_DBTSelAziende::Seleziona(BOOL bSel)
{
	for (int i = 0; i < GetSize(); ++i)
		GetAzienda(i)->l_Selected = bSel;
}

Kvz_CRiclassificPianoBaseDoc::MotoreInUso::MotoreInUso(Kvz_CRiclassificPianoBaseDoc& doc)
	: m_Doc(doc), m_pMotore(new Kvz_New_MngFormula(doc.GetMessages(), nullptr, nullptr, &doc))
{
	m_Doc.m_pMngFormula = m_pMotore.get();
}

Kvz_CRiclassificPianoBaseDoc::MotoreInUso::~MotoreInUso()
{
	m_pMotore->SvuotaMapDatabase();
	m_Doc.m_pMngFormula = nullptr;
}

void Kvz_CRiclassificPianoBaseDoc::ShowSqlError(const SqlException& e, const char* szMetodo)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), szMetodo, kSource);
	e.ShowError();
	m_bErroreDb = TRUE;
}

void Kvz_CRiclassificPianoBaseDoc::Stato(const CString& strTesto)
{
	m_StatoElab = strTesto;
	SetProgressText(strTesto);
	UpdateDataView();
}

// Everything the run needs is checked before anything is opened or deleted.
BOOL Kvz_CRiclassificPianoBaseDoc::ControllaParametri()
{
	const int nAnno = m_Esercizio;
	const int nDal = m_DalMese;
	const int nAl = m_Mese;
	CString strErrore;
	if (nAnno < 1900 || nAnno > 9999)
		strErrore = CString::Formatted("Esercizio %d non valido.", nAnno);
	else if (nDal < 1 || nDal > 12)
		strErrore = CString::Formatted("Mese iniziale %d non valido: indicare un mese da 1 a 12.", nDal);
	else if (nAl < 1 || nAl > 12)
		strErrore = CString::Formatted("Mese finale %d non valido: indicare un mese da 1 a 12.", nAl);
	else if (nDal > nAl)
		strErrore = CString::Formatted("Il mese iniziale (%d) è successivo al mese finale (%d).", nDal, nAl);
	else if (!PerRaggruppamento() && m_SelPerCodice && !m_TuttiMod && m_Modello.IsEmpty() && m_ModelloA.IsEmpty())
		strErrore = "Indicare il modello di riclassificazione.";
	else if (PerRaggruppamento() && m_Raggrupp.IsEmpty())
		strErrore = "Indicare il codice di raggruppamento.";
	if (strErrore.IsEmpty())
		return TRUE;
	AfxMessageBox(strErrore);
	return FALSE;
}

void Kvz_CRiclassificPianoBaseDoc::OnBatchExecute()
{
	m_bErroreDb = FALSE;
	m_bDittaMancata = FALSE;
	m_FormuleNonValutate.clear();
	m_DriversNonCalcolati.clear();
	m_DriversEsclusi.clear();
	m_SoloPerRaggruppamento.clear();
	if (!ControllaParametri())
	{
		m_bBatchNotStarted = true;  // a refused run is no success
		return;
	}
	if (!StartBatchTransaction())
		return;

	m_ElaborazioneTerminata = FALSE;
	SvuotaMapCommesse();
	m_Teste.clear();
	m_bTesteLette = false;
	m_ModelliRaggrupp.clear();
	m_RigheRaggrupp.clear();
	m_PosizioniRaggrupp.clear();
	BOOL bErroreCiclo = FALSE;
	std::vector<DataStr> modelli;
	std::vector<size_t> salvati;  // the models finished, by index
	size_t nInCorso = 0;         // the model a stop left as it was (none: past the end)
	BOOL bCoda = FALSE;          // a part that a stop undoes whole is open
	size_t nPrimoNonTenuto = 0;  // the first model of that part
	try
	{
		if (PerRaggruppamento())
			InizializzaArrayCommesse();

		// The models of the year, read whole before any is written.
		{
			Kvz_TRiclassificazioneTesta rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			const BOOL bIntervallo = !PerRaggruppamento() && m_SelPerCodice && !m_TuttiMod;
			if (bIntervallo)
			{
				t.AddParam("p2", rec.f_ModelloRiclassific);
				t.AddFilterColumn(rec.f_ModelloRiclassific, ">=");
				t.AddParam("p3", rec.f_ModelloRiclassific);
				t.AddFilterColumn(rec.f_ModelloRiclassific, "<=");
			}
			t.AddSortColumn(rec.f_Priorita);
			t.AddSortColumn(rec.f_ModelloRiclassific);
			t.SetParamValue("p1", m_Esercizio);
			if (bIntervallo)
			{
				// One end given alone names that model alone.
				t.SetParamValue("p2", m_Modello);
				t.SetParamValue("p3", m_ModelloA.IsEmpty() ? m_Modello : m_ModelloA);
				if (m_Modello.IsEmpty())
					t.SetParamValue("p2", m_ModelloA);
			}
			std::vector<std::pair<DataStr, WORD>> letti;
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				letti.emplace_back(rec.f_ModelloRiclassific, rec.f_TipoModello.GetItemValue());
			t.Close();
			for (const auto& [modello, tipo] : letti)
				if (PerRaggruppamento() || !DaRipartire(modello, tipo))
					modelli.push_back(modello);
		}
		if (!PerRaggruppamento() && !m_SoloPerRaggruppamento.empty() && !SoloPerRaggruppamentoDetti(modelli.empty()))
		{
			// Nothing else was chosen: refused, nothing touched.
			GetContext()->UnlockAll();
			GetContext()->Rollback();
			m_bBatchNotStarted = true;
			return;
		}

		// On a stop each model is either as before or as after: the one in progress is undone
		// (a part of the transaction per model). Work whose parts belong together is undone from
		// where it began: the grouping's totals (by grouping) and the models whose driver shares
		// the phases after the models write again (with the drivers).
		std::set<std::string> target;
		if (m_CalcolaDrivers)
			for (const auto& p : LeggiTarget(DataStr()))
				if (IsDittaCorrente(p->f_Ditta) && p->f_EsercizioRiclassific.GetValue() == m_Esercizio.GetValue())
					target.insert(Chiave(p->f_ModelloRiclassific.GetString()));
		auto apriCoda = [&](size_t nModello) {
			if (!bCoda)
			{
				bCoda = GetContext()->StartPart();
				nPrimoNonTenuto = nModello;
			}
		};

		// What the engines read once for the whole run: the results too of the models it does
		// not write.
		{
			std::set<CString> scritti;
			for (const DataStr& modello : modelli)
				if (!PerRaggruppamento() || m_ModelliRaggrupp.count(Chiave(modello.GetString())))
					scritti.insert(Kvz_New_MngFormula::ChiaveTesto(modello.GetString()));
			if (PerRaggruppamento())
				scritti.insert(Kvz_New_MngFormula::ChiaveTesto(m_Raggrupp.GetString()));
			m_pLetture = std::make_shared<Kvz_New_LettureStabili>(GetReadOnlySqlSession());
			m_pLetture->SetModelliScritti(std::move(scritti));
		}

		m_RaggruppDaCancellare = TRUE;
		if (PerRaggruppamento())
		{
			apriCoda(0);
			CancellazionePrimaDiSalvataggio(m_Raggrupp);
		}

		for (size_t i = 0; i < modelli.size(); ++i)
		{
			const DataStr& modello = modelli[i];
			nInCorso = i;
			m_nModello = i + 1;
			m_nModelli = modelli.size();
			if (IsAborted() || m_bErroreDb)
				break;
			if (PerRaggruppamento() && !m_ModelliRaggrupp.count(Chiave(modello.GetString())))
				continue;
			if (target.count(Chiave(modello.GetString())))
				apriCoda(i);
			const BOOL bParte = GetContext()->StartPart();
			CancellazionePrimaDiSalvataggio(modello);
			CalcolaRiclassificazione(modello);
			ScriveRigheMancanti(modello);
			AggiornaTestaRiclassificato(modello, FALSE);
			if (IsAborted())
			{
				ChiudiTabelle();
				if (bParte)
					GetContext()->EndPart(FALSE);
				break;
			}
			if (PerRaggruppamento() && m_RaggruppDaCancellare)
			{
				CancellazionePrimaDiSalvataggio(m_Raggrupp);
				m_RaggruppDaCancellare = FALSE;
			}
			SalvaRisultati(modello);
			if (bParte)
				GetContext()->EndPart(TRUE);
			salvati.push_back(i);
			nInCorso = modelli.size();
		}
		// The grouping's header once, after its last model: a stop undoes the grouping whole.
		if (PerRaggruppamento() && !salvati.empty() && !IsAborted() && !m_bErroreDb)
			AggiornaTestaRiclassificato(m_Raggrupp, TRUE);
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::OnBatchExecute");
		bErroreCiclo = TRUE;
	}
	ChiudiTabelle();

	BOOL bAborted = IsAborted();
	// The cost drivers share out what the models computed: not after a stop or an error.
	if (m_CalcolaDrivers && !bAborted && !m_bErroreDb && !bErroreCiclo)
	{
		if (!bCoda)
		{
			bCoda = GetContext()->StartPart();
			nPrimoNonTenuto = modelli.size();
		}
		FasiDrivers();
		bAborted = IsAborted();
	}

	// A database error leaves a model half written (its rows deleted, not yet saved again):
	// such a run keeps nothing, and the previous results stay as they were.
	const BOOL bAnnulla = bErroreCiclo || m_bErroreDb;
	// Other companies' databases keep the driver phases' work only with the run's own.
	ChiudiConnessioniEsterne(!bAnnulla && !bAborted);
	if (bAborted && !bAnnulla && bCoda)
	{
		GetContext()->EndPart(FALSE);
		salvati.erase(std::remove_if(salvati.begin(), salvati.end(), [&](size_t i) { return i >= nPrimoNonTenuto; }),
					  salvati.end());
		nInCorso = std::min(nInCorso, nPrimoNonTenuto);
	}
	if (bAnnulla)
		Stato(kAnnullata);
	else if (bAborted)
	{
		const int nSalvati = static_cast<int>(salvati.size());
		CString strTenuto = CString::Formatted("Elaborazione interrotta su richiesta utente: %d %s salvat%s", nSalvati,
											   nSalvati == 1 ? "modello" : "modelli", nSalvati == 1 ? "o" : "i");
		if (nInCorso < modelli.size())
			strTenuto += CString::Formatted("; il modello %s%s non %s stat%s modificat%s",
											modelli[nInCorso].GetString().GetString(),
											nInCorso + 1 < modelli.size() ? " e i successivi" : "",
											nInCorso + 1 < modelli.size() ? "sono" : "è",
											nInCorso + 1 < modelli.size() ? "i" : "o",
											nInCorso + 1 < modelli.size() ? "i" : "o");
		if (m_CalcolaDrivers)
			strTenuto += "; drivers non ricalcolati";
		strTenuto += ".";
		Stato(strTenuto);
		SetKeptOnAbort(strTenuto);
	}
	else if (!m_FormuleNonValutate.empty() || !m_DriversNonCalcolati.empty())
	{
		CString strTesto = "Riclassificazione terminata con errori: ";
		if (!m_FormuleNonValutate.empty())
		{
			strTesto = TestoErroriFormule();
			if (!m_DriversNonCalcolati.empty())
				strTesto = strTesto.Left(strTesto.GetLength() - 1) + "; ";
		}
		if (!m_DriversNonCalcolati.empty())
			strTesto += TestoErroriDrivers() + ".";
		Stato(strTesto);
	}
	else if (m_bDittaMancata)
		Stato(kTerminataSenzaDitte);
	else
		Stato(kTerminata);
	if (!GetMessages()->IsEmpty())
		GetMessages()->Show();
	m_ElaborazioneTerminata = TRUE;
	UpdateDataView();

	if (bAnnulla)
	{
		GetContext()->UnlockAll();
		GetContext()->Rollback();
		m_bBatchNotStarted = true;  // a run that failed is no success
	}
	else
	{
		GetContext()->Commit();
		// What was computed stays; targets of a company that could not be reached got nothing,
		// rows whose formulas could not be evaluated 0: no success either way.
		if (m_bDittaMancata || !m_FormuleNonValutate.empty() || !m_DriversNonCalcolati.empty())
			m_bBatchNotStarted = true;
	}
}

void Kvz_CRiclassificPianoBaseDoc::ChiudiTabelle()
{
	m_pTabRighe.reset();
	m_pRecRighe.reset();
	m_pTabScrittura.reset();
	m_pRecScrittura.reset();
	m_pRisultatiTenuti.reset();
	m_bRaggruppLetto = false;
	m_RaggruppInTabella.clear();
	m_RigheRaggrupp.clear();
	m_Riserva.clear();
	m_pLetture.reset();
}

// The year's model headers, read once at the first asked for: the run writes none.
const Kvz_TRiclassificazioneTesta* Kvz_CRiclassificPianoBaseDoc::Testa(const DataStr& aModello)
{
	if (!m_bTesteLette)
	{
		m_Teste.clear();
		Kvz_TRiclassificazioneTesta rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.SetParamValue("p1", m_Esercizio);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto p = std::make_unique<Kvz_TRiclassificazioneTesta>();
			*p = rec;
			m_Teste[Chiave(rec.f_ModelloRiclassific.GetString())] = std::move(p);
		}
		t.Close();
		m_bTesteLette = true;
	}
	auto it = m_Teste.find(Chiave(aModello.GetString()));
	return it == m_Teste.end() ? nullptr : it->second.get();
}

SqlTable& Kvz_CRiclassificPianoBaseDoc::TabellaRisultati()
{
	if (!m_pTabScrittura)
	{
		m_pRecScrittura = std::make_unique<Kvz_TRiclassificato>();
		m_pTabScrittura = std::make_unique<SqlTable>(m_pRecScrittura.get(), GetUpdatableSqlSession(), this);
		m_pTabScrittura->SetAutocommit(TRUE);
		// The run gives up on any error: its new rows go as a batch.
		m_pTabScrittura->SetBatchInsert(TRUE);
		m_pTabScrittura->Open(TRUE);
	}
	return *m_pTabScrittura;
}

// ---- one model ---------------------------------------------------------------------------------

// Month copies are many (rows x months x models): those of a model done serve the next one.
std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> Kvz_CRiclassificPianoBaseDoc::DallaRiserva()
{
	if (m_Riserva.empty())
		return std::make_unique<Kvz_TEnhRiclassificazioneRighe>(FALSE);
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> p = std::move(m_Riserva.back());
	m_Riserva.pop_back();
	return p;
}

std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> Kvz_CRiclassificPianoBaseDoc::NuovaCopia(
	const Kvz_TEnhRiclassificazioneRighe& riga)
{
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> p = DallaRiserva();
	*p = riga;
	return p;
}

std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> Kvz_CRiclassificPianoBaseDoc::CopiaMese(
	const Kvz_TEnhRiclassificazioneRighe& riga)
{
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> p = DallaRiserva();
	CampiDelMese(*p, riga);
	for (DataStr Kvz_TRiclassificazioneRighe::*f : kFormule)
		if (!((*p).*f).IsEmpty())
			((*p).*f).Clear();
	CopiaValoriETotali(*p, riga);
	p->l_Mese = riga.l_Mese;
	return p;
}

// Field by field, typed: the record's generic copy converts every column through its stored
// form, and the formulas are most of the row's text. Neither the formulas nor the values.
void Kvz_CRiclassificPianoBaseDoc::CampiDelMese(Kvz_TEnhRiclassificazioneRighe& m,
												 const Kvz_TEnhRiclassificazioneRighe& riga)
{
	m.f_Esercizio = riga.f_Esercizio;
	m.f_ModelloRiclassific = riga.f_ModelloRiclassific;
	m.f_CodRiclassificato = riga.f_CodRiclassificato;
	m.f_Posizione = riga.f_Posizione;
	m.f_Descrizione = riga.f_Descrizione;
	m.f_TipoRiga = riga.f_TipoRiga;
	m.f_TipoDatoRitorno = riga.f_TipoDatoRitorno;
	m.f_Dividendo = riga.f_Dividendo;
	m.f_TipoCalcolo = riga.f_TipoCalcolo;
	m.f_CodRiclDividendoProgr = riga.f_CodRiclDividendoProgr;
	m.f_CodRiclDivisoreProgr = riga.f_CodRiclDivisoreProgr;
	m.f_SegnoDaApplicare = riga.f_SegnoDaApplicare;
	m.l_Selezionata = riga.l_Selezionata;
	m.l_DescrizioneBreve = riga.l_DescrizioneBreve;
}

void Kvz_CRiclassificPianoBaseDoc::MeseInRecord(const MeseRiga& mese, Kvz_TEnhRiclassificazioneRighe& e)
{
	CampiDelMese(e, *mese.pRiga);
	for (DataStr Kvz_TRiclassificazioneRighe::*f : kFormule)
		if (!(e.*f).IsEmpty())
			(e.*f).Clear();
	auto valori = Valori(e);
	auto totali = Totali(e);
	for (size_t s = 0; s < 14; ++s)
	{
		*valori[s] = mese.valori[s];
		*totali[s] = mese.totali[s];
	}
	e.l_Mese = mese.nMese;
}

const Kvz_ArrayRisultati& Kvz_CRiclassificPianoBaseDoc::GetRisultati() const
{
	if (m_Risultati.GetSize() == 0)
		for (const MeseRiga& mese : m_Mesi)
		{
			auto p = std::make_unique<Kvz_TEnhRiclassificazioneRighe>(FALSE);
			MeseInRecord(mese, *p);
			m_Risultati.Add(p.release());
		}
	return m_Risultati;
}

void Kvz_CRiclassificPianoBaseDoc::SvuotaRisultati()
{
	for (int i = m_Risultati.GetSize() - 1; i >= 0; --i)
		m_Riserva.emplace_back(static_cast<Kvz_TEnhRiclassificazioneRighe*>(m_Risultati.DetachAt(i)));
	m_Mesi.clear();
	for (auto& p : m_RigheModello)
		m_Riserva.push_back(std::move(p));
	m_RigheModello.clear();
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaRiclassificazione(const DataStr& aModello)
{
	Stato("Calcolo riclassificazione in corso ...");
	SvuotaRisultati();
	try
	{
		// The model's rows, read whole before any is computed, through a cursor kept for the run;
		// kept until the next model, as its months' results refer to them.
		std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>>& righe = m_RigheModello;
		if (!m_pTabRighe)
		{
			m_pRecRighe = std::make_unique<Kvz_TEnhRiclassificazioneRighe>();
			m_pTabRighe = std::make_unique<SqlTable>(m_pRecRighe.get(), GetReadOnlySqlSession(), this);
			Kvz_TEnhRiclassificazioneRighe& rec = *m_pRecRighe;
			m_pTabRighe->Open(FALSE);
			m_pTabRighe->SelectAll();
			m_pTabRighe->AddParam("p1", rec.f_Esercizio);
			m_pTabRighe->AddFilterColumn(rec.f_Esercizio);
			m_pTabRighe->AddParam("p2", rec.f_ModelloRiclassific);
			m_pTabRighe->AddFilterColumn(rec.f_ModelloRiclassific);
			m_pTabRighe->AddSortColumn(rec.f_Posizione);
			m_pTabRighe->AddSortColumn(rec.f_CodRiclassificato);
		}
		SqlTable& t = *m_pTabRighe;
		t.SetParamValue("p1", m_Esercizio);
		t.SetParamValue("p2", aModello);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			righe.push_back(NuovaCopia(*m_pRecRighe));

		// The engine is the model's.
		MotoreInUso pMotore(*this);
		pMotore->AttachModello(aModello);
		pMotore->AttachEsercizio(m_Esercizio);
		// The run writes results only: symbols and their definitions stay as they are, read
		// once for every model of the run.
		pMotore->SetDefinizioniStabili();
		if (!m_pLetture)
			m_pLetture = std::make_shared<Kvz_New_LettureStabili>(GetReadOnlySqlSession());
		pMotore->SetLettureStabili(m_pLetture);
		m_RigheRipartite.clear();
		m_strModelloRipartito = Chiave(aModello.GetString());
		if (PerRaggruppamento())
			pMotore->SetValoriRighe([this](const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
										   int nSlot) { return ValoriRigaRipartita(aEsercizio, aModello, aCodice, nSlot); });
		for (auto& pRiga : righe)
		{
			if (IsAborted())
				break;
			if (IsRigaNonCalcolata(pRiga->f_TipoRiga))
				continue;
			Stato(CString::Formatted("Calcolo in corso: modello %s (%zu di %zu), riga %s %s ...",
									 aModello.GetString().GetString(), m_nModello, std::max(m_nModello, m_nModelli),
									 pRiga->f_CodRiclassificato.GetString().GetString(),
									 pRiga->f_Descrizione.GetString().GetString()));
			pMotore->AttachDefault(pRiga->f_Esercizio, m_DalMese, m_Mese, aModello, m_TipoDato, pRiga->f_TipoRiga);
			const size_t nDettiPrima = GetMessages()->GetMessages().size();
			CalcolaRigaModello(*pRiga);
			UnaVoltaPerRiga(nDettiPrima);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CalcolaRiclassificazione");
	}
	if (IsAborted())
		return;

	// The carry-over: each row with a dividend code takes that code's values of the same month
	// (the first such row) as its reported totals.
	std::map<std::pair<std::string, int>, size_t> primo;
	const Kvz_TEnhRiclassificazioneRighe* pUltima = nullptr;  // a row's months come one after another
	std::string chiave;
	for (size_t i = 0; i < m_Mesi.size(); ++i)
	{
		if (m_Mesi[i].pRiga != pUltima)
		{
			pUltima = m_Mesi[i].pRiga;
			chiave = Chiave(pUltima->f_CodRiclassificato.GetString());
		}
		primo.emplace(std::make_pair(chiave, m_Mesi[i].nMese), i);
	}
	for (MeseRiga& e : m_Mesi)
	{
		if (e.pRiga->f_Dividendo.IsEmpty())
			continue;
		auto it = primo.find({Chiave(e.pRiga->f_Dividendo.GetString()), e.nMese});
		if (it != primo.end())
			e.totali = m_Mesi[it->second].valori;
	}
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaRigaModello(Kvz_TEnhRiclassificazioneRighe& riga)
{
	const int nDal = m_DalMese;
	const int nAl = m_Mese;
	Kvz_New_MngFormula* pMotore = m_pMngFormula;
	if (!pMotore || nDal < 1 || nAl > 12 || nDal > nAl)
		return;

	// The values by month and slot.
	std::array<std::array<double, 14>, 12> valori{};

	// The parametric split takes its monthly base from the model header's formula.
	double base[12] = {};
	BOOL bBase = FALSE;
	const Kvz_TRiclassificazioneTesta* pTesta =
		riga.f_TipoCalcolo.GetItemValue() == 3 ? Testa(riga.f_ModelloRiclassific) : nullptr;
	if (pTesta)
	{
		const CString strFormula = pTesta->f_FormulaCalcParametrico.GetString();
		if (!strFormula.IsEmpty())
		{
			pMotore->AttachFormula(strFormula);
			pMotore->AttachDove(CString::Formatted("riga %s, formula del calcolo parametrico",
												   riga.f_CodRiclassificato.GetString().GetString()));
			if (pMotore->Eval())
			{
				bBase = TRUE;
				for (int m = nDal - 1; m < nAl; ++m)
					base[m] = pMotore->GetResult(m).GetValue();
			}
		}
	}

	// The split applies to this row: later rows read its shared figures, not its formulas.
	CObject* pCommessa = nullptr;
	const BOOL bRipartita = PerRaggruppamento() && riga.f_TipoCalcolo.GetItemValue() != 0 &&
							(riga.f_TipoCalcolo.GetItemValue() != 3 || bBase) &&
							m_MapCommesse.Lookup(riga.f_ModelloRiclassific.GetString(), pCommessa);
	const auto formule = Formule(riga);
	for (size_t s = 0; s < formule.size(); ++s)
	{
		const CString strFormula = formule[s]->GetString();
		if (strFormula.IsEmpty())
			continue;
		if (s >= 1 && s <= 3)
			pMotore->AttachFormulaBudget(strFormula, DataEnum(E_KVZ_TIPOBUDGET, static_cast<WORD>(s - 1)));
		else
			pMotore->AttachFormula(strFormula);
		pMotore->AttachDove(CString::Formatted("riga %s, %s", riga.f_CodRiclassificato.GetString().GetString(),
											   kColonne[s]));
		const size_t nDetti = GetMessages()->GetMessages().size();
		if (!pMotore->Eval())
		{
			FormulaNonValutata(riga, s, strFormula, GetMessages()->GetMessages().size() != nDetti);
			continue;
		}
		for (int m = nDal - 1; m < nAl; ++m)
		{
			DataMon valore(pMotore->GetResult(m).GetValue());
			if (riga.f_TipoCalcolo.GetItemValue() != 3 || bBase)
				RipartisciSuCommessa(riga.f_TipoCalcolo, riga.f_ModelloRiclassific, m + 1, valore, base[m]);
			valori[static_cast<size_t>(m)][s] = valore.GetValue();
		}
	}
	pMotore->AttachDove(CString());
	if (bRipartita)
	{
		auto& ripartiti = m_RigheRipartite[Chiave(riga.f_CodRiclassificato.GetString())];
		for (size_t s = 0; s < 14; ++s)
			for (size_t m = 0; m < 12; ++m)
				ripartiti[s][m] = valori[m][s];
	}

	// Written at once, so that the later rows' formulas read them. The month's results refer
	// to the row for its key and description: no record per month.
	double dProgressivo = 0.0;
	for (int m = nDal - 1; m < nAl; ++m)
	{
		MeseRiga& mese = m_Mesi.emplace_back();
		mese.pRiga = &riga;
		mese.nMese = m + 1;
		mese.valori = valori[static_cast<size_t>(m)];
		dProgressivo += mese.valori[0];
		mese.valori[12] = dProgressivo;  // Valore9: the running sum of Valore
		ScriviRiga(mese, riga.f_ModelloRiclassific);
	}
	ScriviRigheTenute();
}

void Kvz_CRiclassificPianoBaseDoc::ScriviRiga(const MeseRiga& mese, const DataStr& aModello)
{
	const Kvz_TEnhRiclassificazioneRighe& e = *mese.pRiga;
	if (!m_pRisultatiTenuti)
		m_pRisultatiTenuti = std::make_unique<SqlMultiInsert>(GetUpdatableSqlSession(), Kvz_TRiclassificato(FALSE), 12);
	Kvz_TRiclassificato& r = static_cast<Kvz_TRiclassificato&>(m_pRisultatiTenuti->NewRow());
	r.f_Esercizio = m_Esercizio;
	r.f_ModelloRiclassific = aModello;
	r.f_TipoDatoPianoBase = m_TipoDato;
	r.f_Mese = mese.nMese;
	r.f_Posizione = e.f_Posizione;
	r.f_CodRiclassificato = e.f_CodRiclassificato;
	r.f_Descrizione = e.f_Descrizione;
	r.f_TipoRiga = e.f_TipoRiga;
	auto valori = Valori(r);
	auto totali = Totali(r);
	for (size_t s = 0; s < 14; ++s)
	{
		*valori[s] = mese.valori[s];
		*totali[s] = mese.totali[s];
	}
	r.f_CodRiclDividendoProgr = e.f_CodRiclDividendoProgr;
	r.f_CodRiclDivisoreProgr = e.f_CodRiclDivisoreProgr;
	r.f_SegnoDaApplicare = e.f_SegnoDaApplicare;
}

void Kvz_CRiclassificPianoBaseDoc::ScriviRigheTenute()
{
	// Queued with the other writes: the next read of the connection comes after them.
	if (m_pRisultatiTenuti)
		m_pRisultatiTenuti->Send();
}

void Kvz_CRiclassificPianoBaseDoc::CancellazionePrimaDiSalvataggio(const DataStr& aCodice)
{
	Stato("Cancellazione elaborazione precedente in corso ...");
	// The grouping's rows as read are no longer what the table holds.
	if (PerRaggruppamento() && Chiave(aCodice.GetString()) == Chiave(m_Raggrupp.GetString()))
		m_bRaggruppLetto = false;
	try
	{
		const DataEnum k6(E_KVZ_TIPORIGA, 6), k7(E_KVZ_TIPORIGA, 7), k8(E_KVZ_TIPORIGA, 8), k9(E_KVZ_TIPORIGA, 9),
			k0(E_KVZ_TIPORIGA, 0);
		// Rows other procedures fill stay while the model still has them as such. Most results
		// hold none of those: then a plain delete, without a lookup in the model per row.
		Kvz_TRiclassificato rec(FALSE);
		SqlTable t(&rec, GetUpdatableSqlSession(), this);
		t.Open(FALSE, FALSE, TRUE);
		DataLng nTenute;
		t.SelectSqlFun("COUNT(*)", nTenute);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddParam("p3", rec.f_TipoDatoPianoBase);
		t.AddFilterColumn(rec.f_TipoDatoPianoBase);
		t.AddParam("p4", rec.f_TipoRiga);
		t.AddFilterColumn(rec.f_TipoRiga, ">=");
		t.AddParam("p5", rec.f_TipoRiga);
		t.AddFilterColumn(rec.f_TipoRiga, "<=");
		t.SetParamValue("p1", m_Esercizio);
		t.SetParamValue("p2", aCodice);
		t.SetParamValue("p3", m_TipoDato);
		t.SetParamValue("p4", k6);
		t.SetParamValue("p5", k9);
		t.Query();
		const bool bTenute = !t.IsEOF() && nTenute.GetValue() > 0;
		t.Close();
		if (!bTenute)
			GetUpdatableSqlSession()->ExecuteSQL("DELETE FROM \"Kvz_Riclassificato\" WHERE \"Esercizio\" = ? AND "
												 "\"ModelloRiclassific\" = ? AND \"TipoDatoPianoBase\" = ?",
												 {&m_Esercizio, &aCodice, &m_TipoDato});
		else
			GetUpdatableSqlSession()->ExecuteSQL(
				"DELETE FROM \"Kvz_Riclassificato\" WHERE \"Esercizio\" = ? AND \"ModelloRiclassific\" = ? AND "
				"\"TipoDatoPianoBase\" = ? AND NOT (\"TipoRiga\" IN (?, ?, ?, ?) AND EXISTS (SELECT 1 FROM "
				"\"Kvz_RiclassificazioneRighe\" R WHERE R.\"Esercizio\" = \"Kvz_Riclassificato\".\"Esercizio\" AND "
				"R.\"ModelloRiclassific\" = \"Kvz_Riclassificato\".\"ModelloRiclassific\" AND "
				"R.\"CodRiclassificato\" = \"Kvz_Riclassificato\".\"CodRiclassificato\" AND R.\"TipoRiga\" <> ?))",
				{&m_Esercizio, &aCodice, &m_TipoDato, &k6, &k7, &k8, &k9, &k0});
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::CancellazionePrimaDiSalvataggio");
	}
}

void Kvz_CRiclassificPianoBaseDoc::ScriveRigheMancanti(const DataStr& aModello)
{
	Stato("Scrive righe mancanti in corso ...");
	try
	{
		std::vector<std::unique_ptr<Kvz_TRiclassificazioneRighe>> righe;
		{
			Kvz_TRiclassificazioneRighe rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_ModelloRiclassific);
			t.AddFilterColumn(rec.f_ModelloRiclassific);
			t.AddParam("p3", rec.f_TipoRiga);
			t.AddFilterColumn(rec.f_TipoRiga, ">=");
			t.AddParam("p4", rec.f_TipoRiga);
			t.AddFilterColumn(rec.f_TipoRiga, "<=");
			t.AddSortColumn(rec.f_Posizione);
			t.SetParamValue("p1", m_Esercizio);
			t.SetParamValue("p2", aModello);
			t.SetParamValue("p3", DataEnum(E_KVZ_TIPORIGA, 6));
			t.SetParamValue("p4", DataEnum(E_KVZ_TIPORIGA, 9));
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				auto p = std::make_unique<Kvz_TRiclassificazioneRighe>();
				*p = rec;
				righe.push_back(std::move(p));
			}
			t.Close();
		}
		if (righe.empty())
			return;
		Kvz_TRiclassificato rec;
		SqlTable t(&rec, GetUpdatableSqlSession(), this);
		t.SetAutocommit(TRUE);
		t.Open(TRUE);
		FiltroChiave(t, rec);
		for (auto& pRiga : righe)
			for (int m = m_DalMese; m <= m_Mese; ++m)
			{
				CercaChiave(t, m_Esercizio, aModello, m_TipoDato, pRiga->f_CodRiclassificato, m);
				if (!t.IsEOF())
				{
					t.Edit();
					rec.f_TipoRiga = pRiga->f_TipoRiga;
					rec.f_Posizione = pRiga->f_Posizione;
					t.Update();
					continue;
				}
				t.AddNew();
				rec.f_Esercizio = m_Esercizio;
				rec.f_ModelloRiclassific = aModello;
				rec.f_TipoDatoPianoBase = m_TipoDato;
				rec.f_Mese = m;
				rec.f_TipoRiga = pRiga->f_TipoRiga;
				rec.f_Posizione = pRiga->f_Posizione;
				rec.f_CodRiclassificato = pRiga->f_CodRiclassificato;
				rec.f_Descrizione = pRiga->f_Descrizione;
				t.Update();
			}
		t.Close();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::ScriveRigheMancanti");
	}
}

void Kvz_CRiclassificPianoBaseDoc::AggiornaTestaRiclassificato(const DataStr& aCodice, BOOL bRaggruppamento)
{
	try
	{
		const DataEnum tipo(E_KVZ_TIPOELABORAZIONE, PerRaggruppamento() && bRaggruppamento ? 1 : 0);
		Kvz_TURiclassificatoTesta testa(this, GetMessages());
		testa.SetSqlSession(GetUpdatableSqlSession());
		const TableReader::FindResult esito = testa.FindRecord(m_Esercizio, tipo, aCodice, TRUE);
		if (esito == TableReader::LOCKED || esito == TableReader::FIND_ERROR)
		{
			GetMessages()->Add(CString::Formatted("Testata dei risultati di %s non aggiornata: in uso da un altro utente.",
												  aCodice.GetString().GetString()),
							   CMessages::MSG_WARNING);
			return;
		}
		Kvz_TRiclassificatoTesta* pRec = testa.GetRecord();
		if (esito == TableReader::NOT_FOUND)
		{
			pRec->f_Esercizio = m_Esercizio;
			pRec->f_TipoElaborazione = tipo;
			pRec->f_ModelloRiclassific = aCodice;
		}
		const std::time_t adesso = std::time(nullptr);
		std::tm ora{};
		::localtime_r(&adesso, &ora);
		DataDate data = AfxGetApplicationDate();
		data.SetFullDate(TRUE);
		data.SetTime(ora.tm_hour, ora.tm_min, ora.tm_sec);
		pRec->f_DataUltimaElaborazione = data;
		const Kvz_TRiclassificazioneTesta* pTesta = Testa(aCodice);
		pRec->f_Descrizione = pTesta ? pTesta->f_Descrizione : DataStr();
		pRec->f_Nota = m_Note;
		testa.UpdateRecord();
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::AggiornaTestaRiclassificato");
	}
}

// The model's rows are in the table since their computation, as the array holds them but for
// the carry-over: writing them again would be the same rows deleted and added back, so only
// the reported totals are written.
void Kvz_CRiclassificPianoBaseDoc::SalvaRisultati(const DataStr& aModello)
{
	Stato("Salvataggio risultati in corso ...");
	if (PerRaggruppamento() && Chiave(aModello.GetString()) == Chiave(m_Raggrupp.GetString()))
		m_bRaggruppLetto = false;  // a model of the grouping's own code wrote its rows
	try
	{
		// A month as a record only where one is written from it.
		Kvz_TEnhRiclassificazioneRighe e(FALSE);
		for (const MeseRiga& mese : m_Mesi)
		{
			const bool bTotali = !mese.pRiga->f_Dividendo.IsEmpty();
			if (!bTotali && !PerRaggruppamento())
				continue;
			MeseInRecord(mese, e);
			if (bTotali)
				ScriviTotali(e, aModello);
			if (PerRaggruppamento())
				SommaInRaggruppamento(e);
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::SalvaRisultati");
	}
	for (auto& q : m_Quadrim)
		q.clear();
}

void Kvz_CRiclassificPianoBaseDoc::ScriviTotali(Kvz_TEnhRiclassificazioneRighe& e, const DataStr& aModello)
{
	static const char* const kColonne[14] = {
		"TotaleRiportato",	"TotaleRiportatoBudgetA", "TotaleRiportatoBudgetB", "TotaleRiportatoBudgetC",
		"TotaleRiportato1", "TotaleRiportato2",		  "TotaleRiportato3",		"TotaleRiportato4",
		"TotaleRiportato5", "TotaleRiportato6",		  "TotaleRiportato7",		"TotaleRiportato8",
		"TotaleRiportato9", "TotaleRiportato10"};
	CString sql = "UPDATE \"Kvz_Riclassificato\" SET ";
	std::vector<const DataObj*> valori;
	auto totali = Totali(e);
	for (size_t s = 0; s < 14; ++s)
	{
		sql += CString::Formatted("%s\"%s\" = ?", s ? ", " : "", kColonne[s]);
		valori.push_back(totali[s]);
	}
	sql += " WHERE \"Esercizio\" = ? AND \"ModelloRiclassific\" = ? AND \"TipoDatoPianoBase\" = ? AND "
		   "\"CodRiclassificato\" = ? AND \"Mese\" = ?";
	valori.insert(valori.end(), {&m_Esercizio, &aModello, &m_TipoDato, &e.f_CodRiclassificato, &e.l_Mese});
	// Sent with the others: one round trip for many on a server.
	GetUpdatableSqlSession()->SendSQL(sql, valori);
}

// The grouping's rows in the table, read once: the run alone writes them afterwards.
void Kvz_CRiclassificPianoBaseDoc::LeggiRaggrupp()
{
	m_RaggruppInTabella.clear();
	std::map<std::string, int> posizioni;
	Kvz_TRiclassificato rec;
	SqlTable t(&rec, GetUpdatableSqlSession(), this);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.AddParam("p3", rec.f_TipoDatoPianoBase);
	t.AddFilterColumn(rec.f_TipoDatoPianoBase);
	t.SetParamValue("p1", m_Esercizio);
	t.SetParamValue("p2", m_Raggrupp);
	t.SetParamValue("p3", m_TipoDato);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto p = std::make_unique<Kvz_TRiclassificato>();
		*p = rec;
		const std::string codice = Chiave(rec.f_CodRiclassificato.GetString());
		// A code's position is the highest of its months' (what this run gave it stands).
		int& nPos = posizioni[codice];
		nPos = std::max(nPos, rec.f_Posizione.GetValue());
		m_RaggruppInTabella[{codice, rec.f_Mese.GetValue()}] = std::move(p);
	}
	t.Close();
	for (const auto& [codice, nPos] : posizioni)
		m_PosizioniRaggrupp.try_emplace(codice, nPos);
	for (auto& [chiave, riga] : m_RigheRaggrupp)
		riga.bInTabella = m_RaggruppInTabella.count(chiave) > 0;
	m_bRaggruppLetto = true;
}

// The grouping's row of the element's code and month, summed in memory and written through.
void Kvz_CRiclassificPianoBaseDoc::SommaInRaggruppamento(Kvz_TEnhRiclassificazioneRighe& e)
{
	if (!m_bRaggruppLetto)
		LeggiRaggrupp();
	const int nMese = e.l_Mese;
	const ChiaveRaggrupp chiave{Chiave(e.f_CodRiclassificato.GetString()), nMese};
	RigaRaggrupp& riga = m_RigheRaggrupp[chiave];
	if (!riga.pRec)
	{
		riga.pRec = std::make_unique<Kvz_TRiclassificato>();
		auto letta = m_RaggruppInTabella.find(chiave);
		if (letta != m_RaggruppInTabella.end())
		{
			*riga.pRec = *letta->second;
			riga.bInTabella = true;
		}
		else
		{
			Kvz_TRiclassificato& r = *riga.pRec;
			r.f_Esercizio = m_Esercizio;
			r.f_ModelloRiclassific = m_Raggrupp;
			r.f_TipoDatoPianoBase = m_TipoDato;
			r.f_CodRiclassificato = e.f_CodRiclassificato;
			r.f_Mese = nMese;
			int nPos = CercaPosizioneRaggrupp(e.f_CodRiclassificato);
			if (nPos == 0)
			{
				m_nPosizioneRaggrupp = m_nPosizioneRaggrupp + 1;
				nPos = m_nPosizioneRaggrupp;
			}
			r.f_Posizione = nPos;
			r.f_Descrizione = e.f_Descrizione;
		}
		m_PosizioniRaggrupp[Chiave(e.f_CodRiclassificato.GetString())] = riga.pRec->f_Posizione;
	}
	Kvz_TRiclassificato& r = *riga.pRec;
	auto valori = Valori(r);
	auto totali = Totali(r);
	auto daValori = Valori(e);
	auto daTotali = Totali(e);
	for (size_t s = 0; s < 14; ++s)
	{
		*valori[s] = valori[s]->GetValue() + daValori[s]->GetValue();
		*totali[s] = totali[s]->GetValue() + daTotali[s]->GetValue();
	}
	r.f_TipoRiga = e.f_TipoRiga;
	if (r.f_CodRiclDividendoProgr.IsEmpty())
		r.f_CodRiclDividendoProgr = e.f_CodRiclDividendoProgr;
	if (r.f_CodRiclDivisoreProgr.IsEmpty())
		r.f_CodRiclDivisoreProgr = e.f_CodRiclDivisoreProgr;
	if (r.f_SegnoDaApplicare.IsEmpty())
		r.f_SegnoDaApplicare = e.f_SegnoDaApplicare;

	if (riga.bInTabella)
	{
		// What the sum changes, by the row's key, sent with the others (one round trip for many
		// on a server).
		static const char* const kColonne[14] = {
			"Valore",	"ValoreBudgetA", "ValoreBudgetB", "ValoreBudgetC", "Valore1", "Valore2", "Valore3",
			"Valore4",	"Valore5",		 "Valore6",		  "Valore7",	   "Valore8", "Valore9", "Valore10"};
		static const CString sql = [] {
			CString testo = "UPDATE \"Kvz_Riclassificato\" SET ";
			for (size_t s = 0; s < 14; ++s)
				testo += CString::Formatted("\"%s\" = ?, \"TotaleRiportato%s\" = ?, ", kColonne[s], kColonne[s] + 6);
			return testo + "\"TipoRiga\" = ?, \"CodRiclDividendoProgr\" = ?, \"CodRiclDivisoreProgr\" = ?, "
						   "\"SegnoDaApplicare\" = ? WHERE \"ModelloRiclassific\" = ? AND \"Esercizio\" = ? AND "
						   "\"TipoDatoPianoBase\" = ? AND \"CodRiclassificato\" = ? AND \"Mese\" = ?";
		}();
		std::vector<const DataObj*> parametri;
		for (size_t s = 0; s < 14; ++s)
		{
			parametri.push_back(valori[s]);
			parametri.push_back(totali[s]);
		}
		parametri.insert(parametri.end(), {&r.f_TipoRiga, &r.f_CodRiclDividendoProgr, &r.f_CodRiclDivisoreProgr,
										   &r.f_SegnoDaApplicare, &r.f_ModelloRiclassific, &r.f_Esercizio,
										   &r.f_TipoDatoPianoBase, &r.f_CodRiclassificato, &r.f_Mese});
		GetUpdatableSqlSession()->SendSQL(sql, parametri);
		return;
	}
	SqlTable& ins = TabellaRisultati();
	ins.AddNew(FALSE);
	*m_pRecScrittura = r;
	ins.Update();
	riga.bInTabella = true;
}

// The grouping's rows were read whole (LeggiRaggrupp): a code none of them has is new, 0.
DataInt Kvz_CRiclassificPianoBaseDoc::CercaPosizioneRaggrupp(const DataStr& aCodice)
{
	auto it = m_PosizioniRaggrupp.find(Chiave(aCodice.GetString()));
	return DataInt(it != m_PosizioniRaggrupp.end() ? it->second : 0);
}

// The field stays 0 and the other rows go on, but the run is no success: the row is said, once
// per row and formula (the engine says once per row what it met, a wrong syntax says nothing).
void Kvz_CRiclassificPianoBaseDoc::FormulaNonValutata(const Kvz_TEnhRiclassificazioneRighe& riga, size_t nSlot,
													  const CString& strFormula, BOOL bMotivoDetto)
{
	const CString strModello = riga.f_ModelloRiclassific.GetString();
	const CString strCodice = riga.f_CodRiclassificato.GetString();
	if (m_FormuleNonValutate.empty() || m_FormuleNonValutate.back().modello != strModello.str() ||
		m_FormuleNonValutate.back().codice != strCodice.str())
		m_FormuleNonValutate.push_back({strModello.str(), strCodice.str(), {}, {}});
	RigaNonValutata& r = m_FormuleNonValutate.back();
	r.slot.push_back(kColonne[nSlot]);
	// The budget formulas that follow the main one are the same text: said once.
	if (!r.formule.insert(strFormula.str()).second)
		return;
	const CString strMotivo = MotivoNonValutata(bMotivoDetto);
	GetMessages()->Add(
		CString::Formatted("Modello %s, riga %s, %s: la formula \"%s\" non si può calcolare%s%s; il valore resta 0.",
						   strModello.GetString(), strCodice.GetString(), kColonne[nSlot],
						   strFormula.Left(80).GetString(), strMotivo.IsEmpty() ? "" : ": ", strMotivo.GetString()),
		CMessages::MSG_ERROR);
}

// Outside a grouping run a job's or centre's share cannot be had: such a model's split rows would
// store the whole company's figures.
BOOL Kvz_CRiclassificPianoBaseDoc::DaRipartire(const DataStr& aModello, WORD nTipoModello)
{
	if (nTipoModello != 1 && nTipoModello != 2)
		return FALSE;
	Kvz_TRiclassificazioneRighe rec;
	SqlTable t(&rec, GetReadOnlySqlSession(), this);
	t.Open(FALSE);
	DataLng n;
	t.SelectSqlFun("COUNT(*)", n);
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.AddParam("p3", rec.f_TipoCalcolo);
	t.AddFilterColumn(rec.f_TipoCalcolo, "<>");
	t.SetParamValue("p1", m_Esercizio);
	t.SetParamValue("p2", aModello);
	t.SetParamValue("p3", DataEnum(E_KVZ_TIPOCALCOLO, 0));
	t.Query();
	const BOOL bRipartito = !t.IsEOF() && n.GetValue() > 0;
	t.Close();
	if (!bRipartito)
		return FALSE;
	// The groupings it runs under, for what is said.
	Kvz_TRiclassificazioneRaggrupp g;
	SqlTable tg(&g, GetReadOnlySqlSession(), this);
	tg.Open(FALSE);
	tg.SelectAll();
	tg.AddParam("p1", g.f_Esercizio);
	tg.AddFilterColumn(g.f_Esercizio);
	tg.AddParam("p2", g.f_ModelloRiclassific);
	tg.AddFilterColumn(g.f_ModelloRiclassific);
	tg.AddSortColumn(g.f_CodRaggrupp);
	tg.SetParamValue("p1", m_Esercizio);
	tg.SetParamValue("p2", aModello);
	std::string raggruppamenti;
	for (tg.Query(); !tg.IsEOF(); tg.MoveNext())
		raggruppamenti += (raggruppamenti.empty() ? "" : ", ") + g.f_CodRaggrupp.GetString().str();
	tg.Close();
	m_SoloPerRaggruppamento[raggruppamenti].push_back(aModello.GetString().str());
	return TRUE;
}

// Said once: a run of all models (or of a range) goes on without them; chosen alone, refused.
BOOL Kvz_CRiclassificPianoBaseDoc::SoloPerRaggruppamentoDetti(BOOL bNessunAltro)
{
	std::string elenco;
	for (const auto& [raggruppamenti, modelli] : m_SoloPerRaggruppamento)
	{
		std::string codici;
		for (const std::string& m : modelli)
			codici += (codici.empty() ? "" : ", ") + m;
		elenco += (elenco.empty() ? "" : "; ") + codici +
				  (raggruppamenti.empty() ? std::string(" (in nessun raggruppamento)")
										  : " (raggruppamento " + raggruppamenti + ")");
	}
	const CString strTesto = CString::Formatted(
		"I modelli per commessa o per centro di costo con righe ripartite si calcolano solo per codice di "
		"raggruppamento, dove ciascuno ha la sua quota: %s: %s.",
		bNessunAltro ? "elaborazione rifiutata" : "lasciati fuori da questa elaborazione", elenco.c_str());
	if (bNessunAltro)
	{
		AfxMessageBox(strTesto);
		return FALSE;
	}
	GetMessages()->Add(strTesto, CMessages::MSG_WARNING);
	return TRUE;
}

const double* Kvz_CRiclassificPianoBaseDoc::ValoriRigaRipartita(const DataInt& aEsercizio, const DataStr& aModello,
																 const DataStr& aCodice, int nSlot) const
{
	if (nSlot < 0 || nSlot >= 14 || aEsercizio.GetValue() != m_Esercizio.GetValue() ||
		Chiave(aModello.GetString()) != m_strModelloRipartito)
		return nullptr;
	auto it = m_RigheRipartite.find(Chiave(aCodice.GetString()));
	return it == m_RigheRipartite.end() ? nullptr : it->second[static_cast<size_t>(nSlot)].data();
}

// A wrong syntax the engine does not say: the parser's reason.
CString Kvz_CRiclassificPianoBaseDoc::MotivoNonValutata(BOOL bMotivoDetto)
{
	if (bMotivoDetto || !m_pMngFormula)
		return CString();
	m_pMngFormula->MantieniNomi(TRUE);
	return m_pMngFormula->Parse(CString()) ? CString() : m_pMngFormula->GetErroreSintassi();
}

// The row's formulas (the budget ones often the same text as the main one) may meet the same
// missing name several times: what the row made the engine say is said once.
void Kvz_CRiclassificPianoBaseDoc::UnaVoltaPerRiga(size_t nDettiPrima)
{
	const std::vector<CMessages::Message> detti = GetMessages()->GetMessages();
	if (detti.size() <= nDettiPrima + 1)
		return;
	std::set<std::string> visti;
	GetMessages()->Clear();
	for (size_t i = 0; i < detti.size(); ++i)
		if (i < nDettiPrima || visti.insert(detti[i].text.str()).second)
			GetMessages()->Add(detti[i].text, detti[i].type);
}

CString Kvz_CRiclassificPianoBaseDoc::TestoErroriFormule() const
{
	size_t nSlot = 0;
	for (const RigaNonValutata& r : m_FormuleNonValutate)
		nSlot += r.slot.size();
	const size_t nRighe = m_FormuleNonValutate.size();
	CString strTesto = CString::Formatted(
		"Riclassificazione terminata con errori: %zu %s non calcolabil%s, lasciat%s a 0 in %zu %s:", nSlot,
		nSlot == 1 ? "formula" : "formule", nSlot == 1 ? "e" : "i", nSlot == 1 ? "a" : "e", nRighe,
		nRighe == 1 ? "riga" : "righe");
	// One row more than those shown is shown too: "e altre 1" would say less than the row itself.
	const size_t kMostrate = nRighe == 6 ? 6 : 5;
	for (size_t i = 0; i < nRighe && i < kMostrate; ++i)
	{
		const RigaNonValutata& r = m_FormuleNonValutate[i];
		std::string elenco;
		for (const std::string& s : r.slot)
			elenco += (elenco.empty() ? "" : ", ") + s;
		strTesto += CString::Formatted("%s modello %s riga %s (%s)", i ? ";" : "", r.modello.c_str(), r.codice.c_str(),
									   elenco.c_str());
	}
	if (nRighe > kMostrate)
		strTesto += CString::Formatted("; e altre %zu righe", nRighe - kMostrate);
	return strTesto + ".";
}

// ---- jobs of the grouping ----------------------------------------------------------------------

void Kvz_CRiclassificPianoBaseDoc::SvuotaMapCommesse()
{
	for (auto& [codice, p] : m_MapCommesse)
		delete p;
	m_MapCommesse.RemoveAll();
}

void Kvz_CRiclassificPianoBaseDoc::InizializzaArrayCommesse()
{
	try
	{
		std::vector<DataStr> modelli;
		{
			Kvz_TRiclassificazioneRaggrupp rec;
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_CodRaggrupp);
			t.AddFilterColumn(rec.f_CodRaggrupp);
			t.SetParamValue("p1", m_Esercizio);
			t.SetParamValue("p2", m_Raggrupp);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				modelli.push_back(rec.f_ModelloRiclassific);
				m_ModelliRaggrupp.insert(Chiave(rec.f_ModelloRiclassific.GetString()));
			}
			t.Close();
		}
		for (const DataStr& modello : modelli)
		{
			const Kvz_TRiclassificazioneTesta* pTesta = Testa(modello);
			if (!pTesta)
				continue;
			if (pTesta->f_TipoModello.GetItemValue() == 0)
				continue;
			CObject* pObj = nullptr;
			Kvz_DatiDellaCommessa* pCommessa = nullptr;
			if (m_MapCommesse.Lookup(modello.GetString(), pObj))
				pCommessa = static_cast<Kvz_DatiDellaCommessa*>(pObj);
			else
			{
				pCommessa = new Kvz_DatiDellaCommessa;
				m_MapCommesse.SetAt(modello.GetString(), pCommessa);
			}
			pCommessa->DataInizio = pTesta->f_DataInizio;
			pCommessa->DataFine = pTesta->f_DataFine;
			pCommessa->Mesi.RemoveAll();
			for (int m = 1; m <= m_Mese; ++m)
			{
				auto* pMese = new Kvz_MeseCommessa;
				CalcolaMesiCommessa(*pCommessa, *pMese, m);
				pCommessa->Mesi.Add(pMese);
			}
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "Kvz_CRiclassificPianoBaseDoc::InizializzaArrayCommesse");
	}
}

void Kvz_CRiclassificPianoBaseDoc::CalcolaMesiCommessa(const Kvz_DatiDellaCommessa& commessa, Kvz_MeseCommessa& mese,
													   int nMese) const
{
	const int nAnno = m_Esercizio;
	const DataDate primo(1, nMese, nAnno);
	const DataDate ultimo(MonthDays(nMese, nAnno), nMese, nAnno);
	// An empty date leaves that end open.
	const long inizio = commessa.DataInizio.IsEmpty() ? primo.GetDayNumber() : commessa.DataInizio.GetDayNumber();
	const long fine = commessa.DataFine.IsEmpty() ? ultimo.GetDayNumber() : commessa.DataFine.GetDayNumber();
	if (inizio > ultimo.GetDayNumber() || fine < primo.GetDayNumber())
	{
		mese.Attiva = FALSE;
		mese.Giorni = 0;
		return;
	}
	mese.Attiva = TRUE;
	mese.Giorni = static_cast<int>(std::min(fine, ultimo.GetDayNumber()) - std::max(inizio, primo.GetDayNumber()) + 1);
}

DataInt Kvz_CRiclassificPianoBaseDoc::ContaCommesseAttive(int nIdxMese) const
{
	int n = 0;
	for (auto& [codice, p] : m_MapCommesse)
	{
		const auto* pCommessa = static_cast<const Kvz_DatiDellaCommessa*>(p);
		if (nIdxMese >= 0 && nIdxMese < pCommessa->Mesi.GetSize() && pCommessa->Mesi.GetAt(nIdxMese)->Attiva)
			++n;
	}
	return DataInt(n);
}

DataInt Kvz_CRiclassificPianoBaseDoc::SommaGiorniCommesse(int nIdxMese) const
{
	int n = 0;
	for (auto& [codice, p] : m_MapCommesse)
	{
		const auto* pCommessa = static_cast<const Kvz_DatiDellaCommessa*>(p);
		if (nIdxMese >= 0 && nIdxMese < pCommessa->Mesi.GetSize() && pCommessa->Mesi.GetAt(nIdxMese)->Attiva)
			n += pCommessa->Mesi.GetAt(nIdxMese)->Giorni;
	}
	return DataInt(n);
}

void Kvz_CRiclassificPianoBaseDoc::RipartisciSuCommessa(const DataEnum& aTipoCalcolo, const DataStr& aModello,
														int nMese, DataMon& aValore, double dBase) const
{
	const WORD nTipo = aTipoCalcolo.GetItemValue();
	if (!PerRaggruppamento() || nTipo == 0)
		return;
	CObject* pObj = nullptr;
	if (!m_MapCommesse.Lookup(aModello.GetString(), pObj))
		return;
	const auto* pCommessa = static_cast<const Kvz_DatiDellaCommessa*>(pObj);
	const int nIdx = nMese - 1;
	if (nIdx < 0 || nIdx >= pCommessa->Mesi.GetSize())
		return;
	switch (nTipo)
	{
	case 1:
	{
		const int n = ContaCommesseAttive(nIdx);
		if (n > 0)
			aValore = FormatHelpers::RoundDecimals(aValore.GetValue() / n, 2);
		break;
	}
	case 2:
	{
		int nTotale = SommaGiorniCommesse(nIdx);
		if (nTotale < 1)
			nTotale = 1;
		aValore = FormatHelpers::RoundDecimals(aValore.GetValue() * pCommessa->Mesi.GetAt(nIdx)->Giorni / nTotale, 2);
		break;
	}
	case 3:
		// The header's parametric formula gives the job's share of the month.
		aValore = FormatHelpers::RoundDecimals(aValore.GetValue() * dBase, 2);
		break;
	default:
		break;
	}
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CRiclassificPianoBaseDoc::PulisciModelli()
{
	m_Modello.Clear();
	m_ModelloA.Clear();
	m_pHKLModello->GetRecord()->f_Descrizione.Clear();
	m_pHKLModelloA->GetRecord()->f_Descrizione.Clear();
}

void Kvz_CRiclassificPianoBaseDoc::DisableControlsForBatch()
{
	m_Modello.SetReadOnly(m_TuttiMod || m_SelPerRaggrupp);
	m_ModelloA.SetReadOnly(m_TuttiMod || m_SelPerRaggrupp);
	m_TuttiMod.SetReadOnly(m_SelPerRaggrupp);
	m_Raggrupp.SetReadOnly(!m_SelPerRaggrupp);
}

void Kvz_CRiclassificPianoBaseDoc::OnEsercizioChanged()
{
	m_pHKLModello->SetSelEsercizio(m_Esercizio);
	m_pHKLModelloA->SetSelEsercizio(m_Esercizio);
	PulisciModelli();
	UpdateDataView();
}

void Kvz_CRiclassificPianoBaseDoc::OnTuttiModChanged()
{
	m_Modello.SetReadOnly(m_TuttiMod);
	m_ModelloA.SetReadOnly(m_TuttiMod);
	if (m_TuttiMod)
	{
		PulisciModelli();
	}
	UpdateDataView();
}

void Kvz_CRiclassificPianoBaseDoc::OnModelloChanged()
{
	m_ModelloA = m_Modello;
	if (m_ModelloA.IsEmpty() || !m_pHKLModelloA->FindRecord(&m_ModelloA))
		m_pHKLModelloA->GetRecord()->f_Descrizione.Clear();
	UpdateDataView();
}

void Kvz_CRiclassificPianoBaseDoc::OnSelPerRaggruppChanged()
{
	m_TuttiMod.SetReadOnly(m_SelPerRaggrupp);
	m_Modello.SetReadOnly(m_SelPerRaggrupp);
	m_ModelloA.SetReadOnly(m_SelPerRaggrupp);
	m_Raggrupp.SetReadOnly(!m_SelPerRaggrupp);
	if (m_SelPerRaggrupp)
	{
		m_TuttiMod = FALSE;
		PulisciModelli();
	}
	else
	{
		m_Raggrupp.Clear();
		m_pHKLRaggrupp->GetRecord()->f_Descrizione.Clear();
	}
	UpdateDataView();
}

void Kvz_RiclassParametriTabDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CRiclassificPianoBaseDoc*>(GetDocument());
	AddLink(IDC_RCL_PBASE_ESERCIZIO, _T("RCL_PBASE_ESERCIZIO"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
	pDoc->m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_RCL_PBASE_DAL_MESE, _T("RCL_PBASE_DAL_MESE"), RUNTIME_CLASS(CIntEdit), &pDoc->m_DalMese);
	AddLink(IDC_RCL_PBASE_MESE, _T("RCL_PBASE_MESE"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Mese);
	AddLink(IDC_RCL_PBASE_TUTTI_MOD, _T("RCL_PBASE_TUTTI_MOD"), RUNTIME_CLASS(CBoolButton), &pDoc->m_TuttiMod);
	AddLink(IDC_RCL_PBASE_MODELLO, _T("RCL_PBASE_MODELLO"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Modello,
			pDoc->GetHKLModello());
	AddLink(IDC_RCL_PBASE_DESCRI_MODELLO, _T("RCL_PBASE_DESCRI_MODELLO"), RUNTIME_CLASS(CStrStatic),
			&pDoc->GetHKLModello()->GetRecord()->f_Descrizione);
	AddLink(IDC_RCL_PBASE_MODELLO_A, _T("RCL_PBASE_MODELLO_A"), RUNTIME_CLASS(CStrEdit), &pDoc->m_ModelloA,
			pDoc->GetHKLModelloA());
	AddLink(IDC_RCL_PBASE_DESCRI_MODELLO_A, _T("RCL_PBASE_DESCRI_MODELLO_A"), RUNTIME_CLASS(CStrStatic),
			&pDoc->GetHKLModelloA()->GetRecord()->f_Descrizione);
	AddLink(IDC_RCL_PBASE_TIPO_DATO, _T("RCL_PBASE_TIPO_DATO"), RUNTIME_CLASS(CEnumCombo), &pDoc->m_TipoDato);
	AddLink(IDC_RCL_PBASE_STATO_ELBA, _T("RCL_PBASE_STATO_ELBA"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
	AddLink(IDC_RCL_PBASE_SEL_PER_RAGGRUPP, _T("RCL_PBASE_SEL_PER_RAGGRUPP"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_SelPerRaggrupp);
	AddLink(IDC_RCL_PBASE_SEL_PER_CODICE, _T("RCL_PBASE_SEL_PER_CODICE"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_SelPerCodice);
	AddLink(IDC_RCL_PBASE_RAGGRUPP, _T("RCL_PBASE_RAGGRUPP"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Raggrupp,
			pDoc->GetHKLRaggrupp());
	AddLink(IDC_RCL_PBASE_DESCRI_RAGGRUPP, _T("RCL_PBASE_DESCRI_RAGGRUPP"), RUNTIME_CLASS(CStrStatic),
			&pDoc->GetHKLRaggrupp()->GetRecord()->f_Descrizione);
	AddLink(IDC_RCL_PBASE_NOTE, _T("RCL_PBASE_NOTE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Note);
	AddLink(IDC_CALCOLA_DRIVERS, _T("CALCOLA_DRIVERS"), RUNTIME_CLASS(CBoolButton), &pDoc->m_CalcolaDrivers);
	if (CParsedCtrl* pVecchio =
			AddLink(IDC_USA_VECCHIO_ALG, _T("USA_VECCHIO_ALG"), RUNTIME_CLASS(CBoolButton), &pDoc->m_UsaVecchioAlg))
		pVecchio->ShowWindow(FALSE);
	SetLabels({{_T("RCL_PBASE_ESERCIZIO"), _T("Esercizio")},
			   {_T("RCL_PBASE_DAL_MESE"), _T("Dal mese")},
			   {_T("RCL_PBASE_MESE"), _T("Al mese")},
			   {_T("RCL_PBASE_TUTTI_MOD"), _T("Tutti i modelli")},
			   {_T("RCL_PBASE_MODELLO"), _T("Dal modello")},
			   {_T("RCL_PBASE_DESCRI_MODELLO"), _T("Descrizione dal modello")},
			   {_T("RCL_PBASE_MODELLO_A"), _T("Al modello")},
			   {_T("RCL_PBASE_DESCRI_MODELLO_A"), _T("Descrizione al modello")},
			   {_T("RCL_PBASE_TIPO_DATO"), _T("Tipo dato")},
			   {_T("RCL_PBASE_STATO_ELBA"), _T("Stato elaborazione")},
			   {_T("RCL_PBASE_SEL_PER_RAGGRUPP"), _T("Selezione per raggruppamento")},
			   {_T("RCL_PBASE_SEL_PER_CODICE"), _T("Selezione per codice")},
			   {_T("RCL_PBASE_RAGGRUPP"), _T("Raggruppamento")},
			   {_T("RCL_PBASE_DESCRI_RAGGRUPP"), _T("Descrizione raggruppamento")},
			   {_T("RCL_PBASE_NOTE"), _T("Note")},
			   {_T("CALCOLA_DRIVERS"), _T("Calcola drivers")},
			   {_T("USA_VECCHIO_ALG"), _T("Vecchio algoritmo")}});
}

BOOL Kvz_CRiclassificazioneTabber::Attach(CObject*)
{
	AddDialog(RUNTIME_CLASS(Kvz_RiclassParametriTabDlg), 0, _T("Parametri"));
	return TRUE;
}

void Kvz_CRiclassificPianoBaseView::BuildDataControlLinks()
{
	AddLink(IDC_RCL_PBASE_TABBER, _T("Riclassificazione piano base"), RUNTIME_CLASS(Kvz_CRiclassificazioneTabber),
			nullptr);
}

// ---- what reports read -------------------------------------------------------------------------

// The run gives eight amounts: the ninth, the tenth and the kind stay as the caller passed them.
DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[0], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}

DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[1], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}

DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[2], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}
