#pragma once
// Where each code is used in formulas: the general usage counters of the codes the calling
// document deals with, and for the chosen code each use with its formula. Read only; opened
// only by another document, which fixes the selection. Template "BDViewContatori".
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/FormViews.h"

// Opens the counters view on the calling document (the extra-accounting codes register, the
// monthly formulas, the models document or the adjustment selection), which fixes its
// selection; the caller's frame stays disabled until the view closes. Null when it did not
// open (another caller, no command manager).
CBaseDocument* Kvz_ApriContatori(CAbstractFormDoc* pCaller);

enum : UINT
{
	IDD_VIEWCONTATORI = 31860,
	IDC_VWCONT_CONTI_KVZ = 52880,
	IDC_VWCONT_EXTRACONT,
	IDC_VWCONT_RICLASSIFIC,
	IDC_VWCONT_SEL_ECONOMICI,
	IDC_VWCONT_SEL_PATRIMONIALI,
	IDC_VWCONT_SEL_TUTTI_CONTI,
	IDC_VWCONT_TUTTI_EXTRA,
	IDC_VWCONT_EXTRA_DA,
	IDC_VWCONT_EXTRA_A,
	IDC_VWCONT_TUTTI_RCL,
	IDC_VWCONT_MODELLO,
	IDC_VWCONT_STATIC_ANNO_TOT,
	IDC_VWCONT_STATIC_ANNO_DETT,
	IDC_VWCONT_GRID_GENERALI,
	IDC_VWCONT_GRID_DETTAGLIO,
	IDC_VWCONT_ESTRAI,
	IDC_VWCONT_COL_CODICE,
	IDC_VWCONT_COL_DESCRI,
	IDC_VWCONT_COL_CONTATORE,
	IDC_VWCONT_COL_MODELLO,
	IDC_VWCONT_COL_CODICE_UT,
	IDC_VWCONT_COL_CONTATORE_DETT,
	IDC_VWCONT_COL_POSIZIONE,
	IDC_VWCONT_COL_FORMULA,
};

class Kvz_DBTContatoriGenerali : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTContatoriGenerali, DBTSlaveBuffered)
public:
	explicit Kvz_DBTContatoriGenerali(CAbstractFormDoc* pDocument);
	Kvz_TEnhContatoriCodici* GetCurrentRecord() const;
	Kvz_TEnhContatoriCodici* GetRiga(int n) const { return static_cast<Kvz_TEnhContatoriCodici*>(GetRow(n)); }
};

class Kvz_DBTContatoriDettaglio : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTContatoriDettaglio, DBTSlaveBuffered)
public:
	explicit Kvz_DBTContatoriDettaglio(CAbstractFormDoc* pDocument);
	Kvz_TEnhContatoriDettaglio* GetRiga(int n) const { return static_cast<Kvz_TEnhContatoriDettaglio*>(GetRow(n)); }
};

class Kvz_ViewContatoriDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_ViewContatoriDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_ViewContatoriDoc();

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	void DisableControlsForBatch() override { AggiornaStatoControlli(); }
	BOOL CanDoReport() override { return FALSE; }

	void EstraiContatori();
	void RiempiDBTDettaglio(const Kvz_TEnhContatoriCodici* pGenerale);
	void AggiornaStatoControlli();

	Kvz_DBTContatoriGenerali* GetDBTGenerali() const { return m_pDBTGenerali.get(); }
	Kvz_DBTContatoriDettaglio* GetDBTDettaglio() const { return m_pDBTDettaglio.get(); }
	void SetGridGenerali(CBodyEdit* pGrid) { m_pGridGenerali = pGrid; }
	CAbstractFormDoc* GetParent() const { return m_pParent; }
	// Detail queries run since opening (a counter of 0 runs none).
	int GetQueryDettaglio() const { return m_nQueryDettaglio; }

	DataBool m_bContiKvz;
	DataBool m_bExtracont;
	DataBool m_bRiclassific;
	DataBool m_bSelEconomici;
	DataBool m_bSelPatrimoniali;
	DataBool m_bSelTuttiConti;
	DataBool m_bTuttiExtra;
	DataStr m_ExtraDa;
	DataStr m_ExtraA;
	DataBool m_bTuttiModelli;
	DataStr m_Modello;
	DataInt m_AnnoTot;
	DataInt m_AnnoDett;
	KVZ_HKLCodiciExtracont* m_pHKLDa = nullptr;
	KVZ_HKLCodiciExtracont* m_pHKLA = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModello = nullptr;

protected:
	BOOL OnAttachData() override;
	void OnExtraDaChanged();
	void OnRigaGeneraleChanged();
	void OnEstrai();

private:
	void AggiungiContiKvz();
	void AggiungiCodRiclassific();
	void AggiungiCodExtracont();
	void AggiungiGenerale(WORD nTipo, const DataStr& aCodice, const DataStr& aDescrizione);
	// The formula of a use; empty when its row is gone or the position is not 0 to 10.
	DataStr FormulaUtilizzo(const Kvz_TContatoriDettaglio& det);

	std::unique_ptr<Kvz_DBTContatoriGenerali> m_pDBTGenerali;
	std::unique_ptr<Kvz_DBTContatoriDettaglio> m_pDBTDettaglio;
	CBodyEdit* m_pGridGenerali = nullptr;
	CAbstractFormDoc* m_pParent = nullptr;
	Kvz_TRContatoriCodici m_TRContatoriCodici;
	Kvz_TRRiclassificazioneRighe m_TRRiclassificazioneRighe;
	Kvz_TRCodExtracontabili m_TRCodExtracontabili;
	int m_nQueryDettaglio = 0;
};

class Kvz_ContatoriGeneraliEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_ContatoriGeneraliEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_ContatoriDettaglioEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_ContatoriDettaglioEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_ViewContatoriView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_ViewContatoriView, CMasterFormView)
public:
	Kvz_ViewContatoriView() : CMasterFormView(_T("ViewContatoriView"), IDD_VIEWCONTATORI) {}
	void BuildDataControlLinks() override;
};
