#pragma once
// Links income-statement accounts to a balance-sheet account: for every range of host accounts
// typed in the grid, the account goes into the grouping data of each account of the range
// grouped at its own level, and into the module's register of the current year.
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/plvges/FormViews.h"

class HKLChartOfAccountsByLedgerType;

class Kvz_DBTAssegnaContoPatrim : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTAssegnaContoPatrim, DBTSlaveBuffered)
public:
	explicit Kvz_DBTAssegnaContoPatrim(CAbstractFormDoc* pDocument);
	Kvz_TEnhRaggruppPdC* GetRiga(int nRow) const { return static_cast<Kvz_TEnhRaggruppPdC*>(GetRow(nRow)); }
	Kvz_TEnhRaggruppPdC* GetCurrentRecord() const;
};

class Kvz_AssegnaContoPatrimDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_AssegnaContoPatrimDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	// The form stays as it is while the batch runs.
	void DisableControlsForBatch() override {}

	Kvz_DBTAssegnaContoPatrim* GetDBT() const { return m_pDBT.get(); }
	HKLChartOfAccountsByLedgerType* GetHKLDalConto() const { return m_pHKLDalConto; }
	HKLChartOfAccountsByLedgerType* GetHKLAlConto() const { return m_pHKLAlConto; }
	HKLChartOfAccountsByLedgerType* GetHKLContoPatrim() const { return m_pHKLContoPatrim; }

	// The level of a code in the host's structure (1 the ledger .. 8), 0 when its length is none.
	int LivelloConto(const CString& strConto) const;
	// The deepest level flagged on the account's grouping row; 0 when none is, or no row.
	int UltimoLivelloRaggruppamento(const CString& strConto);
	static int UltimoLivelloRaggruppamento(const Kvz_TRaggruppPdC& riga);

	DataStr m_StatoElab;

protected:
	void OnDalContoChanged();
	void OnAlContoChanged();
	void OnContoPatrimonialeChanged();

	// The number of accounts updated.
	int Assegna();

private:
	BOOL LeggiParametriPdC();

	std::unique_ptr<Kvz_DBTAssegnaContoPatrim> m_pDBT;
	HKLChartOfAccountsByLedgerType* m_pHKLDalConto = nullptr;
	HKLChartOfAccountsByLedgerType* m_pHKLAlConto = nullptr;
	HKLChartOfAccountsByLedgerType* m_pHKLContoPatrim = nullptr;
	TChartOfAccountParameters m_ParametriPdC;
};

class Kvz_AssegnaContoPatrimEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_AssegnaContoPatrimEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_AssegnaContoPatrimView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_AssegnaContoPatrimView, CMasterFormView)
public:
	Kvz_AssegnaContoPatrimView() : CMasterFormView(_T("AssegnaContoPatrim"), 31801) {}
	void BuildDataControlLinks() override;
};
