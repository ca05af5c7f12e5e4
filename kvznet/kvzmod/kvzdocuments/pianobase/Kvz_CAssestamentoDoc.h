#pragma once
// The adjustments of one base plan: the month rows of a grouped account (or of one of its
// cost centres or jobs) and year, with book balance, adjustment and adjusted total, changed
// month by month, by even splits, by evening out book balances, by copying a month, or in the
// detail and spread documents; beside them the prior year and the budget. Opened only from the
// adjustment selection, its caller for its whole life. Template "DAssestamento".
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvges/FormViews.h"

class Kvz_CSelezAssestamentoDoc;

enum : UINT
{
	IDC_ASS_CONTO_KVZ_CORR = 51301,
	IDC_ASS_DES_CONTO_KVZ_CORR,
	IDC_ASS_TIPO_CONTO_KVZ,
	IDC_ASS_CDD_COMM,
	IDC_ASS_DES_CDC_COMM,
	IDC_ASS_ANNO,
	IDC_ASS_ANNO_PREC,
	IDC_ASS_ANNO_SUCC,
	IDC_ASS_TIPO_BUDGET,
	IDC_ASS_PER_IMPORTO,
	IDC_ASS_PER_TOTALE,
	IDC_ASS_PER_TOTALE_PERC,
	IDC_ASS_PERC,
	IDC_ASS_RIPART_TOTALE,
	IDC_ASS_RIPART_TRIMESTRE,
	IDC_ASS_TOTALE,
	IDC_ASS_TRIM1,
	IDC_ASS_TRIM2,
	IDC_ASS_TRIM3,
	IDC_ASS_TRIM4,
	IDC_ASS_RIPARTISCI,
	IDC_ASS_MESE_FROM,
	IDC_ASS_COPIA_DAL_MESE,
	IDC_ASS_INV_SEGNO,
	IDC_ASS_RIPRISTINA,
	IDC_ASS_SALVA,
	IDC_ASS_RIGHE,
	IDC_ASS_RIGHE_MESE,
	IDC_ASS_RIGHE_BMP,
	IDC_ASS_RIGHE_OK,
	IDC_ASS_RIGHE_PREC,
	IDC_ASS_RIGHE_CONTABILE,
	IDC_ASS_RIGHE_ASSESTAMENTO,
	IDC_ASS_RIGHE_P,
	IDC_ASS_RIGHE_TOTALE,
	IDC_ASS_RIGHE_PR_CONT,
	IDC_ASS_RIGHE_PR_ASSEST,
	IDC_ASS_RIGHE_PR_TOTALE,
	IDC_ASS_RIGHE_DETT,
	// The comparison panel: three rows of seven.
	IDC_ASS_CONFRONTO_FIRST,
	IDC_ASS_CONFRONTO_LAST = IDC_ASS_CONFRONTO_FIRST + 20,
	ID_ASS_RIPARTIZIONE_SALDI,
	ID_ASS_BUDGET,
	ID_ASS_DETTAGLIO,
	IDD_RANGE_RIP_SALDI,
	IDC_RANGE_RIP_SALDI_TESTO,
};

// Status pictures of a month row.
enum : int
{
	KVZ_BMP_ASS_NORMALE = 0,
	KVZ_BMP_ASS_PALLINO_ROSSO = 31737,
};

// The detail lines of one month, pending for the save.
class Kvz_ArrayDettaglioRiga : public TArray<Kvz_TPianoBaseRigaDett>
{
	DECLARE_DYNAMIC(Kvz_ArrayDettaglioRiga, Array)
};

// Calls riga with each stored detail line of a base-plan row's month, by line number.
void Kvz_LeggiDettaglio(SqlSession* pSession, CObject* pDoc, const DataLng& aIDPianoBase, const DataInt& aMese,
						const std::function<void(const Kvz_TPianoBaseRigaDett&)>& riga);

// The month percentages of the account and year, pending for the save.
class Kvz_ArrayRipartizioniRiga : public TArray<Kvz_TRipartizioniAssestamento>
{
	DECLARE_DYNAMIC(Kvz_ArrayRipartizioniRiga, Array)
};

class Kvz_DBTRighePianoBase : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTRighePianoBase, DBTSlaveBuffered)
public:
	explicit Kvz_DBTRighePianoBase(CAbstractFormDoc* pDocument);
	Kvz_TEnhPianoBaseRighe* GetRiga(int nRow) const { return static_cast<Kvz_TEnhPianoBaseRighe*>(GetRow(nRow)); }
	// The row of a month, null when the plan has none.
	Kvz_TEnhPianoBaseRighe* GetRigaMese(int nMese) const;
	Kvz_TEnhPianoBaseRighe* GetCurrentRiga() const { return GetRiga(GetCurrentRowIdx()); }
};

// One row of the comparison panel.
struct Kvz_RigaConfronto
{
	DataMon Precedente;
	DataMon Budget;
	DataMon Inserito;
	DataMon DeltaPrec;
	DataPerc DeltaPrecPerc;
	DataMon DeltaBudget;
	DataPerc DeltaBudgetPerc;
	void Clear();
};

class Kvz_CAssestamentoDoc : public CAbstractFormDoc, public Kvz_ChiamanteBudget
{
	DECLARE_DYNCREATE(Kvz_CAssestamentoDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CAssestamentoDoc();
	~Kvz_CAssestamentoDoc() override;

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	BOOL SaveModified() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override;
	BOOL CanDoReport() override { return FALSE; }

	// Reloads everything from the database.
	void CaricaDati();
	// Refills the rows from the loaded header.
	void RiempiDBTRighePBase();
	// Asks whether to save unsaved changes; FALSE: the user cancelled (or the save failed).
	BOOL ChiediSalvataggio(BOOL bSoloSiNo);
	void SvuotaArrayDettagli() { m_MappaDettagli.clear(); }
	void SvuotaArrayRipartizioni() { m_MappaRipartizioni.clear(); }
	void MemorizzaValoriIniziali();
	// Writes the adjustment and carries it to the plans that depend on it, in the document's
	// transaction; FALSE when a row to write is held by someone else. SQL errors are thrown:
	// the caller rolls the whole save back.
	BOOL SalvaAssestamento();
	// The month's detail lines now in the database, without blank ones, as the pending array.
	void AggiornaArrayDettaglio(const DataLng& aIDPianoBase, const DataInt& aMese);
	// The parent of a grouped-account code by the code's segments; empty for a ledger code.
	static DataStr CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri);
	// Each adds the grid's month changes to the account-level plan of a code (and upwards).
	BOOL SalvaContoPadre(const DataStr& aConto);
	BOOL SalvaContoPadrePatrimoniale(const DataStr& aConto, const DataBool& bInverti);
	BOOL SalvaContoKvzLegato();
	BOOL SalvaContoLegato(const DataStr& aConto, const Kvz_TAnagContiKvz& aContoOrigine);
	BOOL SalvaContoDelCentro(const DataStr& aConto);
	BOOL SalvaCentriCommesse();

	// Progressive columns of every row, then the comparison panel of the row (none: negative).
	void RicalcolaTotali(int nRigaCorrente);
	DataLng CercaBudget();
	void CaricaDatiBudget() override;
	// A new budget opened from here is of this account, cost centre/job, year and budget type.
	void ChiaveNuovoBudget(Kvz_TBudgetTesta& aTesta) override;
	void BudgetChiuso(Kvz_CBudgetDoc* pBudget) override;
	void AzzeraBudget();
	void AggiornaStatoRiga(Kvz_TEnhPianoBaseRighe* pRiga);
	BOOL ControllaPresenzaCentriComm();
	// One amount to the rows of months nDalMese..nAlMese.
	void AssegnaImportoMesi(int nDalMese, int nAlMese, const DataMon& importo, BOOL bPerAssestamento);

	// Pending detail lines and spreads, by month; null when none is pending.
	Kvz_ArrayDettaglioRiga* GetArrayDettaglio(int nMese) const;
	void SetArrayDettaglio(int nMese, std::unique_ptr<Kvz_ArrayDettaglioRiga> pArray);
	Kvz_ArrayRipartizioniRiga* GetArrayRipartizioni(int nMese) const;
	void SetArrayRipartizioni(int nMese, std::unique_ptr<Kvz_ArrayRipartizioniRiga> pArray);
	int GetNumDettagliPendenti() const { return static_cast<int>(m_MappaDettagli.size()); }
	int GetNumRipartizioniPendenti() const { return static_cast<int>(m_MappaRipartizioni.size()); }

	Kvz_DBTRighePianoBase* GetDBTRighe() const { return m_pDBTRighe.get(); }
	Kvz_CSelezAssestamentoDoc* GetChiamante() const { return m_pChiamante; }
	const Kvz_TEnhPianoBaseTesta* GetTesta() const;
	const Kvz_TAnagContiKvz& GetContoSelezionato() const { return m_ContoSel; }
	void SetGrid(CBodyEdit* pGrid) { m_pGrid = pGrid; }
	// Whether the account of the year is economic (the progressive columns are shown).
	BOOL IsContoEconomico() const { return !m_bPatrimoniale; }
	void SetDocDettaglio(CBaseDocument* pDoc) { m_pDocDettaglio = pDoc; }
	void SetDocRipartizione(CBaseDocument* pDoc) { m_pDocRipartizione = pDoc; }
	void SetDocBudget(CBaseDocument* pDoc) { m_pDocBudget = pDoc; }
	CBaseDocument* GetDocDettaglio() const { return m_pDocDettaglio; }
	CBaseDocument* GetDocRipartizione() const { return m_pDocRipartizione; }

	DataStr m_RangeRipartizione;
	DataStr m_ContoKvz;
	DataStr m_DesContoKvz;
	DataStr m_TipoContoKvz;
	DataStr m_CentroCommessa;
	DataStr m_DesCentroCommessa;
	DataEnum m_TipoCentroComm;
	DataInt m_Anno;
	DataEnum m_TipoBudget;
	DataBool m_bPerImporto;
	DataBool m_bPerTotale;
	DataBool m_bPerTotalePerc;
	DataBool m_bRipartTotale;
	DataBool m_bRipartTrimestre;
	DataMon m_Totale;
	std::array<DataMon, 4> m_Trimestri;
	Kvz_RigaConfronto m_Mese;
	Kvz_RigaConfronto m_Progressivi;
	Kvz_RigaConfronto m_Proiezione;
	DataInt m_MeseDa;
	DataBool m_bInvertiSegno;
	DataBool m_Modificato;
	DataBool m_SoloLettura;
	DataBool m_AbilitaSalvataggio;

protected:
	BOOL OnAttachData() override;

	void OnAnnoPrecedente();
	void OnAnnoSuccessivo();
	void OnAnnoChanged();
	void OnRipristina();
	void OnSalva();
	void OnRigaChanged();
	void OnRigaDblClicked();
	void OnImportoRateoChanged();
	void OnTotaleAssestatoChanged();
	void OnOkChanged();
	void OnOpzioneInserimentoChanged();
	void OnOpzioneRipartizioneChanged();
	void OnTipoBudgetChanged();
	void OnRipartizione();
	void OnCopiaDalMese();
	void OnRipartizioneSaldi();
	void OnBudget();
	void OnDettaglio();
	void OnPercentuali();
	void OnUpdateRigaCorrente(CCmdUI* pCmdUI);

private:
	void ImpostaStatoControlli();
	// Changes of figures mark the document modified, unless it is read-only.
	void SegnaModificato();
	// The save in the document's transaction: rolled back, and said, when it fails.
	BOOL SalvaInTransazione();
	// After the commit: what was saved becomes the starting point of the next save.
	void ConcludiSalvataggio();
	// The rows of the plan id matched to grid rows by month, each given the value the function
	// computes from its grid row: added to its adjustment, or in its place. bLock: read with a
	// lock, FALSE at a row held by someone else. Rows are visited in month order.
	BOOL AggiornaPiano(const DataLng& id, BOOL bLock, BOOL bSostituisci,
					   const std::function<double(const Kvz_TEnhPianoBaseRighe&)>& valore);
	DataLng IDPianoConto(const DataStr& aConto);
	void CambiaAnno(int nAnno);
	// Reads the account's type of the year once per load.
	void LeggiTipoConto();
	void ApriFiglio(LPCTSTR szTemplate, CBaseDocument*& pFiglio);
	int RigaCorrente() const;
	void RicalcolaCorrente();
	// The adjustment (bRateo) or the adjusted total typed on the current row: the other follows;
	// a row with detail lines keeps its figures.
	void FiguraDigitata(BOOL bRateo);

	std::unique_ptr<Kvz_DBTRighePianoBase> m_pDBTRighe;
	KVZ_HKLAnagContiKvz* m_pHKLAnagContiKvz = nullptr;
	std::unique_ptr<Jex_TRPianoBaseTesta> m_pTRPianoBaseTesta;
	Kvz_TAnagContiKvz m_ContoSel;
	std::map<int, std::unique_ptr<Kvz_ArrayDettaglioRiga>> m_MappaDettagli;
	std::map<int, std::unique_ptr<Kvz_ArrayRipartizioniRiga>> m_MappaRipartizioni;
	CBaseDocument* m_pDocDettaglio = nullptr;
	CBaseDocument* m_pDocRipartizione = nullptr;
	CBaseDocument* m_pDocBudget = nullptr;
	Kvz_CSelezAssestamentoDoc* m_pChiamante = nullptr;
	Kvz_TParametri m_Parametri;
	BOOL m_bParametriTrovati = FALSE;
	BOOL m_bPatrimoniale = FALSE;
	CBodyEdit* m_pGrid = nullptr;
	DataInt m_AnnoCaricato;
};

class Kvz_RighePianoBaseEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RighePianoBaseEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CAssestamentoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CAssestamentoView, CMasterFormView)
public:
	Kvz_CAssestamentoView() : CMasterFormView(_T("CAssestamentoView")) {}
	void BuildDataControlLinks() override;
};

// The adjustments' own frame, with the toolbar of the spreading, budget and detail commands.
class Kvz_AssestamentoFrame : public CBatchFrame
{
	DECLARE_DYNCREATE(Kvz_AssestamentoFrame, CBatchFrame)
public:
	BOOL OnCreateAuxToolbar() override;

private:
	bool m_bToolbarCreata = false;
};

// The range of months to even out book balances over.
class Kvz_RangeRipSaldiDlg : public CParsedDialog
{
	DECLARE_DYNAMIC(Kvz_RangeRipSaldiDlg, CParsedDialog)
public:
	explicit Kvz_RangeRipSaldiDlg(Kvz_CAssestamentoDoc* pDoc);
	BOOL OnInitDialog() override;
	void OnOK() override;
	void BuildDataControlLinks() override;

	DataStr m_Range;

private:
	Kvz_CAssestamentoDoc* m_pDoc;
};
