#pragma once
// The reclassification run of a year: for a month range, every chosen model's rows are evaluated
// into the results (Kvz_Riclassificato) and each model's results header is stamped. Models are
// chosen by code range (or all of the year) or by grouping code; by grouping the results are also
// summed under the grouping code and job-type models share values over the grouping's jobs.
// After a run reports read its year, first month, model and rows by four-month block.
// Template "DRiclassificPianoBase".
#include <array>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRows.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvoledb/SqlMultiInsert.h"

class Kvz_New_MngFormula;
class Kvz_New_LettureStabili;
class Kvz_HKLCodRaggrupp;
class TKvzDriversModelli;
class TKvzDriversCosti;
class TKvzDriversTesta;

// A job's month: active when the job's dates touch it, with the days they cover.
class Kvz_MeseCommessa : public CObject
{
	DECLARE_DYNCREATE(Kvz_MeseCommessa, CObject)
public:
	DataBool Attiva;
	DataInt Giorni;
};

// One entry per month, index 0 = January.
class Kvz_ArrayMesiCommessa : public TArray<Kvz_MeseCommessa>
{
};

// A job-type model of the grouping: its dates and months.
class Kvz_DatiDellaCommessa : public CObject
{
	DECLARE_DYNCREATE(Kvz_DatiDellaCommessa, CObject)
public:
	Kvz_ArrayMesiCommessa Mesi;
	DataDate DataInizio;
	DataDate DataFine;
};

// The month copies of the rows of the model being computed (and of one row in the cost-driver
// phases); owns them.
class Kvz_ArrayRisultati : public TArray<Kvz_TEnhRiclassificazioneRighe>
{
};

// The companies of the installation, each with its selection mark: filled on request, not shown
// by the run's form, and read by no run.
class Kvz_DBTSelAziende : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelAziende, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelAziende(CAbstractFormDoc* pDocument);
	Kvz_EnhAziende* GetAzienda(int nRow) const { return static_cast<Kvz_EnhAziende*>(GetRow(nRow)); }
	// Every company of the register, by code; a database error is shown and the rows read stay.
	void Riempi();
	// Every row's selection mark.
	void Seleziona(BOOL bSel);
};

class Kvz_CRiclassificPianoBaseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CRiclassificPianoBaseDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CRiclassificPianoBaseDoc();
	~Kvz_CRiclassificPianoBaseDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override;
	BOOL CanDoReport() override { return FALSE; }

	// ---- one model (or grouping code) ------------------------------------------------------
	void CalcolaRiclassificazione(const DataStr& aModello);
	// A row of the model in progress (one of m_RigheModello: its months' results refer to it).
	void CalcolaRigaModello(Kvz_TEnhRiclassificazioneRighe& riga);
	void CancellazionePrimaDiSalvataggio(const DataStr& aCodice);
	void ScriveRigheMancanti(const DataStr& aModello);
	void AggiornaTestaRiclassificato(const DataStr& aCodice, BOOL bRaggruppamento);
	void SalvaRisultati(const DataStr& aModello);
	DataInt CercaPosizioneRaggrupp(const DataStr& aCodice);

	// ---- jobs of the grouping ----------------------------------------------------------------
	void SvuotaMapCommesse();
	void InizializzaArrayCommesse();
	void CalcolaMesiCommessa(const Kvz_DatiDellaCommessa& commessa, Kvz_MeseCommessa& mese, int nMese) const;
	DataInt ContaCommesseAttive(int nIdxMese) const;
	DataInt SommaGiorniCommesse(int nIdxMese) const;
	void RipartisciSuCommessa(const DataEnum& aTipoCalcolo, const DataStr& aModello, int nMese, DataMon& aValore,
							  double dBase) const;
	const CMapStringToOb& GetMapCommesse() const { return m_MapCommesse; }

	// ---- another company's database (the cost-driver phases) ---------------------------------
	// Makes the connection of the company code the connection in use: the document's own for
	// an empty code or "."; another company's is opened once per run and kept until the run's
	// end. FALSE, with the message said once per run, when the company is not in the register
	// or its database cannot be opened: then there is no connection in use.
	BOOL ConnectDB();
	SqlConnection* GetConnessioneInUso() const { return m_pConnInUso; }
	// Closes them, keeping what the phases wrote there only when the run keeps its own work.
	void ChiudiConnessioniEsterne(BOOL bConferma = FALSE);
	static BOOL IsDittaCorrente(const DataStr& aDitta);

	// ---- model rows and dividends of the targets ---------------------------------------------
	// A model row's position (0: no such row); a found row leaves its description and kind in
	// the current row members. Model rows are read once per year and model during a run.
	DataInt LeggiRigaModello(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	DataInt LeggiRigaModello_Ext(const DataInt& aEsercizio, const DataStr& aDitta, const DataStr& aModello,
								 const DataStr& aCodice);
	// The month's value, in the run's data kind, of the code the row names as its dividend (0
	// without one).
	DataMon LeggiValoreDividendo(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
								 const DataInt& aMese);
	DataMon LeggiValoreDividendo_Ext(const DataInt& aEsercizio, const DataStr& aDitta, const DataStr& aModello,
									 const DataStr& aCodice, const DataInt& aMese);

	// ---- cost-driver phases ----------------------------------------------------------------------
	void CancellaValoriPrecedenti();
	void ElaboraDrivers();
	void ElaboraFaseSuccessivaDrivers();
	void RilevaPercentualiDrivers(const DataStr& aDriver, const DataStr& aCodice);
	void InizializzaValori(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	void CalcolaIncrementi(const DataStr& aDriver);
	void ApplicaIncrementi(TKvzDriversModelli& target, const TKvzDriversCosti& costo);
	void CalcolaCosti(const DataStr& aDriver);
	void CalcolaFormulaCosto(Kvz_TEnhRiclassificazioneRighe& riga);
	void RipartisciCosto(TKvzDriversModelli& target, const TKvzDriversCosti& costo);
	void ScriviValori(const TKvzDriversModelli& target, const TKvzDriversCosti& costo, BOOL bAzzera);
	void ScriviValori_Ext(const TKvzDriversModelli& target, const TKvzDriversCosti& costo, int nMese, BOOL bAzzera);
	void CalcolaModelloFaseSuccessiva(const DataStr& aDriver);
	void LeggeModelloRiclassificazione(const TKvzDriversModelli& target);
	void LeggeModelloRiclassificazione_Ext(const TKvzDriversModelli& target);
	void CalcolaRigaFaseSuccessiva(Kvz_TEnhRiclassificazioneRighe& riga);
	void ScriviValoriFaseSuccessiva(const TKvzDriversModelli& target, const DataStr& aCodice);
	void ScriviValoriFaseSuccessiva_Ext(const TKvzDriversModelli& target, const DataStr& aCodice);

	// ---- companies ----------------------------------------------------------------------------
	Kvz_DBTSelAziende* GetDBTSelAziende() const { return m_pDBTSelAziende.get(); }
	void OnSelezionaTutteAziende();
	void OnDeselezionaTutteAziende();

	// ---- form commands -------------------------------------------------------------------------
	void OnEsercizioChanged();
	void OnTuttiModChanged();
	void OnModelloChanged();
	void OnSelPerRaggruppChanged();

	// ---- what reports read -----------------------------------------------------------------------
	DataInt Kvz_GetEsercizioRiclassific() { return m_Esercizio; }
	// Bound by the export named for the first month, it gives the last month of the range.
	DataInt Kvz_GetDalMeseRiclassific() { return m_Mese; }
	DataStr Kvz_GetModelloRiclassific() { return m_Modello; }
	DataBool Kvz_QualcosaInQuadrim2() { return DataBool(!m_Quadrim[1].empty()); }
	DataBool Kvz_QualcosaInQuadrim3() { return DataBool(!m_Quadrim[2].empty()); }
	// The row's code, description and eight amounts; the last two amounts and the kind stay as passed.
	DataBool Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);
	DataBool Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);
	DataBool Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);

	// ---- parameters (the form's controls) ------------------------------------------------------
	DataInt m_Esercizio;         // RCL_PBASE_ESERCIZIO
	DataInt m_DalMese;           // RCL_PBASE_DAL_MESE
	DataInt m_Mese;              // RCL_PBASE_MESE
	DataBool m_TuttiMod;         // RCL_PBASE_TUTTI_MOD
	DataStr m_Modello;           // RCL_PBASE_MODELLO
	DataStr m_ModelloA;          // RCL_PBASE_MODELLO_A
	DataEnum m_TipoDato;         // RCL_PBASE_TIPO_DATO
	DataStr m_StatoElab;         // RCL_PBASE_STATO_ELBA
	DataBool m_SelPerRaggrupp;   // RCL_PBASE_SEL_PER_RAGGRUPP
	DataBool m_SelPerCodice;     // RCL_PBASE_SEL_PER_CODICE
	DataStr m_Raggrupp;          // RCL_PBASE_RAGGRUPP
	DataStr m_Note;              // RCL_PBASE_NOTE
	DataBool m_CalcolaDrivers;   // CALCOLA_DRIVERS
	DataBool m_UsaVecchioAlg;    // USA_VECCHIO_ALG (its control stays hidden)

	DataBool m_ElaborazioneTerminata;

	// ---- what the cost-driver phases leave ------------------------------------------------------
	DataStr m_CodiceDitta;
	DataStr m_ModelloDriversCorrente;
	DataEnum m_TipoCalcoloCorrente{E_KVZ_TIPOCALCOLODRIVERS, 0};
	DataStr m_DescrizioneRigaCorrente;
	DataEnum m_TipoRigaCorrente{E_KVZ_TIPORIGA, 0};
	long m_nTipoRigaCorrente = 0;  // the same, as another company's rows hold it
	// Indexed by the month, 1 to 12.
	double m_ValoriModello[13] = {};
	double m_TotaliDriver[13] = {};
	double m_QuoteRibaldamento[13] = {};
	double m_QuoteRibaldamentoStd[13] = {};
	// The month copies of the last model's rows (made when asked), or of the row of a cost-driver
	// phase.
	const Kvz_ArrayRisultati& GetRisultati() const;
	KVZ_HKLRiclassificazioneTesta* GetHKLModello() const { return m_pHKLModello; }
	KVZ_HKLRiclassificazioneTesta* GetHKLModelloA() const { return m_pHKLModelloA; }
	Kvz_HKLCodRaggrupp* GetHKLRaggrupp() const { return m_pHKLRaggrupp; }

	std::vector<kvzdocuments::RigaQuadrimestre> m_Quadrim[3];

protected:
	// The document's formula engine for one piece of work (a model, a driver's costs, a target):
	// kept in the document while the guard lives, released however the work ends.
	class MotoreInUso
	{
	public:
		explicit MotoreInUso(Kvz_CRiclassificPianoBaseDoc& doc);
		~MotoreInUso();
		MotoreInUso(const MotoreInUso&) = delete;
		MotoreInUso& operator=(const MotoreInUso&) = delete;
		Kvz_New_MngFormula* operator->() const { return m_pMotore.get(); }

	private:
		Kvz_CRiclassificPianoBaseDoc& m_Doc;
		std::unique_ptr<Kvz_New_MngFormula> m_pMotore;
	};

	BOOL ControllaParametri();
	void Stato(const CString& strTesto);
	void ShowSqlError(const SqlException& e, const char* szMetodo);
	BOOL IsAborted() { return GetScheduler()->IsAborted(); }
	BOOL PerRaggruppamento() const { return m_SelPerRaggrupp; }
	// The cursor rows are written through, prepared once per run.
	SqlTable& TabellaRisultati();
	// A month of a row of the model in progress: its values and reported totals by slot.
	struct MeseRiga
	{
		const Kvz_TEnhRiclassificazioneRighe* pRiga = nullptr;  // in m_RigheModello
		int nMese = 0;
		std::array<double, 14> valori{}, totali{};
	};
	// A month's row added to the results held, and those held written at once.
	void ScriviRiga(const MeseRiga& mese, const DataStr& aModello);
	void ScriviRigheTenute();
	void ScriviTotali(Kvz_TEnhRiclassificazioneRighe& e, const DataStr& aModello);
	void SommaInRaggruppamento(Kvz_TEnhRiclassificazioneRighe& e);
	void LeggiRaggrupp();
	// A formula of a model row that cannot be evaluated: its field stays 0, the run says so.
	void FormulaNonValutata(const Kvz_TEnhRiclassificazioneRighe& riga, size_t nSlot, const CString& strFormula,
							BOOL bMotivoDetto);
	// Each message of the row said once, whichever of its formulas met it.
	void UnaVoltaPerRiga(size_t nDettiPrima);
	// The end status of a run that met such formulas: how many, and the first rows.
	CString TestoErroriFormule() const;
	void PulisciModelli();
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> NuovaCopia(const Kvz_TEnhRiclassificazioneRighe& riga);
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> DallaRiserva();
	// A month of a row: what its results take (key, description, kind, values), not its formulas.
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> CopiaMese(const Kvz_TEnhRiclassificazioneRighe& riga);
	static void CampiDelMese(Kvz_TEnhRiclassificazioneRighe& mese, const Kvz_TEnhRiclassificazioneRighe& riga);
	static void MeseInRecord(const MeseRiga& mese, Kvz_TEnhRiclassificazioneRighe& e);
	void SvuotaRisultati();

private:
	// A grouping row being summed: its values, and whether it is in the table.
	struct RigaRaggrupp
	{
		std::unique_ptr<Kvz_TRiclassificato> pRec;
		bool bInTabella = false;
	};
	using ChiaveRaggrupp = std::pair<std::string, int>;  // code, month

	DataBool m_RaggruppDaCancellare;
	DataInt m_nPosizioneRaggrupp;
	CMapStringToOb m_MapCommesse;
	mutable Kvz_ArrayRisultati m_Risultati;
	// The model in progress: its rows and their months' results, in the order computed.
	std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> m_RigheModello;
	std::vector<MeseRiga> m_Mesi;
	std::unique_ptr<Kvz_TRRiclassificazioneTesta> m_pTRTesta;
	// The run's year's model headers by code, read once (null: not read yet), and the models of
	// the grouping run.
	std::map<std::string, std::unique_ptr<Kvz_TRiclassificazioneTesta>> m_Teste;
	bool m_bTesteLette = false;
	std::set<std::string> m_ModelliRaggrupp;
	const Kvz_TRiclassificazioneTesta* Testa(const DataStr& aModello);
	Kvz_New_MngFormula* m_pMngFormula = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModello = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModelloA = nullptr;
	Kvz_HKLCodRaggrupp* m_pHKLRaggrupp = nullptr;
	std::unique_ptr<Kvz_DBTSelAziende> m_pDBTSelAziende;
	BOOL m_bErroreDb = FALSE;
	// The rows (model, code) whose formulas could not be evaluated, in the order met, with the
	// slots that failed.
	struct RigaNonValutata
	{
		std::string modello, codice;
		std::vector<std::string> slot;
		std::set<std::string> formule;  // the texts said, each once per row
	};
	std::vector<RigaNonValutata> m_FormuleNonValutate;
	// The model in progress and how many the run computes, for the progress.
	size_t m_nModello = 0, m_nModelli = 0;
	BOOL m_bDittaMancata = FALSE;  // a company of the driver phases was not reached
	// The drivers whose cost line or kind-9 row could not be evaluated, in the order met, with
	// what failed: their phases keep nothing, and the phases run again without them.
	struct DriverNonCalcolato
	{
		std::string driver, cosa;
	};
	std::vector<DriverNonCalcolato> m_DriversNonCalcolati;
	std::set<std::string> m_DriversEsclusi;
	CString m_strCosaInCorso;  // the cost line or row being valued, as said when it fails
	BOOL DriverFallito(const DataStr& aDriver) const;
	// FALSE, said, when a target of this company is no model of its year.
	BOOL TargetPresenti(const DataStr& aDriver);
	void DriverNonValutato(const CString& strFormula, BOOL bMotivoDetto);
	// The phases whole: run again without the drivers that failed, until none fails.
	void FasiDrivers();
	void AnnullaFasiEsterne();
	CString TestoErroriDrivers() const;
	// The per-job and per-centre models a run not by grouping leaves out, by their groupings.
	std::map<std::string, std::vector<std::string>> m_SoloPerRaggruppamento;
	BOOL DaRipartire(const DataStr& aModello, WORD nTipoModello);
	// The rows of the model in progress stored with their share, by code: slot by slot, the
	// twelve months, for the later rows that read them.
	std::map<std::string, std::array<std::array<double, 12>, 14>> m_RigheRipartite;
	std::string m_strModelloRipartito;
	const double* ValoriRigaRipartita(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
									  int nSlot) const;
	BOOL SoloPerRaggruppamentoDetti(BOOL bNessunAltro);
	// Why the engine could not evaluate its formula, when it did not say so itself.
	CString MotivoNonValutata(BOOL bMotivoDetto);

	// Run-wide cursors and caches.
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> m_pRecRighe;
	std::unique_ptr<SqlTable> m_pTabRighe;
	std::unique_ptr<Kvz_TRiclassificato> m_pRecScrittura;
	std::unique_ptr<SqlTable> m_pTabScrittura;
	std::unique_ptr<SqlMultiInsert> m_pRisultatiTenuti;
	// The grouping's rows the table held when read (again after anything else wrote them).
	bool m_bRaggruppLetto = false;
	std::map<ChiaveRaggrupp, std::unique_ptr<Kvz_TRiclassificato>> m_RaggruppInTabella;
	std::map<ChiaveRaggrupp, RigaRaggrupp> m_RigheRaggrupp;
	std::map<std::string, int> m_PosizioniRaggrupp;
	std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> m_Riserva;
	// The definitions and model rows the engines of the run read, shared by them.
	std::shared_ptr<Kvz_New_LettureStabili> m_pLetture;
	void ChiudiTabelle();

	// The cost-driver phases' connections, by company code (null: the company failed) and the
	// one in use (null after a failure: nothing goes through it).
	std::map<std::string, SqlConnection*> m_ConnessioniDitte;
	SqlConnection* m_pConnInUso = nullptr;
	// The model rows the phases look up, by company, year and model, then by code.
	struct RigaModelloDriver
	{
		int nPosizione = 0;
		CString strDescrizione;
		DWORD nTipoRiga = 0;
		CString strDividendo;
	};
	using RigheModello = std::map<std::string, RigaModelloDriver>;
	std::map<std::tuple<std::string, int, std::string>, RigheModello> m_CacheRigheModello;
	enum class Scrittura
	{
		Azzera,
		Somma,
		Sostituisci,
	};
	const RigaModelloDriver* CercaRigaModello(const DataStr& aDitta, const DataInt& aEsercizio, const DataStr& aModello,
											  const DataStr& aCodice);
	double ValoreDividendo(const DataStr& aDitta, const DataInt& aEsercizio, const DataStr& aModello,
						   const DataStr& aCodice, int nMese);
	// Writes the month values of one code into the target model's results (months dal..al).
	void ScriviCodice(const TKvzDriversModelli& target, const DataStr& aCodice, const double* pValori, int nDal,
					  int nAl, Scrittura modo);
	template <class Rec>
	void ScriviCodiceIn(Rec& rec, SqlSession* pSessione, const TKvzDriversModelli& target, const DataStr& aCodice,
						const double* pValori, int nDal, int nAl, Scrittura modo);
	// The sessions on the connection in use: the document's own on its own connection, so that
	// the run's uncommitted work is seen.
	SqlSession* SessioneLettura();
	SqlSession* SessioneScrittura();
	std::vector<std::unique_ptr<TKvzDriversModelli>> LeggiTarget(const DataStr& aDriver);
	std::vector<std::unique_ptr<TKvzDriversCosti>> LeggiCosti(const DataStr& aDriver);
	// The drivers of the year, by code; only those switched on when asked.
	std::vector<std::unique_ptr<TKvzDriversTesta>> LeggiDrivers(BOOL bSoloAttivi);
	// Runs the work for each driver of the year (until a stop), its code and kind made current.
	void PerOgniDriver(BOOL bSoloAttivi, const char* szMetodo, const char* szStato,
					   const std::function<void(const TKvzDriversTesta&)>& lavoro);
	void AggiornaTarget(const TKvzDriversModelli& target);
	BOOL ValutaRiga(Kvz_TEnhRiclassificazioneRighe& riga, BOOL bDitta);
	void ValoriDeiMesi(double (&valori)[13]) const;
	void CalcolaRigheFaseSuccessiva(const TKvzDriversModelli& target,
									std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>>& righe, BOOL bEsterna);
	void ScriviFaseSuccessiva(const TKvzDriversModelli& target, const DataStr& aCodice, const char* szMetodo);
};

class Kvz_RiclassParametriTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_RiclassParametriTabDlg, CTabDialog)
public:
	Kvz_RiclassParametriTabDlg() : CTabDialog(_T("RiclassParametriTabDlg")) {}
	void BuildDataControlLinks() override;
};

// Its one page: the parameters.
class Kvz_CRiclassificazioneTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CRiclassificazioneTabber, CTabManager)
public:
	BOOL Attach(CObject*) override;
};

class Kvz_CRiclassificPianoBaseView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CRiclassificPianoBaseView, CMasterFormView)
public:
	Kvz_CRiclassificPianoBaseView() : CMasterFormView(_T("CRiclassificPianoBaseView")) {}
	void BuildDataControlLinks() override;
};
