#pragma once
// Definition of a base-plan symbol: which value of the base plan (balance, accrual, adjusted
// total, budget), how it is aggregated, and which year, months, amounts, accounts and cost
// centres/jobs it reads, from this company's database or another's. Template
// "BDPropSimboloPBase".
//
// The accounts and cost centres/jobs are picked in two grids that follow each other: under
// WhereConto the accounts, and for the current account its cost centres/jobs; under
// WhereCdcComm the cost centres/jobs, and for the current one its accounts. The pairs picked
// are kept in two pair lists until the symbol is saved.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_ViewCdcCommesse.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_FiltriCommesseDoc.h"
#include "platform/plvgeneric/Array.h"

enum : UINT
{
	IDD_PROP_SIMBOLO_PBASE = 31759,
	IDD_SEL_CONTI_SIMB_PBASE = 31760,
	IDD_DEFAULT_SIMB_PBASE = 31761,
	IDD_SEL_CDC_COMM_SIMB_PBASE = 31762,

	IDC_PB_SYMB_SEL_CONTI_CDC_COMM = 52213,
	IDC_PB_SYMB_TUTTI_CONTI_DEL_CDC_COMM = 52214,
	IDC_PB_SYMB_ENTRAMBI = 52215,
	IDC_PB_SYMB_COMMESSE = 52216,
	IDC_PB_SYMB_CENTRI = 52217,
	IDC_PB_SYMB_CDC_COMM_DA = 52218,
	IDC_PB_SYMB_CDC_COMM_A = 52219,
	IDC_PB_SYMB_TABBER = 52220,
	IDC_PB_SYMB_DESCR_RIGA = 52221,
	IDC_PB_SYMB_TIPORIGA = 52222,
	IDC_PB_SYMB_DESCR_DOCUMENTO = 52223,
	IDC_PB_SYMB_MODELLO = 52224,
	IDC_PB_SYMB_GRID_CONTI = 52225,
	IDC_PB_SYMB_GRID_CDC_COMM = 52227,
	IDC_PB_SYMB_OK = 52228,
	IDC_PB_SYMB_ANNULLA = 52229,
	IDC_PB_SYMB_COPIA = 52230,
	IDC_PB_SYMB_F_AGGREG = 52231,
	IDC_PB_SYMB_OPE_ES = 52232,
	IDC_PB_SYMB_ESERCIZIO = 52233,
	IDC_PB_SYMB_ES_DA = 52234,
	IDC_PB_SYMB_OPE_MESE = 52236,
	IDC_PB_SYMB_WHERE_ES_CONST_DA = 52237,
	IDC_PB_SYMB_MESE = 52238,
	IDC_PB_SYMB_WHERE_ES_SYMB_DA = 52239,
	IDC_PB_SYMB_MESE_DA = 52240,
	IDC_PB_SYMB_MESE_A = 52241,
	IDC_PB_SYMB_WHERE_MESE_CONST_DA = 52242,
	IDC_PB_SYMB_WHERE_MESE_SYMB_DA = 52243,
	IDC_PB_SYMB_OPE_CONTO = 52244,
	IDC_PB_SYMB_CONTO = 52245,
	IDC_PB_SYMB_CONTO_DA = 52246,
	IDC_PB_SYMB_CONTO_A = 52247,
	IDC_PB_SYMB_OPE_SALDO = 52248,
	IDC_PB_SYMB_SALDO = 52249,
	IDC_PB_SYMB_SALDO_DA = 52250,
	IDC_PB_SYMB_SALDO_A = 52251,
	IDC_PB_SYMB_OPE_RATEO = 52252,
	IDC_PB_SYMB_RATEO = 52253,
	IDC_PB_SYMB_RATEO_DA = 52254,
	IDC_PB_SYMB_RATEO_A = 52255,
	IDC_PB_SYMB_OPE_TOT_ASS = 52256,
	IDC_PB_SYMB_TOT_ASS = 52257,
	IDC_PB_SYMB_TOT_ASS_DA = 52258,
	IDC_PB_SYMB_TOT_ASS_A = 52259,
	IDC_PB_SYMB_SEL_SALDO = 52260,
	IDC_PB_SYMB_SEL_RATEO = 52261,
	IDC_PB_SYMB_SEL_TOT_ASS = 52262,
	IDC_PB_SYMB_NOME_SIMBOLO = 52263,
	IDC_PB_SYMB_SEL_BUDGET = 52264,
	IDC_PB_SYMB_NOTE = 52265,
	IDC_PB_SYMB_OPE_ES_A = 52266,  // year upper bound: in the message map, on no form
	IDC_PB_SYMB_ES_A = 52267,
	IDC_PB_SYMB_WHERE_MESE_CONST_A = 52268,
	IDC_PB_SYMB_WHERE_MESE_SYMB_A = 52269,
	IDC_PB_SYMB_CODICE = 52271,
	IDC_PB_SYMB_ECONOM = 52272,
	IDC_PB_SYMB_PATRIM = 52273,
	IDC_PB_SYMB_MASTRO = 52274,
	IDC_PB_SYMB_TUTTI = 52275,
	IDC_PB_SYMB_SEL_SEG1 = 52276,
	IDC_PB_SYMB_SEL_SEG2 = 52277,
	IDC_PB_SYMB_SEL_SEG3 = 52278,
	IDC_PB_SYMB_SEL_SEG4 = 52279,
	IDC_PB_SYMB_CONTI_SEL = 52280,
	IDC_PB_SYMB_SEL_SEG5 = 52281,
	IDC_PB_SYMB_SEL_SEG6 = 52283,
	IDC_PB_SYMB_CONTI_CODICE = 52284,
	IDC_PB_SYMB_SEL_SEG7 = 52285,
	IDC_PB_SYMB_CONTI_DESCRIZIONE = 52286,
	IDC_PB_SYMB_CONTI_SEGNO = 52287,
	IDC_PB_SYMB_CONTI_CG = 52288,
	IDC_PB_SYMB_CONTI_CR = 52289,
	IDC_PB_SYMB_SEL_TUTTI_CONTI = 52290,  // also the cost-centre grid's "C.g." column
	IDC_PB_SYMB_DESEL_TUTTI_CONTI = 52291,
	IDC_PB_SYMB_ESTRAI = 52292,
	IDC_PB_SYMB_ESERCIZIO_VIS = 52293,
	IDC_PB_SYMB_SEL_TUTTI_CDC_COMM = 52294,
	IDC_PB_SYMB_DESEL_TUTTI_CDC_COMM = 52295,
	IDC_PB_SYMB_CDC_COMM = 52296,
	IDC_PB_SYMB_TIPO_BUDGET = 52297,
	IDC_PB_SYMB_CDC_SEL = 52298,
	IDC_PB_SYMB_CDC_CR = 52299,
	IDC_PB_SYMB_CDC_CG = 52290,
	IDC_PB_SYMB_CDC_DESCRIZIONE = 52300,
	IDC_PB_SYMB_CDC_CODICE = 52301,
	IDC_PB_SYMB_CDC_TIPO = 52302,
	IDC_PB_SYMB_CDC_SEGNO = 52303,
	IDC_PB_SYMB_VIS_SOLO_SEL = 52304,
	IDC_PB_SYMB_VIS_TUTTI = 52305,
	IDC_PB_SYMB_CARICA_DA_TABELLE = 52306,
	IDC_PB_SYMB_FILTRO = 52308,
	IDC_PB_SYMB_STATIC_CONTI = 52309,  // label hidden on the cost-centre/job tab
};

class Kvz_CPropSimboloPBaseDoc;
class Kvz_SelContiSimboloEdit;
class Kvz_SelCdcCommSimboloEdit;
class Kvz_CSimbPBaseTabber;

// ---- pair lists ---------------------------------------------------------------------------------

// Account / cost-centre-job pairs picked on the form; each element (with its sign in
// l_SegnoConto and l_Modified) is owned by the list. A pair is identified by account, type and
// cost centre/job.
class Kvz_ArrayContiCdcComm : public TArray<Kvz_TEnhCentriCommesseContiKvz>
{
	DECLARE_DYNAMIC(Kvz_ArrayContiCdcComm, Array)
public:
	// The last element of the pair and its index; null and -1 when none.
	Kvz_TEnhCentriCommesseContiKvz* Cerca(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm,
										  int* pnIndex = nullptr) const;
	// Appends a pair; the list owns it.
	Kvz_TEnhCentriCommesseContiKvz* Aggiungi(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo,
											 const DataStr& aCdcComm, const DataEnum& aSegno);
};

// ---- grid buffers -------------------------------------------------------------------------------

class Kvz_DBTSelContiSimbolo : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelContiSimbolo, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelContiSimbolo(CAbstractFormDoc* pDocument);
	Kvz_TEnhAnagContiKvz* GetConto(int nRow) const { return static_cast<Kvz_TEnhAnagContiKvz*>(GetRow(nRow)); }
	// The current row; null when there is none.
	Kvz_TEnhAnagContiKvz* GetCurrentRecord() const;
};

class Kvz_DBTSelCdcCommSimbolo : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelCdcCommSimbolo, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelCdcCommSimbolo(CAbstractFormDoc* pDocument);
	Kvz_ViewCdcCommesse* GetCdcComm(int nRow) const { return static_cast<Kvz_ViewCdcCommesse*>(GetRow(nRow)); }
	Kvz_ViewCdcCommesse* GetCurrentRecord() const;
};

// ---- document -----------------------------------------------------------------------------------

class Kvz_CPropSimboloPBaseDoc : public Kvz_CPropSimboloDoc, public Kvz_ConFiltroCommesse
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloPBaseDoc, Kvz_CPropSimboloDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CPropSimboloPBaseDoc();
	~Kvz_CPropSimboloPBaseDoc() override;

	// ---- the symbol's definition (the columns of Kvz_SimboliPianoBase but the year, the
	// model and the three worked out at saving) --------------------------------------------
	DataStr m_NomeSimbolo;
	DataStr m_Annotazioni;
	DataBool m_SelSaldo;
	DataBool m_SelRateo;
	DataBool m_SelTotAss;
	DataBool m_SelBudget;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataEnum m_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	DataBool m_WhereEs;
	DataEnum m_TipoOpeEs{E_KVZ_TIPOOPERATORE, 0};
	DataBool m_ValDaEsConst;
	DataBool m_ValDaEsSymb;
	DataInt m_ValDaEs;
	DataBool m_ValAEsConst;
	DataBool m_ValAEsSymb;
	DataInt m_ValAEs;
	DataBool m_WhereMese;
	DataEnum m_TipoOpeMese{E_KVZ_TIPOOPERATORE, 0};
	DataBool m_ValDaMeseConst;
	DataBool m_ValDaMeseSymb;
	DataInt m_ValDaMese;
	DataBool m_ValAMeseConst;
	DataBool m_ValAMeseSymb;
	DataInt m_ValAMese;
	DataBool m_WhereConto;
	DataBool m_WhereCdcComm;
	DataEnum m_TipoOpeConto{E_KVZ_TIPOOPECONTO, 0};
	DataStr m_ValDaConto;
	DataStr m_ValAConto;
	DataBool m_WhereSaldo;
	DataEnum m_TipoOpeSaldo{E_KVZ_TIPOOPERATORE, 0};
	DataMon m_ValDaSaldo;
	DataMon m_ValASaldo;
	DataBool m_WhereRateo;
	DataEnum m_TipoOpeRateo{E_KVZ_TIPOOPERATORE, 0};
	DataMon m_ValDaRateo;
	DataMon m_ValARateo;
	DataBool m_WhereTotAss;
	DataEnum m_TipoOpeTotAss{E_KVZ_TIPOOPERATORE, 0};
	DataMon m_ValDaTotAss;
	DataMon m_ValATotAss;

	// ---- selection and display choices (not stored in the symbol) ------------------------
	DataBool m_VisSoloSel;
	DataBool m_VisTutti;
	DataBool m_Economici;
	DataBool m_Patrimoniali;
	DataBool m_TuttiConti;
	DataBool m_SelMastri;
	DataBool m_SelSeg1;
	DataBool m_SelSeg2;
	DataBool m_SelSeg3;
	DataBool m_SelSeg4;
	DataBool m_SelSeg5;
	DataBool m_SelSeg6;
	DataBool m_SelSeg7;
	DataStr m_CdcCommDa;
	DataStr m_CdcCommA;
	DataBool m_Centri;
	DataBool m_Commesse;
	DataBool m_Entrambi;
	DataBool m_TuttiContiDelCdcComm;
	DataBool m_SelContiCdcComm;
	// Segment level k (1 to 7).
	DataBool& SelSeg(int k);

	// Ranges of "Carica da tabelle", filled by the cost-centre/job filter.
	Kvz_FiltroCommesse m_FiltroCommesse;
	Kvz_FiltroCommesse& GetFiltroCommesse() override { return m_FiltroCommesse; }
	CBaseDocument* m_pFiltroDoc = nullptr;

	// ---- state ----------------------------------------------------------------------------
	DataStr m_OldNomeSimbolo;  // the name as loaded
	DataInt m_nSelezionati;    // rows ticked in the grids
	// Under WhereConto: the ticked cost centres/jobs of each ticked account, with their sign.
	Kvz_ArrayContiCdcComm m_ContiCdcComm;
	// Under WhereCdcComm: the ticked accounts of each ticked cost centre/job.
	Kvz_ArrayContiCdcComm m_CdcCommConti;

	Kvz_TRParametri m_TRParametri;
	Kvz_TRElencoContiSimboloPBase m_TRElencoConti;

	KVZ_HKLAnagContiKvz* m_pHKLContoDa = nullptr;
	KVZ_HKLAnagContiKvz* m_pHKLContoA = nullptr;
	Kvz_HKLCentriComm* m_pHKLCdcCommDa = nullptr;
	Kvz_HKLCentriComm* m_pHKLCdcCommA = nullptr;

	std::unique_ptr<Kvz_DBTSelContiSimbolo> m_pDBTSelConti;
	std::unique_ptr<Kvz_DBTSelCdcCommSimbolo> m_pDBTSelCdcComm;
	// The grids last built (both selection tabs show both grids), and the tab strip.
	Kvz_SelContiSimboloEdit* m_pGridConti = nullptr;
	Kvz_SelCdcCommSimboloEdit* m_pGridCdcComm = nullptr;
	Kvz_CSimbPBaseTabber* m_pTabber = nullptr;

	// Base-plan header and rows of the splits, with their cursors (named parameters "Anno",
	// "Conto", "CdcComm", "Tipo"; "IDPBase", "Mese").
	Kvz_TPianoBaseTesta m_PianoBaseTesta;
	Kvz_TEnhPianoBaseRighe m_PianoBaseRighe;
	std::unique_ptr<SqlTable> m_pTblPianoBaseTesta;
	std::unique_ptr<SqlTable> m_pTblPianoBaseRighe;
	std::unique_ptr<Kvz_IDManager> m_pIDManager;
	std::unique_ptr<Kvz_NumNonFiscManager> m_pNumManager;

	// The other company's connection (the document's own, closed with it) and the connection
	// the lists are read from (that one, or this company's).
	SqlConnection* m_pConnEsterna = nullptr;
	SqlConnection* m_pConnLista = nullptr;

	// ---- connection and lists -------------------------------------------------------------
	// TRUE when a connection to read the lists from is in place.
	BOOL ConnectDB();
	void ChiudiConnessioneEsterna();
	// The year the lists, lookups and links read: the symbol's.
	DataInt EsercizioSimbolo() const;

	void PreparaQueryConti(Kvz_TEnhAnagContiKvz& aConto, SqlTable& aTblConti, Kvz_TElencoContiSimboloPBase& aElenco,
						   SqlTable& aTblElenco, Kvz_TAnagContiKvz_Ext& aContoExt, SqlTable& aTblContiExt);
	// The level condition of the account query (" AND (LEN(c) = ? OR ...)") with its lengths,
	// empty when no level is chosen.
	CString CondizioneLivello(const CString& strColonna, std::vector<int>& lunghezze);
	// A split of an account as the grid of its cost centres/jobs shows it.
	struct CdcCommLetto
	{
		DataInt esercizio;
		DataStr codice;
		DataEnum tipo;
		DataStr descrizione;
	};
	using CdcCommPerConto = std::map<std::string, std::vector<CdcCommLetto>>;  // by ChiaveConto
	// The symbol's saved list, read once for a fill of the grids and matched in memory: the
	// sign of an account's first row, of a cost centre's/job's first row whatever its account,
	// and of each account's cost centre/job.
	struct ElencoSalvato
	{
		std::map<std::string, DataEnum> conti;    // by ChiaveConto
		std::map<std::string, DataEnum> cdcComm;  // by ChiaveCdcComm with an empty account
		std::map<std::string, DataEnum> coppie;   // by ChiaveCdcComm
		const DataEnum* Conto(const DataStr& aConto) const;
		const DataEnum* CdcComm(const DataEnum& aTipo, const DataStr& aCodice) const;
		const DataEnum* Coppia(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCodice) const;
	};
	ElencoSalvato LeggiElencoSalvato();
	static std::string ChiaveCdcComm(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCodice);
	CdcCommPerConto LeggiCdcCommDeiConti(const Kvz_TEnhAnagContiKvz* pConto);
	static std::string ChiaveConto(const DataStr& aConto);
	void RiempiListBoxCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto);
	void RiempiListBoxCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto, const std::vector<CdcCommLetto>& righe,
									  const ElencoSalvato& elenco);
	void RiempiListBoxContiDelCdcComm(Kvz_ViewCdcCommesse* pCdcComm);
	BOOL CercaCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm,
							  Kvz_TEnhCentriCommesseContiKvz*& pCoppia, int& nIndex);
	void AggiornaCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm);
	BOOL CercaContoDelCdcComm(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm,
							  Kvz_TEnhCentriCommesseContiKvz*& pCoppia, int& nIndex);
	BOOL AggiornaContoDelCdcComm(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm);
	// FALSE when the parent chain reaches an account marked as the last grouping level.
	BOOL ControllaLivelloConto(const DataStr& aContoPadre);
	void CopiaContoEsterno(const Kvz_TAnagContiKvz_Ext& aEsterno, Kvz_TEnhAnagContiKvz& aConto);
	// The base-plan header of a split of the symbol's year; -1 when none.
	DataLng CercaIDPianoBase(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm);
	void ApriCursoriPianoBase();

	// A row of the cost-centre/job grid with its usage counters.
	Kvz_ViewCdcCommesse* AggiungiRigaCdcComm(const DataInt& aEsercizio, const DataStr& aCodice, const DataEnum& aTipo,
											 const DataStr& aDescrizione);
	// Usage counters of the grids: never below zero; a cost centre counts as kind 4, a job as 5.
	static void IncrementaContatore(DataLng& aContatore);
	static void DecrementaContatore(DataLng& aContatore);
	static DataEnum TipoContatoreCdcComm(const DataEnum& aTipoCdcComm);
	// Whether ticking changes the usage counters: not on a row of kind item 1.
	BOOL ContaUtilizzi() const { return m_TipoRiga.GetItemValue() != 1; }

	void OnCaricaTabellaCdcComm();
	CBaseDocument* OnFiltroCdcComm();
	void OnSelTuttiConti();
	void OnDeselTuttiConti();
	void OnSelTuttiCdcComm();
	void OnDeselTuttiCdcComm();
	void SelezionaTuttiConti(BOOL bSel);
	void SelezionaTuttiCdcComm(BOOL bSel);

	// ---- form -----------------------------------------------------------------------------
	// Enables and activates the selection tab of WhereConto or WhereCdcComm.
	void AbilitaTab();
	void OnSelezioneChanged();
	void OnFiltroTipoCdcCommChanged();
	void OnOk();       // confirms: the form's batch run
	void OnAnnulla();  // closes without saving
	void OnFiltro();
	// The form's choices kept in the module settings, written when the document goes.
	void SalvaImpostazioni();

	// ---- opening, checking and saving ----------------------------------------------------
	void InizializzaNuovoSimbolo();
	void CaricaSimbolo();
	void LeggiImpostazioni();
	void AggiornaStatoControlli();
	BOOL VerificaSimbolo();
	BOOL SalvaSimbolo();
	void CancellaCdcCommNonSelezionati();
	// The symbol's explicit selection, and the splits it needs that do not exist yet.
	void ScriviSelezione();
	void ScriviSplitSelezionati();
	void OnCopiaInNuovoSimbolo();
	void OnEstrai();

	// ---- selection tabs and grids --------------------------------------------------------
	void RiempiListBoxConti();
	void RiempiListBoxCdcComm();
	void OnSelContoChanged();
	void OnSelCdcCommChanged();
	void OnSegnoContoChanged();
	void OnSegnoCdcCommChanged();
	void OnContoRowChanged();
	void OnCdcCommRowChanged();
	void OnContiDelCdcCommChanged();
	void OnValoreChanged();  // runs AggiornaStatoControlli

protected:
	BOOL OnAttachData() override;
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	BOOL SalvaConfermato() override { return SalvaSimbolo(); }
	void DisableControlsForBatch() override;
	void OnSceltaAziendaChanged() override;
	void OnCodAziendaChanged() override;
};

// ---- form ---------------------------------------------------------------------------------------

class Kvz_CPropSimboloPBaseView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloPBaseView, CMasterFormView)
public:
	Kvz_CPropSimboloPBaseView() : CMasterFormView(_T("Kvz_CPropSimboloPBaseView"), IDD_PROP_SIMBOLO_PBASE) {}
	void BuildDataControlLinks() override;
	Kvz_CPropSimboloPBaseDoc* GetDoc() const;
};

class Kvz_CSimbPBaseTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CSimbPBaseTabber, CTabManager)
};

class Kvz_CSelContiSimbPBaseTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CSelContiSimbPBaseTabDlg, CTabDialog)
public:
	Kvz_CSelContiSimbPBaseTabDlg() : CTabDialog(_T("CSelContiSimbPBaseTabDlg"), IDD_SEL_CONTI_SIMB_PBASE) {}
	void BuildDataControlLinks() override;
	Kvz_CPropSimboloPBaseDoc* GetDoc() const;
};

class Kvz_CSelCdcCommSimbPBaseTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CSelCdcCommSimbPBaseTabDlg, CTabDialog)
public:
	Kvz_CSelCdcCommSimbPBaseTabDlg() : CTabDialog(_T("CSelCdcCommSimbPBaseTabDlg"), IDD_SEL_CDC_COMM_SIMB_PBASE) {}
	void BuildDataControlLinks() override;
	Kvz_CPropSimboloPBaseDoc* GetDoc() const;
};

class Kvz_CDefaultSimbPBaseTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CDefaultSimbPBaseTabDlg, CTabDialog)
public:
	Kvz_CDefaultSimbPBaseTabDlg() : CTabDialog(_T("CDefaultSimbPBaseTabDlg"), IDD_DEFAULT_SIMB_PBASE) {}
	void BuildDataControlLinks() override;
	Kvz_CPropSimboloPBaseDoc* GetDoc() const;
};

class Kvz_SelContiSimboloEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelContiSimboloEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_SelCdcCommSimboloEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelCdcCommSimboloEdit, CBodyEdit)
public:
	void Customize() override;
};
