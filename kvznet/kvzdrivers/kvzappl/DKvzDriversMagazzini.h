#pragma once
// The register of warehouses that cost drivers and floor areas name: a code, a description and
// four lines of notes. Template "KvzDriversMagazzini".
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversMagazzini.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_KVZDRIVERSMAGAZZINI = 54000,
	IDC_KVZMAGAZZINI_CODICE = 54001,
	IDC_KVZMAGAZZINI_DESCRIZIONE = 54002,
	IDC_KVZMAGAZZINI_NOTA1 = 54003,  // to 54006 for Nota4
};

class DBTKvzDriversMagazzini : public DBTMaster
{
	DECLARE_DYNAMIC(DBTKvzDriversMagazzini, DBTMaster)
public:
	explicit DBTKvzDriversMagazzini(CAbstractFormDoc* pDocument);
	TKvzDriversMagazzini* GetKvzDriversMagazzini() const;

protected:
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey() override;
	void OnPrepareBrowser(SqlTable* pTable) override;
};

class DKvzDriversMagazzini : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(DKvzDriversMagazzini, CAbstractFormDoc)
public:
	DBTKvzDriversMagazzini* GetDBTKvzDriversMagazzini() const;

protected:
	BOOL OnAttachData() override;
	BOOL OnInitAuxData() override { return TRUE; }
	BOOL OnPrepareAuxData() override { return TRUE; }
	BOOL OnOkTransaction() override;
};

class DKvzDriversMagazziniView : public CMasterFormView
{
	DECLARE_DYNCREATE(DKvzDriversMagazziniView, CMasterFormView)
public:
	DKvzDriversMagazziniView() : CMasterFormView(_T("Magazzini"), IDD_KVZDRIVERSMAGAZZINI) {}
	void BuildDataControlLinks() override;
};
