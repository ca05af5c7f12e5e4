#pragma once
// Reclassification models: how the ledger becomes a statement. A model of a year holds rows,
// each a reclassified code with up to fourteen formulas; every code is also the formula
// symbol "R" + code, kept in step with the rows, and the formulas' uses of codes are counted.
// Template "DModelliRiclassific"; reports read the explosion of its formulas row by row.
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DBTRiclassificazioni.h"
#include "platform/plvgenlib/CParsedForm.h"

class HKLJobs;
class Kvz_FormulaFlat;
class HKLCostCenters;
struct Kvz_RegistroCodici;

enum : UINT
{
	IDC_RCL_ESERCIZIO = 54100,
	IDC_RCL_MODELLO,
	IDC_RCL_DESCRIZIONE,
	IDC_RCL_PRIORITA,
	IDC_RCL_TIPOMODELLO,
	IDC_RCL_TABBER,
	IDC_RCL_RIGHE,
	IDC_RCL_DATAINIZIO,
	IDC_RCL_DATAFINE,
	IDC_RCL_COPIA_ESERC,
	IDC_RCL_COPIA_DA,
	IDC_RCL_ANCHE_FORMULE,
	IDC_RCL_COPIA,
	IDC_RCL_FORMULA_PARAM,
	IDC_RCL_RAGGRUPP,
	IDC_RCL_DESCRIZIONI,
	IDC_RCL_TUTTI_OPERATORI,
	IDC_RCL_OPERATORI,
	ID_RCL_VISUALIZZA_CONTATORI,
};

// A row of a formula explosion: a title row starts a symbol, the rows after it explain it.
struct Kvz_RigaEsplosione
{
	struct Dettaglio
	{
		DataStr Testi[6];
		DataMon Importi[2];
	};
	DataBool Titolo;
	DataStr Testo;
	DataEnum TipoSimbolo;
	DataStr Descrizione;  // what the symbol reads, in words
	DataInt Livello;      // 1 the exploded formula, one more per formula followed
	std::vector<Dettaglio> Dettagli;
};

class Kvz_CDeRiclassificazioniDoc;

// The parameters of a formula explosion, copied back into the document on OK.
class Kvz_ParamEsposFormulaDlg : public CParsedDialog
{
	DECLARE_DYNAMIC(Kvz_ParamEsposFormulaDlg, CParsedDialog)
public:
	explicit Kvz_ParamEsposFormulaDlg(Kvz_CDeRiclassificazioniDoc* pDoc);
	void BuildDataControlLinks() override;
	BOOL OnInitDialog() override;
	void OnOK() override;

	DataInt m_Esercizio;
	DataInt m_Mese;
	DataBool m_bPrincipale;
	DataBool m_bColonna;
	DataInt m_Colonna;
	DataBool m_bSaldo;
	DataBool m_bRateo;
	DataBool m_bAssestato;

private:
	Kvz_CDeRiclassificazioniDoc* m_pDoc;
};

class Kvz_CDeRiclassificazioniDoc : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificazioniDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CDeRiclassificazioniDoc();
	~Kvz_CDeRiclassificazioniDoc() override;

	Kvz_TRiclassificazioneTesta* GetTesta() const { return m_pDBTTesta->GetTesta(); }
	Kvz_DBTRiclassificRighe* GetDBTRighe() const { return m_pDBTRighe; }
	Kvz_DBTDescrizioni* GetDBTDescrizioni() const { return m_pDBTDescrizioni; }

	// ---- hooks ---------------------------------------------------------------------------
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	// Positions, empty-formula warnings, the rows' codes and symbols, the counters and the
	// short descriptions, all in the save's transaction.
	BOOL OnOkTransaction() override;
	BOOL OnDeleteTransaction() override;
	// Asks first, naming the models and drivers that read the model: no answer, no delete.
	BOOL CanDoDeleteRecord() override;
	void OnGoInBrowseMode() override;
	void OnCloseDocument() override;
	BOOL SimboloUtilizzato(CString strNome) override;
	void OnFormulaChanged() override;
	// The current row's budget formulas that equalled the main formula before it became
	// strPrecedente's successor take the new main formula; one typed over keeps its own text.
	void SeguiFormulaPrincipale(const CString& strPrecedente);

	// ---- operations ----------------------------------------------------------------------
	// Rebuilds the detail counters from every row's main and numbered formulas, then the
	// general counters.
	void CaricaCodiciFormulaRighe();
	// The counters of the header's year from the stored usage details (all models).
	void InizializzaContatoriDaTabella();
	// The typed rows' symbols "R" + code, written only by the save, are known to the formula
	// checks meanwhile.
	void AggiornaSimboliRighe();
	// Keeps the row's code in the code list and its symbol "R" + code with its definition,
	// through the given updaters (the save's, inside its transaction).
	void RegistraCodiceRiga(Kvz_TRiclassificazioneRighe* pRiga, Kvz_RegistroCodici& registro);
	// The same for every row of the model, inside the save's transaction: the codes, symbols and
	// definitions the model has are read once per table, and the rows that have none of them get
	// theirs by statements of many rows each; the others go through the updaters.
	void RegistraCodiciRighe(Kvz_RegistroCodici& registro);
	// Deletes from the table every row of the model and year to clear; FALSE when it failed
	// (the error was shown).
	BOOL AzzeraTabellaModello(LPCTSTR szTabella, LPCTSTR szColEsercizio, LPCTSTR szColModello);
	// Every symbol, macro, code, result and usage detail of the model and year to clear, on the
	// document's session (inside its transaction when one is open); FALSE when a step failed.
	BOOL CancellaTuttiISimboli();
	// The symbols of every kind of the copy's source model that the header's model lacks, with
	// their definitions and account lists; FALSE when a step failed (the error was shown).
	BOOL CopiaTuttiISimboli();
	// The extra-accounting code aOrig of the header's year copied, with its months, to aDest
	// unless aDest exists or aOrig does not. SqlException when a write fails.
	void CreaCodiceExtracontabile(const DataStr& aOrig, const DataStr& aDest);
	DataMon ScegliValoreEsplosione(const DataMon& a, const DataMon& b, const DataMon& c) const;

	// The grid's formula column of a formula index (0 main, 1..10, 11..13 budget A to C).
	void SetColonnaFormula(int nIndex, ColumnInfo* pColumn);
	ColumnInfo* GetColonnaFormula(int nIndex) const;
	// The view hands over the header's model-code control.
	void SetCtrlModello(CParsedCtrl* pCtrl) { m_pCtrlModello = pCtrl; }
	// Titles of the formula columns from the description rows.
	void IntitolaColonneFormula();

	// Appends the rows of the explosion of a flat list, each base-plan symbol's parts valued
	// for the year, month and value chosen in the explosion's dialog.
	void ValutaEsplosione(const Kvz_FormulaFlat& flat);
	DataBool Kvz_GetNextRigaEsplos(DataInt& nRiga, DataStr& aTitolo, DataStr& aTesto);
	DataBool Kvz_GetSubNextRigaEsplos(DataInt nRiga, DataInt& nSubRiga, DataStr& aTesto1, DataStr& aTesto2,
									  DataStr& aTesto3, DataStr& aTesto4, DataStr& aTesto5, DataStr& aTesto6,
									  DataMon& aImporto1, DataMon& aImporto2);
	// The row's description, its depth and whether it is a symbol (not a piece of formula text).
	DataBool Kvz_GetDescrRigaEsplos(DataInt nRiga, DataStr& aDescrizione, DataInt& nLivello, DataBool& bSimbolo);

	// ---- document data -------------------------------------------------------------------
	Kvz_HKLCodRaggrupp* m_pHKLCodRaggrupp = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLCopiaDa = nullptr;
	HKLJobs* m_pHKLJobs = nullptr;
	HKLCostCenters* m_pHKLCostCenters = nullptr;

	DataStr RCL_COPIA_DA;
	DataInt RCL_COPIA_ESERC;
	DataBool RCL_ANCHE_FORMULE{TRUE};
	DataBool RCL_COPIA;
	DataBool m_bCopiaInCorso;  // a copy wrote symbols for a model not yet saved
	DataStr m_ModelloCopiato;  // that model
	DataInt m_EsercizioCopiato;
	DataStr m_ModelloDaAzzerare;
	DataInt m_EsercizioDaAzzerare;

	// Explosion of a formula: the year and month valued (the progressive from January), the
	// formula column (0 the main one, 1 to 10), the value read, and the rows a report reads back.
	DataInt m_EsercizioEsplosione;
	DataInt m_ColonnaEsplosione;
	DataStr m_FormulaEsplosa;
	DataInt m_MeseEsplosione;
	int m_nRigaEsplosione = 0;
	BOOL m_bEsplosioneSaldo = TRUE;
	BOOL m_bEsplosioneRateo = FALSE;
	BOOL m_bEsplosioneAssestato = FALSE;
	std::vector<Kvz_RigaEsplosione> m_RigheEsplosione;

	// The counters view opened from here (cleared on it when this document goes).
	CBaseDocument* m_pViewContatori = nullptr;

protected:
	// Notifications.
	void OnModelloChanged();
	void OnTipoModelloChanged();
	void OnEsercizioCopiaChanged();
	void OnCopiaModello();
	void OnRigaChanged();
	void OnCodiceRigaChanged();
	void OnDescrizioneRigaChanged();
	void OnSegnoChanged();
	void OnTipoRigaChanged();
	void OnRaggruppamentoChanged();
	void OnReportRiclassificazione();
	// Explodes a formula of the current row into its valued parts and prints them.
	void OnEsplodiFormula();
	void OnVisualizzaContatori();
	void OnFormula1Changed() { OnFormulaNChanged(1); }
	void OnFormula2Changed() { OnFormulaNChanged(2); }
	void OnFormula3Changed() { OnFormulaNChanged(3); }
	void OnFormula4Changed() { OnFormulaNChanged(4); }
	void OnFormula5Changed() { OnFormulaNChanged(5); }
	void OnFormula6Changed() { OnFormulaNChanged(6); }
	void OnFormula7Changed() { OnFormulaNChanged(7); }
	void OnFormula8Changed() { OnFormulaNChanged(8); }
	void OnFormula9Changed() { OnFormulaNChanged(9); }
	void OnFormula10Changed() { OnFormulaNChanged(10); }

private:
	void OnFormulaNChanged(int nIndex);
	// The formula context of a row ("Modello di riclassificazione", year, model, kind 3, code).
	void SetContestoRiga(const Kvz_TRiclassificazioneRighe* pRiga);
	void SetContestoModello();
	// Field states and row values of the model type.
	void ApplicaTipoModello();
	void AggiornaLookupModello();
	// Job or cost centre of the model code into the header; FALSE when the job is unknown.
	BOOL LeggiCommessa();
	void LeggiCentroDiCosto();
	BOOL EsisteModello() const;
	// Tells that the header's model already exists in its year, focus on the model code.
	void SegnalaModelloEsistente();
	// Symbols, definitions and code-list entries of the codes no longer saved.
	void CancellaCodiciRimossi();
	void CancellaCodice(Kvz_RegistroCodici& registro, const DataInt& aEsercizio, const DataStr& aModello,
						const DataStr& aCodice);
	void AggiornaDescrizioniBrevi();
	// General counters of codes not yet counted, their uses by others read in one query.
	void PrecaricaContatoriGenerali();
	// The model's results and the counters its rows' uses make.
	BOOL CancellaRisultatiEContatori();
	// Ends a copy in progress: the symbols it wrote go unless its model was saved.
	void ChiudiCopia();
	// The form is left without saving (back to browse, closed or destroyed): the copy in
	// progress goes, and the typed rows' symbols are forgotten.
	void LasciaSenzaSalvare();
	// The symbols an abandoned copy wrote, in a transaction of their own unless one is open.
	void CancellaSimboliCopiati();
	// The account lists of the source's base-plan symbols, and the register rows they need.
	void CopiaElenchiConti(SqlSession* pSession, const DataInt& aEsOrig, const DataStr& aModOrig);
	// The register row (year, account, kind, cost centre or job) when it is missing.
	void AssicuraCentroConto(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aConto,
							 const DataEnum& aTipo, const DataStr& aCentro);
	// Copy: refuses with a message and the focus on the control; FALSE.
	BOOL RifiutaCopia(const CString& strTesto, UINT nFocus);
	void EseguiReport(LPCTSTR szNamespace);

	Kvz_DBTRiclassificTesta* m_pDBTTesta = nullptr;
	Kvz_DBTRiclassificRighe* m_pDBTRighe = nullptr;
	Kvz_DBTRaggrupp* m_pDBTRaggrupp = nullptr;
	Kvz_DBTOperatoriStampe* m_pDBTOperatoriStampe = nullptr;
	Kvz_DBTDescrizioni* m_pDBTDescrizioni = nullptr;
	CParsedCtrl* m_pCtrlModello = nullptr;
	ColumnInfo* m_pColonneFormula[KVZ_NUM_FORMULE_RIGA] = {};
	WORD m_nTipoModello = 0;  // the type before the user's change
};

class Kvz_RiclassRigheDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_RiclassRigheDlg, CTabDialog)
public:
	Kvz_RiclassRigheDlg() : CTabDialog(_T("RiclassRigheDlg")) {}
	void BuildDataControlLinks() override;
	BOOL OnPrepareAuxData() override;
};

class Kvz_AltriDatiDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_AltriDatiDlg, CTabDialog)
public:
	Kvz_AltriDatiDlg() : CTabDialog(_T("AltriDatiDlg")) {}
	void BuildDataControlLinks() override;
};

class Kvz_OperatoriStampeDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_OperatoriStampeDlg, CTabDialog)
public:
	Kvz_OperatoriStampeDlg() : CTabDialog(_T("OperatoriStampeDlg")) {}
	void BuildDataControlLinks() override;
};

// The master frame with the command that shows the usage counters of the model's codes.
class Kvz_CDeRiclassificazioniFrame : public CMasterFrame
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificazioniFrame, CMasterFrame)
public:
	BOOL OnCreateAuxToolbar() override;
};

class Kvz_CDeRiclassificazioniView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificazioniView, CMasterFormView)
public:
	Kvz_CDeRiclassificazioniView() : CMasterFormView(_T("CDeRiclassificazioniView")) {}
	void BuildDataControlLinks() override;
};
