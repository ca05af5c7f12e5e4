#pragma once
// A budget of a grouped account (optionally one cost centre or job), fiscal year and budget
// type: a header with the year's and the quarters' totals, twelve monthly rows (amount, VAT
// code, payment terms) and the financial budget, the months in which the amounts are paid or
// collected and their VAT settled. Saving checks the budget and carries it to the parent
// accounts and to the account's cost centres and jobs, all in the budget's own transaction.
// Other documents open it through Kvz_ADMBudgetObj. Template "DBudget".
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzcomponents/Kvz_ADMBudgetObj.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/erp/erpbasecomponents/Divider.h"
#include "platform/erp/erpbasedbl/TPaymentTerms.h"
#include "platform/erp/erpbasedbl/TTAX.h"

enum : UINT
{
	IDC_BDG_ESERCIZIO = 53001,
	IDC_BDG_DATA_CREAZIONE = 53002,
	IDC_BDG_DATA_ULT_MODIFICA = 53003,
	IDC_BDG_TIPO_BUDGET = 53004,
	IDC_BDG_DESCRIZIONE = 53005,
	IDC_BDG_CONTO = 53006,
	IDC_BDG_CONTO_DESCRI = 53007,
	IDC_BDG_CDC_COMM = 53008,
	IDC_BDG_CONTO_DESCRI_CDC_COMM = 53009,
	IDC_BDG_CONTO_TIPO_CDC_COMM = 53010,
	IDC_BDG_PER_TOTALE = 53011,
	IDC_BDG_PER_TRIMESTRE = 53012,
	IDC_BDG_PER_FORMULA = 53013,
	IDC_BDG_TOT_BUDGET = 53014,
	IDC_BDG_TOT_TRIM1 = 53015,
	IDC_BDG_TOT_TRIM2 = 53016,
	IDC_BDG_TOT_TRIM3 = 53017,
	IDC_BDG_TOT_TRIM4 = 53018,
	IDC_BDG_FORMULA = 53019,
	IDC_BDG_RIPARTISCI = 53020,
	IDC_BDG_CREA_BUDGET_FINANZ = 53021,
	IDC_BDG_RANGE = 53022,
	IDC_BDG_TABBER = 53023,
	IDC_BDG_ANNO_PRECEDENTE = 53024,
	IDC_BDG_RIGHE = 53030,
	IDC_BDG_RIGHE_MESE = 53031,
	IDC_BDG_RIGHE_IMPORTO = 53032,
	IDC_BDG_RIGHE_PROGRESSIVO = 53033,
	IDC_BDG_RIGHE_COD_IVA = 53034,
	IDC_BDG_RIGHE_DES_IVA = 53035,
	IDC_BDG_RIGHE_COND_PAG = 53036,
	IDC_BDG_RIGHE_DES_COND_PAG = 53037,
	IDC_BDG_FIN_RIGHE = 53040,
	IDC_BDG_FIN_MESE = 53041,
	IDC_BDG_FIN_IMPORTO = 53042,
	IDC_BDG_FIN_IMPORTO_AP = 53043,
	IDC_BDG_FIN_TOTALE_IMPORTO = 53044,
	IDC_BDG_FIN_IMPOSTA = 53045,
	IDC_BDG_FIN_IMPOSTA_AP = 53046,
	IDC_BDG_FIN_TOTALE_IMPOSTA = 53047,
	IDC_BDG_FIN_TOTALE = 53048,
	IDC_BDG_FIN_TOT_TRIM1 = 53049,
	IDC_BDG_FIN_TOT_TRIM2 = 53050,
	IDC_BDG_FIN_TOT_TRIM3 = 53051,
	IDC_BDG_FIN_TOT_TRIM4 = 53052,

	IDD_BDG_RIGHE = 53090,
	IDD_BDG_RIGHE_FINANZ = 53091,
};

class Kvz_CBudgetDoc;
class Kvz_CSelezBudgetDoc;
class Kvz_CTabberBudget;

// A document that opens budgets on its own base plan (the adjustments): it proposes the key of
// a new budget and reloads its budget figures when the budget document closes.
class Kvz_ChiamanteBudget
{
public:
	virtual ~Kvz_ChiamanteBudget() = default;
	// Year, account, cost centre/job with its kind, and budget type of a new budget.
	virtual void ChiaveNuovoBudget(Kvz_TBudgetTesta& aTesta) = 0;
	virtual void CaricaDatiBudget() = 0;
	// The budget document it opened is closing: it forgets it.
	virtual void BudgetChiuso(Kvz_CBudgetDoc* pBudget) = 0;
};

// Months picked by a range text such as "1-3,7 10-12": digits, commas, blanks and dashes.
struct Kvz_RangeMesi
{
	bool valido = false;    // FALSE: a character outside "0123456789,- "
	bool mesi[13] = {};     // [0] is a month 0 that two separators in a row give; never used
	int Conta() const;      // months 1 to 12 picked
};
// Numbers too long for an int count as above 12 (out of range), never wrap.
Kvz_RangeMesi Kvz_LeggiRangeMesi(const CString& strRange);

// The key a budget header is looked up by: year, budget type, account, cost centre/job, and
// optionally the kind of cost centre/job and a budget to leave out.
struct Kvz_ChiaveBudget
{
	DataInt esercizio;
	DataEnum tipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataStr conto;
	DataStr centroCommessa;
	const DataEnum* pTipoCentroComm = nullptr;
	const DataLng* pEscluso = nullptr;
};
// The first such header by IDBudget: its id (empty when none) and its financial id. A database
// error reaches the caller as SqlException.
DataLng Kvz_TrovaBudget(SqlSession* pSession, CObject* pDocument, const Kvz_ChiaveBudget& aChiave,
						DataLng* pIDBudgetFinanz = nullptr);

// The cost centres and jobs of an account in a year, by code. SqlException on a database error.
std::vector<Kvz_TCentriCommesseContiKvz> Kvz_CentriDelConto(SqlSession* pSession, CObject* pDocument,
															 const DataInt& aEsercizio, const DataStr& aConto);

// The totals of a financial budget: this year's payments and VAT, in all and by quarter (what
// the prior and the next year carry is not counted).
struct Kvz_TotaliFinanz
{
	DataMon totale;
	DataMon trimestri[4];
	void Azzera();
	void Aggiungi(const Kvz_TBudgetFinanzRighe& aRiga);
	void Leggi(const Kvz_TBudgetFinanzTesta& aTesta);
	void Scrivi(Kvz_TBudgetFinanzTesta& aTesta) const;
};

// ---- record buffers ----------------------------------------------------------------------------

class Kvz_DBTBudgetTesta : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTBudgetTesta, DBTMaster)
public:
	explicit Kvz_DBTBudgetTesta(CAbstractFormDoc* pDocument);
	Kvz_TBudgetTesta* GetBudgetTesta() const { return static_cast<Kvz_TBudgetTesta*>(GetRecord()); }

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnPrepareBrowser(SqlTable* pTable) override;
};

class Kvz_DBTBudgetRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTBudgetRighe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTBudgetRighe(CAbstractFormDoc* pDocument);
	Kvz_TEnhBudgetRighe* GetRiga(int nRow) const { return static_cast<Kvz_TEnhBudgetRighe*>(GetRow(nRow)); }
	// The row of the month; null when there is none.
	Kvz_TEnhBudgetRighe* GetRigaMese(int nMese) const;
	// Descriptions of the codes and the amount as loaded.
	void PreparaRiga(Kvz_TEnhBudgetRighe* pRiga);
	void DescriviCodici(Kvz_TEnhBudgetRighe* pRiga);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	void OnPrepareAuxColumns(SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;

private:
	Kvz_TBudgetTesta* GetTesta() const;
	Kvz_CBudgetDoc* GetBudgetDoc() const;
};

class Kvz_DBTBudgetFinanzRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTBudgetFinanzRighe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTBudgetFinanzRighe(CAbstractFormDoc* pDocument);
	Kvz_TEnhBudgetFinanzRighe* GetRiga(int nRow) const { return static_cast<Kvz_TEnhBudgetFinanzRighe*>(GetRow(nRow)); }
	Kvz_TEnhBudgetFinanzRighe* GetRigaMese(int nMese) const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	void OnPrepareAuxColumns(SqlRecord* pRec) override;

private:
	Kvz_TBudgetTesta* GetTesta() const;
};

// ---- document ----------------------------------------------------------------------------------

class Kvz_CBudgetDoc : public Kvz_CUtilizzaFormuleDoc, public Kvz_ADMBudgetObj
{
	DECLARE_DYNCREATE(Kvz_CBudgetDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CBudgetDoc();
	~Kvz_CBudgetDoc() override;

	Kvz_TBudgetTesta* GetTesta() const { return m_pDBTBudgetTesta->GetBudgetTesta(); }

	// Kvz_ADMBudgetObj
	ADMObj* GetADM() override { return static_cast<Kvz_ADMBudgetObj*>(this); }
	ADMObj* GetADMObj() override { return GetADM(); }
	SqlRecord* GetBudgetTesta() override { return m_pDBTBudgetTesta->GetRecord(); }

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;

	// ---- the checks, the rows and the look-ups of a budget header ------------------------------
	BOOL Controlli(const DataBool& aControllaTotali);
	BOOL PreparaRigheBudget();
	// The budget of the account, cost centre/job and kind in the header's year and type: its
	// IDBudget (0 when none), and its IDBudgetFinanz in aIDBudgetFinanz.
	DataLng CercaBudget(const DataStr& aConto, DataLng& aIDBudgetFinanz, const DataStr& aCentroCommessa,
						const DataEnum& aTipoCentroComm);
	// The same budget of the prior year; 0 when none.
	DataLng CercaBudget();
	// The look-up itself, on the document's updatable session: a database error reaches the
	// caller (a save must not take it for "no budget").
	DataLng CercaBudgetSql(const DataInt& aEsercizio, const DataStr& aConto, DataLng& aIDBudgetFinanz,
						   const DataStr& aCentroCommessa, const DataEnum* pTipoCentroComm);

	// ---- financial budget --------------------------------------------------------------------
	BOOL AssegnaIDBudgetFinanz();
	void PreparaRigheBudgetFinanziario();
	void CalcolaRateRiga(const Kvz_TEnhBudgetRighe& aRiga);
	// The financial totals; in the save's transaction also the financial header (FALSE: not
	// written, another user holds it).
	BOOL SalvaTestaBudgetFinanz();
	// The financial rows rebuilt from the monthly rows; FALSE when no financial id could be had.
	BOOL CostruisciBudgetFinanz();
	void OnCreaBudgetFinanz();

	// ---- the form's buttons --------------------------------------------------------------------
	void OnRipartisci();
	void OnBudgetAnnoPrecedente();
	void RicalcolaProgressivi();

	Kvz_DBTBudgetTesta* m_pDBTBudgetTesta = nullptr;
	Kvz_DBTBudgetRighe* m_pDBTBudgetRighe = nullptr;
	Kvz_DBTBudgetFinanzRighe* m_pDBTBudgetFinanzRighe = nullptr;
	KVZ_HKLAnagContiKvz* m_pHKLAnagContiKvz = nullptr;
	Kvz_HKLCentriCommContiKvz* m_pHKLCentriCommContiKvz = nullptr;
	HKLTAX* m_pHKLTAX = nullptr;
	HKLPaymentTerms* m_pHKLPaymentTerms = nullptr;
	Kvz_CTabberBudget* m_pTabber = nullptr;

	DataBool m_bPerTotale;
	DataBool m_bPerTrimestre;
	DataBool m_bPerFormula;
	Kvz_TotaliFinanz m_TotaliFinanz;
	DataBool m_bAbilitaRipartisci;
	DataBool m_bAbilitaCreaFinanz;
	DataBool m_bSempre{TRUE};
	DataStr m_Range;

	// The caller: an adjustments document or a budget selection, at most one.
	Kvz_ChiamanteBudget* GetChiamanteAssest() const { return m_pChiamanteAssest; }
	Kvz_CSelezBudgetDoc* GetChiamanteSelez() const { return m_pChiamanteSelez; }
	// The caller closes first: it forgets the budget document, the budget document forgets it.
	void DimenticaChiamante();

protected:
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	BOOL OnOkTransaction() override;
	void OnGoInBrowseMode() override;

	void OnEsercizioChanged();
	void OnContoKvzChanged();
	void OnCentroCommessaChanged();
	void OnImportoChanged();
	void OnCondPagChanged();
	void OnCodIVAChanged();
	void OnRipartizioneChanged();
	void OnTabChanged();

public:
	// Read-only rules of the split: by the active tab and the split chosen.
	void RegoleRipartizione();

private:
	BOOL Rifiuta(const CString& strMessaggio, UINT nFocus);
	// Every row's month is 1..12: else refused with the row named and the focus on it.
	BOOL ControllaMesi();
	// A changed code of a month row goes to every later row that has none.
	void PropagaCodice(DataStr Kvz_TBudgetRighe::*pCodice, DataStr Kvz_TEnhBudgetRighe::*pDescr);
	BOOL ApplicaRange();
	BOOL IsTabFinanziarioAttivo() const;

	// ---- propagation, in the save's transaction --------------------------------------------
	// FALSE: the save is refused (no id, a locked budget).
	BOOL SalvaContoPadre(const DataStr& aContoPadre);
	BOOL SalvaCentriCommesse();
	BOOL NuoviId(DataLng& aIDBudget, DataLng& aIDBudgetFinanz);
	// The financial budget of another budget: written new with the document's amounts × perc,
	// or changed by this save's differences × perc; then its header's totals.
	BOOL PropagaFinanziario(DataLng aIDBudgetFinanz, const DataLng& aIDBudget, const DataStr& aConto,
							const DataStr& aCentroCommessa, double perc);
	// Locks the header of another budget for this save (and gives it a financial id when it has
	// none); FALSE, said, when another user holds it.
	BOOL BloccaBudget(Jex_TUBudgetTesta& aTesta, const DataLng& aIDBudget, DataLng& aIDBudgetFinanz);
	// A new header of another budget, with its month rows (the document's amounts × perc).
	BOOL NuovoBudget(const DataStr& aConto, const DataEnum& aTipoCentroComm, const DataStr& aCentroCommessa,
					 const DataMon& aTotBudget, double perc, DataLng& aIDBudget, DataLng& aIDBudgetFinanz);
	// Whether a budget selection opened this one on a cost centre with a split percentage.
	BOOL SaltaLivelliSuperiori() const;
	// Whether the budget's months as stored now differ from the amounts the document loaded.
	BOOL CambiatoDopoApertura();

	bool m_bInSalvataggio = false;  // inside OnOkTransaction
	Kvz_ChiamanteBudget* m_pChiamanteAssest = nullptr;
	CBaseDocument* m_pDocChiamanteAssest = nullptr;
	Kvz_CSelezBudgetDoc* m_pChiamanteSelez = nullptr;
	std::unique_ptr<Divider> m_pDivider;
};

// ---- form --------------------------------------------------------------------------------------

class Kvz_CBudgetView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CBudgetView, CMasterFormView)
public:
	Kvz_CBudgetView() : CMasterFormView(_T("Kvz_CBudgetView")) {}
	void BuildDataControlLinks() override;
};

class Kvz_CTabberBudget : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_CTabberBudget, CTabManager)
};

class Kvz_CRigheBudgetTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CRigheBudgetTabDlg, CTabDialog)
public:
	Kvz_CRigheBudgetTabDlg() : CTabDialog(_T("CRigheBudgetTabDlg"), IDD_BDG_RIGHE) {}
	void BuildDataControlLinks() override;
};

class Kvz_CRigheBudgetFinanzTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CRigheBudgetFinanzTabDlg, CTabDialog)
public:
	Kvz_CRigheBudgetFinanzTabDlg() : CTabDialog(_T("CRigheBudgetFinanzTabDlg"), IDD_BDG_RIGHE_FINANZ) {}
	void BuildDataControlLinks() override;
};

class Kvz_RigheBudgetBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RigheBudgetBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_RigheBudgetFinanzBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RigheBudgetFinanzBodyEdit, CBodyEdit)
public:
	void Customize() override;
};
