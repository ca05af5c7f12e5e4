#pragma once
// Adjustment selection: the grouped accounts of a year proposed for adjustment, the cost
// centres and jobs of the chosen one, and its base plan month by month with running totals.
// A double click opens the adjustments on the selection. Template "BDSelezAssestamento".
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_SEL_ASS_TIPO_CONTO_ECON = 51201,
	IDC_SEL_ASS_TIPO_CONTO_PATRIM,
	IDC_SEL_ASS_TIPO_CONTO_TUTTI,
	IDC_SEL_ASS_ANNO,
	IDC_SEL_ASS_TIPO_BUDGET,
	IDC_SEL_ASS_ESCLUDI_NON_MOV,
	IDC_SEL_ASS_ESCLUDI_NON_ASSEST,
	IDC_SEL_ASS_INTERROGA,
	IDC_SEL_ASS_ANNO_PREC,
	IDC_SEL_ASS_ANNO_SUCC,
	IDC_SEL_ASS_ANTEPRIMA,
	IDC_SEL_ASS_CONTI,
	IDC_SEL_ASS_CDC_COMM,
	IDC_SEL_ASS_SCHEDA_CONTABILE,
	IDC_SEL_ASS_CONTI_BMP,
	IDC_SEL_ASS_CONTI_CONTO,
	IDC_SEL_ASS_CONTI_DESCRI,
	IDC_SEL_ASS_CONTI_T,
	IDC_SEL_ASS_CDC_BMP,
	IDC_SEL_ASS_CDC_TIPO,
	IDC_SEL_ASS_CDC_CODICE,
	IDC_SEL_ASS_CDC_DESCRI,
	IDC_SEL_ASS_CDC_PERC,
	IDC_SEL_ASS_PB_MESE,
	IDC_SEL_ASS_PB_BMP,
	IDC_SEL_ASS_PB_OK,
	IDC_SEL_ASS_PB_PREC,
	IDC_SEL_ASS_PB_CONTABILE,
	IDC_SEL_ASS_PB_ASSEST,
	IDC_SEL_ASS_PB_P,
	IDC_SEL_ASS_PB_TOTALE,
	IDC_SEL_ASS_PB_PR_CONT,
	IDC_SEL_ASS_PB_PR_ASSEST,
	IDC_SEL_ASS_PB_PR_TOTALE,
	ID_SEL_ASS_CONTATORI,
};

// Status pictures of the rows (bitmap resources of the documents library).
enum : int
{
	KVZ_BMP_RIGA_NORMALE = 31822,
	KVZ_BMP_SALDO_VARIATO = 31821,
	KVZ_BMP_PBASE_NORMALE = 31748,
	KVZ_BMP_PBASE_DIFFERENZA = 31737,
};

class Kvz_DBTSelezAssContiKvz : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelezAssContiKvz, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelezAssContiKvz(CAbstractFormDoc* pDocument);
	Kvz_TAnagContiKvz* GetConto(int nRow) const { return static_cast<Kvz_TAnagContiKvz*>(GetRow(nRow)); }
};

class Kvz_DBTSelezCdcCommesseKvz : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelezCdcCommesseKvz, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelezCdcCommesseKvz(CAbstractFormDoc* pDocument);
	Kvz_TCentriCommesseContiKvz* GetCdc(int nRow) const
	{
		return static_cast<Kvz_TCentriCommesseContiKvz*>(GetRow(nRow));
	}
};

class Kvz_DBTAnteprimaPianoBase : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTAnteprimaPianoBase, DBTSlaveBuffered)
public:
	explicit Kvz_DBTAnteprimaPianoBase(CAbstractFormDoc* pDocument);
	Kvz_TEnhPianoBaseRighe* GetRiga(int nRow) const { return static_cast<Kvz_TEnhPianoBaseRighe*>(GetRow(nRow)); }
};

class Kvz_CSelezAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CSelezAssestamentoDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CSelezAssestamentoDoc();
	~Kvz_CSelezAssestamentoDoc() override;

	// The id of the base plan of a year, account and cost centre/job (an empty one and kind
	// item 0: the account's own); -1 when there is none.
	DataLng CercaIDPianoBase(const DataInt& aAnno, const DataStr& aConto, const DataEnum& aTipo,
							 const DataStr& aCentroComm);
	// Rebuilds the base-plan preview of the selection.
	void RiempiDBTRighePBase();
	// Rebuilds the accounts and, through the first of them, the other two grids.
	void OnRiempiDBTConti();
	void RiempiDBTCentriComm();
	// Opens the adjustments document on the selection.
	void ApriAssestamento();
	// The current accounts row (row 0 when none is current); null when there are no accounts.
	Kvz_TAnagContiKvz* GetContoCorrente() const;
	void SetGridConti(CBodyEdit* pGrid) { m_pGridConti = pGrid; }
	// The adjustments document clears it when it closes.
	void SetDocAssestamento(CBaseDocument* pDoc) { m_pDocAssestamento = pDoc; }
	CBaseDocument* GetDocAssestamento() const { return m_pDocAssestamento; }

	Kvz_DBTSelezAssContiKvz* m_pDBTConti = nullptr;
	Kvz_DBTAnteprimaPianoBase* m_pDBTAnteprima = nullptr;
	Kvz_DBTSelezCdcCommesseKvz* m_pDBTCdcComm = nullptr;
	DataEnum m_TipoBudget;
	DataBool m_bContiEconomici;
	DataBool m_bContiPatrimoniali;
	DataBool m_bTuttiConti;
	DataInt m_Anno;
	DataStr m_CentroCommessa;
	DataEnum m_TipoCentroComm;
	DataStr m_DesCentroCommessa;
	DataStr m_ContoKvz;
	DataBool m_bEscludiNonMovimentati;
	DataBool m_bEscludiNonAssestati;
	DataBool m_bContoCliccato;

protected:
	BOOL OnAttachData() override;
	void DisableControlsForBatch() override {}
	BOOL CanDoReport() override { return FALSE; }

	void OnAnnoChanged();
	void OnAnnoPrecedente();
	void OnAnnoSuccessivo();
	void OnInterroga();
	void OnRigaContoChanged();
	void OnRigaCdcChanged();
	void OnRigaContoClicked();
	void OnRigaCdcClicked();
	void OnRigaContoDblClicked();
	void OnRigaCdcDblClicked();
	void OnPercRipartizioneChanged();
	void OnSchedaContabile();
	void OnContatori();

private:
	// The accounts' query: of the year, proposed for adjustment, of the chosen kind, and with
	// an exclusion flag only those with a row of the year that passes it.
	void PreparaQueryConti(SqlTable& table, Kvz_TAnagContiKvz& rec);
	void SelezionaLivelloConto();

	std::unique_ptr<Jex_TRPianoBaseTesta> m_pTRPianoBaseTesta;
	CBodyEdit* m_pGridConti = nullptr;
	CBaseDocument* m_pDocAssestamento = nullptr;
	CString m_strReportNamespace;
};

class Kvz_SelezAssContiKvzEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelezAssContiKvzEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_SelezCdcCommesseKvzEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelezCdcCommesseKvzEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_AnteprimaPianoBaseEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_AnteprimaPianoBaseEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CSelezAssestamentoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CSelezAssestamentoView, CMasterFormView)
public:
	Kvz_CSelezAssestamentoView() : CMasterFormView(_T("CSelezAssestamentoView")) {}
	void BuildDataControlLinks() override;
};
