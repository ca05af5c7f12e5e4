#pragma once
// The other companies whose databases the module may read, with what it takes to connect.
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TAziende : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAziende, SqlRecord)
public:
	explicit Kvz_TAziende(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_Aziende"); }
	void BindRecord() override;

	DataStr f_Azienda;
	DataStr f_Descrizione;
	DataStr f_DataSource;
	DataStr f_Server;
	DataStr f_UserID;
	DataStr f_Password;  // kept as typed: the connection needs it back
	DataStr f_ConnectionString;
};

// A company with its selection mark in a grid.
class Kvz_EnhAziende : public Kvz_TAziende
{
	DECLARE_DYNCREATE(Kvz_EnhAziende, Kvz_TAziende)
public:
	explicit Kvz_EnhAziende(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataBool l_Selected;
};

class Kvz_TRAziende : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRAziende, TableReader)
public:
	explicit Kvz_TRAziende(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aAzienda);
	Kvz_TAziende* GetRecord() const;

protected:
	DataStr m_Azienda;
};

// Every company is listed; add-on-fly and must-exist keep the framework's defaults.
class Kvz_HKLAziende : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLAziende, HotKeyLink)
public:
	Kvz_HKLAziende();
	BOOL Customize(const DataObjArray& params) override;
	Kvz_TAziende* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;
};
