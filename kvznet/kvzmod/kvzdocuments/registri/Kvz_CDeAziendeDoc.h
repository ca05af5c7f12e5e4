#pragma once
// The companies whose databases formulas, models and cost drivers may read, with what it
// takes to connect to each. Template "DAziende".
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_AZIENDE_CODICE = 29301,
	IDC_AZIENDE_DESCRIZIONE,
	IDC_AZIENDE_DATABASE,
	IDC_AZIENDE_SERVER,
	IDC_AZIENDE_USERID,
	IDC_AZIENDE_PASSWORD,
	IDC_AZIENDE_CONNETTI,
};

// Kept as the code lists are: by the company code, found by code or description.
class Kvz_DBTAziende : public Kvz_DBTCodeList
{
	DECLARE_DYNAMIC(Kvz_DBTAziende, Kvz_DBTCodeList)
public:
	explicit Kvz_DBTAziende(CAbstractFormDoc* pDocument);
	Kvz_TAziende* GetAziende() const { return static_cast<Kvz_TAziende*>(GetRecord()); }
};

class Kvz_CDeAziendeDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeAziendeDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TAziende* GetAziende() const { return static_cast<Kvz_DBTAziende*>(GetMaster())->GetAziende(); }

	// The connection test: the person completes the connect string (the connection-test
	// service stands for the driver manager's dialog); its data source becomes the database
	// name, then the company's database is opened to tell whether it can be reached.
	void OnConnetti();
	// The text that follows "DSN=" up to the next ";" or the end; empty without "DSN=".
	static CString DataSourceOf(const CString& strConnect);

protected:
	BOOL OnAttachData() override;
	// The database, the server and the user are needed to connect.
	BOOL OnOkTransaction() override;
	BOOL CanDoRadar() override { return FALSE; }

private:
	// Opens the company's database as the formulas will, and says how it went.
	void ProvaApertura();
};

class Kvz_CDeAziendeView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeAziendeView, CMasterFormView)
public:
	Kvz_CDeAziendeView() : CMasterFormView(_T("CDeAziendeView")) {}
	void BuildDataControlLinks() override;
};
