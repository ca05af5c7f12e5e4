#pragma once
// The reclassified results of a model: the results header of a year and model on the form, the
// rows the run stored for it in a read-only grid, one row per code and month. Template
// "BDDeRiclassificati".
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_DERICLASSIFICATI = 31782,
	IDD_DERICLASSIFICATI_RIGHE = 31781,
	IDC_DERICLASSIFICATI_MODELLO = 52583,
	IDC_DERICLASSIFICATI_ESERCIZIO = 52584,
	IDC_DERICLASSIFICATI_RIGHE = 52585,
	IDC_DERICLASSIFICATI_DESCRIZIONE = 52586,
	IDC_DERICLASSIFICATI_TABBER = 52587,
	IDC_DERICLASSIFICATI_R_CODICE = 52528,
	IDC_DERICLASSIFICATI_R_FORMULA = 52530,
	IDC_DERICLASSIFICATI_R_TIPORIGA = 52532,
	IDC_DERICLASSIFICATI_R_DESCRIZIONE = 52538,
	IDC_DERICLASSIFICATI_R_FORMULA1 = 52543,  // to 52552 for Formula10
	IDC_DERICLASSIFICATI_R_BUDGETA = 52554,
	IDC_DERICLASSIFICATI_R_BUDGETB = 52555,
	IDC_DERICLASSIFICATI_R_BUDGETC = 52556,
	IDC_DERICLASSIFICATI_R_CALCOLO = 52567,
	IDC_DERICLASSIFICATI_R_MESE = 52575,
};

class Kvz_CDeRiclassificatiDoc;

class Kvz_DBTRiclassificatiTesta : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTRiclassificatiTesta, DBTMaster)
public:
	explicit Kvz_DBTRiclassificatiTesta(CAbstractFormDoc* pDocument);
	Kvz_TRiclassificatoTesta* GetRiclassificatoTesta() const;

protected:
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey() override;
	void OnPrepareBrowser(SqlTable* pTable) override;
	void OnPrepareFindQuery(SqlTable* pTable) override { OnPrepareBrowser(pTable); }
};

// The grid's rows: grouped by the document from the stored results, never written back (the
// results belong to the run).
class Kvz_DBTRiclassificatiRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTRiclassificatiRighe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTRiclassificatiRighe(Kvz_CDeRiclassificatiDoc* pDocument);
	Kvz_TRiclassificato* GetRiga(int nRow) const;

protected:
	// A header read brings the rows of its year and model.
	BOOL Read() override;
	void Write(BOOL) override {}
	void Delete() override {}
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
};

class Kvz_CDeRiclassificatiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificatiDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TRiclassificatoTesta* GetRiclassificatoTesta() const;
	Kvz_DBTRiclassificatiRighe* GetDBTRighe() const { return m_pDBTRighe; }

	// Refills the grid with the results of the header's year and model, one row per code and
	// month with the values of the month summed.
	void RiempiDBT();
	// The grid refilled and shown again.
	virtual void AggiornaRighe();

protected:
	BOOL OnAttachData() override;
	void OnModelloChanged() { AggiornaRighe(); }

private:
	Kvz_DBTRiclassificatiRighe* m_pDBTRighe = nullptr;
};

class Kvz_RiclassificatiTabber : public CTabManager
{
	DECLARE_DYNCREATE(Kvz_RiclassificatiTabber, CTabManager)
};

class Kvz_RiclassificatiRigheDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_RiclassificatiRigheDlg, CTabDialog)
public:
	Kvz_RiclassificatiRigheDlg() : CTabDialog(_T("RiclassificatiRigheDlg"), IDD_DERICLASSIFICATI_RIGHE) {}
	void BuildDataControlLinks() override;
};

class Kvz_RiclassificatiRigheBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RiclassificatiRigheBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CDeRiclassificatiView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificatiView, CMasterFormView)
public:
	Kvz_CDeRiclassificatiView() : CMasterFormView(_T("CDeRiclassificatiView"), IDD_DERICLASSIFICATI) {}
	void BuildDataControlLinks() override;
};
