#pragma once
// The picker of a reclassification model in the database of the company a target-model row of
// the cost-driver document names: the models of the row's year, one picked with a double click.
// It opens only from that document, whose frame it disables while open; a pick is written back
// into the document's current target-model row when the picker closes, and closing it without
// a pick changes nothing. Template "BDModelliMultiAzDrivers".
#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_MODELLI_MULTIAZ_DRIVERS = 31868,
	IDC_MODELLI_MULTIAZ_GRID = 53335,
	IDC_MODELLI_MULTIAZ_MODELLO = 53336,
	IDC_MODELLI_MULTIAZ_DESCRIZIONE = 53337,
};

// The models listed: rows enter only through the document's filling.
class DBTModelliMultiAzDrivers : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(DBTModelliMultiAzDrivers, DBTSlaveBuffered)
public:
	explicit DBTModelliMultiAzDrivers(CAbstractFormDoc* pDocument);
	Kvz_TRiclassificazioneTesta* GetRiga(int nRow) const
	{
		return static_cast<Kvz_TRiclassificazioneTesta*>(GetRow(nRow));
	}

protected:
	BOOL OnCheckPrimaryKey(int, SqlRecord*) override { return TRUE; }
};

class CModelliMultiAzDriversDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(CModelliMultiAzDriversDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	CModelliMultiAzDriversDoc() : m_Connessione(this) {}

	DBTModelliMultiAzDrivers* GetDBT() const { return m_pDBT.get(); }
	// The working connection for the company; FALSE, after the user was told why, when none.
	BOOL ConnectDB();
	// Lists the models of the year in the company's database, by code.
	void RiempiDBT();
	// Whether a model was picked.
	BOOL IsScelto() const { return m_bScelto; }

	DataInt m_Esercizio;
	DataStr m_Azienda;
	DataStr m_Modello;
	DataStr m_Descrizione;

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;

protected:
	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void OnModelloScelto();

private:
	// The caller's frame takes input again.
	void RiabilitaChiamante();

	std::unique_ptr<DBTModelliMultiAzDrivers> m_pDBT;
	KvzConnessioneAzienda m_Connessione;
	CBaseDocument* m_pChiamante = nullptr;
	BOOL m_bScelto = FALSE;
};

class ModelliMultiAzDriversEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(ModelliMultiAzDriversEdit, CBodyEdit)
public:
	void Customize() override;
};

class CModelliMultiAzDriversView : public CAbstractFormView
{
	DECLARE_DYNCREATE(CModelliMultiAzDriversView, CAbstractFormView)
public:
	CModelliMultiAzDriversView() : CAbstractFormView(_T("CModelliMultiAzDriversView"), IDD_MODELLI_MULTIAZ_DRIVERS) {}
	void BuildDataControlLinks() override;
};
