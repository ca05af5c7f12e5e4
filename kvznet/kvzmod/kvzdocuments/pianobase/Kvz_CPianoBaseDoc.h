#pragma once
// The base plan of a grouped account (optionally one cost centre or job) and year, kept by hand:
// a header with a new identifier and number, and one row per month with the month's book
// balance. Template "DPianoBase".
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_PBASE_NUMERO = 51101,
	IDC_PBASE_ESERCIZIO = 51102,
	IDC_PBASE_DESCRIZIONE = 51103,
	IDC_PBASE_DATA_CREAZIONE = 51104,
	IDC_PBASE_DATA_ULT_MODIFICA = 51105,
	IDC_PBASE_CONTO = 51106,
	IDC_PBASE_CONTO_DESCRI = 51107,
	IDC_PBASE_CDC_COMM = 51108,
	IDC_PBASE_CDC_COMM_DESCRI = 51109,
	IDC_PBASE_RIGHE = 51110,
	IDC_PBASE_RIGHE_MESE = 51111,
	IDC_PBASE_RIGHE_SALDO = 51112,
};

class Kvz_DBTPianoBaseTesta : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTPianoBaseTesta, DBTMaster)
public:
	explicit Kvz_DBTPianoBaseTesta(CAbstractFormDoc* pDocument);
	Kvz_TPianoBaseTesta* GetPianoBaseTesta() const { return static_cast<Kvz_TPianoBaseTesta*>(GetRecord()); }

protected:
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override {}
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnDisableControlsForAddNew() override {}
	BOOL OnCheckPrimaryKey() override { return TRUE; }
	void OnPrepareBrowser(SqlTable* pTable) override;
	void OnPrepareFindQuery(SqlTable* pTable) override;
};

class Kvz_DBTPianoBaseRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTPianoBaseRighe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTPianoBaseRighe(CAbstractFormDoc* pDocument);
	Kvz_TPianoBaseRighe* GetPianoBaseRiga(int nRow) const { return static_cast<Kvz_TPianoBaseRighe*>(GetRow(nRow)); }

protected:
	void OnDisableControlsForEdit() override {}
	void OnDisableControlsForAddNew() override {}
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey(int /*nRow*/, SqlRecord* /*pRec*/) override { return TRUE; }
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;

private:
	Kvz_TPianoBaseTesta* GetTesta() const;
};

class Kvz_CPianoBaseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPianoBaseDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TPianoBaseTesta* GetPianoBaseTesta() const;

	Kvz_DBTPianoBaseTesta* m_pDBTPianoBaseTesta = nullptr;
	Kvz_DBTPianoBaseRighe* m_pDBTPianoBaseRighe = nullptr;
	KVZ_HKLAnagContiKvz* m_pHKLAnagContiKvz = nullptr;
	Kvz_HKLCentriCommContiKvz* m_pHKLCentriCommContiKvz = nullptr;

protected:
	BOOL OnOkTransaction() override;
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	// The detail lines of the plan's adjustments go with it.
	BOOL OnDeleteTransaction() override;

	void OnContoKvzChanged();
	void OnEsercizioChanged();

private:
	DataInt EsercizioLookup() const;
	BOOL ControllaMesi();
	// The account, cost centre/job and year the plan is kept for, each as the run reads it.
	BOOL ControllaTesta(Kvz_TAnagContiKvz& aConto);
	void CompletaRighe(const Kvz_TAnagContiKvz& aConto);
	void CancellaDettagliMesiTolti();
	BOOL Rifiuta(const CString& strMessaggio, UINT nFocus);
};

class Kvz_CPianoBaseView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CPianoBaseView, CMasterFormView)
public:
	Kvz_CPianoBaseView() : CMasterFormView(_T("CPianoBaseView")) {}
	void BuildDataControlLinks() override;
};

class Kvz_RighePianoBaseBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RighePianoBaseBodyEdit, CBodyEdit)
public:
	void Customize() override;
};
