#pragma once
// The reclassification run of a year: for a month range, every chosen model's rows are evaluated
// into the results (Kvz_Riclassificato) and each model's results header is stamped. Models are
// chosen by code range (or all of the year) or by grouping code; by grouping the results are also
// summed under the grouping code and job-type models share values over the grouping's jobs.
// After a run reports read its year, first month, model and rows by four-month block.
// Template "DRiclassificPianoBase".
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/ReportRows.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvges/FormViews.h"

class Kvz_New_MngFormula;
class Kvz_HKLCodRaggrupp;

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

	// ---- cost-driver phases (they come with the cost drivers) --------------------------------
	void CancellaValoriPrecedenti() {}
	void CalcolaDrivers() {}
	void FaseSuccessiva() {}

	// ---- form commands -------------------------------------------------------------------------
	void OnEsercizioChanged();
	void OnTuttiModChanged();
	void OnModelloChanged();
	void OnSelPerRaggruppChanged();

	// ---- what reports read -----------------------------------------------------------------------
	DataInt Kvz_GetEsercizioRiclassific() { return m_Esercizio; }
	DataInt Kvz_GetDalMeseRiclassific() { return m_DalMese; }
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
	const Kvz_ArrayRisultati& GetRisultati() const { return m_Risultati; }
	KVZ_HKLRiclassificazioneTesta* GetHKLModello() const { return m_pHKLModello; }
	KVZ_HKLRiclassificazioneTesta* GetHKLModelloA() const { return m_pHKLModelloA; }
	Kvz_HKLCodRaggrupp* GetHKLRaggrupp() const { return m_pHKLRaggrupp; }

	std::vector<kvzdocuments::RigaQuadrimestre> m_Quadrim[3];

protected:
	BOOL ControllaParametri();
	void Stato(const CString& strTesto);
	void ShowSqlError(const SqlException& e, const char* szMetodo);
	BOOL IsAborted() { return GetScheduler()->IsAborted(); }
	BOOL PerRaggruppamento() const { return m_SelPerRaggrupp; }
	// The cursor rows are written through, prepared once per run.
	SqlTable& TabellaRisultati();
	void ScriviRiga(Kvz_TEnhRiclassificazioneRighe& e, const DataStr& aModello);
	void ScriviTotali(Kvz_TEnhRiclassificazioneRighe& e, const DataStr& aModello);
	void SommaInRaggruppamento(Kvz_TEnhRiclassificazioneRighe& e);
	void PulisciModelli();
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> NuovaCopia(const Kvz_TEnhRiclassificazioneRighe& riga);
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
	Kvz_ArrayRisultati m_Risultati;
	std::unique_ptr<Kvz_TRRiclassificazioneTesta> m_pTRTesta;
	Kvz_New_MngFormula* m_pMngFormula = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModello = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModelloA = nullptr;
	Kvz_HKLCodRaggrupp* m_pHKLRaggrupp = nullptr;
	BOOL m_bErroreDb = FALSE;

	// Run-wide cursors and caches.
	std::unique_ptr<Kvz_TEnhRiclassificazioneRighe> m_pRecRighe;
	std::unique_ptr<SqlTable> m_pTabRighe;
	std::unique_ptr<Kvz_TRiclassificato> m_pRecScrittura;
	std::unique_ptr<SqlTable> m_pTabScrittura;
	std::unique_ptr<Kvz_TRiclassificato> m_pRecRaggrupp;
	std::unique_ptr<SqlTable> m_pTabRaggrupp;
	std::map<ChiaveRaggrupp, RigaRaggrupp> m_RigheRaggrupp;
	std::map<std::string, int> m_PosizioniRaggrupp;
	std::vector<std::unique_ptr<Kvz_TEnhRiclassificazioneRighe>> m_Riserva;
	void ChiudiTabelle();
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
