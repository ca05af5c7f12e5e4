#pragma once
// The module's grouping data of an account (its row of Kvz_RaggruppPdC), riding along with the
// host's chart-of-accounts documents: read and saved with the account, shown on the tab
// "&Riclassificazioni", kept consistent with the account's place in the chart and carried down
// from a ledger to the accounts under it.
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasedocuments/DChartOfAccounts.h"
#include "platform/plvges/CClientDoc.h"

enum : UINT
{
	IDD_KVZ_CLIENTDOC_PDC = 31808,
	IDC_PDC_BUDGET = 53006,
	IDC_PDC_DES_BUDGET = 53007,
	IDC_PDC_INVERSIONE_SEGNO = 53008,
	IDC_PDC_PROPONI_ASSEST = 53009,
	IDC_PDC_NOME_LIV1 = 53010,
	IDC_PDC_ESPLODI_ANALITICA = 53011,
	IDC_PDC_NOME_LIV2 = 53012,
	IDC_PDC_NOME_LIV3 = 53013,
	IDC_PDC_NOME_LIV4 = 53014,
	IDC_PDC_LIV1 = 53015,
	IDC_PDC_LIV2 = 53016,
	IDC_PDC_LIV3 = 53017,
	IDC_PDC_LIV4 = 53018,
	IDC_PDC_TIPO_DETTAGLIO = 53019,
	IDC_PDC_NOME_LIV5 = 53020,
	IDC_PDC_LIV5 = 53021,
	IDC_PDC_MODIFICA_ASSEST = 53022,
	IDC_PDC_CONTO_PATRIM = 53023,
	IDC_PDC_DES_PATRIM = 53024,
	IDC_PDC_ESCLUDI_SUPERIORI = 53025,
	IDC_PDC_NOME_LIV6 = 53027,
	IDC_PDC_ESCLUDI_CONTO = 53028,
	IDC_PDC_LIV6 = 53029,
	IDC_PDC_NOME_LIV7 = 53030,
	IDC_PDC_LIV7 = 53031,
	IDC_PDC_NOME_LIV8 = 53032,
	IDC_PDC_LIV8 = 53033,
};

// Detail of an account that explodes into cost accounting: both cost centres and jobs.
constexpr WORD KVZ_TIPODETTAGLIO_CENTRI_E_COMMESSE = 2;

class Kvz_ClientDocPianoDeiConti;

class Kvz_DBTRaggruppConti : public DBTSlave
{
	DECLARE_DYNAMIC(Kvz_DBTRaggruppConti, DBTSlave)
public:
	Kvz_DBTRaggruppConti(CAbstractFormDoc* pDocument, Kvz_ClientDocPianoDeiConti* pClientDoc);
	Kvz_TRaggruppPdC* GetRaggrupp() const { return static_cast<Kvz_TRaggruppPdC*>(GetRecord()); }
	// The row as it was read; null when the account had none.
	const Kvz_TRaggruppPdC* GetRigaLetta() const { return static_cast<const Kvz_TRaggruppPdC*>(m_pOldRecord.get()); }

protected:
	void OnDisableControlsForEdit() override;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnDisableControlsForAddNew() override;
	void OnPreparePrimaryKey() override;
	// A new account may find its row already there (left by a procedure): it is updated.
	void Write(BOOL bNew) override;

private:
	const DataStr& ContoHost() const;

	Kvz_ClientDocPianoDeiConti* m_pClientDoc;
};

class Kvz_ClientDocPianoDeiConti : public CClientDoc
{
	DECLARE_DYNAMIC(Kvz_ClientDocPianoDeiConti, CClientDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_ClientDocPianoDeiConti();

	Kvz_TRaggruppPdC* GetRaggrupp() const { return m_pDBT ? m_pDBT->GetRaggrupp() : nullptr; }
	HKLChartOfAccounts* GetHKLContoPatrimoniale() const { return m_pHKLConti; }
	Kvz_HKLCodiciBudget* GetHKLCodiciBudget() const { return m_pHKLCodiciBudget; }

	// Level 1 "Mastro", levels 2 to 8 the names of the host's segments.
	DataStr m_NomeLivello[8];
	// The usage warning was shown at the last level change.
	DataBool m_bAvvisato;

	// Warns that economic accounts link to this balance-sheet account (or to those under it).
	BOOL ControllaSeContoPatrimonialeUsato();
	// Carries this account's level flags and import exclusion down to the accounts under it.
	void AllineaContiDelMastro();
	// Which options the account's place in the chart leaves editable.
	void AggiornaStatiReadOnly();
	// A new or unfilled row: proposals from the account above.
	void InizializzaDaLivelloSuperiore();

	// Economic: the account's ledger costs or revenues (ledger types 3 and 4 only).
	BOOL IsContoEconomico(const CString& strConto) const;

protected:
	BOOL OnOkTransaction() override;
	BOOL OnAfterOkTransaction() override;
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	void Customize() override;

	void OnContoChanged();
	void OnLivelloChanged();
	void OnOttavoLivelloChanged();
	void OnDettaglioAnaliticoChanged();
	void OnAggiornaStati();

private:
	DChartOfAccounts* GetHost() const;
	TChartOfAccounts* GetContoHost() const;
	BOOL IsAddOnFly() const;
	void CercaDescrizioni();

	Kvz_DBTRaggruppConti* m_pDBT = nullptr;
	HKLChartOfAccounts* m_pHKLConti = nullptr;
	Kvz_HKLCodiciBudget* m_pHKLCodiciBudget = nullptr;
};

class Kvz_ClientDocPdCTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_ClientDocPdCTabDlg, CTabDialog)
public:
	Kvz_ClientDocPdCTabDlg() : CTabDialog("ClientDocPdCTabDlg", IDD_KVZ_CLIENTDOC_PDC) {}
	void BuildDataControlLinks() override;
};
